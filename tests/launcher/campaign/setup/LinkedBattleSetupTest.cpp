// A linked campaign's next battle: the ready-made battle copied with the
// force's strengths and morale, units without strength dropped, the briefing
// read after the battle's closing lines, and the errors that prepare nothing.

#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "launcher/campaign/CampaignTestSupport.h"
#include "launcher/campaign/LinkedCampaign.h"
#include "launcher/campaign/setup/LinkedBattleSetup.h"

namespace {

// A version-9 battle: twelve head lines, two unit lines (units 101 and 102,
// and an enemy 900), a group of two members (103, 104), the section end,
// the closing lines and two briefing lines.
const std::string kBattle = "9\nTitle\n0 0 0 90\n0 0 0 0 18\n2 0 4 3 85 70\n0\n0 100 250 400 0\n75 50 0 88\n"
                            "main.map\nbattle.org\n 3 3 3 3 3 3 3 3 3\n 3 3 3 3 3 3 3 3 3\n"
                            "0 2 2 10401 101 8 8 2 100 7 0 0 3 3 3\n"
                            "0 2 3 10702 102 8 8 2 100 6 0 0 3 3 3\n"
                            "0 9 9 1200 900 2 2 7 100 5 0 0 3 3 3\n"
                            "2 8 13 16\n"
                            "7 0 5 18 80 2 0 0\n"
                            "    1400 103 2 2 1 100 7 0 0 3 3 3\n"
                            "    1200 104 2 2 7 100 6 0 0 3 3 3\n"
                            "19 10500\n"
                            "-1\n0 -1\n1\nA note\nJul 10 1944 \nFirst line of the briefing.\nSecond line.\n";

std::unique_ptr<UnitRecord> Force()
{
    auto root = MakeUnit("B1012001", 100);
    root->m_strength = 5;
    const struct {
        std::int32_t number, strength, morale;
    } units[] = { { 101, 6, 8 }, { 102, 0, 5 }, { 103, 0, 4 }, { 104, 3, 9 } };
    for (const auto& u : units) {
        auto unit = MakeUnit("P01200", u.number);
        unit->m_strength = u.strength;
        unit->m_morale = u.morale;
        AttachChildUnit(std::move(unit), *root);
    }
    return root;
}

} // namespace

TEST(LinkedBattleSetupTest, PatchesUnitLinesFromTheForce)
{
    const auto force = Force();
    struct Case {
        const char* line;
        LinePatch patch;
        const char* result;
    } const cases[] = {
        { "0 2 2 10401 101 8 8 2 100 7 0 0 3 3 3", LinePatch::kRewritten, "0 2 2 10401 101 8 8 6 100 8 0 0 3 3 3" },
        // The counters are written anew whatever the line carried.
        { "0 2 2 10401 101 8 8 2 100 7 0 0", LinePatch::kRewritten, "0 2 2 10401 101 8 8 6 100 8 0 0 3 3 3" },
        { "0 2 3 10702 102 8 8 2 100 6 0 0 3 3 3", LinePatch::kDropped, "" },
        { "0 9 9 1200 900 2 2 7 100 5 0 0 3 3 3", LinePatch::kUnchanged, "0 9 9 1200 900 2 2 7 100 5 0 0 3 3 3" },
        // Short of twelve numbers (a version-10 head's last line): as it is.
        { "0 0 1", LinePatch::kUnchanged, "0 0 1" },
        { "0 2 2 10401 101 8 8 x 100 7 0 0", LinePatch::kUnchanged, "0 2 2 10401 101 8 8 x 100 7 0 0" },
        // Led by "0" but tagged 12: no unit line.
        { "012 2 2 10401 101 8 8 2 100 7 0 0", LinePatch::kUnchanged, "012 2 2 10401 101 8 8 2 100 7 0 0" },
    };
    for (const Case& c : cases) {
        std::string line = c.line;
        EXPECT_EQ(PatchBattleUnitLine(line, force.get()), c.patch) << c.line;
        EXPECT_EQ(line, c.result) << c.line;
    }
}

TEST(LinkedBattleSetupTest, PatchesMemberLinesAndKeepsDestroyedMembersAtOne)
{
    const auto force = Force();
    struct Case {
        const char* line;
        LinePatch patch;
        const char* result;
    } const cases[] = {
        { "    1400 103 2 2 1 100 7 0 0 3 3 3", LinePatch::kRewritten, "    1400 103 2 2 1 100 4 0 0 3 3 3" },
        { "1200 104 2 2 7 100 6 0 0", LinePatch::kRewritten, "    1200 104 2 2 3 100 9 0 0 3 3 3" },
        // Not in the force: the numbers written again as they stand.
        { "  1200 999 2 2 7 100 6 0 0 1 1 1", LinePatch::kRewritten, "    1200 999 2 2 7 100 6 0 0 3 3 3" },
        { "19 10500", LinePatch::kUnchanged, "19 10500" },
    };
    for (const Case& c : cases) {
        std::string line = c.line;
        EXPECT_EQ(PatchBattleSubunitLine(line, force.get()), c.patch) << c.line;
        EXPECT_EQ(line, c.result) << c.line;
    }
}

