// The computer's moves toward objectives and by orders: the dispatch of free
// units to objectives in need, the formation's move by its order, the
// Banzai charge, holding back and pulling back leaders and artillery, and
// the walks toward friends and away from the enemy.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/Clock.h"
#include "model/Geometry.h"
#include "tests/ai/AiMoveGroupFixture.h"

namespace {

using namespace demo;

class AiMoveObjectiveTest : public AiMoveTest {
protected:
    void SetUp() override
    {
        AiMoveTest::SetUp();
        m_dir.Write("main.ai", "12 2 4 6 0 2 0 70 90 2 4"); // objective radius 2
    }
    void SetScores(const std::vector<int>& scores)
    {
        Game().m_objectiveScores.Free();
        for (int score : scores)
            Game().m_objectiveScores.Append(score);
    }
    void Order(int node, int kind, HexPos target)
    {
        AiOrder order = Game().GetOrder(Node(node));
        order.SetKind(kind);
        order.SetTarget(target.column, target.row);
        Game().SetOrderTree(Node(node), order);
    }
};

std::int64_t FixedTime() { return 4242; }

} // namespace

// ---- Objectives ----

TEST_F(AiMoveObjectiveTest, TheDispatchServesTheFirstObjectiveInNeedThatGetsAGroup)
{
    AiScenario scenario;
    scenario
        .Objective(7, 0, 1, kUsNation) // no score left
        .Objective(6, 4, 1, kUsNation)
        .Unit(7, 5, kDeGrenadier, 212)
        .Unit(0, 4, kUsSherman, -1);
    CGame& game = Start(scenario);
    ASSERT_EQ(game.GetObjectiveList(0).Count(), 2u);
    SetScores({ 0, 2 });
    HexList hexes;
    EXPECT_TRUE(game.DispatchToObjectives(hexes));
    EXPECT_EQ(Scores(game), (std::vector<int> { 0, 1 }));
    EXPECT_EQ(Hexes(hexes).front(), (HexPos { 0, 4 }));
    EXPECT_EQ(game.m_report.str().rfind("Moving units:\n    M4A1 Sherman Platoon\nfrom hex at 0, 4 to hex at ", 0), 0u);
}

TEST_F(AiMoveObjectiveTest, WhenNoObjectiveGetsAGroupTheScoresAreDropped)
{
    struct Case {
        const char* what;
        std::vector<int> scores;
    };
    const Case cases[] = {
        { "no free unit", { 3, 3 } },
        { "more scores than objectives", { 0, 0, 5 } },
        { "fewer scores than objectives", { 0 } },
    };
    for (const Case& c : cases) {
        AiScenario scenario;
        scenario.Objective(7, 0, 1, kUsNation)
            .Objective(6, 4, 1, kUsNation)
            .Unit(7, 5, kDeGrenadier, 212)
            .Unit(0, 2, kUsSherman, 123); // under orders: not free
        if (std::string(c.what) != "no free unit")
            scenario.Unit(0, 4, kUsSherman, -1);
        CGame& game = Start(scenario);
        SetScores(c.scores);
        HexList hexes;
        EXPECT_FALSE(game.DispatchToObjectives(hexes)) << c.what;
        EXPECT_TRUE(game.m_objectiveScores.IsEmpty()) << c.what;
        EXPECT_TRUE(hexes.IsEmpty()) << c.what;
        EXPECT_EQ(Where(kUsSherman), (HexPos { 0, 2 })) << c.what;
    }
}

TEST_F(AiMoveObjectiveTest, FreeMoversGoToAnObjectiveInNeed)
{
    struct Case {
        const char* what;
        std::vector<std::pair<int, std::uint32_t>> units; // type and status at (1, 2), top first
        int node;
        bool sent;
    };
    const Case cases[] = {
        { "a tank", { { kUsSherman, 0 } }, -1, true },
        { "a tank under orders", { { kUsSherman, 0 } }, 123, false },
        { "a disrupted tank", { { kUsSherman, kUnitDisrupted } }, -1, false },
        { "foot soldiers", { { kUsRifle, 0 } }, -1, false },
        { "an empty half-track", { { kUsHalfTrack, 0 } }, -1, false },
        { "a loaded half-track", { { kUsHalfTrack, 0 }, { kUsRifle, kUnitCarried } }, -1, true },
    };
    for (const Case& c : cases) {
        AiScenario scenario;
        scenario.Objective(6, 2, 1, kUsNation).Unit(7, 2, kDeGrenadier, 212);
        for (const auto& [type, status] : c.units)
            scenario.Unit(1, 2, type, c.node, 4, status);
        CGame& game = Start(scenario);
        SetScores({ 1 });
        HexList hexes;
        EXPECT_EQ(game.SendUnitsToObjective({ 6, 2 }, hexes), c.sent) << c.what;
        EXPECT_EQ(game.m_stacks.At(1, 2).IsEmpty(), c.sent) << c.what << ": all of them go";
    }
}

