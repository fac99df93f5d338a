#include "rules/GameAssault.h"
#include "model/IntRange.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <string>

#include "model/OrgTree.h"
#include "model/PlatoonType.h"
#include "model/Random.h"

namespace {

constexpr int kPhaseFinal = 2;
constexpr int kBanzaiAssaultPoints = 20;
constexpr int kNationWithCaves = 21;

// Mounts that fight with their riders: horses and boats.
constexpr std::uint32_t kCarryMounts = kCarryHorses | kCarryBoats;
// Riders of horses, bicycles and motorcycles fight a quarter as hard.
constexpr std::uint32_t kCarryRiddenMounts = kCarryHorses | kCarryBicycles | kCarryMotorcycles;
// A type that cannot be driven off or taken: lost when its hex breaks.
constexpr std::uint32_t kCarryStaysInPlace = 0x4;
// With the hard bit: an armoured carrier.
constexpr std::uint32_t kMoveArmoured = 0x4;
constexpr std::uint32_t kExtraEngineer = 0x2;
constexpr std::uint32_t kExtraAssaultsFortifications = 0x20;

constexpr int kHexFortifiedOrCave = CGameData::kHexFortified | CGameData::kHexCave;
constexpr int kHexAssaultCover = CGameData::kHexImprovedPosition | CGameData::kHexTrench;
constexpr int kHexSlowsCavalry = kHexAssaultCover | CGameData::kHexRubble;
constexpr int kHexKnownMinefield = CGameData::kHexMinefield1 | CGameData::kHexMinefield2 | CGameData::kHexMinefield3;

const char* const kNoDefendingHex = "No defending hex has been specified";
const char* const kNoAttackers = "No attacking units have been specified";
const char* const kCannotMoveIn = "Units cannot make move into attacking hex";

const HexSide kSides[] = { HexSide::North, HexSide::NorthEast, HexSide::SouthEast, HexSide::South, HexSide::SouthWest,
    HexSide::NorthWest };

int TruncateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::trunc(std::clamp(value, static_cast<double>(std::numeric_limits<int>::min()),
        static_cast<double>(std::numeric_limits<int>::max()))));
}

bool IsLeader(const PlacedUnit& unit) { return unit.m_type && unit.m_type->IsLeader(); }
std::uint32_t CarryFlags(const PlacedUnit& unit) { return unit.m_type ? unit.m_type->m_carryFlags : 0; }
int AssaultFactor(const PlacedUnit& unit) { return unit.m_type ? unit.m_type->AssaultFactor() : 0; }
int DefenceFactor(const PlacedUnit& unit) { return unit.m_type ? unit.m_type->DefenceFactor() : 0; }
bool IsVehicle(const PlacedUnit& unit) { return unit.m_type && unit.m_type->IsVehicle(); }
bool IsHard(const PlacedUnit& unit) { return unit.m_type && (unit.m_type->m_targetFlags & kTargetHard) != 0; }

// A loaded unit whose passenger rides it into the assault.
bool IsLoaded(const UnitNode* node) { return node && HasStatus(node->value, kUnitCarrying); }
bool IsCavalryMount(const UnitNode* node) { return IsLoaded(node) && (CarryFlags(node->value) & kCarryHorses) != 0; }
bool IsArmouredCarrier(const UnitNode* node)
{
    return IsLoaded(node) && IsHard(node->value) && (node->value.m_type->m_moveFlags & kMoveArmoured) != 0;
}

// How much the passenger of the loaded unit counts in defence; 0 for a
// passenger that does not fight.
int PassengerDivisor(const UnitNode* carrier)
{
    if (!IsLoaded(carrier))
        return 0;
    const std::uint32_t carry = CarryFlags(carrier->value);
    if ((carry & kCarryRiddenMounts) != 0)
        return 4;
    if ((carry & kCarryBoats) != 0)
        return 1;
    return IsArmouredCarrier(carrier) ? 2 : 0;
}

std::int64_t Product(int a, int b) { return ClampToInt(std::int64_t { a } * b); }

} // namespace

