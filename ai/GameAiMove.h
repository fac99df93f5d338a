#pragma once
// The computer opponent's move steps: at the start of each phase of a
// computer side, how many groups each objective still needs.

#include <cstdint>

#include "ai/GameAiAir.h"

class CGameAiMove : public CGameAiAir {
public:
    CGameAiMove() = default;
    ~CGameAiMove() override = default;

    // Per objective of the side to move, in its list's order: the units of
    // the other side minus those of the side to move within the square of
    // radius w1 around it. A positive score is the number of groups still
    // to send there.
    void ScoreObjectives();
    // At the start of a computer side's phase: the phase's air attacks, the
    // objective scores, and the reinforcement stage opened.
    void PrepareMoves();

    // The objective scores, ended by 9999.
    bool ReadBattleFile(std::istream& in, bool keepVersion10) override;
    bool WriteBattleFile(std::ostream& out) const override;
    // No scores, and the reinforcement stage open.
    void ResetBattleState() override;

    ValueList<int> m_objectiveScores;
    // Set while the reinforcement stage of the move step is still open.
    std::uint8_t m_stepFlag = 0;
};
