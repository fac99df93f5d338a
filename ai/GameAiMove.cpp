#include "ai/GameAiMove.h"

#include <algorithm>
#include <climits>
#include <string>

#include "model/Geometry.h"
#include "model/HexMap.h"

namespace {

constexpr int kScoresEnd = 9999;
// Nation of the Banzai attacks and the cave fighting.
constexpr int kBanzaiNation = 21;
// Types that never move by their formation's order.
constexpr std::uint32_t kMoveStaysPut = 0x1000;
// A vehicle with a fire cost below this keeps its fire points near the enemy.
constexpr int kCheapFireCost = 36;
// Hexes a group would not leave empty, and those a mine-clearing group stops in.
constexpr int kHeldPositionFlags = 0x4b0;
// What a mine-clearing step works on: any minefield and the blocked hex.
constexpr int kMineClearingWork = CGameData::kHexAnyMinefield | CGameData::kHexBlocked;
// Bits of a type's value 39 read by the approach rule.
constexpr std::int32_t kApproachFiresFromCover = 0x8;
constexpr std::int32_t kApproachCloses = 0x1;
// A route this long (the start included) is run at double time far from the enemy.
constexpr std::size_t kShortRouteMin = 3;
constexpr std::size_t kShortRouteMax = 4;
constexpr int kDoubleTimeDistance = 5;
// The square around an attacked hex searched for an approach hex.
constexpr int kApproachRadius = 6;
constexpr double kStayToFireChance = 0.9;
// The Banzai charge runs until the enemy is this near.
constexpr int kBanzaiCloseDistance = 2;
constexpr const char* kRemovingText = "Removing units from map";

bool IsHardTarget(const PlatoonType* type) { return type && (type->m_targetFlags & kTargetHard) != 0; }

bool SameHex(const HexPos& a, const HexPos& b) { return a.column == b.column && a.row == b.row; }

} // namespace

bool ReservoirDraw::Offer()
{
    const double draw = m_generator.Next();
    const int counter = m_counter++;
    return draw < 1.0 / counter;
}

void CGameAiMove::ScoreObjectives()
{
    m_objectiveScores.Free();
    const int side = m_map.GetSide();
    const int radius = m_aiParameters[kAiObjectiveRadius];
    for (const HexPos& objective : GetObjectiveList(side)) {
        long long score = 0;
        int minX = 0, maxX = -1, minY = 0, maxY = -1;
        ClipSquareToMap(objective.column, objective.row, radius, minX, maxX, minY, maxY);
        for (int x = minX; x <= maxX; ++x) {
            for (int y = minY; y <= maxY; ++y) {
                const int holder = SideInHex(x, y);
                if (holder < 0)
                    continue;
                const auto units = static_cast<long long>(m_stacks.At(x, y).Count());
                score += holder == side ? -units : units;
            }
        }
        m_objectiveScores.Append(static_cast<int>(std::clamp<long long>(score, INT_MIN, INT_MAX)));
    }
}

void CGameAiMove::PrepareMoves()
{
    SetAttacksForPhase();
    ScoreObjectives();
    m_stepFlag = 1;
}

bool CGameAiMove::LoadBattleAndReport(
    std::istream& in, String& text, std::vector<int>& groups, std::vector<int>& released, HexList& hexes)
{
    m_objectiveScores.Free();
    m_stepFlag = 1;
    return CGameAiAir::LoadBattleAndReport(in, text, groups, released, hexes);
}

void CGameAiMove::ResetBattleState()
{
    CGameAiAir::ResetBattleState();
    m_objectiveScores.Free();
    m_stepFlag = 1;
    m_report = String();
    m_movedUnits.clear();
}

bool CGameAiMove::ReadBattleFile(std::istream& in, bool keepVersion10)
{
    m_stepFlag = 1;
    if (!CGameAiAir::ReadBattleFile(in, keepVersion10))
        return false;
    constexpr const char* kError = "Error reading A/I objective scores";
    const long long most = static_cast<long long>(m_map.GetWidth()) * m_map.GetHeight();
    m_objectiveScores.Free();
    for (long long count = 0;; ++count) {
        int score = 0;
        if (!(in >> score))
            return FailBattleRead(kError);
        if (score == kScoresEnd)
            break;
        if (count >= most)
            return FailBattleRead(kError);
        m_objectiveScores.Append(score);
    }
    return true;
}

