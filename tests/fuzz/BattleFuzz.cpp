// The battle-file reader on any input: a scenario or saved battle as stored,
// read in a folder with the fixtures' map, organisation and platoon file.
// What it accepts must write back and read back.
#include <sstream>
#include <string>

#include "model/GameHexMarks.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnterFuzzFolder();
    CGameHexMarks game;
    std::istringstream in { std::string(FuzzText(data, size)) };
    if (!game.ReadBattleFile(in, false))
        return 0;
    std::ostringstream out;
    if (!game.WriteBattleFile(out))
        __builtin_trap();
    CGameHexMarks again;
    std::istringstream back(out.str());
    if (!again.ReadBattleFile(back, true))
        __builtin_trap();
    return 0;
}
