#include "rules/GameSpotting.h"

CGameSpotting::CGameSpotting()
{
    for (auto& grid : m_contactSnapshot)
        m_grids.Register(grid, 0);
}
