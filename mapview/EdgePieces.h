#pragma once
// The 2D edge pieces along water and beaches: six corner slots of a hex, each
// judged from two adjacent side flags, with one piece for both flags set, one
// for the first only and one for the second only. Offsets from the hex
// centre, sizes and source positions are full-size (normal 2D view) values.
// The painter draws from this table and the art tool draws these pieces.

#include <array>

#include "platform/core/Rect.h"

namespace EdgePieces {

struct Piece {
    int dx, dy; // centre offset from the hex centre
    platform::Rect source; // in the edge sheet
};

struct Slot {
    int firstSide, secondSide; // side indices 0 N .. 5 NW
    Piece both, firstOnly, secondOnly;
};

inline constexpr std::array<Slot, 6> kSlots { {
    { 0, 1, { 8, -7, { 88, 1, 104, 17 } }, { 8, -11, { 179, 46, 195, 57 } }, { 10, -10, { 14, 48, 34, 60 } } },
    { 0, 5, { -4, -9, { 38, 1, 63, 14 } }, { -8, -11, { 164, 46, 180, 57 } }, { -8, -10, { 110, 48, 130, 60 } } },
    { 4, 5, { -9, 0, { 0, 7, 18, 25 } }, { -9, 3, { 88, 43, 104, 53 } }, { -10, -4, { 195, 36, 211, 48 } } },
    { 3, 4, { -8, 8, { 182, 20, 200, 32 } }, { -4, 10, { 54, 40, 64, 48 } }, { -9, 11, { 114, 38, 126, 50 } } },
    { 3, 2, { 6, 8, { 160, 18, 176, 32 } }, { 4, 9, { 80, 38, 92, 48 } }, { 9, 8, { 18, 36, 30, 48 } } },
    { 2, 1, { 9, 0, { 128, 8, 144, 28 } }, { 10, 2, { 42, 45, 56, 57 } }, { 9, -4, { 149, 37, 165, 51 } } },
} };

} // namespace EdgePieces
