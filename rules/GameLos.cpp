#include "rules/GameLos.h"
#include "model/IntRange.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>

#include "model/Geometry.h"
#include "model/HexMap.h"

namespace {

// Burning wrecks light their hex from this count on.
constexpr int kLightingWrecks = 6;
// Under field state 1 standing crops hide nothing.
constexpr int kFieldsFlat = 1;

bool IsOddColumn(int column) { return (column & 1) != 0; }

// The line through two hex centres on a lattice where every centre and every
// corner is a whole point: centre x = 3 x column, y = 2 x row + 1 on even and
// 2 x row on odd columns; corners at x +-1, x +-2 and y +-1. It is an affine
// image of the hex-centre plane, so it keeps lines and which side of a line a
// point lies on, and the crossing test below is exact.
struct CentreLine {
    std::int64_t x;
    std::int64_t y;
    std::int64_t dx;
    std::int64_t dy;
};

std::int64_t LatticeX(int column) { return 3 * static_cast<std::int64_t>(column); }
std::int64_t LatticeY(int column, int row)
{
    return 2 * static_cast<std::int64_t>(row) + (IsOddColumn(column) ? 0 : 1);
}

CentreLine LineBetween(const HexPos& from, const HexPos& to)
{
    const std::int64_t x = LatticeX(from.column);
    const std::int64_t y = LatticeY(from.column, from.row);
    return { x, y, LatticeX(to.column) - x, LatticeY(to.column, to.row) - y };
}

// The two corners of each side, clockwise from N, as offsets from the centre.
struct SideCorners {
    int x1, y1, x2, y2;
};
constexpr SideCorners kSideCorners[6] = {
    { -1, -1, 1, -1 }, // N
    { 1, -1, 2, 0 }, // NE
    { 2, 0, 1, 1 }, // SE
    { 1, 1, -1, 1 }, // S
    { -1, 1, -2, 0 }, // SW
    { -2, 0, -1, -1 }, // NW
};

// Whether the line meets the side: its two corners do not lie strictly on
// one side of the line. A corner on the line counts for both sides meeting
// there. Map coordinates stay below a few thousand, so nothing overflows.
bool LineCrossesSide(const CentreLine& line, HexSide side, int column, int row)
{
    const int index = HexSideIndex(side);
    if (index == 6)
        return false;
    const std::int64_t centre = line.dx * (LatticeY(column, row) - line.y) - line.dy * (LatticeX(column) - line.x);
    const SideCorners& s = kSideCorners[index];
    const std::int64_t a = centre + line.dx * s.y1 - line.dy * s.x1;
    const std::int64_t b = centre + line.dx * s.y2 - line.dy * s.x2;
    return !((a > 0 && b > 0) || (a < 0 && b < 0));
}

} // namespace

bool CGameLos::CheckLineOfSight(int x1, int y1, int x2, int y2, int report)
{
    m_report = report;
    m_blockingHex = { -1, -1 };
    const int distance = HexDistance(x1, y1, x2, y2);
    if (distance < 2)
        return true;
    // Nothing off the map is read: such a line is out of sight.
    if (!m_map.IsOnMap(x1, y1) || !m_map.IsOnMap(x2, y2) || distance > m_visibility) {
        SetReason(kRangeText);
        return false;
    }
    if (m_night != 0 && !HasFireMark(x2, y2) && !IsHexLit(x2, y2)) {
        SetReason(kRangeText);
        return false;
    }

    const HexPos viewer { x1, y1 };
    const Sight sight { viewer, { x2, y2 }, distance, HeightAbove(viewer, x2, y2) };
    if (x1 == x2)
        return y1 >= y2 ? TraceColumnUp(sight) : TraceColumnDown(sight);

    HexSide side1;
    HexSide side2;
    SidesTowardHex(x1, y1, x2, y2, side1, side2);
    const auto is = [&](HexSide a, HexSide b) { return side1 == a && side2 == b; };
    if (is(HexSide::NorthEast, HexSide::SouthEast))
        return TraceEast(sight);
    if (is(HexSide::SouthWest, HexSide::NorthWest))
        return TraceWest(sight);
    if (is(HexSide::North, HexSide::NorthEast))
        return TraceNorthEastGrain(sight);
    if (is(HexSide::SouthEast, HexSide::South))
        return TraceSouthEastGrain(sight);
    if (is(HexSide::NorthWest, HexSide::North))
        return TraceNorthWestGrain(sight);
    if (is(HexSide::South, HexSide::SouthWest))
        return TraceSouthWestGrain(sight);
    return TraceGeneralLine(sight, side1);
}

