#pragma once
// The three small value types that fix the map's geometry: one side (or
// direction) of a hex, a set of sides, and a hex position. Columns run left to
// right, rows top to bottom, hexes are flat-topped (N and S sides horizontal)
// and odd columns stand half a hex higher than even ones.

#include <cstdint>
#include <ios>
#include <iosfwd>
#include <limits>
#include <string>

// One side of a hex as one bit, counted clockwise from north: 1 N, 2 NE, 4 SE,
// 8 S, 16 SW, 32 NW. 64 is no side and ends a loop over the sides:
//     for (HexSide side(1); side.IsValid(); side.Next())
// Every operation is total: a value that is not one of the six sides (0, 3,
// 128, ...) turns into 64 wherever a side is computed from it, so no loop over
// sides can run for ever.
class HexSide {
public:
    static constexpr std::uint32_t kNoneValue = 64;

    static const HexSide North;
    static const HexSide NorthEast;
    static const HexSide SouthEast;
    static const HexSide South;
    static const HexSide SouthWest;
    static const HexSide NorthWest;
    static const HexSide None;

    constexpr HexSide() = default;
    // The value is stored unchanged, even when it is not a single side.
    constexpr explicit HexSide(std::uint32_t value)
        : m_value(value)
    {
    }

    constexpr std::uint32_t Value() const { return m_value; }
    // Not the end marker 64 (any other value counts as valid).
    constexpr bool IsValid() const { return m_value != kNoneValue; }
    // Exactly one of the six sides.
    constexpr bool IsSingleSide() const
    {
        return m_value != 0 && m_value < kNoneValue && (m_value & (m_value - 1)) == 0;
    }

    // The direction from hex 1 to hex 2 when they are adjacent, else 64.
    HexSide& SetBetween(int column1, int row1, int column2, int row2);

    // The next side of a loop: 1, 2, 4, ..., 32, then 64. A value that is not
    // a single side gives 64.
    constexpr HexSide& Next()
    {
        m_value = IsSingleSide() ? m_value << 1 : kNoneValue;
        return *this;
    }

    // N and S, NE and SW, SE and NW; 64 for any other value.
    constexpr HexSide Opposite() const { return Rotate(3); }
    // One side clockwise (NW gives N); 64 for a value that is not a side.
    constexpr HexSide Clockwise() const { return Rotate(1); }
    // One side counter-clockwise (N gives NW); 64 for a value that is not a side.
    constexpr HexSide CounterClockwise() const { return Rotate(-1); }
    // n steps clockwise (counter-clockwise for negative n); 64 for a value that
    // is not a side, whatever n.
    constexpr HexSide Rotate(int steps) const;

    friend constexpr bool operator==(HexSide, HexSide) = default;

private:
    std::uint32_t m_value = kNoneValue;
};

inline constexpr HexSide HexSide::North { 1 };
inline constexpr HexSide HexSide::NorthEast { 2 };
inline constexpr HexSide HexSide::SouthEast { 4 };
inline constexpr HexSide HexSide::South { 8 };
inline constexpr HexSide HexSide::SouthWest { 16 };
inline constexpr HexSide HexSide::NorthWest { 32 };
inline constexpr HexSide HexSide::None { HexSide::kNoneValue };

// 0 for N, 1 NE, ... 5 NW; 6 for a value that is not one of the six sides.
constexpr int HexSideIndex(HexSide side)
{
    if (!side.IsSingleSide())
        return 6;
    int index = 0;
    for (std::uint32_t v = side.Value(); v > 1; v >>= 1)
        ++index;
    return index;
}

// The side with index n: N for n below 0, 64 for n of 6 or more.
constexpr HexSide NthHexSide(int n)
{
    if (n < 0)
        return HexSide::North;
    if (n >= 6)
        return HexSide::None;
    return HexSide(1u << n);
}

constexpr HexSide HexSide::Rotate(int steps) const
{
    const int index = HexSideIndex(*this);
    if (index == 6)
        return None;
    // steps % 6 lies in -5..5, so no sum here can overflow.
    return NthHexSide((index + steps % 6 + 6) % 6);
}

