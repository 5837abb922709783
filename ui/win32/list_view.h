#pragma once
// The list views (SysListView32) of the dialogs.

#include <windows.h>

namespace lumisk::ui {

// A list view with the keyboard focus shows it on a row: the focused one, or else the first.
void ShowFocusOnARow(HWND list);

}  // namespace lumisk::ui
