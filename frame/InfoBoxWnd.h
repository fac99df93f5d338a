#pragma once
// The panel beside the map that describes the current hex: one picture panel
// for each listed unit of the hex, then the hex's own description. It holds
// the player's unit selection for that hex: entry i of its unit list is the
// unit at stack position i + 1, listed or not; orders read at most 128
// selected entries.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "ai/Game.h"
#include "mapview/BitmapSurface.h"
#include "mapview/DirectDrawWnd.h"
#include "model/Callback.h"
#include "platform/gfx/Font.h"

class CMapView;

class CInfoBoxWnd : public CDirectDrawWnd {
public:
    static constexpr int kMaxSelectionRead = 128;
    static constexpr int kNations = 29;
    static constexpr int kBarWidth = 100;
    static constexpr int kBarHeight = 10;
    // Without its picture a panel keeps this size, so the box still works.
    static constexpr int kDefaultPanelWidth = 188;
    static constexpr int kDefaultPanelHeight = 168;

    enum BarMode : int { kBarAction = 0, kBarStrength = 1, kBarMorale = 2 };

    // One entry of the hidden list: the unit's full name and its selection.
    struct Entry {
        std::string name;
        bool selected = false;
    };

    CInfoBoxWnd(CGame* game, CMapView* view);
    ~CInfoBoxWnd() override;

    int OnCreate() override;
    void OnSize(platform::Size client) override;
    void OnMouse(const platform::MouseEvent& event) override;

    void SetSelectionCallback(std::unique_ptr<CCallback> callback) { m_onSelection = std::move(callback); }
    void SetBarModeCallback(std::unique_ptr<CCallback> callback) { m_onBarMode = std::move(callback); }
    void SetCampaignForceId(int id) { m_campaignForceId = id; }

    // The hex with the given list entries selected; scroll back to the top.
    void SetHex(int column, int row, const std::vector<int>& selected = {});
    void SetHexAndSelectUnit(int column, int row, int index, bool select);
    // The entry and the units linked to it (a carrier's passenger below it,
    // a passenger's carrier above it) take the state.
    void SelectUnit(int index, bool select);
    void SelectAll();
    void SaveSelection();
    void RestoreSelection();
    void Refresh();

    HexPos GetHex() const { return { m_column, m_row }; }
    const std::vector<Entry>& Entries() const { return m_entries; }
    // The selected entries in list order, at most 128, as orders read them.
    std::vector<int> GetSelectedIndices() const;
    int GetScroll() const { return m_scroll; }
    int GetBarMode() const { return m_barMode; }
    bool IsRightButtonHeld() const { return m_rightHeld; }
    int PanelWidth() const { return m_panelWidth; }
    int PanelHeight() const { return m_panelHeight; }
    int GetRequiredWidth() const;

    // Whether the unit of the shown hex gets a panel.
    bool IsUnitListed(const UnitNode* node) const;
    // The list entry whose panel lies under a client point, with the panel's
    // top; -1 when none.
    int PanelAt(int y, int* panelTop = nullptr) const;
    // One unit's panel at (x, y) on a surface; y moves down by the panel height.
    void DrawUnitPanel(
        platform::gfx::Surface& target, const UnitNode* node, int column, int row, bool selected, int x, int& y);
    // The panel of the unit at stack position index + 1 of a hex.
    void DrawStackUnitPanel(platform::gfx::Surface& target, int index, int column, int row, int x, int y);
    // The description's lines, in order (even lines left, odd lines right).
    std::vector<std::string> DescribeHex() const;
    // The text shown for a unit's number field ("?" and "??" when hidden).
    struct PanelTexts {
        std::string name, strength, action, fire, morale, defense, assault, bar;
    };
    PanelTexts DescribeUnit(const PlacedUnit& unit, int column, int row) const;
    // The status marks (left column) and capability marks (right column).
    std::vector<int> StatusMarks(const PlacedUnit& unit, int column, int row) const;
    std::vector<int> CapabilityMarks(const PlacedUnit& unit) const;

private:
    const UnitNode* NodeAt(int index) const;
    const UnitList* Stack() const;
    void FillList();
    void NotifySelection();
    void Paint(platform::gfx::Surface& target);
    void DrawHexDescription(platform::gfx::Canvas& canvas, int x, int y);
    void DrawMark(platform::gfx::Canvas& canvas, int side, int cell, platform::Point centre);
    void DrawSheetCell(
        platform::gfx::Canvas& canvas, const BitmapSurface* sheet, int cell, int cellSize, platform::Point topLeft);
    std::string PairText(const int values[2]) const;
    bool IsHidden(int side) const;
    bool IsFogged(int side) const;

    CGame* m_game;
    CMapView* m_view;
    int m_column = 0;
    int m_row = 0;
    int m_scroll = 0;
    platform::Point m_dragAnchor { -1, -1 };
    std::vector<Entry> m_entries;
    std::unique_ptr<CCallback> m_onSelection;
    std::unique_ptr<CCallback> m_onBarMode;
    std::unique_ptr<BitmapSurface> m_panelSheet;
    std::unique_ptr<BitmapSurface> m_backdrop;
    std::array<std::unique_ptr<BitmapSurface>, kNations> m_leaderSheets;
    std::array<std::unique_ptr<BitmapSurface>, kNations> m_campaignLeaderSheets;
    std::unique_ptr<platform::gfx::Font> m_nameFont;
    std::unique_ptr<platform::gfx::Font> m_numberFont;
    std::unique_ptr<platform::gfx::Font> m_hexFont;
    bool m_rightHeld = false;
    int m_barMode = kBarAction;
    // Matched only against the nodes of the hex as it is: never read.
    std::vector<const UnitNode*> m_savedSelection;
    int m_campaignForceId = -1;
    int m_panelWidth = kDefaultPanelWidth;
    int m_panelHeight = kDefaultPanelHeight;
};
