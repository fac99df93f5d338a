#include "ai/Game.h"

#include <sstream>
#include <string>

#include "model/DataFile.h"
#include "model/Geometry.h"
#include "model/Random.h"

bool CGame::IsSideHidden(int side) const { return IsSide(side) && m_aiFog[side] != 0; }

// ---- Who plays each side ----

void CGame::SetSideFogOfWar(int side, std::uint8_t fog)
{
    if (IsSide(side))
        m_aiFog[side] = fog != 0 ? 1 : 0;
}

void CGame::SetSideManual(int side)
{
    if (!IsSide(side))
        return;
    m_aiMode[side] = kAiManual;
    m_planFlag[side] = 0;
    m_aiFog[side] = 0;
    GetObjectiveList(side).Free();
}

void CGame::SetSideScenarioComputer(int side)
{
    if (!IsSide(side))
        return;
    m_aiMode[side] = kAiScenarioComputer;
    m_planFlag[side] = 1;
    m_aiFog[side] = 0;
    EnsureObjectives(side);
    PrepareIfToMove(side);
}

void CGame::SetSidePlanningComputer(int side)
{
    if (!IsSide(side))
        return;
    m_aiMode[side] = kAiPlanningComputer;
    m_planFlag[side] = 0;
    EnsureObjectives(side);
    PlanSide(side);
    PrepareIfToMove(side);
}

void CGame::SetSideComputer(int side)
{
    SetSideFogOfWar(side, 0);
    SetSidePlanningComputer(side);
}

void CGame::SetSideComputerFow(int side)
{
    SetSideFogOfWar(side, 1);
    SetSidePlanningComputer(side);
}

void CGame::SetSideMode(int side, int mode)
{
    switch (mode) {
    case kAiManual:
        SetSideManual(side);
        break;
    case kAiScenarioComputer:
        SetSideScenarioComputer(side);
        break;
    case kAiPlanningComputer:
        SetSidePlanningComputer(side);
        break;
    default:
        break;
    }
}

void CGame::PlanSide(int side)
{
    RebuildEnemyDistanceGrid();
    RunPlanningPass(side < 0 ? m_map.GetSide() : side);
}

void CGame::EnsureObjectives(int side)
{
    if (GetObjectiveList(side).IsEmpty())
        BuildObjectiveList(side);
}

void CGame::PrepareIfToMove(int side)
{
    if (side != m_map.GetSide())
        return;
    RebuildEnemyDistanceGrid();
    if (m_map.GetPhase() != 1)
        PrepareMoves();
}

// ---- Status and the saved block ----

void CGame::GetStatusText(String& out) const
{
    GetClockText(out);
    if (m_aiMode[m_map.GetSide() == 1 ? 1 : 0] != kAiManual)
        out.AppendText(" A/I Control");
}

void CGame::ResetBattleState()
{
    CGameAiIndirect::ResetBattleState();
    m_aiMode[0] = m_aiMode[1] = kAiManual;
    m_planFlag[0] = m_planFlag[1] = 0;
    m_banzaiSound = false;
    m_planCounter = 0;
}

bool CGame::FailReadClearingFog(const char* reason)
{
    if (reason)
        FailBattleRead(reason);
    m_aiFog[0] = m_aiFog[1] = 0;
    return false;
}

bool CGame::ReadBattleFile(std::istream& in, bool keepVersion10)
{
    if (!CGameAiIndirect::ReadBattleFile(in, keepVersion10))
        return FailReadClearingFog();
    int plan[2] = { 0, 0 };
    int mode[2] = { 0, 0 };
    int fog[2] = { 0, 0 };
    if (!(in >> plan[0] >> plan[1] >> mode[1] >> fog[1] >> mode[0] >> fog[0]))
        return FailReadClearingFog("Error reading A/I modes");
    for (int side = 0; side < 2; ++side)
        if (mode[side] < kAiManual || mode[side] > kAiPlanningComputer)
            return FailReadClearingFog("Error reading A/I modes");
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

// ---- Starting, playing, saving and loading a battle ----

bool CGame::ReadScenario(std::istream& in, const int modes[2], const std::uint8_t fog[2], String& text,
    std::vector<int>& groups, std::vector<int>& released, HexList& hexes)
{
    for (int side = 0; side < 2; ++side)
        SetSideFogOfWar(side, fog[side]);
    if (!LoadBattleAndReport(in, text, groups, released, hexes)) {
        // Nothing to play: no side is left to the computer or under fog.
        for (int side = 0; side < 2; ++side)
            SetSideManual(side);
        return false;
    }
    for (int side = 0; side < 2; ++side)
        SetSideMode(side, modes[side]);
    for (int side = 0; side < 2; ++side)
        SetSideFogOfWar(side, fog[side]);
    DrawReconMode();
    return true;
}

void CGame::DrawReconMode()
{
    if (m_missionType != 1) {
        m_reconLabel = String("None");
        m_reconValues[0] = m_reconValues[1] = 0;
        return;
    }
    m_reconLabel = String("ReconMode");
    for (int& value : m_reconValues)
        value = static_cast<int>(UniformRandom() * 5.0) + 1;
}

bool CGame::ReadBattle(std::istream& in, bool keepVersion10) { return LoadBattle(in, keepVersion10); }

bool CGame::WriteBattle(std::ostream& out) const { return WriteBattleFile(out) && out.good(); }

void CGame::BeginPhase(
    String& text, HexList& hexes, std::vector<int>& offMapChanges, std::vector<int>& groups, std::vector<int>& released)
{
    BuildTurnStartReport(text, hexes, offMapChanges, groups, released);
    const int side = m_map.GetSide() == 1 ? 1 : 0;
    const int phase = m_map.GetPhase();
    if (phase == 0 && m_aiMode[side] == kAiPlanningComputer)
        PlanSide(side);
    if (phase == 0 && m_aiMode[side] == kAiScenarioComputer)
        m_planFlag[side] = 1;
    if (phase != 1 && m_aiMode[side] != kAiManual) {
        RebuildEnemyDistanceGrid();
        PrepareMoves();
    }
}

String CGame::SaveBattleToFile(const std::filesystem::path& path) const
{
    return String(WriteFileAtomically(path, [this](std::ostream& out) { return WriteBattle(out); }));
}

bool CGame::LoadBattleFromFile(const std::filesystem::path& path)
{
    std::string text;
    // A file that cannot be read leaves the battle in play as it is.
    if (ReadDataFileText(path.string(), text) != DataFileRead::kRead) {
        m_battleReadError = String("Error opening battle file");
        return false;
    }
    std::istringstream in(text);
    return ReadBattle(in, true);
}
