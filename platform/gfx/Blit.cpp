#include "platform/gfx/Blit.h"

#include <algorithm>
#include <cstring>
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

    // A keyed copy of the source pixels [left, right) of one row to `to`
    // (destination pixel of source column `left`).
    void CopyKeyedRow(Pixel* to, const Surface& src, int sy, int left, int right)
    {
        const Pixel* from = src.Row(sy);
        if (!src.IsKeyed()) {
            const Pixel key = src.GetPixel(0, 0);
            for (int x = left; x < right; ++x)
                if (!SameColour(from[x], key))
                    to[x - left] = from[x];
            return;
        }
        const auto runs = src.OpaqueRuns(sy);
        auto it = std::lower_bound(
            runs.begin(), runs.end(), left, [](const Surface::Run& run, int x) { return run.start + run.length <= x; });
        for (; it != runs.end() && it->start < right; ++it) {
            const int a = std::max(it->start, left);
            const int b = std::min(it->start + it->length, right);
            std::memcpy(to + (a - left), from + a, std::size_t(b - a) * sizeof(Pixel));
        }
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

} // namespace

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

    if (&dst == &src && !used.Intersect(to).IsEmpty()) {
        if (options.keyed) {
            // Keyed runs of a changing surface: copy the source first.
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

    for (int y = to.top; y < to.bottom; ++y) {
        Pixel* row = dst.Row(y);
        const int sy = y - dy;
        ForClipped(options.clip, y, to.left, to.right, [&](int l, int r) {
            if (options.keyed)
                CopyKeyedRow(row + l, src, sy, l - dx, r - dx);
            else
                std::memcpy(row + l, src.Row(sy) + (l - dx), std::size_t(r - l) * sizeof(Pixel));
        });
    }
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
