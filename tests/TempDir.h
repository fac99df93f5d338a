#pragma once
// A fresh folder for one test's (or benchmark's) files, removed again with
// all it holds when it goes.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

class TempDir {
public:
    explicit TempDir(std::string_view prefix = "vl-test-")
    {
        std::random_device seed;
        m_path = std::filesystem::temp_directory_path()
            / (std::string(prefix) + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(m_path);
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path Path(std::string_view name) const { return m_path / std::string(name); }

    std::filesystem::path Write(std::string_view name, std::string_view text) const
    {
        const auto path = Path(name);
        std::ofstream out(path, std::ios::binary);
        out << text;
        return path;
    }

private:
    std::filesystem::path m_path;
};
