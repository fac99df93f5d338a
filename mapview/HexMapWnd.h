#pragma once
// The layer of the map view that knows how the hex map lies on screen: the
// view mode, the half turn of the map, and every conversion between hexes and
// pixels (HexGeometry), with the scroll ranges in whole columns and rows.

#include "mapview/DirectDrawWnd.h"
#include "mapview/HexGeometry.h"

class CHexMapWnd : public CDirectDrawWnd {
public:
    // Not owned; null shows a 1 by 1 map.
    explicit CHexMapWnd(const HexMap* map);
    ~CHexMapWnd() override = default;

    const HexGeometry& Geometry() const { return m_geometry; }
    const HexMap* GetMap() const { return m_geometry.GetMap(); }
    void SetMap(const HexMap* map) { m_geometry.SetMap(map); }

    int GetViewMode() const { return m_geometry.GetViewMode(); }
    bool Is3D() const { return m_geometry.Is3D(); }
    bool Is2D() const { return m_geometry.Is2D(); }
    bool IsRotated() const { return m_geometry.IsRotated(); }

    int GetScrollPixelX() const { return ScrollOrigin().x; }
    int GetScrollPixelY() const { return ScrollOrigin().y; }

    // Whole columns and rows the client shows.
    void GetVisibleHexes(int& columns, int& rows) const;
    void UpdateScrollRanges();
    void SetViewMode(int mode);
    // Stores the mode and scrolls so that the view hex stands in the centre;
    // the caller repaints.
    void SetViewModeCentred(int mode, int column, int row);
    // Turns the map by 180 degrees keeping the view hex centred; refused
    // (false, nothing changed) for a map of odd width other than 1.
    bool ToggleRotation(int centreColumn, int centreRow);

    HexPos RotateHex(int column, int row) const { return m_geometry.RotateHex(column, row); }
    HexPos RotateHex(HexPos hex) const { return m_geometry.RotateHex(hex); }

    // Client pixel to view hex; stackIndex -1 (the 3D layers fill it in).
    virtual HexPos HitTest(int x, int y, int& stackIndex) const;

private:
    HexGeometry m_geometry;
};
