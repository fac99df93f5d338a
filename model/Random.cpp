#include "model/Random.h"

#include "model/Clock.h"

CRandomGenerator::CRandomGenerator()
    : m_state(static_cast<std::uint32_t>(CurrentTimeSeconds()))
{
}

double CRandomGenerator::Next()
{
    m_state = m_state * 1103515245u + 12345u;
    return static_cast<double>(m_state & 0x7fffffffu) / 2147483648.0;
}

RandomGeneratorPtr RandomGeneratorPtr::InitTimeSeeded()
{
    return RandomGeneratorPtr(std::make_unique<CRandomGenerator>());
}

RandomGeneratorPtr RandomGeneratorPtr::InitSeeded(std::uint32_t seed)
{
    return RandomGeneratorPtr(std::make_unique<CRandomGenerator>(seed));
}

CRandomGenerator& GlobalRandomGenerator()
{
    // Built on first use (seeded from the clock then), so no static
    // initialisation order can reach it unbuilt.
    static CRandomGenerator g_randomGenerator;
    return g_randomGenerator;
}

double UniformRandom() { return GlobalRandomGenerator().Next(); }

int RollDie(int n) { return static_cast<int>(UniformRandom() * n + 1.0); }

void SetRandomSeed(std::uint32_t seed) { GlobalRandomGenerator().SetState(seed); }
