#include "mapview/MouseView.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "mapview/graphics/DibFile.h"
#include "platform/gfx/Blit.h"

using platform::MouseKind;
using platform::Point;
using platform::Rect;

namespace {
constexpr platform::gfx::Pixel kWhite = 0xFFFFFF;
}

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

// ---- pictures ----

void CMouseView::LoadIconSheets()
{
    m_viewSheets[2] = LoadSheet("icons1d.bmp");
    m_viewSheets[0] = LoadSheet("icons3d.bmp");
    m_viewSheets[3] = LoadSheet("icons4d.bmp");
    m_viewSheets[4] = LoadSheet("icons5d.bmp");
    LoadSpriteScales(m_animateSprites, "animate3d.bmp");
    LoadSpriteScales(m_firingSprites, "firing0.bmp");
}

std::shared_ptr<CMaskedBitmap> CMouseView::LoadMaskedImage(std::string_view name)
{
    platform::AssetFiles* assets = Assets();
    if (!assets)
        return std::make_shared<CMaskedBitmap>();
    const std::string path = GetPicturePath(name);
    const DibFile dib(*assets, path);
    if (dib.IsEmpty()) {
        // Named as the sheets name theirs, so one report covers a file
        // that is read both ways.
        const std::string full = (assets->WorkingFolder() / path).string();
        assets->ReportFailure(full, BitmapSurface::kLoadFailureText + full, BitmapSurface::kCaption);
        return std::make_shared<CMaskedBitmap>();
    }
    return std::make_shared<CMaskedBitmap>(dib);
}

void CMouseView::LoadSpriteScales(SpriteScales& scales, std::string_view name)
{
    scales[0] = LoadMaskedImage(name);
    scales[1] = std::make_shared<CMaskedBitmap>(*scales[0], 1, 2);
    scales[2] = std::make_shared<CMaskedBitmap>(*scales[0], 1, 4);
}

const CMaskedBitmap* CMouseView::SpriteOfMode(const SpriteScales& scales) const
{
    const int mode = GetViewMode();
    return scales[mode == 3 ? 1 : mode == 4 ? 2 : 0].get();
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
        return std::string(text);
    };
    n.icons2d = LoadSheet(name("icons2d"));
    n.icons2dBitmap = LoadMaskedImage(name("icons2d"));
    n.icons1d = LoadSheet(name("icons1d"));
    n.bases3d = LoadSheet(name("bases3d"));
    n.bases4d = LoadSheet(name("bases4d"));
    n.bases5d = LoadSheet(name("bases5d"));
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

const CMaskedBitmap* CMouseView::GetNationIconBitmap(int nation)
{
    if (nation < kFirstNationSheet || nation > kLastNationSheet) {
        if (!m_sharedIconBitmap)
            m_sharedIconBitmap = LoadMaskedImage("Icons2d.bmp");
        return m_sharedIconBitmap.get();
    }
    LoadNationSheets(nation);
    return m_nations[static_cast<std::size_t>(nation)].icons2dBitmap.get();
}

// ---- the mouse ----

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
    case MouseKind::RightDown: {
        m_lastHit = HitTest(x, y, m_lastStackIndex);
        // Alt as the keyboard has it now: the event's own modifiers on a
        // real host, whatever the test set on a headless one.
        const bool alt = Host() && Host()->GetServices().keys.Alt();
        Invoke(alt ? kRightDownAlt : kRightDown);
        break;
    }
    case MouseKind::Move:
        HoverStep(event.point);
        CursorFollowStep(event.point);
        break;
    default:
        break;
    }
}

void CMouseView::HoverStep(Point client)
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

void CMouseView::CursorFollowStep(Point client)
{
    const int mode = GetViewMode();
    if (!m_cursorFollow || !(mode == 0 || mode == 3 || mode == 4))
        return;
    int stackIndex = -1;
    const HexPos hex = HitTest(client.x, client.y, stackIndex);
    if (hex == m_followHex) {
        if (stackIndex == m_followStackIndex)
            return;
        m_followStackIndex = stackIndex;
        RepaintHexRect(hex.column, hex.row);
        Invoke(kCursorFollowChange);
        return;
    }
    const HexPos old = m_followHex;
    const int oldIndex = m_followStackIndex;
    m_followHex = hex;
    m_followStackIndex = stackIndex;
    const HexMap* map = GetMap();
    if (old.column != -1 && old.row != -1 && oldIndex != -1 && map) {
        const HexPos m = RotateHex(old);
        if (map->IsOnMap(m.column, m.row))
            RepaintHexRect(old.column, old.row);
    }
    if (stackIndex != -1)
        RepaintHexRect(hex.column, hex.row);
    Invoke(kCursorFollowChange);
}

Point CMouseView::PointerInClient() const
{
    if (!Host())
        return {};
    const Point screen = Host()->GetServices().screen.PointerOnScreen();
    const Point origin = Host()->ClientToScreen({ 0, 0 });
    return { screen.x - origin.x, screen.y - origin.y };
}

void CMouseView::SetHoverTracking(bool on)
{
    if (!on) {
        m_hoverTracking = false;
        return;
    }
    if (m_hoverTracking)
        return;
    m_hoverTracking = true;
    m_lastHit = { -1, -1 };
    HoverStep(PointerInClient());
}

