#include "ui/qt/drop_down_list.h"

#include <QAbstractItemView>
#include <QFrame>
#include <QSignalBlocker>
#include <QWheelEvent>

namespace lumisk::ui {

DropDownList::DropDownList(bool sorted, QWidget* parent) : QComboBox(parent), sorted_(sorted) {
    setEditable(false);
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (userChangeHandler_) {
            userChangeHandler_();
        }
    });
}

int DropDownList::AddItem(const QString& text) {
    int index = count();
    if (sorted_) {
        index = 0;
        while (index < count() && itemText(index).compare(text, Qt::CaseInsensitive) <= 0) {
            ++index;
        }
    }
    const QSignalBlocker quiet(this);
    const bool hadCurrent = currentIndex() >= 0;
    insertItem(index, text);
    if (!hadCurrent) {
        setCurrentIndex(-1);
    }
    return index;
}

void DropDownList::showPopup() {
    if (dropHeight_ > 0 && count() > 0) {
        // The list's frame is its container's, known before the first drop.
        const auto* container = qobject_cast<const QFrame*>(view()->parentWidget());
        const int frames = container != nullptr ? 2 * container->frameWidth() : 0;
        const int rowHeight = std::max(1, view()->sizeHintForRow(0));
        setMaxVisibleItems(std::max(1, (dropHeight_ - height() - frames) / rowHeight));
    }
    QComboBox::showPopup();
}

void DropDownList::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

void DropDownList::RemoveAll() {
    if (count() == 0) {
        return;
    }
    const QSignalBlocker quiet(this);
    clear();
}

void DropDownList::Select(int index) {
    const int wanted = index >= 0 && index < count() ? index : -1;
    if (wanted == currentIndex()) {
        return;
    }
    const QSignalBlocker quiet(this);
    setCurrentIndex(wanted);
}

}  // namespace lumisk::ui
