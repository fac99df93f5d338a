#include "platform/wx/WindowHost.h"

#include <wx/dcclient.h>
#include <wx/event.h>
#include <wx/toplevel.h>

#include <cairo.h>

#include "platform/core/Cursors.h"
#include "platform/gfx/Blit.h"
#include "platform/wx/WxInput.h"

namespace platform::wx {

namespace {

    Modifiers ModifiersOf(const wxKeyboardState& state)
    {
        return { state.ControlDown(), state.AltDown(), state.ShiftDown() };
    }

} // namespace

int KeyOfWxCode(int code)
{
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
        return code;
    if (code >= 'a' && code <= 'z')
        return code - 'a' + 'A';
    switch (code) {
    case WXK_BACK:
        return kKeyBack;
    case WXK_TAB:
        return kKeyTab;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        return kKeyReturn;
    case WXK_ESCAPE:
        return kKeyEscape;
    case WXK_SPACE:
        return kKeySpace;
    case WXK_DELETE:
        return kKeyDelete;
    case WXK_LEFT:
        return kKeyLeft;
    case WXK_UP:
        return kKeyUp;
    case WXK_RIGHT:
        return kKeyRight;
    case WXK_DOWN:
        return kKeyDown;
    case WXK_PAGEUP:
        return kKeyPageUp;
    case WXK_PAGEDOWN:
        return kKeyPageDown;
    case WXK_HOME:
        return kKeyHome;
    case WXK_END:
        return kKeyEnd;
    case WXK_INSERT:
        return kKeyInsert;
    case WXK_SHIFT:
        return kKeyShift;
    case WXK_CONTROL:
        return kKeyControl;
    case WXK_ALT:
        return kKeyAlt;
    // A keypad key is its digit whatever NumLock says.
    case WXK_NUMPAD_INSERT:
        return kKeyPad0;
    case WXK_NUMPAD_END:
        return kKeyPad1;
    case WXK_NUMPAD_DOWN:
        return kKeyPad2;
    case WXK_NUMPAD_PAGEDOWN:
        return kKeyPad3;
    case WXK_NUMPAD_LEFT:
        return kKeyPad4;
    case WXK_NUMPAD_BEGIN:
        return kKeyPad5;
    case WXK_NUMPAD_RIGHT:
        return kKeyPad6;
    case WXK_NUMPAD_HOME:
        return kKeyPad7;
    case WXK_NUMPAD_UP:
        return kKeyPad8;
    case WXK_NUMPAD_PAGEUP:
        return kKeyPad9;
    default:
        break;
    }
    if (code >= WXK_F1 && code <= WXK_F12)
        return kKeyF1 + (code - WXK_F1);
    if (code >= WXK_NUMPAD0 && code <= WXK_NUMPAD9)
        return kKeyPad0 + (code - WXK_NUMPAD0);
    if (code > 32 && code < 127)
        return code;
    return kKeyOther;
}

WindowHost::WindowHost(Window& window, Services& services)
    : m_window(window)
    , m_services(services)
{
}

WindowHost::~WindowHost() { Unbind(); }

bool WindowHost::CreateHost(wxWindow* parent, wxPoint at, wxSize size)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (!wxWindow::Create(parent, wxID_ANY, at, size, wxHSCROLL | wxVSCROLL | wxWANTS_CHARS | wxBORDER_NONE))
        return false;
    Bind(wxEVT_PAINT, &WindowHost::OnPaintEvent, this);
    Bind(wxEVT_SIZE, &WindowHost::OnSizeEvent, this);
    for (auto type :
        { wxEVT_MOTION, wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK, wxEVT_RIGHT_DOWN, wxEVT_RIGHT_UP,
            wxEVT_RIGHT_DCLICK, wxEVT_MIDDLE_DOWN, wxEVT_MIDDLE_UP, wxEVT_MOUSEWHEEL, wxEVT_LEAVE_WINDOW })
        Bind(type, &WindowHost::OnMouseEvent, this);
    Bind(wxEVT_KEY_DOWN, &WindowHost::OnKeyEvent, this);
    Bind(wxEVT_KEY_UP, &WindowHost::OnKeyEvent, this);
    Bind(wxEVT_CHAR, &WindowHost::OnKeyEvent, this);
    for (auto type : { wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM, wxEVT_SCROLLWIN_LINEUP, wxEVT_SCROLLWIN_LINEDOWN,
             wxEVT_SCROLLWIN_PAGEUP, wxEVT_SCROLLWIN_PAGEDOWN, wxEVT_SCROLLWIN_THUMBTRACK,
             wxEVT_SCROLLWIN_THUMBRELEASE })
        Bind(type, &WindowHost::OnScrollEvent, this);

