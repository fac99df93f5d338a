#include "launcher/campaign/CampaignContext.h"

#include <cstdio>
#include <memory>

bool AddCommanderUnit(CampaignContext& context)
{
    CampaignRecord& campaign = context.g_campaign;
    UnitRecord* const formation = FindUnitById(campaign.m_force.get(), campaign.m_formationId);
    if (!formation)
        return false;
    // A formation without subunits counts as one whose first subunit has no
    // type flags.
    const std::int32_t flags = formation->m_firstChild ? formation->m_firstChild->m_oobValues[0] : 0;
    const int typeDigit = campaign.m_arm != 0 && (flags & 0x11) == 0 ? 1 : 6;
    const std::string& id = campaign.m_formationId;
    auto unit = std::make_unique<UnitRecord>();
    char text[16];
    std::snprintf(text, sizeof text, "P%c%c40%1d", id.size() > 1 ? id[1] : '0', id.size() > 2 ? id[2] : '0', typeDigit);
    unit->m_id = text;
    const std::int32_t number = CommanderUnitNumber(context.g_unitCounter, campaign.m_portrait);
    unit->m_number = number;
    campaign.m_commanderUnit = number;
    context.g_unitCounter = number + 1;
    unit->m_name = campaign.m_name;
    unit->m_leader = campaign.m_name;
    unit->m_strength = 1;
    unit->m_fullStrength = 1;
    unit->m_size = 1;
    unit->m_morale = 7;
    unit->m_availableFrom = 0;
    unit->m_availableTo = 0;
    unit->m_role = 1;
    unit->m_parent = formation;
    unit->m_nextSibling = std::move(formation->m_firstChild);
    if (!formation->m_lastChild)
        formation->m_lastChild = unit.get();
    formation->m_firstChild = std::move(unit);
    return true;
}
