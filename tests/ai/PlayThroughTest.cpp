// The demo battle played through to its end by a script of orders for both
// sides, through the operations the frame calls and the headless turn
// driver: moves along found paths with their minefield and opportunity-fire
// checks, direct fire, plotted artillery and smoke, air strikes, loading,
// digging in, a reinforcement group placed and an assault. From a fixed seed
// and clock, every report and the final saved battle are compared with the
// golden files in tests/fixtures/playthrough (rewritten only on purpose: set
// VL_REWRITE_GOLDEN=1 to write them anew, then read the difference).

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ai/Game.h"
#include "model/Clock.h"
#include "model/Geometry.h"
#include "model/OrgTree.h"
#include "model/PlatoonType.h"
#include "model/Random.h"
#include "tests/TestFiles.h"
#include "tests/ai/TurnDriver.h"

namespace fs = std::filesystem;

namespace {

fs::path GoldenFolder() { return fs::path(VL_TEST_FIXTURES) / "playthrough"; }

std::int64_t FixedClock() { return 1'700'000'000; }
constexpr std::uint32_t kSeed = 20260704;

std::string HexText(int x, int y) { return "(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

// One game played by the script: its orders and every report, in order.
class CScriptedBattle {
public:
    explicit CScriptedBattle(std::unique_ptr<CGame> game)
        : m_game(std::move(game))
        , m_driver(*m_game)
    {
    }

    CGame& Game() { return *m_game; }

    void Log(const std::string& line) { m_log += line + "\n"; }
    void LogText(const std::string& heading, const std::string& text)
    {
        Log(heading + (text.empty() ? " -" : ""));
        if (!text.empty())
            Log(text + (text.back() == '\n' ? "" : "\n") + ".");
    }

    // Where the unit of the node is and its stack position (0 when it is
    // not on the map).
    bool Find(int node, int& x, int& y, int& position)
    {
        CGame& game = Game();
        for (x = 0; x < game.m_stacks.Width(); ++x)
            for (y = 0; y < game.m_stacks.Height(); ++y) {
                position = 1;
                for (const PlacedUnit& unit : game.m_stacks.At(x, y)) {
                    if (unit.m_node && unit.m_node->m_id == node)
                        return true;
                    ++position;
                }
            }
        position = 0;
        return false;
    }
    // The unit's position, and its passenger's when it carries one.
    std::vector<int> Selection(int x, int y, int position)
    {
        std::vector<int> positions { position };
        const UnitNode* node = Game().GetStackNode(x, y, position);
        if (node && (node->value.m_status & kUnitCarrying) != 0)
            positions.push_back(position + 1);
        return positions;
    }

    // The nearest hex, to the reference hex, held by the other side of the
    // side to move that the side to move has armed contact with; ties in
    // scan order. (-1, -1) when there is none.
    HexPos NearestEnemy(int x, int y)
    {
        CGame& game = Game();
        const int side = game.m_map.GetSide();
        HexPos best { -1, -1 };
        int bestDistance = 0;
        for (int cx = 0; cx < game.m_stacks.Width(); ++cx)
            for (int cy = 0; cy < game.m_stacks.Height(); ++cy) {
                const int holder = game.SideInHex(cx, cy);
                if (holder < 0 || holder == side || game.GetContactLevel(cx, cy, side) != 1)
                    continue;
                const int distance = HexDistance(x, y, cx, cy);
                if (best.column == -1 || distance < bestDistance) {
                    best = { cx, cy };
                    bestDistance = distance;
                }
            }
        return best;
    }

    // ---- Orders, as the frame gives them ----

    void FireAtNearest(int node)
    {
        int x = 0, y = 0, position = 0;
        if (!Find(node, x, y, position)) {
            Log("fire " + std::to_string(node) + ": not on the map");
            return;
        }
        const HexPos target = NearestEnemy(x, y);
        if (target.column == -1) {
            Log("fire " + std::to_string(node) + ": no enemy in sight");
            return;
        }
        Fire(node, target.column, target.row);
    }
    void MissionAtNearest(int node, int x, int y, bool smoke)
    {
        const HexPos target = smoke ? HexPos { x, y } : NearestEnemy(x, y);
        Mission(node, target.column, target.row, smoke);
    }
    void AirStrikeAtNearest(int x, int y)
    {
        const HexPos target = NearestEnemy(x, y);
        AirStrike(target.column, target.row);
    }
    // The units assault the first enemy hex next to the first of them that
    // has one, N to NW.
    void AssaultNearest(std::vector<int> nodes)
    {
        for (int node : nodes) {
            int x = 0, y = 0, position = 0;
            if (!Find(node, x, y, position))
                continue;
            for (HexSide side : { HexSide::North, HexSide::NorthEast, HexSide::SouthEast, HexSide::South,
                     HexSide::SouthWest, HexSide::NorthWest }) {
                HexPos next;
                const int holder
                    = Game().m_map.GetNeighbour(side, x, y, next) ? Game().SideInHex(next.column, next.row) : -1;
                if (holder >= 0 && holder != Game().m_map.GetSide()) {
                    Assault(nodes, next.column, next.row);
                    return;
                }
            }
        }
        Log("assault: no enemy next to the units");
    }

    // The units of the nodes (all in one hex) walk a found path toward the
    // hex, one step at a time, each step checked for minefields and the
    // enemy's opportunity fire, either of which may end the walk.
    void Move(std::vector<int> nodes, int toX, int toY)
    {
        int x = 0, y = 0;
        std::vector<int> positions;
        for (int node : nodes) {
            int nx = 0, ny = 0, position = 0;
            if (!Find(node, nx, ny, position) || (!positions.empty() && (nx != x || ny != y))) {
                Log("move " + std::to_string(node) + ": not on the map with the others");
                return;
            }
            x = nx;
            y = ny;
            for (int p : Selection(x, y, position))
                positions.push_back(p);
        }
        const int count = static_cast<int>(positions.size());
        HexList path;
        Game().FindMovePath(x, y, toX, toY, positions.data(), count, path);
        std::string line
            = "move " + std::to_string(nodes.front()) + " from " + HexText(x, y) + " to " + HexText(toX, toY) + ":";
        const HexListNode* step = path.Head() ? path.Head()->next : nullptr;
        if (!step) {
            Log(line + " no path");
            return;
        }
        for (; step; step = step->next) {
            const HexPos next = step->value;
            String refusal;
            Game().MoveSelection(refusal, x, y, next.column, next.row, positions.data(), count);
            if (!refusal.IsEmpty()) {
                Log(line + " stopped: " + refusal.str());
                return;
            }
            line += " " + HexText(next.column, next.row);
            x = next.column;
            y = next.row;
            if (Game().IsMineAttackTriggered(positions.data(), count, x, y)) {
                String report;
                Game().CheckMinefieldAttack(report, positions.data(), count, x, y);
                Log(line);
                LogText("Mine Attack Report", report.str());
                return;
            }
            if (Game().CheckOpportunityFire(x, y, false)) {
                String report;
                Game().ExecutePendingFire(report, false);
                Log(line);
                LogText("opportunity fire", report.str());
                return;
            }
        }
        Log(line);
    }

    // The unit of the node fires at the hex: directly at its first target,
    // or, where it must fire indirectly, a plotted mission.
    void Fire(int node, int toX, int toY)
    {
        int x = 0, y = 0, position = 0;
        const std::string line = "fire " + std::to_string(node) + " at " + HexText(toX, toY) + ":";
        if (!Find(node, x, y, position)) {
            Log(line + " not on the map");
            return;
        }
        std::vector<int> positions { position };
        const int count = 1;
        const String refusal = Game().CheckFireOrder(positions.data(), count, x, y, toX, toY);
        if (!refusal.IsEmpty()) {
            Log(line + " " + refusal.str());
            return;
        }
        if (Game().NeedsIndirectFire(positions.data(), count, x, y, toX, toY)) {
            Game().PlotIndirectFire(Game().GetStackNode(x, y, position)->value, x, y, toX, toY, false);
            Log(line + " plotted");
            return;
        }
        Game().TurnFiringUnitsToward(positions.data(), count, x, y, toX, toY);
        Game().RecordFireTrace(positions.data(), count, x, y, toX, toY, 1);
        String report;
        Game().ResolveDirectFire(report, positions.data(), count, x, y, toX, toY, 1);
        LogText(line, report.str());
    }

    // The off-map unit of the node plots fire (or smoke) on the hex.
    void Mission(int node, int toX, int toY, bool smoke)
    {
        const std::string line
            = std::string(smoke ? "smoke " : "mission ") + std::to_string(node) + " at " + HexText(toX, toY) + ":";
        for (OffMapUnit& entry : Game().m_offMapUnits) {
            if (!entry.unit.m_node || entry.unit.m_node->m_id != node)
                continue;
            const String refusal = smoke ? Game().CheckSmokeOrder(entry.unit, entry.column, entry.row, toX, toY)
                                         : Game().CheckSupportFireOrder(entry.unit, entry.column, entry.row, toX, toY);
            if (!refusal.IsEmpty()) {
                Log(line + " " + refusal.str());
                return;
            }
            Game().PlotIndirectFire(entry.unit, entry.column, entry.row, toX, toY, smoke);
            Log(line + " plotted");
            return;
        }
        Log(line + " no such unit");
    }

    void AirStrike(int toX, int toY)
    {
        const std::string line = "air strike at " + HexText(toX, toY) + ":";
        const String refusal = Game().CheckAirAttackOrder(toX, toY);
        if (!refusal.IsEmpty()) {
            Log(line + " " + refusal.str());
            return;
        }
        Game().AssignAirStrike(toX, toY);
        Log(line + " assigned");
    }

    // A hex order on the unit of the node (with its passenger).
    void UnitOrder(
        const std::string& name, int node, const std::function<void(String&, int, int, std::vector<int>&)>& order)
    {
        int x = 0, y = 0, position = 0;
        const std::string line = name + " " + std::to_string(node) + ":";
        if (!Find(node, x, y, position)) {
            Log(line + " not on the map");
            return;
        }
        std::vector<int> positions = Selection(x, y, position);
        String refusal;
        order(refusal, x, y, positions);
        Log(line + (refusal.IsEmpty() ? " done" : " " + refusal.str()));
    }
    void LoadUnload(int node)
    {
        UnitOrder("load/unload", node, [this](String& out, int x, int y, std::vector<int>& positions) {
            Game().LoadUnloadSelection(out, x, y, positions.data(), static_cast<int>(positions.size()));
        });
    }
    // A carrier and the unit it takes aboard, in one hex.
    void Board(int carrier, int passenger)
    {
        int x = 0, y = 0, p = 0, px = 0, py = 0, pp = 0;
        const std::string line = "load " + std::to_string(passenger) + " onto " + std::to_string(carrier) + ":";
        if (!Find(carrier, x, y, p) || !Find(passenger, px, py, pp) || px != x || py != y) {
            Log(line + " not together");
            return;
        }
        std::vector<int> positions { p, pp };
        String refusal;
        Game().LoadUnloadSelection(refusal, x, y, positions.data(), 2);
        Log(line + (refusal.IsEmpty() ? " done" : " " + refusal.str()));
    }
    void DigIn(int node)
    {
        UnitOrder("dig in", node, [this](String& out, int x, int y, std::vector<int>& positions) {
            Game().ToggleDigInSelection(out, x, y, positions.data(), static_cast<int>(positions.size()));
        });
    }

    // The group at that place of the list (from 1) enters the map.
    void PlaceGroup(int place)
    {
        HexPos entry;
        HexList hexes;
        String refusal;
        Game().PlaceReinforcementSelection(refusal, place, entry, hexes);
        Log("reinforcement: " + (refusal.IsEmpty() ? "placed at " + HexText(entry.column, entry.row) : refusal.str()));
    }

    // The units of the nodes assault the hex: the assault opened, each unit
    // committed from its hex, the odds, then the resolution.
    void Assault(std::vector<int> nodes, int toX, int toY)
    {
        const std::string line = "assault on " + HexText(toX, toY) + ":";
        if (!Game().CanAssaultHex(toX, toY)) {
            Log(line + " " + Game().m_assaultRefusal);
            return;
        }
        for (int node : nodes) {
            int x = 0, y = 0, position = 0;
            if (!Find(node, x, y, position))
                continue;
            std::vector<int> positions = Selection(x, y, position);
            String refusal;
            Game().AddSelectionToAssault(refusal, x, y, positions.data(), static_cast<int>(positions.size()));
            if (!refusal.IsEmpty())
                Log(line + " " + std::to_string(node) + " " + refusal.str());
        }
        String odds;
        Game().GetOddsText(odds);
        Log(line + " odds " + odds.str());
        String report;
        Game().ResolveAssault(report);
        LogText("assault report", report.str());
    }

    // ---- The phase change ----

    // Ends the phase; the new phase's heading and what its start showed.
    bool EndPhase()
    {
        const bool goesOn = m_driver.EndPhase();
        if (goesOn)
            Log(Heading());
        for (const std::string& entry : m_driver.TakeLog())
            Log(entry);
        return goesOn;
    }

    bool HasArrivedGroups() const { return !m_driver.m_groups.empty(); }

    // The groups that arrived at the start of this phase enter the map,
    // the last first so that the earlier places stay.
    void PlaceArrivedGroups()
    {
        for (auto group = m_driver.m_groups.rbegin(); group != m_driver.m_groups.rend(); ++group)
            PlaceGroup(*group + 1);
        m_driver.m_groups.clear();
    }

    std::string Heading()
    {
        String clock;
        Game().GetStatusText(clock);
        return "== " + clock.str() + ", turn " + std::to_string(Game().GetCurrentTurn()) + " ==";
    }

    std::string m_log;

private:
    std::unique_ptr<CGame> m_game;
    CTurnDriver m_driver;
};

// The orders of both sides, by turn (counter) and side; each is given in
// every phase of that side in that turn (one phase in plain turns, three in
// three-phase turns), so that what a phase does not allow is refused and
// logged. Targets are the nearest enemy hexes the side has armed contact
// with.
void PlayPhase(CScriptedBattle& battle)
{
    battle.PlaceArrivedGroups();
    CGame& game = battle.Game();
    const int counter = game.m_map.GetCounter();
    const int side = game.m_map.GetSide();
    if (side == 0) {
        switch (counter) {
        case 0:
            battle.DigIn(112);
            battle.LoadUnload(148); // the half-track sets its rifles down
            battle.Move({ 113 }, 20, 14);
            battle.FireAtNearest(142);
            battle.MissionAtNearest(190, 20, 14, false);
            battle.AirStrikeAtNearest(18, 12);
            break;
        case 6:
            battle.Board(148, 114);
            battle.Move({ 148 }, 18, 15);
            battle.FireAtNearest(145);
            battle.MissionAtNearest(190, 20, 14, true);
            battle.FireAtNearest(113);
            break;
        case 12:
            battle.Move({ 113 }, 21, 13);
            battle.Move({ 123 }, 19, 22);
            break;
        case 18:
            battle.Move({ 162 }, 8, 14);
            // Supply may have left the battery unavailable at the first try.
            battle.MissionAtNearest(190, 20, 14, true);
            break;
        case 24:
            battle.Move({ 162 }, 14, 14);
            battle.Move({ 163, 164 }, 8, 14);
            battle.Move({ 113 }, 21, 13);
            battle.AirStrikeAtNearest(18, 13);
            break;
        case 30:
            battle.Move({ 162 }, 20, 14);
            break;
        case 36:
            battle.Move({ 162 }, 20, 14);
            break;
        case 42:
            // Units that moved in a turn do not assault in it.
            battle.AssaultNearest({ 162, 113 });
            break;
        case 48:
            // Where the enemy held on out of reach, close in and try again.
            battle.Move({ 162 }, 21, 14);
            break;
        case 54:
            battle.AssaultNearest({ 162, 113 });
            break;
        default:
            if (counter >= 30 && counter <= 48)
                battle.FireAtNearest(142);
            break;
        }
    } else {
        switch (counter) {
        case 0:
            battle.FireAtNearest(212);
            battle.MissionAtNearest(290, 22, 13, false);
            battle.AirStrikeAtNearest(22, 13);
            break;
        case 6:
            battle.MissionAtNearest(290, 22, 13, true);
            battle.Move({ 214 }, 22, 12);
            battle.FireAtNearest(242);
            break;
        case 12:
            battle.DigIn(214);
            battle.FireAtNearest(212);
            break;
        case 18:
            battle.FireAtNearest(242);
            battle.MissionAtNearest(290, 22, 13, true);
            break;
        case 24:
        case 30:
            battle.Move({ 213 }, 21, 14);
            break;
        default:
            if (counter >= 18 && counter <= 48)
                battle.FireAtNearest(242);
            break;
        }
    }
}

struct PlayedBattle {
    std::string log;
    std::string saved;
};

// Plays from the game's current phase to the end; with a stop phase, stops
// at the start of the first phase from there that brought no reinforcements
// (the groups that arrive are the frame's to place, not the battle's) and
// leaves the battle as it is.
void PlayOn(CScriptedBattle& battle, int stopAt = -1)
{
    for (int phase = 0; stopAt < 0 || phase < stopAt || battle.HasArrivedGroups(); ++phase) {
        PlayPhase(battle);
        if (!battle.EndPhase())
            return;
    }
}

std::string Saved(CGame& game)
{
    std::ostringstream out;
    EXPECT_TRUE(game.WriteBattle(out));
    return out.str();
}

} // namespace

class PlayThroughTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTimeSource(&FixedClock);
        SetRandomSeed(kSeed);
    }
    void TearDown() override { SetTimeSource(nullptr); }

