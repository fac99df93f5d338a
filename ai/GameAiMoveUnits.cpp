// The computer's single-unit actions of the move step: loading and unloading,
// reinforcements, removal, digging in and the one-hex steps.

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "ai/GameAiMove.h"
#include "model/Geometry.h"

namespace {

// m_carryFlags of units that wait for a ride: riders of carriers and towed
// guns (any of the two).
constexpr std::uint32_t kCarryRider = 0x1;
constexpr std::uint32_t kCarryTowedGun = 0x4;
// m_carryFlags of a carrier whose passengers stay aboard near the enemy.
constexpr std::uint32_t kCarryKeepsPassengers = 0x2000;
// m_moveFlags of a carrier that may be sent off the map when it has no load.
constexpr std::uint32_t kMoveWithdrawsEmpty = 0x10;
// The nation whose units pass through caves.
constexpr int kCaveNation = 21;
// Caves within this many hexes are linked.
constexpr int kCaveReach = 3;
constexpr double kDigInChance = 0.25;

bool IsHardTarget(const PlatoonType* type) { return type && (type->m_targetFlags & kTargetHard) != 0; }
bool IsIndirectCapable(const PlatoonType* type) { return type && (type->m_targetFlags & kTargetIndirect) != 0; }

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
        if (!near || IsHardTarget(unit.m_type) || anyCarrier)
            return position;
    }
    return 0;
}

bool CGameAiMove::BringInReinforcements(HexList& hexes)
{
    int index = 0;
    for (const ReinforcementGroup& group : m_reinforcements) {
        ++index;
        // The group leaves the list when it is placed: its units are
        // named from a copy.
        const UnitList units = group.m_units;
        if (!IsReinforcementGroupDue(group))
            continue;
        HexPos entry;
        if (!PlaceReinforcement(index, entry, hexes))
            continue;
        if (hexes.Count() == 1
            && (ActOnHexUnits(entry.column, entry.row, hexes)
                || MoveToNearestObjective(entry.column, entry.row, hexes)))
            return true;
        if (IsHexVisibleToMover(entry.column, entry.row)) {
            String location;
            HexLocationText(location, entry.column, entry.row);
            std::string text = "Bringing in " + location.str() + "\n";
            for (const PlacedUnit& unit : units) {
                String label;
                GetUnitLabel(label, unit);
                text += "    " + label.str() + "\n";
            }
            m_report = String(std::move(text));
        } else {
            m_report = String("Movement at unknown location\n");
        }
        AppendHexListNode(hexes, entry.column, entry.row);
        return true;
    }
    m_stepFlag = 0;
    return false;
}

bool CGameAiMove::MoveToNearestObjective(int x, int y, HexList& hexes)
{
    if (!m_map.IsOnMap(x, y))
        return false;
    std::optional<HexPos> objective;
    int nearest = INT_MAX;
    for (int column = 0; column < m_map.GetWidth(); ++column) {
        for (int row = 0; row < m_map.GetHeight(); ++row) {
            const int distance = HexDistance(x, y, column, row);
            if (m_objectives.At(column, row).value > 0 && distance < nearest) {
                nearest = distance;
                objective = HexPos { column, row };
            }
        }
    }
    if (!objective)
        return false;
    const int horizon = m_aiParameters[kAiHorizon];
    for (int p = 1; p <= static_cast<int>(m_stacks.At(x, y).Count()); ++p) {
        UnitNode* node = GetStackNode(x, y, p);
        PlacedUnit& unit = node->value;
        if (HasStatus(unit, kUnitCarrying) && GetEnemyDistance(x, y) < horizon
            && !HasStatus(unit, kUnitSavedForUnloading))
            ToggleUnitSaveApForUnloading(*node);
        if (IsIndirectCapable(unit.m_type)) {
            if (MoveIndirectUnit(x, y, p, *objective, hexes))
                return true;
            continue;
        }
        if (HasStatus(unit, kUnitCarrying))
            m_movedUnits = { p, p + 1 };
        else if (HasStatus(unit, kUnitCarried))
            m_movedUnits = { p - 1, p };
        else
            m_movedUnits = { p };
        if (MoveGroupToward(x, y, *objective, m_aiParameters[kAiJoinDistance], false, hexes))
            return true;
        m_movedUnits.clear();
    }
    return false;
}