bool CGameAiMove::WriteBattleFile(std::ostream& out) const
{
    if (!CGameAiAir::WriteBattleFile(out))
        return false;
    std::string text;
    for (int score : m_objectiveScores)
        text += std::to_string(score) + ' ';
    text += std::to_string(kScoresEnd) + '\n';
    out << text;
    return static_cast<bool>(out);
}

// ---- The step ----

String CGameAiMove::DoNextMove(HexList& hexes)
{
    ClearUndo();
    hexes.Free();
    m_movedUnits.clear();
    if (!m_objectiveScores.IsEmpty() && DispatchToObjectives(hexes))
        return m_report;

    while (m_sweep.column != -1 && m_sweep.row != -1) {
        if (!m_map.IsOnMap(m_sweep.column, m_sweep.row)) {
            // A cursor left off this map (by another battle) ends the sweep.
            m_sweep = HexPos { -1, -1 };
            break;
        }
        if (ActOnHexUnits(m_sweep.column, m_sweep.row, hexes)) {
            // The fire answering the move is resolved first; then the whole
            // sweep starts again, since the fire may have changed anything.
            if (IsFirePending())
                ResetSweep();
            return m_report;
        }
        AdvanceSweepTurning();
    }

    if (m_stepFlag != 0 && BringInReinforcements(hexes))
        return m_report;

    ResetSweep();
    while (m_sweep.column != -1 && m_sweep.row != -1 && m_map.IsOnMap(m_sweep.column, m_sweep.row)) {
        if (ActOnHexSecondPass(m_sweep.column, m_sweep.row, hexes))
            return m_report;
        AdvanceSweep();
    }
    ResetSweep();
    return String();
}

int CGameAiMove::GetMineAttacks(std::vector<int>& out) const
{
    out = m_movedUnits;
    return static_cast<int>(out.size());
}

bool CGameAiMove::ActOnHexUnits(int x, int y, HexList& hexes)
{
    if (SideInHex(x, y) != m_map.GetSide())
        return false;
    for (int p = 1;; ++p) {
        const UnitNode* node = GetStackNode(x, y, p);
        if (!node)
            return false;
        const PlacedUnit& unit = node->value;
        if (HasStatus(unit, kUnitBanzai)) {
            if (BanzaiCharge(x, y, p, hexes))
                return true;
            continue;
        }
        if (IsHoldingBack(x, y, p))
            continue;
        if (unit.GetCommandNode()) {
            if (MoveByFormationOrder(x, y, p, hexes) || SailAlongFacing(x, y, p, hexes))
                return true;
        } else if (ActOnFreeUnit(x, y, p, hexes)) {
            return true;
        }
    }
}

bool CGameAiMove::ActOnHexSecondPass(int x, int y, HexList& hexes)
{
    if (SideInHex(x, y) != m_map.GetSide())
        return false;
    for (int p = 1;; ++p) {
        const UnitNode* node = GetStackNode(x, y, p);
        if (!node)
            return false;
        if (CheckPhaseAllowsMove(node->value) && ActOnFreeUnit(x, y, p, hexes))
            return true;
        // Looked up again: the stack is the actions' to change.
        node = GetStackNode(x, y, p);
        if (!node)
            return false;
        if (MayStartDigIn(x, y, p) && ToggleUnitDigIn(x, y, p, hexes))
            return true;
        node = GetStackNode(x, y, p);
        if (!node)
            return false;
        if (HasStatus(node->value, kUnitDiggingIn) && IsEnemyInRange(node->value.m_type, x, y)
            && ToggleUnitDigIn(x, y, p, hexes))
            return true;
    }
}

bool CGameAiMove::ActOnFreeUnit(int x, int y, int p, HexList& hexes)
{
    // Each action checks when it applies (carried or not) itself.
    return StepIntoFortification(x, y, p, hexes) || StepOntoObjective(x, y, p, hexes) || UnloadPassenger(x, y, p, hexes)
        || WithdrawEmptyCarrier(x, y, p, hexes) || StepOutOfOpenTerrain(x, y, p, hexes)
        || PullBackSupport(x, y, p, hexes) || LeaveAtExitOrWater(x, y, p, hexes) || RemoveUnarmedUnit(x, y, p, hexes)
        || MoveThroughCave(x, y, p, hexes);
}

