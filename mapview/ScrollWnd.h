#pragma once
// The root of the map view chain (and of the info windows): a window whose
// two scroll positions count whole steps (for the map: hex columns and rows),
// not pixels. A derived layer sets each axis' step and maximum; scrolling
// moves the picture by step times distance through the virtual hooks and
// tells an optional listener. With edge scrolling on, the scroll bars hide
// and a 50 ms timer scrolls one step while the pointer touches the screen's
// outermost pixel row or column.

#include <memory>

#include "model/Callback.h"
#include "platform/window/Window.h"

class CScrollWnd : public platform::Window {
public:
    static constexpr int kEdgeScrollTimer = 1;
    static constexpr int kEdgeScrollMs = 50;

    CScrollWnd() = default;
    ~CScrollWnd() override = default;
    CScrollWnd(const CScrollWnd&) = delete;
    CScrollWnd& operator=(const CScrollWnd&) = delete;

    int OnCreate() override;
    void OnScroll(platform::Axis axis, platform::ScrollCode code, int position) override;
    void OnTimer(int id) override;

    // Positions, steps, maxima, pages (client extent over the step).
    int GetHPos() const { return m_hPos; }
    int GetVPos() const { return m_vPos; }
    int GetHStep() const { return m_hStep; }
    int GetVStep() const { return m_vStep; }
    int GetHMax() const { return m_hMax; }
    int GetVMax() const { return m_vMax; }
    int GetHPage() const { return m_hPage; }
    int GetVPage() const { return m_vPage; }

    // Scrolls the picture to the position (clamped); nothing when unchanged.
    void ScrollHTo(int position);
    void ScrollVTo(int position);
    // A negative maximum is 0; a position past it is pulled back without
    // scrolling the picture. A step below 1 counts as 1.
    void SetHScrollRange(int step, int maximum);
    void SetVScrollRange(int step, int maximum);
    // Clamp, store and move the thumb; the picture is not scrolled.
    void SetHPos(int position);
    void SetVPos(int position);
    // One line-scroll where possible, else a jump and a full redraw.
    void ScrollTo(int column, int row);
    void ScrollLineUp();
    void ScrollLineDown();
    void ScrollLineLeft();
    void ScrollLineRight();

    void SetEdgeScroll(bool on);
    bool IsEdgeScroll() const { return m_edgeScroll; }
    void TogglePauseEdgeScroll() { m_edgeScrollPaused = !m_edgeScrollPaused; }
    bool IsEdgeScrollPaused() const { return m_edgeScrollPaused; }
    void SetTrackThumb(bool track) { m_trackThumb = track; }

    // The pointer kinds of the two cursor slots (platform::CursorKind).
    void SetCursorSlots(int first, int second);
    // Switches to slot 0 or 1.
    void SetCursorKind(int index);
    int GetCursorIndex() const { return m_cursorIndex; }

    // Owned; invoked after every scroll.
    void SetScrollListener(std::unique_ptr<CCallback> listener) { m_scrollListener = std::move(listener); }

    // The view's own virtual operations, in the table's order.
    virtual void ScrollPictureX(int /*dx*/) { }
    virtual void ScrollPictureY(int /*dy*/) { }
    virtual void PresentScrolledStripX(int /*dx*/) { }
    virtual void PresentScrolledStripY(int /*dy*/) { }
    virtual void Redraw() { }

private:
    void UpdateBar(platform::Axis axis);
    void EdgeScrollTick();
    void NotifyListener();

    int m_vPos = 0;
    int m_vStep = 1;
    int m_vMax = 0;
    int m_vPage = 0;
    int m_hPos = 0;
    int m_hStep = 1;
    int m_hMax = 0;
    int m_hPage = 0;
    bool m_edgeScroll = false;
    bool m_edgeScrollPaused = false;
    bool m_trackThumb = true;
    int m_cursors[2] = { 0, 0 };
    int m_cursorIndex = 0;
    std::unique_ptr<CCallback> m_scrollListener;
};
