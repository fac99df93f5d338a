#pragma once
// Menu commands of a frame layer, in our own table: each layer runs the ids
// it knows and asks its base for the others, so the most-derived layer wins.
// An id no layer knows shows disabled.

#include <optional>
#include <span>
#include <string>

namespace platform::ui {

// What a menu item or tool-bar button should show.
struct CmdUI {
    int id = 0;
    bool enabled = true;
    bool checked = false;
    std::optional<std::string> text;
};

template <class Layer> class CommandTable {
public:
    struct Entry {
        int first;
        int last;
        void (Layer::*run)(int id);
        void (Layer::*update)(CmdUI&) = nullptr;
    };

    constexpr explicit CommandTable(std::span<const Entry> entries)
        : m_entries(entries)
    {
    }

    // Runs the first entry whose range holds the id; false when none does.
    bool Run(Layer& layer, int id) const
    {
        if (const Entry* entry = Find(id)) {
            if (entry->run)
                (layer.*(entry->run))(id);
            return true;
        }
        return false;
    }
    // The entry's update member; an entry without one leaves the command
    // enabled. False when no entry holds the id.
    bool Update(Layer& layer, CmdUI& ui) const
    {
        if (const Entry* entry = Find(ui.id)) {
            if (entry->update)
                (layer.*(entry->update))(ui);
            return true;
        }
        return false;
    }
    bool Holds(int id) const { return Find(id) != nullptr; }

private:
    const Entry* Find(int id) const
    {
        for (const Entry& entry : m_entries)
            if (id >= entry.first && id <= entry.last)
                return &entry;
        return nullptr;
    }

    std::span<const Entry> m_entries;
};

} // namespace platform::ui
