#pragma once
// Fire results on units, and their recovery.
//
// Every operation takes the target as a unit of its hex's stack, never as a
// stack position: a result removes, reduces or moves units, and positions
// would name other units afterwards. A unit a result eliminates is freed;
// the caller must not touch it once the result says the target is finished.

#include "rules/GameSpotting.h"

class CGameCombatResults : public CGameSpotting {
public:
    CGameCombatResults() = default;
    ~CGameCombatResults() override = default;

    // One attack on one unit: its result text is appended to text. True when
    // the target is finished (eliminated or gone), so that the attacker stops
    // firing at it.
    bool ApplyFireResult(String& text, int attack, int shots, int passengerAttack, int defence, int x, int y,
        UnitNode* unit, double modifier, bool retreatAllowed, bool disableAllowed);
    // Fire on a leader: it dies or nothing happens.
    bool ResolveLeaderHit(
        String& text, int attack, int shots, int defence, int x, int y, UnitNode* leader, double modifier);
    // Fire on the air strike over the hex; true when the strike is gone.
    bool ResolveAirDefenceFire(String& text, int attack, int shots, int defence, int x, int y);
    // Morale recovery of a disrupted unit; true when the disruption is gone.
    bool RollRecovery(UnitNode* unit, int x, int y);

    int GetStackMorale(const PlacedUnit& unit, int x, int y) const;
    int GetCoverMoraleBonus(const PlacedUnit& unit, int x, int y) const;
    int GetRecoveryMorale(const PlacedUnit& unit, int x, int y) const;
    bool IsInCommand(const PlacedUnit& unit, int x, int y) const;
    double GetAdvantageFraction() const;

    // The pieces the other kinds of fire and the assault use.
    // Removes the unit (and its riders), leaving its wrecks.
    void EliminateWithWreck(int x, int y, UnitNode* unit);
    // The unit loses n points, leaving n wrecks.
    void ReduceWithWreck(int n, int x, int y, UnitNode* unit);
    String EliminateWithPassengers(int x, int y, UnitNode* unit);
    String ReduceWithPassengers(int n, int x, int y, UnitNode* unit);
    String DisruptWithPassengers(int x, int y, UnitNode* unit);
    // These append to text (a blank before the item when text is not empty).
    bool EliminateResult(String& text, int x, int y, UnitNode* unit);
    void ReduceResult(String& text, int n, int x, int y, UnitNode* unit);
    bool DisruptResult(String& text, int x, int y, UnitNode* unit, bool retreatAllowed);
    bool RetreatResult(String& text, int x, int y, UnitNode* unit, bool retreatAllowed);
    bool MoraleAfterLoss(String& text, int x, int y, UnitNode* unit, bool retreatAllowed);
    // Moves the unit (with its passenger, and the hex's leaders when it is
    // their last unit) one hex away from the known enemy; false when it
    // cannot retreat.
    bool RetreatMove(int x, int y, UnitNode* unit);

    bool PassesMoraleCheck(const PlacedUnit& unit, int x, int y) const;
    // False when the unit's morale is broken.
    bool LoseMoraleStep(PlacedUnit& unit) const;
    // Adds wrecks to the hex, never above the stacking limit's share and
    // never lowering a count already above it.
    void AddWreckCapped(int x, int y, int n, bool flag);

private:
    void ApplyPassengerFire(String& text, int a2, int b2, int x, int y, UnitNode* unit);
    int GetFireBias(int side) const;
    // The unit directly below in its stack, or null.
    UnitNode* UnitBelow(int x, int y, UnitNode* unit);
    bool IsHexFortified(int x, int y) const;
    void PlainDisruption(String& text, int x, int y, UnitNode* unit);
    // A type that moves, outside a bunker or pillbox.
    bool CanBeDrivenOff(const PlacedUnit& unit, int x, int y) const;
    // Retreats, else loses a point, else is eliminated; always finished.
    bool RetreatOrLose(String& text, int x, int y, UnitNode* unit);
};
