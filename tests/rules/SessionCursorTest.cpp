// The session's "Next Unit" cursor, its small queries and the reset of every
// layer's battle state, on a small open map.

#include <string>
#include <vector>

#include "model/Geometry.h"
#include "model/PlatoonType.h"
#include "tests/rules/SessionGame.h"

class SessionCursorTest : public SessionGameTest {
protected:
    struct Step {
        HexPos hex;
        std::vector<int> positions;
        friend bool operator==(const Step&, const Step&) = default;
    };
    Step Next(bool moveMode = true)
    {
        Step step;
        m_game.SelectNextUnitHex(step.hex, moveMode, step.positions);
        return step;
    }
    Step Previous(bool moveMode = true)
    {
        Step step;
        m_game.SelectPreviousUnitHex(step.hex, moveMode, step.positions);
        return step;
    }
};

TEST_F(SessionCursorTest, NextUnitTakesEachFormationOfAHexThenMovesOn)
{
    AddOf(1, 1, demo::kUsRifle, 112);
    AddOf(1, 1, demo::kUsRifle, 113);
    AddOf(1, 3, demo::kUsRifle, 122);
    AddOf(2, 0, demo::kGermanRifle, 212); // the other side's hex is passed over

    EXPECT_EQ(Next(), (Step { { 1, 1 }, { 1 } }));
    EXPECT_EQ(Next(), (Step { { 1, 1 }, { 2 } }));
    EXPECT_EQ(Next(), (Step { { 1, 3 }, { 1 } }));
    // Past the last hex the walk runs off the map, then starts again.
    EXPECT_EQ(Next(), (Step { { -1, -1 }, {} }));
    EXPECT_EQ(Next(), (Step { { 1, 1 }, { 1 } }));
}

TEST_F(SessionCursorTest, ALoadedUnitComesWithItsPassengerAndNodelessUnitsNever)
{
    AddOf(2, 2, demo::kUsRifle, 0);
    AddOf(2, 2, demo::kUsHalfTrack, 124, kUnitCarrying);
    AddOf(2, 2, demo::kUsRifle, 122, kUnitCarried);
    AddOf(4, 4, demo::kUsRifle, 0);

    EXPECT_EQ(Next(), (Step { { 2, 2 }, { 2, 3 } }));
    // The passenger's formation is not selected on its own: it is carried.
    EXPECT_EQ(Next(), (Step { { -1, -1 }, {} }));
}

TEST_F(SessionCursorTest, MoveModeFallsBackToUnitsThatCanAssault)
{
    // Moved units cannot move again, but may assault the enemy next door.
    AddOf(2, 2, demo::kUsRifle, 112, kUnitMoved);
    AddOf(2, 2, demo::kUsRifle, 113, kUnitMoved);
    HexPos north;
    ASSERT_TRUE(m_game.m_map.GetNeighbour(HexSide::North, 2, 2, north));
    AddOf(north.column, north.row, demo::kGermanRifle, 212);

    EXPECT_EQ(Next(), (Step { { 2, 2 }, { 1, 2 } }));
    EXPECT_FALSE(m_game.HasAssault()) << "the tentative assault is cleared";
    EXPECT_EQ(Next(), (Step { { -1, -1 }, {} }));

    // Without an enemy next door nothing in the hex can act.
    m_game.m_stacks.At(north.column, north.row).Free();
    EXPECT_EQ(Next(), (Step { { -1, -1 }, {} }));
}

TEST_F(SessionCursorTest, FireModeTakesUnitsWithAnEnemyInReach)
{
    AddOf(1, 1, demo::kUsRifle, 112, kUnitFired);
    AddOf(1, 1, demo::kUsRifle, 113);
    AddOf(4, 1, demo::kUsRifle, 122);
    AddOf(1, 3, demo::kGermanRifle, 212);

    // Not seen yet: nothing to fire at.
    EXPECT_EQ(Next(false), (Step { { -1, -1 }, {} }));
    m_game.SetContact(1, 3, 0, 1, 2);
    EXPECT_EQ(Next(false), (Step { { 1, 1 }, { 2 } })) << "the unit that fired already is passed over";
    // The rifles' soft range is 4: three hexes away is in reach.
    EXPECT_EQ(Next(false), (Step { { 4, 1 }, { 1 } }));
    EXPECT_EQ(Next(false), (Step { { -1, -1 }, {} }));
    EXPECT_TRUE(m_game.m_fireRefusal.IsEmpty()) << "the probes are silent";
}

