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

    void DrawUnits(int firstColumn, int firstRow, int columns, int rows) override
    {
        // The 3D sprites come with the 3D views; 2D counters otherwise.
        if (Is2D())
            CDisplayView::DrawUnits(firstColumn, firstRow, columns, rows);
    }
};
