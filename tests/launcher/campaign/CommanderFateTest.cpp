// The commander's fate: the roll and what each outcome changes and saves,
// the picture names, the fate texts and their placeholders.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "CampaignTestSupport.h"
#include "launcher/campaign/CampaignFile.h"
#include "launcher/campaign/CommanderFate.h"

namespace {

// Wounded: two texts; captured: one; killed: three, blank lines between.
constexpr const char* kFateFile = "2\n"
                                  "$ % was wounded.\n"
                                  "\n"
                                  "% ($) is in hospital.\n"
                                  "-1\n"
                                  "\n"
                                  "1\n"
                                  "% was taken prisoner.\n"
                                  "-1\n"
                                  "3\n"
                                  "\n"
                                  "% fell.\n"
                                  "$ % died.\n"
                                  "\n"
                                  "The $ is dead.\n"
                                  "-1\n";

class CommanderFateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CampaignRecord& campaign = test.context.g_campaign;
        campaign.m_name = "Cmd";
        campaign.m_formationId = "B1012001";
        campaign.m_nation = 10;
        campaign.m_rank = 2; // "Captain"
        campaign.m_startDate = 430101;
        campaign.m_endDate = 451231;
        campaign.m_currentDate = 430310;
        campaign.m_force = MakeUnit("B1012001", 1);
        test.folder.Write("wound10.dat", kFateFile);
    }

    CampaignRecord Saved()
    {
        CampaignRecord record;
        EXPECT_EQ(ReadCampaign(test.context, record, "Cmd.ccd"), "");
        return record;
    }

    CampaignTestFolder test;
};

TEST_F(CommanderFateTest, TheRollDecidesTheFateAndTheCampaignIsSaved)
{
    struct Case {
        int roll, months, text;
        FateOutcome outcome;
        const char* picture;
        std::int32_t currentDate, endDate;
        const char* expected;
    };
    const Case cases[] = {
        { 1, 0, 1, FateOutcome::kCaptured, "Capture10.bmp", 430310, 430310, "Cmd was taken prisoner." },
        { 20, 0, 1, FateOutcome::kCaptured, "Capture10.bmp", 430310, 430310, "Cmd was taken prisoner." },
        { 21, 0, 2, FateOutcome::kKilled, "Dead10.bmp", 430310, 430310, "Captain Cmd died." },
        { 40, 0, 3, FateOutcome::kKilled, "Dead10.bmp", 430310, 430310, "The Captain is dead." },
        { 41, 1, 1, FateOutcome::kWounded, "Wound10.bmp", 430410, 451231, "Captain Cmd was wounded." },
        { 100, 3, 2, FateOutcome::kWounded, "Wound10.bmp", 430610, 451231, "Cmd (Captain) is in hospital." },
    };
    for (const Case& c : cases) {
        SetUp();
        std::vector<int> script { ValueForRoll(c.roll, 100) };
        if (c.months)
            script.push_back(ValueForRoll(c.months, 3));
        script.push_back(ValueForRoll(c.text,
            c.outcome == FateOutcome::kWounded      ? 2
                : c.outcome == FateOutcome::kKilled ? 3
                                                    : 1));
        test.random.ScriptValues(script);
        const CommanderFate fate = ChooseCommanderFate(test.context);
        EXPECT_EQ(fate.outcome, c.outcome) << c.roll;
        EXPECT_EQ(fate.picture, c.picture) << c.roll;
        EXPECT_EQ(fate.text, c.expected) << c.roll;
        EXPECT_EQ(fate.saveError, "");
        const CampaignRecord saved = Saved();
        EXPECT_EQ(saved.m_currentDate, c.currentDate) << c.roll;
        EXPECT_EQ(saved.m_endDate, c.endDate) << c.roll;
        EXPECT_EQ(saved.IsOver(), c.outcome != FateOutcome::kWounded) << c.roll;
    }
}

TEST_F(CommanderFateTest, TheSeedComesFromTheClock)
{
    // The same clock gives the same fate; the draws follow the seed.
    std::vector<std::string> texts;
    for (int run = 0; run < 2; ++run) {
        SetUp();
        const CommanderFate fate = ChooseCommanderFate(test.context);
        texts.push_back(fate.picture + " " + fate.text + " " + std::to_string(Saved().m_currentDate));
    }
    EXPECT_EQ(texts[0], texts[1]);
}

TEST_F(CommanderFateTest, ALateWoundCarriesIntoTheNextYear)
{
    for (const auto& [date, months, expected] :
        { std::tuple { 431115, 3, 440215 }, std::tuple { 431201, 1, 440101 }, std::tuple { 431031, 2, 431231 } }) {
        SetUp();
        test.context.g_campaign.m_currentDate = date;
        test.random.ScriptValues({ ValueForRoll(60, 100), ValueForRoll(months, 3), 0 });
        ChooseCommanderFate(test.context);
        EXPECT_EQ(Saved().m_currentDate, expected) << date;
    }
}

