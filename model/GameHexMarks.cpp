#include "model/GameHexMarks.h"

#include "model/Geometry.h"

void CGameHexMarks::MarkHexEntered(int x, int y, bool clear)
{
    if (!m_stacks.Contains(x, y))
        return;
    const int side = m_map.GetSide();
    const int enemyContact = GetEnemyContact(x, y);
    if (!IsOptionSet(kOptionThreePhase)) {
        if (enemyContact != 1)
            SetContact(x, y, side, 1, 1);
    } else if (enemyContact == 0) {
        SetContact(x, y, side, 2, 1);
    }
    if (clear)
        for (PlacedUnit& unit : m_stacks.At(x, y))
            unit.m_status &= ~static_cast<std::uint32_t>(kUnitHidden);
}

void CGameHexMarks::MarkHexEnteredIfHidden(int x, int y)
{
    if (IsOpponentHidden())
        MarkHexEntered(x, y, true);
}

void CGameHexMarks::SpotAdjacentEnemies(int x, int y) { SpotEnemiesAround(x, y, false); }

void CGameHexMarks::SpotAllAdjacentEnemies(int x, int y) { SpotEnemiesAround(x, y, true); }

void CGameHexMarks::SpotEnemiesAround(int x, int y, bool everywhere)
{
    if (!IsOpponentHidden())
        return;
    const int enemy = OtherSide(m_map.GetSide());
    for (HexSide side(1); side.IsValid(); side.Next()) {
        HexPos next;
        if (!m_map.GetNeighbour(side, x, y, next) || SideInHex(next.column, next.row) != enemy)
            continue;
        if (!everywhere) {
            const int terrain = GetEffectiveTerrain(next.column, next.row);
            if (terrain == kTerrainForest || terrain == kTerrainVillage || terrain == kTerrainCity)
                continue;
            if ((m_hexFlags.At(next.column, next.row) & kHexFortified) != 0)
                continue;
        }
        MarkHexEntered(next.column, next.row, false);
    }
}
