#include "rules/GameOpportunityFire.h"

#include <sstream>

#include "model/Geometry.h"
#include "model/PlatoonType.h"

namespace {

bool IsHardType(const PlatoonType* type) { return type && (type->m_targetFlags & kTargetHard) != 0; }

} // namespace

void CGameOpportunityFire::ResetBattleState()
{
    CGameAirMineAttack::ResetBattleState();
    m_opFirerPosition = 0;
    m_opFirerHex = { -1, -1 };
    m_opTargetHex = { -1, -1 };
    m_opTargetOrdinal = 0;
}

bool CGameOpportunityFire::CheckOpportunityFire(int x, int y, bool airStrike)
{
    m_opFirerPosition = 0;
    if (IsOptionSet(kOptionThreePhase) && !(airStrike && IsOptionSet(kOptionAirInFinalPhase)))
        return false;
    m_opFirerHex = { -1, -1 };
    m_opTargetHex = { x, y };
    m_opTargetOrdinal = 0;
    RandomGeneratorPtr generator = RandomGeneratorPtr::InitTimeSeeded();
    int candidates = 1;
    const int holder = SideInHex(x, y);
    const int side = airStrike ? holder : OtherSide(holder);
    if ((side != 0 && side != 1) || !m_map.IsOnMap(x, y))
        return false;

    int minX = 0, maxX = -1, minY = 0, maxY = -1;
    ClipSquareToMap(x, y, m_visibility, minX, maxX, minY, maxY);
    for (int hx = minX; hx <= maxX; ++hx)
        for (int hy = minY; hy <= maxY; ++hy) {
            if (!CanHexReactTo(hx, hy, x, y, side, airStrike))
                continue;
            // The firing side sees the hex while it decides; its knowledge
            // goes back exactly as it was.
            const ContactCell saved = m_contact[side].At(x, y);
            SetContact(x, y, side, 1, 0);
            ConsiderFirers(hx, hy, x, y, *generator, candidates, airStrike);
            m_contact[side].At(x, y) = saved;
        }
    if (m_opFirerPosition == 0)
        return false;
    if (!airStrike) {
        ChooseOpportunityTarget();
        if (m_opTargetOrdinal == 0) {
            m_opFirerPosition = 0;
            ClearFireTrace();
            return false;
        }
    }
    const int position = m_opFirerPosition;
    TurnFiringUnitsToward(&position, 1, m_opFirerHex.column, m_opFirerHex.row, x, y);
    const int targetSide = SideInHex(x, y);
    if (targetSide == 0 || targetSide == 1)
        SetContact(m_opFirerHex.column, m_opFirerHex.row, targetSide, 1,
            HexDistance(m_opFirerHex.column, m_opFirerHex.row, x, y));
    return true;
}

PlacedUnit* CGameOpportunityFire::GetPendingFiringUnit()
{
    if (m_opFirerPosition == 0)
        return nullptr;
    UnitNode* node = GetStackNode(m_opFirerHex.column, m_opFirerHex.row, m_opFirerPosition);
    return node ? &node->value : nullptr;
}

bool CGameOpportunityFire::CanHexReactTo(int hexX, int hexY, int targetX, int targetY, int side, bool airStrike)
{
    if (SideInHex(hexX, hexY) != side)
        return false;
    if (airStrike)
        return true;
    if (hexX == targetX && hexY == targetY)
        return false;
    if (!HasLineOfSight(hexX, hexY, targetX, targetY))
        return false;
    return HexHasExposedTarget(targetX, targetY);
}

bool CGameOpportunityFire::IsExposedTarget(const PlacedUnit& unit, int x, int y) const
{
    if (!IsTargetableUnit(unit, x, y))
        return false;
    if ((unit.m_status & kUnitDisrupted) != 0 && (!m_objectives.Contains(x, y) || m_objectives.At(x, y).value == 0))
        return false;
    if ((unit.m_status & kUnitCarrying) != 0)
        return true;
    const PlatoonType* type = unit.m_type;
    if (!type || !type->CanCarryPassengers())
        return true;
    if ((type->m_carryFlags & kCarryPassengers) != 0)
        return true;
    return type->m_value12 != 0;
}

bool CGameOpportunityFire::HexHasExposedTarget(int x, int y) const
{
    if (!m_stacks.Contains(x, y))
        return false;
    for (const PlacedUnit& unit : m_stacks.At(x, y))
        if (IsExposedTarget(unit, x, y))
            return true;
    return false;
}

