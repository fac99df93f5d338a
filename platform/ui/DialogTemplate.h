#pragma once
// A dialog template read from its XRC file: caption and the controls by id
// with their kinds. The headless host plays dialogs on it, the resource
// tests check it.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace platform::ui {

struct DialogTemplate {
    struct Control {
        std::string kind; // the XRC class: wxButton, wxCheckBox, wxRadioButton, wxSlider ...
        std::string label;
        int group = 0; // radio buttons: their group (a wxRB_GROUP style starts one)
    };
    std::string name;
    std::string caption;
    std::map<int, Control> controls; // numeric names; OK and Cancel as 1 and 2

    static std::optional<DialogTemplate> Parse(std::string_view xrc, std::string& error);
};

} // namespace platform::ui
