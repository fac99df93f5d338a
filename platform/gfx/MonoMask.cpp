#include "platform/gfx/MonoMask.h"

#include <algorithm>

namespace platform::gfx {

MonoMask::MonoMask(int width, int height, bool transparent)
    : m_width(std::max(width, 0))
    , m_height(std::max(height, 0))
{
    if (m_width == 0 || m_height == 0)
        m_width = m_height = 0;
    m_bits.assign(std::size_t(m_width) * std::size_t(m_height), transparent ? 1 : 0);
}

MonoMask MonoMask::FromPicture(const Surface& picture)
{
    MonoMask mask(picture.Width(), picture.Height(), false);
    for (int y = 0; y < picture.Height(); ++y) {
        const Pixel* row = picture.Row(y);
        for (int x = 0; x < picture.Width(); ++x)
            mask.SetTransparent(x, y, RedOf(row[x]) + GreenOf(row[x]) + BlueOf(row[x]) >= 3 * 128);
    }
    return mask;
}

bool MonoMask::IsTransparent(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return true;
    return m_bits[std::size_t(y) * std::size_t(m_width) + std::size_t(x)] != 0;
}

void MonoMask::SetTransparent(int x, int y, bool transparent)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    m_bits[std::size_t(y) * std::size_t(m_width) + std::size_t(x)] = transparent ? 1 : 0;
}

} // namespace platform::gfx
