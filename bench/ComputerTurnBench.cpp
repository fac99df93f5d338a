// One whole computer phase, its start included (the turn-start report, the
// planning and the preparations of BeginPhase, then every step of the
// driver to the end of the phase), from a battle saved at the phase change
// (after NextPhase), held in memory and read afresh outside the timing:
//   - the demo battle entering each side's phase of turn 2 (goal under
//     250 ms);
//   - a generated battle on a 100 x 100 map with 300 platoons a side, in
//     companies with leaders under battalions, with the demo's tables, a map
//     of the demo's north-west European description with a river crossing,
//     objectives for both sides, off-map artillery and air power, both
//     sides computer-run, entering each side's phase of turn 2 and of turn 5
//     (goal under 2 s).
// The seed and the clock are fixed, so every run makes the same choices.
// The counters give the actions of the phase and what they were.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ai/ComputerTurn.h"
#include "bench/BenchTempPath.h"
#include "ai/Game.h"
#include "launcher/generator/RandomMap.h"
#include "model/Clock.h"
#include "model/HexMap.h"
#include "model/Random.h"
#include "tests/ScopedCurrentDir.h"
#include "tests/TempDir.h"
#include "tests/ai/TurnDriver.h"

namespace {

std::int64_t FixedClock() { return 1'700'000'000; }
constexpr std::uint32_t kSeed = 20240611;

// What the driver did in the phase.
struct PhaseCounts {
    int actions = 0;
    int texts = 0;
    std::map<CComputerTurnHost::Event, int> events;
};

// The phase is timed from its start to its end: ending it stops the driver
// instead of changing the phase.
class CPhaseHost : public CComputerTurnHost {
public:
    bool ShowReport(const String&, const char*, int, int) override
    {
        ++m_counts.texts;
        return true;
    }
    void PlaySound(const char*) override { }
    bool EndPhase() override
    {
        m_ended = true;
        m_computer->RequestStop();
        return true;
    }
    void OnEvent(Event event, const std::vector<HexPos>&) override { ++m_counts.events[event]; }

    CComputerTurn* m_computer = nullptr;
    PhaseCounts m_counts;
    bool m_ended = false;
};

// A phase by its turn and side.
using PhaseKey = std::pair<int, int>;
using SavedPhases = std::map<PhaseKey, std::string>;

// Plays on from the phase now running, ending phases as the frame does, and
// keeps the battle at the phase change into each phase asked for, until the
// last of them.
class CAdvanceHost : public CComputerTurnHost {
public:
    CAdvanceHost(CGame& game, const std::vector<PhaseKey>& wanted)
        : m_game(game)
        , m_driver(game)
        , m_wanted(wanted)
    {
    }
    bool ShowReport(const String&, const char*, int, int) override { return true; }
    void PlaySound(const char*) override { }
    bool EndPhase() override
    {
        if (!m_driver.NextPhase())
            return false;
        const PhaseKey key { m_game.GetCurrentTurn(), m_game.m_map.GetSide() };
        if (std::find(m_wanted.begin(), m_wanted.end(), key) != m_wanted.end() && !m_saved.count(key)) {
            std::ostringstream out;
            if (m_game.WriteBattle(out))
                m_saved[key] = out.str();
            if (m_saved.size() == m_wanted.size()) {
                m_computer->RequestStop();
                return true;
            }
        }
        m_driver.BeginPhase();
        return true;
    }

    CComputerTurn* m_computer = nullptr;
    SavedPhases m_saved;

private:
    CGame& m_game;
    CTurnDriver m_driver;
    std::vector<PhaseKey> m_wanted;
};

// Opens the scenario as the frame opens it, both sides computer-run without
// fog, and plays on through the phase changes into the phases asked for;
// the battle written at each, all of them or none.
SavedPhases SaveAtPhaseChanges(const std::string& scenario, const std::vector<PhaseKey>& wanted, std::string& error)
{
    SetTimeSource(&FixedClock);
    SetRandomSeed(kSeed);
    auto game = std::make_unique<CGame>();
    SavedPhases saved;
    if (OpenComputerScenario(*game, scenario, 0)) {
        CAdvanceHost host(*game, wanted);
        CComputerTurn computer(*game, host);
        host.m_computer = &computer;
        computer.RunComputerTurn();
        if (host.m_saved.size() == wanted.size())
            saved = std::move(host.m_saved);
        else
            error = "a phase change was not reached";
    } else {
        error = scenario + ": " + game->m_battleReadError.str();
    }
    SetTimeSource(nullptr);
    return saved;
}

// Times the phase that starts in the saved battle, read afresh for each run.
void RunPhase(benchmark::State& state, const std::filesystem::path& folder, const std::string& saved)
{
    ScopedCurrentDir inFolder(folder);
    SetTimeSource(&FixedClock);
    PhaseCounts counts;
    int units = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto game = std::make_unique<CGame>();
        game->ResetBattleState();
        std::istringstream in(saved);
        if (!game->ReadBattle(in, true)) {
            state.SkipWithError(game->m_battleReadError.c_str());
            break;
        }
        SetRandomSeed(kSeed);
        auto host = std::make_unique<CPhaseHost>();
        auto computer = std::make_unique<CComputerTurn>(*game, *host);
        host->m_computer = computer.get();
        CTurnDriver driver(*game);
        state.ResumeTiming();

        driver.BeginPhase();
        computer->RunComputerTurn();

        state.PauseTiming();
        if (!host->m_ended) {
            state.SkipWithError("the phase did not end");
            break;
        }
        counts = host->m_counts;
        counts.actions = computer->m_actions;
        units = computer->m_actionLimit;
        computer.reset();
        host.reset();
        game.reset();
        state.ResumeTiming();
    }
    SetTimeSource(nullptr);
    using Event = CComputerTurnHost::Event;
    state.counters["actions"] = counts.actions;
    state.counters["bound"] = units;
    state.counters["fire"] = counts.events[Event::DirectFire];
    state.counters["moves"] = counts.events[Event::Move];
    state.counters["opfire"] = counts.events[Event::OpportunityFire];
    state.counters["assaults"] = counts.events[Event::Assault];
    state.counters["air"] = counts.events[Event::AirStrike];
    state.counters["indirect"] = counts.events[Event::IndirectFire];
    state.counters["mines"] = counts.events[Event::MineAttack];
    state.counters["texts"] = counts.texts;
}

// ---- The demo battle ----

void BM_DemoComputerPhase(benchmark::State& state)
{
    const PhaseKey key { 2, static_cast<int>(state.range(0)) };
    static std::string error;
    static const SavedPhases saved = [] {
        ScopedCurrentDir inData(VL_BENCH_DATA_DIR);
        return SaveAtPhaseChanges("demo.scn", { { 2, 0 }, { 2, 1 } }, error);
    }();
    if (!saved.count(key)) {
        state.SkipWithError(error.c_str());
        return;
    }
    RunPhase(state, VL_BENCH_DATA_DIR, saved.at(key));
}
BENCHMARK(BM_DemoComputerPhase)->ArgName("side")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// ---- The large generated battle ----

constexpr int kSize = 100;
constexpr int kBattalions = 12; // a side
constexpr int kCompanies = 3; // a battalion
constexpr int kArtillery = 3; // off-map batteries a side
constexpr int kAircraft = 4; // a side

// One side's types from the demo's tables, and how strong each platoon is.
struct SideTypes {
    int nation;
    int battalionLeader;
    int artillery;
    int aircraft;
    int facing;
    // A company: the captain first.
    int company[8];
    int strength[8];
};
constexpr SideTypes kSides[2] = {
    { 10, 10401, 10300, 10500, 2, { 10400, 10200, 10200, 10200, 10100, 10101, 10000, 10700 },
        { 1, 8, 8, 8, 4, 3, 5, 4 } },
    { 1, 1401, 1300, 1500, 32, { 1400, 1200, 1200, 1200, 1100, 1101, 1000, 1700 }, { 1, 7, 7, 7, 4, 3, 5, 4 } },
};

// A folder with the demo's tables and the generated battle, removed at the
// end of the program.
class LargeBattle {
public:
    LargeBattle()
    {
        CopyDataFiles(VL_BENCH_DATA_DIR, m_folder.Path());
        m_error = Generate();
    }

