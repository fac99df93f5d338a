// Keyed blits of hex-shaped cells over a 1920x1080 back buffer, as a full
// repaint of the map draws them: opaque runs with memcpy, against the plain
// pixel-by-pixel key test (the same source drawn without its run table) and
// an unkeyed copy.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/gfx/Blit.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Region.h"

using namespace platform;
using namespace platform::gfx;

namespace {

constexpr int kCellWidth = 64;
constexpr int kCellHeight = 56;
constexpr Pixel kKey = 0xFF00FF;

// A sheet of 8 by 4 hexagonal cells on the key colour.
Surface HexSheet()
{
    Surface sheet(8 * kCellWidth, 4 * kCellHeight, kKey);
    Canvas canvas(sheet);
    canvas.SetPen(Pen::None());
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 8; ++column) {
            const int x = column * kCellWidth, y = row * kCellHeight;
            const std::vector<Point> hex { { x + 16, y }, { x + 48, y }, { x + 64, y + 28 }, { x + 48, y + 56 },
                { x + 16, y + 56 }, { x, y + 28 } };
            canvas.SetBrush({ Rgb(40 + column * 20, 90 + row * 30, 60) });
            canvas.Polygon(hex);
        }
    }
    return sheet;
}

// Covers the back buffer with cells in hex rows; returns the cells drawn.
// With `cells` each is drawn by the cell blit the map view uses.
std::int64_t Repaint(Surface& back, const Surface& sheet, const Region* clip, bool keyed, bool cells = false)
{
    std::int64_t drawn = 0;
    for (int y = -kCellHeight / 2, row = 0; y < back.Height(); y += kCellHeight / 2, ++row) {
        for (int x = (row % 2) * 48 - 48; x < back.Width(); x += 96) {
            const int cell = (row * 7 + x) & 31;
            const Rect from = Rect::FromPointSize(
                { (cell % 8) * kCellWidth, (cell / 8) * kCellHeight }, { kCellWidth, kCellHeight });
            if (cells)
                BlitCell(back, { x, y }, sheet, from, back.Bounds(), keyed);
            else
                Blit(back, { x, y }, sheet, from, { keyed, clip });
            ++drawn;
        }
    }
    return drawn;
}

void BM_KeyedBlitRuns(benchmark::State& state)
{
    Surface sheet = HexSheet();
    sheet.SetKeyFromCorner();
    Surface back(1920, 1080);
    std::int64_t cells = 0;
    for (auto _ : state) {
        cells += Repaint(back, sheet, nullptr, true);
        benchmark::DoNotOptimize(back.Pixels().data());
    }
    state.SetItemsProcessed(cells);
    state.counters["cells_per_repaint"] = double(cells) / double(state.iterations());
}
BENCHMARK(BM_KeyedBlitRuns)->Unit(benchmark::kMillisecond);

// The same through each cell's kept pieces.
void BM_KeyedBlitCells(benchmark::State& state)
{
    Surface sheet = HexSheet();
    sheet.SetKeyFromCorner();
    Surface back(1920, 1080);
    std::int64_t cells = 0;
    for (auto _ : state) {
        cells += Repaint(back, sheet, nullptr, true, true);
        benchmark::DoNotOptimize(back.Pixels().data());
    }
    state.SetItemsProcessed(cells);
}
BENCHMARK(BM_KeyedBlitCells)->Unit(benchmark::kMillisecond);

void BM_KeyedBlitRunsClipped(benchmark::State& state)
{
    Surface sheet = HexSheet();
    sheet.SetKeyFromCorner();
    Surface back(1920, 1080);
    const Region clip = Region::FromRect({ 0, 0, 1920, 1080 });
    std::int64_t cells = 0;
    for (auto _ : state) {
        cells += Repaint(back, sheet, &clip, true);
        benchmark::DoNotOptimize(back.Pixels().data());
    }
    state.SetItemsProcessed(cells);
}
BENCHMARK(BM_KeyedBlitRunsClipped)->Unit(benchmark::kMillisecond);

// The reference: the same cells tested pixel by pixel against the key.
void BM_KeyedBlitPerPixel(benchmark::State& state)
{
    const Surface sheet = HexSheet(); // unkeyed: the blit compares each pixel with the corner
    Surface back(1920, 1080);
    std::int64_t cells = 0;
    for (auto _ : state) {
        cells += Repaint(back, sheet, nullptr, true);
        benchmark::DoNotOptimize(back.Pixels().data());
    }
    state.SetItemsProcessed(cells);
}
BENCHMARK(BM_KeyedBlitPerPixel)->Unit(benchmark::kMillisecond);

void BM_PlainBlit(benchmark::State& state)
{
    const Surface sheet = HexSheet();
    Surface back(1920, 1080);
    std::int64_t cells = 0;
    for (auto _ : state) {
        cells += Repaint(back, sheet, nullptr, false);
        benchmark::DoNotOptimize(back.Pixels().data());
    }
    state.SetItemsProcessed(cells);
}
BENCHMARK(BM_PlainBlit)->Unit(benchmark::kMillisecond);

} // namespace
