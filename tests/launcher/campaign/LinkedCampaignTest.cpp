// Linked campaigns: the chain's definition, the run's ".ccl" file, and the
// force a new run starts with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CampaignFileSupport.h"
#include "TestFiles.h"
#include "launcher/campaign/CampaignFile.h"
#include "launcher/campaign/LinkedCampaign.h"

namespace fs = std::filesystem;

namespace {

// Two battles and two ends; the numbers of the second battle run over lines.
constexpr const char* kDefinition = "100 7 1 trailing words\n"
                                    "Operation Torch\n"
                                    "10 1\t0 421108 rest\n"
                                    "The landings at Oran\n"
                                    "and the push east.\n"
                                    "\n"
                                    "1 torch1.cpn/120 45 -1 -1 2 2 2 0 Landing at Oran\n"
                                    "2  torch2.cpn/200\n"
                                    "60 -1 -1 -1 -2 -2 150 Tebourba Gap\n"
                                    "-1 The chain ended in defeat.\n"
                                    "-2 Tunis falls/the war in Africa ends\n";

std::string NodeLine(const LinkedBattleNode& node)
{
    std::string line = std::to_string(node.m_id) + " '" + node.m_battleFile + "' " + std::to_string(node.m_mapX) + ","
        + std::to_string(node.m_mapY) + " [";
    for (const std::int32_t next : node.m_nextIds)
        line += std::to_string(next) + " ";
    return line + "] " + std::to_string(node.m_replacementPoints) + " '" + node.m_text + "'";
}

std::vector<std::string> NodeLines(const LinkedCampaignTree& tree)
{
    std::vector<std::string> lines;
    for (const LinkedBattleNode& node : tree.m_nodes)
        lines.push_back(NodeLine(node));
    return lines;
}

// Platoon lines of nation 10 (as the order-of-battle tests use).
constexpr const char* kPlatoons10
    = "P10401 2 0  3 100 10 10  5 0  0 H 0 0 0 13 0 0 0 us_ltcol 30 2 3 0 0 0 42 1 45 8 3 3 3 Battalion Commander, Bn "
      "CO, Lieutenant Colonel\n"
      "P10200 8 3  4  40 20 15  5 0  0 I 0 0 0 0 2 0 0 us_rifle 10 2 131 0 1 0 42 2 45 8 4 4 4 Rifle Platoon, Rifle "
      "Plt, M1 rifles\n"
      "P10100 4 1  3  30 25 20  4 0  0 W 0 0 0 2 4 0 0 us_hmg 12 2 131 4 1 8 42 1 45 8 3 3 3 Heavy Machine Gun "
      "Platoon, HMG Plt, M1917A1\n";

// A force whose units climb back two levels at once.
std::unique_ptr<UnitRecord> MakeLinkedForce()
{
    auto root = MakeFileUnit("K1050001", 100, "II Corps", "Gen. Fredendall", 1, 5, 0, 0, 6, 0, 0, 0);
    UnitRecord* division = AttachChildUnit(
        MakeFileUnit("D1040001", 101, "1st Infantry Division", "Gen. Allen", 1, 5, 0, 0, 6, 0, 0, 10), *root);
    UnitRecord* regiment
        = AttachChildUnit(MakeFileUnit("R1020001", 102, " 16th Infantry ", "", 1, 5, 0, 0, 7, 0, 0, 0), *division);
    AttachChildUnit(MakeFileUnit("P10200", 103, "Rifle Platoon A", "Rifle Plt", 1, 6, 8, 0, 7, 0, 0, 30), *regiment);
    AttachChildUnit(MakeFileUnit("P10100", 104, "MG Platoon", "HMG Plt", 1, 2, 4, 0, 6, 0, 0, 0), *regiment);
    UnitRecord* second
        = AttachChildUnit(MakeFileUnit("D1040002", 105, "Empty Division", "Gen. Ward", 1, 5, 0, 0, 5, 0, 0, 0), *root);
    AttachChildUnit(MakeFileUnit("P10401", 106, "Division HQ", "Bn CO", 1, 2, 2, 0, 6, 0, 0, 0), *second);
    return root;
}

LinkedCampaignHeader MakeHeader()
{
    LinkedCampaignHeader header;
    header.m_definitionFile = "torch.lcg";
    header.m_currentBattleId = 2;
    header.m_nation = 10;
    header.m_currentDate = 421120;
    header.m_region = 0;
    CampaignRecord history;
    AddHistory(history, "Landing at Oran", 421108, 3, 1);
    AddHistory(history, "Tebourba Gap", 421120, 5, -1);
    header.m_history = std::move(history.m_history);
    header.m_force = MakeLinkedForce();
    return header;
}

constexpr const char* kHeaderText = "torch.lcg\n"
                                    "2 10 421120 0\n"
                                    "2\n"
                                    "Landing at Oran\n"
                                    "421108 1 3\n"
                                    "Tebourba Gap\n"
                                    "421120 -1 5\n"
                                    "0 K1050001 6 5 0 100 II Corps\n"
                                    "Gen. Fredendall\n"
                                    "1 D1040001 6 5 10 101 1st Infantry Division\n"
                                    "Gen. Allen\n"
                                    "2 R1020001 7 5 0 102  16th Infantry \n"
                                    "\n"
                                    "3 P10200 7 6 30 103 Rifle Platoon A\n"
                                    "Rifle Plt\n"
                                    "3 P10100 6 2 0 104 MG Platoon\n"
                                    "HMG Plt\n"
                                    "1 D1040002 5 5 0 105 Empty Division\n"
                                    "Gen. Ward\n"
                                    "2 P10401 6 2 0 106 Division HQ\n"
                                    "Bn CO\n"
                                    "-1\n";

class LinkedCampaignTest : public ::testing::Test {
protected:
    void SetUp() override { test.folder.Write("platoon10.obx", ScrambleText(kPlatoons10)); }

