#include "launcher/campaign/LinkedCampaign.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>

#include "launcher/campaign/CampaignFile.h"
#include "launcher/campaign/CampaignFiles.h"
#include "launcher/campaign/CampaignTextFields.h"
#include "launcher/campaign/OrderOfBattle.h"
#include "model/DataFile.h"
#include "model/Geometry.h"
#include "model/OrgTree.h"
#include "model/Scramble.h"

namespace {

// The definition read as formatted input reads it: numbers skip every white
// space, lines are taken whole.
class DefinitionCursor {
public:
    explicit DefinitionCursor(std::string_view text)
        : m_text(text)
        , m_rest(text)
    {
    }

    // Only white space is left.
    bool AtEnd() const { return TrimLeft(m_rest).empty(); }
    template <class... T> bool Read(T&... values) { return (TakeInt(m_rest, values) && ...); }
    void SkipLine()
    {
        const std::size_t end = m_rest.find('\n');
        m_rest.remove_prefix(end == std::string_view::npos ? m_rest.size() : end + 1);
    }
    // The rest of the line without its line end; false at the end of the
    // text or for a line longer than the reader takes.
    bool ReadLine(std::string& line)
    {
        if (m_rest.empty())
            return false;
        const std::size_t end = m_rest.find('\n');
        std::string_view text = m_rest.substr(0, end);
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        if (text.size() > kMaxTextLineLength)
            return false;
        SkipLine();
        line = std::string(text);
        return true;
    }
    void SkipBlanksInLine()
    {
        while (!m_rest.empty() && (m_rest.front() == ' ' || m_rest.front() == '\t'))
            m_rest.remove_prefix(1);
    }
    // The text up to the stop character (taken too) or the line end (left).
    std::string_view TakeUpTo(char stop)
    {
        const std::size_t end = std::min(m_rest.find(stop), m_rest.find('\n'));
        std::string_view text = m_rest.substr(0, end);
        m_rest.remove_prefix(text.size());
        if (!m_rest.empty() && m_rest.front() == stop)
            m_rest.remove_prefix(1);
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        return text;
    }
    bool Empty() const { return m_rest.empty(); }
    // At a line end (a carriage return before it included), which is taken.
    bool TakeLineEnd()
    {
        if (m_rest.starts_with("\r\n") || m_rest.starts_with('\n')) {
            SkipLine();
            return true;
        }
        return false;
    }
    void SkipOne() { m_rest.remove_prefix(m_rest.empty() ? 0 : 1); }
    int LineNumber() const
    {
        const std::string_view read = m_text.substr(0, m_text.size() - m_rest.size());
        return 1 + static_cast<int>(std::count(read.begin(), read.end(), '\n'));
    }

private:
    std::string_view m_text;
    std::string_view m_rest;
};

// How reading one node ended.
enum class NodeRead { kRead, kEnd, kFailed };

NodeRead ReadNode(DefinitionCursor& in, LinkedBattleNode& node)
{
    if (in.AtEnd())
        return NodeRead::kEnd;
    if (!in.Read(node.m_id))
        return NodeRead::kFailed;
    in.SkipBlanksInLine();
    if (node.m_id <= 0) {
        // An end node's text may hold a '/': it runs to the line end.
        std::string text;
        if (!in.Empty() && !in.TakeLineEnd() && !in.ReadLine(text))
            return NodeRead::kFailed;
        node.m_battleFile = std::move(text);
        return NodeRead::kRead;
    }
    node.m_battleFile = std::string(in.TakeUpTo('/'));
    auto& next = node.m_nextIds;
    if (in.AtEnd())
        return NodeRead::kEnd;
    if (!in.Read(node.m_mapX, node.m_mapY, next[0], next[1], next[2], next[3], next[4], node.m_replacementPoints))
        return in.AtEnd() ? NodeRead::kEnd : NodeRead::kFailed;
    if (in.Empty() || in.TakeLineEnd())
        return NodeRead::kRead;
    in.SkipOne();
    if (!in.Empty() && !in.TakeLineEnd() && !in.ReadLine(node.m_text))
        return NodeRead::kFailed;
    return NodeRead::kRead;
}

std::string DefinitionRefusal(std::string_view fileName, int line)
{
    return "Error reading linked campaign file " + std::string(fileName) + ", line " + std::to_string(line);
}

std::string_view WithoutExtension(std::string_view fileName)
{
    return fileName.substr(0, fileName.size() >= 4 ? fileName.size() - 4 : 0);
}

// The ".ccl" text of a header's parts.
std::string MakeText(std::string_view definitionFile, std::int32_t currentBattleId, std::int32_t nation,
    std::int32_t currentDate, std::int32_t region, const BattleHistoryEntry* newest, const UnitRecord* force,
    std::string& refusal)
{
    refusal.clear();
    auto refuse = [&refusal, definitionFile](std::string_view why) {
        refusal = "Cannot save linked campaign of " + std::string(definitionFile) + ": " + std::string(why);
        return std::string();
    };
    if (!IsWritableLine(definitionFile))
        return refuse("a file name holding a line end");
    if (!IsSingleRoot(force))
        return refuse("a force of more than one root");

    std::vector<const BattleHistoryEntry*> history;
    for (const BattleHistoryEntry* entry = newest; entry; entry = entry->m_next.get())
        history.push_back(entry);
    TextBuilder out;
    out.reserve(EstimateTextSize(force));
    out << definitionFile << '\n'
        << currentBattleId << ' ' << nation << ' ' << currentDate << ' ' << region << '\n'
        << static_cast<std::int64_t>(history.size()) << '\n';
    for (auto it = history.rbegin(); it != history.rend(); ++it) {
        const BattleHistoryEntry& entry = **it;
        if (!IsWritableLine(entry.m_battleName))
            return refuse("a battle name holding a line end");
        out << std::string_view(entry.m_battleName) << '\n'
            << entry.m_date << ' ' << entry.m_result << ' ' << entry.m_battleType << '\n';
    }
    const bool written = ForEachUnitDepthFirst(force, 0, [&out](const UnitRecord& unit, int depth) {
        if (!IsWritableWord(unit.m_id) || !IsWritableLine(unit.m_name) || !IsWritableLine(unit.m_leader))
            return false;
        out << depth << ' ' << std::string_view(unit.m_id) << ' ' << unit.m_morale << ' ' << unit.m_strength << ' '
            << unit.m_experience << ' ' << unit.m_number << ' ' << std::string_view(unit.m_name) << '\n'
            << std::string_view(unit.m_leader) << '\n';
        return true;
    });
    if (!written)
        return refuse("a unit id that is empty or holds a blank, or a name holding a line end");
    out << "-1\n";
    if (!AreLinesReadable(out.str()))
        return refuse("a line longer than the reader takes");
    return out.TakeText();
}

// A ".ccl" unit line: depth, id, morale, strength, experience, number, one
// separator and the name to the line end.
std::unique_ptr<UnitRecord> ParseLinkedUnitLine(std::string_view line, std::int32_t& depth)
{
    TextCursor cursor(line);
    if (!ReadNumbers(cursor, depth))
        return nullptr;
    auto unit = std::make_unique<UnitRecord>();
    std::string_view id;
    if (depth == -1 || !cursor.ReadWord(id)
        || !ReadNumbers(cursor, unit->m_morale, unit->m_strength, unit->m_experience, unit->m_number))
        return nullptr;
    unit->m_id = std::string(id);
    cursor.SkipOne();
    unit->m_name = std::string(cursor.Rest());
    return unit;
}

// A platoon's full strength is its type's, from its platoon line.
void TakeFullStrength(CampaignContext& context, UnitRecord& unit)
{
    if (unit.m_id.empty() || unit.m_id.front() != 'P')
        return;
    const std::optional<std::uint32_t> type = PlatoonTypeNumber(unit.m_id);
    if (!type)
        return;
    char id[16];
    std::snprintf(id, sizeof id, "P%05u", *type);
    UnitRecord platoon;
    platoon.m_id = id;
    if (RefreshPlatoonFromFile(context, platoon))
        unit.m_fullStrength = platoon.m_fullStrength;
}

// The organisation node with its subtree as campaign units.
std::unique_ptr<UnitRecord> ConvertOrgNode(CampaignContext& context, const OrgNode& node)
{
    auto unit = std::make_unique<UnitRecord>();
    char id[24];
    if (node.m_level == 0)
        std::snprintf(id, sizeof id, "P%05u", node.m_code);
    else
        std::snprintf(id, sizeof id, "%c%07u", LevelLetter(node.m_level), node.m_code);
    unit->m_id = id;
    unit->m_number = node.m_id;
    unit->m_morale = node.m_rating;
    const std::string& name = node.m_nodeName.str();
    unit->m_name = name.substr(0, name.find('#'));
    unit->m_leader = unit->m_name;
    if (node.m_level == 0) {
        // The unit keeps its organisation number; no running number is taken.
        const std::int32_t counter = context.g_unitCounter;
        if (FindPlatoonLine(context, *unit, id))
            unit->m_number = node.m_id;
        context.g_unitCounter = counter;
    }
    if (const FormationNode* formation = node.AsFormation())
        for (const OrgNode* child : formation->m_children)
            AttachChildUnit(ConvertOrgNode(context, *child), *unit);
    return unit;
}

// The organisation file named by line 10 of a battle file: scrambled from
// version 8, with the writer's trailing blank from version 9.
std::optional<std::string> BattleOrgFileName(std::string& battle)
{
    LineReader reader(std::span<char>(battle.data(), battle.size()));
    std::string_view line;
    std::int32_t version = 0;
    if (!reader.Next(line) || !TakeInt(line, version))
        return std::nullopt;
    for (int i = 2; i <= 10; ++i)
        if (!reader.Next(line))
            return std::nullopt;
    std::string name(line);
    if (version >= 9 && !name.empty() && name.back() == ' ')
        name.pop_back();
    if (version >= 8)
        DescrambleLine(name);
    return NormalizeStoredName(name);
}

} // namespace

