// Indirect fire on a hex, at once and plotted; plotting and the landing at a
// phase change; smoke, starshell, scatter and drift.
//
// The guns (10 against hard and soft targets at every range, 2 points) fire
// from (2, 2) at (2, 6), four hexes away, with the divisor 10: against the
// 6 points of a rifle platoon the attack is 10 x 6 / 10 = 6.

#include <cstdint>
#include <string>
#include <vector>

#include "tests/rules/DirectFireGame.h"
#include "tests/rules/ForcedFire.h"
#include "tests/rules/IndirectFireLanding.h"

namespace {

// The multiplier's inverse modulo 2^32: a state that the next draw turns
// into a chosen one.
constexpr std::uint32_t kInverseMultiplier = 0xEEB9EB65u;
static_assert(kInverseMultiplier * 1103515245u == 1u);

// The generator state whose next draw is exactly that many 2^-31 parts.
std::uint32_t StateBeforeDraw(std::uint32_t parts) { return (parts - 12345u) * kInverseMultiplier; }

} // namespace

class IndirectFireTest : public DirectFireGameTest {
protected:
    void SetUp() override
    {
        DirectFireGameTest::SetUp();
        m_node7.m_id = 7;
        m_node8.m_id = 8;
        m_node9.m_id = 9;
    }

    // Side 0 has contact level 1 with the hex.
    void Spot(int x, int y) { m_game.m_contact[0].At(x, y) = ContactCell { 1, 4 }; }

    struct Fired {
        std::string report;
        std::string detail;
    };
    Fired Fire(std::vector<int> positions, int fx = 2, int fy = 2, int tx = 2, int ty = 6)
    {
        String report;
        String detail;
        m_game.ResolveIndirectFire(
            report, positions.data(), static_cast<int>(positions.size()), fx, fy, tx, ty, detail);
        return { report.c_str(), detail.c_str() };
    }
    Fired FirePlotted(PlacedUnit& unit, int fx, int fy, int tx, int ty)
    {
        String report;
        String detail;
        m_game.ResolvePlottedFire(report, unit, fx, fy, tx, ty, detail);
        return { report.c_str(), detail.c_str() };
    }
    // The attack value of one gun's fire, as its detail shows it.
    int AttackOf(const Fired& fired)
    {
        const std::string key = "Attack = ";
        const std::size_t at = fired.detail.find(key);
        return at == std::string::npos ? -1 : std::stoi(fired.detail.substr(at + key.size()));
    }

    OrgNode m_node7;
    OrgNode m_node8;
    OrgNode m_node9;
};

// Fire at once.

TEST_F(IndirectFireTest, AFinishedTargetStopsTheFirersAtItOnly)
{
    // Below ratio 1 every shot takes 3 points, from ratio 2 none.
    ForceFireColumns(m_game.m_parameters, kThreeAndThree, kNothing);
    Add(2, 2, fire::kGun);
    Add(2, 2, fire::kRifle); // no indirect fire: never fires here
    Add(2, 2, fire::kGun).m_strength = 1;
    Add(2, 6, fire::kEnemyRifle).m_strength = 2;
    Add(2, 6, fire::kEnemyRifle);
    Spot(2, 6);
    SetRandomSeed(0);
    const Fired fired = Fire({ 1, 2, 3 });
    // First target, 2 points: attack 10 x 2 / 10 = 2 against 3, column 0.
    // The first gun's 2 shots (U1..U4) take 6 >= 2 points; its passenger
    // shots (U5..U8) go at ratio 2; eliminated: the second gun holds fire.
    // Second target, 6 points: attack 6 (ratio 2, no effect): shots U9..U12,
    // passenger shots U13..U16, disruption and retreat tests U17, U18; the
    // second gun (1 point) fires too: one shot U19, U20, passenger shot
    // U21, U22, tests U23, U24.
    const std::string expected = "Schuetzen\n>    Defense = 3\n>    Attack = 2\n    Eliminated\n"
                                 "Schuetzen\n>    Defense = 3\n>    Attack = 6\n    No Effect\n"
                                 ">    Attack = 6\n    No Effect\n";
    EXPECT_EQ(fired.report, expected);
    EXPECT_EQ(fired.detail, expected.substr(0, expected.size() - 1));
    EXPECT_EQ(State(), fire::Advance(0, 24));
    EXPECT_EQ(Count(2, 6), 1);
    // Every listed unit's soft value goes to the hex: 10 + 12 + 10.
    EXPECT_EQ(m_game.m_hexValue.At(2, 6), 32);
    EXPECT_EQ(m_game.m_traceFirerHex, (HexPos { -1, -1 }));
}

