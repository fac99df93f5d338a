// A new campaign without its screen: the organisation lists on small
// order-of-battle files, the dialog's steps, the leader dialog, the choices
// of the screen, starting ranks, the build rolls and the created campaign.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SetupTestSupport.h"
#include "launcher/campaign/CampaignFile.h"
#include "launcher/campaign/CampaignTestSupport.h"
#include "launcher/campaign/LinkedCampaign.h"
#include "launcher/campaign/setup/NewCampaign.h"

namespace {

using Ids = std::vector<std::string>;

// United States corps: one of each filter's refusals.
constexpr const char* kCorps10 = "42 11 45 5 K1052001 II Corps\n"
                                 "42 11 45 5 P10404 Corps Headquarters\n"
                                 "42 11 45 5 D1042001 1st Infantry Division\n"
                                 "42 11 45 5 D1040002 Armored Division\n"
                                 "42 11 45 5 D0142003 Foreign Division\n"
                                 "42 11 45 5 K1052008 Corps inside\n"
                                 "42 11 45 5 D1042999 Withheld Division\n"
                                 "42 11 45 5 D1042001 1st Infantry Division again\n"
                                 "42 11 45 5 B1012009 Corps Battalion\n"
                                 "42 11 43 2 + D1042010 Old Division\n"
                                 "43 3 45 5 D1042011 New Division\n"
                                 "42 11 45 5 D1042012 .Dotted Division\n"
                                 "42 11 45 5 D1042013 Regimental Combat Division\n"
                                 "\n"
                                 "44 1 45 5 K1052002 Late Corps\n"
                                 "42 1 43 1 K1052003 Early Corps\n"
                                 "42 11 45 5 K0152004 Foreign Corps\n"
                                 "42 11 45 5 K1050005 Tank Corps\n"
                                 "42 11 45 5 K1052999 Withheld Corps\n"
                                 "42 11 45 5 K1052001 II Corps again\n"
                                 "42 11 45 5 K1052006 $(1-2) Corps\n"
                                 "42 11 45 5 K1052007 )Paren Corps\n"
                                 "42 11 45 5 K1052014 1.Korps\n";
// The infantry division: two regiments, the second by a choice group.
constexpr const char* kDivision10 = "42 11 45 5 D1042001 1st Infantry Division\n"
                                    "42 11 45 5 P10403 Division Headquarters\n"
                                    "42 11 45 5 R1022001 $(15-16) Infantry Regiment\n"
                                    "42 11 45 5 R1022002 26th Infantry Regiment\n"
                                    "\n"
                                    "42 11 45 5 D1042012 .Dotted Division\n"
                                    "42 11 45 5 P10403 Division Headquarters\n";
constexpr const char* kRegiment10 = "42 11 45 5 R1022001 Infantry Regiment\n"
                                    "42 11 45 5 P10402 Regiment Headquarters\n"
                                    "42 11 45 5 P10200 Rifle Platoon\n"
                                    "\n"
                                    "42 11 45 5 R1022002 26th Infantry Regiment\n"
                                    "42 11 45 5 P10402 Regiment Headquarters\n";

class NewCampaignTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test.folder.Write("Campaign10.OOB", kCorps10);
        test.folder.Write("Division10.OOB", kDivision10);
        test.folder.Write("Regiment10.OOB", kRegiment10);
        query.nation = 10;
        query.commandLevel = 2;
        query.date = 430115;
        query.endDate = 430817;
        query.organisationType = 2;
    }
    CampaignTestFolder test;
    LevelNumberBase base;
    FormationQuery query;
};

} // namespace

