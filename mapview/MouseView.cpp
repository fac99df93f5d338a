#include "mapview/MouseView.h"

#include <cstdio>

using platform::MouseKind;

CMouseView::CMouseView(const HexMap* map)
    : CJumpMapView(map)
{
}

int CMouseView::OnCreate()
{
    if (CJumpMapView::OnCreate() == -1)
        return -1;
    LoadIconSheets();
    return 0;
}

void CMouseView::LoadIconSheets()
{
    m_viewSheets[2] = LoadSheet("icons1d.bmp");
    m_viewSheets[0] = LoadSheet("icons3d.bmp");
    m_viewSheets[3] = LoadSheet("icons4d.bmp");
    m_viewSheets[4] = LoadSheet("icons5d.bmp");
}

const BitmapSurface* CMouseView::GetIconSheet() const
{
    const int mode = GetViewMode();
    if (mode == 1 || mode < 0 || mode > 4)
        return GetSheets(kIcons2D).At(0);
    return m_viewSheets[static_cast<std::size_t>(mode)].get();
}

void CMouseView::LoadNationSheets(int nation)
{
    if (nation < kFirstNationSheet || nation > kLastNationSheet)
        return;
    NationSheets& n = m_nations[static_cast<std::size_t>(nation)];
    if (n.icons2d)
        return;
    auto name = [&](const char* stem) {
        char text[32];
        std::snprintf(text, sizeof text, "%s%02d.bmp", stem, nation);
        return LoadSheet(text);
    };
    n.icons2d = name("icons2d");
    n.icons1d = name("icons1d");
    n.bases3d = name("bases3d");
    n.bases4d = name("bases4d");
    n.bases5d = name("bases5d");
}

const BitmapSurface* CMouseView::GetNationIconSheet(int nation)
{
    if (nation < kFirstNationSheet || nation > kLastNationSheet)
        return GetIconSheet();
    LoadNationSheets(nation);
    const NationSheets& n = m_nations[static_cast<std::size_t>(nation)];
    switch (GetViewMode()) {
    case 0:
        return n.bases3d.get();
    case 2:
        return n.icons1d.get();
    case 3:
        return n.bases4d.get();
    case 4:
        return n.bases5d.get();
    default:
        return n.icons2d.get();
    }
}

void CMouseView::SetCallback(CallbackSlot slot, std::unique_ptr<CCallback> callback)
{
    m_callbacks[static_cast<std::size_t>(slot)] = std::move(callback);
}

void CMouseView::Invoke(CallbackSlot slot)
{
    if (auto& callback = m_callbacks[static_cast<std::size_t>(slot)])
        callback->Invoke();
}

void CMouseView::OnMouse(const platform::MouseEvent& event)
{
    const int x = event.point.x;
    const int y = event.point.y;
    switch (event.kind) {
    case MouseKind::LeftDown: {
        const HexPos hex = HitTest(x, y, m_lastStackIndex);
        m_buttonDown = true;
        if (hex != GetHotSpot())
            SetHotSpot(hex.column, hex.row);
        Invoke(kLeftDown);
        break;
    }
    case MouseKind::LeftUp: {
        m_lastHit = HitTest(x, y, m_lastStackIndex);
        const bool wasDown = m_buttonDown;
        m_buttonDown = false;
        if (wasDown && m_lastHit != GetHotSpot())
            Invoke(kDragRelease);
        break;
    }
    case MouseKind::LeftDouble:
        HitTest(x, y, m_lastStackIndex);
        m_buttonDown = true;
        Invoke(kLeftDouble);
        break;
    case MouseKind::RightDown:
        m_lastHit = HitTest(x, y, m_lastStackIndex);
        Invoke(event.modifiers.alt ? kRightDownAlt : kRightDown);
        break;
    case MouseKind::Move:
        HoverStep(event.point);
        break;
    default:
        break;
    }
}

void CMouseView::HoverStep(platform::Point client)
{
    int stackIndex = -1;
    const HexPos hex = HitTest(client.x, client.y, stackIndex);
    if (hex == m_lastHit && stackIndex == m_hoverStackIndex)
        return;
    m_lastHit = hex;
    m_hoverStackIndex = stackIndex;
    if (m_hoverTracking)
        Invoke(kHoverChange);
}

void CMouseView::SetHoverTracking(bool on)
{
    if (on && !m_hoverTracking) {
        m_hoverTracking = true;
        m_lastHit = { -1, -1 };
    } else if (!on) {
        m_hoverTracking = false;
    }
}

void CMouseView::RepaintHexAndNeighbours(int mapColumn, int mapRow)
{
    const HexMap* map = GetMap();
    if (!map || !map->IsOnMap(mapColumn, mapRow))
        return;
    RepaintHex(mapColumn, mapRow);
    for (HexSide side(1); side.IsValid(); side.Next()) {
        HexPos n;
        if (map->GetNeighbour(side, mapColumn, mapRow, n))
            RepaintHex(n.column, n.row);
    }
}
