#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "model/GameHexMarks.h"
#include "model/Scramble.h"
#include "tests/ReloadableLayer.h"
#include "tests/TestFiles.h"

namespace fs = std::filesystem;

namespace {

// The stored form of a plain fixture: the two file-name lines scrambled from
// version 8, with the writer's trailing blank from version 9.
std::string Stored(const std::string& plain)
{
    std::vector<std::string> lines = SplitLines(plain);
    const int version = std::atoi(lines.at(0).c_str());
    if (version >= 8 && lines.size() > 9)
        for (std::size_t i = 8; i <= 9; ++i)
            lines[i] = ScrambleLine(lines[i]) + (version >= 9 ? " " : "");
    return JoinLines(lines);
}

std::string ReplaceLine(const std::string& plain, std::size_t index, const std::string& line)
{
    std::vector<std::string> lines = SplitLines(plain);
    lines.at(index) = line;
    return JoinLines(lines);
}

// The plain text with one more section line just before the "-1" line.
std::string WithSection(const std::string& plain, const std::string& line)
{
    std::vector<std::string> lines = SplitLines(plain);
    auto end = std::find(lines.begin(), lines.end(), "-1");
    lines.insert(end, line);
    return JoinLines(lines);
}

std::string WithLineReplaced(const std::string& plain, const std::string& from, const std::string& to)
{
    std::vector<std::string> lines = SplitLines(plain);
    auto at = std::find(lines.begin(), lines.end(), from);
    EXPECT_NE(at, lines.end()) << from;
    if (at != lines.end())
        *at = to;
    return JoinLines(lines);
}

// A version-10 battle on the test map with the given section lines.
std::string MinimalBattle(const std::string& sections)
{
    return "10\nTitle\n0 0 0 60\n0 0 0 0 20\n0 0 0 0 80 80\n0\n0 0 0 0 0\n100 100 0 0\ntest.map\ntest.org\n"
           " 3 3 3 3 3 3 3 3 3\n 3 3 3 3 3 3 3 3 3\n0 0 0\n"
        + sections + "\n-1\n0 -1\n1\n";
}

// A stream that takes only so many characters, then fails like a full disk.
class LimitedBuffer : public std::streambuf {
public:
    explicit LimitedBuffer(std::size_t limit)
        : m_left(limit)
    {
    }

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        if (m_left == 0)
            return traits_type::eof();
        --m_left;
        return c;
    }
    std::streamsize xsputn(const char*, std::streamsize n) override
    {
        const auto taken = std::min<std::streamsize>(n, static_cast<std::streamsize>(m_left));
        m_left -= static_cast<std::size_t>(taken);
        return taken;
    }

private:
    std::size_t m_left;
};

// A folder with the fixtures' map, organisation and platoon file, and a game
// object built in it.
class BattleFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir.Write("test.map", ReadFixture("maps/sample-v3.txt"));
        m_dir.Write("test.org", ReadFixture("battles/test.org"));
        WritePlatoons(ReadFixture("battles/platoon.txt"));
    }

    void WritePlatoons(const std::string& plain) const { m_dir.Write("platoon.obx", ScrambleText(plain)); }

    CGameHexMarks& Game()
    {
        if (!m_game)
            m_game = std::make_unique<CGameHexMarks>();
        return *m_game;
    }

    bool Read(const std::string& stored, bool keepVersion10 = false)
    {
        std::istringstream in(stored);
        return Game().ReadBattleFile(in, keepVersion10);
    }
    bool ReadPlain(const std::string& plain, bool keepVersion10 = false) { return Read(Stored(plain), keepVersion10); }

    std::string Write()
    {
        std::ostringstream out;
        EXPECT_TRUE(Game().WriteBattleFile(out));
        return out.str();
    }

    PlatoonType* Type(std::uint32_t id) { return Game().m_platoonTypes.FindById(id); }
    OrgNode* Node(int id) { return Game().m_orgTree.FindNode(id); }
    UnitList& Stack(int column, int row) { return Game().m_stacks.At(column, row); }

    // Nothing of a battle is left in play.
    void ExpectNoBattle(const std::string& why)
    {
        CGameHexMarks& game = Game();
        for (int c = 0; c < game.m_stacks.Width(); ++c)
            for (int r = 0; r < game.m_stacks.Height(); ++r) {
                EXPECT_TRUE(game.m_stacks.At(c, r).IsEmpty()) << why;
                EXPECT_EQ(game.m_hexFlags.At(c, r), 0) << why;
                EXPECT_EQ(game.m_contact[0].At(c, r).kind, 0) << why;
                EXPECT_EQ(game.m_smokeMark.At(c, r), -1) << why;
            }
        EXPECT_TRUE(game.m_offMapUnits.IsEmpty()) << why;
        EXPECT_TRUE(game.m_reinforcements.IsEmpty()) << why;
        EXPECT_TRUE(game.m_releases.IsEmpty()) << why;
        EXPECT_TRUE(game.m_eliminated.IsEmpty()) << why;
        EXPECT_TRUE(game.m_exited.IsEmpty()) << why;
        EXPECT_TRUE(game.m_pendingFire.IsEmpty()) << why;
        EXPECT_TRUE(game.m_aircraftPool.IsEmpty()) << why;
        EXPECT_TRUE(game.m_title.IsEmpty()) << why;
        EXPECT_EQ(game.m_map.GetCounter(), 0) << why;
        EXPECT_EQ(game.m_version, 10) << why;
        EXPECT_EQ(std::count(game.m_losses.begin(), game.m_losses.end(), 0),
            static_cast<std::ptrdiff_t>(game.m_losses.size()))
            << why;
        EXPECT_FALSE(game.m_battleReadError.IsEmpty()) << why;
    }

    const std::string m_v10 = ReadFixture("battles/battle-v10.txt");
    TempDir m_dir;
    ScopedCurrentDir m_inDir { m_dir.Path() };
    std::unique_ptr<CGameHexMarks> m_game;
};

} // namespace

