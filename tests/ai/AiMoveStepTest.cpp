// The computer's move step: one action per call in the order objectives,
// turning sweep, reinforcements, second sweep; the cursor and the step flag
// that say where the next call resumes; the restart after opportunity fire;
// the hex list and the moved units handed to the driver; and the loading of
// a battle.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "model/Clock.h"
#include "model/Geometry.h"
#include "model/Random.h"
#include "tests/ai/AiMoveGroupFixture.h"

namespace {

using namespace demo;

struct StepResult {
    std::string text;
    std::vector<HexPos> hexes;
    std::vector<int> moved;
};

class AiMoveStepTest : public AiMoveTest {
protected:
    StepResult Step()
    {
        CGame& game = Game();
        HexList hexes;
        AppendHexListNode(hexes, 9, 9); // the caller's old list is emptied first
        StepResult result;
        result.text = game.DoNextMove(hexes).str();
        result.hexes = Hexes(hexes);
        game.GetMineAttacks(result.moved);
        return result;
    }
    // The order of a formation and every node below it.
    void Order(int node, int kind, HexPos target)
    {
        AiOrder order = Game().GetOrder(Node(node));
        order.SetKind(kind);
        order.SetTarget(target.column, target.row);
        Game().SetOrderTree(Node(node), order);
    }
    void ExpectCursor(HexPos cursor, int direction)
    {
        EXPECT_EQ(Game().m_sweep, cursor);
        EXPECT_EQ(Game().m_sweepDirection, direction);
    }
    // Calls the step until it has nothing left (at most a bound); the texts.
    std::vector<std::string> RunPhase(int bound = 30)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < bound; ++i) {
            const std::string text = Step().text;
            if (text.empty())
                return texts;
            texts.push_back(text);
            // The driver resolves an answering fire before the next action.
            if (Game().IsFirePending()) {
                String report;
                Game().ExecutePendingFire(report, false);
                texts.push_back("fire: " + report.str());
            }
        }
        ADD_FAILURE() << "the step did not end";
        return texts;
    }
};

std::int64_t FixedTime() { return 1000; }

} // namespace

TEST_F(AiMoveStepTest, ASideWithNothingToDoGetsTheEmptyTextAtOnce)
{
    AiScenario scenario;
    scenario
        .Unit(2, 2, kUsRifle, 112) // holds: no order to follow
        .Unit(6, 3, kDeGrenadier, 212);
    CGame& game = Start(scenario);
    game.m_sweep = { 3, 4 };
    game.m_sweepDirection = 2;
    const StepResult step = Step();
    EXPECT_EQ(step.text, "");
    EXPECT_TRUE(step.hexes.empty());
    EXPECT_TRUE(step.moved.empty()) << "no mine check for the driver";
    ExpectCursor({ 0, 0 }, 0);
}

TEST_F(AiMoveStepTest, AFormationMovesByItsOrderAndTheCursorStaysOnItsHex)
{
    AiScenario scenario;
    scenario.Unit(5, 2, kUsSherman, 123).Unit(5, 2, kUsRifle, 113); // another formation stays
    Start(scenario);
    Order(120, 3, { 1, 2 });
    const StepResult step = Step();
    EXPECT_EQ(step.text, "Moving units:\n    M4A1 Sherman Platoon\nfrom hex at 5, 2 to hex at 1, 2");
    ASSERT_GE(step.hexes.size(), 2u);
    EXPECT_EQ(step.hexes.front(), (HexPos { 5, 2 }));
    EXPECT_EQ(step.hexes.back(), (HexPos { 1, 2 }));
    for (std::size_t i = 1; i < step.hexes.size(); ++i)
        EXPECT_EQ(
            HexDistance(step.hexes[i - 1].column, step.hexes[i - 1].row, step.hexes[i].column, step.hexes[i].row), 1);
    EXPECT_EQ(step.moved, (std::vector<int> { 1 })) << "the tank on top of the target hex";
    ExpectCursor({ 5, 2 }, 0);
    EXPECT_EQ(Types(5, 2), (std::vector<int> { kUsRifle }));

    // At its target the formation has nothing left to do.
    const StepResult next = Step();
    EXPECT_EQ(next.text, "");
    ExpectCursor({ 0, 0 }, 0);
}

