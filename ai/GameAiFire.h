#pragma once
// The computer opponent's direct fire: one firing unit of the side to move at
// a time, found by sweeping the map, its target hex (the nearest it may fire
// at, ties drawn) and the unit aimed at there, announced and then resolved
// through the rules' direct fire. The indirect-fire layer above reuses the
// working fields and the firing-unit header.

#include "ai/GameAiMove.h"
#include "model/HexSide.h"
#include "model/String.h"

class CGameAiFire : public CGameAiMove {
public:
    CGameAiFire() = default;
    ~CGameAiFire() override = default;

    // The choose operation of the fire states: the announcement, with the
    // firer and target hexes and a copy of the firing unit; empty when no
    // unit of the side to move can fire any more (the sweep starts again at
    // (0, 0) next time).
    String ChooseDirectFire(HexPos& firerHex, HexPos& targetHex, PlacedUnit& unit);
    // Carries out the chosen fire: the header and the fire's report, also
    // left in m_reportText. The shown hex is the firer hex when the side to
    // move may see it, else the target hex.
    String ExecuteDirectFire(HexPos& shownHex, HexPos& targetHex);

    // The cursor hex holds a unit of the side to move that can fire; the
    // firer hex and position name it.
    bool FindFirerAtCursor();
    bool CanUnitFire(const PlacedUnit& unit);
    // The nearest enemy hex around the firing hex that the unit at the firer
    // position of the firer hex may fire at (distance from the origin; ties
    // drawn), then the unit aimed at there; the report text is the
    // announcement. With hardOnly only hexes holding a hard target count.
    bool ChooseTarget(const PlacedUnit& unit, HexPos origin, HexPos firing, bool hardOnly);
    // The unit of the target hex to aim at, hard targets first for a firer
    // better against them; its line of the announcement, or empty.
    String ChooseTargetUnit(const PlacedUnit& firer, HexPos firing);
    bool MayFireAt(const PlacedUnit& firer, HexPos firing, const PlacedUnit& target, HexPos targetHex);
    // The chosen fire's effects before it is announced: the firer turned to
    // its target, the trace, the fire mark; a copy of the firing unit (shown
    // to the enemy when it has contact with the firer hex).
    void GetChosenFire(HexPos& firerHex, HexPos& targetHex, PlacedUnit& unit);
    // ">Firing unit", where it stands (when the side to move may see that
    // hex) and its label (unless the side's information is hidden).
    String FiringUnitHeader(const PlacedUnit& unit, int x, int y) const;

    // The firer position back at the top of the stack.
    bool LoadBattleAndReport(
        std::istream& in, String& text, std::vector<int>& groups, std::vector<int>& released, HexList& hexes) override;
    void BuildTurnStartReport(String& text, HexList& hexes, std::vector<int>& offMapChanges, std::vector<int>& groups,
        std::vector<int>& released) override;
    void ResetBattleState() override;

    // The announcement and, after the fire, the whole report.
    String m_reportText;
    HexPos m_firerHex { -1, -1 };
    HexPos m_targetHex { -1, -1 };
    // 1-based from the top of the firer hex; 0 names the bottom unit.
    int m_firerPosition = 1;
    HexSide m_firerHexside = HexSide::North;
    // Counts only the targetable units of the target hex, from 1.
    int m_targetOrdinal = 1;
    HexSide m_targetHexside = HexSide::North;
};
