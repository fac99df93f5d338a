#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

#include "MapRoundTrip.h"
#include "TempDir.h"
#include "launcher/generator/RandomMap.h"
#include "model/HexMap.h"
#include "tests/TestFiles.h"

namespace fs = std::filesystem;

namespace {

// The tool's exit status; its standard output goes to `out`.
int RunTool(const std::string& arguments, const fs::path& out)
{
    const std::string command
        = std::string("\"") + VL_RANDMAP_TOOL + "\" " + arguments + " >\"" + out.string() + "\" 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quoted(const fs::path& path)
{
    std::string quoted(1, '"');
    quoted += path.string();
    quoted += '"';
    return quoted;
}

} // namespace

TEST(RandomMapToolTest, DemoDescriptionsGiveRepeatableMaps)
{
    TempDir dir;
    const fs::path data = DemoDataFolder();
    const fs::path log = dir.Path("out.txt");
    LauncherRandom random;
    RandomMap demo(random);
    demo.SetDataFolder(data);
    for (int line = 1; line <= 10; ++line) {
        SCOPED_TRACE(testing::Message() << "description " << line);
        ASSERT_NE(demo.ReadMapDescription(line), "");
        const std::string arguments = "--seed 86400 --size 60x36 --data " + Quoted(data) + " --description "
            + std::to_string(line) + " --set Hills=45 ";
        ASSERT_EQ(RunTool(arguments + Quoted(dir.Path("a.map")), log), 0);
        EXPECT_EQ(ReadWholeFile(log).rfind("description: ", 0), 0u);
        ASSERT_EQ(RunTool(arguments + Quoted(dir.Path("b.map")), log), 0);
        const std::string text = ReadWholeFile(dir.Path("a.map"));
        EXPECT_EQ(ReadWholeFile(dir.Path("b.map")), text);

        std::ifstream in(dir.Path("a.map"), std::ios::binary);
        HexMap map;
        ASSERT_TRUE(map.ReadMapFile(in));
        EXPECT_EQ(map.GetWidth(), 60);
        EXPECT_EQ(map.GetHeight(), 36);
        EXPECT_EQ(map.GetRegion(), demo.m_mapTheme);
    }
    // The --set after the description wins, whatever the order on the line.
    const std::string base = "--seed 5 --data " + Quoted(data) + " ";
    ASSERT_EQ(RunTool(base + "--set Theme=3 --description 1 " + Quoted(dir.Path("c.map")), log), 0);
    std::ifstream in(dir.Path("c.map"), std::ios::binary);
    HexMap map;
    ASSERT_TRUE(map.ReadMapFile(in));
    EXPECT_EQ(map.GetRegion(), 3);
    EXPECT_EQ(map.GetWidth(), 40);

    // Without a seed the clock seeds it, and the seed is printed.
    ASSERT_EQ(RunTool(Quoted(dir.Path("d.map")), log), 0);
    EXPECT_EQ(ReadWholeFile(log).rfind("seed ", 0), 0u);
}

TEST(RandomMapToolTest, TogglesAfterADescriptionMakeWater)
{
    // "Open ground" clears the toggles; each one set after it brings water.
    TempDir dir;
    const fs::path log = dir.Path("out.txt");
    const std::string base
        = "--seed 777 --size 30x24 --data " + Quoted(DemoDataFolder()) + " --description 10 --set MajorRiverWidth=20 ";
    for (const std::string toggle : { "", "LakeFlag", "RiverCrossing", "CoastFlag" }) {
        SCOPED_TRACE(toggle);
        const std::string set = toggle.empty() ? "" : "--set " + toggle + "=1 ";
        ASSERT_EQ(RunTool(base + set + Quoted(dir.Path("t.map")), log), 0);
        std::ifstream in(dir.Path("t.map"), std::ios::binary);
        HexMap map;
        ASSERT_TRUE(map.ReadMapFile(in));
        int water = 0;
        for (int x = 0; x < 30; ++x) {
            for (int y = 0; y < 24; ++y)
                water += map.GetTerrain(x, y) == kTerrainWater;
        }
        if (toggle.empty())
            EXPECT_EQ(water, 0);
        else
            EXPECT_GT(water, 0);
        if (toggle == "CoastFlag") {
            EXPECT_EQ(map.GetTerrain(0, 0), kTerrainWater);
        }
    }
}

TEST(RandomMapToolTest, BadRunsExitWithOne)
{
    TempDir dir;
    const fs::path log = dir.Path("out.txt");
    const std::string out = Quoted(dir.Path("x.map"));
    const std::string cases[] = {
        "--bogus 1 " + out, "--size 41x40 " + out, "--size 40x1001 " + out, "--size 40 " + out,
        "--set Hills=101 " + out, "--set Theme=5 " + out, "--set Nothing=1 " + out, "--set Hills " + out,
        "--seed -4 " + out, "--seed 12abc " + out, "--names 128 " + out, "--description 0 " + out,
        "--description 1 --data " + Quoted(dir.Path()) + " " + out, // no description file there
        "--seed 1", // no output
        out + " " + out,
        "--seed 1 " + Quoted(dir.Path("missing") / "x.map"), // Write Error
        "--seed 1 " + Quoted(dir.Path()), // a folder
    };
    for (const std::string& arguments : cases) {
        EXPECT_EQ(RunTool(arguments, log), 1) << arguments;
        EXPECT_FALSE(fs::exists(dir.Path("x.map"))) << arguments;
    }
}
