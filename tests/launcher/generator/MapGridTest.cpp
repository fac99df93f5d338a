#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "launcher/generator/MapGrid.h"
#include "launcher/generator/RandomMap.h"
#include "model/HexMap.h"

namespace {

// A grid of the given size with every cell as AllocateMapCells leaves it.
struct SmallGrid {
    LauncherRandom random;
    RandomMap map { random };

    SmallGrid(int width, int height)
    {
        map.m_mapWidth = static_cast<std::int16_t>(width);
        map.m_mapHeight = static_cast<std::int16_t>(height);
        random.SeedWith(1);
        EXPECT_TRUE(map.AllocateMapCells());
    }
};

} // namespace

TEST(MapGridTest, NeighboursOnAFourByThreeMap)
{
    // Index = x + 4 y. Odd columns stand half a hex higher.
    const MapGeometry geometry(4, 3);
    struct Case {
        int i;
        int d;
        int column; // NeighbourColumn
        int row; // NeighbourRow
        int index; // NeighbourIndex
        bool onMap; // HasNeighbourCell
    };
    const Case cases[] = {
        // Odd column inside: (1, 1).
        { 5, 1, 1, 0, 1, true },
        { 5, 2, 2, 0, 2, true },
        { 5, 3, 2, 1, 6, true },
        { 5, 4, 1, 2, 9, true },
        { 5, 5, 0, 1, 4, true },
        { 5, 6, 0, 0, 0, true },
        // Even column inside: (2, 1).
        { 6, 1, 2, 0, 2, true },
        { 6, 2, 3, 1, 7, true },
        { 6, 3, 3, 2, 11, true },
        { 6, 5, 1, 2, 9, true },
        { 6, 6, 1, 1, 5, true },
        // North-west corner (0, 0): west and north are off the map; the step
        // south-west wraps to the last column of the next row.
        { 0, 1, 0, -1, -1, false },
        { 0, 6, -1, 0, -1, false },
        { 0, 5, -1, 1, 3, false },
        { 0, 2, 1, 0, 1, true },
        { 0, 3, 1, 1, 5, true },
        // The last column eastward: NeighbourIndex lands on the first column
        // of a neighbouring row, HasNeighbourCell refuses it.
        { 3, 2, -1, -1, 0, false },
        { 3, 3, -1, 0, 4, false },
        { 7, 3, -1, 1, 8, false },
        { 7, 2, -1, 0, 4, false },
        // South edge.
        { 9, 4, 1, -1, -1, false },
        { 9, 3, 2, 2, 10, true },
        { 9, 5, 0, 2, 8, true },
        { 10, 3, 3, -1, -1, false },
        { 10, 5, 1, -1, -1, false },
        { 11, 4, 3, -1, -1, false },
        // South-east corner (3, 2), odd.
        { 11, 1, 3, 1, 7, true },
        { 11, 6, 2, 1, 6, true },
        // Index -1 (where a ridge that left the map goes on from): column -1,
        // row 0; direction 3 gives cell 0, direction 4 cell width - 1.
        { -1, 3, 0, 0, 0, true },
        { -1, 4, -1, 1, 3, false },
        { -1, 1, -1, -1, -1, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "i " << c.i << " d " << c.d);
        EXPECT_EQ(geometry.NeighbourColumn(c.i, c.d), c.column);
        EXPECT_EQ(geometry.NeighbourRow(c.i, c.d), c.row);
        EXPECT_EQ(geometry.NeighbourIndex(c.i, c.d), c.index);
        SmallGrid grid(4, 3);
        EXPECT_EQ(grid.map.HasNeighbourCell(c.i, c.d), c.onMap);
    }
    EXPECT_EQ(geometry.CellIndex(3, 2), 11);
    EXPECT_EQ(geometry.CellColumn(-1), -1);
    EXPECT_EQ(geometry.CellRow(-1), 0);
    EXPECT_EQ(geometry.CellColumn(7), 3);
    EXPECT_EQ(geometry.CellRow(7), 1);
    EXPECT_EQ(geometry.CellCount(), 12);

    for (int d = 1; d <= 6; ++d)
        EXPECT_EQ(OppositeDirection(OppositeDirection(d)), d);
    EXPECT_EQ(OppositeDirection(1), 4);
    EXPECT_EQ(OppositeDirection(2), 5);
    EXPECT_EQ(OppositeDirection(6), 3);
    EXPECT_EQ(OppositeDirection(0), 0);
    EXPECT_EQ(OppositeDirection(7), 0);
}

