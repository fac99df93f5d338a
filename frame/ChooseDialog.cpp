#include "frame/ChooseDialog.h"

#include "frame/RuleDialog.h"

using namespace platform::ui;

namespace {

constexpr int kSlider = 109;
constexpr int kRulesButton = 110;
// Per side: Manual, Computer, Computer with FOW.
constexpr int kRadios[2][3] = { { 102, 103, 104 }, { 106, 107, 108 } };

} // namespace

int AdvantageOfPosition(int position) { return 100 - position; }
int PositionOfAdvantage(int advantage) { return 100 - advantage; }

void InitAdvantageSlider(IDialogControls& controls, int slider)
{
    controls.SetSliderRange(slider, 0, 200);
    controls.SetSliderTicks(slider, 10);
    controls.SetSliderPos(slider, PositionOfAdvantage(0));
}

void EditOptionalRules(platform::Services& services, int& rules)
{
    CRuleDialog dialog(services, rules, false);
    if (services.dialogs.RunModal(dialog) == kEndOk)
        rules = dialog.GetMask();
}

CChooseDialog::CChooseDialog(platform::Services& services)
    : Dialog("ChooseDialog_AI")
    , m_rules(services.profile.GetInt("Options", "rules", CRuleDialog::kDefaultMask))
    , m_services(services)
{
}

void CChooseDialog::OnInitDialog()
{
    IDialogControls& controls = *Controls();
    controls.SetChecked(kRadios[0][0], true);
    controls.SetChecked(kRadios[1][0], true);
    InitAdvantageSlider(controls, kSlider);
}

bool CChooseDialog::OnCommand(int id)
{
    if (id != kRulesButton)
        return false;
    EditOptionalRules(m_services, m_rules);
    return true;
}

void CChooseDialog::OnDestroy()
{
    IDialogControls& controls = *Controls();
    for (int side = 0; side < 2; ++side) {
        m_fog[side] = 0;
        // Read in order: the last one set wins.
        if (controls.IsChecked(kRadios[side][0]))
            m_modes[side] = 0;
        if (controls.IsChecked(kRadios[side][1]))
            m_modes[side] = 2;
        if (controls.IsChecked(kRadios[side][2])) {
            m_modes[side] = 2;
            m_fog[side] = 1;
        }
    }
    m_advantage = AdvantageOfPosition(controls.GetSliderPos(kSlider));
}

void CChooseDialog::GetSelection(int modes[2], std::uint8_t fog[2]) const
{
    for (int side = 0; side < 2; ++side) {
        modes[side] = m_modes[side];
        fog[side] = m_fog[side];
    }
}
