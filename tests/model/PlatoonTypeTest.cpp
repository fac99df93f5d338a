#include "model/PlatoonType.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/Geometry.h"
#include "model/Scramble.h"
#include "tests/TestFiles.h"

namespace {

// Scrambles every line of a plain platoon source as the files are stored;
// blank lines stay as they are. The last line keeps its final line feed only
// when the source had one.
std::string ScrambleSource(const std::string& plain)
{
    std::string out;
    std::size_t start = 0;
    while (start < plain.size()) {
        std::size_t end = plain.find('\n', start);
        const bool hasFeed = end != std::string::npos;
        if (!hasFeed)
            end = plain.size();
        std::string line = plain.substr(start, end - start);
        // A carriage return belongs to the line end, not to the scrambled text.
        const bool carriageReturn = !line.empty() && line.back() == '\r';
        if (carriageReturn)
            line.pop_back();
        const bool blank = line.find_first_not_of(" \t") == std::string::npos;
        out += blank ? line : ScrambleLine(line);
        if (carriageReturn)
            out += '\r';
        if (hasFeed)
            out += '\n';
        start = end + 1;
    }
    return out;
}

// A full platoon line with the given id word and name and neutral values.
std::string Line(const std::string& idWord, const std::string& name = "Name")
{
    return idWord + " 5 0 0 100 100 100 6 0 0 1 0 0 0 0 0 0 0 pic 10 2 1 0 0 0 39 1 45 12 0 0 0 " + name;
}

PlatoonType Parse(const std::string& line)
{
    PlatoonType type;
    EXPECT_TRUE(type.ReadRecord(line)) << line;
    return type;
}

std::vector<std::uint32_t> Ids(const PlatoonTypeList& list)
{
    std::vector<std::uint32_t> ids;
    for (const PlatoonType* type : list)
        ids.push_back(type->m_id);
    return ids;
}

} // namespace

TEST(PlatoonTypeRecord, ReadsEveryFieldInFileOrder)
{
    const std::string fixture = ReadFixture("platoons/platoon05.txt");
    const PlatoonType t = Parse(fixture.substr(0, fixture.find('\n')));
    EXPECT_EQ(t.m_id, 1234u);
    EXPECT_EQ(t.m_fullStrength, 6);
    EXPECT_EQ(t.m_value12, 3);
    EXPECT_EQ(t.m_value13, 4);
    EXPECT_EQ(t.m_fireApCost, 50);
    EXPECT_EQ(t.m_loadApCost, 25);
    EXPECT_EQ(t.m_unloadApCost, 30);
    EXPECT_EQ(t.m_movementAllowance, 8);
    EXPECT_EQ(t.m_value15, 15);
    EXPECT_EQ(t.m_stackRank, 2);
    EXPECT_EQ(t.m_classLetter, 'A');
    EXPECT_EQ(t.m_value25, 25);
    EXPECT_EQ(t.m_value26, 26);
    EXPECT_EQ(t.m_value27, 27);
    EXPECT_EQ(t.m_value28, 28);
    EXPECT_EQ(t.m_value33, 33);
    EXPECT_EQ(t.m_value29, 29);
    EXPECT_EQ(t.m_value30, 30);
    EXPECT_EQ(t.m_pictureName.str(), "rifle");
    EXPECT_EQ(t.m_unitValue, 12);
    EXPECT_EQ(t.m_moveFlags, 2u);
    EXPECT_EQ(t.m_carryFlags, 4103u);
    EXPECT_EQ(t.m_targetFlags, 0u);
    EXPECT_EQ(t.m_extraFlags, 1u);
    EXPECT_EQ(t.m_value39, 39);
    EXPECT_EQ(t.m_firstYear, 41);
    EXPECT_EQ(t.m_firstMonth, 6);
    EXPECT_EQ(t.m_lastYear, 45);
    EXPECT_EQ(t.m_lastMonth, 5);
    EXPECT_EQ(t.m_value40, 40);
    EXPECT_EQ(t.m_value41, 41);
    EXPECT_EQ(t.m_value42, 42);
    EXPECT_EQ(t.m_name.str(), "Rifle Platoon");
    EXPECT_EQ(t.m_shortName.str(), "Rifles");
    EXPECT_EQ(t.m_thirdName.str(), "Rfl");
    EXPECT_EQ(t.m_weapon, nullptr);
    for (const MovementCostRecord* row : t.m_movementRows)
        EXPECT_EQ(row, nullptr);
}

