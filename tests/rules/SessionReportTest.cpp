// The session's battle start and turn-start report: the opening report of a
// scenario read, the Initial-Phase pieces (improved positions, morale
// recovery, mine clearing) and their order, and the side tallies. Draws are
// worked out by hand from the generator's formula (state = state *
// 1103515245 + 12345 mod 2^32, U = (state & 0x7fffffff) / 2^31); after
// SetRandomSeed(0) the first draws are
//   U1 0.0000 U2 0.6552 U3 0.3048 U4 0.6750 U5 0.1068 U6 0.5166 U7 0.4897
//   U8 0.6025 U9 0.3700 U10 0.2567 U11 0.3742 U12 0.8256 U13 0.1727
// so that RollDie(10) = trunc(10 U) + 1 gives 1 7 4 7 2 6 5 7 4 3 4 9 2.

#include <climits>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "model/PlatoonType.h"
#include "model/Random.h"
#include "tests/rules/ForcedFire.h"
#include "tests/rules/SessionGame.h"

namespace {

// The state before a draw of exactly fraction / 2^31: the formula run
// backwards (1103515245 is odd, so it has an inverse mod 2^32).
std::uint32_t StateBeforeDraw(std::uint32_t fraction)
{
    const std::uint32_t a = 1103515245u;
    std::uint32_t inverse = a;
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - a * inverse;
    return (fraction - 12345u) * inverse;
}

constexpr double kTwo31 = 2147483648.0;

} // namespace

class SessionReportTest : public SessionGameTest {
protected:
    void SetUp() override
    {
        SessionGameTest::SetUp();
        // No cover bonus to morale: a unit's morale is its rating.
        for (int& value : m_game.m_parameters.m_terrainValue2)
            value = 0;
        m_game.m_map.SetTimeLimit(600);
    }

    std::uint32_t State() { return GlobalRandomGenerator().State(); }

    // The next draw of the global generator is exactly fraction / 2^31.
    void SetNextDraw(std::uint32_t fraction) { GlobalRandomGenerator().SetState(StateBeforeDraw(fraction)); }

    std::string TurnReport(HexList& hexes)
    {
        String text;
        std::vector<int> offMap, groups, released;
        m_game.BuildTurnStartReport(text, hexes, offMap, groups, released);
        return text.c_str();
    }
};

TEST_F(SessionReportTest, TheDrawFormulaRunsBackwards)
{
    SetNextDraw(1u << 30);
    EXPECT_EQ(UniformRandom(), 0.5);
}

// ---- Opening report ----

TEST_F(SessionReportTest, OpeningReportOfAScenario)
{
    session::Scenario scenario;
    scenario.airPower[0] = 2;
    // The rifles at (2, 2) are cut off by six enemy hexes around them.
    scenario.Unit(2, 2, demo::kUsRifle, 112);
    for (HexSide side : { HexSide::North, HexSide::NorthEast, HexSide::SouthEast, HexSide::South, HexSide::SouthWest,
             HexSide::NorthWest }) {
        HexPos next;
        ASSERT_TRUE(m_game.m_map.GetNeighbour(side, 2, 2, next));
        scenario.Unit(next.column, next.row, demo::kGermanRifle, 212);
    }
    // Company B is held until released.
    scenario.Unit(0, 0, demo::kUsRifle, 122, 4, kUnitFixed);
    scenario.Group(0, 4, 0, 100, demo::kUsRifle, 113);
    scenario.Group(5, 0, 0, 100, demo::kGermanRifle, 213); // the other side's: no draw
    scenario.Release(0, 100, 120);

    SetRandomSeed(0);
    std::istringstream in(scenario.Text());
    String text;
    std::vector<int> groups { 7 }, released { 7 };
    HexList hexes;
    ASSERT_TRUE(m_game.LoadBattleAndReport(in, text, groups, released, hexes)) << m_game.m_battleReadError.c_str();
    EXPECT_EQ(std::string(text.c_str()),
        "* The following units are isolated *\n"
        "Rifle Platoon at 2, 2\n"
        "* Reinforcements have arrived *\n"
        "* Units that have been released *\n"
        "Company B\n"
        "2 air strikes remaining\n");
    EXPECT_EQ(groups, std::vector<int> { 0 });
    EXPECT_EQ(released, std::vector<int> { 1 });
    EXPECT_EQ(Hexes(hexes), (std::vector<HexPos> { { 2, 2 }, { 0, 0 } }));
    EXPECT_EQ(m_game.m_stacks.At(0, 0).Head()->value.m_status & kUnitFixed, 0u);
    // The arrival and the release draw once each; then every unit in its
    // enemy's sight, all eight on this open ground, draws to be spotted.
    EXPECT_EQ(State(), AdvanceRandomState(0, 2 + 8));
    EXPECT_EQ(m_game.GetContactLevel(2, 2, 1), 1);
}

