#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "model/Geometry.h"
#include "model/Random.h"
#include "tests/model/TestTypes.h"
#include "tests/rules/RulesGame.h"

namespace {

// Nation 0 fights on side 0, nation 1 on side 1.
constexpr std::uint32_t kRifles0 = 200; // armed, on foot
constexpr std::uint32_t kLorry0 = 701; // unarmed, moves itself
constexpr std::uint32_t kBoat0 = 601; // unarmed, needs a passenger to move
constexpr std::uint32_t kRifles1 = 1200;
constexpr std::uint32_t kLorry1 = 1701;
constexpr std::uint32_t kBoat1 = 1601;
constexpr std::uint32_t kTank1 = 1001; // armed vehicle
constexpr std::uint32_t kCaveRifles = 21200; // nation 21, on foot

constexpr std::uint32_t kSeed = 12345;

// A flat open 12 x 10 map, visibility 30, side 0 to move. On such a map
// every line of sight is clear within the visibility as long as no stack
// between is crowded; the stacks here stay small.
class SpottingTest : public RulesGameTest {
protected:
    void SetUp() override
    {
        MakeMap(12, 10);
        m_weapon.m_hardValue[0] = 4;
        for (std::uint32_t id : { kRifles0, kRifles1, kCaveRifles })
            m_game.m_platoonTypes.Append(MakeType(id, 5, kMoveFoot))->m_weapon = &m_weapon;
        m_game.m_platoonTypes.Append(MakeType(kTank1, 40, 0x8))->m_weapon = &m_weapon;
        m_game.m_platoonTypes.Append(MakeType(kLorry0, 40, 0x1));
        m_game.m_platoonTypes.Append(MakeType(kLorry1, 40, 0x1));
        m_game.m_platoonTypes.Append(MakeType(kBoat0, 10, 0x1000, kCarryBoats));
        m_game.m_platoonTypes.Append(MakeType(kBoat1, 10, 0x1000, kCarryBoats));
        SetRandomSeed(kSeed);
    }

    PlacedUnit& Add(int x, int y, std::uint32_t id, int strength = 2, std::uint32_t status = 0)
    {
        PlacedUnit unit(m_game.m_platoonTypes.FindById(id), nullptr);
        unit.m_strength = strength;
        unit.m_status = status;
        return m_game.m_stacks.At(x, y).Append(unit)->value;
    }
    PlatoonType* Type(std::uint32_t id) { return m_game.m_platoonTypes.FindById(id); }
    ContactCell Cell(int x, int y, int side) { return m_game.m_contact[side].At(x, y); }

