#include "launcher/campaign/CampaignTables.h"
#include "model/IntRange.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <span>

#include "launcher/campaign/CampaignTextFields.h"
#include "launcher/campaign/LinkedCampaign.h"
#include "launcher/campaign/NationTables.h"
#include "model/DataFile.h"

namespace {

// The days one call may add: a table whose dates lie beyond them ends the
// search instead of rolling day after day for ever.
constexpr int kMaxDaysAdded = 3660;

std::optional<std::string> ReadText(const CampaignContext& context, const std::string& name)
{
    std::string text;
    if (ReadDataFileText(context.PathOf(name).string(), text) != DataFileRead::kRead)
        return std::nullopt;
    return text;
}

// The lines of a text; an over-long line ends them.
std::vector<std::string> SplitTextLines(std::string& text)
{
    std::vector<std::string> lines;
    LineReader reader(std::span<char>(text.data(), text.size()));
    std::string_view line;
    while (reader.Next(line))
        lines.emplace_back(line);
    return lines;
}

bool IsSectionEnd(std::string_view line) { return IsBlankLine(line) || line.starts_with("-1"); }

// The lines from `start` up to the next section end (not included).
std::vector<std::string> SectionFrom(std::vector<std::string>& lines, std::size_t start)
{
    std::vector<std::string> section;
    for (std::size_t i = start; i < lines.size() && !IsSectionEnd(lines[i]); ++i)
        section.push_back(std::move(lines[i]));
    return section;
}

// The start of the section after `count` section ends.
std::size_t SkipSections(const std::vector<std::string>& lines, std::size_t start, std::int64_t count)
{
    std::size_t i = start;
    for (std::int64_t skipped = 0; skipped < count && i < lines.size(); ++i)
        if (IsSectionEnd(lines[i]))
            ++skipped;
    return i;
}

std::string Numbered(std::string_view table, int number)
{
    const std::size_t at = table.find("%d");
    if (at == std::string_view::npos)
        return std::string(table);
    return std::string(table.substr(0, at)) + std::to_string(number) + std::string(table.substr(at + 2));
}

// A date line's key (a long in the file, a 32-bit key here).
bool ReadDateKey(TextCursor& cursor, std::int32_t& date) { return ReadNumbers(cursor, date); }

// The table's lines for the region; a name with "%d" takes the number.
std::optional<std::vector<std::string>> RegionLines(
    const CampaignContext& context, std::string_view prefix, std::string_view table, int number, int region)
{
    return ReadRegionTable(context, prefix, Numbered(table, number), region);
}

} // namespace

std::optional<std::vector<std::string>> ReadRegionTable(
    const CampaignContext& context, std::string_view prefix, std::string_view table, int region)
{
    if (!prefix.empty()) {
        std::optional<std::string> text = ReadText(context, std::string(prefix) + "-" + std::string(table));
        if (!text)
            return std::nullopt;
        std::vector<std::string> lines = SplitTextLines(*text);
        return SectionFrom(lines, 0);
    }
    std::optional<std::string> text = ReadText(context, std::string(table));
    if (!text)
        return std::nullopt;
    std::vector<std::string> lines = SplitTextLines(*text);
    return SectionFrom(lines, SkipSections(lines, 0, std::max(region, 0)));
}

int ReadAttacker(CampaignContext& context, std::string_view prefix, int& attacker, int region, std::int32_t date)
{
    attacker = 1;
    const std::optional<std::vector<std::string>> lines = ReadRegionTable(context, prefix, "attacker.dat", region);
    if (!lines)
        return -1;
    for (std::size_t i = 1; i < lines->size(); ++i) {
        TextCursor cursor((*lines)[i]);
        std::int32_t key = 0;
        std::int32_t percent = 0;
        if (!ReadDateKey(cursor, key) || !ReadNumbers(cursor, percent) || key < date)
            continue;
        attacker = context.random->RollRandom(100) > percent ? 1 : 0;
        return 1;
    }
    return 0;
}

int ReadEncounterType(
    CampaignContext& context, std::string_view prefix, int& missionType, int region, std::int32_t date)
{
    missionType = 1;
    const std::optional<std::vector<std::string>> lines = ReadRegionTable(context, prefix, "encounters.dat", region);
    if (!lines)
        return -1;
    for (std::size_t i = 1; i < lines->size(); ++i) {
        TextCursor cursor((*lines)[i]);
        std::int32_t key = 0;
        std::array<std::int32_t, 11> percent {};
        if (!ReadDateKey(cursor, key) || key < date)
            continue;
        bool complete = true;
        for (std::int32_t& value : percent)
            complete = complete && ReadNumbers(cursor, value);
        if (!complete)
            continue;
        std::int64_t roll = context.random->RollRandom(100);
        for (std::size_t type = 0; type < percent.size(); ++type) {
            if (roll <= percent[type]) {
                missionType = static_cast<int>(type) + 1;
                break;
            }
            roll -= percent[type];
        }
        return 1;
    }
    return 0;
}

