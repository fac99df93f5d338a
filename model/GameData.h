#pragma once
// The battle-data layer: the scenario's title and file names, the
// organisation and platoon types, every per-hex grid, the unit lists and the
// battle's settings. The layers above read and change the battle through it.

#include <cstdint>
#include <memory>
#include <optional>

#include "model/Callback.h"
#include "model/GameRecords.h"
#include "model/GameWeapons.h"
#include "model/HexGrid.h"
#include "model/HexValues.h"
#include "model/OrgTree.h"
#include "model/PlacedUnit.h"
#include "model/PlatoonType.h"
#include "model/String.h"
#include "model/TerrainConditions.h"

// Option bits of a battle.
enum GameOption : int {
    kOptionIndirectFireByMap = 0x1,
    kOptionExtremeFogOfWar = 0x2,
    kOptionArmorFacing = 0x4,
    kOptionPlottedIndirectFire = 0x8,
    kOptionAirInFinalPhase = 0x10,
    kOptionCombatResults = 0x20,
    kOptionDiggingIn = 0x40,
    kOptionThreePhase = 0x80,
    kOptionCommandControl = 0x100,
};

class CGameData : public CGameWeapons {
public:
    static constexpr const char* kOrgOpenErrorText = "Error opening org file: main.org";
    static constexpr const char* kOrgReadErrorText = "Error reading from org file: main.org";
    static constexpr int kCurrentVersion = 10;

    CGameData();
    ~CGameData() override;
    CGameData(const CGameData&) = delete;
    CGameData& operator=(const CGameData&) = delete;

    virtual bool HexHasUnits(int column, int row) const;
    virtual bool IsSideHidden(int side) const;

    // The lower layers' files, then the map and organisation files.
    bool CheckFilesChanged() override;
    // Empties the battle, every hex of every layer's grids included; file
    // names, file times, platoon types, smoke counts and the callbacks stay.
    void ResetBattle();
    // Empties the battle state of every layer: every read of a battle runs
    // it first, so that nothing of an earlier battle stays behind. A layer
    // that keeps state of its own for a battle extends it, calling its base
    // first. Here: the battle (ResetBattle) and the last move.
    virtual void ResetBattleState();
    void BindPlatoonTypes();
    // Every registered grid (of every layer) and the loss table.
    void AllocateGrids(int width, int height);
    void FreeGrids();
    const char* ReadMapFile();
    const char* ReadOrgFile();
    // Keeps the two lowest distinct nations of the nation's default side.
    void RecordSideNation(int nation);

    // The frame's callbacks; the game object owns them from here on (a
    // replaced one is deleted).
    void SetMoveCallback(std::unique_ptr<CCallback> callback);
    void SetPlacementCallback(std::unique_ptr<CCallback> callback);

    bool IsOptionSet(int option) const { return (m_options & option) != 0; }

    // Stacks and unit moves (GameDataStacks.cpp).
    // The units of a hex are addressed by stack positions: 1 is the top unit,
    // counting down, and 0 names the bottom unit. Every operation that takes
    // positions first resolves them to distinct units of the hex; a hex off
    // the map, an empty selection, a position past the stack, or two
    // positions naming one unit refuse the whole operation (false, nothing
    // changed).
    //
    // The carrier rule: a carried unit (status 16) lies directly below its
    // carrier. A unit's riders are the carried units right below it (a
    // carried unit may carry a rider of its own, as a towing jeep its gun);
    // a rider's party is led by the nearest unit above it that is not
    // carried. Operations that take units out of a stack (moves, to top or
    // bottom, exit, removal) take a listed unit's riders along right below
    // it, and refuse a rider listed without the unit leading its party.

