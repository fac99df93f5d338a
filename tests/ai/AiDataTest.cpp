// The computer opponent's data layer: enemy distances, map sweeps,
// objective lists and scores, air attacks per phase, and the status text.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "model/Geometry.h"
#include "tests/ai/AiGame.h"

namespace {

using namespace demo;

class AiDataTest : public AiGameTest {
protected:
    static std::vector<int> Scores(const CGame& game)
    {
        std::vector<int> scores;
        for (int score : game.m_objectiveScores)
            scores.push_back(score);
        return scores;
    }

    // Every hex's enemy distance, in column order.
    std::vector<int> Distances()
    {
        std::vector<int> distances;
        for (int x = 0; x < 8; ++x)
            for (int y = 0; y < 6; ++y)
                distances.push_back(Game().GetEnemyDistance(x, y));
        return distances;
    }
    // The distance to the nearest of the hexes, capped at the horizon.
    static std::vector<int> Expected(const std::vector<HexPos>& enemies, int horizon)
    {
        std::vector<int> distances;
        for (int x = 0; x < 8; ++x) {
            for (int y = 0; y < 6; ++y) {
                int nearest = horizon;
                for (const HexPos& enemy : enemies)
                    nearest = std::min(nearest, HexDistance(x, y, enemy.column, enemy.row));
                distances.push_back(nearest);
            }
        }
        return distances;
    }
};

} // namespace

TEST_F(AiDataTest, EnemyDistancesGrowFromVisibleArmedEnemiesUpToTheHorizon)
{
    m_dir.Write("main.ai", "4");
    AiScenario scenario;
    scenario
        .Unit(2, 2, kUsRifle, 112) // own units never count
        .Unit(5, 2, kDeGrenadier, 212)
        .Unit(1, 4, kDeKuebel, 213) // unarmed
        .Unit(7, 0, kDeKuebel, 213)
        .Unit(7, 0, kDeHmg, 214); // armed in an unarmed unit's stack
    Load(scenario);
    CGame& game = Game();
    EXPECT_EQ(Distances(), Expected({}, 4)) << "no grid before the first rebuild";
    game.RebuildEnemyDistanceGrid();
    EXPECT_EQ(Distances(), Expected({ { 5, 2 }, { 7, 0 } }, 4));
    EXPECT_EQ(game.GetEnemyDistance(-1, 0), 4) << "off the map: no enemy near";
    EXPECT_EQ(game.GetEnemyDistance(8, 0), 4);

    // The other side to move: the US rifles are the enemy.
    game.m_map.SetSide(1);
    game.RebuildEnemyDistanceGrid();
    EXPECT_EQ(Distances(), Expected({ { 2, 2 } }, 4));
}

TEST_F(AiDataTest, EnemiesUnderTheirFogCountOnlyWhereTheOtherSideHasContact)
{
    AiScenario scenario;
    scenario.Unit(5, 2, kDeGrenadier, 212).Unit(5, 3, kDeGrenadier, 213);
    Load(scenario);
    CGame& game = Game();
    game.RebuildEnemyDistanceGrid();
    EXPECT_EQ(Distances(), Expected({ { 5, 2 }, { 5, 3 } }, 12)) << "adjacent enemy hexes both stay at 0";

    game.m_aiFog[1] = 1;
    game.RebuildEnemyDistanceGrid();
    EXPECT_EQ(Distances(), Expected({}, 12)) << "hidden, and no contact";
    game.m_contact[0].At(5, 3).Set(1, 2);
    game.RebuildEnemyDistanceGrid();
    EXPECT_EQ(Distances(), Expected({ { 5, 3 } }, 12));
    game.m_contact[0].At(5, 2).Set(2, 2);
    game.RebuildEnemyDistanceGrid();
    EXPECT_EQ(Distances(), Expected({ { 5, 3 } }, 12)) << "only contact of kind 1 shows a hidden stack";
}

TEST_F(AiDataTest, TheSmallestHorizon)
{
    m_dir.Write("main.ai", "2");
    AiScenario scenario;
    scenario.Unit(3, 3, kDeGrenadier, 212);
    Load(scenario);
    Game().RebuildEnemyDistanceGrid();
    EXPECT_EQ(Distances(), Expected({ { 3, 3 } }, 2));
    EXPECT_EQ(Game().m_enemyDistance.At(3, 3), 2);
    EXPECT_EQ(Game().m_enemyDistance.At(3, 4), 1);
    EXPECT_EQ(Game().m_enemyDistance.At(3, 5), 0);
}

// ---- Sweeps ----

class SweepTest : public AiGameTest {
protected:
    void SetUp() override
    {
        AiGameTest::SetUp();
        WriteMap(3, 2);
        Load(AiScenario());
        ASSERT_EQ(Game().m_map.GetWidth(), 3);
    }

