#include "launcher/campaign/CommanderFate.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <span>

#include "launcher/campaign/CampaignDates.h"
#include "launcher/campaign/CampaignFile.h"
#include "model/DataFile.h"
#include "model/TextScan.h"

namespace {

constexpr int kCapturedBelow = 21;
constexpr int kKilledBelow = 41;
constexpr std::int16_t kMostWoundMonths = 3;

std::string NationFileName(const char* stem, int nation, const char* extension)
{
    return stem + std::to_string(nation) + extension;
}

} // namespace

CommanderFate ChooseCommanderFate(CampaignContext& context)
{
    CampaignRecord& campaign = context.g_campaign;
    LauncherRandom& random = *context.random;
    random.SeedRandom();
    const int roll = random.RollRandom(100);
    CommanderFate fate;
    if (roll < kCapturedBelow) {
        fate.outcome = FateOutcome::kCaptured;
        fate.picture = NationFileName("Capture", campaign.m_nation, ".bmp");
        campaign.m_endDate = campaign.m_currentDate;
    } else if (roll < kKilledBelow) {
        fate.outcome = FateOutcome::kKilled;
        fate.picture = NationFileName("Dead", campaign.m_nation, ".bmp");
        campaign.m_endDate = campaign.m_currentDate;
    } else {
        fate.outcome = FateOutcome::kWounded;
        fate.picture = NationFileName("Wound", campaign.m_nation, ".bmp");
        // Whole months, the year carried: a November wound heals next year.
        campaign.m_currentDate = AddMonthsToDateKey(campaign.m_currentDate, random.RollRandom(kMostWoundMonths));
    }
    fate.saveError = SaveCampaign(context, campaign);
    LoadFateText(context, fate.outcome, fate.text);
    return fate;
}

std::string FatePictureName(const CampaignRecord& campaign)
{
    if (campaign.m_linked) {
        const std::string& definition = campaign.m_regionPrefix;
        return definition.substr(0, definition.size() >= 4 ? definition.size() - 4 : 0) + "_endgame.bmp";
    }
    return NationFileName("Promotion", campaign.m_nation, ".bmp");
}

void LoadFateText(CampaignContext& context, FateOutcome outcome, std::string& text)
{
    const CampaignRecord& campaign = context.g_campaign;
    std::string file;
    if (ReadDataFileText(context.PathOf(NationFileName("wound", campaign.m_nation, ".dat")).string(), file)
        != DataFileRead::kRead)
        return;
    LineReader reader(std::span<char>(file.data(), file.size()));
    std::string_view line;
    for (int section = 0; section < static_cast<int>(outcome); ++section)
        do {
            if (!reader.Next(line))
                return;
        } while (!line.starts_with("-1"));

    std::int32_t count = 0;
    if (!reader.NextNonBlank(line) || !TakeInt(line, count) || count < 1)
        return;
    // The draw takes at most the random source's count.
    const int wanted = context.random->RollRandom(static_cast<std::int16_t>(std::min<std::int32_t>(count, INT16_MAX)));
    for (int taken = 0; taken < wanted; ++taken)
        if (!reader.NextNonBlank(line) || line.starts_with("-1"))
            return; // fewer texts than the draw
    text = SubstituteFatePlaceholders(line, GetRankName(campaign.m_nation, campaign.m_rank), campaign.m_name);
}

std::string SubstituteFatePlaceholders(std::string_view text, std::string_view rankName, std::string_view name)
{
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        if (c == '$')
            result += rankName;
        else if (c == '%')
            result += name;
        else
            result += c;
    }
    return result;
}

std::string ReplaceCharWithText(std::string_view text, std::size_t position, std::string_view replacement)
{
    if (position >= text.size())
        return std::string(text);
    std::string result(text.substr(0, position));
    result += replacement;
    result += text.substr(position + 1);
    return result;
}