// ---- Objectives ----

bool CGameAiMove::DispatchToObjectives(HexList& hexes)
{
    const HexList& objectives = GetObjectiveList(m_map.GetSide());
    auto* score = m_objectiveScores.Head();
    // The two lists are walked together; a shorter one ends the walk.
    for (const HexListNode* objective = objectives.Head(); score && objective;
         score = score->next, objective = objective->next) {
        if (score->value > 0 && SendUnitsToObjective(objective->value, hexes)) {
            --score->value;
            return true;
        }
    }
    m_objectiveScores.Free();
    return false;
}

bool CGameAiMove::SendUnitsToObjective(HexPos objective, HexList& hexes)
{
    const int side = m_map.GetSide();
    const int radius = m_aiParameters[kAiObjectiveRadius];
    // The objectives still wanting groups keep their surroundings' units.
    std::vector<HexPos> wanting;
    {
        const auto* score = m_objectiveScores.Head();
        for (const HexListNode* node = GetObjectiveList(side).Head(); score && node;
             score = score->next, node = node->next)
            if (score->value > 0)
                wanting.push_back(node->value);
    }
    const auto holdsFreeMover = [&](int x, int y) {
        if (SideInHex(x, y) != side)
            return false;
        bool found = false;
        for (const PlacedUnit& unit : m_stacks.At(x, y)) {
            if (unit.GetCommandNode() || HasStatus(unit, kUnitDisrupted))
                continue;
            if (HasStatus(unit, kUnitCarried) || (IsHardTarget(unit.m_type) && !unit.m_type->IsCarrier())) {
                found = true;
                break;
            }
        }
        if (!found)
            return false;
        for (const HexPos& hex : wanting)
            if (HexDistance(x, y, hex.column, hex.row) <= radius)
                return false;
        return true;
    };

    RandomGeneratorPtr generator = RandomGeneratorPtr::InitSeeded(MixAt(objective.column, objective.row, 0));
    ReservoirDraw draw(*generator, 2);
    const int enemyDistance = GetEnemyDistance(objective.column, objective.row);
    HexPos best { -1, -1 };
    int bestDistance = INT_MAX;
    for (int x = 0; x < m_map.GetWidth(); ++x) {
        for (int y = 0; y < m_map.GetHeight(); ++y) {
            const int distance = HexDistance(x, y, objective.column, objective.row);
            if (distance > bestDistance || enemyDistance >= distance || !holdsFreeMover(x, y))
                continue;
            if (distance < bestDistance) {
                best = HexPos { x, y };
                bestDistance = distance;
                draw.Restart(2);
            } else if (draw.Offer()) {
                best = HexPos { x, y };
            }
        }
    }
    if (best.column == -1)
        return false;

    const int x = best.column;
    const int y = best.row;
    const auto freeUnit = [&](int p) -> const PlacedUnit* {
        const UnitNode* node = GetStackNode(x, y, p);
        if (!node || node->value.GetCommandNode() || HasStatus(node->value, kUnitDisrupted))
            return nullptr;
        return &node->value;
    };
    const int count = static_cast<int>(m_stacks.At(x, y).Count());
    for (int p = 1; p <= count; ++p) {
        const PlacedUnit* unit = freeUnit(p);
        if (!unit || !IsHardTarget(unit->m_type))
            continue;
        const bool carrying = HasStatus(*unit, kUnitCarrying);
        if (unit->m_type->IsCarrier() && !carrying && !HasSpareCarriers(x, y, nullptr))
            continue;
        m_movedUnits = { p };
        if (carrying)
            m_movedUnits.push_back(p + 1);
        if (MoveGroupToward(x, y, objective, 0, false, hexes))
            return true;
    }
    for (int p = 2; p <= count; ++p) {
        const PlacedUnit* unit = freeUnit(p);
        if (!unit || !HasStatus(*unit, kUnitCarried))
            continue;
        m_movedUnits = { p - 1, p };
        if (MoveGroupToward(x, y, objective, 0, false, hexes))
            return true;
    }
    for (int p = 1; p <= count; ++p) {
        const PlacedUnit* unit = freeUnit(p);
        if (unit && unit->m_type && (unit->m_type->m_targetFlags & kTargetIndirect) != 0
            && MoveIndirectUnit(x, y, p, objective, hexes))
            return true;
    }
    m_movedUnits.clear();
    return false;
}

