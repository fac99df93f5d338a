#include "model/HexSide.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "model/Geometry.h"

// Readable failure messages: found by argument-dependent lookup.
static void PrintTo(HexSide side, std::ostream* out) { *out << "HexSide(" << side.Value() << ")"; }

namespace {

const HexSide N = HexSide::North;
const HexSide NE = HexSide::NorthEast;
const HexSide SE = HexSide::SouthEast;
const HexSide S = HexSide::South;
const HexSide SW = HexSide::SouthWest;
const HexSide NW = HexSide::NorthWest;
const HexSide NONE = HexSide::None;

TEST(HexSideTest, ConstantsAreTheClockwiseBits)
{
    EXPECT_EQ(N.Value(), 1u);
    EXPECT_EQ(NE.Value(), 2u);
    EXPECT_EQ(SE.Value(), 4u);
    EXPECT_EQ(S.Value(), 8u);
    EXPECT_EQ(SW.Value(), 16u);
    EXPECT_EQ(NW.Value(), 32u);
    EXPECT_EQ(NONE.Value(), 64u);
    EXPECT_EQ(HexSide().Value(), 64u);
    EXPECT_EQ(HexSide(12345).Value(), 12345u);
}

struct BetweenCase {
    int column1, row1, column2, row2;
    HexSide expected;
};

TEST(HexSideTest, SetBetweenFromEvenAndOddColumns)
{
    const BetweenCase cases[] = {
        // Even column: the hexes beside it share its row upward.
        { 2, 5, 2, 4, N },
        { 2, 5, 3, 5, NE },
        { 2, 5, 3, 6, SE },
        { 2, 5, 2, 6, S },
        { 2, 5, 1, 6, SW },
        { 2, 5, 1, 5, NW },
        { 2, 5, 3, 4, NONE },
        { 2, 5, 1, 4, NONE },
        // Odd column: they share its row downward.
        { 3, 5, 3, 4, N },
        { 3, 5, 4, 4, NE },
        { 3, 5, 4, 5, SE },
        { 3, 5, 3, 6, S },
        { 3, 5, 2, 5, SW },
        { 3, 5, 2, 4, NW },
        { 3, 5, 4, 6, NONE },
        { 3, 5, 2, 6, NONE },
        // Negative columns keep their parity.
        { -1, -2, -1, -3, N },
        { -1, -2, 0, -3, NE },
        { -1, -2, 0, -2, SE },
        { -1, -2, -2, -2, SW },
        { -1, -2, -2, -3, NW },
        { -1, -2, 0, -1, NONE },
        { -2, 0, -1, 0, NE },
        { -2, 0, -1, 1, SE },
        { -2, 0, -3, 1, SW },
        { -2, 0, -3, 0, NW },
        // Not adjacent.
        { 2, 5, 2, 5, NONE },
        { 2, 5, 4, 5, NONE },
        { 2, 5, 0, 5, NONE },
        { 2, 5, 2, 7, NONE },
        { 3, 5, 3, 3, NONE },
        { INT_MAX, 0, INT_MIN, 0, NONE },
        { 0, INT_MIN, 0, INT_MAX, NONE },
    };
    for (const BetweenCase& c : cases) {
        SCOPED_TRACE(::testing::Message()
            << "(" << c.column1 << ", " << c.row1 << ") to (" << c.column2 << ", " << c.row2 << ")");
        HexSide side(N);
        EXPECT_EQ(side.SetBetween(c.column1, c.row1, c.column2, c.row2), c.expected);
        EXPECT_EQ(side, c.expected);
        // The way back is the opposite side.
        EXPECT_EQ(HexSide().SetBetween(c.column2, c.row2, c.column1, c.row1), c.expected.Opposite());
    }
}

TEST(HexSideTest, LoopOverSidesVisitsSixSidesClockwise)
{
    std::vector<std::uint32_t> seen;
    for (HexSide side(1); side.IsValid(); side.Next())
        seen.push_back(side.Value());
    EXPECT_EQ(seen, (std::vector<std::uint32_t> { 1, 2, 4, 8, 16, 32 }));
}

TEST(HexSideTest, LoopsOverNonSidesEndAtOnce)
{
    for (std::uint32_t start : { 0u, 3u, 48u, 128u, 0x80000000u, 0xffffffffu, 64u }) {
        SCOPED_TRACE(start);
        int steps = 0;
        for (HexSide side(start); side.IsValid() && steps < 10; side.Next())
            ++steps;
        EXPECT_LE(steps, 1);
        EXPECT_EQ(HexSide(start).Next(), NONE);
    }
}

TEST(HexSideTest, RotationsAndOpposites)
{
    struct Case {
        HexSide side;
        int steps;
        HexSide expected;
    };
    const Case cases[] = {
        { N, 0, N },
        { N, 1, NE },
        { N, -1, NW },
        { N, 7, NE },
        { N, -7, NW },
        { N, 6, N },
        { N, -6, N },
        { NW, 1, N },
        { SE, 3, NW },
        { SE, -3, NW },
        { SW, 12, SW },
        { N, INT_MAX, NE }, // INT_MAX is 1 more than a multiple of 6
        { N, INT_MIN, SW }, // INT_MIN is 2 less than a multiple of 6
        { NE, INT_MIN, NW },
        { NONE, 1, NONE },
        { NONE, 0, NONE },
        { HexSide(0), 1, NONE },
        { HexSide(3), 0, NONE },
        { HexSide(128), -2, NONE },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.side.Value() << " by " << c.steps);
        EXPECT_EQ(c.side.Rotate(c.steps), c.expected);
    }