TEST_F(SessionReportTest, AFailedReadReportsNothing)
{
    SetRandomSeed(99);
    std::istringstream in("7\nbroken\n");
    String text("old");
    std::vector<int> groups { 3 }, released { 4 };
    HexList hexes;
    EXPECT_FALSE(m_game.LoadBattleAndReport(in, text, groups, released, hexes));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_TRUE(groups.empty());
    EXPECT_TRUE(released.empty());
    EXPECT_TRUE(hexes.IsEmpty());
    EXPECT_EQ(State(), 99u);
}

TEST_F(SessionReportTest, TitleFallsBackToTheParameterName)
{
    m_game.m_parameters.m_name = String("Parameter name");
    m_game.m_title = String("Hill 112");
    EXPECT_EQ(std::string(m_game.GetBattleTitle().c_str()), "Hill 112");
    m_game.m_title = String();
    EXPECT_EQ(std::string(m_game.GetBattleTitle().c_str()), "Parameter name");
}

// ---- Improved positions ----

TEST_F(SessionReportTest, ImprovedPositionDraws)
{
    struct Row {
        const char* name;
        int strength;
        int divisor;
        bool engineer;
        double chance; // what the draw is held against
        int offset; // the draw is the chance's 31-bit fraction rounded down, plus this
        bool succeeds;
    };
    const Row rows[] = {
        { "strength 4, divisor 6, below", 4, 6, false, 4.0 / 36, 0, true },
        { "strength 4, divisor 6, above", 4, 6, false, 4.0 / 36, 1, false },
        { "engineer, below", 4, 6, true, 8.0 / 36, 0, true },
        { "engineer, above", 4, 6, true, 8.0 / 36, 1, false },
        { "divisor 0 counts as 6, below", 4, 0, false, 4.0 / 36, 0, true },
        { "divisor 0 counts as 6, above", 4, 0, false, 4.0 / 36, 1, false },
        { "negative divisor, above", 4, -2, false, 4.0 / 36, 1, false },
        // A chance of exactly one half: a draw equal to it fails.
        { "draw equal to the chance", 3, 1, false, 0.5, 0, false },
        { "draw just below one half", 3, 1, false, 0.5, -1, true },
    };
    PlatoonType* rifle = Type(demo::kUsRifle);
    const std::uint32_t extra = rifle->m_extraFlags & ~kExtraMineSurcharge;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MakeMap(6, 5);
        rifle->m_extraFlags = extra | (row.engineer ? kExtraMineSurcharge : 0u);
        m_game.m_parameters.m_value96 = row.divisor;
        AddOf(1, 1, demo::kUsRifle, 111); // not digging in: draws nothing
        AddOf(1, 1, demo::kUsRifle, 112, kUnitDiggingIn).m_strength = row.strength;
        AddOf(1, 1, demo::kUsRifle, 113, kUnitDiggingIn).m_strength = row.strength;
        const auto fraction = static_cast<std::uint32_t>(std::floor(row.chance * kTwo31)) + row.offset;
        SetNextDraw(fraction);
        const std::uint32_t before = State();

        String text;
        HexList hexes;
        m_game.BuildImprovedPositionReport(text, hexes);
        if (row.succeeds) {
            EXPECT_EQ(std::string(text.c_str()), "Total of 1 improved position(s)\n    Rifle Platoon at 1, 1\n");
            EXPECT_EQ(Hexes(hexes), (std::vector<HexPos> { { 1, 1 } }));
            EXPECT_NE(m_game.m_hexFlags.At(1, 1) & CGameData::kHexImprovedPosition, 0);
            for (const PlacedUnit& unit : m_game.m_stacks.At(1, 1))
                EXPECT_EQ(unit.m_status & kUnitDiggingIn, 0u) << "no unit of the hex digs in any more";
            EXPECT_EQ(State(), AdvanceRandomState(before, 1)) << "the first success ends the hex";
        } else {
            EXPECT_TRUE(text.IsEmpty());
            EXPECT_TRUE(hexes.IsEmpty());
            EXPECT_EQ(m_game.m_hexFlags.At(1, 1) & CGameData::kHexImprovedPosition, 0);
            EXPECT_NE(Unit(1, 1, 2).m_status & kUnitDiggingIn, 0u);
            // The second digging unit draws too (its draw is the next one).
            EXPECT_EQ(State(), AdvanceRandomState(before, 2));
        }
    }
    rifle->m_extraFlags = extra;
}