int CGameAssault::HexFlagsAt(int x, int y) const { return m_hexFlags.Contains(x, y) ? m_hexFlags.At(x, y) : 0; }

bool CGameAssault::HexHasHardTarget(int x, int y) const
{
    if (!m_stacks.Contains(x, y))
        return false;
    for (const UnitNode* node = m_stacks.At(x, y).Head(); node; node = node->next)
        if (IsTargetableUnit(node->value, x, y) && GetUnitClass(node->value.m_type) == 0)
            return true;
    return false;
}

bool CGameAssault::IsHardTerrain(int x, int y) const
{
    if (!m_map.IsOnMap(x, y))
        return false;
    if ((HexFlagsAt(x, y) & kHexFortified) != 0)
        return true;
    switch (GetEffectiveTerrain(x, y)) {
    case kTerrainBuilding:
    case kTerrainVillage:
    case kTerrainCity:
    case kTerrainIndustrial:
    case kTerrainSuburb:
        return true;
    default:
        return false;
    }
}

void CGameAssault::StoreTotals(const Totals& totals)
{
    m_defenceTotal = ClampToInt(totals.defence);
    m_counterAssaultTotal = ClampToInt(totals.counterAssault);
    m_defenderUnits = ClampToInt(totals.defenderUnits);
    m_defenderStrength = ClampToInt(totals.defenderStrength);
    m_attackTotal = ClampToInt(totals.attack);
    m_attackerDefenceTotal = ClampToInt(totals.attackerDefence);
    m_attackerUnits = ClampToInt(totals.attackerUnits);
    m_attackerStrength = ClampToInt(totals.attackerStrength);
}

CGameAssault::Totals CGameAssault::LoadTotals() const
{
    Totals totals;
    totals.defence = m_defenceTotal;
    totals.counterAssault = m_counterAssaultTotal;
    totals.defenderUnits = m_defenderUnits;
    totals.defenderStrength = m_defenderStrength;
    totals.attack = m_attackTotal;
    totals.attackerDefence = m_attackerDefenceTotal;
    totals.attackerUnits = m_attackerUnits;
    totals.attackerStrength = m_attackerStrength;
    return totals;
}

void CGameAssault::AddDefender(Totals& totals, const PlacedUnit& unit, int divisor, int flags) const
{
    ++totals.defenderUnits;
    totals.defenderStrength += unit.m_strength;
    // A passenger that does not fight from its carrier adds nothing.
    const bool silent = HasStatus(unit, kUnitCarried) && divisor == 0;

    std::int64_t counter = Product(AssaultFactor(unit), unit.m_strength);
    if (counter != 0) {
        if (HasStatus(unit, kUnitDisrupted))
            counter /= 2;
        if (HasStatus(unit, kUnitFatigued))
            counter /= 2;
        if (HasStatus(unit, kUnitLowAmmo))
            counter = counter * 3 / 4;
        if (divisor != 0)
            counter /= divisor;
        counter = std::max<std::int64_t>(counter, 1);
    }
    if (!silent)
        totals.counterAssault += counter;

    std::int64_t defence = Product(DefenceFactor(unit), unit.m_strength);
    if ((flags & kHexFortified) != 0 && !IsVehicle(unit))
        defence += m_parameters.m_value62 / 2;
    if (defence != 0) {
        if (HasStatus(unit, kUnitDisrupted))
            defence /= 2;
        if (HasStatus(unit, kUnitDiggingIn))
            defence /= 2;
        if (HasStatus(unit, kUnitFatigued))
            defence /= 2;
        if (divisor != 0)
            defence /= divisor;
        defence = std::max<std::int64_t>(defence, 1);
    }
    if (!silent && GetNominalFirepower(unit.m_type) != 0)
        totals.defence += defence;
}