TEST_F(BattleFileTest, ReadsTheHeaderOfVersion10)
{
    ASSERT_TRUE(ReadPlain(m_v10)) << Game().m_battleReadError.str();
    CGameHexMarks& game = Game();
    EXPECT_TRUE(game.m_battleReadError.IsEmpty());
    EXPECT_EQ(game.m_version, 10);
    EXPECT_EQ(game.m_title.str(), "Bridge at Velmora Every section") << "bars become blanks";
    EXPECT_EQ(game.m_map.GetCounter(), 4);
    EXPECT_EQ(game.m_map.GetSide(), 1);
    EXPECT_EQ(game.m_terrain.foliage, 1);
    EXPECT_EQ(game.m_terrain.surface, 2);
    EXPECT_EQ(game.m_terrain.water, 0);
    EXPECT_EQ(game.m_terrain.fieldState, 1);
    EXPECT_EQ(game.m_visibility, 15);
    EXPECT_EQ(game.m_airPower[1], 2);
    EXPECT_EQ(game.m_smoke[0], 1);
    EXPECT_EQ(game.m_ammo[1], 70);
    EXPECT_EQ(game.m_thresholds[0], -20);
    EXPECT_EQ(game.m_thresholds[3], 20);
    EXPECT_EQ(game.m_missionType, 3);
    EXPECT_EQ(game.m_aiPercent[0], 60);
    EXPECT_EQ(game.m_advantage, 10);
    EXPECT_EQ(game.m_options, 88);
    EXPECT_EQ(game.m_mapFileName.str(), "test.map");
    EXPECT_EQ(game.m_orgFileName.str(), "test.org");
    EXPECT_EQ(game.m_map.GetWidth(), 5) << "the named map was loaded";
    EXPECT_EQ(game.m_unitLimits[0][1][0], 2);
    EXPECT_EQ(game.m_unitLimits[0][2][2], 1);
    EXPECT_EQ(game.m_unitLimits[1][2][2], 3);
    EXPECT_EQ(game.m_night, 1);
    EXPECT_EQ(game.m_starshells[0], 4);
    EXPECT_EQ(game.m_starshells[1], 2);
    EXPECT_EQ(game.m_trailer, 1);
}

TEST_F(BattleFileTest, ReadsEverySectionTag)
{
    ASSERT_TRUE(ReadPlain(m_v10)) << Game().m_battleReadError.str();
    CGameHexMarks& game = Game();

    // Tag 0: the stack keeps its order and the carried unit stays loaded.
    ASSERT_EQ(Stack(1, 1).Count(), 2u);
    const PlacedUnit& carrier = Stack(1, 1).Head()->value;
    const PlacedUnit& carried = Stack(1, 1).Last()->value;
    EXPECT_EQ(carrier.m_type, Type(10501));
    EXPECT_EQ(carrier.m_status, static_cast<std::uint32_t>(kUnitCarrying));
    EXPECT_EQ(carried.m_status, static_cast<std::uint32_t>(kUnitCarried | kUnitFired));
    EXPECT_EQ(carried.m_counters[2], 1);
    EXPECT_EQ(Stack(4, 3).Head()->value.m_secondFacing, HexSide::None);
    EXPECT_EQ(Stack(4, 3).Head()->value.m_facing, HexSide::SouthWest);
    EXPECT_EQ(Node(104)->m_mark, 1) << "units mark their node";
    EXPECT_EQ(Node(101)->m_mark, 1) << "and its ancestors";
    EXPECT_EQ(Node(105)->m_mark, 0) << "a group unit does not";

    EXPECT_EQ(game.m_wrecks.At(1, 1), 0x10000002);
    EXPECT_EQ(game.m_hexFlags.At(1, 1), 17);
    EXPECT_EQ(game.m_contact[0].At(1, 1).kind, 2);
    EXPECT_EQ(game.m_contact[0].At(1, 1).value, 3);
    EXPECT_EQ(game.m_contact[1].At(1, 1).kind, 1);
    EXPECT_EQ(game.m_contact[0].At(4, 3).kind, 2) << "which 2 sets both sides";
    EXPECT_EQ(game.m_contact[1].At(4, 3).value, 4);
    EXPECT_EQ(game.m_objectives.At(2, 2).value, 10);
    EXPECT_EQ(game.m_objectives.At(2, 2).nation, 10);
    EXPECT_EQ(game.m_phaseBytes.At(2, 2), 4);
    EXPECT_EQ(game.m_smokeMark.At(2, 2), 3);
    EXPECT_EQ(game.m_starshellMark.At(2, 2), 1);
    EXPECT_EQ(game.m_fireMark.At(2, 2), 2);
    EXPECT_EQ(game.m_airStrikeValue.At(2, 2), 5);
    EXPECT_EQ(game.m_airStrikeSide.At(2, 2), 1);
    EXPECT_EQ(game.m_pontoons.At(3, 0).side, HexSide::South);
    EXPECT_EQ(game.m_pontoons.At(3, 0).capacity, 4);
    EXPECT_EQ(game.m_hexValue.At(3, 0), 12);
    EXPECT_EQ(game.m_damagedBridges.At(1, 2), HexSideSet(9));
    EXPECT_EQ(game.m_arrivalMarks.At(0, 3).value, 10);
    EXPECT_TRUE(game.m_arrivalMarks.At(0, 3).flag);

    // Tag 6.
    ASSERT_EQ(game.m_offMapUnits.Count(), 1u);
    EXPECT_EQ(game.m_offMapUnits.Head()->value.column, -2);
    EXPECT_EQ(game.m_offMapUnits.Head()->value.unit.m_node, Node(107));

    // Tag 7: placement and scatter, a slot number in a second facing, the
    // carried unit behind a halftrack kept and behind a leader dropped, the
    // leader read with its node's type and rating.
    ASSERT_EQ(game.m_reinforcements.Count(), 2u);
    const ReinforcementGroup& first = game.m_reinforcements.Head()->value;
    EXPECT_EQ(first.m_col, 0);
    EXPECT_EQ(first.m_row, 3);
    EXPECT_EQ(first.m_time, 6);
    EXPECT_EQ(first.m_chance, 50);
    EXPECT_EQ(first.m_placement, 3u);
    EXPECT_EQ(first.m_scatterSteps, 4);
    EXPECT_EQ(first.m_units.Head()->value.m_status, static_cast<std::uint32_t>(kUnitCarrying));
    EXPECT_EQ(first.m_units.Last()->value.m_status, static_cast<std::uint32_t>(kUnitCarried));
    EXPECT_EQ(first.m_units.Last()->value.m_secondFacing, HexSide::None);
    const ReinforcementGroup& second = game.m_reinforcements.Last()->value;
    EXPECT_EQ(second.m_units.Head()->value.m_type, Type(10401));
    EXPECT_EQ(second.m_units.Head()->value.m_rating, 7);
    EXPECT_EQ(second.m_units.Last()->value.m_status, 0u);

    // Tags 12, 14, 15, 16, 19.
    ASSERT_EQ(game.m_releases.Count(), 1u);
    EXPECT_EQ(game.m_releases.Head()->value.time, 8);
    EXPECT_EQ(game.m_releases.Head()->value.chance, 50);
    EXPECT_EQ(game.m_releases.Head()->value.node, Node(201));
    ASSERT_EQ(game.m_pendingFire.Count(), 1u);
    const PendingFire& fire = game.m_pendingFire.Head()->value;
    EXPECT_EQ(fire.nodeId, 107);
    EXPECT_EQ(fire.fromColumn, -2);
    EXPECT_EQ(fire.targetColumn, 3);
    EXPECT_EQ(fire.targetRow, 2);
    EXPECT_TRUE(fire.smoke);
    ASSERT_EQ(game.m_eliminated.Count(), 1u);
    EXPECT_EQ(game.m_eliminated.Head()->value.m_node, Node(203));
    ASSERT_EQ(game.m_exited.Count(), 1u);
    EXPECT_EQ(game.m_exited.Head()->value.m_node, nullptr);
    ASSERT_EQ(game.m_aircraftPool.Count(), 2u);
    EXPECT_EQ(game.m_aircraftPool.Head()->value, Type(1601));
    EXPECT_EQ(game.m_aircraftPool.Last()->value, Type(9601));

    // The loss table skips the line of a type that does not exist.
    EXPECT_EQ(game.m_losses.at(static_cast<std::size_t>(game.m_platoonTypes.IndexOf(Type(10101)))), 3);
    EXPECT_EQ(game.m_losses.at(static_cast<std::size_t>(game.m_platoonTypes.IndexOf(Type(1101)))), 2);

    // Every unit's nation is noted for its side.
    EXPECT_EQ(game.m_sideNations[0][0], 10);
    EXPECT_EQ(game.m_sideNations[0][1], -1);
    EXPECT_EQ(game.m_sideNations[1][0], 1);
}

