#pragma once
// Creates window logic objects as children of another window: the child lies
// at `place` in its parent's client coordinates and moves with it. The
// factory keeps the child's host until Destroy or the factory's end; the
// logic stays its caller's.

#include "platform/core/Rect.h"
#include "platform/window/Window.h"

namespace platform {

struct ChildOptions {
    Rect place;
    bool shown = true;
};

class WindowFactory {
public:
    virtual ~WindowFactory() = default;
    // False when the parent has no host or the child's OnCreate gave -1
    // (nothing is kept then).
    virtual bool CreateChild(Window& parent, Window& child, const ChildOptions& options) = 0;
    virtual void PlaceChild(Window& child, Rect place, bool shown) = 0;
    // OnDestroy runs and the child is unbound.
    virtual void DestroyChild(Window& child) = 0;
};

} // namespace platform
