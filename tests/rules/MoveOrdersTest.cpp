#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/rules/MoveGame.h"

namespace {

using namespace demo;

// Units start in (2, 3) and move north to (2, 2) unless a row says otherwise.
constexpr int kFromX = 2;
constexpr int kFromY = 3;
constexpr int kToX = 2;
constexpr int kToY = 2;

class MoveOrdersTest : public MoveGameTest {
protected:
    void SetUp() override
    {
        m_demoParameters = m_game.m_parameters;
        Reset();
    }
    // A fresh 8 x 8 battle with the demo's parameters.
    void Reset()
    {
        MakeMap(8, 8);
        m_game.m_parameters = m_demoParameters;
        m_game.m_map.SetSide(0);
        m_game.m_map.SetPhase(0);
        m_game.m_opponentHidden = false;
        m_game.m_hidden[0] = m_game.m_hidden[1] = false;
        m_game.ClearUndo();
    }
    HexPos Neighbour(int x, int y, HexSide side)
    {
        HexPos next { -1, -1 };
        EXPECT_TRUE(m_game.m_map.GetNeighbour(side, x, y, next));
        return next;
    }
    // A hex next to both the source and the destination.
    HexPos Between() { return Neighbour(kToX, kToY, HexSide::SouthEast); }

    ParameterData m_demoParameters;
};

TEST_F(MoveOrdersTest, DemoParametersAreRead)
{
    EXPECT_EQ(m_game.m_parameters.m_minutesPerTurn, 6);
    EXPECT_EQ(m_game.m_parameters.m_metresPerHex, 250);
    EXPECT_EQ(m_game.m_parameters.m_maxStackUnits, 6);
    EXPECT_EQ(m_game.m_parameters.m_maxStackStrength, 40);
    EXPECT_EQ(m_game.m_parameters.m_roadStackLimit, 12);
}

struct RefusalRow {
    const char* cause;
    const char* text;
    std::function<void()> setUp;
    std::vector<int> positions;
    HexPos to { kToX, kToY };
};

TEST_F(MoveOrdersTest, EveryRefusalInTheOrderOfTesting)
{
    const auto threePhase = [this] { m_game.m_options |= kOptionThreePhase; };
    const std::vector<RefusalRow> rows = {
        { "nothing listed", "No units have been selected to move", [this] { Add(2, 3, kUsRifle); }, {} },
        { "a position past the stack", "No units have been selected to move", [this] { Add(2, 3, kUsRifle); }, { 2 } },
        { "one unit listed twice", "No units have been selected to move",
            [this] {
                Add(2, 3, kUsRifle);
                Add(2, 3, kUsRifle);
            },
            { 1, 1 } },
        { "the enemy's stack", "Cannot move units from other side", [this] { Add(2, 3, kGermanRifle); }, { 1 } },
        { "a carrier without its passenger", "Must include passenger with selection",
            [this] { AddLoaded(2, 3, kUsJeep, kUsRifle); }, { 1 } },
        { "a passenger addressed as the bottom unit, carrier after it", "Must include passenger with selection",
            [this] { AddLoaded(2, 3, kUsJeep, kUsRifle); }, { 0, 1 } },
        { "a passenger without its carrier", "Must include carrier with selection",
            [this] { AddLoaded(2, 3, kUsJeep, kUsRifle); }, { 2 } },
        { "a passenger addressed as the bottom unit", "Must include carrier with selection",
            [this] { AddLoaded(2, 3, kUsJeep, kUsRifle); }, { 0 } },
        { "a passenger listed after another unit", "Must include carrier with selection",
            [this] {
                Add(2, 3, kUsSherman);
                AddLoaded(2, 3, kUsJeep, kUsRifle);
            },
            { 1, 3 } },
        { "two hexes away", "Cannot move units to non-adjacent hex", [this] { Add(2, 3, kUsRifle); }, { 1 }, { 2, 1 } },
        { "off the map", "Cannot move units to non-adjacent hex", [this] { Add(2, 3, kUsRifle); }, { 1 }, { 2, -1 } },
        { "seven units", "Movement exceeds maximum counter limitation",
            [this] {
                Add(2, 3, kUsBattalionCommander);
                Add(2, 3, kUsJeep);
                for (int i = 0; i < 6; ++i)
                    Add(2, 2, kUsJeep);
            },
            { 2, 1 } },
        { "48 strength points", "Movement exceeds maximum strength point limitation",
            [this] {
                Add(2, 3, kUsRifle);
                for (int i = 0; i < 5; ++i)
                    Add(2, 2, kUsRifle);
            },
            { 1 } },
        { "Defensive Fire Phase", "Units cannot move in Defensive Fire Phase",
            [this, threePhase] {
                threePhase();
                m_game.m_map.SetPhase(1);
                Add(2, 3, kUsSherman);
            },
            { 1 } },
        { "men in the Final Phase", "Only vehicles can move in Final Phase",
            [this, threePhase] {
                threePhase();
                m_game.m_map.SetPhase(2);
                Add(2, 3, kUsRifle);
            },
            { 1 } },
        { "disrupted vehicle in the Final Phase", "Disrupted units cannot move in Final Phase",
            [this, threePhase] {
                threePhase();
                m_game.m_map.SetPhase(2);
                Add(2, 3, kUsSherman, kUnitDisrupted);
            },
            { 1 } },
        { "fired", "Units that have fired cannot move in same phase",
            [this, threePhase] {
                threePhase();
                Add(2, 3, kUsRifle, kUnitFired);
            },
            { 1 } },
        { "unloaded", "Units which have unloaded cannot move in same turn",
            [this, threePhase] {
                threePhase();
                Add(2, 3, kUsRifle, kUnitUnloaded);
            },
            { 1 } },
        { "assaulting", "Unit which is assaulting cannot move", [this] { Add(2, 3, kUsRifle, kUnitInAssault); },
            { 1 } },
        { "fixed", "Fixed units cannot move", [this] { Add(2, 3, kUsRifle, kUnitFixed); }, { 1 } },
        { "a towed gun alone", "Unit cannot move without carrier", [this] { Add(2, 3, kUsAntiTankGun); }, { 1 } },
        { "an empty boat", "Unit cannot move without passenger",
            [this] {
                Hex(2, 3).terrain = kTerrainWater;
                Hex(2, 2).terrain = kTerrainWater;
                Add(2, 3, kUsBoat);
            },
            { 1 } },
        { "men wading out of water", "Movement prevented by water",
            [this] {
                Hex(2, 3).terrain = kTerrainWater;
                Add(2, 3, kUsRifle);
            },
            { 1 } },
        { "a road out of water into a damaged hex", "Movement prevented by water",
            [this] {
                Hex(2, 3).terrain = kTerrainWater;
                AddFeature(2, 3, HexSide::North, kLayerRoad);
                m_game.m_hexFlags.At(2, 2) = CGameData::kHexDamaged;
                Add(2, 3, kUsRifle);
            },
            { 1 } },
        { "impassable terrain", "Units cannot move through existing terrain",
            [this] {
                Hex(2, 2).terrain = kTerrainImpassible;
                Add(2, 3, kUsRifle);
            },
            { 1 } },
        { "a cliff", "Units cannot move through existing terrain",
            [this] {
                AddFeature(2, 3, HexSide::North, kLayerCliff);
                Add(2, 3, kUsRifle);
            },
            { 1 } },
        { "a river without bridge", "Units cannot move through existing terrain",
            [this] {
                AddFeature(2, 3, HexSide::North, kLayerRiver);
                Add(2, 3, kUsRifle);
            },
            { 1 } },
        { "a tank into marsh", "Units cannot move through existing terrain",
            [this] {
                Hex(2, 2).terrain = kTerrainMarsh;
                Add(2, 3, kUsSherman);
            },
            { 1 } },
        { "half the action points for open ground (63)", "Insufficient Action Points",
            [this] { Add(2, 3, kUsRifle).m_actionPoints = 50; }, { 1 } },
        { "the same under three-phase turns", "Insufficient Movement Points",
            [this, threePhase] {
                threePhase();
                Add(2, 3, kUsRifle).m_actionPoints = 50;
            },
            { 1 } },
        { "full points with the fire cost saved", "Insufficient Action Points",
            [this] { Add(2, 3, kUsRifle, kUnitSavedForFiring); }, { 1 } },
        { "a disrupted unit closing on a known enemy", "Disrupted unit cannot move closer to enemy",
            [this] {
                Add(2, 3, kUsRifle, kUnitDisrupted);
                Add(2, 0, kGermanRifle);
                m_game.SetContact(2, 0, 0, 1, 3);
            },
            { 1 } },
        { "a tank up two levels (50 m, the demo allows 30)", "Elevation change exceeds vehicle capability",
            [this] {
                Hex(2, 2).level = 2;
                Add(2, 3, kUsSherman);
            },
            { 1 } },
        { "into the enemy", "Cannot move into hex containing enemy",
            [this] {
                Add(2, 3, kUsRifle);
                Add(2, 2, kGermanRifle);
            },
            { 1 } },
        { "from armed enemy to armed enemy", "Movement prevented by adjacent enemy units",
            [this, threePhase] {
                threePhase();
                Add(2, 3, kUsRifle);
                const HexPos between = Between();
                Add(between.column, between.row, kGermanRifle);
            },
            { 1 } },
    };
    for (const RefusalRow& row : rows) {
        SCOPED_TRACE(row.cause);
        Reset();
        row.setUp();
        const std::vector<int> before = [&] {
            std::vector<int> points;
            for (const PlacedUnit& unit : m_game.m_stacks.At(kFromX, kFromY))
                points.push_back(unit.m_actionPoints);
            return points;
        }();
        EXPECT_EQ(Move(kFromX, kFromY, row.to.column, row.to.row, row.positions), row.text);
        EXPECT_STREQ(m_game.m_lastRefusal, row.text);
        // Nothing moved, nothing paid, nothing recorded.
        std::vector<int> after;
        for (const PlacedUnit& unit : m_game.m_stacks.At(kFromX, kFromY))
            after.push_back(unit.m_actionPoints);
        EXPECT_EQ(after, before);
        EXPECT_TRUE(m_game.m_snapshots.empty());
    }
}

TEST_F(MoveOrdersTest, StackingDoesNotApplyToAnEnemyHex)
{
    Add(2, 3, kUsRifle);
    for (int i = 0; i < 6; ++i)
        Add(2, 2, kGermanRifle);
    EXPECT_EQ(Move(2, 3, 2, 2, { 1 }), "Cannot move into hex containing enemy");
}

TEST_F(MoveOrdersTest, CarrierRuleHelperHandsBackTheUnitsInListOrder)
{
    Add(2, 3, kUsSherman);
    AddLoaded(2, 3, kUsJeep, kUsRifle);
    std::vector<UnitNode*> units;
    const int positions[] = { 2, 0, 1 };
    ASSERT_TRUE(m_game.CheckCarrierRule(2, 3, positions, 3, units));
    ASSERT_EQ(units.size(), 3U);
    EXPECT_EQ(units[0]->value.m_type->m_id, kUsJeep);
    EXPECT_EQ(units[1]->value.m_type->m_id, kUsRifle);
    EXPECT_EQ(units[2]->value.m_type->m_id, kUsSherman);
    const int refused[] = { 0, 2 };
    EXPECT_FALSE(m_game.CheckCarrierRule(2, 3, refused, 2, units));
    EXPECT_TRUE(units.empty());
    EXPECT_EQ(Unit(2, 3, 3).m_status, static_cast<std::uint32_t>(kUnitCarried));
}

TEST_F(MoveOrdersTest, MoveCostRefusalsLeaveTheirReason)
{
    struct Row {
        const char* cause;
        const char* text;
        std::uint32_t id;
        std::function<void()> setUp;
    };
    const std::vector<Row> rows = {
        { "a cliff", "Cannot cross blocked hexside", kUsRifle,
            [this] { AddFeature(2, 3, HexSide::North, kLayerCliff); } },
        { "a river", "Rivers can only be crossed at bridges", kUsRifle,
            [this] { AddFeature(2, 3, HexSide::North, kLayerRiver); } },
        { "a river under a damaged bridge", "Rivers can only be crossed at bridges", kUsRifle,
            [this] {
                AddFeature(2, 3, HexSide::North, kLayerRiver);
                AddFeature(2, 3, HexSide::North, kLayerHeavyBridge);
                m_game.m_damagedBridges.At(2, 3) = HexSideSet(HexSide::North.Value());
            } },
        { "a tank on a light bridge", "Unit cannot cross light bridge", kUsSherman,
            [this] {
                AddFeature(2, 3, HexSide::North, kLayerRiver);
                AddFeature(2, 3, HexSide::North, kLayerLightBridge);
            } },
        { "a medium bridge", "Unit cannot cross medium bridge", kUsTruck,
            [this] {
                Type(kUsTruck)->m_moveFlags |= kMoveNoMediumBridge;
                AddFeature(2, 3, HexSide::North, kLayerRiver);
                AddFeature(2, 3, HexSide::North, kLayerMediumBridge);
            } },
        { "a heavy bridge", "Unit cannot cross heavy bridge", kUsTruck,
            [this] {
                Type(kUsTruck)->m_moveFlags |= kMoveNoHeavyBridge;
                AddFeature(2, 3, HexSide::North, kLayerRiver);
                AddFeature(2, 3, HexSide::North, kLayerHeavyBridge);
            } },
        { "a damaged pontoon into water", "Unit cannot cross damaged pontoon bridge", kUsRifle,
            [this] {
                Hex(2, 2).terrain = kTerrainWater;
                m_game.m_pontoons.At(2, 2) = PontoonCell { HexSide::South, 0 };
            } },
        { "a tank on a light pontoon", "Unit cannot cross light pontoon bridge", kUsSherman,
            [this] {
                Hex(2, 2).terrain = kTerrainWater;
                m_game.m_pontoons.At(2, 3) = PontoonCell { HexSide::North, 3 };
            } },
        { "a medium pontoon", "Unit cannot cross medium pontoon bridge", kUsTruck,
            [this] {
                Type(kUsTruck)->m_moveFlags |= kMoveNoMediumBridge;
                Hex(2, 2).terrain = kTerrainWater;
                m_game.m_pontoons.At(2, 2) = PontoonCell { HexSide::North, 6 };
            } },
        { "a pontoon for no heavy bridge", "Unit cannot cross pontoon bridge", kUsTruck,
            [this] {
                Type(kUsTruck)->m_moveFlags |= kMoveNoHeavyBridge;
                Hex(2, 2).terrain = kTerrainWater;
                m_game.m_pontoons.At(2, 2) = PontoonCell { HexSide::North, 9 };
            } },
        { "a tank into marsh", "Vehicles cannot enter marsh except on roads or rail", kUsSherman,
            [this] { Hex(2, 2).terrain = kTerrainMarsh; } },
        { "a tank into swamp", "Vehicles cannot enter marsh except on roads or rail", kUsSherman,
            [this] { Hex(2, 2).terrain = kTerrainSwamp; } },
        { "not adjacent", "Cannot move units to non-adjacent hex", kUsRifle, [] {} },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.cause);
        Reset();
        row.setUp();
        m_game.m_lastRefusal = nullptr;
        const PlacedUnit unit(Type(row.id), nullptr);
        const bool adjacent = std::string(row.text) != "Cannot move units to non-adjacent hex";
        EXPECT_EQ(m_game.GetMoveCost(unit, 2, 3, 2, adjacent ? 2 : 1, unit.m_strength, true), 0);
        EXPECT_STREQ(m_game.m_lastRefusal, row.text);
        Type(row.id)->m_moveFlags &= ~(kMoveNoMediumBridge | kMoveNoHeavyBridge);
    }
}

