// Air strikes (assignment, arrival, the hex hit, the attack) and minefield
// attacks, on the small fire battle with forced fire tables.
//
// Global draws after SetRandomSeed(0): U1 0.000006 U2 0.655154 U3 0.304814
// U4 0.674961; after SetRandomSeed(1): U1 0.513870 U2 0.175741.
// Private generators are seeded from the clock, fixed here at 99:
//   P1 0.872574  P2 0.193292  P3 0.684696  P4 0.772713
// One shot of a forced table is two draws; an attack on a unit rolls its
// shots twice (attack, then passenger attack), then draws for disruption
// and retreat unless the first roll already eliminated the unit.

#include <string>
#include <vector>

#include "model/PlatoonType.h"
#include "tests/rules/AirMineLanding.h"
#include "tests/rules/DirectFireGame.h"
#include "tests/rules/ForcedFire.h"

namespace {

std::int64_t ClockAt99() { return 99; }

constexpr std::uint32_t kAircraft = 10890;
constexpr std::uint32_t kEnemyAircraft = 1890;
constexpr std::uint32_t kAmphibian = 1093; // a vehicle mines cannot harm
constexpr std::uint32_t kClearer = 1094; // lets its group pass minefields
constexpr std::uint32_t kPioneer = 1292; // unharmed by minefield attacks

constexpr int kRulesMark = CGameData::kHexRulesMark;

int Occurrences(const std::string& text, const std::string& part)
{
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

class AirMineTest : public DirectFireGameTest {
protected:
    void SetUp() override
    {
        AddType(kAircraft, "Fighter Sqn,Fighter", 1, 4, 0, 100, 0, 0, 0, 0, 15, 9);
        AddType(kEnemyAircraft, "Jagd Staffel,Jagd", 1, 4, 0, 100, 0, 0, 0, 0, 11, 7);
        AddType(kAmphibian, "Schwimm Zug,Schwimm", 2, 1, 0, 100, 10, kMoveMineProof, 0, 0, 0, 0);
        AddType(kClearer, "Raeum Zug,Raeumer", 2, 3, 0, 50, 6, kMoveFoot | kMoveMineClearing, 0, 0, 0, 0);
        AddType(kPioneer, "Pionier Zug,Pionier", 4, 3, 0, 50, 6, kMoveFoot, 0, kExtraMineImmune, 4, 12);
        DirectFireGameTest::SetUp();
        SetTimeSource(&ClockAt99);
        m_game.m_parameters.m_value92 = 8;
        m_game.m_parameters.m_value93 = 6;
        m_game.m_parameters.m_value95 = 2;
    }

    void PlaceStrike(int x, int y, int value, int side)
    {
        m_game.m_airStrikeValue.At(x, y) = value;
        m_game.m_airStrikeSide.At(x, y) = side;
    }
    void SetEnemyKnown(int x, int y, int side, int kind) { m_game.m_contact[side].At(x, y) = ContactCell { kind, 1 }; }

    std::string StrikeAt(int x, int y, const PlatoonType* aircraft, int ordinal)
    {
        String text;
        m_game.ResolveAirStrike(text, x, y, aircraft, ordinal);
        return text.str();
    }
    std::string Mines(std::vector<int> positions, int x, int y)
    {
        String text;
        m_game.CheckMinefieldAttack(text, positions.data(), static_cast<int>(positions.size()), x, y);
        return text.str();
    }
    bool Triggered(std::vector<int> positions, int x, int y)
    {
        return m_game.IsMineAttackTriggered(positions.data(), static_cast<int>(positions.size()), x, y);
    }
    // Forced table of four columns at ratios 1 to 4; a mine attack (defence
    // 1) of strength 1, 2, 3 lands exactly on columns 1, 2, 3.
    void ForceByRatio(fire::Outcome one, fire::Outcome two, fire::Outcome three)
    {
        ParameterData& p = m_game.m_parameters;
        p.m_fireColumnCount = 4;
        p.m_fireNumerators = { 1, 2, 3, 4 };
        p.m_fireDenominators = { 1, 1, 1, 1 };
        p.m_fireOutcomes.assign(4, {});
        const fire::Outcome outcomes[] = { one, two, three, three };
        for (int i = 0; i < 4; ++i)
            if (outcomes[i] != fire::kNothing)
                p.m_fireOutcomes[i][outcomes[i]] = 100;
    }
};

// Assignment.

TEST_F(AirMineTest, AssignmentSpendsAStrikeOfTheSideToMoveAndUndoGivesItBack)
{
    m_game.m_airPower[0] = 2;
    m_game.m_airPower[1] = 5;
    m_game.m_hexFlags.At(4, 4) = kRulesMark | CGameData::kHexMinefield1;
    m_game.AssignAirStrike(4, 4);
    EXPECT_EQ(m_game.m_airStrikeValue.At(4, 4), 2);
    EXPECT_EQ(m_game.m_airStrikeSide.At(4, 4), 0);
    EXPECT_EQ(m_game.m_hexFlags.At(4, 4), CGameData::kHexMinefield1);
    EXPECT_EQ(m_game.m_airPower[0], 1);
    EXPECT_EQ(m_game.m_airPower[1], 5);

    m_game.UndoMoves();
    EXPECT_EQ(m_game.m_airStrikeValue.At(4, 4), 0);
    EXPECT_EQ(m_game.m_airPower[0], 2);
    EXPECT_EQ(m_game.m_hexFlags.At(4, 4), kRulesMark | CGameData::kHexMinefield1);

    m_game.m_map.SetSide(1);
    m_game.AssignAirStrike(2, 7);
    EXPECT_EQ(m_game.m_airStrikeSide.At(2, 7), 1);
    EXPECT_EQ(m_game.m_airPower[1], 4);
    m_game.AssignAirStrike(-1, 3); // off the map: nothing
    m_game.AssignAirStrike(10, 0);
    EXPECT_EQ(m_game.m_airPower[1], 4);
}

// Arrival.

TEST_F(AirMineTest, ArrivalScansRowsOuterFromTheCursorWithOneDrawPerStrikeOfTheSideToMove)
{
    // Column-first order would meet (1, 3) before (2, 1); (5, 0) is the
    // other side's and draws nothing.
    PlaceStrike(5, 0, 2, 1);
    PlaceStrike(2, 1, 2, 0);
    PlaceStrike(1, 3, 2, 0);
    SetRandomSeed(0);
    HexPos hex;
    // (2, 1): U1 0.000006 < 0.65 arrives; the cursor stays there.
    ASSERT_TRUE(m_game.NextArrivingAirStrike(hex));
    EXPECT_EQ(hex, (HexPos { 2, 1 }));
    EXPECT_EQ(m_game.m_airStrikeCursor, (HexPos { 2, 1 }));
    // Not resolved: (2, 1) is tested again first, U2 0.655154 stays; then
    // (1, 3): U3 0.304814 arrives.
    ASSERT_TRUE(m_game.NextArrivingAirStrike(hex));
    EXPECT_EQ(hex, (HexPos { 1, 3 }));
    EXPECT_EQ(State(), fire::Advance(0, 3));
    // (1, 3) again: U4 0.674961 stays; the scan ends back at (0, 0).
    EXPECT_FALSE(m_game.NextArrivingAirStrike(hex));
    EXPECT_EQ(m_game.m_airStrikeCursor, (HexPos { 0, 0 }));
    EXPECT_EQ(State(), fire::Advance(0, 4));
    // Strikes that did not arrive wait for a later scan.
    EXPECT_EQ(m_game.m_airStrikeValue.At(2, 1), 2);
    EXPECT_EQ(m_game.m_airStrikeValue.At(1, 3), 2);
}

TEST_F(AirMineTest, ACursorOffTheMapEndsTheScanWithoutADraw)
{
    PlaceStrike(0, 0, 2, 0);
    for (HexPos cursor : { HexPos { 10, 0 }, HexPos { 0, 10 }, HexPos { -1, 2 }, HexPos { 3, -5 } }) {
        m_game.m_airStrikeCursor = cursor;
        SetRandomSeed(0);
        HexPos hex;
        EXPECT_FALSE(m_game.NextArrivingAirStrike(hex));
        EXPECT_EQ(m_game.m_airStrikeCursor, (HexPos { 0, 0 }));
        EXPECT_EQ(State(), 0u);
    }
}

// The hex hit.

class AirStrikeHexTest : public AirMineTest {
protected:
    void SetUp() override
    {
        AirMineTest::SetUp();
        // A strike of side 0 aimed at the empty hex (4, 4), marked by air
        // defence. Its enemy (side 1) is known in (1, 1), (5, 4) and (6, 6);
        // (3, 3) holds side 0's own units, which side 1 knows of.
        PlaceStrike(4, 4, 3, 0);
        m_game.m_hexFlags.At(4, 4) = kRulesMark;
        AddKnown(1, 1, fire::kEnemyRifle, 0, 1); // the corner of the square
        AddKnown(3, 3, fire::kRifle, 1, 1);
        AddKnown(3, 5, fire::kRifle, 1, 2); // known, but not as level 1
        AddKnown(5, 2, fire::kEnemyRifle, 0, 1);
        SetTerrain(5, 2, kTerrainJungle);
        AddKnown(5, 4, fire::kEnemyRifle, 0, 1);
        AddKnown(5, 5, fire::kEnemyRifle, 0, 1);
        PlaceStrike(5, 5, 2, 0); // a strike of its own already
        AddKnown(6, 3, fire::kEnemyRifle, 0, 0); // not known
        AddKnown(6, 6, fire::kEnemyTank, 0, 1);
        AddKnown(8, 4, fire::kEnemyRifle, 0, 1); // beyond the square
    }
    void AddKnown(int x, int y, std::uint32_t id, int knowingSide, int kind)
    {
        Add(x, y, id);
        SetEnemyKnown(x, y, knowingSide, kind);
    }
    void SetTerrain(int x, int y, int terrain) { Hex(x, y).terrain = terrain; }
};

TEST_F(AirStrikeHexTest, TheStrikeMovesToTheChosenHexWithItsMark)
{
    struct Case {
        std::uint32_t seed;
        HexPos hit;
    };
    const Case cases[] = {
        // Columns outer: (1, 1) P1 < 1 chosen; (3, 3) is side 0's and passed
        // the rest: U1 0.000006 < 0.01 keeps it, P2 0.193292 < 1/2 chosen;
        // (5, 4) P3 0.684696 >= 1/3; (6, 6) P4 0.772713 >= 1/4.
        { 0, { 3, 3 } },
        // (1, 1) P1 chosen; (3, 3) U1 0.513870 is not kept; (5, 4) P2 < 1/2
        // chosen; (6, 6) P3 >= 1/3.
        { 1, { 5, 4 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seed);
        for (const Case& other : cases) {
            PlaceStrike(other.hit.column, other.hit.row, 0, -1);
            m_game.m_hexFlags.At(other.hit.column, other.hit.row) = 0;
        }
        PlaceStrike(4, 4, 3, 0);
        m_game.m_hexFlags.At(4, 4) = kRulesMark;
        SetRandomSeed(c.seed);
        HexPos hex { 4, 4 };
        ASSERT_TRUE(m_game.ChooseAirStrikeHex(hex));
        EXPECT_EQ(hex, c.hit);
        EXPECT_EQ(State(), fire::Advance(c.seed, 1)); // the one keep draw
        EXPECT_EQ(m_game.m_airStrikeValue.At(c.hit.column, c.hit.row), 3);
        EXPECT_EQ(m_game.m_airStrikeSide.At(c.hit.column, c.hit.row), 0);
        EXPECT_EQ(m_game.m_hexFlags.At(c.hit.column, c.hit.row), kRulesMark);
        EXPECT_EQ(m_game.m_airStrikeValue.At(4, 4), 0);
        EXPECT_EQ(m_game.m_airStrikeSide.At(4, 4), -1);
        EXPECT_EQ(m_game.m_hexFlags.At(4, 4), 0);
        EXPECT_EQ(m_game.m_airStrikeValue.At(5, 5), 2); // the other strike stays
    }
}

TEST_F(AirStrikeHexTest, NoCandidateLeavesTheStrikeWhereItIs)
{
    for (HexPos enemy : { HexPos { 1, 1 }, HexPos { 5, 4 }, HexPos { 6, 6 } })
        m_game.m_contact[0].At(enemy.column, enemy.row).kind = 2;
    SetRandomSeed(1);
    HexPos hex { 4, 4 };
    // Only (3, 3) could be kept: U1 0.513870 is not below 0.01.
    EXPECT_FALSE(m_game.ChooseAirStrikeHex(hex));
    EXPECT_EQ(hex, (HexPos { 4, 4 }));
    EXPECT_EQ(State(), fire::Advance(1, 1));
    EXPECT_EQ(m_game.m_airStrikeValue.At(4, 4), 3);
    EXPECT_EQ(m_game.m_hexFlags.At(4, 4), kRulesMark);
}

TEST_F(AirStrikeHexTest, TheAimedHexCountsDespiteItsOwnStrikeAndStays)
{
    // Only the aimed hex itself holds a known enemy now.
    for (int x = 0; x < 10; ++x)
        for (int y = 0; y < 10; ++y)
            m_game.m_stacks.At(x, y) = UnitList();
    AddKnown(4, 4, fire::kEnemyRifle, 0, 1);
    SetRandomSeed(0);
    HexPos hex { 4, 4 };
    EXPECT_TRUE(m_game.ChooseAirStrikeHex(hex));
    EXPECT_EQ(hex, (HexPos { 4, 4 }));
    EXPECT_EQ(State(), 0u);
    EXPECT_EQ(m_game.m_airStrikeValue.At(4, 4), 3);
    EXPECT_EQ(m_game.m_hexFlags.At(4, 4), kRulesMark);
}

// The attack.

TEST_F(AirMineTest, AttackOnOneUnitUsesTheStrikeAsShotsAndClearsIt)
{
    Add(4, 4, fire::kEnemyRifle);
    Add(4, 4, fire::kEnemyRifle);
    PlaceStrike(4, 4, 2, 0);
    m_game.SnapshotHex(4, 4);
    SetRandomSeed(0);
    // Two shots at attack 6 (soft): 4 draws, passenger attack 4 more, then
    // the disruption and retreat draws.
    EXPECT_EQ(StrikeAt(4, 4, nullptr, 2), "Air attack on Schuetzen\n>    Attack = 6 Defense = 3\n    No Effect\n");
    EXPECT_EQ(State(), fire::Advance(0, 10));
    EXPECT_EQ(m_game.m_airStrikeValue.At(4, 4), 0);
    EXPECT_EQ(m_game.m_airStrikeSide.At(4, 4), -1);
    EXPECT_TRUE(m_game.m_snapshots.empty());
}

TEST_F(AirMineTest, AttackValuesFromTheParametersOrTheAircraft)
{
    struct Case {
        std::uint32_t target;
        std::uint32_t aircraft; // 0 none
        const char* expected;
    };
    const Case cases[] = {
        { fire::kEnemyRifle, 0, "Air attack on Schuetzen\n>    Attack = 6 Defense = 3\n" },
        { fire::kEnemyTank, 0, "Air attack on Panzer\n>    Attack = 8 Defense = 5\n" },
        { fire::kEnemyRifle, kAircraft, "Air attack on Schuetzen\n>    Attack = 9 Defense = 3\n" },
        { fire::kEnemyTank, kAircraft, "Air attack on Panzer\n>    Attack = 15 Defense = 5\n" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        ClearBattle();
        Add(4, 4, c.target);
        PlaceStrike(4, 4, 1, 0);
        const std::string text = StrikeAt(4, 4, c.aircraft ? Type(c.aircraft) : nullptr, 1);
        EXPECT_EQ(text, std::string(c.expected) + "    No Effect\n");
    }
}

TEST_F(AirMineTest, StrikeMarkAndSmokeEachHalveTheAttackButTheValuesLineShowsItWhole)
{
    // A tank (defence 5) and three shots; from ratio 2 every shot reduces by
    // one point, so three eliminate it; below that nothing happens.
    struct Case {
        int attack;
        bool marked;
        bool smoke;
        const char* result;
    };
    const Case cases[] = {
        { 20, false, false, "Eliminated" },
        { 20, true, false, "Eliminated" }, // 10: ratio 2
        { 20, true, true, "No Effect" }, // 5
        { 10, false, false, "Eliminated" },
        { 10, true, false, "No Effect" },
        { 10, false, true, "No Effect" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.attack << c.marked << c.smoke);
        ClearBattle();
        m_game.m_smokeMark.At(4, 4) = -1;
        ForceFireColumns(m_game.m_parameters, kNothing, kOneAndOne);
        m_game.m_parameters.m_value92 = c.attack;
        Add(4, 4, fire::kEnemyTank);
        PlaceStrike(4, 4, 3, 0);
        if (c.marked)
            m_game.m_hexFlags.At(4, 4) = kRulesMark;
        if (c.smoke)
            m_game.SetSmoke(0, 4, 4, false);
        const std::string text = StrikeAt(4, 4, nullptr, 1);
        EXPECT_EQ(text,
            "Air attack on Panzer\n>    Attack = " + std::to_string(c.attack) + " Defense = 5\n    " + c.result + "\n");
        EXPECT_EQ(m_game.m_hexFlags.At(4, 4) & kRulesMark, 0);
    }
}

TEST_F(AirMineTest, AnAttackOfOneIsNeverHalvedToNothing)
{
    m_game.m_parameters.m_value93 = 1;
    Add(4, 4, fire::kEnemyRifle);
    PlaceStrike(4, 4, 2, 0);
    m_game.m_hexFlags.At(4, 4) = kRulesMark;
    m_game.SetSmoke(0, 4, 4, false);
    SetRandomSeed(0);
    StrikeAt(4, 4, nullptr, 1);
    // An attack of 0 would roll no shot: 6 draws instead of 10.
    EXPECT_EQ(State(), fire::Advance(0, 10));
}

TEST_F(AirMineTest, WithoutATargetUnitTheWholeStackIsAttackedAndCarriedUnitsSkipped)
{
    // Top to bottom: a rifle, a lorry carrying two rifles, a leader.
    Add(4, 4, fire::kEnemyRifle);
    Add(4, 4, fire::kEnemyTruck, kUnitCarrying);
    Add(4, 4, fire::kEnemyRifle, kUnitCarried);
    Add(4, 4, fire::kEnemyRifle, kUnitCarried);
    Add(4, 4, fire::kEnemyLeader);
    PlaceStrike(4, 4, 2, 0);
    SetRandomSeed(0);
    const std::string text = StrikeAt(4, 4, nullptr, 5); // no fifth target
    EXPECT_EQ(text,
        "Air attack on Schuetzen\n>    Attack = 6 Defense = 3\n    No Effect\n"
        "Air attack on Lkw\n>    Attack = 6 Defense = 1\n    No Effect\n"
        "Air attack on Fhr\n>    Attack = 6 Defense = 1\n    No Effect\n");
    // 10 draws for the rifle; 10 for the lorry and one for its passenger's
    // disruption; the leader's two shots and its hit draw.
    EXPECT_EQ(State(), fire::Advance(0, 10 + 11 + 5));
    EXPECT_EQ(Count(4, 4), 5);
}

TEST_F(AirMineTest, EliminationsInsideTheStackNeverShiftTheNextTarget)
{
    Force(fire::kThreeAndThree);
    Add(4, 4, fire::kEnemyRifle);
    Add(4, 4, fire::kEnemyTruck, kUnitCarrying);
    Add(4, 4, fire::kEnemyRifle, kUnitCarried);
    Add(4, 4, fire::kEnemyLeader);
    PlaceStrike(4, 4, 2, 0);
    SetRandomSeed(0);
    const std::string text = StrikeAt(4, 4, nullptr, 0);
    EXPECT_EQ(Occurrences(text, "Air attack on "), 3);
    EXPECT_EQ(Occurrences(text, "    Eliminated"), 3);
    EXPECT_NE(text.find("Passenger Eliminated"), std::string::npos);
    // Each unit: 4 draws of attack and 4 of passenger attack eliminate it;
    // the leader, now alone: 4 draws and its hit draw.
    EXPECT_EQ(State(), fire::Advance(0, 8 + 8 + 5));
    EXPECT_EQ(Count(4, 4), 0);
    EXPECT_EQ(m_game.m_airStrikeValue.At(4, 4), 0);
}

TEST_F(AirMineTest, AStrikeOnAnEmptyHexStillClearsIt)
{
    PlaceStrike(7, 7, 2, 0);
    m_game.m_hexFlags.At(7, 7) = kRulesMark;
    m_game.SnapshotHex(7, 7);
    SetRandomSeed(0);
    EXPECT_EQ(StrikeAt(7, 7, Type(kAircraft), 1), "Air attack on empty hex");
    EXPECT_EQ(State(), 0u);
    EXPECT_EQ(m_game.m_airStrikeValue.At(7, 7), 0);
    EXPECT_EQ(m_game.m_hexFlags.At(7, 7), 0);
    EXPECT_TRUE(m_game.m_snapshots.empty());
}

TEST_F(AirMineTest, UnderHiddenInformationTheTargetsNameIsHidden)
{
    Add(4, 4, fire::kEnemyRifle);
    PlaceStrike(4, 4, 1, 0);
    m_game.SetInfoHidden(true);
    m_game.m_hidden[1] = true;
    EXPECT_EQ(StrikeAt(4, 4, nullptr, 0), "Air attack on Unknown\n>    Attack = 6 Defense = 3\n    No Effect\n");
}

// Landing a phase change's strikes.

TEST_F(AirMineTest, LandingRecallsStrikesWithoutTargetAndAttacksWithAnAircraftFromThePool)
{
    // Side 1 to move: strikes at (2, 1) (nothing near) and (6, 6) (a side 0
    // rifle known to side 1 in (7, 7)).
    m_game.m_map.SetSide(1);
    PlaceStrike(2, 1, 2, 1);
    PlaceStrike(6, 6, 2, 1);
    Add(7, 7, fire::kRifle);
    SetEnemyKnown(7, 7, 1, 1);
    m_game.m_aircraftPool.Append(Type(kEnemyAircraft));
    m_game.m_aircraftPool.Append(Type(kAircraft));
    SetRandomSeed(0);
    // (2, 1): U1 arrives, no candidate: recalled. (6, 6): U2 0.655154
    // stays. The next scan is the next phase's.
    std::vector<LandedAirStrike> landed = LandAirStrikes(m_game);
    ASSERT_EQ(landed.size(), 1u);
    EXPECT_TRUE(landed[0].recalled);
    EXPECT_EQ(landed[0].assigned, (HexPos { 2, 1 }));
    EXPECT_EQ(m_game.m_airStrikeValue.At(2, 1), 0);
    EXPECT_EQ(m_game.m_airStrikeSide.At(2, 1), -1);
    EXPECT_EQ(m_game.m_aircraftPool.Count(), 2u);

    // Seed 1: (6, 6) U1 0.513870 arrives; (7, 7) is the one candidate (P1 < 1).
    // The aircraft is side 1's (soft value 7); the rifle has no air defence.
    SetRandomSeed(1);
    landed = LandAirStrikes(m_game);
    ASSERT_EQ(landed.size(), 1u);
    EXPECT_FALSE(landed[0].recalled);
    EXPECT_EQ(landed[0].hit, (HexPos { 7, 7 }));
    EXPECT_EQ(landed[0].aircraft, Type(kEnemyAircraft));
    EXPECT_EQ(landed[0].defenceReport, "");
    EXPECT_EQ(landed[0].report, "Air attack on Rifle\n>    Attack = 7 Defense = 3\n    No Effect\n");
    EXPECT_EQ(m_game.m_aircraftPool.Count(), 1u);
    EXPECT_EQ(m_game.m_airStrikeValue.At(7, 7), 0);
    EXPECT_EQ(m_game.m_airStrikeValue.At(6, 6), 0);
    EXPECT_EQ(m_game.m_airStrikeCursor, (HexPos { 0, 0 }));
}

// Minefields.

TEST_F(AirMineTest, MinefieldLevelByTheFirstBitFoundAndTheBlockedHexAttacksOnlyVulnerableVehicles)
{
    struct Case {
        int flags;
        const char* expected;
    };
    // Level 1 gives no effect, 2 disrupts, 3 eliminates; the blocked-hex
    // bit wins and attacks the lorry alone with strength 1.
    const Case cases[] = {
        { 0x800 | 0x1 | 0x2 | 0x4, "Lkw\n    No Effect\n" },
        { 0x1 | 0x2 | 0x4, "Lkw\n    No Effect\nSchuetzen\n    No Effect\n" },
        { 0x2 | 0x4, "Lkw\n    Disrupted\nSchuetzen\n    Disrupted\n" },
        { 0x4, "Lkw\n    Eliminated\nSchuetzen\n    Eliminated\n" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        ClearBattle();
        ForceByRatio(fire::kNothing, fire::kDisruptOnly, fire::kOneAndOne);
        Add(4, 4, fire::kEnemyTruck);
        Add(4, 4, fire::kEnemyRifle);
        m_game.m_hexFlags.At(4, 4) = c.flags;
        EXPECT_EQ(Mines({ 1, 2 }, 4, 4), std::string("Attack against units in minefield\n") + c.expected);
    }
    for (int flags : { 0, 0x8, 0x10 | 0x1000 }) {
        ClearBattle();
        Add(4, 4, fire::kEnemyTruck);
        m_game.m_hexFlags.At(4, 4) = flags;
        EXPECT_EQ(Mines({ 1 }, 4, 4), "") << flags;
    }
}

TEST_F(AirMineTest, AnEliminationInsideTheGroupStillLeavesTheNextUnitAttacked)
{
    ForceByRatio(fire::kNothing, fire::kDisruptOnly, fire::kOneAndOne);
    Add(4, 4, fire::kEnemyTruck);
    Add(4, 4, fire::kEnemyRifle);
    Add(4, 4, fire::kEnemyRifle);
    m_game.m_hexFlags.At(4, 4) = CGameData::kHexMinefield3;
    m_game.SnapshotHex(4, 4);
    SetRandomSeed(0);
    // The lorry (2 SP): 4 + 4 draws, eliminated; the rifle listed at 3 is
    // then the second unit of the stack and still attacked: 12 + 12 draws.
    EXPECT_EQ(
        Mines({ 1, 3 }, 4, 4), "Attack against units in minefield\nLkw\n    Eliminated\nSchuetzen\n    Eliminated\n");
    EXPECT_EQ(State(), fire::Advance(0, 8 + 24));
    EXPECT_EQ(Count(4, 4), 1);
    EXPECT_TRUE(m_game.m_snapshots.empty());
}

TEST_F(AirMineTest, MinefieldSkipsCarriedUnitsAndListEndsAndSparesEngineers)
{
    // Top to bottom: a lorry carrying a rifle, an engineer type, a tank.
    Add(4, 4, fire::kEnemyTruck, kUnitCarrying);
    Add(4, 4, fire::kEnemyRifle, kUnitCarried);
    Add(4, 4, kPioneer);
    Add(4, 4, fire::kEnemyTank);
    m_game.m_hexFlags.At(4, 4) = CGameData::kHexMinefield1;
    SetRandomSeed(0);
    EXPECT_EQ(Mines({ 1, 2, 3, 0, 9, 4 }, 4, 4),
        "Attack against units in minefield\nLkw\n    No Effect\nPionier\n    No effect\nPanzer\n    No Effect\n");
    // Lorry 2 SP: 4 + 4 + 2 draws and one for its passenger; the engineer
    // none; the tank 3 SP: 6 + 6 + 2. Position 9 ends the list.
    EXPECT_EQ(State(), fire::Advance(0, 11 + 14));
    // Listed alone or first, the carried rifle is still skipped; a unit
    // listed twice is attacked once; a position past the stack ends the list.
    EXPECT_EQ(Mines({ 2, 1, 1, 5, 3 }, 4, 4), "Attack against units in minefield\nLkw\n    No Effect\n");
    EXPECT_EQ(Mines({ -1, 1 }, 4, 4), "Attack against units in minefield\n");
    // The unit right below the loaded lorry is skipped, not the next one
    // listed after it.
    EXPECT_EQ(Mines({ 1, 4 }, 4, 4), "Attack against units in minefield\nLkw\n    No Effect\nPanzer\n    No Effect\n");
    // A second rider lies below a carried unit, not below the loaded one.
    Add(5, 5, fire::kEnemyTruck, kUnitCarrying);
    Add(5, 5, fire::kEnemyRifle, kUnitCarried);
    Add(5, 5, fire::kEnemyRifle, kUnitCarried);
    m_game.m_hexFlags.At(5, 5) = CGameData::kHexMinefield1;
    EXPECT_EQ(Mines({ 3 }, 5, 5), "Attack against units in minefield\n");
}

TEST_F(AirMineTest, AtTheBlockedHexOnlyVulnerableVehiclesAreAttackedWithStrengthOne)
{
    // Strength 1 only disrupts, 2 or more would eliminate.
    ForceByRatio(fire::kDisruptOnly, fire::kOneAndOne, fire::kOneAndOne);
    Add(4, 4, fire::kEnemyTank);
    Add(4, 4, kAmphibian);
    Add(4, 4, fire::kEnemyRifle);
    Add(4, 4, kClearer);
    Add(4, 4, fire::kEnemyTruck);
    m_game.m_hexFlags.At(4, 4) = CGameData::kHexMinefieldOther;
    EXPECT_EQ(Mines({ 1, 2, 3, 4, 5 }, 4, 4),
        "Attack against units in minefield\nPanzer\n    Disrupted\nLkw\n    Disrupted\n");
}

TEST_F(AirMineTest, TheTriggerTable)
{
    struct Case {
        const char* name;
        int flags;
        int terrain;
        std::vector<std::uint32_t> units; // listed 1, 2, ...
        bool triggered;
    };
    const Case cases[] = {
        { "minefield, a tank", 0x1, 0, { fire::kEnemyTank }, true },
        { "minefield, a rifle", 0x2, 0, { fire::kEnemyRifle }, true },
        { "minefield, with a clearer", 0x4, 0, { kClearer, fire::kEnemyTank }, false },
        { "passing the minefield into the blocked water hex", 0x1 | 0x800, kTerrainShallowWater,
            { kClearer, fire::kEnemyTank }, true },
        { "passing, nothing vulnerable", 0x1 | 0x800, kTerrainShallowWater, { kClearer, fire::kEnemyRifle }, false },
        { "blocked water hex, a tank", 0x800, kTerrainShallowWater, { fire::kEnemyTank }, true },
        { "blocked water hex, an amphibian", 0x800, kTerrainShallowWater, { kAmphibian }, false },
        { "blocked hex on open ground", 0x800, 0, { fire::kEnemyTank }, false },
        { "obstacle only", 0x8, kTerrainShallowWater, { fire::kEnemyTank }, false },
        { "nothing", 0, 0, { fire::kEnemyTank }, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearBattle();
        std::vector<int> positions;
        for (std::uint32_t id : c.units) {
            Add(4, 4, id);
            positions.push_back(static_cast<int>(positions.size()) + 1);
        }
        Hex(4, 4).terrain = c.terrain;
        m_game.m_hexFlags.At(4, 4) = c.flags;
        EXPECT_EQ(Triggered(positions, 4, 4), c.triggered);
    }
    // The clearer past the end of the list does not count.
    ClearBattle();
    Add(4, 4, fire::kEnemyTank);
    Add(4, 4, kClearer);
    m_game.m_hexFlags.At(4, 4) = CGameData::kHexMinefield1;
    EXPECT_FALSE(Triggered({ 2, 1 }, 4, 4));
    EXPECT_TRUE(Triggered({ 1, 7, 2 }, 4, 4));
    EXPECT_FALSE(Triggered({ 1 }, -1, 4));
}

TEST_F(AirMineTest, MineVulnerability)
{
    EXPECT_TRUE(m_game.IsMineVulnerable(PlacedUnit(Type(fire::kEnemyTank), nullptr)));
    EXPECT_TRUE(m_game.IsMineVulnerable(PlacedUnit(Type(fire::kEnemyTruck), nullptr)));
    EXPECT_FALSE(m_game.IsMineVulnerable(PlacedUnit(Type(fire::kEnemyRifle), nullptr))); // on foot
    EXPECT_FALSE(m_game.IsMineVulnerable(PlacedUnit(Type(kAmphibian), nullptr)));
    EXPECT_FALSE(m_game.IsMineVulnerable(PlacedUnit(Type(kAircraft), nullptr))); // does not move by itself
    EXPECT_FALSE(m_game.IsMineVulnerable(PlacedUnit(nullptr, nullptr)));
}

TEST_F(AirMineTest, MinefieldFireMarkUnderHiddenInformation)
{
    struct Case {
        const char* name;
        bool infoHidden;
        int options;
        bool otherHidden; // side 0 hidden from side 1's player
        int otherContact;
        int mark;
    };
    const Case cases[] = {
        { "information shown", false, 0, true, 0, -1 },
        { "hidden, the other side shown", true, 0, false, 0, 1 },
        { "hidden, the other side hidden and blind", true, 0, true, 0, -1 },
        { "hidden, the other side hidden but in contact", true, 0, true, 1, 1 },
        { "extreme fog of war", false, kOptionExtremeFogOfWar, false, 0, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearBattle();
        m_game.m_fireMark.At(4, 4) = -1;
        Add(4, 4, fire::kEnemyRifle);
        m_game.m_hexFlags.At(4, 4) = CGameData::kHexMinefield1;
        m_game.SetInfoHidden(c.infoHidden);
        m_game.m_options = c.options;
        m_game.m_hidden[0] = c.otherHidden;
        m_game.m_contact[0].At(4, 4) = ContactCell { c.otherContact, 1 };
        Mines({ 1 }, 4, 4);
        EXPECT_EQ(m_game.m_fireMark.At(4, 4), c.mark);
    }
    // A unit the mines eliminate leaves its side's mark.
    ClearBattle();
    Force(fire::kThreeAndThree);
    m_game.m_fireMark.At(4, 4) = -1;
    Add(4, 4, fire::kEnemyTruck);
    m_game.m_hexFlags.At(4, 4) = CGameData::kHexMinefield1;
    m_game.SetInfoHidden(true);
    m_game.m_hidden[0] = false;
    EXPECT_EQ(Mines({ 1 }, 4, 4), "Attack against units in minefield\nLkw\n    Eliminated\n");
    EXPECT_EQ(m_game.m_fireMark.At(4, 4), 1);
}
