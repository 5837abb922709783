#include "ui/dialog.h"

#include <QApplication>
#include <QThread>
#include <future>

#include "ui/dialog_routes.h"
#include "ui/qt/control_text.h"
#include "ui/qt/dialog_window.h"
#include "ui/qt/resources.h"

namespace lumisk::ui {
namespace {

// Sets its promise when the last copy goes, whether the request it travels with ran or was
// dropped with the window it was posted to.
struct Completion {
    std::promise<void> done;
    ~Completion() { done.set_value(); }
};

bool OnGuiThread() {
    const QCoreApplication* application = QCoreApplication::instance();
    return application != nullptr && QThread::currentThread() == application->thread();
}

}  // namespace

Dialog::Dialog(int templateId, Dialog* owner)
    : templateId_(templateId), owner_(owner), routes_(std::make_unique<Routes>()) {}

Dialog::~Dialog() {
    routes_->SetLiveWindow(nullptr);
}

int Dialog::DoModal() {
    if (window_ || !OnGuiThread()) {
        return -1;
    }
    const std::optional<DialogTemplate> dialogTemplate = LoadDialogTemplate(templateId_);
    if (!dialogTemplate) {
        return -1;
    }
    QWidget* parent = owner_ != nullptr ? owner_->Window() : nullptr;
    window_ = std::make_unique<DialogWindow>(*this, *dialogTemplate, parent);
    routes_->SetLiveWindow(window_.get());
    const int code = window_->Run(OnInitDialog());
    routes_->SetLiveWindow(nullptr);
    window_.reset();
    return code;
}

void Dialog::EndDialog(int code) {
    if (window_) {
        window_->End(code);
    }
}

void Dialog::EnableControl(int id, bool enabled) {
    if (QWidget* control = window_ ? window_->Control(id) : nullptr) {
        control->setEnabled(enabled);
    }
}

bool Dialog::IsControlEnabled(int id) const {
    const QWidget* control = window_ ? window_->Control(id) : nullptr;
    return control != nullptr && control->isEnabled();
}

void Dialog::FocusControl(int id) {
    if (QWidget* control = window_ ? window_->Control(id) : nullptr) {
        control->setFocus(Qt::OtherFocusReason);
    }
}

std::string Dialog::ControlText(int id) const {
    return ui::ControlText(window_ ? window_->Control(id) : nullptr).toStdString();
}

void Dialog::SetIcon(int iconId) {
    const QPixmap icon = IconResource(iconId);
    if (window_ && !icon.isNull()) {
        window_->setWindowIcon(QIcon(icon));
    }
}

void Dialog::AppendSystemMenuItem(int commandId, const std::string& text) {
    if (window_) {
        window_->AppendSystemMenuItem(commandId, QString::fromStdString(text));
    }
}

void Dialog::SetTimer(int timerId, int periodMilliseconds) {
    if (window_) {
        window_->SetTimer(timerId, periodMilliseconds);
    }
}

void Dialog::KillTimer(int timerId) {
    if (window_) {
        window_->KillTimer(timerId);
    }
}

void Dialog::RepaintOnFileChange(const std::string& path) {
    if (window_ && !path.empty()) {
        window_->RepaintOnFileChange(QString::fromStdString(path));
    }
}

void Dialog::Announce(const std::string& line) {
    if (window_) {
        window_->Announce(QString::fromStdString(line));
    }
}

bool Dialog::IsMinimized() const {
    return window_ && window_->isMinimized();
}

int Dialog::WaitFor(const std::function<int()>& work) {
    if (!window_ || !OnGuiThread()) {
        return work();
    }
    return window_->WaitFor(work);
}

void Dialog::RunOnDialogThread(const std::function<void()>& request) {
    if (OnGuiThread()) {
        if (window_) {
            request();
        }
        return;
    }
    auto completion = std::make_shared<Completion>();
    std::future<void> done = completion->done.get_future();
    {
        // Posting under the lock: the window cannot go while the request is being queued to
        // it, and once queued, the request goes with the window if it goes first.
        const std::lock_guard lock(routes_->windowMutex);
        if (routes_->liveWindow == nullptr) {
            return;
        }
        QMetaObject::invokeMethod(
            routes_->liveWindow, [&request, completion] { request(); }, Qt::QueuedConnection);
    }
    completion.reset();
    done.wait();
}

void Dialog::RequestRepaint() {
    const std::lock_guard lock(routes_->windowMutex);
    if (routes_->liveWindow != nullptr) {
        // Queued to the window: it goes with the window if the window goes first.
        QMetaObject::invokeMethod(
            routes_->liveWindow, [window = routes_->liveWindow] { window->SchedulePaintHandler(); },
            Qt::QueuedConnection);
    }
}

}  // namespace lumisk::ui