TEST_F(MoveOrdersTest, CrossingsThatAreAllowed)
{
    const PlacedUnit rifle(Type(kUsRifle), nullptr);
    const PlacedUnit sherman(Type(kUsSherman), nullptr);
    // A heavy bridge carries the tank over the river: Open 15 + bridge 10%
    // of its base cost (0.625, rounded up to 1).
    AddFeature(2, 3, HexSide::North, kLayerRiver);
    AddFeature(2, 3, HexSide::North, kLayerHeavyBridge);
    EXPECT_EQ(m_game.GetMoveCost(sherman, 2, 3, 2, 2, 5, true), 16);
    // A ford: no river penalty, the ford's own cost (125% -> 8).
    Reset();
    AddFeature(2, 3, HexSide::North, kLayerRiver);
    AddFeature(2, 3, HexSide::North, kLayerFord);
    EXPECT_EQ(m_game.GetMoveCost(sherman, 2, 3, 2, 2, 5, true), 15 + 8);
    // Frozen, a river is crossed anywhere at the gully cost (200% -> 13).
    Reset();
    m_game.m_terrain.water = TerrainConditions::kFrozen;
    AddFeature(2, 3, HexSide::North, kLayerRiver);
    EXPECT_EQ(m_game.GetMoveCost(sherman, 2, 3, 2, 2, 5, true), 15 + 13);
    // A sound pontoon counts as road into water: 100% of the rifle's base
    // cost of 50.
    Reset();
    Hex(2, 2).terrain = kTerrainWater;
    m_game.m_pontoons.At(2, 2) = PontoonCell { HexSide::North, 9 };
    EXPECT_EQ(m_game.GetMoveCost(rifle, 2, 3, 2, 2, 8, true), 50);
    // A damaged pontoon onto open ground: the step is made without it, and
    // the pontoon's reason is not left behind.
    Reset();
    m_game.m_pontoons.At(2, 2) = PontoonCell { HexSide::North, 0 };
    m_game.m_lastRefusal = nullptr;
    EXPECT_EQ(m_game.GetMoveCost(rifle, 2, 3, 2, 2, 8, true), 63);
    EXPECT_EQ(m_game.m_lastRefusal, nullptr);
    // A road into marsh.
    Reset();
    Hex(2, 2).terrain = kTerrainMarsh;
    AddFeature(2, 3, HexSide::North, kLayerRoad);
    EXPECT_EQ(m_game.GetMoveCost(sherman, 2, 3, 2, 2, 5, true), 7);
    // A road takes the tank through a hedge it could not otherwise pass
    // when the hedge has no cost; without a road it is impassable.
    Reset();
    Type(kUsSherman)->m_movementRows[0] = nullptr;
    MovementCostRecord row = m_game.m_movementCosts[0][2];
    row.m_entries[MovementCostRecord::kFirstHexsideEntry + kLayerHedge] = 0;
    Type(kUsSherman)->m_movementRows[0] = &row;
    AddFeature(2, 3, HexSide::North, kLayerHedge);
    EXPECT_EQ(m_game.GetMoveCost(sherman, 2, 3, 2, 2, 5, true), 0);
    AddFeature(2, 3, HexSide::North, kLayerRoad);
    EXPECT_EQ(m_game.GetMoveCost(sherman, 2, 3, 2, 2, 5, true), 7);
    m_game.BindPlatoonTypes();
}

