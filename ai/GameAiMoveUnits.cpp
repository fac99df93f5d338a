// The computer's single-unit actions of the move step: loading and unloading,
// reinforcements, removal, digging in and the one-hex steps.

#include "ai/GameAiMove.h"

#include "model/Geometry.h"

namespace {

// m_carryFlags of units that wait for a ride: riders of carriers and towed
// guns (any of the two).
constexpr std::uint32_t kCarryRider = 0x1;
constexpr std::uint32_t kCarryTowedGun = 0x4;

} // namespace

bool CGameAiMove::IsEnemyClose(int x, int y) const
{
    const int distance = GetEnemyDistance(x, y);
    if (m_visibility == 1)
        return distance == 2;
    return distance <= m_visibility && distance <= m_aiParameters[kAiObjectiveRadius];
}

bool CGameAiMove::IsEnemyNear(int x, int y) const
{
    const int distance = GetEnemyDistance(x, y);
    return distance <= m_visibility || distance <= m_aiParameters[kAiObjectiveRadius];
}

bool CGameAiMove::IsEnemyInRange(const PlatoonType* type, int x, int y) const
{
    return GetEnemyDistance(x, y) <= GetMaximumRange(type) && IsEnemyClose(x, y);
}

bool CGameAiMove::IsWithinOrderReach(const PlacedUnit& unit, int x, int y) const
{
    const OrgNode* node = unit.GetCommandNode();
    if (!node)
        return true;
    const AiOrder order = GetOrder(node);
    if (order.kind == kAiOrderHold || order.target.column < 0)
        return true;
    return HexDistance(x, y, order.target.column, order.target.row) <= m_aiParameters.Get(order.kind);
}

bool CGameAiMove::HasSpareCarriers(int x, int y, const OrgNode* node) const
{
    if (!m_map.IsOnMap(x, y))
        return false;
    int riders = 0;
    int empty = 0;
    for (const PlacedUnit& unit : m_stacks.At(x, y)) {
        if (!unit.m_type || unit.GetCommandNode() != node)
            continue;
        if (!HasStatus(unit, kUnitCarried) && (unit.m_type->m_carryFlags & (kCarryRider | kCarryTowedGun)) != 0)
            ++riders;
        else if (unit.m_type->IsCarrier() && !HasStatus(unit, kUnitCarrying))
            ++empty;
    }
    return empty > riders;
}

int CGameAiMove::FindCarrier(const OrgNode* node, int x, int y, bool anyCarrier) const
{
    if (!m_map.IsOnMap(x, y))
        return 0;
    const bool near = IsEnemyNear(x, y);
    int position = 0;
    for (const PlacedUnit& unit : m_stacks.At(x, y)) {
        ++position;
        if (!unit.m_type || unit.GetCommandNode() != node || HasStatus(unit, kUnitCarrying)
            || !unit.m_type->IsCarrier())
            continue;
        if (!near || (unit.m_type->m_targetFlags & kTargetHard) != 0 || anyCarrier)
            return position;
    }
    return 0;
}

// Not yet carried out: the actions below report no action for now.
bool CGameAiMove::BringInReinforcements(HexList&) { return false; }
bool CGameAiMove::MoveToNearestObjective(int, int, HexList&) { return false; }
bool CGameAiMove::MoveIndirectUnit(int, int, int, HexPos, HexList&) { return false; }
bool CGameAiMove::LoadFormationUnit(int, int, const OrgNode*, HexList&) { return false; }
bool CGameAiMove::StepIntoFortification(int, int, int, HexList&) { return false; }
bool CGameAiMove::StepOntoObjective(int, int, int, HexList&) { return false; }
bool CGameAiMove::UnloadPassenger(int, int, int, HexList&) { return false; }
bool CGameAiMove::WithdrawEmptyCarrier(int, int, int, HexList&) { return false; }
bool CGameAiMove::StepOutOfOpenTerrain(int, int, int, HexList&) { return false; }
bool CGameAiMove::LeaveAtExitOrWater(int, int, int, HexList&) { return false; }
bool CGameAiMove::RemoveUnarmedUnit(int, int, int, HexList&) { return false; }
bool CGameAiMove::MoveThroughCave(int, int, int, HexList&) { return false; }
bool CGameAiMove::SailAlongFacing(int, int, int, HexList&) { return false; }
bool CGameAiMove::MayStartDigIn(int, int, int) const { return false; }
bool CGameAiMove::ToggleUnitDigIn(int, int, int, HexList&) { return false; }
void CGameAiMove::ReportUnitMove(const PlacedUnit&, int, int, int, int, HexList&) { }
void CGameAiMove::ReportUnitInPlace(const char*, const PlacedUnit&, int, int, HexList&) { }
