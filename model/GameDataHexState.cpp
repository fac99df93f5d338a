// The per-hex grids of the battle-data layer and the small operations the
// rules, the map view and the computer opponent call on them.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "model/GameData.h"
#include "model/Geometry.h"
#include "model/IntRange.h"
#include "model/Random.h"

int CGameData::GetWreckValue(int x, int y) const
{
    return m_wrecks.Contains(x, y) ? m_wrecks.At(x, y) & kWreckCountMask : 0;
}

bool CGameData::IsWreckBurning(int x, int y) const
{
    return m_wrecks.Contains(x, y) && (m_wrecks.At(x, y) & kWreckBurning) != 0;
}

void CGameData::AddWreck(int x, int y, int value, bool flag)
{
    if (!m_wrecks.Contains(x, y) || IsOpenWater(x, y))
        return;
    int& word = m_wrecks.At(x, y);
    // The count must never spill into the flag bit.
    const std::int64_t count
        = std::clamp<std::int64_t>(static_cast<std::int64_t>(word & kWreckCountMask) + value, 0, kWreckCountMask);
    word = (word & kWreckBurning) | static_cast<int>(count);
    if (flag)
        word |= kWreckBurning;
}

bool CGameData::IsOpenWater(int x, int y) const
{
    if (!m_map.IsOnMap(x, y))
        return false;
    return GetEffectiveTerrain(x, y) == kTerrainWater && m_terrain.water != TerrainConditions::kFrozen
        && !m_map.IsRoadAcrossWater(x, y) && !HasPontoon(x, y);
}

int CGameData::GetEffectiveTerrain(int x, int y) const
{
    if (!m_map.IsOnMap(x, y))
        return kTerrainImpassible;
    return m_map.GetEffectiveTerrain(x, y, m_terrain);
}

int CGameData::GetContactLevel(int x, int y, int side) const
{
    if (!IsSide(side) || !m_contact[side].Contains(x, y))
        return 0;
    return m_contact[side].At(x, y).kind;
}

int CGameData::GetContactValue(int x, int y, int side) const
{
    if (!IsSide(side) || !m_contact[side].Contains(x, y))
        return -1;
    return m_contact[side].At(x, y).value;
}

void CGameData::SetContact(int x, int y, int side, int kind, int value)
{
    if (IsSide(side) && m_contact[side].Contains(x, y))
        m_contact[side].At(x, y).Set(kind, value);
}

int CGameData::GetEnemyContact(int x, int y) const
{
    const int enemy = OtherSide(SideInHex(x, y));
    return enemy < 0 ? 0 : GetContactLevel(x, y, enemy);
}

bool CGameData::IsSideInfoHidden(int side) const { return IsHiddenInformationOn() && IsSideHidden(side); }

void CGameData::SetInfoHidden(bool flag) { m_infoHidden = flag ? 1 : 0; }

bool CGameData::IsHexContentShown(int x, int y) const
{
    const bool hidden0 = IsSideHidden(0);
    const bool hidden1 = IsSideHidden(1);
    if (m_hexFlags.Contains(x, y)) {
        const int flags = m_hexFlags.At(x, y);
        if ((flags & kHexCave) != 0 && (flags & kHexCaveRevealed) == 0 && hidden1)
            return false;
    }
    if (GetEnemyContact(x, y) != 0)
        return true;
    const int occupant = SideInHex(x, y);
    if (occupant >= 0 && !IsSideHidden(occupant))
        return true;
    if ((GetContactLevel(x, y, 0) != 0 && !hidden0) || (GetContactLevel(x, y, 1) != 0 && !hidden1))
        return true;
    if (hidden0)
        return false;
    return !hidden1;
}

bool CGameData::IsUnitConcealed(const PlacedUnit& unit, int x, int y) const
{
    if (!unit.m_type || !IsSideInfoHidden(unit.m_type->GetSide()) || !m_map.IsOnMap(x, y))
        return false;
    switch (GetEffectiveTerrain(x, y)) {
    case kTerrainOpen:
    case kTerrainWater:
    case kTerrainShallowWater:
    case kTerrainBeach:
        break;
    default:
        return true;
    }
    if (HasSmoke(x, y))
        return true;
    const bool fortified = m_hexFlags.Contains(x, y) && (m_hexFlags.At(x, y) & kHexFortified) != 0;
    return fortified && !unit.m_type->IsVehicle();
}

bool CGameData::HasSmoke(int x, int y) const { return m_smokeMark.Contains(x, y) && m_smokeMark.At(x, y) != -1; }

