// What the terrain layer draws over the terrain rather than as it: the map
// labels and the compass, hex outlines and contours, the clip regions that
// keep a hex from showing through a higher one in front, the hex shading,
// the mark sprites and cells, and the jump map's miniature samples.

#include <algorithm>
#include <iterator>
#include <span>
#include <string>

#include "mapview/TerrainView.h"
#include "model/HexMap.h"

using platform::Point;
using platform::Rect;
using platform::gfx::Canvas;
using platform::gfx::Pixel;
using platform::gfx::Region;

namespace {

constexpr Pixel kBlack = 0x000000;
constexpr Pixel kWhite = 0xFFFFFF;
constexpr Pixel kOutlineGrey = 0x636363; // (99, 99, 99)
constexpr Pixel kContourBrown = 0x734A00; // (115, 74, 0)
constexpr Pixel kLabelColours[3] = { 0x000000, 0x0000FF, 0x006600 };
constexpr int kCompassIcon = 206;
constexpr const char* kCompassLabels[8] = { "N", "NE", "E", "SE", "S", "SW", "W", "NW" };

// The waterway pieces' anchors in the 3D hex picture.
constexpr Point kWaterwayAnchors[26] = { { 100, 0 }, { 252, 0 }, { 252, 9 }, { 99, 46 }, { 266, 49 }, { 337, 45 },
    { 100, 92 }, { 253, 160 }, { 337, 92 }, { 132, 138 }, { 218, 137 }, { 240, 158 }, { 132, 249 }, { 160, 184 },
    { 264, 186 }, { 162, 251 }, { 143, 231 }, { 263, 230 }, { 36, 276 }, { 143, 273 }, { 281, 338 }, { 53, 322 },
    { 142, 322 }, { 263, 322 }, { 162, 390 }, { 162, 430 } };

std::span<const Point> Points(const Point* points, int count)
{
    return { points, static_cast<std::size_t>(std::max(count, 0)) };
}

} // namespace

// ---- labels and the compass ----

const platform::gfx::Font& CTerrainView::GetFont(int index) const
{
    return *m_fonts[static_cast<std::size_t>(std::clamp(index, 0, kLabelFontCount - 1))];
}

int CTerrainView::GetLabelFontIndex(int size) const
{
    const int mode = GetViewMode();
    const int index = mode == 2 || mode == 4 ? size : size + 1;
    // Size 3 outside modes 2 and 4 would pass the last font: it takes the largest.
    return std::clamp(index, 0, kLabelFontCount - 1);
}

const platform::gfx::Font& CTerrainView::GetViewLabelFont() const
{
    switch (GetViewMode()) {
    case 0:
        return GetFont(3);
    case 3:
        return GetFont(2);
    case 2:
        return GetFont(0);
    default:
        return GetFont(1);
    }
}

void CTerrainView::DrawLabelStep()
{
    auto canvas = GetSurfaceCanvas();
    canvas.SetPen({ kBlack, 1 });
    canvas.SetBrush({ kWhite });
    DrawLabels(canvas);
}

void CTerrainView::DrawLabels(Canvas& canvas)
{
    const HexMap* map = GetMap();
    if (!map)
        return;
    const HexPos compass = RotateHex(map->GetCompassHex());
    DrawCompass(canvas, compass.column, compass.row);
    for (const MapLabelNode* node = map->GetLabels().Head(); node; node = node->next)
        DrawMapLabel(canvas, node->value);
}

void CTerrainView::DrawMapLabel(Canvas& canvas, const MapLabel& label)
{
    const auto& g = Geometry();
    double fx = label.x;
    double fy = label.y;
    g.RotateLabelPos(fx, fy);
    const Point anchor { g.GetLabelX(fx), g.GetLabelY(fx, fy) };
    const int alignment = g.RotateAlignment(label.alignment);

    canvas.Save();
    canvas.SetFont(&GetFont(GetLabelFontIndex(label.size)));
    canvas.SetTextColour(label.colour >= 0 && label.colour <= 2 ? kLabelColours[label.colour] : kBlack);
    std::string text = label.text.str();
    platform::gfx::HAlign h = platform::gfx::HAlign::Centre;
    if (alignment == 0) {
        h = platform::gfx::HAlign::Left;
        text = "+ " + text;
    } else if (alignment == 2) {
        h = platform::gfx::HAlign::Right;
        text += " +";
    }
    canvas.SetTextAlign(h, platform::gfx::VAlign::Baseline);
    const platform::Size extent = canvas.TextExtent(text);
    int left = anchor.x - 5;
    if (alignment == 1)
        left -= extent.width / 2;
    else if (alignment == 2)
        left -= extent.width;
    const int top = anchor.y - extent.height;
    const Rect box { left, top, left + extent.width + 10, top + extent.height + extent.height / 2 };
    // A label wholly off the surface (glyphs may overhang its box a little)
    // draws nothing: skip it.
    const Rect onSurface = box.Offset(canvas.Origin());
    const Rect widened { onSurface.left - extent.height, onSurface.top - extent.height, onSurface.right + extent.height,
        onSurface.bottom + extent.height };
    if (widened.Intersect(Rect::FromSize(canvas.Target().GetSize())).IsEmpty()) {
        canvas.Restore();
        return;
    }
    canvas.SetTransparentText(true);
    canvas.SetBackColour(kWhite);
    canvas.Rectangle(box);
    canvas.TextOut(anchor, text);
    canvas.Restore();
}

