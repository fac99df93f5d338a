// The five computer-opponent blocks that a saved battle carries after its
// trailer: orders, objective lists, air attacks left, objective scores, and
// who plays each side.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/ai/AiGame.h"

namespace {

// The blocks of the known state below, one string per block.
struct Blocks {
    std::string orders = "4 110 1 3 4 5 5\n15 -1 3 1 1 -1 -1\n-1\n";
    std::string objectives = "1 2 3 4 -1 -1\n5 1 -1 -1\n";
    std::string attacks = "4\n";
    std::string scores = "3 -2 9999\n";
    std::string modes = "1 0\n1 0 2 1\n";

    std::string Text() const { return orders + objectives + attacks + scores + modes; }
};

class AiBattleBlocksTest : public AiGameTest {
protected:
    // Units of both sides and objectives of both; side 0 to move.
    AiScenario Scenario() const
    {
        using namespace demo;
        AiScenario scenario;
        scenario.Unit(1, 2, kUsRifle, 112).Unit(5, 1, kDeGrenadier, 213);
        scenario.Objective(1, 2, 10, kUsNation).Objective(3, 4, 10, kUsNation).Objective(5, 1, 10, kDeNation);
        return scenario;
    }

    // The known state: two orders (one copied down from a company, one
    // without ordering node), both objective lists, attacks, scores, modes
    // and fog bytes that differ per side.
    void SetKnownState()
    {
        Load(Scenario());
        CGame& game = Game();
        AiOrder order;
        order.orderingNode = Node(110);
        order.SetKind(1);
        order.SetTarget(3, 4);
        order.second = HexPos { 5, 5 };
        game.SetOrderTree(Node(112), order);
        order.orderingNode = nullptr;
        order.SetKind(3);
        order.SetTarget(1, 1);
        order.second = HexPos { -1, -1 };
        game.SetOrderTree(Node(213), order);
        game.BuildObjectiveList(0);
        game.BuildObjectiveList(1);
        game.m_attacksLeft = 4;
        game.m_objectiveScores.Append(3);
        game.m_objectiveScores.Append(-2);
        game.m_planFlag[0] = 1;
        game.m_aiMode[0] = kAiPlanningComputer;
        game.m_aiMode[1] = kAiScenarioComputer;
        game.m_aiFog[0] = 1;
        game.m_aiFog[1] = 0;
    }

    std::string BattlePart()
    {
        std::ostringstream out;
        EXPECT_TRUE(Game().CGameData::WriteBattleFile(out));
        return out.str();
    }

    bool Read(CGame& game, const std::string& text)
    {
        std::istringstream in(text);
        return game.ReadBattleFile(in, true);
    }

    // Nothing of a battle is left, and every computer-opponent value is as
    // a reset leaves it.
    void ExpectEmptyBattle(const CGame& game)
    {
        for (int x = 0; x < game.m_stacks.Width(); ++x)
            for (int y = 0; y < game.m_stacks.Height(); ++y)
                EXPECT_TRUE(game.m_stacks.At(x, y).IsEmpty()) << x << "," << y;
        for (const AiOrder& order : game.m_orders) {
            EXPECT_EQ(order.kind, kAiOrderHold);
            EXPECT_EQ(order.target, (HexPos { -1, -1 }));
        }
        EXPECT_TRUE(game.GetObjectiveList(0).IsEmpty());
        EXPECT_TRUE(game.GetObjectiveList(1).IsEmpty());
        EXPECT_EQ(game.m_attacksLeft, 0);
        EXPECT_TRUE(game.m_objectiveScores.IsEmpty());
        for (int side = 0; side < 2; ++side) {
            EXPECT_EQ(game.m_aiMode[side], kAiManual);
            EXPECT_EQ(game.m_aiFog[side], 0);
            EXPECT_EQ(game.m_planFlag[side], 0u);
        }
        EXPECT_EQ(game.m_sweep, (HexPos { 0, 0 }));
    }
};

} // namespace

TEST_F(AiBattleBlocksTest, BlocksFollowTheTrailerInChainOrder)
{
    SetKnownState();
    const std::string battle = BattlePart();
    EXPECT_EQ(Saved(), battle + Blocks().Text());

    // An empty state: "-1" alone, "-1 -1" per list, "9999" alone.
    m_game.reset();
    Load(Scenario());
    EXPECT_EQ(Saved(), BattlePart() + "-1\n-1 -1\n-1 -1\n0\n9999\n0 0\n0 0 0 0\n");
}

