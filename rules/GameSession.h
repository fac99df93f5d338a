#pragma once
// The session: starting a battle, the phase advance with the report the side
// to move sees at the start of its phase, the side tallies the results read,
// the "Next Unit" cursor and the small game-state queries of the frame, the
// map view and the computer opponent.

#include <cstdint>
#include <istream>
#include <type_traits>
#include <vector>

#include "model/Lists.h"
#include "model/String.h"
#include "rules/GameSupply.h"

class CGameSession : public CGameSupply {
public:
    static constexpr const char* kAndOthersLine = " and others...\n";
    // Units listed by name in the morale recovery report.
    static constexpr int kMaxRecoveryLines = 10;
    // Movement costs shown in the unit handbook are capped here.
    static constexpr int kMaxShownMoveCost = 65;

    CGameSession() = default;
    ~CGameSession() override = default;

    // ---- Battle start and phase advance ----

    // The cursor goes and any assault ends, then the battle is read (as
    // version 10) and, when the read succeeded, its opening report written:
    // isolation of the side to move, arrivals, releases and the air strikes
    // left; then spotting starts afresh. A failed read gives false with
    // nothing written or drawn. The computer opponent's layers extend it.
    virtual bool LoadBattleAndReport(
        std::istream& in, String& text, std::vector<int>& groups, std::vector<int>& released, HexList& hexes);
    // The cursor goes and any assault ends, then the battle is read by the
    // whole chain's reader; the reader's result.
    bool LoadBattle(std::istream& in, bool keepVersion10);
    // Empties the battle of every layer (ResetBattleState).
    void ResetBattle();
    // The battle's title; the parameter data's name when it has none.
    String GetBattleTitle() const;
    // Ends the phase; false when the battle's time is up (the battle is over).
    bool NextPhase();
    // The report of the start of the phase: arrivals, and in an Initial Phase
    // isolation, supply, morale recovery, improved positions and mine
    // clearing; then spotting. Hexes named or changed join hexes once;
    // offMapChanges, groups and released are the supply pass's and the
    // arrivals'. No trailing line feed. Run exactly once per phase: its
    // pieces change the battle. The computer opponent's layers extend it.
    virtual void BuildTurnStartReport(String& text, HexList& hexes, std::vector<int>& offMapChanges,
        std::vector<int>& groups, std::vector<int>& released);

    // The pieces of the Initial-Phase report, over the side to move's hexes
    // column by column, rows inner.
    void BuildImprovedPositionReport(String& text, HexList& hexes);
    // The first digging-in unit of the hex whose draw succeeds turns the hex
    // into an improved position; its line, or empty.
    void CheckImprovedPosition(String& line, int x, int y);
    // No unit of the hex digs in any more.
    void ClearDiggingIn(int x, int y);
    void BuildMoraleRecoveryReport(String& text, HexList& hexes);
    // Checks the disrupted or shaken units of the hex; the counts run over
    // the whole report. True when a unit of the hex recovered.
    bool RecoverMoraleInHex(int x, int y, String& text, int& checked, int& recovered);
    void BuildMineClearingReport(String& text, HexList& hexes);
    // One step off the hex's obstacle: a minefield one level down, else a
    // blocked hex cleared.
    void ReduceObstacle(int x, int y);

    // ---- Tallies (held to the int range) ----

    // Strength points lost per side and their value.
    void TallySideLosses(int lost[2], int values[2]) const;
    // The objectives held by the side moving first, less the exit hexes the
    // other side holds.
    int SumHeldObjectiveValue() const;
    int SumObjectiveValueForSide(int side) const;
    int SumPenaltyValueForSide(int side) const;
    // Full strength times unit value of every unit of each side: on the
    // map, in the reinforcement groups, exited and eliminated.
    void TallySideForceValue(int values[2]) const;

    // ---- The "Next Unit" cursor ----

    // Moves the cursor to the next (previous) hex of the side to move that
    // has units able to act and selects them: one formation per call, a
    // loaded unit with its passenger, as 1-based stack positions. In move
    // mode units that can move, else those that can assault; otherwise units
    // that can fire. The hex is (-1, -1) when the walk ran off the map.
    void SelectNextUnitHex(HexPos& hex, bool moveMode, std::vector<int>& positions);
    void SelectPreviousUnitHex(HexPos& hex, bool moveMode, std::vector<int>& positions);
    // Selections in the cursor hex; false when nothing was taken.
    bool SelectMovableInHex(std::vector<int>& positions);
    bool SelectFirableInHex(std::vector<int>& positions);
    bool SelectAssaultCapableInHex(std::vector<int>& positions);
    // The unit at the stack position may step to some neighbour.
    bool CanMoveSomewhere(int position, int x, int y);
    // Some enemy hex in the unit's reach passes the direct-fire checks.
    bool CanFireAtSomething(const PlacedUnit& unit, int x, int y);
    // Column-major steps; past either end the cursor is (-1, -1). Both
    // forget the formations selected in the hex left.
    void AdvanceCursor();
    void RetreatCursor();

