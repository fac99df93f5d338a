#pragma once
// Helpers for tests that give the game object data files: the stored
// (scrambled) form of a plain fixture, a working folder for the duration of a
// test, and file times set on purpose.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "model/Scramble.h"
#include "tests/ScopedCurrentDir.h"
#include "tests/TempDir.h"

// The whole text of a file under tests/fixtures, e.g. "maps/sample-v3.txt".
inline std::string ReadFixture(std::string_view name)
{
    std::ifstream in(std::filesystem::path(VL_TEST_FIXTURES) / std::string(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The whole text of a file; empty when it cannot be read.
inline std::string ReadFileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::vector<std::string> ReadFileLines(const std::filesystem::path& path)
{
    return SplitLines(ReadFileText(path));
}

#ifdef VL_DATA_TOOL
// The demo data set of the build: the data tool is built as <build>/tools/vldata
// and the data set into <build>/data.
inline std::filesystem::path DemoDataFolder()
{
    return std::filesystem::path(VL_DATA_TOOL).parent_path().parent_path() / "data";
}
#endif

// A plain version-3 map of open ground at level 0, no features.
inline std::string OpenGroundMapText(int width, int height)
{
    std::string text = "3\n" + std::to_string(width) + ' ' + std::to_string(height) + "\n0 25 0 0 0 -1\n";
    for (int y = 0; y < height; ++y)
        text += std::string(static_cast<std::size_t>(width), ' ') + '\n';
    for (int y = 0; y < height; ++y)
        text += std::string(static_cast<std::size_t>(width), '0') + '\n';
    for (int layer = 0; layer < 19; ++layer)
        text += "0\n";
    text += "0\n";
    return text;
}

// Every line followed by a line feed.
inline std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// Scrambles a plain fixture line by line, as the data files are stored; a
// text without a final line feed stays without one.
inline std::string ScrambleText(std::string_view plain)
{
    std::string out;
    std::size_t start = 0;
    while (start < plain.size()) {
        const std::size_t end = plain.find('\n', start);
        const std::size_t stop = end == std::string_view::npos ? plain.size() : end;
        out += ScrambleLine(plain.substr(start, stop - start));
        if (end == std::string_view::npos)
            break;
        out += '\n';
        start = end + 1;
    }
    return out;
}

// Times are counted back from one fixed moment of the test run, so that the
// same count always gives the same time: file times are compared at the file
// system's full resolution.
inline void SetFileTime(const std::filesystem::path& path, int secondsAgo)
{
    using Clock = std::filesystem::file_time_type::clock;
    static const auto anchor = std::chrono::floor<std::chrono::seconds>(Clock::now());
    std::filesystem::last_write_time(path, anchor - std::chrono::seconds(secondsAgo));
}
