#include "launcher/campaign/CampaignParameters.h"
#include "model/IntRange.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <span>

#include "launcher/campaign/CampaignFiles.h"
#include "model/DataFile.h"
#include "model/TextScan.h"

namespace {

bool IsSectionEnd(std::string_view line, bool blankEnds)
{
    return line.substr(0, 2) == "-1" || (blankEnds && IsBlankLine(line));
}

std::optional<std::string> ReadParameterText(const std::filesystem::path& folder)
{
    std::string text;
    if (ReadDataFileText((folder / std::string(kCampaignParameterFile)).string(), text) != DataFileRead::kRead)
        return std::nullopt;
    return text;
}

// Reads as many integers as the values hold from the front of the line.
bool ReadInts(std::string_view line, std::span<std::int32_t> values)
{
    TextCursor cursor(line);
    for (std::int32_t& value : values) {
        cursor.SkipBlanks();
        if (!cursor.ReadInt(value))
            return false;
    }
    return true;
}

// The integers of a section read as one stream across its lines.
std::vector<std::int32_t> SectionStream(const std::vector<std::string_view>& lines)
{
    std::vector<std::int32_t> values;
    for (std::string_view line : lines) {
        TextCursor cursor(line);
        std::int32_t value = 0;
        for (;;) {
            cursor.SkipBlanks();
            if (cursor.AtEnd())
                break;
            if (!cursor.ReadInt(value))
                return values;
            values.push_back(value);
        }
    }
    return values;
}

// A value as a 32-bit float holds it; beyond the float range, its ends.
float AsFloat(double value)
{
    return static_cast<float>(
        std::clamp<double>(value, std::numeric_limits<float>::lowest(), std::numeric_limits<float>::max()));
}

std::vector<std::string_view> SectionOfFile(const std::string& text, int section, bool blankEnds = false)
{
    return CampaignParameterSection(text, section, blankEnds);
}

} // namespace

std::vector<std::string_view> CampaignParameterSection(std::string_view text, int section, bool blankEnds)
{
    std::vector<std::string_view> lines;
    if (section < 0)
        return lines;
    std::string copy(text);
    LineReader reader(std::span<char>(copy.data(), copy.size()));
    std::string_view line;
    int current = 0;
    std::size_t offset = 0;
    while (reader.Next(line)) {
        // The view handed out points into the caller's text.
        const std::string_view own = text.substr(offset, line.size());
        offset = reader.Position();
        if (IsSectionEnd(own, blankEnds)) {
            if (++current > section)
                break;
            continue;
        }
        if (current == section)
            lines.push_back(own.size() <= kMaxCampaignLineLength ? own : std::string_view());
    }
    return lines;
}

std::optional<std::array<std::int32_t, 16>> ReadMissionRow(const std::filesystem::path& folder, int missionType)
{
    const std::optional<std::string> text = ReadParameterText(folder);
    if (!text || missionType < 0)
        return std::nullopt;
    const std::vector<std::string_view> lines = SectionOfFile(*text, 0);
    if (static_cast<std::size_t>(missionType) >= lines.size())
        return std::nullopt;
    std::array<std::int32_t, 16> values {};
    if (!ReadInts(lines[static_cast<std::size_t>(missionType)], values))
        return std::nullopt;
    return values;
}

std::vector<ObjectiveValueClass> ReadObjectiveValueClasses(const std::filesystem::path& folder)
{
    std::vector<ObjectiveValueClass> classes;
    const std::optional<std::string> text = ReadParameterText(folder);
    if (!text)
        return classes;
    const std::vector<std::string_view> lines = SectionOfFile(*text, 1);
    for (std::size_t i = 0; i < lines.size() && i < 7; ++i) {
        std::array<std::int32_t, 2> pair {};
        if (!ReadInts(lines[i], pair) || pair[0] == -1)
            break;
        classes.push_back({ pair[0], pair[1] });
    }
    return classes;
}

std::int32_t ObjectiveValueClassFor(const std::vector<ObjectiveValueClass>& classes, std::int32_t draw)
{
    for (const ObjectiveValueClass& entry : classes)
        if (entry.threshold >= draw)
            return entry.value;
    return 0;
}

std::int32_t ReadObjectiveValueClass(const std::filesystem::path& folder, std::int32_t draw)
{
    return ObjectiveValueClassFor(ReadObjectiveValueClasses(folder), draw);
}

std::array<std::int32_t, 29> ReadYearlyNationValues(const std::filesystem::path& folder, std::int32_t yearKey)
{
    std::array<std::int32_t, 29> result {};
    const std::optional<std::string> text = ReadParameterText(folder);
    if (!text)
        return result;
    for (std::string_view line : SectionOfFile(*text, 2)) {
        std::array<std::int32_t, 19> values {};
        if (!ReadInts(line, values) || values[0] != yearKey)
            continue;
        for (std::size_t nation = 0; nation < 18; ++nation)
            result[nation] = values[nation + 1];
        break;
    }
    return result;
}

std::int32_t ReadRankForScore(const std::filesystem::path& folder, std::int32_t score)
{
    const std::optional<std::string> text = ReadParameterText(folder);
    if (!text)
        return 0;
    std::int32_t rank = 0;
    for (std::string_view line : SectionOfFile(*text, 3)) {
        std::array<std::int32_t, 2> pair {};
        if (!ReadInts(line, pair))
            return 0;
        if (pair[1] > score)
            return rank;
        rank = pair[0];
    }
    return 0;
}

