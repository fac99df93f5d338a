#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "ai/Game.h"
#include "tests/TestFiles.h"
#include "tests/rules/RandomBattle.h"
#include "tests/rules/SpottingCompare.h"

namespace fs = std::filesystem;

namespace {

namespace ref = spotting_reference;

// Some positions, obstacles, wrecks and smoke on empty hexes, the same on
// every copy.
void AddFeatures(CGame& game)
{
    int empty = 0;
    for (int x = 0; x < game.m_stacks.Width(); ++x) {
        for (int y = 0; y < game.m_stacks.Height(); ++y) {
            if (!game.m_stacks.At(x, y).IsEmpty() || ++empty % 23 != 0)
                continue;
            static constexpr int kFlags[] = { CGameData::kHexTrench, CGameData::kHexPillbox, CGameData::kHexMinefield2,
                CGameData::kHexBlocked, CGameData::kHexCave };
            game.m_hexFlags.At(x, y) |= kFlags[(empty / 23) % 5];
            if (empty % 3 == 0)
                game.AddWreck(x, y, 5, false);
            if (empty % 5 == 0)
                game.SetSmoke(0, x, y, true);
        }
    }
}

class SpottingFogTest : public ::testing::Test {
protected:
    TempDir m_dir;
};

TEST_F(SpottingFogTest, ShippedPassesEqualTheLiteralScanOnTheDemoBattles)
{
    const fs::path folder = DemoDataFolder();
    ASSERT_TRUE(fs::is_directory(folder)) << "the build makes the demo data folder " << folder;
    ScopedCurrentDir inData(folder);
    for (const char* file : { "demo.scn", "delaying.scn" }) {
        const std::string text = ReadFileText(folder / file);
        for (int mover = 0; mover < 2; ++mover) {
            for (int hidden = -1; hidden < 2; ++hidden) {
                SCOPED_TRACE(::testing::Message() << file << " side " << mover << " fog " << hidden);
                auto shipped = std::make_unique<CGame>();
                auto literal = std::make_unique<CGame>();
                for (CGame* game : { shipped.get(), literal.get() }) {
                    std::istringstream in(text);
                    // A scenario carries no computer-opponent blocks.
                    ASSERT_TRUE(game->CGameData::ReadBattleFile(in, false)) << game->m_battleReadError.c_str();
                    AddFeatures(*game);
                    game->m_map.SetSide(mover);
                    if (hidden >= 0)
                        game->m_aiFog[hidden] = 1;
                }
                ref::ExpectPassesEqual(*shipped, *literal, 99, ref::ThinOutAndPass);
            }
        }
    }
}

TEST_F(SpottingFogTest, ShippedPassesEqualTheLiteralScanOnARandomBattleUnderFog)
{
    ScopedCurrentDir inDir(m_dir.Path());
    random_battle::Settings settings;
    settings.hexesPerSide = 120;
    settings.seed = 8;
    auto shipped = std::make_unique<CGame>();
    auto literal = std::make_unique<CGame>();
    for (CGame* game : { shipped.get(), literal.get() }) {
        random_battle::Generate(*game, settings);
        game->m_aiFog[1] = 1;
    }
    ref::ExpectPassesEqual(*shipped, *literal, 5, ref::ThinOutAndPass);
}

// A hidden side's crowded stack blocks sight only once the other side has
// spotted it, and the pass spots hexes as it goes: a target scanned before
// the stack is seen past it.
TEST_F(SpottingFogTest, HiddenCrowdedStackBlocksOnlyOnceSpotted)
{
    ScopedCurrentDir inDir(m_dir.Path());
    for (int fog = 0; fog < 2; ++fog) {
        SCOPED_TRACE(fog);
        auto game = std::make_unique<CGame>();
        random_battle::Settings settings;
        settings.width = 6;
        settings.height = 10;
        settings.hexesPerSide = 0;
        random_battle::Generate(*game, settings);
        for (int x = 0; x < 6; ++x)
            for (int y = 0; y < 10; ++y) {
                game->m_map.GetHex(x, y) = HexRecord {};
                game->m_hexFlags.At(x, y) = 0;
                game->m_wrecks.At(x, y) = 0;
                game->SetSmoke(-1, x, y, true);
            }
        game->m_visibility = 10;
        game->m_aiFog[1] = static_cast<std::uint8_t>(fog);
        const auto add = [&](int x, int y, std::uint32_t id, int strength) {
            PlacedUnit unit(game->m_platoonTypes.FindById(id), nullptr);
            unit.m_strength = strength;
            game->m_stacks.At(x, y).Append(unit);
        };
        add(2, 9, 200, 2); // side 0 rifles, the viewer
        // Side 1 boats, which spot nothing themselves: 5 + 5 is more than
        // twice the obstruction unit.
        add(2, 6, 1601, 5);
        add(2, 6, 1601, 5);
        add(2, 3, 1200, 2); // side 1, scanned before the stack
        game->m_map.SetSide(0);
        game->RecomputeContacts();
        EXPECT_EQ(game->m_contact[0].At(2, 6).kind, 1);
        EXPECT_EQ(game->m_contact[0].At(2, 3).kind, fog ? 1 : 0);
        EXPECT_EQ(game->m_contact[1].At(2, 9).kind, fog ? 1 : 0) << "the stack's own side looks past it too";
        // Once spotted, the stack blocks for single sightings.
        game->m_contact[0].At(2, 3) = ContactCell {};
        EXPECT_FALSE(game->CanSideSeeHex(2, 3, 0, 1));
    }
}

} // namespace
