#pragma once
// Golden files under tests/fixtures: a text made by a test is compared byte
// for byte with its file, and a difference names the file and the first line
// that differs. With VL_UPDATE_GOLDENS=1 in the environment the files are
// written instead (CI never sets it; a commit that changes them says why).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/TestFiles.h"

inline bool UpdatingGoldens()
{
    const char* value = std::getenv("VL_UPDATE_GOLDENS");
    return value && *value && std::string_view(value) != "0";
}

// The first line (from 1) where the two texts differ, both lines shown; empty
// when they are equal.
inline std::string FirstDifference(const std::string& expected, const std::string& actual)
{
    if (expected == actual)
        return {};
    const std::vector<std::string> want = SplitLines(expected);
    const std::vector<std::string> got = SplitLines(actual);
    const std::size_t common = std::min(want.size(), got.size());
    std::size_t line = 0;
    while (line < common && want[line] == got[line])
        ++line;
    const auto show = [](const std::vector<std::string>& lines, std::size_t at) {
        return at < lines.size() ? "\"" + lines[at] + "\"" : std::string("(end of text)");
    };
    if (line == common && want.size() == got.size())
        return "line endings differ at the end of the text";
    return "first difference at line " + std::to_string(line + 1) + ": golden " + show(want, line) + ", made "
        + show(got, line);
}

// The text against the golden file (a path under tests/fixtures), or the file
// rewritten when the goldens are being updated.
inline ::testing::AssertionResult MatchesGolden(const std::string& name, const std::string& text)
{
    const std::filesystem::path path = std::filesystem::path(VL_TEST_FIXTURES) / name;
    if (UpdatingGoldens()) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary);
        out << text;
        out.close();
        if (!out)
            return ::testing::AssertionFailure() << "cannot write golden file " << path.string();
        return ::testing::AssertionSuccess();
    }
    if (!std::filesystem::exists(path))
        return ::testing::AssertionFailure() << "golden file " << name << " is missing (VL_UPDATE_GOLDENS=1 writes it)";
    const std::string difference = FirstDifference(ReadFileText(path), text);
    if (difference.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "golden file " << name << ": " << difference;
}
