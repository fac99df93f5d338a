#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "model/ParameterData.h"
#include "model/PlacedUnit.h"
#include "model/PlatoonType.h"
#include "model/Random.h"
#include "model/Scramble.h"
#include "tests/TestFiles.h"

namespace {

std::string Repeat(int count, int first, int step)
{
    std::string line;
    for (int i = 0; i < count; ++i)
        line += std::to_string(first + i * step) + (i + 1 < count ? " " : "\n");
    return line;
}

// Three columns: ratios 1/2, 1/1 and 2/1.
const std::string kFireTable = "3\n"
                               "1 2 10 10 10 10 10\n"
                               "1 1 20 20 20 20 10\n"
                               "2 1 40 30 20 10 0\n";
const std::string kNationList = "0 49 80\n5 67 120\n28 73 90\n3 65 70\n7 56 60\n-1\n";

std::string ParameterText(
    int version, const std::string& fireTable = kFireTable, const std::string& nationList = kNationList)
{
    std::string text = std::to_string(version) + " Test rules\n";
    text += "12 200\n";
    text += "4 40 30 7\n";
    text += fireTable;
    text += "0 " + Repeat(27, 101, 1); // terrain percent: 0 then 101..127
    text += Repeat(21, 50, 1); // hexside percent 50..70
    text += "61 62\n";
    text += Repeat(28, 0, 2); // terrain value 0, 2, 4...
    text += "91 92 93 94 95 96 97 101 31 32 150 102 11\n";
    text += Repeat(28, 0, 3); // terrain value 2: 0, 3, 6...
    text += "132 133 134 135\n";
    if (version == 2)
        text += nationList;
    return text;
}

const char* LoadText(ParameterData& data, const TempDir& dir, const std::string& plain)
{
    dir.Write("main.pdx", ScrambleText(plain));
    return data.ReadParameterFile(dir.Path("main.pdx").string());
}

} // namespace

TEST(ParameterDataTest, DefaultsBeforeAnyFile)
{
    const ParameterData data;
    EXPECT_EQ(data.m_minutesPerTurn, 10);
    EXPECT_EQ(data.m_metresPerHex, 250);
    EXPECT_EQ(data.m_fireColumnCount, 0);
    EXPECT_EQ(data.m_value96, 6);
    EXPECT_EQ(data.m_value97, 10);
    EXPECT_EQ(data.m_flaggedHexMoveCost, 100);
    EXPECT_EQ(data.m_digInApCost, 30);
    EXPECT_EQ(data.m_mineMoveCost, 30);
    EXPECT_EQ(data.m_vehicleMaxClimb, 100);
    EXPECT_EQ(data.m_value102, 4);
    EXPECT_EQ(data.m_carrierUnloadApCost, 10);
    EXPECT_EQ(data.m_value132 * 1000 + data.m_value133 * 100 + data.m_value134 * 10 + data.m_value135, 1245);
    EXPECT_EQ(data.GetNationPercent(28, 'I'), 100);
    EXPECT_DOUBLE_EQ(data.GetTerrainPercent(5), 1.0);
    EXPECT_EQ(data.GetFireColumn(10, 1, 1.0), -1);
}

