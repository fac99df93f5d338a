#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "tests/rules/RandomBattle.h"
#include "tests/rules/RulesGame.h"
#include "tests/rules/SpottingCompare.h"

namespace {

namespace ref = spotting_reference;

// The fog of the computer opponent's layers, as the test top class's slot 2:
// a hidden side's hex shows units only once the other side has armed
// contact with it, so whether a stack blocks a line changes during a pass.
void SetFog(CRulesTestGame& game, int hiddenSide)
{
    game.m_hidden[0] = hiddenSide == 0;
    game.m_hidden[1] = hiddenSide == 1;
    if (hiddenSide < 0) {
        game.m_unitsAnswer = nullptr;
        return;
    }
    game.m_unitsAnswer = [&game](int x, int y) {
        if (!game.m_stacks.Contains(x, y) || game.m_stacks.At(x, y).IsEmpty())
            return false;
        const int side = game.SideInHex(x, y);
        return !game.IsSideHidden(side) || game.m_contact[OtherSide(side)].At(x, y).kind == 1;
    };
}

class SpottingEqualityTest : public ::testing::Test {
protected:
    TempDir m_dir;
    ScopedCurrentDir m_inDir { m_dir.Path() };
};

// The battle start and one later update, shipped and literal, on two copies
// of one generated battle.
TEST_F(SpottingEqualityTest, ShippedPassesEqualTheLiteralScanOnRandomBattles)
{
    struct Case {
        std::uint32_t seed;
        int sideToMove;
        int hiddenSide;
        int visibility;
    };
    const Case cases[] = {
        { 1, 0, -1, 18 },
        { 2, 1, -1, 12 },
        { 3, 0, 1, 18 },
        { 4, 1, 0, 25 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "seed " << c.seed << " side " << c.sideToMove << " fog " << c.hiddenSide);
        random_battle::Settings settings;
        settings.seed = c.seed;
        settings.sideToMove = c.sideToMove;
        settings.visibility = c.visibility;
        settings.hexesPerSide = 150;
        auto shipped = std::make_unique<CRulesTestGame>();
        auto literal = std::make_unique<CRulesTestGame>();
        random_battle::Generate(*shipped, settings);
        random_battle::Generate(*literal, settings);
        SetFog(*shipped, c.hiddenSide);
        SetFog(*literal, c.hiddenSide);

        ref::ExpectPassesEqual(*shipped, *literal, c.seed * 77, ref::ThinOutAndPass);
    }
}

} // namespace