TEST(LinkedBattleSetupTest, CopiesTheBattleWithTheForcesStateAndReadsItsBriefing)
{
    CampaignTestFolder test;
    test.folder.Write("Battle1.CPN", kBattle);
    const auto force = Force();
    ASSERT_EQ(CopyLinkedBattleFile(test.context, "battle1.cpn", "Run.cpn", force.get()), "");
    std::string expected = kBattle;
    const auto replace = [&expected](const std::string& from, const std::string& to) {
        const std::size_t at = expected.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        expected.replace(at, from.size(), to);
    };
    replace("0 2 2 10401 101 8 8 2 100 7 0 0 3 3 3\n", "0 2 2 10401 101 8 8 6 100 8 0 0 3 3 3\n");
    replace("0 2 3 10702 102 8 8 2 100 6 0 0 3 3 3\n", "");
    replace("    1200 104 2 2 7 100 6 0 0 3 3 3\n", "    1200 104 2 2 3 100 9 0 0 3 3 3\n");
    replace("    1400 103 2 2 1 100 7 0 0 3 3 3\n", "    1400 103 2 2 1 100 4 0 0 3 3 3\n");
    EXPECT_EQ(ReadFileText(test.folder.Path("Run.cpn")), expected);

    EXPECT_EQ(ReadLinkedBriefing(test.context, "BATTLE1.cpn"), "First line of the briefing. Second line.");
    EXPECT_EQ(ReadLinkedBriefing(test.context, "missing.cpn"), "");
}

// Blank lines in the unit section take their place in a group's countdown
// and are kept, so the member line after them is left as it stands, in the
// copy and in a copy of the copy alike.
TEST(LinkedBattleSetupTest, BlankLinesStayAndACopyOfTheCopyIsTheCopy)
{
    CampaignTestFolder test;
    std::string battle = kBattle;
    const std::string member = "    1400 103 2 2 1 100 7 0 0 3 3 3\n";
    battle.insert(battle.find(member), "\n\n");
    battle.insert(battle.find("0 2 3 10702"), "\n");
    test.folder.Write("b.cpn", battle);
    const auto force = Force();
    ASSERT_EQ(CopyLinkedBattleFile(test.context, "b.cpn", "copy.cpn", force.get()), "");
    const std::string copy = ReadFileText(test.folder.Path("copy.cpn"));
    EXPECT_NE(copy.find("10401 101 8 8 6 100 8 0 0 3 3 3\n\n0 9 9 1200 900"), std::string::npos) << copy;
    EXPECT_NE(copy.find("7 0 5 18 80 2 0 0\n\n\n" + member), std::string::npos) << copy;
    ASSERT_EQ(CopyLinkedBattleFile(test.context, "copy.cpn", "again.cpn", force.get()), "");
    EXPECT_EQ(ReadFileText(test.folder.Path("again.cpn")), copy);
}

TEST(LinkedBattleSetupTest, LongLinesAndAnExistingCopyInAnotherCase)
{
    CampaignTestFolder test;
    // A note line after the section end longer than any line reader takes.
    const std::string longNote(3000, 'n');
    std::string battle = kBattle;
    battle.replace(battle.find("A note"), 6, longNote);
    test.folder.Write("b.cpn", battle);
    test.folder.Write("RUN.CPN", "old");
    const auto force = Force();
    ASSERT_EQ(CopyLinkedBattleFile(test.context, "b.cpn", "run.cpn", force.get()), "");
    EXPECT_FALSE(std::filesystem::exists(test.folder.Path("run.cpn")));
    const std::string copy = ReadFileText(test.folder.Path("RUN.CPN"));
    EXPECT_NE(copy.find(longNote + "\n"), std::string::npos);
    EXPECT_NE(CopyLinkedBattleFile(test.context, "none.cpn", "run.cpn", force.get()), "");
    EXPECT_EQ(ReadFileText(test.folder.Path("RUN.CPN")), copy);
}

TEST(LinkedBattleSetupTest, ClearsTheSelectionOfTheWholeTree)
{
    auto root = Force();
    root->m_role = 2;
    root->m_firstChild->m_role = 1;
    root->m_lastChild->m_role = 1;
    auto sibling = MakeUnit("B1012002", 200);
    sibling->m_role = 1;
    root->m_nextSibling = std::move(sibling);
    ClearBattleSelection(root->m_firstChild->m_nextSibling.get());
    EXPECT_EQ(root->m_role, 2);
    EXPECT_EQ(root->m_firstChild->m_role, 1);
    EXPECT_EQ(root->m_lastChild->m_role, 0);
    ClearBattleSelection(root.get());
    for (const UnitRecord* unit : { root.get(), root->m_firstChild.get(), root->m_nextSibling.get() })
        EXPECT_EQ(unit->m_role, 0) << unit->m_id;
    ClearBattleSelection(nullptr);
}

class LinkedPreparationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test.folder.Write("chain.lcg",
            "100 0 1\nChain\n10 1 1 440710\nText.\n\n1 battle1.cpn/212 236 -1 2 2 2 2 0 First\n"
            "2 battle2.cpn/300 228 -1 -1 -1 -2 -2 40 Second\n-1 Lost.\n");
        test.folder.Write("battle1.cpn", kBattle);
        test.folder.Write("battle2.cpn", kBattle);
        CampaignRecord& campaign = test.context.g_campaign;
        campaign.m_linked = 1;
        campaign.m_name = "Run";
        campaign.m_regionPrefix = "chain.lcg";
        campaign.m_linkedBattleId = 1;
        campaign.m_force = Force();
        // A linked campaign's units all carry role 1 as read.
        campaign.m_force->m_role = 1;
        for (UnitRecord* unit = campaign.m_force->m_firstChild.get(); unit; unit = unit->m_nextSibling.get()) {
            unit->m_role = 1;
            unit->m_fullStrength = unit->m_strength;
        }
        // Below full strength: a replacement candidate (a first subunit is
        // never written back).
        campaign.m_force->m_lastChild->m_fullStrength = 8;
    }
    CampaignTestFolder test;
};

TEST_F(LinkedPreparationTest, CopiesTheBattleOfTheCurrentNodeAndSetsTheMarker)
{
    int asked = 0;
    const LinkedBattlePreparation prepared
        = PrepareLinkedCampaignBattle(test.context, [&asked](ReplacementSession&) { ++asked; });
    ASSERT_TRUE(prepared.prepared);
    EXPECT_EQ(asked, 0); // battle 1 grants no points
    EXPECT_EQ(prepared.briefing, "First line of the briefing. Second line.");
    EXPECT_EQ(test.context.g_mapMarkerX, 212);
    EXPECT_EQ(test.context.g_mapMarkerY, 236);
    EXPECT_NE(
        ReadFileText(test.folder.Path("Run.cpn")).find("0 2 2 10401 101 8 8 6 100 8 0 0 3 3 3\n"), std::string::npos);
    EXPECT_TRUE(test.messages.empty());
}

TEST_F(LinkedPreparationTest, OffersTheNodesPointsBeforeTheCopy)
{
    test.context.g_campaign.m_linkedBattleId = 2;
    int points = 0;
    const LinkedBattlePreparation prepared
        = PrepareLinkedCampaignBattle(test.context, [&points](ReplacementSession& s) {
              points = s.Points();
              ASSERT_EQ(s.Rows().size(), 1u);
              s.Select(0);
              EXPECT_TRUE(s.AddReplacement());
          });
    ASSERT_TRUE(prepared.prepared);
    EXPECT_EQ(points, 40);
    EXPECT_EQ(test.context.g_campaign.m_force->m_lastChild->m_strength, 4);
    EXPECT_NE(ReadFileText(test.folder.Path("Run.cpn")).find("    1200 104 2 2 4 100 "), std::string::npos);
    EXPECT_EQ(test.context.g_mapMarkerX, 300);
}

TEST_F(LinkedPreparationTest, EachErrorShowsItsTextAndPreparesNothing)
{
    struct Case {
        const char* what;
        std::function<void(CampaignTestFolder&)> spoil;
        const char* text;
    } const cases[] = {
        { "no definition", [](CampaignTestFolder& t) { t.context.g_campaign.m_regionPrefix = "none.lcg"; },
            "Error reading campaign data" },
        { "no node", [](CampaignTestFolder& t) { t.context.g_campaign.m_linkedBattleId = 7; },
            "Error in campaign data" },
        { "no battle file", [](CampaignTestFolder& t) { std::filesystem::remove(t.folder.Path("battle1.cpn")); },
            "Error reading campaign data" },
    };
    for (const Case& c : cases) {
        SetUp();
        test.messages.clear();
        std::filesystem::remove(test.folder.Path("Run.cpn"));
        c.spoil(test);
        const LinkedBattlePreparation prepared = PrepareLinkedCampaignBattle(test.context, nullptr);
        EXPECT_FALSE(prepared.prepared) << c.what;
        EXPECT_EQ(prepared.briefing, "") << c.what;
        EXPECT_EQ(test.messages, (std::vector<ShownMessage> { { c.text, "Campaign Error" } })) << c.what;
        EXPECT_FALSE(std::filesystem::exists(test.folder.Path("Run.cpn"))) << c.what;
    }
}
