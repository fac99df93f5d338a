#pragma once
// The display layer: what the Display menu switches on the map (units,
// markers on top, objectives, the three exclusive hex overlays, highlight
// modes, range rings, graphical and special icons), the hex queries the
// terrain painters ask, and the 2D unit counters with hex markers and
// objectives (DisplayView2D.cpp).

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "mapview/MouseView.h"
#include "model/Lists.h"
#include "rules/GameSupply.h"
#include "platform/gfx/Font.h"

class CGame;
class OrgNode;
class PlatoonType;
struct PlacedUnit;

class CDisplayView : public CMouseView {
public:
    // Highlight modes 0..13.
    enum HighlightMode : int {
        kHighlightNone = 0,
        kHighlightSpotted = 1,
        kHighlightFired = 2,
        kHighlightMoved = 3,
        kHighlightDisrupted = 4,
        kHighlightIndirectFire = 5,
        kHighlightFireRange = 6,
        kHighlightMineClearing = 7,
        kHighlightLeaders = 8,
        kHighlightHeadquarters = 9,
        kHighlightFixed = 10,
        kHighlightOrganisation = 11,
        kHighlightSupply = 12,
        kHighlightAntiAircraft = 13,
    };

    // Null shows an empty 1 by 1 map.
    explicit CDisplayView(CGame* game);
    ~CDisplayView() override;

    CGame* GetGame() const { return m_game; }

    // ---- Display menu and options ----
    void ToggleUnitsOff();
    void ToggleSpecialsOnTop();
    void ToggleObjectives();
    void ShowVisibleHexes(bool on);
    void ShowReachableHexes(bool on);
    void ShowCommandRange(bool on);
    // The hexes the selected units can reach (map hexes); a copy is kept.
    void SetReachableHexes(const HexList& hexes);
    const HexList& GetReachableHexes() const { return m_reachableHexes; }
    // The command range's request: a unit (copied: the view keeps it while
    // the battle changes under it) and its map hex.
    void SetCommandRangeHexes(const SupplyEntry& request);
    const SupplyEntry& GetCommandRangeRequest() const { return m_commandRange; }
    void SetHighlightMode(int mode);
    void HighlightOrganization(const OrgNode* node);
    void HighlightTargetsInRange(int rangeVsHard, int rangeVsSoft, int column, int row);
    void ClearTargetHighlight();
    // The range rings of a unit at a map hex: its longest ranges against
    // soft (blue) and hard (red) targets.
    void ShowRange(const PlacedUnit& unit, int column, int row);
    void ClearRange();
    void ToggleGraphicalIcons();
    void ToggleSpecialIcons();
    void SetAssaultMarker(bool on) { m_assaultMarker = on; }
    void AttachBattle(const TerrainConditions& conditions, bool redraw);
    void RedrawIfHighlightDependsOnState();

    bool AreUnitsShown() const { return m_showUnits; }
    bool AreObjectivesShown() const { return m_showObjectives; }
    bool AreSpecialsOnTop() const { return m_specialsOnTop; }
    bool AreGraphicalIcons() const { return m_graphicalIcons; }
    int GetHighlightMode() const { return m_highlightMode; }
    const OrgNode* GetHighlightNode() const { return m_highlightNode; }
    bool AreVisibleHexesShown() const { return m_showVisibleHexes; }
    bool AreReachableHexesShown() const { return m_showReachableHexes; }
    bool IsCommandRangeShown() const { return m_showCommandRange; }
    bool AreSpecialIcons() const { return m_specialIcons; }
    bool IsAssaultMarkerOn() const { return m_assaultMarker; }
    bool IsRangeShown() const { return m_showRange; }
    HexPos GetRangeCentre() const { return m_rangeCentre; }
    int GetRangeVsSoft() const { return m_rangeVsSoft; }
    int GetRangeVsHard() const { return m_rangeVsHard; }
    HexPos GetFireRangeHex() const { return m_fireRangeHex; }
    int GetFireRangeVsHard() const { return m_fireRangeVsHard; }
    int GetFireRangeVsSoft() const { return m_fireRangeVsSoft; }
    const platform::gfx::Font& GetLabelFont() const { return *m_labelFont; }
    // The last damage variant computed for a map hex; -1 when none.
    int GetStoredDamageVariant(int mapColumn, int mapRow) const;

