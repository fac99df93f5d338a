#include "mapview/HexGeometry.h"

#include <gtest/gtest.h>

#include <vector>

using platform::Point;

namespace platform {
// Readable failure messages: found by argument-dependent lookup.
static void PrintTo(const Point& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }
}
static void PrintTo(const HexPos& h, std::ostream* out) { *out << "hex(" << h.column << ", " << h.row << ")"; }

namespace {

// A map whose hexes all stand at one level but for the ones listed.
HexMap MakeMap(int width, int height, int level = 0, std::vector<std::pair<HexPos, int>> raised = {})
{
    HexMap map(width, height);
    for (int x = 0; x < map.GetWidth(); ++x)
        for (int y = 0; y < map.GetHeight(); ++y)
            map.GetHex(x, y).level = level;
    for (auto& [hex, l] : raised)
        map.GetHex(hex.column, hex.row).level = l;
    return map;
}

HexGeometry InMode(const HexMap& map, int mode, bool rotated = false)
{
    HexGeometry g(&map);
    g.SetViewMode(mode);
    g.SetRotated(rotated);
    return g;
}

TEST(HexGeometryTest, MeasuresOfTheFiveModes)
{
    const HexMap map = MakeMap(10, 8);
    struct Case {
        int mode, top, pictureWidth, skirt, pictureHeight;
    };
    const Case cases[] = { { 0, 129, 200, 48, 134 }, { 1, 15, 36, 0, 30 }, { 2, 8, 18, 0, 15 }, { 3, 64, 98, 24, 67 },
        { 4, 31, 50, 12, 33 }, { 7, 15, 36, 0, 30 } };
    for (const Case& c : cases) {
        const HexGeometry g = InMode(map, c.mode);
        EXPECT_EQ(g.GetTopMargin(), c.top) << c.mode;
        EXPECT_EQ(g.GetHexPictureWidth(), c.pictureWidth) << c.mode;
        EXPECT_EQ(g.GetSkirtDepth(), c.skirt) << c.mode;
        EXPECT_EQ(g.GetHexPictureHeight(), c.pictureHeight) << c.mode;
        EXPECT_EQ(g.GetMapPixelWidth(), g.GetColumnPitch() * 11) << c.mode;
        EXPECT_EQ(g.GetMapPixelHeight(), g.GetRowPitch() * 9 + c.top) << c.mode;
    }
    EXPECT_EQ(MetricsOfViewMode(2).halfRow, 8);
    EXPECT_EQ(MetricsOfViewMode(3).halfRow, 21);
    EXPECT_EQ(MetricsOfViewMode(4).halfColumn, 18);
    EXPECT_STREQ(MetricsOfViewMode(4).menuText, "&3D Extreme Zoom-Out View");
    EXPECT_FALSE(Is2DViewMode(7));
    EXPECT_FALSE(Is3DViewMode(7));
}

TEST(HexGeometryTest, CentresLiftRaisedHexesAndOddColumnsStandHigher)
{
    // Hex (1, 1) at level 2, (2, 0) at level 1.
    const HexMap map = MakeMap(4, 4, 0, { { { 1, 1 }, 2 }, { { 2, 0 }, 1 } });
    struct Case {
        int mode, column, row, x, y;
    };
    const Case cases[] = {
        { 0, 1, 1, 300, 86 + 43 + 129 - 24 },
        { 0, 2, 0, 450, 86 + 129 - 12 },
        { 1, 1, 1, 52, 30 + 15 + 15 },
        { 1, 2, 0, 78, 30 + 15 },
        { 2, 1, 1, 26, 15 + 8 + 8 },
        { 3, 1, 1, 148, 43 + 21 + 64 - 12 },
        { 4, 2, 0, 111, 21 + 31 - 3 },
    };
    for (const Case& c : cases) {
        const HexGeometry g = InMode(map, c.mode);
        EXPECT_EQ(g.GetHexCentre(c.column, c.row), (Point { c.x, c.y })) << c.mode;
    }
    // Turned, view hex (2, 2) is map hex (1, 1), which carries the lift.
    const HexGeometry turned = InMode(map, 0, true);
    EXPECT_EQ(turned.GetHexCentreY(2, 2), 86 * 2 + 86 + 129 - 24);
    // Labels: fractional positions, the lift of the hex they lie in.
    const HexGeometry g = InMode(map, 0);
    EXPECT_EQ(g.GetLabelX(1.5), 75 + 225);
    EXPECT_EQ(g.GetLabelY(1.5, 1.5), 129 + 129 - 24);
    EXPECT_EQ(g.GetLabelY(2.0, 0.5), 43 + 43 + 129 - 12);
}

TEST(HexGeometryTest, PointToHexClampsAndRaisedFrontHexesWin)
{
    const HexMap flat = MakeMap(6, 5);
    const HexGeometry g1 = InMode(flat, 1);
    EXPECT_EQ(g1.PointToHex(13, 15), (HexPos { 0, 0 }));
    EXPECT_EQ(g1.PointToHex(38, 40), (HexPos { 0, 0 }));
    EXPECT_EQ(g1.PointToHex(39, 40), (HexPos { 1, 0 }));
    EXPECT_EQ(g1.PointToHex(-500, -500), (HexPos { 0, 0 }));
    EXPECT_EQ(g1.PointToHex(5000, 5000), (HexPos { 5, 4 }));
    // Mode 2: the last pixel row of an even-column hex goes to the hex below.
    const HexGeometry g2 = InMode(flat, 2);
    EXPECT_EQ(g2.PointToHex(13, 29), (HexPos { 0, 0 }));
    EXPECT_EQ(g2.PointToHex(13, 30), (HexPos { 0, 1 }));
    // Mode 0: a hex at level 2 owns points 24 pixels above its flat upper
    // edge, unless one further down reaches higher still.
    const HexMap raised = MakeMap(4, 5, 0, { { { 0, 2 }, 2 } });
    const HexGeometry g0 = InMode(raised, 0);
    const int upper = g0.GetHexCentreY(0, 2) - 43;
    EXPECT_EQ(upper, 86 * 3 + 129 - 43 - 24);
    EXPECT_EQ(g0.PointToHex(150, upper), (HexPos { 0, 2 }));
    EXPECT_EQ(g0.PointToHex(150, upper - 1), (HexPos { 0, 1 }));
    const HexMap higher = MakeMap(4, 5, 0, { { { 0, 2 }, 2 }, { { 0, 3 }, 10 } });
    const HexGeometry gh = InMode(higher, 0);
    EXPECT_EQ(gh.PointToHex(150, upper), (HexPos { 0, 3 }));
}

TEST(HexGeometryTest, RectangleToHexRangeWidensAndStaysOnTheMap)
{
    const HexMap map = MakeMap(10, 10);
    struct Case {
        int mode, x, y, w, h;
        HexGeometry::HexRange expected;
    };
    const Case cases[] = {
        { 1, 0, 0, 100, 100, { 0, 0, 5, 4 } },
        { 1, 100, 100, 100, 100, { 2, 1, 7, 7 } },
        { 1, 200, 200, 1000, 1000, { 6, 5, 4, 5 } },
        { 0, 0, 0, 100, 100, { 0, 0, 2, 3 } },
        { 0, 300, 300, 300, 300, { 0, 0, 5, 8 } },
        { 2, 0, 0, 100, 100, { 0, 0, 9, 8 } },
    };
    for (const Case& c : cases) {
        const auto r = InMode(map, c.mode).RectToHexRange(c.x, c.y, c.w, c.h);
        EXPECT_EQ(r.firstColumn, c.expected.firstColumn) << c.mode << " " << c.x;
        EXPECT_EQ(r.firstRow, c.expected.firstRow) << c.mode << " " << c.x;
        EXPECT_EQ(r.columns, c.expected.columns) << c.mode << " " << c.x;
        EXPECT_EQ(r.rows, c.expected.rows) << c.mode << " " << c.x;
    }
}

TEST(HexGeometryTest, VisibleHexesAreWholeColumnsAndRowsWithinTheMap)
{
    const HexMap map = MakeMap(10, 8);
    int columns = -1;
    int rows = -1;
    InMode(map, 1).GetVisibleHexes(260, 300, columns, rows);
    EXPECT_EQ(columns, 9);
    EXPECT_EQ(rows, 8);
    InMode(map, 1).GetVisibleHexes(2600, 150, columns, rows);
    EXPECT_EQ(columns, 10);
    EXPECT_EQ(rows, 3);
    InMode(map, 0).GetVisibleHexes(100, 100, columns, rows);
    EXPECT_EQ(columns, 0);
    EXPECT_EQ(rows, 0);
}

TEST(HexGeometryTest, PolygonsAroundTheCentre)
{
    const HexMap map = MakeMap(4, 4);
    const HexGeometry g = InMode(map, 1);
    const auto hex = g.GetHexPolygon(0, 0);
    // Centre (26, 45).
    const std::vector<Point> expectedHex { { 18, 30 }, { 34, 30 }, { 44, 45 }, { 34, 60 }, { 18, 60 }, { 8, 45 },
        { 18, 30 } };
    EXPECT_EQ(std::vector<Point>(hex.begin(), hex.end()), expectedHex);

    std::array<Point, 7> points {};
    ASSERT_EQ(g.GetHighlightPolygon(points, 0, 0), 5);
    EXPECT_EQ(std::vector<Point>(points.begin(), points.begin() + 5),
        (std::vector<Point> { { 13, 32 }, { 39, 32 }, { 39, 58 }, { 13, 58 }, { 13, 32 } }));
    ASSERT_EQ(g.GetInnerHighlightPolygon(points, 0, 0), 5);
    EXPECT_EQ(std::vector<Point>(points.begin(), points.begin() + 5),
        (std::vector<Point> { { 14, 33 }, { 38, 33 }, { 38, 57 }, { 14, 57 }, { 14, 33 } }));

    const HexGeometry g0 = InMode(map, 0);
    ASSERT_EQ(g0.GetInnerHighlightPolygon(points, 0, 0), 7);
    // Centre (150, 215).
    EXPECT_EQ(std::vector<Point>(points.begin(), points.end()),
        (std::vector<Point> {
            { 101, 173 }, { 199, 173 }, { 249, 215 }, { 199, 257 }, { 101, 257 }, { 51, 215 }, { 101, 173 } }));
    const auto skirt = g0.GetHexSkirtPolygon(0, 0);
    EXPECT_EQ(skirt[3], (Point { 250, 239 }));
    EXPECT_EQ(skirt[5], (Point { 100, 282 }));
    const auto base = g0.GetUnitBasePolygon(0, 0);
    EXPECT_EQ(base[0], (Point { 150, 193 }));
    EXPECT_EQ(base[2], (Point { 188, 227 }));
    EXPECT_EQ(g.GetUnitBasePolygon(0, 0)[1], g.GetHexCentre(0, 0));
}

TEST(HexGeometryTest, BottomEdgeAtTheMapEdgeAndAboveLowerHexes)
{
    const HexMap map = MakeMap(4, 3, 1, { { { 0, 1 }, 0 } });
    Point from;
    Point to;
    bool lower = true;
    const HexGeometry g1 = InMode(map, 1);
    EXPECT_FALSE(g1.GetBottomEdge(from, to, lower, 0, 0));
    EXPECT_TRUE(lower);
    EXPECT_EQ(from, (Point { 18, 60 }));
    EXPECT_EQ(to, (Point { 34, 60 }));
    EXPECT_TRUE(g1.GetBottomEdge(from, to, lower, 0, 2));
    EXPECT_FALSE(lower);
    EXPECT_TRUE(InMode(map, 0).GetBottomEdge(from, to, lower, 0, 0));
    EXPECT_FALSE(InMode(map, 0).GetBottomEdge(from, to, lower, 2, 0));
}

TEST(HexGeometryTest, ContourOutlinesIn2DAnd3D)
{
    std::array<Point, 9> p {};
    std::array<bool, 9> f {};
    // 2D: the N neighbour of (2, 1) stands higher: only that edge is flagged.
    const HexMap bump = MakeMap(4, 4, 0, { { { 2, 0 }, 1 } });
    const HexGeometry g1 = InMode(bump, 1);
    ASSERT_EQ(g1.GetContourOutline(p, f, 2, 1), 4);
    const Point c = g1.GetHexCentre(2, 1);
    EXPECT_EQ(p[0], (Point { c.x - 18, c.y }));
    EXPECT_EQ(p[1], (Point { c.x - 8, c.y - 15 }));
    EXPECT_EQ(p[2], (Point { c.x + 8, c.y - 15 }));
    EXPECT_EQ(p[3], (Point { c.x + 18, c.y }));
    EXPECT_FALSE(f[0]);
    EXPECT_TRUE(f[1]);
    EXPECT_FALSE(f[2]);
    // 2D corner hex: the lower corners join at the map's edges.
    ASSERT_EQ(g1.GetContourOutline(p, f, 0, 0), 5);
    EXPECT_EQ(p[0], (Point { 18, 60 }));

    // 3D: the SW neighbour of (2, 1) stands two levels higher: the line
    // starts at the W corner pulled up along the edge.
    const HexMap hill = MakeMap(4, 4, 1, { { { 1, 2 }, 3 } });
    const HexGeometry g0 = InMode(hill, 0);
    ASSERT_EQ(g0.GetContourOutline(p, f, 2, 1), 4);
    EXPECT_EQ(p[0], (Point { 370, 273 }));
    EXPECT_EQ(p[3], (Point { 550, 289 }));
    // From the top of the hill every edge is flagged and the line runs down
    // both front cliff faces.
    ASSERT_EQ(g0.GetContourOutline(p, f, 1, 2), 6);
    EXPECT_EQ(p[0], (Point { 250, 351 }));
    EXPECT_EQ(p[5], (Point { 350, 351 }));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(f[static_cast<std::size_t>(i)]) << i;
}

TEST(HexGeometryTest, RotationIsItsOwnInverse)
{
    const HexMap map = MakeMap(6, 5);
    const HexGeometry g = InMode(map, 1, true);
    for (int x = 0; x < 6; ++x)
        for (int y = 0; y < 5; ++y)
            EXPECT_EQ(g.RotateHex(g.RotateHex(x, y)), (HexPos { x, y }));
    EXPECT_EQ(g.RotateHex(0, 0), (HexPos { 5, 4 }));
    EXPECT_EQ(g.RotateHex(-1, 3), (HexPos { -1, 3 }));
    for (HexSide side(1); side.IsValid(); side.Next()) {
        EXPECT_EQ(g.RotateHexSide(g.RotateHexSide(side)), side);
        EXPECT_EQ(g.RotateHexSide(side), side.Opposite());
    }
    EXPECT_EQ(g.RotateHexSideSet(HexSideSet(1 | 2 | 16)), HexSideSet(8 | 16 | 2));
    double fx = 1.25;
    double fy = 2.5;
    g.RotateLabelPos(fx, fy);
    EXPECT_DOUBLE_EQ(fx, 4.75);
    EXPECT_DOUBLE_EQ(fy, 2.5);
    EXPECT_EQ(g.RotateAlignment(0), 2);
    EXPECT_EQ(g.RotateAlignment(1), 1);
    EXPECT_EQ(g.RotateSideBit(1), 8u);
    EXPECT_EQ(g.RotateSideBit(4), 32u);
    EXPECT_EQ(g.RotateSideBit(64), 64u);
    EXPECT_EQ(g.RotateSideBit(3), 64u);
    const HexGeometry plain = InMode(map, 1);
    EXPECT_EQ(plain.RotateSideBit(3), 3u);
    EXPECT_EQ(plain.RotateHex(1, 2), (HexPos { 1, 2 }));
    EXPECT_TRUE(plain.CanRotate());
    const HexMap one = MakeMap(1, 3);
    EXPECT_TRUE(InMode(one, 1).CanRotate());
}

} // namespace
