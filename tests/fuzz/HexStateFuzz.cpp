// The hex-state message reader on any input. The first byte picks the hex of
// the fixtures' battle (and whether contact is applied); the rest is the
// message. The hex is put back as it was after each input.
#include <sstream>
#include <string>
#include <vector>

#include "tests/fuzz/BattleInPlay.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    CGameHexMarks& game = BattleInPlay();
    const int width = game.m_stacks.Width();
    const int height = game.m_stacks.Height();
    static const std::vector<std::string> pristine = [&] {
        std::vector<std::string> texts;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                std::ostringstream out;
                game.WriteHexState(out, x, y);
                texts.push_back(out.str());
            }
        return texts;
    }();

    const int hex = (data[0] & 0x7f) % (width * height);
    const int x = hex % width;
    const int y = hex / width;
    std::istringstream in { std::string(FuzzText(data + 1, size - 1)) };
    if (game.ReadHexState(in, x, y, (data[0] & 0x80) != 0)) {
        // What was taken travels on.
        std::ostringstream out;
        if (!game.WriteHexState(out, x, y))
            __builtin_trap();
    }
    std::istringstream back(pristine[static_cast<std::size_t>(hex)]);
    if (!game.ReadHexState(back, x, y, true))
        __builtin_trap();
    return 0;
}
