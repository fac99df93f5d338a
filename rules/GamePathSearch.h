#pragma once
// Path search: the hexes a stack can reach, and a route to a goal hex.

#include "rules/GameSession.h"

class CGamePathSearch : public CGameSession {
public:
    CGamePathSearch();
    ~CGamePathSearch() override = default;

    HexGrid<int> m_searchState; // per hex: 0 not yet seen; each search clears it
};