// Action points charged by carried-out moves, worked by hand from the demo
// rows (250 m a hex, 6 minutes a turn: base cost = percent x 2.5 / speed,
// rounded up). Rifle platoon, speed 5, foot row: Open 125% -> 63, Forest
// 175% -> 88, Beach 150% -> 75, Road 100% -> 50, climb 50% -> 25 per 25 m.
// Sherman, speed 40, tracked row: Open 225% -> 15, Road 100% -> 7, Forest
// 600% -> 38, Hedge 75% -> 5, climb 60% -> 4 per 25 m. Jeep, speed 60,
// wheeled row: Open 300% -> 13. Boat, speed 4: Water 100% -> 63.
struct ChargeRow {
    const char* cause;
    std::function<void()> setUp;
    std::vector<int> positions;
    std::vector<int> pointsLeft; // destination stack, top first
};

TEST_F(MoveOrdersTest, ActionPointsChargedByHand)
{
    const auto threePhase = [this] { m_game.m_options |= kOptionThreePhase; };
    const std::vector<ChargeRow> rows = {
        { "open ground", [this] { Add(2, 3, kUsRifle); }, { 1 }, { 37 } },
        { "a road along the hexside",
            [this] {
                Add(2, 3, kUsRifle);
                AddFeature(2, 3, HexSide::North, kLayerRoad);
            },
            { 1 }, { 50 } },
        { "a road in a hex over the road limit",
            [this] {
                Add(2, 3, kUsRifle);
                Add(2, 2, kUsRifle);
                AddFeature(2, 3, HexSide::North, kLayerRoad);
            },
            { 1 }, { 37, 100 } },
        { "a hedge",
            [this] {
                Add(2, 3, kUsSherman);
                AddFeature(2, 3, HexSide::North, kLayerHedge);
            },
            { 1 }, { 100 - 15 - 5 } },
        { "a climb of one level",
            [this] {
                Add(2, 3, kUsSherman);
                Hex(2, 2).level = 1;
            },
            { 1 }, { 100 - 15 - 4 } },
        { "a climb of one level on a road",
            [this] {
                Add(2, 3, kUsSherman);
                Hex(2, 2).level = 1;
                AddFeature(2, 3, HexSide::North, kLayerRoad);
            },
            { 1 }, { 100 - 7 - 4 } },
        { "double time: 63 x 3 / 4", [this] { Add(2, 3, kUsRifle, kUnitDoubleTime); }, { 1 }, { 100 - 47 } },
        { "disrupted tank", [this] { Add(2, 3, kUsSherman, kUnitDisrupted); }, { 1 }, { 100 - 30 } },
        { "night doubles vehicles",
            [this] {
                m_game.m_night = 1;
                Add(2, 3, kUsSherman);
            },
            { 1 }, { 100 - 30 } },
        { "night leaves men alone",
            [this] {
                m_game.m_night = 1;
                Add(2, 3, kUsRifle);
            },
            { 1 }, { 37 } },
        { "forest capped at 65",
            [this] {
                Add(2, 3, kUsRifle);
                Hex(2, 2).terrain = kTerrainForest;
            },
            { 1 }, { 35 } },
        { "three-phase forest is not capped",
            [this, threePhase] {
                threePhase();
                Add(2, 3, kUsRifle);
                Hex(2, 2).terrain = kTerrainForest;
            },
            { 1 }, { 12 } },
        { "three-phase vehicles pay triple",
            [this, threePhase] {
                threePhase();
                Add(2, 3, kUsSherman);
            },
            { 1 }, { 100 - 45 } },
        { "three-phase disrupted vehicles are not doubled",
            [this, threePhase] {
                threePhase();
                Add(2, 3, kUsSherman, kUnitDisrupted);
            },
            { 1 }, { 100 - 45 } },
        { "full points pay for more than 100",
            [this, threePhase] {
                threePhase();
                Add(2, 3, kUsSherman);
                Hex(2, 2).terrain = kTerrainForest;
            },
            { 1 }, { 0 } },
        { "move flag 0x400 pays 3",
            [this] {
                Type(kUsRifle)->m_moveFlags |= kMoveThreeApPerMove;
                Add(2, 3, kUsRifle);
                Hex(2, 2).terrain = kTerrainForest;
            },
            { 1 }, { 97 } },
        { "a passenger pays its carrier's cost", [this] { AddLoaded(2, 3, kUsJeep, kUsRifle); }, { 1, 2 }, { 87, 87 } },
        { "a carrier on a boat pays the boat's",
            [this] {
                Hex(2, 3).terrain = kTerrainWater;
                Hex(2, 2).terrain = kTerrainWater;
                AddLoaded(2, 3, kUsBoat, kUsJeep);
            },
            { 1, 2 }, { 37, 37 } },
        { "a boat pays what its passenger pays to land",
            [this] {
                Hex(2, 3).terrain = kTerrainWater;
                Hex(2, 2).terrain = kTerrainBeach;
                AddLoaded(2, 3, kUsBoat, kUsRifle);
            },
            { 1, 2 }, { 35, 35 } },
    };
    for (const ChargeRow& row : rows) {
        SCOPED_TRACE(row.cause);
        Reset();
        row.setUp();
        std::vector<int> positions = row.positions;
        ASSERT_EQ(Move(2, 3, 2, 2, positions), "");
        std::vector<int> left;
        for (const PlacedUnit& unit : m_game.m_stacks.At(2, 2))
            left.push_back(unit.m_actionPoints);
        EXPECT_EQ(left, row.pointsLeft);
        Type(kUsRifle)->m_moveFlags &= ~kMoveThreeApPerMove;
    }
}