void CGameAssault::AddAttacker(Totals& totals, const PlacedUnit& unit, bool cavalryCarried, bool armourCarried) const
{
    const int x = m_assaultHex.column, y = m_assaultHex.row;
    const int flags = HexFlagsAt(x, y);
    const std::uint32_t extra = unit.m_type ? unit.m_type->m_extraFlags : 0;
    std::int64_t attack = Product(AssaultFactor(unit), unit.m_strength);
    if ((extra & (kExtraEngineer | kExtraAssaultsFortifications)) != 0 && (flags & kHexFortifiedOrCave) != 0)
        attack *= 2;
    std::int64_t defence = Product(DefenceFactor(unit), unit.m_strength);
    if (attack != 0) {
        if (HasStatus(unit, kUnitLowAmmo))
            attack = attack * 3 / 4;
        if (HasStatus(unit, kUnitFatigued))
            attack /= 2;
        if (IsVehicle(unit))
            attack = TruncateToInt(m_parameters.GetTerrainPercent(GetEffectiveTerrain(x, y)) * attack);
        if (cavalryCarried) {
            attack *= 3;
            if ((flags & kHexSlowsCavalry) != 0)
                attack /= 2;
        }
        if (armourCarried) {
            attack /= 2;
            defence /= 2;
        }
        if (HasStatus(unit, kUnitBanzai))
            attack *= 3;
        attack = std::max<std::int64_t>(attack, 1);
    }
    totals.attack += attack;
    totals.attackerDefence += defence;
    if (!IsLeader(unit)) {
        ++totals.attackerUnits;
        if ((CarryFlags(unit) & kCarryMounts) == 0)
            totals.attackerStrength += unit.m_strength;
    }
}

void CGameAssault::RecomputeAssaultTotals()
{
    Totals totals;
    const int x = m_assaultHex.column, y = m_assaultHex.row;
    if (HasAssault() && m_map.IsOnMap(x, y) && m_stacks.Contains(x, y)) {
        const int flags = HexFlagsAt(x, y);
        const UnitNode* previous = nullptr;
        for (const UnitNode* node = m_stacks.At(x, y).Head(); node; node = node->next) {
            AddDefender(totals, node->value, PassengerDivisor(previous), flags);
            previous = node;
        }
        for (HexSide side : kSides) {
            HexPos next;
            if (!m_map.GetNeighbour(side, x, y, next) || !m_stacks.Contains(next.column, next.row))
                continue;
            previous = nullptr;
            for (const UnitNode* node = m_stacks.At(next.column, next.row).Head(); node; node = node->next) {
                if (HasStatus(node->value, kUnitInAssault))
                    AddAttacker(totals, node->value, IsCavalryMount(previous), IsArmouredCarrier(previous));
                previous = node;
            }
        }
    }
    StoreTotals(totals);
}

double CGameAssault::GetAssaultTerrainMultiplier() const
{
    const int x = m_assaultHex.column, y = m_assaultHex.row;
    if (!HasAssault())
        return 1.0;
    const int flags = HexFlagsAt(x, y);
    const double percent = m_parameters.m_value61 / 100.0;
    double multiplier = 1.0;
    if ((flags & kHexAssaultCover) != 0)
        multiplier *= percent;
    if ((flags & kHexTrench) != 0)
        multiplier *= percent;
    if ((flags & kHexCave) != 0 && NationInHex(x, y) == kNationWithCaves)
        multiplier *= 0.5;
    return multiplier;
}

int CGameAssault::GetLeaderBonus(int x, int y, bool committedOnly) const
{
    if (!m_stacks.Contains(x, y))
        return 0;
    const UnitList& stack = m_stacks.At(x, y);
    int best = 0;
    for (const UnitNode* node = stack.Head(); node; node = node->next) {
        const PlacedUnit& leader = node->value;
        if (!IsLeader(leader) || (committedOnly && !HasStatus(leader, kUnitInAssault)))
            continue;
        const OrgNode* command = leader.GetCommandNode();
        if (!command)
            continue;
        for (const UnitNode* other = stack.Head(); other; other = other->next) {
            const PlacedUnit& unit = other->value;
            if (other == node || IsLeader(unit) || (committedOnly && !HasStatus(unit, kUnitInAssault)) || !unit.m_node
                || !command->IsAncestorOf(unit.m_node))
                continue;
            best = std::max(best, leader.m_strength);
            break;
        }
    }
    return best;
}

