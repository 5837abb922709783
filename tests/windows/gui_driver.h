#pragma once
// dialog_driver.h on the Win32 back end, and what else its tests need: the dialog runs modally on
// the test's main thread and RunDialog runs the script on a thread of its own beside it; controls
// are found by id in the dialog on top, and clicks and keys reach them as the system sends them.
// A click returns at once, before the handler it starts has run; typing and keys return once
// they are handled.

#include <windows.h>

#include <string>

#include "tests/gui_support/dialog_driver.h"

namespace lumisk::gui_test {

// The window of the dialog on top (the one the user can reach), or nullptr.
HWND ActiveDialogWindow();

// The caption of the dialog on top (the one the user can reach), and waiting for one.
std::string ActiveCaption();
bool WaitForDialogCaption(const std::string& caption, int timeoutMs = DefaultTimeoutMs);

// Controls of the dialog on top, by id.
bool IsControlEnabled(int id);
std::string ControlText(int id);
int ListRowCount(int listId);
std::string ListItemText(int listId, int row, int column);
// The row of list `listId` whose first column is `text`, or -1.
int ListRowOf(int listId, const std::string& text);

// Writes the dialog on top, frame included, as it shows on the screen to a 24-bit BMP file at
// `path`; whether it could.
bool SaveActiveDialog(const std::string& path);

bool ClickListRow(int listId, int row);
// Chooses the system-menu entry with `commandId` of the dialog on top.
bool ChooseSystemMenuEntry(int commandId);

// Waits for a message box with `caption` over the dialogs and answers it with OK: its text, empty
// when none showed in time.
std::string AnswerMessageBox(const std::string& caption, int timeoutMs = DefaultTimeoutMs);

}  // namespace lumisk::gui_test
