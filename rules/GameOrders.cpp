#include "rules/GameOrders.h"
#include "model/IntRange.h"

#include <algorithm>
#include <limits>

#include "model/DataFile.h"
#include "model/Geometry.h"

namespace {

constexpr int kPhaseDefensiveFire = 1;
constexpr int kPhaseFinal = 2;
// Moving next to an enemy within this distance counts as closing on it.
constexpr int kKnownEnemyRange = 7;
// Without three-phase turns no single step costs more.
constexpr std::int64_t kMaxStepCost = 65;
constexpr std::int64_t kFixedStepCost = 3;
constexpr std::int64_t kClimbUnit = 25;

// Layers that give road movement, in the order they are taken.
constexpr int kRoadLayers[] = { kLayerRoad, kLayerUnpaved, kLayerRail, kLayerPath };
constexpr int kBridgeLayers[] = { kLayerLightBridge, kLayerMediumBridge, kLayerHeavyBridge };

bool HasMoveFlag(const PlatoonType* type, std::uint32_t flags) { return type && (type->m_moveFlags & flags) != 0; }
bool HasCarryFlag(const PlatoonType* type, std::uint32_t flags) { return type && (type->m_carryFlags & flags) != 0; }
bool IsVehicle(const PlatoonType* type) { return type && type->IsVehicle(); }
// A leader on foot slips over walls, banks and reefs.
bool IsAgileLeader(const PlatoonType* type) { return type && type->IsLeader() && HasMoveFlag(type, kMoveStackClass); }

// The unit directly above in its stack; null for the top unit.
const UnitNode* UnitAbove(const UnitList& stack, const UnitNode& node)
{
    return &node == stack.Head() ? nullptr : node.prev;
}

} // namespace

CGameOrders::CGameOrders() { LoadParameterFile(); }

const char* CGameOrders::Reload()
{
    if (const char* error = CGameHexMarks::Reload())
        return error;
    return LoadParameterFile();
}

bool CGameOrders::CheckFilesChanged()
{
    const bool changed = CGameHexMarks::CheckFilesChanged();
    return m_parameterFileTime.CheckChanged() || changed;
}

String CGameOrders::LocateParameterFile() const { return LocateThemedFile(kParameterFileName); }

const char* CGameOrders::LoadParameterFile()
{
    const String name = LocateParameterFile();
    const auto time = m_parameterFileTime.Watch(name.view());
    if (m_parameterFileTime.Holds(name.view(), time))
        return nullptr;
    if (const char* error = m_parameters.ReadParameterFile(name.view()))
        return error;
    m_parameterFileTime.Hold(name.view(), time);
    return nullptr;
}

int CGameOrders::EnemySide() const { return OtherSide(m_map.GetSide()); }

void CGameOrders::MoveSelection(String& out, int fromX, int fromY, int toX, int toY, int* positions, int count)
{
    out = MoveUnits(fromX, fromY, toX, toY, positions, count) ? String() : String(m_lastRefusal);
}

