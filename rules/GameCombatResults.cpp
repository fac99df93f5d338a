#include "rules/GameCombatResults.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "model/Geometry.h"
#include "model/OrgTree.h"
#include "model/PlatoonType.h"
#include "model/Random.h"

namespace {

constexpr int kNationWithCaves = 21;
constexpr int kCategoryNoWaterWreck = 6;
constexpr double kRetreatCoverFloor = 0.01;
constexpr int kRetreatActionPoints = 50;

const char* const kPassengerEliminated = "\n        Passenger Eliminated";
const char* const kPassengerReduced = "\n        Passenger Reduced";
const char* const kPassengerDisrupted = "\n        Passenger Disrupted";

void Clear(PlacedUnit& unit, std::uint32_t bits) { unit.m_status &= ~bits; }
bool IsHard(const PlacedUnit& unit) { return unit.m_type && (unit.m_type->m_targetFlags & kTargetHard) != 0; }
bool IsLeaderUnit(const PlacedUnit& unit) { return unit.m_type && unit.m_type->IsLeader(); }
bool IsInternal(const PlacedUnit& unit) { return unit.m_type && (unit.m_type->m_moveFlags & kMoveThreeApPerMove) != 0; }
const char* RiderEliminatedText(const PlacedUnit& carrier)
{
    return IsInternal(carrier) ? "\n        Internal Passenger Eliminated" : "\n        External Passenger Eliminated";
}
const char* RiderDisruptedText(const PlacedUnit& carrier)
{
    return IsInternal(carrier) ? "\n        Internal Passenger Disrupted" : "\n        External Passenger Disrupted";
}

void AppendItem(String& text, const String& item)
{
    if (!text.IsEmpty())
        text.AppendText(" ");
    text.Append(item);
}

String ReducedText(int n) { return String("Reduced by " + std::to_string(n)); }

} // namespace

int CGameCombatResults::GetFireBias(int side) const { return side == 1 ? -m_advantage : m_advantage; }

UnitNode* CGameCombatResults::UnitBelow(int x, int y, UnitNode* unit)
{
    return GetStackPosition(x, y, unit) != 0 ? unit->next : nullptr;
}

bool CGameCombatResults::IsHexFortified(int x, int y) const
{
    return m_hexFlags.Contains(x, y) && (m_hexFlags.At(x, y) & kHexFortified) != 0;
}

double CGameCombatResults::GetAdvantageFraction() const { return std::fabs(static_cast<double>(m_advantage)) / 100.0; }

void CGameCombatResults::AddWreckCapped(int x, int y, int n, bool flag)
{
    const std::int64_t cap
        = std::max<std::int64_t>(0, std::int64_t { m_parameters.m_maxStackStrength } - m_parameters.m_defenseZeroValue);
    const std::int64_t count = GetWreckValue(x, y);
    const std::int64_t room = std::max<std::int64_t>(0, cap - count);
    AddWreck(x, y, static_cast<int>(std::clamp<std::int64_t>(n, 0, room)), flag);
}

void CGameCombatResults::EliminateWithWreck(int x, int y, UnitNode* unit)
{
    const PlacedUnit& value = unit->value;
    if (IsHard(value) && !HasStatus(value, kUnitCarried)) {
        const bool flag
            = GetEffectiveTerrain(x, y) == kTerrainShallowWater && value.m_type->GetCategory() != kCategoryNoWaterWreck;
        AddWreckCapped(x, y, value.m_strength, flag);
    }
    EliminateUnit(x, y, unit);
}

void CGameCombatResults::ReduceWithWreck(int n, int x, int y, UnitNode* unit)
{
    PlacedUnit& value = unit->value;
    if (IsHard(value) && !HasStatus(value, kUnitCarried)) {
        const bool flag
            = GetEffectiveTerrain(x, y) == kTerrainShallowWater && value.m_type->GetCategory() != kCategoryNoWaterWreck;
        AddWreckCapped(x, y, n, flag);
    }
    ApplyStrengthLoss(value, n);
}

