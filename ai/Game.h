#pragma once
// The game object: one battle's whole state and every rule, built as a chain
// of layers from the movement costs up to here. The frame builds one and keeps
// it for the life of the program. This top layer holds who plays each side.

#include <cstdint>

#include "ai/GameAiIndirect.h"

// Who plays a side.
enum AiMode : int {
    kAiManual = 0, // a person
    kAiScenarioComputer = 1, // the computer, by the orders the battle carries
    kAiPlanningComputer = 2, // the computer, planning its own orders
};

class CGame : public CGameAiIndirect {
public:
    CGame() = default;
    ~CGame() override = default;

    // A side played by the computer under fog of war is hidden from its opponent.
    bool IsSideHidden(int side) const override;

    // Who plays a side (0 or 1; another side changes nothing). Handed to the
    // computer, a side without objectives gets its list built; when it is the
    // side to move, the enemy distances are rebuilt and, outside the
    // Defensive Fire Phase, its moves prepared.
    // A person: mode 0, no fog, and the side's objective list emptied.
    void SetSideManual(int side);
    // The computer by the orders the battle carries: mode 1, no fog.
    void SetSideScenarioComputer(int side);
    // The computer with its own planning, run at once; the fog byte stays.
    void SetSidePlanningComputer(int side);
    // The menu's "Computer" and "Computer with FOW".
    void SetSideComputer(int side);
    void SetSideComputerFow(int side);
    // Mode 0, 1 or 2 to the setters above; any other mode does nothing.
    void SetSideMode(int side, int mode);
    void SetSideFogOfWar(int side, std::uint8_t fog);

    // The planning pass for the side (-1: the side to move): the enemy
    // distances, then the pass.
    void PlanSide(int side);
    // The side's summaries rebuilt; orders stay.
    void RunPlanningPass(int side);

    // The clock and turn text, with " A/I Control" while the computer plays
    // the side to move.
    void GetStatusText(String& out) const;

    // The last block of a saved battle: the plan flags, then mode and fog
    // byte of side 1 and of side 0. Modes are stored as read (nothing is
    // planned); with the side to move computer-run the enemy distances are
    // rebuilt. The last value's line end stays in the stream.
    bool ReadBattleFile(std::istream& in, bool keepVersion10) override;
    bool WriteBattleFile(std::ostream& out) const override;
    // Both sides back to manual play. The fog bytes are the frame's choice
    // and stay (a scenario's opening report is made under them); a failed
    // read of a saved battle clears them with the rest.
    void ResetBattleState() override;

    int m_aiMode[2] = { kAiManual, kAiManual };
    std::uint8_t m_aiFog[2] = { 0, 0 };
    // Marks a side played by the orders its battle carries; saved, never read
    // by a decision.
    std::uint32_t m_planFlag[2] = { 0, 0 };
    // Set by the planning pass when it started a Banzai attack; the turn
    // driver plays its sound and clears it.
    bool m_banzaiSound = false;

private:
    // A failed read of a saved battle (with the reason of this block, when
    // it failed here) leaves no computer state, fog bytes included.
    bool FailReadClearingFog(const char* reason = nullptr);
    void EnsureObjectives(int side);
    void PrepareIfToMove(int side);
};
