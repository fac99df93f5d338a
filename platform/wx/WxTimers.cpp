#include "platform/wx/WxTimers.h"

#include <wx/app.h>
#include <wx/timer.h>

#include "platform/window/Window.h"

namespace platform::wx {

class WxTimers::Timer final : public wxTimer {
public:
    Timer(Window& window, int id)
        : m_window(window)
        , m_id(id)
    {
    }
    void Notify() override { m_window.OnTimer(m_id); }

private:
    Window& m_window;
    int m_id;
};

WxTimers::WxTimers()
    : m_alive(std::make_shared<bool>(true))
{
}

WxTimers::~WxTimers()
{
    *m_alive = false;
    for (auto& [key, timer] : m_timers)
        timer->Stop();
}

void WxTimers::Start(Window& window, int id, int ms)
{
    Stop(window, id);
    auto timer = std::make_unique<Timer>(window, id);
    timer->Start(ms > 0 ? ms : 1);
    m_timers[{ &window, id }] = std::move(timer);
}

void WxTimers::Stop(Window& window, int id)
{
    auto it = m_timers.find({ &window, id });
    if (it == m_timers.end())
        return;
    Retire(std::move(it->second));
    m_timers.erase(it);
}

void WxTimers::StopAll(Window& window)
{
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->first.first == &window) {
            Retire(std::move(it->second));
            it = m_timers.erase(it);
        } else {
            ++it;
        }
    }
}

bool WxTimers::IsRunning(const Window& window, int id) const { return m_timers.count({ &window, id }) != 0; }

void WxTimers::Retire(std::unique_ptr<wxTimer> timer)
{
    timer->Stop();
    m_retired.push_back(std::move(timer));
    if (m_cleanupPosted || !wxTheApp)
        return;
    m_cleanupPosted = true;
    std::weak_ptr<bool> alive = m_alive;
    wxTheApp->CallAfter([this, alive] {
        if (alive.expired() || !*alive.lock())
            return;
        m_retired.clear();
        m_cleanupPosted = false;
    });
}

} // namespace platform::wx
