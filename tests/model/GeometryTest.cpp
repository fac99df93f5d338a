#include "model/Geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <utility>

#include "model/HexSide.h"

namespace {

TEST(SidesTest, OtherSideSwapsZeroAndOneOnly)
{
    EXPECT_EQ(OtherSide(0), 1);
    EXPECT_EQ(OtherSide(1), 0);
    for (int side : { -1, 2, 64, INT_MIN, INT_MAX })
        EXPECT_EQ(OtherSide(side), -1) << side;
}

class SideNamesTest : public ::testing::Test {
protected:
    void TearDown() override { SetSideNames(nullptr, nullptr); }
};

TEST_F(SideNamesTest, DefaultsAndUnknownSides)
{
    EXPECT_STREQ(SideName(0), "NATO");
    EXPECT_STREQ(SideName(1), "Soviet Bloc");
    for (int side : { -1, 2, INT_MIN, INT_MAX })
        EXPECT_STREQ(SideName(side), "Unknown") << side;
}

TEST_F(SideNamesTest, SetNamesAreCopiedAndNullRestoresTheDefault)
{
    {
        std::string blue = "Blue";
        std::string red = "Red";
        SetSideNames(blue.c_str(), red.c_str());
        blue = "Overwritten";
        red.clear();
    }
    EXPECT_STREQ(SideName(0), "Blue");
    EXPECT_STREQ(SideName(1), "Red");

    SetSideNames(nullptr, "Axis");
    EXPECT_STREQ(SideName(0), "NATO");
    EXPECT_STREQ(SideName(1), "Axis");
    EXPECT_STREQ(SideName(2), "Unknown");
}

TEST(NationsTest, TableEdgesAndOddAdjectives)
{
    struct Case {
        int nation;
        const char* name;
        const char* adjective;
        int side;
    };
    const Case cases[] = {
        { 0, "Russia", "Russian", 0 },
        { 1, "Germany", "German", 1 },
        { 2, "Soviet", "Soviets", 1 },
        { 16, "Vichy France", "Vichy French", 1 },
        { 17, "Allied Romania", "Allied Romanian", 0 },
        { 18, "Allied Italy", "West German", 0 },
        { 21, "Japan", "Japanese", 1 },
        { 22, "Israel", "NATO", 0 },
        { 28, "Arab Liberation Army", "Arab Liberation Armies", 1 },
        { 29, "Unknown", "Unknown", 1 },
        { 40, "Unknown", "Unknown", 1 },
        { -1, "Unknown", "Unknown", 1 },
        { INT_MIN, "Unknown", "Unknown", 1 },
        { INT_MAX, "Unknown", "Unknown", 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nation);
        EXPECT_STREQ(NationName(c.nation), c.name);
        EXPECT_STREQ(NationAdjective(c.nation), c.adjective);
        EXPECT_EQ(DefaultSideOfNation(c.nation), c.side);
    }
}

TEST(NationsTest, EveryNationHasItsOwnNameAndASide)
{
    int side0 = 0;
    for (int nation = 0; nation <= 28; ++nation) {
        SCOPED_TRACE(nation);
        EXPECT_STRNE(NationName(nation), "Unknown");
        EXPECT_STRNE(NationAdjective(nation), "Unknown");
        for (int other = 0; other < nation; ++other)
            EXPECT_STRNE(NationName(nation), NationName(other));
        const int side = DefaultSideOfNation(nation);
        EXPECT_TRUE(side == 0 || side == 1);
        side0 += side == 0 ? 1 : 0;
    }
    EXPECT_EQ(side0, 15);
}

TEST(LevelLettersTest, LettersAndTheirInverse)
{
    const char letters[] = "PCBRGDKA";
    for (int level = 0; level < 8; ++level) {
        EXPECT_EQ(LevelLetter(level), letters[level]) << level;
        EXPECT_EQ(LevelFromLetter(letters[level]), level) << level;
    }
    for (int level : { 8, -1, INT_MIN, INT_MAX })
        EXPECT_EQ(LevelLetter(level), 'X') << level;
    for (char letter : { 'P', 'X', 'a', 'c', 'Z', ' ', '\0', '\xff' })
        EXPECT_EQ(LevelFromLetter(letter), 0) << static_cast<int>(letter);
}

struct DistanceCase {
    int column1, row1, column2, row2, distance;
};

TEST(HexDistanceTest, WorkedCases)
{
    const DistanceCase cases[] = {
        { 2, 5, 2, 5, 0 },
        { 2, 5, 2, 8, 3 },
        { 2, 5, 2, 2, 3 },
        // An even column reaches its own row and the one below in one step.
        { 2, 5, 3, 5, 1 },
        { 2, 5, 3, 6, 1 },
        { 2, 5, 3, 4, 2 },
        { 2, 5, 1, 5, 1 },
        { 2, 5, 1, 6, 1 },
        // An odd column reaches its own row and the one above.
        { 3, 5, 4, 4, 1 },
        { 3, 5, 4, 5, 1 },
        { 3, 5, 4, 6, 2 },
        { 3, 5, 2, 4, 1 },
        { 3, 5, 2, 5, 1 },
        { 0, 0, 6, 0, 6 },
        { 0, 0, 6, 3, 6 },
        { 0, 0, 6, 4, 7 },
        { 0, 0, 6, -3, 6 },
        { 0, 0, 6, -4, 7 },
        { 1, 0, 7, 3, 6 },
        { 1, 0, 7, 4, 7 },
        { 1, 0, 7, -3, 6 },
        { 1, 0, 7, -4, 7 },
        // Negative odd columns behave like odd ones.
        { -1, 0, 0, -1, 1 },
        { -1, 0, 0, 0, 1 },
        { -1, 0, 0, 1, 2 },
        { -1, 0, -2, -1, 1 },
        { -1, 0, -2, 1, 2 },
        { -3, -2, 3, -5, 6 },
        { -3, -2, 3, -6, 7 },
        { -3, -2, 3, 1, 6 },
        { -3, -2, 3, 2, 7 },
        { -4, -4, -4, 4, 8 },
        { -2, -1, -5, -2, 3 },
        { -2, -1, -5, -3, 4 },
        { -2, -1, -5, 1, 3 },
        { -2, -1, -5, 2, 4 },
    };
    for (const DistanceCase& c : cases) {
        SCOPED_TRACE(::testing::Message()
            << "(" << c.column1 << ", " << c.row1 << ") to (" << c.column2 << ", " << c.row2 << ")");
        EXPECT_EQ(HexDistance(c.column1, c.row1, c.column2, c.row2), c.distance);
        EXPECT_EQ(HexDistance(c.column2, c.row2, c.column1, c.row1), c.distance);
    }
}

// Breadth-first search over the neighbours that HexSide::SetBetween
// recognises, on a window large enough that no shortest path leaves it.
TEST(HexDistanceTest, MatchesBreadthFirstSearchIncludingNegativeCoordinates)
{
    constexpr int kLow = -8;
    constexpr int kHigh = 8;
    constexpr int kMargin = 3;
    using Hex = std::pair<int, int>;
    for (int c1 = kLow; c1 <= kHigh; ++c1) {
        for (int r1 : { -5, -2, -1, 0, 3 }) {
            std::map<Hex, int> reached { { { c1, r1 }, 0 } };
            std::deque<Hex> queue { { c1, r1 } };
            while (!queue.empty()) {
                const auto [c, r] = queue.front();
                queue.pop_front();
                for (int nc = c - 1; nc <= c + 1; ++nc) {
                    for (int nr = r - 1; nr <= r + 1; ++nr) {
                        if (nc < kLow - kMargin || nc > kHigh + kMargin || nr < kLow - kMargin || nr > kHigh + kMargin)
                            continue;
                        if (!HexSide().SetBetween(c, r, nc, nr).IsValid())
                            continue;
                        if (reached.emplace(Hex { nc, nr }, reached[{ c, r }] + 1).second)
                            queue.push_back({ nc, nr });
                    }
                }
            }
            for (int c2 = kLow; c2 <= kHigh; ++c2) {
                for (int r2 = kLow; r2 <= kHigh; ++r2) {
                    const int expected = reached.at({ c2, r2 });
                    ASSERT_EQ(HexDistance(c1, r1, c2, r2), expected)
                        << "(" << c1 << ", " << r1 << ") to (" << c2 << ", " << r2 << ")";
                    ASSERT_EQ(HexDistance(c2, r2, c1, r1), expected)
                        << "(" << c2 << ", " << r2 << ") to (" << c1 << ", " << r1 << ")";
                }
            }
        }
    }
}

TEST(HexDistanceTest, ExtremeCoordinatesDoNotOverflow)
{
    EXPECT_EQ(HexDistance(INT_MIN, 0, INT_MAX, 0), INT_MAX);
    EXPECT_EQ(HexDistance(0, INT_MIN, 0, INT_MAX), INT_MAX);
    EXPECT_EQ(HexDistance(INT_MAX, INT_MAX, INT_MAX, INT_MAX), 0);
    EXPECT_EQ(HexDistance(INT_MIN, INT_MIN, INT_MIN + 1, INT_MIN), 1);
}

TEST(HexCentreTest, EvenColumnsStandHalfAHexLower)
{
    EXPECT_DOUBLE_EQ(HexCentreX(0), 0.0);
    EXPECT_DOUBLE_EQ(HexCentreX(2), 3.0 / std::sqrt(3.0));
    EXPECT_DOUBLE_EQ(HexCentreX(-1), -1.5 / std::sqrt(3.0));
    EXPECT_DOUBLE_EQ(HexCentreY(0, 3), 3.5);
    EXPECT_DOUBLE_EQ(HexCentreY(1, 3), 3.0);
    EXPECT_DOUBLE_EQ(HexCentreY(-1, 3), 3.0);
    EXPECT_DOUBLE_EQ(HexCentreY(-2, -3), -2.5);
    // Neighbouring centres are one row spacing apart in every direction.
    for (int column : { -3, -2, 0, 1 }) {
        for (int n = 0; n < 6; ++n) {
            const HexSide side = NthHexSide(n);
            for (int c2 = column - 1; c2 <= column + 1; ++c2) {
                for (int r2 = -1; r2 <= 1; ++r2) {
                    if (HexSide().SetBetween(column, 0, c2, r2) != side)
                        continue;
                    const double dx = HexCentreX(c2) - HexCentreX(column);
                    const double dy = HexCentreY(c2, r2) - HexCentreY(column, 0);
                    EXPECT_NEAR(std::hypot(dx, dy), 1.0, 1e-12) << column << " side " << side.Value();
                }
            }
        }
    }
}

TEST(LineThroughHexCentresTest, LinesAndTheOneColumnCase)
{
    double slope = 7.0;
    double intercept = 7.0;
    EXPECT_FALSE(LineThroughHexCentres(3, 1, 3, 9, slope, intercept));
    EXPECT_EQ(slope, 0.0);
    EXPECT_EQ(intercept, 0.0);
    EXPECT_FALSE(LineThroughHexCentres(-1, 2, -1, 2, slope, intercept));

    ASSERT_TRUE(LineThroughHexCentres(0, 0, 2, 0, slope, intercept));
    EXPECT_DOUBLE_EQ(slope, 0.0);
    EXPECT_DOUBLE_EQ(intercept, 0.5);

    // From the lower even column up to the odd one: 30 degrees above the
    // horizontal (y grows downward).
    ASSERT_TRUE(LineThroughHexCentres(0, 0, 1, 0, slope, intercept));
    EXPECT_NEAR(slope, -1.0 / std::sqrt(3.0), 1e-12);
    EXPECT_DOUBLE_EQ(intercept, 0.5);

    // Both centres lie on the line, whichever way round.
    const int pairs[][4] = { { -3, 2, 4, -5 }, { 5, 1, -2, 7 }, { -1, -1, -6, 3 } };
    for (const auto& p : pairs) {
        ASSERT_TRUE(LineThroughHexCentres(p[0], p[1], p[2], p[3], slope, intercept));
        EXPECT_NEAR(slope * HexCentreX(p[0]) + intercept, HexCentreY(p[0], p[1]), 1e-12);
        EXPECT_NEAR(slope * HexCentreX(p[2]) + intercept, HexCentreY(p[2], p[3]), 1e-12);
    }
}

TEST(SectorBoundaryTest, RowsToBoundariesByParityAndDistance)
{
    struct Case {
        int column, otherColumn, upper, lower;
    };
    const Case cases[] = {
        { 4, 4, 0, 0 },
        { 3, 3, 0, 0 },
        { 4, 5, 1, 2 },
        { 4, 3, 1, 2 },
        { 3, 4, 2, 1 },
        { 3, 2, 2, 1 },
        { 4, 6, 3, 3 },
        { 3, 5, 3, 3 },
        { 4, 7, 4, 5 },
        { 3, 6, 5, 4 },
        { -1, 0, 2, 1 },
        { -1, -4, 5, 4 },
        { -2, 1, 4, 5 },
        { 0, 10, 15, 15 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.column << " to " << c.otherColumn);
        EXPECT_EQ(RowsToUpperSectorBoundary(c.column, c.otherColumn), c.upper);
        EXPECT_EQ(RowsToLowerSectorBoundary(c.column, c.otherColumn), c.lower);
    }
}

} // namespace
