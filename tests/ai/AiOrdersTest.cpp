// The order records and summaries per organisation node, and "main.ai".

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "tests/ai/AiGame.h"

namespace fs = std::filesystem;

namespace {

using Values = std::array<int, kAiParameterCount>;
constexpr Values kDefaults = { 12, 6, 4, 6, 0, 2, 0, 70, 90, 2, 4 };

Values With(Values values, int index, int value)
{
    values[static_cast<std::size_t>(index)] = value;
    return values;
}

class MainAiTest : public AiGameTest {
protected:
    Values Read()
    {
        EXPECT_EQ(Game().ReloadKeepingBattle().str(), "");
        return Game().m_aiParameters.values;
    }
};

} // namespace

TEST_F(MainAiTest, ValuesAreReadInOrderUntilOneCannotBeRead)
{
    struct Case {
        const char* name;
        std::optional<std::string> text; // none: no file
        Values expected;
    };
    const Case cases[] = {
        { "main.ai", std::nullopt, kDefaults },
        { "main.ai", "10 5", With(With(kDefaults, 0, 10), 1, 5) },
        { "main.ai", "20 7 1 2 3 4 5 60 80 3 5\n", { 20, 7, 1, 2, 3, 4, 5, 60, 80, 3, 5 } },
        { "main.ai", "20\n7\n1 x 3 4 5 6 7 8 9\n", With(With(With(kDefaults, 0, 20), 1, 7), 2, 1) },
        { "main.ai", "20 7 99999999999 2 3", With(With(kDefaults, 0, 20), 1, 7) },
        { "main.ai", "# notes first\n20 7", kDefaults },
        { "main.ai", "20\r\n7\r\n1\r\n", With(With(With(kDefaults, 0, 20), 1, 7), 2, 1) },
        { "MAIN.AI", "20 7", With(With(kDefaults, 0, 20), 1, 7) },
        { "main.ai", "", kDefaults },
        { "main.ai", "12 6 4 6 0 2 0 70 90 2 4 13 14\nnotes after the values\n", kDefaults },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.value_or("(missing)"));
        fs::remove(m_dir.Path("main.ai"));
        if (c.text)
            m_dir.Write(c.name, *c.text);
        EXPECT_EQ(Read(), c.expected);
        fs::remove(m_dir.Path(c.name));
    }
}

TEST_F(MainAiTest, ValuesOutOfRangeKeepTheirDefaultsAndTheNextValuesAreStillRead)
{
    struct Case {
        int index;
        int value;
    };
    const Case cases[] = {
        { 0, 1 },
        { 0, 128 },
        { 0, -12 },
        { 1, -1 },
        { 1, 1001 },
        { 2, -1001 },
        { 3, 1001 },
        { 4, 5000 },
        { 5, -5000 },
        { 6, 1001 },
        { 7, -1 },
        { 7, 101 },
        { 8, -1 },
        { 8, 1000 },
        { 9, 1001 },
        { 10, -1001 },
    };
    // Every value in range and unlike its default.
    const Values inRange = { 2, 0, -1000, 1000, 1, 3, 5, 0, 100, -1000, 1000 };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "w" << c.index << " = " << c.value);
        std::string text;
        for (int i = 0; i < kAiParameterCount; ++i)
            text += std::to_string(i == c.index ? c.value : inRange[static_cast<std::size_t>(i)]) + ' ';
        m_dir.Write("main.ai", text);
        EXPECT_EQ(Read(), With(inRange, c.index, kDefaults[static_cast<std::size_t>(c.index)]));
    }
}

TEST_F(MainAiTest, ReachOfAnOrderKind)
{
    m_dir.Write("main.ai", "20 7 1 2 3 4 5 60 80 3 5");
    Read();
    const AiParameters& parameters = Game().m_aiParameters;
    const int expected[][2] = { { -1, 0 }, { 0, 1 }, { 1, 2 }, { 4, 5 }, { 5, 60 }, { 8, 5 }, { 9, 0 }, { 1000, 0 } };
    for (const auto& [kind, reach] : expected)
        EXPECT_EQ(parameters.Get(kind), reach) << "kind " << kind;
}

