// What the battle generator may choose from a force tree, what it costs, and
// the passes that choose, with scripted draws.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BattleGeneratorSupport.h"

namespace {

TEST(MissionTypeTest, NamesOfTheElevenTypesAndNoneBeyond)
{
    const std::pair<int, const char*> cases[]
        = { { 0, "" }, { 1, "Meeting Engagement" }, { 2, "Delaying Action" }, { 5, "Armored Breakthrough" },
              { 6, "River Crossing" }, { 7, "Bridgehead" }, { 11, "Mountain Pass" }, { 12, "" }, { -1, "" } };
    for (const auto& [type, name] : cases)
        EXPECT_EQ(GetMissionTypeName(static_cast<std::int16_t>(type)), name) << type;
}

// A division with every kind of node the rules tell apart.
struct EligibilityTree {
    EligibilityTree()
    {
        root->m_id = "D1042001";
        regiment2 = AddUnit(*root, "R1022001");
        platoonUnder2 = AddUnit(*regiment2, "P10200", 3, 5);
        regiment0 = AddUnit(*root, "R1020001");
        platoonUnder0 = AddUnit(*regiment0, "P10000", 3, 5);
        classThreeUnder0 = AddUnit(*regiment0, "P10300", 2, 5);
        regiment4 = AddUnit(*root, "R1024001");
        platoonUnder4 = AddUnit(*regiment4, "P10400", 1, 5);
        battalion = AddUnit(*root, "B1012001");
        company = AddFormation(*battalion, "C1002001", 3, "P10200");
        childless = AddUnit(*root, "C1002002");
        nestedPlatoon = AddUnit(*company->m_firstChild, "P10201");
    }

    std::unique_ptr<UnitRecord> root = MakeUnit("");
    UnitRecord* regiment2;
    UnitRecord* platoonUnder2;
    UnitRecord* regiment0;
    UnitRecord* platoonUnder0;
    UnitRecord* classThreeUnder0;
    UnitRecord* regiment4;
    UnitRecord* platoonUnder4;
    UnitRecord* battalion;
    UnitRecord* company;
    UnitRecord* childless;
    UnitRecord* nestedPlatoon;
};

TEST(ForceSelectionTest, EligibilityCostAndRoleOfEachKindOfNode)
{
    EligibilityTree tree;
    struct Case {
        const char* what;
        const UnitRecord* node;
        bool eligible;
        bool classThree;
        std::int32_t cost;
        int role;
    };
    const Case cases[] = {
        { "a formation whose subunits have subunits", tree.root.get(), false, false, 0, 2 },
        { "a formation of platoons only", tree.regiment2, true, false, 15, 2 },
        { "a company of platoons", tree.company, false, false, 60, 2 }, // one platoon has a platoon below
        { "a childless formation", tree.childless, true, false, 0, 2 },
        { "a battalion of companies", tree.battalion, false, false, 0, 2 },
        { "a platoon under a regiment of type 2", tree.platoonUnder2, false, false, 0, 2 },
        { "a platoon under a regiment of type 0", tree.platoonUnder0, true, false, 0, 0 },
        { "a class-3 platoon under a regiment of type 0", tree.classThreeUnder0, true, true, 0, 0 },
        { "a platoon under a regiment of type 4", tree.platoonUnder4, true, false, 0, 4 },
        { "a platoon under a platoon: the nearest formation's type", tree.nestedPlatoon, false, false, 0, 2 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IsEligibleForce(*c.node), c.eligible);
        EXPECT_EQ(IsClassThreePlatoon(*c.node), c.classThree);
        EXPECT_EQ(ForceCost(*c.node), c.cost);
        EXPECT_EQ(ForceRole(*c.node), c.role);
    }
    // The regiment of type 0: its two platoons' size x strength.
    EXPECT_EQ(ForceCost(*tree.regiment0), 25);
}

TEST(ForceSelectionTest, CostOfHostileSizesIsHeldToTheIntRange)
{
    auto root = MakeUnit("C1002001");
    AddUnit(*root, "P10200", 2'000'000'000, 2'000'000'000);
    AddUnit(*root, "P10200", 2'000'000'000, 2'000'000'000);
    EXPECT_EQ(ForceCost(*root), INT32_MAX);
}

TEST(ForceSelectionTest, CompanionsAreTheParentsFirstTwoClassThreePlatoonsUnlessItsTypeIsOne)
{
    struct Case {
        const char* parentId;
        const char* first;
        const char* second;
        bool firstMarked;
        bool secondMarked;
    };
    const Case cases[] = {
        { "B1012001", "P10300", "P10301", true, true },
        { "B1012001", "P10200", "P10301", false, true },
        { "B1011001", "P10300", "P10301", false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.parentId).append(" ").append(c.first).append(" ").append(c.second));
        auto parent = MakeUnit(c.parentId);
        UnitRecord* first = AddUnit(*parent, c.first);
        UnitRecord* second = AddUnit(*parent, c.second);
        UnitRecord* chosen = AddFormation(*parent, "C1002001", 1, "P10200");
        UnitRecord* third = AddUnit(*parent, "P10302");
        ChooseForce(*chosen);
        EXPECT_EQ(chosen->m_role, 1);
        EXPECT_EQ(first->m_role, c.firstMarked ? 1 : 0);
        EXPECT_EQ(second->m_role, c.secondMarked ? 1 : 0);
        EXPECT_EQ(third->m_role, 0) << "only the first two go along";
    }
}

