#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/gfx/Bmp.h"
#include "tests/TempDir.h"
#include "tools/art/ArtLayout.h"
#include "tools/art/ArtPainter.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), {} };
}

ArtLayout Layout()
{
    std::string error;
    auto layout = ParseArtLayout(ReadAll(VL_ART_LAYOUT), error);
    EXPECT_TRUE(layout) << error;
    return layout ? *layout : ArtLayout {};
}

int RunArt(const std::string& options, const fs::path& folder)
{
    const std::string command = std::string("\"") + VL_ART_TOOL + "\" " + options + " \"" + VL_ART_LAYOUT + "\" \""
        + folder.string() + "\" > /dev/null";
    return std::system(command.c_str());
}

TEST(ArtLayoutTest, RefusesWhatItCannotDraw)
{
    const char* bad[] = {
        "A.bmp 10",
        "A.bmp 10 10 20 5 soil",
        "A.bmp 0 10 5 5 soil",
        "A.bmp 5000 10 5 5 soil",
        "A.bmp 10 10 5 5",
        "A.bmp 10 10 5 5 soil 1 2",
        "A.bmp half B.bmp",
        "A.bmp 10 10 5 5 soil\na.BMP 10 10 5 5 soil",
        "A.bmp later\nB.bmp half A.bmp",
        "A.bmp 2 2 2 2 soil\nB.bmp quarter A.bmp",
        "A.bmp x10 10 5 5 soil",
    };
    for (const char* text : bad) {
        std::string error;
        EXPECT_FALSE(ParseArtLayout(text, error)) << text;
        EXPECT_NE(error.find("layout line"), std::string::npos) << text;
    }
    std::string error;
    EXPECT_FALSE(ParseArtLayout("A.bmp " + std::string(2000, '1'), error));
}

TEST(ArtLayoutTest, ScaledEntriesTakeTheirSourcesGridTruncated)
{
    std::string error;
    const auto layout = ParseArtLayout("# c\n\nA.bmp 75 31 15 10 soil 2\nB.bmp half A.bmp\nC.bmp later\n", error);
    ASSERT_TRUE(layout) << error;
    ASSERT_EQ(layout->entries.size(), 3u);
    const ArtEntry& b = layout->entries[1];
    EXPECT_EQ(b.divisor, 2);
    EXPECT_EQ(b.source, "A.bmp");
    EXPECT_EQ(b.width, 37);
    EXPECT_EQ(b.height, 15);
    EXPECT_EQ(b.cellWidth, 7);
    EXPECT_EQ(b.cellHeight, 5);
    EXPECT_EQ(layout->entries[0].argument, 2);
    EXPECT_TRUE(layout->entries[2].later);
    EXPECT_EQ(layout->Find("b.BMP"), &layout->entries[1]);
}

TEST(ArtToolTest, TwoRunsWriteIdenticalFiles)
{
    TempDir first;
    TempDir second;
    ASSERT_EQ(RunArt("", first.Path()), 0);
    ASSERT_EQ(RunArt("", second.Path()), 0);
    int files = 0;
    for (const auto& entry : fs::directory_iterator(first.Path())) {
        ++files;
        EXPECT_EQ(ReadAll(entry.path()), ReadAll(second.Path(entry.path().filename().string())))
            << entry.path().filename();
    }
    EXPECT_GT(files, 30);
}

TEST(ArtToolTest, SheetsHaveTheirSizesAndAnExactKey)
{
    TempDir folder;
    ASSERT_EQ(RunArt("", folder.Path()), 0);
    for (const ArtEntry& entry : Layout().entries) {
        if (entry.later)
            continue;
        SCOPED_TRACE(entry.file);
        platform::gfx::Surface picture;
        ASSERT_EQ(platform::gfx::ReadBmpFile(folder.Path(entry.file), picture), platform::gfx::BmpError::None);
        EXPECT_EQ(picture.Width(), entry.width);
        EXPECT_EQ(picture.Height(), entry.height);
        EXPECT_EQ(entry.width % entry.cellWidth, 0);
        EXPECT_EQ(picture.GetPixel(0, 0), art::kKey);
        // No pixel near the key without being it: a drawing never blends into it.
        int nearKey = 0;
        int opaque = 0;
        for (const platform::gfx::Pixel p : picture.Pixels()) {
            if (p == art::kKey)
                continue;
            ++opaque;
            const int distance = std::abs(platform::gfx::RedOf(p) - 255) + platform::gfx::GreenOf(p)
                + std::abs(platform::gfx::BlueOf(p) - 255);
            nearKey += distance < 120 ? 1 : 0;
        }
        EXPECT_EQ(nearKey, 0);
        EXPECT_GT(opaque, 0) << "something is drawn";
    }
}

TEST(ArtToolTest, DiagnosticCellsNameTheirSheetColumnAndRow)
{
    TempDir folder;
    ASSERT_EQ(RunArt("--diagnostic", folder.Path()), 0);
    const ArtLayout layout = Layout();
    struct Probe {
        const char* file;
        int x, y;
        int column, row;
    };
    const Probe probes[]
        = { { "Terrain2d.bmp", 36 * 4 + 3, 30 * 13 + 29, 4, 13 }, { "Terrain1d.bmp", 18 * 4 + 1, 15 * 13 + 14, 4, 13 },
              { "Icons2d.bmp", 32 * 7 + 31, 32 * 28, 7, 28 }, { "Brown2d.bmp", 37, 31, 0, 0 } };
    for (const Probe& p : probes) {
        SCOPED_TRACE(p.file);
        platform::gfx::Surface picture;
        ASSERT_EQ(platform::gfx::ReadBmpFile(folder.Path(p.file), picture), platform::gfx::BmpError::None);
        const art::DiagnosticCell cell = art::DecodeDiagnostic(picture.GetPixel(p.x, p.y));
        ASSERT_GE(cell.sheet, 1);
        EXPECT_EQ(layout.entries[static_cast<std::size_t>(cell.sheet - 1)].file, p.file);
        EXPECT_EQ(cell.column, p.column);
        EXPECT_EQ(cell.row, p.row);
    }
}

TEST(ArtToolTest, RefusesAMissingLayout)
{
    TempDir folder;
    const std::string command = std::string("\"") + VL_ART_TOOL + "\" \"" + folder.Path("none.txt").string() + "\" \""
        + folder.Path().string() + "\" 2> /dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
}

} // namespace
