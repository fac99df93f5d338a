// Generated battles read by the main program: the battle with its map and
// organisation, every unit of it, written back and read again unchanged.
#include <gtest/gtest.h>

#include "GeneratedBattleSupport.h"

namespace {

TEST(GeneratedBattleTest, ReadsBackInTheGameObject)
{
    GeneratedBattleFolder battle;
    GeneratedBattleSpec spec;
    ASSERT_TRUE(battle.Generate(spec));
    ScopedCurrentDir inFolder(battle.folder.Path());
    CGame game;
    ASSERT_TRUE(ReadsBack(game, "Generated.scn"));
    const std::string written = WrittenBack(game);
    std::ofstream("Again.btl", std::ios::binary) << written;
    CGame again;
    ASSERT_TRUE(ReadsBack(again, "Again.btl"));
    EXPECT_EQ(WrittenBack(again), written);
}

} // namespace
