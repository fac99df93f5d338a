#include "rules/GameFireValidation.h"

#include <cstdint>
#include <string>
#include <vector>

#include "model/Geometry.h"
#include "model/HexMap.h"
#include "model/PlacedUnit.h"
#include "model/PlatoonType.h"

namespace {

constexpr int kPhaseInitial = 0;
constexpr int kPhaseFinal = 2;
// The nation whose foot units fight from caves.
constexpr int kCaveNation = 21;
// Types of this category digit cannot fire from shallow water.
constexpr int kCategoryNoShallowWaterFire = 1;
// Action points a starshell costs, unless artillery fires it from afar.
constexpr int kStarshellCost = 20;
constexpr int kStarshellArtilleryDistance = 3;

constexpr const char* kNoSelectionText = "No units have been selected to fire";
constexpr const char* kNoValidFirerText = "No valid firing units specified";
constexpr const char* kOtherSideText = "Cannot fire using units from other side";
constexpr const char* kOwnSideText = "Cannot fire on units from own side";
constexpr const char* kJungleIndirectText = "No Indirect Fire allowed from Dense Jungle hex";
constexpr const char* kWaterText = "Unit cannot fire from Water";
constexpr const char* kShallowWaterText = "Unit cannot fire from shallow water";
constexpr const char* kCaveText = "Unit cannot fire from Cave hex";
constexpr const char* kMovedText = "Units that have moved cannot fire in same phase";
constexpr const char* kFiredText = "Cannot fire using unit that has already fired";
constexpr const char* kAssaultingText = "Unit that is assaulting cannot fire";
constexpr const char* kNotCapableText = "Unit is not capable of firing";
constexpr const char* kActionPointsText = "Unit does not have enough Action Points to fire";
constexpr const char* kUnavailableText = "Firing unit is unavailable";
constexpr const char* kLoadedText = "Non-carrier cannot fire while loaded";
constexpr const char* kCarriedText = "Cannot fire while being carried";
constexpr const char* kJungleAaText = "AA fire not allowed from Dense Jungle hex";
constexpr const char* kNotAaText = "Unit is not capable of antiaircraft fire";
constexpr const char* kNoAirTargetText = "No valid air target exists in hex";
constexpr const char* kEmptyHexText = "Cannot fire on empty or unknown hex";
constexpr const char* kCannotSpotText = "Cannot spot target hex with friendly unit";
constexpr const char* kInitialPhaseText = "Indirect fire can only be performed in Intial Phase";
constexpr const char* kFinalPhaseText = "Delayed indirect fire can only be performed in Final Phase";
constexpr const char* kNotNightText = "Can only fire starshells during night scenarios";
constexpr const char* kNoStarshellsText = "No starshells available for current side";
constexpr const char* kLeaderStarshellText = "Leader cannot fire starshell alone";
constexpr const char* kOneStarshellText = "Only one unit can fire starshell at a time";
constexpr const char* kStarshellAmmoText = "No starshell ammo available";
constexpr const char* kStarshellApText = "Unit does not have enough Action Points to fire starshell";
constexpr const char* kStarshellNotCapableText = "Unit is not capable of firing starshell";
constexpr const char* kStarshellRangeText = "Range exceeds range for firing starshells";
constexpr const char* kNoSmokeText = "No smoke ammunition available";
constexpr const char* kSmokeThereText = "Target hex already contains smoke";
constexpr const char* kSmokeUnseenText = "Target hex cannot be seen by this side";
constexpr const char* kSmokeNotCapableText = "Firing unit not capable of firing smoke";
constexpr const char* kAirPhaseText = "Air attacks can only be initiated in Initial Phase";
constexpr const char* kDelayedAirPhaseText = "Delayed air attacks can only be initiated in Final Phase";
constexpr const char* kNoAirPointsText = "No air points available to assign to air attack";
constexpr const char* kAirJungleText = "No air strikes allowed in Dense Jungle hexes";
constexpr const char* kAirTargetedText = "Hex is already targeted for air attack";
constexpr const char* kAirSameSideText = "Cannot initiate Air Attack on same side";

bool HasTargetFlag(const PlatoonType* type, std::uint32_t flag) { return type && (type->m_targetFlags & flag) != 0; }
bool HasMoveFlag(const PlatoonType* type, std::uint32_t flag) { return type && (type->m_moveFlags & flag) != 0; }
bool HasExtraFlag(const PlatoonType* type, std::uint32_t flag) { return type && (type->m_extraFlags & flag) != 0; }
bool IsIndirectCapable(const PlatoonType* type) { return HasTargetFlag(type, kTargetIndirect); }
bool IsHardType(const PlatoonType* type) { return HasTargetFlag(type, kTargetHard); }
bool IsLeaderType(const PlatoonType* type) { return type && type->IsLeader(); }
bool IsCarrierType(const PlatoonType* type) { return type && type->IsCarrier(); }
// A foot unit of the cave nation: the cave rules apply to it.
bool IsCaveFighter(const PlatoonType* type) { return HasMoveFlag(type, kMoveFoot) && type->GetNation() == kCaveNation; }
int SideOfType(const PlatoonType* type) { return type ? type->GetSide() : -1; }
// A non-carrier carrying riders (say, infantry riding a tank): its riders
// make it a soft target.
bool CarriesRidersExposed(const PlacedUnit& unit)
{
    return (unit.m_status & kUnitCarrying) != 0 && !IsCarrierType(unit.m_type);
}

} // namespace

