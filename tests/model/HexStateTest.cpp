#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/Clock.h"
#include "model/GameHexMarks.h"
#include "model/Geometry.h"
#include "model/Random.h"
#include "tests/TestFiles.h"
#include "tests/model/TestTypes.h"

namespace {

// The battle-data layer with the per-side hiding the top layer would decide.
class HiddenSidesGame : public CGameHexMarks {
public:
    bool IsSideHidden(int side) const override { return (side == 0 || side == 1) && m_hiddenSides[side]; }
    bool m_hiddenSides[2] = { false, false };
};

// Platoon types of the tests. Nation 0 fights on side 0, nation 1 on side 1.
constexpr std::uint32_t kInfantry = 101;
constexpr std::uint32_t kTank = 201;
constexpr std::uint32_t kTruck = 111;
constexpr std::uint32_t kEnemyInfantry = 1101;
constexpr std::uint32_t kFighter = 601;
constexpr std::uint32_t kBomber = 602;
constexpr std::uint32_t kEnemyFighter = 1601;

// A 6 x 4 map of Open hexes, no data files, and the test's platoon types.
class HexStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_game = std::make_unique<HiddenSidesGame>();
        PlatoonTypeList& types = m_game->m_platoonTypes;
        // Full strength 4 and the unit values the objective and exit tests count.
        types.Append(WithValue(MakeType(kInfantry, 6, kMoveFoot), 10, 4));
        types.Append(WithValue(MakeType(kTank, 10, 0, 0, kTargetHard), 30, 4));
        types.Append(WithValue(MakeType(kTruck, 12, 0, kCarryPassengers, 0, 0x4), 5, 4));
        types.Append(WithValue(MakeType(kEnemyInfantry, 6, kMoveFoot), 10, 4));
        types.Append(WithValue(MakeType(kFighter, 0, 0), 0, 4));
        types.Append(WithValue(MakeType(kBomber, 0, 0), 0, 4));
        types.Append(WithValue(MakeType(kEnemyFighter, 0, 0), 0, 4));
        // The map member is the clock; only its map part is replaced here.
        static_cast<HexMap&>(m_game->m_map) = HexMap(6, 4);
        m_game->AllocateGrids(6, 4);
    }

    PlatoonType* Type(std::uint32_t id) const { return m_game->m_platoonTypes.FindById(id); }

    PlacedUnit& AddUnit(int x, int y, std::uint32_t id, int strength = 3, std::uint32_t status = 0)
    {
        PlacedUnit unit(Type(id), nullptr);
        unit.m_strength = strength;
        unit.m_status = status;
        return m_game->m_stacks.At(x, y).Append(unit)->value;
    }

    void SetTerrain(int x, int y, int terrain) { m_game->m_map.GetHex(x, y).terrain = terrain; }

    CGameData& Game() { return *m_game; }

    TempDir m_dir;
    ScopedCurrentDir m_inDir { m_dir.Path() };
    std::unique_ptr<HiddenSidesGame> m_game;
};

