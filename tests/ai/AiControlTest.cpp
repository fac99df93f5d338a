// Who plays each side: the mode setters of the menus and the battle reader.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "model/Random.h"

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

namespace {

std::vector<HexPos> Hexes(const HexList& list)
{
    std::vector<HexPos> hexes;
    for (const HexPos& hex : list)
        hexes.push_back(hex);
    return hexes;
}

// What a scenario start or a phase start left for each side.
struct SideState {
    int mode;
    int fog;
    unsigned plan;
    bool listBuilt;
    bool planned;
};

} // namespace

TEST_F(AiControlTest, AScenarioStartsWithTheModesAndFogBytesTheFrameGives)
{
    struct Case {
        int modes[2];
        std::uint8_t fog[2];
        SideState sides[2];
        bool prepared; // side 0 is to move
    };
    const Case cases[] = {
        { { 0, 0 }, { 0, 0 }, { { 0, 0, 0, false, false }, { 0, 0, 0, false, false } }, false },
        { { 0, 2 }, { 0, 1 }, { { 0, 0, 0, false, false }, { 2, 1, 0, true, true } }, false },
        { { 2, 0 }, { 1, 0 }, { { 2, 1, 0, true, true }, { 0, 0, 0, false, false } }, true },
        { { 2, 2 }, { 0, 1 }, { { 2, 0, 0, true, true }, { 2, 1, 0, true, true } }, true },
        { { 1, 0 }, { 1, 1 }, { { 1, 1, 1, true, false }, { 0, 1, 0, false, false } }, true },
        { { 3, 0 }, { 0, 0 }, { { 0, 0, 0, true, false }, { 0, 0, 0, false, false } }, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "modes " << c.modes[0] << ' ' << c.modes[1]);
        m_game.reset();
        CGame& game = Game();
        const std::string text = Scenario(0).Text();
        std::istringstream in(text);
        String report;
        std::vector<int> groups, released;
        HexList hexes;
        ASSERT_TRUE(game.ReadScenario(in, c.modes, c.fog, report, groups, released, hexes));
        EXPECT_EQ(report.str(), "3 air strikes remaining\n") << "the opening report is never blanked";
        for (int s = 0; s < 2; ++s) {
            SCOPED_TRACE(s);
            const SideState& want = c.sides[s];
            EXPECT_EQ(game.m_aiMode[s], want.mode);
            EXPECT_EQ(game.m_aiFog[s], want.fog);
            EXPECT_EQ(game.m_planFlag[s], want.plan);
            EXPECT_EQ(game.GetObjectiveList(s).IsEmpty(), !want.listBuilt);
            EXPECT_EQ(game.GetSummary(Node(s == 0 ? 100 : 200)).unitCount, want.planned ? 1 : 0) << "planned";
        }
        EXPECT_EQ(game.m_attacksLeft, c.prepared ? 2 : 0) << "prepared";
        EXPECT_EQ(game.m_objectiveScores.Count(), c.prepared ? 1u : 0u);
    }
}

TEST_F(AiControlTest, AFailedScenarioLeavesBothSidesManualWithoutFog)
{
    CGame& game = Game();
    const int modes[2] = { 2, 2 };
    const std::uint8_t fog[2] = { 1, 1 };
    String report;
    std::vector<int> groups, released;
    HexList hexes;
    {
        std::istringstream in(Scenario(0).Text());
        ASSERT_TRUE(game.ReadScenario(in, modes, fog, report, groups, released, hexes));
    }
    SetRandomSeed(21);
    std::string truncated = Scenario(0).Text();
    truncated.resize(truncated.size() - 12);
    std::istringstream in(truncated);
    EXPECT_FALSE(game.ReadScenario(in, modes, fog, report, groups, released, hexes));
    EXPECT_FALSE(game.m_battleReadError.IsEmpty());
    EXPECT_TRUE(report.IsEmpty());
    for (int s = 0; s < 2; ++s) {
        EXPECT_EQ(game.m_aiMode[s], kAiManual);
        EXPECT_EQ(game.m_aiFog[s], 0);
        EXPECT_EQ(game.m_planFlag[s], 0u);
        EXPECT_TRUE(game.GetObjectiveList(s).IsEmpty());
    }
    EXPECT_EQ(game.m_attacksLeft, 0);
    EXPECT_EQ(game.m_objectiveScores.Count(), 0u);
    EXPECT_EQ(GlobalRandomGenerator().State(), 21u) << "nothing planned or drawn";
}

