#pragma once
// The menu bar as data: read from the program's menu resource (XRC, item
// names are the numeric command ids), relabelled and re-numbered by the
// frame, shown by the host. Every change bumps the revision, so the host
// knows when to rebuild the toolkit's menus.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::ui {

struct MenuItem {
    int id = 0; // 0 for separators and submenus
    std::string label;
    bool checkable = false;
    bool separator = false;
    bool submenu = false;
    std::vector<MenuItem> children;
};

class MenuModel {
public:
    // The menu bar of that name in the XRC text; nothing with the reason.
    static std::optional<MenuModel> ParseXrc(std::string_view xrc, std::string_view barName, std::string& error);

    const std::vector<MenuItem>& TopMenus() const { return m_top; }
    const MenuItem* FindItem(int id) const;
    // Every command id in menu order.
    std::vector<int> AllIds() const;
    // False when the index or id is unknown.
    bool SetTopLabel(std::size_t index, std::string label);
    bool SetItemLabel(int id, std::string label);
    // The item takes a new id and label (the turn menu's Next Turn / Next).
    bool ReplaceItem(int id, int newId, std::string label);
    int Revision() const { return m_revision; }

private:
    MenuItem* Find(int id);
    std::vector<MenuItem> m_top;
    int m_revision = 0;
};

} // namespace platform::ui
