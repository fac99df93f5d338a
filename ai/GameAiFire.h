#pragma once
// The computer opponent's choice of direct fire.
// Its operations come with the rules that need them; the layer keeps its
// place in the chain so that every layer above builds on the same object.

#include "ai/GameAiMove.h"

class CGameAiFire : public CGameAiMove {
public:
    CGameAiFire() = default;
    ~CGameAiFire() override = default;
};
