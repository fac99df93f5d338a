#include "mapview/graphics/MaskedBitmap.h"

#include "platform/gfx/Blit.h"

using namespace platform;
using namespace platform::gfx;

namespace {
// The largest picture side the reader accepts; no copy grows past it.
constexpr long long kMaxSide = 16384;
}

CMaskedBitmap::CMaskedBitmap(const DibFile& dib)
    : CMaskedBitmap(dib.Picture())
{
}

CMaskedBitmap::CMaskedBitmap(const DibFile& dib, Pixel transparent)
    : m_image(dib.Picture())
    , m_transparent(transparent)
{
    MakeMask();
}

CMaskedBitmap::CMaskedBitmap(Surface image)
    : m_image(std::move(image))
    , m_transparent(m_image.GetPixel(0, 0))
{
    MakeMask();
}

CMaskedBitmap::CMaskedBitmap(const CMaskedBitmap& source, int num, int den)
    : m_transparent(source.m_transparent)
{
    if (den < 1 || num < 1)
        return;
    const long long width = (long long)num * source.Width() / den;
    const long long height = (long long)num * source.Height() / den;
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return;
    m_image.Reset(int(width), int(height));
    StretchBlit(m_image, m_image.Bounds(), source.m_image, source.m_image.Bounds());
    // The mask is stretched the same way, not rebuilt from the new picture.
    m_mask = MonoMask(int(width), int(height), false);
    for (int y = 0; y < int(height); ++y) {
        const int sy = int((long long)y * source.Height() / height);
        for (int x = 0; x < int(width); ++x)
            m_mask.SetTransparent(x, y, source.m_mask.IsTransparent(int((long long)x * source.Width() / width), sy));
    }
}

void CMaskedBitmap::MakeMask()
{
    m_mask = MonoMask(m_image.Width(), m_image.Height(), false);
    for (int y = 0; y < m_image.Height(); ++y) {
        const Pixel* row = m_image.Row(y);
        for (int x = 0; x < m_image.Width(); ++x)
            m_mask.SetTransparent(x, y, SameColour(row[x], m_transparent));
    }
}

void CMaskedBitmap::DrawTransparent(Canvas& dst, const Rect& dstRect, Point from) const
{
    if (dstRect.IsEmpty() || IsEmpty())
        return;
    dst.MaskedDraw(dstRect.TopLeft(), dstRect.GetSize(), m_image, from, m_mask, from);
}