bool CGameLos::HasLineOfSight(int x1, int y1, int x2, int y2)
{
    const bool seen = CheckLineOfSight(x1, y1, x2, y2, 0);
    m_blockingHex = { -1, -1 };
    return seen;
}

bool CGameLos::IsHexLit(int x, int y) const
{
    if (m_night == 0 || !m_map.IsOnMap(x, y))
        return false;
    if (GetWreckValue(x, y) >= kLightingWrecks || HasStarshell(x, y))
        return true;
    for (HexSide side = HexSide::North; side.IsValid(); side.Next()) {
        HexPos neighbour;
        if (m_map.GetNeighbour(side, x, y, neighbour) && HasStarshell(neighbour.column, neighbour.row))
            return true;
    }
    return false;
}

int CGameLos::GetHeightDifference(int x1, int y1, int x2, int y2) const
{
    if (!m_map.IsOnMap(x1, y1) || !m_map.IsOnMap(x2, y2))
        return 0;
    return ClampToInt(HeightAbove({ x1, y1 }, x2, y2));
}

std::int64_t CGameLos::HeightAbove(const HexPos& viewer, int x, int y) const
{
    const std::int64_t levels
        = static_cast<std::int64_t>(m_map.GetElevationLevel(x, y)) - m_map.GetElevationLevel(viewer.column, viewer.row);
    return levels * m_map.GetElevationStep();
}

void CGameLos::SetReason(const char* text)
{
    if (m_report != 0)
        m_reason = String(text);
}

void CGameLos::BuildBlockedText(const char* text, int x, int y)
{
    m_blockingHex = { x, y };
    if (m_report == 0)
        return;
    String location;
    HexLocationText(location, x, y);
    m_reason = ConcatStringText(String(text), location.c_str());
}

bool CGameLos::IsHexClear(const Sight& sight, int x, int y)
{
    const std::int64_t d = HexDistance(sight.viewer.column, sight.viewer.row, x, y);
    const std::int64_t h = HeightAbove(sight.viewer, x, y);
    const std::int64_t line = sight.height * d;
    const std::int64_t D = sight.distance;

    const int terrain = GetEffectiveTerrain(x, y);
    std::int64_t t = terrain >= 0 && terrain < kTerrainTypeCount ? m_parameters.m_terrainValue[terrain] : 0;
    if (m_hexFlags.Contains(x, y) && (m_hexFlags.At(x, y) & kHexRubble) != 0)
        t /= 2;
    if (terrain == kTerrainField && m_terrain.fieldState == kFieldsFlat)
        t = 0;
    if ((h + t) * D > line) {
        BuildBlockedText(kTerrainText, x, y);
        return false;
    }

    const std::int64_t smokeTop = (h + m_parameters.m_value91) * D;
    const std::int64_t obstruction = m_parameters.m_defenseZeroValue;
    if (GetWreckValue(x, y) >= obstruction && smokeTop > line) {
        BuildBlockedText(kWreckSmokeText, x, y);
        return false;
    }
    if (HasSmoke(x, y) && smokeTop > line) {
        BuildBlockedText(kSmokeText, x, y);
        return false;
    }
    if (h * D >= line && HexHasUnits(x, y) && GetStackStrength(x, y) > 2 * obstruction) {
        BuildBlockedText(kUnitsText, x, y);
        return false;
    }
    return true;
}

bool CGameLos::IsHexsideClear(const Sight& sight, int x, int y, HexSide side)
{
    if (!m_map.IsOnMap(x, y))
        return true;
    const HexRecord& hex = m_map.GetHex(x, y);
    const bool wall = hex.layers[kLayerHighWall].Contains(side) && !GetDamagedBridgeSides(x, y).Contains(side);
    if (!wall && !hex.layers[kLayerBocage].Contains(side) && !hex.layers[kLayerDune].Contains(side))
        return true;
    const std::int64_t d = HexDistance(sight.viewer.column, sight.viewer.row, x, y);
    if (HeightAbove(sight.viewer, x, y) * sight.distance < sight.height * d)
        return true;
    BuildBlockedText(kTerrainText, x, y);
    return false;
}

