#pragma once
// The weather file: two tables of monthly cumulative percentages, table 1
// (11 rows: 12 percentages and a weather value, the visibility) and table 2
// (22 rows: 12 percentages and four battle-condition letters). "weather.dat"
// holds three variants of each, one section a region ("-1" lines end
// sections: the three table-1 variants, then the three table-2 variants);
// "<prefix>-weather.dat" holds one variant of each, read as it stands. Each
// table has a heading line before its rows and one line after them.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/shell/LauncherRandom.h"

struct WeatherRoll {
    int row = 0;
    std::int32_t value = 0; // the visibility the battle gets
};

struct ConditionRoll {
    int row = 0;
    std::string letters; // the four battle-condition letters; empty without a table
};

class WeatherTables {
public:
    static constexpr int kWeatherRows = 11;
    static constexpr int kConditionRows = 22;

    // Reads the tables of the region (the plain file's section) or of the
    // prefixed file. False, with both tables empty, when the file is missing,
    // a table is short or the region has no section.
    bool Load(const std::filesystem::path& folder, std::string_view regionPrefix, int region);
    bool IsLoaded() const { return !m_weather.empty(); }

    // A roll 1..100: the first table-1 row whose percentage for the month is
    // at least the roll; row 0 when none is.
    WeatherRoll RollWeather(LauncherRandom& random, int month) const;
    // The same on table 2 (at least the roll, as table 1).
    ConditionRoll RollBattleConditions(LauncherRandom& random, int month) const;

private:
    std::vector<std::array<std::int32_t, 13>> m_weather;
    struct ConditionRow {
        std::array<std::int32_t, 12> percent {};
        std::string letters;
    };
    std::vector<ConditionRow> m_conditions;
};
