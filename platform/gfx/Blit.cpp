#include "platform/gfx/Blit.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

#include "platform/gfx/Region.h"

namespace platform::gfx {

namespace {

    // Calls out(left, right) for each piece of [left, right) row y that the clip
    // lets through, left to right.
    template <class Out> void ForClipped(const Region* clip, int y, int left, int right, Out out)
    {
        if (!clip) {
            out(left, right);
            return;
        }
        for (const Region::Span& s : clip->SpansAt(y)) {
            if (s.right <= left)
                continue;
            if (s.left >= right)
                break;
            out(std::max(s.left, left), std::min(s.right, right));
        }
    }

    // Copies n pixels between rows that do not overlap. Short runs (the dots
    // and strokes of keyed pictures) take a few vector moves, which the
    // compiler inlines; a call to memcpy would cost more than the copy. The
    // moves go through vector values one by one: a block of N pixels copied
    // at once may be turned into string moves through the stack. `Wide`
    // code uses 32-byte values and runs only where the processor has them
    // (elsewhere the compiler would split them through the stack).
    typedef std::uint32_t Chunk16 __attribute__((vector_size(16)));
    typedef std::uint32_t Chunk32 __attribute__((vector_size(32)));
    template <bool Wide> using WideChunk = std::conditional_t<Wide, Chunk32, Chunk16>;
    template <int N, bool Wide = false> [[gnu::always_inline]] inline void Move(Pixel* to, const Pixel* from)
    {
        if constexpr (N < 4) {
            for (int i = 0; i < N; ++i)
                to[i] = from[i];
        } else {
            using Chunk = std::conditional_t<N >= 8, WideChunk<Wide>, Chunk16>;
            static_assert(N % (sizeof(Chunk) / sizeof(Pixel)) == 0);
            for (int i = 0; i < N; i += int(sizeof(Chunk) / sizeof(Pixel))) {
                Chunk c;
                std::memcpy(&c, from + i, sizeof c);
                std::memcpy(to + i, &c, sizeof c);
            }
        }
    }
    template <bool Wide = false> [[gnu::always_inline]] inline void CopyPixels(Pixel* to, const Pixel* from, int n)
    {
        if (n >= 64) {
            std::memcpy(to, from, std::size_t(n) * sizeof(Pixel));
        } else if (n >= 32) {
            Move<32, Wide>(to, from);
            Move<32, Wide>(to + n - 32, from + n - 32);
        } else if (n >= 16) {
            Move<16, Wide>(to, from);
            Move<16, Wide>(to + n - 16, from + n - 16);
        } else if (n >= 8) {
            Move<8, Wide>(to, from);
            Move<8, Wide>(to + n - 8, from + n - 8);
        } else if (n >= 4) {
            Move<4>(to, from);
            Move<4>(to + n - 4, from + n - 4);
        } else if (n >= 2) {
            Move<2>(to, from);
            Move<2>(to + n - 2, from + n - 2);
        } else if (n == 1) {
            *to = *from;
        }
    }

    // A keyed copy pixel by pixel: every destination pixel is written, with
    // itself where the source has the key. Without branches the compiler
    // turns it into vector selects.
    [[gnu::always_inline]] inline void SelectKeyedRow(Pixel* to, const Pixel* from, Pixel key, int left, int right)
    {
        from += left;
        const int n = right - left;
        for (int i = 0; i < n; ++i) {
            const Pixel s = from[i];
            const Pixel d = to[i];
            to[i] = ((s ^ key) & 0x00FFFFFF) == 0 ? d : s;
        }
    }

    // Rows with more opaque runs than this within the copied columns (the
    // dots of stipples and foliage) are copied by selects, not run by run.
    constexpr std::ptrdiff_t kDenseRuns = 4;

    // A keyed copy of the source pixels [left, right) of a row to `to`
    // (destination pixel of source column `left`); `run` is the row's first
    // run that ends after `left`, `end` the row's end.
    [[gnu::always_inline]] inline void CopyRunsOfRow(
        Pixel* to, const Pixel* from, const Surface::Run* run, const Surface::Run* end, Pixel key, int left, int right)
    {
        if (end - run > kDenseRuns && run[kDenseRuns].start < right) {
            SelectKeyedRow(to, from, key, left, right);
            return;
        }
        for (; run != end && run->start < right; ++run) {
            const int a = std::max(run->start, left);
            const int b = std::min(run->start + run->length, right);
            CopyPixels(to + (a - left), from + a, b - a);
        }
    }

