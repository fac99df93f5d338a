// The computer's single-unit actions: the enemy tests, loading and
// unloading, indirect-fire units, reinforcements, removal, the one-hex steps,
// sailing and digging in, with their report texts.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/Geometry.h"
#include "model/Random.h"
#include "tests/ai/AiGame.h"

namespace {

using namespace demo;

class AiMoveUnitTest : public AiGameTest {
protected:
    // Loads the scenario (side 0 to move unless it says otherwise) with no
    // enemy near anywhere; tests set the distances they need.
    void Prepare(const AiScenario& scenario)
    {
        Load(scenario);
        Game().RebuildEnemyDistanceGrid();
    }
    // The grid holds the horizon less the distance.
    void SetEnemyDistance(int x, int y, int distance)
    {
        Game().m_enemyDistance.At(x, y) = static_cast<std::int8_t>(Game().m_aiParameters[kAiHorizon] - distance);
    }

    PlacedUnit& UnitAt(int x, int y, int p) { return Game().GetStackNode(x, y, p)->value; }
    int StackSize(int x, int y) { return static_cast<int>(Game().m_stacks.At(x, y).Count()); }
    // A platoon type of the game, to give it a capability the demo lacks.
    PlatoonType& TypeOf(int x, int y, int p) { return const_cast<PlatoonType&>(*UnitAt(x, y, p).m_type); }

    static std::vector<std::pair<int, int>> Hexes(const HexList& list)
    {
        std::vector<std::pair<int, int>> hexes;
        for (const HexPos& hex : list)
            hexes.emplace_back(hex.column, hex.row);
        return hexes;
    }
    std::string Report() { return Game().m_report.str(); }

    // The side to move sees nothing the enemy has not spotted.
    void HideMoverInformation() { Game().SetSideFogOfWar(0, 1); }

    void SetOrder(int nodeId, int kind, HexPos target)
    {
        AiOrder order;
        order.SetKind(kind);
        order.SetTarget(target.column, target.row);
        Game().SetOrderTree(Node(nodeId), order);
    }

    // A seed whose first draw is below the bound (or not).
    static std::uint32_t SeedWithFirstDraw(bool below, double bound)
    {
        for (std::uint32_t seed = 1;; ++seed) {
            CRandomGenerator generator(seed);
            if ((generator.Next() < bound) == below)
                return seed;
        }
    }
};

} // namespace

TEST_F(AiMoveUnitTest, EnemyTestsFollowTheDistanceTheVisibilityAndTheObjectiveRadius)
{
    Prepare(AiScenario().Unit(3, 3, kUsRifle, 112));
    CGame& game = Game();
    const PlatoonType* rifle = UnitAt(3, 3, 1).m_type; // longest range 4
    struct Case {
        int visibility;
        int distance;
        bool close;
        bool near;
        bool inRange;
    };
    // w1 is 6.
    const Case cases[] = {
        { 18, 4, true, true, true },
        { 18, 5, true, true, false },
        { 18, 6, true, true, false },
        { 18, 7, false, true, false },
        { 5, 5, true, true, false },
        { 5, 6, false, true, false },
        { 5, 7, false, false, false },
        { 3, 3, true, true, true },
        { 3, 4, false, true, false },
        // A radius of 1 takes exactly 2 as close.
        { 1, 2, true, true, true },
        { 1, 1, false, true, false },
        { 1, 0, false, true, false },
    };
    for (const Case& c : cases) {
        game.m_visibility = c.visibility;
        SetEnemyDistance(3, 3, c.distance);
        SCOPED_TRACE("visibility " + std::to_string(c.visibility) + ", distance " + std::to_string(c.distance));
        EXPECT_EQ(game.IsEnemyClose(3, 3), c.close);
        EXPECT_EQ(game.IsEnemyNear(3, 3), c.near);
        EXPECT_EQ(game.IsEnemyInRange(rifle, 3, 3), c.inRange);
    }
}

TEST_F(AiMoveUnitTest, OrderReachIsTheKindsDistanceFromTheTarget)
{
    Prepare(AiScenario().Unit(0, 0, kUsRifle, 112).Unit(0, 1, kUsRifle, -1));
    CGame& game = Game();
    const PlacedUnit& commanded = UnitAt(0, 0, 1);
    EXPECT_TRUE(game.IsWithinOrderReach(commanded, 5, 0)) << "a hold order has no target";
    SetOrder(110, 0, { 4, 0 }); // w2 = 4
    EXPECT_TRUE(game.IsWithinOrderReach(commanded, 0, 0));
    EXPECT_TRUE(game.IsWithinOrderReach(commanded, 0, 1)) << "4 hexes from the target";
    SetOrder(110, 3, { 6, 0 }); // w5 = 2
    EXPECT_FALSE(game.IsWithinOrderReach(commanded, 3, 0));
    EXPECT_TRUE(game.IsWithinOrderReach(commanded, 4, 0));
    EXPECT_TRUE(game.IsWithinOrderReach(UnitAt(0, 1, 1), 0, 1)) << "no command node";
}

