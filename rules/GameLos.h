#pragma once
// Line of sight between hexes.
// Its operations come with the rules that need them; the layer keeps its
// place in the chain so that every layer above builds on the same object.

#include "rules/GameOrders.h"

class CGameLos : public CGameOrders {
public:
    CGameLos() = default;
    ~CGameLos() override = default;
};
