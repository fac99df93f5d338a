// Generated battles played: opened as the frame opens a scenario, both
// sides run by the computer, phases ended by the headless driver up to the
// battle's end, saved, and the saved battle read back.
#include <gtest/gtest.h>

#include "GeneratedBattleSupport.h"
#include "ai/TurnDriver.h"
#include "model/Clock.h"

namespace {

std::int64_t FixedClock() { return 1700000000; }

TEST(GeneratedBattlePlayTest, EveryMissionTypePlaysToItsEndAndItsSaveReadsBack)
{
    SetTimeSource(&FixedClock);
    for (std::int16_t mission = 1; mission <= 11; ++mission) {
        SCOPED_TRACE(testing::Message() << "mission " << mission);
        GeneratedBattleFolder battle;
        GeneratedBattleSpec spec;
        spec.missionType = mission;
        spec.attacker = mission % 2;
        spec.formationId = "C1012001";
        spec.seed = 500 + mission;
        ASSERT_TRUE(battle.Generate(spec));
        ScopedCurrentDir inFolder(battle.folder.Path());
        SetRandomSeed(static_cast<std::uint32_t>(spec.seed));
        CGame game;
        std::ifstream in("Generated.scn", std::ios::binary);
        const int modes[2] = { kAiPlanningComputer, kAiPlanningComputer };
        const std::uint8_t fog[2] = { 0, 0 };
        String text;
        std::vector<int> groups;
        std::vector<int> released;
        HexList hexes;
        ASSERT_TRUE(game.ReadScenario(in, modes, fog, text, groups, released, hexes)) << game.m_battleReadError.str();
        CTurnDriver driver(game);
        int phases = 0;
        while (driver.EndPhase() && phases < 5000)
            ++phases;
        EXPECT_LT(phases, 5000) << "the battle ends";
        EXPECT_GT(phases, 0);
        ASSERT_TRUE(game.SaveBattleToFile("Saved.btl").IsEmpty());
        CGame saved;
        EXPECT_TRUE(saved.LoadBattleFromFile("Saved.btl"));
    }
    SetTimeSource(nullptr);
}

} // namespace
