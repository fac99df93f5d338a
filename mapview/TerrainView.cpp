#include "mapview/TerrainView.h"

#include <algorithm>

#include "model/HexMap.h"
#include "platform/core/Cursors.h"
#include "platform/gfx/Region.h"

using platform::Point;
using platform::Rect;
using platform::Size;
using platform::gfx::Region;

namespace {

constexpr platform::gfx::Pixel kBackdrop = 0x000000;
constexpr platform::gfx::Pixel kHotSpotRed = 0xFF0000;

// Stems of table A by soil state (brown, green, mud, snow).
struct SoilStems {
    const char* stem[4];
};
constexpr SoilStems kStemsSoil { { "Brown", "Green", "Mud", "Snow" } };
constexpr SoilStems kStemsSides3D { { "Sides", "Sides", "MudSides", "SnowSides" } };
constexpr SoilStems kStemsTerrain3D { { "Terrain", "Terrain", "Terrain", "SnowTerrain" } };
constexpr SoilStems kStemsRoads3D { { "Roads", "Roads", "MudPavedRoads", "SnowPaved" } };
constexpr SoilStems kStemsUnpaved3D { { "Unpaved", "Unpaved", "MudRoads", "SnowUnpaved" } };
constexpr SoilStems kStemsPaths3D { { "Paths", "Paths", "Paths", "SnowPaths" } };
constexpr SoilStems kStemsGullies { { "Gullies", "Gullies", "MudGullies", "SnowGullies" } };
constexpr SoilStems kStemsStreams { { "Streams", "Streams", "Streams", "SnowStreams" } };
constexpr SoilStems kStemsRivers { { "Rivers", "Rivers", "Rivers", "SnowRivers" } };
constexpr SoilStems kStemsEdges2D { { "Edges", "Edges", "Edges", "SnowEdges" } };
constexpr SoilStems kStemsEdges3D { { "Edges", "Edges", "MudEdges", "SnowEdges" } };
constexpr SoilStems kStemsGrass { { "GrassEdges", "GrassEdges", "MudGrassEdges", "GrassEdges" } };
constexpr SoilStems kStemsShore { { "ShoreEdge", "ShoreEdge", "ShoreEdge", "SnowShoreEdge" } };
constexpr SoilStems kStemsWadi { { "WadiEdges", "WadiEdges", "MudWadiEdges", "WadiEdges" } };
constexpr SoilStems kStemsDunes { { "SandDune", "SandDune", "MudSandDune", "SandDune" } };
constexpr SoilStems kStemsRailroad { { "Railroad", "Railroad", "MudRailroad", "SnowRailroad" } };
constexpr const char* kTreeStems[4] = { "GreenTrees", "BrownTrees", "BarrenTrees", "SnowTrees" };
constexpr const char* kBlockedStems[4] = { "Blocked", "Blocked", "BarrenBlocked", "SnowBlocked" };
constexpr int kDesertTheme = 2;

} // namespace

CTerrainView::CTerrainView(const HexMap* map)
    : CHexMapWnd(map)
{
    static constexpr int kHeights[kLabelFontCount] = { 10, 14, 18, 24 };
    for (int i = 0; i < kLabelFontCount; ++i)
        m_fonts[static_cast<std::size_t>(i)]
            = std::make_unique<platform::gfx::Font>(platform::gfx::FontSpec { "Times Roman", kHeights[i], 700 });
    ComputeElevationShading();
}

platform::AssetFiles* CTerrainView::Assets() const { return Host() ? &Host()->GetServices().assets : nullptr; }

int CTerrainView::OnCreate()
{
    if (CHexMapWnd::OnCreate() == -1)
        return -1;
    LoadFixedSheets();
    Host()->GetServices().timers.Start(*this, kBlinkTimer, kBlinkMs);
    return 0;
}

// ---- sheets ----

std::string CTerrainView::GetPicturePath(std::string_view name) const
{
    const HexMap* map = GetMap();
    platform::AssetFiles* assets = Assets();
    if (map && assets && map->GetRegion() != kNoRegion) {
        std::string themed = std::string(map->GetThemePrefix()) + std::string(name);
        if (assets->Exists(themed))
            return themed;
    }
    return std::string(name);
}

