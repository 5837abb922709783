#pragma once
// The address field as screen readers meet it: one editable text, the dotted address as typed,
// its caret where the caret is in the octet being typed in, and as its description the place of
// that octet. The four octet fields are its parts.

#include <QAccessibleWidget>

#include "ui/qt/address_edit.h"

namespace lumisk::ui {

class AddressEditAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AddressEditAccessible(AddressEdit* field);

    QAccessible::Role role() const override { return QAccessible::EditableText; }
    QAccessible::State state() const override;
    QString text(QAccessible::Text kind) const override;
    int childCount() const override { return AddressEdit::OctetCount; }
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    AddressEdit* Field() const { return static_cast<AddressEdit*>(widget()); }
};

}  // namespace lumisk::ui
