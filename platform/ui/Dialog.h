#pragma once
// A modal dialog's logic on a template ("<Template>.xrc", control names are
// numeric ids). The host shows it (wx) or plays a script (tests); the logic
// reaches its controls by id through the host. End codes: 1 OK, 2 Cancel,
// 9 Help, or the code given to EndDialog.

#include <string>

namespace platform::ui {

enum DialogEnd : int { kEndOk = 1, kEndCancel = 2, kEndHelp = 9 };

// The controls of the dialog being shown.
class IDialogControls {
public:
    virtual ~IDialogControls() = default;
    virtual bool HasControl(int id) const = 0;
    virtual bool IsChecked(int id) const = 0; // check boxes and radio buttons
    virtual void SetChecked(int id, bool checked) = 0;
    // A check box whose clicks do not change it.
    virtual void SetCheckReadOnly(int id, bool readOnly) = 0;
    virtual void SetSliderRange(int id, int minimum, int maximum) = 0;
    virtual void SetSliderTicks(int id, int frequency) = 0;
    virtual void SetSliderPos(int id, int position) = 0;
    virtual int GetSliderPos(int id) const = 0;
    virtual std::string GetText(int id) const = 0;
    virtual void SetText(int id, const std::string& text) = 0;
    virtual std::string Caption() const = 0;
};

class Dialog {
public:
    explicit Dialog(std::string templateName)
        : m_template(std::move(templateName))
    {
    }
    virtual ~Dialog() = default;

    const std::string& Template() const { return m_template; }

    // Called by hosts only.
    void Bind(IDialogControls* controls) { m_controls = controls; }
    IDialogControls* Controls() const { return m_controls; }

    virtual void OnInitDialog() { }
    // A button, check box or radio button was clicked; false: not handled.
    virtual bool OnCommand(int /*id*/) { return false; }
    // Every end, before the controls go: read the controls back.
    virtual void OnDestroy() { }
    virtual void OnOk() { EndDialog(kEndOk); }
    virtual void OnCancel() { EndDialog(kEndCancel); }

    void EndDialog(int code) { m_endCode = code; }
    // 0 while the dialog runs.
    int EndCode() const { return m_endCode; }
    void ResetEnd() { m_endCode = 0; }

private:
    std::string m_template;
    IDialogControls* m_controls = nullptr;
    int m_endCode = 0;
};

class DialogHost {
public:
    virtual ~DialogHost() = default;
    // Shows the dialog modally over the program's frame: OnInitDialog, the
    // user's clicks, OnDestroy; the end code. A template that cannot be
    // loaded gives -1 without running anything.
    virtual int RunModal(Dialog& dialog) = 0;
};

} // namespace platform::ui
