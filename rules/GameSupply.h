#pragma once
// Artillery availability, ammunition and headquarters supply: once per turn
// report of the side to move, which headquarters can supply, which artillery
// can fire and which units run low on ammunition; and the command range of a
// headquarters, which the map view shades.

#include <cstdint>
#include <vector>

#include "model/Lists.h"
#include "model/String.h"
#include "rules/GameIsolation.h"

// A supplying unit and its hex; the map view hands in a unit of its own
// choice in the same form to learn its command range.
struct SupplyEntry {
    UnitNode* unit = nullptr; // observer: a unit of the hex's stack
    int column = -1;
    int row = -1;
};
using SupplyList = RecordList<SupplyEntry>;

class CGameSupply : public CGameIsolation {
public:
    static constexpr const char* kHqUnableLine = " HQ unable to provide supply\n";
    static constexpr const char* kHqsUnableLine = " HQs unable to provide supply\n";
    static constexpr const char* kArtilleryUnavailableLine = " artillery unit unavailable\n";
    static constexpr const char* kArtilleryUnitsUnavailableLine = " artillery units unavailable\n";
    static constexpr const char* kLowAmmoLine = " unit low on ammo\n";
    static constexpr const char* kUnitsLowAmmoLine = " units low on ammo\n";
    // The range a headquarters resupplies ammunition over.
    static constexpr int kAmmunitionRange = 8;

    CGameSupply() = default;
    ~CGameSupply() override = default;

    // The turn report's supply pass for the side to move: headquarters,
    // ammunition, on-map artillery, off-map artillery, then the summary
    // lines, which replace text. Each hex whose units changed state joins
    // hexes once; offMapChanges gets the 1-based list position (counting
    // both sides' entries) of each off-map unit whose availability changed.
    void CheckSupply(String& text, HexList& hexes, std::vector<int>& offMapChanges);

    // The command range in hexes of the entry's unit's command node: by its
    // level, adjusted under Command Control by the hex's leaders of that node
    // and the nation's percentage; 0 without unit or node, never negative.
    int GetCommandRange(const SupplyEntry& entry) const;
    // |advantage| / 100 for the side the advantage favours, else 0.
    double GetAdvantageChance(int side) const;
    // The side's supply percentage, else the advantage: one or two draws.
    bool SupplyDraw(int side);
    // Whether the lowest supplying superior of the node, listed last by
    // CheckSupply, supplies a unit in the hex at the range: no draw without
    // an able superior or at range 0, else one or two draws.
    bool CanHqSupply(const OrgNode* node, int x, int y, int range);

    // The side to move's supplying units as the last report found them;
    // their unit pointers hold only until a unit is next removed.
    SupplyList m_supplyList;

private:
    // The pieces of the report, in the order they run; each returns its count.
    int UpdateHeadquarters(HexList& hexes);
    int UpdateAmmunition(HexList& hexes);
    int UpdateArtillery(HexList& hexes);
    int UpdateOffMapArtillery(std::vector<int>& offMapChanges);
    // Decides one headquarters for this turn; true when its state changed.
    bool UpdateHeadquarter(SupplyEntry& entry);
    // One unit's part of a pass; true when its state changed.
    bool UpdateUnitAmmunition(PlacedUnit& unit, int x, int y, int& low);
    bool UpdateUnitArtillery(PlacedUnit& unit, int& unavailable);
    // Not isolated, and a headquarters supplies it.
    bool CanResupply(const PlacedUnit& unit, int x, int y);
    // The draw of the side to move, unless the unit is isolated.
    bool DrawIfConnected(const PlacedUnit& unit);
};