TEST_F(SessionCursorTest, PreviousWalksBackFromTheHexNextFound)
{
    AddOf(0, 4, demo::kUsRifle, 112);
    AddOf(2, 1, demo::kUsRifle, 113);
    AddOf(2, 1, demo::kUsRifle, 111);
    AddOf(5, 0, demo::kUsRifle, 122);

    // From no hex, backward starts at the last hex.
    EXPECT_EQ(Previous(), (Step { { 5, 0 }, { 1 } }));
    EXPECT_EQ(Previous(), (Step { { 2, 1 }, { 1 } }));
    EXPECT_EQ(Previous(), (Step { { 2, 1 }, { 2 } }));
    EXPECT_EQ(Previous(), (Step { { 0, 4 }, { 1 } }));
    EXPECT_EQ(Previous(), (Step { { -1, -1 }, {} }));

    EXPECT_EQ(Next(), (Step { { 0, 4 }, { 1 } }));
    EXPECT_EQ(Next(), (Step { { 2, 1 }, { 1 } }));
    // Back from there: the hex before it, then forward again past it.
    EXPECT_EQ(Previous(), (Step { { 0, 4 }, { 1 } }));
    EXPECT_EQ(Next(), (Step { { 2, 1 }, { 1 } }));
}

TEST_F(SessionCursorTest, CursorStepsColumnByColumn)
{
    struct Row {
        HexPos from;
        HexPos advanced;
        HexPos retreated;
    };
    const Row rows[] = {
        { { 0, 0 }, { 0, 1 }, { -1, -1 } },
        { { 0, 4 }, { 1, 0 }, { 0, 3 } },
        { { 3, 0 }, { 3, 1 }, { 2, 4 } },
        { { 5, 4 }, { -1, -1 }, { 5, 3 } },
    };
    for (const Row& row : rows) {
        m_game.m_cursor = row.from;
        m_game.m_selectedNodes = { 112 };
        m_game.AdvanceCursor();
        EXPECT_EQ(m_game.m_cursor, row.advanced);
        EXPECT_TRUE(m_game.m_selectedNodes.empty());
        m_game.m_cursor = row.from;
        m_game.m_selectedNodes = { 112 };
        m_game.RetreatCursor();
        EXPECT_EQ(m_game.m_cursor, row.retreated);
        EXPECT_TRUE(m_game.m_selectedNodes.empty());
    }
}

TEST_F(SessionCursorTest, PhaseAdvanceAndResetStartTheCursorAfresh)
{
    AddOf(1, 1, demo::kUsRifle, 112);
    AddOf(1, 1, demo::kUsRifle, 113);
    m_game.m_map.SetTimeLimit(600);
    EXPECT_EQ(Next(), (Step { { 1, 1 }, { 1 } }));
    EXPECT_TRUE(m_game.NextPhase());
    EXPECT_EQ(m_game.m_cursor, (HexPos { -1, -1 }));
    EXPECT_TRUE(m_game.m_selectedNodes.empty());
    EXPECT_EQ(m_game.m_cursorRestart, 1);

    EXPECT_EQ(Next(), (Step { { -1, -1 }, {} })) << "side 1 has no units";
    EXPECT_TRUE(m_game.NextPhase());
    EXPECT_EQ(Next(), (Step { { 1, 1 }, { 1 } })) << "side 0 again, starting with the first formation";
}

// ---- Queries ----

TEST_F(SessionCursorTest, TurnNumbers)
{
    struct Row {
        int minutes;
        int counter;
        int limit;
        int turn;
        int turns;
    };
    const Row rows[] = {
        { 0, 30, 120, 0, 0 },
        { -5, 30, 120, 0, 0 },
        { 10, 0, 120, 1, 12 },
        { 10, 35, 125, 4, 12 },
    };
    for (const Row& row : rows) {
        m_game.m_parameters.m_minutesPerTurn = row.minutes;
        m_game.m_map.SetCounter(row.counter);
        m_game.m_map.SetTimeLimit(row.limit);
        EXPECT_EQ(m_game.GetCurrentTurn(), row.turn) << row.minutes;
        EXPECT_EQ(m_game.GetTurnCount(), row.turns) << row.minutes;
    }
}

