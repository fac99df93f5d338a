// The battle generator as a whole on small fixtures: its log, the needs of
// each side from the forces tables and the point budgets, and the corps it
// picks for a side without a force.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BattleGeneratorSupport.h"

namespace {

// Budgets: level 1 100 points, level 2 101, level 3 a hostile one.
constexpr std::string_view kBudgets = "0 0\n1 100\n2 101\n3 2000000000\n";

// One line of the log that begins with the text, without it; empty when
// there is none.
std::string LogLineAfter(const std::string& log, std::string_view head, int skip = 0)
{
    for (const std::string& line : SplitLines(log))
        if (line.starts_with(head) && skip-- == 0)
            return line.substr(head.size());
    return {};
}

// A battalion of one rifle company (role 2, cost 60).
std::unique_ptr<UnitRecord> RifleBattalion()
{
    auto root = MakeUnit("B1012001");
    AddFormation(*root, "C1002001", 3, "P10200");
    return root;
}

class SelectForSideTest : public ::testing::Test {
protected:
    SelectForSideTest() { folder.test.folder.Write("campaign.pdt", ParameterFileWithBudgets(kBudgets)); }

    // The needs the side starts its passes with, as logged.
    std::string NeedsOf(RoleNeeds needs, int side, std::int32_t level, UnitRecord* root, std::int32_t attacker = 0,
        std::int16_t missionType = kMeetingEngagement)
    {
        auto generator = folder.Make(root, nullptr, attacker, missionType, level);
        generator->SelectForSide(needs, level, root, side);
        return LogLineAfter(folder.Log(), "Selecting units, needs =");
    }

