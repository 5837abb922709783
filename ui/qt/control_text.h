#pragma once
// What a dialog's control shows as its text, whichever widget stands for it.

#include <QString>

class QWidget;

namespace lumisk::ui {

// A button's, label's or edit's text, a drop-down list's chosen item, a group box's title or an
// address field's dotted address; empty for any other control, or none.
QString ControlText(const QWidget* control);

}  // namespace lumisk::ui
