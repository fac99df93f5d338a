#pragma once
// Battle start, phase advance and the turn-start report.
// Its operations come with the rules that need them; the layer keeps its
// place in the chain so that every layer above builds on the same object.

#include "rules/GameSupply.h"

class CGameSession : public CGameSupply {
public:
    CGameSession() = default;
    ~CGameSession() override = default;
};
