// The overlays in the 3D views, where the per-hex terrain painter draws
// nothing yet: the paint order (outlines and the hot spot under the units,
// labels over everything and unclipped), each hex outline's segments by the
// neighbours' levels, the hot spot under a raised neighbour in front, the
// 3D hex shading and the hex overlays after each hex. Probed on a picture
// the test fills with one colour, and on sheets whose cells name themselves.

#include "tests/mapview/MapViewFixture.h"

#include <algorithm>

#include "platform/gfx/Bmp.h"

namespace {

using platform::Point;
using platform::Rect;
using platform::gfx::Pixel;
using platform::gfx::Region;
using platform::gfx::Surface;

constexpr Pixel kWhite = 0xFFFFFF;
constexpr Pixel kBlack = 0x000000;
constexpr Pixel kBrown = 0x734A00;
constexpr Pixel kRed = 0xFF0000;
constexpr Pixel kGreen = 0x00FF00;
constexpr Pixel kMarker = 0x123456;
// Shows the whole 8 by 8 map in the 3D normal view.
constexpr platform::Size kWide { 1400, 1000 };

// The 3D soil sheets' cells are 200 wide; rows are told apart in steps of
// 62 full-size pixels (868 and 1116, the shading rows, are multiples).
constexpr int kBlockWidth = 200;
constexpr int kBlockHeight = 62;

bool SamePicture(const Surface& a, const Surface& b)
{
    return std::ranges::equal(a.Pixels(), b.Pixels(), platform::gfx::SameColour);
}

// A view whose units are squares of one colour over each hex's centre.
class CSquareUnitsView : public CMapView {
public:
    using CMapView::CMapView;
    void DrawUnits(int firstColumn, int firstRow, int columns, int rows) override
    {
        auto canvas = GetSurfaceCanvas();
        for (int c = firstColumn; c < firstColumn + columns; ++c)
            for (int r = firstRow; r < firstRow + rows; ++r) {
                const Point p = Geometry().GetHexCentre(c, r);
                const int s = Geometry().GetHalfRow() + 4;
                canvas.FillRect({ p.x - s, p.y - s, p.x + s, p.y + s }, kGreen);
            }
    }
};

class Overlay3DTest : public MapViewTest {
protected:
    void SetUp() override { MakeMap(8, 8); }

    void AddLabel(double x, double y, int size, int alignment, const char* text)
    {
        MapLabel label;
        label.x = x;
        label.y = y;
        label.size = size;
        label.alignment = alignment;
        label.colour = 0;
        label.text = String(text);
        m_game.m_map.GetLabels().Append(label);
    }
    void FillBack(Pixel colour) { m_view->BackBuffer().Fill(colour); }
    // Whether the colour is at a picture point or one of its eight neighbours.
    bool Near(Point p, Pixel colour) const
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (At({ p.x + dx, p.y + dy }) == colour)
                    return true;
        return false;
    }
    // Pixels of the colour inside (or outside) the region, around a hex.
    int CountIn(const Region& region, Pixel colour, bool inside, HexPos hex) const
    {
        const Point c = m_view->Geometry().GetHexCentre(hex.column, hex.row);
        const Rect all { c.x - 160, c.y - 140, c.x + 160, c.y + 140 };
        int count = 0;
        for (int y = all.top; y < all.bottom; ++y)
            for (int x = all.left; x < all.right; ++x)
                if (region.Contains({ x, y }) == inside && At({ x, y }) == colour)
                    ++count;
        return count;
    }
    // The midpoint of a hex's top edge.
    Point Top(int column, int row) const
    {
        const auto& g = m_view->Geometry();
        return { g.GetHexCentreX(column, row), g.GetHexCentreY(column, row) - g.GetHalfRow() };
    }
    // The midpoint of a hex's NW edge.
    Point NorthWest(int column, int row) const
    {
        const auto p = m_view->Geometry().GetHexPolygon(column, row);
        return { (p[5].x + p[6].x) / 2, (p[5].y + p[6].y) / 2 };
    }
};

