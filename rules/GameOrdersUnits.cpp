// Orders that change units in place: double time, digging in, the reserve
// for unloading, loading and unloading, and the stack-order and facing
// orders.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "rules/GameOrders.h"

namespace {

constexpr int kPhaseInitial = 0;
// A carrier that loads quickly charges this for every load and unload.
constexpr int kQuickLoadCost = 25;

bool IsLeader(const PlacedUnit& unit) { return unit.m_type && unit.m_type->IsLeader(); }
std::uint32_t CarryFlags(const PlacedUnit& unit) { return unit.m_type ? unit.m_type->m_carryFlags : 0; }

// The unit directly above in its stack; null for the top unit.
const UnitNode* UnitAbove(const UnitList& stack, const UnitNode& node)
{
    return &node == stack.Head() ? nullptr : node.prev;
}

// Units and strength the nodes add to the stacking count (leaders add none).
void AddStacking(const std::vector<UnitNode*>& nodes, std::size_t n, std::int64_t& units, std::int64_t& strength)
{
    for (std::size_t i = 0; i < n && i < nodes.size(); ++i) {
        if (IsLeader(nodes[i]->value))
            continue;
        ++units;
        strength += nodes[i]->value.m_strength;
    }
}

} // namespace

void CGameOrders::DoubleTimeSelection(String& out, int x, int y, const int* positions, int count)
{
    if (count <= 0)
        out = String();
    else if (SideInHex(x, y) == EnemySide())
        out = String("Cannot Double-Time units from other side");
    else
        out = DoubleTime(x, y, positions, count) ? String() : String(m_lastRefusal);
}

bool CGameOrders::DoubleTime(int x, int y, const int* positions, int count)
{
    std::vector<UnitNode*> units;
    ResolvePositionsToUnits(x, y, positions, count, units);
    for (const UnitNode* node : units) {
        const PlacedUnit& unit = node->value;
        if (!unit.m_type || !unit.m_type->IsFootMovement())
            return Refuse("Only foot-movement units can Double-Time");
        if (HasStatus(unit, kUnitFatigued))
            return Refuse("Cannot Double-Time fatigued units");
        if (HasStatus(unit, kUnitFixed))
            return Refuse("Fixed unit cannot Double-Time");
    }
    for (UnitNode* node : units)
        node->value.m_status |= kUnitDoubleTime | kUnitFatigued;
    return true;
}

void CGameOrders::ToggleDigInSelection(String& out, int x, int y, const int* positions, int count)
{
    if (count <= 0)
        out = String();
    else if (SideInHex(x, y) == EnemySide())
        out = String("Cannot toggle digging status of other side");
    else
        out = ToggleDigIn(x, y, positions, count) ? String() : String(m_lastRefusal);
}

bool CGameOrders::ToggleDigIn(int x, int y, const int* positions, int count)
{
    if (!IsOptionSet(kOptionDiggingIn))
        return Refuse("Digging-In Optional Rule not enabled");
    constexpr int kImprovedOrFort = kHexImprovedPosition | kHexBunker | kHexTrench | kHexPillbox | kHexCave;
    if ((m_hexFlags.At(x, y) & kImprovedOrFort) != 0)
        return Refuse("Hex is already Improved or has Fort");
    if (GetEffectiveTerrain(x, y) == kTerrainShallowWater)
        return Refuse("Cannot dig-in in Shallow Water hexes");
    std::vector<UnitNode*> units;
    if (!ResolvePositionsToUnits(x, y, positions, count, units))
        return true;
    for (const UnitNode* node : units) {
        const PlacedUnit& unit = node->value;
        if (HasStatus(unit, kUnitDiggingIn | kUnitCarried))
            continue;
        if (!unit.m_type || (unit.m_type->m_extraFlags & kExtraDigIn) == 0)
            return Refuse("Unit is not capable of Digging-In");
        if (IsLeader(unit))
            return Refuse("Leaders cannot dig-in");
        if (HasStatus(unit, kUnitMoved))
            return Refuse("Units which have moved cannot initiate Digging-In");
        if (HasStatus(unit, kUnitFired))
            return Refuse("Units which have fired cannot initiate Digging-In");
        if (HasStatus(unit, kUnitDisrupted))
            return Refuse("Disrupted units cannot initiate Digging-In");
        if (!HasEnoughActionPoints(*node, m_parameters.m_digInApCost))
            return Refuse("Unit does not have enough Action Points to dig-in");
    }
    CGameHexMarks::ToggleDigIn(x, y, positions, count);
    return true;
}

