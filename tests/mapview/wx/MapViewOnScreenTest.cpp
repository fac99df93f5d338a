// The assembled map view in a real frame on the virtual display, driven
// through the X server's test extension: clicks reach the frame's callbacks
// with the hexes under the pointer, dragging the scroll bar's thumb scrolls
// the picture, and with edge scrolling a pointer on the screen's edge
// scrolls one step per tick. The screen is kept as screenshots, with the
// marked hex, a fire trace and a move trail on the map.

#include <gtest/gtest.h>

#include <wx/frame.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/wx/App.h"
#include "platform/wx/ScreenGrab.h"
#include "platform/wx/WindowHost.h"
#include "platform/wx/WxServices.h"
#include "tests/FunctionCallback.h"
#include "tests/mapview/wx/Pump.h"
#include "tools/render/HeadlessMap.h"

using namespace platform;

namespace {

namespace fs = std::filesystem;

// The view, counting the ticks of its edge-scrolling timer.
class TickCountingView : public CMapView {
public:
    using CMapView::CMapView;
    void OnTimer(int id) override
    {
        if (id == kEdgeScrollTimer)
            ++edgeTicks;
        CMapView::OnTimer(id);
    }
    int edgeTicks = 0;
};

struct Invocation {
    int slot;
    HexPos lastHit;
    HexPos hotSpot;
};

class MapViewOnScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(m_source.ReadBattle(fs::path(VL_DATA_DIR) / "demo.scn", error)) << error;
        CGame& game = m_source.Game();
        // What a reviewer should see on the screenshots: a move trail, the
        // line of sight's blocking hex, and a fire trace with its line.
        String refusal;
        int positions[] = { 1 };
        game.MoveSelection(refusal, 15, 9, 15, 10, positions, 1);
        ASSERT_EQ(refusal.GetLength(), 0u) << refusal.c_str();
        game.m_blockingHex = { 20, 12 };
        game.SetContact(22, 13, 1 - game.SideInHex(22, 13), 1, 1);
        game.SetFireTrace(HexSide::None, 22, 13, HexSide::None, 18, 13);

        // The 3D sheets are not drawn yet: their reports would stop the test
        // in a message box.
        m_services.assets.SetReporter([](const std::string&, const std::string&) {});
        m_frame = new wxFrame(nullptr, wxID_ANY, "map view", wxPoint(20, 20), wxSize(640, 500));
        m_host = new wx::WindowHost(m_view, m_services);
        ASSERT_TRUE(m_host->CreateHost(m_frame, wxPoint(0, 0), wxSize(600, 450)));
        m_view.SetMap(&game.m_map);
        m_frame->Show();
        ASSERT_TRUE(PumpUntil([&] { return m_host->IsShownOnScreen(); }));
        PumpFor(300); // mapped and exposed (no window manager under Xvfb)
        ShowBattle(m_view, game, 1, false, { 17, 12 });
        PumpFor(100);
        m_host->Update();
        for (int slot = 0; slot < CMouseView::kCallbackCount; ++slot)
            m_view.SetCallback(static_cast<CMouseView::CallbackSlot>(slot), MakeFunctionCallback([this, slot] {
                m_calls.push_back({ slot, m_view.GetLastHitHex(), m_view.GetHotSpot() });
            }));
    }
    void TearDown() override
    {
        if (m_frame)
            m_frame->Destroy();
        wx::ToolkitSession::ProcessPending();
    }

    Point ScreenOfHex(HexPos view) const
    {
        const Point c = m_view.Geometry().GetHexCentre(view.column, view.row);
        const Point o = m_view.ScrollOrigin();
        return m_host->ClientToScreen({ c.x - o.x + 4, c.y - o.y + 3 });
    }
    // The hex the view finds at the screen point.
    HexPos HexAt(Point screen) const
    {
        const Point client = screen - m_host->ClientToScreen({ 0, 0 });
        int stack = 0;
        return m_view.HitTest(client.x, client.y, stack);
    }
    void MoveTo(Point screen)
    {
        m_input.MouseMove(screen.x, screen.y);
        PumpFor(40);
    }
    bool WaitForCalls(std::size_t n)
    {
        return PumpUntil([&] { return m_calls.size() >= n; });
    }
    void Screenshot(const std::string& name)
    {
        if (const char* dir = std::getenv("VL_SCREENSHOT_DIR")) {
            m_host->Update();
            const Rect client = Rect::FromPointSize(m_host->ClientToScreen({ 0, 0 }), m_host->ClientSize());
            EXPECT_TRUE(wx::ScreenGrab::SavePng(client, fs::path(dir) / name));
        }
    }
    // What the screen shows of the client equals the back buffer, on a grid.
    int ProbesDifferingFromTheBackBuffer()
    {
        m_host->Update();
        PumpFor(50);
        const Size client = m_host->ClientSize();
        const auto shown = wx::ScreenGrab::Grab(Rect::FromPointSize(m_host->ClientToScreen({ 0, 0 }), client));
        if (!shown)
            return -1;
        int differing = 0;
        for (int j = 0; j <= 8; ++j)
            for (int i = 0; i <= 8; ++i) {
                const int x = std::min(i * client.width / 8, client.width - 1);
                const int y = std::min(j * client.height / 8, client.height - 1);
                differing += shown->GetPixel(x, y) != m_view.BackBuffer().GetPixel(x, y);
            }
        return differing;
    }

    HeadlessMap m_source { VL_DATA_DIR, VL_DATA_DIR, { 64, 64 } };
    wx::WxServices m_services { fs::absolute(VL_DATA_DIR) };
    TickCountingView m_view { &m_source.Game() };
    wxFrame* m_frame = nullptr;
    wx::WindowHost* m_host = nullptr;
    wxUIActionSimulator m_input;
    std::vector<Invocation> m_calls;
};