int CGameAssault::GetAttackLeaderBonus() const
{
    int best = 0;
    if (!HasAssault())
        return best;
    for (HexSide side : kSides) {
        HexPos next;
        if (m_map.GetNeighbour(side, m_assaultHex.column, m_assaultHex.row, next))
            best = std::max(best, GetLeaderBonus(next.column, next.row, true));
    }
    return best;
}

int CGameAssault::GetDefenceLeaderBonus() const
{
    return HasAssault() ? GetLeaderBonus(m_assaultHex.column, m_assaultHex.row, false) : 0;
}

void CGameAssault::ClearAssault()
{
    if (HasAssault()) {
        const int x = m_assaultHex.column, y = m_assaultHex.row;
        const auto release = [this](int cx, int cy) {
            if (!m_stacks.Contains(cx, cy))
                return;
            for (PlacedUnit& unit : m_stacks.At(cx, cy))
                unit.m_status &= ~static_cast<std::uint32_t>(kUnitInAssault);
        };
        release(x, y);
        for (HexSide side : kSides) {
            HexPos next;
            if (m_map.GetNeighbour(side, x, y, next))
                release(next.column, next.row);
        }
    }
    m_assaultHex = { -1, -1 };
    StoreTotals(Totals());
}

void CGameAssault::ResetBattleState()
{
    CGameCombatResults::ResetBattleState();
    ClearAssault();
    m_assaultRefusal = nullptr;
}

bool CGameAssault::CanAssaultHex(int x, int y)
{
    if (IsOptionSet(kOptionThreePhase) && m_map.GetPhase() != kPhaseFinal)
        return RefuseAssault("Assaults can only be initiated in Final Phase");
    if (!m_map.IsOnMap(x, y) || !HexHasUnits(x, y))
        return RefuseAssault("No assaultable units in target hex");
    if (SideInHex(x, y) == m_map.GetSide())
        return RefuseAssault("Cannot assault against own units");
    ClearAssault();
    m_assaultHex = { x, y };
    RecomputeAssaultTotals();
    if (m_defenderUnits == 0) {
        ClearAssault();
        return RefuseAssault("All units in defending hex have already fought");
    }
    return true;
}

std::int64_t CGameAssault::AssaultPoints(const PlacedUnit& unit, int moveCost) const
{
    if (HasStatus(unit, kUnitBanzai))
        return kBanzaiAssaultPoints;
    return std::int64_t { moveCost } + m_parameters.m_value97;
}

bool CGameAssault::CheckAssaultUnit(const PlacedUnit& unit, int x, int y)
{
    const int dx = m_assaultHex.column, dy = m_assaultHex.row;
    const bool threePhase = IsOptionSet(kOptionThreePhase);
    const bool carried = HasStatus(unit, kUnitCarried);
    const bool leader = IsLeader(unit);
    const std::uint32_t carry = CarryFlags(unit);
    if (threePhase && HasStatus(unit, kUnitMoved))
        return RefuseAssault("Units which have moved cannot assault in same phase");
    if (HasStatus(unit, kUnitInAssault))
        return RefuseAssault("Unit is already commited to attack");
    if (HasStatus(unit, kUnitDisrupted))
        return RefuseAssault("Cannot attack with units that have been disrupted");
    if (HasStatus(unit, kUnitCarrying) && !(unit.m_type && unit.m_type->IsCarrier()) && (carry & kCarryMounts) == 0)
        return RefuseAssault("Non-carrier cannot assault while loaded");
    if (!leader && !(HasStatus(unit, kUnitCarrying) && (carry & kCarryMounts) != 0) && AssaultFactor(unit) == 0)
        return RefuseAssault("Unit has no assault factor");
    if (HasStatus(unit, kUnitFixed))
        return RefuseAssault("Fixed units cannot assault");
    const std::int64_t own = leader ? 0 : unit.m_strength;
    const int moveCost = GetMoveCost(unit, x, y, dx, dy, ClampToInt(m_attackerStrength + own), true);
    if (moveCost == 0 && !carried)
        return RefuseAssault(kCannotMoveIn);
    if (IsVehicle(unit)
        && std::int64_t { m_map.GetElevation(dx, dy) }
            > std::int64_t { m_map.GetElevation(x, y) } + m_parameters.m_vehicleMaxClimb)
        return RefuseAssault(kCannotMoveIn);
    if (threePhase && HasStatus(unit, kUnitAssaulted))
        return RefuseAssault("Cannot attack with units that have already attacked");
    if (!threePhase && !carried && !CanAffordMove(unit, ClampToInt(AssaultPoints(unit, moveCost)), 0))
        return RefuseAssault("Unit does not have enough Action Points to assault");
    if (IsHard(unit) && (unit.m_type->m_extraFlags & kExtraAssaultsFortifications) == 0
        && (HexFlagsAt(dx, dy) & kHexPillbox) != 0)
        return RefuseAssault("Vehicles cannot assault pillboxes");
    if (HasStatus(unit, kUnitDiggingIn))
        return RefuseAssault("Units which are Digging-In cannot attack");
    if ((!carried && !leader && std::int64_t { m_attackerUnits } + 1 > m_parameters.m_maxStackUnits)
        || (!carried && m_attackerStrength + own > m_parameters.m_maxStackStrength))
        return RefuseAssault("Total attacking strength exceeds stacking limitations");
    if ((carry & kCarryHorses) != 0 && (HexHasHardTarget(dx, dy) || IsHardTerrain(dx, dy)))
        return RefuseAssault("Cavalry cannot assault hard targets or hard terrain");
    return true;
}

