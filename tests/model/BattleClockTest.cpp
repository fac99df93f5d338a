#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "model/BattleClock.h"
#include "model/Geometry.h"

namespace {

struct Moment {
    int side;
    int phase;
    int counter;
    friend bool operator==(const Moment&, const Moment&) = default;
};

std::ostream& operator<<(std::ostream& out, const Moment& m)
{
    return out << "side " << m.side << " phase " << m.phase << " counter " << m.counter;
}

// Plays phase changes as the session does: ask IsOver, and advance unless it
// says the battle ends. Returns every phase played, the last one included.
std::vector<Moment> PlayBattle(BattleClock& clock, int firstSide, int step, bool threePhase)
{
    std::vector<Moment> played;
    for (int guard = 0; guard < 1000; ++guard) {
        played.push_back({ clock.GetSide(), clock.GetPhase(), clock.GetCounter() });
        if (clock.IsOver(firstSide, step, threePhase))
            break;
        clock.Advance(firstSide, step, threePhase);
    }
    return played;
}

} // namespace

TEST(BattleClockTest, StartsAsGivenOnAOneHexMap)
{
    const BattleClock standard;
    EXPECT_EQ(standard.GetCounter(), 0);
    EXPECT_EQ(standard.GetSide(), 0);
    EXPECT_EQ(standard.GetPhase(), 0);
    EXPECT_EQ(standard.GetTimeLimit(), 60);
    EXPECT_EQ(standard.GetWidth(), 1);
    EXPECT_EQ(standard.GetHeight(), 1);

    BattleClock clock(30, 1, 2, 90);
    EXPECT_EQ(clock.GetCounter(), 30);
    EXPECT_EQ(clock.GetSide(), 1);
    EXPECT_EQ(clock.GetPhase(), 2);
    EXPECT_EQ(clock.GetTimeLimit(), 90);

    // Reset leaves the map alone.
    std::string text = "3\n2 1\n0 25 1 1 0 4\nfw\n00\n";
    for (int layer = 0; layer < 19; ++layer)
        text += "0\n";
    text += "0\n";
    std::istringstream in(text);
    ASSERT_TRUE(clock.ReadMapFile(in));
    EXPECT_EQ(clock.GetCounter(), 30); // reading a map keeps the clock
    EXPECT_EQ(clock.GetSide(), 1);
    clock.Reset();
    EXPECT_EQ(clock.GetCounter(), 0);
    EXPECT_EQ(clock.GetSide(), 0);
    EXPECT_EQ(clock.GetPhase(), 0);
    EXPECT_EQ(clock.GetTimeLimit(), 60);
    EXPECT_EQ(clock.GetWidth(), 2);
    EXPECT_EQ(clock.GetRegion(), 4);
    EXPECT_EQ(clock.GetTerrain(1, 0), kTerrainWater);

    // A failed map read empties the map but not the clock.
    BattleClock later(40, 1, 0, 60);
    std::istringstream bad("9\n");
    EXPECT_FALSE(later.ReadMapFile(bad));
    EXPECT_EQ(later.GetCounter(), 40);
    EXPECT_EQ(later.GetSide(), 1);
}

TEST(BattleClockTest, PlainTurnsEndAfterTheOtherSideReachesTheLimit)
{
    // First side 1, step 10, limit 60: the battle ends when side 0 finishes
    // the turn in which the counter is 50.
    BattleClock clock(0, 1, 0, 60);
    const std::vector<Moment> played = PlayBattle(clock, 1, 10, false);
    ASSERT_EQ(played.size(), 12u);
    for (std::size_t i = 0; i < played.size(); ++i) {
        const Moment expected { i % 2 == 0 ? 1 : 0, 0, static_cast<int>(i / 2) * 10 };
        EXPECT_EQ(played[i], expected) << i;
    }
    EXPECT_EQ(played.back(), (Moment { 0, 0, 50 }));
    EXPECT_EQ(clock.GetTurnNumber(10), 6);

    // The first side at the limit does not end the battle; a counter past the
    // limit ends it at once for the other side.
    EXPECT_FALSE(BattleClock(60, 1, 0, 60).IsOver(1, 10, false));
    EXPECT_TRUE(BattleClock(70, 0, 0, 60).IsOver(1, 10, false));
    EXPECT_FALSE(BattleClock(40, 0, 0, 60).IsOver(1, 10, false));
}

