#include <gtest/gtest.h>

#include <string>

#include "CampaignTestSupport.h"
#include "TempDir.h"
#include "launcher/campaign/CampaignParameters.h"

namespace {

// Sections 0 to 12 with the edge cases: section 0 of three rows, classes
// ending before their seventh line, a sentinel rank, a morale pair for
// level 1.
std::string ParameterFile()
{
    std::string text;
    text += "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15\n"
            "1 1 2 3 4 5 60 70 80 90 100 110 12 13 14 15\n"
            "2 1 2 3 4 5 61 71 81 91 101 111 12 13 14 15\n"
            "-1 end of section 0\n";
    text += "10 20\n20 50\n30 80\n-1\n";
    text += "43 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18\n"
            "44 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9\n-1\n";
    text += "1 0\n2 100\n3 300\n8 2000000000\n-1\n";
    text += "0 0 1 100\n2 200 3 400 4 800\n5 1600 6 3200\n-1\n";
    text += "5 not read\n-1\n";
    text += DecorationEntry("1.5", "Star") + DecorationEntry("3.0", "Cross") + "-1\n";
    text += "0 100\n1 200\n-1\n";
    text += "2 10 3 20 1 7 9 99 4 1000\n-1\n";
    text += "9 not read\n-1\n";
    text += "1 30 20 150 60 3\n-1\n";
    text += "11 not read\n-1\n";
    text += "1 10 2 3 4 0\n2 12 2 3 4\n-1\n";
    return text;
}

class CampaignParametersTest : public ::testing::Test {
protected:
    void SetUp() override { folder.Write("campaign.pdt", ParameterFile()); }
    TempDir folder;
    TempDir empty;
};

TEST_F(CampaignParametersTest, MissionRowsAreFoundByPositionWithinSectionZero)
{
    const auto row = ReadMissionRow(folder.Path(), 1);
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ((*row)[6], 60);
    EXPECT_EQ((*row)[15], 15);
    EXPECT_EQ((*ReadMissionRow(folder.Path(), 2))[7], 71);
    EXPECT_FALSE(ReadMissionRow(folder.Path(), 3).has_value()) << "past the section: no line of section 1";
    EXPECT_FALSE(ReadMissionRow(folder.Path(), -1).has_value());
    EXPECT_FALSE(ReadMissionRow(empty.Path(), 1).has_value());
}

TEST_F(CampaignParametersTest, ObjectiveClassesTakeTheFirstThresholdReached)
{
    struct Case {
        int draw, value;
    };
    for (const Case c : { Case { -5, 10 }, Case { 20, 10 }, Case { 21, 20 }, Case { 80, 30 }, Case { 81, 0 } })
        EXPECT_EQ(ReadObjectiveValueClass(folder.Path(), c.draw), c.value) << c.draw;
    EXPECT_EQ(ReadObjectiveValueClass(empty.Path(), 1), 0);
    // Only seven lines are looked at.
    TempDir eight;
    eight.Write("campaign.pdt", "-1\n1 1\n2 2\n3 3\n4 4\n5 5\n6 6\n7 7\n8 8\n-1\n");
    EXPECT_EQ(ReadObjectiveValueClass(eight.Path(), 7), 7);
    EXPECT_EQ(ReadObjectiveValueClass(eight.Path(), 8), 0);
}

TEST_F(CampaignParametersTest, YearlyValuesCoverNationsZeroTo17)
{
    const auto values = ReadYearlyNationValues(folder.Path(), 43);
    EXPECT_EQ(values[0], 1);
    EXPECT_EQ(values[17], 18);
    EXPECT_EQ(values[18], 0);
    EXPECT_EQ(values[28], 0);
    EXPECT_EQ(ReadYearlyNationValues(folder.Path(), 45), (std::array<std::int32_t, 29> {}));
    EXPECT_EQ(ReadYearlyNationValues(empty.Path(), 43), (std::array<std::int32_t, 29> {}));
}

TEST_F(CampaignParametersTest, RanksFollowTheScore)
{
    struct Case {
        std::int32_t score, rank;
    };
    for (const Case c : { Case { -1, 0 }, Case { 0, 1 }, Case { 99, 1 }, Case { 100, 2 }, Case { 299, 2 },
             Case { 300, 3 }, Case { 1999999999, 3 }, Case { 2000000000, 0 } /* the sentinel reached */ })
        EXPECT_EQ(ReadRankForScore(folder.Path(), c.score), c.rank) << c.score;
    EXPECT_EQ(ReadRankForScore(empty.Path(), 500), 0);
}

TEST_F(CampaignParametersTest, CommandLevelsComeFromTheThresholdStream)
{
    const auto thresholds = ReadCommandLevelThresholds(folder.Path());
    EXPECT_EQ(thresholds, (std::array<std::int32_t, 7> { 0, 100, 200, 400, 800, 1600, 3200 }));
    struct Case {
        std::int32_t score;
        int level;
    };
    for (const Case c :
        { Case { 0, 0 }, Case { 99, 0 }, Case { 100, 1 }, Case { 1599, 4 }, Case { 3199, 5 }, Case { 3200, 6 } })
        EXPECT_EQ(CommandLevelForScore(thresholds, c.score), c.level) << c.score;
    EXPECT_EQ(ReadCommandLevelThresholds(empty.Path()), (std::array<std::int32_t, 7> {}));
}

TEST_F(CampaignParametersTest, DecorationsCountTheRatiosReached)
{
    struct Case {
        double ratio;
        int number;
        const char* name;
    };
    for (const Case c : { Case { 0.99, 0, "" }, Case { 1.0, 0, "" }, Case { 1.5, 1, "Star 10" },
             Case { 2.9, 1, "Star 10" }, Case { 3.0, 2, "Cross 10" }, Case { 50.0, 2, "Cross 10" } }) {
        const Decoration decoration = ReadDecoration(folder.Path(), c.ratio, 10);
        EXPECT_EQ(decoration.number, c.number) << c.ratio;
        EXPECT_EQ(decoration.name, c.name) << c.ratio;
    }
    EXPECT_EQ(ReadDecoration(folder.Path(), 3.0, 28).name, "Cross 28") << "nations 22 to 28 have names too";
    EXPECT_EQ(ReadDecoration(folder.Path(), 3.0, 29).name, "");
    EXPECT_EQ(ReadDecoration(empty.Path(), 3.0, 10).number, 0);
}

TEST_F(CampaignParametersTest, BudgetsMapsAndTurnsByCommandLevel)
{
    EXPECT_EQ(ReadPointBudget(folder.Path(), 0), 100);
    EXPECT_EQ(ReadPointBudget(folder.Path(), 1), 200) << "level 1 takes the second line";
    EXPECT_EQ(ReadPointBudget(folder.Path(), 2), 0) << "past the section: no line of section 8";
    EXPECT_EQ(ReadPointBudget(empty.Path(), 1), 0);

    const CampaignMapSize first = ReadMapSize(folder.Path(), 1);
    EXPECT_EQ(first.width, 30);
    EXPECT_EQ(first.height, 20);
    EXPECT_EQ(first.total, 150);
    EXPECT_EQ(first.bonus, 60);
    EXPECT_EQ(first.count, 3);
    for (int level : { 0, 2 }) {
        const CampaignMapSize defaults = ReadMapSize(folder.Path(), level);
        EXPECT_EQ(defaults.width, 20) << level;
        EXPECT_EQ(defaults.count, 2) << level;
    }

    struct Case {
        int level;
        char letter;
        std::int32_t turns;
    };
    for (const Case c : { Case { 1, 'L', 12 }, Case { 1, 'M', 13 }, Case { 1, 'S', 14 }, Case { 1, 'D', 10 },
             Case { 2, 'L', 14 }, Case { 3, 'L', 0 } })
        EXPECT_EQ(ReadTurnCount(folder.Path(), c.level, c.letter), c.turns) << c.level << c.letter;
}

TEST_F(CampaignParametersTest, MoraleThresholdsReplaceTheDefaultsUpToTheHighestLevel)
{
    EXPECT_EQ(
        ReadMoraleThresholds(folder.Path()), (std::array<std::int32_t, 9> { 10, 7, 10, 20, 50, 100, 200, 400, 800 }))
        << "9 stops the stream: level 4 keeps its default";
    EXPECT_EQ(ReadMoraleThresholds(folder.Path(), 2),
        (std::array<std::int32_t, 9> { 10, 10, 10, 25, 50, 100, 200, 400, 800 }))
        << "3 is above the highest level asked for";
    EXPECT_EQ(
        ReadMoraleThresholds(empty.Path()), (std::array<std::int32_t, 9> { 12, 12, 12, 25, 50, 100, 200, 400, 800 }));
}

TEST_F(CampaignParametersTest, SectionsEndAtTheirEndLine)
{
    const std::string text = "a\n-1\nb\nc\n-1 x\n\nd\n-1";
    EXPECT_EQ(CampaignParameterSection(text, 1), (std::vector<std::string_view> { "b", "c" }));
    EXPECT_EQ(CampaignParameterSection(text, 2), (std::vector<std::string_view> { "", "d" }));
    EXPECT_EQ(CampaignParameterSection(text, 3, true), (std::vector<std::string_view> { "d" }))
        << "a blank line ends a section for the stream readers";
    EXPECT_TRUE(CampaignParameterSection(text, 9).empty());
    EXPECT_TRUE(CampaignParameterSection(text, -1).empty());
}

} // namespace
