#pragma once
// The open and save file dialogs. Filters come in the programs' form, pairs
// of description and pattern each ended by a bar ("Battle Files
// (*.btl)|*.btl|"); the toolkit gets each pattern with its upper-case
// spelling too, as GTK matches patterns case-sensitively.

#include <optional>
#include <string>
#include <string_view>

namespace platform::ui {

struct FileDialogRequest {
    bool save = false;
    std::string filter;
    std::string defaultExtension; // without the dot
    std::string fileName; // initial name
    std::string folder = "."; // initial folder
    bool mustExist = false; // open: only an existing file
    bool overwritePrompt = false; // save: ask before replacing a file
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen file, or nothing when cancelled.
    virtual std::optional<std::string> Run(const FileDialogRequest& request) = 0;
};

// "desc|*.btl|" -> "desc|*.btl;*.BTL": the toolkit's filter text.
std::string ToToolkitFilter(std::string_view filter);
// The chosen name with the default extension added when it has none.
std::string WithDefaultExtension(const std::string& name, std::string_view extension);

} // namespace platform::ui
