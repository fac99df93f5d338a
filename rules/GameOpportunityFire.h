#pragma once
// Fire drawn by moving units.
// Its operations come with the rules that need them; the layer keeps its
// place in the chain so that every layer above builds on the same object.

#include "rules/GameAirMineAttack.h"

class CGameOpportunityFire : public CGameAirMineAttack {
public:
    CGameOpportunityFire() = default;
    ~CGameOpportunityFire() override = default;
};
