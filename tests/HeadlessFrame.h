#pragma once
// A frame without a window: it records what the game object asked of it, so
// that tests can check the callbacks and the refusal texts a frame would show.

#include <string>
#include <vector>

#include "model/Callback.h"
#include "model/GameData.h"

class CHeadlessFrame {
public:
    explicit CHeadlessFrame(CGameData& game)
        : m_game(game)
    {
    }

    // Hands the game object its two callbacks, as the units layer does.
    void Attach()
    {
        m_game.SetMoveCallback(MakeMemberCallback(this, &CHeadlessFrame::OnGameMoveStep));
        m_game.SetPlacementCallback(MakeMemberCallback(this, &CHeadlessFrame::OnPlacement));
    }

    void ReportError(const std::string& text)
    {
        if (!text.empty())
            m_errors.push_back(text);
    }

    void OnGameMoveStep()
    {
        if (m_game.m_lastMove)
            m_moveSteps.push_back(*m_game.m_lastMove);
    }

    void OnPlacement()
    {
        if (m_game.m_placement)
            m_placements.push_back(*m_game.m_placement);
    }

    std::vector<std::string> m_errors;
    std::vector<LastMove> m_moveSteps;
    std::vector<PlacementRecord> m_placements;

private:
    CGameData& m_game;
};
