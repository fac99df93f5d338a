// The readers of the window resources on any input: the menu bar and dialog
// templates (XML), the key table and the string table.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ui/Accelerators.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/MenuModel.h"
#include "platform/ui/StringTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    if (auto menu = platform::ui::MenuModel::ParseXrc(text, "MainMenu", error)) {
        for (int id : menu->AllIds())
            menu->SetItemLabel(id, "x");
    }
    platform::ui::DialogTemplate::Parse(text, error);
    if (auto keys = platform::ui::Accelerators::Parse(text, error)) {
        platform::KeyEvent event;
        event.key = 'N';
        event.modifiers.ctrl = true;
        keys->Lookup(event);
    }
    if (auto strings = platform::ui::StringTable::Parse(text, error))
        strings->ToolTip(201);
    return 0;
}
