#pragma once
// A dialog template: the window's caption, size, font and styles, and its controls in tab order.
// Sizes and positions are in dialog units.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumisk::ui {

struct TemplateRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct ControlTemplate {
    int id = -1;
    std::string kind;  // the control's class: "button", "listview", ...
    std::string text;
    // What a screen reader calls the control when neither its text nor a label names it.
    std::string name;
    TemplateRect rect;
    std::vector<std::string> styles;
    std::vector<std::string> items;
    int icon = 0;

    bool Has(std::string_view style) const;
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    // What a screen reader calls a dialog without a caption.
    std::string name;
    int width = 0;
    int height = 0;
    std::string fontFace;
    int fontPoints = 8;
    std::vector<std::string> styles;
    std::vector<std::string> extendedStyles;
    std::vector<ControlTemplate> controls;

    bool Has(std::string_view style) const;
    bool HasExtended(std::string_view style) const;
};

// Nothing when the text is not a well-formed template.
std::optional<DialogTemplate> ParseDialogTemplate(std::string_view json);

// Template `templateId` from the resources.
std::optional<DialogTemplate> LoadDialogTemplate(int templateId);

}  // namespace lumisk::ui
