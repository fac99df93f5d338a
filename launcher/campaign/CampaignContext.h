#pragma once
// What the campaign manager keeps between its operations, held in one place:
// the campaign being played and the one shown for selection, the running
// unit number, the number the name templates remember and the briefing map's
// marker; the folder every file name resolves against, the launcher's random
// source and the sink of what is shown in message boxes. The launcher owns
// one; each test builds its own.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "launcher/campaign/CampaignFiles.h"
#include "launcher/campaign/CampaignRecord.h"
#include "launcher/shell/LauncherRandom.h"

struct CampaignContext {
    CampaignContext(std::filesystem::path workingFolder, LauncherRandom& randomSource)
        : folder(std::move(workingFolder))
        , random(&randomSource)
    {
    }
    CampaignContext(const CampaignContext&) = delete;
    CampaignContext& operator=(const CampaignContext&) = delete;

    // The path of a file name in the working folder.
    std::filesystem::path PathOf(std::string_view name) const { return folder / std::string(name); }
    // Shows a message box's text under its caption (nothing without a sink).
    void ShowMessage(std::string_view text, std::string_view caption) const
    {
        if (showMessage)
            showMessage(text, caption);
    }
    // The running unit number, advanced (held below the largest value).
    std::int32_t TakeUnitNumber()
    {
        const std::int32_t number = g_unitCounter;
        if (g_unitCounter < INT32_MAX)
            ++g_unitCounter;
        return number;
    }

    CampaignRecord g_campaign;
    CampaignRecord g_selectedCampaign;
    std::int32_t g_unitCounter = 0;
    // The number the last "$" or "@" name template drew, for "#".
    std::int32_t g_templateNumber = 0;
    std::int32_t g_mapMarkerX = 0;
    std::int32_t g_mapMarkerY = 0;

    std::filesystem::path folder;
    LauncherRandom* random; // observer: the launcher's one source
    std::function<void(std::string_view text, std::string_view caption)> showMessage;
    // Order-of-battle and platoon files are kept between loads while their
    // times stay; off, every load reads them again.
    bool cacheFiles = true;
    CampaignFileCache fileCache;
};

// Gives the player's formation (g_campaign.m_formationId in its force) the
// commander's own unit as its first subunit; false when the formation is not
// in the force.
bool AddCommanderUnit(CampaignContext& context);
