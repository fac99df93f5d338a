#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/GameHexMarks.h"
#include "tests/HeadlessFrame.h"
#include "tests/model/SampleBattle.h"

namespace {

// Platoon types of these tests. Nation 0 fights on side 0, nation 1 on side 1.
constexpr std::uint32_t kRifle = 101; // armed foot unit that can be carried
constexpr std::uint32_t kTruck = 121; // unarmed carrier
constexpr std::uint32_t kTank = 201; // armed vehicle
constexpr std::uint32_t kLeader = 401;
constexpr std::uint32_t kEnemy = 1101;

class StacksTest : public SampleBattleTest {
protected:
    void SetUp() override
    {
        Build({ MakeType(kRifle, 6, kMoveFoot, 0x2), MakeType(kTruck, 12, 0, kCarryPassengers), MakeType(kTank, 10, 0),
                  MakeType(kLeader, 6, kMoveFoot), MakeType(kEnemy, 6, kMoveFoot, 0x2) },
            { kRifle, kTank, kEnemy }, false);
    }
};

// Records what the stacks held when the move callback ran.
class StackProbe final : public CCallback {
public:
    StackProbe(const CGameData& game, int x, int y, int toX, int toY)
        : m_game(game)
        , m_from { x, y }
        , m_to { toX, toY }
    {
    }
    void Invoke() override
    {
        m_sourceCounts.push_back(m_game.m_stacks.At(m_from.column, m_from.row).Count());
        m_destinationCounts.push_back(m_game.m_stacks.At(m_to.column, m_to.row).Count());
    }

