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
    void DrawMarkers();

private:
    CGame* m_game;
};
