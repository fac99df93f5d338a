// The battle generator at command level 5 on forces of about 2,000 platoons
// a side built in memory, on a generated 100 x 100 map (made once, outside
// the timing): the choice of both forces, their deployment and the battle
// and organisation texts, each alone and the three together, and the two
// files written (replaced whole, synced).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "tests/TempDir.h"
#include "launcher/generator/BattleGenerator.h"
#include "launcher/generator/Deployment.h"
#include "model/DataFile.h"

namespace {

constexpr int kLevel = 5;
constexpr std::int32_t kDate = 430301;

// corps, 5 divisions, 4 regiments each, 4 battalions, 6 companies, 4
// platoons: 1,920 platoons.
std::unique_ptr<UnitRecord> BuildForce(const std::string& nation, const std::string& platoonId)
{
    auto make = [](const std::string& id) {
        auto unit = std::make_unique<UnitRecord>();
        unit->m_id = id;
        return unit;
    };
    std::int32_t number = 1;
    auto corps = make("K" + nation + "52001");
    corps->m_number = number++;
    for (int d = 0; d < 5; ++d) {
        UnitRecord* division = AttachChildUnit(make("D" + nation + "42001"), *corps);
        division->m_number = number++;
        for (int r = 0; r < 4; ++r) {
            UnitRecord* regiment = AttachChildUnit(make("R" + nation + "22001"), *division);
            regiment->m_number = number++;
            for (int b = 0; b < 4; ++b) {
                UnitRecord* battalion = AttachChildUnit(make("B" + nation + "12001"), *regiment);
                battalion->m_number = number++;
                for (int c = 0; c < 6; ++c) {
                    UnitRecord* company
                        = AttachChildUnit(make("C" + nation + (c % 3 == 0 ? "00001" : "02001")), *battalion);
                    company->m_number = number++;
                    for (int p = 0; p < 4; ++p) {
                        UnitRecord* platoon = AttachChildUnit(make(platoonId), *company);
                        platoon->m_number = number++;
                        platoon->m_size = 4;
                        platoon->m_strength = 5;
                        platoon->m_oobValues = { p == 3 ? 1 : 2, p == 3 ? 32 : 131, 0, 0 };
                        platoon->m_name = "Platoon";
                    }
                }
            }
        }
    }
    return corps;
}

void ClearRoles(UnitRecord* node)
{
    for (; node; node = node->m_nextSibling.get()) {
        node->m_role = 0;
        ClearRoles(node->m_firstChild.get());
    }
}

// A folder holding the demo's campaign data, removed at the end.
class BenchFolder : public TempDir {
public:
    BenchFolder()
        : TempDir("vl-bench-battle-")
    {
        for (const char* name :
            { "campaign.pdt", "forces0.dat", "forces1.dat", "weapon.pdx", "Map Description.dat", "mapname1.txt" })
            std::filesystem::copy_file(std::filesystem::path(VL_BENCH_DATA_DIR) / name, Path() / name);
    }
};

// Everything one battle needs, with the map generated once.
struct BenchBattle {
    BenchBattle()
        : campaign(folder.Path(), random)
        , context(campaign)
        , force(BuildForce("10", "P10200"))
        , enemy(BuildForce("01", "P01200"))
    {
        random.SetTimeSource([] { return std::int64_t { 1'000'000 }; });
        random.SeedRandom();
        campaign.g_campaign.m_generatorValue = 1;
        campaign.g_unitCounter = 10000;
        context.map.ReadMapDescription(1);
        context.map.m_mapWidth = 100;
        context.map.m_mapHeight = 100;
        context.map.GenerateRandomMap(folder.Path() / "Bench.MAP");
        context.WeaponReaches();
        context.conditionLetters = { 'G', 'D', 'N', 'N' };
        context.visibilityRadius = 20;
    }
    ~BenchBattle() { context.map.FreeMapCells(); }

