#pragma once
// The optional rules: check box 101 + i is bit i of the rules mask (boxes
// 101, 102, 103 and 109 exist). Read-only, clicks change nothing and say so.
// On every end the mask is rebuilt from 88 and the boxes found.

#include "platform/core/Services.h"
#include "platform/ui/Dialog.h"

class CRuleDialog : public platform::ui::Dialog {
public:
    static constexpr int kDefaultMask = 88;

    CRuleDialog(platform::Services& services, int mask, bool readOnly);

    void OnInitDialog() override;
    bool OnCommand(int id) override;
    void OnDestroy() override;

    int GetMask() const { return m_mask; }

private:
    platform::Services& m_services;
    int m_mask;
    bool m_readOnly;
};
