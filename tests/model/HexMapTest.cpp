#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/HexMap.h"
#include "model/Scramble.h"
#include "model/TerrainConditions.h"
#include "tests/TestFiles.h"

namespace {

std::filesystem::path SampleSource(int version)
{
    return std::filesystem::path(VL_TEST_FIXTURES) / "maps" / ("sample-v" + std::to_string(version) + ".txt");
}

// The map file of a plain sample source as the map editor stores it: from
// version 4 the flag goes onto the version line and the size, header, terrain
// and elevation lines are scrambled by the data tool with the flag's variant
// ("line" for no flag, "x", "y").
std::filesystem::path BuildSampleMap(const TempDir& dir, int version, const std::string& variant)
{
    std::vector<std::string> lines = ReadFileLines(SampleSource(version));
    const std::filesystem::path mapPath = dir.Path("v" + std::to_string(version) + variant + ".map");
    if (version < 4) {
        std::filesystem::copy_file(SampleSource(version), mapPath, std::filesystem::copy_options::overwrite_existing);
        return mapPath;
    }
    int width = 0;
    int height = 0;
    std::istringstream(lines.at(1)) >> width >> height;
    const std::size_t scrambledCount = 2 + 2 * static_cast<std::size_t>(height);
    const std::vector<std::string> stored(
        lines.begin() + 1, lines.begin() + 1 + static_cast<std::ptrdiff_t>(scrambledCount));
    dir.Write("plain.txt", JoinLines(stored));
    const std::string command = std::string("\"") + VL_DATA_TOOL + "\" scramble " + variant + " \""
        + dir.Path("plain.txt").string() + "\" \"" + dir.Path("scrambled.txt").string() + "\"";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    const std::vector<std::string> scrambled = ReadFileLines(dir.Path("scrambled.txt"));
    EXPECT_EQ(scrambled.size(), scrambledCount);
    for (std::size_t i = 0; i < scrambled.size() && i < scrambledCount; ++i)
        lines[1 + i] = scrambled[i];
    if (variant == "x")
        lines[0] += " X";
    else if (variant == "y")
        lines[0] += " Y";
    std::ofstream(mapPath, std::ios::binary) << JoinLines(lines);
    return mapPath;
}

int LayersOfVersion(int version)
{
    constexpr int kLayers[] = { 0, 10, 15, 19, 19, 20, 21 };
    return kLayers[version];
}

// Everything the sample sources hold, checked against what the version carries.
void ExpectSampleMap(const HexMap& map, int version)
{
    SCOPED_TRACE("version " + std::to_string(version));
    EXPECT_EQ(map.GetVersion(), version);
    ASSERT_EQ(map.GetWidth(), 5); // odd widths are read unchanged
    ASSERT_EQ(map.GetHeight(), 4);
    EXPECT_EQ(map.GetBaseElevation(), 100);
    EXPECT_EQ(map.GetElevationStep(), 20);
    EXPECT_EQ(map.GetCompassHex(), (HexPos { 1, 2 }));
    EXPECT_EQ(map.GetCompassDirection(), 3);
    EXPECT_EQ(map.GetRegion(), version >= 3 ? 2 : -1);
    EXPECT_STREQ(map.GetThemePrefix(), version >= 3 ? "DES-" : "");

    const int terrain[4][5] = {
        { kTerrainOpen, kTerrainWater, kTerrainForest, kTerrainMarsh, kTerrainBuilding },
        { kTerrainVillage, kTerrainCity, kTerrainBeach, kTerrainOrchard, kTerrainRough },
        { kTerrainShallowWater, kTerrainIndustrial, kTerrainField, kTerrainSwamp, kTerrainImpassible },
        { kTerrainVineyard, kTerrainCactus, kTerrainHammada, kTerrainScrub, kTerrainKunai },
    };
    const int levels[4][5] = { { 0, 1, 2, 3, 4 }, { 5, 6, 7, 8, 9 }, { 10, 11, 12, 33, 35 }, { 0, 0, 0, 0, 0 } };
    const int codes[4][5] = { { 0, 1, 2, 3, 4 }, { 5, 6, 7, 8, 9 }, { 10, 11, 12, 0, 0 }, { 1, 2, 3, 4, 5 } };
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(map.GetTerrain(x, y), terrain[y][x]) << x << "," << y;
            EXPECT_EQ(map.GetElevationLevel(x, y), levels[y][x]) << x << "," << y;
            EXPECT_EQ(map.GetCode(x, y), version >= 2 ? codes[y][x] : 0) << x << "," << y;
        }
    }
    EXPECT_EQ(map.GetElevation(4, 2), 35 * 20 + 100);

    // Every set feature of the samples; each only in the versions that carry its layer.
    struct Feature {
        int layer;
        int x;
        int y;
        unsigned sides;
    };
    const Feature features[] = {
        { kLayerRoad, 1, 0, 8 },
        { kLayerRoad, 1, 1, 9 },
        { kLayerRoad, 1, 2, 1 },
        { kLayerRiver, 4, 2, 18 },
        { kLayerCliff, 2, 3, 63 },
        { kLayerPath, 0, 0, 9 },
        { kLayerEscarpment, 3, 1, 4 },
        { kLayerReef, 4, 3, 8 },
        { kLayerExtra, 0, 3, 32 },
    };
    int setCount = 0;
    for (int layer = 0; layer < kFeatureLayerCount; ++layer) {
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 5; ++x) {
                unsigned expected = 0;
                for (const Feature& f : features) {
                    if (f.layer == layer && f.x == x && f.y == y && layer < LayersOfVersion(version))
                        expected = f.sides;
                }
                setCount += expected != 0;
                EXPECT_EQ(map.GetFeatureLayer(x, y, layer).Value(), expected)
                    << "layer " << layer << " at " << x << "," << y;
            }
        }
    }
    EXPECT_GE(setCount, 4);

    // Labels up to the first line that does not parse.
    ASSERT_EQ(map.GetLabels().Count(), 2u);
    const MapLabel& hill = map.GetLabels().Head()->value;
    EXPECT_DOUBLE_EQ(hill.x, 2.5);
    EXPECT_DOUBLE_EQ(hill.y, 1.5);
    EXPECT_EQ(hill.size, 1);
    EXPECT_EQ(hill.alignment, 1);
    EXPECT_EQ(hill.colour, 0);
    EXPECT_EQ(hill.text.str(), "Hill 112");
    const MapLabel& river = map.GetLabels().Last()->value;
    EXPECT_DOUBLE_EQ(river.x, 0.5);
    EXPECT_EQ(river.colour, 1);
    EXPECT_EQ(river.text.str(), "Wolf River");
}

