#pragma once
// The event pump of the headless services: PumpPending runs the posted tasks
// and the timers due now (as the loop would) and then the idle hook;
// WaitFor moves virtual time on in slices and fires nothing, ending early
// when interrupted. Both are counted for the test.

#include <functional>
#include <vector>

#include "platform/testing/FakeDispatcher.h"
#include "platform/testing/FakeTimers.h"
#include "platform/testing/ManualClock.h"
#include "platform/ui/EventPump.h"

namespace platform::testing {

class FakePump final : public ui::EventPump {
public:
    FakePump(ManualClock& clock, FakeDispatcher& dispatcher, FakeTimers& timers)
        : m_clock(clock)
        , m_dispatcher(dispatcher)
        , m_timers(timers)
    {
    }

    void PumpPending() override
    {
        ++m_pumps;
        while (m_dispatcher.RunPending() + m_timers.FireDue() > 0) { }
        if (m_onIdle)
            m_onIdle();
    }

    bool WaitFor(int ms) override
    {
        m_waits.push_back(ms);
        for (int waited = 0; waited < ms; waited += kWaitSliceMs) {
            if (IsInterrupted())
                return false;
            m_clock.SleepMs(std::min(kWaitSliceMs, ms - waited));
        }
        return !IsInterrupted();
    }

    void SetIdleHook(std::function<void()> onIdle) { m_onIdle = std::move(onIdle); }
    int Pumps() const { return m_pumps; }
    const std::vector<int>& Waits() const { return m_waits; }

private:
    ManualClock& m_clock;
    FakeDispatcher& m_dispatcher;
    FakeTimers& m_timers;
    std::function<void()> m_onIdle;
    int m_pumps = 0;
    std::vector<int> m_waits;
};

} // namespace platform::testing
