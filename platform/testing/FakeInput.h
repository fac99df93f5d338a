#pragma once
// Settable stand-ins for the keyboard, the pointer and the display.

#include "platform/core/Cursors.h"
#include "platform/core/KeyState.h"
#include "platform/core/Screen.h"

namespace platform::testing {

class FakeKeyState final : public KeyState {
public:
    Modifiers Current() const override { return m_modifiers; }
    void Set(Modifiers modifiers) { m_modifiers = modifiers; }

private:
    Modifiers m_modifiers;
};

class FakeCursors final : public Cursors {
public:
    void BeginBusy() override { ++m_busy; }
    void EndBusy() override
    {
        if (m_busy > 0)
            --m_busy;
    }
    int BusyDepth() const override { return m_busy; }
    void Hide() override { m_hidden = true; }
    void Show() override { m_hidden = false; }
    bool IsHidden() const override { return m_hidden; }

private:
    int m_busy = 0;
    bool m_hidden = false;
};

class FakeScreen final : public Screen {
public:
    Size GetSize() const override { return m_size; }
    int Depth() const override { return m_depth; }
    Point PointerOnScreen() const override { return m_pointer; }

    void SetSize(Size size) { m_size = size; }
    void SetDepth(int depth) { m_depth = depth; }
    void SetPointer(Point pointer) { m_pointer = pointer; }

private:
    Size m_size { 1280, 1024 };
    int m_depth = 24;
    Point m_pointer;
};

} // namespace platform::testing
