// Fire results on units: the branches of a result under forced fire tables,
// with the draws of the global generator worked out by hand from its formula
// (state = state * 1103515245 + 12345 mod 2^32, U = (state & 0x7fffffff) / 2^31).
//
// The first draws after SetRandomSeed(0):
//   U1 0.0000057  U2 0.6552  U3 0.3048  U4 0.6750  U5 0.1068  U6 0.5166
//   U7 0.4897     U8 0.6025  U9 0.3700
// A shot takes two draws: the roll (U x 100) and the coin for the bias (the
// bias is 0 here, so the coin changes nothing).

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "model/Clock.h"
#include "model/PlatoonType.h"
#include "model/Random.h"
#include "tests/rules/ForcedFire.h"
#include "tests/rules/MoveGame.h"

namespace {

std::int64_t FixedClock() { return 1234567; }

} // namespace

class CombatResultsTest : public MoveGameTest {
protected:
    void SetUp() override
    {
        MakeMap(8, 8);
        m_game.m_map.SetSide(0);
        m_game.m_map.SetPhase(0);
        ParameterData& p = m_game.m_parameters;
        p.m_maxStackStrength = 40;
        p.m_defenseZeroValue = 10;
        p.m_value61 = 60;
        p.m_value102 = 4;
        for (int& value : p.m_terrainValue2)
            value = 0;
        for (int& value : p.m_terrainPercent)
            value = 0;
        p.m_value132 = 1;
        p.m_value133 = 2;
        p.m_value134 = 4;
        p.m_value135 = 5;
        m_game.m_advantage = 0;
        SetTimeSource(&FixedClock);
        Force(kNothing);
    }
    void TearDown() override { SetTimeSource(nullptr); }

    // One fire column (ratio 1): every shot gives the outcome.
    void Force(ForcedOutcome outcome) { ForceTwo(outcome, outcome); }
    // Two columns: below ratio 1 (attack 1 against defence 2) every shot gives
    // low, at ratio 2 exactly (attack 2 against defence 1) high.
    void ForceTwo(ForcedOutcome low, ForcedOutcome high) { ForceFireColumns(m_game.m_parameters, low, high); }

    struct Result {
        bool finished = false;
        std::string text;
    };
    // Attack 2 against defence 1: the forced column's outcome.
    Result Fire(int x, int y, int position, int shots, bool retreat = true, bool disable = false,
        int passengerAttack = 0, int attack = 2, int defence = 1)
    {
        String text;
        UnitNode* node = m_game.GetStackNode(x, y, position);
        EXPECT_NE(node, nullptr);
        const bool finished
            = m_game.ApplyFireResult(text, attack, shots, passengerAttack, defence, x, y, node, 1.0, retreat, disable);
        return { finished, text.c_str() };
    }
    // Enemy units in every neighbour of the hex.
    void Surround(int x, int y)
    {
        for (HexSide side = HexSide::North; side.IsValid(); side.Next()) {
            HexPos next;
            if (m_game.m_map.GetNeighbour(side, x, y, next))
                Add(next.column, next.row, demo::kGermanRifle);
        }
    }
    int Count(int x, int y) { return static_cast<int>(m_game.m_stacks.At(x, y).Count()); }
    // Where the unit went: the first neighbour holding a unit, (-1, -1) none.
    HexPos Occupied(int x, int y)
    {
        for (HexSide side = HexSide::North; side.IsValid(); side.Next()) {
            HexPos next;
            if (m_game.m_map.GetNeighbour(side, x, y, next) && Count(next.column, next.row) > 0)
                return next;
        }
        return { -1, -1 };
    }
    std::uint32_t State() { return GlobalRandomGenerator().State(); }
    // Empties every hex and puts Open ground back.
    void ClearBattle()
    {
        for (int x = 0; x < 8; ++x)
            for (int y = 0; y < 8; ++y) {
                m_game.m_stacks.At(x, y) = UnitList();
                m_game.m_hexFlags.At(x, y) = 0;
                m_game.m_wrecks.At(x, y) = 0;
                Hex(x, y).terrain = kTerrainOpen;
            }
        m_game.m_options = 0;
    }
};

// The rifle platoon alone, the result and its draws.
struct BranchCase {
    const char* name;
    int strength;
    int rating;
    int options;
    int hexFlags;
    bool surrounded;
    ForcedOutcome outcome;
    int shots;
    bool retreatAllowed;
    const char* text;
    bool finished;
    int draws;
    int strengthAfter; // -1: gone from the hex
    bool disruptedAfter;
};

