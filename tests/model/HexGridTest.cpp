#include <gtest/gtest.h>

#include <cstdint>

#include "model/HexGrid.h"
#include "model/Lists.h"

namespace {

struct Cell {
    int value = 0;
    int owner = -1;
};

} // namespace

TEST(HexGridTest, OneSetMakesEmptiesChecksAndFreesEveryRegisteredGrid)
{
    HexGridSet grids;
    HexGrid<int> marks;
    HexGrid<Cell> cells;
    grids.Register(marks, -1);
    grids.Register(cells, Cell { 0, -1 });
    EXPECT_EQ(grids.Count(), 2u);
    EXPECT_FALSE(grids.Contains(0, 0)) << "no size yet";

    grids.Allocate(3, 2);
    EXPECT_EQ(cells.Width(), 3);
    EXPECT_EQ(cells.Height(), 2);
    EXPECT_EQ(marks.At(2, 1), -1) << "made with the empty value of its grid";
    EXPECT_EQ(cells.At(2, 1).owner, -1);
    EXPECT_TRUE(grids.Contains(2, 1));
    EXPECT_FALSE(grids.Contains(3, 0));
    EXPECT_FALSE(grids.Contains(0, -1));

    // A grid registered later is made at once at the set's size.
    HexGrid<RecordList<int>> lists;
    grids.Register(lists, RecordList<int>());
    ASSERT_EQ(lists.Width(), 3);
    lists.At(1, 1).Append(7);
    marks.At(0, 1) = 4;
    cells.At(1, 0).value = 9;

    grids.Empty();
    EXPECT_EQ(marks.At(0, 1), -1);
    EXPECT_EQ(cells.At(1, 0).value, 0);
    EXPECT_TRUE(lists.At(1, 1).IsEmpty());
    EXPECT_EQ(lists.Height(), 2) << "emptying keeps the sizes";

    // A hex is in the set only when every grid holds it.
    marks.Allocate(2, 2, -1);
    EXPECT_FALSE(grids.Contains(2, 1));
    EXPECT_TRUE(grids.Contains(1, 1));

    grids.Free();
    EXPECT_FALSE(marks.IsAllocated());
    EXPECT_FALSE(lists.IsAllocated());
    EXPECT_EQ(cells.Width(), 0);
    EXPECT_FALSE(grids.Contains(0, 0));
}
