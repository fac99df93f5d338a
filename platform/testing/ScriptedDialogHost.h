#pragma once
// Dialogs for tests: the dialog's XRC template is read into in-memory
// controls, OnInitDialog runs, then the test's script for that template
// sets values and clicks, and the dialog ends with the code the script
// leaves (Cancel when it leaves none); OnDestroy reads back. A template with
// no script, or a control id the template lacks, is recorded as a failure.

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/ui/Dialog.h"
#include "platform/ui/DialogTemplate.h"

namespace platform::testing {

class ScriptedDialogHost final : public ui::DialogHost {
public:
    class Controls final : public ui::IDialogControls {
    public:
        struct State {
            std::string kind;
            int group = 0;
            bool checked = false;
            bool readOnly = false;
            int minimum = 0, maximum = 100, ticks = 0, position = 0;
            std::string text;
        };

        Controls(const ui::DialogTemplate& dialogTemplate, ui::Dialog& dialog, std::vector<std::string>& failures);

        // The user's acts: a click on a button, check box or radio button
        // (OK and Cancel end the dialog through the logic), a slider moved.
        void Click(int id);
        void MoveSlider(int id, int position);
        const State* Find(int id) const;

        bool HasControl(int id) const override { return m_states.count(id) > 0; }
        bool IsChecked(int id) const override;
        void SetChecked(int id, bool checked) override;
        void SetCheckReadOnly(int id, bool readOnly) override;
        void SetSliderRange(int id, int minimum, int maximum) override;
        void SetSliderTicks(int id, int frequency) override;
        void SetSliderPos(int id, int position) override;
        int GetSliderPos(int id) const override;
        std::string GetText(int id) const override;
        void SetText(int id, const std::string& text) override;
        std::string Caption() const override { return m_caption; }

    private:
        State* Get(int id) const;
        std::map<int, State> m_states;
        std::string m_caption;
        ui::Dialog& m_dialog;
        std::vector<std::string>& m_failures;
    };

    // Plays one showing of a dialog; its end code comes from the dialog's
    // EndDialog (OK/Cancel clicks), else the script's result when not 0.
    using ScriptFn = std::function<int(ui::Dialog&, Controls&)>;

    explicit ScriptedDialogHost(std::filesystem::path templateFolder = {})
        : m_folder(std::move(templateFolder))
    {
    }
    void SetTemplateFolder(std::filesystem::path folder) { m_folder = std::move(folder); }
    // Scripts are used once each, in order, per template.
    void Script(const std::string& templateName, ScriptFn script)
    {
        m_scripts[templateName].push_back(std::move(script));
    }

    int RunModal(ui::Dialog& dialog) override;

    std::vector<std::string> shown; // templates, in order
    std::vector<std::string> failures;

private:
    std::filesystem::path m_folder;
    std::map<std::string, std::deque<ScriptFn>> m_scripts;
};

} // namespace platform::testing