    // The demo scenario started as the frame starts it, both sides played by
    // persons; with the flag, three-phase turns are set after the start.
    std::unique_ptr<CScriptedBattle> Start(bool threePhase)
    {
        auto battle = std::make_unique<CScriptedBattle>(std::make_unique<CGame>());
        std::ifstream in("demo.scn", std::ios::binary);
        const int modes[2] = { 0, 0 };
        const std::uint8_t fog[2] = { 0, 0 };
        String text;
        std::vector<int> groups, released;
        HexList hexes;
        EXPECT_TRUE(battle->Game().ReadScenario(in, modes, fog, text, groups, released, hexes));
        battle->LogText("Opening report", text.str());
        battle->Log(battle->Heading());
        if (threePhase)
            battle->Game().m_options |= kOptionThreePhase;
        return battle;
    }

    PlayedBattle Play(bool threePhase)
    {
        SetRandomSeed(kSeed);
        auto battle = Start(threePhase);
        PlayOn(*battle);
        return PlayedBattle { battle->m_log, Saved(battle->Game()) };
    }

    // Compares with the golden file, or writes it when asked to.
    void ExpectGolden(const std::string& name, const std::string& text)
    {
        const fs::path path = GoldenFolder() / name;
        if (std::getenv("VL_REWRITE_GOLDEN")) {
            fs::create_directories(path.parent_path());
            std::ofstream(path, std::ios::binary) << text;
        }
        const std::string golden = ReadFileText(path);
        if (text == golden)
            return;
        // The first line that differs, and the whole text for a diff.
        std::istringstream played(text), kept(golden);
        std::string a, b;
        int line = 1;
        while (std::getline(played, a) && std::getline(kept, b) && a == b)
            ++line;
        const fs::path actual = fs::temp_directory_path() / ("vl-" + name);
        std::ofstream(actual, std::ios::binary) << text;
        ADD_FAILURE() << name << " differs from " << path << " at line " << line << ": \"" << a << "\" against \"" << b
                      << "\"; the played text is in " << actual;
    }

