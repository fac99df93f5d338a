#pragma once
// A 1-bit mask: a set bit is transparent, a clear bit lets the picture
// through (Canvas::MaskedDraw).

#include <cstdint>
#include <vector>

#include "platform/core/Size.h"
#include "platform/gfx/Surface.h"

namespace platform::gfx {

class MonoMask {
public:
    MonoMask() = default;
    // Every bit set (all transparent) unless told otherwise.
    MonoMask(int width, int height, bool transparent = true);
    // Light pixels (mean of red, green, blue at least 128) are transparent:
    // a 1-bit picture read by ReadBmp maps white to transparent.
    static MonoMask FromPicture(const Surface& picture);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool IsEmpty() const { return m_width == 0 || m_height == 0; }
    // Outside the mask everything is transparent.
    bool IsTransparent(int x, int y) const;
    void SetTransparent(int x, int y, bool transparent);

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_bits; // one byte per pixel: simple and fast enough
};

} // namespace platform::gfx
