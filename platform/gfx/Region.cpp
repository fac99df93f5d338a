#include "platform/gfx/Region.h"

#include <algorithm>
#include <cmath>

namespace platform::gfx {

namespace {

    using Span = Region::Span;

    // The spans where `op` holds between two sorted span lists.
    template <class Keep> std::vector<Span> CombineSpans(std::span<const Span> a, std::span<const Span> b, Keep keep)
    {
        std::vector<int> edges;
        edges.reserve((a.size() + b.size()) * 2);
        for (Span s : a) {
            edges.push_back(s.left);
            edges.push_back(s.right);
        }
        for (Span s : b) {
            edges.push_back(s.left);
            edges.push_back(s.right);
        }
        std::sort(edges.begin(), edges.end());
        edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
        std::vector<Span> out;
        std::size_t ia = 0, ib = 0;
        for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
            const int x = edges[i];
            while (ia < a.size() && a[ia].right <= x)
                ++ia;
            while (ib < b.size() && b[ib].right <= x)
                ++ib;
            const bool inA = ia < a.size() && a[ia].left <= x;
            const bool inB = ib < b.size() && b[ib].left <= x;
            if (!keep(inA, inB))
                continue;
            if (!out.empty() && out.back().right == x)
                out.back().right = edges[i + 1];
            else
                out.push_back({ x, edges[i + 1] });
        }
        return out;
    }

} // namespace

Region Region::FromRect(Rect rect)
{
    Region region;
    if (!rect.IsEmpty())
        region.m_bands.push_back({ rect.top, rect.bottom, { { rect.left, rect.right } } });
    return region;
}

Region Region::FromRects(std::span<const Rect> rects)
{
    Region region;
    for (const Rect& rect : rects)
        region.Or(FromRect(rect));
    return region;
}

Region Region::FromPolygon(std::span<const Point> points)
{
    Region region;
    if (points.size() < 3)
        return region;
    int top = points[0].y, bottom = points[0].y;
    for (Point p : points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    std::vector<double> crossings;
    for (int y = top; y < bottom; ++y) {
        const double centre = y + 0.5;
        crossings.clear();
        for (std::size_t i = 0; i < points.size(); ++i) {
            const Point a = points[i];
            const Point b = points[(i + 1) % points.size()];
            if ((a.y <= centre) == (b.y <= centre))
                continue;
            crossings.push_back(a.x + (centre - a.y) * double(b.x - a.x) / double(b.y - a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        std::vector<Span> spans;
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            // Pixels whose centre x + 0.5 lies in [from, to).
            const int left = int(std::ceil(crossings[i] - 0.5));
            const int right = int(std::ceil(crossings[i + 1] - 0.5));
            if (right <= left)
                continue;
            if (!spans.empty() && spans.back().right >= left)
                spans.back().right = std::max(spans.back().right, right);
            else
                spans.push_back({ left, right });
        }
        region.AppendBand(y, y + 1, std::move(spans));
    }
    return region;
}

void Region::AppendBand(int top, int bottom, std::vector<Span>&& spans)
{
    if (spans.empty())
        return;
    if (!m_bands.empty() && m_bands.back().bottom == top && m_bands.back().spans == spans) {
        m_bands.back().bottom = bottom;
        return;
    }
    m_bands.push_back({ top, bottom, std::move(spans) });
}

Rect Region::Bounds() const
{
    if (m_bands.empty())
        return {};
    Rect r { m_bands.front().spans.front().left, m_bands.front().top, m_bands.front().spans.back().right,
        m_bands.back().bottom };
    for (const Band& band : m_bands) {
        r.left = std::min(r.left, band.spans.front().left);
        r.right = std::max(r.right, band.spans.back().right);
    }
    return r;
}

std::span<const Region::Span> Region::SpansAt(int y) const
{
    auto it = std::upper_bound(
        m_bands.begin(), m_bands.end(), y, [](int row, const Band& band) { return row < band.bottom; });
    if (it == m_bands.end() || it->top > y)
        return {};
    return it->spans;
}

bool Region::Contains(Point p) const
{
    for (Span s : SpansAt(p.y)) {
        if (p.x < s.left)
            return false;
        if (p.x < s.right)
            return true;
    }
    return false;
}

Region Region::Combine(const Region& a, const Region& b, Op op)
{
    std::vector<int> rows;
    for (const Band& band : a.m_bands) {
        rows.push_back(band.top);
        rows.push_back(band.bottom);
    }
    for (const Band& band : b.m_bands) {
        rows.push_back(band.top);
        rows.push_back(band.bottom);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    Region out;
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        const auto sa = a.SpansAt(rows[i]);
        const auto sb = b.SpansAt(rows[i]);
        std::vector<Span> spans;
        switch (op) {
        case Op::And:
            spans = CombineSpans(sa, sb, [](bool x, bool y) { return x && y; });
            break;
        case Op::Or:
            spans = CombineSpans(sa, sb, [](bool x, bool y) { return x || y; });
            break;
        case Op::Diff:
            spans = CombineSpans(sa, sb, [](bool x, bool y) { return x && !y; });
            break;
        }
        out.AppendBand(rows[i], rows[i + 1], std::move(spans));
    }
    return out;
}

Region& Region::And(const Region& other)
{
    *this = Combine(*this, other, Op::And);
    return *this;
}

Region& Region::Or(const Region& other)
{
    *this = Combine(*this, other, Op::Or);
    return *this;
}

Region& Region::Diff(const Region& other)
{
    *this = Combine(*this, other, Op::Diff);
    return *this;
}

Region& Region::Offset(int dx, int dy)
{
    for (Band& band : m_bands) {
        band.top += dy;
        band.bottom += dy;
        for (Span& s : band.spans) {
            s.left += dx;
            s.right += dx;
        }
    }
    return *this;
}

} // namespace platform::gfx
