// The order-of-battle line grammar, one line a case.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CampaignTestSupport.h"
#include "launcher/campaign/OrderOfBattle.h"

namespace {

struct LineCase {
    const char* name;
    const char* line;
    OobLineMode mode;
    const char* variedId;
    std::vector<int> rolls; // (k, n) pairs: the next draws give k of n
    const char* id; // nullptr: no unit
    const char* unitName;
    int morale;
    bool hasVariant;
};

std::vector<int> Script(const std::vector<int>& rolls)
{
    std::vector<int> values;
    for (std::size_t i = 0; i + 1 < rolls.size(); i += 2)
        values.push_back(ValueForRoll(rolls[i], rolls[i + 1]));
    return values;
}

class OobLineTest : public ::testing::TestWithParam<LineCase> { };

TEST_P(OobLineTest, ReadsTheLine)
{
    const LineCase& c = GetParam();
    CampaignTestFolder test;
    test.folder.Write("company10.txt", "Able\nBaker\nCharlie\n");
    test.folder.Write("corps1.txt", "Afrikakorps\n");
    test.context.g_templateNumber = 7;
    test.context.g_unitCounter = 40;
    test.random.ScriptValues(Script(c.rolls));
    LevelNumberBase base;
    base.rolls = { 50, 50, 50, 50, 50 };
    OobLineOptions options;
    options.mode = c.mode;
    options.variedId = c.variedId;
    options.listingNumberText = "Nth";
    const OobLine line = ParseOobLine(test.context, base, PrepareOobLine(c.line), options);
    EXPECT_EQ(line.hasVariant, c.hasVariant);
    if (!c.id) {
        EXPECT_EQ(line.unit, nullptr);
        EXPECT_EQ(test.context.g_unitCounter, 40) << "a line without a unit takes no number";
        return;
    }
    ASSERT_NE(line.unit, nullptr);
    EXPECT_EQ(line.unit->m_id, c.id);
    EXPECT_EQ(line.unit->m_name, c.unitName);
    EXPECT_EQ(line.unit->m_morale, c.morale);
    EXPECT_EQ(line.unit->m_availableFrom, 421100);
    EXPECT_EQ(line.unit->m_availableTo, 450500);
    EXPECT_EQ(line.unit->m_number, c.mode == OobLineMode::kListing ? 0 : 40);
    EXPECT_EQ(test.context.g_unitCounter, c.mode == OobLineMode::kListing ? 40 : 41);
    // Every scripted draw was taken, and no more.
    const int next = test.random.NextValue();
    test.random.SeedWith(0);
    EXPECT_EQ(next, test.random.NextValue()) << "draws left over or missing";
}

constexpr OobLineMode kSub = OobLineMode::kSubunit;
constexpr OobLineMode kRoot = OobLineMode::kRoot;
constexpr OobLineMode kList = OobLineMode::kListing;

INSTANTIATE_TEST_SUITE_P(Grammar, OobLineTest,
    ::testing::Values(
        LineCase { "Plain", "42 11 45 5 C1002001 Able Company", kSub, "", {}, "C1002001", "Able Company", 6, false },
        LineCase { "Morale", "42 11 45 5 C1002001 7 Able Company", kSub, "", {}, "C1002001", "Able Company", 7, false },
        LineCase {
            "DigitGluedIsName", "42 11 45 5 C1002001 7th Company", kSub, "", {}, "C1002001", "7th Company", 6, false },
        LineCase { "Brackets", "  \t[note] 42 11 45 5 [a] C1002001 [b]Able  Company[c]\r", kSub, "", {}, "C1002001",
            "Able Company", 6, false },
        LineCase { "TabsAndBlanks", "42\t11 45 5   C1002001   Able", kSub, "", {}, "C1002001", "Able", 6, false },
        LineCase { "Variant", "42 11 45 5 + C1002001 Able", kSub, "", {}, "C1002001", "Able", 6, true },
        LineCase {
            "PlatoonIdHeldWide", "42 11 45 5 P1401 Kompanietrupp", kSub, "", {}, "P01401", "Kompanietrupp", 6, false },
        LineCase { "NoName", "42 11 45 5 C1002001", kSub, "", {}, "C1002001", "", 6, false },
        LineCase { "Withheld", "42 11 45 5 K1052999 Provisional Corps", kSub, "", {}, nullptr, "", 0, false },
        LineCase { "WithheldPlatoon", "42 11 45 5 P10999 Spare", kSub, "", {}, nullptr, "", 0, false },
        LineCase { "WithheldVariantStillMarked", "42 11 45 5 + C1002999 Spare", kSub, "", {}, nullptr, "", 0, true },
        LineCase { "RangeDrawn", "42 11 45 5 D1042002 $(3-5) Infantry Division", kSub, "", { 1, 2 }, "D1042002",
            "4th Infantry Division", 6, false },
        LineCase { "RangeTop", "42 11 45 5 D1042002 $(3-5) Infantry Division", kSub, "", { 2, 2 }, "D1042002",
            "5th Infantry Division", 6, false },
        LineCase {
            "NoRange", "42 11 45 5 D1042002 $ Division", kSub, "", { 22, 100 }, "D1042002", "22nd Division", 6, false },
        LineCase { "Suffix1", "42 11 45 5 B1012001 $(0-1) Battalion", kSub, "", { 1, 1 }, "B1012001", "1st Battalion",
            6, false },
        LineCase { "Suffix2", "42 11 45 5 B1012001 $(1-2) Battalion", kSub, "", { 1, 1 }, "B1012001", "2nd Battalion",
            6, false },
        LineCase { "Suffix3", "42 11 45 5 B1012001 $(2-3) Battalion", kSub, "", { 1, 1 }, "B1012001", "3rd Battalion",
            6, false },
        LineCase { "Suffix11", "42 11 45 5 B1012001 $(10-11)", kSub, "", { 1, 1 }, "B1012001", "11th", 6, false },
        LineCase { "Suffix12", "42 11 45 5 B1012001 $(11-12)", kSub, "", { 1, 1 }, "B1012001", "12th", 6, false },
        LineCase { "Suffix13", "42 11 45 5 B1012001 $(12-13)", kSub, "", { 1, 1 }, "B1012001", "13th", 6, false },
        LineCase { "Suffix21", "42 11 45 5 B1012001 $(20-21)", kSub, "", { 1, 1 }, "B1012001", "21st", 6, false },
        LineCase { "Suffix111", "42 11 45 5 B1012001 $(110-111)", kSub, "", { 1, 1 }, "B1012001", "111th", 6, false },
        LineCase { "ZeroBecomesOne", "42 11 45 5 B1012001 $(-1-0)", kSub, "", { 1, 1 }, "B1012001", "1st", 6, false },
        LineCase { "DotSuppressesSuffix", "42 11 45 5 R0122001 $(753-754). Grenadier-Regiment", kSub, "", { 1, 1 },
            "R0122001", "754. Grenadier-Regiment", 6, false },
        LineCase { "Roman", "42 11 45 5 K0150001 Panzerkorps @(13-14) dropped", kSub, "", { 1, 1 }, "K0150001",
            "Panzerkorps XIV", 6, false },
        LineCase {
            "RomanLarge", "42 11 45 5 K0150001 @(1993-1994)", kSub, "", { 1, 1 }, "K0150001", "MCMXCIV", 6, false },
        LineCase { "Remembered", "42 11 45 5 C1002001 Stab # Regiment", kSub, "", {}, "C1002001", "Stab 7th Regiment",
            6, false },
        LineCase {
            "RememberedDot", "42 11 45 5 C1002001 #. Kompanie", kSub, "", {}, "C1002001", "7. Kompanie", 6, false },
        // Line k of the list wins while roll * k <= 100: Able (any), Baker
        // (50 of 2 lines), not Charlie (34 * 3 > 100).
        LineCase { "NameList", "42 11 45 5 C1002001 & Company", kSub, "", { 90, 100, 50, 100, 34, 100 }, "C1002001",
            "Baker Company", 6, false },
        LineCase { "NameListLastLine", "42 11 45 5 C1002001 & Company", kSub, "", { 90, 100, 51, 100, 33, 100 },
            "C1002001", "Charlie Company", 6, false },
        LineCase { "NameListOfTheLevel", "42 11 45 5 K0150001 Deutsches &", kSub, "", { 100, 100 }, "K0150001",
            "Deutsches Afrikakorps", 6, false },
        LineCase {
            "MissingNameList", "42 11 45 5 B1012001 & Battalion", kSub, "", {}, "B1012001", "& Battalion", 6, false },
        // Choice groups: the roll falls through the percentages.
        LineCase { "ChoiceFirst", "42 11 45 5 (30) C1002001 (70) C1002002 Company", kSub, "", { 29, 100 }, "C1002001",
            "Company", 6, false },
        LineCase { "ChoiceSecond", "42 11 45 5 (30) C1002001 (70) C1002002 Company", kSub, "", { 30, 100 }, "C1002002",
            "Company", 6, false },
        LineCase { "ChoiceNone", "42 11 45 5 (30) C1002001 (70) C1002002 Company", kSub, "", { 100, 100 }, nullptr, "",
            0, false },
        LineCase { "ChoicePlatoons", "42 11 45 5 (50) P1200 (50) P1201 Zug", kSub, "", { 60, 100 }, "P01201", "Zug", 6,
            false },
        // Battalions take the stored roll 50 (a draw is still made).
        LineCase { "ChoiceStored", "42 11 45 5 (30) B1012001 (40) R1022002 Unit", kSub, "", { 1, 100 }, "R1022002",
            "Unit", 6, false },
        // The root line takes the stored roll again for the regiment: 50
        // against 40, none wins.
        LineCase { "ChoiceStoredRoot", "42 11 45 5 (30) B1012001 (40) R1022002 Unit", kRoot, "", { 1, 100 }, nullptr,
            "", 0, false },
        LineCase { "ChoiceStoredRootFirst", "42 11 45 5 (60) B1012001 (40) R1022002 Unit", kRoot, "", { 1, 100 },
            "B1012001", "Unit", 6, false },
        // A variant line never takes a candidate before the unit it varies.
        LineCase { "ChoiceVariant", "42 11 45 5 (60) C1002001 (40) C1002002 Company", kSub, "C1002002", { 20, 100 },
            "C1002002", "Company", 6, false },
        LineCase { "ChoiceVariantOtherId", "42 11 45 5 (60) C1002001 (40) C1002002 Company", kSub, "C1002009",
            { 20, 100 }, "C1002001", "Company", 6, false },
        LineCase { "ChoiceWithMorale", "42 11 45 5 (100) C1002001 8 Company", kSub, "", { 5, 100 }, "C1002001",
            "Company", 8, false },
        // Listing: templates give their text, no draws, no numbers.
        LineCase { "ListingDollar", "42 11 45 5 D1042002 $(8-9). Infantry Division", kList, "", {}, "D1042002",
            "Infantry Division", 6, false },
        LineCase { "ListingRoman", "42 11 45 5 K0150001 Korps @(89-90)", kList, "", {}, "K0150001", "Korps", 6, false },
        LineCase { "ListingHash", "42 11 45 5 K0150001 # Korps", kList, "", {}, "K0150001", "Nth Korps", 6, false },
        LineCase { "ListingList", "42 11 45 5 C1002001 & Company", kList, "", {}, "C1002001", "Company", 6, false }),
    [](const ::testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(OobLineRefusalTest, BadNumbersIdsAndTemplatesYieldNoUnit)
{
    const char* lines[] = {
        "", "42 11 45", "42 x 45 5 C1002001 Able", "42 11 45 5.5 C1002001 Able", "99999999999 11 45 5 C1002001 Able",
        "300000 11 45 5 C1002001 Able", // the key does not fit 32 bits
        "42 11 45 5", "42 11 45 5 $ Able", "42 11 45 5 C1234567890123 Able", "42 11 45 5 (x) C1002001 Able",
        "42 11 45 5 (50 C1002001 Able", "42 11 45 5 (50)", "42 11 45 5 C1002001 $(3-x) Able",
        "42 11 45 5 C1002001 $(3-5 Able",
        "42 11 45 5 C1002001 $(2147483647-2147483647)", // the number does not fit
    };
    for (const char* text : lines) {
        CampaignTestFolder test;
        test.random.ScriptValues({ 100, 100 });
        const OobLine line = ParseOobLine(test.context, LevelNumberBase {}, PrepareOobLine(text));
        EXPECT_EQ(line.unit, nullptr) << text;
        EXPECT_EQ(test.context.g_unitCounter, 0) << text;
    }
    CampaignTestFolder test;
    const std::string longLine = "42 11 45 5 C1002001 " + std::string(300, 'x');
    EXPECT_EQ(ParseOobLine(test.context, LevelNumberBase {}, longLine).unit, nullptr);
}

TEST(OobLineRefusalTest, HugeRangesStayBoundedAndDrawOnce)
{
    CampaignTestFolder test;
    const OobLine line
        = ParseOobLine(test.context, LevelNumberBase {}, PrepareOobLine("42 11 45 5 K0150001 @(0-2000000000) Korps"));
    ASSERT_NE(line.unit, nullptr);
    EXPECT_LE(line.unit->m_name.size(), 255u);
    EXPECT_GE(test.context.g_templateNumber, 1);
}

} // namespace