TEST_F(IndirectFireTest, ALeaderIsHitOrSpared)
{
    Force(fire::kThreeAndThree);
    Add(2, 2, fire::kGun);
    Add(2, 6, fire::kEnemyLeader);
    Spot(2, 6);
    SetRandomSeed(0);
    // Attack 10 x 1 / 10 = 1; 2 shots (U1..U4) give 6; alone in its hex the
    // leader is hit with 6 x 4 x 5 / 100 = 1.2 > U5.
    EXPECT_EQ(Fire({ 1 }).report, "Fhr\n>    Defense = 1\n>    Attack = 1\n    Eliminated\n");
    EXPECT_EQ(State(), fire::Advance(0, 5));
    EXPECT_EQ(Count(2, 6), 0);
}

TEST_F(IndirectFireTest, AnEmptyHexReportsAndTakesTheFireValue)
{
    Add(2, 2, fire::kGun);
    SetRandomSeed(0);
    const Fired fired = Fire({ 1 });
    EXPECT_EQ(fired.report, "Indirect fire on empty hex\n");
    EXPECT_EQ(fired.detail, "Indirect fire on empty hex");
    EXPECT_EQ(State(), fire::Advance(0, 0));
    EXPECT_EQ(m_game.m_hexValue.At(2, 6), 10);
}

TEST_F(IndirectFireTest, ARefusedSelectionFiresNothing)
{
    Add(2, 2, fire::kGun);
    Add(2, 6, fire::kEnemyRifle);
    m_game.SnapshotHex(5, 5);
    SetRandomSeed(0);
    const Fired fired = Fire({ 2 });
    EXPECT_EQ(fired.report, "");
    EXPECT_EQ(fired.detail, "");
    EXPECT_EQ(State(), fire::Advance(0, 0));
    EXPECT_EQ(m_game.m_snapshots.size(), 1u);
    EXPECT_EQ(m_game.m_hexValue.At(2, 6), 0);
}

TEST_F(IndirectFireTest, CarriedUnitsAndTheUnitBelowALoadedOneAreNoTargets)
{
    Add(2, 2, fire::kGun);
    Add(2, 6, fire::kEnemyTruck, kUnitCarrying);
    Add(2, 6, fire::kEnemyRifle, kUnitCarried);
    Add(2, 6, fire::kEnemyTruck, kUnitCarrying);
    Add(2, 6, fire::kEnemyRifle); // below a loaded unit, though not marked carried
    Add(2, 6, fire::kEnemyRifle);
    Spot(2, 6);
    // The trucks (2 points: attack 2) and the last rifle are fired on.
    EXPECT_EQ(Fire({ 1 }).detail,
        "Lkw\n>    Defense = 1\n>    Attack = 2\n    No Effect\n"
        "Lkw\n>    Defense = 1\n>    Attack = 2\n    No Effect\n"
        "Schuetzen\n>    Defense = 3\n>    Attack = 6\n    No Effect");
}