    // The unit at a stack position; null for a hex off the map or a position
    // that names no unit.
    UnitNode* GetStackNode(int x, int y, int position);
    const UnitNode* GetStackNode(int x, int y, int position) const;
    // The node's 1-based stack position; 0 when the hex does not hold it.
    int GetStackPosition(int x, int y, const UnitNode* node) const;
    // Resolve positions to units: the listed units in list order, or false
    // (units left empty) for a selection refused as above.
    bool ResolvePositionsToUnits(int x, int y, const int* positions, int count, std::vector<UnitNode*>& units);
    bool ResolvePositionsToUnits(
        int x, int y, const int* positions, int count, std::vector<const UnitNode*>& units) const;
    // Resolve positions under the carrier rule: each listed unit that leads
    // its party followed by its riders, in list order (a listed rider goes
    // with its party); false (units left empty) for a refused selection or a
    // rider listed without the unit leading its party.
    bool ResolvePartiesToUnits(int x, int y, const int* positions, int count, std::vector<UnitNode*>& units);
    // The unit leading the party of a unit of the stack (itself unless it is
    // a carried unit below another unit).
    static UnitNode* PartyLeader(const UnitList& stack, UnitNode* node);
    // Appends the node and then its riders, top first.
    static void AppendWithRiders(UnitNode* node, std::vector<UnitNode*>& units);

    // Moves the listed units with their riders onto the destination's
    // stack, on top in list order. The move (every unit moved, riders too) is
    // kept in m_lastMove; the move callback runs once, between the units
    // leaving and arriving, unless m_inMove is set. Each position is
    // rewritten to its unit's new position (1..count when no rider comes
    // along) and the units may take the destination's objective. Facings
    // turn to the direction of an adjacent move.
    bool MoveUnitsBetweenHexes(int fromX, int fromY, int toX, int toY, int* positions, int count);
    // An armed unit in an objective hex (value 1 or more) takes it for the
    // nation on top of the stack.
    void TakeObjective(int x, int y);
    // The listed units with their riders go to the top (bottom) of their
    // stack, in list order.
    bool MoveUnitsToTop(int x, int y, const int* positions, int count);
    bool MoveUnitsToBottom(int x, int y, const int* positions, int count);
    // Takes the listed units with their riders (each right after its
    // carrier) out of their stack; false, and nothing taken, for a refused
    // selection.
    bool TakeListedUnits(int x, int y, const int* positions, int count, std::vector<PlacedUnit>& taken);
    // One side round; second sides stay.
    bool TurnUnitsClockwise(int x, int y, const int* positions, int count);
    bool TurnUnitsCounterclockwise(int x, int y, const int* positions, int count);
    // Every listed unit faces as the first listed one; second sides are then
    // assigned afresh toward that facing (the reversed form: away from it).
    bool AlignUnitFacings(int x, int y, const int* positions, int count);
    bool AlignUnitFacingsReversed(int x, int y, const int* positions, int count);
    // Side and nation of the top unit's type; -1 for an empty hex.
    int SideInHex(int x, int y) const;
    int NationInHex(int x, int y) const;
    // Units that are neither carried nor leaders (0 for a refused selection).
    int CountStackUnits(int x, int y) const;
    int CountSelectedUnits(int x, int y, const int* positions, int count) const;
    // Strength of the listed units that are neither carried nor leaders.
    int SumSelectedStrength(int x, int y, const int* positions, int count) const;
    // The stacking total: wrecks plus the strength of the units that are
    // neither carried nor leaders.
    int GetStackStrength(int x, int y) const;

    // Per-hex state (GameDataHexState.cpp).
    // Every operation here that takes a hex checks it: a hex off the grids
    // reads as empty (no wrecks, no contact, no marks, no pontoon) and a
    // change aimed at it does nothing.

    // Bits of the hex flag word (m_hexFlags).
    enum HexFlagBits : int {
        kHexMinefield1 = 0x1,
        kHexMinefield2 = 0x2,
        kHexMinefield3 = 0x4,
        kHexBlocked = 0x8,
        kHexImprovedPosition = 0x10,
        kHexBunker = 0x20,
        kHexRulesMark = 0x40, // set by moves, fire and assaults of the rules engine
        kHexTrench = 0x80,
        kHexRubble = 0x100,
        kHexDamaged = 0x200,
        kHexPillbox = 0x400,
        kHexMinefieldOther = 0x800,
        kHexSmoke = 0x1000,
        kHexCave = 0x2000,
        kHexCaveRevealed = 0x4000,
        kHexFortified = kHexBunker | kHexPillbox,
        kHexAnyMinefield = kHexMinefield1 | kHexMinefield2 | kHexMinefield3 | kHexMinefieldOther,
    };
    // The wreck word: the count in the low 28 bits, bit 28 the flag of
    // wrecks left in shallow water.
    static constexpr int kWreckCountMask = HexValues::kWreckCountMask;
    static constexpr int kWreckBurning = HexValues::kWreckBurning;

