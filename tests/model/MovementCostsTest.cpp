#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "model/GameMovementCosts.h"
#include "model/PlatoonType.h"
#include "model/Scramble.h"
#include "tests/ReloadableLayer.h"
#include "tests/TestFiles.h"

namespace fs = std::filesystem;

namespace {

// Entry e of row r of array a is (a * 12 + r) * 100 + e, plus the offset.
int Expected(int array, int row, int entry, int offset = 0) { return (array * 12 + row) * 100 + entry + offset; }

std::string RowLine(int array, int row, int offset = 0)
{
    std::string line;
    for (int e = 0; e < MovementCostRecord::kEntryCount; ++e)
        line += std::to_string(Expected(array, row, e, offset)) + (e + 1 < MovementCostRecord::kEntryCount ? " " : "");
    return line;
}

// All 48 rows, with blank and white-space lines between some of them and no
// line feed after the last.
std::string MovementText(int offset = 0)
{
    std::string text;
    for (int a = 0; a < 4; ++a) {
        for (int r = 0; r < 12; ++r) {
            if (r == 3)
                text += "\n   \t\n";
            text += RowLine(a, r, offset);
            if (a < 3 || r < 11)
                text += '\n';
        }
    }
    return text;
}

PlatoonType MakeType(std::uint32_t moveFlags, int allowance)
{
    PlatoonType type;
    type.m_moveFlags = moveFlags;
    type.m_movementAllowance = allowance;
    return type;
}

} // namespace

TEST(MovementCostsTest, ConstructorReadsEveryRowAndBuildsTheClock)
{
    TempDir dir;
    dir.Write("movement.pdx", ScrambleText(MovementText()));
    ScopedCurrentDir inDir(dir.Path());

    CGameMovementCosts costs;
    EXPECT_TRUE(costs.m_movementFileTime.IsWatched());
    EXPECT_EQ(costs.m_map.GetCounter(), 0);
    EXPECT_EQ(costs.m_map.GetTimeLimit(), 60);
    for (int a = 0; a < 4; ++a)
        for (int r = 0; r < 12; ++r)
            for (int e = 0; e < MovementCostRecord::kEntryCount; ++e)
                ASSERT_EQ(costs.m_movementCosts[a][r].m_entries[e], Expected(a, r, e)) << a << " " << r << " " << e;
}

TEST(MovementCostsTest, MissingFileLeavesZeroRows)
{
    TempDir dir;
    ScopedCurrentDir inDir(dir.Path());
    ReloadableLayer<CGameMovementCosts> costs;
    EXPECT_FALSE(costs.m_movementFileTime.IsWatched());
    EXPECT_EQ(costs.Reload(), nullptr);
    EXPECT_EQ(costs.m_movementCosts[3][11].m_entries[51], 0);
    EXPECT_FALSE(costs.CheckFilesChanged());
}

TEST(MovementCostsTest, RowChoiceByMovementFlags)
{
    struct Case {
        std::uint32_t flags;
        int row; // arrays 0..2
        int snowRow; // array 3
    };
    const Case cases[] = {
        { 0x100 | 0x1, 5, 8 }, // the amphibious bit is tested first
        { 0x1, 0, 0 },
        { 0x4, 1, 1 },
        { 0x8, 2, 2 },
        { 0x10, 3, 3 },
        { 0x2000, 4, 4 },
        { 0x2, 5, 5 },
        { 0x200, 6, 6 },
        { 0x400, 7, 7 },
        { 0x800, 9, 9 },
        { 0x1000, 10, 10 },
        { 0x1 | 0x2, 0, 0 },
        { 0x4 | 0x2000, 1, 1 },
        { 0x80, -1, -1 },
        { 0, -1, -1 },
    };
    TempDir dir;
    ScopedCurrentDir inDir(dir.Path());
    CGameMovementCosts costs;
    for (const Case& c : cases) {
        PlatoonType type = MakeType(c.flags, 10);
        for (int a = 0; a < 4; ++a)
            EXPECT_EQ(CGameMovementCosts::GetRowIndex(&type, a), a == 3 ? c.snowRow : c.row) << c.flags << " " << a;
        costs.BindMovementRows(type);
        for (int a = 0; a < 4; ++a) {
            const int row = a == 3 ? c.snowRow : c.row;
            const MovementCostRecord* expected = row < 0 ? nullptr : &costs.m_movementCosts[a][row];
            EXPECT_EQ(CGameMovementCosts::GetRow(&type, a), expected) << c.flags << " " << a;
        }
        EXPECT_EQ(CGameMovementCosts::GetRow(&type, 4), nullptr);
        EXPECT_EQ(CGameMovementCosts::GetRow(&type, -1), nullptr);
    }
    EXPECT_EQ(CGameMovementCosts::GetRowIndex(nullptr, 0), -1);
}