std::int32_t LinkedBattleNode::NextBattleId(int outcome) const
{
    return m_nextIds[static_cast<std::size_t>(std::clamp(outcome, -2, 2) + 2)];
}

std::string LinkedCampaignTree::Read(const CampaignContext& context, std::string_view fileName)
{
    std::string text;
    if (ReadDataFileText(context.PathOf(fileName).string(), text) != DataFileRead::kRead)
        return "Cannot open linked campaign file " + std::string(fileName);
    return ReadText(text, fileName);
}

std::string LinkedCampaignTree::ReadText(std::string_view text, std::string_view fileName)
{
    LinkedCampaignTree fresh;
    DefinitionCursor in(text);
    auto fail = [&in, fileName] { return DefinitionRefusal(fileName, in.LineNumber()); };
    if (!in.Read(fresh.m_forceUnitNumber, fresh.m_value2, fresh.m_flag))
        return fail();
    in.SkipLine();
    if (!in.ReadLine(fresh.m_title))
        return fail();
    if (!in.Read(fresh.m_nation, fresh.m_enemyNation, fresh.m_region, fresh.m_startDate))
        return fail();
    in.SkipLine();

    // The description: its lines joined by blanks, up to an empty line or
    // one beginning with a blank.
    std::string line;
    while (!in.Empty()) {
        if (!in.ReadLine(line))
            return fail();
        if (line.empty() || line.front() == ' ' || line.front() == '\t')
            break;
        if (!fresh.m_description.empty())
            fresh.m_description += ' ';
        fresh.m_description += line;
    }

    while (true) {
        LinkedBattleNode node;
        const NodeRead read = ReadNode(in, node);
        if (read == NodeRead::kFailed)
            return fail();
        if (read == NodeRead::kEnd)
            break;
        fresh.m_nodes.push_back(std::move(node));
    }
    *this = std::move(fresh);
    return {};
}