    int GetWreckValue(int x, int y) const;
    bool IsWreckBurning(int x, int y) const;
    // Adds to the wreck count (held to 0..kWreckCountMask) and, with the
    // flag, sets the water-wreck bit; open water swallows wrecks.
    void AddWreck(int x, int y, int value, bool flag);
    // Effective terrain Water, water not frozen, and neither a road or rail
    // across it nor a pontoon in it.
    bool IsOpenWater(int x, int y) const;
    // The map's terrain under the battle's conditions; Impassible off the map.
    int GetEffectiveTerrain(int x, int y) const;

    // Side 0 or 1's contact with the hex: kind 0 (none), 1 or 2, and value
    // (the spotting distance, -1 none). Another side reads as none.
    int GetContactLevel(int x, int y, int side) const;
    int GetContactValue(int x, int y, int side) const;
    void SetContact(int x, int y, int side, int kind, int value);
    // The contact kind the enemy of the hex's occupant has with it; 0 for an
    // empty hex.
    int GetEnemyContact(int x, int y) const;

    // Hidden information is on: set by the frame, or Extreme Fog-Of-War.
    bool IsHiddenInformationOn() const { return m_infoHidden != 0 || IsOptionSet(kOptionExtremeFogOfWar); }
    // Hidden information is on and the side is hidden from the other side's
    // player.
    bool IsSideInfoHidden(int side) const;
    void SetInfoHidden(bool flag);
    // Whether the map shows what the hex holds.
    bool IsHexContentShown(int x, int y) const;
    // A unit of a hidden side is concealed by any terrain but Open, Water,
    // Shallow Water and Beach, by smoke, and, when it is not a vehicle, by a
    // fortified position.
    bool IsUnitConcealed(const PlacedUnit& unit, int x, int y) const;

    // Smoke, starshell and fire marks hold the side that laid them; -1 none.
    bool HasSmoke(int x, int y) const;
    bool HasStarshell(int x, int y) const;
    bool HasFireMark(int x, int y) const;
    // With the flag the smoke bit of the hex flags follows the mark (set for
    // a mark, cleared for -1).
    void SetSmoke(int value, int x, int y, bool flag);
    void SetStarshell(int value, int x, int y);
    void SetFireMark(int value, int x, int y);

    bool HasPontoon(int x, int y) const;
    // A pontoon lies across the side or its opposite.
    bool PontoonCrossesSide(int x, int y, HexSide side) const;
    // 0 for a damaged pontoon (and for none).
    int GetPontoonCapacity(int x, int y) const;
    HexSideSet GetDamagedBridgeSides(int x, int y) const;
    ArrivalMark GetArrivalMark(int x, int y) const;
    void SetArrivalMark(int x, int y, int value, bool flag);
    // Adds to the hex's total of indirect fire values (held to the int range).
    void AddHexValue(int x, int y, int n);
    // The hex's state as a snapshot holds it; false for a hex off the grids.
    bool TakeHexSnapshot(int x, int y, HexSnapshot& snapshot) const;
    // Swaps the hex's units, flag word and objective holder with the
    // snapshot's. An air strike placed since the snapshot goes back to the
    // side to move's pool; one the snapshot holds while the hex has none
    // is taken from the pool again. False, nothing changed, off the grids.
    bool RestoreHex(HexSnapshot& snapshot);

    // 0 hard target, 1 vehicle-like soft target, 2 other soft target (2 for
    // no type).
    static int GetUnitClass(const PlatoonType* type);
    // The unit's counter (index 0..2) capped by its side's limit for its
    // class; 0 for another index.
    int GetCappedUnitValue(const PlacedUnit& unit, int index) const;
    // Picks uniformly, with a private time-seeded generator (the shared
    // sequence of rule draws is left alone), an aircraft of the side from
    // the pool and keeps it as the side's pending pick, so that later
    // calls return it; with remove, the pick's pool entry is taken out and
    // the pick cleared. Null when the pool has no aircraft of the side.
    const PlatoonType* TakeRandomAircraft(int side, bool remove);
    // Forgets both sides' pending picks (a battle reset does this).
    void ClearAircraftPicks();
    // The next three take stack positions and refuse a selection as the
    // stack operations do (false, nothing changed); exit and removal keep
    // the carrier rule as the stack operations do.
    // Takes the listed units with their riders off the map into the exited
    // list; at an exit hex held by the side of its holder nation the
    // objective value goes down by each unit's strength times its type's
    // unit value.
    bool ExitUnits(int x, int y, const int* positions, int count);
    // Unlinks and frees the listed units with their riders; no loss is counted.
    bool RemoveUnits(int x, int y, const int* positions, int count);
    // Toggles digging in (status 0x200) of each listed unit; carried units
    // never dig in.
    bool ToggleDigIn(int x, int y, const int* positions, int count);
    // Keeps the unit type's nation among its side's two lowest nations.
    void NoteUnitNation(const PlacedUnit& unit);
    // The clock's label with the battle's three-phase option.
    void GetClockText(String& out) const;

