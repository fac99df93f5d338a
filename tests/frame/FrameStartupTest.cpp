// The main window's start-up on the command line, its file commands and the
// question to save, on the demo data and small fixture files.

#include <filesystem>

#include "model/Random.h"
#include "platform/ui/MessageBoxes.h"
#include "tests/frame/FrameFixture.h"

using namespace platform::ui;

namespace {

using Boxes = platform::testing::ScriptedMessageBoxes;

std::vector<std::string> Captions(const Boxes& boxes)
{
    std::vector<std::string> out;
    for (const auto& box : boxes.shown)
        out.push_back(box.text + " / " + box.caption);
    return out;
}

class FrameStartupTest : public FrameFixture { };

TEST_F(FrameStartupTest, ScenarioOnTheCommandLineStartsTheBattle)
{
    ConfirmChooseDialog();
    Start(Scenario("demo.scn"));
    EXPECT_EQ(services.dialogs.shown, std::vector<std::string> { "ChooseDialog_AI" });
    EXPECT_TRUE(services.dialogs.failures.empty());
    EXPECT_TRUE(services.boxes.AllAnswered()) << ::testing::PrintToString(Captions(services.boxes));
    EXPECT_EQ(host->Title(), frame->Game().GetBattleTitle().str());
    EXPECT_TRUE(frame->IsModified());
    EXPECT_EQ(frame->GetPathName(), "");
    // The status bar: the turn, the side's status text.
    EXPECT_EQ(frame->StatusBar().GetValues().currentTurn, 1);
    EXPECT_GT(frame->StatusBar().GetValues().turnCount, 0);
    String title;
    frame->Game().GetStatusText(title);
    EXPECT_EQ(frame->StatusBar().GetPaneText(0), title.str());
    // The profile keeps the rules of the last new scenario.
    EXPECT_EQ(services.profile.GetInt("Options", "rules", -1), 88);
}

TEST_F(FrameStartupTest, SecondShowDoesNotStartAgain)
{
    ConfirmChooseDialog();
    Start(Scenario("demo.scn"));
    host->PostFirstShow();
    services.Pump();
    EXPECT_EQ(services.dialogs.shown.size(), 1u);
}

struct DispatchCase {
    const char* name;
    const char* commandLine;
    bool prompt;
    // What the start shows: file dialog filter (empty: none), dialogs.
    const char* fileFilter;
    bool choose;
};

class StartupDispatchTest : public FrameFixture, public ::testing::WithParamInterface<DispatchCase> { };

TEST_P(StartupDispatchTest, ActsOnTheCommandLine)
{
    const DispatchCase& c = GetParam();
    services.profile.SetInt("Options", "prompt", c.prompt ? 1 : 0);
    if (c.choose)
        ConfirmChooseDialog();
    services.fileDialogs.Cancel();
    Start(CGameApp::ParseCommandLine(c.commandLine));
    if (*c.fileFilter) {
        ASSERT_EQ(services.fileDialogs.requests.size(), 1u);
        EXPECT_EQ(services.fileDialogs.requests[0].filter, c.fileFilter);
        EXPECT_TRUE(services.fileDialogs.requests[0].mustExist);
        EXPECT_FALSE(services.fileDialogs.requests[0].save);
    } else {
        EXPECT_TRUE(services.fileDialogs.requests.empty());
    }
    EXPECT_EQ(services.dialogs.shown.size(), c.choose ? 1u : 0u);
    EXPECT_TRUE(services.dialogs.failures.empty());
    EXPECT_TRUE(services.boxes.AllAnswered()) << ::testing::PrintToString(Captions(services.boxes));
}

INSTANTIATE_TEST_SUITE_P(Table, StartupDispatchTest,
    ::testing::Values(DispatchCase { "Prompt", "", true, "Scenario Files (*.scn)|*.scn|", false },
        DispatchCase { "NoPrompt", "", false, "", false }, DispatchCase { "Scenario", "demo.scn", true, "", true },
        DispatchCase { "OldBattleDialog", "-o", false, "Battle Files (*.btl)|*.btl|", false },
        // A modem caller never opens the scenario of its command line.
        DispatchCase { "ModemCaller", "-c demo.scn", true, "", false },
        DispatchCase { "ModemCallerPromptsNothing", "-c", true, "", false },
        DispatchCase { "HotSeatPromptsNothing", "-t", true, "", false }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FrameStartupTest, StartupErrorStopsTheDispatch)
{
    Create(Scenario("demo.scn"));
    frame->Game().m_startupError = "Error loading platoon file";
    services.boxes.Answer(kAnswerOk);
    host->PostFirstShow();
    services.Pump();
    ASSERT_EQ(services.boxes.shown.size(), 1u);
    EXPECT_EQ(services.boxes.shown[0].caption, "Startup Error");
    EXPECT_EQ(services.boxes.shown[0].text, "Error loading platoon file");
    EXPECT_TRUE(services.dialogs.shown.empty());
}

TEST_F(FrameStartupTest, MissingScenarioIsReportedAndNothingStarts)
{
    services.boxes.Answer(kAnswerOk);
    Start(Scenario("missing.scn"));
    ASSERT_EQ(services.boxes.shown.size(), 1u);
    EXPECT_EQ(services.boxes.shown[0].text, "Unable to open scenario file");
    EXPECT_EQ(services.boxes.shown[0].caption, "File Read Error");
    EXPECT_TRUE(services.dialogs.shown.empty());
    EXPECT_FALSE(frame->IsModified());
}

TEST_F(FrameStartupTest, ScenarioOfAnotherVersionSaysSoAndLeavesNothingModified)
{
    dir.Write("future.scn", "99\nA battle from the future\n");
    ConfirmChooseDialog();
    services.boxes.Answer(kAnswerOk);
    Start(Scenario("future.scn"));
    ASSERT_EQ(services.boxes.shown.size(), 1u);
    EXPECT_EQ(services.boxes.shown[0].text, "Invalid file for this version of VL");
    EXPECT_EQ(services.boxes.shown[0].caption, "Read Error");
    EXPECT_FALSE(frame->IsModified());
    EXPECT_FALSE(std::filesystem::exists(dir.Path("Campaign.bak")));
}

TEST_F(FrameStartupTest, SavedBattleOnTheCommandLineOpensAsSaved)
{
    // A battle saved from the demo scenario, then opened with -o.
    ConfirmChooseDialog();
    Start(Scenario("demo.scn"));
    services.fileDialogs.Choose(dir.Path("saved.btl").string());
    ASSERT_TRUE(host->Command(104));
    ASSERT_TRUE(std::filesystem::exists(dir.Path("saved.btl")));
    EXPECT_FALSE(frame->IsModified());
    const std::string saved = ReadFileText(dir.Path("saved.btl"));

    host.reset();
    frame.reset();
    Start(CGameApp::ParseCommandLine("-o " + dir.Path("saved.btl").string()));
    EXPECT_TRUE(services.boxes.AllAnswered()) << ::testing::PrintToString(Captions(services.boxes));
    EXPECT_EQ(frame->GetPathName(), dir.Path("saved.btl").string());
    EXPECT_FALSE(frame->IsModified());
    // Saved again unchanged, the file is the same.
    ASSERT_TRUE(host->Command(103));
    EXPECT_EQ(ReadFileText(dir.Path("saved.btl")), saved);
}

TEST_F(FrameStartupTest, MissingSavedBattleEmptiesThePath)
{
    services.boxes.Answer(kAnswerOk);
    Start(CGameApp::ParseCommandLine("-o nowhere.btl"));
    ASSERT_EQ(services.boxes.shown.size(), 1u);
    EXPECT_EQ(services.boxes.shown[0].text, "Unable to open battle file");
    EXPECT_EQ(services.boxes.shown[0].caption, "File Open Error");
    EXPECT_EQ(frame->GetPathName(), "");
}

TEST_F(FrameStartupTest, CampaignGameSavesItsBattleAndKeepsTheScenario)
{
    std::filesystem::copy_file(dir.Path("demo.scn"), dir.Path("camp.scn"));
    // The rules offered, editable; the player's side 1 against the computer.
    services.dialogs.Script("RuleDialog", [](Dialog& dialog, auto&) {
        dialog.OnOk();
        return 0;
    });
    Start(CGameApp::ParseCommandLine("-k 1 -1 2 camp.scn"));
    EXPECT_TRUE(services.boxes.AllAnswered()) << ::testing::PrintToString(Captions(services.boxes));
    EXPECT_EQ(services.dialogs.shown, std::vector<std::string> { "RuleDialog" });
    const CGame& game = frame->Game();
    EXPECT_EQ(game.m_aiMode[1], kAiManual);
    EXPECT_EQ(game.m_aiMode[0], kAiPlanningComputer);
    EXPECT_EQ(game.m_aiFog[0], 1);
    EXPECT_EQ(game.m_aiFog[1], 0);
    // Third value 2 is -15 for side 0, negated for a player of side 1.
    EXPECT_EQ(game.m_advantage, 15);
    EXPECT_TRUE(std::filesystem::exists(dir.Path("Campaign.bak")));
    EXPECT_EQ(ReadFileText(dir.Path("Campaign.bak")), ReadFileText(dir.Path("demo.scn")));
    // The battle was saved over the start file, and nothing is left to save.
    EXPECT_FALSE(frame->IsModified());
    EXPECT_NE(ReadFileText(dir.Path("camp.scn")), ReadFileText(dir.Path("demo.scn")));
    // No battle may be opened or saved elsewhere during a campaign.
    ASSERT_TRUE(host->Command(102));
    EXPECT_EQ(frame->StatusBar().GetPaneText(0), "Cannot open battle during Campaign Game");
    ASSERT_TRUE(host->Command(104));
    EXPECT_EQ(frame->StatusBar().GetPaneText(0), "Cannot save battle during Campaign Game");
    ASSERT_TRUE(host->Command(101));
    EXPECT_EQ(frame->StatusBar().GetPaneText(0), "Cannot start new battle during Campaign Game");
}

TEST_F(FrameStartupTest, CampaignGameClosesWithoutAsking)
{
    std::filesystem::copy_file(dir.Path("demo.scn"), dir.Path("camp.scn"));
    services.dialogs.Script("RuleDialog", [](Dialog& dialog, auto&) {
        dialog.OnOk();
        return 0;
    });
    Start(CGameApp::ParseCommandLine("-k 0 -1 0 camp.scn"));
    frame->SetModified(true);
    host->RequestClose();
    EXPECT_TRUE(host->IsDestroyed());
    EXPECT_TRUE(services.boxes.AllAnswered());
    EXPECT_FALSE(frame->IsModified());
}

TEST_F(FrameStartupTest, NightBattleGetsStarshellsAndHiddenInformation)
{
    ConfirmChooseDialog();
    SetRandomSeed(1234);
    Start(CGameApp::ParseCommandLine("-n demo.scn"));
    const CGame& game = frame->Game();
    EXPECT_EQ(game.m_night, 1);
    EXPECT_TRUE(game.IsSideInfoHidden(0) || game.IsSideInfoHidden(1) || game.m_night);
    const int v = game.m_map.GetTimeLimit() / 6;
    for (int side = 0; side < 2; ++side) {
        EXPECT_GE(game.m_starshells[side], v);
        EXPECT_LE(game.m_starshells[side], v + v / 5);
    }
    // Seeded again, the same starshells.
    const int first[2] = { game.m_starshells[0], game.m_starshells[1] };
    host.reset();
    frame.reset();
    ConfirmChooseDialog();
    SetRandomSeed(1234);
    Start(CGameApp::ParseCommandLine("-n demo.scn"));
    EXPECT_EQ(frame->Game().m_starshells[0], first[0]);
    EXPECT_EQ(frame->Game().m_starshells[1], first[1]);
}

} // namespace
