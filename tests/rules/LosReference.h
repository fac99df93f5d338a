#pragma once
// A plain, slow line-of-sight test written straight from the rules, to hold
// the game's own against: same answer, blocking hex and reason. It reads the
// game object and keeps its own reason and blocking hex. Its general walk
// takes the crossings from the floating-point HexSideCrossesLine; its grain
// walks find the straddling hexes and their sides through the map's
// neighbours.

#include <cstdint>
#include <string>

#include "model/Geometry.h"
#include "model/HexMap.h"
#include "rules/GameLos.h"

class LosReference {
public:
    explicit LosReference(const CGameLos& game)
        : m_game(game)
    {
    }

    bool Check(int x1, int y1, int x2, int y2, int report)
    {
        m_report = report;
        m_blockingHex = { -1, -1 };
        m_v = { x1, y1 };
        m_t = { x2, y2 };
        const int distance = HexDistance(x1, y1, x2, y2);
        if (distance < 2)
            return true;
        if (!Map().IsOnMap(x1, y1) || !Map().IsOnMap(x2, y2) || distance > m_game.m_visibility
            || (m_game.m_night != 0 && !m_game.HasFireMark(x2, y2) && !m_game.IsHexLit(x2, y2))) {
            Reason(CGameLos::kRangeText);
            return false;
        }
        m_D = distance;
        m_dH = Height(x2, y2);
        if (x1 == x2)
            return Column(y1 >= y2 ? -1 : 1);
        HexSide s1;
        HexSide s2;
        SidesTowardHex(x1, y1, x2, y2, s1, s2);
        using S = HexSide;
        if (s1 == S::NorthEast && s2 == S::SouthEast)
            return Row(1);
        if (s1 == S::SouthWest && s2 == S::NorthWest)
            return Row(-1);
        if (s1 == S::North && s2 == S::NorthEast)
            return Diagonal(1, S::North, S::NorthEast);
        if (s1 == S::SouthEast && s2 == S::South)
            return Diagonal(1, S::South, S::SouthEast);
        if (s1 == S::NorthWest && s2 == S::North)
            return Diagonal(-1, S::North, S::NorthWest);
        if (s1 == S::South && s2 == S::SouthWest)
            return Diagonal(-1, S::South, S::SouthWest);
        return General(s1);
    }

    std::string m_reason;
    int m_report = 1;
    HexPos m_blockingHex { -1, -1 };

private:
    const HexMap& Map() const { return m_game.m_map; }
    bool OnMap(const HexPos& p) const { return Map().IsOnMap(p.column, p.row); }

    std::int64_t Height(int x, int y) const
    {
        return (static_cast<std::int64_t>(Map().GetElevationLevel(x, y)) - Map().GetElevationLevel(m_v.column, m_v.row))
            * Map().GetElevationStep();
    }

    void Reason(const char* text)
    {
        if (m_report != 0)
            m_reason = text;
    }

    bool Blocked(const char* text, const HexPos& hex)
    {
        m_blockingHex = hex;
        if (m_report != 0)
            m_reason = std::string(text) + " at " + std::to_string(hex.column) + ", " + std::to_string(hex.row);
        return false;
    }

    bool HexClear(const HexPos& hex)
    {
        const int x = hex.column;
        const int y = hex.row;
        const std::int64_t d = HexDistance(m_v.column, m_v.row, x, y);
        const std::int64_t h = Height(x, y);
        const int terrain = m_game.GetEffectiveTerrain(x, y);
        std::int64_t t = m_game.m_parameters.m_terrainValue[terrain];
        if ((m_game.m_hexFlags.At(x, y) & 0x100) != 0)
            t /= 2;
        if (terrain == kTerrainField && m_game.m_terrain.fieldState == 1)
            t = 0;
        if ((h + t) * m_D > m_dH * d)
            return Blocked(CGameLos::kTerrainText, hex);
        const std::int64_t s = m_game.m_parameters.m_value91;
        if (m_game.GetWreckValue(x, y) >= m_game.m_parameters.m_defenseZeroValue && (h + s) * m_D > m_dH * d)
            return Blocked(CGameLos::kWreckSmokeText, hex);
        if (m_game.HasSmoke(x, y) && (h + s) * m_D > m_dH * d)
            return Blocked(CGameLos::kSmokeText, hex);
        if (m_game.HexHasUnits(x, y)
            && m_game.GetStackStrength(x, y) > 2 * static_cast<std::int64_t>(m_game.m_parameters.m_defenseZeroValue)
            && h * m_D >= m_dH * d)
            return Blocked(CGameLos::kUnitsText, hex);
        return true;
    }

    bool SideClear(const HexPos& hex, HexSide side)
    {
        if (!OnMap(hex))
            return true;
        const HexRecord& record = Map().GetHex(hex.column, hex.row);
        const bool feature = (record.layers[kLayerHighWall].Contains(side)
                                 && !m_game.GetDamagedBridgeSides(hex.column, hex.row).Contains(side))
            || record.layers[kLayerBocage].Contains(side) || record.layers[kLayerDune].Contains(side);
        if (!feature)
            return true;
        const std::int64_t d = HexDistance(m_v.column, m_v.row, hex.column, hex.row);
        if (Height(hex.column, hex.row) * m_D < m_dH * d)
            return true;
        return Blocked(CGameLos::kTerrainText, hex);
    }

    bool CornerClear(const HexPos& hex, HexSide a, HexSide b) { return SideClear(hex, a) || SideClear(hex, b); }

