// Units giving way to their later variants as the date passes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CampaignTestSupport.h"
#include "TestFiles.h"
#include "launcher/campaign/CampaignDates.h"
#include "launcher/campaign/ForceUpgrade.h"

namespace {

constexpr const char* kPlatoons10
    = "P10400 1 0  3 100 10 10  5 0  0 H 0 0 0 13 1 0 0 us_captain 20 2 3 0 0 0 42 1 45 8 3 3 3 Company Commander, Co "
      "CO, Captain\n"
      "P10200 8 3  4  40 20 15  5 0  0 I 0 0 0 0 2 0 0 us_rifle 10 2 131 0 1 0 42 2 45 8 4 4 4 Rifle Platoon, Rifle "
      "Plt, M1 rifles\n";

constexpr const char* kBattalions10 = "42 11 45 5 B1012005 New Battalion\n"
                                      "42 11 45 5 C1002011 # Company\n"
                                      "42 11 45 5 C1002012 #.Company\n"
                                      "\n"
                                      "42 11 45 5 B1012007 Same-id Battalion\n"
                                      "42 11 45 5 C1002001 Able Company\n"
                                      "\n"
                                      "42 11 45 5 B1012008 Other Battalion\n"
                                      "42 11 45 5 C1001011 Baker Company\n";

constexpr const char* kCompanies10 = "42 11 45 5 C1002011 Company\n"
                                     "42 11 45 5 P10400 Headquarters\n"
                                     "42 11 45 5 P10200 Rifle\n"
                                     "42 11 45 5 P10200 Rifle\n"
                                     "\n"
                                     "42 11 45 5 C1002012 Company\n"
                                     "42 11 45 5 P10200 Rifle\n"
                                     "\n"
                                     "42 11 45 5 C1002001 Able\n"
                                     "42 11 45 5 P10200 Rifle\n"
                                     "\n"
                                     "42 11 45 5 C1001011 Baker\n"
                                     "42 11 45 5 P10200 Rifle\n";

constexpr std::int32_t kDate = 430601;

std::unique_ptr<UnitRecord> MakeVariant(std::string id, std::int32_t from, std::int32_t to, std::string name = {})
{
    auto unit = MakeUnit(std::move(id));
    unit->m_availableFrom = from;
    unit->m_availableTo = to;
    unit->m_name = std::move(name);
    return unit;
}

UnitRecord* AddPlatoon(UnitRecord& parent, std::string id, std::int32_t number, std::int32_t experience,
    std::int32_t morale, std::int16_t role = 0)
{
    auto unit = MakeUnit(std::move(id), number);
    unit->m_experience = experience;
    unit->m_morale = morale;
    unit->m_role = role;
    return AttachChildUnit(std::move(unit), parent);
}

class ForceUpgradeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test.folder.Write("platoon10.obx", ScrambleText(kPlatoons10));
        test.folder.Write("Battalion10.OOB", kBattalions10);
        test.folder.Write("Company10.OOB", kCompanies10);
        test.context.g_campaign.m_formationId = "C1002001";
        test.context.g_unitCounter = 1000;
        // A corps holding the old battalion (the player's company with the
        // commander's unit first) and a sibling battalion.
        root = MakeUnit("K1052001");
        battalion = AttachChildUnit(MakeVariant("B1012004", 420100, 430100, "3rd Battalion"), *root);
        UnitRecord* company = AttachChildUnit(MakeUnit("C1002001", 400), *battalion);
        company->m_role = 2;
        AddPlatoon(*company, "P10401", 500, 3, 7, 1);
        AddPlatoon(*company, "P10200", 501, 50, 8);
        AddPlatoon(*company, "P10200", 502, 60, 7);
        sibling = AttachChildUnit(MakeVariant("B1012009", 420100, 450500, "Sibling Battalion"), *root);
        AddPlatoon(*sibling, "P10200", 503, 99, 9);
    }

    bool Upgrade() { return UpgradeForceUnits(test.context, base, root.get(), kDate); }

    CampaignTestFolder test;
    LevelNumberBase base;
    std::unique_ptr<UnitRecord> root;
    UnitRecord* battalion = nullptr;
    UnitRecord* sibling = nullptr;
};