TEST(MapGridTest, NeighboursAgreeWithTheMainProgramsMap)
{
    for (const auto& [width, height] : { std::pair { 6, 5 }, std::pair { 2, 2 }, std::pair { 8, 3 } }) {
        SmallGrid grid(width, height);
        const MapGeometry& geometry = grid.map.Geometry();
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const int i = geometry.CellIndex(x, y);
                for (int d = 1; d <= 6; ++d) {
                    SCOPED_TRACE(
                        testing::Message() << width << "x" << height << " hex " << x << "," << y << " d " << d);
                    HexPos out { -7, -7 };
                    const bool onMap = NeighbourHex(HexSide(DirectionBit(d)), x, y, out, width, height);
                    ASSERT_EQ(grid.map.HasNeighbourCell(i, d), onMap);
                    if (onMap) {
                        EXPECT_EQ(geometry.NeighbourIndex(i, d), geometry.CellIndex(out.column, out.row));
                        EXPECT_EQ(geometry.NeighbourColumn(i, d), out.column);
                        EXPECT_EQ(geometry.NeighbourRow(i, d), out.row);
                    }
                }
            }
        }
    }
}

TEST(MapGridTest, HexsidesLieOnBothHexes)
{
    SmallGrid grid(4, 3);
    RandomMap& map = grid.map;
    const std::vector<MapCell> empty = map.Cells();
    auto changedCells = [&] {
        std::vector<int> changed;
        for (int i = 0; i < 12; ++i) {
            if (map.Cell(i).layers != empty[static_cast<std::size_t>(i)].layers)
                changed.push_back(i);
        }
        return changed;
    };

    // (1, 1) south-east is (2, 1): SE on one, NW on the other.
    map.SetHexside(5, 3, 7);
    EXPECT_EQ(map.Cell(5).layers[7], 4);
    EXPECT_EQ(map.Cell(6).layers[7], 32);
    EXPECT_EQ(changedCells(), (std::vector<int> { 5, 6 }));
    map.SetHexside(6, 1, 7); // (2, 1) north is (2, 0)
    EXPECT_EQ(map.Cell(6).layers[7], 33);
    EXPECT_EQ(map.Cell(2).layers[7], 8);
    // Clearing from the other hex clears both sides, and only that side.
    map.ClearHexside(6, 6, 7);
    EXPECT_EQ(map.Cell(5).layers[7], 0);
    EXPECT_EQ(map.Cell(6).layers[7], 1);
    map.ClearHexside(2, 4, 7);
    EXPECT_EQ(changedCells(), std::vector<int> {});

    // Edge sides lie on their one hex: the north edge, and the east step from
    // the last column (its index arithmetic would reach cell 4).
    map.SetHexside(0, 1, 0);
    map.SetHexside(3, 3, 17);
    EXPECT_EQ(map.Cell(0).layers[0], 1);
    EXPECT_EQ(map.Cell(3).layers[17], 4);
    EXPECT_EQ(changedCells(), (std::vector<int> { 0, 3 }));
    map.ClearHexside(3, 3, 17);
    map.ClearHexside(0, 1, 0);
    EXPECT_EQ(changedCells(), std::vector<int> {});

    map.Cell(4).terrain = 'w';
    map.Cell(5).terrain = 'h';
    map.Cell(6).terrain = 'm';
    EXPECT_TRUE(map.IsWaterCell(4));
    EXPECT_TRUE(map.IsWaterCell(5));
    EXPECT_FALSE(map.IsWaterCell(6));
    EXPECT_FALSE(map.IsWaterCell(0));
}

