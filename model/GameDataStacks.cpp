// The stacks of the battle-data layer: how units of a hex are addressed, and
// how units move between hexes and are reordered, turned and counted.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "model/GameData.h"
#include "model/IntRange.h"
#include "model/PlatoonType.h"

namespace {

bool IsCarried(const PlacedUnit& unit) { return (unit.m_status & kUnitCarried) != 0; }
bool IsLeader(const PlacedUnit& unit) { return unit.m_type && unit.m_type->IsLeader(); }
// Units that count for stacking: neither riding in a carrier nor leaders.
bool CountsForStacking(const PlacedUnit& unit) { return !IsCarried(unit) && !IsLeader(unit); }

template <typename Node> bool Contains(const std::vector<Node*>& units, const UnitNode* node)
{
    return std::find(units.begin(), units.end(), node) != units.end();
}

} // namespace

UnitNode* CGameData::GetStackNode(int x, int y, int position)
{
    return const_cast<UnitNode*>(std::as_const(*this).GetStackNode(x, y, position));
}

const UnitNode* CGameData::GetStackNode(int x, int y, int position) const
{
    if (!m_stacks.Contains(x, y) || position < 0)
        return nullptr;
    const UnitList& stack = m_stacks.At(x, y);
    if (position == 0)
        return stack.Last();
    const UnitNode* node = stack.Head();
    for (int i = 1; node && i < position; ++i)
        node = node->next;
    return node;
}

int CGameData::GetStackPosition(int x, int y, const UnitNode* node) const
{
    if (!m_stacks.Contains(x, y) || !node)
        return 0;
    int position = 1;
    for (const UnitNode* at = m_stacks.At(x, y).Head(); at; at = at->next, ++position)
        if (at == node)
            return position;
    return 0;
}

bool CGameData::ResolvePositionsToUnits(int x, int y, const int* positions, int count, std::vector<UnitNode*>& units)
{
    std::vector<const UnitNode*> found;
    const bool resolved = std::as_const(*this).ResolvePositionsToUnits(x, y, positions, count, found);
    units.clear();
    units.reserve(found.size());
    for (const UnitNode* node : found)
        units.push_back(const_cast<UnitNode*>(node));
    return resolved;
}

bool CGameData::ResolvePositionsToUnits(
    int x, int y, const int* positions, int count, std::vector<const UnitNode*>& units) const
{
    units.clear();
    if (!m_stacks.Contains(x, y) || !positions || count <= 0)
        return false;
    // More positions than units cannot all name distinct units.
    if (static_cast<std::size_t>(count) > m_stacks.At(x, y).Count())
        return false;
    units.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const UnitNode* node = GetStackNode(x, y, positions[i]);
        if (!node || Contains(units, node)) {
            units.clear();
            return false;
        }
        units.push_back(node);
    }
    return true;
}

UnitNode* CGameData::PartyLeader(const UnitList& stack, UnitNode* node)
{
    while (node && IsCarried(node->value) && node != stack.Head())
        node = node->prev;
    return node;
}

void CGameData::AppendWithRiders(UnitNode* node, std::vector<UnitNode*>& units)
{
    units.push_back(node);
    for (UnitNode* below = node->next; below && IsCarried(below->value); below = below->next)
        units.push_back(below);
}

bool CGameData::ResolvePartiesToUnits(int x, int y, const int* positions, int count, std::vector<UnitNode*>& units)
{
    std::vector<UnitNode*> listed;
    units.clear();
    if (!ResolvePositionsToUnits(x, y, positions, count, listed))
        return false;
    const UnitList& stack = m_stacks.At(x, y);
    for (UnitNode* node : listed) {
        UnitNode* leader = PartyLeader(stack, node);
        if (leader != node) {
            // A rider goes with its party, and only with it.
            if (!Contains(listed, leader)) {
                units.clear();
                return false;
            }
            continue;
        }
        AppendWithRiders(node, units);
    }
    return true;
}

bool CGameData::MoveUnitsBetweenHexes(int fromX, int fromY, int toX, int toY, int* positions, int count)
{
    std::vector<UnitNode*> listed;
    std::vector<UnitNode*> units;
    if (!m_stacks.Contains(toX, toY) || !ResolvePositionsToUnits(fromX, fromY, positions, count, listed)
        || !ResolvePartiesToUnits(fromX, fromY, positions, count, units))
        return false;
    UnitList& source = m_stacks.At(fromX, fromY);
    const int moving = static_cast<int>(units.size());
    // The units land on top in the order treated: each listed unit's new
    // position is its place in that order.
    std::vector<int> newPositions(listed.size());
    for (std::size_t i = 0; i < listed.size(); ++i)
        newPositions[i] = static_cast<int>(std::find(units.begin(), units.end(), listed[i]) - units.begin()) + 1;

    HexSide direction;
    direction.SetBetween(fromX, fromY, toX, toY);

    m_lastMove.emplace(fromX, fromY, toX, toY, moving);
    for (int i = 0; i < moving; ++i)
        m_lastMove->SetUnit(i, units[i]->value, units[i]->value.m_secondFacing);

    AssignSecondSides(units, direction, toX, toY);

    std::vector<PlacedUnit> moved(units.size());
    for (int i = moving - 1; i >= 0; --i) {
        PlacedUnit unit = units[i]->value;
        unit.m_status &= ~static_cast<std::uint32_t>(kUnitInAssault | kUnitHidden);
        if (direction.IsValid())
            unit.m_facing = direction;
        m_lastMove->SetSecondSide(i, unit.m_secondFacing);
        moved[static_cast<std::size_t>(i)] = unit;
        source.Remove(units[i]);
    }

    // The frame shows the step while the units are between the two hexes.
    if (m_moveCallback && m_inMove == 0)
        m_moveCallback->Invoke();

    UnitList& destination = m_stacks.At(toX, toY);
    for (int i = moving - 1; i >= 0; --i)
        destination.Prepend(moved[static_cast<std::size_t>(i)]);
    std::copy(newPositions.begin(), newPositions.end(), positions);
    TakeObjective(toX, toY);
    return true;
}

