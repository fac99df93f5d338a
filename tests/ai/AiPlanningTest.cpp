// The planning pass: each step on a small battle of its own, then whole
// passes for their draws, their repeatability and the orders they leave.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "model/Clock.h"
#include "model/Random.h"
#include "model/Scramble.h"
#include "tests/ai/AiGame.h"

namespace {

using namespace demo;

// The pass's steps, one at a time.
class PlanningGame : public CGame {
public:
    using CGame::CollectObjectives;
    using CGame::DefendObjectives;
    using CGame::DrawWeightedAttacks;
    using CGame::Formations;
    using CGame::ReviewOrders;
    using CGame::SendIdleFormations;
    using CGame::SpreadAttackers;
    using CGame::StartBanzaiOrRetarget;
    using CGame::TakeEmptyObjectives;
    using CGame::WeighObjectives;
};

std::uint32_t Advance(std::uint32_t state, int draws)
{
    for (int i = 0; i < draws; ++i)
        state = state * 1103515245u + 12345u;
    return state;
}

std::int64_t FixedTime() { return 777; }

// A Japanese battalion beside one American company: the Banzai tests'.
constexpr const char* kBanzaiOrganisation = "1\n300\n7 44\n"
                                            "B1020001 100 6 US battalion\n"
                                            "    C1010001 110 7 Company A\n"
                                            "        P10400 111 8 Captain A\n"
                                            "        P10200 112 7 1st Platoon A\n"
                                            "        End\n"
                                            "    End\n"
                                            "B2120001 300 6 Japanese battalion\n"
                                            "    C2110001 310 8 1st Company\n"
                                            "        P21401 311 8 Leader\n"
                                            "        P21200 312 7 1st Platoon\n"
                                            "        P21200 313 7 2nd Platoon\n"
                                            "        P21200 314 7 3rd Platoon\n"
                                            "        End\n"
                                            "    End\n";
constexpr int kJapaneseLeader = 21401;
constexpr int kJapaneseRifle = 21200;

class AiPlanningTest : public AiGameTest {
protected:
    void TearDown() override { SetTimeSource(nullptr); }

    PlanningGame& Plan()
    {
        if (!m_game)
            m_game = std::make_unique<PlanningGame>();
        return static_cast<PlanningGame&>(*m_game);
    }
    // A fresh game with the scenario; the summaries of side 0 taken.
    PlanningGame& Start(const AiScenario& scenario, int side = 0)
    {
        m_game.reset();
        Plan();
        Load(scenario);
        Plan().ResetSideOrders(side);
        return Plan();
    }
    PlanningGame::Formations Formations(int side)
    {
        PlanningGame::Formations formations;
        ConstOrgNodeList lowest;
        std::as_const(Game().m_orgTree).CollectLowestFormations(lowest);
        for (const OrgNode* node : lowest)
            if (node->GetSide() == side)
                formations.push_back(node);
        return formations;
    }
    void SetOrder(int id, int kind, HexPos target = HexPos { -1, -1 })
    {
        AiOrder order;
        order.orderingNode = Node(id);
        order.SetKind(kind);
        order.SetTarget(target.column, target.row);
        Game().SetOrderTree(Node(id), order);
    }
    int Kind(int id) { return Game().GetOrder(Node(id)).kind; }
    HexPos Target(int id) { return Game().GetOrder(Node(id)).target; }

    // The map as rows of terrain characters (' ' open, 'f' forest, 'w'
    // water), level 0, no features.
    void WriteTerrain(const std::vector<std::string>& rows)
    {
        const int width = static_cast<int>(rows.front().size());
        const int height = static_cast<int>(rows.size());
        std::string text = OpenGroundMapText(width, height);
        std::size_t at = text.find('\n', text.find('\n', text.find('\n') + 1) + 1) + 1;
        for (const std::string& row : rows) {
            text.replace(at, row.size(), row);
            at += row.size() + 1;
        }
        m_dir.Write("ai.map", text);
    }
    static std::vector<std::string> OpenRows(int width, int height)
    {
        return std::vector<std::string>(
            static_cast<std::size_t>(height), std::string(static_cast<std::size_t>(width), ' '));
    }

    // The American platoon types again as Japanese ones (nation 21, side 1).
    void WriteJapaneseTypes()
    {
        std::string out;
        for (std::string line : ReadFileLines(DemoDataFolder() / "platoon10.obx")) {
            DescrambleLine(line);
            if (line.rfind("P10", 0) == 0)
                line.replace(1, 2, "21");
            out += ScrambleLine(line) + '\n';
        }
        m_dir.Write("platoon21.obx", out);
        m_dir.Write("ai.org", kBanzaiOrganisation);
    }
    // A unit with its own rating (the morale check of a Banzai leader).
    static std::string RatedUnit(int x, int y, int type, int node, int rating, std::uint32_t status = 0)
    {
        return "0 " + std::to_string(x) + ' ' + std::to_string(y) + ' ' + std::to_string(type) + ' '
            + std::to_string(node) + " 1 1 4 100 " + std::to_string(rating) + " 0 " + std::to_string(status)
            + " 3 3 3\n";
    }
};

} // namespace

