#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempDir.h"
#include "platform/core/AssetFiles.h"
#include "platform/core/Rect.h"

using namespace platform;

TEST(AssetFiles, ResolvesEachPartExactlyElseInAnyCase)
{
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "Art" / "Sheets");
    dir.Write("Art/Sheets/Icons1d.bmp", "x");
    dir.Write("Art/Sheets/exact.bmp", "x");
    dir.Write("Art/Sheets/EXACT.bmp", "y");
    AssetFiles assets(dir.Path());
    EXPECT_EQ(assets.Resolve("Art\\Sheets\\icons1d.BMP"), dir.Path() / "Art/Sheets/Icons1d.bmp");
    EXPECT_EQ(assets.Resolve("art/sheets/ICONS1D.bmp"), dir.Path() / "Art/Sheets/Icons1d.bmp");
    EXPECT_EQ(assets.Resolve("Art/Sheets/EXACT.bmp"), dir.Path() / "Art/Sheets/EXACT.bmp");
    EXPECT_TRUE(assets.Exists("ART/SHEETS/exact.bmp"));
    EXPECT_FALSE(assets.Exists("Art/Sheets/missing.bmp"));
    EXPECT_FALSE(assets.Exists("Nowhere/Icons1d.bmp"));
    EXPECT_FALSE(assets.Exists(""));
    const auto absolute = (dir.Path() / "ART" / "sheets" / "icons1d.bmp").string();
    EXPECT_TRUE(AssetFiles("/nonexistent").Exists(absolute));
    EXPECT_EQ(AssetFiles::Key("Art\\ICONS1d.bmp"), AssetFiles::Key("art/icons1D.BMP"));
}

TEST(AssetFiles, ReportsEachFailingPathOnce)
{
    AssetFiles assets("/nonexistent");
    std::vector<std::string> shown;
    assets.SetReporter(
        [&](const std::string& text, const std::string& caption) { shown.push_back(caption + ":" + text); });
    EXPECT_TRUE(assets.ReportFailure("Icons1d.bmp", "cannot load Icons1d.bmp", "Title"));
    EXPECT_FALSE(assets.ReportFailure("icons1d.BMP", "cannot load icons1d.BMP", "Title"));
    EXPECT_TRUE(assets.ReportFailure("Terrain.bmp", "cannot load Terrain.bmp", "Title"));
    EXPECT_EQ(shown, (std::vector<std::string> { "Title:cannot load Icons1d.bmp", "Title:cannot load Terrain.bmp" }));
}

TEST(Rect, IntersectionsAndUnionsTreatEmptyRectanglesAsNothing)
{
    const Rect a { 0, 0, 4, 4 };
    EXPECT_EQ(a.Intersect({ 2, 3, 9, 9 }), (Rect { 2, 3, 4, 4 }));
    EXPECT_TRUE(a.Intersect({ 4, 0, 8, 4 }).IsEmpty());
    EXPECT_EQ(a.Union({ 9, 9, 9, 12 }), a);
    EXPECT_EQ(Rect {}.Union({ 1, 1, 2, 3 }), (Rect { 1, 1, 2, 3 }));
    EXPECT_TRUE(Rect({ 3, 0, 1, 5 }).IsEmpty());
    EXPECT_FALSE(a.Contains({ 4, 0 }));
    EXPECT_TRUE(a.Contains({ 3, 3 }));
}
