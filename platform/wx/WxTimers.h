#pragma once
// Window timers on wxTimer. A stopped timer object is deleted later, from the
// event loop, so a handler may stop its own timer.

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/core/Timers.h"

class wxTimer;

namespace platform::wx {

class WxTimers final : public Timers {
public:
    WxTimers();
    ~WxTimers() override;

    void Start(Window& window, int id, int ms) override;
    void Stop(Window& window, int id) override;
    void StopAll(Window& window) override;
    bool IsRunning(const Window& window, int id) const override;

private:
    class Timer;
    void Retire(std::unique_ptr<wxTimer> timer);

    std::map<std::pair<const Window*, int>, std::unique_ptr<wxTimer>> m_timers;
    std::vector<std::unique_ptr<wxTimer>> m_retired;
    bool m_cleanupPosted = false;
    std::shared_ptr<bool> m_alive;
};

} // namespace platform::wx
