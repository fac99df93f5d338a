#pragma once
// Waiting in the toolkit's event loop in the map view's gui tests.

#include <wx/utils.h>

#include <chrono>

#include "platform/wx/App.h"

inline void PumpFor(int ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        platform::wx::ToolkitSession::ProcessPending();
        wxMilliSleep(5);
    }
}

// Until `done`, or false after `ms`.
template <class Done> bool PumpUntil(Done done, int ms = 3000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        platform::wx::ToolkitSession::ProcessPending();
        wxMilliSleep(5);
    }
    return true;
}