TEST_F(MoveOrdersTest, FullActionPointsAreRefusedInTheFinalPhase)
{
    m_game.m_options |= kOptionThreePhase;
    m_game.m_map.SetPhase(2);
    Add(2, 3, kUsSherman);
    Hex(2, 2).terrain = kTerrainForest;
    EXPECT_EQ(Move(2, 3, 2, 2, { 1 }), "Insufficient Movement Points");
    EXPECT_TRUE(m_game.CanAffordMove(Unit(2, 3, 1), 100, 0));
    EXPECT_FALSE(m_game.CanAffordMove(Unit(2, 3, 1), 100, 1));
}

TEST_F(MoveOrdersTest, ReserveCountsTheFireCostAndThePassengersUnloadCost)
{
    Add(2, 3, kUsHalfTrack, kUnitCarrying | kUnitSavedForFiring | kUnitSavedForUnloading);
    Add(2, 3, kUsRifle, kUnitCarried | kUnitDisrupted);
    // The half-track's fire cost (40) and twice the rifle's unload cost (15).
    EXPECT_EQ(m_game.GetActionPointReserve(*m_game.GetStackNode(2, 3, 1)), 40 + 30);
    EXPECT_EQ(m_game.GetActionPointReserve(*m_game.GetStackNode(2, 3, 2)), 0);
}

