// The jump map's miniature: built once per size and after a free, sampled
// on a grid of 4-pixel cells with every other column lowered, with the
// road-like features as lines and rivers as strokes across, all turned with
// the map, and the visible part's frame and the hot spot's mark on top.

#include "tests/mapview/MapViewFixture.h"

#include <algorithm>
#include <vector>

namespace {

using platform::Point;
using platform::gfx::Canvas;
using platform::gfx::Pixel;
using platform::gfx::Surface;

constexpr Pixel kBlack = 0x000000;
constexpr Pixel kBlue = 0x0000FF;

class JumpMapTest : public MapViewTest {
protected:
    // The jump map dialog's paint into a fresh picture.
    Surface Paint(int width, int height)
    {
        Surface picture(width, height, 0x123456);
        Canvas canvas(picture);
        m_view->DrawJumpMap(canvas, width, height);
        return picture;
    }
    Surface Miniature(int width, int height)
    {
        Surface picture(width, height, 0x123456);
        Canvas canvas(picture);
        m_view->DrawMiniature(canvas, width, height);
        return picture;
    }
    ProbedCell CellIn(const Surface& s, int x, int y) const { return Decode(s.GetPixel(x, y)); }
    // A feature on the side between a hex and its N neighbour, as maps
    // store it: in both hexes.
    void AddNorthSide(int x, int y, int layer)
    {
        AddFeature(x, y, layer, HexSide::North);
        AddFeature(x, y - 1, layer, HexSide::South);
    }
};

TEST_F(JumpMapTest, BuiltOncePerSizeAndAgainAfterAFree)
{
    MakeMap(8, 8);
    Show();
    const int before = m_view->GetMiniatureBuilds();
    Paint(64, 48);
    Paint(64, 48);
    EXPECT_EQ(m_view->GetMiniatureBuilds(), before + 1);
    Paint(64, 64);
    EXPECT_EQ(m_view->GetMiniatureBuilds(), before + 2) << "a new size";
    Paint(64, 64);
    m_view->FreeJumpMapCache();
    EXPECT_EQ(m_view->GetJumpMapCache(), nullptr);
    Paint(64, 64);
    EXPECT_EQ(m_view->GetMiniatureBuilds(), before + 3) << "after a free";
    // Turning the map changes its picture: the next paint rebuilds.
    m_view->RotateKeepingHotSpot();
    Paint(64, 64);
    EXPECT_EQ(m_view->GetMiniatureBuilds(), before + 4);
    // The cached copy is the picture itself.
    m_view->RotateKeepingHotSpot();
    const Surface again = Miniature(64, 48);
    const Surface cached = Miniature(64, 48);
    EXPECT_EQ(again.Pixels().size(), cached.Pixels().size());
    EXPECT_TRUE(std::equal(again.Pixels().begin(), again.Pixels().end(), cached.Pixels().begin()));
}

TEST_F(JumpMapTest, SamplesOnAGridWithEveryOtherColumnTwoPixelsLower)
{
    // 8 by 8 hexes on 64 by 64 pixels: a hex is 8 pixels, two cells.
    MakeMap(8, 8);
    SetLevel(2, 3, 5);
    SetTerrain(5, 5, kTerrainForest);
    Show();
    const Surface s = Miniature(64, 64);
    const auto level = [&](int x, int y) { return CellIn(s, x, y).row; };
    ASSERT_EQ(CellIn(s, 17, 26).file, "Brown1d.bmp");
    // Cell column 4 (x 16..19) stands 2 lower: hex row 3 begins at y 26.
    EXPECT_EQ(level(17, 25), 0);
    EXPECT_EQ(level(17, 26), 5);
    // Cell column 5 (x 20..23) does not: hex row 3 begins at y 24.
    EXPECT_EQ(level(21, 23), 0);
    EXPECT_EQ(level(21, 24), 5);
    // Above the first lowered cells the ground stays black.
    EXPECT_EQ(s.GetPixel(1, 1), kBlack);
    EXPECT_NE(s.GetPixel(5, 1), kBlack);
    // The forest's sample from the half-size terrain sheet, row 0.
    const ProbedCell forest = CellIn(s, 41, 43);
    EXPECT_EQ(forest.file, "Terrain1d.bmp");
    EXPECT_EQ(forest.row, 0);
}

TEST_F(JumpMapTest, FeatureLinesInTheirColoursAndOrderTurnedWithTheMap)
{
    struct Column {
        int column;
        std::vector<int> layers;
        Pixel colour;
    };
    // Each side's last drawn layer shows: path, unpaved, rail, road.
    const Column columns[] = {
        { 1, { kLayerPath }, 0x808080 },
        { 3, { kLayerUnpaved, kLayerPath }, 0xCE945A },
        { 5, { kLayerRail, kLayerUnpaved }, 0xC0C0C0 },
        { 6, { kLayerRoad, kLayerRail, kLayerPath }, kBlack },
    };
    MakeMap(8, 8);
    for (const Column& c : columns)
        for (int layer : c.layers)
            AddNorthSide(c.column, 4, layer);
    // Features the miniature does not draw.
    AddNorthSide(2, 4, kLayerHedge);
    for (bool rotated : { false, true }) {
        Show(1, rotated);
        m_view->FreeJumpMapCache();
        const Surface s = Miniature(64, 64);
        for (const Column& c : columns) {
            // From hex (c, 4) to (c, 3): x = 8c, y 32 down to 24; turned,
            // view column 7 - c, the same rows.
            const int x = 8 * (rotated ? 7 - c.column : c.column);
            EXPECT_EQ(s.GetPixel(x, 28), c.colour) << "column " << c.column << " turned " << rotated;
            EXPECT_NE(s.GetPixel(x + 2, 28), c.colour) << "one pixel wide";
        }
        const int hedge = 8 * (rotated ? 5 : 2);
        EXPECT_EQ(CellIn(s, hedge, 28).file, "Brown1d.bmp");
    }
}

TEST_F(JumpMapTest, RiversAreStrokesAcrossTheLineBetweenTheHexes)
{
    MakeMap(8, 8);
    AddNorthSide(3, 4, kLayerRiver);
    // A river on the map's edge has no neighbour: no stroke.
    AddFeature(0, 0, kLayerRiver, HexSide::North);
    Show();
    const Surface s = Miniature(64, 64);
    // Points (24, 24) and (24, 32): a horizontal stroke through (24, 28),
    // 8 / 3 = 2 pixels each way.
    for (int x = 23; x <= 26; ++x)
        EXPECT_EQ(s.GetPixel(x, 28), kBlue) << x;
    EXPECT_NE(s.GetPixel(21, 28), kBlue);
    EXPECT_NE(s.GetPixel(24, 26), kBlue);
    EXPECT_NE(s.GetPixel(24, 30), kBlue);
    int blue = 0;
    for (Pixel p : s.Pixels())
        blue += p == kBlue;
    EXPECT_EQ(blue, 4) << "one stroke for the side both hexes record";
}

TEST_F(JumpMapTest, VisibleFrameAndHotSpotMarkScaledToTheMiniature)
{
    MakeMap(40, 40);
    Show();
    m_view->ScrollTo(5, 6);
    m_view->SetHotSpot(20, 20);
    const auto& g = m_view->Geometry();
    ASSERT_EQ(g.GetMapPixelWidth(), 26 * 41);
    ASSERT_EQ(g.GetMapPixelHeight(), 30 * 41 + 15);
    const Surface s = Paint(128, 128);
    // The client (400 by 400 from picture point 130, 180), scaled:
    // x 130 -> 15, 530 -> 63; y 180 -> 18, 580 -> 59; a 3-pixel pen inside.
    const Pixel frame = 0xFF3300;
    for (Point p : { Point { 15, 40 }, Point { 17, 40 }, Point { 60, 40 }, Point { 62, 40 }, Point { 40, 18 },
             Point { 40, 20 }, Point { 40, 56 }, Point { 40, 58 } })
        EXPECT_EQ(s.GetPixel(p.x, p.y), frame) << p.x << "," << p.y;
    for (Point p : { Point { 14, 40 }, Point { 18, 40 }, Point { 63, 40 }, Point { 40, 21 }, Point { 40, 59 } })
        EXPECT_NE(s.GetPixel(p.x, p.y), frame) << p.x << "," << p.y;
    // The hot spot's centre scaled the same way; a 6-pixel square, pen 2.
    const Point c = g.GetHexCentre(20, 20);
    const Point m { c.x * 128 / g.GetMapPixelWidth(), c.y * 128 / g.GetMapPixelHeight() };
    const Pixel red = 0xFF0000;
    EXPECT_EQ(s.GetPixel(m.x - 3, m.y), red);
    EXPECT_EQ(s.GetPixel(m.x + 2, m.y), red);
    EXPECT_EQ(s.GetPixel(m.x, m.y - 3), red);
    EXPECT_NE(s.GetPixel(m.x, m.y), red) << "hollow";
}

} // namespace
