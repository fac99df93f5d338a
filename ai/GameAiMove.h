#pragma once
// The computer opponent's move step: one action per call (a group move, a
// load or unload, a dig-in change, a removal, a reinforcement arrival),
// carried out through the orders a player gives, with the text the turn
// driver shows. Objectives are served first, then the map is swept for units
// to move, then reinforcements come in, then a last sweep for what is left.

#include <cstdint>
#include <vector>

#include "ai/GameAiAir.h"
#include "model/Random.h"

// An even choice among candidates offered one by one: the k-th offer
// replaces the choice held when its draw is below 1/k.
class ReservoirDraw {
public:
    explicit ReservoirDraw(CRandomGenerator& generator, int counter = 1)
        : m_generator(generator)
        , m_counter(counter)
    {
    }
    // Draws, then counts the offer; true when the draw was below 1/k, k the
    // count before this offer.
    bool Offer();
    void Restart(int counter) { m_counter = counter; }
    int Counter() const { return m_counter; }

private:
    CRandomGenerator& m_generator;
    int m_counter;
};

class CGameAiMove : public CGameAiAir {
public:
    // A gathered group never holds more units than this.
    static constexpr std::size_t kMaxGroupEntries = 100;

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

    // ---- The step ----

    // One action of the side to move: the objectives first, then the
    // turning sweep, the reinforcements, the second sweep. The hex list is
    // emptied, then gets the hexes the action touched (a move: its start and
    // every hex entered). The action's report; the empty text when the side
    // has nothing left to do in this phase (the sweep starts afresh).
    String DoNextMove(HexList& hexes);
    // The units the last action moved, loaded or unloaded (stack positions
    // in the last hex of the action); their number.
    int GetMineAttacks(std::vector<int>& out) const;

    // The first-sweep actions on a hex of the side to move: the first unit
    // from the top that acts (a Banzai charge, its formation's move or a
    // sail, or, without formation, the free-unit actions).
    bool ActOnHexUnits(int x, int y, HexList& hexes);
    // The second-sweep actions: free-unit actions for units that may still
    // move, then digging in and stopping.
    bool ActOnHexSecondPass(int x, int y, HexList& hexes);
    // The free-unit actions, in their order, for the unit at p.
    bool ActOnFreeUnit(int x, int y, int p, HexList& hexes);

    // ---- Objectives and group moves ----

    // The first objective still wanting groups that gets one; its score
    // goes down by one. When none gets one, the scores are dropped.
    bool DispatchToObjectives(HexList& hexes);
    // The nearest hex (ties evenly drawn) holding a free mover outside the
    // reach of objectives still wanting groups, farther from the objective
    // than its enemy distance, sends a group there.
    bool SendUnitsToObjective(HexPos objective, HexList& hexes);
    // The first-sweep move of a unit by its formation's order.
    bool MoveByFormationOrder(int x, int y, int p, HexList& hexes);
    // A formation's loading, or the move of its group in the hex toward the
    // target.
    bool MoveFormationGroup(int x, int y, const OrgNode* node, const AiOrder& order, HexList& hexes);
    // The moved list := the formation's movers of the hex, top first, within
    // the stacking limit; a carrier brings its passenger.
    void GatherFormationGroup(int x, int y, const OrgNode* node, int kind);
    bool IsFormationMover(int x, int y, int p, const OrgNode* formation, int kind);
    // A unit committed to a Banzai attack runs with its formation's group
    // down the enemy distances until it stands next to the enemy.
    bool BanzaiCharge(int x, int y, int p, HexList& hexes);
    // Leaders alone near the enemy and artillery near it stay out of the
    // first sweep (and are pulled back as free units).
    bool IsHoldingBack(int x, int y, int p) const;
    // Free-unit action 6: a held-back leader joins the nearest hex of its
    // side, else it (and held-back artillery) walks away from the enemy.
    bool PullBackSupport(int x, int y, int p, HexList& hexes);
    // The nearest other hex of the side holding the hex (ties evenly drawn);
    // (-1, -1) when there is none.
    HexPos JoinNearestOwnHex(int x, int y);
    // Up to steps hexes, each to a neighbour farther from the enemy (evenly
    // drawn); the hex reached.
    HexPos WalkAwayFromEnemy(int x, int y, int steps);
    // The neighbours of the hex on the map that pass the test, N to NW, one
    // of them drawn evenly by the generator; (-1, -1) when none passes.
    template <class Test> HexPos DrawNeighbour(const HexPos& hex, CRandomGenerator& generator, Test test) const;

