#pragma once
// Units of a campaign force giving way to their later variants (the
// successor lists the order-of-battle files give them) as the date passes.

#include <cstdint>

#include "launcher/campaign/CampaignContext.h"
#include "launcher/campaign/OrderOfBattle.h"

// The unit has successors and the date lies outside its own window.
bool NeedsUpgrade(const UnitRecord& unit, std::int32_t date);

// Puts the first successor whose window holds the date in the unit's place:
// a formation's subunits are loaded for the date, the commander's unit moves
// into the new player's formation (g_campaign.m_formationId, which follows
// an id changed in its last three characters), the platoons take the old
// ones' experience and morale, and the unit is freed with the successors
// before the one taken. False, with nothing changed, for a root, without a
// successor for the date, for one of the same id, when the player's
// formation has no match or the subunits cannot be loaded.
bool UpgradeUnit(CampaignContext& context, const LevelNumberBase& base, UnitRecord& unit, std::int32_t date);

// Upgrades every unit of the tree that needs it; true when any was replaced.
bool UpgradeForceUnits(CampaignContext& context, const LevelNumberBase& base, UnitRecord* root, std::int32_t date);