TEST_F(BattleFileTest, OlderVersionsReadWithTheirLayout)
{
    ASSERT_TRUE(ReadPlain(ReadFixture("battles/battle-v1.txt"))) << Game().m_battleReadError.str();
    CGameHexMarks& game = Game();
    EXPECT_EQ(game.m_version, 1) << "the file's version without the flag";
    EXPECT_EQ(game.m_unitLimits[0][0][0], 3);
    EXPECT_EQ(game.m_unitLimits[1][2][2], 3);
    EXPECT_EQ(game.m_night, 0);
    ASSERT_EQ(Stack(3, 2).Count(), 1u);
    EXPECT_EQ(Stack(3, 2).Head()->value.m_facing, HexSide::South);
    EXPECT_EQ(Stack(3, 2).Head()->value.m_counters[0], 3);
    EXPECT_EQ(game.m_contact[0].At(3, 2).kind, 2);
    EXPECT_EQ(game.m_contact[0].At(3, 2).value, 1) << "no value before version 3";
    ASSERT_EQ(game.m_reinforcements.Count(), 1u);
    EXPECT_EQ(game.m_reinforcements.Head()->value.m_placement, 0u);
    EXPECT_EQ(game.m_reinforcements.Head()->value.m_units.Count(), 1u);
    EXPECT_EQ(game.m_eliminated.Count(), 1u);
    ASSERT_TRUE(ReadPlain(ReadFixture("battles/battle-v1.txt"), true));
    EXPECT_EQ(game.m_version, 10) << "the flag keeps version 10";

    // Version 8: scrambled names without a trailing blank; the stored
    // backslash becomes a slash and the map is found in its folder.
    fs::create_directories(m_dir.Path("maps"));
    fs::copy_file(m_dir.Path("test.map"), m_dir.Path("maps") / "test.map");
    ASSERT_TRUE(ReadPlain(ReadFixture("battles/battle-v8.txt"))) << game.m_battleReadError.str();
    EXPECT_EQ(game.m_version, 8);
    EXPECT_EQ(game.m_mapFileName.str(), "maps/test.map");
    EXPECT_EQ(game.m_orgFileName.str(), "test.org");
    EXPECT_EQ(game.m_unitLimits[1][0][0], 1);
    EXPECT_EQ(Stack(2, 1).Head()->value.m_counters[2], 3);
    EXPECT_EQ(Stack(2, 1).Head()->value.m_counters[1], 1);
    EXPECT_EQ(game.m_contact[1].At(2, 1).value, 5);
    const ReinforcementGroup& group = game.m_reinforcements.Head()->value;
    EXPECT_EQ(group.m_placement, 1u);
    EXPECT_EQ(group.m_scatterSteps, 3);
    EXPECT_EQ(group.m_units.Head()->value.m_counters[2], 1);
    EXPECT_EQ(game.m_sideNations[1][0], 1) << "a group notes its nation";
}

