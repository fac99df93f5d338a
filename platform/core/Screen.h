#pragma once
// The display: its size, colour depth and where the pointer is on it.

#include "platform/core/Point.h"
#include "platform/core/Size.h"

namespace platform {

class Screen {
public:
    virtual ~Screen() = default;
    virtual Size GetSize() const = 0;
    // Bits per pixel; X displays are 24.
    virtual int Depth() const = 0;
    virtual Point PointerOnScreen() const = 0;
};

} // namespace platform
