// Headquarters supply, ammunition and artillery availability, with the draws
// of the global generator worked out by hand from its formula
// (state = state * 1103515245 + 12345 mod 2^32, U = (state & 0x7fffffff) / 2^31).
//
// After SetRandomSeed(0):
//   U1 0.000006  U2 0.655154  U3 0.304814  U4 0.674961  U5 0.106768
//   U6 0.516574  U7 0.489666  U8 0.602472  U9 0.369955  U10 0.256667
//   U11 0.374182 U12 0.825585 U13 0.172720 U14 0.297812 U15 0.643531
//   U16 0.789655 U17 0.987811 U18 0.800571 U19 0.464257 U20 0.538999
//   U21 0.625493 U22 0.249992 U23 0.703888 U24 0.716284
// After SetRandomSeed(1): U1 0.513870  U2 0.175741  U3 0.308652
//
// The organisation of side 0 (nation 10) in every test:
//   regiment (level 3): its headquarters; battalion 1 (level 2): its
//   headquarters, its leader, company 1 (level 1): its headquarters, rifles
//   and a leader; battalion 2 (level 2): its headquarters, company 2
//   (level 1): rifles.
// Headquarters, leaders and artillery answer to their parent formation;
// rifles to their company (a company has no sub-formation).

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "model/Random.h"
#include "tests/rules/MoveGame.h"

namespace {

constexpr std::uint32_t kHq = 10390; // category 3: supplies
constexpr std::uint32_t kGun = 10190; // fires indirectly
constexpr std::uint32_t kRifles = 10290;
constexpr std::uint32_t kLeader = 10490;
constexpr std::uint32_t kEnemyGun = 1190; // side 1, fires indirectly
constexpr std::uint32_t kEnemyRifles = 1290;

constexpr std::uint32_t kUsed = kUnitUsedSinceSupply;

std::uint32_t Advance(std::uint32_t state, int draws)
{
    for (int i = 0; i < draws; ++i)
        state = state * 1103515245u + 12345u;
    return state;
}

std::unique_ptr<FormationNode> Formation(int level)
{
    auto node = std::make_unique<FormationNode>(level);
    node->m_code = 1000000; // nation 10
    return node;
}

// A leaf of nation 10 with the category digit.
std::unique_ptr<OrgNode> Leaf(int category, const char* name = "")
{
    auto node = std::make_unique<OrgNode>(0);
    node->m_code = 10000 + static_cast<std::uint32_t>(category) * 100;
    node->m_nodeName = name;
    return node;
}

} // namespace

class SupplyTest : public MoveGameTest {
protected:
    void SetUp() override
    {
        NewType(kHq, "HQ", 0);
        NewType(kGun, "Howitzer", kTargetIndirect);
        NewType(kRifles, "Rifles", 0);
        NewType(kLeader, "Leader", 0);
        NewType(kEnemyGun, "Haubitze", kTargetIndirect);
        NewType(kEnemyRifles, "Schuetzen", 0);
        MakeMap(8, 8);
        m_game.m_map.SetSide(0);
        m_game.m_ammo[0] = 40;
        m_game.m_ammo[1] = 40;
        m_game.m_advantage = 0;

        m_regiment = Formation(3);
        m_regimentHq = m_regiment->AppendChild(Leaf(3));
        m_battalion1 = m_regiment->AppendChild(Formation(2));
        m_battalion1Hq = m_battalion1->AppendChild(Leaf(3));
        m_battalion1Leader = m_battalion1->AppendChild(Leaf(4, "Maj. Baker"));
        m_company1 = m_battalion1->AppendChild(Formation(1));
        m_company1Hq = m_company1->AppendChild(Leaf(3));
        m_rifles1 = m_company1->AppendChild(Leaf(2));
        m_company1Leader = m_company1->AppendChild(Leaf(4, "Capt. Able"));
        m_battalion2 = m_regiment->AppendChild(Formation(2));
        m_battalion2Hq = m_battalion2->AppendChild(Leaf(3));
        m_company2 = m_battalion2->AppendChild(Formation(1));
        m_rifles2 = m_company2->AppendChild(Leaf(2));
    }

