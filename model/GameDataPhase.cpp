// The battle data at a phase change: per-phase marks and status bits are
// cleared, action points refilled, and reinforcements and held formations
// drawn for the side now to move.

#include <cstdint>
#include <sstream>
#include <vector>

#include "model/GameData.h"
#include "model/OrgTree.h"
#include "model/PlatoonType.h"
#include "model/Random.h"

namespace {

constexpr int kPhaseInitial = 0;
constexpr int kPhaseFinal = 2;
constexpr int kFullActionPoints = 100;

constexpr const char* kReinforcementsText = "* Reinforcements have arrived *\n";
constexpr const char* kReleasedText = "* Units that have been released *\n";

int UnitSide(const PlacedUnit& unit) { return unit.m_type ? unit.m_type->GetSide() : -1; }

void ClearStatus(PlacedUnit& unit, std::uint32_t bits) { unit.m_status &= ~bits; }

} // namespace

bool CGameData::AdvancePhase(int timeStep)
{
    m_phaseBytes.Fill(0);
    const bool threePhase = IsOptionSet(kOptionThreePhase);
    if (m_map.IsOver(m_firstSide, timeStep, threePhase))
        return false;
    m_map.Advance(m_firstSide, timeStep, threePhase);
    const int side = m_map.GetSide();
    const int phase = m_map.GetPhase();

    auto forEachMapUnit = [this](auto&& visit) {
        for (int c = 0; c < m_stacks.Width(); ++c)
            for (int r = 0; r < m_stacks.Height(); ++r)
                for (PlacedUnit& unit : m_stacks.At(c, r))
                    visit(unit, c, r);
    };

    forEachMapUnit([&](PlacedUnit& unit, int, int) {
        if (UnitSide(unit) == side) {
            const bool refill = phase == kPhaseInitial || (phase == kPhaseFinal && unit.m_type->IsVehicle());
            unit.m_actionPoints = refill ? kFullActionPoints : 0;
        } else {
            ClearStatus(unit, kUnitSavedForFiring | kUnitSavedForUnloading);
        }
    });
    for (OffMapUnit& offMap : m_offMapUnits)
        offMap.unit.m_actionPoints = kFullActionPoints;

    if (phase == kPhaseInitial) {
        forEachMapUnit([&](PlacedUnit& unit, int, int) {
            const bool artilleryMoved = unit.m_type && unit.m_type->IsArtillery() && (unit.m_status & kUnitMoved) != 0;
            if ((unit.m_status & kUnitFired) != 0 || artilleryMoved)
                unit.m_status |= kUnitUsedSinceSupply;
            ClearStatus(unit, kUnitFired | kUnitUnloaded);
            if (UnitSide(unit) != side)
                return;
            ClearStatus(unit, kUnitBanzai | kUnitTriedBanzai);
            // Double time this turn leaves the unit fatigued for the next.
            if ((unit.m_status & kUnitDoubleTime) != 0)
                ClearStatus(unit, kUnitDoubleTime);
            else
                ClearStatus(unit, kUnitFatigued);
        });
        for (OffMapUnit& offMap : m_offMapUnits) {
            PlacedUnit& unit = offMap.unit;
            if (UnitSide(unit) == side && (unit.m_status & kUnitFired) != 0) {
                unit.m_status |= kUnitUnavailable;
                ClearStatus(unit, kUnitFired);
            }
        }
        forEachMapUnit([&](PlacedUnit& unit, int c, int r) {
            if (SideInHex(c, r) == side)
                ClearStatus(unit, kUnitMoved);
        });
    }

    forEachMapUnit([](PlacedUnit& unit, int, int) { ClearStatus(unit, kUnitAssaulted); });
    for (OffMapUnit& offMap : m_offMapUnits)
        ClearStatus(offMap.unit, kUnitAssaulted);
    return true;
}

bool CGameData::IsReinforcementDue() const
{
    for (const ReinforcementGroup& group : m_reinforcements)
        if (IsReinforcementGroupDue(group))
            return true;
    return false;
}

bool CGameData::IsReinforcementGroupDue(const ReinforcementGroup& group) const
{
    return m_map.GetPhase() == kPhaseInitial && group.GetSide() == m_map.GetSide() && group.m_time <= m_map.GetCounter()
        && group.m_chance == 100;
}

