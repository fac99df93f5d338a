// Orders that bring units onto or off the map or move them outside the
// movement rules: reinforcement placement, exit, the campaign set-up's
// placement, the cave transfer and the Banzai attack.

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <optional>
#include <vector>

#include "model/Geometry.h"
#include "model/Random.h"
#include "rules/GameOrders.h"

namespace {

constexpr int kPhaseInitial = 0;
constexpr int kNationJapan = 21;
// The Axis side, the only one that may order a Banzai attack.
constexpr int kBanzaiSide = 1;
// Action points a Banzai leader, and each unit that joins it, must have.
constexpr int kBanzaiActionPoints = 20;
constexpr int kMaxCaveTransferDistance = 3;
// Category digit of rifle platoons; they (and category five) may join a
// Banzai attack.
constexpr int kCategoryRifles = 2;

bool IsLeader(const PlacedUnit& unit) { return unit.m_type && unit.m_type->IsLeader(); }

bool MayJoinBanzai(const PlacedUnit& unit)
{
    const PlatoonType* type = unit.m_type;
    if (!type)
        return false;
    const bool leader = type->IsLeader();
    if (!leader && !(type->GetCategory() == kCategoryRifles || type->IsCategoryFive()))
        return false;
    if (!leader && type->AssaultFactor() == 0)
        return false;
    if ((type->m_targetFlags & kTargetNoBanzai) != 0)
        return false;
    return !HasStatus(unit, kUnitFatigued | kUnitDisrupted | kUnitCarried | kUnitFixed)
        && unit.m_actionPoints >= kBanzaiActionPoints;
}

} // namespace

void CGameOrders::PlaceReinforcementSelection(String& out, int index, HexPos& entry, HexList& hexes)
{
    out = PlaceReinforcement(index, entry, hexes) ? String() : String(m_lastRefusal);
}

bool CGameOrders::PlaceReinforcement(int index, HexPos& entry, HexList& hexes)
{
    if (m_map.GetPhase() != kPhaseInitial)
        return Refuse("Reinforcements can only be placed in Initial Phase");
    ReinforcementGroupList::Node* node = nullptr;
    if (index == 0) {
        node = m_reinforcements.Last();
    } else if (index > 0) {
        node = m_reinforcements.Head();
        for (int k = 1; node && k < index; ++k)
            node = node->next;
    }
    if (!node)
        return Refuse("No valid reinforcement has been selected");
    const ReinforcementGroup& group = node->value;
    const int x = group.m_col;
    const int y = group.m_row;
    entry = HexPos { x, y };
    if (!m_map.IsOnMap(x, y))
        return Refuse("Error in reinforcement data, entry hex not valid");
    if (group.GetSide() != m_map.GetSide())
        return Refuse("Selected unit is not from current side");
    if (!group.IsScattered() && SideInHex(x, y) == EnemySide()) {
        ClearEntryHex(x, y, hexes);
        // Two sides never share a hex: the group waits for the hex to clear.
        if (SideInHex(x, y) == EnemySide())
            return Refuse("Entry hex is occupied by enemy units");
    }
    // The group leaves the list for good; an undo of an earlier move
    // through these hexes would take its units off the map with it.
    ClearUndo();
    PlaceReinforcementGroup(group, m_parameters.m_roadStackLimit, hexes);
    m_reinforcements.Remove(node);
    return true;
}

void CGameOrders::ClearEntryHex(int x, int y, HexList& hexes)
{
    if (!m_map.IsOnMap(x, y))
        return;
    RandomGeneratorPtr random = RandomGeneratorPtr::InitTimeSeeded();
    const int own = m_map.GetSide();
    int candidates = 0;
    std::optional<HexPos> choice;
    for (HexSide side(1); side.IsValid(); side.Next()) {
        HexPos next;
        if (!m_map.GetNeighbour(side, x, y, next) || SideInHex(next.column, next.row) == own)
            continue;
        ++candidates;
        if (random->Next() < 1.0 / candidates)
            choice = next;
    }
    if (!choice)
        return;
    std::vector<int> positions(m_stacks.At(x, y).Count());
    std::iota(positions.begin(), positions.end(), 1);
    // A forced move of the other side's units cannot be taken back.
    ClearUndo();
    MoveUnitsBetweenHexes(x, y, choice->column, choice->row, positions.data(), static_cast<int>(positions.size()));
    AppendHexListNodeOnce(hexes, choice->column, choice->row);
}

