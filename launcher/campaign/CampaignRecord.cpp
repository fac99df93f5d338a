#include "launcher/campaign/CampaignRecord.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <system_error>
#include <utility>

#include "model/DataFile.h"

namespace {

int DigitAt(std::string_view id, std::size_t position)
{
    if (position >= id.size() || id[position] < '0' || id[position] > '9')
        return -1;
    return id[position] - '0';
}

int DigitsAt(std::string_view id, std::size_t position, std::size_t count)
{
    int value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int digit = DigitAt(id, position + i);
        if (digit < 0)
            return -1;
        value = value * 10 + digit;
    }
    return value;
}

// Takes every owned link out of the node, so that destroying it recurses no
// further; the links taken are handed to the pending list.
void TakeLinks(UnitRecord& node, std::vector<std::unique_ptr<UnitRecord>>& pending)
{
    if (node.m_firstChild)
        pending.push_back(std::move(node.m_firstChild));
    if (node.m_nextSibling)
        pending.push_back(std::move(node.m_nextSibling));
    if (node.m_nextSuccessor)
        pending.push_back(std::move(node.m_nextSuccessor));
    node.m_lastChild = nullptr;
}

template <class Node, class Match> Node* FindDepthFirst(Node* root, Match match)
{
    std::vector<Node*> stack;
    if (root)
        stack.push_back(root);
    while (!stack.empty()) {
        Node* node = stack.back();
        stack.pop_back();
        if (match(*node))
            return node;
        if (node->m_nextSibling)
            stack.push_back(node->m_nextSibling.get());
        if (node->m_firstChild)
            stack.push_back(node->m_firstChild.get());
    }
    return nullptr;
}

