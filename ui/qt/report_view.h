#pragma once
// A list view in report mode: rows of cells under a header, one selected row at most, selected
// across its full width. Screen readers meet it as a table whose columns have the headings' names.

#include <QTableWidget>
#include <functional>

namespace lumisk::ui {

class ReportView : public QTableWidget {
    Q_OBJECT

public:
    explicit ReportView(QWidget* parent);

    // Called for each left click in the view, rows or the empty area below them, once the click
    // has updated the selection; and for Space, the keyboard's way to choose the row it is on.
    void SetClickHandler(std::function<void()> handler) { clickHandler_ = std::move(handler); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // A double click is not a second click: its release calls no handler.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The focus coming in, or rows coming while it is here, show on a row: the current one, or
    // the first.
    void focusInEvent(QFocusEvent* event) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;

private:
    void ShowFocusOnARow();

    std::function<void()> clickHandler_;
    bool doubleClicked_ = false;
};

}  // namespace lumisk::ui
