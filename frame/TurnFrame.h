#pragma once
// The Turn menu: phase and turn advance, the phase box, the end of the scenario. Its commands show disabled until the
// turn issue adds them.

#include "frame/StatusFrame.h"

class CTurnFrame : public CStatusFrame {
public:
    CTurnFrame(platform::Services& services, FrameResources resources)
        : CStatusFrame(services, std::move(resources))
    {
    }
    ~CTurnFrame() override = default;
};
