// The single campaign's file: its text, reading it back, refusing damaged
// files, the atomic save with its backup, and undo.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "CampaignFileSupport.h"
#include "launcher/campaign/CampaignFile.h"

namespace fs = std::filesystem;

namespace {

std::string SampleText() { return JoinLines(kSampleCampaignLines); }

class CampaignFileTest : public ::testing::Test {
protected:
    std::string Read(std::string_view name) { return ReadCampaign(test.context, test.context.g_campaign, name); }
    std::string Saved() { return ReadWholeFile(test.folder.Path("Kasserine Run.ccd")); }

    CampaignTestFolder test;
};

} // namespace

TEST_F(CampaignFileTest, TheTextIsWrittenLineForLine)
{
    CampaignRecord record;
    FillSampleCampaign(record);
    std::string refusal;
    EXPECT_EQ(MakeCampaignText(record, 5000, refusal), SampleText());
    EXPECT_EQ(refusal, "");
}

TEST_F(CampaignFileTest, ReadingGivesBackTheSameCampaignAndWritingItTheSameText)
{
    CampaignRecord original;
    FillSampleCampaign(original);
    test.folder.Write("Kasserine Run.ccd", SampleText());
    test.context.g_campaign.m_arm = 1;
    test.context.g_campaign.m_selectedForceCost = 800;

    ASSERT_EQ(Read("Kasserine Run.ccd"), "");
    const CampaignRecord& read = test.context.g_campaign;
    EXPECT_EQ(DescribeRecord(read), DescribeRecord(original));
    EXPECT_EQ(DescribeRolesAndExperience(read.m_force.get()), DescribeRolesAndExperience(original.m_force.get()));
    EXPECT_EQ(test.context.g_unitCounter, 5000);
    EXPECT_EQ(read.m_arm, 1) << "not stored: kept";
    EXPECT_EQ(read.m_selectedForceCost, 0) << "chosen again after a read";
    EXPECT_EQ(read.m_history->m_battleName, "Sbeitla") << "newest first";

    // The links: parents, last subunits and successor chains.
    const UnitRecord* root = read.m_force.get();
    EXPECT_EQ(root->m_parent, nullptr);
    EXPECT_EQ(root->m_lastChild->m_id, "P10100");
    EXPECT_EQ(root->m_lastChild->m_parent, root);
    const UnitRecord* mortars = FindUnitByNumber(root, 8);
    ASSERT_NE(mortars, nullptr);
    EXPECT_EQ(mortars->m_parent->m_parent->m_number, 5);
    const UnitRecord* first = FindUnitByNumber(root, 3);
    ASSERT_EQ(CountSuccessors(*first), 2);
    EXPECT_EQ(first->m_nextSuccessor->m_size, 12);
    EXPECT_EQ(first->m_nextSuccessor->m_nextSuccessor->m_availableFrom, 440100);

    std::string refusal;
    EXPECT_EQ(MakeCampaignText(read, test.context.g_unitCounter, refusal), SampleText());
}

