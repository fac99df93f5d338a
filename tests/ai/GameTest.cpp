#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>

#include "ai/Game.h"
#include "model/Geometry.h"
#include "tests/HeadlessFrame.h"
#include "tests/ReloadableLayer.h"
#include "tests/TestFiles.h"

namespace fs = std::filesystem;

namespace {

// A folder with a 5 x 4 map and a small organisation, and a game object built in it.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir.Write("test.map", ReadFixture("maps/sample-v3.txt"));
        m_dir.Write("test.org", ReadFixture("org/generated.org"));
    }

    ReloadableLayer<CGame>& Game()
    {
        if (!m_game)
            m_game = std::make_unique<ReloadableLayer<CGame>>();
        return *m_game;
    }

    void Name(const char* map, const char* org)
    {
        Game().m_mapFileName = map;
        Game().m_orgFileName = org;
    }

    TempDir m_dir;
    ScopedCurrentDir m_inDir { m_dir.Path() };
    std::unique_ptr<ReloadableLayer<CGame>> m_game;
};

// Every per-hex grid of every layer, by its size.
void ExpectGridsSized(const CGame& game, int width, int height)
{
    auto sized = [&](const auto& grid, const char* name) {
        EXPECT_EQ(grid.Width(), width) << name;
        EXPECT_EQ(grid.Height(), height) << name;
    };
    sized(game.m_stacks, "stacks");
    sized(game.m_airStrikeSide, "air strike side");
    sized(game.m_contact[1], "contact");
    sized(game.m_arrivalMarks, "arrival marks");
    sized(game.m_entrySides, "entry sides");
    sized(game.m_contactSnapshot[0], "spotting snapshot");
    sized(game.m_connected, "isolation");
    sized(game.m_searchState, "path search");
    sized(game.m_enemyDistance, "enemy distance");
}

// A valid version-1 parameter file: header, fire table of one column, and
// the terrain and hexside tables.
std::string MinimalParameterText(int minutesPerTurn = 12)
{
    auto row = [](int count, int value) {
        std::string line;
        for (int i = 0; i < count; ++i)
            line += std::to_string(value) + (i + 1 < count ? " " : "\n");
        return line;
    };
    return "1 Test rules\n" + std::to_string(minutesPerTurn) + " 200\n4 40 30 7\n1\n1 1 20 20 20 20 10\n" + row(28, 100)
        + row(21, 100) + "61 62\n" + row(28, 0) + "91 92 93 94 95 96 97 101 31 32 150 102 11\n" + row(28, 0)
        + "132 133 134 135\n";
}

// Only the reload chain calls its bare steps; the game reloads through
// ReloadKeepingBattle.
static_assert(!HasPublicReload<CGame>);
static_assert(!HasPublicReload<CGameOrders>);
static_assert(!HasPublicReload<CGameSpotting>);
static_assert(!HasPublicReload<CGameIsolation>);
static_assert(!HasPublicReload<CGamePathSearch>);
static_assert(!HasPublicReload<CGameAiData>);

} // namespace

TEST_F(GameTest, BuildsWithoutDataFiles)
{
    auto& game = Game();
    EXPECT_EQ(game.m_version, 10);
    EXPECT_TRUE(game.m_startupError.IsEmpty());
    EXPECT_EQ(game.m_platoonTypes.Count(), 0);
    ExpectGridsSized(game, 1, 1);
    EXPECT_EQ(game.m_airStrikeSide.At(0, 0), -1);
    EXPECT_EQ(game.m_smokeMark.At(0, 0), -1);
    EXPECT_EQ(game.m_pontoons.At(0, 0).side, HexSide::None);
    EXPECT_EQ(game.m_aiPercent[0], 50);
    EXPECT_EQ(game.m_ammo[1], 80);
    EXPECT_EQ(game.m_visibility, 20);
    EXPECT_EQ(game.m_unitLimits[1][2][2], 3);
    EXPECT_EQ(game.m_map.GetTimeLimit(), 60);
    EXPECT_EQ(game.Reload(), nullptr) << "no names, no files: nothing to read and no error";
    ExpectGridsSized(game, 1, 1);
}

