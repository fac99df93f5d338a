#include "platform/core/AssetFiles.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace platform {

namespace {

    std::string Lower(std::string_view text)
    {
        std::string out(text);
        std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
        return out;
    }

    // The entry of `folder` named `part`: exact, else the first (by name) that
    // matches in any letter case.
    std::optional<std::filesystem::path> FindPart(const std::filesystem::path& folder, const std::string& part)
    {
        std::error_code error;
        std::filesystem::path exact = folder / part;
        if (std::filesystem::exists(exact, error))
            return exact;
        const std::string wanted = Lower(part);
        std::optional<std::filesystem::path> found;
        for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (Lower(name) == wanted && (!found || name < found->filename().string()))
                found = it->path();
        }
        return found;
    }

} // namespace

AssetFiles::AssetFiles()
{
    std::error_code error;
    m_folder = std::filesystem::current_path(error);
}

AssetFiles::AssetFiles(std::filesystem::path workingFolder)
    : m_folder(std::move(workingFolder))
{
}

std::optional<std::filesystem::path> AssetFiles::Resolve(std::string_view name) const
{
    std::string text(name);
    std::replace(text.begin(), text.end(), '\\', '/');
    if (text.empty())
        return std::nullopt;
    std::filesystem::path at = text.front() == '/' ? std::filesystem::path("/") : m_folder;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find('/', begin);
        if (end == std::string::npos)
            end = text.size();
        const std::string part = text.substr(begin, end - begin);
        begin = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            at = at.parent_path();
            continue;
        }
        auto next = FindPart(at, part);
        if (!next)
            return std::nullopt;
        at = *next;
    }
    return at;
}

std::string AssetFiles::Key(std::string_view name)
{
    std::string key = Lower(name);
    std::replace(key.begin(), key.end(), '\\', '/');
    return key;
}

bool AssetFiles::ReportFailure(std::string_view path, const std::string& text, const std::string& caption)
{
    if (!m_reported.insert(Key(path)).second)
        return false;
    if (m_reporter)
        m_reporter(text, caption);
    return true;
}

} // namespace platform
