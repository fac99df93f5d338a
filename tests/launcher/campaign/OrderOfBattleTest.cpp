// Loading formations from order-of-battle and platoon files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CampaignTestSupport.h"
#include "TestFiles.h"
#include "launcher/campaign/OrderOfBattle.h"

namespace {

// Model-format platoon lines: leaders, rifle, engineer and machine-gun
// platoons; the engineers' name has no comma part.
constexpr const char* kPlatoons10
    = "P10401 2 0  3 100 10 10  5 0  0 H 0 0 0 13 0 0 0 us_ltcol 30 2 3 0 0 0 42 1 45 8 3 3 3 Battalion Commander, Bn "
      "CO, Lieutenant Colonel\n"
      "P10400 1 0  3 100 10 10  5 0  0 H 0 0 0 13 1 0 0 us_captain 20 2 3 0 0 0 42 1 45 8 3 3 3 Company Commander, Co "
      "CO, Captain\n"
      "P10200 8 3  4  40 20 15  5 0  0 I 0 0 0 0 2 0 0 us_rifle 10 2 131 0 1 0 42 2 45 8 4 4 4 Rifle Platoon, Rifle "
      "Plt, M1 rifles\n"
      "P10201 7 4  4  40 20 15  5 0  0 E 0 0 0 1 3 0 0 us_engineer 14 2 131 0 3 0 42 1 45 8 4 4 4 Engineers\n"
      "P10100 4 1  3  30 25 20  4 0  0 W 0 0 0 2 4 0 0 us_hmg 12 2 131 4 1 8 42 1 45 8 3 3 3 Heavy Machine Gun "
      "Platoon, "
      "HMG Plt, M1917A1\n"
      "P10300 4 0  3 100  0  0  0 0  0 F 0 0 0 10 14 0 0 us_how 30 0 0 24 0 0 39 9 45 5 3 3 3 Howitzers, How Btry, "
      "105 mm\n";

constexpr const char* kCompany10 = "[Companies of the tests]\n"
                                   "42 11 45 5 C1002001 Rifle Company\n"
                                   "42 11 45 5 P10400 Headquarters\n"
                                   "42 11 43 4 + P10200 $(0-1) Platoon\n"
                                   "43 5 45 5 P10201 Engineer Platoon\n"
                                   "42 11 45 5 P10100 MG Platoon\n"
                                   "42 11 42 12 P10300 Gone before the campaign\n"
                                   "\n"
                                   "42 11 45 5 C1002002 Weapons Company\n"
                                   "42 11 45 5 P10400 Headquarters\n"
                                   "\n"
                                   "42 11 45 5 P10100 MG Platoon after the end\n";

constexpr const char* kBattalion10 = "42 11 45 5 B1012001 Rifle Battalion\n"
                                     "42 11 45 5 P10401 Battalion Headquarters\n"
                                     "42 11 45 5 C1002001 8 Able Company\n"
                                     "42 11 45 5 C1002002 Weapons Company\n"
                                     "42 11 45 5 C1002999 Never offered\n"
                                     "\n"
                                     "42 11 45 5 + B1012002 Looping Battalion\n"
                                     "44 1 45 5 B1012002 Its variant\n"
                                     "42 11 45 5 P10401 Battalion Headquarters\n"
                                     "42 11 45 5 B1012002 Itself again\n"
                                     "\n"
                                     "42 11 45 5 B1012003 Battalion with a missing company\n"
                                     "42 11 45 5 C1002077 Nowhere Company\n";

class OrderOfBattleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test.folder.Write("platoon10.obx", ScrambleText(kPlatoons10));
        test.folder.Write("Company10.OOB", kCompany10);
        test.folder.Write("BATTALION10.oob", kBattalion10);
    }

    std::unique_ptr<UnitRecord> Load(std::string_view id, std::int32_t date = 430201)
    {
        return LoadFormationFromOob(test.context, base, date, 10, id);
    }

    CampaignTestFolder test;
    LevelNumberBase base;
};

