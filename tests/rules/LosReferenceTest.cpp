// The game's line of sight against the plain reference of LosReference.h,
// over every ordered pair of hexes of the demo maps, and the general walk
// reaching every target of a large random map.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "tests/TestFiles.h"
#include "tests/Scatter.h"
#include "tests/rules/LosReference.h"
#include "tests/rules/RulesGame.h"

namespace {

namespace fs = std::filesystem;

class LosReferenceTest : public ::testing::Test {
protected:
    // The demo battle read in the data folder, with its parameters.
    void LoadDemoBattle()
    {
        ScopedCurrentDir inData(DemoDataFolder());
        m_game = std::make_unique<CRulesTestGame>();
        std::ifstream file(DemoDataFolder() / "demo.scn", std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        ASSERT_TRUE(m_game->ReadBattleFile(text, false)) << m_game->m_battleReadError.c_str();
    }

    // Wrecks, smoke, crowded stacks, breached walls and walls, bocage and
    // dunes on some sides, the visibility raised to cover the whole map.
    void Clutter(std::uint32_t seed)
    {
        CRulesTestGame& g = *m_game;
        Scatter scatter(seed);
        const int obstruction = g.m_parameters.m_defenseZeroValue;
        for (int x = 0; x < g.m_map.GetWidth(); ++x) {
            for (int y = 0; y < g.m_map.GetHeight(); ++y) {
                switch (scatter.Below(100)) {
                case 0:
                    g.AddWreck(x, y, obstruction, false);
                    break;
                case 1:
                    g.AddWreck(x, y, obstruction - 1, false);
                    break;
                case 2:
                    g.SetSmoke(0, x, y, true);
                    break;
                case 3:
                case 4: {
                    PlacedUnit unit(nullptr, nullptr);
                    unit.m_strength = 2 * obstruction + scatter.Below(2);
                    g.m_stacks.At(x, y).Append(unit);
                    break;
                }
                case 5:
                    g.m_hexFlags.At(x, y) |= CGameData::kHexRubble;
                    break;
                default:
                    break;
                }
                HexRecord& hex = g.m_map.GetHex(x, y);
                for (int layer : { kLayerHighWall, kLayerBocage, kLayerDune })
                    if (scatter.Below(25) == 0)
                        hex.layers[layer].Add(1u << scatter.Below(6));
                if (scatter.Below(10) == 0)
                    g.m_damagedBridges.At(x, y).Add(1u << scatter.Below(6));
            }
        }
        g.m_visibility = g.m_map.GetWidth() + g.m_map.GetHeight();
    }

    // Every ordered pair, reported, alike in answer, blocker and reason
    // (the reason carried over from earlier tests included).
    void ExpectEqualOverAllPairs()
    {
        CRulesTestGame& g = *m_game;
        LosReference reference(g);
        g.m_reason = String();
        const int width = g.m_map.GetWidth();
        const int height = g.m_map.GetHeight();
        int differences = 0;
        int blocked = 0;
        for (int x1 = 0; x1 < width; ++x1) {
            for (int y1 = 0; y1 < height; ++y1) {
                for (int x2 = 0; x2 < width; ++x2) {
                    for (int y2 = 0; y2 < height; ++y2) {
                        const bool expected = reference.Check(x1, y1, x2, y2, 1);
                        const bool seen = g.CheckLineOfSight(x1, y1, x2, y2, 1);
                        blocked += seen ? 0 : 1;
                        if (seen == expected && g.m_blockingHex == reference.m_blockingHex
                            && g.m_reason.str() == reference.m_reason)
                            continue;
                        if (++differences <= 5)
                            ADD_FAILURE() << x1 << "," << y1 << " to " << x2 << "," << y2 << ": " << seen << " "
                                          << g.m_reason.c_str() << " against " << expected << " " << reference.m_reason;
                        // Carry on from the same reason.
                        g.m_reason = String(reference.m_reason);
                    }
                }
            }
        }
        EXPECT_EQ(differences, 0);
        // The scene blocks many lines and leaves others clear.
        const int pairs = width * height * width * height;
        EXPECT_GT(blocked, pairs / 10);
        EXPECT_LT(blocked, pairs - pairs / 20);
    }

    std::unique_ptr<CRulesTestGame> m_game;
};

TEST_F(LosReferenceTest, DemoBattleOnTheDemoMapSeesAsTheReference)
{
    LoadDemoBattle();
    ASSERT_EQ(m_game->m_map.GetWidth(), 40);
    Clutter(11);
    ExpectEqualOverAllPairs();
}

TEST_F(LosReferenceTest, SamplerMapSeesAsTheReference)
{
    LoadDemoBattle();
    ASSERT_EQ(m_game->m_map.LoadMapFile((DemoDataFolder() / "sampler.map").string()), nullptr);
    m_game->AllocateGrids(m_game->m_map.GetWidth(), m_game->m_map.GetHeight());
    Clutter(29);
    ExpectEqualOverAllPairs();
}

// An open 100 x 100 map: every line is clear, so the walks must reach every
// target from each of 20 viewers, the corners and edges among them.
TEST_F(LosReferenceTest, EveryWalkReachesEveryTargetOfALargeMap)
{
    LoadDemoBattle();
    CRulesTestGame& g = *m_game;
    static_cast<HexMap&>(g.m_map) = HexMap(100, 100);
    g.AllocateGrids(100, 100);
    g.m_visibility = 200;
    Scatter scatter(5);
    const HexPos fixed[] = { { 0, 0 }, { 99, 0 }, { 0, 99 }, { 99, 99 }, { 50, 0 }, { 1, 99 } };
    int failures = 0;
    int unseen = 0;
    for (int n = 0; n < 20; ++n) {
        const HexPos v = n < 6 ? fixed[n] : HexPos { scatter.Below(100), scatter.Below(100) };
        for (int x2 = 0; x2 < 100; ++x2) {
            for (int y2 = 0; y2 < 100; ++y2) {
                g.m_reason = String();
                unseen += g.CheckLineOfSight(v.column, v.row, x2, y2, 1) ? 0 : 1;
                failures += g.m_reason.str() == CGameLos::kGeneralFailureText ? 1 : 0;
            }
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(unseen, 0);
}

} // namespace
