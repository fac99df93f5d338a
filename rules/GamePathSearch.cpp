#include "rules/GamePathSearch.h"
#include "model/IntRange.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <queue>
#include <utility>

#include "model/Geometry.h"
#include "model/Random.h"

namespace {

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kDirections = 6;
// A detour may take a step that costs nothing only onto a Rough goal.
constexpr int kDetourFreeTerrain = kTerrainRough;
// Farther inside the bound than this, a detour step ignores enemies and stacking.
constexpr int kDetourDepth = 4;

bool At(const SearchStep& step, int x, int y) { return step.column == x && step.row == y; }

// A possible extension of the reachable set; the cheapest is taken, ties
// going to the earlier node of the list and then to the earlier direction.
struct Extension {
    int total;
    std::size_t nodeIndex;
    int direction;
    HexPos hex;

    bool operator>(const Extension& other) const
    {
        if (total != other.total)
            return total > other.total;
        if (nodeIndex != other.nodeIndex)
            return nodeIndex > other.nodeIndex;
        return direction > other.direction;
    }
};

// The walk's choice of its next step: the cheapest offer so far, equal
// offers drawn for. The draw counts ties among one node's neighbours only,
// so each node starts its count afresh with BeginNode.
class StepChoice {
public:
    explicit StepChoice(CRandomGenerator& random)
        : m_random(random)
    {
    }

    void BeginNode() { m_ties = 1; }

    void Offer(int total, HexPos hex, const SearchNode* from, int distance)
    {
        if (total < m_best) {
            m_best = total;
            m_ties = 2;
            Take(total, hex, from, distance);
        } else if (total == m_best) {
            if (m_random.Next() < 1.0 / m_ties)
                Take(total, hex, from, distance);
            ++m_ties;
        }
    }

    const SearchStep& Result() const { return m_result; }
    // The cheapest offer so far (the largest int before any).
    int Best() const { return m_best; }
    int ChosenDistance() const { return m_chosenDistance; }

private:
    void Take(int total, HexPos hex, const SearchNode* from, int distance)
    {
        m_result = SearchStep { hex.column, hex.row, total, from };
        m_chosenDistance = distance;
    }

    CRandomGenerator& m_random;
    int m_best = kIntMax;
    int m_ties = 1;
    int m_chosenDistance = kIntMax;
    SearchStep m_result;
};

} // namespace

CGamePathSearch::CGamePathSearch() { m_grids.Register(m_searchState, 0); }

bool CGamePathSearch::SetUpSelection(const int* positions, int count)
{
    const int x = m_start.column;
    const int y = m_start.row;
    m_selectedCount = CountSelectedUnits(x, y, positions, count);
    m_selectedStrength = SumSelectedStrength(x, y, positions, count);
    m_side = SideInHex(x, y);
    m_budget = 0;
    m_profile = PlacedUnit();
    std::vector<const UnitNode*> units;
    if (!std::as_const(*this).ResolvePositionsToUnits(x, y, positions, count, units) || !OnGrid(x, y))
        return false;
    for (const UnitNode* node : units) {
        const PlacedUnit& unit = node->value;
        if ((unit.m_status & kUnitCarried) != 0 || !GovernsStackMovement(unit.m_type, m_profile.m_type))
            continue;
        // Only the unit that sets the pace keeps points back; a later one
        // starts the budget afresh.
        m_profile = unit;
        std::int64_t budget = unit.m_actionPoints;
        if ((unit.m_status & kUnitSavedForFiring) != 0 && budget >= unit.m_type->m_fireApCost)
            budget -= unit.m_type->m_fireApCost;
        const PlacedUnit* passenger = node->next ? &node->next->value : nullptr;
        if ((unit.m_status & kUnitSavedForUnloading) != 0 && (unit.m_status & kUnitCarrying) != 0 && passenger
            && passenger->m_type) {
            const std::int64_t unload = passenger->m_type->m_unloadApCost;
            budget -= (passenger->m_status & kUnitDisrupted) != 0 ? 2 * unload : unload;
        }
        m_budget = ClampToInt(budget);
    }
    return true;
}

void CGamePathSearch::BeginSearch()
{
    m_searchState.Fill(kStateUnseen);
    m_walkNodes.clear();
    m_farNodes.clear();
    m_walkNeighbours.clear();
    const std::size_t hexes
        = static_cast<std::size_t>(m_searchState.Width()) * static_cast<std::size_t>(m_searchState.Height());
    if (m_costStamp.size() != hexes || ++m_searchNumber == 0) {
        m_costStamp.assign(hexes, 0);
        m_stepCosts.assign(hexes * kStepCostKinds * kDirections, kUnknownStepCost);
        m_searchNumber = 1;
    }
}