bool CGameFireValidation::RefuseFire(const String& text)
{
    if (m_reportRefusal != 0)
        m_fireRefusal = text;
    return false;
}

int CGameFireValidation::HexFlagsAt(int x, int y) const { return m_hexFlags.Contains(x, y) ? m_hexFlags.At(x, y) : 0; }

bool CGameFireValidation::HasAirStrike(int x, int y) const
{
    return m_airStrikeValue.Contains(x, y) && m_airStrikeValue.At(x, y) != 0;
}

bool CGameFireValidation::IsUnrevealedCave(int x, int y) const
{
    const int flags = HexFlagsAt(x, y);
    return (flags & kHexCave) != 0 && (flags & kHexCaveRevealed) == 0;
}

// Command twins.

String CGameFireValidation::CheckFireOrder(
    const int* positions, int count, int firerX, int firerY, int targetX, int targetY)
{
    return TwinText(CheckFiringUnits(positions, count, firerX, firerY, targetX, targetY, 1));
}

String CGameFireValidation::CheckSupportFireOrder(
    const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY)
{
    return TwinText(CheckFireSides(unit, firerX, firerY, targetX, targetY, 1));
}

String CGameFireValidation::CheckAirAttackOrder(int x, int y) { return TwinText(CheckAirAttack(x, y, 1)); }

String CGameFireValidation::CheckSmokeOrder(const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY)
{
    return TwinText(CheckSmokeFire(unit, firerX, firerY, targetX, targetY, 1));
}

const char* CGameFireValidation::CheckStarshellBattle() const
{
    if (m_night == 0)
        return kNotNightText;
    const int side = m_map.GetSide();
    if (!IsSide(side) || m_starshells[side] <= 0)
        return kNoStarshellsText;
    return nullptr;
}

String CGameFireValidation::CheckStarshellOrder(
    const int* positions, int count, int firerX, int firerY, int targetX, int targetY)
{
    if (const char* refusal = CheckStarshellBattle())
        return refusal;
    // A refused selection is answered as an empty one.
    std::vector<const UnitNode*> units;
    if (count > 0)
        ResolvePositionsToUnits(firerX, firerY, positions, count, units);
    int nonLeaders = 0;
    for (const UnitNode* node : units) {
        if (!IsLeaderType(node->value.m_type))
            ++nonLeaders;
        if (!CheckStarshellUnit(node->value, firerX, firerY, targetX, targetY, 1))
            return m_fireRefusal;
    }
    if (nonLeaders == 0)
        return kLeaderStarshellText;
    if (nonLeaders > 1)
        return kOneStarshellText;
    return String();
}

