// One next battle of the demo campaign set up: the tables drawn, the
// campaign saved, both forces chosen, the map generated and the battle, map
// and organisation files written, in a copy of the demo data.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "bench/BenchTempPath.h"
#include "launcher/campaign/CampaignContext.h"
#include "launcher/campaign/OrderOfBattle.h"
#include "launcher/campaign/setup/NextBattleSetup.h"
#include "tests/TempDir.h"

namespace {

void BM_NextCampaignBattleSetUp(benchmark::State& state)
{
    TempDir folder("vl-bench-campaign-");
    CopyDataFiles(VL_BENCH_DATA_DIR, folder.Path());
    LauncherRandom random;
    std::int64_t now = 1700000000;
    random.SetTimeSource([&now] { return now; });
    CampaignContext context(folder.Path(), random);
    BattleGeneratorContext generator(context);
    CampaignRecord& campaign = context.g_campaign;
    campaign.m_name = "Bench";
    campaign.m_nation = 10;
    campaign.m_enemyNation = 1;
    campaign.m_commandLevel = 1;
    campaign.m_formationId = "B1012001";
    campaign.m_startDate = 430115;
    campaign.m_endDate = 430817;
    campaign.m_charSection = 0;
    campaign.m_generatorValue = 1;
    campaign.m_force = LoadFormationFromOob(context, generator.levelRolls, 430115, 10, "K1052001");
    if (!campaign.m_force || !AddCommanderUnit(context)) {
        state.SkipWithError("the demo corps did not load");
        return;
    }
    SelectForceUnder(campaign.m_force.get(), campaign.m_formationId);
    for (auto _ : state) {
        campaign.m_currentDate = 430115;
        campaign.m_region = 0;
        ++now;
        NextBattleSetup setup(generator, campaign.m_currentDate, campaign.m_region, campaign.m_nation,
            campaign.m_enemyNation, campaign.m_formationName, campaign.m_commandLevel, campaign.m_force.get(), nullptr,
            campaign.m_name, campaign.m_regionPrefix);
        if (!setup.Run(nullptr)) {
            state.SkipWithError(setup.m_failure.c_str());
            return;
        }
    }
}
BENCHMARK(BM_NextCampaignBattleSetUp)->Unit(benchmark::kMillisecond);

} // namespace
