#include "launcher/campaign/setup/NextBattleSetup.h"

#include <algorithm>
#include <limits>

#include "launcher/campaign/BattleResult.h"
#include "launcher/campaign/CampaignFile.h"
#include "launcher/campaign/CampaignTables.h"
#include "launcher/campaign/ForceUpgrade.h"
#include "launcher/campaign/NationTables.h"
#include "launcher/campaign/Weather.h"
#include "launcher/campaign/setup/LinkedBattleSetup.h"

namespace {

constexpr std::string_view kBattleExtension = ".cpn";

} // namespace

std::int32_t ReplacementFactor(std::int32_t commandLevel)
{
    switch (commandLevel) {
    case 2:
        return 220;
    case 3:
        return 400;
    case 4:
        return 1000;
    case 5:
        return 3000;
    default:
        return 60;
    }
}

std::string ExpandBriefing(
    std::string_view text, std::string_view nationName, std::string_view levelName, std::string_view placeName)
{
    std::string expanded;
    expanded.reserve(text.size() + placeName.size());
    for (const char c : text) {
        if (c == '#')
            expanded += nationName;
        else if (c == '$')
            expanded += levelName;
        else if (c == '%')
            expanded += placeName;
        else
            expanded += c;
    }
    return expanded;
}

NextBattleSetup::NextBattleSetup(BattleGeneratorContext& generator, std::int32_t date, std::int32_t region,
    std::int32_t nation, std::int32_t enemyNation, std::string_view /*formationName*/, std::int32_t commandLevel,
    UnitRecord* force, UnitRecord* enemyForce, std::string_view campaignName, std::string_view regionPrefix)
    : m_campaignName(campaignName)
    , m_regionPrefix(regionPrefix)
    , m_date(date)
    , m_levelName(GetCommandLevelName(commandLevel))
    , m_region(region)
    , m_commandLevel(commandLevel)
    , m_side(GetNationSide(nation))
    , m_force(force)
    , m_enemyForce(enemyForce)
    , m_nation(nation)
    , m_enemyNation(enemyNation)
    , m_generator(generator)
    , m_context(*generator.campaign)
{
}

void NextBattleSetup::DrawDateRegionAttackerAndReplacements()
{
    std::int32_t placeNameFile = m_generator.map.m_placeNameFile;
    AdvanceBattleDate(m_context, m_regionPrefix, m_date, placeNameFile, m_region);
    m_generator.map.m_placeNameFile = static_cast<std::int8_t>(std::clamp<std::int32_t>(placeNameFile, -128, 127));
    const std::int32_t endDate = m_context.g_campaign.m_endDate;
    if (m_date > endDate)
        m_date = endDate;
    m_region = FindRegionForDate(m_context, m_date);
    int attacker = 1;
    ReadAttacker(m_context, m_regionPrefix, attacker, m_region, m_date);
    m_attacker = attacker;
    const std::int64_t points = static_cast<std::int64_t>(ReadReplacementPoints(
                                    m_context, m_regionPrefix, m_side, m_region, m_previousDate, m_date))
        * ReplacementFactor(m_commandLevel) / 100;
    m_replacementPoints
        = static_cast<std::int32_t>(std::clamp<std::int64_t>(points, 0, std::numeric_limits<std::int32_t>::max()));
}

void NextBattleSetup::DrawMissionType()
{
    int missionType = 1;
    ReadEncounterType(m_context, m_regionPrefix, missionType, m_region, m_date);
    m_missionType = static_cast<std::int16_t>(missionType);
    // A side that defends, or a formation of type 0, holds a bridgehead
    // rather than forcing the river.
    if (m_missionType == kRiverCrossing
        && (m_attacker != m_side || GetUnitIdTypeDigit(m_context.g_campaign.m_formationId) == 0))
        m_missionType = kBridgehead;
}

void NextBattleSetup::DrawPlace()
{
    BattleLocation location;
    ReadBattleLocation(m_context, m_regionPrefix, m_region, m_date, location);
    m_placeName = location.place;
    m_mapDescriptionLine = location.mapLine;
    SetMapMarker(m_context, location.markerX, location.markerY);
    m_generator.map.ReadMapDescription(m_mapDescriptionLine);
}

