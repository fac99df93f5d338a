#pragma once
// A window's logic: a plain object bound at run time to a host (wx or
// headless), which calls these handlers. The logic never learns which host
// it has. Layers derived from a window call their base's handlers first.

#include "platform/core/Size.h"
#include "platform/window/Events.h"
#include "platform/window/IWindowHost.h"

namespace platform {

class Window {
public:
    virtual ~Window() = default;

    // Null until a host creates the window and after it is destroyed.
    IWindowHost* Host() const { return m_host; }
    // Called by hosts only.
    void AttachHost(IWindowHost* host) { m_host = host; }

    // -1 fails the creation.
    virtual int OnCreate() { return 0; }
    virtual void OnDestroy() { }
    virtual void OnSize(Size /*client*/) { }
    virtual void OnTimer(int /*id*/) { }
    virtual void OnMouse(const MouseEvent& /*event*/) { }
    virtual void OnKey(const KeyEvent& /*event*/) { }
    virtual void OnScroll(Axis /*axis*/, ScrollCode /*code*/, int /*position*/) { }

private:
    IWindowHost* m_host = nullptr;
};

} // namespace platform
