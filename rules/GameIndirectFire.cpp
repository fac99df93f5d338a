#include "rules/GameIndirectFire.h"

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <utility>
#include <vector>

#include "model/Geometry.h"
#include "model/HexMap.h"
#include "model/IntRange.h"
#include "model/OrgTree.h"
#include "model/PlatoonType.h"
#include "model/Random.h"

namespace {

constexpr int kNationWithCaves = 21;
// Chances in percent of a starshell fired by a unit, and the share a
// leader adds per strength point.
constexpr int kStarshellChance = 40;
constexpr int kStarshellChanceDisrupted = 20;
constexpr int kLeaderStarshellPerPoint = 5;
// Below this draw a scattered shell lands where it was aimed.
constexpr double kScatterKeepChance = 0.4;

int NodeIdOf(const PlacedUnit& unit) { return unit.m_node ? unit.m_node->m_id : 0; }
bool IsLeader(const PlacedUnit& unit) { return unit.m_type && unit.m_type->IsLeader(); }
int SideOf(const PlacedUnit& unit) { return unit.m_type ? unit.m_type->GetSide() : -1; }
// The die's 1..6 name the six sides clockwise from N.
HexSide SideFromDie(int roll) { return HexSide(1u << std::clamp(roll - 1, 0, 5)); }

String HexText(const char* text, int x, int y)
{
    String out(text);
    String location;
    HexLocationText(location, x, y);
    out.Append(location);
    return out;
}

void WriteLine(std::ostream& out, const String& text) { out << text.c_str() << '\n'; }

// One trailing line feed off.
String WithoutLastLineEnd(std::string text)
{
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return String(std::move(text));
}

} // namespace

// Firers and plotted missions.

bool CGameIndirectFire::CanFireIndirect(const PlacedUnit& unit) const
{
    return !HasStatus(unit, kUnitCarried) && unit.m_type && (unit.m_type->m_targetFlags & kTargetIndirect) != 0;
}

void CGameIndirectFire::PlotIndirectFire(PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY, bool smoke)
{
    m_pendingFire.Append(PendingFire { NodeIdOf(unit), firerX, firerY, targetX, targetY, smoke });
    MarkUnitFired(unit, smoke);
}

const PlacedUnit* CGameIndirectFire::IsPlottedFireValid(const PendingFire& record) const
{
    if (m_stacks.Contains(record.fromColumn, record.fromRow)) {
        for (const PlacedUnit& unit : m_stacks.At(record.fromColumn, record.fromRow))
            if (NodeIdOf(unit) == record.nodeId)
                return &unit;
        return nullptr;
    }
    for (const OffMapUnit& entry : m_offMapUnits)
        if (NodeIdOf(entry.unit) == record.nodeId)
            return &entry.unit;
    return nullptr;
}

PlacedUnit* CGameIndirectFire::IsPlottedFireValid(const PendingFire& record)
{
    return const_cast<PlacedUnit*>(std::as_const(*this).IsPlottedFireValid(record));
}

// Fire on a hex.

void CGameIndirectFire::ResolveIndirectFire(
    String& report, const int* positions, int count, int firerX, int firerY, int targetX, int targetY, String& detail)
{
    report = String();
    detail = String();
    std::vector<UnitNode*> units;
    if (count <= 0 || !ResolvePositionsToUnits(firerX, firerY, positions, count, units))
        return;
    std::vector<Firer> firers;
    firers.reserve(units.size());
    for (UnitNode* node : units)
        firers.push_back(Firer { &node->value, node });
    FireOnHex(report, firers.data(), static_cast<int>(firers.size()), true, firerX, firerY, targetX, targetY, detail);
}

void CGameIndirectFire::ResolvePlottedFire(
    String& report, PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY, String& detail)
{
    report = String();
    detail = String();
    const Firer firer { &unit, nullptr };
    FireOnHex(report, &firer, 1, false, firerX, firerY, targetX, targetY, detail);
}

bool CGameIndirectFire::IsStackTargetAtTurn(int x, int y, const UnitNode* node) const
{
    if (GetStackPosition(x, y, node) == 0 || HasStatus(node->value, kUnitCarried))
        return false;
    const UnitNode* head = m_stacks.At(x, y).Head();
    return node == head || !HasStatus(node->prev->value, kUnitCarrying);
}

