#pragma once
// The layer that keeps the jump map's miniature of the whole map. Building
// it walks every hex, so the picture is cached and rebuilt only for a new
// size or after the map's picture changed (FreeJumpMapCache); each paint
// then copies it and draws the visible part's frame and the hot spot's mark.

#include <memory>

#include "mapview/TerrainView.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Surface.h"

class CJumpMapView : public CTerrainView {
public:
    // The miniature's grid: 4 by 4 cells, every other column 2 lower.
    static constexpr int kCellSize = 4;
    static constexpr int kLoweredBy = 2;

    explicit CJumpMapView(const HexMap* map);
    ~CJumpMapView() override;

    // The jump map dialog's paint, over (0, 0)..(width, height) of the canvas.
    void DrawJumpMap(platform::gfx::Canvas& canvas, int width, int height);
    // The cached miniature, built first when there is none of this size.
    virtual void DrawMiniature(platform::gfx::Canvas& canvas, int width, int height);
    // Replaces the cache with a fresh miniature of the size.
    void BuildMiniature(int width, int height);
    // The client's part of the map picture, scaled to the miniature.
    void DrawVisibleFrame(platform::gfx::Canvas& canvas, int width, int height);
    void DrawHotSpotMark(platform::gfx::Canvas& canvas, int width, int height);
    void FreeJumpMapCache() override;

    // Null when there is no cache.
    const platform::gfx::Surface* GetJumpMapCache() const { return m_jumpMap.get(); }
    // How many miniatures were built.
    int GetMiniatureBuilds() const { return m_miniatureBuilds; }

private:
    // Each view hex's sides (all six, or N, NE and SE) that carry the
    // feature and have a neighbour: draw(view hex, neighbour's view hex).
    template <class Draw> void ForEachFeatureSide(int layer, bool allSides, Draw draw) const;
    void DrawFeatureLines(platform::gfx::Canvas& canvas, int layer, int width, int height);
    void DrawRiverStrokes(platform::gfx::Canvas& canvas, int width, int height);
    // A view hex's point in a miniature of that size.
    platform::Point MiniaturePoint(HexPos viewHex, int width, int height) const;
    // A picture point scaled to a miniature of that size.
    platform::Point ScaleToMiniature(platform::Point picture, int width, int height) const;

    std::unique_ptr<platform::gfx::Surface> m_jumpMap;
    int m_miniatureBuilds = 0;
};