bool CTerrainView::IsViewHexOnMap(int column, int row) const
{
    return column >= 0 && row >= 0 && column < Geometry().GetMapWidth() && row < Geometry().GetMapHeight()
        && GetMap() != nullptr;
}

bool CTerrainView::GetViewNeighbour(int column, int row, HexSide viewSide, HexPos& viewHex) const
{
    // A turned map is turned whole, so the view's grid is the map's.
    return NeighbourHex(viewSide, column, row, viewHex, Geometry().GetMapWidth(), Geometry().GetMapHeight());
}

void CTerrainView::DrawCompass(Canvas& canvas, int column, int row)
{
    if (GetViewMode() != kViewMode2DNormal || !IsViewHexOnMap(column, row))
        return;
    const auto& g = Geometry();
    const Point centre = g.GetHexCentre(column, row);
    const BitmapSurface* icons = m_sets[kIcons2D].At(0);
    if (icons && icons->IsLoaded()) {
        const int size = GetUnitCellSize();
        canvas.DrawSurface({ centre.x - size / 2, centre.y - size / 2 }, icons->Surface(),
            Rect::FromPointSize(GetUnitCellOrigin(kCompassIcon), { size, size }), icons->IsKeyed());
    }
    canvas.Save();
    canvas.SetFont(&GetViewLabelFont());
    canvas.SetTextAlign(platform::gfx::HAlign::Centre, platform::gfx::VAlign::Baseline);
    canvas.SetTransparentText(true);
    // On a turned map every direction is the opposite one.
    int k = ((GetMap()->GetCompassDirection() % 8) + 8 + (IsRotated() ? 4 : 0)) % 8;
    for (HexSide side : { HexSide::North, HexSide::NorthEast, HexSide::SouthEast, HexSide::South, HexSide::SouthWest,
             HexSide::NorthWest }) {
        HexPos n;
        if (GetViewNeighbour(column, row, side, n)) {
            const char* text = kCompassLabels[k];
            const platform::Size extent = canvas.TextExtent(text);
            const Point c = g.GetHexCentre(n.column, n.row);
            const int left = c.x - extent.width / 2 - 2;
            const int top = c.y - extent.height / 2;
            canvas.Rectangle(Rect { left, top, left + extent.width + 4, top + extent.height + extent.height / 4 });
            canvas.TextOut({ c.x, c.y + extent.height / 2 }, text);
        }
        k = (k + (side == HexSide::NorthEast || side == HexSide::SouthWest ? 2 : 1)) % 8;
    }
    canvas.Restore();
}

// ---- outlines and contours ----

void CTerrainView::DrawOutlinesAndContours(const Rect& mapRect)
{
    if (!m_hexOutlines && !m_contours)
        return;
    auto canvas = GetSurfaceCanvas();
    if (m_contours)
        canvas.SetPen({ kContourBrown, 2 });
    else
        canvas.SetPen({ Is3D() ? kBlack : kOutlineGrey, 1 });
    const auto range = Geometry().RectToHexRange(mapRect.left, mapRect.top, mapRect.Width(), mapRect.Height());
    for (int c = range.firstColumn; c < range.firstColumn + range.columns; ++c)
        for (int r = range.firstRow; r < range.firstRow + range.rows; ++r)
            DrawHexOutline(canvas, c, r);
}

void CTerrainView::DrawHexOutline(Canvas& canvas, int column, int row)
{
    std::array<Point, 9> points {};
    std::array<bool, 9> flags {};
    const int count = Geometry().GetContourOutline(points, flags, column, row);
    if (m_contours) {
        for (int i = 0; i + 1 < count; ++i)
            if (flags[static_cast<std::size_t>(i)])
                canvas.Polyline(Points(&points[static_cast<std::size_t>(i)], 2));
    } else {
        canvas.Polyline(Points(points.data(), count));
    }
    Point edge[2];
    bool lowerBelow = false;
    if (Geometry().GetBottomEdge(edge[0], edge[1], lowerBelow, column, row) && (!m_contours || lowerBelow))
        canvas.Polyline(Points(edge, 2));
}

