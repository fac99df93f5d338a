#pragma once
// Artillery fire on a hex, at once or plotted for the phase change; smoke and
// starshell missions; the scatter and drift of an impact hex.
//
// Fire on a hex resolves the target hex's units to unit identities before the
// first result and skips a unit that is no longer in the hex when its turn
// comes, so an elimination never shifts the next target. Every draw comes
// from the global generator, in the order the fire is told here.

#include <iosfwd>

#include "model/GameRecords.h"
#include "model/HexSide.h"
#include "model/PlacedUnit.h"
#include "model/String.h"
#include "rules/GameDirectFire.h"

class CGameIndirectFire : public CGameDirectFire {
public:
    static constexpr const char* kEmptyHexText = "Indirect fire on empty hex";
    static constexpr const char* kUnknownResultsText = "Unknown indirect fire results";
    static constexpr const char* kInvalidHexText = "Fire landed in invalid hex";
    static constexpr const char* kSmokeFiredText = "Smoke fired into hex";
    static constexpr const char* kStarshellFailedText = "Firing of starshell failed";

    CGameIndirectFire() = default;
    ~CGameIndirectFire() override = default;

    // Fire of the listed units of the firer hex on the target hex, at once.
    // The report is what the firing side is shown; the detail names every
    // unit and result. A selection the stacks refuse fires nothing and
    // leaves both empty.
    void ResolveIndirectFire(String& report, const int* positions, int count, int firerX, int firerY, int targetX,
        int targetY, String& detail);
    // Fire of one unit whose plotted mission lands; the firer may be off the
    // map.
    void ResolvePlottedFire(
        String& report, PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY, String& detail);
    // One firer against one target unit of the target hex; true when the
    // target is finished, which ends the firing at it.
    bool FireOnTargetUnit(std::ostream& report, std::ostream& detail, PlacedUnit& firer, UnitNode* target, int firerX,
        int firerY, int targetX, int targetY, bool hard, int defence, double modifier, bool visible);

    // Keeps the mission for the phase change and marks the unit fired.
    void PlotIndirectFire(PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY, bool smoke);
    // The unit that plotted the mission, or null when it is gone: on the map,
    // the first unit of the firing hex's stack whose organisation node id is
    // the record's; off the map, the first such unit of the off-map list.
    // A unit without a node counts as id 0.
    const PlacedUnit* IsPlottedFireValid(const PendingFire& record) const;
    PlacedUnit* IsPlottedFireValid(const PendingFire& record);

    // Smoke of the unit's side on the target, unless it lands in open water.
    void FireSmoke(String& out, const PlacedUnit& unit, int targetX, int targetY);
    // A starshell of one unit's mission: empty when it was fired.
    void FireStarshellMission(String& out, const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY);
    // A starshell of the listed units of a hex, for the side to move. A
    // selection the stacks refuse fires nothing and draws nothing.
    void FireStarshell(String& out, const int* positions, int count, int firerX, int firerY, int targetX, int targetY);

    // Not carried, and its type fires indirectly.
    bool CanFireIndirect(const PlacedUnit& unit) const;
    // Four times in ten the hex stays; else it moves one hex in a drawn
    // direction when that hex is on the map.
    void ScatterImpactHex(HexPos& hex);
    // Two steps in drawn directions, each taken only onto a hex of the map
    // that is not the firer's.
    void DriftImpactHex(int firerX, int firerY, HexPos& hex);

protected:
    // A unit of a hex-wide attack's target stack at its turn: still in the
    // hex, not carried, and not right below a loaded unit (as the stack
    // stands now).
    bool IsStackTargetAtTurn(int x, int y, const UnitNode* node) const;

private:
    // The shared walk of fire on a hex; immediate fire lets every listed
    // firer that can fire indirectly take its turn, plotted fire its one
    // firer, and only immediate fire reveals the firer's cave.
    struct Firer {
        PlacedUnit* unit;
        const UnitNode* node; // the firer hex's node; null for a plotted firer
    };
    void FireOnHex(String& report, const Firer* firers, int count, bool immediate, int firerX, int firerY, int targetX,
        int targetY, String& detail);
    // Under hidden information the firer hex shows its side's fire mark,
    // unless the other side cannot see the hex.
    void MarkFiringHex(int firerX, int firerY);
    // The starshell draw: true when a chance (in percent) succeeds.
    static bool StarshellSucceeds(long long chance);
    // A fired starshell: the side's stock, its mark over the target and the
    // firing hex's fire mark.
    void SpendStarshell(int side, int firerX, int firerY, int targetX, int targetY);
};
