// Close assault: the start and add refusals, the totals, the odds text and
// the resolution. Results come from forced fire tables (every shot at a
// column gives one outcome) and the draws of the global generator are
// counted by hand from its formula (state = state * 1103515245 + 12345 mod
// 2^32, U = (state & 0x7fffffff) / 2^31).
//
// The first draws after SetRandomSeed(0):
//   U1 0.0000057  U2 0.6552  U3 0.3048  U4 0.6750  U5 0.1068  U6 0.5166
//   U7 0.4897     U8 0.6025  U9 0.3700  U10 0.2567 U11 0.3742 U12 0.8256
// A shot takes two draws (the roll, and the coin for the bias, 0 here). A
// result on a unit resolves the attack's shots, then the same shots for its
// passenger (attack against 1), then draws for disruption and retreat
// unless the attack already eliminates the unit.

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "model/Clock.h"
#include "model/OrgTree.h"
#include "model/PlatoonType.h"
#include "model/Random.h"
#include "tests/rules/ForcedFire.h"
#include "tests/rules/MoveGame.h"

namespace {

std::int64_t FixedClock() { return 7654321; }

// The defending hex and the hexes around it on the 8 x 8 map.
constexpr int kDx = 3, kDy = 3;

} // namespace

class AssaultTest : public MoveGameTest {
protected:
    void SetUp() override
    {
        MakeMap(8, 8);
        m_game.m_map.SetSide(0);
        m_game.m_map.SetPhase(0);
        ParameterData& p = m_game.m_parameters;
        p.m_maxStackUnits = 6;
        p.m_maxStackStrength = 40;
        p.m_defenseZeroValue = 10;
        p.m_value61 = 60;
        p.m_value62 = 4;
        p.m_value97 = 10;
        p.m_vehicleMaxClimb = 30;
        for (int& value : p.m_terrainPercent)
            value = 0;
        for (int& value : p.m_terrainValue2)
            value = 0;
        m_game.m_advantage = 0;
        SetTimeSource(&FixedClock);
        // Below ratio 1 nothing happens; from ratio 2 the outcome is sure.
        ForceTwo(kNothing, kThreeAndThree);
        m_north = Next(HexSide::North);
    }
    void TearDown() override { SetTimeSource(nullptr); }

    void ForceTwo(ForcedOutcome low, ForcedOutcome high) { ForceFireColumns(m_game.m_parameters, low, high); }

    HexPos Next(HexSide side, int x = kDx, int y = kDy)
    {
        HexPos next;
        EXPECT_TRUE(m_game.m_map.GetNeighbour(side, x, y, next));
        return next;
    }
    PlacedUnit& AddAt(HexPos hex, std::uint32_t id, std::uint32_t status = 0)
    {
        return Add(hex.column, hex.row, id, status);
    }
    int Count(int x, int y) { return static_cast<int>(m_game.m_stacks.At(x, y).Count()); }
    int Count(HexPos hex) { return Count(hex.column, hex.row); }
    std::uint32_t State() { return GlobalRandomGenerator().State(); }

    bool Start() { return m_game.CanAssaultHex(kDx, kDy); }
    std::string AddFrom(HexPos hex, std::vector<int> positions)
    {
        String out;
        m_game.AddSelectionToAssault(out, hex.column, hex.row, positions.data(), static_cast<int>(positions.size()));
        return out.c_str();
    }
    std::string Odds()
    {
        String out;
        m_game.GetOddsText(out);
        return out.c_str();
    }
    std::string Resolve()
    {
        String out;
        m_game.ResolveAssault(out);
        return out.c_str();
    }
    std::string Refusal() { return m_game.m_assaultRefusal ? m_game.m_assaultRefusal : ""; }

    // The attackers' usual hex.
    HexPos m_north;
};

