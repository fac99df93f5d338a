#pragma once

// A small linear congruential generator for scattering features over made-up
// test and benchmark maps, kept apart from the game's own generator so that
// building a scene never moves the game's draws.

#include <cstdint>

class Scatter {
public:
    explicit Scatter(std::uint32_t seed)
        : m_state(seed)
    {
    }

    // A value in 0..n-1; n must be positive.
    int Below(int n)
    {
        m_state = m_state * 1103515245u + 12345u;
        return static_cast<int>((m_state >> 8) % static_cast<std::uint32_t>(n));
    }

private:
    std::uint32_t m_state;
};