TEST_F(NewCampaignTest, TheTopListTakesEachCorpsOnceThatPassesEveryFilter)
{
    const std::vector<FormationListRow> rows = FillTopFormationList(test.context, base, query);
    // A corps line inside another's block is a corps of the file too.
    EXPECT_EQ(RowIds(rows), (Ids { "K1052001", "K1052008", "K1052006", "K1052007", "K1052014" }));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].name, "II Corps");
    EXPECT_EQ(rows[2].name, "Corps"); // the template's text only
    EXPECT_EQ(rows[3].name, "Paren Corps");
    EXPECT_EQ(rows[4].name, "1 Korps");
    // Without an end date the corps ending before it is offered too.
    query.endDate = 0;
    EXPECT_EQ(RowIds(FillTopFormationList(test.context, base, query)),
        (Ids { "K1052001", "K1052008", "K1052003", "K1052006", "K1052007", "K1052014" }));
    // Another type digit, another nation.
    query.organisationType = 0;
    EXPECT_EQ(RowIds(FillTopFormationList(test.context, base, query)), (Ids { "K1050005" }));
}

TEST_F(NewCampaignTest, TheTopListFallsBackToDivisionsThenBrigades)
{
    test.folder.Write("Campaign01.OOB",
        "42 11 45 5 G0132001 Brigade\n42 11 45 5 D0142001 Division\n42 11 45 5 D0142002 Second Division\n");
    test.folder.Write("Campaign09.OOB", "42 11 45 5 G0932001 Only Brigade\n");
    test.folder.Write("Campaign08.OOB", "42 11 45 5 R0822001 Only Regiment\n");
    const struct {
        int nation;
        Ids ids;
    } cases[] = { { 1, { "D0142001", "D0142002" } }, { 9, { "G0932001" } }, { 8, {} }, { 7, {} } };
    for (const auto& c : cases) {
        query.nation = c.nation;
        EXPECT_EQ(RowIds(FillTopFormationList(test.context, base, query)), c.ids) << c.nation;
    }
}

TEST_F(NewCampaignTest, SubListsTakeTheValidVersionAndStopAtTheCommandLevel)
{
    const std::vector<FormationListRow> rows = FillSubFormationList(test.context, base, query, "K1052001", 5);
    EXPECT_EQ(RowIds(rows), (Ids { "D1042001", "D1042010", "D1042012", "D1042013" }));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].name, "Old Division");
    EXPECT_EQ(rows[2].name, "Dotted Division");
    // After the old division's end its variant is listed.
    query.date = 430401;
    EXPECT_EQ(RowIds(FillSubFormationList(test.context, base, query, "K1052001", 5)),
        (Ids { "D1042001", "D1042011", "D1042012", "D1042013" }));
    // A battalion command also lists the battalion directly under the corps.
    query.date = 430115;
    query.commandLevel = 1;
    EXPECT_EQ(RowIds(FillSubFormationList(test.context, base, query, "K1052001", 5)),
        (Ids { "D1042001", "B1012009", "D1042010", "D1042012", "D1042013" }));

    EXPECT_TRUE(NameHasLevelWord("Regimental Combat Division", 2));
    EXPECT_FALSE(NameHasLevelWord("regimental", 2));
    EXPECT_TRUE(NameHasLevelWord("Division", 4));
    EXPECT_TRUE(NameHasLevelWord("Ad hoc campaign group", 5));
    EXPECT_TRUE(NameHasLevelWord("Army", 9));
}

TEST_F(NewCampaignTest, TheDialogDescendsToTheCommandLevel)
{
    OrganizationSelection selection(test.context, base, query);
    // The regiment file holds regiments: the command level can be served.
    ASSERT_EQ(selection.Start(), OrganizationSelection::Step::kListed);
    EXPECT_TRUE(selection.ShowsTopList());
    ASSERT_EQ(selection.Choose(0), OrganizationSelection::Step::kListed); // II Corps
    EXPECT_FALSE(selection.ShowsTopList());
    ASSERT_EQ(RowIds(selection.Rows())[0], "D1042001");
    ASSERT_EQ(selection.Choose(0), OrganizationSelection::Step::kListed);
    EXPECT_EQ(RowIds(selection.Rows()), (Ids { "R1022001", "R1022002" }));
    EXPECT_EQ(selection.Rows()[0].name, "Infantry Regiment");
    ASSERT_EQ(selection.Choose(1), OrganizationSelection::Step::kDone);
    EXPECT_EQ(selection.m_unitId, "R1022002");
    EXPECT_EQ(selection.m_formationName, "26th Infantry Regiment");
    EXPECT_EQ(selection.m_topFormationId, "K1052001");
}

