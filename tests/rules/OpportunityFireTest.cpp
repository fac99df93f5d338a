// Opportunity fire: who reacts to a unit that has just moved, with which
// draws, and what the pending fire does.
//
// The private generators are seeded from the clock, fixed here at 99:
//   P1 0.8726  P2 0.1933  P3 0.6847
// (the same formula as the global generator's, from state 99).

#include <string>
#include <vector>

#include "model/Geometry.h"
#include "tests/rules/DirectFireGame.h"

namespace {

std::int64_t ClockAt99() { return 99; }

} // namespace

class OpportunityFireTest : public DirectFireGameTest {
protected:
    void SetUp() override
    {
        DirectFireGameTest::SetUp();
        SetTimeSource(&ClockAt99);
    }

    PlacedUnit& WithCounters(PlacedUnit& unit, int hard, int vehicle, int soft)
    {
        unit.m_counters[0] = hard;
        unit.m_counters[1] = vehicle;
        unit.m_counters[2] = soft;
        return unit;
    }
    // A weapon reaching 6 hexes against hard targets and 3 against soft
    // ones: the whole range is 6.
    void ShortenEnemyRifle()
    {
        WeaponRecord* weapon = const_cast<WeaponRecord*>(Type(fire::kEnemyRifle)->m_weapon);
        ASSERT_NE(weapon, nullptr);
        for (int range = 1; range <= WeaponRecord::kMaxRange; ++range) {
            weapon->m_hardValue[range - 1] = range <= 6 ? 4 : 0;
            weapon->m_softValue[range - 1] = range <= 3 ? 12 : 0;
        }
    }
};

