#pragma once
// The commander's fate after a battle that hit him, and the picture and text
// the fate screen shows. The screen wraps the text and draws; everything it
// decides is here, so the fate is rolled, applied and saved without it.
//
// "wound<nation>.dat" holds three sections, wounded, captured and killed,
// each ended by a line beginning with "-1": a line with the number of texts,
// then the texts, one a line (blank lines are passed over). In a text "$"
// stands for the commander's rank and "%" for his name.

#include <cstddef>
#include <string>
#include <string_view>

#include "launcher/campaign/CampaignContext.h"
#include "launcher/campaign/CampaignRecord.h"

enum class FateOutcome { kWounded = 0, kCaptured = 1, kKilled = 2 };

struct CommanderFate {
    FateOutcome outcome = FateOutcome::kWounded;
    std::string picture; // "Wound%d.bmp", "Capture%d.bmp" or "Dead%d.bmp"
    std::string text; // one line, for the screen to wrap
    // Empty when the campaign was saved; else the error, for "Write Error".
    std::string saveError;
};

// Rolls the fate of context.g_campaign's commander (the random source seeded
// from its clock first): 1..20 captured, 21..40 killed, else wounded. A wound
// moves the current date on by one to three whole months; capture or death
// ends the campaign at its current date. The campaign is saved at once.
CommanderFate ChooseCommanderFate(CampaignContext& context);

// The picture when the commander was not hit: a linked campaign's
// "<definition stem>_endgame.bmp", a single one's "Promotion<nation>.bmp".
std::string FatePictureName(const CampaignRecord& campaign);

// Replaces the text by one of the outcome's texts, drawn at random, with its
// placeholders filled from context.g_campaign. Left as it was without the
// file, or when the section is missing, has a count below 1 or fewer texts
// than the draw.
void LoadFateText(CampaignContext& context, FateOutcome outcome, std::string& text);

// "$" becomes the rank's name and "%" the name, in one pass: what is put in
// is not scanned again.
std::string SubstituteFatePlaceholders(std::string_view text, std::string_view rankName, std::string_view name);

// The text with the character at the position replaced by the replacement;
// the text as it is for a position past its end.
std::string ReplaceCharWithText(std::string_view text, std::size_t position, std::string_view replacement);
