#pragma once
// Finding a stack on a battle's map for the frame tests' clicks.

#include <cstddef>

#include "ai/Game.h"

// The first hex, column by column, that holds at least `count` units;
// column -1 when none does.
inline HexPos FirstHexWithUnits(const CGame& game, std::size_t count)
{
    for (int c = 0; c < game.m_map.GetWidth(); ++c)
        for (int r = 0; r < game.m_map.GetHeight(); ++r)
            if (game.m_stacks.At(c, r).Count() >= count)
                return { c, r };
    return { -1, -1 };
}
