#pragma once
// A temporary file name for a benchmark's output, unique to the run and
// removed at exit.

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

class BenchTempPath {
public:
    BenchTempPath(const std::string& prefix, const std::string& extension)
    {
        std::random_device seed;
        m_path = std::filesystem::temp_directory_path() / (prefix + std::to_string(seed()) + extension);
    }
    ~BenchTempPath()
    {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
    BenchTempPath(const BenchTempPath&) = delete;
    BenchTempPath& operator=(const BenchTempPath&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
