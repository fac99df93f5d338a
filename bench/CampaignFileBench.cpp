// A campaign of 5,226 units (a corps of 5 divisions, 4 regiments each, 4
// battalions each, 4 companies each, 15 platoons each; the first and the
// eleventh platoon of each company with a successor, 640 in all) saved with
// its backup and read back, and its text made alone for comparison. Saving
// includes the synced new file, the old one kept as the backup, and a folder
// sync after each of the two renames.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "launcher/campaign/CampaignFile.h"

namespace {

class CampaignFolder {
public:
    CampaignFolder()
        : m_path(MakePath())
        , context(m_path, random)
    {
        CampaignRecord& record = context.g_campaign;
        record.m_name = "Bench Campaign";
        record.m_formationId = "K1052001";
        record.m_regionPrefix = "Tunisia";
        record.m_formationName = "Big Corps";
        record.m_force = Unit("K1052001", "Big Corps");
        for (int d = 0; d < 5; ++d) {
            UnitRecord* division = AttachChildUnit(Unit("D1042001", "Infantry Division"), *record.m_force);
            for (int r = 0; r < 4; ++r) {
                UnitRecord* regiment = AttachChildUnit(Unit("R1022001", "Infantry Regiment"), *division);
                for (int b = 0; b < 4; ++b) {
                    UnitRecord* battalion = AttachChildUnit(Unit("B1012001", "Rifle Battalion"), *regiment);
                    for (int c = 0; c < 4; ++c) {
                        UnitRecord* company = AttachChildUnit(Unit("C1002001", "Rifle Company"), *battalion);
                        for (int p = 0; p < 15; ++p) {
                            UnitRecord* platoon = AttachChildUnit(Unit("P10200", "Rifle Platoon"), *company);
                            if (p % 10 == 0)
                                platoon->m_nextSuccessor = Unit("P10201", "Engineer Platoon");
                        }
                    }
                }
            }
        }
    }
    ~CampaignFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    // Every record made, successors included.
    int Records() const { return m_next - 1; }

    LauncherRandom random;

private:
    static std::filesystem::path MakePath()
    {
        std::random_device seed;
        auto path = std::filesystem::temp_directory_path() / ("vl-bench-campaign-" + std::to_string(seed()));
        std::filesystem::create_directories(path);
        return path;
    }
    std::unique_ptr<UnitRecord> Unit(const char* id, const char* name)
    {
        auto unit = std::make_unique<UnitRecord>();
        unit->m_id = id;
        unit->m_number = m_next++;
        unit->m_name = name;
        unit->m_leader = "Sgt. Somebody";
        unit->m_strength = 5;
        unit->m_fullStrength = 5;
        unit->m_size = 10;
        unit->m_availableFrom = 420100;
        unit->m_availableTo = 450500;
        return unit;
    }

    std::filesystem::path m_path;
    int m_next = 1;

public:
    CampaignContext context;
};

void BM_CampaignText(benchmark::State& state)
{
    CampaignFolder folder;
    std::string refusal;
    for (auto _ : state)
        benchmark::DoNotOptimize(MakeCampaignText(folder.context.g_campaign, 5000, refusal));
    state.counters["records"] = folder.Records();
}
BENCHMARK(BM_CampaignText)->Unit(benchmark::kMillisecond);

void BM_CampaignSave(benchmark::State& state)
{
    CampaignFolder folder;
    SaveCampaign(folder.context, folder.context.g_campaign);
    for (auto _ : state)
        if (!SaveCampaign(folder.context, folder.context.g_campaign).empty())
            state.SkipWithError("save failed");
    state.counters["records"] = folder.Records();
}
BENCHMARK(BM_CampaignSave)->Unit(benchmark::kMillisecond);

// The same save of the campaign cut to its root: what the syncs alone cost.
void BM_CampaignSaveRootOnly(benchmark::State& state)
{
    CampaignFolder folder;
    folder.context.g_campaign.m_force->m_firstChild.reset();
    folder.context.g_campaign.m_force->m_lastChild = nullptr;
    SaveCampaign(folder.context, folder.context.g_campaign);
    for (auto _ : state)
        if (!SaveCampaign(folder.context, folder.context.g_campaign).empty())
            state.SkipWithError("save failed");
}
BENCHMARK(BM_CampaignSaveRootOnly)->Unit(benchmark::kMillisecond);

void BM_CampaignRead(benchmark::State& state)
{
    CampaignFolder folder;
    SaveCampaign(folder.context, folder.context.g_campaign);
    CampaignRecord record;
    for (auto _ : state)
        if (!ReadCampaign(folder.context, record, "Bench Campaign.ccd").empty())
            state.SkipWithError("read failed");
    state.counters["records"] = folder.Records();
}
BENCHMARK(BM_CampaignRead)->Unit(benchmark::kMillisecond);

} // namespace
