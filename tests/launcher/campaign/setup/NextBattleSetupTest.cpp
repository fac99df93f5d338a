// The next battle of a single campaign set up on small tables in a copy of
// the demo data: the date and its clamp, the region, attacker, replacement
// points, mission type, place and briefing, the saved record and the written
// battle; a writer that fails leaves no battle.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SetupTestSupport.h"
#include "launcher/campaign/CampaignContext.h"
#include "launcher/campaign/CampaignFile.h"
#include "launcher/campaign/CampaignTestSupport.h"
#include "launcher/campaign/OrderOfBattle.h"
#include "launcher/campaign/setup/LinkedBattleSetup.h"
#include "launcher/campaign/setup/NextBattleSetup.h"

namespace {

// Region 0 up to 31 January, region 1 after.
constexpr const char* kDescription = "0\nFixture\n1\n10\n430115 430817\n0 430131\n1 430817\n999 0\nText.\n-1\n-2\n";

// Eleven place lines of one place after a date line.
std::string Places(const std::string& dateLine, const std::string& place)
{
    std::string text = dateLine + "\n";
    for (int i = 0; i < 11; ++i)
        text += place + " 0 2 " + std::to_string(100 + i) + " 200\n";
    return text;
}

// Per mission type an attacker and a defender section of one briefing each.
std::string Briefings()
{
    std::string text;
    for (int mission = 1; mission <= 11; ++mission)
        text += "1 1\nAttack " + std::to_string(mission) + " # $ at %\n-1\nDefend " + std::to_string(mission)
            + " # $ at %\n-1\n";
    return text;
}

class NextBattleSetupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CopyDemoTextData(test.folder.Path());
        test.folder.Write("chardesc.txt", kDescription);
        // Region 0: the United States (side 0) always attack; region 1: never.
        test.folder.Write("attacker.dat", "t\n430131 100 0\n-1\nt\n430817 0 0\n-1\n");
        // Always a river crossing.
        test.folder.Write(
            "encounters.dat", "t\n430131 0 0 0 0 0 100 0 0 0 0 0\n-1\nt\n430817 0 0 0 0 0 100 0 0 0 0 0\n-1\n");
        test.folder.Write("replacements0.dat", "430115 5\n430120 7\n-1\n430115 5\n430301 9\n-1\n");
        test.folder.Write("excuse10.dat", Briefings());
        test.folder.Write(
            "location.dat", Places("430120 100 1", "Bir%#Zallaq") + "-1\n" + Places("430817 100 1", "Gela") + "-1\n");
        test.random.SetTimeSource([] { return std::int64_t { 1700000000 }; });

        CampaignRecord& campaign = test.context.g_campaign;
        campaign.m_name = "Hal";
        campaign.m_nation = 10;
        campaign.m_enemyNation = 1;
        campaign.m_commandLevel = 1;
        campaign.m_formationId = "B1012001";
        campaign.m_startDate = 430115;
        campaign.m_currentDate = 430115;
        campaign.m_endDate = 430817;
        campaign.m_charSection = 0;
        campaign.m_generatorValue = 1;
        campaign.m_force = LoadFormationFromOob(test.context, generator.levelRolls, 430115, 10, "B1012001");
        ASSERT_TRUE(campaign.m_force);
        ASSERT_TRUE(AddCommanderUnit(test.context));
    }

    NextBattleSetup MakeSetup()
    {
        const CampaignRecord& campaign = test.context.g_campaign;
        return NextBattleSetup(generator, campaign.m_currentDate, campaign.m_region, campaign.m_nation,
            campaign.m_enemyNation, campaign.m_formationName, campaign.m_commandLevel, campaign.m_force.get(), nullptr,
            campaign.m_name, campaign.m_regionPrefix);
    }

    CampaignTestFolder test;
    BattleGeneratorContext generator { test.context };
};

} // namespace

