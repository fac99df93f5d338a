#pragma once
// The game object: one battle's whole state and every rule, built as a chain
// of layers from the movement costs up to here. The frame builds one and keeps
// it for the life of the program.

#include <cstdint>

#include "ai/GameAiIndirect.h"

class CGame : public CGameAiIndirect {
public:
    CGame() = default;
    ~CGame() override = default;

    // A side played by the computer under fog of war is hidden from its opponent.
    bool IsSideHidden(int side) const override;

    std::uint8_t m_aiFog[2] = { 0, 0 };
};