// ---- clipping ----

void CTerrainView::SubtractHexSkirt(Region& region, int column, int row) const
{
    const auto skirt = Geometry().GetHexSkirtPolygon(column, row);
    region.Diff(Region::FromPolygon(skirt));
}

void CTerrainView::SubtractRaisedFront(int column, int row, Region& region) const
{
    if (!Is3D())
        return;
    const int level = Geometry().GetViewElevation(column, row);
    for (HexSide side : { HexSide::SouthWest, HexSide::South, HexSide::SouthEast }) {
        HexPos n;
        if (GetViewNeighbour(column, row, side, n) && Geometry().GetViewElevation(n.column, n.row) > level)
            SubtractHexSkirt(region, n.column, n.row);
    }
}

Region CTerrainView::GetHexClipRegion(int column, int row) const
{
    std::array<Point, 7> points {};
    const int count = Geometry().GetHighlightPolygon(points, column, row);
    Region region = Region::FromPolygon(Points(points.data(), count));
    SubtractRaisedFront(column, row, region);
    return region;
}

Region CTerrainView::GetUnitPictureClipRegion(int column, int row) const
{
    const auto& g = Geometry();
    const Point c = g.GetHexCentre(column, row);
    const int left = c.x - g.GetColumnPitch() + g.GetTopEdgeHalf();
    const int top = c.y - g.GetHalfRow() - g.GetSkirtDepth();
    Region region = Region::FromRect({ left, top, left + g.GetHexPictureWidth(), top + g.GetHexPictureHeight() });
    SubtractRaisedFront(column, row, region);
    return region;
}

void CTerrainView::ClipToHex(int column, int row) { PushClipRegion(GetHexClipRegion(column, row), true); }

void CTerrainView::ClipToHexIntersect(int column, int row)
{
    PushClipRegionIntersect(GetHexClipRegion(column, row), true);
}

void CTerrainView::ClipToUnitPicture(int column, int row)
{
    PushClipRegion(GetUnitPictureClipRegion(column, row), true);
}

// ---- shading, cells and sprites ----

void CTerrainView::ShadeHex(int column, int row, bool plain)
{
    const Point c = Geometry().GetHexCentre(column, row);
    const bool night = !plain && IsNight();
    const int mode = GetViewMode();
    if (Is2D()) {
        const int x = mode == 1 ? (night ? 108 : 36) : (night ? 144 : 72);
        const int cx = mode == 2 && (row & 1) ? c.x - 1 : c.x;
        const int cy = mode == 1 && (column & 1) ? c.y - 1 : c.y;
        DrawCell(m_sets[kTerrain2D], cx, cy, 36, 30, x, 660);
        return;
    }
    int x = mode == 0 ? 200 : mode == 3 ? 400 : 600;
    int y = 868;
    if (night) {
        x = mode == 0 ? 800 : mode == 3 ? 1000 : 0;
        y = mode == 4 ? 1116 : 868;
    }
    DrawCell(m_sets[kSoil3D], c.x, (c.y & 1) ? c.y + 1 : c.y, 200, 86, x, y);
}

void CTerrainView::DrawTerrainCell2D(int column, int row, int a, int b)
{
    const Point c = Geometry().GetHexCentre(column, row);
    DrawCell(m_sets[kTerrain2D], c.x, c.y, 36, 30, a * 36, (b + 21) * 30);
}

void CTerrainView::DrawBridgeCell3D(int column, int row, int a, int b)
{
    const Point c = Geometry().GetHexCentre(column, row);
    ClipToHex(column, row);
    DrawCell(m_sets[kBridges], c.x, c.y, 200, 124, a * 200, (b + 2) * 124);
    PopClipRegion(true);
}

void CTerrainView::DrawSprite3D(int column, int row, int sourceX, int sourceY)
{
    const Point c = Geometry().GetHexCentre(column, row);
    DrawCell(m_sets[kTerrain3D], c.x, c.y - GetSpriteLift(), 200, 125, sourceX, sourceY);
}

bool CTerrainView::IsBuiltUp(int column, int row) const
{
    const int t = GetEffectiveTerrain(column, row);
    return t == kTerrainSuburb || t == kTerrainCity || t == kTerrainIndustrial || t == kTerrainBuilding;
}

void CTerrainView::DrawMarkSprite3D(int column, int row)
{
    DrawSprite3D(column, row, ((column + row) & 1) * 200, 1000);
}

void CTerrainView::DrawOverlayRowSprite3D(int column, int row, int a) { DrawSprite3D(column, row, a * 200, 1125); }

void CTerrainView::DrawFlag10Sprite3D(int column, int row)
{
    const int p = (column + row) & 1;
    DrawSprite3D(column, row, (p + (IsBuiltUp(column, row) ? 2 : 0)) * 200, 1250);
}