    const std::filesystem::path& Folder() const { return m_folder.Path(); }
    const std::string& Error() const { return m_error; }

private:
    std::string Generate()
    {
        // The map: the demo's north-west European description (hills, woods,
        // fields, villages, roads, streams) with a river crossing.
        LauncherRandom random;
        random.SetTimeSource([] { return std::int64_t { 1'000'000 }; });
        RandomMap generator(random);
        generator.SetDataFolder(VL_BENCH_DATA_DIR);
        if (generator.ReadMapDescription(1).empty())
            return "no map description";
        generator.m_mapWidth = kSize;
        generator.m_mapHeight = kSize;
        generator.m_mapRiverCrossing = 1;
        const std::string error = generator.GenerateRandomMap(m_folder.Path() / "large.map");
        if (!error.empty())
            return error;
        HexMap map;
        std::ifstream mapFile(m_folder.Path() / "large.map", std::ios::binary);
        if (!map.ReadMapFile(mapFile))
            return "the generated map does not read";
        if (std::string missing = MissingFeatures(map); !missing.empty())
            return "the generated map has no " + missing;

        std::mt19937 draw(kSeed);
        std::string org = "1\n20000\n7 44\n";
        std::string units;
        for (int side = 0; side < 2; ++side)
            PlaceSide(map, side, draw, org, units);
        std::ofstream(m_folder.Path() / "large.org", std::ios::binary) << org;

        std::string scenario = "7\nComputer against computer on a river\n0 0 0 120\n0 0 0 0 18\n"
            + std::to_string(kAircraft) + ' ' + std::to_string(kAircraft)
            + " 4 4 85 85\n0\n0 200 400 650 0\n75 75 0 88\nlarge.map\nlarge.org\n";
        for (int side = 0; side < 2; ++side)
            scenario += " 3 3 3 3 3 3 3 3 3\n";
        scenario += units;
        // Each side's objectives on its side of the river, near its front
        // and further back.
        for (int i = 0; i < 6; ++i) {
            const int x = 8 + i * 16;
            scenario
                += Objective(map, x, 44, 100, kSides[0].nation) + Objective(map, x, kSize - 40, 100, kSides[1].nation);
            if (i % 2 == 0)
                scenario += Objective(map, x, 12, 50, kSides[0].nation)
                    + Objective(map, x, kSize - 12, 50, kSides[1].nation);
        }
        for (int side = 0; side < 2; ++side)
            for (int i = 0; i < kAircraft; ++i)
                scenario += "19 " + std::to_string(kSides[side].aircraft) + '\n';
        scenario += "-1\n0 -1\n1\n";
        std::ofstream(m_folder.Path() / "large.scn", std::ios::binary) << scenario;
        return {};
    }

