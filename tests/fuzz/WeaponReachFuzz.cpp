// The battle generator's weapon reach list on any input: "weapon.pdx" as
// stored (scrambled lines), read and looked up.
#include <filesystem>

#include "launcher/generator/WeaponReach.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnterFuzzFolder();
    WriteFuzzFile(WeaponReachList::kFileName, FuzzText(data, size));
    WeaponReachList reaches;
    reaches.Read(std::filesystem::current_path());
    for (const std::uint32_t type : { 0u, 1u, 10300u, 1300u, 4294967295u })
        reaches.FindReach(type);
    return 0;
}
