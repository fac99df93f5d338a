#include "ai/GameAiAir.h"

#include <cmath>
#include <cstdint>
#include <string>

int CGameAiAir::AttacksForStrikes(int strikes)
{
    if (strikes <= 0)
        return 0;
    // n (n + 1) / 2 >= strikes, in 64 bits: near the int limit n is about 65536.
    const auto enough = [strikes](std::int64_t n) { return n * (n + 1) / 2 >= strikes; };
    auto n = static_cast<std::int64_t>(std::sqrt(2.0 * strikes));
    while (n > 0 && enough(n - 1))
        --n;
    while (!enough(n))
        ++n;
    return static_cast<int>(n);
}

void CGameAiAir::SetAttacksForPhase()
{
    const int side = m_map.GetSide();
    m_attacksLeft = AttacksForStrikes(side == 0 || side == 1 ? m_airPower[side] : 0);
}

void CGameAiAir::ResetBattleState()
{
    CGameAiAssault::ResetBattleState();
    m_attacksLeft = 0;
}

bool CGameAiAir::ReadBattleFile(std::istream& in, bool keepVersion10)
{
    if (!CGameAiAssault::ReadBattleFile(in, keepVersion10))
        return false;
    int attacks = 0;
    if (!(in >> attacks) || attacks < 0)
        return FailBattleRead("Error reading A/I air attacks");
    m_attacksLeft = attacks;
    return true;
}

bool CGameAiAir::WriteBattleFile(std::ostream& out) const
{
    if (!CGameAiAssault::WriteBattleFile(out))
        return false;
    out << std::to_string(m_attacksLeft) + '\n';
    return static_cast<bool>(out);
}
