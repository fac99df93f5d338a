// The computer's group moves: gathering a formation's group, the walk toward
// a destination with its stop rule and unforced stops, the approach hex,
// double time, vehicles keeping fire points, unloading and removal at an
// exit hex, and the group reports.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/Geometry.h"
#include "tests/ai/AiMoveGroupFixture.h"

namespace {

using namespace demo;

class AiMoveGroupTest : public AiMoveTest { };

} // namespace

// ---- Gathering ----

TEST_F(AiMoveGroupTest, GatheringTakesTheFormationsMoversTopFirstWithinTheStackingLimit)
{
    struct Case {
        const char* what;
        int kind;
        std::vector<int> strengths; // Shermans of Company B, top first
        std::vector<int> expected;
    };
    const Case cases[] = {
        { "all fit", 3, { 10, 10, 10, 10 }, { 1, 2, 3, 4 } },
        { "exactly the limit", 3, { 20, 20 }, { 1, 2 } },
        { "the first unit that does not fit ends the gathering", 3, { 15, 15, 15, 5 }, { 1, 2 } },
        { "none fits", 3, { 41, 5 }, {} },
    };
    for (const Case& c : cases) {
        AiScenario scenario;
        for (int strength : c.strengths)
            scenario.Unit(3, 3, kUsSherman, 123, strength);
        CGame& game = Start(scenario);
        ASSERT_EQ(game.m_parameters.m_maxStackStrength, 40);
        game.GatherFormationGroup(3, 3, Node(120), c.kind);
        EXPECT_EQ(game.m_movedUnits, c.expected) << c.what;
    }
}

TEST_F(AiMoveGroupTest, FormationMoversByKindStateAndType)
{
    struct Case {
        const char* what;
        int type;
        int node;
        std::uint32_t status;
        int kind;
        bool mover;
    };
    const Case cases[] = {
        { "a rifle platoon of the formation", kUsRifle, 122, 0, 3, true },
        { "another formation's unit", kUsRifle, 112, 0, 3, false },
        { "disrupted, attacking", kUsRifle, 122, kUnitDisrupted, 3, false },
        { "disrupted, all-out attack", kUsRifle, 122, kUnitDisrupted, 4, true },
        { "a disrupted leader always goes", kUsCaptain, 121, kUnitDisrupted, 3, true },
        { "unarmed, attacking", kUsJeep, 122, 0, 3, false },
        { "unarmed, approaching", kUsJeep, 122, 0, 0, true },
        { "an empty carrier of hard type", kUsHalfTrack, 124, 0, 3, true },
        { "indirect fire", 10300, 122, 0, 3, false },
        { "fixed", kUsRifle, 122, kUnitFixed, 3, false },
    };
    for (const Case& c : cases) {
        AiScenario scenario;
        scenario.Unit(3, 3, c.type, c.node, 4, c.status);
        CGame& game = Start(scenario);
        EXPECT_EQ(game.IsFormationMover(3, 3, 1, Node(120), c.kind), c.mover) << c.what;
    }
}

TEST_F(AiMoveGroupTest, ALoadedCarrierBringsItsPassengerAndKeepsPointsForUnloadingNearTheEnemy)
{
    for (const bool enemy : { false, true }) {
        AiScenario scenario;
        scenario
            .Unit(1, 2, kUsRifle, 113) // another formation
            .Unit(1, 2, kUsHalfTrack, 124)
            .Unit(1, 2, kUsRifle, 122, 4, kUnitCarried)
            .Unit(1, 2, kUsSherman, 123);
        if (enemy)
            scenario.Unit(7, 2, kDeGrenadier, 212);
        CGame& game = Start(scenario);
        game.GatherFormationGroup(1, 2, Node(120), 3);
        EXPECT_EQ(game.m_movedUnits, (std::vector<int> { 2, 3, 4 }));
        const PlacedUnit& carrier = game.GetStackNode(1, 2, 2)->value;
        EXPECT_EQ(HasStatus(carrier, kUnitSavedForUnloading), enemy) << "enemy " << enemy;
    }
}

