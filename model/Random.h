#pragma once
// The linear congruential generator of the rules and its one global instance.
// Every rule draw comes from the global generator in a fixed order, so two
// machines that set the same seed compute the same battle.

#include <cstdint>
#include <memory>

class CRandomSource {
public:
    virtual double Next() = 0;

protected:
    ~CRandomSource() = default;
};

class CRandomGenerator final : public CRandomSource {
public:
    // Seeded with the current time.
    CRandomGenerator();
    explicit CRandomGenerator(std::uint32_t seed)
        : m_state(seed)
    {
    }
    static CRandomGenerator CRandomGeneratorSeeded(std::uint32_t seed) { return CRandomGenerator(seed); }

    // state = state * 1103515245 + 12345 (mod 2^32); the low 31 bits as a
    // fraction of 2^31, in [0, 1).
    double Next() override;

    std::uint32_t State() const { return m_state; }
    void SetState(std::uint32_t state) { m_state = state; }

private:
    std::uint32_t m_state;
};

// Owning holder of a private generator, for choices that must not disturb the
// global sequence.
class RandomGeneratorPtr {
public:
    static RandomGeneratorPtr InitTimeSeeded();
    static RandomGeneratorPtr InitSeeded(std::uint32_t seed);

    CRandomGenerator& operator*() const { return *m_generator; }
    CRandomGenerator* operator->() const { return m_generator.get(); }

private:
    explicit RandomGeneratorPtr(std::unique_ptr<CRandomGenerator> generator)
        : m_generator(std::move(generator))
    {
    }
    std::unique_ptr<CRandomGenerator> m_generator;
};

CRandomGenerator& GlobalRandomGenerator();
double UniformRandom();
// 1 to n.
int RollDie(int n);
void SetRandomSeed(std::uint32_t seed);
