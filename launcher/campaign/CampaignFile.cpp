#include "launcher/campaign/CampaignFile.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "launcher/campaign/CampaignTextFields.h"
#include "launcher/campaign/LinkedCampaign.h"
#include "model/DataFile.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kOrganizationLine = "ORGANIZATION INFORMATION";
constexpr std::string_view kUpgradesLine = "XXXXXXX Upgrades XXXXXXXXXXXX";
constexpr std::string_view kUpgradesEnd = "XXXXXXXXXXXXXXXXXXX";
constexpr std::string_view kIndent = "   ";
// The region prefix the reader keeps.
constexpr std::size_t kMaxRegionPrefix = 49;

void WriteUnitLine(TextBuilder& out, const UnitRecord& unit, int depth)
{
    out << depth << ' ' << unit.m_role << ' ' << unit.m_strength << ' ' << unit.m_fullStrength << ' ' << unit.m_size
        << ' ' << unit.m_morale << ' ' << unit.m_availableFrom << ' ' << unit.m_availableTo << ' ' << unit.m_number
        << ' ' << unit.m_experience << ' ' << std::string_view(unit.m_id) << " \n";
}

void WriteNameLines(TextBuilder& out, const UnitRecord& unit)
{
    out << std::string_view(unit.m_name) << " \n" << std::string_view(unit.m_leader) << " \n";
}

// Why a unit's texts could not be read back; empty when they can.
std::string UnitTextFault(const UnitRecord& unit)
{
    if (!IsWritableWord(unit.m_id))
        return "a unit id that is empty or holds a blank";
    if (!IsWritableLine(unit.m_name) || !IsWritableLine(unit.m_leader))
        return "a unit's name or leader holding a line end";
    return {};
}

// A unit line's numbers and id; `depth` its first number.
std::unique_ptr<UnitRecord> ParseUnitLine(std::string_view line, std::int32_t& depth)
{
    auto unit = std::make_unique<UnitRecord>();
    TextCursor cursor(line);
    std::string_view id;
    if (!ReadNumbers(cursor, depth) || !ReadShort(cursor, unit->m_role)
        || !ReadNumbers(cursor, unit->m_strength, unit->m_fullStrength, unit->m_size, unit->m_morale,
            unit->m_availableFrom, unit->m_availableTo, unit->m_number, unit->m_experience)
        || !cursor.ReadWord(id) || !AtLineEnd(cursor))
        return nullptr;
    unit->m_id = std::string(id);
    return unit;
}

bool ReadNameLines(CampaignFileLines& lines, UnitRecord& unit)
{
    std::string_view line;
    if (!lines.Next(line))
        return false;
    unit.m_name = std::string(TrimRight(line));
    if (!lines.Next(line))
        return false;
    unit.m_leader = std::string(TrimRight(line));
    return true;
}

bool IsMarkerLine(CampaignFileLines& lines, std::string_view marker)
{
    std::string_view line;
    return lines.Next(line) && TrimRight(line) == marker;
}

// The successor block after a unit: its count line and, for a count above
// 0, the "Upgrades" line, the successors in file order and the closing line.
bool ReadSuccessors(CampaignFileLines& lines, UnitRecord& unit)
{
    std::string_view line;
    std::int32_t count = 0;
    if (!lines.Next(line))
        return false;
    TextCursor cursor(line);
    if (!ReadNumbers(cursor, count) || !AtLineEnd(cursor) || count < 0)
        return false;
    if (count == 0)
        return true;
    if (!IsMarkerLine(lines, kUpgradesLine))
        return false;
    UnitRecord* last = &unit;
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t ignored = 0;
        if (!lines.Next(line))
            return false;
        std::unique_ptr<UnitRecord> successor = ParseUnitLine(TrimLeft(line), ignored);
        if (!successor || !ReadNameLines(lines, *successor))
            return false;
        last->m_nextSuccessor = std::move(successor);
        last = last->m_nextSuccessor.get();
    }
    return IsMarkerLine(lines, kUpgradesEnd);
}

std::string_view WithoutExtension(std::string_view fileName)
{
    return fileName.substr(0, fileName.size() >= 4 ? fileName.size() - 4 : 0);
}

// The campaign file's path: the existing one in any letter case, else the
// name as given.
fs::path CampaignPath(const CampaignContext& context, std::string_view fileName)
{
    const fs::path wanted = context.PathOf(fileName);
    if (std::optional<fs::path> existing = LocateDataFile(wanted.string()))
        return *existing;
    return wanted;
}

// The writer of a whole text.
auto WholeText(const std::string& text)
{
    return [&text](std::ostream& out) {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        return static_cast<bool>(out);
    };
}