TEST_F(OpportunityFireTest, WillingnessByDistanceCounterAndTargetClass)
{
    ShortenEnemyRifle();
    // Hard range 6, soft range 3, whole range 6.
    struct Case {
        int row;
        std::uint32_t target; // what stands in the target hex
        int counterIndex;
        int level;
        int distance; // the farthest that reacts
    };
    const Case cases[] = {
        { 1, fire::kTank, 0, 1, 2 },
        { 2, fire::kTruck, 1, 1, 1 },
        { 3, fire::kRifle, 2, 1, 2 },
        { 4, fire::kTank, 0, 2, 4 },
        { 5, fire::kTruck, 1, 2, 2 },
        { 6, fire::kRifle, 2, 2, 4 },
        { 7, fire::kTank, 0, 3, 6 },
        { 8, fire::kTruck, 1, 3, 3 },
        { 9, fire::kRifle, 2, 3, 6 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        ClearBattle();
        PlacedUnit& firer = WithCounters(Add(0, 0, fire::kEnemyRifle), 3, 3, 3);
        // Every other counter is full: only the row's own counter counts.
        firer.m_counters[c.counterIndex] = c.level;
        for (int d = 1; d <= 7; ++d) {
            Add(0, d, c.target);
            EXPECT_EQ(m_game.IsWillingToFire(firer, 0, 0, 0, d, false), d <= c.distance) << d;
            m_game.m_opFirerHex = { 0, 0 };
            m_game.m_opTargetHex = { 0, d };
            EXPECT_EQ(m_game.IsWillingToFireAt(firer, m_game.GetStackNode(0, d, 1)->value), d <= c.distance) << d;
            m_game.m_stacks.At(0, d) = UnitList();
        }
        // One step lower never reacts at that distance, whatever else is full.
        if (c.level > 1) {
            firer.m_counters[c.counterIndex] = c.level - 1;
            Add(0, c.distance, c.target);
            EXPECT_FALSE(m_game.IsWillingToFire(firer, 0, 0, 0, c.distance, false));
        }
        EXPECT_TRUE(m_game.IsWillingToFire(firer, 0, 0, 0, 9, true)); // against an air strike
    }
}

TEST_F(OpportunityFireTest, ExposedTargets)
{
    struct Case {
        const char* name;
        std::uint32_t type;
        std::uint32_t status;
        int objective;
        bool exposed;
    };
    const Case cases[] = {
        { "rifle", fire::kRifle, 0, 0, true }, { "disrupted", fire::kRifle, kUnitDisrupted, 0, false },
        { "disrupted in an objective", fire::kRifle, kUnitDisrupted, 1, true },
        { "leader", fire::kLeader, 0, 0, false }, { "loaded carrier", fire::kCarrier, kUnitCarrying, 0, true },
        { "empty carrier without assault factor", fire::kCarrier, 0, 0, false },
        { "empty lorry", fire::kTruck, 0, 0, true }, // carries 0x2 passengers
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearBattle();
        m_game.m_objectives.At(4, 4).value = c.objective;
        PlacedUnit& unit = Add(4, 4, c.type, c.status);
        EXPECT_EQ(m_game.IsExposedTarget(unit, 4, 4), c.exposed);
        EXPECT_EQ(m_game.HexHasExposedTarget(4, 4), c.exposed);
    }
    ClearBattle();
    Type(fire::kCarrier)->m_value12 = 2;
    EXPECT_TRUE(m_game.IsExposedTarget(Add(4, 4, fire::kCarrier), 4, 4));
}

// A rifle of side 0 has moved into (4, 4); four rifles of side 1 stand
// adjacent in (4, 3), the second with no readiness left.
class OpportunityBattleTest : public OpportunityFireTest {
protected:
    void SetUp() override
    {
        OpportunityFireTest::SetUp();
        Add(4, 4, fire::kRifle);
        for (int i = 0; i < 4; ++i)
            Add(4, 3, fire::kEnemyRifle);
        WithCounters(m_game.GetStackNode(4, 3, 2)->value, 0, 0, 0);
        m_game.m_contact[1].At(4, 4) = ContactCell { 2, 3 };
    }
};

TEST_F(OpportunityBattleTest, OneGlobalDrawPerWillingUnitAndAUniformChoice)
{
    SetRandomSeed(0);
    // Distance 1: a willing unit reacts when its draw is below 1/2.
    // 1st: U1 0.0000 reacts; P1 < 1: chosen. 2nd: unwilling, no draw.
    // 3rd: U2 0.6552 does not. 4th: U3 0.3048 reacts; P2 0.1933 < 1/2: chosen.
    // The target: the one rifle, P1 of the second generator < 1.
    EXPECT_TRUE(m_game.CheckOpportunityFire(4, 4, false));
    EXPECT_EQ(State(), fire::Advance(0, 3));
    EXPECT_TRUE(m_game.IsFirePending());
    EXPECT_EQ(m_game.m_opFirerPosition, 4);
    EXPECT_EQ(m_game.m_opFirerHex, (HexPos { 4, 3 }));
    EXPECT_EQ(m_game.m_opTargetHex, (HexPos { 4, 4 }));
    EXPECT_EQ(m_game.m_opTargetOrdinal, 1);
    EXPECT_EQ(m_game.GetPendingFiringUnit(), &m_game.GetStackNode(4, 3, 4)->value);
}

TEST_F(OpportunityBattleTest, ChosenFirerTurnsAndIsRevealedWhileTheTargetsContactStays)
{
    m_game.GetStackNode(4, 3, 4)->value.m_secondFacing = HexSide::SouthWest;
    m_game.GetStackNode(4, 4, 1)->value.m_secondFacing = HexSide::NorthEast;
    // What the validation sees of the target hex while it decides.
    std::vector<ContactCell> seen;
    m_game.m_unitsAnswer = [this, &seen](int x, int y) {
        if (x == 4 && y == 4)
            seen.push_back(m_game.m_contact[1].At(4, 4));
        return !m_game.m_stacks.At(x, y).IsEmpty();
    };
    SetRandomSeed(0);
    ASSERT_TRUE(m_game.CheckOpportunityFire(4, 4, false));
    const PlacedUnit& firer = m_game.GetStackNode(4, 3, 4)->value;
    EXPECT_EQ(firer.m_facing, HexSide::South);
    EXPECT_EQ(m_game.GetStackNode(4, 3, 1)->value.m_facing, HexSide::North);
    EXPECT_EQ(m_game.GetContactLevel(4, 3, 0), 1);
    EXPECT_EQ(m_game.GetContactValue(4, 3, 0), 1);
    // Kind 2 and value 3 exactly as before, not merged with the check's 1, 0.
    EXPECT_EQ(m_game.m_contact[1].At(4, 4).kind, 2);
    EXPECT_EQ(m_game.m_contact[1].At(4, 4).value, 3);
    for (const ContactCell& cell : seen) {
        EXPECT_EQ(cell.kind, 1);
        EXPECT_EQ(cell.value, 0);
    }
    EXPECT_EQ(m_game.m_traceFirerSide, HexSide::SouthWest);
    EXPECT_EQ(m_game.m_traceFirerHex, (HexPos { 4, 3 }));
    EXPECT_EQ(m_game.m_traceTargetSide, HexSide::NorthEast);
    EXPECT_EQ(m_game.m_traceTargetHex, (HexPos { 4, 4 }));
}

TEST_F(OpportunityBattleTest, PendingFireReportsTheFiringUnitAndIsCleared)
{
    SetRandomSeed(0);
    ASSERT_TRUE(m_game.CheckOpportunityFire(4, 4, false));
    String report;
    m_game.ExecutePendingFire(report, false);
    // Six shots of no effect at the rifle: 12 + 12 + 2 draws after the 3.
    EXPECT_EQ(std::string(report.c_str()),
        ">Firing unit at 4, 3\n>    Schuetzen\n"
        "Rifle\n>    Attack = 12 Defense = 3\n    No Effect\n");
    EXPECT_EQ(State(), fire::Advance(0, 3 + 26));
    EXPECT_FALSE(m_game.IsFirePending());
    EXPECT_EQ(m_game.GetPendingFiringUnit(), nullptr);
    EXPECT_NE(m_game.GetStackNode(4, 3, 4)->value.m_status & kUnitFired, 0u);
    m_game.ExecutePendingFire(report, false);
    EXPECT_EQ(std::string(report.c_str()), "");
}

TEST_F(OpportunityBattleTest, FirerGoneFiresNothing)
{
    SetRandomSeed(0);
    ASSERT_TRUE(m_game.CheckOpportunityFire(4, 4, false));
    m_game.m_stacks.At(4, 3) = UnitList();
    String report;
    m_game.ExecutePendingFire(report, false);
    EXPECT_EQ(std::string(report.c_str()), "");
    EXPECT_FALSE(m_game.IsFirePending());
    EXPECT_EQ(State(), fire::Advance(0, 3));
}

TEST_F(OpportunityBattleTest, NoneOnMovesUnderThreePhaseTurns)
{
    m_game.m_options = kOptionThreePhase;
    SetRandomSeed(0);
    m_game.m_opFirerPosition = 2;
    EXPECT_FALSE(m_game.CheckOpportunityFire(4, 4, false));
    EXPECT_FALSE(m_game.IsFirePending());
    // Against an air strike only with air strikes in the Final Phase.
    EXPECT_FALSE(m_game.CheckOpportunityFire(4, 4, true));
    EXPECT_EQ(State(), fire::Advance(0, 0));
}

TEST_F(OpportunityBattleTest, UnexposedTargetDrawsNoFire)
{
    m_game.GetStackNode(4, 4, 1)->value.m_status |= kUnitDisrupted;
    SetRandomSeed(0);
    EXPECT_FALSE(m_game.CheckOpportunityFire(4, 4, false));
    EXPECT_EQ(State(), fire::Advance(0, 0));
    EXPECT_EQ(m_game.m_contact[1].At(4, 4).kind, 2);
}

TEST_F(OpportunityFireTest, NoTargetWorthTheFireClearsTheTrace)
{
    // An empty carrier makes the hex a hard one but is no exposed target;
    // the exposed rifle is four hexes off, beyond the firer's soft readiness.
    Add(4, 6, fire::kCarrier);
    Add(4, 6, fire::kRifle);
    WithCounters(Add(4, 2, fire::kEnemyRifle), 3, 3, 1);
    m_game.SetFireTrace(HexSide::North, 1, 1, HexSide::North, 2, 2);
    SetRandomSeed(0);
    // Hard readiness 3 reaches 4 <= 2 x 10 / 3; U1 0.0000 < 1/5: it reacts.
    EXPECT_FALSE(m_game.CheckOpportunityFire(4, 6, false));
    EXPECT_EQ(State(), fire::Advance(0, 1));
    EXPECT_FALSE(m_game.IsFirePending());
    EXPECT_EQ(m_game.m_traceFirerHex, (HexPos { -1, -1 }));
    EXPECT_EQ(m_game.m_traceTargetHex, (HexPos { -1, -1 }));
}

TEST_F(OpportunityFireTest, OwnerFiresAtAnArrivingAirStrike)
{
    Type(fire::kEnemyRifle)->m_targetFlags |= 0x2; // anti-aircraft capable
    Force(fire::kThreeAndThree);
    for (const int options : { 0, kOptionThreePhase | kOptionAirInFinalPhase }) {
        SCOPED_TRACE(options);
        ClearBattle();
        m_game.m_options = options;
        Add(6, 6, fire::kEnemyRifle);
        Add(6, 6, fire::kEnemyRifle);
        m_game.m_airStrikeValue.At(6, 6) = 3;
        m_game.m_airStrikeSide.At(6, 6) = 0;
        SetRandomSeed(0);
        // Distance 0: every draw is below 1 (U1, U2); P2 0.1933 < 1/2 keeps
        // the second rifle. No target is chosen for an air strike.
        ASSERT_TRUE(m_game.CheckOpportunityFire(6, 6, true));
        EXPECT_EQ(m_game.m_opFirerPosition, 2);
        EXPECT_EQ(State(), fire::Advance(0, 2));
        String report;
        m_game.ExecutePendingFire(report, true);
        // No aircraft in the pool: the parameter defence 7. Six shots (12
        // draws) of 3 points each: the strike of 3 is gone.
        EXPECT_EQ(std::string(report.c_str()),
            ">Firing unit at 6, 6\n>    Schuetzen\n"
            "Fire results against air attack\n"
            ">    Attack = 12 Defense = 7\n"
            "    Eliminated\n");
        EXPECT_EQ(State(), fire::Advance(0, 2 + 12));
        EXPECT_EQ(m_game.m_airStrikeValue.At(6, 6), 0);
        EXPECT_NE(m_game.GetStackNode(6, 6, 2)->value.m_status & kUnitFired, 0u);
        EXPECT_EQ(m_game.GetStackNode(6, 6, 1)->value.m_status & kUnitFired, 0u);
    }
    m_game.m_options = kOptionThreePhase;
    EXPECT_FALSE(m_game.CheckOpportunityFire(6, 6, true));
}