// Starting: each refusal in its order, one failing condition a row.
TEST_F(AssaultTest, StartRefusalsInOrder)
{
    struct Row {
        const char* name;
        int options;
        int phase;
        std::uint32_t defender; // 0: none
        bool claimUnits; // slot 2 says the hex has units
        const char* text;
    };
    const int kThree = kOptionThreePhase;
    const Row rows[] = {
        // Before anything else, even with no units or own units in the hex.
        { "initial phase", kThree, 0, 0, false, "Assaults can only be initiated in Final Phase" },
        { "defensive fire phase", kThree, 1, demo::kUsRifle, false, "Assaults can only be initiated in Final Phase" },
        { "empty hex", 0, 0, 0, false, "No assaultable units in target hex" },
        { "own units", 0, 0, demo::kUsRifle, false, "Cannot assault against own units" },
        { "nothing counted", 0, 0, 0, true, "All units in defending hex have already fought" },
        { "plain turns", 0, 0, demo::kGermanRifle, false, "" },
        { "final phase", kThree, 2, demo::kGermanRifle, false, "" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        m_game.ClearAssault();
        m_game.m_stacks.At(kDx, kDy) = UnitList();
        m_game.m_options = row.options;
        m_game.m_map.SetPhase(row.phase);
        if (row.defender != 0)
            Add(kDx, kDy, row.defender);
        if (row.claimUnits)
            m_game.m_unitsAnswer = [](int, int) { return true; };
        else
            m_game.m_unitsAnswer = nullptr;
        const bool started = Start();
        EXPECT_EQ(started, *row.text == '\0');
        if (started) {
            EXPECT_EQ(m_game.m_assaultHex.column, kDx);
            EXPECT_EQ(m_game.m_assaultHex.row, kDy);
            EXPECT_EQ(m_game.m_defenderUnits, 1);
        } else {
            EXPECT_EQ(Refusal(), row.text);
            EXPECT_FALSE(m_game.HasAssault());
        }
    }
    String out;
    EXPECT_FALSE(m_game.CanAssaultHex(-1, 0));
    EXPECT_EQ(Refusal(), "No assaultable units in target hex");
}

TEST_F(AssaultTest, RefusedStartKeepsTheOpenAssault)
{
    Add(kDx, kDy, demo::kGermanRifle);
    AddAt(m_north, demo::kUsRifle);
    ASSERT_TRUE(Start());
    EXPECT_EQ(AddFrom(m_north, { 1 }), "");
    // Own units: refused before the open assault is touched.
    ASSERT_FALSE(m_game.CanAssaultHex(m_north.column, m_north.row));
    EXPECT_TRUE(m_game.HasAssault());
    EXPECT_NE(Unit(m_north.column, m_north.row, 1).m_status & kUnitInAssault, 0u);
    // A new start ends it and releases its units.
    const HexPos other = Next(HexSide::South);
    Add(other.column, other.row, demo::kGermanRifle);
    ASSERT_TRUE(m_game.CanAssaultHex(other.column, other.row));
    EXPECT_EQ(Unit(m_north.column, m_north.row, 1).m_status & kUnitInAssault, 0u);
    EXPECT_EQ(m_game.m_attackTotal, 0);
}

// Adding: each refusal in its order, one failing condition a row, against
// a German rifle platoon from the hex to the north.
TEST_F(AssaultTest, AddRefusalsInOrder)
{
    struct Row {
        const char* name;
        std::function<void()> setUp;
        std::vector<int> positions;
        const char* text;
        int committed;
    };
    const auto unit = [this](std::uint32_t status = 0, std::uint32_t id = demo::kUsRifle) {
        return [=, this] { AddAt(m_north, id, status); };
    };
    const auto loaded = [this](std::uint32_t carrier) {
        return [=, this] {
            AddAt(m_north, carrier, kUnitCarrying);
            AddAt(m_north, demo::kUsRifle, kUnitCarried);
        };
    };
    const std::uint32_t kMovedBit = kUnitMoved;
    const Row rows[] = {
        { "no defending hex",
            [this] {
                AddAt(m_north, demo::kUsRifle);
                m_game.ClearAssault();
            },
            { 1 }, "No defending hex has been specified", 0 },
        { "other side", [this] { AddAt(m_north, demo::kGermanRifle); }, { 1 },
            "Cannot attack using units from other side", 0 },
        { "not adjacent",
            [this] {
                Add(kDx, kDy - 2, demo::kUsRifle);
                m_north = { kDx, kDy - 2 };
            },
            { 1 }, "Cannot attack from non-adjacent hex", 0 },
        { "no units", unit(), {}, "No attacking units have been specified", 0 },
        { "past the stack", unit(), { 2 }, "No attacking units have been specified", 0 },
        { "named twice", unit(), { 1, 1 }, "No attacking units have been specified", 0 },
        { "passenger alone", loaded(demo::kUsHalfTrack), { 2 }, "Must include carrier with selection", 0 },
        { "carrier alone", loaded(demo::kUsHalfTrack), { 1 }, "Must include passenger with selection", 0 },
        { "moved, three phases",
            [this] {
                m_game.m_options = kOptionThreePhase;
                m_game.m_map.SetPhase(2);
                AddAt(m_north, demo::kUsRifle, kUnitMoved);
            },
            { 1 }, "Units which have moved cannot assault in same phase", 0 },
        { "moved, plain turns", unit(kMovedBit), { 1 }, "", 1 },
        { "committed", unit(kUnitInAssault), { 1 }, "Unit is already commited to attack", 1 },
        { "disrupted and fixed", unit(kUnitDisrupted | kUnitFixed), { 1 },
            "Cannot attack with units that have been disrupted", 0 },
        { "loaded non-carrier", loaded(demo::kUsJeep), { 1, 2 }, "Non-carrier cannot assault while loaded", 0 },
        { "no assault factor", unit(0, demo::kUsTruck), { 1 }, "Unit has no assault factor", 0 },
        { "fixed", unit(kUnitFixed), { 1 }, "Fixed units cannot assault", 0 },
        { "cliff between",
            [this] {
                AddAt(m_north, demo::kUsRifle);
                AddFeature(kDx, kDy, HexSide::North, kLayerCliff);
            },
            { 1 }, "Units cannot make move into attacking hex", 0 },
        { "vehicle climbs too high",
            [this] {
                AddAt(m_north, demo::kUsSherman);
                m_game.m_map.SetElevationScale(0, 25);
                Hex(kDx, kDy).level = 2;
            },
            { 1 }, "Units cannot make move into attacking hex", 0 },
        { "attacked, three phases",
            [this] {
                m_game.m_options = kOptionThreePhase;
                m_game.m_map.SetPhase(2);
                AddAt(m_north, demo::kUsRifle, kUnitAssaulted);
            },
            { 1 }, "Cannot attack with units that have already attacked", 0 },
        // The step costs 63 and the assault 10 more.
        { "72 points", [this] { AddAt(m_north, demo::kUsRifle).m_actionPoints = 72; }, { 1 },
            "Unit does not have enough Action Points to assault", 0 },
        { "73 points", [this] { AddAt(m_north, demo::kUsRifle).m_actionPoints = 73; }, { 1 }, "", 1 },
        { "Banzai, 19 points", [this] { AddAt(m_north, demo::kUsRifle, kUnitBanzai).m_actionPoints = 19; }, { 1 },
            "Unit does not have enough Action Points to assault", 0 },
        { "Banzai, 20 points", [this] { AddAt(m_north, demo::kUsRifle, kUnitBanzai).m_actionPoints = 20; }, { 1 }, "",
            1 },
        { "pillbox",
            [this] {
                AddAt(m_north, demo::kUsSherman);
                m_game.m_hexFlags.At(kDx, kDy) = CGameData::kHexPillbox;
            },
            { 1 }, "Vehicles cannot assault pillboxes", 0 },
        { "digging in", unit(kUnitDiggingIn), { 1 }, "Units which are Digging-In cannot attack", 0 },
        { "one unit too many",
            [this] {
                m_game.m_parameters.m_maxStackUnits = 1;
                AddAt(m_north, demo::kUsRifle);
                AddAt(m_north, demo::kUsRifle);
            },
            { 1, 2 }, "Total attacking strength exceeds stacking limitations", 1 },
        { "strength too high",
            [this] {
                m_game.m_parameters.m_maxStackStrength = 15;
                AddAt(m_north, demo::kUsRifle);
                AddAt(m_north, demo::kUsRifle);
            },
            { 1, 2 }, "Total attacking strength exceeds stacking limitations", 1 },
        { "cavalry against a bunker",
            [this] {
                Type(demo::kUsJeep)->m_carryFlags |= kCarryHorses;
                m_game.m_hexFlags.At(kDx, kDy) = CGameData::kHexBunker;
                AddAt(m_north, demo::kUsJeep, kUnitCarrying);
                AddAt(m_north, demo::kUsRifle, kUnitCarried);
            },
            { 1, 2 }, "Cavalry cannot assault hard targets or hard terrain", 0 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        m_game.ClearAssault();
        for (int x = 0; x < 8; ++x)
            for (int y = 0; y < 8; ++y) {
                m_game.m_stacks.At(x, y) = UnitList();
                m_game.m_hexFlags.At(x, y) = 0;
                Hex(x, y) = HexRecord();
            }
        m_game.m_options = 0;
        m_game.m_map.SetPhase(0);
        m_game.m_parameters.m_maxStackUnits = 6;
        m_game.m_parameters.m_maxStackStrength = 40;
        Type(demo::kUsJeep)->m_carryFlags &= ~kCarryHorses;
        m_north = Next(HexSide::North);
        Add(kDx, kDy, demo::kGermanRifle);
        ASSERT_TRUE(Start()) << Refusal();
        row.setUp();
        EXPECT_EQ(AddFrom(m_north, row.positions), row.text);
        int committed = 0;
        for (const PlacedUnit& unit : m_game.m_stacks.At(m_north.column, m_north.row))
            committed += (unit.m_status & kUnitInAssault) != 0 ? 1 : 0;
        EXPECT_EQ(committed, row.committed);
    }
}

TEST_F(AssaultTest, PassengersRideInWithTheirCarriers)
{
    Add(kDx, kDy, demo::kGermanRifle);
    ASSERT_TRUE(Start());
    // An armoured carrier's passenger is not checked (its points are gone)
    // and adds half: the half-track 1 x 4 = 4 (Open at 100 %), defence 16;
    // the rifles 3 x 8 / 2 = 12, defence 4 x 8 / 2 = 16.
    AddAt(m_north, demo::kUsHalfTrack, kUnitCarrying);
    AddAt(m_north, demo::kUsRifle, kUnitCarried).m_actionPoints = 0;
    EXPECT_EQ(AddFrom(m_north, { 1, 2 }), "");
    EXPECT_EQ(m_game.m_attackTotal, 16);
    EXPECT_EQ(m_game.m_attackerDefenceTotal, 32);
    EXPECT_EQ(m_game.m_attackerUnits, 2);
    EXPECT_EQ(m_game.m_attackerStrength, 12);
    // The recomputation gives the same.
    m_game.RecomputeAssaultTotals();
    EXPECT_EQ(m_game.m_attackTotal, 16);
    EXPECT_EQ(m_game.m_attackerDefenceTotal, 32);

    // A horse's rider is checked; the horse stays committed when it fails.
    Type(demo::kUsJeep)->m_carryFlags |= kCarryHorses;
    const HexPos west = Next(HexSide::NorthWest);
    Add(west.column, west.row, demo::kUsJeep, kUnitCarrying);
    Add(west.column, west.row, demo::kUsRifle, kUnitCarried | kUnitDisrupted);
    EXPECT_EQ(AddFrom(west, { 1, 2 }), "Cannot attack with units that have been disrupted");
    EXPECT_NE(Unit(west.column, west.row, 1).m_status & kUnitInAssault, 0u);
    EXPECT_EQ(Unit(west.column, west.row, 2).m_status & kUnitInAssault, 0u);
    // A fresh rider charges at three times: 3 x 8 x 3 = 72 (the horses add
    // no attack, defence 2 x 2 = 4, and no strength); halved in a trench.
    Unit(west.column, west.row, 2).m_status = kUnitCarried;
    Unit(west.column, west.row, 1).m_status = kUnitCarrying;
    EXPECT_EQ(AddFrom(west, { 1, 2 }), "");
    EXPECT_EQ(m_game.m_attackTotal, 16 + 72);
    EXPECT_EQ(m_game.m_attackerDefenceTotal, 32 + 4 + 32);
    EXPECT_EQ(m_game.m_attackerUnits, 4);
    EXPECT_EQ(m_game.m_attackerStrength, 20);
    m_game.m_hexFlags.At(kDx, kDy) = CGameData::kHexTrench;
    m_game.RecomputeAssaultTotals();
    EXPECT_EQ(m_game.m_attackTotal, 16 + 36);
}

// The defenders' totals, one stack a row (the side to move is the other).
TEST_F(AssaultTest, DefenderValuesAndPassengerDivisors)
{
    struct Row {
        const char* name;
        std::vector<std::pair<std::uint32_t, std::uint32_t>> units; // type, status
        int flags;
        int counter;
        int defence;
        int units_;
        int strength;
    };
    const std::uint32_t kC = kUnitCarrying, kP = kUnitCarried;
    const Row rows[] = {
        // Rifle: 3 x 8 = 24 against, 4 x 8 = 32 in defence.
        { "rifle", { { demo::kUsRifle, 0 } }, 0, 24, 32, 1, 8 },
        { "disrupted", { { demo::kUsRifle, kUnitDisrupted } }, 0, 12, 16, 1, 8 },
        // 24 / 2 = 12, x 3 / 4 = 9; defence 32 / 2.
        { "fatigued, low on ammunition", { { demo::kUsRifle, kUnitFatigued | kUnitLowAmmo } }, 0, 9, 16, 1, 8 },
        { "digging in", { { demo::kUsRifle, kUnitDiggingIn } }, 0, 24, 16, 1, 8 },
        // Half of the fortification bonus 4 for a unit on foot only.
        { "bunker", { { demo::kUsRifle, 0 }, { demo::kUsSherman, 0 } }, CGameData::kHexBunker, 24 + 15, 34 + 60, 2,
            13 },
        // An armoured carrier's passenger at half: 12 and 16; the half-track
        // 4 and 16.
        { "half-track", { { demo::kUsHalfTrack, kC }, { demo::kUsRifle, kP } }, 0, 4 + 12, 16 + 16, 2, 12 },
        // A lorry's passenger does not fight; unarmed lorries add no defence.
        { "truck", { { demo::kUsTruck, kC }, { demo::kUsRifle, kP } }, 0, 0, 0, 2, 11 },
        // A boat's passenger fights in full.
        { "boat", { { demo::kUsBoat, kC }, { demo::kUsRifle, kP } }, 0, 24, 32, 2, 16 },
        // The floor of 1: 3 / 2 / 2 = 0 and 4 / 2 / 2 = 1.
        { "weak", { { demo::kUsRifle, kUnitDisrupted | kUnitFatigued } }, 0, 6, 8, 1, 8 },
        // The leader has no factor to halve and no firepower.
        { "leader", { { demo::kUsBattalionCommander, 0 } }, 0, 0, 0, 1, 2 },
    };
    m_game.m_map.SetSide(1);
    m_game.m_assaultHex = { kDx, kDy };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        m_game.m_stacks.At(kDx, kDy) = UnitList();
        m_game.m_hexFlags.At(kDx, kDy) = row.flags;
        for (const auto& [id, status] : row.units)
            Add(kDx, kDy, id, status);
        m_game.RecomputeAssaultTotals();
        EXPECT_EQ(m_game.m_counterAssaultTotal, row.counter);
        EXPECT_EQ(m_game.m_defenceTotal, row.defence);
        EXPECT_EQ(m_game.m_defenderUnits, row.units_);
        EXPECT_EQ(m_game.m_defenderStrength, row.strength);
    }
    // Horses' riders count a quarter: 24 / 4 and 32 / 4.
    Type(demo::kUsJeep)->m_carryFlags |= kCarryHorses;
    m_game.m_stacks.At(kDx, kDy) = UnitList();
    m_game.m_hexFlags.At(kDx, kDy) = 0;
    Add(kDx, kDy, demo::kUsJeep, kC);
    Add(kDx, kDy, demo::kUsRifle, kP).m_strength = 1;
    m_game.RecomputeAssaultTotals();
    EXPECT_EQ(m_game.m_counterAssaultTotal, 1);
    EXPECT_EQ(m_game.m_defenceTotal, 1);
}

// The attack of one committed unit.
TEST_F(AssaultTest, AttackerValues)
{
    struct Row {
        const char* name;
        std::uint32_t type;
        std::uint32_t status;
        int flags;
        int attack;
        int defence;
        int units;
        int strength;
    };
    const Row rows[] = {
        { "rifle", demo::kUsRifle, 0, 0, 24, 32, 1, 8 },
        // Engineers 4 x 7 = 28, twice against a bunker.
        { "engineers", demo::kUsEngineer, 0, 0, 28, 28, 1, 7 },
        { "engineers at a bunker", demo::kUsEngineer, 0, CGameData::kHexBunker, 56, 28, 1, 7 },
        // Tanks by the defending hex's terrain: 3 x 5 = 15 at 50 %: 7.
        { "tanks", demo::kUsSherman, 0, 0, 7, 60, 1, 5 },
        // 24 x 3 / 4 = 18; 24 / 2 = 12; Banzai 24 x 3 = 72.
        { "low on ammunition", demo::kUsRifle, kUnitLowAmmo, 0, 18, 32, 1, 8 },
        { "fatigued", demo::kUsRifle, kUnitFatigued, 0, 12, 32, 1, 8 },
        { "Banzai", demo::kUsRifle, kUnitBanzai, 0, 72, 32, 1, 8 },
        // A leader: no factor, neither counted nor its strength.
        { "leader", demo::kUsBattalionCommander, 0, 0, 0, 6, 0, 0 },
    };
    m_game.m_parameters.m_terrainPercent[kTerrainOpen] = 50;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        m_game.ClearAssault();
        m_game.m_stacks.At(m_north.column, m_north.row) = UnitList();
        m_game.m_stacks.At(kDx, kDy) = UnitList();
        m_game.m_hexFlags.At(kDx, kDy) = row.flags;
        Add(kDx, kDy, demo::kGermanRifle);
        ASSERT_TRUE(Start());
        AddAt(m_north, row.type, row.status);
        EXPECT_EQ(AddFrom(m_north, { 1 }), "");
        EXPECT_EQ(m_game.m_attackTotal, row.attack);
        EXPECT_EQ(m_game.m_attackerDefenceTotal, row.defence);
        EXPECT_EQ(m_game.m_attackerUnits, row.units);
        EXPECT_EQ(m_game.m_attackerStrength, row.strength);
    }
}

