// The computer opponent's assaults and the players' "Add to Assault".

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/HexMap.h"
#include "model/PlatoonType.h"
#include "tests/ai/AiGame.h"

namespace {

using namespace demo;

struct Choice {
    std::string text;
    HexPos hex { -1, -1 };
};

class AiAssaultTest : public AiGameTest {
protected:
    Choice Choose()
    {
        Choice choice;
        choice.text = Game().ChooseAssault(choice.hex).str();
        return choice;
    }
    PlatoonType& Type(int id) { return *Game().m_platoonTypes.FindById(static_cast<std::uint32_t>(id)); }
    int& Flags(int x, int y) { return Game().m_hexFlags.At(x, y); }
    // Units of the hex committed to the assault.
    int Committed(int x, int y)
    {
        int count = 0;
        for (const PlacedUnit& unit : Game().m_stacks.At(x, y))
            count += HasStatus(unit, kUnitInAssault) ? 1 : 0;
        return count;
    }
    // Strength 1 units whose assault values are set by hand: the attack
    // product is the US rifles' attack times defence, the defence product
    // the grenadiers' defence times counter-assault.
    void SetFactors(int usAttack, int usDefence, int deAttack, int deDefence)
    {
        Type(kUsRifle).m_value12 = usAttack;
        Type(kUsRifle).m_value13 = usDefence;
        Type(kDeGrenadier).m_value12 = deAttack;
        Type(kDeGrenadier).m_value13 = deDefence;
    }
};

} // namespace

// Around the odd column 3, row 3: N (3, 2), NE (4, 2), SE (4, 3), S (3, 4),
// SW (2, 3), NW (2, 2).
TEST_F(AiAssaultTest, EachDirectionFromNorthToNorthWestIsTriedAndEachRefusalMovesOn)
{
    AiScenario scenario;
    scenario.Unit(3, 3, kUsRifle, 112)
        .Unit(4, 2, kUsRifle, 113) // NE: own units
        .Unit(4, 3, kDeGrenadier, 212) // SE: dug in
        .Unit(3, 4, kDeGrenadier, 213) // S: the one
        .Unit(2, 2, kDeHmg, 214); // NW: never reached
    Load(scenario);
    Flags(3, 3) = CGameData::kHexTrench;
    Flags(4, 3) = CGameData::kHexImprovedPosition;
    Game().m_sweep = HexPos { 3, 3 };
    ASSERT_TRUE(Game().TryAssaultFromCursor());
    EXPECT_EQ(Game().m_defendingHex, (HexPos { 3, 4 }));
    EXPECT_EQ(Game().m_assaultHex, (HexPos { 3, 4 }));
    EXPECT_EQ(Committed(3, 3), 1);
    EXPECT_EQ(Committed(4, 3), 0) << "the refused hex's assault was cleared";

    // A Banzai unit needs no favourable ground: the dug-in hex is first.
    m_game.reset();
    AiScenario banzai = scenario;
    banzai.sections.clear();
    banzai.Unit(3, 3, kUsRifle, 112, 4, kUnitBanzai).Unit(4, 3, kDeGrenadier, 212).Unit(3, 4, kDeGrenadier, 213);
    Load(banzai);
    Flags(3, 3) = CGameData::kHexTrench;
    Flags(4, 3) = CGameData::kHexImprovedPosition;
    Game().m_sweep = HexPos { 3, 3 };
    ASSERT_TRUE(Game().TryAssaultFromCursor());
    EXPECT_EQ(Game().m_defendingHex, (HexPos { 4, 3 }));
}

TEST_F(AiAssaultTest, UnitsWithoutAssaultFactorOrCarriedOpenNothingAndTheNextUnitIsTried)
{
    AiScenario scenario;
    scenario
        .Unit(3, 3, kUsJeep, 124) // no assault factor
        .Unit(3, 3, kUsHalfTrack, 124)
        .Unit(3, 3, kUsRifle, 112, 4, kUnitCarried) // carried: passed over
        .Unit(3, 3, kUsRifle, 113)
        .Unit(3, 4, kDeGrenadier, 213);
    Load(scenario);
    Type(kUsHalfTrack).m_value12 = 0;
    Game().m_sweep = HexPos { 3, 3 };
    ASSERT_TRUE(Game().TryAssaultFromCursor());
    EXPECT_EQ(Game().GetStackNode(3, 3, 4)->value.m_status & kUnitInAssault, kUnitInAssault);
    EXPECT_EQ(Committed(3, 3), 1);
}

