#pragma once
// A callback object that runs a function: what a test hands a window or the
// game where the frame would hand a member callback.

#include <functional>
#include <memory>
#include <utility>

#include "model/Callback.h"

class FunctionCallback final : public CCallback {
public:
    explicit FunctionCallback(std::function<void()> f)
        : m_f(std::move(f))
    {
    }
    void Invoke() override { m_f(); }

private:
    std::function<void()> m_f;
};

inline std::unique_ptr<CCallback> MakeFunctionCallback(std::function<void()> f)
{
    return std::make_unique<FunctionCallback>(std::move(f));
}
