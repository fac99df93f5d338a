#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/GameHexMarks.h"
#include "model/Random.h"
#include "tests/model/SampleBattle.h"

namespace {

// Platoon types of these tests. Nation 0 fights on side 0, nation 1 on side 1.
constexpr std::uint32_t kRifle = 101;
constexpr std::uint32_t kTruck = 121; // a vehicle
constexpr std::uint32_t kEnemy = 1101;
constexpr std::uint32_t kEnemyTank = 1201; // a vehicle
constexpr std::uint32_t kEnemyGun = 1311; // artillery

// The first seed whose first draws of the global generator satisfy the test.
std::uint32_t SeedWhere(int draws, const std::function<bool(const std::vector<double>&)>& wanted)
{
    for (std::uint32_t seed = 1;; ++seed) {
        CRandomGenerator generator(seed);
        std::vector<double> values;
        for (int i = 0; i < draws; ++i)
            values.push_back(generator.Next());
        if (wanted(values))
            return seed;
    }
}

// The generator's state after n draws from a seed.
std::uint32_t StateAfter(std::uint32_t seed, int draws)
{
    CRandomGenerator generator(seed);
    for (int i = 0; i < draws; ++i)
        generator.Next();
    return generator.State();
}

// The 5 x 4 sample map and a few platoon types; units are told apart by
// their m_value tags. The clock starts at time 20 of 60.
class PhaseChangeTest : public SampleBattleTest {
protected:
    void SetUp() override
    {
        Build({ MakeType(kRifle, 6, kMoveFoot), MakeType(kTruck, 12, 0), MakeType(kEnemy, 6, kMoveFoot),
                  MakeType(kEnemyTank, 10, 0), MakeType(kEnemyGun, 0, 0) },
            {}, false);
        SetClock(0, 0, 20);
    }

    void SetClock(int side, int phase, int counter)
    {
        m_game->m_map.SetSide(side);
        m_game->m_map.SetPhase(phase);
        m_game->m_map.SetCounter(counter);
    }

    // Units of these tests differ by their action points.
    PlacedUnit MakeUnit(
        std::uint32_t id, int tag, int actionPoints, std::uint32_t status, OrgNode* node = nullptr) const
    {
        PlacedUnit unit(Type(id), node);
        unit.m_value = tag;
        unit.m_actionPoints = actionPoints;
        unit.m_status = status;
        return unit;
    }

    PlacedUnit& Add(int x, int y, std::uint32_t id, int tag, int actionPoints = 20, std::uint32_t status = 0,
        OrgNode* node = nullptr)
    {
        return m_game->m_stacks.At(x, y).Append(MakeUnit(id, tag, actionPoints, status, node))->value;
    }

    // A group of the type's side due at the time with the chance.
    void AddGroup(std::uint32_t id, int time, int chance)
    {
        ReinforcementGroup group(0, 0);
        group.m_time = time;
        group.m_chance = chance;
        group.m_units.Append(MakeUnit(id, 0, 100, 0));
        m_game->m_reinforcements.Append(std::move(group));
    }

