#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/DataFile.h"
#include "model/Scramble.h"
#include "tests/TempDir.h"
#include "tests/TestFiles.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

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

TEST(DataFileTest, OfSeveralCaseVariantsTheFirstInNameOrderOpensWhateverTheirCreationOrder)
{
    // No variant is spelled as asked; byte order puts capitals first.
    const std::vector<std::string> variants = { "main.MAP", "Main.map", "MAIN.MAP", "mAIN.map" };
    std::vector<std::size_t> order = { 0, 1, 2, 3 };
    do {
        TempDir dir;
        fs::create_directories(dir.Path("maps"));
        for (const std::size_t i : order)
            dir.Write("maps/" + variants[i], variants[i] + "\n");
        ScopedCurrentDir inDir(dir.Path());
        for (const char* name : { "maps/main.map", "maps\\Main.Map", "maps/MAIN.map" }) {
            SCOPED_TRACE(name);
            for (int again = 0; again < 3; ++again) {
                const auto path = LocateDataFile(name);
                ASSERT_TRUE(path.has_value());
                EXPECT_EQ(path->filename().string(), "MAIN.MAP");
                std::ifstream in = OpenDataFile(name);
                std::string line;
                ASSERT_TRUE(ReadDataLine(in, line));
                EXPECT_EQ(line, "MAIN.MAP");
            }
        }
        // Asked exactly, a variant opens itself.
        EXPECT_EQ(LocateDataFile("maps/mAIN.map")->filename().string(), "mAIN.map");
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST(DataFileTest, ModificationTimesKeepTheFileSystemsResolution)
{
    using namespace std::chrono_literals;
    TempDir dir;
    dir.Write("weapon.pdx", "1\n");
    const fs::path path = dir.Path("weapon.pdx");
    const auto second = std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now()) - 100s;
    fs::last_write_time(path, second);
    auto before = DataFileTime(dir.Path("WEAPON.pdx").string());
    ASSERT_TRUE(before.has_value());
    EXPECT_EQ(*before, second);
    fs::last_write_time(path, second + 250ms);
    auto after = DataFileTime(path.string());
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(*after - *before, 250ms) << "a rewrite within the same second is another time";
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

namespace {

std::string ReadWhole(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> FolderEntries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(WriteFileAtomically, AFailedSaveLeavesTheOldFileAndNoTemporaryFile)
{
    // Larger than the write buffer, so that part of it has reached the
    // temporary file when the writer gives up.
    const std::string half(100000, 'h');
    struct Case {
        const char* name;
        const char* target;
        std::function<bool(std::ostream&)> writer;
    };
    const Case cases[] = {
        { "the writer fails midway", "battle.sav",
            [&](std::ostream& out) {
                out << half;
                return false;
            } },
        { "the writer throws midway", "battle.sav",
            [&](std::ostream& out) -> bool {
                out << half;
                throw std::runtime_error("out of units");
            } },
        { "the writer leaves the stream failed", "battle.sav",
            [&](std::ostream& out) {
                out << half;
                out.setstate(std::ios::badbit);
                return true;
            } },
        { "the target is a folder", "folder",
            [&](std::ostream& out) {
                out << half;
                return true;
            } },
        { "the folder does not exist", "missing/battle.sav",
            [&](std::ostream& out) {
                out << half;
                return true;
            } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string old = "old battle\r\n\0kept"s;
        dir.Write("battle.sav", old);
        fs::create_directories(dir.Path("folder"));
        dir.Write("folder/inside.txt", "inside");
        const std::vector<std::string> before = FolderEntries(dir.Path());

        const std::string error = WriteFileAtomically(dir.Path(c.target), c.writer);
        EXPECT_NE(error, "");
        EXPECT_NE(error.find(dir.Path(c.target).string()), std::string::npos) << error;
        EXPECT_EQ(ReadWhole(dir.Path("battle.sav")), old);
        EXPECT_EQ(FolderEntries(dir.Path()), before);
        EXPECT_EQ(FolderEntries(dir.Path("folder")), std::vector<std::string> { "inside.txt" });
    }
}

TEST(WriteFileAtomically, ASaveReplacesTheFileAndKeepsItsPermissions)
{
    TempDir dir;
    dir.Write("battle.sav", "a much longer old battle that the new one must not leave a tail of");
    fs::permissions(dir.Path("battle.sav"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::string big(200000, 'b');
    EXPECT_EQ(WriteFileAtomically(dir.Path("battle.sav"),
                  [&](std::ostream& out) {
                      out << "new\n" << big;
                      return true;
                  }),
        "");
    EXPECT_EQ(ReadWhole(dir.Path("battle.sav")), "new\n" + big);
    EXPECT_EQ(fs::status(dir.Path("battle.sav")).permissions() & fs::perms::all,
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // A new file, named relative to the current folder.
    ScopedCurrentDir inDir(dir.Path());
    EXPECT_EQ(WriteFileAtomically("fresh.sav",
                  [](std::ostream& out) {
                      out << "fresh";
                      return true;
                  }),
        "");
    EXPECT_EQ(ReadWhole(dir.Path("fresh.sav")), "fresh");
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string> { "battle.sav", "fresh.sav" }));
}

TEST(WriteFileAtomicallyWithBackup, TheReplacedFileBecomesTheBackup)
{
    struct Case {
        const char* name;
        bool oldFile;
        bool oldBackup;
        bool backupIsTheFile; // both names of one file already
        std::vector<std::string> entries;
    };
    const Case cases[] = {
        { "a first save", false, false, false, { "battle.sav" } },
        { "no backup yet", true, false, false, { "battle.bak", "battle.sav" } },
        { "a backup replaced", true, true, false, { "battle.bak", "battle.sav" } },
        { "the backup a second name of the file", true, false, true, { "battle.bak", "battle.sav" } },
    };
    const std::string big(200000, 'n');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        if (c.oldFile)
            dir.Write("battle.sav", "old battle");
        if (c.oldBackup)
            dir.Write("battle.bak", "older battle");
        if (c.backupIsTheFile)
            fs::create_hard_link(dir.Path("battle.sav"), dir.Path("battle.bak"));
        EXPECT_EQ(WriteFileAtomicallyWithBackup(dir.Path("battle.sav"), dir.Path("battle.bak"),
                      [&](std::ostream& out) {
                          out << big;
                          return true;
                      }),
            "");
        EXPECT_EQ(ReadWhole(dir.Path("battle.sav")), big);
        if (c.oldFile) {
            EXPECT_EQ(ReadWhole(dir.Path("battle.bak")), "old battle");
        }
        EXPECT_EQ(FolderEntries(dir.Path()), c.entries) << "no temporary name is left";
    }
}

TEST(WriteFileAtomicallyWithBackup, AFailedSaveLeavesTheFileAndItsBackup)
{
    struct Case {
        const char* name;
        const char* target;
        const char* backup;
        bool writes;
    };
    const Case cases[] = {
        { "the writer fails", "battle.sav", "battle.bak", false },
        { "the backup is a folder", "battle.sav", "folder", true },
        { "the target is a folder", "folder", "battle.bak", true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        dir.Write("battle.sav", "old battle");
        dir.Write("battle.bak", "older battle");
        fs::create_directories(dir.Path("folder"));
        dir.Write("folder/inside.txt", "inside");
        const std::vector<std::string> before = FolderEntries(dir.Path());

        const std::string error
            = WriteFileAtomicallyWithBackup(dir.Path(c.target), dir.Path(c.backup), [&](std::ostream& out) {
                  out << "new battle";
                  return c.writes;
              });
        EXPECT_NE(error, "");
        EXPECT_EQ(ReadWhole(dir.Path("battle.sav")), "old battle");
        EXPECT_EQ(ReadWhole(dir.Path("battle.bak")), "older battle");
        EXPECT_EQ(FolderEntries(dir.Path()), before);
        EXPECT_EQ(FolderEntries(dir.Path("folder")), std::vector<std::string> { "inside.txt" });
    }
}
