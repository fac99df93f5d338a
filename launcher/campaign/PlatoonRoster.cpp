#include "launcher/campaign/PlatoonRoster.h"
#include "model/IntRange.h"

#include <algorithm>
#include <limits>
#include <span>
#include <string_view>
#include <utility>

#include "launcher/campaign/CampaignParameters.h"
#include "model/DataFile.h"
#include "model/TextScan.h"

namespace {

PlatoonRosterEntry MakeEntry(const UnitRecord& unit)
{
    PlatoonRosterEntry entry;
    entry.m_id = unit.m_id;
    entry.m_number = unit.m_number;
    entry.m_leader = unit.m_leader;
    entry.m_experience = unit.m_experience;
    entry.m_strength = unit.m_strength;
    entry.m_morale = unit.m_morale;
    entry.m_maxStrength = unit.m_fullStrength;
    entry.m_keptStrength = unit.m_strength;
    entry.m_keptMorale = unit.m_morale;
    return entry;
}

// The first `count` integers of the line; false when any is missing or does
// not fit.
template <std::size_t N> bool ReadLineInts(std::string_view line, std::array<std::int32_t, N>& values)
{
    for (std::int32_t& value : values)
        if (!TakeInt(line, value))
            return false;
    return true;
}

// Lines of the head a saved battle of the version carries; 0 for a version
// no reader accepts.
int BattleHeadLines(std::int32_t version)
{
    if (version == 1)
        return 10;
    if (version >= 2 && version <= 9)
        return 12;
    if (version == 10)
        return 13;
    return 0;
}

} // namespace

bool IsCommanderUnitId(const std::string& id) { return id.size() >= 4 && id[0] == 'P' && id[3] == '4'; }

PlatoonRoster::PlatoonRoster(UnitRecord* root, RosterMode mode, bool includeLoneUnits, bool subtreeOnly)
    : m_mode(mode)
    , m_root(root)
    , m_includeLoneUnits(includeLoneUnits)
{
    CollectRosterUnits(root, subtreeOnly);
}

PlatoonRoster::PlatoonRoster(
    UnitRecord* root, const std::filesystem::path& battleFile, std::int32_t commanderUnit, bool includeLoneUnits)
    : m_mode(RosterMode::kBattleResult)
    , m_root(root)
    , m_includeLoneUnits(includeLoneUnits)
    , m_commanderUnit(commanderUnit)
{
    CollectRosterUnits(root, false);
    ReadBattleLosses(battleFile);
}

void PlatoonRoster::CollectRosterUnits(UnitRecord* root, bool subtreeOnly)
{
    // Children go to the head of the list and lone units to its end: the
    // two halves are kept apart and joined at the end.
    std::vector<PlatoonRosterEntry> heads; // reversed
    std::vector<PlatoonRosterEntry> tails;
    std::vector<UnitRecord*> stack;
    if (root)
        stack.push_back(root);
    while (!stack.empty()) {
        UnitRecord* unit = stack.back();
        stack.pop_back();
        if (unit->m_nextSibling && (unit != root || !subtreeOnly))
            stack.push_back(unit->m_nextSibling.get());
        if (unit->m_firstChild)
            stack.push_back(unit->m_firstChild.get());
        const bool qualifies = unit->m_role == 1 || unit->m_role == 2 || m_mode == RosterMode::kAllUnits;
        if (!qualifies)
            continue;
        if (!unit->m_firstChild) {
            if (m_includeLoneUnits)
                tails.push_back(MakeEntry(*unit));
            continue;
        }
        for (const UnitRecord* child = unit->m_firstChild.get(); child; child = child->m_nextSibling.get()) {
            if (m_mode == RosterMode::kReplacements && child->m_strength == child->m_fullStrength)
                continue;
            if (!m_includeLoneUnits && IsCommanderUnitId(child->m_id))
                continue;
            heads.push_back(MakeEntry(*child));
        }
    }
    m_entries.assign(std::make_move_iterator(heads.rbegin()), std::make_move_iterator(heads.rend()));
    m_entries.insert(m_entries.end(), std::make_move_iterator(tails.begin()), std::make_move_iterator(tails.end()));
}