    WeaponRecord m_weapon;
};

::testing::AssertionResult CellIs(const ContactCell& cell, int kind, int value)
{
    if (cell.kind == kind && cell.value == value)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "level " << cell.kind << " value " << cell.value << ", expected " << kind
                                         << " " << value;
}

std::vector<HexPos> Listed(const HexList& hexes)
{
    std::vector<HexPos> listed;
    for (const HexPos& hex : hexes)
        listed.push_back(hex);
    return listed;
}

TEST_F(SpottingTest, OwnHexesAreArmedContactAtDistanceZeroForBothSides)
{
    for (int mover = 0; mover < 2; ++mover) {
        SCOPED_TRACE(mover);
        m_game.m_stacks.At(1, 1).Free();
        m_game.m_stacks.At(10, 8).Free();
        Add(1, 1, kBoat0);
        Add(10, 8, kBoat1);
        m_game.m_visibility = 3; // out of each other's sight
        m_game.m_map.SetSide(mover);
        m_game.RecomputeContacts();
        EXPECT_TRUE(CellIs(Cell(1, 1, 0), 1, 0));
        EXPECT_TRUE(CellIs(Cell(10, 8, 1), 1, 0));
        EXPECT_TRUE(CellIs(Cell(1, 1, 1), 0, -1));
        EXPECT_TRUE(CellIs(Cell(10, 8, 0), 0, -1));
        EXPECT_TRUE(CellIs(Cell(5, 5, 0), 0, -1));
    }
}

TEST_F(SpottingTest, ArmedSpottersKeepTheLeastDistanceAndUnarmedOnesTheFirst)
{
    // Side 1 hexes, seen by side 0 (the side to move) along rows 9 and 0.
    Add(6, 9, kRifles1);
    Add(6, 0, kRifles1);
    Add(1, 9, kLorry0); // 5 from (6, 9), scanned first
    Add(4, 9, kLorry0); // 2 from (6, 9)
    Add(10, 9, kRifles0); // 4 from (6, 9), scanned last
    Add(0, 0, kRifles0); // 6 from (6, 0)
    Add(9, 0, kRifles0); // 3 from (6, 0)
    m_game.m_visibility = 6;
    m_game.RecomputeContacts();
    EXPECT_TRUE(CellIs(Cell(6, 9, 0), 1, 4)) << "the unarmed contact raised by an armed spotter";
    EXPECT_TRUE(CellIs(Cell(6, 0, 0), 1, 3)) << "the least of 6 and 3";
    // Side 1 sees back with its armed units, each hex at its distance.
    EXPECT_TRUE(CellIs(Cell(4, 9, 1), 1, 2));
    EXPECT_TRUE(CellIs(Cell(1, 9, 1), 1, 5));
    EXPECT_TRUE(CellIs(Cell(10, 9, 1), 1, 4));
    EXPECT_TRUE(CellIs(Cell(0, 0, 1), 1, 6));
    EXPECT_TRUE(CellIs(Cell(9, 0, 1), 1, 3));

    // Unarmed spotters alone: the first distance written stays, not the least.
    m_game.m_stacks.At(10, 9).Free();
    m_game.RecomputeContacts();
    EXPECT_TRUE(CellIs(Cell(6, 9, 0), 2, 5));
    EXPECT_TRUE(CellIs(Cell(10, 9, 1), 0, -1)) << "cleared first";
}

TEST_F(SpottingTest, UnarmedUnitsThatCannotMoveMakeNoContactAndArmedContactIsNeverLowered)
{
    Add(3, 3, kBoat0);
    Add(7, 3, kLorry1);
    Add(7, 7, kBoat1);
    m_game.RecomputeContacts();
    EXPECT_TRUE(CellIs(Cell(7, 3, 0), 0, -1)) << "a boat without passengers spots nothing";
    EXPECT_TRUE(CellIs(Cell(7, 7, 0), 0, -1));
    EXPECT_TRUE(CellIs(Cell(3, 3, 1), 2, 4)) << "the lorry spots, unarmed";

    // An armed unit of side 1 scanned before the lorry: armed contact, which
    // the lorry after it does not lower.
    Add(5, 3, kRifles1);
    m_game.RecomputeContacts();
    EXPECT_TRUE(CellIs(Cell(3, 3, 1), 1, 2));
}

TEST_F(SpottingTest, HedgeAndBocageOfTheEnemyHexFacingTheOwnHexMultiplyTheDistance)
{
    // (2, 4) and (6, 4): the sides of (6, 4) facing (2, 4) are NW and SW.
    HexSide first, second;
    SidesTowardHex(2, 4, 6, 4, first, second);
    ASSERT_EQ(first.Opposite(), HexSide::SouthWest);
    ASSERT_EQ(second.Opposite(), HexSide::NorthWest);
    struct Case {
        int layer;
        HexSide side;
        int expected;
    };
    const Case cases[] = {
        { kLayerRoad, HexSide::NorthWest, 4 },
        { kLayerHedge, HexSide::NorthWest, 8 },
        { kLayerHedge, HexSide::SouthWest, 8 },
        { kLayerHedge, HexSide::North, 4 }, // not facing the viewer
        { kLayerDune, HexSide::SouthWest, 8 },
        { kLayerEmbankment, HexSide::SouthWest, 8 },
        { kLayerStoneWall, HexSide::SouthWest, 8 },
        { kLayerReef, HexSide::SouthWest, 8 },
        { kLayerBocage, HexSide::NorthWest, 16 },
        { kLayerHighWall, HexSide::NorthWest, 4 },
        { kLayerCliff, HexSide::NorthWest, 4 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layer);
        Hex(6, 4) = HexRecord {};
        AddFeature(6, 4, c.layer, c.side);
        EXPECT_EQ(m_game.GetSpottingDistance(2, 4, 6, 4), c.expected);
        // Only the second hex's record counts.
        EXPECT_EQ(m_game.GetSpottingDistance(6, 4, 2, 4), 4);
    }
    // Bocage and hedge together: the larger factor.
    Hex(6, 4) = HexRecord {};
    AddFeature(6, 4, kLayerBocage, HexSide::NorthWest);
    AddFeature(6, 4, kLayerHedge, HexSide::SouthWest);
    EXPECT_EQ(m_game.GetSpottingDistance(2, 4, 6, 4), 16);
    EXPECT_EQ(m_game.GetSpottingDistance(6, 4, 6, 4), 0);

    // Both directions of a pair use the enemy hex's features: side 0's own
    // hedge does not count even for side 1's view of it.
    Hex(6, 4) = HexRecord {};
    AddFeature(6, 4, kLayerHedge, HexSide::NorthWest);
    AddFeature(2, 4, kLayerBocage, HexSide::NorthEast);
    AddFeature(2, 4, kLayerBocage, HexSide::SouthEast);
    Add(2, 4, kRifles0);
    Add(6, 4, kRifles1);
    m_game.RecomputeContacts();
    EXPECT_TRUE(CellIs(Cell(6, 4, 0), 1, 8));
    EXPECT_TRUE(CellIs(Cell(2, 4, 1), 1, 8));
}

TEST_F(SpottingTest, EmptyHexesWithPositionsOrObstaclesTakeTheFirstSpotterOfEachSide)
{
    m_game.m_hexFlags.At(5, 5) = CGameData::kHexTrench;
    m_game.m_hexFlags.At(5, 8) = CGameData::kHexMinefield2;
    m_game.m_hexFlags.At(9, 0) = CGameData::kHexRubble; // not a feature hex
    Add(0, 5, kBoat0); // 5 from (5, 5), scanned first: no unit needs to be armed here
    Add(4, 5, kRifles0); // 1 from (5, 5)
    Add(11, 5, kRifles1); // 6 from (5, 5)
    m_game.m_visibility = 6;
    m_game.RecomputeContacts();
    EXPECT_TRUE(CellIs(Cell(5, 5, 0), 1, 5));
    EXPECT_TRUE(CellIs(Cell(5, 5, 1), 1, 6));
    EXPECT_TRUE(CellIs(Cell(9, 0, 0), 0, -1));
    EXPECT_TRUE(CellIs(Cell(9, 0, 1), 0, -1));
    // (5, 8): 3 from (4, 5)... and the boat at (0, 5) is 6 away, in range.
    EXPECT_EQ(Cell(5, 8, 0).kind, 1);
    EXPECT_EQ(Cell(5, 8, 0).value, HexDistance(0, 5, 5, 8));
    // Out of range of everyone: no contact.
    m_game.m_visibility = 2;
    m_game.RecomputeContacts();
    EXPECT_TRUE(CellIs(Cell(5, 5, 0), 1, 1));
    EXPECT_TRUE(CellIs(Cell(5, 5, 1), 0, -1));
    EXPECT_TRUE(CellIs(Cell(5, 8, 0), 0, -1));
}

TEST_F(SpottingTest, ConcealmentByTerrainFlagsAndSmoke)
{
    struct TerrainCase {
        int terrain;
        int expected;
    };
    const TerrainCase terrains[] = {
        { kTerrainOpen, 0 },
        { kTerrainWater, 3 },
        { kTerrainShallowWater, 3 },
        { kTerrainBeach, 1 },
        { kTerrainOrchard, -1 },
        { kTerrainKunai, -1 },
        { kTerrainMarsh, -2 },
        { kTerrainWadi, -2 },
        { kTerrainForest, -3 },
        { kTerrainSwamp, -3 },
        { kTerrainLightJungle, -4 },
        { kTerrainJungle, -4 },
        { kTerrainHammada, 0 },
        { kTerrainPalmTrees, 0 },
    };
    for (const TerrainCase& c : terrains) {
        SetTerrain(3, 3, c.terrain);
        EXPECT_EQ(m_game.GetHexConcealment(3, 3), c.expected) << TerrainTypeName(c.terrain);
    }
    SetTerrain(3, 3, kTerrainOpen);

    struct FlagCase {
        int flags;
        bool smoke;
        int shown; // with the content shown
        int unshown; // with it hidden
    };
    const FlagCase flags[] = {
        { CGameData::kHexRubble, false, -1, -1 },
        { CGameData::kHexTrench, false, -1, 0 },
        { CGameData::kHexImprovedPosition, false, -1, 0 },
        { CGameData::kHexBunker, false, -3, 0 },
        { CGameData::kHexPillbox | CGameData::kHexTrench, false, -4, 0 },
        { 0, true, -2, -2 },
        { CGameData::kHexRubble | CGameData::kHexBunker, true, -6, -3 },
    };
    for (const FlagCase& c : flags) {
        SCOPED_TRACE(c.flags);
        m_game.m_hexFlags.At(3, 3) = c.flags;
        m_game.SetSmoke(c.smoke ? 1 : -1, 3, 3, false);
        m_game.m_hidden[1] = false;
        EXPECT_EQ(m_game.GetHexConcealment(3, 3), c.shown);
        // Side 1 hidden, the empty hex out of contact: its content is not shown.
        m_game.m_hidden[1] = true;
        ASSERT_FALSE(m_game.IsHexContentShown(3, 3));
        EXPECT_EQ(m_game.GetHexConcealment(3, 3), c.unshown);
    }
    EXPECT_EQ(m_game.GetHexConcealment(-1, 3), 0);
}

// The value v that IsUnitSpotted draws against, read back from the draws
// themselves: a replica of the global generator tells each draw's r, and
// the unit is spotted exactly when r <= v.
int DrawnValue(CRulesTestGame& game, const PlacedUnit& unit, int x, int y)
{
    CRandomGenerator replica(GlobalRandomGenerator().State());
    int value = -1;
    int lowestMissed = 10;
    for (int i = 0; i < 200; ++i) {
        const int r = static_cast<int>(replica.Next() * 10.0);
        if (game.IsUnitSpotted(unit, x, y))
            value = std::max(value, r);
        else
            lowestMissed = std::min(lowestMissed, r);
    }
    EXPECT_EQ(GlobalRandomGenerator().State(), replica.State()) << "one draw per call";
    EXPECT_EQ(lowestMissed, value + 1) << "spotted exactly below a threshold";
    return value;
}

TEST_F(SpottingTest, SpottingValueAddsStrengthTerrainDiggingInCavesAndDistance)
{
    Type(kRifles1)->m_value25 = 1;
    Type(kTank1)->m_value25 = 1;
    ASSERT_EQ(Type(kTank1)->VisibilityValue(), 1);
    struct Case {
        const char* what;
        std::uint32_t id;
        int strength;
        std::uint32_t status;
        int terrain;
        int contactValue; // side 0's contact value at the hex
        int expected;
    };
    const Case cases[] = {
        { "vehicle: full strength", kTank1, 5, 0, kTerrainOpen, -1, 6 },
        { "on foot: half the strength", kRifles1, 5, 0, kTerrainOpen, -1, 3 },
        { "water shows", kRifles1, 5, 0, kTerrainWater, -1, 6 },
        { "forest hides", kRifles1, 5, 0, kTerrainForest, -1, 0 },
        { "digging in shows", kRifles1, 2, kUnitDiggingIn, kTerrainOpen, -1, 8 },
        { "far contact hides", kTank1, 6, 0, kTerrainOpen, 5, 5 },
        { "clamped above", kTank1, 40, 0, kTerrainOpen, -1, 8 },
        { "clamped below", kRifles1, 0, 0, kTerrainJungle, 9, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetTerrain(4, 4, c.terrain);
        m_game.m_contact[0].At(4, 4) = ContactCell { c.contactValue == -1 ? 0 : 1, c.contactValue };
        m_game.m_stacks.At(4, 4).Free();
        const PlacedUnit& unit = Add(4, 4, c.id, c.strength, c.status);
        EXPECT_EQ(DrawnValue(m_game, unit, 4, 4), c.expected);
    }

    // A foot unit of nation 21 in a cave hex: 4 less, revealed or not.
    SetTerrain(4, 4, kTerrainOpen);
    m_game.m_contact[0].At(4, 4) = ContactCell {};
    m_game.m_contact[1].At(4, 4) = ContactCell {};
    m_game.m_stacks.At(4, 4).Free();
    Type(kCaveRifles)->m_value25 = 5;
    const PlacedUnit& cave = Add(4, 4, kCaveRifles, 2);
    EXPECT_EQ(DrawnValue(m_game, cave, 4, 4), 6);
    m_game.m_hexFlags.At(4, 4) = CGameData::kHexCave;
    EXPECT_EQ(DrawnValue(m_game, cave, 4, 4), 2);
    m_game.m_hexFlags.At(4, 4) = CGameData::kHexCave | CGameData::kHexCaveRevealed;
    EXPECT_EQ(DrawnValue(m_game, cave, 4, 4), 2);
    // Not for a vehicle of the nation.
    Type(kCaveRifles)->m_moveFlags = 0x8;
    EXPECT_EQ(DrawnValue(m_game, cave, 4, 4), 5 + 2);
}

TEST_F(SpottingTest, SpottingChanceIsValuePlusOneInTen)
{
    struct Case {
        int visibility;
        int percent;
    };
    const Case cases[] = { { 0, 10 }, { 4, 50 }, { 8, 90 }, { 15, 90 }, { -7, 10 } };
    const PlacedUnit& unit = Add(4, 4, kRifles1, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.visibility);
        Type(kRifles1)->m_value25 = c.visibility;
        constexpr int kRuns = 20000;
        int spotted = 0;
        for (int i = 0; i < kRuns; ++i)
            spotted += m_game.IsUnitSpotted(unit, 4, 4) ? 1 : 0;
        EXPECT_NEAR(spotted * 100.0 / kRuns, c.percent, 1.5);
    }
}

// Count of draws made since the replica was taken.
int DrawsSince(std::uint32_t state)
{
    CRandomGenerator replica(state);
    for (int n = 0; n < 1000; ++n) {
        if (replica.State() == GlobalRandomGenerator().State())
            return n;
        replica.Next();
    }
    return -1;
}

TEST_F(SpottingTest, VisibilityUpdateHidesOutOfContactDrawsForArmedContactOnly)
{
    // (2, 2): side 1, two hidden units and a shown one, side 0 armed contact.
    PlacedUnit& first = Add(2, 2, kRifles1, 2, kUnitHidden);
    PlacedUnit& shown = Add(2, 2, kRifles1, 2, 0);
    PlacedUnit& second = Add(2, 2, kRifles1, 2, kUnitHidden);
    m_game.m_contact[0].At(2, 2) = ContactCell { 1, 0 };
    // (5, 5): side 1, hidden, unarmed contact only: left as it is.
    PlacedUnit& unarmed = Add(5, 5, kRifles1, 2, kUnitHidden);
    m_game.m_contact[0].At(5, 5) = ContactCell { 2, 0 };
    PlacedUnit& unarmedShown = Add(5, 5, kRifles1, 2, 0);
    // (7, 1): side 0, shown, no side 1 contact: hidden without a draw.
    PlacedUnit& lost = Add(7, 1, kRifles0, 2, 0);
    // (9, 9): side 0, already hidden, no contact: nothing changes.
    Add(9, 9, kRifles0, 2, kUnitHidden);
    Type(kRifles1)->m_value25 = 4; // v = 5

    const std::uint32_t before = GlobalRandomGenerator().State();
    CRandomGenerator replica(before);
    const bool firstSpotted = static_cast<int>(replica.Next() * 10.0) <= 5;
    const bool secondSpotted = static_cast<int>(replica.Next() * 10.0) <= 5;
    HexList hexes;
    AppendHexListNode(hexes, 7, 1); // already listed: not again
    m_game.UpdateUnitVisibility(hexes);

    EXPECT_EQ(DrawsSince(before), 2) << "one draw per hidden unit with armed contact";
    EXPECT_EQ((first.m_status & kUnitHidden) == 0, firstSpotted);
    EXPECT_EQ((second.m_status & kUnitHidden) == 0, secondSpotted);
    EXPECT_EQ(shown.m_status & kUnitHidden, 0u);
    EXPECT_NE(unarmed.m_status & kUnitHidden, 0u);
    EXPECT_EQ(unarmedShown.m_status & kUnitHidden, 0u);
    EXPECT_NE(lost.m_status & kUnitHidden, 0u);
    const std::vector<HexPos> listed = Listed(hexes);
    std::vector<HexPos> expected { { 7, 1 } };
    if (firstSpotted || secondSpotted)
        expected.push_back(HexPos { 2, 2 });
    EXPECT_EQ(listed, expected);
    // The seed makes at least one of them show, or the test proves little.
    EXPECT_TRUE(firstSpotted || secondSpotted);
}

TEST_F(SpottingTest, ResetHidesEveryUnitThenDrawsWhereverTheEnemyHasAnyContact)
{
    Add(2, 2, kRifles1, 2, 0);
    Add(2, 2, kRifles1, 2, 0);
    m_game.m_contact[0].At(2, 2) = ContactCell { 2, 3 };
    Add(5, 5, kRifles0, 2, 0);
    m_game.m_contact[1].At(5, 5) = ContactCell { 1, 0 };
    Add(8, 8, kRifles1, 2, 0); // no contact: stays hidden, no draw
    Type(kRifles1)->m_value25 = 20; // v = 8: spotted unless the draw is 9
    Type(kRifles0)->m_value25 = -20; // v = 0: spotted only on a draw of 0

    const std::uint32_t before = GlobalRandomGenerator().State();
    CRandomGenerator replica(before);
    std::vector<int> draws;
    for (int i = 0; i < 3; ++i)
        draws.push_back(static_cast<int>(replica.Next() * 10.0));
    m_game.ResetUnitVisibility();
    EXPECT_EQ(DrawsSince(before), 3) << "level 2 contact draws too; no contact does not";
    const UnitNode* node = m_game.m_stacks.At(2, 2).Head();
    EXPECT_EQ((node->value.m_status & kUnitHidden) == 0, draws[0] <= 8);
    EXPECT_EQ((node->next->value.m_status & kUnitHidden) == 0, draws[1] <= 8);
    EXPECT_EQ((m_game.m_stacks.At(5, 5).Head()->value.m_status & kUnitHidden) == 0, draws[2] == 0);
    EXPECT_NE(m_game.m_stacks.At(8, 8).Head()->value.m_status & kUnitHidden, 0u);
}

TEST_F(SpottingTest, UpdateSpottingListsEachChangedHexOnceThenTheUnitsThatChanged)
{
    Add(2, 2, kRifles0);
    Add(4, 2, kRifles1, 2, kUnitHidden);
    Add(10, 8, kRifles1, 2, 0);
    Type(kRifles1)->m_value25 = 20;
    m_game.m_visibility = 3;
    // An old contact of side 0 with (10, 8) that is gone now.
    m_game.m_contact[0].At(10, 8) = ContactCell { 1, 7 };
    m_game.m_contact[1].At(10, 8) = ContactCell { 1, 0 }; // unchanged
    HexList hexes;
    AppendHexListNode(hexes, 4, 2);
    CRandomGenerator replica(GlobalRandomGenerator().State());
    ASSERT_LE(static_cast<int>(replica.Next() * 10.0), 8) << "the seed lets (4, 2) be spotted at once";
    m_game.UpdateSpotting(hexes);

    EXPECT_EQ(m_game.m_contactSnapshot[0].At(10, 8), 1);
    EXPECT_EQ(m_game.m_contactSnapshot[1].At(10, 8), 1);
    EXPECT_EQ(m_game.m_contactSnapshot[0].At(2, 2), 0);
    const std::vector<HexPos> listed = Listed(hexes);
    // (4, 2) was listed; (2, 2) and (10, 8) changed contact; (10, 8) also
    // lost its shown unit but is listed once.
    const std::vector<HexPos> expected { { 4, 2 }, { 2, 2 }, { 10, 8 } };
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(m_game.m_stacks.At(4, 2).Head()->value.m_status & kUnitHidden, 0u);
    EXPECT_NE(m_game.m_stacks.At(10, 8).Head()->value.m_status & kUnitHidden, 0u);

    // Nothing changed since: nothing listed.
    HexList again;
    m_game.UpdateSpotting(again);
    EXPECT_TRUE(again.IsEmpty());
}

TEST_F(SpottingTest, CanSideSeeHexWithArmedUnitsOnlyAndMarksTheLeastDistance)
{
    Add(1, 4, kRifles0); // 6 from (7, 4)
    Add(5, 4, kLorry0); // 2, unarmed
    Add(10, 4, kRifles0); // 3
    Add(7, 4, kRifles1);
    m_game.m_visibility = 6;
    EXPECT_TRUE(m_game.CanSideSeeHex(7, 4, 0, 0));
    EXPECT_TRUE(CellIs(Cell(7, 4, 0), 0, -1));
    EXPECT_TRUE(m_game.CanSideSeeHex(7, 4, 0, 1));
    EXPECT_TRUE(CellIs(Cell(7, 4, 0), 1, 3));
    EXPECT_EQ(m_game.m_blockingHex, (HexPos { -1, -1 }));

    // Only the unarmed lorry in range: not seen, nothing marked.
    m_game.m_visibility = 2;
    m_game.m_contact[0].At(7, 4) = ContactCell {};
    EXPECT_FALSE(m_game.CanSideSeeHex(7, 4, 0, 1));
    EXPECT_TRUE(CellIs(Cell(7, 4, 0), 0, -1));
    EXPECT_FALSE(m_game.CanSideSeeHex(7, 4, -1, 1));
    EXPECT_FALSE(m_game.CanSideSeeHex(7, 4, 2, 1));
    // A side's armed hex sees itself.
    EXPECT_TRUE(m_game.CanSideSeeHex(7, 4, 1, 1));
    EXPECT_TRUE(CellIs(Cell(7, 4, 1), 1, 0));
}

TEST_F(SpottingTest, HexSpottedByEnemyAnswersTheContactOrLooksAndMarks)
{
    Add(2, 4, kRifles0);
    Add(6, 4, kRifles1);
    m_game.m_visibility = 5;
    // Known contact: answered without looking.
    m_game.m_contact[1].At(2, 4) = ContactCell { 2, 9 };
    EXPECT_EQ(m_game.IsHexSpottedByEnemy(2, 4), 2);
    EXPECT_TRUE(CellIs(Cell(2, 4, 1), 2, 9));
    // None: side 1 looks and marks.
    m_game.m_contact[1].At(2, 4) = ContactCell {};
    EXPECT_EQ(m_game.IsHexSpottedByEnemy(2, 4), 1);
    EXPECT_TRUE(CellIs(Cell(2, 4, 1), 1, 4));
    // An empty hex is looked at by the side not to move.
    EXPECT_EQ(m_game.IsHexSpottedByEnemy(9, 4), 1);
    EXPECT_TRUE(CellIs(Cell(9, 4, 1), 1, 3));
    EXPECT_TRUE(CellIs(Cell(9, 4, 0), 0, -1));
    m_game.m_map.SetSide(1);
    m_game.m_visibility = 3;
    EXPECT_EQ(m_game.IsHexSpottedByEnemy(2, 8), 0);
    m_game.m_visibility = 10;
    EXPECT_EQ(m_game.IsHexSpottedByEnemy(2, 8), 1);
    EXPECT_TRUE(CellIs(Cell(2, 8, 0), 1, 4));
}

} // namespace