    // The first run of [run, end) that ends after column x, for surfaces
    // too wide for a column index: many runs are searched, few walked.
    inline const Surface::Run* FindRunEndingAfter(const Surface::Run* run, const Surface::Run* end, int x)
    {
        if (end - run > 8)
            return std::lower_bound(run, end, x, [](const Surface::Run& r, int v) { return r.start + r.length <= v; });
        while (run != end && run->start + run->length <= x)
            ++run;
        return run;
    }

    // A copy through a mask of all-ones (copy) and zero (keep) pixels, from
    // pixels with the mask already applied, a vector and then four pixels a
    // step.
    template <class Chunk> [[gnu::always_inline]] inline void MaskChunk(Pixel* to, const Pixel* from, const Pixel* mask)
    {
        Chunk d, s, m;
        std::memcpy(&d, to, sizeof d);
        std::memcpy(&s, from, sizeof s);
        std::memcpy(&m, mask, sizeof m);
        d = (d & ~m) | s;
        std::memcpy(to, &d, sizeof d);
    }
    template <bool Wide>
    [[gnu::always_inline]] inline void CopyMaskedRow(Pixel* to, const Pixel* from, const Pixel* mask, int n)
    {
        constexpr int kStep = int(sizeof(WideChunk<Wide>) / sizeof(Pixel));
        int i = 0;
        for (; i + kStep <= n; i += kStep)
            MaskChunk<WideChunk<Wide>>(to + i, from + i, mask + i);
        if (i + 4 <= n) {
            MaskChunk<Chunk16>(to + i, from + i, mask + i);
            i += 4;
        }
        for (; i < n; ++i)
            to[i] = (to[i] & ~mask[i]) | from[i];
    }

    // Draws the pieces of a cell at `at` within `to` (whole: `to` is the
    // cell's destination rectangle); the clip already holds the destination.
    template <bool Wide>
    [[gnu::always_inline]] inline void DrawPieces(
        Surface& dst, Point at, const Surface& src, Rect source, Rect to, const Surface::CellRuns& cell, bool whole)
    {
        const std::size_t stride = std::size_t(dst.Width());
        const std::size_t sourceStride = std::size_t(src.Width());
        Pixel* const pixels = dst.Pixels().data();
        const Pixel* const sourceBase
            = src.Pixels().data() + std::size_t(source.top) * sourceStride + std::size_t(source.left);
        const Pixel* const masks = cell.masks.data();
        const Pixel* const masked = cell.masked.data();
        if (whole) {
            Pixel* const base = pixels + std::size_t(at.y) * stride + std::size_t(at.x);
            for (const Surface::CellPiece& piece : cell.pieces) {
                Pixel* d = base + piece.row * stride + piece.x;
                if (piece.isMasked)
                    CopyMaskedRow<Wide>(d, masked + piece.mask, masks + piece.mask, piece.length);
                else
                    CopyPixels<Wide>(d, sourceBase + piece.source, piece.length);
            }
            return;
        }
        // Clipped: the rows and columns of `to`, in the cell's coordinates.
        const int top = to.top - at.y;
        const int bottom = to.bottom - at.y;
        const int left = to.left - at.x;
        const int right = to.right - at.x;
        for (const Surface::CellPiece& piece : cell.pieces) {
            if (piece.row < top)
                continue;
            if (piece.row >= bottom)
                break;
            const int a = std::max(int(piece.x), left);
            const int b = std::min(piece.x + piece.length, right);
            if (a >= b)
                continue;
            Pixel* d = pixels + std::size_t(at.y + piece.row) * stride + std::size_t(at.x + a);
            if (piece.isMasked)
                CopyMaskedRow<Wide>(d, masked + piece.mask + (a - piece.x), masks + piece.mask + (a - piece.x), b - a);
            else
                CopyPixels<Wide>(d, sourceBase + piece.source + (a - piece.x), b - a);
        }
    }

    // A keyed copy from an unkeyed source: its corner pixel is the key.
    void CopyCornerKeyedRow(Pixel* to, const Pixel* from, Pixel key, int left, int right)
    {
        for (int x = left; x < right; ++x)
            if (!SameColour(from[x], key))
                to[x - left] = from[x];
    }

