#pragma once
// The wx host of a drawing window: a child window with two scroll bars that
// shows a front surface of the client's size. Presents copy from the
// window's back buffer into the front surface and invalidate; the paint
// handler only paints the front surface, through cairo (RGB24, our pixel
// layout). The logic never draws inside a paint event.

#include <wx/window.h>

#include <set>

#include "platform/gfx/Surface.h"
#include "platform/window/IWindowHost.h"
#include "platform/window/Window.h"

class wxScrollWinEvent;

namespace platform::wx {

class WindowHost final : public wxWindow, public IWindowHost {
public:
    WindowHost(Window& window, Services& services);
    ~WindowHost() override;

    // Creates the wx window, binds the logic and runs OnCreate, then OnSize;
    // false (window destroyed, logic unbound) when OnCreate gives -1.
    bool CreateHost(wxWindow* parent, wxPoint at, wxSize size);

    Window& Logic() { return m_window; }
    const gfx::Surface& Front() const { return m_front; }
    int CursorKind() const { return m_cursorKind; }

    // IWindowHost
    Size ClientSize() const override;
    Point ClientToScreen(Point client) const override;
    bool IsParentMinimised() const override;
    void Present(const gfx::Surface& back, Rect client) override;
    void ScrollClient(int dx, int dy) override;
    void Update() override { wxWindow::Update(); }
    void SetScrollBar(Axis axis, int maximum, int position, bool shown) override;
    void SetCursorKind(int kind) override;
    Services& GetServices() override { return m_services; }
    void BeginBlockingPresents() override { ++m_blocking; }
    void EndBlockingPresents() override
    {
        if (m_blocking > 0)
            --m_blocking;
    }

private:
    void OnPaintEvent(wxPaintEvent& event);
    void OnSizeEvent(wxSizeEvent& event);
    void OnMouseEvent(wxMouseEvent& event);
    void OnKeyEvent(wxKeyEvent& event);
    void OnScrollEvent(wxScrollWinEvent& event);
    void Unbind();

    Window& m_window;
    Services& m_services;
    gfx::Surface m_front;
    bool m_bound = false;
    int m_blocking = 0;
    int m_cursorKind = -1;
    std::set<int> m_keysDown;
};

} // namespace platform::wx