    // Hidden information switched on by the frame; kept by a battle reset.
    std::uint8_t m_infoHidden = 0;
    // Per side, the aircraft type picked but not yet taken from the pool.
    const PlatoonType* m_aircraftPick[2] = { nullptr, nullptr };

    // Battle file (GameDataBattleFile.cpp).
    // Reads a battle (".scn", ".btl", ".cpn"): header, reload of the data
    // files it names, sections, loss table and trailer. On any failure the
    // battle is reset and the reason is left in m_battleReadError. With the
    // flag the battle is held as version 10 whatever the file's version.
    // Layers above extend it with their own blocks: they call this first.
    virtual bool ReadBattleFile(std::istream& in, bool keepVersion10);
    // Writes the battle in the version-10 layout; stops at the first failed
    // write and returns false, so that a caller can keep the old file.
    virtual bool WriteBattleFile(std::ostream& out) const;
    // The reader's parts, on the file's text in memory.
    bool ReadBattleText(TextScanner& in, bool keepVersion10);
    bool ReadBattleHeader(TextScanner& in);
    bool ReadBattleSections(TextScanner& in);
    bool ReadLossTable(TextScanner& in);
    // Empties the battle after a failed read (the smoke counts too, which a
    // reset keeps) and keeps the reason in m_battleReadError.
    void DropFailedBattle(const String& error);
    bool WriteBattleHeader(TextBuilder& out) const;
    bool WriteHexSections(TextBuilder& out) const;
    bool WriteLossTable(TextBuilder& out) const;
    // The one public reload: every data file (platoon files included), with
    // or without a battle in play. The battle is written to memory, the data
    // reloaded and the battle read back, so that no unit, list or record
    // keeps pointing into replaced data. Empty on success, else an error
    // text: that of the platoon files when the battle could still be read
    // back, else that of the read back, and then the battle is reset.
    String ReloadKeepingBattle();
    // Off-map units and the missions they fire may stand this many hexes
    // beyond the map's edges; farther is refused as damage.
    static constexpr int kMaxOffMapDistance = 1000;
    // Why the last battle read failed; empty after a successful one.
    String m_battleReadError;

