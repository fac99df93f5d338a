#pragma once
// The computer opponent's choice of indirect fire.
// Its operations come with the rules that need them; the layer keeps its
// place in the chain so that every layer above builds on the same object.

#include "ai/GameAiFire.h"

class CGameAiIndirect : public CGameAiFire {
public:
    CGameAiIndirect() = default;
    ~CGameAiIndirect() override = default;
};
