#include "mapview/HexGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr ViewModeMetrics kModes[5] = {
    { "&3D Normal View", 150, 75, 50, 86, 43, 12, 10, 8 },
    { "&2D Normal View", 26, 13, 8, 30, 15, 0, 0, 0 },
    { "&2D Zoom-Out View", 13, 7, 4, 15, 8, 0, 0, 0 },
    { "&3D Zoom-Out View", 74, 37, 25, 43, 21, 6, 2, 2 },
    { "&3D Extreme Zoom-Out View", 37, 18, 12, 21, 10, 3, 1, 1 },
};

void Shift(platform::Point& p, int dx, int dy)
{
    p.x += dx;
    p.y += dy;
}

} // namespace

const ViewModeMetrics& MetricsOfViewMode(int mode) { return kModes[mode >= 0 && mode < 5 ? mode : kViewMode2DNormal]; }

int HexGeometry::GetTopMargin() const { return GetHalfRow() + (Is3D() ? GetRowPitch() : 0); }

int HexGeometry::GetViewElevation(int column, int row) const
{
    if (!m_map)
        return 0;
    const HexPos m = RotateHex(column, row);
    return m_map->IsOnMap(m.column, m.row) ? m_map->GetElevationLevel(m.column, m.row) : 0;
}

int HexGeometry::GetHexCentreX(int column, int) const { return GetColumnPitch() * (column + 1); }

int HexGeometry::GetHexCentreY(int column, int row) const
{
    return GetRowPitch() * row + ((column & 1) ? GetHalfRow() : GetRowPitch()) + GetTopMargin()
        - GetLiftPerLevel() * GetViewElevation(column, row);
}

int HexGeometry::GetLabelX(double fx) const
{
    return GetHalfColumn() + static_cast<int>(std::trunc(GetColumnPitch() * fx));
}

int HexGeometry::GetLabelY(double fx, double fy) const
{
    const int column = static_cast<int>(std::trunc(fx));
    const int row = static_cast<int>(std::trunc(fy));
    return static_cast<int>(std::trunc(GetRowPitch() * fy)) + ((column & 1) ? 0 : GetHalfRow()) + GetTopMargin()
        - GetLiftPerLevel() * GetViewElevation(column, row);
}

HexPos HexGeometry::PointToHex(int x, int y) const
{
    const int width = GetMapWidth();
    const int height = GetMapHeight();
    int column = (x - GetHalfColumn()) / GetColumnPitch();
    int row = (column & 1) ? (y - GetTopMargin()) / GetRowPitch() : (y - GetTopMargin() - GetHalfRow()) / GetRowPitch();
    column = std::min(column, width - 1);
    row = std::min(row, height - 1);
    column = std::max(column, 0);
    row = std::max(row, 0);
    // A raised hex further down the column whose upper edge reaches above
    // the point owns it.
    while (row + 1 < height && y >= GetHexCentreY(column, row + 1) - GetHalfRow())
        ++row;
    return { column, row };
}

HexGeometry::HexRange HexGeometry::RectToHexRange(int x, int y, int width, int height) const
{
    const HexPos first = PointToHex(x, y);
    const HexPos last = PointToHex(x + width, y + height);
    HexRange range;
    range.firstRow = first.row > 0 ? first.row - 1 : first.row;
    range.firstColumn = first.column > 0 ? first.column - 1 : first.column;
    range.columns = std::min(last.column - range.firstColumn + 2, GetMapWidth() - range.firstColumn);
    range.rows = std::min(last.row - range.firstRow + 2 + (Is3D() ? 1 : 0), GetMapHeight() - range.firstRow);
    return range;
}

void HexGeometry::GetVisibleHexes(int clientWidth, int clientHeight, int& columns, int& rows) const
{
    columns = std::clamp(clientWidth / GetColumnPitch() - 1, 0, GetMapWidth());
    rows = std::clamp(clientHeight / GetRowPitch() - 2, 0, GetMapHeight());
}

std::array<HexGeometry::Point, 7> HexGeometry::GetHexPolygon(int column, int row) const
{
    const int cx = GetHexCentreX(column, row);
    const int cy = GetHexCentreY(column, row);
    const int q = GetTopEdgeHalf();
    const int hr = GetHalfRow();
    const int cp = GetColumnPitch();
    return { { { cx - q, cy - hr }, { cx + q, cy - hr }, { cx + cp - q, cy }, { cx + q, cy + hr }, { cx - q, cy + hr },
        { cx - cp + q, cy }, { cx - q, cy - hr } } };
}

