#pragma once
// A campaign's whole state: one CampaignRecord with its commander, the force
// as a tree of UnitRecord nodes and the battles fought so far. The same
// UnitRecord serves for formations loaded from the order-of-battle files and
// for the forces of the battle generator.
//
// Ownership: a node owns its first subunit, its next sibling and its next
// successor (the later variants that replace it as dates pass); the parent
// and last-subunit links only observe.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct CampaignContext;

// Unit id texts, by position: 0 level letter ('C' company, 'B' battalion, 'R'
// regiment, 'G' brigade, 'D' division, 'K' corps, other army; 'P' platoon),
// 1-2 nation, 3 level digit, 4 type digit, 5-7 index. Platoon ids are held as
// "P%05d" (nation, category, number). Each accessor gives -1 when its
// positions lie past the end of the id or hold no digit.
int GetUnitIdNation(std::string_view id);
int GetUnitIdLevel(std::string_view id);
int GetUnitIdTypeDigit(std::string_view id);
int GetUnitIdIndex(std::string_view id);
// An entry never offered: index "999" (for a platoon its last three digits).
bool IsWithheldUnitId(std::string_view id);

struct UnitRecord {
    UnitRecord() = default;
    // Frees the subunits, siblings and successors without recursing along
    // long sibling chains.
    ~UnitRecord();
    UnitRecord(const UnitRecord&) = delete;
    UnitRecord& operator=(const UnitRecord&) = delete;

    // A new node with this node's values and no links.
    std::unique_ptr<UnitRecord> CopyValues() const;

    std::int32_t m_arrival = 0;
    std::int32_t m_arrivalValue = 0;
    std::string m_id;
    std::int32_t m_x = 0;
    std::int32_t m_y = 0;
    std::int32_t m_deployDirection = 0;
    std::int32_t m_facing = 0;
    std::int32_t m_number = 0;
    std::string m_name;
    std::string m_leader;
    std::int32_t m_strength = 0;
    std::int32_t m_fullStrength = 0;
    std::int32_t m_size = 0;
    // The first is the set of type flags.
    std::array<std::int32_t, 4> m_oobValues {};
    std::int32_t m_experience = 0;
    std::int32_t m_morale = 6;
    std::int16_t m_role = 0;
    std::int32_t m_availableFrom = 0;
    std::int32_t m_availableTo = 0;
    UnitRecord* m_parent = nullptr; // observer
    std::unique_ptr<UnitRecord> m_firstChild;
    UnitRecord* m_lastChild = nullptr; // observer
    std::unique_ptr<UnitRecord> m_nextSibling;
    std::unique_ptr<UnitRecord> m_nextSuccessor;
};

struct BattleHistoryEntry {
    BattleHistoryEntry() = default;
    ~BattleHistoryEntry();
    BattleHistoryEntry(const BattleHistoryEntry&) = delete;
    BattleHistoryEntry& operator=(const BattleHistoryEntry&) = delete;

    std::int32_t m_date = 0;
    std::string m_battleName;
    std::int32_t m_result = 0;
    std::int32_t m_battleType = 0;
    std::unique_ptr<BattleHistoryEntry> m_next; // next older entry
};

class CampaignRecord {
public:
    CampaignRecord() = default;

    // Linked: the chain has ended; single: the current date reached the end.
    bool IsOver() const;
    // The campaign's ".cpn" (".ccx") file exists in the folder.
    bool HasPendingBattle(const std::filesystem::path& folder) const;
    bool HasBackup(const std::filesystem::path& folder) const;
    // Undo: the ".ccx" replaces the campaign file, the battle set up with it
    // (".cpn", ".org", ".map") is deleted and the campaign read again. Empty
    // when done, or when there is no backup (nothing happens then); else the
    // refusal (a backup that does not read, a failed write), nothing changed.
    // Defined with the campaign file (CampaignFile.cpp).
    std::string RestoreBackup(CampaignContext& context);

    std::uint8_t m_linked = 0;
    std::int32_t m_linkedBattleId = 0;
    std::int32_t m_nation = 0;
    std::int32_t m_enemyNation = 0;
    std::int32_t m_region = 0;
    std::int32_t m_charSection = -1;
    std::string m_name;
    std::string m_regionPrefix;
    std::string m_formationId;
    std::int32_t m_commanderUnit = 0;
    std::string m_formationName;
    std::int32_t m_portrait = 0;
    std::int32_t m_rank = 0;
    std::int32_t m_score = 0;
    std::int32_t m_commandLevel = 0;
    std::int32_t m_startDate = 0;
    std::int32_t m_endDate = 0;
    std::int32_t m_currentDate = 0;
    std::string m_pendingBattle;
    std::int32_t m_dayOffset = 0;
    std::array<std::int32_t, 6> m_decorationCounts {};
    std::int16_t m_value1 = 0;
    std::int16_t m_value2 = 0;
    std::uint8_t m_arm = 0;
    std::int32_t m_generatorValue = 0;
    std::int32_t m_selectedForceCost = 0;
    std::unique_ptr<UnitRecord> m_force;
    std::unique_ptr<BattleHistoryEntry> m_history; // newest first
};

// The commander's rank name; the nation plays no part.
const char* GetRankName(int nation, int rank);

// Appends the child after the parent's last subunit and returns it.
UnitRecord* AttachChildUnit(std::unique_ptr<UnitRecord> child, UnitRecord& parent);

// Depth first: the node, its first subunit's subtree, then its next
// sibling's. Null when absent or when root is null.
UnitRecord* FindUnitByNumber(UnitRecord* root, std::int32_t number);
const UnitRecord* FindUnitByNumber(const UnitRecord* root, std::int32_t number);
// The same search by the exact id text.
UnitRecord* FindUnitById(UnitRecord* root, std::string_view id);
const UnitRecord* FindUnitById(const UnitRecord* root, std::string_view id);

// Moves the unit with that number from below the formation to the head of the
// formation's subunits; false when no unit below it has the number.
bool MoveUnitUnder(UnitRecord& formation, std::int32_t number);

int CountSuccessors(const UnitRecord& unit);

// A platoon's type digit is that of its nearest ancestor that is no platoon;
// -1 without one.
int GetUnitTypeDigit(const UnitRecord* unit);

// Counter rounded up to a multiple of 24, plus the portrait: the commander's
// unit number.
std::int32_t CommanderUnitNumber(std::int32_t unitCounter, std::int32_t portrait);

// The file's name matches in the folder (case-insensitively).
bool FileExists(const std::filesystem::path& folder, std::string_view name);
inline bool IsEqual(int a, int b) { return a == b; }

// The names of the folder's files matching the first pattern, then those of
// the second ('*' and '?' wildcards, case-insensitive), each group sorted by
// name case-insensitively.
std::vector<std::string> ListFilesOfTwoPatterns(
    const std::filesystem::path& folder, std::string_view pattern1, std::string_view pattern2);