TEST_F(OrderOfBattleTest, LoadsTheFormationWithItsSubunitsAtTheDate)
{
    const auto root = Load("B1012001");
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(test.messages.empty());
    // Numbers: the root's line takes 0; each subunit line one in file order
    // (the variant line too); the withheld line none.
    EXPECT_EQ(DescribeTree(root.get()),
        "B1012001 #0 'Rifle Battalion' '' s5/0 z92 m6 421100-450500 v0,0\n"
        "  P10401 #1 'Battalion Headquarters' 'Bn CO' s2/2 z30 m6 421100-450500 v2,3\n"
        "  C1002001 #2 'Able Company' '' s5/0 z42 m8 421100-450500 v0,0\n"
        "    P10400 #3 'Headquarters' 'Co CO' s1/1 z20 m8 421100-450500 v2,3\n"
        "    P10200 #4 '1st Platoon' 'Rifle Plt' s8/8 z10 m8 421100-430400 v2,131 +P10201'Engineer Platoon'\n"
        "    P10100 #6 'MG Platoon' 'HMG Plt' s4/4 z12 m8 421100-450500 v2,131\n"
        "  C1002002 #8 'Weapons Company' '' s5/0 z20 m6 421100-450500 v0,0\n"
        "    P10400 #9 'Headquarters' 'Co CO' s1/1 z20 m6 421100-450500 v2,3\n");
    EXPECT_EQ(test.context.g_unitCounter, 10);
    EXPECT_EQ(root->m_lastChild->m_id, "C1002002");
}

TEST_F(OrderOfBattleTest, TheVariantValidAtTheDateIsTakenAndOnePastEveryWindowIsNot)
{
    const auto root = Load("B1012001", 430501);
    ASSERT_NE(root, nullptr);
    const UnitRecord* platoon = FindUnitById(root.get(), "P10201");
    ASSERT_NE(platoon, nullptr);
    EXPECT_EQ(platoon->m_name, "Engineer Platoon");
    EXPECT_EQ(platoon->m_leader, "") << "no second comma part";
    EXPECT_EQ(CountSuccessors(*platoon), 0);
    EXPECT_EQ(FindUnitById(root.get(), "P10200"), nullptr);
    EXPECT_EQ(FindUnitById(root.get(), "P10300"), nullptr) << "out of its window";
    // A day past the last month of every window: nothing but the formation.
    const auto late = Load("B1012001", 450601);
    ASSERT_NE(late, nullptr);
    EXPECT_EQ(late->m_firstChild, nullptr);
    EXPECT_EQ(late->m_size, 0);
}

TEST_F(OrderOfBattleTest, MissingFormationsFilesAndSubunitsAreHandled)
{
    EXPECT_EQ(Load("B1012099"), nullptr);
    EXPECT_EQ(Load("D1042001"), nullptr) << "no division file";
    EXPECT_EQ(test.messages, (std::vector<ShownMessage> { { "No Units on File", "" }, { "No Units on File", "" } }));
    const auto root = Load("B1012003");
    ASSERT_NE(root, nullptr);
    ASSERT_NE(root->m_firstChild, nullptr);
    EXPECT_EQ(root->m_firstChild->m_id, "C1002077");
    EXPECT_EQ(root->m_firstChild->m_firstChild, nullptr);
    EXPECT_EQ(root->m_size, 0);
}

TEST_F(OrderOfBattleTest, ACycleIsRefusedWithNoTreeLeft)
{
    EXPECT_EQ(Load("B1012002"), nullptr);
    ASSERT_EQ(test.messages.size(), 1u);
    EXPECT_EQ(test.messages[0], (ShownMessage { "Formation B1012002 is nested more than 16 deep", "Load Error" }));

    UnitRecord unit;
    unit.m_id = "B1012002";
    unit.m_size = 3;
    EXPECT_EQ(LoadFormationChildren(test.context, base, unit, 430201), -1);
    EXPECT_EQ(unit.m_firstChild, nullptr) << "nothing attached";
    EXPECT_EQ(unit.m_size, 3);
}

TEST_F(OrderOfBattleTest, TheRootsVariantMarkReadsNoVariantAndItsLineIsNoSubunit)
{
    test.folder.Write("Regiment10.OOB",
        "42 11 45 5 + R1022005 Old Regiment\n"
        "44 1 45 5 + R1022005 New Regiment\n"
        "45 1 45 5 R1022005 Newest Regiment\n"
        "42 11 45 5 P10401 Headquarters\n");
    for (const std::int32_t date : { 430201, 440201 }) {
        const auto root = Load("R1022005", date);
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(root->m_name, "Old Regiment") << "the first line with the id";
        EXPECT_EQ(root->m_nextSuccessor, nullptr);
        ASSERT_NE(root->m_firstChild, nullptr);
        EXPECT_EQ(root->m_firstChild->m_id, "P10401") << "the variant lines are no subunits";
        EXPECT_EQ(root->m_firstChild->m_nextSibling, nullptr);
    }
}

