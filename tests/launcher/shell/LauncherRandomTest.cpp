#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "launcher/shell/LauncherRandom.h"
#include "model/Random.h"

TEST(LauncherRandomTest, ValuesAreBits16To30OfTheNextState)
{
    // The classic 15-bit sequence: seed 1 starts 16838.
    LauncherRandom random;
    random.SeedWith(1);
    EXPECT_EQ(random.NextValue(), 16838);

    std::uint32_t state = 12345;
    random.SeedWith(state);
    for (int i = 0; i < 100; ++i) {
        state = state * 1103515245u + 12345u;
        ASSERT_EQ(random.NextValue(), static_cast<int>((state >> 16) & 0x7fff)) << "draw " << i;
    }
}

TEST(LauncherRandomTest, RollRandomStaysWithinOneToN)
{
    struct Case {
        int value;
        std::int16_t n;
        std::int16_t expected;
    };
    const Case cases[] = {
        { 0, 1, 1 }, { 32767, 1, 1 }, { 16383, 1, 1 }, // n 1 is always 1
        { 0, 6, 1 }, { 5461, 6, 1 }, { 5462, 6, 2 }, { 32766, 6, 6 },
        { 32767, 6, 6 }, // the formula gives 7 at the top value
        { 32767, 100, 100 }, { 32767, 32767, 32767 }, { 0, 0, 1 }, { 32767, 0, 1 }, { 12, -5, 1 },
        { 32767, -32768, 1 }, // n <= 0
    };
    for (const Case& c : cases) {
        LauncherRandom random;
        random.ScriptValues({ c.value, 777 });
        EXPECT_EQ(random.RollRandom(c.n), c.expected) << "value " << c.value << " n " << c.n;
        // Exactly one value was taken, for n <= 0 too.
        EXPECT_EQ(random.NextValue(), 777) << "value " << c.value << " n " << c.n;
    }

    LauncherRandom random;
    random.SeedWith(2024);
    int seen[8] = {};
    for (int i = 0; i < 6000; ++i) {
        const int d = random.RollRandom(6);
        ASSERT_GE(d, 1);
        ASSERT_LE(d, 6);
        ++seen[d];
    }
    for (int face = 1; face <= 6; ++face)
        EXPECT_GT(seen[face], 800) << "face " << face;
}

TEST(LauncherRandomTest, DiceAndPercent)
{
    LauncherRandom random;
    random.SeedWith(99);
    bool sawLow = false;
    bool sawHigh = false;
    for (int i = 0; i < 2000; ++i) {
        const int sum = random.RollDice(2, 6, 3);
        ASSERT_GE(sum, 5);
        ASSERT_LE(sum, 15);
        sawLow |= sum == 5;
        sawHigh |= sum == 15;
    }
    EXPECT_TRUE(sawLow && sawHigh);

    // Count 0 (or below) gives the addend and draws nothing.
    random.ScriptValues({ 32767 });
    EXPECT_EQ(random.RollDice(0, 6, 4), 4);
    EXPECT_EQ(random.RollDice(-3, 6, -2), -2);
    EXPECT_EQ(random.NextValue(), 32767);
    // Scripted dice: 1 + 6 + 3.
    random.ScriptValues({ 0, 32767 });
    EXPECT_EQ(random.RollDice(2, 6, 3), 10);

    for (int value : { 0, 1, 16383, 32766, 32767 }) {
        random.ScriptValues({ value, value, value, value });
        EXPECT_FALSE(random.RollPercent(0)) << value;
        EXPECT_FALSE(random.RollPercent(-100)) << value;
        EXPECT_TRUE(random.RollPercent(100)) << value;
        EXPECT_TRUE(random.RollPercent(127)) << value;
    }
    // 50 percent: RollRandom(100) <= 50.
    random.ScriptValues({ 16055, 16056, 16384 });
    EXPECT_TRUE(random.RollPercent(50)); // trunc(48.99..) + 1 = 49
    EXPECT_TRUE(random.RollPercent(50)); // 50
    EXPECT_FALSE(random.RollPercent(50)); // 51
}

TEST(LauncherRandomTest, AFixedTimeRepeatsTheSequence)
{
    auto draws = [](std::int64_t seconds) {
        LauncherRandom random;
        random.SetTimeSource([seconds] { return seconds; });
        random.SeedRandom();
        std::vector<int> values;
        for (int i = 0; i < 50; ++i)
            values.push_back(random.RollRandom(1000));
        return values;
    };
    EXPECT_EQ(draws(1'700'000'000), draws(1'700'000'000));
    EXPECT_NE(draws(1'700'000'000), draws(1'700'000'001));

    // The launcher's draws leave the game's global generator alone.
    SetRandomSeed(5);
    const std::uint32_t before = GlobalRandomGenerator().State();
    draws(3);
    EXPECT_EQ(GlobalRandomGenerator().State(), before);
}