const LinkedBattleNode* LinkedCampaignTree::FindNode(std::int32_t id) const
{
    const auto found
        = std::find_if(m_nodes.begin(), m_nodes.end(), [id](const LinkedBattleNode& node) { return node.m_id == id; });
    return found == m_nodes.end() ? nullptr : &*found;
}

std::int32_t LinkedCampaignTree::FirstBattleId() const { return m_nodes.empty() ? 0 : m_nodes.front().m_id; }

std::string ReadLinkedCampaignHeader(
    CampaignContext& context, LinkedCampaignHeader& header, std::string& text, std::string_view fileName)
{
    LinkedCampaignHeader fresh;
    CampaignFileLines lines(text, fileName);
    std::string_view line;
    auto fail = [&lines] { return lines.Refusal(); };

    if (!lines.Next(line))
        return fail();
    fresh.m_definitionFile = std::string(line);
    if (!lines.Next(line)
        || !ReadLineOfNumbers(line, fresh.m_currentBattleId, fresh.m_nation, fresh.m_currentDate, fresh.m_region))
        return fail();
    std::int32_t count = 0;
    if (!lines.Next(line) || !TakeInt(line, count) || count < 0)
        return fail();
    for (std::int32_t i = 0; i < count; ++i) {
        auto entry = std::make_unique<BattleHistoryEntry>();
        if (!lines.Next(line))
            return fail();
        entry->m_battleName = std::string(line);
        if (!lines.Next(line))
            return fail();
        TextCursor cursor(line);
        if (!ReadNumbers(cursor, entry->m_date, entry->m_result, entry->m_battleType))
            return fail();
        entry->m_next = std::move(fresh.m_history);
        fresh.m_history = std::move(entry);
    }

    UnitTreeBuilder builder(0);
    while (true) {
        if (!lines.Next(line))
            return fail();
        std::int32_t depth = 0;
        std::unique_ptr<UnitRecord> unit = ParseLinkedUnitLine(line, depth);
        if (!unit && depth == -1)
            break;
        if (!unit || !builder.Accepts(depth))
            return fail();
        if (!lines.Next(line))
            return fail();
        unit->m_leader = std::string(line);
        unit->m_role = 1;
        TakeFullStrength(context, *unit);
        builder.Place(std::move(unit), depth);
    }
    fresh.m_force = builder.Take();
    header = std::move(fresh);
    return {};
}

