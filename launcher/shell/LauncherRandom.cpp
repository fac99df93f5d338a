#include "launcher/shell/LauncherRandom.h"

#include <algorithm>

#include "model/Clock.h"

void LauncherRandom::SeedRandom()
{
    const std::int64_t seconds = m_timeSource ? m_timeSource() : CurrentTimeSeconds();
    SeedWith(static_cast<std::uint32_t>(seconds));
}

std::int16_t LauncherRandom::RollDice(std::int16_t count, std::int16_t sides, std::int16_t add)
{
    std::uint16_t sum = static_cast<std::uint16_t>(add);
    for (int i = 0; i < count; ++i)
        sum = static_cast<std::uint16_t>(sum + static_cast<std::uint16_t>(RollRandom(sides)));
    return static_cast<std::int16_t>(sum);
}

void LauncherRandom::ScriptValues(std::initializer_list<int> values)
{
    for (int value : values)
        m_script.push_back(std::clamp(value, 0, kMaxValue));
}

void LauncherRandom::ScriptValues(const std::vector<int>& values)
{
    for (int value : values)
        m_script.push_back(std::clamp(value, 0, kMaxValue));
}

int LauncherRandom::TakeScripted()
{
    const int value = m_script.front();
    m_script.pop_front();
    return value;
}
