#pragma once
// The Display and Highlight menus of the frame. Their commands show disabled until the display issue adds them.

#include "frame/AssaultFrame.h"

class CDisplayFrame : public CAssaultFrame {
public:
    CDisplayFrame(platform::Services& services, FrameResources resources)
        : CAssaultFrame(services, std::move(resources))
    {
    }
    ~CDisplayFrame() override = default;
};
