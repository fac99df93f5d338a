#pragma once
// Assaults: forming them, their odds and their resolution.
// Its operations come with the rules that need them; the layer keeps its
// place in the chain so that every layer above builds on the same object.

#include "rules/GameCombatResults.h"

class CGameAssault : public CGameCombatResults {
public:
    CGameAssault() = default;
    ~CGameAssault() override = default;
};
