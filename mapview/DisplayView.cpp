#include "mapview/DisplayView.h"

#include <algorithm>

#include "ai/Game.h"
#include "model/GameWeapons.h"

namespace {

bool HexOrder(const HexPos& a, const HexPos& b) { return a.column != b.column ? a.column < b.column : a.row < b.row; }

} // namespace

CDisplayView::CDisplayView(CGame* game)
    : CMouseView(game ? &game->m_map : nullptr)
    , m_game(game)
    , m_labelFont(std::make_unique<platform::gfx::Font>(platform::gfx::FontSpec { "Small Font", 10, 400 }))
{
    m_damageGridColumns = GetMap() ? GetMap()->GetWidth() : 1;
    m_damageGrid.assign(static_cast<std::size_t>(m_damageGridColumns),
        std::vector<int>(static_cast<std::size_t>(GetMap() ? GetMap()->GetHeight() : 1), -1));
}

CDisplayView::~CDisplayView() = default;

void CDisplayView::ToggleUnitsOff()
{
    m_showUnits = !m_showUnits;
    Redraw();
}

void CDisplayView::ToggleSpecialsOnTop()
{
    m_specialsOnTop = !m_specialsOnTop;
    Redraw();
}

void CDisplayView::ToggleObjectives()
{
    m_showObjectives = !m_showObjectives;
    Redraw();
}

void CDisplayView::ShowVisibleHexes(bool on)
{
    m_showVisibleHexes = on;
    if (on)
        m_showReachableHexes = m_showCommandRange = false;
    Redraw();
}

void CDisplayView::ShowReachableHexes(bool on)
{
    m_showReachableHexes = on;
    if (on)
        m_showVisibleHexes = m_showCommandRange = false;
    else
        Redraw();
}

void CDisplayView::ShowCommandRange(bool on)
{
    m_showCommandRange = on;
    if (on)
        m_showVisibleHexes = m_showReachableHexes = false;
    else
        Redraw();
}

void CDisplayView::SetReachableHexes(const HexList& hexes)
{
    if (&hexes != &m_reachableHexes) {
        m_reachableHexes = HexList();
        m_reachableHexes.AppendCopies(hexes);
        m_reachableSorted.clear();
        for (const HexListNode* node = hexes.Head(); node; node = node->next)
            m_reachableSorted.push_back(node->value);
        std::sort(m_reachableSorted.begin(), m_reachableSorted.end(), HexOrder);
    }
    if (m_showReachableHexes)
        Redraw();
}

bool CDisplayView::IsReachable(HexPos mapHex) const
{
    return std::binary_search(m_reachableSorted.begin(), m_reachableSorted.end(), mapHex, HexOrder);
}

void CDisplayView::SetCommandRangeHexes(const SupplyEntry& request)
{
    if (&request != &m_commandRange) {
        m_commandRangeUnit = request.unit ? std::make_unique<UnitNode>(request.unit->value) : nullptr;
        m_commandRange = { m_commandRangeUnit.get(), request.column, request.row };
    }
    if (m_showCommandRange)
        Redraw();
}

void CDisplayView::SetHighlightMode(int mode)
{
    m_highlightMode = m_highlightMode == mode ? kHighlightNone : mode;
    Redraw();
}

void CDisplayView::HighlightOrganization(const OrgNode* node)
{
    m_highlightNode = node;
    m_highlightMode = kHighlightOrganisation;
    Redraw();
}

void CDisplayView::HighlightTargetsInRange(int rangeVsHard, int rangeVsSoft, int column, int row)
{
    m_fireRangeVsHard = rangeVsHard;
    m_fireRangeVsSoft = rangeVsSoft;
    m_fireRangeHex = { column, row };
    m_highlightMode = kHighlightFireRange;
    Redraw();
}

void CDisplayView::ClearTargetHighlight()
{
    if (m_highlightMode != kHighlightFireRange)
        return;
    m_highlightMode = kHighlightNone;
    Redraw();
}

void CDisplayView::ShowRange(const PlacedUnit& unit, int column, int row)
{
    m_showRange = true;
    m_rangeVsSoft = CGameWeapons::GetMaxRangeVsSoft(unit.m_type);
    m_rangeVsHard = CGameWeapons::GetMaxRangeVsHard(unit.m_type);
    m_rangeCentre = { column, row };
    Redraw();
}

void CDisplayView::ClearRange()
{
    m_showRange = false;
    Redraw();
}

void CDisplayView::ToggleGraphicalIcons()
{
    m_graphicalIcons = !m_graphicalIcons;
    Redraw();
}

void CDisplayView::ToggleSpecialIcons()
{
    m_specialIcons = !m_specialIcons;
    Redraw();
}

