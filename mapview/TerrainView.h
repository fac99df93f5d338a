#pragma once
// The layer of the map view that owns what the terrain is drawn with: the
// picture sheets of the five views (chosen by the battle's terrain
// conditions and the map's theme), the sheet blit that scales a cell to the
// view, the paint pipeline that every repaint goes through, the hot spot, and
// the 2D hex painters.

#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "mapview/BitmapSurface.h"
#include "mapview/HexMapWnd.h"
#include "mapview/RoadSheet.h"
#include "model/TerrainConditions.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Region.h"

// Three sheets by scale: 0 full, 1 half, 2 quarter. 2D families fill 0 from
// the "2d" file and 1 from the "1d" file; 3D ones 0..2 from "3d", "4d", "5d".
// An empty entry draws nothing.
struct SheetSet {
    std::array<std::shared_ptr<BitmapSurface>, 3> sheets;
    const BitmapSurface* At(int index) const { return sheets[static_cast<std::size_t>(index)].get(); }
};

class CTerrainView : public CHexMapWnd {
public:
    static constexpr int kBlinkTimer = 0;
    static constexpr int kBlinkMs = 500;

    // The sheet families.
    enum Family : int {
        kSoil2D,
        kSoil3D,
        kTerrain2D,
        kSides2D,
        kRoads2D,
        kPaths2D,
        kRail2D,
        kUnpaved2D,
        kIcons2D, // "Icons2d" and "Icons1d"
        kFords,
        kShallowEdge2D,
        kShallowEdge3D,
        kPaddies,
        kWater,
        kSides3D,
        kTerrain3D,
        kRoads3D,
        kUnpaved3D,
        kPaths3D,
        kGullies,
        kStreams,
        kRivers,
        kEdges2D,
        kEdges3D,
        kGrassEdges2D,
        kGrassEdges3D,
        kShoreEdge2D,
        kShoreEdge3D,
        kWadiEdges,
        kSandDune,
        kRailroad,
        kTrees,
        kBlocked,
        kBridges,
        kFamilyCount
    };

    explicit CTerrainView(const HexMap* map);
    ~CTerrainView() override = default;

    int OnCreate() override;
    void OnSize(platform::Size client) override;
    void OnTimer(int id) override;

    // ---- sheets ----
    const SheetSet& GetSheets(Family family) const { return m_sets[family]; }
    const TerrainConditions& GetConditions() const { return m_conditions; }
    // The creation-time families (icons, 2D roads, fords, shallow edges).
    void LoadFixedSheets();
    // Stores the conditions and reloads the condition sheets when they or
    // the map's theme changed.
    void SetTerrainConditions(const TerrainConditions& conditions);
    void LoadTerrainSheets();
    // How often the condition sheets were (re)loaded.
    int GetTerrainSheetLoads() const { return m_terrainSheetLoads; }
    // A loaded picture by file name, the map theme's file first; loaded once
    // per spelling-insensitive name. Never null; it may be empty.
    std::shared_ptr<BitmapSurface> LoadSheet(std::string_view name);
    // The theme's file when it exists, else the plain one.
    std::string GetPicturePath(std::string_view name) const;

    // A battle was loaded or its conditions changed.
    void AttachBattle(const TerrainConditions& conditions, bool redraw);
    // Switches the view mode keeping a view hex in the centre.
    void SetViewMode(int mode, int centreColumn, int centreRow);
    void Redraw() override;

    // The one sheet blit: full-size cell units, the centre in view pixels.
    void DrawCell(const SheetSet& set, int centreX, int centreY, int width, int height, int sourceX, int sourceY);
    int ScaleToView(int value) const;

    // ---- addressing ----
    int GetUnitCellSize() const;
    int GetUnitCellHeight() const { return GetUnitCellSize(); }
    platform::Point GetUnitCellOrigin(int cell) const;
    int GetTileVariant(int column, int row, int count, bool useMapCode) const;
    platform::Point GetBaseCell2D(int column, int row) const;
    int GetSpriteLift() const;
    HexSideSet GetRoadSides(int column, int row) const;
    static int FindRoadSheetIndex(HexSideSet sides) { return RoadSheet::FindPosition(sides); }
    platform::Point GetRoadCell(HexSideSet sides) const;
    int PickRoadAwareCellA(int column, int row) const
    {
        return PickRoadAwareCell(RoadSheet::AwareTable::A, column, row);
    }
    int PickRoadAwareCellB(int column, int row) const
    {
        return PickRoadAwareCell(RoadSheet::AwareTable::B, column, row);
    }
    int PickRoadAwareCellC(int column, int row) const
    {
        return PickRoadAwareCell(RoadSheet::AwareTable::C, column, row);
    }
    // The map hex's effective terrain under the view's conditions (view hex).
    int GetEffectiveTerrain(int column, int row) const;

