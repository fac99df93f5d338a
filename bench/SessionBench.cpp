// The session on a generated 100 x 100 battle with about 300 units a side,
// each under one of ten companies of its side: a phase advance with its
// Initial-Phase turn report (goal under 100 ms), a "Next Unit" walk in fire
// mode over the whole map (goal under 50 ms), and a save to a file.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "ai/Game.h"
#include "bench/BenchTempPath.h"
#include "model/OrgTree.h"
#include "model/Random.h"
#include "tests/rules/RandomBattle.h"

namespace {

struct SessionBattle {
    std::unique_ptr<CGame> game = std::make_unique<CGame>();
    std::unique_ptr<FormationNode> battalions[2];
};

std::unique_ptr<SessionBattle> MakeBattle()
{
    auto battle = std::make_unique<SessionBattle>();
    CGame& game = *battle->game;
    random_battle::Settings settings;
    settings.seed = 9;
    random_battle::Generate(game, settings);
    for (int side = 0; side < 2; ++side) {
        battle->battalions[side] = std::make_unique<FormationNode>(2);
        battle->battalions[side]->m_code = static_cast<std::uint32_t>(side) * 100000;
        std::vector<OrgNode*> platoons;
        for (int i = 0; i < 10; ++i) {
            auto company = std::make_unique<FormationNode>(1);
            company->m_id = side * 1000 + i * 10;
            FormationNode* added = battle->battalions[side]->AppendChild(std::move(company));
            for (int j = 0; j < 3; ++j) {
                auto platoon = std::make_unique<OrgNode>(0);
                platoon->m_id = side * 1000 + i * 10 + j + 1;
                platoon->m_code = static_cast<std::uint32_t>(side) * 1000 + 200;
                platoons.push_back(added->AppendChild(std::move(platoon)));
            }
        }
        int next = 0;
        for (int x = 0; x < 100; ++x)
            for (int y = 0; y < 100; ++y)
                if (game.SideInHex(x, y) == side)
                    for (PlacedUnit& unit : game.m_stacks.At(x, y))
                        unit.m_node = platoons[static_cast<std::size_t>(next++ % platoons.size())];
    }
    // Every phase an Initial Phase (plain turns), and no end of the battle.
    game.m_options = kOptionDiggingIn;
    game.m_parameters.m_minutesPerTurn = 10;
    game.m_map.SetTimeLimit(1'000'000'000);
    // Some units digging in, some disrupted, some obstacles with engineers.
    int n = 0;
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 100; ++y)
            for (PlacedUnit& unit : game.m_stacks.At(x, y)) {
                ++n;
                if (n % 7 == 0)
                    unit.m_status |= kUnitDiggingIn;
                if (n % 5 == 0)
                    unit.m_status |= kUnitDisrupted;
            }
    SetRandomSeed(3);
    HexList hexes;
    game.UpdateSpotting(hexes);
    return battle;
}

void BM_PhaseAdvanceWithReport(benchmark::State& state)
{
    auto battle = MakeBattle();
    CGame& game = *battle->game;
    std::size_t length = 0;
    for (auto _ : state) {
        if (!game.NextPhase())
            state.SkipWithError("the battle ended");
        String text;
        HexList hexes;
        std::vector<int> offMap, groups, released;
        game.BeginPhase(text, hexes, offMap, groups, released);
        length += text.GetLength();
    }
    benchmark::DoNotOptimize(length);
    game.ResetBattle();
}
BENCHMARK(BM_PhaseAdvanceWithReport)->Unit(benchmark::kMillisecond);

void BM_NextUnitWalkInFireMode(benchmark::State& state)
{
    auto battle = MakeBattle();
    CGame& game = *battle->game;
    int selections = 0;
    for (auto _ : state) {
        game.m_cursor = HexPos { -1, -1 };
        game.m_selectedNodes.clear();
        game.m_cursorRestart = 1;
        HexPos hex { 0, 0 };
        std::vector<int> positions;
        do {
            game.SelectNextUnitHex(hex, false, positions);
            selections += positions.empty() ? 0 : 1;
        } while (hex.column != -1);
    }
    state.counters["selections"] = benchmark::Counter(selections, benchmark::Counter::kAvgIterations);
    game.ResetBattle();
}
BENCHMARK(BM_NextUnitWalkInFireMode)->Unit(benchmark::kMillisecond);

void BM_SaveBattleToFile(benchmark::State& state)
{
    auto battle = MakeBattle();
    CGame& game = *battle->game;
    BenchTempPath path("vl-session-", ".btl");
    for (auto _ : state) {
        const String error = game.SaveBattleToFile(path.Path());
        if (!error.IsEmpty())
            state.SkipWithError(error.c_str());
    }
    game.ResetBattle();
}
BENCHMARK(BM_SaveBattleToFile)->Unit(benchmark::kMillisecond);

} // namespace