    // The map must have what the computer meets in a real battle.
    static std::string MissingFeatures(const HexMap& map)
    {
        int river = 0, bridges = 0, hills = 0, woods = 0, villages = 0, fields = 0;
        for (int x = 0; x < kSize; ++x)
            for (int y = 0; y < kSize; ++y) {
                const HexRecord& hex = map.GetHex(x, y);
                river += hex.terrain == kTerrainWater || !hex.layers[kLayerRiver].IsEmpty() ? 1 : 0;
                for (int layer : { kLayerHeavyBridge, kLayerMediumBridge, kLayerLightBridge })
                    bridges += hex.layers[static_cast<std::size_t>(layer)].IsEmpty() ? 0 : 1;
                hills += hex.level > 0 ? 1 : 0;
                woods += hex.terrain == kTerrainForest ? 1 : 0;
                villages += hex.terrain == kTerrainVillage || hex.terrain == kTerrainBuilding ? 1 : 0;
                fields += hex.terrain == kTerrainField ? 1 : 0;
            }
        return river == 0   ? "river"
            : bridges == 0  ? "bridge"
            : hills == 0    ? "hills"
            : woods == 0    ? "woods"
            : villages == 0 ? "villages"
            : fields == 0   ? "fields"
                            : "";
    }

    static bool Passable(const HexMap& map, int x, int y)
    {
        if (!map.IsOnMap(x, y))
            return false;
        const int terrain = map.GetHex(x, y).terrain;
        return terrain != kTerrainWater && terrain != kTerrainShallowWater && terrain != kTerrainImpassible
            && terrain != kTerrainMarsh && terrain != kTerrainSwamp;
    }

    // The nearest passable hex to the one asked, looking outwards.
    static HexPos NearestPassable(const HexMap& map, int x, int y)
    {
        for (int radius = 0; radius < kSize; ++radius)
            for (int dx = -radius; dx <= radius; ++dx)
                for (int dy = -radius; dy <= radius; ++dy)
                    if (std::max(std::abs(dx), std::abs(dy)) == radius && Passable(map, x + dx, y + dy))
                        return { x + dx, y + dy };
        return { x, y };
    }

    static std::string Objective(const HexMap& map, int x, int y, int value, int nation)
    {
        const HexPos hex = NearestPassable(map, x, y);
        return "5 " + std::to_string(hex.column) + ' ' + std::to_string(hex.row) + ' ' + std::to_string(value) + ' '
            + std::to_string(nation) + '\n';
    }