    template <typename Step> std::vector<HexPos> Walk(Step step)
    {
        Game().ResetSweep();
        std::vector<HexPos> hexes { Game().m_sweep };
        for (int guard = 0; guard < 100 && Game().m_sweep.column != -1; ++guard) {
            step();
            hexes.push_back(Game().m_sweep);
        }
        return hexes;
    }
};

TEST_F(SweepTest, TheSimpleWalkGoesDownEachColumn)
{
    const std::vector<HexPos> expected = { { 0, 0 }, { 0, 1 }, { 1, 0 }, { 1, 1 }, { 2, 0 }, { 2, 1 }, { -1, -1 } };
    EXPECT_EQ(Walk([this] { Game().AdvanceSweep(); }), expected);
}

TEST_F(SweepTest, TheTurningWalkMakesFourPasses)
{
    const std::vector<HexPos> expected = {
        { 0, 0 },
        { 0, 1 },
        { 1, 0 },
        { 1, 1 },
        { 2, 0 },
        { 2, 1 }, // down the columns
        { 2, 1 },
        { 2, 0 },
        { 1, 1 },
        { 1, 0 },
        { 0, 1 },
        { 0, 0 }, // up them from the far corner
        { 0, 1 },
        { 1, 1 },
        { 2, 1 },
        { 0, 0 },
        { 1, 0 },
        { 2, 0 }, // along the rows, bottom up
        { 2, 0 },
        { 1, 0 },
        { 0, 0 },
        { 2, 1 },
        { 1, 1 },
        { 0, 1 }, // back along them, top down
        { -1, -1 },
    };
    std::vector<int> directions;
    EXPECT_EQ(Walk([&] {
        directions.push_back(Game().m_sweepDirection);
        Game().AdvanceSweepTurning();
    }),
        expected);
    const std::vector<int> expectedDirections
        = { 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3 };
    EXPECT_EQ(directions, expectedDirections);
    EXPECT_EQ(Game().m_sweepDirection, 0);
}

TEST_F(SweepTest, StepsAndDirectionsAgainstEachSweep)
{
    // Steps from (3, 3): W, E, N, S, NW-ish, steep SE, none.
    const HexPos to[] = { { 2, 3 }, { 4, 3 }, { 3, 2 }, { 3, 4 }, { 2, 2 }, { 4, 5 }, { 3, 3 } };
    const HexSide sides[] = { HexSide::North, HexSide::NorthEast, HexSide::SouthEast, HexSide::South,
        HexSide::SouthWest, HexSide::NorthWest };
    struct Case {
        int direction; // -1: the sweep has ended
        const char* steps; // one letter per step of `to`
        const char* directions; // one letter per side of `sides`
    };
    const Case cases[] = {
        { 0, "TFFFTFF", "TFFFFF" },
        { 1, "FTFFFFT", "FFFTFF" },
        { 2, "FFFTFTF", "FFFFTT" },
        { 3, "FFTFFFF", "FTTFFF" },
        { -1, "TTTTTTT", "TTTTTT" },
    };
    CGame& game = Game();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "direction " << c.direction);
        game.ResetSweep();
        if (c.direction < 0) {
            while (game.m_sweep.column != -1)
                game.AdvanceSweepTurning();
        } else {
            game.m_sweepDirection = c.direction;
        }
        for (std::size_t i = 0; i < std::size(to); ++i)
            EXPECT_EQ(game.IsStepAgainstSweep(3, 3, to[i].column, to[i].row), c.steps[i] == 'T') << "step " << i;
        for (std::size_t i = 0; i < std::size(sides); ++i)
            EXPECT_EQ(game.IsDirectionAgainstSweep(sides[i]), c.directions[i] == 'T') << "side " << i;
    }
}

TEST_F(SweepTest, TheMixFollowsTheBattleTimeTheHexAndTheSalt)
{
    CGame& game = Game();
    game.m_map.SetCounter(0x30);
    EXPECT_EQ(game.MixAt(0x1, 0x4, 0x100), 0x135u);
    EXPECT_EQ(game.MixAt(0x1, 0x4, -1), ~0x35u);
    game.m_sweep = HexPos { 2, 1 };
    EXPECT_EQ(game.MixAtCursor(0x8), 0x3bu);
}

// ---- Objectives ----

TEST_F(AiDataTest, ObjectiveListsHoldTheCellsOfEachSidesNations)
{
    AiScenario scenario;
    scenario.Objective(6, 1, 10, kDeNation)
        .Objective(1, 2, 10, kUsNation)
        .Objective(3, 3, 5, -1) // held by no one
        .Objective(4, 4, -3, kUsNation) // an exit hex
        .Objective(1, 0, 10, 9); // Great Britain: side 0
    Load(scenario);
    CGame& game = Game();
    game.BuildObjectiveList(0);
    game.BuildObjectiveList(1);
    auto hexes = [](const HexList& list) {
        std::vector<HexPos> out;
        for (const HexPos& hex : list)
            out.push_back(hex);
        return out;
    };
    EXPECT_EQ(hexes(game.GetObjectiveList(0)), (std::vector<HexPos> { { 1, 0 }, { 1, 2 }, { 4, 4 } }));
    EXPECT_EQ(hexes(game.GetObjectiveList(1)), (std::vector<HexPos> { { 6, 1 } }));
    for (int side : { -1, 2 })
        game.BuildObjectiveList(side);
    EXPECT_EQ(game.GetObjectiveList(0).Count(), 3u) << "no other side's build touches side 0's list";
    game.m_objectives.At(6, 1).nation = kUsNation;
    game.BuildObjectiveList(1);
    EXPECT_TRUE(game.GetObjectiveList(1).IsEmpty()) << "the list is made anew";
}