// ---- Formation orders ----

bool CGameAiMove::MoveByFormationOrder(int x, int y, int p, HexList& hexes)
{
    const UnitNode* node = GetStackNode(x, y, p);
    if (!node || !node->value.m_type)
        return false;
    const PlacedUnit& unit = node->value;
    const OrgNode* formation = unit.GetCommandNode();
    if ((unit.m_type->m_moveFlags & kMoveStaysPut) != 0)
        return false;
    const AiOrder order = GetOrder(formation);
    if (order.target.column == -1 || order.target.row == -1)
        return false;
    if (!IsStepAgainstSweep(x, y, order.target.column, order.target.row))
        return false;
    if ((unit.m_type->m_targetFlags & kTargetIndirect) != 0) {
        if (order.kind == kAiOrderHold)
            return false;
        return MoveIndirectUnit(x, y, p, order.target, hexes);
    }
    return MoveFormationGroup(x, y, formation, order, hexes);
}

bool CGameAiMove::MoveFormationGroup(int x, int y, const OrgNode* node, const AiOrder& order, HexList& hexes)
{
    const int kind = order.kind;
    if (kind == kAiOrderHold || order.target.column == -1 || order.target.row == -1)
        return false;
    const bool attack = kind == 3 || kind == 4;
    const bool approach = (kind == 0 || kind == 1)
        && HexDistance(x, y, order.target.column, order.target.row) > m_aiParameters.Get(kind);
    if (!attack && !approach)
        return false;
    m_movedUnits.clear();
    if (LoadFormationUnit(x, y, node, hexes))
        return true;
    GatherFormationGroup(x, y, node, kind);
    if (m_movedUnits.empty())
        return false;
    bool artillery = false;
    for (int p : m_movedUnits) {
        const UnitNode* moved = GetStackNode(x, y, p);
        artillery = artillery || (moved && moved->value.m_type && moved->value.m_type->IsArtillery());
    }
    const int threshold = artillery ? m_aiParameters[kAiHorizon] : m_aiParameters.Get(kind);
    return MoveGroupToward(x, y, order.target, threshold, false, hexes);
}

void CGameAiMove::GatherFormationGroup(int x, int y, const OrgNode* node, int kind)
{
    m_movedUnits.clear();
    const int limit = m_parameters.m_maxStackStrength;
    long long strength = 0;
    for (int p = 1;; ++p) {
        UnitNode* unit = GetStackNode(x, y, p);
        if (!unit)
            return;
        if (!IsFormationMover(x, y, p, node, kind))
            continue;
        if (strength + unit->value.m_strength > limit)
            return;
        const UnitNode* passenger = HasStatus(unit->value, kUnitCarrying) ? GetStackNode(x, y, p + 1) : nullptr;
        if (passenger && !HasStatus(passenger->value, kUnitCarried))
            passenger = nullptr;
        // A carrier never leaves its passenger behind: both go, or neither.
        if (m_movedUnits.size() + (passenger ? 2 : 1) > kMaxGroupEntries)
            return;
        if (passenger && GetEnemyDistance(x, y) < m_aiParameters[kAiHorizon]
            && !HasStatus(unit->value, kUnitSavedForUnloading))
            ToggleUnitSaveApForUnloading(*unit);
        m_movedUnits.push_back(p);
        if (passenger)
            m_movedUnits.push_back(p + 1);
        strength += unit->value.m_strength;
    }
}

bool CGameAiMove::IsFormationMover(int x, int y, int p, const OrgNode* formation, int kind)
{
    const UnitNode* node = GetStackNode(x, y, p);
    if (!node)
        return false;
    const PlacedUnit& unit = node->value;
    if (unit.GetCommandNode() != formation || HasStatus(unit, kUnitCarried))
        return false;
    const PlatoonType* type = unit.m_type;
    if (!type)
        return false;
    if (type->IsLeader())
        return true;
    const bool carrying = HasStatus(unit, kUnitCarrying);
    if ((type->m_targetFlags & kTargetIndirect) != 0 || (type->m_carryFlags & 0x4) != 0)
        return false;
    if (type->IsCarrier() && !carrying && !IsHardTarget(type))
        return false;
    if (!CheckPhaseAllowsMove(unit))
        return false;
    if (GetMaximumRange(type) == 0 && !carrying && (kind == 3 || kind == 4))
        return false;
    return !HasStatus(unit, kUnitDisrupted) || kind == 4;
}

