#include "mapview/graphics/BarGauge.h"

#include <algorithm>

using namespace platform;
using namespace platform::gfx;

BarGauge::BarGauge(Size size)
    : m_size(size)
    , m_barColour(Rgb(255, 0, 0))
    , m_background(Rgb(255, 255, 255))
{
}

void BarGauge::SetColour(Pixel colour) { m_barColour = colour; }

void BarGauge::Draw(Canvas& dc, Point p, int percent) const
{
    percent = std::clamp(percent, 0, 100);
    const int innerWidth = m_size.width - 2 * m_insetX;
    const int innerHeight = m_size.height - 2 * m_insetY;
    const Pen oldPen = dc.GetPen();
    const Brush oldBrush = dc.GetBrush();
    dc.SetBrush({ m_background });
    dc.Rectangle(Rect::FromPointSize(p, m_size));
    dc.SetBrush({ m_barColour });
    dc.SetPen({ m_barColour, 1 });
    const int left = p.x + m_insetX, top = p.y + m_insetY;
    if (m_horizontal) {
        const int length = innerWidth * percent / 100;
        dc.Rectangle({ left, top, left + length, top + innerHeight });
    } else {
        const int length = innerHeight * percent / 100;
        dc.Rectangle({ left, top + innerHeight - length, left + innerWidth, top + innerHeight });
    }
    dc.SetPen(oldPen);
    dc.SetBrush(oldBrush);
}
