#include "rules/GameIsolation.h"

CGameIsolation::CGameIsolation() { m_grids.Register(m_connected, 0); }