TEST_F(AiControlTest, LoadingWithTheReportBuildsBothObjectiveListsAndRestartsTheSweep)
{
    AiScenario scenario = Scenario(0);
    scenario.Objective(3, 4, 5, kUsNation).Objective(6, 5, 5, -1).Objective(0, 3, 5, 9);
    CGame& game = Game();
    game.m_sweep = HexPos { -1, -1 };
    game.m_sweepDirection = 3;
    std::istringstream in(scenario.Text());
    String report;
    std::vector<int> groups, released;
    HexList hexes;
    ASSERT_TRUE(game.LoadBattleAndReport(in, report, groups, released, hexes));
    EXPECT_EQ(Hexes(game.GetObjectiveList(0)), (std::vector<HexPos> { { 0, 3 }, { 1, 2 }, { 3, 4 } }));
    EXPECT_EQ(Hexes(game.GetObjectiveList(1)), (std::vector<HexPos> { { 5, 1 } })) << "an unheld cell is no side's";
    EXPECT_EQ(game.m_sweep, (HexPos { 0, 0 }));
    EXPECT_EQ(game.m_sweepDirection, 0);
}

TEST_F(AiControlTest, ThePhaseStartPlansAndPreparesByPhaseAndMode)
{
    struct Case {
        int phase;
        int mode; // of side 0, to move
        bool planned;
        unsigned plan;
        bool prepared;
    };
    const Case cases[] = {
        { 0, 0, false, 0, false },
        { 1, 0, false, 0, false },
        { 2, 0, false, 0, false },
        { 0, 1, false, 1, true },
        { 1, 1, false, 0, false },
        { 2, 1, false, 0, true },
        { 0, 2, true, 0, true },
        { 1, 2, false, 0, false },
        { 2, 2, false, 0, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "phase " << c.phase << ", mode " << c.mode);
        m_game.reset();
        Load(Scenario(c.phase));
        CGame& game = Game();
        game.BuildObjectiveList(0);
        game.m_aiMode[0] = c.mode;
        // The other side's mode plays no part.
        game.m_aiMode[1] = kAiPlanningComputer;
        game.m_stepFlag = 0;
        game.m_sweep = HexPos { -1, -1 };
        String text;
        HexList hexes;
        std::vector<int> offMap, groups, released;
        game.BeginPhase(text, hexes, offMap, groups, released);
        EXPECT_EQ(text.str().rfind("3 air strikes remaining", 0), 0u) << text.str();
        EXPECT_EQ(game.m_sweep, (HexPos { 0, 0 })) << "the report restarts the sweep";
        EXPECT_EQ(game.GetSummary(Node(100)).unitCount, c.planned ? 1 : 0) << "planned";
        EXPECT_EQ(game.GetSummary(Node(200)).unitCount, 0) << "only the side to move";
        EXPECT_EQ(game.m_planFlag[0], c.plan);
        EXPECT_EQ(game.m_stepFlag, c.prepared ? 1 : 0) << "prepared";
        EXPECT_EQ(game.m_attacksLeft, c.prepared ? 2 : 0);
        EXPECT_EQ(game.m_objectiveScores.Count(), c.prepared ? 1u : 0u);
        EXPECT_EQ(game.GetEnemyDistance(5, 1), c.prepared || c.planned ? 0 : 12) << "the grid rebuilt";
    }
}

TEST_F(AiControlTest, TheTurnStartReportIsBlankedOnlyForAFoggedMover)
{
    struct Case {
        int mover;
        std::uint8_t fog[2];
        bool blank;
    };
    const Case cases[] = {
        { 0, { 0, 0 }, false },
        { 0, { 1, 0 }, true },
        { 0, { 0, 1 }, false },
        { 1, { 0, 1 }, true },
        { 1, { 1, 0 }, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mover " << c.mover << ", fog " << int(c.fog[0]) << int(c.fog[1]));
        m_game.reset();
        AiScenario scenario = Scenario(2);
        scenario.side = c.mover;
        Load(scenario);
        CGame& game = Game();
        for (int s = 0; s < 2; ++s)
            game.SetSideFogOfWar(s, c.fog[s]);
        game.m_sweep = HexPos { 3, 3 };
        game.m_sweepDirection = 2;
        String text;
        HexList hexes;
        std::vector<int> offMap, groups, released;
        game.BuildTurnStartReport(text, hexes, offMap, groups, released);
        EXPECT_EQ(text.str(), c.blank ? "" : (c.mover == 0 ? "3 air strikes remaining" : "6 air strikes remaining"));
        EXPECT_EQ(game.m_sweep, (HexPos { 0, 0 }));
        EXPECT_EQ(game.m_sweepDirection, 0);
    }
}
