#pragma once
// The computer opponent's move steps.
// Its operations come with the rules that need them; the layer keeps its
// place in the chain so that every layer above builds on the same object.

#include "ai/GameAiAir.h"

class CGameAiMove : public CGameAiAir {
public:
    CGameAiMove() = default;
    ~CGameAiMove() override = default;
};
