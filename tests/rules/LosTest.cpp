#include <gtest/gtest.h>

#include "tests/rules/RulesGame.h"

namespace {

class LosTest : public RulesGameTest {
protected:
    void SetUp() override { MakeMap(10, 8); }
};

TEST_F(LosTest, HexIsLitAtNightByStarshellsAroundItOrBurningWrecks)
{
    m_game.SetStarshell(0, 4, 4);
    m_game.AddWreck(7, 2, 6, false);
    m_game.AddWreck(1, 6, 5, false);
    // By day nothing is lit.
    EXPECT_FALSE(m_game.IsHexLit(4, 4));
    EXPECT_FALSE(m_game.IsHexLit(7, 2));

    m_game.m_night = 1;
    EXPECT_TRUE(m_game.IsHexLit(4, 4));
    // Every neighbour of the starshell's hex, and nothing two hexes away.
    for (HexSide side = HexSide::North; side.IsValid(); side.Next()) {
        HexPos n;
        ASSERT_TRUE(m_game.m_map.GetNeighbour(side, 4, 4, n));
        EXPECT_TRUE(m_game.IsHexLit(n.column, n.row)) << n.column << "," << n.row;
    }
    EXPECT_FALSE(m_game.IsHexLit(4, 2));
    EXPECT_FALSE(m_game.IsHexLit(6, 4));
    EXPECT_TRUE(m_game.IsHexLit(7, 2));
    EXPECT_FALSE(m_game.IsHexLit(1, 6));
    EXPECT_FALSE(m_game.IsHexLit(6, 2));
    // A starshell at the map's corner lights its neighbours on the map;
    // hexes off the map are never lit.
    m_game.SetStarshell(1, 0, 0);
    EXPECT_TRUE(m_game.IsHexLit(1, 0));
    EXPECT_TRUE(m_game.IsHexLit(0, 1));
    EXPECT_FALSE(m_game.IsHexLit(-1, 0));
    EXPECT_FALSE(m_game.IsHexLit(10, 40));
}

TEST_F(LosTest, HeightDifferenceIsLevelsTimesTheStepHeldToTheIntRange)
{
    SetLevel(2, 2, 5);
    SetLevel(3, 3, 1);
    EXPECT_EQ(m_game.GetHeightDifference(3, 3, 2, 2), 40);
    EXPECT_EQ(m_game.GetHeightDifference(2, 2, 3, 3), -40);
    EXPECT_EQ(m_game.GetHeightDifference(2, 2, 2, 2), 0);
    EXPECT_EQ(m_game.GetHeightDifference(2, 2, -1, 2), 0);
    m_game.m_map.SetElevationScale(0, 2000000000);
    EXPECT_EQ(m_game.GetHeightDifference(3, 3, 2, 2), 2147483647);
    EXPECT_EQ(m_game.GetHeightDifference(2, 2, 3, 3), -2147483647 - 1);
}

} // namespace