// ---- the paint order ----

TEST_F(Overlay3DTest, OutlinesAndHotSpotUnderTheUnitsLabelsOverThemUnclipped)
{
    m_makeView = [](CGame* game) { return std::make_unique<CSquareUnitsView>(game); };
    AddLabel(5.5, 5.5, 0, 1, "Wood");
    Show(0, false, kWide);
    m_view->SetHotSpot(3, 3);
    m_view->ToggleHexOutlines();
    m_view->ShowLabels(true);
    FillBack(kWhite);
    m_view->Redraw();
    const auto& g = m_view->Geometry();

    // The units' squares cover the top edges: outline and hot spot lie under them.
    EXPECT_EQ(At(Top(3, 3)), kGreen);
    EXPECT_EQ(At({ Top(3, 3).x, Top(3, 3).y + 1 }), kGreen);
    EXPECT_EQ(At(Top(6, 2)), kGreen);
    // Outside the squares both show.
    EXPECT_TRUE(Near(NorthWest(6, 2), kBlack));
    EXPECT_TRUE(Near({ NorthWest(3, 3).x + 1, NorthWest(3, 3).y }, kRed));
    EXPECT_FALSE(Near({ NorthWest(6, 2).x + 1, NorthWest(6, 2).y }, kRed));

    // The label's box is drawn over the square of its hex.
    const Point anchor = g.GetHexCentre(5, 5);
    ASSERT_EQ(anchor, (Point { g.GetLabelX(5.5), g.GetLabelY(5.5, 5.5) }));
    const platform::Size extent = m_view->GetFont(m_view->GetLabelFontIndex(0)).Extent("Wood");
    const int left = anchor.x - 5 - extent.width / 2;
    EXPECT_EQ(At({ left, anchor.y }), kBlack);
    EXPECT_EQ(At({ left + 2, anchor.y + 2 }), kWhite);
    EXPECT_EQ(At({ anchor.x + 40, anchor.y + 40 }), kGreen);

    // A repaint of a far hex: its rectangle gets outlines and units again,
    // the labels are drawn whole wherever they are, nothing else changes.
    FillBack(kMarker);
    m_view->RepaintHexRect(1, 1);
    EXPECT_EQ(At(Top(1, 1)), kGreen);
    EXPECT_TRUE(Near(NorthWest(1, 1), kBlack));
    EXPECT_EQ(At(NorthWest(6, 2)), kMarker);
    EXPECT_EQ(At({ left, anchor.y }), kBlack) << "the label step is not clipped";
    EXPECT_EQ(At({ left + 2, anchor.y + 2 }), kWhite);
    EXPECT_EQ(At({ anchor.x + 40, anchor.y + 40 }), kMarker);
}

TEST_F(Overlay3DTest, HotSpotIn3DWhateverTheBlinkPhase)
{
    Show(1, false, kWide);
    m_view->SetHotSpot(3, 3);
    m_services->AdvanceMs(500);
    ASSERT_FALSE(m_view->IsBlinkOn());
    FillBack(kWhite);
    m_view->SetViewMode(0, 3, 3);
    const Point edge { Top(3, 3).x, Top(3, 3).y + 1 };
    EXPECT_EQ(At(edge), kRed);
    // Repaints keep it; the timer does not take it away.
    m_services->AdvanceMs(1500);
    m_view->RepaintHexRect(3, 3);
    EXPECT_EQ(At(edge), kRed);
}

// ---- hex outlines and contours segment by segment ----

// The probe's verdict for one edge of the hex: drawn along its whole
// length, not at all, or only its first part (up to a pulled vertex).
enum class Seen : char { Drawn = 'x', None = '.', FirstPart = 'p' };

struct OutlineCase {
    const char* name;
    int mode;
    bool contours;
    int level; // the hex's
    int rest; // every other hex's
    HexSide side; // one neighbour of another level, or None
    int sideLevel;
    const char* edges; // N, NE, SE, S, SW, NW
};
std::ostream& operator<<(std::ostream& out, const OutlineCase& c) { return out << c.name; }

