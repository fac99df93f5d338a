// The 2D hex painters of the terrain view: base cells, hexside lines,
// crossings and roads, overlays, and the edge pieces along water and beaches.

#include <initializer_list>

#include "mapview/EdgePieces.h"
#include "mapview/TerrainView.h"

using platform::Point;

namespace {

constexpr int kBeachRowY = 416;

bool IsWaterTerrain(int t) { return t == kTerrainWater || t == kTerrainShallowWater; }

// The three sides a hex draws hexside features on.
constexpr HexSide kOwnSides[3] = { HexSide::North, HexSide::NorthEast, HexSide::SouthEast };

// Whether the map hex holds a side on any of the layers. Most hexes hold
// none, and one look at the record spares the painters' own lookups.
bool HasAnyLayer(const HexMap* map, HexPos m, std::initializer_list<int> layers)
{
    if (!map || !map->IsOnMap(m.column, m.row))
        return false;
    const HexRecord& hex = map->GetHex(m.column, m.row);
    for (int layer : layers)
        if (!hex.layers[static_cast<std::size_t>(layer)].IsEmpty())
            return true;
    return false;
}

} // namespace

bool CTerrainView::IsLowOverlayTerrain(int terrain)
{
    switch (terrain) {
    case kTerrainField:
    case kTerrainVineyard:
    case kTerrainCactus:
    case kTerrainHammada:
    case kTerrainScrub:
    case kTerrainSoftSand:
    case kTerrainWadi:
    case kTerrainRicePaddy:
    case kTerrainFloodedPaddy:
    case kTerrainKunai:
        return true;
    default:
        return false;
    }
}

void CTerrainView::PaintBaseCell2D(int column, int row)
{
    const int t = GetEffectiveTerrain(column, row);
    const Point c = Geometry().GetHexCentre(column, row);
    if (t == kTerrainWater) {
        PaintWaterCell2D(column, row, false);
    } else if (t == kTerrainShallowWater) {
        PaintWaterCell2D(column, row, true);
    } else if (t == kTerrainBeach) {
        DrawCell(GetSheets(kSoil2D), c.x, c.y, 38, 32, GetTileVariant(column, row, 6, false) * 38, kBeachRowY);
        PaintGrassEdges2D(column, row);
    } else {
        const Point cell = GetBaseCell2D(column, row);
        DrawCell(GetSheets(kSoil2D), c.x, c.y, 38, 32, cell.x, cell.y);
    }
    if (IsLowOverlayTerrain(t))
        PaintTerrainOverlay2D(column, row);
}

void CTerrainView::PaintWaterCell2D(int column, int row, bool shallow)
{
    const bool frozen = GetConditions().water == TerrainConditions::kFrozen;
    const int y = frozen ? 360 : shallow ? 690 : 330;
    const Point c = Geometry().GetHexCentre(column, row);
    DrawCell(GetSheets(kTerrain2D), c.x, c.y, 36, 30, GetTileVariant(column, row, 6, true) * 36, y);
    PaintWaterEdges2D(column, row);
    // Shallow-water and shore neighbours have no 2D pieces.
}

void CTerrainView::PaintTerrainOverlay2D(int column, int row)
{
    const int t = GetEffectiveTerrain(column, row);
    const bool aware = t == kTerrainForest || t == kTerrainVillage || t == kTerrainOrchard || t == kTerrainPalmTrees
        || t == kTerrainLightJungle || t == kTerrainJungle;
    if (aware && !GetRoadSides(column, row).IsEmpty())
        PaintOverlayAroundRoads2D(column, row);
    else
        PaintOverlay2D(column, row);
}

void CTerrainView::PaintOverlayAroundRoads2D(int column, int row)
{
    const int t = GetEffectiveTerrain(column, row);
    int k = 0;
    int base = 0;
    switch (t) {
    case kTerrainForest:
    case kTerrainLightJungle:
        k = PickRoadAwareCellA(column, row);
        base = 13;
        break;
    case kTerrainJungle:
        k = PickRoadAwareCellA(column, row);
        base = 29;
        break;
    case kTerrainVillage:
        if (HasHexFlag100(column, row)) {
            k = GetTileVariant(column, row, 3, true);
            base = 19;
        } else {
            k = PickRoadAwareCellB(column, row);
            base = 16;
        }
        break;
    case kTerrainOrchard:
        k = PickRoadAwareCellC(column, row);
        base = 18;
        break;
    case kTerrainPalmTrees:
        k = PickRoadAwareCellC(column, row);
        base = 27;
        break;
    default:
        return;
    }
    const Point c = Geometry().GetHexCentre(column, row);
    DrawCell(GetSheets(kTerrain2D), c.x, c.y, 36, 30, (k % 6) * 36, (base + k / 6) * 30);
}

