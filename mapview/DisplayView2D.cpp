// The 2D unit counters, hex markers and objectives of the display layer.

#include "ai/Game.h"
#include "mapview/DisplayView.h"
#include "model/Geometry.h"

using platform::Rect;

namespace {

constexpr int kCellOccupied = 0;
constexpr int kCellAssault = 13;
constexpr int kCellStrike = 37;
constexpr int kCellStarshell = 41;
constexpr int kCellFire = 42;
constexpr int kCellSymbols = 84;
constexpr int kShownMarkerFlags = 0x2cbf;
constexpr int kStatusCarried = 16;
constexpr platform::gfx::Pixel kTextBlack = 0x000000;

constexpr HexSide kOwnSides[3] = { HexSide::North, HexSide::NorthEast, HexSide::SouthEast };

} // namespace

int CDisplayView::BaseCell(int nation) { return nation == 0 ? 24 : nation == 1 ? 54 : 0; }
int CDisplayView::ContactCell(int nation) { return nation == 0 ? 21 : nation == 1 ? 22 : 30; }
int CDisplayView::ObjectiveCell(int nation) { return nation == 0 ? 12 : nation == 1 ? 11 : 31; }
int CDisplayView::PictureCell(int nation, int icon) { return (nation == 0 ? 336 : nation == 1 ? 216 : 36) + icon; }

bool CDisplayView::IsSideHiddenHere(int side) const { return m_game && m_game->IsSideInfoHidden(side); }

void CDisplayView::DrawUnits(int firstColumn, int firstRow, int columns, int rows)
{
    if (!m_game)
        return;
    const bool night = IsNight();
    for (int c = firstColumn; c < firstColumn + columns; ++c)
        for (int r = firstRow; r < firstRow + rows; ++r) {
            if (night || HexNeedsDrawing(c, r))
                DrawHexPass(c, r);
            DrawHexOverlay(c, r);
        }
}

bool CDisplayView::IsStrikeVisible(int x, int y) const
{
    if (!m_game)
        return false;
    const CGame& g = *m_game;
    if (g.m_airStrikeValue.Contains(x, y) && g.m_airStrikeValue.At(x, y) != 0
        && !IsSideHiddenHere(g.m_airStrikeSide.At(x, y)))
        return true;
    for (const auto* node = g.m_pendingFire.Head(); node; node = node->next) {
        const PendingFire& fire = node->value;
        if (fire.targetColumn != x || fire.targetRow != y)
            continue;
        const PlacedUnit* firer = g.IsPlottedFireValid(fire);
        if (firer && firer->m_type && !IsSideHiddenHere(firer->m_type->GetSide()))
            return true;
    }
    return false;
}

bool CDisplayView::HexNeedsDrawing(int column, int row) const
{
    if (!m_game)
        return false;
    const CGame& g = *m_game;
    const HexPos m = RotateHex(column, row);
    const int x = m.column;
    const int y = m.row;
    if (!g.m_map.IsOnMap(x, y))
        return false;
    if (g.HexHasUnits(x, y) || g.IsOccupiedHexContacted(x, y))
        return true;
    const int flags = g.m_hexFlags.Contains(x, y) ? g.m_hexFlags.At(x, y) : 0;
    if (((flags & kShownMarkerFlags) != 0 && g.IsHexContentShown(x, y))
        || (!IsSideHiddenHere(1) && (flags & CGameData::kHexCave) != 0) || g.GetWreckValue(x, y) > 0
        || g.HasSmoke(x, y))
        return true;
    if (m_showObjectives && g.m_objectives.Contains(x, y) && g.m_objectives.At(x, y).value != 0)
        return true;
    if (g.HasPontoon(x, y) || IsStrikeVisible(x, y))
        return true;
    return g.GetArrivalMark(x, y).value != -1;
}

int CDisplayView::ChooseMarkerCell(int x, int y) const
{
    const CGame& g = *m_game;
    if (g.HasSmoke(x, y))
        return 23;
    const int flags = g.m_hexFlags.Contains(x, y) ? g.m_hexFlags.At(x, y) : 0;
    const bool shown = g.IsHexContentShown(x, y);
    if (shown) {
        static constexpr struct {
            int flag;
            int cell;
        } kOrder[] = { { CGameData::kHexMinefieldOther, 9 }, { CGameData::kHexMinefield1, 1 },
            { CGameData::kHexMinefield2, 2 }, { CGameData::kHexMinefield3, 3 }, { CGameData::kHexBlocked, 4 },
            { CGameData::kHexImprovedPosition, 6 }, { CGameData::kHexTrench, 179 }, { CGameData::kHexBunker, 5 },
            { CGameData::kHexPillbox, 178 } };
        for (const auto& entry : kOrder)
            if (flags & entry.flag)
                return entry.cell;
    }
    if ((flags & CGameData::kHexCave) && (shown || !IsSideHiddenHere(1)))
        return 40;
    const int wrecks = g.GetWreckValue(x, y);
    if (wrecks >= 6)
        return 8;
    if (wrecks >= 1)
        return 7;
    return -1;
}