TEST_F(AiMoveUnitTest, SpareCarriersOutnumberTheUnitsWaitingForARide)
{
    // Company B: a rifle platoon and two half-tracks; units without a node
    // count apart.
    Prepare(AiScenario()
                .Unit(2, 2, kUsRifle, 122)
                .Unit(2, 2, kUsHalfTrack, 124)
                .Unit(2, 2, kUsHalfTrack, 124)
                .Unit(4, 2, kUsRifle, -1)
                .Unit(4, 2, kUsHalfTrack, -1));
    CGame& game = Game();
    EXPECT_TRUE(game.HasSpareCarriers(2, 2, Node(120)));
    EXPECT_FALSE(game.HasSpareCarriers(2, 2, nullptr));
    EXPECT_FALSE(game.HasSpareCarriers(4, 2, nullptr)) << "one carrier for one rider";
    EXPECT_FALSE(game.HasSpareCarriers(-1, 2, nullptr));
    // A loaded carrier is no spare one.
    UnitAt(2, 2, 2).m_status |= kUnitCarrying;
    EXPECT_FALSE(game.HasSpareCarriers(2, 2, Node(120)));
}

TEST_F(AiMoveUnitTest, NearTheEnemyOnlyAHardCarrierIsTakenUnlessAnyWillDo)
{
    // A soft truck above an armoured half-track, no command node.
    Prepare(AiScenario().Unit(2, 2, 10701, -1).Unit(2, 2, kUsHalfTrack, -1).Unit(2, 2, kUsRifle, -1));
    CGame& game = Game();
    game.m_visibility = 5;
    EXPECT_EQ(game.FindCarrier(nullptr, 2, 2, false), 1) << "no enemy near: the first carrier";
    SetEnemyDistance(2, 2, 3);
    EXPECT_EQ(game.FindCarrier(nullptr, 2, 2, false), 2);
    EXPECT_EQ(game.FindCarrier(nullptr, 2, 2, true), 1);
    EXPECT_EQ(game.FindCarrier(Node(120), 2, 2, true), 0) << "not of that command node";
}

TEST_F(AiMoveUnitTest, AFormationLoadsOneUnitAndReportsIt)
{
    // Company B's rifles and half-track; the moved list is left alone.
    AiScenario scenario;
    scenario.Unit(2, 2, kUsRifle, 122).Unit(2, 2, kUsHalfTrack, 124);
    Prepare(scenario);
    CGame& game = Game();
    HexList hexes;
    game.m_movedUnits.clear();
    ASSERT_TRUE(game.LoadFormationUnit(2, 2, Node(120), hexes));
    EXPECT_EQ(Report(), "Loading Rifle Plt at 2, 2\n");
    EXPECT_EQ(Hexes(hexes), (std::vector<std::pair<int, int>> { { 2, 2 } }));
    EXPECT_TRUE(HasStatus(UnitAt(2, 2, 2), kUnitCarried));
    EXPECT_TRUE(game.m_movedUnits.empty());

    // With the enemy in the rifles' reach nobody boards.
    Prepare(scenario);
    SetEnemyDistance(2, 2, 3);
    HexList none;
    EXPECT_FALSE(game.LoadFormationUnit(2, 2, Node(120), none));
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_FALSE(HasStatus(UnitAt(2, 2, 1), kUnitCarried));
}

TEST_F(AiMoveUnitTest, APassengerGetsOffWhenTheEnemyIsInItsReach)
{
    // A half-track carrying rifles (the carried unit lies under its carrier).
    AiScenario scenario;
    scenario.Unit(3, 2, kUsHalfTrack, -1).Unit(3, 2, kUsRifle, -1, 4, kUnitCarried);
    Prepare(scenario);
    CGame& game = Game();
    HexList hexes;
    EXPECT_FALSE(game.UnloadPassenger(3, 2, 2, hexes)) << "enemy out of reach";
    EXPECT_FALSE(game.UnloadPassenger(3, 2, 1, hexes)) << "the carrier is no passenger";
    SetEnemyDistance(3, 2, 4);
    ASSERT_TRUE(game.UnloadPassenger(3, 2, 2, hexes));
    EXPECT_EQ(Report(), "Unloading Rifle Plt at 3, 2\n");
    EXPECT_EQ(Hexes(hexes), (std::vector<std::pair<int, int>> { { 3, 2 } }));
    EXPECT_FALSE(HasStatus(UnitAt(3, 2, 1), kUnitCarried));
    EXPECT_FALSE(HasStatus(UnitAt(3, 2, 2), kUnitCarrying));
}

