#pragma once
// A game object up to the spotting layer on a map the test makes by hand,
// for the tests of line of sight and spotting. Its top class answers the
// shared slots 2 to 4 as the test sets them, as the computer opponent's
// layers would under fog of war.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "rules/GameSpotting.h"
#include "tests/TestFiles.h"

class CRulesTestGame : public CGameSpotting {
public:
    // Unset: the stacks answer.
    std::function<bool(int, int)> m_unitsAnswer;
    bool m_hidden[2] = { false, false };
    bool m_opponentHidden = false;

    bool HexHasUnits(int column, int row) const override
    {
        return m_unitsAnswer ? m_unitsAnswer(column, row) : CGameSpotting::HexHasUnits(column, row);
    }
    bool IsSideHidden(int side) const override { return side >= 0 && side <= 1 && m_hidden[side]; }
    bool IsOpponentHidden() const override { return m_opponentHidden; }
};

// Builds the game in a folder of its own, on an Open map at level 0 of the
// given (even) width and height, elevation step 10, every terrain height 0,
// obstruction unit 4, smoke height 20 and visibility 30.
class RulesGameTest : public ::testing::Test {
protected:
    void MakeMap(int width, int height)
    {
        static_cast<HexMap&>(m_game.m_map) = HexMap(width, height);
        m_game.m_map.SetElevationScale(0, 10);
        m_game.AllocateGrids(width, height);
        for (int& value : m_game.m_parameters.m_terrainValue)
            value = 0;
        m_game.m_parameters.m_defenseZeroValue = 4;
        m_game.m_parameters.m_value91 = 20;
        m_game.m_visibility = 30;
        m_game.m_night = 0;
    }

    HexRecord& Hex(int x, int y) { return m_game.m_map.GetHex(x, y); }
    void SetTerrain(int x, int y, int terrain) { Hex(x, y).terrain = terrain; }
    void SetLevel(int x, int y, int level) { Hex(x, y).level = level; }
    void AddFeature(int x, int y, int layer, HexSide side) { Hex(x, y).layers[layer].Add(side); }

    TempDir m_dir;
    ScopedCurrentDir m_inDir { m_dir.Path() };
    CRulesTestGame m_game;
};
