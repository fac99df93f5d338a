#include "rules/GameSupply.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "model/Geometry.h"
#include "model/Random.h"

namespace {

constexpr std::uint32_t kUsed = kUnitUsedSinceSupply;

void Set(PlacedUnit& unit, std::uint32_t bit) { unit.m_status |= bit; }
void Clear(PlacedUnit& unit, std::uint32_t bit) { unit.m_status &= ~bit; }

bool FiresIndirectly(const PlacedUnit& unit)
{
    return unit.m_type && (unit.m_type->m_targetFlags & kTargetIndirect) != 0;
}

// Hexes by the level of the commanding node; none for a level outside 1..6.
int RangeOfLevel(int level)
{
    switch (level) {
    case 1:
        return 4;
    case 2:
        return 8;
    case 3:
    case 4:
        return 15;
    case 5:
        return 30;
    case 6:
        return 90;
    default:
        return 0;
    }
}

// Each unit of each hex the side holds, columns outer, rows inner, in stack
// order; a hex where visit changed a unit joins the list once.
template <typename Visit> void ScanSideUnits(CGameData& game, int side, HexList& hexes, Visit visit)
{
    for (int x = 0; x < game.m_stacks.Width(); ++x)
        for (int y = 0; y < game.m_stacks.Height(); ++y) {
            if (game.SideInHex(x, y) != side)
                continue;
            bool changed = false;
            for (PlacedUnit& unit : game.m_stacks.At(x, y))
                changed = visit(unit, x, y) || changed;
            if (changed)
                AppendHexListNodeOnce(hexes, x, y);
        }
}

void AppendCountLine(String& text, int count, const char* one, const char* more)
{
    if (count < 1)
        return;
    text.Append(String(std::to_string(count))).AppendText(count == 1 ? one : more);
}

} // namespace

double CGameSupply::GetAdvantageChance(int side) const
{
    const bool favoured = (side == 0 && m_advantage > 0) || (side == 1 && m_advantage < 0);
    return favoured ? GetAdvantageFraction() : 0.0;
}

bool CGameSupply::SupplyDraw(int side)
{
    const double percent = side == 0 || side == 1 ? m_ammo[side] / 100.0 : 0.0;
    if (UniformRandom() < percent)
        return true;
    return UniformRandom() < GetAdvantageChance(side);
}

int CGameSupply::GetCommandRange(const SupplyEntry& entry) const
{
    const OrgNode* node = entry.unit ? entry.unit->value.GetCommandNode() : nullptr;
    if (!node)
        return 0;
    const int range = RangeOfLevel(node->m_level);
    if (!IsOptionSet(kOptionCommandControl))
        return range;
    std::int64_t leader = 0;
    if (m_stacks.Contains(entry.column, entry.row))
        for (const PlacedUnit& unit : m_stacks.At(entry.column, entry.row))
            if (unit.m_type && unit.m_type->IsLeader() && unit.GetCommandNode() == node)
                leader = std::max<std::int64_t>(leader, unit.m_strength);
    const std::int64_t percent = std::max(0, m_parameters.GetNationPercent(node->GetNation(), m_orgTree.m_battleYear));
    const std::int64_t value = (range + leader) * percent / 100;
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, std::numeric_limits<int>::max()));
}

bool CGameSupply::CanHqSupply(const OrgNode* node, int x, int y, int range)
{
    // The lowest listed headquarters above the node; of equals the first.
    const SupplyEntry* chosen = nullptr;
    const OrgNode* chosenNode = nullptr;
    for (const SupplyEntry& entry : m_supplyList) {
        const OrgNode* hq = entry.unit ? entry.unit->value.GetCommandNode() : nullptr;
        if (!node || !hq || hq == node || !hq->IsAncestorOf(node))
            continue;
        if (!chosen || (chosenNode != hq && chosenNode->IsAncestorOf(hq))) {
            chosen = &entry;
            chosenNode = hq;
        }
    }
    if (!chosen || HasStatus(chosen->unit->value, kUnitUnavailable))
        return false;
    if (range <= 0)
        return true;
    const double distance = HexDistance(x, y, chosen->column, chosen->row);
    double chance = range / (range + distance);
    if (HasStatus(chosen->unit->value, kUnitDisrupted))
        chance /= 2.0;
    if (UniformRandom() < chance)
        return true;
    return UniformRandom() < GetAdvantageChance(node->GetSide());
}

bool CGameSupply::UpdateHeadquarter(SupplyEntry& entry)
{
    PlacedUnit& unit = entry.unit->value;
    const int range = GetCommandRange(entry);
    if (HasStatus(unit, kUsed)) {
        Clear(unit, kUsed);
        if (HasStatus(unit, kUnitUnavailable))
            return false;
        Set(unit, kUnitUnavailable);
        return true;
    }
    const bool supplied
        = SupplyDraw(m_map.GetSide()) || CanHqSupply(unit.GetCommandNode(), entry.column, entry.row, range);
    if (HasStatus(unit, kUnitUnavailable) != supplied)
        return false;
    if (supplied)
        Clear(unit, kUnitUnavailable);
    else
        Set(unit, kUnitUnavailable);
    return true;
}