TEST_F(GameTest, ReloadReadsMapAndOrganisationAndResizesEveryLayer)
{
    Name("TEST.MAP", "test.org");
    auto& game = Game();
    ASSERT_EQ(game.Reload(), nullptr);
    EXPECT_EQ(game.m_map.GetWidth(), 5);
    EXPECT_EQ(game.m_map.GetHeight(), 4);
    ExpectGridsSized(game, 5, 4);
    EXPECT_NE(game.m_orgTree.FindNode(104), nullptr);
    EXPECT_TRUE(game.m_mapFileTime.IsWatched());
    EXPECT_TRUE(game.m_orgFileTime.IsWatched());
}

TEST_F(GameTest, MapAndOrganisationErrorsNameTheDefaultFiles)
{
    struct Case {
        const char* map;
        const char* org;
        std::string orgText;
        const char* error;
        bool orgRead;
    };
    const Case cases[] = {
        { "missing.map", "test.org", "", "Error opening map file: main.map", false },
        { "bad.map", "test.org", "", "Error reading from map file: main.map", false },
        { "test.map", "missing.org", "", "Error opening org file: main.org", false },
        { "test.map", "bad.org", "1\n0\n6 44\nB01x0001 101 6 Broken\n", "Error reading from org file: main.org",
            false },
        { "", "test.org", "", nullptr, true },
    };
    m_dir.Write("bad.map", "3\n0 4\n");
    for (const Case& c : cases) {
        m_game.reset();
        if (!c.orgText.empty())
            m_dir.Write(c.org, c.orgText);
        Name(c.map, c.org);
        const char* error = Game().Reload();
        EXPECT_STREQ(error, c.error) << c.map << " / " << c.org;
        EXPECT_EQ(Game().m_orgTree.FindNode(104) != nullptr, c.orgRead) << c.map << " / " << c.org;
        // Whatever the map gave, every grid stands for the map held.
        ExpectGridsSized(Game(), Game().m_map.GetWidth(), Game().m_map.GetHeight());
    }
}

TEST_F(GameTest, ParameterErrorIsReturnedAndTheComputerFileTimeIsNotTaken)
{
    m_dir.Write("main.pdx", ScrambleText("2\n0\n"));
    m_dir.Write("main.ai", "12\n");
    Name("test.map", "test.org");
    auto& game = Game();
    EXPECT_STREQ(game.Reload(), "Error reading from parameter data file: main.pdt");
    EXPECT_FALSE(game.m_aiFileTime.IsWatched());
    ExpectGridsSized(game, 5, 4);

    fs::remove(m_dir.Path("main.pdx"));
    EXPECT_EQ(game.Reload(), nullptr);
    EXPECT_TRUE(game.m_aiFileTime.IsWatched());
}

