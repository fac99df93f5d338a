#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/GameHexMarks.h"
#include "tests/TestFiles.h"
#include "tests/model/TestTypes.h"

namespace {

constexpr std::uint32_t kInfantry = 101;
constexpr std::uint32_t kTank = 201;
constexpr std::uint32_t kTruck = 111;
constexpr std::uint32_t kEnemyInfantry = 1101;

// A company with one platoon (node 11).
constexpr const char* kOrgText = "1\n57\n6 44\nC0100100 10 6 A Company\n    P00101 11 5 1st Platoon\n    End\n";

// One game object of a two-player game: a 5 x 4 map of Open hexes, the same
// platoon types and organisation on both machines.
std::unique_ptr<CGameHexMarks> MakeGame()
{
    auto game = std::make_unique<CGameHexMarks>();
    auto add = [&](std::uint32_t id, std::uint32_t carryFlags, std::uint32_t targetFlags, int movement) {
        game->m_platoonTypes.Append(WithValue(MakeType(id, movement, 0, carryFlags, targetFlags), 0, 4));
    };
    add(kInfantry, 0, 0, 6);
    add(kTank, 0, kTargetHard, 10);
    add(kTruck, kCarryPassengers, 0, 12);
    add(kEnemyInfantry, 0, 0, 6);
    std::istringstream org(kOrgText);
    EXPECT_TRUE(game->m_orgTree.Read(org));
    // The map member is the clock; only its map part is replaced here.
    static_cast<HexMap&>(game->m_map) = HexMap(5, 4);
    game->AllocateGrids(5, 4);
    return game;
}

std::string HexText(const CGameData& game, int x, int y)
{
    std::ostringstream out;
    EXPECT_TRUE(game.WriteHexState(out, x, y));
    return out.str();
}

std::string TotalsText(const CGameData& game)
{
    std::ostringstream out;
    EXPECT_TRUE(game.WriteSideTotals(out));
    return out.str();
}

// The text without its last n blank-separated fields.
std::string DropFields(const std::string& text, int n)
{
    std::string cut = text;
    for (int i = 0; i < n; ++i) {
        const std::size_t end = cut.find_last_not_of(" \n");
        const std::size_t blank = cut.find_last_of(" \n", end);
        cut.erase(blank == std::string::npos ? 0 : blank);
    }
    return cut;
}

int FieldCount(const std::string& text)
{
    std::istringstream in(text);
    std::string field;
    int n = 0;
    while (in >> field)
        ++n;
    return n;
}

class HexStateMessageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_sender = MakeGame();
        m_receiver = MakeGame();
    }

    PlacedUnit& AddUnit(CGameData& game, int x, int y, std::uint32_t id, int strength, std::uint32_t status)
    {
        PlacedUnit unit(game.m_platoonTypes.FindById(id), nullptr);
        unit.m_strength = strength;
        unit.m_status = status;
        return game.m_stacks.At(x, y).Append(unit)->value;
    }

    // Every field a hex-state text carries, set to a value of its own.
    void FillHex(CGameData& game, int x, int y)
    {
        PlacedUnit& truck = AddUnit(game, x, y, kTruck, 2, kUnitCarrying | kUnitMoved);
        truck.m_facing = HexSide::SouthEast;
        truck.m_secondFacing = HexSide::NorthWest;
        PlacedUnit& rider = AddUnit(game, x, y, kInfantry, 3, kUnitCarried | kUnitInAssault);
        rider.m_node = game.m_orgTree.FindNode(11);
        rider.m_rating = 4;
        rider.m_counters[1] = 1;
        rider.m_value = 17;
        PlacedUnit& tank = AddUnit(game, x, y, kTank, 1, kUnitFired | kUnitDisrupted);
        tank.m_actionPoints = 35;
        tank.m_counters[2] = 2;
        game.m_wrecks.At(x, y) = CGameData::kWreckBurning | 5;
        game.m_airStrikeValue.At(x, y) = 8;
        game.m_airStrikeSide.At(x, y) = 1;
        game.m_hexFlags.At(x, y) = CGameData::kHexMinefield2 | CGameData::kHexPillbox | CGameData::kHexSmoke;
        game.m_contact[0].At(x, y) = ContactCell { 2, 4 };
        game.m_contact[1].At(x, y) = ContactCell { 1, 1 };
        game.m_objectives.At(x, y) = ObjectiveCell { 5, 7 };
        game.m_phaseBytes.At(x, y) = 200;
        game.m_smokeMark.At(x, y) = 0;
        game.m_pontoons.At(x, y) = PontoonCell { HexSide::SouthWest, 6 };
        game.m_hexValue.At(x, y) = 42;
        game.m_damagedBridges.At(x, y) = HexSideSet(HexSide::North.Value() | HexSide::South.Value());
        game.m_arrivalMarks.At(x, y) = ArrivalMark { 3, true };
        game.m_fireMark.At(x, y) = 1;
        game.m_starshellMark.At(x, y) = 0;
    }

    bool Receive(const std::string& text, int x, int y, bool applyContact = true)
    {
        std::istringstream in(text);
        return m_receiver->ReadHexState(in, x, y, applyContact);
    }

    TempDir m_dir;
    ScopedCurrentDir m_inDir { m_dir.Path() };
    std::unique_ptr<CGameHexMarks> m_sender;
    std::unique_ptr<CGameHexMarks> m_receiver;
};

