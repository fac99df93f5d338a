#include "platform/ui/Accelerators.h"

#include <array>
#include <charconv>
#include <sstream>
#include <utility>

#include "platform/ui/ResourceLines.h"

namespace platform::ui {

namespace {

    constexpr std::array<std::pair<std::string_view, int>, 19> kNamedKeys { {
        { "Left", kKeyLeft },
        { "Right", kKeyRight },
        { "Up", kKeyUp },
        { "Down", kKeyDown },
        { "PageUp", kKeyPageUp },
        { "PageDown", kKeyPageDown },
        { "Home", kKeyHome },
        { "End", kKeyEnd },
        { "Insert", kKeyInsert },
        { "Delete", kKeyDelete },
        { "Space", kKeySpace },
        { "Tab", kKeyTab },
        { "Return", kKeyReturn },
        { "Escape", kKeyEscape },
        { "Back", kKeyBack },
        { "Plus", '+' },
        { "Minus", '-' },
        { "Shift", kKeyShift },
        { "Control", kKeyControl },
    } };

} // namespace

int KeyOfName(std::string_view name)
{
    if (name.size() == 1) {
        const char c = name[0];
        if (c >= 'A' && c <= 'Z')
            return c;
        if (c >= 'a' && c <= 'z')
            return c - 'a' + 'A';
        if (c >= '0' && c <= '9')
            return c;
        return kKeyNone;
    }
    for (const auto& [keyName, key] : kNamedKeys)
        if (keyName == name)
            return key;
    int number = 0;
    if (name.size() >= 2 && name[0] == 'F') {
        const auto [end, ec] = std::from_chars(name.data() + 1, name.data() + name.size(), number);
        if (ec == std::errc() && end == name.data() + name.size() && number >= 1 && number <= 12)
            return kKeyF1 + number - 1;
    }
    if (name.size() == 4 && name.starts_with("Pad") && name[3] >= '0' && name[3] <= '9')
        return kKeyPad0 + (name[3] - '0');
    return kKeyNone;
}

std::optional<Accelerators> Accelerators::Parse(std::string_view text, std::string& error)
{
    Accelerators table;
    const bool read = ForEachResourceLine(text, [&](std::string_view line, int number) {
        std::istringstream words { std::string(line) };
        std::string keys;
        int command = 0;
        std::string rest;
        const auto fail = [&](const std::string& why) {
            error = ResourceLineError(number, why);
            return false;
        };
        if (!(words >> keys >> command) || (words >> rest) || command <= 0)
            return fail("not \"<keys> <command id>\"");
        Entry entry;
        entry.command = command;
        std::size_t start = 0;
        while (true) {
            const auto plus = keys.find('+', start);
            if (plus == std::string::npos || plus == keys.size() - 1)
                break;
            const std::string_view modifier = std::string_view(keys).substr(start, plus - start);
            if (modifier == "Ctrl")
                entry.modifiers.ctrl = true;
            else if (modifier == "Shift")
                entry.modifiers.shift = true;
            else if (modifier == "Alt")
                entry.modifiers.alt = true;
            else
                return fail("unknown modifier " + std::string(modifier));
            start = plus + 1;
        }
        const std::string_view keyName = std::string_view(keys).substr(start);
        entry.key = KeyOfName(keyName);
        if (entry.key == kKeyNone)
            return fail("unknown key " + std::string(keyName));
        entry.character = entry.key == '+' || entry.key == '-';
        table.m_entries.push_back(entry);
        return true;
    });
    if (!read)
        return std::nullopt;
    return table;
}

int Accelerators::Lookup(const KeyEvent& event) const
{
    if (event.kind == KeyKind::Up)
        return 0;
    for (const Entry& entry : m_entries) {
        if (entry.character) {
            // The character itself, whatever shift it took to type it.
            if (event.character == static_cast<char32_t>(entry.key) && event.modifiers.ctrl == entry.modifiers.ctrl
                && event.modifiers.alt == entry.modifiers.alt)
                return entry.command;
            continue;
        }
        if (event.kind != KeyKind::Down || !(event.modifiers == entry.modifiers))
            continue;
        if (event.key == entry.key)
            return entry.command;
    }
    return 0;
}

} // namespace platform::ui