TEST_F(BattleFileTest, VersionBoundariesOfTheOptionalFields)
{
    // The same battle at every version: the fields each version adds are
    // present exactly from that version on.
    for (int version = 1; version <= 10; ++version) {
        std::vector<std::string> lines = { std::to_string(version), "Title", "0 0 0 60", "0 0 0 0 20", "0 0 0 0 80 80",
            "0", "0 0 0 0 0", "100 100 0 0", "test.map", "test.org" };
        if (version >= 2) {
            lines.push_back(" 1 2 3 1 2 3 1 2 3");
            lines.push_back(" 3 3 3 3 3 3 3 3 3");
        }
        if (version >= 10)
            lines.push_back("1 0 0");
        const std::string counters = version >= 7 ? " 2 2 2" : "";
        lines.push_back("0 1 1 10101 -1 1 1 6 100 6 0 0" + counters);
        lines.push_back(std::string("4 1 1 0 2") + (version >= 3 ? " 7" : ""));
        lines.push_back(std::string("7 2 2 0 100 1") + (version >= 4 ? " 4 5" : ""));
        lines.push_back("    10301 -1 1 1 3 100 5 0 0" + counters);
        lines.push_back("-1");
        lines.push_back("0 -1");
        lines.push_back("1");
        ASSERT_TRUE(ReadPlain(JoinLines(lines))) << "version " << version << ": " << Game().m_battleReadError.str();
        CGameHexMarks& game = Game();
        EXPECT_EQ(game.m_unitLimits[0][0][1], version >= 2 ? 2 : 3) << version;
        EXPECT_EQ(game.m_night, version >= 10 ? 1 : 0) << version;
        EXPECT_EQ(Stack(1, 1).Head()->value.m_counters[0], version >= 7 ? 2 : 3) << version;
        EXPECT_EQ(game.m_contact[0].At(1, 1).value, version >= 3 ? 7 : 1) << version;
        const ReinforcementGroup& group = game.m_reinforcements.Head()->value;
        EXPECT_EQ(group.m_scatterSteps, version >= 4 ? 5 : 0) << version;
        EXPECT_EQ(group.m_units.Head()->value.m_counters[1], version >= 7 ? 2 : 3) << version;
    }
}

TEST_F(BattleFileTest, WriteReadWriteIsIdentical)
{
    fs::create_directories(m_dir.Path("maps"));
    fs::copy_file(m_dir.Path("test.map"), m_dir.Path("maps") / "test.map");
    for (const char* fixture : { "battles/battle-v10.txt", "battles/battle-v8.txt", "battles/battle-v1.txt" }) {
        ASSERT_TRUE(ReadPlain(ReadFixture(fixture))) << fixture;
        const std::string first = Write();
        ASSERT_TRUE(Read(first)) << fixture << ": " << Game().m_battleReadError.str();
        EXPECT_EQ(Game().m_version, 10) << "the writer writes version 10";
        const std::string second = Write();
        EXPECT_EQ(second, first) << fixture;
    }

    // The written form of the full fixture, line by line: the canonical
    // order of the tags, the scrambled names with their blank, the loss
    // table in platoon order.
    ASSERT_TRUE(ReadPlain(m_v10));
    const std::vector<std::string> lines = SplitLines(Write());
    const std::vector<std::string> expected = { "10", "Bridge at Velmora Every section", "4 1 0 60", "1 2 0 1 15",
        "3 2 1 0 80 70", "0", "-20 -5 5 20 3", "60 40 10 88", ScrambleLine("test.map") + " ",
        ScrambleLine("test.org") + " ", " 3 3 3 2 2 2 1 1 1", " 3 3 3 3 3 3 3 3 3", "1 4 2",
        "0 1 1 10501 106 2 1 4 80 6 0 0 3 3 3", "0 1 1 10101 104 2 1 6 100 6 0 17 3 2 1", "1 1 1 268435458", "2 1 1 17",
        "4 1 1 0 2 3", "4 1 1 1 1 1", "5 2 2 10 10", "8 2 2 4", "9 2 2 3", "21 2 2 1", "20 2 2 2", "10 2 2 5 1",
        "11 3 0 8 4", "13 3 0 12", "0 4 3 1101 202 16 64 5 90 5 0 1024 3 3 3", "4 4 3 0 2 4", "4 4 3 1 2 4",
        "6 -2 1 10301 107 1 1 3 100 5 0 0 3 3 3", "7 0 3 6 50 2 3 4", "    10501 -1 1 1 4 100 6 0 0 3 3 3",
        "    10101 105 1 64 6 100 6 0 16 3 3 3", "7 4 0 8 100 2 0 0", "    10401 103 1 1 1 100 7 0 0 3 3 3",
        "    10101 -1 1 1 6 100 6 0 0 3 3 3", "12 8 50 201", "15 1101 203 1 1 2 0 5 0 8 3 3 3",
        "16 10101 -1 1 1 4 100 6 0 0 3 3 3", "14 107 -2 1 3 2 1", "17 1 2 )", "18 0 3 10 1", "19 1601", "19 9601", "-1",
        "10101 3", "1101 2", "0 -1", "1" };
    EXPECT_EQ(lines, expected);
}

