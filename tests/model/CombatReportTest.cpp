#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "model/GameCombatReport.h"
#include "model/Geometry.h"
#include "tests/TestFiles.h"
#include "tests/model/TestTypes.h"

namespace {

// The combat report layer on an empty 10 x 8 map, with sides hidden as the
// test says.
class ReportLayer : public CGameCombatReport {
public:
    bool IsSideHidden(int side) const override { return side >= 0 && side <= 1 && m_hidden[side]; }
    bool m_hidden[2] = { false, false };
};

constexpr std::uint32_t kRifles = 200; // nation 0, side 0
constexpr std::uint32_t kLeader = 400; // nation 0, side 0
constexpr std::uint32_t kSappers = 1201; // nation 1, side 1
constexpr std::uint32_t kCaveInfantry = 21200; // nation 21, side 1

class CombatReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static_cast<HexMap&>(m_game.m_map) = HexMap(10, 8);
        m_game.AllocateGrids(10, 8);
        m_game.m_platoonTypes.Append(MakeType(kRifles, 5, kMoveFoot));
        m_game.m_platoonTypes.Append(MakeType(kLeader, 5, kMoveFoot));
        m_game.m_platoonTypes.Append(MakeType(kSappers, 5, kMoveFoot, 0, 0, kExtraMineSurcharge));
        m_game.m_platoonTypes.Append(MakeType(kCaveInfantry, 5, kMoveFoot));
    }

    PlacedUnit& Add(int x, int y, std::uint32_t id, std::uint32_t status = 0, HexSide facing = HexSide::North)
    {
        PlacedUnit unit(m_game.m_platoonTypes.FindById(id), nullptr);
        unit.m_status = status;
        unit.m_facing = facing;
        return m_game.m_stacks.At(x, y).Append(unit)->value;
    }

    TempDir m_dir;
    ScopedCurrentDir m_inDir { m_dir.Path() };
    ReportLayer m_game;
};

TEST_F(CombatReportTest, ValueLinesByteForByte)
{
    struct Case {
        double modifier;
        const char* fireValues;
        const char* defense;
    };
    const Case cases[] = {
        { 1.0, ">    Attack = 12 Defense = 3\n", ">    Defense = 3\n" },
        { 0.75, ">    Attack = 12 Defense = 3\n>    Modifier = 75%\n", ">    Defense = 3 Modifier = 75%\n" },
        { 0.29, ">    Attack = 12 Defense = 3\n>    Modifier = 29%\n", ">    Defense = 3 Modifier = 29%\n" },
        { 0.755, ">    Attack = 12 Defense = 3\n>    Modifier = 75%\n", ">    Defense = 3 Modifier = 75%\n" },
        { 1.5, ">    Attack = 12 Defense = 3\n>    Modifier = 150%\n", ">    Defense = 3 Modifier = 150%\n" },
        { 0.0, ">    Attack = 12 Defense = 3\n>    Modifier = 0%\n", ">    Defense = 3 Modifier = 0%\n" },
        // Far beyond any rule's modifier: held to the int range.
        { 1e30, ">    Attack = 12 Defense = 3\n>    Modifier = 2147483647%\n",
            ">    Defense = 3 Modifier = 2147483647%\n" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.modifier);
        std::ostringstream fire;
        CGameCombatReport::WriteFireValuesLine(fire, 12, 3, c.modifier);
        EXPECT_EQ(fire.str(), c.fireValues);
        std::ostringstream defense;
        CGameCombatReport::WriteDefenseLine(defense, 3, c.modifier);
        EXPECT_EQ(defense.str(), c.defense);
    }
    std::ostringstream attack;
    CGameCombatReport::WriteAttackLine(attack, -4);
    EXPECT_EQ(attack.str(), ">    Attack = -4\n");
}

TEST_F(CombatReportTest, FiringUnitLineNamesTheUnitOnlyWhenItsSideIsShown)
{
    m_game.m_platoonTypes.FindById(kSappers)->m_shortName = "Pioniere";
    const PlacedUnit& unit = Add(3, 4, kSappers);
    std::ostringstream shown;
    m_game.WriteFiringUnitLine(shown, unit, 3, 4);
    EXPECT_EQ(shown.str(), ">Firing unit at 3, 4\n>    Pioniere\n");

    m_game.m_hidden[1] = true;
    m_game.SetInfoHidden(true);
    std::ostringstream hidden;
    m_game.WriteFiringUnitLine(hidden, unit, 3, 4);
    EXPECT_EQ(hidden.str(), ">Firing unit at 3, 4\n>    Unknown\n");
}

