#include "ai/GameAiFire.h"

#include <cstdint>
#include <string>

#include "model/Geometry.h"
#include "model/HexMap.h"
#include "model/PlatoonType.h"
#include "model/Random.h"

namespace {

// Formations under these orders close in on their target.
bool IsAttackOrder(int kind) { return kind == 3 || kind == 4; }

// A type that never moves without a passenger is worth firing at only while
// it carries one.
bool IsWorthFiringAt(const PlacedUnit& unit)
{
    return !unit.m_type->NeedsPassengerToMove() || HasStatus(unit, kUnitCarrying);
}

// Units of the stack-class movement that carry nothing are not exposed.
bool IsExposed(const PlacedUnit& unit)
{
    return (unit.m_type->m_moveFlags & kMoveStackClass) == 0 || HasStatus(unit, kUnitCarrying);
}

} // namespace

// ---- The choice ----

String CGameAiFire::ChooseDirectFire(HexPos& firerHex, HexPos& targetHex, PlacedUnit& unit)
{
    while (IsSweeping() && m_map.IsOnMap(m_sweep.column, m_sweep.row)) {
        if (FindFirerAtCursor()) {
            GetChosenFire(firerHex, targetHex, unit);
            return m_reportText;
        }
        AdvanceSweep();
    }
    ResetSweep();
    return String();
}

bool CGameAiFire::FindFirerAtCursor()
{
    const int x = m_sweep.column, y = m_sweep.row;
    if (!m_stacks.Contains(x, y) || SideInHex(x, y) != m_map.GetSide())
        return false;
    m_firerHex = m_sweep;
    m_firerPosition = 1;
    for (const PlacedUnit& unit : m_stacks.At(x, y)) {
        m_firerHexside = unit.m_secondFacing;
        if (CanUnitFire(unit))
            return true;
        ++m_firerPosition;
    }
    return false;
}

bool CGameAiFire::CanUnitFire(const PlacedUnit& unit)
{
    const PlatoonType* type = unit.m_type;
    if (!type || HasStatus(unit, kUnitBanzai) || (type->m_targetFlags & kTargetIndirect) != 0)
        return false;
    // A type with the fires-again bit (and not bit 1) fires more than once
    // a phase.
    if (HasStatus(unit, kUnitFired) && ((type->m_value39 & 8) == 0 || (type->m_value39 & 1) != 0))
        return false;
    if (GetNominalFirepower(type) == 0 || HasStatus(unit, kUnitCarried))
        return false;
    return ChooseTarget(unit, m_firerHex, m_firerHex, false);
}

bool CGameAiFire::ChooseTarget(const PlacedUnit& unit, HexPos origin, HexPos firing, bool hardOnly)
{
    RandomGeneratorPtr random = RandomGeneratorPtr::InitSeeded(MixAtCursor(m_firerPosition));
    const int enemy = OtherSide(m_map.GetSide());
    int best = -1;
    int ties = 2;
    VisitWeaponRangeWindow(unit, firing.column, firing.row, [&](int x, int y) {
        if (SideInHex(x, y) != enemy)
            return;
        bool target = false;
        for (const PlacedUnit& other : m_stacks.At(x, y))
            target = target
                || (other.m_type && IsTargetableUnit(other, x, y) && !HasStatus(other, kUnitHidden)
                    && IsWorthFiringAt(other));
        if (!target)
            return;
        int position = m_firerPosition;
        if (!CheckFiringUnits(&position, 1, m_firerHex.column, m_firerHex.row, x, y, 0))
            return;
        if (hardOnly && !HexHasHardTarget(x, y))
            return;
        const int distance = HexDistance(origin.column, origin.row, x, y);
        if (best == -1 || distance < best) {
            ties = 2;
        } else if (distance == best) {
            if (random->Next() >= 1.0 / ties++)
                return;
        } else {
            return;
        }
        m_targetHex = HexPos { x, y };
        best = distance;
    });
    m_blockingHex = HexPos { -1, -1 };
    if (best == -1)
        return false;
    const String aimed = ChooseTargetUnit(unit, firing);
    m_reportText = FiringUnitHeader(unit, m_firerHex.column, m_firerHex.row);
    m_reportText.AppendText("firing on\n");
    m_reportText.Append(aimed);
    return !aimed.IsEmpty();
}

