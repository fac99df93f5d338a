// The water pass: lakes, the north coast, the major river, and rivers, streams
// and gullies drawn as hexside features along their banks.

#include <algorithm>
#include <array>
#include <string_view>

#include "launcher/generator/RandomMap.h"
#include "model/HexMap.h"

namespace {

constexpr std::uint8_t SideBits(std::string_view sides)
{
    std::uint8_t bits = 0;
    for (const char side : sides)
        bits = static_cast<std::uint8_t>(bits | DirectionBit(side - '0'));
    return bits;
}

// The banks a course marks in a hex, by the direction it arrived in (row)
// and the one it leaves in (column).
constexpr std::array<std::array<std::uint8_t, 6>, 6> kCourseSides = { {
    { SideBits("56"), SideBits("561"), SideBits("34"), SideBits("4"), SideBits(""), SideBits("5") },
    { SideBits("6"), SideBits("61"), SideBits("612"), SideBits("45"), SideBits("5"), SideBits("") },
    { SideBits(""), SideBits("1"), SideBits("12"), SideBits("123"), SideBits("56"), SideBits("6") },
    { SideBits("1"), SideBits(""), SideBits("2"), SideBits("23"), SideBits("234"), SideBits("16") },
    { SideBits("12"), SideBits("2"), SideBits(""), SideBits("3"), SideBits("34"), SideBits("345") },
    { SideBits("456"), SideBits("23"), SideBits("3"), SideBits(""), SideBits("4"), SideBits("45") },
} };

} // namespace

int RandomMap::SideDirection(int d)
{
    const int s = m_random.RollPercent(50) ? d - 1 : d + 1;
    // Truncating: 7 becomes 1, 0 stays 0.
    return (s - 1) % 6 + 1;
}

void RandomMap::GenerateWater()
{
    const int width = m_mapWidth;
    const int height = m_mapHeight;
    if (m_mapRiverCrossing != 0) {
        m_mapMajorRiverWidth = static_cast<std::int8_t>(m_mapMajorRiverWidth - m_mapMajorRiverWidth / 5);
        m_mapGullies = static_cast<std::int8_t>(m_mapGullies - m_mapGullies / 5);
        m_mapStreams = static_cast<std::int8_t>(m_mapStreams - m_mapStreams / 5);
    }

    const int lakes = height * width * m_mapLakes / 160000;
    for (int n = 0; n < lakes; ++n) {
        const int size = m_random.RollDice(static_cast<std::int16_t>(m_mapLakes >> 3), 4, 0);
        const int y = m_random.RollRandom(static_cast<std::int16_t>(height)) - 1;
        const int x = m_random.RollRandom(static_cast<std::int16_t>(width)) - 1;
        GrowLake(x, y, size);
    }

    // Starts the formulas put off a small map are moved onto it.
    const auto column = [width](int x) { return std::clamp(x, 0, width - 1); };
    const auto row = [height](int y) { return std::clamp(y, 0, height - 1); };
    const auto centre = [&] {
        const int cx = width / 2 + m_random.RollRandom(static_cast<std::int16_t>(width / 2)) - width / 4;
        const int cy = height / 2 + m_random.RollRandom(static_cast<std::int16_t>(height / 2)) - height / 4;
        return std::pair { column(cx), row(cy) };
    };
    const bool lake = m_mapLakeFlag != 0;
    const bool crossing = m_mapRiverCrossing != 0;
    const bool coast = m_mapCoastFlag != 0;
    const int area = width * height;
    if (lake) {
        if (coast)
            BuildCoast();
        const auto [cx, cy] = centre();
        if (crossing) {
            TraceMajorRiver(cx, cy);
            GrowLake(cx, cy, area * m_mapMajorRiverWidth / 400 * 10);
        } else {
            GrowLake(cx, cy, coast ? area / 400 * 10 : area * 100 / 400 * 10);
        }
    } else if (crossing) {
        if (coast) {
            BuildCoast();
            TraceMajorRiver(
                column(width / 2 + m_random.RollRandom(static_cast<std::int16_t>(width / 2)) - width / 4), 0);
        } else {
            const int r = m_random.RollRandom(6);
            TraceMajorRiver(0, row(height / 2 - r));
        }
    } else if (coast) {
        BuildCoast();
    }

    // Rivers and streams come in from the west and east edges, then from the
    // north and south; a start makes the next one along the edge less likely.
    // The west and east starts draw their direction (low or low + 1) after
    // the tests; the north and south ones have theirs fixed.
    const auto edgeCourse = [this](int x, int y, int low, bool turn) {
        const auto direction = [&] { return turn ? low + m_random.RollRandom(2) - 1 : low; };
        if (m_random.RollPercent(static_cast<std::int8_t>(m_mapRivers / 20)))
            TraceRiver(x, y, direction());
        else if (m_random.RollPercent(static_cast<std::int8_t>(m_mapStreams / 5)))
            TraceStream(x, y, direction());
    };
    int p = 50;
    for (int y = 0; y < height; ++y) {
        if (m_random.RollPercent(static_cast<std::int8_t>(p))) {
            p -= 15;
            edgeCourse(0, y, 2, true);
            edgeCourse(width - 1, y, 5, true);
        } else if (p < 50) {
            p += 5;
        }
    }
    p = 50;
    for (int x = 0; x < width; ++x) {
        if (m_random.RollPercent(static_cast<std::int8_t>(p))) {
            p -= 15;
            edgeCourse(x, 0, 4, false);
            edgeCourse(x, height - 1, 1, false);
        } else if (p < 50) {
            p += 5;
        }
    }
}

