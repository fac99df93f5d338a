#pragma once
// The animation layer: unit sprites of the 3D views and the burning and
// smoke animation, which come with the 3D views. In the 2D views it draws
// the counters of the display layer.

#include "mapview/DisplayView.h"

class CAnimationView : public CDisplayView {
public:
    explicit CAnimationView(CGame* game)
        : CDisplayView(game)
    {
    }
    ~CAnimationView() override = default;

    // The visible hexes are seen from the hot spot: moving it changes the
    // shading of the whole map.
    void SetHotSpot(int column, int row) override
    {
        CDisplayView::SetHotSpot(column, row);
        if (AreVisibleHexesShown())
            Redraw();
    }

    // 2D: the display layer's counters. 3D: the hexes in the terrain's
    // order (rows top to bottom, odd columns before even ones, so a lower
    // hex in front comes after the ones behind it), each followed by its
    // hex overlay; the unit sprites come with the 3D views.
    void DrawUnits(int firstColumn, int firstRow, int columns, int rows) override
    {
        if (Is2D()) {
            CDisplayView::DrawUnits(firstColumn, firstRow, columns, rows);
            return;
        }
        for (int r = firstRow; r < firstRow + rows; ++r)
            for (int parity : { 1, 0 })
                for (int c = firstColumn; c < firstColumn + columns; ++c)
                    if ((c & 1) == parity)
                        DrawHexOverlay(c, r);
    }
};