TEST_F(AiMoveStepTest, AnOrderIsFollowedOnlyInThePassThatLeadsBackIntoTheSweptMap)
{
    // Eastward: not in the first pass (which runs east), but in the second.
    AiScenario scenario;
    scenario.Unit(1, 2, kUsSherman, 123);
    CGame& game = Start(scenario);
    Order(120, 3, { 5, 2 });
    const StepResult step = Step();
    EXPECT_EQ(step.text, "Moving units:\n    M4A1 Sherman Platoon\nfrom hex at 1, 2 to hex at 5, 2");
    EXPECT_EQ(game.m_sweepDirection, 1);
    EXPECT_EQ(game.m_sweep, (HexPos { 1, 2 }));
}

TEST_F(AiMoveStepTest, OpportunityFireAfterAnActionRestartsTheSweep)
{
    // A tank drives past a Pak 40; whether the gun answers depends on the
    // shared draws, so two seeds give one move of each kind.
    int fired = 0;
    for (const std::uint32_t seed : { 1u, 2u }) {
        AiScenario scenario;
        scenario.Unit(7, 2, kUsSherman, 123).Unit(0, 3, 1102, 212);
        CGame& game = Start(scenario);
        Order(120, 3, { 1, 3 });
        SetTimeSource(&FixedTime);
        SetRandomSeed(seed);
        const StepResult step = Step();
        SetTimeSource(nullptr);
        ASSERT_FALSE(step.text.empty());
        EXPECT_NE(Where(kUsSherman), (HexPos { 7, 2 }));
        if (game.IsFirePending()) {
            ++fired;
            ExpectCursor({ 0, 0 }, 0);
        } else {
            ExpectCursor({ 7, 2 }, 0);
        }
    }
    EXPECT_EQ(fired, 1);
}

TEST_F(AiMoveStepTest, TheSecondSweepActsLastAndTheNextCallResumesTheTurningWalkThere)
{
    // A leader alone near the enemy is held in the first sweep and pulled
    // back toward its side's rifles in the second.
    AiScenario scenario;
    scenario.Unit(4, 2, kUsBattalionLeader, 101).Unit(1, 2, kUsRifle, 112).Unit(7, 2, kDeGrenadier, 212);
    Start(scenario);
    const StepResult step = Step();
    ASSERT_GE(step.hexes.size(), 2u);
    const HexPos end = step.hexes.back();
    EXPECT_EQ(step.text,
        "Moving units:\n    Battalion commander\nfrom hex at 4, 2 to hex at " + std::to_string(end.column) + ", "
            + std::to_string(end.row));
    EXPECT_LT(HexDistance(end.column, end.row, 1, 2), 3) << "toward the rifles";
    EXPECT_EQ(step.hexes.front(), (HexPos { 4, 2 }));
    ExpectCursor({ 4, 2 }, 0);
    RunPhase();
    ExpectCursor({ 0, 0 }, 0);
}

TEST_F(AiMoveStepTest, ObjectivesInNeedAreServedBeforeTheSweep)
{
    m_dir.Write("main.ai", "12 2 4 6 0 2 0 70 90 2 4"); // objective radius 2
    AiScenario scenario;
    scenario.Objective(6, 2, 5, kUsNation)
        .Unit(6, 3, kDeGrenadier, 212)
        .Unit(7, 2, kDeGrenadier, 213)
        .Unit(1, 2, kUsSherman, -1) // a free tank
        .Unit(4, 5, kUsSherman, 123); // a formation ordered west
    CGame& game = Start(scenario);
    Order(120, 3, { 1, 5 });
    game.PrepareMoves();
    ASSERT_EQ(Scores(game), (std::vector<int> { 2 }));
    const StepResult step = Step();
    EXPECT_EQ(step.text.rfind("Moving units:\n    M4A1 Sherman Platoon\nfrom hex at 1, 2 to hex at ", 0), 0u)
        << step.text;
    EXPECT_EQ(Scores(game), (std::vector<int> { 1 }));
    ExpectCursor({ 0, 0 }, 0); // the sweep has not started
}