void NextBattleSetup::DrawBriefing()
{
    std::string text;
    ReadBriefing(m_context, text, m_nation, m_missionType, m_side == m_attacker);
    m_briefing = ExpandBriefing(text, GetNationName(m_nation), m_levelName, m_placeName);
}

bool NextBattleSetup::SaveCampaignRecord()
{
    if (std::string error = SaveCampaign(m_context, m_context.g_campaign); !error.empty())
        return Fail(error);
    return true;
}

void NextBattleSetup::RollWeather()
{
    WeatherTables tables;
    tables.Load(m_context.folder, m_regionPrefix, m_region);
    const int month = (m_date % 10000) / 100;
    m_generator.visibilityRadius = tables.RollWeather(*m_context.random, month).value;
    const ConditionRoll conditions = tables.RollBattleConditions(*m_context.random, month);
    m_generator.conditionLetters = {};
    for (std::size_t i = 0; i < conditions.letters.size() && i < m_generator.conditionLetters.size(); ++i)
        m_generator.conditionLetters[i] = conditions.letters[i];
}

bool NextBattleSetup::Fail(std::string reason)
{
    m_failure = std::move(reason);
    return false;
}

bool NextBattleSetup::Run(const ReplacementChooser& chooser)
{
    m_context.random->SeedRandom();
    m_previousDate = m_date;
    DrawDateRegionAttackerAndReplacements();
    DrawMissionType();
    DrawPlace();
    DrawBriefing();

    CampaignRecord& campaign = m_context.g_campaign;
    campaign.m_currentDate = m_date;
    campaign.m_dayOffset = 0;
    campaign.m_pendingBattle = m_placeName;
    if (!SaveCampaignRecord())
        return false;

    BattleGenerator generator(m_generator, m_nation, m_enemyNation, m_force, m_enemyForce, m_date, m_attacker,
        m_commandLevel, m_missionType, m_regionPrefix);
    generator.ClearOptions();
    RollWeather();

    if (campaign.m_history && m_replacementPoints != 0) {
        PlatoonRoster roster(m_force, RosterMode::kReplacements);
        RunReplacementDialog(roster, m_replacementPoints, chooser);
        if (!SaveCampaignRecord())
            return false;
    }

    generator.ChooseForces();
    if (!generator.WriteScenario(m_campaignName, kBattleExtension)) {
        // No half battle is left for the status screen to continue.
        for (std::string_view extension :
            { kBattleExtension, BattleGenerator::kMapExtension, BattleGenerator::kOrganisationExtension })
            RemoveFilesNamedNoCase(m_context.folder, m_campaignName + std::string(extension));
        return Fail("The battle's files could not be written in " + m_context.folder.string());
    }
    return true;
}

NextBattlePreparation PrepareNextCampaignBattle(BattleGeneratorContext& generator, const ReplacementChooser& chooser)
{
    CampaignContext& context = *generator.campaign;
    CampaignRecord& campaign = context.g_campaign;
    NextBattlePreparation result;
    if (campaign.m_linked) {
        LinkedBattlePreparation linked = PrepareLinkedCampaignBattle(context, chooser);
        result.prepared = linked.prepared;
        result.briefing = std::move(linked.briefing);
        return result;
    }
    if (campaign.m_selectedForceCost == 0) {
        ClearBattleSelection(campaign.m_force.get());
        result.upgradesArrived
            = UpgradeForceUnits(context, generator.levelRolls, campaign.m_force.get(), campaign.m_currentDate);
        if (result.upgradesArrived)
            context.ShowMessage("Upgrades have arrived.", "");
        campaign.m_selectedForceCost = SelectForceUnder(campaign.m_force.get(), campaign.m_formationId);
    }
    NextBattleSetup setup(generator, campaign.m_currentDate, campaign.m_region, campaign.m_nation,
        campaign.m_enemyNation, campaign.m_formationName, campaign.m_commandLevel, campaign.m_force.get(), nullptr,
        campaign.m_name, campaign.m_regionPrefix);
    if (!setup.Run(chooser)) {
        context.ShowMessage(setup.m_failure, kCampaignErrorCaption);
        return result;
    }
    result.prepared = true;
    result.briefing = std::move(setup.m_briefing);
    return result;
}
