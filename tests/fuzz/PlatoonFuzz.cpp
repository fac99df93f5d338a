// The platoon-file reader on any input: a platoon file as stored (scrambled lines).
#include <sstream>
#include <string>

#include "model/PlatoonType.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream in { std::string(FuzzText(data, size)) };
    PlatoonTypeList types;
    types.Read(in, "platoon.obx");
    return 0;
}