TEST_F(AiDataTest, ObjectivesScoreTheEnemyNearThemAgainstTheSidesOwnUnits)
{
    m_dir.Write("main.ai", "12 1");
    AiScenario scenario;
    scenario.side = 1;
    scenario.Objective(1, 2, 10, kDeNation).Objective(6, 4, 10, kDeNation).Objective(3, 0, 10, kDeNation);
    // Around (1, 2): two own units, a carrier with its passenger and a
    // leader (all count) against one enemy.
    scenario.Unit(1, 2, kDeGrenadier, 212).Unit(2, 3, kUsHalfTrack, 124).Unit(2, 3, kUsRifle, 122, 4, kUnitCarried);
    scenario.Unit(0, 1, kDeCaptain, 211).Unit(0, 1, kDeGrenadier, 213);
    // Around (6, 4): three enemies, one own unit; one enemy just outside.
    scenario.Unit(7, 5, kUsRifle, 112).Unit(7, 5, kUsRifle, 113).Unit(5, 3, kUsSherman, 123);
    scenario.Unit(6, 5, kDeHmg, 214).Unit(4, 4, kUsRifle, 112);
    // Around (3, 0): as many own units as enemies.
    scenario.Unit(2, 0, kUsRifle, 113).Unit(4, 1, kDeGrenadier, 213);
    Load(scenario);
    CGame& game = Game();
    ASSERT_EQ(game.m_stacks.At(2, 3).Head()->value.m_status & kUnitCarrying, kUnitCarrying);
    game.BuildObjectiveList(1);
    game.ScoreObjectives();
    EXPECT_EQ(Scores(game), (std::vector<int> { -1, 0, 2 })) << "in the list's column order";

    // Scores are kept per objective of the side to move only.
    game.m_map.SetSide(0);
    game.ScoreObjectives();
    EXPECT_TRUE(game.m_objectiveScores.IsEmpty());
}

// ---- Air attacks and the phase's preparation ----

TEST_F(AiDataTest, AirAttacksOfAPhaseSpreadTheStrikesLeft)
{
    const int cases[][2]
        = { { 0, 0 }, { 1, 1 }, { 2, 2 }, { 3, 2 }, { 4, 3 }, { 10, 4 }, { 11, 5 }, { -5, 0 }, { INT_MAX, 65536 } };
    Load(AiScenario());
    CGame& game = Game();
    for (const auto& [strikes, attacks] : cases) {
        game.m_airPower[0] = strikes;
        game.m_airPower[1] = 7;
        game.SetAttacksForPhase();
        EXPECT_EQ(game.m_attacksLeft, attacks) << strikes << " strikes";
    }
    game.m_map.SetSide(1);
    game.SetAttacksForPhase();
    EXPECT_EQ(game.m_attacksLeft, 4) << "the side to move's strikes";
}

TEST_F(AiDataTest, PreparingAPhaseSetsAttacksScoresAndOpensTheReinforcementStage)
{
    AiScenario scenario;
    scenario.airPower[0] = 3;
    scenario.Objective(1, 2, 10, kUsNation).Unit(2, 2, kDeGrenadier, 212);
    Load(scenario);
    CGame& game = Game();
    game.BuildObjectiveList(0);
    game.m_stepFlag = 0;
    game.PrepareMoves();
    EXPECT_EQ(game.m_attacksLeft, 2);
    EXPECT_EQ(Scores(game), std::vector<int> { 1 });
    EXPECT_EQ(game.m_stepFlag, 1);
}

TEST_F(AiDataTest, StatusTextNamesComputerControlOfTheSideToMove)
{
    Load(AiScenario());
    CGame& game = Game();
    String clock;
    game.GetClockText(clock);
    ASSERT_FALSE(clock.IsEmpty());
    const int cases[][3] = { { 0, 0, 0 }, { 1, 0, 1 }, { 2, 0, 1 }, { 0, 2, 0 } };
    for (const auto& [moverMode, otherMode, control] : cases) {
        game.m_aiMode[0] = moverMode;
        game.m_aiMode[1] = otherMode;
        String status;
        game.GetStatusText(status);
        EXPECT_EQ(status.str(), clock.str() + (control ? " A/I Control" : "")) << moverMode << " " << otherMode;
    }
}