void PlatoonRoster::ReadBattleLosses(const std::filesystem::path& battleFile)
{
    std::string text;
    if (ReadDataFileText(battleFile.string(), text) != DataFileRead::kRead)
        return;
    LineReader reader(std::span<char>(text.data(), text.size()));
    std::string_view line;
    std::int32_t version = 0;
    if (!reader.Next(line) || !TakeInt(line, version))
        return;
    const int headLines = BattleHeadLines(version);
    if (headLines == 0)
        return;
    for (int passed = 1; passed < headLines; ++passed)
        if (!reader.Next(line))
            return;
    while (reader.Next(line)) {
        if (TrimLeft(line).starts_with("-1"))
            break;
        std::string_view rest = line;
        std::int32_t tag = 0;
        if (!TakeInt(rest, tag))
            continue;
        std::int32_t number = 0;
        std::int32_t strength = 0;
        if (tag == 0) {
            std::array<std::int32_t, 10> values {};
            if (!ReadLineInts(line, values))
                continue;
            number = values[4];
            strength = values[7];
        } else if (tag == 15 || tag == 16) {
            std::array<std::int32_t, 8> values {};
            if (!ReadLineInts(line, values))
                continue;
            number = values[2];
            strength = values[5];
            if (tag == 15) {
                if (number == m_commanderUnit)
                    m_commanderHit = true;
                else
                    strength = 0;
            }
        } else {
            continue;
        }
        if (PlatoonRosterEntry* entry = FindRosterEntry(number))
            entry->m_strength = strength;
    }
}

void PlatoonRoster::AddBattleExperience(std::int32_t score, const std::filesystem::path& folder)
{
    const std::int64_t gain = std::max<std::int64_t>(static_cast<std::int64_t>(score) * 5 / 100, 1);
    for (PlatoonRosterEntry& entry : m_entries)
        entry.m_experience = ClampToInt(entry.m_experience + gain);
    ApplyMoraleLevels(ReadMoraleThresholds(folder, 8));
}

void PlatoonRoster::ApplyMoraleLevels(const std::array<std::int32_t, 9>& thresholds)
{
    for (PlatoonRosterEntry& entry : m_entries) {
        // A morale outside the table's levels has no threshold to meet.
        if (entry.m_morale < 0 || entry.m_morale >= 9)
            continue;
        const std::int32_t needed = thresholds[static_cast<std::size_t>(entry.m_morale)];
        if (entry.m_experience < needed)
            continue;
        ++entry.m_morale;
        entry.m_experience = ClampToInt(static_cast<std::int64_t>(entry.m_experience) - needed);
    }
}

void PlatoonRoster::WriteRosterBack(bool flag)
{
    std::vector<std::pair<UnitRecord*, bool>> stack;
    if (m_root)
        stack.emplace_back(m_root, flag);
    while (!stack.empty()) {
        const auto [unit, on] = stack.back();
        stack.pop_back();
        if (on)
            if (const PlatoonRosterEntry* entry = FindRosterEntry(unit->m_number))
                WriteRosterEntryToUnit(*entry, *unit);
        // The sibling is visited first: pushed last.
        if (unit->m_firstChild)
            stack.emplace_back(unit->m_firstChild.get(), on);
        if (unit->m_nextSibling)
            stack.emplace_back(unit->m_nextSibling.get(), on || unit->m_role == 1);
    }
}

PlatoonRosterEntry* PlatoonRoster::FindRosterEntry(std::int32_t number)
{
    const auto found = std::ranges::find(m_entries, number, &PlatoonRosterEntry::m_number);
    return found == m_entries.end() ? nullptr : &*found;
}

void WriteRosterEntryToUnit(const PlatoonRosterEntry& entry, UnitRecord& unit)
{
    unit.m_strength = entry.m_strength;
    unit.m_morale = entry.m_morale;
    unit.m_experience = entry.m_experience;
}