bool CGameAiMove::MoveIndirectUnit(int x, int y, int p, HexPos target, HexList& hexes)
{
    const UnitNode* node = GetStackNode(x, y, p);
    if (!node || !node->value.m_type)
        return false;
    const PlacedUnit unit = node->value;
    const PlatoonType* type = unit.m_type;
    const bool carried = HasStatus(unit, kUnitCarried);
    const int distance = HexDistance(x, y, target.column, target.row);
    const int range = GetMaximumRange(type);
    const int reach = m_aiParameters[kAiJoinDistance];
    if (distance <= range) {
        // In range: a passenger gets off, anything else stays to fire.
        int positions[2] = { p - 1, p };
        if (!carried || !LoadUnload(x, y, positions, 2))
            return false;
        ReportUnitInPlace("Unloading ", unit, x, y, hexes);
        return true;
    }
    const std::uint32_t carry = type->m_carryFlags;
    const OrgNode* commandNode = unit.GetCommandNode();
    if (carried
        || ((carry & kCarryTowedGun) == 0 && ((carry & kCarryRider) == 0 || !HasSpareCarriers(x, y, commandNode)))) {
        m_movedUnits = carried ? std::vector<int> { p - 1, p } : std::vector<int> { p };
        if (MoveGroupToward(x, y, target, reach, false, hexes))
            return true;
        m_movedUnits.clear();
        return false;
    }
    if (IsEnemyInRange(type, x, y) || (carry & kCarryRider) == 0)
        return false;
    const int carrier = FindCarrier(commandNode, x, y, true);
    if (carrier == 0)
        return false;
    std::vector<int> positions { p, carrier };
    if (!LoadUnload(x, y, positions.data(), 2))
        return false;
    m_movedUnits = positions;
    ReportUnitInPlace("Loading ", unit, x, y, hexes);
    return true;
}

bool CGameAiMove::LoadFormationUnit(int x, int y, const OrgNode* node, HexList& hexes)
{
    if (!m_map.IsOnMap(x, y))
        return false;
    // Towed guns find their carriers first, from any carrier at hand.
    for (const bool anyCarrier : { true, false }) {
        const int count = static_cast<int>(m_stacks.At(x, y).Count());
        for (int p = 1; p <= count; ++p) {
            const PlacedUnit unit = GetStackNode(x, y, p)->value;
            if (!unit.m_type || unit.GetCommandNode() != node || HasStatus(unit, kUnitCarried)
                || IsIndirectCapable(unit.m_type) || IsEnemyInRange(unit.m_type, x, y))
                continue;
            if (anyCarrier && (unit.m_type->m_carryFlags & kCarryTowedGun) == 0)
                continue;
            const int carrier = FindCarrier(node, x, y, anyCarrier);
            if (carrier == 0)
                continue;
            int positions[2] = { p, carrier };
            if (LoadUnload(x, y, positions, 2)) {
                ReportUnitInPlace("Loading ", unit, x, y, hexes);
                return true;
            }
        }
    }
    return false;
}

bool CGameAiMove::StepIntoFortification(int x, int y, int p, HexList& hexes)
{
    const UnitNode* node = GetStackNode(x, y, p);
    if (!node || m_objectives.At(x, y).value != 0)
        return false;
    const PlacedUnit unit = node->value;
    const int flags = m_hexFlags.At(x, y);
    const int here = CountStackUnits(x, y);
    for (HexSide side(1); side.IsValid(); side.Next()) {
        HexPos next;
        if (!m_map.GetNeighbour(side, x, y, next) || (m_hexFlags.At(next.column, next.row) & kHexFortified) == 0)
            continue;
        const int there = CountStackUnits(next.column, next.row);
        // Not into a fortification no better manned than the position here.
        if ((flags & (kHexImprovedPosition | kHexTrench)) != 0 && here <= there)
            continue;
        if ((flags & kHexFortified) != 0 && here <= there + 1)
            continue;
        if (StepUnitTo(unit, x, y, next, { p }, hexes))
            return true;
    }
    return false;
}