bool CGameLos::IsCornerClear(const Sight& sight, const HexPos& hex, HexSide sideA, HexSide sideB)
{
    return IsHexsideClear(sight, hex.column, hex.row, sideA) || IsHexsideClear(sight, hex.column, hex.row, sideB);
}

bool CGameLos::IsStraddledCornerClear(
    const Sight& sight, const HexPos& first, const HexPos& second, const HexPos& centred)
{
    HexSide sideA;
    HexSide sideB;
    sideA.SetBetween(first.column, first.row, centred.column, centred.row);
    sideB.SetBetween(second.column, second.row, centred.column, centred.row);
    return IsHexsideClear(sight, first.column, first.row, sideA)
        || IsHexsideClear(sight, second.column, second.row, sideB);
}

bool CGameLos::IsPairClear(const Sight& sight, const HexPos& first, const HexPos& second)
{
    if (!m_map.IsOnMap(first.column, first.row))
        return true;
    const bool firstClear = IsHexClear(sight, first.column, first.row);
    if (!m_map.IsOnMap(second.column, second.row))
        return true;
    const bool secondClear = IsHexClear(sight, second.column, second.row);
    return firstClear || secondClear;
}

bool CGameLos::TraceColumnUp(const Sight& sight) { return TraceColumn(sight, -1); }

bool CGameLos::TraceColumnDown(const Sight& sight) { return TraceColumn(sight, 1); }

// The rows strictly between viewer and target, from the viewer on: the hex,
// its side toward the target, then its side toward the viewer; the sides of
// the viewer's and the target's hexes are left alone.
bool CGameLos::TraceColumn(const Sight& sight, int step)
{
    const int x = sight.viewer.column;
    const HexSide ahead = step > 0 ? HexSide::South : HexSide::North;
    const HexSide behind = ahead.Opposite();
    for (int y = sight.viewer.row + step; y != sight.target.row; y += step) {
        if (!IsHexClear(sight, x, y))
            return false;
        if (y + step != sight.target.row && !IsHexsideClear(sight, x, y, ahead))
            return false;
        if (y - step != sight.viewer.row && !IsHexsideClear(sight, x, y, behind))
            return false;
    }
    return true;
}

bool CGameLos::TraceEast(const Sight& sight) { return TraceRow(sight, 1); }

bool CGameLos::TraceWest(const Sight& sight) { return TraceRow(sight, -1); }

// Along a row through the E and W corners: every second column is centred on
// the line, each column between holds the pair the line runs between.
bool CGameLos::TraceRow(const Sight& sight, int step)
{
    const int y = sight.viewer.row;
    const auto isEnd = [&](int column) { return column == sight.viewer.column || column == sight.target.column; };
    bool centredColumn = true;
    for (int x = sight.viewer.column;; x += step, centredColumn = !centredColumn) {
        if (centredColumn) {
            if (!isEnd(x)) {
                const HexPos hex { x, y };
                if (!IsHexClear(sight, x, y) || !IsCornerClear(sight, hex, HexSide::NorthWest, HexSide::SouthWest)
                    || !IsCornerClear(sight, hex, HexSide::NorthEast, HexSide::SouthEast))
                    return false;
            }
        } else {
            const HexPos onRow { x, y };
            const HexPos other { x, IsOddColumn(x) ? y + 1 : y - 1 };
            if (!IsPairClear(sight, onRow, other))
                return false;
            if (!isEnd(x + 1) && !IsStraddledCornerClear(sight, onRow, other, { x + 1, y }))
                return false;
            if (!isEnd(x - 1) && !IsStraddledCornerClear(sight, onRow, other, { x - 1, y }))
                return false;
        }
        if (x == sight.target.column)
            break;
    }
    m_blockingHex = { -1, -1 };
    return true;
}

bool CGameLos::TraceNorthEastGrain(const Sight& sight) { return TraceDiagonal(sight, 1, true); }

bool CGameLos::TraceSouthEastGrain(const Sight& sight) { return TraceDiagonal(sight, 1, false); }

bool CGameLos::TraceNorthWestGrain(const Sight& sight) { return TraceDiagonal(sight, -1, true); }

bool CGameLos::TraceSouthWestGrain(const Sight& sight) { return TraceDiagonal(sight, -1, false); }