// A small map file as text: a 2 x 1 version-3 map whose lines can be replaced.
struct TinyMap {
    std::string version = "3";
    std::string size = "2 1";
    std::string header = "0 25 1 1 0 1";
    std::string terrain = "fw";
    std::string elevation = "19";
    std::string layerRow = "!(";
    std::string codes = "1\n3 c";
    std::string labels = "0.5 0.5 1 1 0 Ridge\n";

    std::string Text() const
    {
        std::string text = version + "\n" + size + "\n" + header + "\n" + terrain + "\n" + elevation + "\n";
        text += "1 road\n" + layerRow + "\n";
        for (int layer = 1; layer < 19; ++layer)
            text += "0\n";
        return text + codes + "\n" + labels;
    }
};

bool ReadText(HexMap& map, const std::string& text)
{
    std::istringstream in(text);
    return map.ReadMapFile(in);
}

void ExpectEmptyOneByOne(const HexMap& map)
{
    EXPECT_EQ(map.GetWidth(), 1);
    EXPECT_EQ(map.GetHeight(), 1);
    EXPECT_EQ(map.GetVersion(), 6);
    EXPECT_EQ(map.GetRegion(), -1);
    EXPECT_EQ(map.GetElevationStep(), 25);
    EXPECT_EQ(map.GetHex(0, 0), HexRecord {});
    EXPECT_EQ(map.GetCode(0, 0), 0);
    EXPECT_TRUE(map.GetLabels().IsEmpty());
}

} // namespace