TEST_F(SessionReportTest, ImprovedPositionsCountedOverTheSideToMove)
{
    m_game.m_parameters.m_value96 = 1;
    // Strength 12 against divisor 1: a chance of 2, every draw succeeds.
    AddOf(0, 3, demo::kUsRifle, 112, kUnitDiggingIn).m_strength = 12;
    AddOf(4, 0, demo::kUsRifle, 113, kUnitDiggingIn).m_strength = 12;
    AddOf(2, 2, demo::kGermanRifle, 212, kUnitDiggingIn).m_strength = 12;
    SetRandomSeed(5);
    String text;
    HexList hexes;
    m_game.BuildImprovedPositionReport(text, hexes);
    EXPECT_EQ(std::string(text.c_str()),
        "Total of 2 improved position(s)\n    Rifle Platoon at 0, 3\n    Rifle Platoon at 4, 0\n");
    EXPECT_EQ(State(), AdvanceRandomState(5, 2));
    EXPECT_NE(Unit(2, 2, 1).m_status & kUnitDiggingIn, 0u) << "the other side's units wait for their phase";
}

// ---- Morale recovery ----

TEST_F(SessionReportTest, ElevenRecoveriesListTenAndTheOthers)
{
    // Scan order is column by column. Rolls from seed 0: 1 for the shaken
    // unit (its morale rises, it is not listed), then 7 4 7 2 6 5 7 4 3 4
    // recover ten disrupted units of rating 7, 9 fails at (1, 1) and 2
    // recovers the twelfth at (1, 2).
    AddOf(0, 0, demo::kUsRifle, 112).m_rating = 5;
    for (HexPos hex : { HexPos { 0, 1 }, HexPos { 0, 2 }, HexPos { 0, 3 }, HexPos { 0, 4 }, HexPos { 1, 0 } })
        for (int i = 0; i < 2; ++i)
            AddOf(hex.column, hex.row, demo::kUsRifle, 113, kUnitDisrupted);
    AddOf(1, 1, demo::kUsRifle, 122, kUnitDisrupted);
    AddOf(1, 1, demo::kUsRifle, 122); // steady: not checked
    AddOf(1, 2, demo::kUsRifle, 122, kUnitDisrupted);
    AddOf(5, 4, demo::kGermanRifle, 212, kUnitDisrupted); // not the side to move

    SetRandomSeed(0);
    String text;
    HexList hexes;
    m_game.BuildMoraleRecoveryReport(text, hexes);
    std::string expected = "Total of 11 unit(s) undisrupted or recovered morale\nout of 13 unit(s) checked:\n";
    for (const char* where : { "0, 1", "0, 1", "0, 2", "0, 2", "0, 3", "0, 3", "0, 4", "0, 4", "1, 0", "1, 0" })
        expected += std::string("    Rifle Plt at ") + where + "\n";
    expected += " and others...\n";
    EXPECT_EQ(std::string(text.c_str()), expected);
    EXPECT_EQ(Hexes(hexes), (std::vector<HexPos> { { 0, 1 }, { 0, 2 }, { 0, 3 }, { 0, 4 }, { 1, 0 }, { 1, 2 } }));
    EXPECT_EQ(State(), AdvanceRandomState(0, 13));
    EXPECT_EQ(Unit(0, 0, 1).m_rating, 6);
    EXPECT_NE(Unit(1, 1, 1).m_status & kUnitDisrupted, 0u);
    EXPECT_EQ(Unit(1, 2, 1).m_status & kUnitDisrupted, 0u);
}

