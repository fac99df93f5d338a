#include "mapview/BitmapSurface.h"

#include "mapview/DirectDrawWnd.h"
#include "platform/gfx/Blit.h"
#include "platform/gfx/Bmp.h"

BitmapSurface::BitmapSurface(platform::AssetFiles& assets, std::string_view path)
{
    const auto resolved = assets.Resolve(path);
    if (!resolved || platform::gfx::ReadBmpFile(*resolved, m_surface) != platform::gfx::BmpError::None) {
        m_surface = {};
        assets.ReportFailure(path, kLoadFailureText + std::string(path), kCaption);
    }
}

BitmapSurface::BitmapSurface(const BitmapSurface& source, int num, int den)
{
    if (den <= 0 || !source.IsLoaded())
        return;
    const int width = num * source.Width() / den;
    const int height = num * source.Height() / den;
    if (width <= 0 || height <= 0)
        return;
    m_surface = platform::gfx::Surface(width, height);
    platform::gfx::StretchBlit(m_surface, m_surface.Bounds(), source.m_surface, source.m_surface.Bounds());
    if (source.IsKeyed())
        m_surface.SetKeyFromCorner();
}

bool BitmapSurface::SetColorKeyFromCorner()
{
    if (!IsLoaded())
        return false;
    m_surface.SetKeyFromCorner();
    return true;
}

void BitmapSurface::Draw(const platform::Rect& dst, CDirectDrawWnd& window, const platform::Rect& src) const
{
    window.DrawSurface(dst, *this, src.TopLeft());
}
