// Line of sight on a generated 100 x 100 battlefield (mostly open, with
// woods, villages, fields, walls, bocage, hills, stacks, wrecks and smoke):
// one sweep over all 10^8 ordered pairs of hexes, with the visibility
// covering the map and at 18, for the game's test and for the plain
// reference the tests hold it against. The "per_test" counter is the mean
// time of one test.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "rules/GameLos.h"
#include "tests/Scatter.h"
#include "tests/rules/LosReference.h"

namespace {

constexpr int kSize = 100;

void SetParameters(ParameterData& p)
{
    for (int& value : p.m_terrainValue)
        value = 0;
    p.m_terrainValue[kTerrainForest] = 15;
    p.m_terrainValue[kTerrainVillage] = 10;
    p.m_terrainValue[kTerrainBuilding] = 12;
    p.m_terrainValue[kTerrainOrchard] = 6;
    p.m_terrainValue[kTerrainField] = 2;
    p.m_defenseZeroValue = 10;
    p.m_value91 = 20;
}

std::unique_ptr<CGameLos> BuildScene()
{
    auto game = std::make_unique<CGameLos>();
    CGameLos& g = *game;
    static_cast<HexMap&>(g.m_map) = HexMap(kSize, kSize);
    g.m_map.SetElevationScale(0, 10);
    g.AllocateGrids(kSize, kSize);
    SetParameters(g.m_parameters);
    Scatter scatter(2026);

    // Five hills, up to level 6, falling one level every three hexes.
    for (int n = 0; n < 5; ++n) {
        const int cx = scatter.Below(kSize);
        const int cy = scatter.Below(kSize);
        for (int x = 0; x < kSize; ++x) {
            for (int y = 0; y < kSize; ++y) {
                const int level = 6 - HexDistance(cx, cy, x, y) / 3;
                HexRecord& hex = g.m_map.GetHex(x, y);
                hex.level = level > hex.level ? level : hex.level;
            }
        }
    }
    // Woods and villages in clumps, fields and orchards scattered.
    for (int n = 0; n < 40; ++n) {
        const int cx = scatter.Below(kSize);
        const int cy = scatter.Below(kSize);
        const int terrain = n % 4 == 0 ? kTerrainVillage : kTerrainForest;
        for (int x = cx - 2; x <= cx + 2; ++x)
            for (int y = cy - 2; y <= cy + 2; ++y)
                if (g.m_map.IsOnMap(x, y) && HexDistance(cx, cy, x, y) <= 1 + scatter.Below(2))
                    g.m_map.GetHex(x, y).terrain = terrain;
    }
    for (int x = 0; x < kSize; ++x) {
        for (int y = 0; y < kSize; ++y) {
            HexRecord& hex = g.m_map.GetHex(x, y);
            if (hex.terrain == kTerrainOpen && scatter.Below(20) == 0)
                hex.terrain = scatter.Below(2) == 0 ? kTerrainField : kTerrainOrchard;
            if (scatter.Below(30) == 0)
                hex.layers[kLayerBocage].Add(1u << scatter.Below(6));
            if (scatter.Below(100) == 0)
                hex.layers[kLayerHighWall].Add(1u << scatter.Below(6));
        }
    }
    // 300 stacks a side, some wrecks and smoke.
    for (int n = 0; n < 600; ++n) {
        PlacedUnit unit(nullptr, nullptr);
        unit.m_strength = 1 + scatter.Below(30);
        g.m_stacks.At(scatter.Below(kSize), scatter.Below(kSize)).Append(unit);
    }
    for (int n = 0; n < 100; ++n)
        g.AddWreck(scatter.Below(kSize), scatter.Below(kSize), 1 + scatter.Below(12), false);
    for (int n = 0; n < 40; ++n)
        g.SetSmoke(0, scatter.Below(kSize), scatter.Below(kSize), true);
    return game;
}

CGameLos& Scene()
{
    static const std::unique_ptr<CGameLos> scene = BuildScene();
    return *scene;
}

template <typename Test> void SweepAllPairs(benchmark::State& state, Test test)
{
    Scene().m_visibility = static_cast<int>(state.range(0));
    std::int64_t seen = 0;
    for (auto _ : state) {
        for (int x1 = 0; x1 < kSize; ++x1)
            for (int y1 = 0; y1 < kSize; ++y1)
                for (int x2 = 0; x2 < kSize; ++x2)
                    for (int y2 = 0; y2 < kSize; ++y2)
                        seen += test(x1, y1, x2, y2) ? 1 : 0;
    }
    benchmark::DoNotOptimize(seen);
    const double pairs = static_cast<double>(kSize) * kSize * kSize * kSize;
    state.counters["per_test"]
        = benchmark::Counter(pairs, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["seen_share"] = static_cast<double>(seen) / (pairs * static_cast<double>(state.iterations()));
}

void BM_LineOfSightAllPairs(benchmark::State& state)
{
    CGameLos& game = Scene();
    SweepAllPairs(state, [&](int x1, int y1, int x2, int y2) { return game.CheckLineOfSight(x1, y1, x2, y2, 0); });
}
BENCHMARK(BM_LineOfSightAllPairs)->Arg(2 * kSize)->Arg(18)->Iterations(1)->Unit(benchmark::kSecond);

void BM_LineOfSightReferenceAllPairs(benchmark::State& state)
{
    LosReference reference(Scene());
    SweepAllPairs(state, [&](int x1, int y1, int x2, int y2) { return reference.Check(x1, y1, x2, y2, 0); });
}
BENCHMARK(BM_LineOfSightReferenceAllPairs)->Arg(2 * kSize)->Arg(18)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