void CGameOrders::EliminateHexUnits(int x, int y)
{
    if (!m_map.IsOnMap(x, y))
        return;
    ClearUndo();
    UnitList& stack = m_stacks.At(x, y);
    while (UnitNode* top = stack.Head())
        EliminateUnit(x, y, top);
}

void CGameOrders::RemoveSelectionFromMap(String& out, int x, int y, const int* positions, int count)
{
    out = RemoveUnitsAtExit(x, y, positions, count) ? String() : String(m_lastRefusal);
}

bool CGameOrders::RemoveUnitsAtExit(int x, int y, const int* positions, int count)
{
    std::vector<UnitNode*> units;
    if (count <= 0 || !ResolvePositionsToUnits(x, y, positions, count, units))
        return Refuse("No units have been selected to remove");
    if (SideInHex(x, y) != m_map.GetSide())
        return Refuse("Cannot remove units from other side");
    if (!IsExitHex(x, y))
        return Refuse("Units are not on a valid exit hex");
    if (!CheckCarrierRule(x, y, positions, count, units))
        return false;
    // Exited units cannot come back: an undo of the move that brought them
    // here would put them on the map a second time.
    ClearUndo();
    ExitUnits(x, y, positions, count);
    return true;
}

bool CGameOrders::IsExitHex(int x, int y) const
{
    if (!m_map.IsOnMap(x, y))
        return false;
    for (HexSide side(1); side.IsValid(); side.Next()) {
        HexPos next;
        if (!m_map.GetNeighbour(side, x, y, next))
            return true;
    }
    return false;
}

void CGameOrders::PlaceSetupUnits(String& out, int fromX, int fromY, int toX, int toY, int* positions, int count)
{
    out = MoveSetupUnits(fromX, fromY, toX, toY, positions, count) ? String() : String(m_lastRefusal);
}

bool CGameOrders::MoveSetupUnits(int fromX, int fromY, int toX, int toY, int* positions, int count)
{
    const int destinationSide = SideInHex(toX, toY);
    if (destinationSide >= 0 && destinationSide == OtherSide(SideInHex(fromX, fromY)))
        return Refuse("Cannot mix units from different sides in same hex");
    std::vector<UnitNode*> units;
    if (!CheckCarrierRule(fromX, fromY, positions, count, units))
        return false;
    if (!m_map.IsOnMap(toX, toY))
        return Refuse("Unit placement is out of bounds");
    // Units put back into their own hex add nothing to it.
    const bool sameHex = fromX == toX && fromY == toY;
    if (!sameHex && !CheckStackingLimits(fromX, fromY, toX, toY, positions, count))
        return false;
    SnapshotHex(fromX, fromY);
    SnapshotHex(toX, toY);
    MoveUnitsBetweenHexes(fromX, fromY, toX, toY, positions, count);
    return true;
}

