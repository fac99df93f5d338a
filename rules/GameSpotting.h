#pragma once
// Fog of war: which hexes each side has in contact, at what spotting
// distance, and which enemy units each side actually knows about (the hidden
// bit of every unit). The contact cells live in the battle data; this layer
// computes them and keeps the levels as they were before the last
// recomputation, to name the hexes whose contact changed.

#include <cstdint>
#include <vector>

#include "rules/GameLos.h"

class CGameSpotting : public CGameLos {
public:
    // Contact levels of a side with a hex.
    static constexpr int kContactNone = 0;
    static constexpr int kContactArmed = 1; // seen by a hex with an armed unit
    static constexpr int kContactUnarmed = 2; // seen only by unarmed units

    CGameSpotting();
    ~CGameSpotting() override = default;

    // Clears every contact cell of both sides and finds them again: each hex
    // of the side to move against each enemy hex in both directions, then
    // empty hexes with positions, obstacles or caves against every occupied
    // hex, in scan order (columns outer, rows inner).
    void RecomputeContacts();
    // Recomputes the contacts, appends the hexes whose contact level changed
    // for either side, then brings the units' hidden bits up to date (their
    // hexes appended too). Each hex goes into the list once.
    void UpdateSpotting(HexList& hexes);
    // Hides the units of every hex its enemy has lost contact with, and draws
    // for the hidden units of every hex the enemy has armed contact with;
    // appends the hexes whose units changed. Unarmed contact leaves them.
    void UpdateUnitVisibility(HexList& hexes);
    // Every unit hidden, then a draw for each unit of every hex its enemy has
    // any contact with (the start of a battle).
    void ResetUnitVisibility();
    // The contact level that the enemy of the hex's occupant (of the side to
    // move for an empty hex) has with it; when there is none, whether that
    // side sees the hex now, which marks it.
    int IsHexSpottedByEnemy(int x, int y);
    // Whether a hex held by the side with an armed unit has line of sight to
    // the hex. With mark, a sighting gives the side armed contact with the
    // hex at the least spotting distance found.
    bool CanSideSeeHex(int x, int y, int side, int mark);
    // What the hex hides its units by: terrain, rubble, positions, smoke.
    // Negative hides, positive shows.
    int GetHexConcealment(int x, int y) const;
    // The distance from a to b, times 2 for a hedge-like side of b facing a,
    // 4 for bocage. Only b's features count.
    int GetSpottingDistance(int ax, int ay, int bx, int by) const;
    // One draw of the global generator: whether the enemy spots the unit in
    // the hex, a chance of (v + 1) in 10 for v from 0 to 8.
    bool IsUnitSpotted(const PlacedUnit& unit, int x, int y) const;
    // Sets the hidden bit of each unit of the hex lacking it; true when any
    // changed.
    bool HideHexUnits(int x, int y);
    // Draws for each hidden unit of the hex in stack order; a spotted unit
    // loses the bit. True when any was revealed.
    bool RevealHexUnits(int x, int y);

    // The contact levels of each side (side 0 first) before the last
    // recomputation.
    HexGrid<int> m_contactSnapshot[2];

private:
    // An occupied hex as one pass sees it; what a hex holds does not change
    // during a pass.
    struct OccupiedHex {
        int x = 0;
        int y = 0;
        int side = -1;
        bool armed = false;
        bool selfMoving = false;
    };
    // One hex the pass acts on, in scan order.
    struct ScanEntry {
        enum Kind : std::uint8_t { kMover, kOther, kFeature };
        int x = 0;
        int y = 0;
        Kind kind = kMover;
        int occupied = -1; // index into m_occupied for a held hex
    };

    // Collects the held hexes and the feature hexes in scan order.
    void IndexHexes(int mover);
    OccupiedHex DescribeHex(int x, int y, int side) const;
    void UpdateContactsBetween(const OccupiedHex& own, int mover, int other);
    void UpdateFeatureHexContacts(int x, int y);
    // The viewer's line of sight to the target, answered without the test
    // when the target is out of range as the test would answer it.
    bool SeesHex(int viewerX, int viewerY, int targetX, int targetY);
    // Appends the hex to the list unless it is there already; m_listed
    // marks the hexes of the list.
    void AppendOnce(HexList& hexes, int x, int y);
    void MarkListed(const HexList& hexes);

    std::vector<OccupiedHex> m_occupied;
    std::vector<int> m_enemies; // indices into m_occupied, scan order
    std::vector<ScanEntry> m_scan;
    std::vector<std::uint8_t> m_listed;
};