TEST(ParameterDataTest, VersionTwoFileFillsEveryField)
{
    TempDir dir;
    ParameterData data;
    ASSERT_EQ(LoadText(data, dir, ParameterText(2)), nullptr);

    EXPECT_EQ(data.m_version, 2);
    EXPECT_EQ(data.m_name.str(), "Test rules");
    EXPECT_EQ(data.m_minutesPerTurn, 12);
    EXPECT_EQ(data.m_metresPerHex, 200);
    EXPECT_EQ(data.m_maxStackUnits, 4);
    EXPECT_EQ(data.m_maxStackStrength, 40);
    EXPECT_EQ(data.m_roadStackLimit, 30);
    EXPECT_EQ(data.m_defenseZeroValue, 7);
    ASSERT_EQ(data.m_fireColumnCount, 3);
    EXPECT_EQ(data.m_fireNumerators, (std::vector<int> { 1, 1, 2 }));
    EXPECT_EQ(data.m_fireDenominators, (std::vector<int> { 2, 1, 1 }));
    EXPECT_EQ(data.m_fireOutcomes[2], (std::array<int, 5> { 40, 30, 20, 10, 0 }));
    EXPECT_EQ(data.m_terrainPercent[27], 127);
    EXPECT_EQ(data.m_hexsidePercent[20], 70);
    EXPECT_EQ(data.m_value61, 61);
    EXPECT_EQ(data.m_value62, 62);
    EXPECT_EQ(data.m_terrainValue[27], 54);
    EXPECT_EQ(data.m_value91, 91);
    EXPECT_EQ(data.m_value95, 95);
    EXPECT_EQ(data.m_value96, 96);
    EXPECT_EQ(data.m_value97, 97);
    EXPECT_EQ(data.m_flaggedHexMoveCost, 101);
    EXPECT_EQ(data.m_digInApCost, 31);
    EXPECT_EQ(data.m_mineMoveCost, 32);
    EXPECT_EQ(data.m_vehicleMaxClimb, 150);
    EXPECT_EQ(data.m_value102, 102);
    EXPECT_EQ(data.m_carrierUnloadApCost, 11);
    EXPECT_EQ(data.m_terrainValue2[27], 81);
    EXPECT_EQ(data.m_value132, 132);
    EXPECT_EQ(data.m_value135, 135);

    // Percent queries: an entry of 0 and a number outside the table read 1.0.
    EXPECT_DOUBLE_EQ(data.GetTerrainPercent(0), 1.0);
    EXPECT_DOUBLE_EQ(data.GetTerrainPercent(1), 1.01);
    EXPECT_DOUBLE_EQ(data.GetTerrainPercent(28), 1.0);
    EXPECT_DOUBLE_EQ(data.GetTerrainPercent(-1), 1.0);
    EXPECT_DOUBLE_EQ(data.GetHexsidePercent(0), 0.5);
    EXPECT_DOUBLE_EQ(data.GetHexsidePercent(21), 1.0);

    struct Case {
        int nation;
        int code;
        int percent;
    };
    const Case cases[] = {
        { 0, '1', 80 },
        { 0, '0', 100 },
        { 5, 'C', 120 },
        { 28, 'I', 90 },
        { 7, '8', 60 },
        { 3, 'A', 70 }, // any other code of 48..73 uses column 0
        { 3, '0', 70 },
        { 3, 47, 100 },
        { 3, 74, 100 },
        { 29, '0', 100 },
        { -1, '0', 100 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(data.GetNationPercent(c.nation, c.code), c.percent) << c.nation << " " << c.code;
}

TEST(ParameterDataTest, VersionOneStopsWhereItEndsAndNewerVersionsAreRefused)
{
    TempDir dir;
    ParameterData one;
    ASSERT_EQ(LoadText(one, dir, ParameterText(1)), nullptr);
    EXPECT_EQ(one.m_value135, 135);
    EXPECT_EQ(one.GetNationPercent(0, '1'), 100);

    // A version above 2 is a read error and keeps every value read before.
    for (int version : { 3, 10 }) {
        ParameterData data;
        ASSERT_EQ(LoadText(data, dir, ParameterText(2)), nullptr);
        std::string newer = ParameterText(version);
        newer.replace(newer.find("12 200"), 6, "6 100");
        EXPECT_STREQ(LoadText(data, dir, newer), kParameterFileReadError) << version;
        EXPECT_EQ(data.m_version, 2) << version;
        EXPECT_EQ(data.m_name.str(), "Test rules") << version;
        EXPECT_EQ(data.m_minutesPerTurn, 12) << version;
        EXPECT_EQ(data.m_fireColumnCount, 3) << version;
        EXPECT_EQ(data.GetNationPercent(0, '1'), 80) << version;
    }
}

TEST(ParameterDataTest, AVersionLineWithoutANameHasAnEmptyName)
{
    // The name is the rest of the version's own line, never the next line.
    for (const char* versionLine : { "2\n", "2\r\n", "2 \n" }) {
        std::string text = ParameterText(2);
        text.replace(0, text.find('\n') + 1, versionLine);
        ParameterData data;
        std::istringstream in(text);
        ASSERT_TRUE(data.ReadFromStream(in)) << versionLine;
        EXPECT_TRUE(data.m_name.IsEmpty()) << versionLine;
        EXPECT_EQ(data.m_minutesPerTurn, 12) << versionLine;
        EXPECT_EQ(data.m_metresPerHex, 200) << versionLine;
        EXPECT_EQ(data.m_fireColumnCount, 3) << versionLine;
        EXPECT_EQ(data.GetNationPercent(0, '1'), 80) << versionLine;
    }
}

TEST(ParameterDataTest, LastLineWithoutLineFeedIsKept)
{
    TempDir dir;
    ParameterData data;
    std::string text = ParameterText(2, kFireTable, "4 49 55\n-1");
    ASSERT_EQ(LoadText(data, dir, text), nullptr);
    EXPECT_EQ(data.GetNationPercent(4, '1'), 55);
}

TEST(ParameterDataTest, DamagedFilesAreRefusedAndChangeNothing)
{
    struct Case {
        const char* what;
        std::string text;
    };
    const std::string longLine(2000, '7');
    const Case cases[] = {
        { "no columns", ParameterText(2, "0\n") },
        { "negative column count", ParameterText(2, "-3\n") },
        { "too many columns", ParameterText(2, "65\n") },
        { "huge column count", ParameterText(2, "2000000000\n") },
        { "denominator 0", ParameterText(2, "2\n1 2 1 1 1 1 1\n1 0 2 2 2 2 2\n") },
        { "negative denominator", ParameterText(2, "1\n1 -2 1 1 1 1 1\n") },
        { "descending ratios", ParameterText(2, "2\n1 1 1 1 1 1 1\n1 2 2 2 2 2 2\n") },
        { "equal ratios", ParameterText(2, "2\n1 2 1 1 1 1 1\n2 4 2 2 2 2 2\n") },
        { "truncated in the table", ParameterText(2).substr(0, 45) },
        { "nation list without end", ParameterText(2, kFireTable, "0 49 80\n") },
        { "number out of range", ParameterText(2, "1\n99999999999 1 1 1 1 1 1\n") },
        { "over-long line", ParameterText(2) + longLine + "\n" },
        { "empty file", "" },
    };
    for (const Case& c : cases) {
        TempDir dir;
        ParameterData data;
        ASSERT_EQ(LoadText(data, dir, ParameterText(2)), nullptr);
        const char* error = LoadText(data, dir, c.text);
        ASSERT_NE(error, nullptr) << c.what;
        EXPECT_STREQ(error, "Error reading from parameter data file: main.pdt") << c.what;
        // The values of the last good file stay, the fire table included.
        EXPECT_EQ(data.m_fireColumnCount, 3) << c.what;
        EXPECT_EQ(data.m_fireDenominators, (std::vector<int> { 2, 1, 1 })) << c.what;
        EXPECT_EQ(data.m_minutesPerTurn, 12) << c.what;
        EXPECT_EQ(data.GetNationPercent(0, '1'), 80) << c.what;
    }
}

TEST(ParameterDataTest, HostileNationEntriesEndTheList)
{
    TempDir dir;
    ParameterData data;
    ASSERT_EQ(LoadText(data, dir, ParameterText(2, kFireTable, "1 49 30\n99 49 10\n2 49 20\n")), nullptr);
    EXPECT_EQ(data.GetNationPercent(1, '1'), 30);
    EXPECT_EQ(data.GetNationPercent(2, '1'), 100);
    ASSERT_EQ(LoadText(data, dir, ParameterText(2, kFireTable, "1 49 40\n2 200 10\n2 49 20\n")), nullptr);
    EXPECT_EQ(data.GetNationPercent(1, '1'), 40);
    EXPECT_EQ(data.GetNationPercent(2, '1'), 100);
}

TEST(ParameterDataTest, MissingFileKeepsValues)
{
    TempDir dir;
    ParameterData data;
    ASSERT_EQ(LoadText(data, dir, ParameterText(2)), nullptr);
    EXPECT_EQ(data.ReadParameterFile(dir.Path("absent.pdx").string()), nullptr);
    EXPECT_EQ(data.m_minutesPerTurn, 12);
    EXPECT_EQ(data.m_fireColumnCount, 3);
}

TEST(ParameterDataTest, ReadsFileByCaseInsensitiveName)
{
    TempDir dir;
    dir.Write("MAIN.PDX", ScrambleText(ParameterText(1)));
    ParameterData data;
    EXPECT_EQ(data.ReadParameterFile(dir.Path("main.pdx").string()), nullptr);
    EXPECT_EQ(data.m_minutesPerTurn, 12);
}

TEST(ParameterDataTest, FireColumnAndInterpolation)
{
    ParameterData data;
    std::istringstream in(ParameterText(2));
    ASSERT_TRUE(data.ReadFromStream(in));

    struct Case {
        int attack;
        int defense;
        double modifier;
        int column;
        std::array<int, 5> values;
    };
    const Case cases[] = {
        { 1, 4, 1.0, 0, { 10, 10, 10, 10, 10 } }, // below the first ratio
        { 1, 2, 1.0, 1, { 10, 10, 10, 10, 10 } }, // on the first column's ratio
        { 3, 3, 1.0, 2, { 20, 20, 20, 20, 10 } }, // on the second column's ratio
        { 3, 4, 1.0, 1, { 15, 15, 15, 15, 10 } }, // halfway between the first two
        { 3, 2, 1.0, 2, { 30, 25, 20, 15, 5 } }, // halfway between the last two
        { 3, 4, 2.0, 2, { 30, 25, 20, 15, 5 } }, // the modifier scales the attack
        { 5, 4, 1.0, 2, { 25, 22, 20, 17, 7 } }, // a quarter of the way: truncated
        { 3, 1, 1.0, 2, { 60, 40, 20, 0, -10 } }, // one step past the last column
        { 11, 4, 1.0, 2, { 55, 37, 20, 2, -7 } }, // past the last: truncation toward zero
        { 2, 1, 1.0, 2, { 40, 30, 20, 10, 0 } }, // on the last column's ratio
    };
    for (const Case& c : cases) {
        EXPECT_EQ(data.GetFireColumn(c.attack, c.defense, c.modifier), c.column) << c.attack << "/" << c.defense;
        std::array<int, 5> values {};
        data.InterpolateOutcomes(values.data(), c.attack, c.defense, c.modifier);
        EXPECT_EQ(values, c.values) << c.attack << "/" << c.defense << " x" << c.modifier;
    }

    // Chances a full int range apart interpolate without overflowing: halfway
    // from the lowest int to the highest is -0.5, truncated to 0.
    ParameterData extreme;
    std::istringstream wide(
        ParameterText(1, "2\n1 1 -2147483648 2147483647 0 0 0\n2 1 2147483647 -2147483648 0 0 0\n"));
    ASSERT_TRUE(extreme.ReadFromStream(wide));
    std::array<int, 5> halfway {};
    extreme.InterpolateOutcomes(halfway.data(), 3, 2, 1.0);
    EXPECT_EQ(halfway, (std::array<int, 5> { 0, 0, 0, 0, 0 }));
    extreme.InterpolateOutcomes(halfway.data(), 7, 4, 1.0);
    EXPECT_EQ(halfway, (std::array<int, 5> { 1000000000, -1000000000, 0, 0, 0 })) << "held to the outcome bound";

    // One column gives its own values at every ratio.
    ParameterData single;
    std::istringstream one(ParameterText(1, "1\n1 1 5 6 7 8 9\n"));
    ASSERT_TRUE(single.ReadFromStream(one));
    for (int attack : { 1, 10, 1000 }) {
        std::array<int, 5> values {};
        single.InterpolateOutcomes(values.data(), attack, 3, 1.0);
        EXPECT_EQ(values, (std::array<int, 5> { 5, 6, 7, 8, 9 })) << attack;
    }
}

TEST(ParameterDataTest, OutcomeRollFollowsTheGlobalGenerator)
{
    // The roll is the first draw in percent, raised by the bias when the
    // second draw is below one half.
    const int values[5] = { 10, 20, 30, 30, 5 };
    const int bias = 25;
    SetRandomSeed(2024);
    CRandomGenerator reference(2024);
    for (int i = 0; i < 200; ++i) {
        int roll = static_cast<int>(reference.Next() * 100.0);
        if (reference.Next() < 0.5)
            roll = std::min(roll + bias, 99);
        int expected = 5;
        for (int k = 0, sum = 0; k < 5; ++k) {
            sum += values[k];
            if (roll < sum) {
                expected = k;
                break;
            }
        }
        ASSERT_EQ(ParameterData::RollOutcome(values, bias), expected) << i;
    }
    EXPECT_EQ(GlobalRandomGenerator().State(), reference.State());
}

TEST(ParameterDataTest, OutcomeRollBoundsAndBias)
{
    SetRandomSeed(7);
    const int full[5] = { 0, 0, 0, 0, 100 };
    const int none[5] = { 0, 0, 0, 0, 0 };
    const int onlyZeroRoll[5] = { 0, 0, 0, 0, 1 };
    int biased = 0;
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(ParameterData::RollOutcome(full, 0), 4);
        EXPECT_EQ(ParameterData::RollOutcome(none, 0), 5);
        // A large negative bias clamps the roll to 0 on about half the rolls.
        if (ParameterData::RollOutcome(onlyZeroRoll, -1000) == 4)
            ++biased;
        // A large positive bias never reaches past 99.
        EXPECT_EQ(ParameterData::RollOutcome(full, 1000), 4);
    }
    EXPECT_GT(biased, 420);
    EXPECT_LT(biased, 600);
}

TEST(ParameterDataTest, ShotsTallyOutcomes)
{
    ParameterData data;
    std::istringstream in(ParameterText(1, "2\n1 1 100 0 0 0 0\n2 1 0 0 0 100 0\n"));
    ASSERT_TRUE(data.ReadFromStream(in));
    SetRandomSeed(99);

    struct Case {
        int attack;
        int defense;
        int shots;
        int first;
        int second;
        int third;
        bool draws;
    };
    const Case cases[] = {
        { 4, 0, 5, 7, 7, 7, false }, // defense 0: the file's value, no draw
        { 0, 4, 5, 0, 0, 0, false }, // attack 0: nothing, no draw
        { 1, 2, 5, 15, 15, 0, true }, // every roll outcome 0
        { 2, 1, 4, 0, 4, 0, true }, // every roll outcome 3
        { 1, 2, 0, 0, 0, 0, false }, // no shots, no draw
        { 1, 2, -3, 0, 0, 0, false },
    };
    for (const Case& c : cases) {
        const auto before = GlobalRandomGenerator().State();
        int first = -1, second = -1, third = -1;
        data.ResolveShots(c.attack, c.defense, c.shots, 1.0, 0, first, second, third);
        EXPECT_EQ(first, c.first) << c.attack << "/" << c.defense;
        EXPECT_EQ(second, c.second) << c.attack << "/" << c.defense;
        EXPECT_EQ(third, c.third) << c.attack << "/" << c.defense;
        EXPECT_EQ(GlobalRandomGenerator().State() != before, c.draws) << c.attack << "/" << c.defense;
    }

    // Without a fire table shots resolve to nothing and draw nothing.
    const ParameterData empty;
    const auto before = GlobalRandomGenerator().State();
    int first = -1, second = -1, third = -1;
    empty.ResolveShots(5, 2, 10, 1.0, 0, first, second, third);
    EXPECT_EQ(first + second + third, 0);
    EXPECT_EQ(GlobalRandomGenerator().State(), before);
}

TEST(ParameterDataTest, ShotsAddThreeTwoOneByOutcome)
{
    // Chances of 20 each: a roll r gives outcome r / 20, and each outcome
    // adds its own amounts (3/3/0, 2/2/0, 1/1/0, 0/1/0, 0/0/1).
    ParameterData data;
    std::istringstream in(ParameterText(1, "1\n1 1 20 20 20 20 20\n"));
    ASSERT_TRUE(data.ReadFromStream(in));
    SetRandomSeed(5);
    CRandomGenerator reference(5);
    int first = 0, second = 0, third = 0;
    int expectFirst = 0, expectSecond = 0, expectThird = 0;
    for (int shot = 0; shot < 50; ++shot) {
        const int roll = static_cast<int>(reference.Next() * 100.0);
        reference.Next();
        const int outcome = roll / 20;
        const int add[5][3] = { { 3, 3, 0 }, { 2, 2, 0 }, { 1, 1, 0 }, { 0, 1, 0 }, { 0, 0, 1 } };
        expectFirst += add[outcome][0];
        expectSecond += add[outcome][1];
        expectThird += add[outcome][2];
    }
    data.ResolveShots(3, 3, 50, 1.0, 0, first, second, third);
    EXPECT_EQ(first, expectFirst);
    EXPECT_EQ(second, expectSecond);
    EXPECT_EQ(third, expectThird);
}

TEST(ParameterDataTest, BuildingCoverForHardTargetsAndStaticTypes)
{
    ParameterData data;
    data.m_terrainPercent[4] = 50;
    data.m_terrainPercent[2] = 80;
    PlatoonType tank;
    tank.m_targetFlags = 0x1;
    tank.m_movementAllowance = 20;
    PlatoonType gun;
    gun.m_movementAllowance = 0;
    PlatoonType infantry;
    infantry.m_movementAllowance = 6;
    PlacedUnit unit;

    struct Case {
        PlatoonType* type;
        int terrain;
        double percent;
    };
    const Case cases[] = {
        { &tank, 4, 1.0 },
        { &gun, 4, 1.0 },
        { &infantry, 4, 0.5 },
        { &tank, 2, 0.8 },
        { &gun, 2, 0.8 },
    };
    for (const Case& c : cases) {
        unit.m_type = c.type;
        EXPECT_DOUBLE_EQ(data.GetTerrainPercentFor(c.terrain, unit), c.percent) << c.terrain;
    }
}
