#pragma once
// Close assault: one defending hex, units of the side to move committed from
// the hexes around it, the odds, and the resolution, which applies combat
// results to both sides and then overruns, captures or drives back the
// defenders.

#include <cstdint>
#include <vector>

#include "model/HexSide.h"
#include "rules/GameCombatResults.h"

class CGameAssault : public CGameCombatResults {
public:
    CGameAssault() = default;
    ~CGameAssault() override = default;

    // Whether an assault is open (its defending hex is set).
    bool HasAssault() const { return m_assaultHex.column != -1 && m_assaultHex.row != -1; }

    // Opens an assault on the hex, ending any open one first; false with
    // the reason in m_assaultRefusal.
    bool CanAssaultHex(int x, int y);
    // Commits the listed units of an adjacent hex in list order. A refusal
    // ends the call; the units committed before it stay committed.
    bool AddToAssault(int x, int y, const int* positions, int count);
    // Command twin of AddToAssault: empty on success, else the refusal.
    void AddSelectionToAssault(String& out, int x, int y, const int* positions, int count);
    // The odds of the open assault, or why there are none to show.
    void GetOddsText(String& out);
    // Empty when the open assault can be resolved, else the refusal.
    void CanResolveAssault(String& out);
    // Resolves the open assault and ends it; the report goes to out. False,
    // with nothing changed and out empty, when it cannot be resolved.
    bool ResolveAssault(String& out);
    // Ends the open assault unresolved: its units are no longer committed.
    void ClearAssault();
    // No assault stays open across battles.
    void ResetBattleState() override;
    // The checks of one listed unit to be committed; false with the refusal.
    bool CheckAssaultUnit(const PlacedUnit& unit, int x, int y);

    // A targetable unit of the hard class is in the hex.
    bool HexHasHardTarget(int x, int y) const;
    // A fortified hex, or buildings, village, city, industrial or suburb.
    bool IsHardTerrain(int x, int y) const;

    // The eight totals from the units: the defenders of the defending hex,
    // then the committed units around it (all 0 while no assault is open).
    void RecomputeAssaultTotals();
    // What the defending hex's positions make of an attack.
    double GetAssaultTerrainMultiplier() const;
    // The strongest leader that commands a committed unit in its hex around
    // the defending hex; the same among the defenders, committed or not.
    int GetAttackLeaderBonus() const;
    int GetDefenceLeaderBonus() const;

    // The defending hex of the open assault; (-1, -1) while none is open.
    HexPos m_assaultHex { -1, -1 };
    int m_defenceTotal = 0;
    int m_counterAssaultTotal = 0;
    int m_defenderUnits = 0;
    int m_defenderStrength = 0;
    int m_attackTotal = 0;
    // The attackers' own defence against the counter-assault.
    int m_attackerDefenceTotal = 0;
    // Leaders are not counted.
    int m_attackerUnits = 0;
    // Leaders and the mounts of cavalry and boats are not counted.
    int m_attackerStrength = 0;
    // The reason of the last refusal of this layer.
    const char* m_assaultRefusal = nullptr;

private:
    struct Totals {
        std::int64_t defence = 0;
        std::int64_t counterAssault = 0;
        std::int64_t defenderUnits = 0;
        std::int64_t defenderStrength = 0;
        std::int64_t attack = 0;
        std::int64_t attackerDefence = 0;
        std::int64_t attackerUnits = 0;
        std::int64_t attackerStrength = 0;
    };
    // A committed unit and the hex it attacks from.
    struct Attacker {
        int x = 0;
        int y = 0;
        UnitNode* node = nullptr;
        int strength = 0;
        // Not the passenger of a loaded unit: results fall on it directly.
        bool takesResult = false;
    };

    int HexFlagsAt(int x, int y) const;
    bool RefuseAssault(const char* text)
    {
        m_assaultRefusal = text;
        return false;
    }
    void StoreTotals(const Totals& totals);
    Totals LoadTotals() const;
    void AddDefender(Totals& totals, const PlacedUnit& unit, int divisor, int flags) const;
    void AddAttacker(Totals& totals, const PlacedUnit& unit, bool cavalryCarried, bool armourCarried) const;
    // The hexes around the defending hex held by the side to move, N to NW.
    std::vector<HexPos> AttackingHexes() const;
    std::vector<Attacker> CollectAttackers();
    int GetLeaderBonus(int x, int y, bool committedOnly) const;
    // The action points of an assault by the unit whose step into the
    // defending hex costs moveCost.
    std::int64_t AssaultPoints(const PlacedUnit& unit, int moveCost) const;
    bool AreDefendersBroken() const;
    // The outcome for broken defenders; its line is appended to report.
    void ApplyOutcome(String& report, int attackerSide);
    // A neighbour of the defending hex the defenders may retreat to.
    bool ChooseRetreatHex(int attackerSide, HexPos& chosen);
    void AdvanceIntoDefendingHex();
    // The side holding the defending hex gets contact with it.
    void RenewOccupation();
};