TEST(BattleClockTest, ThreePhaseTurnsEndAfterTheOtherSidesFinalPhase)
{
    BattleClock clock(0, 0, 0, 20);
    const std::vector<Moment> played = PlayBattle(clock, 0, 10, true);
    const std::vector<Moment> expected = {
        // First side Initial, other Defensive Fire, first Final, other Initial,
        // first Defensive Fire, other Final; the counter grows when the first
        // side begins a new turn.
        { 0, 0, 0 },
        { 1, 1, 0 },
        { 0, 2, 0 },
        { 1, 0, 0 },
        { 0, 1, 0 },
        { 1, 2, 0 },
        { 0, 0, 10 },
        { 1, 1, 10 },
        { 0, 2, 10 },
        { 1, 0, 10 },
        { 0, 1, 10 },
        { 1, 2, 10 },
    };
    EXPECT_EQ(played, expected);

    // The other side at the limit ends the battle only in its Final Phase.
    EXPECT_FALSE(BattleClock(10, 1, 0, 20).IsOver(0, 10, true));
    EXPECT_FALSE(BattleClock(10, 1, 1, 20).IsOver(0, 10, true));
    EXPECT_TRUE(BattleClock(10, 1, 2, 20).IsOver(0, 10, true));
    EXPECT_FALSE(BattleClock(10, 0, 2, 20).IsOver(0, 10, true));
}

TEST(BattleClockTest, CounterNeverOverflows)
{
    BattleClock clock(2147483640, 1, 0, 60);
    EXPECT_TRUE(clock.IsOver(0, 10, false));
    clock.Advance(0, 10, false);
    EXPECT_EQ(clock.GetSide(), 0);
    EXPECT_EQ(clock.GetCounter(), 2147483647);
    // The turn shown for that counter stays in range too.
    EXPECT_EQ(clock.GetTurnNumber(1), 2147483647);
    EXPECT_EQ(clock.GetTurnNumber(10), 214748365);
}

TEST(BattleClockTest, ReadsAndWritesTheBattleFileLine)
{
    struct Case {
        const char* line;
        bool ok;
        int counter, side, phase, limit;
    };
    const Case cases[] = {
        { "30 1 2 90", true, 30, 1, 2, 90 },
        { "-5 0 1 60", true, 0, 0, 1, 60 }, // a negative counter is read as 0
        { "10 1 7 60", true, 10, 1, 0, 60 }, // an unknown phase is the Initial Phase
        { "10 2 0 60", false, 7, 0, 1, 50 }, // side 2 makes the file invalid
        { "10 -1 0 60", false, 7, 0, 1, 50 },
        { "10 1 0", false, 7, 0, 1, 50 },
        { "10 one 0 60", false, 7, 0, 1, 50 },
        { "99999999999 0 0 60", false, 7, 0, 1, 50 },
    };
    for (const Case& c : cases) {
        BattleClock clock(7, 0, 1, 50);
        std::istringstream in(c.line);
        EXPECT_EQ(clock.Read(in), c.ok) << c.line;
        EXPECT_EQ(clock.GetCounter(), c.counter) << c.line;
        EXPECT_EQ(clock.GetSide(), c.side) << c.line;
        EXPECT_EQ(clock.GetPhase(), c.phase) << c.line;
        EXPECT_EQ(clock.GetTimeLimit(), c.limit) << c.line;
    }

    const BattleClock clock(30, 1, 2, 90);
    std::stringstream file;
    ASSERT_TRUE(clock.Write(file));
    EXPECT_EQ(file.str(), "30 1 2 90");
    BattleClock copy;
    ASSERT_TRUE(copy.Read(file));
    EXPECT_EQ(copy.GetCounter(), 30);
    EXPECT_EQ(copy.GetTimeLimit(), 90);
}

TEST(BattleClockTest, LabelsAndPhaseNames)
{
    SetSideNames(nullptr, nullptr);
    String label;
    BattleClock(0, 1, 0, 60).GetLabel(label, false);
    EXPECT_EQ(label.str(), "Soviet Bloc Turn");
    BattleClock(0, 0, 1, 60).GetLabel(label, true);
    EXPECT_EQ(label.str(), "NATO Defensive Fire Phase");
    BattleClock(0, 1, 2, 60).GetLabel(label, true);
    EXPECT_EQ(label.str(), "Soviet Bloc Final Phase");

    EXPECT_STREQ(PhaseName(0), "Initial Phase");
    EXPECT_STREQ(PhaseName(1), "Defensive Fire Phase");
    EXPECT_STREQ(PhaseName(2), "Final Phase");
    EXPECT_STREQ(PhaseName(3), "Initial Phase");
    EXPECT_STREQ(PhaseName(-1), "Initial Phase");

    BattleClock clock;
    EXPECT_FALSE(clock.SetSide(2));
    EXPECT_EQ(clock.GetSide(), 0);
    EXPECT_EQ(clock.GetTurnNumber(0), 1);
}