    Surface CopyOf(const Surface& src, Rect area)
    {
        Surface copy(area.Width(), area.Height());
        for (int y = 0; y < area.Height(); ++y)
            std::memcpy(copy.Row(y), src.Row(area.top + y) + area.left, std::size_t(area.Width()) * sizeof(Pixel));
        if (src.IsKeyed())
            copy.SetKey(src.Key());
        return copy;
    }

    // Processors with 32-byte vectors copy and mask twice the pixels a move;
    // tests may hold the cell blit to 16-byte ones. Only x86 builds have the
    // 32-byte variant.
    int g_cellBlitVectorBytes = 0;
    bool UseWideVectors()
    {
#if defined(__x86_64__) || defined(__i386__)
        static const bool wide = __builtin_cpu_supports("avx2") != 0;
#else
        constexpr bool wide = false;
#endif
        return g_cellBlitVectorBytes == 0 ? wide : g_cellBlitVectorBytes >= 32 && wide;
    }

} // namespace

void SetCellBlitVectorBytes(int bytes) { g_cellBlitVectorBytes = bytes; }

void Blit(Surface& dst, Point at, const Surface& src, Rect from, const BlitOptions& options)
{
    const Rect source = from.Intersect(src.Bounds());
    if (source.IsEmpty())
        return;
    at.x += source.left - from.left;
    at.y += source.top - from.top;
    Rect to = Rect::FromPointSize(at, source.GetSize()).Intersect(dst.Bounds());
    if (options.clip)
        to = to.Intersect(options.clip->Bounds());
    if (to.IsEmpty())
        return;
    const int dx = at.x - source.left; // destination x of a source x, less the source x
    const int dy = at.y - source.top;
    const Rect used = to.Offset(-dx, -dy);

    // A keyed blit within one surface reads runs of pixels it changes (even
    // apart, on shared rows): it copies the source first.
    if (&dst == &src && (options.keyed || !used.Intersect(to).IsEmpty())) {
        if (options.keyed) {
            if (!src.IsKeyed()) {
                Surface copy = CopyOf(src, used);
                copy.SetKey(src.GetPixel(0, 0));
                Blit(dst, to.TopLeft(), copy, copy.Bounds(), options);
            } else {
                Surface copy = CopyOf(src, used);
                Blit(dst, to.TopLeft(), copy, copy.Bounds(), options);
            }
            return;
        }
        // Rows in the order that reads each source row before it is written;
        // memmove within a row, pieces right to left when moving right.
        const bool down = dy > 0;
        for (int i = 0; i < to.Height(); ++i) {
            const int y = down ? to.bottom - 1 - i : to.top + i;
            Pixel* row = dst.Row(y);
            const Pixel* srow = src.Row(y - dy);
            std::vector<std::pair<int, int>> pieces;
            ForClipped(options.clip, y, to.left, to.right, [&](int l, int r) { pieces.emplace_back(l, r); });
            if (dx > 0)
                std::reverse(pieces.begin(), pieces.end());
            for (auto [l, r] : pieces)
                std::memmove(row + l, srow + (l - dx), std::size_t(r - l) * sizeof(Pixel));
        }
        return;
    }

    // The destination's runs go stale once, not once a row.
    Pixel* const pixels = dst.Pixels().data();
    const std::size_t stride = std::size_t(dst.Width());
    // One loop per kind of copy, so that each inlines its row copy.
    auto rows = [&](auto copyRow) {
        for (int y = to.top; y < to.bottom; ++y) {
            Pixel* row = pixels + std::size_t(y) * stride;
            const int sy = y - dy;
            ForClipped(options.clip, y, to.left, to.right, [&](int l, int r) { copyRow(row + l, sy, l - dx, r - dx); });
        }
    };
    if (options.keyed && src.IsKeyed()) {
        const Surface::RunTable runs = src.OpaqueRunTable();
        const Pixel key = src.Key();
        const std::size_t width = std::size_t(src.Width());
        if (runs.firstEnding) {
            rows([&](Pixel* row, int sy, int l, int r) {
                const Surface::Run* first = runs.runs + runs.rowStart[sy];
                const Surface::Run* last = runs.runs + runs.rowStart[sy + 1];
                first += runs.firstEnding[std::size_t(sy) * width + std::size_t(l)];
                CopyRunsOfRow(row, src.Row(sy), first, last, key, l, r);
            });
        } else {
            rows([&](Pixel* row, int sy, int l, int r) {
                const Surface::Run* last = runs.runs + runs.rowStart[sy + 1];
                const Surface::Run* first = FindRunEndingAfter(runs.runs + runs.rowStart[sy], last, l);
                CopyRunsOfRow(row, src.Row(sy), first, last, key, l, r);
            });
        }
    } else if (options.keyed) {
        const Pixel corner = src.GetPixel(0, 0);
        rows([&](Pixel* row, int sy, int l, int r) { CopyCornerKeyedRow(row, src.Row(sy), corner, l, r); });
    } else {
        rows([&](Pixel* row, int sy, int l, int r) { CopyPixels(row, src.Row(sy) + l, r - l); });
    }
}

namespace {

