#pragma once
// What a window's host does for it: the toolkit side of a window (wx) or a
// headless stand-in for tests (testing::HeadlessWindowHost).

#include "platform/core/Point.h"
#include "platform/core/Rect.h"
#include "platform/core/Services.h"
#include "platform/core/Size.h"
#include "platform/gfx/Surface.h"
#include "platform/window/Events.h"

namespace platform {

class IWindowHost {
public:
    virtual ~IWindowHost() = default;

    virtual Size ClientSize() const = 0;
    virtual Point ClientToScreen(Point client) const = 0;
    virtual bool IsParentMinimised() const = 0;
    // Copies `client` (clamped to the client area and to `back`) from the
    // back buffer to the screen; pixel (x, y) of `back` shows at client (x, y).
    virtual void Present(const gfx::Surface& back, Rect client) = 0;
    // Moves the shown picture by (dx, dy), as the back buffer moved.
    virtual void ScrollClient(int dx, int dy) = 0;
    // Paints pending presents now.
    virtual void Update() = 0;
    // A bar with maximum m takes positions 0..m.
    virtual void SetScrollBar(Axis axis, int maximum, int position, bool shown) = 0;
    virtual void SetCursorKind(int kind) = 0; // CursorKind
    virtual Services& GetServices() = 0;

    // Inside a BlockingPresentScope every Present ends with Update().
    virtual void BeginBlockingPresents() = 0;
    virtual void EndBlockingPresents() = 0;
};

} // namespace platform
