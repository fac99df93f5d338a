#pragma once
// The random map generator's grid: one cell a hex in cell-index order
// (x + width * y) and the index arithmetic every pass shares. Directions are
// numbered 1 N, 2 NE, 3 SE, 4 S, 5 SW, 6 NW; direction d's hexside bit is
// 1 << (d - 1). Odd columns stand half a hex higher than even ones, as on the
// main program's map.

#include <array>
#include <cstdint>

// Feature layers a cell carries (0 Road ... 19 Reef), in the map file's order.
inline constexpr int kMapCellLayerCount = 20;

struct MapCell {
    char terrain = ' '; // terrain letter of the map file
    std::int8_t random = 0; // 1..6, drawn when the grid is made; the map's code grid
    std::int8_t elevation = 0; // level 0..12
    std::array<std::uint8_t, kMapCellLayerCount> layers {}; // hexside bits per feature layer

    friend bool operator==(const MapCell&, const MapCell&) = default;
};

// The size of the grid and its index arithmetic; it never reads the cells.
// The parity tests use the cell index, which has its column's parity because
// the width is always even.
class MapGeometry {
public:
    MapGeometry(std::int16_t width, std::int16_t height)
        : m_width(width)
        , m_height(height)
        , m_cellCount(static_cast<std::int32_t>(width) * height)
    {
    }

    std::int16_t Width() const { return m_width; }
    std::int16_t Height() const { return m_height; }
    std::int32_t CellCount() const { return m_cellCount; }

    int CellIndex(int x, int y) const { return x + m_width * y; }
    // C division: index -1 lies in row 0, column -1.
    int CellRow(int i) const { return i / m_width; }
    int CellColumn(int i) const { return i % m_width; }

    // The column and row of the neighbour in direction d; -1 when it lies off
    // the map.
    int NeighbourColumn(int i, int d) const;
    int NeighbourRow(int i, int d) const;
    // The neighbour's index by index arithmetic alone; -1 outside 0 .. count - 1.
    // It does not test the column: a step east from the last column lands on
    // the first column of a neighbouring row.
    int NeighbourIndex(int i, int d) const;

private:
    std::int16_t m_width;
    std::int16_t m_height;
    std::int32_t m_cellCount;
};

// 1 and 4, 2 and 5, 3 and 6; 0 for anything that is not a direction.
int OppositeDirection(int d);

// A direction made by arithmetic (-5..12) brought back into 1..6 by one turn.
constexpr int WrapDirection(int d) { return d < 1 ? d + 6 : (d > 6 ? d - 6 : d); }

// The hexside bit of direction 1..6; 0 for anything else.
constexpr std::uint8_t DirectionBit(int d)
{
    return d >= 1 && d <= 6 ? static_cast<std::uint8_t>(1u << (d - 1)) : std::uint8_t { 0 };
}