TEST_F(CombatResultsTest, BranchesOfTheResultOnARiflePlatoon)
{
    const int kOn = kOptionCombatResults;
    const BranchCase cases[] = {
        // a = 9 against 8 points: no further draw.
        { "eliminated", 8, 6, 0, 0, false, kThreeAndThree, 3, true, "Eliminated", true, 6, -1, false },
        // a = 8 equals the strength.
        { "equal eliminates", 8, 6, 0, 0, false, kOneAndOne, 8, true, "Eliminated", true, 16, -1, false },
        // a = b = 1: U3 x 8 = 2.44 > 1, not disrupted; with the option the loss ends it.
        { "reduced, option on", 8, 6, kOn, 0, false, kOneAndOne, 1, true, "Reduced by 1", false, 4, 7, false },
        // b = 8 >= 8: disrupted; a fresh unit under the option is plainly disrupted.
        { "first disruption", 8, 6, kOn, 0, false, kDisruptOnly, 8, true, "Disrupted", false, 18, 8, true },
        // Nothing: U3 and U4 are drawn, then "No Effect".
        { "no effect", 8, 6, 0, 0, false, kNothing, 1, true, "No Effect", false, 4, 8, false },
        // c = 1 >= 1: retreat. Morale 1: U5 gives a roll of 2 > 1, failed;
        // U6 0.5166 >= 0.35 keeps the rating; a free neighbour takes it.
        { "retreated", 1, 1, 0, 0, false, kRetreatOnly, 1, true, "Retreated", true, 6, -1, false },
        // The same, no hex to go to, one point: eliminated.
        { "no hex, one point", 1, 1, 0, 0, true, kRetreatOnly, 1, true, "Eliminated", true, 6, -1, false },
        // Two points, two shots (U3 roll 30 still gives the outcome): c = 2;
        // U6 x 2 <= 2; U7 roll 5 > 1; U8 keeps the rating; no hex: reduced by 1.
        { "no hex, two points", 2, 1, 0, 0, true, kRetreatOnly, 2, true, "Reduced by 1", true, 8, 1, false },
        // A pillbox adds 4 to the morale: 1 + 4 = 5 >= the roll of 2.
        { "pillbox", 1, 1, 0, CGameData::kHexPillbox, false, kRetreatOnly, 1, true, "No Effect", false, 5, 1, false },
        // Retreat not allowed: disrupted in place, and finished.
        { "retreat not allowed", 1, 1, 0, 0, false, kRetreatOnly, 1, false, "Disrupted", true, 6, 1, true },
        // Morale 10 always passes (U5 roll 2): the retreat is resisted.
        { "check passed", 1, 10, 0, 0, false, kRetreatOnly, 1, true, "No Effect", false, 5, 1, false },
        // The option takes the retreat outcome away.
        { "retreat under option", 1, 1, kOn, 0, false, kRetreatOnly, 1, true, "No Effect", false, 4, 1, false },
    };
    for (const BranchCase& c : cases) {
        SCOPED_TRACE(c.name);
        ClearBattle();
        m_game.m_options = c.options;
        PlacedUnit& unit = Add(3, 3, demo::kUsRifle);
        unit.m_strength = c.strength;
        unit.m_rating = c.rating;
        m_game.m_hexFlags.At(3, 3) = c.hexFlags;
        if (c.surrounded)
            Surround(3, 3);
        Force(c.outcome);
        SetRandomSeed(0);
        const Result result = Fire(3, 3, 1, c.shots, c.retreatAllowed);
        EXPECT_EQ(result.text, c.text);
        EXPECT_EQ(result.finished, c.finished);
        EXPECT_EQ(State(), AdvanceRandomState(0, c.draws));
        if (c.strengthAfter < 0) {
            EXPECT_EQ(Count(3, 3), 0);
        } else {
            ASSERT_EQ(Count(3, 3), 1);
            EXPECT_EQ(Unit(3, 3, 1).m_strength, c.strengthAfter);
            EXPECT_EQ((Unit(3, 3, 1).m_status & kUnitDisrupted) != 0, c.disruptedAfter);
        }
    }
}

TEST_F(CombatResultsTest, ImmobileOrFortifiedUnitsAreOnlyDisrupted)
{
    // As the "retreated" row: the check fails (roll 2 > 1), the rating holds
    // (U6), but a gun without movement, or a unit in a pillbox whose cover
    // bonus is 0, stays where it is, disrupted.
    struct {
        std::uint32_t type;
        int flags;
    } const cases[] = { { demo::kUsAntiTankGun, 0 }, { demo::kUsRifle, CGameData::kHexPillbox } };
    for (const auto& c : cases) {
        ClearBattle();
        m_game.m_parameters.m_value134 = 0;
        m_game.m_hexFlags.At(3, 3) = c.flags;
        PlacedUnit& unit = Add(3, 3, c.type);
        unit.m_strength = 1;
        unit.m_rating = 1;
        Force(kRetreatOnly);
        SetRandomSeed(0);
        const Result result = Fire(3, 3, 1, 1);
        EXPECT_EQ(result.text, "Disrupted");
        EXPECT_FALSE(result.finished);
        EXPECT_EQ(State(), AdvanceRandomState(0, 6));
        ASSERT_EQ(Count(3, 3), 1);
        EXPECT_NE(Unit(3, 3, 1).m_status & kUnitDisrupted, 0u);
    }
}

