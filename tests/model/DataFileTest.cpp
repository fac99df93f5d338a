#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "model/DataFile.h"
#include "model/Scramble.h"
#include "tests/TempDir.h"

namespace fs = std::filesystem;

TEST(DataFileTest, StoredNamesUseSlashes)
{
    EXPECT_EQ(NormalizeStoredName("maps\\Town.MAP"), "maps/Town.MAP");
    EXPECT_EQ(NormalizeStoredName("plain.map"), "plain.map");
}

TEST(DataFileTest, OpensByExactNameElseByCaseInsensitiveMatch)
{
    TempDir dir;
    dir.Write("NWE-movement.pdx", "themed\n");
    dir.Write("main.MAP", "map\n");
    dir.Write("Exact.org", "exact\n");
    dir.Write("exact.org", "lower\n");
    fs::create_directories(dir.Path("Sub"));
    dir.Write("Sub/Platoon10.obx", "ten\n");

    struct Case {
        std::string name;
        std::string firstLine;
    };
    const Case cases[] = {
        { "nwe-MOVEMENT.pdx", "themed" },
        { "main.map", "map" },
        { "exact.org", "lower" },
        { "Exact.org", "exact" },
        { "EXACT.ORG", "exact" }, // two matches: the first in name order
        { "sub\\platoon10.OBX", "" }, // folders are matched exactly
        { "Sub\\platoon10.OBX", "ten" },
    };
    for (const Case& c : cases) {
        std::ifstream in = OpenDataFile(dir.Path(c.name).string());
        std::string line;
        if (c.firstLine.empty()) {
            EXPECT_FALSE(in.is_open()) << c.name;
            continue;
        }
        ASSERT_TRUE(in.is_open()) << c.name;
        ASSERT_TRUE(ReadDataLine(in, line));
        EXPECT_EQ(line, c.firstLine) << c.name;
    }
    EXPECT_FALSE(OpenDataFile(dir.Path("missing.pdx").string()).is_open());
    EXPECT_FALSE(OpenDataFile("").is_open());
}

TEST(DataFileTest, ModificationTimesAreSeconds)
{
    TempDir dir;
    dir.Write("weapon.pdx", "1\n");
    const fs::path path = dir.Path("weapon.pdx");
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(24 * 365 * 30));
    auto before = DataFileTime(dir.Path("WEAPON.pdx").string());
    ASSERT_TRUE(before.has_value());
    fs::last_write_time(path, fs::file_time_type::clock::now());
    auto after = DataFileTime(path.string());
    ASSERT_TRUE(after.has_value());
    EXPECT_GT(*after - *before, 24LL * 365 * 29 * 3600);
    EXPECT_FALSE(DataFileTime(dir.Path("gone.pdx").string()).has_value());
}

TEST(DataFileTest, ScrambledLinesReadBackWithCrlf)
{
    std::istringstream in(ScrambleLine("10 Rifle Platoon") + "\r\n" + ScrambleLine("-1") + "\n");
    std::string line;
    ASSERT_TRUE(ReadScrambledLine(in, line));
    EXPECT_EQ(line, "10 Rifle Platoon");
    ASSERT_TRUE(ReadScrambledLine(in, line));
    EXPECT_EQ(line, "-1");
    EXPECT_FALSE(ReadScrambledLine(in, line));
}
