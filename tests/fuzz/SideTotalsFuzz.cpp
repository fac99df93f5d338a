// The side-totals message reader on any input, in the fixtures' battle; the
// totals are put back as they were after each input.
#include <sstream>
#include <string>

#include "tests/fuzz/BattleInPlay.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CGameHexMarks& game = BattleInPlay();
    static const std::string pristine = [&] {
        std::ostringstream out;
        game.WriteSideTotals(out);
        return out.str();
    }();

    std::istringstream in { std::string(FuzzText(data, size)) };
    if (game.ReadSideTotals(in)) {
        std::ostringstream out;
        if (!game.WriteSideTotals(out))
            __builtin_trap();
    }
    std::istringstream back(pristine);
    if (!game.ReadSideTotals(back))
        __builtin_trap();
    return 0;
}
