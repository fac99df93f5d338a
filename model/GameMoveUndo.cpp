#include "model/GameMoveUndo.h"

CGameMoveUndo::CGameMoveUndo() { m_grids.Register(m_entrySides, HexSide::None); }

CGameMoveUndo::~CGameMoveUndo() = default;