void CGameOrders::ToggleSaveApForUnloading(String& out, int x, int y, const int* positions, int count)
{
    out = String();
    if (count <= 0)
        return;
    if (SideInHex(x, y) == EnemySide()) {
        out = String("Cannot change units from other side");
        return;
    }
    std::vector<UnitNode*> units;
    ResolvePositionsToUnits(x, y, positions, count, units);
    for (UnitNode* node : units)
        ToggleUnitSaveApForUnloading(*node);
}

void CGameOrders::ToggleUnitSaveApForUnloading(UnitNode& node)
{
    PlacedUnit& unit = node.value;
    if (HasStatus(unit, kUnitSavedForUnloading)) {
        unit.m_status &= ~static_cast<std::uint32_t>(kUnitSavedForUnloading);
        return;
    }
    if (!HasStatus(unit, kUnitCarrying) || !node.next || !node.next->value.m_type)
        return;
    const int cost = node.next->value.m_type->m_unloadApCost;
    if (cost != 0 && cost <= unit.m_actionPoints)
        unit.m_status |= kUnitSavedForUnloading;
}

int CGameOrders::LoadCost(const PlacedUnit& passenger, const PlacedUnit& carrier)
{
    std::int64_t cost = passenger.m_type ? passenger.m_type->m_loadApCost : 0;
    if (carrier.m_type && (carrier.m_type->m_moveFlags & kMoveQuickLoad) != 0)
        cost = kQuickLoadCost;
    if (HasStatus(passenger, kUnitDisrupted))
        cost *= 2;
    return static_cast<int>(std::clamp<std::int64_t>(cost, 0, std::numeric_limits<int>::max()));
}

int CGameOrders::UnloadCost(const PlacedUnit& passenger, const PlacedUnit& carrier) const
{
    std::int64_t cost = (CarryFlags(carrier) & kCarryPassengers) != 0
        ? m_parameters.m_carrierUnloadApCost
        : (passenger.m_type ? passenger.m_type->m_unloadApCost : 0);
    if (carrier.m_type && (carrier.m_type->m_moveFlags & kMoveQuickLoad) != 0)
        cost = kQuickLoadCost;
    if (HasStatus(passenger, kUnitDisrupted))
        cost *= 2;
    return static_cast<int>(std::clamp<std::int64_t>(cost, 0, std::numeric_limits<int>::max()));
}

bool CGameOrders::CheckLoadPair(const PlacedUnit& passenger, const PlacedUnit& carrier)
{
    if (IsThreePhase() && HasStatus(passenger, kUnitFired))
        return Refuse("Units which have fired cannot be loaded in the same phase");
    if (HasStatus(passenger, kUnitFixed))
        return Refuse("Fixed units cannot load");
    const int cost = LoadCost(passenger, carrier);
    if (!CanAffordMove(passenger, cost, 0) || !CanAffordMove(carrier, cost, 0))
        return Refuse(IsThreePhase() ? "Unit does not have enough movement points to load/unload"
                                     : "Unit does not have enough action points to load/unload");
    const std::uint32_t c = CarryFlags(carrier);
    const std::uint32_t p = CarryFlags(passenger);
    const bool leader = IsLeader(passenger);
    const bool anything = carrier.m_type && (carrier.m_type->m_extraFlags & kExtraCarriesPassengers) != 0;
    if (!anything) {
        if ((p & kCarryCarriable) == 0)
            return Refuse("Unit cannot be carried");
        if ((c & kCarryTows) != 0 && (p & kPassengerHeavyGun) != 0)
            return Refuse("Unit cannot tow heavy guns");
        if ((c & kCarryOnlyHeavy) != 0 && (p & 0x1004) == 0)
            return Refuse("Unit cannot carry passengers");
        if ((c & kCarryHorses) != 0 && (p & kPassengerHorses) == 0 && !leader)
            return Refuse("Passenger cannot be carried on horses");
        if ((c & kCarryBicycles) != 0 && (p & kPassengerBicycles) == 0 && !leader)
            return Refuse("Passenger cannot be carried on bicycles");
        if ((c & kCarryMotorcycles) != 0 && (p & kPassengerMotorcycles) == 0 && !leader)
            return Refuse("Passenger cannot be carried on motorcycles");
        if ((c & kCarryBoats) != 0 && (p & kPassengerBoats) == 0 && !leader
            && !(passenger.m_type && passenger.m_type->IsArtillery()))
            return Refuse("Passenger cannot be carried on boats");
        if ((c & kCarryPassengers) != 0 && (p & 0x2) == 0)
            return Refuse("Cannot load unit on non-carrier");
    }
    std::int64_t capacity = carrier.m_strength;
    if ((c & kCarryPassengers) != 0 && (p & 0x2) != 0)
        capacity *= 2;
    if (capacity < passenger.m_strength)
        return Refuse("Carrier does not have enough strength to carry passenger");
    return true;
}

