#pragma once

#include <filesystem>
#include <system_error>

// The game object reads its data files from the current folder.
class ScopedCurrentDir {
public:
    explicit ScopedCurrentDir(const std::filesystem::path& path)
        : m_previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(path);
    }
    ~ScopedCurrentDir()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_previous, ignored);
    }
    ScopedCurrentDir(const ScopedCurrentDir&) = delete;
    ScopedCurrentDir& operator=(const ScopedCurrentDir&) = delete;

private:
    std::filesystem::path m_previous;
};
