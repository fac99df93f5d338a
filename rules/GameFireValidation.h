#pragma once
// Validation of fire, smoke, starshell and air-attack orders.
//
// The fire checks keep their own refusal text, m_fireRefusal, apart from the
// orders layer's. Every check that takes a report flag stores it in
// m_reportRefusal first, and the checks it calls read it from there: with 0
// a refusal leaves m_fireRefusal as it was (the computer opponent probes
// silently), with 1 the refusal's text is put there. A passing check never
// clears the text. No check changes the battle; only the smoke and air
// checks may give a side contact with a hex it now sees.
//
// Units are passed as records (a stack's unit, or an off-map firer with the
// column and row it fires from); selections as stack positions, which are
// resolved to units first.

#include <cstdint>

#include "model/String.h"
#include "rules/GameAssault.h"

class CGameFireValidation : public CGameAssault {
public:
    CGameFireValidation() = default;
    ~CGameFireValidation() override = default;

    // Command twins for the frame: the bool form with report 1; empty on
    // success, else the refusal text.
    // Direct fire by the selected units of the firer hex.
    String CheckFireOrder(const int* positions, int count, int firerX, int firerY, int targetX, int targetY);
    // Artillery fire by one unit.
    String CheckSupportFireOrder(const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY);
    String CheckAirAttackOrder(int x, int y);
    String CheckSmokeOrder(const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY);
    // Starshell by the selection of a hex: exactly one unit that is not a
    // leader may fire it (leaders may be listed with it).
    String CheckStarshellOrder(const int* positions, int count, int firerX, int firerY, int targetX, int targetY);
    // Starshell by one unit on an artillery mission.
    String CheckStarshellMission(const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY);

    // Each listed unit that is neither carried nor a leader must pass
    // CheckFireSides; the first that fails refuses with its text. A selection
    // the stack operations refuse reads as an empty one.
    bool CheckFiringUnits(
        const int* positions, int count, int firerX, int firerY, int targetX, int targetY, int report);
    // The whole check for one firing unit: sides, then CheckFireTarget.
    bool CheckFireSides(const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY, int report);
    // CheckUnitCanFire, then what the firer's hex forbids.
    bool CheckFirerTerrain(const PlacedUnit& unit, int firerX, int firerY, bool indirect);
    // The unit's own state: moved, fired, assaulting, armed, action points,
    // availability, loading.
    bool CheckUnitCanFire(const PlacedUnit& unit);
    // The firer's hex, the target (an air strike for anti-aircraft fire),
    // sight or spotting, the phase of indirect fire, then range.
    bool CheckFireTarget(
        const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY, int report, bool antiAircraft);
    // An air strike of the side to move on the hex.
    bool CheckAirAttack(int x, int y, int report);
    bool CheckSmokeFire(const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY, int report);
    bool CheckStarshellUnit(const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY, int report);

    // Whether the firer reaches that target unit: its hard range against a
    // hard target, its soft range against a soft one or a non-carrier
    // carrying riders. A cave fighter in an unrevealed cave is out of reach.
    bool IsTargetInRange(
        const PlacedUnit& firer, int firerX, int firerY, const PlacedUnit& target, int targetX, int targetY) const;
    // Fire at the hex uses the soft range: only leaders (or nothing), or a
    // targetable unit that is soft in the open, a soft vehicle, or a
    // non-carrier carrying riders. Soft infantry in a pillbox counts as hard.
    bool IsSoftTargetHex(int x, int y) const;
    bool HexHasTargetableVehicle(int x, int y) const;
    // An air strike of the other side is over the hex, and the side may fire
    // at it now (three-phase turns, or it is not the side's own turn).
    bool IsAirTargetFor(int x, int y, int side) const;
    // An indirect-capable unit fires indirectly when it is off the map, has
    // no line of sight, or the target hex shows no enemy.
    bool MustFireIndirectly(const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY);
    // MustFireIndirectly holds for some listed unit.
    bool NeedsIndirectFire(const int* positions, int count, int firerX, int firerY, int targetX, int targetY);
    // At night, two or more hexes away, at a hex that is not lit.
    bool IsTargetUnlitAtNight(int firerX, int firerY, int targetX, int targetY) const;
    // "Range of weapon exceeded by n hex(es)" for a distance above the range,
    // "Minimum range of weapon exceeded by n hex(es)" otherwise.
    static String GetRangeExceededText(int range, int distance);

    // The text of the last reported refusal of a fire check.
    String m_fireRefusal;
    // The report flag of the check in progress (0 or 1).
    std::uint8_t m_reportRefusal = 0;

private:
    // Every check that takes a report flag keeps it for the checks it calls.
    void StoreReportFlag(int report) { m_reportRefusal = report != 0 ? 1 : 0; }
    // Leaves the text when reporting; always false.
    bool RefuseFire(const String& text);
    bool IsThreePhaseTurns() const { return IsOptionSet(kOptionThreePhase); }
    bool IsFirerOnMap(int x, int y) const { return m_map.IsOnMap(x, y); }
    int HexFlagsAt(int x, int y) const;
    // An air strike value is assigned to the hex.
    bool HasAirStrike(int x, int y) const;
    // The hex holds a cave not yet revealed.
    bool IsUnrevealedCave(int x, int y) const;
    // The text of the check's twin: empty when it passed.
    String TwinText(bool passed) const { return passed ? String() : m_fireRefusal; }
    // The night and starshell-stock tests of the starshell twins; null when
    // both pass.
    const char* CheckStarshellBattle() const;
};
