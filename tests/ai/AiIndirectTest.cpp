// The computer opponent's indirect fire: the four searches falling through
// in one call, holding fire, high-explosive targets with the lead of a
// moving target, smoke values and starshell at night, the texts, the
// starshell mission fired, and the off-map record across battles.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "model/Clock.h"
#include "model/Geometry.h"
#include "model/Random.h"
#include "tests/ai/AiGame.h"

namespace {

using namespace demo;

// Side 0's 81 mm mortars (indirect fire, smoke anywhere in range, ranges 2
// to 12) and 105 mm howitzers (off the map), side 1's tank.
constexpr int kUsMortar = 10101;
constexpr int kUsHowitzer = 10300;
constexpr int kDeTank = 1000;

std::int64_t FixedClock() { return 987654; }

// The generator state that the next draw leaves as the given one.
std::uint32_t StateBefore(std::uint32_t state)
{
    constexpr std::uint32_t kInverseMultiplier = 0xEEB9EB65u;
    static_assert(kInverseMultiplier * 1103515245u == 1u);
    return (state - 12345u) * kInverseMultiplier;
}

class AiIndirectTest : public AiGameTest {
protected:
    void SetUp() override
    {
        AiGameTest::SetUp();
        SetTimeSource(&FixedClock);
        SetRandomSeed(1);
    }
    void TearDown() override { SetTimeSource(nullptr); }

    struct Mission {
        std::string text;
        HexPos firer;
        HexPos target;
        int position = -1;
        int record = -1;
        int flag = -1;
    };
    Mission Choose()
    {
        Mission m;
        m.firer = { 99, 99 };
        m.target = { 99, 99 };
        const String text = Game().ChooseIndirectFire(m.firer, m.target, m.position, m.record, m.flag);
        m.text = text.c_str();
        return m;
    }
    // Side 1 is seen by side 0 (contact 1) in each listed hex.
    void Spot(std::initializer_list<HexPos> hexes)
    {
        for (const HexPos& hex : hexes)
            Game().SetContact(hex.column, hex.row, 0, 1, 3);
    }
    // As the phase starts: the sweep from (0, 0), the search from the first
    // record, the firer position 1.
    void StartSearch()
    {
        Game().ResetSweep();
        Game().ResetIndirectSearch();
        Game().m_firerPosition = 1;
    }
    std::string Header(HexPos firer, int position)
    {
        const UnitNode* node = Game().GetStackNode(firer.column, firer.row, position);
        return Game().FiringUnitHeader(node->value, firer.column, firer.row).c_str();
    }
    std::string OffMapHeader(int index)
    {
        const auto* node = Game().m_offMapUnits.Head();
        for (int i = 1; i < index; ++i)
            node = node->next;
        return Game().FiringUnitHeader(node->value.unit, node->value.column, node->value.row).c_str();
    }
    static std::string At(HexPos hex)
    {
        return " at " + std::to_string(hex.column) + ", " + std::to_string(hex.row) + "\n";
    }
    PlatoonType& Type(int id) { return *Game().m_platoonTypes.FindById(static_cast<std::uint32_t>(id)); }
};

} // namespace