TEST_F(IndirectFireTest, AttackHalvingsAmmunitionAndDivisor)
{
    struct Case {
        const char* name;
        int targetStrength;
        bool spotted;
        bool shown; // the hex shows units
        bool lowAmmo;
        int divisor;
        int attack;
    };
    const Case cases[] = {
        { "plain: 10 x 7 / 10", 7, true, true, false, 10, 7 },
        { "no contact level 1: halved", 7, false, true, false, 10, 3 },
        { "hex shows no units: halved", 7, true, false, false, 10, 3 },
        { "both: halved twice", 7, false, false, false, 10, 1 },
        { "low ammunition: rounded up", 7, true, true, true, 10, 4 },
        { "halved, then low ammunition", 7, false, true, true, 10, 2 },
        { "at least 1", 1, false, false, false, 10, 1 },
        { "divisor 0 counts as 1", 7, true, true, false, 0, 70 },
        { "a negative divisor too", 7, true, true, false, -5, 70 },
        { "held to the int range", 2147483647, true, true, false, 1, 2147483647 },
    };
    Add(2, 2, fire::kGun);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_game.m_stacks.At(2, 6) = UnitList();
        Add(2, 6, fire::kEnemyRifle).m_strength = c.targetStrength;
        m_game.m_contact[0].At(2, 6) = ContactCell { c.spotted ? 1 : 2, 4 };
        m_game.m_unitsAnswer = [&c](int, int) { return c.shown; };
        Unit(2, 2, 1).m_status = c.lowAmmo ? std::uint32_t { kUnitLowAmmo } : 0u;
        m_game.m_parameters.m_defenseZeroValue = c.divisor;
        Force(fire::kNothing);
        EXPECT_EQ(AttackOf(Fire({ 1 })), c.attack);
    }
    m_game.m_unitsAnswer = nullptr;
}

TEST_F(IndirectFireTest, CaveFightersAreNotHurtAndAFiringCaveIsRevealed)
{
    Add(2, 2, fire::kGun);
    Add(2, 6, fire::kCaveRifle);
    Add(2, 6, fire::kEnemyRifle);
    Spot(2, 6);
    m_game.m_hexFlags.At(2, 6) = CGameData::kHexCave;
    // Nation 21 on foot in a cave: modifier 0; the other rifle keeps 1.
    EXPECT_EQ(Fire({ 1 }).report,
        "Cave\n>    Defense = 3 Modifier = 0%\n>    Attack = 4\n    No Effect\n"
        "Schuetzen\n>    Defense = 3\n>    Attack = 6\n    No Effect\n");
    m_game.m_hexFlags.At(2, 6) = 0;
    EXPECT_EQ(Fire({ 1 }).detail.substr(0, 22), "Cave\n>    Defense = 3\n");

    // The firer's own cave is revealed when the enemy has contact level 1.
    struct Case {
        int enemyContact;
        bool plotted;
        int flags;
    };
    const Case cases[] = {
        { 1, false, CGameData::kHexCave | CGameData::kHexCaveRevealed },
        { 2, false, CGameData::kHexCave },
        { 1, true, CGameData::kHexCave },
    };
    for (const Case& c : cases) {
        m_game.m_hexFlags.At(2, 2) = CGameData::kHexCave;
        m_game.m_contact[1].At(2, 2) = ContactCell { c.enemyContact, 4 };
        if (c.plotted)
            FirePlotted(Unit(2, 2, 1), 2, 2, 2, 6);
        else
            Fire({ 1 });
        EXPECT_EQ(m_game.m_hexFlags.At(2, 2), c.flags) << c.enemyContact << c.plotted;
    }
}

