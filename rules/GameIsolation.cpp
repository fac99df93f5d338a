#include "rules/GameIsolation.h"

CGameIsolation::CGameIsolation() { m_connected.Allocate(m_map.GetWidth(), m_map.GetHeight(), 0); }

const char* CGameIsolation::Reload()
{
    m_connected.Free();
    const char* error = CGameOpportunityFire::Reload();
    m_connected.Allocate(m_map.GetWidth(), m_map.GetHeight(), 0);
    return error;
}
