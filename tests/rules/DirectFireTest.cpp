// Direct fire: fire values, defence and cover, shots, the fire itself with
// its report and draws, the marks and the trace, the firing reserve and the
// engineers' attempts on walls and bridges.

#include <sstream>
#include <string>
#include <vector>

#include "model/Geometry.h"
#include "tests/rules/DirectFireGame.h"

namespace {

const std::string kCompanies = "1\n0\n6 44\n"
                               "B1000000 1 8 1st Bn\n"
                               "  C1000000 2 7 A Co\n"
                               "    P10400 3 8 Capt A\n"
                               "    P10200 4 6 1st Plt\n"
                               "  End\n"
                               "  C1000001 6 7 B Co\n"
                               "    P10400 7 8 Capt B\n"
                               "    P10200 8 6 3rd Plt\n"
                               "  End\n"
                               "End\n";

} // namespace

class DirectFireTest : public DirectFireGameTest {
protected:
    void ReadCompanies()
    {
        std::istringstream in(kCompanies);
        ASSERT_TRUE(m_game.m_orgTree.Read(in));
    }
    OrgNode* Node(int id) { return m_game.m_orgTree.FindNode(id); }
};

// The rifle fires at a soft target three hexes away: 12 before any halving.
TEST_F(DirectFireTest, FireValueHalvingsFloorAndNight)
{
    struct Case {
        const char* name;
        int phase;
        std::uint32_t status;
        bool smokeAtFirer;
        int firerTerrain;
        int water;
        bool smokeAtTarget;
        int night;
        int targetY;
        int value;
    };
    const Case cases[] = {
        { "plain", 0, 0, false, kTerrainOpen, 0, false, 0, 5, 12 },
        { "final phase", 2, 0, false, kTerrainOpen, 0, false, 0, 5, 6 },
        { "disrupted", 0, kUnitDisrupted, false, kTerrainOpen, 0, false, 0, 5, 6 },
        { "smoke at the firer", 0, 0, true, kTerrainOpen, 0, false, 0, 5, 6 },
        { "in water", 0, 0, false, kTerrainWater, 0, false, 0, 5, 3 },
        { "on frozen water", 0, 0, false, kTerrainWater, 1, false, 0, 5, 12 },
        { "smoke at the target", 0, 0, false, kTerrainOpen, 0, true, 0, 5, 6 },
        { "digging in", 0, kUnitDiggingIn, false, kTerrainOpen, 0, false, 0, 5, 6 },
        { "double time", 0, kUnitFatigued, false, kTerrainOpen, 0, false, 0, 5, 6 },
        // 12 / 2 / 2 / 2 / 2 = 0, held to 1 since the weapon had a value.
        { "floor at 1", 2, kUnitDisrupted | kUnitDiggingIn | kUnitFatigued, false, kTerrainOpen, 0, false, 0, 5, 1 },
        { "night, unlit, three hexes", 0, 0, false, kTerrainOpen, 0, false, 1, 5, 6 },
        { "night, adjacent", 0, 0, false, kTerrainOpen, 0, false, 1, 3, 12 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearBattle();
        m_game.m_map.SetPhase(c.phase);
        m_game.m_night = static_cast<std::uint8_t>(c.night);
        m_game.m_terrain.water = c.water;
        Hex(2, 2).terrain = c.firerTerrain;
        m_game.SetSmoke(c.smokeAtFirer ? 0 : -1, 2, 2, true);
        m_game.SetSmoke(c.smokeAtTarget ? 0 : -1, 2, c.targetY, true);
        PlacedUnit& rifle = Add(2, 2, fire::kRifle, c.status);
        Add(2, c.targetY, fire::kEnemyRifle);
        EXPECT_EQ(m_game.ComputeFireValue(rifle, 2, 2, 2, c.targetY, false, false), c.value);
    }
    m_game.m_terrain.water = 0;
}

TEST_F(DirectFireTest, WeaponValueByTargetClassNeverNegative)
{
    PlacedUnit& tank = Add(0, 0, fire::kTank);
    EXPECT_EQ(m_game.ComputeFireValue(tank, 0, 0, 0, 3, true, false), 20);
    EXPECT_EQ(m_game.ComputeFireValue(tank, 0, 0, 0, 3, false, false), 10);
    // Past the weapon's range of 10 it has no value.
    ASSERT_GT(HexDistance(0, 0, 9, 9), 10);
    EXPECT_EQ(m_game.ComputeFireValue(tank, 0, 0, 9, 9, true, false), 0);
    // A smoke value (-1) is no fire value.
    PlacedUnit& gun = Add(4, 4, fire::kGun);
    const WeaponRecord* weapon = gun.m_type->m_weapon;
    ASSERT_NE(weapon, nullptr);
    const_cast<WeaponRecord*>(weapon)->m_softValue[0] = -1;
    EXPECT_EQ(m_game.ComputeFireValue(gun, 4, 4, 4, 5, false, false), 0);
}

TEST_F(DirectFireTest, HelpingLeaderAddsStrengthAndSpendsOnlyWhenAsked)
{
    ReadCompanies();
    struct Case {
        const char* name;
        int firstLeaderNode; // 0 none
        int firstLeaderPoints;
        int secondLeaderNode; // 0 none
        bool threePhase;
        int value;
        int firstAfter; // points after the spending call
        int secondAfter;
    };
    const Case cases[] = {
        { "own company's leader", 3, 100, 0, false, 14, 50, -1 },
        { "other company's leader", 7, 100, 0, false, 12, 100, -1 },
        // 40 points are below the rifle's fire cost of 50: the next one helps.
        { "first without points", 3, 40, 3, false, 14, 40, 50 },
        { "first one qualifying", 3, 100, 3, false, 14, 50, 100 },
        { "three-phase turns cost 100", 3, 100, 0, true, 14, 0, -1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearBattle();
        m_game.m_options = c.threePhase ? kOptionThreePhase : 0;
        PlacedUnit* first = nullptr;
        PlacedUnit* second = nullptr;
        if (c.firstLeaderNode != 0) {
            first = &Add(2, 2, fire::kLeader);
            first->m_node = Node(c.firstLeaderNode);
            first->m_actionPoints = c.firstLeaderPoints;
        }
        if (c.secondLeaderNode != 0) {
            second = &Add(2, 2, fire::kLeader);
            second->m_node = Node(c.secondLeaderNode);
        }
        PlacedUnit& rifle = Add(2, 2, fire::kRifle);
        rifle.m_node = Node(4);
        Add(2, 5, fire::kEnemyRifle);
        EXPECT_EQ(m_game.ComputeFireValue(rifle, 2, 2, 2, 5, false, false), c.value);
        if (first) {
            EXPECT_EQ(first->m_actionPoints, c.firstLeaderPoints); // nothing spent
        }
        EXPECT_EQ(m_game.ComputeFireValue(rifle, 2, 2, 2, 5, false, true), c.value);
        if (first) {
            EXPECT_EQ(first->m_actionPoints, c.firstAfter);
        }
        if (second) {
            EXPECT_EQ(second->m_actionPoints, c.secondAfter);
        }
    }
}

TEST_F(DirectFireTest, ArmourFacingGivesFrontFlankAndRear)
{
    // The firer stands straight north of the target: the target's N side faces it.
    struct Case {
        HexSide facing;
        int defence;
    };
    const Case cases[] = {
        { HexSide::North, 9 }, // facing the fire: front
        { HexSide::South, 3 }, // the rear toward the fire
        { HexSide::SouthEast, 6 }, // rear NW, its clockwise neighbour N: flank
        { HexSide::SouthWest, 6 }, // rear NE, its counter-clockwise neighbour N: flank
        { HexSide::NorthEast, 9 },
        { HexSide::NorthWest, 9 },
    };
    PlacedUnit& tank = Add(4, 4, fire::kEnemyTank);
    PlacedUnit& rifle = Add(4, 4, fire::kEnemyRifle);
    m_game.m_options = kOptionArmorFacing;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.facing.Value());
        tank.m_facing = c.facing;
        EXPECT_EQ(m_game.TargetDefence(tank, 4, 1, 4, 4), c.defence);
        EXPECT_EQ(m_game.TargetDefence(rifle, 4, 1, 4, 4), 3); // soft: its defence
    }
    m_game.m_options = 0;
    EXPECT_EQ(m_game.TargetDefence(tank, 4, 1, 4, 4), 5);
}

