#pragma once
// The game object: one battle's whole state and every rule, built as a chain
// of layers from the movement costs up to here. The frame builds one and keeps
// it for the life of the program. This top layer holds who plays each side.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <ostream>
#include <vector>

#include "ai/GameAiIndirect.h"
#include "model/Lists.h"
#include "model/String.h"

// Who plays a side.
enum AiMode : int {
    kAiManual = 0, // a person
    kAiScenarioComputer = 1, // the computer, by the orders the battle carries
    kAiPlanningComputer = 2, // the computer, planning its own orders
};

// One objective hex as the planning pass sees it; the list lives for one pass.
struct AiObjective {
    int value = 0; // the objective cell's value; negative for an exit hex
    int nation = -1; // the cell's holder; -1 holds it for neither side
    int column = 0;
    int row = 0;
    // The planning side's armed, steady units around it less the others'.
    int score = 0;
    // Its share in the weighted draw of the enemy's objectives.
    double weight = 0.0;

    // The holder's side; -1 for an unheld cell.
    int GetSide() const;
    bool IsAt(HexPos hex) const { return hex.column == column && hex.row == row; }
};

class CGame : public CGameAiIndirect {
public:
    CGame() = default;
    ~CGame() override = default;

    // A side played by the computer under fog of war is hidden from its opponent.
    bool IsSideHidden(int side) const override;

    // Who plays a side (0 or 1; another side changes nothing). Handed to the
    // computer, a side without objectives gets its list built; when it is the
    // side to move, the enemy distances are rebuilt and, outside the
    // Defensive Fire Phase, its moves prepared.
    // A person: mode 0, no fog, and the side's objective list emptied.
    void SetSideManual(int side);
    // The computer by the orders the battle carries: mode 1, no fog.
    void SetSideScenarioComputer(int side);
    // The computer with its own planning, run at once; the fog byte stays.
    void SetSidePlanningComputer(int side);
    // The menu's "Computer" and "Computer with FOW".
    void SetSideComputer(int side);
    void SetSideComputerFow(int side);
    // Mode 0, 1 or 2 to the setters above; any other mode does nothing.
    void SetSideMode(int side, int mode);
    void SetSideFogOfWar(int side, std::uint8_t fog);

    // The planning pass for the side (-1: the side to move): the enemy
    // distances, then the pass.
    void PlanSide(int side);
    // Gives each lowest formation of the side its order: the summaries are
    // rebuilt, the objectives collected and scored, unfit or outdated orders
    // turned to hold, empty and threatened objectives taken up, Banzai
    // attacks started, weighted attacks on the enemy's objectives drawn,
    // idle formations sent toward their own objectives, and a second
    // attacker of one objective spread to the cover around it.
    void RunPlanningPass(int side);

    // The clock and turn text, with " A/I Control" while the computer plays
    // the side to move.
    void GetStatusText(String& out) const;

    // ---- Starting, playing, saving and loading a battle ----

    // A new scenario, as the frame opens one: each side's fog byte as
    // given, the scenario read with its opening report (the session's
    // LoadBattleAndReport), each side handed to its mode, the fog bytes again
    // (the mode setters clear them), then the reconnaissance draw. The
    // reader's result; a failed read leaves both sides manual without fog,
    // no report, no planning and no draw.
    bool ReadScenario(std::istream& in, const int modes[2], const std::uint8_t fog[2], String& text,
        std::vector<int>& groups, std::vector<int>& released, HexList& hexes);
    // Mission type 1: the label "ReconMode" and two draws of the shared
    // generator, each trunc(5 U) + 1; any other mission: "None", 0 and 0.
    void DrawReconMode();
    // A saved battle, read by every layer; the reader stops right after the
    // last number it read.
    bool ReadBattle(std::istream& in, bool keepVersion10);
    // The saved battle as every layer writes it; true while the stream is good.
    bool WriteBattle(std::ostream& out) const;
    // The start of the side to move's phase, after NextPhase: the turn-start
    // report (hexes to repaint, off-map units whose availability changed,
    // arrived groups, released units), then the computer's preparations for
    // a side it plays: its planning at the Initial Phase, and outside the
    // Defensive Fire Phase the enemy distances and its moves.
    void BeginPhase(String& text, HexList& hexes, std::vector<int>& offMapChanges, std::vector<int>& groups,
        std::vector<int>& released);
    // Saves the battle so that the file is replaced whole or left as it was;
    // empty, or the error text.
    String SaveBattleToFile(const std::filesystem::path& path) const;
    // Reads a saved battle file as the frame does (held as version 10).
    bool LoadBattleFromFile(const std::filesystem::path& path);

