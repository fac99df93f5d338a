#include "mapview/HexMapWnd.h"

#include "platform/core/Cursors.h"

CHexMapWnd::CHexMapWnd(const HexMap* map)
    : CDirectDrawWnd(0, 0)
    , m_geometry(map)
{
    SetCursorSlots(platform::kCursorCross, platform::kCursorHand);
}

void CHexMapWnd::GetVisibleHexes(int& columns, int& rows) const
{
    const platform::Size client = ClientSize();
    m_geometry.GetVisibleHexes(client.width, client.height, columns, rows);
}

void CHexMapWnd::UpdateScrollRanges()
{
    int columns = 0;
    int rows = 0;
    GetVisibleHexes(columns, rows);
    SetHScrollRange(m_geometry.GetColumnPitch(), m_geometry.GetMapWidth() - columns);
    GetVisibleHexes(columns, rows);
    SetVScrollRange(m_geometry.GetRowPitch(), m_geometry.GetMapHeight() - rows);
}

void CHexMapWnd::SetViewMode(int mode) { m_geometry.SetViewMode(mode); }

void CHexMapWnd::SetViewModeCentred(int mode, int column, int row)
{
    m_geometry.SetViewMode(mode);
    UpdateScrollRanges();
    int columns = 0;
    int rows = 0;
    GetVisibleHexes(columns, rows);
    SetHPos(column - columns / 2);
    SetVPos(row - rows / 2);
}

bool CHexMapWnd::ToggleRotation(int centreColumn, int centreRow)
{
    if (!m_geometry.CanRotate())
        return false;
    const HexPos m = m_geometry.RotateHex(centreColumn, centreRow);
    m_geometry.SetRotated(!m_geometry.IsRotated());
    const HexPos v = m_geometry.RotateHex(m);
    int columns = 0;
    int rows = 0;
    GetVisibleHexes(columns, rows);
    SetHPos(v.column - columns / 2);
    SetVPos(v.row - rows / 2);
    return true;
}

HexPos CHexMapWnd::HitTest(int x, int y, int& stackIndex) const
{
    stackIndex = -1;
    const platform::Point origin = ScrollOrigin();
    return m_geometry.PointToHex(x + origin.x, y + origin.y);
}