// ---- Objectives and their scores ----

TEST_F(AiPlanningTest, ObjectivesAreScoredBySteadyArmedUnitsAroundThem)
{
    WriteMap(20, 6);
    AiScenario scenario;
    scenario.Objective(10, 3, 10, kUsNation).Objective(2, 1, -3, kDeNation).Objective(2, 4, 0, kUsNation);
    scenario
        .Unit(10, 3, kUsRifle, 112) // +1
        .Unit(11, 3, kUsRifle, 113, 4, kUnitDisrupted) // disrupted: nothing
        .Unit(12, 3, kUsJeep, 124) // unarmed: nothing
        .Unit(9, 2, kDeGrenadier, 212) // -1
        .Unit(16, 5, kDeGrenadier, 213) // six columns away: -1
        .Unit(17, 3, kDeHmg, 214) // seven: nothing
        .Unit(3, 3, kUsRifle, 122); // seven the other way: nothing (+1 for the exit hex)
    PlanningGame& game = Start(scenario);
    const std::vector<AiObjective> objectives = game.CollectObjectives(0);
    ASSERT_EQ(objectives.size(), 2u) << "a cell of value 0 is no objective";
    EXPECT_EQ(objectives[0].column, 2);
    EXPECT_EQ(objectives[0].row, 1);
    EXPECT_EQ(objectives[0].value, -3);
    EXPECT_EQ(objectives[0].GetSide(), 1);
    EXPECT_EQ(objectives[0].score, 1);
    EXPECT_EQ(objectives[1].column, 10);
    EXPECT_EQ(objectives[1].score, -1);
    EXPECT_EQ(objectives[1].GetSide(), 0);
    // Side 1 counts the other way.
    EXPECT_EQ(game.CollectObjectives(1)[1].score, 1);
}

TEST_F(AiPlanningTest, WeightsSpreadTheEnemyObjectivesScoresOverZeroToOne)
{
    struct Case {
        std::vector<int> enemyScores;
        std::vector<double> weights;
    };
    const Case cases[] = {
        { { -3, -1, 1 }, { 0.0, 0.5, 1.0 } },
        { { 2, 2 }, { 1.0, 1.0 } },
        { { -5 }, { 1.0 } },
    };
    for (const Case& c : cases) {
        std::vector<AiObjective> objectives;
        AiObjective own;
        own.nation = kUsNation;
        own.score = 9;
        objectives.push_back(own);
        AiObjective unheld;
        unheld.score = 4;
        objectives.push_back(unheld);
        for (int score : c.enemyScores) {
            AiObjective enemy;
            enemy.nation = kDeNation;
            enemy.score = score;
            objectives.push_back(enemy);
        }
        PlanningGame::WeighObjectives(0, objectives);
        EXPECT_EQ(objectives[0].weight, 0.0) << "own objectives are not drawn";
        EXPECT_EQ(objectives[1].weight, 0.0) << "nor unheld ones";
        for (std::size_t i = 0; i < c.weights.size(); ++i)
            EXPECT_DOUBLE_EQ(objectives[i + 2].weight, c.weights[i]) << i;
    }
}

// ---- Reviewing the orders the formations have ----

TEST_F(AiPlanningTest, WeakFormationsHoldAtTheFitThresholdOrHalfOfIt)
{
    struct Case {
        int kind;
        int fit;
        int unfit;
        int kindAfter;
    };
    const Case cases[] = {
        { 0, 7, 13, 2 }, // 35 percent: w7 / 2
        { 0, 9, 16, 0 }, // 36
        { 4, 7, 13, 2 }, { 4, 9, 16, 4 }, { 1, 7, 3, 2 }, // 70: w7
        { 1, 5, 2, 1 }, // 71
        { 3, 7, 3, 2 }, { 3, 5, 2, 3 }, { 5, 1, 9, 5 }, // a Banzai attack is not reviewed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << ", " << c.fit << " fit of " << c.fit + c.unfit);
        AiScenario scenario;
        for (int i = 0; i < c.fit; ++i)
            scenario.Unit(i % 4, i / 4, kUsRifle, 112);
        for (int i = 0; i < c.unfit; ++i)
            scenario.Eliminated(kUsRifle, 113);
        PlanningGame& game = Start(scenario);
        SetOrder(110, c.kind, HexPos { 6, 4 });
        game.ReviewOrders(0, Formations(0), game.CollectObjectives(0));
        EXPECT_EQ(Kind(110), c.kindAfter);
        EXPECT_EQ(Target(110), c.kindAfter == 2 ? (HexPos { -1, -1 }) : (HexPos { 6, 4 }));
    }
}