TEST_F(AssaultTest, HardTerrain)
{
    const struct {
        int terrain;
        int flags;
        bool hard;
    } cases[] = { { kTerrainOpen, 0, false }, { kTerrainForest, 0, false }, { kTerrainBuilding, 0, true },
        { kTerrainVillage, 0, true }, { kTerrainCity, 0, true }, { kTerrainIndustrial, 0, true },
        { kTerrainSuburb, 0, true }, { kTerrainOpen, CGameData::kHexBunker, true },
        { kTerrainOpen, CGameData::kHexPillbox, true }, { kTerrainOpen, CGameData::kHexTrench, false } };
    for (const auto& c : cases) {
        Hex(2, 2).terrain = c.terrain;
        m_game.m_hexFlags.At(2, 2) = c.flags;
        EXPECT_EQ(m_game.IsHardTerrain(2, 2), c.hard) << c.terrain << " " << c.flags;
    }
    EXPECT_FALSE(m_game.IsHardTerrain(-1, 2));
}

TEST_F(AssaultTest, OddsText)
{
    EXPECT_EQ(Odds(), "No defending hex has been specified");
    // Defender: the rifles 21 against, 28 in defence; a company leader of
    // theirs adds his 1 SP to their 7 and 1 to their counter-assault, and
    // no defence (he has no firepower).
    FormationNode theirs(1);
    OrgNode* theirLeader = theirs.AppendChild(std::make_unique<OrgNode>(0));
    theirLeader->m_code = 1400;
    OrgNode* theirRifles = theirs.AppendChild(std::make_unique<OrgNode>(0));
    theirRifles->m_code = 1200;
    Add(kDx, kDy, demo::kGermanRifle).m_node = theirRifles;
    Add(kDx, kDy, 1400).m_node = theirLeader;
    ASSERT_TRUE(Start());
    EXPECT_EQ(Odds(), "No attacking units have been specified");
    // Attackers: two rifle platoons, 48 and 64 in defence, 16 SP, and
    // their battalion commander (2 SP, 6 in defence, counted in neither).
    FormationNode ours(1);
    OrgNode* ourLeader = ours.AppendChild(std::make_unique<OrgNode>(0));
    ourLeader->m_code = 10401;
    OrgNode* ourRifles = ours.AppendChild(std::make_unique<OrgNode>(0));
    ourRifles->m_code = 10200;
    AddAt(m_north, demo::kUsRifle).m_node = ourRifles;
    AddAt(m_north, demo::kUsRifle);
    AddAt(m_north, demo::kUsBattalionCommander).m_node = ourLeader;
    EXPECT_EQ(AddFrom(m_north, { 1, 2 }), "");
    // Without the leader committed, no bonus: 48.
    EXPECT_EQ(Odds(),
        "Assault:\nAttack of 48 (16 SP) vs defense of 28 (8 SP)\n\n"
        "Counter-assault:\nAttack of 22 (8 SP) vs defense of 64 (16 SP)\n");
    EXPECT_EQ(AddFrom(m_north, { 3 }), "");
    EXPECT_EQ(m_game.GetAttackLeaderBonus(), 2);
    EXPECT_EQ(m_game.GetDefenceLeaderBonus(), 1);
    // A trench: (48 + 2) x 0.6 x 0.6 = 18.0; the counter-assault unchanged.
    m_game.m_hexFlags.At(kDx, kDy) = CGameData::kHexTrench;
    EXPECT_EQ(Odds(),
        "Assault:\nAttack of 18 (16 SP) vs defense of 28 (8 SP)\n\n"
        "Counter-assault:\nAttack of 22 (8 SP) vs defense of 70 (16 SP)\n");
    // An improved position once: 50 x 0.6 = 30.
    m_game.m_hexFlags.At(kDx, kDy) = CGameData::kHexImprovedPosition;
    EXPECT_DOUBLE_EQ(m_game.GetAssaultTerrainMultiplier(), 0.6);
    EXPECT_EQ(Odds().substr(0, 22), "Assault:\nAttack of 30 ");
    // Hidden information about either side under Extreme Fog-Of-War.
    m_game.m_options = kOptionExtremeFogOfWar;
    EXPECT_EQ(Odds().substr(0, 22), "Assault:\nAttack of 30 ");
    m_game.m_hidden[1] = true;
    EXPECT_EQ(Odds(), "Unknown assault odds (Extreme Fog-Of-War)");
}