    // A side's battalions of companies on its half of the map (the river
    // crossing runs between them), its organisation and its off-map
    // batteries, off its own edge.
    void PlaceSide(const HexMap& map, int side, std::mt19937& draw, std::string& org, std::string& units)
    {
        const SideTypes& types = kSides[side];
        const auto below = [&draw](int n) { return static_cast<int>(draw() % static_cast<std::uint32_t>(n)); };
        std::vector<int> held(static_cast<std::size_t>(kSize * kSize), 0);
        const auto unitLine = [&](int type, int node, int strength) {
            return std::to_string(type) + ' ' + std::to_string(node) + ' ' + std::to_string(types.facing) + ' '
                + std::to_string(types.facing) + ' ' + std::to_string(strength) + " 100 6 0 0 3 3 3\n";
        };
        // Up to two platoons a hex, near the company's centre.
        const auto place = [&](int cx, int cy, int type, int node, int strength) {
            for (int tries = 0;; ++tries) {
                const int spread = 1 + tries / 8;
                HexPos hex
                    = NearestPassable(map, cx + below(2 * spread + 1) - spread, cy + below(2 * spread + 1) - spread);
                int& count = held[static_cast<std::size_t>(hex.column * kSize + hex.row)];
                if (count >= 2)
                    continue;
                ++count;
                units += "0 " + std::to_string(hex.column) + ' ' + std::to_string(hex.row) + ' '
                    + unitLine(type, node, strength);
                return;
            }
        };
        const int base = side == 0 ? 1000 : 5000;
        for (int b = 0; b < kBattalions; ++b) {
            const int battalionNode = base + b * 100;
            org += "B" + std::to_string(types.nation * 100000 + 2 * 10000 + b + 1) + ' ' + std::to_string(battalionNode)
                + " 6 Battalion " + std::to_string(b + 1) + '\n';
            org += "    P" + std::to_string(types.battalionLeader) + ' ' + std::to_string(battalionNode + 1)
                + " 7 Battalion commander\n";
            // Two lines of six battalions across the map, the front line
            // first; side 0 to the north, side 1 to the south.
            const int bx = 2 + (b % 6) * 16;
            const int line = b / 6;
            const int by = side == 0 ? 38 - line * 14 : kSize - 34 + line * 14;
            place(bx + 5, by, types.battalionLeader, battalionNode + 1, 2);
            for (int c = 0; c < kCompanies; ++c) {
                const int companyNode = battalionNode + 10 + c * 10;
                org += "    C" + std::to_string(types.nation * 100000 + 10000 + b * kCompanies + c + 1) + ' '
                    + std::to_string(companyNode) + " 6 Company " + std::to_string(c + 1) + '\n';
                const int cx = bx + c * 5 + below(3);
                const int cy = by - 2 + below(5);
                for (int p = 0; p < 8; ++p) {
                    const int node = companyNode + p + 1;
                    org += "        P" + std::to_string(types.company[p]) + ' ' + std::to_string(node) + " 6 Platoon\n";
                    place(cx, cy, types.company[p], node, types.strength[p]);
                }
                org += "        End\n";
            }
            // The batteries in support of the first battalions.
            if (b < kArtillery) {
                const int node = battalionNode + 90;
                org += "    P" + std::to_string(types.artillery) + ' ' + std::to_string(node) + " 7 Battery\n";
                units += "6 " + std::to_string(20 + b * 30) + ' ' + std::to_string(side == 0 ? -3 : kSize + 2) + ' '
                    + unitLine(types.artillery, node, 4);
            }
            org += "    End\n";
        }
    }

    TempDir m_folder { "vl-bench-computer-" };
    std::string m_error;
};

const LargeBattle& TheLargeBattle()
{
    static const LargeBattle battle;
    return battle;
}

void BM_LargeComputerPhase(benchmark::State& state)
{
    const PhaseKey key { static_cast<int>(state.range(0)), static_cast<int>(state.range(1)) };
    const LargeBattle& battle = TheLargeBattle();
    if (!battle.Error().empty()) {
        state.SkipWithError(battle.Error().c_str());
        return;
    }
    static std::string error;
    static const SavedPhases saved = [&battle] {
        ScopedCurrentDir inBattle(battle.Folder());
        return SaveAtPhaseChanges("large.scn", { { 2, 0 }, { 2, 1 }, { 5, 0 }, { 5, 1 } }, error);
    }();
    if (!saved.count(key)) {
        state.SkipWithError(error.c_str());
        return;
    }
    RunPhase(state, battle.Folder(), saved.at(key));
}
// Turn 2: the two sides still apart, every phase moves; turn 5: in contact,
// with fire, opportunity fire and indirect fire among the moves.
BENCHMARK(BM_LargeComputerPhase)
    ->ArgNames({ "turn", "side" })
    ->Args({ 2, 0 })
    ->Args({ 2, 1 })
    ->Args({ 5, 0 })
    ->Args({ 5, 1 })
    ->Unit(benchmark::kMillisecond);

} // namespace
