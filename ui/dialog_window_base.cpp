#include "ui/dialog_window_base.h"

#include <algorithm>
#include <set>
#include <utility>

#include "ui/wait_loop.h"

namespace lumisk::ui {
namespace {

// The shortest period a timer runs at, as on the system the templates come from
// (USER_TIMER_MINIMUM).
constexpr int ShortestTimerPeriod = 10;

// One thread runs every window, as on the native system: while a wait holds it for one window,
// the handlers of all of them wait, also those of a window whose dialog is still initialising.
bool aWaitRuns = false;
std::set<DialogWindowBase*> liveWindows;

}  // namespace

DialogWindowBase::DialogWindowBase(Dialog& dialog) : dialog_(dialog) {
    liveWindows.insert(this);
}

DialogWindowBase::~DialogWindowBase() {
    liveWindows.erase(this);
}

bool DialogWindowBase::InitDialog() {
    return dialog_.OnInitDialog();
}

bool DialogWindowBase::Notify(const Dialog::Routes::Handlers& handlers, int id) {
    const auto found = handlers.find(id);
    if (found == handlers.end()) {
        return false;
    }
    // A copy: the handler may route the id anew and so replace itself.
    const std::function<void()> handler = found->second;
    handler();
    return true;
}

void DialogWindowBase::Command(int id) {
    if (Notify(dialog_.routes_->clicks, id)) {
        return;
    }
    if (id == IdOk) {
        dialog_.OnOK();
    } else if (id == IdCancel) {
        dialog_.OnCancel();
    }
}

void DialogWindowBase::ListClicked(int id) {
    Notify(dialog_.routes_->listClicks, id);
}

void DialogWindowBase::SelectionChanged(int id) {
    Notify(dialog_.routes_->selectionChanges, id);
}

void DialogWindowBase::SystemCommand(int commandId) {
    dialog_.OnSysCommand(commandId);
}

void DialogWindowBase::TimerFired(int timerId) {
    dialog_.OnTimer(timerId);
}

void DialogWindowBase::CloseRequested() {
    if (!aWaitRuns) {
        dialog_.OnClose();
    }
}

void DialogWindowBase::SetTimer(int timerId, int periodMilliseconds) {
    StartTimer(timerId, std::max(periodMilliseconds, ShortestTimerPeriod));
}

void DialogWindowBase::Announce(const std::string& line) {
    if (pendingLines_.Add(line)) {
        Post([this] { Say(pendingLines_.Take()); });
    }
}

void DialogWindowBase::SchedulePaintHandler() {
    if (paintPending_) {
        return;
    }
    paintPending_ = true;
    Post([this] { RunPaintHandler(); });
}

void DialogWindowBase::RunPaintHandler() {
    if (aWaitRuns) {
        paintHandlerDeferred_ = true;
        return;
    }
    paintPending_ = false;
    dialog_.OnPaint();
}

int DialogWindowBase::WaitFor(const std::function<int()>& work) {
    // Off the window's thread, or nested in another wait (a handler run from a paint cannot be),
    // the work simply runs.
    if (!OnItsThread() || aWaitRuns) {
        return work();
    }
    aWaitRuns = true;
    const int result = RunEventLoopDuring(work);
    aWaitRuns = false;
    for (DialogWindowBase* window : liveWindows) {
        if (std::exchange(window->paintHandlerDeferred_, false)) {
            window->paintPending_ = false;
            window->SchedulePaintHandler();
        }
    }
    return result;
}

}  // namespace lumisk::ui
