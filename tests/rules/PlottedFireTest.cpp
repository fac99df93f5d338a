#include <gtest/gtest.h>

#include <utility>

#include "model/OrgTree.h"
#include "rules/GameIndirectFire.h"
#include "tests/ReloadableLayer.h"
#include "tests/TestFiles.h"
#include "tests/model/TestTypes.h"

namespace {

// The 5 x 4 sample map with one artillery type; units carry hand-made nodes.
class PlottedFireTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir.Write("test.map", ReadFixture("maps/sample-v3.txt"));
        m_game.m_platoonTypes.Append(MakeType(301, 0, 0, 0, 0x8));
        m_game.m_mapFileName = "test.map";
        ASSERT_EQ(m_game.Reload(), nullptr);
        m_node7.m_id = 7;
        m_node9.m_id = 9;
    }

    PlacedUnit MakeUnit(OrgNode* node, int tag)
    {
        PlacedUnit unit(m_game.m_platoonTypes.FindById(301), node);
        unit.m_value = tag;
        return unit;
    }

    TempDir m_dir;
    ScopedCurrentDir m_inDir { m_dir.Path() };
    ReloadableLayer<CGameIndirectFire> m_game;
    OrgNode m_node7;
    OrgNode m_node9;
};

TEST_F(PlottedFireTest, FindsTheFiringUnitOnTheMapOrOffItByNodeId)
{
    m_game.m_stacks.At(2, 1).Append(MakeUnit(&m_node9, 1));
    m_game.m_stacks.At(2, 1).Append(MakeUnit(&m_node7, 2));
    m_game.m_stacks.At(2, 1).Append(MakeUnit(&m_node7, 3));
    m_game.m_offMapUnits.Append(OffMapUnit { MakeUnit(&m_node9, 4), -3, 2 });
    m_game.m_offMapUnits.Append(OffMapUnit { MakeUnit(nullptr, 5), -3, 2 });

    struct Case {
        PendingFire record;
        int tag; // 0: none
    };
    const Case cases[] = {
        { { 7, 2, 1, 0, 0, false }, 2 }, // first match of the hex wins
        { { 9, 2, 1, 0, 0, true }, 1 }, { { 8, 2, 1, 0, 0, false }, 0 }, // the unit is gone
        { { 7, 3, 1, 0, 0, false }, 0 }, // not in that hex
        { { 9, -3, 2, 0, 0, false }, 4 }, // off the map: the off-map list
        { { 7, -3, 2, 0, 0, false }, 0 }, // units on the map are not searched
        { { 0, 5, 0, 0, 0, false }, 5 }, // a unit without a node counts as id 0
    };
    for (const Case& c : cases) {
        const PlacedUnit* unit = std::as_const(m_game).IsPlottedFireValid(c.record);
        if (c.tag == 0) {
            EXPECT_EQ(unit, nullptr) << c.record.nodeId << " at " << c.record.fromColumn;
        } else {
            ASSERT_NE(unit, nullptr) << c.record.nodeId << " at " << c.record.fromColumn;
            EXPECT_EQ(unit->m_value, c.tag);
            EXPECT_EQ(m_game.IsPlottedFireValid(c.record), unit);
        }
    }
}

TEST(AssaultHexTest, NoAssaultIsOpenAtFirst)
{
    ReloadableLayer<CGameIndirectFire> game;
    EXPECT_FALSE(game.HasAssault());
    EXPECT_EQ(game.m_assaultHex.column, -1);
    EXPECT_EQ(game.m_assaultHex.row, -1);
    game.m_assaultHex = { 2, 3 };
    EXPECT_TRUE(game.HasAssault());
}

} // namespace