    ScopedCurrentDir m_inData { DemoDataFolder() };
};

TEST_F(PlayThroughTest, PlainTurns)
{
    const PlayedBattle played = Play(false);
    ExpectGolden("plain-turns.log", played.log);
    ExpectGolden("plain-turns.btl", played.saved);
}

TEST_F(PlayThroughTest, ThreePhaseTurns)
{
    const PlayedBattle played = Play(true);
    ExpectGolden("three-phase.log", played.log);
    ExpectGolden("three-phase.btl", played.saved);
}

TEST_F(PlayThroughTest, TwoRunsAreIdentical)
{
    const PlayedBattle first = Play(false);
    const PlayedBattle second = Play(false);
    EXPECT_EQ(first.log, second.log);
    EXPECT_EQ(first.saved, second.saved);
}

// Saved halfway, read into a new game object with the generator where it
// stood, and played on: the same final battle.
TEST_F(PlayThroughTest, ABattleSavedHalfwayPlaysOnToTheSameEnd)
{
    for (bool threePhase : { false, true }) {
        SCOPED_TRACE(threePhase ? "three-phase" : "plain");
        const PlayedBattle whole = Play(threePhase);

        SetRandomSeed(kSeed);
        auto first = Start(threePhase);
        PlayOn(*first, threePhase ? 31 : 11);
        const std::string halfway = Saved(first->Game());
        const std::uint32_t state = GlobalRandomGenerator().State();

        auto game = std::make_unique<CGame>();
        std::istringstream in(halfway);
        ASSERT_TRUE(game->ReadBattle(in, true)) << game->m_battleReadError.c_str();
        CScriptedBattle second(std::move(game));
        GlobalRandomGenerator().SetState(state);
        PlayOn(second);
        EXPECT_EQ(Saved(second.Game()), whole.saved);
    }
}
