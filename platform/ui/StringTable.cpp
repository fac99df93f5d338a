#include "platform/ui/StringTable.h"

#include <charconv>
#include <sstream>

namespace platform::ui {

std::optional<StringTable> StringTable::Parse(std::string_view text, std::string& error)
{
    StringTable table;
    std::istringstream in { std::string(text) };
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        int id = 0;
        const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), id);
        if (ec != std::errc() || end == line.data() + line.size() || *end != ' ' || id <= 0) {
            error = "line " + std::to_string(number) + ": not \"<id> <text>\"";
            return std::nullopt;
        }
        std::string value;
        for (const char* p = end + 1; p < line.data() + line.size(); ++p) {
            if (*p == '\\' && p + 1 < line.data() + line.size() && p[1] == 'n') {
                value += '\n';
                ++p;
            } else {
                value += *p;
            }
        }
        table.m_texts[id] = std::move(value);
    }
    return table;
}

std::string StringTable::Get(int id) const
{
    const auto it = m_texts.find(id);
    return it == m_texts.end() ? std::string() : it->second;
}

std::string StringTable::Prompt(int id) const
{
    const std::string text = Get(id);
    return text.substr(0, text.find('\n'));
}

std::string StringTable::ToolTip(int id) const
{
    const std::string text = Get(id);
    const auto br = text.find('\n');
    return br == std::string::npos ? std::string() : text.substr(br + 1);
}

} // namespace platform::ui