    const HexSide order[] = { N, NE, SE, S, SW, NW };
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(order[i].Clockwise(), order[(i + 1) % 6]);
        EXPECT_EQ(order[i].CounterClockwise(), order[(i + 5) % 6]);
        EXPECT_EQ(order[i].Opposite(), order[(i + 3) % 6]);
        EXPECT_EQ(order[i].Opposite().Opposite(), order[i]);
    }
    for (std::uint32_t value : { 0u, 3u, 64u, 128u, 0xffffffffu }) {
        SCOPED_TRACE(value);
        EXPECT_EQ(HexSide(value).Opposite(), NONE);
        EXPECT_EQ(HexSide(value).Clockwise(), NONE);
        EXPECT_EQ(HexSide(value).CounterClockwise(), NONE);
    }
}

TEST(HexSideTest, IndexAndNthSide)
{
    const HexSide order[] = { N, NE, SE, S, SW, NW };
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(HexSideIndex(order[i]), i);
        EXPECT_EQ(NthHexSide(i), order[i]);
    }
    for (std::uint32_t value : { 0u, 3u, 6u, 64u, 128u, 0x80000000u })
        EXPECT_EQ(HexSideIndex(HexSide(value)), 6) << value;
    EXPECT_EQ(NthHexSide(6), NONE);
    EXPECT_EQ(NthHexSide(31), NONE);
    EXPECT_EQ(NthHexSide(INT_MAX), NONE);
    EXPECT_EQ(NthHexSide(-1), N);
    EXPECT_EQ(NthHexSide(INT_MIN), N);
}

TEST(HexSideIoTest, FacingsRoundTripAsDecimals)
{
    std::stringstream stream;
    for (std::uint32_t value : { 1u, 32u, 64u, 3u, 0u, 0xffffffffu }) {
        EXPECT_TRUE(WriteHexSide(stream, HexSide(value)));
        stream << ' ';
    }
    EXPECT_EQ(stream.str(), "1 32 64 3 0 4294967295 ");
    for (std::uint32_t value : { 1u, 32u, 64u, 3u, 0u, 0xffffffffu }) {
        HexSide side;
        ASSERT_TRUE(ReadHexSide(stream, side));
        EXPECT_EQ(side.Value(), value);
    }
}