std::array<HexGeometry::Point, 9> HexGeometry::GetHexSkirtPolygon(int column, int row) const
{
    const int cx = GetHexCentreX(column, row);
    const int cy = GetHexCentreY(column, row);
    const int q = GetTopEdgeHalf();
    const int hr = GetHalfRow();
    const int cp = GetColumnPitch();
    const int d = 2 * GetLiftPerLevel();
    return { { { cx - q, cy - hr }, { cx + q, cy - hr }, { cx + cp - q, cy }, { cx + cp - q, cy + d },
        { cx + q, cy + hr + d }, { cx - q, cy + hr + d }, { cx - cp + q, cy + d }, { cx - cp + q, cy },
        { cx - q, cy - hr } } };
}

int HexGeometry::GetHighlightPolygon(std::array<Point, 7>& points, int column, int row) const
{
    if (Is3D()) {
        points = GetHexPolygon(column, row);
        return 7;
    }
    const int cx = GetHexCentreX(column, row);
    const int cy = GetHexCentreY(column, row);
    const int hc = GetHalfColumn();
    const int left = cx + hc - GetColumnPitch();
    const int right = cx + hc;
    const int top = cy - hc;
    const int bottom = cy + hc;
    points[0] = { left, top };
    points[1] = { right, top };
    points[2] = { right, bottom };
    points[3] = { left, bottom };
    points[4] = { left, top };
    return 5;
}

int HexGeometry::GetInnerHighlightPolygon(std::array<Point, 7>& points, int column, int row) const
{
    const int count = GetHighlightPolygon(points, column, row);
    if (count == 5) {
        static constexpr int kDx[5] = { 1, -1, -1, 1, 1 };
        static constexpr int kDy[5] = { 1, 1, -1, -1, 1 };
        for (int i = 0; i < 5; ++i)
            Shift(points[static_cast<std::size_t>(i)], kDx[i], kDy[i]);
        return count;
    }
    static constexpr int kDx[7] = { 1, -1, -1, -1, 1, 1, 1 };
    static constexpr int kDy[7] = { 1, 1, 0, -1, -1, 0, 1 };
    for (int i = 0; i < 7; ++i)
        Shift(points[static_cast<std::size_t>(i)], kDx[i], kDy[i]);
    return count;
}

std::array<HexGeometry::Point, 6> HexGeometry::GetUnitBasePolygon(int column, int row) const
{
    int a = 0;
    int b = 0;
    int c = 0;
    if (m_viewMode == kViewMode3DNormal) {
        a = 22, b = 38, c = 12;
    } else if (m_viewMode == kViewMode3DZoomOut) {
        a = 11, b = 19, c = 6;
    } else if (m_viewMode == kViewMode3DExtreme) {
        a = 5, b = 9, c = 3;
    }
    const int cx = GetHexCentreX(column, row);
    const int cy = GetHexCentreY(column, row);
    return { { { cx, cy - a }, { cx + b, cy - c }, { cx + b, cy + c }, { cx, cy + a }, { cx - b, cy + c },
        { cx - b, cy - c } } };
}

bool HexGeometry::GetMapNeighbour(int column, int row, std::uint32_t viewSide, HexPos& mapHex) const
{
    if (!m_map)
        return false;
    const HexPos m = RotateHex(column, row);
    return m_map->GetNeighbour(HexSide(RotateSideBit(viewSide)), m.column, m.row, mapHex);
}

bool HexGeometry::GetBottomEdge(Point& from, Point& to, bool& lowerBelow, int column, int row) const
{
    const int cx = GetHexCentreX(column, row);
    const int cy = GetHexCentreY(column, row);
    from = { cx - GetTopEdgeHalf(), cy + GetHalfRow() };
    to = { cx + GetTopEdgeHalf(), cy + GetHalfRow() };
    HexPos below;
    if (!GetMapNeighbour(column, row, HexSide::South.Value(), below)) {
        lowerBelow = false;
        return true;
    }
    lowerBelow = m_map->GetElevationLevel(below.column, below.row) < GetViewElevation(column, row);
    return Is3D() && lowerBelow;
}

