#pragma once
// The main window's resources, read once from the program's resource
// folder: the menu bar "MainMenu", the key table "ProgramAccel" and the
// string table. The dialogs' templates lie in its "dialogs" folder.

#include <filesystem>
#include <optional>
#include <string>

#include "platform/ui/Accelerators.h"
#include "platform/ui/MenuModel.h"
#include "platform/ui/StringTable.h"

struct FrameResources {
    std::filesystem::path folder;
    platform::ui::MenuModel menu;
    platform::ui::Accelerators accelerators;
    platform::ui::StringTable strings;

    // Nothing, with the file and reason in `error`, when one cannot be read.
    static std::optional<FrameResources> Load(const std::filesystem::path& folder, std::string& error);
    std::filesystem::path DialogFolder() const { return folder / "dialogs"; }
};

// The folder of `vl`'s resources: $VL_RESOURCE_DIR, else "resources/vl" in
// the working (data) folder.
std::filesystem::path DefaultResourceFolder();
