#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "model/OrgTree.h"
#include "model/PlacedUnit.h"
#include "model/PlatoonType.h"
#include "tests/TestFiles.h"

namespace {

// The battle fixtures' platoon types and organisation, read from memory.
class PlacedUnitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::istringstream platoons(ScrambleText(ReadFixture("battles/platoon.txt")));
        ASSERT_EQ(m_types.Read(platoons, "platoon.obx").str(), "");
        std::istringstream org(ReadFixture("battles/test.org"));
        ASSERT_TRUE(m_tree.Read(org));
    }

    const PlatoonType* Type(std::uint32_t id) const { return m_types.FindById(id); }
    OrgNode* Node(int id) { return m_tree.FindNode(id); }

    // Reads one unit line; false when the stream failed.
    bool ReadUnit(const std::string& line, PlacedUnit& unit, bool withCounters = true)
    {
        std::istringstream in(line);
        return static_cast<bool>(unit.Read(in, m_types, m_tree, withCounters));
    }

    static std::string Written(const PlacedUnit& unit)
    {
        std::ostringstream out;
        unit.Write(out);
        return out.str();
    }

    PlatoonTypeList m_types;
    OrgTree m_tree;
};

} // namespace

TEST_F(PlacedUnitTest, ConstructorsGiveTheDefaults)
{
    const PlacedUnit blank;
    EXPECT_EQ(blank.m_type, nullptr);
    EXPECT_EQ(blank.m_node, nullptr);
    EXPECT_EQ(blank.m_facing, HexSide::North);
    EXPECT_EQ(blank.m_secondFacing, HexSide::North);
    EXPECT_EQ(blank.m_strength, 0);
    EXPECT_EQ(blank.m_actionPoints, 100);
    EXPECT_EQ(blank.m_rating, 0);
    EXPECT_EQ(blank.m_counters[2], 3);

    const PlacedUnit withNode(Type(10101), Node(103));
    EXPECT_EQ(withNode.m_strength, 6) << "the type's full strength";
    EXPECT_EQ(withNode.m_rating, 7) << "the node's rating";
    EXPECT_EQ(withNode.m_actionPoints, 100);
    EXPECT_EQ(withNode.m_status, 0u);
    EXPECT_EQ(withNode.m_secondFacing, HexSide::North);

    const PlacedUnit withoutNode(Type(10501), nullptr);
    EXPECT_EQ(withoutNode.m_strength, 4);
    EXPECT_EQ(withoutNode.m_rating, 6);
}

TEST_F(PlacedUnitTest, UnitLineRoundTripsWithoutTheTransientBits)
{
    PlacedUnit unit(Type(10101), Node(104));
    unit.m_facing = HexSide::SouthWest;
    unit.m_secondFacing = HexSide::NorthEast;
    unit.m_strength = 5;
    unit.m_actionPoints = 40;
    unit.m_rating = 4;
    unit.m_value = 9;
    unit.m_status = 0x55;
    unit.m_counters[0] = 1;
    unit.m_counters[1] = 2;
    unit.m_counters[2] = 0;
    EXPECT_EQ(Written(unit), "10101 104 16 2 5 40 4 9 17 1 2 0") << "0x55 is written as 0x11";

    PlacedUnit back;
    ASSERT_TRUE(ReadUnit(Written(unit), back));
    EXPECT_EQ(back.m_type, Type(10101));
    EXPECT_EQ(back.m_node, Node(104));
    EXPECT_EQ(back.m_facing, HexSide::SouthWest);
    EXPECT_EQ(back.m_secondFacing, HexSide::NorthEast);
    EXPECT_EQ(back.m_status, 0x11u);
    EXPECT_EQ(back.m_counters[1], 2);
    EXPECT_EQ(Written(back), Written(unit));

    // Without the counters flag the line ends after the status and the
    // counters stay 3.
    PlacedUnit old;
    ASSERT_TRUE(ReadUnit("10101 -1 1 1 6 100 6 0 0", old, false));
    EXPECT_EQ(old.m_node, nullptr);
    EXPECT_EQ(old.m_counters[0], 3);
    EXPECT_EQ(old.m_counters[2], 3);
}

