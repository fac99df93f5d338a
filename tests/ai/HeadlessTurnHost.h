#pragma once
// The computer's turn without a frame: every text the driver shows, every
// sound and every phase start is kept in order as a transcript, and phases
// end through the headless turn driver. It never cancels; it can stop the
// driver when the clock's turn changes.

#include <sstream>
#include <string>

#include "ai/ComputerTurn.h"
#include "ai/Game.h"
#include "tests/ai/TurnDriver.h"

class CHeadlessTurnHost : public CComputerTurnHost {
public:
    explicit CHeadlessTurnHost(CGame& game)
        : m_game(game)
        , m_driver(game)
    {
    }

    bool ShowReport(const String& text, const char* caption, int level, int pauseMs) override
    {
        std::ostringstream line;
        line << '[' << (*caption ? caption : "-") << ' ' << level;
        if (pauseMs != 0)
            line << ' ' << pauseMs << " ms";
        line << "]\n";
        Record(line.str() + text.str());
        return true;
    }
    void PlaySound(const char* name) override { Record(std::string("[sound] ") + name); }
    bool EndPhase() override
    {
        const int turn = m_game.GetCurrentTurn();
        const bool goesOn = m_driver.EndPhase();
        for (const std::string& entry : m_driver.TakeLog())
            Record(entry);
        ++m_phasesEnded;
        if (!goesOn) {
            m_battleOver = true;
            return false;
        }
        String clock;
        m_game.GetStatusText(clock);
        Record("== " + clock.str() + " ==");
        if (m_stopAtTurnChange && m_computer && m_game.GetCurrentTurn() != turn)
            m_computer->RequestStop();
        return true;
    }

    void Record(const std::string& entry)
    {
        m_transcript += entry;
        if (m_transcript.back() != '\n')
            m_transcript += '\n';
    }

    std::string m_transcript;
    int m_phasesEnded = 0;
    bool m_battleOver = false;
    // With a driver given, it is stopped after the phase change that starts
    // a new turn.
    bool m_stopAtTurnChange = false;
    CComputerTurn* m_computer = nullptr;

protected:
    CGame& m_game;
    CTurnDriver m_driver;
};