// Three rifle platoons (72 against, 96 in defence, 24 SP) assault a German
// rifle platoon of 3 SP (9 against, 12 in defence) on Open ground, which
// holds 20 SP of wrecks.
class AssaultResolutionTest : public AssaultTest {
protected:
    void SetUpOverrun()
    {
        Add(kDx, kDy, demo::kGermanRifle).m_strength = 3;
        m_game.m_wrecks.At(kDx, kDy) = 20;
        for (int i = 0; i < 3; ++i)
            AddAt(m_north, demo::kUsRifle);
        ASSERT_TRUE(Start());
        ASSERT_EQ(AddFrom(m_north, { 1, 2, 3 }), "");
    }
    // Units of the given type in every hex around the defending hex but one.
    void Surround(HexPos except, std::uint32_t id)
    {
        for (HexSide side = HexSide::North; side.IsValid(); side.Next()) {
            const HexPos next = Next(side);
            if (!(next == except))
                AddAt(next, id);
        }
    }
    std::uint32_t Status(HexPos hex, int position) { return Unit(hex.column, hex.row, position).m_status; }
};

// The defenders' attack 72 against 12 (ratio 6) sits in the sure column:
// three points lost, the platoon eliminated (U1, U2 for the shot, U3, U4
// for its passenger fire). The counter-assault 9 against 96 is below ratio
// 1: each rifle platoon (share 3 x 8 / 24 = 1 shot) draws for the shot,
// the passenger fire, disruption and retreat: six draws, "No Effect".
TEST_F(AssaultResolutionTest, OverrunAndAdvanceToTheStrengthLimit)
{
    SetUpOverrun();
    m_game.SnapshotHex(m_north.column, m_north.row);
    SetRandomSeed(0);
    EXPECT_EQ(Resolve(),
        "Defenders result:\n    Gren Zug Eliminated\nAttackers result:\n    Rifle Plt No Effect\n"
        "    Rifle Plt No Effect\n    Rifle Plt No Effect\nDefenders overrun");
    EXPECT_EQ(State(), AdvanceRandomState(0, 4 + 3 * 6));
    EXPECT_TRUE(m_game.m_snapshots.empty());
    // 20 SP of wrecks: two platoons (36 SP) fit under the limit of 40, the
    // third would not.
    ASSERT_EQ(Count(kDx, kDy), 2);
    ASSERT_EQ(Count(m_north), 1);
    const PlacedUnit* units[] = { &Unit(kDx, kDy, 1), &Unit(kDx, kDy, 2), &Unit(m_north.column, m_north.row, 1) };
    for (const PlacedUnit* unit : units) {
        EXPECT_EQ(unit->m_actionPoints, 100 - 63 - 10);
        EXPECT_NE(unit->m_status & kUnitAssaulted, 0u);
        EXPECT_EQ(unit->m_status & kUnitInAssault, 0u);
    }
    // The side now in the hex holds it.
    EXPECT_EQ(m_game.GetContactLevel(kDx, kDy, 0), 1);
    EXPECT_EQ(m_game.GetContactValue(kDx, kDy, 0), 0);
    EXPECT_FALSE(m_game.HasAssault());
    EXPECT_EQ(m_game.m_attackTotal, 0);
}

