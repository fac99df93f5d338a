#pragma once
// The program's string table: one "<id> <text>" line each; "\n" in a text
// is a line break (a command's prompt, then its tool tip). Blank lines and
// lines starting with '#' are skipped.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace platform::ui {

class StringTable {
public:
    // Nothing, with the line at fault, when a line is not "<id> <text>".
    static std::optional<StringTable> Parse(std::string_view text, std::string& error);

    // Empty when the id has no text.
    std::string Get(int id) const;
    // The part before the line break (the status-bar prompt) / after it (the tool tip).
    std::string Prompt(int id) const;
    std::string ToolTip(int id) const;
    std::size_t Size() const { return m_texts.size(); }

private:
    std::map<int, std::string> m_texts;
};

} // namespace platform::ui
