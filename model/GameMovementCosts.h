#pragma once
// The innermost layer of the game object: the battle clock (which is the
// battle's map) and the movement-cost rows read from "movement.pdx". A row
// gives, for one class of movers, the cost of entering each terrain type, two
// surcharges for marked hexes, the cost of moving along each hexside feature
// and a climb cost, all as percentages of a base cost that follows from the
// type's speed, the turn length and the hex size. There are four arrays of
// rows, one per surface state of the battle's terrain conditions (3 = snow).
//
// movement.pdx holds 48 rows, the 12 of array 0 first, each row one line
// (scrambled with the main variant) of blank-separated integers: 28 terrain
// entries, the two surcharges, 21 hexside-feature entries and the climb
// entry. Blank lines between rows are skipped; entries missing from a line
// keep their previous values.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/BattleClock.h"
#include "model/DataFile.h"
#include "model/String.h"

class PlatoonType;

struct MovementCostRecord {
    static constexpr int kTerrainEntries = 28;
    static constexpr int kFirstExtraEntry = 28; // hexes with hex flag 0x100
    static constexpr int kSecondExtraEntry = 29; // hexes with hex flag 0x80
    static constexpr int kFirstHexsideEntry = 30; // feature layers 0..20
    static constexpr int kHexsideEntries = 21;
    static constexpr int kClimbEntry = 51;
    static constexpr int kEntryCount = 52;

    // Reads up to kEntryCount blank-separated integers into the entries in
    // order; entries after the last readable number keep their values.
    void ParseEntries(std::string_view line);

    // Cost percentages; 0 = no cost.
    std::array<std::int32_t, kEntryCount> m_entries {};
};

class CGameMovementCosts {
public:
    static constexpr int kMovementArrayCount = 4;
    static constexpr int kRowsPerArray = 12;
    static constexpr std::string_view kMovementFileName = "movement.pdx";

    using CostArray = std::array<MovementCostRecord, kRowsPerArray>;

    // Builds the clock (0, 0, 0, 60) and zeroed rows, then reads the movement
    // file of the current folder.
    CGameMovementCosts();
    virtual ~CGameMovementCosts() = default;
    CGameMovementCosts(const CGameMovementCosts&) = delete;
    CGameMovementCosts& operator=(const CGameMovementCosts&) = delete;

    // The row a type takes in an array, from its movement flags: -1 when no
    // listed flag is set (the type then has no row and every cost is 0).
    static int GetRowIndex(const PlatoonType* type, int array);
    // Points each of the type's four movement rows at its row of this layer
    // (null where it has none). Rows are re-read in place, so the pointers
    // stay valid across reloads.
    void BindMovementRows(PlatoonType& type) const;
    // The type's bound row of the array; null for an array outside 0..3.
    static const MovementCostRecord* GetRow(const PlatoonType* type, int array);

    // Action points for one entry of the type's row: 0 when the entry is 0,
    // the type has no row or cannot move, or the turn has no minutes;
    // otherwise (entry / 100) * (metres / 1000) * 100 / (allowance * minutes
    // / 60), rounded up.
    static int ConvertCost(const PlatoonType* type, int array, int entry, int minutesPerTurn, int metresPerHex);
    // Entering terrain 0..27; 100 for Water, Marsh and Swamp when the type
    // has movement flag 0x80, whatever the entry.
    static int GetTerrainCost(const PlatoonType* type, int array, int terrain, int minutesPerTurn, int metresPerHex);
    static int GetFirstExtraCost(const PlatoonType* type, int array, int minutesPerTurn, int metresPerHex);
    static int GetSecondExtraCost(const PlatoonType* type, int array, int minutesPerTurn, int metresPerHex);
    // Moving along feature layer 0..20 (0 for any other layer).
    static int GetHexsideFeatureCost(
        const PlatoonType* type, int array, int layer, int minutesPerTurn, int metresPerHex);
    static int GetClimbCost(const PlatoonType* type, int array, int minutesPerTurn, int metresPerHex);
    // Tenths of hexes the action points carry the type over open ground:
    // points * 10 / per-hex cost, the per-hex cost being the truncated base
    // cost (at least 1), tripled for vehicles. 0 when the type cannot move or
    // the turn has no minutes.
    static int EstimateMoveRange(const PlatoonType* type, int actionPoints, int minutesPerTurn, int metresPerHex);

