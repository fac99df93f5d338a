#pragma once
// Fire tables forced to one outcome per column and the global generator's
// states counted by hand, for the tests of results worked out from a seed.

#include <cstdint>

#include "model/ParameterData.h"

// The generator's state after that many more draws: its formula applied
// independently of the generator (state * 1103515245 + 12345 mod 2^32).
inline std::uint32_t AdvanceRandomState(std::uint32_t state, int draws)
{
    for (int i = 0; i < draws; ++i)
        state = state * 1103515245u + 12345u;
    return state;
}

// A shot's outcome on the fire table.
enum ForcedOutcome {
    kThreeAndThree = 0,
    kTwoAndTwo = 1,
    kOneAndOne = 2,
    kDisruptOnly = 3,
    kRetreatOnly = 4,
    kNothing = 5
};

// Two columns: below ratio 1 (attack under the defence) every shot gives
// low; from ratio 2 (attack twice the defence) every shot gives high.
inline void ForceFireColumns(ParameterData& p, ForcedOutcome low, ForcedOutcome high)
{
    p.m_fireColumnCount = 2;
    p.m_fireNumerators = { 1, 2 };
    p.m_fireDenominators = { 1, 1 };
    p.m_fireOutcomes.assign(2, {});
    if (low != kNothing)
        p.m_fireOutcomes[0][low] = 100;
    if (high != kNothing)
        p.m_fireOutcomes[1][high] = 100;
}
