// The passes after the water: slopes evened out, marsh near water, towns with
// their roads and farmland, and the remaining hexside features.

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "launcher/generator/RandomMap.h"
#include "model/HexMap.h"

namespace {

std::int8_t Percent(int p) { return static_cast<std::int8_t>(p); }

bool IsOneOf(char terrain, std::string_view letters) { return letters.find(terrain) != std::string_view::npos; }

// Terrain that towns and farmland take over.
constexpr std::string_view kOpenCountry = " fmrs";

} // namespace

void RandomMap::SmoothSlopes()
{
    const int count = m_geometry->CellCount();
    const int rewind = 2 * m_geometry->Width() + 2;

    // A visit to a hex with no neighbour two or more levels up that is neither
    // a pit nor a top draws nothing and changes nothing: the walk goes past
    // such hexes at once (the same draws and changes, far fewer visits after
    // each rewind). One bit a hex marks the others.
    std::vector<std::uint64_t> busy(static_cast<std::size_t>(count + 63) / 64, 0);
    const auto mark = [&](int k) {
        const int e = Cell(k).elevation;
        int up = 0;
        int down = 0;
        bool acts = false;
        for (int d = 1; d <= 6 && !acts; ++d) {
            const int n = NeighbourCell(k, d);
            if (n < 0)
                continue;
            const int diff = Cell(n).elevation - e;
            acts = diff >= 2;
            up += diff > 0;
            down += diff < 0;
        }
        acts = acts || up > 5 || down > 5;
        std::uint64_t& word = busy[static_cast<std::size_t>(k) / 64];
        const std::uint64_t bit = std::uint64_t { 1 } << (k % 64);
        word = acts ? word | bit : word & ~bit;
    };
    // A hex whose level changed, and its neighbours.
    const auto changedAt = [&](int k) {
        mark(k);
        for (int d = 1; d <= 6; ++d) {
            const int n = NeighbourCell(k, d);
            if (n >= 0)
                mark(n);
        }
    };
    const auto nextBusy = [&](int from) {
        std::size_t word = static_cast<std::size_t>(from) / 64;
        std::uint64_t bits = busy[word] & (~std::uint64_t { 0 } << (from % 64));
        while (bits == 0) {
            if (++word >= busy.size())
                return count;
            bits = busy[word];
        }
        return static_cast<int>(word * 64) + std::countr_zero(bits);
    };
    for (int k = 0; k < count; ++k)
        mark(k);

    int changes = 0;
    int i = nextBusy(0);
    while (i < count) {
        const int e = Cell(i).elevation;
        int up = 0;
        int down = 0;
        bool changed = false;
        for (int d = 1; d <= 6; ++d) {
            const int n = NeighbourCell(i, d);
            if (n < 0)
                continue;
            MapCell& neighbour = Cell(n);
            const int diff = neighbour.elevation - e;
            if (diff > 0)
                ++up;
            else if (diff < 0)
                ++down;
            bool lower = false;
            if (diff == 2)
                lower = !m_random.RollPercent(m_mapHills);
            else if (diff == 3)
                lower = !m_random.RollPercent(Percent(m_mapHills / 2));
            else if (diff > 3)
                lower = true;
            if (lower) {
                --neighbour.elevation;
                changedAt(n);
                changed = true;
            }
        }
        if (up > 5) {
            ++Cell(i).elevation;
            changed = true;
        } else if (down > 5) {
            --Cell(i).elevation;
            changed = true;
        }
        if (!changed) {
            i = i + 1 < count ? nextBusy(i + 1) : count;
            continue;
        }
        changedAt(i);
        if (++changes >= WalkLimit()) {
            ++m_walkLimitHits;
            return;
        }
        i = nextBusy(std::max(i - rewind, 0));
    }
}

void RandomMap::PlaceWetTerrain()
{
    const int count = m_geometry->CellCount();
    for (int i = 0; i < count; ++i) {
        const auto& layers = Cell(i).layers;
        if (!IsWaterCell(i) && (layers[kLayerRiver] | layers[kLayerStream]) == 0)
            continue;
        ForSquareAround(i, 2, [this](int, int, int h) {
            char& terrain = Cell(h).terrain;
            if (terrain == ' ') {
                if (m_random.RollPercent(Percent(m_mapMarsh / 4)))
                    terrain = 'm';
            } else if (terrain == 'f') {
                if (m_random.RollPercent(Percent(m_mapMarsh / 2)))
                    terrain = 'm';
            } else if (terrain == 'm') {
                if (m_random.RollPercent(Percent(m_mapMarsh / 3)))
                    terrain = 's';
            }
        });
    }
}

