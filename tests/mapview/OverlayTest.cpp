// The terrain layer's overlays: map labels and the compass, hex outlines
// and contours, the hot spot and its blink on fake timers, and the 3D clip
// regions, probed on small hand-made maps.

#include "tests/mapview/MapViewFixture.h"

#include "platform/gfx/Font.h"

namespace {

using platform::Point;
using platform::Rect;
using platform::gfx::Pixel;

constexpr Pixel kWhite = 0xFFFFFF;
constexpr Pixel kBlack = 0x000000;
constexpr Pixel kGrey = 0x636363;
constexpr Pixel kBrown = 0x734A00;
constexpr Pixel kRed = 0xFF0000;
constexpr Pixel kMarker = 0x123456;
// A client that shows the whole 8 by 8 map in the 3D normal view.
constexpr platform::Size kWide { 1400, 1000 };

class OverlayTest : public MapViewTest {
protected:
    void SetUp() override { MakeMap(8, 8); }

    MapLabel& AddLabel(double x, double y, int size, int alignment, int colour, const char* text)
    {
        MapLabel label;
        label.x = x;
        label.y = y;
        label.size = size;
        label.alignment = alignment;
        label.colour = colour;
        label.text = String(text);
        return m_game.m_map.GetLabels().Append(label)->value;
    }
    int Presents() const { return static_cast<int>(m_host->Presents().size()); }
    // A pixel the next full repaint overwrites: its survival tells that
    // nothing was repainted.
    void PutMarker(Point picture)
    {
        const Point o = m_view->ScrollOrigin();
        m_view->BackBuffer().SetPixel(picture.x - o.x, picture.y - o.y, kMarker);
    }
    bool CountIn(Rect r, Pixel colour) const
    {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (At({ x, y }) == colour)
                    return true;
        return false;
    }
    void FillBack(Pixel colour) { m_view->BackBuffer().Fill(colour); }
};

// ---- labels ----

TEST_F(OverlayTest, LabelFontBySizeAndMode)
{
    Show();
    struct Case {
        int mode;
        int size;
        int index;
    };
    // Size 3 outside modes 2 and 4 takes the largest font.
    const Case cases[]
        = { { 1, 0, 1 }, { 1, 2, 3 }, { 1, 3, 3 }, { 0, 1, 2 }, { 3, 3, 3 }, { 2, 0, 0 }, { 2, 3, 3 }, { 4, 2, 2 } };
    for (const Case& c : cases) {
        m_view->SetViewMode(c.mode, 0, 0);
        EXPECT_EQ(m_view->GetLabelFontIndex(c.size), c.index) << "mode " << c.mode << " size " << c.size;
    }
    EXPECT_EQ(m_view->GetFont(0).Spec().height, 10);
    EXPECT_EQ(m_view->GetFont(3).Spec().height, 24);
    EXPECT_EQ(m_view->GetFont(3).Spec().face, "Times Roman");
    EXPECT_GE(m_view->GetFont(3).Spec().weight, 700);
    // The view's own label font: 24, 14, 10, 18, 14 for modes 0..4.
    const int heights[5] = { 24, 14, 10, 18, 14 };
    for (int mode = 0; mode < 5; ++mode) {
        m_view->SetViewMode(mode, 0, 0);
        EXPECT_EQ(m_view->GetViewLabelFont().Spec().height, heights[mode]) << "mode " << mode;
    }
}

struct LabelCase {
    int alignment;
    bool rotated;
    const char* shown; // the text as drawn, with the anchor's "+"
    int shift; // 0: box from the anchor, 1: half the text to the left, 2: the whole text
};
std::ostream& operator<<(std::ostream& out, const LabelCase& c)
{
    return out << "alignment " << c.alignment << (c.rotated ? " turned" : "");
}

class LabelPlacementTest : public OverlayTest, public ::testing::WithParamInterface<LabelCase> { };

TEST_P(LabelPlacementTest, AnchorAlignmentMarkerAndBox)
{
    const LabelCase c = GetParam();
    AddLabel(3.5, 4.25, 0, c.alignment, 0, "Ab");
    Show(1, c.rotated);
    m_view->ShowLabels(true);
    const auto& g = m_view->Geometry();
    double fx = 3.5;
    double fy = 4.25;
    if (c.rotated) {
        fx = 8 - fx;
        fy = 8 - fy;
    }
    const Point anchor { g.GetLabelX(fx), g.GetLabelY(fx, fy) };
    const platform::Size extent = m_view->GetFont(1).Extent(c.shown);
    ASSERT_GT(extent.width, 0);
    const int left = anchor.x - 5 - (c.shift == 1 ? extent.width / 2 : c.shift == 2 ? extent.width : 0);
    const int top = anchor.y - extent.height;
    const int right = left + extent.width + 10;
    const int bottom = top + extent.height + extent.height / 2;
    // A black border inside the box, white inside it, the map outside.
    EXPECT_EQ(At({ left, anchor.y }), kBlack);
    EXPECT_EQ(At({ right - 1, anchor.y }), kBlack);
    EXPECT_EQ(At({ (left + right) / 2, top }), kBlack);
    EXPECT_EQ(At({ (left + right) / 2, bottom - 1 }), kBlack);
    EXPECT_NE(At({ left - 1, anchor.y }), kBlack);
    EXPECT_NE(At({ right, anchor.y }), kBlack);
    EXPECT_EQ(At({ left + 2, bottom - 2 }), kWhite);
    // The text is black, within the box, beside the anchor as aligned.
    EXPECT_TRUE(CountIn({ left + 1, top + 1, right - 1, anchor.y }, kBlack));
}

INSTANTIATE_TEST_SUITE_P(Labels, LabelPlacementTest,
    ::testing::Values(LabelCase { 0, false, "+ Ab", 0 }, LabelCase { 1, false, "Ab", 1 },
        LabelCase { 2, false, "Ab +", 2 }, LabelCase { 0, true, "Ab +", 2 }, LabelCase { 2, true, "+ Ab", 0 },
        LabelCase { 1, true, "Ab", 1 }));

TEST_F(OverlayTest, LabelColours)
{
    // Colours 0, 1, 2 and an unknown 7 (black), far apart.
    AddLabel(1.0, 1.5, 2, 1, 0, "Wmw");
    AddLabel(5.0, 1.5, 2, 1, 1, "Wmw");
    AddLabel(1.0, 5.5, 2, 1, 2, "Wmw");
    AddLabel(5.0, 5.5, 2, 1, 7, "Wmw");
    Show();
    m_view->ShowLabels(true);
    const auto& g = m_view->Geometry();
    auto box = [&](double x, double y) {
        const Point a { g.GetLabelX(x), g.GetLabelY(x, y) };
        return Rect { a.x - 40, a.y - 24, a.x + 40, a.y };
    };
    EXPECT_TRUE(CountIn(box(1.0, 1.5), kBlack));
    EXPECT_TRUE(CountIn(box(5.0, 1.5), 0x0000FF));
    EXPECT_TRUE(CountIn(box(1.0, 5.5), 0x006600));
    EXPECT_TRUE(CountIn(box(5.0, 5.5), kBlack));
    EXPECT_FALSE(CountIn(box(5.0, 5.5), 0x0000FF));
    EXPECT_FALSE(CountIn(box(5.0, 5.5), 0x006600));
}

TEST_F(OverlayTest, LabelsOnDrawAtOnceAndOffRepaints)
{
    AddLabel(3.0, 3.5, 1, 1, 0, "Wood");
    Show();
    const auto& g = m_view->Geometry();
    const Point anchor { g.GetLabelX(3.0), g.GetLabelY(3.0, 3.5) };
    const Point away = g.GetHexCentre(6, 6);
    PutMarker(away);
    m_host->ClearPresents();
    m_view->ShowLabels(true);
    EXPECT_TRUE(m_view->AreLabelsShown());
    EXPECT_EQ(Presents(), 1);
    EXPECT_EQ(At(away), kMarker) << "labels are drawn over the picture, not repainted";
    EXPECT_TRUE(CountIn({ anchor.x - 20, anchor.y - 18, anchor.x + 20, anchor.y }, kBlack));
    // A hex repaint under a label draws the label again, whole.
    m_view->RepaintHexRect(3, 3);
    EXPECT_TRUE(CountIn({ anchor.x - 20, anchor.y - 18, anchor.x + 20, anchor.y }, kBlack));
    m_view->ShowLabels(false);
    EXPECT_NE(At(away), kMarker) << "off repaints everything";
    EXPECT_FALSE(CountIn({ anchor.x - 20, anchor.y - 18, anchor.x + 20, anchor.y }, kBlack));
}

// ---- the compass ----

struct CompassCase {
    HexPos hex; // a map hex
    int index;
    bool rotated;
    // The label of each side N, NE, SE, S, SW, NW; null where no neighbour is.
    const char* labels[6];
};
std::ostream& operator<<(std::ostream& out, const CompassCase& c)
{
    return out << "hex " << c.hex.column << ", " << c.hex.row << " index " << c.index << (c.rotated ? " turned" : "");
}

class CompassTest : public OverlayTest, public ::testing::WithParamInterface<CompassCase> { };

TEST_P(CompassTest, LabelsByIndexOnlyWhereNeighboursAre)
{
    const CompassCase c = GetParam();
    m_game.m_map.SetCompass(c.hex, c.index);
    Show(1, c.rotated);
    m_view->ShowLabels(true);
    const auto& g = m_view->Geometry();
    const HexPos v = m_view->RotateHex(c.hex);
    EXPECT_EQ(CellAtHex(v.column, v.row), (ProbedCell { "Icons2d.bmp", 206 % 12, 206 / 12 }));
    const HexSide sides[6] = { HexSide::North, HexSide::NorthEast, HexSide::SouthEast, HexSide::South,
        HexSide::SouthWest, HexSide::NorthWest };
    const platform::gfx::Font& font = m_view->GetViewLabelFont();
    for (int i = 0; i < 6; ++i) {
        HexPos n;
        const bool exists = m_game.m_map.GetNeighbour(sides[i], v.column, v.row, n);
        ASSERT_EQ(exists, c.labels[i] != nullptr) << "side " << i;
        if (!exists)
            continue;
        const platform::Size e = font.Extent(c.labels[i]);
        const Point centre = g.GetHexCentre(n.column, n.row);
        const int left = centre.x - e.width / 2 - 2;
        const int top = centre.y - e.height / 2;
        const int right = left + e.width + 4;
        EXPECT_EQ(At({ left, top + 1 }), kBlack) << c.labels[i];
        EXPECT_EQ(At({ right - 1, top + 1 }), kBlack) << c.labels[i];
        EXPECT_NE(At({ left - 1, top + 1 }), kBlack) << c.labels[i];
        EXPECT_NE(At({ right, top + 1 }), kBlack) << c.labels[i];
        EXPECT_EQ(At({ left + 1, top + 1 }), kWhite) << c.labels[i];
    }
}

INSTANTIATE_TEST_SUITE_P(Compass, CompassTest,
    ::testing::Values(CompassCase { { 3, 3 }, 0, false, { "N", "NE", "SE", "S", "SW", "NW" } },
        CompassCase { { 4, 4 }, 2, false, { "E", "SE", "SW", "W", "NW", "NE" } },
        CompassCase { { 0, 3 }, 0, false, { "N", "NE", "SE", "S", nullptr, nullptr } },
        CompassCase { { 7, 7 }, 9, false, { "NE", nullptr, nullptr, nullptr, "W", "N" } },
        // Turned: the view's N points to the map's S; map hex (7, 4) shows at (0, 3).
        CompassCase { { 4, 4 }, 0, true, { "S", "SW", "NW", "N", "NE", "SE" } },
        CompassCase { { 7, 4 }, 0, true, { "S", "SW", "NW", "N", nullptr, nullptr } }));

TEST_F(OverlayTest, CompassOnlyInTheNormal2DView)
{
    m_game.m_map.SetCompass({ 3, 3 }, 0);
    Show(2);
    m_view->ShowLabels(true);
    EXPECT_NE(CellAtHex(3, 3), (ProbedCell { "Icons1d.bmp", 206 % 12, 206 / 12 }));
    HexPos n;
    ASSERT_TRUE(m_game.m_map.GetNeighbour(HexSide::South, 3, 3, n));
    EXPECT_FALSE(CountIn(Rect::FromPointSize(m_view->Geometry().GetHexCentre(n.column, n.row), { 4, 4 }), kWhite));
    // Off the map: nothing, and no fault.
    m_game.m_map.SetCompass({ -1, -1 }, 0);
    m_view->SetViewMode(1, 0, 0);
    m_view->ShowLabels(true);
    EXPECT_NE(CellAtHex(3, 3), (ProbedCell { "Icons2d.bmp", 206 % 12, 206 / 12 }));
}

// ---- outlines and contours ----

TEST_F(OverlayTest, OutlinesAndContoursIn2D)
{
    SetLevel(3, 3, 2);
    Show();
    const auto& g = m_view->Geometry();
    auto north = [&](int c, int r) { return Point { g.GetHexCentreX(c, r), g.GetHexCentreY(c, r) - g.GetHalfRow() }; };
    auto south = [&](int c, int r) { return Point { g.GetHexCentreX(c, r), g.GetHexCentreY(c, r) + g.GetHalfRow() }; };
    const Point away = g.GetHexCentre(6, 2);

    PutMarker(away);
    m_host->ClearPresents();
    m_view->ToggleHexOutlines();
    EXPECT_EQ(Presents(), 1);
    EXPECT_EQ(At(away), kMarker) << "outlines are drawn over the picture";
    EXPECT_EQ(At(north(5, 5)), kGrey);
    EXPECT_EQ(At(north(3, 3)), kGrey);
    EXPECT_EQ(At(south(5, 7)), kGrey) << "the map's bottom edge";

    // Contours while outlines are on: a full repaint, and contours win.
    m_view->ToggleContours();
    EXPECT_NE(At(away), kMarker);
    EXPECT_EQ(At(north(3, 3)), kBrown) << "a level edge";
    EXPECT_NE(At(north(5, 5)), kGrey);
    EXPECT_NE(At(north(5, 5)), kBrown) << "contours draw flagged segments only";
    EXPECT_NE(At(south(5, 7)), kBrown) << "no bottom edge without a lower neighbour";
    // The raised hex's S side is the N side of its lower neighbour.
    EXPECT_EQ(At(north(3, 4)), kBrown);

    // Outlines off: a repaint, contours stay.
    m_view->ToggleHexOutlines();
    EXPECT_EQ(At(north(3, 3)), kBrown);
    // Contours off, then on while outlines are off: drawn without a repaint.
    m_view->ToggleContours();
    EXPECT_NE(At(north(3, 3)), kBrown);
    PutMarker(away);
    m_view->ToggleContours();
    EXPECT_EQ(At(away), kMarker);
    EXPECT_EQ(At(north(3, 3)), kBrown);
}

TEST_F(OverlayTest, OutlinesAndContoursIn3D)
{
    // Hex (3, 4) stands above its S neighbour and level with the rest.
    SetLevel(3, 4, 2);
    SetLevel(3, 5, 0);
    Show(0, false, kWide);
    const auto& g = m_view->Geometry();
    auto bottom = [&](int c, int r) { return Point { g.GetHexCentreX(c, r), g.GetHexCentreY(c, r) + g.GetHalfRow() }; };
    auto top = [&](int c, int r) { return Point { g.GetHexCentreX(c, r), g.GetHexCentreY(c, r) - g.GetHalfRow() }; };
    // The 3D painters come later: the outlines are probed on a white picture.
    FillBack(kWhite);
    m_view->ToggleHexOutlines();
    EXPECT_EQ(At(top(5, 5)), kBlack) << "black outlines in 3D";
    EXPECT_EQ(At(bottom(3, 4)), kBlack) << "the bottom edge above a lower neighbour";
    EXPECT_EQ(At(bottom(5, 7)), kBlack) << "the bottom edge at the map's edge";
    m_view->ToggleHexOutlines();
    FillBack(kWhite);
    m_view->ToggleContours();
    // The S neighbour's own N edge is no contour (its neighbour is higher):
    // this is the raised hex's bottom edge.
    EXPECT_EQ(At(bottom(3, 4)), kBrown) << "a lower S neighbour's edge is a contour";
    EXPECT_EQ(At(top(5, 5)), kWhite);
    EXPECT_EQ(At(bottom(5, 7)), kWhite) << "the map's edge is no contour";
}

// ---- the hot spot ----

TEST_F(OverlayTest, SettingTheHotSpotRepaintsItsHexes)
{
    Show();
    m_view->SetHotSpot(2, 2);
    m_host->ClearPresents();
    m_view->SetHotSpot(2, 2);
    ASSERT_EQ(Presents(), 1) << "the same hex: repainted once";
    m_host->ClearPresents();
    m_view->SetHotSpot(5, 4);
    ASSERT_EQ(Presents(), 2) << "another hex: both";
    const auto& g = m_view->Geometry();
    EXPECT_TRUE(m_host->Presents()[0].Contains(g.GetHexCentre(2, 2)));
    EXPECT_TRUE(m_host->Presents()[1].Contains(g.GetHexCentre(5, 4)));
    EXPECT_EQ(At({ g.GetHexCentreX(5, 4), g.GetHexCentreY(5, 4) - 12 }), kRed);
    EXPECT_NE(At({ g.GetHexCentreX(2, 2), g.GetHexCentreY(2, 2) - 12 }), kRed);
}

TEST_F(OverlayTest, BlinkFlipsIn2DAndHoldsWhileLabelsShow)
{
    Show();
    m_view->SetHotSpot(3, 3);
    const auto& g = m_view->Geometry();
    const Point edge { g.GetHexCentreX(3, 3), g.GetHexCentreY(3, 3) - 12 };
    ASSERT_TRUE(m_view->IsBlinkOn());
    m_host->ClearPresents();
    m_services->AdvanceMs(500);
    EXPECT_FALSE(m_view->IsBlinkOn());
    EXPECT_EQ(Presents(), 1);
    EXPECT_NE(At(edge), kRed);
    m_services->AdvanceMs(500);
    EXPECT_TRUE(m_view->IsBlinkOn());
    EXPECT_EQ(At(edge), kRed);
    // Labels shown: an off phase comes back on once, then holds.
    m_services->AdvanceMs(500);
    m_view->ShowLabels(true);
    m_services->AdvanceMs(500);
    EXPECT_TRUE(m_view->IsBlinkOn());
    m_host->ClearPresents();
    m_services->AdvanceMs(1500);
    EXPECT_TRUE(m_view->IsBlinkOn());
    EXPECT_EQ(Presents(), 0);
    m_view->ShowLabels(false);

    // In 3D the timer changes nothing.
    m_view->SetViewMode(0, 3, 3);
    m_host->ClearPresents();
    m_services->AdvanceMs(1000);
    EXPECT_TRUE(m_view->IsBlinkOn());
    EXPECT_EQ(Presents(), 0);
}

TEST_F(OverlayTest, BlinkingOffLeavesTheOutlineOn)
{
    Show();
    m_view->SetHotSpot(3, 3);
    const auto& g = m_view->Geometry();
    const Point edge { g.GetHexCentreX(3, 3), g.GetHexCentreY(3, 3) - 12 };
    m_services->AdvanceMs(500);
    ASSERT_FALSE(m_view->IsBlinkOn());
    m_view->ToggleHotSpotBlink();
    EXPECT_FALSE(m_view->IsBlinkEnabled());
    EXPECT_FALSE(m_services->timers.IsRunning(*m_view, CTerrainView::kBlinkTimer));
    EXPECT_TRUE(m_view->IsBlinkOn());
    EXPECT_EQ(At(edge), kRed);
    m_services->AdvanceMs(2000);
    EXPECT_EQ(At(edge), kRed);
    m_view->ToggleHotSpotBlink();
    EXPECT_TRUE(m_view->IsBlinkEnabled());
    EXPECT_TRUE(m_services->timers.IsRunning(*m_view, CTerrainView::kBlinkTimer));
    m_services->AdvanceMs(500);
    EXPECT_FALSE(m_view->IsBlinkOn());
}

TEST_F(OverlayTest, Hiding3DHotSpot)
{
    // The 3D painters come later: the hex is probed on a white picture.
    Show(0, false, kWide);
    m_view->SetHotSpot(3, 3);
    const auto& g = m_view->Geometry();
    const Point edge { g.GetHexCentreX(3, 3), g.GetHexCentreY(3, 3) - g.GetHalfRow() + 1 };
    FillBack(kWhite);
    m_host->ClearPresents();
    m_view->ToggleHide3DHotSpot();
    EXPECT_TRUE(m_view->IsHide3DHotSpot());
    EXPECT_EQ(Presents(), 1) << "the hex repainted";
    EXPECT_EQ(At(edge), kWhite) << "without the outline";
    m_view->ToggleHide3DHotSpot();
    EXPECT_EQ(At(edge), kRed) << "shown again at once";
    // In 2D the flag changes nothing at once.
    m_view->SetViewMode(1, 3, 3);
    m_host->ClearPresents();
    m_view->ToggleHide3DHotSpot();
    EXPECT_EQ(Presents(), 0);
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
                canvas.FillRect({ p.x - s, p.y - s, p.x + s, p.y + s }, 0x00FF00);
            }
    }
};

