#include "platform/testing/HeadlessWindowFactory.h"

#include <vector>

namespace platform::testing {

bool HeadlessWindowFactory::CreateChild(Window& parent, Window& child, const ChildOptions& options)
{
    IWindowHost* parentHost = parent.Host();
    if (!parentHost || m_children.count(&child) > 0)
        return false;
    auto host = std::make_unique<HeadlessWindowHost>(
        child, parentHost->GetServices(), options.place.GetSize(), parentHost->ClientToScreen(options.place.TopLeft()));
    if (!host->Create())
        return false;
    m_children[&child] = Child { std::move(host), &child, &parent, options.place, options.shown };
    return true;
}

void HeadlessWindowFactory::PlaceChild(Window& child, Rect place, bool shown)
{
    const auto it = m_children.find(&child);
    if (it == m_children.end())
        return;
    it->second.shown = shown;
    if (!(it->second.place == place)) {
        it->second.place = place;
        it->second.host->Resize(place.GetSize());
    }
}

void HeadlessWindowFactory::DestroyChild(Window& child)
{
    const auto it = m_children.find(&child);
    if (it == m_children.end())
        return;
    // Children of the child go first, as their windows would.
    std::vector<Window*> grandChildren;
    for (const auto& [window, c] : m_children)
        if (c.parent == &child)
            grandChildren.push_back(c.window);
    for (Window* grandChild : grandChildren)
        DestroyChild(*grandChild);
    m_children.erase(&child);
}

HeadlessWindowHost* HeadlessWindowFactory::ChildHost(const Window& child) const
{
    const auto it = m_children.find(&child);
    return it == m_children.end() ? nullptr : it->second.host.get();
}

Rect HeadlessWindowFactory::ChildPlace(const Window& child) const
{
    const auto it = m_children.find(&child);
    return it == m_children.end() ? Rect {} : it->second.place;
}

bool HeadlessWindowFactory::IsChildShown(const Window& child) const
{
    const auto it = m_children.find(&child);
    return it != m_children.end() && it->second.shown;
}

const Window* HeadlessWindowFactory::Parent(const Window& child) const
{
    const auto it = m_children.find(&child);
    return it == m_children.end() ? nullptr : it->second.parent;
}

} // namespace platform::testing