TEST_F(CommanderFateTest, PlaceholdersAreFilledOnceWhateverTheNameHolds)
{
    EXPECT_EQ(SubstituteFatePlaceholders("$ % was hit.", "Major", "Kane"), "Major Kane was hit.");
    EXPECT_EQ(SubstituteFatePlaceholders("% and %", "Major", "50% $mith"), "50% $mith and 50% $mith");
    EXPECT_EQ(SubstituteFatePlaceholders("$$", "$%", "x"), "$%$%");
    EXPECT_EQ(SubstituteFatePlaceholders("", "Major", "Kane"), "");
    const std::string longName(600, '%');
    EXPECT_EQ(SubstituteFatePlaceholders("%%", "", longName).size(), 1200u) << "no length limit";

    test.context.g_campaign.m_name = "100% Kane";
    std::string text;
    test.random.ScriptValues({ ValueForRoll(1, 2) });
    LoadFateText(test.context, FateOutcome::kWounded, text);
    EXPECT_EQ(text, "Captain 100% Kane was wounded.");

    EXPECT_EQ(ReplaceCharWithText("a%b", 1, "XY"), "aXYb");
    EXPECT_EQ(ReplaceCharWithText("%", 0, ""), "");
    EXPECT_EQ(ReplaceCharWithText("ab", 2, "X"), "ab") << "past the end";
}

TEST_F(CommanderFateTest, AMissingFileOrShortSectionLeavesTheText)
{
    struct Case {
        const char* what;
        const char* file; // null: none
        FateOutcome outcome;
        int roll, of;
    };
    const Case cases[] = {
        { "no file", nullptr, FateOutcome::kWounded, 1, 1 },
        { "count 0", "0\nA\n-1\n", FateOutcome::kWounded, 1, 1 },
        { "count -3", "-3\nA\n-1\n", FateOutcome::kWounded, 1, 1 },
        { "no count", "x\nA\n-1\n", FateOutcome::kWounded, 1, 1 },
        { "fewer texts", "3\nA\n-1\n1\nB\n-1\n", FateOutcome::kWounded, 2, 3 },
        { "fewer at the end", "3\nA\n", FateOutcome::kWounded, 2, 3 },
        { "no such section", "1\nA\n-1\n", FateOutcome::kKilled, 1, 1 },
        { "empty", "", FateOutcome::kWounded, 1, 1 },
    };
    for (const Case& c : cases) {
        std::filesystem::remove(test.folder.Path("wound10.dat"));
        if (c.file)
            test.folder.Write("wound10.dat", c.file);
        LauncherRandom random;
        random.ScriptValues({ ValueForRoll(c.roll, c.of) });
        test.context.random = &random;
        std::string text = "as it was";
        LoadFateText(test.context, c.outcome, text);
        test.context.random = &test.random;
        EXPECT_EQ(text, "as it was") << c.what;
    }
    // The draw takes the count: "2" draws 1..2.
    test.folder.Write("wound10.dat", "2\nA\nB\n-1\n");
    test.random.ScriptValues({ 32767 });
    std::string text;
    LoadFateText(test.context, FateOutcome::kWounded, text);
    EXPECT_EQ(text, "B");
}

TEST_F(CommanderFateTest, PicturesWithoutAHitName)
{
    CampaignRecord single;
    single.m_nation = 1;
    EXPECT_EQ(FatePictureName(single), "Promotion1.bmp");
    CampaignRecord linked;
    linked.m_linked = 1;
    linked.m_regionPrefix = "Normandy.lcg";
    EXPECT_EQ(FatePictureName(linked), "Normandy_endgame.bmp");
    linked.m_regionPrefix = "lcg";
    EXPECT_EQ(FatePictureName(linked), "_endgame.bmp");
}

TEST(CommanderFateDataTest, EveryTextOfTheDemoFilesDrawsWithItsPlaceholdersFilled)
{
    const std::filesystem::path folder = std::filesystem::path(VL_DATA_TOOL).parent_path().parent_path() / "data";
    for (const int nation : { 1, 10 }) {
        ASSERT_TRUE(FileExists(folder, "wound" + std::to_string(nation) + ".dat")) << nation;
        for (const FateOutcome outcome : { FateOutcome::kWounded, FateOutcome::kCaptured, FateOutcome::kKilled }) {
            std::vector<std::string> texts;
            // The first and the last text the count promises.
            for (const int value : { 0, LauncherRandom::kMaxValue }) {
                LauncherRandom random;
                random.ScriptValues({ value });
                CampaignContext context(folder, random);
                context.g_campaign.m_nation = nation;
                context.g_campaign.m_rank = 3;
                context.g_campaign.m_name = "Kane";
                std::string text;
                LoadFateText(context, outcome, text);
                EXPECT_NE(text.find("Kane"), std::string::npos) << nation << " " << static_cast<int>(outcome);
                EXPECT_EQ(text.find_first_of("$%"), std::string::npos) << text;
                EXPECT_LE(text.size(), 255u + 20u) << text;
                texts.push_back(text);
            }
            EXPECT_NE(texts[0], texts[1]) << "several texts: " << nation << " " << static_cast<int>(outcome);
        }
    }
}

} // namespace