TEST_F(CampaignFileTest, AnOlderFileReadsAndSavesInTodaysLayout)
{
    // Six numbers on the fourth line, a prefix of 60 characters, a pending
    // line of only its blank, an empty history, the counter line without the
    // opponent, names without their blanks, successors on a root, a tab
    // before a unit line and carriage returns.
    const std::string prefix = "Tunisia and the long road north to Bizerte, Tunis and Cap Bon";
    test.folder.Write("old.ccd",
        "Old Campaign  \r\n"
        "C1002001 "
            + prefix
            + "\r\n"
              "Able Company\n"
              "1 -1 0 0 0 0\n"
              "430201 430531 430201 0 -1\n"
              "4 0 0\n"
              " \n"
              "0 0 0 0 0 0\n"
              "-1\n"
              "77 12\n"
              "ORGANIZATION INFORMATION\n"
              "\t1 0 5 5 24 6 420100 450500 10 0 C1002001\n"
              "Able Company\n"
              "Capt. Reed\n"
              "1\n"
              "XXXXXXX Upgrades XXXXXXXXXXXX\n"
              "1 0 5 5 26 6 440100 450500 11 0 C1002101\n"
              "Able Company (Armored)\n"
              "Capt. Reed\n"
              "XXXXXXXXXXXXXXXXXXX\n"
              "   2 1 1 1 1 7 0 0 12 0 P01401\n"
              "Old Campaign\n"
              "Old Campaign\n"
              "0\n");
    ASSERT_EQ(Read("old.ccd"), "");
    CampaignRecord& record = test.context.g_campaign;
    EXPECT_EQ(record.m_name, "Old Campaign");
    EXPECT_EQ(record.m_regionPrefix, prefix.substr(0, 49));
    EXPECT_EQ(record.m_enemyNation, 0) << "nation 1 fights nation 0";
    EXPECT_EQ(record.m_pendingBattle, "");
    EXPECT_EQ(record.m_history, nullptr);
    EXPECT_EQ(test.context.g_unitCounter, 77);

    ASSERT_EQ(SaveCampaign(test.context, record), "");
    EXPECT_EQ(ReadWholeFile(test.folder.Path("Old Campaign.ccd")),
        "Old Campaign\n"
        "C1002001 "
            + prefix.substr(0, 49)
            + "\n"
              "Able Company\n"
              "1 -1 0 0 0 0 0\n"
              "430201 430531 430201 0 -1\n"
              "4 0 0\n"
              " \n"
              "0 0 0 0 0 0 \n"
              "-1\n"
              "77 12 0\n"
              "ORGANIZATION INFORMATION\n"
              "   1 0 5 5 24 6 420100 450500 10 0 C1002001 \n"
              "Able Company \n"
              "Capt. Reed \n"
              "1 \n"
              "XXXXXXX Upgrades XXXXXXXXXXXX \n"
              "1 0 5 5 26 6 440100 450500 11 0 C1002101 \n"
              "Able Company (Armored) \n"
              "Capt. Reed \n"
              "XXXXXXXXXXXXXXXXXXX \n"
              "      2 1 1 1 1 7 0 0 12 0 P01401 \n"
              "Old Campaign \n"
              "Old Campaign \n"
              "0 \n");
}

TEST_F(CampaignFileTest, TheOpponentOfAnOlderFileFollowsTheNationUnlessTheCounterLineGivesIt)
{
    struct Case {
        const char* fourth;
        const char* counter;
        std::int32_t enemy;
    };
    const Case cases[] = {
        { "1 0 0 0 0 0", "5 6", 0 },
        { "10 0 0 0 0 0", "5 6", 1 },
        { "0 0 0 0 0 0", "5 6", 1 },
        { "10 0 0 0 0 0", "5 6 7", 7 },
        { "10 0 0 0 0 0 3", "5 6", 3 },
        { "10 0 0 0 0 0 3", "5 6 8", 8 },
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = kSampleCampaignLines;
        lines[3] = c.fourth;
        lines[13] = c.counter;
        test.folder.Write("c.ccd", JoinLines(lines));
        ASSERT_EQ(Read("c.ccd"), "") << c.fourth;
        EXPECT_EQ(test.context.g_campaign.m_enemyNation, c.enemy) << c.fourth << " / " << c.counter;
    }
}

TEST_F(CampaignFileTest, TextsComeBackAsTheReaderCutsThem)
{
    struct Case {
        const char* pending;
        const char* prefix;
        const char* readPending;
        const char* readPrefix;
    };
    const Case cases[] = {
        { "Sidi Bou Zid", "", "Sidi", "" },
        { "", "Tunisia", "", "Tunisia" },
        { "  Gafsa", "Southern Tunisia", "Gafsa", "Southern Tunisia" },
        { "x", "12345678901234567890123456789012345678901234567890123", "x",
            "1234567890123456789012345678901234567890123456789" },
    };
    for (const Case& c : cases) {
        CampaignRecord& record = test.context.g_campaign;
        record = CampaignRecord();
        FillSampleCampaign(record);
        record.m_pendingBattle = c.pending;
        record.m_regionPrefix = c.prefix;
        record.m_force->m_name = "2nd Battalion   ";
        ASSERT_EQ(SaveCampaign(test.context, record), "");
        ASSERT_EQ(Read("Kasserine Run.ccd"), "");
        EXPECT_EQ(record.m_pendingBattle, c.readPending);
        EXPECT_EQ(record.m_regionPrefix, c.readPrefix);
        EXPECT_EQ(record.m_force->m_name, "2nd Battalion") << "trailing blanks are cut";
    }
}

