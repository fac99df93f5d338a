// The computer's turn driver: the order of its step states by the battle's
// options, stopping and cancelling without ending the phase, the bound on the
// actions of one phase, and the demo battle played by the computer on both
// sides to its end.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ai/ComputerTurn.h"
#include "ai/Game.h"
#include "model/Clock.h"
#include "model/Random.h"
#include "tests/TestFiles.h"
#include "tests/ai/AiGame.h"
#include "tests/ai/HeadlessTurnHost.h"

namespace {

std::int64_t FixedClock() { return 1'700'000'000; }
constexpr std::uint32_t kSeed = 19191919;

// The states a phase passes through from its first, and the state the next
// phase starts with: "0 6 7 1 > 3" is fire, air, indirect fire, move, then
// the phase ends and the next starts at its fire.
std::string PhaseOrder(int first, int options)
{
    std::string order = std::to_string(first);
    int state = first;
    for (int step = 0; step < 9; ++step) {
        const StepAdvance advance = NextStepState(state, options);
        if (!advance.valid)
            return order + " refused";
        order += (advance.endsPhase ? " > " : " ") + std::to_string(advance.next);
        if (advance.endsPhase)
            return order;
        state = advance.next;
    }
    return order + " never ends";
}

TEST(ComputerTurnStepTest, TheStatesOfEachPhaseFollowTheOptions)
{
    struct Case {
        int options;
        int first;
        const char* order;
    };
    const int D = kOptionPlottedIndirectFire;
    const int A = kOptionAirInFinalPhase;
    const int T = kOptionThreePhase;
    const Case cases[] = {
        // Plain turns: one phase from the Initial fire to the Final move.
        { 0, 0, "0 6 7 1 3 4 5 > 0" },
        { D, 0, "0 6 1 3 4 5 7 > 0" },
        { A, 0, "0 7 1 3 4 5 6 > 0" },
        { D | A, 0, "0 1 3 4 5 6 7 > 0" },
        // Three-phase turns: Initial, Defensive Fire, Final.
        { T, 0, "0 6 7 1 > 2" },
        { T, 2, "2 > 3" },
        { T, 3, "3 4 5 > 0" },
        { T | D, 0, "0 6 1 > 2" },
        { T | D, 3, "3 4 5 7 > 0" },
        { T | A, 0, "0 7 1 > 2" },
        { T | A, 3, "3 4 5 6 > 0" },
        { T | D | A, 0, "0 1 > 2" },
        { T | D | A, 2, "2 > 3" },
        { T | D | A, 3, "3 4 5 6 7 > 0" },
        // Options the order does not read change nothing.
        { 0x1 | 0x2 | 0x4 | 0x20 | 0x40 | 0x100, 0, "0 6 7 1 3 4 5 > 0" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(PhaseOrder(c.first, c.options), c.order) << "options " << c.options << " from " << c.first;
    for (int options = 0; options < 0x100; options += 8) {
        EXPECT_FALSE(NextStepState(8, options).valid);
        EXPECT_FALSE(NextStepState(-1, options).valid);
    }
}

// A host that cancels the text of the given number (from 1), and asks the
// driver to stop at the given pause between steps (from 1).
class CInterruptingHost : public CHeadlessTurnHost {
public:
    using CHeadlessTurnHost::CHeadlessTurnHost;
    bool ShowReport(const String& text, const char* caption, int level, int pauseMs) override
    {
        CHeadlessTurnHost::ShowReport(text, caption, level, pauseMs);
        if (++m_shown != m_cancelAt)
            return true;
        Record("(cancelled)");
        return false;
    }
    void BetweenSteps() override
    {
        if (++m_pauses != m_stopAt || !m_computer)
            return;
        m_computer->RequestStop();
        // A start nested in the running driver returns at once, the stop kept.
        m_nested = m_computer->RunComputerTurn();
    }
    int m_cancelAt = 0;
    int m_stopAt = 0;
    int m_shown = 0;
    int m_pauses = 0;
    CComputerTurn::Outcome m_nested = CComputerTurn::Outcome::SideManual;
};

// The demo scenario opened as the frame opens it, both sides computer-run.
class ComputerTurnDemoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTimeSource(&FixedClock);
        SetRandomSeed(kSeed);
    }
    void TearDown() override { SetTimeSource(nullptr); }

    std::unique_ptr<CGame> Open(std::uint8_t fog)
    {
        SetRandomSeed(kSeed);
        auto game = std::make_unique<CGame>();
        EXPECT_TRUE(OpenComputerScenario(*game, "demo.scn", fog)) << game->m_battleReadError.str();
        return game;
    }

    struct Clock {
        int counter, side, phase;
        bool operator==(const Clock&) const = default;
    };
    static Clock ClockOf(const CGame& game)
    {
        return { game.m_map.GetCounter(), game.m_map.GetSide(), game.m_map.GetPhase() };
    }

    ScopedCurrentDir m_inData { DemoDataFolder() };
};

TEST_F(ComputerTurnDemoTest, ACancelledTextStopsWithoutEndingThePhaseAndARunAgainFinishesIt)
{
    for (int cancelAt : { 1, 2, 3 }) {
        SCOPED_TRACE(cancelAt);
        auto game = Open(0);
        CInterruptingHost host(*game);
        CComputerTurn computer(*game, host);
        host.m_computer = &computer;
        host.m_cancelAt = cancelAt;
        const Clock before = ClockOf(*game);
        EXPECT_EQ(computer.RunComputerTurn(), CComputerTurn::Outcome::Stopped);
        EXPECT_TRUE(computer.IsStopRequested());
        EXPECT_FALSE(computer.IsRunning());
        EXPECT_EQ(ClockOf(*game), before);
        EXPECT_EQ(host.m_phasesEnded, 0);
        EXPECT_EQ(host.m_shown, cancelAt);

        // Started again, it plays the phase to its end; here it stops once
        // the next turn has begun.
        host.m_stopAtTurnChange = true;
        EXPECT_EQ(computer.RunComputerTurn(), CComputerTurn::Outcome::Stopped);
        EXPECT_GE(host.m_phasesEnded, 1);
        EXPECT_EQ(game->GetCurrentTurn(), 2);
        EXPECT_NE(host.m_transcript.find(CComputerTurn::kCompletedText), std::string::npos);
    }
}

TEST_F(ComputerTurnDemoTest, AStopRequestEndsTheDriverBetweenStepsAndANestedStartKeepsIt)
{
    auto game = Open(1);
    CInterruptingHost host(*game);
    CComputerTurn computer(*game, host);
    host.m_computer = &computer;
    host.m_stopAt = 4;
    const Clock before = ClockOf(*game);
    EXPECT_EQ(computer.RunComputerTurn(), CComputerTurn::Outcome::Stopped);
    EXPECT_EQ(host.m_nested, CComputerTurn::Outcome::AlreadyRunning);
    EXPECT_EQ(host.m_pauses, 4);
    EXPECT_EQ(ClockOf(*game), before);
    EXPECT_EQ(host.m_transcript.find(CComputerTurn::kCompletedText), std::string::npos);

    host.m_stopAtTurnChange = true;
    EXPECT_EQ(computer.RunComputerTurn(), CComputerTurn::Outcome::Stopped);
    EXPECT_EQ(game->GetCurrentTurn(), 2);
}

TEST_F(ComputerTurnDemoTest, AdvancingAStoppedOrUnknownStateRefuses)
{
    auto game = Open(0);
    CHeadlessTurnHost host(*game);
    CComputerTurn computer(*game, host);
    computer.m_state = 8;
    EXPECT_FALSE(computer.AdvanceStep());
    computer.m_state = CComputerTurn::kInitialFire;
    computer.RequestStop();
    EXPECT_FALSE(computer.AdvanceStep());
    EXPECT_EQ(computer.m_state, CComputerTurn::kInitialFire);
    EXPECT_TRUE(host.m_transcript.empty());
}

// The demo battle to its time limit, computer against computer.
struct PlayedDemo {
    std::string transcript;
    std::string saved;
    int phases = 0;
    bool cappedPhase = false;
    bool over = false;
};

PlayedDemo PlayDemo(CGame& game)
{
    CHeadlessTurnHost host(game);
    CComputerTurn computer(game, host);
    PlayedDemo played;
    const CComputerTurn::Outcome outcome = computer.RunComputerTurn();
    played.over = outcome == CComputerTurn::Outcome::BattleOver && host.m_battleOver;
    played.transcript = host.m_transcript;
    played.phases = host.m_phasesEnded;
    played.cappedPhase = host.m_transcript.find(CComputerTurn::kLimitText) != std::string::npos;
    std::ostringstream out;
    EXPECT_TRUE(game.WriteBattle(out));
    played.saved = out.str();
    return played;
}

TEST_F(ComputerTurnDemoTest, TheDemoBattlePlaysToItsTimeLimitInBothFogSettingsTheSameEachTime)
{
    for (std::uint8_t fog : { std::uint8_t { 0 }, std::uint8_t { 1 } }) {
        SCOPED_TRACE(static_cast<int>(fog));
        auto first = Open(fog);
        const PlayedDemo a = PlayDemo(*first);
        EXPECT_TRUE(a.over);
        EXPECT_FALSE(a.cappedPhase);
        EXPECT_GT(a.phases, 10);
        EXPECT_NE(a.transcript.find("Time limit reached in scenario"), std::string::npos);

        auto second = Open(fog);
        const PlayedDemo b = PlayDemo(*second);
        EXPECT_EQ(a.transcript, b.transcript);
        EXPECT_EQ(a.saved, b.saved);
    }
}

TEST_F(ComputerTurnDemoTest, ABattleSavedInTheMiddleOfAComputerPhasePlaysOnBelowTheBound)
{
    auto game = Open(1);
    CInterruptingHost host(*game);
    CComputerTurn computer(*game, host);
    host.m_computer = &computer;
    host.m_stopAt = 12;
    ASSERT_EQ(computer.RunComputerTurn(), CComputerTurn::Outcome::Stopped);
    const Clock stoppedIn = ClockOf(*game);
    std::ostringstream out;
    ASSERT_TRUE(game->WriteBattle(out));

    CGame read;
    read.ResetBattleState();
    std::istringstream in(out.str());
    ASSERT_TRUE(read.ReadBattle(in, true)) << read.m_battleReadError.str();
    EXPECT_EQ(ClockOf(read), stoppedIn);
    CHeadlessTurnHost readHost(read);
    CComputerTurn readComputer(read, readHost);
    readHost.m_computer = &readComputer;
    readHost.m_stopAtTurnChange = true;
    // The rest of the first turn, then the whole second one.
    EXPECT_EQ(readComputer.RunComputerTurn(), CComputerTurn::Outcome::Stopped);
    EXPECT_EQ(read.GetCurrentTurn(), 2);
    EXPECT_EQ(readComputer.RunComputerTurn(), CComputerTurn::Outcome::Stopped);
    EXPECT_EQ(read.GetCurrentTurn(), 3);
    EXPECT_EQ(readHost.m_transcript.find(CComputerTurn::kLimitText), std::string::npos);
    EXPECT_NE(readHost.m_transcript.find(CComputerTurn::kCompletedText), std::string::npos);
}

// A type that fires for nothing and may fire again in the phase.
class ComputerTurnCapTest : public AiGameTest {
protected:
    void SetUp() override
    {
        AiGameTest::SetUp();
        SetTimeSource(&FixedClock);
        SetRandomSeed(kSeed);
    }
    void TearDown() override { SetTimeSource(nullptr); }
};

TEST_F(ComputerTurnCapTest, AUnitFiringForNothingAgainAndAgainEndsThePhaseAtTheBound)
{
    AiScenario scenario;
    // Enough targets around that some stay to be fired at.
    scenario.Unit(2, 2, demo::kUsSherman, 123);
    for (HexPos hex :
        { HexPos { 3, 2 }, HexPos { 1, 2 }, HexPos { 2, 1 }, HexPos { 2, 3 }, HexPos { 4, 2 }, HexPos { 0, 2 } })
        scenario.Unit(hex.column, hex.row, demo::kDeGrenadier, -1);
    Load(scenario);
    CGame& game = Game();
    PlatoonType& sherman = *game.m_platoonTypes.FindById(demo::kUsSherman);
    sherman.m_fireApCost = 0;
    sherman.m_value39 = (sherman.m_value39 | 8) & ~1;
    // The target stands whatever hits it.
    game.m_platoonTypes.FindById(demo::kDeGrenadier)->m_value13 = 1'000'000;
    game.SetSideMode(0, kAiScenarioComputer);

    CHeadlessTurnHost host(game);
    CComputerTurn computer(game, host);
    EXPECT_EQ(computer.RunComputerTurn(), CComputerTurn::Outcome::SideManual);
    EXPECT_EQ(computer.m_actionLimit, 20 * 1 + 100);
    EXPECT_EQ(computer.m_actions, computer.m_actionLimit) << host.m_transcript.substr(host.m_transcript.size() - 1500);
    EXPECT_EQ(host.m_phasesEnded, 1);
    EXPECT_EQ(game.m_map.GetSide(), 1);
    const std::string& transcript = host.m_transcript;
    EXPECT_NE(transcript.find(CComputerTurn::kLimitText), std::string::npos) << transcript.substr(0, 2000);
    EXPECT_EQ(transcript.find(CComputerTurn::kCompletedText), std::string::npos);

    // The other side's next phase, handed to the computer, runs and ends
    // as any other.
    game.SetSideMode(1, kAiScenarioComputer);
    host.m_stopAtTurnChange = true;
    host.m_computer = &computer;
    computer.RunComputerTurn();
    EXPECT_GE(host.m_phasesEnded, 2);
    EXPECT_NE(transcript.find(CComputerTurn::kCompletedText), std::string::npos);
}

} // namespace
