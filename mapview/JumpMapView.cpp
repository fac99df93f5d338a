#include "mapview/JumpMapView.h"

#include <utility>

#include "model/HexMap.h"

using platform::Point;
using platform::Rect;
using platform::gfx::Canvas;
using platform::gfx::Pixel;

namespace {

constexpr Pixel kBlack = 0x000000;
constexpr Pixel kRiverBlue = 0x0000FF;
constexpr Pixel kFrameColour = 0xFF3300; // (255, 51, 0)
constexpr Pixel kHotSpotRed = 0xFF0000;

// The road-like features, drawn in this order.
struct FeatureLine {
    int layer;
    Pixel colour;
};
constexpr FeatureLine kFeatureLines[] = {
    { kLayerPath, 0x808080 },
    { kLayerUnpaved, 0xCE945A }, // (206, 148, 90)
    { kLayerRail, 0xC0C0C0 },
    { kLayerRoad, kBlack },
};

int Scale(int value, int numerator, int denominator)
{
    return denominator <= 0 ? 0 : static_cast<int>(static_cast<long long>(value) * numerator / denominator);
}

} // namespace

CJumpMapView::CJumpMapView(const HexMap* map)
    : CTerrainView(map)
{
}

CJumpMapView::~CJumpMapView() = default;

void CJumpMapView::DrawJumpMap(Canvas& canvas, int width, int height)
{
    DrawMiniature(canvas, width, height);
    DrawVisibleFrame(canvas, width, height);
    DrawHotSpotMark(canvas, width, height);
}

void CJumpMapView::DrawMiniature(Canvas& canvas, int width, int height)
{
    if (!m_jumpMap || m_jumpMap->Width() != width || m_jumpMap->Height() != height)
        BuildMiniature(width, height);
    canvas.DrawSurface({ 0, 0 }, *m_jumpMap, m_jumpMap->Bounds());
}

void CJumpMapView::BuildMiniature(int width, int height)
{
    ++m_miniatureBuilds;
    m_jumpMap = std::make_unique<platform::gfx::Surface>(width, height, kBlack);
    Canvas canvas(*m_jumpMap);
    const int mapWidth = Geometry().GetMapWidth();
    const int mapHeight = Geometry().GetMapHeight();
    for (int x = 0; x < width; x += kCellSize) {
        const int dy = (x / kCellSize) % 2 == 0 ? kLoweredBy : 0;
        for (int y = 0; y < height; y += kCellSize) {
            const int column = Scale(x, mapWidth, width);
            const int row = Scale(y, mapHeight, height);
            const Rect cell { x, y + dy, x + kCellSize, y + dy + kCellSize };
            SampleMiniatureSoil(canvas, column, row, cell);
            SampleMiniatureTerrain(canvas, column, row, cell);
        }
    }
    if (!GetMap())
        return;
    for (const FeatureLine& line : kFeatureLines) {
        canvas.SetPen({ line.colour, 1 });
        DrawFeatureLines(canvas, line.layer, width, height);
    }
    canvas.SetPen({ kRiverBlue, 1 });
    DrawRiverStrokes(canvas, width, height);
}

Point CJumpMapView::MiniaturePoint(HexPos viewHex, int width, int height) const
{
    return { Scale(viewHex.column, width, Geometry().GetMapWidth()),
        Scale(viewHex.row, height, Geometry().GetMapHeight()) };
}

template <class Draw> void CJumpMapView::ForEachFeatureSide(int layer, bool allSides, Draw draw) const
{
    const HexMap& map = *GetMap();
    for (int c = 0; c < map.GetWidth(); ++c)
        for (int r = 0; r < map.GetHeight(); ++r) {
            const HexPos m = RotateHex(c, r);
            const HexSideSet sides = map.GetFeatureLayer(m.column, m.row, layer);
            if (sides.IsEmpty())
                continue;
            for (HexSide viewSide(1); viewSide.IsValid(); viewSide.Next()) {
                const bool lineSide
                    = viewSide == HexSide::North || viewSide == HexSide::NorthEast || viewSide == HexSide::SouthEast;
                const HexSide side = Geometry().RotateHexSide(viewSide);
                HexPos n;
                if ((allSides || lineSide) && sides.Contains(side) && map.GetNeighbour(side, m.column, m.row, n))
                    draw(HexPos { c, r }, RotateHex(n));
            }
        }
}

void CJumpMapView::DrawFeatureLines(Canvas& canvas, int layer, int width, int height)
{
    // Across N, NE and SE only: the other three are the neighbours'.
    ForEachFeatureSide(layer, false, [&](HexPos a, HexPos b) {
        canvas.MoveTo(MiniaturePoint(a, width, height));
        canvas.LineTo(MiniaturePoint(b, width, height));
    });
}

void CJumpMapView::DrawRiverStrokes(Canvas& canvas, int width, int height)
{
    // Across the line joining the two hexes' points, through its middle, a
    // third of their distance to each side: the river runs between them.
    ForEachFeatureSide(kLayerRiver, true, [&](HexPos a, HexPos b) {
        // Each side from its first hex in column-then-row order, so that
        // both hexes' records draw the same pixels.
        if (b.column < a.column || (b.column == a.column && b.row < a.row))
            std::swap(a, b);
        const Point pa = MiniaturePoint(a, width, height);
        const Point pb = MiniaturePoint(b, width, height);
        const Point mid { (pa.x + pb.x) / 2, (pa.y + pb.y) / 2 };
        const int ax = -(pb.y - pa.y) / 3;
        const int ay = (pb.x - pa.x) / 3;
        canvas.MoveTo({ mid.x - ax, mid.y - ay });
        canvas.LineTo({ mid.x + ax, mid.y + ay });
    });
}

Point CJumpMapView::ScaleToMiniature(Point picture, int width, int height) const
{
    return { Scale(picture.x, width, Geometry().GetMapPixelWidth()),
        Scale(picture.y, height, Geometry().GetMapPixelHeight()) };
}

void CJumpMapView::DrawVisibleFrame(Canvas& canvas, int width, int height)
{
    const Rect visible = GetVisibleMapRect();
    const Point topLeft = ScaleToMiniature(visible.TopLeft(), width, height);
    const Point bottomRight = ScaleToMiniature({ visible.right, visible.bottom }, width, height);
    canvas.Save();
    canvas.SetPen({ kFrameColour, 3 });
    canvas.SetBrush(platform::gfx::Brush::None());
    canvas.Rectangle({ topLeft.x, topLeft.y, bottomRight.x, bottomRight.y });
    canvas.Restore();
}

void CJumpMapView::DrawHotSpotMark(Canvas& canvas, int width, int height)
{
    const HexPos hot = GetHotSpot();
    const Point p = ScaleToMiniature(Geometry().GetHexCentre(hot.column, hot.row), width, height);
    canvas.Save();
    canvas.SetPen({ kHotSpotRed, 2 });
    canvas.SetBrush(platform::gfx::Brush::None());
    canvas.Rectangle({ p.x - 3, p.y - 3, p.x + 3, p.y + 3 });
    canvas.Restore();
}

void CJumpMapView::FreeJumpMapCache() { m_jumpMap.reset(); }