TEST_F(BattleFileTest, CarriedUnitsNeedACarrierAboveThem)
{
    struct Case {
        const char* lines;
        std::uint32_t topStatus;
        std::uint32_t bottomStatus;
    } cases[] = {
        // Written as 0x55, read back as 0x11 behind a carrier that gets 0x40.
        { "0 1 1 10501 -1 1 1 4 100 6 0 0 3 3 3\n0 1 1 10101 -1 1 1 6 100 6 0 85 3 3 3", 0x40, 0x11 },
        { "0 1 1 10401 -1 1 1 1 100 6 0 0 3 3 3\n0 1 1 10101 -1 1 1 6 100 6 0 16 3 3 3", 0, 0 },
        { "0 1 1 10101 -1 1 1 6 100 6 0 16 3 3 3", 0, 0 },
        { "0 1 1 10501 -1 1 1 4 100 6 0 64 3 3 3\n0 1 1 10101 -1 1 1 6 100 6 0 0 3 3 3", 0, 0 },
    };
    for (const Case& c : cases) {
        const std::string plain = MinimalBattle(c.lines);
        ASSERT_TRUE(ReadPlain(plain)) << c.lines << ": " << Game().m_battleReadError.str();
        EXPECT_EQ(Stack(1, 1).Head()->value.m_status, c.topStatus) << c.lines;
        EXPECT_EQ(Stack(1, 1).Last()->value.m_status, c.bottomStatus) << c.lines;
    }
}

TEST_F(BattleFileTest, EveryHexMustLieOnTheMap)
{
    // One line per tag that names a hex, with %C and %R for its column and row.
    const char* lines[] = { "0 %C %R 10101 104 1 1 6 100 6 0 0 3 3 3", "1 %C %R 2", "2 %C %R 1", "4 %C %R 0 1 1",
        "5 %C %R 5 10", "7 %C %R 0 100 0 0 0", "8 %C %R 1", "9 %C %R 1", "10 %C %R 1 0", "11 %C %R 1 3", "13 %C %R 1",
        "17 %C %R )", "18 %C %R 10 0", "20 %C %R 1", "21 %C %R 1", "14 0 -1 -1 %C %R 0" };
    struct Hex {
        const char* column;
        const char* row;
        bool onMap;
    } hexes[] = { { "4", "3", true }, { "0", "0", true }, { "5", "0", false }, { "0", "4", false },
        { "-1", "2", false }, { "2", "-1", false }, { "2000000000", "0", false } };
    for (const char* pattern : lines) {
        for (const Hex& hex : hexes) {
            std::string line = pattern;
            line.replace(line.find("%C"), 2, hex.column);
            line.replace(line.find("%R"), 2, hex.row);
            ASSERT_TRUE(ReadPlain(m_v10)) << line;
            EXPECT_EQ(ReadPlain(WithSection(m_v10, line)), hex.onMap) << line;
            if (!hex.onMap)
                ExpectNoBattle(line);
        }
    }
}

TEST_F(BattleFileTest, DamagedInputIsRefusedAndResetsTheBattle)
{
    struct Case {
        const char* why;
        std::string plain;
    };
    const std::string longLine(2000, 'a');
    const std::vector<Case> cases = {
        { "version 0", ReplaceLine(m_v10, 0, "0") },
        { "version 11", ReplaceLine(m_v10, 0, "11") },
        { "no version", ReplaceLine(m_v10, 0, "x") },
        { "clock side 2", ReplaceLine(m_v10, 2, "4 2 0 60") },
        { "terrain cut short", ReplaceLine(m_v10, 3, "1 2 0") },
        { "first side 2", ReplaceLine(m_v10, 5, "2") },
        { "options not a number", ReplaceLine(m_v10, 7, "60 40 10 x") },
        { "over-long title", ReplaceLine(m_v10, 1, longLine) },
        { "over-long map name", ReplaceLine(m_v10, 8, longLine) },
        { "a map name that cannot be written back with its blank", ReplaceLine(m_v10, 8, std::string(1023, 'm')) },
        { "a NUL in the map name", ReplaceLine(m_v10, 8, std::string("test.map\0other", 14)) },
        { "a control character in the organisation name", ReplaceLine(m_v10, 9, "test.org\t") },
        { "negative air power", ReplaceLine(m_v10, 4, "-1 2 1 0 80 70") },
        { "a negative smoke count", ReplaceLine(m_v10, 4, "3 2 1 -2 80 70") },
        { "unit limits cut short", ReplaceLine(m_v10, 10, " 3 3 x") },
        { "night line missing", ReplaceLine(m_v10, 12, "x") },
        { "header cut short", JoinLines({ "10", "Title", "0 0 0 60", "0 0 0 0 20" }) },
        { "tag 3", WithSection(m_v10, "3 1 1 1") },
        { "tag 22", WithSection(m_v10, "22 1 1 1") },
        { "tag -2", WithSection(m_v10, "-2 1 1 1") },
        { "tag beyond 32 bits", WithSection(m_v10, "4294967296 1 1 1") },
        { "no tag", WithSection(m_v10, "x 1 1 1") },
        { "a section line cut short", WithSection(m_v10, "10 1 1 5") },
        { "a unit line cut short", WithSection(m_v10, "0 1 1 10101 104 1 1 6 100 6 0 0 3 3") },
        { "unit of no type", WithSection(m_v10, "0 1 1 4242 104 1 1 6 100 6 0 0 3 3 3") },
        { "unit of no node", WithSection(m_v10, "0 1 1 10101 999 1 1 6 100 6 0 0 3 3 3") },
        { "off-map unit of no type", WithSection(m_v10, "6 -1 0 4242 -1 1 1 6 100 6 0 0 3 3 3") },
        { "off-map unit far away", WithSection(m_v10, "6 2000000000 0 10101 -1 1 1 6 100 6 0 0 3 3 3") },
        { "off-map unit just too far", WithSection(m_v10, "6 -1001 0 10101 -1 1 1 6 100 6 0 0 3 3 3") },
        { "eliminated unit of no type", WithSection(m_v10, "15 4242 -1 1 1 6 100 6 0 0 3 3 3") },
        { "exited unit of no type", WithSection(m_v10, "16 4242 -1 1 1 6 100 6 0 0 3 3 3") },
        { "group unit of no type", WithSection(m_v10, "7 0 0 0 100 1 0 0\n    4242 -1 1 1 6 100 6 0 0 3 3 3") },
        { "group of 2000000000 units", WithSection(m_v10, "7 0 0 0 100 2000000000 0 0") },
        { "group of -1 units", WithSection(m_v10, "7 0 0 0 100 -1 0 0") },
        { "group one unit short", WithSection(m_v10, "7 0 0 0 100 2 0 0\n    10101 -1 1 1 6 100 6 0 0 3 3 3") },
        { "release of no node", WithSection(m_v10, "12 8 50 999") },
        { "aircraft of no type", WithSection(m_v10, "19 4242") },
        { "pending fire from far away", WithSection(m_v10, "14 0 5000 0 1 1 0") },
        { "contact kind 3", WithSection(m_v10, "4 1 1 0 3 1") },
        { "contact value -2", WithSection(m_v10, "4 1 1 0 1 -2") },
        { "negative wreck word", WithSection(m_v10, "1 1 1 -5") },
        { "wreck word beyond the burning bit", WithSection(m_v10, "1 1 1 536870912") },
        { "smoke mark -2", WithSection(m_v10, "9 1 1 -2") },
        { "starshell mark -2", WithSection(m_v10, "21 1 1 -2") },
        { "fire mark -2", WithSection(m_v10, "20 1 1 -2") },
        { "pontoon of capacity -1", WithSection(m_v10, "11 1 1 2 -1") },
        { "objective of nation 99", WithSection(m_v10, "5 1 1 10 99") },
        { "air strike of side 2", WithSection(m_v10, "10 1 1 5 2") },
        { "pontoon across side 3", WithSection(m_v10, "11 1 1 3 2") },
        { "pontoon across side -1", WithSection(m_v10, "11 1 1 -1 2") },
        { "arrival mark of nation 40", WithSection(m_v10, "18 1 1 40 0") },
        { "damaged bridge set beyond the sides", WithSection(m_v10, "17 1 1 ~") },
        { "loss table damaged", WithLineReplaced(m_v10, "1101 2", "x y") },
        { "a negative loss", WithLineReplaced(m_v10, "1101 2", "1101 -4") },
        { "trailer damaged", ReplaceLine(m_v10, SplitLines(m_v10).size() - 1, "x") },
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(ReadPlain(m_v10)) << c.why;
        EXPECT_FALSE(ReadPlain(c.plain)) << c.why;
        ExpectNoBattle(c.why);
    }
}