String CGameCombatResults::EliminateWithPassengers(int x, int y, UnitNode* unit)
{
    String text("Eliminated");
    const UnitNode* below = UnitBelow(x, y, unit);
    const bool carries = below && HasStatus(below->value, kUnitCarried);
    // The data layer removes the carried units below with their carrier.
    EliminateWithWreck(x, y, unit);
    if (carries)
        text.AppendText(kPassengerEliminated);
    return text;
}

String CGameCombatResults::ReduceWithPassengers(int n, int x, int y, UnitNode* unit)
{
    String text;
    const std::int64_t before = unit->value.m_strength;
    ReduceWithWreck(n, x, y, unit);
    UnitNode* below = UnitBelow(x, y, unit);
    if (!below || !HasStatus(below->value, kUnitCarried) || IsLeaderUnit(below->value) || before <= 0)
        return text;
    const std::int64_t p = below->value.m_strength;
    const std::int64_t k = std::int64_t { n } * p / before;
    if (k >= p) {
        EliminateWithWreck(x, y, below);
        Clear(unit->value, kUnitCarrying);
        text.AppendText(kPassengerEliminated);
    } else if (k > 0) {
        ReduceWithWreck(static_cast<int>(k), x, y, below);
        text.AppendText(kPassengerReduced);
    }
    return text;
}

String CGameCombatResults::DisruptWithPassengers(int x, int y, UnitNode* unit)
{
    String text;
    PlacedUnit& value = unit->value;
    if (!value.m_type || !value.m_type->NeedsPassengerToMove())
        value.m_status |= kUnitDisrupted;
    Clear(value, kUnitDiggingIn);
    UnitNode* below = UnitBelow(x, y, unit);
    if (!below || !HasStatus(below->value, kUnitCarried) || IsLeaderUnit(below->value))
        return text;
    if (value.m_type && value.m_type->IsCarrier()) {
        below->value.m_status |= kUnitDisrupted;
        text.AppendText(kPassengerDisrupted);
    } else {
        EliminateWithWreck(x, y, below);
        Clear(value, kUnitCarrying);
        text.AppendText(RiderEliminatedText(value));
    }
    return text;
}

bool CGameCombatResults::EliminateResult(String& text, int x, int y, UnitNode* unit)
{
    AppendItem(text, EliminateWithPassengers(x, y, unit));
    return true;
}

void CGameCombatResults::ReduceResult(String& text, int n, int x, int y, UnitNode* unit)
{
    String item = ReducedText(n);
    item.Append(ReduceWithPassengers(n, x, y, unit));
    AppendItem(text, item);
}

bool CGameCombatResults::PassesMoraleCheck(const PlacedUnit& unit, int x, int y) const
{
    return RollDie(10) <= GetRecoveryMorale(unit, x, y);
}

bool CGameCombatResults::LoseMoraleStep(PlacedUnit& unit) const
{
    if (!IsOptionSet(kOptionCombatResults) && UniformRandom() >= 0.35)
        return true;
    --unit.m_rating;
    return unit.m_rating > 0;
}

bool CGameCombatResults::MoraleAfterLoss(String& text, int x, int y, UnitNode* unit, bool retreatAllowed)
{
    if (!LoseMoraleStep(unit->value))
        return EliminateResult(text, x, y, unit);
    return DisruptResult(text, x, y, unit, retreatAllowed);
}

void CGameCombatResults::PlainDisruption(String& text, int x, int y, UnitNode* unit)
{
    String item("Disrupted");
    item.Append(DisruptWithPassengers(x, y, unit));
    AppendItem(text, item);
}

bool CGameCombatResults::CanBeDrivenOff(const PlacedUnit& unit, int x, int y) const
{
    return unit.m_type && unit.m_type->m_movementAllowance != 0 && !IsHexFortified(x, y);
}

bool CGameCombatResults::RetreatOrLose(String& text, int x, int y, UnitNode* unit)
{
    if (RetreatMove(x, y, unit)) {
        AppendItem(text, "Retreated");
        return true;
    }
    if (unit->value.m_strength > 1) {
        ReduceResult(text, 1, x, y, unit);
        return true;
    }
    return EliminateResult(text, x, y, unit);
}