TEST_F(ForceUpgradeTest, NeedsUpgradeAsksForSuccessorsAndADateOutsideTheWindow)
{
    EXPECT_FALSE(NeedsUpgrade(*battalion, kDate)) << "no successors";
    battalion->m_nextSuccessor = MakeVariant("B1012005", 430200, 450500);
    EXPECT_TRUE(NeedsUpgrade(*battalion, kDate));
    EXPECT_FALSE(NeedsUpgrade(*battalion, 430131)) << "its last month counts whole";
    EXPECT_FALSE(NeedsUpgrade(*battalion, 420100));
}

TEST_F(ForceUpgradeTest, CasesThatReplaceNothingLeaveTheForceAsItWas)
{
    struct Case {
        const char* what;
        std::int32_t ownTo;
        std::vector<const char*> successors; // each valid from 430200 unless "late"
    };
    const Case cases[] = {
        { "own window still holds the date", 440100, { "B1012005" } },
        { "same id", 430100, { "B1012004", "B1012005" } },
        { "no window holds the date", 430100, { "late" } },
        { "no formation matches the player's", 430100, { "B1012008" } },
    };
    for (const Case& c : cases) {
        SetUp();
        battalion->m_availableTo = c.ownTo;
        std::unique_ptr<UnitRecord>* link = &battalion->m_nextSuccessor;
        for (const std::string id : c.successors) {
            *link = id == "late" ? MakeVariant("B1012005", 440100, 450500) : MakeVariant(id, 430200, 450500);
            link = &(*link)->m_nextSuccessor;
        }
        test.context.g_templateNumber = 5;
        const std::string before = DescribeTree(root.get());
        EXPECT_FALSE(Upgrade()) << c.what;
        EXPECT_EQ(DescribeTree(root.get()), before) << c.what;
        EXPECT_EQ(root->m_firstChild.get(), battalion) << c.what;
        EXPECT_EQ(test.context.g_campaign.m_formationId, "C1002001") << c.what;
        EXPECT_EQ(test.context.g_templateNumber, 5) << c.what;
        for (const UnitRecord* next = battalion->m_nextSuccessor.get(); next; next = next->m_nextSuccessor.get())
            EXPECT_EQ(next->m_firstChild, nullptr) << c.what << ": nothing left loaded below a successor";
    }
}

TEST_F(ForceUpgradeTest, TheBattalionGivesWayWithTheCommanderInTheRenumberedFormation)
{
    battalion->m_nextSuccessor = MakeVariant("B1012006", 410100, 420100, "Too early");
    battalion->m_nextSuccessor->m_nextSuccessor = MakeVariant("B1012005", 430200, 450500, "New Battalion");
    battalion->m_nextSuccessor->m_nextSuccessor->m_nextSuccessor = MakeVariant("B1012010", 450600, 460500);
    ASSERT_TRUE(Upgrade());

    UnitRecord* placed = root->m_firstChild.get();
    ASSERT_EQ(placed->m_id, "B1012005");
    EXPECT_EQ(placed->m_parent, root.get());
    EXPECT_EQ(placed->m_nextSibling.get(), sibling);
    EXPECT_EQ(root->m_lastChild, sibling);
    ASSERT_NE(placed->m_nextSuccessor, nullptr);
    EXPECT_EQ(placed->m_nextSuccessor->m_id, "B1012010") << "the rest of the list stays";
    EXPECT_EQ(test.context.g_campaign.m_formationId, "C1002011") << "the last three characters changed";

    std::string shape;
    for (const UnitRecord* company = placed->m_firstChild.get(); company; company = company->m_nextSibling.get()) {
        EXPECT_EQ(company->m_parent, placed);
        shape += company->m_id + " '" + company->m_name + "':";
        for (const UnitRecord* unit = company->m_firstChild.get(); unit; unit = unit->m_nextSibling.get()) {
            EXPECT_EQ(unit->m_parent, company);
            shape += " " + unit->m_id + " " + std::to_string(unit->m_experience) + "/" + std::to_string(unit->m_morale);
        }
        EXPECT_EQ(company->m_lastChild->m_nextSibling, nullptr);
        shape += "\n";
    }
    // The commander's unit first and with its own values; the platoons by
    // position from the old subtree's roster (502, 501, the old company),
    // every family starting again.
    EXPECT_EQ(shape,
        "C1002011 '3rd Company': P10401 3/7 P10400 60/7 P10200 50/8 P10200 0/6\n"
        "C1002012 '3.Company': P10200 60/7\n");
    EXPECT_EQ(placed->m_firstChild->m_firstChild->m_number, 500);
    EXPECT_EQ(sibling->m_firstChild->m_experience, 99) << "siblings are not part of the roster";
}

