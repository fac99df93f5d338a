#include "platform/wx/WxWindowFactory.h"

namespace platform::wx {

bool WxWindowFactory::CreateChild(Window& parent, Window& child, const ChildOptions& options)
{
    auto* parentHost = dynamic_cast<WindowHost*>(parent.Host());
    if (!parentHost || ChildHost(child))
        return false;
    auto* host = new WindowHost(child, parentHost->GetServices());
    const Rect& place = options.place;
    // CreateHost destroys the host itself when the child refuses.
    if (!host->CreateHost(parentHost, wxPoint(place.left, place.top),
            wxSize(std::max(place.Width(), 1), std::max(place.Height(), 1))))
        return false;
    host->Show(options.shown);
    m_children[&child] = host;
    return true;
}

void WxWindowFactory::PlaceChild(Window& child, Rect place, bool shown)
{
    if (WindowHost* host = ChildHost(child)) {
        host->SetSize(place.left, place.top, std::max(place.Width(), 1), std::max(place.Height(), 1));
        host->Show(shown);
    }
}

void WxWindowFactory::DestroyChild(Window& child)
{
    if (WindowHost* host = ChildHost(child))
        host->Destroy();
    m_children.erase(&child);
}

WindowHost* WxWindowFactory::ChildHost(const Window& child) const
{
    const auto it = m_children.find(&child);
    return it == m_children.end() ? nullptr : it->second.get();
}

} // namespace platform::wx
