// The game object's entry points for a battle: a scenario started as the
// frame starts one, with its opening report and reconnaissance draw; a saved
// battle written, read back and written again; the phase start.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ai/Game.h"
#include "model/DataFile.h"
#include "model/Random.h"
#include "tests/TempDir.h"
#include "tests/TestFiles.h"

namespace fs = std::filesystem;

namespace {

std::uint32_t Advance(std::uint32_t state, int draws)
{
    for (int i = 0; i < draws; ++i)
        state = state * 1103515245u + 12345u;
    return state;
}

// The draws the opening report's spotting makes: one for each unit of a hex
// its enemy has any contact with.
int SpottingDraws(const CGame& game)
{
    int draws = 0;
    for (int x = 0; x < game.m_stacks.Width(); ++x)
        for (int y = 0; y < game.m_stacks.Height(); ++y)
            if (game.GetEnemyContact(x, y) != 0)
                draws += static_cast<int>(game.m_stacks.At(x, y).Count());
    return draws;
}

std::vector<HexPos> Hexes(const HexList& list)
{
    std::vector<HexPos> hexes;
    for (const HexPos& hex : list)
        hexes.push_back(hex);
    return hexes;
}

struct Started {
    bool read = false;
    std::string text;
    std::vector<int> groups;
    std::vector<int> released;
    std::vector<HexPos> hexes;
};

} // namespace

class SessionEntryTest : public ::testing::Test {
protected:
    Started Start(CGame& game, const std::string& scenario, std::vector<int> modes = { 0, 0 },
        std::vector<std::uint8_t> fog = { 0, 0 })
    {
        std::istringstream in(scenario);
        Started started;
        String text;
        HexList hexes;
        started.read = game.ReadScenario(in, modes.data(), fog.data(), text, started.groups, started.released, hexes);
        started.text = text.c_str();
        for (const HexPos& hex : hexes)
            started.hexes.push_back(hex);
        return started;
    }
    std::string Saved(const CGame& game)
    {
        std::ostringstream out;
        EXPECT_TRUE(game.WriteBattle(out));
        return out.str();
    }

    TempDir m_dir;
    ScopedCurrentDir m_inData { DemoDataFolder() };
    const std::string m_demo = ReadFileText(DemoDataFolder() / "demo.scn");
};

// The demo's first phase: side 0 (the Americans) to move at minute 0. No
// group is due before minute 12 and no release before minute 30, so nothing
// arrives or is released and nothing is drawn for them. Every American unit
// stands in reach of the map's west edge through hexes the Germans neither
// hold nor cover, so nobody is isolated. Three air strikes are left.
TEST_F(SessionEntryTest, TheDemoScenarioStartsWithItsOpeningReport)
{
    CGame game;
    SetRandomSeed(17);
    const Started started = Start(game, m_demo);
    ASSERT_TRUE(started.read) << game.m_battleReadError.c_str();
    EXPECT_EQ(started.text, "3 air strikes remaining\n");
    EXPECT_TRUE(started.groups.empty());
    EXPECT_TRUE(started.released.empty());
    EXPECT_TRUE(started.hexes.empty());
    EXPECT_EQ(std::string(game.GetBattleTitle().c_str()), "Demo: Saint-Ovrin and the Orvette crossing, July 1944");
    // Mission 0: no reconnaissance draw; only the spotting draws.
    EXPECT_EQ(std::string(game.m_reconLabel.c_str()), "None");
    EXPECT_EQ(GlobalRandomGenerator().State(), Advance(17, SpottingDraws(game)));
    EXPECT_GT(SpottingDraws(game), 0);
}

TEST_F(SessionEntryTest, ReconMissionDrawsTwoValuesLast)
{
    // The demo as a reconnaissance mission: the header's fifth value.
    std::string scenario = m_demo;
    const std::string thresholds = "0 200 400 650 0\n";
    const std::size_t at = scenario.find(thresholds);
    ASSERT_NE(at, std::string::npos);
    scenario.replace(at, thresholds.size(), "0 200 400 650 1\n");

    CGame game;
    SetRandomSeed(17);
    ASSERT_TRUE(Start(game, scenario).read);
    const std::uint32_t afterReport = Advance(17, SpottingDraws(game));
    EXPECT_EQ(std::string(game.m_reconLabel.c_str()), "ReconMode");
    CRandomGenerator replay(afterReport);
    const int first = static_cast<int>(replay.Next() * 5.0) + 1;
    const int second = static_cast<int>(replay.Next() * 5.0) + 1;
    EXPECT_EQ(game.m_reconValues[0], first);
    EXPECT_EQ(game.m_reconValues[1], second);
    EXPECT_EQ(GlobalRandomGenerator().State(), replay.State());

    // Back to an ordinary mission: the label and values are cleared.
    ASSERT_TRUE(Start(game, m_demo).read);
    EXPECT_EQ(std::string(game.m_reconLabel.c_str()), "None");
    EXPECT_EQ(game.m_reconValues[0], 0);
    EXPECT_EQ(game.m_reconValues[1], 0);
}

TEST_F(SessionEntryTest, ScenarioModesAndFogBytes)
{
    CGame game;
    game.m_aiMode[1] = kAiScenarioComputer;
    game.m_planFlag[1] = 1;
    const Started started = Start(game, m_demo, { 0, 0 }, { 0, 1 });
    ASSERT_TRUE(started.read);
    EXPECT_EQ(game.m_aiMode[0], kAiManual);
    EXPECT_EQ(game.m_aiMode[1], kAiManual) << "the reader's reset, then the mode given";
    EXPECT_EQ(game.m_planFlag[1], 0u);
    EXPECT_EQ(game.m_aiFog[0], 0);
    EXPECT_EQ(game.m_aiFog[1], 1) << "set again after the manual setter cleared it";
    // The opening report was made under the fog: side 1 is hidden from side 0.
    EXPECT_TRUE(game.IsSideHidden(1));
}

