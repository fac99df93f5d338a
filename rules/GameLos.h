#pragma once
// Line of sight between hexes: whether a viewer hex sees a target hex, and
// at night whether a hex is lit. A blocked line leaves the hex that blocked
// it and, when the caller asked for a report, the reason shown to the player.

#include "model/String.h"
#include "rules/GameOrders.h"

class CGameLos : public CGameOrders {
public:
    CGameLos() = default;
    ~CGameLos() override = default;

    // At night, whether the hex can be seen at any range: six or more wrecks
    // burn in it, or a starshell hangs over it or over a neighbour. False by day
    // and for a hex off the map.
    bool IsHexLit(int x, int y) const;
    // (Level of the second hex - level of the first) x the map's elevation
    // step, held to the int range; 0 when either hex is off the map.
    int GetHeightDifference(int x1, int y1, int x2, int y2) const;

    // The reason of the last blocked line that was reported; a clear line
    // leaves it.
    String m_reason;
    int m_report = 1;
    // The hex that blocked the last line; -1, -1 for none.
    HexPos m_blockingHex { -1, -1 };
};
