#include "frame/AdvantageDialog.h"

#include "frame/ChooseDialog.h"

namespace {

constexpr int kSlider = 101;

} // namespace

void CAdvantageDialog::OnInitDialog()
{
    platform::ui::IDialogControls& controls = *Controls();
    controls.SetSliderRange(kSlider, 0, 200);
    controls.SetSliderTicks(kSlider, 10);
    controls.SetSliderPos(kSlider, PositionOfAdvantage(m_advantage));
}

void CAdvantageDialog::OnDestroy() { m_advantage = AdvantageOfPosition(Controls()->GetSliderPos(kSlider)); }
