#pragma once
// Counts the game's handlers on the stack: every command, frame timer,
// posted task and map callback runs inside a HandlerScope. A modal box or a
// pumping handler lets further events in while one is running, and some of
// them must not run there:
//  - exclusive entries (reloading changed data, draining the network) run
//    only when no handler is on the stack; a nested one is remembered once
//    per kind and posted again when the outermost scope ends;
//  - top-level requests (a new battle, opening a file, exit, a close) never
//    run nested: they ask the running handler to stop, interrupt its waits
//    and are issued again, once per kind, when the outermost scope ends.
// So no running order has its battle replaced or its window destroyed under it.

#include <functional>
#include <map>
#include <memory>

#include "platform/core/Dispatcher.h"
#include "platform/ui/EventPump.h"

namespace platform::ui {

class HandlerGuard {
public:
    HandlerGuard(Dispatcher& dispatcher, EventPump& pump);
    ~HandlerGuard();
    HandlerGuard(const HandlerGuard&) = delete;
    HandlerGuard& operator=(const HandlerGuard&) = delete;

    int Depth() const { return m_state->depth; }
    bool IsNested() const { return m_state->depth > 0; }

    // Runs `entry` now at depth 0 (true); else keeps the first entry of its
    // kind for later (false).
    bool RunExclusive(int kind, std::function<void()> entry);
    // As RunExclusive, and a deferred request also asks the running handler
    // to stop and interrupts the pump's waits.
    bool RunTopLevel(int kind, std::function<void()> entry);
    // The safe point of a pumping handler between its steps: deferred
    // exclusive entries run there (top-level ones still wait for depth 0).
    void RunExclusiveAtSafePoint();
    // Posts a task that runs inside a scope.
    void Post(std::function<void()> task);

    // Called when a top-level request arrives nested (the turn driver's stop).
    void SetStopRequest(std::function<void()> stop) { m_state->stop = std::move(stop); }
    bool IsPending(int kind) const;

private:
    friend class HandlerScope;
    struct State {
        Dispatcher* dispatcher;
        EventPump* pump;
        int depth = 0;
        std::map<int, std::function<void()>> exclusive;
        std::map<int, std::function<void()>> topLevel;
        std::function<void()> stop;
    };
    // Runs the entry in a scope at depth 0, else keeps it (the first of its kind).
    static bool Attempt(const std::shared_ptr<State>& state, int kind, std::function<void()>& entry, bool topLevel);
    static void Leave(const std::shared_ptr<State>& state);

    std::shared_ptr<State> m_state;
};

// One game handler on the stack; a null guard counts nothing.
class HandlerScope {
public:
    explicit HandlerScope(HandlerGuard* guard);
    explicit HandlerScope(HandlerGuard& guard)
        : HandlerScope(&guard)
    {
    }
    ~HandlerScope();
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

private:
    friend class HandlerGuard;
    explicit HandlerScope(std::shared_ptr<HandlerGuard::State> state);

    std::shared_ptr<HandlerGuard::State> m_state;
};

} // namespace platform::ui
