#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "MapRoundTrip.h"
#include "TempDir.h"
#include "launcher/generator/RandomMap.h"

namespace fs = std::filesystem;

namespace {

// A 4 x 2 grid as AllocateMapCells leaves it, with the data folder in `dir`.
struct TinyMap {
    TempDir dir;
    LauncherRandom random;
    RandomMap map { random };

    TinyMap()
    {
        map.SetDataFolder(dir.Path());
        map.m_mapWidth = 4;
        map.m_mapHeight = 2;
        EXPECT_TRUE(map.AllocateMapCells());
    }
};

// Every temporary or stray file a failed write could leave.
std::vector<std::string> FilesIn(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.push_back(fs::relative(entry.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(MapFileWriterTest, WritesVersionThreeByteForByte)
{
    TinyMap tiny;
    RandomMap& map = tiny.map;
    const char terrain[] = "f nA"
                           "tz w";
    const int levels[] = { 0, 9, 10, 11, 12, 13, -1, 5 };
    const int randoms[] = { 1, 2, 3, 4, 5, 6, 1, 2 };
    for (int i = 0; i < 8; ++i) {
        map.Cell(i).terrain = terrain[i];
        map.Cell(i).elevation = static_cast<std::int8_t>(levels[i]);
        map.Cell(i).random = static_cast<std::int8_t>(randoms[i]);
    }
    map.SetHexside(1, 3, 0); // road: (1, 0) SE is (2, 0)
    map.SetHexside(5, 4, 3); // river on the south edge of (1, 1)
    map.Cell(7).layers[18] = 63; // escarpment all round (3, 1)
    map.Cell(0).layers[19] = 9; // reef: not part of version 3
    map.m_mapTheme = 2;
    map.m_mapFileVersion = 5; // the body is version 3's whatever this says
    ASSERT_TRUE(map.AddTownLabel(2, 1));
    ASSERT_TRUE(map.AddTownLabel(0, 0));
    ASSERT_TRUE(map.AddRiverLabel(0, 1));
    ASSERT_TRUE(map.AddRiverLabel(1, 0));
    tiny.dir.Write("mapname1.txt", "Alder\nBirchholm\nCorrin Ford\n");
    // Town 1 gets Corrin Ford, town 2 Alder, river 1 Birchholm, river 2 Alder.
    tiny.random.ScriptValues({ 32767, 0, 16383, 10, 999 });

    const fs::path path = tiny.dir.Path("out.map");
    ASSERT_EQ(map.WriteMapFile(path), "");

    std::string expected = "3\n4 2\n0 20 1 1 0 2\n"
                           "f nA\ntz w\n" // terrain
                           "09ab\nc665\n"; // levels: 13 and -1 are written as 6
    for (int layer = 0; layer < 19; ++layer) {
        expected += "1\n";
        if (layer == 0)
            expected += " $@ \n    \n"; // SE of (1, 0) and NW of (2, 0): cell 1 is odd
        else if (layer == 3)
            expected += "    \n (  \n"; // S of (1, 1) on the map's edge: that hex alone
        else if (layer == 18)
            expected += "    \n   _\n";
        else
            expected += "    \n    \n";
    }
    expected += "1\n1234\n5612\n";
    expected += "2.5 1.5 1 1 0 Corrin Ford\n"
                "0.5 0.5 1 1 0 Alder\n"
                "3.5 1.5 1 1 1 Birchholm River\n" // column 0 is written as 3
                "1.5 0.5 1 1 1 Alder River\n";
    EXPECT_EQ(ReadWholeFile(path), expected);
    EXPECT_EQ(tiny.random.NextValue(), 999) << "one draw a label";
    EXPECT_EQ(FilesIn(tiny.dir.Path()), (std::vector<std::string> { "mapname1.txt", "out.map" }));

    // Without place names: no label lines and no draws.
    fs::remove(tiny.dir.Path("mapname1.txt"));
    tiny.random.ScriptValues({ 4321 });
    ASSERT_EQ(map.WriteMapFile(path), "");
    EXPECT_EQ(ReadWholeFile(path), expected.substr(0, expected.find("2.5 1.5")));
    EXPECT_EQ(tiny.random.NextValue(), 4321);

    // A theme outside -1..4 is written as -1.
    map.m_mapTheme = 9;
    ASSERT_EQ(map.WriteMapFile(path), "");
    EXPECT_EQ(ReadWholeFile(path).substr(0, 22), "3\n4 2\n0 20 1 1 0 -1\nf ");
}

TEST(MapFileWriterTest, AFailedWriteLeavesNoFile)
{
    TinyMap tiny;
    tiny.dir.Write("mapname1.txt", "Alder\n");
    ASSERT_TRUE(tiny.map.AddTownLabel(1, 1));
    const fs::path folderTarget = tiny.dir.Path("maps");
    fs::create_directory(folderTarget);
    const fs::path missingFolder = tiny.dir.Path("no-such-folder") / "out.map";

    EXPECT_EQ(tiny.map.WriteMapFile(missingFolder), "Write Error");
    EXPECT_EQ(tiny.map.WriteMapFile(folderTarget), "Write Error");
    EXPECT_EQ(FilesIn(tiny.dir.Path()), (std::vector<std::string> { "mapname1.txt", "maps" }));
    EXPECT_TRUE(fs::is_directory(folderTarget));
    // The grid stays valid for the caller either way.
    EXPECT_TRUE(tiny.map.HasCells());
    EXPECT_EQ(tiny.map.Cells().size(), 8u);

    // An old file is replaced only by a whole new one.
    const fs::path path = tiny.dir.Path("old.map");
    tiny.dir.Write("old.map", "old contents\n");
    ASSERT_EQ(tiny.map.WriteMapFile(path), "");
    EXPECT_EQ(ReadWholeFile(path).substr(0, 6), "3\n4 2\n");
}

TEST(MapFileWriterTest, PlaceNameLists)
{
    std::string many;
    for (int i = 1; i <= 501; ++i)
        many += "Place " + std::to_string(i) + "\n";
    const std::string longName(300, 'x');
    struct Case {
        const char* name;
        std::optional<std::string> file;
        std::vector<std::string> names;
    };
    std::vector<std::string> first500;
    for (int i = 1; i <= 500; ++i)
        first500.push_back("Place " + std::to_string(i));
    const Case cases[] = {
        { "missing", std::nullopt, {} },
        { "empty", "", {} },
        { "501 names: the first 500", many, first500 },
        { "a 300-character line is cut to 254", "A\n" + longName + "\nB", { "A", std::string(254, 'x'), "B" } },
        { "blank lines are not names", "\n  \nNorth End\n\n\t\nSouth End\n", { "North End", "South End" } },
        { "CRLF", "Gravel Pits\r\nOld Mill\r\n\r\n", { "Gravel Pits", "Old Mill" } },
        { "inner and trailing blanks kept", "  Low  Moor \n", { "  Low  Moor " } },
        { "an over-long line ends the list", "Kept\n" + std::string(2000, 'y') + "\nLost\n", { "Kept" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        if (c.file)
            dir.Write("mapname3.txt", *c.file);
        LauncherRandom random;
        RandomMap map(random);
        map.SetDataFolder(dir.Path());
        EXPECT_EQ(map.ReadPlaceNameFile(3), c.names);
        map.m_placeNameFile = 3;
        EXPECT_EQ(map.LoadPlaceNames(), c.names);
        map.m_placeNameFile = 1;
        EXPECT_EQ(map.LoadPlaceNames(), std::vector<std::string> {});
    }
}

TEST(MapFileWriterTest, LabelsRoundTripWithLongNames)
{
    TinyMap tiny;
    RandomMap& map = tiny.map;
    std::string file;
    std::vector<std::string> names;
    for (int i = 0; i < 20; ++i) {
        names.push_back(std::string(254, static_cast<char>('a' + i)));
        file += names.back() + "\r\n";
    }
    tiny.dir.Write("mapname1.txt", file);
    for (int i = 0; i < RandomMap::kMaxLabels; ++i) {
        ASSERT_TRUE(map.AddTownLabel(i % 4, i % 2));
        ASSERT_TRUE(map.AddRiverLabel(i % 3, 1));
    }
    EXPECT_FALSE(map.AddTownLabel(1, 1));
    EXPECT_FALSE(map.AddRiverLabel(1, 1));
    EXPECT_EQ(map.TownLabels().size(), 200u);
    tiny.random.SeedWith(8);
    const fs::path path = tiny.dir.Path("labels.map");
    ASSERT_EQ(map.WriteMapFile(path), "");
    ExpectFileMatchesGrid(path, map, names);
}