bool CGameAiMove::StepOntoObjective(int x, int y, int p, HexList& hexes)
{
    const UnitNode* node = GetStackNode(x, y, p);
    if (!node || !node->value.m_type)
        return false;
    const PlacedUnit unit = node->value;
    const PlatoonType* type = unit.m_type;
    if ((type->m_carryFlags & kCarryTowedGun) != 0 || IsIndirectCapable(type)
        || (type->IsCarrier() && !IsHardTarget(type)))
        return false;
    const int value = m_objectives.At(x, y).value;
    const auto units = m_stacks.At(x, y).Count();
    for (HexSide side(1); side.IsValid(); side.Next()) {
        HexPos next;
        if (!m_map.GetNeighbour(side, x, y, next))
            continue;
        const ObjectiveCell& cell = m_objectives.At(next.column, next.row);
        if (cell.value == 0)
            continue;
        // A cell nobody holds belongs to no side.
        const bool ours = cell.nation != -1 && DefaultSideOfNation(cell.nation) == type->GetSide();
        const bool worthTaking = CountStackUnits(next.column, next.row) == 0 && (units > 1 || value < cell.value);
        if ((!ours || worthTaking) && StepUnitTo(unit, x, y, next, { p }, hexes))
            return true;
    }
    return false;
}

bool CGameAiMove::UnloadPassenger(int x, int y, int p, HexList& hexes)
{
    const UnitNode* node = GetStackNode(x, y, p);
    if (!node || !node->value.m_type || !HasStatus(node->value, kUnitCarried) || p < 2)
        return false;
    const UnitNode* carrier = GetStackNode(x, y, p - 1);
    if (!carrier || !carrier->value.m_type || (carrier->value.m_type->m_carryFlags & kCarryKeepsPassengers) != 0
        || !IsEnemyInRange(node->value.m_type, x, y))
        return false;
    const PlacedUnit unit = node->value;
    int positions[2] = { p - 1, p };
    if (!LoadUnload(x, y, positions, 2))
        return false;
    ReportUnitInPlace("Unloading ", unit, x, y, hexes);
    return true;
}

bool CGameAiMove::WithdrawEmptyCarrier(int x, int y, int p, HexList& hexes)
{
    const UnitNode* node = GetStackNode(x, y, p);
    if (!node || !node->value.m_type)
        return false;
    const PlacedUnit& unit = node->value;
    const int distance = GetEnemyDistance(x, y);
    const int radius = m_aiParameters[kAiObjectiveRadius];
    if (distance > radius || (unit.m_type->m_moveFlags & kMoveWithdrawsEmpty) == 0 || !unit.m_type->IsCarrier()
        || HasStatus(unit, kUnitCarrying) || !HasSpareCarriers(x, y, unit.GetCommandNode()))
        return false;
    int positions[1] = { p };
    if (RemoveUnitsAtExit(x, y, positions, 1)) {
        m_report = String("Removing units from map");
        AppendHexListNode(hexes, x, y);
        return true;
    }
    // Off the map it cannot go here: it makes way from the enemy instead.
    const HexPos away = WalkAwayFromEnemy(x, y, radius - distance + 1);
    m_movedUnits = { p };
    if (MoveGroupToward(x, y, away, 0, false, hexes))
        return true;
    m_movedUnits.clear();
    return false;
}

bool CGameAiMove::StepOutOfOpenTerrain(int x, int y, int p, HexList& hexes)
{
    const UnitNode* node = GetStackNode(x, y, p);
    if (!node || !node->value.m_type || HasStatus(node->value, kUnitCarried) || m_objectives.At(x, y).value != 0)
        return false;
    const PlacedUnit unit = node->value;
    if ((!IsEnemyClose(x, y) && !HasStatus(unit, kUnitDisrupted)) || !IsOpenAndUncovered(x, y))
        return false;
    RandomGeneratorPtr random = RandomGeneratorPtr::InitSeeded(MixAt(x, y, 0));
    const int distance = GetEnemyDistance(x, y);
    const HexPos cover = DrawNeighbour(HexPos { x, y }, *random, [&](const HexPos& next) {
        return !IsOpenAndUncovered(next.column, next.row)
            && (m_hexFlags.At(next.column, next.row) & (kHexMinefield1 | kHexMinefield2 | kHexMinefield3)) == 0
            && GetEnemyDistance(next.column, next.row) >= distance;
    });
    if (cover.column < 0 || !IsWithinOrderReach(unit, cover.column, cover.row))
        return false;
    std::vector<int> positions { p };
    if (HasStatus(unit, kUnitCarrying))
        positions.push_back(p + 1);
    return StepUnitTo(unit, x, y, cover, std::move(positions), hexes);
}