TEST_F(MainAiTest, AnEditIsSeenAndReadButAFileMadeAfterALoadWithoutOneIsNotWatched)
{
    using namespace std::chrono_literals;
    const fs::path file = m_dir.Path("main.ai");
    m_dir.Write("main.ai", "20 7");
    SetFileTime(file, 100);
    EXPECT_EQ(Read()[0], 20);
    EXPECT_FALSE(Game().CheckFilesChanged());

    m_dir.Write("main.ai", "30 7");
    SetFileTime(file, 50);
    EXPECT_TRUE(Game().CheckFilesChanged());
    EXPECT_FALSE(Game().CheckFilesChanged()) << "one change is reported once";
    EXPECT_EQ(Read()[0], 30);

    fs::remove(file);
    EXPECT_EQ(Read(), kDefaults);
    m_dir.Write("main.ai", "40 7");
    SetFileTime(file, 10);
    EXPECT_FALSE(Game().CheckFilesChanged()) << "missing at the last load: not watched";
    EXPECT_EQ(Read()[0], 40) << "but the next reload reads it";
}

// ---- Records ----

class OrderRecordsTest : public AiGameTest {
protected:
    AiOrder Order(int kind, HexPos target, HexPos second = { -1, -1 }, const OrgNode* ordering = nullptr)
    {
        AiOrder order;
        order.orderingNode = ordering;
        order.kind = kind;
        order.target = target;
        order.second = second;
        return order;
    }
};

TEST_F(OrderRecordsTest, EveryNodeHoldsAfterEachReloadOfTheTree)
{
    Load(AiScenario());
    CGame& game = Game();
    ASSERT_EQ(game.GetNodeCount(), 17);
    EXPECT_EQ(game.GetNodeAt(0), Node(100)) << "tree order, parents first";
    EXPECT_EQ(game.GetNodeAt(1), Node(101));
    EXPECT_EQ(game.GetNodeAt(2), Node(110));
    for (int index = 0; index < game.GetNodeCount(); ++index) {
        const AiOrder order = game.GetOrder(game.GetNodeAt(index));
        EXPECT_EQ(order.orderingNode, game.GetNodeAt(index));
        EXPECT_EQ(order.kind, kAiOrderHold);
        EXPECT_EQ(order.target, (HexPos { -1, -1 }));
        EXPECT_EQ(order.second, (HexPos { -1, -1 }));
    }
    const AiOrder none = game.GetOrder(nullptr);
    EXPECT_EQ(none.orderingNode, nullptr);
    EXPECT_EQ(none.kind, kAiOrderHold);

    game.SetOrderTree(Node(112), Order(1, { 3, 4 }, { 5, 5 }, Node(110)));
    EXPECT_EQ(game.GetOrder(Node(112)).kind, 1);
    // A scenario read reloads the tree (here one with a node less).
    std::string organisation = kOrganisation;
    organisation.erase(organisation.find("        P1100 214"), std::string("        P1100 214 7 MG-Zug\n").size());
    m_dir.Write("ai.org", organisation);
    Load(AiScenario());
    ASSERT_EQ(game.GetNodeCount(), 16);
    EXPECT_EQ(game.GetOrder(Node(112)).kind, kAiOrderHold);
    EXPECT_EQ(game.GetOrder(Node(112)).orderingNode, Node(112));
}

TEST_F(OrderRecordsTest, AnOrderIsCopiedDownFromLevelTwoOnly)
{
    Load(AiScenario());
    CGame& game = Game();
    const AiOrder company = Order(3, { 6, 2 }, { -1, -1 }, Node(120));
    game.SetOrderTree(Node(120), company);
    EXPECT_EQ(game.GetOrder(Node(120)).kind, 3);
    EXPECT_EQ(game.GetOrder(Node(122)).kind, kAiOrderHold) << "a company keeps its order to itself";

    const AiOrder battalion = Order(0, { 1, 1 }, { 2, 2 }, Node(100));
    game.SetOrderTree(Node(100), battalion);
    for (int id : { 100, 101, 110, 111, 112, 113, 120, 121, 122, 123, 124 }) {
        const AiOrder order = game.GetOrder(Node(id));
        EXPECT_EQ(order.orderingNode, Node(100)) << id;
        EXPECT_EQ(order.kind, 0) << id;
        EXPECT_EQ(order.target, (HexPos { 1, 1 })) << id;
        EXPECT_EQ(order.second, (HexPos { 2, 2 })) << id;
    }
    EXPECT_EQ(game.GetOrder(Node(212)).kind, kAiOrderHold) << "the other battalion is untouched";
}

