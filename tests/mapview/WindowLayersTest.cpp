// The window bases on the headless host: scrolling in whole steps, edge
// scrolling on fake timers, the back buffer, presents, strips and clips.

#include <gtest/gtest.h>

#include <vector>

#include "mapview/DirectDrawWnd.h"
#include "platform/gfx/Region.h"
#include "platform/testing/HeadlessServices.h"
#include "platform/testing/HeadlessWindowHost.h"

namespace {

using platform::Axis;
using platform::Rect;
using platform::ScrollCode;

// Records the hooks; paints each uncovered strip in one colour per call.
class CTestWnd : public CDirectDrawWnd {
public:
    std::vector<int> pictureX, pictureY, redraws;
    void ScrollPictureX(int dx) override
    {
        CDirectDrawWnd::ScrollPictureX(dx);
        pictureX.push_back(dx);
    }
    void ScrollPictureY(int dy) override
    {
        CDirectDrawWnd::ScrollPictureY(dy);
        pictureY.push_back(dy);
    }
    void Redraw() override { redraws.push_back(1); }
    Rect StripX(int dx) const { return UncoveredStripX(dx); }
};

class Counter final : public CCallback {
public:
    explicit Counter(int& count)
        : m_count(count)
    {
    }
    void Invoke() override { ++m_count; }

private:
    int& m_count;
};

class WindowLayersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_host.Create());
        m_wnd.SetHScrollRange(10, 20);
        m_wnd.SetVScrollRange(10, 20);
    }
    platform::testing::HeadlessServices m_services;
    CTestWnd m_wnd;
    platform::testing::HeadlessWindowHost m_host { m_wnd, m_services.Get(), { 100, 80 } };
};

TEST_F(WindowLayersTest, ScrollCodesMoveByLinePageThumbAndEnds)
{
    struct Case {
        ScrollCode code;
        int position;
        int expected;
    };
    const Case cases[]
        = { { ScrollCode::LineDown, 0, 6 }, { ScrollCode::LineUp, 0, 5 }, { ScrollCode::PageDown, 0, 13 },
              { ScrollCode::PageUp, 0, 5 }, { ScrollCode::ThumbPosition, 17, 17 }, { ScrollCode::ThumbTrack, 3, 3 },
              { ScrollCode::Bottom, 0, 20 }, { ScrollCode::Top, 0, 0 }, { ScrollCode::PageUp, 0, 0 } };
    m_host.SendScroll(Axis::Vertical, ScrollCode::ThumbPosition, 5);
    m_host.SendScroll(Axis::Vertical, ScrollCode::LineDown);
    EXPECT_EQ(m_wnd.GetVPos(), 6);
    for (std::size_t i = 1; i < std::size(cases); ++i) {
        m_host.SendScroll(Axis::Vertical, cases[i].code, cases[i].position);
        EXPECT_EQ(m_wnd.GetVPos(), cases[i].expected) << i;
        EXPECT_EQ(m_host.Bar(Axis::Vertical).position, cases[i].expected) << i;
    }
    EXPECT_EQ(m_wnd.GetVPage(), 8);
    m_wnd.SetTrackThumb(false);
    m_host.SendScroll(Axis::Vertical, ScrollCode::ThumbTrack, 9);
    EXPECT_EQ(m_wnd.GetVPos(), 0) << "no tracking";
    m_host.SendScroll(Axis::Horizontal, ScrollCode::LineDown);
    EXPECT_EQ(m_wnd.pictureX, std::vector<int> { -10 });
}

TEST_F(WindowLayersTest, AShrinkingMaximumPullsThePositionBackWithoutScrolling)
{
    m_wnd.ScrollHTo(15);
    m_wnd.pictureX.clear();
    m_wnd.SetHScrollRange(10, 4);
    EXPECT_EQ(m_wnd.GetHPos(), 4);
    EXPECT_TRUE(m_wnd.pictureX.empty());
    m_wnd.SetHScrollRange(10, -3);
    EXPECT_EQ(m_wnd.GetHMax(), 0);
    EXPECT_EQ(m_wnd.GetHPos(), 0);
}