// Along a 60-degree grain: one hex of each column is centred on the line; the
// line leaves it through a corner, runs along the side between the centred
// hex's neighbour in the direction of travel and the next centred hex's
// opposite neighbour, and enters the next centred hex through its corner.
bool CGameLos::TraceDiagonal(const Sight& sight, int step, bool upward)
{
    const int x1 = sight.viewer.column;
    const int y1 = sight.viewer.row;
    const auto centredRow = [&](int column) {
        return upward ? y1 - RowsToUpperSectorBoundary(x1, column) : y1 + RowsToLowerSectorBoundary(x1, column);
    };
    const int ahead = upward ? -1 : 1;
    const HexSide vertical = upward ? HexSide::North : HexSide::South;
    const HexSide diagonal = step > 0 ? (upward ? HexSide::NorthEast : HexSide::SouthEast)
                                      : (upward ? HexSide::NorthWest : HexSide::SouthWest);

    // The pair arriving at the column: its first member and whether that
    // member blocked (false when off the map, which clears the pair).
    HexPos arrivingFirst { 0, 0 };
    HexPos arrivingSecond { 0, 0 };
    bool arrivingOnMap = false;
    bool arrivingFirstClear = true;
    for (int x = x1;; x += step) {
        const HexPos centred { x, centredRow(x) };
        const bool isEnd = x == x1 || x == sight.target.column;
        if (x != x1) {
            arrivingSecond = { x, centred.row - ahead };
            if (arrivingOnMap && m_map.IsOnMap(arrivingSecond.column, arrivingSecond.row)
                && !IsHexClear(sight, arrivingSecond.column, arrivingSecond.row) && !arrivingFirstClear)
                return false;
        }
        if (!isEnd && !IsHexClear(sight, x, centred.row))
            return false;
        HexPos leavingFirst { x, centred.row + ahead };
        bool leavingOnMap = false;
        bool leavingFirstClear = true;
        if (x != sight.target.column) {
            leavingOnMap = m_map.IsOnMap(leavingFirst.column, leavingFirst.row);
            if (leavingOnMap)
                leavingFirstClear = IsHexClear(sight, leavingFirst.column, leavingFirst.row);
        }
        if (!isEnd) {
            const HexPos leavingSecond { x + step, centredRow(x + step) - ahead };
            if (!IsStraddledCornerClear(sight, arrivingFirst, arrivingSecond, centred)
                || !IsStraddledCornerClear(sight, leavingFirst, leavingSecond, centred)
                || !IsCornerClear(sight, centred, vertical.Opposite(), diagonal.Opposite())
                || !IsCornerClear(sight, centred, vertical, diagonal))
                return false;
        }
        if (x == sight.target.column)
            break;
        arrivingFirst = leavingFirst;
        arrivingOnMap = leavingOnMap;
        arrivingFirstClear = leavingFirstClear;
    }
    m_blockingHex = { -1, -1 };
    return true;
}

// Any other line: from hex to hex through the side the line leaves by, the
// first of side1, side1 clockwise and side1 counter-clockwise that it meets.
bool CGameLos::TraceGeneralLine(const Sight& sight, HexSide side1)
{
    const CentreLine line = LineBetween(sight.viewer, sight.target);
    const HexSide candidates[3] = { side1, side1.Clockwise(), side1.CounterClockwise() };
    // Every step gains ground toward the target; the bound only keeps a
    // fault from looping.
    const std::int64_t maxSteps = 4 * sight.distance + 4;
    HexPos current = sight.viewer;
    for (std::int64_t steps = 0; steps <= maxSteps; ++steps) {
        if (current == sight.target)
            return true;
        const bool atViewer = current == sight.viewer;
        if (!atViewer && !IsHexClear(sight, current.column, current.row))
            return false;
        const HexSide* exit = std::find_if(std::begin(candidates), std::end(candidates),
            [&](HexSide side) { return LineCrossesSide(line, side, current.column, current.row); });
        HexPos next;
        if (exit == std::end(candidates) || !m_map.GetNeighbour(*exit, current.column, current.row, next))
            break;
        if (!atViewer && next != sight.target
            && (!IsHexsideClear(sight, current.column, current.row, *exit)
                || !IsHexsideClear(sight, next.column, next.row, exit->Opposite())))
            return false;
        current = next;
    }
    SetReason(kGeneralFailureText);
    return false;
}
