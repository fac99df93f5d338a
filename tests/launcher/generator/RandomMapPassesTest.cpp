// The water, town, road and feature passes case by case, on small maps with
// fixed seeds, and single walks driven by scripted draws.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "TempDir.h"
#include "launcher/generator/RandomMap.h"
#include "model/HexMap.h"

namespace {

struct Generator {
    LauncherRandom random;
    RandomMap map { random };
    TempDir dir;

    Generator(int width, int height, std::int64_t seconds = 2024)
    {
        random.SetTimeSource([seconds] { return seconds; });
        map.m_mapWidth = static_cast<std::int16_t>(width);
        map.m_mapHeight = static_cast<std::int16_t>(height);
    }
    void Generate() { ASSERT_EQ(map.GenerateRandomMap(dir.Path("m.map")), ""); }
    // A flat grid at level 0, nothing drawn yet but the cells' own values.
    void Allocate() { ASSERT_TRUE(map.AllocateMapCells()); }

    const MapCell& At(int x, int y) const { return map.Cell(map.Geometry().CellIndex(x, y)); }
    MapCell& At(int x, int y) { return map.Cell(map.Geometry().CellIndex(x, y)); }
    int Index(int x, int y) const { return map.Geometry().CellIndex(x, y); }
    int Count(const std::function<bool(const MapCell&)>& test) const
    {
        return static_cast<int>(std::count_if(map.Cells().begin(), map.Cells().end(), test));
    }
    int Water() const
    {
        return Count([](const MapCell& c) { return c.terrain == 'w' || c.terrain == 'h'; });
    }
    // Draws that keep every walk straight and every chance failing.
    void ScriptHigh(int count) { random.ScriptValues(std::vector<int>(static_cast<std::size_t>(count), 32767)); }
};

std::uint8_t Bits(std::initializer_list<int> directions)
{
    std::uint8_t bits = 0;
    for (const int d : directions)
        bits = static_cast<std::uint8_t>(bits | DirectionBit(d));
    return bits;
}

struct Case {
    const char* name;
    std::function<void()> run;
};

} // namespace

