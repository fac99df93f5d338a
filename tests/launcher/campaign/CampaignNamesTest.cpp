// Campaign names: which are usable as file stems, and which are taken.
#include <gtest/gtest.h>

#include <string>

#include "CampaignTestSupport.h"
#include "launcher/campaign/CampaignNames.h"

TEST(CampaignNamesTest, UsableNamesAreSafeFileStems)
{
    struct Case {
        std::string name;
        bool usable;
    };
    const Case cases[] = {
        { "Kasserine Run", true },
        { "  1st Armored's Road-to_Tunis v1.2  ", true },
        { std::string(64, 'a'), true },
        { " " + std::string(64, 'a') + " ", true },
        { std::string(65, 'a'), false },
        { "", false },
        { "   ", false },
        { "-k", false },
        { ".hidden", false },
        { "_under", false },
        { "'quoted'", false },
        { "a/b", false },
        { "..", false },
        { "a\\b", false },
        { "star*", false },
        { "what?", false },
        { "tab\there", false },
        { "line\nfeed", false },
        { "semi;colon", false },
        { "Caf\xc3\xa9", false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsUsableCampaignName(c.name), c.usable) << '"' << c.name << '"';
}

TEST(CampaignNamesTest, ANameIsInUseInAnyLetterCaseAndEitherKind)
{
    CampaignTestFolder test;
    test.folder.Write("KASSERINE RUN.CCD", "");
    test.folder.Write("torch run.Ccl", "");
    test.folder.Write("Other.ccx", "");
    EXPECT_TRUE(IsCampaignNameInUse(test.context, "Kasserine Run"));
    EXPECT_TRUE(IsCampaignNameInUse(test.context, " kasserine run "));
    EXPECT_TRUE(IsCampaignNameInUse(test.context, "Torch Run"));
    EXPECT_FALSE(IsCampaignNameInUse(test.context, "Other"));
    EXPECT_FALSE(IsCampaignNameInUse(test.context, "Kasserine"));
}
