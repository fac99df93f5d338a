#include "rules/GameSpotting.h"

CGameSpotting::CGameSpotting() { AllocateSnapshots(); }

const char* CGameSpotting::Reload()
{
    for (auto& grid : m_contactSnapshot)
        grid.Free();
    const char* error = CGameLos::Reload();
    AllocateSnapshots();
    return error;
}

void CGameSpotting::AllocateSnapshots()
{
    for (auto& grid : m_contactSnapshot)
        grid.Allocate(m_map.GetWidth(), m_map.GetHeight(), 0);
}
