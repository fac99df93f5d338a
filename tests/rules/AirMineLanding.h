#pragma once
// What the frame lands after a phase change's turn-start report, for the
// tests that play a phase change through: each air strike of the side now to
// move that arrives is aimed at the hex it really hits (or recalled), takes
// an aircraft from the pool, meets the enemy's fire against aircraft, and
// attacks when anything of it is left.

#include <string>
#include <vector>

#include "model/HexSide.h"
#include "model/PlatoonType.h"
#include "model/String.h"
#include "rules/GameOpportunityFire.h"

// One arrived strike.
struct LandedAirStrike {
    HexPos assigned; // where it was sent
    HexPos hit; // where it fell; the assigned hex when recalled
    bool recalled = false;
    const PlatoonType* aircraft = nullptr;
    std::string defenceReport; // the fire against the aircraft, empty when none
    std::string report; // the attack, empty when recalled or shot down
};

// Lands every arriving strike of the side to move; each attack aims at the
// ordinal-th targetable unit of the hex hit (the whole stack when there is
// none).
inline std::vector<LandedAirStrike> LandAirStrikes(CGameOpportunityFire& game, int ordinal = 1)
{
    std::vector<LandedAirStrike> landed;
    HexPos hex;
    while (game.NextArrivingAirStrike(hex)) {
        LandedAirStrike strike;
        strike.assigned = hex;
        strike.hit = hex;
        if (!game.ChooseAirStrikeHex(strike.hit)) {
            strike.recalled = true;
            game.m_airStrikeValue.At(hex.column, hex.row) = 0;
            game.m_airStrikeSide.At(hex.column, hex.row) = -1;
            landed.push_back(strike);
            continue;
        }
        const int x = strike.hit.column;
        const int y = strike.hit.row;
        strike.aircraft = game.TakeRandomAircraft(game.m_map.GetSide(), true);
        if (game.CheckOpportunityFire(x, y, true)) {
            String defence;
            game.ExecutePendingFire(defence, true);
            strike.defenceReport = defence.str();
        }
        if (game.m_airStrikeValue.At(x, y) != 0) {
            String report;
            game.ResolveAirStrike(report, x, y, strike.aircraft, ordinal);
            strike.report = report.str();
        }
        landed.push_back(strike);
    }
    return landed;
}