bool CGameAiMove::BanzaiCharge(int x, int y, int p, HexList& hexes)
{
    const UnitNode* node = GetStackNode(x, y, p);
    if (!node)
        return false;
    const OrgNode* formation = node->value.GetCommandNode();
    HexPos current { x, y };
    while (GetEnemyDistance(current.column, current.row) >= kBanzaiCloseDistance) {
        RandomGeneratorPtr generator = RandomGeneratorPtr::InitTimeSeeded();
        const int here = GetEnemyDistance(current.column, current.row);
        const HexPos next = DrawNeighbour(
            current, *generator, [&](const HexPos& hex) { return GetEnemyDistance(hex.column, hex.row) < here; });
        if (next.column == -1)
            break;
        current = next;
    }
    if (SameHex(current, HexPos { x, y }))
        return false;
    GatherFormationGroup(x, y, formation, GetOrder(formation).kind);
    if (m_movedUnits.empty())
        return false;
    return MoveGroupToward(x, y, current, 0, true, hexes);
}

bool CGameAiMove::IsHoldingBack(int x, int y, int p) const
{
    const UnitNode* node = GetStackNode(x, y, p);
    if (!node || !node->value.m_type)
        return false;
    const PlatoonType* type = node->value.m_type;
    const int enemy = GetEnemyDistance(x, y);
    if (type->IsLeader())
        return enemy < m_aiParameters[kAiHorizon] && HexHasOnlyLeaders(x, y);
    if (type->IsArtillery()) {
        const OrgNode* formation = node->value.GetCommandNode();
        const int reach
            = formation && formation->m_level < 3 ? m_aiParameters[kAiObjectiveRadius] : m_aiParameters[kAiHorizon];
        return enemy < reach;
    }
    return false;
}

bool CGameAiMove::PullBackSupport(int x, int y, int p, HexList& hexes)
{
    const UnitNode* node = GetStackNode(x, y, p);
    if (!node || !node->value.m_type || HasStatus(node->value, kUnitCarried) || !IsHoldingBack(x, y, p))
        return false;
    if (node->value.m_type->IsLeader()) {
        const HexPos join = JoinNearestOwnHex(x, y);
        if (join.column != -1) {
            m_movedUnits = { p };
            if (MoveGroupToward(x, y, join, m_aiParameters[kAiJoinDistance], false, hexes))
                return true;
        }
    }
    const int steps = m_aiParameters[kAiHorizon] - GetEnemyDistance(x, y) + 1;
    const HexPos away = WalkAwayFromEnemy(x, y, steps);
    m_movedUnits = { p };
    return MoveGroupToward(x, y, away, 0, false, hexes);
}

HexPos CGameAiMove::JoinNearestOwnHex(int x, int y)
{
    const int side = SideInHex(x, y);
    RandomGeneratorPtr generator = RandomGeneratorPtr::InitSeeded(MixAtCursor(0));
    ReservoirDraw draw(*generator, 2);
    HexPos best { -1, -1 };
    int bestDistance = INT_MAX;
    for (int column = 0; column < m_map.GetWidth(); ++column) {
        for (int row = 0; row < m_map.GetHeight(); ++row) {
            if ((column == x && row == y) || SideInHex(column, row) != side)
                continue;
            const int distance = HexDistance(x, y, column, row);
            if (distance < bestDistance) {
                best = HexPos { column, row };
                bestDistance = distance;
                draw.Restart(2);
            } else if (distance == bestDistance && draw.Offer()) {
                best = HexPos { column, row };
            }
        }
    }
    return best;
}

HexPos CGameAiMove::WalkAwayFromEnemy(int x, int y, int steps)
{
    HexPos current { x, y };
    for (; steps >= 1; --steps) {
        RandomGeneratorPtr generator = RandomGeneratorPtr::InitSeeded(MixAt(current.column, current.row, 0));
        const int here = GetEnemyDistance(current.column, current.row);
        const HexPos next = DrawNeighbour(
            current, *generator, [&](const HexPos& hex) { return GetEnemyDistance(hex.column, hex.row) > here; });
        if (next.column == -1)
            break;
        current = next;
    }
    return current;
}

// ---- Group moves ----

