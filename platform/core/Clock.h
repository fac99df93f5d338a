#pragma once
// Time for windows and effects: a monotonic millisecond count, sleeping, and
// the wall clock. Tests use testing::ManualClock, whose sleeps only advance
// virtual time.

#include <cstdint>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; never goes back.
    virtual std::int64_t NowMs() const = 0;
    virtual void SleepMs(int ms) = 0;
    // Seconds since 1970 (the seed of time-seeded generators).
    virtual std::int64_t WallSeconds() const = 0;
};

// The system's clocks.
class SystemClock final : public Clock {
public:
    std::int64_t NowMs() const override;
    void SleepMs(int ms) override;
    std::int64_t WallSeconds() const override;
};

} // namespace platform
