#pragma once
// Posted tasks wait until the test runs them (RunPending), as the GUI loop
// would; Post is safe from any thread.

#include <deque>
#include <functional>
#include <mutex>

#include "platform/core/Dispatcher.h"

namespace platform::testing {

class FakeDispatcher final : public Dispatcher {
public:
    void Post(std::function<void()> task) override
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }

    // Runs tasks in posting order, those posted meanwhile included; returns
    // how many ran.
    int RunPending()
    {
        int ran = 0;
        while (true) {
            std::function<void()> task;
            {
                std::lock_guard lock(m_mutex);
                if (m_tasks.empty())
                    return ran;
                task = std::move(m_tasks.front());
                m_tasks.pop_front();
            }
            task();
            ++ran;
        }
    }

    std::size_t Pending() const
    {
        std::lock_guard lock(m_mutex);
        return m_tasks.size();
    }

private:
    mutable std::mutex m_mutex;
    std::deque<std::function<void()>> m_tasks;
};

} // namespace platform::testing
