#include <gtest/gtest.h>

#include <vector>

#include "platform/gfx/Blit.h"
#include "platform/gfx/Region.h"

using namespace platform;
using namespace platform::gfx;

namespace {

constexpr Pixel kKey = 0xFF00FF;
constexpr Pixel kBack = 0x000001;

// 4 by 3, pixel (x, y) = 100 + 10 y + x, except the keyed corner and (2, 1).
Surface Source(bool keyed)
{
    Surface s(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            s.SetPixel(x, y, Pixel(100 + 10 * y + x));
    if (keyed) {
        s.SetPixel(0, 0, kKey);
        s.SetPixel(2, 1, kKey);
        s.SetKeyFromCorner();
    }
    return s;
}

Pixel S(int x, int y) { return Pixel(100 + 10 * y + x); }

struct Probe {
    Point at;
    Pixel expected;
};

struct BlitCase {
    const char* name;
    Point at;
    Rect from;
    bool keyed;
    std::vector<Rect> clip; // empty: none
    std::vector<Probe> probes;
    int changed; // destination pixels that differ from the background
};

class BlitCases : public ::testing::TestWithParam<BlitCase> { };

TEST_P(BlitCases, DrawsWhatTheCaseExpects)
{
    const BlitCase& c = GetParam();
    Surface dst(6, 5, kBack);
    const Region clip = Region::FromRects(c.clip);
    const Surface src = Source(c.keyed);
    Blit(dst, c.at, src, c.from, { c.keyed, c.clip.empty() ? nullptr : &clip });
    for (const Probe& p : c.probes)
        EXPECT_EQ(dst.GetPixel(p.at.x, p.at.y), p.expected) << c.name << " at " << p.at.x << "," << p.at.y;
    int changed = 0;
    for (Pixel p : dst.Pixels())
        changed += p != kBack;
    EXPECT_EQ(changed, c.changed) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Blit, BlitCases,
    ::testing::Values(
        BlitCase { "whole", { 1, 1 }, { 0, 0, 4, 3 }, false, {},
            { { { 1, 1 }, S(0, 0) }, { { 4, 3 }, S(3, 2) }, { { 0, 0 }, kBack }, { { 5, 1 }, kBack } }, 12 },
        BlitCase { "part", { 0, 0 }, { 1, 1, 3, 3 }, false, {}, { { { 0, 0 }, S(1, 1) }, { { 1, 1 }, S(2, 2) } }, 4 },
        BlitCase { "clipped left and top", { -2, -1 }, { 0, 0, 4, 3 }, false, {},
            { { { 0, 0 }, S(2, 1) }, { { 1, 1 }, S(3, 2) }, { { 2, 0 }, kBack } }, 4 },
        BlitCase { "clipped right and bottom", { 4, 3 }, { 0, 0, 4, 3 }, false, {}, { { { 5, 4 }, S(1, 1) } }, 4 },
        BlitCase { "source past its surface", { 0, 0 }, { 2, 1, 7, 6 }, false, {},
            { { { 0, 0 }, S(2, 1) }, { { 1, 1 }, S(3, 2) }, { { 2, 0 }, kBack }, { { 0, 2 }, kBack } }, 4 },
        BlitCase { "source before its surface", { 0, 0 }, { -1, -1, 2, 2 }, false, {},
            { { { 1, 1 }, S(0, 0) }, { { 2, 2 }, S(1, 1) }, { { 0, 0 }, kBack } }, 4 },
        BlitCase { "source wholly outside", { 0, 0 }, { 4, 0, 6, 2 }, false, {}, {}, 0 },
        BlitCase { "cell past a sheet", { 0, 0 }, { 8, 0, 12, 3 }, false, {}, {}, 0 },
        BlitCase { "destination wholly outside", { 6, 0 }, { 0, 0, 4, 3 }, false, {}, {}, 0 },
        BlitCase { "empty source", { 0, 0 }, { 2, 2, 2, 3 }, false, {}, {}, 0 },
        BlitCase { "inverted source", { 0, 0 }, { 3, 2, 1, 1 }, false, {}, {}, 0 },
        BlitCase { "clip region", { 0, 0 }, { 0, 0, 4, 3 }, false, { { 1, 1, 3, 2 }, { 3, 0, 4, 1 } },
            { { { 1, 1 }, S(1, 1) }, { { 2, 1 }, S(2, 1) }, { { 3, 0 }, S(3, 0) }, { { 0, 0 }, kBack } }, 3 },
        BlitCase { "clip outside", { 0, 0 }, { 0, 0, 4, 3 }, false, { { 4, 3, 6, 5 } }, {}, 0 },
        BlitCase { "keyed", { 1, 1 }, { 0, 0, 4, 3 }, true, {},
            { { { 1, 1 }, kBack }, { { 3, 2 }, kBack }, { { 2, 1 }, S(1, 0) }, { { 4, 3 }, S(3, 2) } }, 10 },
        BlitCase { "keyed and clipped", { -1, 0 }, { 0, 0, 4, 3 }, true, { { 0, 0, 2, 5 } },
            { { { 0, 0 }, S(1, 0) }, { { 1, 1 }, kBack }, { { 0, 1 }, S(1, 1) } }, 5 }));

TEST(Blit, KeyedBlitOfAnUnkeyedSourceUsesItsCorner)
{
    Surface src = Source(false);
    src.SetPixel(0, 0, kKey);
    src.SetPixel(3, 2, kKey);
    Surface dst(4, 3, kBack);
    Blit(dst, { 0, 0 }, src, src.Bounds(), { true });
    EXPECT_EQ(dst.GetPixel(0, 0), kBack);
    EXPECT_EQ(dst.GetPixel(3, 2), kBack);
    EXPECT_EQ(dst.GetPixel(1, 0), S(1, 0));
}

// A row pattern in a 6 by 5 surface, blitted onto itself by (dx, dy): the
// moved part must equal the original, whichever way it moves.
TEST(Blit, OverlappingBlitsWithinOneSurfaceCopySafely)
{
    for (bool keyed : { false, true }) {
        for (Point by :
            { Point { 1, 0 }, Point { -1, 0 }, Point { 0, 1 }, Point { 0, -1 }, Point { 2, 1 }, Point { -1, -2 } }) {
            Surface s(6, 5);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 6; ++x)
                    s.SetPixel(x, y, Pixel(1000 + 10 * y + x));
            s.SetPixel(0, 0, kKey);
            if (keyed)
                s.SetKeyFromCorner();
            const Surface before = s;
            Blit(s, { 1 + by.x, 1 + by.y }, s, { 1, 1, 5, 4 }, { keyed });
            for (int y = 1; y < 4; ++y) {
                for (int x = 1; x < 5; ++x) {
                    if (!s.Bounds().Contains({ x + by.x, y + by.y }))
                        continue;
                    EXPECT_EQ(s.GetPixel(x + by.x, y + by.y), before.GetPixel(x, y))
                        << "keyed " << keyed << " by " << by.x << "," << by.y << " from " << x << "," << y;
                }
            }
        }
    }
}

TEST(Blit, OverlappingBlitThroughAClipCopiesFromTheOriginal)
{
    Surface s(8, 1);
    for (int x = 0; x < 8; ++x)
        s.SetPixel(x, 0, Pixel(x));
    const Region clip = Region::FromRects(std::vector<Rect> { { 1, 0, 3, 1 }, { 4, 0, 8, 1 } });
    Blit(s, { 1, 0 }, s, { 0, 0, 7, 1 }, { false, &clip });
    const std::vector<Pixel> expected { 0, 0, 1, 3, 3, 4, 5, 6 };
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(s.GetPixel(x, 0), expected[std::size_t(x)]) << x;
}

TEST(Blit, KeyedBlitSeesChangesMadeAfterKeying)
{
    Surface src = Source(true);
    Surface dst(4, 3, kBack);
    Blit(dst, { 0, 0 }, src, src.Bounds(), { true });
    EXPECT_EQ(dst.GetPixel(2, 1), kBack);
    src.SetPixel(2, 1, 77);
    Blit(dst, { 0, 0 }, src, src.Bounds(), { true });
    EXPECT_EQ(dst.GetPixel(2, 1), 77u);
}

// Keyed blits copy by runs, or pixel by pixel where runs are dense; either
// way each destination pixel must follow the plain rule: the source pixel
// unless it has the key colour (any top byte), else left alone.
Surface PatternRows(int width)
{
    // Rows: solid, one run, stipple, dots every fifth, runs of 3 apart by 2,
    // keyed through; key pixels carry different top bytes.
    Surface s(width, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < width; ++x) {
            const bool opaque = y == 0 || (y == 1 && x > 10 && x < width - 7) || (y == 2 && x % 2 == 1)
                || (y == 3 && x % 5 == 2) || (y == 4 && x % 5 < 3);
            // Some opaque pixels differ from the key in one colour bit only.
            const Pixel colour = x % 4 == 0 ? kKey ^ (Pixel(1) << (x % 24)) : Pixel(0x10000 * y + x + 1);
            s.SetPixel(x, y, opaque ? colour : Pixel(kKey | (Pixel(x % 3) << 24)));
        }
    s.SetPixel(0, 0, kKey);
    s.SetKeyFromCorner();
    return s;
}

void ExpectKeyedBlitFollowsThePixelRule(const Surface& src, Rect from, Point at, const Region* clip)
{
    Surface dst(90, 8, kBack);
    Blit(dst, at, src, from, { true, clip });
    for (int y = 0; y < dst.Height(); ++y)
        for (int x = 0; x < dst.Width(); ++x) {
            const Point s { x - at.x + from.left, y - at.y + from.top };
            const bool inside = from.Contains(s) && src.Bounds().Contains(s) && (!clip || clip->Contains({ x, y }));
            const Pixel p = inside ? src.GetPixel(s.x, s.y) : kBack;
            const Pixel expected = inside && !SameColour(p, kKey) ? p : kBack;
            ASSERT_EQ(dst.GetPixel(x, y), expected)
                << "from " << from.left << "," << from.top << " " << from.Width() << "x" << from.Height() << " at "
                << at.x << "," << at.y << " clip " << (clip != nullptr) << " pixel " << x << "," << y;
        }
}

TEST(Blit, KeyedBlitsOfSolidSparseAndDenseRowsFollowThePixelRule)
{
    const Surface src = PatternRows(70);
    const Region clip = Region::FromRects(std::vector<Rect> { { 3, 0, 20, 8 }, { 24, 2, 61, 7 } });
    for (int left : { 0, 1, 2, 9, 33, 64 })
        for (int width : { 1, 3, 17, 40, 70 })
            for (Point at : { Point { 0, 0 }, Point { 5, 1 }, Point { -7, -2 }, Point { 60, 3 } })
                for (const Region* c : { static_cast<const Region*>(nullptr), &clip })
                    ExpectKeyedBlitFollowsThePixelRule(src, { left, 0, left + width, 6 }, at, c);
}

TEST(Blit, KeyedBlitsFromAVeryWideSurfaceFollowThePixelRule)
{
    // Too wide for the column index of runs: rows are searched instead.
    const Surface src = PatternRows(131080);
    for (int left : { 0, 65000, 131040 })
        ExpectKeyedBlitFollowsThePixelRule(src, { left, 0, left + 40, 6 }, { 3, 1 }, nullptr);
}

// The cell blit must draw what the plain blit draws, over clips, keys,
// sheet edges and destination edges, and again from its kept pieces.
void ExpectCellBlitMatchesBlit(const Surface& src, Rect from, Point at, Rect clip, bool keyed)
{
    Surface expected(90, 8, kBack);
    const Region region = Region::FromRect(clip);
    Blit(expected, at, src, from, { keyed, &region });
    for (int pass = 0; pass < 2; ++pass) {
        Surface dst(90, 8, kBack);
        BlitCell(dst, at, src, from, clip, keyed);
        for (int y = 0; y < dst.Height(); ++y)
            for (int x = 0; x < dst.Width(); ++x)
                ASSERT_EQ(dst.GetPixel(x, y), expected.GetPixel(x, y))
                    << "pass " << pass << " from " << from.left << "," << from.top << " " << from.Width() << "x"
                    << from.Height() << " at " << at.x << "," << at.y << " clip " << clip.left << "," << clip.top << ","
                    << clip.right << "," << clip.bottom << " keyed " << keyed << " pixel " << x << "," << y;
    }
}

TEST(Blit, CellBlitsDrawWhatPlainBlitsDraw)
{
    struct Restore {
        ~Restore() { SetCellBlitVectorBytes(0); }
    } restore;
    const Surface keyedSource = PatternRows(70);
    Surface plainSource = PatternRows(70);
    plainSource.ClearKey();
    const Rect clips[] = { { 0, 0, 90, 8 }, { 3, 1, 20, 8 }, { 24, 2, 61, 7 }, { 10, 3, 11, 4 }, {} };
    for (int vectorBytes : { 16, 32 })
        for (const Surface* src : { &keyedSource, static_cast<const Surface*>(&plainSource) })
            for (bool keyed : { true, false })
                for (Rect from : { Rect { 0, 0, 70, 6 }, Rect { 9, 0, 26, 6 }, Rect { 33, 1, 73, 4 },
                         Rect { -4, -1, 13, 5 }, Rect { 64, 2, 80, 9 }, Rect { 80, 0, 90, 6 } })
                    for (Point at : { Point { 0, 0 }, Point { 5, 1 }, Point { -7, -2 }, Point { 60, 3 } })
                        for (const Rect& clip : clips) {
                            SetCellBlitVectorBytes(vectorBytes);
                            ExpectCellBlitMatchesBlit(*src, from, at, clip, keyed);
                        }
}

TEST(Blit, CellBlitsFromAVeryWideSurfaceDrawWhatPlainBlitsDraw)
{
    // Cells past 65535 pixels in would share kept pieces with those 65536
    // pixels before them if their place were kept in 16 bits.
    const Surface src = PatternRows(131080);
    for (int left : { 8, 65544, 131040 })
        ExpectCellBlitMatchesBlit(src, { left, 0, left + 40, 6 }, { 5, 1 }, { 0, 0, 90, 8 }, true);
}

TEST(Blit, CellBlitKeepsPiecesUntilTheSheetChanges)
{
    Surface src = Source(true);
    Surface dst(4, 3, kBack);
    BlitCell(dst, { 0, 0 }, src, src.Bounds(), dst.Bounds(), true);
    EXPECT_EQ(dst.GetPixel(2, 1), kBack);
    EXPECT_EQ(src.CachedCellCount(), 1u);
    BlitCell(dst, { 0, 0 }, src, src.Bounds(), dst.Bounds(), true);
    EXPECT_EQ(src.CachedCellCount(), 1u);
    // A changed pixel (a reloaded sheet alike) drops the kept pieces.
    src.SetPixel(2, 1, 77);
    EXPECT_EQ(src.CachedCellCount(), 0u);
    BlitCell(dst, { 0, 0 }, src, src.Bounds(), dst.Bounds(), true);
    EXPECT_EQ(dst.GetPixel(2, 1), 77u);
    src.Row(1)[2] = kKey;
    src.Row(0)[3] = 55;
    dst.Fill(kBack);
    BlitCell(dst, { 0, 0 }, src, src.Bounds(), dst.Bounds(), true);
    EXPECT_EQ(dst.GetPixel(2, 1), kBack);
    EXPECT_EQ(dst.GetPixel(3, 0), 55u);
    src = Source(true);
    dst.Fill(kBack);
    BlitCell(dst, { 0, 0 }, src, src.Bounds(), dst.Bounds(), true);
    EXPECT_EQ(dst.GetPixel(3, 0), S(3, 0));
}

TEST(Blit, CellBlitWithinOneSurfaceCopiesFromTheOriginal)
{
    Surface s = Source(true);
    BlitCell(s, { 1, 0 }, s, { 0, 0, 3, 3 }, s.Bounds(), true);
    EXPECT_EQ(s.GetPixel(1, 0), S(1, 0)); // the key at (0, 0) left it alone
    EXPECT_EQ(s.GetPixel(2, 0), S(1, 0));
    EXPECT_EQ(s.GetPixel(3, 0), S(2, 0));
    EXPECT_EQ(s.GetPixel(3, 1), S(3, 1)); // the key at (2, 1) left it alone
}

struct StretchCase {
    const char* name;
    Rect to;
    Rect from;
    bool keyed;
    std::vector<Probe> probes;
};

class StretchCases : public ::testing::TestWithParam<StretchCase> { };

TEST_P(StretchCases, SamplesTheFloorOfTheScaledPosition)
{
    const StretchCase& c = GetParam();
    Surface dst(10, 8, kBack);
    const Surface src = Source(c.keyed);
    StretchBlit(dst, c.to, src, c.from, { c.keyed });
    for (const Probe& p : c.probes)
        EXPECT_EQ(dst.GetPixel(p.at.x, p.at.y), p.expected) << c.name << " at " << p.at.x << "," << p.at.y;
}

INSTANTIATE_TEST_SUITE_P(Stretch, StretchCases,
    ::testing::Values(StretchCase { "double", { 0, 0, 8, 6 }, { 0, 0, 4, 3 }, false,
                          { { { 0, 0 }, S(0, 0) }, { { 1, 1 }, S(0, 0) }, { { 2, 0 }, S(1, 0) }, { { 7, 5 }, S(3, 2) },
                              { { 8, 0 }, kBack } } },
        StretchCase {
            "halve", { 0, 0, 2, 1 }, { 0, 0, 4, 2 }, false, { { { 0, 0 }, S(0, 0) }, { { 1, 0 }, S(2, 0) } } },
        StretchCase {
            "three onto two", { 0, 0, 2, 1 }, { 1, 0, 4, 1 }, false, { { { 0, 0 }, S(1, 0) }, { { 1, 0 }, S(2, 0) } } },
        StretchCase { "clipped to the destination", { -4, -2, 4, 4 }, { 0, 0, 4, 3 }, false,
            { { { 0, 0 }, S(2, 1) }, { { 3, 3 }, S(3, 2) }, { { 4, 0 }, kBack } } },
        StretchCase { "keyed", { 0, 0, 8, 6 }, { 0, 0, 4, 3 }, true,
            { { { 0, 0 }, kBack }, { { 1, 1 }, kBack }, { { 4, 2 }, kBack }, { { 2, 0 }, S(1, 0) } } },
        StretchCase { "source past its surface", { 0, 0, 4, 1 }, { 2, 0, 6, 1 }, false,
            { { { 0, 0 }, S(2, 0) }, { { 1, 0 }, S(3, 0) }, { { 2, 0 }, kBack }, { { 3, 0 }, kBack } } }));

} // namespace
