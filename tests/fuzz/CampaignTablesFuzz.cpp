// The campaign's table readers on any input: the input as "campaign.pdt"
// through every lookup, as "weather.dat" loaded for each region and rolled,
// and as every region table, briefing, forces, description and leader file
// of the next battle.
#include "launcher/campaign/CampaignParameters.h"
#include "launcher/campaign/CampaignTables.h"
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

    for (const char* name : { "attacker.dat", "encounters.dat", "replacements0.dat", "forces1.dat", "location.dat",
             "excuse10.dat", "chardesc.txt", "leader10.oob" })
        folder.Write(name, text);
    CampaignContext context(path, random);
    for (int region = 0; region < 3; ++region) {
        const std::int32_t date = 430101 + region * 300;
        int attacker = 0;
        int mission = 0;
        ReadAttacker(context, "", attacker, region, date);
        ReadEncounterType(context, "", mission, region, date);
        ReadReplacementPoints(context, "", 0, region, date, date + 100);
        std::string briefing;
        ReadBriefing(context, briefing, 10, mission, region == 1);
        std::array<std::array<std::int32_t, 10>, 2> needs {};
        ReadForcesTable(context, "", mission, "AD"[region % 2], date, 1, needs);
        std::int32_t next = date;
        std::int32_t placeFile = 0;
        AdvanceBattleDate(context, "", next, placeFile, region);
        BattleLocation location;
        ReadBattleLocation(context, "", region, next, location);
    }
    context.g_campaign.m_charSection = 0;
    FindRegionForDate(context, 430601);
    CampaignMapImageName(context);
    std::string leader;
    PickLeaderName(context, 10, leader);
    return 0;
}