TEST_F(AiMoveObjectiveTest, UnitsNearAnObjectiveInNeedOrCloserThanItsEnemyStay)
{
    // Objectives (2, 5) and (6, 2); the enemy three hexes from (6, 2).
    struct Case {
        const char* what;
        HexPos tank;
        std::vector<int> scores;
        bool sent;
    };
    const Case cases[] = {
        { "far away", { 1, 2 }, { 0, 0 }, true },
        { "within the radius of an objective in need", { 2, 4 }, { 1, 0 }, false },
        { "within the radius of an objective served", { 2, 4 }, { 0, 0 }, true },
        { "no farther from it than its enemy", { 6, 0 }, { 0, 0 }, false },
    };
    for (const Case& c : cases) {
        AiScenario scenario;
        scenario.Objective(6, 2, 1, kUsNation)
            .Objective(2, 5, 1, kUsNation)
            .Unit(6, 5, kDeGrenadier, 212)
            .Unit(c.tank.column, c.tank.row, kUsSherman, -1);
        CGame& game = Start(scenario);
        ASSERT_EQ(game.GetEnemyDistance(6, 2), 3);
        SetScores(c.scores);
        HexList hexes;
        EXPECT_EQ(game.SendUnitsToObjective({ 6, 2 }, hexes), c.sent) << c.what;
    }
}

TEST_F(AiMoveObjectiveTest, TheNearestHexSendsItsUnitsAndEqualOnesAreDrawnAlike)
{
    // Two tanks four hexes from the objective, one five.
    HexPos first { -1, -1 };
    for (int run = 0; run < 2; ++run) {
        AiScenario scenario;
        scenario.Objective(6, 2, 1, kUsNation)
            .Unit(7, 2, kDeGrenadier, 212)
            .Unit(1, 2, kUsSherman, -1)
            .Unit(2, 0, kUsSherman, -1)
            .Unit(2, 4, kUsSherman, -1);
        CGame& game = Start(scenario);
        SetScores({ 1 });
        HexList hexes;
        ASSERT_TRUE(game.SendUnitsToObjective({ 6, 2 }, hexes));
        const HexPos from = Hexes(hexes).front();
        EXPECT_EQ(HexDistance(from.column, from.row, 6, 2), 4);
        EXPECT_FALSE(game.m_stacks.At(1, 2).IsEmpty()) << "the farther tank stays";
        if (run == 0)
            first = from;
        else
            EXPECT_EQ(from, first) << "the same battle time draws the same hex";
    }
}

// ---- Orders ----

TEST_F(AiMoveObjectiveTest, AFormationMovesByItsKindAndItsDistanceToTheTarget)
{
    struct Case {
        const char* what;
        int type;
        int kind;
        HexPos target;
        bool moves;
    };
    // The tank at (7, 2); the sweep's first pass runs east, so targets to
    // the west lead back into the part already swept.
    const Case cases[] = {
        { "hold", kUsSherman, 2, { 1, 2 }, false },
        { "kind 0 beyond its reach of 4", kUsSherman, 0, { 2, 2 }, true },
        { "kind 0 within its reach", kUsSherman, 0, { 3, 2 }, false },
        { "kind 1 beyond its reach of 6", kUsSherman, 1, { 0, 2 }, true },
        { "kind 1 within its reach", kUsSherman, 1, { 1, 2 }, false },
        { "kind 3 at any distance", kUsSherman, 3, { 6, 2 }, true },
        { "kind 4", kUsSherman, 4, { 5, 2 }, true },
        { "a target ahead of the sweep", kUsSherman, 3, { 7, 0 }, false },
        { "boats keep to their orders elsewhere", kUsBoat, 3, { 1, 2 }, false },
    };
    for (const Case& c : cases) {
        AiScenario scenario;
        scenario.Unit(7, 2, c.type, 123);
        CGame& game = Start(scenario);
        Order(120, c.kind, c.target);
        HexList hexes;
        EXPECT_EQ(game.MoveByFormationOrder(7, 2, 1, hexes), c.moves) << c.what;
        EXPECT_EQ(game.m_stacks.At(7, 2).IsEmpty(), c.moves) << c.what;
    }
}

TEST_F(AiMoveObjectiveTest, ArtilleryInAGroupKeepsItFromClosingInOnTheEnemy)
{
    for (const bool artillery : { false, true }) {
        AiScenario scenario;
        scenario.Unit(7, 2, kUsSherman, 123).Unit(0, 2, kDeGrenadier, 212);
        if (artillery)
            scenario.Unit(7, 2, 10301, 122); // headquarters: artillery without a gun
        CGame& game = Start(scenario);
        Order(120, 0, { 1, 2 });
        HexList hexes;
        EXPECT_EQ(game.MoveByFormationOrder(7, 2, 1, hexes), !artillery) << artillery;
    }
}

// ---- Banzai ----

