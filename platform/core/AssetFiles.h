#pragma once
// The program's data files as the game names them: relative to the working
// folder (the data folder), "\" or "/" between parts, any letter case. Each
// part of a path is matched exactly, else case-insensitively, so "Icons1d.bmp"
// and "ICONS1D.BMP" find the same file. Pictures that cannot be loaded are
// reported once per path and run.

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace platform {

class AssetFiles {
public:
    // Shows a failure text to the user (a message box in the program).
    using Reporter = std::function<void(const std::string& text, const std::string& caption)>;

    // The working folder defaults to the current directory.
    AssetFiles();
    explicit AssetFiles(std::filesystem::path workingFolder);

    const std::filesystem::path& WorkingFolder() const { return m_folder; }
    void SetWorkingFolder(std::filesystem::path folder) { m_folder = std::move(folder); }

    // The file on disk, or nothing when no file matches. Absolute paths are
    // matched from the root, others from the working folder.
    std::optional<std::filesystem::path> Resolve(std::string_view name) const;
    bool Exists(std::string_view name) const { return Resolve(name).has_value(); }

    // One spelling per file name: "/" separators, lower case. Caches of
    // loaded pictures key on it, so two spellings load one picture.
    static std::string Key(std::string_view name);

    void SetReporter(Reporter reporter) { m_reporter = std::move(reporter); }
    // Shows `text` under `caption` the first time `path` fails (by Key);
    // true when it was shown now.
    bool ReportFailure(std::string_view path, const std::string& text, const std::string& caption);

private:
    std::filesystem::path m_folder;
    Reporter m_reporter;
    std::set<std::string> m_reported;
};

} // namespace platform
