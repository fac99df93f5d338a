// The main window in-process on the real hosts and the virtual display, on
// the demo battle: the frame full screen with its status bar, tool bar and
// map; the menu bar shown by its key; menu commands and keys through the
// toolkit's action simulator; probes of what the screen shows, and
// screenshots for reviewers. Boxes, file dialogs and dialogs are scripted.

#include <gtest/gtest.h>

#include <wx/menu.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>

#include "frame/MainFrame.h"
#include "frame/Theme.h"
#include "platform/testing/MemoryProfile.h"
#include "platform/testing/RecordingHelp.h"
#include "platform/testing/RecordingLauncher.h"
#include "platform/testing/ScriptedDialogHost.h"
#include "platform/testing/ScriptedFileDialogs.h"
#include "platform/testing/ScriptedMessageBoxes.h"
#include "platform/wx/App.h"
#include "platform/wx/FrameHost.h"
#include "platform/wx/ScreenGrab.h"
#include "platform/wx/WindowHost.h"
#include "platform/wx/WxServices.h"
#include "tests/TestFiles.h"
#include "tests/frame/StackSearch.h"
#include "tests/mapview/wx/Pump.h"

using namespace platform;

namespace {

namespace fs = std::filesystem;

class VlFrameOnScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        profile.SetInt("Video", "bits", 24);
        dialogs.SetTemplateFolder(fs::path(VL_RESOURCE_DIR) / "dialogs");
        wxServices.assets.SetReporter([](const std::string&, const std::string&) {});
    }
    void TearDown() override
    {
        if (host) {
            host->DestroyFrame();
            wx::ToolkitSession::ProcessPending();
        }
    }

    // The frame on the demo scenario, shown and started.
    void Start(CommandLine commandLine)
    {
        std::string error;
        auto resources = FrameResources::Load(VL_RESOURCE_DIR, error);
        ASSERT_TRUE(resources) << error;
        frame = std::make_unique<CMainFrame>(services, std::move(*resources), commandLine);
        host = new wx::FrameHost(*frame, services);
        ASSERT_TRUE(host->CreateFrame("Velmora", false));
        host->Show();
        ASSERT_TRUE(PumpUntil([&] { return !host->GetTitle().empty() && host->GetTitle() != "Velmora"; }, 5000))
            << "the battle was not started";
        PumpFor(300);
    }

    Rect ScreenRect(wxWindow* window) const
    {
        const wxPoint at = window->GetScreenPosition();
        const wxSize size = window->GetClientSize();
        return Rect::FromPointSize({ at.x, at.y }, { size.GetWidth(), size.GetHeight() });
    }

    void Screenshot(const std::string& name)
    {
        if (const char* dir = std::getenv("VL_SCREENSHOT_DIR")) {
            const wxSize screen = wxGetDisplaySize();
            EXPECT_TRUE(wx::ScreenGrab::SavePng(
                { 0, 0, screen.GetWidth(), screen.GetHeight() }, fs::path(dir) / ("vl-frame-" + name + ".png")));
        }
    }

    ScopedCurrentDir cwd { VL_DATA_DIR };
    wx::WxServices wxServices { fs::absolute(VL_DATA_DIR), "vl" };
    platform::testing::MemoryProfile profile;
    platform::testing::RecordingLauncher processes;
    platform::testing::ScriptedMessageBoxes boxes;
    platform::testing::ScriptedFileDialogs fileDialogs;
    platform::testing::ScriptedDialogHost dialogs;
    platform::testing::RecordingHelp help;
    Services services { wxServices.clock, wxServices.timers, wxServices.dispatcher, wxServices.pump, wxServices.keys,
        wxServices.cursors, wxServices.screen, wxServices.assets, profile, processes, boxes, fileDialogs, dialogs,
        wxServices.windows, help };
    std::unique_ptr<CMainFrame> frame;
    wx::FrameHost* host = nullptr;
    wxUIActionSimulator input;
};

CommandLine DemoScenario()
{
    CommandLine line;
    line.startFile = "demo.scn";
    line.started = true;
    return line;
}