TEST(RandomMapPassesTest, Behaviour)
{
    const Case cases[] = {
        { "no toggles and zero percentages give no water",
            [] {
                for (const std::int64_t seed : { 1, 2, 3 }) {
                    Generator g(30, 20, seed);
                    g.map.m_mapHills = 60;
                    g.map.m_mapForest = 40;
                    g.Generate();
                    EXPECT_EQ(g.Water(), 0);
                    EXPECT_TRUE(g.map.RiverLabels().empty());
                }
            } },
        { "zero town parameters still start W x H / 800 towns",
            [] {
                Generator g(80, 50);
                g.Generate();
                EXPECT_EQ(g.map.TownLabels().size(), 5u);
                // Towns / 4 is 0: no villages, no roads.
                EXPECT_EQ(g.Count([](const MapCell& c) { return c.terrain == 'v'; }), 0);
            } },
        { "villages grow only when towns / 4 > 0",
            [] {
                for (const int towns : { 3, 4 }) {
                    Generator g(60, 60, 99);
                    g.map.m_mapTowns = static_cast<std::int8_t>(towns);
                    g.Generate();
                    const int villages = g.Count([](const MapCell& c) { return c.terrain == 'v'; });
                    if (towns == 3)
                        EXPECT_EQ(villages, 0);
                    else
                        EXPECT_GT(villages, 0);
                }
            } },
        { "a crossing takes a fifth off the river width, gullies and streams",
            [] {
                for (const int crossing : { 0, 1 }) {
                    Generator g(20, 12);
                    g.map.m_mapRiverCrossing = static_cast<std::int8_t>(crossing);
                    g.map.m_mapMajorRiverWidth = 19;
                    g.map.m_mapGullies = 50;
                    g.map.m_mapStreams = 33;
                    g.map.m_mapRivers = 33;
                    g.Generate();
                    EXPECT_EQ(g.map.m_mapMajorRiverWidth, crossing ? 16 : 19);
                    EXPECT_EQ(g.map.m_mapGullies, crossing ? 40 : 50);
                    EXPECT_EQ(g.map.m_mapStreams, crossing ? 27 : 33);
                    EXPECT_EQ(g.map.m_mapRivers, 33);
                    EXPECT_EQ(g.map.RiverLabels().size(), static_cast<std::size_t>(crossing));
                }
            } },
        { "a major river below width 20 is one hex wide",
            [] {
                // The walk draws the same whatever its width: widths 0, 10 and
                // 19 (one hex) give one map, 60 (a block of 3) more water.
                std::vector<std::string> maps;
                std::vector<int> water;
                for (const int width : { 0, 10, 19, 29, 60 }) {
                    Generator g(40, 30, 31);
                    g.map.m_mapRiverCrossing = 1;
                    g.map.m_mapMajorRiverWidth = static_cast<std::int8_t>(width);
                    g.Generate();
                    std::string terrain;
                    for (const MapCell& c : g.map.Cells())
                        terrain += c.terrain;
                    maps.push_back(terrain);
                    water.push_back(g.Water());
                    // It starts on the west edge, H / 2 - 1..6 rows down.
                    ASSERT_EQ(g.map.RiverLabels().size(), 1u);
                    EXPECT_EQ(g.map.RiverLabels()[0].column, 0);
                    EXPECT_GE(g.map.RiverLabels()[0].row, 9);
                    EXPECT_LE(g.map.RiverLabels()[0].row, 14);
                }
                EXPECT_EQ(maps[1], maps[0]);
                EXPECT_EQ(maps[2], maps[0]);
                EXPECT_EQ(maps[3], maps[0]); // 29 - 5 = 24: still one hex
                EXPECT_GT(water[4], 2 * water[0]);
            } },
        { "the coast's lake on fewer than 400 hexes fills one block",
            [] {
                for (const std::int64_t seed : { 5, 6, 7, 8 }) {
                    Generator g(10, 10, seed);
                    g.map.m_mapLakeFlag = 1;
                    g.map.m_mapCoastFlag = 1;
                    g.Generate();
                    // The coast takes at most H / 4 = 2 rows and its beach
                    // the row below; the lake lies from row 4 down.
                    int left = 10, right = -1, upper = 10, lower = -1, count = 0;
                    for (int x = 0; x < 10; ++x) {
                        for (int y = 3; y < 10; ++y) {
                            if (g.At(x, y).terrain != 'w')
                                continue;
                            ++count;
                            left = std::min(left, x);
                            right = std::max(right, x);
                            upper = std::min(upper, y);
                            lower = std::max(lower, y);
                        }
                    }
                    ASSERT_GT(count, 0) << seed;
                    EXPECT_EQ(count, (right - left + 1) * (lower - upper + 1)) << seed;
                    EXPECT_LE(right - left, 3);
                    EXPECT_LE(lower - upper, 3);
                }
            } },
        { "a crossing with roads has Road on the north side of (W / 2, 0)",
            [] {
                int land = 0;
                for (const std::int64_t seed : { 11, 12, 13, 14, 15, 16 }) {
                    Generator g(24, 16, seed);
                    g.map.m_mapRiverCrossing = 1;
                    g.map.m_mapMajorRiverWidth = 10;
                    g.map.m_mapRoads = 30;
                    g.Generate();
                    const MapCell& top = g.At(12, 0);
                    if (top.terrain == 'w' || top.terrain == 'h')
                        continue;
                    ++land;
                    EXPECT_NE(top.layers[kLayerRoad] & DirectionBit(1), 0) << seed;
                }
                EXPECT_GT(land, 0);
            } },
        { "a river meeting a stream runs on beside it, a stream meeting a stream ends",
            [] {
                for (const int layer : { kLayerStream, kLayerRiver }) {
                    Generator g(12, 10);
                    g.Allocate();
                    // A stream down column 6; the course comes from the west
                    // along direction 3.
                    for (int y = 0; y < 10; ++y)
                        g.map.SetHexside(g.Index(6, y), 3, kLayerStream);
                    g.ScriptHigh(400);
                    if (layer == kLayerStream)
                        g.map.TraceStream(0, 2, 3);
                    else
                        g.map.TraceRiver(0, 2, 3);
                    int beyond = 0;
                    for (int x = 8; x < 12; ++x) {
                        for (int y = 0; y < 10; ++y)
                            beyond += g.At(x, y).layers[static_cast<std::size_t>(layer)] != 0;
                    }
                    // Columns 0..5 carry the course either way.
                    EXPECT_NE(g.At(4, 4).layers[static_cast<std::size_t>(layer)], 0) << layer;
                    if (layer == kLayerStream)
                        EXPECT_EQ(beyond, 0);
                    else
                        EXPECT_GT(beyond, 0);
                }
            } },
        { "watercourses on water vanish in the tidy-up; River wins over Stream and Gully",
            [] {
                Generator g(6, 6);
                g.Allocate();
                const int water = g.Index(2, 2);
                g.map.Cell(water).terrain = 'w';
                for (int d = 1; d <= 6; ++d) {
                    g.map.SetHexside(water, d, kLayerRiver);
                    g.map.SetHexside(water, d, kLayerGully);
                }
                const int land = g.Index(4, 4);
                g.map.SetHexside(land, 1, kLayerRiver);
                g.map.SetHexside(land, 1, kLayerStream);
                g.map.SetHexside(land, 2, kLayerStream);
                g.map.SetHexside(land, 2, kLayerGully);
                g.map.SetHexside(land, 3, kLayerGully);
                g.map.ResolveWatercoursePriorities();
                for (int i = 0; i < 36; ++i) {
                    if (i == land || i == g.Index(4, 3) || i == g.Index(5, 4) || i == g.Index(5, 5))
                        continue;
                    EXPECT_EQ(g.map.Cell(i).layers, MapCell {}.layers) << i;
                }
                const auto& l = g.map.Cell(land).layers;
                EXPECT_EQ(l[kLayerRiver], Bits({ 1 }));
                EXPECT_EQ(l[kLayerStream], Bits({ 2 }));
                EXPECT_EQ(l[kLayerGully], Bits({ 3 }));
                // The neighbours agree (N, NE and SE of an even column).
                EXPECT_EQ(g.At(4, 3).layers[kLayerStream], 0);
                EXPECT_EQ(g.At(4, 3).layers[kLayerRiver], Bits({ 4 }));
                EXPECT_EQ(g.At(5, 4).layers[kLayerGully], 0);
                EXPECT_EQ(g.At(5, 4).layers[kLayerStream], Bits({ 5 }));
                EXPECT_EQ(g.At(5, 5).layers[kLayerGully], Bits({ 6 }));
            } },
        { "a hill-top loses one level a visit, a pit rises, neighbours never rise",
            [] {
                Generator g(8, 8);
                g.Allocate();
                g.map.m_mapHills = 100; // no neighbour two levels up comes down
                for (MapCell& c : g.map.Cells())
                    c.elevation = 3;
                g.At(2, 3).elevation = 5; // a top two levels up
                g.At(5, 4).elevation = 2; // a pit
                g.At(5, 1).elevation = 5; // two levels up, one neighbour as high
                g.At(6, 1).elevation = 5;
                g.map.SmoothSlopes();
                EXPECT_EQ(g.At(2, 3).elevation, 3);
                EXPECT_EQ(g.At(5, 4).elevation, 3);
                EXPECT_EQ(g.At(5, 1).elevation, 5);
                EXPECT_EQ(g.At(6, 1).elevation, 5);
                EXPECT_EQ(g.Count([](const MapCell& c) { return c.elevation == 3; }), 62);
                // A lone peak on the flat: its neighbours pull it down to three
                // levels above them, then it loses a level a visit to the flat.
                Generator steep(6, 6);
                steep.Allocate();
                steep.At(2, 2).elevation = 8;
                steep.map.m_mapHills = 100;
                steep.map.SmoothSlopes();
                EXPECT_EQ(steep.Count([](const MapCell& c) { return c.elevation == 0; }), 36);
                EXPECT_EQ(steep.map.WalkLimitHits(), 0);
            } },
        { "Rail bridges are heavy, Path bridges medium, Road and Unpaved by their draws",
            [] {
                struct Bridge {
                    int layer;
                    int value; // the RollRandom(10) draw, when the layer draws
                    int bridge;
                };
                const Bridge bridges[] = {
                    { kLayerRail, -1, kLayerHeavyBridge },
                    { kLayerPath, -1, kLayerMediumBridge },
                    { kLayerRoad, 0, kLayerHeavyBridge }, // 1 < 3
                    { kLayerRoad, 32767, kLayerMediumBridge }, // 10
                    { kLayerUnpaved, 0, kLayerHeavyBridge }, // 1 < 8
                    { kLayerUnpaved, 32767, kLayerLightBridge },
                };
                for (const Bridge& b : bridges) {
                    for (const int course : { kLayerStream, kLayerRiver, kLayerGully }) {
                        Generator g(6, 6);
                        g.Allocate();
                        const int i = g.Index(2, 2);
                        g.map.SetHexside(i, 3, course);
                        if (b.value >= 0)
                            g.random.ScriptValues({ b.value });
                        g.random.ScriptValues({ 1234 });
                        g.map.SetRoadSide(i, 3, b.layer);
                        g.map.SetRoadSide(i, 4, b.layer); // no watercourse: no bridge, no draw
                        EXPECT_EQ(g.random.NextValue(), 1234);
                        const int n = g.Index(3, 3);
                        for (const int bridge : { kLayerHeavyBridge, kLayerMediumBridge, kLayerLightBridge }) {
                            const std::uint8_t expected = bridge == b.bridge ? Bits({ 3 }) : 0;
                            EXPECT_EQ(g.map.Cell(i).layers[static_cast<std::size_t>(bridge)], expected) << b.layer;
                            EXPECT_EQ(g.map.Cell(n).layers[static_cast<std::size_t>(bridge)],
                                bridge == b.bridge ? Bits({ 6 }) : 0);
                        }
                        EXPECT_EQ(g.map.Cell(i).layers[static_cast<std::size_t>(b.layer)], Bits({ 3, 4 }));
                    }
                }
            } },
        { "a city railway quarters the railways",
            [] {
                Generator g(12, 12);
                g.Allocate();
                g.At(6, 6).terrain = 'c';
                g.map.m_mapRailways = 100;
                g.map.GrowTown(6, 6, 1);
                EXPECT_EQ(g.map.m_mapRailways, 25);
                EXPECT_NE(g.At(6, 6).layers[kLayerRail], 0);
            } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.run();
    }
}

TEST(RandomMapPassesTest, StraightCoursesMarkOneBank)
{
    // South down column 3 (odd, half a hex up): each hex marks its NE and SE
    // sides, so column 4 gets NW and SW; the first hex's NE side lies off the
    // map and stays on hex (3, 0) alone.
    {
        Generator g(8, 6);
        g.Allocate();
        g.ScriptHigh(200);
        g.map.TraceStream(3, 0, 4);
        for (int y = 0; y < 6; ++y)
            EXPECT_EQ(g.At(3, y).layers[kLayerStream], Bits({ 2, 3 })) << y;
        EXPECT_EQ(g.At(4, 0).layers[kLayerStream], Bits({ 5, 6 }));
        EXPECT_EQ(g.At(4, 3).layers[kLayerStream], Bits({ 5, 6 }));
        EXPECT_EQ(g.At(4, 5).layers[kLayerStream], Bits({ 6 })); // (3, 6) is off the map
        EXPECT_EQ(g.At(2, 3).layers[kLayerStream], 0);
        EXPECT_EQ(g.At(5, 3).layers[kLayerStream], 0);
    }
    // North up column 2 (even): each hex marks SW and NW; column 1 gets NE
    // and SE, but (1, 0) has no (2, -1) to its NE.
    {
        Generator g(8, 6);
        g.Allocate();
        g.ScriptHigh(200);
        g.map.TraceRiver(2, 5, 1);
        for (int y = 0; y < 6; ++y)
            EXPECT_EQ(g.At(2, y).layers[kLayerRiver], Bits({ 5, 6 })) << y;
        EXPECT_EQ(g.At(1, 0).layers[kLayerRiver], Bits({ 3 }));
        EXPECT_EQ(g.At(1, 4).layers[kLayerRiver], Bits({ 2, 3 }));
        EXPECT_EQ(g.At(1, 5).layers[kLayerRiver], Bits({ 2, 3 }));
        EXPECT_EQ(g.At(3, 2).layers[kLayerRiver], 0);
    }
    // A course started with direction 0 marks nothing in its first hex.
    {
        Generator g(8, 6);
        g.Allocate();
        g.ScriptHigh(200);
        g.map.TraceStream(3, 5, 0);
        EXPECT_EQ(g.At(3, 5).layers[kLayerStream], 0);
        // It turned to 6 and marks from (2, 4) on, going north-west.
        EXPECT_EQ(g.At(2, 4).layers[kLayerStream], Bits({ 4, 5 }));
    }
}
