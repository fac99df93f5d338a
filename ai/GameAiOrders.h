#pragma once
// The computer opponent's order records per formation.
// Its operations come with the rules that need them; the layer keeps its
// place in the chain so that every layer above builds on the same object.

#include "rules/GamePathSearch.h"

class CGameAiOrders : public CGamePathSearch {
public:
    CGameAiOrders() = default;
    ~CGameAiOrders() override = default;
};