TEST_F(VlFrameOnScreenTest, DemoBattleFillsTheScreenWithBarsAndMap)
{
    dialogs.Script("ChooseDialog_AI", [](ui::Dialog& dialog, auto&) {
        dialog.OnOk();
        return 0;
    });
    Start(DemoScenario());
    EXPECT_EQ(dialogs.shown, std::vector<std::string> { "ChooseDialog_AI" });
    EXPECT_TRUE(boxes.AllAnswered());
    EXPECT_EQ(host->GetTitle().ToStdString(), frame->Game().GetBattleTitle().str());

    // The status bar's face is ours: the scheme's button face, the turn text.
    const Rect bar = ScreenRect(host->GetStatusBar());
    ASSERT_GT(bar.Height(), 0);
    const auto status = wx::ScreenGrab::Grab(bar);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->GetPixel(bar.Width() - 120, 2), theme::kButtonFace);
    // The map shows a picture of many colours.
    const Rect map = ScreenRect(host->ChildHost(frame->MapView()));
    const auto shown = wx::ScreenGrab::Grab(map);
    ASSERT_TRUE(shown);
    std::set<gfx::Pixel> colours;
    for (int y = 10; y < map.Height(); y += map.Height() / 12)
        for (int x = 10; x < map.Width(); x += map.Width() / 12)
            colours.insert(shown->GetPixel(x, y));
    EXPECT_GE(colours.size(), 6u);
    // The tool bar sits above the map, the status bar below it.
    const Rect tools = ScreenRect(host->ChildHost(frame->ToolBar()));
    EXPECT_LE(tools.bottom, map.top);
    EXPECT_LE(map.bottom, bar.top);
    Screenshot("demo");
}

TEST_F(VlFrameOnScreenTest, MenuBarKeyShowsTheMenusAndTheirChecks)
{
    dialogs.Script("ChooseDialog_AI", [](ui::Dialog& dialog, auto&) {
        dialog.OnOk();
        return 0;
    });
    Start(DemoScenario());
    EXPECT_EQ(host->GetMenuBar(), nullptr) << "a fresh profile has no menu bar";
    host->Raise();
    host->SetFocus();
    PumpFor(100);
    input.Char('M', wxMOD_CONTROL);
    ASSERT_TRUE(PumpUntil([&] { return host->GetMenuBar() != nullptr; })) << "Ctrl+M shows the menu bar";
    wxMenuBar* bar = host->GetMenuBar();
    EXPECT_EQ(bar->GetMenuCount(), 12u);
    EXPECT_EQ(bar->GetMenuLabel(0).ToStdString(), "&File");
    EXPECT_EQ(bar->GetMenuLabel(1).ToStdString(), "&Turn");
    EXPECT_TRUE(frame->Options().menu);
    PumpFor(300);
    Screenshot("menu");
}

// With the Unit List option the info box stands beside the map; a double
// click on a hex of several units (through the toolkit, as a user gives it)
// selects them all, and the box paints their panels.
TEST_F(VlFrameOnScreenTest, DoubleClickSelectsTheHexInTheInfoBox)
{
    dialogs.Script("ChooseDialog_AI", [](ui::Dialog& dialog, auto&) {
        dialog.OnOk();
        return 0;
    });
    Start(DemoScenario());
    ASSERT_TRUE(frame->ExecuteCommand(1113));
    PumpFor(300);
    const Rect map = ScreenRect(host->ChildHost(frame->MapView()));
    const Rect info = ScreenRect(host->ChildHost(frame->InfoBox()));
    EXPECT_GE(info.left, map.right);
    EXPECT_EQ(info.top, map.top);

    CGame& game = frame->Game();
    const HexPos hex = FirstHexWithUnits(game, 2);
    ASSERT_NE(hex.column, -1);
    CMapView& view = frame->MapView();
    view.ScrollHexIntoView(hex.column, hex.row, true);
    PumpFor(200);
    const HexPos v = view.RotateHex(hex);
    const Point centre = view.Geometry().GetHexCentre(v.column, v.row);
    const Point origin = view.ScrollOrigin();
    const Point onScreen = view.Host()->ClientToScreen({ centre.x - origin.x, centre.y - origin.y });
    host->Raise();
    PumpFor(100);
    input.MouseMove(onScreen.x, onScreen.y);
    PumpFor(100);
    input.MouseDblClick();
    const std::size_t count = game.m_stacks.At(hex.column, hex.row).Count();
    ASSERT_TRUE(PumpUntil([&] { return frame->InfoBox().GetSelectedIndices().size() == count; }, 3000))
        << "the double click selected " << frame->InfoBox().GetSelectedIndices().size() << " of " << count;
    EXPECT_EQ(frame->InfoBox().GetHex().column, hex.column);
    EXPECT_EQ(frame->InfoBox().GetHex().row, hex.row);
    PumpFor(200);
    const auto shown = wx::ScreenGrab::Grab(info);
    ASSERT_TRUE(shown);
    std::set<gfx::Pixel> colours;
    for (int y = 4; y < frame->InfoBox().PanelHeight(); y += 9)
        colours.insert(shown->GetPixel(frame->InfoBox().PanelWidth() / 2, y));
    EXPECT_GE(colours.size(), 3u);
    Screenshot("infobox");
}

} // namespace