bool CGameAiMove::MoveGroupToward(int x, int y, HexPos destination, int threshold, bool forced, HexList& hexes)
{
    const int horizon = m_aiParameters[kAiHorizon];
    const int count = static_cast<int>(m_movedUnits.size());
    if (count == 0)
        return false;

    bool vehicles = false;
    for (int p : m_movedUnits) {
        UnitNode* node = GetStackNode(x, y, p);
        if (!node || !node->value.m_type || !node->value.m_type->IsVehicle())
            continue;
        vehicles = true;
        PlacedUnit& unit = node->value;
        if (GetEnemyDistance(x, y) < horizon && !HasStatus(unit, kUnitSavedForFiring)
            && unit.m_type->m_fireApCost < kCheapFireCost && !IsOpenWater(x, y))
            ToggleUnitSaveApForFiring(unit);
    }
    if (!MayGroupLeave(x, y, vehicles))
        return false;
    destination = AdjustApproachHex(x, y, destination);
    ReportGroupStart(x, y);

    HexList route;
    FindMovePathWithDetours(x, y, destination.column, destination.row, m_movedUnits.data(), count, route);
    const std::size_t length = route.Count();
    if (length >= kShortRouteMin && length <= kShortRouteMax && GetEnemyDistance(x, y) >= kDoubleTimeDistance)
        DoubleTime(x, y, m_movedUnits.data(), count);

    // What the caller's list held stays; only this walk's hexes go again
    // when the group takes no step.
    HexListNode* callerLast = hexes.Last();
    HexPos current { x, y };
    for (const HexPos& hex : route) {
        if (SameHex(hex, current)) {
            AppendHexListNode(hexes, hex.column, hex.row);
            continue;
        }
        const int here = GetEnemyDistance(current.column, current.row);
        const bool atStart = current.column == x && current.row == y;
        if ((!atStart || threshold == horizon) && here <= threshold && GetEnemyDistance(hex.column, hex.row) < here)
            break;
        if (!forced) {
            if (!MayGroupEnter(current.column, current.row, hex.column, hex.row))
                break;
            if (!MayGroupLeave(current.column, current.row, vehicles))
                break;
            if (GetEffectiveTerrain(current.column, current.row) != kTerrainWater
                && GetEffectiveTerrain(hex.column, hex.row) == kTerrainShallowWater)
                break;
            if (!atStart && IsDangerousStep(current.column, current.row, hex.column, hex.row))
                break;
            if ((m_hexFlags.At(current.column, current.row) & kMineClearingWork) != 0) {
                bool clearing = false;
                for (int p : m_movedUnits) {
                    const UnitNode* node = GetStackNode(current.column, current.row, p);
                    clearing = clearing
                        || (node && node->value.m_type && (node->value.m_type->m_extraFlags & kExtraMineImmune) != 0);
                }
                if (clearing)
                    break;
            }
            if (NationInHex(current.column, current.row) == kBanzaiNation
                && (m_hexFlags.At(current.column, current.row) & kHexCave) != 0
                && CountStackUnits(current.column, current.row) <= count)
                break;
        }
        if (!MoveUnits(current.column, current.row, hex.column, hex.row, m_movedUnits.data(), count))
            break;
        current = hex;
        AppendHexListNode(hexes, hex.column, hex.row);
        if (CheckOpportunityFire(hex.column, hex.row, false)
            || IsMineAttackTriggered(m_movedUnits.data(), count, hex.column, hex.row))
            break;
    }

    if (current.column == x && current.row == y) {
        while (hexes.Last() != callerLast)
            hexes.Remove(hexes.Last());
        return false;
    }
    IsHexSpottedByEnemy(current.column, current.row);
    ReportGroupEnd(current.column, current.row);
    bool removed = false;
    if (IsOwnExitHex(current.column, current.row)) {
        removed = RemoveUnitsAtExit(current.column, current.row, m_movedUnits.data(), count);
        if (removed && IsHexVisibleToMover(current.column, current.row)) {
            m_report.AppendText("\n");
            m_report.AppendText(kRemovingText);
        }
    }
    if (!removed && ShouldUnloadAfterMove(current.column, current.row))
        LoadUnload(current.column, current.row, m_movedUnits.data(), count);
    return true;
}