TEST_F(CombatResultsTest, WithoutAFireTableOnlyTheResultsOwnDrawsAreMade)
{
    // Zero tallies without a draw; U1 x 8 <= 0 and U2 x 8 <= 0 fail.
    m_game.m_parameters.m_fireColumnCount = 0;
    Add(3, 3, demo::kUsRifle);
    SetRandomSeed(1);
    EXPECT_EQ(Fire(3, 3, 1, 5).text, "No Effect");
    EXPECT_EQ(State(), AdvanceRandomState(1, 2));
}

TEST_F(CombatResultsTest, RetreatedUnitStandsInAFreeNeighbour)
{
    PlacedUnit& unit = Add(3, 3, demo::kUsRifle);
    unit.m_strength = 1;
    unit.m_rating = 1;
    Force(kRetreatOnly);
    SetRandomSeed(0);
    EXPECT_EQ(Fire(3, 3, 1, 1).text, "Retreated");
    const HexPos to = Occupied(3, 3);
    ASSERT_NE(to.column, -1);
    EXPECT_EQ(m_game.GetStackNode(to.column, to.row, 1)->value.m_actionPoints, 50);
}

TEST_F(CombatResultsTest, ReductionWithoutTheOptionTestsMoraleAndRetreats)
{
    // a = b = 1, U3 x 8 > 1: no disruption; "Reduced by 1". Without the option
    // the morale step: U5 0.1068 < 0.35, the rating drops to 5. The check:
    // U6 gives 6 > 5, failed; U7 0.4897 keeps the rating; the unit retreats.
    Add(3, 3, demo::kUsRifle);
    Force(kOneAndOne);
    SetRandomSeed(0);
    const Result result = Fire(3, 3, 1, 1);
    EXPECT_EQ(result.text, "Reduced by 1 Retreated");
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(State(), AdvanceRandomState(0, 7));
    const HexPos to = Occupied(3, 3);
    ASSERT_NE(to.column, -1);
    const PlacedUnit& moved = m_game.GetStackNode(to.column, to.row, 1)->value;
    EXPECT_EQ(moved.m_strength, 7);
    EXPECT_EQ(moved.m_rating, 5);
}

TEST_F(CombatResultsTest, DisabledOnlyWhereAllowedAndOnAHardTarget)
{
    // Seed 120: U5 is 0.0099 < 0.01 (U1..U4 go to the shot and the two tests).
    struct {
        bool disable;
        std::uint32_t seed;
        const char* text;
        int strength;
        int wrecks;
    } const cases[] = {
        { true, 120, "Disabled", 4, 1 }, { false, 120, "No Effect", 5, 0 }, { true, 0, "No Effect", 5, 0 }, // U5 0.1068
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seed);
        ClearBattle();
        Add(3, 3, demo::kUsSherman, kUnitFixed);
        SetRandomSeed(c.seed);
        const Result result = Fire(3, 3, 1, 1, true, c.disable);
        EXPECT_EQ(result.text, c.text);
        EXPECT_FALSE(result.finished);
        EXPECT_EQ(Unit(3, 3, 1).m_strength, c.strength);
        EXPECT_EQ(m_game.GetWreckValue(3, 3), c.wrecks);
        // Only the side to move under fire that may disable stays fixed.
        EXPECT_EQ((Unit(3, 3, 1).m_status & kUnitFixed) != 0, c.disable);
    }
}

