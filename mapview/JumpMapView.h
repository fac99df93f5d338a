#pragma once
// The layer that keeps the jump map's miniature picture of the whole map.
// The miniature comes with the jump-map window; this layer holds its place
// in the chain and its two operations.

#include "mapview/TerrainView.h"

class CJumpMapView : public CTerrainView {
public:
    explicit CJumpMapView(const HexMap* map)
        : CTerrainView(map)
    {
    }
    ~CJumpMapView() override = default;

    void FreeJumpMapCache() override { }
    virtual void DrawMiniature(platform::gfx::Canvas& /*canvas*/, int /*width*/, int /*height*/) { }
};