bool CGameData::HasStarshell(int x, int y) const
{
    return m_starshellMark.Contains(x, y) && m_starshellMark.At(x, y) != -1;
}

bool CGameData::HasFireMark(int x, int y) const { return m_fireMark.Contains(x, y) && m_fireMark.At(x, y) != -1; }

void CGameData::SetSmoke(int value, int x, int y, bool flag)
{
    if (!m_smokeMark.Contains(x, y))
        return;
    m_smokeMark.At(x, y) = value;
    if (flag && m_hexFlags.Contains(x, y)) {
        if (value != -1)
            m_hexFlags.At(x, y) |= kHexSmoke;
        else
            m_hexFlags.At(x, y) &= ~kHexSmoke;
    }
}

void CGameData::SetStarshell(int value, int x, int y)
{
    if (m_starshellMark.Contains(x, y))
        m_starshellMark.At(x, y) = value;
}

void CGameData::SetFireMark(int value, int x, int y)
{
    if (m_fireMark.Contains(x, y))
        m_fireMark.At(x, y) = value;
}

bool CGameData::HasPontoon(int x, int y) const
{
    return m_pontoons.Contains(x, y) && m_pontoons.At(x, y).side != HexSide::None;
}

bool CGameData::PontoonCrossesSide(int x, int y, HexSide side) const
{
    if (!HasPontoon(x, y) || !side.IsSingleSide())
        return false;
    const HexSide pontoon = m_pontoons.At(x, y).side;
    return pontoon == side || pontoon == side.Opposite();
}

int CGameData::GetPontoonCapacity(int x, int y) const
{
    return m_pontoons.Contains(x, y) ? m_pontoons.At(x, y).capacity : 0;
}

HexSideSet CGameData::GetDamagedBridgeSides(int x, int y) const
{
    return m_damagedBridges.Contains(x, y) ? m_damagedBridges.At(x, y) : HexSideSet();
}

ArrivalMark CGameData::GetArrivalMark(int x, int y) const
{
    return m_arrivalMarks.Contains(x, y) ? m_arrivalMarks.At(x, y) : ArrivalMark();
}

void CGameData::SetArrivalMark(int x, int y, int value, bool flag)
{
    if (m_arrivalMarks.Contains(x, y))
        m_arrivalMarks.At(x, y) = ArrivalMark { value, flag };
}

void CGameData::AddHexValue(int x, int y, int n)
{
    if (m_hexValue.Contains(x, y))
        m_hexValue.At(x, y) = ClampToInt(static_cast<std::int64_t>(m_hexValue.At(x, y)) + n);
}

int CGameData::GetUnitClass(const PlatoonType* type)
{
    if (!type)
        return 2;
    if ((type->m_targetFlags & kTargetHard) != 0)
        return 0;
    if ((type->m_extraFlags & 0x4) != 0 || (type->m_targetFlags & 0x4) != 0)
        return 1;
    return 2;
}

int CGameData::GetCappedUnitValue(const PlacedUnit& unit, int index) const
{
    if (index < 0 || index > 2)
        return 0;
    const int value = unit.m_counters[index];
    if (!unit.m_type)
        return value;
    const int side = unit.m_type->GetSide();
    if (!IsSide(side))
        return value;
    return std::min(value, m_unitLimits[side][GetUnitClass(unit.m_type)][index]);
}

const PlatoonType* CGameData::TakeRandomAircraft(int side, bool remove)
{
    if (!IsSide(side))
        return nullptr;
    const PlatoonType*& pick = m_aircraftPick[side];
    // A pick whose entries have all left the pool since is no pick.
    ValueList<const PlatoonType*>::Node* entry = nullptr;
    if (pick) {
        for (auto* node = m_aircraftPool.Head(); node; node = node->next) {
            if (node->value == pick && pick->GetSide() == side) {
                entry = node;
                break;
            }
        }
        if (!entry)
            pick = nullptr;
    }
    if (!pick) {
        // A generator of its own: the pick may be made on one machine only
        // (the frame's air-strike order), and must not put the two machines'
        // shared sequence of rule draws out of step.
        RandomGeneratorPtr generator = RandomGeneratorPtr::InitTimeSeeded();
        int matches = 0;
        for (auto* node = m_aircraftPool.Head(); node; node = node->next) {
            if (!node->value || node->value->GetSide() != side)
                continue;
            ++matches;
            if (generator->Next() < 1.0 / matches)
                entry = node;
        }
        if (!entry)
            return nullptr;
        pick = entry->value;
    }
    const PlatoonType* type = pick;
    if (remove) {
        m_aircraftPool.Remove(entry);
        pick = nullptr;
    }
    return type;
}