    CampaignTestFolder test;
};

} // namespace

TEST_F(LinkedCampaignTest, TheDefinitionGivesItsHeaderDescriptionAndNodes)
{
    LinkedCampaignTree tree;
    ASSERT_EQ(tree.ReadText(kDefinition, "torch.lcg"), "");
    EXPECT_EQ(tree.m_forceUnitNumber, 100);
    EXPECT_EQ(tree.m_value2, 7);
    EXPECT_EQ(tree.m_flag, 1);
    EXPECT_EQ(tree.m_title, "Operation Torch");
    EXPECT_EQ(tree.m_nation, 10);
    EXPECT_EQ(tree.m_enemyNation, 1);
    EXPECT_EQ(tree.m_region, 0);
    EXPECT_EQ(tree.m_startDate, 421108);
    EXPECT_EQ(tree.m_description, "The landings at Oran and the push east.");
    EXPECT_EQ(NodeLines(tree),
        (std::vector<std::string> {
            "1 'torch1.cpn' 120,45 [-1 -1 2 2 2 ] 0 'Landing at Oran'",
            "2 'torch2.cpn' 200,60 [-1 -1 -1 -2 -2 ] 150 'Tebourba Gap'",
            "-1 'The chain ended in defeat.' 0,0 [0 0 0 0 0 ] 0 ''",
            "-2 'Tunis falls/the war in Africa ends' 0,0 [0 0 0 0 0 ] 0 ''",
        }));
    EXPECT_EQ(tree.FirstBattleId(), 1);
    ASSERT_NE(tree.FindNode(2), nullptr);
    EXPECT_EQ(tree.FindNode(2)->m_replacementPoints, 150);
    EXPECT_EQ(tree.FindNode(-2)->m_battleFile, "Tunis falls/the war in Africa ends");
    EXPECT_EQ(tree.FindNode(3), nullptr);
    EXPECT_EQ(LinkedCampaignTree().FirstBattleId(), 0);
}

TEST_F(LinkedCampaignTest, TheNextBattleOfAnOutcomeIsHeldToTheFiveOutcomes)
{
    LinkedBattleNode node;
    node.m_nextIds = { 11, 12, 13, 14, 15 };
    struct Case {
        int outcome;
        std::int32_t next;
    };
    const Case cases[] = { { -1000, 11 }, { -3, 11 }, { -2, 11 }, { -1, 12 }, { 0, 13 }, { 1, 14 }, { 2, 15 },
        { 3, 15 }, { 1 << 30, 15 } };
    for (const Case& c : cases)
        EXPECT_EQ(node.NextBattleId(c.outcome), c.next) << c.outcome;
}

