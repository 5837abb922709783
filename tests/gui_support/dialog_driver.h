#pragma once
// What a GUI test does to the program's dialogs on every back end, in the back end's own way:
// runs a dialog with a script beside its modal run, finds controls by id, clicks, types and
// presses keys by name as a user would. Tests written against this header alone run on both;
// gui_driver.h adds what only the Qt back end can do, tests/windows/gui_driver.h the Win32 one.

#include <functional>
#include <string>

#include "ui/dialog.h"

namespace lumisk::gui_test {

inline constexpr int DefaultTimeoutMs = 5000;

// Lets the dialogs work until `condition` holds or `timeoutMs` passes; whether it held.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = DefaultTimeoutMs);

// Runs `dialog` modally with `script` run once its window shows; returns the end code. The script
// acts like a user and must end the dialog; one still running `timeoutMs` after it started fails
// the test and is closed.
int RunDialog(ui::Dialog& dialog, const std::function<void()>& script, int timeoutMs = 10000);

// A click on button `id` of the dialog on top; whether it could be clicked.
bool ClickButton(int id);
// Clicks into the edit or address field `id` and types `text` (UTF-8) key by key; in an address
// field the first octet is clicked, and the dots are typed like any other key.
bool TypeText(int id, const std::string& text);

// Keys and the close request to the dialog on top.
void PressEnter();
void PressEscape();
void PressAltF4();
// The title bar's close button.
void RequestClose();

}  // namespace lumisk::gui_test