std::shared_ptr<BitmapSurface> CTerrainView::LoadSheet(std::string_view name)
{
    platform::AssetFiles* assets = Assets();
    if (!assets)
        return std::make_shared<BitmapSurface>();
    const std::string path = GetPicturePath(name);
    const std::string key = platform::AssetFiles::Key(path);
    auto it = m_pictures.find(key);
    if (it != m_pictures.end())
        return it->second;
    // The message names the file as the working folder joins it.
    const std::string full = (assets->WorkingFolder() / path).string();
    auto sheet = std::make_shared<BitmapSurface>(*assets, full);
    sheet->SetColorKeyFromCorner();
    m_pictures.emplace(key, sheet);
    return sheet;
}

void CTerrainView::LoadSet2D(Family family, std::string_view stem)
{
    const std::string s(stem);
    m_sets[family] = {};
    m_sets[family].sheets[0] = LoadSheet(s + "2d.bmp");
    m_sets[family].sheets[1] = LoadSheet(s + "1d.bmp");
}

void CTerrainView::LoadSet3D(Family family, std::string_view stem)
{
    const std::string s(stem);
    m_sets[family].sheets[0] = LoadSheet(s + "3d.bmp");
    m_sets[family].sheets[1] = LoadSheet(s + "4d.bmp");
    m_sets[family].sheets[2] = LoadSheet(s + "5d.bmp");
}

void CTerrainView::LoadFixedSheets()
{
    m_sets[kIcons2D].sheets[0] = LoadSheet("Icons2d.bmp");
    m_sets[kIcons2D].sheets[1] = LoadSheet("Icons1d.bmp");
    LoadSet2D(kRoads2D, "Roads");
    LoadSet2D(kPaths2D, "Paths");
    LoadSet2D(kRail2D, "Rail");
    LoadSet2D(kUnpaved2D, "Unpaved");
    LoadSet3D(kFords, "Fords");
    platform::AssetFiles* assets = Assets();
    if (assets && assets->Exists("ShallowEdge2d.bmp")) {
        LoadSet2D(kShallowEdge2D, "ShallowEdge");
        LoadSet3D(kShallowEdge3D, "ShallowEdge");
    }
}

void CTerrainView::SetTerrainConditions(const TerrainConditions& conditions)
{
    const int theme = GetMap() ? GetMap()->GetRegion() : kNoRegion;
    if (conditions == m_conditions && theme == m_themeIndex)
        return;
    m_conditions = conditions;
    m_themeIndex = theme;
    LoadTerrainSheets();
}

void CTerrainView::LoadTerrainSheets()
{
    platform::AssetFiles* assets = Assets();
    if (!assets)
        return;
    platform::BusyCursorScope busy(Host()->GetServices().cursors);
    auto exists = [&](const char* name) { return assets->Exists(name); };
    m_sheetsLoaded = true;
    ++m_terrainSheetLoads;
    LoadSet2D(kTerrain2D, "Terrain");
    LoadSet2D(kSides2D, "Sides");
    if (exists("Paddies3d.bmp"))
        LoadSet3D(kPaddies, "Paddies");
    if (m_conditions.water == 0)
        LoadSet3D(kWater, "Water");
    else if (m_conditions.water == 1)
        LoadSet3D(kWater, "Frozen");

    const int soil = m_conditions.surface;
    const bool desert = GetMap() && GetMap()->GetRegion() == kDesertTheme;
    // The optional families start empty, so that a change of conditions
    // leaves none of them from the last set.
    for (Family f : { kGrassEdges2D, kGrassEdges3D, kShoreEdge2D, kShoreEdge3D, kWadiEdges, kSandDune })
        ClearSet(f);
    if (soil >= 0 && soil <= 3) {
        const auto i = static_cast<std::size_t>(soil);
        LoadSet2D(kSoil2D, kStemsSoil.stem[i]);
        LoadSet3D(kSoil3D, kStemsSoil.stem[i]);
        LoadSet3D(kSides3D, kStemsSides3D.stem[i]);
        LoadSet3D(kTerrain3D, kStemsTerrain3D.stem[i]);
        LoadSet3D(kRoads3D, kStemsRoads3D.stem[i]);
        LoadSet3D(kUnpaved3D, kStemsUnpaved3D.stem[i]);
        LoadSet3D(kPaths3D, kStemsPaths3D.stem[i]);
        LoadSet3D(kGullies, kStemsGullies.stem[i]);
        LoadSet3D(kStreams, kStemsStreams.stem[i]);
        LoadSet3D(kRivers, kStemsRivers.stem[i]);
        LoadSet2D(kEdges2D, kStemsEdges2D.stem[i]);
        LoadSet3D(kEdges3D, kStemsEdges3D.stem[i]);
        const bool grass
            = exists("GrassEdges2d.bmp") || exists("Tem-GrassEdges3d.bmp") || exists("Tro-GrassEdges3d.bmp");
        auto loadShore = [&] {
            LoadSet2D(kShoreEdge2D, kStemsShore.stem[i]);
            LoadSet3D(kShoreEdge3D, kStemsShore.stem[i]);
            if (desert)
                LoadSet3D(kWadiEdges, kStemsWadi.stem[i]);
        };
        if (soil == 0) {
            if (grass) {
                LoadSet2D(kGrassEdges2D, kStemsGrass.stem[i]);
                LoadSet3D(kGrassEdges3D, kStemsGrass.stem[i]);
            }
            if (exists("ShoreEdge2d.bmp"))
                loadShore();
        } else if (grass) {
            LoadSet2D(kGrassEdges2D, kStemsGrass.stem[i]);
            LoadSet3D(kGrassEdges3D, kStemsGrass.stem[i]);
            loadShore();
        }
        if (desert)
            LoadSet3D(kSandDune, kStemsDunes.stem[i]);
        LoadSet3D(kRailroad, kStemsRailroad.stem[i]);
    }
    if (m_conditions.foliage >= 0 && m_conditions.foliage <= 3) {
        LoadSet3D(kTrees, kTreeStems[m_conditions.foliage]);
        LoadSet3D(kBlocked, kBlockedStems[m_conditions.foliage]);
    }
    const bool frozen = m_conditions.water == 1;
    const bool snow = soil == 3;
    LoadSet3D(kBridges, frozen && snow ? "SnFrBridges" : frozen ? "FrozenBridges" : snow ? "SnowBridges" : "Bridges");
    FreeJumpMapCache();
}