TEST_F(HexStateTest, WrecksCountAndFlagExceptInOpenWater)
{
    enum Place { kLand, kOpenWater, kFrozenWater, kRoadOverWater, kPontoonWater };
    struct Case {
        const char* name;
        Place place;
        int before;
        int add;
        bool flag;
        int value;
        bool burning;
    } const cases[] = {
        { "five flagged wrecks on land", kLand, 0, 5, true, 5, true },
        { "more wrecks keep the flag", kLand, CGameData::kWreckBurning | 2, 1, false, 3, true },
        { "open water swallows wrecks", kOpenWater, 0, 4, true, 0, false },
        { "frozen water takes them", kFrozenWater, 0, 4, false, 4, false },
        { "a road across water takes them", kRoadOverWater, 1, 2, false, 3, false },
        { "a pontoon takes them", kPontoonWater, 0, 1, true, 1, true },
        { "the count never spills into the flag", kLand, CGameData::kWreckCountMask, 1, false,
            CGameData::kWreckCountMask, false },
        { "the count never goes below 0", kLand, 2, -5, false, 0, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        const int x = 2;
        const int y = 1;
        if (c.place != kLand)
            SetTerrain(x, y, kTerrainWater);
        if (c.place == kFrozenWater)
            Game().m_terrain.water = TerrainConditions::kFrozen;
        if (c.place == kRoadOverWater)
            Game().m_map.GetHex(x, y).layers[kLayerRoad] = HexSideSet(HexSide::North.Value() | HexSide::South.Value());
        if (c.place == kPontoonWater)
            Game().m_pontoons.At(x, y) = PontoonCell { HexSide::NorthEast, 3 };
        Game().m_wrecks.At(x, y) = c.before;
        Game().AddWreck(x, y, c.add, c.flag);
        EXPECT_EQ(Game().GetWreckValue(x, y), c.value);
        EXPECT_EQ(Game().IsWreckBurning(x, y), c.burning);
    }
    // Off the map nothing is there and nothing can be added.
    Game().AddWreck(6, 0, 3, true);
    EXPECT_EQ(Game().GetWreckValue(6, 0), 0);
    EXPECT_FALSE(Game().IsWreckBurning(-1, 0));
}

TEST_F(HexStateTest, EffectiveTerrainFollowsTheBattleConditions)
{
    struct Case {
        int terrain;
        TerrainConditions conditions;
        int effective;
        bool openWater;
    } const cases[] = {
        { kTerrainWater, {}, kTerrainWater, true },
        { kTerrainWater, { 0, TerrainConditions::kFrozen, 0, 0 }, kTerrainWater, false },
        { kTerrainMarsh, { 0, TerrainConditions::kFrozen, 0, 0 }, kTerrainOpen, false },
        { kTerrainMarsh, { TerrainConditions::kSnow, 0, 0, 0 }, kTerrainOpen, false },
        { kTerrainMarsh, {}, kTerrainMarsh, false },
        { kTerrainField, { 0, 0, 0, TerrainConditions::kFieldsOpen }, kTerrainOpen, false },
        { kTerrainField, { 0, 0, 0, 1 }, kTerrainField, false },
        { kTerrainSwamp, { 0, TerrainConditions::kFrozen, 0, 0 }, kTerrainForest, false },
        { kTerrainShallowWater, {}, kTerrainShallowWater, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(TerrainTypeName(c.terrain));
        SetTerrain(4, 3, c.terrain);
        Game().m_terrain = c.conditions;
        EXPECT_EQ(Game().GetEffectiveTerrain(4, 3), c.effective);
        EXPECT_EQ(Game().IsOpenWater(4, 3), c.openWater);
    }
    EXPECT_EQ(Game().GetEffectiveTerrain(0, 4), kTerrainImpassible);
    EXPECT_FALSE(Game().IsOpenWater(-1, 0));
}

TEST_F(HexStateTest, ContactLevelsAndValuesFollowTheContactRule)
{
    struct Step {
        int kind;
        int value;
        int expectKind;
        int expectValue;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    } const cases[] = {
        { "a first contact stores its value", { { 1, 5, 1, 5 } } },
        { "kind 1 keeps a smaller value", { { 1, 5, 1, 5 }, { 1, 7, 1, 5 } } },
        { "kind 1 takes a smaller value", { { 1, 5, 1, 5 }, { 1, 3, 1, 3 } } },
        { "kind 2 always takes the value", { { 1, 3, 1, 3 }, { 2, 9, 2, 9 } } },
        { "kind 0 clears the kind and takes the value", { { 2, 4, 2, 4 }, { 0, -1, 0, -1 } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (auto& grid : Game().m_contact)
            grid.Fill(ContactCell());
        for (const Step& step : c.steps) {
            Game().SetContact(1, 2, 1, step.kind, step.value);
            EXPECT_EQ(Game().GetContactLevel(1, 2, 1), step.expectKind);
            EXPECT_EQ(Game().GetContactValue(1, 2, 1), step.expectValue);
        }
        // The other side's cell is its own.
        EXPECT_EQ(Game().GetContactLevel(1, 2, 0), 0);
        EXPECT_EQ(Game().GetContactValue(1, 2, 0), -1);
    }
    // Sides other than 0 and 1, and hexes off the map, have no contact.
    Game().SetContact(1, 2, 2, 2, 1);
    Game().SetContact(7, 2, 0, 2, 1);
    EXPECT_EQ(Game().GetContactLevel(1, 2, 2), 0);
    EXPECT_EQ(Game().GetContactValue(1, 2, -1), -1);
    EXPECT_EQ(Game().GetContactLevel(7, 2, 0), 0);
}

TEST_F(HexStateTest, EnemyContactIsTheOccupantsEnemys)
{
    Game().SetContact(0, 0, 0, 1, 2);
    Game().SetContact(0, 0, 1, 2, 3);
    EXPECT_EQ(Game().GetEnemyContact(0, 0), 0) << "an empty hex has no enemy contact";
    AddUnit(0, 0, kInfantry);
    EXPECT_EQ(Game().GetEnemyContact(0, 0), 2) << "side 1 looks at a side-0 hex";
    Game().m_stacks.At(0, 0).Free();
    AddUnit(0, 0, kEnemyInfantry);
    EXPECT_EQ(Game().GetEnemyContact(0, 0), 1) << "side 0 looks at a side-1 hex";
    EXPECT_EQ(Game().GetEnemyContact(-1, 0), 0);
}

TEST_F(HexStateTest, SmokeStarshellAndFireMarks)
{
    EXPECT_FALSE(Game().HasSmoke(3, 3));
    EXPECT_FALSE(Game().HasStarshell(3, 3));
    EXPECT_FALSE(Game().HasFireMark(3, 3));

    Game().SetSmoke(1, 3, 3, false);
    EXPECT_TRUE(Game().HasSmoke(3, 3));
    EXPECT_EQ(Game().m_hexFlags.At(3, 3) & CGameData::kHexSmoke, 0) << "without the flag the hex flags stay";
    Game().SetSmoke(0, 3, 3, true);
    EXPECT_EQ(Game().m_smokeMark.At(3, 3), 0);
    EXPECT_NE(Game().m_hexFlags.At(3, 3) & CGameData::kHexSmoke, 0);
    Game().SetSmoke(-1, 3, 3, true);
    EXPECT_FALSE(Game().HasSmoke(3, 3));
    EXPECT_EQ(Game().m_hexFlags.At(3, 3) & CGameData::kHexSmoke, 0);

    Game().SetStarshell(1, 3, 3);
    Game().SetFireMark(0, 3, 3);
    EXPECT_TRUE(Game().HasStarshell(3, 3));
    EXPECT_TRUE(Game().HasFireMark(3, 3));
    EXPECT_FALSE(Game().HasStarshell(3, 2)) << "marks belong to one hex";
    Game().SetStarshell(-1, 3, 3);
    Game().SetFireMark(-1, 3, 3);
    EXPECT_FALSE(Game().HasStarshell(3, 3));
    EXPECT_FALSE(Game().HasFireMark(3, 3));

    // Off the map: nothing set, nothing there.
    Game().SetSmoke(1, 6, 0, true);
    Game().SetStarshell(1, 0, -1);
    Game().SetFireMark(1, 0, 4);
    EXPECT_FALSE(Game().HasSmoke(6, 0));
    EXPECT_FALSE(Game().HasStarshell(0, -1));
    EXPECT_FALSE(Game().HasFireMark(0, 4));
}

TEST_F(HexStateTest, PontoonsAndDamagedBridges)
{
    EXPECT_FALSE(Game().HasPontoon(2, 2));
    EXPECT_FALSE(Game().PontoonCrossesSide(2, 2, HexSide::None)) << "no pontoon crosses nothing";

    Game().m_pontoons.At(2, 2) = PontoonCell { HexSide::North, 5 };
    EXPECT_TRUE(Game().HasPontoon(2, 2));
    EXPECT_EQ(Game().GetPontoonCapacity(2, 2), 5);
    struct Case {
        HexSide side;
        bool crosses;
    } const cases[] = {
        { HexSide::North, true },
        { HexSide::South, true },
        { HexSide::NorthEast, false },
        { HexSide::SouthWest, false },
        { HexSide::None, false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(Game().PontoonCrossesSide(2, 2, c.side), c.crosses) << c.side.Value();

    Game().m_pontoons.At(2, 2).capacity = 0;
    EXPECT_TRUE(Game().HasPontoon(2, 2)) << "a damaged pontoon is still there";
    EXPECT_EQ(Game().GetPontoonCapacity(2, 2), 0);

    const HexSideSet damaged(HexSide::SouthEast.Value() | HexSide::NorthWest.Value());
    Game().m_damagedBridges.At(2, 2) = damaged;
    EXPECT_EQ(Game().GetDamagedBridgeSides(2, 2), damaged);
    EXPECT_TRUE(Game().GetDamagedBridgeSides(2, 1).IsEmpty());

    EXPECT_FALSE(Game().HasPontoon(-1, 2));
    EXPECT_EQ(Game().GetPontoonCapacity(2, 9), 0);
    EXPECT_TRUE(Game().GetDamagedBridgeSides(6, 2).IsEmpty());
}

TEST_F(HexStateTest, ArrivalMarksAndHexValue)
{
    EXPECT_EQ(Game().GetArrivalMark(1, 1).value, -1);
    EXPECT_FALSE(Game().GetArrivalMark(1, 1).flag);
    Game().SetArrivalMark(1, 1, 9, true);
    EXPECT_EQ(Game().GetArrivalMark(1, 1).value, 9);
    EXPECT_TRUE(Game().GetArrivalMark(1, 1).flag);
    Game().SetArrivalMark(-1, 1, 4, true);
    EXPECT_EQ(Game().GetArrivalMark(-1, 1).value, -1);

    Game().AddHexValue(1, 1, 7);
    Game().AddHexValue(1, 1, 5);
    EXPECT_EQ(Game().m_hexValue.At(1, 1), 12);
    Game().AddHexValue(1, 1, INT_MAX);
    EXPECT_EQ(Game().m_hexValue.At(1, 1), INT_MAX) << "the total saturates instead of wrapping";
    Game().AddHexValue(0, 4, 1);
}

TEST_F(HexStateTest, ExitUnitsCountsAtExitHexesOfTheHolder)
{
    struct Case {
        const char* name;
        int value;
        int holder;
        int expected;
    } const cases[] = {
        // Two units exit: strength 3 x value 10 and strength 2 x value 30.
        { "an exit hex of the holder's side", -10, 0, -100 },
        { "an exit hex of the other side", -10, 1, -10 },
        { "an exit hex without holder", -10, -1, -10 },
        { "an ordinary objective", 5, 0, 5 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        AddUnit(5, 0, kInfantry, 3);
        AddUnit(5, 0, kTruck, 1);
        AddUnit(5, 0, kTank, 2);
        Game().m_objectives.At(5, 0) = ObjectiveCell { c.value, c.holder };
        const int positions[] = { 1, 0 };
        ASSERT_TRUE(Game().ExitUnits(5, 0, positions, 2));
        EXPECT_EQ(Game().m_objectives.At(5, 0).value, c.expected);
        ASSERT_EQ(Game().m_stacks.At(5, 0).Count(), 1u);
        EXPECT_EQ(Game().m_stacks.At(5, 0).Head()->value.m_type->m_id, kTruck);
        ASSERT_EQ(Game().m_exited.Count(), 2u);
        EXPECT_EQ(Game().m_exited.Head()->value.m_type->m_id, kInfantry);
        EXPECT_EQ(Game().m_exited.Last()->value.m_type->m_id, kTank);
        EXPECT_TRUE(Game().m_eliminated.IsEmpty());
    }
}

TEST_F(HexStateTest, RemovingExitingAndDiggingInRefuseBadSelections)
{
    AddUnit(1, 3, kInfantry);
    AddUnit(1, 3, kTank);
    const int pastTheStack[] = { 3 };
    const int twice[] = { 1, 1 };
    Game().m_objectives.At(1, 3) = ObjectiveCell { -10, 0 };
    EXPECT_FALSE(Game().RemoveUnits(1, 3, pastTheStack, 1));
    EXPECT_FALSE(Game().ExitUnits(1, 3, twice, 2));
    EXPECT_FALSE(Game().ToggleDigIn(1, 3, pastTheStack, 1));
    EXPECT_FALSE(Game().RemoveUnits(6, 3, twice, 1));
    EXPECT_EQ(Game().m_stacks.At(1, 3).Count(), 2u);
    EXPECT_EQ(Game().m_objectives.At(1, 3).value, -10);
    EXPECT_TRUE(Game().m_exited.IsEmpty());
    EXPECT_EQ(Game().m_stacks.At(1, 3).Head()->value.m_status, 0u);
}

TEST_F(HexStateTest, RemoveUnitsCountsNoLoss)
{
    AddUnit(2, 0, kInfantry, 3);
    AddUnit(2, 0, kTank, 2);
    const int positions[] = { 2 };
    ASSERT_TRUE(Game().RemoveUnits(2, 0, positions, 1));
    ASSERT_EQ(Game().m_stacks.At(2, 0).Count(), 1u);
    EXPECT_EQ(Game().m_stacks.At(2, 0).Head()->value.m_type->m_id, kInfantry);
    for (int loss : Game().m_losses)
        EXPECT_EQ(loss, 0);
    EXPECT_TRUE(Game().m_eliminated.IsEmpty());
    EXPECT_TRUE(Game().m_exited.IsEmpty());
}

TEST_F(HexStateTest, DiggingInTogglesAndCarriedUnitsNeverDig)
{
    AddUnit(4, 1, kTruck, 2, kUnitCarrying);
    AddUnit(4, 1, kInfantry, 3, kUnitCarried | kUnitDiggingIn);
    AddUnit(4, 1, kTank, 2, kUnitDiggingIn);
    const int positions[] = { 1, 2, 0 };
    ASSERT_TRUE(Game().ToggleDigIn(4, 1, positions, 3));
    std::vector<std::uint32_t> status;
    for (const PlacedUnit& unit : Game().m_stacks.At(4, 1))
        status.push_back(unit.m_status);
    EXPECT_EQ(status, (std::vector<std::uint32_t> { kUnitCarrying | kUnitDiggingIn, kUnitCarried, 0u }));
}

TEST_F(HexStateTest, SideInformationIsHiddenOnlyWithHiddenInformationOn)
{
    struct Case {
        bool infoHidden;
        int options;
        bool sideHidden;
        bool expected;
    } const cases[] = {
        { false, 0, true, false },
        { true, 0, true, true },
        { false, kOptionExtremeFogOfWar, true, true },
        { true, kOptionExtremeFogOfWar, false, false },
        { true, 0, false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.infoHidden << " " << c.options << " " << c.sideHidden);
        Game().SetInfoHidden(c.infoHidden);
        Game().m_options = c.options;
        m_game->m_hiddenSides[1] = c.sideHidden;
        EXPECT_EQ(Game().IsSideInfoHidden(1), c.expected);
        EXPECT_FALSE(Game().IsSideInfoHidden(0));
    }
}

TEST_F(HexStateTest, ConcealmentByTerrainSmokeAndFortification)
{
    struct Case {
        const char* name;
        bool hidden;
        int terrain;
        bool smoke;
        int flags;
        std::uint32_t type;
        bool concealed;
    } const cases[] = {
        { "information shown", false, kTerrainForest, true, CGameData::kHexBunker, kInfantry, false },
        { "open ground", true, kTerrainOpen, false, 0, kInfantry, false },
        { "water", true, kTerrainWater, false, 0, kInfantry, false },
        { "shallow water", true, kTerrainShallowWater, false, 0, kInfantry, false },
        { "beach", true, kTerrainBeach, false, 0, kInfantry, false },
        { "forest", true, kTerrainForest, false, 0, kTank, true },
        { "rough", true, kTerrainRough, false, 0, kInfantry, true },
        { "smoke in the open", true, kTerrainOpen, true, 0, kTank, true },
        { "infantry in a bunker", true, kTerrainOpen, false, CGameData::kHexBunker, kInfantry, true },
        { "infantry in a pillbox", true, kTerrainOpen, false, CGameData::kHexPillbox, kInfantry, true },
        { "a vehicle in a fortified hex", true, kTerrainOpen, false, CGameData::kHexPillbox, kTank, false },
        { "a trench is no fortified position", true, kTerrainOpen, false, CGameData::kHexTrench, kInfantry, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Game().SetInfoHidden(true);
        m_game->m_hiddenSides[0] = c.hidden;
        SetTerrain(3, 2, c.terrain);
        Game().SetSmoke(c.smoke ? 1 : -1, 3, 2, true);
        Game().m_hexFlags.At(3, 2) = c.flags | (c.smoke ? CGameData::kHexSmoke : 0);
        PlacedUnit unit(Type(c.type), nullptr);
        EXPECT_EQ(Game().IsUnitConcealed(unit, 3, 2), c.concealed);
    }
    EXPECT_FALSE(Game().IsUnitConcealed(PlacedUnit(), 3, 2)) << "a unit without a type";
}

TEST_F(HexStateTest, HexContentShownBySidesContactAndCaves)
{
    // A unit of side 1 in (0, 0), side 0 in (1, 0); (2, 0) is empty.
    struct Case {
        const char* name;
        int x;
        bool hidden0;
        bool hidden1;
        int flags;
        int contact0;
        int contact1;
        bool shown;
    } const cases[] = {
        { "nothing hidden", 2, false, false, 0, 0, 0, true },
        { "side 0 hidden, empty hex", 2, true, false, 0, 0, 0, false },
        { "side 1 hidden, empty hex", 2, false, true, 0, 0, 0, false },
        { "an unrevealed cave with side 1 hidden", 1, false, true, CGameData::kHexCave, 2, 2, false },
        { "a revealed cave", 1, false, true, CGameData::kHexCave | CGameData::kHexCaveRevealed, 0, 0, true },
        { "an unrevealed cave with side 0 hidden", 1, true, false, CGameData::kHexCave, 0, 0, false },
        { "the occupant's enemy has contact", 0, true, true, 0, 1, 0, true },
        { "a shown occupant", 0, true, false, 0, 0, 0, true },
        { "a hidden occupant", 0, false, true, 0, 0, 0, false },
        { "side 0 shown with contact", 2, false, true, 0, 2, 0, true },
        { "side 1 hidden with contact", 2, true, true, 0, 0, 2, false },
        { "own contact only, hidden occupant", 0, true, true, 0, 0, 1, false },
    };
    AddUnit(0, 0, kEnemyInfantry);
    AddUnit(1, 0, kInfantry);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_game->m_hiddenSides[0] = c.hidden0;
        m_game->m_hiddenSides[1] = c.hidden1;
        Game().m_hexFlags.At(c.x, 0) = c.flags;
        Game().m_contact[0].At(c.x, 0) = ContactCell { c.contact0, c.contact0 ? 1 : -1 };
        Game().m_contact[1].At(c.x, 0) = ContactCell { c.contact1, c.contact1 ? 1 : -1 };
        EXPECT_EQ(Game().IsHexContentShown(c.x, 0), c.shown);
    }
}

TEST_F(HexStateTest, UnitClassesAndCappedCounters)
{
    EXPECT_EQ(CGameData::GetUnitClass(Type(kTank)), 0);
    EXPECT_EQ(CGameData::GetUnitClass(Type(kTruck)), 1);
    EXPECT_EQ(CGameData::GetUnitClass(Type(kInfantry)), 2);
    EXPECT_EQ(CGameData::GetUnitClass(nullptr), 2);
    PlatoonType* tagged = Type(kEnemyInfantry);
    tagged->m_targetFlags = 0x4;
    EXPECT_EQ(CGameData::GetUnitClass(tagged), 1);

    Game().m_unitLimits[0][0][1] = 1; // side 0, hard targets, index 1
    Game().m_unitLimits[0][2][2] = 2; // side 0, other soft targets, index 2
    Game().m_unitLimits[1][2][2] = 0;
    PlacedUnit tank(Type(kTank), nullptr);
    PlacedUnit infantry(Type(kInfantry), nullptr);
    infantry.m_counters[0] = 2;
    EXPECT_EQ(Game().GetCappedUnitValue(tank, 0), 3);
    EXPECT_EQ(Game().GetCappedUnitValue(tank, 1), 1);
    EXPECT_EQ(Game().GetCappedUnitValue(infantry, 0), 2) << "a counter under its limit stays";
    EXPECT_EQ(Game().GetCappedUnitValue(infantry, 2), 2);
    EXPECT_EQ(Game().GetCappedUnitValue(infantry, 3), 0);
    EXPECT_EQ(Game().GetCappedUnitValue(infantry, -1), 0);
}

// The clock seen by time-seeded generators: fixed, or one second later at
// every reading.
std::int64_t g_fakeTime = 0;
bool g_fakeTimeRuns = false;
std::int64_t FakeTime() { return g_fakeTimeRuns ? g_fakeTime++ : g_fakeTime; }

class FakeClock {
public:
    FakeClock(std::int64_t start, bool runs)
    {
        g_fakeTime = start;
        g_fakeTimeRuns = runs;
        SetTimeSource(FakeTime);
    }
    ~FakeClock() { SetTimeSource(nullptr); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;
};

TEST_F(HexStateTest, RandomAircraftPicksAreKeptPerSide)
{
    FakeClock clock(1000, true);
    auto& pool = Game().m_aircraftPool;
    EXPECT_EQ(Game().TakeRandomAircraft(0, false), nullptr) << "an empty pool";
    pool.Append(Type(kFighter));
    pool.Append(Type(kEnemyFighter));
    pool.Append(Type(kBomber));

    const PlatoonType* pick = Game().TakeRandomAircraft(0, false);
    ASSERT_NE(pick, nullptr);
    EXPECT_EQ(pick->GetSide(), 0);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Game().TakeRandomAircraft(0, false), pick) << "the pending pick stays";
    EXPECT_EQ(Game().TakeRandomAircraft(1, false), Type(kEnemyFighter)) << "a side never gets the other's pick";
    EXPECT_EQ(Game().TakeRandomAircraft(0, false), pick);
    EXPECT_EQ(Game().TakeRandomAircraft(2, false), nullptr);

    EXPECT_EQ(Game().TakeRandomAircraft(0, true), pick);
    EXPECT_EQ(pool.Count(), 2u);
    for (const PlatoonType* entry : pool)
        EXPECT_NE(entry, pick) << "the taken entry left the pool";
    const PlatoonType* other = Game().TakeRandomAircraft(0, true);
    EXPECT_NE(other, nullptr);
    EXPECT_NE(other, pick);
    EXPECT_EQ(Game().TakeRandomAircraft(0, true), nullptr) << "no side-0 aircraft left";
    EXPECT_EQ(Game().TakeRandomAircraft(1, true), Type(kEnemyFighter));
    EXPECT_TRUE(pool.IsEmpty());
}

TEST_F(HexStateTest, RandomAircraftPickIsUniformAndForgetsVanishedEntries)
{
    FakeClock clock(5000, true);
    auto& pool = Game().m_aircraftPool;
    pool.Append(Type(kFighter));
    pool.Append(Type(kEnemyFighter));
    pool.Append(Type(kBomber));
    pool.Append(Type(kFighter));
    std::map<std::uint32_t, int> counts;
    for (int i = 0; i < 3000; ++i) {
        ++counts[Game().TakeRandomAircraft(0, false)->m_id];
        Game().ClearAircraftPicks();
    }
    // Three side-0 entries: the fighter twice, the bomber once.
    EXPECT_EQ(counts.count(kEnemyFighter), 0u);
    EXPECT_NEAR(counts[kFighter], 2000, 150);
    EXPECT_NEAR(counts[kBomber], 1000, 150);

    // A pick whose entries all left the pool is not returned.
    const PlatoonType* pick = Game().TakeRandomAircraft(0, false);
    for (auto* node = pool.Head(); node;)
        node = node->value == pick ? pool.Remove(node) : node->next;
    const PlatoonType* next = Game().TakeRandomAircraft(0, false);
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next, pick);
}

TEST_F(HexStateTest, RandomAircraftPickLeavesTheRuleDrawsAlone)
{
    auto& pool = Game().m_aircraftPool;
    pool.Append(Type(kFighter));
    pool.Append(Type(kEnemyFighter));
    pool.Append(Type(kBomber));
    pool.Append(Type(kFighter));
    // The side-0 entry a generator seeded with the time picks: the k-th
    // candidate replaces the choice when its draw is below 1 / k.
    auto predict = [&](std::uint32_t seed) {
        CRandomGenerator generator(seed);
        const PlatoonType* chosen = nullptr;
        int k = 0;
        for (const PlatoonType* type : pool)
            if (type->GetSide() == 0 && generator.Next() < 1.0 / ++k)
                chosen = type;
        return chosen;
    };
    std::int64_t time = 1;
    while (predict(static_cast<std::uint32_t>(time)) != Type(kBomber))
        ++time;
    FakeClock clock(time, false);

    SetRandomSeed(4242);
    EXPECT_EQ(Game().TakeRandomAircraft(0, false), Type(kBomber));
    EXPECT_EQ(Game().TakeRandomAircraft(0, true), Type(kBomber));
    EXPECT_EQ(GlobalRandomGenerator().State(), 4242u) << "no draw from the rules' shared generator";
}

TEST_F(HexStateTest, UnitNationsKeepTheTwoLowestPerSide)
{
    struct Case {
        int nation;
        int first;
        int second;
    } const cases[] = {
        // Side 0 nations: 9, 7, 10, 0; side 1 nation 2 leaves side 0 alone.
        { 9, 9, -1 },
        { 7, 7, 9 },
        { 7, 7, 9 },
        { 10, 7, 9 },
        { 8, 7, 8 },
        { 2, 7, 8 },
        { 0, 0, 7 },
    };
    for (const Case& c : cases) {
        const PlatoonType* type
            = Game().m_platoonTypes.Append(MakeType(static_cast<std::uint32_t>(c.nation * 1000 + 101), 0, 0));
        Game().NoteUnitNation(PlacedUnit(type, nullptr));
        EXPECT_EQ(Game().m_sideNations[0][0], c.first) << c.nation;
        EXPECT_EQ(Game().m_sideNations[0][1], c.second) << c.nation;
    }
    EXPECT_EQ(Game().m_sideNations[1][0], 2);
    Game().NoteUnitNation(PlacedUnit());
    EXPECT_EQ(Game().m_sideNations[1][1], -1);
}

TEST_F(HexStateTest, ClockTextFollowsTheThreePhaseOption)
{
    String text;
    Game().GetClockText(text);
    EXPECT_EQ(text.str(), std::string(SideName(0)) + " Turn");
    Game().m_options = kOptionThreePhase;
    Game().m_map.SetPhase(1);
    Game().GetClockText(text);
    EXPECT_EQ(text.str(), std::string(SideName(0)) + " Defensive Fire Phase");
}

} // namespace
