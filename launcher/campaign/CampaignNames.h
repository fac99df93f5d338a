#pragma once
// Campaign names. A name is the stem of every file of its campaign and the
// last argument of the main program's command line, so it may hold no path
// separator, no control or wildcard character and no leading '-'.

#include <string_view>

#include "launcher/campaign/CampaignContext.h"

// After its blanks are trimmed: 1 to 64 characters of letters, digits, blank,
// apostrophe, '-', '_' and '.', beginning with a letter or a digit.
bool IsUsableCampaignName(std::string_view name);

// A single (".ccd") or linked (".ccl") campaign of that stem exists, in any
// letter case: the two kinds share their ".cpn" and ".ccx" files.
bool IsCampaignNameInUse(const CampaignContext& context, std::string_view name);
