// The demo's campaign data: both nations' corps load whole over the whole
// campaign, every platoon has its type and every firing type its weapon, and
// the weather and parameter tables keep to their layout.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <tuple>

#include "CampaignTestSupport.h"
#include "TestFiles.h"
#include "launcher/campaign/CampaignParameters.h"
#include "launcher/campaign/OrderOfBattle.h"
#include "launcher/campaign/Weather.h"
#include "model/GameWeapons.h"
#include "model/PlatoonType.h"
#include "tests/TestFiles.h"

namespace fs = std::filesystem;

namespace {

// Tunisia to the end of the Sicily landings.
constexpr std::int32_t kFirstDay = 430115;
constexpr std::int32_t kLastDay = 430817;
constexpr int kNations[] = { 10, 1 };

bool IsUnarmed(const PlatoonType& type)
{
    return type.IsLeader() || (type.CanCarryPassengers() && (type.m_targetFlags & kTargetHard) == 0);
}

class CampaignDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fs::is_directory(folder)) << "the build makes the demo data folder " << folder;
        ASSERT_TRUE(types.LoadAll(folder).IsEmpty());
        ScopedCurrentDir inData(folder);
        weapons.LoadWeapons();
        ASSERT_GT(weapons.m_weapons.Count(), 0u);
        random.SetTimeSource([] { return std::int64_t { 1700000000 }; });
        context.showMessage = [this](std::string_view text, std::string_view caption) {
            messages.push_back({ std::string(text), std::string(caption) });
        };
    }

    // Every rule the data keeps, checked node by node below a formation.
    void CheckFormation(const UnitRecord& formation, int nation)
    {
        SCOPED_TRACE(formation.m_id + " " + formation.m_name);
        EXPECT_EQ(GetUnitIdNation(formation.m_id), nation);
        const UnitRecord* first = formation.m_firstChild.get();
        ASSERT_NE(first, nullptr) << "a formation with no subunits";
        EXPECT_EQ(first->m_id.front(), 'P');
        EXPECT_EQ(GetUnitIdLevel(first->m_id), 4) << "the block's commander first";
        static constexpr std::pair<char, const char*> kWords[]
            = { { 'B', "Bat" }, { 'R', "Reg" }, { 'G', "Bri" }, { 'D', "Div" } };
        for (const auto& [letter, word] : kWords) {
            if (formation.m_id.front() == letter) {
                EXPECT_NE(formation.m_name.find(word), std::string::npos) << "the organisation dialog stops here";
            }
        }
        EXPECT_EQ(formation.m_name.find_first_of("$@#&"), std::string::npos);
        std::int64_t size = 0;
        for (const UnitRecord* child = first; child; child = child->m_nextSibling.get()) {
            size += child->m_size;
            if (formation.m_id.front() == 'C') {
                EXPECT_EQ(child->m_id.front(), 'P') << "companies hold platoons only";
            }
            if (child->m_id.front() == 'P')
                CheckPlatoon(*child, nation);
            else
                CheckFormation(*child, nation);
        }
        EXPECT_EQ(formation.m_size, size);
    }

    void CheckPlatoon(const UnitRecord& platoon, int nation)
    {
        SCOPED_TRACE(platoon.m_id + " " + platoon.m_name);
        EXPECT_EQ(GetUnitIdNation(platoon.m_id), nation);
        const PlatoonType* type = types.FindById(*PlatoonTypeNumber(platoon.m_id));
        ASSERT_NE(type, nullptr) << "no platoon type";
        EXPECT_EQ(platoon.m_fullStrength, type->m_fullStrength) << "refreshed from the platoon file";
        EXPECT_EQ(platoon.m_size, type->m_unitValue);
        EXPECT_FALSE(platoon.m_leader.empty());
        if (!IsUnarmed(*type)) {
            EXPECT_NE(weapons.FindWeapon(static_cast<std::int32_t>(type->m_id)), nullptr) << "fires without a weapon";
        }
        ++platoons;
    }

    const fs::path folder = DemoDataFolder();
    PlatoonTypeList types;
    CGameWeapons weapons;
    LauncherRandom random;
    CampaignContext context { folder, random };
    std::vector<ShownMessage> messages;
    int platoons = 0;
};

TEST_F(CampaignDataTest, EveryCorpsLoadsWholeOverTheWholeCampaign)
{
    for (const int nation : kNations) {
        for (const int typeDigit : { 2, 0 }) {
            for (const std::int32_t date : { kFirstDay, kLastDay }) {
                const std::vector<FormationListRow> corps
                    = ListCampaignFormations(context, LevelNumberBase {}, nation, 5, date, typeDigit);
                ASSERT_EQ(corps.size(), 1u) << nation << " type " << typeDigit << " at " << date;
                EXPECT_FALSE(IsWithheldUnitId(corps[0].id));
                EXPECT_EQ(corps[0].name.find_first_of("$@#&"), std::string::npos) << corps[0].name;
                // Both ways of every choice group: the stored rolls low and high.
                for (const std::int32_t roll : { 1, 100 }) {
                    LevelNumberBase base;
                    base.rolls.fill(roll);
                    const auto root = LoadFormationFromOob(context, base, date, nation, corps[0].id);
                    ASSERT_NE(root, nullptr) << corps[0].id;
                    CheckFormation(*root, nation);
                }
            }
        }
    }
    EXPECT_TRUE(messages.empty()) << messages.front().text;
    EXPECT_GT(platoons, 500);
}