void CTerrainView::PaintOverlay2D(int column, int row)
{
    const int t = GetEffectiveTerrain(column, row);
    // Rubble matters to built-up terrain only; the flag is asked there.
    const bool builtUp = t == kTerrainIndustrial || t == kTerrainCity || t == kTerrainSuburb || t == kTerrainVillage;
    const bool rubble = builtUp && HasHexFlag100(column, row);
    int x = GetTileVariant(column, row, 6, true) * 36;
    int y = -1;
    switch (t) {
    case kTerrainForest:
    case kTerrainSoftSand:
    case kTerrainLightJungle:
        y = 0;
        break;
    case kTerrainOrchard:
        y = 30;
        break;
    case kTerrainRough:
        y = 60;
        break;
    case kTerrainMarsh:
        y = GetMap() && GetMap()->GetRegion() == 2 ? 120 : 90;
        break;
    case kTerrainScrub:
        y = 90;
        break;
    case kTerrainSwamp:
        y = 120;
        break;
    case kTerrainField:
    case kTerrainCactus:
        y = 150;
        break;
    case kTerrainBuilding:
        y = 180;
        break;
    case kTerrainIndustrial:
    case kTerrainCity:
        if (rubble) {
            x = (GetTileVariant(column, row, 3, true) + 3) * 36;
            y = 570;
        } else {
            y = t == kTerrainCity ? 240 : 210;
        }
        break;
    case kTerrainHammada:
        y = 210;
        break;
    case kTerrainSuburb:
    case kTerrainVillage:
        if (rubble) {
            x = GetTileVariant(column, row, 3, true) * 36;
            y = 570;
        } else {
            y = t == kTerrainSuburb ? 270 : 300;
        }
        break;
    case kTerrainImpassible:
        x = 0;
        y = 660;
        break;
    case kTerrainVineyard:
    case kTerrainFloodedPaddy:
        y = 720;
        break;
    case kTerrainWadi:
    case kTerrainRicePaddy:
        y = 750;
        break;
    case kTerrainPalmTrees:
        y = 780;
        break;
    case kTerrainJungle:
        y = 840;
        break;
    case kTerrainKunai:
        y = 960;
        break;
    default:
        return;
    }
    const Point c = Geometry().GetHexCentre(column, row);
    DrawCell(GetSheets(kTerrain2D), c.x, c.y, 36, 30, x, y);
}

void CTerrainView::PaintHexsideLines2D(int column, int row)
{
    if (!HasAnyLayer(GetMap(), RotateHex(column, row),
            { kLayerStream, kLayerRiver, kLayerHedge, kLayerBocage, kLayerGully, kLayerDune, kLayerHighWall,
                kLayerStoneWall, kLayerReef, kLayerEmbankment, kLayerCliff, kLayerEscarpment }))
        return;
    const bool frozen = GetConditions().water == TerrainConditions::kFrozen;
    PaintSideFeature2D(column, row, kLayerStream, frozen ? 2 : 0);
    PaintSideFeature2D(column, row, kLayerRiver, frozen ? 2 : 1);
    PaintSideFeature2D(column, row, kLayerHedge, 7);
    PaintSideFeature2D(column, row, kLayerBocage, 10);
    PaintSideFeature2D(column, row, kLayerGully, 2);
    PaintSideFeature2D(column, row, kLayerDune, 14);
    PaintSideFeature2D(column, row, kLayerHighWall, 12);
    PaintSideFeature2D(column, row, kLayerStoneWall, 11);
    PaintSideFeature2D(column, row, kLayerReef, 10);
    PaintSlopeFeature2D(column, row, kLayerEmbankment, 8);
    PaintSlopeFeature2D(column, row, kLayerCliff, 6);
    PaintSlopeFeature2D(column, row, kLayerEscarpment, 13);
}

Point CTerrainView::GetSideFeatureCell2D(int sheetRow, unsigned sideValue)
{
    const int s = static_cast<int>(sideValue);
    return { ((s - 1) % 7) * 42, (sheetRow + (s - 1) / 7) * 36 };
}

