#pragma once
// The modifier keys: those of the input event being handled, else the live
// state of the keyboard.

namespace platform {

struct Modifiers {
    bool ctrl = false;
    bool alt = false;
    bool shift = false;

    friend bool operator==(Modifiers, Modifiers) = default;
};

class KeyState {
public:
    virtual ~KeyState() = default;
    virtual Modifiers Current() const = 0;

    bool Ctrl() const { return Current().ctrl; }
    bool Alt() const { return Current().alt; }
    bool Shift() const { return Current().shift; }
};

} // namespace platform
