#include "ui/qt/address_edit_accessible.h"

#include <QApplication>
#include <QLineEdit>

namespace lumisk::ui {

AddressEditAccessible::AddressEditAccessible(AddressEdit* field)
    : QAccessibleWidget(field, QAccessible::EditableText) {}

QAccessible::State AddressEditAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.focusable = true;
    state.focused = Field()->FocusedOctetIndex() >= 0;
    return state;
}

QString AddressEditAccessible::text(QAccessible::Text kind) const {
    switch (kind) {
        case QAccessible::Value:
            return Field()->TypedText();
        case QAccessible::Description: {
            const int octet = Field()->FocusedOctetIndex();
            return octet >= 0 ? Field()->OctetField(octet)->accessibleDescription() : QString();
        }
        default:
            return QAccessibleWidget::text(kind);
    }
}

QAccessibleInterface* AddressEditAccessible::child(int index) const {
    return index >= 0 && index < AddressEdit::OctetCount
               ? QAccessible::queryAccessibleInterface(Field()->OctetField(index))
               : nullptr;
}

int AddressEditAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (int index = 0; child != nullptr && index < AddressEdit::OctetCount; ++index) {
        if (child->object() == Field()->OctetField(index)) {
            return index;
        }
    }
    return -1;
}

void* AddressEditAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

void AddressEditAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    const auto [start, end] = Field()->SelectedRange();
    const bool selected = selectionIndex == 0 && start != end;
    *startOffset = selected ? start : 0;
    *endOffset = selected ? end : 0;
}

int AddressEditAccessible::selectionCount() const {
    const auto [start, end] = Field()->SelectedRange();
    return start != end ? 1 : 0;
}

void AddressEditAccessible::addSelection(int startOffset, int endOffset) {
    Field()->SelectTypedRange(startOffset, endOffset);
}

void AddressEditAccessible::removeSelection(int /*selectionIndex*/) {
    setCursorPosition(cursorPosition());
}

void AddressEditAccessible::setSelection(int /*selectionIndex*/, int startOffset, int endOffset) {
    Field()->SelectTypedRange(startOffset, endOffset);
}

int AddressEditAccessible::cursorPosition() const {
    return Field()->CaretOffset();
}

void AddressEditAccessible::setCursorPosition(int position) {
    Field()->SelectTypedRange(position, position);
}

QString AddressEditAccessible::text(int startOffset, int endOffset) const {
    const QString typed = Field()->TypedText();
    if (endOffset < 0 || endOffset > typed.size()) {
        endOffset = static_cast<int>(typed.size());
    }
    startOffset = std::clamp(startOffset, 0, endOffset);
    return typed.mid(startOffset, endOffset - startOffset);
}

int AddressEditAccessible::characterCount() const {
    return static_cast<int>(Field()->TypedText().size());
}

// A character's place is its octet field's: the field shows no finer grain.
QRect AddressEditAccessible::characterRect(int offset) const {
    const QLineEdit* octet = Field()->OctetField(Field()->OctetAt(offset));
    return QRect(octet->mapToGlobal(QPoint(0, 0)), octet->size());
}

int AddressEditAccessible::offsetAtPoint(const QPoint& point) const {
    for (int index = 0; index < AddressEdit::OctetCount; ++index) {
        const QLineEdit* octet = Field()->OctetField(index);
        if (octet->rect().contains(octet->mapFromGlobal(point))) {
            return Field()->OctetStart(index);
        }
    }
    return -1;
}

// The field shows all of its text at once.
void AddressEditAccessible::scrollToSubstring(int /*startIndex*/, int /*endIndex*/) {}

// One plain run of text: no attributes of its own.
QString AddressEditAccessible::attributes(int /*offset*/, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

}  // namespace lumisk::ui
