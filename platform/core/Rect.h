#pragma once
// A rectangle of pixels: left and top inside, right and bottom just outside,
// so Width() is right - left. A rectangle with no pixels is empty; empty
// rectangles take no part in unions.

#include <algorithm>

#include "platform/core/Point.h"
#include "platform/core/Size.h"

namespace platform {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static Rect FromPointSize(Point at, Size size) { return { at.x, at.y, at.x + size.width, at.y + size.height }; }
    static Rect FromSize(Size size) { return { 0, 0, size.width, size.height }; }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    Size GetSize() const { return { Width(), Height() }; }
    Point TopLeft() const { return { left, top }; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

    // The common part; empty (all zero) when they do not meet.
    Rect Intersect(const Rect& other) const
    {
        Rect r { std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
            std::min(bottom, other.bottom) };
        return r.IsEmpty() ? Rect {} : r;
    }
    // The smallest rectangle holding both; an empty one adds nothing.
    Rect Union(const Rect& other) const
    {
        if (IsEmpty())
            return other.IsEmpty() ? Rect {} : other;
        if (other.IsEmpty())
            return *this;
        return { std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom) };
    }
    Rect Offset(int dx, int dy) const { return { left + dx, top + dy, right + dx, bottom + dy }; }
    Rect Offset(Point by) const { return Offset(by.x, by.y); }
    friend bool operator==(const Rect&, const Rect&) = default;
};

} // namespace platform
