#pragma once
// Line of sight between hexes: whether a viewer hex sees a target hex, and
// at night whether a hex is lit. A blocked line leaves the hex that blocked
// it and, when the caller asked for a report, the reason shown to the player.
// The test is traced from the viewer to the target and every height is
// measured from the viewer's hex, so it is not symmetric.

#include <cstdint>

#include "model/String.h"
#include "rules/GameOrders.h"

class CGameLos : public CGameOrders {
public:
    static constexpr const char* kRangeText = "Range exceeds maximum visibility";
    static constexpr const char* kTerrainText = "Line-Of-Sight is blocked by terrain";
    static constexpr const char* kWreckSmokeText = "Line-Of-Sight is blocked by smoke from wrecks";
    static constexpr const char* kSmokeText = "Line-Of-Sight is blocked by smoke";
    static constexpr const char* kUnitsText = "Line-Of-Sight is blocked by units";
    static constexpr const char* kGeneralFailureText = "Failure of general LOS algorithm";

    CGameLos() = default;
    ~CGameLos() override = default;

    // Whether the viewer (x1, y1) sees the target (x2, y2). The blocking hex
    // is cleared first and a blocked line leaves its blocker there; with a
    // non-zero report the reason goes to m_reason. Neighbours and the same
    // hex always see each other; beyond that a viewer or target off the map
    // sees nothing (range reason, no blocking hex).
    bool CheckLineOfSight(int x1, int y1, int x2, int y2, int report);
    // The answer alone: no reason, and the blocking hex is -1, -1 afterwards.
    bool HasLineOfSight(int x1, int y1, int x2, int y2);
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
    // The report flag of the last test.
    int m_report = 1;
    // The hex that blocked the last line; -1, -1 for none.
    HexPos m_blockingHex { -1, -1 };

private:
    // One test under way: viewer, target, their distance and the target's
    // height above the viewer (64 bits: steps and levels come from files).
    struct Sight {
        HexPos viewer;
        HexPos target;
        std::int64_t distance;
        std::int64_t height;
    };

    std::int64_t HeightAbove(const HexPos& viewer, int x, int y) const;
    // Records the blocker and, when reporting, the reason with its location.
    void BuildBlockedText(const char* text, int x, int y);
    void SetReason(const char* text);

    // An intermediate hex: terrain, wrecks, smoke, then units.
    bool IsHexClear(const Sight& sight, int x, int y);
    // One side of a hex: a High Wall (unless breached), Bocage or Dune at or
    // above the line blocks. A hex off the map has nothing on its sides.
    bool IsHexsideClear(const Sight& sight, int x, int y, HexSide side);
    // A corner of a hex: clear when either side meeting there is clear.
    bool IsCornerClear(const Sight& sight, const HexPos& hex, HexSide sideA, HexSide sideB);
    // The same corner seen from the two hexes that straddle the line: the
    // sides of each of them toward the centred hex whose corner it is.
    bool IsStraddledCornerClear(const Sight& sight, const HexPos& first, const HexPos& second, const HexPos& centred);
    // A pair of hexes the line runs between: blocks only when both block; a
    // member off the map lets the line through.
    bool IsPairClear(const Sight& sight, const HexPos& first, const HexPos& second);

    bool TraceColumnUp(const Sight& sight);
    bool TraceColumnDown(const Sight& sight);
    bool TraceColumn(const Sight& sight, int step);
    bool TraceEast(const Sight& sight);
    bool TraceWest(const Sight& sight);
    bool TraceRow(const Sight& sight, int step);
    bool TraceNorthEastGrain(const Sight& sight);
    bool TraceSouthEastGrain(const Sight& sight);
    bool TraceNorthWestGrain(const Sight& sight);
    bool TraceSouthWestGrain(const Sight& sight);
    bool TraceDiagonal(const Sight& sight, int step, bool upward);
    bool TraceGeneralLine(const Sight& sight, HexSide side1);
};
