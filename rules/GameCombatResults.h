#pragma once
// Fire results on units, and their recovery.
// Its operations come with the rules that need them; the layer keeps its
// place in the chain so that every layer above builds on the same object.

#include "rules/GameSpotting.h"

class CGameCombatResults : public CGameSpotting {
public:
    CGameCombatResults() = default;
    ~CGameCombatResults() override = default;
};