TEST_F(CombatResultsTest, PassengerTextsOfCarriersAndRiders)
{
    m_game.m_options = kOptionCombatResults;
    // A carrier's passenger shares the disruption.
    AddLoaded(1, 1, demo::kUsHalfTrack, demo::kUsRifle);
    Force(kDisruptOnly);
    SetRandomSeed(0);
    Result result = Fire(1, 1, 1, 4);
    EXPECT_EQ(result.text, "Disrupted\n        Passenger Disrupted");
    EXPECT_NE(Unit(1, 1, 2).m_status & kUnitDisrupted, 0u);

    // A rider of a non-carrier (the jeep) is lost when its carrier is disrupted.
    Add(2, 2, demo::kUsJeep, kUnitCarrying);
    Add(2, 2, demo::kUsRifle, kUnitCarried);
    SetRandomSeed(0);
    result = Fire(2, 2, 1, 2);
    EXPECT_EQ(result.text, "Disrupted\n        External Passenger Eliminated");
    ASSERT_EQ(Count(2, 2), 1);
    EXPECT_EQ(Unit(2, 2, 1).m_status & kUnitCarrying, 0u);

    // Internal riders for a type that moves at three points a hex.
    Type(demo::kUsJeep)->m_moveFlags |= kMoveThreeApPerMove;
    Add(4, 4, demo::kUsJeep, kUnitCarrying);
    Add(4, 4, demo::kUsRifle, kUnitCarried);
    SetRandomSeed(0);
    EXPECT_EQ(Fire(4, 4, 1, 2).text, "Disrupted\n        Internal Passenger Eliminated");
    Type(demo::kUsJeep)->m_moveFlags &= ~kMoveThreeApPerMove;

    // Eliminating a carrier takes its passenger; only the carrier leaves wrecks.
    AddLoaded(5, 5, demo::kUsHalfTrack, demo::kUsRifle);
    Force(kThreeAndThree);
    result = Fire(5, 5, 1, 2);
    EXPECT_EQ(result.text, "Eliminated\n        Passenger Eliminated");
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(Count(5, 5), 0);
    EXPECT_EQ(m_game.GetWreckValue(5, 5), 4);
}

TEST_F(CombatResultsTest, ReductionSharedWithThePassengerByProportion)
{
    // 3 of a 6-point carrier's points: 3 x 4 / 6 = 2 of the 4-point passenger's.
    // Six draws for three shots; U7 0.4897 x 6 = 2.94 <= 3: disrupted; U8.
    // Under the option the morale step costs a point without a draw, and a
    // fresh unit is plainly disrupted, its passenger with it.
    m_game.m_options = kOptionCombatResults;
    AddLoaded(3, 3, demo::kUsHalfTrack, demo::kUsRifle);
    Unit(3, 3, 1).m_strength = 6;
    Unit(3, 3, 2).m_strength = 4;
    Force(kOneAndOne);
    SetRandomSeed(0);
    const Result result = Fire(3, 3, 1, 3);
    EXPECT_EQ(result.text, "Reduced by 3\n        Passenger Reduced Disrupted\n        Passenger Disrupted");
    EXPECT_FALSE(result.finished);
    EXPECT_EQ(Unit(3, 3, 1).m_rating, 5);
    EXPECT_EQ(Unit(3, 3, 1).m_strength, 3);
    EXPECT_EQ(Unit(3, 3, 2).m_strength, 2);
    EXPECT_EQ(m_game.GetWreckValue(3, 3), 3);
    EXPECT_EQ(State(), AdvanceRandomState(0, 8));
}

TEST_F(CombatResultsTest, FireOnRidersWhenTheCarrierIsUnharmed)
{
    // The carrier's fire (attack 1 against 2) misses every shot; the riders'
    // (attack 2 against defence 1) gives the high column.
    struct {
        ForcedOutcome high;
        int shots;
        const char* text;
        int count;
    } const cases[] = {
        // a2 = 9 >= 8: the rider is lost.
        { kThreeAndThree, 3, "No Effect\n        External Passenger Eliminated", 1 },
        // a2 = 0, b2 = 8: U x 8 <= 8, the rider is disrupted.
        { kDisruptOnly, 8, "No Effect\n        External Passenger Disrupted", 2 },
    };
    for (const auto& c : cases) {
        ClearBattle();
        Add(3, 3, demo::kUsJeep, kUnitCarrying);
        Add(3, 3, demo::kUsRifle, kUnitCarried);
        ForceTwo(kNothing, c.high);
        SetRandomSeed(0);
        const Result result = Fire(3, 3, 1, c.shots, true, false, 2, 1, 2);
        EXPECT_EQ(result.text, c.text);
        EXPECT_FALSE(result.finished);
        EXPECT_EQ(Count(3, 3), c.count);
    }
}

TEST_F(CombatResultsTest, ChainOfRidersGoesWithItsCarrier)
{
    // A truck towing a jeep that carries a gun, and a rifle platoon beside.
    Add(3, 3, demo::kUsTruck, kUnitCarrying);
    Add(3, 3, demo::kUsJeep, kUnitCarried | kUnitCarrying);
    Add(3, 3, demo::kUsAntiTankGun, kUnitCarried);
    Add(3, 3, demo::kUsRifle);
    Force(kThreeAndThree);
    SetRandomSeed(0);
    const Result result = Fire(3, 3, 1, 3);
    EXPECT_EQ(result.text, "Eliminated\n        Passenger Eliminated");
    ASSERT_EQ(Count(3, 3), 1);
    EXPECT_EQ(Unit(3, 3, 1).m_type->m_id, demo::kUsRifle);
}