TEST_F(AssaultResolutionTest, SameSeedSameBattle)
{
    std::string reports[2];
    std::uint32_t states[2] = {};
    for (int run = 0; run < 2; ++run) {
        for (int x = 0; x < 8; ++x)
            for (int y = 0; y < 8; ++y)
                m_game.m_stacks.At(x, y) = UnitList();
        SetUpOverrun();
        SetRandomSeed(77);
        reports[run] = Resolve();
        states[run] = State();
    }
    EXPECT_EQ(reports[0], reports[1]);
    EXPECT_EQ(states[0], states[1]);
    // The draws are those counted above, whatever the seed.
    EXPECT_EQ(states[0], AdvanceRandomState(77, 22));
}

// Hidden information: the defenders are not named, and the side that took
// the hex holds it. The draws are the overrun's.
TEST_F(AssaultResolutionTest, HiddenDefendersAreUnknown)
{
    SetUpOverrun();
    m_game.m_options = kOptionExtremeFogOfWar;
    m_game.m_hidden[1] = true;
    SetRandomSeed(0);
    EXPECT_EQ(Resolve().substr(0, 47), "Defenders result:\n    Unknown Eliminated\nAttack");
    EXPECT_EQ(State(), AdvanceRandomState(0, 22));
    EXPECT_EQ(m_game.GetContactLevel(kDx, kDy, 0), 1);
}