TEST(HexMapTest, NewMapIsEmptyWithEvenWidth)
{
    struct Case {
        int width, height, expectedWidth, expectedHeight;
    };
    const Case cases[] = {
        { 0, 0, 1, 1 },
        { -4, -4, 1, 1 },
        { 1, 5, 1, 5 },
        { 2, 1, 2, 1 },
        { 3, 3, 4, 3 },
        { 7, 2, 8, 2 },
        { 5000, 5000, 1000, 1000 },
        { 2147483647, 2147483647, 1000, 1000 },
        { 999, 1, 1000, 1 },
    };
    for (const Case& c : cases) {
        const HexMap map(c.width, c.height);
        EXPECT_EQ(map.GetWidth(), c.expectedWidth) << c.width;
        EXPECT_EQ(map.GetHeight(), c.expectedHeight) << c.height;
    }
    const HexMap map(3, 2);
    EXPECT_EQ(map.GetVersion(), 6);
    EXPECT_FALSE(map.GetFlagX());
    EXPECT_FALSE(map.GetFlagY());
    EXPECT_EQ(map.GetBaseElevation(), 0);
    EXPECT_EQ(map.GetElevationStep(), 25);
    EXPECT_EQ(map.GetRegion(), -1);
    EXPECT_EQ(map.GetCompassHex(), (HexPos { -1, -1 }));
    EXPECT_EQ(map.GetCompassDirection(), 0);
    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < 2; ++y) {
            EXPECT_EQ(map.GetHex(x, y), HexRecord {});
            EXPECT_EQ(map.GetCode(x, y), 0);
        }
    }
}

TEST(HexMapTest, ReadsEveryVersionWithEveryDescrambler)
{
    struct Case {
        int version;
        const char* variant;
        bool flagX, flagY;
    };
    const Case cases[] = {
        { 1, "", false, false },
        { 2, "", false, false },
        { 3, "", false, false },
        { 4, "line", false, false },
        { 4, "x", true, false },
        { 4, "y", true, true },
        { 5, "line", false, false },
        { 5, "x", true, false },
        { 5, "y", true, true },
        { 6, "line", false, false },
        { 6, "x", true, false },
        { 6, "y", true, true },
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("variant ") + c.variant);
        const auto path = BuildSampleMap(dir, c.version, c.variant);
        HexMap map(8, 8);
        ASSERT_EQ(map.LoadMapFile(path.string()), nullptr);
        EXPECT_EQ(map.GetFlagX(), c.flagX);
        EXPECT_EQ(map.GetFlagY(), c.flagY);
        ExpectSampleMap(map, c.version);
    }
}

TEST(HexMapTest, ScrambledLinesNeedTheDescramblerOfTheFlag)
{
    // The X and Y variants turn by the length only and the plain one by the
    // pass phrase as well, so a file scrambled one way and flagged the other
    // reads as garbage: here the size line does not parse.
    TempDir dir;
    auto lines = ReadFileLines(BuildSampleMap(dir, 6, "line"));
    lines[0] = "6 X";
    dir.Write("wrong.map", JoinLines(lines));
    HexMap map;
    EXPECT_STREQ(map.LoadMapFile(dir.Path("wrong.map").string()), "Error reading from map file: main.map");

    // A version-3 file is never descrambled, whatever its flag.
    auto plain = ReadFileLines(SampleSource(3));
    plain[0] = "3 Y";
    dir.Write("plain.map", JoinLines(plain));
    ASSERT_EQ(map.LoadMapFile(dir.Path("plain.map").string()), nullptr);
    EXPECT_TRUE(map.GetFlagY());
    ExpectSampleMap(map, 3);
}

