#pragma once
// PNG files (screenshots, renders for reviewers): 8-bit RGB, no alpha.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/gfx/Surface.h"

namespace platform::gfx {

bool WritePngFile(const std::filesystem::path& path, const Surface& picture);
// Reads what WritePngFile writes (any 8-bit PNG libpng can turn into RGB);
// false and `out` untouched on any failure.
bool ReadPngFile(const std::filesystem::path& path, Surface& out);

} // namespace platform::gfx
