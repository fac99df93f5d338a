#include "platform/testing/ScriptedDialogHost.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace platform::testing {

ScriptedDialogHost::Controls::Controls(
    const ui::DialogTemplate& dialogTemplate, ui::Dialog& dialog, std::vector<std::string>& failures)
    : m_caption(dialogTemplate.caption)
    , m_dialog(dialog)
    , m_failures(failures)
{
    for (const auto& [id, control] : dialogTemplate.controls) {
        State state;
        state.kind = control.kind;
        state.group = control.group;
        state.text = control.label;
        m_states[id] = state;
    }
}

ScriptedDialogHost::Controls::State* ScriptedDialogHost::Controls::Get(int id) const
{
    const auto it = m_states.find(id);
    if (it == m_states.end()) {
        m_failures.push_back(m_dialog.Template() + ": no control " + std::to_string(id));
        return nullptr;
    }
    return const_cast<State*>(&it->second);
}

const ScriptedDialogHost::Controls::State* ScriptedDialogHost::Controls::Find(int id) const
{
    const auto it = m_states.find(id);
    return it == m_states.end() ? nullptr : &it->second;
}

void ScriptedDialogHost::Controls::Click(int id)
{
    State* state = Get(id);
    if (!state)
        return;
    if (state->kind == "wxCheckBox" && !state->readOnly) {
        state->checked = !state->checked;
    } else if (state->kind == "wxRadioButton") {
        for (auto& [other, s] : m_states)
            if (s.kind == "wxRadioButton" && s.group == state->group)
                s.checked = false;
        state->checked = true;
    }
    if (id == ui::kEndOk)
        m_dialog.OnOk();
    else if (id == ui::kEndCancel)
        m_dialog.OnCancel();
    else
        m_dialog.OnCommand(id);
}

void ScriptedDialogHost::Controls::MoveSlider(int id, int position)
{
    if (State* state = Get(id))
        state->position = std::clamp(position, state->minimum, state->maximum);
}

bool ScriptedDialogHost::Controls::IsChecked(int id) const
{
    const State* state = Get(id);
    return state && state->checked;
}

void ScriptedDialogHost::Controls::SetChecked(int id, bool checked)
{
    State* state = Get(id);
    if (!state)
        return;
    if (checked && state->kind == "wxRadioButton")
        for (auto& [other, s] : m_states)
            if (s.kind == "wxRadioButton" && s.group == state->group)
                s.checked = false;
    state->checked = checked;
}

void ScriptedDialogHost::Controls::SetCheckReadOnly(int id, bool readOnly)
{
    if (State* state = Get(id))
        state->readOnly = readOnly;
}

void ScriptedDialogHost::Controls::SetSliderRange(int id, int minimum, int maximum)
{
    if (State* state = Get(id)) {
        state->minimum = minimum;
        state->maximum = std::max(minimum, maximum);
        state->position = std::clamp(state->position, state->minimum, state->maximum);
    }
}

void ScriptedDialogHost::Controls::SetSliderTicks(int id, int frequency)
{
    if (State* state = Get(id))
        state->ticks = frequency;
}

void ScriptedDialogHost::Controls::SetSliderPos(int id, int position)
{
    if (State* state = Get(id))
        state->position = std::clamp(position, state->minimum, state->maximum);
}

int ScriptedDialogHost::Controls::GetSliderPos(int id) const
{
    const State* state = Get(id);
    return state ? state->position : 0;
}

std::string ScriptedDialogHost::Controls::GetText(int id) const
{
    const State* state = Get(id);
    return state ? state->text : std::string();
}

void ScriptedDialogHost::Controls::SetText(int id, const std::string& text)
{
    if (State* state = Get(id))
        state->text = text;
}

int ScriptedDialogHost::RunModal(ui::Dialog& dialog)
{
    shown.push_back(dialog.Template());
    std::ifstream in(m_folder / (dialog.Template() + ".xrc"));
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    const auto parsed = in ? ui::DialogTemplate::Parse(text.str(), error) : std::nullopt;
    if (!parsed) {
        failures.push_back(dialog.Template() + ": template not loaded " + error);
        return -1;
    }
    Controls controls(*parsed, dialog, failures);
    dialog.Bind(&controls);
    dialog.ResetEnd();
    dialog.OnInitDialog();
    auto& queue = m_scripts[dialog.Template()];
    int result = 0;
    if (queue.empty()) {
        failures.push_back(dialog.Template() + ": shown without a script");
    } else {
        const ScriptFn script = std::move(queue.front());
        queue.pop_front();
        result = script(dialog, controls);
    }
    const int code = dialog.EndCode() ? dialog.EndCode() : (result ? result : ui::kEndCancel);
    dialog.OnDestroy();
    dialog.Bind(nullptr);
    return code;
}

} // namespace platform::testing