void CGameData::TakeObjective(int x, int y)
{
    if (!m_stacks.Contains(x, y) || !m_objectives.Contains(x, y))
        return;
    ObjectiveCell& objective = m_objectives.At(x, y);
    if (objective.value < 1)
        return;
    for (const PlacedUnit& unit : m_stacks.At(x, y)) {
        if (GetNominalFirepower(unit.m_type) != 0) {
            objective.nation = NationInHex(x, y);
            return;
        }
    }
}

bool CGameData::TakeListedUnits(int x, int y, const int* positions, int count, std::vector<PlacedUnit>& taken)
{
    std::vector<UnitNode*> units;
    if (!ResolvePartiesToUnits(x, y, positions, count, units))
        return false;
    UnitList& stack = m_stacks.At(x, y);
    taken.clear();
    taken.reserve(units.size());
    for (UnitNode* node : units) {
        taken.push_back(node->value);
        stack.Remove(node);
    }
    return true;
}

bool CGameData::MoveUnitsToTop(int x, int y, const int* positions, int count)
{
    std::vector<PlacedUnit> taken;
    if (!TakeListedUnits(x, y, positions, count, taken))
        return false;
    UnitList& stack = m_stacks.At(x, y);
    for (auto it = taken.rbegin(); it != taken.rend(); ++it)
        stack.Prepend(*it);
    return true;
}

bool CGameData::MoveUnitsToBottom(int x, int y, const int* positions, int count)
{
    std::vector<PlacedUnit> taken;
    if (!TakeListedUnits(x, y, positions, count, taken))
        return false;
    UnitList& stack = m_stacks.At(x, y);
    for (const PlacedUnit& unit : taken)
        stack.Append(unit);
    return true;
}

bool CGameData::TurnUnitsClockwise(int x, int y, const int* positions, int count)
{
    std::vector<UnitNode*> units;
    if (!ResolvePositionsToUnits(x, y, positions, count, units))
        return false;
    for (UnitNode* node : units)
        node->value.m_facing = node->value.m_facing.Clockwise();
    return true;
}

bool CGameData::TurnUnitsCounterclockwise(int x, int y, const int* positions, int count)
{
    std::vector<UnitNode*> units;
    if (!ResolvePositionsToUnits(x, y, positions, count, units))
        return false;
    for (UnitNode* node : units)
        node->value.m_facing = node->value.m_facing.CounterClockwise();
    return true;
}

namespace {

// Every listed unit takes the first one's facing and gives up its second
// side; returns that facing.
HexSide AlignToFirst(const std::vector<UnitNode*>& units)
{
    const HexSide facing = units.front()->value.m_facing;
    for (UnitNode* node : units) {
        node->value.m_facing = facing;
        node->value.m_secondFacing = HexSide::None;
    }
    return facing;
}

} // namespace

bool CGameData::AlignUnitFacings(int x, int y, const int* positions, int count)
{
    std::vector<UnitNode*> units;
    if (!ResolvePositionsToUnits(x, y, positions, count, units))
        return false;
    AssignSecondSides(units, AlignToFirst(units), x, y);
    return true;
}

bool CGameData::AlignUnitFacingsReversed(int x, int y, const int* positions, int count)
{
    std::vector<UnitNode*> units;
    if (!ResolvePositionsToUnits(x, y, positions, count, units))
        return false;
    AssignSecondSides(units, AlignToFirst(units).Opposite(), x, y);
    return true;
}

int CGameData::SideInHex(int x, int y) const
{
    const UnitNode* top = m_stacks.Contains(x, y) ? m_stacks.At(x, y).Head() : nullptr;
    return top && top->value.m_type ? top->value.m_type->GetSide() : -1;
}

int CGameData::NationInHex(int x, int y) const
{
    const UnitNode* top = m_stacks.Contains(x, y) ? m_stacks.At(x, y).Head() : nullptr;
    return top && top->value.m_type ? top->value.m_type->GetNation() : -1;
}

int CGameData::CountStackUnits(int x, int y) const
{
    if (!m_stacks.Contains(x, y))
        return 0;
    int n = 0;
    for (const PlacedUnit& unit : m_stacks.At(x, y))
        n += CountsForStacking(unit) ? 1 : 0;
    return n;
}

int CGameData::CountSelectedUnits(int x, int y, const int* positions, int count) const
{
    std::vector<const UnitNode*> units;
    if (!ResolvePositionsToUnits(x, y, positions, count, units))
        return 0;
    int n = 0;
    for (const UnitNode* node : units)
        n += CountsForStacking(node->value) ? 1 : 0;
    return n;
}

int CGameData::SumSelectedStrength(int x, int y, const int* positions, int count) const
{
    std::vector<const UnitNode*> units;
    if (!ResolvePositionsToUnits(x, y, positions, count, units))
        return 0;
    std::int64_t sum = 0;
    for (const UnitNode* node : units)
        sum += CountsForStacking(node->value) ? node->value.m_strength : 0;
    return ClampToInt(sum);
}

int CGameData::GetStackStrength(int x, int y) const
{
    if (!m_stacks.Contains(x, y))
        return 0;
    std::int64_t sum = GetWreckValue(x, y);
    for (const PlacedUnit& unit : m_stacks.At(x, y))
        sum += CountsForStacking(unit) ? unit.m_strength : 0;
    return ClampToInt(sum);
}
