#pragma once
// How every reader of both programs finds and reads its data files. Stored
// names mix cases and may carry backslashes ("main.map", ".MAP",
// "NWE-movement.pdx", "maps\\town.map"); a name is opened by its exact
// spelling, else by a case-insensitive match in its folder.

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
// The same, keeping the file it replaces (when there is one) as the backup:
// once the new file is synced, the old one takes the backup's name, replacing
// the old backup, and only then the new file the target's. A failure before
// that leaves both as they were; one after it leaves the backup holding the
// target's file, which is unchanged.
std::string WriteFileAtomicallyWithBackup(const std::filesystem::path& path, const std::filesystem::path& backup,
    const std::function<bool(std::ostream& out)>& writer);

// Modification time of the located file, at the full resolution the file
// system gives: a file rewritten within a second reads as another time.
std::optional<std::filesystem::file_time_type> DataFileTime(std::string_view name);

// A data file a layer reads, with the one freshness rule of every layer: a
// file has changed when its modification time differs from the one taken
// when it was read. It keeps the file watched for changes with the time last
// seen, so that the freshness check reports each change once, and the file
// whose contents are held with its time then, so that a reload skips a file
// that has not changed. No file format stores these times.
class HeldFile {
public:
    using Time = std::filesystem::file_time_type;

    // Before the file is read: its time now, which the file is watched from.
    // A file missing now is not watched (until a later read finds it).
    std::optional<Time> Watch(std::string_view name);
    // Whether the contents held were read from this file at this time, so
    // that reading it again can be skipped.
    bool Holds(std::string_view name, std::optional<Time> time) const
    {
        return m_heldTime && time && *time == *m_heldTime && name == m_heldName;
    }
    // After the file was read whole: its contents are the ones held.
    void Hold(std::string_view name, std::optional<Time> time)
    {
        m_heldName = name;
        m_heldTime = time;
    }
    // True when the watched file's time differs from the one last seen; that
    // time is then kept, so that one change is reported once. False when no
    // file is watched or the file cannot be found now.
    bool CheckChanged();
    bool IsWatched() const { return m_seen.has_value(); }
    std::optional<Time> SeenTime() const { return m_seen; }

private:
    std::string m_watched;
    std::optional<Time> m_seen;
    std::string m_heldName;
    std::optional<Time> m_heldTime;
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