void CGameOpportunityFire::ConsiderFirers(
    int hexX, int hexY, int targetX, int targetY, CRandomGenerator& generator, int& candidates, bool airStrike)
{
    const int d = HexDistance(hexX, hexY, targetX, targetY);
    int position = 0;
    for (const UnitNode* node = m_stacks.At(hexX, hexY).Head(); node; node = node->next) {
        ++position;
        const PlacedUnit& unit = node->value;
        if (MustFireIndirectly(unit, hexX, hexY, targetX, targetY)
            || !CheckFireTarget(unit, hexX, hexY, targetX, targetY, 0, airStrike)
            || !IsWillingToFire(unit, hexX, hexY, targetX, targetY, airStrike))
            continue;
        // Every willing unit pays its draw of the shared sequence; the
        // private draws then choose uniformly among those that pass.
        if (!(UniformRandom() < 1.0 / (d + 1)))
            continue;
        if (generator.Next() < 1.0 / candidates) {
            m_opFirerPosition = position;
            m_opFirerHex = { hexX, hexY };
        }
        ++candidates;
    }
}

bool CGameOpportunityFire::IsWillingAtDistance(const PlacedUnit& unit, int distance, TargetClass targetClass) const
{
    const PlatoonType* type = unit.m_type;
    long long range = GetMaximumRange(type);
    if (targetClass == kHardClass)
        range = GetMaxRangeVsHard(type);
    else if (targetClass == kVehicleClass)
        range = GetMaxRangeVsSoft(type);
    const int counter = GetCappedUnitValue(unit, targetClass);
    // A counter of 1 reacts within a third of the range, 2 within two
    // thirds, 3 within all of it.
    for (int level = 1; level <= 3; ++level)
        if (distance <= level * range / 3 && counter >= level)
            return true;
    return false;
}

bool CGameOpportunityFire::IsWillingToFire(
    const PlacedUnit& unit, int hexX, int hexY, int targetX, int targetY, bool airStrike) const
{
    if (airStrike)
        return true;
    TargetClass targetClass = kSoftClass;
    if (HexHasHardTarget(targetX, targetY))
        targetClass = kHardClass;
    else if (HexHasTargetableVehicle(targetX, targetY))
        targetClass = kVehicleClass;
    return IsWillingAtDistance(unit, HexDistance(hexX, hexY, targetX, targetY), targetClass);
}

bool CGameOpportunityFire::IsWillingToFireAt(const PlacedUnit& firer, const PlacedUnit& target) const
{
    TargetClass targetClass = kSoftClass;
    if (IsHardType(target.m_type))
        targetClass = kHardClass;
    else if (target.m_type && target.m_type->IsVehicle())
        targetClass = kVehicleClass;
    const int d = HexDistance(m_opFirerHex.column, m_opFirerHex.row, m_opTargetHex.column, m_opTargetHex.row);
    return IsWillingAtDistance(firer, d, targetClass);
}

void CGameOpportunityFire::ChooseOpportunityTarget()
{
    m_opTargetOrdinal = 0;
    const int fx = m_opFirerHex.column;
    const int fy = m_opFirerHex.row;
    const int tx = m_opTargetHex.column;
    const int ty = m_opTargetHex.row;
    const UnitNode* firerNode = GetStackNode(fx, fy, m_opFirerPosition);
    if (!firerNode || !m_stacks.Contains(tx, ty))
        return;
    const PlacedUnit& firer = firerNode->value;
    const int d = HexDistance(fx, fy, tx, ty);
    RandomGeneratorPtr generator = RandomGeneratorPtr::InitTimeSeeded();
    int candidates = 1;
    HexSide targetSide = HexSide::North;
    int ordinal = 0;
    for (const PlacedUnit& unit : m_stacks.At(tx, ty)) {
        if (!IsTargetableUnit(unit, tx, ty))
            continue;
        ++ordinal;
        if (!(IsExposedTarget(unit, tx, ty) || d < 2) || !IsTargetInRange(firer, fx, fy, unit, tx, ty)
            || !IsWillingToFireAt(firer, unit))
            continue;
        if (generator->Next() < 1.0 / candidates) {
            m_opTargetOrdinal = ordinal;
            targetSide = unit.m_secondFacing;
        }
        ++candidates;
    }
    SetFireTrace(firer.m_secondFacing, fx, fy, targetSide, tx, ty);
}

void CGameOpportunityFire::ExecutePendingFire(String& report, bool airStrike)
{
    report = String();
    if (m_opFirerPosition == 0)
        return;
    const int position = m_opFirerPosition;
    m_opFirerPosition = 0;
    const int fx = m_opFirerHex.column;
    const int fy = m_opFirerHex.row;
    const UnitNode* firer = GetStackNode(fx, fy, position);
    if (!firer)
        return;
    std::ostringstream line;
    WriteFiringUnitLine(line, firer->value, fx, fy);
    report = String(line.str());
    String fire;
    if (airStrike)
        FireAtAirAttack(fire, &position, 1, fx, fy, m_opTargetHex.column, m_opTargetHex.row);
    else
        ResolveDirectFire(fire, &position, 1, fx, fy, m_opTargetHex.column, m_opTargetHex.row, m_opTargetOrdinal);
    report.Append(fire);
}