TEST(NextBattleRulesTest, ReplacementFactorsAndBriefingPlaceholders)
{
    const int factors[][2] = { { 0, 60 }, { 1, 60 }, { 2, 220 }, { 3, 400 }, { 4, 1000 }, { 5, 3000 }, { 6, 60 } };
    for (const auto& f : factors)
        EXPECT_EQ(ReplacementFactor(f[0]), f[1]) << f[0];
    EXPECT_EQ(ExpandBriefing("# $ at %.", "Soviet ", "Brigade", "Bir%#Zallaq"), "Soviet  Brigade at Bir%#Zallaq.");
    EXPECT_EQ(ExpandBriefing("%%", "", "", std::string(600, 'x')), std::string(1200, 'x'));
    EXPECT_EQ(ExpandBriefing("", "a", "b", "c"), "");
}

TEST_F(NextBattleSetupTest, DrawsTheBattleFromTheTablesSavesItAndWritesItsFiles)
{
    int asked = 0;
    NextBattleSetup setup = MakeSetup();
    ASSERT_TRUE(setup.Run([&asked](ReplacementSession&) { ++asked; })) << setup.m_failure;
    EXPECT_EQ(setup.m_previousDate, 430115);
    EXPECT_EQ(setup.m_date, 430116);
    EXPECT_EQ(setup.m_region, 0);
    EXPECT_EQ(setup.m_attacker, 0);
    EXPECT_EQ(setup.m_side, 0);
    EXPECT_EQ(setup.m_missionType, 6); // attacking with an infantry formation: the crossing stays
    EXPECT_EQ(setup.m_replacementPoints, 7 * 60 / 100);
    EXPECT_EQ(asked, 0); // no battle fought yet: no replacements
    EXPECT_EQ(setup.m_placeName, "Bir%#Zallaq");
    EXPECT_EQ(setup.m_mapDescriptionLine, 2);
    EXPECT_EQ(setup.m_briefing, "Attack 6 American Battalion at Bir%#Zallaq");
    EXPECT_GE(test.context.g_mapMarkerX, 100);
    EXPECT_EQ(test.context.g_mapMarkerY, 200);
    EXPECT_EQ(generator.map.m_placeNameFile, 1);

    CampaignRecord saved;
    ASSERT_EQ(ReadCampaign(test.context, saved, "Hal.ccd"), "");
    EXPECT_EQ(saved.m_currentDate, 430116);
    EXPECT_EQ(saved.m_pendingBattle, "Bir%#Zallaq");
    EXPECT_EQ(saved.m_dayOffset, 0);
    for (const char* name : { "Hal.cpn", "Hal.MAP", "Hal.ORG", "campaign.log" })
        EXPECT_TRUE(std::filesystem::exists(test.folder.Path(name))) << name;
    EXPECT_TRUE(test.context.g_campaign.HasPendingBattle(test.folder.Path()));
}

TEST_F(NextBattleSetupTest, ReplacementPointsScaleByCommandLevelAndComeAfterTheFirstBattle)
{
    CampaignRecord& campaign = test.context.g_campaign;
    campaign.m_history = std::make_unique<BattleHistoryEntry>();
    campaign.m_history->m_battleName = "Earlier";
    // A platoon below its full strength to take the points.
    UnitRecord* company = FindUnitById(campaign.m_force.get(), "C1002001");
    ASSERT_TRUE(company && company->m_firstChild);
    UnitRecord* platoon = company->m_firstChild->m_nextSibling.get();
    ASSERT_TRUE(platoon && platoon->m_fullStrength > 2);
    platoon->m_strength = platoon->m_fullStrength - 2;
    // The force chosen as the status screen chooses it.
    ClearBattleSelection(campaign.m_force.get());
    SelectForceUnder(campaign.m_force.get(), campaign.m_formationId);
    campaign.m_commandLevel = 4;
    NextBattleSetup setup = MakeSetup();
    std::int32_t offered = 0;
    ASSERT_TRUE(setup.Run([&offered](ReplacementSession& session) {
        offered = session.Points();
        session.Select(0);
        session.AddReplacement();
    })) << setup.m_failure;
    EXPECT_EQ(setup.m_replacementPoints, 70);
    EXPECT_EQ(offered, 70);
    EXPECT_EQ(platoon->m_strength, platoon->m_fullStrength - 1);
    // Saved again after the replacements.
    CampaignRecord saved;
    ASSERT_EQ(ReadCampaign(test.context, saved, "Hal.ccd"), "");
    const UnitRecord* savedPlatoon = FindUnitByNumber(saved.m_force.get(), platoon->m_number);
    ASSERT_TRUE(savedPlatoon);
    EXPECT_EQ(savedPlatoon->m_strength, platoon->m_strength);
}