TEST_F(OverlayTest, HotSpotOverTheCountersIn2DUnderTheUnitsIn3D)
{
    m_services = std::make_unique<platform::testing::HeadlessServices>(m_art);
    m_view = std::make_unique<CSquareUnitsView>(&m_game);
    m_host = std::make_unique<platform::testing::HeadlessWindowHost>(*m_view, m_services->Get(), kWide);
    ASSERT_TRUE(m_host->Create());
    Show(1);
    m_view->SetHotSpot(3, 3);
    const auto& g = m_view->Geometry();
    EXPECT_EQ(At({ g.GetHexCentreX(3, 3), g.GetHexCentreY(3, 3) - 12 }), kRed);
    m_view->SetViewMode(0, 3, 3);
    const Point edge { g.GetHexCentreX(3, 3), g.GetHexCentreY(3, 3) - g.GetHalfRow() + 1 };
    EXPECT_EQ(At(edge), 0x00FF00) << "the units cover it";
}

// ---- clip regions ----

struct ClipCase {
    HexSide side;
    int level; // the neighbour's
    bool cut;
};
std::ostream& operator<<(std::ostream& out, const ClipCase& c)
{
    return out << "side " << c.side.Value() << " level " << c.level;
}

class ClipTest : public OverlayTest, public ::testing::WithParamInterface<ClipCase> { };