void CGameData::ClearAircraftPicks() { m_aircraftPick[0] = m_aircraftPick[1] = nullptr; }

bool CGameData::ExitUnits(int x, int y, const int* positions, int count)
{
    std::vector<UnitNode*> nodes;
    if (!ResolvePartiesToUnits(x, y, positions, count, nodes))
        return false;
    UnitList& stack = m_stacks.At(x, y);
    if (m_objectives.Contains(x, y)) {
        ObjectiveCell& objective = m_objectives.At(x, y);
        if (objective.value < 0 && objective.nation >= 0 && SideInHex(x, y) == DefaultSideOfNation(objective.nation)) {
            std::int64_t value = objective.value;
            for (const UnitNode* node : nodes) {
                const PlatoonType* type = node->value.m_type;
                value -= static_cast<std::int64_t>(node->value.m_strength) * (type ? type->m_unitValue : 0);
            }
            objective.value = ClampToInt(value);
        }
    }
    for (UnitNode* node : nodes) {
        m_exited.Append(node->value);
        stack.Remove(node);
    }
    return true;
}

bool CGameData::RemoveUnits(int x, int y, const int* positions, int count)
{
    std::vector<UnitNode*> nodes;
    if (!ResolvePartiesToUnits(x, y, positions, count, nodes))
        return false;
    UnitList& stack = m_stacks.At(x, y);
    for (UnitNode* node : nodes)
        stack.Remove(node);
    return true;
}

void CGameData::NoteUnitNation(const PlacedUnit& unit)
{
    if (unit.m_type)
        RecordSideNation(unit.m_type->GetNation());
}

bool CGameData::ToggleDigIn(int x, int y, const int* positions, int count)
{
    std::vector<UnitNode*> nodes;
    if (!ResolvePositionsToUnits(x, y, positions, count, nodes))
        return false;
    for (UnitNode* node : nodes) {
        PlacedUnit& unit = node->value;
        if ((unit.m_status & kUnitCarried) != 0)
            unit.m_status &= ~static_cast<std::uint32_t>(kUnitDiggingIn);
        else
            unit.m_status ^= kUnitDiggingIn;
    }
    return true;
}

void CGameData::GetClockText(String& out) const { m_map.GetLabel(out, IsOptionSet(kOptionThreePhase)); }

bool CGameData::TakeHexSnapshot(int x, int y, HexSnapshot& snapshot) const
{
    if (!m_grids.Contains(x, y))
        return false;
    snapshot.column = x;
    snapshot.row = y;
    snapshot.units = m_stacks.At(x, y);
    snapshot.flags = m_hexFlags.At(x, y);
    snapshot.objectiveNation = m_objectives.At(x, y).nation;
    snapshot.airStrikeValue = m_airStrikeValue.At(x, y);
    snapshot.airStrikeSide = m_airStrikeSide.At(x, y);
    return true;
}

bool CGameData::RestoreHex(HexSnapshot& snapshot)
{
    const int x = snapshot.column;
    const int y = snapshot.row;
    if (!m_grids.Contains(x, y))
        return false;
    // Nodes are swapped, not copied: the hex takes the snapshot's units in
    // their order and the snapshot keeps what the hex had.
    std::swap(m_stacks.At(x, y), snapshot.units);

    const int side = m_map.GetSide();
    int& value = m_airStrikeValue.At(x, y);
    int& strikeSide = m_airStrikeSide.At(x, y);
    if (snapshot.airStrikeValue == 0 && value != 0) {
        if (IsSide(side) && m_airPower[side] < std::numeric_limits<int>::max())
            ++m_airPower[side];
        snapshot.airStrikeValue = std::exchange(value, 0);
        snapshot.airStrikeSide = std::exchange(strikeSide, -1);
    } else if (snapshot.airStrikeValue != 0 && value == 0) {
        // A pool already empty stays at none rather than owing a strike.
        if (IsSide(side) && m_airPower[side] > 0)
            --m_airPower[side];
        value = std::exchange(snapshot.airStrikeValue, 0);
        strikeSide = std::exchange(snapshot.airStrikeSide, -1);
    }

    std::swap(m_hexFlags.At(x, y), snapshot.flags);
    std::swap(m_objectives.At(x, y).nation, snapshot.objectiveNation);
    return true;
}