TEST(HexSideIoTest, BadFacingsFailTheStreamAndKeepTheSide)
{
    for (const char* text : { "", "x", "-1", "4294967296", "99999999999999999999999" }) {
        SCOPED_TRACE(text);
        std::istringstream in(text);
        HexSide side(NE);
        EXPECT_FALSE(ReadHexSide(in, side));
        EXPECT_TRUE(in.fail());
        EXPECT_EQ(side, NE);
    }
}

TEST(HexSideSetTest, AddContainsAndEmpty)
{
    HexSideSet set;
    EXPECT_TRUE(set.IsEmpty());
    EXPECT_FALSE(set.Contains(N));
    set.Add(N);
    set.Add(SW);
    EXPECT_FALSE(set.IsEmpty());
    EXPECT_EQ(set.Value(), 17u);
    EXPECT_TRUE(set.Contains(N));
    EXPECT_TRUE(set.Contains(SW));
    EXPECT_FALSE(set.Contains(S));
    EXPECT_TRUE(set.Contains(HexSide(3))); // shares the N bit
    // The end marker and stray high bits never enter a set.
    set.Add(NONE);
    set.Add(0xffffff00u);
    EXPECT_EQ(set.Value(), 17u);
    EXPECT_FALSE(set.Contains(NONE));
    EXPECT_EQ(HexSideSet(0xffu).Value(), 63u);
}

TEST(HexSideSetTest, EverySetRoundTripsAsOnePrintableCharacter)
{
    std::ostringstream out;
    for (std::uint32_t value = 0; value < 64; ++value)
        ASSERT_TRUE(WriteHexSideSet(out, HexSideSet(value)));
    const std::string text = out.str();
    ASSERT_EQ(text.size(), 64u);
    EXPECT_EQ(text.front(), ' ');
    EXPECT_EQ(text.back(), '_');

    std::istringstream in(text);
    for (std::uint32_t value = 0; value < 64; ++value) {
        HexSideSet set(5);
        ASSERT_TRUE(ReadHexSideSet(in, set)) << value;
        EXPECT_EQ(set.Value(), value);
    }
    HexSideSet set(5);
    EXPECT_FALSE(ReadHexSideSet(in, set));
    EXPECT_EQ(set.Value(), 5u);
}

TEST(HexSideSetTest, BlankIsTheEmptySetNotASeparator)
{
    std::istringstream in("  _");
    HexSideSet set(9);
    ASSERT_TRUE(ReadHexSideSet(in, set));
    EXPECT_TRUE(set.IsEmpty());
    ASSERT_TRUE(ReadHexSideSet(in, set));
    EXPECT_TRUE(set.IsEmpty());
    ASSERT_TRUE(ReadHexSideSet(in, set));
    EXPECT_EQ(set.Value(), 63u);
}

TEST(HexSideSetTest, CharacterOutsideTheRangeIsRefused)
{
    for (char bad : { '`', 'a', '~', '\x1f', '\n', '\t', '\0', '\x80', '\xff' }) {
        SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(bad)));
        std::istringstream in(std::string(1, bad) + "!");
        HexSideSet set(9);
        EXPECT_FALSE(ReadHexSideSet(in, set));
        EXPECT_TRUE(in.fail());
        EXPECT_EQ(set.Value(), 9u);
    }
}

TEST(HexPosTest, ReadWriteRoundTrip)
{
    std::stringstream stream;
    ASSERT_TRUE((HexPos { -3, 17 }).Write(stream));
    EXPECT_EQ(stream.str(), "-3 17");
    HexPos pos;
    ASSERT_TRUE(pos.Read(stream));
    EXPECT_EQ(pos, (HexPos { -3, 17 }));

    std::istringstream spaced("  4\n\n  -9 ");
    ASSERT_TRUE(pos.Read(spaced));
    EXPECT_EQ(pos, (HexPos { 4, -9 }));
}

