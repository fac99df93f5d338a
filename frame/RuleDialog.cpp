#include "frame/RuleDialog.h"

#include "platform/ui/MessageBoxes.h"

using namespace platform::ui;

CRuleDialog::CRuleDialog(platform::Services& services, int mask, bool readOnly)
    : Dialog("RuleDialog")
    , m_services(services)
    , m_mask(mask)
    , m_readOnly(readOnly)
{
}

void CRuleDialog::OnInitDialog()
{
    IDialogControls& controls = *Controls();
    for (int i = 0; i < 9; ++i) {
        if (!controls.HasControl(101 + i))
            continue;
        controls.SetChecked(101 + i, (m_mask & (1 << i)) != 0);
        if (m_readOnly)
            controls.SetCheckReadOnly(101 + i, true);
    }
}

bool CRuleDialog::OnCommand(int id)
{
    if (id < 101 || id > 109)
        return false;
    if (m_readOnly)
        m_services.boxes.Show(
            "Optional rules can only be changed at the beginning of a scenario", "Optional Rule Dialog", kBoxOk);
    return true;
}

void CRuleDialog::OnDestroy()
{
    IDialogControls& controls = *Controls();
    m_mask = kDefaultMask;
    for (int i = 0; i < 9; ++i) {
        if (!controls.HasControl(101 + i))
            continue;
        if (controls.IsChecked(101 + i))
            m_mask |= 1 << i;
        else
            m_mask &= ~(1 << i);
    }
}
