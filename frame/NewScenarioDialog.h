#pragma once
// The new battle of a two-player special mode ("NewScenarioDialog_AI"): the
// local side, fog of war for the other side, the advantage and the rules.

#include "platform/core/Services.h"
#include "platform/ui/Dialog.h"

class CNewScenarioDialog : public platform::ui::Dialog {
public:
    explicit CNewScenarioDialog(platform::Services& services);

    void OnInitDialog() override;
    bool OnCommand(int id) override;
    void OnDestroy() override;

    int m_localSide = 0;
    bool m_fogOfWar = false;
    int m_advantage = 0;
    int m_rules;

private:
    platform::Services& m_services;
};