TEST_F(CombatResultsTest, WrecksHeldToTheStackingShare)
{
    // Share 40 - 10 = 30.
    struct {
        int before;
        int after;
    } const cases[] = { { 0, 5 }, { 28, 30 }, { 35, 35 } };
    for (const auto& c : cases) {
        ClearBattle();
        m_game.m_wrecks.At(3, 3) = c.before;
        Add(3, 3, demo::kUsSherman);
        Force(kThreeAndThree);
        SetRandomSeed(0);
        EXPECT_EQ(Fire(3, 3, 1, 2).text, "Eliminated");
        EXPECT_EQ(m_game.GetWreckValue(3, 3), c.after);
    }
}

TEST_F(CombatResultsTest, WrecksInShallowWaterAreFlagged)
{
    Hex(3, 3).terrain = kTerrainShallowWater;
    Add(3, 3, demo::kUsSherman);
    Force(kThreeAndThree);
    EXPECT_EQ(Fire(3, 3, 1, 2).text, "Eliminated");
    EXPECT_EQ(m_game.GetWreckValue(3, 3), 5);
    EXPECT_NE(m_game.m_wrecks.At(3, 3) & CGameData::kWreckBurning, 0);
}

TEST_F(CombatResultsTest, LeaderHitsDependOnTheUnitsAround)
{
    // One shot, a = 1. Alone the chance is 1 x 4 x 5 / 100 = 0.2; with a
    // platoon beside it 0.04. Seed 182: U3 0.0032; seed 0: U3 0.3048.
    struct {
        bool alone;
        std::uint32_t seed;
        const char* text;
        bool killed;
    } const cases[] = {
        { true, 182, "Eliminated", true },
        { true, 0, "No Effect", false },
        { false, 182, "Eliminated", true },
    };
    for (const auto& c : cases) {
        ClearBattle();
        Add(3, 3, demo::kUsBattalionCommander, kUnitFixed);
        if (!c.alone)
            Add(3, 3, demo::kUsRifle);
        Force(kOneAndOne);
        SetRandomSeed(c.seed);
        const Result result = Fire(3, 3, 1, 1);
        EXPECT_EQ(result.text, c.text);
        EXPECT_EQ(result.finished, c.killed);
        EXPECT_EQ(State(), AdvanceRandomState(c.seed, 3));
        EXPECT_EQ(Count(3, 3), (c.alone ? 1 : 2) - (c.killed ? 1 : 0));
        if (!c.killed) {
            EXPECT_EQ(Unit(3, 3, 1).m_status & kUnitFixed, 0u);
        }
    }
}

TEST_F(CombatResultsTest, FireAgainstAnAirStrike)
{
    m_game.m_airStrikeValue.At(3, 3) = 3;
    m_game.m_airStrikeSide.At(3, 3) = 1;
    Force(kOneAndOne);
    // a = b = 1: 3 -> 2; U3 0.3048 x 2 = 0.61 is not above 1: disrupted.
    String text;
    SetRandomSeed(0);
    EXPECT_FALSE(m_game.ResolveAirDefenceFire(text, 2, 1, 1, 3, 3));
    EXPECT_EQ(text, String("Reduced by 1 Disrupted"));
    EXPECT_EQ(m_game.m_airStrikeValue.At(3, 3), 2);
    EXPECT_NE(m_game.m_hexFlags.At(3, 3) & CGameData::kHexRulesMark, 0);
    // Hit again while disrupted: gone.
    text = String();
    SetRandomSeed(0);
    EXPECT_TRUE(m_game.ResolveAirDefenceFire(text, 2, 1, 1, 3, 3));
    EXPECT_EQ(text, String("Reduced by 1 Eliminated"));
    EXPECT_EQ(m_game.m_airStrikeValue.At(3, 3), 0);
    EXPECT_EQ(m_game.m_hexFlags.At(3, 3) & CGameData::kHexRulesMark, 0);
    // Nothing hits: U3 x 3 > 0 = b.
    m_game.m_airStrikeValue.At(3, 3) = 3;
    Force(kNothing);
    text = String();
    SetRandomSeed(0);
    EXPECT_FALSE(m_game.ResolveAirDefenceFire(text, 2, 1, 1, 3, 3));
    EXPECT_EQ(text, String("No Effect"));
    EXPECT_EQ(State(), AdvanceRandomState(0, 3));
}

