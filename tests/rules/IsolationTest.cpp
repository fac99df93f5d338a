// Isolation: which hexes the side to move joins to a source, and the report
// of its cut-off units, on small maps drawn as pictures. Side 0 is to move.
//
// Neighbours on our maps: an odd column x reaches (x, y-1) N, (x+1, y-1) NE,
// (x+1, y) SE, (x, y+1) S, (x-1, y) SW, (x-1, y-1) NW; an even column
// (x+1, y) NE, (x+1, y+1) SE, (x-1, y+1) SW, (x-1, y) NW.

#include <cstdint>
#include <string>
#include <vector>

#include "model/HexMap.h"
#include "tests/rules/MoveGame.h"

namespace {

constexpr std::uint32_t kOwnRifles = 10290; // side 0, unarmed, "Rifles"
constexpr std::uint32_t kEnemyTruck = 1790; // side 1, unarmed
constexpr std::uint32_t kFirstNamedType = 10250; // side 0, "U01".."U12"

} // namespace

class IsolationTest : public MoveGameTest {
protected:
    void SetUp() override
    {
        NewType(kOwnRifles, "Rifles");
        NewType(kEnemyTruck, "Truck");
        for (int i = 0; i < 12; ++i)
            NewType(
                kFirstNamedType + static_cast<std::uint32_t>(i), (i < 9 ? "U0" : "U1") + std::to_string((i + 1) % 10));
        MakeMap(8, 8);
        m_game.m_map.SetSide(0);
        ASSERT_NE(GetNominalFirepower(demo::kGermanRifle), 0);
    }

    int GetNominalFirepower(std::uint32_t id) { return CGameWeapons::GetNominalFirepower(Type(id)); }

    void NewType(std::uint32_t id, const std::string& name)
    {
        ASSERT_EQ(Type(id), nullptr) << id;
        PlatoonType type;
        type.m_id = id;
        type.m_fullStrength = 3;
        type.m_name = name;
        m_game.m_platoonTypes.Append(type);
    }

    // One character per hex, top row first: '.' empty, 'U' and 'I' a unit of
    // side 0 (expected connected and isolated), 'G' an armed unit of side 1,
    // 'w' an unarmed one, 'X' empty impassible ground, 'S' a unit of side 0
    // on impassible ground.
    void Lay(const std::vector<std::string>& rows)
    {
        for (int y = 0; y < static_cast<int>(rows.size()); ++y)
            for (int x = 0; x < static_cast<int>(rows[static_cast<std::size_t>(y)].size()); ++x) {
                const char c = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
                if (c == 'X' || c == 'S')
                    Hex(x, y).terrain = kTerrainImpassible;
                if (c == 'U' || c == 'I' || c == 'S')
                    Add(x, y, kOwnRifles);
                else if (c == 'G')
                    Add(x, y, demo::kGermanRifle);
                else if (c == 'w')
                    Add(x, y, kEnemyTruck);
            }
    }

    std::vector<std::string> Connected()
    {
        std::vector<std::string> rows;
        for (int y = 0; y < m_game.m_connected.Height(); ++y) {
            std::string row;
            for (int x = 0; x < m_game.m_connected.Width(); ++x)
                row += m_game.m_connected.At(x, y) ? '1' : '0';
            rows.push_back(row);
        }
        return rows;
    }

    bool Isolated(int x, int y, int position = 1) { return (Unit(x, y, position).m_status & kUnitIsolated) != 0; }

    struct Report {
        std::string text;
        std::vector<HexPos> hexes;
    };
    Report Find()
    {
        String text("old text");
        HexList hexes;
        m_game.FindIsolatedUnits(text, hexes);
        Report report { text.c_str(), {} };
        for (const HexPos& hex : hexes)
            report.hexes.push_back(hex);
        return report;
    }
};

TEST_F(IsolationTest, MarksTheHexesJoinedToASource)
{
    Lay({
        "........",
        "........",
        "...G....",
        "...I....",
        "...G....",
        "........",
        "......G.",
        "........",
    });
    const Report report = Find();
    // (3,2) blocks its empty neighbours (3,1) (4,1) (4,2) (2,2) (2,1), and
    // (3,4) blocks (3,5) (4,3) (4,4) (2,4) (2,3): every neighbour of the own
    // unit at (3,3) is enemy-held or blocked, so it stays 0. (6,6) blocks
    // (6,5) (5,6) and the edge hexes (6,7) (7,6) (7,7) (5,7): sources next to
    // an armed enemy start no fill. The rest is joined through the edges.
    EXPECT_EQ(Connected(),
        (std::vector<std::string> {
            "11111111",
            "11000111",
            "11000111",
            "11000111",
            "11000111",
            "11101101",
            "11111000",
            "11111000",
        }));
    EXPECT_TRUE(Isolated(3, 3));
    EXPECT_EQ(report.text, "* The following units are isolated *\nRifles at 3, 3\n");
    ASSERT_EQ(report.hexes.size(), 1u);
    EXPECT_EQ(report.hexes[0], (HexPos { 3, 3 }));
    EXPECT_EQ(m_game.m_listedCount, 1);

    // A second pass names the unit again but lists no hex: nothing changed.
    const Report again = Find();
    EXPECT_EQ(again.text, report.text);
    EXPECT_TRUE(again.hexes.empty());
    EXPECT_TRUE(Isolated(3, 3));
}

