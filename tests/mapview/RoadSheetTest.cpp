#include "mapview/RoadSheet.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using RoadSheet::AwareCells;
using RoadSheet::AwareTable;

namespace {

std::vector<int> Row(AwareTable table, int position)
{
    std::vector<int> row;
    for (auto k : AwareCells(table, position))
        row.push_back(k);
    return row;
}

TEST(RoadSheetTest, OrderHoldsEverySideSetOnceAndNotTheEmptySet)
{
    std::set<unsigned> seen;
    for (int p = 0; p < RoadSheet::kPositions; ++p) {
        const HexSideSet set = RoadSheet::SetAtPosition(p);
        EXPECT_FALSE(set.IsEmpty());
        EXPECT_EQ(RoadSheet::FindPosition(set), p);
        seen.insert(set.Value());
    }
    EXPECT_EQ(seen.size(), 63u);
    EXPECT_EQ(RoadSheet::FindPosition(HexSideSet()), 63);
    EXPECT_EQ(RoadSheet::SetAtPosition(63), HexSideSet());
    EXPECT_EQ(RoadSheet::SetAtPosition(-1), HexSideSet());
    EXPECT_EQ(RoadSheet::FindPosition(HexSideSet(3)), 0);
    EXPECT_EQ(RoadSheet::FindPosition(HexSideSet(63)), 62);
}

TEST(RoadSheetTest, TellingRowsOfTheThreeTables)
{
    struct Case {
        int position;
        AwareTable table;
        std::vector<int> cells;
    };
    const Case cases[] = {
        { 0, AwareTable::A, { 1, 3, 7, 9, 10, 13, 15, 16, 17 } },
        { 0, AwareTable::B, { 1, 3, 7, 9, 10, 11 } },
        { 0, AwareTable::C, { 1, 3, 4, 5 } },
        { 1, AwareTable::A, { 10, 16, 17 } },
        { 1, AwareTable::B, { 10, 11 } },
        { 1, AwareTable::C, { 4, 5 } },
        { 5, AwareTable::A, { 0, 1, 2, 3, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17 } },
        { 5, AwareTable::B, { 0, 1, 2, 3, 6, 7, 8, 9, 10, 11 } },
        { 5, AwareTable::C, { 0, 1, 2, 3, 4, 5 } },
        { 62, AwareTable::A, { 12, 13, 14, 15, 16, 17 } },
        { 62, AwareTable::B, { 6, 7, 8, 9, 10, 11 } },
        { 62, AwareTable::C, { 0, 1, 2, 3, 4, 5 } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(Row(c.table, c.position), c.cells) << "position " << c.position;
}

TEST(RoadSheetTest, EveryRowHasCellsThatExistAndLeaveRoomOrAreSparse)
{
    for (AwareTable table : { AwareTable::A, AwareTable::B, AwareTable::C }) {
        const int count = RoadSheet::kAwareCellCount[static_cast<int>(table)];
        for (int p = 0; p < RoadSheet::kPositions; ++p) {
            const auto row = AwareCells(table, p);
            ASSERT_FALSE(row.empty()) << p;
            const unsigned sides = RoadSheet::SetAtPosition(p).Value();
            bool anyFree = false;
            for (int k = 0; k < count; ++k)
                anyFree |= (RoadSheet::FreeSidesOfCell(table, k).Value() & sides) == sides;
            for (auto k : row) {
                ASSERT_GE(k, 0);
                ASSERT_LT(k, count);
                if (anyFree) {
                    EXPECT_EQ(RoadSheet::FreeSidesOfCell(table, k).Value() & sides, sides) << p << " " << int(k);
                }
            }
        }
        EXPECT_TRUE(AwareCells(table, 63).empty());
    }
}

} // namespace
