#include "launcher/campaign/BattleResult.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <span>
#include <utility>

#include "launcher/campaign/CampaignDates.h"
#include "launcher/campaign/CampaignFile.h"
#include "launcher/campaign/CampaignNames.h"
#include "launcher/campaign/CampaignParameters.h"
#include "launcher/campaign/LinkedCampaign.h"
#include "launcher/campaign/PlatoonRoster.h"
#include "model/DataFile.h"
#include "model/IntRange.h"
#include "model/TextScan.h"

namespace {

// Score thresholds of the command levels where the parameter file gives none.
constexpr std::array<std::int32_t, 7> kCommandLevelScores { 0, 2000, 7000, 25000, 100000, 500000, 6000000 };
constexpr int kHighestRank = 8;
// Ratios above this give the commander's own unit a chance of a new man.
constexpr double kReinforceRatio = 1.3;
constexpr int kReinforceChance = 10;
constexpr std::int32_t kMaxCommanderUnitStrength = 5;

bool ReadText(const CampaignContext& context, std::string_view name, std::string& text)
{
    return ReadDataFileText(context.PathOf(NormalizeStoredName(name)).string(), text) == DataFileRead::kRead;
}

// The month (1..12) of a date line's month word, by its first three letters.
int MonthOfWord(std::string_view word)
{
    if (word.size() < 3)
        return 0;
    for (int month = 1; month <= 12; ++month) {
        const std::string name = FormatShortDate(MakeDateKey(2000, month, 1));
        if (std::equal(name.begin(), name.begin() + 3, word.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
            }))
            return month;
    }
    return 0;
}

bool IsLine(std::string_view line, std::string_view wanted) { return TrimRight(TrimLeft(line)) == wanted; }

} // namespace

int RatingForRatio(float ratio)
{
    // The ratio stays a float compared with double limits: 0.7f is below 0.7.
    if (ratio <= 0.7)
        return 0;
    if (ratio <= 1.3)
        return 1;
    if (ratio <= 2.0)
        return 2;
    return 3;
}

std::int32_t ReadBattleType(const CampaignContext& context, std::string_view battleFile)
{
    std::string text;
    if (!ReadText(context, battleFile, text))
        return 1;
    LineReader reader(std::span<char>(text.data(), text.size()));
    std::string_view line;
    for (int read = 0; read < 7; ++read)
        if (!reader.Next(line))
            return 0;
    std::array<std::int32_t, 5> values {};
    for (std::int32_t& value : values)
        if (!TakeInt(line, value))
            return 0;
    return values[4];
}

std::int32_t ReadScenarioDate(const CampaignContext& context, std::string_view battleFile)
{
    std::string text;
    if (!ReadText(context, battleFile, text))
        return 0;
    LineReader reader(std::span<char>(text.data(), text.size()));
    std::string_view line;
    for (const std::string_view end : { std::string_view("-1"), std::string_view("0 -1") })
        do {
            if (!reader.Next(line))
                return 0;
        } while (!IsLine(line, end));
    // The final number and the note come before the date.
    for (int read = 0; read < 3; ++read)
        if (!reader.Next(line))
            return 0;
    TextCursor cursor(line);
    std::string_view word;
    std::int32_t day = 0;
    std::int32_t year = 0;
    if (!cursor.ReadWord(word) || !cursor.ReadInt(day) || !cursor.ReadInt(year))
        return 0;
    const int month = MonthOfWord(word);
    if (month == 0 || day < 1 || day > 31 || year < 1900 || year > 9999)
        return 0;
    return MakeDateKey(year, month, day);
}

CampaignBattleResult::CampaignBattleResult(
    CampaignContext& context, std::string_view stem, std::int32_t a, std::int32_t b)
    : m_linked(b == 0)
    , m_score(a)
    , m_battleFile(std::string(stem) + ".cpn")
    , m_context(&context)
    , m_stem(stem)
{
    if (m_linked) {
        m_campaignFile = m_stem + ".ccl";
    } else {
        m_campaignFile = m_stem + ".ccd";
        m_mapFile = m_stem + ".map";
    }
    CampaignRecord& campaign = context.g_campaign;
    if (std::string error = ReadCampaign(context, campaign, m_campaignFile); !error.empty()) {
        Fail(std::move(error), kCampaignErrorCaption);
        return;
    }
    campaign.m_selectedForceCost = 0;
    if (m_linked)
        return;
    campaign.m_score = ClampToInt(static_cast<std::int64_t>(campaign.m_score) + a);
    m_ratio = b < 0 ? static_cast<float>(static_cast<double>(a) + 2.0) : static_cast<float>(a) / static_cast<float>(b);
}