TEST_F(HexStateMessageTest, AnEmptyHexWritesItsCountThenTheWreckWord)
{
    EXPECT_EQ(HexText(*m_sender, 0, 0), "0 0 0 -1 0 0 -1 0 -1 -1 0 -1 64 0 0 0 -1 0 -1 -1");
    m_sender->m_wrecks.At(0, 0) = 3;
    EXPECT_EQ(HexText(*m_sender, 0, 0).substr(0, 4), "0 3 ");
}

TEST_F(HexStateMessageTest, HexStateRoundTripGivesTheSameHex)
{
    FillHex(*m_sender, 2, 1);
    m_receiver->m_objectives.At(2, 1).value = -3;
    const std::string text = HexText(*m_sender, 2, 1);
    ASSERT_TRUE(Receive(text, 2, 1));

    EXPECT_EQ(HexText(*m_receiver, 2, 1), text);
    const UnitList& sent = m_sender->m_stacks.At(2, 1);
    const UnitList& got = m_receiver->m_stacks.At(2, 1);
    ASSERT_EQ(got.Count(), 3u);
    const UnitNode* a = sent.Head();
    for (const UnitNode* b = got.Head(); b; b = b->next, a = a->next) {
        EXPECT_EQ(b->value.m_type->m_id, a->value.m_type->m_id);
        EXPECT_EQ(b->value.m_node ? b->value.m_node->m_id : -1, a->value.m_node ? a->value.m_node->m_id : -1);
        EXPECT_EQ(b->value.m_facing, a->value.m_facing);
        EXPECT_EQ(b->value.m_secondFacing, a->value.m_secondFacing);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(b->value.m_counters[i], a->value.m_counters[i]);
        // Each machine has its own platoon types, so units compare field by field.
        EXPECT_EQ(b->value.m_strength, a->value.m_strength);
        EXPECT_EQ(b->value.m_actionPoints, a->value.m_actionPoints);
        EXPECT_EQ(b->value.m_rating, a->value.m_rating);
        EXPECT_EQ(b->value.m_value, a->value.m_value);
        EXPECT_EQ(b->value.m_status, a->value.m_status & ~static_cast<std::uint32_t>(kUnitInAssault));
    }
    EXPECT_EQ(got.Head()->value.m_status, kUnitCarrying | kUnitMoved) << "the carrier carries again";
    EXPECT_EQ(m_receiver->GetWreckValue(2, 1), 5);
    EXPECT_TRUE(m_receiver->IsWreckBurning(2, 1));
    EXPECT_EQ(m_receiver->m_phaseBytes.At(2, 1), 200);
    EXPECT_EQ(m_receiver->m_hexValue.At(2, 1), 42) << "the engineer value is the hex value";
    EXPECT_EQ(m_receiver->m_objectives.At(2, 1).nation, 7);
    EXPECT_EQ(m_receiver->m_objectives.At(2, 1).value, -3) << "only the holder travels";
    EXPECT_EQ(m_receiver->GetContactValue(2, 1, 0), 4);
    EXPECT_TRUE(m_receiver->GetArrivalMark(2, 1).flag);
    EXPECT_EQ(m_receiver->GetPontoonCapacity(2, 1), 6);
    EXPECT_TRUE(m_receiver->HasStarshell(2, 1));

    // The text replaces what the hex held.
    FillHex(*m_receiver, 0, 0);
    ASSERT_TRUE(Receive(HexText(*m_sender, 4, 3), 0, 0));
    EXPECT_EQ(HexText(*m_receiver, 0, 0), HexText(*m_sender, 4, 3));
}

