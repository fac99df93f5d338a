#include "launcher/campaign/CampaignNames.h"

#include <string>

#include "launcher/campaign/CampaignRecord.h"
#include "model/TextScan.h"

namespace {

constexpr std::size_t kMaxCampaignName = 64;

bool IsLetterOrDigit(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsDigitChar(c); }

} // namespace

bool IsUsableCampaignName(std::string_view name)
{
    name = TrimRight(TrimLeft(name));
    if (name.empty() || name.size() > kMaxCampaignName || !IsLetterOrDigit(name.front()))
        return false;
    for (const char c : name)
        if (!IsLetterOrDigit(c) && c != ' ' && c != '\'' && c != '-' && c != '_' && c != '.')
            return false;
    return true;
}

bool IsCampaignNameInUse(const CampaignContext& context, std::string_view name)
{
    const std::string stem(TrimRight(TrimLeft(name)));
    return FileExists(context.folder, stem + ".ccd") || FileExists(context.folder, stem + ".ccl");
}
