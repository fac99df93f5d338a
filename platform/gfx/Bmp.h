#pragma once
// BMP files: the one reader behind every picture loader, and a writer for the
// art tool.
//
// ReadBmp refuses, leaving `out` untouched: no "BM"; a file shorter than its
// headers; an info header below 40 bytes (a longer one is skipped); planes
// not 1; any compression; bit counts other than 1, 4, 8, 24, 32; width or
// height outside 1..16384; a colour table or pixel rows past the end of the
// file (sizes in 64 bits); a palette index past the colour table. It reads
// bottom-up and top-down files; 32-bit pixels are B, G, R and an unused byte.
// A 1-bit mask is read as a picture and made into a MonoMask by brightness
// (MonoMask::FromPicture: white is transparent).

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "platform/gfx/Surface.h"

namespace platform::gfx {

enum class BmpError {
    None,
    CannotOpen,
    NotBmp,
    Truncated,
    HeaderTooSmall,
    Planes,
    Compression,
    BitCount,
    Dimensions,
    PastFile,
    PaletteIndex,
};

// What a read file was: its bits per pixel and the entries of its colour
// table (the used count, at most and by default 2 to the bits; 0 above 8
// bits). Set only when the read succeeds.
struct BmpInfo {
    int bitCount = 0;
    int tableColours = 0;
};

BmpError ReadBmp(std::span<const std::uint8_t> bytes, Surface& out, BmpInfo* info = nullptr);
BmpError ReadBmpFile(const std::filesystem::path& path, Surface& out, BmpInfo* info = nullptr);

// A bottom-up uncompressed file of 24 bits, or 1 bit (colour table black,
// white; light pixels as in MonoMask::FromPicture become white).
std::vector<std::uint8_t> WriteBmp(const Surface& picture, int bitCount = 24);
bool WriteBmpFile(const std::filesystem::path& path, const Surface& picture, int bitCount = 24);

} // namespace platform::gfx