// A regiment as a campaign's force below a division: the commander's own
// unit first under the player's formation (the regiment).
struct CampaignForce {
    CampaignForce()
    {
        root->m_id = "D1042001";
        root->m_name = "1st Infantry Division";
        AddFormation(*root, "R1022002", 2, "P10200"); // beside the player's formation
        formation = AddUnit(*root, "R1022001", 0, 5, "16th Infantry Regiment");
        commander = AddUnit(*formation, "P10405", 1, 1, "Commander");
        commander->m_role = 1;
        battalion = AddUnit(*formation, "B1012001", 0, 5, "1st Battalion");
        companyA = AddFormation(*battalion, "C1002001", 3, "P10200"); // 60
        companyB = AddFormation(*battalion, "C1002002", 1, "P10100", 2, 5); // 10
        reserved = AddUnit(*formation, "B1012002", 0, 5, "2nd Battalion");
        reserved->m_role = 2;
        reservedCompany = AddFormation(*reserved, "C1002001", 3, "P10200");
        loosePlatoon = AddUnit(*formation, "P10201", 3, 4); // 12
        classThree = AddUnit(*formation, "P10300", 6, 5);
    }

    std::unique_ptr<UnitRecord> root = MakeUnit("");
    UnitRecord* formation;
    UnitRecord* commander;
    UnitRecord* battalion;
    UnitRecord* companyA;
    UnitRecord* companyB;
    UnitRecord* reserved;
    UnitRecord* reservedCompany;
    UnitRecord* loosePlatoon;
    UnitRecord* classThree;
};

TEST(ForceSelectionTest, SelectForceUnderMarksThePlayersFormationsForceWithItsCost)
{
    CampaignForce force;
    // The commander's unit 1, both companies 60 + 10, the loose platoon 12;
    // nothing below the battalion marked 2, nor the class-3 platoon.
    EXPECT_EQ(SelectForceUnder(force.root.get(), "R1022001"), 83);
    EXPECT_EQ(force.commander->m_role, 1);
    EXPECT_EQ(force.companyA->m_role, 1);
    EXPECT_EQ(force.companyB->m_role, 1);
    EXPECT_EQ(force.companyA->m_firstChild->m_role, 0) << "a chosen company's platoons are not counted again";
    EXPECT_EQ(force.loosePlatoon->m_role, 1);
    EXPECT_EQ(force.battalion->m_role, 0);
    EXPECT_EQ(force.reservedCompany->m_role, 0);
    EXPECT_EQ(force.classThree->m_role, 0);
    EXPECT_EQ(force.root->m_firstChild->m_role, 0) << "the formation beside is not the player's";
}