TEST(MovementCostsTest, CostConversionsWorkedNumbers)
{
    TempDir dir;
    ScopedCurrentDir inDir(dir.Path());
    CGameMovementCosts costs;
    PlatoonType type = MakeType(0x1, 20);
    costs.BindMovementRows(type);
    auto& row = costs.m_movementCosts[1][0].m_entries;

    struct Case {
        int entryValue;
        int allowance;
        int minutes;
        int metres;
        int points;
    };
    const Case cases[] = {
        { 100, 20, 10, 250, 8 }, // 0.25 * 100 / (20 * 10 / 60) = 7.5, rounded up
        { 200, 20, 10, 250, 15 }, // exactly 15 stays 15
        { 50, 20, 10, 250, 4 }, // 3.75
        { 100, 10, 6, 100, 10 }, // exactly 10
        { 300, 10, 6, 100, 31 }, // the formula as evaluated gives 30.000000000000004
        { 33, 7, 10, 250, 8 }, // 7.07
        { 0, 20, 10, 250, 0 }, // no cost
        { 100, 0, 10, 250, 0 }, // cannot move by itself
        { 100, 20, 0, 250, 0 }, // a turn without minutes
    };
    for (const Case& c : cases) {
        row[5] = c.entryValue;
        type.m_movementAllowance = c.allowance;
        EXPECT_EQ(CGameMovementCosts::ConvertCost(&type, 1, 5, c.minutes, c.metres), c.points)
            << c.entryValue << " " << c.allowance << " " << c.minutes << " " << c.metres;
        EXPECT_EQ(CGameMovementCosts::GetTerrainCost(&type, 1, 5, c.minutes, c.metres), c.points);
    }

    // Each kind of cost reads its own entry of the row.
    type.m_movementAllowance = 20;
    row.fill(0);
    row[2] = 100; // terrain 2
    row[28] = 200; // first surcharge
    row[29] = 50; // second surcharge
    row[30 + 3] = 100;
    row[30 + 20] = 200;
    row[51] = 50; // climb
    EXPECT_EQ(CGameMovementCosts::GetTerrainCost(&type, 1, 2, 10, 250), 8);
    EXPECT_EQ(CGameMovementCosts::GetFirstExtraCost(&type, 1, 10, 250), 15);
    EXPECT_EQ(CGameMovementCosts::GetSecondExtraCost(&type, 1, 10, 250), 4);
    EXPECT_EQ(CGameMovementCosts::GetHexsideFeatureCost(&type, 1, 3, 10, 250), 8);
    EXPECT_EQ(CGameMovementCosts::GetHexsideFeatureCost(&type, 1, 20, 10, 250), 15);
    EXPECT_EQ(CGameMovementCosts::GetClimbCost(&type, 1, 10, 250), 4);
    // Numbers outside their tables never read a neighbouring entry.
    EXPECT_EQ(CGameMovementCosts::GetHexsideFeatureCost(&type, 1, 21, 10, 250), 0);
    EXPECT_EQ(CGameMovementCosts::GetHexsideFeatureCost(&type, 1, -1, 10, 250), 0);
    EXPECT_EQ(CGameMovementCosts::GetTerrainCost(&type, 1, 28, 10, 250), 0);
    EXPECT_EQ(CGameMovementCosts::GetTerrainCost(&type, 1, -1, 10, 250), 0);
    EXPECT_EQ(CGameMovementCosts::ConvertCost(&type, 1, 52, 10, 250), 0);
    EXPECT_EQ(CGameMovementCosts::ConvertCost(&type, 4, 2, 10, 250), 0);
    // The same type in another array reads that array's row.
    EXPECT_EQ(CGameMovementCosts::GetTerrainCost(&type, 0, 2, 10, 250), 0);
}

