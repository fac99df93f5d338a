#include "ai/Game.h"

bool CGame::IsSideHidden(int side) const { return side >= 0 && side <= 1 && m_aiFog[side] != 0; }