TEST_F(OrderOfBattleTest, ChildrenLoadBelowAnExistingNode)
{
    UnitRecord unit;
    unit.m_id = "C1002001";
    unit.m_morale = 9;
    EXPECT_EQ(LoadFormationChildren(test.context, base, unit, 430501), 20 + 14 + 12);
    EXPECT_EQ(unit.m_size, 46);
    ASSERT_NE(unit.m_firstChild, nullptr);
    EXPECT_EQ(unit.m_firstChild->m_parent, &unit);
    EXPECT_EQ(unit.m_firstChild->m_morale, 9) << "raised to the parent's";
    EXPECT_EQ(unit.m_lastChild->m_id, "P10100");
}

TEST_F(OrderOfBattleTest, CachedAndUncachedLoadsGiveTheSameTreesAndDraws)
{
    test.folder.Write("company10.txt", "Able\nBaker\nCharlie\n");
    test.folder.Write("Company10.OOB",
        std::string(kCompany10)
            + "\n42 11 45 5 C1002003 Drawn\n42 11 45 5 P10200 & "
              "Platoon\n42 11 45 5 P10200 $ Platoon\n");
    auto run = [&](bool cache) {
        CampaignTestFolder other;
        for (const auto& entry : std::filesystem::directory_iterator(test.folder.Path()))
            std::filesystem::copy_file(entry.path(), other.folder.Path() / entry.path().filename());
        other.context.cacheFiles = cache;
        std::string trees;
        for (int i = 0; i < 3; ++i) {
            trees += DescribeTree(LoadFormationFromOob(other.context, base, 430201, 10, "B1012001").get());
            UnitRecord unit;
            unit.m_id = "C1002003";
            LoadFormationChildren(other.context, base, unit, 430201);
            trees += DescribeTree(&unit);
        }
        return trees + "next draw " + std::to_string(other.random.NextValue());
    };
    const std::string cached = run(true);
    EXPECT_EQ(cached, run(false));
    EXPECT_NE(cached.find("Platoon' 'Rifle Plt'"), std::string::npos);
}

TEST_F(OrderOfBattleTest, AChangedFileIsReadAgain)
{
    UnitRecord first;
    first.m_id = "C1002002";
    EXPECT_EQ(LoadFormationChildren(test.context, base, first, 430201), 20);
    test.folder.Write("Company10.OOB", "42 11 45 5 C1002002 Weapons Company\n42 11 45 5 P10100 MG\n");
    SetFileTime(test.folder.Path("Company10.OOB"), 100);
    test.folder.Write("platoon10.obx",
        ScrambleText(std::string(kPlatoons10).replace(std::string(kPlatoons10).find("us_hmg 12"), 9, "us_hmg 99")));
    SetFileTime(test.folder.Path("platoon10.obx"), 100);
    UnitRecord second;
    second.m_id = "C1002002";
    EXPECT_EQ(LoadFormationChildren(test.context, base, second, 430201), 99);
}

TEST_F(OrderOfBattleTest, PlatoonLinesMatchTheTypeNumberExactly)
{
    test.folder.Write("platoon01.obx",
        ScrambleText("P1401 2 0 3 100 10 10 5 0 0 H 0 0 0 13 0 0 0 de_major 30 2 3 0 0 0 39 9 45 5 3 3 3 Battalion "
                     "Commander, Btl Kdr, Major\n"
                     "P14010 5 0 3 100 10 10 5 0 0 H 0 0 0 13 0 0 0 de_x 31 1 1 1 1 0 40 1 41 2 3 3 3 Other, Other, "
                     "Other\n"));
    struct Case {
        const char* id;
        bool found;
        const char* held;
    };
    const Case cases[] = { { "P01401", true, "P01401" }, { "P1401", true, "P01401" }, { "P001401", true, "P01401" },
        { "P0140", false, "" }, { "P014010", false, "" } /* nation 14 */, { "P01402", false, "" },
        { "C01401", false, "" }, { "P", false, "" }, { "P99999999999", false, "" } };
    for (const bool cache : { true, false }) {
        test.context.cacheFiles = cache;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.id) + (cache ? " cached" : " read"));
            UnitRecord record;
            record.m_id = "unchanged";
            record.m_number = -4;
            record.m_strength = 77;
            const std::int32_t counter = test.context.g_unitCounter;
            EXPECT_EQ(FindPlatoonLine(test.context, record, c.id), c.found);
            if (!c.found) {
                EXPECT_EQ(record.m_id, "unchanged");
                EXPECT_EQ(record.m_number, -4);
                EXPECT_EQ(record.m_strength, 77);
                EXPECT_EQ(test.context.g_unitCounter, counter);
                continue;
            }
            EXPECT_EQ(record.m_id, c.held);
            EXPECT_EQ(record.m_number, counter);
            EXPECT_EQ(test.context.g_unitCounter, counter + 1);
        }
    }
}

