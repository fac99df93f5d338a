// The region tables of the next battle, the commander descriptions with
// their segments, leader names and the campaign map picture's name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CampaignTestSupport.h"
#include "launcher/campaign/CampaignTables.h"

namespace {

class CampaignTablesTest : public ::testing::Test {
protected:
    void Script(std::initializer_list<std::pair<int, int>> rolls)
    {
        std::vector<int> values;
        for (const auto& [k, n] : rolls)
            values.push_back(ValueForRoll(k, n));
        test.random.ScriptValues(values);
    }

    CampaignTestFolder test;
};

} // namespace

TEST_F(CampaignTablesTest, ARegionIsItsPrefixedFileOrItsSectionOfThePlainFile)
{
    test.folder.Write("attacker.dat",
        "Region 0\n430101 50 0\n\nRegion 1\n430101 60 0\n-1 end of 1\nRegion 2\n"
        "430101 70 0\n   \nRegion 3\n");
    test.folder.Write("Tunisia-attacker.dat", "Tunisia\n430101 80 0\n-1\nnever read\n");
    struct Case {
        const char* prefix;
        int region;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        { "", 0, { "Region 0", "430101 50 0" } },
        { "", 1, { "Region 1", "430101 60 0" } },
        { "", 2, { "Region 2", "430101 70 0" } },
        { "", 3, { "Region 3" } },
        { "", 4, {} },
        { "", -1, { "Region 0", "430101 50 0" } },
        { "Tunisia", 3, { "Tunisia", "430101 80 0" } },
    };
    for (const Case& c : cases) {
        const auto lines = ReadRegionTable(test.context, c.prefix, "attacker.dat", c.region);
        ASSERT_TRUE(lines.has_value()) << c.prefix << c.region;
        EXPECT_EQ(*lines, c.lines) << c.prefix << c.region;
    }
    EXPECT_FALSE(ReadRegionTable(test.context, "Sicily", "attacker.dat", 0).has_value());
    EXPECT_FALSE(ReadRegionTable(test.context, "", "encounters.dat", 0).has_value());
}

TEST_F(CampaignTablesTest, TheAttackerIsRolledOnTheFirstLineOfTheDate)
{
    test.folder.Write("attacker.dat", "Who attacks\n430201 30 0\n430301 0 0\n430401 100\n\nSecond\n430201 90 0\n");
    struct Case {
        std::int32_t date;
        int region;
        int roll; // 0: none drawn
        int result;
        int attacker;
    };
    const Case cases[] = {
        { 430101, 0, 30, 1, 0 },
        { 430201, 0, 31, 1, 1 },
        { 430215, 0, 1, 1, 1 }, // 0 %: side 1 always
        { 430315, 0, 100, 1, 0 }, // the third value may be missing
        { 430501, 0, 0, 0, 1 },
        { 430201, 1, 90, 1, 0 },
    };
    for (const Case& c : cases) {
        if (c.roll)
            Script({ { c.roll, 100 } });
        int attacker = -5;
        EXPECT_EQ(ReadAttacker(test.context, "", attacker, c.region, c.date), c.result) << c.date;
        EXPECT_EQ(attacker, c.attacker) << c.date;
    }
    int attacker = 0;
    EXPECT_EQ(ReadAttacker(test.context, "Nowhere", attacker, 0, 430101), -1);
    EXPECT_EQ(attacker, 1);
}

TEST_F(CampaignTablesTest, TheEncounterWalksThePercentagesAndStaysAtOneBeyondThem)
{
    test.folder.Write("encounters.dat",
        "Missions\n"
        "430301 10 20 0 0 0 0 0 0 0 0 30\n"
        "430601 0 0 0 0 0 0 0 0 0 0 0\n");
    struct Case {
        std::int32_t date;
        int roll;
        int type;
    };
    const Case cases[] = {
        { 430201, 1, 1 }, { 430201, 10, 1 }, { 430201, 11, 2 }, { 430201, 30, 2 }, { 430201, 31, 11 },
        { 430201, 60, 11 }, { 430201, 61, 1 }, // the row sums to 60
        { 430401, 50, 1 }, // a 0 % row
    };
    for (const Case& c : cases) {
        Script({ { c.roll, 100 } });
        int type = 0;
        EXPECT_EQ(ReadEncounterType(test.context, "", type, 0, c.date), 1) << c.roll;
        EXPECT_EQ(type, c.type) << c.date << " roll " << c.roll;
    }
    int type = 5;
    EXPECT_EQ(ReadEncounterType(test.context, "", type, 0, 430701), 0);
    EXPECT_EQ(type, 1);
}