void CDisplayView::DrawIconCell(const BitmapSurface* sheet, int cell, int column, int row, int dx, int dy)
{
    if (!sheet || cell < 0)
        return;
    const int size = GetUnitCellSize();
    const platform::Point c = Geometry().GetHexCentre(column, row);
    const int left = c.x - size / 2 + dx;
    const int top = c.y - size / 2 + dy;
    DrawSurface(Rect { left, top, left + size, top + size }, *sheet, GetUnitCellOrigin(cell));
}

void CDisplayView::DrawHexPass(int column, int row)
{
    CGame& g = *m_game;
    const HexPos m = RotateHex(column, row);
    if (!g.m_map.IsOnMap(m.column, m.row))
        return;
    if (IsNight() && !g.IsHexLit(m.column, m.row))
        ShadeHex(column, row, true);
    if (!m_showUnits) {
        if (g.HexHasUnits(m.column, m.row))
            DrawIconCell(GetIconSheet(), kCellOccupied, column, row);
        return;
    }
    DrawPontoon(column, row);
    DrawStack(column, row);
    if (IsStrikeVisible(m.column, m.row))
        DrawIconCell(GetIconSheet(), kCellStrike, column, row);
    DrawObjective(column, row);
    if (m_assaultMarker && g.m_assaultHex == m)
        DrawIconCell(GetIconSheet(), kCellAssault, column, row);
}

void CDisplayView::DrawPontoon(int column, int row)
{
    const int t = GetEffectiveTerrain(column, row);
    if (t != kTerrainWater && t != kTerrainShallowWater)
        return;
    const HexPos m = RotateHex(column, row);
    for (int i = 0; i < 3; ++i)
        if (m_game->PontoonCrossesSide(m.column, m.row, Geometry().RotateHexSide(kOwnSides[i]))) {
            DrawTerrainCell2D(column, row, i + (m_game->GetPontoonCapacity(m.column, m.row) == 0 ? 3 : 0), 0);
            return;
        }
}

bool CDisplayView::IsHexHighlightable(int x, int y) const
{
    const CGame& g = *m_game;
    const int occupant = g.SideInHex(x, y);
    switch (m_highlightMode) {
    case kHighlightSpotted:
        return g.GetEnemyContact(x, y) == 1 && !IsSideHiddenHere(OtherSide(occupant));
    case kHighlightFireRange:
        return g.GetEnemyContact(x, y) == 1 && occupant != g.m_map.GetSide();
    case kHighlightIndirectFire:
    case kHighlightMineClearing:
    case kHighlightLeaders:
    case kHighlightHeadquarters:
    case kHighlightFixed:
    case kHighlightOrganisation:
    case kHighlightSupply:
    case kHighlightAntiAircraft:
        return !IsSideHiddenHere(occupant);
    default:
        return true;
    }
}

bool CDisplayView::InRange(int x, int y, int range) const
{
    return HexDistance(x, y, m_fireRangeHex.column, m_fireRangeHex.row) <= range;
}

bool CDisplayView::IsUnitHighlighted(const PlacedUnit& unit, int x, int y) const
{
    const std::uint32_t s = unit.m_status;
    const PlatoonType* type = unit.m_type;
    switch (m_highlightMode) {
    case kHighlightSpotted:
        return true;
    case kHighlightFired:
        return (s & 3u) != 0;
    case kHighlightMoved:
        return (s & 0x400u) != 0;
    case kHighlightDisrupted:
        return (s & 8u) != 0;
    case kHighlightIndirectFire:
        return type && (type->m_targetFlags & 0x8u) != 0;
    case kHighlightFireRange:
        return (s & 1u) ? InRange(x, y, m_fireRangeVsHard) : InRange(x, y, m_fireRangeVsSoft);
    case kHighlightMineClearing:
        return type && (type->m_extraFlags & 0x2u) != 0;
    case kHighlightLeaders:
        return type && type->IsLeader();
    case kHighlightHeadquarters:
        return (type && type->IsArtillery())
            || (unit.m_node && unit.m_node->IsFirstNonLeaderOfCompany() && m_game->IsOptionSet(0x100));
    case kHighlightFixed:
        return (s & 0x4000u) != 0;
    case kHighlightOrganisation: {
        const OrgNode* n = m_highlightNode;
        const OrgNode* u = unit.m_node;
        if (!n || !u)
            return !n && !u;
        if (n->IsAncestorOf(u))
            return true;
        const OrgNode* command = unit.GetCommandNode();
        return command && command->IsAncestorOf(n) && type && (type->IsLeader() || type->IsArtillery());
    }
    case kHighlightSupply:
        return (s & 0x8100u) != 0;
    case kHighlightAntiAircraft:
        return type && (type->m_targetFlags & 0x6u) != 0;
    default:
        return (s & 0x80000u) != 0;
    }
}

