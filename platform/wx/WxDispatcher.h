#pragma once
// Posts tasks to the GUI thread through the application's event queue
// (thread-safe in wx).

#include "platform/core/Dispatcher.h"

namespace platform::wx {

class WxDispatcher final : public Dispatcher {
public:
    void Post(std::function<void()> task) override;
};

} // namespace platform::wx