TEST_F(CombatReportTest, LabelIsTheNameUpToThirtyFiveCharacters)
{
    PlatoonType* type = m_game.m_platoonTypes.FindById(kRifles);
    type->m_shortName = "Short";
    const PlacedUnit& unit = Add(0, 0, kRifles);
    String label;
    type->m_name = std::string(35, 'n').c_str();
    CGameCombatReport::GetUnitLabel(label, unit);
    EXPECT_EQ(label.str(), std::string(35, 'n'));
    type->m_name = std::string(36, 'n').c_str();
    CGameCombatReport::GetUnitLabel(label, unit);
    EXPECT_EQ(label.str(), "Short");
}

TEST_F(CombatReportTest, NearestFacingTowardTable)
{
    const HexSide N = HexSide::North, NE = HexSide::NorthEast, SE = HexSide::SouthEast, S = HexSide::South,
                  SW = HexSide::SouthWest, NW = HexSide::NorthWest, none = HexSide::None;
    struct Case {
        HexSide facing, a, b, expected;
    };
    const Case cases[] = {
        { N, NE, SE, NE }, // one step clockwise
        { S, NE, SE, SE }, // one step counter-clockwise
        { NE, NE, SE, NE }, // already on side a
        { SE, NE, SE, SE }, // already on side b
        { SW, NE, SE, SE }, // b two steps counter-clockwise, a three clockwise
        { NW, NE, SE, NE }, // a two steps clockwise
        { SW, N, NE, N }, // a two clockwise, b three counter-clockwise
        { S, N, N, N }, // a tie goes to a
        { S, NE, NE, NE },
        { none, NE, SE, none },
        { HexSide(3), NE, SE, HexSide(3) },
        { HexSide(0), NE, SE, HexSide(0) },
        { N, HexSide(0), SE, N },
        { N, NE, none, N },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.facing.Value() << " " << c.a.Value() << " " << c.b.Value());
        EXPECT_EQ(CGameCombatReport::NearestFacingToward(c.facing, c.a, c.b).Value(), c.expected.Value());
    }
    // Every facing against every pair of sides ends, on the side a shorter
    // turn reaches.
    for (HexSide facing = N; facing.IsValid(); facing.Next())
        for (HexSide a = N; a.IsValid(); a.Next())
            for (HexSide b = N; b.IsValid(); b.Next()) {
                const HexSide result = CGameCombatReport::NearestFacingToward(facing, a, b);
                const int toA = (HexSideIndex(a) - HexSideIndex(facing) + 6) % 6;
                const int toB = (HexSideIndex(facing) - HexSideIndex(b) + 6) % 6;
                EXPECT_EQ(result, toA <= toB ? a : b);
            }
}

TEST_F(CombatReportTest, TurnFiringUnitsTurnsOnlyUncarriedListedUnitsAndOnlyTheirFirstFacing)
{
    // Top first: (2,4) a unit facing N, a carried one facing S, then one facing S.
    PlacedUnit& first = Add(2, 4, kRifles, 0, HexSide::North);
    first.m_secondFacing = HexSide::South;
    PlacedUnit& carried = Add(2, 4, kRifles, kUnitCarried, HexSide::South);
    PlacedUnit& third = Add(2, 4, kRifles, 0, HexSide::South);
    // (4, 4) lies on the grain between NE and SE of (2, 4).
    HexSide a, b;
    SidesTowardHex(2, 4, 4, 4, a, b);
    ASSERT_EQ(a, HexSide::NorthEast);
    ASSERT_EQ(b, HexSide::SouthEast);

    const int all[] = { 1, 2, 0 };
    m_game.TurnFiringUnitsToward(all, 3, 2, 4, 4, 4);
    EXPECT_EQ(first.m_facing, HexSide::NorthEast);
    EXPECT_EQ(first.m_secondFacing, HexSide::South);
    EXPECT_EQ(carried.m_facing, HexSide::South);
    EXPECT_EQ(third.m_facing, HexSide::SouthEast);

    // Refused selections, a firing hex off the map and the target's own hex
    // turn nothing.
    first.m_facing = HexSide::North;
    const int twice[] = { 1, 1 };
    m_game.TurnFiringUnitsToward(twice, 2, 2, 4, 4, 4);
    const int past[] = { 1, 7 };
    m_game.TurnFiringUnitsToward(past, 2, 2, 4, 4, 4);
    const int top[] = { 1 };
    m_game.TurnFiringUnitsToward(top, 1, 2, 4, 2, 4);
    m_game.TurnFiringUnitsToward(top, 1, -1, 4, 4, 4);
    EXPECT_EQ(first.m_facing, HexSide::North);
}