bool CGameOrders::CheckUnload(int x, int y, const UnitNode& passenger)
{
    if (IsOpenWater(x, y))
        return Refuse("Cannot unload from boats in water");
    if (IsThreePhase())
        return true;
    const UnitNode* carrier = UnitAbove(m_stacks.At(x, y), passenger);
    if (!carrier)
        return true;
    const int cost = UnloadCost(passenger.value, carrier->value);
    if (!CanAffordMove(passenger.value, cost, 0) || !CanAffordMove(carrier->value, cost, 0))
        return Refuse("Unit does not have enough action points to load/unload");
    return true;
}

void CGameOrders::LoadUnloadSelection(String& out, int x, int y, int* positions, int count)
{
    if (count <= 0)
        out = String();
    else
        out = LoadUnload(x, y, positions, count) ? String() : String(m_lastRefusal);
}

bool CGameOrders::LoadUnload(int x, int y, int* positions, int count)
{
    if (IsThreePhase() && m_map.GetPhase() != kPhaseInitial)
        return Refuse("Cannot load/unload units unless in Initial Phase");
    if (SideInHex(x, y) == EnemySide())
        return Refuse("Cannot load/unload units from other side");
    LoadUnloadLists lists;
    ClassifyLoadUnload(x, y, positions, count, lists);
    if (lists.passengers.empty() && lists.unload.empty())
        return Refuse("No valid units have been selected to load/unload");
    if (!lists.passengers.empty() && lists.carriers.empty())
        return Refuse("No carriers have been selected");
    const std::size_t pairs = std::min(lists.passengers.size(), lists.carriers.size());
    if (!lists.unload.empty()) {
        // Only the passengers that will board leave the stacking count.
        std::int64_t unloadUnits = 0, unloadStrength = 0, boardUnits = 0, boardStrength = 0;
        AddStacking(lists.unload, lists.unload.size(), unloadUnits, unloadStrength);
        AddStacking(lists.passengers, pairs, boardUnits, boardStrength);
        if (CountStackUnits(x, y) + unloadUnits - boardUnits > m_parameters.m_maxStackUnits
            || GetStackStrength(x, y) + unloadStrength - boardStrength > m_parameters.m_maxStackStrength)
            return Refuse("Unloading produces overloaded stack");
    }
    for (std::size_t i = 0; i < pairs; ++i) {
        if (!CheckLoadPair(lists.passengers[i]->value, lists.carriers[i]->value))
            return false;
    }
    for (const UnitNode* node : lists.unload) {
        if (!CheckUnload(x, y, *node))
            return false;
    }

    SnapshotHex(x, y);
    constexpr auto kNotHidden = ~static_cast<std::uint32_t>(kUnitHidden);
    for (std::size_t i = 0; i < pairs; ++i) {
        PlacedUnit& passenger = lists.passengers[i]->value;
        PlacedUnit& carrier = lists.carriers[i]->value;
        const int cost = LoadCost(passenger, carrier);
        passenger.m_status &= ~static_cast<std::uint32_t>(kUnitDiggingIn | kUnitHidden);
        passenger.SpendActionPoints(cost);
        const int carrierCost = passenger.m_type ? passenger.m_type->m_loadApCost : 0;
        carrier.SpendActionPoints(HasStatus(carrier, kUnitDisrupted) ? 2 * std::int64_t { carrierCost } : carrierCost);
        carrier.m_status &= kNotHidden;
    }
    UnitList& stack = m_stacks.At(x, y);
    for (UnitNode* node : lists.unload) {
        PlacedUnit& passenger = node->value;
        UnitNode* carrierNode = node == stack.Head() ? nullptr : node->prev;
        if (!carrierNode)
            continue;
        PlacedUnit& carrier = carrierNode->value;
        if (IsThreePhase()) {
            for (PlacedUnit* unit : { &passenger, &carrier }) {
                unit->m_actionPoints = 0;
                unit->m_status = (unit->m_status | kUnitUnloaded) & kNotHidden;
            }
        } else {
            const int cost = UnloadCost(passenger, carrier);
            for (PlacedUnit* unit : { &passenger, &carrier }) {
                unit->SpendActionPoints(cost);
                unit->m_status &= kNotHidden;
            }
        }
    }
    ApplyLoadUnload(x, y, lists);

    int next = 0;
    for (const auto* list : { &lists.unload, &lists.carriers, &lists.passengers, &lists.spare }) {
        for (const UnitNode* node : *list) {
            if (next < count)
                positions[next++] = GetStackPosition(x, y, node);
        }
    }
    return true;
}