TEST_F(ForceUpgradeTest, TheCommanderReturnsToAFormationOfTheSameId)
{
    battalion->m_nextSuccessor = MakeVariant("B1012007", 430200, 450500, "Same-id Battalion");
    ASSERT_TRUE(Upgrade());
    const UnitRecord* formation = FindUnitById(root.get(), "C1002001");
    ASSERT_NE(formation, nullptr);
    EXPECT_EQ(formation->m_parent->m_id, "B1012007");
    ASSERT_NE(formation->m_firstChild, nullptr);
    EXPECT_EQ(formation->m_firstChild->m_number, 500);
    EXPECT_EQ(formation->m_firstChild->m_nextSibling->m_id, "P10200");
    EXPECT_EQ(formation->m_lastChild, formation->m_firstChild->m_nextSibling.get());
    EXPECT_EQ(test.context.g_campaign.m_formationId, "C1002001");
}

TEST_F(ForceUpgradeTest, ANameWithoutANumberKeepsTheRememberedNumber)
{
    battalion->m_name = "Rifle Battalion";
    battalion->m_nextSuccessor = MakeVariant("B1012005", 430200, 450500);
    test.context.g_templateNumber = 7;
    ASSERT_TRUE(Upgrade());
    EXPECT_EQ(root->m_firstChild->m_firstChild->m_name, "7th Company");
}

TEST_F(ForceUpgradeTest, TheRootIsNeverReplacedButPlatoonsAreAnywhereBelowIt)
{
    root->m_availableFrom = 420100;
    root->m_availableTo = 430100;
    root->m_nextSuccessor = MakeVariant("K1052002", 430200, 450500);
    // The last platoons of the player's company and of the sibling.
    UnitRecord* company = battalion->m_firstChild.get();
    company->m_lastChild->m_availableTo = 430100;
    company->m_lastChild->m_nextSuccessor = MakeVariant("P10100", 430200, 450500, "New Platoon");
    sibling->m_firstChild->m_availableTo = 430100;
    sibling->m_firstChild->m_nextSuccessor = MakeVariant("P10100", 430200, 450500, "Other New Platoon");
    EXPECT_FALSE(UpgradeUnit(test.context, base, *root, kDate));
    ASSERT_TRUE(Upgrade());
    EXPECT_EQ(root->m_id, "K1052001");
    ASSERT_NE(root->m_nextSuccessor, nullptr);
    EXPECT_EQ(company->m_lastChild->m_name, "New Platoon");
    EXPECT_EQ(company->m_lastChild->m_parent, company);
    EXPECT_EQ(company->m_firstChild->m_nextSibling->m_nextSibling.get(), company->m_lastChild);
    EXPECT_EQ(sibling->m_firstChild->m_name, "Other New Platoon");
    EXPECT_EQ(sibling->m_lastChild, sibling->m_firstChild.get());
    EXPECT_FALSE(Upgrade()) << "nothing left to replace";
}

} // namespace
