#include "ui/qt/control_text.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "ui/qt/address_edit.h"

namespace lumisk::ui {

QString ControlText(const QWidget* control) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        return button->text();
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        return label->text();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
        return edit->text();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        return combo->currentText();
    }
    if (const auto* box = qobject_cast<const QGroupBox*>(control)) {
        return box->title();
    }
    if (const auto* address = qobject_cast<const AddressEdit*>(control)) {
        return address->Text();
    }
    return {};
}

}  // namespace lumisk::ui
