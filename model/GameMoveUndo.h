#pragma once
// Remembers what the moves of the current turn step changed, so that the
// player can take them back; keeps the side through which each unit left a hex.

#include <vector>

#include "model/GameCombatReport.h"

class CGameMoveUndo : public CGameCombatReport {
public:
    CGameMoveUndo();
    ~CGameMoveUndo() override;

    // Keeps the hex as it is now, unless it was kept already since the last
    // clear (the first state is the one undo goes back to).
    void SnapshotHex(int x, int y);
    // Keeps the source and the destination, and notes in the source the side
    // the units leave it by (none for a hex that is not adjacent). Called
    // before the move is carried out.
    void RecordMove(int fromX, int fromY, int toX, int toY);
    // Forgets every kept hex and its trail. Undo is possible only until this.
    void ClearUndo();
    // Puts every kept hex back as it was; the caller then clears the records.
    void UndoMoves();
    // The kept hexes, in order, for redrawing; the list is emptied first.
    void CollectUndoHexes(HexList& hexes) const;

    // A battle read replaces the types, nodes and map size the snapshots
    // were taken with: the records go with the battle.
    void ResetBattleState() override;

    HexGrid<HexSide> m_entrySides;
    std::vector<HexSnapshot> m_snapshots;

protected:
    // The records go before the reload replaces what they point into.
    const char* Reload() override;
};
