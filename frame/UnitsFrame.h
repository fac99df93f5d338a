#pragma once
// The Units menu and the move and fire orders. Its commands show disabled until the unit-order issues add them.

#include "frame/TurnFrame.h"

class CUnitsFrame : public CTurnFrame {
public:
    CUnitsFrame(platform::Services& services, FrameResources resources)
        : CTurnFrame(services, std::move(resources))
    {
    }
    ~CUnitsFrame() override = default;
};
