// The demo battle in a real frame on the virtual display: what the screen
// shows of the map view equals the headless render of the same client, probe
// by probe, in both 2D views. The grabs are kept as screenshots.

#include <gtest/gtest.h>

#include <wx/frame.h>
#include <wx/utils.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "platform/wx/App.h"
#include "platform/wx/ScreenGrab.h"
#include "platform/wx/WindowHost.h"
#include "platform/wx/WxServices.h"
#include "tests/mapview/wx/Pump.h"
#include "tools/render/HeadlessMap.h"

using namespace platform;

namespace {

namespace fs = std::filesystem;

// Destroys the frame (and the host in it) before the view it shows goes.
struct FrameCloser {
    wxFrame* frame;
    ~FrameCloser()
    {
        frame->Destroy();
        wx::ToolkitSession::ProcessPending();
    }
};

class DemoOnScreenTest : public ::testing::TestWithParam<int> { };

TEST_P(DemoOnScreenTest, ScreenShowsTheHeadlessRender)
{
    const int mode = GetParam();
    std::string error;
    // The game the screen's view shows (the headless map is only its reader).
    HeadlessMap source(VL_DATA_DIR, VL_DATA_DIR, { 64, 64 });
    ASSERT_TRUE(source.ReadBattle(fs::path(VL_DATA_DIR) / "demo.scn", error)) << error;
    CGame& game = source.Game();
    const HexPos centre { game.m_map.GetWidth() / 2, game.m_map.GetHeight() / 2 };

    wx::WxServices services(fs::absolute(VL_DATA_DIR));
    // The 3D sheets are not drawn yet: their reports would stop the test
    // in a message box.
    services.assets.SetReporter([](const std::string&, const std::string&) {});
    CMapView view(&game);
    auto* frame = new wxFrame(nullptr, wxID_ANY, "map view", wxPoint(20, 20), wxSize(900, 700));
    FrameCloser closer { frame };
    auto* host = new wx::WindowHost(view, services);
    ASSERT_TRUE(host->CreateHost(frame, wxPoint(0, 0), wxSize(860, 640)));
    view.SetMap(&game.m_map);
    frame->Show();
    PumpFor(300); // mapped and exposed (no window manager under Xvfb)
    ShowBattle(view, game, mode, false, centre);
    PumpFor(200);
    host->Update();

    const Size client = host->ClientSize();
    HeadlessMap reference(VL_DATA_DIR, VL_DATA_DIR, client);
    ASSERT_TRUE(reference.ReadBattle(fs::path(VL_DATA_DIR) / "demo.scn", error)) << error;
    reference.Show(mode, false, centre);

    const Rect onScreen = Rect::FromPointSize(host->ClientToScreen({ 0, 0 }), client);
    const auto shown = wx::ScreenGrab::Grab(onScreen);
    ASSERT_TRUE(shown);
    ASSERT_EQ(shown->GetSize(), client);
    // The client's pixels on a grid of probes, edges and corners included.
    int differing = 0;
    std::set<gfx::Pixel> colours;
    for (int j = 0; j <= 16; ++j) {
        for (int i = 0; i <= 16; ++i) {
            const int x = std::min(i * client.width / 16, client.width - 1);
            const int y = std::min(j * client.height / 16, client.height - 1);
            colours.insert(reference.Screen().GetPixel(x, y));
            if (shown->GetPixel(x, y) != reference.Screen().GetPixel(x, y) && ++differing <= 5)
                ADD_FAILURE() << "mode " << mode << " at " << x << "," << y << ": screen " << std::hex
                              << shown->GetPixel(x, y) << ", headless " << reference.Screen().GetPixel(x, y);
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GE(colours.size(), 8u) << "a picture, not an empty client";
    if (const char* dir = std::getenv("VL_SCREENSHOT_DIR")) {
        const auto png = fs::path(dir) / ("mapview-demo-mode" + std::to_string(mode) + ".png");
        EXPECT_TRUE(wx::ScreenGrab::SavePng(onScreen, png));
    }
}

INSTANTIATE_TEST_SUITE_P(Views, DemoOnScreenTest, ::testing::Values(1, 2));

} // namespace
