// The campaign's table readers on any input: the input as "campaign.pdt"
// through every lookup, and as "weather.dat" loaded for each region and
// rolled.
#include "launcher/campaign/CampaignParameters.h"
#include "launcher/campaign/Weather.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TempDir folder;
    const std::string_view text = FuzzText(data, size);
    folder.Write("campaign.pdt", text);
    folder.Write("weather.dat", text);
    const std::filesystem::path& path = folder.Path();
    for (const int key : { -1, 0, 1, 5, 11, 12 }) {
        ReadMissionRow(path, key);
        ReadObjectiveValueClass(path, key * 10);
        ReadYearlyNationValues(path, 40 + key);
        ReadRankForScore(path, key * 1000);
        CommandLevelForScore(ReadCommandLevelThresholds(path), key * 1000);
        ReadDecoration(path, key * 0.75, key + 10);
        ReadPointBudget(path, key);
        ReadMoraleThresholds(path, key);
        ReadMapSize(path, key);
        ReadTurnCount(path, key, "LMSD"[static_cast<unsigned>(key + 1) % 4]);
    }
    LauncherRandom random;
    for (int region = 0; region < 3; ++region) {
        WeatherTables tables;
        tables.Load(path, "", region);
        tables.RollWeather(random, region + 1);
        tables.RollBattleConditions(random, region + 6);
    }
    return 0;
}
