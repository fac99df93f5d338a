#pragma once
// Fog of war: which hexes each side has spotted, and the contact levels as
// they were before the last recomputation.

#include "rules/GameLos.h"

class CGameSpotting : public CGameLos {
public:
    CGameSpotting();
    ~CGameSpotting() override = default;

    HexGrid<int> m_contactSnapshot[2];
};
