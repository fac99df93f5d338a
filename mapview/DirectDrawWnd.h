#pragma once
// The drawing window: every layer draws into an off-screen back buffer in
// picture coordinates (the scrolled coordinates of the whole picture), and
// the window shows changed rectangles of it by presenting them to its host.
// Painting never draws; it only shows the back buffer. A stack of clip
// regions limits blits and canvas drawing.

#include <optional>
#include <vector>

#include "mapview/ScrollWnd.h"
#include "platform/core/Rect.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Region.h"
#include "platform/gfx/Surface.h"

class BitmapSurface;

class CDirectDrawWnd : public CScrollWnd {
public:
    // A back buffer of the given size; 0 means the screen's extent. It is
    // never smaller than the client and grows when the client does.
    explicit CDirectDrawWnd(int width = 0, int height = 0);
    ~CDirectDrawWnd() override = default;

    int OnCreate() override;
    void OnSize(platform::Size client) override;

    // New requested size (0: the screen's extent); the picture is lost.
    void ResizeBackBuffer(int width, int height);
    const platform::gfx::Surface& BackBuffer() const { return m_back; }
    platform::gfx::Surface& BackBuffer() { return m_back; }

    // The picture point shown at client (0, 0).
    platform::Point ScrollOrigin() const { return { GetHPos() * GetHStep(), GetVPos() * GetVStep() }; }

    void PresentClient();
    // Client coordinates, clamped to the client and the buffer.
    void PresentRect(const platform::Rect& client);

    // Copies src's srcRect to dst (picture coordinates; the source clipped to
    // its surface, the result to the buffer and the blit clip region).
    void BlitFromSurface(
        const platform::Rect& dst, const platform::gfx::Surface& src, const platform::Rect& srcRect, bool keyed);
    // The source rectangle of dst's size at srcPoint, keyed when the picture is.
    void DrawSurface(const platform::Rect& dst, const BitmapSurface& src, platform::Point srcPoint);

    // Regions in picture coordinates. Push replaces, push-intersect ANDs with
    // the top; with clipBlits the new top (or none) also clips blits.
    void PushClipRegion(platform::gfx::Region region, bool clipBlits);
    void PushClipRegionIntersect(platform::gfx::Region region, bool clipBlits);
    void PopClipRegion(bool clipBlits);
    int ClipDepth() const { return static_cast<int>(m_clipRegions.size()); }

    // A canvas on the back buffer drawing in picture coordinates, clipped to
    // the top clip region.
    platform::gfx::Canvas GetSurfaceCanvas();

    void ScrollPictureX(int dx) override;
    void ScrollPictureY(int dy) override;
    void PresentScrolledStripX(int dx) override;
    void PresentScrolledStripY(int dy) override;

protected:
    // The strip a scroll by (dx, dy) uncovers, in client coordinates; the
    // whole client when the scroll is as large as the client.
    platform::Rect UncoveredStripX(int dx) const;
    platform::Rect UncoveredStripY(int dy) const;
    platform::Size ClientSize() const;

private:
    void MakeBackBuffer();
    void ApplyBlitClip(bool clipBlits);

    int m_requestedWidth;
    int m_requestedHeight;
    platform::gfx::Surface m_back;
    std::vector<platform::gfx::Region> m_clipRegions;
    std::optional<platform::gfx::Region> m_blitClip;
    // The blit clip when it is one rectangle: blits then clip by arithmetic.
    std::optional<platform::Rect> m_blitClipRect;
};
