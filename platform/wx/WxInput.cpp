#include "platform/wx/WxInput.h"

#include <wx/cursor.h>
#include <wx/gdicmn.h>
#include <wx/utils.h>
#include <wx/window.h>

namespace platform::wx {

Modifiers WxKeyState::Current() const
{
    if (m_event)
        return *m_event;
    return { wxGetKeyState(WXK_CONTROL), wxGetKeyState(WXK_ALT), wxGetKeyState(WXK_SHIFT) };
}

EventModifiersScope::EventModifiersScope(KeyState& keys, Modifiers modifiers)
    : m_keys(dynamic_cast<WxKeyState*>(&keys))
{
    if (!m_keys)
        return;
    m_before = m_keys->EventModifiers();
    m_keys->SetEventModifiers(modifiers);
}

EventModifiersScope::~EventModifiersScope()
{
    if (m_keys)
        m_keys->SetEventModifiers(m_before);
}

void WxCursors::BeginBusy()
{
    ++m_busy;
    wxBeginBusyCursor();
}

void WxCursors::EndBusy()
{
    if (m_busy == 0)
        return;
    --m_busy;
    wxEndBusyCursor();
}

void WxCursors::Hide()
{
    m_hidden = true;
    wxSetCursor(wxCursor(wxCURSOR_BLANK));
}

void WxCursors::Show()
{
    m_hidden = false;
    wxSetCursor(wxNullCursor);
}

Size WxScreen::GetSize() const
{
    const wxSize size = wxGetDisplaySize();
    return { size.x, size.y };
}

int WxScreen::Depth() const { return wxDisplayDepth(); }

Point WxScreen::PointerOnScreen() const
{
    const wxPoint at = wxGetMousePosition();
    return { at.x, at.y };
}

} // namespace platform::wx