TEST_F(CombatResultsTest, RecoveryWithAndWithoutCommand)
{
    // Seed 5: U1 0.5693 gives a roll of 6; seed 2: U1 0.0277 a roll of 1.
    // The morale in the open is the rating; the full rating without a node 6.
    struct {
        int rating;
        int options;
        std::uint32_t seed;
        bool recovered;
        int ratingAfter;
    } const cases[] = {
        { 6, 0, 5, true, 6 }, // 6 <= 6, at its full rating: recovers
        { 4, 0, 5, false, 4 }, // 6 > 4: nothing
        { 4, 0, 2, false, 5 }, // 1 <= 4: a point back, still disrupted
        { 6, kOptionCommandControl, 5, false, 6 }, // no node: out of command, 6 > 5
    };
    for (const auto& c : cases) {
        ClearBattle();
        m_game.m_options = c.options;
        PlacedUnit& unit = Add(3, 3, demo::kUsRifle, kUnitDisrupted);
        unit.m_rating = c.rating;
        SetRandomSeed(c.seed);
        EXPECT_EQ(m_game.RollRecovery(m_game.GetStackNode(3, 3, 1), 3, 3), c.recovered);
        EXPECT_EQ((Unit(3, 3, 1).m_status & kUnitDisrupted) == 0, c.recovered);
        EXPECT_EQ(Unit(3, 3, 1).m_rating, c.ratingAfter);
        EXPECT_EQ(State(), AdvanceRandomState(c.seed, 1));
    }
}