bool EqualNoCase(char a, char b)
{
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

bool MatchesPattern(std::string_view name, std::string_view pattern)
{
    // Iterative wildcard match with one back-track point for the last '*'.
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || EqualNoCase(pattern[p], name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool LessNoCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

int GetUnitIdNation(std::string_view id) { return DigitsAt(id, 1, 2); }
int GetUnitIdLevel(std::string_view id) { return DigitAt(id, 3); }
int GetUnitIdTypeDigit(std::string_view id) { return DigitAt(id, 4); }
int GetUnitIdIndex(std::string_view id) { return DigitsAt(id, 5, 3); }

bool IsWithheldUnitId(std::string_view id)
{
    if (!id.empty() && id.front() == 'P')
        return id.size() >= 4 && id.substr(id.size() - 3) == "999";
    return GetUnitIdIndex(id) == 999;
}

UnitRecord::~UnitRecord()
{
    std::vector<std::unique_ptr<UnitRecord>> pending;
    TakeLinks(*this, pending);
    while (!pending.empty()) {
        std::unique_ptr<UnitRecord> node = std::move(pending.back());
        pending.pop_back();
        TakeLinks(*node, pending);
    }
}

std::unique_ptr<UnitRecord> UnitRecord::CopyValues() const
{
    auto copy = std::make_unique<UnitRecord>();
    copy->m_arrival = m_arrival;
    copy->m_arrivalValue = m_arrivalValue;
    copy->m_id = m_id;
    copy->m_x = m_x;
    copy->m_y = m_y;
    copy->m_deployDirection = m_deployDirection;
    copy->m_facing = m_facing;
    copy->m_number = m_number;
    copy->m_name = m_name;
    copy->m_leader = m_leader;
    copy->m_strength = m_strength;
    copy->m_fullStrength = m_fullStrength;
    copy->m_size = m_size;
    copy->m_oobValues = m_oobValues;
    copy->m_experience = m_experience;
    copy->m_morale = m_morale;
    copy->m_role = m_role;
    copy->m_availableFrom = m_availableFrom;
    copy->m_availableTo = m_availableTo;
    return copy;
}

BattleHistoryEntry::~BattleHistoryEntry()
{
    std::unique_ptr<BattleHistoryEntry> next = std::move(m_next);
    while (next)
        next = std::move(next->m_next);
}

bool CampaignRecord::IsOver() const { return m_linked ? m_linkedBattleId < 0 : m_currentDate >= m_endDate; }

bool CampaignRecord::HasPendingBattle(const std::filesystem::path& folder) const
{
    return FileExists(folder, m_name + ".cpn");
}

bool CampaignRecord::HasBackup(const std::filesystem::path& folder) const
{
    return FileExists(folder, m_name + ".ccx");
}

const char* GetRankName(int /*nation*/, int rank)
{
    static constexpr const char* kRanks[] = { "Lt. General", "Lieutenant", "Captain", "Major", "Lt. Colonel", "Colonel",
        "Brig. General", "Major General", "Lt. General" };
    if (rank < 0)
        return "N/A";
    return kRanks[std::min(rank, 8)];
}

UnitRecord* AttachChildUnit(std::unique_ptr<UnitRecord> child, UnitRecord& parent)
{
    UnitRecord* const attached = child.get();
    attached->m_parent = &parent;
    if (parent.m_lastChild)
        parent.m_lastChild->m_nextSibling = std::move(child);
    else
        parent.m_firstChild = std::move(child);
    parent.m_lastChild = attached;
    return attached;
}

UnitRecord* FindUnitByNumber(UnitRecord* root, std::int32_t number)
{
    return FindDepthFirst(root, [number](const UnitRecord& unit) { return unit.m_number == number; });
}

const UnitRecord* FindUnitByNumber(const UnitRecord* root, std::int32_t number)
{
    return FindDepthFirst(root, [number](const UnitRecord& unit) { return unit.m_number == number; });
}

UnitRecord* FindUnitById(UnitRecord* root, std::string_view id)
{
    return FindDepthFirst(root, [id](const UnitRecord& unit) { return unit.m_id == id; });
}

const UnitRecord* FindUnitById(const UnitRecord* root, std::string_view id)
{
    return FindDepthFirst(root, [id](const UnitRecord& unit) { return unit.m_id == id; });
}

bool MoveUnitUnder(UnitRecord& formation, std::int32_t number)
{
    UnitRecord* const unit = FindUnitByNumber(formation.m_firstChild.get(), number);
    if (!unit || !unit->m_parent)
        return false;
    UnitRecord& oldParent = *unit->m_parent;
    // The owning link that holds the unit in its parent's list.
    std::unique_ptr<UnitRecord>* slot = &oldParent.m_firstChild;
    UnitRecord* previous = nullptr;
    while (slot->get() != unit) {
        previous = slot->get();
        slot = &(*slot)->m_nextSibling;
    }
    std::unique_ptr<UnitRecord> taken = std::move(*slot);
    *slot = std::move(taken->m_nextSibling);
    if (oldParent.m_lastChild == unit)
        oldParent.m_lastChild = previous;

    taken->m_parent = &formation;
    taken->m_nextSibling = std::move(formation.m_firstChild);
    if (!formation.m_lastChild)
        formation.m_lastChild = taken.get();
    formation.m_firstChild = std::move(taken);
    return true;
}

int CountSuccessors(const UnitRecord& unit)
{
    int count = 0;
    for (const UnitRecord* next = unit.m_nextSuccessor.get(); next; next = next->m_nextSuccessor.get())
        ++count;
    return count;
}

int GetUnitTypeDigit(const UnitRecord* unit)
{
    while (unit && !unit->m_id.empty() && unit->m_id.front() == 'P')
        unit = unit->m_parent;
    return unit ? GetUnitIdTypeDigit(unit->m_id) : -1;
}

std::int32_t CommanderUnitNumber(std::int32_t unitCounter, std::int32_t portrait)
{
    const std::int64_t counter = std::max<std::int64_t>(unitCounter, 0);
    const std::int64_t rounded = (counter + 23) / 24 * 24;
    return static_cast<std::int32_t>(std::min<std::int64_t>(
        rounded + std::max<std::int32_t>(portrait, 0), std::numeric_limits<std::int32_t>::max() - 1));
}

bool FileExists(const std::filesystem::path& folder, std::string_view name)
{
    return LocateDataFile((folder / std::string(name)).string()).has_value();
}

std::vector<std::string> ListFilesOfTwoPatterns(
    const std::filesystem::path& folder, std::string_view pattern1, std::string_view pattern2)
{
    std::vector<std::string> first;
    std::vector<std::string> second;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (!it->is_regular_file(error))
            continue;
        const std::string name = it->path().filename().string();
        if (MatchesPattern(name, pattern1))
            first.push_back(name);
        else if (MatchesPattern(name, pattern2))
            second.push_back(name);
    }
    std::sort(first.begin(), first.end(), LessNoCase);
    std::sort(second.begin(), second.end(), LessNoCase);
    first.insert(first.end(), second.begin(), second.end());
    return first;
}