    // Walks the units of the moved list from (x, y) toward the destination
    // and reports it; false (nothing reported, the hex list as it was) when
    // the group took no step. A forced group ignores the stops of stacking,
    // terrain, danger, mine clearing and caves.
    bool MoveGroupToward(int x, int y, HexPos destination, int threshold, bool forced, HexList& hexes);
    // An attack on a hex the enemy holds goes to a covered hex near it, or
    // stays where the group may already fire at it.
    HexPos AdjustApproachHex(int x, int y, HexPos destination);
    // Whether the moved group may leave the hex: not when it would empty an
    // objective or a fortified hex, unless vehicles move.
    bool MayGroupLeave(int x, int y, bool vehicles) const;
    // Whether the moved group may enter to by the stacking it finds there.
    bool MayGroupEnter(int fromX, int fromY, int toX, int toY) const;
    bool IsDangerousStep(int fromX, int fromY, int toX, int toY) const;
    // Whether a carrier of the moved list at the hex should set down its
    // passenger.
    bool ShouldUnloadAfterMove(int x, int y) const;
    // An exit objective of the side holding the hex.
    bool IsOwnExitHex(int x, int y) const;
    // The hex's objective cell; an empty cell off the map.
    ObjectiveCell GetObjectiveCell(int x, int y) const;
    // The side of the cell's holder nation; -1 for a cell nobody holds.
    static int GetHolderSide(const ObjectiveCell& cell);

    // The group report: "Moving units:" with the moved units and the start,
    // then where it ended.
    void ReportGroupStart(int x, int y);
    void ReportGroupEnd(int x, int y);

    // ---- Battle start and saved battle ----

    // No scores and the reinforcement stage open, then the base's load.
    bool LoadBattleAndReport(
        std::istream& in, String& text, std::vector<int>& groups, std::vector<int>& released, HexList& hexes) override;
    // The objective scores, ended by 9999.
    bool ReadBattleFile(std::istream& in, bool keepVersion10) override;
    bool WriteBattleFile(std::ostream& out) const override;
    // No scores, and the reinforcement stage open.
    void ResetBattleState() override;

    // The text of the last action.
    String m_report;
    ValueList<int> m_objectiveScores;
    // Set while the reinforcement stage of the move step is still open.
    std::uint8_t m_stepFlag = 0;
    // The stack positions of the units the current action moves, loads or
    // unloads: a carrier with a passenger is followed by it.
    std::vector<int> m_movedUnits;

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
    // Effective terrain Open without a position or fortification.
    bool IsOpenAndUncovered(int x, int y) const;
    // One step of the listed units (the moved list from here on) into the
    // adjacent hex: reported as the unit's move and followed by the
    // opportunity-fire check there. A refusal leaves the moved list empty.
    bool StepUnitTo(
        const PlacedUnit& unit, int x, int y, HexPos destination, std::vector<int> positions, HexList& hexes);
    // ---- end of single-unit actions ----
};

template <class Test> HexPos CGameAiMove::DrawNeighbour(const HexPos& hex, CRandomGenerator& generator, Test test) const
{
    ReservoirDraw draw(generator);
    HexPos chosen { -1, -1 };
    for (HexSide side(1); side.IsValid(); side.Next()) {
        HexPos neighbour;
        if (m_map.GetNeighbour(side, hex.column, hex.row, neighbour) && test(neighbour) && draw.Offer())
            chosen = neighbour;
    }
    return chosen;
}
