#pragma once
// The small per-hex and per-battle records the game object's data layer owns.

#include <cstdint>
#include <istream>
#include <ostream>
#include <vector>

#include "model/HexSide.h"
#include "model/Lists.h"
#include "model/PlacedUnit.h"
#include "model/String.h"

// A side's contact with a hex: the kind, and the spotting distance of the
// contact (other rules set 1 or 0).
struct ContactCell {
    int kind = 0;
    int value = -1;

    // Kind 1 keeps an existing value unless the new one is smaller.
    void Set(int newKind, int newValue)
    {
        kind = newKind;
        if (newKind != 1 || value == -1 || newValue < value)
            value = newValue;
    }
};

struct ObjectiveCell {
    int value = 0;
    int nation = -1;
};

struct PontoonCell {
    HexSide side = HexSide::None;
    int capacity = 0;
};
// "Lt Pontoon (2)", "Damaged (0)" and the like.
void PontoonBridgeText(const PontoonCell& cell, String& text);

struct ArrivalMark {
    int value = -1;
    bool flag = false;
};

// A delayed indirect-fire mission: the firing unit's organisation node id (0
// for none), the firing hex, the target hex, and set for smoke.
struct PendingFire {
    int nodeId = 0;
    int fromColumn = -1;
    int fromRow = -1;
    int targetColumn = -1;
    int targetRow = -1;
    bool smoke = false;

    // The six values separated by blanks (the flag as 0 or 1), no line feed.
    // Reading takes any flag other than 0 as set; on failure the record is
    // unchanged.
    template <class In> bool Read(In& in)
    {
        PendingFire read;
        int flag = 0;
        if (!(in >> read.nodeId >> read.fromColumn >> read.fromRow >> read.targetColumn >> read.targetRow >> flag))
            return false;
        read.smoke = flag != 0;
        *this = read;
        return true;
    }
    template <class Out> bool Write(Out& out) const
    {
        out << nodeId << ' ' << fromColumn << ' ' << fromRow << ' ' << targetColumn << ' ' << targetRow << ' '
            << (smoke ? 1 : 0);
        return static_cast<bool>(out);
    }
};
using PendingFireList = RecordList<PendingFire>;

// A formation released at a time.
struct ReleaseRecord {
    int time = 0;
    int chance = 100;
    OrgNode* node = nullptr; // observer: a node of the game object's organisation tree
};
using ReleaseList = RecordList<ReleaseRecord>;

// The unit being placed by a scattered placement, read by the placement callback.
struct PlacementRecord {
    int column = 0;
    int row = 0;
    int nation = 0;
    std::uint32_t placementFlags = 0;
};

// One hex as it was before the moves of a turn step changed it: its units in
// stack order, flag word, objective holder and air strike. Restoring swaps
// the hex's state with the snapshot's, so a second restore undoes the first.
struct HexSnapshot {
    int column = 0;
    int row = 0;
    UnitList units;
    int flags = 0;
    int objectiveNation = -1;
    int airStrikeValue = 0;
    int airStrikeSide = -1;
};

// The last move of a stack between two hexes: the moved units as they were
// before the move, with their second facings before and after. The move
// callback and the network layer read it.
class LastMove {
public:
    LastMove(int fromColumn, int fromRow, int toColumn, int toRow, int count);

    void SetUnit(int index, const PlacedUnit& unit, HexSide secondFacingBefore);
    void SetSecondSide(int index, HexSide secondFacingAfter);

    int m_fromColumn;
    int m_fromRow;
    int m_toColumn;
    int m_toRow;
    int m_count;
    std::vector<PlacedUnit> m_units;
    std::vector<HexSide> m_secondBefore;
    std::vector<HexSide> m_secondAfter;
};
