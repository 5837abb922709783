#include "ui/dialog.h"

#include <windows.h>

#include "ui/dialog_routes.h"
#include "ui/win32/dialog_window.h"
#include "ui/win32/text.h"

namespace lumisk::ui {

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
    const HWND owner =
        owner_ != nullptr && owner_->Window() != nullptr ? owner_->Window()->Handle() : nullptr;
    window_ = std::make_unique<DialogWindow>(*this, std::move(*dialogTemplate));
    routes_->SetLiveWindow(window_.get());
    const int code = window_->Run(owner);
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
    if (const HWND control = window_ ? window_->Control(id) : nullptr) {
        EnableWindow(control, enabled ? TRUE : FALSE);
    }
}

bool Dialog::IsControlEnabled(int id) const {
    const HWND control = window_ ? window_->Control(id) : nullptr;
    return control != nullptr && IsWindowEnabled(control);
}

void Dialog::FocusControl(int id) {
    if (const HWND control = window_ ? window_->Control(id) : nullptr) {
        // Through the dialog manager, so the default button follows the focus.
        SendMessageW(window_->Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    }
}

std::string Dialog::ControlText(int id) const {
    const HWND control = window_ ? window_->Control(id) : nullptr;
    return control != nullptr ? ui::ControlText(control) : std::string();
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

void Dialog::RepaintOnFileChange(const std::string& path) {
    if (window_ && !path.empty()) {
        window_->RepaintOnFileChange(path);
    }
}

void Dialog::Announce(const std::string& line) {
    if (window_) {
        window_->Announce(line);
    }
}

bool Dialog::IsMinimized() const {
    return window_ && IsIconic(window_->Handle());
}

int Dialog::WaitFor(const std::function<int()>& work) {
    if (!window_ || !window_->OnItsThread()) {
        return work();
    }
    return window_->WaitFor(work);
}

void Dialog::RunOnDialogThread(const std::function<void()>& request) {
    HWND target = nullptr;
    bool onItsThread = false;
    {
        const std::lock_guard lock(routes_->windowMutex);
        if (routes_->liveWindow == nullptr) {
            return;
        }
        target = routes_->liveWindow->Handle();
        onItsThread = routes_->liveWindow->OnItsThread();
    }
    if (onItsThread) {
        request();
        return;
    }
    // Not under the lock: the window's thread may want it while the request waits. A request
    // sent to a window that has gone meanwhile returns at once without running.
    DialogWindow::Request(target, request);
}

void Dialog::RequestRepaint() {
    const std::lock_guard lock(routes_->windowMutex);
    if (routes_->liveWindow != nullptr) {
        DialogWindow::RequestRepaint(routes_->liveWindow->Handle());
    }
}

}  // namespace lumisk::ui
