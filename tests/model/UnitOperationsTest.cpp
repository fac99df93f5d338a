#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/GameHexMarks.h"
#include "model/Random.h"
#include "tests/HeadlessFrame.h"
#include "tests/model/SampleBattle.h"

namespace {

// Platoon types of these tests. Nation 0 fights on side 0, nation 1 on side 1.
constexpr std::uint32_t kRifle = 101; // armed foot unit that can be carried
constexpr std::uint32_t kTruck = 121; // carrier
constexpr std::uint32_t kHalftrack = 131; // carrier that carries anything
constexpr std::uint32_t kSpotter = 141; // dropped units of this type are unavailable, not low on ammunition
constexpr std::uint32_t kJeep = 151; // can be carried, and tows
constexpr std::uint32_t kTank = 201; // armed vehicle, neither carries nor is carried
constexpr std::uint32_t kGun = 311; // artillery without movement of its own, carried
constexpr std::uint32_t kLeader = 401;
constexpr std::uint32_t kEnemy = 1101;

// A seed whose first draw of the global generator lies in [low, high).
std::uint32_t SeedWithFirstDraw(double low, double high)
{
    for (std::uint32_t seed = 1;; ++seed) {
        CRandomGenerator generator(seed);
        const double u = generator.Next();
        if (u >= low && u < high)
            return seed;
    }
}

class UnitOperationsTest : public SampleBattleTest {
protected:
    void SetUp() override
    {
        Build({ MakeType(kRifle, 6, kMoveFoot, 0x2), MakeType(kTruck, 12, 0, kCarryPassengers),
                  MakeType(kHalftrack, 10, 0, kCarryPassengers, 0, kExtraCarriesPassengers),
                  MakeType(kSpotter, 6, kMoveFoot, 0x2, 0x8), MakeType(kJeep, 12, 0, 0x2 | kCarryTows),
                  MakeType(kTank, 10, 0, 0, kTargetHard), MakeType(kGun, 0, 0, kPassengerHeavyGun),
                  MakeType(kLeader, 6, kMoveFoot), MakeType(kEnemy, 6, kMoveFoot, 0x2) },
            { kRifle, kTank, kEnemy }, true);
    }

    using SampleBattleTest::Tags;

    static std::vector<int> Tags(const std::vector<UnitNode*>& nodes)
    {
        std::vector<int> tags;
        for (const UnitNode* node : nodes)
            tags.push_back(node->value.m_value);
        return tags;
    }

    int Loss(std::uint32_t id) const
    {
        return m_game->m_losses[static_cast<std::size_t>(m_game->m_platoonTypes.IndexOf(Type(id)))];
    }