TEST_F(LinkedCampaignTest, TheLastNodeIsKeptWhenAllItsFieldsReadBeforeTheEnd)
{
    const std::string head = "100 0 0\nT\n10 1 0 421108\nA description.\n ended by a line with a blank\n";
    struct Case {
        const char* nodes;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        { "", {} },
        { "1 b.cpn/1 2 3 4 5 6 7 8 Named", { "1 'b.cpn' 1,2 [3 4 5 6 7 ] 8 'Named'" } },
        { "1 b.cpn/1 2 3 4 5 6 7 8", { "1 'b.cpn' 1,2 [3 4 5 6 7 ] 8 ''" } },
        { "1 b.cpn/1 2 3 4 5 6 7 8\r\n-1 End",
            { "1 'b.cpn' 1,2 [3 4 5 6 7 ] 8 ''", "-1 'End' 0,0 [0 0 0 0 0 ] 0 ''" } },
        { "1 b.cpn/1 2 3 4 5 6 7", {} },
        { "1 b.cpn", {} },
        { "0 Last words", { "0 'Last words' 0,0 [0 0 0 0 0 ] 0 ''" } },
        { "0", { "0 '' 0,0 [0 0 0 0 0 ] 0 ''" } },
        { "1 b.cpn/1 2 3 4 5 6 7 8 Named\n\n\n  ", { "1 'b.cpn' 1,2 [3 4 5 6 7 ] 8 'Named'" } },
    };
    for (const Case& c : cases) {
        LinkedCampaignTree tree;
        ASSERT_EQ(tree.ReadText(head + c.nodes, "x.lcg"), "") << c.nodes;
        EXPECT_EQ(tree.m_description, "A description.");
        EXPECT_EQ(NodeLines(tree), c.expected) << c.nodes;
    }
}

TEST_F(LinkedCampaignTest, ADamagedDefinitionIsRefusedAtItsLine)
{
    struct Case {
        const char* text;
        int line;
    };
    const Case cases[] = {
        { "", 1 },
        { "100 0\n", 2 },
        { "100 0 x\nT\n", 1 },
        { "100 0 0\n", 2 },
        { "100 0 0\nTitle\n10 1 0\n", 4 },
        { "100 0 0\nTitle\n10 1 0 99999999999\n", 3 },
        { "100 0 0\nTitle\n10 1 0 421108\nD\n\n1 b.cpn/1 2 x 4 5 6 7 8\n", 6 },
        { "100 0 0\nTitle\n10 1 0 421108\nD\n\n1 b.cpn/1 2 3 4 5 6 7 8\nnode\n", 7 },
    };
    LinkedCampaignTree tree;
    ASSERT_EQ(tree.ReadText(kDefinition, "torch.lcg"), "");
    for (const Case& c : cases) {
        EXPECT_EQ(tree.ReadText(c.text, "bad.lcg"),
            "Error reading linked campaign file bad.lcg, line " + std::to_string(c.line))
            << c.text;
        EXPECT_EQ(tree.m_title, "Operation Torch") << "left as it was";
        EXPECT_EQ(tree.m_nodes.size(), 4u);
    }
    const std::string longTitle = "100 0 0\n" + std::string(kMaxTextLineLength + 1, 't') + "\n10 1 0 421108\n";
    EXPECT_EQ(tree.ReadText(longTitle, "bad.lcg"), "Error reading linked campaign file bad.lcg, line 2");
    EXPECT_EQ(tree.Read(test.context, "missing.lcg"), "Cannot open linked campaign file missing.lcg");
}

