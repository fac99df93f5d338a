#pragma once
// A frame without a window at the end of a phase: what the frame's Turn
// layer does when a player ends a phase. The phase advance (false: the
// battle is over), the phase start with its report, then in the Initial and
// Final Phases the air strikes that arrive, and in the Initial Phase the
// plotted fire of the side now to move. Each report is kept as the frame
// would show it; the computer opponent's battle tests drive phases with it
// too.

#include <cstdint>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "ai/Game.h"
#include "tests/rules/AirMineLanding.h"
#include "tests/rules/IndirectFireLanding.h"

class CTurnDriver {
public:
    explicit CTurnDriver(CGame& game)
        : m_game(game)
    {
    }

    // Ends the phase and starts the next one; false when the battle is over.
    bool EndPhase()
    {
        if (!NextPhase())
            return false;
        BeginPhase();
        return true;
    }

    // The phase change alone; false when the battle is over.
    bool NextPhase()
    {
        if (m_game.NextPhase())
            return true;
        Show("Next Phase Report", "Time limit reached in scenario");
        return false;
    }

    // The start of the phase the change made: its report, then what lands.
    void BeginPhase()
    {
        String text;
        HexList hexes;
        std::vector<int> offMap;
        m_released.clear();
        m_groups.clear();
        m_game.BeginPhase(text, hexes, offMap, m_groups, m_released);
        Show("HQ report", text.str());
        const int phase = m_game.m_map.GetPhase();
        if (phase == 0 || phase == 2)
            for (const LandedAirStrike& strike : LandAirStrikes(m_game)) {
                if (strike.recalled) {
                    Show("Air strike", "Air strike has been recalled");
                    continue;
                }
                Show("Air strike defence", strike.defenceReport);
                Show("Air strike", strike.report);
            }
        if (phase == 0)
            for (const LandedMission& mission : LandPlottedFire(m_game))
                Show("Plotted fire", mission.report);
    }

    // The reports shown since the last call, each headed by its kind.
    std::vector<std::string> TakeLog() { return std::exchange(m_log, {}); }

    // What the last phase start brought: the arrived groups and released units.
    std::vector<int> m_groups;
    std::vector<int> m_released;

private:
    // A report that says nothing is not shown.
    void Show(const std::string& kind, const std::string& text)
    {
        if (!text.empty())
            m_log.push_back(kind + ":\n" + text + (text.back() == '\n' ? "" : "\n") + ".");
    }

    CGame& m_game;
    std::vector<std::string> m_log;
};

// Opens a scenario as the frame opens a new battle: the battle state reset,
// then the scenario read with both sides computer-run under the given fog.
// False when the read failed (its text is in m_battleReadError).
inline bool OpenComputerScenario(CGame& game, const std::string& path, std::uint8_t fog)
{
    game.ResetBattleState();
    std::ifstream in(path, std::ios::binary);
    const int modes[2] = { kAiPlanningComputer, kAiPlanningComputer };
    const std::uint8_t fogs[2] = { fog, fog };
    String text;
    std::vector<int> groups, released;
    HexList hexes;
    return game.ReadScenario(in, modes, fogs, text, groups, released, hexes);
}
