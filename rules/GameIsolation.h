#pragma once
// Isolation: which units are cut off from every source of their side.

#include "rules/GameOpportunityFire.h"

class CGameIsolation : public CGameOpportunityFire {
public:
    CGameIsolation();
    ~CGameIsolation() override = default;

    HexGrid<std::uint8_t> m_connected; // 1: joined to a source
    int m_listedCount = 0;
};