TEST_F(CampaignTablesTest, ReplacementsSumTheLinesAfterThePreviousBattle)
{
    test.folder.Write("replacements0.dat", "430201 10\n430215 20\n430301 40\n430315 80\n\n430201 1000\n");
    test.folder.Write("Sicily-replacements1.dat", "430701 5\n430710 6\n");
    struct Case {
        std::int32_t previous;
        std::int32_t current;
        std::int32_t points;
    };
    const Case cases[] = {
        { 430201, 430210, 20 }, // on the previous date: from the line after it
        { 430202, 430220, 40 }, // 430215 starts; it is on or before 430220, then 430301 is not
        { 430202, 430301, 120 }, { 430101, 430101, 0 }, // the first line is dated after the current date
        { 430101, 430201, 20 }, { 430316, 430401, 0 }, // no line on or after the previous date
        { 430301, 431231, 80 }, // the section ends the sum
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadReplacementPoints(test.context, "", 0, 0, c.previous, c.current), c.points)
            << c.previous << "-" << c.current;
    EXPECT_EQ(ReadReplacementPoints(test.context, "Sicily", 1, 0, 430701, 430701), 6);
    EXPECT_EQ(ReadReplacementPoints(test.context, "", 1, 0, 430701, 430701), 0) << "no file";
}

TEST_F(CampaignTablesTest, BriefingsArePickedForEitherRoleOfTheMission)
{
    test.folder.Write("excuse10.dat",
        "2 1\nAttack one\nAttack two\n-1\nDefend one\n-1\n"
        "1 2\nSecond attack\n-1\nSecond defence A\nSecond defence B\n-1\n");
    struct Case {
        int mission;
        bool attacks;
        int roll;
        int of;
        const char* text;
    };
    const Case cases[] = {
        { 1, true, 1, 2, "Attack one" },
        { 1, true, 2, 2, "Attack two" },
        { 1, false, 1, 1, "Defend one" },
        { 2, true, 1, 1, "Second attack" },
        { 2, false, 2, 2, "Second defence B" },
    };
    for (const Case& c : cases) {
        Script({ { c.roll, c.of } });
        std::string text = "old";
        EXPECT_TRUE(ReadBriefing(test.context, text, 10, c.mission, c.attacks)) << c.text;
        EXPECT_EQ(text, c.text);
    }
    std::string text = "old";
    EXPECT_FALSE(ReadBriefing(test.context, text, 10, 3, true)) << "no third mission";
    EXPECT_EQ(text, "");
    EXPECT_FALSE(ReadBriefing(test.context, text, 1, 1, true)) << "no file";
    test.folder.Write("excuse1.dat", "3 1\nOnly one\n-1\n");
    Script({ { 3, 3 } });
    EXPECT_FALSE(ReadBriefing(test.context, text, 1, 1, true)) << "a count beyond the section's lines";
}

namespace {

std::string ForcesBlock(const char* header, int base)
{
    std::string block = std::string(header) + "\n";
    for (int mission = 1; mission <= 11; ++mission) {
        block += "0";
        for (int role = 0; role < 10; ++role) {
            block += ' ';
            block += std::to_string(base + mission * 10 + role);
        }
        block += "\n";
    }
    return block;
}

} // namespace

TEST_F(CampaignTablesTest, ForcesAreTheRowOfTheFirstMatchingBlock)
{
    test.folder.Write("forces0.dat",
        ForcesBlock("-1 A", 9000) + ForcesBlock("430301 D", 2000) + ForcesBlock("430301 A", 1000)
            + ForcesBlock("430601 A", 3000));
    struct Case {
        int mission;
        char letter;
        std::int32_t date;
        std::int32_t first; // the first need; 10 for none
    };
    const Case cases[] = {
        { 1, 'A', 430101, 1010 },
        { 11, 'A', 430301, 1110 },
        { 2, 'D', 430201, 2020 },
        { 3, 'A', 430401, 3030 },
        { 3, 'A', 430701, 10 },
        { 3, 'D', 430401, 10 },
        { 12, 'A', 430101, 10 },
    };
    for (const Case& c : cases) {
        std::array<std::array<std::int32_t, 10>, 2> needs {};
        needs[1].fill(-7);
        ReadForcesTable(test.context, "", c.mission, c.letter, c.date, 0, needs);
        EXPECT_EQ(needs[0][0], c.first) << c.mission << c.letter << c.date;
        EXPECT_EQ(needs[0][9], c.first == 10 ? 10 : c.first + 9);
        EXPECT_EQ(needs[1][0], -7) << "the other side's row stays";
    }
    std::array<std::array<std::int32_t, 10>, 2> needs {};
    ReadForcesTable(test.context, "", 1, 'A', 430101, 1, needs);
    EXPECT_EQ(needs[1], (std::array<std::int32_t, 10> { 10, 10, 10, 10, 10, 10, 10, 10, 10, 10 })) << "no file";
}

