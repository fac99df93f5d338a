// Full repaint and present of a 1920 x 1080 map view in the two 2D views, on
// a generated 100 x 100 map with every terrain type, hexside features, roads
// and 300 units a side. The goal is under 4 ms a repaint.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "tools/render/HeadlessMap.h"

namespace {

std::unique_ptr<HeadlessMap> MakeBattlefield()
{
    auto map = std::make_unique<HeadlessMap>(VL_BENCH_DATA_DIR, VL_BENCH_DATA_DIR, platform::Size { 1920, 1080 });
    CGame& game = map->Game();
    constexpr int kSize = 100;
    static_cast<HexMap&>(game.m_map) = HexMap(kSize, kSize);
    game.AllocateGrids(kSize, kSize);
    std::uint32_t seed = 12345;
    auto next = [&](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<std::uint32_t>(n));
    };
    for (int x = 0; x < kSize; ++x)
        for (int y = 0; y < kSize; ++y) {
            HexRecord& hex = game.m_map.GetHex(x, y);
            hex.terrain = (x / 4 + y / 4) % kTerrainTypeCount;
            hex.level = (x + 2 * y) / 20 % 13;
            hex.layers[kLayerRoad] = HexSideSet(y % 7 == 0 ? 1u | 8u : 0u);
            hex.layers[kLayerStream] = HexSideSet(x % 9 == 0 ? 2u : 0u);
            hex.layers[kLayerHedge] = HexSideSet(next(10) == 0 ? 4u : 0u);
            hex.layers[kLayerUnpaved] = HexSideSet(x % 11 == 0 ? 2u | 16u : 0u);
        }
    // 300 units a side from the demo's platoon types, in piles of one to four.
    const PlatoonType* types[2] = { nullptr, nullptr };
    for (int i = 0; const PlatoonType* t = game.m_platoonTypes.GetAt(i); ++i)
        if (t->GetSide() >= 0 && t->GetSide() <= 1 && !types[t->GetSide()])
            types[t->GetSide()] = t;
    for (int side = 0; side < 2; ++side)
        for (int placed = 0; types[side] && placed < 300;) {
            const int x = next(kSize);
            const int y = next(kSize);
            for (int n = 1 + next(4); n > 0 && placed < 300; --n, ++placed) {
                PlacedUnit unit;
                unit.m_type = types[side];
                unit.m_strength = 3;
                game.m_stacks.At(x, y).Append(unit);
            }
        }
    return map;
}

void BM_MapViewFullRepaint(benchmark::State& state)
{
    static auto map = MakeBattlefield();
    map->Show(static_cast<int>(state.range(0)), false, { 50, 50 });
    std::size_t pixels = 0;
    for (auto _ : state) {
        map->View().Redraw();
        pixels += 1920u * 1080u;
    }
    state.counters["Mpixel/s"] = benchmark::Counter(static_cast<double>(pixels) / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MapViewFullRepaint)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The same with the map overlays on: bit 1 labels, 2 hex outlines, 4 the
// visible-hexes overlay (a line of sight from the hot spot to every hex
// painted). The battlefield has a label every 8 hexes and a compass.
void BM_MapViewFullRepaintOverlays(benchmark::State& state)
{
    static auto map = [] {
        auto made = MakeBattlefield();
        HexMap& hexes = made->Game().m_map;
        for (int x = 4; x < 100; x += 8)
            for (int y = 4; y < 100; y += 8) {
                MapLabel label;
                label.x = x + 0.5;
                label.y = y + 0.5;
                label.size = (x + y) % 3;
                label.alignment = (x / 8) % 3;
                label.text = String("Hill " + std::to_string(x * 100 + y));
                hexes.GetLabels().Append(label);
            }
        hexes.SetCompass({ 20, 12 }, 0);
        return made;
    }();
    const int bits = static_cast<int>(state.range(1));
    map->Show(static_cast<int>(state.range(0)), false, { 50, 50 });
    CMapView& view = map->View();
    view.SetHotSpot(50, 50);
    view.ShowLabels((bits & 1) != 0);
    if (view.AreHexOutlinesShown() != ((bits & 2) != 0))
        view.ToggleHexOutlines();
    view.ShowVisibleHexes((bits & 4) != 0);
    for (auto _ : state)
        view.Redraw();
    view.ShowLabels(false);
    view.ShowVisibleHexes(false);
    if (view.AreHexOutlinesShown())
        view.ToggleHexOutlines();
}
BENCHMARK(BM_MapViewFullRepaintOverlays)
    ->Args({ 1, 0 })
    ->Args({ 1, 1 })
    ->Args({ 1, 2 })
    ->Args({ 1, 4 })
    ->Args({ 1, 7 })
    ->Args({ 2, 7 })
    ->Unit(benchmark::kMillisecond);

} // namespace
