// The data tool, vldata, run as the build makes it: its line modes and the
// modes that store a map and a battle as their readers take them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/wait.h>

#include "model/DataFile.h"
#include "model/GameHexMarks.h"
#include "model/HexMap.h"
#include "model/Scramble.h"
#include "tests/TempDir.h"
#include "tests/TestFiles.h"

namespace fs = std::filesystem;

namespace {

int RunTool(const std::string& arguments)
{
    const std::string command = std::string("\"") + VL_DATA_TOOL + "\" " + arguments + " 2>/dev/null";
    return std::system(command.c_str());
}

std::vector<std::string> FileLines(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (ReadDataLine(in, line))
        lines.push_back(line);
    return lines;
}

// The names in the folder: a failed run leaves no output and no temporary
// file behind.
std::vector<std::string> Entries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(DataToolScrambleMap, ScramblesExactlyTheLinesTheMapReaderDescrambles)
{
    const fs::path source = fs::path(VL_TEST_FIXTURES) / "maps" / "sample-v6.txt";
    const std::vector<std::string> plain = FileLines(source);
    ASSERT_GT(plain.size(), 11u);
    struct Case {
        const char* flag;
        void (*descramble)(std::string&);
        bool flagX;
        bool flagY;
    };
    const Case cases[] = {
        { "", DescrambleLine, false, false },
        { " X", DescrambleLineX, true, false },
        { " Y", DescrambleLineY, true, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("flag '") + c.flag + "'");
        TempDir dir;
        std::vector<std::string> lines = plain;
        lines[0] += c.flag;
        std::string text;
        for (const std::string& line : lines)
            text += line + "\n";
        dir.Write("map.txt", text);
        ASSERT_EQ(
            RunTool("scramble-map \"" + dir.Path("map.txt").string() + "\" \"" + dir.Path("main.map").string() + "\""),
            0);

        // Size, header and 4 + 4 grid rows rotated; everything else as it was.
        std::vector<std::string> stored = FileLines(dir.Path("main.map"));
        ASSERT_EQ(stored.size(), lines.size());
        for (std::size_t i = 0; i < stored.size(); ++i) {
            const bool scrambled = i >= 1 && i < 11;
            if (scrambled) {
                EXPECT_NE(stored[i], lines[i]) << "line " << i + 1;
                c.descramble(stored[i]);
            }
            EXPECT_EQ(stored[i], lines[i]) << "line " << i + 1;
        }

        HexMap map;
        ASSERT_EQ(map.LoadMapFile(dir.Path("main.map").string()), nullptr);
        EXPECT_EQ(map.GetFlagX(), c.flagX);
        EXPECT_EQ(map.GetFlagY(), c.flagY);
        EXPECT_EQ(map.GetWidth(), 5);
        EXPECT_EQ(map.GetTerrain(0, 1), kTerrainVillage);
        EXPECT_EQ(map.GetElevationLevel(2, 2), 12);
        EXPECT_EQ(map.GetLabels().Count(), 2u);
    }
}

TEST(DataToolScrambleMap, CopiesPlainVersionsAndRefusesBrokenSources)
{
    TempDir dir;
    const fs::path v3 = fs::path(VL_TEST_FIXTURES) / "maps" / "sample-v3.txt";
    ASSERT_EQ(RunTool("scramble-map \"" + v3.string() + "\" \"" + dir.Path("v3.map").string() + "\""), 0);
    EXPECT_EQ(FileLines(dir.Path("v3.map")), FileLines(v3));

    struct Case {
        const char* name;
        const char* text;
    };
    const Case broken[] = {
        { "no version", "map\n5 4\n" },
        { "version out of range", "7\n5 4\n0 20 1 1 0 0\n" },
        { "no size", "6\nfive by four\n" },
        { "ends inside the elevation rows", "6\n2 2\n0 20 1 1 0 0\n  \n  \n00\n" },
    };
    for (const Case& c : broken) {
        SCOPED_TRACE(c.name);
        dir.Write("broken.txt", c.text);
        EXPECT_NE(RunTool("scramble-map \"" + dir.Path("broken.txt").string() + "\" \"" + dir.Path("out.map").string()
                      + "\""),
            0);
        EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string> { "broken.txt", "v3.map" }));
    }
    EXPECT_NE(
        RunTool("scramble-map \"" + dir.Path("missing.txt").string() + "\" \"" + dir.Path("out.map").string() + "\""),
        0);
}

TEST(DataToolScramble, LinesEndingInCarriageReturnsReadBack)
{
    // A source line end of "\r\r\n" leaves a carriage return after the
    // first is dropped; a stored line ending in one would lose it on reading
    // and descramble with the wrong key.
    TempDir dir;
    dir.Write("plain.txt", "P101 5 rifle\r\r\nP102 6\r\r\r\n\r\r\nlast\r\n");
    ASSERT_EQ(
        RunTool("scramble line \"" + dir.Path("plain.txt").string() + "\" \"" + dir.Path("stored.txt").string() + "\""),
        0);
    std::ifstream in(dir.Path("stored.txt"), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; ReadScrambledLine(in, line);)
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string> { "P101 5 rifle", "P102 6", "", "last" }));

    // The same for the file-name lines of a battle.
    const std::string header = "Title\n0 0 0 60\n0 0 0 0 20\n0 0 0 0 80 80\n0\n0 0 0 0 0\n100 100 0 0\n";
    dir.Write("battle.txt", "10\n" + header + "test.map\r\r\ntest.org\r\r\n");
    ASSERT_EQ(RunTool("scramble-battle \"" + dir.Path("battle.txt").string() + "\" \"" + dir.Path("battle.scn").string()
                  + "\""),
        0);
    const std::vector<std::string> stored = FileLines(dir.Path("battle.scn"));
    ASSERT_EQ(stored.size(), 10u);
    EXPECT_EQ(stored[8], ScrambleLine("test.map") + " ");
    EXPECT_EQ(stored[9], ScrambleLine("test.org") + " ");
}

