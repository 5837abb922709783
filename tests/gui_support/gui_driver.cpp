#include "tests/gui_support/gui_driver.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "ui/qt/control_text.h"

namespace lumisk::gui_test {
namespace {

constexpr int PollMs = 5;
// More tab stops than any dialog of the program has.
constexpr int MostTabStops = 32;
// How far a list opened by a click wants the pointer to move before it takes a release (9 px).
constexpr int ReleaseSlackPx = 10;

bool IsDialogWindow(const QWidget* widget) {
    return widget != nullptr && widget->isVisible() && widget->property("templateId").isValid();
}

// The widget with the keyboard focus in the dialog on top, or the dialog itself. Keys go to the
// active window, so the dialog is made active first: headless, a closed popup menu stays the
// active window.
QWidget* KeyTarget() {
    QWidget* dialog = ActiveDialog();
    if (dialog == nullptr) {
        return nullptr;
    }
    if (!dialog->isActiveWindow()) {
        QApplication::setActiveWindow(dialog);
    }
    QWidget* focus = dialog->focusWidget();
    return focus != nullptr ? focus : dialog;
}

// Calls `step` on each tick until it returns true or `timeoutMs` passes, then `expired`.
void Poll(std::function<bool()> step, int timeoutMs, std::function<void()> expired) {
    auto* timer = new QTimer(qApp);
    const QDeadlineTimer deadline(timeoutMs);
    QObject::connect(timer, &QTimer::timeout, timer,
                     [timer, step = std::move(step), deadline, expired = std::move(expired)] {
                         if (step()) {
                             timer->deleteLater();
                             timer->stop();
                         } else if (deadline.hasExpired()) {
                             timer->stop();
                             timer->deleteLater();
                             expired();
                         }
                     });
    timer->start(PollMs);
}

// Shuts whatever modal windows are up: message boxes answered, dialogs asked to close.
void CloseModalWindows() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible()) {
            box->done(QMessageBox::Ok);
        } else if (IsDialogWindow(widget)) {
            widget->close();
        }
    }
}

QString EntryText(const QString& actionText) {
    QString text = actionText.section(QLatin1Char('\t'), 0, 0);
    text.remove(QLatin1Char('&'));
    return text;
}

ui::MessageIcon IconOf(QMessageBox::Icon icon) {
    switch (icon) {
        case QMessageBox::Critical:
            return ui::MessageIcon::Stop;
        case QMessageBox::Warning:
            return ui::MessageIcon::Exclamation;
        case QMessageBox::Information:
            return ui::MessageIcon::Information;
        default:
            return ui::MessageIcon::None;
    }
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, PollMs);
        QTest::qSleep(1);
    }
    return true;
}

QWidget* ActiveDialog() {
    QWidget* modal = QApplication::activeModalWidget();
    if (IsDialogWindow(modal)) {
        return modal;
    }
    // Under a message box, the dialog the box belongs to.
    for (QWidget* owner = modal != nullptr ? modal->parentWidget() : nullptr; owner != nullptr;
         owner = owner->parentWidget()) {
        if (IsDialogWindow(owner->window())) {
            return owner->window();
        }
    }
    QWidget* found = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (IsDialogWindow(widget) && (found == nullptr || widget->isActiveWindow())) {
            found = widget;
        }
    }
    return found;
}

std::string ActiveCaption() {
    const QWidget* dialog = ActiveDialog();
    return dialog != nullptr ? dialog->windowTitle().toStdString() : std::string();
}

int ActiveTemplateId() {
    const QWidget* dialog = ActiveDialog();
    return dialog != nullptr ? dialog->property("templateId").toInt() : -1;
}

QWidget* FindControl(int id) {
    QWidget* dialog = ActiveDialog();
    return dialog != nullptr ? dialog->findChild<QWidget*>(QStringLiteral("control_%1").arg(id))
                             : nullptr;
}

bool IsControlEnabled(int id) {
    const QWidget* control = FindControl(id);
    return control != nullptr && control->isEnabled();
}

std::string ControlText(int id) {
    return ui::ControlText(FindControl(id)).toStdString();
}

bool ShowsHorizontalScrollBar(int id) {
    const auto* list = FindControlAs<QAbstractScrollArea>(id);
    return list != nullptr && list->horizontalScrollBar()->isVisible();
}

int FocusedOctet(int id) {
    const QWidget* field = FindControl(id);
    if (field == nullptr) {
        return -1;
    }
    const auto octets = field->findChildren<QLineEdit*>();
    int index = -1;
    WaitUntil([&] {
        index = static_cast<int>(octets.indexOf(field->window()->focusWidget()));
        return index >= 0;
    });
    return index;
}

int FocusedControl() {
    const QWidget* dialog = ActiveDialog();
    for (const QWidget* widget = dialog != nullptr ? dialog->focusWidget() : nullptr;
         widget != nullptr && widget != dialog; widget = widget->parentWidget()) {
        if (const int id = widget->property("controlId").toInt(); id > 0) {
            return id;
        }
    }
    return -1;
}

