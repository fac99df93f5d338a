#pragma once
// A BMP picture read into memory, the source of the bitmaps made from
// picture files. Any refusal of the reader (gfx::ReadBmp) leaves it empty:
// no picture, no size, no colours. Files of 1, 4, 8, 24 and 32 bits per
// pixel are read; 16-bit files and compressed ones are refused.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "platform/core/AssetFiles.h"
#include "platform/gfx/Bmp.h"
#include "platform/gfx/Surface.h"

class DibFile {
public:
    DibFile() = default;
    // Reads the file at `path`; a file that cannot be opened leaves it empty.
    explicit DibFile(const std::filesystem::path& path);
    // Reads a picture name through the asset lookup (any letter case).
    DibFile(const platform::AssetFiles& assets, std::string_view name);

    // Replaces the picture; false and empty on any refusal.
    bool Read(std::span<const std::uint8_t> bytes);

    bool IsEmpty() const { return m_picture.IsEmpty(); }
    platform::gfx::BmpError Error() const { return m_error; }
    int Width() const { return m_picture.Width(); }
    int Height() const { return m_picture.Height(); }
    // Colour-table entries: the file's used count cut to the most its bit
    // count allows, that most when the count is 0; 0 above 8 bits.
    int Colours() const { return m_colours; }
    const platform::gfx::Surface& Picture() const { return m_picture; }

private:
    bool Take(platform::gfx::BmpError error, const platform::gfx::BmpInfo& info);

    platform::gfx::Surface m_picture;
    int m_colours = 0;
    platform::gfx::BmpError m_error = platform::gfx::BmpError::CannotOpen;
};