TEST_F(IsolationTest, EdgeCases)
{
    struct Case {
        const char* name;
        std::vector<std::string> rows;
    };
    const std::vector<Case> cases = {
        // Its hex is a source and, held by its own side, passable.
        { "unit on the map edge among enemies",
            { "........", "........", "G.......", "UG......", "G.......", "........", "........", "........" } },
        // (4,3) blocked when empty, but held by the own side it is passable
        // and its NE neighbour (5,3) is open.
        { "own unit in a blocked hex keeps the chain",
            { "........", "........", "...G....", "...UU...", "...G....", "........", "........", "........" } },
        // Unarmed enemies hold their own hexes only.
        { "unarmed enemies block no neighbour",
            { "........", "........", "...w....", "...U....", "...w....", "........", "........", "........" } },
        // Impassible ground is a source of its own.
        { "pocket on impassible ground",
            { "........", "........", "...G....", "...S....", "...G....", "........", "........", "........" } },
        // Empty impassible ground next to an armed enemy starts nothing.
        { "blocked impassible hex next to the pocket",
            { "........", "........", "...G....", "..XI....", "...G....", "........", "........", "........" } },
        // Two own units in the pocket: both cut off.
        { "pocket of two hexes",
            { "........", "........", "...G....", "..GIG...", "...I....", "...G....", "........", "........" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeMap(8, 8);
        Lay(c.rows);
        Find();
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const char cell = c.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
                if (cell == 'U' || cell == 'S' || cell == 'I') {
                    EXPECT_EQ(Isolated(x, y), cell == 'I') << x << ", " << y;
                }
            }
    }
}

TEST_F(IsolationTest, TwelveIsolatedUnitsGiveTenLinesAndOthers)
{
    Lay({ "........", "........", "...G....", "........", "...G....", "........", "........", "........" });
    for (int i = 0; i < 12; ++i)
        Add(3, 3, kFirstNamedType + static_cast<std::uint32_t>(i));
    const Report report = Find();
    EXPECT_EQ(report.text,
        "* The following units are isolated *\n"
        "U01 at 3, 3\nU02 at 3, 3\nU03 at 3, 3\nU04 at 3, 3\nU05 at 3, 3\n"
        "U06 at 3, 3\nU07 at 3, 3\nU08 at 3, 3\nU09 at 3, 3\nU10 at 3, 3\n"
        "and others...\n");
    EXPECT_EQ(m_game.m_listedCount, 12);
    for (int position = 1; position <= 12; ++position)
        EXPECT_TRUE(Isolated(3, 3, position)) << position;
    ASSERT_EQ(report.hexes.size(), 1u);
}

TEST_F(IsolationTest, AUnitNoLongerIsolatedIsListedWithoutALine)
{
    Add(5, 5, kOwnRifles, kUnitIsolated);
    Add(5, 5, kOwnRifles);
    // The other side's bits stay as they are: a marked unit on open ground
    // and an unmarked one in a pocket of side 0's armed units.
    Add(1, 6, demo::kGermanRifle, kUnitIsolated);
    Add(3, 2, demo::kUsRifle);
    Add(3, 4, demo::kUsRifle);
    Add(3, 3, demo::kGermanRifle);
    const Report report = Find();
    EXPECT_EQ(report.text, "");
    EXPECT_FALSE(Isolated(5, 5, 1));
    EXPECT_FALSE(Isolated(5, 5, 2));
    ASSERT_EQ(report.hexes.size(), 1u);
    EXPECT_EQ(report.hexes[0], (HexPos { 5, 5 }));
    EXPECT_TRUE(Isolated(1, 6));
    EXPECT_FALSE(Isolated(3, 3));
}

TEST_F(IsolationTest, TheHexListKeepsWhatItHeldAndNamesEachHexOnce)
{
    Lay({ "........", "........", "...G....", "........", "...G....", "........", "........", "........" });
    Add(3, 3, kOwnRifles);
    Add(3, 3, kOwnRifles);
    String text;
    HexList hexes;
    AppendHexListNode(hexes, 3, 3);
    AppendHexListNode(hexes, 0, 0);
    m_game.FindIsolatedUnits(text, hexes);
    EXPECT_EQ(hexes.Count(), 2u);
    EXPECT_EQ(std::string(text.c_str()), "* The following units are isolated *\nRifles at 3, 3\nRifles at 3, 3\n");
}

TEST_F(IsolationTest, UnitsWithoutATypeBreakNothing)
{
    // A hex whose top unit has no type is nobody's: empty for the fill.
    m_game.m_stacks.At(3, 3).Append(PlacedUnit());
    Add(3, 3, kOwnRifles);
    m_game.m_stacks.At(5, 5).Append(PlacedUnit());
    const Report report = Find();
    EXPECT_EQ(report.text, "");
    EXPECT_TRUE(report.hexes.empty());
    EXPECT_EQ(m_game.m_connected.At(3, 3), 1);
}

// A fill far deeper than any call stack would take: walls of unarmed enemy
// units in every odd column, open at the bottom row where x % 4 == 1 and at
// the top row where x % 4 == 3, leave one corridor that winds through all
// even columns; the fill from (0, 0) runs along it some fifty thousand
// hexes deep. On the open map its path from (0, 0) visits all 100,000 hexes
// before it first turns back.
TEST_F(IsolationTest, FillsAThousandByAHundredMap)
{
    for (const bool walls : { true, false }) {
        SCOPED_TRACE(walls ? "corridor" : "open map");
        MakeMap(1000, 100);
        if (walls)
            for (int x = 1; x < 1000; x += 2)
                for (int y = 0; y < 100; ++y)
                    if (y != (x % 4 == 1 ? 99 : 0))
                        Add(x, y, kEnemyTruck);
        Add(998, 50, kOwnRifles);
        Find();
        int connected = 0;
        for (int x = 0; x < 1000; ++x)
            for (int y = 0; y < 100; ++y)
                connected += m_game.m_connected.At(x, y);
        // 500 even columns of 100 hexes and one gap in each of 500 walls.
        EXPECT_EQ(connected, walls ? 50500 : 100000);
        EXPECT_FALSE(Isolated(998, 50));
    }
}
