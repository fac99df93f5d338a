#include "rules/GameSession.h"

#include <algorithm>
#include <cstdint>

#include "model/Geometry.h"
#include "model/IntRange.h"
#include "model/OrgTree.h"
#include "model/PlatoonType.h"

namespace {

const HexSide kSides[] = { HexSide::North, HexSide::NorthEast, HexSide::SouthEast, HexSide::South, HexSide::SouthWest,
    HexSide::NorthWest };

// The improved-position divisor of a parameter file that gives none (or one
// that would let every digging unit succeed).
constexpr int kDefaultDigDivisor = 6;
// The full rating of a unit without an organisation node.
constexpr int kDefaultRating = 6;

constexpr int kInitialPhase = 0;

// Whether the unit belongs to the node or to a formation under it.
bool IsUnitOf(const PlacedUnit& unit, const OrgNode* node) { return unit.m_node && node->IsAncestorOf(unit.m_node); }

} // namespace

// ---- Battle start and phase advance ----

void CGameSession::ResetCursor()
{
    m_cursor = HexPos { -1, -1 };
    m_selectedNodes.clear();
    m_cursorRestart = 1;
}

void CGameSession::ResetBattleState()
{
    CGameSupply::ResetBattleState();
    ResetCursor();
}

bool CGameSession::LoadBattleAndReport(
    std::istream& in, String& text, std::vector<int>& groups, std::vector<int>& released, HexList& hexes)
{
    // The read itself empties every layer's battle state first (cursor and
    // assault included).
    text = String();
    groups.clear();
    released.clear();
    // A scenario carries no blocks of the computer opponent.
    if (!CGameData::ReadBattleFile(in, true))
        return false;
    BuildOpeningReport(text, groups, released, hexes);
    return true;
}

void CGameSession::BuildOpeningReport(
    String& text, std::vector<int>& groups, std::vector<int>& released, HexList& hexes)
{
    String part;
    FindIsolatedUnits(part, hexes);
    text.Append(part);
    RollReinforcementArrivals(part, groups);
    text.Append(part);
    ReleaseUnits(part, released, hexes);
    text.Append(part);
    GetAirStrikesText(part);
    text.Append(part);
    RecomputeContacts();
    ResetUnitVisibility();
}

bool CGameSession::LoadBattle(std::istream& in, bool keepVersion10) { return ReadBattleFile(in, keepVersion10); }

void CGameSession::ResetBattle() { ResetBattleState(); }

String CGameSession::GetBattleTitle() const { return m_title.IsEmpty() ? m_parameters.m_name : m_title; }

bool CGameSession::NextPhase()
{
    ResetCursor();
    return AdvancePhase(m_parameters.m_minutesPerTurn);
}

void CGameSession::BuildTurnStartReport(
    String& text, HexList& hexes, std::vector<int>& offMapChanges, std::vector<int>& groups, std::vector<int>& released)
{
    BuildArrivalReport(text, hexes, groups, released);
    if (m_map.GetPhase() == kInitialPhase) {
        String part;
        FindIsolatedUnits(part, hexes);
        text.Append(part);
        CheckSupply(part, hexes, offMapChanges);
        text.Append(part);
        BuildMoraleRecoveryReport(part, hexes);
        text.Append(part);
        BuildImprovedPositionReport(part, hexes);
        text.Append(part);
        BuildMineClearingReport(part, hexes);
        text.Append(part);
    }
    UpdateSpotting(hexes);
    if (!text.IsEmpty() && text.str().back() == '\n')
        text = String(text.str().substr(0, text.GetLength() - 1));
}

bool CGameSession::IsMoverHex(int x, int y) const { return SideInHex(x, y) == m_map.GetSide(); }

