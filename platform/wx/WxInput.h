#pragma once
// The keyboard, pointer and display as wx reports them.

#include <optional>

#include "platform/core/Cursors.h"
#include "platform/core/KeyState.h"
#include "platform/core/Screen.h"

namespace platform::wx {

// The modifiers of the event a host is handling, else the live keyboard.
class WxKeyState final : public KeyState {
public:
    Modifiers Current() const override;
    void SetEventModifiers(std::optional<Modifiers> modifiers) { m_event = modifiers; }
    std::optional<Modifiers> EventModifiers() const { return m_event; }

private:
    std::optional<Modifiers> m_event;
};

// Sets the event's modifiers for the life of the scope (nests).
class EventModifiersScope {
public:
    EventModifiersScope(KeyState& keys, Modifiers modifiers);
    ~EventModifiersScope();
    EventModifiersScope(const EventModifiersScope&) = delete;
    EventModifiersScope& operator=(const EventModifiersScope&) = delete;

private:
    WxKeyState* m_keys;
    std::optional<Modifiers> m_before;
};

class WxCursors final : public Cursors {
public:
    void BeginBusy() override;
    void EndBusy() override;
    int BusyDepth() const override { return m_busy; }
    void Hide() override;
    void Show() override;
    bool IsHidden() const override { return m_hidden; }

private:
    int m_busy = 0;
    bool m_hidden = false;
};

// A wx key code as our Key: letters upper case, keypad digits whatever
// NumLock says.
int KeyOfWxCode(int code);

class WxScreen final : public Screen {
public:
    Size GetSize() const override;
    int Depth() const override;
    Point PointerOnScreen() const override;
};

} // namespace platform::wx
