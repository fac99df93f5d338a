#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "model/Clock.h"
#include "model/Geometry.h"
#include "model/Random.h"
#include "tests/rules/MoveGame.h"

namespace {

using namespace demo;

// Japanese types made from the demo's American ones (nation 21, side 1).
constexpr std::uint32_t kJapaneseLeader = 21401;
constexpr std::uint32_t kJapaneseRifle = 21200;
constexpr std::uint32_t kJapaneseTeam = 21500; // category five
constexpr std::uint32_t kJapaneseGun = 21100; // category one: never joins a Banzai attack
constexpr std::uint32_t kJapaneseTruck = 21701;
constexpr std::uint32_t kJapaneseUnarmed = 21210; // rifles without an assault factor
constexpr std::uint32_t kJapaneseBarred = 21220; // rifles the type bars from Banzai attacks

// Two companies of one Japanese battalion; the leader (id 11) belongs to the
// first company, the unit with id 21 to the second; id 30 stands alone.
constexpr const char* kOrgText = "1\n0\n6 44\n"
                                 "B2100001 1 6 Battalion\n"
                                 "    C2100002 10 6 1st Company\n"
                                 "        P21401 11 6 Leader\n"
                                 "        P21201 12 6 Rifles\n"
                                 "        End\n"
                                 "    C2100003 20 6 2nd Company\n"
                                 "        P21202 21 6 Rifles\n"
                                 "        End\n"
                                 "    End\n"
                                 "P21402 30 6 Lone leader\n";

class CountingCallback final : public CCallback {
public:
    explicit CountingCallback(int& count)
        : m_count(count)
    {
    }
    void Invoke() override { ++m_count; }

private:
    int& m_count;
};

// An 8 x 8 Open map, side 0 to move in the Initial Phase of plain turns,
// stacking at most 4 units and 30 strength points.
class ReinforcementOrdersTest : public MoveGameTest {
protected:
    void SetUp() override
    {
        MakeMap(8, 8);
        m_game.m_map.SetSide(0);
        m_game.m_map.SetPhase(0);
        m_game.m_parameters.m_maxStackUnits = 4;
        m_game.m_parameters.m_maxStackStrength = 30;
        m_game.m_parameters.m_roadStackLimit = 5;
        m_game.m_reinforcements.Free();
        m_game.ClearUndo();
        Type(kUsRifle)->m_fullStrength = 5;
        Type(kUsTruck)->m_fullStrength = 5;
        Type(kGermanRifle)->m_fullStrength = 5;
        if (!Type(kJapaneseLeader)) {
            AddCopy(kUsBattalionCommander, kJapaneseLeader);
            AddCopy(kUsRifle, kJapaneseRifle);
            AddCopy(kUsRifle, kJapaneseTeam);
            AddCopy(kUsRifle, kJapaneseGun);
            AddCopy(kUsTruck, kJapaneseTruck);
            AddCopy(kUsRifle, kJapaneseUnarmed);
            AddCopy(kUsRifle, kJapaneseBarred);
        }
        for (std::uint32_t id : { kJapaneseRifle, kJapaneseTeam, kJapaneseGun, kJapaneseUnarmed, kJapaneseBarred }) {
            Type(id)->m_value12 = 4;
            Type(id)->m_moveFlags = kMoveFoot;
            Type(id)->m_targetFlags = 0;
            Type(id)->m_carryFlags = 0x3;
        }
        Type(kJapaneseUnarmed)->m_value12 = 0;
        Type(kJapaneseBarred)->m_targetFlags = kTargetNoBanzai;
        Type(kJapaneseLeader)->m_moveFlags = kMoveFoot;
        Type(kJapaneseLeader)->m_targetFlags = 0;
        std::istringstream org(kOrgText);
        ASSERT_TRUE(m_game.m_orgTree.Read(org));
    }
    void TearDown() override { SetTimeSource(nullptr); }

    void AddCopy(std::uint32_t from, std::uint32_t id)
    {
        PlatoonType copy = *Type(from);
        copy.m_id = id;
        m_game.m_platoonTypes.Append(std::move(copy));
    }

    // A group of units of the type at the entry hex, at the end of the list.
    ReinforcementGroup& AddGroup(int x, int y, std::vector<std::uint32_t> types, std::uint32_t placement = 0)
    {
        ReinforcementGroup group(x, y);
        group.m_placement = placement;
        for (std::uint32_t id : types)
            group.m_units.Append(PlacedUnit(Type(id), nullptr));
        return m_game.m_reinforcements.Append(std::move(group))->value;
    }
    std::string Place(int index, HexPos& entry, HexList& hexes)
    {
        String out;
        m_game.PlaceReinforcementSelection(out, index, entry, hexes);
        return out.c_str();
    }
    std::string Place(int index)
    {
        HexPos entry;
        HexList hexes;
        return Place(index, entry, hexes);
    }