    // The units go before the nodes they point to.
    void TearDown() override { m_game.ResetBattle(); }

    void NewType(std::uint32_t id, const char* name, std::uint32_t targetFlags)
    {
        ASSERT_EQ(Type(id), nullptr) << id;
        PlatoonType type;
        type.m_id = id;
        type.m_fullStrength = 3;
        type.m_name = name;
        type.m_targetFlags = targetFlags;
        m_game.m_platoonTypes.Append(type);
    }

    // Appends a unit at the bottom of the hex's stack.
    UnitNode* Put(int x, int y, std::uint32_t id, OrgNode* node, std::uint32_t status = 0)
    {
        PlacedUnit unit(Type(id), node);
        unit.m_status = status;
        return m_game.m_stacks.At(x, y).Append(unit);
    }
    OffMapUnit& PutOffMap(std::uint32_t id, OrgNode* node, std::uint32_t status)
    {
        PlacedUnit unit(id ? Type(id) : nullptr, node);
        unit.m_status = status;
        return m_game.m_offMapUnits.Append(OffMapUnit { unit, -2, 3 })->value;
    }
    void List(UnitNode* unit, int x, int y) { m_game.m_supplyList.Append(SupplyEntry { unit, x, y }); }

    static bool Has(const UnitNode* unit, std::uint32_t bit) { return (unit->value.m_status & bit) != 0; }
    std::uint32_t State() { return GlobalRandomGenerator().State(); }

    struct Report {
        std::string text;
        std::vector<HexPos> hexes;
        std::vector<int> offMap;
    };
    Report Check()
    {
        String text("old text");
        HexList hexes;
        std::vector<int> offMap;
        m_game.CheckSupply(text, hexes, offMap);
        Report report { text.c_str(), {}, offMap };
        for (const HexPos& hex : hexes)
            report.hexes.push_back(hex);
        return report;
    }

    std::unique_ptr<FormationNode> m_regiment;
    OrgNode* m_regimentHq = nullptr;
    FormationNode* m_battalion1 = nullptr;
    OrgNode* m_battalion1Hq = nullptr;
    OrgNode* m_battalion1Leader = nullptr;
    FormationNode* m_company1 = nullptr;
    OrgNode* m_company1Hq = nullptr;
    OrgNode* m_rifles1 = nullptr;
    OrgNode* m_company1Leader = nullptr;
    FormationNode* m_battalion2 = nullptr;
    OrgNode* m_battalion2Hq = nullptr;
    FormationNode* m_company2 = nullptr;
    OrgNode* m_rifles2 = nullptr;
};

TEST_F(SupplyTest, AdvantageChanceFavoursOneSide)
{
    struct Case {
        int advantage;
        int side;
        double chance;
    };
    const Case cases[] = {
        { 30, 0, 0.3 },
        { 30, 1, 0.0 },
        { -30, 1, 0.3 },
        { -30, 0, 0.0 },
        { 0, 0, 0.0 },
        { 0, 1, 0.0 },
        { 30, 2, 0.0 },
        { std::numeric_limits<int>::min(), 1, 21474836.48 },
    };
    for (const Case& c : cases) {
        m_game.m_advantage = c.advantage;
        EXPECT_DOUBLE_EQ(m_game.GetAdvantageChance(c.side), c.chance) << c.advantage << " " << c.side;
    }
}

