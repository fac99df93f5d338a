#pragma once
// The orders layer: the checks and carrying-out of players' orders, with the
// refusal text of the last failed check, and the battle's parameter data.
//
// Every order check comes in two forms: a bool check that leaves its
// refusal text in m_lastRefusal and changes nothing when it fails, and,
// for the orders the frame issues, a command twin that fills an out text
// (empty on success, the refusal otherwise).

#include <cstdint>
#include <string_view>
#include <vector>

#include "model/DataFile.h"
#include "model/GameHexMarks.h"
#include "model/ParameterData.h"

class CGameOrders : public CGameHexMarks {
public:
    static constexpr std::string_view kParameterFileName = "main.pdx";
    // A unit's full action points.
    static constexpr int kFullActionPoints = 100;

    CGameOrders();
    ~CGameOrders() override = default;

    // The data layer's freshness test, then the parameter file's.
    bool CheckFilesChanged() override;

    // The map's themed parameter file when it exists, else "main.pdx".
    String LocateParameterFile() const;
    // Null, or the parameter file's read error. A missing file is no error
    // and keeps the values held.
    const char* LoadParameterFile();

    // Movement. A selection is a hex's units by stack positions (1 the top,
    // 0 the bottom unit).

    // Command twin of MoveUnits.
    void MoveSelection(String& out, int fromX, int fromY, int toX, int toY, int* positions, int count);
    // Validates and carries out a move to an adjacent hex: records it for
    // undo, charges action points, moves the units (the move callback shows
    // the step), then spots, and under three-phase turns takes the action
    // points of units that end next to a dangerous enemy. The positions come
    // back as 1..count, the units' places on top of the destination.
    bool MoveUnits(int fromX, int fromY, int toX, int toY, int* positions, int count);
    // The validation alone. A refused move may still leave spotting marks
    // and reveal a cave.
    bool CanMoveUnits(int fromX, int fromY, int toX, int toY, const int* positions, int count);
    // Adjacency, stacking and the rules each unit that moves itself must pass.
    bool CanMoveStack(int fromX, int fromY, int toX, int toY, const int* positions, int count, bool checkActionPoints);
    // Resolves the selection to distinct units in list order and applies the
    // carrier rule to them: a listed unit carrying a passenger must be
    // followed in the list by that passenger, and a listed passenger must
    // follow its carrier, whatever positions named them. A selection the
    // resolver refuses reads as no selection.
    bool CheckCarrierRule(int x, int y, const int* positions, int count, std::vector<UnitNode*>& units);
    // The phase rules of three-phase turns, then CheckUnitCanMoveAlone.
    bool CheckPhaseAllowsMove(const PlacedUnit& unit);
    // Fixed units, units without a movement allowance, and carriers that
    // need a passenger and have none cannot move.
    bool CheckUnitCanMoveAlone(const PlacedUnit& unit);

    // Action points for the unit to step between adjacent hexes; 0 when the
    // step is impossible (with the reason in m_lastRefusal where there is
    // one). Not as ordered, a blocked hex the mover cannot know of costs
    // nothing extra.
    int GetMoveCost(const PlacedUnit& unit, int fromX, int fromY, int toX, int toY, int movingStrength, bool asOrdered);
    // The step costs of the path search, 0 = not allowed: a visible enemy
    // hex, stacking, known minefields, then the move cost (not as ordered).
    int GetPathStepCost(
        const PlacedUnit& unit, int fromX, int fromY, int toX, int toY, int movingUnits, int movingStrength);
    // The same without the test for a visible enemy hex.
    int GetStepCostWithoutEnemyTest(
        const PlacedUnit& unit, int fromX, int fromY, int toX, int toY, int movingUnits, int movingStrength);
    // Only the minefield test and the move cost.
    int GetStepCostMinesOnly(const PlacedUnit& unit, int fromX, int fromY, int toX, int toY, int movingStrength);
    // While one lives, the step costs keep the converted movement costs of
    // the type they last asked for (each worked out once): for a caller that
    // asks for many steps while nothing reloads the data or changes the
    // battle's surface, turn length or hex size, as a path search does.
    class HeldMovementPoints {
    public:
        explicit HeldMovementPoints(CGameOrders& orders)
            : m_orders(orders)
            , m_wasHeld(orders.m_holdMovementPoints)
        {
            if (!m_wasHeld)
                m_orders.m_movementPoints.Reset(nullptr, -1, 0, 0);
            m_orders.m_holdMovementPoints = true;
        }
        ~HeldMovementPoints() { m_orders.m_holdMovementPoints = m_wasHeld; }
        HeldMovementPoints(const HeldMovementPoints&) = delete;
        HeldMovementPoints& operator=(const HeldMovementPoints&) = delete;

    private:
        CGameOrders& m_orders;
        bool m_wasHeld;
    };

