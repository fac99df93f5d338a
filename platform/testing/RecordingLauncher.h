#pragma once
// A process launcher that starts nothing: it records each request and
// answers as the test says.

#include <string>
#include <vector>

#include "platform/core/Process.h"

namespace platform::testing {

class RecordingLauncher final : public ProcessLauncher {
public:
    struct Spawn {
        std::string program;
        std::vector<std::string> args;
    };
    bool SpawnDetached(const std::string& program, const std::vector<std::string>& args) override
    {
        spawns.push_back({ program, args });
        return succeed;
    }
    std::vector<Spawn> spawns;
    bool succeed = true;
};

} // namespace platform::testing