TEST_F(CampaignDataTest, TankCompaniesChangeInsideTheCampaign)
{
    for (const auto& [nation, corps, early, late] : { std::tuple { 10, "K1050001", "C1000001", "C1000002" },
             std::tuple { 1, "K0150001", "C0100001", "C0100002" } }) {
        const auto before = LoadFormationFromOob(context, LevelNumberBase {}, kFirstDay, nation, corps);
        const auto after = LoadFormationFromOob(context, LevelNumberBase {}, kLastDay, nation, corps);
        ASSERT_NE(before, nullptr);
        ASSERT_NE(after, nullptr);
        const UnitRecord* company = FindUnitById(before.get(), early);
        ASSERT_NE(company, nullptr) << early;
        ASSERT_EQ(CountSuccessors(*company), 1);
        EXPECT_EQ(company->m_nextSuccessor->m_id, late);
        EXPECT_EQ(FindUnitById(after.get(), early), nullptr);
        EXPECT_NE(FindUnitById(after.get(), late), nullptr);
    }
}

TEST_F(CampaignDataTest, WeatherHasThreeRegionsWithEveryRollFindingARow)
{
    for (int region = 0; region < 3; ++region) {
        WeatherTables tables;
        ASSERT_TRUE(tables.Load(folder, "", region)) << region;
        for (int month = 1; month <= 12; ++month) {
            int lastRow = 0;
            for (int roll = 1; roll <= 100; ++roll) {
                LauncherRandom scripted;
                scripted.ScriptValues({ ValueForRoll(roll, 100), ValueForRoll(roll, 100) });
                const WeatherRoll weather = tables.RollWeather(scripted, month);
                const ConditionRoll conditions = tables.RollBattleConditions(scripted, month);
                EXPECT_GE(weather.row, lastRow) << "rows grow with the roll";
                lastRow = weather.row;
                EXPECT_GT(weather.value, 0) << "a visibility";
                ASSERT_EQ(conditions.letters.size(), 4u);
                EXPECT_NE(std::string("GFBS").find(conditions.letters[0]), std::string::npos);
                EXPECT_NE(std::string("DLMS").find(conditions.letters[1]), std::string::npos);
                EXPECT_NE(std::string("NF").find(conditions.letters[2]), std::string::npos);
                EXPECT_NE(std::string("NPT").find(conditions.letters[3]), std::string::npos);
            }
        }
    }
    WeatherTables tables;
    EXPECT_FALSE(tables.Load(folder, "", 3)) << "three variants only";
}

TEST_F(CampaignDataTest, TheParameterFileEndsSectionsAndListsAsTheLookupsNeed)
{
    for (int mission = 0; mission < 12; ++mission) {
        const auto row = ReadMissionRow(folder, mission);
        ASSERT_TRUE(row.has_value()) << mission;
        EXPECT_EQ((*row)[0], mission) << "each row starts with its mission number";
    }
    EXPECT_FALSE(ReadMissionRow(folder, 12).has_value()) << "twelve rows";
    EXPECT_GT(ReadObjectiveValueClass(folder, 100), 0);
    EXPECT_GT(ReadYearlyNationValues(folder, 43)[10], 0);
    EXPECT_EQ(ReadRankForScore(folder, 1999999999), 7) << "the sentinel keeps the top rank for every real score";
    EXPECT_EQ(ReadCommandLevelThresholds(folder)[6], 22000);
    const Decoration top = ReadDecoration(folder, 100.0, 10);
    EXPECT_EQ(top.number, 6);
    EXPECT_EQ(top.name, "Medal of Honor");
    for (int nation = 0; nation <= 28; ++nation)
        EXPECT_FALSE(ReadDecoration(folder, 1.5, nation).name.empty()) << nation;
    for (int level = 0; level <= 6; ++level)
        EXPECT_GT(ReadPointBudget(folder, level), 0) << level;
    EXPECT_EQ(ReadMoraleThresholds(folder), (std::array<std::int32_t, 9> { 12, 12, 12, 25, 50, 100, 200, 400, 800 }));
    for (int level = 1; level <= 5; ++level) {
        EXPECT_GT(ReadMapSize(folder, level).width, 20) << level;
        EXPECT_GT(ReadTurnCount(folder, level, 'D'), 0) << level;
    }
    // No blank lines: the stream readers would take them as section ends.
    std::string text;
    ASSERT_EQ(ReadDataFileText((folder / "campaign.pdt").string(), text), DataFileRead::kRead);
    for (int section = 0; section <= 12; ++section)
        EXPECT_EQ(CampaignParameterSection(text, section), CampaignParameterSection(text, section, true)) << section;
}

} // namespace
