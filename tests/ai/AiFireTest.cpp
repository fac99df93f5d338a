// The computer opponent's direct fire: which unit fires, at which hex and at
// which unit there, the announcement, and the fire carried out.

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "model/PlatoonType.h"
#include "model/Random.h"
#include "tests/ai/AiGame.h"

namespace {

using namespace demo;

constexpr int kDeTank = 1000;
constexpr int kDeCarrier = 1700;
constexpr int kDeBoat = 1600;

struct Choice {
    std::string text;
    HexPos firer { -1, -1 };
    HexPos target { -1, -1 };
    PlacedUnit unit;
};

class AiFireTest : public AiGameTest {
protected:
    Choice Choose()
    {
        Choice choice;
        choice.text = Game().ChooseDirectFire(choice.firer, choice.target, choice.unit).str();
        return choice;
    }
    PlatoonType& Type(int id) { return *Game().m_platoonTypes.FindById(static_cast<std::uint32_t>(id)); }
    PlacedUnit& UnitAt(int x, int y, int position = 1) { return Game().GetStackNode(x, y, position)->value; }
    // The fire layer aimed from the unit at the hex's top.
    void AimFrom(int x, int y)
    {
        Game().m_sweep = HexPos { x, y };
        Game().m_firerHex = HexPos { x, y };
        Game().m_firerPosition = 1;
    }
};

} // namespace