bool CGameOrders::MoveUnits(int fromX, int fromY, int toX, int toY, int* positions, int count)
{
    if (!CanMoveUnits(fromX, fromY, toX, toY, positions, count))
        return false;
    std::vector<UnitNode*> units;
    ResolvePositionsToUnits(fromX, fromY, positions, count, units);
    const UnitList& source = m_stacks.At(fromX, fromY);

    RecordMove(fromX, fromY, toX, toY);

    const int movingStrength = SumSelectedStrength(fromX, fromY, positions, count);
    int lastCharged = 0;
    bool armed = false;
    for (UnitNode* node : units) {
        PlacedUnit& unit = node->value;
        if (MovesItself(source, *node, toX, toY)) {
            lastCharged = GetMoveCost(unit, fromX, fromY, toX, toY, movingStrength, true);
            unit.SpendActionPoints(lastCharged);
            // A boat pays what its passenger pays to carry it.
            if (IsCarriedByBoat(source, *node))
                node->prev->value.SpendActionPoints(lastCharged);
        } else if (!HasCarryFlag(unit.m_type, kCarryBoats)) {
            unit.SpendActionPoints(lastCharged);
        }
        armed = armed || GetMaximumRange(unit.m_type) > 0;
    }
    for (UnitNode* node : units) {
        node->value.m_status &= ~static_cast<std::uint32_t>(kUnitDiggingIn | kUnitHidden);
        node->value.m_status |= kUnitMoved;
    }

    MoveUnitsBetweenHexes(fromX, fromY, toX, toY, positions, count);

    if (armed)
        SpotAdjacentEnemies(toX, toY);
    if (IsThreePhase() && IsNextToDangerousEnemy(toX, toY, EnemySide())) {
        for (int i = 0; i < count; ++i) {
            PlacedUnit& unit = GetStackNode(toX, toY, positions[i])->value;
            if (!HasStatus(unit, kUnitCarried))
                unit.m_actionPoints = 0;
        }
    }
    int& flags = m_hexFlags.At(toX, toY);
    if (SideInHex(toX, toY) == 0 && (flags & kHexCave) != 0)
        flags |= kHexCaveRevealed;
    return true;
}

bool CGameOrders::CanMoveUnits(int fromX, int fromY, int toX, int toY, const int* positions, int count)
{
    if (count <= 0)
        return Refuse("No units have been selected to move");
    const int enemy = EnemySide();
    if (SideInHex(fromX, fromY) == enemy)
        return Refuse("Cannot move units from other side");
    std::vector<UnitNode*> units;
    if (!CheckCarrierRule(fromX, fromY, positions, count, units))
        return false;
    if (!CanMoveStack(fromX, fromY, toX, toY, positions, count, true))
        return false;
    if (SideInHex(toX, toY) == enemy) {
        const bool armed = std::any_of(
            units.begin(), units.end(), [](const UnitNode* node) { return GetMaximumRange(node->value.m_type) > 0; });
        if (armed)
            MarkHexEnteredIfHidden(toX, toY);
        int& flags = m_hexFlags.At(toX, toY);
        if (SideInHex(toX, toY) == 1 && (flags & kHexCave) != 0)
            flags |= kHexCaveRevealed;
        return Refuse("Cannot move into hex containing enemy");
    }
    if (IsThreePhase() && IsNextToArmedEnemy(fromX, fromY, enemy) && IsNextToArmedEnemy(toX, toY, enemy)) {
        SpotAllAdjacentEnemies(fromX, fromY);
        return Refuse("Movement prevented by adjacent enemy units");
    }
    return true;
}