TEST(HexPosTest, FailedReadKeepsThePosition)
{
    for (const char* text : { "", "5", "5 x", "x 5", "5 99999999999" }) {
        SCOPED_TRACE(text);
        std::istringstream in(text);
        HexPos pos { 1, 2 };
        EXPECT_FALSE(pos.Read(in));
        EXPECT_EQ(pos, (HexPos { 1, 2 }));
    }
}

struct TowardCase {
    int column1, row1, column2, row2;
    HexSide side1, side2;
};

TEST(SidesTowardHexTest, WorkedCases)
{
    const TowardCase cases[] = {
        { 4, 4, 4, 4, NONE, NONE },
        { 4, 4, 4, 0, N, N },
        { 4, 4, 4, -20, N, N },
        { 4, 4, 4, 9, S, S },
        // Same row: horizontal when the parities match, else half a hex off.
        { 4, 4, 6, 4, NE, SE },
        { 4, 4, 2, 4, SW, NW },
        { 4, 4, 5, 4, NE, NE },
        { 5, 4, 6, 4, SE, SE },
        { 4, 4, 3, 4, NW, NW },
        { 5, 4, 4, 4, SW, SW },
        // Even column, one column right: boundaries one row up, two down.
        { 4, 4, 5, 2, N, N },
        { 4, 4, 5, 3, N, NE },
        { 4, 4, 5, 5, SE, SE },
        { 4, 4, 5, 6, SE, S },
        { 4, 4, 5, 7, S, S },
        // Odd column, one column right: two rows up, one down.
        { 5, 4, 6, 1, N, N },
        { 5, 4, 6, 2, N, NE },
        { 5, 4, 6, 3, NE, NE },
        { 5, 4, 6, 5, SE, S },
        { 5, 4, 6, 6, S, S },
        // Left side, the mirror image.
        { 4, 4, 3, 3, NW, N },
        { 4, 4, 3, 5, SW, SW },
        { 4, 4, 3, 6, S, SW },
        { 5, 4, 4, 2, NW, N },
        { 5, 4, 4, 3, NW, NW },
        { 5, 4, 4, 5, S, SW },
        // Farther away.
        { 4, 4, 7, 0, N, NE },
        { 4, 4, 7, 1, NE, NE },
        { 4, 4, 7, 9, SE, S },
        { 4, 4, 7, 8, SE, SE },
        { 4, 4, 10, 13, SE, S },
        { 4, 4, 10, -5, N, NE },
        { 4, 4, 10, -6, N, N },
        // Negative and odd columns.
        { -1, 0, 0, -2, N, NE },
        { -1, 0, 0, -1, NE, NE },
        { -1, 0, 0, 0, SE, SE },
        { -1, 0, 0, 1, SE, S },
        { -1, 0, -2, -2, NW, N },
        { -1, 0, -3, 0, SW, NW },
        { -1, 0, -4, -5, NW, N },
        { -1, 0, -4, 4, S, SW },
        { -2, -3, 1, -4, NE, NE },
        { -2, -3, 1, 2, SE, S },
        { -2, -3, -5, -7, NW, N },
        { -2, -3, -5, -8, N, N },
    };
    for (const TowardCase& c : cases) {
        SCOPED_TRACE(::testing::Message()
            << "(" << c.column1 << ", " << c.row1 << ") to (" << c.column2 << ", " << c.row2 << ")");
        HexSide side1;
        HexSide side2;
        SidesTowardHex(c.column1, c.row1, c.column2, c.row2, side1, side2);
        EXPECT_EQ(side1, c.side1);
        EXPECT_EQ(side2, c.side2);
    }
}

// The sector of a direction, by its angle in degrees (0 east, 90 north):
// N 60..120, NE 0..60 and so on clockwise. On a boundary the pair is the side
// above the boundary and the one clockwise from it.
void ExpectedSidesByAngle(double degrees, HexSide& side1, HexSide& side2)
{
    // Sectors counted clockwise from the one that starts at 120 degrees (N).
    const double fromNorthBoundary = 120.0 - degrees;
    const double sector = fromNorthBoundary / 60.0;
    const double nearest = std::round(sector);
    if (std::fabs(sector - nearest) < 1e-9) {
        const int boundary = static_cast<int>(nearest);
        side1 = NthHexSide(((boundary - 1) % 6 + 6) % 6);
        side2 = side1.Clockwise();
        return;
    }
    side1 = NthHexSide((static_cast<int>(std::floor(sector)) % 6 + 6) % 6);
    side2 = side1;
}

