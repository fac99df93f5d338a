#include "mapview/MapView.h"

#include <algorithm>

#include "ai/Game.h"

using platform::Point;
using platform::Rect;

CMapView::CMapView(CGame* game)
    : CEffectsView(game)
    , m_game(game)
{
}

void CMapView::PaintRect(const Rect& mapRect)
{
    CEffectsView::PaintRect(mapRect);
    DrawMarkers();
    DrawMoveTrail();
}

void CMapView::DrawMarkers()
{
    if (!m_game)
        return;
    const bool flat = Is2D();
    // Unset hexes are tested before turning: a turned -1 is a real number.
    if (IsSet(m_game->m_blockingHex)) {
        const HexPos marked = RotateHex(m_game->m_blockingHex);
        DrawIconCell(GetIconSheet(), flat ? kCellMarked2D : kCellMarked3D, marked.column, marked.row);
    }
    const HexPos firer = m_game->m_traceFirerHex;
    const HexPos target = m_game->m_traceTargetHex;
    if (!IsSet(target))
        return;
    const HexPos to = RotateHex(target);
    if (flat)
        DrawIconCell(GetIconSheet(), kCellTraceTarget, to.column, to.row);
    if (!IsSet(firer))
        return;
    const HexPos from = RotateHex(firer);
    if (!ShouldDrawTraceLine(from, to))
        return;
    auto canvas = GetSurfaceCanvas();
    canvas.SetPen(m_traceLinePen);
    canvas.MoveTo(GetLaunchPoint(from.column, from.row));
    canvas.LineTo(GetImpactPoint(to.column, to.row));
}

bool CMapView::ShouldDrawTraceLine(HexPos firer, HexPos target) const
{
    if (!m_game || firer == target || !Is2D())
        return false;
    const HexPos m = RotateHex(firer);
    return m_game->m_map.IsOnMap(m.column, m.row) && m_game->GetEnemyContact(m.column, m.row) == 1;
}

void CMapView::DrawMoveTrail()
{
    if (!m_game || !Is2D())
        return;
    HexList hexes;
    m_game->CollectUndoHexes(hexes);
    for (const HexListNode* node = hexes.Head(); node; node = node->next)
        DrawEntryArrow(node->value);
}

void CMapView::DrawEntryArrow(HexPos mapHex)
{
    if (!m_game->m_entrySides.Contains(mapHex.column, mapHex.row))
        return;
    // Under hidden information a trail must not show where the enemy went.
    if (!m_game->IsHexVisibleToMover(mapHex.column, mapHex.row))
        return;
    const HexSide side = Geometry().RotateHexSide(m_game->m_entrySides.At(mapHex.column, mapHex.row));
    if (!side.IsSingleSide())
        return;
    const HexPos view = RotateHex(mapHex);
    DrawIconCell(GetIconSheet(), kCellFirstArrow + HexSideIndex(side), view.column, view.row);
}

void CMapView::RefreshMarkers()
{
    DrawMarkers();
    if (m_game && (IsSet(m_game->m_blockingHex) || IsSet(m_game->m_traceFirerHex) || IsSet(m_game->m_traceTargetHex)))
        PresentClient();
}

void CMapView::RepaintSpan(int column1, int row1, int column2, int row2)
{
    if (column1 == -1 || row1 == -1 || column2 == -1 || row2 == -1)
        return;
    const HexPos a = RotateHex(column1, row1);
    const HexPos b = RotateHex(column2, row2);
    if (!ShouldDrawTraceLine(a, b))
        return;
    const Point from = GetLaunchPoint(a.column, a.row);
    const Point to = GetImpactPoint(b.column, b.row);
    const Rect span { std::min(from.x, to.x) - 2, std::min(from.y, to.y) - 2, std::max(from.x, to.x) + 2,
        std::max(from.y, to.y) + 2 };
    PaintMapRect(span);
    PresentClient();
}