    // ---- paint pipeline ----
    void PaintMapRect(const platform::Rect& mapRect);
    // This layer's part of the view's paint operation; later layers call it first.
    virtual void PaintRect(const platform::Rect& mapRect);
    void PaintTerrain(const platform::Rect& mapRect);
    void FillBackdrop(const platform::Rect& mapRect);
    void PaintHexRange(int firstColumn, int firstRow, int columns, int rows);
    void Paint2DHexRange(int firstColumn, int firstRow, int columns, int rows);
    void Paint3DHexRange(int firstColumn, int firstRow, int columns, int rows);
    void ScrollPictureX(int dx) override;
    void ScrollPictureY(int dy) override;
    void RepaintHexRect(int column, int row);
    void RepaintHex(int mapColumn, int mapRow);
    platform::Rect GetVisibleMapRect() const;
    HexPos GetCentredScrollPos(int column, int row) const;
    virtual HexPos CentreOnPoint(platform::Point mapPoint);
    HexPos JumpToPoint(platform::Point mapPoint);
    void RotateKeepingHotSpot();

    // ---- hot spot and overlays ----
    HexPos GetHotSpot() const { return m_hotSpot; }
    virtual void SetHotSpot(int column, int row);
    void DrawHotSpotOutline();
    bool IsBlinkOn() const { return m_blinkPhase; }
    void ToggleHotSpotBlink();
    void ToggleHide3DHotSpot();
    void ShowLabels(bool on);
    bool AreLabelsShown() const { return m_labelsShown; }
    void ToggleHexOutlines();
    void ToggleContours();
    bool AreHexOutlinesShown() const { return m_hexOutlines; }
    bool AreContoursShown() const { return m_contours; }
    bool IsBlinkEnabled() const { return m_blinkEnabled; }
    bool IsHide3DHotSpot() const { return m_hide3DHotSpot; }
    // Over a picture rectangle: the hex outlines, or the elevation contours
    // when those are on (they win).
    void DrawOutlinesAndContours(const platform::Rect& mapRect);
    void DrawHexOutline(platform::gfx::Canvas& canvas, int column, int row);
    // The compass, then the map's labels in list order; later layers add theirs.
    virtual void DrawLabels(platform::gfx::Canvas& canvas);
    void DrawMapLabel(platform::gfx::Canvas& canvas, const MapLabel& label);
    // Mode 1 only, and only for a view hex on the map.
    void DrawCompass(platform::gfx::Canvas& canvas, int column, int row);

    // ---- fonts ----
    // The four "Times Roman" bold fonts, cell heights 10, 14, 18 and 24.
    static constexpr int kLabelFontCount = 4;
    const platform::gfx::Font& GetFont(int index) const;
    // A map label's font: size + 1 (size in modes 2 and 4), held to 0..3.
    int GetLabelFontIndex(int size) const;
    // The view's label font of the mode (compass, pontoon labels): mode 0
    // the 24, mode 3 the 18, modes 1 and 4 the 14, mode 2 the 10.
    const platform::gfx::Font& GetViewLabelFont() const;

    // ---- clipping (3D: nothing of a hex shows through a higher one in front) ----
    // The highlight polygon's region, less the raised front.
    platform::gfx::Region GetHexClipRegion(int column, int row) const;
    // The hex picture's rectangle, less the raised front.
    platform::gfx::Region GetUnitPictureClipRegion(int column, int row) const;
    // Pushes the hex clip (replacing, or intersected with the current clip).
    void ClipToHex(int column, int row);
    void ClipToHexIntersect(int column, int row);
    void ClipToUnitPicture(int column, int row);
    // 3D: cuts out the skirt of each SW, S and SE neighbour that stands higher.
    void SubtractRaisedFront(int column, int row, platform::gfx::Region& region) const;
    void SubtractHexSkirt(platform::gfx::Region& region, int column, int row) const;
    // The neighbour of a view hex across a view side, as a view hex.
    bool GetViewNeighbour(int column, int row, HexSide viewSide, HexPos& viewHex) const;

    // The hex shading marker; plain: not the night form.
    void ShadeHex(int column, int row, bool plain);

    // ---- mark sprites and cells (full-size cell units) ----
    void DrawTerrainCell2D(int column, int row, int a, int b);
    void DrawBridgeCell3D(int column, int row, int a, int b);
    void DrawMarkSprite3D(int column, int row);
    void DrawOverlayRowSprite3D(int column, int row, int a);
    void DrawFlag10Sprite3D(int column, int row);
    void DrawFlag800Sprite3D(int column, int row);
    void DrawFlag20Sprite3D(int column, int row);
    void DrawFlag400Sprite3D(int column, int row);
    void DrawFlag2000Sprite3D(int column, int row);
    void DrawBlockSprites3D(int column, int row);
    // Adds the scaled offset of waterway piece k (0..25) to x and y.
    void GetWaterwayPieceOffset(int& x, int& y, int piece) const;