void CGameSession::BuildImprovedPositionReport(String& text, HexList& hexes)
{
    String lines;
    int count = 0;
    for (int x = 0; x < m_map.GetWidth(); ++x)
        for (int y = 0; y < m_map.GetHeight(); ++y) {
            if (!IsMoverHex(x, y))
                continue;
            String line;
            CheckImprovedPosition(line, x, y);
            if (line.IsEmpty())
                continue;
            ++count;
            AppendHexListNodeOnce(hexes, x, y);
            lines.Append(line);
        }
    text = String();
    if (count > 0) {
        text = String("Total of " + std::to_string(count) + " improved position(s)\n");
        text.Append(lines);
    }
}

void CGameSession::CheckImprovedPosition(String& line, int x, int y)
{
    line = String();
    if (!m_stacks.Contains(x, y))
        return;
    const int divisor = m_parameters.m_value96 > 0 ? m_parameters.m_value96 : kDefaultDigDivisor;
    for (const PlacedUnit& unit : m_stacks.At(x, y)) {
        if (!HasStatus(unit, kUnitDiggingIn))
            continue;
        double chance = (unit.m_strength * (1.0 / divisor)) / 6.0;
        if (unit.m_type && (unit.m_type->m_extraFlags & kExtraMineSurcharge) != 0)
            chance *= 2.0;
        if (!(UniformRandom() < chance))
            continue;
        String where;
        HexLocationText(where, x, y);
        line = String("    ");
        line.Append(unit.GetName()).Append(where).AppendText("\n");
        ClearDiggingIn(x, y);
        m_hexFlags.At(x, y) |= kHexImprovedPosition;
        return;
    }
}

void CGameSession::ClearDiggingIn(int x, int y)
{
    if (!m_stacks.Contains(x, y))
        return;
    for (PlacedUnit& unit : m_stacks.At(x, y))
        unit.m_status &= ~static_cast<std::uint32_t>(kUnitDiggingIn);
}

void CGameSession::BuildMoraleRecoveryReport(String& text, HexList& hexes)
{
    String lines;
    int checked = 0;
    int recovered = 0;
    for (int x = 0; x < m_map.GetWidth(); ++x)
        for (int y = 0; y < m_map.GetHeight(); ++y)
            if (IsMoverHex(x, y) && RecoverMoraleInHex(x, y, lines, checked, recovered))
                AppendHexListNodeOnce(hexes, x, y);
    text = String();
    if (checked > 0) {
        text = String("Total of " + std::to_string(recovered) + " unit(s) undisrupted or recovered morale\nout of "
            + std::to_string(checked) + " unit(s) checked:\n");
        text.Append(lines);
    }
}

bool CGameSession::RecoverMoraleInHex(int x, int y, String& text, int& checked, int& recovered)
{
    if (!m_stacks.Contains(x, y))
        return false;
    bool any = false;
    for (UnitNode* node = m_stacks.At(x, y).Head(); node; node = node->next) {
        const PlacedUnit& unit = node->value;
        const int fullRating = unit.m_node ? unit.m_node->m_rating : kDefaultRating;
        if (!HasStatus(unit, kUnitDisrupted) && unit.m_rating >= fullRating)
            continue;
        ++checked;
        if (!RollRecovery(node, x, y))
            continue;
        any = true;
        if (recovered < kMaxRecoveryLines) {
            String where;
            HexLocationText(where, x, y);
            text.AppendText("    ").Append(unit.GetShortName()).Append(where).AppendText("\n");
        } else if (recovered == kMaxRecoveryLines) {
            text.AppendText(kAndOthersLine);
        }
        ++recovered;
    }
    return any;
}

void CGameSession::BuildMineClearingReport(String& text, HexList& hexes)
{
    constexpr int kObstacleBits = kHexMinefield1 | kHexMinefield2 | kHexMinefield3 | kHexBlocked | kHexMinefieldOther;
    text = String();
    const bool hidden = IsSideHidden(m_map.GetSide());
    for (int x = 0; x < m_map.GetWidth(); ++x)
        for (int y = 0; y < m_map.GetHeight(); ++y) {
            if (!IsMoverHex(x, y) || (m_hexFlags.At(x, y) & kObstacleBits) == 0 || !HexHasClearingUnit(x, y))
                continue;
            ReduceObstacle(x, y);
            AppendHexListNodeOnce(hexes, x, y);
            if (hidden)
                continue;
            String where;
            HexLocationText(where, x, y);
            text.AppendText("Unit clearing mine field or blocked hex").Append(where).AppendText("\n");
        }
}

