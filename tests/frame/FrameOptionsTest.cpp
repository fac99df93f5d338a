// The options: profile round trip, defaults and out-of-range values, the
// Options menu's toggles and checks, the optional rules dialog and the A/I
// selection dialogs; the status and tool bars; the turn menu; help.

#include "frame/AdvantageDialog.h"
#include "frame/ChooseDialog.h"
#include "frame/NewScenarioDialog.h"
#include "frame/RuleDialog.h"
#include "platform/ui/MessageBoxes.h"
#include "tests/frame/FrameFixture.h"

using namespace platform::ui;

namespace {

class FrameOptionsTest : public FrameFixture {
protected:
    bool Checked(int id) { return frame->QueryCommand(id).checked; }
    bool Enabled(int id) { return frame->QueryCommand(id).enabled; }
};

TEST_F(FrameOptionsTest, FreshProfileGivesTheDefaults)
{
    Create();
    EXPECT_FALSE(host->IsMenuBarShown());
    EXPECT_FALSE(Checked(1101)) << "no title bar";
    EXPECT_TRUE(Checked(1110)) << "sound";
    EXPECT_TRUE(Checked(1111)) << "music";
    EXPECT_FALSE(Checked(1113)) << "unit list";
    EXPECT_TRUE(Checked(1304)) << "initial view 3D normal";
    EXPECT_TRUE(Checked(1201)) << "low details";
    EXPECT_TRUE(Checked(1105) && Checked(1107) && Checked(1108) && Checked(1109) && Checked(1114));
    EXPECT_EQ(frame->MapView().GetViewMode(), 1) << "the view starts in 2D normal";
}

TEST_F(FrameOptionsTest, ProfileRoundTripKeepsEveryValue)
{
    const std::vector<std::pair<const char*, int>> values { { "prompt", 0 }, { "beep", 0 }, { "title", 1 },
        { "hide", 0 }, { "blink", 0 }, { "auto", 0 }, { "smooth", 0 }, { "sound", 0 }, { "music", 0 },
        { "background", 1 }, { "icons", 0 }, { "save", 0 }, { "bullet", 1 }, { "list", 1 }, { "last", 0 },
        { "menu", 1 }, { "tracking", 0 }, { "objectives", 0 }, { "initial", 3 }, { "outlines", 1 }, { "details", 2 },
        { "fast", 1 }, { "human", 1 }, { "ask", 1 }, { "special", 0 } };
    for (const auto& [key, value] : values)
        services.profile.SetInt("Options", key, value);
    Create();
    EXPECT_TRUE(host->IsMenuBarShown());
    EXPECT_TRUE(Checked(1101));
    EXPECT_TRUE(Checked(1203));
    EXPECT_TRUE(Checked(1305));
    services.profile.Clear();
    host->DestroyFrame();
    for (const auto& [key, value] : values)
        EXPECT_EQ(services.profile.GetInt("Options", key, -1), value) << key;
    EXPECT_FALSE(services.profile.Has("Options", "rules"));
}

TEST_F(FrameOptionsTest, OutOfRangeValuesReadAsDefaults)
{
    services.profile.SetInt("Options", "details", 9);
    services.profile.SetInt("Options", "initial", -2);
    Create();
    EXPECT_TRUE(Checked(1201));
    EXPECT_TRUE(Checked(1304));
}

TEST_F(FrameOptionsTest, LastViewSavesTheViewShown)
{
    Create();
    ASSERT_TRUE(host->Command(1301));
    EXPECT_TRUE(Checked(1301));
    EXPECT_FALSE(Checked(1304));
    host->DestroyFrame();
    EXPECT_EQ(services.profile.GetInt("Options", "initial", -1), 1);
    EXPECT_EQ(services.profile.GetInt("Options", "last", -1), 1);
}

struct ToggleCase {
    int id;
};

class OptionToggleTest : public FrameOptionsTest, public ::testing::WithParamInterface<int> { };

TEST_P(OptionToggleTest, EachToggleFlipsItsCheckTwice)
{
    Create();
    const int id = GetParam();
    const bool before = Checked(id);
    ASSERT_TRUE(host->Command(id));
    EXPECT_NE(Checked(id), before);
    ASSERT_TRUE(host->Command(id));
    EXPECT_EQ(Checked(id), before);
}

INSTANTIATE_TEST_SUITE_P(Options, OptionToggleTest,
    ::testing::Values(1101, 1102, 1104, 1105, 1106, 1107, 1108, 1109, 1110, 1111, 1112, 1113, 1114, 1115, 1116, 1117,
        1118, 1119, 1120, 1121, 1122, 1123));

TEST_F(FrameOptionsTest, TitleAndMenuBarsFollowTheirOptions)
{
    Create();
    EXPECT_FALSE(host->IsDecorated());
    ASSERT_TRUE(host->Command(1101));
    EXPECT_TRUE(host->IsDecorated());
    KeyEventFor(host.get(), 'M', true);
    EXPECT_TRUE(host->IsMenuBarShown());
    EXPECT_TRUE(Checked(1102));
}

TEST_F(FrameOptionsTest, MusicAndBackgroundSoundPlayOneAtATime)
{
    Create();
    ASSERT_TRUE(host->Command(1112));
    EXPECT_TRUE(Checked(1112));
    EXPECT_FALSE(Checked(1111));
    ASSERT_TRUE(host->Command(1111));
    EXPECT_TRUE(Checked(1111));
    EXPECT_FALSE(Checked(1112));
}

TEST_F(FrameOptionsTest, OptionalRulesShowReadOnly)
{
    Create();
    frame->Game().m_options = 88 | 0x1 | 0x100;
    services.dialogs.Script("RuleDialog", [](Dialog& dialog, auto& controls) {
        EXPECT_TRUE(controls.IsChecked(101));
        EXPECT_FALSE(controls.IsChecked(102));
        EXPECT_TRUE(controls.IsChecked(109));
        controls.Click(102);
        EXPECT_FALSE(controls.IsChecked(102)) << "read-only";
        dialog.OnOk();
        return 0;
    });
    services.boxes.Answer(kAnswerOk);
    ASSERT_TRUE(host->Command(1124));
    ASSERT_EQ(services.boxes.shown.size(), 1u);
    EXPECT_EQ(services.boxes.shown[0].text, "Optional rules can only be changed at the beginning of a scenario");
    EXPECT_EQ(services.boxes.shown[0].caption, "Optional Rule Dialog");
    EXPECT_EQ(frame->Game().m_options, 88 | 0x1 | 0x100);
}

struct RuleCase {
    std::vector<int> checked;
    int mask;
};

class RuleMaskTest : public FrameFixture, public ::testing::WithParamInterface<RuleCase> { };

TEST_P(RuleMaskTest, BoxesGiveTheMaskOverTheDefault)
{
    CRuleDialog dialog(services.Get(), 0x0, false);
    services.dialogs.Script("RuleDialog", [&](Dialog& d, auto& controls) {
        for (int id : GetParam().checked)
            controls.Click(id);
        d.OnOk();
        return 0;
    });
    EXPECT_EQ(services.dialogs.RunModal(dialog), kEndOk);
    EXPECT_EQ(dialog.GetMask(), GetParam().mask);
    EXPECT_TRUE(services.dialogs.failures.empty());
}

INSTANTIATE_TEST_SUITE_P(Table, RuleMaskTest,
    ::testing::Values(RuleCase { {}, 88 }, RuleCase { { 101, 102, 103, 109 }, 0x15F }, RuleCase { { 103 }, 92 },
        RuleCase { { 109 }, 88 | 0x100 }));

struct ChooseCase {
    std::vector<int> clicks;
    int slider; // -1: untouched
    int modes[2];
    int fog[2];
    int advantage;
};

class ChooseDialogTest : public FrameFixture, public ::testing::WithParamInterface<ChooseCase> { };

TEST_P(ChooseDialogTest, GivesModesFogAndAdvantage)
{
    const ChooseCase& c = GetParam();
    services.profile.SetInt("Options", "rules", 92);
    CChooseDialog dialog(services.Get());
    services.dialogs.Script("ChooseDialog_AI", [&](Dialog& d, auto& controls) {
        for (int id : c.clicks)
            controls.Click(id);
        if (c.slider >= 0)
            controls.MoveSlider(109, c.slider);
        d.OnOk();
        return 0;
    });
    services.dialogs.RunModal(dialog);
    int modes[2];
    std::uint8_t fog[2];
    dialog.GetSelection(modes, fog);
    EXPECT_EQ(modes[0], c.modes[0]);
    EXPECT_EQ(modes[1], c.modes[1]);
    EXPECT_EQ(fog[0], c.fog[0]);
    EXPECT_EQ(fog[1], c.fog[1]);
    EXPECT_EQ(dialog.m_advantage, c.advantage);
    EXPECT_EQ(dialog.m_rules, 92);
    EXPECT_TRUE(services.dialogs.failures.empty());
}

INSTANTIATE_TEST_SUITE_P(Table, ChooseDialogTest,
    ::testing::Values(ChooseCase { {}, -1, { 0, 0 }, { 0, 0 }, 0 }, ChooseCase { { 103 }, 0, { 2, 0 }, { 0, 0 }, 100 },
        ChooseCase { { 104, 107 }, 200, { 2, 2 }, { 1, 0 }, -100 },
        ChooseCase { { 104, 102, 108 }, 70, { 0, 2 }, { 0, 1 }, 30 }));

TEST_F(FrameOptionsTest, NewScenarioDialogGivesSideFogAndRules)
{
    CNewScenarioDialog dialog(services.Get());
    services.dialogs.Script("NewScenarioDialog_AI", [](Dialog& d, auto& controls) {
        controls.Click(102);
        controls.Click(103);
        controls.MoveSlider(106, 150);
        controls.Click(107);
        d.OnOk();
        return 0;
    });
    services.dialogs.Script("RuleDialog", [](Dialog& d, auto& controls) {
        controls.Click(101);
        d.OnOk();
        return 0;
    });
    services.dialogs.RunModal(dialog);
    EXPECT_EQ(dialog.m_localSide, 1);
    EXPECT_TRUE(dialog.m_fogOfWar);
    EXPECT_EQ(dialog.m_advantage, -50);
    EXPECT_EQ(dialog.m_rules, 89);
}

TEST_F(FrameOptionsTest, AdvantageDialogStartsAtTheValue)
{
    CAdvantageDialog dialog(-30);
    services.dialogs.Script("AdvantageDialog_AI", [](Dialog& d, auto& controls) {
        EXPECT_EQ(controls.GetSliderPos(101), 130);
        controls.MoveSlider(101, 90);
        d.OnCancel();
        return 0;
    });
    EXPECT_EQ(services.dialogs.RunModal(dialog), kEndCancel);
    EXPECT_EQ(dialog.m_advantage, 10) << "read back on every end; the caller uses it after OK only";
}

TEST_F(FrameOptionsTest, NewBattleTakesTheChosenOpponentAdvantageAndRules)
{
    services.dialogs.Script("ChooseDialog_AI", [](Dialog& d, auto& controls) {
        controls.Click(104); // NATO: computer with fog of war
        controls.MoveSlider(109, 80);
        controls.Click(110);
        d.OnOk();
        return 0;
    });
    services.dialogs.Script("RuleDialog", [](Dialog& d, auto& controls) {
        for (int id : { 101, 102, 103, 109 })
            controls.Click(id);
        d.OnOk();
        return 0;
    });
    Start(Scenario("demo.scn"));
    const CGame& game = frame->Game();
    EXPECT_EQ(game.m_aiMode[0], kAiPlanningComputer);
    EXPECT_EQ(game.m_aiFog[0], 1);
    EXPECT_EQ(game.m_aiMode[1], kAiManual);
    EXPECT_EQ(game.m_advantage, 20);
    EXPECT_EQ(game.m_options, 0x15F);
    EXPECT_EQ(services.profile.GetInt("Options", "rules", -1), 0x15F);
    EXPECT_EQ(frame->GetLocalSide(), 1) << "NATO's fog makes the local side Soviet Bloc";
}

TEST_F(FrameOptionsTest, ColourDepthWarnsOncePerChange)
{
    services.profile.SetInt("Video", "bits", 16);
    services.boxes.Answer(kAnswerOk);
    Create();
    ASSERT_EQ(services.boxes.shown.size(), 1u);
    EXPECT_EQ(services.boxes.shown[0].caption, "Display Color Depth Warning");
    EXPECT_FALSE(services.boxes.shown[0].owned);
    EXPECT_EQ(services.profile.GetInt("Video", "bits", 0), 24);
    host.reset();
    frame.reset();
    Create();
    EXPECT_EQ(services.boxes.shown.size(), 1u) << "the same depth again: no warning";
    host.reset();
    frame.reset();
    services.screen.SetDepth(16);
    Create();
    EXPECT_TRUE(services.boxes.AllAnswered()) << "16 bits stored without a warning";
    EXPECT_EQ(services.profile.GetInt("Video", "bits", 0), 16);
}

TEST_F(FrameOptionsTest, HelpBooksAndAbout)
{
    Create();
    for (int id : { 1401, 1403, 1404, 1405 })
        ASSERT_TRUE(host->Command(id));
    EXPECT_EQ(services.help.requests, (std::vector<std::string> { "vl", "pdata", "pltndata", "wpndata" }));
    services.boxes.Answer(kAnswerOk);
    ASSERT_TRUE(host->Command(1406));
    EXPECT_EQ(services.boxes.shown.back().caption, "About Velmora");
    EXPECT_EQ(services.boxes.shown.back().text.rfind("Velmora, Version 1.02", 0), 0u);
    EXPECT_FALSE(Enabled(1402)) << "the handbook comes with its issue";
}

struct ToolBarCase {
    int screenWidth;
    std::size_t buttons;
    int first;
};

class ToolBarSetTest : public FrameFixture, public ::testing::WithParamInterface<ToolBarCase> { };

TEST_P(ToolBarSetTest, ScreenWidthChoosesTheSet)
{
    services.screen.SetSize({ GetParam().screenWidth, 1024 });
    Create();
    const auto& buttons = frame->ToolBar().Buttons();
    EXPECT_EQ(buttons.size(), GetParam().buttons);
    EXPECT_EQ(buttons.front().id, GetParam().first);
    EXPECT_EQ(buttons.back().id, 201);
    EXPECT_EQ(host->ToolTip(frame->ToolBar()), "");
}

INSTANTIATE_TEST_SUITE_P(Table, ToolBarSetTest,
    ::testing::Values(ToolBarCase { 640, 20, 1601 }, ToolBarCase { 799, 20, 1601 }, ToolBarCase { 800, 25, 1601 },
        ToolBarCase { 1023, 25, 1601 }, ToolBarCase { 1024, 45, 0 }, ToolBarCase { 1920, 45, 0 }));

TEST_F(FrameOptionsTest, ToolBarWrapsAtSeparatorsAndTellsItsButtons)
{
    services.screen.SetSize({ 640, 480 });
    Create();
    CGameToolBar& bar = frame->ToolBar();
    const int one = bar.Wrap(2000);
    EXPECT_EQ(one, bar.ButtonSize().height);
    const int wrapped = bar.Wrap(200);
    EXPECT_GT(wrapped, one);
    // Each wrap is at a separator, and the button after it starts its row.
    const auto& buttons = bar.Buttons();
    int wraps = 0;
    for (std::size_t i = 0; i + 1 < buttons.size(); ++i) {
        if (!buttons[i].wrapped)
            continue;
        ++wraps;
        EXPECT_EQ(buttons[i].id, 0);
        EXPECT_EQ(buttons[i + 1].place.left, 0);
    }
    EXPECT_EQ(wrapped, (wraps + 1) * bar.ButtonSize().height);
    // A probe on a button finds it; its tool tip comes from the strings.
    const auto* next = bar.ButtonAt(bar.Buttons().back().place.TopLeft() + platform::Point { 2, 2 });
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->id, 201);
    platform::MouseEvent move;
    move.kind = platform::MouseKind::Move;
    move.point = next->place.TopLeft() + platform::Point { 2, 2 };
    host->ChildHost(bar)->SendMouse(move);
    EXPECT_EQ(host->ToolTip(bar), "Next Turn");
}

