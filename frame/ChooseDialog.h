#pragma once
// Who plays each side of a new battle at this computer ("ChooseDialog_AI"):
// a person, the computer, or the computer with fog of war; the advantage
// slider and the optional rules.

#include <cstdint>

#include "platform/core/Services.h"
#include "platform/ui/Dialog.h"

// The slider of the advantage dialogs: position p (0..200) is advantage 100 - p.
int AdvantageOfPosition(int position);
int PositionOfAdvantage(int advantage);
// The slider as both advantage dialogs open it: the whole range, even odds.
void InitAdvantageSlider(platform::ui::IDialogControls& controls, int slider);
// Their optional rules button: the rule dialog, its mask kept when accepted.
void EditOptionalRules(platform::Services& services, int& rules);

class CChooseDialog : public platform::ui::Dialog {
public:
    explicit CChooseDialog(platform::Services& services);

    void OnInitDialog() override;
    bool OnCommand(int id) override;
    void OnDestroy() override;

    void GetSelection(int modes[2], std::uint8_t fog[2]) const;
    int m_advantage = 0;
    int m_rules;

private:
    platform::Services& m_services;
    int m_modes[2] = { 0, 0 };
    std::uint8_t m_fog[2] = { 0, 0 };
};
