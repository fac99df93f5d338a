#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "MapRoundTrip.h"
#include "TempDir.h"
#include "launcher/generator/RandomMap.h"

namespace fs = std::filesystem;

namespace {

// A generator whose SeedRandom takes a fixed time.
struct SeededMap {
    LauncherRandom random;
    RandomMap map { random };

    SeededMap(std::int64_t seconds, int width, int height)
    {
        random.SetTimeSource([seconds] { return seconds; });
        map.m_mapWidth = static_cast<std::int16_t>(width);
        map.m_mapHeight = static_cast<std::int16_t>(height);
    }
};

std::set<int> Levels(const RandomMap& map)
{
    std::set<int> levels;
    for (const MapCell& cell : map.Cells())
        levels.insert(cell.elevation);
    return levels;
}

} // namespace

TEST(RandomMapTest, HillsStayWithinTheLevels)
{
    TempDir dir;
    const fs::path path = dir.Path("hills.map");
    {
        // No hills: five single-level hills, base and base + 1 only.
        SeededMap seeded(1000, 40, 40);
        seeded.map.m_mapBaseElevation = 3;
        ASSERT_EQ(seeded.map.GenerateRandomMap(path), "");
        EXPECT_EQ(Levels(seeded.map), (std::set<int> { 3, 4 }));
        EXPECT_EQ(seeded.map.m_mapBaseElevation, 3);
        ExpectFileMatchesGrid(path, seeded.map, {});
    }
    {
        // Hills 100: peak 12 forces the base parameter to 0; the cells were
        // made at the old base before, and hills only raise them.
        SeededMap seeded(1001, 40, 40);
        seeded.map.m_mapBaseElevation = 5;
        seeded.map.m_mapHills = 100;
        ASSERT_EQ(seeded.map.GenerateRandomMap(path), "");
        EXPECT_EQ(seeded.map.m_mapBaseElevation, 0);
        const std::set<int> levels = Levels(seeded.map);
        EXPECT_EQ(*levels.begin(), 5);
        EXPECT_EQ(*levels.rbegin(), 12);
        ExpectFileMatchesGrid(path, seeded.map, {});
    }
    // Base 12 with up to 8 hills would rise to 13: it stays 12, written 'c'.
    for (const int hills : { 0, 5, 8 }) {
        SeededMap seeded(1002, 20, 6);
        seeded.map.m_mapBaseElevation = 12;
        seeded.map.m_mapHills = static_cast<std::int8_t>(hills);
        ASSERT_EQ(seeded.map.GenerateRandomMap(path), "");
        EXPECT_EQ(Levels(seeded.map), std::set<int> { 12 }) << hills;
        const std::string text = ReadWholeFile(path);
        EXPECT_NE(text.find("\n" + std::string(20, 'c') + "\n"), std::string::npos);
        ExpectFileMatchesGrid(path, seeded.map, {});
    }
    {
        // Hills 9 give peak 1: the base goes down to 11. A base above 12 is 12.
        SeededMap seeded(1003, 20, 6);
        seeded.map.m_mapBaseElevation = 40;
        seeded.map.m_mapHills = 9;
        ASSERT_EQ(seeded.map.GenerateRandomMap(path), "");
        EXPECT_EQ(seeded.map.m_mapBaseElevation, 11);
        EXPECT_EQ(*Levels(seeded.map).begin(), 12);
    }
}

