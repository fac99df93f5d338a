#pragma once
// The game object's map member: the battle's map extended by the elapsed
// battle time, the side to move, the phase and the time limit. It decides how
// a phase change advances time and side, and when the battle is over.

#include <cstdint>
#include <istream>
#include <ostream>

#include "model/HexMap.h"
#include "model/String.h"

// "Defensive Fire Phase" for 1, "Final Phase" for 2, "Initial Phase" for
// anything else.
const char* PhaseName(int phase);

class BattleClock : public HexMap {
public:
    static constexpr std::int32_t kDefaultTimeLimit = 60;

    // A 1 by 1 map with the given clock values. The game object passes 0, 0, 0, 60.
    explicit BattleClock(std::int32_t counter = 0, std::int32_t side = 0, std::int32_t phase = 0,
        std::int32_t timeLimit = kDefaultTimeLimit);

    // Counter, side and phase 0; time limit 60. The map is not touched.
    void Reset();

    // Whether the next Advance ends the battle: the side to move is not the
    // first side and the counter plus the step reaches the time limit; with
    // three-phase turns only in the Final Phase.
    bool IsOver(int firstSide, int step, bool threePhase) const;
    // Moves to the next phase or turn (the side to move always changes; the
    // counter grows by the step when the first side is to move again at the
    // start of a turn).
    void Advance(int firstSide, int step, bool threePhase);

    // The side's name, a blank, then the phase name with three-phase turns or
    // "Turn" without.
    void GetLabel(String& out, bool threePhase) const;

    // The battle-file line: counter, side, phase, time limit. A negative
    // counter is read as 0 and a phase outside 0..2 as 0; a side other than 0
    // or 1 fails. On failure nothing changes.
    template <class In> bool Read(In& in)
    {
        std::int32_t counter = 0;
        std::int32_t side = 0;
        std::int32_t phase = 0;
        std::int32_t timeLimit = 0;
        in >> counter >> side >> phase >> timeLimit;
        if (!in || (side != 0 && side != 1))
            return false;
        SetCounter(counter);
        m_side = side;
        SetPhase(phase);
        m_timeLimit = timeLimit;
        return true;
    }
    // The four values separated by one blank, without a line feed.
    template <class Out> bool Write(Out& out) const
    {
        out << m_counter << ' ' << m_side << ' ' << m_phase << ' ' << m_timeLimit;
        return static_cast<bool>(out);
    }

    std::int32_t GetCounter() const { return m_counter; }
    std::int32_t GetSide() const { return m_side; }
    std::int32_t GetPhase() const { return m_phase; }
    std::int32_t GetTimeLimit() const { return m_timeLimit; }
    // The turn shown to players: counter / step + 1 (1 for a step below 1),
    // at most the int limit.
    std::int32_t GetTurnNumber(int step) const;

    // Negative counters become 0.
    void SetCounter(std::int32_t counter) { m_counter = counter < 0 ? 0 : counter; }
    // False, and nothing changes, for a side other than 0 or 1.
    bool SetSide(std::int32_t side);
    // Phases outside 0..2 become 0.
    void SetPhase(std::int32_t phase) { m_phase = phase >= 0 && phase <= 2 ? phase : 0; }
    void SetTimeLimit(std::int32_t timeLimit) { m_timeLimit = timeLimit; }

private:
    std::int32_t m_counter = 0; // elapsed battle time in the units of the step
    std::int32_t m_side = 0; // side to move, 0 or 1
    std::int32_t m_phase = 0; // 0 Initial, 1 Defensive Fire, 2 Final
    std::int32_t m_timeLimit = kDefaultTimeLimit;
};