HexPos CGameAiMove::AdjustApproachHex(int x, int y, HexPos destination)
{
    bool hard = false;
    bool firesFromCover = false;
    for (int p : m_movedUnits) {
        const UnitNode* node = GetStackNode(x, y, p);
        if (!node || !node->value.m_type)
            continue;
        hard = hard || IsHardTarget(node->value.m_type);
        const std::int32_t value39 = node->value.m_type->m_value39;
        firesFromCover
            = firesFromCover || ((value39 & kApproachFiresFromCover) != 0 && (value39 & kApproachCloses) == 0);
    }
    const int enemy = OtherSide(SideInHex(x, y));
    if (hard || enemy < 0 || SideInHex(destination.column, destination.row) != enemy)
        return destination;

    const HexPos objective = destination;
    const int startDistance = HexDistance(x, y, objective.column, objective.row);
    int best = 3 * startDistance;
    const bool startOpen = GetEffectiveTerrain(x, y) == kTerrainOpen;
    int minX = 0, maxX = -1, minY = 0, maxY = -1;
    ClipSquareToMap(objective.column, objective.row, kApproachRadius, minX, maxX, minY, maxY);
    for (int column = minX; column <= maxX; ++column) {
        for (int row = minY; row <= maxY; ++row) {
            const HexPos reference = startOpen ? destination : objective;
            if (GetEffectiveTerrain(column, row) == kTerrainOpen || SameHex(HexPos { column, row }, reference)
                || SideInHex(column, row) == enemy)
                continue;
            const int score
                = HexDistance(reference.column, reference.row, column, row) + 2 * HexDistance(x, y, column, row);
            if (score < best && HexDistance(column, row, objective.column, objective.row) < startDistance) {
                destination = HexPos { column, row };
                best = score;
            }
        }
    }

    const auto exposed = [&] {
        return GetEffectiveTerrain(destination.column, destination.row) == kTerrainOpen
            || SideInHex(destination.column, destination.row) == enemy;
    };
    const auto canFire = [&] {
        return CheckFiringUnits(
            m_movedUnits.data(), static_cast<int>(m_movedUnits.size()), x, y, objective.column, objective.row, 0);
    };
    if (firesFromCover && exposed() && canFire())
        destination = HexPos { x, y };
    if (exposed() && !startOpen && canFire()) {
        bool steady = false;
        for (const PlacedUnit& unit : m_stacks.At(destination.column, destination.row))
            steady = steady || !HasStatus(unit, kUnitDisrupted);
        // The shared draw comes last, only when everything else holds.
        if (steady && UniformRandom() < kStayToFireChance)
            destination = HexPos { x, y };
    }
    return destination;
}

bool CGameAiMove::MayGroupLeave(int x, int y, bool vehicles) const
{
    if (vehicles || !m_map.IsOnMap(x, y))
        return true;
    const bool everyone = m_movedUnits.size() == m_stacks.At(x, y).Count();
    if (!everyone)
        return true;
    return GetObjectiveCell(x, y).value <= 0 && (m_hexFlags.At(x, y) & kHeldPositionFlags) == 0;
}

bool CGameAiMove::MayGroupEnter(int fromX, int fromY, int toX, int toY) const
{
    const long long strength = static_cast<long long>(SumSelectedStrength(
                                   fromX, fromY, m_movedUnits.data(), static_cast<int>(m_movedUnits.size())))
        + GetStackStrength(toX, toY);
    const int limit = m_parameters.m_maxStackStrength;
    const int terrain = GetEffectiveTerrain(toX, toY);
    long long bound = 0;
    if (terrain == kTerrainOpen)
        bound = limit / 2;
    else if (terrain == kTerrainForest)
        bound = limit;
    else
        return true;
    if (strength <= bound)
        return true;
    for (const PlacedUnit& unit : m_stacks.At(toX, toY))
        if (HasStatus(unit, kUnitMoved))
            return false;
    return true;
}