TEST_F(LinkedCampaignTest, TheRunIsWrittenAndReadBackWithItsClimbsRolesAndFullStrengths)
{
    const LinkedCampaignHeader header = MakeHeader();
    std::string refusal;
    EXPECT_EQ(WriteLinkedCampaign(header, refusal), kHeaderText);
    EXPECT_EQ(refusal, "");

    std::string text = kHeaderText;
    LinkedCampaignHeader read;
    ASSERT_EQ(ReadLinkedCampaignHeader(test.context, read, text, "run.ccl"), "");
    EXPECT_EQ(read.m_definitionFile, "torch.lcg");
    EXPECT_EQ(read.m_currentBattleId, 2);
    EXPECT_EQ(read.m_currentDate, 421120);
    ASSERT_NE(read.m_history, nullptr);
    EXPECT_EQ(read.m_history->m_battleName, "Tebourba Gap") << "newest first";
    EXPECT_EQ(read.m_history->m_result, -1);
    EXPECT_EQ(read.m_history->m_battleType, 5);
    EXPECT_EQ(DescribeTree(read.m_force.get()), DescribeTree(header.m_force.get()));
    EXPECT_EQ(DescribeRolesAndExperience(read.m_force.get()),
        "K1050001:1/0 D1040001:1/10 R1020001:1/0 P10200:1/30 P10100:1/0 D1040002:1/0 P10401:1/0 ");
    EXPECT_EQ(WriteLinkedCampaign(read, refusal), kHeaderText);

    // Roles are 1 and full strengths the platoon lines' whatever the file.
    std::string other = kHeaderText;
    other.replace(other.find("3 P10200 7 6 30"), 15, "3 P10200 7 1 30");
    ASSERT_EQ(ReadLinkedCampaignHeader(test.context, read, other, "run.ccl"), "");
    const UnitRecord* rifles = FindUnitByNumber(read.m_force.get(), 103);
    EXPECT_EQ(rifles->m_strength, 1);
    EXPECT_EQ(rifles->m_fullStrength, 8);
    EXPECT_EQ(FindUnitByNumber(read.m_force.get(), 101)->m_fullStrength, 0) << "no platoon";
}

TEST_F(LinkedCampaignTest, ADamagedRunFileIsRefusedAtItsLine)
{
    using Lines = std::vector<std::string>;
    struct Case {
        const char* what;
        Lines (*spoil)(Lines);
        int line;
    };
    const Case cases[] = {
        { "three numbers on line 2", [](Lines l) { return (l[1] = "2 10 421120", l); }, 2 },
        { "a negative history count", [](Lines l) { return (l[2] = "-2", l); }, 3 },
        { "a history count above the entries", [](Lines l) { return (l[2] = "9", l); }, 9 },
        { "a history pair without its type", [](Lines l) { return (l[4] = "421108 1", l); }, 5 },
        { "a unit without its number", [](Lines l) { return (l[7] = "0 K1050001 6 5 0", l); }, 8 },
        { "a root below 0", [](Lines l) { return (l[7] = "-3 K1050001 6 5 0 100 II Corps", l); }, 8 },
        { "a root deeper than 0", [](Lines l) { return (l[7] = "1 K1050001 6 5 0 100 II Corps", l); }, 8 },
        { "a depth two below the unit before", [](Lines l) { return (l[9] = "2 D1040001 6 5 10 101 1st", l); }, 10 },
        { "a second root", [](Lines l) { return (l[17] = "0 D1040002 5 5 0 105 Empty Division", l); }, 18 },
        { "a strength beyond 32 bits", [](Lines l) { return (l[13] = "3 P10200 7 6000000000 30 103 A", l); }, 14 },
        { "no closing line", [](Lines l) { return (l.pop_back(), l); }, 22 },
        { "no leader line", [](Lines l) { return (l.resize(20), l); }, 21 },
        { "an over-long leader", [](Lines l) { return (l[8] = std::string(kMaxTextLineLength + 1, 'g'), l); }, 9 },
    };
    std::string good = kHeaderText;
    LinkedCampaignHeader header;
    ASSERT_EQ(ReadLinkedCampaignHeader(test.context, header, good, "run.ccl"), "");
    const std::string before = DescribeTree(header.m_force.get());
    for (const Case& c : cases) {
        std::string text = JoinLines(c.spoil(SplitLines(kHeaderText)));
        EXPECT_EQ(ReadLinkedCampaignHeader(test.context, header, text, "run.ccl"),
            "Error reading campaign file run.ccl, line " + std::to_string(c.line))
            << c.what;
        EXPECT_EQ(DescribeTree(header.m_force.get()), before) << c.what;
        EXPECT_EQ(header.m_definitionFile, "torch.lcg") << c.what;

        test.folder.Write("damaged.ccl", text);
        CampaignRecord summary;
        EXPECT_TRUE(ReadLinkedCampaignSummary(test.context, "damaged.ccl", summary)) << c.what;
    }
}

