#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "TempDir.h"
#include "launcher/generator/RandomMap.h"

namespace {

// A description line: the numbers, a blank, the text.
std::string Line(const std::vector<long long>& numbers, const std::string& text = "")
{
    std::string line;
    for (long long n : numbers)
        line += std::to_string(n) + " ";
    return line + text;
}

// Fields 1..42 numbered by their own field number (theme 39 becomes 3).
std::vector<long long> Numbered()
{
    std::vector<long long> numbers;
    for (int field = 1; field <= 42; ++field)
        numbers.push_back(field == 39 ? 3 : field);
    return numbers;
}

// A few parameters that show what a parse set or left alone.
struct Seen {
    int hills; // field 1
    int rough; // 2
    int gullies; // 9
    int forest; // 11
    int spare2; // 24
    int escarpments; // 28
    int bocage; // 38
    int theme; // 39
};

Seen Look(const RandomMap& map)
{
    return { map.m_mapHills, map.m_mapRough, map.m_mapGullies, map.m_mapForest, map.m_mapSpare2, map.m_mapEscarpments,
        map.m_mapBocage, map.m_mapTheme };
}

bool operator==(const Seen& a, const Seen& b)
{
    return a.hills == b.hills && a.rough == b.rough && a.gullies == b.gullies && a.forest == b.forest
        && a.spare2 == b.spare2 && a.escarpments == b.escarpments && a.bocage == b.bocage && a.theme == b.theme;
}

std::ostream& operator<<(std::ostream& out, const Seen& s)
{
    return out << "{" << s.hills << " " << s.rough << " " << s.gullies << " " << s.forest << " " << s.spare2 << " "
               << s.escarpments << " " << s.bocage << " theme " << s.theme << "}";
}

// Values the parameters hold before a read that must leave them alone.
constexpr Seen kBefore { 77, 66, 55, 44, 33, 22, 11, 2 };
const Seen kUnchanged = kBefore;

} // namespace