    // Unit operations (GameDataUnits.cpp).
    // The listed units of a hex sorted for a load/unload order: passengers to
    // unload (carried units), passengers to load, carriers, and the rest.
    struct LoadUnloadLists {
        std::vector<UnitNode*> unload;
        int unloadStrength = 0;
        std::vector<UnitNode*> passengers;
        int passengerStrength = 0;
        std::vector<UnitNode*> carriers;
        std::vector<UnitNode*> spare;
    };
    // Sorts the listed units; carriers in excess take spare units, then
    // carriers that need not carry anything, as passengers. A loaded carrier
    // is never offered as a carrier nor as a passenger.
    // The lists name units to change, so this needs a mutable game object.
    bool ClassifyLoadUnload(int x, int y, const int* positions, int count, LoadUnloadLists& lists);
    // Boards passenger i onto carrier i (directly below it) for as many pairs
    // as both lists hold, then puts each passenger to unload on top of the
    // stack, facing as its carrier did and taking its second side, with any
    // rider it carries itself right below it; those carriers get second
    // sides away from that facing. The entries of boarded and unloaded
    // passengers (and of riders taken along) become their new nodes. False,
    // with nothing changed, when a listed node is not in the hex or is listed
    // twice, a pair holds a carried or loaded unit, or a unit to unload is
    // not carried.
    bool ApplyLoadUnload(int x, int y, LoadUnloadLists& lists);
    // The unit's strength counts as lost for its type; a copy joins the
    // eliminated list and the node is freed. A carrier's riders share its
    // fate (their nodes are freed too); a rider eliminated alone leaves its
    // carrier unloaded (status 64 cleared). False when the hex does not hold it.
    bool EliminateUnit(int x, int y, UnitNode* node);
    // The unit loses n strength points (never below 1); the points it lost
    // count for its type.
    void ApplyStrengthLoss(PlacedUnit& unit, int n);
    // Adds strength points to the loss total of the type.
    void AddLoss(const PlatoonType* type, int points);
    // Per platoon type: units on the map and off it, and those of them that
    // are disrupted (status 8).
    void TallyUnitsByType(std::vector<int>& counts, std::vector<int>& reduced) const;
    // The top unit goes to the bottom; a carried unit then on top follows it.
    void CycleStack(int x, int y);
    // The occupant's enemy has contact kind 2 with the occupied hex.
    bool IsOccupiedHexContacted(int x, int y) const;
    // Marks the organisation nodes (and their formations) of the units on the map.
    void RefreshOrgPresence();
    // Second sides of the hex's units that are not carried.
    HexSideSet GetStackSecondSides(int x, int y) const;
    // Gives the listed units that are not carried second sides that the
    // hex's units do not cover yet, starting from the direction (from each
    // unit's facing when the direction is none).
    void AssignSecondSides(const std::vector<UnitNode*>& units, HexSide direction, int x, int y);
    // The same for one unit about to be placed in the hex.
    void AssignSecondSide(PlacedUnit& unit, int x, int y);
    // Places a reinforcement group: scattered (placement bit 0 or 1) or at its
    // entry hex. The group itself is not changed. The touched hexes are
    // added to the list. False, with nothing placed, for an entry hex off the map.
    bool PlaceReinforcementGroup(const ReinforcementGroup& group, int congestionDivisor, HexList& hexes);
    // Every unit enters at the bottom of the entry hex's stack; the more
    // strength entered the hex this phase, the fewer action points a unit
    // keeps (a divisor of 0 or less counts as 1).
    bool PlaceGroupAtEntry(const ReinforcementGroup& group, int congestionDivisor, HexList& hexes);
    // Every unit (a carrier with its passengers) lands after a random walk
    // from the entry hex; the placement callback shows each unit's landing.
    // A unit that cannot land there is eliminated.
    bool ScatterGroup(const ReinforcementGroup& group, HexList& hexes);
    // Lands the unit in the hex when it can: true when it landed. A hex
    // the enemy holds or open water refuses it; a hazardous landing draws
    // a share of its strength, which it loses (counted as a loss), and
    // disrupts it; a landing that would leave no strength fails. With
    // airDrop (placement bit 0) other terrain counts as hazardous.
    bool TryLandUnit(PlacedUnit& unit, int x, int y, bool airDrop);

    // Phase change and arrivals (GameDataPhase.cpp).
    // Ends the phase: clears the per-phase hex bytes, advances the clock and
    // refills action points and clears per-phase status bits. False, with
    // only the hex bytes cleared, when the battle's time is up.
    bool AdvancePhase(int timeStep);
    // In the Initial phase, a group of the side to move is due with certainty.
    bool IsReinforcementDue() const;
    // The same for one group: in the Initial phase, of the side to move, its
    // time reached and its arrival certain.
    bool IsReinforcementGroupDue(const ReinforcementGroup& group) const;
    // Draws for each due group of the side to move; the indices (from 0) of
    // those that arrived are appended and their chance becomes 100.
    void RollReinforcementArrivals(String& text, std::vector<int>& groups);
    // Draws for each due release of the side to move; released records are
    // removed (their 1-based positions, counted as they are removed, are
    // appended) and their units may act again (their hexes are appended).
    void ReleaseUnits(String& text, std::vector<int>& positions, HexList& hexes);
    // The side to move's remaining air strikes, in the phase they belong to.
    void GetAirStrikesText(String& text) const;
    // Clears the smoke, fire and starshell marks of the side to move.
    void ExpireMarks(HexList& hexes);
    // The start-of-phase report: in the Initial phase marks expire and
    // reinforcements and releases are drawn; then the air strikes left.
    void BuildArrivalReport(String& text, HexList& hexes, std::vector<int>& groups, std::vector<int>& releases);

