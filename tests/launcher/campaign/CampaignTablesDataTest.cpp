// The demo campaign's tables: every battle day of the campaign, in the region
// its description gives for the day, finds an attacker, a mission, the needs
// of both sides, a place and a briefing, and the date never lands in the
// weeks between the two theatres.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "CampaignTestSupport.h"
#include "launcher/campaign/CampaignTables.h"
#include "launcher/campaign/CampaignTextFields.h"
#include "model/TextScan.h"
#include "tests/TestFiles.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int32_t kFirstDay = 430115;
constexpr std::int32_t kLastDay = 430817;
// The last day in Tunisia and the first in Sicily of the demo's description.
constexpr std::int32_t kTunisiaEnds = 430513;
constexpr std::int32_t kSicilyBegins = 430710;
constexpr int kAmerican = 10;
constexpr int kGerman = 1;

// The days a battle can take: the set-up's calendar of 28-day months.
std::vector<std::int32_t> BattleDays()
{
    std::vector<std::int32_t> days;
    for (std::int32_t day = kFirstDay; day <= kLastDay; day = NextBattleDay(day))
        days.push_back(day);
    return days;
}

std::vector<std::string> FileLines(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.is_open()) << path;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class CampaignTablesDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fs::is_directory(folder)) << "the build makes the demo data folder " << folder;
        random.SetTimeSource([] { return std::int64_t { 1700000000 }; });
        random.SeedRandom();
        std::vector<std::string> titles;
        ReadAllCampaignDescriptions(context, titles, segments);
        ASSERT_EQ(segments.size(), 1u);
        ASSERT_EQ(titles, std::vector<std::string> { "Tunisia and Sicily 1943" });
    }

    // From here the draws give k of 1..n, count times (a fresh source: no
    // value left from an earlier script).
    void ScriptRolls(int k, int n, int count = 4000)
    {
        scripted = std::make_unique<LauncherRandom>();
        scripted->ScriptValues(std::vector<int>(static_cast<std::size_t>(count), ValueForRoll(k, n)));
        context.random = scripted.get();
    }

    const fs::path folder = DemoDataFolder();
    LauncherRandom random;
    std::unique_ptr<LauncherRandom> scripted;
    CampaignContext context { folder, random };
    std::vector<CampaignSegment> segments;
};

TEST_F(CampaignTablesDataTest, TheDescriptionRunsTheUnitedStatesAgainstGermanyThroughBothRegions)
{
    const CampaignSegment& demo = segments[0];
    EXPECT_EQ(CountCampaignDescriptions(context, 0), 1);
    EXPECT_EQ(demo.m_nation, kAmerican);
    EXPECT_EQ(demo.m_enemyNation, kGerman);
    EXPECT_EQ(demo.m_startDate, kFirstDay);
    EXPECT_EQ(demo.m_endDate, kLastDay);
    EXPECT_EQ(demo.m_isLinked, 0);
    EXPECT_FALSE(demo.m_description.empty());
    EXPECT_EQ(demo.GetRegionForDate(kFirstDay), 0);
    EXPECT_EQ(demo.GetRegionForDate(kTunisiaEnds), 0);
    EXPECT_EQ(demo.GetRegionForDate(kSicilyBegins), 1);
    EXPECT_EQ(demo.GetRegionForDate(kLastDay), 1);
    EXPECT_EQ(demo.GetRegionNameForDate(kFirstDay), "Desert");
    EXPECT_EQ(demo.GetRegionNameForDate(kLastDay), "Mediterranean");

    context.g_campaign.m_charSection = 0;
    EXPECT_EQ(FindRegionForDate(context, kLastDay), 1);
    EXPECT_EQ(context.g_campaign.m_region, 1);
    EXPECT_EQ(CampaignMapImageName(context), "Tunisia and Sicily 1943-map.bmp");
}

// A map description line: 42 numbers of 0..100 (the theme -1..4), then a text.
bool IsMapDescription(const std::string& line)
{
    TextCursor cursor(line);
    for (int field = 1; field <= 42; ++field) {
        std::int32_t value = 0;
        if (!cursor.ReadInt(value) || value > 100 || value < (field == 39 ? -1 : 0))
            return false;
    }
    std::string_view text;
    return cursor.ReadWord(text);
}

