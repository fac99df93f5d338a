#pragma once
// The Options menu: each option toggled and checked, the report detail and
// the initial view, and the optional rules shown read-only.

#include "frame/GameFrame.h"

class COptionsFrame : public CGameFrame {
public:
    COptionsFrame(platform::Services& services, FrameResources resources);
    ~COptionsFrame() override = default;

    bool OnCommand(int id) override;
    bool OnUpdateCommand(platform::ui::CmdUI& ui) override;

    void OnToggleOption(int id);
    void OnReportDetails(int id);
    void OnInitialView(int id);
    void OnOptionalRules(int id);
    void OnUpdateOption(platform::ui::CmdUI& ui);

    // The option's value for a toggle command (1101-1124).
    bool IsOptionOn(int id) const;
};