TEST(MapGridTest, CellsStartEmptyAtTheBaseWithTheirRandomValue)
{
    LauncherRandom random;
    RandomMap map(random);
    map.m_mapBaseElevation = 4;
    for (const auto& [width, height] : { std::pair { 3, 4 }, std::pair { 0, 4 }, std::pair { 4, 1 },
             std::pair { 1002, 4 }, std::pair { 4, 1001 }, std::pair { -2, 4 } }) {
        map.m_mapWidth = static_cast<std::int16_t>(width);
        map.m_mapHeight = static_cast<std::int16_t>(height);
        EXPECT_FALSE(map.AllocateMapCells()) << width << "x" << height;
        EXPECT_FALSE(map.HasCells());
    }

    map.m_mapWidth = 6;
    map.m_mapHeight = 3;
    random.SeedWith(77);
    ASSERT_TRUE(map.AllocateMapCells());
    LauncherRandom reference;
    reference.SeedWith(77);
    ASSERT_EQ(map.Cells().size(), 18u);
    for (const MapCell& cell : map.Cells()) {
        EXPECT_EQ(cell.terrain, ' ');
        EXPECT_EQ(cell.elevation, 4);
        EXPECT_EQ(cell.random, reference.RollRandom(6));
        EXPECT_EQ(cell.layers, (std::array<std::uint8_t, kMapCellLayerCount> {}));
    }
    EXPECT_EQ(random.NextValue(), reference.NextValue());
    map.FreeMapCells();
    EXPECT_FALSE(map.HasCells());
    EXPECT_TRUE(map.Cells().empty());
}

TEST(MapGridTest, PatchesAreCutAtTheWestAndNorthEdges)
{
    struct Case {
        int x;
        int y;
        int left; // the cut window [left, right) x [upper, lower)
        int right;
        int upper;
        int lower;
    };
    const Case cases[] = {
        { 1, 1, 0, 9, 0, 9 }, // over both
        { 10, 1, 3, 18, 0, 9 }, // over the north edge
        { 2, 12, 0, 10, 5, 20 }, // over the west edge
        { 18, 19, 11, 20, 12, 20 }, // over the east and south edges
    };
    for (const Case& c : cases) {
        for (const int value : { 0, 32767, -1 }) {
            SCOPED_TRACE(testing::Message() << "centre " << c.x << "," << c.y << " draws " << value);
            SmallGrid grid(20, 20);
            const int cells = (c.right - c.left) * (c.lower - c.upper);
            if (value >= 0)
                grid.random.ScriptValues(std::vector<int>(static_cast<std::size_t>(cells), value));
            else
                grid.random.SeedWith(31);
            LauncherRandom reference;
            reference.SeedWith(31);

            grid.map.PaintTerrainPatch(c.x, c.y, 15, 'f');

            for (int i = 0; i < 20; ++i) {
                for (int j = 0; j < 20; ++j) {
                    const bool painted = grid.map.Cell(grid.map.Geometry().CellIndex(i, j)).terrain == 'f';
                    const bool inside = i >= c.left && i < c.right && j >= c.upper && j < c.lower;
                    const int e = std::min({ i - c.left, j - c.upper, c.right - i, c.lower - j });
                    if (!inside) {
                        EXPECT_FALSE(painted) << i << "," << j;
                    } else if (e >= 3 || value == 0) {
                        EXPECT_TRUE(painted) << i << "," << j;
                    } else if (value == 32767) {
                        EXPECT_FALSE(painted) << i << "," << j;
                    }
                }
            }
            if (value < 0) {
                // One draw a cell of the cut window.
                for (int n = 0; n < cells; ++n)
                    reference.NextValue();
                EXPECT_EQ(grid.random.NextValue(), reference.NextValue());
            }
        }
    }
}

TEST(MapGridTest, CapElevationLowersAWindow)
{
    SmallGrid grid(10, 10);
    for (MapCell& cell : grid.map.Cells())
        cell.elevation = 9;
    // size 4: w = RollRandom(12) = 5, h = RollRandom(12) = 3, corner (1, 6).
    grid.random.ScriptValues({ 12000, 6000 });
    grid.map.CapElevationInWindow(3, 8, 4, 2);
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 10; ++j) {
            const bool inside = i >= 1 && i < 6 && j >= 6 && j < 9;
            EXPECT_EQ(grid.map.Cell(grid.map.Geometry().CellIndex(i, j)).elevation, inside ? 2 : 9) << i << "," << j;
        }
    }
    // Below 0 counts as 0; the window is cut at the south and west edges.
    grid.random.ScriptValues({ 32767, 32767 });
    grid.map.CapElevationInWindow(0, 9, 4, -3);
    EXPECT_EQ(grid.map.Cell(grid.map.Geometry().CellIndex(0, 9)).elevation, 0);
    EXPECT_EQ(grid.map.Cell(grid.map.Geometry().CellIndex(9, 9)).elevation, 0);
    EXPECT_EQ(grid.map.Cell(grid.map.Geometry().CellIndex(9, 6)).elevation, 9);
}