void CTerrainView::PaintSideFeature2D(int column, int row, int layer, int sheetRow)
{
    const HexMap* map = GetMap();
    const HexPos m = RotateHex(column, row);
    if (!map || !map->IsOnMap(m.column, m.row))
        return;
    const unsigned s = Geometry().RotateHexSideSet(map->GetFeatureLayer(m.column, m.row, layer)).Value() & 7u;
    if (s == 0)
        return;
    const Point cell = GetSideFeatureCell2D(sheetRow, s);
    const Point c = Geometry().GetHexCentre(column, row);
    DrawCell(GetSheets(kSides2D), c.x, c.y, 42, 36, cell.x, cell.y);
}

void CTerrainView::PaintSlopeFeature2D(int column, int row, int layer, int sheetRow)
{
    const HexMap* map = GetMap();
    const HexPos m = RotateHex(column, row);
    if (!map || !map->IsOnMap(m.column, m.row))
        return;
    const HexSideSet set = map->GetFeatureLayer(m.column, m.row, layer);
    if (set.IsEmpty())
        return;
    const int level = map->GetElevationLevel(m.column, m.row);
    const Point c = Geometry().GetHexCentre(column, row);
    for (HexSide side(1); side.IsValid(); side.Next()) {
        if (!set.Contains(Geometry().RotateHexSide(side)))
            continue;
        // A slope is drawn only from its upper side.
        HexPos across;
        if (GetMapNeighbour(column, row, side, across) && map->GetElevationLevel(across.column, across.row) > level)
            continue;
        DrawCell(GetSheets(kSides2D), c.x, c.y, 42, 36, HexSideIndex(side) * 42, sheetRow * 36);
    }
}

void CTerrainView::PaintCrossings2D(int column, int row)
{
    // Bridges, roads and a road's bridge over water all need a crossing
    // layer; damaged-bridge marks come from the game.
    if (!HasAnyLayer(GetMap(), RotateHex(column, row),
            { kLayerFord, kLayerLightBridge, kLayerMediumBridge, kLayerHeavyBridge, kLayerPath, kLayerUnpaved,
                kLayerRail, kLayerRoad })) {
        PaintDamagedBridgeMarks2D(column, row);
        return;
    }
    if (GetConditions().water != TerrainConditions::kFrozen)
        PaintBridgeFeature2D(column, row, kLayerFord);
    PaintBridgeFeature2D(column, row, kLayerLightBridge);
    PaintBridgeFeature2D(column, row, kLayerMediumBridge);
    PaintBridgeFeature2D(column, row, kLayerHeavyBridge);
    PaintLinearFeature2D(column, row, kLayerPath, kLayerUnpaved, GetSheets(kPaths2D));
    PaintLinearFeature2D(column, row, kLayerUnpaved, kLayerRoad, GetSheets(kUnpaved2D));
    PaintLinearFeature2D(column, row, kLayerRail, kLayerRail, GetSheets(kRail2D));
    PaintLinearFeature2D(column, row, kLayerRoad, kLayerUnpaved, GetSheets(kRoads2D));
    PaintRoadBridgeOverWater2D(column, row);
    PaintDamagedBridgeMarks2D(column, row);
}

void CTerrainView::PaintBridgeFeature2D(int column, int row, int layer)
{
    const HexMap* map = GetMap();
    const HexPos m = RotateHex(column, row);
    if (!map || !map->IsOnMap(m.column, m.row))
        return;
    const HexSideSet set = Geometry().RotateHexSideSet(map->GetFeatureLayer(m.column, m.row, layer));
    for (HexSide side : kOwnSides)
        if (set.Contains(side))
            PaintBridgeSide2D(column, row, layer, side);
}

void CTerrainView::PaintBridgeSide2D(int column, int row, int layer, HexSide side)
{
    int y = 0;
    switch (layer) {
    case kLayerHeavyBridge:
        y = 180;
        break;
    case kLayerMediumBridge:
        y = 144;
        break;
    case kLayerLightBridge:
        y = 108;
        break;
    default:
        y = 324;
        break;
    }
    const Point c = Geometry().GetHexCentre(column, row);
    DrawCell(GetSheets(kSides2D), c.x, c.y, 42, 36, HexSideIndex(side) * 42, y);
}