TEST_F(AiPlanningTest, OrdersFollowWhoHoldsTheTarget)
{
    struct Case {
        const char* what;
        int kind;
        int cellNation; // -2: no cell
        int cellValue;
        int unitType; // 0: none
        int kindAfter;
    };
    const Case cases[] = {
        { "attack on a hex own units hold", 3, -2, 0, kUsRifle, 2 },
        { "attack on own objective the enemy stands on", 4, kUsNation, 10, kDeGrenadier, 2 },
        { "attack on an empty own objective", 3, kUsNation, 10, 0, 3 },
        { "attack on an enemy objective", 4, kDeNation, 10, kDeGrenadier, 4 },
        { "move to an objective the enemy took", 1, kDeNation, 10, 0, 3 },
        { "lesser move to it", 0, kDeNation, 10, kDeGrenadier, 4 },
        { "the nation of a cell that is no objective", 1, kDeNation, 0, 0, 3 },
        { "move to an own objective", 1, kUsNation, 10, kDeGrenadier, 1 },
        { "move to an unheld objective", 0, -1, 10, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AiScenario scenario;
        scenario.Unit(0, 0, kUsRifle, 112);
        if (c.cellNation != -2)
            scenario.Objective(4, 2, c.cellValue, c.cellNation);
        if (c.unitType != 0)
            scenario.Unit(4, 2, c.unitType, c.unitType == kUsRifle ? 122 : 212);
        PlanningGame& game = Start(scenario);
        SetOrder(110, c.kind, HexPos { 4, 2 });
        game.ReviewOrders(0, Formations(0), game.CollectObjectives(0));
        EXPECT_EQ(Kind(110), c.kindAfter);
        if (c.kindAfter != 2) {
            EXPECT_EQ(Target(110), (HexPos { 4, 2 })) << "the target stays";
        }
    }
}

TEST_F(AiPlanningTest, AnObjectiveWithDefendersToSpareReleasesTheFarthestThatFits)
{
    struct Case {
        const char* what;
        int score;
        int kindB; // of Company B, the farther one
        int unitsB;
        HexPos centreA;
        int holdingA;
        int holdingB;
    };
    const Case cases[] = {
        { "the farther one goes", 3, 1, 2, { 2, 3 }, 1, 2 },
        { "one too many to fit the score", 1, 0, 2, { 2, 3 }, 2, 0 },
        { "no surplus", 0, 1, 1, { 2, 3 }, 1, 1 },
        { "equally far: the first", 3, 0, 1, { 7, 3 }, 2, 0 },
        { "an attacker is not a defender", 3, 3, 1, { 2, 3 }, 2, 3 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteMap(12, 6);
        AiScenario scenario;
        scenario.Objective(4, 3, 10, kUsNation);
        scenario.Unit(c.centreA.column, c.centreA.row, kUsRifle, 112);
        for (int i = 0; i < c.unitsB; ++i)
            scenario.Unit(7, 3, kUsRifle, i == 0 ? 122 : 123);
        PlanningGame& game = Start(scenario);
        SetOrder(110, 1, HexPos { 4, 3 });
        SetOrder(120, c.kindB, HexPos { 4, 3 });
        std::vector<AiObjective> objectives = game.CollectObjectives(0);
        objectives[0].score = c.score;
        game.ReviewOrders(0, Formations(0), objectives);
        EXPECT_EQ(Kind(110), c.holdingA);
        EXPECT_EQ(Kind(120), c.holdingB);
    }
}

// ---- Empty and threatened objectives ----

TEST_F(AiPlanningTest, AnEmptyObjectiveGoesToTheNearestFormationThatCanReachIt)
{
    struct Case {
        const char* what;
        int percent; // the side's computer percentage
        int value;
        int nation;
        bool occupied;
        bool attacked; // Company B already attacks it
        HexPos centreA;
        HexPos objective;
        int kindA; // 2: nothing given
        int draws;
    };
    const Case cases[] = {
        { "percentage 0: the higher attack", 0, 10, kDeNation, false, false, { 2, 3 }, { 6, 3 }, 3, 1 },
        { "percentage 100: the lower", 100, 10, kDeNation, false, false, { 2, 3 }, { 6, 3 }, 4, 1 },
        { "an own exit hex", 0, -2, kUsNation, false, false, { 2, 3 }, { 6, 3 }, 3, 1 },
        { "an enemy exit hex", 0, -2, kDeNation, false, false, { 2, 3 }, { 6, 3 }, 2, 0 },
        { "an unheld one", 0, 10, -1, false, false, { 2, 3 }, { 6, 3 }, 3, 1 },
        { "units stand on it", 0, 10, kDeNation, true, false, { 2, 3 }, { 6, 3 }, 2, 0 },
        { "already attacked", 0, 10, kDeNation, false, true, { 2, 3 }, { 6, 3 }, 2, 0 },
        { "six hexes away", 0, 10, kDeNation, false, false, { 0, 3 }, { 6, 3 }, 3, 1 },
        { "seven", 0, 10, kDeNation, false, false, { 0, 3 }, { 7, 3 }, 2, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteMap(20, 6);
        AiScenario scenario;
        const HexPos objective = c.objective;
        scenario.Objective(objective.column, objective.row, c.value, c.nation);
        scenario.Unit(c.centreA.column, c.centreA.row, kUsRifle, 112);
        scenario.Unit(19, 0, kUsRifle, 122);
        if (c.occupied)
            scenario.Unit(objective.column, objective.row, kDeGrenadier, 212);
        PlanningGame& game = Start(scenario);
        game.m_aiPercent[0] = c.percent;
        if (c.attacked)
            SetOrder(120, 3, objective);
        SetRandomSeed(41);
        game.TakeEmptyObjectives(0, Formations(0), game.CollectObjectives(0));
        EXPECT_EQ(Kind(110), c.kindA);
        if (c.kindA != 2) {
            EXPECT_EQ(Target(110), objective);
        }
        EXPECT_EQ(GlobalRandomGenerator().State(), Advance(41, c.draws)) << "draws";
    }
}

TEST_F(AiPlanningTest, AnEmptyObjectiveIsNotGivenToAFormationTooWeakToReachIt)
{
    AiScenario scenario;
    scenario.Objective(5, 3, 10, kDeNation);
    // 8 of 9 fit: 88 percent, below w8.
    for (int i = 0; i < 8; ++i)
        scenario.Unit(2, i % 6, kUsRifle, 112);
    scenario.Eliminated(kUsRifle, 113);
    // Farther, but fit.
    scenario.Unit(0, 0, kUsRifle, 122);
    PlanningGame& game = Start(scenario);
    game.m_aiPercent[0] = 0;
    game.TakeEmptyObjectives(0, Formations(0), game.CollectObjectives(0));
    EXPECT_EQ(Kind(110), 2);
    EXPECT_EQ(Kind(120), 3);
}

TEST_F(AiPlanningTest, AnOwnObjectiveInDangerOrUncoveredGetsTheNearestFreeFormation)
{
    struct Case {
        const char* what;
        int percent;
        int score; // as scored
        HexPos coverTarget; // Company B's attack target, (-1, -1) none
        int kindA; // Company A's order before
        int kindAfterA;
        int kindAfterB;
        int draws;
    };
    const Case cases[] = {
        { "uncovered, percentage 0", 0, 0, { -1, -1 }, 2, 1, 2, 1 },
        { "uncovered, percentage 100", 100, 0, { -1, -1 }, 2, 0, 2, 1 },
        { "covered within six", 0, 0, { 11, 3 }, 2, 2, 3, 0 },
        { "covered but outnumbered", 0, -1, { 11, 3 }, 2, 1, 3, 1 },
        { "a target seven away does not cover", 0, 0, { 12, 3 }, 2, 1, 3, 1 },
        { "a lesser attack is not free", 0, 0, { -1, -1 }, 4, 4, 1, 1 },
        { "an attack is", 100, 0, { -1, -1 }, 3, 0, 2, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteMap(16, 6);
        AiScenario scenario;
        scenario.Objective(5, 3, 10, kUsNation);
        scenario.Unit(1, 3, kUsRifle, 112);
        scenario.Unit(15, 3, kUsRifle, 122);
        PlanningGame& game = Start(scenario);
        game.m_aiPercent[0] = c.percent;
        SetOrder(110, c.kindA, HexPos { 15, 5 });
        if (c.coverTarget.column >= 0)
            SetOrder(120, 3, c.coverTarget);
        std::vector<AiObjective> objectives = game.CollectObjectives(0);
        objectives[0].score = c.score;
        SetRandomSeed(43);
        game.DefendObjectives(0, Formations(0), objectives);
        EXPECT_EQ(Kind(110), c.kindAfterA);
        EXPECT_EQ(Kind(120), c.kindAfterB);
        EXPECT_EQ(GlobalRandomGenerator().State(), Advance(43, c.draws)) << "draws";
    }
}

TEST_F(AiPlanningTest, AFormationWithoutUnitsDefendsNothing)
{
    AiScenario scenario;
    scenario.Objective(5, 3, 10, kUsNation);
    scenario.Unit(0, 0, kUsRifle, 122);
    PlanningGame& game = Start(scenario);
    game.m_aiPercent[0] = 0;
    game.DefendObjectives(0, Formations(0), game.CollectObjectives(0));
    EXPECT_EQ(Kind(110), 2) << "nearer, but empty";
    EXPECT_EQ(Kind(120), 1);
    EXPECT_EQ(Target(120), (HexPos { 5, 3 }));
}

// ---- Banzai attacks and holding formations ----

TEST_F(AiPlanningTest, AJapaneseFormationNearTheEnemyWithALeaderChargesBanzai)
{
    struct Case {
        const char* what;
        int mover;
        std::string units; // of the Japanese company
        int eliminated;
        bool charges;
    };
    // An American rifle platoon at (6, 3): (5, 3) is 1 hex from it, (4, 3)
    // 2 and (3, 3) 3.
    const Case cases[] = {
        { "half near, with the leader", 1,
            RatedUnit(4, 3, kJapaneseLeader, 311, 10) + RatedUnit(5, 3, kJapaneseRifle, 312, 7)
                + RatedUnit(1, 3, kJapaneseRifle, 313, 7) + RatedUnit(0, 3, kJapaneseRifle, 314, 7),
            0, true },
        { "the leader far", 1,
            RatedUnit(0, 0, kJapaneseLeader, 311, 10) + RatedUnit(5, 3, kJapaneseRifle, 312, 7)
                + RatedUnit(4, 3, kJapaneseRifle, 313, 7) + RatedUnit(1, 3, kJapaneseRifle, 314, 7),
            0, true },
        { "one of four near", 1,
            RatedUnit(4, 3, kJapaneseLeader, 311, 10) + RatedUnit(3, 3, kJapaneseRifle, 312, 7)
                + RatedUnit(1, 3, kJapaneseRifle, 313, 7) + RatedUnit(0, 3, kJapaneseRifle, 314, 7),
            0, false },
        { "a fixed unit is not near", 1,
            RatedUnit(4, 3, kJapaneseLeader, 311, 10) + RatedUnit(5, 3, kJapaneseRifle, 312, 7, kUnitFixed)
                + RatedUnit(1, 3, kJapaneseRifle, 313, 7) + RatedUnit(0, 3, kJapaneseRifle, 314, 7),
            0, false },
        { "no leader", 1, RatedUnit(4, 3, kJapaneseRifle, 312, 7) + RatedUnit(5, 3, kJapaneseRifle, 313, 7), 0, false },
        { "fit 75 percent", 1,
            RatedUnit(4, 3, kJapaneseLeader, 311, 10) + RatedUnit(5, 3, kJapaneseRifle, 312, 7)
                + RatedUnit(5, 3, kJapaneseRifle, 313, 7),
            1, true },
        { "fit 66 percent", 1, RatedUnit(4, 3, kJapaneseLeader, 311, 10) + RatedUnit(5, 3, kJapaneseRifle, 312, 7), 1,
            false },
        { "the Allies to move: refused", 0,
            RatedUnit(4, 3, kJapaneseLeader, 311, 10) + RatedUnit(5, 3, kJapaneseRifle, 312, 7), 0, false },
    };
    WriteJapaneseTypes();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AiScenario scenario;
        scenario.side = c.mover;
        scenario.Unit(6, 3, kUsRifle, 112);
        scenario.sections += c.units;
        for (int i = 0; i < c.eliminated; ++i)
            scenario.Eliminated(kJapaneseRifle, 314);
        PlanningGame& game = Start(scenario, 1);
        game.m_map.SetSide(1);
        game.RebuildEnemyDistanceGrid();
        game.m_map.SetSide(c.mover);
        game.m_banzaiSound = !c.charges;
        SetRandomSeed(47);
        game.StartBanzaiOrRetarget(1, Formations(1), {});
        HexPos leader { -1, -1 };
        for (int x = 0; x < 8; ++x)
            for (int y = 0; y < 6; ++y)
                for (const PlacedUnit& unit : game.m_stacks.At(x, y))
                    if (unit.m_type->IsLeader())
                        leader = HexPos { x, y };
        EXPECT_EQ(game.m_banzaiSound, c.charges);
        EXPECT_EQ(Kind(310), c.charges ? 5 : 2);
        EXPECT_EQ(Target(310), c.charges ? leader : (HexPos { -1, -1 }));
        if (c.charges) {
            bool committed = false;
            for (int x = 0; x < 8; ++x)
                for (int y = 0; y < 6; ++y)
                    for (const PlacedUnit& unit : game.m_stacks.At(x, y))
                        committed = committed || HasStatus(unit, kUnitBanzai);
            EXPECT_TRUE(committed);
            EXPECT_EQ(GlobalRandomGenerator().State(), Advance(47, 1)) << "the leader's morale check";
        }
    }
}

TEST_F(AiPlanningTest, AHoldingFormationGoesForTheNearestObjectiveNotItsOwn)
{
    struct Case {
        const char* what;
        int kind;
        int percent;
        int unfit;
        int kindAfter;
        HexPos target;
        int draws;
    };
    const Case cases[] = {
        { "holding, percentage 0", 2, 0, 0, 3, { 5, 3 }, 1 },
        { "holding, percentage 100", 2, 100, 0, 4, { 5, 3 }, 1 },
        { "a Banzai order ended", 5, 0, 0, 3, { 5, 3 }, 1 },
        { "moving to an own objective", 1, 0, 0, 1, { 0, 5 }, 0 },
        { "too weak to get there", 2, 0, 2, 2, { -1, -1 }, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteMap(12, 6);
        AiScenario scenario;
        scenario
            .Objective(2, 3, 10, kUsNation) // own: never
            .Objective(5, 3, 10, -1) // unheld: no side's, so not its own
            .Objective(8, 3, 10, kDeNation);
        for (int i = 0; i < 9; ++i)
            scenario.Unit(1, i % 6, kUsRifle, 112);
        for (int i = 0; i < c.unfit; ++i)
            scenario.Eliminated(kUsRifle, 113);
        PlanningGame& game = Start(scenario);
        game.m_aiPercent[0] = c.percent;
        SetOrder(110, c.kind, HexPos { 0, 5 });
        SetRandomSeed(53);
        game.StartBanzaiOrRetarget(0, Formations(0), game.CollectObjectives(0));
        EXPECT_EQ(Kind(110), c.kindAfter);
        EXPECT_EQ(Target(110), c.target);
        EXPECT_EQ(GlobalRandomGenerator().State(), Advance(53, c.draws)) << "draws";
        EXPECT_FALSE(game.m_banzaiSound);
    }
}

// ---- Weighted attacks ----

TEST_F(AiPlanningTest, WeightedAttacksGoToEveryHoldingFormationWhileFewerThanFifty)
{
    AiScenario scenario;
    scenario.Objective(6, 2, 10, kDeNation);
    scenario.Unit(1, 1, kUsRifle, 112).Unit(1, 4, kUsRifle, 122).Unit(7, 5, kDeGrenadier, 212);
    PlanningGame& game = Start(scenario);
    game.m_aiPercent[0] = 0;
    std::vector<AiObjective> objectives = game.CollectObjectives(0);
    PlanningGame::WeighObjectives(0, objectives);
    SetRandomSeed(59);
    game.DrawWeightedAttacks(0, objectives);
    EXPECT_EQ(Kind(110), 3);
    EXPECT_EQ(Kind(120), 3);
    EXPECT_EQ(Target(120), (HexPos { 6, 2 }));
    EXPECT_EQ(Kind(210), 2) << "the other side's formation";
    EXPECT_EQ(game.m_planCounter, 2);
    // A draw, two orders; a draw that finds every formation busy.
    EXPECT_EQ(GlobalRandomGenerator().State(), Advance(59, 4));
}

TEST_F(AiPlanningTest, WeightedAttacksWithoutEnemyObjectivesDrawOnceAndGiveNothing)
{
    AiScenario scenario;
    scenario.Objective(6, 2, 10, kUsNation).Objective(6, 4, 10, -1);
    scenario.Unit(1, 1, kUsRifle, 112);
    PlanningGame& game = Start(scenario);
    std::vector<AiObjective> objectives = game.CollectObjectives(0);
    PlanningGame::WeighObjectives(0, objectives);
    SetRandomSeed(61);
    game.DrawWeightedAttacks(0, objectives);
    EXPECT_EQ(Kind(110), 2);
    EXPECT_EQ(GlobalRandomGenerator().State(), Advance(61, 1));
}

TEST_F(AiPlanningTest, WithFiftyFormationsOrMoreOnlyEveryStepthIsConsidered)
{
    // 59 American companies of one rifle platoon each, then one German:
    // 60 lowest formations, so every second one is considered.
    std::string org = "1\n300\n7 44\nB1020001 100 6 US battalion\n";
    for (int i = 0; i < 59; ++i)
        org += "    C1010001 " + std::to_string(1000 + i) + " 7 Company\n        P10200 " + std::to_string(2000 + i)
            + " 7 Rifles\n        End\n";
    org += "    End\nB120001 200 6 German battalion\n    C110001 210 7 Kompanie\n        P1200 212 7 Zug\n"
           "        End\n    End\n";
    m_dir.Write("ai.org", org);
    WriteMap(20, 10);
    AiScenario scenario;
    // Column and row add up to an even number: the walk starts considering.
    scenario.Objective(10, 4, 10, kDeNation);
    for (int i = 0; i < 59; ++i)
        scenario.Unit(4 + i % 12, 2 + i / 12, kUsRifle, 2000 + i);
    PlanningGame& game = Start(scenario);
    game.m_aiPercent[0] = 100;
    std::vector<AiObjective> objectives = game.CollectObjectives(0);
    PlanningGame::WeighObjectives(0, objectives);
    SetRandomSeed(67);
    game.DrawWeightedAttacks(0, objectives);
    for (int i = 0; i < 59; ++i)
        EXPECT_EQ(Kind(1000 + i), i % 2 == 0 ? 4 : 2) << i;
    EXPECT_EQ(game.m_planCounter, 30);
    // 30 orders: the counter keeps the parity, the second round finds the
    // same formations busy.
    EXPECT_EQ(GlobalRandomGenerator().State(), Advance(67, 1 + 30 + 1));
}

// ---- Idle formations and the spread of attackers ----

TEST_F(AiPlanningTest, AnIdleFitFormationMovesToItsNearestOwnObjectiveWhenFarFromIt)
{
    struct Case {
        const char* what;
        int kind;
        int unfit; // of 10
        HexPos objective;
        int kindAfter;
    };
    const Case cases[] = {
        { "seven hexes away", 2, 0, { 8, 1 }, 1 },
        { "six", 2, 0, { 7, 1 }, 2 },
        { "90 percent fit", 2, 1, { 8, 1 }, 1 },
        { "80 percent", 2, 2, { 8, 1 }, 2 },
        { "not idle", 3, 0, { 8, 1 }, 3 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteMap(16, 6);
        AiScenario scenario;
        scenario.Objective(c.objective.column, c.objective.row, 10, kUsNation)
            .Objective(c.objective.column + 2, c.objective.row, 10, kUsNation)
            .Objective(3, 1, 10, kDeNation);
        for (int i = 0; i < 10 - c.unfit; ++i)
            scenario.Unit(1, 1, kUsRifle, 112);
        for (int i = 0; i < c.unfit; ++i)
            scenario.Eliminated(kUsRifle, 113);
        PlanningGame& game = Start(scenario);
        SetOrder(110, c.kind, HexPos { 0, 5 });
        SetRandomSeed(71);
        game.SendIdleFormations(0, Formations(0), game.CollectObjectives(0));
        EXPECT_EQ(Kind(110), c.kindAfter);
        if (c.kindAfter == 1) {
            EXPECT_EQ(Target(110), c.objective);
        }
        EXPECT_EQ(GlobalRandomGenerator().State(), 71u) << "no draws";
    }
}

TEST_F(AiPlanningTest, ASecondAttackerSpreadsToCoverFourToSixHexesFromTheObjective)
{
    struct Case {
        const char* what;
        std::vector<HexPos> forests;
        std::vector<HexPos> water;
        std::uint32_t flags; // on the forests
        HexPos target; // of Company B
    };
    const HexPos objective { 6, 6 };
    const Case cases[] = {
        { "forest five away", { { 11, 6 } }, {}, 0, { 11, 6 } },
        { "forest three and seven away", { { 9, 6 }, { 6, 13 } }, {}, 0, objective },
        { "water only", {}, { { 11, 6 } }, 0, objective },
        { "mined forest", { { 11, 6 } }, {}, CGameData::kHexMinefield2, objective },
        { "a blocked forest is no minefield", { { 11, 6 } }, {}, CGameData::kHexBlocked, { 11, 6 } },
        { "open ground only", {}, {}, 0, objective },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> rows = OpenRows(14, 14);
        for (const HexPos& hex : c.forests)
            rows[static_cast<std::size_t>(hex.row)][static_cast<std::size_t>(hex.column)] = 'f';
        for (const HexPos& hex : c.water)
            rows[static_cast<std::size_t>(hex.row)][static_cast<std::size_t>(hex.column)] = 'w';
        WriteTerrain(rows);
        AiScenario scenario;
        scenario.Objective(objective.column, objective.row, 10, kDeNation);
        PlanningGame& game = Start(scenario);
        for (const HexPos& hex : c.forests)
            game.m_hexFlags.At(hex.column, hex.row) |= static_cast<int>(c.flags);
        SetOrder(110, 3, objective);
        SetOrder(120, 4, objective);
        SetRandomSeed(73);
        game.SpreadAttackers(Formations(0), game.CollectObjectives(0));
        EXPECT_EQ(Target(110), objective) << "the first attacker keeps it";
        EXPECT_EQ(Target(120), c.target);
        EXPECT_EQ(Kind(120), 4) << "the kind stays";
        EXPECT_EQ(GlobalRandomGenerator().State(), 73u) << "a private generator";
    }
}

TEST_F(AiPlanningTest, SpreadTargetsAreDrawnOnTheClockUniformlyInScanOrder)
{
    std::vector<std::string> rows = OpenRows(14, 14);
    // Three forests at distance 4 to 6, in scan order.
    const std::vector<HexPos> forests { { 1, 6 }, { 6, 1 }, { 11, 6 } };
    for (const HexPos& hex : forests)
        rows[static_cast<std::size_t>(hex.row)][static_cast<std::size_t>(hex.column)] = 'f';
    WriteTerrain(rows);
    AiScenario scenario;
    scenario.Objective(6, 6, 10, kDeNation);
    PlanningGame& game = Start(scenario);
    SetOrder(110, 3, HexPos { 6, 6 });
    SetOrder(120, 3, HexPos { 6, 6 });
    SetTimeSource(FixedTime);
    game.SpreadAttackers(Formations(0), game.CollectObjectives(0));
    CRandomGenerator replay(static_cast<std::uint32_t>(FixedTime()));
    HexPos expected { -1, -1 };
    for (std::size_t k = 1; k <= forests.size(); ++k)
        if (replay.Next() < 1.0 / static_cast<double>(k))
            expected = forests[k - 1];
    EXPECT_EQ(Target(120), expected);
    EXPECT_EQ(Target(110), (HexPos { 6, 6 }));
}

// ---- Whole passes ----

TEST_F(AiPlanningTest, ABattleWithoutObjectivesOnlyReviewsOrdersAndDrawsOnce)
{
    AiScenario scenario;
    for (int i = 0; i < 7; ++i)
        scenario.Unit(i, 1, kUsRifle, 112);
    for (int i = 0; i < 13; ++i)
        scenario.Eliminated(kUsRifle, 113);
    scenario.Unit(3, 4, kUsRifle, 122).Unit(7, 5, kDeGrenadier, 212);
    PlanningGame& game = Start(scenario);
    SetOrder(110, 0, HexPos { 5, 5 });
    SetRandomSeed(79);
    game.PlanSide(0);
    EXPECT_EQ(Kind(110), 2) << "35 percent fit";
    EXPECT_EQ(Kind(120), 2);
    EXPECT_EQ(Kind(210), 2);
    EXPECT_EQ(GlobalRandomGenerator().State(), Advance(79, 1)) << "the draw of the weighted attacks";
}

TEST_F(AiPlanningTest, OrdersOfAFormationAboveCompaniesAreWrittenDownItsTree)
{
    // A battalion of platoons is a lowest formation of level 2.
    m_dir.Write("ai.org",
        "1\n300\n7 44\n"
        "B1020001 100 6 US battalion\n"
        "    P10200 101 7 1st Platoon\n"
        "    P10200 102 7 2nd Platoon\n"
        "    End\n"
        "C110001 210 7 5. Kompanie\n"
        "    P1200 212 7 1. Zug\n"
        "    End\n");
    AiScenario scenario;
    scenario.Objective(6, 2, 10, kDeNation);
    scenario.Unit(1, 1, kUsRifle, 101).Unit(1, 2, kUsRifle, 102).Unit(6, 4, kDeGrenadier, 212);
    PlanningGame& game = Start(scenario);
    game.m_aiPercent[0] = 0;
    game.PlanSide(0);
    const AiOrder battalion = game.GetOrder(Node(100));
    ASSERT_EQ(battalion.kind, 3);
    EXPECT_EQ(battalion.target, (HexPos { 6, 2 }));
    for (int id : { 101, 102 }) {
        const AiOrder platoon = game.GetOrder(Node(id));
        EXPECT_EQ(platoon.kind, 3) << id;
        EXPECT_EQ(platoon.target, (HexPos { 6, 2 })) << id;
        EXPECT_EQ(platoon.orderingNode, Node(100)) << id;
    }
}

TEST_F(AiPlanningTest, TheSameSeedAndClockPlanAlikeAndANewBattleRestartsTheCounter)
{
    AiScenario scenario;
    scenario.Objective(6, 2, 10, kDeNation).Objective(1, 4, 10, kUsNation).Objective(7, 0, 10, kDeNation);
    scenario.Unit(1, 1, kUsRifle, 112).Unit(2, 1, kUsRifle, 113).Unit(1, 4, kUsSherman, 123);
    scenario.Unit(6, 2, kDeGrenadier, 212).Unit(6, 3, kDeHmg, 214);
    SetTimeSource(FixedTime);
    std::string saved[2];
    std::uint32_t states[2];
    for (int run = 0; run < 2; ++run) {
        Start(scenario);
        SetRandomSeed(83);
        Game().PlanSide(0);
        Game().PlanSide(1);
        saved[run] = Saved();
        states[run] = GlobalRandomGenerator().State();
    }
    EXPECT_EQ(saved[0], saved[1]);
    EXPECT_EQ(states[0], states[1]);
    int given = 0;
    for (const AiOrder& order : Game().m_orders)
        given += order.kind != kAiOrderHold ? 1 : 0;
    EXPECT_GT(given, 0);

    Game().m_planCounter = 5;
    std::istringstream in(saved[0]);
    ASSERT_TRUE(Game().ReadBattle(in, true));
    EXPECT_EQ(Game().m_planCounter, 0) << "a battle read starts the counter again";
}
