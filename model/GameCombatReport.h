#pragma once
// Target tests, unit names and value lines of the combat reports.
// Its operations come with the rules that need them; the layer keeps its
// place in the chain so that every layer above builds on the same object.

#include "model/GameData.h"

class CGameCombatReport : public CGameData {
public:
    CGameCombatReport() = default;
    ~CGameCombatReport() override = default;
};