TEST(PlatoonTypeRecord, NameSplitsIntoThreeTrimmedParts)
{
    struct Case {
        const char* text;
        const char* name;
        const char* shortName;
        const char* thirdName;
    };
    const Case cases[] = {
        { "Rifle Platoon , Rifles ,  Rfl", "Rifle Platoon", "Rifles", "Rfl" },
        { "Plain Name", "Plain Name", "Plain Name", "Plain Name" },
        { "Field Gun,  Gun", "Field Gun", "Gun", "Gun" },
        { "A,B,C,D", "A", "B", "C,D" },
        { ", Short", "", "Short", "Short" },
    };
    for (const Case& c : cases) {
        const PlatoonType t = Parse(Line("P100", c.text));
        EXPECT_EQ(t.m_name.str(), c.name) << c.text;
        EXPECT_EQ(t.m_shortName.str(), c.shortName) << c.text;
        EXPECT_EQ(t.m_thirdName.str(), c.thirdName) << c.text;
    }
}

TEST(PlatoonTypeRecord, IdIsDecimalWhateverItsLeadingZeros)
{
    struct Case {
        const char* idWord;
        bool ok;
        std::uint32_t id;
    };
    const Case cases[] = {
        { "P01234", true, 1234 },
        { "P0010", true, 10 }, // never octal
        { "P00000", true, 0 }, // all zeros is 0 and leaves the strength alone
        { "P 2301", true, 2301 },
        { "X4294967295", true, 4294967295u },
        { "P4294967296", false, 0 },
        { "Pabc", false, 0 },
        { "P-12", false, 0 },
    };
    for (const Case& c : cases) {
        PlatoonType t;
        EXPECT_EQ(t.ReadRecord(Line(c.idWord)), c.ok) << c.idWord;
        if (c.ok) {
            EXPECT_EQ(t.m_id, c.id) << c.idWord;
            EXPECT_EQ(t.m_fullStrength, 5) << c.idWord;
            EXPECT_EQ(t.m_name.str(), "Name") << c.idWord;
        }
    }
    for (const char* line : { "P", "P rifle 5", "" }) {
        PlatoonType t;
        EXPECT_FALSE(t.ReadRecord(line)) << line;
    }
}

TEST(PlatoonTypeRecord, AFieldThatFailsLeavesItAndLaterFieldsAtDefaults)
{
    // The movement allowance is not a number: it and everything after it keep
    // their defaults, the fields before it are read.
    const PlatoonType t = Parse("P1234 6 3 4 50 25 30 fast 15 2 A 0 0 0 0 0 0 0 pic 9 2 1 0 0 0 41 6 45 5 0 0 0 Name");
    EXPECT_EQ(t.m_unloadApCost, 30);
    EXPECT_EQ(t.m_movementAllowance, 0);
    EXPECT_EQ(t.m_stackRank, 0);
    EXPECT_EQ(t.m_classLetter, '1');
    EXPECT_TRUE(t.m_pictureName.IsEmpty());
    EXPECT_EQ(t.m_firstYear, 48);
    EXPECT_TRUE(t.m_name.IsEmpty());

    // A short line: only the id and strength.
    const PlatoonType shortLine = Parse("P77 4");
    EXPECT_EQ(shortLine.m_id, 77u);
    EXPECT_EQ(shortLine.m_fullStrength, 4);
    EXPECT_EQ(shortLine.m_fireApCost, 100);

    // A flag word that is negative or does not fit 32 bits is not wrapped.
    const PlatoonType badFlags
        = Parse("P1 5 0 0 100 100 100 6 0 0 1 0 0 0 0 0 0 0 pic 10 -1 1 0 0 0 39 1 45 12 0 0 0 N");
    EXPECT_EQ(badFlags.m_unitValue, 10);
    EXPECT_EQ(badFlags.m_moveFlags, 0u);
    EXPECT_EQ(badFlags.m_carryFlags, 0u);
    const PlatoonType hugeFlags
        = Parse("P1 5 0 0 100 100 100 6 0 0 1 0 0 0 0 0 0 0 pic 10 4294967296 1 0 0 0 39 1 45 12 0 0 0 N");
    EXPECT_EQ(hugeFlags.m_moveFlags, 0u);
    EXPECT_EQ(hugeFlags.m_firstYear, 48);
}