    void SetTerrainEverywhere(int terrain)
    {
        for (int c = 0; c < 5; ++c)
            for (int r = 0; r < 4; ++r)
                m_game->m_map.GetHex(c, r).terrain = terrain;
    }
};

TEST_F(UnitOperationsTest, ClassifySortsTheListedUnitsForLoading)
{
    struct Member {
        std::uint32_t id;
        std::uint32_t status;
    };
    struct Case {
        const char* name;
        std::vector<Member> stack; // tags 1, 2, ... from the top
        std::vector<int> positions;
        std::vector<int> unload, passengers, carriers, spare;
        int unloadStrength, passengerStrength;
    } const cases[] = {
        { "three passengers and two carriers",
            { { kRifle, 0 }, { kRifle, 0 }, { kRifle, 0 }, { kTruck, 0 }, { kTruck, 0 } }, { 1, 2, 3, 4, 5 }, {},
            { 1, 2, 3 }, { 4, 5 }, {}, 0, 9 },
        { "a carried unit is to unload", { { kTruck, kUnitCarrying }, { kRifle, kUnitCarried }, { kRifle, 0 } },
            { 2, 3 }, { 2 }, { 3 }, {}, {}, 3, 3 },
        { "a loaded carrier is neither carrier nor passenger",
            { { kTruck, kUnitCarrying }, { kRifle, kUnitCarried }, { kTruck, 0 }, { kTank, 0 } }, { 1, 3, 4 }, {},
            { 4 }, { 3 }, { 1 }, 0, 0 },
        { "spare units ride with idle carriers, last first",
            { { kTruck, 0 }, { kTruck, 0 }, { kTank, 0 }, { kLeader, 0 } }, { 1, 2, 3, 4 }, {}, { 4, 3 }, { 1, 2 }, {},
            0, 0 },
        { "a carrier that carries anything lets another ride", { { kHalftrack, 0 }, { kTruck, 0 } }, { 1, 2 }, {},
            { 2 }, { 1 }, {}, 0, 3 },
        { "the last carrier takes the place of the one that rides", { { kTruck, 0 }, { kHalftrack, 0 }, { kTruck, 0 } },
            { 1, 2, 3 }, {}, { 1, 3 }, { 2 }, {}, 0, 6 },
        { "carriers of one kind stay carriers", { { kTruck, 0 }, { kTruck, 0 } }, { 1, 2 }, {}, {}, { 1, 2 }, {}, 0,
            0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        int tag = 1;
        for (const Member& member : c.stack)
            Add(0, 0, member.id, tag++, 3, member.status);
        CGameData::LoadUnloadLists lists;
        ASSERT_TRUE(Game().ClassifyLoadUnload(0, 0, c.positions.data(), static_cast<int>(c.positions.size()), lists));
        EXPECT_EQ(Tags(lists.unload), c.unload);
        EXPECT_EQ(Tags(lists.passengers), c.passengers);
        EXPECT_EQ(Tags(lists.carriers), c.carriers);
        EXPECT_EQ(Tags(lists.spare), c.spare);
        EXPECT_EQ(lists.unloadStrength, c.unloadStrength);
        EXPECT_EQ(lists.passengerStrength, c.passengerStrength);
    }
    CGameData::LoadUnloadLists lists;
    const int twice[] = { 1, 1 };
    EXPECT_FALSE(Game().ClassifyLoadUnload(0, 0, twice, 2, lists));
    EXPECT_TRUE(lists.carriers.empty());
}

TEST_F(UnitOperationsTest, LoadingPutsEachPassengerDirectlyBelowItsCarrier)
{
    Add(0, 0, kRifle, 1, 3, kUnitDiggingIn | kUnitInAssault | kUnitMoved, HexSide::North, HexSide::SouthWest);
    Add(0, 0, kTruck, 2, 3, 0, HexSide::NorthEast, HexSide::North);
    Add(0, 0, kGun, 3, 2, 0, HexSide::South, HexSide::SouthEast);
    Add(0, 0, kTruck, 4, 3, 0, HexSide::North, HexSide::NorthWest);
    Add(0, 0, kRifle, 5);
    Add(0, 0, kRifle, 6);
    const int positions[] = { 1, 3, 6, 2, 4 };
    CGameData::LoadUnloadLists lists;
    ASSERT_TRUE(Game().ClassifyLoadUnload(0, 0, positions, 5, lists));
    ASSERT_TRUE(Game().ApplyLoadUnload(0, 0, lists));

    EXPECT_EQ(Tags(0, 0), (std::vector<int> { 2, 1, 4, 3, 5, 6 })) << "two boarded, the third passenger stays";
    EXPECT_EQ(Unit(0, 0, 2).m_status, kUnitCarried | kUnitMoved) << "boarding ends digging in and the assault";
    EXPECT_EQ(Unit(0, 0, 1).m_status, kUnitCarrying);
    EXPECT_EQ(Unit(0, 0, 3).m_status, kUnitCarrying);
    EXPECT_EQ(Unit(0, 0, 6).m_status, 0u);
    EXPECT_EQ(Unit(0, 0, 1).m_secondFacing, HexSide::North) << "a carrier of a moving passenger keeps its side";
    EXPECT_EQ(Unit(0, 0, 3).m_secondFacing, HexSide::SouthEast) << "a towed gun lends its carrier its side";
    EXPECT_EQ(Tags(lists.passengers), (std::vector<int> { 1, 3, 6 }));
    EXPECT_EQ(lists.passengers[0], Game().GetStackNode(0, 0, 2)) << "entries name the boarded nodes";
    EXPECT_EQ(lists.passengers[1], Game().GetStackNode(0, 0, 4));
}

TEST_F(UnitOperationsTest, UnloadingPutsThePassengerOnTopFacingAsItsCarrier)
{
    Add(0, 0, kTank, 1, 3, 0, HexSide::North, HexSide::North);
    Add(0, 0, kTruck, 2, 3, kUnitCarrying, HexSide::SouthEast, HexSide::NorthEast);
    Add(0, 0, kRifle, 3, 3, kUnitCarried | kUnitMoved, HexSide::North, HexSide::South);
    const int positions[] = { 3 };
    CGameData::LoadUnloadLists lists;
    ASSERT_TRUE(Game().ClassifyLoadUnload(0, 0, positions, 1, lists));
    ASSERT_TRUE(Game().ApplyLoadUnload(0, 0, lists));

    EXPECT_EQ(Tags(0, 0), (std::vector<int> { 3, 1, 2 }));
    const PlacedUnit& passenger = Unit(0, 0, 1);
    EXPECT_EQ(passenger.m_status, kUnitMoved);
    EXPECT_EQ(passenger.m_facing, HexSide::SouthEast);
    EXPECT_EQ(passenger.m_secondFacing, HexSide::NorthEast) << "it takes over its carrier's second side";
    const PlacedUnit& carrier = Unit(0, 0, 3);
    EXPECT_EQ(carrier.m_status, 0u) << "the carrier is no longer loaded";
    EXPECT_EQ(carrier.m_secondFacing, HexSide::NorthWest) << "the carrier covers the side behind it";
    EXPECT_EQ(lists.unload[0], Game().GetStackNode(0, 0, 1));
}

TEST_F(UnitOperationsTest, UnloadingTreatsOnlyALoadedUnitAboveAsTheCarrier)
{
    // The top unit's list neighbour "above" is the bottom unit; it is no carrier.
    Add(0, 0, kRifle, 1, 3, kUnitCarried, HexSide::South, HexSide::SouthWest);
    Add(0, 0, kTank, 2, 3, 0, HexSide::North, HexSide::North);
    Add(0, 0, kTruck, 3, 3, kUnitCarrying, HexSide::NorthEast, HexSide::NorthWest);
    // An unloaded unit above a carried one is no carrier either.
    Add(1, 1, kTank, 1, 3, 0, HexSide::North, HexSide::North);
    Add(1, 1, kRifle, 2, 3, kUnitCarried, HexSide::South, HexSide::SouthEast);

    for (HexPos hex : { HexPos { 0, 0 }, HexPos { 1, 1 } }) {
        SCOPED_TRACE(hex.column);
        const int carried[] = { hex.column == 0 ? 1 : 2 };
        CGameData::LoadUnloadLists lists;
        ASSERT_TRUE(Game().ClassifyLoadUnload(hex.column, hex.row, carried, 1, lists));
        ASSERT_TRUE(Game().ApplyLoadUnload(hex.column, hex.row, lists));
        const PlacedUnit& unloaded = Unit(hex.column, hex.row, 1);
        EXPECT_EQ(unloaded.m_status, 0u);
        EXPECT_EQ(unloaded.m_facing, HexSide::South) << "no carrier: its own facing";
    }
    EXPECT_EQ(Unit(0, 0, 3).m_status, kUnitCarrying) << "the bottom unit keeps its passenger state";
    EXPECT_EQ(Unit(0, 0, 3).m_secondFacing, HexSide::NorthWest);
    EXPECT_EQ(Unit(1, 1, 2).m_secondFacing, HexSide::North);
}

TEST_F(UnitOperationsTest, UnloadingARiderThatCarriesARiderOfItsOwn)
{
    // A truck (1) carrying a jeep (2) that tows a gun (3), as a battle file
    // stacks a carriable carrier: the jeep is both carried and loaded.
    constexpr std::uint32_t kFree = 0;
    struct Case {
        const char* name;
        std::vector<int> positions;
        std::vector<int> tags; // top first, after unloading
        std::vector<std::uint32_t> statuses;
        std::vector<HexSide> facings;
        std::vector<HexSide> seconds;
    } const cases[] = {
        { "the gun leaves the jeep, then the jeep the truck", { 2, 3 }, { 2, 3, 1 }, { kFree, kFree, kFree },
            { HexSide::North, HexSide::SouthEast, HexSide::North },
            { HexSide::NorthEast, HexSide::South, HexSide::NorthWest } },
        { "the jeep leaves with its gun, then the gun leaves the jeep", { 3, 2 }, { 3, 2, 1 }, { kFree, kFree, kFree },
            { HexSide::North, HexSide::North, HexSide::North },
            { HexSide::NorthEast, HexSide::SouthWest, HexSide::SouthEast } },
        { "the jeep leaves towing its gun", { 2 }, { 2, 3, 1 }, { kUnitCarrying, kUnitCarried, kFree },
            { HexSide::North, HexSide::SouthWest, HexSide::North },
            { HexSide::NorthEast, HexSide::NorthWest, HexSide::South } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Add(0, 0, kTruck, 1, 3, kUnitCarrying, HexSide::North, HexSide::NorthEast);
        Add(0, 0, kJeep, 2, 3, kUnitCarried | kUnitCarrying, HexSide::SouthEast, HexSide::South);
        Add(0, 0, kGun, 3, 2, kUnitCarried, HexSide::SouthWest, HexSide::NorthWest);
        CGameData::LoadUnloadLists lists;
        const int count = static_cast<int>(c.positions.size());
        ASSERT_TRUE(Game().ClassifyLoadUnload(0, 0, c.positions.data(), count, lists));
        ASSERT_EQ(Tags(lists.unload), c.positions);
        ASSERT_TRUE(Game().ApplyLoadUnload(0, 0, lists));

        EXPECT_EQ(Tags(0, 0), c.tags);
        std::vector<std::uint32_t> statuses;
        std::vector<HexSide> facings;
        std::vector<HexSide> seconds;
        for (const PlacedUnit& unit : Game().m_stacks.At(0, 0)) {
            statuses.push_back(unit.m_status);
            facings.push_back(unit.m_facing);
            seconds.push_back(unit.m_secondFacing);
        }
        EXPECT_EQ(statuses, c.statuses);
        EXPECT_EQ(facings, c.facings);
        EXPECT_EQ(seconds, c.seconds);
        for (int i = 0; i < count; ++i) {
            const int position = Game().GetStackPosition(0, 0, lists.unload[static_cast<std::size_t>(i)]);
            ASSERT_NE(position, 0) << "entries name live nodes";
            EXPECT_EQ(Unit(0, 0, position).m_value, c.positions[static_cast<std::size_t>(i)]);
        }
    }
}

TEST_F(UnitOperationsTest, ApplyRefusesListsThatWouldBreakTheStack)
{
    Add(0, 0, kRifle, 1);
    Add(0, 0, kTruck, 2);
    Add(0, 0, kTruck, 3, 3, kUnitCarrying);
    Add(0, 0, kRifle, 4, 3, kUnitCarried);
    Add(1, 1, kRifle, 9);
    auto node = [this](int x, int y, int position) { return Game().GetStackNode(x, y, position); };
    struct Case {
        const char* name;
        CGameData::LoadUnloadLists lists;
    } const cases[] = {
        { "a passenger of another hex", { {}, 0, { node(1, 1, 1) }, 0, { node(0, 0, 2) }, {} } },
        { "one unit in two lists", { {}, 0, { node(0, 0, 1) }, 0, { node(0, 0, 1) }, {} } },
        { "a carrier already loaded", { {}, 0, { node(0, 0, 1) }, 0, { node(0, 0, 3) }, {} } },
        { "a passenger already carried", { {}, 0, { node(0, 0, 4) }, 0, { node(0, 0, 2) }, {} } },
        { "a unit to unload that is not carried", { { node(0, 0, 1) }, 3, {}, 0, {}, {} } },
        { "no node", { { nullptr }, 0, {}, 0, {}, {} } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CGameData::LoadUnloadLists lists = c.lists;
        EXPECT_FALSE(Game().ApplyLoadUnload(0, 0, lists));
        EXPECT_EQ(Tags(0, 0), (std::vector<int> { 1, 2, 3, 4 }));
        EXPECT_EQ(Unit(0, 0, 2).m_status, 0u);
        EXPECT_EQ(Unit(0, 0, 4).m_status, kUnitCarried);
    }
}

TEST_F(UnitOperationsTest, EliminationsAndStrengthLossesCountInTheLossTable)
{
    Add(0, 0, kRifle, 1, 3);
    Add(0, 0, kTank, 2, 4);
    Add(1, 1, kRifle, 3, 2);
    ASSERT_TRUE(Game().EliminateUnit(0, 0, Game().GetStackNode(0, 0, 1)));
    ASSERT_TRUE(Game().EliminateUnit(1, 1, Game().GetStackNode(1, 1, 0)));
    EXPECT_FALSE(Game().EliminateUnit(1, 1, Game().GetStackNode(0, 0, 1))) << "a unit of another hex";
    EXPECT_EQ(Tags(0, 0), (std::vector<int> { 2 }));
    EXPECT_TRUE(Game().m_stacks.At(1, 1).IsEmpty());
    EXPECT_EQ(Loss(kRifle), 5);
    EXPECT_EQ(Loss(kTank), 0);
    std::vector<int> eliminated;
    for (const PlacedUnit& unit : Game().m_eliminated)
        eliminated.push_back(unit.m_value);
    EXPECT_EQ(eliminated, (std::vector<int> { 1, 3 }));

    struct Case {
        int strength;
        int n;
        int after;
        int lost;
    } const cases[] = { { 3, 2, 1, 2 }, { 3, 10, 1, 2 }, { 5, 0, 5, 0 }, { 4, -3, 4, 0 }, { 1, 1, 1, 0 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.strength << " less " << c.n);
        const int before = Loss(kTank);
        PlacedUnit unit = MakeUnit(Type(kTank), 1, c.strength, 0);
        Game().ApplyStrengthLoss(unit, c.n);
        EXPECT_EQ(unit.m_strength, c.after);
        EXPECT_EQ(Loss(kTank) - before, c.lost);
    }
}

// Where a hex breaks the carrier rule: a carried unit without a carrier
// right above it, or a loaded carrier without a rider right below it.
std::string CarrierRuleBreach(const UnitList& stack)
{
    for (const UnitNode* node = stack.Head(); node; node = node->next) {
        const PlacedUnit& unit = node->value;
        if ((unit.m_status & kUnitCarried) != 0) {
            const UnitNode* above = node != stack.Head() ? node->prev : nullptr;
            if (!above || (above->value.m_status & kUnitCarrying) == 0 || !above->value.m_type->CanCarryPassengers())
                return "unit " + std::to_string(unit.m_value) + " rides without a carrier";
        }
        if ((unit.m_status & kUnitCarrying) != 0 && (!node->next || (node->next->value.m_status & kUnitCarried) == 0))
            return "unit " + std::to_string(unit.m_value) + " is loaded but carries nothing";
    }
    return "";
}

TEST_F(UnitOperationsTest, StackOperationsKeepRidersWithTheirCarriers)
{
    enum class Op { Move, ToTop, ToBottom, Exit, Remove, Eliminate };
    struct Case {
        const char* name;
        Op op;
        std::vector<int> positions; // Eliminate: one position
        bool done;
        std::vector<int> source; // tags of the hex afterwards
        std::vector<int> out; // moved to (2, 1), exited or eliminated
        std::vector<int> newPositions; // Move only
    } const cases[] = {
        { "a carrier moves with its rider", Op::Move, { 2 }, true, { 1, 4, 5, 6, 7 }, { 2, 3 }, { 1 } },
        { "a rider's rider comes along too", Op::Move, { 4 }, true, { 1, 2, 3, 7 }, { 4, 5, 6 }, { 1 } },
        { "a rider named first goes with its carrier", Op::Move, { 3, 2 }, true, { 1, 4, 5, 6, 7 }, { 2, 3 },
            { 2, 1 } },
        { "each listed unit learns its new place", Op::Move, { 6, 4, 1 }, true, { 2, 3, 7 }, { 4, 5, 6, 1 },
            { 3, 1, 4 } },
        { "a rider cannot move alone", Op::Move, { 3 }, false, {}, {}, {} },
        { "nor a rider that carries", Op::Move, { 5 }, false, {}, {}, {} },
        { "nor a rider's rider with a unit other than its carrier", Op::Move, { 6, 2 }, false, {}, {}, {} },
        { "a carrier to the top", Op::ToTop, { 4 }, true, { 4, 5, 6, 1, 2, 3, 7 }, {}, {} },
        { "a rider to the top", Op::ToTop, { 3 }, false, {}, {}, {} },
        { "a carrier to the bottom", Op::ToBottom, { 2 }, true, { 1, 4, 5, 6, 7, 2, 3 }, {}, {} },
        { "a rider to the bottom", Op::ToBottom, { 5 }, false, {}, {}, {} },
        { "a carrier exits with its rider", Op::Exit, { 2 }, true, { 1, 4, 5, 6, 7 }, { 2, 3 }, {} },
        { "a rider cannot exit alone", Op::Exit, { 6 }, false, {}, {}, {} },
        { "a carrier is removed with its riders", Op::Remove, { 4 }, true, { 1, 2, 3, 7 }, {}, {} },
        { "a rider cannot be removed alone", Op::Remove, { 3 }, false, {}, {}, {} },
        { "an eliminated carrier takes its rider", Op::Eliminate, { 2 }, true, { 1, 4, 5, 6, 7 }, { 2, 3 }, {} },
        { "a rider is eliminated alone", Op::Eliminate, { 3 }, true, { 1, 2, 4, 5, 6, 7 }, { 3 }, {} },
        { "a rider that carries takes its own rider", Op::Eliminate, { 5 }, true, { 1, 2, 3, 4, 7 }, { 5, 6 }, {} },
        { "a rider's rider is eliminated alone", Op::Eliminate, { 6 }, true, { 1, 2, 3, 4, 5, 7 }, { 6 }, {} },
    };
    const std::vector<int> all { 1, 2, 3, 4, 5, 6, 7 };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        // A tank; a truck with a rifle; a half-track carrying a jeep that
        // tows a gun; a rifle.
        Add(2, 2, kTank, 1);
        Add(2, 2, kTruck, 2, 3, kUnitCarrying);
        Add(2, 2, kRifle, 3, 3, kUnitCarried);
        Add(2, 2, kHalftrack, 4, 3, kUnitCarrying);
        Add(2, 2, kJeep, 5, 3, kUnitCarried | kUnitCarrying);
        Add(2, 2, kGun, 6, 3, kUnitCarried);
        Add(2, 2, kRifle, 7);
        ASSERT_EQ(CarrierRuleBreach(Game().m_stacks.At(2, 2)), "");

        std::vector<int> positions = c.positions;
        const int count = static_cast<int>(positions.size());
        bool done = false;
        std::vector<int> out;
        auto tagsOf = [](const UnitList& list) {
            std::vector<int> tags;
            for (const PlacedUnit& unit : list)
                tags.push_back(unit.m_value);
            return tags;
        };
        switch (c.op) {
        case Op::Move:
            done = Game().MoveUnitsBetweenHexes(2, 2, 2, 1, positions.data(), count);
            out = Tags(2, 1);
            break;
        case Op::ToTop:
            done = Game().MoveUnitsToTop(2, 2, positions.data(), count);
            break;
        case Op::ToBottom:
            done = Game().MoveUnitsToBottom(2, 2, positions.data(), count);
            break;
        case Op::Exit:
            done = Game().ExitUnits(2, 2, positions.data(), count);
            out = tagsOf(Game().m_exited);
            break;
        case Op::Remove:
            done = Game().RemoveUnits(2, 2, positions.data(), count);
            break;
        case Op::Eliminate:
            done = Game().EliminateUnit(2, 2, Game().GetStackNode(2, 2, positions.front()));
            out = tagsOf(Game().m_eliminated);
            break;
        }
        EXPECT_EQ(done, c.done);
        EXPECT_EQ(Tags(2, 2), c.done ? c.source : all);
        EXPECT_EQ(out, c.out);
        EXPECT_EQ(CarrierRuleBreach(Game().m_stacks.At(2, 2)), "");
        EXPECT_EQ(CarrierRuleBreach(Game().m_stacks.At(2, 1)), "");
        if (c.op == Op::Move) {
            EXPECT_EQ(positions, c.done ? c.newPositions : c.positions);
            if (c.done) {
                ASSERT_TRUE(Game().m_lastMove.has_value());
                EXPECT_EQ(Game().m_lastMove->m_count, static_cast<int>(c.out.size())) << "riders are part of the move";
                std::vector<int> recorded;
                for (const PlacedUnit& unit : Game().m_lastMove->m_units)
                    recorded.push_back(unit.m_value);
                EXPECT_EQ(recorded, c.out);
            } else {
                EXPECT_FALSE(Game().m_lastMove.has_value());
            }
        }
    }
}

TEST_F(UnitOperationsTest, TallyCountsUnitsOnAndOffTheMap)
{
    Add(0, 0, kRifle, 1, 3, kUnitDisrupted);
    Add(0, 0, kTank, 2);
    Add(4, 3, kRifle, 3);
    Game().m_offMapUnits.Append(OffMapUnit { MakeUnit(Type(kRifle), 4, 3, kUnitDisrupted), 0, 0 });
    Add(4, 3, kRifle, 5);
    Game().m_stacks.At(4, 3).Last()->value.m_type = nullptr;
    std::vector<int> counts { 7 };
    std::vector<int> reduced;
    Game().TallyUnitsByType(counts, reduced);
    ASSERT_EQ(counts.size(), static_cast<std::size_t>(Game().m_platoonTypes.Count()));
    auto at = [&](const std::vector<int>& values, std::uint32_t id) {
        return values[static_cast<std::size_t>(Game().m_platoonTypes.IndexOf(Type(id)))];
    };
    EXPECT_EQ(at(counts, kRifle), 3);
    EXPECT_EQ(at(reduced, kRifle), 2);
    EXPECT_EQ(at(counts, kTank), 1);
    EXPECT_EQ(at(reduced, kTank), 0);
    EXPECT_EQ(at(counts, kTruck), 0);
}

TEST_F(UnitOperationsTest, CycleSendsTheTopUnitDownWithItsPassenger)
{
    struct Member {
        std::uint32_t id;
        std::uint32_t status;
    };
    struct Case {
        const char* name;
        std::vector<Member> stack;
        std::vector<int> after;
    } const cases[] = {
        { "the top goes to the bottom", { { kRifle, 0 }, { kTank, 0 }, { kRifle, 0 } }, { 2, 3, 1 } },
        { "a carrier takes its passenger along", { { kTruck, kUnitCarrying }, { kRifle, kUnitCarried }, { kTank, 0 } },
            { 3, 1, 2 } },
        { "a carrier coming up stays with its passenger",
            { { kTank, 0 }, { kTruck, kUnitCarrying }, { kRifle, kUnitCarried } }, { 2, 3, 1 } },
        { "a carried carrier takes its own rider along",
            { { kTruck, kUnitCarrying }, { kJeep, kUnitCarried | kUnitCarrying }, { kGun, kUnitCarried },
                { kTank, 0 } },
            { 4, 1, 2, 3 } },
        { "riders alone go round once", { { kRifle, kUnitCarried }, { kRifle, kUnitCarried } }, { 1, 2 } },
        { "one unit stays", { { kRifle, 0 } }, { 1 } },
        { "an empty hex stays empty", {}, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        int tag = 1;
        for (const Member& member : c.stack)
            Add(2, 2, member.id, tag++, 3, member.status);
        Game().CycleStack(2, 2);
        EXPECT_EQ(Tags(2, 2), c.after);
    }
    Game().CycleStack(-1, 7); // off the map: nothing to do
}

TEST_F(UnitOperationsTest, ContactAndOrganisationPresence)
{
    Add(0, 0, kRifle, 1);
    struct Case {
        int side;
        int kind;
        bool contacted;
    } const cases[] = { { 1, 2, true }, { 1, 1, false }, { 0, 2, false } };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "side " << c.side << " kind " << c.kind);
        Game().m_contact[0].Fill(ContactCell());
        Game().m_contact[1].Fill(ContactCell());
        Game().m_contact[c.side].At(0, 0).kind = c.kind;
        Game().m_contact[c.side].At(1, 0).kind = c.kind;
        EXPECT_EQ(Game().IsOccupiedHexContacted(0, 0), c.contacted);
        EXPECT_FALSE(Game().IsOccupiedHexContacted(1, 0)) << "an empty hex";
    }

    OrgTree& tree = Game().m_orgTree;
    ASSERT_NE(tree.FindNode(104), nullptr);
    tree.FindNode(201)->m_mark = 1;
    Game().m_stacks.At(0, 0).Head()->value.m_node = tree.FindNode(104);
    Game().RefreshOrgPresence();
    for (int id : { 104, 102, 101 })
        EXPECT_EQ(tree.FindNode(id)->m_mark, 1) << id;
    for (int id : { 105, 106, 107, 201 })
        EXPECT_EQ(tree.FindNode(id)->m_mark, 0) << id;
}

TEST_F(UnitOperationsTest, EntryPlacementSlowsUnitsByTheStrengthAlreadyEntered)
{
    struct Member {
        std::uint32_t id;
        int strength;
        std::uint32_t status;
    };
    struct Case {
        const char* name;
        int divisor;
        std::uint8_t enteredBefore;
        std::vector<Member> group;
        std::vector<int> actionPoints;
        int enteredAfter;
    } const cases[] = {
        { "every unit slows the next", 2, 0, { { kRifle, 4, 0 }, { kRifle, 4, 0 }, { kRifle, 4, 0 } }, { 100, 80, 60 },
            12 },
        { "a divisor of 0 counts as 1", 0, 0, { { kRifle, 3, 0 }, { kRifle, 3, 0 } }, { 100, 70 }, 6 },
        { "a negative divisor counts as 1", -5, 0, { { kRifle, 3, 0 }, { kRifle, 3, 0 } }, { 100, 70 }, 6 },
        { "a large divisor spreads the entry", 100, 250, { { kRifle, 3, 0 } }, { 80 }, 253 },
        { "points never go below 0 and the count stops at 255", 1, 250, { { kRifle, 10, 0 }, { kRifle, 3, 0 } },
            { 0, 0 }, 255 },
        { "a hostile strength only fills the count", 1, 5,
            { { kRifle, std::numeric_limits<int>::max(), 0 }, { kRifle, 1, 0 } }, { 50, 0 }, 255 },
        { "a passenger without a carrier enters unloaded", 1, 0, { { kRifle, 3, kUnitCarried }, { kRifle, 2, 0 } },
            { 100, 70 }, 5 },
        { "a passenger neither slows nor is slowed", 1, 0,
            { { kTruck, 4, kUnitCarrying }, { kRifle, 3, kUnitCarried }, { kTank, 2, 0 } }, { 100, 55, 60 }, 6 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Add(2, 2, kTank, 9, 3, 0, HexSide::North, HexSide::North);
        Game().m_phaseBytes.At(2, 2) = c.enteredBefore;
        ReinforcementGroup group(2, 2);
        int tag = 1;
        for (const Member& member : c.group) {
            PlacedUnit unit = MakeUnit(Type(member.id), tag++, member.strength, member.status);
            unit.m_actionPoints = 55;
            group.m_units.Append(unit);
        }
        HexList hexes;
        ASSERT_TRUE(Game().PlaceReinforcementGroup(group, c.divisor, hexes));
        std::vector<int> tags { 9 };
        std::vector<int> points;
        for (std::size_t i = 1; i <= c.group.size(); ++i) {
            tags.push_back(static_cast<int>(i));
            points.push_back(Unit(2, 2, static_cast<int>(i) + 1).m_actionPoints);
        }
        EXPECT_EQ(Tags(2, 2), tags) << "the group enters below the units already there, in order";
        EXPECT_EQ(points, c.actionPoints);
        EXPECT_EQ(Game().m_phaseBytes.At(2, 2), c.enteredAfter);
        EXPECT_EQ(hexes.Count(), 1u);
        EXPECT_EQ(group.m_units.Head()->value.m_actionPoints, 55) << "the group itself is left as it was";
    }
}

TEST_F(UnitOperationsTest, EntryPlacementSpreadsSecondSidesAndTakesTheObjective)
{
    Add(2, 2, kTank, 9, 3, 0, HexSide::North, HexSide::North);
    Game().m_objectives.At(2, 2) = ObjectiveCell { 3, 1 };
    ReinforcementGroup group(2, 2);
    group.m_units.Append(MakeUnit(Type(kRifle), 1, 3, 0, HexSide::North, HexSide::South));
    group.m_units.Append(MakeUnit(Type(kRifle), 2, 3, 0, HexSide::North, HexSide::South));
    HexList hexes;
    ASSERT_TRUE(Game().PlaceGroupAtEntry(group, 1, hexes));
    EXPECT_EQ(Unit(2, 2, 2).m_secondFacing, HexSide::NorthWest);
    EXPECT_EQ(Unit(2, 2, 3).m_secondFacing, HexSide::NorthEast);
    EXPECT_EQ(Game().m_objectives.At(2, 2).nation, 0);

    ReinforcementGroup offMap(5, 0);
    offMap.m_units.Append(MakeUnit(Type(kRifle), 3, 3, 0));
    HexList none;
    EXPECT_FALSE(Game().PlaceReinforcementGroup(offMap, 1, none));
    offMap.m_placement = 2;
    EXPECT_FALSE(Game().PlaceReinforcementGroup(offMap, 1, none));
    EXPECT_TRUE(none.IsEmpty());
}

TEST_F(UnitOperationsTest, ScatterWithoutStepsLandsEveryUnitOnTheEntryHex)
{
    struct Case {
        const char* name;
        std::uint32_t placement;
        std::vector<std::uint32_t> statuses; // rifle, leader, spotter
        int actionPoints;
        ArrivalMark mark;
    } const cases[] = {
        { "an air drop disrupts all but leaders", 1,
            { kUnitLowAmmo | kUnitDisrupted, 0, kUnitUnavailable | kUnitDisrupted }, 0, { -1, false } },
        { "a scattered landing marks the arrival", 2 | 4, { 0, 0, 0 }, 55, { 0, true } },
        { "the mark's flag comes from the group", 2, { 0, 0, 0 }, 55, { 0, false } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        CHeadlessFrame frame(Game());
        frame.Attach();
        ReinforcementGroup group(2, 2);
        group.m_placement = c.placement;
        int tag = 1;
        for (std::uint32_t id : { kRifle, kLeader, kSpotter }) {
            PlacedUnit unit = MakeUnit(Type(id), tag++, 3, 0);
            unit.m_actionPoints = 55;
            group.m_units.Append(unit);
        }
        HexList hexes;
        const std::uint32_t state = GlobalRandomGenerator().State();
        ASSERT_TRUE(Game().PlaceReinforcementGroup(group, 1, hexes));
        EXPECT_EQ(GlobalRandomGenerator().State(), state) << "no steps and safe ground: no draws";
        EXPECT_EQ(Tags(2, 2), (std::vector<int> { 1, 2, 3 }));
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(Unit(2, 2, i + 1).m_status, c.statuses[static_cast<std::size_t>(i)]) << i;
            EXPECT_EQ(Unit(2, 2, i + 1).m_actionPoints, c.actionPoints) << i;
        }
        EXPECT_EQ(Game().m_arrivalMarks.At(2, 2).value, c.mark.value);
        EXPECT_EQ(Game().m_arrivalMarks.At(2, 2).flag, c.mark.flag);
        ASSERT_EQ(frame.m_placements.size(), 3u) << "the placement callback runs once per unit";
        for (const PlacementRecord& record : frame.m_placements) {
            EXPECT_EQ(record.column, 2);
            EXPECT_EQ(record.row, 2);
            EXPECT_EQ(record.nation, 0);
            EXPECT_EQ(record.placementFlags, c.placement);
        }
        EXPECT_EQ(hexes.Count(), 1u);
    }
}

TEST_F(UnitOperationsTest, ScatterWalksFromTheEntryHexByTheGlobalDraws)
{
    SetTerrainEverywhere(kTerrainOpen);
    const HexPos entry { 2, 1 };
    const int steps = 3;
    // The landing of each unit as the draws of a seed would walk it.
    auto predict = [&](std::uint32_t seed) {
        CRandomGenerator generator(seed);
        std::vector<HexPos> landings;
        for (int unit = 0; unit < 2; ++unit) {
            HexPos at = entry;
            for (int step = 0; step < steps; ++step) {
                const int d = static_cast<int>(generator.Next() * 7.0);
                HexPos next;
                if (d < 6 && NeighbourHex(NthHexSide(d), at.column, at.row, next, 5, 4))
                    at = next;
            }
            landings.push_back(at);
        }
        return landings;
    };
    std::uint32_t seed = 1;
    while (predict(seed)[0] == predict(seed)[1] || predict(seed)[0] == entry)
        ++seed;
    const std::vector<HexPos> landings = predict(seed);

    CHeadlessFrame frame(Game());
    frame.Attach();
    ReinforcementGroup group(entry.column, entry.row);
    group.m_placement = 2;
    group.m_scatterSteps = steps;
    group.m_units.Append(MakeUnit(Type(kRifle), 1, 3, 0));
    group.m_units.Append(MakeUnit(Type(kRifle), 2, 3, 0));
    HexList hexes;
    SetRandomSeed(seed);
    ASSERT_TRUE(Game().ScatterGroup(group, hexes));
    for (int i = 0; i < 2; ++i) {
        const HexPos at = landings[static_cast<std::size_t>(i)];
        SCOPED_TRACE(testing::Message() << "unit " << i + 1 << " at " << at.column << ", " << at.row);
        ASSERT_FALSE(Game().m_stacks.At(at.column, at.row).IsEmpty());
        EXPECT_EQ(Game().m_stacks.At(at.column, at.row).Head()->value.m_value, i + 1);
        EXPECT_EQ(frame.m_placements[static_cast<std::size_t>(i)].column, at.column);
        EXPECT_EQ(frame.m_placements[static_cast<std::size_t>(i)].row, at.row);
        EXPECT_TRUE(HexListContains(hexes, at.column, at.row));
    }
    EXPECT_TRUE(HexListContains(hexes, entry.column, entry.row));
}

TEST_F(UnitOperationsTest, ScatteredUnitThatCannotLandIsEliminated)
{
    struct Case {
        const char* name;
        HexPos entry;
        bool enemyThere;
    } const cases[] = {
        { "open water", { 1, 0 }, false },
        { "a hex the enemy holds", { 2, 2 }, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        CHeadlessFrame frame(Game());
        frame.Attach();
        if (c.enemyThere)
            Add(c.entry.column, c.entry.row, kEnemy, 9);
        ReinforcementGroup group(c.entry.column, c.entry.row);
        group.m_placement = 1;
        group.m_units.Append(MakeUnit(Type(kRifle), 1, 3, 0));
        group.m_units.Append(MakeUnit(Type(kTruck), 2, 4, kUnitCarrying));
        group.m_units.Append(MakeUnit(Type(kRifle), 3, 2, kUnitCarried));
        HexList hexes;
        ASSERT_TRUE(Game().ScatterGroup(group, hexes));
        EXPECT_EQ(Tags(c.entry.column, c.entry.row), c.enemyThere ? std::vector<int> { 9 } : std::vector<int> {});
        std::vector<int> eliminated;
        for (const PlacedUnit& unit : Game().m_eliminated)
            eliminated.push_back(unit.m_value);
        EXPECT_EQ(eliminated, (std::vector<int> { 1, 2, 3 })) << "a carrier's passenger shares its fate";
        EXPECT_EQ(Loss(kRifle), 5);
        EXPECT_EQ(Loss(kTruck), 4);
        EXPECT_EQ(frame.m_placements.size(), 3u);
    }
}

TEST_F(UnitOperationsTest, ScatterLandsACarrierWithItsPassenger)
{
    Add(2, 2, kTank, 9);
    ReinforcementGroup group(2, 2);
    group.m_placement = 2;
    group.m_units.Append(MakeUnit(Type(kRifle), 1, 3, kUnitCarried)); // no carrier before it
    group.m_units.Append(MakeUnit(Type(kTruck), 2, 4, kUnitCarrying));
    group.m_units.Append(MakeUnit(Type(kRifle), 3, 3, kUnitCarried));
    HexList hexes;
    ASSERT_TRUE(Game().ScatterGroup(group, hexes));
    EXPECT_EQ(Tags(2, 2), (std::vector<int> { 9, 1, 2, 3 }));
    EXPECT_EQ(Unit(2, 2, 2).m_status, 0u) << "a passenger without a carrier lands unloaded";
    EXPECT_EQ(Unit(2, 2, 3).m_status, kUnitCarrying);
    EXPECT_EQ(Unit(2, 2, 4).m_status, kUnitCarried);

    // In the forest a passenger of no strength cannot land; its carrier does,
    // and then carries nothing.
    ReinforcementGroup forest(2, 0);
    forest.m_placement = 2;
    forest.m_units.Append(MakeUnit(Type(kTruck), 4, 4, kUnitCarrying));
    forest.m_units.Append(MakeUnit(Type(kRifle), 5, 0, kUnitCarried));
    ASSERT_TRUE(Game().ScatterGroup(forest, hexes));
    EXPECT_EQ(Tags(2, 0), (std::vector<int> { 4 }));
    EXPECT_EQ(Unit(2, 0, 1).m_status & kUnitCarrying, 0u);
    ASSERT_EQ(Game().m_eliminated.Count(), 1u);
    EXPECT_EQ(Game().m_eliminated.Head()->value.m_value, 5);

    // A carrier that cannot land there takes its passenger with it, even
    // where the passenger alone could have landed.
    ReinforcementGroup lost(2, 0);
    lost.m_placement = 2;
    lost.m_units.Append(MakeUnit(Type(kTruck), 6, 0, kUnitCarrying));
    lost.m_units.Append(MakeUnit(Type(kRifle), 7, 3, kUnitCarried));
    ASSERT_TRUE(Game().ScatterGroup(lost, hexes));
    EXPECT_EQ(Tags(2, 0), (std::vector<int> { 4 }));
    EXPECT_EQ(Game().m_eliminated.Count(), 3u);
}

TEST_F(UnitOperationsTest, AScatteredPassengerKeepsItsSecondSideAndCoversNone)
{
    Add(2, 2, kTank, 9, 3, 0, HexSide::North, HexSide::North);
    ReinforcementGroup group(2, 2);
    group.m_placement = 2;
    group.m_units.Append(MakeUnit(Type(kTruck), 1, 4, kUnitCarrying, HexSide::North, HexSide::None));
    group.m_units.Append(MakeUnit(Type(kRifle), 2, 3, kUnitCarried, HexSide::SouthEast, HexSide::SouthWest));
    group.m_units.Append(MakeUnit(Type(kRifle), 3, 3, 0, HexSide::SouthWest, HexSide::None));
    HexList hexes;
    ASSERT_TRUE(Game().ScatterGroup(group, hexes));
    ASSERT_EQ(Tags(2, 2), (std::vector<int> { 9, 1, 2, 3 }));
    // The carrier takes the first side its facing finds free; its passenger
    // rides with the side it came with, which covers nothing, so the next
    // unit may take that side too.
    EXPECT_EQ(Unit(2, 2, 2).m_secondFacing, HexSide::NorthWest);
    EXPECT_EQ(Unit(2, 2, 3).m_secondFacing, HexSide::SouthWest);
    EXPECT_EQ(Unit(2, 2, 3).m_status, kUnitCarried);
    EXPECT_EQ(Unit(2, 2, 4).m_secondFacing, HexSide::SouthWest);
    EXPECT_EQ(Game().GetStackSecondSides(2, 2).Value(),
        HexSide::North.Value() | HexSide::NorthWest.Value() | HexSide::SouthWest.Value());
}

TEST_F(UnitOperationsTest, HazardousLandingsCostADrawnShareOfStrength)
{
    const std::uint32_t high = SeedWithFirstDraw(0.99, 1.0);
    struct Case {
        const char* name;
        int terrain;
        bool airDrop;
        bool frozen;
        std::uint32_t id;
        int strength;
        bool enemyNear;
        bool landed;
        int after; // strength after; -1: no draw at all
    } const cases[] = {
        { "forest without air drop is severe", kTerrainForest, false, false, kRifle, 3, false, true, 1 },
        { "one point in forest loses nothing", kTerrainForest, false, false, kRifle, 1, false, true, 1 },
        { "forest for an air drop is rough", kTerrainForest, true, false, kRifle, 4, false, true, 3 },
        { "marsh for an air drop is severe", kTerrainMarsh, true, false, kRifle, 4, false, true, 1 },
        { "frozen marsh is open ground", kTerrainMarsh, true, true, kRifle, 4, false, true, -1 },
        { "village is severe without air drop", kTerrainVillage, false, false, kRifle, 4, false, true, 1 },
        { "wadi is rough without air drop", kTerrainWadi, false, false, kRifle, 4, false, true, 3 },
        { "open ground next to the enemy is severe", kTerrainOpen, false, false, kRifle, 4, true, true, 1 },
        { "open ground is safe", kTerrainOpen, true, false, kRifle, 4, false, true, -1 },
        { "open water refuses", kTerrainWater, false, false, kRifle, 4, false, false, -1 },
        { "frozen water is safe", kTerrainWater, false, true, kRifle, 4, false, true, -1 },
        { "a leader lands anywhere dry", kTerrainForest, false, false, kLeader, 2, true, true, -1 },
        { "a unit of no strength cannot land", kTerrainForest, false, false, kRifle, 0, false, false, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Game().m_map.GetHex(2, 2).terrain = c.terrain;
        Game().m_terrain.water = c.frozen ? TerrainConditions::kFrozen : 0;
        if (c.enemyNear)
            Add(2, 1, kEnemy, 9);
        PlacedUnit unit = MakeUnit(Type(c.id), 1, c.strength, 0);
        SetRandomSeed(high);
        EXPECT_EQ(Game().TryLandUnit(unit, 2, 2, c.airDrop), c.landed);
        const bool drew = GlobalRandomGenerator().State() != high;
        EXPECT_EQ(drew, c.after != -1);
        const int after = c.after == -1 ? c.strength : c.after;
        EXPECT_EQ(unit.m_strength, after);
        EXPECT_EQ((unit.m_status & kUnitDisrupted) != 0, c.landed && c.after != -1);
        EXPECT_EQ(Loss(c.id), c.strength - after) << "points lost on landing count as losses";
    }
    // The enemy holding the hex refuses the landing before any draw.
    SetUp();
    Add(2, 2, kEnemy, 9);
    PlacedUnit unit = MakeUnit(Type(kRifle), 1, 3, 0);
    SetRandomSeed(high);
    EXPECT_FALSE(Game().TryLandUnit(unit, 2, 2, false));
    EXPECT_EQ(GlobalRandomGenerator().State(), high);
}

} // namespace
