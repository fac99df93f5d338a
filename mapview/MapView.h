#pragma once
// The map view: the top of the chain of ten layers the frame creates once
// with the game object. Over what the layers below painted it draws the
// marked hex (the line-of-sight blocking hex), the fire trace's target and
// line, and the arrows of the move trail.

#include "mapview/EffectsView.h"
#include "platform/gfx/Canvas.h"

class CMapView : public CEffectsView {
public:
    // Cells of the view's icon sheet.
    static constexpr int kCellMarked2D = 10;
    static constexpr int kCellMarked3D = 21;
    static constexpr int kCellTraceTarget = 13;
    static constexpr int kCellFirstArrow = 15; // N; then NE, SE, S, SW, NW
    // The trace line's pen: orange, 2 pixels.
    static constexpr platform::gfx::Pixel kTraceColour = 0xF5A000;
    static constexpr int kTraceWidth = 2;

    explicit CMapView(CGame* game);
    ~CMapView() override = default;

    // The display layer's paint, then the markers and the move trail.
    void PaintRect(const platform::Rect& mapRect) override;
    // The marked hex (cell 10 in the 2D views, 21 in the others), and in the
    // 2D views the fire trace's target (cell 13) and line.
    void DrawMarkers();
    // The entry arrow of each hex the moves of this step passed, in the 2D
    // views, for the hexes the side to move can see.
    void DrawMoveTrail();
    // DrawMarkers, then presents the client when something is marked.
    void RefreshMarkers();
    // Map hexes: repaints the trace line's rectangle, when the line between
    // them is one that is drawn.
    void RepaintSpan(int column1, int row1, int column2, int row2);
    // View hexes: the trace line joins them (two hexes, the first on the
    // map with enemy contact exactly 1, a 2D view).
    bool ShouldDrawTraceLine(HexPos firer, HexPos target) const;

    const platform::gfx::Pen& GetTraceLinePen() const { return m_traceLinePen; }

private:
    static bool IsSet(HexPos hex) { return hex.column != -1 && hex.row != -1; }
    void DrawEntryArrow(HexPos mapHex);

    CGame* m_game;
    platform::gfx::Pen m_traceLinePen { kTraceColour, kTraceWidth };
};
