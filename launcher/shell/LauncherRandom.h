#pragma once
// The launcher's one source of random numbers. The generators draw from it in
// a fixed order, so one seed (the seconds of the time source) always gives the
// same maps and battles. Its values are the 15-bit values 0..32767 the
// formulas were made for, whatever the host's own rand() gives: a private
// generator (never the game's global one) advanced once a draw, bits 16..30
// of its new state.

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

#include "model/Random.h"

class LauncherRandom {
public:
    static constexpr int kMaxValue = 32767;

    // Seeded with 0 until SeedRandom; the time source is the model's clock.
    LauncherRandom() = default;

    // Another source of the seconds SeedRandom takes (a fixed time repeats a
    // sequence); an empty function restores CurrentTimeSeconds.
    void SetTimeSource(std::function<std::int64_t()> source) { m_timeSource = std::move(source); }

    // Seeds with the seconds of the time source.
    void SeedRandom();
    // Seeds with a given value (the low 32 bits of a time).
    void SeedWith(std::uint32_t seed) { m_generator.SetState(seed); }

    // The next value 0..32767: a scripted one first, else from the generator.
    int NextValue()
    {
        if (!m_script.empty()) [[unlikely]]
            return TakeScripted();
        m_generator.Next();
        return static_cast<int>((m_generator.State() >> 16) & 0x7fffu);
    }

    // 1..n: trunc(r / 32767 * n) + 1, r = 32767 giving n. n <= 0 gives 1 (a
    // negative count would index below 0); a value is drawn either way.
    std::int16_t RollRandom(std::int16_t n)
    {
        const int r = NextValue();
        if (n <= 0)
            return 1;
        const int result = static_cast<int>(static_cast<double>(r) / 32767.0 * n) + 1;
        return static_cast<std::int16_t>(result > n ? n : result);
    }

    // count draws of RollRandom(sides) plus add, in 16-bit arithmetic; count
    // <= 0 gives add.
    std::int16_t RollDice(std::int16_t count, std::int16_t sides, std::int16_t add);

    // RollRandom(100) <= p: p >= 100 always, p <= 0 never (one draw either way).
    bool RollPercent(std::int8_t p) { return RollRandom(100) <= p; }

    // Tests: the next draws return these values (each held to 0..32767)
    // before the generator goes on.
    void ScriptValues(std::initializer_list<int> values);
    void ScriptValues(const std::vector<int>& values);

private:
    int TakeScripted();

    CRandomGenerator m_generator { 0 };
    std::function<std::int64_t()> m_timeSource;
    std::deque<int> m_script;
};
