#pragma once
// A linked campaign's next battle: the chain's ready-made battle file copied
// to the campaign's ".cpn" with the force's strengths and morale written into
// its unit lines, and its briefing read from the lines after the battle.

#include <cstdint>
#include <string>
#include <string_view>

#include "launcher/campaign/CampaignContext.h"
#include "launcher/campaign/CampaignRecord.h"
#include "launcher/campaign/PlatoonRoster.h"

// Sets m_role of the unit, of every unit below it and of every unit after
// it to 0.
void ClearBattleSelection(UnitRecord* unit);

enum class LinePatch {
    kUnchanged, // not every number read, or the unit is not in the force
    kRewritten,
    kDropped, // the unit has no strength left: the line leaves the battle
};

// A unit line of twelve numbers (tag 0 first; the fifth the unit number, the
// eighth the strength, the tenth the morale, anything after the twelfth is
// dropped): for a unit of the force, the twelve again with the unit's
// strength and morale, then " 3 3 3"; emptied for a unit of strength 0.
LinePatch PatchBattleUnitLine(std::string& line, const UnitRecord* force);
// A group member's line of nine numbers (the second the unit number, the
// fifth the strength, the seventh the morale): four blanks, the nine with a
// force unit's strength (1 for none left) and morale, then " 3 3 3".
LinePatch PatchBattleSubunitLine(std::string& line, const UnitRecord* force);

// Copies the battle file to the destination (any letter case of either name
// is found): the head's twelve lines as they are, then up to and with the
// "-1" line the unit lines and the group members' lines patched from the
// force (dropped lines not written; blank lines kept), then the rest as it
// is, so that a copy of the copy is the copy again. Empty when the
// copy was written whole; else the reason, and the destination untouched.
std::string CopyLinkedBattleFile(
    const CampaignContext& context, std::string_view source, std::string_view destination, const UnitRecord* force);

// The briefing of a ready-made battle: its lines after the four that follow
// the "-1" line, joined with one blank; empty when the file cannot be read.
std::string ReadLinkedBriefing(const CampaignContext& context, std::string_view battleFile);

struct LinkedBattlePreparation {
    bool prepared = false;
    std::string briefing; // for the briefing screen to wrap
};

// The next battle of the linked campaign in context.g_campaign: its node's
// replacement points offered to the chooser (commander units left out), the
// battle copied to "<name>.cpn", the map marker set and the briefing read.
// A definition that cannot be read, a battle id it lacks or a battle that
// cannot be copied shows its message under "Campaign Error" and prepares
// nothing.
LinkedBattlePreparation PrepareLinkedCampaignBattle(CampaignContext& context, const ReplacementChooser& chooser);