void CTerrainView::AttachBattle(const TerrainConditions& conditions, bool redraw)
{
    FreeJumpMapCache();
    SetTerrainConditions(conditions);
    m_ready = false;
    m_rememberedClient = {};
    const int width = GetMap() ? GetMap()->GetWidth() : 1;
    const int height = GetMap() ? GetMap()->GetHeight() : 1;
    m_hotSpot.column = std::min(m_hotSpot.column, width - 1);
    m_hotSpot.row = std::min(m_hotSpot.row, height - 1);
    m_secondHex = { 0, 0 };
    ComputeElevationShading();
    UpdateScrollRanges();
    m_ready = true;
    if (redraw)
        Redraw();
}

void CTerrainView::OnSize(Size client)
{
    CHexMapWnd::OnSize(client);
    UpdateScrollRanges();
    const bool grew = client.width > m_rememberedClient.width || client.height > m_rememberedClient.height;
    if (grew)
        Redraw();
    m_rememberedClient = client;
}

void CTerrainView::SetViewMode(int mode, int centreColumn, int centreRow)
{
    if (Host())
        Host()->Update();
    m_ready = false;
    m_rememberedClient = {};
    SetViewModeCentred(mode, centreColumn, centreRow);
    m_ready = true;
    Redraw();
}

void CTerrainView::Redraw()
{
    if (!m_ready || !Host())
        return;
    platform::BusyCursorScope busy(Host()->GetServices().cursors);
    if (!m_sheetsLoaded)
        LoadTerrainSheets();
    m_rememberedClient = ClientSize();
    PaintMapRect(GetVisibleMapRect());
    PresentClient();
}

void CTerrainView::DrawCell(
    const SheetSet& set, int centreX, int centreY, int width, int height, int sourceX, int sourceY)
{
    const int mode = GetViewMode();
    int index = 0;
    int divisor = 1;
    if (mode == 2 || mode == 3) {
        index = 1;
        divisor = 2;
    } else if (mode == 4) {
        index = 2;
        divisor = 4;
    }
    const BitmapSurface* sheet = set.At(index);
    if (!sheet || !sheet->IsLoaded())
        return;
    width /= divisor;
    height /= divisor;
    sourceX /= divisor;
    sourceY /= divisor;
    const int left = centreX - width / 2;
    const int top = centreY - height / 2;
    DrawSurface(Rect { left, top, left + width, top + height }, *sheet, { sourceX, sourceY });
}

int CTerrainView::ScaleToView(int value) const
{
    const int mode = GetViewMode();
    return mode == 2 || mode == 3 ? value / 2 : mode == 4 ? value / 4 : value;
}

// ---- addressing ----

int CTerrainView::GetUnitCellSize() const
{
    const int mode = GetViewMode();
    return mode == 0 ? 128 : mode == 3 ? 64 : 32;
}