void CTerrainView::PaintLinearFeature2D(int column, int row, int layer, int joinLayer, const SheetSet& set)
{
    const int t = GetEffectiveTerrain(column, row);
    if (t == kTerrainSuburb || t == kTerrainCity || t == kTerrainIndustrial)
        return;
    const HexMap* map = GetMap();
    const HexPos m = RotateHex(column, row);
    if (!map || !map->IsOnMap(m.column, m.row) || map->IsRoadAcrossWater(m.column, m.row))
        return;
    HexSideSet s = Geometry().RotateHexSideSet(map->GetFeatureLayer(m.column, m.row, layer));
    if (joinLayer < layer && !s.IsEmpty())
        s.Add(Geometry().RotateHexSideSet(map->GetFeatureLayer(m.column, m.row, joinLayer)).Value());
    if (s.IsEmpty())
        return;
    const Point cell = GetRoadCell(s);
    if (cell.x < 0)
        return;
    const Point c = Geometry().GetHexCentre(column, row);
    DrawCell(set, c.x, c.y, 36, 30, cell.x, cell.y);
}

void CTerrainView::PaintRoadBridgeOverWater2D(int column, int row)
{
    if (!IsWaterTerrain(GetEffectiveTerrain(column, row)))
        return;
    const HexMap* map = GetMap();
    const HexPos m = RotateHex(column, row);
    if (!map || !map->IsOnMap(m.column, m.row))
        return;
    int index = -1;
    for (int i = 0; i < 3 && index < 0; ++i)
        if (map->HasRoadThrough(m.column, m.row, Geometry().RotateHexSide(kOwnSides[i])))
            index = i;
    if (index < 0)
        return;
    if (HasHexFlag200(column, row))
        index += 3;
    const Point c = Geometry().GetHexCentre(column, row);
    DrawCell(GetSheets(kTerrain2D), c.x, c.y, 36, 30, index * 36, 600);
}

void CTerrainView::PaintDamagedBridgeMarks2D(int column, int row)
{
    // Marks are rare: the sides are asked first, the places only for a mark.
    bool damaged[3];
    bool any = false;
    for (int i = 0; i < 3; ++i)
        any |= damaged[i] = IsBridgeSideDamaged(column, row, kOwnSides[i]);
    if (!any)
        return;
    const BitmapSurface* icons = GetSheets(kIcons2D).At(GetViewMode() == 2 ? 1 : 0);
    if (!icons)
        return;
    const auto& g = Geometry();
    const Point c = g.GetHexCentre(column, row);
    const int h = g.GetHalfRow();
    const int w = g.GetHalfColumn();
    const Point centres[3] = { { c.x, c.y - h }, { c.x + w, c.y - h / 2 }, { c.x + w, c.y + h / 2 } };
    const Point source = GetUnitCellOrigin(36);
    for (int i = 0; i < 3; ++i)
        if (damaged[i])
            DrawSurface({ centres[i].x - 16, centres[i].y - 16, centres[i].x + 16, centres[i].y + 16 }, *icons, source);
}

std::array<bool, 6> CTerrainView::LandNeighbours(int column, int row) const
{
    std::array<bool, 6> land {};
    const HexMap* map = GetMap();
    if (!map)
        return land;
    for (int index = 0; index < 6; ++index) {
        HexPos n;
        if (!GetMapNeighbour(column, row, NthHexSide(index), n))
            continue;
        const int t = map->GetEffectiveTerrain(n.column, n.row, GetConditions());
        land[static_cast<std::size_t>(index)] = !IsWaterTerrain(t) && t != kTerrainBeach;
    }
    return land;
}

void CTerrainView::PaintGrassEdges2D(int column, int row)
{
    if (GetConditions().surface == TerrainConditions::kSnow)
        return;
    PaintEdgePieces2D(column, row, GetSheets(kGrassEdges2D), LandNeighbours(column, row));
}

void CTerrainView::PaintWaterEdges2D(int column, int row)
{
    PaintEdgePieces2D(column, row, GetSheets(kEdges2D), LandNeighbours(column, row));
}

void CTerrainView::PaintEdgePieces2D(int column, int row, const SheetSet& set, const std::array<bool, 6>& land)
{
    const Point c = Geometry().GetHexCentre(column, row);
    for (const auto& slot : EdgePieces::kSlots) {
        const bool first = land[static_cast<std::size_t>(slot.firstSide)];
        const bool second = land[static_cast<std::size_t>(slot.secondSide)];
        if (!first && !second)
            continue;
        const auto& piece = first && second ? slot.both : first ? slot.firstOnly : slot.secondOnly;
        DrawCell(set, c.x + ScaleToView(piece.dx), c.y + ScaleToView(piece.dy), piece.source.Width(),
            piece.source.Height(), piece.source.left, piece.source.top);
    }
}