String CGameFireValidation::CheckStarshellMission(
    const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY)
{
    if (const char* refusal = CheckStarshellBattle())
        return refusal;
    if (IsLeaderType(unit.m_type))
        return kLeaderStarshellText;
    return TwinText(CheckStarshellUnit(unit, firerX, firerY, targetX, targetY, 1));
}

// Direct and artillery fire.

bool CGameFireValidation::CheckFiringUnits(
    const int* positions, int count, int firerX, int firerY, int targetX, int targetY, int report)
{
    StoreReportFlag(report);
    std::vector<const UnitNode*> units;
    if (count <= 0 || !ResolvePositionsToUnits(firerX, firerY, positions, count, units))
        return RefuseFire(kNoSelectionText);
    bool anyPassed = false;
    for (const UnitNode* node : units) {
        const PlacedUnit& unit = node->value;
        if ((unit.m_status & kUnitCarried) != 0 || IsLeaderType(unit.m_type))
            continue;
        if (!CheckFireSides(unit, firerX, firerY, targetX, targetY, report))
            return false;
        anyPassed = true;
    }
    return anyPassed || RefuseFire(kNoValidFirerText);
}

bool CGameFireValidation::CheckFireSides(
    const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY, int report)
{
    StoreReportFlag(report);
    const int side = m_map.GetSide();
    const bool onMap = IsFirerOnMap(firerX, firerY);
    if (onMap && SideInHex(firerX, firerY) != side)
        return RefuseFire(kOtherSideText);
    if (SideInHex(targetX, targetY) == side) {
        // Fire on an own hex: at an enemy air strike over it, or plotted
        // indirect fire.
        const bool atAirStrike = IsThreePhaseTurns() && HasAirStrike(targetX, targetY);
        const bool plotted = IsIndirectCapable(unit.m_type) && IsOptionSet(kOptionPlottedIndirectFire);
        if (!atAirStrike && !plotted)
            return RefuseFire(kOwnSideText);
    }
    if (onMap && GetEffectiveTerrain(firerX, firerY) == kTerrainJungle && IsIndirectCapable(unit.m_type))
        return RefuseFire(kJungleIndirectText);
    return CheckFireTarget(unit, firerX, firerY, targetX, targetY, report, false);
}

bool CGameFireValidation::CheckFirerTerrain(const PlacedUnit& unit, int firerX, int firerY, bool indirect)
{
    if (!CheckUnitCanFire(unit))
        return false;
    if (!IsFirerOnMap(firerX, firerY))
        return true;
    const PlatoonType* type = unit.m_type;
    const int terrain = GetEffectiveTerrain(firerX, firerY);
    if (IsOpenWater(firerX, firerY) && !HasTargetFlag(type, kTargetFiresFromWater))
        return RefuseFire(kWaterText);
    if (terrain == kTerrainShallowWater && type && type->GetCategory() == kCategoryNoShallowWaterFire)
        return RefuseFire(kShallowWaterText);
    if (terrain == kTerrainJungle && indirect)
        return RefuseFire(kJungleIndirectText);
    if ((HexFlagsAt(firerX, firerY) & kHexCave) != 0 && indirect && IsCaveFighter(type))
        return RefuseFire(kCaveText);
    return true;
}