// One freshness rule for every data file of every layer: a file has changed
// when its time differs from the one taken when it was read, at the file
// system's full resolution.
TEST_F(GameTest, FreshnessOfEveryDataFile)
{
    using namespace std::chrono_literals;
    struct Case {
        const char* name;
        std::string first; // the contents read when the game is built
        std::string second; // the contents written later
        // Tells the two contents apart (null: the file's contents are not read).
        std::function<std::string(const CGame&)> probe;
        bool heldTable; // the same time again means no new read
    };
    std::string map = ReadFixture("maps/sample-v3.txt");
    const std::string otherMap = std::string(map).replace(map.find("100 20 1 2 3 2"), 14, "100 20 1 2 3 1");
    std::string org = ReadFixture("org/generated.org");
    const std::string otherOrg = std::string(org).replace(org.find("1st Platoon"), 11, "First Platoon");
    const Case cases[] = {
        { "movement.pdx", ScrambleText("100\n"), ScrambleText("200\n"),
            [](const CGame& g) { return std::to_string(g.m_movementCosts[0][0].m_entries[0]); }, true },
        { "weapon.pdx", ScrambleText("W0101 5\n1\n"), ScrambleText("W0707 1\n1\n"),
            [](const CGame& g) { return std::to_string(g.m_weapons.Head()->value.m_weaponId); }, true },
        { "main.pdx", ScrambleText(MinimalParameterText(12)), ScrambleText(MinimalParameterText(15)),
            [](const CGame& g) { return std::to_string(g.m_parameters.m_minutesPerTurn); }, true },
        { "test.map", map, otherMap, [](const CGame& g) { return std::to_string(g.m_map.GetRegion()); }, false },
        { "test.org", org, otherOrg, [](const CGame& g) { return g.m_orgTree.FindNode(104)->m_nodeName.str(); },
            false },
        { "main.ai", "12\n", "13\n", nullptr, false },
    };
    const auto start = std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now()) - 100s;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_game.reset();
        for (const Case& file : cases) {
            m_dir.Write(file.name, file.first);
            fs::last_write_time(m_dir.Path(file.name), start);
        }
        const fs::path path = m_dir.Path(c.name);
        auto& game = Game();
        Name("test.map", "test.org");
        ASSERT_EQ(game.ReloadKeepingBattle().str(), "");
        const std::string first = c.probe ? c.probe(game) : "";
        EXPECT_FALSE(game.CheckFilesChanged()) << "nothing changed since the files were read";

        // New contents under the old time: no change, and a table held is not read again.
        m_dir.Write(c.name, c.second);
        fs::last_write_time(path, start);
        EXPECT_FALSE(game.CheckFilesChanged());
        ASSERT_EQ(game.ReloadKeepingBattle().str(), "");
        if (c.probe) {
            EXPECT_EQ(c.probe(game) == first, c.heldTable);
        }

        // Rewritten within the second it was read: a change, seen through any
        // layer and reported once; the reload reads it.
        m_dir.Write(c.name, c.second);
        fs::last_write_time(path, start + 300ms);
        CGameMovementCosts& lowestLayer = game;
        EXPECT_TRUE(lowestLayer.CheckFilesChanged());
        EXPECT_FALSE(game.CheckFilesChanged()) << "the new time was kept";
        ASSERT_EQ(game.ReloadKeepingBattle().str(), "");
        if (c.probe) {
            EXPECT_NE(c.probe(game), first);
        }
        EXPECT_FALSE(game.CheckFilesChanged());
        // An older time is another file too (a copy put back).
        fs::last_write_time(path, start - 5s);
        EXPECT_TRUE(game.CheckFilesChanged());

        // A file missing at a reload is not watched: its return is not
        // reported, but the next reload reads it, and it is watched again.
        fs::remove(path);
        EXPECT_FALSE(game.CheckFilesChanged());
        game.ReloadKeepingBattle();
        if (c.heldTable) {
            EXPECT_NE(c.probe(game), first) << "a missing file keeps the table held";
        }
        m_dir.Write(c.name, c.first);
        fs::last_write_time(path, start + 1s);
        EXPECT_FALSE(game.CheckFilesChanged());
        EXPECT_EQ(game.ReloadKeepingBattle().str(), "");
        if (c.probe) {
            EXPECT_EQ(c.probe(game), first);
        }
        fs::last_write_time(path, start + 1100ms);
        EXPECT_TRUE(game.CheckFilesChanged());
    }
}

TEST_F(GameTest, FreshnessTestsEveryFileEvenAfterOneChanged)
{
    using namespace std::chrono_literals;
    for (const char* name : { "weapon.pdx", "movement.pdx", "main.ai" })
        m_dir.Write(name, "");
    m_dir.Write("main.pdx", ScrambleText(MinimalParameterText()));
    const auto start = std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now()) - 100s;
    for (const char* name : { "test.map", "test.org", "weapon.pdx", "movement.pdx", "main.pdx", "main.ai" })
        fs::last_write_time(m_dir.Path(name), start);
    Name("test.map", "test.org");
    auto& game = Game();
    ASSERT_EQ(game.Reload(), nullptr);
    EXPECT_TRUE(game.m_mapFileTime.IsWatched());
    EXPECT_TRUE(game.m_aiFileTime.IsWatched());

    // Two files change: the first one found changed must not hide the second.
    fs::last_write_time(m_dir.Path("test.map"), start + 10ms);
    fs::last_write_time(m_dir.Path("main.ai"), start + 20ms);
    EXPECT_TRUE(game.CheckFilesChanged());
    EXPECT_EQ(game.m_mapFileTime.SeenTime(), start + 10ms);
    EXPECT_EQ(game.m_aiFileTime.SeenTime(), start + 20ms);
    EXPECT_FALSE(game.CheckFilesChanged()) << "both new times were kept";
}