void CampaignBattleResult::Fail(std::string text, std::string_view caption)
{
    m_failure = std::move(text);
    m_failureCaption = std::string(caption);
}

bool CampaignBattleResult::Apply()
{
    if (Failed())
        return false;
    if (m_linked)
        return ApplyLinkedBattleResult(*this);
    ApplySingle();
    return !Failed();
}

void CampaignBattleResult::ApplySingle()
{
    AwardDecoration();
    CheckPromotion();
    CheckLargerCommand();
    StrengthenCommanderUnit();
    AddHistoryEntry();
    ApplyUnitResults();
    SaveAndRemoveBattle();
}

void CampaignBattleResult::AwardDecoration()
{
    CampaignRecord& campaign = m_context->g_campaign;
    const Decoration decoration = ReadDecoration(m_context->folder, static_cast<double>(m_ratio), campaign.m_nation);
    if (decoration.number < 1)
        return;
    // Six counters: a file with more rows gives the highest.
    m_decoration = std::min<int>(decoration.number, static_cast<int>(campaign.m_decorationCounts.size()));
    std::int32_t& count = campaign.m_decorationCounts[static_cast<std::size_t>(m_decoration - 1)];
    count = ClampToInt(static_cast<std::int64_t>(count) + 1);
    m_decorationName = decoration.name;
}

void CampaignBattleResult::CheckPromotion()
{
    CampaignRecord& campaign = m_context->g_campaign;
    const std::int32_t target = ReadRankForScore(m_context->folder, campaign.m_score);
    if (campaign.m_rank < target && campaign.m_rank < kHighestRank) {
        ++campaign.m_rank;
        m_promoted = true;
    }
}

void CampaignBattleResult::CheckLargerCommand()
{
    CampaignRecord& campaign = m_context->g_campaign;
    const int target
        = CommandLevelForScore(ReadCommandLevelThresholds(m_context->folder, kCommandLevelScores), campaign.m_score);
    if (campaign.m_commandLevel >= target)
        return;
    const UnitRecord* formation = FindUnitById(campaign.m_force.get(), campaign.m_formationId);
    if (!formation || !formation->m_parent)
        return;
    const int level = GetUnitIdLevel(formation->m_parent->m_id);
    if (level >= 1 && level <= target)
        m_largerCommandOffered = true;
}

void CampaignBattleResult::StrengthenCommanderUnit()
{
    if (!(static_cast<double>(m_ratio) > kReinforceRatio) || m_context->random->RollRandom(100) > kReinforceChance)
        return;
    CampaignRecord& campaign = m_context->g_campaign;
    UnitRecord* unit = FindUnitByNumber(campaign.m_force.get(), campaign.m_commanderUnit);
    if (!unit || unit->m_strength >= kMaxCommanderUnitStrength)
        return;
    ++unit->m_strength;
    unit->m_fullStrength = ClampToInt(static_cast<std::int64_t>(unit->m_fullStrength) + 1);
}

void CampaignBattleResult::AddHistoryEntry()
{
    CampaignRecord& campaign = m_context->g_campaign;
    auto entry = std::make_unique<BattleHistoryEntry>();
    entry->m_battleName = campaign.m_pendingBattle;
    entry->m_date = ClampToInt(static_cast<std::int64_t>(campaign.m_currentDate) + campaign.m_dayOffset);
    entry->m_battleType = ReadBattleType(*m_context, m_battleFile);
    entry->m_result = RatingForRatio(m_ratio);
    entry->m_next = std::move(campaign.m_history);
    campaign.m_history = std::move(entry);
}

void CampaignBattleResult::ApplyUnitResults()
{
    CampaignRecord& campaign = m_context->g_campaign;
    PlatoonRoster roster(campaign.m_force.get(), m_context->PathOf(m_battleFile), campaign.m_commanderUnit);
    m_commanderHit = roster.CommanderHit();
    roster.AddBattleExperience(m_score, m_context->folder);
    roster.WriteRosterBack(false);
}

void CampaignBattleResult::SaveAndRemoveBattle()
{
    CampaignContext& context = *m_context;
    if (std::string error = SaveCampaign(context, context.g_campaign); !error.empty()) {
        Fail(std::move(error), kWriteErrorCaption);
        return;
    }
    ReadCampaignSummary(context, m_campaignFile, context.g_selectedCampaign);
    // The battle's organisation goes with its battle and map.
    for (const std::string& name : { m_battleFile, m_mapFile, m_stem + ".org" })
        RemoveFilesNamedNoCase(context.folder, name);
}