TEST(PlatoonTypeRecord, HostileCountsAreClamped)
{
    const PlatoonType t
        = Parse("P1 -5 0 0 -1 99999 -100 2000000000 0 0 1 0 0 0 0 0 0 0 pic -3 2 1 0 0 0 39 1 45 12 0 0 0 N");
    EXPECT_EQ(t.m_fullStrength, 0);
    EXPECT_EQ(t.m_fireApCost, 0);
    EXPECT_EQ(t.m_loadApCost, kMaxPlatoonCount);
    EXPECT_EQ(t.m_unloadApCost, 0);
    EXPECT_EQ(t.m_movementAllowance, kMaxPlatoonCount);
    EXPECT_EQ(t.m_unitValue, 0);
    EXPECT_EQ(t.m_name.str(), "N");

    // A strength beyond 32 bits is a field that does not parse.
    const PlatoonType huge = Parse("P1 99999999999 0 0 100 100 100 6");
    EXPECT_EQ(huge.m_fullStrength, 0);
    EXPECT_EQ(huge.m_movementAllowance, 0);
}

TEST(PlatoonTypeQueries, NationCategoryAndSideFromTheId)
{
    struct Case {
        std::uint32_t id;
        std::int32_t wideId;
        int nation;
        int category;
    };
    const Case cases[] = {
        { 1234, 0, 1, 2 },
        { 12401, 0, 12, 4 },
        { 22301, 0, 22, 3 },
        { 5501, 0, 5, 5 },
        { 101, 0, 0, 1 },
        { 1512345, 0, 12, 3 }, // only two digits of nation are kept
        { 1512345, 1, 15, 3 }, // wide ids keep the nation two places higher
        { 4294967295u, 0, 67, 2 },
    };
    for (const Case& c : cases) {
        PlatoonType t;
        t.m_id = c.id;
        t.m_wideId = c.wideId;
        EXPECT_EQ(t.GetNation(), c.nation) << c.id;
        EXPECT_EQ(t.GetCategory(), c.category) << c.id;
        EXPECT_EQ(t.GetSide(), DefaultSideOfNation(c.nation)) << c.id;
        EXPECT_EQ(t.IsArtillery(), c.category == 3) << c.id;
        EXPECT_EQ(t.IsLeader(), c.category == 4) << c.id;
        EXPECT_EQ(t.IsCategoryFive(), c.category == 5) << c.id;
    }
}

TEST(PlatoonTypeQueries, CapabilitiesFromTheFlagWords)
{
    struct Case {
        std::uint32_t move, carry, extra;
        std::int32_t allowance;
        bool vehicle, foot, carrier, needsPassenger, carriable, carriesPassengers;
    };
    const Case cases[] = {
        // move    carry    extra  allow veh    foot   carr   needs  carri  carries
        { 0x0, 0x0, 0x0, 0, false, false, false, false, false, false },
        { 0x2, 0x1, 0x0, 6, false, true, false, false, true, false }, // infantry
        { 0x1, 0x0, 0x0, 12, true, false, false, false, false, false }, // tracked vehicle
        { 0x1, 0x0, 0x0, 0, false, false, false, false, false, false }, // cannot move: not a vehicle
        { 0x800, 0x0, 0x0, 8, true, true, false, false, false, false }, // double-time without foot bit
        { 0x2000, 0x1000, 0x0, 0, false, true, false, false, true, false }, // heavy gun
        { 0x4, 0x8, 0x0, 10, true, false, true, false, false, true }, // carrier bit 0x8
        { 0x4, 0x20, 0x0, 10, true, false, true, false, false, true }, // tows
        { 0x4, 0x40, 0x0, 10, true, false, true, false, false, true },
        { 0x2, 0x2000, 0x0, 0, false, true, false, true, false, true }, // horses: needs a rider
        { 0x0, 0x10000, 0x0, 4, true, false, false, true, false, true }, // boat
        { 0x4, 0x10, 0x0, 10, true, false, false, false, false, true }, // plain passenger carrier
        { 0x4, 0x0, 0x100, 10, true, false, false, false, false, true }, // extra-flag carrier
        { 0x2, 0x4, 0x0, 6, false, true, false, false, true, false },
        { 0x2, 0x2, 0x0, 6, false, true, false, false, true, false },
    };
    for (const Case& c : cases) {
        PlatoonType t;
        t.m_moveFlags = c.move;
        t.m_carryFlags = c.carry;
        t.m_extraFlags = c.extra;
        t.m_movementAllowance = c.allowance;
        SCOPED_TRACE(::testing::Message() << std::hex << "move " << c.move << " carry " << c.carry << " extra "
                                          << c.extra << std::dec << " allowance " << c.allowance);
        EXPECT_EQ(t.IsVehicle(), c.vehicle);
        EXPECT_EQ(t.IsFootMovement(), c.foot);
        EXPECT_EQ(t.IsCarrier(), c.carrier);
        EXPECT_EQ(t.NeedsPassengerToMove(), c.needsPassenger);
        EXPECT_EQ(t.CanBeCarried(), c.carriable);
        EXPECT_EQ(t.CanCarryPassengers(), c.carriesPassengers);
    }
}

