#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/rules/RulesGame.h"

namespace {

constexpr HexPos kNone { -1, -1 };

std::string At(const char* text, int x, int y)
{
    return text + (" at " + std::to_string(x)) + ", " + std::to_string(y);
}

const std::string kRange = CGameLos::kRangeText;
std::string Terrain(int x, int y) { return At(CGameLos::kTerrainText, x, y); }
std::string Wrecks(int x, int y) { return At(CGameLos::kWreckSmokeText, x, y); }
std::string Smoke(int x, int y) { return At(CGameLos::kSmokeText, x, y); }
std::string Units(int x, int y) { return At(CGameLos::kUnitsText, x, y); }

// One line of sight on a fresh 10 x 8 map (Open, level 0, Forest 5 high).
struct LosCase {
    const char* what;
    std::function<void()> setup;
    HexPos from;
    HexPos to;
    bool seen;
    HexPos blocking;
    std::string reason; // empty: none stored
};

class LosTest : public RulesGameTest {
protected:
    void SetUp() override { Reset(); }

    void Reset()
    {
        MakeMap(10, 8);
        m_game.m_parameters.m_terrainValue[kTerrainForest] = 5;
        m_game.m_terrain = TerrainConditions {};
        m_game.m_reason = String();
        m_game.m_unitsAnswer = nullptr;
    }

    void Forest(int x, int y) { SetTerrain(x, y, kTerrainForest); }
    void Wall(int x, int y, HexSide side) { AddFeature(x, y, kLayerHighWall, side); }
    // A stack of one unit of that strength, which counts for stacking.
    void AddUnits(int x, int y, int strength)
    {
        PlacedUnit unit(nullptr, nullptr);
        unit.m_strength = strength;
        m_game.m_stacks.At(x, y).Append(unit);
    }