bool ApplyLinkedBattleResult(CampaignBattleResult& result)
{
    CampaignContext& context = *result.m_context;
    const std::string& fileName = result.m_campaignFile;
    auto fail = [&result](std::string text, std::string_view caption) {
        result.Fail(std::move(text), caption);
        return false;
    };
    std::string text;
    if (!ReadText(context, fileName, text))
        return fail(CampaignOpenError(fileName), kCampaignErrorCaption);
    LinkedCampaignHeader header;
    if (std::string error = ReadLinkedCampaignHeader(context, header, text, fileName); !error.empty())
        return fail(std::move(error), kCampaignErrorCaption);
    LinkedCampaignTree tree;
    if (std::string error = tree.Read(context, header.m_definitionFile); !error.empty())
        return fail(std::move(error), kCampaignErrorCaption);
    const LinkedBattleNode* node = tree.FindNode(header.m_currentBattleId);
    if (!node)
        return fail("Battle " + std::to_string(header.m_currentBattleId) + " is not in linked campaign file "
                + header.m_definitionFile,
            kCampaignErrorCaption);

    // Outcomes beyond the five are those at the nearer end.
    const int outcome = std::clamp(result.m_score, -2, 2);
    std::int32_t nextId = header.m_currentBattleId;
    if (header.m_currentBattleId >= 0) {
        nextId = node->NextBattleId(outcome);
        result.m_completed = nextId < 0;
        header.m_currentBattleId = nextId;
    }

    auto entry = std::make_unique<BattleHistoryEntry>();
    entry->m_battleName = node->m_text;
    entry->m_result = outcome;
    entry->m_battleType = ReadBattleType(context, result.m_battleFile);
    const std::int32_t date = ReadScenarioDate(context, node->m_battleFile);
    entry->m_date = date != 0 ? date : header.m_currentDate;
    entry->m_next = std::move(header.m_history);
    header.m_history = std::move(entry);

    PlatoonRoster roster(header.m_force.get(), context.PathOf(result.m_battleFile), context.g_campaign.m_commanderUnit);
    roster.AddBattleExperience(result.m_score, context.folder);
    roster.WriteRosterBack(true);

    if (std::string error = SaveLinkedCampaign(context, header, fileName); !error.empty())
        return fail(std::move(error), kWriteErrorCaption);
    if (result.m_completed)
        if (const LinkedBattleNode* end = tree.FindNode(nextId))
            result.m_endText = end->m_battleFile;

    CampaignRecord& campaign = context.g_campaign;
    campaign.m_force = std::move(header.m_force);
    campaign.m_history = std::move(header.m_history);
    campaign.m_linkedBattleId = header.m_currentBattleId;
    if (campaign.m_force)
        campaign.m_formationName = campaign.m_force->m_name;
    RemoveFilesNamedNoCase(context.folder, result.m_battleFile);
    return true;
}

UnitRecord* PromoteToParentFormation(CampaignRecord& campaign)
{
    UnitRecord* formation = FindUnitById(campaign.m_force.get(), campaign.m_formationId);
    if (!formation || !formation->m_parent)
        return formation;
    UnitRecord& parent = *formation->m_parent;
    campaign.m_formationName = parent.m_name;
    campaign.m_formationId = parent.m_id;
    MoveUnitUnder(parent, campaign.m_commanderUnit);
    return FindUnitById(campaign.m_force.get(), campaign.m_formationId);
}

CampaignBattleOutcome ApplyCampaignBattleResult(
    CampaignContext& context, std::string_view fileName, std::int32_t a, std::int32_t b)
{
    CampaignBattleOutcome outcome;
    const std::size_t dot = fileName.rfind('.');
    const std::string_view stem = fileName.substr(0, dot);
    // The name comes from a command line: only a campaign of this folder.
    if (!IsUsableCampaignName(stem) || TrimRight(TrimLeft(stem)) != stem) {
        outcome.failure = "Not a campaign battle file: " + std::string(fileName);
        outcome.failureCaption = std::string(kCampaignErrorCaption);
        return outcome;
    }
    CampaignBattleResult result(context, stem, a, b);
    if (!result.Apply()) {
        outcome.failure = result.m_failure;
        outcome.failureCaption = result.m_failureCaption;
        return outcome;
    }
    outcome.completed = result.m_completed;
    outcome.commanderHit = result.m_commanderHit;
    outcome.promoted = result.m_promoted;
    outcome.decorated = result.m_decoration != 0;
    outcome.decorationName = result.m_decorationName;
    outcome.largerCommandOffered = result.m_largerCommandOffered;
    outcome.endText = result.m_endText;
    return outcome;
}
