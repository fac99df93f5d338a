#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Cursors.h"
#include "platform/testing/HeadlessServices.h"
#include "platform/testing/HeadlessWindowHost.h"
#include "platform/window/BlockingPresentScope.h"
#include "platform/window/Window.h"

using namespace platform;
using namespace platform::testing;

namespace {

class Recorder : public Window {
public:
    int OnCreate() override
    {
        log.push_back("create");
        return failCreate ? -1 : 0;
    }
    void OnDestroy() override { log.push_back("destroy"); }
    void OnSize(Size client) override
    {
        log.push_back("size " + std::to_string(client.width) + "x" + std::to_string(client.height));
    }
    void OnTimer(int id) override
    {
        log.push_back("timer " + std::to_string(id) + " at " + std::to_string(Host()->GetServices().clock.NowMs()));
        if (id == 2 && stopTwoOnFire)
            Host()->GetServices().timers.Stop(*this, 2);
    }
    bool failCreate = false;
    bool stopTwoOnFire = false;
    std::vector<std::string> log;
};

TEST(HeadlessHost, CreatesSizesAndDestroysInOrder)
{
    HeadlessServices services;
    Recorder window;
    {
        HeadlessWindowHost host(window, services, { 40, 30 });
        ASSERT_TRUE(host.Create());
        EXPECT_EQ(window.Host(), &host);
        host.Resize({ 50, 20 });
        services.timers.Start(window, 1, 10);
    }
    EXPECT_EQ(window.log, (std::vector<std::string> { "create", "size 40x30", "size 50x20", "destroy" }));
    EXPECT_EQ(window.Host(), nullptr);
    EXPECT_EQ(services.timers.Count(), 0);

    Recorder refusing;
    refusing.failCreate = true;
    HeadlessWindowHost host(refusing, services, { 10, 10 });
    EXPECT_FALSE(host.Create());
    EXPECT_EQ(refusing.Host(), nullptr);
}

TEST(HeadlessHost, PresentsClampToTheClientAndTheBuffer)
{
    HeadlessServices services;
    Recorder window;
    HeadlessWindowHost host(window, services, { 8, 6 });
    ASSERT_TRUE(host.Create());
    gfx::Surface back(6, 10, 0x00AA00);
    host.Present(back, { -5, -5, 20, 20 });
    ASSERT_EQ(host.Presents().size(), 1u);
    EXPECT_EQ(host.Presents()[0], (Rect { 0, 0, 6, 6 }));
    EXPECT_EQ(host.ScreenSurface().GetPixel(5, 5), 0x00AA00u);
    EXPECT_EQ(host.ScreenSurface().GetPixel(6, 5), 0u);
    host.Present(back, { 9, 0, 12, 3 }); // outside the client: nothing
    EXPECT_EQ(host.Presents().size(), 1u);
    EXPECT_EQ(host.UpdateCount(), 0);
    {
        BlockingPresentScope scope(host);
        host.Present(back, { 0, 0, 2, 2 });
    }
    EXPECT_EQ(host.UpdateCount(), 1);
    host.Present(back, { 0, 0, 2, 2 });
    EXPECT_EQ(host.UpdateCount(), 1);
}

TEST(HeadlessHost, ScrollingMovesTheShownPicture)
{
    HeadlessServices services;
    Recorder window;
    HeadlessWindowHost host(window, services, { 6, 4 });
    ASSERT_TRUE(host.Create());
    gfx::Surface back(6, 4);
    back.SetPixel(3, 2, 0xFF0000);
    host.Present(back, back.Bounds());
    host.ScrollClient(-2, -1);
    EXPECT_EQ(host.ScreenSurface().GetPixel(1, 1), 0xFF0000u);
    EXPECT_EQ(host.Scrolls(), (std::vector<Point> { { -2, -1 } }));
    host.SetScrollBar(Axis::Vertical, 30, 4, true);
    EXPECT_EQ(host.Bar(Axis::Vertical).maximum, 30);
    EXPECT_EQ(host.Bar(Axis::Vertical).position, 4);
    EXPECT_FALSE(host.Bar(Axis::Horizontal).shown);
    host.SetCursorKind(kCursorHand);
    EXPECT_EQ(host.CursorKind(), kCursorHand);
}

TEST(FakeTimers, FireInVirtualTimeEarliestFirst)
{
    HeadlessServices services;
    Recorder window;
    HeadlessWindowHost host(window, services, { 4, 4 });
    ASSERT_TRUE(host.Create());
    window.log.clear();
    services.timers.Start(window, 1, 30);
    services.timers.Start(window, 2, 20);
    services.clock.SleepMs(1000); // sleeping fires nothing
    EXPECT_TRUE(window.log.empty());
    services.clock.SetNowMs(0);
    services.AdvanceMs(60);
    EXPECT_EQ(window.log,
        (std::vector<std::string> {
            "timer 2 at 20", "timer 1 at 30", "timer 2 at 40", "timer 1 at 60", "timer 2 at 60" }));
    window.log.clear();
    window.stopTwoOnFire = true;
    services.AdvanceMs(30);
    EXPECT_EQ(window.log, (std::vector<std::string> { "timer 2 at 80", "timer 1 at 90" }));
    EXPECT_FALSE(services.timers.IsRunning(window, 2));
    EXPECT_TRUE(services.timers.IsRunning(window, 1));
}

TEST(HeadlessServices, PumpRunsPostedTasksInOrderAndReportsAreRecorded)
{
    HeadlessServices services;
    std::vector<int> ran;
    services.dispatcher.Post([&] {
        ran.push_back(1);
        services.dispatcher.Post([&] { ran.push_back(3); });
    });
    services.dispatcher.Post([&] { ran.push_back(2); });
    EXPECT_TRUE(ran.empty());
    services.Pump();
    EXPECT_EQ(ran, (std::vector<int> { 1, 2, 3 }));
    services.Get().assets.ReportFailure("a.bmp", "text", "caption");
    ASSERT_EQ(services.reports.size(), 1u);
    EXPECT_EQ(services.reports[0].caption, "caption");
    BusyCursorScope busy(services.Get().cursors);
    EXPECT_EQ(services.cursors.BusyDepth(), 1);
}

} // namespace