void RandomMap::GenerateTownsAndRoads()
{
    const int width = m_geometry->Width();
    const int height = m_geometry->Height();
    const int towns = width * height / 800 + m_random.RollRandom(m_mapTowns) / 12;
    for (int n = 0; n < towns; ++n) {
        const int x = m_random.RollRandom(static_cast<std::int16_t>(width)) - 1;
        const int y = m_random.RollRandom(static_cast<std::int16_t>(height)) - 1;
        const int size = m_mapCities + 2 * m_mapSuburbs + 2 * m_random.RollRandom(30);
        GrowTown(x, y, size);
        AddTownLabel(x, y);
    }

    // The first layer whose chance comes up, -1 for none.
    const auto edgeLayer = [this](bool rail) {
        if (m_random.RollPercent(Percent(m_mapUnpavedRoads / 10)))
            return kLayerUnpaved;
        if (m_random.RollPercent(Percent(m_mapRoads / 10)))
            return kLayerRoad;
        if (m_random.RollPercent(Percent(m_mapPaths / 10)))
            return kLayerPath;
        if (rail && m_random.RollPercent(Percent(m_mapRailways / 20)))
            return kLayerRail;
        return -1;
    };
    // Each road leaves the map through the edge side it started from.
    for (int y = 0; y < height; ++y) {
        const int west = edgeLayer(true);
        if (west >= 0) {
            BuildRoad(0, y, m_random.RollRandom(2) + 1, west);
            SetRoadSide(m_geometry->CellIndex(0, y), 5, west);
        }
        const int east = edgeLayer(true);
        if (east >= 0) {
            BuildRoad(width - 1, y, m_random.RollRandom(2) + 3, east);
            SetRoadSide(m_geometry->CellIndex(width - 1, y), 3, east);
        }
    }
    for (int x = 0; x < width; ++x) {
        // A crossing's road always comes in at the middle of the north edge.
        const int north = x == width / 2 && m_mapRiverCrossing != 0 && m_mapRoads != 0 ? kLayerRoad : edgeLayer(false);
        if (north >= 0) {
            BuildRoad(x, 0, 4, north);
            SetRoadSide(m_geometry->CellIndex(x, 0), 1, north);
        }
        const int south = edgeLayer(false);
        if (south >= 0) {
            BuildRoad(x, height - 1, 1, south);
            SetRoadSide(m_geometry->CellIndex(x, height - 1), 4, south);
        }
    }
}

void RandomMap::GrowTown(int x, int y, int size)
{
    int i = m_geometry->CellIndex(x, y);
    while (size > 0) {
        ForSquareAround(i, 2, [&](int hx, int hy, int h) {
            char& terrain = Cell(h).terrain;
            if (IsOneOf(terrain, kOpenCountry)) {
                if (m_random.RollPercent(Percent(m_mapTowns / 4))) {
                    terrain = 'v';
                    size -= 1;
                }
            } else if (terrain == 'c') {
                size -= 4;
                if (m_random.RollPercent(m_mapRailways)) {
                    BuildRoad(hx, hy, m_random.RollRandom(6), kLayerRail);
                    // Later towns get railways less often.
                    m_mapRailways = static_cast<std::int8_t>(m_mapRailways / 4);
                } else if (m_random.RollPercent(m_mapRoads)) {
                    BuildRoad(hx, hy, m_random.RollRandom(6), kLayerRoad);
                }
            } else if (terrain == 'u') {
                size -= 4;
                if (IsIndustrySite(h) && m_random.RollPercent(m_mapIndustry))
                    terrain = 'i';
                else if (m_random.RollPercent(m_mapCities))
                    terrain = 'c';
                if (m_random.RollPercent(m_mapRoads))
                    BuildRoad(hx, hy, m_random.RollRandom(6), kLayerRoad);
                else if (m_random.RollPercent(m_mapUnpavedRoads))
                    BuildRoad(hx, hy, m_random.RollRandom(6), kLayerUnpaved);
            } else if (terrain == 'v') {
                size -= 2;
                if (IsSuburbSite(h) && m_random.RollPercent(m_mapSuburbs))
                    terrain = 'u';
                else if (m_random.RollPercent(m_mapCities))
                    terrain = 'c';
                if (m_random.RollPercent(Percent(m_mapUnpavedRoads / 2)))
                    BuildRoad(hx, hy, m_random.RollRandom(6), kLayerUnpaved);
            }
        });
        size -= 1;
        const int n = NeighbourCell(i, m_random.RollRandom(6));
        if (n >= 0)
            i = n;
    }
}

