#include "platform/ui/DialogTemplate.h"

#include <charconv>

#include "platform/ui/XmlTree.h"

namespace platform::ui {

namespace {

    std::optional<int> ControlId(const std::string& name)
    {
        if (name == "wxID_OK")
            return 1;
        if (name == "wxID_CANCEL")
            return 2;
        int value = 0;
        const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), value);
        if (ec != std::errc() || end != name.data() + name.size() || value <= 0)
            return std::nullopt;
        return value;
    }

    void Collect(const XmlElement& element, DialogTemplate& out, int& group)
    {
        for (const XmlElement& child : element.children) {
            if (child.name != "object")
                continue;
            const std::string* cls = child.Attribute("class");
            const std::string* name = child.Attribute("name");
            if (cls && *cls == "wxRadioButton" && child.ChildText("style").find("wxRB_GROUP") != std::string::npos)
                ++group;
            if (cls && name && *cls != "sizeritem") {
                if (const auto id = ControlId(*name))
                    out.controls[*id] = { *cls, child.ChildText("label"), *cls == "wxRadioButton" ? group : 0 };
            }
            Collect(child, out, group);
        }
    }

} // namespace

std::optional<DialogTemplate> DialogTemplate::Parse(std::string_view xrc, std::string& error)
{
    const auto root = ParseXml(xrc, error);
    if (!root)
        return std::nullopt;
    const XmlElement* object = root->FindObject("wxDialog");
    if (!object) {
        error = "no dialog in the file";
        return std::nullopt;
    }
    DialogTemplate dialog;
    dialog.name = *object->Attribute("name");
    dialog.caption = object->ChildText("title");
    int group = 0;
    Collect(*object, dialog, group);
    return dialog;
}

} // namespace platform::ui