void CopyExperienceToPlatoons(const PlatoonRoster& roster, UnitRecord* root)
{
    const std::vector<PlatoonRosterEntry>& entries = roster.Entries();
    std::vector<std::pair<UnitRecord*, std::size_t>> stack;
    if (root)
        stack.emplace_back(root, 0);
    while (!stack.empty()) {
        auto [unit, current] = stack.back();
        stack.pop_back();
        if (current >= entries.size())
            continue;
        if (!unit->m_id.empty() && unit->m_id.front() == 'P') {
            unit->m_experience = entries[current].m_experience;
            unit->m_morale = entries[current].m_morale;
            ++current;
        }
        if (unit->m_nextSibling)
            stack.emplace_back(unit->m_nextSibling.get(), current);
        if (unit->m_firstChild)
            stack.emplace_back(unit->m_firstChild.get(), current);
    }
}

bool ApplyReplacement(PlatoonRosterEntry& entry)
{
    const std::int64_t strength = static_cast<std::int64_t>(entry.m_strength) + 1;
    // A strength that stays at or below zero has nothing to blend against.
    if (strength > entry.m_maxStrength || strength < entry.m_keptStrength || strength < 1)
        return false;
    const std::int64_t kept = entry.m_keptStrength;
    const std::int64_t morale = (kept * entry.m_keptMorale + (strength - kept) * 4) / strength;
    entry.m_strength = static_cast<std::int32_t>(strength);
    entry.m_morale = ClampToInt(morale);
    return true;
}

ReplacementSession::ReplacementSession(PlatoonRoster& roster, std::int32_t points)
    : m_roster(&roster)
    , m_points(points)
{
    FillReplacementList();
}

void ReplacementSession::FillReplacementList()
{
    m_rows.clear();
    for (const PlatoonRosterEntry& entry : m_roster->Entries())
        if (entry.m_maxStrength > entry.m_strength)
            m_rows.push_back(MakeRow(entry));
    m_selected = 0;
}

ReplacementSession::Row ReplacementSession::MakeRow(const PlatoonRosterEntry& entry) const
{
    return { std::string(TrimRight(entry.m_leader)) + " Strength-" + std::to_string(entry.m_strength) + " Max Strength-"
            + std::to_string(entry.m_maxStrength) + " Morale-" + std::to_string(entry.m_morale),
        entry.m_number };
}

void ReplacementSession::Select(int row)
{
    if (row >= 0 && static_cast<std::size_t>(row) < m_rows.size())
        m_selected = row;
}

PlatoonRosterEntry* ReplacementSession::SelectedEntry() const
{
    if (static_cast<std::size_t>(m_selected) >= m_rows.size())
        return nullptr;
    return m_roster->FindRosterEntry(m_rows[static_cast<std::size_t>(m_selected)].number);
}

bool ReplacementSession::AddReplacement()
{
    PlatoonRosterEntry* entry = SelectedEntry();
    if (!entry || m_points <= 0 || !ApplyReplacement(*entry))
        return false;
    --m_points;
    m_rows[static_cast<std::size_t>(m_selected)].text = MakeRow(*entry).text;
    return true;
}

std::string ReplacementSession::StrengthLabel() const
{
    const PlatoonRosterEntry* entry = SelectedEntry();
    return "Platoon Strength: " + std::to_string(entry ? entry->m_strength : 0);
}

std::string ReplacementSession::MoraleLabel() const
{
    const PlatoonRosterEntry* entry = SelectedEntry();
    return "Platoon Morale: " + std::to_string(entry ? entry->m_morale : 0);
}

std::string ReplacementSession::PointsLabel() const { return "Total Replacement Points: " + std::to_string(m_points); }

std::int32_t RunReplacementDialog(PlatoonRoster& roster, std::int32_t points, const ReplacementChooser& chooser)
{
    ReplacementSession session(roster, points);
    if (!session.Rows().empty() && chooser)
        chooser(session);
    roster.WriteRosterBack(false);
    return session.Points();
}