TEST_F(DirectFireTest, LoadedBoatDefendsWithItsLoad)
{
    PlacedUnit& boat = Add(4, 4, fire::kEnemyTruck, kUnitCarrying);
    Add(4, 4, fire::kEnemyRifle, kUnitCarried);
    EXPECT_EQ(m_game.TargetDefence(boat, 4, 1, 4, 4), 1); // not a boat: its own
    Type(fire::kEnemyTruck)->m_carryFlags |= kCarryBoats;
    EXPECT_EQ(m_game.TargetDefence(boat, 4, 1, 4, 4), 3);
}

TEST_F(DirectFireTest, TargetModifiersFromCoverElevationAndHexsides)
{
    struct Case {
        const char* name;
        std::uint32_t target;
        int terrain;
        int flags;
        std::uint32_t status;
        int firerLevel;
        int targetLevel;
        int wallLayerSides; // Stone Wall on these sides of the target hex
        bool hard;
        int defence;
        double modifier;
    };
    const int N = 1, S = 8;
    const Case cases[] = {
        { "open", fire::kEnemyRifle, kTerrainOpen, 0, 0, 0, 0, 0, false, 3, 1.0 },
        { "forest 70 %", fire::kEnemyRifle, kTerrainForest, 0, 0, 0, 0, 0, false, 3, 0.7 },
        { "improved position", fire::kEnemyRifle, kTerrainOpen, CGameData::kHexImprovedPosition, 0, 0, 0, 0, false, 3,
            0.5 },
        { "trench", fire::kEnemyRifle, kTerrainOpen, CGameData::kHexTrench, 0, 0, 0, 0, false, 3, 0.25 },
        { "trench, vehicle", fire::kEnemyTank, kTerrainOpen, CGameData::kHexTrench, 0, 0, 0, 0, true, 5, 1.0 },
        { "bunker", fire::kEnemyRifle, kTerrainOpen, CGameData::kHexBunker, 0, 0, 0, 0, false, 5, 1.0 },
        { "bunker, vehicle", fire::kEnemyTank, kTerrainOpen, CGameData::kHexBunker, 0, 0, 0, 0, true, 5, 1.0 },
        { "pillbox", fire::kEnemyRifle, kTerrainOpen, CGameData::kHexPillbox, 0, 0, 0, 0, true, 5, 1.0 },
        { "cave", fire::kCaveRifle, kTerrainOpen, CGameData::kHexCave, 0, 0, 0, 0, false, 3, 0.5 },
        { "cave, other nation", fire::kEnemyRifle, kTerrainOpen, CGameData::kHexCave, 0, 0, 0, 0, false, 3, 1.0 },
        { "banzai", fire::kEnemyRifle, kTerrainOpen, 0, kUnitBanzai, 0, 0, 0, false, 3, 1.1 },
        { "firer above", fire::kEnemyRifle, kTerrainOpen, 0, 0, 2, 1, 0, false, 3, 1.1 },
        { "firer below", fire::kEnemyRifle, kTerrainOpen, 0, 0, 1, 2, 0, false, 3, 0.9 },
        { "wall toward the firer", fire::kEnemyRifle, kTerrainOpen, 0, 0, 0, 0, N, false, 3, 0.8 },
        { "wall away from the firer", fire::kEnemyRifle, kTerrainOpen, 0, 0, 0, 0, S, false, 3, 1.0 },
        // Above the target and behind a wall: 0.9 x 0.8.
        { "below and walled", fire::kEnemyRifle, kTerrainOpen, 0, 0, 0, 1, N, false, 3, 0.72 },
    };
    m_game.m_parameters.m_terrainPercent[kTerrainForest] = 70;
    m_game.m_parameters.m_hexsidePercent[kLayerStoneWall] = 80;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearBattle();
        Hex(4, 4).terrain = c.terrain;
        Hex(4, 1).level = c.firerLevel;
        Hex(4, 4).level = c.targetLevel;
        Hex(4, 4).layers[kLayerStoneWall] = HexSideSet(static_cast<std::uint32_t>(c.wallLayerSides));
        m_game.m_hexFlags.At(4, 4) = c.flags;
        PlacedUnit& target = Add(4, 4, c.target, c.status);
        bool hard = (target.m_type->m_targetFlags & kTargetHard) != 0;
        int defence = m_game.TargetDefence(target, 4, 1, 4, 4);
        double modifier = 1.0;
        m_game.ApplyTargetModifiers(target, 4, 1, 4, 4, hard, defence, modifier);
        EXPECT_EQ(hard, c.hard);
        EXPECT_EQ(defence, c.defence);
        EXPECT_NEAR(modifier, c.modifier, 1e-9);
    }
}

