#pragma once
// Air strikes and minefield attacks. A strike is assigned to a hex, arrives
// at a later phase of its side, may shift to a nearby hex that holds units,
// and attacks one unit or the whole stack there. Units that enter a mined or
// blocked hex are attacked by the mines.
//
// Every operation that attacks several units resolves them to unit
// identities before the first result and skips a unit no longer in the hex
// when its turn comes, so that an elimination never shifts the next target.

#include <vector>

#include "model/HexSide.h"
#include "model/PlacedUnit.h"
#include "model/PlatoonType.h"
#include "model/String.h"
#include "rules/GameIndirectFire.h"

class CGameAirMineAttack : public CGameIndirectFire {
public:
    static constexpr const char* kEmptyAirHexText = "Air attack on empty hex";
    static constexpr const char* kMinefieldHeading = "Attack against units in minefield\n";
    // Chance that a pending strike arrives in one scan.
    static constexpr double kArrivalChance = 0.65;
    // Chance that a hex the enemy does not hold still draws the strike.
    static constexpr double kStrayChance = 0.01;
    // Radius of the square around the assigned hex where the strike may fall.
    static constexpr int kStrikeRadius = 3;

    CGameAirMineAttack() = default;
    ~CGameAirMineAttack() override = default;

    // A new battle's arrival scan starts at (0, 0).
    void ResetBattleState() override;

    // Air strikes.
    // The side to move sends a strike of the parameter data's strength to
    // the hex (kept for undo first) and has one strike less.
    void AssignAirStrike(int x, int y);
    // Resumes the scan at the cursor, rows outer: the next hex holding a
    // strike of the side to move that passes its arrival draw (the cursor
    // stays on it, so that the next call tests it first). False, the cursor
    // back at (0, 0), when the scan ends; a cursor off the map ends it at once.
    bool NextArrivingAirStrike(HexPos& hex);
    // The hex the strike in the hex actually hits, among the hexes around it
    // holding units the enemy is known in; the strike moves there and the
    // hex becomes it. False, nothing changed, when there is none.
    bool ChooseAirStrikeHex(HexPos& hex);
    // The strike over the hex attacks the ordinal-th targetable unit, or
    // the whole stack when there is no such unit; the strike is then gone.
    // The aircraft type, when given, sets the attack values.
    void ResolveAirStrike(String& text, int x, int y, const PlatoonType* aircraft, int ordinal);
    void AirAttackOnUnit(String& text, UnitNode* unit, int x, int y, const PlatoonType* aircraft);
    void AirAttackOnHex(String& text, int x, int y, const PlatoonType* aircraft);

    // Minefields. The units are given as stack positions (1 the top unit,
    // 0 the bottom one); a position past the stack ends the list.
    // The minefield attack on the units that entered the hex; empty when the
    // hex holds no minefield.
    void CheckMinefieldAttack(String& text, const int* positions, int count, int x, int y);
    // Level 0 is the blocked hex: only mine-vulnerable units are attacked,
    // with strength 1; levels 1 to 3 attack every unit with that strength.
    void MinefieldAttack(String& text, const int* positions, int count, int x, int y, int level);
    void MineAttackOnUnit(String& text, UnitNode* unit, int x, int y, int strength);
    // Whether the units entering the hex set off its mines.
    bool IsMineAttackTriggered(const int* positions, int count, int x, int y) const;
    // A vehicle not built to cross mines.
    static bool IsMineVulnerable(const PlacedUnit& unit);

    // Where the arrival scan resumes.
    HexPos m_airStrikeCursor { 0, 0 };

private:
    // The listed units in list order, each once; a position past the stack
    // ends the list.
    std::vector<UnitNode*> ListedUnits(const int* positions, int count, int x, int y);
    std::vector<const UnitNode*> ListedUnits(const int* positions, int count, int x, int y) const;
    // Opens the text of an attack on one unit of the hex with the opening
    // and the unit's name as its viewer may see it; false, text empty, when
    // the hex does not hold the unit.
    bool OpenUnitAttack(String& text, UnitNode* unit, int x, int y, const char* opening);
};
