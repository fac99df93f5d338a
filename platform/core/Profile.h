#pragma once
// The user's settings: integers and texts by section and key, kept in an INI
// file of the user's configuration folder (the wx host) or in memory (tests).

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

class Profile {
public:
    virtual ~Profile() = default;
    virtual int GetInt(std::string_view section, std::string_view key, int defaultValue) const = 0;
    virtual void SetInt(std::string_view section, std::string_view key, int value) = 0;
    virtual std::string GetString(
        std::string_view section, std::string_view key, std::string_view defaultValue) const = 0;
    virtual void SetString(std::string_view section, std::string_view key, std::string_view value) = 0;
    // Writes what changed to the file; false when it could not.
    virtual bool Flush() = 0;
};

// The folder of the programs' profiles: $VL_CONFIG_DIR when set (tests),
// else $XDG_CONFIG_HOME/Brindlewick, else ~/.config/Brindlewick.
std::filesystem::path ProfileFolder();

} // namespace platform
