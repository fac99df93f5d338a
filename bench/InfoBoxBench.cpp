// Full repaint of the info box on a hex of the demo battle holding six units:
// six panels with their numbers, marks and bars, then the hex description,
// presented. The goal is under 2 ms a repaint.

#include <benchmark/benchmark.h>

#include "frame/InfoBoxWnd.h"
#include "tools/render/HeadlessMap.h"

namespace {

void BM_InfoBoxSixUnitRepaint(benchmark::State& state)
{
    HeadlessMap map(VL_BENCH_DATA_DIR, VL_BENCH_DATA_DIR, { 800, 600 });
    std::string error;
    if (!map.ReadBattle(std::string(VL_BENCH_DATA_DIR) + "/demo.scn", error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    map.Show(1, false, { 10, 10 });
    CGame& game = map.Game();
    // The first stack of the demo, grown to six units.
    HexPos hex { -1, -1 };
    for (int c = 0; c < game.m_map.GetWidth() && hex.column < 0; ++c)
        for (int r = 0; r < game.m_map.GetHeight() && hex.column < 0; ++r)
            if (!game.m_stacks.At(c, r).IsEmpty())
                hex = { c, r };
    UnitList& units = game.m_stacks.At(hex.column, hex.row);
    while (units.Count() < 6)
        units.Append(units.Head()->value);
    for (PlacedUnit& unit : units)
        unit.m_status = 0;

    CInfoBoxWnd box(&game, &map.View());
    platform::testing::HeadlessWindowHost host(box, map.Services().Get(), { 192, 1200 });
    host.Create();
    box.SetHex(hex.column, hex.row, { 0, 2 });
    for (auto _ : state)
        box.Refresh();
    state.counters["panels"] = 6;
}
BENCHMARK(BM_InfoBoxSixUnitRepaint)->Unit(benchmark::kMicrosecond);

} // namespace
