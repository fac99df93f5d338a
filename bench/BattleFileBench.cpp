// Reading and writing a large battle: a 200 x 200 map, 2,000 units (on the
// map, in reinforcement groups, off the map, eliminated and exited), a tenth
// of the hexes with per-hex values, and the lists of the battle-data layer.
// The data files are written once to a temporary folder; the battle is built
// in memory and written to a string that the reading benchmarks parse.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "model/GameHexMarks.h"
#include "model/HexMap.h"
#include "model/Scramble.h"
#include "tests/Scatter.h"
#include "tests/ScopedCurrentDir.h"
#include "tests/TempDir.h"

namespace {

// The game object with its bare reload step opened up, to time that step
// alone; the game itself reloads through ReloadKeepingBattle.
class BenchGame : public CGameHexMarks {
public:
    using CGameHexMarks::Reload;
};

constexpr int kSize = 200;
constexpr int kBattalions = 20;
constexpr int kCompanies = 10;
constexpr int kPlatoons = 10; // per company: 20 * 10 * 10 = 2,000 units
constexpr int kFirstPlatoonId = 10000;

const char* const kPlatoonLines[] = {
    "P10101 6 0 0 100 100 100 6 0 0 1 0 0 0 0 0 0 0 rifle 10 2 4103 0 1 0 39 1 45 12 0 0 0 Rifle Platoon,Rifles",
    "P10501 4 0 0 100 100 100 20 0 5 1 0 0 0 0 0 0 0 halftrack 40 1 40 1 0 0 40 1 45 12 0 0 0 Halftrack Platoon,Ht",
    "P01101 6 0 0 100 100 100 6 0 0 1 0 0 0 0 0 0 0 rifle 10 2 4103 0 1 0 39 1 45 12 0 0 0 Grenadier Platoon,Gren",
    "P01601 2 0 0 100 100 100 0 0 0 1 0 0 0 0 0 0 0 plane 80 0 0 1 0 0 39 1 45 12 0 0 0 Stuka Flight,Stukas",
};

std::string MapText()
{
    Scatter random(7);
    std::string text = "3\n" + std::to_string(kSize) + " " + std::to_string(kSize) + "\n100 20 1 2 3 2\n";
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x)
            text += TerrainTypeChar(random.Below(3) == 0 ? kTerrainForest : kTerrainOpen);
        text += '\n';
    }
    for (int y = 0; y < kSize; ++y)
        text += std::string(kSize, '1') + "\n";
    for (int layer = 0; layer < 19; ++layer)
        text += "0 Layer\n";
    text += "0\n";
    return text;
}

// Platoon node ids run from kFirstPlatoonId; the first half are side 0's
// rifles and halftracks, the second half side 1's grenadiers.
std::string OrgText()
{
    std::string text = "1\n0\n6 44\n";
    int formationId = 1;
    int platoonId = kFirstPlatoonId;
    for (int b = 0; b < kBattalions; ++b) {
        const bool side0 = b < kBattalions / 2;
        text += std::string(side0 ? "B1020001 " : "B0120001 ") + std::to_string(formationId++) + " 6 Battalion\n";
        for (int c = 0; c < kCompanies; ++c) {
            text += std::string(side0 ? "    C1020100 " : "    C0120100 ") + std::to_string(formationId++)
                + " 6 Company\n";
            for (int p = 0; p < kPlatoons; ++p) {
                const char* code = side0 ? (p % 4 == 0 ? "P10501" : "P10101") : "P01101";
                text += std::string("        ") + code + " " + std::to_string(platoonId++) + " 6 Platoon\n";
            }
            text += "        End\n";
        }
        text += "    End\n";
    }
    return text;
}

// The temporary folder with the data files, the game object and the battle
// text, made once for all benchmarks.
class LargeBattle {
public:
    LargeBattle()
    {
        m_dir.Write("bench.map", MapText());
        m_dir.Write("bench.org", OrgText());
        std::string platoons;
        for (const char* line : kPlatoonLines)
            platoons += ScrambleLine(line) + '\n';
        m_dir.Write("platoon.obx", platoons);
        m_inDir.emplace(m_dir.Path());
        m_game = std::make_unique<BenchGame>();
        m_game->m_mapFileName = "bench.map";
        m_game->m_orgFileName = "bench.org";
        if (m_game->Reload() || m_game->m_map.GetWidth() != kSize) {
            std::fprintf(stderr, "cannot load the benchmark's data files\n");
            std::abort();
        }
        Fill(*m_game);
        std::ostringstream out;
        m_game->WriteBattleFile(out);
        m_text = out.str();
    }

