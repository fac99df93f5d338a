#pragma once
// What the document hooks fill in before a file dialog opens: flags (bit
// 0x1000 the file must exist, 0x2 ask before replacing one), the filter as
// "description|pattern|" pairs, the default extension without the dot, the
// initial file name, and whether the document is read or written in binary.

#include <cstdint>
#include <string>

#include "platform/ui/FileDialogs.h"

struct FileDialogSettings {
    static constexpr std::uint32_t kOverwritePrompt = 0x2;
    static constexpr std::uint32_t kHideReadOnly = 0x4;
    static constexpr std::uint32_t kFileMustExist = 0x1000;

    std::uint32_t flags = 0;
    std::string filter;
    std::string defaultExtension;
    std::string fileName;
    bool binary = false;

    void SetFilter(std::string text) { filter = std::move(text); }
    void SetDefaultExtension(std::string text) { defaultExtension = std::move(text); }
    void SetFileName(std::string text) { fileName = std::move(text); }

    // The request for the platform's dialog, in the current folder (its default).
    platform::ui::FileDialogRequest ToRequest(bool save) const
    {
        platform::ui::FileDialogRequest request;
        request.save = save;
        request.filter = filter;
        request.defaultExtension = defaultExtension;
        request.fileName = fileName;
        request.mustExist = (flags & kFileMustExist) != 0;
        request.overwritePrompt = (flags & kOverwritePrompt) != 0;
        return request;
    }
};
