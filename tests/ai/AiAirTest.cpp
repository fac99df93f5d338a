// The computer opponent's air attacks: one per call while the phase has
// attacks left, the centre from an attacking formation or the first
// objective, the candidates near it, and the unit aimed at.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/Geometry.h"
#include "tests/ai/AiGame.h"

namespace {

using namespace demo;

class AiAirTest : public AiGameTest {
protected:
    // Objective radius w1 = 2; side 0 to move with its rifles at (0, 0),
    // from where it sees the whole open map.
    AiScenario Base(int airPower)
    {
        m_dir.Write("main.ai", "12 2");
        AiScenario scenario;
        scenario.airPower[0] = airPower;
        scenario.Unit(0, 0, kUsRifle, 112);
        return scenario;
    }
    void LoadWithObjectives(const AiScenario& scenario)
    {
        Load(scenario);
        Game().BuildObjectiveList(0);
        Game().BuildObjectiveList(1);
    }
    struct Choice {
        std::string text;
        HexPos hex;
    };
    Choice Choose()
    {
        HexPos hex { 99, 99 };
        const String text = Game().ChooseAirStrike(hex);
        return { text.c_str(), hex };
    }
    static std::string AttackText(HexPos hex)
    {
        return "Air attack at " + std::to_string(hex.column) + ", " + std::to_string(hex.row);
    }
    void SetOrder(int node, int kind, HexPos target)
    {
        AiOrder order;
        order.orderingNode = Node(node);
        order.kind = kind;
        order.target = target;
        Game().SetOrderTree(Node(node), order);
    }
    // The attack drawn with the salt; the strike is taken off again so that
    // the next draw sees the same map.
    HexPos ChooseWithSalt(int salt)
    {
        Game().m_attacksLeft = salt;
        const Choice choice = Choose();
        if (Game().m_airStrikeValue.Contains(choice.hex.column, choice.hex.row))
            Game().m_airStrikeValue.At(choice.hex.column, choice.hex.row) = 0;
        return choice.hex;
    }
    PlatoonType& Type(int id) { return *Game().m_platoonTypes.FindById(static_cast<std::uint32_t>(id)); }
};

} // namespace

TEST_F(AiAirTest, EachCallMakesOneAttackWhileAttacksAreLeft)
{
    AiScenario scenario = Base(3);
    scenario.Objective(3, 2, 1, kUsNation).Unit(3, 3, kDeGrenadier, 212).Unit(4, 2, kDeGrenadier, 213);
    LoadWithObjectives(scenario);
    CGame& game = Game();
    game.m_parameters.m_value95 = 7;
    game.SetAttacksForPhase();
    ASSERT_EQ(game.m_attacksLeft, 2);

    std::set<std::pair<int, int>> attacked;
    for (int call = 1; call <= 2; ++call) {
        const Choice choice = Choose();
        SCOPED_TRACE(call);
        EXPECT_EQ(choice.text, AttackText(choice.hex));
        EXPECT_EQ(game.m_airChosenHex, choice.hex);
        EXPECT_EQ(game.m_airPower[0], 3 - call);
        EXPECT_EQ(game.m_attacksLeft, 2 - call);
        EXPECT_EQ(game.m_airStrikeValue.At(choice.hex.column, choice.hex.row), 7);
        EXPECT_EQ(game.m_airStrikeSide.At(choice.hex.column, choice.hex.row), 0);
        attacked.insert({ choice.hex.column, choice.hex.row });
        // Each call starts a new undo record: only its own strike is kept.
        HexList undo;
        game.CollectUndoHexes(undo);
        ASSERT_EQ(undo.Count(), 1u);
        EXPECT_EQ(undo.Head()->value, choice.hex);
    }
    // A hex already under the side's strike is not attacked twice.
    EXPECT_EQ(attacked, (std::set<std::pair<int, int>> { { 3, 3 }, { 4, 2 } }));

    // No attack left: nothing chosen, nothing spent.
    const Choice none = Choose();
    EXPECT_EQ(none.text, "");
    EXPECT_EQ(none.hex, (HexPos { -1, -1 }));
    EXPECT_EQ(game.m_airPower[0], 1);
    EXPECT_EQ(game.m_attacksLeft, 0);
}