TEST_F(PlacedUnitTest, RatingsAndLeadersFollowTheirNode)
{
    struct Case {
        const char* line;
        std::uint32_t type;
        int rating;
    } cases[] = {
        { "10101 104 1 1 6 100 9 0 0 3 3 3", 10101, 6 }, // above the node's 6
        { "10101 104 1 1 6 100 2 0 0 3 3 3", 10101, 2 }, // below it: kept
        { "10101 -1 1 1 6 100 9 0 0 3 3 3", 10101, 9 }, // no node, no cap
        { "10402 103 1 1 1 100 2 0 0 3 3 3", 10401, 7 }, // the node's code names the leader type
        { "10401 101 1 1 1 100 2 0 0 3 3 3", 10401, 6 }, // no type has the node's code: kept
    };
    for (const Case& c : cases) {
        PlacedUnit unit;
        ASSERT_TRUE(ReadUnit(c.line, unit)) << c.line;
        EXPECT_EQ(unit.m_type, Type(c.type)) << c.line;
        EXPECT_EQ(unit.m_rating, c.rating) << c.line;
    }
}

TEST_F(PlacedUnitTest, FacingsThatAreNoSideAreNormalised)
{
    struct Case {
        const char* facings;
        HexSide facing;
        HexSide second;
    } cases[] = {
        { "4 32", HexSide::SouthEast, HexSide::NorthWest },
        { "3 12", HexSide::North, HexSide::None }, // a slot number in the second facing
        { "0 0", HexSide::North, HexSide::None },
        { "64 64", HexSide::North, HexSide::None },
        { "-8 -1", HexSide::North, HexSide::None },
        { "128 4294967297", HexSide::North, HexSide::None },
    };
    for (const Case& c : cases) {
        PlacedUnit unit;
        ASSERT_TRUE(ReadUnit(std::string("10101 -1 ") + c.facings + " 6 100 6 0 0 3 3 3", unit)) << c.facings;
        EXPECT_EQ(unit.m_facing, c.facing) << c.facings;
        EXPECT_EQ(unit.m_secondFacing, c.second) << c.facings;
    }
}

TEST_F(PlacedUnitTest, BadUnitLinesFailAndLeaveTheUnit)
{
    const char* lines[] = {
        "4242 104 1 1 6 100 6 0 0 3 3 3", // no such type
        "10101 999 1 1 6 100 6 0 0 3 3 3", // no such node
        "10101 104 1 1 6 100 6 0 0 3 3", // a counter missing
        "10101 104 1 1 six 100 6 0 0 3 3 3",
        "10101 104 1 1 6 100 6 0 99999999999 3 3 3", // status beyond 32 bits
        "",
    };
    for (const char* line : lines) {
        PlacedUnit unit(Type(10501), nullptr);
        EXPECT_FALSE(ReadUnit(line, unit)) << line;
        EXPECT_EQ(unit.m_type, Type(10501)) << line;
        EXPECT_EQ(unit.m_strength, 4) << line;
    }
}

TEST_F(PlacedUnitTest, LossesAndSpendingStopAtTheirFloors)
{
    struct Case {
        int start;
        int amount;
        int strength; // after ReduceStrength
        int points; // after SpendActionPoints
    } cases[] = {
        { 3, 10, 1, 0 }, { 100, 150, 1, 0 }, { 6, 2, 4, 4 }, { 6, -3, 9, 9 }, { INT_MIN, INT_MAX, 1, 0 },
        { 5, INT_MIN, INT_MAX, INT_MAX }, // saturates instead of wrapping
    };
    for (const Case& c : cases) {
        PlacedUnit unit;
        unit.m_strength = c.start;
        unit.m_actionPoints = c.start;
        unit.ReduceStrength(c.amount);
        unit.SpendActionPoints(c.amount);
        EXPECT_EQ(unit.m_strength, c.strength) << c.start << " - " << c.amount;
        EXPECT_EQ(unit.m_actionPoints, c.points) << c.start << " - " << c.amount;
    }
}

