#pragma once
// The mouse pointer: a nested busy cursor over the whole program, hiding and
// showing, and the kinds a window asks its host for (IWindowHost::SetCursorKind).

namespace platform {

enum CursorKind : int {
    kCursorArrow = 0,
    kCursorCross = 1, // the map view's aiming pointer
    kCursorHand = 2, // the map view's pointer over something to pick
};

class Cursors {
public:
    virtual ~Cursors() = default;
    // Busy scopes nest: the pointer is busy while the depth is above zero.
    virtual void BeginBusy() = 0;
    virtual void EndBusy() = 0;
    virtual int BusyDepth() const = 0;
    virtual void Hide() = 0;
    virtual void Show() = 0;
    virtual bool IsHidden() const = 0;
};

// Busy for the life of the scope.
class BusyCursorScope {
public:
    explicit BusyCursorScope(Cursors& cursors)
        : m_cursors(cursors)
    {
        m_cursors.BeginBusy();
    }
    ~BusyCursorScope() { m_cursors.EndBusy(); }
    BusyCursorScope(const BusyCursorScope&) = delete;
    BusyCursorScope& operator=(const BusyCursorScope&) = delete;

private:
    Cursors& m_cursors;
};

} // namespace platform
