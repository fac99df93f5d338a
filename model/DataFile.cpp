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

bool ReadStreamText(std::istream& in, std::string& text)
{
    text.clear();
    std::istream::sentry guard(in, true);
    if (!guard)
        return !in.bad();
    std::streambuf* buffer = in.rdbuf();
    try {
        // A file buffer knows how much is left; read that in one call, and in
        // growing pieces whatever a buffer does not tell.
        const std::streamsize known = buffer->in_avail();
        std::size_t piece = known > 0 ? static_cast<std::size_t>(known) + 1 : 64 * 1024;
        for (;;) {
            const std::size_t used = text.size();
            text.resize(used + piece);
            const std::streamsize got = buffer->sgetn(text.data() + used, static_cast<std::streamsize>(piece));
            text.resize(used + static_cast<std::size_t>(std::max<std::streamsize>(got, 0)));
            if (got < static_cast<std::streamsize>(piece))
                break;
            piece = std::max<std::size_t>(piece, 64 * 1024) * 2;
        }
    } catch (...) {
        // Read errors of a file buffer arrive as exceptions: they fail the
        // stream as its own reads do, and no exception leaves a reader.
        text.clear();
        in.setstate(std::ios::badbit | std::ios::failbit);
        return false;
    }
    in.setstate(std::ios::eofbit);
    return true;
}

DataFileRead ReadDataFileText(std::string_view name, std::string& text)
{
    text.clear();
    std::ifstream in = OpenDataFile(name);
    if (!in.is_open())
        return DataFileRead::kNotOpened;
    return ReadStreamText(in, text) ? DataFileRead::kRead : DataFileRead::kReadError;
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