TEST_F(AiAirTest, TheCentreIsTheTargetOfAnAttackingFormationDrawnUniformly)
{
    AiScenario scenario = Base(1000);
    // The objective's enemy is never attacked while a formation attacks.
    scenario.Objective(3, 2, 1, kUsNation)
        .Unit(3, 3, kDeGrenadier, 212)
        .Unit(0, 5, kDeGrenadier, 212)
        .Unit(7, 5, kDeGrenadier, 213);
    LoadWithObjectives(scenario);
    SetOrder(110, 3, { 0, 4 });
    SetOrder(120, 4, { 7, 4 });
    SetOrder(210, 3, { 3, 2 }); // the other side's formation: no centre
    ASSERT_EQ(Game().m_map.GetSide(), 0);
    int west = 0;
    int east = 0;
    for (int salt = 1; salt <= 400; ++salt) {
        const HexPos hex = ChooseWithSalt(salt);
        if (hex == HexPos { 0, 5 })
            ++west;
        else if (hex == HexPos { 7, 5 })
            ++east;
        else
            ADD_FAILURE() << "salt " << salt << ": " << hex.column << ", " << hex.row;
    }
    EXPECT_GT(west, 160);
    EXPECT_GT(east, 160);

    // A formation on hold is no centre: the objective is.
    SetOrder(110, kAiOrderHold, { -1, -1 });
    SetOrder(120, kAiOrderHold, { -1, -1 });
    EXPECT_EQ(ChooseWithSalt(5), (HexPos { 3, 3 }));
}

TEST_F(AiAirTest, WithoutObjectiveOrAttackingFormationNoAttackIsMadeAndNoneIsLeft)
{
    AiScenario scenario = Base(10);
    scenario.Unit(3, 3, kDeGrenadier, 212);
    LoadWithObjectives(scenario);
    CGame& game = Game();
    game.SetAttacksForPhase();
    ASSERT_EQ(game.m_attacksLeft, 4);
    const Choice choice = Choose();
    EXPECT_EQ(choice.text, "");
    EXPECT_EQ(choice.hex, (HexPos { -1, -1 }));
    EXPECT_EQ(game.m_attacksLeft, 0);
    EXPECT_EQ(game.m_airPower[0], 10);
}