TEST_F(AiMoveGroupTest, AGroupHoldsAtMostOneHundredUnitsAndNeverSplitsACarrierFromItsPassenger)
{
    for (const int singles : { 120, 99 }) {
        AiScenario scenario;
        for (int i = 0; i < singles; ++i)
            scenario.Unit(3, 3, kUsRifle, 122, 1);
        scenario.Unit(3, 3, kUsHalfTrack, 124, 1).Unit(3, 3, kUsRifle, 122, 1, kUnitCarried);
        CGame& game = Start(scenario);
        game.m_parameters.m_maxStackStrength = 100000;
        game.GatherFormationGroup(3, 3, Node(120), 3);
        ASSERT_EQ(game.m_movedUnits.size(), singles == 120 ? 100u : 99u) << singles;
        for (std::size_t i = 0; i < game.m_movedUnits.size(); ++i)
            EXPECT_EQ(game.m_movedUnits[i], static_cast<int>(i) + 1);
        std::vector<int> mines;
        EXPECT_EQ(game.GetMineAttacks(mines), static_cast<int>(game.m_movedUnits.size()));
        EXPECT_EQ(mines, game.m_movedUnits) << "the whole list is handed out";
    }
}

// ---- The walk ----

TEST_F(AiMoveGroupTest, TheStopRuleHaltsAGroupBeforeItClosesInBelowItsThreshold)
{
    // The enemy at (7, 2); the destination four hexes from it.
    struct Case {
        int startX;
        int threshold;
        int endEnemyDistance; // 0: no step
    };
    const Case cases[] = {
        { 0, 12, 0 }, // the horizon: not even the first step
        { 0, 4, 4 }, { 0, 3, 3 }, { 0, 0, 3 }, // E is never below 0
        { 4, 3, 2 }, // another threshold never stops the first step
    };
    for (const Case& c : cases) {
        AiScenario scenario;
        scenario.Unit(c.startX, 2, kUsSherman, 123).Unit(7, 2, kDeGrenadier, 212);
        CGame& game = Start(scenario);
        std::vector<HexPos> walked;
        const bool moved = Walk(c.startX, 2, { 1 }, { c.startX == 0 ? 4 : 6, 2 }, c.threshold, false, &walked);
        EXPECT_EQ(moved, c.endEnemyDistance != 0) << c.startX << " T " << c.threshold;
        if (!moved) {
            EXPECT_TRUE(walked.empty());
            EXPECT_EQ(Where(kUsSherman), (HexPos { c.startX, 2 }));
            continue;
        }
        const HexPos end = Where(kUsSherman);
        EXPECT_EQ(game.GetEnemyDistance(end.column, end.row), c.endEnemyDistance) << c.startX << " T " << c.threshold;
        ASSERT_FALSE(walked.empty());
        EXPECT_EQ(walked.front(), (HexPos { c.startX, 2 }));
        EXPECT_EQ(walked.back(), end);
        for (std::size_t i = 1; i < walked.size(); ++i)
            EXPECT_EQ(HexDistance(walked[i - 1].column, walked[i - 1].row, walked[i].column, walked[i].row), 1);
    }
}

TEST_F(AiMoveGroupTest, UnforcedStopsHaltTheWalkAndAForcedChargeIgnoresThem)
{
    // A tank from (0, 2) toward (4, 2): each obstacle stops it short.
    enum Obstacle { kShallowWater, kStacking, kDanger };
    struct Case {
        const char* what;
        Obstacle obstacle;
        HexPos destination;
    };
    const Case cases[] = {
        { "shallow water ahead", kShallowWater, { 4, 2 } },
        { "stacking in the open beside units that moved", kStacking, { 3, 2 } },
        { "beside a gun of range 1 against hard targets", kDanger, { 4, 2 } },
    };
    for (const Case& c : cases) {
        for (const bool forced : { false, true }) {
            if (c.obstacle == kShallowWater)
                WriteTerrain({ "  h     ", "  h     ", "  h     ", "  h     ", "  h     ", "  h     " });
            else
                WriteMap(8, 6);
            AiScenario scenario;
            scenario.Unit(0, 2, kUsSherman, 123, 15);
            if (c.obstacle == kStacking)
                scenario.Unit(3, 2, kUsRifle, 112, 10, kUnitMoved); // 25 above 40 / 2
            if (c.obstacle == kDanger)
                scenario.Unit(5, 2, 1700, 212);
            Start(scenario);
            std::vector<HexPos> walked;
            ASSERT_TRUE(Walk(0, 2, { 1 }, c.destination, 0, forced, &walked)) << c.what;
            const HexPos end = Where(kUsSherman);
            EXPECT_EQ(walked.back(), end);
            if (forced) {
                EXPECT_EQ(end, c.destination) << c.what << ", forced";
            } else if (c.obstacle == kShallowWater) {
                EXPECT_EQ(end.column, 1) << c.what;
            } else {
                EXPECT_EQ(HexDistance(end.column, end.row, c.destination.column, c.destination.row), 1) << c.what;
            }
        }
    }
}