TEST(MovementCostsTest, WaterEntryFlagCostsOneHundred)
{
    TempDir dir;
    ScopedCurrentDir inDir(dir.Path());
    CGameMovementCosts costs;
    PlatoonType wader = MakeType(0x80 | 0x4, 20);
    PlatoonType rowless = MakeType(0x80, 20);
    PlatoonType plain = MakeType(0x4, 20);
    costs.BindMovementRows(wader);
    costs.BindMovementRows(rowless);
    costs.BindMovementRows(plain);
    costs.m_movementCosts[0][1].m_entries[1] = 0;
    costs.m_movementCosts[0][1].m_entries[3] = 400;
    costs.m_movementCosts[0][1].m_entries[2] = 100;
    for (int terrain : { 1, 3, 15 }) {
        EXPECT_EQ(CGameMovementCosts::GetTerrainCost(&wader, 0, terrain, 10, 250), 100) << terrain;
        EXPECT_EQ(CGameMovementCosts::GetTerrainCost(&rowless, 0, terrain, 10, 250), 100) << terrain;
    }
    EXPECT_EQ(CGameMovementCosts::GetTerrainCost(&wader, 0, 2, 10, 250), 8);
    EXPECT_EQ(CGameMovementCosts::GetTerrainCost(&plain, 0, 3, 10, 250), 30);
    EXPECT_EQ(CGameMovementCosts::GetTerrainCost(&plain, 0, 1, 10, 250), 0);
}

TEST(MovementCostsTest, MoveRangeEstimate)
{
    struct Case {
        std::uint32_t flags;
        int allowance;
        int points;
        int minutes;
        int metres;
        int tenths;
    };
    const Case cases[] = {
        { 0x2, 20, 100, 10, 250, 142 }, // per hex trunc(7.5) = 7
        { 0x1, 20, 100, 10, 250, 47 }, // a vehicle pays three times: 21
        { 0x2, 6, 37, 10, 250, 14 }, // per hex 25
        { 0x2, 1000, 100, 10, 10, 1000 }, // per hex below 1 counts as 1
        { 0x2, 0, 100, 10, 250, 0 }, // cannot move
        { 0x2, 20, 100, 0, 250, 0 }, // no minutes in a turn
        { 0x2, 20, 0, 10, 250, 0 },
    };
    for (const Case& c : cases) {
        const PlatoonType type = MakeType(c.flags, c.allowance);
        EXPECT_EQ(CGameMovementCosts::EstimateMoveRange(&type, c.points, c.minutes, c.metres), c.tenths)
            << c.flags << " " << c.allowance << " " << c.points;
    }
    EXPECT_EQ(CGameMovementCosts::EstimateMoveRange(nullptr, 100, 10, 250), 0);
}