TEST_F(CombatReportTest, ClipSquareToMapAtTheCornersAndInside)
{
    struct Case {
        int x, y, radius, minX, maxX, minY, maxY;
    };
    const Case cases[] = {
        { 0, 0, 3, 0, 3, 0, 3 },
        { 9, 7, 3, 6, 9, 4, 7 },
        { 5, 4, 1, 4, 6, 3, 5 },
        { 5, 4, 50, 0, 9, 0, 7 },
        { 5, 4, 0, 5, 5, 4, 4 },
        { -20, 30, 2, 0, 0, 7, 7 },
    };
    for (const Case& c : cases) {
        int minX = -9, maxX = -9, minY = -9, maxY = -9;
        m_game.ClipSquareToMap(c.x, c.y, c.radius, minX, maxX, minY, maxY);
        EXPECT_EQ(minX, c.minX) << c.x << "," << c.y;
        EXPECT_EQ(maxX, c.maxX) << c.x << "," << c.y;
        EXPECT_EQ(minY, c.minY) << c.x << "," << c.y;
        EXPECT_EQ(maxY, c.maxY) << c.x << "," << c.y;
    }
}

TEST_F(CombatReportTest, TargetHiddenByTheHiddenBitAndInAnUnrevealedCave)
{
    const PlacedUnit& plain = Add(1, 1, kSappers);
    const PlacedUnit& spotted = Add(1, 1, kSappers, kUnitHidden);
    const PlacedUnit& cave = Add(2, 2, kCaveInfantry);
    m_game.m_hexFlags.At(2, 2) = CGameData::kHexCave;

    // A side that is not hidden hides nothing.
    EXPECT_FALSE(m_game.IsTargetHidden(spotted, 1, 1));
    EXPECT_FALSE(m_game.IsTargetHidden(cave, 2, 2));

    m_game.m_hidden[1] = true;
    EXPECT_FALSE(m_game.IsTargetHidden(plain, 1, 1));
    EXPECT_TRUE(m_game.IsTargetHidden(spotted, 1, 1));
    EXPECT_TRUE(m_game.IsTargetHidden(cave, 2, 2));
    EXPECT_FALSE(m_game.IsTargetableUnit(cave, 2, 2));

    // A revealed cave, a hex without a cave, or a vehicle of the nation: no
    // cave rule.
    m_game.m_hexFlags.At(2, 2) = CGameData::kHexCave | CGameData::kHexCaveRevealed;
    EXPECT_FALSE(m_game.IsTargetHidden(cave, 2, 2));
    m_game.m_hexFlags.At(2, 2) = CGameData::kHexCave;
    EXPECT_FALSE(m_game.IsTargetHidden(cave, 3, 3));
    m_game.m_platoonTypes.FindById(kCaveInfantry)->m_moveFlags = 0x8;
    EXPECT_FALSE(m_game.IsTargetHidden(cave, 2, 2));
    // Off the map only the hidden bit counts.
    EXPECT_TRUE(m_game.IsTargetHidden(spotted, -1, 40));
}

TEST_F(CombatReportTest, TargetableUnitsAndLeaderHexes)
{
    EXPECT_TRUE(m_game.HexHasOnlyLeaders(0, 0));
    const PlacedUnit& leader = Add(0, 0, kLeader);
    EXPECT_TRUE(m_game.HexHasOnlyLeaders(0, 0));
    const PlacedUnit& rifles = Add(0, 0, kRifles);
    EXPECT_FALSE(m_game.HexHasOnlyLeaders(0, 0));
    const PlacedUnit& carried = Add(0, 0, kRifles, kUnitCarried);
    EXPECT_FALSE(m_game.IsTargetableUnit(leader, 0, 0));
    EXPECT_TRUE(m_game.IsTargetableUnit(rifles, 0, 0));
    EXPECT_FALSE(m_game.IsTargetableUnit(carried, 0, 0));
}

TEST_F(CombatReportTest, PendingFireCountsAndSmokeFlag)
{
    m_game.m_pendingFire.Append(PendingFire { 1, 0, 0, 4, 5, false });
    m_game.m_pendingFire.Append(PendingFire { 2, 0, 0, 4, 5, false });
    m_game.m_pendingFire.Append(PendingFire { 3, 0, 0, 6, 1, true });
    EXPECT_EQ(m_game.CountPendingFireOnHex(4, 5), 2);
    EXPECT_EQ(m_game.CountPendingFireOnHex(6, 1), 1);
    EXPECT_EQ(m_game.CountPendingFireOnHex(5, 4), 0);
    EXPECT_FALSE(m_game.HasFlaggedPendingFireOnHex(4, 5));
    EXPECT_TRUE(m_game.HasFlaggedPendingFireOnHex(6, 1));
}

TEST_F(CombatReportTest, ClearingUnitIsAnEngineerNeitherDisruptedNorCarried)
{
    EXPECT_FALSE(m_game.HexHasClearingUnit(3, 3));
    Add(3, 3, kRifles);
    Add(3, 3, kSappers, kUnitDisrupted);
    Add(3, 3, kSappers, kUnitCarried);
    EXPECT_FALSE(m_game.HexHasClearingUnit(3, 3));
    Add(3, 3, kSappers);
    EXPECT_TRUE(m_game.HexHasClearingUnit(3, 3));
    EXPECT_FALSE(m_game.HexHasClearingUnit(30, 3));
}

} // namespace
