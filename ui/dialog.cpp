#include "ui/dialog.h"

#include "ui/dialog_routes.h"
#include "ui/dialog_window_base.h"

namespace lumisk::ui {

// Every call on the window is the back end's window's (dialog_window_base.h); what is here is the
// same for every back end.

Dialog::Dialog(int templateId, Dialog* owner)
    : templateId_(templateId), owner_(owner), routes_(std::make_unique<Routes>()) {}

Dialog::~Dialog() {
    routes_->SetLiveWindow(nullptr);
}

int Dialog::DoModal() {
    if (window_) {
        return -1;
    }
    std::optional<DialogTemplate> dialogTemplate = LoadDialogTemplate(templateId_);
    if (!dialogTemplate) {
        return -1;
    }
    window_ = MakeDialogWindow(*this, std::move(*dialogTemplate),
                               owner_ != nullptr ? owner_->Window() : nullptr);
    if (!window_) {
        return -1;
    }
    routes_->SetLiveWindow(window_.get());
    const int code = window_->Run();
    routes_->SetLiveWindow(nullptr);
    window_.reset();
    return code;
}

void Dialog::EndDialog(int code) {
    if (window_) {
        window_->End(code);
    }
}

bool Dialog::IsRunning() const {
    const std::lock_guard lock(routes_->windowMutex);
    return routes_->liveWindow != nullptr;
}

void Dialog::EnableControl(int id, bool enabled) {
    if (window_) {
        window_->EnableControl(id, enabled);
    }
}

bool Dialog::IsControlEnabled(int id) const {
    return window_ && window_->IsControlEnabled(id);
}

void Dialog::FocusControl(int id) {
    if (window_) {
        window_->FocusControl(id);
    }
}

std::string Dialog::ControlText(int id) const {
    return window_ ? window_->ControlText(id) : std::string();
}

void Dialog::RouteClick(int controlId, std::function<void()> handler) {
    routes_->clicks[controlId] = std::move(handler);
}

void Dialog::RouteListClick(int controlId, std::function<void()> handler) {
    routes_->listClicks[controlId] = std::move(handler);
}

void Dialog::RouteSelectionChange(int controlId, std::function<void()> handler) {
    routes_->selectionChanges[controlId] = std::move(handler);
}

void Dialog::SetIcon(int iconId) {
    if (window_) {
        window_->SetIcon(iconId);
    }
}

void Dialog::AppendSystemMenuItem(int commandId, const std::string& text) {
    if (window_) {
        window_->AppendSystemMenuItem(commandId, text);
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

bool Dialog::IsMinimized() const {
    return window_ && window_->IsMinimized();
}

void Dialog::RepaintOnFileChange(const std::string& path) {
    if (window_ && !path.empty()) {
        window_->WatchFile(path);
    }
}

void Dialog::Announce(const std::string& line) {
    if (window_) {
        window_->Announce(line);
    }
}

int Dialog::WaitFor(const std::function<int()>& work) {
    return window_ ? window_->WaitFor(work) : work();
}

void Dialog::RunOnDialogThread(const std::function<void()>& request) {
    std::function<void()> awaitDelivery;
    {
        const std::lock_guard lock(routes_->windowMutex);
        DialogWindowBase* window = routes_->liveWindow;
        if (window == nullptr) {
            return;
        }
        if (!window->OnItsThread()) {
            awaitDelivery = window->Deliver(request);
        }
    }
    // Not under the lock: the window's thread may want it while the request waits.
    if (awaitDelivery) {
        awaitDelivery();
    } else {
        request();
    }
}

void Dialog::RequestRepaint() {
    const std::lock_guard lock(routes_->windowMutex);
    if (routes_->liveWindow != nullptr) {
        routes_->liveWindow->RequestRepaint();
    }
}

}  // namespace lumisk::ui
