// The turn report's isolation and supply passes on a generated 100 x 100
// battle: about 300 units a side, each side under one regiment of ten
// battalions, each battalion with its headquarters on the map, twenty
// artillery units and five off-map batteries a side. Before each supply pass
// a third of the units are marked used, as a turn of fire leaves them.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "ai/Game.h"
#include "model/Random.h"
#include "tests/rules/RandomBattle.h"

namespace {

constexpr std::uint32_t kHqIds[2] = { 390, 1390 };
constexpr std::uint32_t kGunIds[2] = { 190, 1190 };

struct SupplyBattle {
    std::unique_ptr<CGame> game = std::make_unique<CGame>();
    std::unique_ptr<FormationNode> regiments[2];
};

std::unique_ptr<FormationNode> Formation(int level, int nation)
{
    auto node = std::make_unique<FormationNode>(level);
    node->m_code = static_cast<std::uint32_t>(nation) * 100000;
    return node;
}

std::unique_ptr<OrgNode> Leaf(int category, int nation)
{
    auto node = std::make_unique<OrgNode>(0);
    node->m_code = static_cast<std::uint32_t>(nation) * 1000 + static_cast<std::uint32_t>(category) * 100;
    return node;
}

std::unique_ptr<SupplyBattle> MakeBattle()
{
    auto battle = std::make_unique<SupplyBattle>();
    CGame& game = *battle->game;
    random_battle::Settings settings;
    settings.hexesPerSide = 150;
    settings.seed = 5;
    random_battle::Generate(game, settings);
    for (int side = 0; side < 2; ++side) {
        PlatoonType hq;
        hq.m_id = kHqIds[side];
        hq.m_fullStrength = 2;
        game.m_platoonTypes.Append(hq);
        PlatoonType gun;
        gun.m_id = kGunIds[side];
        gun.m_fullStrength = 4;
        gun.m_targetFlags = kTargetIndirect;
        game.m_platoonTypes.Append(gun);
    }
    std::mt19937 random(7);
    for (int side = 0; side < 2; ++side) {
        battle->regiments[side] = Formation(3, side);
        std::vector<OrgNode*> hqNodes;
        std::vector<OrgNode*> rifleNodes;
        for (int i = 0; i < 10; ++i) {
            FormationNode* battalion = battle->regiments[side]->AppendChild(Formation(2, side));
            hqNodes.push_back(battalion->AppendChild(Leaf(3, side)));
            FormationNode* company = battalion->AppendChild(Formation(1, side));
            rifleNodes.push_back(company->AppendChild(Leaf(2, side)));
        }
        std::vector<HexPos> own;
        for (int x = 0; x < 100; ++x)
            for (int y = 0; y < 100; ++y)
                if (game.SideInHex(x, y) == side)
                    own.push_back({ x, y });
        int next = 0;
        for (const HexPos& hex : own)
            for (PlacedUnit& unit : game.m_stacks.At(hex.column, hex.row))
                unit.m_node = rifleNodes[static_cast<std::size_t>(next++ % 10)];
        const auto ownHex = [&] { return own[random() % own.size()]; };
        for (int i = 0; i < 10; ++i) {
            const HexPos hex = ownHex();
            game.m_stacks.At(hex.column, hex.row)
                .Append(PlacedUnit(game.m_platoonTypes.FindById(kHqIds[side]), hqNodes[static_cast<std::size_t>(i)]));
        }
        for (int i = 0; i < 20; ++i) {
            const HexPos hex = ownHex();
            game.m_stacks.At(hex.column, hex.row)
                .Append(PlacedUnit(game.m_platoonTypes.FindById(kGunIds[side]), rifleNodes[0]));
        }
        for (int i = 0; i < 5; ++i)
            game.m_offMapUnits.Append(
                OffMapUnit { PlacedUnit(game.m_platoonTypes.FindById(kGunIds[side]), nullptr), -3, 10 * i });
    }
    game.m_ammo[0] = game.m_ammo[1] = 60;
    SetRandomSeed(3);
    return battle;
}

void MarkUsed(CGame& game)
{
    int n = 0;
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 100; ++y)
            for (PlacedUnit& unit : game.m_stacks.At(x, y))
                if (n++ % 3 == 0)
                    unit.m_status |= kUnitUsedSinceSupply;
    for (OffMapUnit& entry : game.m_offMapUnits)
        if (n++ % 3 == 0)
            entry.unit.m_status |= kUnitUsedSinceSupply;
}

void BM_FindIsolatedUnits(benchmark::State& state)
{
    auto battle = MakeBattle();
    CGame& game = *battle->game;
    for (auto _ : state) {
        game.m_map.SetSide(1 - game.m_map.GetSide());
        String text;
        HexList hexes;
        game.FindIsolatedUnits(text, hexes);
        benchmark::DoNotOptimize(text.GetLength());
    }
    game.ResetBattle();
}
BENCHMARK(BM_FindIsolatedUnits)->Unit(benchmark::kMillisecond);

void BM_CheckSupply(benchmark::State& state)
{
    auto battle = MakeBattle();
    CGame& game = *battle->game;
    for (int side = 0; side < 2; ++side) {
        game.m_map.SetSide(side);
        String text;
        HexList hexes;
        game.FindIsolatedUnits(text, hexes);
    }
    for (auto _ : state) {
        state.PauseTiming();
        game.m_map.SetSide(1 - game.m_map.GetSide());
        MarkUsed(game);
        state.ResumeTiming();
        String text;
        HexList hexes;
        std::vector<int> offMap;
        game.CheckSupply(text, hexes, offMap);
        benchmark::DoNotOptimize(text.GetLength());
    }
    game.ResetBattle();
}
BENCHMARK(BM_CheckSupply)->Unit(benchmark::kMillisecond);

} // namespace