TEST_F(SessionReportTest, NoShakenUnitNoMoraleReport)
{
    AddOf(1, 1, demo::kUsRifle, 112);
    AddOf(2, 2, demo::kGermanRifle, 212, kUnitDisrupted);
    SetRandomSeed(3);
    String text("old");
    HexList hexes;
    m_game.BuildMoraleRecoveryReport(text, hexes);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(State(), 3u);
}

// ---- Mine clearing ----

TEST_F(SessionReportTest, MineClearingLowersTheObstacleOneStep)
{
    struct Row {
        int before;
        int after;
    };
    const Row rows[] = {
        { 0x4 | 0x1, 0x2 | 0x1 },
        { 0x4 | 0x2, 0x2 | 0x2 },
        { 0x2, 0x1 },
        { 0x1 | 0x10, 0x10 },
        { 0x800 | 0x8, 0x8 },
        { 0x8, 0x0 },
    };
    Type(demo::kUsEngineer)->m_extraFlags |= kExtraMineSurcharge;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.before);
        MakeMap(6, 5);
        AddOf(3, 2, demo::kUsEngineer, 113);
        m_game.m_hexFlags.At(3, 2) = row.before;
        String text;
        HexList hexes;
        m_game.BuildMineClearingReport(text, hexes);
        EXPECT_EQ(m_game.m_hexFlags.At(3, 2), row.after);
        EXPECT_EQ(std::string(text.c_str()), "Unit clearing mine field or blocked hex at 3, 2\n");
        EXPECT_EQ(Hexes(hexes), (std::vector<HexPos> { { 3, 2 } }));
    }
}

TEST_F(SessionReportTest, MineClearingNeedsAnAbleEngineerOfTheSideToMove)
{
    Type(demo::kUsEngineer)->m_extraFlags |= kExtraMineSurcharge;
    AddOf(1, 1, demo::kUsEngineer, 112, kUnitDisrupted);
    AddOf(2, 1, demo::kUsRifle, 113);
    AddOf(3, 1, demo::kUsEngineer, 122);
    AddOf(3, 3, demo::kUsEngineer, 122);
    for (int x : { 1, 2, 3 })
        m_game.m_hexFlags.At(x, 1) = 0x4;
    m_game.m_hexFlags.At(3, 3) = CGameData::kHexImprovedPosition; // no obstacle
    String text;
    HexList hexes;
    m_game.BuildMineClearingReport(text, hexes);
    EXPECT_EQ(std::string(text.c_str()), "Unit clearing mine field or blocked hex at 3, 1\n");
    EXPECT_EQ(m_game.m_hexFlags.At(1, 1), 0x4);
    EXPECT_EQ(m_game.m_hexFlags.At(2, 1), 0x4);
    EXPECT_EQ(m_game.m_hexFlags.At(3, 1), 0x2);

    // A hidden side clears unseen: the step is taken, the line left out.
    m_game.m_hidden[0] = true;
    m_game.BuildMineClearingReport(text, hexes);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(m_game.m_hexFlags.At(3, 1), 0x1);
}

// ---- The whole turn report ----

