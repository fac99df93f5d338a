#include <gtest/gtest.h>

#include <string>

#include "CampaignTestSupport.h"
#include "launcher/campaign/Weather.h"

namespace {

// Table 1 of a variant: row r reaches (r + 1) * 10 percent in every month
// (row 10: 110), its weather value is base + r.
std::string WeatherTable(int base, int rows = WeatherTables::kWeatherRows)
{
    std::string text = "Weather table\n";
    for (int r = 0; r < rows; ++r) {
        for (int m = 0; m < 12; ++m)
            text += std::to_string((r + 1) * 10) + " ";
        text += std::to_string(base + r) + "\n";
    }
    return text;
}

// Table 2: row r reaches (r + 1) * 5 percent; its letters name the variant
// and the row.
std::string ConditionTable(char variant)
{
    std::string text = "Battle conditions\n";
    for (int r = 0; r < WeatherTables::kConditionRows; ++r) {
        for (int m = 0; m < 12; ++m)
            text += std::to_string(m == 5 ? 100 : (r + 1) * 5) + " ";
        text += std::string(1, variant) + " " + static_cast<char>('a' + r) + " D F\n";
    }
    return text;
}

std::string PlainWeatherFile()
{
    std::string text;
    for (int v = 0; v < 3; ++v)
        text += WeatherTable(v * 100) + "-1\n";
    for (int v = 0; v < 3; ++v)
        text += ConditionTable(static_cast<char>('A' + v)) + "-1\n";
    return text;
}

WeatherRoll RollWeatherWith(const WeatherTables& tables, int roll, int month)
{
    LauncherRandom random;
    random.ScriptValues({ ValueForRoll(roll, 100) });
    return tables.RollWeather(random, month);
}

ConditionRoll RollConditionsWith(const WeatherTables& tables, int roll, int month)
{
    LauncherRandom random;
    random.ScriptValues({ ValueForRoll(roll, 100) });
    return tables.RollBattleConditions(random, month);
}

TEST(WeatherTest, RollsTakeTheFirstRowThatReachesTheRoll)
{
    TempDir folder;
    folder.Write("weather.dat", PlainWeatherFile());
    WeatherTables tables;
    ASSERT_TRUE(tables.Load(folder.Path(), "", 1));
    struct Case {
        int roll, row;
    };
    for (const Case c : { Case { 1, 0 }, Case { 10, 0 }, Case { 11, 1 }, Case { 99, 9 }, Case { 100, 9 } }) {
        const WeatherRoll result = RollWeatherWith(tables, c.roll, 3);
        EXPECT_EQ(result.row, c.row) << c.roll;
        EXPECT_EQ(result.value, 100 + c.row) << "the region's variant";
    }
    for (const Case c : { Case { 1, 0 }, Case { 5, 0 }, Case { 6, 1 }, Case { 100, 19 } }) {
        const ConditionRoll result = RollConditionsWith(tables, c.roll, 3);
        EXPECT_EQ(result.row, c.row) << c.roll;
        EXPECT_EQ(result.letters, std::string("B") + static_cast<char>('a' + c.row) + "DF") << c.roll;
    }
    // June reaches 100 in every row: row 0 even for a roll of 100.
    EXPECT_EQ(RollConditionsWith(tables, 100, 6).row, 0);
    // A month outside the year finds no row: row 0 and its values.
    EXPECT_EQ(RollWeatherWith(tables, 50, 13).value, 100);
    EXPECT_EQ(RollConditionsWith(tables, 50, 0).letters, "BaDF");
}

TEST(WeatherTest, EachRegionHasItsSectionAndAPrefixedFileIsReadAsItStands)
{
    TempDir folder;
    folder.Write("weather.dat", PlainWeatherFile());
    folder.Write("TUN-weather.dat", WeatherTable(500) + "end\n" + ConditionTable('T') + "end\n");
    WeatherTables tables;
    for (int region = 0; region < 3; ++region) {
        ASSERT_TRUE(tables.Load(folder.Path(), "", region));
        EXPECT_EQ(RollWeatherWith(tables, 35, 1).value, region * 100 + 3);
        EXPECT_EQ(RollConditionsWith(tables, 1, 1).letters[0], 'A' + region);
    }
    ASSERT_TRUE(tables.Load(folder.Path(), "TUN", 7));
    EXPECT_EQ(RollWeatherWith(tables, 35, 1).value, 503);
    EXPECT_EQ(RollConditionsWith(tables, 1, 1).letters, "TaDF");
}

TEST(WeatherTest, AFailedLoadEmptiesBothTables)
{
    TempDir folder;
    folder.Write("weather.dat", PlainWeatherFile());
    folder.Write("SHORT-weather.dat", WeatherTable(0, 10) + "-1\n" + ConditionTable('S'));
    folder.Write("BAD-weather.dat", WeatherTable(0) + "-1\n" + "heading\n1 2 3\n");
    WeatherTables tables;
    for (const auto& [prefix, region] :
        { std::pair<const char*, int> { "", 3 }, { "", -1 }, { "MISSING", 0 }, { "SHORT", 0 }, { "BAD", 0 } }) {
        SCOPED_TRACE(std::string(prefix) + " " + std::to_string(region));
        ASSERT_TRUE(tables.Load(folder.Path(), "", 2));
        EXPECT_FALSE(tables.Load(folder.Path(), prefix, region));
        EXPECT_FALSE(tables.IsLoaded());
        const WeatherRoll weather = RollWeatherWith(tables, 50, 1);
        EXPECT_EQ(weather.row, 0);
        EXPECT_EQ(weather.value, 0);
        const ConditionRoll conditions = RollConditionsWith(tables, 50, 1);
        EXPECT_EQ(conditions.row, 0);
        EXPECT_EQ(conditions.letters, "");
    }
}

TEST(WeatherTest, EveryRollDrawsOnce)
{
    WeatherTables empty;
    LauncherRandom random;
    random.ScriptValues({ 1, 2 });
    empty.RollWeather(random, 1);
    empty.RollBattleConditions(random, 1);
    LauncherRandom fresh;
    EXPECT_EQ(random.NextValue(), fresh.NextValue());
}

} // namespace