TEST_F(CampaignFileTest, AnEmptyHistoryIsOnlyItsEndLine)
{
    CampaignRecord record;
    FillSampleCampaign(record);
    record.m_history.reset();
    std::string refusal;
    const std::vector<std::string> lines = SplitLines(MakeCampaignText(record, 5000, refusal));
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(lines[7], "1 0 2 0 0 3 ");
    EXPECT_EQ(lines[8], "-1");
    EXPECT_EQ(lines[9], "5000 25 1");
}

TEST_F(CampaignFileTest, ASaveCutsTheLineFeedsOfItsNamesAndRefusesTextsThatWouldNotReadBack)
{
    CampaignRecord& record = test.context.g_campaign;
    FillSampleCampaign(record);
    test.context.g_unitCounter = 5000;
    record.m_name += '\n';
    record.m_formationId += '\n';
    record.m_formationName += '\n';
    ASSERT_EQ(SaveCampaign(test.context, record), "");
    EXPECT_EQ(record.m_name, "Kasserine Run");
    EXPECT_EQ(Saved(), SampleText());

    struct Case {
        const char* what;
        void (*spoil)(CampaignRecord&);
    };
    const Case cases[] = {
        { "a name with a line end inside", [](CampaignRecord& r) { r.m_formationName = "2nd\nBattalion"; } },
        { "a unit id with a blank", [](CampaignRecord& r) { r.m_force->m_firstChild->m_id = "P10 401"; } },
        { "an empty unit id", [](CampaignRecord& r) { r.m_force->m_id.clear(); } },
        { "a successor's leader with a line end",
            [](CampaignRecord& r) { FindUnitByNumber(r.m_force.get(), 3)->m_nextSuccessor->m_leader = "a\r"; } },
        { "a battle name read as the history's end", [](CampaignRecord& r) { r.m_history->m_battleName = "-1 Hill"; } },
        { "a formation id with a blank", [](CampaignRecord& r) { r.m_formationId = "B10 12001"; } },
        { "a prefix without a formation id", [](CampaignRecord& r) { r.m_formationId.clear(); } },
        { "a line longer than the reader takes",
            [](CampaignRecord& r) { r.m_force->m_leader = std::string(kMaxTextLineLength, 'L'); } },
        { "two roots", [](CampaignRecord& r) { r.m_force->m_nextSibling = MakeUnit("B1012002", 99); } },
    };
    for (const Case& c : cases) {
        CampaignRecord spoilt;
        FillSampleCampaign(spoilt);
        c.spoil(spoilt);
        const std::string error = SaveCampaign(test.context, spoilt);
        EXPECT_TRUE(error.starts_with("Cannot save campaign Kasserine Run: ")) << c.what << ": " << error;
        EXPECT_EQ(Saved(), SampleText()) << c.what;
        EXPECT_FALSE(fs::exists(test.folder.Path("Kasserine Run.ccx"))) << c.what;
    }
}

TEST_F(CampaignFileTest, TheBackupHoldsTheFileAsItWasBeforeTheLastSave)
{
    CampaignRecord& record = test.context.g_campaign;
    FillSampleCampaign(record);
    test.context.g_unitCounter = 5000;
    ASSERT_EQ(SaveCampaign(test.context, record), "");
    EXPECT_FALSE(record.HasBackup(test.folder.Path())) << "nothing to keep at the first save";
    const std::string first = Saved();

    record.m_score = 2000;
    ASSERT_EQ(SaveCampaign(test.context, record), "");
    EXPECT_EQ(ReadWholeFile(test.folder.Path("Kasserine Run.ccx")), first);
    const std::string second = Saved();
    EXPECT_NE(second, first);

    record.m_score = 3000;
    ASSERT_EQ(SaveCampaign(test.context, record), "");
    EXPECT_EQ(ReadWholeFile(test.folder.Path("Kasserine Run.ccx")), second);
    EXPECT_EQ(
        FolderEntries(test.folder.Path()), (std::vector<std::string> { "Kasserine Run.ccd", "Kasserine Run.ccx" }));
}

