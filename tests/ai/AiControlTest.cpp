// Who plays each side: the mode setters of the menus and the battle reader.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/ai/AiGame.h"

namespace {

using namespace demo;

class AiControlTest : public AiGameTest {
protected:
    AiScenario Scenario(int phase) const
    {
        AiScenario scenario;
        scenario.phase = phase;
        scenario.airPower[0] = 3;
        scenario.airPower[1] = 6;
        scenario.Unit(1, 2, kUsRifle, 112).Unit(5, 1, kDeGrenadier, 213);
        scenario.Objective(1, 2, 10, kUsNation).Objective(5, 1, 10, kDeNation);
        return scenario;
    }
};

} // namespace

TEST_F(AiControlTest, SettersSetModePlanFlagAndFogAndPlanAndPrepareAsTheSideAndPhaseSay)
{
    struct Case {
        const char* what;
        int side;
        int phase;
        std::function<void(CGame&, int)> set;
        int mode;
        unsigned plan;
        int fog; // from 1
        bool listBuilt; // else emptied
        bool planned;
        bool prepared;
        int enemyDistance; // at the German hex: 0 once a grid shows it
    };
    const auto manual = [](CGame& g, int s) { g.SetSideManual(s); };
    const auto scenario = [](CGame& g, int s) { g.SetSideScenarioComputer(s); };
    const auto planning = [](CGame& g, int s) { g.SetSidePlanningComputer(s); };
    const auto computer = [](CGame& g, int s) { g.SetSideComputer(s); };
    const auto computerFow = [](CGame& g, int s) { g.SetSideComputerFow(s); };
    const auto mode = [](int m) { return [m](CGame& g, int s) { g.SetSideMode(s, m); }; };
    const Case cases[] = {
        { "manual", 0, 0, manual, 0, 0, 0, false, false, false, 12 },
        { "manual, other side", 1, 0, manual, 0, 0, 0, false, false, false, 12 },
        { "scenario computer", 0, 0, scenario, 1, 1, 0, true, false, true, 0 },
        { "scenario computer, Defensive Fire", 0, 1, scenario, 1, 1, 0, true, false, false, 0 },
        { "scenario computer, other side", 1, 0, scenario, 1, 1, 0, true, false, false, 12 },
        { "planning computer", 0, 2, planning, 2, 0, 1, true, true, true, 0 },
        { "planning computer, other side", 1, 0, planning, 2, 0, 1, true, true, false, 12 },
        { "Computer", 0, 0, computer, 2, 0, 0, true, true, true, 0 },
        { "Computer, Defensive Fire", 0, 1, computer, 2, 0, 0, true, true, false, 0 },
        { "Computer with FOW", 0, 0, computerFow, 2, 0, 1, true, true, true, 0 },
        { "Computer with FOW, other side", 1, 2, computerFow, 2, 0, 1, true, true, false, 12 },
        { "mode 0", 0, 0, mode(0), 0, 0, 0, false, false, false, 12 },
        { "mode 1", 1, 0, mode(1), 1, 1, 0, true, false, false, 12 },
        { "mode 2", 0, 0, mode(2), 2, 0, 1, true, true, true, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_game.reset();
        Load(Scenario(c.phase));
        CGame& game = Game();
        const int s = c.side;
        game.m_aiMode[s] = c.mode == kAiManual ? kAiPlanningComputer : kAiManual;
        game.m_planFlag[s] = c.plan ^ 1u;
        game.m_aiFog[s] = 1;
        if (!c.listBuilt)
            game.BuildObjectiveList(s);
        ASSERT_EQ(game.GetObjectiveList(s).IsEmpty(), c.listBuilt);
        game.m_stepFlag = 0;
        game.m_attacksLeft = 0;

        c.set(game, s);
        EXPECT_EQ(game.m_aiMode[s], c.mode);
        EXPECT_EQ(game.m_planFlag[s], c.plan);
        EXPECT_EQ(game.m_aiFog[s], c.fog);
        EXPECT_EQ(game.GetObjectiveList(s).IsEmpty(), !c.listBuilt);
        EXPECT_EQ(game.GetSummary(Node(s == 0 ? 100 : 200)).unitCount, c.planned ? 1 : 0) << "planned";
        EXPECT_EQ(game.m_stepFlag, c.prepared ? 1 : 0) << "prepared";
        EXPECT_EQ(game.m_attacksLeft, c.prepared ? 2 : 0);
        EXPECT_EQ(game.m_objectiveScores.Count(), c.prepared ? 1u : 0u);
        // Rebuilt for a computer side to move and by planning; a German side
        // that keeps its fog stays unseen.
        EXPECT_EQ(game.GetEnemyDistance(5, 1), c.enemyDistance);
        const int other = 1 - s;
        EXPECT_EQ(game.m_aiMode[other], kAiManual) << "the other side is untouched";
    }
}

TEST_F(AiControlTest, AModeOtherThanZeroOneOrTwoAndASideOtherThanZeroOrOneChangeNothing)
{
    Load(Scenario(0));
    CGame& game = Game();
    game.SetSideComputerFow(1);
    const std::string before = Saved();
    game.SetSideMode(0, 3);
    game.SetSideMode(1, -1);
    for (int side : { -1, 2 }) {
        game.SetSideMode(side, kAiPlanningComputer);
        game.SetSideManual(side);
        game.SetSideComputer(side);
        game.SetSideFogOfWar(side, 1);
    }
    EXPECT_EQ(Saved(), before);
}

TEST_F(AiControlTest, FogBytesAreStoredAsZeroOrOne)
{
    Load(Scenario(0));
    CGame& game = Game();
    game.SetSideFogOfWar(1, 7);
    EXPECT_EQ(game.m_aiFog[1], 1);
    EXPECT_TRUE(game.IsSideHidden(1));
    game.SetSideFogOfWar(1, 0);
    EXPECT_FALSE(game.IsSideHidden(1));
    EXPECT_FALSE(game.IsSideHidden(-1));
}
