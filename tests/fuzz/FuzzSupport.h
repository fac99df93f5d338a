#pragma once
// Shared by the fuzz targets: the input as a stream, and a working folder
// holding the files a reader opens by name (the fixtures' map, organisation
// and platoon file), made once per process and made current.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "tests/TestFiles.h"

inline std::string_view FuzzText(const std::uint8_t* data, std::size_t size)
{
    return { reinterpret_cast<const char*>(data), size };
}

// Writes the input under the name in the working folder, for the readers
// that take their file from the current folder.
inline void WriteFuzzFile(std::string_view name, std::string_view text)
{
    std::ofstream out(std::string(name), std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// The fixtures' battle folder: "test.map", "test.org" and "platoon.obx".
inline void EnterFuzzFolder()
{
    static TempDir folder;
    static bool filled = false;
    if (!filled) {
        folder.Write("test.map", ReadFixture("maps/sample-v3.txt"));
        folder.Write("test.org", ReadFixture("battles/test.org"));
        folder.Write("platoon.obx", ScrambleText(ReadFixture("battles/platoon.txt")));
        filled = true;
    }
    std::filesystem::current_path(folder.Path());
}

// The stored form of a plain battle fixture: its two file-name lines
// scrambled from version 8, with the writer's blank from version 9.
inline std::string StoredBattle(const std::string& plain)
{
    std::vector<std::string> lines = SplitLines(plain);
    const int version = std::atoi(lines.empty() ? "" : lines[0].c_str());
    if (version >= 8 && lines.size() > 9)
        for (std::size_t i = 8; i <= 9; ++i)
            lines[i] = ScrambleLine(lines[i]) + (version >= 9 ? " " : "");
    return JoinLines(lines);
}
