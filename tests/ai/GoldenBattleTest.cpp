// Golden battles: the demo scenario opened as the frame opens it, played by
// the computer on both sides for ten turns from a fixed seed and a fixed
// clock. After each turn the battle is written and compared byte for byte
// with its file under tests/fixtures/golden, and each fog setting's
// transcript of the computer's decisions with its own. Any change in what
// the computer chooses or in what the rules make of it shows here first.
//
// VL_UPDATE_GOLDENS=1 rewrites the files instead; only a change made on
// purpose may do that, and its commit says why.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ai/ComputerTurn.h"
#include "ai/Game.h"
#include "model/Clock.h"
#include "model/Random.h"
#include "tests/Golden.h"
#include "tests/TestFiles.h"
#include "tests/ai/HeadlessTurnHost.h"

namespace {

// The same second at every reading, as in a real run within one second.
std::int64_t FixedClock() { return 1'700'000'000; }
constexpr std::uint32_t kSeed = 20240611;
// Minutes 0 to 54 of the demo's 6-minute turns: every reinforcement group
// and the release can come.
constexpr int kTurns = 10;

struct PlayedTurns {
    // The battle as written after each turn, from the first.
    std::vector<std::string> battles;
    std::string transcript;
    bool over = false;
};

// Opens the demo scenario with both sides computer-run and the given fog,
// and plays it turn by turn.
PlayedTurns PlayGolden(std::uint8_t fog)
{
    PlayedTurns played;
    SetRandomSeed(kSeed);
    CGame game;
    if (!OpenComputerScenario(game, "demo.scn", fog)) {
        ADD_FAILURE() << "demo.scn: " << game.m_battleReadError.str();
        return played;
    }
    CHeadlessTurnHost host(game);
    CComputerTurn computer(game, host);
    host.m_computer = &computer;
    host.m_stopAtTurnChange = true;
    for (int turn = 1; turn <= kTurns; ++turn) {
        host.Record("==== turn " + std::to_string(turn) + " ====");
        const CComputerTurn::Outcome outcome = computer.RunComputerTurn();
        std::ostringstream out;
        EXPECT_TRUE(game.WriteBattle(out)) << "turn " << turn;
        played.battles.push_back(out.str());
        if (outcome == CComputerTurn::Outcome::BattleOver) {
            played.over = true;
            break;
        }
        EXPECT_EQ(outcome, CComputerTurn::Outcome::Stopped) << "turn " << turn;
        EXPECT_EQ(game.GetCurrentTurn(), turn + 1);
    }
    played.transcript = host.m_transcript;
    return played;
}

std::string GoldenName(int fog, const char* what)
{
    char name[64];
    std::snprintf(name, sizeof name, "golden/demo-fog%d-%s", fog, what);
    return name;
}

class GoldenBattleTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { SetTimeSource(&FixedClock); }
    void TearDown() override { SetTimeSource(nullptr); }

    ScopedCurrentDir m_inData { DemoDataFolder() };
};

TEST_P(GoldenBattleTest, TenTurnsOfTheDemoEqualTheirFilesAndASecondRunTheFirst)
{
    const int fog = GetParam();
    const PlayedTurns played = PlayGolden(static_cast<std::uint8_t>(fog));
    // Ten whole turns: the demo lasts longer than that.
    ASSERT_EQ(played.battles.size(), static_cast<std::size_t>(kTurns));
    EXPECT_FALSE(played.over);
    EXPECT_EQ(played.transcript.find(CComputerTurn::kLimitText), std::string::npos);
    for (int turn = 1; turn <= kTurns; ++turn) {
        char what[32];
        std::snprintf(what, sizeof what, "turn%02d.btl", turn);
        EXPECT_TRUE(MatchesGolden(GoldenName(fog, what), played.battles[static_cast<std::size_t>(turn - 1)]))
            << "after turn " << turn;
    }
    EXPECT_TRUE(MatchesGolden(GoldenName(fog, "transcript.txt"), played.transcript));

    // Nothing the first run left behind in the process changes the second.
    const PlayedTurns again = PlayGolden(static_cast<std::uint8_t>(fog));
    ASSERT_EQ(again.battles.size(), played.battles.size());
    for (std::size_t turn = 0; turn < played.battles.size(); ++turn)
        EXPECT_EQ(FirstDifference(played.battles[turn], again.battles[turn]), "") << "after turn " << turn + 1;
    EXPECT_EQ(FirstDifference(played.transcript, again.transcript), "");
}

INSTANTIATE_TEST_SUITE_P(Fog, GoldenBattleTest, ::testing::Values(0, 1),
    [](const ::testing::TestParamInfo<int>& info) { return info.param ? "Fog" : "Open"; });

} // namespace