// Facings in battle files and messages: the value as a decimal integer. The
// reader takes any value that fits 32 bits unsigned (normalising odd facings
// is the battle reader's business); a missing number, a negative one or one
// that is too large fails the stream and leaves the side unchanged.
// (Streams, and the text scanner and builder of model/TextScan.h.)
template <class In> bool ReadHexSide(In& in, HexSide& side)
{
    long long value = 0;
    if (!(in >> value))
        return false;
    if (value < 0 || value > static_cast<long long>(std::numeric_limits<std::uint32_t>::max())) {
        in.setstate(std::ios::failbit);
        return false;
    }
    side = HexSide(static_cast<std::uint32_t>(value));
    return true;
}
template <class Out> bool WriteHexSide(Out& out, HexSide side)
{
    out << side.Value();
    return !out.fail();
}

// A set of sides: the OR of side bits, 0 to 63. Bits beyond the six sides
// (the end marker 64 among them) are never stored, so a set always fits its
// one-character file form.
class HexSideSet {
public:
    static constexpr std::uint32_t kAllSides = 63;

    constexpr HexSideSet() = default;
    constexpr explicit HexSideSet(std::uint32_t bits)
        : m_value(bits & kAllSides)
    {
    }

    constexpr std::uint32_t Value() const { return m_value; }
    constexpr void Add(std::uint32_t bits) { m_value |= bits & kAllSides; }
    constexpr void Add(HexSide side) { Add(side.Value()); }
    // True when the set and the argument share a bit.
    constexpr bool Contains(HexSide side) const { return (m_value & side.Value()) != 0; }
    constexpr bool IsEmpty() const { return m_value == 0; }

    friend constexpr bool operator==(HexSideSet, HexSideSet) = default;

private:
    std::uint32_t m_value = 0;
};

// One character whose code is the set plus 32: " " is the empty set and "_"
// all six sides. The reader takes exactly one character, blanks included; a
// character outside " ".."_" or the end of the stream fails the stream and
// leaves the set unchanged.
template <class In> bool ReadHexSideSet(In& in, HexSideSet& set)
{
    const auto c = in.get();
    if (c == std::char_traits<char>::eof())
        return false;
    if (c < ' ' || c > ' ' + static_cast<int>(HexSideSet::kAllSides)) {
        in.setstate(std::ios::failbit);
        return false;
    }
    set = HexSideSet(static_cast<std::uint32_t>(c - ' '));
    return true;
}
template <class Out> bool WriteHexSideSet(Out& out, HexSideSet set)
{
    out.put(static_cast<char>(' ' + set.Value()));
    return !out.fail();
}

// A hex position: column, then row.
struct HexPos {
    int column = 0;
    int row = 0;

    // Two whitespace-separated decimal ints; on failure the position is
    // unchanged.
    bool Read(std::istream& in);
    // Column, one blank, row.
    bool Write(std::ostream& out) const;

    friend constexpr bool operator==(const HexPos&, const HexPos&) = default;
};

// The side or pair of sides of hex 1 that face hex 2 at any distance. Inside
// one 60-degree sector both outputs are that sector's side; exactly on a
// sector boundary they are the two sides beside it, the second one clockwise
// of the first. The same hex gives 64, 64.
void SidesTowardHex(int column1, int row1, int column2, int row2, HexSide& side1, HexSide& side2);

// Whether the line y = slope * x + intercept passes through the given side of
// the hex (a crossing at a corner counts for both sides that meet there). A
// value that is not a single side gives false.
bool HexSideCrossesLine(HexSide side, int column, int row, double slope, double intercept);

// Whether the line crosses the segment from (x1, y1) to (x2, y2); a segment
// parallel to the line never does. A vertical segment is tested at its own x.
bool SegmentCrossesLine(double x1, double y1, double x2, double y2, double slope, double intercept);

// a <= x <= b or b <= x <= a, compared in single precision so that a crossing
// that lands on a corner up to rounding still counts.
bool IsBetween(double a, double x, double b);