TEST_F(AiMoveUnitTest, AnIndirectFireUnitUnloadsInRangeAndBoardsASpareCarrierOutOfIt)
{
    WriteMap(20, 6);
    // A mortar (range 12) on a half-track, and one beside two empty ones.
    AiScenario scenario;
    scenario.Unit(1, 2, kUsHalfTrack, -1)
        .Unit(1, 2, 10101, -1, 3, kUnitCarried)
        .Unit(1, 4, 10101, -1, 3)
        .Unit(1, 4, kUsHalfTrack, -1)
        .Unit(1, 4, kUsHalfTrack, -1);
    Prepare(scenario);
    CGame& game = Game();
    HexList hexes;
    EXPECT_FALSE(game.MoveIndirectUnit(1, 4, 1, { 10, 4 }, hexes)) << "in range and not carried: it stays";
    ASSERT_TRUE(game.MoveIndirectUnit(1, 2, 2, { 10, 2 }, hexes));
    EXPECT_EQ(Report(), "Unloading 81mm Mort at 1, 2\n");
    EXPECT_FALSE(HasStatus(UnitAt(1, 2, 1), kUnitCarried));

    HexList loading;
    game.m_movedUnits.clear();
    ASSERT_TRUE(game.MoveIndirectUnit(1, 4, 1, { 19, 4 }, loading)) << "18 hexes off: it boards";
    EXPECT_EQ(Report(), "Loading 81mm Mort at 1, 4\n");
    EXPECT_EQ(Hexes(loading), (std::vector<std::pair<int, int>> { { 1, 4 } }));
    ASSERT_EQ(game.m_movedUnits.size(), 2u);
    EXPECT_TRUE(HasStatus(UnitAt(1, 4, game.m_movedUnits[0]), kUnitCarrying));
    EXPECT_TRUE(HasStatus(UnitAt(1, 4, game.m_movedUnits[1]), kUnitCarried));
}

TEST_F(AiMoveUnitTest, DiggingInStartsOnAQuarterDrawAndStopsWithoutOne)
{
    AiScenario scenario;
    scenario.options = kOptionDiggingIn;
    scenario.Unit(2, 2, kUsRifle, 112).Unit(4, 2, kUsRifle, -1).Unit(5, 2, kUsRifle, 113, 4, kUnitDiggingIn);
    Prepare(scenario);
    CGame& game = Game();
    EXPECT_FALSE(game.MayStartDigIn(2, 2, 1)) << "Company A holds";
    SetOrder(110, 0, { 7, 2 });
    EXPECT_TRUE(game.MayStartDigIn(2, 2, 1));
    EXPECT_FALSE(game.MayStartDigIn(4, 2, 1)) << "no command node";
    EXPECT_FALSE(game.MayStartDigIn(5, 2, 1)) << "already digging";
    SetEnemyDistance(2, 2, 4);
    EXPECT_FALSE(game.MayStartDigIn(2, 2, 1)) << "enemy in reach";
    SetEnemyDistance(2, 2, 12);
    game.m_hexFlags.At(2, 2) |= CGameData::kHexCave;
    EXPECT_FALSE(game.MayStartDigIn(2, 2, 1)) << "cave";
    game.m_hexFlags.At(2, 2) &= ~CGameData::kHexCave;

    struct Case {
        bool drawBelow;
        bool acts;
    };
    for (const Case c : { Case { false, false }, Case { true, true } }) {
        SetRandomSeed(SeedWithFirstDraw(c.drawBelow, 0.25));
        CRandomGenerator expected(GlobalRandomGenerator().State());
        expected.Next();
        HexList hexes;
        EXPECT_EQ(game.ToggleUnitDigIn(2, 2, 1, hexes), c.acts);
        EXPECT_EQ(GlobalRandomGenerator().State(), expected.State()) << "one draw";
        EXPECT_EQ(HasStatus(UnitAt(2, 2, 1), kUnitDiggingIn), c.acts);
        if (c.acts) {
            EXPECT_EQ(Report(), "Digging-In Rifle Plt at 2, 2\n");
            EXPECT_EQ(Hexes(hexes), (std::vector<std::pair<int, int>> { { 2, 2 } }));
        }
    }

    // Stopping draws nothing.
    const std::uint32_t state = GlobalRandomGenerator().State();
    HexList hexes;
    ASSERT_TRUE(game.ToggleUnitDigIn(5, 2, 1, hexes));
    EXPECT_EQ(GlobalRandomGenerator().State(), state);
    EXPECT_EQ(Report(), "Stopped Digging-In Rifle Plt at 5, 2\n");
    EXPECT_FALSE(HasStatus(UnitAt(5, 2, 1), kUnitDiggingIn));
}

