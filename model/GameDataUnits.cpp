// Unit operations of the battle-data layer beyond plain moves: loading and
// unloading, eliminations and the loss table, reinforcement placement with
// the scatter of dropped groups, stack cycling, and the second sides that
// spread a hex's units over different hexsides.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "model/GameData.h"
#include "model/IntRange.h"
#include "model/Geometry.h"
#include "model/OrgTree.h"
#include "model/PlatoonType.h"
#include "model/Random.h"

namespace {

constexpr std::uint32_t kDropStatusSpotter = 0x108; // unavailable and disrupted
constexpr std::uint32_t kDropStatus = 0x8008; // low on ammunition and disrupted
constexpr std::uint32_t kTargetDropSpotter = 0x8; // m_targetFlags: takes kDropStatusSpotter
constexpr std::uint32_t kPlacementAirDrop = 0x1;
constexpr std::uint32_t kPlacementArrivalFlag = 0x4;
constexpr int kMaxPhaseByte = 255;
// A walk longer than this cannot come from a real scenario; it bounds the
// time a hostile file can make a placement take.
constexpr int kMaxScatterSteps = 1000;

bool IsCarried(const PlacedUnit& unit) { return (unit.m_status & kUnitCarried) != 0; }
bool IsCarrying(const PlacedUnit& unit) { return (unit.m_status & kUnitCarrying) != 0; }
bool IsLeader(const PlacedUnit& unit) { return unit.m_type && unit.m_type->IsLeader(); }
int UnitNation(const PlacedUnit& unit) { return unit.m_type ? unit.m_type->GetNation() : -1; }

// The three orders in which the second-side candidates are tried, as offsets
// from the base side: along a road, for an odd and for an even number of units.
constexpr int kRoadOffsets[6] = { 0, 3, -1, 1, -2, 2 };
constexpr int kOddOffsets[6] = { 0, 1, -1, 2, -2, 3 };
constexpr int kEvenOffsets[6] = { -1, 1, -2, 2, 3, 0 };
constexpr int kSingleOffsets[6] = { 0, -1, 1, -2, 2, 3 };

// The first candidate the hex's units do not cover yet, which is then
// covered; the unit's facing when all six are covered.
HexSide ChooseSecondSide(HexSideSet& covered, HexSide base, HexSide facing, const int (&offsets)[6])
{
    for (int offset : offsets) {
        const HexSide candidate = base.Rotate(offset);
        if (candidate.IsSingleSide() && !covered.Contains(candidate)) {
            covered.Add(candidate);
            return candidate;
        }
    }
    return facing;
}

// Strength read from a file may be anything; sums stay in the int range.
void AddStrength(int& sum, int strength) { sum = ClampToInt(static_cast<std::int64_t>(sum) + strength); }

bool InList(const std::vector<UnitNode*>& list, const UnitNode* node)
{
    return std::find(list.begin(), list.end(), node) != list.end();
}

// Terrain in which a landing costs the unit a drawn share of its strength:
// up to all of it (severe) or up to half (rough).
bool IsSevereLanding(int terrain, bool airDrop, bool frozen)
{
    if (airDrop) {
        switch (terrain) {
        case kTerrainMarsh:
        case kTerrainShallowWater:
        case kTerrainSwamp:
        case kTerrainJungle:
            return !frozen;
        default:
            return false;
        }
    }
    switch (terrain) {
    case kTerrainForest:
    case kTerrainBuilding:
    case kTerrainVillage:
    case kTerrainCity:
    case kTerrainOrchard:
    case kTerrainRough:
    case kTerrainIndustrial:
    case kTerrainSuburb:
    case kTerrainSwamp:
    case kTerrainRicePaddy:
    case kTerrainFloodedPaddy:
    case kTerrainPalmTrees:
    case kTerrainLightJungle:
    case kTerrainJungle:
        return true;
    default:
        return false;
    }
}

bool IsRoughLanding(int terrain, bool airDrop, bool frozen)
{
    if (airDrop) {
        switch (terrain) {
        case kTerrainForest:
        case kTerrainBuilding:
        case kTerrainVillage:
        case kTerrainCity:
        case kTerrainRough:
        case kTerrainIndustrial:
        case kTerrainSuburb:
        case kTerrainSwamp:
        case kTerrainFloodedPaddy:
        case kTerrainLightJungle:
            return true;
        default:
            return false;
        }
    }
    switch (terrain) {
    case kTerrainMarsh:
        return !frozen;
    case kTerrainVillage:
    case kTerrainShallowWater:
    case kTerrainWadi:
    case kTerrainPalmTrees:
        return true;
    default:
        return false;
    }
}

} // namespace

