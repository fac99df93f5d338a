#include "platform/gfx/FontMap.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

namespace platform::gfx {

namespace {

    bool SameName(std::string_view a, std::string_view b)
    {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
            return std::tolower(x) == std::tolower(y);
        });
    }

} // namespace

std::filesystem::path FontMap::FontFolder()
{
    const char* folder = std::getenv("VL_FONT_DIR");
    return folder && *folder ? std::filesystem::path(folder) : std::filesystem::path("/usr/share/fonts/truetype");
}

std::filesystem::path FontMap::FileFor(std::string_view face, bool bold, bool italic)
{
    if (SameName(face, "DejaVu Sans Bold"))
        return FontFolder() / "dejavu/DejaVuSans-Bold.ttf";
    const bool serif = SameName(face, "Times Roman") || SameName(face, "Times New Roman");
    std::string name = serif ? "liberation2/LiberationSerif-" : "liberation2/LiberationSans-";
    if (bold && italic)
        name += "BoldItalic";
    else if (bold)
        name += "Bold";
    else if (italic)
        name += "Italic";
    else
        name += "Regular";
    return FontFolder() / (name + ".ttf");
}

} // namespace platform::gfx
