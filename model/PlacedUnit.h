#pragma once
// One platoon in play (on a hex, off the map, in a reinforcement group,
// eliminated or exited) and the reinforcement groups that bring units in.
// Units are plain records held by value in the lists and copied freely.

#include <cstdint>
#include <functional>
#include <istream>
#include <ostream>

#include "model/HexSide.h"
#include "model/Lists.h"
#include "model/String.h"
#include "model/TextScan.h"

class PlatoonType;
class PlatoonTypeList;
class OrgNode;
class OrgTree;

// Status bits of a unit; each rule owns the bits it sets.
enum PlacedUnitStatus : std::uint32_t {
    kUnitFired = 0x1,
    kUnitAssaulted = 0x2,
    kUnitInAssault = 0x4, // not written to a file
    kUnitDisrupted = 0x8,
    kUnitCarried = 0x10,
    kUnitUnloaded = 0x20,
    kUnitCarrying = 0x40, // not written to a file; rebuilt on reading
    kUnitHidden = 0x80,
    kUnitUnavailable = 0x100,
    kUnitDiggingIn = 0x200,
    kUnitMoved = 0x400,
    kUnitFatigued = 0x800,
    kUnitSavedForFiring = 0x1000,
    kUnitSavedForUnloading = 0x2000,
    kUnitFixed = 0x4000,
    kUnitLowAmmo = 0x8000,
    kUnitDoubleTime = 0x10000,
    kUnitIsolated = 0x20000,
    kUnitUsedSinceSupply = 0x40000,
    kUnitBanzai = 0x80000,
    kUnitTriedBanzai = 0x100000,
};

// How the unit readers find a platoon type and an organisation node by id
// (null when there is none). The battle reader passes hashed indexes; the
// overloads that take the list and the tree search them.
struct UnitLookup {
    std::function<const PlatoonType*(std::uint32_t)> findType;
    std::function<OrgNode*(int)> findNode;

    UnitLookup(const PlatoonTypeList& types, OrgTree& tree);
    UnitLookup(std::function<const PlatoonType*(std::uint32_t)> types, std::function<OrgNode*(int)> nodes)
        : findType(std::move(types))
        , findNode(std::move(nodes))
    {
    }
};

// Bits a file never carries: the assault commitment lasts one assault, and
// the carrying bit is rebuilt from the carried units on reading.
inline constexpr std::uint32_t kUnitNotWrittenBits = kUnitInAssault | kUnitCarrying;

struct PlacedUnit {
    // No type and no node; facings N, action points 100, counters 3.
    PlacedUnit() = default;
    // Full strength of the type, the node's rating (6 without a node).
    PlacedUnit(const PlatoonType* type, OrgNode* node);

    // One unit line: type id, node id (-1 for none), facing, second facing,
    // strength, action points, rating, value, status and, with the flag, the
    // three counters. A type id that names no type, or a node id other than
    // -1 that names no node, fails the stream (every rule needs the type, and
    // a node that vanished must not be guessed at). A facing that is not one
    // side becomes N, a second facing that is not one side becomes none.
    std::istream& Read(std::istream& in, const PlatoonTypeList& types, OrgTree& tree, bool withCounters);
    std::istream& Read(std::istream& in, const UnitLookup& lookup, bool withCounters);
    TextScanner& Read(TextScanner& in, const UnitLookup& lookup, bool withCounters);
    // The unit line without a line feed; the bits a file never carries are
    // left out.
    std::ostream& Write(std::ostream& out) const;
    TextBuilder& Write(TextBuilder& out) const;

    // Subtracts, never below 0.
    void SpendActionPoints(int points);
    // Subtracts, never below 1.
    void ReduceStrength(int points);

    // A leader with a node is named after the node, any other unit after its
    // type (empty without a type).
    String GetName() const;
    String GetShortName() const;
    // The node that commands the unit: null without a node or parent
    // formation; the unit's own node when the parent has sub-formations and
    // the node is neither a leader nor artillery; else the parent formation.
    // Like m_node, an observer of the tree, which a const unit does not own.
    OrgNode* GetCommandNode() const;

    // Type, strength, action points, rating, value and status; node, facings
    // and counters are not compared.
    friend bool operator==(const PlacedUnit& a, const PlacedUnit& b);

    // Observers, not owners: the type in the game object's platoon-type list
    // and the node in its organisation tree. A reload that replaces either
    // must first empty every list that holds units.
    const PlatoonType* m_type = nullptr;
    OrgNode* m_node = nullptr;
    HexSide m_facing = HexSide::North;
    HexSide m_secondFacing = HexSide::North;
    int m_strength = 0;
    int m_actionPoints = 100;
    int m_rating = 0;
    int m_counters[3] = { 3, 3, 3 };
    int m_value = 0;
    std::uint32_t m_status = 0;
};

// Whether any of the status bits is set.
inline bool HasStatus(const PlacedUnit& unit, std::uint32_t bits) { return (unit.m_status & bits) != 0; }

using UnitList = RecordList<PlacedUnit>;
using UnitNode = UnitList::Node;

// A unit acting from off the map, with the column and row it fires from.
struct OffMapUnit {
    PlacedUnit unit;
    int column = 0;
    int row = 0;
};
using OffMapUnitList = RecordList<OffMapUnit>;

// Bound on the units of one reinforcement group in a file; a larger count is
// refused before any unit is read.
inline constexpr int kMaxGroupUnits = 10000;

struct ReinforcementGroup {
    UnitList m_units;
    int m_col = 0;
    int m_row = 0;
    int m_time = 0;
    int m_chance = 100;
    std::uint32_t m_placement = 0; // bit 0 air drop, bits 0 and 1 scattered, bit 2 arrival-mark value
    int m_scatterSteps = 0;

    ReinforcementGroup() = default;
    ReinforcementGroup(int column, int row)
        : m_col(column)
        , m_row(row)
    {
    }

    // Reads the group after its column and row (the caller reads those):
    // time, chance, unit count, with the placement flag the placement flags
    // and scatter steps, then the unit lines. False on a failed stream, a
    // negative or excessive count or a bad unit line; the group is then
    // empty. A carried unit stays carried only behind a unit that can carry.
    bool Read(std::istream& in, const PlatoonTypeList& types, OrgTree& tree, bool withPlacement, bool withCounters);
    bool Read(std::istream& in, const UnitLookup& lookup, bool withPlacement, bool withCounters);
    bool Read(TextScanner& in, const UnitLookup& lookup, bool withPlacement, bool withCounters);
    // Column, row, time, chance, count, placement flags, scatter steps and a
    // line feed; then each unit line indented by four blanks with a line feed.
    bool Write(std::ostream& out) const;
    bool Write(TextBuilder& out) const;

    // Side and nation of the first unit's type; -1 for an empty group (or a
    // first unit without a type).
    int GetSide() const;
    int GetNation() const;
    // Placement bit 0 or 1: the units scatter instead of entering at the hex.
    bool IsScattered() const { return (m_placement & 0x3) != 0; }
};
using ReinforcementGroupList = RecordList<ReinforcementGroup>;

// Appends a unit read from a file or a message to the units read so far. A
// passenger rides in the unit just above it: that unit is marked as carrying
// when it can carry passengers; otherwise the passenger arrives unloaded.
void AppendReadUnit(UnitList& units, PlacedUnit unit);
