#include "platform/ui/FileDialogs.h"

#include <cctype>
#include <filesystem>
#include <vector>

namespace platform::ui {

namespace {

    std::string Upper(std::string_view text)
    {
        std::string out(text);
        for (char& c : out)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return out;
    }

    // Each ';'-separated pattern, then the upper-case spellings that differ.
    std::string WithUpperCase(std::string_view patterns)
    {
        std::vector<std::string> list;
        std::size_t start = 0;
        while (start <= patterns.size()) {
            const std::size_t end = std::min(patterns.find(';', start), patterns.size());
            if (end > start)
                list.emplace_back(patterns.substr(start, end - start));
            start = end + 1;
        }
        std::string out;
        const std::size_t count = list.size();
        for (std::size_t i = 0; i < count; ++i) {
            const std::string upper = Upper(list[i]);
            if (upper != list[i])
                list.push_back(upper);
        }
        for (const std::string& pattern : list)
            out += (out.empty() ? "" : ";") + pattern;
        return out;
    }

} // namespace

std::string ToToolkitFilter(std::string_view filter)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start < filter.size()) {
        const std::size_t end = std::min(filter.find('|', start), filter.size());
        parts.push_back(filter.substr(start, end - start));
        start = end + 1;
    }
    std::string out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (!out.empty())
            out += '|';
        out += std::string(parts[i]) + '|' + WithUpperCase(parts[i + 1]);
    }
    return out;
}

std::string WithDefaultExtension(const std::string& name, std::string_view extension)
{
    if (name.empty() || extension.empty() || std::filesystem::path(name).has_extension())
        return name;
    return name + "." + std::string(extension);
}

} // namespace platform::ui
