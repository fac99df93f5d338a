// The demo campaign's places make maps: every place line of "location.dat"
// names a line of "Map Description.dat" that loads a map description, and
// every date line a place-name list that gives names.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "TestFiles.h"
#include "launcher/generator/RandomMap.h"
#include "model/TextScan.h"

TEST(CampaignPlacesDataTest, EveryPlaceNamesADescriptionAndEveryDateLineANameList)
{
    const std::vector<std::string> lines = ReadFileLines(DemoDataFolder() / "location.dat");
    ASSERT_FALSE(lines.empty());
    LauncherRandom random;
    RandomMap map(random);
    map.SetDataFolder(DemoDataFolder());
    std::set<std::int32_t> descriptions;
    std::set<std::int32_t> nameFiles;
    for (const std::string& line : lines) {
        std::string_view rest = line;
        if (line.empty() || line.rfind("-1", 0) == 0)
            continue;
        std::int32_t values[3] = {};
        if (IsDigitChar(line.front())) {
            ASSERT_TRUE(TakeInt(rest, values[0]) && TakeInt(rest, values[1]) && TakeInt(rest, values[2])) << line;
            nameFiles.insert(values[2]);
            continue;
        }
        rest = TrimLeft(rest.substr(FirstWord(rest).size()));
        ASSERT_TRUE(TakeInt(rest, values[0]) && TakeInt(rest, values[1])) << line;
        descriptions.insert(values[1]);
    }
    const std::vector<std::string> descriptionLines = ReadFileLines(DemoDataFolder() / "Map Description.dat");
    for (const std::int32_t line : descriptions) {
        ASSERT_GE(line, 1);
        ASSERT_LE(line, static_cast<std::int32_t>(descriptionLines.size()));
        EXPECT_FALSE(map.ReadMapDescription(line).empty()) << line;
    }
    for (const std::int32_t file : nameFiles)
        EXPECT_GE(map.ReadPlaceNameFile(file).size(), 10u) << file;
}