TEST(ForceSelectionTest, NodesAreFoundByIdNotByName)
{
    CampaignForce force;
    EXPECT_EQ(FindOrgNodeByName(force.root.get(), "R1022001"), force.formation);
    EXPECT_EQ(FindOrgNodeByName(force.root.get(), "1012002"), force.reserved) << "a part of the id";
    EXPECT_EQ(FindOrgNodeByName(force.root.get(), "C1002001"), force.companyA) << "the first in preorder";
    EXPECT_EQ(FindOrgNodeByName(force.root.get(), "16th Infantry Regiment"), nullptr);
    EXPECT_EQ(FindOrgNodeByName(force.root.get(), ""), nullptr) << "nothing, not the root";
    EXPECT_EQ(FindOrgNodeByName(nullptr, "R1022001"), nullptr);

    std::string text = "before";
    EXPECT_EQ(GetOrgNodeText(text, force.root.get(), "R1022001"), 22u);
    EXPECT_EQ(text, "16th Infantry Regiment");
    text = "before";
    EXPECT_EQ(GetOrgNodeText(text, force.root.get(), "K1052001"), 0u);
    EXPECT_EQ(text, "before");
    EXPECT_EQ(SelectForceUnder(force.root.get(), "K1052001"), 0);
    EXPECT_EQ(SelectForceUnder(force.root.get(), ""), 0);
    EXPECT_EQ(force.companyA->m_role, 0);
}

// The passes on a battalion of two rifle companies (roles 2, costs 40 and
// 20) and a tank company (role 0, cost 30), with scripted draws.
class PassTest : public ::testing::Test {
protected:
    PassTest()
    {
        root->m_id = "B1012001";
        rifleA = AddFormation(*root, "C1002001", 2, "P10200"); // 40
        rifleA->m_name = "Able";
        rifleB = AddFormation(*root, "C1002002", 1, "P10200"); // 20
        rifleB->m_name = "Baker";
        tanks = AddFormation(*root, "C1000001", 1, "P10000", 6, 5); // 30
        tanks->m_name = "Tanks";
        generator = folder.Make(root.get(), nullptr);
    }

    // The log after the constructor's two lines.
    std::string PassLog() const
    {
        const std::string log = folder.Log();
        std::size_t at = log.find('\n');
        at = log.find('\n', at + 1);
        return log.substr(at + 1);
    }

    GeneratorFolder folder;
    std::unique_ptr<UnitRecord> root = MakeUnit("");
    UnitRecord* rifleA;
    UnitRecord* rifleB;
    UnitRecord* tanks;
    std::unique_ptr<BattleGenerator> generator;
};

TEST_F(PassTest, GeneralPassTakesADrawBelowPWhoseCostTheNeedCovers)
{
    RoleNeeds needs { 25, 0, 50, 0, 0, 0, 0, 0, 0, 0 };
    // Able: drawn 10 < 50 and 40 <= 50; Baker: drawn 50, not below p; Tanks:
    // drawn 1 but 30 > 25.
    folder.Script({ Draw100(10), Draw100(50), Draw100(1) });
    generator->GeneralPass(root.get(), needs, 50);
    EXPECT_TRUE(folder.TookExactlyTheScript()) << "one draw an eligible node whose need is not 0";
    EXPECT_EQ(rifleA->m_role, 1);
    EXPECT_EQ(rifleB->m_role, 0);
    EXPECT_EQ(tanks->m_role, 0);
    EXPECT_EQ(needs, (RoleNeeds { 25, 0, 10, 0, 0, 0, 0, 0, 0, 0 }));
    EXPECT_EQ(PassLog(),
        "considering force = C1002001 Able [40]\n"
        "force selected = C1002001 Able, cost = 40, role = 2\n"
        " 25 0 10 0 0 0 0 0 0 0\n"
        "considering force = C1002002 Baker [20]\n"
        "considering force = C1000001 Tanks [30]\n");
}

