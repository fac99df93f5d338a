#pragma once
// Which font file stands for a face name. No fontconfig: one fixed table over
// Debian's files under /usr/share/fonts/truetype/ (VL_FONT_DIR overrides the
// folder). "Times Roman" and "Times New Roman" are Liberation Serif; the
// launcher's "DejaVu Sans Bold" is DejaVu Sans Bold; every other face is
// Liberation Sans.

#include <filesystem>
#include <string_view>

namespace platform::gfx {

class FontMap {
public:
    static std::filesystem::path FontFolder();
    static std::filesystem::path FileFor(std::string_view face, bool bold, bool italic);
};

} // namespace platform::gfx