std::int32_t ReadReplacementPoints(const CampaignContext& context, std::string_view prefix, int side, int region,
    std::int32_t previousDate, std::int32_t currentDate)
{
    const std::optional<std::vector<std::string>> lines
        = RegionLines(context, prefix, "replacements%d.dat", side, region);
    if (!lines)
        return 0;
    struct Entry {
        std::int32_t date;
        std::int32_t points;
    };
    std::vector<Entry> entries;
    for (const std::string& line : *lines) {
        Entry entry {};
        TextCursor cursor(line);
        if (ReadDateKey(cursor, entry.date) && ReadNumbers(cursor, entry.points))
            entries.push_back(entry);
    }
    const auto first = std::find_if(
        entries.begin(), entries.end(), [previousDate](const Entry& entry) { return entry.date >= previousDate; });
    std::int64_t sum = 0;
    for (auto it = first; it != entries.end() && it + 1 != entries.end() && it->date <= currentDate; ++it)
        sum += (it + 1)->points;
    return ClampToInt(sum);
}

bool ReadBriefing(CampaignContext& context, std::string& text, int nation, int missionType, bool campaignAttacks)
{
    text.clear();
    if (missionType < 1)
        return false;
    std::optional<std::string> file = ReadText(context, "excuse" + std::to_string(nation) + ".dat");
    if (!file)
        return false;
    const std::vector<std::string> lines = SplitTextLines(*file);
    std::size_t i = SkipSections(lines, 0, 2 * static_cast<std::int64_t>(missionType - 1));
    if (i >= lines.size())
        return false;
    std::int32_t attackers = 1;
    std::int32_t defenders = 1;
    {
        TextCursor cursor(lines[i++]);
        if (!ReadNumbers(cursor, attackers) || !ReadNumbers(cursor, defenders)) {
            attackers = std::max(attackers, 1);
            defenders = 1;
        }
    }
    const std::int32_t count = campaignAttacks ? attackers : defenders;
    const int pick = context.random->RollRandom(static_cast<std::int16_t>(std::clamp(count, 1, 32767)));
    if (!campaignAttacks)
        i = SkipSections(lines, i, 1);
    // The pick-th line of the role's briefings; one past its section is none.
    const std::size_t at = i + static_cast<std::size_t>(pick) - 1;
    for (std::size_t j = i; j <= at; ++j)
        if (j >= lines.size() || IsSectionEnd(lines[j]))
            return false;
    text = lines[at];
    return true;
}

void ReadForcesTable(const CampaignContext& context, std::string_view prefix, int missionType, char sideLetter,
    std::int32_t date, int side, std::array<std::array<std::int32_t, 10>, 2>& needs)
{
    std::array<std::int32_t, 10>& row = needs[side == 0 ? 0 : 1];
    row.fill(10);
    const std::string table = Numbered("forces%d.dat", side);
    std::optional<std::string> text = ReadText(context, prefix.empty() ? table : std::string(prefix) + "-" + table);
    if (!text || missionType < 1 || missionType > 11)
        return;
    const std::vector<std::string> lines = SplitTextLines(*text);
    for (std::size_t i = 0; i < lines.size();) {
        TextCursor cursor(lines[i]);
        std::int32_t key = 0;
        char letter = 0;
        if (!ReadDateKey(cursor, key) || !cursor.ReadChar(letter)) {
            ++i;
            continue;
        }
        if (key == -1 || letter != sideLetter || key < date) {
            i += 12;
            continue;
        }
        const std::size_t at = i + static_cast<std::size_t>(missionType);
        if (at >= lines.size())
            return;
        TextCursor values(lines[at]);
        std::int32_t unused = 0;
        std::array<std::int32_t, 10> read {};
        if (!ReadNumbers(values, unused))
            return;
        for (std::int32_t& value : read)
            if (!ReadNumbers(values, value))
                return;
        row = read;
        return;
    }
}

std::int32_t NextBattleDay(std::int32_t date)
{
    std::int64_t year = date / 10000;
    std::int64_t month = date / 100 % 100;
    std::int64_t day = date % 100 + 1;
    if (day > 28) {
        day = 1;
        ++month;
    }
    if (month > 12) {
        month = 1;
        ++year;
    }
    return ClampToInt(year * 10000 + month * 100 + day);
}