    const Size client = ClientSize();
    m_front.Reset(client.width, client.height);
    m_window.AttachHost(this);
    m_bound = true;
    if (m_window.OnCreate() == -1) {
        m_bound = false;
        m_window.AttachHost(nullptr);
        wxWindow::Destroy();
        return false;
    }
    m_window.OnSize(client);
    return true;
}

void WindowHost::Unbind()
{
    if (!m_bound)
        return;
    m_bound = false;
    m_window.OnDestroy();
    m_services.timers.StopAll(m_window);
    m_window.AttachHost(nullptr);
}

Size WindowHost::ClientSize() const
{
    const wxSize size = GetClientSize();
    return { std::max(size.x, 0), std::max(size.y, 0) };
}

Point WindowHost::ClientToScreen(Point client) const
{
    const wxPoint at = wxWindow::ClientToScreen(wxPoint(client.x, client.y));
    return { at.x, at.y };
}

bool WindowHost::IsParentMinimised() const
{
    const wxTopLevelWindow* top
        = dynamic_cast<const wxTopLevelWindow*>(wxGetTopLevelParent(const_cast<WindowHost*>(this)));
    return top && top->IsIconized();
}

void WindowHost::Present(const gfx::Surface& back, Rect client)
{
    const Rect area = client.Intersect(m_front.Bounds()).Intersect(back.Bounds());
    if (area.IsEmpty())
        return;
    gfx::Blit(m_front, area.TopLeft(), back, area);
    RefreshRect(wxRect(area.left, area.top, area.Width(), area.Height()), false);
    if (m_blocking > 0)
        Update();
}

void WindowHost::ScrollClient(int dx, int dy)
{
    gfx::Blit(m_front, { dx, dy }, m_front, m_front.Bounds());
    Refresh(false);
}

void WindowHost::SetScrollBar(Axis axis, int maximum, int position, bool shown)
{
    const int orientation = axis == Axis::Horizontal ? wxHORIZONTAL : wxVERTICAL;
    if (!shown || maximum <= 0)
        SetScrollbar(orientation, 0, 0, 0);
    else
        SetScrollbar(orientation, position, 1, maximum + 1);
}

void WindowHost::SetCursorKind(int kind)
{
    if (kind == m_cursorKind)
        return;
    m_cursorKind = kind;
    SetCursor(wxCursor(kind == kCursorCross ? wxCURSOR_CROSS : kind == kCursorHand ? wxCURSOR_HAND : wxCURSOR_ARROW));
}

void WindowHost::OnPaintEvent(wxPaintEvent&)
{
    wxPaintDC dc(this);
    auto* cairo = static_cast<cairo_t*>(dc.GetImpl()->GetCairoContext());
    if (!cairo || m_front.IsEmpty())
        return;
    // Our pixels are cairo's RGB24: shown as they are, no conversion.
    cairo_surface_t* picture = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<gfx::Pixel*>(m_front.Pixels().data())), CAIRO_FORMAT_RGB24,
        m_front.Width(), m_front.Height(), m_front.Width() * int(sizeof(gfx::Pixel)));
    cairo_save(cairo);
    cairo_set_operator(cairo, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cairo, picture, 0, 0);
    cairo_paint(cairo);
    cairo_restore(cairo);
    cairo_surface_destroy(picture);
}

void WindowHost::OnSizeEvent(wxSizeEvent& event)
{
    event.Skip();
    const Size client = ClientSize();
    if (client == m_front.GetSize())
        return;
    gfx::Surface front(client.width, client.height);
    gfx::Blit(front, { 0, 0 }, m_front, m_front.Bounds());
    m_front = std::move(front);
    if (m_bound)
        m_window.OnSize(client);
}

