// A campaign battle's return applied: ratio and rating, decoration,
// promotion, the larger-command offer, the commander's unit, the history
// entry, the units' losses and experience, the linked chain, and the hook
// the launcher calls with every failure path keeping the battle files.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "CampaignTestSupport.h"
#include "TestFiles.h"
#include "launcher/campaign/BattleResult.h"
#include "launcher/campaign/CampaignFile.h"
#include "launcher/campaign/CampaignParameters.h"
#include "launcher/campaign/LinkedCampaign.h"
#include "model/DataFile.h"
#include "model/GameHexMarks.h"

namespace {

// Sections 0 to 8 of a parameter file with the given ranks (section 3) and
// command levels (section 4); decorations from 1.5 and 2.0, morale
// thresholds 10 for level 6 and 20 for level 7.
std::string ParameterFile(const std::string& ranks, const std::string& levels)
{
    return "-1\n-1\n-1\n" + ranks + "-1\n" + levels + "-1\n-1\n" + DecorationEntry("1.5", "Star")
        + DecorationEntry("2.0", "Cross") + "-1\n-1\n6 10 7 20\n-1\n";
}

UnitRecord* Add(UnitRecord& parent, const char* id, std::int32_t number, std::int16_t role = 0,
    std::int32_t strength = 5, std::int32_t full = 6)
{
    auto unit = MakeUnit(id, number);
    unit->m_role = role;
    unit->m_strength = strength;
    unit->m_fullStrength = full;
    unit->m_name = unit->m_leader = "Unit " + std::to_string(number);
    return AttachChildUnit(std::move(unit), parent);
}

// A regiment holding the player's battalion: the commander's unit 103 first,
// then a company of role 2 with platoons 104..106, then a lone platoon.
std::unique_ptr<UnitRecord> MakeForce(const char* parentId = "R1022001")
{
    auto root = MakeUnit(parentId, 100);
    root->m_name = root->m_leader = "1st Regiment";
    UnitRecord* battalion = Add(*root, "B1012001", 101);
    battalion->m_name = "1st Battalion";
    Add(*battalion, "P10401", 103, 1, 1, 1);
    UnitRecord* company = Add(*battalion, "C1002001", 102, 2);
    Add(*company, "P10101", 104);
    Add(*company, "P10101", 105);
    Add(*company, "P10501", 106, 0, 5, 5);
    Add(*battalion, "P10301", 107);
    return root;
}

// A saved battle of version 9: the seventh line gives the battle type 4.
std::string Battle(const std::vector<std::string>& unitLines)
{
    std::string text = "9\nTitle\n0 0 0 10\n0 0 0 0 3\n1 1 0 0 0 0\n0\n0 0 0 0 4\n0 0 0 0\nb.map\nb.org \n"
                       " 0 0 0 0 0 0 0 0 0\n 0 0 0 0 0 0 0 0 0\n";
    for (const std::string& line : unitLines)
        text += line + "\n";
    return text + "-1\n0 -1\n0\n";
}

class BattleResultTest : public ::testing::Test {
protected:
    void SetUp() override { WriteParameters("", ""); }

    void WriteParameters(const std::string& ranks, const std::string& levels) const
    {
        test.folder.Write("campaign.pdt", ParameterFile(ranks, levels));
    }

    CampaignRecord MakeCampaign() const
    {
        CampaignRecord record;
        record.m_name = "Cmd";
        record.m_formationId = "B1012001";
        record.m_formationName = "1st Battalion";
        record.m_nation = 10;
        record.m_rank = 1;
        record.m_commandLevel = 1;
        record.m_startDate = 430101;
        record.m_endDate = 451231;
        record.m_currentDate = 430301;
        record.m_dayOffset = 4;
        record.m_pendingBattle = "Hill_112";
        record.m_commanderUnit = 103;
        record.m_force = MakeForce();
        return record;
    }

    // Saves the campaign and a battle with its map and organisation.
    void Prepare(CampaignRecord record, const std::string& battle = Battle({}))
    {
        ASSERT_EQ(SaveCampaign(test.context, record), "");
        test.folder.Write("Cmd.cpn", battle);
        test.folder.Write("Cmd.map", "map");
        test.folder.Write("Cmd.org", "org");
    }
    void Prepare() { Prepare(MakeCampaign()); }