void CGameIndirectFire::FireOnHex(String& report, const Firer* firers, int count, bool immediate, int firerX,
    int firerY, int targetX, int targetY, String& detail)
{
    // Undo takes back moves only, never a result.
    ClearUndo();
    ClearFireTrace();
    std::ostringstream shown;
    std::ostringstream full;
    const bool empty = !m_stacks.Contains(targetX, targetY) || m_stacks.At(targetX, targetY).IsEmpty();
    if (empty) {
        shown << kEmptyHexText << '\n';
        full << kEmptyHexText << '\n';
    }
    const bool hidden = (!HexHasUnits(targetX, targetY) || GetEnemyContact(targetX, targetY) != 1)
        && IsSideHidden(OtherSide(m_map.GetSide()));

    // The stack as it is now: results take units out while it is walked.
    std::vector<UnitNode*> targets;
    if (!empty)
        for (UnitNode* node = m_stacks.At(targetX, targetY).Head(); node; node = node->next)
            targets.push_back(node);
    const int flags = m_hexFlags.Contains(targetX, targetY) ? m_hexFlags.At(targetX, targetY) : 0;
    for (UnitNode* node : targets) {
        if (!IsStackTargetAtTurn(targetX, targetY, node))
            continue;
        const PlacedUnit& target = node->value;
        const PlatoonType* type = target.m_type;
        bool hard = type && (type->m_targetFlags & kTargetHard) != 0;
        int defence = type ? type->m_value13 : 0;
        double modifier = 1.0;
        ApplyTerrainModifiers(target, targetX, targetY, hard, defence, modifier);
        if ((flags & kHexCave) != 0 && type && (type->m_moveFlags & kMoveFoot) != 0
            && type->GetNation() == kNationWithCaves)
            modifier = 0.0;
        const bool visible = !IsTargetHidden(target, targetX, targetY);
        if (visible) {
            String name;
            GetUnitNameForViewer(name, target);
            WriteLine(shown, name);
            WriteDefenseLine(shown, defence, modifier);
        }
        WriteLine(full, target.GetShortName());
        WriteDefenseLine(full, defence, modifier);
        for (int i = 0; i < count; ++i) {
            const Firer& firer = firers[i];
            // A firer the fire took out of its own hex has no more turns.
            if (firer.node && GetStackPosition(firerX, firerY, firer.node) == 0)
                continue;
            if (immediate && !CanFireIndirect(*firer.unit))
                continue;
            if (FireOnTargetUnit(
                    shown, full, *firer.unit, node, firerX, firerY, targetX, targetY, hard, defence, modifier, visible))
                break;
        }
    }

    for (int i = 0; i < count; ++i)
        if (!firers[i].node || GetStackPosition(firerX, firerY, firers[i].node) != 0)
            AddUnitFireValueToHex(*firers[i].unit, firerX, firerY, targetX, targetY);
    detail = WithoutLastLineEnd(full.str());

    if (immediate && m_hexFlags.Contains(firerX, firerY) && (m_hexFlags.At(firerX, firerY) & kHexCave) != 0
        && GetEnemyContact(firerX, firerY) == 1)
        m_hexFlags.At(firerX, firerY) |= kHexCaveRevealed;

    if (IsHiddenInformationOn() && m_map.IsOnMap(firerX, firerY)) {
        MarkFiringHex(firerX, firerY);
        // By day every hex can be seen: only a night battle hides an unlit target.
        if (m_night != 0 && !IsHexLit(targetX, targetY)) {
            report = kUnknownEffectsText;
            return;
        }
    }
    report = hidden ? String(kUnknownResultsText) : String(shown.str());
}

bool CGameIndirectFire::FireOnTargetUnit(std::ostream& report, std::ostream& detail, PlacedUnit& firer,
    UnitNode* target, int firerX, int firerY, int targetX, int targetY, bool hard, int defence, double modifier,
    bool visible)
{
    if (!target)
        return false;
    const long long divisor = std::max(m_parameters.m_defenseZeroValue, 1);
    const long long strength = target->value.m_strength;
    long long v = ComputeFireValue(firer, firerX, firerY, targetX, targetY, hard, false) * strength / divisor;
    if (!HexHasUnits(targetX, targetY))
        v /= 2;
    if (GetEnemyContact(targetX, targetY) != 1)
        v /= 2;
    if (HasStatus(firer, kUnitLowAmmo))
        v -= v / 2;
    const int attack = std::max(ClampToInt(v), 1);
    const long long soft = ComputeFireValue(firer, firerX, firerY, targetX, targetY, false, false) * strength / divisor;
    const int passengerAttack = std::max(ClampToInt(soft), 1);

    if (visible)
        WriteAttackLine(report, attack);
    WriteAttackLine(detail, attack);
    // As many shots as the firer has points, within the bound of any fire.
    const int shots = std::clamp(firer.m_strength, 0, kMaxShots);
    String result;
    bool finished = false;
    if (IsLeader(target->value))
        finished = ResolveLeaderHit(result, attack, shots, defence, targetX, targetY, target, modifier);
    else
        finished = ApplyFireResult(
            result, attack, shots, passengerAttack, defence, targetX, targetY, target, modifier, true, true);
    if (visible)
        report << "    " << result.c_str() << '\n';
    detail << "    " << result.c_str() << '\n';
    return finished;
}