bool CGameCombatResults::DisruptResult(String& text, int x, int y, UnitNode* unit, bool retreatAllowed)
{
    PlacedUnit& value = unit->value;
    if (!retreatAllowed || (IsOptionSet(kOptionCombatResults) && !HasStatus(value, kUnitDisrupted))
        || PassesMoraleCheck(value, x, y)) {
        PlainDisruption(text, x, y, unit);
        return false;
    }
    if (!LoseMoraleStep(value))
        return EliminateResult(text, x, y, unit);
    if (CanBeDrivenOff(value, x, y))
        return RetreatOrLose(text, x, y, unit);
    PlainDisruption(text, x, y, unit);
    return false;
}

bool CGameCombatResults::RetreatResult(String& text, int x, int y, UnitNode* unit, bool retreatAllowed)
{
    PlacedUnit& value = unit->value;
    if (PassesMoraleCheck(value, x, y)) {
        AppendItem(text, "No Effect");
        return false;
    }
    if (!LoseMoraleStep(value))
        return EliminateResult(text, x, y, unit);
    if (!CanBeDrivenOff(value, x, y)) {
        PlainDisruption(text, x, y, unit);
        return false;
    }
    if (!retreatAllowed) {
        PlainDisruption(text, x, y, unit);
        return true;
    }
    return RetreatOrLose(text, x, y, unit);
}

void CGameCombatResults::ApplyPassengerFire(String& text, int a2, int b2, int x, int y, UnitNode* unit)
{
    PlacedUnit& value = unit->value;
    if (!HasStatus(value, kUnitCarrying) || !value.m_type || value.m_type->IsCarrier())
        return;
    UnitNode* rider = UnitBelow(x, y, unit);
    if (!rider || IsLeaderUnit(rider->value))
        return;
    const int p = rider->value.m_strength;
    const auto eliminate = [&] {
        EliminateWithWreck(x, y, rider);
        Clear(value, kUnitCarrying);
        text.AppendText(RiderEliminatedText(value));
    };
    if (a2 >= p) {
        eliminate();
        return;
    }
    const bool hit = UniformRandom() * p <= b2;
    if (a2 == 0) {
        if (hit) {
            rider->value.m_status |= kUnitDisrupted;
            text.AppendText(RiderDisruptedText(value));
        }
        return;
    }
    if (!hit) {
        ReduceResult(text, a2, x, y, rider);
        return;
    }
    if (!LoseMoraleStep(rider->value)) {
        eliminate();
        return;
    }
    ReduceResult(text, a2, x, y, rider);
    rider->value.m_status |= kUnitDisrupted;
    text.AppendText(RiderDisruptedText(value));
}

bool CGameCombatResults::ApplyFireResult(String& text, int attack, int shots, int passengerAttack, int defence, int x,
    int y, UnitNode* unit, double modifier, bool retreatAllowed, bool disableAllowed)
{
    if (!unit)
        return false;
    // Undo takes back moves only, never a result.
    ClearUndo();
    PlacedUnit& value = unit->value;
    const int side = value.m_type ? value.m_type->GetSide() : 0;
    if (side != m_map.GetSide() || !disableAllowed)
        Clear(value, kUnitFixed);
    if (IsLeaderUnit(value))
        return ResolveLeaderHit(text, attack, shots, defence, x, y, unit, modifier);

    const int bias = GetFireBias(side);
    int a = 0, b = 0, c = 0;
    m_parameters.ResolveShots(attack, defence, shots, modifier, bias, a, b, c);
    int a2 = 0, b2 = 0, c2 = 0;
    m_parameters.ResolveShots(passengerAttack, 1, shots, modifier, bias, a2, b2, c2);

    const int strength = value.m_strength;
    if (a >= strength)
        return EliminateResult(text, x, y, unit);
    const bool disrupted = UniformRandom() * strength <= b;
    const bool retreat = UniformRandom() * strength <= c;
    const bool optionResults = IsOptionSet(kOptionCombatResults);
    if (a > 0) {
        ReduceResult(text, a, x, y, unit);
        if (!optionResults || disrupted)
            return MoraleAfterLoss(text, x, y, unit, retreatAllowed);
        return false;
    }
    if (disrupted)
        return DisruptResult(text, x, y, unit, retreatAllowed);
    if (!optionResults && retreat)
        return RetreatResult(text, x, y, unit, retreatAllowed);
    if (disableAllowed && IsHard(value) && strength > 1 && UniformRandom() < 0.01) {
        AddWreckCapped(x, y, 1, false);
        ApplyStrengthLoss(value, 1);
        AppendItem(text, "Disabled");
        return false;
    }
    AppendItem(text, "No Effect");
    ApplyPassengerFire(text, a2, b2, x, y, unit);
    return false;
}