TEST_F(CampaignTablesDataTest, EveryBattleDayFindsEveryTableOfItsRegion)
{
    const std::vector<std::string> descriptions = FileLines(folder / "Map Description.dat");
    const CampaignSegment& demo = segments[0];
    for (const std::int32_t day : BattleDays()) {
        const int region = demo.GetRegionForDate(day);
        SCOPED_TRACE(std::to_string(day) + " region " + std::to_string(region));
        int attacker = -1;
        EXPECT_EQ(ReadAttacker(context, "", attacker, region, day), 1);
        int mission = 0;
        EXPECT_EQ(ReadEncounterType(context, "", mission, region, day), 1);
        EXPECT_GE(ReadReplacementPoints(context, "", 0, region, day, kLastDay), 0);
        EXPECT_GE(ReadReplacementPoints(context, "", 1, region, day, kLastDay), 0);
        for (int missionType = 1; missionType <= 11; ++missionType) {
            for (const char letter : { 'A', 'D' }) {
                for (const int side : { 0, 1 }) {
                    std::array<std::array<std::int32_t, 10>, 2> needs {};
                    ReadForcesTable(context, "", missionType, letter, day, side, needs);
                    const auto& row = needs[static_cast<std::size_t>(side)];
                    EXPECT_NE(row, (std::array<std::int32_t, 10> { 10, 10, 10, 10, 10, 10, 10, 10, 10, 10 }))
                        << "no block for mission " << missionType << letter << " side " << side;
                    EXPECT_GT(row[0] + row[2], 0) << "armour and infantry, the demo's two roles";
                }
            }
        }
        // Every one of the ten places the roll can take.
        for (int k = 1; k <= 10; ++k) {
            ScriptRolls(k, 10, 1);
            BattleLocation location;
            ASSERT_EQ(ReadBattleLocation(context, "", region, day, location), 1) << k;
            EXPECT_FALSE(location.place.empty());
            EXPECT_GE(location.mapLine, 1);
            ASSERT_LE(static_cast<std::size_t>(location.mapLine), descriptions.size()) << location.place;
            EXPECT_TRUE(IsMapDescription(descriptions[static_cast<std::size_t>(location.mapLine) - 1]))
                << location.place;
            EXPECT_TRUE(
                location.markerX >= 0 && location.markerX < 640 && location.markerY >= 0 && location.markerY < 480)
                << location.place;
        }
    }
}

TEST_F(CampaignTablesDataTest, TheTablesKeepTheirLayoutInEveryRegion)
{
    for (const int region : { 0, 1 }) {
        SCOPED_TRACE(region);
        const auto encounters = ReadRegionTable(context, "", "encounters.dat", region);
        ASSERT_TRUE(encounters.has_value());
        ASSERT_GE(encounters->size(), 2u);
        for (std::size_t i = 1; i < encounters->size(); ++i) {
            TextCursor cursor((*encounters)[i]);
            std::int32_t date = 0;
            std::array<std::int32_t, 11> percent {};
            ASSERT_TRUE(ReadNumbers(cursor, date)) << (*encounters)[i];
            for (std::int32_t& value : percent)
                ASSERT_TRUE(ReadNumbers(cursor, value)) << (*encounters)[i];
            std::int32_t sum = 0;
            for (const std::int32_t value : percent)
                sum += value;
            EXPECT_EQ(sum, 100) << "every roll names its mission: " << (*encounters)[i];
        }
        for (const char* table : { "attacker.dat", "replacements0.dat", "replacements1.dat" }) {
            const auto lines = ReadRegionTable(context, "", table, region);
            ASSERT_TRUE(lines.has_value()) << table;
            // The attacker table has a title line, the replacements none.
            const std::size_t first = std::string_view(table).starts_with("attacker") ? 1 : 0;
            std::int32_t last = 0;
            for (std::size_t i = first; i < lines->size(); ++i) {
                TextCursor cursor((*lines)[i]);
                std::int32_t date = 0;
                std::int32_t value = 0;
                ASSERT_TRUE(ReadNumbers(cursor, date, value)) << table << ": " << (*lines)[i];
                EXPECT_GT(date, last) << table << ": dates rise";
                EXPECT_TRUE(value >= 0 && value <= 100) << table << ": " << (*lines)[i];
                last = date;
            }
            EXPECT_GE(last, region == 0 ? kTunisiaEnds : kLastDay) << table;
        }
        // At least ten places after each date line.
        const auto location = ReadRegionTable(context, "", "location.dat", region);
        ASSERT_TRUE(location.has_value());
        int places = 10;
        for (const std::string& line : *location) {
            if (IsDigitChar(line.front())) {
                EXPECT_GE(places, 10) << "before " << line;
                places = 0;
                TextCursor cursor(line);
                std::int32_t date = 0;
                std::int32_t percent = 0;
                std::int32_t nameFile = 0;
                ASSERT_TRUE(ReadNumbers(cursor, date, percent, nameFile)) << line;
                EXPECT_TRUE(fs::exists(folder / ("mapname" + std::to_string(nameFile) + ".txt"))) << line;
            } else {
                ++places;
            }
        }
        EXPECT_GE(places, 10);
    }
}