TEST_F(CampaignFileTest, ASaveInAnotherLetterCaseReplacesTheFilesThatExist)
{
    test.folder.Write("KASSERINE RUN.CCD", "old campaign\n");
    test.folder.Write("kasserine run.CCX", "older campaign\n");
    CampaignRecord& record = test.context.g_campaign;
    FillSampleCampaign(record);
    test.context.g_unitCounter = 5000;
    ASSERT_EQ(SaveCampaign(test.context, record), "");
    EXPECT_EQ(
        FolderEntries(test.folder.Path()), (std::vector<std::string> { "KASSERINE RUN.CCD", "kasserine run.CCX" }));
    EXPECT_EQ(ReadWholeFile(test.folder.Path("KASSERINE RUN.CCD")), SampleText());
    EXPECT_EQ(ReadWholeFile(test.folder.Path("kasserine run.CCX")), "old campaign\n");
}

TEST_F(CampaignFileTest, AFailedSaveLeavesTheCampaignFileAndItsBackupAsTheyWere)
{
    struct Case {
        const char* what;
        const char* folderName; // made a folder (holding one file) instead
    };
    const Case cases[] = {
        { "the backup is a folder", "Kasserine Run.ccx" },
        { "the campaign file is a folder", "Kasserine Run.ccd" },
    };
    for (const Case& c : cases) {
        CampaignTestFolder folder;
        const fs::path blocked = folder.folder.Path(c.folderName);
        fs::create_directories(blocked);
        folder.folder.Write(std::string(c.folderName) + "/inside", "kept");
        const std::string other
            = std::string(c.folderName).ends_with(".ccx") ? "Kasserine Run.ccd" : "Kasserine Run.ccx";
        folder.folder.Write(other, "the other file\n");
        const std::vector<std::string> before = FolderEntries(folder.folder.Path());

        CampaignRecord record;
        FillSampleCampaign(record);
        const std::string error = SaveCampaign(folder.context, record);
        EXPECT_NE(error, "") << c.what;
        EXPECT_EQ(FolderEntries(folder.folder.Path()), before) << c.what << ": no temporary file is left";
        EXPECT_EQ(ReadWholeFile(folder.folder.Path(other)), "the other file\n") << c.what;
        EXPECT_EQ(ReadWholeFile(blocked / "inside"), "kept") << c.what;
    }
}

TEST_F(CampaignFileTest, ASaveIntoAReadOnlyFolderChangesNothing)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser writes into read-only folders";
    test.folder.Write("Kasserine Run.ccd", "old campaign\n");
    test.folder.Write("Kasserine Run.ccx", "older campaign\n");
    fs::permissions(test.folder.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    CampaignRecord& record = test.context.g_campaign;
    FillSampleCampaign(record);
    const std::string error = SaveCampaign(test.context, record);
    fs::permissions(test.folder.Path(), fs::perms::owner_all);
    EXPECT_NE(error, "");
    EXPECT_EQ(Saved(), "old campaign\n");
    EXPECT_EQ(ReadWholeFile(test.folder.Path("Kasserine Run.ccx")), "older campaign\n");
    EXPECT_EQ(
        FolderEntries(test.folder.Path()), (std::vector<std::string> { "Kasserine Run.ccd", "Kasserine Run.ccx" }));
}

