#pragma once
// Runs the shipped spotting passes and the literal ones of
// SpottingReference.h on two copies of a battle and expects the same result.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "model/Random.h"
#include "tests/rules/SpottingReference.h"

namespace spotting_reference {

// The battle start (recompute and reset) and, after the change, one update
// on two copies of a battle, the shipped passes on the first and these on the
// second: the same contact cells, snapshots, hidden bits, hex lists and
// generator state after each.
inline void ExpectPassesEqual(CGameSpotting& shipped, CGameSpotting& literal, std::uint32_t seed,
    const std::function<void(CGameSpotting&)>& change)
{
    SetRandomSeed(seed);
    shipped.RecomputeContacts();
    shipped.ResetUnitVisibility();
    const std::uint32_t shippedStart = GlobalRandomGenerator().State();
    SetRandomSeed(seed);
    RecomputeContacts(literal);
    ResetUnitVisibility(literal);
    EXPECT_EQ(GlobalRandomGenerator().State(), shippedStart);
    const HexList none;
    EXPECT_TRUE(StateOf(shipped, none) == StateOf(literal, none)) << "battle start";
    EXPECT_EQ(shipped.m_report, literal.m_report);
    EXPECT_EQ(shipped.m_blockingHex, literal.m_blockingHex);

    change(shipped);
    change(literal);
    HexList shippedList;
    HexList literalList;
    AppendHexListNode(shippedList, 0, 0);
    AppendHexListNode(literalList, 0, 0);
    SetRandomSeed(shippedStart);
    shipped.UpdateSpotting(shippedList);
    const std::uint32_t shippedEnd = GlobalRandomGenerator().State();
    SetRandomSeed(shippedStart);
    UpdateSpotting(literal, literalList);
    EXPECT_EQ(GlobalRandomGenerator().State(), shippedEnd);
    EXPECT_GT(shippedList.Count(), 1u) << "the change changed something";
    EXPECT_TRUE(StateOf(shipped, shippedList) == StateOf(literal, literalList)) << "update";
    EXPECT_EQ(shipped.m_report, literal.m_report);
    EXPECT_EQ(shipped.m_blockingHex, literal.m_blockingHex);
    bool snapshotsEqual = true;
    for (int side = 0; side < 2; ++side)
        for (int x = 0; x < shipped.m_stacks.Width(); ++x)
            for (int y = 0; y < shipped.m_stacks.Height(); ++y)
                snapshotsEqual = snapshotsEqual
                    && shipped.m_contactSnapshot[side].At(x, y) == literal.m_contactSnapshot[side].At(x, y);
    EXPECT_TRUE(snapshotsEqual);
}

// Takes the units out of every seventh held hex and hands the move to the
// other side, so that an update finds contacts lost and gained.
inline void ThinOutAndPass(CGameSpotting& game)
{
    int held = 0;
    for (int x = 0; x < game.m_stacks.Width(); ++x)
        for (int y = 0; y < game.m_stacks.Height(); ++y)
            if (!game.m_stacks.At(x, y).IsEmpty() && ++held % 7 == 0)
                game.m_stacks.At(x, y).Free();
    game.m_map.SetSide(OtherSide(game.m_map.GetSide()));
}

} // namespace spotting_reference
