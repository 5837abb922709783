#pragma once
// dialog_driver.h on the Win32 back end, and what else its tests need. Everything runs on the
// dialog's thread, as the system's own input does: RunDialog's script and the scheduled steps
// run from thread timers inside the modal loops, waits pump the thread's messages, and clicks
// and keys go through the dialog manager to the control and return once handled.

#include <windows.h>

#include <functional>
#include <string>

#include "tests/gui_support/dialog_driver.h"

namespace lumisk::gui_test {

// The window of the dialog on top (the one the user can reach), or nullptr; under a message
// box, the dialog the box is shown over.
HWND ActiveDialogWindow();

// Controls of the dialog on top, by id.
int ListRowCount(int listId);
std::string ListItemText(int listId, int row, int column);
// The row of list `listId` whose first column is `text`, or -1.
int ListRowOf(int listId, const std::string& text);

// Writes the dialog or message box on top, frame included, as it shows on the screen to a 24-bit
// BMP file at `path`; whether it could.
bool SaveActiveDialog(const std::string& path);

// Runs `step` once a message box is on top, failing the test if none shows in time: for what a
// test looks at while the box shows, before it answers it with AnswerMessageBox.
void WhenMessageBoxShown(std::function<void()> step, int timeoutMs = DefaultTimeoutMs);
// Answers the message box on top, which must have `caption`, with OK: its text, empty when no
// such box shows.
std::string AnswerMessageBox(const std::string& caption);

}  // namespace lumisk::gui_test
