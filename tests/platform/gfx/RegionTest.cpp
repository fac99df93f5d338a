#include <gtest/gtest.h>

#include <vector>

#include "platform/gfx/Region.h"

using namespace platform;
using namespace platform::gfx;

namespace {

struct RegionProbe {
    Point at;
    bool inside;
};

void ExpectProbes(const Region& region, const std::vector<RegionProbe>& probes, const char* what)
{
    for (const RegionProbe& p : probes)
        EXPECT_EQ(region.Contains(p.at), p.inside) << what << " at " << p.at.x << "," << p.at.y;
}

TEST(Region, RectangleHoldsItsPixelsOnly)
{
    const Region r = Region::FromRect({ 2, 3, 5, 7 });
    ExpectProbes(r,
        { { { 2, 3 }, true }, { { 4, 6 }, true }, { { 5, 3 }, false }, { { 2, 7 }, false }, { { 1, 4 }, false } },
        "rect");
    EXPECT_EQ(r.Bounds(), (Rect { 2, 3, 5, 7 }));
    EXPECT_TRUE(Region::FromRect({ 3, 3, 3, 9 }).IsEmpty());
}

TEST(Region, PolygonsAreFilledAtPixelCentres)
{
    // A hexagon as the map draws it: 8 wide, 8 high.
    const std::vector<Point> hexagon { { 2, 0 }, { 6, 0 }, { 8, 4 }, { 6, 8 }, { 2, 8 }, { 0, 4 } };
    const Region hex = Region::FromPolygon(hexagon);
    ExpectProbes(hex,
        { { { 4, 4 }, true }, { { 0, 4 }, true }, { { 7, 4 }, true }, { { 8, 4 }, false }, { { 2, 0 }, true },
            { { 5, 0 }, true }, { { 6, 0 }, false }, { { 1, 0 }, false }, { { 0, 0 }, false }, { { 4, 7 }, true },
            { { 4, 8 }, false }, { { 0, 7 }, false } },
        "hexagon");
    // A right triangle: pixel centres below the diagonal; a centre on the
    // right-hand edge of a span is outside.
    const Region triangle = Region::FromPolygon(std::vector<Point> { { 0, 0 }, { 4, 4 }, { 0, 4 } });
    ExpectProbes(triangle,
        { { { 0, 0 }, false }, { { 0, 1 }, true }, { { 0, 3 }, true }, { { 2, 3 }, true }, { { 3, 3 }, false },
            { { 3, 2 }, false } },
        "triangle");
}

TEST(Region, PolygonsFollowTheEvenOddRule)
{
    // A square frame in one path: outer ring, across, inner ring backwards.
    const std::vector<Point> frame { { 0, 0 }, { 9, 0 }, { 9, 9 }, { 0, 9 }, { 0, 0 }, { 3, 3 }, { 3, 6 }, { 6, 6 },
        { 6, 3 }, { 3, 3 } };
    const Region r = Region::FromPolygon(frame);
    ExpectProbes(r, { { { 1, 5 }, true }, { { 4, 4 }, false }, { { 7, 5 }, true }, { { 5, 8 }, true } }, "frame");
    // Two overlapping squares traced as one path: the overlap is outside.
    const std::vector<Point> twice { { 0, 0 }, { 4, 0 }, { 4, 4 }, { 0, 4 }, { 0, 0 }, { 2, 2 }, { 6, 2 }, { 6, 6 },
        { 2, 6 }, { 2, 2 } };
    ExpectProbes(Region::FromPolygon(twice), { { { 1, 1 }, true }, { { 3, 3 }, false }, { { 5, 5 }, true } }, "twice");
    EXPECT_TRUE(Region::FromPolygon(std::vector<Point> { { 0, 0 }, { 5, 5 } }).IsEmpty());
}

TEST(Region, SetOperationsAndOffset)
{
    const Region a = Region::FromRect({ 0, 0, 6, 6 });
    const Region b = Region::FromRect({ 3, 3, 9, 9 });
    Region both = a;
    both.And(b);
    EXPECT_EQ(both, Region::FromRect({ 3, 3, 6, 6 }));
    Region either = a;
    either.Or(b);
    ExpectProbes(either, { { { 0, 0 }, true }, { { 8, 8 }, true }, { { 7, 1 }, false }, { { 1, 7 }, false } }, "or");
    Region diff = a;
    diff.Diff(b);
    ExpectProbes(diff, { { { 0, 0 }, true }, { { 4, 4 }, false }, { { 5, 2 }, true }, { { 2, 5 }, true } }, "diff");
    diff.Offset(10, 20);
    ExpectProbes(diff, { { { 10, 20 }, true }, { { 14, 24 }, false }, { { 0, 0 }, false } }, "offset");
    Region none = a;
    none.Diff(a);
    EXPECT_TRUE(none.IsEmpty());
    // Touching pieces merge into one span and one band.
    Region joined = Region::FromRect({ 0, 0, 2, 2 });
    joined.Or(Region::FromRect({ 2, 0, 4, 2 }));
    EXPECT_EQ(joined, Region::FromRect({ 0, 0, 4, 2 }));
}

} // namespace
