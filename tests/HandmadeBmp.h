#pragma once
// BMP files written byte by byte, for tests of the readers' refusals.

#include <algorithm>
#include <cstdint>
#include <vector>

namespace handmade_bmp {

using Bytes = std::vector<std::uint8_t>;

inline void Put(Bytes& b, std::size_t at, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        b[at + std::size_t(i)] = std::uint8_t(value >> (8 * i));
}

// A 3 by 2 file of `bits` per pixel written by hand: colour table (for 8 bits
// and less) grey levels 0, 40, 80, ...; pixel (x, y) holds index x + y (or
// colour (x, y, 7) for 24 and 32 bits); rows bottom-up.
inline Bytes Handmade(int bits, int height = 2)
{
    const int width = 3;
    const int rows = height < 0 ? -height : height;
    const int colours = bits <= 8 ? (1 << bits) : 0;
    const int stride = ((width * bits + 31) / 32) * 4;
    const int offset = 14 + 40 + 4 * colours;
    Bytes b(std::size_t(offset + stride * rows), 0);
    b[0] = 'B';
    b[1] = 'M';
    Put(b, 2, std::uint32_t(b.size()), 4);
    Put(b, 10, std::uint32_t(offset), 4);
    Put(b, 14, 40, 4);
    Put(b, 18, std::uint32_t(width), 4);
    Put(b, 22, std::uint32_t(height), 4);
    Put(b, 26, 1, 2);
    Put(b, 28, std::uint32_t(bits), 2);
    for (int i = 0; i < colours; ++i)
        Put(b, std::size_t(54 + 4 * i), std::uint32_t(std::min(i * 40, 255) * 0x010101), 4);
    for (int y = 0; y < rows; ++y) {
        const int fileRow = height < 0 ? y : rows - 1 - y;
        const std::size_t row = std::size_t(offset + stride * fileRow);
        for (int x = 0; x < width; ++x) {
            const int index = x + y;
            if (bits == 24 || bits == 32) {
                const std::size_t at = row + std::size_t(x * bits / 8);
                b[at] = 7;
                b[at + 1] = std::uint8_t(y);
                b[at + 2] = std::uint8_t(x);
                continue;
            }
            const int bitAt = x * bits;
            b[row + std::size_t(bitAt / 8)] |= std::uint8_t(index << (8 - bits - bitAt % 8));
        }
    }
    return b;
}

} // namespace handmade_bmp