TEST(MovementCostsTest, ThemedFileOfTheMapRegion)
{
    TempDir dir;
    dir.Write("movement.pdx", ScrambleText(MovementText()));
    dir.Write("NWE-movement.pdx", ScrambleText(MovementText(7)));
    ScopedCurrentDir inDir(dir.Path());
    ReloadableLayer<CGameMovementCosts> costs;
    EXPECT_EQ(costs.LocateMovementFile().str(), "movement.pdx");
    EXPECT_EQ(costs.m_movementCosts[2][4].m_entries[9], Expected(2, 4, 9));

    struct Case {
        int region;
        const char* file;
    };
    const Case cases[] = { { 0, "NWE-movement.pdx" }, { 1, "movement.pdx" }, { -1, "movement.pdx" } };
    for (const Case& c : cases) {
        costs.m_map.SetRegion(c.region);
        EXPECT_EQ(costs.LocateMovementFile().str(), c.file) << c.region;
    }

    // A battle in the theme reads the themed rows.
    costs.m_map.SetRegion(0);
    EXPECT_EQ(costs.Reload(), nullptr);
    EXPECT_EQ(costs.m_movementCosts[2][4].m_entries[9], Expected(2, 4, 9, 7));
    costs.m_map.SetRegion(-1);
    EXPECT_EQ(costs.Reload(), nullptr);
    EXPECT_EQ(costs.m_movementCosts[2][4].m_entries[9], Expected(2, 4, 9));
}

TEST(MovementCostsTest, FileAppearingLaterIsReadOnReload)
{
    TempDir dir;
    ScopedCurrentDir inDir(dir.Path());
    ReloadableLayer<CGameMovementCosts> costs;
    dir.Write("movement.pdx", ScrambleText(MovementText()));
    // A file never read has no time to compare with.
    EXPECT_FALSE(costs.CheckFilesChanged());
    EXPECT_EQ(costs.Reload(), nullptr);
    EXPECT_EQ(costs.m_movementCosts[1][1].m_entries[1], Expected(1, 1, 1));
}

TEST(MovementCostsTest, ShortAndDamagedFiles)
{
    TempDir dir;
    const fs::path file = dir.Write("movement.pdx", ScrambleText(MovementText()));
    SetFileTime(file, 300);
    ScopedCurrentDir inDir(dir.Path());
    ReloadableLayer<CGameMovementCosts> costs;

    // Two rows, the second with three entries: the rest keep their values.
    dir.Write("movement.pdx", ScrambleText(RowLine(0, 0, 5) + "\n1 2 3\n"));
    SetFileTime(file, 200);
    EXPECT_EQ(costs.Reload(), nullptr);
    EXPECT_EQ(costs.m_movementCosts[0][0].m_entries[51], Expected(0, 0, 51, 5));
    EXPECT_EQ(costs.m_movementCosts[0][1].m_entries[2], 3);
    EXPECT_EQ(costs.m_movementCosts[0][1].m_entries[3], Expected(0, 1, 3));
    EXPECT_EQ(costs.m_movementCosts[0][2].m_entries[0], Expected(0, 2, 0));

    // Hostile values: a number out of range or a word ends the line, more
    // than 52 numbers are ignored; nothing beyond the row is touched.
    std::string longRow;
    for (int e = 0; e < 80; ++e)
        longRow += "-9 ";
    dir.Write("movement.pdx", ScrambleText("11 99999999999 12\n22 x 23\n" + longRow + "\n"));
    SetFileTime(file, 100);
    EXPECT_EQ(costs.Reload(), nullptr);
    EXPECT_EQ(costs.m_movementCosts[0][0].m_entries[0], 11);
    EXPECT_EQ(costs.m_movementCosts[0][0].m_entries[1], Expected(0, 0, 1, 5));
    EXPECT_EQ(costs.m_movementCosts[0][0].m_entries[2], Expected(0, 0, 2, 5));
    EXPECT_EQ(costs.m_movementCosts[0][1].m_entries[0], 22);
    EXPECT_EQ(costs.m_movementCosts[0][1].m_entries[1], 2);
    EXPECT_EQ(costs.m_movementCosts[0][2].m_entries[51], -9);
    EXPECT_EQ(costs.m_movementCosts[0][3].m_entries[0], Expected(0, 3, 0));

    // A line too long to read: the file changes nothing.
    dir.Write("movement.pdx", ScrambleText(RowLine(0, 0, 9) + "\n" + std::string(1500, '4') + "\n"));
    SetFileTime(file, 50);
    EXPECT_EQ(costs.Reload(), nullptr);
    EXPECT_EQ(costs.m_movementCosts[0][0].m_entries[0], 11);
}

