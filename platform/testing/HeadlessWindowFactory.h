#pragma once
// Child windows without a display: each child gets a headless host of its
// place's size, its screen origin its parent's plus the place's corner. The
// test reads the hosts back to drive and probe the children.

#include <map>
#include <memory>

#include "platform/testing/HeadlessWindowHost.h"
#include "platform/window/WindowFactory.h"

namespace platform::testing {

class HeadlessWindowFactory final : public WindowFactory {
public:
    bool CreateChild(Window& parent, Window& child, const ChildOptions& options) override;
    void PlaceChild(Window& child, Rect place, bool shown) override;
    void DestroyChild(Window& child) override;

    HeadlessWindowHost* ChildHost(const Window& child) const;
    Rect ChildPlace(const Window& child) const;
    bool IsChildShown(const Window& child) const;
    const Window* Parent(const Window& child) const;

private:
    struct Child {
        std::unique_ptr<HeadlessWindowHost> host;
        Window* window;
        Window* parent;
        Rect place;
        bool shown;
    };
    std::map<const Window*, Child> m_children;
};

} // namespace platform::testing