int RunDialog(ui::Dialog& dialog, const std::function<void()>& script, int timeoutMs) {
    bool started = false;
    QTimer start;
    QObject::connect(&start, &QTimer::timeout, &start, [&] {
        if (!started && dialog.IsRunning() && ActiveTemplateId() == dialog.TemplateId()) {
            started = true;
            start.stop();
            script();
        }
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &guard, [&] {
        ADD_FAILURE() << "dialog " << dialog.TemplateId() << " still running after " << timeoutMs
                      << " ms";
        // Nested windows are asked to close; the dialog under test is ended outright.
        CloseModalWindows();
        dialog.EndDialog(-1);
        guard.start(PollMs * 20);
    });
    start.start(PollMs);
    guard.start(timeoutMs);
    const int code = dialog.DoModal();
    EXPECT_TRUE(started) << "dialog " << dialog.TemplateId() << " ended before its script ran";
    return code;
}

void WhenDialogShown(int templateId, std::function<void()> step, int timeoutMs) {
    Poll(
        [templateId, step = std::move(step)] {
            if (ActiveTemplateId() != templateId) {
                return false;
            }
            step();
            return true;
        },
        timeoutMs, [templateId] { ADD_FAILURE() << "dialog " << templateId << " did not show"; });
}

bool ClickButton(int id) {
    auto* button = FindControlAs<QPushButton>(id);
    if (button == nullptr || !button->isEnabled()) {
        return false;
    }
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

bool ClickListRow(int listId, int row) {
    auto* view = FindControlAs<QTableWidget>(listId);
    const QModelIndex cell = view != nullptr ? view->model()->index(row, 0) : QModelIndex();
    if (!cell.isValid()) {
        return false;
    }
    view->scrollTo(cell);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell).center());
    return true;
}

bool ClickListEmptyArea(int listId) {
    auto* view = FindControlAs<QTableWidget>(listId);
    if (view == nullptr) {
        return false;
    }
    const QPoint corner(view->viewport()->width() - 2, view->viewport()->height() - 2);
    if (view->indexAt(corner).isValid()) {
        return false;
    }
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, corner);
    return true;
}

bool DoubleClickListRow(int listId, int row) {
    auto* view = FindControlAs<QTableWidget>(listId);
    const QModelIndex cell = view != nullptr ? view->model()->index(row, 0) : QModelIndex();
    if (!cell.isValid()) {
        return false;
    }
    view->scrollTo(cell);
    const QPoint center = view->visualRect(cell).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, center);
    // A widget gets the second press of a double click as the double-click event.
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, center);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, center);
    return true;
}

bool TurnWheel(int id, int notches) {
    QWidget* control = FindControl(id);
    if (control == nullptr) {
        return false;
    }
    const QPointF center = QRectF(control->rect()).center();
    QWheelEvent wheel(center, control->mapToGlobal(center), QPoint(),
                      QPoint(0, notches * QWheelEvent::DefaultDeltasPerStep), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(control, &wheel);
    return true;
}

bool RightClickBackground(const QPoint& position) {
    QWidget* dialog = ActiveDialog();
    if (dialog == nullptr) {
        return false;
    }
    QTest::mouseClick(dialog, Qt::RightButton, {}, position);
    // Platforms without a native context-menu gesture get the event a right click makes.
    QContextMenuEvent event(QContextMenuEvent::Mouse, position, dialog->mapToGlobal(position));
    if (QApplication::activePopupWidget() == nullptr) {
        QApplication::sendEvent(dialog, &event);
    }
    return true;
}

bool ChooseComboItem(int comboId, const std::string& text) {
    auto* combo = FindControlAs<QComboBox>(comboId);
    const int index = combo != nullptr ? combo->findText(QString::fromStdString(text)) : -1;
    if (index < 0 || !combo->isEnabled()) {
        return false;
    }
    // The pointer goes where the click opens the list, so that the moves below are real moves.
    QTest::mouseMove(combo);
    QTest::mouseClick(combo, Qt::LeftButton);
    QAbstractItemView* list = combo->view();
    if (!WaitUntil([list] { return list->isVisible(); })) {
        return false;
    }
    const QModelIndex item =
        combo->model()->index(index, combo->modelColumn(), combo->rootModelIndex());
    list->scrollTo(item);
    // A list opened by a click takes a release only once the pointer has moved more than a few
    // pixels from that click, as a hand does on its way to the item.
    const QPoint center = list->visualRect(item).center();
    QTest::mouseMove(list->viewport(), center + QPoint(ReleaseSlackPx, 0));
    QTest::mouseMove(list->viewport(), center);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, center);
    return WaitUntil([list] { return !list->isVisible(); });
}