bool CGameOrders::CheckCarrierRule(int x, int y, const int* positions, int count, std::vector<UnitNode*>& units)
{
    if (!ResolvePositionsToUnits(x, y, positions, count, units))
        return Refuse("No units have been selected to move");
    const UnitList& stack = m_stacks.At(x, y);
    const std::size_t n = units.size();
    for (std::size_t i = 0; i < n; ++i) {
        const UnitNode* passenger = units[i]->next;
        if (passenger && HasStatus(passenger->value, kUnitCarried) && (i + 1 == n || units[i + 1] != passenger)) {
            units.clear();
            return Refuse("Must include passenger with selection");
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (!HasStatus(units[i]->value, kUnitCarried))
            continue;
        const UnitNode* carrier = UnitAbove(stack, *units[i]);
        if (carrier && (i == 0 || units[i - 1] != carrier)) {
            units.clear();
            return Refuse("Must include carrier with selection");
        }
    }
    return true;
}

bool CGameOrders::CanMoveStack(
    int fromX, int fromY, int toX, int toY, const int* positions, int count, bool checkActionPoints)
{
    HexSide side;
    side.SetBetween(fromX, fromY, toX, toY);
    // A hex off the map is never adjacent: nothing beyond this reads it.
    if (!m_map.IsOnMap(fromX, fromY) || !m_map.IsOnMap(toX, toY) || !side.IsSingleSide())
        return Refuse("Cannot move units to non-adjacent hex");
    std::vector<UnitNode*> units;
    if (!ResolvePositionsToUnits(fromX, fromY, positions, count, units))
        return Refuse("No units have been selected to move");

    const int movingStrength = SumSelectedStrength(fromX, fromY, positions, count);
    const int sourceSide = SideInHex(fromX, fromY);
    const int destinationSide = SideInHex(toX, toY);
    if ((destinationSide < 0 || destinationSide != OtherSide(sourceSide))
        && !CheckStackingLimits(fromX, fromY, toX, toY, positions, count))
        return false;

    const UnitList& source = m_stacks.At(fromX, fromY);
    const bool inWater
        = GetEffectiveTerrain(fromX, fromY) == kTerrainWater && m_terrain.water != TerrainConditions::kFrozen;
    for (const UnitNode* node : units) {
        if (!MovesItself(source, *node, toX, toY))
            continue;
        const PlacedUnit& unit = node->value;
        const PlatoonType* type = unit.m_type;
        if (!(checkActionPoints ? CheckPhaseAllowsMove(unit) : CheckUnitCanMoveAlone(unit)))
            return false;
        if (inWater && !IsCarriedByBoat(source, *node) && !HasCarryFlag(type, kCarryBoats)
            && !HasMoveFlag(type, kMoveMarshAndWater)) {
            const bool byRoad = std::any_of(std::begin(kRoadLayers), std::end(kRoadLayers),
                [&](int layer) { return IsCrossed(fromX, fromY, side, layer); });
            const bool leaves = (byRoad || PontoonAllowed(type, fromX, fromY, toX, toY, side))
                && (m_hexFlags.At(toX, toY) & kHexDamaged) == 0;
            if (!leaves)
                return Refuse("Movement prevented by water");
        }
        const int cost = GetMoveCost(unit, fromX, fromY, toX, toY, movingStrength, true);
        if (cost == 0)
            return Refuse("Units cannot move through existing terrain");
        if (checkActionPoints && !HasEnoughActionPoints(*node, cost))
            return Refuse(IsThreePhase() ? "Insufficient Movement Points" : "Insufficient Action Points");
        if (HasStatus(unit, kUnitDisrupted) && type) {
            const int ownSide = type->GetSide();
            if (GetDistanceToKnownEnemy(toX, toY, ownSide) < GetDistanceToKnownEnemy(fromX, fromY, ownSide))
                return Refuse("Disrupted unit cannot move closer to enemy");
        }
        if (IsVehicle(type)) {
            const std::int64_t rise = std::int64_t { m_map.GetElevation(toX, toY) } - m_map.GetElevation(fromX, fromY);
            if (rise > m_parameters.m_vehicleMaxClimb)
                return Refuse("Elevation change exceeds vehicle capability");
        }
    }
    return true;
}

bool CGameOrders::CheckStackingLimits(int fromX, int fromY, int toX, int toY, const int* positions, int count)
{
    const std::int64_t stackUnits
        = std::int64_t { CountSelectedUnits(fromX, fromY, positions, count) } + CountStackUnits(toX, toY);
    if (stackUnits > m_parameters.m_maxStackUnits)
        return Refuse("Movement exceeds maximum counter limitation");
    const std::int64_t stackStrength
        = std::int64_t { SumSelectedStrength(fromX, fromY, positions, count) } + GetStackStrength(toX, toY);
    if (stackStrength > m_parameters.m_maxStackStrength)
        return Refuse("Movement exceeds maximum strength point limitation");
    return true;
}

bool CGameOrders::CheckPhaseAllowsMove(const PlacedUnit& unit)
{
    if (IsThreePhase()) {
        const int phase = m_map.GetPhase();
        if (phase == kPhaseDefensiveFire)
            return Refuse("Units cannot move in Defensive Fire Phase");
        if (phase == kPhaseFinal && !IsVehicle(unit.m_type))
            return Refuse("Only vehicles can move in Final Phase");
        if (phase == kPhaseFinal && HasStatus(unit, kUnitDisrupted))
            return Refuse("Disrupted units cannot move in Final Phase");
        if (HasStatus(unit, kUnitFired))
            return Refuse("Units that have fired cannot move in same phase");
        if (HasStatus(unit, kUnitUnloaded))
            return Refuse("Units which have unloaded cannot move in same turn");
    }
    if (HasStatus(unit, kUnitInAssault))
        return Refuse("Unit which is assaulting cannot move");
    return CheckUnitCanMoveAlone(unit);
}

bool CGameOrders::CheckUnitCanMoveAlone(const PlacedUnit& unit)
{
    if (HasStatus(unit, kUnitFixed))
        return Refuse("Fixed units cannot move");
    if (!unit.m_type || unit.m_type->m_movementAllowance == 0)
        return Refuse("Unit cannot move without carrier");
    if (unit.m_type->NeedsPassengerToMove() && !HasStatus(unit, kUnitCarrying))
        return Refuse("Unit cannot move without passenger");
    return true;
}

bool CGameOrders::IsCarriedByBoat(const UnitList& stack, const UnitNode& node)
{
    if (!HasStatus(node.value, kUnitCarried))
        return false;
    const UnitNode* carrier = UnitAbove(stack, node);
    return carrier && HasCarryFlag(carrier->value.m_type, kCarryBoats);
}

bool CGameOrders::MovesItself(const UnitList& stack, const UnitNode& node, int toX, int toY) const
{
    const PlacedUnit& unit = node.value;
    const bool toWater = GetEffectiveTerrain(toX, toY) == kTerrainWater;
    if (HasCarryFlag(unit.m_type, kCarryBoats))
        return !(HasStatus(unit, kUnitCarrying) && !toWater);
    if (!HasStatus(unit, kUnitCarried))
        return true;
    return IsCarriedByBoat(stack, node) && !toWater;
}

int CGameOrders::GetActionPointReserve(const UnitNode& node) const
{
    const PlacedUnit& unit = node.value;
    std::int64_t reserve = 0;
    if (HasStatus(unit, kUnitSavedForFiring) && unit.m_type)
        reserve += unit.m_type->m_fireApCost;
    if (HasStatus(unit, kUnitCarrying) && HasStatus(unit, kUnitSavedForUnloading) && node.next
        && node.next->value.m_type) {
        const std::int64_t unload = node.next->value.m_type->m_unloadApCost;
        reserve += HasStatus(node.next->value, kUnitDisrupted) ? 2 * unload : unload;
    }
    return ClampToInt(reserve);
}

bool CGameOrders::HasEnoughActionPoints(const UnitNode& node, int cost)
{
    return CanAffordMove(node.value, cost, GetActionPointReserve(node));
}

bool CGameOrders::CanAffordMove(const PlacedUnit& unit, int cost, int reserve)
{
    if (reserve == 0 && unit.m_actionPoints == kFullActionPoints && m_map.GetPhase() != kPhaseFinal)
        return true;
    return std::int64_t { cost } + reserve <= unit.m_actionPoints;
}

int CGameOrders::GetMoveRangeTenths(const PlacedUnit& unit) const
{
    return EstimateMoveRange(
        unit.m_type, unit.m_actionPoints, m_parameters.m_minutesPerTurn, m_parameters.m_metresPerHex);
}

int CGameOrders::GetDistanceToKnownEnemy(int x, int y, int side) const
{
    const int enemy = OtherSide(side);
    int nearest = kKnownEnemyRange;
    if (enemy < 0)
        return nearest;
    const int lastColumn = std::min(x + kKnownEnemyRange, m_map.GetWidth() - 1);
    const int lastRow = std::min(y + kKnownEnemyRange, m_map.GetHeight() - 1);
    for (int column = std::max(x - kKnownEnemyRange, 0); column <= lastColumn; ++column)
        for (int row = std::max(y - kKnownEnemyRange, 0); row <= lastRow; ++row)
            if (SideInHex(column, row) == enemy && GetEnemyContact(column, row) != 0)
                nearest = std::min(nearest, HexDistance(x, y, column, row));
    return nearest;
}

bool CGameOrders::IsNextToArmedEnemy(int x, int y, int enemySide) const
{
    for (HexSide side(1); side.IsValid(); side.Next()) {
        HexPos next;
        if (!m_map.GetNeighbour(side, x, y, next) || SideInHex(next.column, next.row) != enemySide)
            continue;
        for (const PlacedUnit& unit : m_stacks.At(next.column, next.row))
            if (GetNominalFirepower(unit.m_type) != 0)
                return true;
    }
    return false;
}

bool CGameOrders::IsNextToDangerousEnemy(int x, int y, int enemySide) const
{
    for (HexSide side(1); side.IsValid(); side.Next()) {
        HexPos next;
        if (!m_map.GetNeighbour(side, x, y, next) || SideInHex(next.column, next.row) != enemySide)
            continue;
        if (GetEnemyContact(next.column, next.row) == 2)
            return true;
        if (!HexHasUnits(next.column, next.row))
            continue;
        for (const PlacedUnit& unit : m_stacks.At(next.column, next.row))
            if (GetNominalFirepower(unit.m_type) != 0)
                return true;
    }
    return false;
}

bool CGameOrders::IsCrossed(int fromX, int fromY, HexSide side, int layer) const
{
    return m_map.GetFeatureLayer(fromX, fromY, layer).Contains(side);
}

std::uint32_t CGameOrders::CrossedLayers(int fromX, int fromY, HexSide side) const
{
    const HexRecord& hex = m_map.GetHex(fromX, fromY);
    // Most sides carry no feature: one pass over all layers at once settles
    // those before any is taken apart.
    std::uint32_t any = 0;
    for (const HexSideSet layer : hex.layers)
        any |= layer.Value();
    if (!HexSideSet(any).Contains(side))
        return 0;
    std::uint32_t crossed = 0;
    for (int layer = 0; layer < kFeatureLayerCount; ++layer)
        if (hex.layers[static_cast<std::size_t>(layer)].Contains(side))
            crossed |= 1U << layer;
    return crossed;
}

MovementPointRow* CGameOrders::HeldPoints(const PlatoonType* type) const
{
    if (!m_holdMovementPoints)
        return nullptr;
    const int array = m_terrain.surface;
    const int minutes = m_parameters.m_minutesPerTurn;
    const int metres = m_parameters.m_metresPerHex;
    if (!m_movementPoints.IsFor(type, array, minutes, metres))
        m_movementPoints.Reset(type, array, minutes, metres);
    return &m_movementPoints;
}

int CGameOrders::FeatureCost(const PlatoonType* type, int layer) const
{
    if (MovementPointRow* held = HeldPoints(type))
        return held->HexsideFeature(layer);
    return GetHexsideFeatureCost(
        type, m_terrain.surface, layer, m_parameters.m_minutesPerTurn, m_parameters.m_metresPerHex);
}

bool CGameOrders::RiverCrossingAllowed(const PlatoonType* type, int fromX, int fromY, HexSide side)
{
    if (IsCrossed(fromX, fromY, side, kLayerFord))
        return true;
    const HexSideSet damaged = GetDamagedBridgeSides(fromX, fromY);
    const char* refusal = "Rivers can only be crossed at bridges";
    for (int layer : kBridgeLayers) {
        if (!IsCrossed(fromX, fromY, side, layer) || damaged.Contains(side))
            continue;
        if (layer == kLayerLightBridge && HasMoveFlag(type, kMoveNoLightBridge))
            refusal = "Unit cannot cross light bridge";
        else if (layer == kLayerMediumBridge && HasMoveFlag(type, kMoveNoMediumBridge))
            refusal = "Unit cannot cross medium bridge";
        else if (layer == kLayerHeavyBridge && HasMoveFlag(type, kMoveNoHeavyBridge))
            refusal = "Unit cannot cross heavy bridge";
        else
            return true;
    }
    return Refuse(refusal);
}

bool CGameOrders::PontoonAllowed(const PlatoonType* type, int fromX, int fromY, int toX, int toY, HexSide side)
{
    int capacity = 0;
    if (PontoonCrossesSide(fromX, fromY, side))
        capacity = GetPontoonCapacity(fromX, fromY);
    else if (PontoonCrossesSide(toX, toY, side))
        capacity = GetPontoonCapacity(toX, toY);
    else
        return false;
    if (capacity == 0)
        return Refuse("Unit cannot cross damaged pontoon bridge");
    if (capacity < 4 && HasMoveFlag(type, kMoveNoLightBridge))
        return Refuse("Unit cannot cross light pontoon bridge");
    if (capacity < 7 && HasMoveFlag(type, kMoveNoMediumBridge))
        return Refuse("Unit cannot cross medium pontoon bridge");
    if (HasMoveFlag(type, kMoveNoHeavyBridge))
        return Refuse("Unit cannot cross pontoon bridge");
    return true;
}

bool CGameOrders::RoadMovementAllowed(const PlatoonType* type, int toX, int toY, int movingStrength) const
{
    const int ownSide = type ? type->GetSide() : m_map.GetSide();
    const std::int64_t there = SideInHex(toX, toY) == ownSide ? GetStackStrength(toX, toY) : GetWreckValue(toX, toY);
    if (there + movingStrength > m_parameters.m_roadStackLimit)
        return false;
    const int flags = m_hexFlags.At(toX, toY);
    if ((flags & kHexBlocked) != 0 && (GetEnemyContact(toX, toY) != 0 || !IsSideHidden(EnemySide())))
        return false;
    return (flags & (kHexDamaged | kHexRubble | kHexTrench)) == 0;
}

std::int64_t CGameOrders::GetCrossingCost(
    const PlacedUnit& unit, int fromX, int fromY, HexSide side, std::uint32_t crossed) const
{
    // Most sides carry no feature at all.
    if (crossed == 0)
        return 0;
    const auto has = [crossed](int layer) { return ((crossed >> layer) & 1U) != 0; };
    const PlatoonType* type = unit.m_type;
    const bool frozen = m_terrain.water == TerrainConditions::kFrozen;
    std::int64_t crossing = 0;
    for (int layer = 0; layer < kFeatureLayerCount; ++layer) {
        if (!has(layer))
            continue;
        switch (layer) {
        case kLayerRoad:
        case kLayerRail:
        case kLayerStream:
        case kLayerRiver:
        case kLayerUnpaved:
        case kLayerGully:
        case kLayerPath:
            continue;
        case kLayerHighWall:
            if (GetDamagedBridgeSides(fromX, fromY).Contains(side))
                continue;
            break;
        case kLayerStoneWall:
        case kLayerBocage:
        case kLayerReef:
            if (IsAgileLeader(type))
                continue;
            break;
        default:
            break;
        }
        const int cost = FeatureCost(type, layer);
        if (cost == 0)
            return -1;
        crossing = std::max<std::int64_t>(crossing, cost);
    }
    const bool atCrossing
        = has(kLayerFord) || has(kLayerHeavyBridge) || has(kLayerMediumBridge) || has(kLayerLightBridge);
    if (atCrossing)
        return crossing;
    if (has(kLayerGully))
        crossing += FeatureCost(type, kLayerGully);
    if (has(kLayerStream))
        crossing += FeatureCost(type, frozen ? kLayerGully : kLayerStream);
    if (has(kLayerRiver) && frozen)
        crossing += FeatureCost(type, kLayerGully);
    return crossing;
}

std::int64_t CGameOrders::GetBaseCost(const PlacedUnit& unit, int fromX, int fromY, int toX, int toY, HexSide side,
    int movingStrength, std::uint32_t crossed)
{
    const PlatoonType* type = unit.m_type;
    const bool frozen = m_terrain.water == TerrainConditions::kFrozen;
    const int array = m_terrain.surface;
    const int minutes = m_parameters.m_minutesPerTurn;
    const int metres = m_parameters.m_metresPerHex;

    int terrain = GetEffectiveTerrain(toX, toY);
    if (frozen && (terrain == kTerrainWater || terrain == kTerrainShallowWater))
        terrain = kTerrainOpen;
    const std::int64_t rise
        = std::max<std::int64_t>(0, std::int64_t { m_map.GetElevation(toX, toY) } - m_map.GetElevation(fromX, fromY));
    std::int64_t crossing = GetCrossingCost(unit, fromX, fromY, side, crossed);

    std::int64_t road = 0;
    const int* layer = std::find_if(std::begin(kRoadLayers), std::end(kRoadLayers),
        [crossed](int candidate) { return ((crossed >> candidate) & 1U) != 0; });
    const bool roadThere = layer != std::end(kRoadLayers);
    // The road rule asks about the destination's stack: only where there is
    // a road or a pontoon to take.
    if ((roadThere || PontoonCrossesSide(fromX, fromY, side) || PontoonCrossesSide(toX, toY, side))
        && RoadMovementAllowed(type, toX, toY, movingStrength)) {
        if (roadThere)
            road = FeatureCost(type, *layer);
        else if (PontoonAllowed(type, fromX, fromY, toX, toY, side))
            road = FeatureCost(type, kLayerRoad);
    }
    if (road == 0) {
        if (crossing == -1)
            return 0;
        if (IsVehicle(type) && !HasMoveFlag(type, kMoveMarshAndWater)
            && (terrain == kTerrainMarsh || terrain == kTerrainSwamp) && !frozen)
            return RefuseCost("Vehicles cannot enter marsh except on roads or rail");
    }
    // A road carries the move over whatever the side would stop.
    if (crossing == -1)
        crossing = 0;
    MovementPointRow* held = HeldPoints(type);
    const std::int64_t climb
        = rise == 0 ? 0 : (held ? held->Climb() : GetClimbCost(type, array, minutes, metres)) * rise / kClimbUnit;
    std::int64_t terrainCost = held ? held->Terrain(terrain) : GetTerrainCost(type, array, terrain, minutes, metres);
    if (road == 0 && terrainCost == 0)
        return 0;
    const int flags = m_hexFlags.At(toX, toY);
    if ((flags & kHexRubble) != 0 && !IsAgileLeader(type)) {
        const int extra = held ? held->FirstExtra() : GetFirstExtraCost(type, array, minutes, metres);
        if (extra == 0)
            return 0;
        terrainCost += extra;
    }
    if ((flags & kHexTrench) != 0) {
        const int extra = held ? held->SecondExtra() : GetSecondExtraCost(type, array, minutes, metres);
        if (extra == 0)
            return 0;
        terrainCost += extra;
    }
    const std::int64_t total = terrainCost + crossing + climb;
    if (road == 0)
        return total;
    const std::int64_t byRoad = road + climb;
    return total < byRoad && total != 0 ? total : byRoad;
}

int CGameOrders::GetMoveCost(
    const PlacedUnit& unit, int fromX, int fromY, int toX, int toY, int movingStrength, bool asOrdered)
{
    HexSide side;
    side.SetBetween(fromX, fromY, toX, toY);
    if (!m_map.IsOnMap(fromX, fromY) || !m_map.IsOnMap(toX, toY) || !side.IsSingleSide())
        return RefuseCost("Cannot move units to non-adjacent hex");
    const PlatoonType* type = unit.m_type;
    if (!type)
        return 0;
    // A pontoon the unit may not use leaves its reason even where the step
    // is possible otherwise; only an impossible step keeps one.
    const char* const refusalBefore = m_lastRefusal;
    const int cost = GetStepCost(unit, fromX, fromY, toX, toY, side, movingStrength, asOrdered);
    if (cost != 0)
        m_lastRefusal = refusalBefore;
    return cost;
}

int CGameOrders::GetStepCost(
    const PlacedUnit& unit, int fromX, int fromY, int toX, int toY, HexSide side, int movingStrength, bool asOrdered)
{
    const PlatoonType* type = unit.m_type;
    const std::uint32_t crossed = CrossedLayers(fromX, fromY, side);
    if (((crossed >> kLayerCliff) & 1U) != 0)
        return RefuseCost("Cannot cross blocked hexside");
    if (((crossed >> kLayerRiver) & 1U) != 0 && m_terrain.water != TerrainConditions::kFrozen
        && !HasCarryFlag(type, kCarryBoats) && !HasMoveFlag(type, kMoveWaterEntry)
        && !RiverCrossingAllowed(type, fromX, fromY, side))
        return 0;
    std::int64_t cost = GetBaseCost(unit, fromX, fromY, toX, toY, side, movingStrength, crossed);
    if (cost == 0)
        return 0;
    const int flags = m_hexFlags.At(toX, toY);
    // The search does not steer round a block the mover cannot know of.
    if ((flags & kHexBlocked) != 0 && !(!asOrdered && GetEnemyContact(toX, toY) == 0 && IsSideHidden(EnemySide())))
        cost += m_parameters.m_flaggedHexMoveCost;
    if ((flags & kHexAnyMinefield) != 0 && (type->m_extraFlags & kExtraMineSurcharge) != 0)
        cost += m_parameters.m_mineMoveCost;
    if (HasStatus(unit, kUnitDisrupted) && !(IsVehicle(type) && IsThreePhase()))
        cost *= 2;
    if (HasStatus(unit, kUnitDoubleTime))
        cost = std::max<std::int64_t>(cost * 3 / 4, 1);
    if (!HasMoveFlag(type, kMoveFoot) && m_night != 0)
        cost *= 2;
    if (IsThreePhase()) {
        if (IsVehicle(type))
            cost *= 3;
    } else {
        cost = std::min(cost, kMaxStepCost);
    }
    if (HasMoveFlag(type, kMoveThreeApPerMove))
        cost = kFixedStepCost;
    return ClampToInt(cost);
}

bool CGameOrders::IsKnownMinefield(const PlacedUnit& unit, int x, int y) const
{
    if ((m_hexFlags.At(x, y) & (kHexMinefield1 | kHexMinefield2 | kHexMinefield3)) == 0)
        return false;
    if (unit.m_type && (unit.m_type->m_extraFlags & kExtraMineSurcharge) != 0)
        return false;
    return GetContactLevel(x, y, m_map.GetSide()) == 1 || !IsSideHidden(EnemySide());
}

bool CGameOrders::ExceedsStacking(int x, int y, int movingUnits, int movingStrength) const
{
    if (SideInHex(x, y) != m_map.GetSide())
        return false;
    return std::int64_t { CountStackUnits(x, y) } + movingUnits > m_parameters.m_maxStackUnits
        || std::int64_t { GetStackStrength(x, y) } + movingStrength > m_parameters.m_maxStackStrength;
}

int CGameOrders::GetPathStepCost(
    const PlacedUnit& unit, int fromX, int fromY, int toX, int toY, int movingUnits, int movingStrength)
{
    if (m_map.IsOnMap(toX, toY) && SideInHex(toX, toY) == EnemySide() && HexHasUnits(toX, toY))
        return 0;
    return GetStepCostWithoutEnemyTest(unit, fromX, fromY, toX, toY, movingUnits, movingStrength);
}

int CGameOrders::GetStepCostWithoutEnemyTest(
    const PlacedUnit& unit, int fromX, int fromY, int toX, int toY, int movingUnits, int movingStrength)
{
    if (m_map.IsOnMap(toX, toY) && ExceedsStacking(toX, toY, movingUnits, movingStrength))
        return 0;
    return GetStepCostMinesOnly(unit, fromX, fromY, toX, toY, movingStrength);
}

int CGameOrders::GetStepCostMinesOnly(
    const PlacedUnit& unit, int fromX, int fromY, int toX, int toY, int movingStrength)
{
    if (m_map.IsOnMap(toX, toY) && IsKnownMinefield(unit, toX, toY))
        return 0;
    return GetMoveCost(unit, fromX, fromY, toX, toY, movingStrength, false);
}
