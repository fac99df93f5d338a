#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/rules/MoveGame.h"

namespace {

using namespace demo;

// A demo artillery type.
constexpr std::uint32_t kUsHowitzer = 10300;
constexpr int kX = 2;
constexpr int kY = 3;

// A demo rifle platoon and truck whose flags and costs the tests set by
// hand, side 0 to move in plain turns on an 8 x 8 Open map.
class UnitOrdersTest : public MoveGameTest {
protected:
    void SetUp() override
    {
        MakeMap(8, 8);
        m_game.m_map.SetSide(0);
        m_game.m_map.SetPhase(0);
        m_game.m_parameters.m_maxStackUnits = 6;
        m_game.m_parameters.m_maxStackStrength = 40;
        m_game.m_parameters.m_carrierUnloadApCost = 10;
        m_game.m_parameters.m_digInApCost = 30;
        m_game.ClearUndo();
        m_passenger = Type(kUsRifle);
        m_carrier = Type(kUsTruck);
        m_passenger->m_carryFlags = 0x3;
        m_passenger->m_loadApCost = 40;
        m_passenger->m_unloadApCost = 20;
        m_passenger->m_extraFlags = kExtraDigIn;
        m_carrier->m_carryFlags = 0x10;
        m_carrier->m_moveFlags &= ~kMoveQuickLoad;
        m_carrier->m_extraFlags = 0;
        m_carrier->m_fullStrength = 10;
        m_passenger->m_fullStrength = 8;
    }

    using Order = void (CGameOrders::*)(String&, int, int, const int*, int);
    std::string Run(Order order, std::vector<int> positions, int x = kX, int y = kY)
    {
        String out;
        (m_game.*order)(out, x, y, positions.data(), static_cast<int>(positions.size()));
        return out.c_str();
    }
    std::string Load(std::vector<int>& positions)
    {
        String out;
        m_game.LoadUnloadSelection(out, kX, kY, positions.data(), static_cast<int>(positions.size()));
        return out.c_str();
    }
    std::string Load(std::vector<int>&& positions) { return Load(positions); }

