#pragma once
// The Assault menu. Its commands show disabled until the assault issue adds them.

#include "frame/UnitsFrame.h"

class CAssaultFrame : public CUnitsFrame {
public:
    CAssaultFrame(platform::Services& services, FrameResources resources)
        : CUnitsFrame(services, std::move(resources))
    {
    }
    ~CAssaultFrame() override = default;
};