void CGameSession::ReduceObstacle(int x, int y)
{
    if (!m_hexFlags.Contains(x, y))
        return;
    int& flags = m_hexFlags.At(x, y);
    if ((flags & kHexMinefield3) != 0)
        flags = (flags & ~kHexMinefield3) | kHexMinefield2;
    else if ((flags & kHexMinefield2) != 0)
        flags = (flags & ~kHexMinefield2) | kHexMinefield1;
    else if ((flags & kHexMinefield1) != 0)
        flags &= ~kHexMinefield1;
    else if ((flags & kHexMinefieldOther) != 0)
        flags &= ~kHexMinefieldOther;
    else
        flags &= ~kHexBlocked;
}

// ---- Tallies ----

void CGameSession::TallySideLosses(int lost[2], int values[2]) const
{
    std::int64_t points[2] = { 0, 0 };
    std::int64_t worth[2] = { 0, 0 };
    std::size_t index = 0;
    for (const PlatoonType* type : m_platoonTypes) {
        const int loss = index < m_losses.size() ? m_losses[index] : 0;
        ++index;
        const int side = type->GetSide();
        if (loss == 0 || !IsSide(side))
            continue;
        points[side] += loss;
        worth[side] += std::int64_t { loss } * type->m_unitValue;
    }
    for (int side = 0; side < 2; ++side) {
        lost[side] = ClampToInt(points[side]);
        values[side] = ClampToInt(worth[side]);
    }
}

namespace {

// The value of an exit hex cell (value v below 0): -(v + 1), in 64 bits.
std::int64_t ExitValue(int value) { return -(std::int64_t { value } + 1); }

// The side an objective cell counts for: none without a holder.
int HolderSide(const ObjectiveCell& cell) { return cell.nation < 0 ? -1 : DefaultSideOfNation(cell.nation); }

} // namespace

int CGameSession::SumHeldObjectiveValue() const
{
    std::int64_t sum = 0;
    const int first = m_firstSide;
    for (int x = 0; x < m_objectives.Width(); ++x)
        for (int y = 0; y < m_objectives.Height(); ++y) {
            const ObjectiveCell& cell = m_objectives.At(x, y);
            const int side = HolderSide(cell);
            if (!IsSide(side))
                continue;
            if (cell.value > 0 && side == first)
                sum += cell.value;
            else if (cell.value < 0 && side == first)
                sum += ExitValue(cell.value);
            else if (cell.value < 0)
                sum -= ExitValue(cell.value);
        }
    return ClampToInt(sum);
}

int CGameSession::SumObjectiveValueForSide(int side) const
{
    std::int64_t sum = 0;
    for (int x = 0; x < m_objectives.Width(); ++x)
        for (int y = 0; y < m_objectives.Height(); ++y) {
            const ObjectiveCell& cell = m_objectives.At(x, y);
            if (cell.value > 0 && HolderSide(cell) == side && IsSide(side))
                sum += cell.value;
        }
    return ClampToInt(sum);
}

int CGameSession::SumPenaltyValueForSide(int side) const
{
    std::int64_t sum = 0;
    for (int x = 0; x < m_objectives.Width(); ++x)
        for (int y = 0; y < m_objectives.Height(); ++y) {
            const ObjectiveCell& cell = m_objectives.At(x, y);
            if (cell.value < 0 && HolderSide(cell) == side && IsSide(side))
                sum += ExitValue(cell.value);
        }
    return ClampToInt(sum);
}