TEST_F(AiMoveUnitTest, AUnitStepsIntoABetterMannedFortificationBeside)
{
    // (2, 1) is the northern neighbour of (2, 2).
    AiScenario scenario;
    scenario.Unit(2, 2, kUsRifle, -1).Unit(2, 2, kUsRifle, -1).Unit(4, 2, kUsRifle, -1);
    Prepare(scenario);
    CGame& game = Game();
    game.m_hexFlags.At(2, 1) |= CGameData::kHexPillbox;
    game.m_hexFlags.At(4, 1) |= CGameData::kHexBunker;
    game.m_hexFlags.At(4, 2) |= CGameData::kHexPillbox;
    HexList hexes;
    EXPECT_FALSE(game.StepIntoFortification(4, 2, 1, hexes)) << "one unit in a fort: the other holds no fewer";
    ASSERT_TRUE(game.StepIntoFortification(2, 2, 1, hexes));
    EXPECT_EQ(Report(), "Moving Rifle Plt\nfrom hex at 2, 2 to hex at 2, 1");
    EXPECT_EQ(Hexes(hexes), (std::vector<std::pair<int, int>> { { 2, 2 }, { 2, 1 } }));
    EXPECT_EQ(StackSize(2, 1), 1);
    EXPECT_EQ(game.m_movedUnits, std::vector<int> { 1 });

    // Not from an objective hex.
    game.m_objectives.At(2, 2) = ObjectiveCell { 1, kUsNation };
    HexList none;
    EXPECT_FALSE(game.StepIntoFortification(2, 2, 1, none));
}

