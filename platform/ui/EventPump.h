#pragma once
// Nested event handling for long handlers (the computer's turn). PumpPending
// runs what is waiting (posted tasks, due timers, input) until nothing is
// left, then the idle command-state update; WaitFor lets reports stay on the
// screen a while, painting but running nothing. A top-level request that
// arrived while nested (a close, a new battle) interrupts the waits until
// the nesting ends, so the handler winds down without waiting.

namespace platform::ui {

class EventPump {
public:
    virtual ~EventPump() = default;

    virtual void PumpPending() = 0;
    // Sleeps `ms` in short slices, painting pending presents between them
    // and dispatching nothing; false when it ended early on an interrupt.
    virtual bool WaitFor(int ms) = 0;

    void SetInterrupted(bool interrupted) { m_interrupted = interrupted; }
    bool IsInterrupted() const { return m_interrupted; }

    static constexpr int kWaitSliceMs = 10;

private:
    bool m_interrupted = false;
};

} // namespace platform::ui
