// The planning pass: at the start of each Initial Phase of a side the
// computer plays with its own planning, every lowest formation of that side
// gets its order (hold, move to or attack an objective hex, or a Banzai
// attack). The move steps then follow these orders.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "ai/Game.h"
#include "model/Geometry.h"
#include "model/Random.h"

namespace {

// Order kinds and what the planning makes of them.
constexpr int kMoveOwn = 0; // move to an own objective, low priority
constexpr int kReachOwn = 1; // move to an own objective
constexpr int kAttackHigh = 3;
constexpr int kAttackLow = 4;
constexpr int kBanzai = 5;

// Only the Japanese charge.
constexpr int kBanzaiNation = 21;
constexpr int kBanzaiFitPercent = 70;
// A unit this near armed enemies counts toward a Banzai charge.
constexpr int kBanzaiEnemyDistance = 3;
// A path search that ends this near the target still reaches it.
constexpr int kReachableBound = 3;
// The ring of cover around an objective to which further attackers spread.
constexpr int kSpreadWindow = 6;
constexpr int kSpreadNearest = 4;
constexpr int kMineBits = CGameData::kHexMinefield1 | CGameData::kHexMinefield2 | CGameData::kHexMinefield3;
// Step of the weighted attacks: every formation while fewer than 50, then
// every second, third, ... of them.
constexpr int kFormationsPerStep = 50;

bool IsAttack(int kind) { return kind == kAttackHigh || kind == kAttackLow; }
bool IsOwnMove(int kind) { return kind == kReachOwn || kind == kMoveOwn; }

int Distance(HexPos a, int column, int row) { return HexDistance(a.column, a.row, column, row); }

} // namespace

int AiObjective::GetSide() const { return nation == -1 ? -1 : DefaultSideOfNation(nation); }

// ---- Helpers ----

void CGame::GiveOrder(const OrgNode* formation, int kind, HexPos target)
{
    AiOrder order;
    order.orderingNode = formation;
    order.SetKind(kind);
    order.SetTarget(target.column, target.row);
    SetOrderTree(formation, order);
}

int CGame::KindByDraw(int side, int high, int low) const
{
    return m_aiPercent[side] <= UniformRandom() * 100.0 ? high : low;
}

bool CGame::IsReachable(const OrgNode* formation, HexPos target)
{
    const FormationSummary summary = GetSummary(formation);
    if (summary.GetFitPercent() < m_aiParameters[kAiPlanThreshold])
        return false;
    const HexPos centre = summary.GetCentroid();
    const PlacedUnit& leading = summary.leadingUnit;
    if (!m_map.IsOnMap(centre.column, centre.row) || !leading.m_type)
        return true;
    // The leading unit alone is the selection; a leader or a carried unit
    // adds no strength to stacking, as in a move.
    const int strength
        = leading.m_type->IsLeader() || HasStatus(leading, kUnitCarried) ? 0 : std::max(0, leading.m_strength);
    return FindPathForProfile(
               leading, centre.column, centre.row, target.column, target.row, formation->GetSide(), 1, strength)
        < kReachableBound;
}

bool CGame::HoldsUnits(HexPos hex) const
{
    return m_stacks.Contains(hex.column, hex.row) && !m_stacks.At(hex.column, hex.row).IsEmpty();
}

int CGame::ObjectiveSideAt(HexPos hex) const
{
    if (!m_objectives.Contains(hex.column, hex.row))
        return -1;
    const int nation = m_objectives.At(hex.column, hex.row).nation;
    return nation == -1 ? -1 : DefaultSideOfNation(nation);
}

// ---- The pass ----

void CGame::RunPlanningPass(int side)
{
    if (!IsSide(side))
        return;
    ResetSideOrders(side);
    Formations formations;
    ConstOrgNodeList lowest;
    std::as_const(m_orgTree).CollectLowestFormations(lowest);
    for (const OrgNode* node : lowest)
        if (node->GetSide() == side)
            formations.push_back(node);

    std::vector<AiObjective> objectives = CollectObjectives(side);
    ReviewOrders(side, formations, objectives);
    TakeEmptyObjectives(side, formations, objectives);
    DefendObjectives(side, formations, objectives);
    WeighObjectives(side, objectives);
    StartBanzaiOrRetarget(side, formations, objectives);
    DrawWeightedAttacks(side, objectives);
    SendIdleFormations(side, formations, objectives);
    SpreadAttackers(formations, objectives);
}

