// Spotting at the start of a phase: UpdateSpotting on a generated 100 x 100
// battle with 300 held hexes a side (and some positions, obstacles, wrecks
// and smoke), on the finished game object with fog of war off and on, and
// the literal full scan of the tests for comparison. Each run hands the move
// to the other side first, as a phase change does.

#include <benchmark/benchmark.h>

#include <memory>

#include "ai/Game.h"
#include "model/Random.h"
#include "tests/rules/RandomBattle.h"
#include "tests/rules/SpottingReference.h"

namespace {

std::unique_ptr<CGame> MakeBattle(bool fog)
{
    auto game = std::make_unique<CGame>();
    random_battle::Settings settings;
    settings.hexesPerSide = 300;
    settings.visibility = 18;
    settings.seed = 11;
    random_battle::Generate(*game, settings);
    game->m_aiFog[1] = fog ? 1 : 0;
    SetRandomSeed(3);
    game->RecomputeContacts();
    game->ResetUnitVisibility();
    return game;
}

void BM_UpdateSpotting(benchmark::State& state)
{
    auto game = MakeBattle(state.range(0) != 0);
    for (auto _ : state) {
        game->m_map.SetSide(OtherSide(game->m_map.GetSide()));
        HexList hexes;
        game->UpdateSpotting(hexes);
        benchmark::DoNotOptimize(hexes.Count());
    }
}
BENCHMARK(BM_UpdateSpotting)->ArgName("fog")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_UpdateSpottingLiteral(benchmark::State& state)
{
    auto game = MakeBattle(state.range(0) != 0);
    for (auto _ : state) {
        game->m_map.SetSide(OtherSide(game->m_map.GetSide()));
        HexList hexes;
        spotting_reference::UpdateSpotting(*game, hexes);
        benchmark::DoNotOptimize(hexes.Count());
    }
}
BENCHMARK(BM_UpdateSpottingLiteral)->ArgName("fog")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