TEST_F(MapViewOnScreenTest, ClicksReachTheCallbacksWithTheHexesUnderThePointer)
{
    Screenshot("mapview-markers.png");
    EXPECT_EQ(ProbesDifferingFromTheBackBuffer(), 0);

    // A left click moves the hot spot to the hex, then tells the frame.
    const Point a = ScreenOfHex({ 12, 9 });
    MoveTo(a);
    m_calls.clear();
    m_input.MouseClick(wxMOUSE_BTN_LEFT);
    ASSERT_TRUE(WaitForCalls(1));
    EXPECT_EQ(m_calls[0].slot, CMouseView::kLeftDown);
    EXPECT_EQ(m_calls[0].hotSpot, HexAt(a));
    EXPECT_EQ(m_view.GetHotSpot(), (HexPos { 12, 9 }));

    // Pressed on one hex and released over another: the drag's callback.
    const Point b = ScreenOfHex({ 14, 11 });
    m_calls.clear();
    m_input.MouseDown(wxMOUSE_BTN_LEFT);
    PumpFor(40);
    MoveTo(b);
    m_input.MouseUp(wxMOUSE_BTN_LEFT);
    ASSERT_TRUE(WaitForCalls(2));
    EXPECT_EQ(m_calls[1].slot, CMouseView::kDragRelease);
    EXPECT_EQ(m_calls[1].lastHit, HexAt(b));

    // Right clicks, without and with Alt held.
    const Point c = ScreenOfHex({ 16, 8 });
    MoveTo(c);
    m_calls.clear();
    m_input.MouseClick(wxMOUSE_BTN_RIGHT);
    ASSERT_TRUE(WaitForCalls(1));
    EXPECT_EQ(m_calls[0].slot, CMouseView::kRightDown);
    EXPECT_EQ(m_calls[0].lastHit, HexAt(c));
    // On another hex: a second press on the same spot so soon would be a
    // double click.
    const Point d = ScreenOfHex({ 18, 10 });
    MoveTo(d);
    m_calls.clear();
    m_input.KeyDown(WXK_ALT);
    PumpFor(40);
    m_input.MouseClick(wxMOUSE_BTN_RIGHT);
    const bool altCall = WaitForCalls(1);
    m_input.KeyUp(WXK_ALT);
    PumpFor(40);
    ASSERT_TRUE(altCall);
    EXPECT_EQ(m_calls[0].slot, CMouseView::kRightDownAlt);
    EXPECT_EQ(m_calls[0].lastHit, HexAt(d));

    // A double click leaves the hot spot where it was.
    m_calls.clear();
    m_input.MouseDblClick(wxMOUSE_BTN_LEFT);
    const bool doubled = PumpUntil([&] {
        return std::any_of(
            m_calls.begin(), m_calls.end(), [](const Invocation& i) { return i.slot == CMouseView::kLeftDouble; });
    });
    ASSERT_TRUE(doubled);
    EXPECT_EQ(m_view.GetHotSpot(), HexAt(d)) << "the double click's first press moved it";
    Screenshot("mapview-clicks.png");
}