bool CGameData::ClassifyLoadUnload(int x, int y, const int* positions, int count, LoadUnloadLists& lists)
{
    lists = LoadUnloadLists();
    std::vector<UnitNode*> units;
    if (!ResolvePositionsToUnits(x, y, positions, count, units))
        return false;
    for (UnitNode* node : units) {
        const PlacedUnit& unit = node->value;
        const PlatoonType* type = unit.m_type;
        if (IsCarried(unit)) {
            lists.unload.push_back(node);
            AddStrength(lists.unloadStrength, unit.m_strength);
        } else if (IsCarrying(unit)) {
            // Already carrying: it can neither take another passenger nor
            // board without leaving its own passenger behind.
            lists.spare.push_back(node);
        } else if (type && type->CanBeCarried()) {
            lists.passengers.push_back(node);
            AddStrength(lists.passengerStrength, unit.m_strength);
        } else if (type && type->CanCarryPassengers()) {
            lists.carriers.push_back(node);
        } else {
            lists.spare.push_back(node);
        }
    }
    // Carriers in excess take spare units as passengers, last first.
    while (lists.carriers.size() > lists.passengers.size()) {
        auto spare = std::find_if(
            lists.spare.rbegin(), lists.spare.rend(), [](const UnitNode* node) { return !IsCarrying(node->value); });
        if (spare == lists.spare.rend())
            break;
        lists.passengers.push_back(*spare);
        lists.spare.erase(std::next(spare).base());
    }
    // Then a carrier that need not carry (its type carries anything, another
    // does not) lets the first of the others ride as a passenger.
    auto carriesAnything = [](const UnitNode* node) {
        return node->value.m_type && (node->value.m_type->m_extraFlags & kExtraCarriesPassengers) != 0;
    };
    while (lists.carriers.size() > lists.passengers.size()) {
        const bool some = std::any_of(lists.carriers.begin(), lists.carriers.end(), carriesAnything);
        auto other = std::find_if_not(lists.carriers.begin(), lists.carriers.end(), carriesAnything);
        if (!some || other == lists.carriers.end())
            break;
        lists.passengers.push_back(*other);
        AddStrength(lists.passengerStrength, (*other)->value.m_strength);
        *other = lists.carriers.back();
        lists.carriers.pop_back();
    }
    return true;
}

bool CGameData::ApplyLoadUnload(int x, int y, LoadUnloadLists& lists)
{
    if (!m_stacks.Contains(x, y))
        return false;
    UnitList& stack = m_stacks.At(x, y);
    const std::size_t pairs = std::min(lists.passengers.size(), lists.carriers.size());

    // Every listed node must be a distinct unit of this hex, and a pair must
    // be two free units, so that no passenger is parted from its carrier.
    std::vector<UnitNode*> seen;
    for (const auto* list : { &lists.passengers, &lists.unload, &lists.carriers }) {
        for (UnitNode* node : *list) {
            if (!node || InList(seen, node) || GetStackPosition(x, y, node) == 0)
                return false;
            seen.push_back(node);
        }
    }
    for (std::size_t i = 0; i < pairs; ++i) {
        const PlacedUnit& passenger = lists.passengers[i]->value;
        const PlacedUnit& carrier = lists.carriers[i]->value;
        if (IsCarried(passenger) || IsCarrying(passenger) || IsCarried(carrier) || IsCarrying(carrier))
            return false;
    }
    for (const UnitNode* node : lists.unload)
        if (!IsCarried(node->value))
            return false;

    // Loading: each passenger rides directly below its carrier.
    for (std::size_t i = 0; i < pairs; ++i) {
        UnitNode* carrierNode = lists.carriers[i];
        PlacedUnit passenger = lists.passengers[i]->value;
        passenger.m_status |= kUnitCarried;
        passenger.m_status &= ~static_cast<std::uint32_t>(kUnitDiggingIn | kUnitInAssault);
        stack.Remove(lists.passengers[i]);
        carrierNode->value.m_status |= kUnitCarrying;
        if (passenger.m_type && passenger.m_type->m_movementAllowance == 0)
            carrierNode->value.m_secondFacing = passenger.m_secondFacing;
        lists.passengers[i] = stack.InsertBefore(carrierNode->next, passenger);
    }

    // Unloading, last listed first: each passenger goes on top, facing as its
    // carrier did and taking over its second side. Only a loaded unit right
    // above the passenger is its carrier (the top unit has none).
    HexSide direction = HexSide::None;
    std::vector<UnitNode*> unloadCarriers;
    for (std::size_t i = lists.unload.size(); i-- > 0;) {
        UnitNode* node = lists.unload[i];
        PlacedUnit passenger = node->value;
        passenger.m_status &= ~static_cast<std::uint32_t>(kUnitCarried);
        UnitNode* above = node != stack.Head() ? node->prev : nullptr;
        if (above && IsCarrying(above->value)) {
            PlacedUnit& carrier = above->value;
            carrier.m_status &= ~static_cast<std::uint32_t>(kUnitCarrying);
            if (!direction.IsValid())
                direction = carrier.m_facing;
            passenger.m_facing = carrier.m_facing;
            passenger.m_secondFacing = carrier.m_secondFacing;
            carrier.m_secondFacing = HexSide::None;
            unloadCarriers.push_back(above);
        }
        // A battle file can stack a passenger that carries a rider of its
        // own (a carried jeep towing a gun). Such a passenger may have been
        // met as a carrier already: as an unloaded passenger it keeps the
        // side it took, and its node goes now. The riders it still carries
        // come along right below it; entries naming them follow them.
        std::erase(unloadCarriers, node);
        std::vector<UnitNode*> riders;
        if (IsCarrying(passenger))
            for (UnitNode* rider = node->next; rider && IsCarried(rider->value); rider = rider->next)
                riders.push_back(rider);
        for (auto rider = riders.rbegin(); rider != riders.rend(); ++rider) {
            UnitNode* moved = stack.Prepend((*rider)->value);
            std::replace(lists.unload.begin(), lists.unload.end(), *rider, moved);
            std::replace(unloadCarriers.begin(), unloadCarriers.end(), *rider, moved);
            stack.Remove(*rider);
        }
        stack.Remove(node);
        lists.unload[i] = stack.Prepend(passenger);
    }

    // The passengers took their carriers' second sides ahead; the carriers
    // now cover the sides behind them.
    AssignSecondSides(unloadCarriers, direction.Opposite(), x, y);
    return true;
}