std::string WriteWhole(const fs::path& path, const std::string& text)
{
    return WriteFileAtomically(path, WholeText(text));
}

// Reads a ".ccd" text into a fresh record; empty when the whole file read.
std::string ParseCampaignText(
    std::string& text, std::string_view fileName, CampaignRecord& record, std::int32_t& unitCounter)
{
    CampaignFileLines lines(text, fileName);
    std::string_view line;
    auto fail = [&lines] { return lines.Refusal(); };

    if (!lines.Next(line))
        return fail();
    record.m_name = std::string(TrimRight(line));

    if (!lines.Next(line))
        return fail();
    std::string_view rest = TrimLeft(line);
    const std::string_view word = FirstWord(rest);
    record.m_formationId = std::string(word);
    rest.remove_prefix(word.size());
    if (!rest.empty()) {
        rest.remove_prefix(1); // the separator
        record.m_regionPrefix = std::string(rest.substr(0, kMaxRegionPrefix));
    }

    if (!lines.Next(line))
        return fail();
    record.m_formationName = std::string(line);

    if (!lines.Next(line))
        return fail();
    {
        TextCursor cursor(line);
        if (!ReadNumbers(cursor, record.m_nation, record.m_portrait, record.m_rank, record.m_commandLevel,
                record.m_generatorValue, record.m_score))
            return fail();
        // Older files end the line here; the opponent then follows the nation.
        if (AtLineEnd(cursor))
            record.m_enemyNation = record.m_nation == 1 ? 0 : 1;
        else if (!ReadNumbers(cursor, record.m_enemyNation) || !AtLineEnd(cursor))
            return fail();
    }

    if (!lines.Next(line)
        || !ReadLineOfNumbers(
            line, record.m_startDate, record.m_endDate, record.m_currentDate, record.m_dayOffset, record.m_charSection))
        return fail();

    if (!lines.Next(line))
        return fail();
    {
        TextCursor cursor(line);
        if (!ReadNumbers(cursor, record.m_region) || !ReadShort(cursor, record.m_value1)
            || !ReadShort(cursor, record.m_value2) || !AtLineEnd(cursor))
            return fail();
    }

    if (!lines.Next(line))
        return fail();
    record.m_pendingBattle = std::string(FirstWord(TrimLeft(line)));

    if (!lines.Next(line))
        return fail();
    {
        auto& counts = record.m_decorationCounts;
        if (!ReadLineOfNumbers(line, counts[0], counts[1], counts[2], counts[3], counts[4], counts[5]))
            return fail();
    }

    // The history, oldest first in the file, is put newest first.
    while (true) {
        if (!lines.Next(line))
            return fail();
        if (line.starts_with("-1"))
            break;
        auto entry = std::make_unique<BattleHistoryEntry>();
        entry->m_battleName = std::string(line);
        if (!lines.Next(line) || !ReadLineOfNumbers(line, entry->m_date, entry->m_battleType, entry->m_result))
            return fail();
        entry->m_next = std::move(record.m_history);
        record.m_history = std::move(entry);
    }

    if (!lines.Next(line))
        return fail();
    {
        TextCursor cursor(line);
        if (!ReadNumbers(cursor, unitCounter, record.m_commanderUnit))
            return fail();
        if (!AtLineEnd(cursor) && (!ReadNumbers(cursor, record.m_enemyNation) || !AtLineEnd(cursor)))
            return fail();
    }

    if (!lines.Next(line) || TrimRight(line) != kOrganizationLine)
        return fail();
    if (!ReadCampaignUnits(lines, record.m_force, 1))
        return fail();
    return {};
}

// Reads a campaign file's whole text.
std::string ReadCampaignFileText(const CampaignContext& context, std::string_view fileName, std::string& text)
{
    if (ReadDataFileText(context.PathOf(fileName).string(), text) != DataFileRead::kRead)
        return CampaignOpenError(fileName);
    return {};
}

} // namespace

