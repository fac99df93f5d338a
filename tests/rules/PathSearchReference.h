#pragma once
// The path search written out plainly: every extension and every walk step
// scans the whole node list, as the search was first described. Step costs
// are asked of the game (and kept for the search, since they cannot change
// during it). The tests hold the game's search to it; the benchmark
// measures against it.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "model/Geometry.h"
#include "model/Random.h"
#include "rules/GamePathSearch.h"

class LiteralPathSearch {
public:
    explicit LiteralPathSearch(CGamePathSearch& game)
        : m_game(game)
    {
    }

    void FindReachableHexes(int x, int y, const int* positions, int count, SearchList& nodes)
    {
        nodes.Free();
        if (count == 0)
            return;
        m_startX = x;
        m_startY = y;
        if (!SetUpSelection(positions, count))
            return;
        Clear();
        const SearchNode* start = Add(nodes, SearchStep { x, y, 0, nullptr });
        if (m_budget == CGameOrders::kFullActionPoints) {
            for (int d = 0; d < 6; ++d) {
                HexPos n;
                if (!Neighbour(x, y, d, n))
                    continue;
                const int c = Cost(0, x, y, d, n);
                if (c != 0)
                    Add(nodes, SearchStep { n.column, n.row, c, start });
            }
        }
        for (;;) {
            const SearchStep next = CheapestExtension(nodes);
            if (!next.IsValid() || next.cost > m_budget)
                break;
            Add(nodes, next);
        }
    }

    int FindMovePath(int sx, int sy, int gx, int gy, const int* positions, int count, HexList& path, bool detours)
    {
        path.Free();
        m_startX = sx;
        m_startY = sy;
        m_goalX = gx;
        m_goalY = gy;
        if (!SetUpSelection(positions, count) || !m_game.m_map.IsOnMap(gx, gy))
            return CGamePathSearch::kNoSearch;
        Clear();
        SearchList nodes;
        int bound = HexDistance(sx, sy, gx, gy);
        SearchStep current { sx, sy, 0, nullptr };
        while (current.IsValid() && !(current.column == gx && current.row == gy)) {
            Add(nodes, current);
            SearchStep next = Choose(nodes, bound, false);
            if (detours && !next.IsValid())
                next = Choose(nodes, bound, true);
            current = next;
        }
        if (current.IsValid())
            Add(nodes, current);
        for (const SearchNode* node = nodes.Last(); node; node = node->value.parent)
            PrependHexListNode(path, node->value.column, node->value.row);
        return bound;
    }

private:
    static constexpr int kMax = std::numeric_limits<int>::max();