TEST_F(BattleFileTest, NoLastMoveOutlivesTheBattleItWasMadeIn)
{
    // Reading a battle re-reads the organisation file, freeing the nodes the
    // last move's unit copies point to; whether the read succeeds or fails,
    // the last move must go with the old battle.
    const std::string cases[] = { m_v10, WithSection(m_v10, "0 1 1 10101 999 1 1 6 100 6 0 0 3 3 3") };
    for (const std::string& next : cases) {
        ASSERT_TRUE(ReadPlain(m_v10));
        CGameHexMarks& game = Game();
        ASSERT_NE(Stack(1, 1).Last()->value.m_node, nullptr);
        game.m_lastMove.emplace(1, 1, 2, 1, 1);
        game.m_lastMove->SetUnit(0, Stack(1, 1).Last()->value, HexSide::North);
        const bool ok = ReadPlain(next);
        EXPECT_EQ(ok, &next == &cases[0]);
        EXPECT_FALSE(game.m_lastMove) << (ok ? "after a read" : "after a failed read");
    }
}

TEST_F(BattleFileTest, EveryCutOfTheFileFailsCleanlyOrReadsWhatItHolds)
{
    const std::string stored = Stored(m_v10);
    const std::size_t sectionsStart = stored.find("\n0 1 1 ") + 1;
    for (std::size_t length = 0; length < stored.size(); ++length) {
        const std::string cut = stored.substr(0, length);
        const bool ok = Read(cut);
        if (length < sectionsStart - 1) {
            EXPECT_FALSE(ok) << "the header is never optional: " << length;
        }
        if (!ok)
            ExpectNoBattle("cut at " + std::to_string(length));
    }
    // A file that ends at a line's end without the "-1" line keeps what it read.
    const std::size_t afterValueLine = stored.find("13 3 0 12\n") + 10;
    ASSERT_TRUE(Read(stored.substr(0, afterValueLine)));
    EXPECT_EQ(Game().m_hexValue.At(3, 0), 12);
    EXPECT_EQ(Stack(1, 1).Count(), 2u);
    EXPECT_TRUE(Game().m_reinforcements.IsEmpty());
    // A unit line cut inside its numbers is damage.
    const std::size_t insideUnit = stored.find("0 4 3 1101 202") + 14;
    EXPECT_FALSE(Read(stored.substr(0, insideUnit)));
}

TEST_F(BattleFileTest, ReloadErrorsFailTheReadWithTheirText)
{
    ASSERT_TRUE(ReadPlain(m_v10));
    fs::remove(m_dir.Path("test.map"));
    EXPECT_FALSE(ReadPlain(m_v10));
    EXPECT_EQ(Game().m_battleReadError.str(), "Error opening map file: main.map");
    ExpectNoBattle("no map");

    // A failure before anything is reloaded keeps the names that match the
    // data in memory.
    m_dir.Write("test.map", ReadFixture("maps/sample-v3.txt"));
    ASSERT_TRUE(ReadPlain(m_v10));
    std::string other = WithLineReplaced(m_v10, "test.map", "other.map");
    other = ReplaceLine(other, 10, "x");
    EXPECT_FALSE(ReadPlain(other));
    EXPECT_EQ(Game().m_mapFileName.str(), "test.map");
}

