#pragma once
// What a GUI test does to the program's dialogs on every back end, in the back end's own way:
// runs a dialog with a script inside its modal run, on the dialog's thread; finds controls by id;
// clicks, types and presses keys by name as a user would. A click or key returns once it has been
// handled, handlers included, so a modal dialog or message box it opens is met by a step scheduled
// before it (WhenDialogShown, MessageBoxAnswerer). Tests written against this header alone run on
// both back ends; gui_driver.h adds what only the Qt back end can do, tests/windows/gui_driver.h
// the Win32 one.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/dialog.h"
#include "ui/message_box.h"

namespace lumisk::gui_test {

inline constexpr int DefaultTimeoutMs = 5000;

// Lets the dialogs work until `condition` holds or `timeoutMs` passes; whether it held.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = DefaultTimeoutMs);

// Runs `dialog` modally with `script` run once its window shows; returns the end code. The script
// acts like a user and must end the dialog; one still running `timeoutMs` after it started fails
// the test and is closed.
int RunDialog(ui::Dialog& dialog, const std::function<void()>& script, int timeoutMs = 10000);
// Runs `step` once a dialog of `templateId` is on top; failing the test if none shows in time.
void WhenDialogShown(int templateId, std::function<void()> step, int timeoutMs = DefaultTimeoutMs);
// The template id and the caption of the dialog on top (the one the user can reach): -1 and
// empty when none runs.
int ActiveTemplateId();
std::string ActiveCaption();

// Controls of the dialog on top, by id.
bool IsControlEnabled(int id);
// The text a label, button, edit or address field shows, or a drop-down list's chosen item.
std::string ControlText(int id);
// Whether list `id` shows a horizontal scroll bar.
bool ShowsHorizontalScrollBar(int id);
// The octet of address field `id` that has the keyboard focus, 0 to 3, or -1; waits for the
// focus to get there.
int FocusedOctet(int id);
// The control of the dialog on top that has the keyboard focus, or a part of it: its id, or -1.
int FocusedControl();

// A click on button `id` of the dialog on top; whether it could be clicked.
bool ClickButton(int id);
bool ClickListRow(int listId, int row);
// A click into list `listId` below its rows; false when the rows fill it.
bool ClickListEmptyArea(int listId);
bool DoubleClickListRow(int listId, int row);
// Turns the mouse wheel with the pointer over control `id` by `notches` (positive: away from the
// user); what it turns is the system's choice.
bool TurnWheel(int id, int notches);
// Opens the drop-down list and chooses the item with `text`; whether it was chosen.
bool ChooseComboItem(int comboId, const std::string& text);
// Clicks into the edit or address field `id` and types `text` (UTF-8) key by key; in an address
// field the first octet is clicked, and the dots are typed like any other key.
bool TypeText(int id, const std::string& text);
// Types `text` key by key into whichever control has the focus.
void TypeKeys(const std::string& text);

// BackTab: Shift+Tab.
enum class Key { Enter, Escape, Space, Tab, Up, Down, BackTab };
// A key to whichever control of the dialog on top has the focus.
void PressKey(Key key);
inline void PressEnter() {
    PressKey(Key::Enter);
}
inline void PressEscape() {
    PressKey(Key::Escape);
}
void PressAltF4();
// The title bar's close button.
void RequestClose();
// Asks the dialog on top to repaint, as a window that was covered is asked.
void RepaintActiveDialog();
// Presses Tab until the focus is in control `id`; whether it got there.
bool TabTo(int id);
// Chooses the entry of the dialog's system menu whose text, without '&' and the shown shortcut,
// is `entry`; whether there is one.
bool ChooseSystemMenuEntry(const std::string& entry);

// While it lives, asks the dialog on top to repaint on every tick on which `during` holds, as an
// uncovered window is asked, and counts the paints that reached it then and whether the wait
// cursor showed.
class RepaintProbe {
public:
    explicit RepaintProbe(std::function<bool()> during);
    ~RepaintProbe();
    RepaintProbe(const RepaintProbe&) = delete;
    RepaintProbe& operator=(const RepaintProbe&) = delete;

    int Paints() const;
    bool SawWaitCursor() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Whether the program shows the wait cursor now.
bool ShowsWaitCursor();

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    ui::MessageIcon icon = ui::MessageIcon::None;
    // Whether it was shown over a dialog window.
    bool owned = false;
};

// How a message box is answered: its OK button clicked, or Enter pressed.
enum class Answer { Click, EnterKey };

// While it lives, each message box that shows is recorded and answered with OK.
class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(Answer answer = Answer::Click);
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    const std::vector<MessageBoxRecord>& Boxes() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Runs `action`, answering each message box it shows; the boxes in order.
std::vector<MessageBoxRecord> RunAndAnswerMessageBoxes(const std::function<void()>& action);

// Checks that `boxes` is exactly one box with `text`, `caption` and `icon`.
void ExpectBox(const std::vector<MessageBoxRecord>& boxes, const std::string& text,
               const std::string& caption, ui::MessageIcon icon);

}  // namespace lumisk::gui_test