    std::string Remove(int x, int y, std::vector<int> positions)
    {
        String out;
        m_game.RemoveSelectionFromMap(out, x, y, positions.data(), static_cast<int>(positions.size()));
        return out.c_str();
    }
    std::string Setup(int fromX, int fromY, int toX, int toY, std::vector<int>& positions)
    {
        String out;
        m_game.PlaceSetupUnits(out, fromX, fromY, toX, toY, positions.data(), static_cast<int>(positions.size()));
        return out.c_str();
    }
    std::string Setup(int fromX, int fromY, int toX, int toY, std::vector<int>&& positions)
    {
        return Setup(fromX, fromY, toX, toY, positions);
    }
    bool Cave(int fromX, int fromY, int toX, int toY, std::vector<int>& positions)
    {
        return m_game.CaveTransferMove(fromX, fromY, toX, toY, positions.data(), static_cast<int>(positions.size()));
    }
    bool Cave(int fromX, int fromY, int toX, int toY, std::vector<int>&& positions)
    {
        return Cave(fromX, fromY, toX, toY, positions);
    }
    std::string Banzai(int x, int y, std::vector<int> positions)
    {
        if (m_game.StartBanzaiAttack(x, y, positions.data(), static_cast<int>(positions.size())))
            return "";
        return m_game.m_lastRefusal;
    }