bool CGameCombatResults::ResolveLeaderHit(
    String& text, int attack, int shots, int defence, int x, int y, UnitNode* leader, double modifier)
{
    if (!leader)
        return false;
    ClearUndo();
    PlacedUnit& value = leader->value;
    Clear(value, kUnitFixed);
    int a = 0, b = 0, c = 0;
    m_parameters.ResolveShots(
        attack, defence, shots, modifier, GetFireBias(value.m_type ? value.m_type->GetSide() : 0), a, b, c);
    double percent = m_parameters.m_value102;
    // A leader with no unit to hide among is far easier to hit.
    if (CountStackUnits(x, y) == 0)
        percent *= 5;
    if (a * percent / 100.0 <= UniformRandom()) {
        AppendItem(text, "No Effect");
        return false;
    }
    return EliminateResult(text, x, y, leader);
}

bool CGameCombatResults::ResolveAirDefenceFire(String& text, int attack, int shots, int defence, int x, int y)
{
    if (!m_airStrikeValue.Contains(x, y) || !m_hexFlags.Contains(x, y))
        return false;
    ClearUndo();
    const int bias = m_airStrikeSide.At(x, y) == 1 ? -m_advantage : m_advantage;
    int a = 0, b = 0, c = 0;
    m_parameters.ResolveShots(attack, defence, shots, 1.0, bias, a, b, c);
    int& strike = m_airStrikeValue.At(x, y);
    int& flags = m_hexFlags.At(x, y);
    const auto eliminate = [&] {
        strike = 0;
        flags &= ~static_cast<int>(kHexRulesMark);
        AppendItem(text, "Eliminated");
        return true;
    };
    if (a >= strike)
        return eliminate();
    if (a > 0) {
        strike -= a;
        AppendItem(text, ReducedText(a));
    }
    if (b < UniformRandom() * strike) {
        if (a == 0)
            AppendItem(text, "No Effect");
        return false;
    }
    if ((flags & kHexRulesMark) == 0) {
        flags |= kHexRulesMark;
        AppendItem(text, "Disrupted");
        return false;
    }
    return eliminate();
}

