#include "mapview/ScrollWnd.h"

#include <algorithm>

using platform::Axis;
using platform::ScrollCode;

int CScrollWnd::OnCreate()
{
    if (platform::Window::OnCreate() == -1)
        return -1;
    UpdateBar(Axis::Horizontal);
    UpdateBar(Axis::Vertical);
    return 0;
}

void CScrollWnd::UpdateBar(Axis axis)
{
    if (!Host())
        return;
    const bool horizontal = axis == Axis::Horizontal;
    Host()->SetScrollBar(axis, horizontal ? m_hMax : m_vMax, horizontal ? m_hPos : m_vPos, !m_edgeScroll);
}

void CScrollWnd::OnScroll(Axis axis, ScrollCode code, int position)
{
    const bool horizontal = axis == Axis::Horizontal;
    const int pos = horizontal ? m_hPos : m_vPos;
    const int page = horizontal ? m_hPage : m_vPage;
    const int maximum = horizontal ? m_hMax : m_vMax;
    int target = pos;
    switch (code) {
    case ScrollCode::LineUp:
        target = pos - 1;
        break;
    case ScrollCode::LineDown:
        target = pos + 1;
        break;
    case ScrollCode::PageUp:
        target = pos - page;
        break;
    case ScrollCode::PageDown:
        target = pos + page;
        break;
    case ScrollCode::ThumbPosition:
        target = position;
        break;
    case ScrollCode::ThumbTrack:
        if (!m_trackThumb)
            return;
        target = position;
        break;
    case ScrollCode::Top:
        target = 0;
        break;
    case ScrollCode::Bottom:
        target = maximum;
        break;
    case ScrollCode::EndScroll:
        return;
    }
    if (horizontal)
        ScrollHTo(target);
    else
        ScrollVTo(target);
}

void CScrollWnd::ScrollHTo(int position)
{
    position = std::clamp(position, 0, m_hMax);
    if (position == m_hPos)
        return;
    const int d = (m_hPos - position) * m_hStep;
    m_hPos = position;
    ScrollPictureX(d);
    if (Host())
        Host()->ScrollClient(d, 0);
    PresentScrolledStripX(d);
    NotifyListener();
    UpdateBar(Axis::Horizontal);
}

void CScrollWnd::ScrollVTo(int position)
{
    position = std::clamp(position, 0, m_vMax);
    if (position == m_vPos)
        return;
    const int d = (m_vPos - position) * m_vStep;
    m_vPos = position;
    ScrollPictureY(d);
    if (Host())
        Host()->ScrollClient(0, d);
    PresentScrolledStripY(d);
    NotifyListener();
    UpdateBar(Axis::Vertical);
}

void CScrollWnd::SetHScrollRange(int step, int maximum)
{
    m_hStep = std::max(step, 1);
    m_hMax = std::max(maximum, 0);
    m_hPos = std::min(m_hPos, m_hMax);
    m_hPage = Host() ? Host()->ClientSize().width / m_hStep : 0;
    if (!m_edgeScroll)
        UpdateBar(Axis::Horizontal);
}

void CScrollWnd::SetVScrollRange(int step, int maximum)
{
    m_vStep = std::max(step, 1);
    m_vMax = std::max(maximum, 0);
    m_vPos = std::min(m_vPos, m_vMax);
    m_vPage = Host() ? Host()->ClientSize().height / m_vStep : 0;
    if (!m_edgeScroll)
        UpdateBar(Axis::Vertical);
}

void CScrollWnd::SetHPos(int position)
{
    m_hPos = std::clamp(position, 0, m_hMax);
    UpdateBar(Axis::Horizontal);
}

void CScrollWnd::SetVPos(int position)
{
    m_vPos = std::clamp(position, 0, m_vMax);
    UpdateBar(Axis::Vertical);
}

void CScrollWnd::ScrollTo(int column, int row)
{
    // Both clamped to 0..maximum, whatever the caller passed.
    column = std::clamp(column, 0, m_hMax);
    row = std::clamp(row, 0, m_vMax);
    if (column == m_hPos && row == m_vPos + 1)
        ScrollLineDown();
    else if (column == m_hPos && row == m_vPos - 1)
        ScrollLineUp();
    else if (row == m_vPos && column == m_hPos + 1)
        ScrollLineRight();
    else if (row == m_vPos && column == m_hPos - 1)
        ScrollLineLeft();
    else if (column == m_hPos) {
        OnScroll(Axis::Vertical, ScrollCode::ThumbPosition, row);
        if (Host())
            Host()->Update();
    } else if (row != m_vPos) {
        m_hPos = column;
        m_vPos = row;
        UpdateBar(Axis::Horizontal);
        UpdateBar(Axis::Vertical);
        Redraw();
        if (Host())
            Host()->Update();
        NotifyListener();
    } else {
        OnScroll(Axis::Horizontal, ScrollCode::ThumbPosition, column);
        if (Host())
            Host()->Update();
    }
}

void CScrollWnd::ScrollLineUp()
{
    OnScroll(Axis::Vertical, ScrollCode::LineUp, 0);
    if (Host())
        Host()->Update();
}

void CScrollWnd::ScrollLineDown()
{
    OnScroll(Axis::Vertical, ScrollCode::LineDown, 0);
    if (Host())
        Host()->Update();
}

void CScrollWnd::ScrollLineLeft()
{
    OnScroll(Axis::Horizontal, ScrollCode::LineUp, 0);
    if (Host())
        Host()->Update();
}

void CScrollWnd::ScrollLineRight()
{
    OnScroll(Axis::Horizontal, ScrollCode::LineDown, 0);
    if (Host())
        Host()->Update();
}

void CScrollWnd::SetEdgeScroll(bool on)
{
    m_edgeScroll = on;
    if (!Host())
        return;
    auto& timers = Host()->GetServices().timers;
    if (on) {
        timers.Start(*this, kEdgeScrollTimer, kEdgeScrollMs);
    } else {
        timers.Stop(*this, kEdgeScrollTimer);
        SetHScrollRange(m_hStep, m_hMax);
        SetVScrollRange(m_vStep, m_vMax);
    }
    UpdateBar(Axis::Horizontal);
    UpdateBar(Axis::Vertical);
}

void CScrollWnd::OnTimer(int id)
{
    if (id == kEdgeScrollTimer)
        EdgeScrollTick();
}

void CScrollWnd::EdgeScrollTick()
{
    if (!m_edgeScroll || m_edgeScrollPaused || !Host() || Host()->IsParentMinimised())
        return;
    const auto& screen = Host()->GetServices().screen;
    const platform::Size size = screen.GetSize();
    const platform::Point p = screen.PointerOnScreen();
    if (p.x < 1)
        ScrollLineLeft();
    else if (p.y < 1)
        ScrollLineUp();
    else if (p.x >= size.width - 1)
        ScrollLineRight();
    else if (p.y >= size.height - 1)
        ScrollLineDown();
}

void CScrollWnd::SetCursorSlots(int first, int second)
{
    m_cursors[0] = first;
    m_cursors[1] = second;
    if (Host())
        Host()->SetCursorKind(m_cursors[m_cursorIndex]);
}

void CScrollWnd::SetCursorKind(int index)
{
    if (index < 0 || index > 1 || index == m_cursorIndex)
        return;
    m_cursorIndex = index;
    if (Host())
        Host()->SetCursorKind(m_cursors[index]);
}

void CScrollWnd::NotifyListener()
{
    if (m_scrollListener)
        m_scrollListener->Invoke();
}
