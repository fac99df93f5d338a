#pragma once
// What one hex of a battle may hold, checked alike by the battle file and the
// hex-state messages: whatever one of them accepts, the other can carry.

#include "model/HexSide.h"

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

} // namespace HexValues
