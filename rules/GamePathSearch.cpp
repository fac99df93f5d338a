#include "rules/GamePathSearch.h"

CGamePathSearch::CGamePathSearch() { m_searchState.Allocate(m_map.GetWidth(), m_map.GetHeight(), 0); }

const char* CGamePathSearch::Reload()
{
    m_searchState.Free();
    const char* error = CGameSession::Reload();
    m_searchState.Allocate(m_map.GetWidth(), m_map.GetHeight(), 0);
    return error;
}
