#include "launcher/campaign/ForceUpgrade.h"

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "launcher/campaign/CampaignDates.h"
#include "launcher/campaign/PlatoonRoster.h"
#include "model/TextScan.h"

namespace {

// Depth first through the unit and its subunits, never the unit's own
// siblings: the first node the predicate accepts.
template <typename Predicate> UnitRecord* FindInSubtree(UnitRecord& top, Predicate accept)
{
    std::vector<UnitRecord*> stack { &top };
    while (!stack.empty()) {
        UnitRecord* unit = stack.back();
        stack.pop_back();
        if (accept(*unit))
            return unit;
        if (unit != &top && unit->m_nextSibling)
            stack.push_back(unit->m_nextSibling.get());
        if (unit->m_firstChild)
            stack.push_back(unit->m_firstChild.get());
    }
    return nullptr;
}

// The same id but for its last three characters (an id longer than three).
bool IsRenumberedId(std::string_view id, std::string_view wanted)
{
    return id.size() == wanted.size() && id.size() > 3
        && id.substr(0, id.size() - 3) == wanted.substr(0, id.size() - 3);
}

// Drops the subunits attached after `keptLast` (all of them when null).
void DropChildrenAfter(UnitRecord& unit, UnitRecord* keptLast)
{
    if (keptLast) {
        keptLast->m_nextSibling.reset();
        unit.m_lastChild = keptLast;
    } else {
        unit.m_firstChild.reset();
        unit.m_lastChild = nullptr;
    }
}

// The link that owns the unit: its parent's first-subunit link or its
// previous sibling's next link.
std::unique_ptr<UnitRecord>* OwningLink(UnitRecord& unit)
{
    UnitRecord* parent = unit.m_parent;
    if (!parent)
        return nullptr;
    for (std::unique_ptr<UnitRecord>* link = &parent->m_firstChild; *link; link = &(*link)->m_nextSibling)
        if (link->get() == &unit)
            return link;
    return nullptr;
}

// The node now in the unit's place, or null when nothing changed.
UnitRecord* ReplaceUnit(CampaignContext& context, const LevelNumberBase& base, UnitRecord& unit, std::int32_t date)
{
    std::unique_ptr<UnitRecord>* owner = OwningLink(unit);
    if (!owner)
        return nullptr; // the root stays, before anything is loaded or moved
    std::unique_ptr<UnitRecord>* link = &unit.m_nextSuccessor;
    while (*link && !IsDateInWindow(date, (*link)->m_availableFrom, (*link)->m_availableTo))
        link = &(*link)->m_nextSuccessor;
    if (!*link || (*link)->m_id == unit.m_id)
        return nullptr;
    UnitRecord& successor = **link;

    const std::int32_t keptTemplateNumber = context.g_templateNumber;
    UnitRecord* const keptLast = successor.m_lastChild;
    const std::int32_t keptSize = successor.m_size;
    const bool formation = successor.m_id.empty() || successor.m_id.front() != 'P';
    const auto undo = [&] {
        context.g_templateNumber = keptTemplateNumber;
        if (formation) {
            DropChildrenAfter(successor, keptLast);
            successor.m_size = keptSize;
        }
    };
    if (formation) {
        std::string_view name = unit.m_name;
        std::int32_t number = 0;
        if (TakeInt(name, number))
            context.g_templateNumber = number;
        if (LoadFormationChildren(context, base, successor, date) < 0) {
            undo();
            return nullptr;
        }
    }

    // The commander's unit and the formation that takes it.
    std::string& formationId = context.g_campaign.m_formationId;
    UnitRecord* const playerFormation
        = FindInSubtree(unit, [&](const UnitRecord& node) { return node.m_id == formationId; });
    UnitRecord* target = nullptr;
    if (playerFormation && playerFormation->m_firstChild) {
        target = FindInSubtree(successor, [&](const UnitRecord& node) { return node.m_id == formationId; });
        if (!target)
            target = FindInSubtree(
                successor, [&](const UnitRecord& node) { return IsRenumberedId(node.m_id, formationId); });
        if (!target) {
            undo();
            return nullptr;
        }
    }

    // Experience and morale carried over while the commander's unit is still
    // in the old subtree, so that it keeps its own.
    const PlatoonRoster roster(&unit, RosterMode::kAllUnits, false, true);
    CopyExperienceToPlatoons(roster, &successor);

    if (target) {
        std::unique_ptr<UnitRecord> commander = std::move(playerFormation->m_firstChild);
        playerFormation->m_firstChild = std::move(commander->m_nextSibling);
        if (playerFormation->m_lastChild == commander.get())
            playerFormation->m_lastChild = nullptr;
        commander->m_parent = target;
        commander->m_nextSibling = std::move(target->m_firstChild);
        if (!target->m_lastChild)
            target->m_lastChild = commander.get();
        target->m_firstChild = std::move(commander);
        formationId = target->m_id;
    }

    std::unique_ptr<UnitRecord> taken = std::move(*link);
    UnitRecord* const parent = unit.m_parent;
    taken->m_parent = parent;
    taken->m_nextSibling = std::move(unit.m_nextSibling);
    if (parent->m_lastChild == &unit)
        parent->m_lastChild = taken.get();
    UnitRecord* const placed = taken.get();
    *owner = std::move(taken); // frees the unit and the successors before
    return placed;
}

} // namespace

bool NeedsUpgrade(const UnitRecord& unit, std::int32_t date)
{
    return unit.m_nextSuccessor && !IsDateInWindow(date, unit.m_availableFrom, unit.m_availableTo);
}

bool UpgradeUnit(CampaignContext& context, const LevelNumberBase& base, UnitRecord& unit, std::int32_t date)
{
    return ReplaceUnit(context, base, unit, date) != nullptr;
}

bool UpgradeForceUnits(CampaignContext& context, const LevelNumberBase& base, UnitRecord* root, std::int32_t date)
{
    bool changed = false;
    std::vector<UnitRecord*> stack;
    if (root)
        stack.push_back(root);
    while (!stack.empty()) {
        UnitRecord* unit = stack.back();
        stack.pop_back();
        if (NeedsUpgrade(*unit, date))
            if (UnitRecord* placed = ReplaceUnit(context, base, *unit, date)) {
                changed = true;
                unit = placed; // the old unit and its subtree are gone
            }
        // The sibling's subtree before the subunits': pushed last.
        if (unit->m_firstChild)
            stack.push_back(unit->m_firstChild.get());
        if (unit->m_nextSibling)
            stack.push_back(unit->m_nextSibling.get());
    }
    return changed;
}