TEST_F(HexStateMessageTest, APassengerWithoutACarrierAboveArrivesUnloaded)
{
    AddUnit(*m_sender, 1, 1, kTank, 2, 0);
    AddUnit(*m_sender, 1, 1, kInfantry, 3, kUnitCarried);
    AddUnit(*m_sender, 1, 1, kInfantry, 3, kUnitCarried);
    ASSERT_TRUE(Receive(HexText(*m_sender, 1, 1), 1, 1));
    std::vector<std::uint32_t> status;
    for (const PlacedUnit& unit : m_receiver->m_stacks.At(1, 1))
        status.push_back(unit.m_status);
    EXPECT_EQ(status, (std::vector<std::uint32_t> { 0u, 0u, 0u }));
}

TEST_F(HexStateMessageTest, WithoutApplyContactTheReceiverKeepsItsContact)
{
    FillHex(*m_sender, 3, 2);
    m_receiver->m_contact[0].At(3, 2) = ContactCell { 1, 6 };
    ASSERT_TRUE(Receive(HexText(*m_sender, 3, 2), 3, 2, false));
    EXPECT_EQ(m_receiver->GetContactLevel(3, 2, 0), 1);
    EXPECT_EQ(m_receiver->GetContactValue(3, 2, 0), 6);
    EXPECT_EQ(m_receiver->GetContactLevel(3, 2, 1), 0);
    // The fields after the contact were read in their places.
    EXPECT_EQ(m_receiver->m_objectives.At(3, 2).nation, 7);
    EXPECT_EQ(m_receiver->m_fireMark.At(3, 2), 1);
    EXPECT_EQ(m_receiver->m_starshellMark.At(3, 2), 0);

    // With it, the received contact is stored by the contact rule: kind 1
    // keeps the receiver's smaller value.
    m_receiver->m_contact[1].At(3, 2) = ContactCell { 1, 0 };
    ASSERT_TRUE(Receive(HexText(*m_sender, 3, 2), 3, 2, true));
    EXPECT_EQ(m_receiver->GetContactLevel(3, 2, 0), 2);
    EXPECT_EQ(m_receiver->GetContactValue(3, 2, 0), 4);
    EXPECT_EQ(m_receiver->GetContactValue(3, 2, 1), 0);
}

