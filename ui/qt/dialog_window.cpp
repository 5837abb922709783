#include "ui/qt/dialog_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPushButton>
#include <QShortcut>
#include <QThread>
#include <future>

#include "ui/accessible_name.h"
#include "ui/qt/address_edit.h"
#include "ui/qt/control_factory.h"
#include "ui/qt/control_text.h"
#include "ui/qt/dialog_colors.h"
#include "ui/qt/drop_down_list.h"
#include "ui/qt/edit_byte_limit.h"
#include "ui/qt/report_view.h"
#include "ui/qt/resources.h"

namespace lumisk::ui {
namespace {

bool OnGuiThread() {
    const QCoreApplication* application = QCoreApplication::instance();
    return application != nullptr && QThread::currentThread() == application->thread();
}

// Sets its promise when the last copy goes, whether the request it travels with ran or was
// dropped with the window it was posted to.
struct Completion {
    std::promise<void> done;
    ~Completion() { done.set_value(); }
};

Qt::WindowFlags WindowFlags(const DialogTemplate& dialogTemplate) {
    // An application window gets a taskbar entry; other dialogs stay with their owner.
    Qt::WindowFlags flags = dialogTemplate.HasExtended("appwindow") ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (dialogTemplate.Has("sysmenu")) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    if (dialogTemplate.Has("minimizebox")) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    return flags;
}

QFont TemplateFont(const DialogTemplate& dialogTemplate) {
    return DialogFont(QString::fromStdString(dialogTemplate.fontFace), dialogTemplate.fontPoints);
}

}  // namespace

std::unique_ptr<DialogWindowBase> MakeDialogWindow(Dialog& dialog, DialogTemplate dialogTemplate,
                                                   DialogWindowBase* owner) {
    // Widgets belong to the GUI thread.
    if (!OnGuiThread()) {
        return nullptr;
    }
    return std::make_unique<DialogWindow>(dialog, dialogTemplate,
                                          static_cast<DialogWindow*>(owner));
}

DialogWindow::DialogWindow(Dialog& dialog, const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent, WindowFlags(dialogTemplate)),
      DialogWindowBase(dialog),
      units_(TemplateFont(dialogTemplate)) {
    setObjectName(QStringLiteral("dialog_%1").arg(dialogTemplate.id));
    setProperty("templateId", dialogTemplate.id);
    setWindowTitle(QString::fromStdString(dialogTemplate.caption));
    setAccessibleName(QString::fromStdString(AccessibleName(dialogTemplate)));
    setFont(TemplateFont(dialogTemplate));
    setFixedSize(units_.ToPixels(QSize(dialogTemplate.width, dialogTemplate.height)));
    CreateControls(dialogTemplate);
    ApplyDialogColors(*this);
    CreateSystemMenu(dialogTemplate.Has("minimizebox"));
    announcer_ = new Announcer(this);
}

void DialogWindow::CreateControls(const DialogTemplate& dialogTemplate) {
    QLabel* previousLabel = nullptr;
    for (std::size_t index = 0; index < dialogTemplate.controls.size(); ++index) {
        const ControlTemplate& control = dialogTemplate.controls[index];
        QWidget* widget = CreateControl(control, units_, *this);
        if (widget == nullptr) {
            continue;
        }
        // Earlier controls lie on top, as in the native z-order, so group boxes stay beneath.
        widget->lower();
        controlsInOrder_.push_back(widget);
        const QString name = QString::fromStdString(AccessibleName(dialogTemplate, index));
        widget->setAccessibleName(name);
        if (auto* field = qobject_cast<AddressEdit*>(widget)) {
            field->NameOctets(name);
        }
        // The label before a field is its label for screen readers too.
        if (previousLabel != nullptr && widget->focusPolicy() != Qt::NoFocus) {
            previousLabel->setBuddy(widget);
        }
        previousLabel = control.kind == "label" ? qobject_cast<QLabel*>(widget) : nullptr;
        if (control.id == -1) {
            continue;
        }
        controlsById_.emplace(control.id, widget);
        const int id = control.id;
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            connect(button, &QPushButton::clicked, this, [this, id] { Command(id); });
            if (button->isDefault()) {
                defaultCommand_ = id;
            }
        } else if (auto* view = qobject_cast<ReportView*>(widget)) {
            view->SetClickHandler([this, id] { ListClicked(id); });
        } else if (auto* list = qobject_cast<DropDownList*>(widget)) {
            list->SetUserChangeHandler([this, id] { SelectionChanged(id); });
        }
    }
}

void DialogWindow::CreateSystemMenu(bool minimizeBox) {
    systemMenu_ = new QMenu(this);
    systemMenu_->setObjectName(QStringLiteral("lumisk_system_menu"));
    // Like the native menu, its commands run once the menu has gone.
    if (minimizeBox) {
        connect(systemMenu_->addAction(tr("Mi&nimize")), &QAction::triggered, this,
                [this] { Post([this] { showMinimized(); }); });
    }
    // Shortcuts, not key presses: a focused list would take Alt+Space for its type-ahead search.
    // Where a window manager has these keys, it sends the close request itself.
    connect(new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this), &QShortcut::activated, this,
            [this] { ShowSystemMenu(mapToGlobal(QPoint(0, 0))); });
    connect(new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this), &QShortcut::activated, this,
            [this] { CloseRequested(); });
    connect(systemMenu_->addAction(tr("&Close\tAlt+F4")), &QAction::triggered, this,
            [this] { Post([this] { CloseRequested(); }); });
}

void DialogWindow::AppendSystemMenuItem(int commandId, const std::string& text) {
    systemMenu_->addSeparator();
    connect(systemMenu_->addAction(QString::fromStdString(text)), &QAction::triggered, this,
            [this, commandId] { Post([this, commandId] { SystemCommand(commandId); }); });
}

