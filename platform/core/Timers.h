#pragma once
// Repeating window timers: after Start, the window's OnTimer(id) runs on the
// GUI thread every `ms` milliseconds until Stop. Starting a running id
// restarts it with the new period. A host stops a window's timers when the
// window goes.

namespace platform {

class Window;

class Timers {
public:
    virtual ~Timers() = default;
    virtual void Start(Window& window, int id, int ms) = 0;
    virtual void Stop(Window& window, int id) = 0;
    virtual void StopAll(Window& window) = 0;
    virtual bool IsRunning(const Window& window, int id) const = 0;
};

} // namespace platform