class OutlineSegmentTest : public Overlay3DTest, public ::testing::WithParamInterface<OutlineCase> { };

TEST_P(OutlineSegmentTest, SegmentsByTheNeighboursLevels)
{
    const OutlineCase c = GetParam();
    const HexPos hex { 3, 3 };
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 8; ++y)
            SetLevel(x, y, c.rest);
    SetLevel(hex.column, hex.row, c.level);
    if (c.side != HexSide::None) {
        HexPos n;
        ASSERT_TRUE(m_game.m_map.GetNeighbour(c.side, hex.column, hex.row, n));
        SetLevel(n.column, n.row, c.sideLevel);
    }
    Show(c.mode, false, kWide);
    if (c.contours)
        m_view->ToggleContours();
    else
        m_view->ToggleHexOutlines();
    // This hex's outline alone, with the pen the view draws it with.
    FillBack(kWhite);
    const Pixel colour = c.contours ? kBrown : kBlack;
    {
        auto canvas = m_view->GetSurfaceCanvas();
        canvas.SetPen({ colour, c.contours ? 2 : 1 });
        m_view->DrawHexOutline(canvas, hex.column, hex.row);
    }
    // The hexagon's corners: upper left, upper right, E, lower right, lower left, W.
    const auto p = m_view->Geometry().GetHexPolygon(hex.column, hex.row);
    const char* names[6] = { "N", "NE", "SE", "S", "SW", "NW" };
    auto along = [&](int edge, double t) {
        const Point a = p[static_cast<std::size_t>(edge)];
        const Point b = p[static_cast<std::size_t>(edge + 1)];
        return Point { a.x + static_cast<int>((b.x - a.x) * t), a.y + static_cast<int>((b.y - a.y) * t) };
    };
    for (int edge = 0; edge < 6; ++edge) {
        const auto expected = static_cast<Seen>(c.edges[edge]);
        EXPECT_EQ(Near(along(edge, 0.3), colour), expected != Seen::None) << names[edge];
        EXPECT_EQ(Near(along(edge, 0.7), colour), expected == Seen::Drawn) << names[edge];
    }
}

// Levels: a plateau hex stands above all its neighbours; "level" hexes
// around one neighbour of another level.
INSTANTIATE_TEST_SUITE_P(Outlines, OutlineSegmentTest,
    ::testing::Values(
        // Contours: the edges toward lower neighbours, the bottom edge only above a lower one.
        OutlineCase { "plateau contours 3D normal", 0, true, 2, 0, HexSide::None, 0, "xxxxxx" },
        OutlineCase { "plateau contours 3D zoom-out", 3, true, 2, 0, HexSide::None, 0, "xxxxxx" },
        OutlineCase { "plateau outlines 3D extreme", 4, false, 2, 0, HexSide::None, 0, "xxxxxx" },
        OutlineCase { "higher N neighbour, contours", 0, true, 0, 0, HexSide::North, 2, "......" },
        OutlineCase { "higher N neighbour, outlines", 0, false, 0, 0, HexSide::North, 2, "xx...x" },
        OutlineCase { "lower S neighbour, contours", 0, true, 2, 2, HexSide::South, 0, "...x.." },
        OutlineCase { "lower S neighbour, outlines", 0, false, 2, 2, HexSide::South, 0, "xx.x.x" },
        OutlineCase { "lower SW neighbour, contours", 0, true, 2, 2, HexSide::SouthWest, 0, "....x." },
        OutlineCase { "lower SW neighbour, outlines", 3, false, 2, 2, HexSide::SouthWest, 0, "xx..xx" },
        // A higher SE neighbour's picture covers the hex's E corner: the
        // outline stops short of it.
        OutlineCase { "higher SE neighbour, outlines", 0, false, 0, 0, HexSide::SouthEast, 2, "xp...x" },
        OutlineCase { "higher SE neighbour, contours", 0, true, 0, 0, HexSide::SouthEast, 2, "......" },
        // 2D: every level difference is a contour, along the top three edges.
        OutlineCase { "plateau contours 2D", 1, true, 2, 0, HexSide::None, 0, "xx...x" },
        OutlineCase { "flat contours 2D", 1, true, 0, 0, HexSide::None, 0, "......" }));

