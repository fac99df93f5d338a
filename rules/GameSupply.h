#pragma once
// Artillery availability, ammunition and headquarters supply.
// Its operations come with the rules that need them; the layer keeps its
// place in the chain so that every layer above builds on the same object.

#include "rules/GameIsolation.h"

class CGameSupply : public CGameIsolation {
public:
    CGameSupply() = default;
    ~CGameSupply() override = default;
};