bool CGameAssault::AddToAssault(int x, int y, const int* positions, int count)
{
    if (!HasAssault())
        return RefuseAssault(kNoDefendingHex);
    RecomputeAssaultTotals();
    if (!m_map.IsOnMap(x, y) || SideInHex(x, y) != m_map.GetSide())
        return RefuseAssault("Cannot attack using units from other side");
    HexSide between;
    between.SetBetween(x, y, m_assaultHex.column, m_assaultHex.row);
    if (!between.IsSingleSide())
        return RefuseAssault("Cannot attack from non-adjacent hex");
    std::vector<UnitNode*> units;
    if (count <= 0 || !ResolvePositionsToUnits(x, y, positions, count, units))
        return RefuseAssault(kNoAttackers);
    // A passenger joins only right behind its carrier, and a carrier only
    // with its passenger: both go in together when the hex is taken.
    if (!CheckCarrierRule(x, y, positions, count, units))
        return RefuseAssault(m_lastRefusal);
    const UnitNode* previous = nullptr;
    for (UnitNode* node : units) {
        PlacedUnit& unit = node->value;
        // A passenger fights from its carrier, unchecked, unless it rides a
        // horse or a boat.
        const bool checked = !HasStatus(unit, kUnitCarried)
            || (IsLoaded(previous) && (CarryFlags(previous->value) & kCarryMounts) != 0);
        if (checked && !CheckAssaultUnit(unit, x, y))
            return false;
        unit.m_status |= kUnitInAssault;
        Totals totals = LoadTotals();
        AddAttacker(totals, unit, IsCavalryMount(previous), IsArmouredCarrier(previous));
        StoreTotals(totals);
        previous = node;
    }
    return true;
}

void CGameAssault::AddSelectionToAssault(String& out, int x, int y, const int* positions, int count)
{
    out = AddToAssault(x, y, positions, count) ? String() : String(m_assaultRefusal);
}

