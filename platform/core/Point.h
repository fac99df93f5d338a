#pragma once
// A point in pixels: x to the right, y downwards.

namespace platform {

struct Point {
    int x = 0;
    int y = 0;

    friend bool operator==(Point, Point) = default;
    friend Point operator+(Point a, Point b) { return { a.x + b.x, a.y + b.y }; }
    friend Point operator-(Point a, Point b) { return { a.x - b.x, a.y - b.y }; }
    Point& operator+=(Point other)
    {
        x += other.x;
        y += other.y;
        return *this;
    }
};

} // namespace platform