TEST_F(LinkedCampaignTest, TheRunFillsTheCampaignAsALinkedCampaignWithoutCommander)
{
    test.folder.Write("Torch Run.ccl", kHeaderText);
    CampaignRecord& record = test.context.g_campaign;
    FillSampleCampaign(record);
    record.m_arm = 1;
    ASSERT_EQ(ReadCampaign(test.context, record, "Torch Run.ccl"), "");
    EXPECT_EQ(DescribeRecord(record).substr(0, DescribeRecord(record).find('\n')),
        "linked 1 battle 2 'Torch Run' '' 'torch.lcg' 'II Corps' nation 10 portrait -1 rank -1 level 0 ai 0 score 0 "
        "enemy 0 dates 0-0 now 421120+0 section -1 region 0 0 0 pending '' commander -1 decorations 0 0 0 0 0 0");
    EXPECT_EQ(record.m_history->m_battleName, "Tebourba Gap");
    EXPECT_EQ(record.m_arm, 1);
    EXPECT_FALSE(record.IsOver());
    EXPECT_STREQ(GetRankName(record.m_nation, record.m_rank), "N/A");

    CampaignRecord summary;
    ASSERT_TRUE(ReadCampaignSummary(test.context, "Torch Run.ccl", summary));
    EXPECT_EQ(summary.m_name, "Torch Run");
    EXPECT_EQ(summary.m_regionPrefix, "torch.lcg");
    EXPECT_EQ(summary.m_formationName, "II Corps");
    EXPECT_EQ(summary.m_nation, 10);
    EXPECT_EQ(summary.m_currentDate, 421120);
    EXPECT_EQ(summary.m_portrait, -1);
    EXPECT_EQ(summary.m_charSection, -1);
    EXPECT_FALSE(ReadLinkedCampaignSummary(test.context, "none.ccl", summary));
}

TEST_F(LinkedCampaignTest, ALinkedSaveKeepsItsBackupAndUndoRestoresIt)
{
    test.folder.Write("Torch Run.ccl", kHeaderText);
    CampaignRecord& record = test.context.g_campaign;
    ASSERT_EQ(ReadCampaign(test.context, record, "Torch Run.ccl"), "");
    record.m_linkedBattleId = -1;
    ASSERT_EQ(SaveCampaign(test.context, record), "");
    EXPECT_EQ(ReadWholeFile(test.folder.Path("Torch Run.ccx")), kHeaderText);
    EXPECT_TRUE(ReadWholeFile(test.folder.Path("Torch Run.ccl")).starts_with("torch.lcg\n-1 10 421120 0\n"));
    EXPECT_TRUE(record.IsOver());
    EXPECT_FALSE(fs::exists(test.folder.Path("Torch Run.ccd")));

    test.folder.Write("Torch Run.cpn", "battle\n");
    EXPECT_EQ(record.RestoreBackup(test.context), "");
    EXPECT_EQ(ReadWholeFile(test.folder.Path("Torch Run.ccl")), kHeaderText);
    EXPECT_EQ(record.m_linkedBattleId, 2);
    EXPECT_FALSE(fs::exists(test.folder.Path("Torch Run.cpn")));

    // The header's own save keeps the backup alike.
    LinkedCampaignHeader header = MakeHeader();
    header.m_currentBattleId = 1;
    ASSERT_EQ(SaveLinkedCampaign(test.context, header, "Torch Run.ccl"), "");
    EXPECT_EQ(ReadWholeFile(test.folder.Path("Torch Run.ccx")), kHeaderText);
    header.m_force->m_firstChild->m_id = "D 1";
    std::string refusal;
    EXPECT_EQ(WriteLinkedCampaign(header, refusal), "");
    EXPECT_NE(refusal, "");
    EXPECT_NE(SaveLinkedCampaign(test.context, header, "Torch Run.ccl"), "");
}

namespace {

constexpr const char* kOrganisation = "1\n"
                                      "300\n"
                                      "11 42\n"
                                      "K1050001 100 6 II Corps\n"
                                      "    D1040001 101 6 1st Infantry Division\n"
                                      "        R1020001 102 6 16th Infantry\n"
                                      "            P10200 103 7 Rifle Platoon A\n"
                                      "            P10100 104 6 MG Platoon#a note\n"
                                      "            End\n"
                                      "        End\n"
                                      "    D1040002 105 5 Empty Division\n"
                                      "        End\n"
                                      "    P10401 106 6 Corps Headquarters\n"
                                      "    End\n"
                                      "B0120001 201 5 Enemy Battalion\n"
                                      "    P01101 202 5 Grenadiers\n"
                                      "    End\n";

// A battle file's first ten lines, its organisation file's name stored as
// the version stores it.
std::string BattleHead(int version, const std::string& orgName)
{
    std::string stored = orgName;
    if (version >= 8)
        stored = ScrambleLine(orgName) + (version >= 9 ? " " : "");
    return std::to_string(version) + "\nLanding at Oran\n4 1 0 60\n1 2 0 1 15\n3 2 1 0 80 70\n0\n-20 -5 5 20 3\n"
        + "60 40 10 88\n" + (version >= 8 ? ScrambleLine("torch1.map") : std::string("torch1.map")) + "\n" + stored
        + "\n 3 3 3\n";
}

} // namespace