    static int Clamp(std::int64_t v)
    {
        return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), kMax));
    }

    bool SetUpSelection(const int* positions, int count)
    {
        const int x = m_startX;
        const int y = m_startY;
        m_count = m_game.CountSelectedUnits(x, y, positions, count);
        m_strength = m_game.SumSelectedStrength(x, y, positions, count);
        m_budget = 0;
        m_profile = PlacedUnit();
        std::vector<const UnitNode*> units;
        if (!static_cast<const CGamePathSearch&>(m_game).ResolvePositionsToUnits(x, y, positions, count, units))
            return false;
        for (const UnitNode* node : units) {
            const PlacedUnit& unit = node->value;
            if ((unit.m_status & kUnitCarried) != 0)
                continue;
            if (GovernsStackMovement(unit.m_type, m_profile.m_type)) {
                m_profile = unit;
                std::int64_t budget = unit.m_actionPoints;
                if ((unit.m_status & kUnitSavedForFiring) != 0 && budget >= unit.m_type->m_fireApCost)
                    budget -= unit.m_type->m_fireApCost;
                if ((unit.m_status & kUnitSavedForUnloading) != 0 && (unit.m_status & kUnitCarrying) != 0 && node->next
                    && node->next->value.m_type) {
                    const std::int64_t unload = node->next->value.m_type->m_unloadApCost;
                    budget -= (node->next->value.m_status & kUnitDisrupted) != 0 ? 2 * unload : unload;
                }
                m_budget = Clamp(budget);
            }
        }
        return true;
    }

    void Clear()
    {
        const int w = m_game.m_map.GetWidth();
        const int h = m_game.m_map.GetHeight();
        m_state.assign(static_cast<std::size_t>(w) * h, 0);
        m_costs.assign(static_cast<std::size_t>(w) * h * 18, kUnknown);
    }
    int& State(int x, int y) { return m_state[static_cast<std::size_t>(x) * m_game.m_map.GetHeight() + y]; }
    bool Neighbour(int x, int y, int d, HexPos& n) const
    {
        return m_game.m_map.GetNeighbour(HexSide(1u << d), x, y, n);
    }
    SearchNode* Add(SearchList& nodes, const SearchStep& step)
    {
        State(step.column, step.row) = 1;
        return nodes.Append(step);
    }
    // kind 0: full step, 1: without the enemy test, 2: mines only.
    int Cost(int kind, int x, int y, int d, const HexPos& n)
    {
        int& cost = m_costs[(static_cast<std::size_t>(x) * m_game.m_map.GetHeight() + y) * 18 + kind * 6 + d];
        if (cost != kUnknown)
            return cost;
        if (kind == 0)
            cost = m_game.GetPathStepCost(m_profile, x, y, n.column, n.row, m_count, m_strength);
        else if (kind == 1)
            cost = m_game.GetStepCostWithoutEnemyTest(m_profile, x, y, n.column, n.row, m_count, m_strength);
        else
            cost = m_game.GetStepCostMinesOnly(m_profile, x, y, n.column, n.row, m_strength);
        return cost;
    }

    SearchStep CheapestExtension(SearchList& nodes)
    {
        int best = kMax;
        SearchStep result;
        for (SearchNode* node = nodes.Head(); node; node = node->next) {
            const SearchStep& s = node->value;
            if (State(s.column, s.row) == 2)
                continue;
            State(s.column, s.row) = 2;
            for (int d = 0; d < 6; ++d) {
                HexPos m;
                if (!Neighbour(s.column, s.row, d, m) || State(m.column, m.row) != 0)
                    continue;
                State(s.column, s.row) = 1;
                const int c = Cost(0, s.column, s.row, d, m);
                const int total = Clamp(std::int64_t { s.cost } + c);
                if (c != 0 && total < best) {
                    best = total;
                    result = SearchStep { m.column, m.row, total, node };
                }
            }
        }
        return result;
    }

    // ChooseNextStep, or with detour ChooseDetourStep.
    SearchStep Choose(SearchList& nodes, int& bound, bool detour)
    {
        RandomGeneratorPtr random = RandomGeneratorPtr::InitTimeSeeded();
        int best = kMax;
        int chosen = kMax;
        SearchStep result;
        const bool rough = m_game.GetEffectiveTerrain(m_goalX, m_goalY) == kTerrainRough;
        for (SearchNode* node = nodes.Head(); node; node = node->next) {
            const SearchStep& s = node->value;
            if (State(s.column, s.row) == 2)
                continue;
            State(s.column, s.row) = 2;
            int ties = 1;
            for (int d = 0; d < 6; ++d) {
                HexPos m;
                if (!Neighbour(s.column, s.row, d, m) || State(m.column, m.row) != 0)
                    continue;
                State(s.column, s.row) = 1;
                const int dist = HexDistance(m.column, m.row, m_goalX, m_goalY);
                if (dist > (detour ? bound + 1 : bound))
                    continue;
                const bool isGoal = m.column == m_goalX && m.row == m_goalY;
                int c;
                if (!detour)
                    c = Cost(isGoal ? 2 : 0, s.column, s.row, d, m);
                else
                    c = Cost(isGoal || dist + 4 < bound ? 2 : 1, s.column, s.row, d, m);
                if (c == 0 && !(detour && isGoal && rough))
                    continue;
                const int total = Clamp(std::int64_t { s.cost } + c);
                if (total < best) {
                    best = total;
                    ties = 2;
                    result = SearchStep { m.column, m.row, total, node };
                    chosen = dist;
                } else if (total == best) {
                    if (random->Next() < 1.0 / ties) {
                        result = SearchStep { m.column, m.row, total, node };
                        chosen = dist;
                    }
                    ++ties;
                }
            }
        }
        if (detour)
            bound = result.IsValid() ? chosen : bound + 1;
        else if (chosen < bound)
            bound = chosen;
        return result;
    }

    static constexpr int kUnknown = std::numeric_limits<int>::min();
    CGamePathSearch& m_game;
    std::vector<int> m_state;
    std::vector<int> m_costs;
    int m_startX = -1;
    int m_startY = -1;
    int m_goalX = -1;
    int m_goalY = -1;
    int m_count = 0;
    int m_strength = 0;
    int m_budget = 0;
    PlacedUnit m_profile;
};