    // ---- Queries ----

    // The turn shown to players and the battle's number of turns; both 0
    // when a turn has no minutes.
    int GetCurrentTurn() const;
    int GetTurnCount() const;
    // The square around the hex of radius the unit's greatest weapon range
    // plus one, clipped to the map.
    void GetWeaponRangeWindow(const PlacedUnit& unit, int x, int y, int& minX, int& maxX, int& minY, int& maxY) const;
    // Visits every hex of that window, column by column and each column from
    // the top, as visit(column, row). A visitor that returns a bool stops the
    // walk with false, and the walk then returns false; otherwise it returns
    // true.
    template <class Visit> bool VisitWeaponRangeWindow(const PlacedUnit& unit, int x, int y, Visit&& visit) const
    {
        int minX = 0, maxX = -1, minY = 0, maxY = -1;
        GetWeaponRangeWindow(unit, x, y, minX, maxX, minY, maxY);
        for (int column = minX; column <= maxX; ++column)
            for (int row = minY; row <= maxY; ++row) {
                if constexpr (std::is_void_v<std::invoke_result_t<Visit&, int, int>>)
                    visit(column, row);
                else if (!visit(column, row))
                    return false;
            }
        return true;
    }
    // The mean column and row of the hexes shown to hold units of the node
    // or formations under it (any unit for no node); (-1, -1) when none does.
    void GetFormationCentre(HexPos& centre, const OrgNode* node) const;
    // True for no node; else whether a unit of the hex belongs to the node
    // or a formation under it.
    bool HexHasUnitOfFormation(int x, int y, const OrgNode* node) const;
    // Toggles saving action points for firing of every unit of the side to move.
    void SaveFiringApForSide();
    // Whether the side to move may see the hex: always when its information
    // is not hidden, else when the other side's contact with it is armed.
    bool IsHexVisibleToMover(int x, int y) const;
    // The hexes holding units of the node or formations under it (units
    // without a node for no node), nearest the reference hex first, ties in
    // scan order; the excluded hex, when it is on the map, goes first.
    void ListFormationHexes(HexList& out, const OrgNode* node, int x, int y, int refX, int refY) const;
    // Inserts the hex before the first listed hex farther from the
    // reference hex, or at the front with the flag.
    static void InsertHexByDistance(HexList& list, int x, int y, int refX, int refY, bool front);
    // A null node appends.
    static void InsertHexBefore(HexList& list, HexListNode* at, int x, int y);
    // The unit handbook's costs at the battle's scale, capped at 65.
    int GetTerrainMoveCost(const PlatoonType* type, int terrain) const;
    int GetHexsideMoveCost(const PlatoonType* type, int layer) const;
    int GetMoveTableExtraCost(const PlatoonType* type) const;
    // The hex's terrain name; "Frozen" for water under ice.
    void GetHexTerrainName(String& out, int x, int y) const;

    // (-1, -1) when no hex is selected.
    HexPos m_cursor { -1, -1 };
    // Organisation node ids of the formations already selected in the cursor hex.
    std::vector<int> m_selectedNodes;
    // Set by every reset; the next "Next Unit" starts at the cursor hex
    // instead of stepping past it.
    std::uint8_t m_cursorRestart = 1;

    // The cursor goes with the battle.
    void ResetBattleState() override;

protected:
    // Cursor (-1, -1), no selection, restart set.
    void ResetCursor();
    // The opening report of a battle just read.
    void BuildOpeningReport(String& text, std::vector<int>& groups, std::vector<int>& released, HexList& hexes);

private:
    // Selects in the cursor hex by the mode; true when something was taken.
    bool SelectInCursorHex(bool moveMode, std::vector<int>& positions);
    // Takes the first unit of the cursor hex, top first, whose formation is
    // not selected yet and that passes the test: its position (and its
    // passenger's), its node id noted.
    template <class Test> bool SelectFirstInHex(std::vector<int>& positions, Test test);
    bool IsFormationSelected(const PlacedUnit& unit) const;
    // The side to move holds the hex.
    bool IsMoverHex(int x, int y) const;
    // The cost-array row of the battle's surface state.
    int SurfaceArray() const;
};