bool CGameOrders::CaveTransferMove(int fromX, int fromY, int toX, int toY, int* positions, int count)
{
    if (count <= 0 || !m_map.IsOnMap(fromX, fromY) || !m_map.IsOnMap(toX, toY))
        return false;
    if (SideInHex(fromX, fromY) != m_map.GetSide() || NationInHex(fromX, fromY) != kNationJapan)
        return false;
    if (SideInHex(toX, toY) == EnemySide())
        return false;
    if ((m_hexFlags.At(fromX, fromY) & kHexCave) == 0 || (m_hexFlags.At(toX, toY) & kHexCave) == 0)
        return false;
    // A transfer into the hex it starts from would hide units without a move.
    const int distance = HexDistance(fromX, fromY, toX, toY);
    if (distance < 1 || distance > kMaxCaveTransferDistance)
        return false;
    std::vector<UnitNode*> units;
    const char* const refusalBefore = m_lastRefusal;
    const bool together = CheckCarrierRule(fromX, fromY, positions, count, units);
    m_lastRefusal = refusalBefore;
    if (!together)
        return false;
    bool armed = false;
    for (const UnitNode* node : units) {
        const PlacedUnit& unit = node->value;
        if (unit.m_actionPoints != kFullActionPoints || HasStatus(unit, kUnitFixed) || !unit.m_type
            || (unit.m_type->m_moveFlags & kMoveFoot) == 0)
            return false;
        armed = armed || GetMaximumRange(unit.m_type) > 0;
    }

    SnapshotHex(fromX, fromY);
    SnapshotHex(toX, toY);
    const std::uint8_t inMove = m_inMove;
    m_inMove = 1;
    MoveUnitsBetweenHexes(fromX, fromY, toX, toY, positions, count);
    m_inMove = inMove;
    // The move clears the hidden bit of every unit it moves: hide them after.
    for (int i = 0; i < count; ++i) {
        if (UnitNode* node = GetStackNode(toX, toY, positions[i])) {
            node->value.m_status |= kUnitHidden;
            node->value.m_actionPoints = 0;
        }
    }
    if (armed)
        SpotAdjacentEnemies(toX, toY);
    return true;
}

bool CGameOrders::StartBanzaiAttack(int x, int y, const int* positions, int count)
{
    if (m_map.GetSide() != kBanzaiSide)
        return Refuse("Banzai attack may only be done in Axis turn");
    std::vector<UnitNode*> leaders;
    if (count <= 0 || !ResolvePositionsToUnits(x, y, positions, count, leaders))
        return Refuse("No units selected to Banzai");
    bool rolled = false;
    for (UnitNode* node : leaders) {
        PlacedUnit& leader = node->value;
        if (!IsLeader(leader))
            return Refuse("Only leaders can initiate Banzai attack");
        if (HasStatus(leader, kUnitBanzai))
            return Refuse("Leader is already committed to Banzai attack");
        if (HasStatus(leader, kUnitFatigued))
            return Refuse("Fatigued leader cannot initiate Banzai attack");
        if (leader.m_type->GetNation() != kNationJapan)
            return Refuse("Only Japanese leaders can initiate Banzai attack");
        if (leader.m_actionPoints < kBanzaiActionPoints)
            return Refuse("Leader does not have enough Action Points");
        if (HasStatus(leader, kUnitTriedBanzai))
            return Refuse("Leader has already tried Banzai attack this turn");
        // The roll is a result: an undo must not give the leader another.
        if (!rolled)
            ClearUndo();
        rolled = true;
        if (RollDie(10) > leader.m_rating) {
            leader.m_status |= kUnitTriedBanzai;
            return Refuse("Leader fails morale check");
        }
    }
    for (const UnitNode* node : leaders)
        CommitBanzai(x, y, node->value);
    return true;
}

void CGameOrders::CommitBanzai(int x, int y, const PlacedUnit& leader)
{
    // A leader outside any formation has nobody to lead.
    const OrgNode* formation = leader.m_node ? leader.m_node->m_parent : nullptr;
    if (!formation)
        return;
    const std::int64_t radius = std::max(0, leader.m_strength);
    const int firstColumn = static_cast<int>(std::max<std::int64_t>(0, x - radius));
    const int lastColumn = static_cast<int>(std::min<std::int64_t>(m_map.GetWidth() - 1, x + radius));
    const int firstRow = static_cast<int>(std::max<std::int64_t>(0, y - radius));
    const int lastRow = static_cast<int>(std::min<std::int64_t>(m_map.GetHeight() - 1, y + radius));
    for (int column = firstColumn; column <= lastColumn; ++column) {
        for (int row = firstRow; row <= lastRow; ++row) {
            if (HexDistance(x, y, column, row) > radius)
                continue;
            for (PlacedUnit& unit : m_stacks.At(column, row)) {
                if (formation->IsAncestorOf(unit.m_node) && MayJoinBanzai(unit))
                    unit.m_status |= kUnitBanzai | kUnitDoubleTime | kUnitFatigued;
            }
        }
    }
}
