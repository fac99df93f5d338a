#pragma once
// Child windows on wx: each child gets a WindowHost inside its parent's
// WindowHost. A child whose parent went is forgotten with it.

#include <type_traits> // before wx's weak reference, which uses it without including it

#include <wx/weakref.h>

#include <map>

#include "platform/window/WindowFactory.h"
#include "platform/wx/WindowHost.h"

namespace platform::wx {

class WxWindowFactory final : public WindowFactory {
public:
    bool CreateChild(Window& parent, Window& child, const ChildOptions& options) override;
    void PlaceChild(Window& child, Rect place, bool shown) override;
    void DestroyChild(Window& child) override;

    WindowHost* ChildHost(const Window& child) const;

private:
    std::map<const Window*, wxWeakRef<WindowHost>> m_children;
};

} // namespace platform::wx