TEST_F(CampaignTablesTest, EveryMonthCountsTwentyEightDaysWhenTheDateAdvances)
{
    struct Case {
        std::int32_t date;
        std::int32_t next;
    };
    const Case cases[]
        = { { 730228, 730301 }, { 730528, 730601 }, { 731228, 740101 }, { 730215, 730216 }, { 730230, 730301 } };
    for (const Case& c : cases)
        EXPECT_EQ(NextBattleDay(c.date), c.next) << c.date;
}

TEST_F(CampaignTablesTest, TheBattleDateIsRolledDayByDayOnTheDateLines)
{
    test.folder.Write("location.dat", "430210 0 3\nPlaceA 0 1 2 3\n430310 50 4\nPlaceB 0 1 2 3\n");
    std::int32_t placeFile = 0;

    // The 0 % line takes the date past its key; the next line's first day
    // that rolls within 50 % is the battle's.
    std::int32_t date = 430205;
    std::vector<int> values;
    for (int day = 430206; day <= 430210; ++day)
        values.push_back(ValueForRoll(1, 100)); // 0 %: never
    values.push_back(ValueForRoll(90, 100));
    values.push_back(ValueForRoll(50, 100));
    test.random.ScriptValues(values);
    AdvanceBattleDate(test.context, "", date, placeFile, 0);
    EXPECT_EQ(date, 430212);
    EXPECT_EQ(placeFile, 4);

    // A line of a non-zero percentage stops trying after 30 added days.
    test.folder.Write("location.dat", "430610 1 7\nPlaceA 0 1 2 3\n");
    test.random.ScriptValues(std::vector<int>(40, ValueForRoll(100, 100)));
    date = 430101;
    AdvanceBattleDate(test.context, "", date, placeFile, 0);
    EXPECT_EQ(date, NextBattleDay(430101) + 100 + 2) << "30 days of 28-day months after the first";
    EXPECT_EQ(placeFile, 7);
}

TEST_F(CampaignTablesTest, ThePlaceIsTheRolledPlaceLineAfterTheDateLine)
{
    test.folder.Write("location.dat",
        "430101 10 1\nFirst 0 11 100 200\nSecond 0 12 110 210\n"
        "430301 10 2\nThird 0 13 120 220\n");
    struct Case {
        std::int32_t date;
        int roll;
        int result;
        const char* place;
        std::int32_t line;
    };
    const Case cases[] = {
        { 421201, 1, 1, "First", 11 },
        { 421201, 2, 1, "Second", 12 },
        { 421201, 3, -1, "", 0 }, // a date line is no place
        { 430201, 1, 1, "Third", 13 },
        { 430201, 2, -1, "", 0 },
        { 430401, 0, -1, "", 0 },
    };
    for (const Case& c : cases) {
        if (c.roll)
            Script({ { c.roll, 10 } });
        BattleLocation location;
        location.place = "old";
        EXPECT_EQ(ReadBattleLocation(test.context, "", 0, c.date, location), c.result) << c.date << c.roll;
        EXPECT_EQ(location.place, c.place);
        EXPECT_EQ(location.mapLine, c.line);
    }
    Script({ { 1, 10 } });
    BattleLocation location;
    ASSERT_EQ(ReadBattleLocation(test.context, "", 0, 421201, location), 1);
    EXPECT_EQ(location.markerX, 100);
    EXPECT_EQ(location.markerY, 200);
}

TEST_F(CampaignTablesTest, DescriptionsGiveSegmentsWithTheirRegionsByDate)
{
    test.folder.Write("chardesc.txt",
        "1\nDesert Fox\n1\n10\n430201 430531\n2\nThe desert.\nSecond line.\n-1\n"
        "Short\n10\n1\n430101 430201\n0\n-1\n-2\nignored\n-1\n");
    test.folder.Write("chardesc1.txt",
        "0\nTwo Regions\n1\n10\n430201 430931\n0 430531\n1 430931\n999\n"
        "Tunisia then Sicily.\n-1\n");
    EXPECT_EQ(CountCampaignDescriptions(test.context, 0), 2);
    EXPECT_EQ(CountCampaignDescriptions(test.context, 1), 1);
    EXPECT_EQ(CountCampaignDescriptions(test.context, 2), 0);

    std::vector<std::string> titles;
    std::vector<CampaignSegment> segments;
    ReadAllCampaignDescriptions(test.context, titles, segments);
    ASSERT_EQ(segments.size(), 3u);
    EXPECT_EQ(titles, (std::vector<std::string> { "Desert Fox", "Short", "Two Regions" }));
    EXPECT_EQ(segments[0].m_file, "");
    EXPECT_EQ(segments[2].m_file, "Two Regions") << "the second file's segments carry their title";
    EXPECT_EQ(segments[0].m_description, "The desert.\nSecond line.\n");
    EXPECT_EQ(segments[0].m_enemyNation, 1);
    EXPECT_EQ(segments[0].m_nation, 10);
    EXPECT_EQ(segments[0].m_startDate, 430201);
    EXPECT_EQ(segments[0].GetRegionForDate(460101), 2) << "mode 1: every date";
    EXPECT_EQ(segments[0].GetRegionNameForDate(460101), "Central Desert");
    EXPECT_EQ(segments[2].GetRegionForDate(430301), 0);
    EXPECT_EQ(segments[2].GetRegionForDate(430601), 1);
    EXPECT_EQ(segments[2].GetRegionNameForDate(430601), "Mediterranean");
    EXPECT_EQ(segments[2].GetRegionForDate(431001), 0) << "past every entry: the first";

    CampaignRecord& campaign = test.context.g_campaign;
    campaign.m_region = 4;
    campaign.m_charSection = 2;
    EXPECT_EQ(FindRegionForDate(test.context, 430601), 1);
    EXPECT_EQ(campaign.m_region, 1);
    campaign.m_charSection = -1;
    campaign.m_region = 3;
    EXPECT_EQ(FindRegionForDate(test.context, 430601), 3) << "a linked campaign keeps its region";
    campaign.m_charSection = 3;
    EXPECT_EQ(FindRegionForDate(test.context, 430601), 3);

    CampaignSegment full;
    for (int i = 0; i < 120; ++i)
        full.AddRegionEntry(i % 5, 430000 + i);
    EXPECT_EQ(full.m_regions.size(), 100u);
}