    // The units of a hex by type id, top first.
    std::vector<std::uint32_t> Ids(int x, int y)
    {
        std::vector<std::uint32_t> ids;
        for (const PlacedUnit& unit : m_game.m_stacks.At(x, y))
            ids.push_back(unit.m_type ? unit.m_type->m_id : 0);
        return ids;
    }
    HexPos Neighbour(int x, int y, HexSide side)
    {
        HexPos next;
        EXPECT_TRUE(m_game.m_map.GetNeighbour(side, x, y, next));
        return next;
    }
    OrgNode* Node(int id) { return m_game.m_orgTree.FindNode(id); }
    PlacedUnit& AddInOrg(int x, int y, std::uint32_t id, int node, std::uint32_t status = 0)
    {
        PlacedUnit& unit = Add(x, y, id, status);
        unit.m_node = Node(node);
        return unit;
    }
};

// ---------------------------------------------------------------------------
// Reinforcement placement

TEST_F(ReinforcementOrdersTest, ReinforcementRefusalsInOrder)
{
    struct Row {
        const char* text;
        std::function<void()> setUp;
        int index = 1;
    };
    const Row rows[] = {
        { "Reinforcements can only be placed in Initial Phase", [this] { m_game.m_map.SetPhase(1); }, 7 },
        { "No valid reinforcement has been selected", [] {}, 2 },
        { "No valid reinforcement has been selected", [] {}, -1 },
        { "Error in reinforcement data, entry hex not valid",
            [this] {
                m_game.m_reinforcements.Head()->value.m_col = 8;
                m_game.m_reinforcements.Head()->value.m_units.Head()->value.m_type = Type(kGermanRifle);
            } },
        { "Selected unit is not from current side",
            [this] {
                m_game.m_reinforcements.Head()->value.m_units.Head()->value.m_type = Type(kGermanRifle);
                Add(3, 3, kGermanRifle);
            } },
        // The enemy holds the entry hex and every neighbour is ours.
        { "Entry hex is occupied by enemy units",
            [this] {
                Add(3, 3, kGermanRifle);
                for (HexSide side(1); side.IsValid(); side.Next()) {
                    const HexPos next = Neighbour(3, 3, side);
                    Add(next.column, next.row, kUsRifle);
                }
            } },
        { "", [] {} },
    };
    for (const Row& row : rows) {
        SetUp();
        AddGroup(3, 3, { kUsRifle });
        m_game.SnapshotHex(5, 5);
        row.setUp();
        HexPos entry { -1, -1 };
        HexList hexes;
        EXPECT_EQ(Place(row.index, entry, hexes), row.text) << row.text;
        const bool placed = *row.text == 0;
        // A refusal keeps the group, the stacks and the undo records.
        EXPECT_EQ(m_game.m_reinforcements.Count(), placed ? 0u : 1u) << row.text;
        EXPECT_EQ(m_game.m_snapshots.size(), placed ? 0u : 1u) << row.text;
        EXPECT_EQ(hexes.Count(), placed ? 1u : 0u) << row.text;
        // The entry hex comes back once the group is found.
        const std::string text = row.text;
        const bool found = text != "Reinforcements can only be placed in Initial Phase"
            && text != "No valid reinforcement has been selected";
        const int column = text == "Error in reinforcement data, entry hex not valid" ? 8 : 3;
        const HexPos expected = found ? HexPos { column, 3 } : HexPos { -1, -1 };
        EXPECT_EQ(entry, expected) << text;
        if (text == "Entry hex is occupied by enemy units") {
            EXPECT_EQ(Ids(3, 3), std::vector<std::uint32_t> { kGermanRifle });
        }
    }
    EXPECT_EQ(Ids(3, 3), std::vector<std::uint32_t> { kUsRifle });
}

TEST_F(ReinforcementOrdersTest, IndexZeroIsTheLastGroupAndOthersCountFromTheFront)
{
    AddGroup(1, 1, { kUsRifle });
    AddGroup(2, 2, { kUsTruck });
    AddGroup(4, 4, { kUsSherman });
    HexPos entry;
    HexList hexes;
    EXPECT_EQ(Place(0, entry, hexes), "");
    EXPECT_EQ(entry, (HexPos { 4, 4 }));
    EXPECT_EQ(Ids(4, 4), std::vector<std::uint32_t> { kUsSherman });
    EXPECT_EQ(Place(2, entry, hexes), "");
    EXPECT_EQ(entry, (HexPos { 2, 2 }));
    EXPECT_EQ(Place(2), "No valid reinforcement has been selected");
    EXPECT_EQ(Place(1, entry, hexes), "");
    EXPECT_EQ(entry, (HexPos { 1, 1 }));
    EXPECT_TRUE(m_game.m_reinforcements.IsEmpty());
    EXPECT_EQ(Place(0), "No valid reinforcement has been selected");
    // The three entry hexes, each once.
    EXPECT_EQ(hexes.Count(), 3u);
}

TEST_F(ReinforcementOrdersTest, EnemyPushedFromTheEntryHexToADrawnNeighbour)
{
    // From north clockwise the free neighbours are SE, S, SW and NW (SW held
    // by the enemy itself, which does not stop the move). A clock at t seeds
    // the private draws; the k-th candidate replaces the choice when its draw
    // is below 1/k.
    //  t = 100:  0.386 (< 1), 0.714 (>= 1/2), 0.689 (>= 1/3), 0.632 (>= 1/4): SE
    //  t = 1000: 0.864 (< 1), 0.242 (< 1/2), 0.142 (< 1/3), 0.248 (< 1/4): NW
    struct Row {
        std::int64_t time;
        HexSide side;
    };
    const Row rows[] = { { 100, HexSide::SouthEast }, { 1000, HexSide::NorthWest } };
    int moves = 0;
    for (const Row& row : rows) {
        SetUp();
        static std::int64_t s_time;
        s_time = row.time;
        SetTimeSource([] { return s_time; });
        SetRandomSeed(5);
        Add(3, 3, kGermanRifle);
        Add(3, 3, kGermanRifle);
        Add(Neighbour(3, 3, HexSide::North).column, Neighbour(3, 3, HexSide::North).row, kUsRifle);
        Add(Neighbour(3, 3, HexSide::NorthEast).column, Neighbour(3, 3, HexSide::NorthEast).row, kUsRifle);
        const HexPos held = Neighbour(3, 3, HexSide::SouthWest);
        Add(held.column, held.row, kGermanRifle);
        AddGroup(3, 3, { kUsRifle, kUsTruck });

        moves = 0;
        m_game.SetMoveCallback(std::make_unique<CountingCallback>(moves));
        HexPos entry;
        HexList hexes;
        ASSERT_EQ(Place(1, entry, hexes), "");
        const HexPos to = Neighbour(3, 3, row.side);
        const std::size_t before = to == held ? 1 : 0;
        EXPECT_EQ(Ids(to.column, to.row).size(), before + 2) << row.time;
        EXPECT_EQ(Ids(3, 3), (std::vector<std::uint32_t> { kUsRifle, kUsTruck })) << row.time;
        EXPECT_EQ(moves, 1);
        // The entry hex first, the hex the enemy went to after it.
        ASSERT_EQ(hexes.Count(), 2u);
        EXPECT_EQ(hexes.Head()->value, to);
        EXPECT_EQ(hexes.Last()->value, (HexPos { 3, 3 }));
        // The draws are private: the shared sequence is untouched.
        EXPECT_EQ(GlobalRandomGenerator().State(), 5u);
    }
}

TEST_F(ReinforcementOrdersTest, EnemyWithOneFreeNeighbourAlwaysGoesThere)
{
    Add(3, 3, kGermanRifle);
    for (HexSide side(1); side.IsValid(); side.Next()) {
        if (side != HexSide::South)
            Add(Neighbour(3, 3, side).column, Neighbour(3, 3, side).row, kUsRifle);
    }
    AddGroup(3, 3, { kUsRifle });
    ASSERT_EQ(Place(1), "");
    EXPECT_EQ(Ids(3, 4), std::vector<std::uint32_t> { kGermanRifle });
    EXPECT_EQ(Ids(3, 3), std::vector<std::uint32_t> { kUsRifle });
}

TEST_F(ReinforcementOrdersTest, ClearingTheEntryHexWithoutFreeNeighbourMovesNothing)
{
    Add(0, 0, kGermanRifle);
    for (HexSide side(1); side.IsValid(); side.Next()) {
        HexPos next;
        if (m_game.m_map.GetNeighbour(side, 0, 0, next))
            Add(next.column, next.row, kUsRifle);
    }
    HexList hexes;
    m_game.ClearEntryHex(0, 0, hexes);
    EXPECT_EQ(Ids(0, 0), std::vector<std::uint32_t> { kGermanRifle });
    EXPECT_TRUE(hexes.IsEmpty());
}

TEST_F(ReinforcementOrdersTest, CongestionSlowsLaterUnitsThroughTheEntryHex)
{
    // Divisor 5: each 5 points already entered this phase cost 10 points.
    AddGroup(3, 3, { kUsRifle, kUsRifle });
    AddGroup(3, 3, { kUsRifle });
    ASSERT_EQ(Place(1), "");
    ASSERT_EQ(Place(1), "");
    // Entered at the bottom in list order: 100, 100 - 10 x (5 / 5), then
    // 100 - 10 x (10 / 5).
    ASSERT_EQ(Ids(3, 3).size(), 3u);
    EXPECT_EQ(Unit(3, 3, 1).m_actionPoints, 100);
    EXPECT_EQ(Unit(3, 3, 2).m_actionPoints, 90);
    EXPECT_EQ(Unit(3, 3, 3).m_actionPoints, 80);
    // Overstacking at the entry hex is the group's affair, not refused.
    m_game.m_parameters.m_maxStackUnits = 1;
    AddGroup(3, 3, { kUsRifle });
    EXPECT_EQ(Place(1), "");
    EXPECT_EQ(Unit(3, 3, 4).m_actionPoints, 70);
}

TEST_F(ReinforcementOrdersTest, ScatteredGroupKeepsTheLandingRulesAtAnEnemyEntryHex)
{
    Add(3, 3, kGermanRifle);
    ReinforcementGroup& group = AddGroup(3, 3, { kUsRifle }, 0x2);
    group.m_scatterSteps = 0;
    ASSERT_EQ(Place(1), "");
    // Not pushed away; the unit cannot land on the enemy and is lost.
    EXPECT_EQ(Ids(3, 3), std::vector<std::uint32_t> { kGermanRifle });
    EXPECT_EQ(m_game.m_eliminated.Count(), 1u);
    EXPECT_TRUE(m_game.m_reinforcements.IsEmpty());
}

// ---------------------------------------------------------------------------
// Exit and removal

TEST_F(ReinforcementOrdersTest, ExitRefusalsInOrder)
{
    struct Row {
        const char* text;
        int x;
        int y;
        std::vector<int> positions;
    };
    // At (0, 3): a truck with its rifle, a rifle; (4, 4) inside the map;
    // (7, 0) the enemy's corner.
    const Row rows[] = {
        { "No units have been selected to remove", 7, 0, {} },
        { "No units have been selected to remove", 0, 3, { 4 } },
        { "No units have been selected to remove", 0, 3, { 3, 3 } },
        { "Cannot remove units from other side", 7, 0, { 1 } },
        { "Units are not on a valid exit hex", 4, 4, { 1 } },
        { "Must include passenger with selection", 0, 3, { 1 } },
        { "Must include carrier with selection", 0, 3, { 2 } },
        { "Must include passenger with selection", 0, 3, { 2, 1 } },
        { "", 0, 3, { 1, 2 } },
    };
    for (const Row& row : rows) {
        SetUp();
        AddLoaded(0, 3, kUsTruck, kUsRifle);
        Add(0, 3, kUsRifle);
        Add(4, 4, kUsRifle);
        Add(7, 0, kGermanRifle);
        m_game.SnapshotHex(0, 3);
        EXPECT_EQ(Remove(row.x, row.y, row.positions), row.text) << row.text;
        const bool exited = *row.text == 0;
        EXPECT_EQ(m_game.m_exited.Count(), exited ? 2u : 0u) << row.text;
        EXPECT_EQ(Ids(0, 3).size(), exited ? 1u : 3u) << row.text;
        // Exited units are gone for good: the undo records go with them.
        EXPECT_EQ(m_game.m_snapshots.empty(), exited) << row.text;
    }
}

TEST_F(ReinforcementOrdersTest, ExitAtTheMapEdgeLowersTheExitObjective)
{
    Type(kUsRifle)->m_unitValue = 3;
    Add(7, 5, kUsRifle).m_strength = 4;
    Add(7, 5, kUsRifle).m_strength = 2;
    m_game.m_objectives.At(7, 5) = ObjectiveCell { -20, 10 };
    EXPECT_EQ(Remove(7, 5, { 0 }), "");
    // 2 points of value 3 leave: -20 - 6.
    EXPECT_EQ(m_game.m_objectives.At(7, 5).value, -26);
    ASSERT_EQ(m_game.m_exited.Count(), 1u);
    EXPECT_EQ(m_game.m_exited.Head()->value.m_strength, 2);
    EXPECT_EQ(Ids(7, 5).size(), 1u);
}

TEST_F(ReinforcementOrdersTest, EveryMapEdgeHexIsAnExitHexForBothSides)
{
    for (int x = -1; x <= 8; ++x) {
        for (int y = -1; y <= 8; ++y) {
            const bool onMap = x >= 0 && x < 8 && y >= 0 && y < 8;
            const bool edge = x == 0 || x == 7 || y == 0 || y == 7;
            EXPECT_EQ(m_game.IsExitHex(x, y), onMap && edge) << x << ", " << y;
        }
    }
    Add(0, 4, kGermanRifle);
    m_game.m_map.SetSide(1);
    EXPECT_EQ(Remove(0, 4, { 1 }), "");
}

TEST_F(ReinforcementOrdersTest, EliminatingAHexTakesEveryUnitWithItsLoss)
{
    AddLoaded(2, 2, kUsTruck, kUsRifle);
    Add(2, 2, kUsRifle);
    m_game.SnapshotHex(2, 2);
    m_game.EliminateHexUnits(2, 2);
    EXPECT_TRUE(m_game.m_stacks.At(2, 2).IsEmpty());
    EXPECT_EQ(m_game.m_eliminated.Count(), 3u);
    EXPECT_EQ(m_game.m_losses[static_cast<std::size_t>(Type(kUsRifle)->m_index)], 10);
    EXPECT_TRUE(m_game.m_snapshots.empty());
    m_game.EliminateHexUnits(-1, 2);
}

// ---------------------------------------------------------------------------
// Set-up placement

TEST_F(ReinforcementOrdersTest, SetupPlacementRefusalsInOrder)
{
    struct Row {
        const char* text;
        std::vector<int> positions;
        std::function<void()> setUp;
    };
    // From (1, 1): a truck with its rifle, a rifle; to (5, 6), far away.
    const Row rows[] = {
        { "Cannot mix units from different sides in same hex", { 1 }, [this] { Add(5, 6, kGermanRifle); } },
        { "No units have been selected to move", { 9 }, [] {} },
        { "Must include passenger with selection", { 1, 3 }, [] {} },
        { "Must include carrier with selection", { 2 }, [] {} },
        // Leaders and passengers do not count: 2 + 3 units.
        { "Movement exceeds maximum counter limitation", { 1, 2, 3 },
            [this] {
                Add(5, 6, kUsRifle);
                Add(5, 6, kUsRifle);
                Add(5, 6, kUsRifle);
                Add(5, 6, kUsBattalionCommander);
            } },
        { "Movement exceeds maximum strength point limitation", { 1, 2, 3 },
            [this] { Add(5, 6, kUsSherman).m_strength = 21; } },
        { "", { 1, 2, 3 }, [this] { Add(5, 6, kUsSherman).m_strength = 20; } },
    };
    for (const Row& row : rows) {
        SetUp();
        AddLoaded(1, 1, kUsTruck, kUsRifle);
        Add(1, 1, kUsRifle);
        row.setUp();
        std::vector<int> positions = row.positions;
        const std::vector<std::uint32_t> destination = Ids(5, 6);
        EXPECT_EQ(Setup(1, 1, 5, 6, positions), row.text) << row.text;
        if (*row.text) {
            EXPECT_EQ(Ids(1, 1).size(), 3u) << row.text;
            EXPECT_EQ(Ids(5, 6), destination) << row.text;
        }
    }
    // The success: on top of the destination, no points spent, positions back.
    const std::vector<std::uint32_t> moved { kUsTruck, kUsRifle, kUsRifle, kUsSherman };
    EXPECT_EQ(Ids(5, 6), moved);
    EXPECT_TRUE(m_game.m_stacks.At(1, 1).IsEmpty());
    EXPECT_EQ(Unit(5, 6, 1).m_actionPoints, 100);
}

TEST_F(ReinforcementOrdersTest, SetupPlacementReturnsNewPositionsAndCanBeUndone)
{
    Add(1, 1, kUsRifle);
    AddLoaded(1, 1, kUsTruck, kUsRifle);
    Add(6, 6, kUsSherman);
    std::vector<int> positions { 2, 3 };
    ASSERT_EQ(Setup(1, 1, 6, 6, positions), "");
    EXPECT_EQ(positions, (std::vector<int> { 1, 2 }));
    EXPECT_EQ(Ids(6, 6), (std::vector<std::uint32_t> { kUsTruck, kUsRifle, kUsSherman }));
    EXPECT_NE(Unit(6, 6, 2).m_status & kUnitCarried, 0u);
    // Into its own hex: nothing counts twice.
    m_game.m_parameters.m_maxStackUnits = 2;
    EXPECT_EQ(Setup(6, 6, 6, 6, { 3 }), "");
    EXPECT_EQ(Ids(6, 6), (std::vector<std::uint32_t> { kUsSherman, kUsTruck, kUsRifle }));
    // Off the map.
    EXPECT_EQ(Setup(6, 6, 8, 6, { 1 }), "Unit placement is out of bounds");

    m_game.UndoMoves();
    m_game.ClearUndo();
    EXPECT_EQ(Ids(1, 1), (std::vector<std::uint32_t> { kUsRifle, kUsTruck, kUsRifle }));
    EXPECT_EQ(Ids(6, 6), std::vector<std::uint32_t> { kUsSherman });
}

// ---------------------------------------------------------------------------
// Cave transfer

class CaveTransferTest : public ReinforcementOrdersTest {
protected:
    void SetUp() override
    {
        ReinforcementOrdersTest::SetUp();
        m_game.m_map.SetSide(1);
        for (HexPos cave : { HexPos { 1, 4 }, HexPos { 4, 4 }, HexPos { 5, 4 }, HexPos { 1, 6 } })
            m_game.m_hexFlags.At(cave.column, cave.row) |= CGameData::kHexCave;
        ASSERT_EQ(HexDistance(1, 4, 4, 4), 3);
        ASSERT_EQ(HexDistance(1, 4, 5, 4), 4);
        m_moves = 0;
        m_game.SetMoveCallback(std::make_unique<CountingCallback>(m_moves));
    }
    int m_moves = 0;
};

TEST_F(CaveTransferTest, UnitsPassUpToThreeHexesAndArriveHidden)
{
    Add(1, 4, kJapaneseRifle);
    Add(1, 4, kJapaneseRifle);
    m_game.m_lastRefusal = "earlier";
    EXPECT_FALSE(Cave(1, 4, 5, 4, { 1 }));
    std::vector<int> positions { 2 };
    ASSERT_TRUE(Cave(1, 4, 4, 4, positions));
    EXPECT_EQ(positions, std::vector<int> { 1 });
    EXPECT_EQ(m_moves, 0);
    EXPECT_STREQ(m_game.m_lastRefusal, "earlier");
    EXPECT_EQ(Ids(4, 4).size(), 1u);
    EXPECT_EQ(Ids(1, 4).size(), 1u);
    EXPECT_NE(Unit(4, 4, 1).m_status & kUnitHidden, 0u);
    EXPECT_EQ(Unit(4, 4, 1).m_actionPoints, 0);
    EXPECT_EQ(m_game.m_inMove, 0);
    // The moved unit has spent its points; an ordinary move takes it on.
    EXPECT_FALSE(Cave(4, 4, 1, 4, { 1 }));
    // It can be taken back as a move can.
    m_game.UndoMoves();
    EXPECT_EQ(Ids(1, 4).size(), 2u);
    EXPECT_TRUE(m_game.m_stacks.At(4, 4).IsEmpty());
}

TEST_F(CaveTransferTest, EveryConditionMustHold)
{
    struct Row {
        const char* name;
        std::function<void()> setUp;
        int toX = 4;
        int toY = 4;
        std::vector<int> positions { 1 };
    };
    const Row rows[] = {
        { "passes", [] {} },
        { "side not to move", [this] { m_game.m_map.SetSide(0); } },
        { "not Japanese", [this] { Unit(1, 4, 1).m_type = Type(kGermanRifle); } },
        { "enemy at the destination", [this] { Add(4, 4, kUsRifle); } },
        { "own units at the destination", [this] { Add(4, 4, kJapaneseRifle); } },
        { "no cave at the source", [this] { m_game.m_hexFlags.At(1, 4) = 0; } },
        { "no cave at the destination", [this] { m_game.m_hexFlags.At(4, 4) = 0; } },
        { "too far", [] {}, 5, 4 },
        { "the same hex", [] {}, 1, 4 },
        { "action points spent", [this] { Unit(1, 4, 1).m_actionPoints = 99; } },
        { "fixed", [this] { Unit(1, 4, 1).m_status |= kUnitFixed; } },
        { "not on foot", [this] { Type(kJapaneseRifle)->m_moveFlags = kMoveDoubleTime & ~kMoveFoot; } },
        { "no selection", [] {}, 4, 4, {} },
        { "past the stack", [] {}, 4, 4, { 4 } },
        { "carrier without its passenger", [] {}, 4, 4, { 2 } },
        { "carrier with its passenger, the carrier not on foot", [] {}, 4, 4, { 2, 3 } },
        { "passenger without its carrier", [] {}, 4, 4, { 3 } },
    };
    for (const Row& row : rows) {
        SetUp();
        Add(1, 4, kJapaneseRifle);
        AddLoaded(1, 4, kJapaneseTruck, kJapaneseRifle);
        row.setUp();
        const bool passes
            = std::string(row.name) == "passes" || std::string(row.name) == "own units at the destination";
        std::vector<int> positions = row.positions;
        m_game.m_lastRefusal = "earlier";
        EXPECT_EQ(Cave(1, 4, row.toX, row.toY, positions), passes) << row.name;
        EXPECT_STREQ(m_game.m_lastRefusal, "earlier") << row.name;
        EXPECT_EQ(Ids(1, 4).size(), passes ? 2u : 3u) << row.name;
    }
}

TEST_F(CaveTransferTest, AnArmedUnitSpotsTheEnemiesNextToTheDestination)
{
    ASSERT_GT(CGameWeapons::GetMaximumRange(Type(kJapaneseRifle)), 0);
    m_game.m_opponentHidden = true;
    const HexPos enemy = Neighbour(4, 4, HexSide::South);
    Add(enemy.column, enemy.row, kUsRifle);
    Add(1, 4, kJapaneseRifle);
    ASSERT_TRUE(Cave(1, 4, 4, 4, { 1 }));
    EXPECT_EQ(m_game.GetContactLevel(enemy.column, enemy.row, 1), 1);
}

// ---------------------------------------------------------------------------
// Banzai attack

class BanzaiTest : public ReinforcementOrdersTest {
protected:
    void SetUp() override
    {
        ReinforcementOrdersTest::SetUp();
        m_game.m_map.SetSide(1);
        SetRandomSeed(kSeed);
    }
    PlacedUnit& AddLeader(int rating, int node = 11)
    {
        PlacedUnit& leader = AddInOrg(kX, kY, kJapaneseLeader, node);
        leader.m_rating = rating;
        leader.m_strength = 2;
        return leader;
    }
    static constexpr std::uint32_t kSeed = 4242;
    static constexpr int kX = 3;
    static constexpr int kY = 3;
};

TEST_F(BanzaiTest, RefusalsInOrder)
{
    struct Row {
        const char* text;
        std::function<void()> setUp;
        std::vector<int> positions { 1 };
    };
    // Each row carries the faults of the rows after it too.
    const std::uint32_t later = kUnitBanzai | kUnitFatigued | kUnitTriedBanzai;
    const Row rows[] = {
        { "Banzai attack may only be done in Axis turn",
            [this] {
                m_game.m_map.SetSide(0);
                Unit(kX, kY, 1).m_type = Type(kJapaneseRifle);
            },
            {} },
        { "No units selected to Banzai", [] {}, {} },
        { "No units selected to Banzai", [] {}, { 2 } },
        { "No units selected to Banzai", [] {}, { 1, 0 } },
        { "Only leaders can initiate Banzai attack",
            [&, this] {
                Unit(kX, kY, 1).m_type = Type(kJapaneseRifle);
                Unit(kX, kY, 1).m_status = later;
            } },
        { "Leader is already committed to Banzai attack", [&, this] { Unit(kX, kY, 1).m_status = later; } },
        { "Fatigued leader cannot initiate Banzai attack",
            [this] {
                Unit(kX, kY, 1).m_status = kUnitFatigued | kUnitTriedBanzai;
                Unit(kX, kY, 1).m_type = Type(kUsBattalionCommander);
            } },
        { "Only Japanese leaders can initiate Banzai attack",
            [this] {
                Unit(kX, kY, 1).m_status = kUnitTriedBanzai;
                Unit(kX, kY, 1).m_type = Type(kUsBattalionCommander);
                Unit(kX, kY, 1).m_actionPoints = 19;
            } },
        { "Leader does not have enough Action Points",
            [this] {
                Unit(kX, kY, 1).m_status = kUnitTriedBanzai;
                Unit(kX, kY, 1).m_actionPoints = 19;
            } },
        { "Leader has already tried Banzai attack this turn",
            [this] {
                Unit(kX, kY, 1).m_status = kUnitTriedBanzai;
                Unit(kX, kY, 1).m_actionPoints = 20;
                Unit(kX, kY, 1).m_rating = 0;
            } },
        { "Leader fails morale check", [this] { Unit(kX, kY, 1).m_rating = 0; } },
        { "", [this] { Unit(kX, kY, 1).m_actionPoints = 20; } },
    };
    for (const Row& row : rows) {
        SetUp();
        AddLeader(10);
        row.setUp();
        const std::uint32_t before = Unit(kX, kY, 1).m_status;
        m_game.SnapshotHex(kX, kY);
        EXPECT_EQ(Banzai(kX, kY, row.positions), row.text) << row.text;
        const std::string text = row.text;
        const bool rolled = text.empty() || text == "Leader fails morale check";
        // Only the morale check draws, and only it marks the leader.
        EXPECT_EQ(GlobalRandomGenerator().State() != kSeed, rolled) << row.text;
        EXPECT_EQ(m_game.m_snapshots.empty(), rolled) << row.text;
        const std::uint32_t expected = text.empty() ? before | kUnitBanzai | kUnitDoubleTime | kUnitFatigued
            : rolled                                ? before | kUnitTriedBanzai
                                                    : before;
        EXPECT_EQ(Unit(kX, kY, 1).m_status, expected) << row.text;
    }
}

TEST_F(BanzaiTest, RatingTenNeverFailsAndRatingZeroAlwaysFails)
{
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        SetUp();
        SetRandomSeed(seed * 7919u);
        AddLeader(10);
        AddLeader(0, 12);
        EXPECT_EQ(Banzai(kX, kY, { 2 }), "Leader fails morale check") << seed;
        EXPECT_EQ(Banzai(kX, kY, { 1 }), "") << seed;
    }
}

