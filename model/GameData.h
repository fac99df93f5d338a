#pragma once
// The battle-data layer: the scenario's title and file names, the
// organisation and platoon types, every per-hex grid, the unit lists and the
// battle's settings. The layers above read and change the battle through it.

#include <cstdint>
#include <memory>

#include "model/Callback.h"
#include "model/GameRecords.h"
#include "model/GameWeapons.h"
#include "model/HexGrid.h"
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

    // Movement and weapon files, then the map and organisation files named
    // by the battle; re-makes every grid for the map's size. Null, or the
    // first error text.
    const char* Reload() override;
    virtual bool HexHasUnits(int column, int row) const;
    virtual bool IsSideHidden(int side) const;

    // True when the weapon, movement, map or organisation file is newer than
    // when it was read; every file is tested and every newer time stored.
    bool AreDataFilesNewer();
    // Empties the battle; file names, file times, platoon types, smoke counts
    // and the callbacks stay.
    void ResetBattle();
    void BindPlatoonTypes();
    void AllocateGrids(int width, int height);
    void FreeGrids();
    const char* ReadMapFile();
    const char* ReadOrgFile();
    // Keeps the two lowest distinct nations of the nation's default side.
    void RecordSideNation(int nation);

    // The frame's callbacks; the game object owns and deletes them.
    void SetMoveCallback(CCallback* callback);
    void SetPlacementCallback(CCallback* callback);

    bool IsOptionSet(int option) const { return (m_options & option) != 0; }

    // ---- Stacks and unit moves (GameDataStacks.cpp) ----
    // ---- end stacks ----

    // ---- Per-hex state (GameDataHexState.cpp) ----
    // ---- end per-hex state ----

    // ---- Battle file (GameDataBattleFile.cpp) ----
    // ---- end battle file ----

    // ---- Unit operations (GameDataUnits.cpp) ----
    // ---- end unit operations ----

    // ---- Phase change and arrivals (GameDataPhase.cpp) ----
    // ---- end phase change ----

    // ---- Hex state messages (GameDataMessages.cpp) ----
    // ---- end hex state messages ----

    int m_version = kCurrentVersion;
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
    int m_airPower[2] = {0, 0};
    int m_smoke[2] = {0, 0};
    int m_ammo[2] = {80, 80};
    std::vector<int> m_losses;
    TerrainConditions m_terrain;
    int m_visibility = 20;
    HexGrid<ObjectiveCell> m_objectives;
    int m_firstSide = 0;
    int m_thresholds[4] = {0, 0, 0, 0};
    int m_aiPercent[2] = {50, 50};
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
    std::int64_t m_mapFileTime = 0;
    std::int64_t m_orgFileTime = 0;
    std::unique_ptr<LastMove> m_lastMove;
    std::unique_ptr<PlacementRecord> m_placement;
    int m_unitLimits[2][3][3];
    int m_sideNations[2][2] = {{-1, -1}, {-1, -1}};
    HexGrid<HexSideSet> m_damagedBridges;
    HexGrid<ArrivalMark> m_arrivalMarks;
    ValueList<PlatoonType*> m_aircraftPool;
    std::uint8_t m_night = 0;
    int m_starshells[2] = {0, 0};
    std::uint8_t m_inMove = 0;
    // What loading the platoon files said at start-up; empty when all went well.
    String m_startupError;
};