TEST_P(ClipTest, RaisedFrontNeighbourSkirtIsCutIn3DOnly)
{
    const ClipCase c = GetParam();
    HexPos n;
    ASSERT_TRUE(m_game.m_map.GetNeighbour(c.side, 3, 3, n));
    SetLevel(3, 3, 1);
    SetLevel(n.column, n.row, 3);
    Show(0);
    const auto& g = m_view->Geometry();
    using platform::gfx::Region;
    const Region hex = Region::FromPolygon(g.GetHexPolygon(3, 3));
    const Region skirt = Region::FromPolygon(g.GetHexSkirtPolygon(n.column, n.row));
    // A point of the hex that the neighbour's raised picture covers.
    Point probe { -1, -1 };
    const Rect b = hex.Bounds();
    for (int y = b.top; y < b.bottom && probe.x < 0; ++y)
        for (int x = b.left; x < b.right; ++x)
            if (hex.Contains({ x, y }) && skirt.Contains({ x, y })) {
                probe = { x, y };
                break;
            }
    ASSERT_GE(probe.x, 0) << "the skirts overlap";
    SetLevel(n.column, n.row, c.level);
    const Point inside = g.GetHexCentre(3, 3);
    EXPECT_EQ(!m_view->GetHexClipRegion(3, 3).Contains(probe), c.cut);
    EXPECT_EQ(!m_view->GetUnitPictureClipRegion(3, 3).Contains(probe), c.cut);
    EXPECT_TRUE(m_view->GetHexClipRegion(3, 3).Contains(inside));
    EXPECT_TRUE(m_view->GetUnitPictureClipRegion(3, 3).Contains(inside));
    // Pushed as the clip, and popped again.
    const int depth = m_view->ClipDepth();
    m_view->ClipToHex(3, 3);
    m_view->ClipToUnitPicture(3, 3);
    m_view->ClipToHexIntersect(3, 3);
    EXPECT_EQ(m_view->ClipDepth(), depth + 3);
    for (int i = 0; i < 3; ++i)
        m_view->PopClipRegion(true);

    // Nothing is cut in 2D: the square whole.
    m_view->SetViewMode(1, 0, 0);
    std::array<Point, 7> square {};
    ASSERT_EQ(g.GetHighlightPolygon(square, 3, 3), 5);
    EXPECT_EQ(
        m_view->GetHexClipRegion(3, 3), platform::gfx::Region::FromPolygon(std::span<const Point>(square.data(), 5)));
}