TEST_F(GameTest, ResetBattleKeepsFilesTimesSmokeAndCallbacks)
{
    Name("test.map", "test.org");
    auto& game = Game();
    ASSERT_EQ(game.Reload(), nullptr);
    CHeadlessFrame frame(game);
    frame.Attach();
    game.m_smoke[0] = 4;
    game.m_airPower[1] = 2;
    game.m_options = kOptionThreePhase | kOptionDiggingIn;
    game.m_airStrikeSide.At(2, 3) = 0;
    game.m_searchState.At(2, 3) = 7;
    game.m_entrySides.At(2, 3) = HexSide::North;
    game.m_stacks.At(1, 1).Append(PlacedUnit());
    game.m_eliminated.Append(PlacedUnit());
    const auto mapTime = game.m_mapFileTime.SeenTime();

    game.ResetBattle();
    EXPECT_EQ(game.m_smoke[0], 4);
    EXPECT_EQ(game.m_airPower[1], 0);
    EXPECT_EQ(game.m_options, 0);
    EXPECT_EQ(game.m_aiPercent[0], 100) << "a reset sets 100 where the constructor sets 50";
    EXPECT_EQ(game.m_airStrikeSide.At(2, 3), -1);
    EXPECT_EQ(game.m_searchState.At(2, 3), 0) << "every layer's grids are emptied";
    EXPECT_EQ(game.m_entrySides.At(2, 3), HexSide::None);
    EXPECT_FALSE(game.HexHasUnits(1, 1));
    EXPECT_TRUE(game.m_eliminated.IsEmpty());
    EXPECT_EQ(game.m_mapFileTime.SeenTime(), mapTime);
    EXPECT_EQ(game.m_mapFileName.str(), "test.map");
    EXPECT_NE(game.m_moveCallback, nullptr);
    ExpectGridsSized(game, 5, 4);
}

TEST_F(GameTest, CallbacksReachTheFrameAndAreOwnedByTheGame)
{
    struct Counting final : CCallback {
        int* invoked;
        int* deleted;
        Counting(int* i, int* d)
            : invoked(i)
            , deleted(d)
        {
        }
        ~Counting() override { ++*deleted; }
        void Invoke() override { ++*invoked; }
    };
    int invoked = 0, deleted = 0;
    {
        auto& game = Game();
        game.SetMoveCallback(std::make_unique<Counting>(&invoked, &deleted));
        game.m_moveCallback->Invoke();
        game.SetMoveCallback(std::make_unique<Counting>(&invoked, &deleted));
        EXPECT_EQ(deleted, 1) << "a replaced callback is deleted";
        m_game.reset();
    }
    EXPECT_EQ(invoked, 1);
    EXPECT_EQ(deleted, 2) << "the game deletes the callback it owns";

    auto& game = Game();
    CHeadlessFrame frame(game);
    frame.Attach();
    game.m_lastMove.emplace(1, 2, 1, 3, 1);
    game.m_moveCallback->Invoke();
    ASSERT_EQ(frame.m_moveSteps.size(), 1u);
    EXPECT_EQ(frame.m_moveSteps[0].m_toRow, 3);
    game.m_placement = PlacementRecord { 4, 5, 10, 1 };
    game.m_placementCallback->Invoke();
    ASSERT_EQ(frame.m_placements.size(), 1u);
    EXPECT_EQ(frame.m_placements[0].nation, 10);
}