TEST_F(WindowLayersTest, ScrollToTakesALineStepOrRedrawsAndTellsTheListener)
{
    int heard = 0;
    m_wnd.SetScrollListener(std::make_unique<Counter>(heard));
    m_wnd.ScrollTo(1, 0);
    EXPECT_EQ(m_wnd.pictureX, std::vector<int> { -10 });
    m_wnd.ScrollTo(2, 1);
    EXPECT_EQ(m_wnd.redraws.size(), 1u) << "a diagonal jump repaints the whole view";
    EXPECT_EQ(m_wnd.pictureX.size(), 1u);
    m_wnd.ScrollTo(2, 5);
    EXPECT_EQ(m_wnd.pictureY, std::vector<int> { -40 });
    m_wnd.ScrollTo(99, 5);
    EXPECT_EQ(m_wnd.GetHPos(), 20) << "clamped";
    m_wnd.ScrollTo(-5, -5);
    EXPECT_EQ(m_wnd.GetHPos(), 0);
    EXPECT_EQ(m_wnd.GetVPos(), 0);
    EXPECT_EQ(heard, 5);
}

TEST_F(WindowLayersTest, EdgeScrollingOnTheOutermostPixelsOnly)
{
    m_wnd.ScrollTo(5, 5);
    m_wnd.SetEdgeScroll(true);
    EXPECT_FALSE(m_host.Bar(Axis::Horizontal).shown);
    struct Case {
        platform::Point pointer;
        int dh, dv;
    };
    const Case cases[] = { { { 1, 500 }, 0, 0 }, { { 0, 500 }, -1, 0 }, { { 500, 0 }, 0, -1 }, { { 1279, 500 }, 1, 0 },
        { { 500, 1023 }, 0, 1 }, { { 0, 0 }, -1, 0 }, { { 1279, 0 }, 0, -1 } };
    for (const Case& c : cases) {
        m_services.screen.SetPointer(c.pointer);
        const int h = m_wnd.GetHPos();
        const int v = m_wnd.GetVPos();
        m_services.AdvanceMs(50);
        EXPECT_EQ(m_wnd.GetHPos() - h, c.dh) << c.pointer.x << "," << c.pointer.y;
        EXPECT_EQ(m_wnd.GetVPos() - v, c.dv) << c.pointer.x << "," << c.pointer.y;
    }
    m_services.screen.SetPointer({ 0, 500 });
    const int h = m_wnd.GetHPos();
    m_wnd.TogglePauseEdgeScroll();
    m_services.AdvanceMs(200);
    EXPECT_EQ(m_wnd.GetHPos(), h) << "paused";
    m_wnd.TogglePauseEdgeScroll();
    m_host.SetMinimised(true);
    m_services.AdvanceMs(200);
    EXPECT_EQ(m_wnd.GetHPos(), h) << "minimised";
    m_host.SetMinimised(false);
    m_services.AdvanceMs(100);
    EXPECT_EQ(m_wnd.GetHPos(), h - 2);
    m_wnd.SetEdgeScroll(false);
    EXPECT_TRUE(m_host.Bar(Axis::Horizontal).shown);
    m_services.AdvanceMs(200);
    EXPECT_EQ(m_wnd.GetHPos(), h - 2);
}

TEST_F(WindowLayersTest, BackBufferIsAtLeastTheClientAndGrows)
{
    EXPECT_EQ(m_wnd.BackBuffer().Width(), 1280) << "0 by 0 means the screen";
    m_host.Resize({ 1500, 90 });
    EXPECT_EQ(m_wnd.BackBuffer().Width(), 1500);
    EXPECT_GE(m_wnd.BackBuffer().Height(), 1024);
}

TEST_F(WindowLayersTest, PresentsClampToTheClient)
{
    m_host.ClearPresents();
    m_wnd.PresentRect({ -10, -10, 50, 500 });
    ASSERT_EQ(m_host.Presents().size(), 1u);
    EXPECT_EQ(m_host.Presents()[0], (Rect { 0, 0, 50, 80 }));
    m_wnd.PresentRect({ 200, 0, 300, 10 });
    EXPECT_EQ(m_host.Presents().size(), 1u) << "wholly outside: nothing";
}