TEST_F(BattleFileTest, WriterStopsAtTheFirstFailedWrite)
{
    ASSERT_TRUE(ReadPlain(m_v10));
    const std::string full = Write();
    for (std::size_t limit = 0; limit < full.size(); ++limit) {
        LimitedBuffer buffer(limit);
        std::ostream out(&buffer);
        EXPECT_FALSE(Game().WriteBattleFile(out)) << limit;
    }
    LimitedBuffer enough(full.size());
    std::ostream out(&enough);
    EXPECT_TRUE(Game().WriteBattleFile(out));

    // A name that the reader would refuse is not written.
    for (const std::string& name :
        { std::string("two\nlines"), std::string("test.org\0x", 10), std::string("tab\t"), std::string(1023, 'o') }) {
        Game().m_orgFileName = name;
        std::ostringstream text;
        EXPECT_FALSE(Game().WriteBattleFile(text)) << name.size();
    }
    Game().m_orgFileName = std::string(1022, 'o');
    std::ostringstream longest;
    EXPECT_TRUE(Game().WriteBattleFile(longest)) << "the longest name that reads back";
    Game().m_orgFileName = "test.org";
    // A title is kept to one readable line.
    Game().m_title = String("a\nb|c" + std::string(3000, 'x'));
    ASSERT_TRUE(Read(Write()));
    EXPECT_EQ(Game().m_title.GetLength(), String::kMaxLineLength);
    EXPECT_EQ(Game().m_title.str().substr(0, 5), "a b c");
}

// A battle too large for one piece goes out in several: the same text, read
// back unchanged, and a sink that fails midway still fails the write.
TEST_F(BattleFileTest, ALargeBattleIsWrittenInPieces)
{
    ASSERT_TRUE(ReadPlain(m_v10));
    const UnitList& stack = Game().m_stacks.At(1, 1);
    ASSERT_FALSE(stack.IsEmpty());
    const PlacedUnit unit = stack.Head()->value;
    ASSERT_EQ(unit.m_status & kUnitCarried, 0u);
    for (int column = 0; column < Game().m_stacks.Width(); ++column)
        for (int i = 0; i < 2000; ++i)
            Game().m_stacks.At(column, 2).Append(unit);

    const std::string first = Write();
    ASSERT_GT(first.size(), 3u * 64 * 1024);
    ASSERT_TRUE(Read(first)) << Game().m_battleReadError.str();
    EXPECT_EQ(Write(), first);

    for (const std::size_t limit : { first.size() / 3, first.size() - 1 }) {
        LimitedBuffer buffer(limit);
        std::ostream out(&buffer);
        EXPECT_FALSE(Game().WriteBattleFile(out)) << limit;
    }
}

TEST_F(BattleFileTest, SideTotalsLoadedFromAFileTravelAsAMessage)
{
    ASSERT_TRUE(ReadPlain(m_v10));
    std::ostringstream totals;
    ASSERT_TRUE(Game().WriteSideTotals(totals));

    // The other machine of a two-player game: the same data, another battle.
    CGameHexMarks other;
    std::istringstream battle(Stored(MinimalBattle("")));
    ASSERT_TRUE(other.ReadBattleFile(battle, false)) << other.m_battleReadError.c_str();
    std::istringstream in(totals.str());
    ASSERT_TRUE(other.ReadSideTotals(in));
    std::ostringstream again;
    ASSERT_TRUE(other.WriteSideTotals(again));
    EXPECT_EQ(again.str(), totals.str());
    EXPECT_EQ(other.m_airPower[0], 3);
    EXPECT_EQ(other.m_smoke[0], 1);
    EXPECT_EQ(other.m_losses, Game().m_losses);
}

TEST_F(BattleFileTest, PendingFireLine)
{
    PendingFire fire { 12, -1, 4, 3, 2, true };
    std::ostringstream out;
    ASSERT_TRUE(fire.Write(out));
    EXPECT_EQ(out.str(), "12 -1 4 3 2 1");
    PendingFire back;
    std::istringstream in("12 -1 4 3 2 7");
    ASSERT_TRUE(back.Read(in));
    EXPECT_EQ(back.nodeId, 12);
    EXPECT_EQ(back.fromRow, 4);
    EXPECT_EQ(back.targetColumn, 3);
    EXPECT_TRUE(back.smoke) << "any flag but 0 is set";
    std::istringstream cut("12 -1 4 3 2");
    PendingFire unchanged;
    EXPECT_FALSE(unchanged.Read(cut));
    EXPECT_EQ(unchanged.nodeId, 0);
    EXPECT_EQ(unchanged.targetRow, -1);
}