TEST_F(AiMoveObjectiveTest, ABanzaiChargeRunsDownTheEnemyDistances)
{
    SetTimeSource(&FixedTime);
    for (const int startColumn : { 1, 6 }) {
        AiScenario scenario;
        scenario.side = 1;
        scenario.Unit(startColumn, 2, kDeGrenadier, 212, 4, kUnitBanzai)
            .Unit(startColumn, 2, kDeHmg, -1) // no formation: stays
            .Unit(7, 2, kUsRifle, 112);
        CGame& game = Start(scenario);
        HexList hexes;
        const bool charged = game.ActOnHexUnits(startColumn, 2, hexes);
        if (startColumn == 6) {
            EXPECT_FALSE(charged) << "already next to the enemy";
            continue;
        }
        ASSERT_TRUE(charged);
        const std::vector<HexPos> walked = Hexes(hexes);
        ASSERT_GE(walked.size(), 2u);
        const HexPos end = walked.back();
        EXPECT_LT(game.GetEnemyDistance(end.column, end.row), 6);
        EXPECT_EQ(game.m_stacks.At(startColumn, 2).Count(), 1u);
        EXPECT_EQ(game.m_stacks.At(end.column, end.row).Head()->value.m_node->m_id, 212);
    }
    SetTimeSource(nullptr);
}

// ---- Holding and pulling back ----

TEST_F(AiMoveObjectiveTest, LeadersAloneAndArtilleryNearTheEnemyHoldBack)
{
    struct Case {
        const char* what;
        int type;
        int node;
        bool company; // a rifle platoon shares the hex
        int enemyColumn; // on row 2; the unit at (1, 2)
        bool held;
    };
    const Case cases[] = {
        { "a leader alone near the enemy", kUsCaptain, 111, false, 7, true },
        { "a leader with its platoons", kUsCaptain, 111, true, 7, false },
        { "a leader alone at the horizon", kUsCaptain, 111, false, -1, false },
        { "company artillery within the radius of 2", 10301, 112, false, 2, true },
        { "company artillery at the radius", 10301, 112, false, 3, false },
        { "artillery without a formation within the horizon", 10301, -1, true, 7, true },
        { "a rifle platoon", kUsRifle, 112, false, 2, false },
    };
    for (const Case& c : cases) {
        AiScenario scenario;
        scenario.Unit(1, 2, c.type, c.node);
        if (c.company)
            scenario.Unit(1, 2, kUsRifle, 112);
        if (c.enemyColumn >= 0)
            scenario.Unit(c.enemyColumn, 2, kDeGrenadier, 212);
        CGame& game = Start(scenario);
        EXPECT_EQ(game.IsHoldingBack(1, 2, 1), c.held) << c.what;
    }
}

TEST_F(AiMoveObjectiveTest, AHeldLeaderJoinsTheNearestFriendsAndArtilleryWalksAway)
{
    {
        AiScenario scenario;
        scenario.Unit(4, 2, kUsCaptain, 111).Unit(1, 2, kUsRifle, 112).Unit(7, 2, kDeGrenadier, 212);
        CGame& game = Start(scenario);
        EXPECT_EQ(game.JoinNearestOwnHex(4, 2), (HexPos { 1, 2 }));
        HexList hexes;
        ASSERT_TRUE(game.PullBackSupport(4, 2, 1, hexes));
        const HexPos end = Where(kUsCaptain);
        EXPECT_LT(HexDistance(end.column, end.row, 1, 2), 3);
    }
    {
        AiScenario scenario;
        scenario.Unit(4, 2, 10301, 112).Unit(5, 2, kDeGrenadier, 212);
        CGame& game = Start(scenario);
        EXPECT_EQ(game.JoinNearestOwnHex(4, 2), (HexPos { -1, -1 })) << "no other hex of its side";
        HexList hexes;
        ASSERT_TRUE(game.PullBackSupport(4, 2, 1, hexes));
        const HexPos end = Where(10301);
        EXPECT_GT(game.GetEnemyDistance(end.column, end.row), 1);
    }
    {
        AiScenario scenario;
        scenario.Unit(4, 2, kUsRifle, 112).Unit(6, 2, kDeGrenadier, 212);
        CGame& game = Start(scenario);
        HexList hexes;
        EXPECT_FALSE(game.PullBackSupport(4, 2, 1, hexes)) << "not held back";
    }
}

TEST_F(AiMoveObjectiveTest, TheWalkAwayFromTheEnemyTakesOneHexFartherPerStep)
{
    AiScenario scenario;
    scenario.Unit(7, 2, kDeGrenadier, 212);
    CGame& game = Start(scenario);
    for (const int steps : { 0, 1, 3, 20 }) {
        const HexPos end = game.WalkAwayFromEnemy(6, 2, steps);
        const int expected = std::min(1 + steps, 7); // the map ends at column 0
        EXPECT_EQ(game.GetEnemyDistance(end.column, end.row), expected) << steps;
        EXPECT_EQ(game.WalkAwayFromEnemy(6, 2, steps), end) << "the same hexes draw alike";
    }
}
