#include "ai/GameAiMove.h"

#include <algorithm>
#include <climits>
#include <string>

namespace {

constexpr int kScoresEnd = 9999;

} // namespace

void CGameAiMove::ScoreObjectives()
{
    m_objectiveScores.Free();
    const int side = m_map.GetSide();
    const int radius = m_aiParameters[kAiObjectiveRadius];
    for (const HexPos& objective : GetObjectiveList(side)) {
        long long score = 0;
        int minX = 0, maxX = -1, minY = 0, maxY = -1;
        ClipSquareToMap(objective.column, objective.row, radius, minX, maxX, minY, maxY);
        for (int x = minX; x <= maxX; ++x) {
            for (int y = minY; y <= maxY; ++y) {
                const int holder = SideInHex(x, y);
                if (holder < 0)
                    continue;
                const auto units = static_cast<long long>(m_stacks.At(x, y).Count());
                score += holder == side ? -units : units;
            }
        }
        m_objectiveScores.Append(static_cast<int>(std::clamp<long long>(score, INT_MIN, INT_MAX)));
    }
}

void CGameAiMove::PrepareMoves()
{
    SetAttacksForPhase();
    ScoreObjectives();
    m_stepFlag = 1;
}

void CGameAiMove::ResetBattleState()
{
    CGameAiAir::ResetBattleState();
    m_objectiveScores.Free();
    m_stepFlag = 1;
}

bool CGameAiMove::ReadBattleFile(std::istream& in, bool keepVersion10)
{
    m_stepFlag = 1;
    if (!CGameAiAir::ReadBattleFile(in, keepVersion10))
        return false;
    constexpr const char* kError = "Error reading A/I objective scores";
    const long long most = static_cast<long long>(m_map.GetWidth()) * m_map.GetHeight();
    m_objectiveScores.Free();
    for (long long count = 0;; ++count) {
        int score = 0;
        if (!(in >> score))
            return FailBattleRead(kError);
        if (score == kScoresEnd)
            break;
        if (count >= most)
            return FailBattleRead(kError);
        m_objectiveScores.Append(score);
    }
    return true;
}

bool CGameAiMove::WriteBattleFile(std::ostream& out) const
{
    if (!CGameAiAir::WriteBattleFile(out))
        return false;
    std::string text;
    for (int score : m_objectiveScores)
        text += std::to_string(score) + ' ';
    text += std::to_string(kScoresEnd) + '\n';
    out << text;
    return static_cast<bool>(out);
}
