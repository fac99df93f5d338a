#pragma once
// A picture of 32-bit pixels 0x00RRGGBB (cairo's RGB24 layout), rows top
// down, no padding. A keyed surface treats one colour as transparent: its
// opaque runs per row are found once after a change and keyed blits copy
// only those.

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "platform/core/Rect.h"

namespace platform::gfx {

using Pixel = std::uint32_t;

constexpr Pixel Rgb(int r, int g, int b) { return (Pixel(r & 0xFF) << 16) | (Pixel(g & 0xFF) << 8) | Pixel(b & 0xFF); }
constexpr int RedOf(Pixel p) { return int((p >> 16) & 0xFF); }
constexpr int GreenOf(Pixel p) { return int((p >> 8) & 0xFF); }
constexpr int BlueOf(Pixel p) { return int(p & 0xFF); }
// Only the 24 colour bits count when pixels are compared.
constexpr bool SameColour(Pixel a, Pixel b) { return ((a ^ b) & 0x00FFFFFF) == 0; }

class Surface {
public:
    // A horizontal run of opaque pixels of a keyed surface: [start, start + length).
    struct Run {
        int start;
        int length;
    };

    Surface() = default;
    // Sizes below zero count as zero.
    Surface(int width, int height, Pixel fill = 0);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Size GetSize() const { return { m_width, m_height }; }
    Rect Bounds() const { return { 0, 0, m_width, m_height }; }
    bool IsEmpty() const { return m_width == 0 || m_height == 0; }

    // Row y (0 <= y < Height). The writable forms mark the opaque runs stale.
    Pixel* Row(int y)
    {
        m_runsStale = true;
        return m_pixels.data() + std::size_t(y) * std::size_t(m_width);
    }
    const Pixel* Row(int y) const { return m_pixels.data() + std::size_t(y) * std::size_t(m_width); }
    std::span<Pixel> Pixels()
    {
        m_runsStale = true;
        return m_pixels;
    }
    std::span<const Pixel> Pixels() const { return m_pixels; }

    // Reads give 0 and writes do nothing outside the surface.
    Pixel GetPixel(int x, int y) const;
    void SetPixel(int x, int y, Pixel colour);
    void Fill(Pixel colour);
    void Fill(Rect area, Pixel colour); // clipped to the surface

    // New size, every pixel `fill`; the key stays.
    void Reset(int width, int height, Pixel fill = 0);

    // Keys: the colour at (0, 0) (all 24 bits compared), or a given one.
    void SetKeyFromCorner();
    void SetKey(Pixel key);
    void ClearKey() { m_keyed = false; }
    bool IsKeyed() const { return m_keyed; }
    Pixel Key() const { return m_key; }
    bool IsKey(Pixel p) const { return m_keyed && SameColour(p, m_key); }

    // The pixel differs from the corner pixel; false outside the surface.
    bool IsPixelSet(int x, int y) const;

    // The opaque runs of row y of a keyed surface, left to right (the whole
    // row for an unkeyed one).
    std::span<const Run> OpaqueRuns(int y) const;
    // The runs of every row at once, for loops over many rows: row y's runs
    // are runs[rowStart[y]] up to runs[rowStart[y + 1]]. A keyed surface up
    // to 131070 wide also has a column index (else it is null):
    // runs[rowStart[y] + firstEnding[y * Width() + x]] is the first run of
    // row y that ends after column x (the row's end when none does).
    struct RunTable {
        const Run* runs;
        const std::uint32_t* rowStart;
        const std::uint16_t* firstEnding;
    };
    RunTable OpaqueRunTable() const
    {
        if (m_runsStale)
            FindRuns();
        return { m_runs.data(), m_rowRuns.data(), m_firstEnding.empty() ? nullptr : m_firstEnding.data() };
    }

    // What a keyed blit of one rectangle (a sheet's cell) copies, found once
    // per rectangle and kept until the surface changes. Pieces are row by row,
    // left to right, in the rectangle's coordinates: a row with few opaque
    // runs gives one piece a run; a row dense with short runs (stipples,
    // dots) gives one masked piece from its first opaque pixel to its last,
    // whose pixels are copied where masks[mask + i] is all ones and left
    // alone where it is zero; `masked` holds the pixels with the mask
    // applied. An unkeyed surface gives whole rows.
    struct CellPiece {
        std::uint16_t row;
        std::uint16_t x;
        std::uint16_t length;
        std::uint16_t isMasked; // 0 or 1
        std::uint32_t mask; // masked pieces: index of the first pixel's mask
        std::uint32_t source; // row * Width() + x: the first pixel from the cell's corner
    };
    struct CellRuns {
        std::vector<CellPiece> pieces;
        std::vector<Pixel> masks;
        std::vector<Pixel> masked;
    };
    // Cells of surfaces up to this size in either direction are kept.
    static constexpr int kMaxCellSide = 65535;
    // The pieces of `cell`, which must lie within a surface no larger than
    // kMaxCellSide each way. The reference holds until the next
    // call or change.
    const CellRuns& CellOpaqueRuns(Rect cell) const;
    // How many cells are kept (for tests: a change drops them all).
    std::size_t CachedCellCount() const { return m_runsStale ? 0 : m_cells.size(); }

private:
    void FindRuns() const;
    void FindCellRuns(Rect cell, CellRuns& out) const;

    int m_width = 0;
    int m_height = 0;
    std::vector<Pixel> m_pixels;
    bool m_keyed = false;
    Pixel m_key = 0;
    mutable bool m_runsStale = true;
    mutable std::vector<Run> m_runs;
    mutable std::vector<std::uint32_t> m_rowRuns; // first run of each row, then the end
    mutable std::vector<std::uint16_t> m_firstEnding; // per pixel: runs of its row that end before it
    // Pieces by cell, keyed by the packed rectangle; dropped with the runs.
    mutable std::unordered_map<std::uint64_t, CellRuns> m_cells;
};

} // namespace platform::gfx