    GeneratorFolder folder;
    std::unique_ptr<UnitRecord> root = RifleBattalion();
};

TEST_F(SelectForSideTest, ComputerSideBudgetGrowsWithTheAiLevel)
{
    // Budget 101: x 1.5 truncates to 151. Roles 5 and 9 only: no node serves
    // them, so nothing is drawn.
    const std::pair<int, const char*> cases[] = { { 0, " 0 0 0 0 0 101 0 0 0 10" }, { 1, " 0 0 0 0 0 151 0 0 0 15" },
        { 2, " 0 0 0 0 0 202 0 0 0 20" }, { 3, " 0 0 0 0 0 303 0 0 0 30" }, { 4, " 0 0 0 0 0 101 0 0 0 10" } };
    for (const auto& [aiLevel, expected] : cases) {
        SCOPED_TRACE(aiLevel);
        folder.test.context.g_campaign.m_generatorValue = aiLevel;
        folder.Script({});
        EXPECT_EQ(NeedsOf({ 0, 0, 0, 0, 0, 100, 0, 0, 0, 10 }, 1, 2, root.get()), expected);
        EXPECT_TRUE(folder.TookExactlyTheScript());
        // The campaign's own side (nation 10's, side 0) keeps the budget.
        EXPECT_EQ(NeedsOf({ 0, 0, 0, 0, 0, 100, 0, 0, 0, 10 }, 0, 2, root.get()), " 0 0 0 0 0 101 0 0 0 10");
    }
}

TEST_F(SelectForSideTest, HostileBudgetsAndNeedsStayInTheIntRange)
{
    folder.test.context.g_campaign.m_generatorValue = 3;
    EXPECT_EQ(
        NeedsOf({ 0, 0, 0, 0, 0, 10, 0, 0, 0, INT32_MAX }, 1, 3, root.get()), " 0 0 0 0 0 214748364 0 0 0 2147483647");
    EXPECT_EQ(LogLineAfter(folder.Log(), "Selecting units with borrow, remainder = "), "2147483647");
    EXPECT_EQ(NeedsOf({ 0, 0, 0, 0, 0, INT32_MIN, 0, 0, 0, 0 }, 1, 3, root.get()), " 0 0 0 0 0 -2147483648 0 0 0 0");
}

TEST_F(SelectForSideTest, NoBudgetLineGivesNeedsOfZeroAndNoRootDoesNothing)
{
    EXPECT_EQ(NeedsOf({ 10, 10, 10, 10, 10, 10, 10, 10, 10, 10 }, 0, 9, root.get()), " 0 0 0 0 0 0 0 0 0 0");
    RoleNeeds needs { 10, 10, 10, 10, 10, 10, 10, 10, 10, 10 };
    auto generator = folder.Make(nullptr, nullptr);
    generator->SelectForSide(needs, 1, nullptr, 0);
    EXPECT_EQ(needs[0], 10);
    EXPECT_EQ(LogLineAfter(folder.Log(), "Selecting units"), "");
}

TEST_F(SelectForSideTest, ThePlayersFormationsEligibleCostsComeOffItsSidesNeeds)
{
    // A regiment holding the player's battalion: a rifle company (60, role 2)
    // and a tank company (30, role 0).
    auto regiment = MakeUnit("R1022001");
    UnitRecord* battalion = AttachChildUnit(RifleBattalion(), *regiment);
    AddFormation(*battalion, "C1000001", 1, "P10000", 6, 5);
    AddFormation(*regiment, "C1002002", 1, "P10200"); // beside the player's formation
    folder.test.context.g_campaign.m_formationId = "B1012001";
    EXPECT_EQ(NeedsOf({ 100, 0, 100, 0, 0, 0, 0, 0, 0, 0 }, 0, 1, regiment.get()), " 70 0 40 0 0 0 0 0 0 0");
    EXPECT_EQ(NeedsOf({ 100, 0, 100, 0, 0, 0, 0, 0, 0, 0 }, 1, 1, regiment.get()), " 100 0 100 0 0 0 0 0 0 0")
        << "the computer's side";
    folder.test.context.g_campaign.m_formationId = "";
    EXPECT_EQ(NeedsOf({ 100, 0, 100, 0, 0, 0, 0, 0, 0, 0 }, 0, 1, regiment.get()), " 100 0 100 0 0 0 0 0 0 0");
}

TEST_F(SelectForSideTest, RoleOneGetsItsBonusOnlyForNeedsOneToTwentyNine)
{
    struct Case {
        std::int32_t need1;
        std::vector<int> draws;
        std::int32_t after;
    };
    const Case cases[] = {
        { 0, {}, 0 },
        { 1, { Draw100(74), ValueForRoll(5, 10) }, 26 },
        { 29, { Draw100(74), ValueForRoll(10, 10) }, 59 },
        { 29, { Draw100(75) }, 29 },
        { 30, {}, 30 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.need1);
        folder.Script(c.draws);
        NeedsOf({ 0, c.need1, 0, 0, 0, 0, 0, 0, 0, 0 }, 0, 1, root.get());
        EXPECT_TRUE(folder.TookExactlyTheScript());
        EXPECT_EQ(LogLineAfter(folder.Log(), "Doing 25% pass, needs = "),
            std::string(" 0 ").append(std::to_string(c.after)).append(" 0 0 0 0 0 0 0 0"));
    }
}

TEST_F(SelectForSideTest, TanksArePickedFirstOnlyByTheAttackerOfAnArmoredBreakthrough)
{
    auto root = MakeUnit("B1010001");
    AddFormation(*root, "C1000001", 1, "P10000", 6, 5);
    struct Case {
        std::int16_t missionType;
        int side;
        bool passA;
    };
    const Case cases[]
        = { { kArmoredBreakthrough, 0, true }, { kArmoredBreakthrough, 1, false }, { kMeetingEngagement, 0, false } };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.missionType) + " side " + std::to_string(c.side));
        NeedsOf({ 10, 0, 0, 0, 0, 0, 0, 0, 0, 0 }, c.side, 1, root.get(), 0, c.missionType);
        const std::string log = folder.Log();
        const std::size_t start = log.find("Selecting units, needs =");
        const std::size_t end = log.find("Doing 25% pass");
        ASSERT_LT(start, end);
        EXPECT_EQ(log.substr(start, end - start).find("considering force (for borrow) = C1000001") != std::string::npos,
            c.passA);
    }
}

TEST(BattleGeneratorLogTest, OpeningLinesAreWrittenAtOnceAndClosedWithTheGenerator)
{
    GeneratorFolder folder;
    {
        BattleGenerator generator(folder.context, 10, 1, nullptr, nullptr, 430301, 1, 3, kRiverCrossing, "Tunisia");
        EXPECT_EQ(folder.Log(),
            "campaign generation log\n"
            "nation = 10, enemy = 1, date = 430301, attacker = 1, level = 3, mission type = 6\n")
            << "on disk while the generator lives";
        EXPECT_TRUE(folder.context.log.IsOpen());
    }
    EXPECT_FALSE(folder.context.log.IsOpen());
}

