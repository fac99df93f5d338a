#pragma once
// A small battle for the fire tests: an Open 10 x 10 map at level 0, side 0
// to move in plain turns, and platoon types with weapons made here, so that
// every fire value is known. Fire tables are forced: one column (every ratio)
// where each shot gives the same outcome.
//
// The global generator's formula, applied by hand in the tests' comments:
// state = state * 1103515245 + 12345 (mod 2^32), U = (state & 0x7fffffff) / 2^31.
// After SetRandomSeed(0):
//   U1 0.0000  U2 0.6552  U3 0.3048  U4 0.6750  U5 0.1068  U6 0.5166
//   U7 0.4897  U8 0.6025  U9 0.3700  U10 0.2567 U11 0.3742 U12 0.8256
//   U13 0.1727 U14 0.2978 U15 0.6435 U16 0.7897 U17 0.9878 U18 0.8006
//   U19 0.4643 U20 0.5390

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "model/Clock.h"
#include "model/HexMap.h"
#include "model/PlatoonType.h"
#include "model/Random.h"
#include "tests/rules/MoveGame.h"

namespace fire {
// Side 0 (nation 10) and side 1 (nation 1, and 21 with its caves).
inline constexpr std::uint32_t kRifle = 10291; // category 2: wades
inline constexpr std::uint32_t kTank = 10091;
inline constexpr std::uint32_t kLeader = 10491;
inline constexpr std::uint32_t kGun = 10391; // indirect-capable
inline constexpr std::uint32_t kEngineer = 10591;
inline constexpr std::uint32_t kTruck = 10791;
inline constexpr std::uint32_t kCarrier = 10792; // hard, carries, no assault factor
inline constexpr std::uint32_t kEnemyRifle = 1291;
inline constexpr std::uint32_t kEnemyTank = 1091;
inline constexpr std::uint32_t kEnemyLeader = 1491;
inline constexpr std::uint32_t kEnemyTruck = 1791;
inline constexpr std::uint32_t kCaveRifle = 21291;

// A fire-table outcome that every shot gives.
enum Outcome { kThreeAndThree = 0, kTwoAndTwo = 1, kOneAndOne = 2, kDisruptOnly = 3, kRetreatOnly = 4, kNothing = 5 };

inline std::uint32_t Advance(std::uint32_t state, int draws)
{
    for (int i = 0; i < draws; ++i)
        state = state * 1103515245u + 12345u;
    return state;
}

inline std::int64_t FixedClock() { return 1234567; }
} // namespace fire

class DirectFireGameTest : public MoveGameTest {
protected:
    void SetUp() override
    {
        // Types first: the loss table is sized for them with the grids.
        AddType(fire::kRifle, "Rifle Plt,Rifle", 4, 3, 0, 50, 0, kMoveFoot, 0, 0, 4, 12);
        AddType(fire::kTank, "Tank Plt,Tank", 3, 5, kTargetHard, 60, 10, 0, 0, 0, 20, 10);
        AddType(fire::kLeader, "Leader,Ldr", 2, 1, 0, 25, 0, kMoveFoot, 0, 0, 1, 1);
        AddType(fire::kGun, "Gun Bty,Gun", 2, 2, 0x8, 100, 0, kMoveFoot, 0, 0, 10, 10);
        AddType(fire::kEngineer, "Engineer Plt,Engr", 4, 3, 0, 50, 0, kMoveFoot, 0, 0x80, 2, 6);
        AddType(fire::kTruck, "Truck Col,Truck", 2, 1, 0, 100, 0, 0, kCarryPassengers, 0, 0, 0);
        AddType(fire::kCarrier, "Carrier Plt,Carrier", 3, 4, kTargetHard, 100, 12, 0, 0x8, 0, 0, 0);
        AddType(fire::kEnemyRifle, "Schuetzen Zug,Schuetzen", 6, 3, 0, 50, 0, kMoveFoot, 0, 0, 4, 12);
        AddType(fire::kEnemyTank, "Panzer Zug,Panzer", 3, 5, kTargetHard, 60, 10, 0, 0, 0, 20, 10);
        AddType(fire::kEnemyLeader, "Fuehrer,Fhr", 1, 1, 0, 25, 0, kMoveFoot, 0, 0, 1, 1);
        AddType(fire::kEnemyTruck, "Lkw Kolonne,Lkw", 2, 1, 0, 100, 0, 0, kCarryPassengers, 0, 0, 0);
        AddType(fire::kCaveRifle, "Cave Plt,Cave", 4, 3, 0, 50, 0, kMoveFoot, 0, 0, 4, 12);
        Type(fire::kTank)->m_value40 = 9;
        Type(fire::kTank)->m_value41 = 6;
        Type(fire::kTank)->m_value42 = 3;
        Type(fire::kEnemyTank)->m_value40 = 9;
        Type(fire::kEnemyTank)->m_value41 = 6;
        Type(fire::kEnemyTank)->m_value42 = 3;
        Type(fire::kEnemyTank)->m_movementAllowance = 10;
        Type(fire::kTank)->m_movementAllowance = 10;
        Type(fire::kTruck)->m_movementAllowance = 20;
        Type(fire::kEnemyTruck)->m_movementAllowance = 20;
        for (std::uint32_t id : { fire::kRifle, fire::kLeader, fire::kGun, fire::kEngineer, fire::kEnemyRifle,
                 fire::kEnemyLeader, fire::kCaveRifle })
            Type(id)->m_movementAllowance = 6;
        Type(fire::kEnemyRifle)->m_value12 = 4;
        Type(fire::kRifle)->m_value12 = 4;

        MakeMap(10, 10);
        m_game.m_map.SetSide(0);
        m_game.m_map.SetPhase(0);
        m_game.m_visibility = 20;
        ParameterData& p = m_game.m_parameters;
        p.m_maxStackStrength = 40;
        p.m_defenseZeroValue = 10;
        p.m_value61 = 50;
        p.m_value62 = 2;
        p.m_value94 = 7;
        p.m_value102 = 4;
        for (int& value : p.m_terrainValue2)
            value = 0;
        for (int& value : p.m_terrainPercent)
            value = 0;
        for (int& value : p.m_hexsidePercent)
            value = 0;
        m_game.m_advantage = 0;
        SetTimeSource(&fire::FixedClock);
        Force(fire::kNothing);
    }
    void TearDown() override { SetTimeSource(nullptr); }

