#include "rules/GameDirectFire.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <sstream>

#include "model/Geometry.h"
#include "model/HexMap.h"
#include "model/OrgTree.h"
#include "model/PlatoonType.h"
#include "model/Random.h"

namespace {

constexpr int kNationWithCaves = 21;
constexpr int kCategoryWading = 2;
constexpr int kFinalPhase = 2;
constexpr int kThreePhaseFireCost = 100;
constexpr int kStarshellCloseCost = 20;
constexpr int kStarshellCloseRange = 3;
constexpr int kFullActionPoints = 100;
constexpr std::uint32_t kTargetAntiAircraftHeavy = 0x4;
constexpr std::uint32_t kCarryTowed = 0x4;
constexpr std::uint32_t kExtraEngineer = 0x80;
constexpr double kLeaderShare = 0.1;

bool IsLeader(const PlacedUnit& unit) { return unit.m_type && unit.m_type->IsLeader(); }
bool IsHardType(const PlatoonType* type) { return type && (type->m_targetFlags & kTargetHard) != 0; }
bool IsIndirectType(const PlatoonType* type) { return type && (type->m_targetFlags & kTargetIndirect) != 0; }
bool IsVehicleType(const PlatoonType* type) { return type && type->IsVehicle(); }
bool IsCaveFoot(const PlatoonType* type)
{
    return type && (type->m_moveFlags & kMoveFoot) != 0 && type->GetNation() == kNationWithCaves;
}
int ClampToInt(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

void AppendLine(String& report, const String& line)
{
    report.Append(line);
    report.AppendText("\n");
}

void AppendValuesLine(String& report, int attack, int defence, double modifier)
{
    std::ostringstream line;
    CGameCombatReport::WriteFireValuesLine(line, attack, defence, modifier);
    report.AppendText(line.str().c_str());
}

void AppendResultLine(String& report, const String& result)
{
    report.AppendText("    ");
    AppendLine(report, result);
}

} // namespace

bool CGameDirectFire::StillInHex(int x, int y, const UnitNode* node) const
{
    return node && GetStackPosition(x, y, node) != 0;
}

const UnitNode* CGameDirectFire::NodeBelowUnit(const PlacedUnit& unit, int x, int y) const
{
    if (!m_stacks.Contains(x, y))
        return nullptr;
    for (const UnitNode* node = m_stacks.At(x, y).Head(); node; node = node->next)
        if (&node->value == &unit)
            return node->next;
    return nullptr;
}

// Targets.

const UnitNode* CGameDirectFire::FindTargetUnit(int x, int y, int n) const
{
    if (n < 1 || !m_stacks.Contains(x, y))
        return nullptr;
    int seen = 0;
    for (const UnitNode* node = m_stacks.At(x, y).Head(); node; node = node->next)
        if (IsTargetableUnit(node->value, x, y) && ++seen == n)
            return node;
    return nullptr;
}

UnitNode* CGameDirectFire::FindTargetUnit(int x, int y, int n)
{
    return const_cast<UnitNode*>(static_cast<const CGameDirectFire*>(this)->FindTargetUnit(x, y, n));
}

int CGameDirectFire::GetTargetOrdinal(int x, int y, int position) const
{
    const UnitNode* chosen = GetStackNode(x, y, position);
    if (!chosen || !IsTargetableUnit(chosen->value, x, y))
        return 0;
    int ordinal = 1;
    for (const UnitNode* node = m_stacks.At(x, y).Head(); node != chosen; node = node->next)
        if (IsTargetableUnit(node->value, x, y))
            ++ordinal;
    return ordinal;
}

bool CGameDirectFire::AreTargetsAlike(int x, int y) const
{
    if (!m_stacks.Contains(x, y))
        return true;
    const PlacedUnit* first = nullptr;
    int count = 0;
    bool loadedCarrier = false;
    for (const PlacedUnit& unit : m_stacks.At(x, y)) {
        if (!IsTargetableUnit(unit, x, y))
            continue;
        if (!first)
            first = &unit;
        else if (!(unit == *first))
            return false;
        ++count;
        loadedCarrier = loadedCarrier || HasStatus(unit, kUnitCarrying);
    }
    return count <= 1 || !loadedCarrier;
}

// Fire values.

void CGameDirectFire::AddLeaderBonus(long long& value, const PlacedUnit& unit, int firerX, int firerY, bool spend)
{
    const PlatoonType* type = unit.m_type;
    if (!type || !m_map.IsOnMap(firerX, firerY) || IsIndirectType(type) || !unit.m_node)
        return;
    for (UnitNode* node = m_stacks.At(firerX, firerY).Head(); node; node = node->next) {
        PlacedUnit& leader = node->value;
        if (!IsLeader(leader) || leader.m_actionPoints < type->m_fireApCost)
            continue;
        const OrgNode* command = leader.GetCommandNode();
        if (!command || !command->IsAncestorOf(unit.m_node))
            continue;
        value += leader.m_strength;
        if (spend)
            leader.SpendActionPoints(IsOptionSet(kOptionThreePhase) ? kThreePhaseFireCost : type->m_fireApCost);
        return;
    }
}

int CGameDirectFire::ComputeFireValue(
    const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY, bool hard, bool spendLeader)
{
    const PlatoonType* type = unit.m_type;
    if (!type)
        return 0;
    const int d = HexDistance(firerX, firerY, targetX, targetY);
    long long v = hard ? GetFireValueVsHard(type, d) : GetFireValueVsSoft(type, d);
    v = std::max(v, 0LL);
    const long long w = v;
    const bool onMap = m_map.IsOnMap(firerX, firerY);

    if (m_map.GetPhase() == kFinalPhase)
        v /= 2;
    if (HasStatus(unit, kUnitDisrupted))
        v /= 2;
    if (onMap && HasSmoke(firerX, firerY))
        v /= 2;
    if (onMap && GetEffectiveTerrain(firerX, firerY) == kTerrainWater && m_terrain.water != TerrainConditions::kFrozen)
        v /= 4;
    const bool airTarget = IsAirTargetFor(targetX, targetY, type->GetSide());
    if (HasSmoke(targetX, targetY) && !airTarget)
        v /= 2;
    if (airTarget && (type->m_targetFlags & kTargetAntiAircraftHeavy) != 0)
        v /= 4;
    if (HasStatus(unit, kUnitDiggingIn))
        v /= 2;
    if (HasStatus(unit, kUnitFatigued))
        v /= 2;
    if (v == 0 && w > 0)
        v = 1;
    AddLeaderBonus(v, unit, firerX, firerY, spendLeader);
    if (m_night != 0 && d > 1 && !IsHexLit(targetX, targetY))
        v /= 2;
    return ClampToInt(v);
}

int CGameDirectFire::SumFireValue(
    const int* positions, int count, int firerX, int firerY, int targetX, int targetY, bool hard)
{
    std::vector<UnitNode*> units;
    if (!ResolvePositionsToUnits(firerX, firerY, positions, count, units))
        return 0;
    long long sum = 0;
    for (const UnitNode* node : units)
        if (!HasStatus(node->value, kUnitCarried) && !IsLeader(node->value))
            sum += ComputeFireValue(node->value, firerX, firerY, targetX, targetY, hard, false);
    return ClampToInt(sum);
}

int CGameDirectFire::TargetDefence(const PlacedUnit& target, int firerX, int firerY, int targetX, int targetY) const
{
    const PlatoonType* type = target.m_type;
    if (!type)
        return 0;
    if (!IsOptionSet(kOptionArmorFacing) || !IsHardType(type)) {
        if (HasStatus(target, kUnitCarrying) && (type->m_carryFlags & kCarryBoats) != 0) {
            // A boat shields nothing: the fire meets its load.
            const UnitNode* below = NodeBelowUnit(target, targetX, targetY);
            if (below && below->value.m_type)
                return below->value.m_type->m_value13;
        }
        return type->m_value13;
    }
    HexSide first;
    HexSide second;
    SidesTowardHex(firerX, firerY, targetX, targetY, first, second);
    const HexSide a = first.Opposite();
    const HexSide b = second.Opposite();
    const HexSide rear = target.m_facing.Opposite();
    if (!rear.IsSingleSide() || !a.IsSingleSide())
        return type->m_value40;
    if (a == rear || b == rear)
        return type->m_value42;
    if (rear.Clockwise() == a || rear.CounterClockwise() == b)
        return type->m_value41;
    return type->m_value40;
}

void CGameDirectFire::ApplyTerrainModifiers(
    const PlacedUnit& target, int x, int y, bool& hard, int& defence, double& modifier) const
{
    const PlatoonType* type = target.m_type;
    modifier = m_parameters.GetTerrainPercentFor(GetEffectiveTerrain(x, y), target);
    const int flags = m_hexFlags.Contains(x, y) ? m_hexFlags.At(x, y) : 0;
    const double f = m_parameters.m_value61 / 100.0;
    const bool vehicle = IsVehicleType(type);
    const int bonus = m_parameters.m_value62;
    if ((flags & kHexImprovedPosition) != 0)
        modifier *= f;
    if ((flags & kHexTrench) != 0 && !vehicle)
        modifier *= f * f;
    if ((flags & kHexBunker) != 0 && !vehicle)
        defence = ClampToInt(static_cast<long long>(defence) + bonus);
    if ((flags & kHexPillbox) != 0 && !vehicle) {
        hard = true;
        defence = ClampToInt(static_cast<long long>(defence) + bonus);
    }
    if ((flags & kHexCave) != 0 && IsCaveFoot(type))
        modifier *= 0.5;
    if (HasStatus(target, kUnitBanzai))
        modifier += 0.1;
}

void CGameDirectFire::ApplyTargetModifiers(const PlacedUnit& target, int firerX, int firerY, int targetX, int targetY,
    bool& hard, int& defence, double& modifier) const
{
    ApplyTerrainModifiers(target, targetX, targetY, hard, defence, modifier);
    if (m_map.IsOnMap(firerX, firerY) && m_map.IsOnMap(targetX, targetY)) {
        const int firerLevel = m_map.GetElevationLevel(firerX, firerY);
        const int targetLevel = m_map.GetElevationLevel(targetX, targetY);
        if (firerLevel > targetLevel)
            modifier *= 1.1;
        else if (firerLevel < targetLevel)
            modifier *= 0.9;
    }
    if (!m_map.IsOnMap(targetX, targetY))
        return;
    HexSide first;
    HexSide second;
    SidesTowardHex(firerX, firerY, targetX, targetY, first, second);
    const HexSide a = first.Opposite();
    const HexSide b = second.Opposite();
    if (!a.IsSingleSide() && !b.IsSingleSide())
        return;
    double m = 1.0;
    for (int layer = 0; layer < kFeatureLayerCount; ++layer) {
        const HexSideSet sides = m_map.GetFeatureLayer(targetX, targetY, layer);
        if ((a.IsSingleSide() && sides.Contains(a)) || (b.IsSingleSide() && sides.Contains(b)))
            m *= m_parameters.GetHexsidePercent(layer);
    }
    modifier *= m;
}

int CGameDirectFire::ComputeShots(const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY) const
{
    long long shots = std::max(unit.m_strength, 0);
    if (HasStatus(unit, kUnitLowAmmo))
        shots = (shots + 1) / 2;
    if (m_map.IsOnMap(firerX, firerY) && GetEffectiveTerrain(firerX, firerY) == kTerrainShallowWater && unit.m_type
        && unit.m_type->GetCategory() == kCategoryWading)
        shots /= 2;
    shots = std::min<long long>(shots, kMaxShots);
    // Crowded hexes are easier to hit: 8 % more shots per point of excess,
    // rounded up, in integers so that no rounding of a fraction adds a shot.
    const long long excess
        = static_cast<long long>(GetStackStrength(targetX, targetY)) - 2LL * m_parameters.m_defenseZeroValue;
    if (excess > 0)
        shots += (excess * 8 * shots + 99) / 100;
    return static_cast<int>(std::min<long long>(shots, kMaxShots));
}

// Direct fire.

void CGameDirectFire::ApplyNightReport(String& report, int firerX, int firerY, int targetX, int targetY)
{
    if (m_night == 0)
        return;
    SetFireMark(SideInHex(firerX, firerY), firerX, firerY);
    if (!IsHexLit(targetX, targetY))
        report = kUnknownEffectsText;
}

bool CGameDirectFire::FireOneUnit(String& report, PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY,
    UnitNode* target, bool hard, int defence, double modifier)
{
    MarkUnitFired(unit, false);
    const int attack = ComputeFireValue(unit, firerX, firerY, targetX, targetY, hard, false);
    const int passengerAttack = ComputeFireValue(unit, firerX, firerY, targetX, targetY, false, true);
    AppendValuesLine(report, attack, defence, modifier);
    const int shots = ComputeShots(unit, firerX, firerY, targetX, targetY);
    String result;
    const bool stop = ApplyFireResult(
        result, attack, shots, passengerAttack, defence, targetX, targetY, target, modifier, true, false);
    AppendResultLine(report, result);
    return stop;
}

bool CGameDirectFire::FireAtLeader(String& report, PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY,
    UnitNode* leader, int defence, double modifier, bool mark)
{
    if (mark)
        MarkUnitFired(unit, false);
    const int attack = ComputeFireValue(unit, firerX, firerY, targetX, targetY, false, false);
    AppendValuesLine(report, attack, defence, modifier);
    String result;
    const bool stop = ResolveLeaderHit(result, attack, unit.m_strength, defence, targetX, targetY, leader, modifier);
    AppendResultLine(report, result);
    return stop;
}

String CGameDirectFire::FireOnLeaders(
    const std::vector<UnitNode*>& firers, int firerX, int firerY, int targetX, int targetY, double factor, bool mark)
{
    String report;
    if (!m_stacks.Contains(targetX, targetY))
        return report;
    const int others = std::max(CountStackUnits(targetX, targetY), 1);
    const double p = static_cast<double>(firers.size()) * factor / others;
    // The stack as it is now: hits take leaders out, so the walk holds units.
    std::vector<UnitNode*> stack;
    for (UnitNode* node = m_stacks.At(targetX, targetY).Head(); node; node = node->next)
        stack.push_back(node);
    for (UnitNode* node : stack) {
        if (!StillInHex(targetX, targetY, node))
            continue;
        PlacedUnit& unit = node->value;
        const double chance = unit.m_type && unit.m_type->GetNation() == kNationWithCaves ? 2.0 * p : p;
        if (!IsLeader(unit))
            continue;
        unit.m_status &= ~static_cast<std::uint32_t>(kUnitFixed);
        if (!(UniformRandom() < chance))
            continue;
        bool hard = IsHardType(unit.m_type);
        int defence = TargetDefence(unit, firerX, firerY, targetX, targetY);
        double modifier = 1.0;
        ApplyTargetModifiers(unit, firerX, firerY, targetX, targetY, hard, defence, modifier);
        String name;
        GetUnitNameForViewer(name, unit);
        AppendLine(report, name);
        for (UnitNode* firer : firers) {
            if (!CanUnitFireDirectly(firer->value, firerX, firerY, targetX, targetY))
                continue;
            if (FireAtLeader(report, firer->value, firerX, firerY, targetX, targetY, node, defence, modifier, mark))
                break;
        }
    }
    ApplyNightReport(report, firerX, firerY, targetX, targetY);
    return report;
}

void CGameDirectFire::ResolveDirectFire(
    String& report, const int* positions, int count, int firerX, int firerY, int targetX, int targetY, int ordinal)
{
    report = String();
    std::vector<UnitNode*> firers;
    if (count <= 0 || !ResolvePositionsToUnits(firerX, firerY, positions, count, firers))
        return;
    ClearFireTrace();
    UnitNode* target = FindTargetUnit(targetX, targetY, ordinal);
    if (!target) {
        report = FireOnLeaders(firers, firerX, firerY, targetX, targetY, 1.0, true);
        return;
    }
    bool hard = IsHardType(target->value.m_type);
    int defence = TargetDefence(target->value, firerX, firerY, targetX, targetY);
    double modifier = 1.0;
    ApplyTargetModifiers(target->value, firerX, firerY, targetX, targetY, hard, defence, modifier);

    String name;
    GetUnitNameForViewer(name, target->value);
    AppendLine(report, name);
    for (UnitNode* firer : firers) {
        if (!StillInHex(targetX, targetY, target))
            break;
        if (!CanUnitFireDirectly(firer->value, firerX, firerY, targetX, targetY))
            continue;
        if (FireOneUnit(report, firer->value, firerX, firerY, targetX, targetY, target, hard, defence, modifier))
            break;
    }
    report.Append(FireOnLeaders(firers, firerX, firerY, targetX, targetY, kLeaderShare, false));
    if (m_hexFlags.Contains(targetX, targetY) && (m_hexFlags.At(targetX, targetY) & kHexCave) != 0)
        m_hexFlags.At(targetX, targetY) |= kHexCaveRevealed;
    ApplyNightReport(report, firerX, firerY, targetX, targetY);
}

void CGameDirectFire::FireAtAirAttack(
    String& report, const int* positions, int count, int firerX, int firerY, int targetX, int targetY)
{
    report = String();
    std::vector<UnitNode*> firers;
    if (count <= 0 || !ResolvePositionsToUnits(firerX, firerY, positions, count, firers))
        return;
    const PlatoonType* aircraft = TakeRandomAircraft(m_map.GetSide(), false);
    const int defence = aircraft ? aircraft->m_value13 : m_parameters.m_value94;
    report = kAirAttackHeading;
    for (UnitNode* firer : firers) {
        PlacedUnit& unit = firer->value;
        if (HasStatus(unit, kUnitCarried) || !unit.m_type || IsIndirectType(unit.m_type) || !unit.m_type->m_weapon)
            continue;
        MarkUnitFired(unit, false);
        const int attack = ComputeFireValue(unit, firerX, firerY, targetX, targetY, false, false);
        ComputeFireValue(unit, firerX, firerY, targetX, targetY, false, true);
        AppendValuesLine(report, attack, defence, 1.0);
        String result;
        const bool stop = ResolveAirDefenceFire(result, attack, unit.m_strength, defence, targetX, targetY);
        AppendResultLine(report, result);
        if (stop)
            break;
    }
    if (m_hexFlags.Contains(targetX, targetY) && (m_hexFlags.At(targetX, targetY) & kHexCave) != 0)
        m_hexFlags.At(targetX, targetY) |= kHexCaveRevealed;
    if (m_night != 0)
        SetFireMark(SideInHex(firerX, firerY), firerX, firerY);
}

bool CGameDirectFire::CanUnitFireDirectly(const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY)
{
    return !HasStatus(unit, kUnitCarried) && !MustFireIndirectly(unit, firerX, firerY, targetX, targetY)
        && GetMaximumRange(unit.m_type) > 0;
}

// Indirect-fire totals and the fired marks.

void CGameDirectFire::AddUnitFireValueToHex(const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY)
{
    AddHexValue(targetX, targetY, ComputeFireValue(unit, firerX, firerY, targetX, targetY, false, false));
}

void CGameDirectFire::AddFireValueToHex(
    const int* positions, int count, int firerX, int firerY, int targetX, int targetY)
{
    std::vector<UnitNode*> units;
    if (!ResolvePositionsToUnits(firerX, firerY, positions, count, units))
        return;
    for (const UnitNode* node : units)
        AddUnitFireValueToHex(node->value, firerX, firerY, targetX, targetY);
}

void CGameDirectFire::MarkUnitFired(PlacedUnit& unit, bool smoke)
{
    unit.m_status |= kUnitFired;
    unit.m_status &= ~static_cast<std::uint32_t>(kUnitHidden);
    const PlatoonType* type = unit.m_type;
    unit.SpendActionPoints(IsOptionSet(kOptionThreePhase) ? kThreePhaseFireCost : (type ? type->m_fireApCost : 0));
    if (smoke && type && (IsIndirectType(type) || (type->m_extraFlags & kExtraSmokeRounds) != 0)) {
        const int side = type->GetSide();
        if (side == 0 || side == 1)
            m_smoke[side] = std::max(m_smoke[side] - 1, 0);
    }
}

void CGameDirectFire::MarkUnitsFired(const int* positions, int count, int x, int y, bool smoke)
{
    std::vector<UnitNode*> units;
    if (!ResolvePositionsToUnits(x, y, positions, count, units))
        return;
    for (UnitNode* node : units)
        MarkUnitFired(node->value, smoke);
}

void CGameDirectFire::MarkUnitFiredAtRange(PlacedUnit& unit, int x, int y, int targetX, int targetY)
{
    unit.m_status |= kUnitFired;
    unit.m_status &= ~static_cast<std::uint32_t>(kUnitHidden);
    if (HexDistance(x, y, targetX, targetY) < kStarshellCloseRange)
        unit.SpendActionPoints(kStarshellCloseCost);
    else
        unit.SpendActionPoints(unit.m_type ? unit.m_type->m_fireApCost : 0);
}

void CGameDirectFire::MarkUnitsFiredAtRange(const int* positions, int count, int x, int y, int targetX, int targetY)
{
    std::vector<UnitNode*> units;
    if (!ResolvePositionsToUnits(x, y, positions, count, units))
        return;
    for (UnitNode* node : units)
        MarkUnitFiredAtRange(node->value, x, y, targetX, targetY);
}

// The fire trace.

void CGameDirectFire::SetFireTrace(
    HexSide firerSide, int firerX, int firerY, HexSide targetSide, int targetX, int targetY)
{
    m_traceFirerSide = firerSide;
    m_traceFirerHex = { firerX, firerY };
    m_traceTargetSide = targetSide;
    m_traceTargetHex = { targetX, targetY };
}

void CGameDirectFire::ResetBattleState()
{
    CGameFireValidation::ResetBattleState();
    ClearFireTrace();
}

void CGameDirectFire::ClearFireTrace()
{
    m_traceFirerHex = { -1, -1 };
    m_traceTargetHex = { -1, -1 };
}

void CGameDirectFire::RecordFireTrace(
    const int* positions, int count, int firerX, int firerY, int targetX, int targetY, int ordinal)
{
    ClearFireTrace();
    SetFireTrace(HexSide::None, firerX, firerY, HexSide::None, targetX, targetY);
    if (!IsAirTargetFor(targetX, targetY, SideInHex(firerX, firerY)) && ordinal != 0)
        if (const UnitNode* target = FindTargetUnit(targetX, targetY, ordinal))
            m_traceTargetSide = target->value.m_secondFacing;
    std::vector<UnitNode*> units;
    if (!ResolvePositionsToUnits(firerX, firerY, positions, count, units))
        return;
    for (const UnitNode* node : units) {
        const PlacedUnit& unit = node->value;
        if (!HasStatus(unit, kUnitCarried) && unit.m_type && unit.m_type->m_weapon) {
            m_traceFirerSide = unit.m_secondFacing;
            return;
        }
    }
}

bool CGameDirectFire::TraceHitsHardTarget(const PlatoonType* firerType) const
{
    if (m_traceTargetSide == HexSide::None || m_traceTargetHex.column == -1 || m_traceTargetHex.row == -1)
        return false;
    if (!firerType || IsHardType(firerType) || IsVehicleType(firerType) || (firerType->m_carryFlags & kCarryTowed) != 0
        || IsIndirectType(firerType))
        return false;
    const int x = m_traceTargetHex.column;
    const int y = m_traceTargetHex.row;
    if (!m_stacks.Contains(x, y))
        return false;
    for (const PlacedUnit& unit : m_stacks.At(x, y))
        if (unit.m_secondFacing == m_traceTargetSide)
            return IsHardType(unit.m_type);
    return false;
}

// Firing reserve.

void CGameDirectFire::ToggleUnitSaveApForFiring(PlacedUnit& unit)
{
    if (IsOptionSet(kOptionThreePhase))
        return;
    if (HasStatus(unit, kUnitSavedForFiring)) {
        unit.m_status &= ~static_cast<std::uint32_t>(kUnitSavedForFiring);
        return;
    }
    const int cost = unit.m_type ? unit.m_type->m_fireApCost : 0;
    if (cost != 0 && unit.m_actionPoints >= cost)
        unit.m_status |= kUnitSavedForFiring;
}

void CGameDirectFire::ToggleSelectionSaveApForFiring(const int* positions, int count, int x, int y)
{
    std::vector<UnitNode*> units;
    if (!ResolvePositionsToUnits(x, y, positions, count, units))
        return;
    for (UnitNode* node : units)
        ToggleUnitSaveApForFiring(node->value);
}

void CGameDirectFire::ToggleSaveApForFiring(String& out, const int* positions, int count, int x, int y)
{
    out = String();
    std::vector<UnitNode*> units;
    if (count <= 0 || !ResolvePositionsToUnits(x, y, positions, count, units))
        return;
    if (SideInHex(x, y) == OtherSide(m_map.GetSide())) {
        out = "Cannot change units from other side";
        return;
    }
    for (UnitNode* node : units)
        ToggleUnitSaveApForFiring(node->value);
}

void CGameDirectFire::ToggleGroupSaveApForFiring(int group)
{
    const int count = static_cast<int>(m_reinforcements.Count());
    if (group < 0 || group > count || count == 0)
        return;
    ReinforcementGroupList::Node* node = m_reinforcements.Head();
    if (group == 0)
        node = m_reinforcements.Last();
    else
        for (int i = 1; i < group; ++i)
            node = node->next;
    for (PlacedUnit& unit : node->value.m_units)
        ToggleUnitSaveApForFiring(unit);
}

// Engineer damage.

bool CGameDirectFire::IsEngineerReady(const PlacedUnit& unit) const
{
    const PlatoonType* type = unit.m_type;
    if (!type || unit.m_actionPoints != kFullActionPoints)
        return false;
    return (type->m_extraFlags & kExtraEngineer) != 0
        || ((type->m_extraFlags & kExtraMineSurcharge) != 0 && (type->m_moveFlags & kMoveFoot) != 0);
}

int CGameDirectFire::GetObstacleDefence(int x, int y, HexSide side) const
{
    if (!m_map.IsOnMap(x, y) || !side.IsSingleSide())
        return 1;
    const auto has = [&](int layer) { return m_map.GetFeatureLayer(x, y, layer).Contains(side); };
    if (has(kLayerHighWall) || has(kLayerHeavyBridge))
        return 4;
    if (has(kLayerMediumBridge))
        return 3;
    if (has(kLayerLightBridge))
        return 2;
    return 1;
}

bool CGameDirectFire::AttemptDamage(int x, int y, const int* positions, int count, HexSide side, bool* destroyed)
{
    if (destroyed)
        *destroyed = false;
    // Only one of the six sides can be written back as a damaged side.
    if (!side.IsSingleSide()) {
        m_damageRefusal = "No hexside has been selected for damage";
        return false;
    }
    std::vector<UnitNode*> units;
    UnitNode* engineer = nullptr;
    if (count > 0 && ResolvePositionsToUnits(x, y, positions, count, units))
        for (UnitNode* node : units)
            if (IsEngineerReady(node->value)) {
                engineer = node;
                break;
            }
    if (!engineer) {
        m_damageRefusal = "No valid engineer units have been selected for damage";
        return false;
    }
    // The points spent must not come back with an undone move.
    ClearUndo();
    PlacedUnit& unit = engineer->value;
    unit.m_actionPoints = 0;
    const int attack = ComputeFireValue(unit, x, y, x, y, false, false);
    const int defence = GetObstacleDefence(x, y, side);
    int a = 0, b = 0, c = 0;
    m_parameters.ResolveShots(attack, defence, unit.m_strength, 1.0, 0, a, b, c);
    if (a == 0)
        return true;
    m_damagedBridges.At(x, y).Add(side);
    HexPos next;
    if (m_map.GetNeighbour(side, x, y, next))
        m_damagedBridges.At(next.column, next.row).Add(side.Opposite());
    if (destroyed)
        *destroyed = true;
    return true;
}

void CGameDirectFire::DamageWallOrBridge(
    String& out, int x, int y, const int* positions, int count, HexSide side, bool* destroyed)
{
    out = String();
    if (destroyed)
        *destroyed = false;
    std::vector<UnitNode*> units;
    if (count <= 0 || !ResolvePositionsToUnits(x, y, positions, count, units)) {
        out = "No engineers have been selected for damage";
        return;
    }
    if (SideInHex(x, y) == OtherSide(m_map.GetSide())) {
        out = "Cannot attempt damage with units from other side";
        return;
    }
    if (!AttemptDamage(x, y, positions, count, side, destroyed))
        out = m_damageRefusal;
}