TEST_F(SessionCursorTest, HandbookCostsAreCappedAt65)
{
    const PlatoonType* rifle = Type(demo::kUsRifle);
    // A short turn makes every cost large.
    m_game.m_parameters.m_minutesPerTurn = 1;
    const int array = m_game.m_terrain.surface;
    const int open = CGameMovementCosts::GetTerrainCost(rifle, array, 0, 1, m_game.m_parameters.m_metresPerHex);
    ASSERT_GT(open, 65);
    EXPECT_EQ(m_game.GetTerrainMoveCost(rifle, 0), 65);
    m_game.m_parameters.m_minutesPerTurn = 60;
    const int slow = CGameMovementCosts::GetTerrainCost(rifle, array, 0, 60, m_game.m_parameters.m_metresPerHex);
    ASSERT_LE(slow, 65);
    EXPECT_EQ(m_game.GetTerrainMoveCost(rifle, 0), slow);
    EXPECT_LE(m_game.GetHexsideMoveCost(rifle, 0), 65);
    EXPECT_LE(m_game.GetMoveTableExtraCost(rifle), 65);
}

TEST_F(SessionCursorTest, FrozenWaterIsNamedFrozen)
{
    Hex(2, 2).terrain = kTerrainWater;
    String name;
    m_game.GetHexTerrainName(name, 2, 2);
    const std::string open = name.c_str();
    EXPECT_NE(open, "Frozen");
    m_game.m_terrain.water = TerrainConditions::kFrozen;
    m_game.GetHexTerrainName(name, 2, 2);
    EXPECT_EQ(std::string(name.c_str()), "Frozen");
    m_game.GetHexTerrainName(name, 1, 1);
    EXPECT_NE(std::string(name.c_str()), "Frozen") << "open ground stays itself";
}

TEST_F(SessionCursorTest, VisibilityToTheMoverUnderFog)
{
    m_game.SetContact(3, 3, 1, 1, 2);
    m_game.SetContact(4, 4, 1, 2, 2);
    m_game.SetContact(1, 1, 0, 1, 2);
    // Not hidden: everything, off the map too.
    EXPECT_TRUE(m_game.IsHexVisibleToMover(1, 1));
    EXPECT_TRUE(m_game.IsHexVisibleToMover(-1, 7));
    m_game.m_hidden[0] = true;
    // Hidden: the other side's armed contact decides.
    EXPECT_TRUE(m_game.IsHexVisibleToMover(3, 3));
    EXPECT_FALSE(m_game.IsHexVisibleToMover(4, 4));
    EXPECT_FALSE(m_game.IsHexVisibleToMover(1, 1)) << "the mover's own contact does not count";
    EXPECT_FALSE(m_game.IsHexVisibleToMover(-1, 7));
    m_game.m_hidden[1] = true;
    m_game.m_hidden[0] = false;
    EXPECT_TRUE(m_game.IsHexVisibleToMover(4, 4));
}

TEST_F(SessionCursorTest, FormationCentreAndHexes)
{
    HexPos centre;
    m_game.GetFormationCentre(centre, Node(110));
    EXPECT_EQ(centre, (HexPos { -1, -1 })) << "nothing qualifies";

    AddOf(1, 1, demo::kUsRifle, 112);
    AddOf(4, 4, demo::kUsRifle, 113);
    AddOf(3, 2, demo::kUsRifle, 122);
    AddOf(0, 4, demo::kUsRifle, 0);
    m_game.GetFormationCentre(centre, Node(110));
    EXPECT_EQ(centre, (HexPos { 2, 2 }));
    m_game.GetFormationCentre(centre, Node(100));
    EXPECT_EQ(centre, (HexPos { 2, 2 })) << "(1 + 4 + 3) / 3, (1 + 4 + 2) / 3";
    m_game.GetFormationCentre(centre, nullptr);
    EXPECT_EQ(centre, (HexPos { 2, 2 })) << "(1 + 4 + 3 + 0) / 4, (1 + 4 + 2 + 4) / 4";
    // Hidden from the mover's opponent and not in contact: not counted.
    m_game.m_unitsAnswer = [](int x, int y) { return !(x == 4 && y == 4); };
    m_game.GetFormationCentre(centre, Node(110));
    EXPECT_EQ(centre, (HexPos { 1, 1 }));

    EXPECT_TRUE(m_game.HexHasUnitOfFormation(1, 1, Node(100)));
    EXPECT_FALSE(m_game.HexHasUnitOfFormation(1, 1, Node(120)));
    EXPECT_TRUE(m_game.HexHasUnitOfFormation(5, 0, nullptr));
}

