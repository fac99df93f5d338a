#include "launcher/generator/RandomMap.h"

#include <algorithm>
#include <cstdlib>

std::string RandomMap::DataFilePath(std::string_view name) const
{
    if (m_dataFolder.empty())
        return std::string(name);
    return (m_dataFolder / std::string(name)).string();
}

bool RandomMap::IsValidMapSize(int width, int height)
{
    // The parity tests of the geometry need an even width.
    return width % 2 == 0 && width >= kMinMapSize && width <= kMaxMapSize && height >= kMinMapSize
        && height <= kMaxMapSize;
}

bool RandomMap::AllocateMapCells()
{
    FreeMapCells();
    if (!IsValidMapSize(m_mapWidth, m_mapHeight))
        return false;
    m_geometry.emplace(m_mapWidth, m_mapHeight);
    m_walkLimitHits = 0;
    m_cells.resize(static_cast<std::size_t>(m_geometry->CellCount()));
    for (MapCell& cell : m_cells) {
        cell.terrain = ' ';
        cell.elevation = m_mapBaseElevation;
        cell.random = static_cast<std::int8_t>(m_random.RollRandom(6));
        cell.layers.fill(0);
    }
    return true;
}

void RandomMap::FreeMapCells()
{
    m_geometry.reset();
    m_cells.clear();
    m_cells.shrink_to_fit();
}

bool RandomMap::HasNeighbourCell(int i, int d) const
{
    return m_geometry->NeighbourColumn(i, d) != -1 && m_geometry->NeighbourRow(i, d) != -1;
}

void RandomMap::SetHexside(int i, int d, int layer)
{
    if (i < 0 || i >= m_geometry->CellCount() || layer < 0 || layer >= kMapCellLayerCount)
        return;
    const auto index = static_cast<std::size_t>(layer);
    Cell(i).layers[index] |= DirectionBit(d);
    const int neighbour = NeighbourCell(i, d);
    if (neighbour >= 0)
        Cell(neighbour).layers[index] |= DirectionBit(OppositeDirection(d));
}

void RandomMap::ClearHexside(int i, int d, int layer)
{
    if (i < 0 || i >= m_geometry->CellCount() || layer < 0 || layer >= kMapCellLayerCount)
        return;
    const auto index = static_cast<std::size_t>(layer);
    Cell(i).layers[index] &= static_cast<std::uint8_t>(~DirectionBit(d));
    const int neighbour = NeighbourCell(i, d);
    if (neighbour >= 0)
        Cell(neighbour).layers[index] &= static_cast<std::uint8_t>(~DirectionBit(OppositeDirection(d)));
}

bool RandomMap::IsWaterCell(int i) const
{
    const char terrain = Cell(i).terrain;
    return terrain == 'w' || terrain == 'h';
}

namespace {

// A window [left, left + w) x [upper, upper + h) cut at the map's edges, the
// way the patch passes cut it.
struct CutWindow {
    int left;
    int upper;
    int w;
    int h;
};

CutWindow CutToMap(int left, int upper, int w, int h, int width, int height)
{
    if (left < 0) {
        w += left;
        left = 0;
    }
    if (upper < 0) {
        h += upper;
        upper = 0;
    }
    if (left + w >= width)
        w = width - left;
    if (upper + h >= height)
        h = height - upper;
    return { left, upper, w, h };
}

} // namespace

void RandomMap::PaintTerrainPatch(int x, int y, int size, char letter)
{
    const int width = m_geometry->Width();
    const int height = m_geometry->Height();
    const CutWindow window = CutToMap(x - (size >> 1), y - (size >> 1), size, size, width, height);
    const int right = window.left + window.w;
    const int lower = window.upper + window.h;
    for (int i = window.left; i < right; ++i) {
        for (int j = window.upper; j < lower; ++j) {
            const int e = std::min(
                { std::abs(i - window.left), std::abs(j - window.upper), std::abs(i - right), std::abs(j - lower) });
            const bool paint = m_random.RollRandom(4) - 1 <= e;
            if (paint && i >= 0 && i < width && j >= 0 && j < height)
                Cell(m_geometry->CellIndex(i, j)).terrain = letter;
        }
    }
}

void RandomMap::CapElevationInWindow(int x, int y, int size, int level)
{
    if (level < 0)
        level = 0;
    const int w = m_random.RollRandom(static_cast<std::int16_t>(3 * size));
    const int h = m_random.RollRandom(static_cast<std::int16_t>(3 * size));
    const int width = m_geometry->Width();
    const int height = m_geometry->Height();
    const CutWindow window = CutToMap(x - (size >> 1), y - (size >> 1), w, h, width, height);
    const int right = std::min(window.left + window.w, width);
    const int lower = std::min(window.upper + window.h, height);
    for (int i = window.left; i < right; ++i) {
        for (int j = window.upper; j < lower; ++j) {
            MapCell& cell = Cell(m_geometry->CellIndex(i, j));
            if (cell.elevation > level)
                cell.elevation = static_cast<std::int8_t>(level);
        }
    }
}

bool RandomMap::AddTownLabel(int column, int row)
{
    if (static_cast<int>(m_townLabels.size()) >= kMaxLabels)
        return false;
    m_townLabels.push_back({ column, row });
    return true;
}

bool RandomMap::AddRiverLabel(int column, int row)
{
    if (static_cast<int>(m_riverLabels.size()) >= kMaxLabels)
        return false;
    m_riverLabels.push_back({ column, row });
    return true;
}

void RandomMap::ClearLabels()
{
    m_townLabels.clear();
    m_riverLabels.clear();
}
