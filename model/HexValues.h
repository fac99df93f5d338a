#pragma once
// What one hex of a battle may hold, and the battle-wide values the
// side-totals text carries, checked alike by the battle file and the
// messages: whatever one of them accepts, the other can carry, and the
// battle-file writer can write.

#include <string_view>

#include "model/HexSide.h"
#include "model/String.h"

namespace HexValues {

constexpr int kLastNation = 28;
constexpr int kWreckCountMask = 0x0FFFFFFF;
constexpr int kWreckBurning = 0x10000000;

// A nation (0..28), or -1 for none.
constexpr bool IsNationOrNone(int nation) { return nation >= -1 && nation <= kLastNation; }
// A mark or a contact value: -1 for none, else not negative.
constexpr bool IsValueOrNone(int value) { return value >= -1; }
constexpr bool IsWreckWord(int word) { return word >= 0 && word <= (kWreckCountMask | kWreckBurning); }
constexpr bool IsContactKind(int kind) { return kind >= 0 && kind <= 2; }
constexpr bool IsAirStrikeSide(int side) { return side >= -1 && side <= 1; }
constexpr bool IsPontoonSide(HexSide side) { return side.IsSingleSide() || side == HexSide::None; }

// Air strikes and smoke missions a side has left: none or more.
constexpr bool IsSideCount(int count) { return count >= 0; }
// A loss-table entry: strength points lost, none or more.
constexpr bool IsLoss(int loss) { return loss >= 0; }

// A map or organisation file name as a battle file stores it: a line that
// comes back whole with the writer's trailing blank, without control
// characters (a NUL would open another file than the one named).
constexpr bool IsStoredFileName(std::string_view name)
{
    if (name.size() + 1 > String::kMaxLineLength)
        return false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return false;
    }
    return true;
}

} // namespace HexValues