TEST_F(SessionCursorTest, FormationHexesByDistanceWithTheExcludedHexFirst)
{
    // Reference (0, 0): distances 3, 1, 3, 2.
    AddOf(3, 0, demo::kUsRifle, 112);
    AddOf(1, 0, demo::kUsRifle, 113);
    AddOf(3, 1, demo::kUsRifle, 111);
    AddOf(2, 2, demo::kUsRifle, 122);
    AddOf(5, 4, demo::kUsRifle, 0);
    HexList list;
    m_game.ListFormationHexes(list, Node(110), 3, 1, 0, 0);
    std::vector<HexPos> expected { { 3, 1 }, { 1, 0 }, { 3, 0 } };
    EXPECT_EQ(Hexes(list), expected);

    // Ties keep scan order: (2, 2) and (3, 0) both lie 3 hexes away.
    list.Free();
    m_game.ListFormationHexes(list, Node(100), -1, -1, 0, 0);
    EXPECT_EQ(Hexes(list), (std::vector<HexPos> { { 1, 0 }, { 2, 2 }, { 3, 0 }, { 3, 1 } }));

    list.Free();
    m_game.ListFormationHexes(list, nullptr, -1, -1, 5, 4);
    EXPECT_EQ(Hexes(list), (std::vector<HexPos> { { 5, 4 } })) << "no node: the units without one";

    // The front flag puts a hex first whatever its distance.
    CGameSession::InsertHexByDistance(list, 0, 0, 5, 4, true);
    CGameSession::InsertHexBefore(list, nullptr, 2, 2);
    EXPECT_EQ(Hexes(list), (std::vector<HexPos> { { 0, 0 }, { 5, 4 }, { 2, 2 } }));
    CGameSession::InsertHexBefore(list, list.Head()->next, 1, 1);
    EXPECT_EQ(Hexes(list), (std::vector<HexPos> { { 0, 0 }, { 1, 1 }, { 5, 4 }, { 2, 2 } }));
    EXPECT_EQ(list.Head()->prev->value, (HexPos { 2, 2 })) << "the first node still links the last";
}

// ---- Every layer's battle state goes with the battle ----

TEST_F(SessionCursorTest, AResetOrAReadEmptiesEveryLayersBattleState)
{
    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(way == 0 ? "reset" : "failed read");
        MakeMap(6, 5);
        AddOf(1, 1, demo::kUsRifle, 112);
        HexPos north;
        ASSERT_TRUE(m_game.m_map.GetNeighbour(HexSide::North, 1, 1, north));
        AddOf(north.column, north.row, demo::kGermanRifle, 212);
        Step step = Next();
        ASSERT_EQ(step.hex, (HexPos { 1, 1 }));
        m_game.SnapshotHex(1, 1);
        ASSERT_TRUE(m_game.CanAssaultHex(north.column, north.row));
        m_game.SetFireTrace(HexSide::None, 1, 1, HexSide::None, north.column, north.row);
        m_game.m_opFirerPosition = 1;
        m_game.m_opFirerHex = { 1, 1 };
        m_game.m_opTargetHex = north;
        m_game.m_opTargetOrdinal = 1;
        m_game.m_airStrikeCursor = { 3, 2 };

        if (way == 0) {
            m_game.ResetBattle();
        } else {
            std::istringstream broken("10\nbroken\n");
            EXPECT_FALSE(m_game.LoadBattle(broken, true));
        }
        EXPECT_EQ(m_game.m_cursor, (HexPos { -1, -1 }));
        EXPECT_TRUE(m_game.m_selectedNodes.empty());
        EXPECT_EQ(m_game.m_cursorRestart, 1);
        EXPECT_TRUE(m_game.m_snapshots.empty());
        EXPECT_FALSE(m_game.HasAssault());
        EXPECT_EQ(m_game.m_traceFirerHex, (HexPos { -1, -1 }));
        EXPECT_EQ(m_game.m_traceTargetHex, (HexPos { -1, -1 }));
        EXPECT_FALSE(m_game.IsFirePending());
        EXPECT_EQ(m_game.m_opFirerHex, (HexPos { -1, -1 }));
        EXPECT_EQ(m_game.m_opTargetOrdinal, 0);
        EXPECT_EQ(m_game.m_airStrikeCursor, (HexPos { 0, 0 })) << "no scan resumes inside another battle";
    }
}