TEST_F(SessionReportTest, InitialPhasePiecesInOrderForEitherSide)
{
    Type(demo::kUsEngineer)->m_extraFlags |= kExtraMineSurcharge;
    Type(demo::kGermanRifle)->m_extraFlags |= kExtraMineSurcharge;
    m_game.m_parameters.m_value96 = 1;
    for (int side = 0; side < 2; ++side) {
        SCOPED_TRACE(side);
        MakeMap(6, 5);
        m_game.m_map.SetSide(side);
        const std::uint32_t own = side == 0 ? demo::kUsRifle : demo::kGermanRifle;
        const std::uint32_t enemy = side == 0 ? demo::kGermanRifle : demo::kUsRifle;
        const std::uint32_t engineer = side == 0 ? demo::kUsEngineer : demo::kGermanRifle;
        const int node = side == 0 ? 112 : 212;
        // Cut off at (2, 2), and low on ammunition with no headquarters.
        AddOf(2, 2, own, node, kUnitLowAmmo);
        for (HexSide hexSide : { HexSide::North, HexSide::NorthEast, HexSide::SouthEast, HexSide::South,
                 HexSide::SouthWest, HexSide::NorthWest }) {
            HexPos next;
            ASSERT_TRUE(m_game.m_map.GetNeighbour(hexSide, 2, 2, next));
            AddOf(next.column, next.row, enemy, 0);
        }
        AddOf(0, 0, own, node, kUnitDisrupted).m_rating = 10; // recovers for sure
        AddOf(5, 0, own, node, kUnitDiggingIn).m_strength = 12; // succeeds for sure
        AddOf(5, 4, engineer, node);
        m_game.m_hexFlags.At(5, 4) = 0x4;

        HexList hexes;
        const std::string report = TurnReport(hexes);
        const std::size_t isolated = report.find("* The following units are isolated *");
        const std::size_t ammo = report.find("1 unit low on ammo\n");
        const std::size_t morale = report.find("Total of 1 unit(s) undisrupted or recovered morale\nout of 1");
        const std::size_t dug = report.find("Total of 1 improved position(s)\n");
        const std::size_t mines = report.find("Unit clearing mine field or blocked hex at 5, 4");
        EXPECT_EQ(isolated, 0u) << report;
        EXPECT_LT(isolated, ammo);
        EXPECT_LT(ammo, morale);
        EXPECT_LT(morale, dug);
        EXPECT_LT(dug, mines);
        EXPECT_NE(mines, std::string::npos);
        EXPECT_NE(report.back(), '\n') << "the last line feed is taken off";
        for (HexPos hex : { HexPos { 2, 2 }, HexPos { 0, 0 }, HexPos { 5, 0 }, HexPos { 5, 4 } })
            EXPECT_TRUE(HexListContains(hexes, hex.column, hex.row)) << hex.column << "," << hex.row;
    }
}

TEST_F(SessionReportTest, OutsideTheInitialPhaseOnlyArrivalsAndSpotting)
{
    Type(demo::kUsEngineer)->m_extraFlags |= kExtraMineSurcharge;
    m_game.m_options = kOptionThreePhase;
    m_game.m_parameters.m_value96 = 1;
    m_game.m_airPower[0] = 1;
    AddOf(0, 0, demo::kUsRifle, 112, kUnitDisrupted).m_rating = 10;
    AddOf(5, 0, demo::kUsRifle, 113, kUnitDiggingIn).m_strength = 12;
    AddOf(5, 4, demo::kUsEngineer, 122);
    m_game.m_hexFlags.At(5, 4) = 0x4;
    AddOf(3, 2, demo::kGermanRifle, 212);
    for (int phase : { 1, 2 }) {
        SCOPED_TRACE(phase);
        m_game.m_map.SetPhase(phase);
        HexList hexes;
        EXPECT_EQ(TurnReport(hexes), "") << "air strikes are shown in the Initial Phase";
        EXPECT_NE(Unit(0, 0, 1).m_status & kUnitDisrupted, 0u);
        EXPECT_NE(Unit(5, 0, 1).m_status & kUnitDiggingIn, 0u);
        EXPECT_EQ(m_game.m_hexFlags.At(5, 4), 0x4);
    }
    m_game.m_map.SetPhase(0);
    HexList hexes;
    const std::string report = TurnReport(hexes);
    EXPECT_EQ(report.rfind("1 air strike remaining\n", 0), 0u) << report;
    EXPECT_EQ(m_game.m_hexFlags.At(5, 4), 0x2);
}

// ---- Tallies ----

