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

    // Gives the side to move contact with the hex: kind 1 (spotted, value 1)
    // in plain turns unless the occupant's enemy already has kind 1 there;
    // kind 2 (time 1) under three-phase turns only where it has none. With
    // clear, the units of the hex lose their hidden bit.
    void MarkHexEntered(int x, int y, bool clear);
    // The same, clearing, when the opponent is hidden.
    void MarkHexEnteredIfHidden(int x, int y);
    // When the opponent is hidden, marks (without clearing) each neighbour
    // held by the enemy of the side to move, except in Forest, Village or
    // City and in fortified hexes, where units are not seen by walking past.
    void SpotAdjacentEnemies(int x, int y);
    // The same for every enemy neighbour.
    void SpotAllAdjacentEnemies(int x, int y);

private:
    void SpotEnemiesAround(int x, int y, bool everywhere);
};