TEST_F(BanzaiTest, SecondLeaderFailingCommitsNobody)
{
    AddLeader(10);
    AddLeader(0, 12);
    AddInOrg(kX, kY, kJapaneseRifle, 12);
    EXPECT_EQ(Banzai(kX, kY, { 1, 2 }), "Leader fails morale check");
    // Two draws: one for each leader.
    CRandomGenerator expected(kSeed);
    expected.Next();
    expected.Next();
    EXPECT_EQ(GlobalRandomGenerator().State(), expected.State());
    EXPECT_EQ(Unit(kX, kY, 1).m_status, 0u);
    EXPECT_EQ(Unit(kX, kY, 2).m_status, kUnitTriedBanzai);
    EXPECT_EQ(Unit(kX, kY, 3).m_status, 0u);
}

TEST_F(BanzaiTest, CommitReachesTheFormationWithinTheLeadersStrength)
{
    constexpr std::uint32_t kCommitted = kUnitBanzai | kUnitDoubleTime | kUnitFatigued;
    PlacedUnit& leader = AddLeader(10);
    leader.m_strength = 2;
    ASSERT_EQ(HexDistance(kX, kY, 3, 1), 2);
    ASSERT_EQ(HexDistance(kX, kY, 3, 0), 3);
    ASSERT_EQ(HexDistance(kX, kY, 5, 5), 3);
    ASSERT_EQ(HexDistance(kX, kY, 5, 4), 2);
    struct Row {
        const char* name;
        int x;
        int y;
        std::uint32_t type;
        int node;
        std::uint32_t status;
        bool joins;
        int actionPoints = 100;
    };
    // The leader's formation is the first company (node 10).
    const Row rows[] = {
        { "rifles beside the leader", kX, kY, kJapaneseRifle, 12, 0, true },
        { "rifles two hexes off", 3, 1, kJapaneseRifle, 12, 0, true },
        { "rifles three hexes off", 3, 0, kJapaneseRifle, 12, 0, false },
        // A corner of the square window, three hexes off.
        { "rifles three hexes off in the window", 5, 5, kJapaneseRifle, 12, 0, false },
        { "rifles two hexes off in the window's corner row", 5, 4, kJapaneseRifle, 12, 0, true },
        { "category five", 3, 5, kJapaneseTeam, 12, 0, true },
        { "category one", 3, 5, kJapaneseGun, 12, 0, false },
        { "the other company", kX, kY, kJapaneseRifle, 21, 0, false },
        { "the battalion's node above", kX, kY, kJapaneseRifle, 1, 0, false },
        { "no node", kX, kY, kJapaneseRifle, -1, 0, false },
        { "fatigued", kX, kY, kJapaneseRifle, 12, kUnitFatigued, false },
        { "disrupted", kX, kY, kJapaneseRifle, 12, kUnitDisrupted, false },
        { "fixed", kX, kY, kJapaneseRifle, 12, kUnitFixed, false },
        { "19 action points", kX, kY, kJapaneseRifle, 12, 0, false, 19 },
        { "20 action points", kX, kY, kJapaneseRifle, 12, 0, true, 20 },
    };
    std::vector<std::pair<const Row*, PlacedUnit*>> units;
    for (const Row& row : rows) {
        PlacedUnit& unit = AddInOrg(row.x, row.y, row.type, row.node, row.status);
        unit.m_actionPoints = row.actionPoints;
        units.emplace_back(&row, &unit);
    }
    // A rifle without an assault factor, one the type bars, and a passenger.
    PlacedUnit& noFactor = AddInOrg(kX, kY, kJapaneseUnarmed, 12);
    PlacedUnit& barred = AddInOrg(kX, kY, kJapaneseBarred, 12);
    AddInOrg(kX, kY, kJapaneseTruck, 12, kUnitCarrying);
    PlacedUnit& passenger = AddInOrg(kX, kY, kJapaneseRifle, 12, kUnitCarried);

    ASSERT_EQ(Banzai(kX, kY, { 1 }), "");
    EXPECT_EQ(leader.m_status, kCommitted);
    for (const auto& [row, unit] : units)
        EXPECT_EQ(unit->m_status, row->status | (row->joins ? kCommitted : 0u)) << row->name;
    EXPECT_EQ(noFactor.m_status, 0u);
    EXPECT_EQ(barred.m_status, 0u);
    EXPECT_EQ(passenger.m_status, kUnitCarried);
    // A committed leader cannot start again.
    EXPECT_EQ(Banzai(kX, kY, { 1 }), "Leader is already committed to Banzai attack");
}

