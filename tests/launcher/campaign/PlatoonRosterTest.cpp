// The platoon roster: building it from a force, battle losses, experience,
// writing back, the positional copy and replacements.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "CampaignTestSupport.h"
#include "launcher/campaign/PlatoonRoster.h"

namespace {

UnitRecord* Add(UnitRecord& parent, std::string id, std::int32_t number, std::int16_t role = 0,
    std::int32_t strength = 5, std::int32_t fullStrength = 5)
{
    auto unit = MakeUnit(std::move(id), number);
    unit->m_role = role;
    unit->m_strength = strength;
    unit->m_fullStrength = fullStrength;
    return AttachChildUnit(std::move(unit), parent);
}

std::vector<std::int32_t> Numbers(const PlatoonRoster& roster)
{
    std::vector<std::int32_t> numbers;
    for (const PlatoonRosterEntry& entry : roster.Entries())
        numbers.push_back(entry.m_number);
    return numbers;
}

// Root (no role) with a role-2 company of three platoons (one under
// strength, one a commander unit), a role-1 unit without subunits and a
// company without role.
struct RosterTree {
    RosterTree()
    {
        root = MakeUnit("B1012001", 0);
        company = Add(*root, "C1002001", 10, 2);
        Add(*company, "P10200", 1, 0, 3, 5);
        Add(*company, "P10100", 2);
        Add(*company, "P10401", 3, 0, 1, 1);
        Add(*root, "P10402", 20, 1, 0, 0);
        UnitRecord* other = Add(*root, "C1002002", 30);
        Add(*other, "P10200", 4, 0, 2, 5);
    }
    std::unique_ptr<UnitRecord> root;
    UnitRecord* company = nullptr;
};

TEST(PlatoonRosterTest, ModesSwitchAndWalkOrderChooseTheEntries)
{
    struct Case {
        RosterMode mode;
        bool lone;
        std::vector<std::int32_t> numbers;
    };
    // Subunits go to the head (reversed), lone units to the end.
    const Case cases[] = {
        { RosterMode::kBattleResult, true, { 3, 2, 1, 20 } }, { RosterMode::kBattleResult, false, { 2, 1 } },
        { RosterMode::kReplacements, true, { 1, 20 } }, // full ones skipped; a lone unit is not checked
        { RosterMode::kReplacements, false, { 1 } },
        { RosterMode::kAllUnits, false, { 4, 2, 1, 30, 10 } }, // 3 and 20 are commander units
    };
    for (const Case& c : cases) {
        RosterTree tree;
        EXPECT_EQ(Numbers(PlatoonRoster(tree.root.get(), c.mode, c.lone)), c.numbers)
            << static_cast<int>(c.mode) << c.lone;
    }
    RosterTree tree;
    EXPECT_EQ(
        Numbers(PlatoonRoster(tree.company, RosterMode::kAllUnits, false, true)), (std::vector<std::int32_t> { 2, 1 }))
        << "the company's following siblings are left out";
    EXPECT_EQ(
        Numbers(PlatoonRoster(tree.company, RosterMode::kAllUnits, false)), (std::vector<std::int32_t> { 4, 2, 1 }));
    EXPECT_TRUE(PlatoonRoster(nullptr, RosterMode::kAllUnits).Entries().empty());
}

TEST(PlatoonRosterTest, EntriesCopyTheUnitAndKeepItsStrengthAndMorale)
{
    RosterTree tree;
    UnitRecord* platoon = tree.company->m_firstChild.get();
    platoon->m_leader = "Lt Baker";
    platoon->m_experience = 17;
    platoon->m_morale = 8;
    PlatoonRoster roster(tree.root.get(), RosterMode::kReplacements, false);
    ASSERT_EQ(roster.Entries().size(), 1u);
    const PlatoonRosterEntry& entry = roster.Entries()[0];
    EXPECT_EQ(entry.m_id, "P10200");
    EXPECT_EQ(entry.m_leader, "Lt Baker");
    EXPECT_EQ(entry.m_experience, 17);
    EXPECT_EQ(entry.m_strength, 3);
    EXPECT_EQ(entry.m_maxStrength, 5);
    EXPECT_EQ(entry.m_morale, 8);
    EXPECT_EQ(entry.m_keptStrength, 3);
    EXPECT_EQ(entry.m_keptMorale, 8);
    EXPECT_EQ(roster.FindRosterEntry(1), &roster.Entries()[0]);
    EXPECT_EQ(roster.FindRosterEntry(2), nullptr);
}

// A saved battle: the head lines the version carries, then the lines given.
std::string BattleFile(const std::string& version, int headLines, const std::string& body)
{
    std::string text = version + "\n";
    // Head lines that would count as unit lines were they read.
    for (int line = 1; line < headLines; ++line)
        text += "0 0 0 0 11 0 0 4 0 0\n";
    return text + body;
}

constexpr const char* kBattleBody = "0 1 2 3 11 5 6 2 8 9\n"
                                    "15 0 12 0 0 4 0 0\n"
                                    "15 0 99 0 0 1 0 0\n"
                                    "16 0 13 0 0 3 0 0\n"
                                    "0 1 2 3 14 5 6\n" // partial
                                    "16 0 13 x 0 1 0 0\n" // a number that does not read
                                    "0 1 2 3 14 5 6 99999999999 8 9\n" // beyond 32 bits
                                    "2 5 5 7\n"
                                    "7 0 14 0 0 0\n"
                                    "-1\n"
                                    "0 1 2 3 11 5 6 0 8 9\n"
                                    "0 -1\n";

TEST(PlatoonRosterTest, BattleLossesAreReadAfterTheHeadOfTheFilesVersion)
{
    struct Case {
        std::string version;
        int headLines;
        bool read;
    };
    const Case cases[] = {
        { "1", 10, true },
        { "9", 12, true },
        { "10", 13, true },
        { "11", 13, false },
        { "0", 10, false },
        { "-1", 10, false },
        { "99999999999", 13, false },
        { "x", 13, false },
    };
    for (const Case& c : cases) {
        CampaignTestFolder test;
        const auto file = test.folder.Write("b.cpn", BattleFile(c.version, c.headLines, kBattleBody));
        auto root = MakeUnit("C1002001", 10);
        root->m_role = 2;
        for (const std::int32_t number : { 99, 11, 12, 13, 14 })
            Add(*root, number == 99 ? "P10401" : "P10200", number, number == 99 ? 1 : 0, number == 99 ? 1 : 5);
        PlatoonRoster roster(root.get(), file, 99);
        std::vector<std::int32_t> strengths;
        for (const std::int32_t number : { 99, 11, 12, 13, 14 })
            strengths.push_back(roster.FindRosterEntry(number)->m_strength);
        if (c.read) {
            EXPECT_EQ(strengths, (std::vector<std::int32_t> { 1, 2, 0, 3, 5 })) << c.version;
            EXPECT_TRUE(roster.CommanderHit()) << c.version;
        } else {
            EXPECT_EQ(strengths, (std::vector<std::int32_t> { 1, 5, 5, 5, 5 })) << c.version;
            EXPECT_FALSE(roster.CommanderHit()) << c.version;
        }
    }
}

TEST(PlatoonRosterTest, AMissingOrShortBattleFileChangesNothing)
{
    CampaignTestFolder test;
    auto root = MakeUnit("C1002001", 10);
    root->m_role = 2;
    Add(*root, "P10200", 11);
    const auto short10 = test.folder.Write("short.cpn", "10\nTitle\n0 1 2 3 11 5 6 1 8 9\n");
    for (const auto& file : { test.folder.Path() / "missing.cpn", short10 }) {
        PlatoonRoster roster(root.get(), file, 99);
        EXPECT_EQ(roster.FindRosterEntry(11)->m_strength, 5) << file;
        EXPECT_FALSE(roster.CommanderHit());
    }
}

TEST(PlatoonRosterTest, ExperienceGrowsByTheScoreAndRaisesMoraleOneStep)
{
    struct Case {
        std::int32_t score;
        std::int32_t experience;
        std::int32_t morale;
        std::int32_t experienceAfter;
        std::int32_t moraleAfter;
    };
    const Case cases[] = {
        { 10, 0, 6, 1, 6 }, // 10 * 5 / 100 is 0, raised to 1
        { 40, 0, 6, 2, 6 },
        { -1000, 0, 6, 1, 6 },
        { INT_MIN, 0, 6, 1, 6 },
        { INT_MAX, 0, 9, 107374182, 9 }, // no step beyond 9
        { 10, 11, 2, 0, 3 }, // reaches 12: one step, the points given up
        { 10, 99, 3, 75, 4 }, // far above: still one step
        { 10, 10, 0, 11, 0 }, // morale 0 and 1 need level 2's points
        { 10, 11, 1, 0, 2 },
        { INT_MAX, INT_MAX, 9, INT_MAX, 9 }, // held at the largest value
        { 10, 5, -3, 6, -3 }, // a morale outside the table stays
        { 10, 5, 12, 6, 12 },
    };
    CampaignTestFolder test;
    for (const Case& c : cases) {
        auto root = MakeUnit("C1002001", 10);
        root->m_role = 2;
        UnitRecord* platoon = Add(*root, "P10200", 11);
        platoon->m_experience = c.experience;
        platoon->m_morale = c.morale;
        PlatoonRoster roster(root.get(), RosterMode::kBattleResult);
        roster.AddBattleExperience(c.score, test.folder.Path());
        const PlatoonRosterEntry& entry = *roster.FindRosterEntry(11);
        EXPECT_EQ(entry.m_experience, c.experienceAfter) << c.score << " " << c.experience;
        EXPECT_EQ(entry.m_morale, c.moraleAfter) << c.score << " " << c.experience;
    }
}

TEST(PlatoonRosterTest, MoraleThresholdsComeFromTheParameterFile)
{
    CampaignTestFolder test;
    test.folder.Write("campaign.pdt", "-1\n-1\n-1\n-1\n-1\n-1\n-1\n-1\n0 3 2 5 6 -7 -1\n-1\n");
    struct Case {
        std::int32_t experience;
        std::int32_t morale;
        std::int32_t experienceAfter;
        std::int32_t moraleAfter;
    };
    const Case cases[] = {
        { 2, 0, 0, 1 }, // level 0 from the file: 3
        { 4, 2, 0, 3 }, // level 2: 5
        { 11, 1, 7, 2 }, // level 1 takes level 2's from the file: 5
        { 0, 6, 8, 7 }, // a negative threshold gives points
        { 24, 3, 0, 4 }, // level 3 keeps its default 25
    };
    for (const Case& c : cases) {
        auto root = MakeUnit("C1002001", 10);
        root->m_role = 2;
        UnitRecord* platoon = Add(*root, "P10200", 11);
        platoon->m_experience = c.experience;
        platoon->m_morale = c.morale;
        PlatoonRoster roster(root.get(), RosterMode::kBattleResult);
        roster.AddBattleExperience(0, test.folder.Path());
        EXPECT_EQ(roster.Entries()[0].m_experience, c.experienceAfter) << c.experience << " " << c.morale;
        EXPECT_EQ(roster.Entries()[0].m_morale, c.moraleAfter) << c.experience << " " << c.morale;
    }
}

// A formation whose commander's unit has following siblings with subunits,
// and a second formation beside it.
TEST(PlatoonRosterTest, WritingBackCoversTheCommandersFollowingSiblingsOrEverything)
{
    for (const bool flag : { false, true }) {
        auto root = MakeUnit("B1012001", 1);
        UnitRecord* formation = Add(*root, "C1002001", 2, 2);
        Add(*formation, "P10401", 99, 1, 1, 1);
        UnitRecord* company = Add(*formation, "C1002003", 3);
        Add(*company, "P10200", 4);
        Add(*formation, "P10100", 5);
        UnitRecord* other = Add(*root, "C1002002", 6);
        Add(*other, "P10200", 7);
        PlatoonRoster roster(root.get(), RosterMode::kAllUnits);
        for (PlatoonRosterEntry& entry : roster.Entries()) {
            entry.m_strength = 0;
            entry.m_morale = 9;
            entry.m_experience = 77;
        }
        roster.WriteRosterBack(flag);
        std::vector<std::int32_t> written;
        for (const std::int32_t number : { 1, 2, 99, 3, 4, 5, 6, 7 }) {
            const UnitRecord* unit = FindUnitByNumber(root.get(), number);
            if (unit->m_experience == 77) {
                EXPECT_EQ(unit->m_strength, 0);
                EXPECT_EQ(unit->m_morale, 9);
                written.push_back(number);
            }
        }
        EXPECT_EQ(written,
            (flag ? std::vector<std::int32_t> { 2, 99, 3, 4, 5, 6, 7 } : std::vector<std::int32_t> { 3, 4, 5 }))
            << flag << " (the root is no one's subunit: no entry)";
    }
}

TEST(PlatoonRosterTest, ExperienceIsCopiedByPositionFamilyByFamily)
{
    // Entries with experience 30, 20, 10 (the family's platoons reversed).
    auto old = MakeUnit("C1002001", 1);
    for (const std::int32_t number : { 10, 20, 30 }) {
        UnitRecord* platoon = Add(*old, "P10200", number);
        platoon->m_experience = number;
        platoon->m_morale = number / 10;
    }
    struct Case {
        std::size_t entries;
        std::vector<std::int32_t> experience; // a1, a2, b1, x
    };
    const Case cases[] = {
        { 3, { 30, 20, 30, 30 } },
        { 1, { 30, -1, 30, 30 } },
        { 0, { -1, -1, -1, -1 } },
    };
    for (const Case& c : cases) {
        PlatoonRoster roster(old.get(), RosterMode::kAllUnits, false);
        ASSERT_EQ(Numbers(roster), (std::vector<std::int32_t> { 30, 20, 10 }));
        roster.Entries().resize(c.entries);
        auto tree = MakeUnit("B1012001", 0);
        UnitRecord* a = Add(*tree, "C1002011", 0);
        UnitRecord* a1 = Add(*a, "P10200", 0);
        UnitRecord* a2 = Add(*a, "P10200", 0);
        UnitRecord* b = Add(*tree, "C1002012", 0);
        UnitRecord* b1 = Add(*b, "P10200", 0);
        UnitRecord* x = Add(*tree, "P10100", 0);
        for (UnitRecord* unit : { a, a1, a2, b, b1, x })
            unit->m_experience = -1;
        CopyExperienceToPlatoons(roster, tree.get());
        EXPECT_EQ((std::vector<std::int32_t> { a1->m_experience, a2->m_experience, b1->m_experience, x->m_experience }),
            c.experience)
            << c.entries;
        EXPECT_EQ(a->m_experience, -1) << "formations take nothing";
        if (c.entries == 3) {
            EXPECT_EQ(a2->m_morale, 2);
        }
    }
}

TEST(PlatoonRosterTest, AReplacementBlendsMoraleWithinTheMaximumAndKeptStrength)
{
    struct Case {
        std::int32_t strength, maxStrength, kept, keptMorale;
        bool applied;
        std::int32_t moraleAfter;
    };
    const Case cases[] = {
        { 4, 6, 4, 8, true, 7 }, // (4 * 8 + 1 * 4) / 5
        { 5, 6, 4, 8, true, 6 }, // (32 + 2 * 4) / 6
        { 6, 6, 4, 8, false, 8 }, // at the maximum
        { 2, 6, 4, 8, false, 8 }, // below the kept strength
        { -1, 6, -1, 8, false, 8 }, // no strength to blend against
        { INT_MAX, INT_MAX, INT_MAX, 8, false, 8 },
        { INT_MAX - 1, INT_MAX, INT_MAX - 1, INT_MAX, true, INT_MAX - 1 },
        { 0, 1, 0, 9, true, 4 },
    };
    for (const Case& c : cases) {
        PlatoonRosterEntry entry;
        entry.m_strength = c.strength;
        entry.m_maxStrength = c.maxStrength;
        entry.m_keptStrength = c.kept;
        entry.m_keptMorale = c.keptMorale;
        entry.m_morale = 8;
        EXPECT_EQ(ApplyReplacement(entry), c.applied) << c.strength;
        EXPECT_EQ(entry.m_strength, c.applied ? c.strength + 1 : c.strength) << c.strength;
        EXPECT_EQ(entry.m_morale, c.moraleAfter) << c.strength;
    }
}

TEST(PlatoonRosterTest, TheReplacementDialogSpendsPointsAndWritesBack)
{
    auto root = MakeUnit("C1002001", 10);
    root->m_role = 2;
    Add(*root, "P10401", 99, 1, 1, 1);
    UnitRecord* first = Add(*root, "P10200", 11, 0, 3, 5);
    first->m_leader = "Lt Baker  ";
    first->m_morale = 8;
    Add(*root, "P10100", 12, 0, 4, 4);
    UnitRecord* second = Add(*root, "P10100", 13, 0, 1, 4);
    second->m_leader = "Sgt Able";
    PlatoonRoster roster(root.get(), RosterMode::kReplacements, false);

    std::vector<std::string> seen;
    const std::int32_t left = RunReplacementDialog(roster, 3, [&](ReplacementSession& session) {
        ASSERT_EQ(session.Rows().size(), 2u);
        seen.push_back(session.Rows()[0].text);
        seen.push_back(session.Rows()[1].text);
        seen.push_back(session.StrengthLabel() + "|" + session.MoraleLabel() + "|" + session.PointsLabel());
        EXPECT_EQ(session.Rows()[1].number, 11);
        session.Select(1);
        EXPECT_TRUE(session.AddReplacement());
        EXPECT_TRUE(session.AddReplacement());
        EXPECT_FALSE(session.AddReplacement()) << "at the maximum";
        seen.push_back(session.Rows()[1].text);
        session.Select(7); // ignored
        session.Select(0);
        EXPECT_TRUE(session.AddReplacement());
        EXPECT_FALSE(session.AddReplacement()) << "no points left";
        seen.push_back(session.StrengthLabel() + "|" + session.MoraleLabel() + "|" + session.PointsLabel());
    });
    EXPECT_EQ(left, 0);
    EXPECT_EQ(seen,
        (std::vector<std::string> {
            "Sgt Able Strength-1 Max Strength-4 Morale-6",
            "Lt Baker Strength-3 Max Strength-5 Morale-8",
            "Platoon Strength: 1|Platoon Morale: 6|Total Replacement Points: 3",
            "Lt Baker Strength-5 Max Strength-5 Morale-6",
            "Platoon Strength: 2|Platoon Morale: 5|Total Replacement Points: 0",
        }));
    // Written back: the commander's following siblings.
    EXPECT_EQ(first->m_strength, 5);
    EXPECT_EQ(first->m_morale, 6); // (3 * 8 + 2 * 4) / 5
    EXPECT_EQ(second->m_strength, 2);
    EXPECT_EQ(second->m_morale, 5); // (6 + 4) / 2
}

TEST(PlatoonRosterTest, ADialogWithoutRowsClosesAtOnceAndNoPointsAreSpent)
{
    auto root = MakeUnit("C1002001", 10);
    root->m_role = 2;
    Add(*root, "P10200", 11, 0, 5, 5);
    PlatoonRoster roster(root.get(), RosterMode::kReplacements);
    bool asked = false;
    EXPECT_EQ(RunReplacementDialog(roster, 5, [&](ReplacementSession&) { asked = true; }), 5);
    EXPECT_FALSE(asked);

    root->m_firstChild->m_strength = 2;
    PlatoonRoster underStrength(root.get(), RosterMode::kReplacements);
    EXPECT_EQ(RunReplacementDialog(
                  underStrength, -4, [&](ReplacementSession& session) { EXPECT_FALSE(session.AddReplacement()); }),
        -4);
    EXPECT_EQ(root->m_firstChild->m_strength, 2);
}

} // namespace