bool RandomMap::IsIndustrySite(int i) const
{
    const auto& layers = Cell(i).layers;
    if ((layers[kLayerRiver] | layers[kLayerStream]) != 0)
        return true;
    for (int d = 1; d <= 6; ++d) {
        const int n = NeighbourCell(i, d);
        if (n >= 0 && (IsWaterCell(n) || IsOneOf(Cell(n).terrain, "cuvib")))
            return true;
    }
    return false;
}

bool RandomMap::IsSuburbSite(int i) const
{
    const auto& layers = Cell(i).layers;
    if ((layers[kLayerRiver] | layers[kLayerStream] | layers[kLayerRoad] | layers[kLayerRail]) != 0)
        return true;
    int villages = 0;
    for (int d = 1; d <= 6; ++d) {
        const int n = NeighbourCell(i, d);
        if (n < 0)
            continue;
        if (IsWaterCell(n) || IsOneOf(Cell(n).terrain, "cuib"))
            return true;
        if (Cell(n).terrain == 'v')
            ++villages;
    }
    return villages == 6;
}

void RandomMap::GrowFarmland(int x, int y, int amount)
{
    int i = m_geometry->CellIndex(x, y);
    while (amount > 0) {
        ForSquareAround(i, 1, [&](int, int, int h) {
            char& terrain = Cell(h).terrain;
            if (IsOneOf(terrain, kOpenCountry)) {
                if (m_random.RollPercent(m_mapFields))
                    terrain = 'e';
                else if (m_random.RollPercent(m_mapOrchards))
                    terrain = 'o';
                amount -= 1;
            } else if (terrain == 'e') {
                if (m_random.RollRandom(6) > 1)
                    terrain = 'v';
                amount -= 2;
            }
        });
        amount -= 1;
        if (m_random.RollRandom(4) > 1) {
            const int n = NeighbourCell(i, m_random.RollRandom(6));
            if (n >= 0)
                i = n;
        }
    }
}

void RandomMap::SetRoadSide(int i, int d, int layer)
{
    SetHexside(i, d, layer);
    const auto& layers = Cell(i).layers;
    if (((layers[kLayerStream] | layers[kLayerRiver] | layers[kLayerGully]) & DirectionBit(d)) == 0)
        return;
    int bridge = kLayerMediumBridge;
    if (layer == kLayerRoad)
        bridge = m_random.RollRandom(10) < 3 ? kLayerHeavyBridge : kLayerMediumBridge;
    else if (layer == kLayerRail)
        bridge = kLayerHeavyBridge;
    else if (layer == kLayerUnpaved)
        bridge = m_random.RollRandom(10) < 8 ? kLayerHeavyBridge : kLayerLightBridge;
    SetHexside(i, d, bridge);
}

void RandomMap::BuildRoad(int x, int y, int d, int layer)
{
    int i = m_geometry->CellIndex(x, y);
    int previous = d;
    // Every step sets a side not set before, so the walk ends.
    for (;;) {
        int next = ChooseRoadDirection(i, previous, layer);
        // Roads keep straight more than the others.
        if (layer == kLayerRoad && next != previous)
            next = ChooseRoadDirection(i, previous, layer);
        if (next == -1)
            return;
        SetRoadSide(i, next, layer);
        const int n = NeighbourCell(i, next);
        if (n < 0)
            return;
        i = n;
        if (m_random.RollPercent(Percent(m_mapTowns >> 1)))
            GrowFarmland(m_geometry->CellColumn(i), m_geometry->CellRow(i), m_random.RollRandom(12));
        previous = next;
    }
}