    BenchGame& Game() { return *m_game; }
    const std::string& Text() const { return m_text; }

private:
    static void Fill(CGameData& game)
    {
        Scatter random(11);
        game.m_title = "Large battle";
        int nodeId = kFirstPlatoonId;
        auto nextUnit = [&] {
            OrgNode* node = game.m_orgTree.FindNode(nodeId++);
            PlacedUnit unit(game.m_platoonTypes.FindById(node->m_code), node);
            unit.m_facing = NthHexSide(random.Below(6));
            unit.m_actionPoints = random.Below(101);
            return unit;
        };
        const int total = kBattalions * kCompanies * kPlatoons;
        // 1,600 on the map, 200 in 20 groups, 100 off the map, 50 eliminated, 50 exited.
        for (int i = 0; i < 1600; ++i)
            game.m_stacks.At(random.Below(kSize), random.Below(kSize)).Append(nextUnit());
        for (int g = 0; g < 20; ++g) {
            ReinforcementGroup group(random.Below(kSize), random.Below(kSize));
            group.m_time = random.Below(60);
            group.m_chance = 50;
            for (int i = 0; i < 10; ++i)
                group.m_units.Append(nextUnit());
            game.m_reinforcements.Append(std::move(group));
        }
        for (int i = 0; i < 100; ++i)
            game.m_offMapUnits.Append(OffMapUnit { nextUnit(), -1, random.Below(kSize) });
        for (int i = 0; i < 50; ++i)
            game.m_eliminated.Append(nextUnit());
        while (nodeId < kFirstPlatoonId + total)
            game.m_exited.Append(nextUnit());

        for (int n = 0; n < kSize * kSize / 10; ++n) {
            const int x = random.Below(kSize);
            const int y = random.Below(kSize);
            game.m_hexFlags.At(x, y) = 1 << random.Below(15);
            game.m_wrecks.At(x, y) = random.Below(4);
            game.m_contact[random.Below(2)].At(x, y).Set(1 + random.Below(2), random.Below(20));
            if (n % 4 == 0) {
                game.m_objectives.At(x, y) = ObjectiveCell { 1 + random.Below(20), 10 };
                game.m_smokeMark.At(x, y) = random.Below(3);
                game.m_hexValue.At(x, y) = random.Below(50);
                game.m_damagedBridges.At(x, y) = HexSideSet(static_cast<std::uint32_t>(1 + random.Below(63)));
                game.m_arrivalMarks.At(x, y) = ArrivalMark { 1, true };
            }
        }
        for (int i = 0; i < 100; ++i)
            game.m_pendingFire.Append(
                PendingFire { kFirstPlatoonId + i, -1, i, random.Below(kSize), random.Below(kSize), false });
        for (int i = 0; i < 50; ++i)
            game.m_releases.Append(ReleaseRecord { i, 50, game.m_orgTree.FindNode(1 + i) });
        for (int i = 0; i < 20; ++i)
            game.m_aircraftPool.Append(game.m_platoonTypes.FindById(1601));
        for (int& loss : game.m_losses)
            loss = random.Below(30);
    }

    // Gone in reverse: the game, then the way back out of the folder, then
    // the folder.
    TempDir m_dir { "vl-bench-battle-" };
    std::optional<ScopedCurrentDir> m_inDir;
    std::unique_ptr<BenchGame> m_game;
    std::string m_text;
};

LargeBattle& Battle()
{
    static LargeBattle battle;
    return battle;
}

void BM_WriteLargeBattle(benchmark::State& state)
{
    BenchGame& game = Battle().Game();
    std::istringstream in(Battle().Text());
    if (!game.ReadBattleFile(in, true))
        state.SkipWithError("the battle does not read");
    for (auto _ : state) {
        std::ostringstream out;
        benchmark::DoNotOptimize(game.WriteBattleFile(out));
        // The size, not a copy of the text: the copy is no part of writing.
        benchmark::DoNotOptimize(out.tellp());
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(Battle().Text().size()));
}
BENCHMARK(BM_WriteLargeBattle)->Unit(benchmark::kMillisecond);

// The whole read: header, reload of the map and organisation files, sections,
// loss table.
void BM_ReadLargeBattle(benchmark::State& state)
{
    BenchGame& game = Battle().Game();
    for (auto _ : state) {
        std::istringstream in(Battle().Text());
        if (!game.ReadBattleFile(in, true))
            state.SkipWithError("the battle does not read");
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(Battle().Text().size()));
    state.counters["units"] = static_cast<double>(kBattalions * kCompanies * kPlatoons);
    state.counters["file_bytes"] = static_cast<double>(Battle().Text().size());
}
BENCHMARK(BM_ReadLargeBattle)->Unit(benchmark::kMillisecond);

// The reload alone, the part of a read that is not the battle text.
void BM_ReloadDataFiles(benchmark::State& state)
{
    BenchGame& game = Battle().Game();
    // The bare step frees what the units point into: no battle may be in play.
    game.ResetBattle();
    game.m_lastMove.reset();
    for (auto _ : state)
        benchmark::DoNotOptimize(game.Reload());
    std::istringstream in(Battle().Text());
    game.ReadBattleFile(in, true);
}
BENCHMARK(BM_ReloadDataFiles)->Unit(benchmark::kMillisecond);

// Reloading the data while the battle is in play: write, reload, read back.
void BM_ReloadKeepingBattle(benchmark::State& state)
{
    BenchGame& game = Battle().Game();
    std::istringstream in(Battle().Text());
    game.ReadBattleFile(in, true);
    for (auto _ : state) {
        if (!game.ReloadKeepingBattle().IsEmpty())
            state.SkipWithError("the battle was not kept");
    }
}
BENCHMARK(BM_ReloadKeepingBattle)->Unit(benchmark::kMillisecond);

} // namespace