bool CGameData::EliminateUnit(int x, int y, UnitNode* node)
{
    if (GetStackPosition(x, y, node) == 0)
        return false;
    UnitList& stack = m_stacks.At(x, y);
    // Combat results hit a passenger or a riding leader on its own: its
    // carrier then carries nothing. A carrier's riders go down with it.
    UnitNode* carrier = PartyLeader(stack, node) != node ? node->prev : nullptr;
    std::vector<UnitNode*> party;
    AppendWithRiders(node, party);
    for (UnitNode* member : party) {
        AddLoss(member->value.m_type, member->value.m_strength);
        m_eliminated.Append(member->value);
        stack.Remove(member);
    }
    if (carrier)
        carrier->value.m_status &= ~static_cast<std::uint32_t>(kUnitCarrying);
    return true;
}

void CGameData::ApplyStrengthLoss(PlacedUnit& unit, int n)
{
    if (n <= 0)
        return;
    const std::int64_t before = unit.m_strength;
    unit.ReduceStrength(n);
    // Strength is never taken below 1, so only the points actually lost count.
    AddLoss(unit.m_type, static_cast<int>(std::clamp<std::int64_t>(before - unit.m_strength, 0, n)));
}

void CGameData::AddLoss(const PlatoonType* type, int points)
{
    if (!type || points <= 0)
        return;
    if (!m_platoonTypes.Contains(type) || static_cast<std::size_t>(type->m_index) >= m_losses.size())
        return;
    int& total = m_losses[static_cast<std::size_t>(type->m_index)];
    total = static_cast<int>(
        std::min<std::int64_t>(static_cast<std::int64_t>(total) + points, std::numeric_limits<int>::max()));
}

void CGameData::TallyUnitsByType(std::vector<int>& counts, std::vector<int>& reduced) const
{
    const auto size = static_cast<std::size_t>(m_platoonTypes.Count());
    counts.assign(size, 0);
    reduced.assign(size, 0);
    auto tally = [&](const PlacedUnit& unit) {
        if (!m_platoonTypes.Contains(unit.m_type))
            return;
        const auto index = static_cast<std::size_t>(unit.m_type->m_index);
        ++counts[index];
        if ((unit.m_status & kUnitDisrupted) != 0)
            ++reduced[index];
    };
    for (int c = 0; c < m_stacks.Width(); ++c)
        for (int r = 0; r < m_stacks.Height(); ++r)
            for (const PlacedUnit& unit : m_stacks.At(c, r))
                tally(unit);
    for (const OffMapUnit& offMap : m_offMapUnits)
        tally(offMap.unit);
}

