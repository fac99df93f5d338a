#include "mapview/DirectDrawWnd.h"

#include <algorithm>

#include "mapview/BitmapSurface.h"
#include "platform/gfx/Blit.h"

using platform::Point;
using platform::Rect;
using platform::Size;
using platform::gfx::Region;

namespace {
constexpr platform::gfx::Pixel kWhite = 0xFFFFFF;
}

CDirectDrawWnd::CDirectDrawWnd(int width, int height)
    : m_requestedWidth(width)
    , m_requestedHeight(height)
{
}

int CDirectDrawWnd::OnCreate()
{
    if (CScrollWnd::OnCreate() == -1)
        return -1;
    MakeBackBuffer();
    return 0;
}

Size CDirectDrawWnd::ClientSize() const { return Host() ? Host()->ClientSize() : Size {}; }

void CDirectDrawWnd::MakeBackBuffer()
{
    Size screen { 0, 0 };
    if (Host())
        screen = Host()->GetServices().screen.GetSize();
    const Size client = ClientSize();
    const int width = std::max(m_requestedWidth > 0 ? m_requestedWidth : screen.width, client.width);
    const int height = std::max(m_requestedHeight > 0 ? m_requestedHeight : screen.height, client.height);
    m_back = platform::gfx::Surface(width, height, kWhite);
}

void CDirectDrawWnd::OnSize(Size client)
{
    CScrollWnd::OnSize(client);
    if (client.width > m_back.Width() || client.height > m_back.Height()) {
        platform::gfx::Surface grown(
            std::max(client.width, m_back.Width()), std::max(client.height, m_back.Height()), kWhite);
        platform::gfx::Blit(grown, {}, m_back, m_back.Bounds());
        m_back = std::move(grown);
    }
}

void CDirectDrawWnd::ResizeBackBuffer(int width, int height)
{
    m_requestedWidth = width;
    m_requestedHeight = height;
    MakeBackBuffer();
}

void CDirectDrawWnd::PresentClient() { PresentRect(Rect::FromSize(ClientSize())); }

void CDirectDrawWnd::PresentRect(const Rect& client)
{
    if (!Host())
        return;
    const Rect r = client.Intersect(Rect::FromSize(ClientSize())).Intersect(m_back.Bounds());
    if (!r.IsEmpty())
        Host()->Present(m_back, r);
}

void CDirectDrawWnd::BlitFromSurface(
    const Rect& dst, const platform::gfx::Surface& src, const Rect& srcRect, bool keyed)
{
    const Point origin = ScrollOrigin();
    // The destination decides the size; a shorter source rectangle cuts it.
    const int width = std::min(dst.Width(), srcRect.Width());
    const int height = std::min(dst.Height(), srcRect.Height());
    if (width <= 0 || height <= 0)
        return;
    const Rect from { srcRect.left, srcRect.top, srcRect.left + width, srcRect.top + height };
    const Point at { dst.left - origin.x, dst.top - origin.y };
    if (m_blitClip && !m_blitClipRect) {
        platform::gfx::BlitOptions options;
        options.keyed = keyed;
        options.clip = &*m_blitClip;
        platform::gfx::Blit(m_back, at, src, from, options);
        return;
    }
    // Pictures are drawn from fixed cells of their sheets: the cell blit
    // keeps each cell's opaque pieces.
    platform::gfx::BlitCell(m_back, at, src, from, m_blitClipRect ? *m_blitClipRect : m_back.Bounds(), keyed);
}

void CDirectDrawWnd::DrawSurface(const Rect& dst, const BitmapSurface& src, Point srcPoint)
{
    if (!src.IsLoaded())
        return;
    BlitFromSurface(dst, src.Surface(), Rect::FromPointSize(srcPoint, dst.GetSize()), src.IsKeyed());
}

void CDirectDrawWnd::PushClipRegion(Region region, bool clipBlits)
{
    const Point origin = ScrollOrigin();
    region.Offset(-origin.x, -origin.y);
    m_clipRegions.push_back(std::move(region));
    ApplyBlitClip(clipBlits);
}

void CDirectDrawWnd::PushClipRegionIntersect(Region region, bool clipBlits)
{
    const Point origin = ScrollOrigin();
    region.Offset(-origin.x, -origin.y);
    if (!m_clipRegions.empty())
        region.And(m_clipRegions.back());
    m_clipRegions.push_back(std::move(region));
    ApplyBlitClip(clipBlits);
}

void CDirectDrawWnd::PopClipRegion(bool clipBlits)
{
    if (!m_clipRegions.empty())
        m_clipRegions.pop_back();
    ApplyBlitClip(clipBlits);
}

void CDirectDrawWnd::ApplyBlitClip(bool clipBlits)
{
    if (!clipBlits)
        return;
    m_blitClipRect.reset();
    if (m_clipRegions.empty()) {
        m_blitClip.reset();
        return;
    }
    m_blitClip = m_clipRegions.back();
    const auto& bands = m_blitClip->Bands();
    if (bands.size() == 1 && bands.front().spans.size() == 1)
        m_blitClipRect = m_blitClip->Bounds();
    else if (bands.empty())
        m_blitClipRect = Rect {};
}

platform::gfx::Canvas CDirectDrawWnd::GetSurfaceCanvas()
{
    platform::gfx::Canvas canvas(m_back);
    const Point origin = ScrollOrigin();
    canvas.SetOrigin({ -origin.x, -origin.y });
    if (!m_clipRegions.empty())
        canvas.SetClip(&m_clipRegions.back());
    return canvas;
}

void CDirectDrawWnd::ScrollPictureX(int dx)
{
    const Size c = ClientSize();
    if (dx == 0 || std::abs(dx) >= c.width)
        return;
    if (dx < 0)
        platform::gfx::Blit(m_back, { 0, 0 }, m_back, { -dx, 0, c.width, c.height });
    else
        platform::gfx::Blit(m_back, { dx, 0 }, m_back, { 0, 0, c.width - dx, c.height });
}

void CDirectDrawWnd::ScrollPictureY(int dy)
{
    const Size c = ClientSize();
    if (dy == 0 || std::abs(dy) >= c.height)
        return;
    if (dy < 0)
        platform::gfx::Blit(m_back, { 0, 0 }, m_back, { 0, -dy, c.width, c.height });
    else
        platform::gfx::Blit(m_back, { 0, dy }, m_back, { 0, 0, c.width, c.height - dy });
}

Rect CDirectDrawWnd::UncoveredStripX(int dx) const
{
    const Size c = ClientSize();
    Rect r = dx <= 0 ? Rect { c.width + dx, 0, c.width, c.height } : Rect { 0, 0, dx, c.height };
    r.left = std::clamp(r.left, 0, c.width);
    r.right = std::clamp(r.right, 0, c.width);
    return r;
}

Rect CDirectDrawWnd::UncoveredStripY(int dy) const
{
    const Size c = ClientSize();
    Rect r = dy <= 0 ? Rect { 0, c.height + dy, c.width, c.height } : Rect { 0, 0, c.width, dy };
    r.top = std::clamp(r.top, 0, c.height);
    r.bottom = std::clamp(r.bottom, 0, c.height);
    return r;
}

void CDirectDrawWnd::PresentScrolledStripX(int dx) { PresentRect(UncoveredStripX(dx)); }

void CDirectDrawWnd::PresentScrolledStripY(int dy) { PresentRect(UncoveredStripY(dy)); }
