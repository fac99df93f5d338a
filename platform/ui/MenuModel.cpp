#include "platform/ui/MenuModel.h"

#include <charconv>

#include "platform/ui/XmlTree.h"

namespace platform::ui {

namespace {

    std::optional<int> NumericName(const XmlElement& element)
    {
        const std::string* name = element.Attribute("name");
        if (!name || name->empty())
            return std::nullopt;
        int value = 0;
        const auto [end, ec] = std::from_chars(name->data(), name->data() + name->size(), value);
        if (ec != std::errc() || end != name->data() + name->size() || value <= 0)
            return std::nullopt;
        return value;
    }

    bool ReadMenu(const XmlElement& menu, std::vector<MenuItem>& out, std::string& error)
    {
        for (const XmlElement& child : menu.children) {
            if (child.name != "object")
                continue;
            const std::string* cls = child.Attribute("class");
            if (!cls)
                continue;
            MenuItem item;
            if (*cls == "separator") {
                item.separator = true;
            } else if (*cls == "wxMenu") {
                item.submenu = true;
                item.label = child.ChildText("label");
                if (!ReadMenu(child, item.children, error))
                    return false;
            } else if (*cls == "wxMenuItem") {
                const auto id = NumericName(child);
                if (!id) {
                    error = "menu item without a numeric id: " + child.ChildText("label");
                    return false;
                }
                item.id = *id;
                item.label = child.ChildText("label");
                item.checkable = child.ChildText("checkable") == "1";
            } else {
                continue;
            }
            out.push_back(std::move(item));
        }
        return true;
    }

    void CollectIds(const std::vector<MenuItem>& items, std::vector<int>& ids)
    {
        for (const MenuItem& item : items) {
            if (item.id)
                ids.push_back(item.id);
            CollectIds(item.children, ids);
        }
    }

    MenuItem* FindIn(std::vector<MenuItem>& items, int id)
    {
        for (MenuItem& item : items) {
            if (item.id == id)
                return &item;
            if (MenuItem* found = FindIn(item.children, id))
                return found;
        }
        return nullptr;
    }

} // namespace

std::optional<MenuModel> MenuModel::ParseXrc(std::string_view xrc, std::string_view barName, std::string& error)
{
    const auto root = ParseXml(xrc, error);
    if (!root)
        return std::nullopt;
    const XmlElement* object = root->FindObject("wxMenuBar", barName);
    if (!object) {
        error = "no menu bar named " + std::string(barName);
        return std::nullopt;
    }
    MenuModel model;
    if (!ReadMenu(*object, model.m_top, error))
        return std::nullopt;
    return model;
}

const MenuItem* MenuModel::FindItem(int id) const { return const_cast<MenuModel*>(this)->Find(id); }

MenuItem* MenuModel::Find(int id) { return id > 0 ? FindIn(m_top, id) : nullptr; }

std::vector<int> MenuModel::AllIds() const
{
    std::vector<int> ids;
    CollectIds(m_top, ids);
    return ids;
}

bool MenuModel::SetTopLabel(std::size_t index, std::string label)
{
    if (index >= m_top.size())
        return false;
    if (m_top[index].label != label) {
        m_top[index].label = std::move(label);
        ++m_revision;
    }
    return true;
}

bool MenuModel::SetItemLabel(int id, std::string label)
{
    MenuItem* item = Find(id);
    if (!item)
        return false;
    if (item->label != label) {
        item->label = std::move(label);
        ++m_revision;
    }
    return true;
}

bool MenuModel::ReplaceItem(int id, int newId, std::string label)
{
    MenuItem* item = Find(id);
    if (!item)
        return false;
    if (item->id != newId || item->label != label) {
        item->id = newId;
        item->label = std::move(label);
        ++m_revision;
    }
    return true;
}

} // namespace platform::ui