TEST_F(AiIndirectTest, TheKindsFallThroughInOneCallAndTheEmptyTextStartsAgain)
{
    // Ammunition 0: no high explosive by day; the mortars fire smoke.
    AiScenario scenario;
    scenario.Unit(0, 0, kUsMortar, -1).Unit(4, 3, kDeGrenadier, 212);
    Load(scenario);
    CGame& game = Game();
    game.m_ammo[0] = 0;
    game.m_smoke[0] = 3;
    Spot({ { 4, 3 } });
    StartSearch();
    const Mission smoke = Choose();
    EXPECT_EQ(smoke.text, Header({ 0, 0 }, 1) + "firing smoke" + At({ 4, 3 }));
    EXPECT_EQ(smoke.firer, (HexPos { 0, 0 }));
    EXPECT_EQ(smoke.target, (HexPos { 4, 3 }));
    EXPECT_EQ(smoke.position, 1);
    EXPECT_EQ(smoke.record, 0);
    EXPECT_EQ(smoke.flag, 1);
    EXPECT_EQ(game.m_missionKind, CGameAiIndirect::kOnMapSmoke);
    EXPECT_EQ(game.m_sweep, (HexPos { 0, 0 })) << "the next call looks at the same firer first";

    // The target gone: nothing more this phase, and the next starts with
    // high explosive from the first record.
    game.m_stacks.At(4, 3).Free();
    const Mission none = Choose();
    EXPECT_EQ(none.text, "");
    EXPECT_EQ(none.position, 0);
    EXPECT_EQ(none.record, 0);
    EXPECT_EQ(none.flag, 0);
    EXPECT_EQ(game.m_missionKind, CGameAiIndirect::kOffMapHighExplosive);
    EXPECT_EQ(game.m_sweep, (HexPos { 0, 0 })) << "the sweep starts again";
}

TEST_F(AiIndirectTest, HighExplosiveComesFirstFromOffMapThenFromTheMap)
{
    AiScenario scenario;
    scenario.OffMap(-3, 2, kUsHowitzer, -1)
        .OffMap(-3, 3, 1300, -1) // the other side's battery is passed over
        .OffMap(-3, 4, kUsHowitzer, -1)
        .Unit(0, 5, kUsMortar, -1)
        .Unit(4, 3, kDeGrenadier, 212);
    Load(scenario);
    CGame& game = Game();
    game.m_ammo[0] = 100;
    Spot({ { 4, 3 } });
    StartSearch();
    const Mission first = Choose();
    EXPECT_EQ(first.text, OffMapHeader(1) + "firing indirect" + At(first.target));
    EXPECT_EQ(first.record, 1);
    EXPECT_EQ(first.position, 0);
    EXPECT_EQ(first.flag, 0);
    EXPECT_EQ(first.firer, (HexPos { -3, 2 }));
    EXPECT_EQ(first.target, (HexPos { 4, 3 })) << "a still target is not led";

    // The first battery has fired (its action points spent): the walk goes on
    // past the other side's battery to the third record.
    game.m_offMapUnits.Head()->value.unit.m_actionPoints = 0;
    const Mission second = Choose();
    EXPECT_EQ(second.record, 3);
    EXPECT_EQ(second.firer, (HexPos { -3, 4 }));
    EXPECT_EQ(game.m_firerPosition, 3) << "each record passed over moves the position on";
    game.m_offMapUnits.Last()->value.unit.m_actionPoints = 0;

    // Then the mortars on the map.
    const Mission third = Choose();
    EXPECT_EQ(third.text, Header({ 0, 5 }, 1) + "firing indirect" + At(third.target));
    EXPECT_EQ(third.firer, (HexPos { 0, 5 }));
    EXPECT_EQ(third.position, 1);
    EXPECT_EQ(third.record, 0);
    EXPECT_EQ(game.m_missionKind, CGameAiIndirect::kOnMapHighExplosive);
    EXPECT_EQ(game.m_offMapRecord, 1) << "back at the first record for the smoke walk";
}