TEST_F(IndirectFireTest, HiddenInformationHidesWhatTheFiringSideCannotKnow)
{
    const std::string seen = "Schuetzen\n>    Defense = 3\n>    Attack = 6\n    No Effect";
    Add(2, 2, fire::kGun);
    Add(2, 6, fire::kEnemyRifle);
    Spot(2, 6);

    // No hidden information: everything is shown, no fire mark.
    EXPECT_EQ(Fire({ 1 }).report, seen + "\n");
    EXPECT_FALSE(m_game.HasFireMark(2, 2));

    // Fog by day with the target seen: names are hidden, results shown; the
    // rifle sees the gun, so the gun's hex keeps its side's fire mark.
    m_game.m_infoHidden = 1;
    m_game.m_hidden[1] = true;
    Fired fired = Fire({ 1 });
    EXPECT_EQ(fired.report, "Unknown\n>    Defense = 3\n>    Attack = 6\n    No Effect\n");
    EXPECT_EQ(fired.detail, seen);
    EXPECT_EQ(m_game.m_fireMark.At(2, 2), 0);

    // A unit its enemy has not spotted shows nothing of itself.
    Unit(2, 6, 1).m_status = kUnitHidden;
    fired = Fire({ 1 });
    EXPECT_EQ(fired.report, "");
    EXPECT_EQ(fired.detail, seen);
    Unit(2, 6, 1).m_status = 0;

    // At night an unlit target hides everything; a lit one does not.
    m_game.m_night = 1;
    EXPECT_EQ(Fire({ 1 }).report, CGameDirectFire::kUnknownEffectsText);
    m_game.SetStarshell(0, 2, 6);
    EXPECT_EQ(Fire({ 1 }).report, "Unknown\n>    Defense = 3\n>    Attack = 6\n    No Effect\n");
    m_game.SetStarshell(-1, 2, 6);
    m_game.m_night = 0;

    // A target without contact level 1: the results are unknown, and no
    // move can be taken back after them.
    m_game.m_contact[0].At(2, 6) = ContactCell { 0, -1 };
    m_game.SnapshotHex(5, 5);
    fired = Fire({ 1 });
    EXPECT_EQ(fired.report, "Unknown indirect fire results");
    EXPECT_EQ(fired.detail, "Schuetzen\n>    Defense = 3\n>    Attack = 3\n    No Effect");
    EXPECT_TRUE(m_game.m_snapshots.empty());

    // An unarmed target cannot see the gun: the mark goes again.
    m_game.m_stacks.At(2, 6) = UnitList();
    Add(2, 6, fire::kEnemyTruck);
    Spot(2, 6);
    Fire({ 1 });
    EXPECT_FALSE(m_game.HasFireMark(2, 2));
}

// Plotting and the landing at the phase change.

TEST_F(IndirectFireTest, PlottingKeepsOneMissionAndMarksTheUnitFired)
{
    m_game.m_options = kOptionPlottedIndirectFire;
    PlacedUnit& gun = Add(2, 2, fire::kGun);
    gun.m_node = &m_node7;
    Add(2, 6, fire::kEnemyRifle);
    m_game.m_smoke[0] = 3;
    SetRandomSeed(0);
    m_game.PlotIndirectFire(gun, 2, 2, 2, 6, true);
    ASSERT_EQ(m_game.m_pendingFire.Count(), 1u);
    const PendingFire& record = m_game.m_pendingFire.Head()->value;
    EXPECT_EQ(record.nodeId, 7);
    EXPECT_EQ(record.fromColumn, 2);
    EXPECT_EQ(record.fromRow, 2);
    EXPECT_EQ(record.targetColumn, 2);
    EXPECT_EQ(record.targetRow, 6);
    EXPECT_TRUE(record.smoke);
    EXPECT_NE(gun.m_status & kUnitFired, 0u);
    EXPECT_EQ(gun.m_actionPoints, 0);
    EXPECT_EQ(m_game.m_smoke[0], 2);
    // Nothing fired: no draw, the target as it was, no smoke yet.
    EXPECT_EQ(State(), fire::Advance(0, 0));
    EXPECT_EQ(Unit(2, 6, 1).m_strength, 6);
    EXPECT_FALSE(m_game.HasSmoke(2, 6));
    EXPECT_EQ(m_game.m_hexValue.At(2, 6), 0);
}