TEST_F(DirectFireTest, ShotsForAmmunitionWadingAndCrowdedHexes)
{
    struct Case {
        const char* name;
        std::uint32_t type;
        int strength;
        std::uint32_t status;
        int firerTerrain;
        int targetWrecks;
        int shots;
    };
    const Case cases[] = {
        { "strength", fire::kRifle, 4, 0, kTerrainOpen, 0, 4 },
        { "low ammunition rounds up", fire::kRifle, 5, kUnitLowAmmo, kTerrainOpen, 0, 3 },
        { "wading rounds down", fire::kRifle, 5, 0, kTerrainShallowWater, 0, 2 },
        { "a tank does not wade", fire::kTank, 3, 0, kTerrainShallowWater, 0, 3 },
        { "at the limit, no bonus", fire::kRifle, 10, 0, kTerrainOpen, 20, 10 },
        // Stack strength 2 x 10 + 5: 10 + ceil(5 x 0.08 x 10) = 14.
        { "excess 5, 10 shots", fire::kRifle, 10, 0, kTerrainOpen, 25, 14 },
        // 7 x 8 x 25 = 1400: exactly 14 more, not 15.
        { "excess 7, 25 shots", fire::kRifle, 25, 0, kTerrainOpen, 27, 39 },
        // A hostile wreck count from a file: held to 10,000 shots.
        { "hostile wreck count", fire::kRifle, 25, 0, kTerrainOpen, CGameData::kWreckCountMask, 10000 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearBattle();
        Hex(2, 2).terrain = c.firerTerrain;
        PlacedUnit& unit = Add(2, 2, c.type);
        unit.m_strength = c.strength;
        unit.m_status = c.status;
        m_game.m_wrecks.At(2, 5) = c.targetWrecks;
        EXPECT_EQ(m_game.ComputeShots(unit, 2, 2, 2, 5), c.shots);
    }
}

TEST_F(DirectFireTest, TargetOrdinalsSkipLeadersPassengersAndHiddenUnits)
{
    Add(4, 4, fire::kEnemyLeader);
    Add(4, 4, fire::kEnemyTruck, kUnitCarrying);
    Add(4, 4, fire::kEnemyRifle, kUnitCarried);
    Add(4, 4, fire::kEnemyRifle, kUnitHidden);
    Add(4, 4, fire::kEnemyTank);
    EXPECT_EQ(m_game.GetTargetOrdinal(4, 4, 1), 0); // leader
    EXPECT_EQ(m_game.GetTargetOrdinal(4, 4, 2), 1);
    EXPECT_EQ(m_game.GetTargetOrdinal(4, 4, 3), 0); // passenger
    EXPECT_EQ(m_game.GetTargetOrdinal(4, 4, 4), 2);
    EXPECT_EQ(m_game.GetTargetOrdinal(4, 4, 5), 3);
    EXPECT_EQ(m_game.GetTargetOrdinal(4, 4, 6), 0);
    EXPECT_EQ(m_game.FindTargetUnit(4, 4, 3), m_game.GetStackNode(4, 4, 5));
    EXPECT_EQ(m_game.FindTargetUnit(4, 4, 4), nullptr);
    EXPECT_EQ(m_game.FindTargetUnit(4, 4, 0), nullptr);
    // The hidden unit is no target while its side is hidden.
    m_game.m_hidden[1] = true;
    EXPECT_EQ(m_game.GetTargetOrdinal(4, 4, 4), 0);
    EXPECT_EQ(m_game.GetTargetOrdinal(4, 4, 5), 2);
}

TEST_F(DirectFireTest, TargetsAlikeUnlessTheyDifferOrOneIsLoaded)
{
    Add(4, 4, fire::kEnemyLeader);
    Add(4, 4, fire::kEnemyRifle);
    Add(4, 4, fire::kEnemyRifle);
    EXPECT_TRUE(m_game.AreTargetsAlike(4, 4));
    m_game.GetStackNode(4, 4, 3)->value.m_strength = 5;
    EXPECT_FALSE(m_game.AreTargetsAlike(4, 4));
    Add(5, 5, fire::kEnemyTruck, kUnitCarrying);
    Add(5, 5, fire::kEnemyRifle, kUnitCarried);
    EXPECT_TRUE(m_game.AreTargetsAlike(5, 5)); // one target: loaded or not
    Add(5, 5, fire::kEnemyTruck);
    EXPECT_FALSE(m_game.AreTargetsAlike(5, 5));
}

// Two rifles (one point each) fire two hexes at a rifle platoon with a
// leader above it. No shot of the forced table has an effect.
class DirectFireBattleTest : public DirectFireTest {
protected:
    void SetUp() override
    {
        DirectFireTest::SetUp();
        Add(2, 2, fire::kRifle).m_strength = 1;
        Add(2, 2, fire::kRifle).m_strength = 1;
        Add(2, 4, fire::kEnemyLeader);
        Add(2, 4, fire::kEnemyRifle);
    }
};

TEST_F(DirectFireBattleTest, TwoFirersAndTheLeaderReportExactly)
{
    SetRandomSeed(0);
    const std::string report = Resolve({ 1, 2 }, 2, 2, 2, 4, 1);
    // Per firer: the shot (U1, U2), the passenger shot (U3, U4), the
    // disruption and retreat tests (U5, U6); the second firer U7..U12.
    // The leader: 2 firers x 0.1 / 1 other unit = 0.2 > U13 0.1727: fired on.
    // Each firer at it: one shot (2 draws) and the hit test: U14..U19.
    EXPECT_EQ(report,
        "Schuetzen\n"
        ">    Attack = 12 Defense = 3\n"
        "    No Effect\n"
        ">    Attack = 12 Defense = 3\n"
        "    No Effect\n"
        "Fhr\n"
        ">    Attack = 12 Defense = 1\n"
        "    No Effect\n"
        ">    Attack = 12 Defense = 1\n"
        "    No Effect\n");
    EXPECT_EQ(State(), fire::Advance(0, 19));
    for (int position : { 1, 2 }) {
        const PlacedUnit& firer = m_game.GetStackNode(2, 2, position)->value;
        EXPECT_NE(firer.m_status & kUnitFired, 0u);
        EXPECT_EQ(firer.m_actionPoints, 50);
    }
    EXPECT_EQ(m_game.m_traceFirerHex, (HexPos { -1, -1 }));
}

TEST_F(DirectFireBattleTest, SameSeedSameBattle)
{
    const auto snapshot = [this] {
        std::ostringstream out;
        m_game.WriteHexState(out, 2, 2);
        m_game.WriteHexState(out, 2, 4);
        return out.str();
    };
    const std::string before = snapshot();
    Force(fire::kOneAndOne);
    SetRandomSeed(77);
    const std::string first = Resolve({ 1, 2 }, 2, 2, 2, 4, 1);
    const std::uint32_t firstState = State();
    const std::string firstAfter = snapshot();
    ClearBattle();
    Add(2, 2, fire::kRifle).m_strength = 1;
    Add(2, 2, fire::kRifle).m_strength = 1;
    Add(2, 4, fire::kEnemyLeader);
    Add(2, 4, fire::kEnemyRifle);
    ASSERT_EQ(snapshot(), before);
    SetRandomSeed(77);
    EXPECT_EQ(Resolve({ 1, 2 }, 2, 2, 2, 4, 1), first);
    EXPECT_EQ(State(), firstState);
    EXPECT_EQ(snapshot(), firstAfter);
}

TEST_F(DirectFireBattleTest, AtNightAnUnlitTargetHidesTheResultsNotTheLosses)
{
    Force(fire::kThreeAndThree);
    m_game.m_night = 1;
    m_game.GetStackNode(2, 4, 2)->value.m_strength = 3;
    SetRandomSeed(0);
    EXPECT_EQ(Resolve({ 1, 2 }, 2, 2, 2, 4, 1), CGameDirectFire::kUnknownEffectsText);
    // The first firer's shot (U1, U2) takes 3 points: the rifle is
    // eliminated (passenger shot U3, U4) and the fire stops. The leader is
    // fired on (0.2 > U5 0.1068) at half value in the dark (6), alone now:
    // a = 3 hits with 3 x 4 x 5 / 100 = 0.6, not above U8 0.6025 for the
    // first firer (U6, U7, U8), above U11 0.3742 for the second (U9..U11).
    EXPECT_EQ(Count(2, 4), 0);
    EXPECT_EQ(State(), fire::Advance(0, 11));
    EXPECT_TRUE(m_game.HasFireMark(2, 2));
    EXPECT_EQ(m_game.m_fireMark.At(2, 2), 0);
}

TEST_F(DirectFireBattleTest, FireRevealsTheCave)
{
    m_game.m_hexFlags.At(2, 4) = CGameData::kHexCave;
    SetRandomSeed(0);
    Resolve({ 1, 2 }, 2, 2, 2, 4, 1);
    EXPECT_EQ(m_game.m_hexFlags.At(2, 4), CGameData::kHexCave | CGameData::kHexCaveRevealed);
}

TEST_F(DirectFireBattleTest, RefusedSelectionFiresNothing)
{
    SetRandomSeed(0);
    EXPECT_EQ(Resolve({ 1, 1 }, 2, 2, 2, 4, 1), "");
    EXPECT_EQ(Resolve({ 3 }, 2, 2, 2, 4, 1), "");
    EXPECT_EQ(State(), fire::Advance(0, 0));
    EXPECT_EQ(m_game.GetStackNode(2, 2, 1)->value.m_status, 0u);
}

TEST_F(DirectFireBattleTest, FireTraceNamesFirerAndTarget)
{
    m_game.GetStackNode(2, 2, 1)->value.m_secondFacing = HexSide::SouthEast;
    m_game.GetStackNode(2, 4, 2)->value.m_secondFacing = HexSide::NorthWest;
    const int positions[] = { 1, 2 };
    m_game.RecordFireTrace(positions, 2, 2, 2, 2, 4, 1);
    EXPECT_EQ(m_game.m_traceFirerSide, HexSide::SouthEast);
    EXPECT_EQ(m_game.m_traceFirerHex, (HexPos { 2, 2 }));
    EXPECT_EQ(m_game.m_traceTargetSide, HexSide::NorthWest);
    EXPECT_EQ(m_game.m_traceTargetHex, (HexPos { 2, 4 }));
    EXPECT_FALSE(m_game.TraceHitsHardTarget(Type(fire::kRifle))); // a soft target
    m_game.GetStackNode(2, 4, 2)->value.m_type = Type(fire::kEnemyTank);
    EXPECT_TRUE(m_game.TraceHitsHardTarget(Type(fire::kRifle)));
    EXPECT_FALSE(m_game.TraceHitsHardTarget(Type(fire::kTank))); // a hard firer
    EXPECT_FALSE(m_game.TraceHitsHardTarget(Type(fire::kGun))); // indirect-capable
    // No ordinal: no target side.
    m_game.RecordFireTrace(positions, 2, 2, 2, 2, 4, 0);
    EXPECT_EQ(m_game.m_traceTargetSide, HexSide::None);
    EXPECT_FALSE(m_game.TraceHitsHardTarget(Type(fire::kRifle)));
    m_game.ClearFireTrace();
    EXPECT_EQ(m_game.m_traceFirerHex, (HexPos { -1, -1 }));
    EXPECT_EQ(m_game.m_traceTargetHex, (HexPos { -1, -1 }));
    EXPECT_EQ(m_game.m_traceFirerSide, HexSide::SouthEast); // sides kept
}

// Stack safety: results take units out of stacks that are being walked.

TEST_F(DirectFireTest, LeadersEliminatedWhileTheHexIsWalked)
{
    Add(2, 2, fire::kRifle); // 4 points, fire value 12
    Add(2, 4, fire::kEnemyLeader);
    Add(2, 4, fire::kEnemyLeader);
    Force(fire::kThreeAndThree);
    SetRandomSeed(0);
    // No target unit: every leader is fired on (1 x 1.0 / 1 = 1 > U1, U11).
    // 4 shots (8 draws) give a = 12; alone in the hex a leader is hit with
    // 12 x 4 x 5 / 100 = 2.4 > U10 (and U20): both eliminated.
    EXPECT_EQ(Resolve({ 1 }, 2, 2, 2, 4, 1),
        "Fhr\n>    Attack = 12 Defense = 1\n    Eliminated\n"
        "Fhr\n>    Attack = 12 Defense = 1\n    Eliminated\n");
    EXPECT_EQ(Count(2, 4), 0);
    EXPECT_EQ(State(), fire::Advance(0, 20));
    EXPECT_NE(m_game.GetStackNode(2, 2, 1)->value.m_status & kUnitFired, 0u);
}

TEST_F(DirectFireTest, RetreatingTargetTakesItsLeaderAlong)
{
    Add(2, 2, fire::kRifle).m_strength = 1;
    Add(2, 2, fire::kRifle).m_strength = 1;
    Add(2, 4, fire::kEnemyLeader);
    PlacedUnit& target = Add(2, 4, fire::kEnemyRifle);
    target.m_strength = 1;
    target.m_rating = 2;
    Force(fire::kRetreatOnly);
    SetRandomSeed(0);
    // Shots U1..U4; not disrupted (U5 x 1 > 0); U6 x 1 <= 1: retreat.
    // Morale: roll 1 + U7 x 10 = 5 > 2, failed; U8 >= 0.35 keeps the rating.
    // It retreats with the leader; the second rifle has nothing left to
    // fire at and the hex no leader to draw for.
    EXPECT_EQ(Resolve({ 1, 2 }, 2, 2, 2, 4, 1), "Schuetzen\n>    Attack = 12 Defense = 3\n    Retreated\n");
    EXPECT_EQ(Count(2, 4), 0);
    EXPECT_EQ(m_game.GetStackNode(2, 2, 2)->value.m_status & kUnitFired, 0u);
    int found = 0;
    for (HexSide side = HexSide::North; side.IsValid(); side.Next()) {
        HexPos next;
        if (m_game.m_map.GetNeighbour(side, 2, 4, next) && Count(next.column, next.row) == 2) {
            ++found;
            EXPECT_EQ(m_game.GetStackNode(next.column, next.row, 1)->value.m_type, Type(fire::kEnemyRifle));
            EXPECT_EQ(m_game.GetStackNode(next.column, next.row, 2)->value.m_type, Type(fire::kEnemyLeader));
        }
    }
    EXPECT_EQ(found, 1);
}

TEST_F(DirectFireTest, CarrierEliminatedWithAChainOfRiders)
{
    Add(2, 2, fire::kRifle).m_strength = 1;
    Add(2, 2, fire::kRifle).m_strength = 1;
    Add(2, 4, fire::kEnemyTruck, kUnitCarrying);
    Add(2, 4, fire::kEnemyRifle, kUnitCarried | kUnitCarrying);
    Add(2, 4, fire::kEnemyLeader, kUnitCarried);
    Force(fire::kThreeAndThree);
    SetRandomSeed(0);
    // One shot gives a = 3 >= 2 (U1, U2; the passenger shot U3, U4): the
    // truck and everything it carries are gone, and the fire stops.
    EXPECT_EQ(Resolve({ 1, 2 }, 2, 2, 2, 4, 1),
        "Lkw\n>    Attack = 12 Defense = 1\n    Eliminated\n        Passenger Eliminated\n");
    EXPECT_EQ(Count(2, 4), 0);
    EXPECT_EQ(State(), fire::Advance(0, 4));
    EXPECT_EQ(m_game.m_eliminated.Count(), 3u);
}

// Marks.

TEST_F(DirectFireTest, MarkingFiredUnitsSpendsTheirCost)
{
    PlacedUnit& rifle = Add(2, 2, fire::kRifle, kUnitHidden);
    PlacedUnit& gun = Add(2, 2, fire::kGun);
    m_game.m_smoke[0] = 1;
    m_game.MarkUnitFired(rifle, true); // no smoke rounds: the stock stays
    EXPECT_EQ(rifle.m_status, static_cast<std::uint32_t>(kUnitFired));
    EXPECT_EQ(rifle.m_actionPoints, 50);
    EXPECT_EQ(m_game.m_smoke[0], 1);
    m_game.MarkUnitFired(gun, true);
    EXPECT_EQ(gun.m_actionPoints, 0);
    EXPECT_EQ(m_game.m_smoke[0], 0);
    m_game.MarkUnitFired(gun, true);
    EXPECT_EQ(m_game.m_smoke[0], 0); // never below nothing

    m_game.m_options = kOptionThreePhase;
    PlacedUnit& second = Add(2, 2, fire::kRifle);
    const int positions[] = { 3 };
    m_game.MarkUnitsFired(positions, 1, 2, 2, false);
    EXPECT_EQ(second.m_actionPoints, 0);

    m_game.m_options = 0;
    PlacedUnit& close = Add(5, 5, fire::kGun);
    PlacedUnit& far = Add(5, 5, fire::kGun);
    m_game.MarkUnitFiredAtRange(close, 5, 5, 5, 7);
    EXPECT_EQ(close.m_actionPoints, 80);
    const int farPosition[] = { 2 };
    m_game.MarkUnitsFiredAtRange(farPosition, 1, 5, 5, 5, 8);
    EXPECT_EQ(far.m_actionPoints, 0);
    EXPECT_NE(far.m_status & kUnitFired, 0u);
}

TEST_F(DirectFireTest, FireValuesAddUpForTheHexAndTheDisplay)
{
    Add(2, 2, fire::kLeader);
    Add(2, 2, fire::kRifle);
    Add(2, 2, fire::kTruck, kUnitCarrying);
    Add(2, 2, fire::kRifle, kUnitCarried);
    Add(2, 2, fire::kTank);
    const int positions[] = { 1, 2, 3, 4, 5 };
    // Rifle 12 and tank 10 (soft) or 4 and 20 (hard); the leader and the
    // passenger do not count, the unarmed truck adds 0.
    EXPECT_EQ(m_game.SumFireValue(positions, 5, 2, 2, 2, 5, false), 22);
    EXPECT_EQ(m_game.SumFireValue(positions, 5, 2, 2, 2, 5, true), 24);
    const int two[] = { 2, 5 };
    m_game.AddFireValueToHex(two, 2, 2, 2, 2, 5);
    EXPECT_EQ(m_game.m_hexValue.At(2, 5), 22);
}

// Firing reserve.

TEST_F(DirectFireTest, SavingPointsForFiring)
{
    struct Case {
        const char* name;
        int fireCost;
        int points;
        bool marked;
        int options;
        bool markedAfter;
    };
    const Case cases[] = {
        { "marked", 50, 100, false, 0, true },
        { "fire cost 0", 0, 100, false, 0, false },
        { "too few points", 50, 40, false, 0, false },
        { "unmarked whatever its points", 50, 40, true, 0, false },
        { "not under three-phase turns", 50, 100, false, kOptionThreePhase, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearBattle();
        m_game.m_options = c.options;
        Type(fire::kRifle)->m_fireApCost = c.fireCost;
        PlacedUnit& unit = Add(2, 2, fire::kRifle, c.marked ? std::uint32_t { kUnitSavedForFiring } : 0u);
        unit.m_actionPoints = c.points;
        String out;
        const int positions[] = { 1 };
        m_game.ToggleSaveApForFiring(out, positions, 1, 2, 2);
        EXPECT_EQ(std::string(out.c_str()), "");
        EXPECT_EQ((unit.m_status & kUnitSavedForFiring) != 0, c.markedAfter);
    }
    Type(fire::kRifle)->m_fireApCost = 50;
    ClearBattle();
    PlacedUnit& enemy = Add(4, 4, fire::kEnemyRifle);
    String out;
    const int positions[] = { 1 };
    m_game.ToggleSaveApForFiring(out, positions, 1, 4, 4);
    EXPECT_EQ(std::string(out.c_str()), "Cannot change units from other side");
    EXPECT_EQ(enemy.m_status, 0u);
    m_game.ToggleSaveApForFiring(out, positions, 0, 4, 4);
    EXPECT_EQ(std::string(out.c_str()), "");
}

TEST_F(DirectFireTest, SavingPointsForAReinforcementGroup)
{
    for (int i = 0; i < 2; ++i) {
        ReinforcementGroup& group = m_game.m_reinforcements.Append(ReinforcementGroup(0, 0))->value;
        group.m_units.Append(PlacedUnit(Type(fire::kRifle), nullptr));
    }
    const auto marked = [this](int index) {
        const ReinforcementGroup& group
            = index == 0 ? m_game.m_reinforcements.Head()->value : m_game.m_reinforcements.Last()->value;
        return (group.m_units.Head()->value.m_status & kUnitSavedForFiring) != 0;
    };
    m_game.ToggleGroupSaveApForFiring(0); // the last group
    EXPECT_FALSE(marked(0));
    EXPECT_TRUE(marked(1));
    m_game.ToggleGroupSaveApForFiring(1);
    EXPECT_TRUE(marked(0));
    m_game.ToggleGroupSaveApForFiring(3); // no such group
    m_game.ToggleGroupSaveApForFiring(-1);
    EXPECT_TRUE(marked(0));
    EXPECT_TRUE(marked(1));
}

// Engineer damage.

TEST_F(DirectFireTest, ObstacleDefenceByWallAndBridgeClass)
{
    struct Case {
        int layer;
        int defence;
    };
    const Case cases[] = { { kLayerHighWall, 4 }, { kLayerHeavyBridge, 4 }, { kLayerMediumBridge, 3 },
        { kLayerLightBridge, 2 }, { kLayerStoneWall, 1 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layer);
        Hex(4, 4) = HexRecord();
        Hex(4, 4).layers[c.layer].Add(HexSide::NorthEast);
        EXPECT_EQ(m_game.GetObstacleDefence(4, 4, HexSide::NorthEast), c.defence);
        EXPECT_EQ(m_game.GetObstacleDefence(4, 4, HexSide::North), 1);
    }
}

class EngineerDamageTest : public DirectFireTest {
protected:
    std::string Damage(std::vector<int> positions, HexSide side, bool* destroyed = nullptr)
    {
        String out;
        m_game.DamageWallOrBridge(out, 4, 4, positions.data(), static_cast<int>(positions.size()), side, destroyed);
        return out.c_str();
    }
};

TEST_F(EngineerDamageTest, RefusalsChangeNothing)
{
    PlacedUnit& tired = Add(4, 4, fire::kEngineer);
    tired.m_actionPoints = 90;
    Add(4, 4, fire::kRifle);
    SetRandomSeed(0);
    EXPECT_EQ(Damage({}, HexSide::North), "No engineers have been selected for damage");
    EXPECT_EQ(Damage({ 1, 1 }, HexSide::North), "No engineers have been selected for damage");
    EXPECT_EQ(Damage({ 1, 2 }, HexSide::North), "No valid engineer units have been selected for damage");
    tired.m_actionPoints = 100;
    EXPECT_EQ(Damage({ 1 }, HexSide::None), "No hexside has been selected for damage");
    EXPECT_EQ(Damage({ 1 }, HexSide(3)), "No hexside has been selected for damage");
    EXPECT_EQ(tired.m_actionPoints, 100);
    EXPECT_EQ(State(), fire::Advance(0, 0));
    Add(6, 6, fire::kEnemyRifle);
    String out;
    const int one[] = { 1 };
    m_game.DamageWallOrBridge(out, 6, 6, one, 1, HexSide::North);
    EXPECT_EQ(std::string(out.c_str()), "Cannot attempt damage with units from other side");
}

TEST_F(EngineerDamageTest, HitMarksBothHexesAndOnlyTheFirstEngineerActs)
{
    Hex(4, 4).layers[kLayerMediumBridge].Add(HexSide::NorthEast);
    PlacedUnit& waiting = Add(4, 4, fire::kEngineer);
    waiting.m_actionPoints = 99;
    PlacedUnit& first = Add(4, 4, fire::kEngineer);
    PlacedUnit& second = Add(4, 4, fire::kEngineer);
    Type(fire::kRifle)->m_extraFlags = kExtraMineSurcharge; // foot-moving with 0x2: an engineer too
    Force(fire::kOneAndOne);
    SetRandomSeed(0);
    bool destroyed = false;
    // Fire value 6 at distance 0 against 3; 4 shots, 8 draws, a = 4.
    EXPECT_EQ(Damage({ 1, 2, 3 }, HexSide::NorthEast, &destroyed), "");
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(State(), fire::Advance(0, 8));
    EXPECT_EQ(waiting.m_actionPoints, 99);
    EXPECT_EQ(first.m_actionPoints, 0);
    EXPECT_EQ(second.m_actionPoints, 100);
    EXPECT_EQ(m_game.GetDamagedBridgeSides(4, 4), HexSideSet(HexSide::NorthEast.Value()));
    HexPos next;
    ASSERT_TRUE(m_game.m_map.GetNeighbour(HexSide::NorthEast, 4, 4, next));
    EXPECT_EQ(m_game.GetDamagedBridgeSides(next.column, next.row), HexSideSet(HexSide::SouthWest.Value()));
    EXPECT_TRUE(m_game.IsEngineerReady(PlacedUnit(Type(fire::kRifle), nullptr)));
}

TEST_F(EngineerDamageTest, MissStillCostsThePoints)
{
    PlacedUnit& engineer = Add(4, 4, fire::kEngineer);
    SetRandomSeed(0);
    bool destroyed = true;
    EXPECT_EQ(Damage({ 1 }, HexSide::South, &destroyed), "");
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(engineer.m_actionPoints, 0);
    EXPECT_TRUE(m_game.GetDamagedBridgeSides(4, 4).IsEmpty());
}