void CGameSession::TallySideForceValue(int values[2]) const
{
    std::int64_t sums[2] = { 0, 0 };
    const auto add = [&sums](const PlacedUnit& unit) {
        if (!unit.m_type)
            return;
        const int side = unit.m_type->GetSide();
        if (IsSide(side))
            sums[side] += std::int64_t { unit.m_type->m_fullStrength } * unit.m_type->m_unitValue;
    };
    for (int x = 0; x < m_stacks.Width(); ++x)
        for (int y = 0; y < m_stacks.Height(); ++y)
            for (const PlacedUnit& unit : m_stacks.At(x, y))
                add(unit);
    for (const ReinforcementGroup& group : m_reinforcements)
        for (const PlacedUnit& unit : group.m_units)
            add(unit);
    for (const PlacedUnit& unit : m_exited)
        add(unit);
    for (const PlacedUnit& unit : m_eliminated)
        add(unit);
    values[0] = ClampToInt(sums[0]);
    values[1] = ClampToInt(sums[1]);
}

// ---- The "Next Unit" cursor ----

void CGameSession::AdvanceCursor()
{
    m_selectedNodes.clear();
    if (!m_map.IsOnMap(m_cursor.column, m_cursor.row))
        m_cursor = HexPos { -1, -1 };
    else if (m_cursor.row + 1 < m_map.GetHeight())
        ++m_cursor.row;
    else if (m_cursor.column + 1 < m_map.GetWidth())
        m_cursor = HexPos { m_cursor.column + 1, 0 };
    else
        m_cursor = HexPos { -1, -1 };
}

void CGameSession::RetreatCursor()
{
    m_selectedNodes.clear();
    if (!m_map.IsOnMap(m_cursor.column, m_cursor.row))
        m_cursor = HexPos { -1, -1 };
    else if (m_cursor.row > 0)
        --m_cursor.row;
    else if (m_cursor.column > 0)
        m_cursor = HexPos { m_cursor.column - 1, m_map.GetHeight() - 1 };
    else
        m_cursor = HexPos { -1, -1 };
}

void CGameSession::SelectNextUnitHex(HexPos& hex, bool moveMode, std::vector<int>& positions)
{
    positions.clear();
    if (m_cursor.column == -1 && m_cursor.row == -1)
        m_cursor = HexPos { 0, 0 };
    else if (m_cursorRestart == 0)
        AdvanceCursor();
    m_cursorRestart = 1;
    while (m_map.IsOnMap(m_cursor.column, m_cursor.row) && positions.empty()) {
        if (IsMoverHex(m_cursor.column, m_cursor.row))
            SelectInCursorHex(moveMode, positions);
        if (positions.empty())
            AdvanceCursor();
    }
    hex = m_cursor;
}

void CGameSession::SelectPreviousUnitHex(HexPos& hex, bool moveMode, std::vector<int>& positions)
{
    positions.clear();
    if (m_cursor.column == -1 && m_cursor.row == -1)
        m_cursor = HexPos { m_map.GetWidth() - 1, m_map.GetHeight() - 1 };
    else if (m_cursorRestart == 1)
        RetreatCursor();
    m_cursorRestart = 0;
    while (m_map.IsOnMap(m_cursor.column, m_cursor.row) && positions.empty()) {
        if (IsMoverHex(m_cursor.column, m_cursor.row))
            SelectInCursorHex(moveMode, positions);
        if (positions.empty())
            RetreatCursor();
    }
    hex = m_cursor;
}

bool CGameSession::SelectInCursorHex(bool moveMode, std::vector<int>& positions)
{
    if (!moveMode)
        return SelectFirableInHex(positions);
    return SelectMovableInHex(positions) || SelectAssaultCapableInHex(positions);
}

bool CGameSession::IsFormationSelected(const PlacedUnit& unit) const
{
    return std::find(m_selectedNodes.begin(), m_selectedNodes.end(), unit.m_node->m_id) != m_selectedNodes.end();
}

template <class Test> bool CGameSession::SelectFirstInHex(std::vector<int>& positions, Test test)
{
    const int x = m_cursor.column, y = m_cursor.row;
    if (!m_stacks.Contains(x, y))
        return false;
    int position = 1;
    for (const PlacedUnit& unit : m_stacks.At(x, y)) {
        const int p = position++;
        if (!unit.m_node || IsFormationSelected(unit) || !test(unit, p))
            continue;
        positions.push_back(p);
        if (HasStatus(unit, kUnitCarrying))
            positions.push_back(p + 1);
        m_selectedNodes.push_back(unit.m_node->m_id);
        return true;
    }
    return false;
}

