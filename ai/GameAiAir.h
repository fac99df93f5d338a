#pragma once
// The computer opponent's choice of air attacks.
// Its operations come with the rules that need them; the layer keeps its
// place in the chain so that every layer above builds on the same object.

#include "ai/GameAiAssault.h"

class CGameAiAir : public CGameAiAssault {
public:
    CGameAiAir() = default;
    ~CGameAiAir() override = default;
};
