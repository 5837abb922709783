#pragma once
// The colours every dialog and message box shares: background and text of the window itself;
// edit fields, lists and buttons keep the style's own.

#include <QWidget>

#include "ui/application.h"

namespace lumisk::ui {

void SetDialogPalette(Rgb background, Rgb text);

// Gives `window` the dialog colours, if any were set.
void ApplyDialogColors(QWidget& window);

}  // namespace lumisk::ui