int HexGeometry::GetContourOutline(std::array<Point, 9>& points, std::array<bool, 9>& flags, int column, int row) const
{
    const int cx = GetHexCentreX(column, row);
    const int cy = GetHexCentreY(column, row);
    const int q = GetTopEdgeHalf();
    const int hr = GetHalfRow();
    const int cp = GetColumnPitch();
    const int sx = GetContourShiftX();
    const int sy = GetContourShiftY();
    const int e = GetViewElevation(column, row);
    const bool is3D = Is3D();

    struct Neighbour {
        bool exists = false;
        int level = 0;
        int Higher(int own) const { return exists && level > own ? level - own : 0; }
        bool Lower(int own) const { return exists && level < own; }
    };
    auto neighbour = [&](HexSide side) {
        Neighbour n;
        HexPos m;
        if (GetMapNeighbour(column, row, side.Value(), m)) {
            n.exists = true;
            n.level = m_map->GetElevationLevel(m.column, m.row);
        }
        return n;
    };
    // The edge flag of a side: set toward a lower neighbour, in 2D toward
    // any neighbour of another level.
    auto edgeFlag = [&](const Neighbour& n) { return n.exists && (n.level < e || (!is3D && n.level != e)); };

    const Neighbour nN = neighbour(HexSide::North);
    const Neighbour nNE = neighbour(HexSide::NorthEast);
    const Neighbour nSE = neighbour(HexSide::SouthEast);
    const Neighbour nS = neighbour(HexSide::South);
    const Neighbour nSW = neighbour(HexSide::SouthWest);
    const Neighbour nNW = neighbour(HexSide::NorthWest);

    int count = 0;
    auto add = [&](Point p, bool flag) {
        points[static_cast<std::size_t>(count)] = p;
        flags[static_cast<std::size_t>(count)] = flag;
        ++count;
    };
    const int dS = is3D ? nS.Higher(e) : 0;
    const Point lowerLeft { cx - q - sx * dS, cy + hr - sy * dS };
    const Point lowerRight { cx + q + sx * dS, cy + hr - sy * dS };

    // 1. The SW side.
    Point west { cx - cp + q, cy };
    if (is3D && nSW.Higher(e) > 0) {
        const int d = nSW.Higher(e);
        west = { cx - cp + q + sx * d, cy - sy * d };
    } else if (is3D && nSW.Lower(e)) {
        add(lowerLeft, true);
    } else if (!nSW.exists) {
        add(lowerLeft, false);
    }
    add(west, edgeFlag(nNW));
    // 2. The upper corners.
    add({ cx - q, cy - hr }, edgeFlag(nN));
    add({ cx + q, cy - hr }, edgeFlag(nNE));
    // 3. The SE side.
    if (is3D && nSE.Higher(e) > 0) {
        const int d = nSE.Higher(e);
        add({ cx + cp - q - sx * d, cy - sy * d }, false);
    } else if ((is3D && nSE.Lower(e)) || !nSE.exists) {
        add({ cx + cp - q, cy }, nSE.Lower(e));
        add(lowerRight, false);
    } else {
        add({ cx + cp - q, cy }, false);
    }
    return count;
}

HexPos HexGeometry::RotateHex(int column, int row) const
{
    if (!m_rotated || column == -1 || row == -1)
        return { column, row };
    return { GetMapWidth() - 1 - column, GetMapHeight() - 1 - row };
}

void HexGeometry::RotateLabelPos(double& fx, double& fy) const
{
    if (!m_rotated)
        return;
    fx = GetMapWidth() - fx;
    fy = GetMapHeight() - fy;
}

int HexGeometry::RotateAlignment(int alignment) const
{
    if (!m_rotated)
        return alignment;
    return alignment == 0 ? 2 : alignment == 2 ? 0 : alignment;
}

std::uint32_t HexGeometry::RotateSideBit(std::uint32_t bit) const
{
    if (!m_rotated)
        return bit;
    const HexSide side(bit);
    return side.IsSingleSide() ? side.Opposite().Value() : HexSide::kNoneValue;
}

HexSide HexGeometry::RotateHexSide(HexSide side) const
{
    // A value that is not one of the six sides stays as it is.
    if (!m_rotated || !side.IsSingleSide())
        return side;
    return side.Opposite();
}

HexSideSet HexGeometry::RotateHexSideSet(HexSideSet set) const
{
    if (!m_rotated)
        return set;
    HexSideSet turned;
    for (HexSide side(1); side.IsValid(); side.Next())
        if (set.Contains(side))
            turned.Add(side.Opposite());
    return turned;
}

bool HexGeometry::CanRotate() const
{
    const int width = GetMapWidth();
    return width == 1 || width % 2 == 0;
}
