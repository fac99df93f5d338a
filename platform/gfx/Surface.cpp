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
    m_cells.clear();
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

const Surface::CellRuns& Surface::CellOpaqueRuns(Rect cell) const
{
    if (m_runsStale)
        FindRuns();
    const std::uint64_t key = (std::uint64_t(std::uint16_t(cell.left)) << 48)
        | (std::uint64_t(std::uint16_t(cell.top)) << 32) | (std::uint64_t(std::uint16_t(cell.Width())) << 16)
        | std::uint64_t(std::uint16_t(cell.Height()));
    if (const auto found = m_cells.find(key); found != m_cells.end())
        return found->second;
    // Callers draw from fixed grids of cells; a caller asking for ever new
    // rectangles only makes the surface start over now and then.
    constexpr std::size_t kMaxCells = 4096;
    if (m_cells.size() >= kMaxCells)
        m_cells.clear();
    CellRuns& runs = m_cells[key];
    FindCellRuns(cell, runs);
    return runs;
}

void Surface::FindCellRuns(Rect cell, CellRuns& out) const
{
    // Rows with more opaque runs than this within the cell take a mask.
    constexpr std::size_t kDenseRuns = 4;
    for (int y = cell.top; y < cell.bottom; ++y) {
        const auto row = std::uint16_t(y - cell.top);
        const std::size_t first = out.pieces.size();
        for (const Run& run : OpaqueRuns(y)) {
            const int a = std::max(run.start, cell.left);
            const int b = std::min(run.start + run.length, cell.right);
            if (a < b)
                out.pieces.push_back({ row, std::uint16_t(a - cell.left), std::uint16_t(b - a), 0, 0,
                    std::uint32_t(std::size_t(row) * std::size_t(m_width) + std::size_t(a - cell.left)) });
        }
        const std::size_t count = out.pieces.size() - first;
        if (count <= kDenseRuns)
            continue;
        int a = out.pieces[first].x;
        int b = out.pieces.back().x + out.pieces.back().length;
        // Widened to whole groups of four pixels where the cell has room:
        // the extra pixels are masked out, and whole groups copy faster.
        const int width = cell.Width();
        const int wide = std::min((b - a + 3) / 4 * 4, width);
        b = std::min(a + wide, width);
        a = b - wide;
        out.pieces.resize(first);
        const auto mask = std::uint32_t(out.masks.size());
        const Pixel* pixels = Row(y) + cell.left;
        for (int x = a; x < b; ++x) {
            const Pixel m = IsKey(pixels[x]) ? Pixel(0) : ~Pixel(0);
            out.masks.push_back(m);
            out.masked.push_back(pixels[x] & m);
        }
        out.pieces.push_back({ row, std::uint16_t(a), std::uint16_t(b - a), 1, mask,
            std::uint32_t(std::size_t(row) * std::size_t(m_width) + std::size_t(a)) });
    }
}

} // namespace platform::gfx