int CGameSupply::UpdateHeadquarters(HexList& hexes)
{
    m_supplyList.Free();
    const int side = m_map.GetSide();
    for (int x = 0; x < m_stacks.Width(); ++x)
        for (int y = 0; y < m_stacks.Height(); ++y) {
            if (SideInHex(x, y) != side)
                continue;
            for (UnitNode* node = m_stacks.At(x, y).Head(); node; node = node->next)
                if (node->value.m_type && node->value.m_type->IsArtillery())
                    m_supplyList.Append(SupplyEntry { node, x, y });
        }
    // Superiors first, so that a headquarters supplies its subordinates with
    // this turn's state; companies' headquarters are not decided here.
    for (int level = 7; level >= 2; --level)
        for (SupplyEntry& entry : m_supplyList) {
            const OrgNode* node = entry.unit->value.GetCommandNode();
            if (node && node->m_level == level && UpdateHeadquarter(entry))
                AppendHexListNodeOnce(hexes, entry.column, entry.row);
        }
    int unable = 0;
    for (const SupplyEntry& entry : m_supplyList)
        unable += HasStatus(entry.unit->value, kUnitUnavailable) ? 1 : 0;
    return unable;
}

bool CGameSupply::CanResupply(const PlacedUnit& unit, int x, int y)
{
    return !HasStatus(unit, kUnitIsolated) && CanHqSupply(unit.GetCommandNode(), x, y, kAmmunitionRange);
}

bool CGameSupply::DrawIfConnected(const PlacedUnit& unit)
{
    return !HasStatus(unit, kUnitIsolated) && SupplyDraw(m_map.GetSide());
}

bool CGameSupply::UpdateUnitAmmunition(PlacedUnit& unit, int x, int y, int& low)
{
    if (!unit.m_type || FiresIndirectly(unit))
        return false;
    if (HasStatus(unit, kUnitLowAmmo)) {
        Clear(unit, kUsed);
        if (CanResupply(unit, x, y)) {
            Clear(unit, kUnitLowAmmo);
            return true;
        }
        ++low;
        return false;
    }
    if (!HasStatus(unit, kUsed))
        return false;
    Clear(unit, kUsed);
    // A leader draws like any unit but never runs low.
    if (SupplyDraw(m_map.GetSide()) || CanResupply(unit, x, y) || unit.m_type->IsLeader())
        return false;
    Set(unit, kUnitLowAmmo);
    ++low;
    return true;
}

bool CGameSupply::UpdateUnitArtillery(PlacedUnit& unit, int& unavailable)
{
    if (!FiresIndirectly(unit))
        return false;
    if (HasStatus(unit, kUsed)) {
        Clear(unit, kUsed);
        if (DrawIfConnected(unit))
            return false;
        Set(unit, kUnitUnavailable);
        ++unavailable;
        return true;
    }
    if (!HasStatus(unit, kUnitUnavailable))
        return false;
    if (DrawIfConnected(unit)) {
        Clear(unit, kUnitUnavailable);
        return true;
    }
    ++unavailable;
    return false;
}

int CGameSupply::UpdateAmmunition(HexList& hexes)
{
    int low = 0;
    ScanSideUnits(*this, m_map.GetSide(), hexes,
        [&](PlacedUnit& unit, int x, int y) { return UpdateUnitAmmunition(unit, x, y, low); });
    return low;
}

int CGameSupply::UpdateArtillery(HexList& hexes)
{
    int unavailable = 0;
    ScanSideUnits(*this, m_map.GetSide(), hexes,
        [&](PlacedUnit& unit, int, int) { return UpdateUnitArtillery(unit, unavailable); });
    return unavailable;
}

int CGameSupply::UpdateOffMapArtillery(std::vector<int>& offMapChanges)
{
    int unavailable = 0;
    int position = 0;
    const int side = m_map.GetSide();
    for (OffMapUnit& entry : m_offMapUnits) {
        ++position; // both sides' entries count, as the other machine's list
        PlacedUnit& unit = entry.unit;
        if (!unit.m_type || unit.m_type->GetSide() != side)
            continue;
        if (HasStatus(unit, kUsed)) {
            Clear(unit, kUsed);
            if (!SupplyDraw(side)) {
                if (!HasStatus(unit, kUnitUnavailable))
                    offMapChanges.push_back(position);
                Set(unit, kUnitUnavailable);
                ++unavailable;
            }
        } else if (HasStatus(unit, kUnitUnavailable)) {
            if (SupplyDraw(side)) {
                Clear(unit, kUnitUnavailable);
                offMapChanges.push_back(position);
            } else {
                ++unavailable;
            }
        }
    }
    return unavailable;
}

void CGameSupply::CheckSupply(String& text, HexList& hexes, std::vector<int>& offMapChanges)
{
    const int unableHeadquarters = UpdateHeadquarters(hexes);
    const int lowUnits = UpdateAmmunition(hexes);
    int unavailable = UpdateArtillery(hexes);
    unavailable += UpdateOffMapArtillery(offMapChanges);
    String report;
    AppendCountLine(report, unableHeadquarters, kHqUnableLine, kHqsUnableLine);
    AppendCountLine(report, unavailable, kArtilleryUnavailableLine, kArtilleryUnitsUnavailableLine);
    AppendCountLine(report, lowUnits, kLowAmmoLine, kUnitsLowAmmoLine);
    text = report;
}
