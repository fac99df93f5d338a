#pragma once
// The Reinforcements menu: scheduled and arrived groups and releases, with their dialogs. Its commands show disabled
// until the reinforcements issue adds them.

#include "frame/AiFrame.h"

class CReinforceFrame : public CAiFrame {
public:
    CReinforceFrame(platform::Services& services, FrameResources resources)
        : CAiFrame(services, std::move(resources))
    {
    }
    ~CReinforceFrame() override = default;
};