TEST_F(AiBattleBlocksTest, ASavedBattleReadsBackWhole)
{
    SetKnownState();
    const std::string saved = Saved();
    CGame other;
    ASSERT_TRUE(Read(other, saved)) << other.m_battleReadError.c_str();
    std::ostringstream again;
    ASSERT_TRUE(other.WriteBattleFile(again));
    EXPECT_EQ(again.str(), saved);

    EXPECT_EQ(other.GetOrder(std::as_const(other.m_orgTree).FindNode(112)).orderingNode,
        std::as_const(other.m_orgTree).FindNode(110));
    EXPECT_EQ(other.GetOrder(std::as_const(other.m_orgTree).FindNode(213)).orderingNode, nullptr);
    EXPECT_EQ(other.m_aiMode[0], kAiPlanningComputer);
    EXPECT_EQ(other.m_aiFog[0], 1);
    EXPECT_EQ(other.m_stepFlag, 1);
    EXPECT_EQ(other.m_sweep, (HexPos { 0, 0 }));
    // Side 0 to move and computer-run: the enemy distances are rebuilt.
    EXPECT_EQ(other.GetEnemyDistance(5, 1), 0);
    EXPECT_EQ(other.GetEnemyDistance(5, 3), 2);
}

TEST_F(AiBattleBlocksTest, TheTextAfterTheBlocksIsLeftForTheFrame)
{
    SetKnownState();
    std::istringstream in(Saved() + "The frame's own text\nsecond line\n");
    CGame other;
    ASSERT_TRUE(other.ReadBattleFile(in, true)) << other.m_battleReadError.c_str();
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "") << "the last value's line end stays in the stream";
    std::getline(in, line);
    EXPECT_EQ(line, "The frame's own text");
    std::getline(in, line);
    EXPECT_EQ(line, "second line");
}

TEST_F(AiBattleBlocksTest, FogValuesOtherThanZeroReadAsOneAndModesAsStored)
{
    Load(Scenario());
    const std::string battle = BattlePart();
    Blocks blocks;
    blocks.modes = "1 1\n1 7 0 -3\n";
    CGame other;
    ASSERT_TRUE(Read(other, battle + blocks.Text())) << other.m_battleReadError.c_str();
    EXPECT_EQ(other.m_aiMode[1], kAiScenarioComputer);
    EXPECT_EQ(other.m_aiMode[0], kAiManual);
    EXPECT_EQ(other.m_aiFog[1], 1);
    EXPECT_EQ(other.m_aiFog[0], 1);
    EXPECT_EQ(other.m_planFlag[1], 1u);
    // Side 0 to move and manual: no grid.
    EXPECT_EQ(other.GetEnemyDistance(5, 1), 12);
    // A kind-2 line is a hold, whatever hexes it names.
    blocks.orders = "4 110 2 3 4 5 5\n-1\n";
    ASSERT_TRUE(Read(other, battle + blocks.Text())) << other.m_battleReadError.c_str();
    const AiOrder hold = other.GetOrder(std::as_const(other.m_orgTree).FindNode(112));
    EXPECT_EQ(hold.kind, kAiOrderHold);
    EXPECT_EQ(hold.target, (HexPos { -1, -1 }));
    EXPECT_EQ(hold.second, (HexPos { -1, -1 }));
    EXPECT_EQ(hold.orderingNode, std::as_const(other.m_orgTree).FindNode(110));
    // An ordering node id that names no node is none.
    blocks.orders = "4 999 1 3 4 -1 -1\n-1\n";
    ASSERT_TRUE(Read(other, battle + blocks.Text())) << other.m_battleReadError.c_str();
    EXPECT_EQ(other.GetOrder(std::as_const(other.m_orgTree).FindNode(112)).orderingNode, nullptr);
}

