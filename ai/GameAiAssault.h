#pragma once
// The computer opponent's choice of assaults.
// Its operations come with the rules that need them; the layer keeps its
// place in the chain so that every layer above builds on the same object.

#include "ai/GameAiData.h"

class CGameAiAssault : public CGameAiData {
public:
    CGameAiAssault() = default;
    ~CGameAiAssault() override = default;
};