TEST_F(PlacedUnitTest, NamesAndCommandNodes)
{
    const PlacedUnit leader(Type(10401), Node(103));
    EXPECT_EQ(leader.GetName().str(), "Company HQ");
    EXPECT_EQ(leader.GetShortName().str(), "Company HQ") << "a leader takes its node's name";
    const PlacedUnit rifles(Type(10101), Node(104));
    EXPECT_EQ(rifles.GetName().str(), "Rifle Platoon");
    EXPECT_EQ(rifles.GetShortName().str(), "Rifles");
    const PlacedUnit noNode(Type(10401), nullptr);
    EXPECT_EQ(noNode.GetName().str(), "Company HQ");
    EXPECT_EQ(noNode.GetShortName().str(), "Coy HQ");
    EXPECT_EQ(PlacedUnit().GetName().str(), "");

    // A company without sub-formations commands its platoons; a battalion
    // with companies lets a plain platoon under it command itself, but still
    // commands its artillery and leaders.
    EXPECT_EQ(rifles.GetCommandNode(), Node(102));
    EXPECT_EQ(leader.GetCommandNode(), Node(102));
    EXPECT_EQ(PlacedUnit(Type(10301), Node(107)).GetCommandNode(), Node(101));
    EXPECT_EQ(PlacedUnit(Type(10101), Node(101)).GetCommandNode(), nullptr) << "a top-level node";
    EXPECT_EQ(noNode.GetCommandNode(), nullptr);

    std::istringstream org("1\n0\n6 44\nB1020001 1 6 Bn\n    C1020100 2 6 Coy\n        P10101 3 6 A\n    End\n"
                           "    P10101 4 6 B\n    P10401 5 6 HQ\n    End\n");
    OrgTree tree;
    ASSERT_TRUE(tree.Read(org));
    EXPECT_EQ(PlacedUnit(Type(10101), tree.FindNode(4)).GetCommandNode(), tree.FindNode(4));
    EXPECT_EQ(PlacedUnit(Type(10401), tree.FindNode(5)).GetCommandNode(), tree.FindNode(1));
}

TEST_F(PlacedUnitTest, EqualityIgnoresNodeFacingsAndCounters)
{
    PlacedUnit a(Type(10101), Node(104));
    PlacedUnit b = a;
    b.m_node = Node(105);
    b.m_facing = HexSide::South;
    b.m_secondFacing = HexSide::None;
    b.m_counters[0] = 0;
    EXPECT_EQ(a, b);
    int PlacedUnit::*fields[]
        = { &PlacedUnit::m_strength, &PlacedUnit::m_actionPoints, &PlacedUnit::m_rating, &PlacedUnit::m_value };
    for (auto field : fields) {
        PlacedUnit c = a;
        ++(c.*field);
        EXPECT_NE(a, c);
    }
    PlacedUnit d = a;
    d.m_status = kUnitHidden;
    EXPECT_NE(a, d);
    d = a;
    d.m_type = Type(10501);
    EXPECT_NE(a, d);
}

TEST_F(PlacedUnitTest, ReadPassengersRideOnlyInACarrierJustAboveThem)
{
    struct Case {
        const char* why;
        std::vector<std::uint32_t> above; // types already read, top first
        bool rides;
    };
    const Case cases[] = {
        { "nothing above", {}, false },
        { "a carrier above", { 10501 }, true },
        { "a unit that cannot carry above", { 10101 }, false },
    };
    for (const Case& c : cases) {
        UnitList units;
        for (std::uint32_t id : c.above)
            units.Append(PlacedUnit(Type(id), nullptr));
        PlacedUnit passenger(Type(10101), nullptr);
        passenger.m_status = kUnitCarried;
        AppendReadUnit(units, passenger);
        EXPECT_EQ((units.Last()->value.m_status & kUnitCarried) != 0, c.rides) << c.why;
        if (!c.above.empty()) {
            EXPECT_EQ((units.Head()->value.m_status & kUnitCarrying) != 0, c.rides) << c.why;
        }
    }
}

