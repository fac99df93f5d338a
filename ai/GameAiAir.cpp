#include "ai/GameAiAir.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include "model/Geometry.h"
#include "model/HexMap.h"
#include "model/OrgTree.h"
#include "model/PlatoonType.h"
#include "model/Random.h"

int CGameAiAir::AttacksForStrikes(int strikes)
{
    if (strikes <= 0)
        return 0;
    // n (n + 1) / 2 >= strikes, in 64 bits: near the int limit n is about 65536.
    const auto enough = [strikes](std::int64_t n) { return n * (n + 1) / 2 >= strikes; };
    auto n = static_cast<std::int64_t>(std::sqrt(2.0 * strikes));
    while (n > 0 && enough(n - 1))
        --n;
    while (!enough(n))
        ++n;
    return static_cast<int>(n);
}

void CGameAiAir::SetAttacksForPhase()
{
    const int side = m_map.GetSide();
    m_attacksLeft = AttacksForStrikes(side == 0 || side == 1 ? m_airPower[side] : 0);
}

String CGameAiAir::ChooseAirStrike(HexPos& hex)
{
    ClearUndo();
    hex = { -1, -1 };
    if (m_attacksLeft <= 0)
        return String();
    const HexPos centre = ChooseAirStrikeCentre();
    const HexPos target = centre.column == -1 && centre.row == -1 ? centre : ChooseAirStrikeTarget(centre);
    if (target.column == -1 && target.row == -1) {
        m_attacksLeft = 0;
        return String();
    }
    String location;
    HexLocationText(location, target.column, target.row);
    m_airReportText = String(kAirAttackText);
    m_airReportText.Append(location);
    AssignAirStrike(target.column, target.row);
    --m_attacksLeft;
    m_airChosenHex = target;
    hex = target;
    return m_airReportText;
}

HexPos CGameAiAir::ChooseAirStrikeCentre()
{
    const int side = m_map.GetSide();
    HexPos centre { -1, -1 };
    if (const HexListNode* first = GetObjectiveList(side).Head())
        centre = first->value;
    // Each attacking formation is taken with equal chance.
    const RandomGeneratorPtr random = RandomGeneratorPtr::InitSeeded(MixAtCursor(m_attacksLeft));
    ConstOrgNodeList formations;
    std::as_const(m_orgTree).CollectLowestFormations(formations);
    int count = 0;
    for (const OrgNode* node : formations) {
        if (node->GetSide() != side)
            continue;
        const AiOrder order = GetOrder(node);
        if (order.kind != 3 && order.kind != 4)
            continue;
        ++count;
        if (random->Next() < 1.0 / count)
            centre = order.target;
    }
    return centre;
}

HexPos CGameAiAir::ChooseAirStrikeTarget(HexPos centre)
{
    const RandomGeneratorPtr random = RandomGeneratorPtr::InitSeeded(MixAtCursor(m_attacksLeft));
    const int enemy = OtherSide(m_map.GetSide());
    const int radius = m_aiParameters[kAiObjectiveRadius];
    int minX = 0;
    int maxX = 0;
    int minY = 0;
    int maxY = 0;
    ClipSquareToMap(centre.column, centre.row, radius, minX, maxX, minY, maxY);
    HexPos choice { -1, -1 };
    int count = 0;
    for (int x = minX; x <= maxX; ++x) {
        for (int y = minY; y <= maxY; ++y) {
            // In this order: the air check may give the side contact with the hex.
            if (SideInHex(x, y) != enemy || !CheckAirAttack(x, y, 0) || HasOnlyEmptyCarriers(x, y)
                || HexDistance(centre.column, centre.row, x, y) > radius || HasSmoke(x, y))
                continue;
            ++count;
            if (random->Next() < 1.0 / count)
                choice = { x, y };
        }
    }
    return choice;
}

bool CGameAiAir::HasOnlyEmptyCarriers(int x, int y) const
{
    if (!m_stacks.Contains(x, y))
        return false;
    for (const PlacedUnit& unit : m_stacks.At(x, y)) {
        const bool emptyCarrier
            = unit.m_type && (unit.m_type->m_moveFlags & kMoveStackClass) != 0 && !HasStatus(unit, kUnitCarrying);
        if (!emptyCarrier)
            return false;
    }
    return true;
}

void CGameAiAir::GetChosenAirStrike(HexPos& hex, int& ordinal)
{
    hex = m_airChosenHex;
    ordinal = PickTargetOrdinal(hex.column, hex.row);
}

int CGameAiAir::PickTargetOrdinal(int x, int y)
{
    int result = 1;
    if (!m_stacks.Contains(x, y))
        return result;
    const RandomGeneratorPtr random = RandomGeneratorPtr::InitSeeded(MixAtCursor(m_attacksLeft));
    int ordinal = 0;
    int drawn = 0;
    for (const PlacedUnit& unit : m_stacks.At(x, y)) {
        if (!IsTargetableUnit(unit, x, y))
            continue;
        ++ordinal;
        if (HasStatus(unit, kUnitHidden))
            continue;
        const bool exposed = (unit.m_type->m_moveFlags & kMoveStackClass) == 0 || HasStatus(unit, kUnitCarrying);
        if (!exposed)
            continue;
        ++drawn;
        if (random->Next() < 1.0 / drawn)
            result = ordinal;
    }
    return result;
}

void CGameAiAir::ResetBattleState()
{
    CGameAiAssault::ResetBattleState();
    m_attacksLeft = 0;
    m_airReportText = String();
    m_airChosenHex = { -1, -1 };
}

bool CGameAiAir::ReadBattleFile(std::istream& in, bool keepVersion10)
{
    if (!CGameAiAssault::ReadBattleFile(in, keepVersion10))
        return false;
    int attacks = 0;
    if (!(in >> attacks) || attacks < 0)
        return FailBattleRead("Error reading A/I air attacks");
    m_attacksLeft = attacks;
    return true;
}

bool CGameAiAir::WriteBattleFile(std::ostream& out) const
{
    if (!CGameAiAssault::WriteBattleFile(out))
        return false;
    out << std::to_string(m_attacksLeft) + '\n';
    return static_cast<bool>(out);
}