TEST_F(SupplyTest, SupplyDraw)
{
    // Seed 1: U1 0.513870, U2 0.175741.
    struct Case {
        int side;
        int ammo;
        int advantage;
        bool success;
        int draws;
    };
    const Case cases[] = {
        { 0, 100, 0, true, 1 }, // U1 < 1.00
        { 0, 52, 0, true, 1 }, // U1 < 0.52
        { 0, 51, 0, false, 2 }, // U1 >= 0.51, U2 >= 0
        { 0, 0, 20, true, 2 }, // U1 >= 0, U2 < 0.20
        { 0, 0, 17, false, 2 }, // U2 >= 0.17
        { 1, 0, 20, false, 2 }, // the advantage favours side 0
        { 1, 0, -20, true, 2 },
        { 1, 100, -20, true, 1 },
        { 0, -50, 0, false, 2 },
        { 0, std::numeric_limits<int>::max(), 0, true, 1 },
        { 1, 0, std::numeric_limits<int>::min(), true, 2 },
        { 0, 0, std::numeric_limits<int>::min(), false, 2 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.side << " " << c.ammo << " " << c.advantage);
        m_game.m_ammo[c.side] = c.ammo;
        m_game.m_advantage = c.advantage;
        SetRandomSeed(1);
        EXPECT_EQ(m_game.SupplyDraw(c.side), c.success);
        EXPECT_EQ(State(), Advance(1, c.draws));
    }
}