// A German platoon of 1 SP (3 against, 4 in defence) under 24 against 4:
// disruption only, b = 1. U1 to U4 the shots; U5 x 1 <= 1 disrupts, U6 the
// retreat draw; "Disrupted" without a morale draw, as no retreat is allowed.
// The counter-assault 3 against 32: one shot, six draws (U7 to U12).
struct RetreatCase {
    const char* name;
    bool surround;
    int mineSides; // neighbours of the defending hex with a minefield
    bool friendInNorthEast; // a German unit next to the attacker
    const char* outcome;
    HexSide to; // None: captured
};

TEST_F(AssaultResolutionTest, BrokenDefendersRetreatOrAreCaptured)
{
    const int kSe = HexSide::SouthEast.Value(), kSw = HexSide::SouthWest.Value(), kS = HexSide::South.Value();
    const RetreatCase cases[] = {
        // Every neighbour held by the attacker.
        { "surrounded", true, 0, false, "Defenders captured", HexSide::None },
        // NE and NW touch the attacker's hex, SE and SW are mined: South.
        { "one legal hex", false, kSe | kSw, false, "Defenders forced to retreat", HexSide::South },
        // A hex the defender holds is taken though it touches the attacker.
        { "to a friend", false, kSe | kSw | kS, true, "Defenders forced to retreat", HexSide::NorthEast },
        { "nowhere", false, kSe | kSw | kS, false, "Defenders captured", HexSide::None },
    };
    ForceTwo(kNothing, kDisruptOnly);
    for (const RetreatCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (int x = 0; x < 8; ++x)
            for (int y = 0; y < 8; ++y) {
                m_game.m_stacks.At(x, y) = UnitList();
                m_game.m_hexFlags.At(x, y) = 0;
            }
        Add(kDx, kDy, demo::kGermanRifle).m_strength = 1;
        AddAt(m_north, demo::kUsRifle);
        if (c.surround)
            Surround(m_north, demo::kUsRifle);
        for (HexSide side = HexSide::North; side.IsValid(); side.Next())
            if ((c.mineSides & static_cast<int>(side.Value())) != 0)
                m_game.m_hexFlags.At(Next(side).column, Next(side).row) = CGameData::kHexMinefield1;
        if (c.friendInNorthEast)
            AddAt(Next(HexSide::NorthEast), demo::kGermanRifle);
        const std::size_t eliminated = m_game.m_eliminated.Count();
        ASSERT_TRUE(Start());
        ASSERT_EQ(AddFrom(m_north, { 1 }), "");
        SetRandomSeed(0);
        EXPECT_EQ(Resolve(),
            std::string("Defenders result:\n    Gren Zug Disrupted\nAttackers result:\n    Rifle Plt No Effect\n")
                + c.outcome);
        EXPECT_EQ(State(), AdvanceRandomState(0, 12));
        // The hex is empty: the rifle platoon advances into it.
        ASSERT_EQ(Count(kDx, kDy), 1);
        EXPECT_EQ(Unit(kDx, kDy, 1).m_type->m_id, demo::kUsRifle);
        EXPECT_EQ(Count(m_north), 0);
        if (!c.to.IsValid()) {
            ASSERT_EQ(m_game.m_eliminated.Count(), eliminated + 1);
            EXPECT_EQ(m_game.m_eliminated.Last()->value.m_type->m_id, demo::kGermanRifle);
            continue;
        }
        EXPECT_EQ(m_game.m_eliminated.Count(), eliminated);
        const HexPos to = Next(c.to);
        ASSERT_GE(Count(to), 1);
        const PlacedUnit& moved = Unit(to.column, to.row, 1);
        EXPECT_EQ(moved.m_type->m_id, demo::kGermanRifle);
        // Broken defenders lose a point of morale.
        EXPECT_EQ(moved.m_rating, 5);
        EXPECT_NE(moved.m_status & kUnitDisrupted, 0u);
    }
}