TEST(HexMapTest, LoadReportsTheMapErrorsByTheirOwnTexts)
{
    TempDir dir;
    HexMap map;
    ASSERT_EQ(map.LoadMapFile(SampleSource(3).string()), nullptr);

    // No name reads nothing and keeps the map.
    EXPECT_EQ(map.LoadMapFile(""), nullptr);
    ExpectSampleMap(map, 3);

    EXPECT_STREQ(map.LoadMapFile(dir.Path("town.map").string()), "Error opening map file: main.map");
    ExpectSampleMap(map, 3);

    // The lookup of data files: another case of the name is found.
    dir.Write("Town.MAP", TinyMap().Text());
    EXPECT_EQ(map.LoadMapFile(dir.Path("town.map").string()), nullptr);
    EXPECT_EQ(map.GetWidth(), 2);

    TinyMap bad;
    bad.version = "9";
    dir.Write("bad.map", bad.Text());
    EXPECT_STREQ(map.LoadMapFile(dir.Path("bad.map").string()), "Error reading from map file: main.map");
    ExpectEmptyOneByOne(map);

    // A stored name with a NUL in it is opened only up to the NUL: here the
    // folder "sub". Reading a folder is a read error, never an exception.
    std::filesystem::create_directories(dir.Path("sub"));
    dir.Write("sub/town.map", TinyMap().Text());
    ASSERT_EQ(map.LoadMapFile(dir.Path("town.map").string()), nullptr);
    const std::string throughNul = dir.Path("sub").string() + std::string("\0/town.map", 10);
    EXPECT_STREQ(map.LoadMapFile(throughNul), "Error reading from map file: main.map");
    ExpectEmptyOneByOne(map);
}

TEST(HexMapTest, TinyMapReadsAsWritten)
{
    HexMap map;
    ASSERT_TRUE(ReadText(map, TinyMap().Text()));
    EXPECT_EQ(map.GetWidth(), 2);
    EXPECT_EQ(map.GetTerrain(0, 0), kTerrainForest);
    EXPECT_EQ(map.GetTerrain(1, 0), kTerrainWater);
    EXPECT_EQ(map.GetElevationLevel(1, 0), 9);
    EXPECT_EQ(map.GetFeatureLayer(0, 0, kLayerRoad).Value(), 1u);
    EXPECT_EQ(map.GetFeatureLayer(1, 0, kLayerRoad).Value(), 8u);
    EXPECT_EQ(map.GetCode(0, 0), 3);
    EXPECT_EQ(map.GetCode(1, 0), 12);
    EXPECT_EQ(map.GetRegion(), 1);
    EXPECT_STREQ(map.GetThemePrefix(), "MED-");
    ASSERT_EQ(map.GetLabels().Count(), 1u);

    // Windows line ends and a last line without a line feed read alike.
    std::string text = TinyMap().Text();
    text.pop_back();
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    HexMap other;
    ASSERT_TRUE(ReadText(other, crlf));
    EXPECT_EQ(other.GetCode(1, 0), 12);
    ASSERT_EQ(other.GetLabels().Count(), 1u);
    EXPECT_EQ(other.GetLabels().Head()->value.text.str(), "Ridge");
}

