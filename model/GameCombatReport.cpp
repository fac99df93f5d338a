#include "model/GameCombatReport.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>
#include <vector>

namespace {

constexpr int kCaveNation = 21;
// Longest name a report label shows in full.
constexpr std::size_t kMaxLabelLength = 35;

// The percentage a modifier line shows. The small bias keeps a value such as
// 0.29, whose product with 100 falls just below 29 in binary, at 29. A value
// beyond the int range shows as the nearest end of it, not a wild number.
int ModifierPercent(double modifier)
{
    const double percent = modifier * 100.0 + 1e-9;
    if (std::isnan(percent))
        return 0;
    if (percent >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (percent <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(percent);
}

void WriteModifier(std::ostream& out, double modifier) { out << "Modifier = " << ModifierPercent(modifier) << "%\n"; }

} // namespace

bool CGameCombatReport::HexHasOnlyLeaders(int x, int y) const
{
    if (!m_stacks.Contains(x, y))
        return true;
    for (const PlacedUnit& unit : m_stacks.At(x, y))
        if (!unit.m_type || !unit.m_type->IsLeader())
            return false;
    return true;
}

bool CGameCombatReport::IsTargetableUnit(const PlacedUnit& unit, int x, int y) const
{
    if ((unit.m_status & kUnitCarried) != 0)
        return false;
    if (unit.m_type && unit.m_type->IsLeader())
        return false;
    return !IsTargetHidden(unit, x, y);
}

bool CGameCombatReport::IsTargetHidden(const PlacedUnit& unit, int x, int y) const
{
    const PlatoonType* type = unit.m_type;
    const int side = type ? type->GetSide() : -1;
    const int flags = m_hexFlags.Contains(x, y) ? m_hexFlags.At(x, y) : 0;
    const bool unrevealedCave = (flags & kHexCave) != 0 && (flags & kHexCaveRevealed) == 0;
    if (type && type->GetNation() == kCaveNation && (type->m_moveFlags & kMoveFoot) != 0 && unrevealedCave
        && IsSideHidden(side))
        return true;
    if ((unit.m_status & kUnitHidden) != 0)
        return IsSideHidden(side);
    return false;
}

void CGameCombatReport::TurnFiringUnitsToward(const int* positions, int count, int fromX, int fromY, int toX, int toY)
{
    if (!m_map.IsOnMap(fromX, fromY) || (fromX == toX && fromY == toY))
        return;
    HexSide first;
    HexSide second;
    SidesTowardHex(fromX, fromY, toX, toY, first, second);
    std::vector<UnitNode*> units;
    if (!ResolvePositionsToUnits(fromX, fromY, positions, count, units))
        return;
    for (UnitNode* node : units) {
        PlacedUnit& unit = node->value;
        if ((unit.m_status & kUnitCarried) == 0)
            unit.m_facing = NearestFacingToward(unit.m_facing, first, second);
    }
}

HexSide CGameCombatReport::NearestFacingToward(HexSide facing, HexSide a, HexSide b)
{
    if (facing == HexSide::None)
        return facing;
    if (!facing.IsSingleSide() || !a.IsSingleSide() || !b.IsSingleSide())
        return facing;
    HexSide clockwise = facing;
    HexSide counter = facing;
    // Six steps bring either copy back round, so one full turn always ends.
    for (int step = 0; step <= 6; ++step) {
        if (clockwise == a)
            return a;
        if (counter == b)
            return b;
        clockwise = clockwise.Clockwise();
        counter = counter.CounterClockwise();
    }
    return facing;
}

void CGameCombatReport::GetUnitNameForViewer(String& out, const PlacedUnit& unit) const
{
    if (unit.m_type && IsSideInfoHidden(unit.m_type->GetSide()))
        out = "Unknown";
    else
        out = unit.GetShortName();
}

void CGameCombatReport::GetUnitLabel(String& out, const PlacedUnit& unit)
{
    String name = unit.GetName();
    out = name.GetLength() <= kMaxLabelLength ? std::move(name) : unit.GetShortName();
}

void CGameCombatReport::ClipSquareToMap(int x, int y, int radius, int& minX, int& maxX, int& minY, int& maxY) const
{
    const auto clamp = [](long long value, int size) {
        return static_cast<int>(std::clamp<long long>(value, 0, std::max(size - 1, 0)));
    };
    minX = clamp(static_cast<long long>(x) - radius, m_map.GetWidth());
    maxX = clamp(static_cast<long long>(x) + radius, m_map.GetWidth());
    minY = clamp(static_cast<long long>(y) - radius, m_map.GetHeight());
    maxY = clamp(static_cast<long long>(y) + radius, m_map.GetHeight());
}

void CGameCombatReport::WriteFireValuesLine(std::ostream& out, int attack, int defense, double modifier)
{
    out << ">    Attack = " << attack << " Defense = " << defense << '\n';
    if (modifier != 1.0) {
        out << ">    ";
        WriteModifier(out, modifier);
    }
}

void CGameCombatReport::WriteAttackLine(std::ostream& out, int attack) { out << ">    Attack = " << attack << '\n'; }

void CGameCombatReport::WriteDefenseLine(std::ostream& out, int defense, double modifier)
{
    out << ">    Defense = " << defense;
    if (modifier == 1.0) {
        out << '\n';
        return;
    }
    out << ' ';
    WriteModifier(out, modifier);
}

void CGameCombatReport::WriteFiringUnitLine(std::ostream& out, const PlacedUnit& unit, int x, int y) const
{
    String location;
    HexLocationText(location, x, y);
    String name;
    GetUnitNameForViewer(name, unit);
    out << ">Firing unit" << location << "\n>    " << name << '\n';
}

int CGameCombatReport::CountPendingFireOnHex(int x, int y) const
{
    int count = 0;
    for (const PendingFire& fire : m_pendingFire)
        if (fire.targetColumn == x && fire.targetRow == y)
            ++count;
    return count;
}

bool CGameCombatReport::HasFlaggedPendingFireOnHex(int x, int y) const
{
    for (const PendingFire& fire : m_pendingFire)
        if (fire.targetColumn == x && fire.targetRow == y && fire.smoke)
            return true;
    return false;
}

bool CGameCombatReport::HexHasClearingUnit(int x, int y) const
{
    if (!m_stacks.Contains(x, y))
        return false;
    for (const PlacedUnit& unit : m_stacks.At(x, y))
        if ((unit.m_status & (kUnitDisrupted | kUnitCarried)) == 0 && unit.m_type
            && (unit.m_type->m_extraFlags & kExtraMineSurcharge) != 0)
            return true;
    return false;
}