TEST(AiOrderTest, HoldOrdersHaveNoTarget)
{
    AiOrder order;
    order.SetTarget(3, 4);
    EXPECT_EQ(order.target, (HexPos { -1, -1 })) << "a hold order takes no target";
    order.SetKind(1);
    order.SetTarget(3, 4);
    EXPECT_EQ(order.target, (HexPos { 3, 4 }));
    order.SetKind(4);
    EXPECT_EQ(order.target, (HexPos { 3, 4 })) << "another kind keeps the target";
    order.SetKind(kAiOrderHold);
    EXPECT_EQ(order.target, (HexPos { -1, -1 }));
    EXPECT_EQ(order.kind, kAiOrderHold);
}

TEST(FormationSummaryTest, EmptySummary)
{
    const FormationSummary summary;
    EXPECT_EQ(summary.GetCentroid(), (HexPos { -1, -1 }));
    EXPECT_EQ(summary.GetFitPercent(), 0);
}

TEST_F(OrderRecordsTest, SideSummariesCountEveryUnitAndPlaceOnlyThoseThatStand)
{
    using namespace demo;
    AiScenario scenario;
    scenario.Unit(2, 3, kUsRifle, 112)
        .Unit(2, 3, kUsHalfTrack, 124)
        .Unit(4, 1, kUsRifle, 113, 4, kUnitDisrupted)
        .Unit(6, 4, kDeGrenadier, 212)
        .OffMap(9, 2, kUsSherman, 123, 4, kUnitLowAmmo)
        .Group(0, 5, kUsCaptain, 121)
        .Eliminated(kUsSherman, 113)
        .Exited(kUsSherman, 111, 4, kUnitDisrupted);
    Load(scenario);
    CGame& game = Game();

    struct Expected {
        int node;
        int columnSum, rowSum, positioned, count, fit;
        HexPos centroid;
        int fitPercent;
        int leadingNode; // 0: none
    };
    const Expected expected[] = {
        { 100, 17, 14, 5, 7, 4, { 3, 2 }, 57, 123 },
        { 110, 6, 4, 2, 4, 2, { 3, 2 }, 50, 112 },
        { 112, 2, 3, 1, 1, 1, { 2, 3 }, 100, 112 },
        { 113, 4, 1, 1, 2, 0, { 4, 1 }, 0, 113 },
        { 111, 0, 0, 0, 1, 1, { -1, -1 }, 100, 0 },
        { 120, 11, 10, 3, 3, 2, { 3, 3 }, 66, 123 },
        { 101, 0, 0, 0, 0, 0, { -1, -1 }, 0, 0 },
    };
    game.ResetSideOrders(1);
    const FormationSummary german = game.GetSummary(Node(210));
    ASSERT_EQ(german.unitCount, 1);
    for (int pass = 0; pass < 2; ++pass) {
        game.ResetSideOrders(0);
        for (const Expected& e : expected) {
            SCOPED_TRACE(testing::Message() << "pass " << pass << ", node " << e.node);
            const FormationSummary s = game.GetSummary(Node(e.node));
            EXPECT_EQ(s.columnSum, e.columnSum);
            EXPECT_EQ(s.rowSum, e.rowSum);
            EXPECT_EQ(s.positionedCount, e.positioned);
            EXPECT_EQ(s.unitCount, e.count);
            EXPECT_EQ(s.fitCount, e.fit);
            EXPECT_EQ(s.GetCentroid(), e.centroid);
            EXPECT_EQ(s.GetFitPercent(), e.fitPercent);
            EXPECT_EQ(s.leadingUnit.m_node, e.leadingNode ? Node(e.leadingNode) : nullptr);
        }
    }
    EXPECT_EQ(game.GetSummary(Node(210)).unitCount, 1) << "the other side's summaries stay";
    EXPECT_EQ(game.GetSummary(Node(210)).GetCentroid(), (HexPos { 6, 4 }));
}

TEST_F(OrderRecordsTest, ABoatNeverLeadsAFormation)
{
    AiScenario scenario;
    scenario.Unit(1, 1, demo::kUsBoat, 122).Unit(3, 1, demo::kUsRifle, 122);
    Load(scenario);
    Game().ResetSideOrders(0);
    const FormationSummary summary = Game().GetSummary(Node(120));
    EXPECT_EQ(summary.unitCount, 2);
    ASSERT_NE(summary.leadingUnit.m_type, nullptr);
    EXPECT_EQ(summary.leadingUnit.m_type->m_id, static_cast<std::uint32_t>(demo::kUsRifle));
}
