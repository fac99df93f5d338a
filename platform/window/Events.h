#pragma once
// The input a window receives from its host: mouse, keys and scroll bars.

#include "platform/core/KeyState.h"
#include "platform/core/Point.h"

namespace platform {

enum class Axis { Horizontal, Vertical };

// What a scroll bar asks for; ThumbTrack while dragging, ThumbPosition on release.
enum class ScrollCode { LineUp, LineDown, PageUp, PageDown, ThumbPosition, ThumbTrack, Top, Bottom, EndScroll };

enum class MouseKind {
    Move,
    LeftDown,
    LeftUp,
    LeftDouble,
    RightDown,
    RightUp,
    RightDouble,
    MiddleDown,
    MiddleUp,
    Wheel,
    Leave,
};

// Buttons held during a mouse event.
enum MouseButtons : unsigned { kMouseLeft = 1, kMouseRight = 2, kMouseMiddle = 4 };

struct MouseEvent {
    MouseKind kind = MouseKind::Move;
    Point point; // client coordinates
    unsigned buttons = 0;
    Modifiers modifiers;
    int wheelDelta = 0; // notches, positive away from the user
};

// Key codes: letters are their upper-case ASCII, digits their ASCII; the
// other keys are numbered from 0x100.
enum Key : int {
    kKeyNone = 0,
    kKeyBack = 8,
    kKeyTab = 9,
    kKeyReturn = 13,
    kKeyEscape = 27,
    kKeySpace = 32,
    kKeyDelete = 127,
    kKeyLeft = 0x100,
    kKeyUp,
    kKeyRight,
    kKeyDown,
    kKeyPageUp,
    kKeyPageDown,
    kKeyHome,
    kKeyEnd,
    kKeyInsert,
    kKeyShift,
    kKeyControl,
    kKeyAlt,
    kKeyF1,
    kKeyF2,
    kKeyF3,
    kKeyF4,
    kKeyF5,
    kKeyF6,
    kKeyF7,
    kKeyF8,
    kKeyF9,
    kKeyF10,
    kKeyF11,
    kKeyF12,
    kKeyPad0,
    kKeyPad1,
    kKeyPad2,
    kKeyPad3,
    kKeyPad4,
    kKeyPad5,
    kKeyPad6,
    kKeyPad7,
    kKeyPad8,
    kKeyPad9,
    kKeyOther,
};

enum class KeyKind { Down, Up, Char };

struct KeyEvent {
    KeyKind kind = KeyKind::Down;
    int key = kKeyNone;
    char32_t character = 0; // Char events
    Modifiers modifiers;
    bool repeat = false;
};

} // namespace platform
