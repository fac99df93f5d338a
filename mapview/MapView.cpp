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
    // The marked hex and the fire trace are fields the frame sets; the
    // markers are drawn here once the game object carries them.
}