struct CountingTarget {
    void Step() { ++steps; }
    int steps = 0;
};

TEST_F(MoveOrdersTest, ACarriedOutMove)
{
    CountingTarget target;
    m_game.SetMoveCallback(MakeMemberCallback(&target, &CountingTarget::Step));
    Add(2, 3, kUsRifle).m_value = 1;
    AddLoaded(2, 3, kUsJeep, kUsRifle);
    Unit(2, 3, 2).m_value = 2;
    Unit(2, 3, 3).m_value = 3;
    Unit(2, 3, 3).m_status |= kUnitHidden | kUnitDiggingIn;
    Add(2, 3, kUsSherman).m_value = 4;

    std::vector<int> positions = { 4, 2, 3 };
    ASSERT_TRUE(m_game.MoveUnits(2, 3, 2, 2, positions.data(), 3));
    EXPECT_EQ(target.steps, 1);
    EXPECT_EQ(positions, (std::vector<int> { 1, 2, 3 }));
    std::vector<int> tags;
    for (const PlacedUnit& unit : m_game.m_stacks.At(2, 2)) {
        tags.push_back(unit.m_value);
        EXPECT_EQ(unit.m_facing, HexSide::North);
        EXPECT_NE(unit.m_status & kUnitMoved, 0U);
        EXPECT_EQ(unit.m_status & (kUnitHidden | kUnitDiggingIn), 0U);
    }
    EXPECT_EQ(tags, (std::vector<int> { 4, 2, 3 }));
    EXPECT_EQ(Unit(2, 2, 1).m_actionPoints, 100 - 15);
    EXPECT_EQ(Unit(2, 2, 3).m_actionPoints, 100 - 13);
    EXPECT_EQ(m_game.m_stacks.At(2, 3).Count(), 1U);

    // The frame's walk addresses the same units at its next step.
    ASSERT_TRUE(m_game.MoveUnits(2, 2, 2, 1, positions.data(), 3));
    EXPECT_EQ(target.steps, 2);
    EXPECT_EQ(m_game.m_snapshots.size(), 3U);
    EXPECT_EQ(m_game.m_entrySides.At(2, 3), HexSide::North);
    EXPECT_EQ(m_game.m_entrySides.At(2, 2), HexSide::North);

    m_game.UndoMoves();
    m_game.ClearUndo();
    EXPECT_EQ(m_game.m_stacks.At(2, 3).Count(), 4U);
    EXPECT_TRUE(m_game.m_stacks.At(2, 1).IsEmpty());
    EXPECT_EQ(Unit(2, 3, 4).m_actionPoints, 100);
    EXPECT_EQ(Unit(2, 3, 3).m_status, static_cast<std::uint32_t>(kUnitCarried | kUnitHidden | kUnitDiggingIn));
    EXPECT_EQ(m_game.m_entrySides.At(2, 3), HexSide::None);
}

