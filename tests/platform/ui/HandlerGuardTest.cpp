// The handler guard on the headless services: depth counting, exclusive
// entries kept once per kind and posted again when the outermost handler
// ends, top-level requests that stop the running handler, interrupt its
// waits and are issued again at depth 0; and the headless event pump.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/testing/HeadlessServices.h"
#include "platform/ui/HandlerGuard.h"

using namespace platform;
using namespace platform::ui;

namespace {

class HandlerGuardTest : public ::testing::Test {
protected:
    platform::testing::HeadlessServices services;
    HandlerGuard guard { services.dispatcher, services.pump };
    std::vector<std::string> ran;
    int stops = 0;

    // An entry that records its name and the depth it ran at.
    std::function<void()> Entry(const std::string& name)
    {
        return [this, name] { ran.push_back(name + "@" + std::to_string(guard.Depth())); };
    }
};

struct Request {
    bool topLevel;
    int kind;
    const char* name;
};

struct GuardCase {
    const char* name;
    int depth; // scopes open when the requests come
    std::vector<Request> requests;
    std::vector<std::string> ranAtOnce;
    bool interrupted; // the pump's waits end early while nested
    int stops;
    std::vector<std::string> ranAfter; // once the scopes closed and the loop ran
};

TEST_F(HandlerGuardTest, RequestsRunAtDepthZeroOrOnceAfterTheOutermostHandler)
{
    const GuardCase cases[] = {
        { "exclusive at depth 0 runs at once, in a scope", 0, { { false, 1, "reload" } }, { "reload@1" }, false, 0,
            {} },
        { "top-level at depth 0 runs at once", 0, { { true, 7, "exit" } }, { "exit@1" }, false, 0, {} },
        { "exclusive nested waits for the outermost end", 2, { { false, 1, "reload" } }, {}, false, 0, { "reload@1" } },
        { "the same kind twice runs once", 1, { { false, 1, "first" }, { false, 1, "second" } }, {}, false, 0,
            { "first@1" } },
        { "two kinds run once each", 1, { { false, 1, "reload" }, { false, 2, "drain" } }, {}, false, 0,
            { "reload@1", "drain@1" } },
        { "top-level nested stops the handler and waits", 3, { { true, 7, "exit" } }, {}, true, 1, { "exit@1" } },
        { "top-level twice is issued once", 1, { { true, 7, "close" }, { true, 7, "close again" } }, {}, true, 2,
            { "close@1" } },
        { "exclusive before top-level, each once", 1,
            { { true, 7, "open" }, { false, 1, "reload" }, { false, 1, "reload" } }, {}, true, 1,
            { "reload@1", "open@1" } },
    };
    for (const GuardCase& c : cases) {
        SCOPED_TRACE(c.name);
        ran.clear();
        stops = 0;
        guard.SetStopRequest([this] { ++stops; });
        {
            std::vector<std::unique_ptr<HandlerScope>> scopes;
            for (int i = 0; i < c.depth; ++i)
                scopes.push_back(std::make_unique<HandlerScope>(guard));
            EXPECT_EQ(guard.Depth(), c.depth);
            for (const Request& r : c.requests) {
                if (r.topLevel)
                    EXPECT_EQ(guard.RunTopLevel(r.kind, Entry(r.name)), c.depth == 0);
                else
                    EXPECT_EQ(guard.RunExclusive(r.kind, Entry(r.name)), c.depth == 0);
            }
            EXPECT_EQ(ran, c.ranAtOnce);
            EXPECT_EQ(services.pump.IsInterrupted(), c.interrupted);
            EXPECT_EQ(stops, c.stops);
            // Closing the inner scopes posts nothing yet.
            while (scopes.size() > 1)
                scopes.pop_back();
            services.Pump();
            EXPECT_EQ(ran, c.ranAtOnce);
        }
        EXPECT_EQ(guard.Depth(), 0);
        EXPECT_FALSE(services.pump.IsInterrupted());
        services.Pump();
        std::vector<std::string> expected = c.ranAtOnce;
        expected.insert(expected.end(), c.ranAfter.begin(), c.ranAfter.end());
        EXPECT_EQ(ran, expected);
        // Nothing is left for later.
        services.Pump();
        EXPECT_EQ(ran, expected);
    }
}

TEST_F(HandlerGuardTest, ARepostedEntryFindingAHandlerRunningWaitsForItToo)
{
    {
        HandlerScope scope(guard);
        guard.RunExclusive(1, Entry("reload"));
        guard.RunTopLevel(7, Entry("exit"));
    }
    // Another handler (a task posted earlier) is on the stack when the
    // re-posted entries come: they wait once more, then run.
    {
        HandlerScope scope(guard);
        services.dispatcher.RunPending();
        EXPECT_TRUE(ran.empty());
        EXPECT_TRUE(guard.IsPending(1));
        EXPECT_TRUE(guard.IsPending(7));
        EXPECT_TRUE(services.pump.IsInterrupted());
    }
    services.Pump();
    EXPECT_EQ(ran, (std::vector<std::string> { "reload@1", "exit@1" }));
}

TEST_F(HandlerGuardTest, SafePointRunsExclusiveEntriesOnly)
{
    HandlerScope scope(guard);
    guard.RunExclusive(1, Entry("reload"));
    guard.RunTopLevel(7, Entry("exit"));
    guard.RunExclusiveAtSafePoint();
    EXPECT_EQ(ran, std::vector<std::string> { "reload@2" });
    EXPECT_FALSE(guard.IsPending(1));
    EXPECT_TRUE(guard.IsPending(7));
}

TEST_F(HandlerGuardTest, PostedTasksRunInAScopeAndNullScopesCountNothing)
{
    guard.Post(Entry("task"));
    {
        HandlerScope none(nullptr);
        EXPECT_EQ(guard.Depth(), 0);
    }
    services.Pump();
    EXPECT_EQ(ran, std::vector<std::string> { "task@1" });
}

TEST_F(HandlerGuardTest, EntriesOfAGuardThatWentDoNothing)
{
    auto own = std::make_unique<HandlerGuard>(services.dispatcher, services.pump);
    bool reran = false;
    {
        HandlerScope scope(*own);
        own->RunTopLevel(7, [&] { reran = true; });
    }
    own->Post([&] { reran = true; });
    own.reset();
    services.Pump();
    EXPECT_FALSE(reran);
}

TEST_F(HandlerGuardTest, HeadlessPumpRunsTasksAndDueTimersButWaitsRunNothing)
{
    struct Ticking : Window {
        int ticks = 0;
        void OnTimer(int) override { ++ticks; }
    } window;
    platform::testing::HeadlessWindowHost host(window, services, { 10, 10 });
    ASSERT_TRUE(host.Create());
    services.timers.Start(window, 1, 25);
    int tasks = 0;
    int idles = 0;
    services.pump.SetIdleHook([&] { ++idles; });
    services.dispatcher.Post([&] { ++tasks; });

    // Waits move virtual time, dispatch nothing and fire no timer.
    EXPECT_TRUE(services.pump.WaitFor(55));
    EXPECT_EQ(services.clock.NowMs(), 55);
    EXPECT_EQ(tasks, 0);
    EXPECT_EQ(window.ticks, 0);

    services.pump.PumpPending();
    EXPECT_EQ(tasks, 1);
    EXPECT_EQ(window.ticks, 2); // due at 25 and 50
    EXPECT_EQ(idles, 1);
    EXPECT_EQ(services.pump.Pumps(), 1);

    // An interrupted wait ends at once.
    services.pump.SetInterrupted(true);
    EXPECT_FALSE(services.pump.WaitFor(100));
    EXPECT_EQ(services.clock.NowMs(), 55);
    EXPECT_EQ(services.pump.Waits(), (std::vector<int> { 55, 100 }));
}

} // namespace