std::vector<AiObjective> CGame::CollectObjectives(int side) const
{
    std::vector<AiObjective> objectives;
    const int radius = m_aiParameters[kAiObjectiveRadius];
    for (int x = 0; x < m_objectives.Width(); ++x) {
        for (int y = 0; y < m_objectives.Height(); ++y) {
            const ObjectiveCell& cell = m_objectives.At(x, y);
            if (cell.value == 0)
                continue;
            AiObjective objective;
            objective.value = cell.value;
            objective.nation = cell.nation;
            objective.column = x;
            objective.row = y;
            // Steady armed units around it: the side's own count for it,
            // the others' against it.
            int minX = 0, maxX = -1, minY = 0, maxY = -1;
            ClipSquareToMap(x, y, radius, minX, maxX, minY, maxY);
            for (int cx = minX; cx <= maxX; ++cx)
                for (int cy = minY; cy <= maxY; ++cy)
                    for (const PlacedUnit& unit : m_stacks.At(cx, cy))
                        if (unit.m_type && !HasStatus(unit, kUnitDisrupted) && GetMaximumRange(unit.m_type) != 0)
                            objective.score += unit.m_type->GetSide() == side ? 1 : -1;
            objectives.push_back(objective);
        }
    }
    return objectives;
}

void CGame::ReviewOrders(int side, const Formations& formations, const std::vector<AiObjective>& objectives)
{
    const int fitThreshold = m_aiParameters[kAiFitThreshold];
    for (const OrgNode* formation : formations) {
        AiOrder order = GetOrder(formation);
        const AiOrder before = order;
        const int fit = GetSummary(formation).GetFitPercent();
        // Too weak for its task: a move to an own objective is given up
        // sooner than an attack.
        if ((order.kind == kAttackHigh || order.kind == kReachOwn) && fit <= fitThreshold)
            order.SetKind(kAiOrderHold);
        else if ((order.kind == kAttackLow || order.kind == kMoveOwn) && fit <= fitThreshold / 2)
            order.SetKind(kAiOrderHold);
        const HexPos target = order.target;
        if (m_map.IsOnMap(target.column, target.row)) {
            // An attack on a hex the side holds is over; a move to an own
            // objective the enemy took becomes an attack on it.
            if (IsAttack(order.kind)
                && ((ObjectiveSideAt(target) == side && HoldsUnits(target))
                    || SideInHex(target.column, target.row) == side))
                order.SetKind(kAiOrderHold);
            else if (IsOwnMove(order.kind) && ObjectiveSideAt(target) == OtherSide(side))
                order.SetKind(order.kind == kReachOwn ? kAttackHigh : kAttackLow);
        }
        if (order.kind != before.kind)
            SetOrderTree(formation, order);
    }
    // An own objective held by enough defenders releases the one that is
    // still farthest away.
    for (const AiObjective& objective : objectives) {
        if (objective.GetSide() != side || objective.score <= 0)
            continue;
        const OrgNode* farthest = nullptr;
        int farthestDistance = -1;
        for (const OrgNode* formation : formations) {
            const AiOrder order = GetOrder(formation);
            const FormationSummary summary = GetSummary(formation);
            if (!IsOwnMove(order.kind) || !objective.IsAt(order.target) || summary.unitCount > objective.score)
                continue;
            const int distance = Distance(summary.GetCentroid(), objective.column, objective.row);
            if (distance > farthestDistance) {
                farthest = formation;
                farthestDistance = distance;
            }
        }
        if (farthest) {
            AiOrder order = GetOrder(farthest);
            order.SetKind(kAiOrderHold);
            SetOrderTree(farthest, order);
        }
    }
}

void CGame::TakeEmptyObjectives(int side, const Formations& formations, const std::vector<AiObjective>& objectives)
{
    const int reach = m_aiParameters.Get(kReachOwn);
    for (const AiObjective& objective : objectives) {
        const HexPos hex { objective.column, objective.row };
        if (HoldsUnits(hex) || (objective.value < 1 && objective.GetSide() != side))
            continue;
        bool attacked = false;
        for (const OrgNode* formation : formations) {
            const AiOrder order = GetOrder(formation);
            attacked = attacked || (IsAttack(order.kind) && order.target == hex);
        }
        if (attacked)
            continue;
        const OrgNode* nearest = nullptr;
        int best = reach + 1;
        for (const OrgNode* formation : formations) {
            const int distance = Distance(GetSummary(formation).GetCentroid(), hex.column, hex.row);
            if (distance < best && IsReachable(formation, hex)) {
                nearest = formation;
                best = distance;
            }
        }
        if (nearest)
            GiveOrder(nearest, KindByDraw(side, kAttackHigh, kAttackLow), hex);
    }
}

