#include <gtest/gtest.h>

#include <wx/frame.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/gfx/Surface.h"
#include "platform/window/BlockingPresentScope.h"
#include "platform/window/Window.h"
#include "platform/wx/App.h"
#include "platform/wx/ScreenGrab.h"
#include "platform/wx/WindowHost.h"
#include "platform/wx/WxServices.h"

using namespace platform;
using namespace platform::wx;

namespace {

class Logic : public Window {
public:
    void OnTimer(int id) override
    {
        timers.push_back(id);
        if (id == 1)
            Host()->GetServices().timers.Stop(*this, 1); // a handler stops its own timer
    }
    void OnScroll(Axis axis, ScrollCode code, int position) override { scrolls.push_back({ axis, code, position }); }
    void OnSize(Size client) override { sizes.push_back(client); }
    void OnMouse(const MouseEvent& event) override
    {
        if (event.kind != MouseKind::Move)
            mice.push_back(event);
    }
    void OnKey(const KeyEvent& event) override { keys.push_back(event); }

    struct Scroll {
        Axis axis;
        ScrollCode code;
        int position;
    };
    std::vector<int> timers;
    std::vector<Scroll> scrolls;
    std::vector<Size> sizes;
    std::vector<MouseEvent> mice;
    std::vector<KeyEvent> keys;
};

// Waits in the event loop until `done` or two seconds passed.
template <class Done> bool PumpUntil(Done done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        ToolkitSession::ProcessPending();
        wxMilliSleep(5);
    }
    return true;
}

void PumpFor(int ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        ToolkitSession::ProcessPending();
        wxMilliSleep(5);
    }
}

class WindowHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "gui test", wxPoint(40, 40), wxSize(400, 300));
        m_host = new WindowHost(m_logic, m_services);
        ASSERT_TRUE(m_host->CreateHost(m_frame, wxPoint(0, 0), wxSize(320, 200)));
        m_frame->Show();
        ASSERT_TRUE(PumpUntil([&] { return m_host->IsShownOnScreen(); }));
        // Let the server map and expose it (no window manager under Xvfb).
        PumpFor(300);
    }
    void TearDown() override
    {
        if (m_frame)
            m_frame->Destroy();
        ToolkitSession::ProcessPending();
    }

    // The client area on screen.
    gfx::Surface GrabClient()
    {
        const Size client = m_host->ClientSize();
        const Point at = m_host->ClientToScreen({ 0, 0 });
        auto grab = ScreenGrab::Grab(Rect::FromPointSize(at, client));
        return grab ? *grab : gfx::Surface();
    }

    WxServices m_services;
    Logic m_logic;
    wxFrame* m_frame = nullptr;
    WindowHost* m_host = nullptr;
};

TEST_F(WindowHostTest, PresentsShowOnScreenAfterUpdate)
{
    const Size client = m_host->ClientSize();
    ASSERT_GT(client.width, 100);
    gfx::Surface back(client.width + 50, client.height + 50, gfx::Rgb(20, 120, 220));
    back.Fill({ 10, 10, 60, 40 }, gfx::Rgb(250, 200, 0));
    m_host->Present(back, { -20, -20, 5000, 5000 });
    m_host->Update();
    const gfx::Surface shown = GrabClient();
    ASSERT_EQ(shown.GetSize(), client);
    EXPECT_EQ(shown.GetPixel(30, 20), gfx::Rgb(250, 200, 0));
    EXPECT_EQ(shown.GetPixel(80, 60), gfx::Rgb(20, 120, 220));
    EXPECT_EQ(shown.GetPixel(client.width - 1, client.height - 1), gfx::Rgb(20, 120, 220));
    if (const char* dir = std::getenv("VL_SCREENSHOT_DIR"))
        ScreenGrab::SavePng(Rect::FromPointSize(m_host->ClientToScreen({ 0, 0 }), client),
            std::filesystem::path(dir) / "platform-window-host.png");
}

// Effects present and sleep without returning to the loop: inside the
// scope each present is on screen before the next.
TEST_F(WindowHostTest, BlockingPresentsAreOnScreenWithoutTheLoop)
{
    const Size client = m_host->ClientSize();
    gfx::Surface back(client.width, client.height);
    BlockingPresentScope scope(*m_host);
    for (gfx::Pixel colour : { gfx::Rgb(255, 0, 0), gfx::Rgb(0, 255, 0), gfx::Rgb(0, 0, 255) }) {
        back.Fill(colour);
        m_host->Present(back, back.Bounds());
        EXPECT_EQ(GrabClient().GetPixel(client.width / 2, client.height / 2), colour);
    }
}