bool CGameCombatResults::RetreatMove(int x, int y, UnitNode* unit)
{
    const int position = unit ? GetStackPosition(x, y, unit) : 0;
    if (position == 0)
        return false;
    PlacedUnit& value = unit->value;
    const PlatoonType* type = value.m_type;
    if (!type)
        return false;
    std::vector<int> positions { position };
    if (HasStatus(value, kUnitCarrying) && unit->next)
        positions.push_back(position + 1);
    if (!IsLeaderUnit(value) && !HasStatus(value, kUnitCarried) && !HasStatus(value, kUnitCarrying)
        && CountStackUnits(x, y) == 1) {
        int p = 1;
        for (const UnitNode* node = m_stacks.At(x, y).Head(); node; node = node->next, ++p)
            if (node != unit && IsLeaderUnit(node->value) && !HasStatus(node->value, kUnitCarried))
                positions.push_back(p);
    }

    const int flags = m_hexFlags.At(x, y);
    if (HasStatus(value, kUnitBanzai))
        return false;
    if (type->GetNation() == kNationWithCaves && (flags & kHexCave) != 0)
        return false;
    Clear(value, kUnitDiggingIn);
    const bool frozen = m_terrain.water == TerrainConditions::kFrozen;
    if ((flags & kHexFortified) != 0 || (type->m_carryFlags & 0x4) != 0)
        return false;
    const int here = GetEffectiveTerrain(x, y);
    if (here == kTerrainWater && !frozen)
        return false;

    const int side = type->GetSide();
    const int enemy = 1 - side;
    const int current = GetDistanceToKnownEnemy(x, y, side);
    const HexSide directions[] = { HexSide::North, HexSide::NorthEast, HexSide::SouthEast, HexSide::South,
        HexSide::SouthWest, HexSide::NorthWest };
    bool equalAllowed = true;
    for (HexSide direction : directions) {
        HexPos next;
        if (m_map.GetNeighbour(direction, x, y, next) && GetDistanceToKnownEnemy(next.column, next.row, side) > current)
            equalAllowed = false;
    }

    RandomGeneratorPtr random = RandomGeneratorPtr::InitTimeSeeded();
    int candidates = 1;
    bool found = false;
    HexPos best;
    for (HexSide direction : directions) {
        HexPos next;
        if (!m_map.GetNeighbour(direction, x, y, next))
            continue;
        const int nx = next.column, ny = next.row;
        const int distance = GetDistanceToKnownEnemy(nx, ny, side);
        if (!(distance > current || (distance == current && equalAllowed)))
            continue;
        const int nextFlags = m_hexFlags.At(nx, ny);
        if ((nextFlags & (kHexMinefield1 | kHexMinefield2 | kHexMinefield3)) != 0)
            continue;
        if (SideInHex(nx, ny) == enemy)
            continue;
        const int there = GetEffectiveTerrain(nx, ny);
        if (!frozen && (there == kTerrainShallowWater || (here == kTerrainShallowWater && there == kTerrainWater)))
            continue;
        // A retreat is forced, not ordered: action points do not hold it back.
        if (!CanMoveStack(x, y, nx, ny, positions.data(), static_cast<int>(positions.size()), false))
            continue;
        double cover = m_parameters.GetTerrainPercentFor(there, value);
        if ((nextFlags & (kHexImprovedPosition | kHexBunker | kHexTrench | kHexPillbox)) != 0)
            cover = cover * m_parameters.m_value61 / 100.0;
        if ((nextFlags & kHexCave) != 0)
            cover *= 0.5;
        if ((nextFlags & kHexTrench) != 0)
            cover = cover * m_parameters.m_value61 / 100.0;
        // No cover still ends the draws after a bounded number of them.
        if (!(cover > 0.0))
            cover = kRetreatCoverFloor;
        bool selected = false;
        while (cover <= 1.0 && !selected) {
            selected = random->Next() < 1.0 / candidates;
            ++candidates;
            cover *= 1.1;
        }
        if (selected) {
            found = true;
            best = next;
        }
    }
    if (!found)
        return false;
    if (!IsOptionSet(kOptionThreePhase)) {
        std::vector<UnitNode*> units;
        if (ResolvePositionsToUnits(x, y, positions.data(), static_cast<int>(positions.size()), units))
            for (UnitNode* node : units)
                node->value.SpendActionPoints(kRetreatActionPoints);
    }
    // A result is never taken back: the retreat leaves no undo record.
    ClearUndo();
    if (!MoveUnitsBetweenHexes(x, y, best.column, best.row, positions.data(), static_cast<int>(positions.size())))
        return false;
    // The enemy may see the unit where it stands now.
    IsHexSpottedByEnemy(best.column, best.row);
    return true;
}

