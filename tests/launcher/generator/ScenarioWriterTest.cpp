// The battle file's lines for given inputs: the header, the map size and
// victory objectives, unit, boat, group and support lines, the organisation
// file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "BattleGeneratorSupport.h"
#include "DeploymentSupport.h"

namespace {

// Parameters: mission 3's row (air 2 / 1, advantage 40 / 30, supply 5 / 6,
// no value objectives), classes, year 43 (United States 3, Germany 2), map
// sizes of levels 1 and 2 and turn counts of level 1.
std::string ParameterFile(std::string_view mapSizes = "1 20 14 100 50 2\n2 9 999 100 50 0\n")
{
    std::string text = "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n"
                       "2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n3 0 0 0 0 0 2 1 40 30 5 6 0 0 0 0\n-1\n"
                       "50 30\n250 100\n-1\n"
                       "43 1 2 1 1 1 1 1 1 1 1 3 1 1 1 1 1 1 1\n-1\n";
    for (int section = 3; section < 10; ++section)
        text += "-1\n";
    text += std::string(mapSizes) + "-1\n-1\n1 10 1 2 3 0\n-1\n";
    return text;
}

class ScenarioWriterTest : public ::testing::Test {
protected:
    void SetUp() override { WriteFile(folder.test.folder.Path("campaign.pdt"), ParameterFile()); }
    static void WriteFile(const std::filesystem::path& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }
    void Rolls(const std::vector<std::pair<int, int>>& rolls)
    {
        std::vector<int> values;
        for (const auto& [k, n] : rolls)
            values.push_back(ValueForRoll(k, n));
        folder.Script(values);
    }

