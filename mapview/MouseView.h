#pragma once
// The mouse layer: turns mouse events into view hexes and hands them to the
// frame through callbacks, and owns the unit icon sheets: one per view mode
// and, for nations 2 to 28, one set per nation loaded on first use.

#include <array>
#include <memory>

#include "mapview/JumpMapView.h"
#include "model/Callback.h"

class CMouseView : public CJumpMapView {
public:
    static constexpr int kFirstNationSheet = 2;
    static constexpr int kLastNationSheet = 28;

    // The frame's callbacks, in slot order.
    enum CallbackSlot : int {
        kLeftDown,
        kLeftDouble,
        kRightDown,
        kRightDownAlt,
        kDragRelease,
        kHoverChange,
        kCursorFollowChange,
        kCallbackCount
    };

    explicit CMouseView(const HexMap* map);
    ~CMouseView() override = default;

    int OnCreate() override;
    void OnMouse(const platform::MouseEvent& event) override;

    void LoadIconSheets();
    // The icon sheet of the current view mode (mode 1: the terrain layer's).
    const BitmapSurface* GetIconSheet() const;
    // A nation's own sheet for the current mode (loaded on first use), or
    // the shared one for nations outside 2..28.
    const BitmapSurface* GetNationIconSheet(int nation);
    void LoadNationSheets(int nation);

    void SetCallback(CallbackSlot slot, std::unique_ptr<CCallback> callback);
    // The last hit hex (view hex) and stack index; -1 until there is one.
    HexPos GetLastHitHex() const { return m_lastHit; }
    int GetLastStackIndex() const { return m_lastStackIndex; }
    void SetHoverTracking(bool on);

    // Repaints a map hex and each of its neighbours that exists.
    void RepaintHexAndNeighbours(int mapColumn, int mapRow);

private:
    void Invoke(CallbackSlot slot);
    void HoverStep(platform::Point client);

    // Modes 2, 0, 3, 4 (mode 1 uses the terrain layer's sheet).
    std::array<std::shared_ptr<BitmapSurface>, 5> m_viewSheets {};
    struct NationSheets {
        std::shared_ptr<BitmapSurface> icons2d, icons1d, bases3d, bases4d, bases5d;
    };
    std::array<NationSheets, kLastNationSheet + 1> m_nations {};
    std::array<std::unique_ptr<CCallback>, kCallbackCount> m_callbacks {};
    bool m_buttonDown = false;
    bool m_hoverTracking = false;
    HexPos m_lastHit { -1, -1 };
    int m_lastStackIndex = -1;
    int m_hoverStackIndex = -1;
};