    // A type with a weapon whose values hold at ranges 1 to 10 (none when
    // both are 0).
    void AddType(std::uint32_t id, const char* name, int strength, int defence, std::uint32_t targetFlags, int fireCost,
        int movement, std::uint32_t moveFlags, std::uint32_t carryFlags, std::uint32_t extraFlags, int hard, int soft)
    {
        PlatoonType type;
        type.m_id = id;
        type.m_name = name;
        type.SplitNameAtComma();
        type.m_fullStrength = strength;
        type.m_value13 = defence;
        type.m_targetFlags = targetFlags;
        type.m_fireApCost = fireCost;
        type.m_movementAllowance = movement;
        type.m_moveFlags = moveFlags;
        type.m_carryFlags = carryFlags;
        type.m_extraFlags = extraFlags;
        const PlatoonType* added = m_game.m_platoonTypes.Append(type);
        ASSERT_EQ(m_game.m_platoonTypes.FindById(id), added) << id;
        if (hard == 0 && soft == 0)
            return;
        WeaponRecord weapon;
        weapon.m_weaponId = static_cast<std::int32_t>(id);
        for (int range = 0; range < 10; ++range) {
            weapon.m_hardValue[range] = hard;
            weapon.m_softValue[range] = soft;
        }
        m_game.m_weapons.Append(weapon);
    }

    void Force(fire::Outcome outcome)
    {
        ParameterData& p = m_game.m_parameters;
        p.m_fireColumnCount = 1;
        p.m_fireNumerators = { 1 };
        p.m_fireDenominators = { 1 };
        p.m_fireOutcomes.assign(1, {});
        if (outcome != fire::kNothing)
            p.m_fireOutcomes[0][outcome] = 100;
    }

    // Empties every hex and puts Open ground back.
    void ClearBattle()
    {
        for (int x = 0; x < 10; ++x)
            for (int y = 0; y < 10; ++y) {
                m_game.m_stacks.At(x, y) = UnitList();
                m_game.m_hexFlags.At(x, y) = 0;
                m_game.m_wrecks.At(x, y) = 0;
                Hex(x, y) = HexRecord();
            }
        m_game.m_options = 0;
        m_game.m_night = 0;
    }

    int Count(int x, int y) { return static_cast<int>(m_game.m_stacks.At(x, y).Count()); }
    std::uint32_t State() { return GlobalRandomGenerator().State(); }

    std::string Resolve(std::vector<int> positions, int fx, int fy, int tx, int ty, int ordinal)
    {
        String report;
        m_game.ResolveDirectFire(report, positions.data(), static_cast<int>(positions.size()), fx, fy, tx, ty, ordinal);
        return report.c_str();
    }
};
