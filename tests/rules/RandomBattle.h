#pragma once
// A generated battle for the spotting tests and benchmark: a mostly open map
// with woods, villages, fields, hills, hedges, walls and bocage, a few
// positions, minefields, wrecks and smoke, and stacks of armed and unarmed
// units of both sides spread over overlapping halves of the map. The same
// seed gives the same battle.

#include <algorithm>
#include <cstdint>
#include <random>

#include "model/GameWeapons.h"
#include "model/HexMap.h"
#include "rules/GameOrders.h"

namespace random_battle {

// Nation 0 fights on side 0, nation 1 on side 1.
inline constexpr std::uint32_t kTypeIds[] = {
    200, 1200, // rifles: armed, on foot
    1, 1001, // tanks: armed vehicles
    701, 1701, // lorries: unarmed, move themselves
    601, 1601, // boats: unarmed, need a passenger to move
};

struct Settings {
    int width = 100;
    int height = 100;
    int hexesPerSide = 300;
    int visibility = 18;
    int sideToMove = 0;
    std::uint32_t seed = 1;
};

// Types appended to the game's list; the weapon lives as long as the program.
inline void AddTypes(CGameData& game)
{
    static WeaponRecord weapon = [] {
        WeaponRecord record;
        record.m_hardValue[0] = 4;
        record.m_softValue[0] = 6;
        return record;
    }();
    for (const std::uint32_t id : kTypeIds) {
        if (game.m_platoonTypes.FindById(id))
            continue;
        PlatoonType type;
        type.m_id = id;
        type.m_fullStrength = 6;
        const int category = static_cast<int>((id / 100) % 10);
        type.m_movementAllowance = category == 2 ? 5 : 40;
        type.m_moveFlags = category == 2 ? kMoveFoot : category == 6 ? 0x1000 : 0x8;
        type.m_carryFlags = category == 6 ? kCarryBoats : 0;
        type.m_value25 = category == 0 ? 2 : 1;
        PlatoonType* listed = game.m_platoonTypes.Append(type);
        if (category == 0 || category == 2)
            listed->m_weapon = &weapon;
    }
}

// Replaces the game's map and battle by a generated one.
inline void Generate(CGameOrders& game, const Settings& settings)
{
    std::mt19937 random(settings.seed);
    const auto below = [&random](int n) { return static_cast<int>(random() % static_cast<std::uint32_t>(n)); };
    const int width = settings.width;
    const int height = settings.height;

    static_cast<HexMap&>(game.m_map) = HexMap(width, height);
    game.m_map.SetElevationScale(0, 10);
    game.m_map.SetSide(settings.sideToMove);
    game.AllocateGrids(width, height);
    AddTypes(game);
    for (int& value : game.m_parameters.m_terrainValue)
        value = 0;
    game.m_parameters.m_terrainValue[kTerrainForest] = 15;
    game.m_parameters.m_terrainValue[kTerrainVillage] = 12;
    game.m_parameters.m_terrainValue[kTerrainBuilding] = 12;
    game.m_parameters.m_terrainValue[kTerrainOrchard] = 6;
    game.m_parameters.m_terrainValue[kTerrainField] = 2;
    game.m_parameters.m_defenseZeroValue = 4;
    game.m_parameters.m_value91 = 20;
    game.m_visibility = settings.visibility;
    game.m_night = 0;

    // Hills: a few round blobs of one to three levels.
    for (int hill = 0; hill < width * height / 600; ++hill) {
        const int cx = below(width);
        const int cy = below(height);
        const int radius = 2 + below(5);
        const int level = 1 + below(3);
        for (int x = cx - radius; x <= cx + radius; ++x)
            for (int y = cy - radius; y <= cy + radius; ++y)
                if (game.m_map.IsOnMap(x, y) && (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius) {
                    HexRecord& hex = game.m_map.GetHex(x, y);
                    hex.level = std::max(hex.level, level);
                }
    }
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            HexRecord& hex = game.m_map.GetHex(x, y);
            const int roll = below(100);
            hex.terrain = roll < 72 ? kTerrainOpen
                : roll < 84         ? kTerrainForest
                : roll < 88         ? kTerrainVillage
                : roll < 93         ? kTerrainField
                : roll < 96         ? kTerrainOrchard
                                    : kTerrainRough;
            if (below(100) < 4) {
                static constexpr int kLayers[]
                    = { kLayerHedge, kLayerBocage, kLayerHighWall, kLayerStoneWall, kLayerDune, kLayerRoad };
                hex.layers[static_cast<std::size_t>(kLayers[below(6)])].Add(1u << below(6));
            }
            int& flags = game.m_hexFlags.At(x, y);
            const int feature = below(200);
            if (feature == 0)
                flags |= CGameData::kHexTrench;
            else if (feature == 1)
                flags |= CGameData::kHexPillbox;
            else if (feature == 2)
                flags |= CGameData::kHexMinefield1;
            else if (feature == 3)
                flags |= CGameData::kHexRubble;
            if (below(100) == 0)
                game.AddWreck(x, y, 1 + below(8), false);
            if (below(200) == 0)
                game.SetSmoke(below(2), x, y, true);
        }
    }

    // Units: side 0 in the upper three fifths, side 1 in the lower.
    for (int side = 0; side < 2; ++side) {
        int placed = 0;
        while (placed < settings.hexesPerSide) {
            const int x = below(width);
            const int y = side == 0 ? below(height * 3 / 5) : height - 1 - below(height * 3 / 5);
            UnitList& stack = game.m_stacks.At(x, y);
            if (!stack.IsEmpty())
                continue;
            ++placed;
            const int units = 1 + below(3);
            for (int i = 0; i < units; ++i) {
                // Mostly armed; some hexes only unarmed.
                const int kind = below(10) < 6 ? below(2) : 2 + below(2);
                PlacedUnit unit(game.m_platoonTypes.FindById(kTypeIds[kind * 2 + side]), nullptr);
                unit.m_strength = 1 + below(6);
                unit.m_status = below(2) == 0 ? static_cast<std::uint32_t>(kUnitHidden) : 0u;
                if (below(10) == 0)
                    unit.m_status |= kUnitDiggingIn;
                stack.Append(unit);
            }
        }
    }
}

} // namespace random_battle
