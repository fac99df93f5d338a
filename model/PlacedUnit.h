#pragma once
// One platoon in play (on a hex, off the map, in a reinforcement group,
// eliminated or exited) and the reinforcement groups that bring units in.
// Units are plain records held by value in the lists and copied freely.

#include <cstdint>

#include "model/HexSide.h"
#include "model/Lists.h"

class PlatoonType;
class OrgNode;

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

struct PlacedUnit {
    PlatoonType* m_type = nullptr;
    OrgNode* m_node = nullptr;
    HexSide m_facing = HexSide::North;
    HexSide m_secondFacing = HexSide::North;
    int m_strength = 0;
    int m_actionPoints = 100;
    int m_rating = 0;
    int m_counters[3] = {3, 3, 3};
    int m_value = 0;
    std::uint32_t m_status = 0;
};

using UnitList = RecordList<PlacedUnit>;
using UnitNode = UnitList::Node;

// A unit acting from off the map, with the column and row it fires from.
struct OffMapUnit {
    PlacedUnit unit;
    int column = 0;
    int row = 0;
};
using OffMapUnitList = RecordList<OffMapUnit>;

struct ReinforcementGroup {
    UnitList m_units;
    int m_col = 0;
    int m_row = 0;
    int m_time = 0;
    int m_chance = 100;
    std::uint32_t m_placement = 0; // bit 0 air drop, bits 0 and 1 scattered, bit 2 arrival-mark value
    int m_scatterSteps = 0;

    ReinforcementGroup() = default;
    ReinforcementGroup(int column, int row) : m_col(column), m_row(row) {}
};
using ReinforcementGroupList = RecordList<ReinforcementGroup>;
