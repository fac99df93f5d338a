#pragma once
// A small battle for tests of the battle-data layer: the 5 x 4 sample map
// (terrain by hex: (0,0) Open, (1,0) Water, (2,0) Forest, (3,0) Marsh, (0,1)
// Village, (1,1) City with a road from N to S, (2,1) Beach, (2,2) Field), the
// sample organisation when asked, and the platoon types a test gives it.
// Units are told apart by their m_value tags.

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "model/GameHexMarks.h"
#include "tests/ReloadableLayer.h"
#include "tests/TestFiles.h"
#include "tests/model/TestTypes.h"

inline PlacedUnit MakeUnit(const PlatoonType* type, int tag, int strength, std::uint32_t status,
    HexSide facing = HexSide::North, HexSide second = HexSide::None)
{
    PlacedUnit unit(type, nullptr);
    unit.m_value = tag;
    unit.m_strength = strength;
    unit.m_status = status;
    unit.m_facing = facing;
    unit.m_secondFacing = second;
    return unit;
}

// The battle-data layers with the opponent's view restriction set by the test.
class SampleGame : public CGameHexMarks {
public:
    bool IsOpponentHidden() const override { return m_opponentHidden; }
    bool m_opponentHidden = false;
};

class SampleBattleTest : public ::testing::Test {
protected:
    // Builds the game object in the test's folder; the listed armed types get
    // a weapon with a fire value at range 1.
    void Build(
        std::initializer_list<PlatoonType> types, std::initializer_list<std::uint32_t> armed, bool withOrganisation)
    {
        m_dir.Write("test.map", ReadFixture("maps/sample-v3.txt"));
        m_game = std::make_unique<ReloadableLayer<SampleGame>>();
        for (const PlatoonType& type : types)
            m_game->m_platoonTypes.Append(type);
        m_game->m_mapFileName = "test.map";
        if (withOrganisation) {
            m_dir.Write("test.org", ReadFixture("org/generated.org"));
            m_game->m_orgFileName = "test.org";
        }
        ASSERT_EQ(m_game->Reload(), nullptr);
        ASSERT_EQ(m_game->m_stacks.Width(), 5);
        m_weapon.m_hardValue[0] = 4;
        for (std::uint32_t id : armed)
            Type(id)->m_weapon = &m_weapon;
    }

    PlatoonType* Type(std::uint32_t id) const { return m_game->m_platoonTypes.FindById(id); }

    PlacedUnit& Add(int x, int y, std::uint32_t id, int tag, int strength = 3, std::uint32_t status = 0,
        HexSide facing = HexSide::North, HexSide second = HexSide::None)
    {
        return m_game->m_stacks.At(x, y).Append(MakeUnit(Type(id), tag, strength, status, facing, second))->value;
    }

    std::vector<int> Tags(int x, int y) const
    {
        std::vector<int> tags;
        for (const PlacedUnit& unit : m_game->m_stacks.At(x, y))
            tags.push_back(unit.m_value);
        return tags;
    }

    const PlacedUnit& Unit(int x, int y, int position) const { return m_game->GetStackNode(x, y, position)->value; }

    CGameData& Game() { return *m_game; }

    TempDir m_dir;
    ScopedCurrentDir m_inDir { m_dir.Path() };
    std::unique_ptr<ReloadableLayer<SampleGame>> m_game;
    WeaponRecord m_weapon;
};
