// Generated battles read by the main program: the battle with its map and
// organisation, every unit of it, written back and read again unchanged;
// the same seed gives the same files; failures leave no partial file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "GeneratedBattleSupport.h"
#include "tests/Golden.h"
#include "model/HexMap.h"
#include "model/OrgTree.h"

namespace fs = std::filesystem;

namespace {

// Reads the battle, writes it back, reads that and writes it again: the
// same text both times.
void ExpectRoundTrip(const fs::path& folder, const std::string& name)
{
    ScopedCurrentDir inFolder(folder);
    CGame game;
    ASSERT_TRUE(ReadsBack(game, name));
    const std::string written = WrittenBack(game);
    std::ofstream("Again.btl", std::ios::binary) << written;
    CGame again;
    ASSERT_TRUE(ReadsBack(again, "Again.btl"));
    EXPECT_EQ(WrittenBack(again), written);
}

TEST(GeneratedBattleTest, ReadsBackInTheGameObject)
{
    GeneratedBattleFolder battle;
    GeneratedBattleSpec spec;
    ASSERT_TRUE(battle.Generate(spec));
    ExpectRoundTrip(battle.folder.Path(), "Generated.scn");

    // The map and organisation read through the model's own readers too.
    std::ifstream mapFile(battle.folder.Path("Generated.MAP"), std::ios::binary);
    HexMap map;
    EXPECT_TRUE(map.ReadMapFile(mapFile));
    std::ifstream orgFile(battle.folder.Path("Generated.ORG"), std::ios::binary);
    OrgTree tree;
    EXPECT_TRUE(tree.Read(orgFile));
}

TEST(GeneratedBattleTest, ManyBattlesOfEveryKindReadBack)
{
    GeneratedBattleFolder battle;
    int battles = 0;
    for (std::int64_t seed = 1; battles < 500; ++seed) {
        GeneratedBattleSpec spec;
        spec.seed = seed * 7919;
        spec.missionType = static_cast<std::int16_t>(seed % 11 + 1);
        spec.attacker = static_cast<int>(seed / 11 % 2);
        spec.commandLevel = static_cast<int>(seed / 3 % 5 + 1);
        spec.aiLevel = static_cast<int>(seed % 4);
        spec.visibility = seed % 3 == 0 ? 10 : 25;
        spec.letters = seed % 2 == 0 ? "GDNN" : "BSFP";
        spec.description = static_cast<int>(seed % 4 + 1);
        if (seed % 2 == 0)
            spec.formationId = "C1012001"; // a type digit that crosses rivers
        SCOPED_TRACE(testing::Message() << "seed " << spec.seed << " mission " << spec.missionType << " level "
                                        << spec.commandLevel << " attacker " << spec.attacker);
        ASSERT_TRUE(battle.Generate(spec));
        ExpectRoundTrip(battle.folder.Path(), "Generated.scn");
        if (HasFatalFailure())
            return;
        ++battles;
    }
}

TEST(GeneratedBattleTest, SameSeedSameFilesOtherSeedOthers)
{
    GeneratedBattleFolder first;
    GeneratedBattleFolder second;
    GeneratedBattleSpec spec;
    spec.missionType = 6;
    spec.formationId = "C1012001";
    spec.seed = 42;
    ASSERT_TRUE(first.Generate(spec));
    ASSERT_TRUE(second.Generate(spec));
    EXPECT_EQ(first.missionWritten, 6);
    for (const char* name : { "Generated.scn", "Generated.ORG", "Generated.MAP", "campaign.log" })
        EXPECT_EQ(first.Text(name), second.Text(name)) << name;
    EXPECT_NE(first.Text("Generated.ORG").find("Boats"), std::string::npos);
    spec.seed = 43;
    ASSERT_TRUE(second.Generate(spec));
    EXPECT_NE(first.Text("Generated.scn"), second.Text("Generated.scn"));
    EXPECT_NE(first.Text("Generated.MAP"), second.Text("Generated.MAP"));
}

TEST(GeneratedBattleTest, ClosingLinesCarryTheDateOfTheBattleDay)
{
    GeneratedBattleFolder battle;
    GeneratedBattleSpec spec;
    spec.dayOffset = 3;
    ASSERT_TRUE(battle.Generate(spec));
    const std::string text = battle.Text("Generated.scn");
    const std::string closing = "\n-1\n0 -1\n1 \n\nMar 4 1943 \n";
    ASSERT_GE(text.size(), closing.size());
    EXPECT_EQ(text.substr(text.size() - closing.size()), closing);
}

TEST(GeneratedBattleTest, ACrossingWithoutAFormationThatCanCrossIsABridgehead)
{
    GeneratedBattleFolder battle;
    GeneratedBattleSpec spec;
    spec.missionType = 6;
    ASSERT_TRUE(battle.Generate(spec));
    EXPECT_EQ(battle.missionWritten, 7);
    EXPECT_EQ(SplitLines(battle.Text("Generated.scn"))[1], "Bridgehead");
}

TEST(GeneratedBattleTest, GoldenBattles)
{
    struct Golden {
        const char* name;
        GeneratedBattleSpec spec;
    };
    GeneratedBattleSpec river;
    river.missionType = 6;
    river.formationId = "C1012001";
    river.seed = 1001;
    river.visibility = 25;
    GeneratedBattleSpec meeting;
    meeting.missionType = 1;
    meeting.attacker = 1;
    meeting.seed = 1002;
    const Golden goldens[] = { { "generated-river", river }, { "generated-meeting", meeting } };
    for (const Golden& golden : goldens) {
        SCOPED_TRACE(golden.name);
        GeneratedBattleFolder battle;
        ASSERT_TRUE(battle.Generate(golden.spec, "Golden"));
        const std::string scn = battle.Text("Golden.scn");
        const std::string org = battle.Text("Golden.ORG");
        EXPECT_TRUE(MatchesGolden(std::string(golden.name) + ".scn", scn));
        EXPECT_TRUE(MatchesGolden(std::string(golden.name) + ".org", org));
    }
}

TEST(GeneratedBattleTest, FailuresLeaveNoPartialFile)
{
    // Beside the data only the files named (whole ones) or the folders the
    // test made: no temporary file is left behind.
    const auto onlyData = [](const GeneratedBattleFolder& battle, std::vector<std::string> allowed) {
        for (const fs::directory_entry& entry : fs::directory_iterator(battle.folder.Path())) {
            const std::string name = entry.path().filename().string();
            if (entry.is_directory() || fs::exists(DemoDataFolder() / name) || name == "campaign.log")
                continue;
            if (std::find(allowed.begin(), allowed.end(), name) == allowed.end())
                return ::testing::AssertionFailure() << name;
        }
        return ::testing::AssertionSuccess();
    };
    GeneratedBattleSpec spec;
    {
        // The map cannot be written: nothing else is.
        GeneratedBattleFolder battle;
        fs::create_directory(battle.folder.Path("Generated.MAP"));
        EXPECT_FALSE(battle.Generate(spec));
        EXPECT_FALSE(fs::exists(battle.folder.Path("Generated.scn")));
        EXPECT_FALSE(fs::exists(battle.folder.Path("Generated.ORG")));
        EXPECT_TRUE(onlyData(battle, {}));
    }
    {
        // The organisation cannot be written: no battle names it.
        GeneratedBattleFolder battle;
        fs::create_directory(battle.folder.Path("Generated.ORG"));
        EXPECT_FALSE(battle.Generate(spec));
        EXPECT_FALSE(fs::exists(battle.folder.Path("Generated.scn")));
        EXPECT_TRUE(onlyData(battle, { "Generated.MAP" }));
    }
    {
        // The battle file cannot be written.
        GeneratedBattleFolder battle;
        fs::create_directory(battle.folder.Path("Generated.scn"));
        EXPECT_FALSE(battle.Generate(spec));
        EXPECT_TRUE(onlyData(battle, { "Generated.MAP", "Generated.ORG" }));
    }
    {
        // A folder that is not there.
        GeneratedBattleFolder battle;
        LauncherRandom random;
        CampaignContext campaign(battle.folder.Path("missing"), random);
        BattleGeneratorContext context(campaign);
        BattleGenerator generator(context, 10, 1, nullptr, nullptr, 430301, 0, 1, 3, "");
        EXPECT_FALSE(generator.WriteScenario("Generated", ".scn"));
        EXPECT_FALSE(fs::exists(battle.folder.Path("missing")));
    }
}

TEST(GeneratedBattleTest, TheToolWritesABattleTheModelReads)
{
    GeneratedBattleFolder battle;
    const std::string command = "cd '" + battle.folder.Path().string()
        + "' && '" VL_RANDMAP_TOOL "' battle --seed 77 --name Tool 10 1 430301 1 2 5 1 GLNN 20 2 > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(fs::exists(battle.folder.Path("campaign.log")));
    ExpectRoundTrip(battle.folder.Path(), "Tool.scn");
    const std::string bad = "cd '" + battle.folder.Path().string()
        + "' && '" VL_RANDMAP_TOOL "' battle 10 1 430301 1 2 12 1 GLNN 20 2 2> /dev/null";
    EXPECT_NE(std::system(bad.c_str()), 0);
}

} // namespace
