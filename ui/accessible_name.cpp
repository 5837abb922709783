#include "ui/accessible_name.h"

#include <string_view>

namespace lumisk::ui {
namespace {

bool NamedByOwnText(const ControlTemplate& control) {
    return control.kind == "label" || control.kind == "button" || control.kind == "groupbox";
}

// "Receive DHCP :" names its field "Receive DHCP".
std::string WithoutColon(std::string_view label) {
    const std::size_t end = label.find_last_not_of(" :");
    return std::string(label.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

}  // namespace

std::string AccessibleName(const DialogTemplate& dialogTemplate, std::size_t index) {
    if (index >= dialogTemplate.controls.size()) {
        return {};
    }
    const ControlTemplate& control = dialogTemplate.controls[index];
    if (!control.name.empty()) {
        return control.name;
    }
    if (NamedByOwnText(control)) {
        return control.text;
    }
    if (index > 0 && dialogTemplate.controls[index - 1].kind == "label") {
        return WithoutColon(dialogTemplate.controls[index - 1].text);
    }
    return {};
}

std::string AccessibleName(const DialogTemplate& dialogTemplate) {
    return dialogTemplate.caption.empty() ? dialogTemplate.name : dialogTemplate.caption;
}

}  // namespace lumisk::ui