    // The theme prefix of the map's region followed by the base name when
    // such a file opens; else the base name.
    String LocateThemedFile(std::string_view baseName) const;
    String LocateMovementFile() const { return LocateThemedFile(kMovementFileName); }
    // Reads the movement file when it is new or changed since the last read.
    // A missing file keeps the rows; a file that fails a line (an over-long
    // one) changes nothing; a short file changes the rows it holds. The
    // movement file has no error text.
    void LoadMovementCosts();
    // Whether a data file of any layer changed since it was read. Each layer
    // with files of its own extends it: its base's files first, then its
    // own; every file is tested and each new time kept, so that a change is
    // reported once, whichever layer the call goes through.
    virtual bool CheckFilesChanged();

    BattleClock m_map;
    std::array<CostArray, kMovementArrayCount> m_movementCosts {};
    // The movement file read last (themed or plain) and its time then.
    HeldFile m_movementFileTime;

protected:
    // One step of the reload chain: loads (or reloads) this layer's data, a
    // layer above first calling its base. Null, or the first error text of
    // the chain; this layer never has one. Only the chain's own steps call
    // it: units, lists and records of a battle in play point into the data a
    // reload replaces, so the one public reload is
    // CGameData::ReloadKeepingBattle, which sets the battle aside first.
    virtual const char* Reload();
};

// One type's action-point costs for one array, turn length and hex size,
// each worked out by CGameMovementCosts' getter the first time it is asked
// and then kept: for a caller that asks for many steps while neither the
// rows nor the type can change. The conversion divides in floating point,
// so keeping its results saves most of a step's cost.
class MovementPointRow {
public:
    // Forgets every cost kept and takes the new key.
    void Reset(const PlatoonType* type, int array, int minutesPerTurn, int metresPerHex)
    {
        m_type = type;
        m_array = array;
        m_minutes = minutesPerTurn;
        m_metres = metresPerHex;
        m_known = 0;
    }
    bool IsFor(const PlatoonType* type, int array, int minutesPerTurn, int metresPerHex) const
    {
        return m_type == type && m_array == array && m_minutes == minutesPerTurn && m_metres == metresPerHex;
    }

    int Terrain(int terrain)
    {
        if (terrain < 0 || terrain >= MovementCostRecord::kTerrainEntries)
            return 0;
        return Get(
            terrain, [&] { return CGameMovementCosts::GetTerrainCost(m_type, m_array, terrain, m_minutes, m_metres); });
    }
    int FirstExtra()
    {
        return Get(MovementCostRecord::kFirstExtraEntry,
            [&] { return CGameMovementCosts::GetFirstExtraCost(m_type, m_array, m_minutes, m_metres); });
    }
    int SecondExtra()
    {
        return Get(MovementCostRecord::kSecondExtraEntry,
            [&] { return CGameMovementCosts::GetSecondExtraCost(m_type, m_array, m_minutes, m_metres); });
    }
    int HexsideFeature(int layer)
    {
        if (layer < 0 || layer >= MovementCostRecord::kHexsideEntries)
            return 0;
        return Get(MovementCostRecord::kFirstHexsideEntry + layer,
            [&] { return CGameMovementCosts::GetHexsideFeatureCost(m_type, m_array, layer, m_minutes, m_metres); });
    }
    int Climb()
    {
        return Get(MovementCostRecord::kClimbEntry,
            [&] { return CGameMovementCosts::GetClimbCost(m_type, m_array, m_minutes, m_metres); });
    }

private:
    static_assert(MovementCostRecord::kEntryCount <= 64, "one bit an entry");

    template <class Compute> int Get(int entry, Compute compute)
    {
        const std::uint64_t bit = std::uint64_t { 1 } << entry;
        if ((m_known & bit) == 0) {
            m_points[static_cast<std::size_t>(entry)] = compute();
            m_known |= bit;
        }
        return m_points[static_cast<std::size_t>(entry)];
    }

    const PlatoonType* m_type = nullptr;
    int m_array = -1;
    int m_minutes = 0;
    int m_metres = 0;
    std::uint64_t m_known = 0; // a bit an entry
    std::array<int, MovementCostRecord::kEntryCount> m_points {};
};
