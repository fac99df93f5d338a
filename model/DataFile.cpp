#include "model/DataFile.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <streambuf>
#include <system_error>
#include <vector>

// The one game-layer file with POSIX headers: an atomic save needs fsync and
// the file's permissions, which the standard library does not reach.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// An output buffer straight onto a file descriptor, so that the file written
// through a stream can be synced before it is closed.
class CDescriptorBuffer : public std::streambuf {
public:
    explicit CDescriptorBuffer(int fd)
        : m_fd(fd)
    {
        setp(m_buffer, m_buffer + sizeof m_buffer);
    }
    int Error() const { return m_error; }

protected:
    int_type overflow(int_type c) override
    {
        if (!Drain())
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return Drain() ? 0 : -1; }

private:
    bool Drain()
    {
        const char* from = pbase();
        while (from < pptr()) {
            const ssize_t written = ::write(m_fd, from, static_cast<std::size_t>(pptr() - from));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                m_error = written < 0 ? errno : EIO;
                return false;
            }
            from += written;
        }
        setp(m_buffer, m_buffer + sizeof m_buffer);
        return true;
    }

    int m_fd;
    int m_error = 0;
    char m_buffer[1 << 16];
};

std::string ErrorText(const fs::path& path, const char* what, int error)
{
    return "cannot " + std::string(what) + " " + path.string() + ": " + std::generic_category().message(error);
}

// Zero, or the error number when the folder could not be synced.
int SyncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    // Some file systems cannot sync a folder; the rename stands either way.
    const int error = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return error;
}

using FileWriter = std::function<bool(std::ostream& out)>;

// A hidden name of its own in the folder, beside the file named, so that a
// rename stays on one file system and no reader matches it.
fs::path HiddenName(const fs::path& folder, const std::string& name, const char* suffix)
{
    static std::atomic<unsigned> counter { 0 };
    return folder
        / ("." + name + "." + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1)) + suffix);
}

fs::path FolderOf(const fs::path& path) { return path.has_parent_path() ? path.parent_path() : fs::path("."); }

// The writer's file, flushed, synced and closed under a new hidden name in
// the target's folder, with the permissions of the file it is to replace.
// On failure the error, and no temporary file is left.
std::string WriteSyncedTemporary(const fs::path& path, const FileWriter& writer, fs::path& temporary)
{
    const fs::path folder = FolderOf(path);
    const std::string name = path.filename().string();
    if (name.empty() || name == "." || name == "..")
        return "cannot save " + path.string() + ": not a file name";

    // The new file takes the old one's permissions; a new file those the
    // process gives any file it creates.
    struct stat old { };
    const bool replacing = ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);

    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = HiddenName(folder, name, ".part");
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return ErrorText(path, "save", errno);
    }
    if (fd < 0)
        return ErrorText(path, "save", EEXIST);

    auto fail = [&](std::string text) {
        if (fd >= 0)
            ::close(fd);
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return text;
    };
    if (replacing && ::fchmod(fd, old.st_mode & 07777) != 0)
        return fail(ErrorText(path, "save", errno));

    CDescriptorBuffer buffer(fd);
    std::ostream out(&buffer);
    try {
        if (!writer(out))
            return fail("cannot save " + path.string() + ": the data could not be written");
    } catch (const std::exception& error) {
        return fail("cannot save " + path.string() + ": " + error.what());
    } catch (...) {
        return fail("cannot save " + path.string() + ": the data could not be written");
    }
    out.flush();
    if (!out)
        return fail(ErrorText(path, "write", buffer.Error() ? buffer.Error() : EIO));
    if (::fsync(fd) != 0)
        return fail(ErrorText(path, "write", errno));
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        return fail(ErrorText(path, "write", errno));
    return {};
}

// Renames the synced temporary file over the target and syncs the folder; a
// failed rename removes the temporary file.
std::string PutInPlace(const fs::path& temporary, const fs::path& path)
{
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return ErrorText(path, "replace", error);
    }
    if (const int error = SyncFolder(FolderOf(path)))
        return ErrorText(path, "sync the folder of", error);
    return {};
}

// The file as it is now under the backup's name, replacing the old backup
// at once: a second name of the file (no byte copied, nothing to sync but the
// folder), or, where the file system has no such names, a synced copy.
std::string KeepAsBackup(const fs::path& path, const fs::path& backup)
{
    const std::string name = backup.filename().string();
    if (name.empty() || name == "." || name == "..")
        return "cannot save " + backup.string() + ": not a file name";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path second = HiddenName(FolderOf(backup), name, ".link");
        if (::link(path.c_str(), second.c_str()) == 0) {
            std::string error = PutInPlace(second, backup);
            // A backup that already is this file keeps the second name: a
            // rename between two names of one file does nothing.
            std::error_code ignored;
            fs::remove(second, ignored);
            return error;
        }
        if (errno != EEXIST)
            break;
    }
    std::string old;
    if (ReadDataFileText(path.string(), old) != DataFileRead::kRead)
        return "cannot save " + path.string() + ": the old file could not be read for its backup";
    return WriteFileAtomically(backup, [&old](std::ostream& out) {
        out.write(old.data(), static_cast<std::streamsize>(old.size()));
        return static_cast<bool>(out);
    });
}

} // namespace

std::string WriteFileAtomically(const fs::path& path, const FileWriter& writer)
{
    fs::path temporary;
    if (std::string error = WriteSyncedTemporary(path, writer, temporary); !error.empty())
        return error;
    return PutInPlace(temporary, path);
}

std::string WriteFileAtomicallyWithBackup(const fs::path& path, const fs::path& backup, const FileWriter& writer)
{
    // The new file is made and synced first: a writer that fails touches
    // neither file.
    fs::path temporary;
    if (std::string error = WriteSyncedTemporary(path, writer, temporary); !error.empty())
        return error;
    struct stat old { };
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        // The backup's folder is synced before the file is replaced, so that
        // no crash keeps the new file with a backup older than the old one.
        if (std::string error = KeepAsBackup(path, backup); !error.empty()) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return error;
        }
    }
    return PutInPlace(temporary, path);
}

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

std::optional<fs::file_time_type> DataFileTime(std::string_view name)
{
    auto path = LocateDataFile(name);
    if (!path)
        return std::nullopt;
    std::error_code error;
    const auto stamp = fs::last_write_time(*path, error);
    if (error)
        return std::nullopt;
    return stamp;
}

std::optional<HeldFile::Time> HeldFile::Watch(std::string_view name)
{
    const auto time = DataFileTime(name);
    m_watched = name;
    m_seen = time;
    return time;
}

bool HeldFile::CheckChanged()
{
    if (!m_seen)
        return false;
    const auto time = DataFileTime(m_watched);
    if (!time || *time == *m_seen)
        return false;
    m_seen = time;
    return true;
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
