#pragma once
// A percentage bar: a background box with the current pen's border, and a
// bar inside it, inset by one pixel, growing from the left (horizontal) or
// from the bottom (vertical).

#include "platform/core/Point.h"
#include "platform/core/Size.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Surface.h"

class BarGauge {
public:
    // A red bar on white, horizontal.
    explicit BarGauge(platform::Size size);

    // The bar's fill and border colour.
    void SetColour(platform::gfx::Pixel colour);
    void SetHorizontal(bool horizontal) { m_horizontal = horizontal; }
    platform::Size GetSize() const { return m_size; }

    // Percentages outside 0..100 count as the nearer end, so the bar never
    // leaves its box. The canvas's pen and brush are as before afterwards.
    void Draw(platform::gfx::Canvas& dc, platform::Point topLeft, int percent) const;

private:
    platform::Size m_size;
    platform::gfx::Pixel m_barColour;
    platform::gfx::Pixel m_background;
    int m_insetX = 1;
    int m_insetY = 1;
    bool m_horizontal = true;
};