INSTANTIATE_TEST_SUITE_P(Clip, ClipTest,
    ::testing::Values(ClipCase { HexSide::SouthWest, 3, true }, ClipCase { HexSide::South, 3, true },
        ClipCase { HexSide::SouthEast, 3, true }, ClipCase { HexSide::SouthEast, 1, false },
        ClipCase { HexSide::SouthWest, 1, false }, ClipCase { HexSide::South, 0, false }));

TEST_F(OverlayTest, RaisedBackNeighbourCutsNothing)
{
    SetLevel(3, 2, 5);
    Show(0);
    const auto& g = m_view->Geometry();
    std::array<Point, 7> hexagon {};
    ASSERT_EQ(g.GetHighlightPolygon(hexagon, 3, 3), 7);
    EXPECT_EQ(m_view->GetHexClipRegion(3, 3), platform::gfx::Region::FromPolygon(hexagon));
}

TEST_F(OverlayTest, WaterwayPieceOffsetsScaleWithTheView)
{
    Show(0);
    int x = 10;
    int y = 20;
    m_view->GetWaterwayPieceOffset(x, y, 4);
    // Anchor (266, 49), column 1, row 1.
    EXPECT_EQ(x, 10 + 266 - 120 - 60);
    EXPECT_EQ(y, 20 + 49 - 46 - 23);
    m_view->SetViewMode(4, 0, 0);
    x = 0;
    y = 0;
    m_view->GetWaterwayPieceOffset(x, y, 25);
    EXPECT_EQ(x, (162 - 120 - 60) / 4);
    EXPECT_EQ(y, (430 - 8 * 46 - 23) / 4);
    m_view->GetWaterwayPieceOffset(x, y, 26);
    EXPECT_EQ(x, (162 - 120 - 60) / 4) << "no piece 26";
}

} // namespace