Point CTerrainView::GetUnitCellOrigin(int cell) const
{
    return { (cell % 12) * GetUnitCellSize(), (cell / 12) * GetUnitCellHeight() };
}

int CTerrainView::GetTileVariant(int column, int row, int count, bool useMapCode) const
{
    if (count < 1)
        return 0;
    const HexPos m = RotateHex(column, row);
    const HexMap* map = GetMap();
    if (useMapCode && map && map->IsOnMap(m.column, m.row)) {
        const int code = map->GetCode(m.column, m.row);
        if (code != 0)
            return (code - 1) % count;
    }
    const long long x = m.column + 1;
    const long long y = m.row + 1;
    const long long hash = 3 * x + 2 * y + 5 * y * y + 7 * x * x + 11 * x * y;
    const long long v = hash % count;
    return static_cast<int>(v < 0 ? v + count : v);
}

Point CTerrainView::GetBaseCell2D(int column, int row) const
{
    // Levels run to 35; the sheet has rows for 0..12 (row 13 is Beach).
    const int level = std::min(Geometry().GetViewElevation(column, row), 12);
    return { GetTileVariant(column, row, 6, false) * 38, level * 32 };
}

int CTerrainView::GetSpriteLift() const
{
    const int mode = GetViewMode();
    return mode == 3 ? 10 : mode == 4 ? 5 : 19;
}

HexSideSet CTerrainView::GetRoadSides(int column, int row) const
{
    const HexMap* map = GetMap();
    const HexPos m = RotateHex(column, row);
    if (!map || !map->IsOnMap(m.column, m.row))
        return {};
    HexSideSet sides;
    for (int layer : { kLayerRoad, kLayerUnpaved, kLayerRail, kLayerPath, kLayerFord, kLayerLightBridge,
             kLayerMediumBridge, kLayerHeavyBridge })
        sides.Add(Geometry().RotateHexSideSet(map->GetFeatureLayer(m.column, m.row, layer)).Value());
    return sides;
}

Point CTerrainView::GetRoadCell(HexSideSet sides) const
{
    const int p = FindRoadSheetIndex(sides);
    if (p >= RoadSheet::kPositions)
        return { -1, -1 };
    return Is3D() ? Point { (p % 6) * 164, (p / 6) * 86 } : Point { (p % 6) * 36, (p / 6) * 30 };
}

int CTerrainView::PickRoadAwareCell(RoadSheet::AwareTable table, int column, int row) const
{
    const int p = FindRoadSheetIndex(GetRoadSides(column, row));
    const auto cells = RoadSheet::AwareCells(table, p);
    if (cells.empty())
        return 0;
    static constexpr int kSlots[3] = { 19, 15, 7 };
    const int m = std::min(static_cast<int>(cells.size()), kSlots[static_cast<int>(table)]);
    return cells[static_cast<std::size_t>(GetTileVariant(column, row, m, true))];
}

int CTerrainView::GetEffectiveTerrain(int column, int row) const
{
    const HexMap* map = GetMap();
    const HexPos m = RotateHex(column, row);
    if (!map || !map->IsOnMap(m.column, m.row))
        return kTerrainImpassible;
    return map->GetEffectiveTerrain(m.column, m.row, m_conditions);
}

bool CTerrainView::GetMapNeighbour(int column, int row, HexSide viewSide, HexPos& mapHex) const
{
    const HexMap* map = GetMap();
    if (!map)
        return false;
    const HexPos m = RotateHex(column, row);
    return map->GetNeighbour(Geometry().RotateHexSide(viewSide), m.column, m.row, mapHex);
}

void CTerrainView::ComputeElevationShading()
{
    const HexMap* map = GetMap();
    int highest = 0;
    int lowest = 13;
    if (map)
        for (int x = 0; x < map->GetWidth(); ++x)
            for (int y = 0; y < map->GetHeight(); ++y) {
                highest = std::max(highest, map->GetElevationLevel(x, y));
                lowest = std::min(lowest, map->GetElevationLevel(x, y));
            }
    int range = highest - lowest;
    if (range <= 0)
        range = 1;
    m_shadingFactor = 12 / range;
    m_shadingOffset = (13 % range) / 2 - lowest;
}

// ---- paint pipeline ----

void CTerrainView::PaintMapRect(const Rect& mapRect)
{
    PushClipRegion(Region::FromRect(mapRect), true);
    PaintRect(mapRect);
    if (Is2D() && m_blinkPhase)
        DrawHotSpotOutline();
    PopClipRegion(true);
    if (m_labelsShown)
        DrawLabelStep();
}