TEST_F(Overlay3DTest, ContoursWinOverOutlinesInTheWholePicture)
{
    SetLevel(2, 2, 3);
    SetLevel(3, 3, 2);
    SetLevel(4, 5, 1);
    SetLevel(5, 5, 4);
    for (int mode : { 0, 1 }) {
        Show(mode, false, kWide);
        if (m_view->AreHexOutlinesShown())
            m_view->ToggleHexOutlines();
        if (!m_view->AreContoursShown())
            m_view->ToggleContours();
        FillBack(kWhite);
        m_view->Redraw();
        const Surface contoursOnly = m_view->BackBuffer();
        m_view->ToggleHexOutlines();
        EXPECT_TRUE(SamePicture(m_view->BackBuffer(), contoursOnly)) << "mode " << mode << ": outlines switched on";
        FillBack(kWhite);
        m_view->Redraw();
        EXPECT_TRUE(SamePicture(m_view->BackBuffer(), contoursOnly)) << "mode " << mode << ": both on";
        m_view->ToggleContours();
        FillBack(kWhite);
        m_view->Redraw();
        EXPECT_FALSE(SamePicture(m_view->BackBuffer(), contoursOnly)) << "mode " << mode << ": outlines only";
        m_view->ToggleHexOutlines();
    }
}

// ---- the hot spot under a raised hex in front ----

TEST_F(Overlay3DTest, HotSpotOutlineCutWhereARaisedFrontNeighbourCoversIt)
{
    HexPos sw;
    ASSERT_TRUE(m_game.m_map.GetNeighbour(HexSide::SouthWest, 3, 3, sw));
    SetLevel(sw.column, sw.row, 3);
    Show(0, false, kWide);
    const Region skirt = Region::FromPolygon(m_view->Geometry().GetHexSkirtPolygon(sw.column, sw.row));
    // Level with the hex, the neighbour hides nothing: the outline runs
    // where the raised skirt will be.
    SetLevel(sw.column, sw.row, 0);
    FillBack(kWhite);
    m_view->SetHotSpot(3, 3);
    EXPECT_GT(CountIn(skirt, kRed, true, { 3, 3 }), 0);
    SetLevel(sw.column, sw.row, 3);
    FillBack(kWhite);
    m_view->RepaintHexRect(3, 3);
    EXPECT_EQ(CountIn(skirt, kRed, true, { 3, 3 }), 0) << "under the raised neighbour";
    EXPECT_GT(CountIn(skirt, kRed, false, { 3, 3 }), 0) << "the rest of the outline";
}

// ---- the 3D hex shading and the hex overlays ----

class Shading3DTest : public Overlay3DTest {
protected:
    void SetUp() override
    {
        Overlay3DTest::SetUp();
        LeaveOutArt({});
        WriteNamedCellSheet(m_art / "Brown3d.bmp", 6, 20, kBlockWidth, kBlockHeight, 1);
        WriteNamedCellSheet(m_art / "Brown4d.bmp", 6, 20, kBlockWidth, kBlockHeight, 2);
        WriteNamedCellSheet(m_art / "Brown5d.bmp", 6, 20, kBlockWidth, kBlockHeight, 4);
    }
    // The block drawn at a hex's centre.
    HexPos BlockAtHex(int column, int row) const
    {
        return NamedCellOf(At(m_view->Geometry().GetHexCentre(column, row)));
    }
};