TEST(SidesTowardHexTest, AgreesWithTheAngleBetweenCentres)
{
    for (int column1 : { -3, -2, 0, 1, 4, 5 }) {
        for (int row1 : { -2, 0, 3 }) {
            for (int column2 = column1 - 7; column2 <= column1 + 7; ++column2) {
                for (int row2 = row1 - 12; row2 <= row1 + 12; ++row2) {
                    if (column2 == column1 && row2 == row1)
                        continue;
                    const double dx = HexCentreX(column2) - HexCentreX(column1);
                    const double up = HexCentreY(column1, row1) - HexCentreY(column2, row2);
                    HexSide expected1;
                    HexSide expected2;
                    ExpectedSidesByAngle(std::atan2(up, dx) * 180.0 / std::numbers::pi, expected1, expected2);
                    HexSide side1;
                    HexSide side2;
                    SidesTowardHex(column1, row1, column2, row2, side1, side2);
                    ASSERT_EQ(side1, expected1)
                        << "(" << column1 << ", " << row1 << ") to (" << column2 << ", " << row2 << ")";
                    ASSERT_EQ(side2, expected2)
                        << "(" << column1 << ", " << row1 << ") to (" << column2 << ", " << row2 << ")";
                }
            }
        }
    }
}

TEST(SidesTowardHexTest, NeighbourIsFacedByItsOwnSide)
{
    int neighbours = 0;
    for (int column : { -3, -2, 2, 3 }) {
        for (int c2 = column - 1; c2 <= column + 1; ++c2) {
            for (int r2 = -1; r2 <= 1; ++r2) {
                const HexSide side = HexSide().SetBetween(column, 0, c2, r2);
                if (!side.IsValid())
                    continue;
                ++neighbours;
                HexSide side1;
                HexSide side2;
                SidesTowardHex(column, 0, c2, r2, side1, side2);
                EXPECT_EQ(side1, side) << column << " to " << c2 << ", " << r2;
                EXPECT_EQ(side2, side) << column << " to " << c2 << ", " << r2;
            }
        }
    }
    EXPECT_EQ(neighbours, 24);
}

HexSideSet SidesCrossed(int column, int row, double slope, double intercept)
{
    HexSideSet crossed;
    for (HexSide side(1); side.IsValid(); side.Next())
        if (HexSideCrossesLine(side, column, row, slope, intercept))
            crossed.Add(side);
    return crossed;
}

TEST(HexSideCrossesLineTest, LinesThroughNeighbouringCentresCrossFacingSides)
{
    // The line from a hex to a diagonal neighbour leaves through the side that
    // faces it and enters through the opposite one, and touches no other.
    for (int column : { -3, -2, 0, 1 }) {
        for (int row : { -1, 0, 4 }) {
            for (HexSide toward : { NE, SE, SW, NW }) {
                int c2 = column - 1;
                int r2 = row - 1;
                for (int dc = -1; dc <= 1; dc += 2)
                    for (int dr = -1; dr <= 1; ++dr)
                        if (HexSide().SetBetween(column, row, column + dc, row + dr) == toward) {
                            c2 = column + dc;
                            r2 = row + dr;
                        }
                double slope = 0;
                double intercept = 0;
                ASSERT_TRUE(LineThroughHexCentres(column, row, c2, r2, slope, intercept));
                HexSideSet expected;
                expected.Add(toward);
                expected.Add(toward.Opposite());
                EXPECT_EQ(SidesCrossed(column, row, slope, intercept), expected)
                    << column << ", " << row << " toward " << toward.Value();
                EXPECT_EQ(SidesCrossed(c2, r2, slope, intercept), expected)
                    << c2 << ", " << r2 << " from " << column << ", " << row;
            }
        }
    }
}

