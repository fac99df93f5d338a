#include "launcher/campaign/CampaignFiles.h"
#include "model/IntRange.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <span>
#include <utility>

#include "model/DataFile.h"
#include "model/PlatoonType.h"
#include "model/Scramble.h"
#include "model/TextScan.h"

namespace {

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path)
{
    std::string text;
    if (ReadDataFileText(path.string(), text) != DataFileRead::kRead)
        return std::nullopt;
    return text;
}

std::int32_t MonthKey(std::int32_t year, std::int32_t month)
{
    const std::int64_t key = static_cast<std::int64_t>(year) * 10000 + static_cast<std::int64_t>(month) * 100;
    return ClampToInt(key);
}

// Every line of a platoon file descrambled in place, handed to the visitor
// until it returns true.
template <class Visit> void ForEachPlatoonLine(std::string& text, Visit visit)
{
    LineReader reader(std::span<char>(text.data(), text.size()));
    std::span<char> line;
    while (reader.Next(line)) {
        DescrambleInPlace(line);
        if (visit(std::string_view(line.data(), line.size())))
            return;
    }
}

} // namespace

OobFileText::OobFileText(std::string text)
    : m_text(std::move(text))
{
    LineReader reader(std::span<char>(m_text.data(), m_text.size()));
    std::string_view line;
    std::size_t start = 0;
    while (reader.Next(line)) {
        m_lines.push_back(line);
        m_lineStarts.push_back(start);
        start = reader.Position();
    }
}

int OobFileText::FindFirstLineContaining(std::string_view text) const
{
    if (text.empty())
        return m_lines.empty() ? -1 : 0;
    const auto known = m_found.find(std::string(text));
    if (known != m_found.end())
        return known->second;
    int found = -1;
    // One search through the whole text; the line whose span holds the hit
    // is the answer (a hit across a line end belongs to no line).
    std::size_t from = 0;
    while (from < m_text.size()) {
        const std::size_t hit = std::string_view(m_text).find(text, from);
        if (hit == std::string_view::npos)
            break;
        const auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), hit);
        if (after == m_lineStarts.begin())
            break;
        const std::size_t index = static_cast<std::size_t>(after - m_lineStarts.begin()) - 1;
        if (hit + text.size() <= m_lineStarts[index] + m_lines[index].size()) {
            found = static_cast<int>(index);
            break;
        }
        from = hit + 1;
    }
    m_found.emplace(std::string(text), found);
    return found;
}

std::optional<std::uint32_t> PlatoonTypeNumber(std::string_view id)
{
    if (id.size() < 2 || id.front() != 'P')
        return std::nullopt;
    id.remove_prefix(1);
    std::uint32_t number = 0;
    if (!TakeUnsigned(id, number) || !id.empty())
        return std::nullopt;
    return number;
}

std::optional<PlatoonLineValues> ReadPlatoonLineValues(std::string_view line)
{
    line = TrimLeft(line);
    if (line.empty() || line.front() != 'P' || line.size() < 2 || !IsDigitChar(line[1]))
        return std::nullopt;
    PlatoonType type;
    // The last number before the name: still this after reading means the
    // line stopped short.
    constexpr std::int32_t kUnread = std::numeric_limits<std::int32_t>::min();
    type.m_value42 = kUnread;
    if (!type.ReadRecord(line) || type.m_value42 == kUnread)
        return std::nullopt;
    PlatoonLineValues values;
    char id[16];
    std::snprintf(id, sizeof id, "P%05u", static_cast<unsigned>(type.m_id));
    values.id = id;
    values.strength = type.m_fullStrength;
    values.size = type.m_unitValue;
    values.values = { static_cast<std::int32_t>(type.m_moveFlags), static_cast<std::int32_t>(type.m_carryFlags),
        static_cast<std::int32_t>(type.m_targetFlags), static_cast<std::int32_t>(type.m_extraFlags) };
    values.availableFrom = MonthKey(type.m_firstYear, type.m_firstMonth);
    values.availableTo = MonthKey(type.m_lastYear, type.m_lastMonth);
    // Numbers and the picture word hold no comma: the line's first comma is
    // the name's.
    if (line.find(',') != std::string_view::npos)
        values.leader = std::string(type.m_shortName.view());
    return values;
}

std::optional<PlatoonLineValues> ScanPlatoonFile(const std::filesystem::path& path, std::uint32_t typeNumber)
{
    std::optional<std::string> text = ReadWholeFile(path);
    if (!text)
        return std::nullopt;
    std::optional<PlatoonLineValues> result;
    ForEachPlatoonLine(*text, [&](std::string_view line) {
        // The type number first: only a line of the type is read whole.
        if (PlatoonTypeNumber(FirstWord(TrimLeft(line))) != typeNumber)
            return false;
        std::optional<PlatoonLineValues> values = ReadPlatoonLineValues(line);
        if (!values)
            return false;
        result = std::move(values);
        return true;
    });
    return result;
}

std::shared_ptr<const OobFileText> CampaignFileCache::Oob(const std::filesystem::path& path, bool useCache)
{
    const std::optional<std::filesystem::file_time_type> time = DataFileTime(path.string());
    const std::string key = path.string();
    if (useCache && time) {
        const auto held = m_oob.find(key);
        if (held != m_oob.end() && held->second.time == *time)
            return held->second.value;
    }
    std::optional<std::string> text = ReadWholeFile(path);
    if (!text)
        return nullptr;
    auto file = std::make_shared<const OobFileText>(std::move(*text));
    if (useCache && time)
        m_oob[key] = { *time, file };
    return file;
}

std::shared_ptr<const PlatoonFileTable> CampaignFileCache::Platoons(const std::filesystem::path& path)
{
    const std::optional<std::filesystem::file_time_type> time = DataFileTime(path.string());
    const std::string key = path.string();
    if (time) {
        const auto held = m_platoons.find(key);
        if (held != m_platoons.end() && held->second.time == *time)
            return held->second.value;
    }
    std::optional<std::string> text = ReadWholeFile(path);
    if (!text)
        return nullptr;
    auto table = std::make_shared<PlatoonFileTable>();
    ForEachPlatoonLine(*text, [&](std::string_view line) {
        std::optional<PlatoonLineValues> values = ReadPlatoonLineValues(line);
        if (values) {
            if (const std::optional<std::uint32_t> number = PlatoonTypeNumber(values->id))
                table->byType.emplace(*number, std::move(*values));
        }
        return false;
    });
    if (time)
        m_platoons[key] = { *time, table };
    return table;
}

void CampaignFileCache::Clear()
{
    m_oob.clear();
    m_platoons.clear();
}