TEST_F(AiBattleBlocksTest, ADamagedBlockFailsIntoAnEmptyBattle)
{
    Load(Scenario());
    const std::string battle = BattlePart();
    std::string manyScores;
    for (int i = 0; i < 8 * 6 + 1; ++i)
        manyScores += "1 ";
    std::string manyHexes;
    for (int i = 0; i < 8 * 6 + 1; ++i)
        manyHexes += "1 1 ";
    struct Case {
        const char* what;
        std::string Blocks::*block;
        std::string text;
        bool cut; // the text ends with this block
    };
    const Case cases[] = {
        { "index past the nodes", &Blocks::orders, "5000 110 1 3 4 5 5\n-1\n", false },
        { "index the node count", &Blocks::orders, "17 110 1 3 4 5 5\n-1\n", false },
        { "negative index", &Blocks::orders, "-2 110 1 3 4 5 5\n-1\n", false },
        { "kind 7", &Blocks::orders, "4 110 7 3 4 5 5\n-1\n", false },
        { "kind -1", &Blocks::orders, "4 110 -1 3 4 5 5\n-1\n", false },
        { "kind 3 without target", &Blocks::orders, "4 110 3 -1 -1 -1 -1\n-1\n", false },
        { "target off the map", &Blocks::orders, "4 110 1 8 0 -1 -1\n-1\n", false },
        { "second hex off the map", &Blocks::orders, "4 110 1 3 4 3 6\n-1\n", false },
        { "second hex half set", &Blocks::orders, "4 110 1 3 4 -1 2\n-1\n", false },
        { "orders cut", &Blocks::orders, "4 110 1 3", true },
        { "orders without end", &Blocks::orders, "4 110 1 3 4 5 5\n", true },
        { "objective off the map", &Blocks::objectives, "1 2 3 40 -1 -1\n-1 -1\n", false },
        { "objective hex negative", &Blocks::objectives, "-2 2 -1 -1\n-1 -1\n", false },
        { "more objectives than hexes", &Blocks::objectives, manyHexes + "-1 -1\n-1 -1\n", false },
        { "objectives cut", &Blocks::objectives, "1 2 3 4 -1 -1\n5", true },
        { "attacks missing", &Blocks::attacks, "", true },
        { "attacks negative", &Blocks::attacks, "-1\n", false },
        { "scores without end", &Blocks::scores, "3 -2\n", true },
        { "more scores than hexes", &Blocks::scores, manyScores + "9999\n", false },
        { "mode 3", &Blocks::modes, "1 0\n3 0 2 1\n", false },
        { "mode -1", &Blocks::modes, "1 0\n0 0 -1 0\n", false },
        { "modes cut", &Blocks::modes, "1 0\n2 1 1", true },
        { "modes missing", &Blocks::modes, "", true },
    };
    std::string Blocks::*const order[]
        = { &Blocks::orders, &Blocks::objectives, &Blocks::attacks, &Blocks::scores, &Blocks::modes };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A whole battle in play first, so that the reset shows.
        m_game.reset();
        SetKnownState();
        Blocks blocks;
        blocks.*c.block = c.text;
        std::string text = battle;
        for (std::string Blocks::*block : order) {
            text += blocks.*block;
            if (c.cut && block == c.block)
                break;
        }
        EXPECT_FALSE(Read(Game(), text));
        const char* error = c.block == &Blocks::orders ? "Error reading A/I orders"
            : c.block == &Blocks::objectives           ? "Error reading A/I objectives"
            : c.block == &Blocks::attacks              ? "Error reading A/I air attacks"
            : c.block == &Blocks::scores               ? "Error reading A/I objective scores"
                                                       : "Error reading A/I modes";
        EXPECT_EQ(Game().m_battleReadError.str(), error);
        ExpectEmptyBattle(Game());
    }
}

TEST_F(AiBattleBlocksTest, AFailedBattlePartLeavesNoComputerState)
{
    SetKnownState();
    ASSERT_FALSE(Read(Game(), "10\nbroken\n"));
    ExpectEmptyBattle(Game());
    // A scenario has no blocks: read as a saved battle, it fails.
    m_game.reset();
    SetKnownState();
    ASSERT_FALSE(Read(Game(), Scenario().Text()));
    ExpectEmptyBattle(Game());
}

TEST_F(AiBattleBlocksTest, AReloadKeepsTheBlocksAndRebuildsTheGrid)
{
    SetKnownState();
    const std::string saved = Saved();
    ASSERT_EQ(Game().ReloadKeepingBattle().str(), "");
    EXPECT_EQ(Saved(), saved);
    EXPECT_EQ(Game().GetEnemyDistance(5, 1), 0);
    EXPECT_EQ(Game().GetEnemyDistance(4, 1), 1);
}

// The demo battle with both sides run by the computer, prepared for its
// first phase, saved, read back and saved again.
TEST(DemoBattleBlocksTest, DemoBattleWithBothSidesComputerRunSavesAlike)
{
    ScopedCurrentDir inData(std::filesystem::path(VL_DATA_TOOL).parent_path().parent_path() / "data");
    CGame game;
    std::ifstream scenario("demo.scn", std::ios::binary);
    ASSERT_TRUE(game.CGameData::ReadBattleFile(scenario, true)) << game.m_battleReadError.c_str();
    for (int side = 0; side < 2; ++side) {
        game.m_aiMode[side] = kAiPlanningComputer;
        game.BuildObjectiveList(side);
    }
    game.m_aiFog[1] = 1;
    ASSERT_FALSE(game.GetObjectiveList(game.m_map.GetSide()).IsEmpty());
    game.RebuildEnemyDistanceGrid();
    game.PrepareMoves();
    AiOrder order;
    order.SetKind(0);
    order.SetTarget(20, 14);
    game.SetOrderTree(std::as_const(game.m_orgTree).FindNode(100), order);

    std::ostringstream first;
    ASSERT_TRUE(game.WriteBattleFile(first));
    CGame other;
    std::istringstream in(first.str());
    ASSERT_TRUE(other.ReadBattleFile(in, true)) << other.m_battleReadError.c_str();
    std::ostringstream second;
    ASSERT_TRUE(other.WriteBattleFile(second));
    EXPECT_EQ(second.str(), first.str());
    const int side = other.m_map.GetSide();
    EXPECT_EQ(other.m_objectiveScores.Count(), other.GetObjectiveList(side).Count());
    EXPECT_EQ(other.m_aiMode[0], kAiPlanningComputer);
    EXPECT_EQ(other.m_aiMode[1], kAiPlanningComputer);
}