bool CGameAiMove::LeaveAtExitOrWater(int x, int y, int p, HexList& hexes)
{
    const UnitNode* node = GetStackNode(x, y, p);
    if (!node || !node->value.m_type)
        return false;
    const PlacedUnit unit = node->value;
    int positions[1] = { p };
    bool removed = false;
    if (IsOwnExitHex(x, y))
        removed = RemoveUnitsAtExit(x, y, positions, 1);
    else if (unit.m_type->IsCarrier() && !HasStatus(unit, kUnitCarrying) && GetEffectiveTerrain(x, y) == kTerrainWater)
        removed = RemoveUnitsAtExit(x, y, positions, 1);
    if (!removed)
        return false;
    ReportUnitMove(unit, x, y, x, y, hexes);
    return true;
}

bool CGameAiMove::RemoveUnarmedUnit(int x, int y, int p, HexList& hexes)
{
    const UnitNode* node = GetStackNode(x, y, p);
    if (!node || !node->value.m_type)
        return false;
    const PlacedUnit unit = node->value;
    if (HasStatus(unit, kUnitCarrying | kUnitCarried) || GetMaximumRange(unit.m_type) != 0 || !IsEnemyClose(x, y))
        return false;
    int positions[1] = { p };
    if (!RemoveUnitsAtExit(x, y, positions, 1))
        return false;
    ReportUnitMove(unit, x, y, x, y, hexes);
    return true;
}

bool CGameAiMove::MoveThroughCave(int x, int y, int p, HexList& hexes)
{
    const UnitNode* node = GetStackNode(x, y, p);
    if (!node || (m_hexFlags.At(x, y) & kHexCave) == 0 || NationInHex(x, y) != kCaveNation)
        return false;
    const PlacedUnit unit = node->value;
    RandomGeneratorPtr random = RandomGeneratorPtr::InitTimeSeeded();
    ReservoirDraw draw(*random);
    const int here = CountStackUnits(x, y);
    const bool objectiveHere = m_objectives.At(x, y).value != 0;
    std::optional<HexPos> choice;
    int minX = 0, maxX = -1, minY = 0, maxY = -1;
    ClipSquareToMap(x, y, kCaveReach, minX, maxX, minY, maxY);
    for (int column = minX; column <= maxX; ++column) {
        for (int row = minY; row <= maxY; ++row) {
            if ((m_hexFlags.At(column, row) & kHexCave) == 0 || HexDistance(x, y, column, row) > kCaveReach)
                continue;
            // Better: a less crowded cave, or else one on an objective.
            const bool better = CountStackUnits(column, row) + 1 < here
                || (m_objectives.At(column, row).value != 0 && !objectiveHere);
            if (better && draw.Offer())
                choice = HexPos { column, row };
        }
    }
    if (!choice)
        return false;
    m_movedUnits = { p };
    if (!CaveTransferMove(x, y, choice->column, choice->row, m_movedUnits.data(), 1)) {
        m_movedUnits.clear();
        return false;
    }
    ReportUnitMove(unit, x, y, choice->column, choice->row, hexes);
    return true;
}

bool CGameAiMove::SailAlongFacing(int x, int y, int p, HexList& hexes)
{
    const UnitNode* node = GetStackNode(x, y, p);
    if (!node || !node->value.m_type)
        return false;
    const PlacedUnit unit = node->value;
    HexSide direction = unit.m_facing;
    const int terrain = GetEffectiveTerrain(x, y);
    if (!IsDirectionAgainstSweep(direction) || (terrain != kTerrainWater && terrain != kTerrainShallowWater)
        || m_terrain.water == TerrainConditions::kFrozen || m_map.IsRoadAcrossWater(x, y) || HasPontoon(x, y))
        return false;
    HexPos next;
    if (!m_map.GetNeighbour(direction, x, y, next))
        return false;
    // An empty boat turns away from an enemy ahead.
    if (unit.m_type->IsCarrier() && !HasStatus(unit, kUnitCarrying)
        && GetEnemyDistance(next.column, next.row) < GetEnemyDistance(x, y)) {
        direction = direction.Opposite();
        if (!m_map.GetNeighbour(direction, x, y, next))
            return false;
    }
    m_movedUnits = { p };
    if (HasStatus(unit, kUnitCarrying))
        m_movedUnits.push_back(p + 1);
    const int count = static_cast<int>(m_movedUnits.size());
    HexListNode* start = AppendHexListNode(hexes, x, y);
    HexPos current { x, y };
    for (;;) {
        if (!MoveUnits(current.column, current.row, next.column, next.row, m_movedUnits.data(), count))
            break;
        IsHexSpottedByEnemy(next.column, next.row);
        current = next;
        AppendHexListNode(hexes, current.column, current.row);
        if (CheckOpportunityFire(current.column, current.row, false)
            || IsMineAttackTriggered(m_movedUnits.data(), count, current.column, current.row))
            break;
        if (!m_map.GetNeighbour(direction, current.column, current.row, next))
            break;
    }
    const bool moved = current.column != x || current.row != y;
    if ((IsFirePending() || ShouldUnloadAfterMove(current.column, current.row))
        && LoadUnload(current.column, current.row, m_movedUnits.data(), count)) {
        ReportUnitMove(unit, x, y, current.column, current.row, hexes);
        return true;
    }
    if (!moved) {
        // Nothing moved: the hex list is left as it was.
        hexes.Remove(start);
        m_movedUnits.clear();
        return false;
    }
    ReportUnitMove(unit, x, y, current.column, current.row, hexes);
    return true;
}

