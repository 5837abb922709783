#pragma once
// The colours every dialog and message box shares: background and text of the window itself and
// of its labels and group boxes; edit fields, lists and buttons keep the system's own.

#include <windows.h>

#include "ui/application.h"

namespace lumisk::ui {

void SetDialogPalette(Rgb background, Rgb text);

// The answer to a WM_CTLCOLOR* message of a dialog: the background brush, with the text colour
// set on `context`; nullptr leaves the message to the system.
HBRUSH DialogColorFor(UINT message, HDC context, HWND control);

// Gives the dialogs the calling thread creates until the next call with false the dialog
// colours: how message boxes, which are the system's own dialogs, get them.
void ColorSystemDialogs(bool on);

}  // namespace lumisk::ui