    CampaignRecord Saved()
    {
        CampaignRecord record;
        EXPECT_EQ(ReadCampaign(test.context, record, "Cmd.ccd"), "");
        return record;
    }

    bool BattleFilesKept() const
    {
        return FileExists(test.folder.Path(), "Cmd.cpn") && FileExists(test.folder.Path(), "Cmd.map")
            && FileExists(test.folder.Path(), "Cmd.org");
    }

    CampaignTestFolder test;
};

TEST_F(BattleResultTest, TheRatioIsAFloatRatedAgainstDoubleLimits)
{
    struct Case {
        std::int32_t a, b;
        float ratio;
        int rating;
    };
    const Case cases[] = {
        { 100, 100, 1.0f, 1 }, // A = B: satisfactory
        { 70, 100, 0.7f, 0 }, // exactly 0.7 is poor
        { 130, 100, 1.3f, 1 },
        { 200, 100, 2.0f, 2 },
        { 201, 100, 2.01f, 3 },
        { 5, -3, 7.0f, 3 }, // a negative par: A + 2
        { -1, -7, 1.0f, 1 },
    };
    for (const Case& c : cases) {
        Prepare();
        CampaignBattleResult result(test.context, "Cmd", c.a, c.b);
        ASSERT_FALSE(result.Failed()) << result.m_failure;
        EXPECT_EQ(result.m_ratio, c.ratio) << c.a << "/" << c.b;
        EXPECT_EQ(test.context.g_campaign.m_score, c.a);
        ASSERT_TRUE(result.Apply()) << result.m_failure;
        const CampaignRecord saved = Saved();
        ASSERT_NE(saved.m_history, nullptr);
        EXPECT_EQ(saved.m_history->m_result, c.rating) << c.a << "/" << c.b;
        EXPECT_EQ(saved.m_score, c.a);
    }
}

TEST_F(BattleResultTest, DecorationsFollowTheRatioRows)
{
    struct Case {
        std::int32_t a;
        int decoration;
        const char* name;
        std::array<std::int32_t, 6> counts;
    };
    const Case cases[] = {
        { 99, 0, "", { 1, 0, 0, 0, 0, 0 } }, // 0.99
        { 150, 1, "Star 10", { 2, 0, 0, 0, 0, 0 } }, // equal to the first row
        { 2000, 2, "Cross 10", { 1, 1, 0, 0, 0, 0 } }, // beyond the last
    };
    for (const Case& c : cases) {
        CampaignRecord record = MakeCampaign();
        record.m_decorationCounts = { 1, 0, 0, 0, 0, 0 };
        Prepare(std::move(record));
        CampaignBattleResult result(test.context, "Cmd", c.a, 100);
        ASSERT_TRUE(result.Apply()) << result.m_failure;
        EXPECT_EQ(result.m_decoration, c.decoration) << c.a;
        EXPECT_EQ(result.m_decorationName, c.name) << c.a;
        EXPECT_EQ(Saved().m_decorationCounts, c.counts) << c.a;
    }
    // A row's ratio is read as the battle's is held, in 32 bits: 13 / 10
    // reaches a row of 1.3.
    test.folder.Write("campaign.pdt", "-1\n-1\n-1\n-1\n-1\n-1\n" + DecorationEntry("1.3", "Bar") + "-1\n");
    Prepare();
    CampaignBattleResult result(test.context, "Cmd", 13, 10);
    ASSERT_TRUE(result.Apply()) << result.m_failure;
    EXPECT_EQ(result.m_decorationName, "Bar 10");
}

TEST_F(BattleResultTest, PromotionIsOneStepTowardsTheRankTheScoreEarns)
{
    const std::string ranks = "1 100\n2 500\n3 1000\n9 5000\n";
    const std::string sentinel = ranks + "9 2000000000\n";
    struct Case {
        std::string ranks;
        std::int32_t rank, a;
        std::int32_t expected;
    };
    const Case cases[] = {
        { ranks, 0, 1000, 1 }, // target 3: one step
        { ranks, 1, 500, 2 }, // a score equal to a threshold earns it
        { ranks, 2, 400, 2 }, { sentinel, 8, 6000, 8 }, // rank 8 is never raised
        { sentinel, 1, 6000, 2 }, // above every real threshold, with the sentinel
        { ranks, 1, 6000, 1 }, // above every threshold without it: no target
    };
    for (const Case& c : cases) {
        WriteParameters(c.ranks, "");
        CampaignRecord record = MakeCampaign();
        record.m_rank = c.rank;
        Prepare(std::move(record));
        CampaignBattleResult result(test.context, "Cmd", c.a, 1000000);
        ASSERT_TRUE(result.Apply()) << result.m_failure;
        EXPECT_EQ(result.m_promoted, c.expected != c.rank) << c.rank << " " << c.a;
        EXPECT_EQ(Saved().m_rank, c.expected) << c.rank << " " << c.a;
    }
}

TEST_F(BattleResultTest, ALargerCommandIsOfferedForAParentWithinTheEarnedLevel)
{
    struct Case {
        std::string levels;
        std::int32_t a;
        const char* parentId;
        const char* formationId;
        bool offered;
    };
    const Case cases[] = {
        { "", 7000, "R1022001", "B1012001", true }, // built in: 7000 earns level 2
        { "", 6999, "R1022001", "B1012001", false },
        { "0 0 1 100 2 300\n", 300, "R1022001", "B1012001", true }, // from the file
        { "0 0 1 100 2 300\n", 299, "R1022001", "B1012001", false },
        { "0 0\n1 100\n", 7000, "R1022001", "B1012001", true }, // others keep the built-in ones
        { "", 7000, "K1052001", "B1012001", false }, // a parent beyond the earned level
        { "", 7000, "C1002001", "B1012001", false }, // a parent of level 0
        { "", 7000, "R1022001", "R1022001", false }, // no parent
    };
    for (const Case& c : cases) {
        WriteParameters("", c.levels);
        CampaignRecord record = MakeCampaign();
        record.m_force = MakeForce(c.parentId);
        record.m_formationId = c.formationId;
        Prepare(std::move(record));
        CampaignBattleResult result(test.context, "Cmd", c.a, 1000000);
        ASSERT_TRUE(result.Apply()) << result.m_failure;
        EXPECT_EQ(result.m_largerCommandOffered, c.offered) << c.levels << " " << c.a << " " << c.parentId;
    }
}

TEST_F(BattleResultTest, TheCommandersUnitMayGainAManAfterAGoodBattle)
{
    struct Case {
        std::int32_t a; // of 100
        int roll; // 0: no draw expected
        std::int32_t strength, expected;
    };
    const Case cases[] = {
        { 140, 10, 1, 2 }, { 140, 11, 1, 1 }, { 140, 1, 5, 5 }, // at five it stays
        { 130, 0, 1, 1 }, // 1.3 draws nothing
    };
    for (const Case& c : cases) {
        CampaignRecord record = MakeCampaign();
        FindUnitByNumber(record.m_force.get(), 103)->m_strength = c.strength;
        Prepare(std::move(record));
        const int marker = ValueForRoll(c.roll == 0 ? 50 : c.roll, 100);
        test.random.ScriptValues({ marker });
        CampaignBattleResult result(test.context, "Cmd", c.a, 100);
        ASSERT_TRUE(result.Apply()) << result.m_failure;
        const CampaignRecord saved = Saved();
        const UnitRecord* unit = FindUnitByNumber(saved.m_force.get(), 103);
        EXPECT_EQ(unit->m_strength, c.expected) << c.a << " " << c.roll;
        EXPECT_EQ(unit->m_fullStrength, c.expected == 2 ? 2 : 1) << c.a << " " << c.roll;
        EXPECT_EQ(test.random.NextValue() == marker, c.roll == 0) << "a draw only above 1.3";
    }
}

TEST_F(BattleResultTest, TheHistoryEntryTakesTheBattleTypeFromTheBattleFile)
{
    struct Case {
        const char* battle; // null: no file
        std::int32_t type;
    };
    const Case cases[] = { { nullptr, 1 }, { "9\nTitle\n0 0 0 10\n", 0 }, { "", 0 } };
    for (const Case& c : cases) {
        Prepare();
        std::filesystem::remove(test.folder.Path("Cmd.cpn"));
        if (c.battle)
            test.folder.Write("Cmd.cpn", c.battle);
        CampaignBattleResult result(test.context, "Cmd", 100, 100);
        ASSERT_TRUE(result.Apply()) << result.m_failure;
        const CampaignRecord saved = Saved();
        ASSERT_NE(saved.m_history, nullptr) << "the entry is added and saved";
        EXPECT_EQ(saved.m_history->m_battleType, c.type);
        EXPECT_EQ(saved.m_history->m_battleName, "Hill_112");
        EXPECT_EQ(saved.m_history->m_date, 430305);
    }
    Prepare();
    CampaignBattleResult result(test.context, "Cmd", 100, 100);
    ASSERT_TRUE(result.Apply());
    EXPECT_EQ(Saved().m_history->m_battleType, 4);
}

// A day battle written by the game's own writer: unit 104 on the map at 2,
// unit 105 eliminated (its strength 3 goes to 0), the commander's unit 103
// eliminated (he is hit, his unit keeps its 1), unit 106 exited at 4.
std::string WriterMadeBattle(const TempDir& folder)
{
    folder.Write("test.map", ReadFixture("maps/sample-v3.txt"));
    folder.Write("test.org", ReadFixture("battles/test.org"));
    folder.Write("platoon.obx", ScrambleText(ReadFixture("battles/platoon.txt")));
    ScopedCurrentDir inFolder(folder.Path());
    std::vector<std::string> lines = SplitLines(ReadFixture("battles/battle-v10.txt"));
    for (std::size_t i = 8; i <= 9; ++i)
        lines[i] = ScrambleLine(lines[i]) + " ";
    CGameHexMarks game;
    std::istringstream in(JoinLines(lines));
    EXPECT_TRUE(game.ReadBattleFile(in, false)) << game.m_battleReadError.str();
    game.m_night = 0;
    for (int c = 0; c < game.m_stacks.Width(); ++c)
        for (int r = 0; r < game.m_stacks.Height(); ++r)
            game.m_stacks.At(c, r).Free();
    game.m_offMapUnits.Free();
    game.m_reinforcements.Free();
    game.m_eliminated.Free();
    game.m_exited.Free();
    auto unit = [&game](std::uint32_t type, int node, int strength) {
        PlacedUnit placed(game.m_platoonTypes.FindById(type), game.m_orgTree.FindNode(node));
        placed.m_strength = strength;
        return placed;
    };
    game.m_stacks.At(1, 1).Append(unit(10101, 104, 2));
    game.m_eliminated.Append(unit(10101, 105, 3));
    game.m_eliminated.Append(unit(10401, 103, 1));
    game.m_exited.Append(unit(10501, 106, 4));
    std::ostringstream out;
    EXPECT_TRUE(game.WriteBattleFile(out));
    return out.str();
}

TEST_F(BattleResultTest, LossesOfAWriterMadeVersion10BattleReachTheForce)
{
    TempDir battleFolder;
    const std::string battle = WriterMadeBattle(battleFolder);
    const std::vector<std::string> lines = SplitLines(battle);
    ASSERT_GT(lines.size(), 13u);
    ASSERT_EQ(lines[0], "10");
    ASSERT_EQ(lines[12].substr(0, 2), "0 ") << "a day battle's thirteenth line looks like a unit line";

    Prepare(MakeCampaign(), battle);
    CampaignBattleResult result(test.context, "Cmd", 40, 100);
    ASSERT_TRUE(result.Apply()) << result.m_failure;
    EXPECT_TRUE(result.m_commanderHit);
    const CampaignRecord saved = Saved();
    auto strength = [&saved](int number) { return FindUnitByNumber(saved.m_force.get(), number)->m_strength; };
    EXPECT_EQ(strength(104), 2);
    EXPECT_EQ(strength(105), 0);
    EXPECT_EQ(strength(106), 4);
    EXPECT_EQ(strength(103), 1) << "the commander's unit keeps its strength";
    EXPECT_EQ(strength(107), 5) << "not in the roster";
    // A = 40 gives 2 points each, written back to the company's platoons.
    EXPECT_EQ(FindUnitByNumber(saved.m_force.get(), 104)->m_experience, 2);
    EXPECT_EQ(FindUnitByNumber(saved.m_force.get(), 107)->m_experience, 0);
}

TEST_F(BattleResultTest, ExperienceRaisesMoraleOneStepAtTheFilesThresholds)
{
    struct Case {
        std::int32_t a, experience, morale;
        std::int32_t expectedExperience, expectedMorale;
    };
    const Case cases[] = {
        { 10, 0, 6, 1, 6 }, // A = 10: the formula gives 0, so 1
        { 40, 8, 6, 0, 7 }, // 8 + 2 reaches level 6's 10
        { 40, 100, 6, 92, 7 }, // one step a battle
        { 40, 30, 9, 32, 9 },
    };
    for (const Case& c : cases) {
        CampaignRecord record = MakeCampaign();
        UnitRecord* platoon = FindUnitByNumber(record.m_force.get(), 104);
        platoon->m_experience = c.experience;
        platoon->m_morale = c.morale;
        Prepare(std::move(record));
        CampaignBattleResult result(test.context, "Cmd", c.a, 1000);
        ASSERT_TRUE(result.Apply()) << result.m_failure;
        const CampaignRecord after = Saved();
        const UnitRecord* saved = FindUnitByNumber(after.m_force.get(), 104);
        EXPECT_EQ(saved->m_experience, c.expectedExperience) << c.a << " " << c.experience;
        EXPECT_EQ(saved->m_morale, c.expectedMorale) << c.a << " " << c.experience;
    }
}

TEST_F(BattleResultTest, TheBattleFilesGoOnlyOnceTheCampaignIsSaved)
{
    Prepare();
    CampaignBattleResult result(test.context, "Cmd", 100, 100);
    ASSERT_TRUE(result.Apply());
    EXPECT_FALSE(FileExists(test.folder.Path(), "Cmd.cpn"));
    EXPECT_FALSE(FileExists(test.folder.Path(), "Cmd.map"));
    EXPECT_FALSE(FileExists(test.folder.Path(), "Cmd.org"));
    EXPECT_TRUE(FileExists(test.folder.Path(), "Cmd.ccx")) << "the campaign as it was";
    EXPECT_EQ(test.context.g_selectedCampaign.m_name, "Cmd");
    EXPECT_EQ(test.context.g_campaign.m_selectedForceCost, 0);

    // A backup that cannot be written fails the save.
    Prepare();
    std::filesystem::remove(test.folder.Path("Cmd.ccx"));
    std::filesystem::create_directory(test.folder.Path("Cmd.ccx"));
    const CampaignBattleOutcome outcome = ApplyCampaignBattleResult(test.context, "Cmd.cpn", 100, 100);
    EXPECT_EQ(outcome.failureCaption, "Write Error");
    EXPECT_FALSE(outcome.failure.empty());
    EXPECT_TRUE(BattleFilesKept());
    EXPECT_EQ(Saved().m_history, nullptr) << "the campaign file is untouched";
}

TEST_F(BattleResultTest, ADamagedCampaignOrABadNameAppliesAndDeletesNothing)
{
    Prepare();
    std::vector<std::string> lines = ReadFileLines(test.folder.Path("Cmd.ccd"));
    lines.resize(5);
    test.folder.Write("Cmd.ccd", JoinLines(lines));
    CampaignBattleOutcome outcome = ApplyCampaignBattleResult(test.context, "Cmd.cpn", 100, 100);
    EXPECT_EQ(outcome.failureCaption, "Campaign Error");
    EXPECT_TRUE(BattleFilesKept());
    EXPECT_EQ(ReadFileLines(test.folder.Path("Cmd.ccd")), lines);
    EXPECT_FALSE(FileExists(test.folder.Path(), "Cmd.ccx"));

    std::filesystem::remove(test.folder.Path("Cmd.ccd"));
    Prepare();
    for (const char* name : { "../Cmd.cpn", "sub/Cmd.cpn", "", ".cpn", "-Cmd.cpn", " Cmd.cpn", "Cmd*.cpn" }) {
        outcome = ApplyCampaignBattleResult(test.context, name, 100, 100);
        EXPECT_EQ(outcome.failureCaption, "Campaign Error") << name;
        EXPECT_FALSE(outcome.completed || outcome.promoted || outcome.commanderHit) << name;
    }
    EXPECT_TRUE(BattleFilesKept());
    EXPECT_FALSE(FileExists(test.folder.Path(), "Cmd.ccx"));
    // Cut at the last dot only.
    EXPECT_EQ(ApplyCampaignBattleResult(test.context, "Cmd", 100, 100).failure, "");
}

TEST_F(BattleResultTest, TheHookReportsWhatTheFirstScreenNeeds)
{
    WriteParameters("1 100\n2 500\n9 2000000000\n", "");
    const std::vector<std::string> hit = { "15 10401 103 1 1 1 0 5" };
    struct Case {
        const char* what;
        std::int32_t rank, a, b;
        std::vector<std::string> battle;
        bool hit, promoted;
        const char* decoration; // "": none
        bool offered;
    };
    const Case cases[] = {
        { "hit", 8, 150, 100, hit, true, false, "Star 10", false },
        { "hit with offer", 8, 7000, 1000000, hit, true, false, "", true },
        { "promoted", 1, 600, 1000, {}, false, true, "", false },
        { "promoted with offer", 1, 7000, 1000000, {}, false, true, "", true },
        { "decorated", 8, 150, 100, {}, false, false, "Star 10", false },
        { "decorated with offer", 8, 7000, 1000, {}, false, false, "Cross 10", true },
        { "offer alone", 8, 7000, 1000000, {}, false, false, "", true },
        { "none", 8, 50, 1000000, {}, false, false, "", false },
    };
    for (const Case& c : cases) {
        CampaignRecord record = MakeCampaign();
        record.m_rank = c.rank;
        Prepare(std::move(record), Battle(c.battle));
        const CampaignBattleOutcome outcome = ApplyCampaignBattleResult(test.context, "Cmd.cpn", c.a, c.b);
        EXPECT_EQ(outcome.failure, "") << c.what;
        EXPECT_FALSE(outcome.completed) << c.what;
        EXPECT_EQ(outcome.commanderHit, c.hit) << c.what;
        EXPECT_EQ(outcome.promoted, c.promoted) << c.what;
        EXPECT_EQ(outcome.decorated, *c.decoration != 0) << c.what;
        EXPECT_EQ(outcome.decorationName, c.decoration) << c.what;
        EXPECT_EQ(outcome.largerCommandOffered, c.offered) << c.what;
        EXPECT_EQ(outcome.endText, "") << c.what;
    }
}

TEST_F(BattleResultTest, ADatelineReadsOnlyWhenWhole)
{
    struct Case {
        const char* tail; // after the loss table; null: no file
        std::int32_t date;
    };
    const Case cases[] = {
        { "Note\nJun 6 1944\n", 440606 },
        { "Note\njune 30 1943\n", 430630 },
        { "Note\nDec 31 1999", 991231 },
        { nullptr, 0 },
        { "Note\n", 0 },
        { "Note\nJu 6 1944\n", 0 },
        { "Note\nSmarch 6 1944\n", 0 },
        { "Note\nJun 0 1944\n", 0 },
        { "Note\nJun 32 1944\n", 0 },
        { "Note\nJun 6 99999999999\n", 0 },
        { "Note\nJun 6\n", 0 },
        { "Note\n6 Jun 1944\n", 0 },
    };
    for (const Case& c : cases) {
        std::filesystem::remove(test.folder.Path("s.scn"));
        if (c.tail)
            test.folder.Write("s.scn", Battle({}) + c.tail);
        EXPECT_EQ(ReadScenarioDate(test.context, "s.scn"), c.date) << (c.tail ? c.tail : "no file");
    }
    // Without the loss table's end there is no date line.
    test.folder.Write("s.scn", "9\n-1\n0\nNote\nJun 6 1944\n");
    EXPECT_EQ(ReadScenarioDate(test.context, "s.scn"), 0);

    test.folder.Write("t.cpn", "1\n2\n3\n4\n5\n6\n0 0 0 4\n");
    EXPECT_EQ(ReadBattleType(test.context, "t.cpn"), 0) << "a seventh line of four numbers";
    test.folder.Write("t.cpn", "1\n2\n3\n4\n5\n6\n0 0 0 0 -7 9\n");
    EXPECT_EQ(ReadBattleType(test.context, "t.cpn"), -7);
}

TEST_F(BattleResultTest, PromotionToTheParentFormationTakesTheCommandersUnitAlong)
{
    CampaignRecord record = MakeCampaign();
    UnitRecord* regiment = PromoteToParentFormation(record);
    ASSERT_NE(regiment, nullptr);
    EXPECT_EQ(regiment->m_id, "R1022001");
    EXPECT_EQ(record.m_formationId, "R1022001");
    EXPECT_EQ(record.m_formationName, "1st Regiment");
    EXPECT_EQ(regiment->m_firstChild->m_number, 103);
    EXPECT_EQ(regiment->m_firstChild->m_nextSibling->m_id, "B1012001");
    EXPECT_EQ(regiment->m_firstChild->m_nextSibling->m_firstChild->m_number, 102);

    // At the top nothing moves; an unknown formation gives nothing.
    EXPECT_EQ(PromoteToParentFormation(record), regiment);
    EXPECT_EQ(record.m_formationId, "R1022001");
    record.m_formationId = "X";
    EXPECT_EQ(PromoteToParentFormation(record), nullptr);
}

// ---- Linked campaigns ----

class LinkedResultTest : public BattleResultTest {
protected:
    // Battle 1 leads to 2 (outcome -2), 3 (-1, 0), an end -1 (1) and 4 (2);
    // battle 4 ends at -2 whatever happens.
    void SetUp() override
    {
        BattleResultTest::SetUp();
        test.folder.Write("chain.lcg",
            "100 0 0\nThe Chain\n10 1 0 430601\nA chain.\n\n"
            "1 first.scn/10 20 2 3 3 -1 4 5 The First Battle\n"
            "2 second.scn/10 20 -1 -1 -1 -1 -1 5 The Second\n"
            "3 third.scn/10 20 -1 -1 -1 -1 -1 5 The Third\n"
            "4 fourth.scn/10 20 -2 -2 -2 -2 -2 5 The Fourth\n"
            "-1 The chain ends in victory.\n"
            "-2 The chain ends.\n");
        test.folder.Write("first.scn", Battle({}) + "Note\nJun 6 1944\nDescription\n");
    }