TEST_F(NewCampaignTest, TheLevelWordEndsTheDescentEarly)
{
    OrganizationSelection selection(test.context, base, query);
    ASSERT_EQ(selection.Start(), OrganizationSelection::Step::kListed);
    ASSERT_EQ(selection.Choose(0), OrganizationSelection::Step::kListed);
    EXPECT_EQ(selection.Choose(3), OrganizationSelection::Step::kDone);
    EXPECT_EQ(selection.m_unitId, "D1042013");
}

TEST_F(NewCampaignTest, NoLowerLevelAsksAndEitherGivesUpOrStartsAgain)
{
    for (const bool ok : { false, true }) {
        OrganizationSelection selection(test.context, base, query);
        ASSERT_EQ(selection.Start(), OrganizationSelection::Step::kListed);
        selection.Choose(0);
        ASSERT_EQ(selection.Choose(2), OrganizationSelection::Step::kNoLowerLevel); // the dotted division
        if (!ok) {
            EXPECT_EQ(selection.AnswerNoLowerLevel(false), OrganizationSelection::Step::kFailed);
            continue;
        }
        EXPECT_EQ(selection.AnswerNoLowerLevel(true), OrganizationSelection::Step::kListed);
        EXPECT_TRUE(selection.ShowsTopList());
        EXPECT_EQ(selection.Rows().size(), 5u);
    }
    // Driven through the dialogs: Cancel fails the selection.
    ScriptedDialogs dialogs;
    dialogs.rowIds = { "K1052001", "D1042012" };
    OrganizationSelection selection(test.context, base, query);
    EXPECT_FALSE(SelectOrganization(selection, dialogs));
    EXPECT_EQ(dialogs.noLowerLevelAsked, 1);
}

TEST_F(NewCampaignTest, AMissingLevelFileIsNamedAndNothingIsListed)
{
    const struct {
        int level;
        const char* text;
    } cases[] = { { 0, "Company.OOB" }, { 1, "Battalion.OOB" }, { 3, "Brigade.OOB" }, { 6, "Army.OOB" } };
    for (const auto& c : cases) {
        test.messages.clear();
        query.commandLevel = c.level;
        OrganizationSelection selection(test.context, base, query);
        EXPECT_EQ(selection.Start(), OrganizationSelection::Step::kFailed) << c.level;
        EXPECT_EQ(test.messages, (std::vector<ShownMessage> { { c.text, "Error loading file" } })) << c.level;
    }
    std::filesystem::remove(test.folder.Path("Campaign10.OOB"));
    query.commandLevel = 5;
    test.messages.clear();
    EXPECT_EQ(CountFormationsAtLevel(test.context, base, query), -1);
    EXPECT_EQ(test.messages, (std::vector<ShownMessage> { { "campaign.oob", "Error loading file" } }));
    // A file without a formation of the level: no message, nothing offered.
    test.folder.Write("Brigade10.OOB", "42 11 45 5 G1032001 Brigade\n");
    test.messages.clear();
    query.commandLevel = 3;
    query.organisationType = 0;
    EXPECT_EQ(CountFormationsAtLevel(test.context, base, query), 0);
    EXPECT_TRUE(test.messages.empty());
}

