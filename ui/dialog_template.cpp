#include "ui/dialog_template.h"

#include <algorithm>

#include "ui/json_value.h"
#include "ui/resource_data.h"

namespace lumisk::ui {
namespace {

std::vector<std::string> Strings(const JsonValue& value) {
    std::vector<std::string> strings;
    for (const JsonValue& item : value.Items()) {
        strings.push_back(item.String());
    }
    return strings;
}

bool Contains(const std::vector<std::string>& strings, std::string_view wanted) {
    return std::find(strings.begin(), strings.end(), wanted) != strings.end();
}

// Template coordinates are 16-bit, as in the binary templates they come from; anything outside
// that range is malformed, which also keeps the conversion to pixels clear of overflow.
constexpr int LowestCoordinate = -32768;
constexpr int HighestCoordinate = 32767;

std::optional<int> Coordinate(const JsonValue& value, int lowest) {
    const std::optional<int> number = value.Integer();
    if (!number || *number < lowest || *number > HighestCoordinate) {
        return std::nullopt;
    }
    return number;
}

// Four integers [x, y, w, h] with w and h not negative; anything else is no rectangle.
std::optional<TemplateRect> Rect(const JsonValue& value) {
    const JsonValue::Array& parts = value.Items();
    if (parts.size() != 4) {
        return std::nullopt;
    }
    const auto x = Coordinate(parts[0], LowestCoordinate);
    const auto y = Coordinate(parts[1], LowestCoordinate);
    const auto w = Coordinate(parts[2], 0);
    const auto h = Coordinate(parts[3], 0);
    if (!x || !y || !w || !h) {
        return std::nullopt;
    }
    return TemplateRect{*x, *y, *w, *h};
}

std::optional<ControlTemplate> Control(const JsonValue& object) {
    const std::optional<TemplateRect> rect = Rect(object["rect"]);
    if (!rect || !object["class"].IsString()) {
        return std::nullopt;
    }
    ControlTemplate control;
    control.id = object["id"].Integer().value_or(-1);
    control.kind = object["class"].String();
    control.text = object["text"].String();
    control.name = object["name"].String();
    control.rect = *rect;
    control.styles = Strings(object["styles"]);
    control.items = Strings(object["items"]);
    control.icon = object["icon"].Integer().value_or(0);
    return control;
}

}  // namespace

bool ControlTemplate::Has(std::string_view style) const {
    return Contains(styles, style);
}

bool DialogTemplate::Has(std::string_view style) const {
    return Contains(styles, style);
}

bool DialogTemplate::HasExtended(std::string_view style) const {
    return Contains(extendedStyles, style);
}

std::optional<DialogTemplate> ParseDialogTemplate(std::string_view json) {
    const std::optional<JsonValue> object = ParseJson(json);
    if (!object) {
        return std::nullopt;
    }
    const JsonValue::Array& size = (*object)["size"].Items();
    if (size.size() != 2) {
        return std::nullopt;
    }
    const auto width = Coordinate(size[0], 0);
    const auto height = Coordinate(size[1], 0);
    if (!width || !height) {
        return std::nullopt;
    }
    DialogTemplate dialog;
    dialog.id = (*object)["id"].Integer().value_or(0);
    dialog.caption = (*object)["caption"].String();
    dialog.name = (*object)["name"].String();
    dialog.width = *width;
    dialog.height = *height;
    const JsonValue& font = (*object)["font"];
    dialog.fontFace = font["face"].String("Arial");
    dialog.fontPoints = std::clamp(font["points"].Integer().value_or(8), 1, 72);
    dialog.styles = Strings((*object)["styles"]);
    dialog.extendedStyles = Strings((*object)["extendedStyles"]);
    for (const JsonValue& value : (*object)["controls"].Items()) {
        std::optional<ControlTemplate> control = Control(value);
        if (!control) {
            return std::nullopt;
        }
        dialog.controls.push_back(std::move(*control));
    }
    return dialog;
}

std::optional<DialogTemplate> LoadDialogTemplate(int templateId) {
    return ParseDialogTemplate(ReadResourceData("dialogs/" + std::to_string(templateId) + ".json"));
}

}  // namespace lumisk::ui