void RandomMap::ResolveWatercoursePriorities()
{
    const int count = m_geometry->CellCount();
    for (int i = 0; i < count; ++i) {
        const auto& courses = Cell(i).layers;
        if (IsWaterCell(i) && (courses[kLayerRiver] | courses[kLayerStream] | courses[kLayerGully]) != 0) {
            for (int d = 1; d <= 6; ++d) {
                ClearHexside(i, d, kLayerRiver);
                ClearHexside(i, d, kLayerStream);
                ClearHexside(i, d, kLayerGully);
            }
        }
        auto& layers = Cell(i).layers;
        // The neighbour sees the same bits on its side and clears them when
        // its turn comes.
        const auto river = layers[kLayerRiver];
        layers[kLayerStream] = static_cast<std::uint8_t>(layers[kLayerStream] & ~river);
        layers[kLayerGully] = static_cast<std::uint8_t>(layers[kLayerGully] & ~(river | layers[kLayerStream]));
    }
}

void RandomMap::TraceRiver(int x, int y, int d) { TraceWatercourse(x, y, d, kLayerRiver); }

void RandomMap::TraceStream(int x, int y, int d) { TraceWatercourse(x, y, d, kLayerStream); }

void RandomMap::TraceWatercourse(int x, int y, int d, int layer)
{
    const bool river = layer == kLayerRiver;
    // A river stops at gullies and runs on beside streams; a stream stops at
    // another stream.
    const auto stopLayer = static_cast<std::size_t>(river ? kLayerGully : kLayerStream);
    const int top = m_mapBaseElevation + 3;
    int i = m_geometry->CellIndex(x, y);
    const int start = Cell(i).elevation;
    int previous = d;
    for (int step = 0;; ++step) {
        if (step >= WalkLimit()) {
            ++m_walkLimitHits;
            return;
        }
        int next = previous;
        if (m_random.RollPercent(33))
            next = ChooseCourseDirection(i, previous, d);
        if (next == -1)
            return;
        if (next == previous && m_random.RollPercent(25))
            next += m_random.RollRandom(2) - 1;
        next = WrapDirection(next);
        const int column = m_geometry->CellColumn(i);
        const int row = m_geometry->CellRow(i);
        const bool dry = !IsWaterCell(i);
        if (dry) {
            CapElevationInWindow(column - 1, row - 1, 1, start);
            MarkCourseThroughCell(i, previous, next, layer);
        }
        const int n = NeighbourCell(i, next);
        if (n < 0 || Cell(n).elevation > top || Cell(n).layers[stopLayer] != 0)
            return;
        if (dry) {
            if (river) {
                if (m_random.RollPercent(m_mapStreams))
                    TraceStream(column, row, SideDirection(next));
                else if (m_random.RollPercent(m_mapGullies))
                    TraceGully(column, row, SideDirection(next));
            } else if (m_random.RollPercent(m_mapGullies)) {
                TraceGully(column, row, SideDirection(next));
            }
        }
        i = n;
        previous = next;
    }
}