TEST_F(CampaignTablesTest, LinkedChainsBecomeSegmentsAndFilesAreCounted)
{
    test.folder.Write("torch.lcg",
        "100 0 1\nOperation Torch\n10 1 3 421108\nThe landings.\n\n"
        "4 torch1.cpn/1 2 3 4 5 6 7 8 Oran\n");
    test.folder.Write("broken.LCG", "x\n");
    test.folder.Write("other.ccd", "");
    std::vector<std::string> titles;
    std::vector<CampaignSegment> segments;
    ReadLinkedCampaignSegments(test.context, titles, segments);
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_EQ(titles, std::vector<std::string> { "Operation Torch" });
    const CampaignSegment& torch = segments[0];
    EXPECT_EQ(torch.m_file, "torch.lcg");
    EXPECT_EQ(torch.m_isLinked, 1);
    EXPECT_EQ(torch.m_flag, 1);
    EXPECT_EQ(torch.m_firstBattleId, 4);
    EXPECT_EQ(torch.m_nation, 10);
    EXPECT_EQ(torch.m_enemyNation, 1);
    EXPECT_EQ(torch.m_startDate, 421108);
    EXPECT_EQ(torch.m_endDate, 0);
    EXPECT_EQ(torch.GetRegionForDate(999999), 3);
    EXPECT_EQ(torch.m_description, "The landings.");
    EXPECT_EQ(CountMatchingFiles(test.context, "*.lcg"), 2);
    EXPECT_EQ(CountMatchingFiles(test.context, "*.cc?"), 1);
}

TEST_F(CampaignTablesTest, LeaderNamesArePickedUniformlyOrAnonymous)
{
    std::string name = "kept";
    PickLeaderName(test.context, 10, name);
    EXPECT_EQ(name, "Anonymous");

    test.folder.Write("leader10.oob", "");
    name = "kept";
    PickLeaderName(test.context, 10, name);
    EXPECT_EQ(name, "kept");

    // Line k is taken when 1/k >= u: u = 0.9 keeps the first line against
    // the second (1/2), u = 0.3 takes the third (1/3).
    test.folder.Write("leader10.oob", "Capt. Able\nCapt. Baker\r\nCapt. Charlie\n");
    test.random.ScriptValues({ 16383, 29490, 9830 });
    PickLeaderName(test.context, 10, name);
    EXPECT_EQ(name, "Capt. Charlie");
}

TEST_F(CampaignTablesTest, TheMapPictureIsNamedByTheDescriptionOrTheChain)
{
    test.folder.Write("chardesc.txt", "1\nDesert Fox\n1\n10\n430201 430531\n2\nText.\n-1\n");
    CampaignRecord& campaign = test.context.g_campaign;
    campaign.m_charSection = 0;
    EXPECT_EQ(CampaignMapImageName(test.context), "Desert Fox-map.bmp");
    campaign.m_charSection = 1;
    EXPECT_EQ(CampaignMapImageName(test.context), std::nullopt);
    campaign.m_linked = 1;
    campaign.m_regionPrefix = "torch.lcg";
    EXPECT_EQ(CampaignMapImageName(test.context), "torchLCG.bmp");

    SetMapMarker(test.context, 12, 34);
    EXPECT_EQ(test.context.g_mapMarkerX, 12);
    EXPECT_EQ(test.context.g_mapMarkerY, 34);
}
