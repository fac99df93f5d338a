#pragma once
// The real event pump: dispatches what the event loop holds, then one idle
// round (update-UI); waits sleep in slices and paint every top-level window
// between them. Never wxYield, which asserts when nested.

#include "platform/ui/EventPump.h"

namespace platform::wx {

class WxEventPump final : public ui::EventPump {
public:
    void PumpPending() override;
    bool WaitFor(int ms) override;
};

} // namespace platform::wx
