#pragma once
// One value per hex of the map, stored column by column. Every per-hex grid
// of the game object is one of these; a grid is re-made whenever the map's
// size changes, so cells never outlive the map they describe.

#include <cstddef>
#include <vector>

template <typename T> class HexGrid {
public:
    HexGrid() = default;
    HexGrid(int width, int height, const T& fill) { Allocate(width, height, fill); }

    void Allocate(int width, int height, const T& fill)
    {
        m_width = width > 0 ? width : 0;
        m_height = height > 0 ? height : 0;
        m_cells.assign(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), fill);
    }
    void Free()
    {
        m_cells.clear();
        m_cells.shrink_to_fit();
        m_width = m_height = 0;
    }
    void Fill(const T& value) { m_cells.assign(m_cells.size(), value); }

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool IsAllocated() const { return !m_cells.empty(); }
    bool Contains(int column, int row) const { return column >= 0 && column < m_width && row >= 0 && row < m_height; }

    // Callers check Contains first: a hex off the grid is a caller's fault.
    T& At(int column, int row) { return m_cells[Index(column, row)]; }
    const T& At(int column, int row) const { return m_cells[Index(column, row)]; }

private:
    std::size_t Index(int column, int row) const
    {
        return static_cast<std::size_t>(column) * static_cast<std::size_t>(m_height) + static_cast<std::size_t>(row);
    }

    int m_width = 0;
    int m_height = 0;
    std::vector<T> m_cells;
};