TEST_F(GameTest, HiddenSidesShowOnlyWhatTheOtherSideHasContactWith)
{
    m_dir.Write("platoon.obx", ScrambleText(ReadFixture("platoons/platoon.txt")));
    Name("test.map", "test.org");
    auto& game = Game();
    ASSERT_EQ(game.Reload(), nullptr);
    ASSERT_GT(game.m_platoonTypes.Count(), 0);
    PlatoonType* type = game.m_platoonTypes.GetAt(0);
    const int side = type->GetSide();
    PlacedUnit unit;
    unit.m_type = type;
    game.m_stacks.At(2, 2).Append(unit);

    EXPECT_TRUE(game.HexHasUnits(2, 2));
    EXPECT_FALSE(game.HexHasUnits(3, 2));
    game.m_aiFog[side] = 1;
    EXPECT_TRUE(game.IsSideHidden(side));
    EXPECT_FALSE(game.HexHasUnits(2, 2)) << "no contact: a hidden side's stack does not show";
    game.m_contact[OtherSide(side)].At(2, 2).Set(1, 3);
    EXPECT_TRUE(game.HexHasUnits(2, 2));
    game.m_stacks.At(2, 2).Head()->value.m_status = kUnitHidden;
    EXPECT_FALSE(game.HexHasUnits(2, 2)) << "only hidden units in the stack";

    game.m_map.SetSide(OtherSide(side));
    EXPECT_TRUE(game.IsOpponentHidden());
    game.m_map.SetSide(side);
    EXPECT_FALSE(game.IsOpponentHidden());
}

TEST_F(GameTest, ThemedMovementCostsFollowTheMapBeingLoaded)
{
    auto movement = [](int value) {
        std::string text;
        for (int row = 0; row < 48; ++row) {
            for (int entry = 0; entry < 52; ++entry)
                text += std::to_string(value) + (entry < 51 ? " " : "\n");
        }
        return text;
    };
    m_dir.Write("movement.pdx", ScrambleText(movement(100)));
    m_dir.Write("NWE-movement.pdx", ScrambleText(movement(250)));
    std::string map = ReadFixture("maps/sample-v3.txt");
    const std::string header = "100 20 1 2 3 2";
    ASSERT_NE(map.find(header), std::string::npos);
    map.replace(map.find(header), header.size(), "100 20 1 2 3 0");
    m_dir.Write("nwe.map", map);

    auto& game = Game();
    EXPECT_EQ(game.m_movementCosts[0][0].m_entries[0], 100) << "no map yet: the plain costs";
    Name("nwe.map", "test.org");
    ASSERT_EQ(game.Reload(), nullptr);
    EXPECT_EQ(game.m_movementCosts[2][5].m_entries[7], 250) << "the first battle on a themed map gets its costs";
    Name("test.map", "test.org");
    ASSERT_EQ(game.Reload(), nullptr);
    EXPECT_EQ(game.m_movementCosts[2][5].m_entries[7], 100);
}

TEST_F(GameTest, ReloadReadsAChangedParameterFileAndSkipsAnUnchangedOne)
{
    const fs::path file = m_dir.Write("main.pdx", ScrambleText(MinimalParameterText(12)));
    SetFileTime(file, 100);
    auto& game = Game();
    EXPECT_EQ(game.m_parameters.m_minutesPerTurn, 12) << "read when the game object is built";

    // Same time as when read: the file is taken as unchanged and not read again.
    m_dir.Write("main.pdx", ScrambleText(MinimalParameterText(15)));
    SetFileTime(file, 100);
    ASSERT_EQ(game.Reload(), nullptr);
    EXPECT_EQ(game.m_parameters.m_minutesPerTurn, 12);

    SetFileTime(file, 10);
    EXPECT_TRUE(game.CheckFilesChanged());
    ASSERT_EQ(game.Reload(), nullptr);
    EXPECT_EQ(game.m_parameters.m_minutesPerTurn, 15);

    // A damaged file keeps the values and reports its error at every reload.
    m_dir.Write("main.pdx", ScrambleText("1 Broken\n"));
    SetFileTime(file, 5);
    EXPECT_STREQ(game.Reload(), "Error reading from parameter data file: main.pdt");
    EXPECT_STREQ(game.Reload(), "Error reading from parameter data file: main.pdt");
    EXPECT_EQ(game.m_parameters.m_minutesPerTurn, 15);
}