// Both sides' platoons of 1 SP with defence 1 (3 against 1 either way):
// the defender is disrupted (U1 to U6 as above), and so is the attacker
// (one shot U7, U8; passenger U9, U10; U11 x 1 <= 1; U12). Nobody is left
// to exploit the broken defence.
TEST_F(AssaultResolutionTest, AllAttackersDisruptedNoOutcome)
{
    ForceTwo(kNothing, kDisruptOnly);
    Type(demo::kGermanRifle)->m_value13 = 1;
    Type(demo::kUsRifle)->m_value13 = 1;
    Add(kDx, kDy, demo::kGermanRifle).m_strength = 1;
    AddAt(m_north, demo::kUsRifle).m_strength = 1;
    ASSERT_TRUE(Start());
    ASSERT_EQ(AddFrom(m_north, { 1 }), "");
    SetRandomSeed(0);
    EXPECT_EQ(Resolve(), "Defenders result:\n    Gren Zug Disrupted\nAttackers result:\n    Rifle Plt Disrupted");
    EXPECT_EQ(State(), AdvanceRandomState(0, 12));
    ASSERT_EQ(Count(kDx, kDy), 1);
    EXPECT_EQ(Unit(kDx, kDy, 1).m_rating, 6);
    ASSERT_EQ(Count(m_north), 1);
    // Disrupted: the step and the assault cost twice, more than it has.
    EXPECT_EQ(Unit(m_north.column, m_north.row, 1).m_actionPoints, 0);
    EXPECT_NE(Status(m_north, 1) & kUnitAssaulted, 0u);
    EXPECT_NE(Unit(kDx, kDy, 1).m_status & kUnitAssaulted, 0u);
}

TEST_F(AssaultResolutionTest, PointsOfCarriersAndBanzai)
{
    ForceTwo(kNothing, kNothing);
    Add(kDx, kDy, demo::kGermanRifle);
    AddAt(m_north, demo::kUsHalfTrack, kUnitCarrying);
    AddAt(m_north, demo::kUsRifle, kUnitCarried);
    const HexPos northEast = Next(HexSide::NorthEast);
    AddAt(northEast, demo::kUsRifle, kUnitBanzai);
    ASSERT_TRUE(Start());
    ASSERT_EQ(AddFrom(m_north, { 1, 2 }), "");
    ASSERT_EQ(AddFrom(northEast, { 1 }), "");
    SetRandomSeed(0);
    // The passenger takes no result of its own.
    EXPECT_EQ(Resolve(),
        "Defenders result:\n    Gren Zug No Effect\nAttackers result:\n    M3 HT No Effect\n    Rifle Plt No Effect");
    // The half-track pays its step (12) and the assault (10) for itself and
    // again for its passenger; Banzai costs 20.
    EXPECT_EQ(Unit(m_north.column, m_north.row, 1).m_actionPoints, 100 - 2 * 22);
    EXPECT_EQ(Unit(m_north.column, m_north.row, 2).m_actionPoints, 100);
    EXPECT_EQ(Unit(northEast.column, northEast.row, 1).m_actionPoints, 80);
    EXPECT_NE(Status(m_north, 2) & kUnitAssaulted, 0u);
    EXPECT_EQ(Status(m_north, 2) & kUnitInAssault, 0u);
    // Nothing broke: no outcome, no advance.
    EXPECT_EQ(Count(kDx, kDy), 1);
}

// Results that take carriers with their passengers while the resolution
// walks the defenders: the Germans (63 against, 84 in defence, 21 SP)
// assault a half-track of 1 SP with its rifles, a lorry of 4 SP towing a
// gun that cannot leave its position, and rifles of 1 SP. Defence 4 + 16 +
// 4 = 24, counter-assault 1 + 12 + 3 = 16, 17 SP; 63 against 24 is in the
// sure column, 16 against 84 below ratio 1.
TEST_F(AssaultResolutionTest, ResultsNeverWalkFreedUnits)
{
    m_game.m_map.SetSide(1);
    Add(kDx, kDy, demo::kUsHalfTrack, kUnitCarrying).m_strength = 1;
    Add(kDx, kDy, demo::kUsRifle, kUnitCarried);
    Add(kDx, kDy, demo::kUsTruck, kUnitCarrying).m_strength = 4;
    Add(kDx, kDy, demo::kUsAntiTankGun, kUnitCarried);
    Add(kDx, kDy, demo::kUsRifle).m_strength = 1;
    for (int i = 0; i < 3; ++i)
        AddAt(m_north, demo::kGermanRifle);
    Surround(m_north, demo::kGermanRifle);
    ASSERT_TRUE(Start());
    ASSERT_EQ(AddFrom(m_north, { 1, 2, 3 }), "");
    ASSERT_EQ(m_game.m_defenceTotal, 24);
    ASSERT_EQ(m_game.m_counterAssaultTotal, 16);
    const std::size_t eliminated = m_game.m_eliminated.Count();
    SetRandomSeed(0);
    // Half-track: U1 to U4, eliminated with its passenger. Lorry: U5 to U8,
    // three points lost (the gun 3 x 3 / 4 = 2 of its 3); U9 x 4 <= 3
    // disrupts, U10; the morale step U11 0.3742 >= 0.35 keeps the rating;
    // disrupted with its gun. Rifles: U12 to U15, eliminated. Each German
    // platoon fires 17 x 7 / 21 = 5 shots: 10 + 10 + 2 draws, "No Effect".
    // The broken hex: the gun is lost, the lorry has nowhere to go.
    EXPECT_EQ(Resolve(),
        "Defenders result:\n    M3 HT Eliminated\n        Passenger Eliminated\n"
        "    Trucks Reduced by 3\n        Passenger Reduced Disrupted\n        Passenger Disrupted\n"
        "    Rifle Plt Eliminated\nAttackers result:\n    Gren Zug No Effect\n    Gren Zug No Effect\n"
        "    Gren Zug No Effect\nDefenders captured");
    EXPECT_EQ(State(), AdvanceRandomState(0, 4 + 7 + 4 + 3 * 22));
    EXPECT_EQ(m_game.m_eliminated.Count(), eliminated + 5);
    // The half-track's wreck and the three German platoons.
    EXPECT_EQ(m_game.GetWreckValue(kDx, kDy), 1);
    EXPECT_EQ(Count(kDx, kDy), 3);
    EXPECT_EQ(Count(m_north), 0);
}