TEST_F(AiAssaultTest, TheGroundMustFavourTheAssault)
{
    struct Case {
        const char* name;
        int attackerFlags;
        int defenderFlags;
        int defenderPercent;
        bool favours;
    };
    const int bunker = CGameData::kHexBunker, pillbox = CGameData::kHexPillbox;
    const int trench = CGameData::kHexTrench, improved = CGameData::kHexImprovedPosition;
    const Case cases[] = {
        { "open against open", 0, 0, 100, true },
        { "from a bunker into the open", bunker, 0, 100, false },
        { "from a pillbox into a bunker", pillbox, bunker, 100, true },
        { "from the open into a bunker", 0, bunker, 100, true },
        { "into better cover", 0, 0, 101, false },
        { "into worse cover", 0, 0, 99, true },
        { "from a trench into the open", trench, 0, 100, true },
        { "from a trench into an improved position", trench, improved, 100, false },
        { "from an improved position into a trench", improved, trench, 100, false },
        { "from the open into a trench", 0, trench, 100, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_game.reset();
        Load(AiScenario());
        CGame& game = Game();
        game.m_map.GetHex(3, 4).terrain = kTerrainRough;
        game.m_parameters.m_terrainPercent[kTerrainOpen] = 100;
        game.m_parameters.m_terrainPercent[kTerrainRough] = c.defenderPercent;
        Flags(3, 3) = c.attackerFlags;
        Flags(3, 4) = c.defenderFlags;
        EXPECT_EQ(game.FavoursAssault(HexPos { 3, 3 }, HexPos { 3, 4 }), c.favours);
    }
}

TEST_F(AiAssaultTest, TheOddsMustBeEvenOrBetterUnlessABanzaiUnitForcesThem)
{
    struct Case {
        const char* name;
        int deDefence;
        std::uint32_t openerStatus;
        std::uint32_t joinerStatus;
        bool accepted;
    };
    // Two rifles of attack 3 and defence 4 (attack 6, defence 8: 48) against
    // grenadiers of counter-assault 1.
    const Case cases[] = {
        { "even", 48, 0, 0, true },
        { "one short", 49, 0, 0, false },
        { "short, Banzai opener", 1000, kUnitBanzai, 0, true },
        { "short, Banzai joiner", 1000, 0, kUnitBanzai, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_game.reset();
        AiScenario scenario;
        scenario.Unit(3, 3, kUsRifle, 112, 1, c.openerStatus)
            .Unit(2, 4, kUsRifle, 113, 1, c.joinerStatus) // SW of (3, 4)
            .Unit(3, 4, kDeGrenadier, 213, 1);
        Load(scenario);
        SetFactors(3, 4, 1, c.deDefence);
        Game().m_sweep = HexPos { 3, 3 };
        EXPECT_EQ(Game().TryAssaultFromCursor(), c.accepted);
        EXPECT_EQ(Game().HasAssault(), c.accepted) << "a refused assault is cleared";
        EXPECT_EQ(Committed(3, 3) + Committed(2, 4), c.accepted ? 2 : 0);
    }
}

TEST_F(AiAssaultTest, TheOddsProductDoesNotOverflow)
{
    AiScenario scenario;
    scenario.Unit(3, 3, kUsRifle, 112, 1).Unit(3, 4, kDeGrenadier, 213, 1);
    Load(scenario);
    // 100000 x 100000 on each side, and the defence one more.
    SetFactors(100000, 100000, 100000, 100001);
    Game().m_sweep = HexPos { 3, 3 };
    EXPECT_FALSE(Game().TryAssaultFromCursor());
    SetFactors(100001, 100000, 100000, 100000);
    EXPECT_TRUE(Game().TryAssaultFromCursor());
}

TEST_F(AiAssaultTest, TheAnnouncementNamesTheAttackersAndTheNextSearchStartsAtTheCorner)
{
    AiScenario scenario;
    scenario.Unit(3, 3, kUsRifle, 112)
        .Unit(2, 4, kUsCaptain, 111) // a leader joins
        .Unit(2, 4, kUsJeep, 124) // no assault factor: stays out
        .Unit(2, 4, kUsRifle, 113)
        .Unit(3, 4, kDeGrenadier, 213, 1);
    Load(scenario);
    // The sweep meets (2, 4) first: its rifles open, those of (3, 3) and the
    // captain (a leader, named after his node) join.
    const Choice choice = Choose();
    EXPECT_EQ(
        choice.text, "Assault attack\n    Rifle Platoon\n    Rifle Platoon\n    Captain A\nagainst defenders at 3, 4");
    EXPECT_EQ(choice.hex, (HexPos { 3, 4 }));
    EXPECT_EQ(Game().m_sweep, (HexPos { 0, 0 }));
    EXPECT_EQ(Committed(2, 4), 2);

    // With the side's information hidden the units are not named.
    m_game.reset();
    Load(scenario);
    Game().m_aiFog[0] = 1;
    Game().SetInfoHidden(true);
    EXPECT_EQ(Choose().text, "Assault attack\nagainst defenders at 3, 4");
}

TEST_F(AiAssaultTest, NoAssaultLeftGivesTheEmptyTextAndTheAssaultIsResolvedOnRequest)
{
    AiScenario scenario;
    scenario.Unit(3, 3, kUsRifle, 112, 8).Unit(3, 4, kDeGrenadier, 213, 1);
    Load(scenario);
    CGame& game = Game();
    const Choice choice = Choose();
    ASSERT_FALSE(choice.text.empty());
    HexPos defending;
    const std::string report = game.ExecuteAssault(defending).str();
    EXPECT_EQ(defending, (HexPos { 3, 4 }));
    EXPECT_FALSE(report.empty());
    EXPECT_FALSE(game.HasAssault());

    // No enemy next to a unit of the side to move: nothing to do.
    m_game.reset();
    AiScenario none;
    none.Unit(3, 3, kUsRifle, 112).Unit(6, 0, kDeGrenadier, 213);
    Load(none);
    Game().m_sweep = HexPos { 5, 1 };
    EXPECT_EQ(Choose().text, "");
    EXPECT_EQ(Game().m_sweep, (HexPos { 0, 0 }));
    EXPECT_FALSE(Game().HasAssault());
}

TEST_F(AiAssaultTest, AddToAssaultJoinsTheOpenAssaultOrStartsOneOnAnotherHex)
{
    AiScenario scenario;
    scenario.Unit(3, 3, kUsRifle, 112, 1)
        .Unit(3, 3, kUsRifle, 113, 1)
        .Unit(3, 3, kUsJeep, 124)
        .Unit(3, 4, kDeGrenadier, 213, 1)
        .Unit(4, 3, kDeGrenadier, 212, 1)
        .Unit(2, 3, kUsHalfTrack, 124);
    Load(scenario);
    CGame& game = Game();
    String odds;
    const int first = 1, second = 2, jeep = 3;

    // A new hex: the assault starts there.
    std::string text = game.AddUnitsToAssault(3, 3, &first, 1, 3, 4).str();
    game.GetOddsText(odds);
    EXPECT_EQ(text, odds.str());
    EXPECT_EQ(game.m_assaultHex, (HexPos { 3, 4 }));
    EXPECT_EQ(Committed(3, 3), 1);

    // The same hex: the units join.
    text = game.AddUnitsToAssault(3, 3, &second, 1, 3, 4).str();
    EXPECT_EQ(Committed(3, 3), 2);
    game.GetOddsText(odds);
    EXPECT_EQ(text, odds.str());

    // A refusal is reported before the odds, and what joined stays.
    text = game.AddUnitsToAssault(3, 3, &jeep, 1, 3, 4).str();
    game.GetOddsText(odds);
    EXPECT_EQ(text, "Unit has no assault factor\n" + odds.str());
    EXPECT_EQ(Committed(3, 3), 2);

    // A hex that cannot be assaulted: nothing added.
    EXPECT_EQ(game.AddUnitsToAssault(3, 3, &first, 1, 2, 3).str(), "Defending hex cannot be assaulted");
    EXPECT_EQ(game.m_assaultHex, (HexPos { 3, 4 }));
    EXPECT_EQ(Committed(3, 3), 2);

    // Another enemy hex: the old assault ends, the new one starts.
    text = game.AddUnitsToAssault(3, 3, &first, 1, 4, 3).str();
    EXPECT_EQ(game.m_assaultHex, (HexPos { 4, 3 }));
    EXPECT_EQ(Committed(3, 3), 1);
    EXPECT_EQ(Committed(3, 4), 0);

    // A new assault that nobody joins is cleared.
    text = game.AddUnitsToAssault(3, 3, &jeep, 1, 3, 4).str();
    EXPECT_EQ(text, "Unit has no assault factor\nNo attacking units have been specified");
    EXPECT_FALSE(game.HasAssault());
    EXPECT_EQ(Committed(3, 3), 0);
}

TEST_F(AiAssaultTest, AnAssaultRefusedForItsOddsLetsTheNextUnitOfTheStackTry)
{
    AiScenario scenario;
    scenario.Unit(3, 3, kUsRifle, 112, 1)
        .Unit(3, 3, kUsSherman, 123)
        .Unit(3, 2, kDeGrenadier, 212, 8) // N: strong, in a pillbox
        .Unit(4, 2, kDeGrenadier, 213, 1); // NE: weak
    Load(scenario);
    Flags(3, 2) = CGameData::kHexPillbox;
    Game().m_sweep = HexPos { 3, 3 };
    // The rifles open on the strong hex alone (tanks cannot assault a
    // pillbox) and fall short; the Sherman then opens on the weak hex and
    // the rifles join it.
    ASSERT_TRUE(Game().TryAssaultFromCursor());
    EXPECT_EQ(Game().m_defendingHex, (HexPos { 4, 2 }));
    EXPECT_EQ(Game().m_assaultReport.str(),
        "Assault attack\n    M4A1 Sherman Platoon\n    Rifle Platoon\nagainst defenders at 4, 2");
    EXPECT_EQ(Committed(3, 3), 2);
    EXPECT_EQ(Committed(3, 2), 0);
}