void CTerrainView::PaintRect(const Rect& mapRect)
{
    PaintTerrain(mapRect);
    if (Is3D())
        DrawHotSpotOutline();
}

void CTerrainView::PaintTerrain(const Rect& mapRect)
{
    FillBackdrop(mapRect);
    const auto range = Geometry().RectToHexRange(mapRect.left, mapRect.top, mapRect.Width(), mapRect.Height());
    PaintHexRange(range.firstColumn, range.firstRow, range.columns, range.rows);
    DrawOutlinesAndContours(mapRect);
}

void CTerrainView::FillBackdrop(const Rect& r)
{
    const auto& g = Geometry();
    const int c = g.GetColumnPitch();
    const int rp = g.GetRowPitch();
    const int t = g.GetTopMargin();
    const int h = g.GetHalfRow();
    const int top = rp + t;
    const int bottom = (g.GetMapHeight() - 1) * rp + h + t;
    const int left = c;
    const int right = g.GetMapWidth() * c;
    if (r.top >= top && r.bottom <= bottom && r.left >= left && r.right <= right)
        return;
    auto canvas = GetSurfaceCanvas();
    if (r.top < top)
        canvas.FillRect({ r.left, r.top, r.right, std::min(top, r.bottom) }, kBackdrop);
    if (r.bottom > bottom)
        canvas.FillRect({ r.left, std::max(bottom, r.top), r.right, r.bottom }, kBackdrop);
    if (r.left < left)
        canvas.FillRect({ r.left, r.top, std::min(left, r.right), r.bottom }, kBackdrop);
    if (r.right > right)
        canvas.FillRect({ std::max(right, r.left), r.top, r.right, r.bottom }, kBackdrop);
}

void CTerrainView::PaintHexRange(int firstColumn, int firstRow, int columns, int rows)
{
    if (Is2D())
        Paint2DHexRange(firstColumn, firstRow, columns, rows);
    else
        Paint3DHexRange(firstColumn, firstRow, columns, rows);
}

void CTerrainView::Paint2DHexRange(int firstColumn, int firstRow, int columns, int rows)
{
    const int lastColumn = firstColumn + columns;
    const int lastRow = firstRow + rows;
    for (int c = firstColumn; c < lastColumn; ++c)
        for (int r = firstRow; r < lastRow; ++r)
            PaintBaseCell2D(c, r);
    for (int c = firstColumn; c < lastColumn; ++c)
        for (int r = firstRow; r < lastRow; ++r)
            PaintHexsideLines2D(c, r);
    for (int c = firstColumn; c < lastColumn; ++c)
        for (int r = firstRow; r < lastRow; ++r)
            PaintCrossings2D(c, r);
    for (int c = firstColumn; c < lastColumn; ++c)
        for (int r = firstRow; r < lastRow; ++r)
            if (!IsLowOverlayTerrain(GetEffectiveTerrain(c, r)))
                PaintTerrainOverlay2D(c, r);
}

void CTerrainView::Paint3DHexRange(int, int, int, int)
{
    // The 3D per-hex painter comes with the 3D views.
}

void CTerrainView::ScrollPictureX(int dx)
{
    CHexMapWnd::ScrollPictureX(dx);
    const Rect strip = UncoveredStripX(dx).Offset(ScrollOrigin());
    if (!strip.IsEmpty())
        PaintMapRect(strip);
}

void CTerrainView::ScrollPictureY(int dy)
{
    CHexMapWnd::ScrollPictureY(dy);
    const Rect strip = UncoveredStripY(dy).Offset(ScrollOrigin());
    if (!strip.IsEmpty())
        PaintMapRect(strip);
}

void CTerrainView::RepaintHexRect(int column, int row)
{
    const auto& g = Geometry();
    const Point centre = g.GetHexCentre(column, row);
    const Rect r { centre.x - g.GetColumnPitch(), centre.y - g.GetRowPitch(), centre.x + g.GetColumnPitch(),
        centre.y + g.GetRowPitch() };
    PaintMapRect(r);
    const Point origin = ScrollOrigin();
    PresentRect(r.Offset(-origin.x, -origin.y));
}

void CTerrainView::RepaintHex(int mapColumn, int mapRow)
{
    const HexPos v = RotateHex(mapColumn, mapRow);
    RepaintHexRect(v.column, v.row);
}

Rect CTerrainView::GetVisibleMapRect() const { return Rect::FromSize(ClientSize()).Offset(ScrollOrigin()); }

