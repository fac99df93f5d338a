#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "HandmadeBmp.h"
#include "TempDir.h"
#include "platform/gfx/Bmp.h"
#include "platform/gfx/MonoMask.h"
#include "platform/gfx/Png.h"

using namespace platform;
using namespace platform::gfx;
using namespace handmade_bmp;

namespace {

TEST(Bmp, ReadsEveryBitCountBothWaysUp)
{
    for (int bits : { 4, 8 }) {
        for (int height : { 2, -2 }) {
            Surface s;
            ASSERT_EQ(ReadBmp(Handmade(bits, height), s), BmpError::None) << bits << " " << height;
            ASSERT_EQ(s.GetSize(), (Size { 3, 2 }));
            EXPECT_EQ(s.GetPixel(0, 0), 0u);
            EXPECT_EQ(s.GetPixel(2, 0), 0x505050u);
            EXPECT_EQ(s.GetPixel(2, 1), 0x787878u);
        }
    }
    for (int bits : { 24, 32 }) {
        for (int height : { 2, -2 }) {
            Surface s;
            ASSERT_EQ(ReadBmp(Handmade(bits, height), s), BmpError::None) << bits << " " << height;
            EXPECT_EQ(s.GetPixel(2, 1), Rgb(2, 1, 7));
            EXPECT_EQ(s.GetPixel(0, 0), Rgb(0, 0, 7));
        }
    }
    // 1 bit: indices x + y of 0 or 1 are black or the second entry.
    Bytes mono = Handmade(1);
    Put(mono, 58, 0xFFFFFF, 4); // white second entry
    Surface s;
    ASSERT_EQ(ReadBmp(mono, s), BmpError::None);
    EXPECT_EQ(s.GetPixel(0, 0), 0u);
    EXPECT_EQ(s.GetPixel(1, 0), 0xFFFFFFu);
    EXPECT_TRUE(MonoMask::FromPicture(s).IsTransparent(1, 0));
}

TEST(Bmp, SkipsALongerInfoHeader)
{
    Bytes b = Handmade(24);
    b.insert(b.begin() + 54, 84, 0); // a 124-byte header
    Put(b, 14, 124, 4);
    Put(b, 10, 54 + 84, 4);
    Surface s;
    ASSERT_EQ(ReadBmp(b, s), BmpError::None);
    EXPECT_EQ(s.GetPixel(1, 1), Rgb(1, 1, 7));
}

struct Refusal {
    const char* name;
    int bits;
    std::function<void(Bytes&)> spoil;
    BmpError expected;
};

class Refusals : public ::testing::TestWithParam<Refusal> { };

TEST_P(Refusals, LeaveThePictureUntouched)
{
    const Refusal& r = GetParam();
    Bytes b = Handmade(r.bits);
    r.spoil(b);
    Surface s(1, 1, 0x123456);
    EXPECT_EQ(ReadBmp(b, s), r.expected) << r.name;
    EXPECT_EQ(s.GetSize(), (Size { 1, 1 })) << r.name;
    EXPECT_EQ(s.GetPixel(0, 0), 0x123456u) << r.name;
}

INSTANTIATE_TEST_SUITE_P(Bmp, Refusals,
    ::testing::Values(Refusal { "no BM", 24, [](Bytes& b) { b[1] = 'X'; }, BmpError::NotBmp },
        Refusal { "empty", 24, [](Bytes& b) { b.clear(); }, BmpError::NotBmp },
        Refusal { "cut in the file header", 24, [](Bytes& b) { b.resize(12); }, BmpError::Truncated },
        Refusal { "cut in the info header", 24, [](Bytes& b) { b.resize(40); }, BmpError::Truncated },
        Refusal { "short info header", 24, [](Bytes& b) { Put(b, 14, 12, 4); }, BmpError::HeaderTooSmall },
        Refusal { "two planes", 24, [](Bytes& b) { Put(b, 26, 2, 2); }, BmpError::Planes },
        Refusal { "run-length compression", 8, [](Bytes& b) { Put(b, 30, 1, 4); }, BmpError::Compression },
        Refusal { "bit fields", 32, [](Bytes& b) { Put(b, 30, 3, 4); }, BmpError::Compression },
        Refusal { "16 bits", 24, [](Bytes& b) { Put(b, 28, 16, 2); }, BmpError::BitCount },
        Refusal { "zero bits", 24, [](Bytes& b) { Put(b, 28, 0, 2); }, BmpError::BitCount },
        Refusal { "zero width", 24, [](Bytes& b) { Put(b, 18, 0, 4); }, BmpError::Dimensions },
        Refusal { "negative width", 24, [](Bytes& b) { Put(b, 18, 0xFFFFFFFD, 4); }, BmpError::Dimensions },
        Refusal { "zero height", 24, [](Bytes& b) { Put(b, 22, 0, 4); }, BmpError::Dimensions },
        Refusal { "too wide", 24, [](Bytes& b) { Put(b, 18, 16385, 4); }, BmpError::Dimensions },
        Refusal {
            "too high top-down", 24, [](Bytes& b) { Put(b, 22, std::uint32_t(-16385), 4); }, BmpError::Dimensions },
        Refusal { "rows past the file", 24, [](Bytes& b) { b.pop_back(); }, BmpError::PastFile },
        Refusal { "pixel offset past the file", 24, [](Bytes& b) { Put(b, 10, 0xFFFFFFF0, 4); }, BmpError::PastFile },
        Refusal { "huge width in 64 bits", 32, [](Bytes& b) { Put(b, 18, 16384, 4); }, BmpError::PastFile },
        Refusal { "colour table past the file", 8, [](Bytes& b) { b.resize(54 + 100); }, BmpError::PastFile },
        Refusal { "palette index past the table", 8, [](Bytes& b) { Put(b, 46, 2, 4); }, BmpError::PaletteIndex }));

TEST(Bmp, MissingFileCannotBeOpened)
{
    Surface s;
    EXPECT_EQ(ReadBmpFile("/nonexistent/picture.bmp", s), BmpError::CannotOpen);
}

TEST(Bmp, TwentyFourBitFilesRoundTrip)
{
    TempDir dir;
    Surface picture(5, 3); // odd width: rows are padded
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            picture.SetPixel(x, y, Rgb(x * 50, y * 100, 255 - x));
    const auto path = dir.Path() / "picture.bmp";
    ASSERT_TRUE(WriteBmpFile(path, picture));
    Surface back;
    ASSERT_EQ(ReadBmpFile(path, back), BmpError::None);
    ASSERT_EQ(back.GetSize(), picture.GetSize());
    EXPECT_TRUE(std::equal(back.Pixels().begin(), back.Pixels().end(), picture.Pixels().begin()));
}

TEST(Bmp, OneBitFilesRoundTrip)
{
    Surface mask(11, 4, 0xFFFFFF); // 11 wide: bits cross a byte
    for (int x = 0; x < 11; x += 3)
        mask.SetPixel(x, x % 4, 0);
    mask.SetPixel(10, 3, 0x202020); // dark counts as black
    Surface back;
    ASSERT_EQ(ReadBmp(WriteBmp(mask, 1), back), BmpError::None);
    ASSERT_EQ(back.GetSize(), mask.GetSize());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 11; ++x)
            EXPECT_EQ(back.GetPixel(x, y), mask.GetPixel(x, y) == 0xFFFFFF ? 0xFFFFFFu : 0u) << x << "," << y;
}

TEST(Png, WrittenFilesReadBack)
{
    TempDir dir;
    Surface picture(7, 2);
    for (int x = 0; x < 7; ++x)
        picture.SetPixel(x, 1, Rgb(x * 30, 200, x));
    const auto path = dir.Path() / "shot.png";
    ASSERT_TRUE(WritePngFile(path, picture));
    Surface back;
    ASSERT_TRUE(ReadPngFile(path, back));
    ASSERT_EQ(back.GetSize(), picture.GetSize());
    EXPECT_TRUE(std::equal(back.Pixels().begin(), back.Pixels().end(), picture.Pixels().begin()));
    EXPECT_FALSE(ReadPngFile(dir.Path() / "none.png", back));
    EXPECT_FALSE(WritePngFile(dir.Path() / "empty.png", Surface()));
}

} // namespace
