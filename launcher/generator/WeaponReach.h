#pragma once
// How far each platoon type's weapon reaches, from "weapon.pdx" read as the
// main program reads it: two scrambled lines a record, the first naming the
// platoon type by the number after its letter and zeros; the reach is the
// larger count of values either line gives. The first record of a type
// counts. The deployment sends far-reaching artillery off the map.

#include <cstdint>
#include <filesystem>
#include <unordered_map>

class WeaponReachList {
public:
    static constexpr const char* kFileName = "weapon.pdx";

    // Reads the file of the folder (its name matched case-insensitively) in
    // place of what was held; a record that does not read ends the list.
    // False, with the list empty, when the file cannot be opened.
    bool Read(const std::filesystem::path& folder);
    bool IsRead() const { return m_read; }
    // 0 for a type without a record.
    int FindReach(std::uint32_t platoonType) const;
    void Add(std::uint32_t platoonType, int reach) { m_reaches.emplace(platoonType, reach); }

private:
    std::unordered_map<std::uint32_t, int> m_reaches;
    bool m_read = false;
};