TEST(NewCampaignRulesTest, StartingRanksByCommandLevel)
{
    const int ranks[][2] = { { 0, 1 }, { 1, 2 }, { 2, 3 }, { 3, 5 }, { 4, 7 }, { 5, 7 }, { 6, 1 }, { -1, 1 } };
    for (const auto& r : ranks)
        EXPECT_EQ(GetStartingRank(r[0]), r[1]) << r[0];
}

TEST(NewCampaignRulesTest, TheLeaderDialogRefusesUsedAndUnusableNames)
{
    CampaignTestFolder test;
    test.folder.Write("leader1.oob", "Otto Kramm\n");
    test.folder.Write("Taken.ccd", "x");
    test.folder.Write("Chain.CCL", "x");
    LeaderDialog dialog(test.context, 1);
    EXPECT_EQ(dialog.m_name, "Otto Kramm");
    EXPECT_EQ(dialog.m_organisationType, 2);
    EXPECT_EQ(dialog.m_aiLevel, 1);
    const struct {
        const char* name;
        std::string_view message;
    } cases[] = { { "", LeaderDialog::kNameInUseText }, { "taken", LeaderDialog::kNameInUseText },
        { "chain", LeaderDialog::kNameInUseText }, { "a/b", LeaderDialog::kNameUnusableText },
        { "-k", LeaderDialog::kNameUnusableText } };
    for (const auto& c : cases) {
        test.messages.clear();
        dialog.SetName(c.name);
        EXPECT_FALSE(dialog.PressOk()) << c.name;
        EXPECT_EQ(test.messages, (std::vector<ShownMessage> { { std::string(c.message), "" } })) << c.name;
    }
    dialog.SetName("A name far longer than nineteen");
    EXPECT_EQ(dialog.m_name, "A name far longer t");
    EXPECT_TRUE(dialog.PressOk());
    // The portrait wraps both ways; tank is refused where not offered.
    dialog.StepPortrait(-1);
    EXPECT_EQ(dialog.m_portrait, 23);
    dialog.StepPortrait(1);
    EXPECT_EQ(dialog.m_portrait, 0);
    dialog.SetOrganisationType(0);
    EXPECT_EQ(dialog.m_organisationType, 0);
    LeaderDialog soviet(test.context, 2);
    EXPECT_FALSE(soviet.IsTankOffered());
    EXPECT_EQ(soviet.m_name, "Anonymous");
    soviet.SetOrganisationType(0);
    EXPECT_EQ(soviet.m_organisationType, 2);
}

TEST(NewCampaignRulesTest, TheChoicesOpenOnBattalionAndSwapNationsAndLevels)
{
    CampaignTestFolder test;
    test.folder.Write("chardesc.txt",
        "0\nFirst\n1\n10\n430115 430817\n0 430709\n1 430817\n999 0\nText one.\n-1\n"
        "Second\n2\n9\n440101 441231\n1 441231\n999 0\nText two.\n-1\n-2\n");
    test.folder.Write("chain.lcg", "100 0 3\nChain\n10 1 1 440710\nText.\n\n1 b.cpn/1 2 -1 -1 -1 -1 -1 0 One\n");
    NewCampaignChoices choices(test.context);
    ASSERT_EQ(choices.m_names.size(), 3u);
    EXPECT_EQ(choices.m_commandLevel, 1);
    EXPECT_EQ(choices.m_chosenNation, 10);
    choices.SwapNation();
    EXPECT_EQ(choices.m_chosenNation, 1);
    EXPECT_EQ(choices.m_opposingNation, 10);
    choices.SwapNation();
    EXPECT_EQ(choices.m_chosenNation, 10);
    for (const int level : { 2, 3, 4, 5, 1 }) {
        choices.NextCommandLevel();
        EXPECT_EQ(choices.m_commandLevel, level);
    }
    choices.ChoiceDown();
    choices.ChoiceDown();
    ASSERT_TRUE(choices.IsLinked());
    EXPECT_EQ(choices.m_description.m_firstBattleId, 1);
    EXPECT_EQ(choices.m_commandLevel, 3);
    choices.NextCommandLevel();
    choices.SwapNation();
    EXPECT_EQ(choices.m_commandLevel, 3);
    EXPECT_EQ(choices.m_chosenNation, 10);
    choices.ChoiceDown();
    EXPECT_EQ(choices.m_selected, 2);
    choices.ChoiceUp();
    EXPECT_EQ(choices.m_selected, 1);
    EXPECT_EQ(choices.m_chosenNation, 9);
}