bool CGameAiMove::IsDangerousStep(int fromX, int fromY, int toX, int toY) const
{
    bool hard = false;
    for (int p : m_movedUnits) {
        const UnitNode* node = GetStackNode(fromX, fromY, p);
        hard = hard || (node && IsHardTarget(node->value.m_type));
    }
    if (!hard)
        return false;
    const int notMoving = OtherSide(m_map.GetSide());
    for (HexSide side(1); side.IsValid(); side.Next()) {
        HexPos neighbour;
        if (!m_map.GetNeighbour(side, toX, toY, neighbour) || SideInHex(neighbour.column, neighbour.row) != notMoving)
            continue;
        for (const PlacedUnit& unit : m_stacks.At(neighbour.column, neighbour.row))
            if (GetMaxRangeVsHard(unit.m_type) == 1)
                return true;
    }
    if (GetEnemyDistance(toX, toY) >= GetEnemyDistance(fromX, fromY))
        return false;
    const int enemy = OtherSide(SideInHex(fromX, fromY));
    int minX = 0, maxX = -1, minY = 0, maxY = -1;
    ClipSquareToMap(toX, toY, m_aiParameters[kAiObjectiveRadius], minX, maxX, minY, maxY);
    for (int column = minX; column <= maxX; ++column) {
        for (int row = minY; row <= maxY; ++row) {
            if (enemy < 0 || SideInHex(column, row) != enemy)
                continue;
            const int distance = HexDistance(toX, toY, column, row);
            for (const PlacedUnit& unit : m_stacks.At(column, row))
                if (IsHardTarget(unit.m_type) && GetMaxRangeVsHard(unit.m_type) / 2 >= distance)
                    return true;
        }
    }
    return false;
}

bool CGameAiMove::ShouldUnloadAfterMove(int x, int y) const
{
    const int enemy = GetEnemyDistance(x, y);
    for (std::size_t i = 0; i + 1 < m_movedUnits.size(); ++i) {
        const int p = m_movedUnits[i];
        const UnitNode* carrierNode = GetStackNode(x, y, p);
        const UnitNode* passengerNode = GetStackNode(x, y, m_movedUnits[i + 1]);
        if (!carrierNode || !passengerNode || m_movedUnits[i + 1] != p + 1)
            continue;
        const PlacedUnit& carrier = carrierNode->value;
        const PlacedUnit& passenger = passengerNode->value;
        if (!HasStatus(carrier, kUnitCarrying) || !HasStatus(passenger, kUnitCarried) || !carrier.m_type
            || (carrier.m_type->m_carryFlags & kCarryHorses) != 0)
            continue;
        if (enemy <= m_aiParameters[kAiUnloadDistance] || IsEnemyInRange(passenger.m_type, x, y))
            return true;
        if (GetEffectiveTerrain(x, y) == kTerrainShallowWater && (carrier.m_type->m_moveFlags & kMoveWaterEntry) == 0)
            return true;
        if (IsHardTarget(carrier.m_type))
            continue;
        if (IsEnemyNear(x, y) && passenger.m_type && (passenger.m_type->m_carryFlags & 0x4) == 0)
            return true;
    }
    return false;
}

ObjectiveCell CGameAiMove::GetObjectiveCell(int x, int y) const
{
    return m_objectives.Contains(x, y) ? m_objectives.At(x, y) : ObjectiveCell {};
}

int CGameAiMove::GetHolderSide(const ObjectiveCell& cell)
{
    return cell.nation < 0 ? -1 : DefaultSideOfNation(cell.nation);
}

bool CGameAiMove::IsOwnExitHex(int x, int y) const
{
    const ObjectiveCell cell = GetObjectiveCell(x, y);
    const int side = SideInHex(x, y);
    return cell.value < 0 && side >= 0 && GetHolderSide(cell) == side;
}

// ---- Reports ----

void CGameAiMove::ReportGroupStart(int x, int y)
{
    if (!IsHexVisibleToMover(x, y)) {
        m_report = String("Moving units from unknown location\n");
        return;
    }
    m_report = String("Moving units:\n");
    if (!IsSideInfoHidden(m_map.GetSide())) {
        for (int p : m_movedUnits) {
            const UnitNode* node = GetStackNode(x, y, p);
            if (!node)
                continue;
            String label;
            GetUnitLabel(label, node->value);
            m_report.AppendText("    ");
            m_report.Append(label);
            m_report.AppendText("\n");
        }
    }
    String location;
    HexLocationText(location, x, y);
    m_report.AppendText("from hex");
    m_report.Append(location);
}

void CGameAiMove::ReportGroupEnd(int x, int y)
{
    if (!IsHexVisibleToMover(x, y)) {
        m_report.AppendText(" to unknown location");
        return;
    }
    String location;
    HexLocationText(location, x, y);
    m_report.AppendText(" to hex");
    m_report.Append(location);
}