TEST(MapDescriptionTest, ReadsOneLineOfTheFile)
{
    const std::string longLine(1500, '7');
    struct Case {
        const char* name;
        std::optional<std::string> file; // none: no file at all
        int line;
        std::string text;
        Seen seen;
    };
    const Case cases[] = {
        { "42 numbers and text", Line(Numbered(), "  Rolling farmland  ") + "\n", 1, "Rolling farmland",
            { 1, 2, 9, 11, 24, 28, 38, 3 } },
        { "second line", Line({ 5 }, "first") + "\n" + Line(Numbered(), "second") + "\n", 2, "second",
            { 1, 2, 9, 11, 24, 28, 38, 3 } },
        { "beyond the end gives the last line", Line({ 5 }, "first") + "\n" + Line({ 6, 7 }) + "\n", 3, "",
            { 6, 7, 0, 0, 0, 0, 0, -1 } },
        { "no final line feed", Line({ 5 }) + "\n" + Line(Numbered(), "end"), 9, "end",
            { 1, 2, 9, 11, 24, 28, 38, 3 } },
        { "line 0 counts as 1", Line({ 8 }, "one") + "\n" + Line({ 9 }) + "\n", 0, "", { 8, 0, 0, 0, 0, 0, 0, -1 } },
        { "10 numbers only", Line({ 10, 20, 30, 40, 50, 60, 70, 80, 90, 100 }) + "\n", 1, "",
            { 10, 20, 90, 0, 0, 0, 0, -1 } },
        { "out of range values are held",
            Line({ 150, -5, 0, 0, 0, 0, 0, 0, 1000, 0, 127, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 300, 999, 999, 999, -1,
                     0, 0, 0, 0, 0, 0, 0, 0, 0, 101, 7, 999, 999, 999 },
                "held")
                + "\n",
            1, "held", { 100, 0, 100, 100, 100, 0, 100, -1 } },
        { "theme -1 and 4 stay",
            Line({ 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                     0, 0, 0, 0, 4, 0, 0, 0 },
                "tropics")
                + "\n",
            1, "tropics", { 0, 0, 0, 0, 0, 0, 0, 4 } },
        { "a number too large ends the parse", Line({ 12, 13, 99999999999LL, 15 }, "x") + "\n", 1, "",
            { 12, 13, 0, 0, 0, 0, 0, -1 } },
        { "a word ends the parse", "4 5 six 7\n", 1, "", { 4, 5, 0, 0, 0, 0, 0, -1 } },
        { "CRLF", Line(Numbered(), "Bocage country") + "\r\n" + Line({ 1 }) + "\r\n", 1, "Bocage country",
            { 1, 2, 9, 11, 24, 28, 38, 3 } },
        { "blank line", "\n", 1, "", { 0, 0, 0, 0, 0, 0, 0, -1 } },
        { "missing file", std::nullopt, 1, "", kUnchanged },
        { "empty file", "", 1, "", kUnchanged },
        { "over-long line before the wanted one", Line({ 1 }) + "\n" + longLine + "\n" + Line({ 3 }) + "\n", 3, "",
            kUnchanged },
        { "over-long wanted line", longLine + "\n", 1, "", kUnchanged },
        { "over-long line after the wanted one", Line({ 45 }, "ok") + "\n" + longLine + "\n", 1, "",
            { 45, 0, 0, 0, 0, 0, 0, -1 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        if (c.file)
            dir.Write(RandomMap::kDescriptionFileName, *c.file);
        LauncherRandom random;
        RandomMap map(random);
        map.SetDataFolder(dir.Path());
        map.m_mapHills = kBefore.hills;
        map.m_mapRough = kBefore.rough;
        map.m_mapGullies = kBefore.gullies;
        map.m_mapForest = kBefore.forest;
        map.m_mapSpare2 = kBefore.spare2;
        map.m_mapEscarpments = kBefore.escarpments;
        map.m_mapBocage = kBefore.bocage;
        map.m_mapTheme = kBefore.theme;
        map.m_mapBaseElevation = 5;
        map.m_mapKunai = 9;
        map.m_mapCoastFlag = 1;
        map.m_mapReef = 3;
        map.m_mapWidth = 40;
        map.m_placeNameFile = 2;

        EXPECT_EQ(map.ReadMapDescription(c.line), c.text);
        EXPECT_EQ(Look(map), c.seen);
        // A parse clears the parameters without fields; a refused file keeps them.
        const bool parsed = !(c.seen == kUnchanged);
        EXPECT_EQ(map.m_mapBaseElevation, parsed ? 0 : 5);
        EXPECT_EQ(map.m_mapKunai, parsed ? 0 : 9);
        EXPECT_EQ(map.m_mapCoastFlag, parsed ? 0 : 1);
        EXPECT_EQ(map.m_mapReef, parsed ? 0 : 3);
        // Size and place-name list are never a description's.
        EXPECT_EQ(map.m_mapWidth, 40);
        EXPECT_EQ(map.m_placeNameFile, 2);
    }
}

TEST(MapDescriptionTest, EveryFieldLandsInItsParameter)
{
    TempDir dir;
    std::vector<long long> numbers;
    for (int field = 1; field <= 42; ++field)
        numbers.push_back(field == 39 ? 1 : field + 50);
    dir.Write(RandomMap::kDescriptionFileName, Line(numbers, "all") + "\n");
    LauncherRandom random;
    RandomMap map(random);
    map.SetDataFolder(dir.Path());
    ASSERT_EQ(map.ReadMapDescription(1), "all");
    const std::vector<int> expected = { map.m_mapHills, map.m_mapRough, map.m_mapCliffs, map.m_mapEmbankments,
        map.m_mapLakes, map.m_mapMajorRiverWidth, map.m_mapRivers, map.m_mapStreams, map.m_mapGullies, map.m_mapMarsh,
        map.m_mapForest, map.m_mapSpare1, map.m_mapHedges, map.m_mapPaths, map.m_mapUnpavedRoads, map.m_mapRoads,
        map.m_mapRailways, map.m_mapFields, map.m_mapOrchards, map.m_mapTowns, map.m_mapSuburbs, map.m_mapCities,
        map.m_mapIndustry, map.m_mapSpare2 };
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(expected[i], static_cast<int>(i) + 51) << "field " << i + 1;
    const std::vector<int> later
        = { map.m_mapEscarpments, map.m_mapCactus, map.m_mapWadi, map.m_mapHammada, map.m_mapVineyard, map.m_mapScrub,
              map.m_mapSoftSand, map.m_mapHighWalls, map.m_mapStoneWalls, map.m_mapDunes, map.m_mapBocage };
    for (std::size_t i = 0; i < later.size(); ++i)
        EXPECT_EQ(later[i], static_cast<int>(i) + 78) << "field " << i + 28;
    EXPECT_EQ(map.m_mapTheme, 1);
}
