// The driver and the first passes: hills and ridges, then terrain patches.

#include <algorithm>

#include "launcher/generator/RandomMap.h"

namespace {

// The values for which RollRandom(2) is 2: trunc(r / 32767 x 2) is 1 from
// 16384 on (16383 gives 0.99997).
constexpr int kRollTwoHigh = 16384;

} // namespace

std::string RandomMap::GenerateRandomMap(const std::filesystem::path& path)
{
    m_random.SeedRandom();
    ClearLabels();
    // Levels stay 0..12 whatever the caller set.
    m_mapBaseElevation = std::clamp<std::int8_t>(m_mapBaseElevation, 0, kMaxLevel);
    if (!AllocateMapCells())
        return kMapSizeErrorText;
    GenerateHills();
    ScatterTerrain();
    GenerateWater();
    ResolveWatercoursePriorities();
    SmoothSlopes();
    PlaceWetTerrain();
    GenerateTownsAndRoads();
    LinkVillagesAndTidyRoads();
    PlaceRoughAndSlopes();
    PlaceBoundaryFeatures();
    PlaceShoreWalls();
    return WriteMapFile(path);
}

void RandomMap::GenerateHills()
{
    const int area = m_mapWidth * m_mapHeight / 400;
    const int count = static_cast<int>(area * m_mapHills / 20.0) + 5;
    const auto peak = static_cast<std::int8_t>(static_cast<int>(m_mapHills * 12.0 / 100.0));
    if (peak + m_mapBaseElevation > kMaxLevel)
        m_mapBaseElevation = static_cast<std::int8_t>(kMaxLevel - peak);
    for (int n = 0; n < count; ++n) {
        const bool ridge = m_random.RollPercent(75);
        // RollRandom(0) is 1: even without hills every hill rises one level.
        const int level = std::min(m_mapBaseElevation + m_random.RollRandom(peak), kMaxLevel);
        const int y = m_random.RollRandom(m_mapHeight) - 1;
        const int x = m_random.RollRandom(m_mapWidth) - 1;
        if (ridge)
            RaiseRidge(x, y, level);
        else
            RaiseHill(x, y, level);
    }
}

void RandomMap::RaiseHill(int x, int y, int top)
{
    const int width = m_geometry->Width();
    const int height = m_geometry->Height();
    for (int l = m_mapBaseElevation; l <= top; ++l) {
        int w = m_random.RollDice(static_cast<std::int16_t>(top - l), 4, 0);
        int h = m_random.RollDice(static_cast<std::int16_t>(top - l), 4, 0);
        int left = x - w / 2;
        int upper = y - h / 2;
        if (upper < 0) {
            h += upper;
            upper = 0;
        }
        if (left < 0) {
            w += left;
            left = 0;
        }
        if (upper + h >= height)
            h = height - upper - 1;
        if (left + w >= width)
            w = width - left - 1;
        // Both ends inclusive; the cut above keeps the window on the map.
        const int right = std::min(left + w, width - 1);
        const int lower = std::min(upper + h, height - 1);
        if (right < left || lower < upper)
            continue;
        // The draws run column by column, the grid lies row by row: the
        // outcomes are taken in draw order first (a draw never depends on a
        // cell), then applied along the rows. RollRandom(2) > 1 exactly when
        // the value is kRollTwoHigh or more.
        const int columns = right - left + 1;
        const int rows = lower - upper + 1;
        m_windowDraws.resize(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
        for (int i = 0; i < columns; ++i) {
            for (int j = 0; j < rows; ++j)
                m_windowDraws[static_cast<std::size_t>(j * columns + i)] = m_random.NextValue() >= kRollTwoHigh;
        }
        for (int j = 0; j < rows; ++j) {
            MapCell* row = &m_cells[static_cast<std::size_t>(m_geometry->CellIndex(left, upper + j))];
            const std::uint8_t* draws = &m_windowDraws[static_cast<std::size_t>(j * columns)];
            for (int i = 0; i < columns; ++i) {
                if (draws[i] && row[i].elevation < l)
                    row[i].elevation = static_cast<std::int8_t>(l);
            }
        }
    }
}

void RandomMap::RaiseRidge(int x, int y, int top)
{
    const int steps = m_random.RollDice(4, 4, 0);
    int i = m_geometry->CellIndex(x, y);
    int d = m_random.RollRandom(6);
    for (int step = 0; step < steps; ++step) {
        if (m_random.RollPercent(20))
            d = m_random.RollRandom(6);
        // A ridge that left the map goes on from index -1 (column -1, row 0):
        // its hills are cut to the map like any other.
        RaiseHill(m_geometry->CellColumn(i), m_geometry->CellRow(i), top);
        i = m_geometry->NeighbourIndex(i, d);
    }
}

void RandomMap::ScatterTerrain()
{
    ScatterTerrainLetter(m_mapForest, 'f');
    ScatterTerrainLetter(m_mapVineyard, 'n');
    ScatterTerrainLetter(m_mapCactus, 't');
    ScatterTerrainLetter(m_mapHammada, 'd');
    ScatterTerrainLetter(m_mapScrub, 'g');
    ScatterTerrainLetter(m_mapSoftSand, 'j');
    ScatterTerrainLetter(m_mapWadi, 'k');
    ScatterTerrainLetter(m_mapRicePaddy, 'l');
    ScatterTerrainLetter(m_mapFloodedPaddy, 'p');
    ScatterTerrainLetter(m_mapPalmTrees, 'q');
    ScatterTerrainLetter(m_mapLightJungle, 'y');
    ScatterTerrainLetter(m_mapJungle, 'z');
    ScatterTerrainLetter(m_mapKunai, 'A');
}

void RandomMap::ScatterTerrainLetter(int p, char letter)
{
    const int area = m_mapWidth * m_mapHeight / 400;
    const int count = static_cast<int>(area * p / 10.0);
    for (int n = 0; n < count; ++n) {
        const int size = p / (m_random.RollRandom(5) + 5);
        // Never row 0; patches centred in row 1 still reach it.
        const int y = m_random.RollRandom(static_cast<std::int16_t>(m_mapHeight - 1));
        const int x = m_random.RollRandom(m_mapWidth) - 1;
        PaintTerrainPatch(x, y, size, letter);
    }
}