std::string WriteLinkedCampaign(const LinkedCampaignHeader& header, std::string& refusal)
{
    return MakeText(header.m_definitionFile, header.m_currentBattleId, header.m_nation, header.m_currentDate,
        header.m_region, header.m_history.get(), header.m_force.get(), refusal);
}

std::string MakeLinkedCampaignText(const CampaignRecord& record, std::string& refusal)
{
    return MakeText(record.m_regionPrefix, record.m_linkedBattleId, record.m_nation, record.m_currentDate,
        record.m_region, record.m_history.get(), record.m_force.get(), refusal);
}

std::string SaveLinkedCampaign(
    const CampaignContext& context, const LinkedCampaignHeader& header, std::string_view fileName)
{
    std::string refusal;
    const std::string text = WriteLinkedCampaign(header, refusal);
    if (!refusal.empty())
        return refusal;
    return SaveWithBackup(context, fileName, text);
}

std::string ReadLinkedCampaignFile(CampaignContext& context, CampaignRecord& record, std::string_view fileName)
{
    std::string text;
    if (ReadDataFileText(context.PathOf(fileName).string(), text) != DataFileRead::kRead)
        return CampaignOpenError(fileName);
    LinkedCampaignHeader header;
    if (std::string refusal = ReadLinkedCampaignHeader(context, header, text, fileName); !refusal.empty())
        return refusal;

    CampaignRecord fresh;
    fresh.m_linked = 1;
    fresh.m_name = std::string(WithoutExtension(fileName));
    fresh.m_regionPrefix = header.m_definitionFile;
    fresh.m_nation = header.m_nation;
    fresh.m_currentDate = header.m_currentDate;
    fresh.m_linkedBattleId = header.m_currentBattleId;
    fresh.m_region = header.m_region;
    fresh.m_history = std::move(header.m_history);
    fresh.m_force = std::move(header.m_force);
    fresh.m_portrait = -1;
    fresh.m_rank = -1;
    fresh.m_commanderUnit = -1;
    fresh.m_charSection = -1;
    if (fresh.m_force)
        fresh.m_formationName = fresh.m_force->m_name;
    fresh.m_arm = record.m_arm;
    record = std::move(fresh);
    return {};
}

bool ReadLinkedCampaignSummary(const CampaignContext& context, std::string_view fileName, CampaignRecord& record)
{
    std::string text;
    if (ReadDataFileText(context.PathOf(fileName).string(), text) != DataFileRead::kRead)
        return false;
    record.m_name = std::string(WithoutExtension(fileName));
    record.m_formationId.clear();
    record.m_portrait = -1;
    record.m_rank = -1;
    record.m_commandLevel = 0;
    record.m_dayOffset = 0;
    record.m_charSection = -1;

    CampaignFileLines lines(text, fileName);
    std::string_view line;
    if (!lines.Next(line))
        return true;
    record.m_regionPrefix = std::string(line);
    if (!lines.Next(line))
        return true;
    TextCursor cursor(line);
    std::int32_t battleId = 0;
    if (!ReadNumbers(cursor, battleId) || !ReadNumbers(cursor, record.m_nation)
        || !ReadNumbers(cursor, record.m_currentDate))
        return true;
    // The formation's name is the root's, after the history.
    std::int32_t count = 0;
    if (!lines.Next(line) || !TakeInt(line, count) || count < 0)
        return true;
    for (std::int64_t i = 0; i < 2 * static_cast<std::int64_t>(count); ++i)
        if (!lines.Next(line))
            return true;
    std::int32_t depth = 0;
    if (!lines.Next(line))
        return true;
    if (const std::unique_ptr<UnitRecord> root = ParseLinkedUnitLine(line, depth))
        record.m_formationName = root->m_name;
    return true;
}

std::unique_ptr<UnitRecord> ReadLinkedStartingForce(
    CampaignContext& context, std::string_view definitionFile, std::int32_t battleId)
{
    LinkedCampaignTree tree;
    if (!tree.Read(context, definitionFile).empty())
        return nullptr;
    const LinkedBattleNode* node = tree.FindNode(battleId);
    if (!node)
        return nullptr;
    std::string battle;
    if (ReadDataFileText(context.PathOf(NormalizeStoredName(node->m_battleFile)).string(), battle)
        != DataFileRead::kRead)
        return nullptr;
    const std::optional<std::string> orgFile = BattleOrgFileName(battle);
    if (!orgFile)
        return nullptr;
    OrgTree org;
    if (!org.ReadFile(context.PathOf(*orgFile).string()).IsEmpty())
        return nullptr;
    const OrgNode* root = org.FindNode(tree.m_forceUnitNumber);
    if (!root)
        return nullptr;
    return ConvertOrgNode(context, *root);
}