    const CGameData& m_game;
    HexPos m_from;
    HexPos m_to;
    std::vector<std::size_t> m_sourceCounts;
    std::vector<std::size_t> m_destinationCounts;
};

TEST_F(StacksTest, PositionsResolveToDistinctUnitsOrRefuseTheSelection)
{
    Add(2, 2, kRifle, 1);
    Add(2, 2, kTank, 2);
    Add(2, 2, kRifle, 3);
    Add(0, 0, kRifle, 9);
    struct Case {
        const char* name;
        int x;
        std::vector<int> positions;
        bool resolves;
        std::vector<int> tags;
    } const cases[] = {
        { "the top unit", 2, { 1 }, true, { 1 } },
        { "0 names the bottom unit", 2, { 0 }, true, { 3 } },
        { "list order is kept", 2, { 3, 1, 2 }, true, { 3, 1, 2 } },
        { "one unit is at 1 and at 0 alike", 0, { 0 }, true, { 9 } },
        { "a position past the stack", 2, { 4 }, false, {} },
        { "a negative position", 2, { 1, -1 }, false, {} },
        { "a position given twice", 2, { 2, 2 }, false, {} },
        { "0 and the last position name one unit", 2, { 3, 0 }, false, {} },
        { "1 and 0 in a stack of one", 0, { 1, 0 }, false, {} },
        { "more positions than units", 0, { 1, 1, 1, 1 }, false, {} },
        { "an empty selection", 2, {}, false, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<UnitNode*> units;
        const int y = c.x == 2 ? 2 : 0;
        ASSERT_EQ(
            Game().ResolvePositionsToUnits(c.x, y, c.positions.data(), static_cast<int>(c.positions.size()), units),
            c.resolves);
        std::vector<int> tags;
        for (const UnitNode* node : units)
            tags.push_back(node->value.m_value);
        EXPECT_EQ(tags, c.tags);
    }
    std::vector<UnitNode*> units;
    const int one[] = { 1 };
    EXPECT_FALSE(Game().ResolvePositionsToUnits(5, 0, one, 1, units)) << "a hex off the map";
    EXPECT_FALSE(Game().ResolvePositionsToUnits(2, 2, nullptr, 1, units)) << "no positions";
    EXPECT_EQ(Game().GetStackPosition(2, 2, Game().GetStackNode(2, 2, 0)), 3);
    EXPECT_EQ(Game().GetStackPosition(0, 0, Game().GetStackNode(2, 2, 1)), 0) << "a node of another hex";
}

TEST_F(StacksTest, MoveBetweenAdjacentHexesPutsTheUnitsOnTopAndRecordsTheMove)
{
    Add(2, 2, kRifle, 1, 3, kUnitInAssault | kUnitHidden | kUnitMoved, HexSide::SouthEast, HexSide::NorthEast);
    Add(2, 2, kTank, 2, 4, 0, HexSide::South);
    Add(2, 2, kRifle, 3, 2, kUnitHidden, HexSide::SouthWest, HexSide::South);
    Add(2, 1, kTruck, 4, 3, 0, HexSide::North, HexSide::North);

    int positions[] = { 3, 1 };
    ASSERT_TRUE(Game().MoveUnitsBetweenHexes(2, 2, 2, 1, positions, 2));

    EXPECT_EQ(Tags(2, 1), (std::vector<int> { 3, 1, 4 })) << "the former third on top, the former first second";
    EXPECT_EQ(Tags(2, 2), (std::vector<int> { 2 }));
    EXPECT_EQ(positions[0], 1);
    EXPECT_EQ(positions[1], 2);
    EXPECT_EQ(Unit(2, 1, 1).m_facing, HexSide::North) << "moved units face the way they went";
    EXPECT_EQ(Unit(2, 1, 2).m_facing, HexSide::North);
    EXPECT_EQ(Unit(2, 1, 2).m_status, kUnitMoved) << "assault and hidden bits are cleared, others kept";
    EXPECT_EQ(Unit(2, 1, 1).m_status, 0u);
    // Two units into a hex whose unit covers N, off any road: NW, then NE.
    EXPECT_EQ(Unit(2, 1, 1).m_secondFacing, HexSide::NorthWest);
    EXPECT_EQ(Unit(2, 1, 2).m_secondFacing, HexSide::NorthEast);

    ASSERT_TRUE(Game().m_lastMove.has_value());
    const LastMove* move = &*Game().m_lastMove;
    EXPECT_EQ(move->m_fromColumn, 2);
    EXPECT_EQ(move->m_fromRow, 2);
    EXPECT_EQ(move->m_toColumn, 2);
    EXPECT_EQ(move->m_toRow, 1);
    ASSERT_EQ(move->m_count, 2);
    EXPECT_EQ(move->m_units[0].m_value, 3);
    EXPECT_EQ(move->m_units[1].m_value, 1);
    EXPECT_EQ(move->m_units[1].m_status, kUnitInAssault | kUnitHidden | kUnitMoved) << "copies from before the move";
    EXPECT_EQ(move->m_units[1].m_facing, HexSide::SouthEast);
    EXPECT_EQ(move->m_secondBefore[0], HexSide::South);
    EXPECT_EQ(move->m_secondBefore[1], HexSide::NorthEast);
    EXPECT_EQ(move->m_secondAfter[0], HexSide::NorthWest);
    EXPECT_EQ(move->m_secondAfter[1], HexSide::NorthEast);
}

TEST_F(StacksTest, MovesSetFacingsAndSecondSidesByDirectionAndRoad)
{
    struct Case {
        const char* name;
        HexPos from;
        HexPos to;
        int units;
        HexSide facing; // the facing every moved unit ends with
        std::vector<HexSide> seconds; // top first
    } const cases[] = {
        // (1,1) has a road from its N side to its S side.
        { "two units along a road take the direction and its opposite", { 1, 2 }, { 1, 1 }, 2, HexSide::North,
            { HexSide::North, HexSide::South } },
        { "one unit off the road takes the direction", { 2, 2 }, { 2, 1 }, 1, HexSide::North, { HexSide::North } },
        { "two units off the road flank the direction", { 2, 2 }, { 2, 1 }, 2, HexSide::North,
            { HexSide::NorthWest, HexSide::NorthEast } },
        { "three units off the road", { 2, 2 }, { 2, 1 }, 3, HexSide::North,
            { HexSide::North, HexSide::NorthEast, HexSide::NorthWest } },
        { "two hexes away the facings stay and second sides follow them", { 0, 0 }, { 0, 2 }, 2, HexSide::SouthEast,
            { HexSide::NorthEast, HexSide::South } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        std::vector<int> positions;
        for (int i = 0; i < c.units; ++i) {
            Add(c.from.column, c.from.row, kRifle, i + 1, 3, 0, HexSide::SouthEast, HexSide::North);
            positions.push_back(i + 1);
        }
        ASSERT_TRUE(
            Game().MoveUnitsBetweenHexes(c.from.column, c.from.row, c.to.column, c.to.row, positions.data(), c.units));
        std::vector<HexSide> seconds;
        for (const PlacedUnit& unit : Game().m_stacks.At(c.to.column, c.to.row)) {
            EXPECT_EQ(unit.m_facing, c.facing);
            seconds.push_back(unit.m_secondFacing);
        }
        EXPECT_EQ(seconds, c.seconds);
    }
}

TEST_F(StacksTest, MovedPassengerStaysBelowItsCarrier)
{
    Add(2, 2, kTruck, 1, 3, kUnitCarrying);
    Add(2, 2, kRifle, 2, 3, kUnitCarried);
    Add(2, 2, kTank, 3);
    int positions[] = { 2, 1 };
    ASSERT_TRUE(Game().MoveUnitsBetweenHexes(2, 2, 2, 1, positions, 2));
    EXPECT_EQ(Tags(2, 1), (std::vector<int> { 1, 2 }));
    EXPECT_EQ(Game().m_lastMove->m_units[0].m_value, 1);
}

TEST_F(StacksTest, MoveCallbackRunsOnceBetweenLeavingAndArriving)
{
    Add(2, 2, kRifle, 1);
    Add(2, 2, kRifle, 2);
    Add(2, 1, kTank, 3);
    auto owned = std::make_unique<StackProbe>(Game(), 2, 2, 2, 1);
    const StackProbe* probe = owned.get(); // the game owns it from here on
    Game().SetMoveCallback(std::move(owned));
    int positions[] = { 1, 2 };
    ASSERT_TRUE(Game().MoveUnitsBetweenHexes(2, 2, 2, 1, positions, 2));
    EXPECT_EQ(probe->m_sourceCounts, (std::vector<std::size_t> { 0 }));
    EXPECT_EQ(probe->m_destinationCounts, (std::vector<std::size_t> { 1 }));

    CHeadlessFrame frame(Game());
    frame.Attach();
    int back[] = { 1 };
    ASSERT_TRUE(Game().MoveUnitsBetweenHexes(2, 1, 2, 2, back, 1));
    ASSERT_EQ(frame.m_moveSteps.size(), 1u);
    EXPECT_EQ(frame.m_moveSteps[0].m_toRow, 2);
    EXPECT_EQ(frame.m_moveSteps[0].m_units[0].m_value, 1);

    Game().m_inMove = 1;
    int quiet[] = { 1 };
    ASSERT_TRUE(Game().MoveUnitsBetweenHexes(2, 2, 2, 1, quiet, 1));
    EXPECT_EQ(frame.m_moveSteps.size(), 1u) << "a quiet transfer move calls nobody";
    EXPECT_EQ(Tags(2, 1), (std::vector<int> { 1, 2, 3 }));
}

TEST_F(StacksTest, RefusedMoveChangesNothing)
{
    struct Case {
        const char* name;
        HexPos from;
        HexPos to;
        std::vector<int> positions;
    } const cases[] = {
        { "a position past the stack", { 2, 2 }, { 2, 1 }, { 4 } },
        { "a position given twice", { 2, 2 }, { 2, 1 }, { 1, 1 } },
        { "the bottom unit named twice", { 2, 2 }, { 2, 1 }, { 0, 3 } },
        { "a negative position", { 2, 2 }, { 2, 1 }, { -2 } },
        { "no units", { 2, 2 }, { 2, 1 }, {} },
        { "a destination off the map", { 2, 2 }, { 5, 1 }, { 1 } },
        { "a source off the map", { 2, -1 }, { 2, 1 }, { 1 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        CHeadlessFrame frame(Game());
        frame.Attach();
        for (int tag = 1; tag <= 3; ++tag)
            Add(2, 2, kRifle, tag);
        std::vector<int> positions = c.positions;
        EXPECT_FALSE(Game().MoveUnitsBetweenHexes(
            c.from.column, c.from.row, c.to.column, c.to.row, positions.data(), static_cast<int>(positions.size())));
        EXPECT_EQ(Tags(2, 2), (std::vector<int> { 1, 2, 3 }));
        EXPECT_TRUE(Game().m_stacks.At(2, 1).IsEmpty());
        EXPECT_EQ(positions, c.positions);
        EXPECT_FALSE(Game().m_lastMove.has_value());
        EXPECT_TRUE(frame.m_moveSteps.empty());
    }
}

TEST_F(StacksTest, ArmedUnitsTakeObjectivesForTheNationOnTop)
{
    struct Case {
        const char* name;
        std::uint32_t mover;
        int value;
        int holder;
    } const cases[] = {
        { "an armed unit takes it", kRifle, 2, 0 },
        { "an enemy unit takes it for its nation", kEnemy, 1, 1 },
        { "an unarmed unit does not", kTruck, 2, 5 },
        { "a hex of no value is no objective", kRifle, 0, 5 },
        { "an exit hex is not taken", kRifle, -3, 5 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Game().m_objectives.At(2, 1) = ObjectiveCell { c.value, 5 };
        Add(2, 2, c.mover, 1);
        int positions[] = { 1 };
        ASSERT_TRUE(Game().MoveUnitsBetweenHexes(2, 2, 2, 1, positions, 1));
        EXPECT_EQ(Game().m_objectives.At(2, 1).nation, c.holder);
        EXPECT_EQ(Game().m_objectives.At(2, 1).value, c.value);
    }
}

TEST_F(StacksTest, ToTopAndToBottomKeepListOrder)
{
    struct Case {
        const char* name;
        bool top;
        std::vector<int> positions;
        std::vector<int> tags;
    } const cases[] = {
        { "two to the top", true, { 4, 2 }, { 4, 2, 1, 3 } },
        { "the bottom unit by 0 to the top", true, { 0 }, { 4, 1, 2, 3 } },
        { "two to the bottom", false, { 1, 3 }, { 2, 4, 1, 3 } },
        { "the top to the bottom", false, { 1 }, { 2, 3, 4, 1 } },
        { "refused: a position twice", true, { 2, 2 }, { 1, 2, 3, 4 } },
        { "refused: past the stack", false, { 5 }, { 1, 2, 3, 4 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        for (int tag = 1; tag <= 4; ++tag)
            Add(0, 0, kRifle, tag);
        const bool valid = c.tags != std::vector<int> { 1, 2, 3, 4 };
        const int count = static_cast<int>(c.positions.size());
        EXPECT_EQ(c.top ? Game().MoveUnitsToTop(0, 0, c.positions.data(), count)
                        : Game().MoveUnitsToBottom(0, 0, c.positions.data(), count),
            valid);
        EXPECT_EQ(Tags(0, 0), c.tags);
    }

    SetUp();
    Add(0, 0, kTruck, 1, 3, kUnitCarrying);
    Add(0, 0, kRifle, 2, 3, kUnitCarried);
    Add(0, 0, kTank, 3);
    const int passengerFirst[] = { 2, 1 };
    ASSERT_TRUE(Game().MoveUnitsToBottom(0, 0, passengerFirst, 2));
    EXPECT_EQ(Tags(0, 0), (std::vector<int> { 3, 1, 2 })) << "the passenger stays below its carrier";
}

TEST_F(StacksTest, TurningAndAligningFacings)
{
    Add(0, 0, kRifle, 1, 3, 0, HexSide::North, HexSide::South);
    Add(0, 0, kRifle, 2, 3, 0, HexSide::SouthEast, HexSide::NorthWest);
    Add(0, 0, kRifle, 3, 3, 0, HexSide::NorthWest, HexSide::North);
    const int all[] = { 1, 2, 3 };

    ASSERT_TRUE(Game().TurnUnitsClockwise(0, 0, all, 3));
    EXPECT_EQ(Unit(0, 0, 1).m_facing, HexSide::NorthEast);
    EXPECT_EQ(Unit(0, 0, 2).m_facing, HexSide::South);
    EXPECT_EQ(Unit(0, 0, 3).m_facing, HexSide::North) << "NW turns round to N";
    EXPECT_EQ(Unit(0, 0, 1).m_secondFacing, HexSide::South) << "turning leaves the second side";
    const int two[] = { 1, 3 };
    ASSERT_TRUE(Game().TurnUnitsCounterclockwise(0, 0, two, 2));
    EXPECT_EQ(Unit(0, 0, 1).m_facing, HexSide::North);
    EXPECT_EQ(Unit(0, 0, 3).m_facing, HexSide::NorthWest);
    const int twice[] = { 1, 1 };
    EXPECT_FALSE(Game().TurnUnitsClockwise(0, 0, twice, 2));
    EXPECT_EQ(Unit(0, 0, 1).m_facing, HexSide::North) << "a refused turn turns nobody";

    // Aligning three units: all face as the first; second sides spread from
    // that facing (odd count: the facing, then clockwise, then counter).
    ASSERT_TRUE(Game().AlignUnitFacings(0, 0, all, 3));
    std::vector<HexSide> facings;
    std::vector<HexSide> seconds;
    for (const PlacedUnit& unit : Game().m_stacks.At(0, 0)) {
        facings.push_back(unit.m_facing);
        seconds.push_back(unit.m_secondFacing);
    }
    EXPECT_EQ(facings, (std::vector<HexSide> { HexSide::North, HexSide::North, HexSide::North }));
    EXPECT_EQ(seconds, (std::vector<HexSide> { HexSide::North, HexSide::NorthEast, HexSide::NorthWest }));

    ASSERT_TRUE(Game().AlignUnitFacingsReversed(0, 0, all, 3));
    seconds.clear();
    for (const PlacedUnit& unit : Game().m_stacks.At(0, 0)) {
        EXPECT_EQ(unit.m_facing, HexSide::North);
        seconds.push_back(unit.m_secondFacing);
    }
    EXPECT_EQ(seconds, (std::vector<HexSide> { HexSide::South, HexSide::SouthWest, HexSide::SouthEast }));
}

TEST_F(StacksTest, CountsAndStackingStrength)
{
    Add(1, 0, kEnemy, 1, 2);
    Add(1, 0, kTruck, 2, 4, kUnitCarrying);
    Add(1, 0, kRifle, 3, 3, kUnitCarried);
    Add(1, 0, kLeader, 4, 1);
    Game().m_wrecks.At(1, 0) = CGameData::kWreckBurning | 5;

    EXPECT_EQ(Game().SideInHex(1, 0), 1);
    EXPECT_EQ(Game().NationInHex(1, 0), 1);
    EXPECT_EQ(Game().SideInHex(0, 0), -1);
    EXPECT_EQ(Game().NationInHex(0, 0), -1);
    EXPECT_EQ(Game().SideInHex(-1, 0), -1);
    EXPECT_EQ(Game().CountStackUnits(1, 0), 2) << "the passenger and the leader do not count";
    EXPECT_EQ(Game().GetStackStrength(1, 0), 5 + 2 + 4) << "wrecks without their flag, plus counted units";
    const int lower[] = { 0, 3, 2 };
    EXPECT_EQ(Game().CountSelectedUnits(1, 0, lower, 3), 1);
    EXPECT_EQ(Game().SumSelectedStrength(1, 0, lower, 3), 4);
    const int refused[] = { 2, 2 };
    EXPECT_EQ(Game().CountSelectedUnits(1, 0, refused, 2), 0);
    EXPECT_EQ(Game().SumSelectedStrength(1, 0, refused, 2), 0);

    // Only riders and leaders: no units, and only the wrecks for stacking.
    Add(3, 3, kRifle, 5, 3, kUnitCarried);
    Add(3, 3, kLeader, 6, 1);
    Game().m_wrecks.At(3, 3) = 2;
    EXPECT_EQ(Game().CountStackUnits(3, 3), 0);
    EXPECT_EQ(Game().GetStackStrength(3, 3), 2);
}

} // namespace
