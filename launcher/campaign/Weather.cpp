#include "launcher/campaign/Weather.h"

#include <span>

#include "launcher/campaign/CampaignFiles.h"
#include "model/DataFile.h"
#include "model/TextScan.h"

namespace {

bool IsSectionEnd(std::string_view line) { return line.substr(0, 2) == "-1"; }

class TableLines {
public:
    explicit TableLines(std::string& text)
        : m_reader(std::span<char>(text.data(), text.size()))
    {
    }
    bool Next(std::string_view& line)
    {
        if (!m_reader.Next(line))
            return false;
        return line.size() <= kMaxCampaignLineLength;
    }
    // Passes the given number of section ends.
    bool SkipSections(int count)
    {
        std::string_view line;
        while (count > 0) {
            if (!Next(line))
                return false;
            if (IsSectionEnd(line))
                --count;
        }
        return true;
    }

private:
    LineReader m_reader;
};

bool ReadPercentages(TextCursor& cursor, std::span<std::int32_t> values)
{
    for (std::int32_t& value : values) {
        cursor.SkipBlanks();
        if (!cursor.ReadInt(value))
            return false;
    }
    return true;
}

} // namespace

bool WeatherTables::Load(const std::filesystem::path& folder, std::string_view regionPrefix, int region)
{
    m_weather.clear();
    m_conditions.clear();
    const bool prefixed = !regionPrefix.empty();
    if (!prefixed && (region < 0 || region > 2))
        return false;
    const std::string name = prefixed ? std::string(regionPrefix) + "-weather.dat" : "weather.dat";
    std::string text;
    if (ReadDataFileText((folder / name).string(), text) != DataFileRead::kRead)
        return false;

    std::vector<std::array<std::int32_t, 13>> weather;
    std::vector<ConditionRow> conditions;
    std::string_view line;
    TableLines lines(text);
    // Table 1: the region's section, or the file's start.
    if (!lines.SkipSections(prefixed ? 0 : region) || !lines.Next(line))
        return false;
    for (int row = 0; row < kWeatherRows; ++row) {
        std::array<std::int32_t, 13> values {};
        if (!lines.Next(line))
            return false;
        TextCursor cursor(line);
        if (!ReadPercentages(cursor, values))
            return false;
        weather.push_back(values);
    }
    // Table 2: the plain file's sections 3..5 counted from the start; in a
    // prefixed file it follows table 1's closing line.
    if (prefixed) {
        if (!lines.Next(line))
            return false;
    } else {
        lines = TableLines(text);
        if (!lines.SkipSections(3 + region))
            return false;
    }
    if (!lines.Next(line))
        return false;
    for (int row = 0; row < kConditionRows; ++row) {
        ConditionRow values;
        if (!lines.Next(line))
            return false;
        TextCursor cursor(line);
        if (!ReadPercentages(cursor, values.percent))
            return false;
        for (int i = 0; i < 4; ++i) {
            char letter = 0;
            if (!cursor.ReadChar(letter))
                return false;
            values.letters.push_back(letter);
        }
        conditions.push_back(std::move(values));
    }
    m_weather = std::move(weather);
    m_conditions = std::move(conditions);
    return true;
}

WeatherRoll WeatherTables::RollWeather(LauncherRandom& random, int month) const
{
    const int roll = random.RollRandom(100);
    WeatherRoll result;
    if (m_weather.empty())
        return result;
    result.value = m_weather[0][12];
    if (month < 1 || month > 12)
        return result;
    for (std::size_t row = 0; row < m_weather.size(); ++row) {
        if (m_weather[row][static_cast<std::size_t>(month - 1)] >= roll) {
            result.row = static_cast<int>(row);
            result.value = m_weather[row][12];
            break;
        }
    }
    return result;
}

ConditionRoll WeatherTables::RollBattleConditions(LauncherRandom& random, int month) const
{
    const int roll = random.RollRandom(100);
    ConditionRoll result;
    if (m_conditions.empty())
        return result;
    std::size_t chosen = 0;
    if (month >= 1 && month <= 12) {
        for (std::size_t row = 0; row < m_conditions.size(); ++row) {
            if (m_conditions[row].percent[static_cast<std::size_t>(month - 1)] >= roll) {
                chosen = row;
                break;
            }
        }
    }
    result.row = static_cast<int>(chosen);
    result.letters = m_conditions[chosen].letters;
    return result;
}