void CGame::DefendObjectives(int side, const Formations& formations, const std::vector<AiObjective>& objectives)
{
    const int reach = m_aiParameters.Get(kReachOwn);
    for (const AiObjective& objective : objectives) {
        if (objective.GetSide() != side)
            continue;
        bool covered = false;
        for (const OrgNode* formation : formations) {
            const HexPos target = GetOrder(formation).target;
            covered = covered
                || (m_map.IsOnMap(target.column, target.row)
                    && Distance(target, objective.column, objective.row) <= reach);
        }
        if (objective.score >= 0 && covered)
            continue;
        const OrgNode* nearest = nullptr;
        int best = INT_MAX;
        for (const OrgNode* formation : formations) {
            const FormationSummary summary = GetSummary(formation);
            const int kind = GetOrder(formation).kind;
            if (summary.unitCount < 1 || (kind != kAiOrderHold && kind != kAttackHigh))
                continue;
            const int distance = Distance(summary.GetCentroid(), objective.column, objective.row);
            if (distance < best) {
                nearest = formation;
                best = distance;
            }
        }
        if (nearest)
            GiveOrder(nearest, KindByDraw(side, kReachOwn, kMoveOwn), HexPos { objective.column, objective.row });
    }
}

void CGame::WeighObjectives(int side, std::vector<AiObjective>& objectives)
{
    const int enemy = OtherSide(side);
    int low = INT_MAX;
    int high = INT_MIN;
    for (const AiObjective& objective : objectives) {
        if (objective.GetSide() != enemy)
            continue;
        low = std::min(low, objective.score);
        high = std::max(high, objective.score);
    }
    for (AiObjective& objective : objectives) {
        if (objective.GetSide() != enemy)
            continue;
        objective.weight
            = high == low ? 1.0 : (static_cast<double>(objective.score) - low) / (static_cast<double>(high) - low);
    }
}

bool CGame::TryBanzai(const OrgNode* formation, HexPos& leaderHex)
{
    if (formation->GetNation() != kBanzaiNation || GetSummary(formation).GetFitPercent() < kBanzaiFitPercent)
        return false;
    int total = 0;
    int near = 0;
    int leaderPosition = 0;
    for (int x = 0; x < m_stacks.Width(); ++x) {
        for (int y = 0; y < m_stacks.Height(); ++y) {
            int position = 0;
            for (const PlacedUnit& unit : m_stacks.At(x, y)) {
                ++position;
                if (unit.GetCommandNode() != formation)
                    continue;
                ++total;
                if (GetEnemyDistance(x, y) < kBanzaiEnemyDistance && !HasStatus(unit, kUnitFixed))
                    ++near;
                if (unit.m_type && unit.m_type->IsLeader()) {
                    leaderHex = HexPos { x, y };
                    leaderPosition = position;
                }
            }
        }
    }
    return leaderPosition != 0 && near >= total / 2
        && StartBanzaiAttack(leaderHex.column, leaderHex.row, &leaderPosition, 1);
}

void CGame::StartBanzaiOrRetarget(int side, const Formations& formations, const std::vector<AiObjective>& objectives)
{
    m_banzaiSound = false;
    const long long farthest = static_cast<long long>(m_map.GetWidth()) + m_map.GetHeight();
    for (const OrgNode* formation : formations) {
        HexPos leaderHex { -1, -1 };
        if (TryBanzai(formation, leaderHex)) {
            GiveOrder(formation, kBanzai, leaderHex);
            m_banzaiSound = true;
            continue;
        }
        const int kind = GetOrder(formation).kind;
        if (kind != kAiOrderHold && kind != kBanzai)
            continue;
        // A holding formation goes for the nearest objective that is not
        // its side's.
        const HexPos centre = GetSummary(formation).GetCentroid();
        const AiObjective* nearest = nullptr;
        long long best = farthest;
        for (const AiObjective& objective : objectives) {
            const int distance = Distance(centre, objective.column, objective.row);
            if (objective.GetSide() != formation->GetSide() && distance < best) {
                nearest = &objective;
                best = distance;
            }
        }
        const HexPos target = nearest ? HexPos { nearest->column, nearest->row } : HexPos { -1, -1 };
        if (nearest && IsReachable(formation, target))
            GiveOrder(formation, KindByDraw(side, kAttackHigh, kAttackLow), target);
    }
}