TEST_F(LinkedCampaignTest, TheStartingForceIsTheOrganisationSubtreeWithItsPlatoonLines)
{
    test.folder.Write("torch.lcg", kDefinition);
    test.folder.Write("TORCH1.ORG", kOrganisation);
    test.context.g_unitCounter = 40;
    const std::string expected = "K1050001 #100 'II Corps' 'II Corps' s0/0 z0 m6 0-0 v0,0\n"
                                 "  D1040001 #101 '1st Infantry Division' '1st Infantry Division' s0/0 z0 m6 0-0 v0,0\n"
                                 "    R1020001 #102 '16th Infantry' '16th Infantry' s0/0 z0 m6 0-0 v0,0\n"
                                 "      P10200 #103 'Rifle Platoon A' 'Rifle Plt' s8/8 z10 m7 420200-450800 v2,131\n"
                                 "      P10100 #104 'MG Platoon' 'HMG Plt' s4/4 z12 m6 420100-450800 v2,131\n"
                                 "  D1040002 #105 'Empty Division' 'Empty Division' s0/0 z0 m5 0-0 v0,0\n"
                                 "  P10401 #106 'Corps Headquarters' 'Bn CO' s2/2 z30 m6 420100-450800 v2,3\n";
    for (const int version : { 7, 8, 9, 10 }) {
        test.folder.Write("torch1.cpn", BattleHead(version, "torch1.org"));
        const std::unique_ptr<UnitRecord> force = ReadLinkedStartingForce(test.context, "torch.lcg", 1);
        ASSERT_NE(force, nullptr) << version;
        EXPECT_EQ(DescribeTree(force.get()), expected) << version;
        EXPECT_EQ(test.context.g_unitCounter, 40) << "no running number is taken";
        const UnitRecord* regiment = FindUnitByNumber(force.get(), 102);
        EXPECT_EQ(regiment->m_lastChild->m_number, 104);
        EXPECT_EQ(regiment->m_firstChild->m_parent, regiment);
    }
}

TEST_F(LinkedCampaignTest, NoStartingForceWithoutItsDefinitionBattleOrganisationOrUnit)
{
    struct Case {
        const char* what;
        const char* definition;
        std::int32_t battle;
        const char* battleText; // null: no battle file
        const char* org; // null: no organisation file
    };
    const std::string head9 = BattleHead(9, "torch1.org");
    const Case cases[] = {
        { "no definition", nullptr, 1, head9.c_str(), kOrganisation },
        { "no such battle", kDefinition, 7, head9.c_str(), kOrganisation },
        { "an end node", kDefinition, -1, head9.c_str(), kOrganisation },
        { "no battle file", kDefinition, 1, nullptr, kOrganisation },
        { "a battle file cut short", kDefinition, 1, "9\nLanding\n", kOrganisation },
        { "no organisation file", kDefinition, 1, head9.c_str(), nullptr },
        { "a damaged organisation file", kDefinition, 1, head9.c_str(), "2\n300\n11 42\nK1050001 100 6 II Corps\n" },
        { "no unit of the number", "555 0 0\nT\n10 1 0 421108\n\n1 torch1.cpn/1 2 3 4 5 6 7 8\n", 1, head9.c_str(),
            kOrganisation },
    };
    for (const Case& c : cases) {
        CampaignTestFolder folder;
        if (c.definition)
            folder.folder.Write("torch.lcg", c.definition);
        if (c.battleText)
            folder.folder.Write("torch1.cpn", c.battleText);
        if (c.org)
            folder.folder.Write("torch1.org", c.org);
        EXPECT_EQ(ReadLinkedStartingForce(folder.context, "torch.lcg", c.battle), nullptr) << c.what;
    }
}
