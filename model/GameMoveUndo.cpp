#include "model/GameMoveUndo.h"

#include <algorithm>

CGameMoveUndo::CGameMoveUndo() { m_grids.Register(m_entrySides, HexSide::None); }

CGameMoveUndo::~CGameMoveUndo() = default;

const char* CGameMoveUndo::Reload()
{
    ClearUndo();
    return CGameCombatReport::Reload();
}

void CGameMoveUndo::ResetBattleState()
{
    CGameCombatReport::ResetBattleState();
    ClearUndo();
}

void CGameMoveUndo::SnapshotHex(int x, int y)
{
    const bool kept = std::any_of(m_snapshots.begin(), m_snapshots.end(),
        [&](const HexSnapshot& snapshot) { return snapshot.column == x && snapshot.row == y; });
    if (kept)
        return;
    HexSnapshot snapshot;
    if (TakeHexSnapshot(x, y, snapshot))
        m_snapshots.push_back(std::move(snapshot));
}

void CGameMoveUndo::RecordMove(int fromX, int fromY, int toX, int toY)
{
    SnapshotHex(fromX, fromY);
    SnapshotHex(toX, toY);
    if (m_entrySides.Contains(fromX, fromY))
        m_entrySides.At(fromX, fromY).SetBetween(fromX, fromY, toX, toY);
}

void CGameMoveUndo::ClearUndo()
{
    for (const HexSnapshot& snapshot : m_snapshots)
        if (m_entrySides.Contains(snapshot.column, snapshot.row))
            m_entrySides.At(snapshot.column, snapshot.row) = HexSide::None;
    m_snapshots.clear();
}

void CGameMoveUndo::UndoMoves()
{
    for (HexSnapshot& snapshot : m_snapshots)
        RestoreHex(snapshot);
}

void CGameMoveUndo::CollectUndoHexes(HexList& hexes) const
{
    hexes.Free();
    for (const HexSnapshot& snapshot : m_snapshots)
        AppendHexListNode(hexes, snapshot.column, snapshot.row);
}