// Marks of the firing hex.

void CGameIndirectFire::MarkFiringHex(int firerX, int firerY)
{
    const int side = SideInHex(firerX, firerY);
    SetFireMark(side, firerX, firerY);
    if (!CanSideSeeHex(firerX, firerY, OtherSide(side), 0))
        SetFireMark(-1, firerX, firerY);
}

// Smoke and starshell.

void CGameIndirectFire::FireSmoke(String& out, const PlacedUnit& unit, int targetX, int targetY)
{
    ClearFireTrace();
    if (GetEffectiveTerrain(targetX, targetY) == kTerrainWater && m_terrain.water != TerrainConditions::kFrozen) {
        out = HexText(kInvalidHexText, targetX, targetY);
        return;
    }
    const bool hexBit = unit.m_type && (unit.m_type->m_targetFlags & kTargetSmokeSetsHexBit) != 0;
    SetSmoke(SideOf(unit), targetX, targetY, hexBit);
    out = HexText(kSmokeFiredText, targetX, targetY);
}

bool CGameIndirectFire::StarshellSucceeds(long long chance)
{
    return !(static_cast<double>(chance) <= UniformRandom() * 100.0);
}

void CGameIndirectFire::FireStarshellMission(
    String& out, const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY)
{
    out = String();
    const int chance = HasStatus(unit, kUnitDisrupted) ? kStarshellChanceDisrupted : kStarshellChance;
    if (!StarshellSucceeds(chance)) {
        out = kStarshellFailedText;
        return;
    }
    SpendStarshell(SideOf(unit), firerX, firerY, targetX, targetY);
}

void CGameIndirectFire::FireStarshell(
    String& out, const int* positions, int count, int firerX, int firerY, int targetX, int targetY)
{
    out = String();
    std::vector<UnitNode*> units;
    if (count <= 0 || !ResolvePositionsToUnits(firerX, firerY, positions, count, units))
        return;
    long long chance = 0;
    for (const UnitNode* node : units) {
        const PlacedUnit& unit = node->value;
        if (IsLeader(unit))
            chance += static_cast<long long>(kLeaderStarshellPerPoint) * unit.m_strength;
        else
            chance += HasStatus(unit, kUnitDisrupted) ? kStarshellChanceDisrupted : kStarshellChance;
    }
    if (!StarshellSucceeds(chance)) {
        out = kStarshellFailedText;
        return;
    }
    SpendStarshell(m_map.GetSide(), firerX, firerY, targetX, targetY);
}

void CGameIndirectFire::SpendStarshell(int side, int firerX, int firerY, int targetX, int targetY)
{
    // The stock never goes below nothing, whoever fired without asking.
    if (IsSide(side))
        m_starshells[side] = std::max(m_starshells[side] - 1, 0);
    SetStarshell(side, targetX, targetY);
    if (IsHiddenInformationOn() && m_map.IsOnMap(firerX, firerY))
        MarkFiringHex(firerX, firerY);
}

// Scatter and drift.

void CGameIndirectFire::ScatterImpactHex(HexPos& hex)
{
    if (UniformRandom() < kScatterKeepChance)
        return;
    HexPos next;
    if (m_map.GetNeighbour(SideFromDie(RollDie(6)), hex.column, hex.row, next))
        hex = next;
}

void CGameIndirectFire::DriftImpactHex(int firerX, int firerY, HexPos& hex)
{
    for (int step = 0; step < 2; ++step) {
        HexPos next;
        if (m_map.GetNeighbour(SideFromDie(RollDie(6)), hex.column, hex.row, next)
            && !(next.column == firerX && next.row == firerY))
            hex = next;
    }
}
