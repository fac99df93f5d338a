#include "platform/testing/HeadlessServices.h"

#include <algorithm>

namespace platform::testing {

HeadlessServices::HeadlessServices()
    : HeadlessServices(std::filesystem::current_path())
{
}

HeadlessServices::HeadlessServices(std::filesystem::path workingFolder)
    : assets(std::move(workingFolder))
    , m_services { clock, timers, dispatcher, pump, keys, cursors, screen, assets, profile, processes, boxes,
        fileDialogs, dialogs, windows, help }
{
    assets.SetReporter([this](const std::string& text, const std::string& caption) {
        reports.push_back({ text, caption });
    });
}

void HeadlessServices::Pump()
{
    while (dispatcher.RunPending() + timers.FireDue() > 0) { }
}

void HeadlessServices::AdvanceMs(std::int64_t ms)
{
    const std::int64_t end = clock.NowMs() + ms;
    Pump();
    while (true) {
        const auto next = timers.NextDue();
        if (!next || *next > end)
            break;
        clock.SetNowMs(std::max(*next, clock.NowMs()));
        Pump();
    }
    clock.SetNowMs(end);
    Pump();
}

} // namespace platform::testing
