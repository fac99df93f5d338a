#pragma once
// The computer's turn without windows: while the side to move is played by
// the computer, one step at a time, the game is asked for the next action of
// the step state (fire, move, assault, air strike, indirect fire), the
// action is announced and carried out, and at the end of the phase's states
// the phase is handed back to the host, which ends it. The host shows the
// texts, plays the sounds and effects and ends phases; a window frame and
// the headless tests share everything else here.

#include <cstdint>
#include <string>
#include <vector>

#include "model/HexSide.h"
#include "model/String.h"

class CGame;

// What the driver needs around the game: showing texts, sounds, the end of a
// phase, and the pauses between steps where a frame lets the user act.
class CComputerTurnHost {
public:
    virtual ~CComputerTurnHost() = default;

    // Shows a text with its caption (empty: none), detail level and pause
    // in milliseconds (0: none); false when the user cancelled it.
    virtual bool ShowReport(const String& text, const char* caption, int level, int pauseMs) = 0;
    // Plays a sound file once.
    virtual void PlaySound(const char* name) = 0;
    // Ends the phase and starts the next; false when the battle is over.
    virtual bool EndPhase() = 0;
    // Between two steps: a frame pumps its messages here (a click may ask
    // the driver to stop).
    virtual void BetweenSteps() { }

    // What happens on the map, for the effects and the network; the hexes
    // are (-1, -1) where there is none.
    enum class Event {
        DirectFire, // firer, target
        Move, // every hex the move touched, in order
        MineAttack, // the hex
        OpportunityFire, // firer, target
        Assault, // the defending hex
        AirStrike, // the hex
        IndirectFire, // firer, target
    };
    virtual void OnEvent(Event event, const std::vector<HexPos>& hexes)
    {
        (void)event;
        (void)hexes;
    }
};

// The next step state after a state ran out of actions.
struct StepAdvance {
    bool valid = false; // false for a state outside 0 to 7
    bool endsPhase = false;
    int next = 0;
};
// The order of the steps by the battle's option bits: 0x8 (indirect fire
// plotted), 0x10 (air strikes in the Final Phase), 0x80 (three-phase turns).
StepAdvance NextStepState(int state, int options);

class CComputerTurn {
public:
    static constexpr const char* kReportCaption = "A/I Report";
    static constexpr const char* kMineCaption = "Mine Attack Report";
    static constexpr const char* kCompletedText = "A/I processing completed";
    static constexpr const char* kLimitText = "A/I action limit reached";
    static constexpr const char* kUnknownMineText = "Mine attack at unknown location";
    static constexpr const char* kBanzaiSound = "Banzai01.wav";
    static constexpr int kMovePause = 1500;
    static constexpr int kReportPause = 1500;
    static constexpr int kAirReportPause = 2000;

    // The step states.
    enum State : int {
        kInitialFire = 0,
        kInitialMove = 1,
        kDefensiveFire = 2,
        kFinalFire = 3,
        kFinalAssault = 4,
        kFinalMove = 5,
        kAirStrikes = 6,
        kIndirectFire = 7,
    };

    // Why the driver returned.
    enum class Outcome {
        AlreadyRunning, // a nested start; the running driver goes on
        SideManual, // a person plays the side to move
        Stopped, // a stop request or a cancelled text
        BattleOver,
    };

    CComputerTurn(CGame& game, CComputerTurnHost& host)
        : m_game(game)
        , m_host(host)
    {
    }

    // Plays while the side to move is computer-run.
    Outcome RunComputerTurn();
    // The first state of the phase now running.
    void ResetStepForPhase();
    // The state after one that ran out of actions; the phase ends where the
    // order says so. False when stopped, cancelled, the battle is over or
    // the state is not a step.
    bool AdvanceStep();
    // "A/I processing completed" (or the action limit), then the next
    // state, then the host ends the phase. False when the text was
    // cancelled (the state stays) or the battle is over.
    bool FinishComputerPhase(int nextState, bool limitReached = false);

    // The announce half of the state: true when an action was chosen.
    bool AnnounceStep();
    // The resolve half; false when the driver must stop.
    bool ResolveStep();

    // The driver stops before its next step.
    void RequestStop() { m_stopRequest = true; }
    bool IsStopRequested() const { return m_stopRequest; }
    bool IsRunning() const { return m_running; }

    int m_state = kInitialFire;
    // Actions chosen in the phase, and the bound for it.
    int m_actions = 0;
    int m_actionLimit = 0;

private:
    bool AnnounceDirectFire();
    bool ResolveDirectFire();
    bool AnnounceMove();
    bool AnnounceAssault();
    bool ResolveAssault();
    bool AnnounceAirStrike();
    bool ResolveAirStrike();
    bool AnnounceIndirectFire();
    bool ResolveIndirectFire();

    bool ResolveOpportunityFire(HexPos hex, bool airStrike);
    bool ExecuteOpportunityFire(bool airStrike);
    void ResolveMineAttack(const std::vector<int>& positions, HexPos hex);

    // A text shown at level 3 in the report box; a cancel sets the stop
    // request.
    void Announce(const String& text, int pauseMs);
    // The count and bound of actions start again in a new phase.
    void EnterPhase();
    int CountSideUnits(int side) const;
    // The state the next phase starts with, from the state now running.
    int NextPhaseState() const;

    CGame& m_game;
    CComputerTurnHost& m_host;
    bool m_stopRequest = false;
    bool m_running = false;
    // The phase the action count belongs to: turn counter, side, phase.
    std::int64_t m_phaseKey = -1;
    // The chosen indirect-fire mission was a starshell fired at once.
    bool m_starshell = false;
};