TEST_F(PassTest, GeneralPassSkipsChosenNodesAndNeedsOfZero)
{
    rifleA->m_role = 1;
    RoleNeeds needs { 0, 0, 100, 0, 0, 0, 0, 0, 0, 0 };
    // Tanks: role 0's need is 0, no draw.
    folder.Script({ Draw100(1), Draw100(1) });
    generator->GeneralPass(root.get(), needs, 90);
    EXPECT_TRUE(folder.TookExactlyTheScript());
    EXPECT_EQ(rifleB->m_role, 1);
    EXPECT_EQ(tanks->m_role, 0);
    EXPECT_EQ(needs[2], 80) << "the company chosen before is not paid again";
}

TEST_F(PassTest, GeneralPassWalksBelowAndBesideAChosenRegimentAndNeverTakesAClassThreePlatoon)
{
    auto regiment = MakeUnit("R1020001");
    regiment->m_name = "Armored";
    AddUnit(*regiment, "P10300", 2, 5, "Support");
    AddUnit(*regiment, "P10000", 3, 5, "Tanks");
    UnitRecord* beside = AddFormation(*root, "C1000002", 1, "P10000", 1, 5);
    regiment->m_nextSibling = std::move(root);
    RoleNeeds needs { 30, 0, 0, 0, 0, 0, 0, 0, 0, 0 };
    // The regiment (25), its class-3 platoon, its tank platoon (cost 0),
    // then the battalion beside it: the tank company (30 > 5), and C1000002 (5).
    folder.Script({ Draw100(1), Draw100(1), Draw100(1), Draw100(1), Draw100(1) });
    generator->GeneralPass(regiment.get(), needs, 25);
    EXPECT_TRUE(folder.TookExactlyTheScript());
    const UnitRecord* support = regiment->m_firstChild.get();
    EXPECT_EQ(regiment->m_role, 1);
    EXPECT_EQ(support->m_role, 1) << "a companion of its chosen sibling only";
    EXPECT_EQ(support->m_nextSibling->m_role, 1);
    EXPECT_EQ(tanks->m_role, 0);
    EXPECT_EQ(beside->m_role, 1);
    EXPECT_EQ(needs[0], 0);
    EXPECT_NE(PassLog().find("*considering force = P10300 Support [0]\n"), std::string::npos)
        << "a node without subunits is starred";
}

TEST_F(PassTest, RolePassTakesItsRoleWhateverTheCostAndStopsAtANeedOfZero)
{
    RoleNeeds needs { 0, 0, 30, 0, 0, 0, 0, 0, 0, 5 };
    // Able (role 2, 40 > 30) is taken, the need clamped at 0; the walk ends:
    // Baker and the tanks take no draw.
    folder.Script({ Draw100(84) });
    generator->RolePass(root.get(), needs, 85, 2);
    EXPECT_TRUE(folder.TookExactlyTheScript());
    EXPECT_EQ(rifleA->m_role, 1);
    EXPECT_EQ(rifleB->m_role, 0);
    EXPECT_EQ(needs, (RoleNeeds { 0, 0, 0, 0, 0, 0, 0, 0, 0, 5 }));
    EXPECT_EQ(PassLog(),
        "considering force (for borrow) = C1002001 Able [40]\n"
        "force selected = C1002001 Able, cost = 40, role = 2\n"
        " 0 0 0 0 0 0 0 0 0 5\n");
}