bool EndsWithNoCase(std::string_view text, std::string_view end)
{
    return text.size() >= end.size()
        && std::equal(end.begin(), end.end(), text.end() - static_cast<std::ptrdiff_t>(end.size()), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

CampaignFileLines::CampaignFileLines(std::string& text, std::string_view fileName)
    : m_reader(std::span<char>(text.data(), text.size()))
    , m_fileName(fileName)
{
}

bool CampaignFileLines::Next(std::string_view& line)
{
    ++m_line;
    return m_reader.Next(line);
}

std::string CampaignFileLines::Refusal() const
{
    return "Error reading campaign file " + m_fileName + ", line " + std::to_string(m_line);
}

void RemoveFilesNamedNoCase(const fs::path& folder, std::string_view name)
{
    std::error_code error;
    std::vector<fs::path> found;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string entry = it->path().filename().string();
        if (entry.size() == name.size() && EndsWithNoCase(entry, name))
            found.push_back(it->path());
    }
    for (const fs::path& path : found)
        fs::remove(path, error);
}

std::string CampaignOpenError(std::string_view fileName)
{
    return "Cannot open campaign file " + std::string(fileName);
}

bool ReadCampaignUnits(CampaignFileLines& lines, std::unique_ptr<UnitRecord>& force, int rootDepth)
{
    UnitTreeBuilder builder(rootDepth);
    std::string_view line;
    while (true) {
        if (!lines.Next(line)) {
            if (!lines.AtEnd())
                return false;
            break;
        }
        if (IsBlankLine(line))
            break;
        std::int32_t depth = 0;
        std::unique_ptr<UnitRecord> unit = ParseUnitLine(TrimLeft(line), depth);
        if (!unit || !builder.Accepts(depth))
            return false;
        if (!ReadNameLines(lines, *unit) || !ReadSuccessors(lines, *unit))
            return false;
        builder.Place(std::move(unit), depth);
    }
    force = builder.Take();
    return true;
}

std::string MakeCampaignText(const CampaignRecord& record, std::int32_t unitCounter, std::string& refusal)
{
    refusal.clear();
    auto refuse = [&refusal, &record](std::string_view why) {
        refusal = "Cannot save campaign " + record.m_name + ": " + std::string(why);
        return std::string();
    };
    if (!IsWritableLine(record.m_name) || !IsWritableLine(record.m_formationName)
        || !IsWritableLine(record.m_regionPrefix) || !IsWritableLine(record.m_pendingBattle))
        return refuse("a text holding a line end");
    if (!record.m_formationId.empty() && !IsWritableWord(record.m_formationId))
        return refuse("a formation id holding a blank");
    if (record.m_formationId.empty() && !record.m_regionPrefix.empty())
        return refuse("a region prefix without a formation id");
    if (!IsSingleRoot(record.m_force.get()))
        return refuse("a force of more than one root");

    TextBuilder out;
    out.reserve(EstimateTextSize(record.m_force.get()));
    out << std::string_view(record.m_name) << '\n' << std::string_view(record.m_formationId);
    if (!record.m_regionPrefix.empty())
        out << ' ';
    out << std::string_view(record.m_regionPrefix) << '\n' << std::string_view(record.m_formationName) << '\n';
    out << record.m_nation << ' ' << record.m_portrait << ' ' << record.m_rank << ' ' << record.m_commandLevel << ' '
        << record.m_generatorValue << ' ' << record.m_score << ' ' << record.m_enemyNation << '\n';
    out << record.m_startDate << ' ' << record.m_endDate << ' ' << record.m_currentDate << ' ' << record.m_dayOffset
        << ' ' << record.m_charSection << '\n';
    out << record.m_region << ' ' << record.m_value1 << ' ' << record.m_value2 << '\n';
    out << std::string_view(record.m_pendingBattle) << " \n";
    for (const std::int32_t count : record.m_decorationCounts)
        out << count << ' ';
    out << '\n';

    std::vector<const BattleHistoryEntry*> history;
    for (const BattleHistoryEntry* entry = record.m_history.get(); entry; entry = entry->m_next.get())
        history.push_back(entry);
    for (auto it = history.rbegin(); it != history.rend(); ++it) {
        const BattleHistoryEntry& entry = **it;
        if (!IsWritableLine(entry.m_battleName) || entry.m_battleName.starts_with("-1"))
            return refuse("a battle name holding a line end or beginning with \"-1\"");
        out << std::string_view(entry.m_battleName) << '\n'
            << entry.m_date << ' ' << entry.m_battleType << ' ' << entry.m_result << '\n';
    }
    out << "-1\n" << unitCounter << ' ' << record.m_commanderUnit << ' ' << record.m_enemyNation << '\n';
    out << kOrganizationLine << '\n';

    std::string fault;
    ForEachUnitDepthFirst(record.m_force.get(), 1, [&out, &fault](const UnitRecord& unit, int depth) {
        fault = UnitTextFault(unit);
        for (int i = 0; i < depth; ++i)
            out << kIndent;
        WriteUnitLine(out, unit, depth);
        WriteNameLines(out, unit);
        const int successors = CountSuccessors(unit);
        out << successors << " \n";
        if (successors > 0) {
            out << kUpgradesLine << " \n";
            for (const UnitRecord* next = unit.m_nextSuccessor.get(); next && fault.empty();
                 next = next->m_nextSuccessor.get()) {
                fault = UnitTextFault(*next);
                WriteUnitLine(out, *next, depth);
                WriteNameLines(out, *next);
            }
            out << kUpgradesEnd << " \n";
        }
        return fault.empty();
    });
    if (!fault.empty())
        return refuse(fault);
    if (!AreLinesReadable(out.str()))
        return refuse("a line longer than the reader takes");
    return out.TakeText();
}

std::string SaveWithBackup(const CampaignContext& context, std::string_view fileName, const std::string& text)
{
    return WriteFileAtomicallyWithBackup(CampaignPath(context, fileName),
        CampaignPath(context, std::string(WithoutExtension(fileName)) + ".ccx"), WholeText(text));
}

std::string SaveCampaign(CampaignContext& context, CampaignRecord& record)
{
    for (std::string* text : { &record.m_name, &record.m_formationName, &record.m_formationId })
        if (!text->empty() && text->back() == '\n')
            text->pop_back();
    std::string refusal;
    const std::string text = record.m_linked ? MakeLinkedCampaignText(record, refusal)
                                             : MakeCampaignText(record, context.g_unitCounter, refusal);
    if (!refusal.empty())
        return refusal;
    return SaveWithBackup(context, record.m_name + (record.m_linked ? ".ccl" : ".ccd"), text);
}

std::string ReadCampaign(CampaignContext& context, CampaignRecord& record, std::string_view fileName)
{
    if (EndsWithNoCase(fileName, ".ccl"))
        return ReadLinkedCampaignFile(context, record, fileName);
    std::string text;
    if (std::string error = ReadCampaignFileText(context, fileName, text); !error.empty())
        return error;
    CampaignRecord fresh;
    std::int32_t unitCounter = 0;
    if (std::string refusal = ParseCampaignText(text, fileName, fresh, unitCounter); !refusal.empty())
        return refusal;
    // Not stored: the arm chosen at creation stays; the chosen force is
    // chosen again.
    fresh.m_arm = record.m_arm;
    fresh.m_selectedForceCost = 0;
    record = std::move(fresh);
    context.g_unitCounter = unitCounter;
    return {};
}

bool ReadCampaignSummary(const CampaignContext& context, std::string_view fileName, CampaignRecord& record)
{
    if (EndsWithNoCase(fileName, ".ccl"))
        return ReadLinkedCampaignSummary(context, fileName, record);
    std::string text;
    if (!ReadCampaignFileText(context, fileName, text).empty())
        return false;
    CampaignFileLines lines(text, fileName);
    std::string_view line;
    if (!lines.Next(line))
        return true;
    record.m_name = std::string(TrimRight(line));
    if (!lines.Next(line))
        return true;
    record.m_formationId = std::string(line);
    if (!lines.Next(line))
        return true;
    record.m_formationName = std::string(line);
    if (!lines.Next(line))
        return true;
    {
        TextCursor cursor(line);
        static_cast<void>(ReadNumbers(cursor, record.m_nation, record.m_portrait, record.m_rank));
    }
    if (!lines.Next(line))
        return true;
    TextCursor cursor(line);
    std::int32_t startDate = 0;
    std::int32_t endDate = 0;
    static_cast<void>(
        ReadNumbers(cursor, startDate, endDate, record.m_currentDate, record.m_dayOffset, record.m_charSection));
    return true;
}

std::string CampaignRecord::RestoreBackup(CampaignContext& context)
{
    const std::string campaignFile = m_name + (m_linked ? ".ccl" : ".ccd");
    const std::string backupFile = m_name + ".ccx";
    std::string text;
    if (!LocateDataFile(context.PathOf(backupFile).string()))
        return {};
    if (std::string error = ReadCampaignFileText(context, backupFile, text); !error.empty())
        return error;

    // A backup that does not read is no undo: nothing is touched.
    {
        std::string probe = text;
        std::string refusal;
        if (m_linked) {
            LinkedCampaignHeader header;
            refusal = ReadLinkedCampaignHeader(context, header, probe, backupFile);
        } else {
            CampaignRecord record;
            std::int32_t unitCounter = 0;
            refusal = ParseCampaignText(probe, backupFile, record, unitCounter);
        }
        if (!refusal.empty())
            return refusal;
    }
    if (std::string error = WriteWhole(CampaignPath(context, campaignFile), text); !error.empty())
        return error;
    // The battle that was set up goes with the save it belonged to.
    for (const char* extension : { ".cpn", ".org", ".map" })
        RemoveFilesNamedNoCase(context.folder, m_name + extension);
    return ReadCampaign(context, *this, campaignFile);
}
