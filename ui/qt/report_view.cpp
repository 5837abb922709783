#include "ui/qt/report_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <utility>

namespace lumisk::ui {

ReportView::ReportView(QWidget* parent) : QTableWidget(parent) {
    setColumnCount(0);
    setShowGrid(false);
    setWordWrap(false);
    // Tab leaves the list for the next control, as in the native dialogs.
    setTabKeyNavigation(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    QHeaderView* columns = horizontalHeader();
    columns->setStretchLastSection(false);
    columns->setSectionsMovable(false);
    columns->setSectionsClickable(false);
    columns->setHighlightSections(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void ReportView::mousePressEvent(QMouseEvent* event) {
    // As in the native list view, a click below the rows leaves none selected.
    if (!indexAt(event->position().toPoint()).isValid()) {
        clearSelection();
        setCurrentIndex(QModelIndex());
    }
    QTableWidget::mousePressEvent(event);
}

void ReportView::mouseReleaseEvent(QMouseEvent* event) {
    QTableWidget::mouseReleaseEvent(event);
    if (std::exchange(doubleClicked_, false)) {
        return;
    }
    if (event->button() == Qt::LeftButton && clickHandler_) {
        clickHandler_();
    }
}

void ReportView::mouseDoubleClickEvent(QMouseEvent* event) {
    doubleClicked_ = true;
    QTableWidget::mouseDoubleClickEvent(event);
}

void ReportView::keyPressEvent(QKeyEvent* event) {
    QTableWidget::keyPressEvent(event);
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && clickHandler_) {
        clickHandler_();
    }
}

void ReportView::ShowFocusOnARow() {
    if (!currentIndex().isValid() && rowCount() > 0 && columnCount() > 0) {
        selectionModel()->setCurrentIndex(model()->index(0, 0), QItemSelectionModel::NoUpdate);
    }
}

void ReportView::focusInEvent(QFocusEvent* event) {
    ShowFocusOnARow();
    QTableWidget::focusInEvent(event);
}

void ReportView::rowsInserted(const QModelIndex& parent, int start, int end) {
    QTableWidget::rowsInserted(parent, start, end);
    if (hasFocus()) {
        ShowFocusOnARow();
    }
}

}  // namespace lumisk::ui
