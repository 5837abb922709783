#include "ui/qt/dialog_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPushButton>
#include <QShortcut>
#include <utility>

#include "ui/accessible_name.h"
#include "ui/qt/address_edit.h"
#include "ui/qt/control_factory.h"
#include "ui/qt/dialog_colors.h"
#include "ui/qt/drop_down_list.h"
#include "ui/qt/report_view.h"
#include "ui/worker.h"

namespace lumisk::ui {
namespace {

// The shortest period a timer runs at, as on the system the templates come from.
constexpr int ShortestTimerPeriod = 10;

// One thread runs every window, as on the native system: while a wait holds it for one window,
// the handlers of all of them wait, also those of a window whose dialog is still initialising.
bool aWaitRuns = false;

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

DialogWindow::DialogWindow(Dialog& dialog, const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent, WindowFlags(dialogTemplate)),
      dialog_(dialog),
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
            view->SetClickHandler([this, id] { Notify(dialog_.routes_->listClicks, id); });
        } else if (auto* list = qobject_cast<DropDownList*>(widget)) {
            list->SetUserChangeHandler(
                [this, id] { Notify(dialog_.routes_->selectionChanges, id); });
        }
    }
}

void DialogWindow::CreateSystemMenu(bool minimizeBox) {
    systemMenu_ = new QMenu(this);
    systemMenu_->setObjectName(QStringLiteral("lumisk_system_menu"));
    // Like the native menu, its commands run once the menu has gone.
    if (minimizeBox) {
        connect(systemMenu_->addAction(tr("Mi&nimize")), &QAction::triggered, this, [this] {
            QMetaObject::invokeMethod(
                this, [this] { showMinimized(); }, Qt::QueuedConnection);
        });
    }
    // Shortcuts, not key presses: a focused list would take Alt+Space for its type-ahead search.
    // Where a window manager has these keys, it sends the close request itself.
    connect(new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this), &QShortcut::activated, this,
            [this] { ShowSystemMenu(mapToGlobal(QPoint(0, 0))); });
    connect(new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this), &QShortcut::activated, this,
            [this] { dialog_.OnClose(); });
    connect(systemMenu_->addAction(tr("&Close\tAlt+F4")), &QAction::triggered, this, [this] {
        QMetaObject::invokeMethod(
            this, [this] { dialog_.OnClose(); }, Qt::QueuedConnection);
    });
}

void DialogWindow::AppendSystemMenuItem(int commandId, const QString& text) {
    systemMenu_->addSeparator();
    connect(systemMenu_->addAction(text), &QAction::triggered, this, [this, commandId] {
        QMetaObject::invokeMethod(
            this, [this, commandId] { dialog_.OnSysCommand(commandId); }, Qt::QueuedConnection);
    });
}

void DialogWindow::ShowSystemMenu(const QPoint& globalPosition) {
    systemMenu_->popup(globalPosition);
}

void DialogWindow::Announce(const QString& line) {
    announcer_->Say(line);
}

QWidget* DialogWindow::Control(int id) const {
    const auto found = controlsById_.find(id);
    return found == controlsById_.end() ? nullptr : found->second;
}

void DialogWindow::RepaintOnFileChange(const QString& path) {
    if (fileWatcher_ == nullptr) {
        fileWatcher_ = new QFileSystemWatcher(this);
        connect(fileWatcher_, &QFileSystemWatcher::fileChanged, this, [this] {
            WatchFile();
            SchedulePaintHandler();
        });
        // Other files come and go beside it; only its own coming counts.
        connect(fileWatcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
            if (WatchFile()) {
                SchedulePaintHandler();
            }
        });
    }
    watchedFile_ = QFileInfo(path).absoluteFilePath();
    WatchFile();
}

bool DialogWindow::WatchFile() {
    // The nearest directory that exists sees the file's own directory, then the file, appear;
    // a file replaced as a whole leaves the watch, and its directory sees it come back.
    for (QString directory = QFileInfo(watchedFile_).absolutePath();;
         directory = QFileInfo(directory).absolutePath()) {
        if (QFileInfo(directory).isDir()) {
            if (!fileWatcher_->directories().contains(directory)) {
                fileWatcher_->addPath(directory);
            }
            break;
        }
        if (QFileInfo(directory).isRoot()) {
            break;
        }
    }
    return !fileWatcher_->files().contains(watchedFile_) && QFileInfo::exists(watchedFile_) &&
           fileWatcher_->addPath(watchedFile_);
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

int DialogWindow::Run(bool focusFirstControl) {
    if (focusFirstControl) {
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

void DialogWindow::SetTimer(int timerId, int periodMilliseconds) {
    QTimer*& timer = timers_[timerId];
    if (timer == nullptr) {
        timer = new QTimer(this);
        // A coarse timer may fire 5% early: seconds, for the restart wait's 90.
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, [this, timerId] { dialog_.OnTimer(timerId); });
    }
    timer->start(std::max(periodMilliseconds, ShortestTimerPeriod));
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

bool DialogWindow::Notify(const Dialog::Routes::Handlers& handlers, int id) {
    const auto found = handlers.find(id);
    if (found == handlers.end()) {
        return false;
    }
    // A copy: the handler may route the id anew and so replace itself.
    const std::function<void()> handler = found->second;
    handler();
    return true;
}

void DialogWindow::Command(int id) {
    if (Notify(dialog_.routes_->clicks, id)) {
        return;
    }
    if (id == IdOk) {
        dialog_.OnOK();
    } else if (id == IdCancel) {
        dialog_.OnCancel();
    }
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
    // A close request from the window system during a wait would pull the endpoint from under
    // the exchange; like the input of that time, it is not taken.
    if (aWaitRuns) {
        event->ignore();
        return;
    }
    // The close request is the Dialog's to grant, through EndDialog.
    event->ignore();
    dialog_.OnClose();
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

void DialogWindow::SchedulePaintHandler() {
    if (paintPending_) {
        return;
    }
    paintPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (aWaitRuns) {
                paintHandlerDeferred_ = true;
                return;
            }
            paintPending_ = false;
            dialog_.OnPaint();
        },
        Qt::QueuedConnection);
}

int DialogWindow::WaitFor(const std::function<int()>& work) {
    // Nested in another wait (a handler run from a paint cannot be), the work simply runs.
    if (aWaitRuns) {
        return work();
    }
    aWaitRuns = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QEventLoop loop;
    int result = 0;
    StartWorker([&work, &result, &loop] {
        result = work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // Paints, timers and requests of other workers go on; input waits in the queue, as it
    // does for a window whose thread is busy.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    QApplication::restoreOverrideCursor();
    aWaitRuns = false;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialogWindow = qobject_cast<DialogWindow*>(window);
        if (dialogWindow != nullptr && std::exchange(dialogWindow->paintHandlerDeferred_, false)) {
            dialogWindow->paintPending_ = false;
            dialogWindow->SchedulePaintHandler();
        }
    }
    return result;
}

}  // namespace lumisk::ui
