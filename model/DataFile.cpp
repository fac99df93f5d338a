#include "model/DataFile.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <vector>

#include "model/Scramble.h"
#include "model/String.h"
#include "model/TextScan.h"

namespace fs = std::filesystem;

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

std::string NormalizeStoredName(std::string_view name)
{
    std::string out(name);
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

std::optional<fs::path> LocateDataFile(std::string_view name)
{
    if (name.empty())
        return std::nullopt;
    const fs::path path(NormalizeStoredName(name));
    std::error_code error;
    if (fs::is_regular_file(path, error))
        return path;

    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const std::string wanted = path.filename().string();
    std::vector<fs::path> matches;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (EqualsIgnoringCase(it->path().filename().string(), wanted) && it->is_regular_file(error))
            matches.push_back(it->path());
    }
    if (matches.empty())
        return std::nullopt;
    // Directory order is not stable between machines; name order is.
    std::sort(matches.begin(), matches.end());
    return path.has_parent_path() ? matches.front() : matches.front().filename();
}

std::ifstream OpenDataFile(std::string_view name)
{
    std::ifstream in;
    if (auto path = LocateDataFile(name))
        in.open(*path, std::ios::binary);
    return in;
}

std::optional<std::int64_t> DataFileTime(std::string_view name)
{
    auto path = LocateDataFile(name);
    if (!path)
        return std::nullopt;
    std::error_code error;
    const auto stamp = fs::last_write_time(*path, error);
    if (error)
        return std::nullopt;
    const auto system = fs::file_time_type::clock::to_sys(stamp);
    return std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
}

bool ReadDataLine(std::istream& in, std::string& line)
{
    String text;
    const bool ok = static_cast<bool>(text.ReadLine(in));
    line = text.str();
    return ok;
}

bool ReadScrambledLine(std::istream& in, std::string& line)
{
    if (!ReadDataLine(in, line))
        return false;
    DescrambleLine(line);
    return true;
}

bool ReadScrambledContentLine(std::istream& in, std::string& line)
{
    while (ReadScrambledLine(in, line)) {
        if (!IsBlankLine(line))
            return true;
    }
    return false;
}