// The counter-assault eliminates a committed half-track and its passenger:
// the walks after it skip both. German platoon 7 SP with assault factor 10
// (70 against, 28 in defence); half-track 4 SP (4, defence 16) and its
// rifles at half (12, defence 16), 12 SP. 16 against 28: U1 to U6, "No
// Effect". 70 against 32 is in the sure column: the half-track's share
// 7 x 4 / 12 = 2 shots gives six points (U7 to U10, passenger U11 to U14).
TEST_F(AssaultResolutionTest, CounterAssaultTakesACarrierWithItsPassenger)
{
    Type(demo::kGermanRifle)->m_value12 = 10;
    Add(kDx, kDy, demo::kGermanRifle);
    AddAt(m_north, demo::kUsHalfTrack, kUnitCarrying);
    AddAt(m_north, demo::kUsRifle, kUnitCarried);
    ASSERT_TRUE(Start());
    ASSERT_EQ(AddFrom(m_north, { 1, 2 }), "");
    SetRandomSeed(0);
    EXPECT_EQ(Resolve(),
        "Defenders result:\n    Gren Zug No Effect\nAttackers result:\n    M3 HT Eliminated\n"
        "        Passenger Eliminated");
    EXPECT_EQ(State(), AdvanceRandomState(0, 14));
    EXPECT_EQ(Count(m_north), 0);
    EXPECT_EQ(m_game.GetWreckValue(m_north.column, m_north.row), 4);
    EXPECT_EQ(Count(kDx, kDy), 1);
}

TEST_F(AssaultResolutionTest, NothingToResolve)
{
    String out("x");
    m_game.CanResolveAssault(out);
    EXPECT_STREQ(out.c_str(), "No defending hex has been specified");
    EXPECT_FALSE(m_game.ResolveAssault(out));
    EXPECT_TRUE(out.IsEmpty());
    Add(kDx, kDy, demo::kGermanRifle);
    ASSERT_TRUE(Start());
    m_game.CanResolveAssault(out);
    EXPECT_STREQ(out.c_str(), "No attacking units have been specified");
    SetRandomSeed(0);
    EXPECT_FALSE(m_game.ResolveAssault(out));
    EXPECT_EQ(State(), AdvanceRandomState(0, 0));
    EXPECT_TRUE(m_game.HasAssault());
}

// Factors from a platoon file are not bounded: every product and total is
// held to the int range, and the resolution still runs.
TEST_F(AssaultResolutionTest, HugeFactorsHeldToTheIntRange)
{
    constexpr int kMax = std::numeric_limits<int>::max();
    Type(demo::kUsRifle)->m_value12 = kMax;
    Type(demo::kUsRifle)->m_value13 = kMax;
    Type(demo::kGermanRifle)->m_value12 = kMax;
    Type(demo::kGermanRifle)->m_value13 = kMax;
    Add(kDx, kDy, demo::kGermanRifle);
    Add(kDx, kDy, demo::kGermanRifle);
    AddAt(m_north, demo::kUsRifle, kUnitBanzai);
    AddAt(m_north, demo::kUsRifle);
    ASSERT_TRUE(Start());
    ASSERT_EQ(AddFrom(m_north, { 1, 2 }), "");
    EXPECT_EQ(m_game.m_attackTotal, kMax);
    EXPECT_EQ(m_game.m_attackerDefenceTotal, kMax);
    EXPECT_EQ(m_game.m_counterAssaultTotal, kMax);
    EXPECT_EQ(m_game.m_defenceTotal, kMax);
    EXPECT_EQ(Odds().substr(0, 30), "Assault:\nAttack of 2147483647 ");
    SetRandomSeed(0);
    EXPECT_EQ(Resolve().substr(0, 17), "Defenders result:");
    EXPECT_FALSE(m_game.HasAssault());
}

// A cave held by its own nation halves the attack, and is never broken
// while anyone but a leader holds it: the disrupted platoon stays (the
// draws as in the retreat cases; 24 x 0.5 against 4 is still sure).
TEST_F(AssaultResolutionTest, CaveHeldByItsNation)
{
    ForceTwo(kNothing, kDisruptOnly);
    Add(kDx, kDy, demo::kGermanRifle).m_strength = 1;
    AddAt(m_north, demo::kUsRifle);
    m_game.m_hexFlags.At(kDx, kDy) = CGameData::kHexCave;
    ASSERT_TRUE(Start());
    ASSERT_EQ(AddFrom(m_north, { 1 }), "");
    EXPECT_DOUBLE_EQ(m_game.GetAssaultTerrainMultiplier(), 1.0);
    Type(demo::kGermanRifle)->m_id = 21200;
    EXPECT_DOUBLE_EQ(m_game.GetAssaultTerrainMultiplier(), 0.5);
    SetRandomSeed(0);
    EXPECT_EQ(Resolve(), "Defenders result:\n    Gren Zug Disrupted\nAttackers result:\n    Rifle Plt No Effect");
    EXPECT_EQ(State(), AdvanceRandomState(0, 12));
    ASSERT_EQ(Count(kDx, kDy), 1);
    EXPECT_NE(Unit(kDx, kDy, 1).m_status & kUnitDisrupted, 0u);
    EXPECT_EQ(Unit(kDx, kDy, 1).m_rating, 6);
}
