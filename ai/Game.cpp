#include "ai/Game.h"

#include <string>

bool CGame::IsSideHidden(int side) const { return side >= 0 && side <= 1 && m_aiFog[side] != 0; }

void CGame::GetStatusText(String& out) const
{
    GetClockText(out);
    if (m_aiMode[m_map.GetSide() == 1 ? 1 : 0] != kAiManual)
        out.AppendText(" A/I Control");
}

void CGame::ResetAiState()
{
    CGameAiIndirect::ResetAiState();
    m_aiMode[0] = m_aiMode[1] = kAiManual;
    m_aiFog[0] = m_aiFog[1] = 0;
    m_planFlag[0] = m_planFlag[1] = 0;
}

bool CGame::ReadBattleFile(std::istream& in, bool keepVersion10)
{
    if (!CGameAiIndirect::ReadBattleFile(in, keepVersion10))
        return false;
    int plan[2] = { 0, 0 };
    int mode[2] = { 0, 0 };
    int fog[2] = { 0, 0 };
    if (!(in >> plan[0] >> plan[1] >> mode[1] >> fog[1] >> mode[0] >> fog[0]))
        return FailBattleRead("Error reading A/I modes");
    for (int side = 0; side < 2; ++side)
        if (mode[side] < kAiManual || mode[side] > kAiPlanningComputer)
            return FailBattleRead("Error reading A/I modes");
    for (int side = 0; side < 2; ++side) {
        m_planFlag[side] = plan[side] != 0 ? 1 : 0;
        m_aiMode[side] = mode[side];
        m_aiFog[side] = fog[side] != 0 ? 1 : 0;
    }
    if (m_aiMode[m_map.GetSide() == 1 ? 1 : 0] != kAiManual)
        RebuildEnemyDistanceGrid();
    return true;
}

bool CGame::WriteBattleFile(std::ostream& out) const
{
    if (!CGameAiIndirect::WriteBattleFile(out))
        return false;
    out << std::to_string(m_planFlag[0]) + ' ' + std::to_string(m_planFlag[1]) + '\n' + std::to_string(m_aiMode[1])
            + ' ' + std::to_string(m_aiFog[1]) + ' ' + std::to_string(m_aiMode[0]) + ' ' + std::to_string(m_aiFog[0])
            + '\n';
    return static_cast<bool>(out);
}
