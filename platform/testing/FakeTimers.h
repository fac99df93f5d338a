#pragma once
// Timers on a ManualClock. Nothing fires by itself: FireDue runs every timer
// that is due at the clock's time, earliest first (ties in starting order),
// each as often as it fell due. HeadlessServices::AdvanceMs steps the clock
// from one due time to the next.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/core/Timers.h"
#include "platform/testing/ManualClock.h"

namespace platform::testing {

class FakeTimers final : public Timers {
public:
    explicit FakeTimers(ManualClock& clock)
        : m_clock(clock)
    {
    }

    void Start(Window& window, int id, int ms) override;
    void Stop(Window& window, int id) override;
    void StopAll(Window& window) override;
    bool IsRunning(const Window& window, int id) const override;

    // Fires what is due now; returns how many fired.
    int FireDue();
    // When the next timer is due, if any runs.
    std::optional<std::int64_t> NextDue() const;
    int Count() const { return int(m_timers.size()); }

private:
    struct Entry {
        Window* window;
        int id;
        int periodMs;
        std::int64_t dueMs;
        std::uint64_t order;
    };
    ManualClock& m_clock;
    std::vector<Entry> m_timers;
    std::uint64_t m_nextOrder = 0;
};

} // namespace platform::testing