TEST_F(AiIndirectTest, HoldingFire)
{
    struct Case {
        const char* name;
        bool night;
        int ammo;
        int reserve;
        bool smokeFlag;
        double secondDraw; // the draw after the ammunition draw
        bool holds;
        int reserveAfter;
        int draws;
    };
    const Case cases[] = {
        { "ammunition 0", false, 0, 3, true, 0.0, true, 3, 1 },
        { "ammunition 100", false, 100, 0, true, 0.0, false, 0, 1 },
        { "kept for smoke", false, 100, 3, true, 0.05, true, 2, 2 },
        { "no reserve draw above 0.1", false, 100, 3, true, 0.5, false, 3, 2 },
        { "no smoke capability", false, 100, 3, false, 0.0, false, 3, 1 },
        { "never at night", true, 0, 3, true, 0.0, false, 3, 0 },
    };
    AiScenario scenario;
    scenario.Unit(0, 0, kUsMortar, -1);
    Load(scenario);
    CGame& game = Game();
    const PlacedUnit mortar = game.m_stacks.At(0, 0).Head()->value;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        game.m_night = c.night ? 1 : 0;
        game.m_ammo[0] = c.ammo;
        game.m_reserveCount = c.reserve;
        Type(kUsMortar).m_targetFlags = c.smokeFlag ? 0x18 : 0x8;
        const auto second = static_cast<std::uint32_t>(c.secondDraw * 2147483648.0);
        const std::uint32_t start = StateBefore(StateBefore(second));
        GlobalRandomGenerator().SetState(start);
        EXPECT_EQ(game.HoldsFire(mortar), c.holds);
        EXPECT_EQ(game.m_reserveCount, c.reserveAfter);
        CRandomGenerator expected(start);
        for (int i = 0; i < c.draws; ++i)
            expected.Next();
        EXPECT_EQ(GlobalRandomGenerator().State(), expected.State()) << "draws";
    }
}