TEST(RandomMapTest, RaiseHillDrawsInOrder)
{
    for (const int last : { 32767, 0 }) {
        SeededMap seeded(1, 6, 6);
        ASSERT_TRUE(seeded.map.AllocateMapCells());
        // Level 0: w = 4 (value 32767), h = 1 (value 0), window columns 0..4,
        // rows 3..4: ten draws, no cell below 0. Level 1: w = h = 0, no dice,
        // one draw for (2, 3), raised when RollRandom(2) is 2.
        std::vector<int> values = { 32767, 0 };
        values.insert(values.end(), 10, 32767);
        values.push_back(last);
        values.push_back(4242);
        seeded.random.ScriptValues(values);
        seeded.map.RaiseHill(2, 3, 1);
        EXPECT_EQ(seeded.random.NextValue(), 4242) << last;
        for (int i = 0; i < 36; ++i) {
            const bool raised = last == 32767 && i == seeded.map.Geometry().CellIndex(2, 3);
            EXPECT_EQ(seeded.map.Cell(i).elevation, raised ? 1 : 0) << i;
        }
    }
    {
        // A window over the north-west corner is cut: level 0 with w = h = 4
        // around (1, 1) starts at -1 and keeps columns and rows 0..3 (16
        // draws); level 1 draws once for (1, 1).
        SeededMap seeded(1, 6, 6);
        ASSERT_TRUE(seeded.map.AllocateMapCells());
        std::vector<int> values(2 + 16 + 1, 32767);
        values.push_back(4242);
        seeded.random.ScriptValues(values);
        seeded.map.RaiseHill(1, 1, 1);
        EXPECT_EQ(seeded.random.NextValue(), 4242);
        EXPECT_EQ(seeded.map.Cell(seeded.map.Geometry().CellIndex(1, 1)).elevation, 1);
    }
}

TEST(RandomMapTest, GeneratedMapsReadBackHexByHex)
{
    struct Case {
        int width;
        int height;
        std::function<void(RandomMap&)> set;
    };
    const Case cases[] = {
        { 2, 2, [](RandomMap& m) { m.m_mapHills = 100; } },
        { 6, 7, [](RandomMap& m) { m.m_mapHills = 50; } },
        { 10, 3,
            [](RandomMap& m) {
                m.m_mapHills = 30;
                m.m_mapTheme = 4;
            } },
        { 20, 14,
            [](RandomMap& m) {
                m.m_mapHills = 70;
                m.m_mapForest = 50;
            } },
        { 40, 40,
            [](RandomMap& m) {
                m.m_mapHills = 60;
                m.m_mapForest = 40;
                m.m_mapVineyard = 30;
                m.m_mapCactus = 30;
                m.m_mapHammada = 30;
                m.m_mapScrub = 30;
                m.m_mapTheme = 0;
            } },
        { 40, 40,
            [](RandomMap& m) {
                m.m_mapHills = 20;
                m.m_mapSoftSand = 40;
                m.m_mapWadi = 40;
                m.m_mapRicePaddy = 40;
                m.m_mapFloodedPaddy = 40;
                m.m_mapTheme = 2;
            } },
        { 40, 40,
            [](RandomMap& m) {
                m.m_mapBaseElevation = 2;
                m.m_mapPalmTrees = 40;
                m.m_mapLightJungle = 40;
                m.m_mapJungle = 40;
                m.m_mapKunai = 40;
                m.m_mapTheme = 3;
            } },
        { 400, 400,
            [](RandomMap& m) {
                m.m_mapHills = 40;
                m.m_mapForest = 20;
                m.m_mapScrub = 10;
                m.m_mapTheme = 1;
            } },
        { 1000, 1000, [](RandomMap& m) { m.m_mapForest = 1; } },
    };
    std::set<char> letters;
    std::int64_t seconds = 1'700'000'000;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        TempDir dir;
        SeededMap seeded(seconds++, c.width, c.height);
        c.set(seeded.map);
        const fs::path path = dir.Path("round.map");
        ASSERT_EQ(seeded.map.GenerateRandomMap(path), "");
        for (const MapCell& cell : seeded.map.Cells()) {
            ASSERT_NE(kScatterLetters.find(cell.terrain), std::string::npos) << cell.terrain;
            ASSERT_TRUE(cell.elevation >= 0 && cell.elevation <= 12);
        }
        ExpectFileMatchesGrid(path, seeded.map, {}, &letters);
        // The grid stays for the caller until it is freed.
        EXPECT_TRUE(seeded.map.HasCells());
        seeded.map.FreeMapCells();
        EXPECT_FALSE(seeded.map.HasCells());
    }
    EXPECT_EQ(std::string(letters.begin(), letters.end()), [] {
        std::string all = kScatterLetters;
        std::sort(all.begin(), all.end());
        return all;
    }());
}