TEST_F(WindowHostTest, ScrollingMovesTheFrontPicture)
{
    const Size client = m_host->ClientSize();
    gfx::Surface back(client.width, client.height, 0);
    back.Fill({ 40, 40, 50, 50 }, gfx::Rgb(255, 255, 255));
    m_host->Present(back, back.Bounds());
    m_host->ScrollClient(-20, -10);
    m_host->Update();
    const gfx::Surface shown = GrabClient();
    EXPECT_EQ(shown.GetPixel(25, 35), gfx::Rgb(255, 255, 255));
    EXPECT_EQ(shown.GetPixel(45, 45), 0u);
}

TEST_F(WindowHostTest, ScrollBarsTakePositionsUpToTheirMaximum)
{
    m_host->SetScrollBar(Axis::Horizontal, 40, 12, true);
    m_host->SetScrollBar(Axis::Vertical, 7, 7, true);
    EXPECT_EQ(m_host->GetScrollRange(wxHORIZONTAL), 41);
    EXPECT_EQ(m_host->GetScrollPos(wxHORIZONTAL), 12);
    EXPECT_EQ(m_host->GetScrollPos(wxVERTICAL), 7);
    m_host->SetScrollBar(Axis::Vertical, 7, 0, false);
    EXPECT_LE(m_host->GetScrollRange(wxVERTICAL), 1);
}

TEST_F(WindowHostTest, ScrollBarEventsReachTheLogic)
{
    struct Case {
        wxEventType type;
        int orientation;
        ScrollCode code;
    };
    const Case cases[] = {
        { wxEVT_SCROLLWIN_LINEUP, wxVERTICAL, ScrollCode::LineUp },
        { wxEVT_SCROLLWIN_LINEDOWN, wxHORIZONTAL, ScrollCode::LineDown },
        { wxEVT_SCROLLWIN_PAGEUP, wxVERTICAL, ScrollCode::PageUp },
        { wxEVT_SCROLLWIN_PAGEDOWN, wxVERTICAL, ScrollCode::PageDown },
        { wxEVT_SCROLLWIN_THUMBTRACK, wxHORIZONTAL, ScrollCode::ThumbTrack },
        { wxEVT_SCROLLWIN_TOP, wxVERTICAL, ScrollCode::Top },
        { wxEVT_SCROLLWIN_BOTTOM, wxVERTICAL, ScrollCode::Bottom },
    };
    for (const Case& c : cases) {
        m_logic.scrolls.clear();
        wxScrollWinEvent event(c.type, 9, c.orientation);
        event.SetEventObject(m_host);
        m_host->GetEventHandler()->ProcessEvent(event);
        ASSERT_EQ(m_logic.scrolls.size(), 1u);
        EXPECT_EQ(m_logic.scrolls[0].code, c.code);
        EXPECT_EQ(m_logic.scrolls[0].axis, c.orientation == wxHORIZONTAL ? Axis::Horizontal : Axis::Vertical);
        EXPECT_EQ(m_logic.scrolls[0].position, 9);
    }
    // A released thumb gives its position, then the end of the scroll.
    m_logic.scrolls.clear();
    wxScrollWinEvent release(wxEVT_SCROLLWIN_THUMBRELEASE, 4, wxVERTICAL);
    m_host->GetEventHandler()->ProcessEvent(release);
    ASSERT_EQ(m_logic.scrolls.size(), 2u);
    EXPECT_EQ(m_logic.scrolls[0].code, ScrollCode::ThumbPosition);
    EXPECT_EQ(m_logic.scrolls[1].code, ScrollCode::EndScroll);
}

TEST_F(WindowHostTest, TimersAndPostedTasksRunOnTheGuiThread)
{
    m_services.timers.Start(m_logic, 1, 10);
    m_services.timers.Start(m_logic, 2, 15);
    EXPECT_TRUE(PumpUntil([&] { return m_logic.timers.size() >= 3; }));
    EXPECT_EQ(std::count(m_logic.timers.begin(), m_logic.timers.end(), 1), 1);
    EXPECT_FALSE(m_services.timers.IsRunning(m_logic, 1));
    m_services.timers.Stop(m_logic, 2);

    std::atomic<int> ran { 0 };
    const auto gui = std::this_thread::get_id();
    bool onGui = false;
    std::thread worker([&] {
        m_services.dispatcher.Post([&] {
            onGui = std::this_thread::get_id() == gui;
            ++ran;
        });
    });
    worker.join();
    EXPECT_TRUE(PumpUntil([&] { return ran.load() == 1; }));
    EXPECT_TRUE(onGui);
}

