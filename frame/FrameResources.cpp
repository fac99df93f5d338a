#include "frame/FrameResources.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

bool ReadWhole(const std::filesystem::path& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream out;
    out << in.rdbuf();
    text = out.str();
    return true;
}

} // namespace

std::optional<FrameResources> FrameResources::Load(const std::filesystem::path& folder, std::string& error)
{
    std::string text;
    const auto fail = [&](const std::filesystem::path& file, const std::string& why) {
        error = file.string() + ": " + why;
        return std::nullopt;
    };
    const auto menuFile = folder / "MainMenu.xrc";
    if (!ReadWhole(menuFile, text))
        return fail(menuFile, "cannot be read");
    std::string why;
    auto menu = platform::ui::MenuModel::ParseXrc(text, "MainMenu", why);
    if (!menu)
        return fail(menuFile, why);
    const auto keyFile = folder / "accelerators.txt";
    if (!ReadWhole(keyFile, text))
        return fail(keyFile, "cannot be read");
    auto keys = platform::ui::Accelerators::Parse(text, why);
    if (!keys)
        return fail(keyFile, why);
    const auto stringFile = folder / "strings.txt";
    if (!ReadWhole(stringFile, text))
        return fail(stringFile, "cannot be read");
    auto strings = platform::ui::StringTable::Parse(text, why);
    if (!strings)
        return fail(stringFile, why);
    return FrameResources { folder, std::move(*menu), std::move(*keys), std::move(*strings) };
}

std::filesystem::path DefaultResourceFolder()
{
    if (const char* dir = std::getenv("VL_RESOURCE_DIR"); dir && *dir)
        return dir;
    return std::filesystem::path("resources") / "vl";
}