TEST_F(IndirectFireTest, TheSideToMoveLandsItsMissionsAndKeepsTheOthers)
{
    m_game.m_visibility = 2;
    // An off-map gun fires at a spotted rifle; a gun on the map lays smoke
    // on a hex its side neither spotted nor sees; a mission of a unit gone;
    // a mission of the other side.
    OffMapUnit offMap { PlacedUnit(Type(fire::kGun), &m_node7), -2, 5 };
    m_game.m_offMapUnits.Append(offMap);
    Add(2, 2, fire::kGun).m_node = &m_node8;
    Add(8, 8, fire::kEnemyRifle).m_node = &m_node9;
    Add(2, 6, fire::kEnemyRifle);
    Spot(2, 6);
    m_game.m_pendingFire.Append(PendingFire { 7, -2, 5, 2, 6, false });
    m_game.m_pendingFire.Append(PendingFire { 9, 8, 8, 2, 2, false });
    m_game.m_pendingFire.Append(PendingFire { 5, 3, 3, 2, 6, false });
    m_game.m_pendingFire.Append(PendingFire { 8, 2, 2, 6, 6, true });
    SetRandomSeed(0);
    const std::vector<LandedMission> landed = LandPlottedFire(m_game);
    // The fire: 2 shots U1..U4, passenger shots U5..U8, tests U9, U10.
    // The smoke drifts: U11 0.3742 gives 3 (SE) to (7, 7), U12 0.8256
    // gives 5 (SW) to (6, 7).
    ASSERT_EQ(landed.size(), 2u);
    EXPECT_EQ(landed[0].report, "Schuetzen\n>    Defense = 3\n>    Attack = 6\n    No Effect\n");
    EXPECT_EQ(landed[1].report, "Smoke fired into hex at 6, 7");
    EXPECT_EQ(State(), fire::Advance(0, 12));
    EXPECT_EQ(m_game.m_smokeMark.At(6, 7), 0);
    EXPECT_EQ(m_game.m_hexFlags.At(6, 7) & CGameData::kHexSmoke, 0);
    ASSERT_EQ(m_game.m_pendingFire.Count(), 1u);
    EXPECT_EQ(m_game.m_pendingFire.Head()->value.nodeId, 9);
    // An off-map firer leaves no mark and adds its value all the same.
    EXPECT_EQ(m_game.m_hexValue.At(2, 6), 10);
}

TEST_F(IndirectFireTest, DriftNeverEntersTheFirerHexNorLeavesTheMap)
{
    struct Case {
        std::uint32_t seed;
        HexPos firer;
        HexPos start;
        HexPos end;
    };
    // Seed 0 draws 1 (N), then 4 (S); seed 1 draws 4 (S), then 2 (NE).
    const Case cases[] = {
        { 0, { 7, 7 }, { 4, 5 }, { 4, 5 } }, // N to (4, 4), S back
        { 0, { 4, 4 }, { 4, 5 }, { 4, 6 } }, // N is the firer's hex
        { 0, { 7, 7 }, { 4, 0 }, { 4, 1 } }, // N is off the map
        { 1, { 0, 0 }, { 4, 9 }, { 5, 9 } }, // S is off the map; NE of an even column
        { 1, { 5, 8 }, { 4, 7 }, { 4, 8 } }, // NE is the firer's hex
    };
    for (const Case& c : cases) {
        SetRandomSeed(c.seed);
        HexPos hex = c.start;
        m_game.DriftImpactHex(c.firer.column, c.firer.row, hex);
        EXPECT_EQ(hex, c.end) << c.start.column << ", " << c.start.row;
        EXPECT_EQ(State(), fire::Advance(c.seed, 2));
    }
}

TEST_F(IndirectFireTest, ScatterKeepsFourInTenAndStaysOnTheMap)
{
    struct Case {
        std::uint32_t seed;
        HexPos start;
        HexPos end;
        int draws;
    };
    const Case cases[] = {
        { 0, { 4, 4 }, { 4, 4 }, 1 }, // U1 0.000006 < 0.4: stays
        { 1, { 4, 4 }, { 5, 4 }, 2 }, // U1 0.5139, then 2: NE
        { 1, { 5, 4 }, { 6, 3 }, 2 }, // NE of an odd column
        { 1, { 9, 4 }, { 9, 4 }, 2 }, // NE is off the map
    };
    for (const Case& c : cases) {
        SetRandomSeed(c.seed);
        HexPos hex = c.start;
        m_game.ScatterImpactHex(hex);
        EXPECT_EQ(hex, c.end) << c.start.column << ", " << c.start.row;
        EXPECT_EQ(State(), fire::Advance(c.seed, c.draws));
    }
}

