#pragma once
// One value per hex of the map, stored column by column. Every per-hex grid
// of the game object is one of these; a grid is re-made whenever the map's
// size changes, so cells never outlive the map they describe.

#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>
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

// Every per-hex grid of one game object, each with the value of an empty hex,
// so that making, freeing and emptying the grids and checking a hex against
// them walks one list: a layer registers each of its grids once, in its
// constructor, and never lists them again. The set refers to grids it does
// not own; it must not outlive them, and nothing walks it once the layers
// that own them are being destroyed.
class HexGridSet {
public:
    HexGridSet() = default;
    HexGridSet(const HexGridSet&) = delete;
    HexGridSet& operator=(const HexGridSet&) = delete;

    // The grid joins the set, made at the set's size with every hex empty.
    template <typename T> void Register(HexGrid<T>& grid, std::type_identity_t<T> empty)
    {
        grid.Allocate(m_width, m_height, empty);
        m_grids.push_back(std::make_unique<Entry<T>>(grid, std::move(empty)));
    }

    // Every grid made at this size, every hex empty.
    void Allocate(int width, int height)
    {
        m_width = width;
        m_height = height;
        for (const auto& grid : m_grids)
            grid->Allocate(width, height);
    }
    void Free()
    {
        m_width = m_height = 0;
        for (const auto& grid : m_grids)
            grid->Free();
    }
    // Every hex of every grid empty again; the sizes stay.
    void Empty()
    {
        for (const auto& grid : m_grids)
            grid->Empty();
    }
    // Every grid holds the hex.
    bool Contains(int column, int row) const
    {
        for (const auto& grid : m_grids)
            if (!grid->Contains(column, row))
                return false;
        return true;
    }
    std::size_t Count() const { return m_grids.size(); }

private:
    class Grid {
    public:
        virtual ~Grid() = default;
        virtual void Allocate(int width, int height) = 0;
        virtual void Free() = 0;
        virtual void Empty() = 0;
        virtual bool Contains(int column, int row) const = 0;
    };

    template <typename T> class Entry final : public Grid {
    public:
        Entry(HexGrid<T>& grid, T empty)
            : m_grid(grid)
            , m_empty(std::move(empty))
        {
        }
        void Allocate(int width, int height) override { m_grid.Allocate(width, height, m_empty); }
        void Free() override { m_grid.Free(); }
        void Empty() override { m_grid.Fill(m_empty); }
        bool Contains(int column, int row) const override { return m_grid.Contains(column, row); }

    private:
        HexGrid<T>& m_grid;
        T m_empty;
    };

    std::vector<std::unique_ptr<Grid>> m_grids;
    int m_width = 0;
    int m_height = 0;
};
