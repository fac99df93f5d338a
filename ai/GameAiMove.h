#pragma once
// The computer opponent's move steps: at the start of each phase of a
// computer side, how many groups each objective still needs.

#include <cstdint>

#include "ai/GameAiAir.h"

class CGameAiMove : public CGameAiAir {
public:
    CGameAiMove() = default;
    ~CGameAiMove() override = default;

    // Per objective of the side to move, in its list's order: the units of
    // the other side minus those of the side to move within the square of
    // radius w1 around it. A positive score is the number of groups still
    // to send there.
    void ScoreObjectives();
    // At the start of a computer side's phase: the phase's air attacks, the
    // objective scores, and the reinforcement stage opened.
    void PrepareMoves();

    // The objective scores, ended by 9999.
    bool ReadBattleFile(std::istream& in, bool keepVersion10) override;
    bool WriteBattleFile(std::ostream& out) const override;
    // No scores, and the reinforcement stage open.
    void ResetBattleState() override;

    ValueList<int> m_objectiveScores;
    // Set while the reinforcement stage of the move step is still open.
    std::uint8_t m_stepFlag = 0;

    // ---- Single-unit actions (GameAiMoveUnits.cpp) ----
    // Each action is tried for the unit at 1-based stack position p of hex
    // (x, y) and returns whether it acted; an order that is refused is no
    // action and leaves no report. The hexes an action touches are appended
    // to the step's hex list.

    // Enemy tests by the hex's enemy distance E, the battle's visibility
    // radius and w1.
    bool IsEnemyClose(int x, int y) const;
    bool IsEnemyNear(int x, int y) const;
    // E within the type's longest range, and the enemy close.
    bool IsEnemyInRange(const PlatoonType* type, int x, int y) const;
    // No command node, a hold order, no target, or the hex within the order
    // kind's reach of the target.
    bool IsWithinOrderReach(const PlacedUnit& unit, int x, int y) const;

    // The first due group of the side to move that can be placed comes in;
    // from a single entry hex it acts at once or heads for the nearest
    // objective. With none to come the reinforcement stage closes.
    bool BringInReinforcements(HexList& hexes);
    // The units of the hex, top first, head for the nearest objective hex of
    // value above 0 until one moves.
    bool MoveToNearestObjective(int x, int y, HexList& hexes);
    // An indirect-fire unit gets within its range of the target: it unloads
    // there, moves (with its carrier), or boards a carrier.
    bool MoveIndirectUnit(int x, int y, int p, HexPos target, HexList& hexes);
    // More empty carriers than units waiting to ride among the hex's units
    // of the command node (null: units without one).
    bool HasSpareCarriers(int x, int y, const OrgNode* node) const;
    // The stack position of the first empty carrier of the node that may
    // load here (near the enemy only a hard target, unless any will do); 0
    // when there is none.
    int FindCarrier(const OrgNode* node, int x, int y, bool anyCarrier) const;
    // One unit of the formation boards a carrier: towed guns first.
    bool LoadFormationUnit(int x, int y, const OrgNode* node, HexList& hexes);

    // The free-unit actions (6 is PullBackSupport); each tests when it
    // applies itself.
    bool StepIntoFortification(int x, int y, int p, HexList& hexes); // 1
    bool StepOntoObjective(int x, int y, int p, HexList& hexes); // 2
    bool UnloadPassenger(int x, int y, int p, HexList& hexes); // 3
    bool WithdrawEmptyCarrier(int x, int y, int p, HexList& hexes); // 4
    bool StepOutOfOpenTerrain(int x, int y, int p, HexList& hexes); // 5
    bool LeaveAtExitOrWater(int x, int y, int p, HexList& hexes); // 7
    bool RemoveUnarmedUnit(int x, int y, int p, HexList& hexes); // 8
    bool MoveThroughCave(int x, int y, int p, HexList& hexes); // 9

    // A unit on open water drifts along its facing to the map edge or until
    // something stops it.
    bool SailAlongFacing(int x, int y, int p, HexList& hexes);
    // Digging in: who may start, and the change itself (stops a unit that
    // digs, starts one on a draw of 1 in 4).
    bool MayStartDigIn(int x, int y, int p) const;
    bool ToggleUnitDigIn(int x, int y, int p, HexList& hexes);

    // The report of one unit's move from one hex to another (the same hex
    // for a unit that left the map); the end's spotting is marked first,
    // and both hexes are appended.
    void ReportUnitMove(const PlacedUnit& unit, int fromX, int fromY, int toX, int toY, HexList& hexes);
    // "Loading ", "Unloading ", "Digging-In ", "Stopped Digging-In ": the
    // unit named at the hex, which is appended.
    void ReportUnitInPlace(const char* verb, const PlacedUnit& unit, int x, int y, HexList& hexes);
    // ---- end of single-unit actions ----
};
