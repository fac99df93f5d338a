#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <vector>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/MonoMask.h"
#include "platform/gfx/Region.h"

using namespace platform;
using namespace platform::gfx;

namespace {

constexpr Pixel kWhite = 0xFFFFFF;
constexpr Pixel kInk = 0x102030;

// The bounding box of pixels that are not `back`.
Rect InkBox(const Surface& s, Pixel back)
{
    Rect box;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (s.GetPixel(x, y) != back)
                box = box.Union({ x, y, x + 1, y + 1 });
    return box;
}

TEST(Canvas, LinesLeaveOutTheirLastPixel)
{
    Surface s(10, 10, kWhite);
    Canvas c(s);
    c.SetPen({ kInk, 1 });
    c.MoveTo({ 1, 1 });
    c.LineTo({ 6, 1 });
    EXPECT_EQ(s.GetPixel(1, 1), kInk);
    EXPECT_EQ(s.GetPixel(5, 1), kInk);
    EXPECT_EQ(s.GetPixel(6, 1), kWhite);
    c.LineTo({ 6, 6 }); // continues from the last end
    EXPECT_EQ(s.GetPixel(6, 1), kInk);
    EXPECT_EQ(s.GetPixel(6, 5), kInk);
    EXPECT_EQ(s.GetPixel(6, 6), kWhite);
    const std::vector<Point> diagonal { { 0, 9 }, { 4, 5 } };
    c.Polyline(diagonal);
    EXPECT_EQ(s.GetPixel(2, 7), kInk);
    EXPECT_EQ(s.GetPixel(4, 5), kWhite);
}

// Thin lines under each kind of clip (none, one rectangle, two, empty, one
// reaching past the surface) ink exactly the unclipped line's dots that the
// clip and the surface hold.
TEST(Canvas, ThinLinesInkTheirDotsInsideTheClipOnly)
{
    const std::vector<std::vector<Rect>> clips { {}, { { 2, 3, 9, 8 } }, { { 0, 0, 4, 12 }, { 6, 2, 12, 5 } },
        { { 3, 3, 3, 3 } }, { { -5, -5, 7, 20 } } };
    const std::vector<std::pair<Point, Point>> lines { { { -3, 1 }, { 14, 9 } }, { { 11, 0 }, { 0, 11 } },
        { { 5, -2 }, { 5, 14 } }, { { 1, 6 }, { 10, 6 } }, { { 10, 3 }, { 1, 3 } }, { { 4, 14 }, { 4, -2 } },
        { { 9, 11 }, { 2, 0 } }, { { 13, 2 }, { -2, 5 } }, { { 7, 1 }, { 8, 10 } }, { { 3, 4 }, { 3, 4 } } };
    for (std::size_t k = 0; k < clips.size(); ++k)
        for (const auto& [a, b] : lines) {
            Surface free(12, 12, kWhite);
            Canvas unclipped(free);
            unclipped.SetPen({ kInk, 1 });
            unclipped.MoveTo(a);
            unclipped.LineTo(b);
            Surface s(12, 12, kWhite);
            Canvas c(s);
            const Region clip = Region::FromRects(clips[k]);
            if (!clips[k].empty())
                c.SetClip(&clip);
            c.SetPen({ kInk, 1 });
            c.MoveTo(a);
            c.LineTo(b);
            for (int y = 0; y < 12; ++y)
                for (int x = 0; x < 12; ++x) {
                    const bool held = clips[k].empty() || clip.Contains({ x, y });
                    EXPECT_EQ(s.GetPixel(x, y), held ? free.GetPixel(x, y) : kWhite)
                        << "clip " << k << " line " << a.x << "," << a.y << " pixel " << x << "," << y;
                }
        }
}

TEST(Canvas, WidePensAreCentredOnTheLine)
{
    Surface s(12, 12, kWhite);
    Canvas c(s);
    c.SetPen({ kInk, 3 });
    c.MoveTo({ 2, 6 });
    c.LineTo({ 9, 6 });
    EXPECT_EQ(s.GetPixel(5, 5), kInk);
    EXPECT_EQ(s.GetPixel(5, 7), kInk);
    EXPECT_EQ(s.GetPixel(5, 4), kWhite);
    EXPECT_EQ(s.GetPixel(5, 8), kWhite);
}

TEST(Canvas, RectangleFillsAndBordersInside)
{
    Surface s(10, 10, kWhite);
    Canvas c(s);
    c.SetPen({ kInk, 1 });
    c.SetBrush({ 0x00FF00 });
    c.Rectangle({ 2, 2, 7, 6 });
    EXPECT_EQ(s.GetPixel(2, 2), kInk);
    EXPECT_EQ(s.GetPixel(6, 5), kInk);
    EXPECT_EQ(s.GetPixel(4, 4), 0x00FF00u);
    EXPECT_EQ(s.GetPixel(7, 4), kWhite);
    EXPECT_EQ(s.GetPixel(4, 6), kWhite);
    c.SetPen(Pen::None());
    c.SetBrush({ 0x0000FF });
    c.Rectangle({ 0, 8, 3, 10 });
    EXPECT_EQ(s.GetPixel(0, 8), 0x0000FFu);
}

TEST(Canvas, OriginMovesDrawingAndTheClipStaysOnTheSurface)
{
    Surface s(10, 10, kWhite);
    Canvas c(s);
    c.SetOrigin({ -3, -2 });
    const Region clip = Region::FromRect({ 0, 0, 4, 10 });
    c.SetClip(&clip);
    c.FillRect({ 3, 2, 13, 4 }, kInk); // surface (0, 0) to (10, 2), clipped to x < 4
    EXPECT_EQ(s.GetPixel(0, 0), kInk);
    EXPECT_EQ(s.GetPixel(3, 1), kInk);
    EXPECT_EQ(s.GetPixel(4, 1), kWhite);
    EXPECT_EQ(s.GetPixel(0, 2), kWhite);
}

TEST(Canvas, SaveAndRestoreKeepTheClipStack)
{
    Surface s(10, 1, kWhite);
    Canvas c(s);
    const Region left = Region::FromRect({ 0, 0, 5, 1 });
    const Region middle = Region::FromRect({ 3, 0, 7, 1 });
    c.SetClip(&left);
    c.Save();
    c.SetClip(&middle);
    c.SetOrigin({ 1, 0 });
    c.FillRect({ -1, 0, 9, 1 }, 1);
    c.Restore();
    c.FillRect({ 0, 0, 10, 1 }, 2);
    c.Restore(); // nothing saved: no effect
    c.SetClip(nullptr);
    c.FillRect({ 9, 0, 10, 1 }, 3);
    const std::vector<Pixel> expected { 2, 2, 2, 2, 2, 1, 1, kWhite, kWhite, 3 };
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(s.GetPixel(x, 0), expected[std::size_t(x)]) << x;
}

TEST(Canvas, PolygonAndEllipseFillTheirInteriors)
{
    Surface s(20, 20, kWhite);
    Canvas c(s);
    c.SetPen({ kInk, 1 });
    c.SetBrush({ 0x00FF00 });
    const std::vector<Point> diamond { { 5, 0 }, { 10, 5 }, { 5, 10 }, { 0, 5 } };
    c.Polygon(diamond);
    EXPECT_EQ(s.GetPixel(5, 5), 0x00FF00u);
    EXPECT_EQ(s.GetPixel(1, 1), kWhite);
    EXPECT_EQ(s.GetPixel(9, 4), kInk); // on the outline
    c.Ellipse({ 10, 10, 20, 16 });
    EXPECT_EQ(s.GetPixel(15, 13), 0x00FF00u);
    EXPECT_EQ(s.GetPixel(10, 13), kInk);
    EXPECT_EQ(s.GetPixel(10, 10), kWhite);
    EXPECT_EQ(s.GetPixel(19, 15), kWhite);
}

TEST(Canvas, MaskedDrawCopiesWhereTheMaskIsClear)
{
    Surface picture(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            picture.SetPixel(x, y, Pixel(10 * y + x + 1));
    MonoMask mask(4, 4, true);
    mask.SetTransparent(1, 1, false);
    mask.SetTransparent(2, 1, false);
    mask.SetTransparent(3, 3, false);
    Surface s(8, 8, kWhite);
    Canvas c(s);
    c.SetOrigin({ 1, 1 });
    c.MaskedDraw({ 2, 2 }, { 3, 3 }, picture, { 1, 0 }, mask, { 1, 1 });
    // Destination (3 + i, 3 + j) takes picture (1 + i, j) where mask (1 + i, 1 + j) is clear.
    EXPECT_EQ(s.GetPixel(3, 3), picture.GetPixel(1, 0));
    EXPECT_EQ(s.GetPixel(4, 3), picture.GetPixel(2, 0));
    EXPECT_EQ(s.GetPixel(5, 5), picture.GetPixel(3, 2));
    EXPECT_EQ(s.GetPixel(3, 4), kWhite);
    EXPECT_EQ(s.GetPixel(5, 3), kWhite);
    int changed = 0;
    for (Pixel p : s.Pixels())
        changed += p != kWhite;
    EXPECT_EQ(changed, 3);
    // A mask made from a picture: light is transparent.
    Surface art(2, 1);
    art.SetPixel(0, 0, kWhite);
    art.SetPixel(1, 0, 0x101010);
    const MonoMask fromArt = MonoMask::FromPicture(art);
    EXPECT_TRUE(fromArt.IsTransparent(0, 0));
    EXPECT_FALSE(fromArt.IsTransparent(1, 0));
    EXPECT_TRUE(fromArt.IsTransparent(2, 0));
}

class CanvasText : public ::testing::Test {
protected:
    Font m_font { FontSpec { "MS Sans Serif", -16, 400, false, false } };
};

TEST_F(CanvasText, ExtentsGrowWithTheTextAndKeepTheCellHeight)
{
    ASSERT_TRUE(m_font.IsValid());
    Surface s(1, 1);
    Canvas c(s);
    EXPECT_EQ(c.TextExtent("abc"), (Size {})); // no font yet
    c.SetFont(&m_font);
    const Size one = c.TextExtent("W");
    const Size three = c.TextExtent("WWW");
    EXPECT_GT(one.width, 5);
    EXPECT_EQ(three.width, 3 * one.width);
    EXPECT_EQ(one.height, m_font.CellHeight());
    EXPECT_EQ(c.TextExtent("").width, 0);
    EXPECT_GT(c.TextExtent("Wi").width, c.TextExtent("ii").width);
    // A positive height is the cell height.
    const Font cell(FontSpec { "Times New Roman", 20 });
    ASSERT_TRUE(cell.IsValid());
    EXPECT_NEAR(cell.CellHeight(), 20, 1);
    // Bold is wider than regular.
    const Font bold(FontSpec { "MS Sans Serif", -16, 700 });
    EXPECT_GT(bold.Extent("abcdefghijklmnop").width, m_font.Extent("abcdefghijklmnop").width);
}

TEST_F(CanvasText, AlignmentPlacesTheInkAroundThePoint)
{
    struct AlignCase {
        HAlign h;
        VAlign v;
    };
    for (AlignCase a : { AlignCase { HAlign::Left, VAlign::Top }, AlignCase { HAlign::Centre, VAlign::Baseline },
             AlignCase { HAlign::Right, VAlign::Bottom } }) {
        Surface s(200, 100, kWhite);
        Canvas c(s);
        c.SetFont(&m_font);
        c.SetTextColour(kInk);
        c.SetTransparentText(true);
        c.SetTextAlign(a.h, a.v);
        c.TextOut({ 100, 50 }, "Hexes");
        const Rect ink = InkBox(s, kWhite);
        ASSERT_FALSE(ink.IsEmpty());
        const int width = c.TextExtent("Hexes").width;
        if (a.h == HAlign::Left) {
            EXPECT_GE(ink.left, 100 - 1);
            EXPECT_LE(ink.right, 100 + width + 1);
        } else if (a.h == HAlign::Right) {
            EXPECT_LE(ink.right, 100 + 1);
            EXPECT_GE(ink.left, 100 - width - 1);
        } else {
            EXPECT_LE(std::abs((ink.left + ink.right) / 2 - 100), 2);
        }
        if (a.v == VAlign::Top)
            EXPECT_GE(ink.top, 50);
        else if (a.v == VAlign::Bottom)
            EXPECT_LE(ink.bottom, 50);
        else
            EXPECT_EQ(ink.bottom, 50); // "Hexes" has no descender
    }
}

TEST_F(CanvasText, OpaqueTextFillsItsCellAndMonochromeTextHasTwoColours)
{
    Surface s(100, 40, kWhite);
    Canvas c(s);
    c.SetFont(&m_font);
    c.SetTextColour(kInk);
    c.SetBackColour(0x00FF00);
    c.TextOut({ 10, 5 }, "ii");
    const Size extent = c.TextExtent("ii");
    EXPECT_EQ(InkBox(s, kWhite), Rect::FromPointSize({ 10, 5 }, extent));

    const Font mono(FontSpec { "MS Sans Serif", -16, 400, false, true });
    Surface m(100, 40, kWhite);
    Canvas cm(m);
    cm.SetFont(&mono);
    cm.SetTextColour(kInk);
    cm.SetTransparentText(true);
    cm.TextOut({ 2, 2 }, "Velmora 1944");
    std::set<Pixel> colours(m.Pixels().begin(), m.Pixels().end());
    EXPECT_EQ(colours, (std::set<Pixel> { kWhite, kInk }));
}

TEST_F(CanvasText, DrawTextCentresAndClipsToItsRectangle)
{
    Surface s(120, 60, kWhite);
    Canvas c(s);
    c.SetFont(&m_font);
    c.SetTextColour(kInk);
    c.SetTransparentText(true);
    const Rect box { 20, 10, 100, 50 };
    c.DrawText(box, "Ford", kTextCentre | kTextVCentre | kTextSingleLine);
    const Rect ink = InkBox(s, kWhite);
    EXPECT_LE(std::abs((ink.left + ink.right) / 2 - 60), 2);
    EXPECT_LE(std::abs((ink.top + ink.bottom) / 2 - 30), 4);
    Surface t(120, 60, kWhite);
    Canvas ct(t);
    ct.SetFont(&m_font);
    ct.SetTransparentText(true);
    ct.DrawText({ 0, 0, 30, 8 }, "A long line of text", kTextLeft | kTextSingleLine);
    const Rect clipped = InkBox(t, kWhite);
    EXPECT_LE(clipped.right, 30);
    EXPECT_LE(clipped.bottom, 8);
    // Lines stack by the cell height.
    Surface u(120, 60, kWhite);
    Canvas cu(u);
    cu.SetFont(&m_font);
    cu.SetTransparentText(true);
    cu.DrawText({ 0, 0, 120, 60 }, "A\nA", kTextLeft);
    EXPECT_GE(InkBox(u, kWhite).Height(), m_font.CellHeight());
}

TEST(Font, AMissingFontFileGivesAnInvalidFontThatDrawsNothing)
{
    const char* old = std::getenv("VL_FONT_DIR");
    const std::string saved = old ? old : "";
    setenv("VL_FONT_DIR", "/nonexistent-font-folder", 1);
    const Font font(FontSpec {});
    if (old)
        setenv("VL_FONT_DIR", saved.c_str(), 1);
    else
        unsetenv("VL_FONT_DIR");
    EXPECT_FALSE(font.IsValid());
    EXPECT_EQ(font.Extent("abc"), (Size { 0, 0 }));
    Surface s(10, 10, kWhite);
    Canvas c(s);
    c.SetFont(&font);
    c.TextOut({ 0, 0 }, "abc");
    EXPECT_TRUE(InkBox(s, kWhite).IsEmpty());
}

TEST(Font, DecodesUtf8ElseLatin1)
{
    EXPECT_EQ(Font::Decode("a\xC3\xA9"), std::u32string(U"a\u00E9"));
    EXPECT_EQ(Font::Decode("a\xE9z"), std::u32string(U"a\u00E9z"));
    EXPECT_EQ(Font::Decode("\xC3"), std::u32string(U"\u00C3"));
}

} // namespace
