#pragma once
// Opportunity fire: after every step of a move the side that is not moving
// may fire at the hex just entered, and the owner of a hex may fire at an
// air strike arriving over it. Which unit reacts depends on distance, its
// readiness counters and a private random choice among the willing; the
// fire itself is ordinary direct or anti-aircraft fire.

#include "model/HexSide.h"
#include "model/PlacedUnit.h"
#include "model/Random.h"
#include "model/String.h"
#include "rules/GameAirMineAttack.h"

class CGameOpportunityFire : public CGameAirMineAttack {
public:
    CGameOpportunityFire() = default;
    ~CGameOpportunityFire() override = default;

    // Whether a firer at (x, y), the hex just entered (or the air-strike hex
    // with airStrike), has been chosen; it is then pending.
    bool CheckOpportunityFire(int x, int y, bool airStrike);
    bool IsFirePending() const { return m_opFirerPosition != 0; }
    // No fire stays pending across battles.
    void ResetBattleState() override;
    // The pending firer; null when none is pending or it is gone.
    PlacedUnit* GetPendingFiringUnit();
    // Fires the pending fire (nothing when none is pending or the firer is
    // gone) and clears it; the report is left in report.
    void ExecutePendingFire(String& report, bool airStrike);

    bool CanHexReactTo(int hexX, int hexY, int targetX, int targetY, int side, bool airStrike);
    bool HexHasExposedTarget(int x, int y) const;
    bool IsExposedTarget(const PlacedUnit& unit, int x, int y) const;
    void ConsiderFirers(
        int hexX, int hexY, int targetX, int targetY, CRandomGenerator& generator, int& candidates, bool airStrike);
    bool IsWillingToFire(const PlacedUnit& unit, int hexX, int hexY, int targetX, int targetY, bool airStrike) const;
    void ChooseOpportunityTarget();
    bool IsWillingToFireAt(const PlacedUnit& firer, const PlacedUnit& target) const;

    // 1-based stack position of the pending firer in m_opFirerHex; 0 none.
    int m_opFirerPosition = 0;
    HexPos m_opFirerHex { -1, -1 };
    HexPos m_opTargetHex { -1, -1 };
    // The target's ordinal among the targetable units of the target hex; 0 none.
    int m_opTargetOrdinal = 0;

private:
    // Target classes of the willingness table: hard, vehicle, other soft.
    enum TargetClass { kHardClass = 0, kVehicleClass = 1, kSoftClass = 2 };
    bool IsWillingAtDistance(const PlacedUnit& unit, int distance, TargetClass targetClass) const;
};