TEST(HexMapTest, RefusesBadInputAndLeavesAnEmptyMap)
{
    struct Case {
        const char* name;
        void (*edit)(TinyMap&);
    };
    const Case cases[] = {
        { "version 0", [](TinyMap& m) { m.version = "0"; } },
        { "version 7", [](TinyMap& m) { m.version = "7"; } },
        { "no version", [](TinyMap& m) { m.version = "map"; } },
        { "width 0", [](TinyMap& m) { m.size = "0 1"; } },
        { "negative height", [](TinyMap& m) { m.size = "2 -1"; } },
        { "width above the cap", [](TinyMap& m) { m.size = "1001 1"; } },
        { "height above the cap", [](TinyMap& m) { m.size = "2 1001"; } },
        { "height beyond int", [](TinyMap& m) { m.size = "2 99999999999"; } },
        { "height missing", [](TinyMap& m) { m.size = "2"; } },
        { "region missing", [](TinyMap& m) { m.header = "0 25 1 1 0"; } },
        { "header word", [](TinyMap& m) { m.header = "0 25 one 1 0 1"; } },
        { "terrain line short", [](TinyMap& m) { m.terrain = "f"; } },
        { "elevation line short", [](TinyMap& m) { m.elevation = "1"; } },
        { "elevation above z", [](TinyMap& m) { m.elevation = "1{"; } },
        { "elevation capital", [](TinyMap& m) { m.elevation = "1A"; } },
        { "elevation blank", [](TinyMap& m) { m.elevation = "1 "; } },
        { "layer character above _", [](TinyMap& m) { m.layerRow = "!`"; } },
        { "layer character tab", [](TinyMap& m) { m.layerRow = "!\t"; } },
        { "layer character DEL", [](TinyMap& m) { m.layerRow = "!\x7f"; } },
        { "code grid cut short",
            [](TinyMap& m) {
                m.codes = "1\n3";
                m.labels = "";
            } },
        { "code flag missing",
            [](TinyMap& m) {
                m.codes = "";
                m.labels = "";
            } },
        { "code flag word", [](TinyMap& m) { m.codes = "codes"; } },
        { "over-long label line", [](TinyMap& m) { m.labels = "0.5 0.5 1 1 0 " + std::string(1500, 'L') + "\n"; } },
        { "over-long terrain line", [](TinyMap& m) { m.terrain = std::string(1500, 'f'); } },
        { "over-long layer row", [](TinyMap& m) { m.layerRow = std::string(1500, '!'); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TinyMap tiny;
        c.edit(tiny);
        HexMap map;
        ASSERT_TRUE(map.LoadMapFile(SampleSource(3).string()) == nullptr);
        EXPECT_FALSE(ReadText(map, tiny.Text()));
        ExpectEmptyOneByOne(map);
    }

    // Cut anywhere before the labels, the file fails.
    const std::string whole = TinyMap().Text();
    const std::size_t labelsStart = whole.find("0.5 0.5");
    for (std::size_t cut = 0; cut < labelsStart - 2; ++cut) {
        HexMap map;
        EXPECT_FALSE(ReadText(map, whole.substr(0, cut))) << "cut at " << cut;
    }
}

TEST(HexMapTest, ToleratesWhatEditorsDoToLayerRowsAndLabels)
{
    TinyMap tiny;
    // An editor stripped the trailing blank of the first layer row: the second
    // hex stays empty and the next block's flag is still read as a flag.
    tiny.layerRow = "!";
    tiny.header = "0 25 1 1 0 7"; // unknown region: none
    tiny.labels = "0.5 0.5 9 -3 5 Far\n\n1.5 0.5 1 1 0\n0.5 x 1 1 0 Stop\n1.5 0.5 1 1 0 Gone\n";
    HexMap map;
    ASSERT_TRUE(ReadText(map, tiny.Text()));
    EXPECT_EQ(map.GetFeatureLayer(0, 0, kLayerRoad).Value(), 1u);
    EXPECT_EQ(map.GetFeatureLayer(1, 0, kLayerRoad).Value(), 0u);
    EXPECT_EQ(map.GetCode(1, 0), 12);
    EXPECT_EQ(map.GetRegion(), -1);
    EXPECT_STREQ(map.GetThemePrefix(), "");
    ASSERT_EQ(map.GetLabels().Count(), 2u);
    const MapLabel& far = map.GetLabels().Head()->value;
    EXPECT_EQ(far.size, 3); // the display's ranges
    EXPECT_EQ(far.alignment, 0);
    EXPECT_EQ(far.colour, 2);
    EXPECT_EQ(far.text.str(), "Far");
    // A label that ends after its numbers has no text and takes nothing from the next line.
    EXPECT_EQ(map.GetLabels().Last()->value.text.str(), "");

    // A negative region is none too; a file that ends after its code grid has no labels.
    tiny.header = "0 25 1 1 0 -2";
    tiny.labels = "";
    ASSERT_TRUE(ReadText(map, tiny.Text()));
    EXPECT_EQ(map.GetRegion(), -1);
    EXPECT_TRUE(map.GetLabels().IsEmpty());
}

TEST(HexMapTest, TheVersionAloneSaysHowManyLayerBlocksFollow)
{
    // A version-3 file carries 19 blocks: a 20th "1" is the code-grid flag and
    // its "row" the codes.
    TinyMap tiny;
    tiny.codes = "1\n45";
    HexMap map;
    ASSERT_TRUE(ReadText(map, tiny.Text()));
    EXPECT_EQ(map.GetCode(0, 0), 4);
    EXPECT_EQ(map.GetCode(1, 0), 5);
    EXPECT_TRUE(map.GetFeatureLayer(0, 0, kLayerReef).IsEmpty());

    // Code characters beyond "c" leave the code 0; the codes may follow the
    // flag on its own line and spread over lines.
    tiny.codes = "1 d\n\n  z";
    ASSERT_TRUE(ReadText(map, tiny.Text()));
    EXPECT_EQ(map.GetCode(0, 0), 0);
    EXPECT_EQ(map.GetCode(1, 0), 0);
}

TEST(HexMapTest, EffectiveTerrainFollowsTheConditions)
{
    HexMap map(4, 1);
    const int types[] = { kTerrainMarsh, kTerrainField, kTerrainSwamp, kTerrainWater };
    for (int x = 0; x < 4; ++x)
        map.GetHex(x, 0).terrain = types[x];

    struct Case {
        const char* name;
        TerrainConditions conditions;
        int marsh, field, swamp, water;
    };
    const Case cases[] = {
        { "dry", {}, kTerrainMarsh, kTerrainField, kTerrainSwamp, kTerrainWater },
        { "mud", { .surface = 2 }, kTerrainMarsh, kTerrainField, kTerrainSwamp, kTerrainWater },
        { "snow", { .surface = 3 }, kTerrainOpen, kTerrainField, kTerrainSwamp, kTerrainWater },
        { "frozen water", { .water = 1 }, kTerrainOpen, kTerrainField, kTerrainForest, kTerrainWater },
        { "fields standing", { .fieldState = 1 }, kTerrainMarsh, kTerrainField, kTerrainSwamp, kTerrainWater },
        { "fields open", { .fieldState = 2 }, kTerrainMarsh, kTerrainOpen, kTerrainSwamp, kTerrainWater },
        { "deep winter", { 3, 1, 3, 2 }, kTerrainOpen, kTerrainOpen, kTerrainForest, kTerrainWater },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(map.GetEffectiveTerrain(0, 0, c.conditions), c.marsh) << c.name;
        EXPECT_EQ(map.GetEffectiveTerrain(1, 0, c.conditions), c.field) << c.name;
        EXPECT_EQ(map.GetEffectiveTerrain(2, 0, c.conditions), c.swamp) << c.name;
        EXPECT_EQ(map.GetEffectiveTerrain(3, 0, c.conditions), c.water) << c.name;
        EXPECT_EQ(map.GetTerrain(2, 0), kTerrainSwamp); // the stored type never changes
    }
}

TEST(HexMapTest, TerrainConditionsReadClampedInFileOrder)
{
    TerrainConditions conditions;
    std::istringstream in("9 -1 5 7");
    ASSERT_TRUE(conditions.Read(in));
    EXPECT_EQ(conditions, (TerrainConditions { .surface = 0, .water = 1, .foliage = 3, .fieldState = 2 }));
    std::ostringstream out;
    ASSERT_TRUE(conditions.Write(out));
    EXPECT_EQ(out.str(), "3 0 1 2");

    const TerrainConditions before = conditions;
    std::istringstream cut("1 2 x");
    EXPECT_FALSE(conditions.Read(cut));
    EXPECT_EQ(conditions, before);
    EXPECT_TRUE(conditions != TerrainConditions {});
}

TEST(HexMapTest, ElevationNamesAndLocations)
{
    HexMap map(2, 1);
    map.GetHex(0, 0).level = 12;
    map.GetHex(1, 0).terrain = kTerrainLightJungle;
    map.SetElevationScale(-40, 10);
    EXPECT_EQ(map.GetElevation(0, 0), 80);
    EXPECT_EQ(map.GetElevation(1, 0), -40);
    String text;
    map.GetElevationText(text, 1, 0);
    EXPECT_EQ(text.str(), "-40m");
    map.GetTerrainName(text, 1, 0);
    EXPECT_EQ(text.str(), "Lt. Jungle");
    HexLocationText(text, 12, 0);
    EXPECT_EQ(text.str(), " at 12, 0");

    // Hostile scales saturate instead of overflowing.
    map.SetElevationScale(2000000000, 2000000000);
    EXPECT_EQ(map.GetElevation(0, 0), 2147483647);

    EXPECT_STREQ(TerrainTableName(0), "Open");
    EXPECT_STREQ(TerrainTableName(27), "Kunai");
    EXPECT_STREQ(TerrainTableName(28), "Road");
    EXPECT_STREQ(TerrainTableName(28 + 19), "Reef");
    EXPECT_STRNE(TerrainTableName(28 + 20), "Unknown");
    EXPECT_STREQ(TerrainTableName(49), "Unknown");
    EXPECT_STREQ(TerrainTableName(-1), "Unknown");
    EXPECT_STREQ(FeatureLayerName(kLayerHeavyBridge), "Hv Bridge");

    // Every terrain type has its own character and back; unknown characters are impassable.
    for (int type = 0; type < kTerrainTypeCount; ++type)
        EXPECT_EQ(TerrainTypeFromChar(TerrainTypeChar(type)), type) << type;
    EXPECT_EQ(TerrainTypeFromChar(' '), kTerrainOpen);
    EXPECT_EQ(TerrainTypeFromChar('A'), kTerrainKunai);
    EXPECT_EQ(TerrainTypeFromChar('B'), kTerrainImpassible);
    EXPECT_EQ(TerrainTypeFromChar('\xe9'), kTerrainImpassible);
    EXPECT_EQ(ElevationLevelChar(35), 'z');
    EXPECT_EQ(ElevationLevelChar(10), 'a');
}

TEST(HexMapTest, ThemePrefixes)
{
    const char* expected[] = { "", "NWE-", "MED-", "DES-", "TRO-", "TEM-", "" };
    for (int index = -1; index <= 5; ++index)
        EXPECT_STREQ(TerrainThemePrefix(index), expected[index + 1]) << index;
    HexMap map;
    map.SetRegion(4);
    EXPECT_STREQ(map.GetThemePrefix(), "TEM-");
    map.SetRegion(5);
    EXPECT_EQ(map.GetRegion(), -1);
}

TEST(HexMapTest, NeighboursAcrossEachSide)
{
    struct Case {
        HexSide side;
        int x, y;
        bool onMap;
        HexPos expected;
    };
    // A 4 x 3 map: columns 0..3, rows 0..2.
    const Case cases[] = {
        // Even column 2, middle row.
        { HexSide::North, 2, 1, true, { 2, 0 } },
        { HexSide::NorthEast, 2, 1, true, { 3, 1 } },
        { HexSide::SouthEast, 2, 1, true, { 3, 2 } },
        { HexSide::South, 2, 1, true, { 2, 2 } },
        { HexSide::SouthWest, 2, 1, true, { 1, 2 } },
        { HexSide::NorthWest, 2, 1, true, { 1, 1 } },
        // Odd column 1, middle row: half a hex higher.
        { HexSide::North, 1, 1, true, { 1, 0 } },
        { HexSide::NorthEast, 1, 1, true, { 2, 0 } },
        { HexSide::SouthEast, 1, 1, true, { 2, 1 } },
        { HexSide::South, 1, 1, true, { 1, 2 } },
        { HexSide::SouthWest, 1, 1, true, { 0, 1 } },
        { HexSide::NorthWest, 1, 1, true, { 0, 0 } },
        // Top row.
        { HexSide::North, 2, 0, false, {} },
        { HexSide::NorthEast, 2, 0, true, { 3, 0 } },
        { HexSide::NorthWest, 2, 0, true, { 1, 0 } },
        { HexSide::NorthEast, 1, 0, false, {} },
        { HexSide::NorthWest, 1, 0, false, {} },
        // Bottom row.
        { HexSide::South, 1, 2, false, {} },
        { HexSide::SouthEast, 1, 2, true, { 2, 2 } },
        { HexSide::SouthWest, 1, 2, true, { 0, 2 } },
        { HexSide::SouthEast, 2, 2, false, {} },
        { HexSide::SouthWest, 2, 2, false, {} },
        // Left and right columns.
        { HexSide::SouthWest, 0, 1, false, {} },
        { HexSide::NorthWest, 0, 1, false, {} },
        { HexSide::NorthEast, 3, 1, false, {} },
        { HexSide::SouthEast, 3, 1, false, {} },
        // Not a single side.
        { HexSide(3), 1, 1, false, {} },
        { HexSide(0), 1, 1, false, {} },
        { HexSide::None, 1, 1, false, {} },
        // Off the map to begin with.
        { HexSide::North, -5, 1, false, {} },
        { HexSide::South, 2, -1, true, { 2, 0 } },
    };
    HexMap map(4, 3);
    for (const Case& c : cases) {
        HexPos out { 77, 77 };
        const bool onMap = map.GetNeighbour(c.side, c.x, c.y, out);
        EXPECT_EQ(onMap, c.onMap) << c.side.Value() << " from " << c.x << "," << c.y;
        EXPECT_EQ(out, c.onMap ? c.expected : (HexPos { 77, 77 })) << c.side.Value() << " from " << c.x << "," << c.y;
    }
    // Every neighbour lies one hex away, and back across the opposite side.
    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < 3; ++y) {
            for (HexSide side(1); side.IsValid(); side.Next()) {
                HexPos next;
                if (!map.GetNeighbour(side, x, y, next))
                    continue;
                HexPos back;
                ASSERT_TRUE(map.GetNeighbour(side.Opposite(), next.column, next.row, back));
                EXPECT_EQ(back, (HexPos { x, y }));
            }
        }
    }
    // The free form with a size of its own; hexes at the int limit do not wrap.
    HexPos out;
    EXPECT_FALSE(NeighbourHex(HexSide::NorthEast, 3, 0, out, 10, 10));
    EXPECT_TRUE(NeighbourHex(HexSide::NorthEast, 2, 0, out, 10, 10));
    EXPECT_EQ(out, (HexPos { 3, 0 }));
    EXPECT_FALSE(NeighbourHex(HexSide::NorthEast, 2147483647, 5, out, 2147483647, 10));
}

