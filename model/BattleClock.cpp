#include "model/BattleClock.h"

#include <climits>

#include "model/Geometry.h"

namespace {

// Counter plus step in 64 bits: a hostile battle file may hold a counter near
// the int limit.
long long CounterAfter(std::int32_t counter, int step) { return static_cast<long long>(counter) + step; }

} // namespace

const char* PhaseName(int phase)
{
    switch (phase) {
    case 1:
        return "Defensive Fire Phase";
    case 2:
        return "Final Phase";
    default:
        return "Initial Phase";
    }
}

BattleClock::BattleClock(std::int32_t counter, std::int32_t side, std::int32_t phase, std::int32_t timeLimit)
    : HexMap(1, 1)
    , m_timeLimit(timeLimit)
{
    SetCounter(counter);
    if (!SetSide(side))
        m_side = 0;
    SetPhase(phase);
}

void BattleClock::Reset()
{
    m_counter = 0;
    m_side = 0;
    m_phase = 0;
    m_timeLimit = kDefaultTimeLimit;
}

bool BattleClock::IsOver(int firstSide, int step, bool threePhase) const
{
    if (m_side == firstSide || CounterAfter(m_counter, step) < m_timeLimit)
        return false;
    return !threePhase || m_phase == 2;
}

void BattleClock::Advance(int firstSide, int step, bool threePhase)
{
    bool turnEnds = true;
    if (threePhase && m_phase < 2) {
        ++m_phase;
        turnEnds = false;
    } else {
        m_phase = 0;
    }
    m_side = OtherSide(m_side);
    if (turnEnds && m_side == firstSide) {
        const long long counter = CounterAfter(m_counter, step);
        m_counter = static_cast<std::int32_t>(counter > INT_MAX ? INT_MAX : counter < 0 ? 0 : counter);
    }
}

void BattleClock::GetLabel(String& out, bool threePhase) const
{
    out = ConcatStringText(ConcatTexts(SideName(m_side), " "), threePhase ? PhaseName(m_phase) : "Turn");
}

std::int32_t BattleClock::GetTurnNumber(int step) const
{
    if (step < 1)
        return 1;
    // A battle file may hold a counter at the int limit.
    const long long turn = static_cast<long long>(m_counter) / step + 1;
    return static_cast<std::int32_t>(turn > INT_MAX ? INT_MAX : turn);
}

bool BattleClock::SetSide(std::int32_t side)
{
    if (side != 0 && side != 1)
        return false;
    m_side = side;
    return true;
}