    PlatoonType* m_passenger = nullptr;
    PlatoonType* m_carrier = nullptr;
};

TEST_F(UnitOrdersTest, DoubleTimeRefusalsInOrder)
{
    struct Row {
        std::uint32_t type;
        std::uint32_t status;
        const char* text;
    };
    const Row rows[] = {
        { kUsSherman, kUnitFatigued | kUnitFixed, "Only foot-movement units can Double-Time" },
        { kUsRifle, kUnitFatigued | kUnitFixed, "Cannot Double-Time fatigued units" },
        { kUsRifle, kUnitFixed, "Fixed unit cannot Double-Time" },
        { kUsRifle, 0, "" },
    };
    for (const Row& row : rows) {
        SetUp();
        Add(kX, kY, kUsRifle);
        Add(kX, kY, row.type, row.status);
        EXPECT_EQ(Run(&CGameOrders::DoubleTimeSelection, { 1, 2 }), row.text) << row.text;
        // A refusal marks no unit.
        const std::uint32_t bits = kUnitDoubleTime | kUnitFatigued;
        EXPECT_EQ(Unit(kX, kY, 1).m_status & bits, *row.text ? 0u : bits) << row.text;
    }
    // Twice in a turn: the second is refused as fatigued.
    EXPECT_EQ(Run(&CGameOrders::DoubleTimeSelection, { 1 }), "Cannot Double-Time fatigued units");
    EXPECT_EQ(Run(&CGameOrders::DoubleTimeSelection, {}), "");
    Add(3, 3, kGermanRifle);
    EXPECT_EQ(Run(&CGameOrders::DoubleTimeSelection, { 1 }, 3, 3), "Cannot Double-Time units from other side");
}

TEST_F(UnitOrdersTest, DigInRefusalsInOrder)
{
    struct Row {
        const char* text;
        std::function<void()> setUp;
    };
    const Row rows[] = {
        { "Digging-In Optional Rule not enabled", [this] { m_game.m_options = 0; } },
        { "Hex is already Improved or has Fort", [this] { m_game.m_hexFlags.At(kX, kY) = CGameData::kHexTrench; } },
        { "Cannot dig-in in Shallow Water hexes", [this] { Hex(kX, kY).terrain = kTerrainShallowWater; } },
        { "Unit is not capable of Digging-In", [this] { m_passenger->m_extraFlags = 0; } },
        { "Leaders cannot dig-in",
            [this] {
                Type(kUsBattalionCommander)->m_extraFlags = kExtraDigIn;
                Add(kX, kY, kUsBattalionCommander, kUnitMoved);
            } },
        { "Units which have moved cannot initiate Digging-In",
            [this] { Add(kX, kY, kUsRifle, kUnitMoved | kUnitFired); } },
        { "Units which have fired cannot initiate Digging-In",
            [this] { Add(kX, kY, kUsRifle, kUnitFired | kUnitDisrupted); } },
        { "Disrupted units cannot initiate Digging-In",
            [this] { Add(kX, kY, kUsRifle, kUnitDisrupted).m_actionPoints = 0; } },
        { "Unit does not have enough Action Points to dig-in", [this] { Add(kX, kY, kUsRifle).m_actionPoints = 29; } },
        // Within the points with the fire reserve kept back, exactly.
        { "", [this] { Add(kX, kY, kUsRifle).m_actionPoints = 30; } },
    };
    for (const Row& row : rows) {
        SetUp();
        m_game.m_options = kOptionDiggingIn;
        Add(kX, kY, kUsRifle);
        row.setUp();
        std::vector<int> positions { 1 };
        if (m_game.GetStackNode(kX, kY, 2))
            positions.push_back(2);
        EXPECT_EQ(Run(&CGameOrders::ToggleDigInSelection, positions), row.text) << row.text;
        EXPECT_EQ((Unit(kX, kY, 1).m_status & kUnitDiggingIn) != 0, *row.text == 0) << row.text;
        // No points are spent.
        EXPECT_EQ(Unit(kX, kY, 1).m_actionPoints, 100) << row.text;
    }
}

TEST_F(UnitOrdersTest, DigInToggledOffAfterMovingAndCarriedUnitsStayOut)
{
    m_game.m_options = kOptionDiggingIn;
    Add(kX, kY, kUsRifle, kUnitDiggingIn | kUnitMoved | kUnitFired | kUnitDisrupted).m_actionPoints = 0;
    AddLoaded(kX, kY, kUsTruck, kUsRifle);
    // The carrier cannot dig in; its passenger is skipped.
    EXPECT_EQ(Run(&CGameOrders::ToggleDigInSelection, { 1, 2, 3 }), "Unit is not capable of Digging-In");
    EXPECT_EQ(Run(&CGameOrders::ToggleDigInSelection, { 1, 3 }), "");
    EXPECT_EQ(Unit(kX, kY, 1).m_status & kUnitDiggingIn, 0u);
    EXPECT_EQ(Unit(kX, kY, 3).m_status & kUnitDiggingIn, 0u);
    Add(3, 3, kGermanRifle);
    EXPECT_EQ(Run(&CGameOrders::ToggleDigInSelection, { 1 }, 3, 3), "Cannot toggle digging status of other side");
}

TEST_F(UnitOrdersTest, SaveApForUnloading)
{
    AddLoaded(kX, kY, kUsTruck, kUsRifle);
    Add(kX, kY, kUsTruck);
    EXPECT_EQ(Run(&CGameOrders::ToggleSaveApForUnloading, { 1, 3 }), "");
    EXPECT_NE(Unit(kX, kY, 1).m_status & kUnitSavedForUnloading, 0u);
    // An empty carrier keeps nothing back.
    EXPECT_EQ(Unit(kX, kY, 3).m_status & kUnitSavedForUnloading, 0u);
    EXPECT_EQ(Run(&CGameOrders::ToggleSaveApForUnloading, { 1 }), "");
    EXPECT_EQ(Unit(kX, kY, 1).m_status & kUnitSavedForUnloading, 0u);
    // Not within the carrier's points, and a passenger without a cost.
    Unit(kX, kY, 1).m_actionPoints = 19;
    EXPECT_EQ(Run(&CGameOrders::ToggleSaveApForUnloading, { 1 }), "");
    EXPECT_EQ(Unit(kX, kY, 1).m_status & kUnitSavedForUnloading, 0u);
    Unit(kX, kY, 1).m_actionPoints = 100;
    m_passenger->m_unloadApCost = 0;
    EXPECT_EQ(Run(&CGameOrders::ToggleSaveApForUnloading, { 1 }), "");
    EXPECT_EQ(Unit(kX, kY, 1).m_status & kUnitSavedForUnloading, 0u);
    Add(3, 3, kGermanRifle);
    EXPECT_EQ(Run(&CGameOrders::ToggleSaveApForUnloading, { 1 }, 3, 3), "Cannot change units from other side");
}

TEST_F(UnitOrdersTest, CarrierKinds)
{
    struct Row {
        std::uint32_t carrier;
        std::uint32_t passenger;
        const char* text;
        std::uint32_t passengerType = kUsRifle;
    };
    const Row rows[] = {
        { 0x10, 0x0, "Unit cannot be carried" },
        { 0x20, 0x1000, "Unit cannot tow heavy guns" },
        { 0x40, 0x1, "Unit cannot carry passengers" },
        { 0x40, 0x4, "" },
        { 0x2000, 0x1, "Passenger cannot be carried on horses" },
        { 0x2000, 0x801, "" },
        { 0x4000, 0x1, "Passenger cannot be carried on bicycles" },
        { 0x4000, 0x401, "" },
        { 0x8000, 0x1, "Passenger cannot be carried on motorcycles" },
        { 0x8000, 0x201, "" },
        { 0x10000, 0x1, "Passenger cannot be carried on boats" },
        { 0x10000, 0x81, "" },
        { 0x10000, 0x1, "", kUsHowitzer }, // artillery rides boats
        { 0x10, 0x1, "Cannot load unit on non-carrier" },
        { 0x10, 0x2, "" },
    };
    for (const Row& row : rows) {
        SetUp();
        m_carrier->m_carryFlags = row.carrier;
        PlatoonType* passenger = Type(row.passengerType);
        passenger->m_carryFlags = row.passenger;
        passenger->m_loadApCost = 40;
        Add(kX, kY, kUsTruck).m_strength = 10;
        Add(kX, kY, row.passengerType).m_strength = 1;
        std::vector<int> positions { 2, 1 };
        EXPECT_EQ(Load(positions), row.text) << std::hex << row.carrier << ' ' << row.passenger;
        const bool loaded = (Unit(kX, kY, 2).m_status & kUnitCarried) != 0;
        EXPECT_EQ(loaded, *row.text == 0) << std::hex << row.carrier << ' ' << row.passenger;
    }
    // Leaders ride horses, bicycles and motorcycles whatever they are.
    for (std::uint32_t kind : { 0x2000u, 0x4000u, 0x8000u, 0x10000u }) {
        SetUp();
        m_carrier->m_carryFlags = kind;
        Type(kUsBattalionCommander)->m_carryFlags = 0x1;
        Add(kX, kY, kUsTruck);
        Add(kX, kY, kUsBattalionCommander);
        EXPECT_EQ(Load({ 1, 2 }), "") << std::hex << kind;
    }
}

TEST_F(UnitOrdersTest, CarrierStrength)
{
    struct Row {
        std::uint32_t carrierFlags;
        std::uint32_t passengerFlags;
        std::uint32_t extra;
        int passengerStrength;
        const char* text;
    };
    // A lorry carrying infantry takes twice its strength of 3.
    const Row rows[] = {
        { 0x10, 0x2, 0, 6, "" },
        { 0x10, 0x2, 0, 7, "Carrier does not have enough strength to carry passenger" },
        { 0x20, 0x1, 0, 3, "" },
        { 0x20, 0x1, 0, 4, "Carrier does not have enough strength to carry passenger" },
        // Carrying anything skips the kinds, not the strength.
        { 0x20, 0x1000, kExtraCarriesPassengers, 3, "" },
        { 0x20, 0x0, kExtraCarriesPassengers, 4, "Carrier does not have enough strength to carry passenger" },
    };
    for (const Row& row : rows) {
        SetUp();
        m_carrier->m_carryFlags = row.carrierFlags;
        m_carrier->m_extraFlags = row.extra;
        m_passenger->m_carryFlags = row.passengerFlags;
        Add(kX, kY, kUsTruck).m_strength = 3;
        Add(kX, kY, kUsRifle).m_strength = row.passengerStrength;
        EXPECT_EQ(Load({ 1, 2 }), row.text) << row.passengerStrength;
    }
}

TEST_F(UnitOrdersTest, LoadingRefusalsInOrder)
{
    struct Row {
        bool threePhase;
        int phase;
        std::uint32_t passengerStatus;
        int passengerPoints;
        const char* text;
    };
    const Row rows[] = {
        { true, 1, kUnitFired, 100, "Cannot load/unload units unless in Initial Phase" },
        { true, 0, kUnitFired | kUnitFixed, 0, "Units which have fired cannot be loaded in the same phase" },
        { false, 0, kUnitFired | kUnitFixed, 0, "Fixed units cannot load" },
        { false, 0, 0, 39, "Unit does not have enough action points to load/unload" },
        { true, 0, 0, 39, "Unit does not have enough movement points to load/unload" },
        { false, 0, kUnitDisrupted, 79, "Unit does not have enough action points to load/unload" },
        { false, 0, 0, 40, "" },
    };
    for (const Row& row : rows) {
        SetUp();
        m_game.m_options = row.threePhase ? kOptionThreePhase : 0;
        m_game.m_map.SetPhase(row.phase);
        Add(kX, kY, kUsTruck);
        PlacedUnit& passenger = Add(kX, kY, kUsRifle, row.passengerStatus);
        passenger.m_actionPoints = row.passengerPoints;
        EXPECT_EQ(Load({ 1, 2 }), row.text) << row.text;
        EXPECT_EQ(m_game.m_snapshots.size(), *row.text ? 0u : 1u) << row.text;
    }
    SetUp();
    Add(kX, kY, kUsTruck);
    Add(kX, kY, kUsTruck);
    EXPECT_EQ(Load({ 1 }), "No valid units have been selected to load/unload");
    Add(kX, kY, kUsRifle);
    EXPECT_EQ(Load({ 3 }), "No carriers have been selected");
    // A position past the stack reads as no selection.
    EXPECT_EQ(Load({ 1, 9 }), "No valid units have been selected to load/unload");
    Add(3, 3, kGermanRifle);
    String out;
    int positions[] = { 1 };
    m_game.LoadUnloadSelection(out, 3, 3, positions, 1);
    EXPECT_STREQ(out.c_str(), "Cannot load/unload units from other side");
}

TEST_F(UnitOrdersTest, LoadingCharges)
{
    struct Row {
        bool quick;
        std::uint32_t passengerStatus;
        std::uint32_t carrierStatus;
        int passengerSpends;
        int carrierSpends;
    };
    // The passenger pays its load cost (25 on a quick-loading carrier,
    // doubled when disrupted); the carrier pays the passenger's load cost,
    // doubled when the carrier is disrupted.
    const Row rows[] = {
        { false, 0, 0, 40, 40 },
        { true, 0, 0, 25, 40 },
        { false, kUnitDisrupted, 0, 80, 40 },
        { true, kUnitDisrupted, kUnitDisrupted, 50, 80 },
    };
    for (const Row& row : rows) {
        SetUp();
        if (row.quick)
            m_carrier->m_moveFlags |= kMoveQuickLoad;
        Add(kX, kY, kUsTruck, row.carrierStatus | kUnitHidden);
        Add(kX, kY, kUsRifle, row.passengerStatus | kUnitDiggingIn | kUnitHidden);
        std::vector<int> positions { 2, 1 };
        ASSERT_EQ(Load(positions), "");
        const PlacedUnit& carrier = Unit(kX, kY, 1);
        const PlacedUnit& passenger = Unit(kX, kY, 2);
        EXPECT_EQ(passenger.m_actionPoints, 100 - row.passengerSpends);
        EXPECT_EQ(carrier.m_actionPoints, 100 - row.carrierSpends);
        EXPECT_EQ(passenger.m_status & (kUnitDiggingIn | kUnitHidden), 0u);
        EXPECT_EQ(carrier.m_status & kUnitHidden, 0u);
        EXPECT_NE(passenger.m_status & kUnitCarried, 0u);
        // Carriers first, then the boarded passengers.
        EXPECT_EQ(positions, (std::vector<int> { 1, 2 }));
    }
}

TEST_F(UnitOrdersTest, UnloadingCostsAndWater)
{
    struct Row {
        std::uint32_t carrierFlags;
        bool quick;
        bool threePhase;
        std::uint32_t passengerStatus;
        int spends; // by each
    };
    const Row rows[] = {
        { 0x10, false, false, 0, 10 }, // the parameters' carrier cost
        { 0x20, false, false, 0, 20 }, // the passenger type's
        { 0x20, true, false, 0, 25 }, { 0x20, false, false, kUnitDisrupted, 40 },
        { 0x20, false, true, 0, 100 }, // ends the turn
    };
    for (const Row& row : rows) {
        SetUp();
        m_carrier->m_carryFlags = row.carrierFlags;
        if (row.quick)
            m_carrier->m_moveFlags |= kMoveQuickLoad;
        m_game.m_options = row.threePhase ? kOptionThreePhase : 0;
        Add(kX, kY, kUsRifle);
        AddLoaded(kX, kY, kUsTruck, kUsRifle);
        Unit(kX, kY, 3).m_status |= row.passengerStatus;
        std::vector<int> positions { 3, 2 };
        ASSERT_EQ(Load(positions), "") << row.spends;
        // The unloaded unit goes on top, its carrier stays.
        EXPECT_EQ(positions, (std::vector<int> { 1, 3 }));
        const PlacedUnit& passenger = Unit(kX, kY, 1);
        const PlacedUnit& carrier = Unit(kX, kY, 3);
        EXPECT_EQ(passenger.m_status & kUnitCarried, 0u);
        EXPECT_EQ(passenger.m_actionPoints, 100 - row.spends);
        EXPECT_EQ(carrier.m_actionPoints, 100 - row.spends);
        const std::uint32_t unloaded = row.threePhase ? std::uint32_t { kUnitUnloaded } : 0u;
        EXPECT_EQ(passenger.m_status & kUnitUnloaded, unloaded);
        EXPECT_EQ(carrier.m_status & kUnitUnloaded, unloaded);
    }
    // Without the points, and in open water.
    SetUp();
    m_carrier->m_carryFlags = 0x20;
    AddLoaded(kX, kY, kUsTruck, kUsRifle);
    Unit(kX, kY, 1).m_actionPoints = 19;
    EXPECT_EQ(Load({ 2 }), "Unit does not have enough action points to load/unload");
    Hex(kX, kY).terrain = kTerrainWater;
    EXPECT_EQ(Load({ 2 }), "Cannot unload from boats in water");
    // Three-phase turns ask no points up front.
    Hex(kX, kY).terrain = kTerrainOpen;
    m_game.m_options = kOptionThreePhase;
    EXPECT_EQ(Load({ 2 }), "");
}

TEST_F(UnitOrdersTest, OverloadCountsOnlyBoardingPassengers)
{
    // Five units stand; unloading a sixth fits, a seventh does not unless
    // one boards in the same order.
    m_game.m_parameters.m_maxStackStrength = 1000;
    for (int i = 0; i < 3; ++i)
        Add(kX, kY, kUsRifle);
    AddLoaded(kX, kY, kUsTruck, kUsRifle); // 4, 5
    AddLoaded(kX, kY, kUsTruck, kUsRifle); // 6, 7
    Add(kX, kY, kUsTruck); // 8: six units counted
    EXPECT_EQ(Load({ 5 }), "Unloading produces overloaded stack");
    // One passenger boards, one unloads: the count stays.
    EXPECT_EQ(Load({ 8, 1, 5 }), "");
    // Two passengers listed with one carrier: only one boards.
    Add(kX, kY, kUsTruck);
    std::vector<int> positions;
    for (int p = 1; p <= m_game.CountStackUnits(kX, kY) + 3; ++p) {
        const UnitNode* node = m_game.GetStackNode(kX, kY, p);
        if (node && (node->value.m_status & kUnitCarried) && positions.empty())
            positions.push_back(p);
    }
    ASSERT_EQ(positions.size(), 1u);
    // Strength: with room for units, the strength limit refuses.
    m_game.m_parameters.m_maxStackUnits = 100;
    m_game.m_parameters.m_maxStackStrength = m_game.GetStackStrength(kX, kY);
    EXPECT_EQ(Load(std::vector<int>(positions)), "Unloading produces overloaded stack");
    m_game.m_parameters.m_maxStackStrength += Unit(kX, kY, positions[0]).m_strength;
    EXPECT_EQ(Load(std::vector<int>(positions)), "");
}

TEST_F(UnitOrdersTest, TwoPassengersAndOneCarrier)
{
    Add(kX, kY, kUsTruck).m_strength = 10;
    Add(kX, kY, kUsRifle).m_actionPoints = 50;
    Add(kX, kY, kUsRifle).m_actionPoints = 10; // never checked: not paired
    std::vector<int> positions { 2, 3, 1 };
    ASSERT_EQ(Load(positions), "");
    EXPECT_NE(Unit(kX, kY, 2).m_status & kUnitCarried, 0u);
    EXPECT_EQ(Unit(kX, kY, 2).m_actionPoints, 10);
    EXPECT_EQ(Unit(kX, kY, 3).m_status & kUnitCarried, 0u);
    EXPECT_EQ(Unit(kX, kY, 3).m_actionPoints, 10);
    // The carrier, then the passengers.
    EXPECT_EQ(positions, (std::vector<int> { 1, 2, 3 }));
}

TEST_F(UnitOrdersTest, CycleTextsInOrder)
{
    String out;
    m_game.CycleStack(out, kX, kY);
    EXPECT_STREQ(out.c_str(), "Cannot cycle units in empty or unknown hex");
    Add(3, 3, kGermanRifle);
    Add(3, 3, kGermanRifle);
    m_game.m_unitsAnswer = [](int, int) { return false; };
    m_game.CycleStack(out, 3, 3);
    EXPECT_STREQ(out.c_str(), "Cannot cycle units in empty or unknown hex");
    m_game.m_unitsAnswer = nullptr;
    Unit(3, 3, 1).m_strength = 9;
    m_game.CycleStack(out, 3, 3);
    EXPECT_STREQ(out.c_str(), "Cannot cycle units from other side");
    EXPECT_EQ(Unit(3, 3, 1).m_strength, 9);
    Add(kX, kY, kUsTruck).m_strength = 7;
    Add(kX, kY, kUsRifle).m_strength = 5;
    m_game.CycleStack(out, kX, kY);
    EXPECT_STREQ(out.c_str(), "");
    EXPECT_EQ(Unit(kX, kY, 1).m_strength, 5);
    EXPECT_EQ(Unit(kX, kY, 2).m_strength, 7);
}

TEST_F(UnitOrdersTest, ToTopAndToBottomKeepThePassengerWithItsCarrier)
{
    // Strengths tag the units: rifle 3, carrier 7, its passenger 5.
    Add(kX, kY, kUsRifle).m_strength = 3;
    AddLoaded(kX, kY, kUsTruck, kUsRifle);
    Unit(kX, kY, 2).m_strength = 7;
    Unit(kX, kY, 3).m_strength = 5;
    auto order = [this] {
        std::vector<int> tags;
        for (int p = 1; p <= 3; ++p)
            tags.push_back(Unit(kX, kY, p).m_strength);
        return tags;
    };
    EXPECT_EQ(Run(&CGameOrders::MoveSelectionToTop, { 2 }), "Must include passenger with selection");
    EXPECT_EQ(Run(&CGameOrders::MoveSelectionToTop, { 3 }), "Must include carrier with selection");
    EXPECT_EQ(Run(&CGameOrders::MoveSelectionToTop, { 1, 3 }), "Must include carrier with selection");
    // A selection the resolver refuses, and none, do nothing.
    EXPECT_EQ(Run(&CGameOrders::MoveSelectionToTop, { 2, 2 }), "");
    EXPECT_EQ(Run(&CGameOrders::MoveSelectionToTop, {}), "");
    EXPECT_EQ(order(), (std::vector<int> { 3, 7, 5 }));
    EXPECT_EQ(Run(&CGameOrders::MoveSelectionToTop, { 2, 3 }), "");
    EXPECT_EQ(order(), (std::vector<int> { 7, 5, 3 }));
    EXPECT_NE(Unit(kX, kY, 2).m_status & kUnitCarried, 0u);
    EXPECT_EQ(Run(&CGameOrders::MoveSelectionToBottom, { 1, 2 }), "");
    EXPECT_EQ(order(), (std::vector<int> { 3, 7, 5 }));
    EXPECT_NE(Unit(kX, kY, 3).m_status & kUnitCarried, 0u);
    EXPECT_EQ(Unit(kX, kY, 2).m_actionPoints, 100);
    EXPECT_TRUE(m_game.m_snapshots.empty());
    Add(3, 3, kGermanRifle);
    EXPECT_EQ(Run(&CGameOrders::MoveSelectionToBottom, { 1 }, 3, 3), "Cannot change units from other side");
}

TEST_F(UnitOrdersTest, TurningAndAlignment)
{
    Add(kX, kY, kUsRifle);
    Add(kX, kY, kUsRifle);
    EXPECT_EQ(Run(&CGameOrders::TurnSelectionClockwise, { 1 }), "");
    EXPECT_EQ(Unit(kX, kY, 1).m_facing, HexSide::NorthEast);
    EXPECT_EQ(Run(&CGameOrders::TurnSelectionCounterclockwise, { 1, 2 }), "");
    EXPECT_EQ(Unit(kX, kY, 1).m_facing, HexSide::North);
    EXPECT_EQ(Unit(kX, kY, 2).m_facing, HexSide::NorthWest);
    EXPECT_EQ(Run(&CGameOrders::AlignSelectionFacings, { 2, 1 }), "");
    EXPECT_EQ(Unit(kX, kY, 1).m_facing, HexSide::NorthWest);
    Unit(kX, kY, 1).m_facing = HexSide::South;
    EXPECT_EQ(Run(&CGameOrders::AlignSelectionFacingsReversed, { 1, 2 }), "");
    EXPECT_EQ(Unit(kX, kY, 2).m_facing, HexSide::South);
    EXPECT_EQ(Run(&CGameOrders::TurnSelectionClockwise, {}), "");
    EXPECT_EQ(Unit(kX, kY, 1).m_facing, HexSide::South);
    EXPECT_EQ(Unit(kX, kY, 1).m_actionPoints, 100);
    EXPECT_TRUE(m_game.m_snapshots.empty());
    Add(3, 3, kGermanRifle);
    for (Order order : { &CGameOrders::TurnSelectionClockwise, &CGameOrders::TurnSelectionCounterclockwise,
             &CGameOrders::AlignSelectionFacings, &CGameOrders::AlignSelectionFacingsReversed })
        EXPECT_EQ(Run(order, { 1 }, 3, 3), "Cannot change units from other side");
    EXPECT_EQ(Unit(3, 3, 1).m_facing, HexSide::North);
}

} // namespace
