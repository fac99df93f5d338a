#include "platform/wx/FrameHost.h"

#include <wx/app.h>
#include <wx/display.h>
#include <wx/icon.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include "platform/ui/Accelerators.h"
#include "platform/ui/MenuModel.h"
#include "platform/wx/WindowHost.h"
#include "platform/wx/WxInput.h"

namespace platform::wx {

namespace {

    long FrameStyle(bool decorated) { return decorated ? wxDEFAULT_FRAME_STYLE : (wxBORDER_NONE | wxCLIP_CHILDREN); }

    wxMenu* BuildMenu(const std::vector<ui::MenuItem>& items)
    {
        auto* menu = new wxMenu;
        for (const ui::MenuItem& item : items) {
            if (item.separator)
                menu->AppendSeparator();
            else if (item.submenu)
                menu->AppendSubMenu(BuildMenu(item.children), wxString::FromUTF8(item.label));
            else
                menu->Append(item.id, wxString::FromUTF8(item.label), wxEmptyString,
                    item.checkable ? wxITEM_CHECK : wxITEM_NORMAL);
        }
        return menu;
    }

} // namespace

FrameHost::FrameHost(ui::FrameWindow& logic, Services& services)
    : m_logic(logic)
    , m_services(services)
    , m_alive(std::make_shared<bool>(true))
{
}

FrameHost::~FrameHost()
{
    *m_alive = false;
    if (m_bound) {
        m_bound = false;
        m_logic.OnDestroy();
        m_logic.AttachHost(nullptr);
    }
}

bool FrameHost::CreateFrame(const std::string& title, bool decorated)
{
    const wxSize screen = wxGetDisplaySize();
    m_decorated = decorated;
    if (!wxFrame::Create(nullptr, wxID_ANY, wxString::FromUTF8(title), wxPoint(0, 0), screen, FrameStyle(decorated)))
        return false;
    Bind(wxEVT_MENU, &FrameHost::OnMenuEvent, this);
    Bind(wxEVT_MENU_OPEN, &FrameHost::OnMenuOpen, this);
    Bind(wxEVT_MENU_HIGHLIGHT, &FrameHost::OnMenuHighlight, this);
    Bind(wxEVT_CLOSE_WINDOW, &FrameHost::OnCloseEvent, this);
    Bind(wxEVT_ACTIVATE, &FrameHost::OnActivateEvent, this);
    Bind(wxEVT_SIZE, &FrameHost::OnSizeEvent, this);
    Bind(wxEVT_CHAR_HOOK, &FrameHost::OnCharHook, this);
    m_logic.AttachHost(this);
    m_bound = true;
    if (m_logic.OnCreate() == -1) {
        m_bound = false;
        m_logic.AttachHost(nullptr);
        wxFrame::Destroy();
        return false;
    }
    // The first show runs once, posted: a frame covered by its children may
    // never get a paint.
    std::weak_ptr<bool> alive = m_alive;
    m_services.dispatcher.Post([this, alive] {
        if (auto a = alive.lock(); a && *a && m_bound)
            m_logic.RunFirstShow();
    });
    return true;
}

WindowHost* FrameHost::ChildHost(const Window& child) const
{
    for (const Child& c : m_children)
        if (c.logic == &child)
            return c.host;
    return nullptr;
}

FrameHost::Child* FrameHost::Find(const Window& child)
{
    for (Child& c : m_children)
        if (c.logic == &child)
            return &c;
    return nullptr;
}

int FrameHost::TopHeight() const
{
    int height = 0;
    for (const Child& c : m_children)
        if (c.dock == ui::ChildDock::Top && c.shown)
            height += c.place.Height();
    return height;
}

Size FrameHost::ClientSize() const
{
    const wxSize client = GetClientSize();
    return { client.GetWidth(), std::max(0, client.GetHeight() - TopHeight()) };
}

void FrameHost::SetTitle(const std::string& title) { wxFrame::SetTitle(wxString::FromUTF8(title)); }

void FrameHost::ShowMenuBar(bool shown)
{
    m_menuShown = shown;
    if (!shown) {
        if (wxMenuBar* bar = GetMenuBar()) {
            SetMenuBar(nullptr);
            delete bar;
        }
        m_menuRevision = -1;
        return;
    }
    RebuildMenuBar();
}

void FrameHost::MenuChanged()
{
    if (m_menuShown)
        RebuildMenuBar();
}

void FrameHost::RebuildMenuBar()
{
    const ui::MenuModel* model = m_logic.GetMenu();
    if (!model)
        return;
    if (GetMenuBar() && m_menuRevision == model->Revision())
        return;
    auto* bar = new wxMenuBar;
    for (const ui::MenuItem& top : model->TopMenus())
        bar->Append(BuildMenu(top.children), wxString::FromUTF8(top.label));
    wxMenuBar* old = GetMenuBar();
    SetMenuBar(bar);
    delete old;
    m_menuRevision = model->Revision();
}

void FrameHost::SetDecorated(bool decorated)
{
    if (decorated == m_decorated)
        return;
    m_decorated = decorated;
    // GTK may ignore a decoration change on a shown window.
    const bool shown = IsShown();
    Hide();
    SetWindowStyleFlag(FrameStyle(decorated));
    SetSize(wxRect(wxPoint(0, 0), wxGetDisplaySize()));
    if (shown)
        Show();
}

bool FrameHost::CreateChild(Window& child, ui::ChildDock dock, Rect place, bool shown)
{
    auto* host = new WindowHost(child, m_services);
    wxWindow* parent = this;
    if (dock == ui::ChildDock::Bottom) {
        m_statusBar = new wxStatusBar(this, wxID_ANY, 0);
        m_statusBar->SetFieldsCount(1);
        m_statusBar->SetMinHeight(place.Height());
        SetStatusBar(m_statusBar);
        m_statusBar->Bind(wxEVT_SIZE, &FrameHost::OnStatusBarSize, this);
        parent = m_statusBar;
        place = Rect { 0, 0, m_statusBar->GetClientSize().GetWidth(), place.Height() };
    }
    if (!host->CreateHost(
            parent, wxPoint(place.left, place.top), wxSize(std::max(place.Width(), 1), std::max(place.Height(), 1))))
        return false;
    host->Show(shown);
    m_children.push_back({ &child, host, dock, place, shown });
    LayoutChildren();
    return true;
}

void FrameHost::PlaceChild(Window& child, Rect place, bool shown)
{
    if (Child* c = Find(child)) {
        c->place = place;
        c->shown = shown;
        LayoutChildren();
    }
}

void FrameHost::SetToolTip(Window& child, const std::string& text)
{
    if (Child* c = Find(child))
        c->host->SetToolTip(wxString::FromUTF8(text));
}

void FrameHost::SetIcon(const std::string& pictureFile)
{
    const auto path = m_services.assets.Resolve(pictureFile);
    if (!path)
        return;
    wxImage image;
    if (!image.LoadFile(wxString::FromUTF8(path->string()), wxBITMAP_TYPE_BMP))
        return;
    // Our pictures key on their top-left pixel.
    image.SetMaskColour(image.GetRed(0, 0), image.GetGreen(0, 0), image.GetBlue(0, 0));
    wxIcon icon;
    icon.CopyFromBitmap(wxBitmap(image));
    wxFrame::SetIcon(icon);
}

void FrameHost::PostClose()
{
    std::weak_ptr<bool> alive = m_alive;
    m_services.dispatcher.Post([this, alive] {
        if (auto a = alive.lock(); a && *a)
            Close();
    });
}

void FrameHost::DestroyFrame()
{
    if (m_destroying)
        return;
    m_destroying = true;
    if (m_bound) {
        m_bound = false;
        m_logic.OnDestroy();
    }
    // Children go with their logic still alive; the frame itself later.
    for (Child& c : m_children)
        c.host->Destroy();
    m_children.clear();
    m_logic.AttachHost(nullptr);
    wxFrame::Destroy();
}

void FrameHost::Beep() { wxBell(); }

void FrameHost::DoGiveHelp(const wxString& /*text*/, bool show)
{
    if (!show && m_bound)
        m_logic.OnMenuHelp(0);
}

void FrameHost::OnMenuEvent(wxCommandEvent& event)
{
    if (!m_bound)
        return;
    const ui::CmdUI state = m_logic.QueryCommand(event.GetId());
    if (state.enabled)
        m_logic.ExecuteCommand(event.GetId());
}

void FrameHost::OnMenuOpen(wxMenuEvent& event)
{
    if (m_bound)
        UpdateMenu(event.GetMenu());
}

void FrameHost::UpdateMenu(wxMenu* menu)
{
    if (!menu)
        return;
    for (wxMenuItem* item : menu->GetMenuItems()) {
        if (item->IsSeparator())
            continue;
        if (item->IsSubMenu()) {
            UpdateMenu(item->GetSubMenu());
            continue;
        }
        const ui::CmdUI state = m_logic.QueryCommand(item->GetId());
        item->Enable(state.enabled);
        if (item->IsCheckable())
            item->Check(state.checked);
        if (state.text)
            item->SetItemLabel(wxString::FromUTF8(*state.text));
    }
}

void FrameHost::OnMenuHighlight(wxMenuEvent& event)
{
    if (m_bound)
        m_logic.OnMenuHelp(event.GetMenuId() > 0 ? event.GetMenuId() : 0);
}

void FrameHost::OnCloseEvent(wxCloseEvent& event)
{
    if (!m_bound) {
        event.Skip();
        return;
    }
    // The logic decides: it destroys the window or keeps it open.
    if (event.CanVeto())
        event.Veto();
    m_logic.RequestClose();
    if (!event.CanVeto() && !m_destroying)
        DestroyFrame();
}

void FrameHost::OnActivateEvent(wxActivateEvent& event)
{
    event.Skip();
    if (m_bound)
        m_logic.OnActivate(event.GetActive());
}

void FrameHost::OnSizeEvent(wxSizeEvent& event)
{
    event.Skip();
    if (!m_bound)
        return;
    if (m_statusBar)
        PositionStatusBar();
    LayoutChildren();
    if (!IsIconized())
        m_logic.OnSize(ClientSize());
}

void FrameHost::OnStatusBarSize(wxSizeEvent& event)
{
    event.Skip();
    for (Child& c : m_children)
        if (c.dock == ui::ChildDock::Bottom)
            c.host->SetSize(0, 0, m_statusBar->GetClientSize().GetWidth(), m_statusBar->GetClientSize().GetHeight());
}

void FrameHost::LayoutChildren()
{
    const wxSize client = GetClientSize();
    int top = 0;
    for (Child& c : m_children) {
        if (c.dock == ui::ChildDock::Top) {
            c.host->SetSize(0, top, client.GetWidth(), std::max(c.place.Height(), 1));
            c.host->Show(c.shown);
            if (c.shown)
                top += c.place.Height();
        }
    }
    for (Child& c : m_children) {
        if (c.dock == ui::ChildDock::Client) {
            c.host->SetSize(
                c.place.left, c.place.top + top, std::max(c.place.Width(), 1), std::max(c.place.Height(), 1));
            c.host->Show(c.shown && c.place.Width() > 0 && c.place.Height() > 0);
        } else if (c.dock == ui::ChildDock::Bottom && m_statusBar) {
            c.host->SetSize(0, 0, m_statusBar->GetClientSize().GetWidth(), m_statusBar->GetClientSize().GetHeight());
        }
    }
}

void FrameHost::OnCharHook(wxKeyEvent& event)
{
    const ui::Accelerators* table = m_logic.GetAccelerators();
    if (!m_bound || !table) {
        event.Skip();
        return;
    }
    KeyEvent key;
    key.kind = KeyKind::Down;
    key.key = KeyOfWxCode(event.GetKeyCode());
    key.character = event.GetUnicodeKey() != WXK_NONE ? static_cast<char32_t>(event.GetUnicodeKey()) : 0;
    key.modifiers = { event.ControlDown(), event.AltDown(), event.ShiftDown() };
    int command = table->Lookup(key);
    if (command == 0 && (event.GetKeyCode() == WXK_NUMPAD_ADD || event.GetKeyCode() == WXK_NUMPAD_SUBTRACT)) {
        key.character = event.GetKeyCode() == WXK_NUMPAD_ADD ? U'+' : U'-';
        command = table->Lookup(key);
    }
    if (command == 0) {
        event.Skip();
        return;
    }
    EventModifiersScope scope(m_services.keys, key.modifiers);
    if (m_logic.QueryCommand(command).enabled)
        m_logic.ExecuteCommand(command);
}

} // namespace platform::wx
