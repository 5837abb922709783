#pragma once
// dialog_driver.h on the Qt back end, with real mouse clicks and key events, and what else only
// that back end's tests can do: the widgets themselves, keys with modifiers, the context menu.

#include <QWidget>

#include "tests/gui_support/dialog_driver.h"

namespace lumisk::gui_test {

// The running dialog on top (the one the user can reach), or nullptr.
QWidget* ActiveDialog();

// Control `id` of the dialog on top, or nullptr.
QWidget* FindControl(int id);
template <class Widget>
Widget* FindControlAs(int id) {
    return qobject_cast<Widget*>(FindControl(id));
}

// Mouse: the window's background.
bool RightClickBackground(const QPoint& position);

// Keys by Qt's names, with modifiers, to whichever control of the dialog on top has the focus.
void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

}  // namespace lumisk::gui_test
