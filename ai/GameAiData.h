#pragma once
// What every step of the computer opponent reads: the distance of each hex
// from the enemy, the cursor with which the steps sweep the map, each side's
// objective hexes, and the tuning values of "main.ai" with that file's time.
// Above this layer the opponent's view of a side follows that side's fog of
// war.

#include <cstdint>
#include <istream>
#include <vector>

#include "ai/GameAiOrders.h"

class CGameAiData : public CGameAiOrders {
public:
    static constexpr const char* kAiFileName = AiParameters::kFileName;

    CGameAiData();
    ~CGameAiData() override = default;

    // A hidden side's stack shows only where the other side has contact, and
    // only when one of its units is neither carried nor hidden.
    bool HexHasUnits(int column, int row) const override;
    bool IsOpponentHidden() const override;

    // The lower layers' freshness tests, then "main.ai"'s. A "main.ai"
    // missing at the last reload is not watched.
    bool CheckFilesChanged() override;

    // Enemy distances: 0 where a visible enemy stack with a weapon stands
    // (the side not to move), d hexes from the nearest such stack up to the
    // horizon w0, and w0 farther away or with no such enemy (also off the
    // map).
    void RebuildEnemyDistanceGrid();
    int GetEnemyDistance(int x, int y) const;

    // The side's objective hexes: objective cells whose holder nation is of
    // that side, in column order (an unheld cell belongs to neither side).
    // Nothing for a side other than 0 or 1.
    void BuildObjectiveList(int side);
    HexList& GetObjectiveList(int side) { return m_objectiveLists[side == 1 ? 1 : 0]; }
    const HexList& GetObjectiveList(int side) const { return m_objectiveLists[side == 1 ? 1 : 0]; }

    // The sweep cursor. (-1, -1) when the sweep has ended.
    void ResetSweep();
    // Rows within a column, columns left to right; then (-1, -1).
    void AdvanceSweep();
    // Four passes, each in its own direction (down the columns, up them
    // from the far corner, along the rows, back along them), then (-1, -1).
    void AdvanceSweepTurning();
    bool IsSweeping() const { return m_sweep.column != -1 && m_sweep.row != -1 && m_sweepDirection <= 3; }
    // Whether a step (or a move in a direction) leads back into the part of
    // the map the sweep has passed; true when no sweep is under way.
    bool IsStepAgainstSweep(int column1, int row1, int column2, int row2) const;
    bool IsDirectionAgainstSweep(HexSide direction) const;

    // A value that differs from hex to hex and turn to turn but is the same
    // on every machine playing the battle: the elapsed battle time, x, y and
    // the salt, exclusive-or'ed.
    std::uint32_t MixAt(int x, int y, int salt) const;
    std::uint32_t MixAtCursor(int salt) const { return MixAt(m_sweep.column, m_sweep.row, salt); }

    // The two objective lists of a saved battle, side 0 first, each ended by
    // "-1 -1".
    bool ReadBattleFile(std::istream& in, bool keepVersion10) override;
    bool WriteBattleFile(std::ostream& out) const override;
    // The cursor back at the start and both objective lists emptied.
    void ResetBattleState() override;

    // A battle read with its opening report; then the sweep starts afresh
    // and both sides' objective lists are taken from the battle's cells.
    bool LoadBattleAndReport(
        std::istream& in, String& text, std::vector<int>& groups, std::vector<int>& released, HexList& hexes) override;
    // The turn-start report; then the sweep starts afresh. A side the
    // computer plays under fog of war gets no report: its opponent at the
    // same screen would read it.
    void BuildTurnStartReport(String& text, HexList& hexes, std::vector<int>& offMapChanges, std::vector<int>& groups,
        std::vector<int>& released) override;

    HexGrid<std::int8_t> m_enemyDistance;
    HexList m_objectiveLists[2];
    HeldFile m_aiFileTime;
    HexPos m_sweep { -1, -1 };
    int m_sweepDirection = 0;
    AiParameters m_aiParameters;

protected:
    // The lower layers' reload; when it gave no error, "main.ai" (its time
    // first, then its values).
    const char* Reload() override;
};
