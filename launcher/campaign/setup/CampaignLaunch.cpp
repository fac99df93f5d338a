#include "launcher/campaign/setup/CampaignLaunch.h"

#include "launcher/campaign/BattleResult.h"
#include "launcher/campaign/NationTables.h"
#include "model/DataFile.h"
#include "model/TextScan.h"

namespace {

ProgramArguments CampaignArguments(const CampaignRecord& campaign, const char* flag)
{
    ProgramArguments command;
    command.program = kMainProgramName;
    command.arguments = { "-k", std::to_string(GetNationSide(campaign.m_nation)),
        std::to_string(campaign.m_commanderUnit), std::to_string(campaign.m_generatorValue) };
    if (flag)
        command.arguments.emplace_back(flag);
    command.arguments.push_back(campaign.m_name + ".cpn");
    return command;
}

} // namespace

ProgramArguments StartCampaignBattle(CampaignContext& context)
{
    const CampaignRecord& campaign = context.g_campaign;
    const bool hidden = campaign.m_linked == 0 && context.random->RollRandom(100) <= 10;
    return CampaignArguments(campaign, hidden ? "-n" : nullptr);
}

bool IsSavedCampaignBattle(const CampaignContext& context, const std::string& battleFile)
{
    std::string text;
    if (ReadDataFileText(context.PathOf(battleFile).string(), text) != DataFileRead::kRead)
        return false;
    std::string_view rest = text;
    std::int32_t version = 0;
    return TakeInt(rest, version) && version != 1;
}

ProgramArguments ContinueCampaignBattle(CampaignContext& context)
{
    if (!IsSavedCampaignBattle(context, context.g_campaign.m_name + ".cpn"))
        return StartCampaignBattle(context);
    return CampaignArguments(context.g_campaign, "-o");
}

std::string UndoCampaignBattle(CampaignContext& context)
{
    std::string error = context.g_campaign.RestoreBackup(context);
    if (!error.empty())
        context.ShowMessage(error, kCampaignErrorCaption);
    return error;
}