void RandomMap::TraceGully(int x, int y, int d)
{
    const int top = m_mapBaseElevation + 3;
    int steps = m_random.RollDice(2, 2, 2);
    int i = m_geometry->CellIndex(x, y);
    int previous = d;
    for (;;) {
        --steps;
        int next = previous;
        if (m_random.RollPercent(33))
            next = ChooseCourseDirection(i, previous, d);
        if (next == -1)
            return;
        next = WrapDirection(next);
        if (!IsWaterCell(i))
            MarkCourseThroughCell(i, previous, next, kLayerGully);
        if (steps < 1)
            return;
        const int n = NeighbourCell(i, next);
        if (n < 0 || Cell(n).elevation > top)
            return;
        const auto& layers = Cell(n).layers;
        if ((layers[kLayerStream] | layers[kLayerRiver] | layers[kLayerGully]) != 0)
            return;
        i = n;
        previous = next;
    }
}

void RandomMap::TraceMajorRiver(int x, int y)
{
    int w = m_mapMajorRiverWidth / 10;
    AddRiverLabel(x, y);
    w = std::max(w - 1, 1);
    int i = m_geometry->CellIndex(x, y);
    int main = EdgeStartDirection(x, y);
    const int width = m_geometry->Width();
    const int height = m_geometry->Height();
    for (int step = 0;; ++step) {
        if (step >= WalkLimit()) {
            ++m_walkLimitHits;
            return;
        }
        FillWaterBlock(i, w);
        const int column = m_geometry->CellColumn(i);
        const int row = m_geometry->CellRow(i);
        CapElevationInWindow(column - (w >> 1), row - (w >> 1), w, m_mapBaseElevation);
        const bool swerve = m_random.RollPercent(10);
        int next = 0;
        if (swerve && column > 0 && column < width - 1 && row > 0 && row < height - 1)
            next = main - 3 + m_random.RollRandom(5);
        else if (m_random.RollPercent(60))
            next = main;
        else
            next = main - 2 + m_random.RollRandom(3);
        next = WrapDirection(next);
        if (m_random.RollPercent(static_cast<std::int8_t>(m_mapRivers / 20)))
            TraceRiver(column, row, SideDirection(next));
        else if (m_random.RollPercent(m_mapStreams))
            TraceStream(column, row, SideDirection(next));
        main = DriftMajorRiverDirection(main);
        const int n = NeighbourCell(i, next);
        if (n < 0)
            return;
        i = n;
    }
}

void RandomMap::GrowLake(int x, int y, int steps)
{
    int i = m_geometry->CellIndex(x, y);
    int d = m_random.RollRandom(6);
    for (int step = 0;; ++step) {
        if (step >= WalkLimit()) {
            ++m_walkLimitHits;
            return;
        }
        d += m_random.RollRandom(5);
        while (d > 6)
            d -= 6;
        const int s = m_random.RollRandom(3) + 1;
        --steps;
        FillWaterBlock(i, s);
        const int column = m_geometry->CellColumn(i);
        const int row = m_geometry->CellRow(i);
        CapElevationInWindow(column - s / 2, row - s / 2, s, m_mapBaseElevation - 1);
        // Courses leave the lake to either side of its way, never along it.
        const auto outlet = [&] {
            int r = d - 2 + m_random.RollRandom(3);
            while (r == d)
                r = d - 2 + m_random.RollRandom(3);
            return (r - 1) % 6 + 1;
        };
        if (m_random.RollPercent(16))
            TraceRiver(column, row, outlet());
        if (m_random.RollPercent(16))
            TraceStream(column, row, outlet());
        const int n = NeighbourCell(i, d);
        if (n < 0 || steps < 1)
            return;
        i = n;
    }
}