TEST_F(PlacedUnitTest, GroupLineRoundTrips)
{
    ReinforcementGroup group(2, 3);
    EXPECT_EQ(group.m_time, 0);
    EXPECT_EQ(group.m_chance, 100);
    EXPECT_EQ(group.GetSide(), -1);
    EXPECT_EQ(group.GetNation(), -1);

    group.m_time = 6;
    group.m_chance = 50;
    group.m_placement = 3;
    group.m_scatterSteps = 4;
    group.m_units.Append(PlacedUnit(Type(10501), nullptr));
    PlacedUnit carried(Type(10101), Node(105));
    carried.m_status = kUnitCarried | kUnitInAssault;
    group.m_units.Append(carried);
    std::ostringstream out;
    ASSERT_TRUE(group.Write(out));
    EXPECT_EQ(out.str(),
        "2 3 6 50 2 3 4\n"
        "    10501 -1 1 1 4 100 6 0 0 3 3 3\n"
        "    10101 105 1 1 6 100 6 0 16 3 3 3\n");
    EXPECT_EQ(group.GetSide(), 0);
    EXPECT_EQ(group.GetNation(), 10);

    // The reader takes the line after the column and row.
    std::istringstream in(out.str().substr(4));
    ReinforcementGroup back(2, 3);
    back.m_units.Append(PlacedUnit());
    ASSERT_TRUE(back.Read(in, m_types, m_tree, true, true));
    ASSERT_EQ(back.m_units.Count(), 2u);
    EXPECT_EQ(back.m_units.Head()->value.m_status, static_cast<std::uint32_t>(kUnitCarrying))
        << "the carrier is rebuilt";
    EXPECT_EQ(back.m_units.Last()->value.m_status, static_cast<std::uint32_t>(kUnitCarried));
    EXPECT_EQ(back.m_placement, 3u);
    EXPECT_EQ(back.m_scatterSteps, 4);
    std::ostringstream again;
    back.Write(again);
    EXPECT_EQ(again.str(), out.str());
}

TEST_F(PlacedUnitTest, GroupReadingByVersionAndBadInput)
{
    struct Case {
        const char* text;
        bool withPlacement;
        bool withCounters;
        bool ok;
        std::size_t units;
    } cases[] = {
        { "4 100 0", false, false, true, 0 },
        { "4 100 0 1 2", true, true, true, 0 },
        { "4 100 1\n    10101 -1 1 1 6 100 6 0 0", false, false, true, 1 },
        { "4 100 1 1 2\n    10101 -1 1 1 6 100 6 0 0 3 3 3", true, true, true, 1 },
        { "4 100 2 0 0\n    10101 -1 1 1 6 100 6 0 0 3 3 3", true, true, false, 0 }, // one unit short
        { "4 100 1 0 0\n    4242 -1 1 1 6 100 6 0 0 3 3 3", true, true, false, 0 }, // no such type
        { "4 100 2000000000 0 0\n    10101 -1 1 1 6 100 6 0 0 3 3 3", true, true, false, 0 },
        { "4 100 -1 0 0", true, true, false, 0 },
        { "4 100", true, true, false, 0 },
        { "4 100 0 x 0", true, true, false, 0 },
    };
    for (const Case& c : cases) {
        ReinforcementGroup group(0, 0);
        std::istringstream in(c.text);
        EXPECT_EQ(group.Read(in, m_types, m_tree, c.withPlacement, c.withCounters), c.ok) << c.text;
        EXPECT_EQ(group.m_units.Count(), c.units) << c.text;
    }

    // A carried unit behind a unit that cannot carry is unloaded.
    ReinforcementGroup group(0, 0);
    std::istringstream in("0 100 2 0 0\n 10401 103 1 1 1 100 7 0 0 3 3 3\n 10101 -1 1 1 6 100 6 0 16 3 3 3\n");
    ASSERT_TRUE(group.Read(in, m_types, m_tree, true, true));
    EXPECT_EQ(group.m_units.Head()->value.m_status, 0u);
    EXPECT_EQ(group.m_units.Last()->value.m_status, 0u);
    EXPECT_EQ(group.GetNation(), 10);
}
