#include "platform/testing/FakeTimers.h"

#include <algorithm>

#include "platform/window/Window.h"

namespace platform::testing {

void FakeTimers::Start(Window& window, int id, int ms)
{
    Stop(window, id);
    m_timers.push_back({ &window, id, std::max(ms, 1), m_clock.NowMs() + std::max(ms, 1), m_nextOrder++ });
}

void FakeTimers::Stop(Window& window, int id)
{
    std::erase_if(m_timers, [&](const Entry& e) { return e.window == &window && e.id == id; });
}

void FakeTimers::StopAll(Window& window)
{
    std::erase_if(m_timers, [&](const Entry& e) { return e.window == &window; });
}

bool FakeTimers::IsRunning(const Window& window, int id) const
{
    return std::any_of(
        m_timers.begin(), m_timers.end(), [&](const Entry& e) { return e.window == &window && e.id == id; });
}

std::optional<std::int64_t> FakeTimers::NextDue() const
{
    std::optional<std::int64_t> next;
    for (const Entry& e : m_timers)
        if (!next || e.dueMs < *next)
            next = e.dueMs;
    return next;
}

int FakeTimers::FireDue()
{
    int fired = 0;
    while (true) {
        auto it = std::min_element(m_timers.begin(), m_timers.end(),
            [](const Entry& a, const Entry& b) { return a.dueMs != b.dueMs ? a.dueMs < b.dueMs : a.order < b.order; });
        if (it == m_timers.end() || it->dueMs > m_clock.NowMs())
            return fired;
        it->dueMs += it->periodMs;
        Window* window = it->window;
        const int id = it->id;
        ++fired;
        // The handler may start or stop timers: the entry is not used after.
        window->OnTimer(id);
    }
}

} // namespace platform::testing
