// One opportunity-fire check after a step into the centre of a 100 x 100
// open map, visibility 20, seen by 150 enemy hexes of three armed rifle
// platoons each, scattered over the square around it. The seed and the clock
// are fixed, so every run makes the same choice.

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "ai/Game.h"
#include "model/Clock.h"
#include "model/Geometry.h"
#include "model/HexMap.h"
#include "model/Random.h"

namespace {

constexpr int kSize = 100, kVisibility = 20, kTargetX = 50, kTargetY = 50, kHexes = 150;

std::int64_t FixedClock() { return 4242; }

std::unique_ptr<CGame> MakeBattle()
{
    auto game = std::make_unique<CGame>();
    static WeaponRecord weapon = [] {
        WeaponRecord record;
        for (int range = 0; range < 25; ++range) {
            record.m_hardValue[range] = 4;
            record.m_softValue[range] = 12;
        }
        return record;
    }();
    for (const std::uint32_t id : { 10290u, 1290u }) {
        PlatoonType type;
        type.m_id = id;
        type.m_fullStrength = 6;
        type.m_value13 = 3;
        type.m_fireApCost = 50;
        type.m_movementAllowance = 6;
        type.m_moveFlags = kMoveFoot;
        game->m_platoonTypes.Append(type)->m_weapon = &weapon;
    }
    static_cast<HexMap&>(game->m_map) = HexMap(kSize, kSize);
    game->AllocateGrids(kSize, kSize);
    game->m_map.SetSide(0);
    game->m_map.SetPhase(0);
    game->m_visibility = kVisibility;
    game->m_parameters.m_defenseZeroValue = 10;
    game->m_stacks.At(kTargetX, kTargetY).Append(PlacedUnit(game->m_platoonTypes.FindById(10290), nullptr));
    const PlatoonType* enemy = game->m_platoonTypes.FindById(1290);
    std::mt19937 random(17);
    std::uniform_int_distribution<int> offset(-kVisibility, kVisibility);
    for (int placed = 0; placed < kHexes;) {
        const int x = kTargetX + offset(random);
        const int y = kTargetY + offset(random);
        UnitList& stack = game->m_stacks.At(x, y);
        // Every hex within sight of the target.
        if ((x == kTargetX && y == kTargetY) || !stack.IsEmpty() || HexDistance(x, y, kTargetX, kTargetY) > kVisibility)
            continue;
        for (int i = 0; i < 3; ++i)
            stack.Append(PlacedUnit(enemy, nullptr));
        ++placed;
    }
    return game;
}

void BM_CheckOpportunityFire(benchmark::State& state)
{
    auto game = MakeBattle();
    SetTimeSource(&FixedClock);
    for (auto _ : state) {
        SetRandomSeed(9);
        benchmark::DoNotOptimize(game->CheckOpportunityFire(kTargetX, kTargetY, false));
    }
    SetTimeSource(nullptr);
}
BENCHMARK(BM_CheckOpportunityFire)->Unit(benchmark::kMillisecond);

} // namespace
