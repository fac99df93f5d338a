// One direct fire: four rifle platoons fire two hexes at a stack of three
// units with two leaders, through a fire table with every outcome, on a
// 20 x 20 open map. The firers and the target hex are put back before each
// fire (a copy of nine units, timed with it) and the seed is fixed, so every
// run resolves the same fire.

#include <benchmark/benchmark.h>

#include <memory>

#include "ai/Game.h"
#include "model/HexMap.h"
#include "model/Random.h"

namespace {

constexpr int kFirerX = 10, kFirerY = 10, kTargetX = 10, kTargetY = 12;

std::unique_ptr<CGame> MakeBattle()
{
    auto game = std::make_unique<CGame>();
    static WeaponRecord weapon = [] {
        WeaponRecord record;
        for (int range = 0; range < 8; ++range) {
            record.m_hardValue[range] = 4;
            record.m_softValue[range] = 12;
        }
        return record;
    }();
    // Side 0 rifles, side 1 rifles, a tank and a leader.
    for (const std::uint32_t id : { 10290u, 1290u, 1090u, 1490u }) {
        PlatoonType type;
        type.m_id = id;
        type.m_fullStrength = id == 1490u ? 1 : 6;
        type.m_value13 = id == 1090u ? 5 : 3;
        type.m_fireApCost = 50;
        type.m_movementAllowance = 6;
        type.m_moveFlags = id == 1090u ? 0 : kMoveFoot;
        type.m_targetFlags = id == 1090u ? kTargetHard : 0;
        PlatoonType* listed = game->m_platoonTypes.Append(type);
        if (id != 1490u)
            listed->m_weapon = &weapon;
    }
    static_cast<HexMap&>(game->m_map) = HexMap(20, 20);
    game->AllocateGrids(20, 20);
    game->m_map.SetSide(0);
    game->m_map.SetPhase(0);
    ParameterData& p = game->m_parameters;
    p.m_maxStackStrength = 40;
    p.m_defenseZeroValue = 10;
    p.m_value61 = 50;
    p.m_value102 = 4;
    p.m_fireColumnCount = 3;
    p.m_fireNumerators = { 1, 2, 4 };
    p.m_fireDenominators = { 1, 1, 1 };
    p.m_fireOutcomes = { { 2, 4, 8, 10, 6 }, { 4, 6, 10, 12, 8 }, { 6, 8, 12, 14, 10 } };
    const PlatoonType* rifle = game->m_platoonTypes.FindById(10290);
    for (int i = 0; i < 4; ++i)
        game->m_stacks.At(kFirerX, kFirerY).Append(PlacedUnit(rifle, nullptr));
    UnitList& target = game->m_stacks.At(kTargetX, kTargetY);
    target.Append(PlacedUnit(game->m_platoonTypes.FindById(1490), nullptr));
    target.Append(PlacedUnit(game->m_platoonTypes.FindById(1290), nullptr));
    target.Append(PlacedUnit(game->m_platoonTypes.FindById(1090), nullptr));
    target.Append(PlacedUnit(game->m_platoonTypes.FindById(1290), nullptr));
    target.Append(PlacedUnit(game->m_platoonTypes.FindById(1490), nullptr));
    return game;
}

void BM_ResolveDirectFire(benchmark::State& state)
{
    auto game = MakeBattle();
    const UnitList firers = game->m_stacks.At(kFirerX, kFirerY);
    const UnitList target = game->m_stacks.At(kTargetX, kTargetY);
    const int positions[] = { 1, 2, 3, 4 };
    for (auto _ : state) {
        game->m_stacks.At(kFirerX, kFirerY) = firers;
        game->m_stacks.At(kTargetX, kTargetY) = target;
        SetRandomSeed(5);
        String report;
        game->ResolveDirectFire(report, positions, 4, kFirerX, kFirerY, kTargetX, kTargetY, 1);
        benchmark::DoNotOptimize(report.GetLength());
    }
}
BENCHMARK(BM_ResolveDirectFire)->Unit(benchmark::kMicrosecond);

} // namespace