TEST_F(AiMoveGroupTest, StackingAboveTheBoundStillEntersWhereNoUnitHasMoved)
{
    AiScenario scenario;
    scenario.Unit(0, 2, kUsSherman, 123, 15).Unit(3, 2, kUsRifle, 112, 10);
    CGame& game = Start(scenario);
    game.m_movedUnits = { 1 };
    EXPECT_TRUE(game.MayGroupEnter(2, 2, 3, 2)) << "nothing there moved this phase";
    game.m_stacks.At(3, 2).Head()->value.m_status |= kUnitMoved;
    game.m_movedUnits = { 1 };
    EXPECT_FALSE(game.MayGroupEnter(0, 2, 3, 2));
    game.m_stacks.At(0, 2).Head()->value.m_strength = 10; // 20: within half the limit
    EXPECT_TRUE(game.MayGroupEnter(0, 2, 3, 2));
}

TEST_F(AiMoveGroupTest, AGroupDoesNotLeaveAnObjectiveOrPositionEmptyUnlessVehiclesMove)
{
    struct Case {
        const char* what;
        int objective;
        int flags;
        bool second;
        bool vehicles;
        bool mayLeave;
    };
    const Case cases[] = {
        { "plain ground", 0, 0, false, false, true },
        { "an objective", 1, 0, false, false, false },
        { "an exit objective", -1, 0, false, false, true },
        { "an improved position", 0, 0x10, false, false, false },
        { "a pillbox", 0, 0x400, false, false, false },
        { "a smoke-covered hex", 0, 0x1000, false, false, true },
        { "an objective with a unit staying", 1, 0, true, false, true },
        { "an objective, vehicles moving", 1, 0, false, true, true },
    };
    for (const Case& c : cases) {
        AiScenario scenario;
        scenario.Unit(3, 3, kUsRifle, 112);
        if (c.second)
            scenario.Unit(3, 3, kUsRifle, 113);
        if (c.objective != 0)
            scenario.Objective(3, 3, c.objective, kUsNation);
        CGame& game = Start(scenario);
        game.m_hexFlags.At(3, 3) = c.flags;
        game.m_movedUnits = { 1 };
        EXPECT_EQ(game.MayGroupLeave(3, 3, c.vehicles), c.mayLeave) << c.what;
        if (!c.mayLeave) {
            HexList hexes;
            EXPECT_FALSE(game.MoveGroupToward(3, 3, { 2, 3 }, 0, false, hexes)) << c.what;
            EXPECT_FALSE(game.MoveGroupToward(3, 3, { 2, 3 }, 0, true, hexes)) << c.what << ", even forced";
            EXPECT_TRUE(hexes.IsEmpty());
        }
    }
}

TEST_F(AiMoveGroupTest, MineClearersStayInAMinedOrBlockedHexUnlessForced)
{
    for (const int flags : { 0, 0x1, 0x4, 0x800, 0x8 }) { // the last: a blocked hex
        for (const bool forced : { false, true }) {
            AiScenario scenario;
            scenario.Unit(3, 3, 10201, 112); // engineers
            CGame& game = Start(scenario);
            game.m_hexFlags.At(3, 3) = flags;
            const bool moved = Walk(3, 3, { 1 }, { 2, 3 }, 0, forced);
            EXPECT_EQ(moved, flags == 0 || forced) << flags << " forced " << forced;
        }
    }
}

