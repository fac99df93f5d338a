// The organisation reader on any input: an organisation file (plain text).
#include <sstream>
#include <string>

#include "model/OrgTree.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream in { std::string(FuzzText(data, size)) };
    OrgTree tree;
    if (tree.Read(in)) {
        // What was read writes back.
        std::ostringstream out;
        if (!tree.Write(out))
            __builtin_trap();
    }
    return 0;
}
