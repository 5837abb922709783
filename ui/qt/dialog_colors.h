#pragma once
// The colours every dialog and message box shares: background and text of the window itself;
// edit fields, lists and buttons keep the style's own. While the desktop asks for high contrast,
// the windows take the system's colours instead.

#include <QWidget>

#include "ui/application.h"

namespace lumisk::ui {

void SetDialogPalette(Rgb background, Rgb text);

// Whether the desktop asks for high contrast; the windows that are open follow at once.
void UseHighContrast(bool on);

// Gives `window` the dialog colours, if any were set and no high contrast is asked for, and its
// controls what they need to stay legible on the window's colours.
void ApplyDialogColors(QWidget& window);

}  // namespace lumisk::ui
