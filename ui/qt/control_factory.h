#pragma once
// The widgets behind template controls, one maker per control class.

#include <QWidget>

#include "ui/dialog_template.h"
#include "ui/qt/dialog_units.h"

namespace lumisk::ui {

// The widget for `control`, placed on `parent`; nullptr for a class this toolkit does not know.
QWidget* CreateControl(const ControlTemplate& control, const DialogUnits& units, QWidget& parent);

}  // namespace lumisk::ui