void CDisplayView::DrawStack(int column, int row)
{
    CGame& g = *m_game;
    const HexPos m = RotateHex(column, row);
    const int x = m.column;
    const int y = m.row;
    const BitmapSurface* shared = GetIconSheet();
    const int marker = ChooseMarkerCell(x, y);
    if (!g.HexHasUnits(x, y)) {
        if (g.GetEnemyContact(x, y) == 2) {
            const int nation = g.NationInHex(x, y);
            const BitmapSurface* sheet = GetNationIconSheet(nation);
            // Markers are cells of the shared sheet.
            if (marker >= 0 && m_specialsOnTop) {
                DrawIconCell(shared, marker, column, row);
                DrawIconCell(sheet, ContactCell(nation), column, row);
            } else {
                DrawIconCell(sheet, ContactCell(nation), column, row);
                DrawIconCell(shared, marker, column, row);
            }
        } else {
            DrawIconCell(shared, marker, column, row);
        }
    } else {
        // The visible units from the top: carried and hidden ones skipped.
        std::vector<const PlacedUnit*> units;
        for (const UnitNode* node = g.m_stacks.At(x, y).Head(); node; node = node->next)
            if ((node->value.m_status & kStatusCarried) == 0 && !g.IsTargetHidden(node->value, x, y))
                units.push_back(&node->value);
        if (!units.empty()) {
            const int n = static_cast<int>(units.size());
            const int d = std::min(n - 1, 3);
            unsigned word = 0;
            const bool highlightable = IsHexHighlightable(x, y);
            for (int i = 0; i < n; ++i) {
                const bool passes = highlightable && IsUnitHighlighted(*units[static_cast<std::size_t>(i)], x, y);
                if (i < 4) {
                    word <<= 1;
                    if (passes)
                        word |= 1u;
                } else if (passes) {
                    word |= 1u;
                }
            }
            const bool zoomOut = GetViewMode() == 2;
            const int step = zoomOut ? 1 : 2;
            const int symbolShift = zoomOut ? d / 2 : d;
            const PlacedUnit& top = *units.front();
            const int topNation = top.m_type ? top.m_type->GetNation() : 0;
            const int symbol = top.m_type ? top.m_type->SymbolIndex() : 0;
            const int icon = top.m_type ? top.m_type->IconIndex() : 0;
            auto drawPile = [&] {
                int shift = d;
                unsigned h = word;
                for (int i = 0; i <= d; ++i) {
                    const PlacedUnit& unit = *units[static_cast<std::size_t>(d - i)];
                    const int nation = unit.m_type ? unit.m_type->GetNation() : 0;
                    DrawIconCell(GetNationIconSheet(nation), BaseCell(nation) + static_cast<int>(h & 1u), column, row,
                        shift, shift);
                    h >>= 1;
                    shift -= step;
                }
                if (zoomOut || !m_graphicalIcons)
                    DrawIconCell(shared, kCellSymbols + symbol, column, row, -symbolShift, -symbolShift);
                else
                    DrawIconCell(GetNationIconSheet(topNation), PictureCell(topNation, icon), column, row, -symbolShift,
                        -symbolShift);
            };
            if (marker >= 0 && !m_specialsOnTop) {
                DrawIconCell(shared, marker, column, row, d, d);
                drawPile();
            } else {
                drawPile();
                DrawIconCell(shared, marker, column, row, d, d);
            }
        }
    }
    if (g.HasFireMark(x, y))
        DrawIconCell(shared, kCellFire, column, row);
    if (g.HasStarshell(x, y))
        DrawIconCell(shared, kCellStarshell, column, row);
}

std::string CDisplayView::ObjectiveText(int value, int nation) const
{
    if (value >= 0)
        return std::to_string(value);
    if (IsSideHiddenHere(DefaultSideOfNation(nation)))
        return "?";
    // Penalties are stored as -(v + 1); the widening keeps -(INT_MIN + 1) exact.
    return std::to_string(-(static_cast<long long>(value) + 1));
}

void CDisplayView::DrawObjective(int column, int row)
{
    const HexPos m = RotateHex(column, row);
    if (!m_showObjectives || !m_game->m_objectives.Contains(m.column, m.row))
        return;
    const ::ObjectiveCell objective = m_game->m_objectives.At(m.column, m.row);
    if (objective.value == 0)
        return;
    DrawIconCell(GetNationIconSheet(objective.nation), ObjectiveCell(objective.nation), column, row);
    if (GetViewMode() == 2)
        return;
    const std::string text = ObjectiveText(objective.value, objective.nation);
    const int size = GetUnitCellSize();
    const platform::Point c = Geometry().GetHexCentre(column, row);
    auto canvas = GetSurfaceCanvas();
    canvas.SetFont(m_labelFont.get());
    canvas.SetTextColour(kTextBlack);
    canvas.SetTransparentText(true);
    canvas.DrawText(Rect { c.x - size / 2, c.y - size / 2, c.x - size / 2 + size, c.y - size / 2 + size }, text,
        platform::gfx::kTextCentre | platform::gfx::kTextVCentre | platform::gfx::kTextSingleLine);
}
