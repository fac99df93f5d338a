#pragma once
// Air strikes and minefield attacks.
// Its operations come with the rules that need them; the layer keeps its
// place in the chain so that every layer above builds on the same object.

#include "rules/GameIndirectFire.h"

class CGameAirMineAttack : public CGameIndirectFire {
public:
    CGameAirMineAttack() = default;
    ~CGameAirMineAttack() override = default;
};