bool CGameSession::SelectMovableInHex(std::vector<int>& positions)
{
    const int x = m_cursor.column, y = m_cursor.row;
    return SelectFirstInHex(positions, [&](const PlacedUnit& unit, int p) {
        return unit.m_type && unit.m_type->m_movementAllowance != 0 && !HasStatus(unit, kUnitMoved | kUnitCarried)
            && CanMoveSomewhere(p, x, y);
    });
}

bool CGameSession::SelectFirableInHex(std::vector<int>& positions)
{
    const int x = m_cursor.column, y = m_cursor.row;
    return SelectFirstInHex(positions, [&](const PlacedUnit& unit, int) {
        return !HasStatus(unit, kUnitCarried | kUnitFired) && CanFireAtSomething(unit, x, y);
    });
}

bool CGameSession::SelectAssaultCapableInHex(std::vector<int>& positions)
{
    const int x = m_cursor.column, y = m_cursor.row;
    if (!m_stacks.Contains(x, y))
        return false;
    for (HexSide side : kSides) {
        HexPos target;
        if (!m_map.GetNeighbour(side, x, y, target) || !CanAssaultHex(target.column, target.row))
            continue;
        int position = 1;
        for (const PlacedUnit& unit : m_stacks.At(x, y)) {
            const int p = position++;
            // A passenger attacks with its carrier and is taken with it.
            if (!unit.m_node || HasStatus(unit, kUnitCarried) || IsFormationSelected(unit)
                || !CheckAssaultUnit(unit, x, y))
                continue;
            positions.push_back(p);
            if (HasStatus(unit, kUnitCarrying))
                positions.push_back(p + 1);
            m_selectedNodes.push_back(unit.m_node->m_id);
        }
        ClearAssault();
        if (!positions.empty())
            return true;
    }
    return false;
}

bool CGameSession::CanMoveSomewhere(int position, int x, int y)
{
    for (HexSide side : kSides) {
        HexPos next;
        if (m_map.GetNeighbour(side, x, y, next) && CanMoveStack(x, y, next.column, next.row, &position, 1, true))
            return true;
    }
    return false;
}

bool CGameSession::CanFireAtSomething(const PlacedUnit& unit, int x, int y)
{
    // The walk stops at the first hex fired at.
    return !VisitWeaponRangeWindow(unit, x, y, [&](int tx, int ty) {
        return !(
            HexHasUnits(tx, ty) && GetEnemyContact(tx, ty) == kContactArmed && CheckFireSides(unit, x, y, tx, ty, 0));
    });
}

// ---- Queries ----

int CGameSession::GetCurrentTurn() const
{
    const int minutes = m_parameters.m_minutesPerTurn;
    return minutes <= 0 ? 0 : ClampToInt(std::int64_t { m_map.GetCounter() } / minutes + 1);
}

int CGameSession::GetTurnCount() const
{
    const int minutes = m_parameters.m_minutesPerTurn;
    return minutes <= 0 ? 0 : m_map.GetTimeLimit() / minutes;
}

void CGameSession::GetWeaponRangeWindow(
    const PlacedUnit& unit, int x, int y, int& minX, int& maxX, int& minY, int& maxY) const
{
    ClipSquareToMap(x, y, GetMaximumRange(unit.m_type) + 1, minX, maxX, minY, maxY);
}

bool CGameSession::HexHasUnitOfFormation(int x, int y, const OrgNode* node) const
{
    if (!node)
        return true;
    if (!m_stacks.Contains(x, y))
        return false;
    for (const PlacedUnit& unit : m_stacks.At(x, y))
        if (IsUnitOf(unit, node))
            return true;
    return false;
}