TEST_F(Shading3DTest, CellsByViewAndNight)
{
    struct Case {
        int mode;
        bool night;
        bool plain;
        HexPos block; // the cell's x / 200 and y / 62
    };
    const Case cases[] = {
        { 0, false, false, { 1, 14 } },
        { 3, false, false, { 2, 14 } },
        { 4, false, false, { 3, 14 } },
        { 0, true, false, { 4, 14 } },
        { 3, true, false, { 5, 14 } },
        { 4, true, false, { 0, 18 } },
        // The plain form is the day's, also at night.
        { 0, true, true, { 1, 14 } },
        { 4, true, true, { 3, 14 } },
    };
    SetLevel(2, 3, 2);
    for (const Case& c : cases) {
        m_game.m_night = c.night ? 1 : 0;
        Show(c.mode, false, kWide);
        for (HexPos hex : { HexPos { 2, 3 }, HexPos { 3, 3 } }) {
            FillBack(kWhite);
            m_view->ShadeHex(hex.column, hex.row, c.plain);
            EXPECT_EQ(BlockAtHex(hex.column, hex.row), c.block)
                << "mode " << c.mode << (c.night ? " night" : "") << (c.plain ? " plain" : "") << " hex " << hex.column
                << ", " << hex.row;
        }
    }
}

TEST_F(Shading3DTest, VisibleHexesShadeExactlyTheHiddenOnesIn3D)
{
    MakeMap(12, 12);
    // A ridge across the map between the hot spot and the far columns.
    for (int y = 0; y < 12; ++y)
        SetLevel(5, y, 8);
    Show(0, false, { 2000, 1300 });
    m_view->SetHotSpot(2, 6);
    FillBack(kWhite);
    m_view->ShowVisibleHexes(true);
    const HexPos shaded { 1, 14 };
    int hidden = 0;
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 12; ++y) {
            const bool seen = m_game.HasLineOfSight(2, 6, x, y);
            hidden += seen ? 0 : 1;
            EXPECT_EQ(BlockAtHex(x, y) == shaded, !seen) << x << ", " << y;
        }
    EXPECT_GT(hidden, 0);
    EXPECT_EQ(m_game.m_blockingHex, (HexPos { -1, -1 })) << "no blocking hex left behind";
    // The reachable hexes in 3D: everything off the list is shaded.
    HexList reachable;
    AppendHexListNode(reachable, 9, 6);
    m_view->ShowReachableHexes(true);
    FillBack(kWhite);
    m_view->SetReachableHexes(reachable);
    EXPECT_NE(BlockAtHex(9, 6), shaded);
    EXPECT_EQ(BlockAtHex(2, 6), shaded);
    EXPECT_EQ(BlockAtHex(10, 11), shaded);
}

// ---- labels in the 3D views ----

TEST_F(Overlay3DTest, LabelsLiftedWithTheirHexFontBySizeAndView)
{
    SetLevel(3, 3, 2);
    AddLabel(3.5, 3.5, 1, 0, "Ab");
    // The font: size + 1 in the normal and zoom-out views, the size itself
    // in the extreme zoom-out.
    const int fonts[5] = { 2, 0, 0, 2, 1 };
    for (int mode : { 0, 3, 4 }) {
        Show(mode, false, kWide);
        FillBack(kMarker);
        m_view->ShowLabels(true);
        const auto& g = m_view->Geometry();
        const Point anchor { g.GetLabelX(3.5), g.GetLabelY(3.5, 3.5) };
        ASSERT_EQ(anchor.y, g.GetHexCentreY(3, 3)) << "mode " << mode << ": lifted with the hex";
        const platform::Size extent = m_view->GetFont(fonts[mode]).Extent("+ Ab");
        const int left = anchor.x - 5;
        const int right = left + extent.width + 10;
        const int bottom = anchor.y + extent.height / 2;
        EXPECT_EQ(At({ left, anchor.y }), kBlack) << "mode " << mode;
        EXPECT_EQ(At({ left - 1, anchor.y }), kMarker) << "mode " << mode;
        EXPECT_EQ(At({ right - 1, anchor.y }), kBlack) << "mode " << mode;
        EXPECT_EQ(At({ right, anchor.y }), kMarker) << "mode " << mode;
        EXPECT_EQ(At({ left + 2, bottom - 2 }), kWhite) << "mode " << mode;
        EXPECT_EQ(At({ left + 2, bottom }), kMarker) << "mode " << mode;
    }
}

} // namespace
