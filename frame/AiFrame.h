#pragma once
// The A/I menu and the computer-turn driver. The side menus, the driver and the advantage dialog come with the
// computer-turn issue; their commands show disabled until then.

#include "special/SpecialFrame.h"

class CAiFrame : public CSpecialFrame {
public:
    CAiFrame(platform::Services& services, FrameResources resources)
        : CSpecialFrame(services, std::move(resources))
    {
    }
    ~CAiFrame() override = default;
};
