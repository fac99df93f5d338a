#pragma once
// The whole rules engine on the demo data's movement, weapon, parameter and
// platoon files (target demo_data), on a map the test makes by hand, for the
// tests of movement and path search. Its top class answers the shared slots
// 2 to 4 as the test sets them.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

#include "rules/GamePathSearch.h"
#include "tests/TempDir.h"
#include "tests/TestFiles.h"

class CMoveTestGame : public CGamePathSearch {
public:
    // Unset: the stacks answer.
    std::function<bool(int, int)> m_unitsAnswer;
    bool m_hidden[2] = { false, false };
    bool m_opponentHidden = false;

    bool HexHasUnits(int column, int row) const override
    {
        return m_unitsAnswer ? m_unitsAnswer(column, row) : CGamePathSearch::HexHasUnits(column, row);
    }
    bool IsSideHidden(int side) const override { return side >= 0 && side <= 1 && m_hidden[side]; }
    bool IsOpponentHidden() const override { return m_opponentHidden; }
};

// Copies the demo's data files into a folder, so that a game object built
// there reads them.
struct DemoDataFiles {
    explicit DemoDataFiles(const TempDir& dir)
    {
        for (std::string_view name : { "movement.pdx", "weapon.pdx", "main.pdx", "platoon01.obx", "platoon09.obx",
                 "platoon10.obx", "main.map", "sampler.map" })
            std::filesystem::copy_file(DemoDataFolder() / name, dir.Path(name));
    }
};

// Demo platoon types the movement tests use.
namespace demo {
inline constexpr std::uint32_t kUsBattalionCommander = 10401;
inline constexpr std::uint32_t kUsRifle = 10200;
inline constexpr std::uint32_t kUsEngineer = 10201;
inline constexpr std::uint32_t kUsAntiTankGun = 10102;
inline constexpr std::uint32_t kUsSherman = 10000;
inline constexpr std::uint32_t kUsHalfTrack = 10700;
inline constexpr std::uint32_t kUsTruck = 10701;
inline constexpr std::uint32_t kUsJeep = 10702;
inline constexpr std::uint32_t kUsBoat = 10600;
inline constexpr std::uint32_t kGermanRifle = 1200;
} // namespace demo

// A game on an Open map at level 0 (elevation step 25), side 0 to move in
// plain turns, every hex known to both sides.
class MoveGameTest : public ::testing::Test {
protected:
    void MakeMap(int width, int height)
    {
        static_cast<HexMap&>(m_game.m_map) = HexMap(width, height);
        m_game.AllocateGrids(width, height);
        m_game.BindPlatoonTypes();
        m_game.m_night = 0;
        m_game.m_options = 0;
        m_game.m_terrain = TerrainConditions();
    }

    PlatoonType* Type(std::uint32_t id) { return m_game.m_platoonTypes.FindById(id); }

    // Appends a unit at the bottom of the hex's stack: full strength, 100
    // action points, facing N.
    PlacedUnit& Add(int x, int y, std::uint32_t id, std::uint32_t status = 0)
    {
        const PlatoonType* type = Type(id);
        EXPECT_NE(type, nullptr) << id;
        PlacedUnit unit(type, nullptr);
        unit.m_status = status;
        return m_game.m_stacks.At(x, y).Append(unit)->value;
    }
    // Appends a carrier and its passenger below it.
    void AddLoaded(int x, int y, std::uint32_t carrier, std::uint32_t passenger)
    {
        Add(x, y, carrier, kUnitCarrying);
        Add(x, y, passenger, kUnitCarried);
    }
    PlacedUnit& Unit(int x, int y, int position) { return m_game.GetStackNode(x, y, position)->value; }

    HexRecord& Hex(int x, int y) { return m_game.m_map.GetHex(x, y); }
    // A feature on the side of both hexes it separates, as our maps store it.
    void AddFeature(int x, int y, HexSide side, int layer)
    {
        Hex(x, y).layers[layer].Add(side);
        HexPos next;
        if (m_game.m_map.GetNeighbour(side, x, y, next))
            Hex(next.column, next.row).layers[layer].Add(side.Opposite());
    }

    // The move order's answer: empty when it was carried out.
    std::string Move(int fromX, int fromY, int toX, int toY, std::vector<int> positions)
    {
        String out;
        m_game.MoveSelection(out, fromX, fromY, toX, toY, positions.data(), static_cast<int>(positions.size()));
        return out.c_str();
    }

    TempDir m_dir;
    DemoDataFiles m_files { m_dir };
    ScopedCurrentDir m_inDir { m_dir.Path() };
    CMoveTestGame m_game;
};