TEST_F(AiMoveStepTest, TheSameSeedAndClockPlayAPhaseAlike)
{
    SetTimeSource(&FixedTime);
    std::vector<std::string> runs[2];
    for (std::vector<std::string>& texts : runs) {
        AiScenario scenario;
        scenario.Unit(7, 2, kUsSherman, 123)
            .Unit(7, 2, kUsSherman, 123)
            .Unit(6, 4, kUsRifle, 112)
            .Unit(4, 1, kUsBattalionLeader, 101)
            .Unit(0, 3, 1102, 212)
            .Unit(1, 1, kDeGrenadier, 213);
        Start(scenario);
        Order(120, 3, { 1, 3 });
        Order(110, 4, { 1, 1 });
        SetRandomSeed(77);
        texts = RunPhase();
        texts.push_back(std::to_string(GlobalRandomGenerator().State()));
    }
    SetTimeSource(nullptr);
    EXPECT_EQ(runs[0], runs[1]);
    EXPECT_GT(runs[0].size(), 2u);
}

TEST_F(AiMoveStepTest, LoadingABattleDropsTheScoresAndOpensTheReinforcementStage)
{
    AiScenario scenario;
    scenario.Unit(2, 2, kUsRifle, 112);
    CGame& game = Start(scenario);
    game.m_objectiveScores.Append(7);
    game.m_stepFlag = 0;
    std::istringstream in(scenario.Text());
    String text;
    std::vector<int> groups, released;
    HexList hexes;
    ASSERT_TRUE(game.LoadBattleAndReport(in, text, groups, released, hexes));
    EXPECT_TRUE(game.m_objectiveScores.IsEmpty());
    EXPECT_EQ(game.m_stepFlag, 1);
}

TEST_F(AiMoveStepTest, AStepDrawsFromTheSharedGeneratorOnlyWhereAGroupMayStayToFire)
{
    // Rifles in a wood ordered to attack grenadiers in the open three hexes
    // away, within their range: the one shared draw decides whether they stay
    // (below 0.9). A disrupted defender is not worth it: no draw, they go.
    WriteTerrain({ "        ", "        ", "      f ", "        ", "        ", "        " });
    struct Case {
        const char* what;
        std::uint32_t defender;
        int draws;
    };
    const Case cases[] = {
        { "a steady defender", 0, 1 },
        { "a disrupted defender", kUnitDisrupted, 0 },
    };
    for (const Case& c : cases) {
        AiScenario scenario;
        scenario.Unit(6, 2, kUsRifle, 112).Unit(3, 2, kDeGrenadier, 212, 4, c.defender);
        Start(scenario);
        Order(110, 3, { 3, 2 });
        std::uint32_t seed = 1;
        while (CRandomGenerator(seed).Next() >= 0.9)
            ++seed;
        SetRandomSeed(seed);
        CRandomGenerator expected(seed);
        for (int i = 0; i < c.draws; ++i)
            expected.Next();
        const StepResult step = Step();
        if (c.draws == 1) {
            EXPECT_EQ(step.text, "") << c.what << ": the rifles stay to fire";
            EXPECT_EQ(GlobalRandomGenerator().State(), expected.State()) << c.what;
        } else {
            EXPECT_EQ(step.text.rfind("Moving units:\n    Rifle Platoon\nfrom hex at 6, 2 to hex at ", 0), 0u)
                << c.what;
            EXPECT_NE(Where(kUsRifle), (HexPos { 6, 2 })) << c.what;
        }
    }
}