void CMouseView::ToggleCursorFollow()
{
    m_cursorFollow = !m_cursorFollow;
    if (m_cursorFollow)
        CursorFollowStep(PointerInClient());
}

void CMouseView::ClearCursorFollow()
{
    m_cursorFollow = false;
    m_followHex = { -1, -1 };
    m_followStackIndex = -1;
}

// ---- scrolling and repainting ----

void CMouseView::SetViewModeKeepingHotSpot(int mode)
{
    if (Host())
        Host()->Update();
    const HexPos hot = GetHotSpot();
    CTerrainView::SetViewMode(mode, hot.column, hot.row);
    UpdateScrollRanges();
    PresentClient();
}

HexPos CMouseView::CentreOnPoint(Point mapPoint)
{
    const HexPos hex = CJumpMapView::CentreOnPoint(mapPoint);
    SetHotSpot(hex.column, hex.row);
    return RotateHex(hex);
}

void CMouseView::ScrollHexIntoView(int mapColumn, int mapRow, bool centre)
{
    const HexPos v = RotateHex(mapColumn, mapRow);
    ScrollViewHexIntoView(v.column, v.row, centre);
}

void CMouseView::ScrollViewHexIntoView(int column, int row, bool centre)
{
    int columns = 0;
    int rows = 0;
    GetVisibleHexes(columns, rows);
    HexPos target;
    if (centre) {
        target = GetCentredScrollPos(column, row);
    } else {
        const int h = GetHPos();
        const int v = GetVPos();
        target = { h, v };
        if (column < h + columns / 4)
            target.column = column - columns / 4;
        else if (column > h + 3 * columns / 4)
            target.column = column - 3 * columns / 4;
        if (row < v + rows / 4)
            target.row = row - rows / 4;
        else if (row > v + 3 * rows / 4)
            target.row = row - 3 * rows / 4;
        target.column = std::clamp(target.column, 0, GetHMax());
        target.row = std::clamp(target.row, 0, GetVMax());
    }
    if (!m_smoothScroll) {
        ScrollTo(target.column, target.row);
        return;
    }
    while (GetHPos() != target.column) {
        const int before = GetHPos();
        ScrollTo(before + (target.column > before ? 1 : -1), GetVPos());
        if (GetHPos() == before)
            break; // nothing moved it: never spin
    }
    while (GetVPos() != target.row) {
        const int before = GetVPos();
        ScrollTo(GetHPos(), before + (target.row > before ? 1 : -1));
        if (GetVPos() == before)
            break;
    }
}

bool CMouseView::IsHexInCentralView(int mapColumn, int mapRow, bool exactCentre) const
{
    const HexPos v = RotateHex(mapColumn, mapRow);
    int columns = 0;
    int rows = 0;
    GetVisibleHexes(columns, rows);
    const int h = GetHPos();
    const int p = GetVPos();
    if (exactCentre)
        return v.column == h + columns / 2 && v.row == p + rows / 2;
    return h + columns / 4 <= v.column && v.column <= h + 3 * columns / 4 && p + rows / 4 <= v.row
        && v.row <= p + 3 * rows / 4;
}

void CMouseView::RepaintHexList(const HexList& hexes)
{
    const HexMap* map = GetMap();
    if (!map)
        return;
    for (const HexListNode* node = hexes.Head(); node; node = node->next)
        if (map->IsOnMap(node->value.column, node->value.row))
            RepaintHex(node->value.column, node->value.row);
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

// ---- the map under another window ----

Rect CMouseView::ClientOnScreen() const
{
    if (!Host())
        return {};
    return Rect::FromPointSize(Host()->ClientToScreen({ 0, 0 }), Host()->ClientSize());
}

void CMouseView::DrawMapUnderWindow(CDirectDrawWnd& other)
{
    if (!other.Host())
        return;
    const Rect otherOnScreen = Rect::FromPointSize(other.Host()->ClientToScreen({ 0, 0 }), other.Host()->ClientSize());
    const Rect mine = ClientOnScreen();
    const Rect overlap = otherOnScreen.Intersect(mine);
    if (overlap.IsEmpty())
        return;
    // The back buffer holds the client as shown: client pixel (x, y) is its
    // pixel (x, y). The other window takes picture coordinates.
    const Rect from = overlap.Offset(-mine.left, -mine.top);
    const Rect to = overlap.Offset(-otherOnScreen.left, -otherOnScreen.top).Offset(other.ScrollOrigin());
    other.BlitFromSurface(to, BackBuffer(), from, false);
}

void CMouseView::DrawMapUnderDialog(platform::gfx::Canvas& canvas, const Rect& dialogClientOnScreen)
{
    canvas.FillRect(Rect::FromSize(dialogClientOnScreen.GetSize()), kUnderDialogGrey);
    canvas.SetBackColour(kWhite);
    const Rect mine = ClientOnScreen();
    const Rect overlap = dialogClientOnScreen.Intersect(mine);
    if (overlap.IsEmpty())
        return;
    const Rect from = overlap.Offset(-mine.left, -mine.top);
    canvas.DrawSurface(
        { overlap.left - dialogClientOnScreen.left, overlap.top - dialogClientOnScreen.top }, BackBuffer(), from);
}