bool CGameFireValidation::CheckUnitCanFire(const PlacedUnit& unit)
{
    const PlatoonType* type = unit.m_type;
    const bool threePhase = IsThreePhaseTurns();
    if (threePhase && (unit.m_status & kUnitMoved) != 0)
        return RefuseFire(kMovedText);
    if (threePhase && (unit.m_status & kUnitFired) != 0)
        return RefuseFire(kFiredText);
    if ((unit.m_status & kUnitInAssault) != 0)
        return RefuseFire(kAssaultingText);
    if (GetMaximumRange(type) == 0)
        return RefuseFire(kNotCapableText);
    if (!threePhase && !CanAffordMove(unit, type->m_fireApCost, 0))
        return RefuseFire(kActionPointsText);
    if ((unit.m_status & kUnitUnavailable) != 0 || (IsIndirectCapable(type) && (unit.m_status & kUnitLowAmmo) != 0))
        return RefuseFire(kUnavailableText);
    if ((unit.m_status & kUnitCarrying) != 0 && !type->IsCarrier() && !HasMoveFlag(type, kMoveFiresWhileLoaded))
        return RefuseFire(kLoadedText);
    if ((unit.m_status & kUnitCarried) != 0)
        return RefuseFire(kCarriedText);
    return true;
}

bool CGameFireValidation::CheckFireTarget(
    const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY, int report, bool antiAircraft)
{
    StoreReportFlag(report);
    if (!CheckFirerTerrain(unit, firerX, firerY, false))
        return false;
    const PlatoonType* type = unit.m_type;
    const int side = SideOfType(type);
    const bool onMap = IsFirerOnMap(firerX, firerY);
    if (antiAircraft) {
        if (onMap && (HexFlagsAt(firerX, firerY) & kHexCave) != 0 && IsCaveFighter(type))
            return RefuseFire(kCaveText);
        if (onMap && GetEffectiveTerrain(firerX, firerY) == kTerrainJungle)
            return RefuseFire(kJungleAaText);
        if (!IsAirTargetFor(targetX, targetY, side))
            return RefuseFire(kNoAirTargetText);
        if (!HasTargetFlag(type, kTargetAntiAircraft))
            return RefuseFire(kNotAaText);
        // The indirect-fire refusal keeps the jungle text, as players know it.
        if (MustFireIndirectly(unit, firerX, firerY, targetX, targetY))
            return RefuseFire(kJungleIndirectText);
    } else if (!MustFireIndirectly(unit, firerX, firerY, targetX, targetY)) {
        if (!HexHasUnits(targetX, targetY))
            return RefuseFire(kEmptyHexText);
        if (IsUnrevealedCave(targetX, targetY) && NationInHex(targetX, targetY) == kCaveNation)
            return RefuseFire(kEmptyHexText);
        if (!CheckLineOfSight(firerX, firerY, targetX, targetY, m_reportRefusal))
            return RefuseFire(m_reason);
    } else {
        const bool threePhase = IsThreePhaseTurns();
        const bool plotted = IsOptionSet(kOptionPlottedIndirectFire);
        if (GetEnemyContact(targetX, targetY) != kContactArmed
            && ((threePhase && !plotted) || !CanSideSeeHex(targetX, targetY, side, 0))
            && !IsOptionSet(kOptionIndirectFireByMap))
            return RefuseFire(kCannotSpotText);
        if (threePhase && !plotted && m_map.GetPhase() != kPhaseInitial)
            return RefuseFire(kInitialPhaseText);
        if (threePhase && plotted && m_map.GetPhase() != kPhaseFinal)
            return RefuseFire(kFinalPhaseText);
    }

    const int distance = HexDistance(firerX, firerY, targetX, targetY);
    const int softRange = GetMaxRangeVsSoft(type);
    const int hardRange = GetMaxRangeVsHard(type);
    const int maximumRange = GetMaximumRange(type);
    // Either kind of target within its range allows the fire.
    if (!HexHasHardTarget(targetX, targetY) && distance > softRange)
        return RefuseFire(GetRangeExceededText(softRange, distance));
    if (!IsSoftTargetHex(targetX, targetY) && distance > hardRange)
        return RefuseFire(GetRangeExceededText(hardRange, distance));
    if (distance > maximumRange)
        return RefuseFire(GetRangeExceededText(maximumRange, distance));
    const int minimumRange = GetMinimumRange(type);
    if (distance == 0 || distance >= minimumRange)
        return true;
    return RefuseFire(GetRangeExceededText(minimumRange, distance));
}

