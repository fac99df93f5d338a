#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/Clock.h"
#include "tests/rules/MoveGame.h"
#include "tests/rules/PathSearchReference.h"

namespace {

using namespace demo;

std::int64_t g_now = 0;
std::int64_t FixedTime() { return g_now; }

// Every time-seeded draw of the test sees the time the test sets.
class FixedClock {
public:
    explicit FixedClock(std::int64_t seconds)
    {
        g_now = seconds;
        SetTimeSource(&FixedTime);
    }
    ~FixedClock() { SetTimeSource(nullptr); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;
};

struct Visit {
    int column;
    int row;
    int cost;
    int parentColumn;
    int parentRow;
    friend bool operator==(const Visit&, const Visit&) = default;
};

std::vector<Visit> Visits(const SearchList& nodes)
{
    std::vector<Visit> visits;
    for (const SearchStep& step : nodes) {
        const bool root = step.parent == nullptr;
        visits.push_back(Visit { step.column, step.row, step.cost, root ? -1 : step.parent->value.column,
            root ? -1 : step.parent->value.row });
    }
    return visits;
}

std::vector<std::pair<int, int>> Hexes(const HexList& path)
{
    std::vector<std::pair<int, int>> hexes;
    for (const HexPos& hex : path)
        hexes.emplace_back(hex.column, hex.row);
    return hexes;
}

class PathSearchTest : public MoveGameTest {
protected:
    void SetUp() override { MakeMap(12, 10); }

