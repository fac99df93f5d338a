#pragma once
// Temporary files for a benchmark's input and output, unique to the run and
// removed at exit (folders are tests/TempDir.h's).

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

// A name in the temporary folder that no other run uses.
inline std::filesystem::path UniqueTempPath(const std::string& prefix, const std::string& extension)
{
    std::random_device seed;
    return std::filesystem::temp_directory_path() / (prefix + std::to_string(seed()) + extension);
}

class BenchTempPath {
public:
    BenchTempPath(const std::string& prefix, const std::string& extension)
        : m_path(UniqueTempPath(prefix, extension))
    {
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

// Copies the data folder's files into the folder, but its pictures and
// sounds, which no benchmark that reads tables opens.
inline void CopyDataFiles(const std::filesystem::path& data, const std::filesystem::path& folder)
{
    for (const auto& entry : std::filesystem::directory_iterator(data)) {
        const std::string extension = entry.path().extension().string();
        if (entry.is_regular_file() && extension != ".bmp" && extension != ".bit" && extension != ".wav")
            std::filesystem::copy_file(entry.path(), folder / entry.path().filename());
    }
}