// Air attack, smoke and starshell.

bool CGameFireValidation::CheckAirAttack(int x, int y, int report)
{
    StoreReportFlag(report);
    const int side = m_map.GetSide();
    const bool threePhase = IsThreePhaseTurns();
    const bool delayed = IsOptionSet(kOptionAirInFinalPhase);
    if (threePhase && !delayed && m_map.GetPhase() != kPhaseInitial)
        return RefuseFire(kAirPhaseText);
    if (threePhase && delayed && m_map.GetPhase() != kPhaseFinal)
        return RefuseFire(kDelayedAirPhaseText);
    if (!IsSide(side) || m_airPower[side] <= 0)
        return RefuseFire(kNoAirPointsText);
    if (GetEffectiveTerrain(x, y) == kTerrainJungle)
        return RefuseFire(kAirJungleText);
    if (HasAirStrike(x, y) && m_airStrikeSide.At(x, y) == side)
        return RefuseFire(kAirTargetedText);
    if (threePhase && !delayed && SideInHex(x, y) == side)
        return RefuseFire(kAirSameSideText);
    if (GetEnemyContact(x, y) == kContactArmed)
        return true;
    if (!threePhase && CanSideSeeHex(x, y, side, 1))
        return true;
    return RefuseFire(kCannotSpotText);
}

bool CGameFireValidation::CheckSmokeFire(
    const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY, int report)
{
    StoreReportFlag(report);
    const PlatoonType* type = unit.m_type;
    const int side = SideOfType(type);
    const bool indirect = IsIndirectCapable(type);
    if (IsFirerOnMap(firerX, firerY) && side != m_map.GetSide())
        return RefuseFire(kOtherSideText);
    if ((indirect || HasExtraFlag(type, kExtraSmokeRounds)) && (!IsSide(side) || m_smoke[side] < 1))
        return RefuseFire(kNoSmokeText);
    if ((!IsOptionSet(kOptionPlottedIndirectFire) || !indirect) && HasSmoke(targetX, targetY))
        return RefuseFire(kSmokeThereText);
    if (GetEnemyContact(targetX, targetY) != kContactArmed && !CanSideSeeHex(targetX, targetY, side, 1)
        && !IsOptionSet(kOptionIndirectFireByMap) && indirect)
        return RefuseFire(kSmokeUnseenText);
    const int distance = HexDistance(firerX, firerY, targetX, targetY);
    const int smokeRange = GetSmokeRange(type);
    if (!HasTargetFlag(type, kTargetSmokeAnyRange)
        && (distance > smokeRange || (distance == 0 && !HasExtraFlag(type, kExtraSmokeRounds))))
        return RefuseFire(kSmokeNotCapableText);
    if (!CheckUnitCanFire(unit))
        return false;
    const int softRange = GetMaxRangeVsSoft(type);
    if (distance <= softRange || distance <= smokeRange)
        return true;
    return RefuseFire(GetRangeExceededText(softRange, distance));
}

bool CGameFireValidation::CheckStarshellUnit(
    const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY, int report)
{
    StoreReportFlag(report);
    const PlatoonType* type = unit.m_type;
    const int side = SideOfType(type);
    const bool indirect = IsIndirectCapable(type);
    if (IsFirerOnMap(firerX, firerY) && side != m_map.GetSide())
        return RefuseFire(kOtherSideText);
    if (!IsSide(side) || m_starshells[side] <= 0)
        return RefuseFire(kStarshellAmmoText);
    const int distance = HexDistance(firerX, firerY, targetX, targetY);
    const int cost = indirect && distance >= kStarshellArtilleryDistance ? type->m_fireApCost : kStarshellCost;
    if (!CanAffordMove(unit, cost, 0))
        return RefuseFire(kStarshellApText);
    if (IsLeaderType(type))
        return true;
    if (GetMaximumRange(type) == 0)
        return RefuseFire(kStarshellNotCapableText);
    const int softRange = GetMaxRangeVsSoft(type);
    // Artillery lights up to half its soft range, rounded up; other units
    // only close by.
    if (indirect && distance > softRange / 2 + softRange % 2)
        return RefuseFire(kStarshellRangeText);
    if (indirect || distance < kStarshellArtilleryDistance)
        return true;
    return RefuseFire(kStarshellRangeText);
}