TEST_F(FrameOptionsTest, StatusBarShowsTheSideToMove)
{
    ConfirmChooseDialog();
    Start(Scenario("demo.scn"));
    const auto values = frame->StatusBar().GetValues();
    const CGame& game = frame->Game();
    EXPECT_EQ(values.currentTurn, game.GetCurrentTurn());
    EXPECT_EQ(values.turnCount, game.GetTurnCount());
    const int side = game.m_map.GetSide();
    EXPECT_EQ(values.nations[0], game.m_sideNations[side][0]);
    EXPECT_EQ(frame->StatusBar().GetPaneText(1).empty(), false);
    // No turns: an empty gauge, not a division fault.
    CGameStatusBar::Values none;
    frame->StatusBar().SetValues(none);
    EXPECT_EQ(frame->StatusBar().GaugePercent(), 0);
    // Hidden information reads "?" (probed as the value the bar is given).
    frame->Game().m_night = 1;
    frame->Game().SetInfoHidden(true);
    frame->UpdateStatusTexts();
    EXPECT_EQ(frame->StatusBar().GetValues().sideValue, frame->Game().IsSideInfoHidden(side) ? -1 : 3);
}

TEST_F(FrameOptionsTest, ReportErrorBeepsWhenAsked)
{
    Create();
    frame->ReportError("Units are not under your command");
    EXPECT_EQ(frame->StatusBar().GetPaneText(0), "Units are not under your command");
    EXPECT_EQ(host->Beeps(), 1);
    ASSERT_TRUE(host->Command(1105));
    frame->ReportError("again");
    EXPECT_EQ(host->Beeps(), 1);
}

