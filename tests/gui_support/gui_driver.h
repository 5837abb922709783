#pragma once
// Driving the program's dialogs from GUI tests as a user would: controls found by id in the
// dialog on top, real mouse clicks and key presses, and the modal dialogs and message boxes they
// open. A modal dialog blocks the code that opens it, so what happens inside one is scheduled
// before: RunDialog runs a script inside the dialog's modal run, WhenDialogShown waits for a
// nested dialog, and a MessageBoxAnswerer answers the boxes shown while it lives.

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/gui_support/dialog_driver.h"
#include "ui/dialog.h"
#include "ui/message_box.h"

namespace lumisk::gui_test {

// The running dialog on top (the one the user can reach), or nullptr.
QWidget* ActiveDialog();
// Its template id, or -1 when no dialog runs.
int ActiveTemplateId();
// Waits until the dialog on top is of `templateId`, or has `caption`.
bool WaitForDialog(int templateId, int timeoutMs = DefaultTimeoutMs);
bool WaitForDialogCaption(const QString& caption, int timeoutMs = DefaultTimeoutMs);

// Control `id` of the dialog on top, or nullptr.
QWidget* FindControl(int id);
template <class Widget>
Widget* FindControlAs(int id) {
    return qobject_cast<Widget*>(FindControl(id));
}

// Here RunDialog (dialog_driver.h) runs its script inside the modal run, on the dialog's thread.
// Runs `step` once a dialog of `templateId` is on top; failing the test if none shows in time.
void WhenDialogShown(int templateId, std::function<void()> step, int timeoutMs = DefaultTimeoutMs);

// Mouse: list rows, the empty area below a list's rows, the window's background.
bool ClickListRow(int listId, int row);
bool ClickListEmptyArea(int listId);
bool DoubleClickListRow(int listId, int row);
// Turns the mouse wheel over control `id` by `notches` (positive: away from the user), where
// the pointer is, whichever control has the focus.
bool TurnWheel(int id, int notches);
bool RightClickBackground(const QPoint& position);
// Opens the drop-down list and clicks the item with `text`.
bool ChooseComboItem(int comboId, const QString& text);
// Types `text` key by key into whichever control has the focus.
void TypeKeys(const QString& text);
// Presses Tab until the focus is in control `id`; whether it got there.
bool TabTo(int id);

// Keys to whichever control of the dialog on top has the focus.
void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Opens the system menu with Alt+Space and clicks the entry whose text, without '&' and the
// shown shortcut, is `entry`.
bool ChooseSystemMenuEntry(const QString& entry);

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

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    ui::MessageIcon icon;
    // The dialog window the box was shown over, or nullptr.
    QWidget* owner;
};

// While it lives, each message box that shows is recorded and answered with OK.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer();
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    const std::vector<MessageBoxRecord>& Boxes() const;
    // Waits until `count` boxes have been answered.
    bool WaitForBoxes(std::size_t count, int timeoutMs = DefaultTimeoutMs);

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