std::array<std::int32_t, 7> ReadCommandLevelThresholds(
    const std::filesystem::path& folder, const std::array<std::int32_t, 7>& preset)
{
    std::array<std::int32_t, 7> thresholds = preset;
    const std::optional<std::string> text = ReadParameterText(folder);
    if (!text)
        return thresholds;
    const std::vector<std::int32_t> stream = SectionStream(SectionOfFile(*text, 4, true));
    for (std::size_t i = 0; i + 1 < stream.size(); i += 2) {
        if (stream[i] < 0 || stream[i] > 6)
            break;
        thresholds[static_cast<std::size_t>(stream[i])] = stream[i + 1];
    }
    return thresholds;
}

int CommandLevelForScore(const std::array<std::int32_t, 7>& thresholds, std::int32_t score)
{
    for (int k = 0; k <= 5; ++k)
        if (score < thresholds[static_cast<std::size_t>(k + 1)])
            return k;
    return 6;
}

Decoration ReadDecoration(const std::filesystem::path& folder, double ratio, int nation)
{
    Decoration result;
    if (!(ratio >= 1.0))
        return result;
    const std::optional<std::string> text = ReadParameterText(folder);
    if (!text)
        return result;
    const std::vector<std::string_view> lines = SectionOfFile(*text, 6);
    const std::size_t entrySize = 1 + kDecorationNameLines;
    std::string_view name;
    int count = 0;
    for (std::size_t start = 0; start + entrySize <= lines.size(); start += entrySize) {
        TextCursor cursor(lines[start]);
        std::int32_t unused = 0;
        double entryRatio = 0;
        cursor.SkipBlanks();
        // Both ratios are held in 32 bits, so a row of 1.3 is reached by 13 / 10.
        if (!cursor.ReadInt(unused) || !cursor.ReadDouble(entryRatio) || AsFloat(entryRatio) > AsFloat(ratio))
            break;
        ++count;
        name = nation >= 0 && nation < kDecorationNameLines ? lines[start + 1 + static_cast<std::size_t>(nation)]
                                                            : std::string_view();
    }
    result.number = count;
    result.name = std::string(TrimRight(name));
    return result;
}

std::int32_t ReadPointBudget(const std::filesystem::path& folder, int commandLevel)
{
    const std::optional<std::string> text = ReadParameterText(folder);
    if (!text || commandLevel < 0)
        return 0;
    const std::vector<std::string_view> lines = SectionOfFile(*text, 7);
    if (static_cast<std::size_t>(commandLevel) >= lines.size())
        return 0;
    std::array<std::int32_t, 2> pair {};
    return ReadInts(lines[static_cast<std::size_t>(commandLevel)], pair) ? pair[1] : 0;
}

std::array<std::int32_t, 9> ReadMoraleThresholds(const std::filesystem::path& folder, int highestLevel)
{
    constexpr std::int32_t kUnset = -1;
    std::array<std::int32_t, 9> thresholds { kUnset, kUnset, 12, 25, 50, 100, 200, 400, 800 };
    const int highest = std::min(highestLevel, 8);
    if (const std::optional<std::string> text = ReadParameterText(folder)) {
        const std::vector<std::int32_t> stream = SectionStream(SectionOfFile(*text, 8, true));
        for (std::size_t i = 0; i + 1 < stream.size(); i += 2) {
            if (stream[i] < 0 || stream[i] > highest)
                break;
            thresholds[static_cast<std::size_t>(stream[i])] = stream[i + 1];
        }
    }
    for (std::size_t level = 0; level < 2; ++level)
        if (thresholds[level] == kUnset)
            thresholds[level] = thresholds[2];
    return thresholds;
}

CampaignMapSize ReadMapSize(const std::filesystem::path& folder, int commandLevel)
{
    CampaignMapSize size;
    const std::optional<std::string> text = ReadParameterText(folder);
    if (!text || commandLevel < 1)
        return size;
    const std::vector<std::string_view> lines = SectionOfFile(*text, 10);
    if (static_cast<std::size_t>(commandLevel - 1) >= lines.size())
        return size;
    std::array<std::int32_t, 6> values {};
    if (!ReadInts(lines[static_cast<std::size_t>(commandLevel - 1)], values))
        return size;
    return { values[1], values[2], values[3], values[4], values[5] };
}

std::int32_t ReadTurnCount(const std::filesystem::path& folder, int commandLevel, char surfaceLetter)
{
    const std::optional<std::string> text = ReadParameterText(folder);
    if (!text)
        return 0;
    for (std::string_view line : SectionOfFile(*text, 12)) {
        std::array<std::int32_t, 5> values {};
        if (!ReadInts(line, values) || values[0] != commandLevel)
            continue;
        const std::int64_t base = values[1];
        std::int64_t add = 0;
        if (surfaceLetter == 'L')
            add = values[2];
        else if (surfaceLetter == 'M')
            add = values[3];
        else if (surfaceLetter == 'S')
            add = values[4];
        return ClampToInt(base + add);
    }
    return 0;
}
