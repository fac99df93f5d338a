#pragma once
// A picture with a transparency mask: pixels of the transparent colour
// (all 24 bits compared) are left out when it is drawn. Scaled copies
// sample the picture and its mask alike, so they never disagree.

#include "mapview/graphics/DibFile.h"
#include "platform/core/Point.h"
#include "platform/core/Rect.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/MonoMask.h"
#include "platform/gfx/Surface.h"

class CMaskedBitmap {
public:
    CMaskedBitmap() = default;
    // The file's picture; the transparent colour is its pixel (0, 0).
    explicit CMaskedBitmap(const DibFile& dib);
    CMaskedBitmap(const DibFile& dib, platform::gfx::Pixel transparent);
    // A picture made elsewhere; the transparent colour is its pixel (0, 0).
    explicit CMaskedBitmap(platform::gfx::Surface image);
    // num/den of the source's size (multiplied first, then divided); the
    // source's transparent colour. A side below 1 or above 16384 gives an
    // empty copy.
    CMaskedBitmap(const CMaskedBitmap& source, int num, int den);

    bool IsEmpty() const { return m_image.IsEmpty(); }
    int Width() const { return m_image.Width(); }
    int Height() const { return m_image.Height(); }
    platform::gfx::Pixel TransparentColour() const { return m_transparent; }
    const platform::gfx::Surface& Image() const { return m_image; }
    const platform::gfx::MonoMask& Mask() const { return m_mask; }

    // Draws the part of the picture at `from` onto `dst` (through its origin
    // and clip), leaving the destination alone where the picture is
    // transparent or has no pixels.
    void DrawTransparent(platform::gfx::Canvas& dst, const platform::Rect& dstRect, platform::Point from) const;

private:
    void MakeMask();

    platform::gfx::Surface m_image;
    platform::gfx::MonoMask m_mask;
    platform::gfx::Pixel m_transparent = 0;
};