TEST(BattleGeneratorLogTest, WithoutALogTheGeneratorChoosesAsWithOne)
{
    // The same seed and data, once with the log's name taken by a folder.
    auto roles = [](bool blockLog) {
        GeneratorFolder folder;
        folder.test.folder.Write("campaign.pdt", ParameterFileWithBudgets(kBudgets));
        if (blockLog)
            std::filesystem::create_directory(folder.test.folder.Path("campaign.log"));
        auto root = RifleBattalion();
        AddFormation(*root, "C1002002", 1, "P10200", 1, 5);
        AddFormation(*root, "C1000001", 1, "P10000", 1, 5);
        auto generator = folder.Make(root.get(), nullptr);
        EXPECT_EQ(folder.context.log.IsOpen(), !blockLog);
        generator->ChooseForces();
        std::string roles;
        for (const UnitRecord* company = root->m_firstChild.get(); company; company = company->m_nextSibling.get())
            roles += std::to_string(company->m_role);
        return roles;
    };
    const std::string logged = roles(false);
    EXPECT_NE(logged, "000") << "something was chosen";
    EXPECT_EQ(roles(true), logged);
}

TEST(BattleGeneratorLogTest, ClearOptionsClearsTheConditionsAndVisibility)
{
    GeneratorFolder folder;
    folder.context.conditionLetters = { 'D', 'L', 'C', 'N' };
    folder.context.visibilityRadius = 12;
    folder.Make(nullptr, nullptr)->ClearOptions();
    EXPECT_EQ(folder.context.conditionLetters, (std::array<char, 4> {}));
    EXPECT_EQ(folder.context.visibilityRadius, 0);
}

// A forces block: the header, then the rows of mission types 1..11, each a
// value not used and ten needs.
std::string ForcesBlock(std::string_view header, std::string_view missionOneRow)
{
    std::string text = std::string(header) + "\n";
    for (int m = 1; m <= 11; ++m)
        text += m == 1 ? "0 " + std::string(missionOneRow) + "\n" : "0 1 1 1 1 1 1 1 1 1 1\n";
    return text;
}

class ChooseForcesTest : public ::testing::Test {
protected:
    ChooseForcesTest()
    {
        folder.test.folder.Write("campaign.pdt", ParameterFileWithBudgets(kBudgets));
        folder.test.folder.Write("forces0.dat",
            ForcesBlock("430101 A", "99 99 99 99 99 99 99 99 99 99") + ForcesBlock("430201 D", "1 2 3 4 5 6 7 8 9 10")
                + ForcesBlock("430301 A", "50 0 50 0 0 0 0 0 0 0"));
        folder.test.folder.Write("forces1.dat", ForcesBlock("430301 D", "0 0 0 0 0 0 0 5 0 0"));
    }

    // The draws of ChooseForces before it reads the tables: r, then the five
    // level rolls.
    void ScriptOpening(int r) { folder.test.random.ScriptValues({ ValueForRoll(r, 10), 0, 32767, 100, 200, 300 }); }

    GeneratorFolder folder;
    std::unique_ptr<UnitRecord> force = RifleBattalion();
    std::unique_ptr<UnitRecord> enemy = RifleBattalion();
};

TEST_F(ChooseForcesTest, PreferredTypeFromTheFirstDrawMovesAFifthBetweenRolesZeroAndTwo)
{
    struct Case {
        int r;
        std::int16_t missionType;
        int preferred;
        const char* needs;
    };
    const Case cases[] = { { 6, kMeetingEngagement, 2, " 60 0 40 0 0 0 0 0 0 0" },
        { 5, kMeetingEngagement, 0, " 40 0 60 0 0 0 0 0 0 0" },
        { 10, kArmoredBreakthrough, 0, " 1 1 1 1 1 1 1 1 1 1" } }; // a fifth of 1 is 0
    for (const Case& c : cases) {
        SCOPED_TRACE(c.r);
        auto generator = folder.Make(force.get(), enemy.get(), 0, c.missionType);
        ScriptOpening(c.r);
        generator->ChooseForces();
        EXPECT_EQ(folder.context.preferredFormationType, c.preferred);
        EXPECT_EQ(folder.context.levelRolls.rolls, (std::array<std::int32_t, 5> { 1, 100, 1, 1, 1 }));
        EXPECT_EQ(LogLineAfter(folder.Log(), "Selecting units, needs ="), c.needs);
        if (c.missionType == kMeetingEngagement) {
            EXPECT_EQ(LogLineAfter(folder.Log(), "Selecting units, needs =", 1), " 0 0 0 0 0 0 0 5 0 0")
                << "the enemy's needs move nothing";
        }
    }
}