TEST_F(FrameOptionsTest, TurnMenuFollowsThreePhaseTurns)
{
    Create();
    frame->Game().m_options |= 0x80;
    frame->UpdateTurnMenu();
    const MenuModel& menu = *frame->GetMenu();
    EXPECT_EQ(menu.TopMenus()[1].label, "&Phase");
    ASSERT_NE(menu.FindItem(202), nullptr);
    EXPECT_EQ(menu.FindItem(202)->label, "&Next (Ctrl-N)");
    EXPECT_EQ(menu.FindItem(201), nullptr);
    EXPECT_EQ(frame->ToolBar().Buttons().back().id, 202);
    frame->Game().m_options &= ~0x80;
    frame->UpdateTurnMenu();
    EXPECT_EQ(menu.TopMenus()[1].label, "&Turn");
    EXPECT_NE(menu.FindItem(201), nullptr);
    EXPECT_EQ(frame->ToolBar().Buttons().back().id, 201);
}

TEST_F(FrameOptionsTest, MenuHelpShowsThePromptThenTheTitle)
{
    ConfirmChooseDialog();
    Start(Scenario("demo.scn"));
    frame->OnMenuHelp(101);
    EXPECT_EQ(frame->StatusBar().GetPaneText(0), "Start new battle");
    frame->OnMenuHelp(0);
    String title;
    frame->GetTitleText(title);
    EXPECT_EQ(frame->StatusBar().GetPaneText(0), title.str());
}

} // namespace