void CGameAssault::GetOddsText(String& out)
{
    if (!HasAssault()) {
        out = String(kNoDefendingHex);
        m_assaultRefusal = kNoDefendingHex;
        return;
    }
    RecomputeAssaultTotals();
    if (m_attackerUnits == 0) {
        out = String(kNoAttackers);
        m_assaultRefusal = kNoAttackers;
        return;
    }
    if (IsSideInfoHidden(0) || IsSideInfoHidden(1)) {
        out = String("Unknown assault odds (Extreme Fog-Of-War)");
        return;
    }
    const int attack = TruncateToInt(
        static_cast<double>(std::int64_t { m_attackTotal } + GetAttackLeaderBonus()) * GetAssaultTerrainMultiplier());
    const int counter = ClampToInt(std::int64_t { m_counterAssaultTotal } + GetDefenceLeaderBonus());
    std::string text = "Assault:\nAttack of " + std::to_string(attack) + " (" + std::to_string(m_attackerStrength)
        + " SP) vs defense of " + std::to_string(m_defenceTotal) + " (" + std::to_string(m_defenderStrength)
        + " SP)\n\nCounter-assault:\nAttack of " + std::to_string(counter) + " (" + std::to_string(m_defenderStrength)
        + " SP) vs defense of " + std::to_string(m_attackerDefenceTotal) + " (" + std::to_string(m_attackerStrength)
        + " SP)\n";
    out = String(std::move(text));
}

void CGameAssault::CanResolveAssault(String& out)
{
    out = String();
    if (!HasAssault()) {
        m_assaultRefusal = kNoDefendingHex;
        out = String(kNoDefendingHex);
        return;
    }
    RecomputeAssaultTotals();
    if (m_attackTotal == 0) {
        m_assaultRefusal = kNoAttackers;
        out = String(kNoAttackers);
    }
}

std::vector<HexPos> CGameAssault::AttackingHexes() const
{
    std::vector<HexPos> hexes;
    const int side = m_map.GetSide();
    for (HexSide direction : kSides) {
        HexPos next;
        if (m_map.GetNeighbour(direction, m_assaultHex.column, m_assaultHex.row, next)
            && m_stacks.Contains(next.column, next.row) && SideInHex(next.column, next.row) == side)
            hexes.push_back(next);
    }
    return hexes;
}

std::vector<CGameAssault::Attacker> CGameAssault::CollectAttackers()
{
    std::vector<Attacker> attackers;
    for (const HexPos& hex : AttackingHexes()) {
        const UnitNode* previous = nullptr;
        for (UnitNode* node = m_stacks.At(hex.column, hex.row).Head(); node; node = node->next) {
            if (HasStatus(node->value, kUnitInAssault))
                attackers.push_back({ hex.column, hex.row, node, node->value.m_strength, !IsLoaded(previous) });
            previous = node;
        }
    }
    return attackers;
}

bool CGameAssault::AreDefendersBroken() const
{
    const int x = m_assaultHex.column, y = m_assaultHex.row;
    const UnitList& stack = m_stacks.At(x, y);
    if (stack.IsEmpty())
        return true;
    const bool cave = (HexFlagsAt(x, y) & kHexCave) != 0;
    bool allDisrupted = true;
    for (const PlacedUnit& unit : stack) {
        if (HasStatus(unit, kUnitCarried))
            continue;
        // A cave is held while anyone but a leader stands in it.
        if (cave && !IsLeader(unit))
            return false;
        if (AssaultFactor(unit) != 0 && !HasStatus(unit, kUnitDisrupted))
            allDisrupted = false;
    }
    return allDisrupted;
}

bool CGameAssault::ChooseRetreatHex(int attackerSide, HexPos& chosen)
{
    const int x = m_assaultHex.column, y = m_assaultHex.row;
    const int defenderSide = SideInHex(x, y);
    std::vector<int> positions(m_stacks.At(x, y).Count());
    std::iota(positions.begin(), positions.end(), 1);
    const auto nextToAttacker = [&](int cx, int cy) {
        for (HexSide side : kSides) {
            HexPos next;
            if (m_map.GetNeighbour(side, cx, cy, next) && SideInHex(next.column, next.row) == attackerSide)
                return true;
        }
        return false;
    };
    // A private generator: the choice leaves the shared sequence alone.
    RandomGeneratorPtr random = RandomGeneratorPtr::InitTimeSeeded();
    int candidates = 0;
    bool found = false;
    for (HexSide side : kSides) {
        HexPos next;
        if (!m_map.GetNeighbour(side, x, y, next) || !m_map.IsOnMap(next.column, next.row))
            continue;
        const int nx = next.column, ny = next.row;
        const int holder = SideInHex(nx, ny);
        if (holder == attackerSide || (holder != defenderSide && nextToAttacker(nx, ny)))
            continue;
        if ((HexFlagsAt(nx, ny) & kHexKnownMinefield) != 0)
            continue;
        // A forced move in the other side's phase: action points do not count.
        if (!CanMoveStack(x, y, nx, ny, positions.data(), static_cast<int>(positions.size()), false))
            continue;
        ++candidates;
        if (random->Next() < 1.0 / candidates) {
            chosen = next;
            found = true;
        }
    }
    return found;
}

