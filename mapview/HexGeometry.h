#pragma once
// How the hex map is laid out in pixels in each of the five view modes, and
// the 180-degree turn of the whole map. Every drawing layer, the mouse layer,
// the art tool and the renderer place things only through these operations.
//
// Two kinds of hex coordinates: a map hex as HexMap stores it, and a view hex
// as shown, which differs only while the map is turned. Every operation here
// takes view hexes and looks elevations up at the corresponding map hex.

#include <array>

#include "model/HexMap.h"
#include "platform/core/Point.h"

// View modes: 0 3D normal, 1 2D normal (the start), 2 2D zoom-out, 3 3D
// zoom-out, 4 3D extreme zoom-out. Any other value measures as mode 1 and is
// neither 2D nor 3D.
inline constexpr int kViewMode3DNormal = 0;
inline constexpr int kViewMode2DNormal = 1;
inline constexpr int kViewMode2DZoomOut = 2;
inline constexpr int kViewMode3DZoomOut = 3;
inline constexpr int kViewMode3DExtreme = 4;

struct ViewModeMetrics {
    const char* menuText;
    int columnPitch; // CP
    int halfColumn; // HC
    int topEdgeHalf; // Q
    int rowPitch; // RP
    int halfRow; // HR
    int liftPerLevel; // L
    int contourShiftX;
    int contourShiftY;
};

// The stated values of a mode (they are not computed from each other).
const ViewModeMetrics& MetricsOfViewMode(int mode);
inline bool Is3DViewMode(int mode) { return mode == 0 || mode == 3 || mode == 4; }
inline bool Is2DViewMode(int mode) { return mode == 1 || mode == 2; }

class HexGeometry {
public:
    using Point = platform::Point;

    explicit HexGeometry(const HexMap* map = nullptr)
        : m_map(map)
    {
    }

    // Not owned; null measures as a 1 by 1 map at level 0.
    void SetMap(const HexMap* map) { m_map = map; }
    const HexMap* GetMap() const { return m_map; }
    int GetMapWidth() const { return m_map ? m_map->GetWidth() : 1; }
    int GetMapHeight() const { return m_map ? m_map->GetHeight() : 1; }

    int GetViewMode() const { return m_viewMode; }
    void SetViewMode(int mode) { m_viewMode = mode; }
    bool Is3D() const { return Is3DViewMode(m_viewMode); }
    bool Is2D() const { return Is2DViewMode(m_viewMode); }
    bool IsRotated() const { return m_rotated; }
    void SetRotated(bool rotated) { m_rotated = rotated; }

    const ViewModeMetrics& Metrics() const { return MetricsOfViewMode(m_viewMode); }
    int GetColumnPitch() const { return Metrics().columnPitch; }
    int GetHalfColumn() const { return Metrics().halfColumn; }
    int GetTopEdgeHalf() const { return Metrics().topEdgeHalf; }
    int GetRowPitch() const { return Metrics().rowPitch; }
    int GetHalfRow() const { return Metrics().halfRow; }
    int GetLiftPerLevel() const { return Metrics().liftPerLevel; }
    int GetContourShiftX() const { return Metrics().contourShiftX; }
    int GetContourShiftY() const { return Metrics().contourShiftY; }
    // The half row, plus a row pitch in 3D.
    int GetTopMargin() const;
    int GetHexPictureWidth() const { return 2 * GetColumnPitch() - 2 * GetTopEdgeHalf(); }
    int GetSkirtDepth() const { return 4 * GetLiftPerLevel(); }
    int GetHexPictureHeight() const { return GetRowPitch() + GetSkirtDepth(); }
    int GetMapPixelWidth() const { return GetColumnPitch() * (GetMapWidth() + 1); }
    int GetMapPixelHeight() const { return GetRowPitch() * (GetMapHeight() + 1) + GetTopMargin(); }

    // The elevation level of the map hex under a view hex; 0 off the map.
    int GetViewElevation(int column, int row) const;

    int GetHexCentreX(int column, int row) const;
    int GetHexCentreY(int column, int row) const;
    Point GetHexCentre(int column, int row) const { return { GetHexCentreX(column, row), GetHexCentreY(column, row) }; }
    // Fractional positions of the map labels (already turned to the view).
    int GetLabelX(double fx) const;
    int GetLabelY(double fx, double fy) const;

    // Picture pixel (scroll offset added) to view hex, always on the map.
    HexPos PointToHex(int x, int y) const;
    // The hexes a picture rectangle touches, widened by one on each side.
    struct HexRange {
        int firstColumn = 0;
        int firstRow = 0;
        int columns = 0;
        int rows = 0;
    };
    HexRange RectToHexRange(int x, int y, int width, int height) const;
    // Whole columns and rows a client area shows, clamped to the map.
    void GetVisibleHexes(int clientWidth, int clientHeight, int& columns, int& rows) const;

    // Outlines in picture pixels.
    std::array<Point, 7> GetHexPolygon(int column, int row) const;
    std::array<Point, 9> GetHexSkirtPolygon(int column, int row) const;
    // The hexagon in 3D (7 points), a closed square in 2D (5); returns the count.
    int GetHighlightPolygon(std::array<Point, 7>& points, int column, int row) const;
    // The same moved one pixel inward.
    int GetInnerHighlightPolygon(std::array<Point, 7>& points, int column, int row) const;
    // Six points, not closed; all at the centre in 2D.
    std::array<Point, 6> GetUnitBasePolygon(int column, int row) const;
    // The S side of the hex. lowerBelow: the S neighbour exists and stands
    // lower. True at the map's bottom edge, or in 3D above a lower neighbour.
    bool GetBottomEdge(Point& from, Point& to, bool& lowerBelow, int column, int row) const;
    // The polyline along which contours and outlines run (at most 9 points);
    // flags[i] is set when segment i..i+1 borders a lower neighbour (in 2D:
    // any neighbour of another level). Returns the point count.
    int GetContourOutline(std::array<Point, 9>& points, std::array<bool, 9>& flags, int column, int row) const;

    // The 180-degree turn. Each of these is its own inverse.
    HexPos RotateHex(int column, int row) const;
    HexPos RotateHex(HexPos hex) const { return RotateHex(hex.column, hex.row); }
    void RotateLabelPos(double& fx, double& fy) const;
    int RotateAlignment(int alignment) const;
    std::uint32_t RotateSideBit(std::uint32_t bit) const;
    HexSide RotateHexSide(HexSide side) const;
    HexSideSet RotateHexSideSet(HexSideSet set) const;
    // A map of odd width (other than 1) cannot be turned: odd columns must
    // keep standing half a row higher.
    bool CanRotate() const;

private:
    // The neighbour of a view hex across a view side, as a map hex.
    bool GetMapNeighbour(int column, int row, std::uint32_t viewSide, HexPos& mapHex) const;

    const HexMap* m_map = nullptr;
    int m_viewMode = kViewMode2DNormal;
    bool m_rotated = false;
};
