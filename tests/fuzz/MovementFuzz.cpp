// The movement-cost reader on any input: "movement.pdx" as stored (scrambled lines).
#include "model/GameMovementCosts.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnterFuzzFolder();
    WriteFuzzFile(CGameMovementCosts::kMovementFileName, FuzzText(data, size));
    CGameMovementCosts costs; // reads the file
    return 0;
}
