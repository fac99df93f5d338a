// The main program's argument lists for a campaign battle, and the undo of
// the battle that was set up.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "launcher/campaign/CampaignFile.h"
#include "launcher/campaign/CampaignTestSupport.h"
#include "launcher/campaign/setup/CampaignLaunch.h"

namespace {

void SetCampaign(CampaignRecord& campaign, int nation, bool linked)
{
    campaign.m_name = "Hal Brenner";
    campaign.m_nation = nation;
    campaign.m_linked = linked ? 1 : 0;
    campaign.m_commanderUnit = linked ? -1 : 1347;
    campaign.m_generatorValue = 2;
}

using Args = std::vector<std::string>;

} // namespace

TEST(CampaignLaunchTest, StartCarriesSideCommanderAndLevelThenTheBattle)
{
    struct Case {
        int nation;
        bool linked;
        Args arguments;
    } const cases[] = {
        { 10, false, { "-k", "0", "1347", "2", "Hal Brenner.cpn" } },
        { 22, false, { "-k", "0", "1347", "2", "Hal Brenner.cpn" } },
        { 21, false, { "-k", "1", "1347", "2", "Hal Brenner.cpn" } },
        { 1, true, { "-k", "1", "-1", "2", "Hal Brenner.cpn" } },
    };
    for (const Case& c : cases) {
        CampaignTestFolder test;
        SetCampaign(test.context.g_campaign, c.nation, c.linked);
        // A roll of 11: no "-n".
        test.random.ScriptValues({ ValueForRoll(11, 100) });
        const ProgramArguments command = StartCampaignBattle(test.context);
        EXPECT_EQ(command.program, "vl");
        EXPECT_EQ(command.arguments, c.arguments) << c.nation;
    }
}

TEST(CampaignLaunchTest, OneSingleStartInTenHidesInformationNeverALinkedOne)
{
    for (const bool linked : { false, true }) {
        CampaignTestFolder test;
        SetCampaign(test.context.g_campaign, 10, linked);
        int hidden = 0;
        for (std::uint32_t seed = 1; seed <= 1000; ++seed) {
            test.random.SeedWith(seed * 7919u);
            const ProgramArguments command = StartCampaignBattle(test.context);
            ASSERT_GE(command.arguments.size(), 5u);
            if (command.arguments[4] == "-n") {
                ++hidden;
                EXPECT_EQ(command.arguments.size(), 6u);
            }
        }
        if (linked)
            EXPECT_EQ(hidden, 0);
        else
            EXPECT_NEAR(hidden, 100, 30);
    }
    // The roll's edge: 10 hides, 11 does not.
    CampaignTestFolder test;
    SetCampaign(test.context.g_campaign, 10, false);
    test.random.ScriptValues({ ValueForRoll(10, 100) });
    EXPECT_EQ(StartCampaignBattle(test.context).arguments[4], "-n");
}

TEST(CampaignLaunchTest, ContinueOpensOnlyABattleTheMainProgramSaved)
{
    struct Case {
        const char* file; // nullptr: none
        Args arguments;
    } const cases[] = {
        { "9\nsaved\n", { "-k", "0", "1347", "2", "-o", "Hal Brenner.cpn" } },
        { "10\nsaved\n", { "-k", "0", "1347", "2", "-o", "Hal Brenner.cpn" } },
        // A scenario the main program never saved starts as new.
        { "1\nscenario\n", { "-k", "0", "1347", "2", "Hal Brenner.cpn" } },
        { "", { "-k", "0", "1347", "2", "Hal Brenner.cpn" } },
    };
    for (const Case& c : cases) {
        CampaignTestFolder test;
        SetCampaign(test.context.g_campaign, 10, false);
        test.folder.Write("HAL BRENNER.CPN", c.file);
        test.random.ScriptValues({ ValueForRoll(50, 100) });
        EXPECT_EQ(ContinueCampaignBattle(test.context).arguments, c.arguments) << c.file;
    }
}

TEST(CampaignLaunchTest, UndoDropsTheBattleSetUpAndReadsTheBackup)
{
    CampaignTestFolder test;
    CampaignRecord& campaign = test.context.g_campaign;
    SetCampaign(campaign, 10, false);
    campaign.m_formationId = "B1012001";
    campaign.m_currentDate = 430115;
    campaign.m_endDate = 430817;
    campaign.m_force = MakeUnit("B1012001", 5);
    ASSERT_EQ(SaveCampaign(test.context, campaign), "");
    campaign.m_currentDate = 430120;
    campaign.m_pendingBattle = "Kasserine";
    ASSERT_EQ(SaveCampaign(test.context, campaign), "");
    for (const char* name : { "Hal Brenner.CPN", "Hal Brenner.ORG", "hal brenner.map" })
        test.folder.Write(name, "x");
    EXPECT_EQ(UndoCampaignBattle(test.context), "");
    EXPECT_EQ(campaign.m_currentDate, 430115);
    EXPECT_EQ(campaign.m_pendingBattle, "");
    for (const char* name : { "Hal Brenner.CPN", "Hal Brenner.ORG", "hal brenner.map" })
        EXPECT_FALSE(std::filesystem::exists(test.folder.Path(name))) << name;
    EXPECT_TRUE(test.messages.empty());
}
