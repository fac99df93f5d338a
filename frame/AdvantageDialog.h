#pragma once
// The advantage slider alone ("AdvantageDialog_AI"); the caller takes the
// value only after OK.

#include "platform/ui/Dialog.h"

class CAdvantageDialog : public platform::ui::Dialog {
public:
    explicit CAdvantageDialog(int advantage)
        : Dialog("AdvantageDialog_AI")
        , m_advantage(advantage)
    {
    }

    void OnInitDialog() override;
    void OnDestroy() override;

    int m_advantage;
};