TEST_F(NewCampaignTest, TheBuildRollsServeLevelsOneFiveTwoThreeFour)
{
    test.folder.Write("chardesc.txt", "0\nFirst\n1\n10\n430115 430817\n0 430709\n999 0\nText.\n-1\n-2\n");
    NewCampaignChoices choices(test.context);
    ScriptedDialogs dialogs;
    dialogs.leaderName.reset(); // the leader dialog closes: nothing created
    test.random.ScriptValues({ ValueForRoll(11, 100), ValueForRoll(55, 100), ValueForRoll(22, 100),
        ValueForRoll(33, 100), ValueForRoll(44, 100) });
    LevelNumberBase rolls;
    EXPECT_FALSE(CreateNewCampaign(test.context, choices, rolls, dialogs));
    EXPECT_EQ(rolls.rolls, (std::array<std::int32_t, 5> { 11, 22, 33, 44, 55 }));
    EXPECT_EQ(test.messages.size(), 1u);
    EXPECT_EQ(test.messages[0].text.substr(0, 28), "No organizations are availab");
    EXPECT_FALSE(std::filesystem::exists(test.folder.Path("Hal Brenner.ccd")));
}

TEST_F(NewCampaignTest, CreatesTheCampaignWithItsCommanderAndSavesIt)
{
    test.folder.Write("chardesc.txt", "0\nFirst\n1\n10\n430115 430817\n0 430709\n1 430817\n999 0\nText.\n-1\n-2\n");
    NewCampaignChoices choices(test.context);
    choices.NextCommandLevel(); // regiment
    ScriptedDialogs dialogs;
    dialogs.portraitSteps = 5;
    dialogs.aiLevel = 3;
    dialogs.rowIds = { "K1052001", "D1042001", "R1022001" };
    test.context.g_unitCounter = 30;
    LevelNumberBase rolls;
    ASSERT_TRUE(CreateNewCampaign(test.context, choices, rolls, dialogs)) << test.messages.size();
    const CampaignRecord& campaign = test.context.g_campaign;
    EXPECT_EQ(campaign.m_name, "Hal Brenner");
    EXPECT_EQ(campaign.m_formationId, "R1022001");
    // The name as built, its template drawn, not as listed.
    EXPECT_EQ(campaign.m_formationName.substr(2), "th Infantry Regiment");
    EXPECT_EQ(campaign.m_rank, 3);
    EXPECT_EQ(campaign.m_commandLevel, 2);
    EXPECT_EQ(campaign.m_generatorValue, 3);
    EXPECT_EQ(campaign.m_portrait, 5);
    EXPECT_EQ(campaign.m_region, 0);
    EXPECT_EQ(campaign.m_charSection, 0);
    EXPECT_EQ(campaign.m_currentDate, 430115);
    ASSERT_TRUE(campaign.m_force);
    EXPECT_EQ(campaign.m_force->m_id, "K1052001");
    const UnitRecord* regiment = FindUnitById(campaign.m_force.get(), "R1022001");
    ASSERT_TRUE(regiment);
    ASSERT_TRUE(regiment->m_firstChild);
    // Infantry, and no type flags on the first subunit (no platoon file).
    EXPECT_EQ(regiment->m_firstChild->m_id, "P10401");
    EXPECT_EQ(regiment->m_firstChild->m_role, 1);
    EXPECT_EQ(regiment->m_firstChild->m_number, campaign.m_commanderUnit);
    EXPECT_EQ(campaign.m_commanderUnit % 24, 5);
    EXPECT_EQ(test.context.g_selectedCampaign.m_name, "Hal Brenner");

    CampaignRecord read;
    ASSERT_EQ(ReadCampaign(test.context, read, "Hal Brenner.ccd"), "");
    EXPECT_EQ(read.m_formationId, "R1022001");
    EXPECT_EQ(read.m_formationName, campaign.m_formationName);
    EXPECT_EQ(read.m_commanderUnit, campaign.m_commanderUnit);
    EXPECT_EQ(DescribeTree(read.m_force.get()), DescribeTree(campaign.m_force.get()));
}