    std::vector<Visit> Reachable(int x, int y, std::vector<int> positions)
    {
        SearchList nodes;
        m_game.FindReachableHexes(x, y, positions.data(), static_cast<int>(positions.size()), nodes);
        return Visits(nodes);
    }
};

TEST_F(PathSearchTest, FullActionPointsAlwaysMakeOneStep)
{
    // Under three-phase turns a tank pays 3 x 38 = 114 for forest.
    m_game.m_options = kOptionThreePhase;
    for (int x = 3; x <= 7; ++x)
        for (int y = 2; y <= 6; ++y)
            Hex(x, y).terrain = kTerrainForest;
    Add(5, 4, kUsSherman);
    const std::vector<Visit> visits = Reachable(5, 4, { 1 });
    ASSERT_EQ(visits.size(), 7U);
    EXPECT_EQ(visits[0], (Visit { 5, 4, 0, -1, -1 }));
    for (std::size_t i = 1; i < visits.size(); ++i) {
        EXPECT_EQ(visits[i].cost, 114);
        EXPECT_EQ(HexDistance(5, 4, visits[i].column, visits[i].row), 1);
    }
    EXPECT_EQ(m_game.m_budget, 100);

    Unit(5, 4, 1).m_actionPoints = 99;
    EXPECT_EQ(Reachable(5, 4, { 1 }), (std::vector<Visit> { { 5, 4, 0, -1, -1 } }));
}

TEST_F(PathSearchTest, ReachableHexesCheapestFirst)
{
    // Tank on open ground, 15 a hex, 100 points: six rings, cheapest first.
    Add(5, 4, kUsSherman).m_actionPoints = 45;
    const std::vector<Visit> visits = Reachable(5, 4, { 1 });
    ASSERT_EQ(visits.size(), 1U + 6 + 12 + 18);
    for (const Visit& visit : visits)
        EXPECT_EQ(visit.cost, 15 * HexDistance(5, 4, visit.column, visit.row));
    for (std::size_t i = 1; i < visits.size(); ++i)
        EXPECT_LE(visits[i - 1].cost, visits[i].cost);
}

TEST_F(PathSearchTest, FireCostIsKeptBackOnlyWhenCovered)
{
    Add(5, 4, kUsRifle, kUnitSavedForFiring);
    SearchList nodes;
    const int first[] = { 1 };
    m_game.FindReachableHexes(5, 4, first, 1, nodes);
    EXPECT_EQ(m_game.m_budget, 60);
    Unit(5, 4, 1).m_actionPoints = 30;
    m_game.FindReachableHexes(5, 4, first, 1, nodes);
    EXPECT_EQ(m_game.m_budget, 30);

    // Only the unit that sets the pace counts: the tank after the rifle
    // starts the budget afresh.
    Add(5, 4, kUsSherman).m_actionPoints = 80;
    const int both[] = { 1, 2 };
    m_game.FindReachableHexes(5, 4, both, 2, nodes);
    EXPECT_EQ(m_game.m_budget, 80);
    EXPECT_EQ(m_game.m_profile.m_type, Type(kUsSherman));
    EXPECT_EQ(m_game.m_selectedCount, 2);
    EXPECT_EQ(m_game.m_selectedStrength, 8 + 5);

    // A half-track keeping back the unload cost of its disrupted passenger.
    MakeMap(12, 10);
    Add(5, 4, kUsHalfTrack, kUnitCarrying | kUnitSavedForUnloading);
    Add(5, 4, kUsRifle, kUnitCarried | kUnitDisrupted);
    m_game.FindReachableHexes(5, 4, both, 2, nodes);
    EXPECT_EQ(m_game.m_budget, 100 - 2 * 15);
}

TEST_F(PathSearchTest, SelectionsThatFindNothing)
{
    Add(5, 4, kUsRifle);
    SearchList nodes;
    const int past[] = { 2 };
    m_game.FindReachableHexes(5, 4, past, 1, nodes);
    EXPECT_TRUE(nodes.IsEmpty());
    m_game.FindReachableHexes(5, 4, past, 0, nodes);
    EXPECT_TRUE(nodes.IsEmpty());
    const int first[] = { 1 };
    m_game.FindReachableHexes(-1, 4, first, 1, nodes);
    EXPECT_TRUE(nodes.IsEmpty());
    HexList path;
    AppendHexListNode(path, 1, 1);
    EXPECT_EQ(m_game.FindMovePath(5, 4, 12, 4, first, 1, path), CGamePathSearch::kNoSearch);
    EXPECT_TRUE(path.IsEmpty());
    EXPECT_EQ(m_game.FindMovePath(5, 4, 7, 4, past, 1, path), CGamePathSearch::kNoSearch);
    EXPECT_EQ(m_game.FindPathForProfile(Unit(5, 4, 1), 5, 4, 5, 40, 0, 1, 8), CGamePathSearch::kNoSearch);

    // Only a passenger listed: no profile, every step costs 0.
    MakeMap(12, 10);
    AddLoaded(5, 4, kUsJeep, kUsRifle);
    const int passenger[] = { 2 };
    m_game.FindReachableHexes(5, 4, passenger, 1, nodes);
    EXPECT_EQ(Visits(nodes), (std::vector<Visit> { { 5, 4, 0, -1, -1 } }));
    EXPECT_EQ(m_game.FindMovePath(5, 4, 8, 4, passenger, 1, path), 3);
    EXPECT_EQ(Hexes(path), (std::vector<std::pair<int, int>> { { 5, 4 } }));
}

TEST_F(PathSearchTest, PathToTheStartHexIsTheStartAlone)
{
    Add(5, 4, kUsRifle);
    const int first[] = { 1 };
    HexList path;
    EXPECT_EQ(m_game.FindMovePath(5, 4, 5, 4, first, 1, path), 0);
    EXPECT_EQ(Hexes(path), (std::vector<std::pair<int, int>> { { 5, 4 } }));
}

TEST_F(PathSearchTest, APathMayEndOnTheEnemy)
{
    Add(5, 4, kUsRifle);
    Add(5, 2, kGermanRifle);
    const int first[] = { 1 };
    HexList path;
    EXPECT_EQ(m_game.FindMovePath(5, 4, 5, 2, first, 1, path), 0);
    EXPECT_EQ(Hexes(path), (std::vector<std::pair<int, int>> { { 5, 4 }, { 5, 3 }, { 5, 2 } }));
    // Not through it.
    EXPECT_EQ(m_game.FindMovePath(5, 4, 5, 0, first, 1, path), 0);
    ASSERT_FALSE(path.IsEmpty());
    EXPECT_EQ(path.Last()->value, (HexPos { 5, 0 }));
    EXPECT_FALSE(HexListContains(path, 5, 2));
}

TEST_F(PathSearchTest, ARoughGoalIsReachedByADetourAtNoCost)
{
    // Wheeled vehicles cannot enter Rough.
    Hex(6, 4).terrain = kTerrainRough;
    Add(5, 4, kUsJeep);
    const int first[] = { 1 };
    HexList path;
    // The plain walk circles the goal and ends next to it.
    EXPECT_EQ(m_game.FindMovePath(5, 4, 6, 4, first, 1, path), 1);
    ASSERT_FALSE(path.IsEmpty());
    EXPECT_FALSE(HexListContains(path, 6, 4));
    EXPECT_EQ(HexDistance(path.Last()->value.column, path.Last()->value.row, 6, 4), 1);
    // Once stuck, the detour walk steps onto the Rough goal.
    EXPECT_EQ(m_game.FindMovePathWithDetours(5, 4, 6, 4, first, 1, path), 0);
    ASSERT_FALSE(path.IsEmpty());
    EXPECT_EQ(path.Last()->value, (HexPos { 6, 4 }));
    // Another goal the jeep cannot enter stays out of reach.
    Hex(6, 4).terrain = kTerrainImpassible;
    HexList literal;
    const int result = m_game.FindMovePathWithDetours(5, 4, 6, 4, first, 1, path);
    EXPECT_GT(result, 0);
    EXPECT_EQ(LiteralPathSearch(m_game).FindMovePath(5, 4, 6, 4, first, 1, literal, true), result);
    EXPECT_EQ(Hexes(path), Hexes(literal));
    EXPECT_FALSE(HexListContains(path, 6, 4));
}

TEST_F(PathSearchTest, ExtractPathFollowsParentsToTheStart)
{
    Add(5, 4, kUsSherman);
    SearchList nodes;
    const int first[] = { 1 };
    m_game.FindReachableHexes(5, 4, first, 1, nodes);
    HexList path;
    CGamePathSearch::ExtractPath(path, nodes, 5, 4, 5, 1);
    EXPECT_EQ(Hexes(path), (std::vector<std::pair<int, int>> { { 5, 4 }, { 5, 3 }, { 5, 2 }, { 5, 1 } }));
    // A hex the list does not hold.
    CGamePathSearch::ExtractPath(path, nodes, 5, 4, 11, 9);
    EXPECT_TRUE(path.IsEmpty());
    // A chain that never reaches the given start.
    CGamePathSearch::ExtractPath(path, nodes, 0, 0, 5, 1);
    EXPECT_TRUE(path.IsEmpty());
}

TEST_F(PathSearchTest, TiesAreDrawnWithTheClock)
{
    Add(1, 1, kUsSherman);
    const int first[] = { 1 };
    LiteralPathSearch reference(m_game);
    std::vector<std::vector<std::pair<int, int>>> paths;
    for (std::int64_t seconds : { 1000, 1001, 1002, 1003, 1004, 1005 }) {
        FixedClock clock(seconds);
        HexList path;
        HexList literal;
        EXPECT_EQ(m_game.FindMovePath(1, 1, 9, 8, first, 1, path), 0);
        EXPECT_EQ(reference.FindMovePath(1, 1, 9, 8, first, 1, literal, false), 0);
        EXPECT_EQ(Hexes(path), Hexes(literal));
        // The same clock gives the same path.
        HexList again;
        m_game.FindMovePath(1, 1, 9, 8, first, 1, again);
        EXPECT_EQ(Hexes(again), Hexes(path));
        paths.push_back(Hexes(path));
    }
    std::sort(paths.begin(), paths.end());
    EXPECT_GT(std::unique(paths.begin(), paths.end()) - paths.begin(), 1);
}

TEST_F(PathSearchTest, HeldMovementPointsGiveTheSameStepCosts)
{
    // Around (5, 4): mixed terrain, a climb, rubble and a trench, and
    // hexside features, some of which a road or a ford carries the move over.
    const int terrains[] = { kTerrainForest, kTerrainMarsh, kTerrainWater, kTerrainRough, kTerrainOpen, kTerrainSwamp };
    HexSide side(1);
    for (int direction = 0; direction < 6; ++direction, side.Next()) {
        HexPos next;
        ASSERT_TRUE(m_game.m_map.GetNeighbour(side, 5, 4, next));
        Hex(next.column, next.row).terrain = terrains[direction];
        Hex(next.column, next.row).level = direction % 3;
    }
    m_game.m_hexFlags.At(5, 3) |= CGameData::kHexRubble;
    m_game.m_hexFlags.At(6, 4) |= CGameData::kHexTrench;
    side = HexSide(1);
    AddFeature(5, 4, side, kLayerStream);
    side.Next();
    AddFeature(5, 4, side, kLayerHedge);
    AddFeature(5, 4, side, kLayerRoad);
    side.Next();
    AddFeature(5, 4, side, kLayerStoneWall);
    side.Next();
    AddFeature(5, 4, side, kLayerRiver);
    AddFeature(5, 4, side, kLayerFord);
    const std::uint32_t ids[] = { kUsSherman, kUsRifle, kUsTruck, kUsBoat, kUsBattalionCommander };
    for (std::uint32_t id : ids)
        Add(5, 4, id);

    // The unit's step to every neighbour.
    const auto costs = [&](int position) {
        std::vector<int> all;
        HexSide to(1);
        for (int direction = 0; direction < 6; ++direction, to.Next()) {
            HexPos next;
            m_game.m_map.GetNeighbour(to, 5, 4, next);
            all.push_back(m_game.GetMoveCost(Unit(5, 4, position), 5, 4, next.column, next.row, 1, false));
        }
        return all;
    };
    std::vector<int> plain[4][6];
    for (int surface = 0; surface < 4; ++surface) {
        m_game.m_terrain.surface = surface;
        for (int position = 1; position <= 5; ++position)
            plain[surface][position] = costs(position);
    }
    // One hold: the units taking turns, and one unit over every surface.
    const CGameOrders::HeldMovementPoints held(m_game);
    for (int surface = 0; surface < 4; ++surface) {
        m_game.m_terrain.surface = surface;
        for (int position = 1; position <= 5; ++position)
            EXPECT_EQ(costs(position), plain[surface][position]) << surface << " " << position;
    }
    for (int position = 1; position <= 5; ++position)
        for (int surface = 0; surface < 4; ++surface) {
            m_game.m_terrain.surface = surface;
            EXPECT_EQ(costs(position), plain[surface][position]) << surface << " " << position;
        }
}

TEST_F(PathSearchTest, ASearchSeesTheMovementRowsAsTheyAreWhenItStarts)
{
    Add(5, 4, kUsSherman).m_actionPoints = 45;
    const PlatoonType* type = Unit(5, 4, 1).m_type;
    const int surface = m_game.m_terrain.surface;
    auto& entries
        = m_game.m_movementCosts[surface][CGameMovementCosts::GetRowIndex(type, surface)].m_entries[kTerrainOpen];
    std::vector<Visit> visits = Reachable(5, 4, { 1 });
    ASSERT_GT(visits.size(), 1U);
    const int before = visits[1].cost;
    entries *= 2;
    visits = Reachable(5, 4, { 1 });
    ASSERT_GT(visits.size(), 1U);
    EXPECT_GT(visits[1].cost, before);
    EXPECT_EQ(visits[1].cost,
        CGameMovementCosts::GetTerrainCost(
            type, surface, kTerrainOpen, m_game.m_parameters.m_minutesPerTurn, m_game.m_parameters.m_metresPerHex));
}

// The game's search against the plain one on the demo maps: every hex a
// start, a foot platoon and a tank, reachable sets and walks to fixed goals.
class DemoMapSearchTest : public MoveGameTest, public ::testing::WithParamInterface<const char*> { };

TEST_P(DemoMapSearchTest, EqualsTheLiteralSearch)
{
    ASSERT_EQ(m_game.m_map.LoadMapFile(GetParam()), nullptr);
    const int width = m_game.m_map.GetWidth();
    const int height = m_game.m_map.GetHeight();
    m_game.AllocateGrids(width, height);
    m_game.BindPlatoonTypes();
    FixedClock clock(424242);
    LiteralPathSearch reference(m_game);
    const std::pair<int, int> goals[] = { { 0, 0 }, { width / 2, height / 2 }, { width - 1, height - 3 } };
    const int first[] = { 1 };
    int compared = 0;
    for (std::uint32_t id : { kUsRifle, kUsSherman }) {
        for (int x = 0; x < width; ++x) {
            for (int y = 0; y < height; ++y) {
                SCOPED_TRACE(std::to_string(id) + " from " + std::to_string(x) + "," + std::to_string(y));
                m_game.m_stacks.At(x, y).Free();
                Add(x, y, id).m_actionPoints = 100;
                SearchList nodes;
                SearchList literal;
                m_game.FindReachableHexes(x, y, first, 1, nodes);
                reference.FindReachableHexes(x, y, first, 1, literal);
                ASSERT_EQ(Visits(nodes), Visits(literal));
                for (const auto& [gx, gy] : goals) {
                    for (bool detours : { false, true }) {
                        HexList path;
                        HexList literalPath;
                        const int result = detours ? m_game.FindMovePathWithDetours(x, y, gx, gy, first, 1, path)
                                                   : m_game.FindMovePath(x, y, gx, gy, first, 1, path);
                        ASSERT_EQ(result, reference.FindMovePath(x, y, gx, gy, first, 1, literalPath, detours));
                        ASSERT_EQ(Hexes(path), Hexes(literalPath));
                        ++compared;
                    }
                }
                m_game.m_stacks.At(x, y).Free();
            }
        }
    }
    EXPECT_EQ(compared, 2 * width * height * 6);
}

// Enemy stacks in the way: the walk's plain steps refuse them, the detour
// steps near the bound do not look at them, so the walks part, get stuck and
// raise their bound far more often than on an empty map.
TEST_P(DemoMapSearchTest, AmongEnemiesEqualsTheLiteralSearch)
{
    ASSERT_EQ(m_game.m_map.LoadMapFile(GetParam()), nullptr);
    const int width = m_game.m_map.GetWidth();
    const int height = m_game.m_map.GetHeight();
    m_game.AllocateGrids(width, height);
    m_game.BindPlatoonTypes();
    FixedClock clock(171717);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            if ((x * 7 + y * 3) % 11 == 0 && y > 2)
                Add(x, y, kGermanRifle);
    LiteralPathSearch reference(m_game);
    const std::pair<int, int> goals[] = { { 1, 1 }, { width / 2, height - 2 }, { width - 2, height / 3 } };
    const int first[] = { 1 };
    int compared = 0;
    for (std::uint32_t id : { kUsRifle, kUsSherman }) {
        for (int x = 0; x < width; x += 3) {
            for (int y = 0; y < height; y += 2) {
                if (!m_game.m_stacks.At(x, y).IsEmpty())
                    continue;
                SCOPED_TRACE(std::to_string(id) + " from " + std::to_string(x) + "," + std::to_string(y));
                Add(x, y, id).m_actionPoints = 100;
                for (const auto& [gx, gy] : goals) {
                    HexList path;
                    HexList literalPath;
                    const int result = m_game.FindMovePathWithDetours(x, y, gx, gy, first, 1, path);
                    ASSERT_EQ(result, reference.FindMovePath(x, y, gx, gy, first, 1, literalPath, true));
                    ASSERT_EQ(Hexes(path), Hexes(literalPath));
                    ++compared;
                }
                m_game.m_stacks.At(x, y).Free();
            }
        }
    }
    EXPECT_GT(compared, 100);
}

INSTANTIATE_TEST_SUITE_P(DemoMaps, DemoMapSearchTest, ::testing::Values("main.map", "sampler.map"));

} // namespace