bool CGameOrders::CheckStackOrder(String& out, int x, int y, int count)
{
    out = String();
    if (count <= 0)
        return false;
    if (SideInHex(x, y) == EnemySide()) {
        out = String("Cannot change units from other side");
        return false;
    }
    return true;
}

void CGameOrders::CycleStack(String& out, int x, int y)
{
    out = String();
    if (!m_map.IsOnMap(x, y) || !HexHasUnits(x, y))
        out = String("Cannot cycle units in empty or unknown hex");
    else if (SideInHex(x, y) != m_map.GetSide())
        out = String("Cannot cycle units from other side");
    else
        CGameHexMarks::CycleStack(x, y);
}

void CGameOrders::MoveSelectionToTop(String& out, int x, int y, const int* positions, int count)
{
    std::vector<UnitNode*> units;
    if (!CheckStackOrder(out, x, y, count) || !ResolvePositionsToUnits(x, y, positions, count, units))
        return;
    if (!CheckCarrierRule(x, y, positions, count, units))
        out = String(m_lastRefusal);
    else
        MoveUnitsToTop(x, y, positions, count);
}

void CGameOrders::MoveSelectionToBottom(String& out, int x, int y, const int* positions, int count)
{
    std::vector<UnitNode*> units;
    if (!CheckStackOrder(out, x, y, count) || !ResolvePositionsToUnits(x, y, positions, count, units))
        return;
    if (!CheckCarrierRule(x, y, positions, count, units))
        out = String(m_lastRefusal);
    else
        MoveUnitsToBottom(x, y, positions, count);
}

void CGameOrders::TurnSelectionClockwise(String& out, int x, int y, const int* positions, int count)
{
    if (CheckStackOrder(out, x, y, count))
        TurnUnitsClockwise(x, y, positions, count);
}

void CGameOrders::TurnSelectionCounterclockwise(String& out, int x, int y, const int* positions, int count)
{
    if (CheckStackOrder(out, x, y, count))
        TurnUnitsCounterclockwise(x, y, positions, count);
}

void CGameOrders::AlignSelectionFacings(String& out, int x, int y, const int* positions, int count)
{
    if (CheckStackOrder(out, x, y, count))
        AlignUnitFacings(x, y, positions, count);
}

void CGameOrders::AlignSelectionFacingsReversed(String& out, int x, int y, const int* positions, int count)
{
    if (CheckStackOrder(out, x, y, count))
        AlignUnitFacingsReversed(x, y, positions, count);
}