void WindowHost::OnMouseEvent(wxMouseEvent& event)
{
    event.Skip();
    if (!m_bound)
        return;
    MouseEvent mouse;
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_LEFT_DOWN)
        mouse.kind = MouseKind::LeftDown;
    else if (type == wxEVT_LEFT_UP)
        mouse.kind = MouseKind::LeftUp;
    else if (type == wxEVT_LEFT_DCLICK)
        mouse.kind = MouseKind::LeftDouble;
    else if (type == wxEVT_RIGHT_DOWN)
        mouse.kind = MouseKind::RightDown;
    else if (type == wxEVT_RIGHT_UP)
        mouse.kind = MouseKind::RightUp;
    else if (type == wxEVT_RIGHT_DCLICK)
        mouse.kind = MouseKind::RightDouble;
    else if (type == wxEVT_MIDDLE_DOWN)
        mouse.kind = MouseKind::MiddleDown;
    else if (type == wxEVT_MIDDLE_UP)
        mouse.kind = MouseKind::MiddleUp;
    else if (type == wxEVT_MOUSEWHEEL)
        mouse.kind = MouseKind::Wheel;
    else if (type == wxEVT_LEAVE_WINDOW)
        mouse.kind = MouseKind::Leave;
    if (mouse.kind == MouseKind::LeftDown || mouse.kind == MouseKind::RightDown || mouse.kind == MouseKind::LeftDouble
        || mouse.kind == MouseKind::RightDouble)
        SetFocus();
    mouse.point = { event.GetX(), event.GetY() };
    mouse.buttons = (event.LeftIsDown() ? kMouseLeft : 0u) | (event.RightIsDown() ? kMouseRight : 0u)
        | (event.MiddleIsDown() ? kMouseMiddle : 0u);
    mouse.modifiers = ModifiersOf(event);
    if (mouse.kind == MouseKind::Wheel && event.GetWheelDelta() != 0)
        mouse.wheelDelta = event.GetWheelRotation() / event.GetWheelDelta();
    EventModifiersScope scope(m_services.keys, mouse.modifiers);
    m_window.OnMouse(mouse);
}

void WindowHost::OnKeyEvent(wxKeyEvent& event)
{
    event.Skip();
    if (!m_bound)
        return;
    KeyEvent key;
    const wxEventType type = event.GetEventType();
    key.kind = type == wxEVT_KEY_DOWN ? KeyKind::Down : type == wxEVT_KEY_UP ? KeyKind::Up : KeyKind::Char;
    key.key = KeyOfWxCode(event.GetKeyCode());
    if (key.kind == KeyKind::Char)
        key.character = char32_t(event.GetUnicodeKey() != WXK_NONE ? event.GetUnicodeKey() : 0);
    key.modifiers = ModifiersOf(event);
    // wxGTK leaves the auto-repeat flag of its key events unset: a key
    // pressed again without being released is a repeat.
    if (key.kind == KeyKind::Down)
        key.repeat = !m_keysDown.insert(key.key).second;
    else if (key.kind == KeyKind::Up)
        m_keysDown.erase(key.key);
    EventModifiersScope scope(m_services.keys, key.modifiers);
    m_window.OnKey(key);
}

void WindowHost::OnScrollEvent(wxScrollWinEvent& event)
{
    if (!m_bound)
        return;
    const wxEventType type = event.GetEventType();
    ScrollCode code = ScrollCode::EndScroll;
    if (type == wxEVT_SCROLLWIN_TOP)
        code = ScrollCode::Top;
    else if (type == wxEVT_SCROLLWIN_BOTTOM)
        code = ScrollCode::Bottom;
    else if (type == wxEVT_SCROLLWIN_LINEUP)
        code = ScrollCode::LineUp;
    else if (type == wxEVT_SCROLLWIN_LINEDOWN)
        code = ScrollCode::LineDown;
    else if (type == wxEVT_SCROLLWIN_PAGEUP)
        code = ScrollCode::PageUp;
    else if (type == wxEVT_SCROLLWIN_PAGEDOWN)
        code = ScrollCode::PageDown;
    else if (type == wxEVT_SCROLLWIN_THUMBTRACK)
        code = ScrollCode::ThumbTrack;
    else if (type == wxEVT_SCROLLWIN_THUMBRELEASE)
        code = ScrollCode::ThumbPosition;
    const Axis axis = event.GetOrientation() == wxHORIZONTAL ? Axis::Horizontal : Axis::Vertical;
    m_window.OnScroll(axis, code, event.GetPosition());
    if (code == ScrollCode::ThumbPosition)
        m_window.OnScroll(axis, ScrollCode::EndScroll, event.GetPosition());
}

} // namespace platform::wx
