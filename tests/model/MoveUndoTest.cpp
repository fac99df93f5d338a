// Taking moves back, the trail of entry sides, and the contact marks that
// moving next to a hidden enemy leaves.

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "tests/model/SampleBattle.h"

namespace {

constexpr std::uint32_t kRifle = 200;
constexpr std::uint32_t kTank = 1;
constexpr std::uint32_t kEnemy = 1200;

class MoveUndoTest : public SampleBattleTest {
protected:
    void SetUp() override
    {
        Build({ MakeType(kRifle, 6, kMoveFoot, 0x2), MakeType(kTank, 10, 0), MakeType(kEnemy, 6, kMoveFoot, 0x2) },
            { kRifle, kTank, kEnemy }, false);
    }

    // Records a move for undo and carries it out, as the orders layer does.
    void Move(int fromX, int fromY, int toX, int toY, std::vector<int> positions)
    {
        m_game->RecordMove(fromX, fromY, toX, toY);
        ASSERT_TRUE(m_game->MoveUnitsBetweenHexes(
            fromX, fromY, toX, toY, positions.data(), static_cast<int>(positions.size())));
    }

    HexSide EntrySide(int x, int y) const { return m_game->m_entrySides.At(x, y); }
};

HexSide Between(int x1, int y1, int x2, int y2)
{
    HexSide side;
    return side.SetBetween(x1, y1, x2, y2);
}

TEST_F(MoveUndoTest, TwoMovesThroughOneHexComeBackToTheStateBeforeTheFirst)
{
    Add(0, 2, kRifle, 1);
    Add(0, 2, kTank, 2);
    Add(1, 2, kRifle, 3, 3, kUnitHidden);
    m_game->m_hexFlags.At(1, 2) = CGameData::kHexImprovedPosition;
    m_game->m_objectives.At(2, 2) = ObjectiveCell { 1, 7 };

    Move(0, 2, 1, 2, { 1 });
    Move(1, 2, 2, 2, { 1, 2 });
    m_game->m_hexFlags.At(1, 2) |= CGameData::kHexRulesMark;
    ASSERT_EQ(Tags(2, 2), (std::vector<int> { 1, 3 }));
    EXPECT_EQ(m_game->m_objectives.At(2, 2).nation, 0) << "the armed rifles took the objective";

    // One snapshot per hex, the first one kept; each source keeps its trail.
    ASSERT_EQ(m_game->m_snapshots.size(), 3u);
    EXPECT_EQ(EntrySide(0, 2), Between(0, 2, 1, 2));
    EXPECT_EQ(EntrySide(1, 2), Between(1, 2, 2, 2));
    HexList hexes;
    AppendHexListNode(hexes, 4, 3);
    m_game->CollectUndoHexes(hexes);
    std::vector<HexPos> collected;
    for (const HexPos& hex : hexes)
        collected.push_back(hex);
    EXPECT_EQ(collected, (std::vector<HexPos> { { 0, 2 }, { 1, 2 }, { 2, 2 } }));

    m_game->UndoMoves();
    m_game->ClearUndo();
    EXPECT_EQ(Tags(0, 2), (std::vector<int> { 1, 2 }));
    EXPECT_EQ(Tags(1, 2), (std::vector<int> { 3 }));
    EXPECT_TRUE(Tags(2, 2).empty());
    EXPECT_EQ(Unit(1, 2, 1).m_status, kUnitHidden) << "the units as they were, not as the move left them";
    EXPECT_EQ(Unit(0, 2, 1).m_facing, HexSide::North);
    EXPECT_EQ(m_game->m_hexFlags.At(1, 2), CGameData::kHexImprovedPosition);
    EXPECT_EQ(m_game->m_objectives.At(2, 2).nation, 7);
    EXPECT_EQ(m_game->m_objectives.At(2, 2).value, 1);
    EXPECT_TRUE(m_game->m_snapshots.empty());
    EXPECT_EQ(EntrySide(0, 2), HexSide::None);
    EXPECT_EQ(EntrySide(1, 2), HexSide::None);
    m_game->CollectUndoHexes(hexes);
    EXPECT_TRUE(hexes.IsEmpty());
}

TEST_F(MoveUndoTest, AMoveToAHexThatIsNotAdjacentLeavesNoTrail)
{
    m_game->m_entrySides.At(0, 0) = HexSide::South;
    m_game->RecordMove(0, 0, 3, 3);
    EXPECT_EQ(EntrySide(0, 0), HexSide::None);
    EXPECT_EQ(m_game->m_snapshots.size(), 2u);
}

TEST_F(MoveUndoTest, AirStrikesGoBackToThePoolOrComeBackOutOfIt)
{
    m_game->m_map.SetSide(0);
    m_game->m_airPower[0] = 2;

    // Assigned after the snapshot: undo returns it to the side to move.
    m_game->SnapshotHex(3, 1);
    m_game->m_airStrikeValue.At(3, 1) = 12;
    m_game->m_airStrikeSide.At(3, 1) = 0;
    --m_game->m_airPower[0];
    m_game->UndoMoves();
    EXPECT_EQ(m_game->m_airStrikeValue.At(3, 1), 0);
    EXPECT_EQ(m_game->m_airStrikeSide.At(3, 1), -1);
    EXPECT_EQ(m_game->m_airPower[0], 2);
    m_game->ClearUndo();

    // Held when the snapshot was taken and gone since: it comes back and
    // the pool pays for it again.
    m_game->SnapshotHex(3, 2);
    m_game->m_airStrikeValue.At(3, 2) = 12;
    m_game->m_airStrikeSide.At(3, 2) = 0;
    m_game->ClearUndo();
    m_game->SnapshotHex(3, 2);
    m_game->m_airStrikeValue.At(3, 2) = 0;
    m_game->m_airStrikeSide.At(3, 2) = -1;
    m_game->UndoMoves();
    EXPECT_EQ(m_game->m_airStrikeValue.At(3, 2), 12);
    EXPECT_EQ(m_game->m_airStrikeSide.At(3, 2), 0);
    EXPECT_EQ(m_game->m_airPower[0], 1);
    m_game->ClearUndo();

    // An empty pool does not go below none.
    m_game->m_airPower[0] = 0;
    m_game->SnapshotHex(3, 2);
    m_game->m_airStrikeValue.At(3, 2) = 0;
    m_game->UndoMoves();
    EXPECT_EQ(m_game->m_airPower[0], 0);
}

TEST_F(MoveUndoTest, ReloadAndBattleReadsForgetTheRecords)
{
    Add(0, 2, kRifle, 1);
    Move(0, 2, 0, 3, { 1 });
    ASSERT_FALSE(m_game->m_snapshots.empty());
    ASSERT_EQ(m_game->Reload(), nullptr);
    EXPECT_TRUE(m_game->m_snapshots.empty());
    EXPECT_EQ(EntrySide(0, 2), HexSide::None);

    m_game->SnapshotHex(1, 1);
    std::istringstream broken("not a battle");
    EXPECT_FALSE(m_game->ReadBattleFile(broken, false));
    EXPECT_TRUE(m_game->m_snapshots.empty());
    m_game->UndoMoves();
}

class HexMarksTest : public MoveUndoTest {
protected:
    ContactCell Contact(int x, int y, int side) const { return m_game->m_contact[side].At(x, y); }
};

TEST_F(HexMarksTest, EnteringGivesContactByTurnMode)
{
    m_game->m_map.SetSide(0);
    Add(2, 2, kEnemy, 1, 3, kUnitHidden);
    Add(2, 3, kEnemy, 2, 3, kUnitHidden);

    // Plain turns: kind 1 at distance 1, unless the side already has kind 1.
    m_game->MarkHexEntered(2, 2, false);
    EXPECT_EQ(Contact(2, 2, 0).kind, 1);
    EXPECT_EQ(Contact(2, 2, 0).value, 1);
    EXPECT_EQ(Unit(2, 2, 1).m_status, kUnitHidden) << "not cleared";
    m_game->m_contact[0].At(2, 3) = ContactCell { 1, 4 };
    m_game->MarkHexEntered(2, 3, true);
    EXPECT_EQ(Contact(2, 3, 0).value, 4);
    EXPECT_EQ(Unit(2, 3, 1).m_status, 0u) << "cleared";

    // Three-phase turns: kind 2 only where there is none.
    m_game->m_options = kOptionThreePhase;
    m_game->m_contact[0].At(2, 2) = ContactCell {};
    m_game->MarkHexEntered(2, 2, false);
    EXPECT_EQ(Contact(2, 2, 0).kind, 2);
    EXPECT_EQ(Contact(2, 2, 0).value, 1);
    m_game->MarkHexEntered(2, 3, false);
    EXPECT_EQ(Contact(2, 3, 0).kind, 1) << "kind 1 is not raised to 2";
}

TEST_F(HexMarksTest, MovingNextToHiddenEnemiesSpotsThemOutsideCoverAndFortifications)
{
    m_game->m_map.SetSide(0);
    // Around (1, 2): the City at (1, 1), the Village at (0, 1), a fortified
    // hex, an own unit and open ground.
    HexPos around[6];
    int n = 0;
    for (HexSide side(1); side.IsValid(); side.Next())
        ASSERT_TRUE(m_game->m_map.GetNeighbour(side, 1, 2, around[n++]));
    for (const HexPos& hex : around)
        Add(hex.column, hex.row, kEnemy, 10 * hex.column + hex.row, 3, kUnitHidden);
    const HexPos city { 1, 1 };
    const HexPos village { 0, 1 };
    const HexPos fortified { 1, 3 };
    const HexPos own = around[2];
    m_game->m_stacks.At(own.column, own.row).Free();
    Add(own.column, own.row, kRifle, 99);
    m_game->m_hexFlags.At(fortified.column, fortified.row) = CGameData::kHexPillbox;

    m_game->SpotAdjacentEnemies(1, 2);
    for (const HexPos& hex : around)
        EXPECT_EQ(Contact(hex.column, hex.row, 0).kind, 0) << "the opponent is not hidden";

    m_game->m_opponentHidden = true;
    m_game->SpotAdjacentEnemies(1, 2);
    for (const HexPos& hex : around) {
        SCOPED_TRACE(testing::Message() << hex.column << "," << hex.row);
        const bool spotted = !(hex == city || hex == village || hex == fortified || hex == own);
        EXPECT_EQ(Contact(hex.column, hex.row, 0).kind, spotted ? 1 : 0);
        if (!(hex == own)) {
            EXPECT_EQ(Unit(hex.column, hex.row, 1).m_status, kUnitHidden) << "spotting clears nothing";
        }
    }

    m_game->SpotAllAdjacentEnemies(1, 2);
    EXPECT_EQ(Contact(city.column, city.row, 0).kind, 1);
    EXPECT_EQ(Contact(fortified.column, fortified.row, 0).kind, 1);
    EXPECT_EQ(Contact(own.column, own.row, 0).kind, 0);

    m_game->MarkHexEnteredIfHidden(city.column, city.row);
    EXPECT_EQ(Unit(city.column, city.row, 1).m_status, 0u) << "bumping into a hex clears its units' hidden bit";
    m_game->m_opponentHidden = false;
    m_game->m_contact[0].At(2, 0) = ContactCell {};
    m_game->MarkHexEnteredIfHidden(2, 0);
    EXPECT_EQ(Contact(2, 0, 0).kind, 0);
}

} // namespace