TEST_F(AiMoveGroupTest, DangerousStepsForHardTargets)
{
    {
        AiScenario scenario;
        scenario.Unit(3, 2, kUsSherman, 123).Unit(3, 4, kUsJeep, 122).Unit(5, 2, 1700, 212);
        CGame& game = Start(scenario);
        game.m_movedUnits = { 1 };
        EXPECT_TRUE(game.IsDangerousStep(3, 2, 4, 2)) << "beside a gun of range 1 against hard targets";
        EXPECT_FALSE(game.IsDangerousStep(3, 2, 2, 2));
        EXPECT_FALSE(game.IsDangerousStep(3, 4, 4, 3)) << "a soft group";
    }
    {
        AiScenario scenario;
        scenario.Unit(0, 2, kUsSherman, 123).Unit(4, 2, 1000, 212); // a tank: range 9 against hard targets
        CGame& game = Start(scenario);
        game.m_movedUnits = { 1 };
        EXPECT_TRUE(game.IsDangerousStep(0, 2, 1, 2)) << "closing in within half its range";
        EXPECT_FALSE(game.IsDangerousStep(0, 2, 0, 1)) << "not closing in";
    }
}

TEST_F(AiMoveGroupTest, VehiclesNearTheEnemyKeepPointsForFiring)
{
    struct Case {
        const char* what;
        int type;
        bool enemy;
        bool saved;
    };
    const Case cases[] = {
        { "a tank near the enemy", kUsSherman, true, true },
        { "a tank with no enemy in sight", kUsSherman, false, false },
        { "a half-track: its fire costs 36 or more", kUsHalfTrack, true, false },
        { "foot units are no vehicles", kUsRifle, true, false },
    };
    for (const Case& c : cases) {
        AiScenario scenario;
        scenario.Unit(0, 2, c.type, 123);
        if (c.enemy)
            scenario.Unit(7, 5, kDeGrenadier, 212);
        CGame& game = Start(scenario);
        Walk(0, 2, { 1 }, { 1, 2 }, 0, false);
        const HexPos at = Where(c.type);
        const PlacedUnit& unit = game.m_stacks.At(at.column, at.row).Head()->value;
        EXPECT_EQ(HasStatus(unit, kUnitSavedForFiring), c.saved) << c.what;
    }
}

TEST_F(AiMoveGroupTest, FootUnitsRunAShortRouteAtDoubleTimeFarFromTheEnemy)
{
    struct Case {
        HexPos destination;
        bool enemyNear;
        bool doubleTime;
    };
    const Case cases[] = {
        { { 2, 2 }, false, true }, // three hexes
        { { 3, 2 }, false, true }, // four
        { { 1, 2 }, false, false }, // two
        { { 5, 2 }, false, false }, // six
        { { 2, 2 }, true, false }, // the enemy four hexes away
    };
    for (const Case& c : cases) {
        AiScenario scenario;
        scenario.Unit(0, 2, kUsRifle, 112);
        if (c.enemyNear)
            scenario.Unit(4, 2, kDeGrenadier, 212);
        CGame& game = Start(scenario);
        Walk(0, 2, { 1 }, c.destination, 0, false);
        const HexPos at = Where(kUsRifle);
        const PlacedUnit& unit = game.m_stacks.At(at.column, at.row).Head()->value;
        EXPECT_EQ(HasStatus(unit, kUnitDoubleTime), c.doubleTime) << c.destination.column << ' ' << c.enemyNear;
    }
}

TEST_F(AiMoveGroupTest, PassengersGetOffWhereTheEnemyIsNear)
{
    for (const bool enemy : { false, true }) {
        AiScenario scenario;
        scenario.Unit(0, 2, kUsHalfTrack, 124).Unit(0, 2, kUsRifle, 122, 4, kUnitCarried);
        if (enemy)
            scenario.Unit(5, 2, kDeGrenadier, 212);
        CGame& game = Start(scenario);
        ASSERT_TRUE(Walk(0, 2, { 1, 2 }, { 3, 2 }, 0, false));
        const HexPos at = Where(kUsHalfTrack);
        ASSERT_EQ(at, (HexPos { 3, 2 }));
        const PlacedUnit& rifle = game.m_stacks.At(3, 2).Last()->value;
        EXPECT_EQ(HasStatus(rifle, kUnitCarried), !enemy) << "E 2 at the end: unload";
    }
}