// Smoke and starshell.

TEST_F(IndirectFireTest, SmokeNeedsLandOrFrozenWater)
{
    struct Case {
        int terrain;
        int water;
        std::uint32_t targetFlags;
        const char* text;
        int mark;
        int hexBit;
    };
    const Case cases[] = {
        { kTerrainWater, 0, 0x8, "Fire landed in invalid hex at 4, 5", -1, 0 },
        { kTerrainWater, 1, 0x8, "Smoke fired into hex at 4, 5", 0, 0 },
        { kTerrainOpen, 0, 0x8, "Smoke fired into hex at 4, 5", 0, 0 },
        { kTerrainOpen, 0, 0x8 | kTargetSmokeSetsHexBit, "Smoke fired into hex at 4, 5", 0, CGameData::kHexSmoke },
    };
    PlacedUnit& gun = Add(2, 2, fire::kGun);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        m_game.SetSmoke(-1, 4, 5, true);
        Hex(4, 5).terrain = c.terrain;
        m_game.m_terrain.water = c.water;
        Type(fire::kGun)->m_targetFlags = c.targetFlags;
        m_game.SetFireTrace(HexSide::North, 2, 2, HexSide::South, 4, 5);
        String out;
        m_game.FireSmoke(out, gun, 4, 5);
        EXPECT_STREQ(out.c_str(), c.text);
        EXPECT_EQ(m_game.m_smokeMark.At(4, 5), c.mark);
        EXPECT_EQ(m_game.m_hexFlags.At(4, 5) & CGameData::kHexSmoke, c.hexBit);
        EXPECT_EQ(m_game.m_traceFirerHex, (HexPos { -1, -1 }));
    }
}

