// The gui tests start the toolkit once for the whole program, then run.
#include <gtest/gtest.h>

#include "platform/wx/App.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    platform::wx::ToolkitSession toolkit(argc, argv);
    if (!toolkit.Ok()) {
        std::fprintf(stderr, "no display: the gui tests run under xvfb-run (tools/run-gui-test.sh)\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
