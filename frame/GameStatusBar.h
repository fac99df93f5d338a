#pragma once
// The status bar's face: the nations of the side to move, the turn with its
// gauge and the turn count, a per-side value, the starshells left at night,
// the first pane's text, the control icon and the coordinates pane. The
// frame sets the values; every change repaints the whole bar.

#include <memory>
#include <string>

#include "mapview/DirectDrawWnd.h"
#include "mapview/graphics/BarGauge.h"
#include "platform/gfx/Font.h"

class CMouseView;

class CGameStatusBar : public CDirectDrawWnd {
public:
    static constexpr int kHeight = 36;
    static constexpr int kCoordinatesWidth = 50;
    // Control icons: 1 local control ... 4 remote control; sheet cells.
    static constexpr int kControlCells[5] = { 0, 324, 326, 330, 328 };

    explicit CGameStatusBar(CMouseView* view);
    ~CGameStatusBar() override;

    int OnCreate() override;
    void OnSize(platform::Size client) override;

    struct Values {
        int nations[2] = { -1, -1 };
        int currentTurn = 0;
        int turnCount = 0;
        int sideValue = 0; // -1: hidden
        int starshells = 0; // -1: hidden
        bool night = false;
        friend bool operator==(const Values&, const Values&) = default;
    };
    void SetValues(const Values& values);
    const Values& GetValues() const { return m_values; }
    // Pane 0 (the message) and pane 1 (the coordinates).
    void SetPaneText(int pane, const std::string& text);
    const std::string& GetPaneText(int pane) const { return m_panes[pane == 0 ? 0 : 1]; }
    // The special modes' control indicator (0 none, 1-4).
    void SetControlIcon(int code);
    int GetControlIcon() const { return m_controlIcon; }

    void Paint();
    // The gauge's fill in percent: current of count, 0 when there are no turns.
    int GaugePercent() const;

private:
    void DrawSheetCell(int nation, int cell, platform::Point at);
    void DrawCentredText(platform::gfx::Canvas& canvas, int x, int middle, const std::string& text,
        platform::gfx::Pixel colour, platform::gfx::HAlign align = platform::gfx::HAlign::Centre);

    CMouseView* m_view;
    Values m_values;
    std::string m_panes[2];
    int m_controlIcon = 0;
    BarGauge m_gauge { { 89, 8 } };
    std::unique_ptr<platform::gfx::Font> m_font;
};