void CGameAssault::ApplyOutcome(String& report, int attackerSide)
{
    const int x = m_assaultHex.column, y = m_assaultHex.row;
    std::vector<UnitNode*> defenders;
    for (UnitNode* node = m_stacks.At(x, y).Head(); node; node = node->next)
        defenders.push_back(node);
    // Walks hold the units themselves; a carrier takes its riders along.
    for (UnitNode* node : defenders)
        if (GetStackPosition(x, y, node) != 0 && (CarryFlags(node->value) & kCarryStaysInPlace) != 0)
            EliminateWithWreck(x, y, node);
    for (PlacedUnit& unit : m_stacks.At(x, y))
        if (unit.m_rating >= 2)
            --unit.m_rating;

    UnitList& stack = m_stacks.At(x, y);
    if (stack.IsEmpty()) {
        report.AppendText("Defenders overrun\n");
        return;
    }
    HexPos to;
    if (!ChooseRetreatHex(attackerSide, to)) {
        report.AppendText("Defenders captured\n");
        EliminateHexUnits(x, y);
        return;
    }
    report.AppendText("Defenders forced to retreat\n");
    std::vector<int> positions(stack.Count());
    std::iota(positions.begin(), positions.end(), 1);
    MoveUnitsBetweenHexes(x, y, to.column, to.row, positions.data(), static_cast<int>(positions.size()));
}

void CGameAssault::RenewOccupation()
{
    const int x = m_assaultHex.column, y = m_assaultHex.row;
    const int holder = SideInHex(x, y);
    if (holder >= 0)
        SetContact(x, y, holder, CGameSpotting::kContactArmed, 0);
}

void CGameAssault::AdvanceIntoDefendingHex()
{
    const int x = m_assaultHex.column, y = m_assaultHex.row;
    const std::int64_t limit = m_parameters.m_maxStackStrength;
    for (const HexPos& hex : AttackingHexes()) {
        std::int64_t strength = GetStackStrength(x, y);
        std::vector<int> positions;
        int position = 0;
        for (const PlacedUnit& unit : m_stacks.At(hex.column, hex.row)) {
            ++position;
            if (!HasStatus(unit, kUnitInAssault) || HasStatus(unit, kUnitCarried))
                continue;
            const std::int64_t own = IsLeader(unit) ? 0 : unit.m_strength;
            if (strength + own > limit)
                break;
            strength += own;
            positions.push_back(position);
        }
        // The riders of a loaded unit come along with it.
        if (!positions.empty())
            MoveUnitsBetweenHexes(hex.column, hex.row, x, y, positions.data(), static_cast<int>(positions.size()));
    }
    RenewOccupation();
    if ((HexFlagsAt(x, y) & kHexCave) != 0)
        m_hexFlags.At(x, y) |= kHexCaveRevealed;
}