    GeneratorFolder folder;
};

TEST_F(ScenarioWriterTest, HeaderLines)
{
    struct Case {
        const char* letters;
        int theme;
        int visibility;
        int attacker;
        std::vector<std::pair<int, int>> rolls;
        const char* header;
    };
    const Case cases[] = {
        { "BLNP", -1, 20, 0,
            { { 30, 40 }, { 5, 10 }, { 9, 10 }, { 4, 7 }, { 1, 7 }, { 2, 12 }, { 12, 12 }, { 7, 10 }, { 3, 10 } },
            "1\nStatic Line\n0 0 0 96\n2 1 0 1 20 \n5 0 7 3 82 91\n0\n0 0 0 0 3\n45 39 0 0\n" },
        // Below 15 no air strikes at all (and no draws for them).
        { "FSFN", -1, 14, 1, { { 20, 40 }, { 1, 10 }, { 1, 10 }, { 1, 12 }, { 1, 12 }, { 1, 10 }, { 1, 10 } },
            "1\nStatic Line\n0 1 0 102\n1 3 1 2 14 \n0 0 1 1 82 79\n1\n0 0 0 0 3\n31 41 0 0\n" },
        // Desert: soft ground (the turns still count the dry letter), no water, bare foliage and standing crops.
        { "GDFP", 2, 14, 0, { { 1, 40 }, { 1, 10 }, { 1, 10 }, { 1, 12 }, { 1, 12 }, { 1, 10 }, { 1, 10 } },
            "1\nStatic Line\n0 0 0 78\n0 1 0 0 14 \n0 0 1 1 81 80\n0\n0 0 0 0 3\n41 31 0 0\n" },
        // Mediterranean: water never freezes.
        { "SMFX", 1, 14, 0, { { 1, 40 }, { 1, 10 }, { 1, 10 }, { 1, 12 }, { 1, 12 }, { 1, 10 }, { 1, 10 } },
            "1\nStatic Line\n0 0 0 84\n3 2 0 0 14 \n0 0 1 1 81 80\n0\n0 0 0 0 3\n41 31 0 0\n" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.letters);
        auto generator = folder.Make(nullptr, nullptr, c.attacker, 3, 1);
        for (std::size_t i = 0; i < 4; ++i)
            folder.context.conditionLetters[i] = c.letters[i];
        folder.context.visibilityRadius = c.visibility;
        folder.context.map.m_mapTheme = static_cast<std::int8_t>(c.theme);
        Rolls(c.rolls);
        std::string text;
        generator->WriteHeader(text);
        EXPECT_EQ(text, c.header);
        EXPECT_TRUE(folder.TookExactlyTheScript());
    }
}

TEST_F(ScenarioWriterTest, NationWithoutAircraftGetsNoStrikes)
{
    auto generator = std::make_unique<BattleGenerator>(folder.context, 10, 23, nullptr, nullptr, 430301, 0, 1, 3, "");
    folder.context.visibilityRadius = 20;
    Rolls({ { 30, 40 }, { 5, 10 }, { 9, 10 }, { 7, 7 }, { 7, 7 }, { 2, 12 }, { 12, 12 }, { 7, 10 }, { 3, 10 } });
    std::string text;
    generator->WriteHeader(text);
    EXPECT_TRUE(folder.TookExactlyTheScript());
    EXPECT_EQ(generator->m_airStrikes[1], 0);
    EXPECT_GT(generator->m_airStrikes[0], 0);
    std::string support;
    generator->WriteSupport(support, 23);
    EXPECT_EQ(support, "");
}

TEST_F(ScenarioWriterTest, MapSizeAndVictoryObjectives)
{
    struct Case {
        int mission;
        int theme;
        int level;
        int widthRoll;
        int heightRoll;
        int width;
        int height;
        bool exit;
    };
    const Case cases[] = {
        { 3, -1, 1, 5, 10, 22, 15, false }, // 21 made even
        { 6, -1, 1, 1, 20, 20, 25, false }, { 1, -1, 1, 10, 10, 22, 17, false }, { 9, -1, 1, 10, 10, 22, 17, true },
        { 2, 2, 1, 20, 20, 48, 33, true }, { 5, -1, 1, 1, 1, 20, 14, true },
        { 4, -1, 2, 1, 1, 10, 404, true }, // held: 9 -> 10, 999 -> 400; no victory objectives
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mission " << c.mission);
        auto generator = folder.Make(nullptr, nullptr, 0, static_cast<std::int16_t>(c.mission), c.level);
        folder.context.map.m_mapTheme = static_cast<std::int8_t>(c.theme);
        std::vector<std::pair<int, int>> rolls = { { c.widthRoll, 20 }, { c.heightRoll, 20 } };
        if (c.level == 1) // 250 over 2: per 62, rest 126
            rolls.insert(
                rolls.end(), { { 10, 126 }, { 1, c.width }, { 1, c.height }, { 2, c.width }, { 2, c.height } });
        if (c.exit)
            rolls.insert(rolls.end(), { { 3, c.width }, { 3, c.height } });
        Rolls(rolls);
        generator->SizeMap();
        EXPECT_TRUE(folder.TookExactlyTheScript());
        EXPECT_EQ(folder.context.map.m_mapWidth, c.width);
        EXPECT_EQ(folder.context.map.m_mapHeight, c.height);
        std::vector<std::array<int, 5>> points;
        for (const ObjectivePoint* p = generator->m_objectives.get(); p; p = p->m_next.get())
            points.push_back({ p->m_x, p->m_y, p->m_code, p->m_value, p->m_owner });
        std::vector<std::array<int, 5>> expected;
        if (c.exit)
            expected.push_back({ 2, 2, 5, -1, 10 }); // the attacker's exit
        if (c.level == 1) {
            expected.push_back({ 1, 1, 5, 180, 1 }); // 116 left + 62
            expected.push_back({ 0, 0, 5, 75, 1 }); // 62 + 10 raised to 75
        }
        EXPECT_EQ(points, expected);
    }
}

TEST_F(ScenarioWriterTest, ValueObjectivesBelongToTheDefendingSide)
{
    auto generator = folder.Make(nullptr, nullptr, 1, 3, 1);
    folder.context.map.m_mapWidth = 10;
    folder.context.map.m_mapHeight = 10;
    std::ofstream(folder.test.folder.Path("campaign.pdt")) << ParameterFile();
    generator->ComputeSideValues(); // reads the classes
    generator->m_objectives.reset();
    // 20 + 5 is within the first class, 90 + 5 within the second, 96 + 5 none.
    Rolls({ { 20, 100 }, { 4, 10 }, { 5, 10 }, { 90, 100 }, { 6, 10 }, { 7, 10 }, { 96, 100 } });
    generator->AddValueObjectives(3, 5);
    EXPECT_TRUE(folder.TookExactlyTheScript());
    ASSERT_NE(generator->m_objectives, nullptr);
    EXPECT_EQ(generator->m_objectives->m_code, 250);
    EXPECT_EQ(generator->m_objectives->m_owner, 0);
    EXPECT_EQ((std::array<int, 2> { generator->m_objectives->m_x, generator->m_objectives->m_y }),
        (std::array<int, 2> { 5, 6 }));
    ASSERT_NE(generator->m_objectives->m_next, nullptr);
    EXPECT_EQ(generator->m_objectives->m_next->m_code, 50);
    EXPECT_EQ(generator->m_objectives->m_next->m_next, nullptr);
}

TEST_F(ScenarioWriterTest, UnitBoatGroupAndObjectiveLines)
{
    auto force = MakeUnit("K1052001", 1);
    UnitRecord* company = AttachChildUnit(MakeUnit("C1002001", 2), *force);
    company->m_role = 1;
    UnitRecord* commander = AttachChildUnit(MakePlatoon("P10400", 2, 3, 0, 3), *company);
    UnitRecord* rifles = AttachChildUnit(MakePlatoon("P10200", 2, 131, 0, 4), *company);
    UnitRecord* spent = AttachChildUnit(MakePlatoon("P10200", 2, 131, 0, 5), *company);
    UnitRecord* left = AttachChildUnit(MakePlatoon("P10701", 1, 32, 0, 6), *company);
    spent->m_strength = 0;
    left->m_role = 9;
    commander->m_x = 3;
    commander->m_y = 4;
    commander->m_deployDirection = 8;
    commander->m_facing = 16;
    rifles->m_x = 5;
    rifles->m_y = 12; // past the bottom: off the map
    rifles->m_deployDirection = 8;
    rifles->m_facing = 8;
    rifles->m_morale = 4;

    UnitRecord* reserve = AttachChildUnit(MakeUnit("C1002002", 7), *force);
    reserve->m_role = 2;
    reserve->m_x = 2;
    reserve->m_y = 0;
    reserve->m_deployDirection = 8;
    reserve->m_arrival = 12;
    reserve->m_arrivalValue = 30;
    AttachChildUnit(MakeTruck(), *reserve)->m_number = 8;
    AttachChildUnit(MakeTruck(), *reserve)->m_number = 9;
    AttachChildUnit(MakeGun(), *reserve)->m_number = 10;
    AttachChildUnit(MakeRifles(), *reserve)->m_number = 11;
    AttachChildUnit(MakeTank(), *reserve)->m_number = 12;
    UnitRecord* noTow = AttachChildUnit(MakeUnit("C1002003", 13), *force);
    noTow->m_role = 2;
    noTow->m_arrival = 400; // beyond the battle's length
    AttachChildUnit(MakeTruck(), *noTow)->m_number = 14;
    AttachChildUnit(MakeTruck(), *noTow)->m_number = 15;
    AttachChildUnit(MakeGun(), *noTow)->m_number = 16;

    auto generator = folder.Make(force.get(), nullptr, 0, 6, 1);
    folder.context.map.m_mapWidth = 10;
    folder.context.map.m_mapHeight = 10;
    folder.context.memberSlot = 5;
    std::string header;
    generator->WriteHeader(header);
    const int length = generator->ScenarioLength();
    folder.context.campaign->g_unitCounter = 100;
    generator->PrepareBoats();
    // One boat for each platoon after the first chosen node.
    ASSERT_NE(generator->m_boats, nullptr);
    EXPECT_EQ(generator->m_boats->m_id, "P10037");

    std::string text;
    Rolls({ { 2, length } });
    generator->WriteUnits(text, force.get());
    EXPECT_TRUE(folder.TookExactlyTheScript());
    const int lateTime = [&] {
        LauncherRandom r;
        r.ScriptValues({ ValueForRoll(2, length) });
        return r.RollRandom(static_cast<std::int16_t>(length)) / 6 * 6;
    }();
    EXPECT_EQ(text,
        "0 3 4 10400 3 8 16 4 100 6 0 0\n"
        "0 3 4 10037 100 8 1 6 100 6 0 0\n" // the commander's boat: id position 3 is '4'
        "6 5 12 10200 4 8 8 4 100 4 0 0\n"
        "7 2 0 12 30 5\n"
        "    10701 8 8 5 4 100 6 0 0\n"
        "    10102 10 8 0 4 100 6 0 16\n"
        "    10701 9 8 0 4 100 6 0 0\n"
        "    10200 11 8 1 4 100 6 0 16\n"
        "    10000 12 8 1 4 100 6 0 0\n"
        "7 0 0 "
            + std::to_string(lateTime)
            + " 0 2\n"
              "    10701 14 0 2 4 100 6 0 0\n"
              "    10102 16 0 3 4 100 6 0 16\n");
    EXPECT_EQ(folder.context.memberSlot, 3);

    // Objective lines, the newest first.
    generator->m_objectives.reset();
    auto exit = std::make_unique<ObjectivePoint>();
    exit->m_code = 5;
    exit->m_value = -1;
    exit->m_owner = 10;
    exit->m_x = 4;
    auto value = std::make_unique<ObjectivePoint>();
    value->m_code = 75;
    value->m_x = 1;
    value->m_y = 2;
    value->m_next = std::move(exit);
    generator->m_objectives = std::move(value);
    std::string objectives;
    generator->WriteObjectives(objectives);
    EXPECT_EQ(objectives, "2 1 2 75 \n5 4 0 -1 10 \n");
}

TEST_F(ScenarioWriterTest, SupportLinesFavourTheFirstTypes)
{
    auto generator = folder.Make(nullptr, nullptr);
    generator->m_airStrikes = { 3, 0 };
    Rolls({ { 100, 100 }, { 100, 100 }, { 100, 100 }, { 100, 100 }, { 100, 100 }, { 10, 100 }, { 10, 100 }, { 10, 100 },
        { 10, 100 }, { 10, 100 }, { 100, 100 }, { 50, 100 }, { 33, 100 }, { 26, 100 }, { 21, 100 } });
    std::string text;
    generator->WriteSupport(text, 10);
    generator->WriteSupport(text, 1);
    EXPECT_TRUE(folder.TookExactlyTheScript());
    EXPECT_EQ(text, "19 10501\n19 10505\n19 10503\n");
}

TEST_F(ScenarioWriterTest, OrganisationFile)
{
    auto force = MakeUnit("C1002001", 1);
    force->m_name = "Able Company\n";
    AttachChildUnit(MakeUnit("P10200", 2), *force)->m_name = "1st Platoon";
    AttachChildUnit(MakeUnit("P10200", 3), *force)->m_morale = 4;
    auto enemy = MakeUnit("B0112001", 4);
    enemy->m_name = "Empty";
    auto generator = folder.Make(force.get(), enemy.get(), 0, 6);
    generator->m_boats = MakeUnit("P01073", 5);
    generator->m_boats->m_name = "Boats";
    folder.context.campaign->g_unitCounter = 6;
    EXPECT_EQ(generator->OrganisationText(),
        "1\n6\n3 43\n"
        "C1002001 1 6 Able Company\n"
        "    P10200 2 6 1st Platoon\n"
        "    P10200 3 4 \n"
        "    End\n"
        "B0112001 4 6 Empty\n"
        "    End\n"
        "P01073 5 6 Boats\n");
}

TEST_F(ScenarioWriterTest, BoatsComeOnePerPlatoonAfterTheFirstChosenNode)
{
    auto force = MakeUnit("B1012001");
    UnitRecord* first = AttachChildUnit(MakeUnit("C1002001"), *force);
    AttachChildUnit(MakeRifles(), *first)->m_role = 0;
    UnitRecord* chosen = AttachChildUnit(MakeUnit("C1002002"), *force);
    chosen->m_role = 1;
    AttachChildUnit(MakeRifles(), *chosen)->m_role = 0;
    UnitRecord* after = AttachChildUnit(MakeUnit("C1002003"), *force);
    AttachChildUnit(MakeRifles(), *after)->m_role = 0;
    AttachChildUnit(MakeRifles(), *after)->m_role = 0;
    auto generator = folder.Make(force.get(), nullptr, 0, 6);
    folder.context.campaign->g_unitCounter = 50;
    auto boats = generator->MakeBoats(10, force.get());
    std::vector<std::int32_t> numbers;
    for (const UnitRecord* boat = boats.get(); boat; boat = boat->m_nextSibling.get()) {
        numbers.push_back(boat->m_number);
        EXPECT_EQ(boat->m_strength, 6);
        EXPECT_EQ(boat->m_size, 4);
        EXPECT_EQ(boat->m_name, "Boats");
    }
    EXPECT_EQ(numbers, (std::vector<std::int32_t> { 51, 50 }));
    EXPECT_EQ(generator->MakeBoats(23, force.get()), nullptr);
}

} // namespace