    void Run(const std::vector<LosCase>& cases)
    {
        for (const LosCase& c : cases) {
            SCOPED_TRACE(c.what);
            Reset();
            if (c.setup)
                c.setup();
            EXPECT_EQ(m_game.CheckLineOfSight(c.from.column, c.from.row, c.to.column, c.to.row, 1), c.seen);
            EXPECT_EQ(m_game.m_blockingHex, c.blocking)
                << m_game.m_blockingHex.column << "," << m_game.m_blockingHex.row;
            EXPECT_EQ(m_game.m_reason.str(), c.reason);
            EXPECT_EQ(m_game.m_report, 1);
        }
    }
};

TEST_F(LosTest, HexIsLitAtNightByStarshellsAroundItOrBurningWrecks)
{
    m_game.SetStarshell(0, 4, 4);
    m_game.AddWreck(7, 2, 6, false);
    m_game.AddWreck(1, 6, 5, false);
    // By day nothing is lit.
    EXPECT_FALSE(m_game.IsHexLit(4, 4));
    EXPECT_FALSE(m_game.IsHexLit(7, 2));

    m_game.m_night = 1;
    EXPECT_TRUE(m_game.IsHexLit(4, 4));
    // Every neighbour of the starshell's hex, and nothing two hexes away.
    for (HexSide side = HexSide::North; side.IsValid(); side.Next()) {
        HexPos n;
        ASSERT_TRUE(m_game.m_map.GetNeighbour(side, 4, 4, n));
        EXPECT_TRUE(m_game.IsHexLit(n.column, n.row)) << n.column << "," << n.row;
    }
    EXPECT_FALSE(m_game.IsHexLit(4, 2));
    EXPECT_FALSE(m_game.IsHexLit(6, 4));
    EXPECT_TRUE(m_game.IsHexLit(7, 2));
    EXPECT_FALSE(m_game.IsHexLit(1, 6));
    EXPECT_FALSE(m_game.IsHexLit(6, 2));
    // A starshell at the map's corner lights its neighbours on the map;
    // hexes off the map are never lit.
    m_game.SetStarshell(1, 0, 0);
    EXPECT_TRUE(m_game.IsHexLit(1, 0));
    EXPECT_TRUE(m_game.IsHexLit(0, 1));
    EXPECT_FALSE(m_game.IsHexLit(-1, 0));
    EXPECT_FALSE(m_game.IsHexLit(10, 40));
}

TEST_F(LosTest, HeightDifferenceIsLevelsTimesTheStepHeldToTheIntRange)
{
    SetLevel(2, 2, 5);
    SetLevel(3, 3, 1);
    EXPECT_EQ(m_game.GetHeightDifference(3, 3, 2, 2), 40);
    EXPECT_EQ(m_game.GetHeightDifference(2, 2, 3, 3), -40);
    EXPECT_EQ(m_game.GetHeightDifference(2, 2, 2, 2), 0);
    EXPECT_EQ(m_game.GetHeightDifference(2, 2, -1, 2), 0);
    m_game.m_map.SetElevationScale(0, 2000000000);
    EXPECT_EQ(m_game.GetHeightDifference(3, 3, 2, 2), 2147483647);
    EXPECT_EQ(m_game.GetHeightDifference(2, 2, 3, 3), -2147483647 - 1);
}

TEST_F(LosTest, RangeNightAndTheMapEdgeAreDecidedBeforeAnyWalk)
{
    auto& g = m_game;
    Run({
        { "the same hex, even off the map", [&] { g.m_visibility = 0; }, { -3, 2 }, { -3, 2 }, true, kNone, "" },
        { "a neighbour at night beyond the visibility",
            [&] {
                g.m_night = 1;
                g.m_visibility = 0;
                Forest(2, 3);
            },
            { 2, 4 }, { 2, 3 }, true, kNone, "" },
        { "a neighbour off the map", nullptr, { 0, 0 }, { 0, -1 }, true, kNone, "" },
        { "distance equal to the visibility", [&] { g.m_visibility = 4; }, { 2, 4 }, { 6, 4 }, true, kNone, "" },
        { "one past the visibility", [&] { g.m_visibility = 4; }, { 2, 4 }, { 7, 4 }, false, kNone, kRange },
        { "a target off the map", nullptr, { 2, 4 }, { 2, 9 }, false, kNone, kRange },
        { "a viewer off the map", nullptr, { 12, 4 }, { 8, 4 }, false, kNone, kRange },
        { "an unlit target at night", [&] { g.m_night = 1; }, { 2, 4 }, { 2, 2 }, false, kNone, kRange },
        { "a starshell on the target",
            [&] {
                g.m_night = 1;
                g.SetStarshell(1, 2, 2);
            },
            { 2, 4 }, { 2, 2 }, true, kNone, "" },
        { "a starshell on a neighbour of the target",
            [&] {
                g.m_night = 1;
                g.SetStarshell(1, 3, 2);
            },
            { 2, 4 }, { 2, 2 }, true, kNone, "" },
        { "a starshell two hexes from the target",
            [&] {
                g.m_night = 1;
                g.SetStarshell(1, 4, 2);
            },
            { 2, 4 }, { 2, 2 }, false, kNone, kRange },
        { "six wrecks in the target",
            [&] {
                g.m_night = 1;
                g.AddWreck(2, 2, 6, false);
            },
            { 2, 4 }, { 2, 2 }, true, kNone, "" },
        { "five wrecks in the target",
            [&] {
                g.m_night = 1;
                g.AddWreck(2, 2, 5, false);
            },
            { 2, 4 }, { 2, 2 }, false, kNone, kRange },
        { "a fire mark on the target",
            [&] {
                g.m_night = 1;
                g.SetFireMark(0, 2, 2);
            },
            { 2, 4 }, { 2, 2 }, true, kNone, "" },
        { "a lit target is still blocked",
            [&] {
                g.m_night = 1;
                g.SetFireMark(0, 2, 2);
                Forest(2, 3);
            },
            { 2, 4 }, { 2, 2 }, false, { 2, 3 }, Terrain(2, 3) },
    });
}

TEST_F(LosTest, IntermediateHexesBlockByTerrainWrecksSmokeAndUnitsInThatOrder)
{
    auto& g = m_game;
    const auto height = [&](int terrain, int value) { g.m_parameters.m_terrainValue[terrain] = value; };
    // Up the column from (2, 4) to (2, 1) on a flat map, through (2, 3) and (2, 2).
    const HexPos v { 2, 4 };
    const HexPos t { 2, 1 };
    Run({
        { "open ground", nullptr, v, t, true, kNone, "" },
        { "woods", [&] { Forest(2, 2); }, v, t, false, { 2, 2 }, Terrain(2, 2) },
        { "terrain of height 0", [&] { SetTerrain(2, 3, kTerrainRough); }, v, t, true, kNone, "" },
        { "woods in the target and next to the viewer",
            [&] {
                Forest(2, 1);
                Forest(2, 5);
            },
            v, t, true, kNone, "" },
        { "rubble halves 1 to 0",
            [&] {
                height(kTerrainVillage, 1);
                SetTerrain(2, 3, kTerrainVillage);
                g.m_hexFlags.At(2, 3) |= CGameData::kHexRubble;
            },
            v, t, true, kNone, "" },
        { "rubble halves 3 to 1",
            [&] {
                height(kTerrainVillage, 3);
                SetTerrain(2, 3, kTerrainVillage);
                g.m_hexFlags.At(2, 3) |= CGameData::kHexRubble;
            },
            v, t, false, { 2, 3 }, Terrain(2, 3) },
        { "standing crops",
            [&] {
                height(kTerrainField, 2);
                SetTerrain(2, 3, kTerrainField);
            },
            v, t, false, { 2, 3 }, Terrain(2, 3) },
        { "crops at field state 1",
            [&] {
                height(kTerrainField, 2);
                SetTerrain(2, 3, kTerrainField);
                g.m_terrain.fieldState = 1;
            },
            v, t, true, kNone, "" },
        { "as many wrecks as the obstruction unit", [&] { g.AddWreck(2, 3, 4, false); }, v, t, false, { 2, 3 },
            Wrecks(2, 3) },
        { "fewer wrecks", [&] { g.AddWreck(2, 3, 3, false); }, v, t, true, kNone, "" },
        { "smoke", [&] { g.SetSmoke(0, 2, 2, true); }, v, t, false, { 2, 2 }, Smoke(2, 2) },
        { "the smoke bit alone", [&] { g.m_hexFlags.At(2, 2) |= CGameData::kHexSmoke; }, v, t, true, kNone, "" },
        { "units over twice the obstruction unit", [&] { AddUnits(2, 3, 9); }, v, t, false, { 2, 3 }, Units(2, 3) },
        { "units at twice the obstruction unit", [&] { AddUnits(2, 3, 8); }, v, t, true, kNone, "" },
        { "wrecks count in the stacking total",
            [&] {
                AddUnits(2, 3, 6);
                g.AddWreck(2, 3, 3, false);
            },
            v, t, false, { 2, 3 }, Units(2, 3) },
        { "units the top layer does not show",
            [&] {
                AddUnits(2, 3, 9);
                g.m_unitsAnswer = [](int, int) { return false; };
            },
            v, t, true, kNone, "" },
        { "terrain before smoke",
            [&] {
                Forest(2, 3);
                g.SetSmoke(0, 2, 3, true);
            },
            v, t, false, { 2, 3 }, Terrain(2, 3) },
        { "wrecks before units",
            [&] {
                AddUnits(2, 3, 9);
                g.AddWreck(2, 3, 4, false);
            },
            v, t, false, { 2, 3 }, Wrecks(2, 3) },
        { "the nearer hex first",
            [&] {
                Forest(2, 2);
                g.SetSmoke(0, 2, 3, true);
            },
            v, t, false, { 2, 3 }, Smoke(2, 3) },
    });
}

TEST_F(LosTest, HeightsCompareWithTheLineFromTheViewer)
{
    auto& g = m_game;
    const auto height = [&](int value) { g.m_parameters.m_terrainValue[kTerrainForest] = value; };
    // From (2, 4) up to (2, 1); (2, 2) lies at two thirds of the way.
    const HexPos v { 2, 4 };
    const HexPos t { 2, 1 };
    Run({
        // The viewer 20 above the rest: the line is 40 / 3 below it at (2, 2).
        { "woods 7 high rise above the line",
            [&] {
                SetLevel(2, 4, 2);
                height(7);
                Forest(2, 2);
            },
            v, t, false, { 2, 2 }, Terrain(2, 2) },
        { "woods 6 high stay below",
            [&] {
                SetLevel(2, 4, 2);
                height(6);
                Forest(2, 2);
            },
            v, t, true, kNone, "" },
        { "units below a higher viewer",
            [&] {
                SetLevel(2, 4, 2);
                AddUnits(2, 2, 20);
            },
            v, t, true, kNone, "" },
        { "smoke 20 high at 40 below a viewer 60 up",
            [&] {
                SetLevel(2, 4, 6);
                SetLevel(2, 2, 2);
                g.SetSmoke(0, 2, 2, true);
            },
            v, t, false, { 2, 2 }, Smoke(2, 2) },
        { "burning wrecks 20 high at 40 below a viewer 60 up",
            [&] {
                SetLevel(2, 4, 6);
                SetLevel(2, 2, 2);
                g.AddWreck(2, 2, 4, false);
            },
            v, t, false, { 2, 2 }, Wrecks(2, 2) },
        { "wrecks whose smoke stays on the line",
            [&] {
                SetLevel(2, 4, 6);
                g.AddWreck(2, 2, 4, false);
            },
            v, t, true, kNone, "" },
        { "smoke exactly on the line",
            [&] {
                SetLevel(2, 4, 6);
                g.SetSmoke(0, 2, 2, true);
            },
            v, t, true, kNone, "" },
        // A slope rising 10 a hex to a target 30 up: units block from the
        // line up, terrain only above it.
        { "units on a slope that the line touches",
            [&] {
                SetLevel(2, 1, 3);
                SetLevel(2, 2, 2);
                SetLevel(2, 3, 1);
                AddUnits(2, 2, 9);
            },
            v, t, false, { 2, 2 }, Units(2, 2) },
        { "units below a rising line",
            [&] {
                SetLevel(2, 1, 3);
                SetLevel(2, 2, 1);
                AddUnits(2, 2, 9);
            },
            v, t, true, kNone, "" },
        { "a slope that the line touches",
            [&] {
                SetLevel(2, 1, 3);
                SetLevel(2, 2, 2);
                SetLevel(2, 3, 1);
            },
            v, t, true, kNone, "" },
        { "a hill above a rising line",
            [&] {
                SetLevel(2, 1, 3);
                SetLevel(2, 3, 2);
            },
            v, t, false, { 2, 3 }, Terrain(2, 3) },
        { "a step that the products would overflow in 32 bits",
            [&] {
                g.m_map.SetElevationScale(0, 2000000000);
                SetLevel(2, 4, 30);
                SetLevel(2, 3, 19);
                SetLevel(2, 2, 11);
            },
            v, t, false, { 2, 2 }, Terrain(2, 2) },
    });
}

TEST_F(LosTest, OnlyHighWallsBocageAndDunesBetweenIntermediateHexesBlock)
{
    auto& g = m_game;
    // Up from (2, 5) to (2, 1) through (2, 4), (2, 3) and (2, 2).
    const HexPos v { 2, 5 };
    const HexPos t { 2, 1 };
    Run({
        { "a wall recorded below the side", [&] { Wall(2, 3, HexSide::North); }, v, t, false, { 2, 3 }, Terrain(2, 3) },
        { "the same side recorded above it", [&] { Wall(2, 2, HexSide::South); }, v, t, false, { 2, 2 },
            Terrain(2, 2) },
        { "a breached wall",
            [&] {
                Wall(2, 3, HexSide::North);
                g.m_damagedBridges.At(2, 3).Add(HexSide::North);
            },
            v, t, true, kNone, "" },
        { "a breach of another side",
            [&] {
                Wall(2, 3, HexSide::North);
                g.m_damagedBridges.At(2, 3).Add(HexSide::South);
            },
            v, t, false, { 2, 3 }, Terrain(2, 3) },
        { "bocage", [&] { AddFeature(2, 3, kLayerBocage, HexSide::North); }, v, t, false, { 2, 3 }, Terrain(2, 3) },
        { "a dune", [&] { AddFeature(2, 3, kLayerDune, HexSide::North); }, v, t, false, { 2, 3 }, Terrain(2, 3) },
        { "hedge, stone wall, cliff and escarpment",
            [&] {
                for (int layer : { kLayerHedge, kLayerStoneWall, kLayerCliff, kLayerEscarpment })
                    AddFeature(2, 3, layer, HexSide::North);
            },
            v, t, true, kNone, "" },
        { "sides of the viewer's hex",
            [&] {
                Wall(2, 5, HexSide::North);
                Wall(2, 4, HexSide::South);
            },
            v, t, true, kNone, "" },
        { "sides of the target's hex",
            [&] {
                Wall(2, 1, HexSide::South);
                Wall(2, 2, HexSide::North);
            },
            v, t, true, kNone, "" },
        { "sides along the line", [&] { Wall(2, 3, HexSide::NorthEast); }, v, t, true, kNone, "" },
        { "down the column", [&] { Wall(2, 3, HexSide::North); }, t, v, false, { 2, 3 }, Terrain(2, 3) },
        { "a wall below a higher viewer",
            [&] {
                SetLevel(2, 5, 2);
                Wall(2, 3, HexSide::North);
            },
            v, t, true, kNone, "" },
        { "a wall on the viewer's level",
            [&] {
                SetLevel(2, 5, 2);
                SetLevel(2, 3, 2);
                Wall(2, 3, HexSide::North);
            },
            v, t, false, { 2, 3 }, Terrain(2, 3) },
        { "the hex before its sides",
            [&] {
                Wall(2, 3, HexSide::North);
                g.SetSmoke(0, 2, 3, true);
            },
            v, t, false, { 2, 3 }, Smoke(2, 3) },
        { "the side toward the target before the one toward the viewer",
            [&] {
                Wall(2, 3, HexSide::North);
                Wall(2, 3, HexSide::South);
                Wall(2, 4, HexSide::North);
            },
            v, t, false, { 2, 4 }, Terrain(2, 4) },
    });
}

TEST_F(LosTest, RowGrainsTestCentredHexesCornersAndStraddlingPairs)
{
    auto& g = m_game;
    // East from (2, 4) to (6, 4): (4, 4) is centred on the line, which runs
    // between (3, 4) and (3, 5), then between (5, 4) and (5, 5).
    const HexPos v { 2, 4 };
    const HexPos t { 6, 4 };
    Run({
        { "open ground", nullptr, v, t, true, kNone, "" },
        { "the centred hex", [&] { Forest(4, 4); }, v, t, false, { 4, 4 }, Terrain(4, 4) },
        // A member that blocks leaves its reason, though the line goes on.
        { "one of a pair", [&] { Forest(3, 4); }, v, t, true, kNone, Terrain(3, 4) },
        { "the other of a pair", [&] { Forest(5, 5); }, v, t, true, kNone, Terrain(5, 5) },
        { "both of a pair",
            [&] {
                Forest(3, 4);
                Forest(3, 5);
            },
            v, t, false, { 3, 5 }, Terrain(3, 5) },
        { "both of the pair next to the target",
            [&] {
                Forest(5, 5);
                g.SetSmoke(0, 5, 4, true);
            },
            v, t, false, { 5, 5 }, Terrain(5, 5) },
        { "one of each pair",
            [&] {
                Forest(3, 4);
                Forest(5, 5);
            },
            v, t, true, kNone, Terrain(5, 5) },
        { "hexes off the line",
            [&] {
                Forest(4, 3);
                Forest(4, 5);
                Forest(3, 3);
            },
            v, t, true, kNone, "" },
        { "one side of an entry corner", [&] { Wall(4, 4, HexSide::NorthWest); }, v, t, true, kNone, Terrain(4, 4) },
        { "both sides of the entry corner",
            [&] {
                Wall(4, 4, HexSide::NorthWest);
                Wall(4, 4, HexSide::SouthWest);
            },
            v, t, false, { 4, 4 }, Terrain(4, 4) },
        { "both sides of the exit corner",
            [&] {
                Wall(4, 4, HexSide::NorthEast);
                Wall(4, 4, HexSide::SouthEast);
            },
            v, t, false, { 4, 4 }, Terrain(4, 4) },
        { "a corner seen from the straddling hexes",
            [&] {
                Wall(3, 4, HexSide::SouthEast);
                Wall(3, 5, HexSide::NorthEast);
            },
            v, t, false, { 3, 5 }, Terrain(3, 5) },
        { "one straddling hex's side", [&] { Wall(3, 4, HexSide::SouthEast); }, v, t, true, kNone, Terrain(3, 4) },
        { "the other straddling hex's side, not tested when the first is clear",
            [&] { Wall(3, 5, HexSide::NorthEast); }, v, t, true, kNone, "" },
        { "the side the line runs along", [&] { Wall(3, 4, HexSide::South); }, v, t, true, kNone, "" },
        { "the corners of the viewer and the target",
            [&] {
                Wall(2, 4, HexSide::NorthEast);
                Wall(2, 4, HexSide::SouthEast);
                Wall(3, 4, HexSide::SouthWest);
                Wall(3, 5, HexSide::NorthWest);
                Wall(6, 4, HexSide::NorthWest);
                Wall(6, 4, HexSide::SouthWest);
                Wall(5, 4, HexSide::SouthEast);
                Wall(5, 5, HexSide::NorthEast);
            },
            v, t, true, kNone, "" },
        { "west", [&] { Forest(4, 4); }, t, v, false, { 4, 4 }, Terrain(4, 4) },
        { "west, both of a pair",
            [&] {
                Forest(5, 4);
                Forest(5, 5);
            },
            t, v, false, { 5, 5 }, Terrain(5, 5) },
        { "west, a corner seen from the straddling hexes",
            [&] {
                Wall(5, 4, HexSide::SouthWest);
                Wall(5, 5, HexSide::NorthWest);
            },
            t, v, false, { 5, 5 }, Terrain(5, 5) },
        // Along the top edge the pairs of the even columns lie half off the map.
        { "a pair half off the map", [&] { Forest(4, 0); }, { 3, 0 }, { 7, 0 }, true, kNone, Terrain(4, 0) },
        { "a pair half off the map, west", [&] { Forest(6, 0); }, { 7, 0 }, { 3, 0 }, true, kNone, Terrain(6, 0) },
        { "a pair half off the map at the bottom", [&] { Forest(4, 7); }, { 2, 7 }, { 6, 7 }, false, { 4, 7 },
            Terrain(4, 7) },
        { "the order: the centred hex before its corners",
            [&] {
                Wall(4, 4, HexSide::NorthWest);
                Wall(4, 4, HexSide::SouthWest);
                g.SetSmoke(0, 4, 4, true);
            },
            v, t, false, { 4, 4 }, Smoke(4, 4) },
    });
}

TEST_F(LosTest, DiagonalGrainsTestCentredHexesCornersAndStraddlingPairs)
{
    // From (2, 4) along the N/NE grain to (4, 1) through the centred (3, 3):
    // the pairs are (2, 3) and (3, 4), then (3, 2) and (4, 2).
    const HexPos v { 2, 4 };
    const HexPos ne { 4, 1 };
    Run({
        { "N/NE open", nullptr, v, ne, true, kNone, "" },
        { "N/NE centred hex", [&] { Forest(3, 3); }, v, ne, false, { 3, 3 }, Terrain(3, 3) },
        { "N/NE one of a pair", [&] { Forest(2, 3); }, v, ne, true, kNone, Terrain(2, 3) },
        { "N/NE the pair next to the viewer",
            [&] {
                Forest(2, 3);
                Forest(3, 4);
            },
            v, ne, false, { 3, 4 }, Terrain(3, 4) },
        { "N/NE the pair next to the target",
            [&] {
                Forest(3, 2);
                Forest(4, 2);
            },
            v, ne, false, { 4, 2 }, Terrain(4, 2) },
        { "N/NE entry corner",
            [&] {
                Wall(3, 3, HexSide::South);
                Wall(3, 3, HexSide::SouthWest);
            },
            v, ne, false, { 3, 3 }, Terrain(3, 3) },
        { "N/NE exit corner",
            [&] {
                Wall(3, 3, HexSide::North);
                Wall(3, 3, HexSide::NorthEast);
            },
            v, ne, false, { 3, 3 }, Terrain(3, 3) },
        { "N/NE one side of a corner", [&] { Wall(3, 3, HexSide::North); }, v, ne, true, kNone, Terrain(3, 3) },
        { "N/NE the exit corner from the straddling hexes",
            [&] {
                Wall(3, 2, HexSide::South);
                Wall(4, 2, HexSide::SouthWest);
            },
            v, ne, false, { 4, 2 }, Terrain(4, 2) },
        { "N/NE the entry corner from the straddling hexes",
            [&] {
                Wall(2, 3, HexSide::NorthEast);
                Wall(3, 4, HexSide::North);
            },
            v, ne, false, { 3, 4 }, Terrain(3, 4) },
        { "N/NE the viewer's corner",
            [&] {
                Wall(2, 3, HexSide::SouthEast);
                Wall(3, 4, HexSide::NorthWest);
                Wall(2, 4, HexSide::North);
                Wall(2, 4, HexSide::NorthEast);
            },
            v, ne, true, kNone, "" },
        // The order within the centred column: the arriving pair's second
        // member, the centred hex, the leaving pair's first member, the
        // corners from the straddling hexes, then the centred hex's own.
        { "N/NE the arriving pair before the centred hex",
            [&] {
                Forest(2, 3);
                Forest(3, 4);
                Forest(3, 3);
            },
            v, ne, false, { 3, 4 }, Terrain(3, 4) },
        { "N/NE the straddling corners before the centred hex's",
            [&] {
                Wall(3, 3, HexSide::South);
                Wall(3, 3, HexSide::SouthWest);
                Wall(3, 2, HexSide::South);
                Wall(4, 2, HexSide::SouthWest);
            },
            v, ne, false, { 4, 2 }, Terrain(4, 2) },
        // From (2, 4) along the SE/S grain to (4, 7) through (3, 6): pairs
        // (2, 5) and (3, 5), then (3, 7) and (4, 6).
        { "SE/S centred hex", [&] { Forest(3, 6); }, v, { 4, 7 }, false, { 3, 6 }, Terrain(3, 6) },
        { "SE/S a pair",
            [&] {
                Forest(3, 7);
                Forest(4, 6);
            },
            v, { 4, 7 }, false, { 4, 6 }, Terrain(4, 6) },
        { "SE/S one of each pair",
            [&] {
                Forest(2, 5);
                Forest(4, 6);
            },
            v, { 4, 7 }, true, kNone, Terrain(4, 6) },
        { "SE/S entry corner",
            [&] {
                Wall(3, 6, HexSide::North);
                Wall(3, 6, HexSide::NorthWest);
            },
            v, { 4, 7 }, false, { 3, 6 }, Terrain(3, 6) },
        // From (6, 4) along the NW/N grain to (4, 1) through (5, 3): pairs
        // (6, 3) and (5, 4), then (5, 2) and (4, 2).
        { "NW/N centred hex", [&] { Forest(5, 3); }, { 6, 4 }, ne, false, { 5, 3 }, Terrain(5, 3) },
        { "NW/N a pair",
            [&] {
                Forest(6, 3);
                Forest(5, 4);
            },
            { 6, 4 }, ne, false, { 5, 4 }, Terrain(5, 4) },
        { "NW/N exit corner",
            [&] {
                Wall(5, 3, HexSide::North);
                Wall(5, 3, HexSide::NorthWest);
            },
            { 6, 4 }, ne, false, { 5, 3 }, Terrain(5, 3) },
        // From (6, 4) along the S/SW grain to (4, 7) through (5, 6): pairs
        // (6, 5) and (5, 5), then (5, 7) and (4, 6).
        { "S/SW centred hex", [&] { Forest(5, 6); }, { 6, 4 }, { 4, 7 }, false, { 5, 6 }, Terrain(5, 6) },
        { "S/SW a pair",
            [&] {
                Forest(5, 7);
                Forest(4, 6);
            },
            { 6, 4 }, { 4, 7 }, false, { 4, 6 }, Terrain(4, 6) },
        { "S/SW the entry corner from the straddling hexes",
            [&] {
                Wall(6, 5, HexSide::SouthWest);
                Wall(5, 5, HexSide::South);
            },
            { 6, 4 }, { 4, 7 }, false, { 5, 5 }, Terrain(5, 5) },
        { "S/SW hexes off the line",
            [&] {
                Forest(6, 6);
                Forest(4, 5);
                Forest(5, 4);
            },
            { 6, 4 }, { 4, 7 }, true, kNone, "" },
    });
}

TEST_F(LosTest, GeneralLinesWalkTheHexesTheLineCrosses)
{
    // From (2, 4) to (7, 3) the line crosses (3, 4), (4, 3), (5, 4) and (6, 3).
    const HexPos v { 2, 4 };
    const HexPos t { 7, 3 };
    Run({
        { "open ground", nullptr, v, t, true, kNone, "" },
        { "each crossed hex blocks",
            [&] {
                Forest(5, 4);
                Forest(6, 3);
            },
            v, t, false, { 5, 4 }, Terrain(5, 4) },
        { "the last crossed hex", [&] { Forest(6, 3); }, v, t, false, { 6, 3 }, Terrain(6, 3) },
        { "hexes beside the line",
            [&] {
                Forest(3, 3);
                Forest(4, 4);
                Forest(5, 3);
                Forest(6, 4);
                Forest(7, 4);
            },
            v, t, true, kNone, "" },
        { "a wall between two crossed hexes, in the first", [&] { Wall(4, 3, HexSide::SouthEast); }, v, t, false,
            { 4, 3 }, Terrain(4, 3) },
        { "the same wall in the second", [&] { Wall(5, 4, HexSide::NorthWest); }, v, t, false, { 5, 4 },
            Terrain(5, 4) },
        { "walls of the viewer's and the target's hexes",
            [&] {
                Wall(2, 4, HexSide::NorthEast);
                Wall(3, 4, HexSide::SouthWest);
                Wall(6, 3, HexSide::NorthEast);
                Wall(7, 3, HexSide::SouthWest);
            },
            v, t, true, kNone, "" },
        { "the way back", [&] { Forest(4, 3); }, t, v, false, { 4, 3 }, Terrain(4, 3) },
        { "a steep line", [&] { Forest(1, 2); }, v, { 0, 0 }, false, { 1, 2 }, Terrain(1, 2) },
    });
}

TEST_F(LosTest, HasLineOfSightLeavesNoBlockerAndReportsNothing)
{
    Forest(2, 3);
    m_game.m_reason = String("before");
    EXPECT_FALSE(m_game.HasLineOfSight(2, 4, 2, 1));
    EXPECT_EQ(m_game.m_blockingHex, kNone);
    EXPECT_EQ(m_game.m_report, 0);
    EXPECT_EQ(m_game.m_reason.str(), "before");
    EXPECT_FALSE(m_game.CheckLineOfSight(2, 4, 2, 1, 0));
    EXPECT_EQ(m_game.m_blockingHex, (HexPos { 2, 3 }));
    EXPECT_EQ(m_game.m_reason.str(), "before");
    // A reported block; a clear line afterwards keeps its reason but clears
    // the blocker.
    EXPECT_FALSE(m_game.CheckLineOfSight(2, 4, 2, 1, 1));
    EXPECT_EQ(m_game.m_reason.str(), Terrain(2, 3));
    EXPECT_TRUE(m_game.CheckLineOfSight(2, 4, 2, 6, 1));
    EXPECT_EQ(m_game.m_blockingHex, kNone);
    EXPECT_EQ(m_game.m_reason.str(), Terrain(2, 3));
    EXPECT_TRUE(m_game.HasLineOfSight(2, 4, 6, 4));
    EXPECT_EQ(m_game.m_blockingHex, kNone);
}

} // namespace
