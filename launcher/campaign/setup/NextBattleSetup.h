#pragma once
// A single campaign's next battle: its date, region and place, who attacks,
// the kind of battle, the replacement points, the briefing, the weather and
// terrain conditions, all drawn from the campaign's tables; the campaign
// saved with the new date; then the generator chooses both forces and
// writes the battle ("<name>.cpn") with its map and organisation files.

#include <cstdint>
#include <string>
#include <string_view>

#include "launcher/campaign/CampaignRecord.h"
#include "launcher/campaign/PlatoonRoster.h"
#include "launcher/generator/BattleGenerator.h"

// The replacement points' factor in percent by command level: 1 60, 2 220,
// 3 400, 4 1000, 5 3000, any other 60.
std::int32_t ReplacementFactor(std::int32_t commandLevel);

// The briefing's placeholders in one pass: '#' the nation's name, '$' the
// command level's, '%' the place's; an inserted name is not scanned again.
std::string ExpandBriefing(
    std::string_view text, std::string_view nationName, std::string_view levelName, std::string_view placeName);

class NextBattleSetup {
public:
    // The set-up of one battle of the campaign in the generator's campaign
    // context (its end date, formation id, history and save).
    NextBattleSetup(BattleGeneratorContext& generator, std::int32_t date, std::int32_t region, std::int32_t nation,
        std::int32_t enemyNation, std::string_view formationName, std::int32_t commandLevel, UnitRecord* force,
        UnitRecord* enemyForce, std::string_view campaignName, std::string_view regionPrefix);

    // Every step of the set-up; the chooser spends replacement points after
    // the first battle. True when the battle's files were all written; else
    // m_failure says why, no battle file is left and the campaign keeps the
    // save made before the generator ran (its backup the one before that).
    bool Run(const ReplacementChooser& chooser);

    std::int32_t m_mapDescriptionLine = 0;
    std::string m_briefing;
    std::string m_campaignName;
    std::string m_regionPrefix;
    std::int32_t m_date = 0;
    std::int32_t m_previousDate = 0;
    std::string m_levelName;
    std::int16_t m_missionType = 1;
    std::int32_t m_region = 0;
    std::int32_t m_replacementPoints = 0;
    std::string m_placeName;
    std::int32_t m_commandLevel = 0;
    std::int32_t m_attacker = 1;
    std::int32_t m_side = 0;
    UnitRecord* m_force = nullptr; // observer
    UnitRecord* m_enemyForce = nullptr; // observer
    std::int32_t m_nation = 0;
    std::int32_t m_enemyNation = 0;
    std::string m_failure;

private:
    void DrawDateRegionAttackerAndReplacements();
    void DrawMissionType();
    void DrawPlace();
    void DrawBriefing();
    bool SaveCampaignRecord();
    void RollWeather();
    bool Fail(std::string reason);

    BattleGeneratorContext& m_generator;
    CampaignContext& m_context;
};

struct NextBattlePreparation {
    bool prepared = false;
    bool upgradesArrived = false;
    std::string briefing; // for the briefing screen to wrap
};

// The status screen's next battle for context.g_campaign: a linked campaign
// copies its chain's battle; a single one first (once after each read or
// result) clears the force's selection, upgrades it to the date ("Upgrades
// have arrived." when anything changed) and chooses the force under the
// player's formation, then runs the set-up. A failure shows its reason under
// "Campaign Error" and prepares nothing.
NextBattlePreparation PrepareNextCampaignBattle(BattleGeneratorContext& generator, const ReplacementChooser& chooser);
