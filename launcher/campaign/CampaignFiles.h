#pragma once
// The order-of-battle and platoon files as the loaders read them, and a
// cache of both per file and modification time. A cached file gives exactly
// what reading it again would give, so caching changes no result and no
// random draw; it only spares the reading.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Longest order-of-battle or parameter line the readers take; a longer one
// yields nothing.
inline constexpr std::size_t kMaxCampaignLineLength = 255;

// One order-of-battle file: its lines, as read.
class OobFileText {
public:
    explicit OobFileText(std::string text);
    OobFileText(const OobFileText&) = delete;
    OobFileText& operator=(const OobFileText&) = delete;

    const std::vector<std::string_view>& Lines() const { return m_lines; }
    // Index of the first line that contains the text; -1 when none does.
    int FindFirstLineContaining(std::string_view text) const;

private:
    std::string m_text;
    std::vector<std::string_view> m_lines;
    std::vector<std::size_t> m_lineStarts;
    // Answers already found, by text.
    mutable std::unordered_map<std::string, int> m_found;
};

// What a platoon line gives a unit record.
struct PlatoonLineValues {
    std::string id; // "P%05d"
    std::int32_t strength = 0;
    std::int32_t size = 0; // the type's unit value
    std::array<std::int32_t, 4> values {}; // movement, carry, target and extra flags
    std::int32_t availableFrom = 0;
    std::int32_t availableTo = 0;
    std::string leader; // the name's second comma part
};

// Reads one descrambled platoon line; nothing when its id, or any field up to
// the name, does not read.
std::optional<PlatoonLineValues> ReadPlatoonLineValues(std::string_view line);

// The type number of a platoon id ("P01401" and "P1401" give 1401); nothing
// when the id is no 'P' followed by digits that fit 32 bits.
std::optional<std::uint32_t> PlatoonTypeNumber(std::string_view id);

// A platoon file parsed whole: the first good line of each type number.
struct PlatoonFileTable {
    std::unordered_map<std::uint32_t, PlatoonLineValues> byType;
};

class CampaignFileCache {
public:
    // The order-of-battle file (a located path), read now or taken from the
    // cache when its time has not changed; null when it cannot be read.
    std::shared_ptr<const OobFileText> Oob(const std::filesystem::path& path, bool useCache);
    // The platoon file's table, cached alike.
    std::shared_ptr<const PlatoonFileTable> Platoons(const std::filesystem::path& path);
    void Clear();

private:
    template <class T> struct Entry {
        std::filesystem::file_time_type time;
        std::shared_ptr<const T> value;
    };
    std::unordered_map<std::string, Entry<OobFileText>> m_oob;
    std::unordered_map<std::string, Entry<PlatoonFileTable>> m_platoons;
};

// The whole text of a platoon file scanned line by line for the first good
// line of the type number, as the file stands.
std::optional<PlatoonLineValues> ScanPlatoonFile(const std::filesystem::path& path, std::uint32_t typeNumber);
