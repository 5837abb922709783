#pragma once
// A list view in report mode: rows of cells under a header, one selected row at most, selected
// across its full width.

#include <QTreeWidget>
#include <functional>

namespace lumisk::ui {

class ReportView : public QTreeWidget {
    Q_OBJECT

public:
    explicit ReportView(QWidget* parent);

    // Called for each left click in the view, rows or the empty area below them, once the click
    // has updated the selection.
    void SetClickHandler(std::function<void()> handler) { clickHandler_ = std::move(handler); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // A double click is not a second click: its release calls no handler.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::function<void()> clickHandler_;
    bool doubleClicked_ = false;
};

}  // namespace lumisk::ui
