// The command line of `vl` and its restart of the launcher at exit.

#include <gtest/gtest.h>

#include <filesystem>

#include "frame/GameApp.h"
#include "frame/WaitCursor.h"
#include "platform/testing/FakeInput.h"
#include "platform/testing/RecordingLauncher.h"
#include "tests/TempDir.h"

namespace {

struct ParseCase {
    const char* text;
    CommandLine expected;
};

CommandLine Line(std::string file, int mode, bool saved, bool started)
{
    CommandLine line;
    line.startFile = std::move(file);
    line.startMode = mode;
    line.openAsSaved = saved;
    line.started = started;
    return line;
}

CommandLine Campaign(std::string file, int side, int force, int third)
{
    CommandLine line = Line(std::move(file), 0, false, true);
    line.campaign = true;
    line.campaignSide = side;
    line.campaignForceId = force;
    line.campaignThird = third;
    return line;
}

CommandLine With(CommandLine line, bool lobby, bool night)
{
    line.lobby = lobby;
    line.night = night;
    return line;
}

class ParseCommandLineTest : public ::testing::TestWithParam<ParseCase> { };

TEST_P(ParseCommandLineTest, FillsTheStartValues)
{
    EXPECT_EQ(CGameApp::ParseCommandLine(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Table, ParseCommandLineTest,
    ::testing::Values(ParseCase { "", Line("", 0, false, false) }, ParseCase { "   ", Line("", 0, false, false) },
        ParseCase { "demo.scn", Line("demo.scn", 0, false, true) },
        ParseCase { "  -o battle.btl", Line("battle.btl", 0, true, true) }, ParseCase { "-o", Line("", 0, true, true) },
        ParseCase { "-c x.scn", Line("x.scn", 2, false, true) },
        ParseCase { "-e x.scn", Line("x.scn", 3, false, true) },
        ParseCase { "-h x.scn", Line("x.scn", 1, false, true) },
        ParseCase { "-t x.scn", Line("x.scn", 5, false, true) }, ParseCase { "-f", Line("", 0, false, true) },
        // Letters without a meaning (upper case too) are ignored.
        ParseCase { "-xyzO name with blanks.scn", Line("name with blanks.scn", 0, false, true) },
        // The lobby byte keeps the name from setting "started"; h already did.
        ParseCase { "-dh game.scn", With(Line("game.scn", 1, false, true), true, false) },
        ParseCase { "-d game.scn", With(Line("game.scn", 0, false, false), true, false) },
        ParseCase { "-n -o b.btl", With(Line("b.btl", 0, true, true), false, true) },
        ParseCase { "-on b.btl", With(Line("b.btl", 0, true, true), false, true) },
        ParseCase { "-k 1 -1 0 c.scn", Campaign("c.scn", 1, -1, 0) },
        ParseCase { "-k 0 1204 3 c.scn", Campaign("c.scn", 0, 1204, 3) },
        // A side other than 0 or 1 stays 0; a third value outside 0..3 gives 0.
        ParseCase { "-k 7 5 9 c.scn", Campaign("c.scn", 0, 5, 0) },
        // A number that does not parse leaves it and the later ones, and
        // the parse goes on there.
        ParseCase { "-k 1 x.scn", Campaign("x.scn", 1, 0, 1) }, ParseCase { "-k c.scn", Campaign("c.scn", 0, 0, 1) },
        ParseCase { "file.scn\nrest", Line("file.scn", 0, false, true) }));

TEST(GameAppTest, JoinsArgumentsWithBlanks)
{
    EXPECT_EQ(CGameApp::JoinArguments({ "-k", "1", "-1", "0", "my file.scn" }), "-k 1 -1 0 my file.scn");
    EXPECT_EQ(CGameApp::ParseCommandLine(CGameApp::JoinArguments({ "-o", "my file.btl" })).startFile, "my file.btl");
}

struct RestartCase {
    const char* text;
    CampaignResult result;
    std::vector<std::string> args;
};

class RestartTest : public ::testing::TestWithParam<RestartCase> { };

TEST_P(RestartTest, StartsTheLauncherAgainWithTheResult)
{
    TempDir dir;
    CGameApp app(CGameApp::ParseCommandLine(GetParam().text));
    app.InitInstance(dir.Path());
    EXPECT_TRUE(std::filesystem::exists(dir.Path(CGameApp::kMarkerFile)));
    platform::testing::RecordingLauncher launcher;
    launcher.succeed = false; // a failed start changes nothing: the program ends
    app.ExitInstance(launcher, GetParam().result, dir.Path());
    EXPECT_FALSE(std::filesystem::exists(dir.Path(CGameApp::kMarkerFile)));
    if (GetParam().args.empty()) {
        EXPECT_TRUE(launcher.spawns.empty());
    } else {
        ASSERT_EQ(launcher.spawns.size(), 1u);
        EXPECT_EQ(launcher.spawns[0].program, "Velmora");
        EXPECT_EQ(launcher.spawns[0].args, GetParam().args);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, RestartTest,
    ::testing::Values(RestartCase { "", {}, {} }, RestartCase { "demo.scn", {}, { "-i" } },
        RestartCase { "-o b.btl", { true, 3, 4 }, { "-i" } },
        RestartCase { "-k 1 -1 0 c.cpn", { true, 12, -5 }, { "-k", "12", "-5", "c.cpn" } },
        // A campaign battle closed before it ended: as without a campaign.
        RestartCase { "-k 1 -1 0 c.cpn", { false, 12, -5 }, { "-i" } }));

TEST(GameAppTest, WaitCursorIsBusyUntilRestoredOnce)
{
    platform::testing::FakeCursors cursors;
    {
        WaitCursor outer(cursors);
        {
            WaitCursor inner(cursors);
            EXPECT_EQ(cursors.BusyDepth(), 2);
            inner.Restore();
            EXPECT_EQ(cursors.BusyDepth(), 1);
            inner.Restore();
            EXPECT_EQ(cursors.BusyDepth(), 1);
        }
        // The restored record ends nothing more.
        EXPECT_EQ(cursors.BusyDepth(), 1);
    }
    EXPECT_EQ(cursors.BusyDepth(), 0);
}

} // namespace
