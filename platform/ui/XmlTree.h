#pragma once
// A small reader of the XML our own resource files use (menus and dialogs):
// elements, attributes, text and the five named entities; comments and the
// declaration are skipped. Anything else, or bad nesting, is an error.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::ui {

struct XmlElement {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::string text; // the element's own text, trimmed
    std::vector<XmlElement> children;

    const std::string* Attribute(std::string_view key) const;
    // The first child of that name, or null.
    const XmlElement* Child(std::string_view childName) const;
    // The text of the first child of that name, or empty.
    std::string ChildText(std::string_view childName) const;
    // The first child <object class="cls" name="..."> that has a name, and
    // that name when `objectName` is given; or null.
    const XmlElement* FindObject(std::string_view cls, std::optional<std::string_view> objectName = {}) const;
};

// The root element, or nothing with the reason in `error`.
std::optional<XmlElement> ParseXml(std::string_view text, std::string& error);

} // namespace platform::ui