void CGameSession::GetFormationCentre(HexPos& centre, const OrgNode* node) const
{
    std::int64_t columns = 0, rows = 0, count = 0;
    for (int x = 0; x < m_map.GetWidth(); ++x)
        for (int y = 0; y < m_map.GetHeight(); ++y) {
            if (!HexHasUnits(x, y) && !IsOccupiedHexContacted(x, y))
                continue;
            if (!m_stacks.Contains(x, y) || m_stacks.At(x, y).IsEmpty() || !HexHasUnitOfFormation(x, y, node))
                continue;
            columns += x;
            rows += y;
            ++count;
        }
    centre = count == 0 ? HexPos { -1, -1 } : HexPos { ClampToInt(columns / count), ClampToInt(rows / count) };
}

void CGameSession::SaveFiringApForSide()
{
    const int side = m_map.GetSide();
    for (int x = 0; x < m_stacks.Width(); ++x)
        for (int y = 0; y < m_stacks.Height(); ++y)
            for (PlacedUnit& unit : m_stacks.At(x, y))
                if (unit.m_type && unit.m_type->GetSide() == side)
                    ToggleUnitSaveApForFiring(unit);
}

bool CGameSession::IsHexVisibleToMover(int x, int y) const
{
    const int side = m_map.GetSide();
    if (!IsSideHidden(side))
        return true;
    if (!m_map.IsOnMap(x, y))
        return false;
    return GetContactLevel(x, y, OtherSide(side)) == kContactArmed;
}

void CGameSession::ListFormationHexes(HexList& out, const OrgNode* node, int x, int y, int refX, int refY) const
{
    const auto holds = [&](int hx, int hy) {
        for (const PlacedUnit& unit : m_stacks.At(hx, hy))
            if (node ? IsUnitOf(unit, node) : unit.m_node == nullptr)
                return true;
        return false;
    };
    for (int hx = 0; hx < m_stacks.Width(); ++hx)
        for (int hy = 0; hy < m_stacks.Height(); ++hy)
            if ((hx != x || hy != y) && holds(hx, hy))
                InsertHexByDistance(out, hx, hy, refX, refY, false);
    // The shape-keeping move leads with the excluded hex.
    if (m_map.IsOnMap(x, y))
        PrependHexListNode(out, x, y);
}

void CGameSession::InsertHexByDistance(HexList& list, int x, int y, int refX, int refY, bool front)
{
    if (front) {
        PrependHexListNode(list, x, y);
        return;
    }
    const int distance = HexDistance(x, y, refX, refY);
    HexListNode* at = list.Head();
    while (at && HexDistance(at->value.column, at->value.row, refX, refY) <= distance)
        at = at->next;
    InsertHexBefore(list, at, x, y);
}

void CGameSession::InsertHexBefore(HexList& list, HexListNode* at, int x, int y)
{
    list.InsertBefore(at, HexPos { x, y });
}

int CGameSession::SurfaceArray() const { return m_terrain.surface; }

int CGameSession::GetTerrainMoveCost(const PlatoonType* type, int terrain) const
{
    return std::min(kMaxShownMoveCost,
        GetTerrainCost(type, SurfaceArray(), terrain, m_parameters.m_minutesPerTurn, m_parameters.m_metresPerHex));
}

int CGameSession::GetHexsideMoveCost(const PlatoonType* type, int layer) const
{
    return std::min(kMaxShownMoveCost,
        GetHexsideFeatureCost(type, SurfaceArray(), layer, m_parameters.m_minutesPerTurn, m_parameters.m_metresPerHex));
}

int CGameSession::GetMoveTableExtraCost(const PlatoonType* type) const
{
    return std::min(kMaxShownMoveCost,
        GetClimbCost(type, SurfaceArray(), m_parameters.m_minutesPerTurn, m_parameters.m_metresPerHex));
}

void CGameSession::GetHexTerrainName(String& out, int x, int y) const
{
    if (GetEffectiveTerrain(x, y) == kTerrainWater && m_terrain.water == TerrainConditions::kFrozen) {
        out = String("Frozen");
        return;
    }
    m_map.GetTerrainName(out, x, y);
}
