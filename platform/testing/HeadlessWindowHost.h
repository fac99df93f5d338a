#pragma once
// A host without a display: presents land on a "screen" surface of the
// client's size, and the test drives the window with synthetic size, mouse,
// key and scroll events. It records presents, scrolls, updates, the scroll
// bars and the cursor kind.

#include <vector>

#include "platform/gfx/Surface.h"
#include "platform/window/IWindowHost.h"
#include "platform/window/Window.h"

namespace platform::testing {

class HeadlessWindowHost final : public IWindowHost {
public:
    struct ScrollBar {
        int maximum = 0;
        int position = 0;
        bool shown = false;
    };

    // `screenOrigin` is where client (0, 0) lies on the screen.
    HeadlessWindowHost(Window& window, Services& services, Size client, Point screenOrigin = {});
    ~HeadlessWindowHost() override;
    HeadlessWindowHost(const HeadlessWindowHost&) = delete;
    HeadlessWindowHost& operator=(const HeadlessWindowHost&) = delete;

    // Binds the window and runs OnCreate, then OnSize; false (and unbound)
    // when OnCreate gives -1.
    bool Create();
    // OnDestroy, the window's timers stopped, unbound. Also on destruction.
    void Destroy();

    // Test side: events as the toolkit would deliver them.
    void Resize(Size client); // the screen surface keeps what fits
    void SetMinimised(bool minimised) { m_minimised = minimised; }
    void SendMouse(const MouseEvent& event) { m_window.OnMouse(event); }
    void SendKey(const KeyEvent& event) { m_window.OnKey(event); }
    void SendScroll(Axis axis, ScrollCode code, int position = 0) { m_window.OnScroll(axis, code, position); }

    const gfx::Surface& ScreenSurface() const { return m_screen; }
    const std::vector<Rect>& Presents() const { return m_presents; } // clamped rectangles, empty ones left out
    void ClearPresents() { m_presents.clear(); }
    const std::vector<Point>& Scrolls() const { return m_scrolls; }
    int UpdateCount() const { return m_updates; }
    ScrollBar Bar(Axis axis) const { return axis == Axis::Horizontal ? m_bars[0] : m_bars[1]; }
    int CursorKind() const { return m_cursorKind; }
    int BlockingDepth() const { return m_blocking; }

    // IWindowHost
    Size ClientSize() const override { return m_client; }
    Point ClientToScreen(Point client) const override { return client + m_origin; }
    bool IsParentMinimised() const override { return m_minimised; }
    void Present(const gfx::Surface& back, Rect client) override;
    void ScrollClient(int dx, int dy) override;
    void Update() override { ++m_updates; }
    void SetScrollBar(Axis axis, int maximum, int position, bool shown) override;
    void SetCursorKind(int kind) override { m_cursorKind = kind; }
    Services& GetServices() override { return m_services; }
    void BeginBlockingPresents() override { ++m_blocking; }
    void EndBlockingPresents() override
    {
        if (m_blocking > 0)
            --m_blocking;
    }

private:
    Window& m_window;
    Services& m_services;
    Size m_client;
    Point m_origin;
    gfx::Surface m_screen;
    bool m_created = false;
    bool m_minimised = false;
    std::vector<Rect> m_presents;
    std::vector<Point> m_scrolls;
    int m_updates = 0;
    ScrollBar m_bars[2];
    int m_cursorKind = 0;
    int m_blocking = 0;
};

} // namespace platform::testing