bool CGameAiMove::MayStartDigIn(int x, int y, int p) const
{
    const UnitNode* node = GetStackNode(x, y, p);
    if (!node || !node->value.m_type || (m_hexFlags.At(x, y) & kHexCave) != 0)
        return false;
    const PlacedUnit& unit = node->value;
    if (IsEnemyInRange(unit.m_type, x, y) || HasStatus(unit, kUnitDiggingIn))
        return false;
    // A unit without a command node holds.
    const int kind = GetOrder(unit.GetCommandNode()).kind;
    return kind == 0 || kind == 1;
}

bool CGameAiMove::ToggleUnitDigIn(int x, int y, int p, HexList& hexes)
{
    const UnitNode* node = GetStackNode(x, y, p);
    if (!node)
        return false;
    const PlacedUnit unit = node->value;
    const bool digging = HasStatus(unit, kUnitDiggingIn);
    // The draw comes last, so that a unit that cannot start draws nothing.
    if (!digging && (HasStatus(unit, kUnitCarried) || UniformRandom() >= kDigInChance))
        return false;
    int positions[1] = { p };
    if (!ToggleDigIn(x, y, positions, 1))
        return false;
    ReportUnitInPlace(digging ? "Stopped Digging-In " : "Digging-In ", unit, x, y, hexes);
    CheckOpportunityFire(x, y, false);
    return true;
}

void CGameAiMove::ReportUnitMove(const PlacedUnit& unit, int fromX, int fromY, int toX, int toY, HexList& hexes)
{
    IsHexSpottedByEnemy(toX, toY);
    const bool fromVisible = IsHexVisibleToMover(fromX, fromY);
    const bool toVisible = IsHexVisibleToMover(toX, toY);
    String location;
    std::string text;
    if (fromVisible) {
        HexLocationText(location, fromX, fromY);
        text = "Moving " + unit.GetShortName().str() + "\nfrom hex" + location.str();
    } else if (toVisible) {
        text = "Moving " + unit.GetShortName().str() + "\nfrom unknown location\n";
    } else {
        text = "Moving units from unknown location\n";
    }
    if (toVisible) {
        HexLocationText(location, toX, toY);
        text += " to hex" + location.str();
    } else {
        text += " to unknown location";
    }
    m_report = String(std::move(text));
    AppendHexListNode(hexes, fromX, fromY);
    AppendHexListNode(hexes, toX, toY);
}

void CGameAiMove::ReportUnitInPlace(const char* verb, const PlacedUnit& unit, int x, int y, HexList& hexes)
{
    if (IsHexVisibleToMover(x, y)) {
        String location;
        HexLocationText(location, x, y);
        m_report = String(verb + unit.GetShortName().str() + location.str() + "\n");
    } else {
        m_report = String("Movement at unknown location\n");
    }
    AppendHexListNode(hexes, x, y);
}

bool CGameAiMove::IsOpenAndUncovered(int x, int y) const
{
    return GetEffectiveTerrain(x, y) == kTerrainOpen
        && (m_hexFlags.At(x, y) & (kHexImprovedPosition | kHexTrench | kHexFortified)) == 0;
}

bool CGameAiMove::StepUnitTo(
    const PlacedUnit& unit, int x, int y, HexPos destination, std::vector<int> positions, HexList& hexes)
{
    m_movedUnits = std::move(positions);
    if (!MoveUnits(
            x, y, destination.column, destination.row, m_movedUnits.data(), static_cast<int>(m_movedUnits.size()))) {
        m_movedUnits.clear();
        return false;
    }
    ReportUnitMove(unit, x, y, destination.column, destination.row, hexes);
    CheckOpportunityFire(destination.column, destination.row, false);
    return true;
}
