#pragma once
// Validation of fire, smoke, starshell and air-attack orders.
// Its operations come with the rules that need them; the layer keeps its
// place in the chain so that every layer above builds on the same object.

#include "rules/GameAssault.h"

class CGameFireValidation : public CGameAssault {
public:
    CGameFireValidation() = default;
    ~CGameFireValidation() override = default;
};