TEST(DataToolScramble, AnUnreadableInputFailsWithoutOutput)
{
    // A folder opens as a file but cannot be read: the tool reports it and
    // exits with 1 rather than aborting.
    TempDir dir;
    fs::create_directories(dir.Path("folder"));
    for (const char* mode : { "scramble line", "descramble line", "scramble-map", "scramble-battle" }) {
        SCOPED_TRACE(mode);
        const int status = RunTool(
            std::string(mode) + " \"" + dir.Path("folder").string() + "\" \"" + dir.Path("out.txt").string() + "\"");
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 1);
        EXPECT_EQ(Entries(dir.Path()), std::vector<std::string> { "folder" });
    }
}

// ---- vldata scramble-battle ----

TEST(DataToolScrambleBattle, ScramblesExactlyTheFileNameLinesTheReaderDescrambles)
{
    // The fixtures' folder: their map, organisation and platoon file, the map
    // also where the version-8 fixture names it.
    TempDir dir;
    dir.Write("test.map", ReadFixture("maps/sample-v3.txt"));
    dir.Write("test.org", ReadFixture("battles/test.org"));
    dir.Write("platoon.obx", ScrambleText(ReadFixture("battles/platoon.txt")));
    fs::create_directories(dir.Path("maps"));
    fs::copy_file(dir.Path("test.map"), dir.Path("maps") / "test.map");

    struct Case {
        const char* fixture;
        bool scrambled;
        const char* blank;
        const char* mapName;
    };
    const Case cases[] = {
        { "battles/battle-v10.txt", true, " ", "test.map" },
        { "battles/battle-v8.txt", true, "", "maps/test.map" },
        { "battles/battle-v1.txt", false, "", "test.map" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        const fs::path source = fs::path(VL_TEST_FIXTURES) / c.fixture;
        ASSERT_EQ(
            RunTool("scramble-battle \"" + source.string() + "\" \"" + dir.Path("battle.scn").string() + "\""), 0);
        const std::vector<std::string> plain = FileLines(source);
        std::vector<std::string> expected = plain;
        if (c.scrambled)
            for (const std::size_t i : { 8u, 9u })
                expected[i] = ScrambleLine(plain[i]) + c.blank;
        EXPECT_EQ(FileLines(dir.Path("battle.scn")), expected);

        ScopedCurrentDir inDir(dir.Path());
        CGameHexMarks game;
        std::ifstream in(dir.Path("battle.scn"), std::ios::binary);
        ASSERT_TRUE(game.ReadBattleFile(in, false)) << game.m_battleReadError.c_str();
        EXPECT_EQ(game.m_mapFileName.str(), c.mapName);
        EXPECT_EQ(game.m_orgFileName.str(), "test.org");
    }
}

TEST(DataToolScrambleBattle, RefusesBrokenSourcesWithoutOutput)
{
    TempDir dir;
    const std::string header = "Title\n0 0 0 60\n0 0 0 0 20\n0 0 0 0 80 80\n0\n0 0 0 0 0\n100 100 0 0\n";
    struct Case {
        const char* name;
        std::string text;
    };
    const Case broken[] = {
        { "empty", "" },
        { "no version", "ten\n" + header + "test.map\ntest.org\n" },
        { "version 0", "0\n" + header + "test.map\ntest.org\n" },
        { "version 11", "11\n" + header + "test.map\ntest.org\n" },
        { "no organisation line", "10\n" + header + "test.map\n" },
        { "no organisation line, old version", "1\n" + header + "test.map\n" },
        { "a name that cannot be read back with its blank", "10\n" + header + std::string(1023, 'm') + "\ntest.org\n" },
        { "an over-long line", "10\n" + header + std::string(1024, 'm') + "\ntest.org\n" },
        { "a control character in a name", "1\n" + header + "test.map\ntest\x01.org\n" },
    };
    for (const Case& c : broken) {
        SCOPED_TRACE(c.name);
        dir.Write("broken.txt", c.text);
        EXPECT_NE(RunTool("scramble-battle \"" + dir.Path("broken.txt").string() + "\" \""
                      + dir.Path("out.scn").string() + "\""),
            0);
        EXPECT_EQ(Entries(dir.Path()), std::vector<std::string> { "broken.txt" });
    }
    EXPECT_NE(RunTool("scramble-battle \"" + dir.Path("missing.txt").string() + "\" \"" + dir.Path("out.scn").string()
                  + "\""),
        0);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string> { "broken.txt" });

    // The longest name that reads back is stored.
    dir.Write("longest.txt", "9\n" + header + std::string(1022, 'm') + "\ntest.org\n");
    EXPECT_EQ(RunTool("scramble-battle \"" + dir.Path("longest.txt").string() + "\" \"" + dir.Path("out.scn").string()
                  + "\""),
        0);
    EXPECT_EQ(FileLines(dir.Path("out.scn")).at(8).size(), 1023u);
}

} // namespace