void AdvanceBattleDate(
    CampaignContext& context, std::string_view prefix, std::int32_t& date, std::int32_t& placeNameFile, int region)
{
    date = NextBattleDay(date);
    const std::optional<std::vector<std::string>> lines = ReadRegionTable(context, prefix, "location.dat", region);
    if (!lines)
        return;
    int added = 0;
    for (const std::string& line : *lines) {
        if (line.empty() || !IsDigitChar(line.front()))
            continue;
        TextCursor cursor(line);
        std::int32_t key = 0;
        std::int32_t percent = 0;
        std::int32_t file = 0;
        if (!ReadDateKey(cursor, key) || !ReadNumbers(cursor, percent, file))
            continue;
        placeNameFile = file;
        while (key >= date) {
            if (context.random->RollRandom(100) <= percent)
                return;
            if ((percent != 0 && added >= 30) || added >= kMaxDaysAdded)
                return;
            date = NextBattleDay(date);
            ++added;
        }
    }
}

int ReadBattleLocation(
    CampaignContext& context, std::string_view prefix, int region, std::int32_t date, BattleLocation& location)
{
    location = BattleLocation();
    const std::optional<std::vector<std::string>> lines = ReadRegionTable(context, prefix, "location.dat", region);
    if (!lines)
        return -1;
    for (std::size_t i = 0; i < lines->size(); ++i) {
        const std::string& line = (*lines)[i];
        if (line.empty() || !IsDigitChar(line.front()))
            continue;
        TextCursor cursor(line);
        std::int32_t key = 0;
        if (!ReadDateKey(cursor, key) || key < date)
            continue;
        const int k = context.random->RollRandom(10);
        // The k-th place line before the next date line.
        int seen = 0;
        for (std::size_t j = i + 1; j < lines->size(); ++j) {
            const std::string& place = (*lines)[j];
            if (!place.empty() && IsDigitChar(place.front()))
                break;
            if (++seen < k)
                continue;
            TextCursor fields(place);
            std::string_view name;
            std::int32_t unused = 0;
            BattleLocation found;
            if (!fields.ReadWord(name) || !ReadNumbers(fields, unused, found.mapLine, found.markerX, found.markerY))
                return -1;
            found.place = std::string(name);
            location = found;
            return 1;
        }
        return -1;
    }
    return -1;
}

void CampaignSegment::AddRegionEntry(std::int32_t region, std::int32_t lastDate)
{
    if (static_cast<int>(m_regions.size()) >= kMaxEntries)
        return;
    m_regions.push_back(region);
    m_entryDates.push_back(lastDate);
    m_entryNames.emplace_back(GetRegionName(region));
}

int CampaignSegment::EntryForDate(std::int32_t date) const
{
    if (m_regions.empty())
        return -1;
    for (std::size_t i = 0; i < m_entryDates.size(); ++i)
        if (m_entryDates[i] >= date)
            return static_cast<int>(i);
    return 0;
}

std::int32_t CampaignSegment::GetRegionForDate(std::int32_t date) const
{
    const int entry = EntryForDate(date);
    return entry < 0 ? -1 : m_regions[static_cast<std::size_t>(entry)];
}

std::string CampaignSegment::GetRegionNameForDate(std::int32_t date) const
{
    const int entry = EntryForDate(date);
    return entry < 0 ? std::string() : m_entryNames[static_cast<std::size_t>(entry)];
}

std::string CampaignDescriptionFileName(int fileNumber)
{
    return fileNumber == 0 ? "chardesc.txt" : "chardesc" + std::to_string(fileNumber) + ".txt";
}

int CountCampaignDescriptions(const CampaignContext& context, int fileNumber)
{
    std::optional<std::string> text = ReadText(context, CampaignDescriptionFileName(fileNumber));
    if (!text)
        return 0;
    int count = 0;
    for (const std::string& line : SplitTextLines(*text)) {
        if (line.starts_with("-2"))
            break;
        if (line.starts_with("-1"))
            ++count;
    }
    return count;
}

