#include "frame/NewScenarioDialog.h"

#include "frame/ChooseDialog.h"
#include "frame/RuleDialog.h"

using namespace platform::ui;

namespace {

constexpr int kNato = 101;
constexpr int kFog = 103;
constexpr int kSlider = 106;
constexpr int kRulesButton = 107;

} // namespace

CNewScenarioDialog::CNewScenarioDialog(platform::Services& services)
    : Dialog("NewScenarioDialog_AI")
    , m_rules(services.profile.GetInt("Options", "rules", CRuleDialog::kDefaultMask))
    , m_services(services)
{
}

void CNewScenarioDialog::OnInitDialog()
{
    IDialogControls& controls = *Controls();
    controls.SetChecked(kNato, true);
    InitAdvantageSlider(controls, kSlider);
}

bool CNewScenarioDialog::OnCommand(int id)
{
    if (id != kRulesButton)
        return false;
    EditOptionalRules(m_services, m_rules);
    return true;
}

void CNewScenarioDialog::OnDestroy()
{
    IDialogControls& controls = *Controls();
    m_localSide = controls.IsChecked(kNato) ? 0 : 1;
    m_fogOfWar = controls.IsChecked(kFog);
    m_advantage = AdvantageOfPosition(controls.GetSliderPos(kSlider));
}
