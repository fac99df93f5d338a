// A corps of 5,120 platoons (5 divisions, 4 regiments each, 4 battalions
// each, 4 companies each, 16 platoons and a commander each) loaded from its
// order-of-battle files against a platoon file of 2,000 lines: with no cache
// (every platoon scans the platoon file), the first load into an empty cache,
// and a load with the files already cached.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "launcher/campaign/OrderOfBattle.h"
#include "model/Scramble.h"
#include "tests/TempDir.h"

namespace {

constexpr int kDivisions = 5;
constexpr int kPerFormation = 4;
constexpr int kPlatoonsPerCompany = 16;
constexpr int kPlatoonLines = 2000;

std::string Line(const char* id, int index, const std::string& name)
{
    char text[64];
    std::snprintf(text, sizeof text, "42 11 45 5 %s%03d ", id, index);
    return text + name + "\n";
}

std::string Platoon(int number, const std::string& name)
{
    char text[32];
    std::snprintf(text, sizeof text, "42 11 45 5 P%d ", number);
    return text + name + "\n";
}

class CorpsFolder : public TempDir {
public:
    CorpsFolder()
        : TempDir("vl-bench-corps-")
    {
        std::string corps = Line("K1052", 1, "Big Corps") + Platoon(10404, "HQ");
        std::string divisions;
        std::string regiments;
        std::string battalions;
        std::string companies;
        int regiment = 0;
        int battalion = 0;
        int company = 0;
        int type = 0;
        for (int d = 0; d < kDivisions; ++d) {
            corps += Line("D1042", d, "$ Infantry Division");
            divisions += Line("D1042", d, "Division") + Platoon(10403, "HQ");
            for (int r = 0; r < kPerFormation; ++r, ++regiment) {
                divisions += Line("R1022", regiment, "$ Infantry Regiment");
                regiments += Line("R1022", regiment, "Regiment") + Platoon(10402, "HQ, # Infantry");
                for (int b = 0; b < kPerFormation; ++b, ++battalion) {
                    regiments += Line("B1012", battalion, "$(0-3) Battalion");
                    battalions += Line("B1012", battalion, "Battalion") + Platoon(10401, "HQ");
                    for (int c = 0; c < kPerFormation; ++c, ++company) {
                        battalions += Line("C1002", company, "Company " + std::to_string(c));
                        companies += Line("C1002", company, "Company") + Platoon(10400, "HQ");
                        for (int p = 0; p < kPlatoonsPerCompany; ++p)
                            companies += Platoon(10000 + (type++ * 7) % 1000, "$(0-3) Platoon");
                        companies += "\n";
                    }
                    battalions += "\n";
                }
                regiments += "\n";
            }
            divisions += "\n";
        }
        Write("Campaign10.OOB", corps);
        Write("Division10.OOB", divisions);
        Write("Regiment10.OOB", regiments);
        Write("Battalion10.OOB", battalions);
        Write("Company10.OOB", companies);
        std::string platoons;
        for (int i = 0; i < kPlatoonLines; ++i) {
            const int number = 10000 + (kPlatoonLines - 1 - i) % 1000;
            char line[160];
            std::snprintf(line, sizeof line,
                "P%d %d 0 3 40 20 15 5 0 0 I 0 0 0 0 2 0 0 pic 10 2 131 0 1 0 42 1 45 8 4 4 4 Platoon %d, Plt, rifles",
                number, 1 + i % 9, i);
            platoons += ScrambleLine(line);
            platoons += '\n';
        }
        Write("platoon10.obx", platoons);
    }
};

const CorpsFolder& Folder()
{
    static const CorpsFolder folder;
    return folder;
}

int CountPlatoons(const UnitRecord* node)
{
    int count = 0;
    for (; node; node = node->m_nextSibling.get())
        count += (node->m_id.front() == 'P') + CountPlatoons(node->m_firstChild.get());
    return count;
}

enum class CacheUse { kNone, kEmpty, kWarm };

void LoadCorps(benchmark::State& state, CacheUse use)
{
    LauncherRandom random;
    random.SetTimeSource([] { return std::int64_t { 1'000'000 }; });
    CampaignContext context(Folder().Path(), random);
    context.cacheFiles = use != CacheUse::kNone;
    const LevelNumberBase base;
    if (use == CacheUse::kWarm)
        LoadFormationFromOob(context, base, 430201, 10, "K1052001");
    int platoons = 0;
    for (auto _ : state) {
        if (use == CacheUse::kEmpty)
            context.fileCache.Clear();
        const auto corps = LoadFormationFromOob(context, base, 430201, 10, "K1052001");
        platoons = CountPlatoons(corps.get());
        benchmark::DoNotOptimize(corps.get());
    }
    state.counters["platoons"] = platoons;
}

void BM_LoadCorpsUncached(benchmark::State& state) { LoadCorps(state, CacheUse::kNone); }
void BM_LoadCorpsFirst(benchmark::State& state) { LoadCorps(state, CacheUse::kEmpty); }
void BM_LoadCorpsCached(benchmark::State& state) { LoadCorps(state, CacheUse::kWarm); }

} // namespace

BENCHMARK(BM_LoadCorpsUncached)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCorpsFirst)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCorpsCached)->Unit(benchmark::kMillisecond);
