#include "ui/qt/report_view.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <utility>

namespace lumisk::ui {

ReportView::ReportView(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(0);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
}

void ReportView::mousePressEvent(QMouseEvent* event) {
    // As in the native list view, a click below the rows leaves none selected.
    if (!indexAt(event->position().toPoint()).isValid()) {
        clearSelection();
        setCurrentIndex(QModelIndex());
    }
    QTreeWidget::mousePressEvent(event);
}

void ReportView::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    if (std::exchange(doubleClicked_, false)) {
        return;
    }
    if (event->button() == Qt::LeftButton && clickHandler_) {
        clickHandler_();
    }
}

void ReportView::mouseDoubleClickEvent(QMouseEvent* event) {
    doubleClicked_ = true;
    QTreeWidget::mouseDoubleClickEvent(event);
}

}  // namespace lumisk::ui