TEST(RandomMapTest, RefusedSizesWriteNothing)
{
    TempDir dir;
    for (const auto& [width, height] : { std::pair { 5, 4 }, std::pair { 0, 4 }, std::pair { 4, 0 },
             std::pair { 1001, 4 }, std::pair { 4, 1001 }, std::pair { 1002, 2 }, std::pair { 2, 1 } }) {
        SeededMap seeded(7, width, height);
        const fs::path path = dir.Path("refused.map");
        EXPECT_EQ(seeded.map.GenerateRandomMap(path), RandomMap::kMapSizeErrorText) << width << "x" << height;
        EXPECT_FALSE(fs::exists(path));
        EXPECT_FALSE(seeded.map.HasCells());
    }
    EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST(RandomMapTest, TheSameSeedGivesTheSameBytes)
{
    auto generate = [](std::int64_t seconds, const fs::path& path) {
        SeededMap seeded(seconds, 40, 30);
        seeded.map.SetDataFolder(path.parent_path());
        seeded.map.m_mapHills = 45;
        seeded.map.m_mapForest = 25;
        seeded.map.m_mapScrub = 10;
        EXPECT_EQ(seeded.map.GenerateRandomMap(path), "");
        return ReadWholeFile(path);
    };
    TempDir dir;
    const std::string first = generate(424242, dir.Path("a.map"));
    EXPECT_EQ(generate(424242, dir.Path("b.map")), first);
    EXPECT_NE(generate(424243, dir.Path("c.map")), first);
}

TEST(RandomMapTest, GoldenMap)
{
    // Seed and parameters fixed here; tests/fixtures/maps/random-golden.map
    // changes only when the generator's output changes on purpose.
    TempDir dir;
    SeededMap seeded(1'234'567'890, 40, 24);
    seeded.map.m_mapHills = 55;
    seeded.map.m_mapBaseElevation = 1;
    seeded.map.m_mapForest = 30;
    seeded.map.m_mapVineyard = 15;
    seeded.map.m_mapSoftSand = 10;
    seeded.map.m_mapTheme = 1;
    // Something for every pass after the terrain.
    seeded.map.m_mapRiverCrossing = 1;
    seeded.map.m_mapMajorRiverWidth = 30;
    seeded.map.m_mapRivers = 40;
    seeded.map.m_mapStreams = 40;
    seeded.map.m_mapGullies = 30;
    seeded.map.m_mapMarsh = 40;
    seeded.map.m_mapRough = 20;
    seeded.map.m_mapEmbankments = 20;
    seeded.map.m_mapCliffs = 60;
    seeded.map.m_mapEscarpments = 60;
    seeded.map.m_mapTowns = 50;
    seeded.map.m_mapCities = 20;
    seeded.map.m_mapSuburbs = 30;
    seeded.map.m_mapIndustry = 40;
    seeded.map.m_mapRoads = 50;
    seeded.map.m_mapUnpavedRoads = 40;
    seeded.map.m_mapPaths = 30;
    seeded.map.m_mapRailways = 40;
    seeded.map.m_mapFields = 40;
    seeded.map.m_mapOrchards = 20;
    seeded.map.m_mapHedges = 40;
    seeded.map.m_mapDunes = 40;
    const fs::path path = dir.Path("golden.map");
    ASSERT_EQ(seeded.map.GenerateRandomMap(path), "");
    EXPECT_EQ(ReadWholeFile(path), ReadWholeFile(fs::path(VL_TEST_FIXTURES) / "maps" / "random-golden.map"));
}
