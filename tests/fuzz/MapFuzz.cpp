// The map reader on any input: a map file as stored, read from a buffer of
// exactly its size so that a read past its end is caught.
#include <vector>

#include "model/HexMap.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<char> text(data, data + size);
    HexMap map;
    if (!map.ReadMapText(text) && (map.GetWidth() != 1 || map.GetHeight() != 1))
        __builtin_trap(); // a refused file leaves the empty 1 by 1 map
    return 0;
}