    std::vector<int> Chances() const
    {
        std::vector<int> chances;
        for (const ReinforcementGroup& group : m_game->m_reinforcements)
            chances.push_back(group.m_chance);
        return chances;
    }
};

std::vector<HexPos> Hexes(const HexList& list)
{
    std::vector<HexPos> hexes;
    for (const HexPos& hex : list)
        hexes.push_back(hex);
    return hexes;
}

TEST_F(PhaseChangeTest, ActionPointsAreRefilledForTheSideToMove)
{
    constexpr std::uint32_t kSaved = kUnitSavedForFiring | kUnitSavedForUnloading;
    struct Case {
        const char* name;
        bool threePhase;
        int side;
        int phase;
        int newSide;
        int newPhase;
        int rifle, truck, enemy, enemyTank; // action points after
    } const cases[] = {
        { "Initial phase: all of the side to move", false, 0, 0, 1, 0, 20, 20, 100, 100 },
        { "Defensive Fire phase: none", true, 0, 0, 1, 1, 20, 20, 0, 0 },
        { "Final phase: only vehicles", true, 1, 1, 0, 2, 0, 100, 20, 20 },
        { "a new turn's Initial phase", true, 0, 2, 1, 0, 20, 20, 100, 100 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Game().m_options = c.threePhase ? kOptionThreePhase : 0;
        SetClock(c.side, c.phase, 20);
        Add(0, 0, kRifle, 1, 20, kSaved);
        Add(0, 0, kTruck, 2, 20, kSaved);
        Add(3, 3, kEnemy, 3, 20, kSaved);
        Add(3, 3, kEnemyTank, 4, 20, kSaved);
        Game().m_offMapUnits.Append(OffMapUnit { MakeUnit(kRifle, 5, 10, 0), 0, 0 });
        Game().m_phaseBytes.At(2, 2) = 9;

        ASSERT_TRUE(Game().AdvancePhase(10));
        EXPECT_EQ(Game().m_map.GetSide(), c.newSide);
        EXPECT_EQ(Game().m_map.GetPhase(), c.newPhase);
        EXPECT_EQ(Game().m_phaseBytes.At(2, 2), 0);
        const std::vector<int> points { Game().GetStackNode(0, 0, 1)->value.m_actionPoints,
            Game().GetStackNode(0, 0, 2)->value.m_actionPoints, Game().GetStackNode(3, 3, 1)->value.m_actionPoints,
            Game().GetStackNode(3, 3, 2)->value.m_actionPoints };
        EXPECT_EQ(points, (std::vector<int> { c.rifle, c.truck, c.enemy, c.enemyTank }));
        // The side not to move gives up the points it saved.
        const std::uint32_t ownSaved = c.newSide == 0 ? kSaved : 0;
        const std::uint32_t enemySaved = c.newSide == 1 ? kSaved : 0;
        EXPECT_EQ(Game().GetStackNode(0, 0, 1)->value.m_status & kSaved, ownSaved);
        EXPECT_EQ(Game().GetStackNode(3, 3, 2)->value.m_status & kSaved, enemySaved);
        EXPECT_EQ(Game().m_offMapUnits.Head()->value.unit.m_actionPoints, 100);
    }
}

TEST_F(PhaseChangeTest, InitialPhaseClearsTheTurnsStatusBits)
{
    SetClock(0, 0, 20); // side 1 is next, in its Initial phase
    struct Case {
        const char* name;
        std::uint32_t id;
        std::uint32_t before;
        std::uint32_t after;
        bool underEnemy; // placed below a unit of side 0
    } const cases[] = {
        { "the side to move starts its turn afresh", kEnemy,
            kUnitFired | kUnitUnloaded | kUnitBanzai | kUnitTriedBanzai | kUnitDoubleTime | kUnitFatigued | kUnitMoved
                | kUnitAssaulted | kUnitFixed,
            kUnitUsedSinceSupply | kUnitFatigued | kUnitFixed, false },
        { "fatigue wears off after a turn without double time", kEnemy, kUnitFatigued, 0, false },
        { "artillery that moved was used", kEnemyGun, kUnitMoved, kUnitUsedSinceSupply, false },
        { "artillery that stood still was not", kEnemyGun, 0, 0, false },
        { "the other side keeps its turn's bits", kRifle,
            kUnitFired | kUnitUnloaded | kUnitFatigued | kUnitBanzai | kUnitMoved | kUnitAssaulted,
            kUnitUsedSinceSupply | kUnitFatigued | kUnitBanzai | kUnitMoved, false },
        { "a unit in a hex the enemy holds keeps its move", kEnemy, kUnitMoved, kUnitMoved, true },
    };
    // One hex per case; the case's unit is the bottom one.
    const HexPos hexes[] = { { 0, 3 }, { 1, 3 }, { 2, 3 }, { 3, 3 }, { 4, 3 }, { 0, 2 } };
    static_assert(std::size(hexes) == std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        if (cases[i].underEnemy)
            Add(hexes[i].column, hexes[i].row, kRifle, 0);
        Add(hexes[i].column, hexes[i].row, cases[i].id, 1, 20, cases[i].before);
    }
    Game().m_offMapUnits.Append(OffMapUnit { MakeUnit(kEnemy, 7, 0, kUnitFired | kUnitAssaulted), 0, 0 });
    Game().m_offMapUnits.Append(OffMapUnit { MakeUnit(kRifle, 8, 0, kUnitFired | kUnitAssaulted), 0, 0 });

    ASSERT_TRUE(Game().AdvancePhase(10));
    ASSERT_EQ(Game().m_map.GetSide(), 1);
    ASSERT_EQ(Game().m_map.GetPhase(), 0);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(Game().GetStackNode(hexes[i].column, hexes[i].row, 0)->value.m_status, cases[i].after);
    }
    EXPECT_EQ(Game().m_offMapUnits.Head()->value.unit.m_status, kUnitUnavailable)
        << "an off-map unit of the side to move that fired is unavailable";
    EXPECT_EQ(Game().m_offMapUnits.Last()->value.unit.m_status, kUnitFired);
}

TEST_F(PhaseChangeTest, OtherPhasesClearOnlyTheAssaultBit)
{
    Game().m_options = kOptionThreePhase;
    const std::uint32_t bits = kUnitFired | kUnitAssaulted | kUnitUnloaded | kUnitMoved | kUnitFatigued;
    Add(0, 0, kEnemy, 1, 20, bits);
    Add(1, 1, kRifle, 2, 20, bits);
    ASSERT_TRUE(Game().AdvancePhase(10));
    ASSERT_EQ(Game().m_map.GetPhase(), 1);
    EXPECT_EQ(Game().GetStackNode(0, 0, 1)->value.m_status, bits & ~kUnitAssaulted);
    EXPECT_EQ(Game().GetStackNode(1, 1, 1)->value.m_status, bits & ~kUnitAssaulted);
}

TEST_F(PhaseChangeTest, WhenTimeIsUpOnlyThePhaseBytesAreCleared)
{
    SetClock(1, 0, 55); // the second side ends the last turn
    Add(0, 0, kRifle, 1, 20, kUnitAssaulted | kUnitFired);
    Game().m_phaseBytes.At(4, 3) = 7;
    EXPECT_FALSE(Game().AdvancePhase(10));
    EXPECT_EQ(Game().m_phaseBytes.At(4, 3), 0);
    EXPECT_EQ(Game().m_map.GetSide(), 1);
    EXPECT_EQ(Game().m_map.GetCounter(), 55);
    EXPECT_EQ(Game().GetStackNode(0, 0, 1)->value.m_actionPoints, 20);
    EXPECT_EQ(Game().GetStackNode(0, 0, 1)->value.m_status, kUnitAssaulted | kUnitFired);
}

TEST_F(PhaseChangeTest, ReinforcementsArriveByTheirChanceDrawnInListOrder)
{
    SetClock(1, 0, 20);
    AddGroup(kEnemy, 10, 100); // 0: due, certain (a draw all the same)
    AddGroup(kEnemy, 30, 100); // 1: not yet due, no draw
    AddGroup(kRifle, 0, 100); // 2: the other side's, no draw
    AddGroup(kEnemy, 20, 0); // 3: due, never arrives (a draw)
    AddGroup(kEnemy, 0, 50); // 4: due, arrives when its draw is below 0.5
    struct Case {
        const char* name;
        bool lowDraw;
        std::vector<int> arrived;
        std::vector<int> chances;
    } const cases[] = {
        { "the third draw is low", true, { 0, 4 }, { 100, 100, 100, 0, 100 } },
        { "the third draw is high", false, { 0 }, { 100, 100, 100, 0, 50 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (ReinforcementGroup& group : Game().m_reinforcements)
            if (group.m_time == 0 && group.m_units.Head()->value.m_type == Type(kEnemy))
                group.m_chance = 50;
        const std::uint32_t seed
            = SeedWhere(3, [&](const std::vector<double>& u) { return (u[2] < 0.5) == c.lowDraw; });
        SetRandomSeed(seed);
        String text;
        std::vector<int> groups;
        Game().RollReinforcementArrivals(text, groups);
        EXPECT_EQ(groups, c.arrived);
        EXPECT_EQ(Chances(), c.chances);
        EXPECT_EQ(text.str(), "* Reinforcements have arrived *\n");
        EXPECT_EQ(GlobalRandomGenerator().State(), StateAfter(seed, 3)) << "one draw per due group of the side";
    }

    EXPECT_TRUE(Game().IsReinforcementDue());
    SetClock(1, 1, 20);
    EXPECT_FALSE(Game().IsReinforcementDue()) << "only in the Initial phase";
    SetClock(1, 0, 5);
    Game().m_reinforcements.Remove(Game().m_reinforcements.Head());
    EXPECT_FALSE(Game().IsReinforcementDue()) << "a due group whose chance is not certain";

    SetClock(0, 0, 5);
    Game().m_reinforcements.Free();
    AddGroup(kEnemy, 0, 100);
    String text = "old";
    std::vector<int> groups;
    Game().RollReinforcementArrivals(text, groups);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_TRUE(groups.empty());
}

// Formations of both sides: a battalion of side 1 with two companies of a
// platoon each, and a company of side 0 with one platoon.
class ReleaseTest : public PhaseChangeTest {
protected:
    void SetUp() override
    {
        PhaseChangeTest::SetUp();
        m_battalion = std::make_unique<FormationNode>(2);
        m_battalion->m_code = 100000;
        m_battalion->m_nodeName = "1st Battalion";
        m_companyA = Formation(*m_battalion, 100100, "A Company");
        m_platoonA = Platoon(*m_companyA, 1101);
        m_companyB = Formation(*m_battalion, 100200, "B Company");
        m_platoonB = Platoon(*m_companyB, 1101);
        m_allies = std::make_unique<FormationNode>(1);
        m_allies->m_nodeName = "Allied Company";
        m_allyPlatoon = Platoon(*m_allies, 101);
    }

    static FormationNode* Formation(FormationNode& parent, std::uint32_t code, const char* name)
    {
        auto* node = parent.AppendChild(std::make_unique<FormationNode>(1));
        node->m_code = code;
        node->m_nodeName = name;
        return node;
    }

    static OrgNode* Platoon(FormationNode& parent, std::uint32_t code)
    {
        auto* node = parent.AppendChild(std::make_unique<OrgNode>(0));
        node->m_code = code;
        return node;
    }

    void AddRelease(OrgNode* node, int time, int chance)
    {
        Game().m_releases.Append(ReleaseRecord { time, chance, node });
    }

    std::unique_ptr<FormationNode> m_battalion;
    std::unique_ptr<FormationNode> m_allies;
    FormationNode* m_companyA = nullptr;
    FormationNode* m_companyB = nullptr;
    OrgNode* m_platoonA = nullptr;
    OrgNode* m_platoonB = nullptr;
    OrgNode* m_allyPlatoon = nullptr;
};

TEST_F(ReleaseTest, ReleasedFormationsLetEveryUnitBelowThemAct)
{
    SetClock(1, 0, 20);
    AddRelease(m_companyA, 0, 100); // released: position 1
    AddRelease(m_allies.get(), 0, 100); // the other side's: no draw
    AddRelease(m_companyB, 50, 100); // not yet: no draw
    AddRelease(m_battalion.get(), 10, 0); // never
    AddRelease(m_companyB, 20, 100); // released: position 4 once the first is gone
    Add(0, 0, kEnemy, 1, 20, kUnitFixed, m_platoonA);
    Add(0, 0, kEnemy, 2, 20, kUnitFixed, m_companyA);
    Add(1, 1, kEnemy, 3, 20, kUnitFixed | kUnitMoved, m_platoonB);
    Add(2, 2, kRifle, 4, 20, kUnitFixed, m_allyPlatoon);
    Add(3, 3, kEnemy, 5, 20, kUnitFixed, m_companyA); // a second unit of the released node itself
    Add(4, 3, kEnemy, 6, 20, kUnitFixed, m_battalion.get());
    Add(4, 0, kEnemy, 7, 20, kUnitFixed);

    SetRandomSeed(77);
    String text;
    std::vector<int> positions;
    HexList hexes;
    Game().ReleaseUnits(text, positions, hexes);
    EXPECT_EQ(text.str(), "* Units that have been released *\nA Company\nB Company\n");
    EXPECT_EQ(positions, (std::vector<int> { 1, 4 }));
    EXPECT_EQ(GlobalRandomGenerator().State(), StateAfter(77, 3));
    std::vector<const OrgNode*> left;
    for (const ReleaseRecord& record : Game().m_releases)
        left.push_back(record.node);
    EXPECT_EQ(left, (std::vector<const OrgNode*> { m_allies.get(), m_companyB, m_battalion.get() }));

    auto status = [&](int x, int y, int position) { return Game().GetStackNode(x, y, position)->value.m_status; };
    EXPECT_EQ(status(0, 0, 1), 0u);
    EXPECT_EQ(status(0, 0, 2), 0u);
    EXPECT_EQ(status(1, 1, 1), kUnitMoved);
    EXPECT_EQ(status(3, 3, 1), 0u) << "every unit of a released node, not only the first met";
    EXPECT_EQ(status(2, 2, 1), kUnitFixed);
    EXPECT_EQ(status(4, 3, 1), kUnitFixed) << "a formation above a released one stays held";
    EXPECT_EQ(status(4, 0, 1), kUnitFixed);
    const std::vector<HexPos> expected { { 0, 0 }, { 1, 1 }, { 3, 3 } };
    EXPECT_EQ(Hexes(hexes), expected);

    // Nothing more is due: no text, no positions, no hexes.
    String again = "old";
    std::vector<int> none;
    HexList noHexes;
    Game().ReleaseUnits(again, none, noHexes);
    EXPECT_TRUE(again.IsEmpty());
    EXPECT_TRUE(none.empty());
    EXPECT_TRUE(noHexes.IsEmpty());
}

TEST_F(PhaseChangeTest, AirStrikesAreToldInThePhaseTheyBelongTo)
{
    struct Case {
        const char* name;
        int options;
        int phase;
        int power;
        const char* text;
    } const cases[] = {
        { "several", 0, 0, 3, "3 air strikes remaining\n" },
        { "one", 0, 0, 1, "1 air strike remaining\n" },
        { "none", 0, 0, 0, "" },
        { "three-phase turns: the Initial phase", kOptionThreePhase, 0, 2, "2 air strikes remaining\n" },
        { "three-phase turns: not the Final phase", kOptionThreePhase, 2, 2, "" },
        { "three-phase turns: not the Defensive Fire phase", kOptionThreePhase, 1, 2, "" },
        { "strikes of the Final phase", kOptionThreePhase | kOptionAirInFinalPhase, 2, 2, "2 air strikes remaining\n" },
        { "strikes of the Final phase: not the Initial", kOptionThreePhase | kOptionAirInFinalPhase, 0, 2, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Game().m_options = c.options;
        SetClock(1, c.phase, 20);
        Game().m_airPower[0] = 9;
        Game().m_airPower[1] = c.power;
        String text = "old";
        Game().GetAirStrikesText(text);
        EXPECT_EQ(text.str(), c.text);
    }
}

TEST_F(PhaseChangeTest, MarksOfTheSideToMoveExpire)
{
    SetClock(1, 0, 20);
    Game().m_smokeMark.At(0, 0) = 1;
    Game().m_hexFlags.At(0, 0) = CGameData::kHexSmoke | CGameData::kHexBlocked;
    Game().m_fireMark.At(0, 0) = 1;
    Game().m_starshellMark.At(2, 1) = 1;
    Game().m_smokeMark.At(3, 3) = 0;
    Game().m_hexFlags.At(3, 3) = CGameData::kHexSmoke;
    Game().m_fireMark.At(4, 0) = 0;
    HexList hexes;
    Game().ExpireMarks(hexes);
    EXPECT_EQ(Game().m_smokeMark.At(0, 0), -1);
    EXPECT_EQ(Game().m_hexFlags.At(0, 0), CGameData::kHexBlocked);
    EXPECT_EQ(Game().m_fireMark.At(0, 0), -1);
    EXPECT_EQ(Game().m_starshellMark.At(2, 1), -1);
    EXPECT_EQ(Game().m_smokeMark.At(3, 3), 0);
    EXPECT_EQ(Game().m_hexFlags.At(3, 3), CGameData::kHexSmoke);
    EXPECT_EQ(Game().m_fireMark.At(4, 0), 0);
    const std::vector<HexPos> expected { { 0, 0 }, { 2, 1 } };
    EXPECT_EQ(Hexes(hexes), expected);
}

TEST_F(ReleaseTest, PhaseChangeReportsArrivalsReleasesAndAirStrikes)
{
    // Side 1 ends its turn; side 0 starts the next one at time 30.
    Game().m_firstSide = 0;
    SetClock(1, 0, 20);
    AddGroup(kRifle, 30, 40);
    AddGroup(kEnemy, 0, 100);
    AddRelease(m_allies.get(), 25, 100);
    Add(2, 2, kRifle, 1, 0, kUnitFixed, m_allyPlatoon);
    Game().m_smokeMark.At(1, 1) = 0;
    Game().m_airPower[0] = 2;
    const std::uint32_t seed = SeedWhere(2, [](const std::vector<double>& u) { return u[0] < 0.4; });
    SetRandomSeed(seed);

    ASSERT_TRUE(Game().AdvancePhase(10));
    ASSERT_EQ(Game().m_map.GetSide(), 0);
    ASSERT_EQ(Game().m_map.GetCounter(), 30);
    String text;
    HexList hexes;
    std::vector<int> groups;
    std::vector<int> releases;
    Game().BuildArrivalReport(text, hexes, groups, releases);
    EXPECT_EQ(text.str(),
        "* Reinforcements have arrived *\n"
        "* Units that have been released *\nAllied Company\n"
        "2 air strikes remaining\n");
    EXPECT_EQ(groups, (std::vector<int> { 0 }));
    EXPECT_EQ(releases, (std::vector<int> { 1 }));
    const std::vector<HexPos> expected { { 1, 1 }, { 2, 2 } };
    EXPECT_EQ(Hexes(hexes), expected) << "expired marks first, then released units";
    EXPECT_EQ(Game().GetStackNode(2, 2, 1)->value.m_actionPoints, 100);
    EXPECT_EQ(Game().GetStackNode(2, 2, 1)->value.m_status, 0u);
    EXPECT_EQ(GlobalRandomGenerator().State(), StateAfter(seed, 2));

    // In a phase other than the Initial only the air strikes are told, and
    // nothing is drawn.
    Game().m_options = kOptionThreePhase;
    SetClock(0, 1, 30);
    Game().m_smokeMark.At(1, 1) = 0;
    const std::uint32_t state = GlobalRandomGenerator().State();
    String later;
    HexList laterHexes;
    Game().BuildArrivalReport(later, laterHexes, groups, releases);
    EXPECT_TRUE(later.IsEmpty());
    EXPECT_EQ(Game().m_smokeMark.At(1, 1), 0);
    EXPECT_EQ(GlobalRandomGenerator().State(), state);
}

} // namespace
