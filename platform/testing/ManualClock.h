#pragma once
// Virtual time: starts at 0 ms (and a fixed wall time), moves only when told;
// SleepMs advances it without waiting.

#include "platform/core/Clock.h"

namespace platform::testing {

class ManualClock final : public Clock {
public:
    std::int64_t NowMs() const override { return m_nowMs; }
    void SleepMs(int ms) override
    {
        if (ms > 0)
            m_nowMs += ms;
    }
    std::int64_t WallSeconds() const override { return m_wallStart + m_nowMs / 1000; }

    void AdvanceMs(std::int64_t ms) { m_nowMs += ms; }
    void SetNowMs(std::int64_t ms) { m_nowMs = ms; }
    void SetWallStart(std::int64_t seconds) { m_wallStart = seconds; }

private:
    std::int64_t m_nowMs = 0;
    std::int64_t m_wallStart = 1'000'000'000;
};

} // namespace platform::testing
