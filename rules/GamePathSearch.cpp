#include "rules/GamePathSearch.h"

CGamePathSearch::CGamePathSearch() { m_grids.Register(m_searchState, 0); }