    template <bool Wide>
    [[gnu::always_inline]] inline void BlitCellWith(
        Surface& dst, Point at, const Surface& src, Rect from, Rect clip, bool keyed)
    {
        const Rect source = from.Intersect(src.Bounds());
        if (source.IsEmpty())
            return;
        at.x += source.left - from.left;
        at.y += source.top - from.top;
        const Rect whole = Rect::FromPointSize(at, source.GetSize());
        const Rect to = whole.Intersect(dst.Bounds()).Intersect(clip);
        if (to.IsEmpty())
            return;
        // Kept pieces name their cell's place and source offset in 16 and
        // 32 bits: larger sheets draw the plain way.
        if (&dst == &src || !keyed || !src.IsKeyed() || src.Width() > Surface::kMaxCellSide
            || src.Height() > Surface::kMaxCellSide) {
            const Rect used = to.Offset(source.left - at.x, source.top - at.y);
            Blit(dst, to.TopLeft(), src, used, { keyed, nullptr });
            return;
        }
        const Surface::CellRuns& cell = src.CellOpaqueRuns(source);
        DrawPieces<Wide>(dst, at, src, source, to, cell, to == whole);
    }

#if defined(__x86_64__) || defined(__i386__)
    [[gnu::target("avx2"), gnu::noinline]] void BlitCellWide(
        Surface& dst, Point at, const Surface& src, Rect from, Rect clip, bool keyed)
    {
        BlitCellWith<true>(dst, at, src, from, clip, keyed);
    }
#endif

    [[gnu::noinline]] void BlitCellNarrow(Surface& dst, Point at, const Surface& src, Rect from, Rect clip, bool keyed)
    {
        BlitCellWith<false>(dst, at, src, from, clip, keyed);
    }

} // namespace

void BlitCell(Surface& dst, Point at, const Surface& src, Rect from, Rect clip, bool keyed)
{
    if (UseWideVectors()) {
#if defined(__x86_64__) || defined(__i386__)
        BlitCellWide(dst, at, src, from, clip, keyed);
        return;
#endif
    }
    BlitCellNarrow(dst, at, src, from, clip, keyed);
}

void StretchBlit(Surface& dst, Rect to, const Surface& src, Rect from, const BlitOptions& options)
{
    if (to.IsEmpty() || from.IsEmpty())
        return;
    if (&dst == &src) {
        // Sampling reads anywhere in the source: take a copy first.
        Surface copy = src;
        StretchBlit(dst, to, copy, from, options);
        return;
    }
    Rect area = to.Intersect(dst.Bounds());
    if (options.clip)
        area = area.Intersect(options.clip->Bounds());
    if (area.IsEmpty())
        return;
    const std::int64_t fw = from.Width(), fh = from.Height(), tw = to.Width(), th = to.Height();
    std::vector<int> columns(std::size_t(area.Width()));
    for (int x = area.left; x < area.right; ++x)
        columns[std::size_t(x - area.left)] = from.left + int((x - to.left) * fw / tw);
    const bool keyed = options.keyed;
    const Pixel key = src.IsKeyed() ? src.Key() : src.GetPixel(0, 0);
    for (int y = area.top; y < area.bottom; ++y) {
        const int sy = from.top + int((y - to.top) * fh / th);
        if (sy < 0 || sy >= src.Height())
            continue;
        const Pixel* srow = src.Row(sy);
        Pixel* row = dst.Row(y);
        ForClipped(options.clip, y, area.left, area.right, [&](int l, int r) {
            for (int x = l; x < r; ++x) {
                const int sx = columns[std::size_t(x - area.left)];
                if (sx < 0 || sx >= src.Width())
                    continue;
                const Pixel p = srow[sx];
                if (!keyed || !SameColour(p, key))
                    row[x] = p;
            }
        });
    }
}

} // namespace platform::gfx