bool TypeText(int id, const std::string& text) {
    QWidget* control = FindControl(id);
    if (control == nullptr || !control->isEnabled()) {
        return false;
    }
    auto* edit = qobject_cast<QLineEdit*>(control);
    QWidget* first =
        edit != nullptr ? edit : control->findChild<QLineEdit*>(QStringLiteral("octet_0"));
    if (first == nullptr) {
        return false;
    }
    QTest::mouseClick(first, Qt::LeftButton);
    TypeKeys(text);
    return true;
}

void TypeKeys(const std::string& text) {
    for (const QChar c : QString::fromStdString(text)) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(KeyTarget(), c.toLatin1());
        } else {
            // A character without a key of its own, as an input method delivers it.
            QTest::sendKeyEvent(QTest::Click, KeyTarget(), Qt::Key_unknown, c, Qt::NoModifier);
        }
    }
}

bool TabTo(int id) {
    const QWidget* control = FindControl(id);
    for (int presses = 0; control != nullptr && presses < MostTabStops; ++presses) {
        const QWidget* focus = KeyTarget();
        if (focus == control || control->isAncestorOf(focus)) {
            return true;
        }
        PressKey(Qt::Key_Tab);
    }
    return false;
}

void PressKey(int key, Qt::KeyboardModifiers modifiers) {
    if (QWidget* target = KeyTarget()) {
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }
}

void PressKey(Key key) {
    static constexpr Qt::Key qtKeys[] = {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Space,
                                         Qt::Key_Tab,    Qt::Key_Up,     Qt::Key_Down,
                                         Qt::Key_Backtab};
    PressKey(qtKeys[static_cast<int>(key)]);
}

void PressAltF4() {
    PressKey(Qt::Key_F4, Qt::AltModifier);
}

void RepaintActiveDialog() {
    if (QWidget* dialog = ActiveDialog()) {
        dialog->repaint();
    }
}

void RequestClose() {
    if (QWidget* dialog = ActiveDialog()) {
        dialog->close();
    }
}

// The menu opens with Alt+Space and the entry is clicked.
bool ChooseSystemMenuEntry(const std::string& entry) {
    QWidget* dialog = ActiveDialog();
    auto* menu = dialog != nullptr ? dialog->findChild<QMenu*>(QStringLiteral("lumisk_system_menu"))
                                   : nullptr;
    if (menu == nullptr) {
        return false;
    }
    PressKey(Qt::Key_Space, Qt::AltModifier);
    if (!WaitUntil([menu] { return menu->isVisible(); })) {
        return false;
    }
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && EntryText(action->text()).toStdString() == entry) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            return true;
        }
    }
    menu->hide();
    return false;
}

struct RepaintProbe::State : QObject {
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window && event->type() == QEvent::Paint && during()) {
            ++paints;
        }
        return false;
    }

    std::function<bool()> during;
    QPointer<QWidget> window;
    QTimer timer;
    int paints = 0;
    bool waitCursor = false;
};

RepaintProbe::RepaintProbe(std::function<bool()> during) : state_(std::make_unique<State>()) {
    State& state = *state_;
    state.during = std::move(during);
    state.window = ActiveDialog();
    if (state.window != nullptr) {
        state.window->installEventFilter(&state);
    }
    QObject::connect(&state.timer, &QTimer::timeout, &state.timer, [&state] {
        if (state.window == nullptr || !state.during()) {
            return;
        }
        state.waitCursor |= ShowsWaitCursor();
        state.window->update();
    });
    state.timer.start(PollMs);
}

RepaintProbe::~RepaintProbe() = default;

bool ShowsWaitCursor() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::WaitCursor;
}

int RepaintProbe::Paints() const {
    return state_->paints;
}

bool RepaintProbe::SawWaitCursor() const {
    return state_->waitCursor;
}

struct MessageBoxAnswerer::State {
    std::vector<MessageBoxRecord> boxes;
    QTimer timer;
};

MessageBoxAnswerer::MessageBoxAnswerer(Answer answer) : state_(std::make_unique<State>()) {
    State& state = *state_;
    QObject::connect(&state.timer, &QTimer::timeout, &state.timer, [&state, answer] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box == nullptr || !box->isVisible() ||
                box->objectName() != QStringLiteral("lumisk_message_box") ||
                box->property("answered").toBool()) {
                continue;
            }
            box->setProperty("answered", true);
            state.boxes.push_back({box->text().toStdString(), box->windowTitle().toStdString(),
                                   IconOf(box->icon()), box->parentWidget() != nullptr});
            if (answer == Answer::EnterKey) {
                QTest::keyClick(box, Qt::Key_Return);
            } else if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
                QTest::mouseClick(ok, Qt::LeftButton);
            }
        }
    });
    state.timer.start(PollMs);
}

MessageBoxAnswerer::~MessageBoxAnswerer() = default;

const std::vector<MessageBoxRecord>& MessageBoxAnswerer::Boxes() const {
    return state_->boxes;
}

}  // namespace lumisk::gui_test