TEST(HexMapTest, RoadsThroughHexesAndAcrossWater)
{
    HexMap map(4, 1);
    auto setLayer = [&](int x, int layer, unsigned sides) { map.GetHex(x, 0).layers[layer] = HexSideSet(sides); };
    map.GetHex(0, 0).terrain = kTerrainWater;
    setLayer(0, kLayerRoad, 1); // N by road, S by rail
    setLayer(0, kLayerRail, 8);
    map.GetHex(1, 0).terrain = kTerrainShallowWater;
    setLayer(1, kLayerUnpaved, 2 | 8); // a bend, NE and S: no straight line
    map.GetHex(2, 0).terrain = kTerrainShallowWater;
    setLayer(2, kLayerUnpaved, 4 | 32); // SE-NW
    map.GetHex(3, 0).terrain = kTerrainForest;
    setLayer(3, kLayerRoad, 1 | 8);
    setLayer(3, kLayerPath, 2 | 16); // paths are no roads

    EXPECT_TRUE(map.HasRoadThrough(0, 0, HexSide::North));
    EXPECT_TRUE(map.HasRoadThrough(0, 0, HexSide::South));
    EXPECT_FALSE(map.HasRoadThrough(0, 0, HexSide::NorthEast));
    EXPECT_FALSE(map.HasRoadThrough(1, 0, HexSide::NorthEast));
    EXPECT_TRUE(map.HasRoadThrough(2, 0, HexSide::NorthWest));
    EXPECT_FALSE(map.HasRoadThrough(3, 0, HexSide::NorthEast));
    EXPECT_FALSE(map.HasRoadThrough(3, 0, HexSide(9)));

    EXPECT_TRUE(map.IsRoadAcrossWater(0, 0));
    EXPECT_FALSE(map.IsRoadAcrossWater(1, 0));
    EXPECT_TRUE(map.IsRoadAcrossWater(2, 0));
    EXPECT_FALSE(map.IsRoadAcrossWater(3, 0)); // a road, but no water
}

TEST(HexMapTest, LabelListAppendsCopiesInOrder)
{
    MapLabelList labels;
    MapLabel label;
    label.text = "First";
    labels.Append(label);
    label.text = "Second";
    labels.Append(label);
    label.text = "changed";
    ASSERT_EQ(labels.Count(), 2u);
    EXPECT_EQ(labels.Head()->value.text.str(), "First");
    EXPECT_EQ(labels.Last()->value.text.str(), "Second");
    EXPECT_DOUBLE_EQ(MapLabel {}.x, -1.0);
}