TEST_F(CampaignFileTest, ADamagedFileIsRefusedAtItsLineAndChangesNothing)
{
    struct Case {
        const char* what;
        std::vector<std::string> (*spoil)(std::vector<std::string>);
        int line;
    };
    using Lines = std::vector<std::string>;
    const Case cases[] = {
        { "a bad number on the head", [](Lines l) { return (l[3] = "10 3 x 1 2 1234 1", l); }, 4 },
        { "five numbers on the fourth line", [](Lines l) { return (l[3] = "10 3 2 1 2", l); }, 4 },
        { "eight numbers on the fourth line", [](Lines l) { return (l[3] = "10 3 2 1 2 1234 1 9", l); }, 4 },
        { "a date beyond 32 bits", [](Lines l) { return (l[4] = "99999999999 430531 430214 2 4", l); }, 5 },
        { "a word after the dates", [](Lines l) { return (l[4] += " x", l); }, 5 },
        { "a 16-bit value too large", [](Lines l) { return (l[5] = "0 40000 300", l); }, 6 },
        { "five decoration counts", [](Lines l) { return (l[7] = "1 0 2 0 0", l); }, 8 },
        { "a history pair without its result", [](Lines l) { return (l[9] = "430201 3", l); }, 10 },
        { "a counter line of one number", [](Lines l) { return (l[13] = "5000", l); }, 14 },
        { "a counter line of four numbers", [](Lines l) { return (l[13] = "5000 25 1 7", l); }, 14 },
        { "another organisation line", [](Lines l) { return (l[14] = "ORGANISATION INFORMATION", l); }, 15 },
        { "a unit line without its id", [](Lines l) { return (l[15] = "   1 0 5 5 40 6 420100 450500 1 0 ", l); }, 16 },
        { "a unit line with a word more", [](Lines l) { return (l[15] += "B2", l); }, 16 },
        { "a role beyond 16 bits", [](Lines l) { return (l[19] = "      2 70000 1 1 1 7 0 0 25 3 P10401 ", l); }, 20 },
        { "a depth of 0", [](Lines l) { return (l[15] = "   0 0 5 5 40 6 420100 450500 1 0 B1012001 ", l); }, 16 },
        { "a root deeper than 1", [](Lines l) { return (l[15] = "   2 0 5 5 40 6 420100 450500 1 0 B1012001 ", l); },
            16 },
        { "a depth two below the unit before",
            [](Lines l) { return (l[19] = "      3 1 1 1 1 7 0 0 25 3 P10401 ", l); }, 20 },
        { "a second root", [](Lines l) { return (l[23] = "   1 2 5 5 24 6 420100 450500 2 0 C1002001 ", l); }, 24 },
        { "a negative successor count", [](Lines l) { return (l[18] = "-1 ", l); }, 19 },
        { "a successor count that is no number", [](Lines l) { return (l[18] = "none", l); }, 19 },
        { "more successors than the block holds", [](Lines l) { return (l[30] = "3 ", l); }, 39 },
        { "fewer successors than the block holds", [](Lines l) { return (l[30] = "1 ", l); }, 36 },
        { "no Upgrades line", [](Lines l) { return (l[31] = "Upgrades", l); }, 32 },
        { "an Upgrades block left open",
            [](Lines l) {
                l.erase(l.begin() + 38);
                return l;
            },
            39 },
        { "an over-long name", [](Lines l) { return (l[16] = std::string(kMaxTextLineLength + 1, 'n'), l); }, 17 },
        { "an over-long formation name", [](Lines l) { return (l[2] = std::string(5000, 'f'), l); }, 3 },
    };
    test.folder.Write("Kasserine Run.ccd", SampleText());
    ASSERT_EQ(Read("Kasserine Run.ccd"), "");
    const std::string before = DescribeRecord(test.context.g_campaign);

    auto check = [&](const std::string& what, const std::string& text, int line) {
        test.folder.Write("damaged.ccd", text);
        EXPECT_EQ(Read("damaged.ccd"), "Error reading campaign file damaged.ccd, line " + std::to_string(line)) << what;
        EXPECT_EQ(DescribeRecord(test.context.g_campaign), before) << what;
        EXPECT_EQ(test.context.g_unitCounter, 5000) << what;
        CampaignRecord summary;
        EXPECT_TRUE(ReadCampaignSummary(test.context, "damaged.ccd", summary)) << what;
    };
    for (const Case& c : cases)
        check(c.what, JoinLines(c.spoil(kSampleCampaignLines)), c.line);
    // Cut after every line of the head, and inside units and their blocks.
    for (const std::size_t kept : { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18, 31, 32, 34, 38 }) {
        Lines lines = kSampleCampaignLines;
        lines.resize(kept);
        check("cut after line " + std::to_string(kept), JoinLines(lines), static_cast<int>(kept) + 1);
    }
    // A cut inside a line: the unit line ends before its id.
    const std::string text = SampleText();
    check("cut inside a line", text.substr(0, text.find("B1012001 \n")), 16);
}

