#pragma once
// Small maps built cell by cell for the deployment's tests, with a scripted
// random source.

#include <memory>
#include <string>
#include <vector>

#include "launcher/campaign/CampaignTestSupport.h"
#include "launcher/generator/Deployment.h"

class DeploymentMap {
public:
    // An open map of level 0 (the grid's own draws are taken before any
    // script).
    DeploymentMap(int width, int height)
    {
        map.m_mapWidth = static_cast<std::int16_t>(width);
        map.m_mapHeight = static_cast<std::int16_t>(height);
        map.AllocateMapCells();
    }

    MapCell& At(int x, int y) { return map.Cell(map.Geometry().CellIndex(x, y)); }
    void Terrain(int x, int y, char letter) { At(x, y).terrain = letter; }
    void WaterColumn(int x)
    {
        for (int y = 0; y < map.m_mapHeight; ++y)
            Terrain(x, y, 'w');
    }
    void WaterRow(int y)
    {
        for (int x = 0; x < map.m_mapWidth; ++x)
            Terrain(x, y, 'w');
    }
    // A road side (north) in the hex.
    void Road(int x, int y, int layer = 0) { At(x, y).layers[static_cast<std::size_t>(layer)] |= 1; }

    // A deployment of these forces on the map with its grids allocated.
    std::unique_ptr<ForceDeployment> Deployment(
        UnitRecord* force0 = nullptr, UnitRecord* force1 = nullptr, int missionType = 3, int attacker = 0)
    {
        auto deployment = std::make_unique<ForceDeployment>(map, reaches, force0, force1, missionType, attacker);
        deployment->AllocateGrids();
        return deployment;
    }

    // Scripted rolls, each given as (k, n): the draw that makes RollRandom(n)
    // give k.
    void Rolls(const std::vector<std::pair<int, int>>& rolls)
    {
        std::vector<int> values;
        for (const auto& [k, n] : rolls)
            values.push_back(ValueForRoll(k, n));
        random.ScriptValues(values);
    }

    LauncherRandom random;
    RandomMap map { random };
    WeaponReachList reaches;
};

// Platoon kinds by their line's flags (move, carry, target).
inline std::unique_ptr<UnitRecord> MakePlatoon(std::string id, int move, int carry, int target = 0, int number = 0)
{
    auto unit = MakeUnit(std::move(id), number);
    unit->m_oobValues = { move, carry, target, 0 };
    unit->m_strength = 4;
    unit->m_role = 1;
    return unit;
}
// Towed guns have no movement: they wait for a carrier as passengers.
inline std::unique_ptr<UnitRecord> MakeGun(std::string id = "P10102") { return MakePlatoon(std::move(id), 0, 4); }
// Foot units are towables here.
inline std::unique_ptr<UnitRecord> MakeRifles(std::string id = "P10200") { return MakePlatoon(std::move(id), 2, 131); }
inline std::unique_ptr<UnitRecord> MakeTruck(std::string id = "P10701") { return MakePlatoon(std::move(id), 1, 32); }
inline std::unique_ptr<UnitRecord> MakeTank(std::string id = "P10000") { return MakePlatoon(std::move(id), 8, 0, 1); }
inline std::unique_ptr<UnitRecord> MakeHowitzers(std::string id = "P10300")
{
    return MakePlatoon(std::move(id), 0, 0, 24);
}
