#include "model/GameData.h"

#include <unordered_map>

#include "model/DataFile.h"
#include "model/Geometry.h"

namespace {

void SetUnitLimits(int (&limits)[2][3][3])
{
    for (auto& side : limits)
        for (auto& kind : side)
            for (int& limit : kind)
                limit = 3;
}

} // namespace

CGameData::CGameData()
{
    SetUnitLimits(m_unitLimits);
    m_startupError = m_platoonTypes.LoadAll(".");
    m_grids.Register(m_stacks, UnitList());
    m_grids.Register(m_wrecks, 0);
    m_grids.Register(m_airStrikeValue, 0);
    m_grids.Register(m_airStrikeSide, -1);
    m_grids.Register(m_hexFlags, 0);
    m_grids.Register(m_hexValue, 0);
    for (auto& grid : m_contact)
        m_grids.Register(grid, ContactCell());
    m_grids.Register(m_objectives, ObjectiveCell());
    m_grids.Register(m_phaseBytes, 0);
    m_grids.Register(m_smokeMark, -1);
    m_grids.Register(m_starshellMark, -1);
    m_grids.Register(m_fireMark, -1);
    m_grids.Register(m_pontoons, PontoonCell());
    m_grids.Register(m_damagedBridges, HexSideSet());
    m_grids.Register(m_arrivalMarks, ArrivalMark());
    AllocateGrids(m_map.GetWidth(), m_map.GetHeight());
}

CGameData::~CGameData() = default;

const char* CGameData::Reload()
{
    if (const char* error = CGameWeapons::Reload())
        return error;
    BindPlatoonTypes();
    FreeGrids();
    m_mapFileTime.Watch(m_mapFileName.view());
    const char* mapError = ReadMapFile();
    // The movement costs follow the map's theme: a map of another region
    // than the one the costs were read for brings its own costs.
    LoadMovementCosts();
    BindPlatoonTypes();
    AllocateGrids(m_map.GetWidth(), m_map.GetHeight());
    m_orgFileTime.Watch(m_orgFileName.view());
    const char* orgError = mapError ? nullptr : ReadOrgFile();
    return mapError ? mapError : orgError;
}

bool CGameData::HexHasUnits(int column, int row) const
{
    return m_stacks.Contains(column, row) && !m_stacks.At(column, row).IsEmpty();
}

bool CGameData::IsSideHidden(int) const { return false; }

bool CGameData::CheckFilesChanged()
{
    // Every file is tested, so that each new time is kept at once.
    bool changed = CGameWeapons::CheckFilesChanged();
    changed = m_mapFileTime.CheckChanged() || changed;
    changed = m_orgFileTime.CheckChanged() || changed;
    return changed;
}

void CGameData::ResetBattle()
{
    m_version = kCurrentVersion;
    m_title = String();
    m_orgTree.ClearMarks();
    m_grids.Empty();
    m_missionType = 0;
    m_pendingFire.Free();
    m_airPower[0] = m_airPower[1] = 0;
    m_ammo[0] = m_ammo[1] = 80;
    std::fill(m_losses.begin(), m_losses.end(), 0);
    m_terrain = TerrainConditions();
    m_visibility = 20;
    m_firstSide = 0;
    std::fill(std::begin(m_thresholds), std::end(m_thresholds), 0);
    m_aiPercent[0] = m_aiPercent[1] = 100;
    m_offMapUnits.Free();
    m_reinforcements.Free();
    m_releases.Free();
    m_eliminated.Free();
    m_exited.Free();
    m_trailer = 1;
    m_advantage = 0;
    m_options = 0;
    SetUnitLimits(m_unitLimits);
    for (auto& side : m_sideNations)
        side[0] = side[1] = -1;
    m_aircraftPool.Free();
    ClearAircraftPicks();
    m_night = 0;
    m_starshells[0] = m_starshells[1] = 0;
}

void CGameData::ResetBattleState()
{
    ResetBattle();
    // The last move is of the battle being replaced, and its unit copies point
    // to organisation nodes that a reload may free.
    m_lastMove.reset();
}

void CGameData::BindPlatoonTypes()
{
    // The first record of each id, as FindWeapon gives it, without a list
    // search per type.
    std::unordered_map<std::int32_t, const WeaponRecord*> weapons;
    for (const WeaponRecord& weapon : m_weapons)
        weapons.emplace(weapon.m_weaponId, &weapon);
    for (PlatoonType* type : m_platoonTypes) {
        const auto found = weapons.find(static_cast<std::int32_t>(type->m_id));
        type->m_weapon = found == weapons.end() ? nullptr : found->second;
        BindMovementRows(*type);
    }
}

void CGameData::AllocateGrids(int width, int height)
{
    m_grids.Allocate(width, height);
    m_losses.assign(static_cast<std::size_t>(m_platoonTypes.Count()), 0);
}

void CGameData::FreeGrids()
{
    m_grids.Free();
    m_losses.clear();
}

const char* CGameData::ReadMapFile() { return m_map.LoadMapFile(m_mapFileName.view()); }

const char* CGameData::ReadOrgFile()
{
    if (m_orgFileName.IsEmpty())
        return nullptr;
    std::ifstream in = OpenDataFile(m_orgFileName.view());
    if (!in.is_open())
        return kOrgOpenErrorText;
    if (!m_orgTree.Read(in))
        return kOrgReadErrorText;
    return nullptr;
}

void CGameData::RecordSideNation(int nation)
{
    int* nations = m_sideNations[DefaultSideOfNation(nation) == 0 ? 0 : 1];
    if (nation == nations[0] || nation == nations[1])
        return;
    if (nations[0] == -1 || nation < nations[0]) {
        nations[1] = nations[0];
        nations[0] = nation;
    } else if (nations[1] == -1 || nation < nations[1]) {
        nations[1] = nation;
    }
}

void CGameData::SetMoveCallback(std::unique_ptr<CCallback> callback) { m_moveCallback = std::move(callback); }

void CGameData::SetPlacementCallback(std::unique_ptr<CCallback> callback) { m_placementCallback = std::move(callback); }
