#include "platform/gfx/Surface.h"

#include <algorithm>

namespace platform::gfx {

Surface::Surface(int width, int height, Pixel fill) { Reset(width, height, fill); }

void Surface::Reset(int width, int height, Pixel fill)
{
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    if (m_width == 0 || m_height == 0)
        m_width = m_height = 0;
    m_pixels.assign(std::size_t(m_width) * std::size_t(m_height), fill);
    m_runsStale = true;
}

Pixel Surface::GetPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    return m_pixels[std::size_t(y) * std::size_t(m_width) + std::size_t(x)];
}

void Surface::SetPixel(int x, int y, Pixel colour)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    m_pixels[std::size_t(y) * std::size_t(m_width) + std::size_t(x)] = colour;
    m_runsStale = true;
}

void Surface::Fill(Pixel colour)
{
    std::fill(m_pixels.begin(), m_pixels.end(), colour);
    m_runsStale = true;
}

void Surface::Fill(Rect area, Pixel colour)
{
    area = area.Intersect(Bounds());
    for (int y = area.top; y < area.bottom; ++y)
        std::fill_n(Row(y) + area.left, area.Width(), colour);
}

void Surface::SetKeyFromCorner() { SetKey(IsEmpty() ? 0 : m_pixels[0]); }

void Surface::SetKey(Pixel key)
{
    m_keyed = true;
    m_key = key & 0x00FFFFFF;
    m_runsStale = true;
}

bool Surface::IsPixelSet(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return false;
    return !SameColour(GetPixel(x, y), m_pixels[0]);
}

std::span<const Surface::Run> Surface::OpaqueRuns(int y) const
{
    if (m_runsStale)
        FindRuns();
    return std::span<const Run>(m_runs).subspan(
        m_rowRuns[std::size_t(y)], m_rowRuns[std::size_t(y) + 1] - m_rowRuns[std::size_t(y)]);
}

void Surface::FindRuns() const
{
    m_runs.clear();
    m_rowRuns.assign(std::size_t(m_height) + 1, 0);
    // The column index needs run counts below 65536: rows up to 131070 wide.
    const bool indexed = m_keyed && m_width <= 131070;
    m_firstEnding.assign(indexed ? m_pixels.size() : 0, 0);
    for (int y = 0; y < m_height; ++y) {
        m_rowRuns[std::size_t(y)] = std::uint32_t(m_runs.size());
        const Pixel* row = Row(y);
        if (!m_keyed) {
            m_runs.push_back({ 0, m_width });
            continue;
        }
        const std::size_t first = m_runs.size();
        int x = 0;
        while (x < m_width) {
            while (x < m_width && SameColour(row[x], m_key))
                ++x;
            const int start = x;
            while (x < m_width && !SameColour(row[x], m_key))
                ++x;
            if (x > start)
                m_runs.push_back({ start, x - start });
        }
        if (!indexed)
            continue;
        std::uint16_t* ending = m_firstEnding.data() + std::size_t(y) * std::size_t(m_width);
        std::size_t ended = first;
        for (x = 0; x < m_width; ++x) {
            while (ended < m_runs.size() && m_runs[ended].start + m_runs[ended].length <= x)
                ++ended;
            ending[x] = std::uint16_t(ended - first);
        }
    }
    m_rowRuns[std::size_t(m_height)] = std::uint32_t(m_runs.size());
    m_runsStale = false;
}

} // namespace platform::gfx