String CGameAiFire::ChooseTargetUnit(const PlacedUnit& firer, HexPos firing)
{
    const int x = m_targetHex.column, y = m_targetHex.row;
    if (!firer.m_type || !m_stacks.Contains(x, y))
        return String();
    const UnitList& stack = m_stacks.At(x, y);
    bool allUnexposed = true;
    for (const PlacedUnit& unit : stack)
        allUnexposed = allUnexposed && unit.m_type && !IsExposed(unit);
    // Hard targets first for a firer better against them.
    const bool prefersHard = GetFirstValueVsHard(firer.m_type) > GetFirstValueVsSoft(firer.m_type);
    for (const bool firstPass : { true, false }) {
        RandomGeneratorPtr random = RandomGeneratorPtr::InitSeeded(MixAtCursor(m_firerPosition));
        String text;
        m_targetOrdinal = 1;
        int position = 1;
        int offered = 0;
        for (const PlacedUnit& unit : stack) {
            if (!unit.m_type || !IsTargetableUnit(unit, x, y))
                continue;
            const bool skipped = HasStatus(unit, kUnitHidden)
                || (!allUnexposed && !MayFireAt(firer, firing, unit, m_targetHex))
                || (firstPass && prefersHard && GetUnitClass(unit.m_type) != 0);
            if (!skipped && random->Next() < 1.0 / ++offered) {
                m_targetOrdinal = position;
                m_targetHexside = unit.m_secondFacing;
                String label;
                GetUnitLabel(label, unit);
                text = String("    ");
                text.Append(label);
                text.AppendText("\n");
            }
            ++position;
        }
        if (!text.IsEmpty())
            return text;
    }
    return String();
}

bool CGameAiFire::MayFireAt(const PlacedUnit& firer, HexPos firing, const PlacedUnit& target, HexPos targetHex)
{
    if (!firer.m_type || !target.m_type)
        return false;
    if (!IsTargetInRange(firer, firing.column, firing.row, target, targetHex.column, targetHex.row)) {
        m_blockingHex = HexPos { -1, -1 };
        return false;
    }
    if (!IsExposed(target))
        return false;
    if (HexDistance(firing.column, firing.row, targetHex.column, targetHex.row) == 1
        || (firer.m_type->m_targetFlags & kTargetIndirect) != 0)
        return true;
    // An attacking formation leaves the disrupted to its assault.
    if (IsAttackOrder(GetOrder(firer.GetCommandNode()).kind) && HasStatus(target, kUnitDisrupted))
        return false;
    return IsWorthFiringAt(target);
}

void CGameAiFire::GetChosenFire(HexPos& firerHex, HexPos& targetHex, PlacedUnit& unit)
{
    firerHex = m_firerHex;
    targetHex = m_targetHex;
    int position = m_firerPosition;
    TurnFiringUnitsToward(&position, 1, m_firerHex.column, m_firerHex.row, m_targetHex.column, m_targetHex.row);
    const UnitNode* node = GetStackNode(m_firerHex.column, m_firerHex.row, m_firerPosition);
    unit = node ? node->value : PlacedUnit();
    SetFireTrace(
        m_firerHexside, m_firerHex.column, m_firerHex.row, m_targetHexside, m_targetHex.column, m_targetHex.row);
    if (IsHiddenInformationOn())
        SetFireMark(m_map.GetSide(), m_firerHex.column, m_firerHex.row);
    if (GetEnemyContact(m_firerHex.column, m_firerHex.row) != 0)
        unit.m_status &= ~static_cast<std::uint32_t>(kUnitHidden);
}

String CGameAiFire::FiringUnitHeader(const PlacedUnit& unit, int x, int y) const
{
    String header(">Firing unit");
    if (IsHexVisibleToMover(x, y)) {
        String location;
        HexLocationText(location, x, y);
        header.Append(location);
    } else {
        header.AppendText(" at unknown location");
    }
    header.AppendText("\n");
    if (!IsSideInfoHidden(m_map.GetSide())) {
        String label;
        GetUnitLabel(label, unit);
        header.AppendText(">    ");
        header.Append(label);
        header.AppendText("\n");
    }
    return header;
}

// ---- Carrying it out ----

String CGameAiFire::ExecuteDirectFire(HexPos& shownHex, HexPos& targetHex)
{
    const int x = m_firerHex.column, y = m_firerHex.row;
    shownHex = IsHexVisibleToMover(x, y) ? m_firerHex : m_targetHex;
    targetHex = m_targetHex;
    const UnitNode* node = GetStackNode(x, y, m_firerPosition);
    m_reportText = FiringUnitHeader(node ? node->value : PlacedUnit(), x, y);
    String result;
    int position = m_firerPosition;
    ResolveDirectFire(result, &position, 1, x, y, m_targetHex.column, m_targetHex.row, m_targetOrdinal);
    m_reportText.Append(result);
    return m_reportText;
}

// ---- Battle state ----

bool CGameAiFire::LoadBattleAndReport(
    std::istream& in, String& text, std::vector<int>& groups, std::vector<int>& released, HexList& hexes)
{
    m_firerPosition = 1;
    return CGameAiMove::LoadBattleAndReport(in, text, groups, released, hexes);
}

void CGameAiFire::BuildTurnStartReport(
    String& text, HexList& hexes, std::vector<int>& offMapChanges, std::vector<int>& groups, std::vector<int>& released)
{
    CGameAiMove::BuildTurnStartReport(text, hexes, offMapChanges, groups, released);
    m_firerPosition = 1;
}

void CGameAiFire::ResetBattleState()
{
    CGameAiMove::ResetBattleState();
    m_reportText = String();
    m_firerHex = HexPos { -1, -1 };
    m_targetHex = HexPos { -1, -1 };
    m_firerPosition = 1;
    m_firerHexside = HexSide::North;
    m_targetOrdinal = 1;
    m_targetHexside = HexSide::North;
}