TEST_F(SessionReportTest, LossesPerSide)
{
    PlatoonType* us = Type(demo::kUsRifle);
    PlatoonType* de = Type(demo::kGermanRifle);
    us->m_unitValue = 7;
    de->m_unitValue = 11;
    m_game.AddLoss(us, 5);
    m_game.AddLoss(de, 3);
    m_game.AddLoss(Type(demo::kUsSherman), 0);
    int lost[2] = { -1, -1 }, values[2] = { -1, -1 };
    m_game.TallySideLosses(lost, values);
    EXPECT_EQ(lost[0], 5);
    EXPECT_EQ(lost[1], 3);
    EXPECT_EQ(values[0], 5 * 7);
    EXPECT_EQ(values[1], 3 * 11);
    // Held to the int range.
    us->m_unitValue = INT_MAX;
    m_game.TallySideLosses(lost, values);
    EXPECT_EQ(values[0], INT_MAX);
}

TEST_F(SessionReportTest, ObjectiveSums)
{
    const auto cell = [this](int x, int y, int value, int nation) { m_game.m_objectives.At(x, y) = { value, nation }; };
    cell(0, 0, 10, session::kUsNation);
    cell(1, 0, 7, session::kGermanNation);
    cell(2, 0, -5, session::kUsNation); // an exit hex worth 4
    cell(3, 0, -3, session::kGermanNation); // worth 2
    cell(4, 0, 9, -1); // held by nobody
    cell(5, 0, -9, -1);
    cell(0, 1, 0, session::kUsNation);
    struct Row {
        int first;
        int held;
    };
    for (const Row& row : { Row { 0, 10 + 4 - 2 }, Row { 1, 7 + 2 - 4 } }) {
        m_game.m_firstSide = row.first;
        EXPECT_EQ(m_game.SumHeldObjectiveValue(), row.held) << row.first;
    }
    EXPECT_EQ(m_game.SumObjectiveValueForSide(0), 10);
    EXPECT_EQ(m_game.SumObjectiveValueForSide(1), 7);
    EXPECT_EQ(m_game.SumPenaltyValueForSide(0), 4);
    EXPECT_EQ(m_game.SumPenaltyValueForSide(1), 2);
    EXPECT_EQ(m_game.SumObjectiveValueForSide(2), 0);
    // Held to the int range.
    cell(1, 1, INT_MAX, session::kUsNation);
    cell(2, 1, INT_MIN, session::kUsNation);
    m_game.m_firstSide = 0;
    EXPECT_EQ(m_game.SumObjectiveValueForSide(0), INT_MAX);
    EXPECT_EQ(m_game.SumPenaltyValueForSide(0), INT_MAX);
    EXPECT_EQ(m_game.SumHeldObjectiveValue(), INT_MAX);
}

TEST_F(SessionReportTest, ForceValueKeepsItsTotalAsUnitsLeave)
{
    PlatoonType* us = Type(demo::kUsRifle);
    PlatoonType* de = Type(demo::kGermanRifle);
    us->m_unitValue = 3;
    de->m_unitValue = 2;
    const int usFull = us->m_fullStrength * 3;
    const int deFull = de->m_fullStrength * 2;
    AddOf(1, 1, demo::kUsRifle, 112).m_strength = 1; // full strength counts, not what is left
    AddOf(1, 1, demo::kUsRifle, 113);
    AddOf(3, 3, demo::kGermanRifle, 212);
    ReinforcementGroup group(0, 0);
    group.m_units.Append(PlacedUnit(de, nullptr));
    m_game.m_reinforcements.Append(std::move(group));
    m_game.m_eliminated.Append(PlacedUnit(us, nullptr));
    m_game.m_offMapUnits.Append(OffMapUnit { PlacedUnit(us, nullptr), -1, 2 }); // not counted
    int values[2] = { -1, -1 };
    m_game.TallySideForceValue(values);
    EXPECT_EQ(values[0], 3 * usFull);
    EXPECT_EQ(values[1], 2 * deFull);

    // The second rifle exits: the total stays.
    int positions[] = { 2 };
    ASSERT_TRUE(m_game.ExitUnits(1, 1, positions, 1));
    ASSERT_EQ(m_game.m_exited.Count(), 1u);
    m_game.TallySideForceValue(values);
    EXPECT_EQ(values[0], 3 * usFull);
}
