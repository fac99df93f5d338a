// The parameter reader on any input: a parameter file as stored (scrambled lines).
#include "model/ParameterData.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnterFuzzFolder();
    WriteFuzzFile("main.pdx", FuzzText(data, size));
    ParameterData parameters;
    parameters.ReadParameterFile("main.pdx");
    return 0;
}
