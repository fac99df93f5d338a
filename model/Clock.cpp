#include "model/Clock.h"

#include <ctime>

namespace {
TimeSource g_timeSource = nullptr;
}

std::int64_t CurrentTimeSeconds()
{
    if (g_timeSource)
        return g_timeSource();
    return static_cast<std::int64_t>(std::time(nullptr));
}

void SetTimeSource(TimeSource source) { g_timeSource = source; }
