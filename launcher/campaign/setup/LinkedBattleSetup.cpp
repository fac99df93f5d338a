#include "launcher/campaign/setup/LinkedBattleSetup.h"

#include <array>
#include <vector>

#include "launcher/campaign/BattleResult.h"
#include "launcher/campaign/CampaignTables.h"
#include "launcher/campaign/LinkedCampaign.h"
#include "model/DataFile.h"
#include "model/TextScan.h"

namespace {

constexpr int kHeadLines = 12;
constexpr const char* kReadErrorText = "Error reading campaign data";
constexpr const char* kDataErrorText = "Error in campaign data";

// The first N numbers of the line; false unless every one reads.
template <std::size_t N> bool ReadNumbers(std::string_view line, std::array<std::int32_t, N>& numbers)
{
    for (std::int32_t& number : numbers)
        if (!TakeInt(line, number))
            return false;
    return true;
}

template <std::size_t N> void AppendNumbers(std::string& line, const std::array<std::int32_t, N>& numbers)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0)
            line += ' ';
        line += std::to_string(numbers[i]);
    }
    line += " 3 3 3";
}

// The lines of a text, each without its line feed; an unterminated last
// line counts.
std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

std::string_view WithoutReturn(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

bool LeadsWithMinusOne(std::string_view line)
{
    std::int32_t value = 0;
    return TakeInt(line, value) && value == -1;
}

} // namespace

void ClearBattleSelection(UnitRecord* unit)
{
    // Siblings by iteration and subunits by an explicit stack: no call depth.
    std::vector<UnitRecord*> pending { unit };
    while (!pending.empty()) {
        UnitRecord* node = pending.back();
        pending.pop_back();
        for (; node; node = node->m_nextSibling.get()) {
            node->m_role = 0;
            if (node->m_firstChild)
                pending.push_back(node->m_firstChild.get());
        }
    }
}

LinePatch PatchBattleUnitLine(std::string& line, const UnitRecord* force)
{
    std::array<std::int32_t, 12> numbers {};
    // A line led by "0" whose tag reads otherwise ("012 ...") is no unit
    // line: rewritten, it would lead with another digit, and a copy of the
    // copy would take it for a member line.
    if (!ReadNumbers(WithoutReturn(line), numbers) || numbers[0] != 0)
        return LinePatch::kUnchanged;
    const UnitRecord* unit = FindUnitByNumber(force, numbers[4]);
    if (!unit)
        return LinePatch::kUnchanged;
    if (unit->m_strength == 0) {
        line.clear();
        return LinePatch::kDropped;
    }
    numbers[7] = unit->m_strength;
    numbers[9] = unit->m_morale;
    line.clear();
    AppendNumbers(line, numbers);
    return LinePatch::kRewritten;
}

LinePatch PatchBattleSubunitLine(std::string& line, const UnitRecord* force)
{
    std::array<std::int32_t, 9> numbers {};
    if (!ReadNumbers(WithoutReturn(line), numbers))
        return LinePatch::kUnchanged;
    if (const UnitRecord* unit = FindUnitByNumber(force, numbers[1])) {
        // A member cannot leave its group's count: it stays with strength 1.
        numbers[4] = unit->m_strength == 0 ? 1 : unit->m_strength;
        numbers[6] = unit->m_morale;
    }
    line = "    ";
    AppendNumbers(line, numbers);
    return LinePatch::kRewritten;
}

std::string CopyLinkedBattleFile(
    const CampaignContext& context, std::string_view source, std::string_view destination, const UnitRecord* force)
{
    std::string text;
    if (ReadDataFileText(context.PathOf(source).string(), text) != DataFileRead::kRead)
        return "Cannot read battle file " + std::string(source);
    const std::vector<std::string_view> lines = SplitLines(text);
    const bool lastLineEnded = !text.empty() && text.back() == '\n';

    std::string copy;
    copy.reserve(text.size() + text.size() / 4);
    std::size_t i = 0;
    const auto put = [&copy, &lines, lastLineEnded](std::string_view line, std::size_t index) {
        copy += line;
        if (index + 1 < lines.size() || lastLineEnded)
            copy += '\n';
    };
    for (; i < lines.size() && i < static_cast<std::size_t>(kHeadLines); ++i)
        put(lines[i], i);
    std::int32_t members = 0;
    for (; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (LeadsWithMinusOne(line)) {
            put(line, i);
            ++i;
            break;
        }
        std::string patched(line);
        if (!line.empty() && line.front() == '0') {
            if (PatchBattleUnitLine(patched, force) == LinePatch::kDropped)
                continue;
        } else if (!line.empty() && line.front() == '7') {
            std::array<std::int32_t, 6> group {};
            members = ReadNumbers(WithoutReturn(line), group) ? group[5] : 0;
        } else if (members-- > 0) {
            PatchBattleSubunitLine(patched, force);
        }
        // Only a unit without strength leaves; a blank line stays, since it
        // took its place in a group's countdown and must again in a copy.
        put(patched, i);
    }
    for (; i < lines.size(); ++i)
        put(lines[i], i);

    const std::optional<std::filesystem::path> existing = LocateDataFile(context.PathOf(destination).string());
    const std::filesystem::path target = existing ? *existing : context.PathOf(destination);
    const std::string error = WriteFileAtomically(target, [&copy](std::ostream& out) {
        out.write(copy.data(), static_cast<std::streamsize>(copy.size()));
        return static_cast<bool>(out);
    });
    return error;
}

std::string ReadLinkedBriefing(const CampaignContext& context, std::string_view battleFile)
{
    std::string text;
    if (ReadDataFileText(context.PathOf(battleFile).string(), text) != DataFileRead::kRead)
        return {};
    const std::vector<std::string_view> lines = SplitLines(text);
    std::size_t i = 0;
    while (i < lines.size() && !LeadsWithMinusOne(lines[i]))
        ++i;
    i += 5; // the "-1" line and the four after it
    std::string briefing;
    for (bool first = true; i < lines.size(); ++i, first = false) {
        if (!first)
            briefing += ' ';
        briefing += WithoutReturn(lines[i]);
    }
    return briefing;
}

LinkedBattlePreparation PrepareLinkedCampaignBattle(CampaignContext& context, const ReplacementChooser& chooser)
{
    LinkedBattlePreparation result;
    CampaignRecord& campaign = context.g_campaign;
    LinkedCampaignTree tree;
    if (!tree.Read(context, campaign.m_regionPrefix).empty()) {
        context.ShowMessage(kReadErrorText, kCampaignErrorCaption);
        return result;
    }
    const LinkedBattleNode* node = tree.FindNode(campaign.m_linkedBattleId);
    if (!node || campaign.m_linkedBattleId <= 0) {
        context.ShowMessage(kDataErrorText, kCampaignErrorCaption);
        return result;
    }
    if (node->m_replacementPoints != 0) {
        PlatoonRoster roster(campaign.m_force.get(), RosterMode::kReplacements, false);
        RunReplacementDialog(roster, node->m_replacementPoints, chooser);
    }
    if (!CopyLinkedBattleFile(context, node->m_battleFile, campaign.m_name + ".cpn", campaign.m_force.get()).empty()) {
        context.ShowMessage(kReadErrorText, kCampaignErrorCaption);
        return result;
    }
    SetMapMarker(context, node->m_mapX, node->m_mapY);
    result.briefing = ReadLinkedBriefing(context, node->m_battleFile);
    result.prepared = true;
    return result;
}