int RandomMap::ChooseRoadDirection(int i, int d, int layer)
{
    const int e = Cell(i).elevation;
    const auto levelAndDry = [&](int n) { return Cell(n).elevation == e && !IsWaterCell(n); };
    const std::array<int, 4> scan = { WrapDirection(d), WrapDirection(d - 1), WrapDirection(d), WrapDirection(d + 1) };
    int chosen = -1;

    // Roads cross water straight, and leave it the way they came.
    if (layer == kLayerRoad) {
        const int a = NeighbourCell(i, d);
        const int b = a >= 0 ? NeighbourCell(a, d) : -1;
        if (a >= 0 && b >= 0 && (IsWaterCell(i) || (IsWaterCell(a) && !IsWaterCell(b))))
            chosen = d;
    }
    if (chosen < 0 && m_random.RollRandom(2) == 1 && layer != kLayerRail
        && (layer != kLayerRoad || m_random.RollPercent(40))) {
        m_random.RollRandom(3);
        const int c = WrapDirection(d - 2 + m_random.RollRandom(3));
        const int n = NeighbourCell(i, c);
        if (n >= 0 && levelAndDry(n))
            chosen = c;
    }
    if (chosen < 0) {
        for (const int c : scan) {
            const int n = NeighbourCell(i, c);
            if (n < 0) {
                chosen = c;
                break;
            }
            if ((Cell(n).layers[static_cast<std::size_t>(layer)] & DirectionBit(d)) != 0) {
                // Joins the road alongside.
                SetRoadSide(i, c, layer);
                return -1;
            }
        }
    }
    if (chosen < 0 && layer == kLayerUnpaved && m_random.RollRandom(3) == 1) {
        for (const int c : scan) {
            const int n = NeighbourCell(i, c);
            if (n < 0 || levelAndDry(n)) {
                chosen = c;
                break;
            }
        }
    }
    if (chosen < 0) {
        for (const int c : scan) {
            const int n = NeighbourCell(i, c);
            if (n < 0 || (std::abs(Cell(n).elevation - e) <= 1 && !IsWaterCell(n))) {
                chosen = c;
                break;
            }
        }
    }
    if (chosen < 0)
        return -1;

    const int n = NeighbourCell(i, chosen);
    if (n < 0)
        return chosen;
    const auto& ahead = Cell(n).layers;
    // Meeting a road of the same kind ends the walk on the side between.
    const auto join = [&] {
        SetRoadSide(i, chosen, layer);
        return -1;
    };
    if (layer == kLayerRail && ahead[kLayerRail] != 0)
        return join();
    if (layer == kLayerRoad && m_random.RollRandom(2) == 1 && ahead[kLayerRoad] != 0)
        return join();
    if (layer == kLayerUnpaved) {
        if (m_random.RollRandom(2) == 1 && ahead[kLayerUnpaved] != 0)
            return join();
        if (m_random.RollRandom(2) == 1 && Cell(i).layers[kLayerRoad] != 0)
            return -1;
    }
    if ((Cell(i).layers[static_cast<std::size_t>(layer)] & DirectionBit(chosen)) != 0)
        return -1;
    return chosen;
}

void RandomMap::LinkVillagesAndTidyRoads()
{
    const int count = m_geometry->CellCount();
    const int width = m_geometry->Width();
    const int height = m_geometry->Height();
    for (int i = 0; i < count; ++i) {
        const int column = m_geometry->CellColumn(i);
        const int row = m_geometry->CellRow(i);
        const bool edgeWater = IsWaterCell(i) && (column == 0 || column == width - 1 || row == 0 || row == height - 1);
        for (int d = 1; d <= 6; ++d) {
            if (Cell(i).terrain == 'v' && HasNeighbourCell(i, d) && m_random.RollPercent(Percent(m_mapUnpavedRoads / 5))
                && IsOneOf(Cell(NeighbourCell(i, d)).terrain, "vucb"))
                SetRoadSide(i, d, kLayerUnpaved);
            // One road layer a side, cleared on both hexes alike.
            const auto& layers = Cell(i).layers;
            const std::uint8_t bit = DirectionBit(d);
            if ((layers[kLayerRail] & bit) != 0) {
                ClearHexside(i, d, kLayerRoad);
                ClearHexside(i, d, kLayerUnpaved);
            } else if ((layers[kLayerRoad] & bit) != 0) {
                ClearHexside(i, d, kLayerUnpaved);
            }
            if (edgeWater) {
                ClearHexside(i, d, kLayerRoad);
                ClearHexside(i, d, kLayerUnpaved);
                ClearHexside(i, d, kLayerRail);
            }
        }
    }
}

