// The path search on a generated 100 x 100 map with the demo data's
// movement costs: a walk to a goal 100 hexes away and a tank's reachable
// set with full action points, each against the plain list-scanning search.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <memory>

#include "model/Clock.h"
#include "model/Geometry.h"
#include "rules/GamePathSearch.h"
#include "tests/rules/PathSearchReference.h"

namespace {

constexpr int kSize = 100;
constexpr int kStartX = 0;
constexpr int kStartY = 20;
// Where the reachable set is taken, away from the edges.
constexpr int kMiddle = 50;
constexpr std::uint32_t kSherman = 10000;

std::int64_t FixedTime() { return 1000; }

// Mostly open country with fields, woods, rough patches, villages and
// gentle hills, the same on every run.
class BenchGame {
public:
    BenchGame()
    {
        // The game reads its data files from the current folder.
        const std::filesystem::path here = std::filesystem::current_path();
        std::filesystem::current_path(VL_BENCH_DATA_DIR);
        m_game = std::make_unique<CGamePathSearch>();
        std::filesystem::current_path(here);

        static_cast<HexMap&>(m_game->m_map) = HexMap(kSize, kSize);
        m_game->AllocateGrids(kSize, kSize);
        m_game->BindPlatoonTypes();
        std::uint32_t state = 12345;
        const auto next = [&state] {
            state = state * 1103515245u + 12345u;
            return (state >> 16) % 100;
        };
        for (int x = 0; x < kSize; ++x) {
            for (int y = 0; y < kSize; ++y) {
                HexRecord& hex = m_game->m_map.GetHex(x, y);
                const std::uint32_t roll = next();
                hex.terrain = roll < 60 ? kTerrainOpen
                    : roll < 72         ? kTerrainField
                    : roll < 87         ? kTerrainForest
                    : roll < 93         ? kTerrainRough
                                        : kTerrainVillage;
                hex.level = static_cast<int>((x / 10 + y / 15) % 3);
            }
        }
        PlacedUnit tank(m_game->m_platoonTypes.FindById(kSherman), nullptr);
        m_game->m_stacks.At(kStartX, kStartY).Append(tank);
        m_game->m_stacks.At(kMiddle, kMiddle).Append(tank);
        for (int y = 0; y < kSize; ++y)
            if (HexDistance(kStartX, kStartY, kSize - 1, y) == 100) {
                m_goalY = y;
                break;
            }
        SetTimeSource(&FixedTime);
    }
    ~BenchGame() { SetTimeSource(nullptr); }

    CGamePathSearch& Game() { return *m_game; }
    int GoalX() const { return kSize - 1; }
    int GoalY() const { return m_goalY; }

private:
    std::unique_ptr<CGamePathSearch> m_game;
    int m_goalY = 0;
};

BenchGame& Shared()
{
    static BenchGame game;
    return game;
}

const int kFirst[] = { 1 };

void BM_FindMovePath(benchmark::State& state)
{
    BenchGame& bench = Shared();
    HexList path;
    for (auto _ : state) {
        const int left = bench.Game().FindMovePath(kStartX, kStartY, bench.GoalX(), bench.GoalY(), kFirst, 1, path);
        benchmark::DoNotOptimize(left);
    }
    state.counters["hexes"] = static_cast<double>(path.Count());
}
BENCHMARK(BM_FindMovePath)->Unit(benchmark::kMicrosecond);

void BM_FindMovePathLiteral(benchmark::State& state)
{
    BenchGame& bench = Shared();
    LiteralPathSearch literal(bench.Game());
    HexList path;
    for (auto _ : state) {
        const int left = literal.FindMovePath(kStartX, kStartY, bench.GoalX(), bench.GoalY(), kFirst, 1, path, false);
        benchmark::DoNotOptimize(left);
    }
    state.counters["hexes"] = static_cast<double>(path.Count());
}
BENCHMARK(BM_FindMovePathLiteral)->Unit(benchmark::kMicrosecond);

void BM_FindReachableHexes(benchmark::State& state)
{
    BenchGame& bench = Shared();
    SearchList nodes;
    for (auto _ : state) {
        bench.Game().FindReachableHexes(kMiddle, kMiddle, kFirst, 1, nodes);
        benchmark::DoNotOptimize(nodes.Head());
    }
    state.counters["hexes"] = static_cast<double>(nodes.Count());
}
BENCHMARK(BM_FindReachableHexes)->Unit(benchmark::kMicrosecond);

void BM_FindReachableHexesLiteral(benchmark::State& state)
{
    BenchGame& bench = Shared();
    LiteralPathSearch literal(bench.Game());
    SearchList nodes;
    for (auto _ : state) {
        literal.FindReachableHexes(kMiddle, kMiddle, kFirst, 1, nodes);
        benchmark::DoNotOptimize(nodes.Head());
    }
    state.counters["hexes"] = static_cast<double>(nodes.Count());
}
BENCHMARK(BM_FindReachableHexesLiteral)->Unit(benchmark::kMicrosecond);

} // namespace
