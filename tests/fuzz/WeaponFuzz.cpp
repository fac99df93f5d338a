// The weapon reader on any input: "weapon.pdx" as stored (scrambled lines).
#include "model/GameWeapons.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnterFuzzFolder();
    WriteFuzzFile(CGameWeapons::kWeaponFileName, FuzzText(data, size));
    CGameWeapons weapons; // reads the file
    return 0;
}