void RandomMap::BuildCoast()
{
    const int width = m_geometry->Width();
    const int height = m_geometry->Height();
    int depth = height / 5;
    int beach = m_random.RollRandom(4) - 1;
    for (int x = 0; x < width; ++x) {
        // Held to H / 20 .. H / 4 rows, so (x, depth) lies on the map.
        if (depth < height / 20)
            ++depth;
        if (depth > height / 4)
            --depth;
        const int r = m_random.RollRandom(100);
        if (r < 30 && beach > 0)
            --beach;
        else if (r > 70 && beach < 3)
            ++beach;
        for (int y = 0; y < depth; ++y) {
            MapCell& cell = Cell(m_geometry->CellIndex(x, y));
            cell.terrain = depth <= y + beach ? 'h' : 'w';
            const int s = m_random.RollRandom(4);
            CapElevationInWindow(x - s / 2, y - s / 2, s, m_mapBaseElevation - 1);
            cell.elevation = 0;
        }
        if (beach != 0)
            Cell(m_geometry->CellIndex(x, depth)).terrain = 'a';
        if (m_random.RollPercent(static_cast<std::int8_t>(m_mapRivers >> 2)))
            TraceRiver(x, depth, 4);
        else if (m_random.RollPercent(static_cast<std::int8_t>(m_mapStreams >> 2)))
            TraceStream(x, depth, 4);
        depth += m_random.RollRandom(3) - 2;
    }
}

void RandomMap::FillWaterBlock(int i, int size)
{
    const int width = m_geometry->Width();
    const int height = m_geometry->Height();
    const int left = m_geometry->CellColumn(i);
    const int upper = m_geometry->CellRow(i);
    const int right = std::min(left + size, width);
    const int lower = std::min(upper + size, height);
    for (int x = left; x < right; ++x) {
        for (int y = upper; y < lower; ++y) {
            const int cell = m_geometry->CellIndex(x, y);
            Cell(cell).terrain = 'w';
            Cell(cell).elevation = 0;
            // A side is set on both hexes or on neither: a hex with no side
            // set needs no clearing.
            const auto& layers = Cell(cell).layers;
            if ((layers[kLayerRiver] | layers[kLayerStream]) == 0)
                continue;
            for (int d = 1; d <= 6; ++d) {
                ClearHexside(cell, d, kLayerRiver);
                ClearHexside(cell, d, kLayerStream);
            }
        }
    }
}

int RandomMap::ChooseCourseDirection(int i, int previous, int main)
{
    const int e = Cell(i).elevation;
    const auto level = [&](int c) {
        const int n = NeighbourCell(i, c);
        return n >= 0 && Cell(n).elevation == e;
    };
    if (m_random.RollRandom(2) == 1) {
        int c = main - 2 + m_random.RollRandom(3);
        if (c == main)
            c = main - 2 + m_random.RollRandom(3);
        c = WrapDirection(c);
        if (main != previous && level(c))
            return c;
    }
    const std::array<int, 4> scan = { WrapDirection(previous), WrapDirection(previous - 1), WrapDirection(previous),
        WrapDirection(previous + 1) };
    if (m_random.RollRandom(2) == 1) {
        for (const int c : scan) {
            if (!HasNeighbourCell(i, c) || level(c))
                return c;
        }
    }
    for (const int c : scan) {
        const int n = NeighbourCell(i, c);
        if (n < 0 || Cell(n).elevation > e)
            return c;
    }
    return -1;
}

int RandomMap::EdgeStartDirection(int x, int y)
{
    const int width = m_geometry->Width();
    const int height = m_geometry->Height();
    if (x == 0)
        return y < height / 2 ? 2 : 3;
    if (x == width - 1)
        return y < height / 2 ? 6 : 5;
    if (y == 0)
        return 4;
    if (y == height - 1)
        return 1;
    return m_random.RollRandom(6);
}

int RandomMap::DriftMajorRiverDirection(int d)
{
    if (d == 2 || d == 3)
        return m_random.RollPercent(50) ? 2 : 3;
    if (d == 5 || d == 6)
        return m_random.RollPercent(50) ? 6 : 5;
    return d;
}

void RandomMap::MarkCourseThroughCell(int i, int previous, int next, int layer)
{
    if (previous < 1 || previous > 6 || next < 1 || next > 6)
        return;
    const std::uint8_t sides = kCourseSides[static_cast<std::size_t>(previous - 1)][static_cast<std::size_t>(next - 1)];
    for (int d = 1; d <= 6; ++d) {
        if ((sides & DirectionBit(d)) != 0)
            SetHexside(i, d, layer);
    }
}