TEST_F(MoveOrdersTest, ArmedUnitsSpotTheEnemyTheyMoveNextTo)
{
    m_game.m_opponentHidden = true;
    Add(2, 3, kUsRifle);
    const HexPos next = Neighbour(2, 2, HexSide::NorthEast);
    Add(next.column, next.row, kGermanRifle, kUnitHidden);
    ASSERT_EQ(Move(2, 3, 2, 2, { 1 }), "");
    EXPECT_EQ(m_game.GetContactLevel(next.column, next.row, 0), 1);
    // Walking past leaves the units hidden.
    EXPECT_NE(Unit(next.column, next.row, 1).m_status & kUnitHidden, 0U);
}

TEST_F(MoveOrdersTest, ThreePhaseUnitsStopNextToADangerousEnemy)
{
    m_game.m_options |= kOptionThreePhase;
    AddLoaded(2, 3, kUsHalfTrack, kUsRifle);
    Unit(2, 3, 2).m_actionPoints = 60;
    const HexPos next = Neighbour(2, 2, HexSide::North);
    Add(next.column, next.row, kGermanRifle);
    ASSERT_EQ(Move(2, 3, 2, 2, { 1, 2 }), "");
    EXPECT_EQ(Unit(2, 2, 1).m_actionPoints, 0);
    // The passenger keeps what it had after paying its carrier's cost.
    EXPECT_GT(Unit(2, 2, 2).m_actionPoints, 0);
}