int CGamePathSearch::StepCost(StepCostKind kind, const SearchStep& from, int direction, const HexPos& to)
{
    const std::size_t hex = static_cast<std::size_t>(from.column) * static_cast<std::size_t>(m_searchState.Height())
        + static_cast<std::size_t>(from.row);
    int* costs = &m_stepCosts[hex * kStepCostKinds * kDirections];
    if (m_costStamp[hex] != m_searchNumber) {
        std::fill(costs, costs + kStepCostKinds * kDirections, kUnknownStepCost);
        m_costStamp[hex] = m_searchNumber;
    }
    int& cost = costs[kind * kDirections + direction];
    if (cost == kUnknownStepCost)
        cost = AskStepCost(kind, from, to);
    return cost;
}

int CGamePathSearch::WalkStepCost(StepCostKind kind, const SearchStep& from, WalkNeighbour& neighbour)
{
    int& cost = neighbour.costs[kind];
    if (cost == kUnknownStepCost)
        cost = AskStepCost(kind, from, HexPos { neighbour.column, neighbour.row });
    return cost;
}

int CGamePathSearch::AskStepCost(StepCostKind kind, const SearchStep& from, const HexPos& to)
{
    switch (kind) {
    case kFullStep:
        return GetPathStepCost(
            m_profile, from.column, from.row, to.column, to.row, m_selectedCount, m_selectedStrength);
    case kStepWithoutEnemyTest:
        return GetStepCostWithoutEnemyTest(
            m_profile, from.column, from.row, to.column, to.row, m_selectedCount, m_selectedStrength);
    default:
        return GetStepCostMinesOnly(m_profile, from.column, from.row, to.column, to.row, m_selectedStrength);
    }
}

SearchNode* CGamePathSearch::AddSearchNode(SearchList& nodes, const SearchStep& step)
{
    State(step.column, step.row) = kStateOpen;
    return nodes.Append(step);
}

void CGamePathSearch::FindReachableHexes(int x, int y, const int* positions, int count, SearchList& nodes)
{
    nodes.Free();
    if (count == 0)
        return;
    m_start = { x, y };
    if (!SetUpSelection(positions, count))
        return;
    BeginSearch();
    const HeldMovementPoints held(*this);
    ExpandReachable(nodes);
}

void CGamePathSearch::ExpandReachable(SearchList& nodes)
{
    // Every extension of the list is offered once, when its node joins;
    // one whose hex has been added since is passed over when it comes up.
    // The heap yields them in the order a scan of the whole list would.
    std::vector<SearchNode*> order;
    std::priority_queue<Extension, std::vector<Extension>, std::greater<>> extensions;
    const auto join = [&](SearchNode* node) {
        order.push_back(node);
        const SearchStep& step = node->value;
        HexSide side(1);
        for (int direction = 0; direction < kDirections; ++direction, side.Next()) {
            HexPos next;
            if (!m_map.GetNeighbour(side, step.column, step.row, next) || !OnGrid(next.column, next.row)
                || State(next.column, next.row) != kStateUnseen)
                continue;
            const int cost = StepCost(kFullStep, step, direction, next);
            if (cost == 0)
                continue;
            const int total = ClampToInt(std::int64_t { step.cost } + cost);
            if (total < kIntMax)
                extensions.push(Extension { total, order.size() - 1, direction, next });
        }
    };

    SearchNode* start = AddSearchNode(nodes, SearchStep { m_start.column, m_start.row, 0, nullptr });
    std::vector<SearchNode*> firstSteps;
    if (m_budget == kFullActionPoints) {
        // With full action points one step is always possible, whatever it costs.
        HexSide side(1);
        for (int direction = 0; direction < kDirections; ++direction, side.Next()) {
            HexPos next;
            if (!m_map.GetNeighbour(side, m_start.column, m_start.row, next) || !OnGrid(next.column, next.row))
                continue;
            const int cost = StepCost(kFullStep, start->value, direction, next);
            if (cost != 0)
                firstSteps.push_back(AddSearchNode(nodes, SearchStep { next.column, next.row, cost, start }));
        }
    }
    join(start);
    for (SearchNode* node : firstSteps)
        join(node);
    while (!extensions.empty()) {
        const Extension best = extensions.top();
        extensions.pop();
        if (State(best.hex.column, best.hex.row) != kStateUnseen)
            continue;
        if (best.total > m_budget)
            break;
        join(AddSearchNode(nodes, SearchStep { best.hex.column, best.hex.row, best.total, order[best.nodeIndex] }));
    }
}

void CGamePathSearch::ExtractPath(HexList& path, const SearchList& nodes, int startX, int startY, int goalX, int goalY)
{
    path.Free();
    const SearchNode* node = nodes.Head();
    while (node && !At(node->value, goalX, goalY))
        node = node->next;
    for (; node; node = node->value.parent) {
        PrependHexListNode(path, node->value.column, node->value.row);
        if (At(node->value, startX, startY))
            return;
    }
    path.Free();
}

