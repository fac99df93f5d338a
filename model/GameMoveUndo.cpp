#include "model/GameMoveUndo.h"

CGameMoveUndo::CGameMoveUndo() { m_entrySides.Allocate(m_map.GetWidth(), m_map.GetHeight(), HexSide::None); }

CGameMoveUndo::~CGameMoveUndo() = default;

const char* CGameMoveUndo::Reload()
{
    m_entrySides.Free();
    const char* error = CGameCombatReport::Reload();
    m_entrySides.Allocate(m_map.GetWidth(), m_map.GetHeight(), HexSide::None);
    return error;
}
