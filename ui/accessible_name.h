#pragma once
// What a screen reader calls a dialog and its controls, read from the template alone, so that
// every back end gives the same names.

#include <cstddef>
#include <string>

#include "ui/dialog_template.h"

namespace lumisk::ui {

// Control `index` of `dialogTemplate`: the name the template gives it; else the text of a label,
// button or group box; else, as the system's dialog manager reads a field, the text of the label
// just before it in the template's order, without the colon after it; else empty.
std::string AccessibleName(const DialogTemplate& dialogTemplate, std::size_t index);

// The dialog: its caption, or the template's name when the caption is empty.
std::string AccessibleName(const DialogTemplate& dialogTemplate);

}  // namespace lumisk::ui
