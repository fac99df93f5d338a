#pragma once
// For effects that draw, present and sleep without returning to the event
// loop: while the scope lives, each Present of the host is on screen before
// it returns.

#include "platform/window/IWindowHost.h"

namespace platform {

class BlockingPresentScope {
public:
    explicit BlockingPresentScope(IWindowHost& host)
        : m_host(host)
    {
        m_host.BeginBlockingPresents();
    }
    ~BlockingPresentScope() { m_host.EndBlockingPresents(); }
    BlockingPresentScope(const BlockingPresentScope&) = delete;
    BlockingPresentScope& operator=(const BlockingPresentScope&) = delete;

private:
    IWindowHost& m_host;
};

} // namespace platform