    // The last block of a saved battle: the plan flags, then mode and fog
    // byte of side 1 and of side 0. Modes are stored as read (nothing is
    // planned); with the side to move computer-run the enemy distances are
    // rebuilt. The last value's line end stays in the stream.
    bool ReadBattleFile(std::istream& in, bool keepVersion10) override;
    bool WriteBattleFile(std::ostream& out) const override;
    // Both sides back to manual play. The fog bytes are the frame's choice
    // and stay (a scenario's opening report is made under them); a failed
    // read of a saved battle clears them with the rest.
    void ResetBattleState() override;

    int m_aiMode[2] = { kAiManual, kAiManual };
    std::uint8_t m_aiFog[2] = { 0, 0 };
    // Marks a side played by the orders its battle carries; saved, never read
    // by a decision.
    std::uint32_t m_planFlag[2] = { 0, 0 };
    // Set by the planning pass when it started a Banzai attack; the turn
    // driver plays its sound and clears it.
    bool m_banzaiSound = false;
    // Grows with every weighted attack the planning gives, so that the
    // formations considered differ from draw to draw; a new battle starts
    // it again at 0.
    int m_planCounter = 0;
    // The scenario's reconnaissance draw; read by nothing yet.
    String m_reconLabel { "None" };
    int m_reconValues[2] = { 0, 0 };

protected:
    // ---- The planning pass's steps, in their order ----
    using Formations = std::vector<const OrgNode*>;
    std::vector<AiObjective> CollectObjectives(int side) const;
    void ReviewOrders(int side, const Formations& formations, const std::vector<AiObjective>& objectives);
    void TakeEmptyObjectives(int side, const Formations& formations, const std::vector<AiObjective>& objectives);
    void DefendObjectives(int side, const Formations& formations, const std::vector<AiObjective>& objectives);
    static void WeighObjectives(int side, std::vector<AiObjective>& objectives);
    void StartBanzaiOrRetarget(int side, const Formations& formations, const std::vector<AiObjective>& objectives);
    bool TryBanzai(const OrgNode* formation, HexPos& leaderHex);
    void DrawWeightedAttacks(int side, const std::vector<AiObjective>& objectives);
    void SendIdleFormations(int side, const Formations& formations, const std::vector<AiObjective>& objectives);
    void SpreadAttackers(const Formations& formations, const std::vector<AiObjective>& objectives);

    // A fresh order of the formation (its own ordering node), stored down
    // its tree.
    void GiveOrder(const OrgNode* formation, int kind, HexPos target);
    // Kind 3 or 4 (high, low), or 1 or 0: the high kind when the side's
    // computer percentage is at most a draw of the shared generator times
    // 100.
    int KindByDraw(int side, int high, int low) const;
    // Fit enough to go there, and a path for its leading unit that ends
    // near enough.
    bool IsReachable(const OrgNode* formation, HexPos target);
    bool HoldsUnits(HexPos hex) const;
    // The holder's side of the objective cell at the hex; -1 when unheld or
    // off the map.
    int ObjectiveSideAt(HexPos hex) const;

private:
    // A failed read of a saved battle (with the reason of this block, when
    // it failed here) leaves no computer state, fog bytes included.
    bool FailReadClearingFog(const char* reason = nullptr);
    void EnsureObjectives(int side);
    void PrepareIfToMove(int side);
};
