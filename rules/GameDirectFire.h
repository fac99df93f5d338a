#pragma once
// Direct fire: fire values from weapon, state and leader, the target's
// defence and cover, the shots and their results; the units marked as having
// fired; the fire trace the map view draws. Also the firing reserve of action
// points and the engineers' attempts on walls and bridges.
//
// Every operation that takes stack positions resolves them to units first
// (a refused selection counts as an empty one) and walks unit identities, so
// that results taking units out of a stack never shift a walk.

#include <vector>

#include "model/HexSide.h"
#include "model/PlacedUnit.h"
#include "model/String.h"
#include "rules/GameFireValidation.h"

class CGameDirectFire : public CGameFireValidation {
public:
    static constexpr const char* kUnknownEffectsText = "Unknown effects vs. unknown units";
    static constexpr const char* kAirAttackHeading = "Fire results against air attack\n";
    // A fire never rolls more shots than this, whatever a file's wreck count.
    static constexpr int kMaxShots = 10000;

    CGameDirectFire() = default;
    ~CGameDirectFire() override = default;

    // The listed units of the firer hex fire at the ordinal-th targetable
    // unit of the target hex (its leaders may be hit too); the report is
    // left in report. A selection the stacks refuse fires nothing and
    // leaves report empty.
    void ResolveDirectFire(
        String& report, const int* positions, int count, int firerX, int firerY, int targetX, int targetY, int ordinal);
    // Anti-aircraft fire of the listed units at the air strike over the
    // target hex.
    void FireAtAirAttack(
        String& report, const int* positions, int count, int firerX, int firerY, int targetX, int targetY);

    // The n-th (from 1, from the top) targetable unit of the hex; null when
    // there is none.
    UnitNode* FindTargetUnit(int x, int y, int n);
    const UnitNode* FindTargetUnit(int x, int y, int n) const;
    // 1 + the targetable units above the position when the unit there is
    // targetable; else 0.
    int GetTargetOrdinal(int x, int y, int position) const;
    // Every targetable unit equals the first, and with more than one none is
    // a loaded carrier: the player need not choose among them.
    bool AreTargetsAlike(int x, int y) const;

    // The unit's fire value at the target hex. With spendLeader, the leader
    // whose strength helps pays its action points for it.
    int ComputeFireValue(
        const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY, bool hard, bool spendLeader);
    // Sum of the fire values of the listed units that are neither carried
    // nor leaders (nothing is spent).
    int SumFireValue(const int* positions, int count, int firerX, int firerY, int targetX, int targetY, bool hard);
    // The target's defence against fire from the firer hex (armour by the
    // side hit under Armor Facing Effects).
    int TargetDefence(const PlacedUnit& target, int firerX, int firerY, int targetX, int targetY) const;
    // Cover of the target hex, elevation and hexsides facing the firer.
    void ApplyTargetModifiers(const PlacedUnit& target, int firerX, int firerY, int targetX, int targetY, bool& hard,
        int& defence, double& modifier) const;
    // The terrain and hex-feature part alone (indirect fire and air attacks
    // use it too): sets modifier, may raise defence and make the target hard.
    void ApplyTerrainModifiers(
        const PlacedUnit& target, int x, int y, bool& hard, int& defence, double& modifier) const;
    // Shots of one firing unit at the target hex: its strength, halved for
    // low ammunition or wading, plus the bonus for a crowded target hex.
    int ComputeShots(const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY) const;

    // Adds each unit's soft fire value to the target hex's indirect-fire total.
    void AddFireValueToHex(const int* positions, int count, int firerX, int firerY, int targetX, int targetY);
    void AddUnitFireValueToHex(const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY);

    void MarkUnitFired(PlacedUnit& unit, bool smoke);
    void MarkUnitsFired(const int* positions, int count, int x, int y, bool smoke);
    // Starshells cost 20 points up close.
    void MarkUnitFiredAtRange(PlacedUnit& unit, int x, int y, int targetX, int targetY);
    void MarkUnitsFiredAtRange(const int* positions, int count, int x, int y, int targetX, int targetY);

    // Not carried, not bound to indirect fire here, and armed.
    bool CanUnitFireDirectly(const PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY);

    // No fire trace stays across battles.
    void ResetBattleState() override;

    // The fire trace.
    void SetFireTrace(HexSide firerSide, int firerX, int firerY, HexSide targetSide, int targetX, int targetY);
    void ClearFireTrace();
    void RecordFireTrace(
        const int* positions, int count, int firerX, int firerY, int targetX, int targetY, int ordinal);
    // Whether the shot of a firer of this type shows as hitting a hard target.
    bool TraceHitsHardTarget(const PlatoonType* firerType) const;

    // "Save AP's for Firing".
    void ToggleSaveApForFiring(String& out, const int* positions, int count, int x, int y);
    void ToggleSelectionSaveApForFiring(const int* positions, int count, int x, int y);
    void ToggleUnitSaveApForFiring(PlacedUnit& unit);
    // The group at that 1-based place of the reinforcement list (0 the last).
    void ToggleGroupSaveApForFiring(int group);

    // "Damage Wall or Bridge": empty when the attempt was made, hit or miss;
    // destroyed, when given, tells whether the side was destroyed.
    void DamageWallOrBridge(
        String& out, int x, int y, const int* positions, int count, HexSide side, bool* destroyed = nullptr);
    bool AttemptDamage(int x, int y, const int* positions, int count, HexSide side, bool* destroyed = nullptr);
    bool IsEngineerReady(const PlacedUnit& unit) const;
    int GetObstacleDefence(int x, int y, HexSide side) const;

    // Refusal text of the last damage attempt.
    String m_damageRefusal;
    // The fire trace: second sides of the first firer and of the target
    // (64 none) and their hexes (-1, -1 no trace).
    HexSide m_traceFirerSide = HexSide::North;
    HexPos m_traceFirerHex { -1, -1 };
    HexSide m_traceTargetSide = HexSide::North;
    HexPos m_traceTargetHex { -1, -1 };

private:
    // One firing unit at the target; true when the target is finished.
    bool FireOneUnit(String& report, PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY,
        UnitNode* target, bool hard, int defence, double modifier);
    // The hex's leaders may be hit; the text of those fired on.
    String FireOnLeaders(const std::vector<UnitNode*>& firers, int firerX, int firerY, int targetX, int targetY,
        double factor, bool mark);
    bool FireAtLeader(String& report, PlacedUnit& unit, int firerX, int firerY, int targetX, int targetY,
        UnitNode* leader, int defence, double modifier, bool mark);
    // At night the firer hex shows fire, and an unlit target hides the result.
    void ApplyNightReport(String& report, int firerX, int firerY, int targetX, int targetY);
    void AddLeaderBonus(long long& value, const PlacedUnit& unit, int firerX, int firerY, bool spend);
    bool StillInHex(int x, int y, const UnitNode* node) const;
    // The unit right below the given one in the hex's stack, or null.
    const UnitNode* NodeBelowUnit(const PlacedUnit& unit, int x, int y) const;
};
