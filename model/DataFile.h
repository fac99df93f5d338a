#pragma once
// How every reader of both programs finds and reads its data files. Stored
// names mix cases and may carry backslashes ("main.map", ".MAP",
// "NWE-movement.pdx", "maps\\town.map"); a name is opened by its exact
// spelling, else by a case-insensitive match in its folder.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

// Backslashes of a stored file name become slashes.
std::string NormalizeStoredName(std::string_view name);

// The existing file the name refers to: the name itself, else the one entry
// of its folder whose name matches case-insensitively (the first in name
// order when several do). Nothing when there is none.
std::optional<std::filesystem::path> LocateDataFile(std::string_view name);

// Opens the located file for reading; the stream is not open when the file
// cannot be found or opened.
std::ifstream OpenDataFile(std::string_view name);

// Saves a file so that it is either wholly replaced or not touched at all.
// The writer fills a new temporary file in the target's folder and returns
// whether it succeeded; only then, once the file is flushed, synced and closed
// without error, is it renamed over the target, keeping the old file's
// permissions, and the folder is synced. On any failure, an exception from the
// writer included, the temporary file is removed and the old file stays as it
// was. Returns the error text, empty when the file was saved.
std::string WriteFileAtomically(
    const std::filesystem::path& path, const std::function<bool(std::ostream& out)>& writer);

// Modification time in seconds since the epoch of the located file.
std::optional<std::int64_t> DataFileTime(std::string_view name);

// The file a table was last read from and its time then, so that a reload
// skips a file that has not changed since.
class HeldFile {
public:
    bool IsUnchanged(std::string_view name, std::optional<std::int64_t> time) const
    {
        return m_held && time && *time == m_time && name == m_name;
    }
    void Remember(std::string_view name, std::optional<std::int64_t> time)
    {
        m_held = time.has_value();
        m_name = name;
        m_time = time.value_or(0);
    }

private:
    bool m_held = false;
    std::string m_name;
    std::int64_t m_time = 0;
};

// Reads the rest of the stream into text, in one piece. False on a read
// error of the device (a folder opened as a file, a failing disk): the stream
// then has badbit and failbit, and the text is empty. Never throws.
bool ReadStreamText(std::istream& in, std::string& text);

// How reading a whole data file ended.
enum class DataFileRead {
    kRead,
    kNotOpened, // not found, or it would not open
    kReadError, // opened, but reading it failed
};
// The whole text of the located data file.
DataFileRead ReadDataFileText(std::string_view name, std::string& text);

// Reads one line of a data file: the trailing line feed and one carriage
// return are dropped; an over-long line fails the stream (see String::ReadLine).
bool ReadDataLine(std::istream& in, std::string& line);
// The same, descrambled with the main variant.
bool ReadScrambledLine(std::istream& in, std::string& line);
// The next scrambled line that is not blank once descrambled.
bool ReadScrambledContentLine(std::istream& in, std::string& line);
