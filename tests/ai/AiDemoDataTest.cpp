// The computer opponent's file of the demo data set, as the build stores it.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

#include "ai/Game.h"
#include "model/DataFile.h"
#include "tests/TestFiles.h"

namespace fs = std::filesystem;

namespace {

} // namespace

TEST(DemoDataTest, MainAiIsFoundAndReadWithTheDesignsTuning)
{
    ScopedCurrentDir inData(DemoDataFolder());
    ASSERT_TRUE(LocateDataFile("main.ai").has_value());
    std::ifstream in("main.ai");
    std::string first;
    ASSERT_TRUE(std::getline(in, first));
    EXPECT_EQ(first, "12 6 4 6 0 2 0 70 90 2 4") << "the eleven values come first, the notes after them";

    AiParameters parameters;
    parameters.values.fill(-1);
    parameters.Load();
    const std::array<int, kAiParameterCount> expected = { 12, 6, 4, 6, 0, 2, 0, 70, 90, 2, 4 };
    EXPECT_EQ(parameters.values, expected);

    CGame game;
    std::ifstream scenario("demo.scn", std::ios::binary);
    ASSERT_TRUE(game.CGameData::ReadBattleFile(scenario, true)) << game.m_battleReadError.c_str();
    EXPECT_TRUE(game.m_aiFileTime.IsWatched());
    EXPECT_EQ(game.m_aiParameters.values, expected);
}