int CGameCombatResults::GetStackMorale(const PlacedUnit& unit, int x, int y) const
{
    int morale = unit.m_rating;
    if (!m_map.IsOnMap(x, y) || !m_stacks.Contains(x, y) || !unit.m_node)
        return std::min(morale, 10);
    int best = 0;
    bool any = false;
    for (const UnitNode* node = m_stacks.At(x, y).Head(); node; node = node->next) {
        const PlacedUnit& other = node->value;
        if (&other == &unit || !IsLeaderUnit(other))
            continue;
        const OrgNode* command = other.GetCommandNode();
        if (!command || !command->IsAncestorOf(unit.m_node))
            continue;
        if (!any || other.m_rating > best)
            best = other.m_rating;
        any = true;
    }
    if (any) {
        if (best > morale)
            morale = best;
        else if (best != 0)
            morale = morale + 1;
    }
    return std::min(morale, 10);
}

int CGameCombatResults::GetCoverMoraleBonus(const PlacedUnit& unit, int x, int y) const
{
    if (!m_map.IsOnMap(x, y) || HasStatus(unit, kUnitBanzai) || !m_hexFlags.Contains(x, y))
        return 0;
    const int terrain = GetEffectiveTerrain(x, y);
    const bool vehicle = unit.m_type && unit.m_type->IsVehicle();
    std::int64_t bonus = 0;
    if (terrain >= 0 && terrain < ParameterData::kTerrainTypes
        && !((IsHard(unit) && terrain == kTerrainOpen) || (vehicle && terrain == kTerrainBuilding)))
        bonus = m_parameters.m_terrainValue2[terrain];
    const int flags = m_hexFlags.At(x, y);
    if ((flags & kHexImprovedPosition) != 0)
        bonus += m_parameters.m_value132;
    if ((flags & kHexTrench) != 0)
        bonus += m_parameters.m_value133;
    if ((flags & kHexFortified) != 0)
        bonus += m_parameters.m_value134;
    if (unit.m_type && unit.m_type->GetNation() == kNationWithCaves && (unit.m_type->m_moveFlags & kMoveFoot) != 0
        && (flags & kHexCave) != 0)
        bonus += 2;
    return static_cast<int>(std::clamp<std::int64_t>(bonus, INT32_MIN, m_parameters.m_value135));
}

int CGameCombatResults::GetRecoveryMorale(const PlacedUnit& unit, int x, int y) const
{
    return GetStackMorale(unit, x, y) + GetCoverMoraleBonus(unit, x, y);
}

bool CGameCombatResults::IsInCommand(const PlacedUnit& unit, int x, int y) const
{
    if (!IsOptionSet(kOptionCommandControl))
        return true;
    if (!unit.m_node)
        return false;
    const int range = static_cast<int>(
        std::int64_t { m_parameters.GetNationPercent(unit.m_node->GetNation(), m_orgTree.m_battleYear) } * 4 / 100);
    if (range < 0)
        return false;
    int minX = 0, maxX = -1, minY = 0, maxY = -1;
    ClipSquareToMap(x, y, range, minX, maxX, minY, maxY);
    for (int cx = minX; cx <= maxX; ++cx)
        for (int cy = minY; cy <= maxY; ++cy) {
            if (HexDistance(x, y, cx, cy) > range || !m_stacks.Contains(cx, cy))
                continue;
            for (const UnitNode* node = m_stacks.At(cx, cy).Head(); node; node = node->next) {
                const OrgNode* other = node->value.m_node;
                if (other && other->IsFirstNonLeaderOfCompany() && other->m_parent == unit.m_node->m_parent)
                    return true;
            }
        }
    return false;
}

bool CGameCombatResults::RollRecovery(UnitNode* unit, int x, int y)
{
    if (!unit)
        return false;
    PlacedUnit& value = unit->value;
    const int morale = GetRecoveryMorale(value, x, y);
    const int most = value.m_node ? value.m_node->m_rating : 6;
    const int roll = RollDie(10);
    if (roll > morale - (IsInCommand(value, x, y) ? 0 : 1))
        return false;
    if (value.m_rating >= most) {
        Clear(value, kUnitDisrupted);
        return true;
    }
    ++value.m_rating;
    return false;
}