TEST_F(AiMoveGroupTest, AGroupReachingItsSidesExitHexLeavesTheMap)
{
    struct Case {
        const char* what;
        int nation;
        bool hidden;
        bool removed;
        const char* tail;
    };
    const Case cases[] = {
        { "own exit, seen", kUsNation, false, true, " to hex at 7, 2\nRemoving units from map" },
        { "own exit, unseen", kUsNation, true, true, " to unknown location" },
        { "the enemy's exit", kDeNation, false, false, " to hex at 7, 2" },
        { "an exit nobody holds", -1, false, false, " to hex at 7, 2" },
    };
    for (const Case& c : cases) {
        AiScenario scenario;
        scenario.Unit(4, 2, kUsSherman, 123).Objective(7, 2, -5, c.nation);
        CGame& game = Start(scenario);
        if (c.hidden) {
            game.m_infoHidden = 1;
            game.SetSideFogOfWar(0, 1);
        }
        ASSERT_TRUE(Walk(4, 2, { 1 }, { 7, 2 }, 0, false)) << c.what;
        EXPECT_EQ(Where(kUsSherman).column == -1, c.removed) << c.what;
        EXPECT_EQ(game.m_exited.IsEmpty(), !c.removed) << c.what;
        const std::string report = game.m_report.str();
        const std::string tail = c.tail;
        ASSERT_GE(report.size(), tail.size());
        EXPECT_EQ(report.substr(report.size() - tail.size()), tail) << c.what;
    }
}

TEST_F(AiMoveGroupTest, GroupReportsAsTheSideToMoveMaySeeThem)
{
    struct Case {
        const char* what;
        bool fog;
        bool infoHidden;
        bool contactStart;
        bool contactEnd;
        const char* report;
    };
    const Case cases[] = {
        { "everything seen", false, false, false, false,
            "Moving units:\n    M4A1 Sherman Platoon\n    M3 Half-track Section\n    Rifle Platoon\nfrom hex at 0, 2 "
            "to hex at 1, 2" },
        { "hexes seen, units hidden", true, true, true, true, "Moving units:\nfrom hex at 0, 2 to hex at 1, 2" },
        { "fog alone hides no names", true, false, true, true,
            "Moving units:\n    M4A1 Sherman Platoon\n    M3 Half-track Section\n    Rifle Platoon\nfrom hex at 0, 2 "
            "to hex at 1, 2" },
        { "the start unseen", true, true, false, true, "Moving units from unknown location\n to hex at 1, 2" },
        { "nothing seen", true, true, false, false, "Moving units from unknown location\n to unknown location" },
        { "the end unseen", true, true, true, false, "Moving units:\nfrom hex at 0, 2 to unknown location" },
    };
    for (const Case& c : cases) {
        AiScenario scenario;
        scenario.Unit(0, 2, kUsSherman, 123).Unit(0, 2, kUsHalfTrack, 124).Unit(0, 2, kUsRifle, 122, 4, kUnitCarried);
        CGame& game = Start(scenario);
        game.m_infoHidden = c.infoHidden ? 1 : 0;
        game.SetSideFogOfWar(0, c.fog ? 1 : 0);
        if (c.contactStart)
            game.SetContact(0, 2, 1, 1, 1);
        if (c.contactEnd)
            game.SetContact(1, 2, 1, 1, 1);
        game.m_movedUnits = { 1, 2, 3 };
        HexList hexes;
        ASSERT_TRUE(game.MoveGroupToward(0, 2, { 1, 2 }, 0, false, hexes)) << c.what;
        EXPECT_EQ(game.m_report.str(), c.report) << c.what;
        EXPECT_EQ(Hexes(hexes), (std::vector<HexPos> { { 0, 2 }, { 1, 2 } })) << c.what;
    }
}