void ReadCampaignDescriptions(const CampaignContext& context, std::vector<std::string>& titles,
    std::vector<CampaignSegment>& segments, int fileNumber)
{
    std::optional<std::string> text = ReadText(context, CampaignDescriptionFileName(fileNumber));
    if (!text)
        return;
    const std::vector<std::string> lines = SplitTextLines(*text);
    std::size_t i = 0;
    std::int32_t mode = 0;
    std::string_view modeLine = i < lines.size() ? std::string_view(lines[i++]) : std::string_view();
    if (!TakeInt(modeLine, mode))
        return; // a file without its mode line holds no description
    auto number = [&lines, &i](std::int32_t& value) {
        std::string_view text = i < lines.size() ? std::string_view(lines[i]) : std::string_view();
        ++i;
        return TakeInt(text, value);
    };
    while (i < lines.size() && !lines[i].starts_with("-2")) {
        CampaignSegment segment;
        std::string title = lines[i++];
        if (fileNumber != 0)
            segment.m_file = title;
        std::int32_t enemy = 0;
        std::int32_t nation = 0;
        if (!number(enemy) || !number(nation))
            return;
        segment.m_enemyNation = enemy;
        segment.m_nation = nation;
        {
            TextCursor cursor(i < lines.size() ? std::string_view(lines[i]) : std::string_view());
            ++i;
            if (!ReadNumbers(cursor, segment.m_startDate, segment.m_endDate))
                return;
        }
        if (mode == 1) {
            std::int32_t region = 0;
            if (!number(region))
                return;
            segment.AddRegionEntry(region, 0);
        } else {
            while (true) {
                if (i >= lines.size())
                    return;
                TextCursor cursor(lines[i++]);
                std::int32_t region = 0;
                std::int32_t lastDate = 0;
                if (!ReadNumbers(cursor, region))
                    return;
                if (region == 999)
                    break;
                if (!ReadNumbers(cursor, lastDate))
                    return;
                segment.AddRegionEntry(region, lastDate);
            }
        }
        while (i < lines.size() && !lines[i].starts_with("-1"))
            segment.m_description += lines[i++] + "\n";
        if (i >= lines.size())
            return; // a description cut short is no description
        ++i;
        titles.push_back(std::move(title));
        segments.push_back(std::move(segment));
    }
}

void ReadAllCampaignDescriptions(
    const CampaignContext& context, std::vector<std::string>& titles, std::vector<CampaignSegment>& segments)
{
    ReadCampaignDescriptions(context, titles, segments, 0);
    ReadCampaignDescriptions(context, titles, segments, 1);
}

std::int32_t FindRegionForDate(CampaignContext& context, std::int32_t date)
{
    CampaignRecord& campaign = context.g_campaign;
    std::vector<std::string> titles;
    std::vector<CampaignSegment> segments;
    if (campaign.m_charSection >= 0)
        ReadAllCampaignDescriptions(context, titles, segments);
    if (campaign.m_charSection < 0 || campaign.m_charSection >= static_cast<std::int32_t>(segments.size()))
        return campaign.m_region;
    const std::int32_t region = segments[static_cast<std::size_t>(campaign.m_charSection)].GetRegionForDate(date);
    if (region >= 0)
        campaign.m_region = region;
    return campaign.m_region;
}

void ReadLinkedCampaignSegments(
    const CampaignContext& context, std::vector<std::string>& titles, std::vector<CampaignSegment>& segments)
{
    for (const std::string& name : ListFilesOfTwoPatterns(context.folder, "*.lcg", "")) {
        LinkedCampaignTree tree;
        if (!tree.Read(context, name).empty())
            continue;
        CampaignSegment segment;
        segment.m_file = name;
        segment.m_isLinked = 1;
        segment.m_flag = static_cast<std::uint8_t>(tree.m_flag);
        segment.m_firstBattleId = tree.FirstBattleId();
        segment.m_enemyNation = tree.m_enemyNation;
        segment.m_nation = tree.m_nation;
        segment.m_startDate = tree.m_startDate;
        segment.m_endDate = 0;
        segment.AddRegionEntry(tree.m_region, 0);
        segment.m_description = tree.m_description;
        titles.push_back(tree.m_title);
        segments.push_back(std::move(segment));
    }
}

int CountMatchingFiles(const CampaignContext& context, std::string_view pattern)
{
    return static_cast<int>(ListFilesOfTwoPatterns(context.folder, pattern, "").size());
}

void PickLeaderName(CampaignContext& context, int nation, std::string& name)
{
    std::optional<std::string> text = ReadText(context, "leader" + std::to_string(nation) + ".oob");
    if (!text) {
        name = "Anonymous";
        return;
    }
    const std::vector<std::string> lines = SplitTextLines(*text);
    for (std::size_t k = 1; k <= lines.size(); ++k) {
        const double u = context.random->RollRandom(10000) / 10000.0;
        if (1.0 / static_cast<double>(k) >= u)
            name = lines[k - 1];
    }
}

std::optional<std::string> CampaignMapImageName(const CampaignContext& context)
{
    const CampaignRecord& campaign = context.g_campaign;
    if (campaign.m_linked) {
        const std::string& chain = campaign.m_regionPrefix;
        return chain.substr(0, chain.size() >= 4 ? chain.size() - 4 : 0) + "LCG.bmp";
    }
    std::vector<std::string> titles;
    std::vector<CampaignSegment> segments;
    ReadAllCampaignDescriptions(context, titles, segments);
    if (campaign.m_charSection < 0 || campaign.m_charSection >= static_cast<std::int32_t>(titles.size()))
        return std::nullopt;
    return titles[static_cast<std::size_t>(campaign.m_charSection)] + "-map.bmp";
}