TEST_F(SessionEntryTest, AFailedScenarioReadReportsAndDrawsNothing)
{
    CGame game;
    SetRandomSeed(5);
    const Started started = Start(game, "10\nbroken\n", { 0, 0 }, { 1, 0 });
    EXPECT_FALSE(started.read);
    EXPECT_TRUE(started.text.empty());
    EXPECT_EQ(GlobalRandomGenerator().State(), 5u);
    EXPECT_EQ(game.m_aiFog[0], 0) << "no fog on an empty battle";
    EXPECT_EQ(game.m_aiMode[0], kAiManual);
}

TEST_F(SessionEntryTest, SaveLoadSaveGivesTheSameText)
{
    CGame game;
    SetRandomSeed(3);
    ASSERT_TRUE(Start(game, m_demo).read);
    const std::string first = Saved(game);

    CGame other;
    std::istringstream in(first);
    ASSERT_TRUE(other.ReadBattle(in, true)) << other.m_battleReadError.c_str();
    EXPECT_EQ(Saved(other), first);

    // Through files, as the frame saves and opens them.
    const fs::path path = m_dir.Path("saved.btl");
    EXPECT_EQ(std::string(game.SaveBattleToFile(path).c_str()), "");
    EXPECT_EQ(ReadFileText(path), first);
    CGame loaded;
    ASSERT_TRUE(loaded.LoadBattleFromFile(path)) << loaded.m_battleReadError.c_str();
    EXPECT_EQ(Saved(loaded), first);
    EXPECT_EQ(loaded.m_version, CGameData::kCurrentVersion);
}

// Both sides handed to the computer as the frame opens the demo: each side
// planned at once, the side to move prepared; all of it saved and read back.
TEST_F(SessionEntryTest, TheDemoWithBothSidesComputerRunSavesReadsAndSavesAlike)
{
    CGame game;
    SetRandomSeed(29);
    ASSERT_TRUE(Start(game, m_demo, { 2, 2 }, { 0, 1 }).read);
    ASSERT_EQ(game.m_aiMode[0], kAiPlanningComputer);
    ASSERT_EQ(game.m_aiMode[1], kAiPlanningComputer);
    ASSERT_FALSE(game.m_objectiveScores.IsEmpty());
    const std::string first = Saved(game);

    CGame other;
    std::istringstream in(first);
    ASSERT_TRUE(other.ReadBattle(in, true)) << other.m_battleReadError.c_str();
    EXPECT_EQ(Saved(other), first);
    EXPECT_EQ(other.m_aiMode[1], kAiPlanningComputer);
    EXPECT_EQ(other.m_aiFog[1], 1);
    EXPECT_EQ(Hexes(other.GetObjectiveList(0)), Hexes(game.GetObjectiveList(0)));
    EXPECT_EQ(Hexes(other.GetObjectiveList(1)), Hexes(game.GetObjectiveList(1)));
    for (int node = 0; node < game.GetNodeCount(); ++node) {
        const AiOrder& want = game.m_orders[static_cast<std::size_t>(node)];
        const AiOrder& got = other.m_orders[static_cast<std::size_t>(node)];
        EXPECT_EQ(got.kind, want.kind) << node;
        EXPECT_EQ(got.target, want.target) << node;
    }
}

TEST_F(SessionEntryTest, FileErrorsLeaveTheBattleAndTheFileAsTheyWere)
{
    CGame game;
    ASSERT_TRUE(Start(game, m_demo).read);
    const std::string before = Saved(game);

    EXPECT_FALSE(game.LoadBattleFromFile(m_dir.Path("missing.btl")));
    EXPECT_EQ(Saved(game), before);

    // A folder cannot be replaced by a file: the error comes back.
    fs::create_directories(m_dir.Path("folder"));
    EXPECT_FALSE(game.SaveBattleToFile(m_dir.Path("folder")).IsEmpty());
    EXPECT_TRUE(fs::is_directory(m_dir.Path("folder")));

    // A damaged file is refused and, as every failed read, leaves no battle.
    m_dir.Write("damaged.btl", before.substr(0, before.size() / 2));
    EXPECT_FALSE(game.LoadBattleFromFile(m_dir.Path("damaged.btl")));
    EXPECT_FALSE(game.m_battleReadError.IsEmpty());
}

TEST_F(SessionEntryTest, TheReaderStopsAfterItsLastNumber)
{
    CGame game;
    ASSERT_TRUE(Start(game, m_demo).read);
    std::istringstream in(Saved(game) + "Scenario text follows\n");
    CGame other;
    ASSERT_TRUE(other.ReadBattle(in, true));
    std::string rest((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(rest, "\nScenario text follows\n");
}

TEST_F(SessionEntryTest, BeginPhaseGivesTheTurnStartReport)
{
    CGame game;
    SetRandomSeed(11);
    ASSERT_TRUE(Start(game, m_demo).read);
    // Side 1's first phase: minute 0, an Initial Phase in plain turns.
    ASSERT_TRUE(game.NextPhase());
    ASSERT_EQ(game.m_map.GetSide(), 1);
    String text;
    HexList hexes;
    std::vector<int> offMap, groups, released;
    game.BeginPhase(text, hexes, offMap, groups, released);
    EXPECT_EQ(std::string(text.c_str()), "1 air strike remaining") << "the last line feed is taken off";
    EXPECT_TRUE(groups.empty());
}