TEST_F(AiIndirectTest, HighExplosiveTargets)
{
    // The mortars at (0, 0); enemies seen by side 0 unless the case says.
    enum Setup { kPlain, kThreePending, kTwoPending, kNoContact, kHiddenUnderFog };
    struct Case {
        const char* name;
        Setup setup;
        HexPos expected;
    };
    // The tank (not soft) is nearer than the grenadiers.
    const Case cases[] = {
        { "the soft hex first", kPlain, { 5, 4 } },
        { "three pending missions", kThreePending, { 2, 2 } },
        { "two pending missions", kTwoPending, { 5, 4 } },
        { "no contact", kNoContact, { 2, 2 } },
        { "hidden under fog", kHiddenUnderFog, { 2, 2 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_game.reset();
        AiScenario scenario;
        scenario.Unit(0, 0, kUsMortar, -1)
            .Unit(2, 2, kDeTank, -1)
            .Unit(5, 4, kDeGrenadier, 212, 4, c.setup == kHiddenUnderFog ? std::uint32_t { kUnitHidden } : 0u);
        Load(scenario);
        CGame& game = Game();
        game.m_ammo[0] = 100;
        Spot({ { 2, 2 } });
        if (c.setup != kNoContact)
            Spot({ { 5, 4 } });
        // Under its fog the enemy's hidden units are not seen even in contact.
        if (c.setup == kHiddenUnderFog)
            game.m_aiFog[1] = 1;
        for (int i = 0; i < (c.setup == kThreePending ? 3 : c.setup == kTwoPending ? 2 : 0); ++i)
            game.m_pendingFire.Append(PendingFire { 999, 9, 9, 5, 4, false });
        StartSearch();
        const Mission mission = Choose();
        EXPECT_EQ(mission.target, c.expected);
        EXPECT_EQ(mission.text, Header({ 0, 0 }, 1) + "firing indirect" + At(c.expected));
    }
}

TEST_F(AiIndirectTest, TargetsWithinOneHexOfTheNearestTieAndFartherOnesLose)
{
    // Grenadiers 3 and 4 hexes from the mortars tie; machine guns 6 hexes
    // away never win. The seed follows the battle's elapsed time.
    const HexPos near { 3, 0 };
    const HexPos tie { 4, 0 };
    const HexPos far { 6, 0 };
    ASSERT_EQ(HexDistance(0, 0, near.column, near.row), 3);
    ASSERT_EQ(HexDistance(0, 0, tie.column, tie.row), 4);
    ASSERT_EQ(HexDistance(0, 0, far.column, far.row), 6);
    std::map<std::pair<int, int>, int> counts;
    for (int counter = 0; counter < 60; ++counter) {
        m_game.reset();
        AiScenario scenario;
        scenario.counter = counter;
        scenario.Unit(0, 0, kUsMortar, -1)
            .Unit(near.column, near.row, kDeGrenadier, 212)
            .Unit(tie.column, tie.row, kDeGrenadier, 213)
            .Unit(far.column, far.row, kDeHmg, 214);
        Load(scenario);
        Game().m_ammo[0] = 100;
        Spot({ near, tie, far });
        StartSearch();
        const Mission mission = Choose();
        ++counts[{ mission.target.column, mission.target.row }];
    }
    EXPECT_EQ(counts.size(), 2u);
    EXPECT_GT((counts[{ near.column, near.row }]), 15);
    EXPECT_GT((counts[{ tie.column, tie.row }]), 15);
}

TEST_F(AiIndirectTest, AMovingTargetIsLedAlongItsFacingThenJittered)
{
    // Grenadiers at (4, 1) that moved this phase facing S (8); each draw
    // below 0.5 leads the shot one hex further south, and then the shot
    // lands next to where it was led.
    struct Case {
        const char* name;
        int steps; // draws below 0.5 before the first one above
        bool ownUnitSouth;
        HexPos led;
    };
    const Case cases[] = {
        { "no step", 0, false, { 4, 1 } },
        { "two steps", 2, false, { 4, 3 } },
        { "stopped by an own hex", 2, true, { 4, 1 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The ammunition draw, then the lead's draws.
        std::uint32_t seed = 0;
        for (;; ++seed) {
            CRandomGenerator probe(seed);
            probe.Next();
            bool fits = true;
            for (int i = 0; i < c.steps; ++i)
                fits = fits && probe.Next() < 0.5;
            if (fits && probe.Next() >= 0.5)
                break;
        }
        std::vector<HexPos> targets;
        for (int run = 0; run < 2; ++run) {
            m_game.reset();
            AiScenario scenario;
            scenario.Unit(0, 5, kUsMortar, -1).Unit(4, 1, kDeGrenadier, 212, 4, kUnitMoved);
            if (c.ownUnitSouth)
                scenario.Unit(4, 2, kUsRifle, 112);
            Load(scenario);
            CGame& game = Game();
            game.m_stacks.At(4, 1).Head()->value.m_facing = HexSide::South;
            game.m_ammo[0] = 100;
            Spot({ { 4, 1 } });
            StartSearch();
            SetRandomSeed(seed);
            const Mission mission = Choose();
            EXPECT_EQ(HexDistance(mission.target.column, mission.target.row, c.led.column, c.led.row), 1);
            EXPECT_NE(game.SideInHex(mission.target.column, mission.target.row), 0) << "never onto an own hex";
            EXPECT_EQ(mission.text, Header({ 0, 5 }, 1) + "firing indirect" + At(mission.target));
            targets.push_back(mission.target);
        }
        EXPECT_EQ(targets[0], targets[1]) << "the jitter's generator is seeded from the clock";
    }
}

TEST_F(AiIndirectTest, SmokeValues)
{
    struct Case {
        const char* name;
        std::vector<std::pair<int, std::uint32_t>> units;
        int expected; // in tank defences: -1 for none armed, -2 for half
    };
    const Case cases[] = {
        { "soft units", { { kDeGrenadier, 0 } }, 0 },
        { "a tank", { { kDeTank, 0 }, { kDeGrenadier, 0 } }, 1 },
        { "two tanks", { { kDeTank, 0 }, { kDeTank, 0 } }, 2 },
        { "a disrupted tank", { { kDeTank, kUnitDisrupted } }, -2 },
        { "unarmed", { { kDeKuebel, 0 } }, -1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_game.reset();
        AiScenario scenario;
        for (const auto& [type, status] : c.units)
            scenario.Unit(3, 3, type, type == kDeGrenadier ? 212 : -1, 4, status);
        Load(scenario);
        const int defence = Type(kDeTank).m_value13;
        ASSERT_GE(defence, 2);
        const int expected = c.expected == -2 ? defence / 2 : c.expected == -1 ? -1 : c.expected * defence;
        EXPECT_EQ(Game().GetSmokeValue(3, 3), expected);
    }
}

TEST_F(AiIndirectTest, SmokeGoesWhereTheArmourIsAndNeverOnUnarmedHexes)
{
    AiScenario scenario;
    scenario.Unit(0, 0, kUsMortar, -1)
        .Unit(2, 1, kDeKuebel, -1) // unarmed: value -1
        .Unit(3, 3, kDeGrenadier, 212)
        .Unit(5, 4, kDeTank, -1);
    Load(scenario);
    CGame& game = Game();
    game.m_ammo[0] = 0;
    game.m_smoke[0] = 3;
    Spot({ { 2, 1 }, { 3, 3 }, { 5, 4 } });
    StartSearch();
    EXPECT_EQ(Choose().target, (HexPos { 5, 4 }));
    // A smoke mission already plotted on the tanks: the grenadiers get it.
    game.m_pendingFire.Append(PendingFire { 999, 9, 9, 5, 4, true });
    StartSearch();
    EXPECT_EQ(Choose().target, (HexPos { 3, 3 }));
    game.m_stacks.At(3, 3).Free();
    game.m_stacks.At(5, 4).Free();
    StartSearch();
    EXPECT_EQ(Choose().text, "") << "the unarmed cars draw no smoke";
}

TEST_F(AiIndirectTest, StarshellAtNightIsChosenAndFired)
{
    // No contact with the grenadiers: a starshell may show them. The high-
    // explosive walks find no seen enemy; the hex passes a 0.25 draw, and
    // the starshell goes up by a draw of its own: seeds are tried until both
    // a fired and a failed starshell were seen.
    // From the batteries off the map, or from the mortars on it.
    for (const bool offMap : { true, false }) {
        SCOPED_TRACE(offMap ? "off the map" : "on the map");
        const HexPos firer = offMap ? HexPos { -3, 2 } : HexPos { 0, 5 };
        bool seen[2] = { false, false };
        for (std::uint32_t seed = 0; seed < 400 && !(seen[0] && seen[1]); ++seed) {
            m_game.reset();
            AiScenario scenario;
            if (offMap)
                scenario.OffMap(-3, 2, kUsHowitzer, -1).Unit(0, 5, kUsRifle, 112);
            else
                scenario.Unit(0, 5, kUsMortar, -1);
            scenario.Unit(4, 3, kDeGrenadier, 212);
            Load(scenario);
            CGame& game = Game();
            game.m_night = 1;
            game.m_starshells[0] = 2;
            game.m_ammo[0] = 100;
            StartSearch();
            ASSERT_EQ(game.m_reserveCount, 2) << "at night the reserve counts starshells";
            game.m_fireRefusal = String("player's refusal");
            SetRandomSeed(seed);
            const Mission mission = Choose();
            if (mission.text.empty())
                continue;
            SCOPED_TRACE(seed);
            const std::string header = offMap ? OffMapHeader(1) : Header(firer, 1);
            EXPECT_EQ(game.m_missionKind, offMap ? CGameAiIndirect::kOffMapSmoke : CGameAiIndirect::kOnMapSmoke);
            EXPECT_EQ(mission.flag, 1);
            EXPECT_EQ(mission.record, offMap ? 1 : 0);
            EXPECT_EQ(mission.position, offMap ? 0 : 1);
            // An off-map starshell names the target twice.
            EXPECT_EQ(mission.firer, offMap ? mission.target : firer);
            EXPECT_LE(HexDistance(mission.target.column, mission.target.row, 4, 3), 1) << "scattered at once";
            EXPECT_EQ(mission.text, header + "firing starshell" + At(mission.target));
            EXPECT_STREQ(game.m_fireRefusal.c_str(), "player's refusal");

            String text;
            String result;
            HexPos shown;
            HexPos target;
            const String returned = game.ExecuteIndirectFire(text, shown, target, result);
            EXPECT_EQ(shown, firer) << "the side to move sees its own firer";
            EXPECT_LE(HexDistance(target.column, target.row, mission.target.column, mission.target.row), 1);
            EXPECT_EQ(result, returned);
            EXPECT_EQ(text, returned);
            const bool fired = game.m_starshells[0] == 1;
            seen[fired ? 1 : 0] = true;
            if (fired) {
                EXPECT_EQ(returned.str(), header + "Starshell fired");
                EXPECT_TRUE(game.HasStarshell(target.column, target.row));
            } else {
                EXPECT_EQ(game.m_starshells[0], 2);
                EXPECT_EQ(returned.str(), header + CGameIndirectFire::kStarshellFailedText);
            }
        }
        EXPECT_TRUE(seen[0]);
        EXPECT_TRUE(seen[1]);
    }
}

TEST_F(AiIndirectTest, PlottedFireAnnouncesAnUnknownHex)
{
    for (const int options : { 0, 0x8 }) {
        SCOPED_TRACE(options);
        m_game.reset();
        AiScenario scenario;
        scenario.options = options;
        scenario.Unit(0, 0, kUsMortar, -1).Unit(4, 3, kDeGrenadier, 212);
        Load(scenario);
        Game().m_ammo[0] = 100;
        Spot({ { 4, 3 } });
        StartSearch();
        const Mission mission = Choose();
        EXPECT_EQ(mission.text,
            Header({ 0, 0 }, 1) + "firing indirect"
                + (options != 0 ? std::string(" at unknown hex\n") : At(mission.target)));
    }
}

TEST_F(AiIndirectTest, TheSearchStartsFromTheFirstRecordAtEveryPhaseAndBattle)
{
    // Three batteries of side 0, then a saved battle with one.
    AiScenario three;
    three.OffMap(-3, 1, kUsHowitzer, -1).OffMap(-3, 2, kUsHowitzer, -1).OffMap(-3, 3, kUsHowitzer, -1);
    AiScenario one;
    one.OffMap(-3, 1, kUsHowitzer, -1).Unit(4, 3, kDeGrenadier, 212);
    std::string saved;
    {
        Load(one);
        saved = Saved();
        m_game.reset();
    }
    std::istringstream in(three.Text());
    String text;
    std::vector<int> groups;
    std::vector<int> released;
    HexList hexes;
    CGame& game = Game();
    ASSERT_TRUE(game.LoadBattleAndReport(in, text, groups, released, hexes));
    game.m_smoke[0] = 5;
    EXPECT_EQ(game.m_offMapRecord, 1);
    EXPECT_EQ(game.m_missionKind, 0);
    game.m_offMapRecord = 3;
    game.m_missionKind = 2;
    std::vector<int> changes;
    game.BuildTurnStartReport(text, hexes, changes, groups, released);
    EXPECT_EQ(game.m_offMapRecord, 1);
    EXPECT_EQ(game.m_missionKind, 0);
    EXPECT_EQ(game.m_reserveCount, 5) << "by day the reserve counts smoke missions";

    game.m_offMapRecord = 3;
    std::istringstream savedIn(saved);
    ASSERT_TRUE(game.ReadBattle(savedIn, true));
    EXPECT_EQ(game.m_offMapUnits.Count(), 1u);
    EXPECT_EQ(game.m_offMapRecord, 1);
    // The starshell mission of the last record of the longer list reads the
    // shorter one safely.
    game.m_offMapRecord = 3;
    game.m_missionKind = CGameAiIndirect::kOffMapSmoke;
    String result;
    HexPos shown;
    HexPos target;
    game.m_firerHex = { 0, 0 };
    game.m_firerPosition = 1;
    EXPECT_EQ(game.ExecuteIndirectFire(text, shown, target, result).str(), "");
    game.ResetBattleState();
    EXPECT_EQ(game.m_offMapRecord, 0);
    HexPos firer;
    int position = 0;
    int record = 0;
    int flag = 0;
    EXPECT_EQ(game.ChooseIndirectFire(firer, target, position, record, flag).str(), "");
}