TEST_F(MoveOrdersTest, SideEffectsOfRefusedMoves)
{
    // Bumping into a hidden enemy marks it and takes its hidden bit.
    m_game.m_opponentHidden = true;
    Add(2, 3, kUsRifle);
    Add(2, 2, kGermanRifle, kUnitHidden);
    m_game.m_hexFlags.At(2, 2) = CGameData::kHexCave;
    EXPECT_EQ(Move(2, 3, 2, 2, { 1 }), "Cannot move into hex containing enemy");
    EXPECT_EQ(m_game.GetContactLevel(2, 2, 0), 1);
    EXPECT_EQ(Unit(2, 2, 1).m_status & kUnitHidden, 0U);
    EXPECT_EQ(m_game.m_hexFlags.At(2, 2), CGameData::kHexCave | CGameData::kHexCaveRevealed);

    // Unarmed units bump without seeing anything.
    Reset();
    m_game.m_opponentHidden = true;
    Add(2, 3, kUsJeep);
    Add(2, 2, kGermanRifle, kUnitHidden);
    EXPECT_EQ(Move(2, 3, 2, 2, { 1 }), "Cannot move into hex containing enemy");
    EXPECT_EQ(m_game.GetContactLevel(2, 2, 0), 0);

    // Held between two armed enemies, the unit spots all around it, cover
    // or not.
    Reset();
    m_game.m_opponentHidden = true;
    m_game.m_options |= kOptionThreePhase;
    Add(2, 3, kUsRifle);
    const HexPos between = Between();
    Add(between.column, between.row, kGermanRifle);
    Hex(between.column, between.row).terrain = kTerrainForest;
    const HexPos behind = Neighbour(2, 3, HexSide::South);
    Add(behind.column, behind.row, kGermanRifle);
    EXPECT_EQ(Move(2, 3, 2, 2, { 1 }), "Movement prevented by adjacent enemy units");
    EXPECT_EQ(m_game.GetContactLevel(between.column, between.row, 0), 2);
    EXPECT_EQ(m_game.GetContactLevel(behind.column, behind.row, 0), 2);

    // A cave entered by side 0 is revealed.
    Reset();
    Add(2, 3, kUsRifle);
    m_game.m_hexFlags.At(2, 2) = CGameData::kHexCave;
    ASSERT_EQ(Move(2, 3, 2, 2, { 1 }), "");
    EXPECT_EQ(m_game.m_hexFlags.At(2, 2), CGameData::kHexCave | CGameData::kHexCaveRevealed);
}

TEST_F(MoveOrdersTest, DisruptedUnitsMaySidestepTheEnemy)
{
    Add(2, 3, kUsRifle, kUnitDisrupted);
    Add(2, 0, kGermanRifle);
    m_game.SetContact(2, 0, 0, 1, 3);
    EXPECT_EQ(m_game.GetDistanceToKnownEnemy(2, 3, 0), 3);
    // Without contact the enemy is not known.
    EXPECT_EQ(m_game.GetDistanceToKnownEnemy(2, 3, 1), 7);
    const HexPos side = Neighbour(2, 3, HexSide::NorthEast);
    ASSERT_EQ(m_game.GetDistanceToKnownEnemy(side.column, side.row, 0), 3);
    EXPECT_EQ(Move(2, 3, side.column, side.row, { 1 }), "");
}

