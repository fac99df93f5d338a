#pragma once
// A set of pixels as horizontal bands of spans (rows top..bottom-1, each
// band holding sorted, disjoint, non-touching spans [left, right)). Used for
// clipping and for hit tests of polygons.

#include <span>
#include <vector>

#include "platform/core/Point.h"
#include "platform/core/Rect.h"

namespace platform::gfx {

class Region {
public:
    struct Span {
        int left;
        int right;
        friend bool operator==(Span, Span) = default;
    };
    struct Band {
        int top;
        int bottom;
        std::vector<Span> spans;
        friend bool operator==(const Band&, const Band&) = default;
    };

    Region() = default; // empty
    static Region FromRect(Rect rect);
    static Region FromRects(std::span<const Rect> rects);
    // Pixel (x, y) is inside when its centre (x + 0.5, y + 0.5) is inside
    // the polygon by the even-odd rule.
    static Region FromPolygon(std::span<const Point> points);

    bool IsEmpty() const { return m_bands.empty(); }
    Rect Bounds() const;
    bool Contains(Point p) const;
    // The spans of row y (empty when the row holds nothing).
    std::span<const Span> SpansAt(int y) const;
    const std::vector<Band>& Bands() const { return m_bands; }

    Region& And(const Region& other);
    Region& Or(const Region& other);
    Region& Diff(const Region& other);
    Region& Offset(int dx, int dy);

    friend bool operator==(const Region&, const Region&) = default;

private:
    enum class Op { And, Or, Diff };
    static Region Combine(const Region& a, const Region& b, Op op);
    void AppendBand(int top, int bottom, std::vector<Span>&& spans);

    std::vector<Band> m_bands;
};

} // namespace platform::gfx