void CGamePathSearch::CopyPathFromLastNode(HexList& path, const SearchList& nodes)
{
    for (const SearchNode* node = nodes.Last(); node; node = node->value.parent)
        PrependHexListNode(path, node->value.column, node->value.row);
}

int CGamePathSearch::FindMovePath(
    int startX, int startY, int goalX, int goalY, const int* positions, int count, HexList& path)
{
    return FindSelectionPath(startX, startY, goalX, goalY, positions, count, path, false);
}

int CGamePathSearch::FindMovePathWithDetours(
    int startX, int startY, int goalX, int goalY, const int* positions, int count, HexList& path)
{
    return FindSelectionPath(startX, startY, goalX, goalY, positions, count, path, true);
}

int CGamePathSearch::FindSelectionPath(
    int startX, int startY, int goalX, int goalY, const int* positions, int count, HexList& path, bool withDetours)
{
    path.Free();
    m_start = { startX, startY };
    m_goal = { goalX, goalY };
    if (!SetUpSelection(positions, count) || !OnGrid(goalX, goalY))
        return kNoSearch;
    BeginSearch();
    const HeldMovementPoints held(*this);
    SearchList nodes;
    const int bound = WalkTowardGoal(nodes, withDetours);
    CopyPathFromLastNode(path, nodes);
    return bound;
}

int CGamePathSearch::FindPathForProfile(const PlacedUnit& profile, int startX, int startY, int goalX, int goalY,
    int side, int selectedCount, int selectedStrength)
{
    m_profile = profile;
    m_start = { startX, startY };
    m_goal = { goalX, goalY };
    m_side = side;
    m_selectedCount = selectedCount;
    m_selectedStrength = selectedStrength;
    if (!OnGrid(startX, startY) || !OnGrid(goalX, goalY))
        return kNoSearch;
    BeginSearch();
    const HeldMovementPoints held(*this);
    SearchList nodes;
    return WalkTowardGoal(nodes, false);
}

int CGamePathSearch::WalkTowardGoal(SearchList& nodes, bool withDetours)
{
    int bound = HexDistance(m_start.column, m_start.row, m_goal.column, m_goal.row);
    SearchStep current { m_start.column, m_start.row, 0, nullptr };
    while (current.IsValid() && !At(current, m_goal.column, m_goal.row)) {
        AddWalkNode(AddSearchNode(nodes, current));
        SearchStep next = ChooseNextStep(bound, withDetours);
        if (withDetours && !next.IsValid())
            next = ChooseDetourStep(bound);
        current = next;
    }
    if (current.IsValid())
        AddSearchNode(nodes, current);
    return bound;
}

void CGamePathSearch::WalkNode::Forget() { nearest = nearestAny = nearestUnasked = cheapest = kIntMax; }

void CGamePathSearch::AddWalkNode(SearchNode* node)
{
    const SearchStep& step = node->value;
    WalkNode walk {};
    walk.node = node;
    walk.column = step.column;
    walk.row = step.row;
    walk.first = static_cast<std::uint32_t>(m_walkNeighbours.size());
    walk.Forget();
    HexSide side(1);
    for (int direction = 0; direction < kDirections; ++direction, side.Next()) {
        HexPos next;
        if (!m_map.GetNeighbour(side, step.column, step.row, next) || !OnGrid(next.column, next.row))
            continue;
        const int distance = HexDistance(next.column, next.row, m_goal.column, m_goal.row);
        m_walkNeighbours.push_back(WalkNeighbour { next.column, next.row, distance, kUnknownStepCost,
            { kUnknownStepCost, kUnknownStepCost, kUnknownStepCost } });
        walk.Note(m_walkNeighbours.back(), step.cost);
        ++walk.count;
    }
    m_walkNodes.push_back(walk);
}

