#pragma once
// Assaults: forming them, their odds and their resolution.
// Further operations come with the rules that need them; the layer keeps its
// place in the chain so that every layer above builds on the same object.

#include "model/HexSide.h"
#include "rules/GameCombatResults.h"

class CGameAssault : public CGameCombatResults {
public:
    CGameAssault() = default;
    ~CGameAssault() override = default;

    // Whether an assault is open (its defending hex is set).
    bool HasAssault() const { return m_assaultHex.column != -1 && m_assaultHex.row != -1; }

    // A targetable unit of the hard class is in the hex.
    bool HexHasHardTarget(int x, int y) const;

    // The defending hex of the open assault; (-1, -1) while none is open.
    HexPos m_assaultHex { -1, -1 };
};
