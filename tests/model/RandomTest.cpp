#include <gtest/gtest.h>

#include <cstdint>

#include "model/Clock.h"
#include "model/Random.h"

TEST(RandomTest, FirstValuesAreTheWorkedExamples)
{
    // state = state * 1103515245 + 12345 (mod 2^32), value = low 31 bits / 2^31.
    CRandomGenerator zero(0);
    EXPECT_EQ(zero.Next(), 12345.0 / 2147483648.0);
    // Worked by hand: 42 * 1103515245 + 12345 = 46347652635; its low 32 bits are 0xCA890E1B.
    CRandomGenerator h(42);
    EXPECT_EQ(h.Next(), (0xCA890E1Bu & 0x7fffffffu) / 2147483648.0);
}

TEST(RandomTest, GlobalGeneratorIsSeededAndDiceStayInRange)
{
    SetRandomSeed(7);
    const double first = UniformRandom();
    SetRandomSeed(7);
    EXPECT_EQ(UniformRandom(), first);

    int seen[7] = {};
    SetRandomSeed(12345);
    for (int i = 0; i < 6000; ++i) {
        int d = RollDie(6);
        ASSERT_GE(d, 1);
        ASSERT_LE(d, 6);
        ++seen[d];
    }
    for (int face = 1; face <= 6; ++face)
        EXPECT_GT(seen[face], 800) << "face " << face;
}

TEST(RandomTest, NextNeverReachesOne)
{
    // 0x8DBDBB1E steps to 0x7FFFFFFF, the largest value the low 31 bits hold.
    CRandomGenerator g(0x8DBDBB1Eu);
    const double v = g.Next();
    EXPECT_EQ(g.State(), 0x7fffffffu);
    EXPECT_LT(v, 1.0);
    EXPECT_EQ(static_cast<int>(v * 6 + 1.0), 6);
}

TEST(RandomTest, TimeSeededGeneratorsUseTheInjectedClock)
{
    SetTimeSource([]() -> std::int64_t { return 99; });
    RandomGeneratorPtr a = RandomGeneratorPtr::InitTimeSeeded();
    RandomGeneratorPtr b = RandomGeneratorPtr::InitSeeded(99);
    SetTimeSource(nullptr);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(a->Next(), b->Next());
}