    std::unique_ptr<BattleGenerator> MakeGenerator()
    {
        ClearRoles(force.get());
        ClearRoles(enemy.get());
        auto generator
            = std::make_unique<BattleGenerator>(context, 10, 1, force.get(), enemy.get(), kDate, 0, kLevel, 3, "");
        return generator;
    }
    void Select(BattleGenerator& generator) { generator.ChooseForces(); }
    void Deploy(BattleGenerator& generator)
    {
        ForceDeployment deployment(context.map, context.WeaponReaches(), force.get(), enemy.get(), 3, 0);
        deployment.Deploy(generator.m_objectives.get());
    }
    // A generator whose forces are chosen and deployed.
    std::unique_ptr<BattleGenerator> Deployed()
    {
        auto generator = MakeGenerator();
        Select(*generator);
        generator->SizeMap();
        Deploy(*generator);
        return generator;
    }
    std::string Texts(BattleGenerator& generator, std::string& organisation)
    {
        std::string text;
        generator.WriteHeader(text);
        generator.PrepareBoats();
        generator.WriteObjectives(text);
        generator.WriteUnits(text, force.get());
        generator.WriteUnits(text, enemy.get());
        generator.WriteSupport(text, 10);
        generator.WriteSupport(text, 1);
        organisation = generator.OrganisationText();
        return text;
    }

    BenchFolder folder;
    LauncherRandom random;
    CampaignContext campaign;
    BattleGeneratorContext context;
    std::unique_ptr<UnitRecord> force;
    std::unique_ptr<UnitRecord> enemy;
};

BenchBattle& Battle()
{
    static BenchBattle battle;
    return battle;
}

void BM_BattleSelection(benchmark::State& state)
{
    BenchBattle& battle = Battle();
    for (auto _ : state) {
        state.PauseTiming();
        auto generator = battle.MakeGenerator();
        state.ResumeTiming();
        battle.Select(*generator);
        benchmark::DoNotOptimize(generator->m_force);
    }
}
BENCHMARK(BM_BattleSelection)->Unit(benchmark::kMillisecond);

void BM_BattleDeployment(benchmark::State& state)
{
    BenchBattle& battle = Battle();
    for (auto _ : state) {
        state.PauseTiming();
        auto generator = battle.MakeGenerator();
        battle.Select(*generator);
        generator->SizeMap();
        state.ResumeTiming();
        battle.Deploy(*generator);
    }
}
BENCHMARK(BM_BattleDeployment)->Unit(benchmark::kMillisecond);

void BM_BattleTexts(benchmark::State& state)
{
    BenchBattle& battle = Battle();
    for (auto _ : state) {
        state.PauseTiming();
        auto generator = battle.Deployed();
        state.ResumeTiming();
        std::string organisation;
        const std::string text = battle.Texts(*generator, organisation);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_BattleTexts)->Unit(benchmark::kMillisecond);

// Selection, deployment and both texts of one battle.
void BM_BattleSelectDeployWrite(benchmark::State& state)
{
    BenchBattle& battle = Battle();
    for (auto _ : state) {
        state.PauseTiming();
        auto generator = battle.MakeGenerator();
        state.ResumeTiming();
        battle.Select(*generator);
        generator->SizeMap();
        battle.Deploy(*generator);
        std::string organisation;
        const std::string text = battle.Texts(*generator, organisation);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_BattleSelectDeployWrite)->Unit(benchmark::kMillisecond);

// The two files, each replaced whole and synced.
void BM_BattleFiles(benchmark::State& state)
{
    BenchBattle& battle = Battle();
    auto generator = battle.Deployed();
    std::string organisation;
    const std::string text = battle.Texts(*generator, organisation);
    for (auto _ : state) {
        const bool written = WriteFileAtomically(battle.folder.Path() / "Bench.scn",
                                 [&](std::ostream& out) { return static_cast<bool>(out << text); })
                                 .empty()
            && generator->WriteOrganisation(battle.folder.Path() / "Bench.ORG");
        if (!written) {
            state.SkipWithError("not written");
            break;
        }
    }
    state.counters["scn_bytes"] = static_cast<double>(text.size());
    state.counters["org_bytes"] = static_cast<double>(organisation.size());
}
BENCHMARK(BM_BattleFiles)->Unit(benchmark::kMillisecond);

} // namespace