TEST_F(BattleFileTest, ReloadKeepsTheBattleOnTheNewData)
{
    ASSERT_TRUE(ReadPlain(m_v10));
    const std::string before = Write();
    CGameHexMarks& game = Game();
    game.m_lastMove.emplace(1, 1, 2, 1, 1);
    game.m_lastMove->SetUnit(0, Stack(1, 1).Head()->value, HexSide::North);

    // New names for a node and a type, and a new node: the same ids.
    std::string org = ReadFixture("battles/test.org");
    org.replace(org.find("1st Platoon"), 11, "First Platoon");
    org.replace(org.find("    End\nB0120001"), 0, "    P10101 108 6 Reserve\n");
    m_dir.Write("test.org", org);
    std::string platoons = ReadFixture("battles/platoon.txt");
    platoons.replace(platoons.find("Rifle Platoon"), 13, "Rifle Squad");
    WritePlatoons(platoons);

    ASSERT_EQ(game.ReloadKeepingBattle().str(), "");
    EXPECT_FALSE(game.m_lastMove) << "no copy of a unit outlives its type";
    EXPECT_NE(Node(108), nullptr) << "the new organisation is in play";
    const PlacedUnit& rifles = Stack(1, 1).Last()->value;
    EXPECT_EQ(rifles.m_node, Node(104));
    EXPECT_EQ(rifles.m_node->m_nodeName.str(), "First Platoon");
    EXPECT_EQ(rifles.m_type, Type(10101));
    EXPECT_EQ(rifles.GetName().str(), "Rifle Squad");
    EXPECT_EQ(Stack(1, 1).Head()->value.m_status, static_cast<std::uint32_t>(kUnitCarrying));
    EXPECT_EQ(game.m_reinforcements.Head()->value.m_units.Last()->value.m_node, Node(105));
    EXPECT_EQ(game.m_offMapUnits.Head()->value.unit.m_node, Node(107));
    EXPECT_EQ(game.m_releases.Head()->value.node, Node(201));
    EXPECT_EQ(game.m_eliminated.Head()->value.m_type, Type(1101));
    EXPECT_EQ(game.m_aircraftPool.Head()->value, Type(1601));
    EXPECT_EQ(game.m_losses.at(static_cast<std::size_t>(game.m_platoonTypes.IndexOf(Type(10101)))), 3);
    EXPECT_EQ(Write(), before) << "ids and values are unchanged";
}

// Only the reload chain calls its bare steps; the game reloads through
// ReloadKeepingBattle.
static_assert(!HasPublicReload<CGameMovementCosts>);
static_assert(!HasPublicReload<CGameWeapons>);
static_assert(!HasPublicReload<CGameData>);
static_assert(!HasPublicReload<CGameMoveUndo>);
static_assert(!HasPublicReload<CGameHexMarks>);
static_assert(HasPublicReload<ReloadableLayer<CGameHexMarks>>, "the check above can see a public one");

// Off-map units, groups, eliminated and exited units, releases and the last
// move all point into the organisation a reload re-reads: after the reload the
// battle is written and the phase changes with nothing left pointing into
// freed data (the sanitizer build checks the memory).
TEST_F(BattleFileTest, ReloadWithABattleInPlayThenWriteAndChangePhase)
{
    ASSERT_TRUE(ReadPlain(m_v10));
    CGameHexMarks& game = Game();
    game.m_lastMove.emplace(1, 1, 2, 1, 1);
    game.m_lastMove->SetUnit(0, Stack(1, 1).Head()->value, HexSide::North);
    const std::string before = Write();
    ASSERT_FALSE(game.m_offMapUnits.IsEmpty());
    ASSERT_FALSE(game.m_reinforcements.IsEmpty());
    ASSERT_FALSE(game.m_eliminated.IsEmpty());
    ASSERT_FALSE(game.m_exited.IsEmpty());
    ASSERT_FALSE(game.m_releases.IsEmpty());

    ASSERT_EQ(game.ReloadKeepingBattle().str(), "");
    EXPECT_EQ(Write(), before);
    EXPECT_TRUE(game.AdvancePhase(10));
    EXPECT_FALSE(Write().empty());
}

TEST_F(BattleFileTest, ReloadCases)
{
    const std::string org = ReadFixture("battles/test.org");
    const std::string platoons = ReadFixture("battles/platoon.txt");
    struct Case {
        const char* what;
        bool battle; // a battle is read before the reload
        std::function<void()> change; // what happens to the files before it
        std::string error;
        bool battleKept;
        std::uint32_t vanishedType = 0;
    };
    const Case cases[] = {
        { "battle in play", true, [] {}, "", true },
        { "battle in play, data changed", true,
            [&] {
                std::string renamed = platoons;
                renamed.replace(renamed.find("Rifle Platoon"), 13, "Rifle Squad");
                WritePlatoons(renamed);
            },
            "", true },
        { "no battle", false, [] {}, "", false },
        { "an organisation node vanished", true,
            [&] {
                std::string cut = org;
                cut.replace(cut.find("        P10101 104 6 1st Platoon\n"), 33, "");
                m_dir.Write("test.org", cut);
            },
            "Error reading battle file: section 0", false },
        { "a type only the aircraft pool holds vanished", true,
            [&] {
                std::string cut = platoons;
                cut.erase(cut.find("P01601"), cut.find("P09601") - cut.find("P01601"));
                WritePlatoons(cut);
            },
            "Error reading battle file: section 19", false, 1601 },
        { "the map file vanished", true, [&] { fs::remove(m_dir.Path("test.map")); },
            "Error opening map file: main.map", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        m_game.reset();
        std::string before;
        if (c.battle) {
            ASSERT_TRUE(ReadPlain(m_v10));
            before = Write();
            Game().m_lastMove.emplace(1, 1, 2, 1, 1);
            Game().m_lastMove->SetUnit(0, Stack(1, 1).Head()->value, HexSide::North);
        } else {
            Game().m_mapFileName = "test.map";
            Game().m_orgFileName = "test.org";
        }
        c.change();

        const std::string error = Game().ReloadKeepingBattle().str();
        EXPECT_EQ(error, c.error);
        EXPECT_FALSE(Game().m_lastMove);
        if (c.battleKept) {
            EXPECT_EQ(Write(), before) << "ids and values are unchanged";
        } else if (c.battle) {
            ExpectNoBattle(c.what);
        }
        if (!c.battle) {
            EXPECT_EQ(Game().m_stacks.Width(), 5) << "the named map is read";
            EXPECT_NE(Node(104), nullptr) << "the named organisation is read";
            EXPECT_NE(Type(10101), nullptr);
        }
        if (c.vanishedType != 0) {
            EXPECT_EQ(Type(c.vanishedType), nullptr) << "the new platoon types are in play";
        }
        // Whatever came of it, the battle in memory can be written and played on.
        Write();
        Game().AdvancePhase(10);
    }
}