TEST(HexSideCrossesLineTest, CornersCountForBothSidesAndParallelSidesNever)
{
    // The horizontal through the centre of (0, 0) (y = 0.5) meets the east and
    // west corners: both sides at each corner, never N or S.
    HexSideSet corners;
    corners.Add(NE);
    corners.Add(SE);
    corners.Add(SW);
    corners.Add(NW);
    EXPECT_EQ(SidesCrossed(0, 0, 0.0, 0.5), corners);
    // The horizontal along the N side itself is parallel to it; it touches the
    // NE and NW sides at their corners.
    HexSideSet top;
    top.Add(NE);
    top.Add(NW);
    EXPECT_EQ(SidesCrossed(0, 0, 0.0, 0.0), top);
    // A line far above misses every side.
    EXPECT_TRUE(SidesCrossed(0, 0, 0.0, -10.0).IsEmpty());
    EXPECT_TRUE(SidesCrossed(3, 7, 0.2, -50.0).IsEmpty());
    // A steep line through the centre crosses N and S.
    HexSideSet vertical;
    vertical.Add(N);
    vertical.Add(S);
    EXPECT_EQ(SidesCrossed(1, 2, 1000.0, 2.0 - 1000.0 * HexCentreX(1)), vertical);

    for (std::uint32_t value : { 0u, 3u, 64u, 128u, 0xffffffffu })
        EXPECT_FALSE(HexSideCrossesLine(HexSide(value), 0, 0, 0.0, 0.5)) << value;
}

TEST(SegmentCrossesLineTest, ParallelVerticalAndEndpoints)
{
    EXPECT_FALSE(SegmentCrossesLine(0, 1, 2, 3, 1.0, 1.0)); // on the line yet parallel
    EXPECT_FALSE(SegmentCrossesLine(0, 1, 2, 3, 1.0, 0.0));
    EXPECT_TRUE(SegmentCrossesLine(0, 0, 2, 2, -1.0, 2.0)); // crossing at (1, 1)
    EXPECT_TRUE(SegmentCrossesLine(2, 2, 0, 0, -1.0, 4.0)); // at the end (2, 2)
    EXPECT_FALSE(SegmentCrossesLine(0, 0, 2, 2, -1.0, 4.5)); // beyond the end
    // A vertical segment is tested where the line meets its x.
    EXPECT_TRUE(SegmentCrossesLine(1, 0, 1, 4, 2.0, 1.0)); // y = 3 at x = 1
    EXPECT_TRUE(SegmentCrossesLine(1, 4, 1, 0, 2.0, -2.0)); // y = 0 at x = 1
    EXPECT_FALSE(SegmentCrossesLine(1, 0, 1, 4, 2.0, 3.0)); // y = 5 at x = 1
}

TEST(IsBetweenTest, EitherOrderInSinglePrecision)
{
    EXPECT_TRUE(IsBetween(1.0, 2.0, 3.0));
    EXPECT_TRUE(IsBetween(3.0, 2.0, 1.0));
    EXPECT_TRUE(IsBetween(1.0, 1.0, 3.0));
    EXPECT_TRUE(IsBetween(3.0, 3.0, 1.0));
    EXPECT_FALSE(IsBetween(1.0, 0.5, 3.0));
    EXPECT_FALSE(IsBetween(3.0, 3.5, 1.0));
    // Rounding noise far below single precision still counts as the corner.
    EXPECT_TRUE(IsBetween(0.0, 1.0 + 1e-12, 1.0));
    EXPECT_TRUE(IsBetween(1.0, -1e-50, 0.0));
    EXPECT_FALSE(IsBetween(0.0, 1.0 + 1e-6, 1.0));
    EXPECT_FALSE(IsBetween(0.0, std::nan(""), 1.0));
}

} // namespace
