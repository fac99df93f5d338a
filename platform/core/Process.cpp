#include "platform/core/Process.h"

#include <spawn.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

extern char** environ;

namespace platform {

namespace {

    bool IsExecutableFile(const std::filesystem::path& path)
    {
        std::error_code ec;
        return std::filesystem::is_regular_file(path, ec) && ::access(path.c_str(), X_OK) == 0;
    }

} // namespace

std::optional<std::filesystem::path> FindProgram(
    const std::string& program, const std::filesystem::path& besideFolder, const std::string& searchPath)
{
    if (program.empty())
        return std::nullopt;
    if (program.find('/') != std::string::npos)
        return IsExecutableFile(program) ? std::optional<std::filesystem::path>(program) : std::nullopt;
    if (!besideFolder.empty() && IsExecutableFile(besideFolder / program))
        return besideFolder / program;
    std::istringstream folders(searchPath);
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (!folder.empty() && IsExecutableFile(std::filesystem::path(folder) / program))
            return std::filesystem::path(folder) / program;
    }
    return std::nullopt;
}

bool PosixProcessLauncher::SpawnDetached(const std::string& program, const std::vector<std::string>& args)
{
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const char* path = std::getenv("PATH");
    const auto found = FindProgram(program, ec ? std::filesystem::path() : self.parent_path(), path ? path : "");
    if (!found)
        return false;
    std::vector<std::string> words;
    words.push_back(found->string());
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return false;
    // The child holds none of our sockets or devices.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    posix_spawnattr_init(&attributes);
    // Its own session: it outlives us.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int result = posix_spawn(&pid, found->c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return result == 0;
}

} // namespace platform