TEST_F(AiAirTest, CandidatesLieWithinTheRadiusOutOfSmokeAndPassTheAirCheck)
{
    // Centre (3, 2), w1 = 2; one enemy hex per case.
    enum Setup { kPlain, kInSmoke, kOnlyEmptyCarriers, kCarrierWithPassenger, kCarrierAndInfantry, kOwnStrike };
    struct Case {
        const char* name;
        HexPos hex;
        Setup setup;
        bool chosen;
    };
    const HexPos corner { 5, 0 };
    ASSERT_EQ(HexDistance(3, 2, corner.column, corner.row), 3) << "inside the square, beyond the radius";
    const Case cases[] = {
        { "two hexes away", { 3, 4 }, kPlain, true },
        { "square's corner", corner, kPlain, false },
        { "smoke", { 3, 4 }, kInSmoke, false },
        { "only empty carriers", { 3, 4 }, kOnlyEmptyCarriers, false },
        { "carrier with a passenger", { 3, 4 }, kCarrierWithPassenger, true },
        { "carrier with infantry", { 3, 4 }, kCarrierAndInfantry, true },
        { "the side's strike already there", { 3, 4 }, kOwnStrike, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_game.reset();
        AiScenario scenario = Base(5);
        scenario.Objective(3, 2, 1, kUsNation).Unit(2, 2, kUsRifle, 113); // own hex: never a candidate
        switch (c.setup) {
        case kOnlyEmptyCarriers:
            scenario.Unit(c.hex.column, c.hex.row, kDeKuebel, 213).Unit(c.hex.column, c.hex.row, kDeKuebel, 213);
            break;
        case kCarrierWithPassenger:
            scenario.Unit(c.hex.column, c.hex.row, kDeKuebel, 213)
                .Unit(c.hex.column, c.hex.row, kDeGrenadier, 212, 4, kUnitCarried);
            break;
        case kCarrierAndInfantry:
            scenario.Unit(c.hex.column, c.hex.row, kDeKuebel, 213).Unit(c.hex.column, c.hex.row, kDeGrenadier, 212);
            break;
        default:
            scenario.Unit(c.hex.column, c.hex.row, kDeGrenadier, 212);
        }
        LoadWithObjectives(scenario);
        CGame& game = Game();
        Type(kDeKuebel).m_moveFlags |= kMoveStackClass;
        if (c.setup == kInSmoke)
            game.SetSmoke(1, c.hex.column, c.hex.row, true);
        if (c.setup == kOwnStrike) {
            game.m_airStrikeValue.At(c.hex.column, c.hex.row) = 3;
            game.m_airStrikeSide.At(c.hex.column, c.hex.row) = 0;
        }
        game.m_attacksLeft = 2;
        game.m_fireRefusal = String("player's refusal");
        const Choice choice = Choose();
        EXPECT_EQ(choice.text, c.chosen ? AttackText(c.hex) : "");
        EXPECT_EQ(game.m_attacksLeft, c.chosen ? 1 : 0);
        EXPECT_EQ(game.m_airPower[0], c.chosen ? 4 : 5);
        EXPECT_STREQ(game.m_fireRefusal.c_str(), "player's refusal") << "the probe is silent";
    }
}

TEST_F(AiAirTest, TheTargetOrdinalCountsTargetableUnitsAndDrawsAmongExposedOnes)
{
    // Stacks at (4, 3), top first; kDeKuebel made a passenger carrier.
    struct Case {
        const char* name;
        std::vector<std::pair<int, std::uint32_t>> units;
        std::set<int> ordinals;
    };
    const Case cases[] = {
        { "nothing exposed", { { kDeGrenadier, kUnitHidden }, { kDeKuebel, 0 } }, { 1 } },
        { "leader skipped, hidden and empty carrier counted",
            { { kDeCaptain, 0 }, { kDeGrenadier, kUnitHidden }, { kDeKuebel, 0 }, { kDeGrenadier, 0 } }, { 3 } },
        { "a carried unit is not counted", { { kDeKuebel, 0 }, { kDeGrenadier, kUnitCarried }, { kDeHmg, 0 } },
            { 1, 2 } },
        { "two exposed units", { { kDeGrenadier, 0 }, { kDeHmg, 0 } }, { 1, 2 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_game.reset();
        AiScenario scenario = Base(5);
        for (const auto& [type, status] : c.units)
            scenario.Unit(4, 3, type, type == kDeCaptain ? 211 : 213, 4, status); // a leader takes its node's type
        Load(scenario);
        Type(kDeKuebel).m_moveFlags |= kMoveStackClass;
        std::set<int> seen;
        std::map<int, int> counts;
        for (int salt = 0; salt < 200; ++salt) {
            Game().m_attacksLeft = salt;
            ++counts[Game().PickTargetOrdinal(4, 3)];
        }
        for (const auto& [ordinal, count] : counts)
            seen.insert(ordinal);
        EXPECT_EQ(seen, c.ordinals);
        // Two exposed units are drawn alike.
        if (c.ordinals.size() == 2) {
            EXPECT_GT(counts[*c.ordinals.begin()], 70);
        }
    }
}

TEST_F(AiAirTest, TheChosenStrikeGivesItsHexAndTheOrdinalAimedAt)
{
    AiScenario scenario = Base(1);
    scenario.Objective(3, 2, 1, kUsNation)
        .Unit(3, 3, kDeCaptain, 211)
        .Unit(3, 3, kDeGrenadier, 212, 4, kUnitHidden)
        .Unit(3, 3, kDeHmg, 214);
    LoadWithObjectives(scenario);
    CGame& game = Game();
    game.SetAttacksForPhase();
    ASSERT_EQ(Choose().text, "Air attack at 3, 3");
    HexPos hex;
    int ordinal = 0;
    game.GetChosenAirStrike(hex, ordinal);
    EXPECT_EQ(hex, (HexPos { 3, 3 }));
    EXPECT_EQ(ordinal, 2) << "the machine guns, after the hidden grenadiers; the captain is no target";

    // A new battle forgets the choice.
    game.ResetBattleState();
    EXPECT_EQ(game.m_airChosenHex, (HexPos { -1, -1 }));
    EXPECT_EQ(game.m_attacksLeft, 0);
}
