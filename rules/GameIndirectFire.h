#pragma once
// Artillery, smoke and starshell missions, scatter and drift.
// Its operations come with the rules that need them; the layer keeps its
// place in the chain so that every layer above builds on the same object.

#include "rules/GameDirectFire.h"

class CGameIndirectFire : public CGameDirectFire {
public:
    CGameIndirectFire() = default;
    ~CGameIndirectFire() override = default;
};
