#include "platform/ui/StringTable.h"

#include <charconv>

#include "platform/ui/ResourceLines.h"

namespace platform::ui {

std::optional<StringTable> StringTable::Parse(std::string_view text, std::string& error)
{
    StringTable table;
    const bool read = ForEachResourceLine(text, [&](std::string_view line, int number) {
        int id = 0;
        const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), id);
        if (ec != std::errc() || end == line.data() + line.size() || *end != ' ' || id <= 0) {
            error = ResourceLineError(number, "not \"<id> <text>\"");
            return false;
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
        return true;
    });
    if (!read)
        return std::nullopt;
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