TEST_F(MapViewOnScreenTest, DraggingTheScrollBarThumbScrollsThePicture)
{
    m_view.ScrollTo(0, 0);
    m_host->Update();
    ASSERT_GT(m_view.GetVMax(), 4);
    // The vertical bar lies right of the client, its trough as tall as it.
    const wxRect window = m_host->GetScreenRect();
    const Point client = m_host->ClientToScreen({ 0, 0 });
    const Size size = m_host->ClientSize();
    const int barX = (client.x + size.width + window.GetRight() + 1) / 2;
    ASSERT_GT(window.GetRight() + 1, client.x + size.width) << "a vertical bar beside the picture";
    MoveTo({ barX, client.y + 4 });
    m_input.MouseDown(wxMOUSE_BTN_LEFT);
    PumpFor(60);
    for (int y = client.y + 4; y <= client.y + size.height / 2; y += 10)
        MoveTo({ barX, y });
    m_input.MouseUp(wxMOUSE_BTN_LEFT);
    PumpFor(100);
    EXPECT_GT(m_view.GetVPos(), 0);
    EXPECT_LT(m_view.GetVPos(), m_view.GetVMax());
    EXPECT_EQ(m_host->GetScrollPos(wxVERTICAL), m_view.GetVPos());
    EXPECT_EQ(ProbesDifferingFromTheBackBuffer(), 0) << "the screen shows the scrolled picture";
    // The back buffer holds the scrolled part of the map: its hex at the
    // client's top left is the one the scroll position names.
    int stack = 0;
    EXPECT_GE(m_view.HitTest(size.width / 2, 40, stack).row, m_view.GetVPos());
    Screenshot("mapview-thumb-drag.png");
}

TEST_F(MapViewOnScreenTest, EdgeScrollingStepsOncePerTickAtTheScreenEdge)
{
    m_view.ScrollTo(m_view.GetHMax(), 0);
    const int start = m_view.GetHPos();
    ASSERT_GT(start, 6);
    m_view.SetEdgeScroll(true);
    EXPECT_LE(m_host->GetScrollRange(wxHORIZONTAL), 1) << "edge scrolling hides the bars";
    // Away from the edge nothing moves.
    MoveTo({ 300, 300 });
    PumpFor(200);
    EXPECT_EQ(m_view.GetHPos(), start);
    MoveTo({ 0, 300 });
    const int before = m_view.GetHPos();
    const int ticksBefore = m_view.edgeTicks;
    PumpUntil([&] { return m_view.edgeTicks - ticksBefore >= 5; });
    const int ticks = m_view.edgeTicks - ticksBefore;
    ASSERT_GE(ticks, 5);
    ASSERT_GT(m_view.GetHPos(), 0) << "still scrolling: every tick made a step";
    EXPECT_EQ(before - m_view.GetHPos(), ticks);
    MoveTo({ 300, 300 });
    m_view.SetEdgeScroll(false);
    EXPECT_EQ(ProbesDifferingFromTheBackBuffer(), 0);
    Screenshot("mapview-edge-scroll.png");
}

} // namespace
