#pragma once
// Remembers what the moves of the current turn step changed, so that the
// player can take them back; keeps the side through which each unit left a hex.

#include "model/GameCombatReport.h"

class CGameMoveUndo : public CGameCombatReport {
public:
    CGameMoveUndo();
    ~CGameMoveUndo() override;

    HexGrid<HexSide> m_entrySides;
};