TEST_F(AiMoveGroupTest, AGroupThatTakesNoStepLeavesTheCallersHexesAsTheyWere)
{
    AiScenario scenario;
    scenario.Unit(3, 3, kUsSherman, 123);
    CGame& game = Start(scenario);
    HexList hexes;
    AppendHexListNode(hexes, 5, 5);
    game.m_movedUnits = { 1 };
    EXPECT_FALSE(game.MoveGroupToward(3, 3, { 3, 3 }, 0, false, hexes)) << "the destination is the start";
    EXPECT_EQ(Hexes(hexes), (std::vector<HexPos> { { 5, 5 } }));
    game.m_movedUnits = { 1 };
    EXPECT_TRUE(game.MoveGroupToward(3, 3, { 4, 3 }, 0, false, hexes));
    EXPECT_EQ(Hexes(hexes), (std::vector<HexPos> { { 5, 5 }, { 3, 3 }, { 4, 3 } }));
}

// ---- The approach hex ----

TEST_F(AiMoveGroupTest, AnAttackOnAnEnemyHexApproachesThroughCover)
{
    struct Case {
        const char* what;
        int type;
        int defender;
        std::vector<std::string> terrain;
        HexPos expected;
    };
    const std::vector<std::string> open(6, "        ");
    const std::vector<std::string> wood = { "        ", "        ", "    \"   ", "        ", "        ", "        " };
    const Case cases[] = {
        { "open ground: straight at it", kUsJeep, kDeGrenadier, open, { 6, 2 } },
        { "a wood on the way", kUsJeep, kDeGrenadier, wood, { 4, 2 } },
        { "hard targets go straight", kUsSherman, kDeGrenadier, wood, { 6, 2 } },
    };
    for (const Case& c : cases) {
        WriteTerrain(c.terrain);
        AiScenario scenario;
        scenario.Unit(0, 2, c.type, 122).Unit(6, 2, c.defender, 212);
        CGame& game = Start(scenario);
        game.m_movedUnits = { 1 };
        const std::uint32_t before = GlobalRandomGenerator().State();
        EXPECT_EQ(game.AdjustApproachHex(0, 2, { 6, 2 }), c.expected) << c.what;
        EXPECT_EQ(GlobalRandomGenerator().State(), before) << c.what << ": no draw";
    }
    // Not an enemy hex: no change.
    WriteTerrain(wood);
    AiScenario scenario;
    scenario.Unit(0, 2, kUsJeep, 122).Unit(6, 2, kUsRifle, 112);
    CGame& game = Start(scenario);
    game.m_movedUnits = { 1 };
    EXPECT_EQ(game.AdjustApproachHex(0, 2, { 6, 2 }), (HexPos { 6, 2 }));
}

TEST_F(AiMoveGroupTest, AGroupInCoverThatCanFireAtTheEnemyStaysNineTimesInTen)
{
    // Rifles in a wood three hexes from grenadiers in the open.
    const std::vector<std::string> wood = { "        ", "        ", "   \"    ", "        ", "        ", "        " };
    struct Case {
        const char* what;
        std::uint32_t defenderStatus;
        double draw; // the value the shared generator gives next
        bool draws;
        HexPos expected;
    };
    const Case cases[] = {
        { "a draw below 0.9: stay", 0, 0.5, true, { 3, 2 } },
        { "a draw of 0.9 or more: go", 0, 0.95, true, { 6, 2 } },
        { "a disrupted defender: go, no draw", kUnitDisrupted, 0.5, false, { 6, 2 } },
    };
    for (const Case& c : cases) {
        WriteTerrain(wood);
        AiScenario scenario;
        scenario.Unit(3, 2, kUsRifle, 112).Unit(6, 2, kDeGrenadier, 212, 4, c.defenderStatus);
        CGame& game = Start(scenario);
        game.m_movedUnits = { 1 };
        // A seed whose first value lies on the wanted side of 0.9.
        std::uint32_t s = 1;
        while ((CRandomGenerator(s).Next() < 0.9) != (c.draw < 0.9))
            ++s;
        CRandomGenerator& generator = GlobalRandomGenerator();
        generator.SetState(s);
        EXPECT_EQ(game.AdjustApproachHex(3, 2, { 6, 2 }), c.expected) << c.what;
        EXPECT_EQ(generator.State() != s, c.draws) << c.what;
    }
}
