#pragma once
// The line-based resource texts (key tables, string tables) share one way of
// reading: numbered lines, one carriage return taken off each, blank lines
// and "#" comments skipped.

#include <string>
#include <string_view>

namespace platform::ui {

// Calls take(line, number) for each line that carries something; answers
// false at the first line that take refuses.
template <class Take> bool ForEachResourceLine(std::string_view text, Take take)
{
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line[0] == '#')
            continue;
        if (!take(line, number))
            return false;
    }
    return true;
}

// A reader's fault, named by its line.
inline std::string ResourceLineError(int number, const std::string& why)
{
    return "line " + std::to_string(number) + ": " + why;
}

} // namespace platform::ui