// Queries.

bool CGameFireValidation::IsTargetInRange(
    const PlacedUnit& firer, int firerX, int firerY, const PlacedUnit& target, int targetX, int targetY) const
{
    if (IsUnrevealedCave(targetX, targetY) && IsCaveFighter(target.m_type))
        return false;
    const int distance = HexDistance(firerX, firerY, targetX, targetY);
    const int softRange = GetMaxRangeVsSoft(firer.m_type);
    if (IsHardType(target.m_type) ? distance <= GetMaxRangeVsHard(firer.m_type) : distance <= softRange)
        return true;
    return CarriesRidersExposed(target) && distance <= softRange;
}

bool CGameFireValidation::IsSoftTargetHex(int x, int y) const
{
    if (HexHasOnlyLeaders(x, y))
        return true;
    const bool pillbox = (HexFlagsAt(x, y) & kHexPillbox) != 0;
    for (const PlacedUnit& unit : m_stacks.At(x, y)) {
        if (!IsTargetableUnit(unit, x, y))
            continue;
        if (CarriesRidersExposed(unit))
            return true;
        if (IsHardType(unit.m_type))
            continue;
        if (!pillbox || (unit.m_type && unit.m_type->IsVehicle()))
            return true;
    }
    return false;
}

bool CGameFireValidation::HexHasTargetableVehicle(int x, int y) const
{
    if (!m_stacks.Contains(x, y))
        return false;
    for (const PlacedUnit& unit : m_stacks.At(x, y))
        if (IsTargetableUnit(unit, x, y) && unit.m_type && unit.m_type->IsVehicle())
            return true;
    return false;
}

bool CGameFireValidation::IsAirTargetFor(int x, int y, int side) const
{
    return HasAirStrike(x, y) && m_airStrikeSide.At(x, y) == OtherSide(side)
        && (IsThreePhaseTurns() || side != m_map.GetSide());
}

bool CGameFireValidation::MustFireIndirectly(const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY)
{
    if (!IsIndirectCapable(unit.m_type))
        return false;
    return !IsFirerOnMap(firerX, firerY) || !HasLineOfSight(firerX, firerY, targetX, targetY)
        || !HexHasUnits(targetX, targetY) || SideInHex(targetX, targetY) != OtherSide(SideOfType(unit.m_type));
}

bool CGameFireValidation::NeedsIndirectFire(
    const int* positions, int count, int firerX, int firerY, int targetX, int targetY)
{
    std::vector<const UnitNode*> units;
    if (count <= 0 || !ResolvePositionsToUnits(firerX, firerY, positions, count, units))
        return false;
    for (const UnitNode* node : units)
        if (MustFireIndirectly(node->value, firerX, firerY, targetX, targetY))
            return true;
    return false;
}

bool CGameFireValidation::IsTargetUnlitAtNight(int firerX, int firerY, int targetX, int targetY) const
{
    return m_night != 0 && HexDistance(firerX, firerY, targetX, targetY) >= 2 && !IsHexLit(targetX, targetY);
}

String CGameFireValidation::GetRangeExceededText(int range, int distance)
{
    // 64 bits: off-map firers and ranges from files may lie far apart.
    const bool minimum = distance <= range;
    const std::int64_t by
        = minimum ? std::int64_t { range } - distance : std::int64_t { distance } - std::int64_t { range };
    std::string text = minimum ? "Minimum range of weapon exceeded by " : "Range of weapon exceeded by ";
    text += std::to_string(by);
    text += by == 1 ? " hex" : " hexes";
    return String(std::move(text));
}