TEST(MovementCostsTest, KeptPointsEqualTheGettersForEveryEntry)
{
    TempDir dir;
    dir.Write("movement.pdx", ScrambleText(MovementText()));
    ScopedCurrentDir inDir(dir.Path());
    CGameMovementCosts costs;
    // Zero, negative and awkward percentages besides the file's.
    for (auto& array : costs.m_movementCosts) {
        array[0].m_entries[3] = 0;
        array[0].m_entries[29] = -150;
        array[5].m_entries[40] = 0;
        array[5].m_entries[1] = 300;
        array[8].m_entries[51] = 33;
    }
    PlatoonType types[] = {
        MakeType(0x1, 20),
        MakeType(0x80 | 0x1, 7), // water entry
        MakeType(0x80, 20), // no row
        MakeType(0x100, 13), // amphibious: its own row under snow
        MakeType(0x1, 0), // cannot move by itself
        MakeType(0x1000, 2'000'000'000),
    };
    for (PlatoonType& type : types)
        costs.BindMovementRows(type);

    MovementPointRow kept;
    for (const PlatoonType& type : types)
        for (int array = 0; array < 4; ++array)
            for (int minutes : { 0, 1, 6, 10, 60 })
                for (int metres : { 0, 100, 250, 333, 2'000'000'000 }) {
                    kept.Reset(&type, array, minutes, metres);
                    ASSERT_TRUE(kept.IsFor(&type, array, minutes, metres));
                    // Twice: worked out, then kept.
                    for (int pass = 0; pass < 2; ++pass) {
                        const std::string where = std::to_string(type.m_moveFlags) + " array " + std::to_string(array)
                            + " " + std::to_string(minutes) + " min " + std::to_string(metres) + " m pass "
                            + std::to_string(pass);
                        for (int terrain = -1; terrain <= MovementCostRecord::kTerrainEntries; ++terrain)
                            ASSERT_EQ(kept.Terrain(terrain),
                                CGameMovementCosts::GetTerrainCost(&type, array, terrain, minutes, metres))
                                << where << " terrain " << terrain;
                        for (int layer = -1; layer <= MovementCostRecord::kHexsideEntries; ++layer)
                            ASSERT_EQ(kept.HexsideFeature(layer),
                                CGameMovementCosts::GetHexsideFeatureCost(&type, array, layer, minutes, metres))
                                << where << " layer " << layer;
                        ASSERT_EQ(
                            kept.FirstExtra(), CGameMovementCosts::GetFirstExtraCost(&type, array, minutes, metres))
                            << where;
                        ASSERT_EQ(
                            kept.SecondExtra(), CGameMovementCosts::GetSecondExtraCost(&type, array, minutes, metres))
                            << where;
                        ASSERT_EQ(kept.Climb(), CGameMovementCosts::GetClimbCost(&type, array, minutes, metres))
                            << where;
                    }
                }
}

TEST(MovementCostsTest, KeptPointsAreForgottenOnlyByReset)
{
    TempDir dir;
    ScopedCurrentDir inDir(dir.Path());
    CGameMovementCosts costs;
    PlatoonType type = MakeType(0x1, 20);
    costs.BindMovementRows(type);
    auto& row = costs.m_movementCosts[1][0].m_entries;
    row[2] = 100;
    MovementPointRow kept;
    kept.Reset(&type, 1, 10, 250);
    EXPECT_EQ(kept.Terrain(2), 8);
    EXPECT_FALSE(kept.IsFor(&type, 0, 10, 250));
    EXPECT_FALSE(kept.IsFor(&type, 1, 11, 250));
    EXPECT_FALSE(kept.IsFor(&type, 1, 10, 251));
    EXPECT_FALSE(kept.IsFor(nullptr, 1, 10, 250));
    // A changed row is seen only after the points are started afresh.
    row[2] = 200;
    EXPECT_EQ(kept.Terrain(2), 8);
    kept.Reset(&type, 1, 10, 250);
    EXPECT_EQ(kept.Terrain(2), 15);
}
