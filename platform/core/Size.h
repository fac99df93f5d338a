#pragma once
// A width and height in pixels.

namespace platform {

struct Size {
    int width = 0;
    int height = 0;

    bool IsEmpty() const { return width <= 0 || height <= 0; }
    friend bool operator==(Size, Size) = default;
};

} // namespace platform
