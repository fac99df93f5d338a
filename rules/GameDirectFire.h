#pragma once
// Direct fire from fire values, modifiers and the fire table.
// Its operations come with the rules that need them; the layer keeps its
// place in the chain so that every layer above builds on the same object.

#include "rules/GameFireValidation.h"

class CGameDirectFire : public CGameFireValidation {
public:
    CGameDirectFire() = default;
    ~CGameDirectFire() override = default;
};
