#pragma once
// Hands work to the GUI thread: Post may be called from any thread; the task
// runs later on the GUI thread, in posting order.

#include <functional>

namespace platform {

class Dispatcher {
public:
    virtual ~Dispatcher() = default;
    virtual void Post(std::function<void()> task) = 0;
};

} // namespace platform