TEST_F(BanzaiTest, LeaderWithoutFormationCommitsNothingAndSucceeds)
{
    for (int node : { -1, 30 }) {
        SetUp();
        AddLeader(10, node);
        PlacedUnit& rifle = AddInOrg(kX, kY, kJapaneseRifle, 12);
        EXPECT_EQ(Banzai(kX, kY, { 1 }), "") << node;
        EXPECT_EQ(Unit(kX, kY, 1).m_status, 0u) << node;
        EXPECT_EQ(rifle.m_status, 0u) << node;
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Determinism

class PlacementDeterminismTest : public BanzaiTest {
protected:
    // Every order of this family that draws, in one battle: the answers,
    // every hex's state, the lists and the generator's state.
    std::string Play(std::uint32_t seed)
    {
        m_game.ResetBattle();
        SetUp();
        SetTimeSource([] { return std::int64_t { 1000 }; });
        SetRandomSeed(seed);
        std::ostringstream report;

        m_game.m_map.SetSide(0);
        Add(3, 3, kGermanRifle);
        AddGroup(3, 3, { kUsRifle, kUsTruck });
        AddGroup(5, 5, { kUsRifle, kUsRifle, kUsRifle }, 0x1).m_scatterSteps = 3;
        report << Place(1) << '|' << Place(1) << '|';
        report << Remove(0, 0, { 1 }) << '|';

        m_game.m_map.SetSide(1);
        AddInOrg(6, 2, kJapaneseLeader, 11).m_rating = 5;
        AddInOrg(6, 2, kJapaneseLeader, 11).m_rating = 5;
        AddInOrg(6, 3, kJapaneseRifle, 12);
        for (int i = 0; i < 2; ++i)
            report << Banzai(6, 2, { 1, 2 }) << '|';
        m_game.m_hexFlags.At(6, 3) |= CGameData::kHexCave;
        m_game.m_hexFlags.At(6, 5) |= CGameData::kHexCave;
        report << Cave(6, 3, 6, 5, { 1 }) << '|';

        for (int x = 0; x < 8; ++x) {
            for (int y = 0; y < 8; ++y) {
                m_game.WriteHexState(report, x, y);
                report << '\n';
            }
        }
        report << m_game.m_eliminated.Count() << ' ' << m_game.m_exited.Count() << ' '
               << GlobalRandomGenerator().State();
        return report.str();
    }
};

TEST_F(PlacementDeterminismTest, SameSeedAndCallsGiveTheSameBattle)
{
    const std::string first = Play(77);
    EXPECT_EQ(Play(77), first);
}