void CDisplayView::AttachBattle(const TerrainConditions& conditions, bool redraw)
{
    m_highlightNode = nullptr;
    m_highlightMode = kHighlightNone;
    // The request's unit and its organisation node belong to the old battle.
    m_commandRange = {};
    m_commandRangeUnit.reset();
    m_damageGridColumns = GetMap() ? GetMap()->GetWidth() : 1;
    m_damageGrid.assign(static_cast<std::size_t>(m_damageGridColumns),
        std::vector<int>(static_cast<std::size_t>(GetMap() ? GetMap()->GetHeight() : 1), -1));
    CMouseView::AttachBattle(conditions, redraw);
}

void CDisplayView::RedrawIfHighlightDependsOnState()
{
    switch (m_highlightMode) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 10:
    case 12:
        Redraw();
        break;
    default:
        break;
    }
}

void CDisplayView::PaintRect(const platform::Rect& mapRect)
{
    CMouseView::PaintRect(mapRect);
    const auto range = Geometry().RectToHexRange(mapRect.left, mapRect.top, mapRect.Width(), mapRect.Height());
    DrawUnits(range.firstColumn, range.firstRow, range.columns, range.rows);
    DrawRangeRings(range.firstColumn, range.firstRow, range.columns, range.rows);
}

namespace {

int FlagsOf(const CGame* game, HexPos m)
{
    if (!game || !game->m_hexFlags.Contains(m.column, m.row))
        return 0;
    return game->m_hexFlags.At(m.column, m.row);
}

} // namespace

bool CDisplayView::HasHexFlag100(int column, int row) const
{
    return (FlagsOf(m_game, RotateHex(column, row)) & CGameData::kHexRubble) != 0;
}

bool CDisplayView::HasHexFlag200(int column, int row) const
{
    return (FlagsOf(m_game, RotateHex(column, row)) & CGameData::kHexDamaged) != 0;
}

bool CDisplayView::HasShownHexFlag80(int column, int row) const
{
    const HexPos m = RotateHex(column, row);
    return (FlagsOf(m_game, m) & CGameData::kHexTrench) != 0 && m_game->IsHexContentShown(m.column, m.row);
}

int CDisplayView::GetHexDamageVariant(int column, int row)
{
    const HexPos m = RotateHex(column, row);
    if (!m_game || !GetMap() || !GetMap()->IsOnMap(m.column, m.row))
        return -1;
    int variant = -1;
    const int t = GetEffectiveTerrain(column, row);
    const bool undamageable = t == kTerrainWater || t == kTerrainMarsh || t == kTerrainCity || t == kTerrainShallowWater
        || t == kTerrainIndustrial || t == kTerrainSuburb || t == kTerrainSwamp;
    const int value = m_game->m_hexValue.Contains(m.column, m.row) ? m_game->m_hexValue.At(m.column, m.row) : 0;
    if (!HasHexFlag100(column, row) && !undamageable && value != 0) {
        variant = value < 24 ? 0 : value < 48 ? 1 : 2;
        if (t == kTerrainForest || t == kTerrainVillage)
            variant += 3;
    }
    if (m.column < m_damageGridColumns && m.row < static_cast<int>(m_damageGrid[0].size()))
        m_damageGrid[static_cast<std::size_t>(m.column)][static_cast<std::size_t>(m.row)] = variant;
    return variant;
}

int CDisplayView::GetStoredDamageVariant(int mapColumn, int mapRow) const
{
    if (mapColumn < 0 || mapRow < 0 || mapColumn >= m_damageGridColumns || m_damageGrid.empty()
        || mapRow >= static_cast<int>(m_damageGrid[0].size()))
        return -1;
    return m_damageGrid[static_cast<std::size_t>(mapColumn)][static_cast<std::size_t>(mapRow)];
}

void CDisplayView::DrawLabels(platform::gfx::Canvas& canvas)
{
    CMouseView::DrawLabels(canvas);
    if (!m_game)
        return;
    canvas.Save();
    canvas.SetFont(&GetViewLabelFont());
    canvas.SetTextColour(0x000000);
    canvas.SetBackColour(0xFFFFFF);
    canvas.SetTransparentText(true);
    canvas.SetTextAlign(platform::gfx::HAlign::Centre, platform::gfx::VAlign::Baseline);
    const HexMap& map = m_game->m_map;
    for (int x = 0; x < map.GetWidth(); ++x)
        for (int y = 0; y < map.GetHeight(); ++y)
            if (m_game->HasPontoon(x, y))
                DrawPontoonLabel(canvas, x, y);
    canvas.Restore();
}

bool CDisplayView::IsBridgeSideDamaged(int column, int row, HexSide side) const
{
    if (!m_game)
        return false;
    const HexPos m = RotateHex(column, row);
    return m_game->GetDamagedBridgeSides(m.column, m.row).Contains(Geometry().RotateHexSide(side));
}

bool CDisplayView::IsNight() const { return m_game && m_game->m_night != 0; }