TEST_F(AiFireTest, OnlyUnitsFreeToFireAndArmedAreChosen)
{
    struct Case {
        const char* name;
        int type;
        std::uint32_t status;
        int value39;
        std::uint32_t extraTargetFlags;
        bool fires;
    };
    const Case cases[] = {
        { "ready rifle", kUsRifle, 0, 0, 0, true },
        { "Banzai charge under way", kUsRifle, kUnitBanzai, 0, 0, false },
        { "fired, no fire-again bit", kUsRifle, kUnitFired, 0, 0, false },
        { "fired, fires again", kUsRifle, kUnitFired, 8, 0, true },
        { "fired, fire-again bit and bit 1", kUsRifle, kUnitFired, 9, 0, false },
        { "not fired, bit 1 alone", kUsRifle, 0, 1, 0, true },
        { "indirect-fire type", kUsRifle, 0, 0, kTargetIndirect, false },
        { "unarmed type", kUsJeep, 0, 0, 0, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_game.reset();
        AiScenario scenario;
        scenario.Unit(2, 2, c.type, 112, 4, c.status).Unit(3, 2, kDeGrenadier, 212);
        Load(scenario);
        Type(c.type).m_value39 = c.value39;
        Type(c.type).m_targetFlags |= c.extraTargetFlags;
        const Choice choice = Choose();
        EXPECT_EQ(!choice.text.empty(), c.fires);
        if (c.fires) {
            EXPECT_EQ(choice.firer, (HexPos { 2, 2 }));
            EXPECT_EQ(choice.target, (HexPos { 3, 2 }));
        } else {
            EXPECT_EQ(Game().m_sweep, (HexPos { 0, 0 })) << "the sweep starts again";
        }
    }
    // A carried unit never fires from its carrier.
    m_game.reset();
    AiScenario scenario;
    scenario.Unit(2, 2, kUsRifle, 112).Unit(3, 2, kDeGrenadier, 212);
    Load(scenario);
    AimFrom(2, 2);
    PlacedUnit carried = UnitAt(2, 2);
    EXPECT_TRUE(Game().CanUnitFire(carried));
    carried.m_status |= kUnitCarried;
    EXPECT_FALSE(Game().CanUnitFire(carried));
}

TEST_F(AiFireTest, TheNearestEnemyHexIsTheTargetAndTheFirerIsTheFirstAbleUnitFromTheTop)
{
    AiScenario scenario;
    scenario
        .Unit(1, 0, kUsJeep, 124) // unarmed: the sweep passes on
        .Unit(1, 2, kUsCaptain, 121) // a leader on top
        .Unit(1, 2, kUsSherman, 123)
        .Unit(5, 2, kDeGrenadier, 212) // 4 hexes
        .Unit(1, 4, kDeGrenadier, 213) // 2 hexes
        .Unit(2, 2, kDeBoat, -1); // next door, but an empty boat is worth no fire
    Load(scenario);
    const std::uint32_t global = GlobalRandomGenerator().State();
    const Choice choice = Choose();
    EXPECT_EQ(choice.firer, (HexPos { 1, 2 }));
    EXPECT_EQ(choice.target, (HexPos { 1, 4 }));
    EXPECT_EQ(Game().m_firerPosition, 2);
    EXPECT_EQ(Game().m_sweep, (HexPos { 1, 2 })) << "the cursor stays on the firer";
    EXPECT_EQ(choice.unit.m_type, &Type(kUsSherman));
    EXPECT_EQ(choice.text, ">Firing unit at 1, 2\n>    M4A1 Sherman Platoon\nfiring on\n    Grenadier Platoon\n");
    EXPECT_EQ(GlobalRandomGenerator().State(), global) << "the choice draws only private generators";
}

TEST_F(AiFireTest, ATieAtEqualDistanceIsDrawnFromTheBattleTimeAndStaysAfterSaving)
{
    std::set<int> chosenRows;
    for (int counter = 0; counter < 16; ++counter) {
        SCOPED_TRACE(counter);
        m_game.reset();
        AiScenario scenario;
        scenario.counter = counter;
        scenario.Unit(2, 2, kUsSherman, 123).Unit(2, 0, kDeGrenadier, 212).Unit(2, 4, kDeGrenadier, 213);
        Load(scenario);
        const std::uint32_t global = GlobalRandomGenerator().State();
        const Choice choice = Choose();
        // The first hex of the scan is taken, the second of equal distance
        // when the first draw of the generator seeded at the cursor and
        // firer position falls below one half.
        CRandomGenerator random(Game().MixAt(2, 2, 1));
        const int expectedRow = random.Next() < 0.5 ? 4 : 0;
        EXPECT_EQ(choice.target, (HexPos { 2, expectedRow }));
        EXPECT_EQ(GlobalRandomGenerator().State(), global);
        chosenRows.insert(choice.target.row);

        // The same battle read back chooses the same.
        const std::string saved = Saved();
        m_game.reset();
        std::istringstream in(saved);
        ASSERT_TRUE(Game().ReadBattle(in, true));
        EXPECT_EQ(Choose().target, choice.target);
    }
    EXPECT_EQ(chosenRows, (std::set<int> { 0, 4 })) << "each hex is chosen at some time";
}

TEST_F(AiFireTest, AFirerBetterAgainstHardTargetsAimsAtTheHardOnes)
{
    AiScenario scenario;
    scenario.Unit(2, 2, kUsSherman, 123)
        .Unit(2, 2, kUsHalfTrack, 124)
        .Unit(3, 2, kDeGrenadier, 212)
        .Unit(3, 2, kDeHmg, 214)
        .Unit(3, 2, kDeTank, -1);
    for (int counter = 0; counter < 8; ++counter) {
        SCOPED_TRACE(counter);
        m_game.reset();
        scenario.counter = counter;
        Load(scenario);
        const Choice choice = Choose();
        EXPECT_EQ(Game().m_targetOrdinal, 3);
        EXPECT_EQ(choice.text, ">Firing unit at 2, 2\n>    M4A1 Sherman Platoon\nfiring on\n    PzKpfw IV H Platoon\n")
            << choice.text;
    }
    // Without a hard target there the soft ones are aimed at.
    m_game.reset();
    AiScenario soft;
    soft.Unit(2, 2, kUsSherman, 123).Unit(3, 2, kDeGrenadier, 212);
    Load(soft);
    Choose();
    EXPECT_EQ(Game().m_targetOrdinal, 1);

    // A firer better against soft targets draws among all the units.
    std::set<int> ordinals;
    for (int counter = 0; counter < 16; ++counter) {
        m_game.reset();
        AiScenario mixed;
        mixed.counter = counter;
        mixed.Unit(2, 2, kUsRifle, 112).Unit(3, 2, kDeGrenadier, 212).Unit(3, 2, kDeTank, -1);
        Load(mixed);
        Choose();
        ordinals.insert(Game().m_targetOrdinal);
    }
    EXPECT_EQ(ordinals, (std::set<int> { 1, 2 }));
}

TEST_F(AiFireTest, TheHardOnlySearchPassesHexesWithoutAHardTarget)
{
    AiScenario scenario;
    scenario.Unit(2, 2, kUsSherman, 123).Unit(2, 3, kDeGrenadier, 212).Unit(2, 5, kDeTank, -1);
    Load(scenario);
    AimFrom(2, 2);
    const PlacedUnit firer = UnitAt(2, 2);
    ASSERT_TRUE(Game().ChooseTarget(firer, HexPos { 2, 2 }, HexPos { 2, 2 }, false));
    EXPECT_EQ(Game().m_targetHex, (HexPos { 2, 3 }));
    ASSERT_TRUE(Game().ChooseTarget(firer, HexPos { 2, 2 }, HexPos { 2, 2 }, true));
    EXPECT_EQ(Game().m_targetHex, (HexPos { 2, 5 }));
    // Distances count from the origin.
    ASSERT_TRUE(Game().ChooseTarget(firer, HexPos { 2, 5 }, HexPos { 2, 2 }, false));
    EXPECT_EQ(Game().m_targetHex, (HexPos { 2, 5 }));
}

TEST_F(AiFireTest, WhoMayBeFiredAt)
{
    struct Case {
        const char* name;
        int firerType;
        int targetType;
        HexPos target;
        int orderKind;
        std::uint32_t targetStatus;
        bool exposedType;
        bool may;
    };
    const Case cases[] = {
        { "in range", kUsRifle, kDeGrenadier, { 2, 4 }, kAiOrderHold, 0, true, true },
        { "out of range", kUsRifle, kDeGrenadier, { 7, 2 }, kAiOrderHold, 0, true, false },
        { "attacking, disrupted target", kUsRifle, kDeGrenadier, { 2, 4 }, 3, kUnitDisrupted, true, false },
        { "attacking (4), disrupted target", kUsRifle, kDeGrenadier, { 2, 4 }, 4, kUnitDisrupted, true, false },
        { "advancing, disrupted target", kUsRifle, kDeGrenadier, { 2, 4 }, 1, kUnitDisrupted, true, true },
        { "attacking, disrupted target next door", kUsRifle, kDeGrenadier, { 2, 3 }, 3, kUnitDisrupted, true, true },
        { "attacking, target in good order", kUsRifle, kDeGrenadier, { 2, 4 }, 3, 0, true, true },
        { "boat carrying nobody", kUsRifle, kDeBoat, { 2, 4 }, kAiOrderHold, 0, true, false },
        { "boat carrying a passenger", kUsRifle, kDeBoat, { 2, 4 }, kAiOrderHold, kUnitCarrying, true, true },
        { "boat carrying nobody next door", kUsRifle, kDeBoat, { 2, 3 }, kAiOrderHold, 0, true, true },
        { "unexposed type next door", kUsRifle, kDeGrenadier, { 2, 3 }, kAiOrderHold, 0, false, false },
        { "unexposed type carrying", kUsRifle, kDeGrenadier, { 2, 3 }, kAiOrderHold, kUnitCarrying, false, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_game.reset();
        AiScenario scenario;
        scenario.Unit(2, 2, c.firerType, 112).Unit(c.target.column, c.target.row, kDeGrenadier, 212);
        Load(scenario);
        CGame& game = Game();
        AiOrder order;
        order.SetKind(c.orderKind);
        order.SetTarget(5, 5);
        game.SetOrderTree(Node(110), order);
        if (!c.exposedType)
            Type(c.targetType).m_moveFlags |= kMoveStackClass;
        PlacedUnit target(&Type(c.targetType), nullptr);
        target.m_status = c.targetStatus;
        game.m_blockingHex = HexPos { 1, 1 };
        EXPECT_EQ(game.MayFireAt(UnitAt(2, 2), HexPos { 2, 2 }, target, c.target), c.may);
        if (c.target.column == 7) {
            EXPECT_EQ(game.m_blockingHex, (HexPos { -1, -1 })) << "out of range forgets the blocking hex";
        }
    }
    // An indirect-capable firer may fire at the disrupted of any range.
    m_game.reset();
    AiScenario scenario;
    scenario.Unit(2, 2, kUsRifle, 112).Unit(2, 4, kDeGrenadier, 212);
    Load(scenario);
    AiOrder order;
    order.SetKind(3);
    Game().SetOrderTree(Node(110), order);
    PlacedUnit target(&Type(kDeGrenadier), nullptr);
    target.m_status = kUnitDisrupted;
    EXPECT_FALSE(Game().MayFireAt(UnitAt(2, 2), HexPos { 2, 2 }, target, HexPos { 2, 4 }));
    Type(kUsRifle).m_targetFlags |= kTargetIndirect;
    EXPECT_TRUE(Game().MayFireAt(UnitAt(2, 2), HexPos { 2, 2 }, target, HexPos { 2, 4 }));
}

TEST_F(AiFireTest, AStackOfUnexposedUnitsIsFiredAtAllTheSame)
{
    AiScenario scenario;
    scenario.Unit(2, 2, kUsRifle, 112).Unit(2, 4, kDeGrenadier, 212);
    Load(scenario);
    Type(kDeGrenadier).m_moveFlags |= kMoveStackClass;
    EXPECT_FALSE(Game().MayFireAt(UnitAt(2, 2), HexPos { 2, 2 }, UnitAt(2, 4), HexPos { 2, 4 }));
    const Choice choice = Choose();
    EXPECT_EQ(choice.target, (HexPos { 2, 4 }));
    EXPECT_EQ(Game().m_targetOrdinal, 1);
    // With an exposed unit beside them, only that one is aimed at.
    m_game.reset();
    scenario.Unit(2, 4, kDeHmg, 214);
    Load(scenario);
    Type(kDeGrenadier).m_moveFlags |= kMoveStackClass;
    Choose();
    EXPECT_EQ(Game().m_targetOrdinal, 2);
}

TEST_F(AiFireTest, UnitsThatAreNoTargetAreNotCountedInTheOrdinalAndHiddenOnesAre)
{
    AiScenario scenario;
    scenario.Unit(2, 2, kUsSherman, 123)
        .Unit(3, 2, kDeCaptain, 211) // a leader: no target, not counted
        .Unit(3, 2, kDeGrenadier, 212, 4, kUnitHidden) // counted, never aimed at
        .Unit(3, 2, kDeHmg, 214);
    Load(scenario);
    const Choice choice = Choose();
    EXPECT_EQ(Game().m_targetOrdinal, 2);
    EXPECT_EQ(Game().FindTargetUnit(3, 2, Game().m_targetOrdinal)->value.m_type, &Type(kDeHmg));
    EXPECT_NE(choice.text.find("firing on\n    Heavy Machine Gun Platoon\n"), std::string::npos) << choice.text;

    // A carried unit on top is not counted: ordinal 1 names the next unit.
    m_game.reset();
    AiScenario top;
    top.Unit(2, 2, kUsSherman, 123).Unit(3, 2, kDeGrenadier, 212).Unit(3, 2, kDeHmg, 214);
    Load(top);
    UnitAt(3, 2).m_status |= kUnitCarried; // the reader would not leave it so
    Choose();
    EXPECT_EQ(Game().m_targetOrdinal, 1);
    EXPECT_EQ(Game().FindTargetUnit(3, 2, 1)->value.m_type, &Type(kDeHmg));

    // A carried unit is no target either: the carrier on top is the first.
    m_game.reset();
    AiScenario carried;
    carried.Unit(2, 2, kUsSherman, 123)
        .Unit(3, 2, kDeCarrier, -1)
        .Unit(3, 2, kDeGrenadier, 212, 4, kUnitCarried)
        .Unit(3, 2, kDeHmg, 214);
    Load(carried);
    Type(kDeCarrier).m_targetFlags &= ~kTargetHard;
    Type(kDeGrenadier).m_targetFlags |= kTargetHard;
    Type(kDeHmg).m_targetFlags |= kTargetHard;
    Choose();
    // The Sherman prefers hard targets: the HMG, second after the carrier.
    EXPECT_EQ(Game().m_targetOrdinal, 2);
}

TEST_F(AiFireTest, TheHeaderSaysWhereTheFirerStandsOnlyWhenTheSideToMoveMaySeeIt)
{
    AiScenario scenario;
    scenario.Unit(2, 2, kUsRifle, 112).Unit(3, 2, kDeGrenadier, 212);
    Load(scenario);
    CGame& game = Game();
    const PlacedUnit firer = UnitAt(2, 2);
    EXPECT_EQ(game.FiringUnitHeader(firer, 2, 2).str(), ">Firing unit at 2, 2\n>    Rifle Platoon\n");
    game.m_aiFog[0] = 1; // the side to move under fog
    game.SetContact(2, 2, 1, 0, -1);
    EXPECT_EQ(game.FiringUnitHeader(firer, 2, 2).str(), ">Firing unit at unknown location\n>    Rifle Platoon\n");
    game.SetInfoHidden(true);
    EXPECT_EQ(game.FiringUnitHeader(firer, 2, 2).str(), ">Firing unit at unknown location\n");
    game.SetContact(2, 2, 1, 1, 2); // the enemy sees the firer
    EXPECT_EQ(game.FiringUnitHeader(firer, 2, 2).str(), ">Firing unit at 2, 2\n");
}

TEST_F(AiFireTest, TheChosenFireTurnsTheFirerSetsTheTraceAndTheFireMark)
{
    AiScenario scenario;
    scenario.Unit(2, 2, kUsCaptain, 121).Unit(2, 2, kUsRifle, 112, 4, kUnitHidden).Unit(2, 4, kDeGrenadier, 212);
    Load(scenario);
    CGame& game = Game();
    UnitAt(2, 2, 2).m_secondFacing = HexSide::NorthEast;
    UnitAt(2, 4).m_secondFacing = HexSide::SouthWest;
    const Choice plain = Choose();
    ASSERT_FALSE(plain.text.empty());
    EXPECT_EQ(UnitAt(2, 2, 2).m_facing, HexSide::South) << "turned toward the target";
    EXPECT_EQ(UnitAt(2, 2, 1).m_facing, HexSide::North) << "the leader stays";
    EXPECT_EQ(game.m_traceFirerHex, (HexPos { 2, 2 }));
    EXPECT_EQ(game.m_traceTargetHex, (HexPos { 2, 4 }));
    EXPECT_EQ(game.m_traceFirerSide, HexSide::NorthEast);
    EXPECT_EQ(game.m_traceTargetSide, HexSide::SouthWest);
    EXPECT_FALSE(game.HasFireMark(2, 2)) << "no mark without hidden information";
    EXPECT_TRUE(HasStatus(plain.unit, kUnitHidden)) << "the enemy has no contact";

    game.SetInfoHidden(true);
    game.SetContact(2, 2, 1, 1, 2);
    const Choice hidden = Choose();
    EXPECT_TRUE(game.HasFireMark(2, 2));
    EXPECT_FALSE(HasStatus(hidden.unit, kUnitHidden)) << "the copy shows itself to an enemy in contact";
    EXPECT_TRUE(HasStatus(UnitAt(2, 2, 2), kUnitHidden)) << "the unit itself keeps its bit";
}

TEST_F(AiFireTest, ExecutingTheFireReportsItAndTheUnitHasFired)
{
    AiScenario scenario;
    scenario.Unit(2, 2, kUsRifle, 112).Unit(2, 4, kDeGrenadier, 212);
    Load(scenario);
    CGame& game = Game();
    ASSERT_FALSE(Choose().text.empty());
    HexPos shown, target;
    const std::string text = game.ExecuteDirectFire(shown, target).str();
    EXPECT_EQ(shown, (HexPos { 2, 2 }));
    EXPECT_EQ(target, (HexPos { 2, 4 }));
    ASSERT_EQ(text.rfind(">Firing unit at 2, 2\n>    Rifle Platoon\n", 0), 0u) << text;
    EXPECT_GT(text.size(), std::string(">Firing unit at 2, 2\n>    Rifle Platoon\n").size());
    EXPECT_EQ(game.m_reportText.str(), text);
    EXPECT_TRUE(HasStatus(UnitAt(2, 2), kUnitFired));
    // The rifles may not fire again: the sweep ends and starts again.
    EXPECT_TRUE(Choose().text.empty());
    EXPECT_EQ(game.m_sweep, (HexPos { 0, 0 }));

    // A firer the side to move may not see shows the target hex.
    m_game.reset();
    Load(scenario);
    Game().m_aiFog[0] = 1;
    Game().SetContact(2, 2, 1, 0, -1);
    ASSERT_FALSE(Choose().text.empty());
    const std::string unseen = Game().ExecuteDirectFire(shown, target).str();
    EXPECT_EQ(shown, (HexPos { 2, 4 }));
    EXPECT_EQ(unseen.rfind(">Firing unit at unknown location\n", 0), 0u) << unseen;
}

TEST_F(AiFireTest, TheFirerPositionGoesBackToTheTopWithEveryNewBattleAndPhase)
{
    AiScenario scenario;
    scenario.Unit(2, 2, kUsCaptain, 121).Unit(2, 2, kUsRifle, 112).Unit(3, 2, kDeGrenadier, 212);
    Load(scenario);
    CGame& game = Game();
    ASSERT_FALSE(Choose().text.empty());
    EXPECT_EQ(game.m_firerPosition, 2);
    String text;
    HexList hexes;
    std::vector<int> offMap, groups, released;
    game.BuildTurnStartReport(text, hexes, offMap, groups, released);
    EXPECT_EQ(game.m_firerPosition, 1);

    game.m_firerPosition = 2;
    std::istringstream in(AiScenario().Text());
    ASSERT_TRUE(game.LoadBattleAndReport(in, text, groups, released, hexes));
    EXPECT_EQ(game.m_firerPosition, 1);
    game.m_firerPosition = 3;
    game.ResetBattle();
    EXPECT_EQ(game.m_firerPosition, 1);
}

TEST_F(AiFireTest, TheFireStateEndsWhenEveryUnitHasSpentItsFire)
{
    AiScenario scenario;
    scenario
        .Unit(2, 2, kUsSherman, 123) // fires again while its action points last
        .Unit(3, 2, kUsRifle, 112)
        .Unit(2, 4, kDeGrenadier, 212, 8)
        .Unit(4, 2, kDeGrenadier, 213, 8);
    Load(scenario);
    CGame& game = Game();
    std::vector<HexPos> firers;
    for (int step = 0; step < 10; ++step) {
        HexPos firer, target, shown;
        PlacedUnit unit;
        if (game.ChooseDirectFire(firer, target, unit).IsEmpty())
            break;
        game.ExecuteDirectFire(shown, target);
        firers.push_back(firer);
    }
    // 100 action points: the Sherman fires at 35 each, the rifles once.
    EXPECT_EQ(firers, (std::vector<HexPos> { { 2, 2 }, { 2, 2 }, { 3, 2 } }));
    EXPECT_EQ(game.m_sweep, (HexPos { 0, 0 }));
}