    // ---- the jump map's miniature samples ----
    // From the half-size soil and terrain sheets, taken at the centre of
    // the hex's half-size cell.
    void SampleMiniatureSoil(platform::gfx::Canvas& canvas, int column, int row, const platform::Rect& to);
    void SampleMiniatureTerrain(platform::gfx::Canvas& canvas, int column, int row, const platform::Rect& to);

    // The view's hex queries (view hexes); the display layer answers them.
    virtual bool HasHexFlag100(int /*column*/, int /*row*/) const { return false; }
    virtual bool HasHexFlag200(int /*column*/, int /*row*/) const { return false; }
    virtual bool HasShownHexFlag80(int /*column*/, int /*row*/) const { return false; }
    virtual int GetHexDamageVariant(int /*column*/, int /*row*/) { return -1; }
    virtual bool IsBridgeSideDamaged(int /*column*/, int /*row*/, HexSide /*side*/) const { return false; }
    virtual bool IsNight() const { return false; }
    // The jump map's cache, kept by the next layer.
    virtual void FreeJumpMapCache() { }

    // ---- 2D hex painters ----
    void PaintBaseCell2D(int column, int row);
    void PaintWaterCell2D(int column, int row, bool shallow);
    void PaintTerrainOverlay2D(int column, int row);
    void PaintOverlayAroundRoads2D(int column, int row);
    void PaintOverlay2D(int column, int row);
    void PaintHexsideLines2D(int column, int row);
    void PaintSideFeature2D(int column, int row, int layer, int sheetRow);
    static platform::Point GetSideFeatureCell2D(int sheetRow, unsigned sideValue);
    void PaintSlopeFeature2D(int column, int row, int layer, int sheetRow);
    void PaintCrossings2D(int column, int row);
    void PaintBridgeFeature2D(int column, int row, int layer);
    void PaintBridgeSide2D(int column, int row, int layer, HexSide side);
    void PaintLinearFeature2D(int column, int row, int layer, int joinLayer, const SheetSet& set);
    void PaintRoadBridgeOverWater2D(int column, int row);
    void PaintDamagedBridgeMarks2D(int column, int row);
    void PaintEdgePieces2D(int column, int row, const SheetSet& set, const std::array<bool, 6>& land);
    void PaintGrassEdges2D(int column, int row);
    void PaintWaterEdges2D(int column, int row);
    static bool IsLowOverlayTerrain(int terrain);

    // ---- 3D shading ----
    void ComputeElevationShading();
    int GetElevationShadingFactor() const { return m_shadingFactor; }
    int GetElevationShadingOffset() const { return m_shadingOffset; }

protected:
    platform::AssetFiles* Assets() const;
    // The neighbour's land test of the edge pieces, per view side.
    std::array<bool, 6> LandNeighbours(int column, int row) const;
    // The map hex of a view hex's neighbour across a view side.
    bool GetMapNeighbour(int column, int row, HexSide viewSide, HexPos& mapHex) const;

private:
    // The label step of the pipeline and of ShowLabels: a context in the
    // state a fresh one has (black pen, white brush), unclipped.
    void DrawLabelStep();
    // A 3D sprite cell of the terrain set at the hex, lifted.
    void DrawSprite3D(int column, int row, int sourceX, int sourceY);
    bool IsBuiltUp(int column, int row) const;
    bool IsViewHexOnMap(int column, int row) const;

    int PickRoadAwareCell(RoadSheet::AwareTable table, int column, int row) const;
    void LoadSet2D(Family family, std::string_view stem);
    void LoadSet3D(Family family, std::string_view stem);
    void ClearSet(Family family) { m_sets[family] = {}; }

    std::array<SheetSet, kFamilyCount> m_sets {};
    std::array<std::unique_ptr<platform::gfx::Font>, kLabelFontCount> m_fonts;
    std::map<std::string, std::shared_ptr<BitmapSurface>> m_pictures;
    bool m_labelsShown = false;
    bool m_hexOutlines = false;
    bool m_contours = false;
    bool m_blinkPhase = true;
    bool m_blinkEnabled = true;
    bool m_hide3DHotSpot = false;
    int m_shadingFactor = 12;
    int m_shadingOffset = 0;
    bool m_ready = true;
    bool m_sheetsLoaded = false;
    int m_terrainSheetLoads = 0;
    platform::Size m_rememberedClient {};
    HexPos m_hotSpot { 0, 0 };
    HexPos m_secondHex { 0, 0 };
    int m_themeIndex = -1;
    TerrainConditions m_conditions {};
};