TEST_F(IndirectFireTest, StarshellChanceOfTheListedUnits)
{
    // After seed 1 the draw is 0.513870: a chance of 51 or less fails.
    struct Case {
        const char* name;
        std::vector<std::uint32_t> ids; // 0: a disrupted rifle
        int leaderStrength;
        bool fired;
    };
    const Case cases[] = {
        { "one unit: 40", { fire::kRifle }, 0, false },
        { "two units: 80", { fire::kRifle, fire::kRifle }, 0, true },
        { "a unit and a leader of 2 points: 50", { fire::kRifle, fire::kLeader }, 2, false },
        { "a unit and a leader of 3 points: 55", { fire::kRifle, fire::kLeader }, 3, true },
        { "a disrupted unit and one not: 60", { fire::kRifle, 0 }, 0, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_game.m_stacks.At(2, 2) = UnitList();
        m_game.SetStarshell(-1, 4, 5);
        m_game.m_starshells[0] = 2;
        std::vector<int> positions;
        for (std::uint32_t id : c.ids) {
            PlacedUnit& unit = id == 0 ? Add(2, 2, fire::kRifle, kUnitDisrupted) : Add(2, 2, id);
            if (id == fire::kLeader)
                unit.m_strength = c.leaderStrength;
            positions.push_back(static_cast<int>(positions.size()) + 1);
        }
        SetRandomSeed(1);
        String out;
        m_game.FireStarshell(out, positions.data(), static_cast<int>(positions.size()), 2, 2, 4, 5);
        EXPECT_STREQ(out.c_str(), c.fired ? "" : "Firing of starshell failed");
        EXPECT_EQ(m_game.m_starshells[0], c.fired ? 1 : 2);
        EXPECT_EQ(m_game.m_starshellMark.At(4, 5), c.fired ? 0 : -1);
        EXPECT_EQ(State(), fire::Advance(1, 1));
    }
}

TEST_F(IndirectFireTest, StarshellFailsWhenTheChanceEqualsTheDraw)
{
    // A draw of exactly 0.25 (2^29 parts of 2^31) against a leader of 5
    // points (25): fails; of 6 points (30): fired.
    PlacedUnit& leader = Add(2, 2, fire::kLeader);
    const int positions[] = { 1 };
    for (int strength : { 5, 6 }) {
        leader.m_strength = strength;
        m_game.m_starshells[0] = 1;
        GlobalRandomGenerator().SetState(StateBeforeDraw(0x20000000u));
        ASSERT_EQ(fire::Advance(GlobalRandomGenerator().State(), 1), 0x20000000u);
        String out;
        m_game.FireStarshell(out, positions, 1, 2, 2, 4, 5);
        EXPECT_STREQ(out.c_str(), strength == 5 ? "Firing of starshell failed" : "") << strength;
    }
    // The last one is spent, and the stock never goes below nothing.
    EXPECT_EQ(m_game.m_starshells[0], 0);
    GlobalRandomGenerator().SetState(StateBeforeDraw(0));
    String out;
    m_game.FireStarshell(out, positions, 1, 2, 2, 4, 5);
    EXPECT_STREQ(out.c_str(), "");
    EXPECT_EQ(m_game.m_starshells[0], 0);
}

TEST_F(IndirectFireTest, StarshellMissionOfTheFiringUnitsSide)
{
    PlacedUnit& gun = Add(2, 2, fire::kGun);
    Add(2, 6, fire::kEnemyRifle);
    m_game.m_map.SetSide(1);
    m_game.m_starshells[0] = 3;
    m_game.m_starshells[1] = 3;
    m_game.m_infoHidden = 1;
    m_game.m_night = 1;

    // Seed 1: 40 <= 51.4 fails; nothing changes.
    SetRandomSeed(1);
    String out;
    m_game.FireStarshellMission(out, gun, 2, 2, 4, 5);
    EXPECT_STREQ(out.c_str(), "Firing of starshell failed");
    EXPECT_EQ(m_game.m_starshells[0], 3);
    EXPECT_FALSE(m_game.HasFireMark(2, 2));

    // Seed 0: U1 0.000006 fires: the gun's side pays and marks the target.
    // At night the fire mark itself shows the gun's hex to the rifle, so
    // the mark stays.
    SetRandomSeed(0);
    m_game.FireStarshellMission(out, gun, 2, 2, 2, 5);
    EXPECT_STREQ(out.c_str(), "");
    EXPECT_EQ(m_game.m_starshells[0], 2);
    EXPECT_EQ(m_game.m_starshells[1], 3);
    EXPECT_EQ(m_game.m_starshellMark.At(2, 5), 0);
    EXPECT_EQ(m_game.m_fireMark.At(2, 2), 0);
    EXPECT_EQ(State(), fire::Advance(0, 1));

    // Disrupted: 20 <= 0.3048 x 100 fails (the third draw after seed 0).
    gun.m_status = kUnitDisrupted;
    SetRandomSeed(0);
    UniformRandom();
    UniformRandom();
    m_game.FireStarshellMission(out, gun, 2, 2, 2, 5);
    EXPECT_STREQ(out.c_str(), "Firing of starshell failed");
    // 20 > 0.000006 x 100 fires.
    SetRandomSeed(0);
    m_game.FireStarshellMission(out, gun, 2, 2, 2, 5);
    EXPECT_STREQ(out.c_str(), "");
}

TEST_F(IndirectFireTest, OnlyAnUncarriedIndirectTypeFiresIndirectly)
{
    EXPECT_TRUE(m_game.CanFireIndirect(Add(2, 2, fire::kGun)));
    EXPECT_FALSE(m_game.CanFireIndirect(Add(2, 2, fire::kGun, kUnitCarried)));
    EXPECT_FALSE(m_game.CanFireIndirect(Add(2, 2, fire::kRifle)));
}