    // Action points the unit keeps back: its fire cost when saved for
    // firing, and its passenger's unload cost (doubled for a disrupted
    // passenger) when saved for unloading. The node must be in its stack.
    int GetActionPointReserve(const UnitNode& node) const;
    // CanAffordMove with the unit's own reserve.
    bool HasEnoughActionPoints(const UnitNode& node, int cost);
    // A unit with all its action points and nothing in reserve may always
    // move outside the Final Phase; otherwise cost and reserve must fit in
    // its action points.
    bool CanAffordMove(const PlacedUnit& unit, int cost, int reserve);
    // Tenths of hexes of open ground the unit's action points carry it.
    int GetMoveRangeTenths(const PlacedUnit& unit) const;
    // The distance (at most 7) from the hex to the nearest hex held by the
    // other side of side that this side is in contact with; 7 for none.
    int GetDistanceToKnownEnemy(int x, int y, int side) const;
    // A neighbour held by the enemy side holds an armed unit.
    bool IsNextToArmedEnemy(int x, int y, int enemySide) const;
    // A neighbour held by the enemy side is in close contact, or is visible
    // and holds an armed unit.
    bool IsNextToDangerousEnemy(int x, int y, int enemySide) const;

    // Orders on units in place (GameOrdersUnits.cpp). The twins take a
    // hex's units by stack positions; a count of 0 gives the empty text and
    // does nothing, and a hex of the side not to move gives the twin's side
    // text.
    void DoubleTimeSelection(String& out, int x, int y, const int* positions, int count);
    // Foot-moving, unfatigued, unfixed units only; each gets double time
    // and fatigue.
    bool DoubleTime(int x, int y, const int* positions, int count);
    void ToggleDigInSelection(String& out, int x, int y, const int* positions, int count);
    // Checks the rule, the hex and each unit that starts digging in, then
    // toggles digging in of the listed units that are not carried. No
    // action points are spent.
    bool ToggleDigIn(int x, int y, const int* positions, int count);
    void ToggleSaveApForUnloading(String& out, int x, int y, const int* positions, int count);
    // Clears the reserve for unloading, or sets it when the unit carries a
    // passenger whose unload cost is above 0 and within its action points.
    // The node must be in its stack.
    void ToggleUnitSaveApForUnloading(UnitNode& node);
    void LoadUnloadSelection(String& out, int x, int y, int* positions, int count);
    // Boards the listed passengers onto the listed carriers pair by pair and
    // unloads the listed carried units, charging both sides of each. On
    // success the positions are rewritten to the new stack positions (0 not
    // found) of the unloaded units, the carriers, the boarded passengers and
    // the rest, in that order.
    bool LoadUnload(int x, int y, int* positions, int count);

    // Stack order and facing orders: no action points, no undo record.
    void CycleStack(String& out, int x, int y);
    using CGameHexMarks::CycleStack;
    void MoveSelectionToTop(String& out, int x, int y, const int* positions, int count);
    void MoveSelectionToBottom(String& out, int x, int y, const int* positions, int count);
    void TurnSelectionClockwise(String& out, int x, int y, const int* positions, int count);
    void TurnSelectionCounterclockwise(String& out, int x, int y, const int* positions, int count);
    void AlignSelectionFacings(String& out, int x, int y, const int* positions, int count);
    void AlignSelectionFacingsReversed(String& out, int x, int y, const int* positions, int count);

    // Orders that bring units onto or off the map or move them outside the
    // movement rules (GameOrdersPlacement.cpp).

    // Command twin of PlaceReinforcement.
    void PlaceReinforcementSelection(String& out, int index, HexPos& entry, HexList& hexes);
    // Places a reinforcement group of the side to move in the Initial Phase:
    // index 0 is the last group of the list, k >= 1 the k-th from the front.
    // The group's entry hex comes back, and the hexes the placement touched
    // are appended to the list. An enemy holding the entry hex of a group
    // that enters there is pushed off first; a group whose entry hex the
    // enemy still holds stays due. The placed group leaves the list.
    bool PlaceReinforcement(int index, HexPos& entry, HexList& hexes);
    // Moves every unit of the hex to a neighbour on the map not held by the
    // side to move, drawn evenly by a private time-seeded generator, and
    // appends it to the list; without such a neighbour nothing moves.
    void ClearEntryHex(int x, int y, HexList& hexes);
    // Eliminates every unit of the hex, top first.
    void EliminateHexUnits(int x, int y);
    void RemoveSelectionFromMap(String& out, int x, int y, const int* positions, int count);
    // Takes the listed units of the side to move off the map at a map-edge
    // hex (the exit objective there goes down).
    bool RemoveUnitsAtExit(int x, int y, const int* positions, int count);
    // A hex on the map with a neighbour off it.
    bool IsExitHex(int x, int y) const;
    // The campaign set-up's move: any distance, no phase or action points,
    // only sides, the carrier rule and stacking. The positions come back as
    // the units' places in the destination.
    void PlaceSetupUnits(String& out, int fromX, int fromY, int toX, int toY, int* positions, int count);
    // Japanese foot units with all their action points pass between cave
    // hexes up to 3 apart, unseen and without the move callback; they arrive
    // hidden with no action points left. False, with no refusal text, when
    // the transfer does not apply. The positions come back as for a move.
    bool CaveTransferMove(int fromX, int fromY, int toX, int toY, int* positions, int count);
    // Japanese leaders of the Axis side start a Banzai attack: each listed
    // leader takes a morale check; when all pass, each commits the units of
    // its formation within its strength in hexes that may join.
    bool StartBanzaiAttack(int x, int y, const int* positions, int count);