void RandomMap::PlaceRoughAndSlopes()
{
    const int count = m_geometry->CellCount();
    const int base = m_mapBaseElevation;
    for (int i = 0; i < count; ++i) {
        const int e = Cell(i).elevation;
        // Rough is likelier far from the base level.
        const int k = std::max((13 - std::abs(e - base)) / 2, 1);
        if (m_random.RollPercent(Percent(m_mapRough / k)) && Cell(i).terrain == ' ')
            Cell(i).terrain = 'r';
        for (int d = 1; d <= 6; ++d) {
            const int n = NeighbourCell(i, d);
            if (n < 0)
                continue;
            const auto& layers = Cell(i).layers;
            if (((layers[kLayerRoad] | layers[kLayerRail] | layers[kLayerUnpaved]) & DirectionBit(d)) != 0)
                continue;
            if (e == base) {
                if (Cell(n).elevation == e)
                    continue;
                if (Cell(n).layers[kLayerEmbankment] != 0)
                    SetHexside(i, d, kLayerEmbankment);
                else if (m_random.RollPercent(m_mapEmbankments) && !IsWaterCell(i))
                    SetHexside(i, d, kLayerEmbankment);
            } else {
                PlaceSlopeFeature(i, d, m_mapCliffs, kLayerCliff);
                PlaceSlopeFeature(i, d, m_mapEscarpments, kLayerEscarpment);
            }
        }
    }
}

void RandomMap::PlaceSlopeFeature(int i, int d, int p, int layer)
{
    const int n = NeighbourCell(i, d);
    if (n < 0)
        return;
    const int diff = std::abs(Cell(i).elevation - Cell(n).elevation);
    int divisor = 0;
    if (diff == 1)
        divisor = 64;
    else if (diff == 2)
        divisor = 32;
    else if (diff == 3)
        divisor = 4;
    if (divisor == 0)
        return;
    // A slope feature runs on along its neighbour.
    if (Cell(n).layers[static_cast<std::size_t>(layer)] != 0 || m_random.RollPercent(Percent(p / divisor)))
        SetHexside(i, d, layer);
}

void RandomMap::PlaceBoundaryFeatures()
{
    PlaceBetweenLikeCells(m_mapHedges, kLayerHedge, 'e');
    PlaceBetweenLikeCells(m_mapDunes, kLayerDune, 'j');
    PlaceShoreFeature(m_mapBocage, kLayerBocage);
}

void RandomMap::PlaceShoreWalls()
{
    PlaceShoreFeature(m_mapHighWalls / 32, kLayerHighWall);
    PlaceShoreFeature(m_mapStoneWalls / 32, kLayerStoneWall);
}

namespace {

bool HasRoadOnSide(const MapCell& cell, int d)
{
    const auto& layers = cell.layers;
    return ((layers[kLayerRoad] | layers[kLayerPath] | layers[kLayerUnpaved] | layers[kLayerRail]) & DirectionBit(d))
        != 0;
}

} // namespace

void RandomMap::PlaceBetweenLikeCells(int p, int layer, char letter)
{
    const int count = m_geometry->CellCount();
    for (int i = 0; i < count; ++i) {
        for (int d = 1; d <= 6; ++d) {
            const int n = NeighbourCell(i, d);
            if (n < 0)
                continue;
            if (m_random.RollPercent(Percent(p)) && Cell(i).terrain == letter && Cell(n).terrain == letter
                && !HasRoadOnSide(Cell(i), d))
                SetHexside(i, d, layer);
        }
    }
}

void RandomMap::PlaceShoreFeature(int p, int layer)
{
    const int count = m_geometry->CellCount();
    for (int i = 0; i < count; ++i) {
        for (int d = 1; d <= 6; ++d) {
            const int n = NeighbourCell(i, d);
            if (n < 0)
                continue;
            if (m_random.RollPercent(Percent(p)) && IsWaterCell(n) && !IsWaterCell(i) && !HasRoadOnSide(Cell(i), d))
                SetHexside(i, d, layer);
        }
    }
}
