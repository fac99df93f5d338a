#pragma once
// The computer opponent's choice of air attacks: how many it makes in a
// phase of its side.

#include "ai/GameAiAssault.h"

class CGameAiAir : public CGameAiAssault {
public:
    CGameAiAir() = default;
    ~CGameAiAir() override = default;

    // The smallest n with n (n + 1) / 2 at least the side to move's air
    // strikes left; 0 when it has none. Spread over the phases, the strikes
    // go fast while many are left.
    void SetAttacksForPhase();
    static int AttacksForStrikes(int strikes);

    // The attacks left of the phase, on one line after the objective lists.
    bool ReadBattleFile(std::istream& in, bool keepVersion10) override;
    bool WriteBattleFile(std::ostream& out) const override;
    // No attacks are left.
    void ResetBattleState() override;

    int m_attacksLeft = 0;
};
