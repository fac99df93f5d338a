#include "platform/ui/HandlerGuard.h"

namespace platform::ui {

HandlerGuard::HandlerGuard(Dispatcher& dispatcher, EventPump& pump)
    : m_state(std::make_shared<State>())
{
    m_state->dispatcher = &dispatcher;
    m_state->pump = &pump;
}

HandlerGuard::~HandlerGuard()
{
    // Entries already posted find the state gone and do nothing.
    m_state->exclusive.clear();
    m_state->topLevel.clear();
    m_state->stop = nullptr;
}

bool HandlerGuard::Attempt(const std::shared_ptr<State>& state, int kind, std::function<void()>& entry, bool topLevel)
{
    if (state->depth > 0) {
        (topLevel ? state->topLevel : state->exclusive).try_emplace(kind, std::move(entry));
        if (topLevel) {
            state->pump->SetInterrupted(true);
            if (state->stop)
                state->stop();
        }
        return false;
    }
    HandlerScope scope(state);
    entry();
    return true;
}

bool HandlerGuard::RunExclusive(int kind, std::function<void()> entry) { return Attempt(m_state, kind, entry, false); }

bool HandlerGuard::RunTopLevel(int kind, std::function<void()> entry) { return Attempt(m_state, kind, entry, true); }

void HandlerGuard::RunExclusiveAtSafePoint()
{
    auto entries = std::move(m_state->exclusive);
    m_state->exclusive.clear();
    for (auto& [kind, entry] : entries) {
        HandlerScope scope(m_state);
        entry();
    }
}

void HandlerGuard::Post(std::function<void()> task)
{
    std::weak_ptr<State> weak = m_state;
    m_state->dispatcher->Post([weak, task = std::move(task)] {
        if (auto state = weak.lock()) {
            HandlerScope scope(state);
            task();
        }
    });
}

bool HandlerGuard::IsPending(int kind) const
{
    return m_state->exclusive.count(kind) > 0 || m_state->topLevel.count(kind) > 0;
}

void HandlerGuard::Leave(const std::shared_ptr<State>& state)
{
    if (--state->depth > 0)
        return;
    state->pump->SetInterrupted(false);
    std::weak_ptr<State> weak = state;
    // Each kept entry is tried again from the event loop: should a handler
    // be running by then, it is kept once more.
    for (bool topLevel : { false, true }) {
        auto entries = std::move(topLevel ? state->topLevel : state->exclusive);
        (topLevel ? state->topLevel : state->exclusive).clear();
        for (auto& [kind, entry] : entries)
            state->dispatcher->Post([weak, kind = kind, entry = std::move(entry), topLevel]() mutable {
                if (auto s = weak.lock())
                    Attempt(s, kind, entry, topLevel);
            });
    }
}

HandlerScope::HandlerScope(HandlerGuard* guard)
    : HandlerScope(guard ? guard->m_state : nullptr)
{
}

HandlerScope::HandlerScope(std::shared_ptr<HandlerGuard::State> state)
    : m_state(std::move(state))
{
    if (m_state)
        ++m_state->depth;
}

HandlerScope::~HandlerScope()
{
    if (m_state)
        HandlerGuard::Leave(m_state);
}

} // namespace platform::ui
