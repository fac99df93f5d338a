#include <gtest/gtest.h>

#include "platform/gfx/Surface.h"

using namespace platform;
using namespace platform::gfx;

TEST(Surface, IsPixelSetComparesWithTheCornerAndIsFalseOutside)
{
    Surface s(3, 2, Rgb(255, 0, 255));
    s.SetPixel(1, 1, Rgb(1, 2, 3));
    s.Row(0)[2] = 0xFF000000 | Rgb(255, 0, 255); // the spare byte does not count
    EXPECT_TRUE(s.IsPixelSet(1, 1));
    EXPECT_FALSE(s.IsPixelSet(0, 1));
    EXPECT_FALSE(s.IsPixelSet(2, 0));
    for (Point p : { Point { -1, 0 }, Point { 0, -1 }, Point { 3, 0 }, Point { 0, 2 }, Point { 99, 99 } })
        EXPECT_FALSE(s.IsPixelSet(p.x, p.y)) << p.x << "," << p.y;
    EXPECT_FALSE(Surface().IsPixelSet(0, 0));
}

TEST(Surface, OpaqueRunsFollowChangesAfterKeying)
{
    const Pixel key = Rgb(255, 0, 255);
    Surface s(6, 1, key);
    s.SetPixel(1, 0, 1);
    s.SetPixel(2, 0, 2);
    s.SetPixel(5, 0, 3);
    s.SetKeyFromCorner();
    auto runs = s.OpaqueRuns(0);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].start, 1);
    EXPECT_EQ(runs[0].length, 2);
    EXPECT_EQ(runs[1].start, 5);
    EXPECT_EQ(runs[1].length, 1);
    s.Row(0)[3] = 7; // joins the first run
    runs = s.OpaqueRuns(0);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].length, 3);
}

TEST(Surface, NegativeOrZeroSizesGiveAnEmptySurface)
{
    EXPECT_TRUE(Surface(-3, 5).IsEmpty());
    EXPECT_TRUE(Surface(4, 0).IsEmpty());
    EXPECT_EQ(Surface(4, 0).Width(), 0);
}