TEST_F(NextBattleSetupTest, TheDateIsHeldAtTheEndAndTheRegionFollowsIt)
{
    CampaignRecord& campaign = test.context.g_campaign;
    // A 0 % line takes the date past its own day; the end comes first.
    test.folder.Write("location.dat",
        "430120 0 1\n" + Places("430817 100 1", "Far").substr(13) + "-1\n" + Places("430817 100 1", "Gela") + "-1\n");
    campaign.m_endDate = 430118;
    NextBattleSetup held = MakeSetup();
    ASSERT_TRUE(held.Run(nullptr)) << held.m_failure;
    EXPECT_EQ(held.m_date, 430118);
    EXPECT_EQ(held.m_region, 0);

    // Past the region's last date the second region's tables answer: its
    // side 1 attacks, so the crossing becomes a bridgehead.
    campaign.m_currentDate = 430210;
    campaign.m_endDate = 430817;
    NextBattleSetup later = MakeSetup();
    ASSERT_TRUE(later.Run(nullptr)) << later.m_failure;
    EXPECT_EQ(later.m_region, 1);
    EXPECT_EQ(test.context.g_campaign.m_region, 1);
    EXPECT_EQ(later.m_attacker, 1);
    EXPECT_EQ(later.m_missionType, 7);
    EXPECT_EQ(later.m_placeName, "Gela");
    EXPECT_EQ(later.m_briefing, "Defend 7 American Battalion at Gela");
    // The line dated on or after the previous battle is passed, and nothing
    // follows it.
    EXPECT_EQ(later.m_replacementPoints, 0);
}

TEST_F(NextBattleSetupTest, AnArmouredFormationHoldsABridgeheadEvenWhenAttacking)
{
    test.context.g_campaign.m_formationId = "B1010001";
    NextBattleSetup setup = MakeSetup();
    ASSERT_TRUE(setup.Run(nullptr)) << setup.m_failure;
    EXPECT_EQ(setup.m_attacker, 0);
    EXPECT_EQ(setup.m_missionType, 7);
}

TEST_F(NextBattleSetupTest, AWriterThatFailsIsReportedAndLeavesNoBattle)
{
    // The organisation file's name is taken by a folder: the map and the
    // battle are written, the organisation is not.
    std::filesystem::create_directory(test.folder.Path("Hal.ORG"));
    test.folder.Write("Hal.ORG/keep", "x");
    test.context.g_campaign.m_selectedForceCost = 1;
    const NextBattlePreparation prepared = PrepareNextCampaignBattle(generator, nullptr);
    EXPECT_FALSE(prepared.prepared);
    EXPECT_EQ(prepared.briefing, "");
    ASSERT_EQ(test.messages.size(), 1u);
    EXPECT_EQ(test.messages[0].caption, "Campaign Error");
    EXPECT_FALSE(std::filesystem::exists(test.folder.Path("Hal.cpn")));
    EXPECT_FALSE(std::filesystem::exists(test.folder.Path("Hal.MAP")));
    EXPECT_FALSE(test.context.g_campaign.HasPendingBattle(test.folder.Path()));
    // The campaign was saved with the new date; its backup is the undo.
    CampaignRecord saved;
    ASSERT_EQ(ReadCampaign(test.context, saved, "Hal.ccd"), "");
    EXPECT_EQ(saved.m_currentDate, 430116);
}
