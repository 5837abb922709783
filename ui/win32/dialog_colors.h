#pragma once
// The colours every dialog and message box shares: background and text of the window itself and
// of its labels and group boxes; edit fields, lists and buttons keep the system's own. While the
// system's high-contrast setting is on, everything takes the system's colours.

#include <windows.h>

#include "ui/application.h"

namespace lumisk::ui {

void SetDialogPalette(Rgb background, Rgb text);

// Whether the high-contrast setting is on, as the system last said (SPI_GETHIGHCONTRAST).
bool HighContrastOn();
// Asks the system again: its settings or colours have changed.
void RefreshHighContrast();
// For a window told that the system's settings or colours changed (WM_SETTINGCHANGE with
// SPI_SETHIGHCONTRAST, WM_SYSCOLORCHANGE): asks the system again and repaints `window` whole.
void FollowSystemColours(HWND window);
// Where the answer comes from: the system unless replaced, as the tests under Wine do, whose
// system never reports high contrast. Returns the query it replaces.
using HighContrastQuery = bool (*)();
HighContrastQuery SetHighContrastQuery(HighContrastQuery query);

// The answer to a WM_CTLCOLOR* message of a dialog: the background brush, with the text colour
// set on `context`; nullptr leaves the message to the system.
HBRUSH DialogColorFor(UINT message, HDC context, HWND control);

// Gives the dialogs the calling thread creates until the next call with false the dialog
// colours: how message boxes, which are the system's own dialogs, get them.
void ColorSystemDialogs(bool on);

}  // namespace lumisk::ui
