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

    // The clock and turn text, with " A/I Control" while the computer plays
    // the side to move.
    void GetStatusText(String& out) const;

    // The last block of a saved battle: the plan flags, then mode and fog
    // byte of side 1 and of side 0. Modes are stored as read (nothing is
    // planned); with the side to move computer-run the enemy distances are
    // rebuilt. The last value's line end stays in the stream.
    bool ReadBattleFile(std::istream& in, bool keepVersion10) override;
    bool WriteBattleFile(std::ostream& out) const override;

    int m_aiMode[2] = { kAiManual, kAiManual };
    std::uint8_t m_aiFog[2] = { 0, 0 };
    // Marks a side played by the orders its battle carries; saved, never read
    // by a decision.
    std::uint32_t m_planFlag[2] = { 0, 0 };
    // Set by the planning pass when it started a Banzai attack; the turn
    // driver plays its sound and clears it.
    bool m_banzaiSound = false;

protected:
    // Both sides back to manual play, without fog.
    void ResetAiState() override;
};
