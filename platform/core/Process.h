#pragma once
// Starting another program that outlives this one: found beside this program,
// else on PATH, started in its own session with none of our descriptors.
// Arguments are a list, never a shell line.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace platform {

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // False when the program cannot be found or started.
    virtual bool SpawnDetached(const std::string& program, const std::vector<std::string>& args) = 0;
};

// The program's file: beside `besideFolder` when there, else the first match
// on `searchPath` (colon-separated); a name with a slash is taken as it is.
std::optional<std::filesystem::path> FindProgram(
    const std::string& program, const std::filesystem::path& besideFolder, const std::string& searchPath);

class PosixProcessLauncher final : public ProcessLauncher {
public:
    bool SpawnDetached(const std::string& program, const std::vector<std::string>& args) override;
};

} // namespace platform