TEST_F(SupplyTest, HeadquartersSupply)
{
    // Seed 1: U1 0.513870, U2 0.175741. The rifles stand at (2,6); the
    // battalion's headquarters at (2,2) is 4 hexes away, so at range 8
    // p = 8 / 12 = 0.666667, halved 0.333333 when it is disrupted.
    UnitNode* regimentHq = Put(1, 1, kHq, m_regimentHq);
    UnitNode* battalionHq = Put(2, 2, kHq, m_battalion1Hq);
    UnitNode* secondBattalionHq = Put(2, 3, kHq, m_battalion1Hq, kUnitUnavailable);
    struct Case {
        const char* name;
        std::vector<UnitNode*> listed;
        const OrgNode* node;
        int range;
        std::uint32_t battalionStatus;
        int advantage;
        bool success;
        int draws;
    };
    const Case cases[] = {
        // The lowest superior, able: U1 < 0.666667.
        { "lowest able superior", { regimentHq, battalionHq }, m_company1, 8, 0, 0, true, 1 },
        { "listed the other way round", { battalionHq, regimentHq }, m_company1, 8, 0, 0, true, 1 },
        // The lowest superior decides alone, even with an able one above it.
        { "lowest superior unable", { regimentHq, battalionHq }, m_company1, 8, kUnitUnavailable, 0, false, 0 },
        { "range 0", { regimentHq, battalionHq }, m_company1, 0, 0, 0, true, 0 },
        // U1 >= 0.333333, then U2 >= 0 (no advantage).
        { "disrupted superior", { regimentHq, battalionHq }, m_company1, 8, kUnitDisrupted, 0, false, 2 },
        // U2 < 0.20 for side 0, the side of the company.
        { "disrupted, advantage", { regimentHq, battalionHq }, m_company1, 8, kUnitDisrupted, 20, true, 2 },
        { "disrupted, other side's advantage", { regimentHq, battalionHq }, m_company1, 8, kUnitDisrupted, -20, false,
            2 },
        { "no superior listed", { battalionHq }, m_regiment.get(), 8, 0, 0, false, 0 },
        { "own headquarters is no superior", { battalionHq }, m_battalion1, 8, 0, 0, false, 0 },
        { "no node", { regimentHq, battalionHq }, nullptr, 8, 0, 0, false, 0 },
        { "nothing listed", {}, m_company1, 8, 0, 0, false, 0 },
        // Of two headquarters of one node the first listed supplies.
        { "first of equals able", { battalionHq, secondBattalionHq }, m_company1, 8, 0, 0, true, 1 },
        { "first of equals unable", { secondBattalionHq, battalionHq }, m_company1, 8, 0, 0, false, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_game.m_supplyList.Free();
        for (UnitNode* unit : c.listed) {
            const int row = unit == regimentHq ? 1 : unit == battalionHq ? 2 : 3;
            List(unit, unit == regimentHq ? 1 : 2, row);
        }
        battalionHq->value.m_status = c.battalionStatus;
        m_game.m_advantage = c.advantage;
        SetRandomSeed(1);
        EXPECT_EQ(m_game.CanHqSupply(c.node, 2, 6, c.range), c.success);
        EXPECT_EQ(State(), Advance(1, c.draws));
    }
}

TEST_F(SupplyTest, CommandRangeByLevel)
{
    UnitNode* hq = Put(2, 2, kHq, m_battalion1Hq);
    const SupplyEntry entry { hq, 2, 2 };
    const int levels[][2] = { { 1, 4 }, { 2, 8 }, { 3, 15 }, { 4, 15 }, { 5, 30 }, { 6, 90 }, { 7, 0 }, { 0, 0 },
        { -3, 0 }, { 1000, 0 } };
    for (const auto& level : levels) {
        m_battalion1->m_level = level[0];
        EXPECT_EQ(m_game.GetCommandRange(entry), level[1]) << level[0];
    }
    m_battalion1->m_level = 2;
    EXPECT_EQ(m_game.GetCommandRange(SupplyEntry {}), 0);
    EXPECT_EQ(m_game.GetCommandRange(SupplyEntry { Put(3, 3, kHq, nullptr), 3, 3 }), 0);
    // A node at the top of the tree has no command node.
    EXPECT_EQ(m_game.GetCommandRange(SupplyEntry { Put(3, 4, kHq, m_regiment.get()), 3, 4 }), 0);
    // A rifle platoon's command node is its company.
    EXPECT_EQ(m_game.GetCommandRange(SupplyEntry { Put(3, 5, kRifles, m_rifles1), 3, 5 }), 4);
}

TEST_F(SupplyTest, CommandRangeUnderCommandControl)
{
    // The battalion's headquarters (level 2, range 8) with the battalion's
    // leaders of the case in its hex, and the company's leader of strength 9,
    // who commands another node and never counts.
    struct Case {
        const char* name;
        bool commandControl;
        int percent;
        std::vector<int> leaders;
        int range;
    };
    const int most = std::numeric_limits<int>::max();
    const Case cases[] = {
        { "option off", false, 150, { 5 }, 8 },
        { "no leader", true, 100, {}, 8 },
        { "strongest leader", true, 100, { 3, 5 }, 13 }, // (8 + 5) x 100 / 100
        { "rounded toward zero", true, 150, { 5 }, 19 }, // 13 x 150 / 100 = 19.5
        { "half", true, 50, {}, 4 },
        { "nothing", true, 0, { 5 }, 0 },
        { "negative percentage", true, -20, { 5 }, 0 },
        { "negative strength", true, 100, { -50 }, 8 },
        { "held to the int range", true, most, { most }, most },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeMap(8, 8);
        m_game.m_options = c.commandControl ? kOptionCommandControl : 0;
        for (int& value : m_game.m_parameters.m_nationPercent[10])
            value = c.percent;
        UnitNode* hq = Put(2, 2, kHq, m_battalion1Hq);
        Put(2, 2, kLeader, m_company1Leader)->value.m_strength = 9;
        for (int strength : c.leaders)
            Put(2, 2, kLeader, m_battalion1Leader)->value.m_strength = strength;
        EXPECT_EQ(m_game.GetCommandRange(SupplyEntry { hq, 2, 2 }), c.range);
    }
    // A hex off the map has no leaders.
    m_game.m_options = kOptionCommandControl;
    for (int& value : m_game.m_parameters.m_nationPercent[10])
        value = 100;
    EXPECT_EQ(m_game.GetCommandRange(SupplyEntry { Put(2, 3, kHq, m_battalion1Hq), -1, 40 }), 8);
}

// The whole report on seed 0 with a supply percentage of 25 and an advantage
// of 10 for side 0. Draws, in order:
// Headquarters (level 3, then level 2 in list order):
//   regiment (1,1), able:        U1 0.000006 < 0.25: stays able.
//   battalion 2 (1,4), unable:   U2 0.655154 >= 0.25, U3 0.304814 >= 0.10;
//     superior: the regiment, 3 hexes away at range 8: p = 8 / 11 = 0.727273;
//     U4 0.674961 < p: able again, (1,4) listed.
//   battalion 1 (2,2), used:     unable whatever the draws, (2,2) listed.
//   company 1 (2,4), unable, level 1: not decided; counts with battalion 1.
// Ammunition (artillery skipped):
//   (3,3) rifles of company 2, used:  U5 0.106768 < 0.25: nothing.
//         rifles of company 1, used:  U6 0.516574, U7 0.489666 fail; their
//           headquarters (battalion 1) is unable: low (1); (3,3) listed.
//         leader of company 1, used:  U8 0.602472, U9 0.369955 fail; the
//           headquarters fails; a leader never runs low.
//   (3,5) rifles of company 2, low:   battalion 2 at (1,4) is 2 hexes away,
//           p = 8 / 10 = 0.8; U10 0.256667 < p: resupplied; (3,5) listed.
//         rifles of company 2, used, isolated: U11 0.374182, U12 0.825585
//           fail; isolated, so no headquarters draw: low (2).
//   (4,4) rifles of company 1, low:   battalion 1 unable, no draw: low (3).
// On-map artillery:
//   (5,5) used:                 U13 0.172720 < 0.25: available.
//   (5,6) used:                 U14 0.297812, U15 0.643531 fail: unavailable
//                               (1); (5,6) listed.
//   (6,2) unavailable:          U16 0.789655, U17 0.987811 fail: stays (2).
//   (6,6) unavailable, isolated: no draw: stays (3).
// Off-map artillery (positions count side 1's entry):
//   1 side 1: skipped, its used bit stays.
//   2 used:                     U18 0.800571, U19 0.464257 fail: unavailable
//                               (4); position 2 listed.
//   3 unavailable:              U20 0.538999, U21 0.625493 fail: stays (5).
//   4 unavailable:              U22 0.249992 < 0.25: available; position 4.
//   5 used and unavailable:     U23 0.703888, U24 0.716284 fail: stays (6),
//                               not listed, since nothing changed.
// 24 draws.
TEST_F(SupplyTest, CheckSupplyRunsThePassesInOrder)
{
    m_game.m_ammo[0] = 25;
    m_game.m_advantage = 10;
    UnitNode* regimentHq = Put(1, 1, kHq, m_regimentHq);
    UnitNode* battalion2Hq = Put(1, 4, kHq, m_battalion2Hq, kUnitUnavailable);
    UnitNode* battalion1Hq = Put(2, 2, kHq, m_battalion1Hq, kUsed);
    UnitNode* company1Hq = Put(2, 4, kHq, m_company1Hq, kUnitUnavailable);
    UnitNode* riflesD = Put(3, 3, kRifles, m_rifles2, kUsed);
    UnitNode* riflesA = Put(3, 3, kRifles, m_rifles1, kUsed);
    UnitNode* leader = Put(3, 3, kLeader, m_company1Leader, kUsed);
    UnitNode* riflesB = Put(3, 5, kRifles, m_rifles2, kUnitLowAmmo | kUsed);
    UnitNode* riflesC = Put(3, 5, kRifles, m_rifles2, kUsed | kUnitIsolated);
    UnitNode* riflesE = Put(4, 4, kRifles, m_rifles1, kUnitLowAmmo);
    UnitNode* gun1 = Put(5, 5, kGun, m_battalion2Hq, kUsed);
    UnitNode* gun2 = Put(5, 6, kGun, m_battalion2Hq, kUsed);
    UnitNode* gun5 = Put(6, 2, kGun, m_battalion2Hq, kUnitUnavailable);
    UnitNode* gun3 = Put(6, 6, kGun, m_battalion2Hq, kUnitUnavailable | kUnitIsolated);
    UnitNode* enemy = Put(7, 3, kEnemyRifles, nullptr, kUsed);
    OffMapUnit& enemyGun = PutOffMap(kEnemyGun, nullptr, kUsed);
    OffMapUnit& offA = PutOffMap(kGun, nullptr, kUsed);
    OffMapUnit& offB = PutOffMap(kGun, nullptr, kUnitUnavailable);
    OffMapUnit& offC = PutOffMap(kGun, nullptr, kUnitUnavailable);
    OffMapUnit& offD = PutOffMap(kGun, nullptr, kUsed | kUnitUnavailable);

    SetRandomSeed(0);
    const Report report = Check();
    EXPECT_EQ(State(), Advance(0, 24));
    EXPECT_EQ(report.text,
        "2 HQs unable to provide supply\n"
        "6 artillery units unavailable\n"
        "3 units low on ammo\n");
    EXPECT_EQ(report.hexes, (std::vector<HexPos> { { 1, 4 }, { 2, 2 }, { 3, 3 }, { 3, 5 }, { 5, 6 } }));
    EXPECT_EQ(report.offMap, (std::vector<int> { 2, 4 }));

    EXPECT_EQ(m_game.m_supplyList.Count(), 4u);
    EXPECT_FALSE(Has(regimentHq, kUnitUnavailable));
    EXPECT_FALSE(Has(battalion2Hq, kUnitUnavailable));
    EXPECT_TRUE(Has(battalion1Hq, kUnitUnavailable));
    EXPECT_FALSE(Has(battalion1Hq, kUsed));
    EXPECT_TRUE(Has(company1Hq, kUnitUnavailable));
    EXPECT_FALSE(Has(riflesD, kUnitLowAmmo | kUsed));
    EXPECT_TRUE(Has(riflesA, kUnitLowAmmo));
    EXPECT_FALSE(Has(riflesA, kUsed));
    EXPECT_FALSE(Has(leader, kUnitLowAmmo | kUsed));
    EXPECT_FALSE(Has(riflesB, kUnitLowAmmo | kUsed));
    EXPECT_TRUE(Has(riflesC, kUnitLowAmmo));
    EXPECT_TRUE(Has(riflesE, kUnitLowAmmo));
    EXPECT_FALSE(Has(gun1, kUnitUnavailable | kUsed));
    EXPECT_TRUE(Has(gun2, kUnitUnavailable));
    EXPECT_FALSE(Has(gun2, kUsed));
    EXPECT_TRUE(Has(gun5, kUnitUnavailable));
    EXPECT_TRUE(Has(gun3, kUnitUnavailable));
    EXPECT_TRUE(Has(enemy, kUsed));
    EXPECT_EQ(enemyGun.unit.m_status, kUsed);
    EXPECT_EQ(offA.unit.m_status, kUnitUnavailable);
    EXPECT_EQ(offB.unit.m_status, kUnitUnavailable);
    EXPECT_EQ(offC.unit.m_status, 0u);
    EXPECT_EQ(offD.unit.m_status, kUnitUnavailable);
}

// One of each, on seed 0 with no supply at all: every supply draw takes two
// draws and fails (U1 0.000006 is not below 0).
//   battalion 1 (2,2), used: unable, no draw.
//   rifles of company 1 (3,3), used: U1, U2 fail; battalion 1 unable: low.
//   gun (5,5), used: U3, U4 fail: unavailable.
// The next report, with a supply percentage of 100:
//   battalion 1: U5 0.106768 < 1: able again.
//   rifles, low: battalion 1 one hex away (NW of (3,3)), p = 8 / 9 = 0.888889;
//     U6 0.516574 < p: resupplied.
//   gun, unavailable: U7 0.489666 < 1: available.
TEST_F(SupplyTest, OneOfEachAndRecoveryAtTheNextReport)
{
    m_game.m_ammo[0] = 0;
    UnitNode* hq = Put(2, 2, kHq, m_battalion1Hq, kUsed);
    UnitNode* rifles = Put(3, 3, kRifles, m_rifles1, kUsed);
    UnitNode* gun = Put(5, 5, kGun, m_battalion1Hq, kUsed);
    SetRandomSeed(0);
    Report report = Check();
    EXPECT_EQ(State(), Advance(0, 4));
    EXPECT_EQ(report.text,
        "1 HQ unable to provide supply\n"
        "1 artillery unit unavailable\n"
        "1 unit low on ammo\n");
    EXPECT_EQ(report.hexes, (std::vector<HexPos> { { 2, 2 }, { 3, 3 }, { 5, 5 } }));
    EXPECT_TRUE(report.offMap.empty());

    m_game.m_ammo[0] = 100;
    report = Check();
    EXPECT_EQ(State(), Advance(0, 7));
    EXPECT_EQ(report.text, "");
    EXPECT_EQ(report.hexes, (std::vector<HexPos> { { 2, 2 }, { 3, 3 }, { 5, 5 } }));
    EXPECT_FALSE(Has(hq, kUnitUnavailable));
    EXPECT_FALSE(Has(rifles, kUnitLowAmmo));
    EXPECT_FALSE(Has(gun, kUnitUnavailable));
}

// Side 1 to move: its units are examined and side 0's are left alone; the
// supply percentage of side 1 counts. With 100 nothing draws twice:
//   side 1's gun (4,4), used: U1 < 1: available.
//   off-map: position 1 (side 0, used) skipped; position 2 (side 1,
//   unavailable): U2 < 1: available, position 2 listed.
TEST_F(SupplyTest, TheOtherSideToMove)
{
    m_game.m_map.SetSide(1);
    m_game.m_ammo[0] = 0;
    m_game.m_ammo[1] = 100;
    UnitNode* own = Put(2, 2, kRifles, m_rifles1, kUsed);
    UnitNode* gun = Put(4, 4, kEnemyGun, nullptr, kUsed);
    PutOffMap(kGun, nullptr, kUsed);
    PutOffMap(kEnemyGun, nullptr, kUnitUnavailable);
    SetRandomSeed(0);
    const Report report = Check();
    EXPECT_EQ(State(), Advance(0, 2));
    EXPECT_EQ(report.text, "");
    EXPECT_TRUE(report.hexes.empty());
    EXPECT_EQ(report.offMap, (std::vector<int> { 2 }));
    EXPECT_TRUE(Has(own, kUsed));
    EXPECT_FALSE(Has(gun, kUsed | kUnitUnavailable));
    EXPECT_TRUE(m_game.m_supplyList.IsEmpty());
}

// Units without type or node: nothing draws for them and nothing breaks.
//   (2,2) a hex whose top unit has no type belongs to nobody: skipped.
//   (3,3) headquarters without node: listed, never decided; unable, it
//         counts in the line.
//   (4,4) headquarters whose node claims level 99: not decided either.
//   (5,5) rifles without node, used: U1, U2 fail (no supply); no superior
//         for no node: low.
//   off-map: position 1 without type skipped; position 2 used: U3, U4 fail:
//   unavailable, position 2 listed.
TEST_F(SupplyTest, HostileUnitsAndNodes)
{
    m_game.m_ammo[0] = 0;
    m_game.m_stacks.At(2, 2).Append(PlacedUnit());
    UnitNode* hidden = Put(2, 2, kRifles, m_rifles1, kUsed);
    Put(3, 3, kHq, nullptr, kUnitUnavailable);
    auto strange = Formation(99);
    OrgNode* strangeHq = strange->AppendChild(Leaf(3));
    Put(4, 4, kHq, strangeHq);
    Put(5, 5, kRifles, nullptr, kUsed);
    PutOffMap(0, nullptr, kUsed);
    PutOffMap(kGun, nullptr, kUsed);
    SetRandomSeed(0);
    const Report report = Check();
    EXPECT_EQ(State(), Advance(0, 4));
    EXPECT_EQ(report.text,
        "1 HQ unable to provide supply\n"
        "1 artillery unit unavailable\n"
        "1 unit low on ammo\n");
    EXPECT_EQ(report.hexes, (std::vector<HexPos> { { 5, 5 } }));
    EXPECT_EQ(report.offMap, (std::vector<int> { 2 }));
    EXPECT_TRUE(Has(hidden, kUsed));
    EXPECT_EQ(m_game.m_supplyList.Count(), 2u);
}
