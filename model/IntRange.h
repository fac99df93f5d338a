#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

// Values computed in 64 bits from numbers a file may hold are kept within the
// int range instead of wrapping.
inline int ClampToInt(std::int64_t value)
{
    return static_cast<int>(
        std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