void DialogWindow::ShowSystemMenu(const QPoint& globalPosition) {
    systemMenu_->popup(globalPosition);
}

void DialogWindow::Say(const std::string& line) {
    announcer_->Say(QString::fromStdString(line));
}

QWidget* DialogWindow::Control(int id) const {
    const auto found = controlsById_.find(id);
    return found == controlsById_.end() ? nullptr : found->second;
}

void DialogWindow::EnableControl(int id, bool enabled) {
    if (QWidget* control = Control(id)) {
        control->setEnabled(enabled);
    }
}

bool DialogWindow::IsControlEnabled(int id) const {
    const QWidget* control = Control(id);
    return control != nullptr && control->isEnabled();
}

void DialogWindow::FocusControl(int id) {
    if (QWidget* control = Control(id)) {
        control->setFocus(Qt::OtherFocusReason);
    }
}

std::string DialogWindow::ControlText(int id) const {
    return ui::ControlText(Control(id)).toStdString();
}

void DialogWindow::LimitTextBytes(int id, int bytes) {
    if (auto* edit = qobject_cast<QLineEdit*>(Control(id))) {
        LimitEditBytes(*edit, bytes);
    }
}

void DialogWindow::SetIcon(int iconId) {
    const QPixmap icon = IconResource(iconId);
    if (!icon.isNull()) {
        setWindowIcon(QIcon(icon));
    }
}

bool DialogWindow::IsMinimized() const {
    return isMinimized();
}

void DialogWindow::RequestRepaint() {
    QMetaObject::invokeMethod(
        this, [this] { SchedulePaintHandler(); }, Qt::QueuedConnection);
}

void DialogWindow::WatchFile(const std::string& path) {
    if (!fileWatch_) {
        fileWatch_ = std::make_unique<FileWatch>([this] { SchedulePaintHandler(); });
    }
    fileWatch_->Watch(QString::fromStdString(path));
}

bool DialogWindow::OnItsThread() const {
    return OnGuiThread();
}

void DialogWindow::Post(std::function<void()> call) {
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

std::function<void()> DialogWindow::Deliver(const std::function<void()>& request) {
    auto completion = std::make_shared<Completion>();
    std::shared_future<void> done = completion->done.get_future().share();
    // Once queued, the request goes with the window if the window goes first.
    QMetaObject::invokeMethod(
        this, [&request, completion] { request(); }, Qt::QueuedConnection);
    return [done] { done.wait(); };
}

bool DialogWindow::event(QEvent* event) {
    switch (event->type()) {
        // Back on top: activated, or a message box or dialog over it has gone.
        case QEvent::WindowActivate:
        case QEvent::WindowUnblocked:
            SchedulePaintHandler();
            break;
        case QEvent::WindowStateChange:
            if ((static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized) &&
                !isMinimized()) {
                SchedulePaintHandler();
            }
            break;
        default:
            break;
    }
    return QDialog::event(event);
}

int DialogWindow::Run() {
    if (InitDialog()) {
        const auto first = std::find_if(
            controlsInOrder_.begin(), controlsInOrder_.end(), [](const QWidget* widget) {
                return (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
                       widget->isEnabled();
            });
        if (first != controlsInOrder_.end()) {
            (*first)->setFocus(Qt::TabFocusReason);
        }
    }
    if (!ending_) {
        running_ = true;
        exec();
        running_ = false;
    }
    return endCode_;
}

void DialogWindow::End(int code) {
    endCode_ = code;
    ending_ = true;
    if (running_) {
        done(code);
    }
}

void DialogWindow::StartTimer(int timerId, int periodMilliseconds) {
    QTimer*& timer = timers_[timerId];
    if (timer == nullptr) {
        timer = new QTimer(this);
        // A coarse timer may fire 5% early: seconds, for the restart wait's 90.
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, [this, timerId] { TimerFired(timerId); });
    }
    timer->start(periodMilliseconds);
}

void DialogWindow::KillTimer(int timerId) {
    const auto found = timers_.find(timerId);
    if (found == timers_.end()) {
        return;
    }
    found->second->stop();
    // The timer may be the one whose handler is running now.
    found->second->deleteLater();
    timers_.erase(found);
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
        case Qt::Key_Enter:
        case Qt::Key_Return:
            if (modifiers == Qt::NoModifier) {
                if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
                    button->click();
                } else {
                    Command(defaultCommand_);
                }
                return;
            }
            break;
        case Qt::Key_Escape:
            if (modifiers == Qt::NoModifier) {
                Command(IdCancel);
                return;
            }
            break;
        default:
            break;
    }
    QWidget::keyPressEvent(event);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    if (ending_) {
        event->accept();
        return;
    }
    // The close request is the Dialog's to grant, through EndDialog.
    event->ignore();
    CloseRequested();
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (childAt(event->pos()) != nullptr) {
        event->ignore();
        return;
    }
    ShowSystemMenu(event->globalPos());
}

bool DialogWindow::PaintsOwnSurface(const QRegion& region) const {
    QRegion controls;
    for (const QWidget* widget : controlsInOrder_) {
        if (qobject_cast<const QGroupBox*>(widget) == nullptr) {
            controls += widget->geometry();
        }
    }
    return !region.subtracted(controls).isEmpty();
}

void DialogWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // A control repainting itself shows through to the window beneath it; only a paint of the
    // window's own surface counts, as only that reaches the native dialog. The handler runs
    // after the paint, as it may change what is painted.
    if (PaintsOwnSurface(event->region())) {
        SchedulePaintHandler();
    }
}

}  // namespace lumisk::ui