    // The corner of the centred hex between sides a and b, seen from the
    // hexes across those sides; the pair's first member is tested first.
    bool StraddledClear(const HexPos& centred, HexSide a, HexSide b, const HexPos& first)
    {
        HexPos acrossA { -100, -100 };
        HexPos acrossB { -100, -100 };
        Map().GetNeighbour(a, centred.column, centred.row, acrossA);
        Map().GetNeighbour(b, centred.column, centred.row, acrossB);
        if (acrossA == first)
            return SideClear(acrossA, a.Opposite()) || SideClear(acrossB, b.Opposite());
        return SideClear(acrossB, b.Opposite()) || SideClear(acrossA, a.Opposite());
    }

    // Both members tested when on the map; the pair blocks only when both do.
    bool PairClear(const HexPos& first, const HexPos& second)
    {
        if (!OnMap(first))
            return true;
        const bool a = HexClear(first);
        if (!OnMap(second))
            return true;
        const bool b = HexClear(second);
        return a || b;
    }

    bool Column(int step)
    {
        const HexSide toTarget = step > 0 ? HexSide::South : HexSide::North;
        for (int y = m_v.row + step; y != m_t.row; y += step) {
            const HexPos hex { m_v.column, y };
            if (!HexClear(hex))
                return false;
            if (y + step != m_t.row && !SideClear(hex, toTarget))
                return false;
            if (y - step != m_v.row && !SideClear(hex, toTarget.Opposite()))
                return false;
        }
        return true;
    }

    bool IsEnd(const HexPos& hex) const { return hex == m_v || hex == m_t; }

    bool Row(int step)
    {
        const int y = m_v.row;
        for (int x = m_v.column;; x += step) {
            const HexPos hex { x, y };
            if ((x - m_v.column) % 2 == 0) {
                if (!IsEnd(hex)
                    && (!HexClear(hex) || !CornerClear(hex, HexSide::NorthWest, HexSide::SouthWest)
                        || !CornerClear(hex, HexSide::NorthEast, HexSide::SouthEast)))
                    return false;
            } else {
                const HexPos other { x, (x & 1) != 0 ? y + 1 : y - 1 };
                if (!PairClear(hex, other))
                    return false;
                const HexPos east { x + 1, y };
                const HexPos west { x - 1, y };
                if (!IsEnd(east) && !StraddledClear(east, HexSide::NorthWest, HexSide::SouthWest, hex))
                    return false;
                if (!IsEnd(west) && !StraddledClear(west, HexSide::NorthEast, HexSide::SouthEast, hex))
                    return false;
            }
            if (x == m_t.column)
                break;
        }
        m_blockingHex = { -1, -1 };
        return true;
    }

    HexPos Neighbour(const HexPos& hex, HexSide side) const
    {
        HexPos out { hex.column, hex.row + (side == HexSide::North ? -1 : 1) };
        Map().GetNeighbour(side, hex.column, hex.row, out);
        return out;
    }

    // vertical and diagonal: the sides of the exit corner of a centred hex.
    bool Diagonal(int step, HexSide vertical, HexSide diagonal)
    {
        const bool upward = vertical == HexSide::North;
        const auto centred = [&](int x) {
            return HexPos { x,
                upward ? m_v.row - RowsToUpperSectorBoundary(m_v.column, x)
                       : m_v.row + RowsToLowerSectorBoundary(m_v.column, x) };
        };
        bool firstClear = true;
        bool firstOnMap = false;
        for (int x = m_v.column;; x += step) {
            const HexPos c = centred(x);
            if (x != m_v.column) {
                const HexPos second = Neighbour(c, vertical.Opposite());
                if (firstOnMap && OnMap(second)) {
                    const bool secondClear = HexClear(second);
                    if (!firstClear && !secondClear)
                        return false;
                }
            }
            if (!IsEnd(c) && !HexClear(c))
                return false;
            if (x != m_t.column) {
                const HexPos first = Neighbour(c, vertical);
                firstOnMap = OnMap(first);
                firstClear = firstOnMap ? HexClear(first) : true;
            }
            if (!IsEnd(c)) {
                const HexPos arrivingFirst = Neighbour(centred(x - step), vertical);
                const HexPos leavingFirst = Neighbour(c, vertical);
                if (!StraddledClear(c, vertical.Opposite(), diagonal.Opposite(), arrivingFirst)
                    || !StraddledClear(c, vertical, diagonal, leavingFirst)
                    || !CornerClear(c, vertical.Opposite(), diagonal.Opposite()) || !CornerClear(c, vertical, diagonal))
                    return false;
            }
            if (x == m_t.column)
                break;
        }
        m_blockingHex = { -1, -1 };
        return true;
    }

    bool General(HexSide side1)
    {
        double slope = 0;
        double intercept = 0;
        LineThroughHexCentres(m_v.column, m_v.row, m_t.column, m_t.row, slope, intercept);
        HexPos c = m_v;
        for (int guard = 0; guard < 100000; ++guard) {
            if (c == m_t)
                return true;
            if (c != m_v && !HexClear(c))
                return false;
            HexSide exit = HexSide::None;
            for (HexSide candidate : { side1, side1.Clockwise(), side1.CounterClockwise() }) {
                if (HexSideCrossesLine(candidate, c.column, c.row, slope, intercept)) {
                    exit = candidate;
                    break;
                }
            }
            HexPos n;
            if (!exit.IsSingleSide() || !Map().GetNeighbour(exit, c.column, c.row, n))
                break;
            if (c != m_v && n != m_t && (!SideClear(c, exit) || !SideClear(n, exit.Opposite())))
                return false;
            c = n;
        }
        Reason(CGameLos::kGeneralFailureText);
        return false;
    }

    const CGameLos& m_game;
    HexPos m_v;
    HexPos m_t;
    std::int64_t m_D = 0;
    std::int64_t m_dH = 0;
};
