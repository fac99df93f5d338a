#include "platform/testing/HeadlessFrameHost.h"

#include "platform/ui/Accelerators.h"

namespace platform::testing {

HeadlessFrameHost::HeadlessFrameHost(ui::FrameWindow& logic, Services& services, Size client)
    : m_logic(logic)
    , m_services(services)
    , m_size(client)
{
}

HeadlessFrameHost::~HeadlessFrameHost()
{
    *m_alive = false;
    DestroyFrame();
}

bool HeadlessFrameHost::Create()
{
    m_logic.AttachHost(this);
    m_created = true;
    if (m_logic.OnCreate() == -1) {
        m_created = false;
        m_children.clear();
        m_logic.AttachHost(nullptr);
        return false;
    }
    m_logic.OnSize(ClientSize());
    return true;
}

void HeadlessFrameHost::PostFirstShow()
{
    std::weak_ptr<bool> alive = m_alive;
    m_services.dispatcher.Post([this, alive] {
        if (auto a = alive.lock(); a && *a && m_created)
            m_logic.RunFirstShow();
    });
}

void HeadlessFrameHost::Resize(Size client)
{
    m_size = client;
    if (m_created)
        m_logic.OnSize(ClientSize());
}

bool HeadlessFrameHost::Command(int id)
{
    if (!m_created || !m_logic.QueryCommand(id).enabled)
        return false;
    return m_logic.ExecuteCommand(id);
}

int HeadlessFrameHost::Key(const KeyEvent& key)
{
    const ui::Accelerators* table = m_logic.GetAccelerators();
    const int command = table ? table->Lookup(key) : 0;
    if (command == 0)
        return 0;
    Command(command);
    return command;
}

int HeadlessFrameHost::DockedHeight(ui::ChildDock dock) const
{
    int height = 0;
    for (const auto& [window, child] : m_children)
        if (child.dock == dock && child.shown)
            height += child.place.Height();
    return height;
}

Size HeadlessFrameHost::ClientSize() const
{
    return { m_size.width,
        std::max(0, m_size.height - DockedHeight(ui::ChildDock::Top) - DockedHeight(ui::ChildDock::Bottom)) };
}

void HeadlessFrameHost::ShowMenuBar(bool shown)
{
    if (shown && !m_menuShown)
        ++m_menuRebuilds;
    m_menuShown = shown;
}

void HeadlessFrameHost::MenuChanged()
{
    if (m_menuShown)
        ++m_menuRebuilds;
}

bool HeadlessFrameHost::CreateChild(Window& child, ui::ChildDock dock, Rect place, bool shown)
{
    if (dock != ui::ChildDock::Client)
        place = Rect { 0, 0, m_size.width, place.Height() };
    auto host = std::make_unique<HeadlessWindowHost>(child, m_services, place.GetSize(), place.TopLeft());
    if (!host->Create())
        return false;
    m_children[&child] = Child { std::move(host), dock, place, shown, {} };
    return true;
}

void HeadlessFrameHost::PlaceChild(Window& child, Rect place, bool shown)
{
    const auto it = m_children.find(&child);
    if (it == m_children.end())
        return;
    if (it->second.dock != ui::ChildDock::Client)
        place = Rect { 0, 0, m_size.width, place.Height() };
    it->second.shown = shown;
    if (!(it->second.place == place)) {
        it->second.place = place;
        if (place.Width() > 0 && place.Height() > 0)
            it->second.host->Resize(place.GetSize());
    }
}

void HeadlessFrameHost::SetToolTip(Window& child, const std::string& text)
{
    const auto it = m_children.find(&child);
    if (it != m_children.end())
        it->second.toolTip = text;
}

void HeadlessFrameHost::PostClose()
{
    ++m_posted;
    std::weak_ptr<bool> alive = m_alive;
    m_services.dispatcher.Post([this, alive] {
        if (auto a = alive.lock(); a && *a && m_created)
            m_logic.RequestClose();
    });
}

void HeadlessFrameHost::DestroyFrame()
{
    if (!m_created)
        return;
    m_created = false;
    m_destroyed = true;
    m_logic.OnDestroy();
    for (auto& [window, child] : m_children)
        child.host->Destroy();
    m_children.clear();
    m_logic.AttachHost(nullptr);
}

const HeadlessFrameHost::Child* HeadlessFrameHost::Find(const Window& child) const
{
    const auto it = m_children.find(&child);
    return it == m_children.end() ? nullptr : &it->second;
}

HeadlessWindowHost* HeadlessFrameHost::ChildHost(const Window& child) const
{
    const Child* c = Find(child);
    return c ? c->host.get() : nullptr;
}

Rect HeadlessFrameHost::ChildPlace(const Window& child) const
{
    const Child* c = Find(child);
    return c ? c->place : Rect {};
}

bool HeadlessFrameHost::IsChildShown(const Window& child) const
{
    const Child* c = Find(child);
    return c && c->shown;
}

std::string HeadlessFrameHost::ToolTip(const Window& child) const
{
    const Child* c = Find(child);
    return c ? c->toolTip : std::string();
}

} // namespace platform::testing
