#pragma once
// Isolation: which units of the side to move are cut off, that is stand in a
// hex that no chain of hexes the side controls joins to a source of supply
// (a map edge or impassible ground).

#include <cstdint>

#include "model/Lists.h"
#include "model/String.h"
#include "rules/GameOpportunityFire.h"

class CGameIsolation : public CGameOpportunityFire {
public:
    // Report texts.
    static constexpr const char* kIsolatedHeading = "* The following units are isolated *\n";
    static constexpr const char* kAndOthersLine = "and others...\n";
    // Units named in one report; past them one "and others" line.
    static constexpr int kMaxListedUnits = 10;

    CGameIsolation();
    ~CGameIsolation() override = default;

    // Marks the hexes joined to a source, then sets or clears the isolated
    // bit of every unit of the side to move. The text names the isolated
    // units (empty when there is none); every hex where a unit became or
    // stopped being isolated is added to the list once. The other side's
    // bits stay as its own last pass left them.
    void FindIsolatedUnits(String& text, HexList& hexes);

    // A hex of the map's first or last column or row, or impassible ground.
    bool IsSupplySource(int x, int y) const;
    // Held by the side to move; otherwise empty and not next to an armed
    // unit of the other side.
    bool IsPassableForSupply(int x, int y) const;

    HexGrid<std::uint8_t> m_connected; // 1: joined to a source
    std::uint8_t m_changed = 0; // the hex being reported changed state
    int m_listedCount = 0; // isolated units counted in the report so far

private:
    void MarkConnectedHexes();
    // Depth first with a stack of its own, so that a corridor as long as
    // the map is large needs no deep call chain.
    void FloodFillFrom(int x, int y);
    void ReportHex(String& text, HexList& hexes, int x, int y);
};
