#include "model/HexSide.h"

#include <cstdint>
#include <istream>
#include <limits>
#include <ostream>

#include "model/Geometry.h"

namespace {

bool IsOddColumn(int column) { return (column & 1) != 0; }

// Side segments of a hex around its centre, rows one unit apart: the corner
// distance is 1 / sqrt(3).
constexpr double kCornerDistance = 0.5773502691896257;
constexpr double kHalfCorner = kCornerDistance / 2;

struct SideSegment {
    double x1, y1, x2, y2;
};

// Offsets from the centre, in the clockwise order of the sides from N.
constexpr SideSegment kSideSegments[6] = {
    { -kHalfCorner, -0.5, kHalfCorner, -0.5 }, // N
    { kHalfCorner, -0.5, kCornerDistance, 0.0 }, // NE
    { kCornerDistance, 0.0, kHalfCorner, 0.5 }, // SE
    { kHalfCorner, 0.5, -kHalfCorner, 0.5 }, // S
    { -kHalfCorner, 0.5, -kCornerDistance, 0.0 }, // SW
    { -kCornerDistance, 0.0, -kHalfCorner, -0.5 }, // NW
};

} // namespace

HexSide& HexSide::SetBetween(int column1, int row1, int column2, int row2)
{
    // Wide differences, so that hexes at the ends of the int range never
    // look adjacent through overflow.
    const std::int64_t dc = static_cast<std::int64_t>(column2) - column1;
    const std::int64_t dr = static_cast<std::int64_t>(row2) - row1;
    const bool odd = IsOddColumn(column1);
    m_value = kNoneValue;
    if (dc == 0) {
        if (dr == 1)
            m_value = South.m_value;
        else if (dr == -1)
            m_value = North.m_value;
    } else if (dc == 1 || dc == -1) {
        // An even column stands lower: its neighbours to either side share
        // its row upward and lie one row further down; an odd column's share
        // its row downward and lie one row further up.
        const bool right = dc == 1;
        if (dr == 0)
            m_value = odd ? (right ? SouthEast : SouthWest).m_value : (right ? NorthEast : NorthWest).m_value;
        else if (dr == 1 && !odd)
            m_value = (right ? SouthEast : SouthWest).m_value;
        else if (dr == -1 && odd)
            m_value = (right ? NorthEast : NorthWest).m_value;
    }
    return *this;
}

bool HexPos::Read(std::istream& in)
{
    int c = 0;
    int r = 0;
    if (!(in >> c >> r))
        return false;
    column = c;
    row = r;
    return true;
}

bool HexPos::Write(std::ostream& out) const
{
    out << column << ' ' << row;
    return !out.fail();
}

void SidesTowardHex(int column1, int row1, int column2, int row2, HexSide& side1, HexSide& side2)
{
    const auto set = [&](HexSide first, HexSide second) {
        side1 = first;
        side2 = second;
    };
    if (column1 == column2) {
        if (row2 > row1)
            set(HexSide::South, HexSide::South);
        else if (row2 < row1)
            set(HexSide::North, HexSide::North);
        else
            set(HexSide::None, HexSide::None);
        return;
    }

    const bool right = column2 > column1;
    // On the left everything is the mirror image: NE becomes NW, SE becomes SW.
    const HexSide upperSide = right ? HexSide::NorthEast : HexSide::NorthWest;
    const HexSide lowerSide = right ? HexSide::SouthEast : HexSide::SouthWest;

    if (row2 == row1) {
        const bool sameParity = IsOddColumn(column1) == IsOddColumn(column2);
        if (sameParity)
            set(right ? HexSide::NorthEast : HexSide::SouthWest, right ? HexSide::SouthEast : HexSide::NorthWest);
        else if (IsOddColumn(column1))
            set(lowerSide, lowerSide); // the other column stands half a hex lower
        else
            set(upperSide, upperSide);
        return;
    }

    const std::int64_t upperBoundary = static_cast<std::int64_t>(row1) - RowsToUpperSectorBoundary(column1, column2);
    const std::int64_t lowerBoundary = static_cast<std::int64_t>(row1) + RowsToLowerSectorBoundary(column1, column2);
    if (row2 < row1) {
        if (row2 < upperBoundary)
            set(HexSide::North, HexSide::North);
        else if (row2 == upperBoundary)
            set(right ? HexSide::North : HexSide::NorthWest, right ? HexSide::NorthEast : HexSide::North);
        else
            set(upperSide, upperSide);
    } else {
        if (row2 > lowerBoundary)
            set(HexSide::South, HexSide::South);
        else if (row2 == lowerBoundary)
            set(right ? HexSide::SouthEast : HexSide::South, right ? HexSide::South : HexSide::SouthWest);
        else
            set(lowerSide, lowerSide);
    }
}

bool HexSideCrossesLine(HexSide side, int column, int row, double slope, double intercept)
{
    const int index = HexSideIndex(side);
    if (index == 6)
        return false;
    const double cx = HexCentreX(column);
    const double cy = HexCentreY(column, row);
    const SideSegment& s = kSideSegments[index];
    return SegmentCrossesLine(cx + s.x1, cy + s.y1, cx + s.x2, cy + s.y2, slope, intercept);
}

bool SegmentCrossesLine(double x1, double y1, double x2, double y2, double slope, double intercept)
{
    if (x1 == x2) {
        const double y = slope * x1 + intercept;
        return IsBetween(y1, y, y2);
    }
    const double m = (y2 - y1) / (x2 - x1);
    if (m == slope)
        return false;
    const double x = (intercept - (y1 - m * x1)) / (m - slope);
    return IsBetween(x1, x, x2);
}

bool IsBetween(double a, double x, double b)
{
    const float fa = static_cast<float>(a);
    const float fx = static_cast<float>(x);
    const float fb = static_cast<float>(b);
    return (fa <= fx && fx <= fb) || (fb <= fx && fx <= fa);
}