void CGame::DrawWeightedAttacks(int side, const std::vector<AiObjective>& objectives)
{
    const int enemy = OtherSide(side);
    ConstOrgNodeList all;
    std::as_const(m_orgTree).CollectLowestFormations(all);
    const int step = (static_cast<int>(all.Count()) + kFormationsPerStep) / kFormationsPerStep;
    for (;;) {
        double total = 0.0;
        for (const AiObjective& objective : objectives)
            if (objective.GetSide() == enemy)
                total += objective.weight;
        const double drawn = UniformRandom() * total;
        const AiObjective* chosen = nullptr;
        double running = 0.0;
        for (const AiObjective& objective : objectives) {
            if (objective.GetSide() != enemy || objective.value < 1)
                continue;
            running += objective.weight;
            if (running >= drawn) {
                chosen = &objective;
                break;
            }
        }
        if (!chosen)
            return;
        const HexPos hex { chosen->column, chosen->row };
        int k = static_cast<int>(((static_cast<long long>(hex.column) + hex.row + m_planCounter) % step + step) % step);
        bool ordered = false;
        for (const OrgNode* formation : all) {
            const bool own = formation->GetSide() == side;
            if (chosen->value < 0 && own && GetOrder(formation).target == hex)
                break;
            if (own && k % step == 0 && GetOrder(formation).kind == kAiOrderHold && IsReachable(formation, hex)) {
                GiveOrder(formation, KindByDraw(side, kAttackHigh, kAttackLow), hex);
                ++m_planCounter;
                ordered = true;
            }
            ++k;
        }
        if (!ordered)
            return;
    }
}

void CGame::SendIdleFormations(int side, const Formations& formations, const std::vector<AiObjective>& objectives)
{
    const int planThreshold = m_aiParameters[kAiPlanThreshold];
    const int reach = m_aiParameters.Get(kReachOwn);
    for (const OrgNode* formation : formations) {
        const FormationSummary summary = GetSummary(formation);
        if (summary.GetFitPercent() < planThreshold || GetOrder(formation).kind != kAiOrderHold)
            continue;
        const HexPos centre = summary.GetCentroid();
        const AiObjective* nearest = nullptr;
        int best = INT_MAX;
        for (const AiObjective& objective : objectives) {
            const int distance = Distance(centre, objective.column, objective.row);
            if (objective.GetSide() == side && distance < best) {
                nearest = &objective;
                best = distance;
            }
        }
        if (nearest && best > reach)
            GiveOrder(formation, kReachOwn, HexPos { nearest->column, nearest->row });
    }
}

void CGame::SpreadAttackers(const Formations& formations, const std::vector<AiObjective>& objectives)
{
    // Off the planning's shared sequence: the spread must not change the
    // rules' draws.
    RandomGeneratorPtr random = RandomGeneratorPtr::InitTimeSeeded();
    for (const AiObjective& objective : objectives) {
        int attackers = 0;
        for (const OrgNode* formation : formations) {
            AiOrder order = GetOrder(formation);
            if (!IsAttack(order.kind) || !objective.IsAt(order.target) || ++attackers < 2)
                continue;
            // A hex of cover 4 to 6 hexes away, each candidate in scan
            // order taking the place of the one before with chance 1/k.
            int minX = 0, maxX = -1, minY = 0, maxY = -1;
            ClipSquareToMap(objective.column, objective.row, kSpreadWindow, minX, maxX, minY, maxY);
            HexPos chosen { -1, -1 };
            int candidates = 0;
            for (int x = minX; x <= maxX; ++x) {
                for (int y = minY; y <= maxY; ++y) {
                    const int distance = HexDistance(objective.column, objective.row, x, y);
                    const int terrain = GetEffectiveTerrain(x, y);
                    if (distance < kSpreadNearest || distance > kSpreadWindow || terrain == kTerrainOpen
                        || terrain == kTerrainWater || (m_hexFlags.At(x, y) & kMineBits) != 0)
                        continue;
                    ++candidates;
                    if (random->Next() < 1.0 / candidates)
                        chosen = HexPos { x, y };
                }
            }
            if (candidates == 0)
                continue;
            order.SetTarget(chosen.column, chosen.row);
            SetOrderTree(formation, order);
        }
    }
}