TEST_F(CampaignTablesDataTest, TheReplacementsOfTheWholeCampaignArePositive)
{
    const CampaignSegment& demo = segments[0];
    for (const int side : { 0, 1 }) {
        std::int32_t total = 0;
        std::int32_t previous = kFirstDay;
        for (const std::int32_t day : BattleDays()) {
            if (day - previous < 7 && day != kLastDay)
                continue;
            total += ReadReplacementPoints(context, "", side, demo.GetRegionForDate(day), previous, day);
            previous = day;
        }
        EXPECT_GT(total, 0) << side;
    }
}

TEST_F(CampaignTablesDataTest, TheNextBattleDateNeverFallsBetweenTheTwoTheatres)
{
    const CampaignSegment& demo = segments[0];
    // Every roll failing lets the date run as far as the tables let it; every
    // roll hitting takes the next day.
    for (const int roll : { 100, 1 }) {
        for (const std::int32_t day : BattleDays()) {
            SCOPED_TRACE(std::to_string(day) + " roll " + std::to_string(roll));
            ScriptRolls(roll, 100);
            std::int32_t date = day;
            std::int32_t nameFile = 0;
            AdvanceBattleDate(context, "", date, nameFile, demo.GetRegionForDate(day));
            EXPECT_GT(date, day);
            EXPECT_FALSE(date > kTunisiaEnds && date < kSicilyBegins) << date;
            EXPECT_EQ(nameFile, 1);
            if (roll == 1 && date <= kTunisiaEnds) {
                EXPECT_EQ(date, NextBattleDay(day));
            }
        }
    }
}

TEST_F(CampaignTablesDataTest, BriefingsCoverBothRolesOfEveryMissionForBothNations)
{
    for (const int nation : { kAmerican, kGerman }) {
        std::string placeholders;
        for (int mission = 1; mission <= 11; ++mission) {
            for (const bool attacks : { true, false }) {
                std::vector<std::string> seen;
                for (int pick = 1; pick <= 2; ++pick) {
                    ScriptRolls(pick, 2, 1);
                    std::string text;
                    ASSERT_TRUE(ReadBriefing(context, text, nation, mission, attacks))
                        << nation << " mission " << mission << " attacks " << attacks << " pick " << pick;
                    EXPECT_NE(text.find('%'), std::string::npos) << "names the place: " << text;
                    for (const char c : text)
                        if ((c == '#' || c == '$') && placeholders.find(c) == std::string::npos)
                            placeholders += c;
                    seen.push_back(text);
                }
                EXPECT_NE(seen[0], seen[1]) << nation << " mission " << mission << " attacks " << attacks;
            }
        }
        std::sort(placeholders.begin(), placeholders.end());
        EXPECT_EQ(placeholders, "#$") << "the nation and the command named somewhere " << nation;
        ScriptRolls(1, 2, 1);
        std::string text;
        EXPECT_FALSE(ReadBriefing(context, text, nation, 12, true)) << "eleven missions";
    }
}

TEST_F(CampaignTablesDataTest, BothNationsHaveLeaderNames)
{
    for (const int nation : { kAmerican, kGerman }) {
        std::vector<std::string> names;
        for (const int k : { 1, 5000, 10000 }) {
            ScriptRolls(k, 10000, 100);
            std::string name;
            PickLeaderName(context, nation, name);
            EXPECT_FALSE(name.empty());
            EXPECT_NE(name, "Anonymous");
            names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(std::unique(names.begin(), names.end()), names.end()) << "a choice among several " << nation;
    }
}

} // namespace