bool CGameAssault::ResolveAssault(String& out)
{
    out = String();
    String refusal;
    CanResolveAssault(refusal);
    if (!refusal.IsEmpty())
        return false;
    // Undo takes back moves only, never a result.
    ClearUndo();

    // Every value of the resolution comes from the one recomputation above.
    const int x = m_assaultHex.column, y = m_assaultHex.row;
    const int attackerSide = m_map.GetSide();
    const int defenderSide = SideInHex(x, y);
    const int attack = ClampToInt(std::int64_t { m_attackTotal } + GetAttackLeaderBonus());
    const int counter = ClampToInt(std::int64_t { m_counterAssaultTotal } + GetDefenceLeaderBonus());
    const int defence = m_defenceTotal;
    const int attackerDefence = m_attackerDefenceTotal;
    const std::int64_t defenderStrength = m_defenderStrength;
    const std::int64_t attackerStrength = m_attackerStrength;
    const double multiplier = GetAssaultTerrainMultiplier();
    const int terrain = GetEffectiveTerrain(x, y);

    // Results remove and reduce units: every walk below holds the units of
    // this moment and skips one that is gone.
    struct Defender {
        UnitNode* node;
        bool takesResult;
    };
    std::vector<Defender> defenders;
    const UnitNode* previous = nullptr;
    for (UnitNode* node = m_stacks.At(x, y).Head(); node; node = node->next) {
        defenders.push_back({ node, !HasStatus(node->value, kUnitCarried) && !IsLoaded(previous) });
        previous = node;
    }
    const std::vector<Attacker> attackers = CollectAttackers();
    const auto present = [this](int cx, int cy, const UnitNode* node) { return GetStackPosition(cx, cy, node) != 0; };

    for (const Defender& defender : defenders)
        if (!HasStatus(defender.node->value, kUnitCarried))
            defender.node->value.m_status |= kUnitAssaulted;
    for (const Attacker& attacker : attackers)
        attacker.node->value.m_status |= kUnitAssaulted;

    std::string report = "Defenders result:\n";
    const bool hidden = IsSideInfoHidden(defenderSide);
    for (const Defender& defender : defenders) {
        if (!defender.takesResult || !present(x, y, defender.node))
            continue;
        const PlacedUnit& unit = defender.node->value;
        const double modifier = m_parameters.GetTerrainPercentFor(terrain, unit) * multiplier;
        report += "    " + (hidden ? std::string("Unknown") : unit.GetShortName().str()) + " ";
        String result;
        ApplyFireResult(result, attack, 1, attack, defence, x, y, defender.node, modifier, false, false);
        report += result.str() + "\n";
    }
    report += "Attackers result:\n";
    for (const Attacker& attacker : attackers) {
        if (!attacker.takesResult || !present(attacker.x, attacker.y, attacker.node))
            continue;
        const int shots
            = attackerStrength == 0 ? 0 : ClampToInt(defenderStrength * attacker.strength / attackerStrength);
        report += "    " + attacker.node->value.GetShortName().str() + " ";
        String result;
        ApplyFireResult(
            result, counter, shots, 1, attackerDefence, attacker.x, attacker.y, attacker.node, 1.0, false, false);
        report += result.str() + "\n";
    }

    for (PlacedUnit& unit : m_stacks.At(x, y))
        if (!HasStatus(unit, kUnitCarried))
            unit.m_status |= kUnitAssaulted;
    for (const Attacker& attacker : attackers) {
        if (!present(attacker.x, attacker.y, attacker.node) || HasStatus(attacker.node->value, kUnitCarried))
            continue;
        PlacedUnit& unit = attacker.node->value;
        const int moveCost = GetMoveCost(unit, attacker.x, attacker.y, x, y, ClampToInt(attackerStrength), true);
        std::int64_t points = AssaultPoints(unit, moveCost);
        if (HasStatus(unit, kUnitDisrupted))
            points *= 2;
        // A carrier pays again for the passenger it brings.
        if (IsLoaded(attacker.node) && attacker.node->next)
            points *= 2;
        unit.SpendActionPoints(ClampToInt(points));
    }

    const bool attackersLeft = std::any_of(attackers.begin(), attackers.end(), [&](const Attacker& attacker) {
        return present(attacker.x, attacker.y, attacker.node) && !HasStatus(attacker.node->value, kUnitDisrupted);
    });
    String outcome;
    if (AreDefendersBroken() && attackersLeft)
        ApplyOutcome(outcome, attackerSide);
    report += outcome.str();
    if (m_stacks.At(x, y).IsEmpty())
        AdvanceIntoDefendingHex();
    if (IsHiddenInformationOn())
        RenewOccupation();
    ClearAssault();

    if (!report.empty() && report.back() == '\n')
        report.pop_back();
    out = String(std::move(report));
    return true;
}
