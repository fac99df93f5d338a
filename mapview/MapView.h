#pragma once
// The map view: the top of the chain of ten layers the frame creates once
// with the game object. It draws the marked-hex marker and the fire-trace
// target over what the layers below painted.

#include "mapview/EffectsView.h"

class CMapView : public CEffectsView {
public:
    explicit CMapView(CGame* game);
    ~CMapView() override = default;

    void PaintRect(const platform::Rect& mapRect) override;
    // The markers over the back buffer: the game's marked hex (cell 10 in
    // the 2D views, 21 in the others).
    void DrawMarkers();
    // DrawMarkers, then presents the client when a marker is set.
    void RefreshMarkers();

private:
    static bool IsSet(HexPos hex) { return hex.column != -1 && hex.row != -1; }

    CGame* m_game;
};
