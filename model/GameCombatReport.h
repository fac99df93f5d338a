#pragma once
// Target tests, unit names and value lines of the combat reports, the
// turning of firing units toward their target and the queries on pending
// indirect fire that the fire, assault and computer-opponent layers share.

#include <iosfwd>

#include "model/GameData.h"

class CGameCombatReport : public CGameData {
public:
    CGameCombatReport() = default;
    ~CGameCombatReport() override = default;

    // Every unit of the hex is of a leader type (also true for an empty hex).
    bool HexHasOnlyLeaders(int x, int y) const;
    // Not carried, not a leader, and not hidden from the firer.
    bool IsTargetableUnit(const PlacedUnit& unit, int x, int y) const;
    // A hidden side's unit in an unrevealed cave, or one its enemy has not
    // spotted (hidden bit), is no target while its side is hidden.
    bool IsTargetHidden(const PlacedUnit& unit, int x, int y) const;

    // Each listed unit that is not carried turns to the nearest facing that
    // looks at the target hex. Nothing turns for a firing hex off the map,
    // the target's own hex, or a selection the stack operations refuse.
    void TurnFiringUnitsToward(const int* positions, int count, int fromX, int fromY, int toX, int toY);
    // Steps one copy of the facing clockwise and one counter-clockwise until
    // the first reaches side a (which wins a tie) or the second side b. A
    // facing of none stays none; a facing, or a pair, that is not made of
    // single sides leaves the facing as it is.
    static HexSide NearestFacingToward(HexSide facing, HexSide a, HexSide b);

    // "Unknown" while the unit's side information is hidden, else its short name.
    void GetUnitNameForViewer(String& out, const PlacedUnit& unit) const;
    // The unit's name when it is shorter than 36 characters, else its short name.
    static void GetUnitLabel(String& out, const PlacedUnit& unit);
    // The square of the radius around the hex, clamped to the map.
    void ClipSquareToMap(int x, int y, int radius, int& minX, int& maxX, int& minY, int& maxY) const;

    // The value lines of the combat reports. A modifier other than exactly
    // 1.0 is shown as a whole percentage.
    static void WriteFireValuesLine(std::ostream& out, int attack, int defense, double modifier);
    static void WriteAttackLine(std::ostream& out, int attack);
    static void WriteDefenseLine(std::ostream& out, int defense, double modifier);
    void WriteFiringUnitLine(std::ostream& out, const PlacedUnit& unit, int x, int y) const;

    // Pending fire missions aimed at the hex, and whether one of them is smoke.
    int CountPendingFireOnHex(int x, int y) const;
    bool HasFlaggedPendingFireOnHex(int x, int y) const;
    // A unit of the hex, neither disrupted nor carried, whose type can clear
    // minefields and blocked hexes.
    bool HexHasClearingUnit(int x, int y) const;
};
