#include "mapview/MapView.h"

#include "ai/Game.h"

CMapView::CMapView(CGame* game)
    : CEffectsView(game)
    , m_game(game)
{
}

void CMapView::PaintRect(const platform::Rect& mapRect)
{
    CEffectsView::PaintRect(mapRect);
    DrawMarkers();
    // The move trail and the fire-trace line come with the order layers.
}

void CMapView::DrawMarkers()
{
    if (!m_game)
        return;
    const int mode = GetViewMode();
    const bool flat = mode == 1 || mode == 2;
    // Unset hexes are tested before turning: a turned -1 is a real number.
    if (IsSet(m_game->m_markedHex)) {
        const HexPos marked = RotateHex(m_game->m_markedHex);
        DrawIconCell(GetIconSheet(), flat ? 10 : 21, marked.column, marked.row);
    }
    // The fire-trace target and line come with direct fire's trace.
}

void CMapView::RefreshMarkers()
{
    DrawMarkers();
    if (m_game && IsSet(m_game->m_markedHex))
        PresentClient();
}