SearchStep CGamePathSearch::ChooseNextStep(int& bound, bool keepAll)
{
    // Equal-cost steps are drawn for without touching the rules' sequence
    // (a private generator, time-seeded as every such draw is).
    CRandomGenerator random;
    StepChoice choice(random);
    // Nodes that can offer no step now never will: the bound only falls
    // and hexes are only ever added. They are left out of later scans
    // (unless detours may raise the bound again). A neighbour once seen
    // stays seen, so it is dropped from its node's list.
    // The bound and the list stay as they are until the scan ends; read
    // once here, they need not be read again after every store.
    const int limit = bound;
    WalkNode* const nodes = m_walkNodes.data();
    const std::size_t count = m_walkNodes.size();
    std::size_t kept = 0;
    for (std::size_t index = 0; index < count; ++index) {
        const WalkNode& passed = nodes[index];
        // Nothing within the bound: no offer, and only a detour can bring
        // one back. Or every offer it has costs more than the best so far,
        // which an offer only ever lowers: it is neither taken nor drawn for.
        if (passed.nearest > limit) {
            if (keepAll)
                m_farNodes.push_back(passed);
            continue;
        }
        if (passed.nearestUnasked > limit && passed.cheapest > choice.Best()) {
            if (kept++ != index)
                nodes[kept - 1] = passed;
            continue;
        }
        WalkNode walk = passed;
        const SearchStep& step = walk.node->value;
        int& state = State(walk.column, walk.row);
        if (state == kStateExpanded)
            continue;
        state = kStateExpanded;
        choice.BeginNode();
        bool offers = false;
        WalkNeighbour* neighbours = m_walkNeighbours.data() + walk.first;
        std::uint32_t unseen = 0;
        walk.Forget();
        for (std::uint32_t i = 0; i < walk.count; ++i) {
            if (State(neighbours[i].column, neighbours[i].row) != kStateUnseen)
                continue;
            if (unseen != i)
                neighbours[unseen] = neighbours[i];
            WalkNeighbour& neighbour = neighbours[unseen++];
            state = kStateOpen;
            const HexPos next { neighbour.column, neighbour.row };
            const bool within = neighbour.distance <= limit;
            if (within && neighbour.cost == kUnknownStepCost)
                neighbour.cost = WalkStepCost(next == m_goal ? kStepMinesOnly : kFullStep, step, neighbour);
            walk.Note(neighbour, step.cost);
            if (!within || neighbour.cost == 0)
                continue;
            offers = true;
            choice.Offer(ClampToInt(std::int64_t { step.cost } + neighbour.cost), next, walk.node, neighbour.distance);
        }
        walk.count = unseen;
        if (state == kStateOpen && (keepAll || offers))
            nodes[kept++] = walk;
    }
    m_walkNodes.resize(kept);
    if (choice.ChosenDistance() < bound)
        bound = choice.ChosenDistance();
    return choice.Result();
}

SearchStep CGamePathSearch::ChooseDetourStep(int& bound)
{
    CRandomGenerator random;
    StepChoice choice(random);
    const bool roughGoal = GetEffectiveTerrain(m_goal.column, m_goal.row) == kDetourFreeTerrain;
    const std::int64_t reach = std::int64_t { bound } + 1;
    // The nodes set aside come back in their places: the detour may reach
    // their neighbours, and the bound it leaves may too.
    if (!m_farNodes.empty()) {
        const auto byOrder = [](const WalkNode& a, const WalkNode& b) { return a.first < b.first; };
        std::sort(m_farNodes.begin(), m_farNodes.end(), byOrder);
        m_mergedNodes.clear();
        std::merge(m_walkNodes.begin(), m_walkNodes.end(), m_farNodes.begin(), m_farNodes.end(),
            std::back_inserter(m_mergedNodes), byOrder);
        m_walkNodes.swap(m_mergedNodes);
        m_farNodes.clear();
    }
    std::size_t kept = 0;
    for (std::size_t index = 0; index < m_walkNodes.size(); ++index) {
        if (m_walkNodes[index].nearestAny > reach) {
            if (kept++ != index)
                m_walkNodes[kept - 1] = m_walkNodes[index];
            continue;
        }
        WalkNode walk = m_walkNodes[index];
        const SearchStep& step = walk.node->value;
        int& state = State(walk.column, walk.row);
        if (state == kStateExpanded)
            continue;
        state = kStateExpanded;
        choice.BeginNode();
        WalkNeighbour* neighbours = m_walkNeighbours.data() + walk.first;
        std::uint32_t unseen = 0;
        walk.Forget();
        for (std::uint32_t i = 0; i < walk.count; ++i) {
            if (State(neighbours[i].column, neighbours[i].row) != kStateUnseen)
                continue;
            if (unseen != i)
                neighbours[unseen] = neighbours[i];
            WalkNeighbour& neighbour = neighbours[unseen++];
            walk.Note(neighbour, step.cost);
            state = kStateOpen;
            if (neighbour.distance > reach)
                continue;
            const HexPos next { neighbour.column, neighbour.row };
            const bool isGoal = next == m_goal;
            const bool deepInside = std::int64_t { neighbour.distance } + kDetourDepth < bound;
            const int cost
                = WalkStepCost(isGoal || deepInside ? kStepMinesOnly : kStepWithoutEnemyTest, step, neighbour);
            if (cost == 0 && !(isGoal && roughGoal))
                continue;
            choice.Offer(ClampToInt(std::int64_t { step.cost } + cost), next, walk.node, neighbour.distance);
        }
        walk.count = unseen;
        if (state == kStateOpen)
            m_walkNodes[kept++] = walk;
    }
    m_walkNodes.resize(kept);
    bound = choice.Result().IsValid() ? choice.ChosenDistance() : ClampToInt(reach);
    return choice.Result();
}