TEST_F(AiMoveUnitTest, AUnitStepsOntoANeighbouringObjectiveNotHeldByItsSide)
{
    struct Case {
        const char* name;
        int type;
        int nation; // holder of the objective north of the unit
        bool acts;
    };
    const Case cases[] = {
        { "enemy objective", kUsRifle, kDeNation, true },
        { "nobody's objective", kUsRifle, -1, true },
        { "own objective, no better", kUsRifle, kUsNation, false },
        { "towed gun", 10102, kDeNation, false },
        { "mortar", 10101, kDeNation, false },
        { "soft carrier", 10701, kDeNation, false },
        { "armoured carrier", kUsHalfTrack, kDeNation, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AiScenario scenario;
        scenario.Objective(3, 2, 1, kUsNation).Objective(3, 1, 1, c.nation).Unit(3, 2, c.type, -1);
        Prepare(scenario);
        HexList hexes;
        EXPECT_EQ(Game().StepOntoObjective(3, 2, 1, hexes), c.acts);
        EXPECT_EQ(StackSize(3, 1), c.acts ? 1 : 0);
    }
    // An own empty objective worth more than the hex, or a crowded hex.
    AiScenario scenario;
    scenario.Objective(3, 1, 2, kUsNation).Unit(3, 2, kUsRifle, -1);
    Prepare(scenario);
    HexList hexes;
    EXPECT_TRUE(Game().StepOntoObjective(3, 2, 1, hexes));
}

TEST_F(AiMoveUnitTest, AUnitInTheOpenNearTheEnemyTakesCover)
{
    AiScenario scenario;
    scenario.Unit(3, 2, kUsRifle, -1);
    Prepare(scenario);
    CGame& game = Game();
    game.m_map.GetHex(3, 1).terrain = kTerrainForest;
    HexList hexes;
    EXPECT_FALSE(game.StepOutOfOpenTerrain(3, 2, 1, hexes)) << "no enemy close";
    SetEnemyDistance(3, 2, 5);
    SetEnemyDistance(3, 1, 4);
    EXPECT_FALSE(game.StepOutOfOpenTerrain(3, 2, 1, hexes)) << "the cover lies nearer the enemy";
    SetEnemyDistance(3, 1, 5);
    game.m_hexFlags.At(3, 1) |= CGameData::kHexMinefield2;
    EXPECT_FALSE(game.StepOutOfOpenTerrain(3, 2, 1, hexes)) << "mined cover";
    game.m_hexFlags.At(3, 1) = 0;
    ASSERT_TRUE(game.StepOutOfOpenTerrain(3, 2, 1, hexes));
    EXPECT_EQ(Report(), "Moving Rifle Plt\nfrom hex at 3, 2 to hex at 3, 1");

    // A disrupted unit far from the enemy goes too; not one in a position.
    AiScenario disrupted;
    disrupted.Unit(3, 2, kUsRifle, -1, 4, kUnitDisrupted);
    Prepare(disrupted);
    game.m_map.GetHex(3, 1).terrain = kTerrainForest;
    game.m_hexFlags.At(3, 2) |= CGameData::kHexImprovedPosition;
    HexList none;
    EXPECT_FALSE(game.StepOutOfOpenTerrain(3, 2, 1, none));
    game.m_hexFlags.At(3, 2) = 0;
    EXPECT_TRUE(game.StepOutOfOpenTerrain(3, 2, 1, none));
}

TEST_F(AiMoveUnitTest, UnitsLeaveAtTheirSidesExitHexAndUnarmedOnesNearTheEnemy)
{
    struct Case {
        const char* name;
        int type;
        int objective; // value of the objective at (0, 2)
        int nation; // its holder
        int distance;
        bool acts;
    };
    const Case cases[] = {
        { "own exit hex", kUsRifle, -1, kUsNation, 12, true },
        { "exit hex of nobody", kUsRifle, -1, -1, 12, false },
        { "exit hex of the enemy", kUsRifle, -1, kDeNation, 12, false },
        { "unarmed near the enemy", kUsJeep, 0, -1, 5, true },
        { "unarmed far from the enemy", kUsJeep, 0, -1, 7, false },
        { "armed near the enemy", kUsRifle, 0, -1, 5, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AiScenario scenario;
        scenario.Unit(0, 2, c.type, -1);
        if (c.objective != 0)
            scenario.Objective(0, 2, c.objective, c.nation);
        Prepare(scenario);
        SetEnemyDistance(0, 2, c.distance);
        HexList hexes;
        const bool acted = Game().LeaveAtExitOrWater(0, 2, 1, hexes) || Game().RemoveUnarmedUnit(0, 2, 1, hexes);
        EXPECT_EQ(acted, c.acts);
        EXPECT_EQ(StackSize(0, 2), c.acts ? 0 : 1);
        if (c.acts) {
            const std::string name = c.type == kUsJeep ? "Jeeps" : "Rifle Plt";
            EXPECT_EQ(Report(), "Moving " + name + "\nfrom hex at 0, 2 to hex at 0, 2");
            EXPECT_EQ(Hexes(hexes), (std::vector<std::pair<int, int>> { { 0, 2 }, { 0, 2 } }));
        }
    }
}

TEST_F(AiMoveUnitTest, AnEmptyCarrierOnWaterAtTheEdgeIsScuttled)
{
    AiScenario scenario;
    scenario.Unit(0, 2, kUsHalfTrack, -1).Unit(1, 2, kUsHalfTrack, -1).Unit(0, 3, kUsHalfTrack, -1);
    Prepare(scenario);
    CGame& game = Game();
    game.m_map.GetHex(0, 2).terrain = kTerrainWater;
    game.m_map.GetHex(1, 2).terrain = kTerrainWater;
    HexList hexes;
    EXPECT_FALSE(game.LeaveAtExitOrWater(1, 2, 1, hexes)) << "not at the map's edge";
    EXPECT_FALSE(game.LeaveAtExitOrWater(0, 3, 1, hexes)) << "not on water";
    ASSERT_TRUE(game.LeaveAtExitOrWater(0, 2, 1, hexes));
    EXPECT_EQ(Report(), "Moving M3 HT\nfrom hex at 0, 2 to hex at 0, 2");
    EXPECT_EQ(StackSize(0, 2), 0);
}

TEST_F(AiMoveUnitTest, AnEmptyCarrierNearTheEnemyWithSparesLeavesTheMap)
{
    struct Case {
        const char* name;
        int carriers;
        int distance;
        bool loaded;
        bool acts;
    };
    const Case cases[] = {
        { "two carriers for one rider", 2, 6, false, true },
        { "one carrier for one rider", 1, 6, false, false },
        { "enemy beyond w1", 2, 7, false, false },
        { "carrying", 3, 6, true, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AiScenario scenario;
        for (int i = 0; i < c.carriers; ++i)
            scenario.Unit(0, 2, kUsHalfTrack, -1);
        scenario.Unit(0, 2, kUsRifle, -1, 4, c.loaded ? std::uint32_t { kUnitCarried } : 0u);
        Prepare(scenario);
        CGame& game = Game();
        SetEnemyDistance(0, 2, c.distance);
        const int bottom = c.carriers;
        HexList hexes;
        EXPECT_FALSE(game.WithdrawEmptyCarrier(0, 2, bottom, hexes)) << "its type is not one to withdraw";
        TypeOf(0, 2, bottom).m_moveFlags |= 0x10;
        EXPECT_EQ(game.WithdrawEmptyCarrier(0, 2, bottom, hexes), c.acts);
        EXPECT_EQ(StackSize(0, 2), c.carriers + 1 - (c.acts ? 1 : 0));
        if (c.acts) {
            EXPECT_EQ(Report(), "Removing units from map");
            EXPECT_EQ(Hexes(hexes), (std::vector<std::pair<int, int>> { { 0, 2 } }));
        }
        // The types outlive the scenario.
        TypeOf(0, 2, 1).m_moveFlags &= ~0x10u;
    }
}

TEST_F(AiMoveUnitTest, ABoatOnOpenWaterSailsAlongItsFacingToTheEdge)
{
    // Column 2 is water; the boat with its rifles faces south (8).
    AiScenario scenario;
    scenario.Unit(2, 1, kUsBoat, -1).Unit(2, 1, kUsRifle, -1, 4, kUnitCarried);
    Prepare(scenario);
    CGame& game = Game();
    for (int row = 0; row < 6; ++row)
        game.m_map.GetHex(2, row).terrain = kTerrainWater;
    UnitAt(2, 1, 1).m_facing = HexSide::South;
    UnitAt(2, 1, 2).m_facing = HexSide::South;
    game.m_sweep = HexPos { -1, -1 }; // no sweep under way: any direction leads back
    HexList hexes;
    ASSERT_TRUE(game.SailAlongFacing(2, 1, 1, hexes));
    const std::string& report = Report();
    ASSERT_EQ(report.rfind("Moving Boats\nfrom hex at 2, 1 to hex at 2, ", 0), 0u) << report;
    const std::vector<std::pair<int, int>> listed = Hexes(hexes);
    ASSERT_GE(listed.size(), 4u);
    const std::pair<int, int> last = listed.back();
    EXPECT_EQ(report, "Moving Boats\nfrom hex at 2, 1 to hex at 2, " + std::to_string(last.second));
    // The start, each hex entered, then the start and the end again.
    std::vector<std::pair<int, int>> expected { { 2, 1 } };
    for (int row = 2; row <= last.second; ++row)
        expected.emplace_back(2, row);
    expected.emplace_back(2, 1);
    expected.emplace_back(last);
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(StackSize(2, last.second), 2);
    EXPECT_EQ(game.m_movedUnits, (std::vector<int> { 1, 2 }));
}

TEST_F(AiMoveUnitTest, SailingNeedsOpenWaterAFacingOnTheMapAndBackIntoTheSweptPart)
{
    struct Case {
        const char* name;
        int terrain;
        int water; // 1 frozen
        HexSide facing;
        bool sweeping; // down the columns, from (0, 0)
        bool acts;
    };
    const Case cases[] = {
        { "open water", kTerrainWater, 0, HexSide::South, false, true },
        { "shallow water", kTerrainShallowWater, 0, HexSide::South, false, true },
        { "land", kTerrainOpen, 0, HexSide::South, false, false },
        { "frozen", kTerrainWater, 1, HexSide::South, false, false },
        { "facing off the map", kTerrainWater, 0, HexSide::North, false, false },
        { "facing the part still to sweep", kTerrainWater, 0, HexSide::South, true, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AiScenario scenario;
        scenario.Unit(2, 0, kUsBoat, -1).Unit(2, 0, kUsRifle, -1, 4, kUnitCarried);
        Prepare(scenario);
        CGame& game = Game();
        for (int row = 0; row < 6; ++row)
            game.m_map.GetHex(2, row).terrain = c.terrain;
        game.m_terrain.water = c.water;
        UnitAt(2, 0, 1).m_facing = c.facing;
        game.m_sweep = c.sweeping ? HexPos { 0, 0 } : HexPos { -1, -1 };
        game.m_sweepDirection = 0;
        game.m_movedUnits.clear();
        HexList hexes;
        EXPECT_EQ(game.SailAlongFacing(2, 0, 1, hexes), c.acts);
        if (!c.acts) {
            EXPECT_TRUE(hexes.IsEmpty());
            EXPECT_TRUE(game.m_movedUnits.empty());
            EXPECT_EQ(StackSize(2, 0), 2);
        }
    }
}

TEST_F(AiMoveUnitTest, AReinforcementGroupComesInOnlyWhenItHasArrived)
{
    struct Case {
        const char* name;
        int counter;
        int chance;
        int side;
        bool acts;
    };
    const Case cases[] = {
        { "due", 6, 100, 0, true },
        { "not yet", 0, 100, 0, false },
        { "arrival not certain", 6, 50, 0, false },
        { "the other side's", 6, 100, 1, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AiScenario scenario;
        scenario.counter = c.counter;
        scenario.Group(0, 3, c.side == 0 ? kUsRifle : kDeGrenadier, -1);
        Prepare(scenario);
        CGame& game = Game();
        game.m_reinforcements.Head()->value.m_chance = c.chance;
        game.m_stepFlag = 1;
        HexList hexes;
        EXPECT_EQ(game.BringInReinforcements(hexes), c.acts);
        EXPECT_EQ(game.m_stepFlag, c.acts ? 1 : 0);
        EXPECT_EQ(StackSize(0, 3), c.acts ? 1 : 0);
        if (c.acts) {
            EXPECT_EQ(Report(), "Bringing in  at 0, 3\n    Rifle Platoon\n");
            EXPECT_EQ(Hexes(hexes), (std::vector<std::pair<int, int>> { { 0, 3 }, { 0, 3 } }));
            EXPECT_TRUE(game.m_reinforcements.IsEmpty());
        }
    }
}

TEST_F(AiMoveUnitTest, ReportsNameNoHexTheMoverCannotSee)
{
    AiScenario scenario;
    scenario.counter = 6;
    scenario.options = kOptionDiggingIn;
    scenario.Unit(2, 2, kUsRifle, -1).Group(0, 3, kUsRifle, -1);
    Prepare(scenario);
    CGame& game = Game();
    HideMoverInformation();
    HexList hexes;
    game.ReportUnitMove(UnitAt(2, 2, 1), 2, 2, 2, 1, hexes);
    EXPECT_EQ(Report(), "Moving units from unknown location\n to unknown location");
    game.ReportUnitInPlace("Loading ", UnitAt(2, 2, 1), 2, 2, hexes);
    EXPECT_EQ(Report(), "Movement at unknown location\n");
    ASSERT_TRUE(game.BringInReinforcements(hexes));
    EXPECT_EQ(Report(), "Movement at unknown location\n");

    // The enemy's armed contact shows a hex: only the end, or only the start.
    game.SetContact(2, 1, 1, CGameSpotting::kContactArmed, 0);
    game.ReportUnitMove(UnitAt(2, 2, 1), 2, 2, 2, 1, hexes);
    EXPECT_EQ(Report(), "Moving Rifle Plt\nfrom unknown location\n to hex at 2, 1");
    game.ReportUnitMove(UnitAt(2, 2, 1), 2, 1, 2, 2, hexes);
    EXPECT_EQ(Report(), "Moving Rifle Plt\nfrom hex at 2, 1 to unknown location");
}

TEST_F(AiMoveUnitTest, JapaneseFootUnitsPassToALessCrowdedCaveOrOneOnAnObjective)
{
    struct Case {
        const char* name;
        int units; // in the cave at (3, 2)
        HexPos other; // the other cave
        int otherObjective;
        int nation;
        bool acts;
    };
    const Case cases[] = {
        { "crowded", 3, { 5, 2 }, 0, 21, true },
        { "no better", 1, { 5, 2 }, 0, 21, false },
        { "onto an objective", 1, { 5, 2 }, 1, 21, true },
        { "too far", 3, { 7, 2 }, 0, 21, false },
        { "not Japanese", 3, { 5, 2 }, 0, kUsNation, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AiScenario scenario;
        scenario.side = 1;
        for (int i = 0; i < c.units; ++i)
            scenario.Unit(3, 2, kDeGrenadier, -1);
        if (c.otherObjective != 0)
            scenario.Objective(c.other.column, c.other.row, c.otherObjective, -1);
        Prepare(scenario);
        CGame& game = Game();
        // The types outlive the scenario: the change is undone below.
        PlatoonType& type = TypeOf(3, 2, 1);
        const std::uint32_t id = type.m_id;
        if (c.nation == 21)
            type.m_id = 21200;
        game.m_hexFlags.At(3, 2) |= CGameData::kHexCave;
        game.m_hexFlags.At(c.other.column, c.other.row) |= CGameData::kHexCave;
        HexList hexes;
        EXPECT_EQ(game.MoveThroughCave(3, 2, 1, hexes), c.acts);
        EXPECT_EQ(StackSize(c.other.column, c.other.row), c.acts ? 1 : 0);
        if (c.acts) {
            EXPECT_EQ(Report(), "Moving Gren Zug\nfrom hex at 3, 2 to hex at 5, 2");
        }
        type.m_id = id;
    }
}

TEST_F(AiMoveUnitTest, AGroupJustPlacedHeadsForTheNearestObjective)
{
    AiScenario scenario;
    scenario.counter = 6;
    scenario.Objective(7, 3, 1, -1).Objective(5, 3, 1, -1).Group(0, 3, kUsRifle, -1);
    Prepare(scenario);
    CGame& game = Game();
    HexList hexes;
    ASSERT_TRUE(game.BringInReinforcements(hexes));
    const std::string& report = Report();
    EXPECT_EQ(report.rfind("Moving units:\n", 0), 0u) << report;
    const std::vector<std::pair<int, int>> listed = Hexes(hexes);
    ASSERT_GE(listed.size(), 3u) << "the placement's hex, then the move's start and steps";
    EXPECT_EQ(listed[0], std::make_pair(0, 3));
    EXPECT_EQ(listed[1], std::make_pair(0, 3));
    EXPECT_EQ(StackSize(0, 3), 0);
    const std::pair<int, int> end = listed.back();
    EXPECT_LT(HexDistance(end.first, end.second, 5, 3), 5) << "toward (5, 3), the nearer objective";
}

TEST_F(AiMoveUnitTest, AnEmptyCarrierThatCannotLeaveMakesWayFromTheEnemy)
{
    AiScenario scenario;
    scenario.Unit(3, 2, kUsHalfTrack, -1).Unit(3, 2, kUsHalfTrack, -1);
    Prepare(scenario);
    CGame& game = Game();
    SetEnemyDistance(3, 2, 6);
    TypeOf(3, 2, 1).m_moveFlags |= 0x10;
    HexList hexes;
    const bool acted = game.WithdrawEmptyCarrier(3, 2, 1, hexes);
    TypeOf(3, 2, 1).m_moveFlags &= ~0x10u;
    ASSERT_TRUE(acted);
    EXPECT_EQ(Report().rfind("Moving units:\n", 0), 0u) << Report();
    EXPECT_EQ(StackSize(3, 2), 1);
    ASSERT_EQ(Hexes(hexes).size(), 2u) << "one step: w1 - E + 1 = 1";
}

TEST_F(AiMoveUnitTest, AnIndirectFireUnitOutOfRangeWithoutSpareCarriersWalks)
{
    WriteMap(20, 6);
    AiScenario scenario;
    scenario.Unit(1, 4, 10101, -1, 3);
    Prepare(scenario);
    CGame& game = Game();
    HexList hexes;
    ASSERT_TRUE(game.MoveIndirectUnit(1, 4, 1, { 19, 4 }, hexes));
    EXPECT_EQ(StackSize(1, 4), 0);
    EXPECT_GT(Hexes(hexes).back().first, 1);
}

TEST_F(AiMoveUnitTest, AScatteredGroupIsReportedAtItsEntryHex)
{
    // Two rifle platoons scatter three steps from (3, 3); the seed is one
    // that lands them apart.
    bool apart = false;
    for (std::uint32_t seed = 1; seed <= 50 && !apart; ++seed) {
        AiScenario scenario;
        scenario.counter = 6;
        scenario.Group(3, 3, kUsRifle, -1);
        Prepare(scenario);
        CGame& game = Game();
        ReinforcementGroup& group = game.m_reinforcements.Head()->value;
        group.m_placement = 2;
        group.m_scatterSteps = 3;
        group.m_units.Append(group.m_units.Head()->value);
        SetRandomSeed(seed);
        HexList hexes;
        ASSERT_TRUE(game.BringInReinforcements(hexes));
        EXPECT_EQ(Report(), "Bringing in  at 3, 3\n    Rifle Platoon\n    Rifle Platoon\n");
        const std::vector<std::pair<int, int>> listed = Hexes(hexes);
        EXPECT_EQ(listed.back(), std::make_pair(3, 3));
        apart = listed.size() > 2;
    }
    EXPECT_TRUE(apart);
}
