// The display layer's overlays: the hex shading of the three exclusive
// overlays, the range rings, the pontoon labels, and the choice of a unit's
// picture file by date, surface and theme.

#include <algorithm>
#include <string>

#include "ai/Game.h"
#include "mapview/DisplayView.h"
#include "model/Geometry.h"
#include "model/String.h"

using platform::Point;
using platform::Rect;
using platform::gfx::Canvas;

namespace {

constexpr platform::gfx::Pixel kSoftRingBlue = 0x0000FF;
constexpr platform::gfx::Pixel kHardRingRed = 0xFF0000;
constexpr HexSide kRingSides[6] = { HexSide::North, HexSide::NorthEast, HexSide::SouthEast, HexSide::South,
    HexSide::SouthWest, HexSide::NorthWest };

// A month of the battle as one number; a two-digit year is of the 1900s.
int MonthNumber(int year, int month) { return (year >= 0 && year < 100 ? 1900 + year : year) * 12 + month; }

} // namespace

// ---- hex overlays ----

bool CDisplayView::IsHexShadedByOverlay(int column, int row)
{
    if (!m_game)
        return false;
    const HexPos m = RotateHex(column, row);
    if (!m_game->m_map.IsOnMap(m.column, m.row))
        return false;
    if (m_showVisibleHexes) {
        const HexPos eye = RotateHex(GetHotSpot());
        if (m_game->HasLineOfSight(eye.column, eye.row, m.column, m.row))
            return false;
        m_game->m_blockingHex = { -1, -1 };
        return true;
    }
    if (m_showReachableHexes)
        return !m_reachableSorted.empty() && !IsReachable(m);
    if (m_showCommandRange) {
        const int range = m_game->GetCommandRange(m_commandRange);
        return range != 0 && HexDistance(m.column, m.row, m_commandRange.column, m_commandRange.row) > range;
    }
    return false;
}

void CDisplayView::DrawHexOverlay(int column, int row)
{
    if (IsHexShadedByOverlay(column, row))
        ShadeHex(column, row, false);
}

// ---- range rings ----

void CDisplayView::DrawRangeRings(int firstColumn, int firstRow, int columns, int rows)
{
    if (!m_showRange || !m_game)
        return;
    auto canvas = GetSurfaceCanvas();
    canvas.SetPen({ kSoftRingBlue, 2 });
    DrawRangeRing(canvas, firstColumn, firstRow, columns, rows, m_rangeVsSoft);
    canvas.SetPen({ kHardRingRed, 2 });
    DrawRangeRing(canvas, firstColumn, firstRow, columns, rows, m_rangeVsHard);
}

void CDisplayView::DrawRangeRing(Canvas& canvas, int firstColumn, int firstRow, int columns, int rows, int radius)
{
    const auto& g = Geometry();
    const HexPos centre = RotateHex(m_rangeCentre);
    const int width = g.GetMapWidth();
    const int height = g.GetMapHeight();
    for (int c = std::max(firstColumn, 0); c <= std::min(firstColumn + columns, width - 1); ++c)
        for (int r = std::max(firstRow, 0); r <= std::min(firstRow + rows, height - 1); ++r) {
            if (HexDistance(c, r, centre.column, centre.row) != radius)
                continue;
            const auto corners = g.GetHexPolygon(c, r);
            for (int i = 0; i < 6; ++i) {
                HexPos n;
                if (!GetViewNeighbour(c, r, kRingSides[i], n)
                    || HexDistance(n.column, n.row, centre.column, centre.row) <= radius)
                    continue;
                const Point side[2]
                    = { corners[static_cast<std::size_t>(i)], corners[static_cast<std::size_t>(i + 1)] };
                canvas.Polyline(side);
            }
        }
}

// ---- pontoon labels ----

void CDisplayView::DrawPontoonLabel(Canvas& canvas, int mapColumn, int mapRow)
{
    if (!m_game || !m_game->m_pontoons.Contains(mapColumn, mapRow))
        return;
    String text;
    PontoonBridgeText(m_game->m_pontoons.At(mapColumn, mapRow), text);
    const HexPos v = RotateHex(mapColumn, mapRow);
    const Point c = Geometry().GetHexCentre(v.column, v.row);
    const platform::Size extent = canvas.TextExtent(text.view());
    const int left = c.x - extent.width / 2 - 5;
    canvas.Rectangle(Rect { left, c.y - extent.height, left + extent.width + 10, c.y + extent.height / 2 });
    canvas.TextOut(c, text.view());
}

// ---- unit pictures ----

std::string CDisplayView::GetUnitPicturePath(const PlatoonType& type, std::string_view name) const
{
    platform::AssetFiles* assets = Assets();
    auto existing = [&](std::string_view prefix, std::string& path) {
        path = std::string(prefix) + std::string(name);
        return assets && assets->Exists(path);
    };
    std::string path;
    const HexMap* map = GetMap();
    const int theme = map ? map->GetRegion() : kNoRegion;
    if (m_game) {
        const int nation = type.GetNation();
        const int date = MonthNumber(m_game->m_orgTree.m_battleYear, m_game->m_orgTree.m_battleMonth);
        if (m_specialIcons && (nation != 0 || date >= MonthNumber(1941, 10))) {
            if (m_game->m_terrain.surface == 3 && !(nation == 1 && date < MonthNumber(1940, 9))
                && existing("Special\\S-", path))
                return path;
            const bool early = (nation == 1 && theme != 1 && theme != 2 && date < MonthNumber(1943, 7))
                || (nation == 9 && theme != 2 && date < MonthNumber(1940, 7));
            if (early && existing("Special\\E-", path))
                return path;
            const bool late
                = ((nation == 1 || nation == 9) && theme != 2 && date > MonthNumber(1943, 6)) || nation == 21;
            if (late && existing("Special\\L-", path))
                return path;
        }
    }
    if (map && theme != kNoRegion && existing(map->GetThemePrefix(), path))
        return path;
    return std::string(name);
}
