#pragma once
// Driving the dialogs of this process from a test thread as a user would: controls found by id in
// the dialog on top, clicks and keys sent as the system sends them to the controls. The dialog
// runs modally on the test's main thread; RunDialog runs the script beside it.

#include <functional>
#include <string>

#include "ui/dialog.h"

namespace lumisk::win32_test {

inline constexpr int DefaultTimeoutMs = 10000;

// Polls until `condition` holds or `timeoutMs` passes; whether it held.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = DefaultTimeoutMs);

// Runs `dialog` modally with `script` run on a thread of its own once the window shows; returns
// the end code. The script acts like a user and must end the dialog.
int RunDialog(ui::Dialog& dialog, const std::function<void()>& script);

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

// A click as the mouse gives it; it returns at once, before the handler it starts has run.
bool ClickButton(int id);
bool ClickListRow(int listId, int row);
// Puts the focus into the control (an address field: its first octet, all of it selected) and
// types `text` key by key into whichever control has the focus.
bool TypeText(int id, const std::string& text);

}  // namespace lumisk::win32_test
