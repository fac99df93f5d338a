#pragma once
// Starting the main program on a campaign's battle: the program and its
// arguments as a list, which the screens hand to the platform's process
// launcher (the launcher then ends). "-k" carries the player's side, the
// commander's unit number and the A/I level; the battle file "<name>.cpn"
// comes last.

#include <string>
#include <vector>

#include "launcher/campaign/CampaignContext.h"

struct ProgramArguments {
    std::string program;
    std::vector<std::string> arguments;
};

inline constexpr const char* kMainProgramName = "vl";

// The briefing's start of the battle set up for context.g_campaign: a single
// campaign adds "-n" when a roll of 1..100 is 10 or less; a linked campaign
// draws nothing and never gets it.
ProgramArguments StartCampaignBattle(CampaignContext& context);

// The status screen's restart of the pending battle: "-o" when the pending
// file is a battle the main program saved (its first line is not 1); a
// scenario it never saved starts as the briefing starts it.
ProgramArguments ContinueCampaignBattle(CampaignContext& context);

// The pending file holds a battle the main program saved: its first number
// is readable and not 1.
bool IsSavedCampaignBattle(const CampaignContext& context, const std::string& battleFile);

// Undo: the backup replaces the campaign file, the battle set up with it is
// deleted and the campaign read again. Empty when done (or when there was no
// backup); else the reason, shown under "Campaign Error", nothing changed.
std::string UndoCampaignBattle(CampaignContext& context);