    // Hex state messages (GameDataMessages.cpp).
    // The complete state of one hex, and the side totals, as the special
    // modes send them between the two machines: decimal integers separated
    // by single blanks, no line end of their own.
    // Largest stack a hex-state text may carry.
    static constexpr int kMaxHexStateUnits = 1000;

    // False, with nothing written, for a hex off the map.
    bool WriteHexState(std::ostream& out, int x, int y) const;
    // Replaces the hex from such a text, always read in the full layout. The
    // contact fields are stored only with applyContact. False, with nothing
    // changed, for a hex off the map, a truncated text, a unit that names no
    // platoon type or organisation node, or a value out of its range.
    bool ReadHexState(std::istream& in, int x, int y, bool applyContact);
    // Air strikes and smoke missions left per side, then the loss table.
    bool WriteSideTotals(std::ostream& out) const;
    // False, with nothing changed, for a truncated text, a negative count, or
    // a loss line naming no platoon type.
    bool ReadSideTotals(std::istream& in);

    int m_version = kCurrentVersion;
    // Set by the last battle read when the file named a version outside
    // the ones this program reads.
    bool m_versionMismatch = false;
    String m_title;
    OrgTree m_orgTree;
    PlatoonTypeList m_platoonTypes;
    String m_mapFileName;
    String m_orgFileName;
    HexGrid<UnitList> m_stacks;
    int m_missionType = 0;
    HexGrid<int> m_wrecks;
    HexGrid<int> m_airStrikeValue;
    HexGrid<int> m_airStrikeSide;
    PendingFireList m_pendingFire;
    HexGrid<int> m_hexFlags;
    HexGrid<int> m_hexValue;
    HexGrid<ContactCell> m_contact[2];
    int m_airPower[2] = { 0, 0 };
    int m_smoke[2] = { 0, 0 };
    int m_ammo[2] = { 80, 80 };
    std::vector<int> m_losses;
    TerrainConditions m_terrain;
    int m_visibility = 20;
    HexGrid<ObjectiveCell> m_objectives;
    int m_firstSide = 0;
    int m_thresholds[4] = { 0, 0, 0, 0 };
    int m_aiPercent[2] = { 50, 50 };
    HexGrid<std::uint8_t> m_phaseBytes;
    HexGrid<int> m_smokeMark;
    HexGrid<int> m_starshellMark;
    HexGrid<int> m_fireMark;
    OffMapUnitList m_offMapUnits;
    ReinforcementGroupList m_reinforcements;
    ReleaseList m_releases;
    UnitList m_eliminated;
    UnitList m_exited;
    HexGrid<PontoonCell> m_pontoons;
    int m_trailer = 1;
    int m_advantage = 0;
    int m_options = 0;
    std::unique_ptr<CCallback> m_moveCallback;
    std::unique_ptr<CCallback> m_placementCallback;
    // The map and organisation files as last read; a battle reset keeps them.
    HeldFile m_mapFileTime;
    HeldFile m_orgFileTime;
    // The last stack move and the unit being placed by a scattered
    // placement, read by the callbacks; empty until there is one.
    std::optional<LastMove> m_lastMove;
    std::optional<PlacementRecord> m_placement;
    int m_unitLimits[2][3][3];
    int m_sideNations[2][2] = { { -1, -1 }, { -1, -1 } };
    HexGrid<HexSideSet> m_damagedBridges;
    HexGrid<ArrivalMark> m_arrivalMarks;
    // Aircraft types of the battle (observers of m_platoonTypes), one entry
    // per strike.
    ValueList<const PlatoonType*> m_aircraftPool;
    std::uint8_t m_night = 0;
    int m_starshells[2] = { 0, 0 };
    std::uint8_t m_inMove = 0;
    // What loading the platoon files said at start-up; empty when all went well.
    String m_startupError;
    // Every per-hex grid of every layer, registered by the layer that owns
    // it; the reload re-makes them all for the map's size.
    HexGridSet m_grids;

protected:
    // Movement and weapon files, then the map and organisation files named
    // by the battle; re-makes every grid for the map's size. Null, or the
    // first error text. The battle-file reader calls it once the old battle
    // is gone; everyone else reloads through ReloadKeepingBattle.
    const char* Reload() override;
};