void CGameData::CycleStack(int x, int y)
{
    if (!m_stacks.Contains(x, y))
        return;
    UnitList& stack = m_stacks.At(x, y);
    if (!stack.Head() || !stack.Head()->next)
        return;
    stack.Append(stack.Head()->value);
    stack.Remove(stack.Head());
    // A carrier sent down takes its passenger along, below it, and that
    // passenger its own rider (a battle file can stack a carried carrier).
    // A stack of riders alone goes round at most once.
    for (std::size_t left = stack.Count() - 1; left > 0 && IsCarried(stack.Head()->value); --left) {
        stack.Append(stack.Head()->value);
        stack.Remove(stack.Head());
    }
}

bool CGameData::IsOccupiedHexContacted(int x, int y) const { return HexHasUnits(x, y) && GetEnemyContact(x, y) == 2; }

void CGameData::RefreshOrgPresence()
{
    m_orgTree.ClearMarks();
    for (int c = 0; c < m_stacks.Width(); ++c)
        for (int r = 0; r < m_stacks.Height(); ++r)
            for (const PlacedUnit& unit : m_stacks.At(c, r))
                if (unit.m_node)
                    unit.m_node->MarkUpwards();
}

HexSideSet CGameData::GetStackSecondSides(int x, int y) const
{
    HexSideSet sides;
    if (!m_stacks.Contains(x, y))
        return sides;
    for (const PlacedUnit& unit : m_stacks.At(x, y))
        if (!IsCarried(unit))
            sides.Add(unit.m_secondFacing);
    return sides;
}

void CGameData::AssignSecondSides(const std::vector<UnitNode*>& units, HexSide direction, int x, int y)
{
    HexSideSet covered = GetStackSecondSides(x, y);
    const auto free
        = std::count_if(units.begin(), units.end(), [](const UnitNode* node) { return !IsCarried(node->value); });
    bool alongRoad = false;
    if (covered.IsEmpty() && m_map.IsOnMap(x, y)) {
        for (int layer : { kLayerRoad, kLayerUnpaved, kLayerRail }) {
            const HexSideSet sides = m_map.GetFeatureLayer(x, y, layer);
            alongRoad = alongRoad || sides.Contains(direction) || sides.Contains(direction.Opposite());
        }
    }
    const int(&offsets)[6] = alongRoad ? kRoadOffsets : (free % 2 == 1 ? kOddOffsets : kEvenOffsets);
    for (UnitNode* node : units) {
        PlacedUnit& unit = node->value;
        if (IsCarried(unit))
            continue;
        const HexSide base = direction.IsValid() ? direction : unit.m_facing;
        unit.m_secondFacing = ChooseSecondSide(covered, base, unit.m_facing, offsets);
    }
}

void CGameData::AssignSecondSide(PlacedUnit& unit, int x, int y)
{
    HexSideSet covered = GetStackSecondSides(x, y);
    unit.m_secondFacing = ChooseSecondSide(covered, unit.m_facing, unit.m_facing, kSingleOffsets);
}

bool CGameData::PlaceReinforcementGroup(const ReinforcementGroup& group, int congestionDivisor, HexList& hexes)
{
    if (group.IsScattered())
        return ScatterGroup(group, hexes);
    return PlaceGroupAtEntry(group, congestionDivisor, hexes);
}

bool CGameData::PlaceGroupAtEntry(const ReinforcementGroup& group, int congestionDivisor, HexList& hexes)
{
    const int x = group.m_col;
    const int y = group.m_row;
    if (!m_stacks.Contains(x, y) || !m_phaseBytes.Contains(x, y))
        return false;
    AppendHexListNodeOnce(hexes, x, y);
    const int divisor = std::max(1, congestionDivisor);
    std::uint8_t& entered = m_phaseBytes.At(x, y);
    UnitList& stack = m_stacks.At(x, y);
    bool first = true;
    for (PlacedUnit unit : group.m_units) {
        // A passenger needs its carrier right above it in the group; the
        // first unit has none, and must not ride on a unit already there.
        if (first)
            unit.m_status &= ~static_cast<std::uint32_t>(kUnitCarried);
        first = false;
        if (!IsCarried(unit)) {
            // The more strength already came in through this hex this phase,
            // the slower the newcomers get going.
            unit.m_actionPoints = std::max(0, 100 - 10 * (entered / divisor));
            entered = static_cast<std::uint8_t>(entered + std::clamp(unit.m_strength, 0, kMaxPhaseByte - entered));
            AssignSecondSide(unit, x, y);
        }
        stack.Append(unit);
    }
    TakeObjective(x, y);
    return true;
}