    const char* m_lastRefusal = nullptr;
    HeldFile m_parameterFileTime;
    ParameterData m_parameters;

protected:
    // The lower layers' reload; when it gave no error, the parameter file.
    const char* Reload() override;

private:
    bool Refuse(const char* text)
    {
        m_lastRefusal = text;
        return false;
    }
    int RefuseCost(const char* text)
    {
        m_lastRefusal = text;
        return 0;
    }
    // Whether the unit moves under its own power into the destination (a
    // passenger rides, except off a boat onto land; a boat carrying a
    // passenger onto land is carried by it).
    bool MovesItself(const UnitList& stack, const UnitNode& node, int toX, int toY) const;
    // The unit is a passenger of a boat.
    static bool IsCarriedByBoat(const UnitList& stack, const UnitNode& node);
    bool IsCrossed(int fromX, int fromY, HexSide side, int layer) const;
    // Bit n set when feature layer n crosses the side: one read of the hex
    // for all layers.
    std::uint32_t CrossedLayers(int fromX, int fromY, HexSide side) const;
    // The kept costs of the type for the battle's surface, turn length and
    // hex size while they are held (started afresh for another type); null
    // when they are not, and each cost is then converted where it is asked.
    MovementPointRow* HeldPoints(const PlatoonType* type) const;
    int FeatureCost(const PlatoonType* type, int layer) const;
    // The rule for a hexside on a river; the reason of a refusal is left.
    bool RiverCrossingAllowed(const PlatoonType* type, int fromX, int fromY, HexSide side);
    // A pontoon across the side that the type may use; the reason is left
    // when one is there but may not be used.
    bool PontoonAllowed(const PlatoonType* type, int fromX, int fromY, int toX, int toY, HexSide side);
    bool RoadMovementAllowed(const PlatoonType* type, int toX, int toY, int movingStrength) const;
    // The cost of the features of the crossed side; -1 impassable.
    // Both take the side's CrossedLayers from the step cost, which reads
    // them once for all its tests.
    std::int64_t GetCrossingCost(
        const PlacedUnit& unit, int fromX, int fromY, HexSide side, std::uint32_t crossed) const;
    std::int64_t GetBaseCost(const PlacedUnit& unit, int fromX, int fromY, int toX, int toY, HexSide side,
        int movingStrength, std::uint32_t crossed);
    // GetMoveCost past the adjacency and type tests.
    int GetStepCost(const PlacedUnit& unit, int fromX, int fromY, int toX, int toY, HexSide side, int movingStrength,
        bool asOrdered);
    // Known minefields stop the path search unless the type ignores them.
    bool IsKnownMinefield(const PlacedUnit& unit, int x, int y) const;
    bool ExceedsStacking(int x, int y, int movingUnits, int movingStrength) const;
    // The destination's stacking limits with the listed units added.
    bool CheckStackingLimits(int fromX, int fromY, int toX, int toY, const int* positions, int count);
    // The set-up move behind PlaceSetupUnits.
    bool MoveSetupUnits(int fromX, int fromY, int toX, int toY, int* positions, int count);
    // The units of the leader's formation near it that may join its Banzai
    // attack are committed to it.
    void CommitBanzai(int x, int y, const PlacedUnit& leader);

    mutable MovementPointRow m_movementPoints;
    bool m_holdMovementPoints = false;

    // Loading and unloading: the cost of boarding the passenger onto the
    // carrier, the checks of one pair, those of one passenger to unload.
    static int LoadCost(const PlacedUnit& passenger, const PlacedUnit& carrier);
    int UnloadCost(const PlacedUnit& passenger, const PlacedUnit& carrier) const;
    bool CheckLoadPair(const PlacedUnit& passenger, const PlacedUnit& carrier);
    bool CheckUnload(int x, int y, const UnitNode& passenger);
    // The common tests of the stack-order and facing twins; false when the
    // order is answered without running.
    bool CheckStackOrder(String& out, int x, int y, int count);
    bool IsThreePhase() const { return IsOptionSet(kOptionThreePhase); }
    int EnemySide() const;
};