TEST_F(CampaignFileTest, AMissingFileIsRefusedAndTheSummaryReadsWhatItCan)
{
    FillSampleCampaign(test.context.g_campaign);
    const std::string before = DescribeRecord(test.context.g_campaign);
    EXPECT_EQ(Read("nowhere.ccd"), "Cannot open campaign file nowhere.ccd");
    EXPECT_EQ(DescribeRecord(test.context.g_campaign), before);
    CampaignRecord summary;
    EXPECT_FALSE(ReadCampaignSummary(test.context, "nowhere.ccd", summary));

    test.folder.Write("Kasserine Run.ccd", SampleText());
    ASSERT_TRUE(ReadCampaignSummary(test.context, "kasserine run.CCD", summary));
    EXPECT_EQ(summary.m_name, "Kasserine Run");
    EXPECT_EQ(summary.m_formationId, "B1012001 North Africa") << "the line as it stands";
    EXPECT_EQ(summary.m_formationName, "2nd Battalion, 16th Infantry");
    EXPECT_EQ(summary.m_nation, 10);
    EXPECT_EQ(summary.m_portrait, 3);
    EXPECT_EQ(summary.m_rank, 2);
    EXPECT_EQ(summary.m_currentDate, 430214);
    EXPECT_EQ(summary.m_dayOffset, 2);
    EXPECT_EQ(summary.m_charSection, 4);
    EXPECT_EQ(summary.m_startDate, 0) << "not kept";

    // A head cut on its fifth line: what came before is read.
    CampaignRecord partial;
    test.folder.Write("cut.ccd", "Cut\nC1\nName\n3 4 x\n430101");
    ASSERT_TRUE(ReadCampaignSummary(test.context, "cut.ccd", partial));
    EXPECT_EQ(partial.m_nation, 3);
    EXPECT_EQ(partial.m_portrait, 4);
    EXPECT_EQ(partial.m_rank, 0);
    EXPECT_EQ(partial.m_currentDate, 0);
}

TEST_F(CampaignFileTest, UndoWithoutABackupChangesNothing)
{
    CampaignRecord& record = test.context.g_campaign;
    FillSampleCampaign(record);
    test.folder.Write("Kasserine Run.ccd", "current\n");
    test.folder.Write("Kasserine Run.cpn", "battle\n");
    const std::string before = DescribeRecord(record);
    EXPECT_EQ(record.RestoreBackup(test.context), "");
    EXPECT_EQ(DescribeRecord(record), before);
    EXPECT_EQ(
        FolderEntries(test.folder.Path()), (std::vector<std::string> { "Kasserine Run.ccd", "Kasserine Run.cpn" }));
}

TEST_F(CampaignFileTest, UndoRestoresTheSaveBeforeAndDropsTheBattleSetUpSince)
{
    CampaignRecord& record = test.context.g_campaign;
    FillSampleCampaign(record);
    test.context.g_unitCounter = 5000;
    ASSERT_EQ(SaveCampaign(test.context, record), "");
    record.m_pendingBattle = "Thala";
    record.m_score = 9;
    test.context.g_unitCounter = 6000;
    ASSERT_EQ(SaveCampaign(test.context, record), "");
    for (const char* name : { "Kasserine Run.cpn", "KASSERINE RUN.ORG", "Kasserine Run.Map", "Kasserine Run.txt" })
        test.folder.Write(name, "set up\n");

    EXPECT_EQ(record.RestoreBackup(test.context), "");
    EXPECT_EQ(Saved(), SampleText());
    EXPECT_EQ(record.m_pendingBattle, "Sidi_Bou_Zid");
    EXPECT_EQ(record.m_score, 1234);
    EXPECT_EQ(test.context.g_unitCounter, 5000);
    EXPECT_EQ(FolderEntries(test.folder.Path()),
        (std::vector<std::string> { "Kasserine Run.ccd", "Kasserine Run.ccx", "Kasserine Run.txt" }));
}

TEST_F(CampaignFileTest, ADamagedBackupIsNoUndo)
{
    CampaignRecord& record = test.context.g_campaign;
    FillSampleCampaign(record);
    test.folder.Write("Kasserine Run.ccd", "current\n");
    test.folder.Write("Kasserine Run.ccx", "Kasserine Run\nB1012001\n");
    test.folder.Write("Kasserine Run.cpn", "battle\n");
    const std::string before = DescribeRecord(record);
    EXPECT_EQ(record.RestoreBackup(test.context), "Error reading campaign file Kasserine Run.ccx, line 3");
    EXPECT_EQ(DescribeRecord(record), before);
    EXPECT_EQ(Saved(), "current\n");
    EXPECT_EQ(FolderEntries(test.folder.Path()),
        (std::vector<std::string> { "Kasserine Run.ccd", "Kasserine Run.ccx", "Kasserine Run.cpn" }));
}
