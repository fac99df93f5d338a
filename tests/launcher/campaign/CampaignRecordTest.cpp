#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CampaignTestSupport.h"
#include "launcher/campaign/CampaignDates.h"
#include "launcher/campaign/NationTables.h"
#include "model/Geometry.h"

TEST(CampaignRecordTest, RankNamesIgnoreTheNation)
{
    struct Case {
        int rank;
        const char* name;
    };
    const Case cases[] = { { -5, "N/A" }, { -1, "N/A" }, { 0, "Lt. General" }, { 1, "Lieutenant" },
        { 7, "Major General" }, { 8, "Lt. General" }, { 9, "Lt. General" }, { 1000, "Lt. General" } };
    for (const Case& c : cases) {
        EXPECT_STREQ(GetRankName(10, c.rank), c.name) << c.rank;
        EXPECT_STREQ(GetRankName(1, c.rank), c.name) << c.rank;
    }
}

TEST(CampaignRecordTest, ShortDatesShowKeysAsThePlayerReadsThem)
{
    struct Case {
        std::int32_t key;
        const char* text;
    };
    const Case cases[] = {
        { 0, "N/A" },
        { 430214, "Feb 14 1943" },
        { 431225, "Dec 25 1943" },
        { 431314, "14 1943" }, // month 13: no month word
        { 430014, "14 1943" },
        { 430200, "Feb 1 1943" }, // order-of-battle keys carry day 0
        { 430240, "Feb 31 1943" },
        { 1000101, "Jan 1 2000" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatShortDate(c.key), c.text) << c.key;
}

TEST(CampaignRecordTest, MonthsAddAcrossYearsAndKeepTheDay)
{
    EXPECT_EQ(AddMonthsToDateKey(431115, 3), 440215);
    EXPECT_EQ(AddMonthsToDateKey(430115, -1), 421215);
    EXPECT_EQ(AddMonthsToDateKey(430100, 12), 440100);
    EXPECT_EQ(AddMonthsToDateKey(430531, 0), 430531);
    EXPECT_EQ(MakeDateKey(1943, 2, 14), 430214);
}

TEST(CampaignRecordTest, AWindowCoversItsLastMonthWhole)
{
    struct Case {
        std::int32_t date;
        bool inside;
    };
    // The window April 1943 to May 1943, as the order-of-battle files give it.
    const Case cases[] = { { 430399, false }, { 430400, true }, { 430401, true }, { 430500, true }, { 430531, true },
        { 430532, false }, { 430601, false } };
    for (const Case& c : cases)
        EXPECT_EQ(IsDateInWindow(c.date, 430400, 430500), c.inside) << c.date;
    EXPECT_TRUE(IsDateInWindow(INT32_MAX, 0, INT32_MAX)) << "the +31 never wraps";
}

TEST(CampaignRecordTest, IdAccessorsReadTheirPositionsAndRefuseShortIds)
{
    struct Case {
        const char* id;
        int nation, level, type, index;
        bool withheld;
    };
    const Case cases[] = {
        { "K1052001", 10, 5, 2, 1, false },
        { "D0140002", 1, 4, 0, 2, false },
        { "K1052999", 10, 5, 2, 999, true },
        { "K10520", 10, 5, 2, -1, false },
        { "K1", -1, -1, -1, -1, false },
        { "", -1, -1, -1, -1, false },
        { "P01401", 1, 4, 0, -1, false }, // platoons: nation, category, number
        { "P10999", 10, 9, 9, -1, true },
        { "KX052001", -1, 5, 2, 1, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(GetUnitIdNation(c.id), c.nation);
        EXPECT_EQ(GetUnitIdLevel(c.id), c.level);
        EXPECT_EQ(GetUnitIdTypeDigit(c.id), c.type);
        EXPECT_EQ(GetUnitIdIndex(c.id), c.index);
        EXPECT_EQ(IsWithheldUnitId(c.id), c.withheld);
    }
}

TEST(CampaignRecordTest, OneNationTableForBothPrograms)
{
    EXPECT_EQ(GetNationName(10), "American");
    EXPECT_EQ(GetNationName(1), "German");
    EXPECT_EQ(GetNationName(29), "");
    EXPECT_EQ(GetNationName(-1), "");
    for (int nation = -2; nation <= 30; ++nation) {
        EXPECT_EQ(GetNationSide(nation), DefaultSideOfNation(nation)) << nation;
        if (nation >= 0 && nation <= 28) {
            EXPECT_EQ(GetNationName(nation), NationAdjective(nation)) << nation;
        }
    }
    EXPECT_EQ(GetNationSide(10), 0);
    EXPECT_EQ(GetNationSide(1), 1);
    EXPECT_EQ(GetRegionName(0), "Desert");
    EXPECT_EQ(GetRegionName(1), "Mediterranean");
    EXPECT_EQ(GetRegionName(4), "Northern Desert");
    EXPECT_EQ(GetRegionName(5), "");
    EXPECT_EQ(GetCommandLevelName(1), "Battalion");
    EXPECT_EQ(GetCommandLevelName(5), "Corps");
    EXPECT_EQ(GetCommandLevelName(0), "");
    EXPECT_EQ(GetCommandLevelName(6), "");
}

TEST(CampaignRecordTest, ARecordStartsEmpty)
{
    CampaignRecord campaign;
    EXPECT_EQ(campaign.m_charSection, -1);
    EXPECT_EQ(campaign.m_force, nullptr);
    EXPECT_TRUE(campaign.IsOver()) << "current date 0 has reached end date 0";
    campaign.m_endDate = 430817;
    campaign.m_currentDate = 430816;
    EXPECT_FALSE(campaign.IsOver());
    campaign.m_currentDate = 430817;
    EXPECT_TRUE(campaign.IsOver());
    campaign.m_linked = 1;
    EXPECT_FALSE(campaign.IsOver());
    campaign.m_linkedBattleId = -1;
    EXPECT_TRUE(campaign.IsOver());
    UnitRecord unit;
    EXPECT_EQ(unit.m_morale, 6);
    EXPECT_EQ(unit.m_number, 0);
}

TEST(CampaignRecordTest, PendingBattleAndBackupAreFilesOfTheName)
{
    TempDir folder;
    CampaignRecord campaign;
    campaign.m_name = "Patton";
    EXPECT_FALSE(campaign.HasPendingBattle(folder.Path()));
    EXPECT_FALSE(campaign.HasBackup(folder.Path()));
    folder.Write("PATTON.CPN", "x");
    folder.Write("patton.ccx", "x");
    EXPECT_TRUE(campaign.HasPendingBattle(folder.Path()));
    EXPECT_TRUE(campaign.HasBackup(folder.Path()));
}

TEST(CampaignRecordTest, ChildrenAppendInOrderAndFindSearchesDepthFirst)
{
    UnitRecord root;
    root.m_id = "B1021001";
    root.m_number = 1;
    UnitRecord* a = AttachChildUnit(MakeUnit("C1002001", 2), root);
    UnitRecord* b = AttachChildUnit(MakeUnit("C2", 3), root);
    UnitRecord* a1 = AttachChildUnit(MakeUnit("P10200", 4), *a);
    AttachChildUnit(MakeUnit("P10200", 5), *b);
    EXPECT_EQ(root.m_firstChild.get(), a);
    EXPECT_EQ(root.m_lastChild, b);
    EXPECT_EQ(a->m_nextSibling.get(), b);
    EXPECT_EQ(a1->m_parent, a);
    EXPECT_EQ(FindUnitByNumber(&root, 4), a1);
    EXPECT_EQ(FindUnitByNumber(&root, 9), nullptr);
    EXPECT_EQ(FindUnitByNumber(static_cast<UnitRecord*>(nullptr), 1), nullptr);
    // The first in depth-first order: a's platoon before b's.
    EXPECT_EQ(FindUnitById(&root, "P10200"), a1);
    EXPECT_EQ(FindUnitById(&root, "P1020"), nullptr);
    EXPECT_EQ(GetUnitTypeDigit(a1), 2);
}

TEST(CampaignRecordTest, DeepAndLongTreesAreSearchedAndFreedWithoutRecursion)
{
    auto root = MakeUnit("K1052001", 0);
    UnitRecord* deepest = root.get();
    for (int i = 1; i <= 100000; ++i)
        deepest = AttachChildUnit(MakeUnit("P10200", i), *deepest);
    for (int i = 0; i < 100000; ++i)
        AttachChildUnit(MakeUnit("P10100", 200000 + i), *root);
    EXPECT_EQ(FindUnitByNumber(root.get(), 100000), deepest);
    EXPECT_EQ(FindUnitByNumber(root.get(), 299999)->m_id, "P10100");
    EXPECT_EQ(GetUnitTypeDigit(deepest), 2) << "up through every platoon to the corps";
    root.reset(); // frees 200,000 nodes on a small stack
}

TEST(CampaignRecordTest, MoveUnitUnderTakesTheUnitToTheHeadOfTheFormation)
{
    UnitRecord division;
    division.m_id = "D1042001";
    UnitRecord* regiment = AttachChildUnit(MakeUnit("R1022001", 1), division);
    UnitRecord* first = AttachChildUnit(MakeUnit("B1", 2), *regiment);
    UnitRecord* commander = AttachChildUnit(MakeUnit("P10401", 3), *regiment);
    EXPECT_TRUE(MoveUnitUnder(division, 3));
    EXPECT_EQ(division.m_firstChild.get(), commander);
    EXPECT_EQ(commander->m_nextSibling.get(), regiment);
    EXPECT_EQ(commander->m_parent, &division);
    EXPECT_EQ(division.m_lastChild, regiment);
    EXPECT_EQ(regiment->m_lastChild, first) << "the old list's last link follows the removal";
    EXPECT_EQ(first->m_nextSibling, nullptr);
    EXPECT_FALSE(MoveUnitUnder(division, 99));
    EXPECT_FALSE(MoveUnitUnder(*first, 3)) << "only units below the formation";

    UnitRecord empty;
    EXPECT_FALSE(MoveUnitUnder(empty, 0));
    EXPECT_EQ(empty.m_firstChild, nullptr);
}

TEST(CampaignRecordTest, SuccessorsAreCounted)
{
    auto unit = MakeUnit("C1020001");
    EXPECT_EQ(CountSuccessors(*unit), 0);
    unit->m_nextSuccessor = MakeUnit("C1020002");
    unit->m_nextSuccessor->m_nextSuccessor = MakeUnit("C1020003");
    EXPECT_EQ(CountSuccessors(*unit), 2);
}

struct CommanderCase {
    const char* name;
    std::uint8_t arm;
    std::int32_t firstFlags; // -1: no subunit
    const char* id;
};

class CommanderUnitTest : public ::testing::TestWithParam<CommanderCase> { };

TEST_P(CommanderUnitTest, TakesTheNumberAfterARoundingTo24AndHeadsTheFormation)
{
    const CommanderCase& c = GetParam();
    CampaignTestFolder test;
    CampaignRecord& campaign = test.context.g_campaign;
    campaign.m_name = "Harmon";
    campaign.m_formationId = "R1022001";
    campaign.m_portrait = 5;
    campaign.m_arm = c.arm;
    campaign.m_force = MakeUnit("D1042001", 1);
    UnitRecord* formation = AttachChildUnit(MakeUnit("R1022001", 2), *campaign.m_force);
    if (c.firstFlags >= 0) {
        UnitRecord* first = AttachChildUnit(MakeUnit("B1021001", 3), *formation);
        first->m_oobValues[0] = c.firstFlags;
    }
    test.context.g_unitCounter = 25;
    ASSERT_TRUE(AddCommanderUnit(test.context));
    const UnitRecord* unit = formation->m_firstChild.get();
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->m_id, c.id);
    EXPECT_EQ(unit->m_number, 48 + 5);
    EXPECT_EQ(campaign.m_commanderUnit, 53);
    EXPECT_EQ(test.context.g_unitCounter, 54);
    EXPECT_EQ(unit->m_name, "Harmon");
    EXPECT_EQ(unit->m_leader, "Harmon");
    EXPECT_EQ(unit->m_strength, 1);
    EXPECT_EQ(unit->m_fullStrength, 1);
    EXPECT_EQ(unit->m_size, 1);
    EXPECT_EQ(unit->m_morale, 7);
    EXPECT_EQ(unit->m_role, 1);
    EXPECT_EQ(unit->m_availableFrom, 0);
    EXPECT_EQ(unit->m_parent, formation);
    EXPECT_EQ(formation->m_lastChild == unit, c.firstFlags < 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, CommanderUnitTest,
    ::testing::Values(CommanderCase { "ArmedFootFirst", 1, 2, "P10401" },
        CommanderCase { "ArmedWheeledFirst", 1, 1, "P10406" }, CommanderCase { "ArmedFlag16First", 1, 16, "P10406" },
        CommanderCase { "NoArm", 0, 2, "P10406" }, CommanderCase { "ArmedNoSubunit", 1, -1, "P10401" },
        CommanderCase { "NoArmNoSubunit", 0, -1, "P10406" }),
    [](const ::testing::TestParamInfo<CommanderCase>& info) { return std::string(info.param.name); });

TEST(CampaignRecordTest, CommanderUnitNeedsItsFormation)
{
    CampaignTestFolder test;
    test.context.g_campaign.m_formationId = "R1022001";
    EXPECT_FALSE(AddCommanderUnit(test.context));
    test.context.g_campaign.m_force = MakeUnit("D1042001");
    EXPECT_FALSE(AddCommanderUnit(test.context));
    EXPECT_EQ(test.context.g_unitCounter, 0);
    EXPECT_EQ(CommanderUnitNumber(48, 0), 48) << "a multiple of 24 stays";
    EXPECT_EQ(CommanderUnitNumber(0, 23), 23);
}

TEST(CampaignRecordTest, FileListsTakeThePatternsInTurnEachSortedByName)
{
    TempDir folder;
    for (const char* name : { "b.CCD", "A.ccd", "c.ccl", "Aa.CCL", "x.txt", "ccd" })
        folder.Write(name, "");
    std::filesystem::create_directory(folder.Path("dir.ccd"));
    const std::vector<std::string> expected { "A.ccd", "b.CCD", "Aa.CCL", "c.ccl" };
    EXPECT_EQ(ListFilesOfTwoPatterns(folder.Path(), "*.ccd", "*.ccl"), expected);
    EXPECT_TRUE(ListFilesOfTwoPatterns(folder.Path("missing"), "*", "*").empty());
    EXPECT_TRUE(FileExists(folder.Path(), "X.TXT"));
    EXPECT_FALSE(FileExists(folder.Path(), "y.txt"));
}
