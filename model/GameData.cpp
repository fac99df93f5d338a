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

// Reads the file's time into the stored time when its status can be read.
void StoreFileTime(const String& name, std::int64_t& stored)
{
    if (name.IsEmpty())
        return;
    if (auto time = DataFileTime(name.view()))
        stored = *time;
}

// Whether the file is newer than the stored time (never for a time of 0);
// the newer time is stored.
bool IsFileNewer(const String& name, std::int64_t& stored)
{
    if (stored == 0 || name.IsEmpty())
        return false;
    auto time = DataFileTime(name.view());
    if (!time || *time <= stored)
        return false;
    stored = *time;
    return true;
}

} // namespace

CGameData::CGameData()
{
    SetUnitLimits(m_unitLimits);
    m_startupError = m_platoonTypes.LoadAll(".");
    AllocateGrids(m_map.GetWidth(), m_map.GetHeight());
}

CGameData::~CGameData() = default;

const char* CGameData::Reload()
{
    if (const char* error = CGameWeapons::Reload())
        return error;
    BindPlatoonTypes();
    FreeGrids();
    StoreFileTime(m_mapFileName, m_mapFileTime);
    const char* mapError = ReadMapFile();
    // The movement costs follow the map's theme: a map of another region
    // than the one the costs were read for brings its own costs.
    LoadMovementCosts();
    BindPlatoonTypes();
    AllocateGrids(m_map.GetWidth(), m_map.GetHeight());
    StoreFileTime(m_orgFileName, m_orgFileTime);
    const char* orgError = mapError ? nullptr : ReadOrgFile();
    return mapError ? mapError : orgError;
}

bool CGameData::HexHasUnits(int column, int row) const
{
    return m_stacks.Contains(column, row) && !m_stacks.At(column, row).IsEmpty();
}

bool CGameData::IsSideHidden(int) const { return false; }

bool CGameData::AreDataFilesNewer()
{
    // Every file is tested, so that each newer time is stored at once.
    bool newer = CheckFilesChanged();
    newer = IsFileNewer(m_mapFileName, m_mapFileTime) || newer;
    newer = IsFileNewer(m_orgFileName, m_orgFileTime) || newer;
    return newer;
}

void CGameData::ResetBattle()
{
    m_version = kCurrentVersion;
    m_title = String();
    m_orgTree.ClearMarks();
    for (int c = 0; c < m_stacks.Width(); ++c)
        for (int r = 0; r < m_stacks.Height(); ++r)
            m_stacks.At(c, r).Free();
    m_missionType = 0;
    m_wrecks.Fill(0);
    m_airStrikeValue.Fill(0);
    m_airStrikeSide.Fill(-1);
    m_pendingFire.Free();
    m_hexFlags.Fill(0);
    m_hexValue.Fill(0);
    for (auto& grid : m_contact)
        grid.Fill(ContactCell());
    m_airPower[0] = m_airPower[1] = 0;
    m_ammo[0] = m_ammo[1] = 80;
    std::fill(m_losses.begin(), m_losses.end(), 0);
    m_terrain = TerrainConditions();
    m_visibility = 20;
    m_objectives.Fill(ObjectiveCell());
    m_firstSide = 0;
    std::fill(std::begin(m_thresholds), std::end(m_thresholds), 0);
    m_aiPercent[0] = m_aiPercent[1] = 100;
    m_phaseBytes.Fill(0);
    m_smokeMark.Fill(-1);
    m_starshellMark.Fill(-1);
    m_fireMark.Fill(-1);
    m_offMapUnits.Free();
    m_reinforcements.Free();
    m_releases.Free();
    m_eliminated.Free();
    m_exited.Free();
    m_pontoons.Fill(PontoonCell());
    m_trailer = 1;
    m_advantage = 0;
    m_options = 0;
    SetUnitLimits(m_unitLimits);
    for (auto& side : m_sideNations)
        side[0] = side[1] = -1;
    m_damagedBridges.Fill(HexSideSet());
    m_arrivalMarks.Fill(ArrivalMark());
    m_aircraftPool.Free();
    ClearAircraftPicks();
    m_night = 0;
    m_starshells[0] = m_starshells[1] = 0;
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
    m_stacks.Allocate(width, height, UnitList());
    m_wrecks.Allocate(width, height, 0);
    m_airStrikeValue.Allocate(width, height, 0);
    m_airStrikeSide.Allocate(width, height, -1);
    m_hexFlags.Allocate(width, height, 0);
    m_hexValue.Allocate(width, height, 0);
    for (auto& grid : m_contact)
        grid.Allocate(width, height, ContactCell());
    m_objectives.Allocate(width, height, ObjectiveCell());
    m_phaseBytes.Allocate(width, height, 0);
    m_smokeMark.Allocate(width, height, -1);
    m_starshellMark.Allocate(width, height, -1);
    m_fireMark.Allocate(width, height, -1);
    m_pontoons.Allocate(width, height, PontoonCell());
    m_damagedBridges.Allocate(width, height, HexSideSet());
    m_arrivalMarks.Allocate(width, height, ArrivalMark());
    m_losses.assign(static_cast<std::size_t>(m_platoonTypes.Count()), 0);
}

void CGameData::FreeGrids()
{
    m_stacks.Free();
    m_wrecks.Free();
    m_airStrikeValue.Free();
    m_airStrikeSide.Free();
    m_hexFlags.Free();
    m_hexValue.Free();
    for (auto& grid : m_contact)
        grid.Free();
    m_objectives.Free();
    m_phaseBytes.Free();
    m_smokeMark.Free();
    m_starshellMark.Free();
    m_fireMark.Free();
    m_pontoons.Free();
    m_damagedBridges.Free();
    m_arrivalMarks.Free();
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

void CGameData::SetMoveCallback(CCallback* callback) { m_moveCallback.reset(callback); }
void CGameData::SetPlacementCallback(CCallback* callback) { m_placementCallback.reset(callback); }