TEST_F(ChooseForcesTest, TheRowsOfAttackerAndDefenderComeFromTheirLetters)
{
    auto generator = folder.Make(force.get(), enemy.get(), 1);
    ScriptOpening(5);
    generator->ChooseForces();
    // Side 0 defends, and forces0.dat's one 'D' block is dated before the
    // battle; side 1 attacks, and forces1.dat has no 'A' block: every need
    // stays 10 before the fifth moves.
    EXPECT_EQ(LogLineAfter(folder.Log(), "Selecting units, needs ="), " 8 10 12 10 10 10 10 10 10 10");
    EXPECT_EQ(LogLineAfter(folder.Log(), "Selecting units, needs =", 1), " 10 10 10 10 10 10 10 10 10 10");
}

// Corps files of nation 10: two corps of type 2, none of type 0; a division
// of platoons.
class PickFormationTest : public ::testing::Test {
protected:
    PickFormationTest()
    {
        folder.test.folder.Write("Campaign10.OOB",
            "42 11 45 5 K1052001 II Corps\n"
            "42 11 45 5 P10404 Corps Headquarters\n"
            "\n"
            "42 11 45 5 K1052002 III Corps\n"
            "42 11 45 5 P10404 Corps Headquarters\n"
            "42 11 45 5 D1042001 1st Division\n"
            "\n"
            "42 11 42 12 K1050001 Gone Corps\n");
        folder.test.folder.Write("Division10.OOB",
            "42 11 45 5 D1042001 Infantry Division\n"
            "42 11 45 5 P10403 Division Headquarters\n"
            "42 11 45 5 P10200 Rifle Platoon\n");
    }

    GeneratorFolder folder;
};

TEST_F(PickFormationTest, FallsBackToTypeTwoAndLoadsTheCorpsTheDrawPicks)
{
    auto generator = folder.Make(nullptr, nullptr);
    folder.context.preferredFormationType = 0;
    folder.test.random.ScriptValues({ ValueForRoll(2, 2) });
    auto corps = generator->PickFormation(10);
    ASSERT_NE(corps, nullptr);
    EXPECT_EQ(folder.context.preferredFormationType, 2);
    EXPECT_EQ(corps->m_id, "K1052002");
    const UnitRecord* division = corps->m_firstChild->m_nextSibling.get();
    ASSERT_NE(division, nullptr);
    EXPECT_EQ(division->m_id, "D1042001");
    ASSERT_NE(division->m_firstChild, nullptr);
    EXPECT_EQ(division->m_firstChild->m_nextSibling->m_id, "P10200");
    EXPECT_TRUE(folder.test.messages.empty());

    folder.test.random.ScriptValues({ ValueForRoll(1, 2) });
    EXPECT_EQ(generator->PickFormation(10)->m_id, "K1052001");
}

TEST_F(PickFormationTest, ANationWithoutCorpsGetsNoForceAndTheReport)
{
    auto generator = folder.Make(nullptr, nullptr);
    folder.Script({});
    EXPECT_EQ(generator->PickFormation(1), nullptr);
    EXPECT_TRUE(folder.TookExactlyTheScript()) << "nothing drawn over an empty list";
    EXPECT_EQ(folder.test.messages, (std::vector<ShownMessage> { { "No Units on File", "" } }));
    EXPECT_EQ(folder.context.preferredFormationType, 2);
}

TEST_F(PickFormationTest, ChooseForcesPicksMissingForcesAndSkipsASideWithout)
{
    folder.test.folder.Write("campaign.pdt", ParameterFileWithBudgets(kBudgets));
    auto generator = folder.Make(nullptr, nullptr);
    generator->ChooseForces();
    ASSERT_NE(generator->m_force, nullptr);
    EXPECT_EQ(generator->m_force->m_id.substr(0, 5), "K1052");
    EXPECT_EQ(generator->m_enemyForce, nullptr);
    EXPECT_EQ(folder.test.messages, (std::vector<ShownMessage> { { "No Units on File", "" } }));
    EXPECT_NE(LogLineAfter(folder.Log(), "Selecting units, needs ="), "");
    EXPECT_EQ(LogLineAfter(folder.Log(), "Selecting units, needs =", 1), "") << "one side only";
}

} // namespace