HexPos CTerrainView::GetCentredScrollPos(int column, int row) const
{
    int columns = 0;
    int rows = 0;
    GetVisibleHexes(columns, rows);
    return { std::clamp(column - columns / 2, 0, GetHMax()), std::clamp(row - rows / 2, 0, GetVMax()) };
}

HexPos CTerrainView::CentreOnPoint(Point mapPoint)
{
    const HexPos hex = Geometry().PointToHex(mapPoint.x, mapPoint.y);
    const HexPos target = GetCentredScrollPos(hex.column, hex.row);
    ScrollTo(target.column, target.row);
    return hex;
}

HexPos CTerrainView::JumpToPoint(Point mapPoint)
{
    // The hex under the point, as a map hex; the virtual centring may
    // already answer in map terms, so its answer is not turned again.
    const HexPos hex = Geometry().PointToHex(mapPoint.x, mapPoint.y);
    CentreOnPoint(mapPoint);
    return RotateHex(hex);
}

void CTerrainView::RotateKeepingHotSpot()
{
    const HexPos mapHex = RotateHex(m_hotSpot);
    if (!ToggleRotation(m_hotSpot.column, m_hotSpot.row))
        return;
    Redraw();
    const HexPos v = RotateHex(mapHex);
    SetHotSpot(v.column, v.row);
    FreeJumpMapCache();
}

// ---- hot spot and overlays ----

void CTerrainView::SetHotSpot(int column, int row)
{
    if (column != m_hotSpot.column || row != m_hotSpot.row) {
        const HexPos old = m_hotSpot;
        m_hotSpot = { column, row };
        m_blinkPhase = true;
        RepaintHexRect(old.column, old.row);
    }
    RepaintHexRect(m_hotSpot.column, m_hotSpot.row);
}

void CTerrainView::DrawHotSpotOutline()
{
    if (Is3D() && m_hide3DHotSpot)
        return;
    // Inside the clip of the paint, when there is one.
    ClipToHexIntersect(m_hotSpot.column, m_hotSpot.row);
    std::array<Point, 7> points {};
    const int count = Geometry().GetInnerHighlightPolygon(points, m_hotSpot.column, m_hotSpot.row);
    auto canvas = GetSurfaceCanvas();
    canvas.SetPen({ kHotSpotRed, 2 });
    canvas.Polyline(std::span<const Point>(points.data(), static_cast<std::size_t>(count)));
    m_blinkPhase = true;
    PopClipRegion(true);
}

void CTerrainView::OnTimer(int id)
{
    CHexMapWnd::OnTimer(id);
    if (id != kBlinkTimer || !Is2D())
        return;
    if (!m_labelsShown || !m_blinkPhase) {
        m_blinkPhase = !m_blinkPhase;
        RepaintHexRect(m_hotSpot.column, m_hotSpot.row);
    }
}

void CTerrainView::ToggleHotSpotBlink()
{
    if (!Host())
        return;
    auto& timers = Host()->GetServices().timers;
    if (!m_blinkEnabled) {
        timers.Start(*this, kBlinkTimer, kBlinkMs);
        m_blinkEnabled = true;
    } else {
        timers.Stop(*this, kBlinkTimer);
        m_blinkEnabled = false;
        m_blinkPhase = true;
        RepaintHexRect(m_hotSpot.column, m_hotSpot.row);
    }
}

void CTerrainView::ToggleHide3DHotSpot()
{
    m_hide3DHotSpot = !m_hide3DHotSpot;
    if (!Is3D())
        return;
    if (m_hide3DHotSpot) {
        RepaintHexRect(m_hotSpot.column, m_hotSpot.row);
    } else {
        DrawHotSpotOutline();
        PresentClient();
    }
}

void CTerrainView::ShowLabels(bool on)
{
    m_labelsShown = on;
    if (on) {
        DrawLabelStep();
        PresentClient();
    } else {
        Redraw();
    }
}

void CTerrainView::ToggleHexOutlines()
{
    m_hexOutlines = !m_hexOutlines;
    if (m_hexOutlines) {
        DrawOutlinesAndContours(GetVisibleMapRect());
        PresentClient();
    } else {
        Redraw();
    }
}

void CTerrainView::ToggleContours()
{
    m_contours = !m_contours;
    if (m_contours && !m_hexOutlines) {
        DrawOutlinesAndContours(GetVisibleMapRect());
        PresentClient();
    } else {
        Redraw();
    }
}