void CTerrainView::DrawFlag800Sprite3D(int column, int row)
{
    // The plain terrain, not the effective one: frozen shallows keep it.
    const HexMap* map = GetMap();
    const HexPos m = RotateHex(column, row);
    const bool shallow
        = map && map->IsOnMap(m.column, m.row) && map->GetHex(m.column, m.row).terrain == kTerrainShallowWater;
    DrawSprite3D(column, row, (shallow ? 5 : 4) * 200, 1250);
}

void CTerrainView::DrawFlag20Sprite3D(int column, int row)
{
    DrawSprite3D(column, row, (((column + row) & 1) + 2) * 200, 1000);
}

void CTerrainView::DrawFlag400Sprite3D(int column, int row)
{
    DrawSprite3D(column, row, (((column + row) & 1) + 4) * 200, 1000);
}

void CTerrainView::DrawFlag2000Sprite3D(int column, int row)
{
    DrawSprite3D(column, row, (((column + row) % 6 + 6) % 6) * 200, 1500);
}

void CTerrainView::DrawBlockSprites3D(int column, int row)
{
    const auto& g = Geometry();
    const Point c = g.GetHexCentre(column, row);
    const int w = g.GetHalfColumn();
    const int h = g.GetHalfRow();
    const int p = (column + row) & 1;
    const int q = 1 - p;
    const int s8 = ScaleToView(8);
    const int s32 = ScaleToView(32);
    const SheetSet& set = m_sets[kBlocked];
    if (!IsBuiltUp(column, row)) {
        DrawCell(set, c.x - w + s8, c.y - s32, 108, 64, 0, p * 64);
        DrawCell(set, c.x, c.y - h, 108, 64, 108, q * 64);
        DrawCell(set, c.x + w - s8, c.y - s32, 108, 64, 216, p * 64);
    }
    DrawCell(set, c.x + w - s8, c.y + s32 - 2 * s8, 108, 64, 0, q * 64);
    DrawCell(set, c.x - w + s8, c.y + s32 - 2 * s8, 108, 64, 216, q * 64);
    DrawCell(set, c.x, c.y + h - 2 * s8, 108, 64, 108, p * 64);
}

void CTerrainView::GetWaterwayPieceOffset(int& x, int& y, int piece) const
{
    if (piece < 0 || piece >= static_cast<int>(std::size(kWaterwayAnchors)))
        return;
    const Point a = kWaterwayAnchors[piece];
    x += ScaleToView(a.x - (piece % 3) * 120 - 60);
    y += ScaleToView(a.y - (piece / 3) * 46 - 23);
}

// ---- miniature samples ----

void CTerrainView::SampleMiniatureSoil(Canvas& canvas, int column, int row, const Rect& to)
{
    const int t = GetEffectiveTerrain(column, row);
    const int v = GetTileVariant(column, row, 6, false);
    const BitmapSurface* sheet = nullptr;
    Point from;
    if (t == kTerrainWater || t == kTerrainShallowWater || t == kTerrainImpassible) {
        sheet = m_sets[kTerrain2D].At(1);
        if (t == kTerrainImpassible)
            from = { 18 / 2, 675 / 2 };
        else
            from = { (v * 36 + 18) / 2, (t == kTerrainWater ? 345 : 705) / 2 };
    } else {
        sheet = m_sets[kSoil2D].At(1);
        const int e = Geometry().GetViewElevation(column, row);
        from = { (v * 38 + 19) / 2, (e * 32 + 16) / 2 };
    }
    if (sheet && sheet->IsLoaded())
        canvas.DrawSurface(to.TopLeft(), sheet->Surface(), Rect::FromPointSize(from, to.GetSize()));
}

void CTerrainView::SampleMiniatureTerrain(Canvas& canvas, int column, int row, const Rect& to)
{
    int sheetRow = -1;
    switch (GetEffectiveTerrain(column, row)) {
    case kTerrainForest:
        sheetRow = 0;
        break;
    case kTerrainIndustrial:
        sheetRow = 7;
        break;
    case kTerrainCity:
        sheetRow = 8;
        break;
    case kTerrainSuburb:
        sheetRow = 9;
        break;
    case kTerrainVillage:
        sheetRow = 10;
        break;
    default:
        return;
    }
    const BitmapSurface* sheet = m_sets[kTerrain2D].At(1);
    if (!sheet || !sheet->IsLoaded())
        return;
    const int v = GetTileVariant(column, row, 6, false);
    const Point from { (v * 36 + 18) / 2, (sheetRow * 30 + 15) / 2 };
    canvas.DrawSurface(to.TopLeft(), sheet->Surface(), Rect::FromPointSize(from, to.GetSize()), sheet->IsKeyed());
}
