#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "HandmadeBmp.h"
#include "TempDir.h"
#include "mapview/graphics/BarGauge.h"
#include "mapview/graphics/DibFile.h"
#include "mapview/graphics/FileBitmap.h"
#include "mapview/graphics/FontObjects.h"
#include "mapview/graphics/MaskedBitmap.h"
#include "platform/gfx/Bmp.h"

using namespace platform;
using namespace platform::gfx;
using namespace handmade_bmp;

namespace {

constexpr Pixel kWhite = 0xFFFFFF;
constexpr Pixel kRed = 0xFF0000;
constexpr Pixel kGrey = 0x808080;

// Pixel (x, y) = colour (x, y, 7) unless painted over.
Surface Gradient(int width, int height)
{
    Surface s(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            s.SetPixel(x, y, Rgb(x, y, 7));
    return s;
}

DibFile DibOf(const Surface& picture)
{
    DibFile dib;
    EXPECT_TRUE(dib.Read(WriteBmp(picture)));
    return dib;
}

// ---- DibFile ----

TEST(DibFile, ColourTableEntriesByBitCountAndUsedCount)
{
    struct Case {
        int bits;
        std::uint32_t used;
        int colours;
    };
    for (const Case& c : { Case { 8, 0, 256 }, Case { 8, 300, 256 }, Case { 8, 16, 16 }, Case { 4, 0, 16 },
             Case { 1, 0, 2 }, Case { 24, 0, 0 }, Case { 32, 5, 0 } }) {
        Bytes b = Handmade(c.bits);
        Put(b, 46, c.used, 4);
        DibFile dib;
        ASSERT_TRUE(dib.Read(b)) << c.bits << " " << c.used;
        EXPECT_EQ(dib.Colours(), c.colours) << c.bits << " " << c.used;
        EXPECT_EQ(dib.Width(), 3);
        EXPECT_EQ(dib.Height(), 2);
    }
}

struct DibRefusal {
    const char* name;
    std::function<void(Bytes&)> spoil;
    BmpError expected;
};

class DibRefusals : public ::testing::TestWithParam<DibRefusal> { };

// A refused file empties a picture read before, so nothing half-made or
// stale is drawn.
TEST_P(DibRefusals, LeaveTheFileEmpty)
{
    const DibRefusal& r = GetParam();
    Bytes b = Handmade(8);
    r.spoil(b);
    DibFile dib;
    ASSERT_TRUE(dib.Read(Handmade(8)));
    EXPECT_FALSE(dib.Read(b)) << r.name;
    EXPECT_EQ(dib.Error(), r.expected) << r.name;
    EXPECT_TRUE(dib.IsEmpty()) << r.name;
    EXPECT_EQ(dib.Width(), 0) << r.name;
    EXPECT_EQ(dib.Colours(), 0) << r.name;
}

INSTANTIATE_TEST_SUITE_P(DibFile, DibRefusals,
    ::testing::Values(DibRefusal { "no BM", [](Bytes& b) { b[0] = 'M'; }, BmpError::NotBmp },
        DibRefusal { "cut in the headers", [](Bytes& b) { b.resize(30); }, BmpError::Truncated },
        DibRefusal { "two planes", [](Bytes& b) { Put(b, 26, 2, 2); }, BmpError::Planes },
        DibRefusal { "compressed", [](Bytes& b) { Put(b, 30, 1, 4); }, BmpError::Compression },
        DibRefusal { "16 bits", [](Bytes& b) { Put(b, 28, 16, 2); }, BmpError::BitCount },
        DibRefusal { "rows past the file", [](Bytes& b) { b.pop_back(); }, BmpError::PastFile },
        DibRefusal { "index past the table", [](Bytes& b) { Put(b, 46, 1, 4); }, BmpError::PaletteIndex }));

TEST(DibFile, ReadsFilesByPathAndByAssetNameAndStaysEmptyWithoutOne)
{
    TempDir dir;
    ASSERT_TRUE(WriteBmpFile(dir.Path("Pic.bmp"), Gradient(4, 3)));
    const DibFile byPath(dir.Path("Pic.bmp"));
    EXPECT_EQ(byPath.Picture().GetPixel(3, 2), Rgb(3, 2, 7));
    const AssetFiles assets(dir.Path());
    const DibFile byName(assets, "PIC.BMP");
    EXPECT_EQ(byName.Width(), 4);
    EXPECT_EQ(byName.Colours(), 0);
    for (const DibFile& missing : { DibFile(dir.Path("none.bmp")), DibFile(assets, "none.bmp") }) {
        EXPECT_TRUE(missing.IsEmpty());
        EXPECT_EQ(missing.Error(), BmpError::CannotOpen);
    }
}

// ---- CMaskedBitmap ----

// A 6 by 4 picture on `background` with a grey 2 by 2 block at (2, 1) and a
// white pixel at (5, 3).
Surface Sprite(Pixel background)
{
    Surface s(6, 4, background);
    s.Fill({ 2, 1, 4, 3 }, kGrey);
    s.SetPixel(5, 3, kWhite);
    return s;
}

TEST(MaskedBitmap, CornerColourIsTransparentWherever)
{
    const CMaskedBitmap bitmap(DibOf(Sprite(kWhite)));
    EXPECT_EQ(bitmap.TransparentColour(), kWhite);
    Surface target(10, 10, kRed);
    Canvas canvas(target);
    bitmap.DrawTransparent(canvas, { 1, 1, 7, 5 }, { 0, 0 });
    EXPECT_EQ(target.GetPixel(1, 1), kRed); // corner
    EXPECT_EQ(target.GetPixel(6, 4), kRed); // the other white pixel
    EXPECT_EQ(target.GetPixel(3, 2), kGrey);
    EXPECT_EQ(target.GetPixel(4, 3), kGrey);
    EXPECT_EQ(target.GetPixel(5, 4), kRed); // just below the block
}

TEST(MaskedBitmap, GivenColourIsTheOnlyTransparentOne)
{
    const CMaskedBitmap bitmap(DibOf(Sprite(0)), kGrey);
    Surface target(6, 4, kRed);
    Canvas canvas(target);
    bitmap.DrawTransparent(canvas, { 0, 0, 6, 4 }, { 0, 0 });
    EXPECT_EQ(target.GetPixel(0, 0), 0u); // black drawn
    EXPECT_EQ(target.GetPixel(2, 1), kRed);
    EXPECT_EQ(target.GetPixel(5, 3), kWhite);
}

TEST(MaskedBitmap, DrawsPartsThroughOriginAndClipAndNothingPastThePicture)
{
    const CMaskedBitmap bitmap(Sprite(kWhite));
    Surface target(10, 10, kRed);
    Canvas canvas(target);
    canvas.SetOrigin({ 1, 0 });
    const Region clip = Region::FromRect({ 0, 0, 10, 3 });
    canvas.SetClip(&clip);
    // Source (2, 1) at logical (4, 1), 6 by 6: the block and past the picture.
    bitmap.DrawTransparent(canvas, { 4, 1, 10, 7 }, { 2, 1 });
    EXPECT_EQ(target.GetPixel(5, 1), kGrey);
    EXPECT_EQ(target.GetPixel(6, 2), kGrey);
    EXPECT_EQ(target.GetPixel(5, 3), kRed); // clipped
    EXPECT_EQ(target.GetPixel(9, 1), kRed); // past the picture's right edge
}

TEST(MaskedBitmap, ScaledCopiesTruncateAndKeepTheMask)
{
    struct Case {
        int side, num, den, expected;
    };
    for (const Case& c : { Case { 64, 1, 2, 32 }, Case { 65, 1, 2, 32 }, Case { 65, 1, 4, 16 }, Case { 3, 1, 4, 0 },
             Case { 8, 3, 2, 12 }, Case { 8, 1, 0, 0 }, Case { 8, -1, 2, 0 }, Case { 8, 1 << 30, 1, 0 } }) {
        const CMaskedBitmap source(Surface(c.side, c.side, kWhite));
        const CMaskedBitmap copy(source, c.num, c.den);
        EXPECT_EQ(copy.Width(), c.expected) << c.side << " " << c.num << "/" << c.den;
        EXPECT_EQ(copy.Height(), c.expected) << c.side << " " << c.num << "/" << c.den;
    }
    // A half copy: the 4 by 4 block at (4, 2) becomes 2 by 2 at (2, 1), and
    // the white around it stays transparent.
    Surface big(12, 8, kWhite);
    big.Fill({ 4, 2, 8, 6 }, kGrey);
    const CMaskedBitmap half(CMaskedBitmap(big), 1, 2);
    EXPECT_EQ(half.TransparentColour(), kWhite);
    Surface target(6, 4, kRed);
    Canvas canvas(target);
    half.DrawTransparent(canvas, { 0, 0, 6, 4 }, { 0, 0 });
    EXPECT_EQ(target.GetPixel(2, 1), kGrey);
    EXPECT_EQ(target.GetPixel(3, 2), kGrey);
    EXPECT_EQ(target.GetPixel(1, 1), kRed);
    EXPECT_EQ(target.GetPixel(4, 2), kRed);
}

TEST(MaskedBitmap, EmptyPictureDrawsNothing)
{
    const CMaskedBitmap empty(DibFile {});
    Surface target(2, 2, kRed);
    Canvas canvas(target);
    empty.DrawTransparent(canvas, { 0, 0, 2, 2 }, { 0, 0 });
    EXPECT_EQ(target.GetPixel(0, 0), kRed);
    EXPECT_TRUE(CMaskedBitmap(empty, 1, 2).IsEmpty());
}

// ---- FileBitmap ----

TEST(FileBitmap, CopiesTheRectangleFromItsPictureAndNothingWhenMissing)
{
    TempDir dir;
    ASSERT_TRUE(WriteBmpFile(dir.Path("backdrop.bmp"), Gradient(8, 8)));
    const AssetFiles assets(dir.Path());
    const FileBitmap bitmap(assets, "Backdrop.BMP");
    EXPECT_EQ(bitmap.GetWidth(), 8);
    EXPECT_EQ(bitmap.GetHeight(), 8);
    Surface target(6, 6, kRed);
    Canvas canvas(target);
    bitmap.Draw(canvas, { 1, 1, 5, 5 }, { 5, 6 }); // only 3 by 2 of the picture there
    EXPECT_EQ(target.GetPixel(1, 1), Rgb(5, 6, 7));
    EXPECT_EQ(target.GetPixel(3, 2), Rgb(7, 7, 7));
    EXPECT_EQ(target.GetPixel(4, 1), kRed);
    EXPECT_EQ(target.GetPixel(1, 3), kRed);

    const FileBitmap missing(dir.Path("none.bmp"));
    EXPECT_EQ(missing.GetWidth(), 0);
    missing.Draw(canvas, { 0, 0, 6, 6 }, { 0, 0 });
    EXPECT_EQ(target.GetPixel(0, 0), kRed);
}

// ---- BarGauge ----

struct GaugeCase {
    const char* name;
    bool horizontal;
    int percent;
    // Which pixels of the 12 by 6 gauge's inner 10 by 4 are bar-coloured.
    std::function<bool(int x, int y)> inBar;
};

class Gauges : public ::testing::TestWithParam<GaugeCase> { };

TEST_P(Gauges, FillTheirShareOfTheInnerBox)
{
    const GaugeCase& c = GetParam();
    constexpr Pixel kGreen = 0x00FF00, kBorder = 0x0000FF;
    BarGauge gauge({ 12, 6 });
    gauge.SetHorizontal(c.horizontal);
    gauge.SetColour(kGreen);
    Surface target(16, 10, kRed);
    Canvas canvas(target);
    canvas.SetPen({ kBorder, 1 });
    canvas.SetBrush(Brush::None());
    gauge.Draw(canvas, { 2, 2 }, c.percent);
    for (int x = 0; x < 12; ++x) {
        EXPECT_EQ(target.GetPixel(2 + x, 2), kBorder) << c.name;
        EXPECT_EQ(target.GetPixel(2 + x, 7), kBorder) << c.name;
    }
    EXPECT_EQ(target.GetPixel(1, 2), kRed) << c.name;
    EXPECT_EQ(target.GetPixel(14, 2), kRed) << c.name;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(target.GetPixel(3 + x, 3 + y), c.inBar(x, y) ? kGreen : kWhite) << c.name << " " << x << "," << y;
    // The caller's pen and brush are back.
    EXPECT_EQ(canvas.GetPen().colour, kBorder);
    EXPECT_TRUE(canvas.GetBrush().none);
}

INSTANTIATE_TEST_SUITE_P(BarGauge, Gauges,
    ::testing::Values(GaugeCase { "0 percent", true, 0, [](int, int) { return false; } },
        GaugeCase { "100 percent across", true, 100, [](int, int) { return true; } },
        GaugeCase { "35 percent across", true, 35, [](int x, int) { return x < 3; } },
        GaugeCase { "50 percent up", false, 50, [](int, int y) { return y >= 2; } },
        GaugeCase { "over 100 stays inside", true, 250, [](int, int) { return true; } },
        GaugeCase { "below 0 is empty", false, -40, [](int, int) { return false; } }));

// ---- Fonts ----

TEST(FontObjects, HeightIsTheCellAndWeightChoosesBold)
{
    const auto normal = CreateFontObject("Times New Roman", 14, 400);
    const auto bold = CreateFontObject("Times New Roman", 14, 700);
    ASSERT_TRUE(normal->IsValid());
    ASSERT_TRUE(bold->IsValid());
    EXPECT_NEAR(normal->CellHeight(), 14, 1);
    EXPECT_GT(bold->Extent("Hexes held").width, normal->Extent("Hexes held").width);
    EXPECT_EQ(CreateFontObject("MS Sans Serif", 12, 700)->Spec().weight, 700);
}

} // namespace
