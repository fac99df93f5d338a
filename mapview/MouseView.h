#pragma once
// The mouse layer: turns mouse events into view hexes and hands them to the
// frame through callbacks, keeps the hex and unit under the pointer for the
// hover and cursor-follow feedback, scrolls a hex into view, repaints lists
// of hexes, and copies the map under another window into it. It owns the
// unit icon sheets (one per view mode and, for nations 2 to 28, one set per
// nation loaded on first use) and the effect sprites at three scales.

#include <array>
#include <memory>
#include <string_view>

#include "mapview/JumpMapView.h"
#include "mapview/graphics/MaskedBitmap.h"
#include "model/Callback.h"
#include "model/Lists.h"
#include "platform/gfx/Canvas.h"

class CMouseView : public CJumpMapView {
public:
    static constexpr int kFirstNationSheet = 2;
    static constexpr int kLastNationSheet = 28;
    static constexpr platform::gfx::Pixel kUnderDialogGrey = 0x808080;

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

    // ---- pictures ----
    // The four view sheets, then the effect sprites at full, half and
    // quarter size.
    void LoadIconSheets();
    // The icon sheet of the current view mode (mode 1: the terrain layer's).
    const BitmapSurface* GetIconSheet() const;
    // A nation's own sheet for the current mode (loaded on first use), or
    // the view's sheet for nations outside 2..28.
    const BitmapSurface* GetNationIconSheet(int nation);
    // A nation's 2D icons as a masked picture, or the shared one.
    const CMaskedBitmap* GetNationIconBitmap(int nation);
    void LoadNationSheets(int nation);
    // The sprite at the view's scale: half in mode 3, quarter in mode 4.
    const CMaskedBitmap* GetAnimateSprite() const { return SpriteOfMode(m_animateSprites); }
    const CMaskedBitmap* GetFiringSprite() const { return SpriteOfMode(m_firingSprites); }
    const platform::gfx::Brush& GetBlackBrush() const { return m_blackBrush; }

    // ---- options the frame keeps ----
    bool m_beepOnError = true;
    bool m_smoothScroll = true;

    // ---- the mouse ----
    void SetCallback(CallbackSlot slot, std::unique_ptr<CCallback> callback);
    // The last hit hex (view hex) and its stack index; -1 until there is one.
    HexPos GetLastHitHex() const { return m_lastHit; }
    int GetLastStackIndex() const { return m_lastStackIndex; }
    int GetHoverStackIndex() const { return m_hoverStackIndex; }
    // The hex (view hex) and unit under the pointer while cursor follow is on.
    HexPos GetCursorFollowHex() const { return m_followHex; }
    int GetCursorFollowStackIndex() const { return m_followStackIndex; }
    bool IsCursorFollowOn() const { return m_cursorFollow; }
    bool IsHoverTrackingOn() const { return m_hoverTracking; }
    bool IsButtonDown() const { return m_buttonDown; }
    // Switching it on forgets the last hit hex and looks under the pointer.
    void SetHoverTracking(bool on);
    // On: follows the pointer at once. Clearing forgets the followed hex.
    void ToggleCursorFollow();
    void ClearCursorFollow();

    // ---- scrolling and repainting ----
    // The new mode with the hot spot in the centre, the whole client shown.
    void SetViewModeKeepingHotSpot(int mode);
    // Centres the hex under the picture point and makes it the hot spot;
    // returns it as a map hex.
    HexPos CentreOnPoint(platform::Point mapPoint) override;
    // Map hex / view hex. Centred, or moved the least that brings it into
    // the middle half of the view; column by column and row by row with
    // smooth scrolling, else in one jump.
    void ScrollHexIntoView(int mapColumn, int mapRow, bool centre);
    void ScrollViewHexIntoView(int column, int row, bool centre);
    // The map hex lies in the middle half of the view (at its centre hex).
    bool IsHexInCentralView(int mapColumn, int mapRow, bool exactCentre) const;
    // Repaints each listed map hex that is on the map.
    void RepaintHexList(const HexList& hexes);
    // Repaints a map hex and each of its neighbours that exists.
    void RepaintHexAndNeighbours(int mapColumn, int mapRow);

    // ---- the map under another window ----
    // The part of this view's client that another window covers, copied from
    // the back buffer into the other's back buffer at its place there.
    void DrawMapUnderWindow(CDirectDrawWnd& other);
    // A painted dialog: its whole client (the canvas's surface, at
    // `dialogClientOnScreen`) grey, then the covered part of the map.
    void DrawMapUnderDialog(platform::gfx::Canvas& canvas, const platform::Rect& dialogClientOnScreen);

private:
    void Invoke(CallbackSlot slot);
    void HoverStep(platform::Point client);
    void CursorFollowStep(platform::Point client);
    // The pointer in client coordinates, from the screen.
    platform::Point PointerInClient() const;
    platform::Rect ClientOnScreen() const;
    std::shared_ptr<CMaskedBitmap> LoadMaskedImage(std::string_view name);
    using SpriteScales = std::array<std::shared_ptr<CMaskedBitmap>, 3>;
    void LoadSpriteScales(SpriteScales& scales, std::string_view name);
    const CMaskedBitmap* SpriteOfMode(const SpriteScales& scales) const;

    // Modes 2, 0, 3, 4 (mode 1 uses the terrain layer's sheet).
    std::array<std::shared_ptr<BitmapSurface>, 5> m_viewSheets {};
    SpriteScales m_animateSprites {};
    SpriteScales m_firingSprites {};
    std::shared_ptr<CMaskedBitmap> m_sharedIconBitmap;
    struct NationSheets {
        std::shared_ptr<BitmapSurface> icons2d, icons1d, bases3d, bases4d, bases5d;
        std::shared_ptr<CMaskedBitmap> icons2dBitmap;
    };
    std::array<NationSheets, kLastNationSheet + 1> m_nations {};
    platform::gfx::Brush m_blackBrush { 0x000000 };
    std::array<std::unique_ptr<CCallback>, kCallbackCount> m_callbacks {};
    bool m_buttonDown = false;
    bool m_cursorFollow = false;
    bool m_hoverTracking = false;
    HexPos m_lastHit { -1, -1 };
    int m_lastStackIndex = -1;
    int m_hoverStackIndex = -1;
    HexPos m_followHex { -1, -1 };
    int m_followStackIndex = -1;
};