bool CGameData::ScatterGroup(const ReinforcementGroup& group, HexList& hexes)
{
    const int entryX = group.m_col;
    const int entryY = group.m_row;
    if (!m_stacks.Contains(entryX, entryY))
        return false;
    AppendHexListNodeOnce(hexes, entryX, entryY);
    m_placement = PlacementRecord { -1, -1, 0, group.m_placement };
    const bool airDrop = (group.m_placement & kPlacementAirDrop) != 0;
    const int steps = std::clamp(group.m_scatterSteps, 0, kMaxScatterSteps);

    // A carrier lands together with the passengers right after it; a
    // carried unit with no carrier before it lands on its own, unloaded.
    const UnitNode* node = group.m_units.Head();
    while (node) {
        std::vector<PlacedUnit> party { node->value };
        const bool stray = IsCarried(node->value);
        node = node->next;
        if (stray)
            party.front().m_status &= ~static_cast<std::uint32_t>(kUnitCarried);
        else
            for (; node && IsCarried(node->value); node = node->next)
                party.push_back(node->value);

        HexPos at { entryX, entryY };
        for (int step = 0; step < steps; ++step) {
            const int d = static_cast<int>(UniformRandom() * 7.0);
            HexPos next;
            if (d < 6 && NeighbourHex(NthHexSide(d), at.column, at.row, next, m_stacks.Width(), m_stacks.Height()))
                at = next;
        }

        UnitList& stack = m_stacks.At(at.column, at.row);
        UnitNode* carrierNode = nullptr;
        bool carrierLanded = false;
        for (std::size_t i = 0; i < party.size(); ++i) {
            PlacedUnit& unit = party[i];
            m_placement = PlacementRecord { at.column, at.row, UnitNation(unit), group.m_placement };
            if (m_placementCallback)
                m_placementCallback->Invoke();
            // Passengers share their carrier's fate.
            const bool landed = (i == 0 || carrierLanded) && TryLandUnit(unit, at.column, at.row, airDrop);
            if (!landed) {
                AddLoss(unit.m_type, unit.m_strength);
                m_eliminated.Append(unit);
                continue;
            }
            if (airDrop) {
                unit.m_actionPoints = 0;
                if (unit.m_type && (unit.m_type->m_targetFlags & kTargetDropSpotter) != 0)
                    unit.m_status |= kDropStatusSpotter;
                else if (!IsLeader(unit))
                    unit.m_status |= kDropStatus;
            } else {
                SetArrivalMark(at.column, at.row, UnitNation(unit), (group.m_placement & kPlacementArrivalFlag) != 0);
            }
            if (!IsCarried(unit))
                AssignSecondSide(unit, at.column, at.row);
            UnitNode* placed = stack.Append(unit);
            if (i == 0) {
                carrierNode = placed;
                carrierLanded = true;
            }
            AppendHexListNodeOnce(hexes, at.column, at.row);
            TakeObjective(at.column, at.row);
        }
        // A carrier whose passengers did not land carries nothing.
        if (carrierNode && !carrierNode->next)
            carrierNode->value.m_status &= ~static_cast<std::uint32_t>(kUnitCarrying);
    }
    return true;
}

bool CGameData::TryLandUnit(PlacedUnit& unit, int x, int y, bool airDrop)
{
    if (!m_stacks.Contains(x, y) || !unit.m_type)
        return false;
    const int enemy = OtherSide(unit.m_type->GetSide());
    const bool frozen = m_terrain.water == TerrainConditions::kFrozen;
    const int terrain = GetEffectiveTerrain(x, y);
    if ((enemy != -1 && SideInHex(x, y) == enemy) || (terrain == kTerrainWater && !frozen))
        return false;
    if (unit.m_type->IsLeader())
        return true;

    bool enemyNear = false;
    for (HexSide side(1); side.IsValid(); side.Next()) {
        HexPos next;
        if (NeighbourHex(side, x, y, next, m_stacks.Width(), m_stacks.Height()))
            enemyNear = enemyNear || (enemy != -1 && SideInHex(next.column, next.row) == enemy);
    }
    double share = 0.0;
    if (enemyNear || IsSevereLanding(terrain, airDrop, frozen))
        share = 1.0;
    else if (IsRoughLanding(terrain, airDrop, frozen))
        share = 0.5;
    else
        return true;

    double drawn = UniformRandom() * unit.m_strength;
    if (share < 1.0)
        drawn /= 2.0;
    const int loss = static_cast<int>(std::trunc(drawn));
    if (unit.m_strength - loss <= 0)
        return false;
    unit.m_strength -= loss;
    unit.m_status |= kUnitDisrupted;
    AddLoss(unit.m_type, loss);
    return true;
}