TEST_F(OrderOfBattleTest, APlatoonLineFillsTheRecordFromItsFields)
{
    UnitRecord record;
    record.m_firstChild = MakeUnit("P1");
    record.m_nextSibling = MakeUnit("P2");
    ASSERT_TRUE(FindPlatoonLine(test.context, record, "P10100"));
    EXPECT_EQ(record.m_strength, 4);
    EXPECT_EQ(record.m_fullStrength, 4);
    EXPECT_EQ(record.m_size, 12) << "the unit value";
    EXPECT_EQ(record.m_oobValues, (std::array<std::int32_t, 4> { 2, 131, 4, 1 }));
    EXPECT_EQ(record.m_availableFrom, 420100);
    EXPECT_EQ(record.m_availableTo, 450800);
    EXPECT_EQ(record.m_leader, "HMG Plt");
    EXPECT_EQ(record.m_firstChild, nullptr);
    EXPECT_EQ(record.m_nextSibling, nullptr);

    UnitRecord unknown;
    unknown.m_id = "P10999";
    unknown.m_strength = 5;
    EXPECT_FALSE(RefreshPlatoonFromFile(test.context, unknown));
    EXPECT_EQ(unknown.m_strength, 5);
    EXPECT_EQ(unknown.m_size, 0);
}

TEST_F(OrderOfBattleTest, ShortAndBrokenPlatoonLinesAreNeverTaken)
{
    test.folder.Write("platoon10.obx",
        ScrambleText("P10100 4 1 3 30 25 20\n"
                     "P10100 x\n"
                     "\n"
                     "P10100 4 1 3 30 25 20 4 0 0 W 0 0 0 2 4 0 0 us_hmg 12 2 131 4 1 8 "
                     "42 1 45 8 3 3 3 Good, Line\n"));
    for (const bool cache : { true, false }) {
        test.context.cacheFiles = cache;
        UnitRecord record;
        ASSERT_TRUE(FindPlatoonLine(test.context, record, "P10100"));
        EXPECT_EQ(record.m_leader, "Line");
    }
}

TEST_F(OrderOfBattleTest, FilesAreFoundByLevelNationAndPlainName)
{
    EXPECT_EQ(OpenOobFile(test.context, "C1002001")->filename(), "Company10.OOB");
    EXPECT_EQ(OpenOobFile(test.context, "B1012001")->filename(), "BATTALION10.oob");
    EXPECT_EQ(OpenOobFile(test.context, "P10100")->filename(), "platoon10.obx");
    EXPECT_FALSE(OpenOobFile(test.context, "C0902001").has_value());
    test.folder.Write("company.oob", "");
    test.folder.Write("platoon.obx", "");
    test.folder.Write("army.oob", "");
    EXPECT_EQ(OpenOobFile(test.context, "C0902001")->filename(), "company.oob");
    EXPECT_EQ(OpenOobFile(test.context, "P09100")->filename(), "platoon.obx");
    EXPECT_EQ(OpenOobFile(test.context, "A0962001")->filename(), "army.oob");
    EXPECT_EQ(OpenOobFile(test.context, "X0962001")->filename(), "army.oob");
    EXPECT_FALSE(OpenOobFile(test.context, "").has_value());
}

TEST_F(OrderOfBattleTest, CorpsListsOfferTheValidCorpsOfTheNationAndType)
{
    test.folder.Write("Campaign10.OOB",
        "42 11 45 5 K1052001 II Corps\n"
        "42 11 45 5 P10401 HQ\n"
        "42 11 45 5 D1042001 $(0-1) Infantry Division\n"
        "\n"
        "42 11 45 5 K1050001 I Armored Corps\n"
        "42 11 45 5 K1052002 $(6-7). Corps\n"
        "44 1 45 5 K1052003 Later Corps\n"
        "42 11 45 5 K1052999 Withheld Corps\n"
        "42 11 45 5 K0152001 Foreign Corps\n"
        "42 11 45 5 K1052004 #)Bracketed Corps\n");
    const std::vector<FormationListRow> rows = ListCampaignFormations(test.context, base, 10, 5, 430201, 2);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "II Corps");
    EXPECT_EQ(rows[0].id, "K1052001");
    EXPECT_EQ(rows[1].name, "Corps");
    EXPECT_EQ(rows[2].name, "Bracketed Corps");
    EXPECT_EQ(ListCampaignFormations(test.context, base, 10, 5, 430201, 0).size(), 1u);
    EXPECT_EQ(test.context.g_unitCounter, 0) << "listing makes no units";
}

} // namespace