TEST_F(MoveOrdersTest, PathStepCostsSkipEnemiesStacksAndKnownMines)
{
    const PlacedUnit rifle(Type(kUsRifle), nullptr);
    const PlacedUnit engineer(Type(kUsEngineer), nullptr);
    Add(2, 2, kGermanRifle);
    EXPECT_EQ(m_game.GetPathStepCost(rifle, 2, 3, 2, 2, 1, 8), 0);
    EXPECT_EQ(m_game.GetStepCostWithoutEnemyTest(rifle, 2, 3, 2, 2, 1, 8), 63);
    // An enemy hex the mover does not see is costed as ground.
    m_game.m_unitsAnswer = [](int, int) { return false; };
    EXPECT_EQ(m_game.GetPathStepCost(rifle, 2, 3, 2, 2, 1, 8), 63);
    m_game.m_unitsAnswer = nullptr;

    Reset();
    for (int i = 0; i < 4; ++i)
        Add(2, 2, kUsRifle);
    EXPECT_EQ(m_game.GetPathStepCost(rifle, 2, 3, 2, 2, 1, 8), 63);
    EXPECT_EQ(m_game.GetPathStepCost(rifle, 2, 3, 2, 2, 1, 9), 0);
    EXPECT_EQ(m_game.GetPathStepCost(rifle, 2, 3, 2, 2, 3, 8), 0);
    EXPECT_EQ(m_game.GetStepCostMinesOnly(rifle, 2, 3, 2, 2, 9), 63);

    // Mines are known to the mover when the enemy's information is open
    // or the mover has contact 1 there; engineers pass them at a surcharge.
    Reset();
    m_game.m_hexFlags.At(2, 2) = CGameData::kHexMinefield2;
    EXPECT_EQ(m_game.GetStepCostMinesOnly(rifle, 2, 3, 2, 2, 8), 0);
    EXPECT_EQ(m_game.GetStepCostMinesOnly(engineer, 2, 3, 2, 2, 7), 65);
    m_game.m_options |= kOptionThreePhase;
    EXPECT_EQ(m_game.GetStepCostMinesOnly(engineer, 2, 3, 2, 2, 7), 63 + 30);
    m_game.m_options = 0;
    m_game.m_hidden[1] = true;
    EXPECT_EQ(m_game.GetStepCostMinesOnly(rifle, 2, 3, 2, 2, 8), 63);
    m_game.SetContact(2, 2, 0, 1, 1);
    EXPECT_EQ(m_game.GetStepCostMinesOnly(rifle, 2, 3, 2, 2, 8), 0);

    // A block the mover cannot know of costs nothing extra to the search.
    Reset();
    m_game.m_hexFlags.At(2, 2) = CGameData::kHexBlocked;
    EXPECT_EQ(m_game.GetMoveCost(rifle, 2, 3, 2, 2, 8, true), 65);
    EXPECT_EQ(m_game.GetMoveCost(rifle, 2, 3, 2, 2, 8, false), 65);
    m_game.m_hidden[1] = true;
    EXPECT_EQ(m_game.GetMoveCost(rifle, 2, 3, 2, 2, 8, false), 63);
    EXPECT_EQ(m_game.GetMoveCost(rifle, 2, 3, 2, 2, 8, true), 65);
}

TEST_F(MoveOrdersTest, HostileCostEntriesStayInTheIntRange)
{
    m_game.m_options |= kOptionThreePhase;
    m_game.m_parameters.m_flaggedHexMoveCost = 2147483647;
    m_game.m_hexFlags.At(2, 2) = CGameData::kHexBlocked;
    const PlacedUnit sherman(Type(kUsSherman), nullptr);
    EXPECT_EQ(m_game.GetMoveCost(sherman, 2, 3, 2, 2, 5, true), 2147483647);
    m_game.m_parameters.m_flaggedHexMoveCost = 100;
    m_game.m_map.SetElevationScale(0, 2000000000);
    Hex(2, 2).level = 35;
    // A rise of 2147483647 m (the elevation saturates): 3 x (15 + 100 + 4 x
    // 2147483647 / 25).
    EXPECT_EQ(m_game.GetMoveCost(sherman, 2, 3, 2, 2, 5, true), 1030792494);
}

TEST_F(MoveOrdersTest, MoveRangeAndDangerousNeighbours)
{
    // 100 points at the rifle's base cost of 50 a hex: 20 tenths.
    EXPECT_EQ(m_game.GetMoveRangeTenths(PlacedUnit(Type(kUsRifle), nullptr)), 20);
    Add(2, 2, kGermanRifle);
    EXPECT_TRUE(m_game.IsNextToArmedEnemy(2, 3, 1));
    EXPECT_FALSE(m_game.IsNextToArmedEnemy(2, 3, 0));
    EXPECT_TRUE(m_game.IsNextToDangerousEnemy(2, 3, 1));
    m_game.m_unitsAnswer = [](int, int) { return false; };
    EXPECT_FALSE(m_game.IsNextToDangerousEnemy(2, 3, 1));
    m_game.SetContact(2, 2, 0, 2, 1);
    EXPECT_TRUE(m_game.IsNextToDangerousEnemy(2, 3, 1));
}

} // namespace