TEST_F(PassTest, RolePassDrawsForOtherRolesWithoutTakingThem)
{
    RoleNeeds needs { 10, 0, 100, 0, 0, 0, 0, 0, 0, 0 };
    // Role 0: Able and Baker are drawn (their need is not 0) but not of the
    // role; Baker's draw is not below p; the tanks are.
    folder.Script({ Draw100(1), Draw100(1), Draw100(90) });
    generator->RolePass(root.get(), needs, 90, 0);
    EXPECT_TRUE(folder.TookExactlyTheScript());
    EXPECT_EQ(rifleA->m_role, 0);
    EXPECT_EQ(rifleB->m_role, 0);
    EXPECT_EQ(tanks->m_role, 0);

    folder.Script({ Draw100(1), Draw100(1), Draw100(89) });
    generator->RolePass(root.get(), needs, 90, 0);
    EXPECT_TRUE(folder.TookExactlyTheScript());
    EXPECT_EQ(tanks->m_role, 1);
    EXPECT_EQ(needs[0], 0);

    RoleNeeds none { 0, 0, 100, 0, 0, 0, 0, 0, 0, 0 };
    folder.Script({});
    generator->RolePass(root.get(), none, 90, 0);
    EXPECT_TRUE(folder.TookExactlyTheScript()) << "a need of 0 does not descend";
}

TEST_F(PassTest, BorrowPassDrawsBelowTwiceTheNeedWithinTheRemainder)
{
    RoleNeeds needs { 0, 0, 30, 0, 0, 0, 0, 0, 0, 0 };
    std::int32_t remainder = 100;
    // Able: 59 < 60, taken (need -10, remainder 60); Baker: 20 is not below
    // 2 x -10; the tanks' need is 0.
    folder.Script({ Draw100(59), Draw100(20) });
    generator->BorrowPass(root.get(), needs, remainder);
    EXPECT_TRUE(folder.TookExactlyTheScript());
    EXPECT_EQ(rifleA->m_role, 1);
    EXPECT_EQ(rifleB->m_role, 0);
    EXPECT_EQ(needs[2], -10);
    EXPECT_EQ(remainder, 60);
    EXPECT_EQ(PassLog(),
        "considering force (for borrow) = C1002001 Able [40]\n"
        "force selected (with borrow) = C1002001 Able, cost = 40, role = 2\n"
        " 0 0 -10 0 0 0 0 0 0 0\n"
        "considering force (for borrow) = C1002002 Baker [20]\n");

    // A node chosen before can be taken again, while the remainder covers it.
    RoleNeeds again { 0, 0, 50, 0, 0, 0, 0, 0, 0, 0 };
    remainder = 30;
    folder.Script({ Draw100(1), Draw100(1) });
    generator->BorrowPass(root.get(), again, remainder);
    EXPECT_TRUE(folder.TookExactlyTheScript());
    EXPECT_EQ(again[2], 30) << "Able (40) is beyond the remainder, Baker (20) is not";
    EXPECT_EQ(rifleB->m_role, 1);
    EXPECT_EQ(remainder, 10);
}

TEST_F(PassTest, BorrowPassReturnsOnceTheRemainderIsSpentSkippingSubtreeAndSiblings)
{
    // Two battalions under a regiment; the remainder goes with Able, so
    // Baker and the tanks (Able's siblings) are not visited; the battalion
    // beside is.
    auto regiment = MakeUnit("R1022001");
    UnitRecord* battalion = AttachChildUnit(std::move(root), *regiment);
    UnitRecord* second = AddUnit(*regiment, "B1012002");
    UnitRecord* charlie = AddFormation(*second, "C1002003", 1, "P10200", 1, 5);
    RoleNeeds needs { 100, 0, 100, 0, 0, 0, 0, 0, 0, 0 };
    std::int32_t remainder = 40;
    folder.Script({ Draw100(1), Draw100(1) });
    generator->BorrowPass(regiment.get(), needs, remainder);
    EXPECT_TRUE(folder.TookExactlyTheScript());
    EXPECT_EQ(battalion->m_firstChild->m_role, 1);
    EXPECT_EQ(remainder, 0);
    EXPECT_EQ(charlie->m_role, 0) << "considered, but 5 is beyond a remainder of 0";
    EXPECT_EQ(needs[0], 100) << "the tanks were never drawn";
}

} // namespace
