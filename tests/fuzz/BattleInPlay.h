#pragma once
// The fixtures' version-10 battle in play, for the message targets: read once
// per process; each input changes one hex or the totals, which are put back
// from their text as read before the next input.

#include <sstream>
#include <string>
#include <vector>

#include "model/GameHexMarks.h"
#include "tests/fuzz/FuzzSupport.h"

inline CGameHexMarks& BattleInPlay()
{
    EnterFuzzFolder();
    static CGameHexMarks game;
    static const bool read = [] {
        std::istringstream in(StoredBattle(ReadFixture("battles/battle-v10.txt")));
        return game.ReadBattleFile(in, false);
    }();
    if (!read)
        __builtin_trap();
    return game;
}