void CGameData::RollReinforcementArrivals(String& text, std::vector<int>& groups)
{
    text = String();
    bool arrived = false;
    int index = 0;
    for (ReinforcementGroup& group : m_reinforcements) {
        if (group.m_time <= m_map.GetCounter() && group.GetSide() == m_map.GetSide()
            && UniformRandom() < group.m_chance / 100.0) {
            groups.push_back(index);
            // It stays due until it is placed.
            group.m_chance = 100;
            arrived = true;
        }
        ++index;
    }
    if (arrived)
        text = kReinforcementsText;
}

void CGameData::ReleaseUnits(String& text, std::vector<int>& positions, HexList& hexes)
{
    text = String();
    std::vector<const OrgNode*> released;
    String names;
    // Positions are counted in the list as it shrinks, so that the other
    // machine removing the same positions in turn removes the same records.
    int position = 1;
    for (ReleaseList::Node* node = m_releases.Head(); node;) {
        const ReleaseRecord& record = node->value;
        if (record.time <= m_map.GetCounter() && record.node && record.node->GetSide() == m_map.GetSide()
            && UniformRandom() < record.chance / 100.0) {
            names.Append(record.node->m_nodeName);
            names.AppendText("\n");
            positions.push_back(position);
            released.push_back(record.node);
            node = m_releases.Remove(node);
        } else {
            ++position;
            node = node->next;
        }
    }
    if (released.empty())
        return;
    for (int c = 0; c < m_stacks.Width(); ++c) {
        for (int r = 0; r < m_stacks.Height(); ++r) {
            for (PlacedUnit& unit : m_stacks.At(c, r)) {
                if (!unit.m_node)
                    continue;
                for (const OrgNode* formation : released) {
                    if (formation->IsAncestorOf(unit.m_node)) {
                        ClearStatus(unit, kUnitFixed);
                        AppendHexListNodeOnce(hexes, c, r);
                        break;
                    }
                }
            }
        }
    }
    text = kReleasedText;
    text.Append(names);
}

void CGameData::GetAirStrikesText(String& text) const
{
    text = String();
    if (IsOptionSet(kOptionThreePhase)) {
        const bool finalPhaseStrikes = IsOptionSet(kOptionAirInFinalPhase);
        const int phase = m_map.GetPhase();
        if (phase != (finalPhaseStrikes ? kPhaseFinal : kPhaseInitial))
            return;
    }
    const int side = m_map.GetSide();
    if (side != 0 && side != 1)
        return;
    const int left = m_airPower[side];
    if (left < 1)
        return;
    std::ostringstream out;
    out << left << (left == 1 ? " air strike remaining\n" : " air strikes remaining\n");
    text = String::StringFromStream(out);
}

void CGameData::ExpireMarks(HexList& hexes)
{
    const int side = m_map.GetSide();
    for (int c = 0; c < m_smokeMark.Width(); ++c) {
        for (int r = 0; r < m_smokeMark.Height(); ++r) {
            bool cleared = false;
            if (m_smokeMark.At(c, r) == side) {
                m_smokeMark.At(c, r) = -1;
                if (m_hexFlags.Contains(c, r))
                    m_hexFlags.At(c, r) &= ~kHexSmoke;
                cleared = true;
            }
            for (HexGrid<int>* marks : { &m_fireMark, &m_starshellMark }) {
                if (marks->Contains(c, r) && marks->At(c, r) == side) {
                    marks->At(c, r) = -1;
                    cleared = true;
                }
            }
            if (cleared)
                AppendHexListNodeOnce(hexes, c, r);
        }
    }
}

void CGameData::BuildArrivalReport(String& text, HexList& hexes, std::vector<int>& groups, std::vector<int>& releases)
{
    text = String();
    if (m_map.GetPhase() == kPhaseInitial) {
        ExpireMarks(hexes);
        String part;
        RollReinforcementArrivals(part, groups);
        text.Append(part);
        ReleaseUnits(part, releases, hexes);
        text.Append(part);
    }
    String air;
    GetAirStrikesText(air);
    text.Append(air);
}
