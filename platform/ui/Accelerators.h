#pragma once
// The program's key table ("ProgramAccel"), looked up by the frame before
// the focused window sees a key, so keys work with the menu bar detached.
// One "<keys> <command id>" line each: modifiers joined by '+' before the key
// ("Ctrl+Shift+F 1511"); keys are letters, digits, F1-F12, Left, Right, Up,
// Down, PageUp, PageDown, Home, End, Insert, Delete, Space, Tab, Return,
// Escape, Back, Pad0-Pad9 (a keypad digit whatever NumLock says), Plus and
// Minus (the characters, from either keyboard).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window/Events.h"

namespace platform::ui {

class Accelerators {
public:
    struct Entry {
        int key = kKeyNone; // Key code, or the character for Plus and Minus
        bool character = false;
        Modifiers modifiers;
        int command = 0;
    };

    static std::optional<Accelerators> Parse(std::string_view text, std::string& error);

    // The command of a key-down (or, for Plus and Minus, its character);
    // 0 when the key has none.
    int Lookup(const KeyEvent& event) const;
    const std::vector<Entry>& Entries() const { return m_entries; }

private:
    std::vector<Entry> m_entries;
};

// A key name of the table to its code; kKeyNone when unknown.
int KeyOfName(std::string_view name);

} // namespace platform::ui