TEST_F(CombatResultsTest, RetreatRefusals)
{
    // A one-point platoon at (3, 3) with every neighbour made unfit one way.
    enum Spoil { kMinefield, kEnemy, kShallowWater, kOverStacked, kNone };
    const struct {
        const char* name;
        Spoil spoil;
        bool retreats;
    } cases[] = {
        { "minefield", kMinefield, false },
        { "enemy", kEnemy, false },
        { "shallow water", kShallowWater, false },
        { "over-stacked", kOverStacked, false },
        { "free", kNone, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClearBattle();
        Add(3, 3, demo::kUsRifle);
        for (HexSide side = HexSide::North; side.IsValid(); side.Next()) {
            HexPos next;
            ASSERT_TRUE(m_game.m_map.GetNeighbour(side, 3, 3, next));
            const int x = next.column, y = next.row;
            switch (c.spoil) {
            case kMinefield:
                m_game.m_hexFlags.At(x, y) |= CGameData::kHexMinefield1;
                break;
            case kEnemy:
                Add(x, y, demo::kGermanRifle);
                break;
            case kShallowWater:
                Hex(x, y).terrain = kTerrainShallowWater;
                break;
            case kOverStacked:
                m_game.m_wrecks.At(x, y) = 40;
                break;
            case kNone:
                break;
            }
        }
        EXPECT_EQ(m_game.RetreatMove(3, 3, m_game.GetStackNode(3, 3, 1)), c.retreats);
        EXPECT_EQ(Count(3, 3), c.retreats ? 0 : 1);
    }
}

TEST_F(CombatResultsTest, RetreatAwayFromTheKnownEnemyWithTheLeaders)
{
    // The enemy two hexes north, in contact: only hexes farther than 2 qualify.
    Add(3, 1, demo::kGermanRifle);
    m_game.SetContact(3, 1, 0, 2, 1);
    Add(3, 3, demo::kUsRifle);
    Add(3, 3, demo::kUsBattalionCommander);
    const int before = m_game.GetDistanceToKnownEnemy(3, 3, 0);
    ASSERT_EQ(before, 2);
    ASSERT_TRUE(m_game.RetreatMove(3, 3, m_game.GetStackNode(3, 3, 1)));
    EXPECT_EQ(Count(3, 3), 0);
    const HexPos to = Occupied(3, 3);
    ASSERT_NE(to.column, -1);
    EXPECT_EQ(Count(to.column, to.row), 2);
    EXPECT_GT(m_game.GetDistanceToKnownEnemy(to.column, to.row, 0), before);
}

TEST_F(CombatResultsTest, RetreatTakesTheCarrierWithItsPassenger)
{
    AddLoaded(3, 3, demo::kUsHalfTrack, demo::kUsRifle);
    ASSERT_TRUE(m_game.RetreatMove(3, 3, m_game.GetStackNode(3, 3, 1)));
    EXPECT_EQ(Count(3, 3), 0);
    const HexPos to = Occupied(3, 3);
    ASSERT_EQ(Count(to.column, to.row), 2);
    EXPECT_NE(Unit(to.column, to.row, 1).m_status & kUnitCarrying, 0u);
    EXPECT_NE(Unit(to.column, to.row, 2).m_status & kUnitCarried, 0u);
}

TEST_F(CombatResultsTest, LeaderHitRidingAJeepUnloadsIt)
{
    // The jeep counts as a unit beside the leader: 1 x 4 / 100 = 0.04 > U3 0.0032.
    Add(3, 3, demo::kUsJeep, kUnitCarrying);
    Add(3, 3, demo::kUsBattalionCommander, kUnitCarried);
    Force(kOneAndOne);
    SetRandomSeed(182);
    const Result result = Fire(3, 3, 2, 1);
    EXPECT_EQ(result.text, "Eliminated");
    EXPECT_TRUE(result.finished);
    ASSERT_EQ(Count(3, 3), 1);
    EXPECT_EQ(Unit(3, 3, 1).m_status & kUnitCarrying, 0u);
}

TEST_F(CombatResultsTest, RetreatIntoSightOfTheEnemyMarksTheHex)
{
    m_game.m_visibility = 20;
    Add(3, 7, demo::kGermanRifle);
    Add(3, 3, demo::kUsRifle);
    ASSERT_TRUE(m_game.RetreatMove(3, 3, m_game.GetStackNode(3, 3, 1)));
    const HexPos to = Occupied(3, 3);
    ASSERT_NE(to.column, -1);
    EXPECT_NE(m_game.GetContactLevel(to.column, to.row, 1), 0);
}

TEST_F(CombatResultsTest, UnitsThatNeverRetreat)
{
    struct {
        const char* name;
        std::uint32_t type;
        std::uint32_t status;
        int flags;
    } const cases[] = {
        { "banzai", demo::kUsRifle, kUnitBanzai, 0 },
        { "bunker", demo::kUsRifle, 0, CGameData::kHexBunker },
        { "gun", demo::kUsAntiTankGun, 0, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClearBattle();
        m_game.m_hexFlags.At(3, 3) = c.flags;
        Add(3, 3, c.type, c.status);
        EXPECT_FALSE(m_game.RetreatMove(3, 3, m_game.GetStackNode(3, 3, 1)));
        EXPECT_EQ(Count(3, 3), 1);
    }
}

TEST_F(CombatResultsTest, ResultsClearTheMoveUndo)
{
    Add(2, 2, demo::kUsRifle);
    ASSERT_EQ(Move(2, 2, 2, 3, { 1 }), "");
    ASSERT_FALSE(m_game.m_snapshots.empty());
    Force(kThreeAndThree);
    EXPECT_EQ(Fire(2, 3, 1, 3).text, "Eliminated");
    EXPECT_TRUE(m_game.m_snapshots.empty());
}

TEST_F(CombatResultsTest, SameSeedSameResult)
{
    std::string texts[2];
    std::uint32_t states[2] = {};
    for (int run = 0; run < 2; ++run) {
        ClearBattle();
        Add(3, 3, demo::kUsRifle);
        Force(kOneAndOne);
        SetRandomSeed(77);
        texts[run] = Fire(3, 3, 1, 3).text;
        states[run] = State();
    }
    EXPECT_EQ(texts[0], texts[1]);
    EXPECT_EQ(states[0], states[1]);
}

TEST_F(CombatResultsTest, AdvantageFractionAndHardTargets)
{
    m_game.m_advantage = -25;
    EXPECT_DOUBLE_EQ(m_game.GetAdvantageFraction(), 0.25);
    Add(1, 1, demo::kUsSherman);
    Add(2, 2, demo::kUsRifle);
    AddLoaded(4, 4, demo::kUsTruck, demo::kUsAntiTankGun);
    EXPECT_TRUE(m_game.HexHasHardTarget(1, 1));
    EXPECT_FALSE(m_game.HexHasHardTarget(2, 2));
    EXPECT_FALSE(m_game.HexHasHardTarget(5, 5));
    EXPECT_FALSE(m_game.HexHasHardTarget(-1, 0));
}

class CombatMoraleTest : public CombatResultsTest {
protected:
    void SetUp() override
    {
        CombatResultsTest::SetUp();
        std::istringstream in("1\n0\n6 44\n"
                              "B1000000 1 8 1st Bn\n"
                              "  C1000000 2 7 A Co\n"
                              "    P10400 3 8 Capt A\n"
                              "    P10200 4 6 1st Plt\n"
                              "    P10200 5 6 2nd Plt\n"
                              "  End\n"
                              "  C1000001 6 7 B Co\n"
                              "    P10400 7 8 Capt B\n"
                              "    P10200 8 6 3rd Plt\n"
                              "    P10200 9 6 4th Plt\n"
                              "  End\n"
                              "End\n");
        ASSERT_TRUE(m_game.m_orgTree.Read(in));
    }
    PlacedUnit& AddWithNode(int x, int y, std::uint32_t type, int node, int rating)
    {
        PlacedUnit& unit = Add(x, y, type);
        unit.m_node = m_game.m_orgTree.FindNode(node);
        EXPECT_NE(unit.m_node, nullptr);
        unit.m_rating = rating;
        return unit;
    }
};

TEST_F(CombatMoraleTest, LeadersOfTheChainRaiseStackMorale)
{
    struct {
        const char* name;
        int leaderNode; // 0: none
        int leaderRating;
        int unitRating;
        int morale;
    } const cases[] = {
        { "no leader", 0, 0, 6, 6 },
        { "better leader", 3, 8, 6, 8 },
        { "weaker leader", 3, 5, 6, 7 },
        { "other company's leader", 7, 9, 6, 6 },
        { "held to 10", 3, 5, 10, 10 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClearBattle();
        if (c.leaderNode != 0)
            AddWithNode(3, 3, demo::kUsBattalionCommander, c.leaderNode, c.leaderRating);
        const PlacedUnit& unit = AddWithNode(3, 3, demo::kUsRifle, 5, c.unitRating);
        EXPECT_EQ(m_game.GetStackMorale(unit, 3, 3), c.morale);
        EXPECT_EQ(m_game.GetRecoveryMorale(unit, 3, 3), c.morale);
    }
}

TEST_F(CombatMoraleTest, CoverBonusByTerrainAndWorks)
{
    ParameterData& p = m_game.m_parameters;
    p.m_terrainValue2[kTerrainOpen] = 2;
    p.m_terrainValue2[kTerrainForest] = 3;
    const PlacedUnit& rifle = Add(3, 3, demo::kUsRifle);
    const PlacedUnit& tank = Add(4, 4, demo::kUsSherman);
    EXPECT_EQ(m_game.GetCoverMoraleBonus(rifle, 3, 3), 2);
    EXPECT_EQ(m_game.GetCoverMoraleBonus(tank, 4, 4), 0); // a hard target in the open
    Hex(3, 3).terrain = kTerrainForest;
    EXPECT_EQ(m_game.GetCoverMoraleBonus(rifle, 3, 3), 3);
    m_game.m_hexFlags.At(3, 3) = CGameData::kHexImprovedPosition;
    EXPECT_EQ(m_game.GetCoverMoraleBonus(rifle, 3, 3), 4);
    m_game.m_hexFlags.At(3, 3) |= CGameData::kHexTrench | CGameData::kHexPillbox; // 3 + 1 + 2 + 4, held to 5
    EXPECT_EQ(m_game.GetCoverMoraleBonus(rifle, 3, 3), 5);
    Unit(3, 3, 1).m_status |= kUnitBanzai;
    EXPECT_EQ(m_game.GetCoverMoraleBonus(rifle, 3, 3), 0);
    EXPECT_EQ(m_game.GetCoverMoraleBonus(rifle, -1, 3), 0);
}

TEST_F(CombatMoraleTest, CommandReachesFromTheCompanysFirstPlatoon)
{
    // Nation 10 at a year without a nation-percent column: 100 %, range 4.
    const PlacedUnit& unit = AddWithNode(1, 1, demo::kUsRifle, 5, 6);
    const PlacedUnit& other = AddWithNode(6, 6, demo::kUsRifle, 9, 6);
    EXPECT_TRUE(m_game.IsInCommand(unit, 1, 1)); // the option is off
    m_game.m_options = kOptionCommandControl;
    EXPECT_FALSE(m_game.IsInCommand(unit, 1, 1));
    AddWithNode(1, 5, demo::kUsRifle, 4, 6); // A Co's first platoon, 4 hexes away
    EXPECT_TRUE(m_game.IsInCommand(unit, 1, 1));
    EXPECT_FALSE(m_game.IsInCommand(other, 6, 6)); // B Co's first platoon is not on the map
    AddWithNode(5, 6, demo::kUsRifle, 8, 6);
    EXPECT_TRUE(m_game.IsInCommand(other, 6, 6));
    PlacedUnit& lone = Add(2, 2, demo::kUsRifle);
    EXPECT_FALSE(m_game.IsInCommand(lone, 2, 2)); // no node
    m_game.m_stacks.At(1, 5) = UnitList();
    AddWithNode(1, 6, demo::kUsRifle, 4, 6); // 5 hexes away
    EXPECT_FALSE(m_game.IsInCommand(unit, 1, 1));
}
