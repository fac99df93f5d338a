#pragma once
// Path search: the hexes a stack can reach with its action points, and a
// route to a goal hex. Nothing here moves a unit; the step costs are the
// orders layer's.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "model/IntRange.h"
#include "model/Lists.h"
#include "model/PlacedUnit.h"
#include "rules/GameSession.h"

struct SearchStep;
using SearchNode = ListNode<SearchStep>;

// One hex of a search with its least cost so far and the node it was
// reached from (null for the start). The empty step has column and row -1.
struct SearchStep {
    int column = -1;
    int row = -1;
    int cost = 0;
    const SearchNode* parent = nullptr;

    bool IsValid() const { return column != -1 && row != -1; }
};
// A search's nodes. Parents point into the same list, so a list is never
// copied, only read and freed; its nodes never move.
using SearchList = RecordList<SearchStep>;

class CGamePathSearch : public CGameSession {
public:
    CGamePathSearch();
    ~CGamePathSearch() override = default;

    // Every hex the listed units of (x, y) can reach, with its least cost,
    // the start first at cost 0. A refused selection (no units, a position
    // past the stack or given twice, a hex off the map) leaves the list
    // empty.
    void FindReachableHexes(int x, int y, const int* positions, int count, SearchList& nodes);
    // The way from the start to the first node at the goal, start first;
    // empty when the list holds no node there or its chain misses the start.
    static void ExtractPath(HexList& path, const SearchList& nodes, int startX, int startY, int goalX, int goalY);
    // A greedy walk toward the goal: the path to the last hex it reached.
    // Returns how close to the goal the walk came (0 when it got there);
    // a refused selection or a hex off the map gives an empty path and
    // kNoSearch.
    int FindMovePath(int startX, int startY, int goalX, int goalY, const int* positions, int count, HexList& path);
    // The same walk, trying a detour step wherever it gets stuck.
    int FindMovePathWithDetours(
        int startX, int startY, int goalX, int goalY, const int* positions, int count, HexList& path);
    // The walk for a movement profile the caller gives (the computer
    // opponent's planning); only its result is kept.
    int FindPathForProfile(const PlacedUnit& profile, int startX, int startY, int goalX, int goalY, int side,
        int selectedCount, int selectedStrength);

    // The result of a search that could not start.
    static constexpr int kNoSearch = 2147483647;

    HexGrid<int> m_searchState; // per hex: 0 not yet seen, 1 open, 2 expanded
    HexPos m_start { -1, -1 };
    HexPos m_goal { -1, -1 };
    int m_selectedCount = 0;
    int m_selectedStrength = 0;
    int m_side = 0;
    PlacedUnit m_profile;
    int m_budget = 0;

private:
    enum StepCostKind { kFullStep, kStepWithoutEnemyTest, kStepMinesOnly, kStepCostKinds };
    static constexpr int kStateUnseen = 0;
    static constexpr int kStateOpen = 1;
    static constexpr int kStateExpanded = 2;
    // A step cost not asked yet in this search.
    static constexpr int kUnknownStepCost = std::numeric_limits<int>::min();

    // Counts, strength, side, profile and budget from the start hex's
    // listed units; false for a selection the resolver refuses.
    bool SetUpSelection(const int* positions, int count);
    // Empties the state grid and forgets the step costs of the last search.
    void BeginSearch();
    SearchNode* AddSearchNode(SearchList& nodes, const SearchStep& step);
    void ExpandReachable(SearchList& nodes);
    // The two selection searches differ only in whether the walk may detour.
    int FindSelectionPath(
        int startX, int startY, int goalX, int goalY, const int* positions, int count, HexList& path, bool withDetours);
    int WalkTowardGoal(SearchList& nodes, bool withDetours);
    SearchStep ChooseNextStep(int& bound, bool keepAll);
    SearchStep ChooseDetourStep(int& bound);
    static void CopyPathFromLastNode(HexList& path, const SearchList& nodes);
    int& State(int x, int y) { return m_searchState.At(x, y); }
    bool OnGrid(int x, int y) const { return m_searchState.Contains(x, y); }
    // The step cost of the kind from the node's hex across the side; the
    // costs cannot change during one search, so each is asked once.
    int StepCost(StepCostKind kind, const SearchStep& from, int direction, const HexPos& to);
    // The orders layer's step cost of the kind, asked afresh.
    int AskStepCost(StepCostKind kind, const SearchStep& from, const HexPos& to);

    // One neighbour of a walk node: its hex, its distance to the goal, the
    // cost of the plain walk's step there once asked, and each kind of step
    // cost once asked. A walk has one node per hex, so the costs kept with
    // its neighbours are the search's costs from that hex, next to the data
    // the scans read anyway.
    struct WalkNeighbour {
        int column;
        int row;
        int distance;
        int cost;
        int costs[kStepCostKinds];
    };
    // The step cost of the kind to the walk node's neighbour, asked once.
    int WalkStepCost(StepCostKind kind, const SearchStep& from, WalkNeighbour& neighbour);
    // A walk node with what its neighbours not yet known to be seen still
    // allow: the least distance to the goal among those not known to refuse
    // the plain walk's step, among all, and among those whose step cost is
    // not asked yet, and the least total of the steps asked. Where no
    // neighbour within the bound can step, or every one that can costs more
    // than the best offer of the scan so far, the node can change nothing
    // and its neighbours are not looked at.
    struct WalkNode {
        SearchNode* node;
        int column;
        int row;
        int nearest; // the plain walk's offers
        int nearestAny; // the detour's
        int nearestUnasked;
        int cheapest;
        std::uint32_t first; // its neighbours in m_walkNeighbours
        std::uint32_t count;

        // Takes in a neighbour still unseen. Here, to be inlined into the
        // scans that call it for every neighbour.
        void Note(const WalkNeighbour& neighbour, int stepCost)
        {
            nearestAny = std::min(nearestAny, neighbour.distance);
            if (neighbour.cost == kUnknownStepCost)
                nearestUnasked = std::min(nearestUnasked, neighbour.distance);
            if (neighbour.cost == 0)
                return;
            nearest = std::min(nearest, neighbour.distance);
            if (neighbour.cost != kUnknownStepCost)
                cheapest = std::min(cheapest, ClampToInt(std::int64_t { stepCost } + neighbour.cost));
        }
        void Forget();
    };
    void AddWalkNode(SearchNode* node);

    // The walk's open nodes in list order, those that may still offer a
    // step; and those set aside while none of their neighbours lies within
    // the bound (only a detour, which raises it, takes them back).
    std::vector<WalkNode> m_walkNodes;
    std::vector<WalkNode> m_farNodes;
    // The detour's merge of the two, kept so its storage is reused.
    std::vector<WalkNode> m_mergedNodes;
    std::vector<WalkNeighbour> m_walkNeighbours;
    std::vector<std::uint32_t> m_costStamp;
    std::vector<int> m_stepCosts;
    std::uint32_t m_searchNumber = 0;
};
