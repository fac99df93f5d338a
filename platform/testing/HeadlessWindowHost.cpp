#include "platform/testing/HeadlessWindowHost.h"

#include "platform/gfx/Blit.h"

namespace platform::testing {

HeadlessWindowHost::HeadlessWindowHost(Window& window, Services& services, Size client, Point screenOrigin)
    : m_window(window)
    , m_services(services)
    , m_client(client)
    , m_origin(screenOrigin)
    , m_screen(client.width, client.height)
{
}

HeadlessWindowHost::~HeadlessWindowHost() { Destroy(); }

bool HeadlessWindowHost::Create()
{
    m_window.AttachHost(this);
    if (m_window.OnCreate() == -1) {
        m_window.AttachHost(nullptr);
        return false;
    }
    m_created = true;
    m_window.OnSize(m_client);
    return true;
}

void HeadlessWindowHost::Destroy()
{
    if (!m_created)
        return;
    m_created = false;
    m_window.OnDestroy();
    m_services.timers.StopAll(m_window);
    m_window.AttachHost(nullptr);
}

void HeadlessWindowHost::Resize(Size client)
{
    gfx::Surface screen(client.width, client.height);
    gfx::Blit(screen, { 0, 0 }, m_screen, m_screen.Bounds());
    m_screen = std::move(screen);
    m_client = client;
    if (m_created)
        m_window.OnSize(client);
}

void HeadlessWindowHost::Present(const gfx::Surface& back, Rect client)
{
    const Rect area = client.Intersect(Rect::FromSize(m_client)).Intersect(back.Bounds());
    if (area.IsEmpty())
        return;
    gfx::Blit(m_screen, area.TopLeft(), back, area);
    m_presents.push_back(area);
    if (m_blocking > 0)
        Update();
}

void HeadlessWindowHost::ScrollClient(int dx, int dy)
{
    gfx::Blit(m_screen, { dx, dy }, m_screen, m_screen.Bounds());
    m_scrolls.push_back({ dx, dy });
}

void HeadlessWindowHost::SetScrollBar(Axis axis, int maximum, int position, bool shown)
{
    m_bars[axis == Axis::Horizontal ? 0 : 1] = { maximum, position, shown };
}

} // namespace platform::testing
