#pragma once
// How every reader of both programs finds and reads its data files. Stored
// names mix cases and may carry backslashes ("main.map", ".MAP",
// "NWE-movement.pdx", "maps\\town.map"); a name is opened by its exact
// spelling, else by a case-insensitive match in its folder.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
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

// Modification time in seconds since the epoch of the located file.
std::optional<std::int64_t> DataFileTime(std::string_view name);

// Reads one line of a data file: the trailing line feed and one carriage
// return are dropped; an over-long line fails the stream (see String::ReadLine).
bool ReadDataLine(std::istream& in, std::string& line);
// The same, descrambled with the main variant.
bool ReadScrambledLine(std::istream& in, std::string& line);