    void SetupLinked(std::int32_t battleId, const std::string& battle = Battle({ "0 1 1 10101 104 1 1 2 6 0" }))
    {
        LinkedCampaignHeader header;
        header.m_definitionFile = "chain.lcg";
        header.m_currentBattleId = battleId;
        header.m_nation = 10;
        header.m_currentDate = 430601;
        header.m_force = MakeForce();
        header.m_force->m_role = 1;
        ASSERT_EQ(SaveLinkedCampaign(test.context, header, "Run.ccl"), "");
        std::filesystem::remove(test.folder.Path("Run.ccx"));
        test.folder.Write("Run.cpn", battle);
    }

    LinkedCampaignHeader SavedLinked()
    {
        std::string text;
        EXPECT_EQ(ReadDataFileText(test.folder.Path("Run.ccl").string(), text), DataFileRead::kRead);
        LinkedCampaignHeader header;
        EXPECT_EQ(ReadLinkedCampaignHeader(test.context, header, text, "Run.ccl"), "");
        return header;
    }
};

TEST_F(LinkedResultTest, TheOutcomeMovesAlongTheChain)
{
    struct Case {
        std::int32_t outcome, next;
        bool completed;
        const char* endText;
    };
    const Case cases[] = {
        { -2, 2, false, "" },
        { -1, 3, false, "" },
        { 0, 3, false, "" },
        { 1, -1, true, "The chain ends in victory." },
        { 2, 4, false, "" },
        { 7, 4, false, "" }, // beyond: the nearer end
        { -9, 2, false, "" },
    };
    for (const Case& c : cases) {
        SetupLinked(1);
        const CampaignBattleOutcome outcome = ApplyCampaignBattleResult(test.context, "Run.cpn", c.outcome, 0);
        ASSERT_EQ(outcome.failure, "") << c.outcome;
        EXPECT_EQ(outcome.completed, c.completed) << c.outcome;
        EXPECT_EQ(outcome.endText, c.endText) << c.outcome;
        EXPECT_FALSE(outcome.commanderHit || outcome.promoted || outcome.decorated);
        const LinkedCampaignHeader saved = SavedLinked();
        EXPECT_EQ(saved.m_currentBattleId, c.next) << c.outcome;
        ASSERT_NE(saved.m_history, nullptr);
        EXPECT_EQ(saved.m_history->m_battleName, "The First Battle");
        EXPECT_EQ(saved.m_history->m_result, std::clamp(c.outcome, -2, 2));
        EXPECT_EQ(saved.m_history->m_battleType, 4);
        EXPECT_EQ(saved.m_history->m_date, 440606) << "the date line of the battle's own file";
        EXPECT_EQ(test.context.g_campaign.m_linkedBattleId, c.next);
        EXPECT_FALSE(FileExists(test.folder.Path(), "Run.cpn"));
        std::string backup;
        ASSERT_EQ(ReadDataFileText(test.folder.Path("Run.ccx").string(), backup), DataFileRead::kRead);
        LinkedCampaignHeader before;
        ASSERT_EQ(ReadLinkedCampaignHeader(test.context, before, backup, "Run.ccx"), "") << "the chain as it was";
        EXPECT_EQ(before.m_currentBattleId, 1);
        EXPECT_EQ(before.m_history, nullptr);
    }
}

TEST_F(LinkedResultTest, EveryRosterUnitTakesItsResult)
{
    SetupLinked(4);
    const CampaignBattleOutcome outcome = ApplyCampaignBattleResult(test.context, "Run.cpn", 0, 0);
    ASSERT_EQ(outcome.failure, "");
    EXPECT_TRUE(outcome.completed);
    EXPECT_EQ(outcome.endText, "The chain ends.");
    const LinkedCampaignHeader saved = SavedLinked();
    EXPECT_EQ(saved.m_currentBattleId, -2);
    EXPECT_EQ(saved.m_history->m_date, 430601) << "no battle file of its own: the current date";
    const UnitRecord* platoon = FindUnitByNumber(saved.m_force.get(), 104);
    EXPECT_EQ(platoon->m_strength, 2);
    EXPECT_EQ(platoon->m_experience, 1);
    EXPECT_EQ(FindUnitByNumber(saved.m_force.get(), 101)->m_experience, 1) << "the root's subunits too";
}

TEST_F(LinkedResultTest, EveryFailureKeepsTheBattle)
{
    struct Case {
        const char* what;
        const char* ccl; // replaces the ".ccl" (null: removed)
        bool removeDefinition;
        std::int32_t battleId;
    };
    const Case cases[] = {
        { "no .ccl", nullptr, false, 1 },
        { "damaged .ccl", "chain.lcg\n1 10 430601 0\n", false, 1 },
        { "no definition", "", true, 1 },
        { "no such battle", "", false, 9 },
    };
    for (const Case& c : cases) {
        LinkedResultTest::SetUp();
        SetupLinked(c.battleId);
        if (c.removeDefinition)
            std::filesystem::remove(test.folder.Path("chain.lcg"));
        if (!c.ccl)
            std::filesystem::remove(test.folder.Path("Run.ccl"));
        else if (*c.ccl)
            test.folder.Write("Run.ccl", c.ccl);
        const CampaignBattleOutcome outcome = ApplyCampaignBattleResult(test.context, "Run.cpn", 1, 0);
        EXPECT_EQ(outcome.failureCaption, "Campaign Error") << c.what;
        EXPECT_TRUE(FileExists(test.folder.Path(), "Run.cpn")) << c.what;
        EXPECT_FALSE(FileExists(test.folder.Path(), "Run.ccx")) << c.what;
    }

    // A save that fails keeps the battle to be returned again.
    LinkedResultTest::SetUp();
    SetupLinked(1);
    std::filesystem::create_directory(test.folder.Path("Run.ccx"));
    const CampaignBattleOutcome outcome = ApplyCampaignBattleResult(test.context, "Run.cpn", 1, 0);
    EXPECT_EQ(outcome.failureCaption, "Write Error");
    EXPECT_FALSE(outcome.completed) << "no flags with a failure";
    EXPECT_TRUE(FileExists(test.folder.Path(), "Run.cpn"));
    EXPECT_EQ(SavedLinked().m_currentBattleId, 1);
}

} // namespace