TEST_F(HexStateMessageTest, RefusedHexStateChangesNothing)
{
    FillHex(*m_sender, 2, 1);
    FillHex(*m_receiver, 2, 1);
    m_receiver->m_hexValue.At(2, 1) = 99; // so that an accepted text would show
    const std::string valid = HexText(*m_sender, 2, 1);
    const std::string before = HexText(*m_receiver, 2, 1);

    // Replaces the n-th field (from 0) of the valid text.
    auto withField = [&](int n, const std::string& value) {
        std::istringstream in(valid);
        std::string field;
        std::string out;
        for (int i = 0; in >> field; ++i)
            out += (i ? " " : "") + (i == n ? value : field);
        return out;
    };
    const int units = 3 * 12; // unit lines after the count
    struct Case {
        std::string name;
        std::string text;
        int x = 2;
        int y = 1;
    };
    std::vector<Case> cases = {
        { "a hex off the map", valid, 5, 1 },
        { "a hex above the map", valid, 2, -1 },
        { "a negative count", withField(0, "-1") },
        { "a count too large", withField(0, std::to_string(CGameData::kMaxHexStateUnits + 1)) },
        { "more units than the text holds", withField(0, "4") },
        { "a unit type id that names no type", withField(1, "999") },
        { "a node id that names no node", withField(1 + 12 + 1, "77") },
        { "a wreck word beyond the flag", withField(1 + units, "536870912") },
        { "a negative wreck word", withField(1 + units, "-5") },
        { "an air-strike side of 2", withField(3 + units, "2") },
        { "a contact kind of 3", withField(5 + units, "3") },
        { "a holder that is no nation", withField(9 + units, "29") },
        { "a phase byte beyond a byte", withField(10 + units, "256") },
        { "a pontoon side that is two sides", withField(12 + units, "3") },
        { "a damaged-bridge set beyond six sides", withField(15 + units, "64") },
        { "an arrival mark that is no nation", withField(16 + units, "100") },
        { "a starshell mark below -1", withField(19 + units, "-2") },
        { "a number too large for an int", withField(14 + units, "99999999999") },
        { "a word for a number", withField(14 + units, "x") },
        { "an empty text", "" },
    };
    ASSERT_EQ(FieldCount(valid), 20 + units);
    for (int n = 1; n < FieldCount(valid); ++n)
        cases.push_back({ "truncated by " + std::to_string(n) + " fields", DropFields(valid, n) });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(Receive(c.text, c.x, c.y));
        EXPECT_EQ(HexText(*m_receiver, 2, 1), before);
    }
    std::ostringstream out;
    EXPECT_FALSE(m_sender->WriteHexState(out, 5, 0));
    EXPECT_TRUE(out.str().empty());
}

TEST_F(HexStateMessageTest, SideTotalsRoundTrip)
{
    m_sender->m_airPower[0] = 2;
    m_sender->m_airPower[1] = 1;
    m_sender->m_smoke[0] = 3;
    m_sender->m_smoke[1] = 0;
    m_sender->m_losses = { 5, 0, 0, 12 };
    m_receiver->m_losses = { 1, 4, 0, 0 };
    const std::string text = TotalsText(*m_sender);
    EXPECT_EQ(text, "2 1 3 0 101 5\n1101 12\n0 -1\n");
    std::istringstream in(text);
    ASSERT_TRUE(m_receiver->ReadSideTotals(in));
    EXPECT_EQ(TotalsText(*m_receiver), text);
    EXPECT_EQ(m_receiver->m_losses, m_sender->m_losses) << "a type the table leaves out has no loss";
}

TEST_F(HexStateMessageTest, RefusedSideTotalsChangeNothing)
{
    m_sender->m_airPower[0] = 2;
    m_sender->m_smoke[1] = 4;
    m_sender->m_losses = { 5, 0, 7, 0 };
    m_receiver->m_airPower[1] = 9;
    m_receiver->m_losses = { 0, 3, 0, 0 };
    const std::string before = TotalsText(*m_receiver);
    const std::string valid = TotalsText(*m_sender);
    std::vector<std::pair<std::string, std::string>> cases = {
        { "a negative air power", "-1 0 0 0 0 -1\n" },
        { "a negative smoke count", "0 0 0 -2 0 -1\n" },
        { "a loss of an unknown type", "0 0 0 0 999 3\n0 -1\n" },
        { "a negative loss", "0 0 0 0 101 -4\n0 -1\n" },
        { "an empty text", "" },
    };
    for (int n = 1; n < FieldCount(valid); ++n)
        cases.push_back({ "truncated by " + std::to_string(n) + " fields", DropFields(valid, n) });
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name);
        std::istringstream in(text);
        EXPECT_FALSE(m_receiver->ReadSideTotals(in));
        EXPECT_EQ(TotalsText(*m_receiver), before);
    }
}

} // namespace