TEST(NewLinkedCampaignTest, WritesTheHeaderWithTheStartingForceAndDropsAStaleBattle)
{
    CampaignTestFolder test;
    CopyDemoTextData(test.folder.Path());
    NewCampaignChoices choices(test.context);
    while (!choices.IsLinked() && choices.m_selected + 1 < static_cast<int>(choices.m_names.size()))
        choices.ChoiceDown();
    ASSERT_TRUE(choices.IsLinked());
    test.folder.Write("Orvette run.cpn", "stale");
    test.folder.Write("Orvette run.ccx", "stale");
    ScriptedDialogs dialogs;
    dialogs.linkedFile = (test.folder.Path() / "Orvette run.ccl").string();
    LevelNumberBase rolls;
    ASSERT_TRUE(CreateNewCampaign(test.context, choices, rolls, dialogs));
    EXPECT_FALSE(std::filesystem::exists(test.folder.Path("Orvette run.cpn")));
    EXPECT_FALSE(std::filesystem::exists(test.folder.Path("Orvette run.ccx")));
    const CampaignRecord& campaign = test.context.g_campaign;
    EXPECT_EQ(campaign.m_linked, 1);
    EXPECT_EQ(campaign.m_name, "Orvette run");
    EXPECT_EQ(campaign.m_linkedBattleId, 1);
    EXPECT_EQ(campaign.m_currentDate, 440710);
    EXPECT_EQ(campaign.m_regionPrefix, "Orvette.lcg");
    ASSERT_TRUE(campaign.m_force);
    EXPECT_EQ(campaign.m_force->m_number, 100);
    const std::vector<std::string> lines = ReadFileLines(test.folder.Path("Orvette run.ccl"));
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Orvette.lcg");
    EXPECT_EQ(lines[1], "1 10 440710 1");
    EXPECT_EQ(lines[2], "0");
}

TEST(NewLinkedCampaignTest, RefusesANameOutsideTheFolderOrUnusableOrOfASingleCampaign)
{
    CampaignTestFolder test;
    CopyDemoTextData(test.folder.Path());
    test.folder.Write("Single.ccd", "x");
    NewCampaignChoices choices(test.context);
    while (!choices.IsLinked() && choices.m_selected + 1 < static_cast<int>(choices.m_names.size()))
        choices.ChoiceDown();
    const std::string other = (test.folder.Path() / "sub").string();
    std::filesystem::create_directory(other);
    for (const std::string& name :
        { other + "/run.ccl", std::string("-run.ccl"), std::string("run.txt"), std::string("single.ccl") }) {
        test.messages.clear();
        ScriptedDialogs dialogs;
        dialogs.linkedFile = name;
        EXPECT_FALSE(CreateLinkedCampaign(test.context, choices, dialogs)) << name;
        EXPECT_EQ(test.messages.size(), 1u) << name;
    }
    ScriptedDialogs cancelled;
    test.messages.clear();
    EXPECT_FALSE(CreateLinkedCampaign(test.context, choices, cancelled));
    EXPECT_TRUE(test.messages.empty());
    EXPECT_EQ(ListFilesOfTwoPatterns(test.folder.Path(), "*.ccl", "*.ccl").size(), 0u);
}