// Real input through the X server's test extension.
TEST_F(WindowHostTest, ClicksAndKeysReachTheLogicInClientCoordinates)
{
    wxUIActionSimulator input;
    const Point at = m_host->ClientToScreen({ 50, 40 });
    input.MouseMove(at.x, at.y);
    PumpFor(50);
    input.MouseClick(wxMOUSE_BTN_LEFT);
    ASSERT_TRUE(PumpUntil([&] { return m_logic.mice.size() >= 2; }));
    EXPECT_EQ(m_logic.mice[0].kind, MouseKind::LeftDown);
    EXPECT_EQ(m_logic.mice[0].point, (Point { 50, 40 }));
    EXPECT_EQ(m_logic.mice[0].buttons, unsigned(kMouseLeft));
    EXPECT_EQ(m_logic.mice[1].kind, MouseKind::LeftUp);

    input.KeyDown(WXK_LEFT);
    input.KeyUp(WXK_LEFT);
    ASSERT_TRUE(PumpUntil([&] {
        return std::any_of(
            m_logic.keys.begin(), m_logic.keys.end(), [](const KeyEvent& key) { return key.kind == KeyKind::Up; });
    }));
    EXPECT_EQ(m_logic.keys.front().kind, KeyKind::Down);
    EXPECT_EQ(m_logic.keys.front().key, kKeyLeft);
    EXPECT_FALSE(m_logic.keys.front().repeat);
}

TEST_F(WindowHostTest, CursorKindsAndSizes)
{
    m_host->SetCursorKind(kCursorCross);
    EXPECT_EQ(m_host->CursorKind(), kCursorCross);
    m_host->SetCursorKind(kCursorHand);
    EXPECT_EQ(m_host->CursorKind(), kCursorHand);
    // The frame's one child fills its client: the logic heard of the new size.
    ASSERT_FALSE(m_logic.sizes.empty());
    EXPECT_EQ(m_logic.sizes.front(), (Size { 320, 200 }));
    EXPECT_EQ(m_logic.sizes.back(), m_host->ClientSize());
    m_host->SetSize(wxSize(200, 150));
    PumpUntil([&] { return m_logic.sizes.back() == m_host->ClientSize(); });
    EXPECT_EQ(m_logic.sizes.back(), m_host->ClientSize());
    EXPECT_EQ(m_host->Front().GetSize(), m_host->ClientSize());
    EXPECT_FALSE(m_host->IsParentMinimised());
    EXPECT_EQ(m_services.screen.Depth(), 24);
}

} // namespace

namespace {

class Child : public Window {
public:
    int OnCreate() override { return refuse ? -1 : 0; }
    void OnDestroy() override { ++destroyed; }
    bool refuse = false;
    int destroyed = 0;
};

// Children through the services' factory lie inside their parent's host.
TEST_F(WindowHostTest, FactoryChildrenLieInTheirParent)
{
    Child child;
    Child refusing;
    refusing.refuse = true;
    WindowFactory& windows = m_services.Get().windows;
    ASSERT_TRUE(windows.CreateChild(m_logic, child, { { 30, 20, 130, 80 }, true }));
    WindowHost* host = m_services.windows.ChildHost(child);
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->GetParent(), m_host);
    EXPECT_EQ(child.Host()->ClientToScreen({ 0, 0 }), m_host->ClientToScreen({ 30, 20 }));
    EXPECT_EQ(child.Host()->ClientSize(), (Size { 100, 60 }));
    EXPECT_FALSE(windows.CreateChild(m_logic, refusing, { { 0, 0, 10, 10 }, true }));
    EXPECT_EQ(refusing.Host(), nullptr);
    windows.PlaceChild(child, { 0, 0, 40, 30 }, false);
    EXPECT_FALSE(host->IsShown());
    EXPECT_EQ(child.Host()->ClientSize(), (Size { 40, 30 }));
    windows.DestroyChild(child);
    EXPECT_EQ(child.destroyed, 1);
    EXPECT_EQ(child.Host(), nullptr);
    EXPECT_EQ(m_services.windows.ChildHost(child), nullptr);
}

// The pump dispatches posted tasks; a wait dispatches nothing and ends
// early when interrupted.
TEST_F(WindowHostTest, PumpDispatchesAndWaitsDoNot)
{
    int ran = 0;
    m_services.dispatcher.Post([&] { ++ran; });
    EXPECT_TRUE(m_services.pump.WaitFor(30));
    EXPECT_EQ(ran, 0);
    m_services.pump.PumpPending();
    EXPECT_EQ(ran, 1);
    m_services.pump.SetInterrupted(true);
    EXPECT_FALSE(m_services.pump.WaitFor(5000));
    m_services.pump.SetInterrupted(false);
}

} // namespace