TEST(PlatoonTypeQueries, GovernsStackMovementRanksClassByClass)
{
    auto make = [](std::uint32_t target, std::uint32_t move, std::int32_t allowance, std::int32_t rank) {
        PlatoonType t;
        t.m_targetFlags = target;
        t.m_moveFlags = move;
        t.m_movementAllowance = allowance;
        t.m_stackRank = rank;
        return t;
    };
    const PlatoonType hardLow = make(0x1, 0x2, 0, 1);
    const PlatoonType hardHigh = make(0x1, 0x2, 0, 5);
    const PlatoonType vehicleLow = make(0, 0x1, 10, 1);
    const PlatoonType vehicleHigh = make(0, 0x1, 10, 7);
    const PlatoonType classThree = make(0, 0x12, 4, 3); // foot, so not a vehicle
    const PlatoonType classThreeHigh = make(0, 0x12, 4, 9);
    const PlatoonType slowFoot = make(0, 0x2, 3, 99);
    const PlatoonType fastFoot = make(0, 0x2, 6, 0);

    struct Case {
        const PlatoonType* a;
        const PlatoonType* b;
        bool governs;
    };
    const Case cases[] = {
        { &slowFoot, nullptr, true },
        { nullptr, &slowFoot, false },
        { nullptr, nullptr, true },
        { &hardHigh, &hardLow, true },
        { &hardLow, &hardHigh, false },
        { &hardLow, &hardLow, false }, // equal ranks: false
        { &hardLow, &vehicleHigh, true }, // hard targets before vehicles
        { &vehicleHigh, &hardLow, false },
        { &vehicleHigh, &vehicleLow, true },
        { &vehicleLow, &classThreeHigh, true }, // vehicles before the 0x10 class
        { &classThree, &vehicleLow, false },
        { &classThreeHigh, &classThree, true },
        { &classThree, &slowFoot, true },
        { &slowFoot, &classThree, false },
        { &slowFoot, &fastFoot, true }, // outside the classes the slower one sets the pace
        { &fastFoot, &slowFoot, false },
        { &fastFoot, &fastFoot, false },
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(GovernsStackMovement(cases[i].a, cases[i].b), cases[i].governs) << "case " << i;
}

TEST(PlatoonTypeListTest, PictureIndexIsSharedByEqualPictureNames)
{
    PlatoonTypeList list;
    const char* pictures[] = { "tank", "rifle", "tank", "gun", "rifle", "Tank" };
    const int expected[] = { 0, 1, 0, 2, 1, 3 };
    std::uint32_t id = 1;
    for (const char* picture : pictures) {
        PlatoonType t;
        t.m_id = id++;
        t.m_pictureName = picture;
        list.Append(t);
    }
    int i = 0;
    for (const PlatoonType* t : list)
        EXPECT_EQ(t->m_pictureIndex, expected[i++]) << t->m_pictureName;
}

TEST(PlatoonTypeListTest, FilesGivePictureIndexesAsAppendDoes)
{
    // Types already listed, then two files: a picture name seen before keeps
    // its index (in whichever file it was seen), a new one gets the next.
    PlatoonTypeList list;
    for (const char* picture : { "tank", "gun" }) {
        PlatoonType t;
        t.m_pictureName = picture;
        list.Append(t);
    }
    auto withPicture = [](const std::string& id, const std::string& picture) {
        std::string line = Line(id);
        line.replace(line.find(" pic "), 5, " " + picture + " ");
        return line;
    };
    std::istringstream first(ScrambleSource(withPicture("P1", "rifle") + "\n" + withPicture("P2", "gun") + "\n"
        + withPicture("P3", "rifle") + "\n" + withPicture("P4", "mortar") + "\n"));
    ASSERT_EQ(list.Read(first, "first.obx").str(), "");
    std::istringstream second(ScrambleSource(
        withPicture("P5", "mortar") + "\n" + withPicture("P6", "Tank") + "\n" + withPicture("P7", "tank") + "\n"));
    ASSERT_EQ(list.Read(second, "second.obx").str(), "");

    std::vector<std::int32_t> indexes;
    for (const PlatoonType* t : list)
        indexes.push_back(t->m_pictureIndex);
    EXPECT_EQ(indexes, (std::vector<std::int32_t> { 0, 1, 2, 1, 2, 3, 3, 4, 0 }));
    EXPECT_EQ(list.GetAt(2)->m_pictureName.str(), "rifle");

    // Append after a file read continues the same numbering.
    PlatoonType late;
    late.m_pictureName = "jeep";
    EXPECT_EQ(list.Append(late)->m_pictureIndex, 5);
}

TEST(PlatoonTypeListTest, LookupByIdPositionAndPointer)
{
    PlatoonTypeList list;
    EXPECT_EQ(list.GetAt(-1), nullptr);
    EXPECT_EQ(list.GetAt(0), nullptr);
    for (std::uint32_t id : { 101u, 202u, 101u }) {
        PlatoonType t;
        t.m_id = id;
        list.Append(t);
    }
    ASSERT_EQ(list.Count(), 3);
    PlatoonType* first = list.GetAt(0);
    PlatoonType* last = list.GetAt(2);
    EXPECT_EQ(list.FindById(101), first); // the first of two equal ids
    EXPECT_EQ(list.FindById(202), list.GetAt(1));
    EXPECT_EQ(list.FindById(303), nullptr);
    EXPECT_EQ(list.GetAt(-1), last);
    EXPECT_EQ(list.GetAt(-2), nullptr);
    EXPECT_EQ(list.GetAt(3), nullptr);
    EXPECT_EQ(list.IndexOf(last), 2);
    EXPECT_EQ(list.IndexOf(list.GetAt(1)), 1);
    PlatoonType stranger;
    EXPECT_EQ(list.IndexOf(&stranger), 0);
    // A type knows its own position; a copy of a listed type is no list member.
    EXPECT_EQ(last->m_index, 2);
    EXPECT_TRUE(list.Contains(last));
    const PlatoonType copy = *last;
    EXPECT_FALSE(list.Contains(&copy));
    EXPECT_FALSE(list.Contains(&stranger));
    EXPECT_FALSE(list.Contains(nullptr));

    PlatoonTypeList moved(std::move(list));
    EXPECT_EQ(moved.Count(), 3);
    EXPECT_TRUE(list.IsEmpty());
    moved.Clear();
    EXPECT_TRUE(moved.IsEmpty());
    EXPECT_EQ(moved.FindById(101), nullptr);
}

TEST(PlatoonTypeFiles, ScrambledFixtureLoadsSkippingBlankLines)
{
    TempDir dir;
    std::string source = ReadFixture("platoons/platoon05.txt");
    // More white-space-only lines, a tab among them, and no final line feed.
    source.insert(source.find("P02301"), "\t\n \t \n");
    ASSERT_EQ(source.back(), '\n');
    source.pop_back();
    dir.Write("platoon05.obx", ScrambleSource(source));

    PlatoonTypeList list;
    int opened = 0;
    EXPECT_EQ(list.LoadAll(dir.Path(), "platoon.obx", "platoon%02d.obx", &opened).str(), "");
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(Ids(list), (std::vector<std::uint32_t> { 1234, 1401, 2301, 3510 }));
    const PlatoonType* halftrack = list.FindById(3510);
    ASSERT_NE(halftrack, nullptr);
    EXPECT_EQ(halftrack->m_name.str(), "Halftrack");
    EXPECT_EQ(halftrack->m_thirdName.str(), "M3"); // the last line without a line feed is kept
    EXPECT_EQ(halftrack->m_pictureIndex, list.FindById(1234)->m_pictureIndex);
    EXPECT_TRUE(halftrack->IsCarrier());
    EXPECT_TRUE(list.FindById(1401)->IsLeader());
    EXPECT_TRUE(list.FindById(2301)->IsArtillery());
}

TEST(PlatoonTypeFiles, WhichFilesAreRead)
{
    const std::string numbered = ScrambleSource(ReadFixture("platoons/platoon05.txt"));
    const std::string fallback = ScrambleSource(ReadFixture("platoons/platoon.txt"));
    struct Case {
        std::vector<std::pair<const char*, const std::string*>> files;
        std::vector<std::uint32_t> ids;
        int opened;
    };
    const Case cases[] = {
        // A numbered file present: the default file is not read.
        { { { "platoon05.obx", &numbered }, { "platoon.obx", &fallback } }, { 1234, 1401, 2301, 3510 }, 1 },
        // Only the default file.
        { { { "platoon.obx", &fallback } }, { 101, 301 }, 1 },
        // Numbered files in number order, the first and the last number; a
        // stored name in other case is found.
        { { { "PLATOON28.OBX", &fallback }, { "platoon00.obx", &numbered } }, { 1234, 1401, 2301, 3510, 101, 301 }, 2 },
        // Past the last number: not a platoon file, so the default is read.
        { { { "platoon29.obx", &numbered }, { "platoon.obx", &fallback } }, { 101, 301 }, 1 },
        // No file at all is no error.
        { {}, {}, 0 },
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        TempDir dir;
        for (const auto& [name, text] : cases[i].files)
            dir.Write(name, *text);
        PlatoonTypeList list;
        int opened = -1;
        EXPECT_EQ(
            list.LoadAll(dir.Path(), PlatoonTypeList::kDefaultFileName, PlatoonTypeList::kFilePattern, &opened).str(),
            "")
            << "case " << i;
        EXPECT_EQ(Ids(list), cases[i].ids) << "case " << i;
        EXPECT_EQ(opened, cases[i].opened) << "case " << i;
    }
}

TEST(PlatoonTypeFiles, ABadLineStopsLoadingWithItsLineNumber)
{
    TempDir dir;
    dir.Write("platoon03.obx", ScrambleSource(Line("P301") + "\n\n" + Line("P302") + "\nP\n" + Line("P303") + "\n"));
    dir.Write("platoon04.obx", ScrambleSource(Line("P401") + "\n"));
    PlatoonTypeList list;
    EXPECT_EQ(list.LoadAll(dir.Path()).str(), "File platoon03.obx: line 4: error reading data");
    EXPECT_EQ(Ids(list), (std::vector<std::uint32_t> { 301, 302 })); // types before the failure stay
}

TEST(PlatoonTypeFiles, StreamFailuresAreReported)
{
    struct Case {
        std::string text;
        std::vector<std::uint32_t> ids;
        const char* error;
    };
    const Case cases[] = {
        { ScrambleSource(Line("P1") + "\n" + Line("P2", std::string(2000, 'x')) + "\n" + Line("P3") + "\n"), { 1 },
            "File test.obx: line 2: error reading data" },
        { ScrambleSource(Line("P1") + "\n" + Line("P2", std::string(2000, 'x'))), { 1 },
            "File test.obx: line 2: error reading data" },
        { ScrambleSource("garbage line\n"), {}, "File test.obx: line 1: error reading data" },
        { "", {}, "" },
        { "\n\n   \n", {}, "" },
        { ScrambleSource(Line("P1") + "\r\n" + Line("P2") + "\r\n"), { 1, 2 }, "" },
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::istringstream in(cases[i].text);
        PlatoonTypeList list;
        EXPECT_EQ(list.Read(in, "test.obx").str(), cases[i].error) << "case " << i;
        EXPECT_EQ(Ids(list), cases[i].ids) << "case " << i;
    }
    // A CR-LF line keeps no carriage return in its name.
    std::istringstream in(ScrambleSource(Line("P1", "Tank, Tk") + "\r\n"));
    PlatoonTypeList list;
    EXPECT_EQ(list.Read(in, "crlf.obx").str(), "");
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.GetAt(0)->m_shortName.str(), "Tk");
}

TEST(PlatoonTypeFiles, FileNamePattern)
{
    EXPECT_EQ(FormatPlatoonFileName("platoon%02d.obx", 0), "platoon00.obx");
    EXPECT_EQ(FormatPlatoonFileName("platoon%02d.obx", 7), "platoon07.obx");
    EXPECT_EQ(FormatPlatoonFileName("platoon%02d.obx", 28), "platoon28.obx");
    EXPECT_EQ(FormatPlatoonFileName("p%d.obx", 3), "p03.obx");
    EXPECT_EQ(FormatPlatoonFileName("%s%n.obx", 3), "%s%n.obx"); // nothing but the number is substituted
}