    // The picture file of a platoon type's picture name (relative to the
    // working folder): a special picture by date, surface and theme when it
    // exists, else the theme's, else the plain name.
    std::string GetUnitPicturePath(const PlatoonType& type, std::string_view name) const;
    // Whether the active hex overlay shades a view hex.
    bool IsHexShadedByOverlay(int column, int row);
    // The two rings over a hex range (view hexes, bounds inclusive).
    void DrawRangeRings(int firstColumn, int firstRow, int columns, int rows);
    void DrawRangeRing(platform::gfx::Canvas& canvas, int firstColumn, int firstRow, int columns, int rows, int radius);
    // A pontoon bridge's label at a map hex.
    void DrawPontoonLabel(platform::gfx::Canvas& canvas, int mapColumn, int mapRow);

    // ---- the view's virtual operations ----
    void PaintRect(const platform::Rect& mapRect) override;
    bool HasHexFlag100(int column, int row) const override;
    bool HasHexFlag200(int column, int row) const override;
    bool HasShownHexFlag80(int column, int row) const override;
    int GetHexDamageVariant(int column, int row) override;
    void DrawLabels(platform::gfx::Canvas& canvas) override;
    bool IsBridgeSideDamaged(int column, int row, HexSide side) const override;
    bool IsNight() const override;
    // The 2D counters over a hex range (view hexes).
    virtual void DrawUnits(int firstColumn, int firstRow, int columns, int rows);

    // ---- the 2D counters (DisplayView2D.cpp) ----
    bool HexNeedsDrawing(int column, int row) const;
    // The highlight test of the current mode for one unit of a map hex.
    bool IsHexHighlightable(int mapColumn, int mapRow) const;
    bool IsUnitHighlighted(const PlacedUnit& unit, int mapColumn, int mapRow) const;
    // The marker cell of a map hex; -1 for none.
    int ChooseMarkerCell(int mapColumn, int mapRow) const;
    // An air strike or plotted fire on the map hex that the player may see.
    bool IsStrikeVisible(int mapColumn, int mapRow) const;
    // The text over an objective: its value, a penalty's value, or "?" for
    // a penalty of a side whose information is hidden.
    std::string ObjectiveText(int value, int nation) const;

protected:
    // The hex overlays after the units: shading by the active overlay.
    void DrawHexOverlay(int column, int row);
    // A cell of a sheet at the hex rectangle shifted by (dx, dy).
    void DrawIconCell(const BitmapSurface* sheet, int cell, int column, int row, int dx = 0, int dy = 0);

private:
    void DrawHexPass(int column, int row);
    void DrawPontoon(int column, int row);
    void DrawStack(int column, int row);
    void DrawObjective(int column, int row);
    // Base cells and picture offsets by nation.
    static int BaseCell(int nation);
    static int ContactCell(int nation);
    static int ObjectiveCell(int nation);
    static int PictureCell(int nation, int icon);
    bool IsSideHiddenHere(int side) const;
    bool InRange(int column, int row, int range) const;
    bool IsReachable(HexPos mapHex) const;

    bool m_showObjectives = false;
    bool m_graphicalIcons = true;
    bool m_showVisibleHexes = false;
    bool m_showReachableHexes = false;
    bool m_showCommandRange = false;
    int m_damageGridColumns = 0;
    std::vector<std::vector<int>> m_damageGrid;
    HexList m_reachableHexes;
    // The same hexes sorted, for the overlay's lookups.
    std::vector<HexPos> m_reachableSorted;
    SupplyEntry m_commandRange {};
    std::unique_ptr<UnitNode> m_commandRangeUnit;
    bool m_specialIcons = true;
    bool m_showRange = false;
    HexPos m_rangeCentre { -1, -1 };
    int m_rangeVsSoft = 0;
    int m_rangeVsHard = 0;
    CGame* m_game;
    bool m_showUnits = true;
    int m_highlightMode = kHighlightNone;
    bool m_specialsOnTop = false;
    int m_fireRangeVsHard = 0;
    int m_fireRangeVsSoft = 0;
    HexPos m_fireRangeHex { -1, -1 };
    const OrgNode* m_highlightNode = nullptr;
    std::unique_ptr<platform::gfx::Font> m_labelFont;
    bool m_assaultMarker = false;
};