TEST_F(WindowLayersTest, ScrollsPresentTheUncoveredStripOrTheWholeClient)
{
    m_host.ClearPresents();
    m_wnd.ScrollHTo(1);
    ASSERT_EQ(m_host.Presents().size(), 1u);
    EXPECT_EQ(m_host.Presents()[0], (Rect { 90, 0, 100, 80 }));
    m_host.ClearPresents();
    m_wnd.ScrollHTo(0);
    EXPECT_EQ(m_host.Presents()[0], (Rect { 0, 0, 10, 80 }));
    m_host.ClearPresents();
    m_wnd.ScrollHTo(15);
    EXPECT_EQ(m_host.Presents()[0], (Rect { 0, 0, 100, 80 })) << "as wide as the client";
    EXPECT_EQ(m_wnd.StripX(-150), (Rect { 0, 0, 100, 80 }));
}

TEST_F(WindowLayersTest, SelfBlitMovesThePicture)
{
    auto& back = m_wnd.BackBuffer();
    back.SetPixel(30, 5, 0x123456);
    m_wnd.ScrollHTo(1); // picture moves 10 left
    EXPECT_EQ(back.GetPixel(20, 5), 0x123456u);
    back.SetPixel(50, 50, 0x654321);
    m_wnd.ScrollVTo(1); // 10 up
    EXPECT_EQ(back.GetPixel(50, 40), 0x654321u);
    m_wnd.ScrollVTo(0);
    EXPECT_EQ(back.GetPixel(50, 50), 0x654321u);
}

TEST_F(WindowLayersTest, ClipStackLimitsBlitsAndCanvas)
{
    platform::gfx::Surface red(40, 40, 0xFF0000);
    m_wnd.PushClipRegion(platform::gfx::Region::FromRect({ 0, 0, 20, 20 }), true);
    m_wnd.PushClipRegionIntersect(platform::gfx::Region::FromRect({ 10, 10, 40, 40 }), true);
    m_wnd.BlitFromSurface({ 0, 0, 40, 40 }, red, red.Bounds(), false);
    const auto& back = m_wnd.BackBuffer();
    EXPECT_EQ(back.GetPixel(15, 15), 0xFF0000u);
    EXPECT_EQ(back.GetPixel(5, 5), 0xFFFFFFu);
    EXPECT_EQ(back.GetPixel(25, 25), 0xFFFFFFu);
    m_wnd.PopClipRegion(true);
    m_wnd.BlitFromSurface({ 0, 0, 40, 40 }, red, red.Bounds(), false);
    EXPECT_EQ(back.GetPixel(5, 5), 0xFF0000u) << "the first region again";
    EXPECT_EQ(back.GetPixel(25, 25), 0xFFFFFFu);
    auto canvas = m_wnd.GetSurfaceCanvas();
    canvas.FillRect({ 0, 0, 100, 80 }, 0x00FF00);
    EXPECT_EQ(back.GetPixel(30, 30), 0xFFFFFFu);
    m_wnd.PopClipRegion(true);
    EXPECT_EQ(m_wnd.ClipDepth(), 0);
    // A blit starting 10 pixels left of the buffer skips 10 source columns;
    // one past the source draws nothing.
    platform::gfx::Surface ramp(40, 1);
    for (int x = 0; x < 40; ++x)
        ramp.SetPixel(x, 0, static_cast<platform::gfx::Pixel>(x));
    m_wnd.BlitFromSurface({ -10, 70, 30, 71 }, ramp, ramp.Bounds(), false);
    EXPECT_EQ(back.GetPixel(0, 70), 10u);
    m_wnd.BlitFromSurface({ 0, 75, 40, 76 }, ramp, { 50, 0, 90, 1 }, false);
    EXPECT_EQ(back.GetPixel(0, 75), 0xFFFFFFu);
}

} // namespace
