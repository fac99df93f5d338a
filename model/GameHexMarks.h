#pragma once
// Marks hexes as spotted when units move next to the enemy while the
// opponent's view is restricted.

#include "model/GameMoveUndo.h"

class CGameHexMarks : public CGameMoveUndo {
public:
    CGameHexMarks() = default;
    ~CGameHexMarks() override = default;

    // Whether the side that is not to move is hidden from the side to move.
    virtual bool IsOpponentHidden() const { return false; }
};
