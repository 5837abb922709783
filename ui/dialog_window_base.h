#pragma once
// The window behind a running Dialog as every back end has it: a control's notification routed to
// its handler, the paint handler's schedule, a wait and its rules, the close request, timers and
// lines for screen readers. A back end derives its window from this class and supplies the
// primitives, the few calls its toolkit makes its own way. Everything here runs on the window's
// thread unless it says otherwise.

#include <functional>
#include <memory>
#include <string>

#include "ui/dialog.h"
#include "ui/dialog_routes.h"
#include "ui/dialog_template.h"
#include "ui/pending_lines.h"

namespace lumisk::ui {

class DialogWindowBase {
public:
    virtual ~DialogWindowBase();
    DialogWindowBase(const DialogWindowBase&) = delete;
    DialogWindowBase& operator=(const DialogWindowBase&) = delete;

    // Dialog's calls of the same names, for its running window.
    void SetTimer(int timerId, int periodMilliseconds);
    void Announce(const std::string& line);
    int WaitFor(const std::function<int()>& work);

    // Primitives Dialog calls.
    // Calls InitDialog at the toolkit's moment, shows the window and runs it modally until End;
    // End's code, or -1 when the window cannot be made.
    virtual int Run() = 0;
    virtual void End(int code) = 0;
    // Whether the caller runs on the thread the window belongs to; from any thread.
    virtual bool OnItsThread() const = 0;
    // Hands `request` to the window's thread, from another thread, while Dialog's window lock
    // keeps the window alive. The call it returns waits, without the lock, until the request has
    // run or has gone with the window.
    virtual std::function<void()> Deliver(const std::function<void()>& request) = 0;
    virtual void EnableControl(int id, bool enabled) = 0;
    virtual bool IsControlEnabled(int id) const = 0;
    virtual void FocusControl(int id) = 0;
    virtual std::string ControlText(int id) const = 0;
    // Edit field `id`, if it is one, takes at most `bytes` (1 to 32767) bytes of UTF-8: what
    // would not fit whole is refused.
    virtual void LimitTextBytes(int id, int bytes) = 0;
    virtual void SetIcon(int iconId) = 0;
    virtual void AppendSystemMenuItem(int commandId, const std::string& text) = 0;
    virtual void KillTimer(int timerId) = 0;
    // Calls SchedulePaintHandler whenever the file at `path` (not empty) changes, written in
    // place or replaced, or appears where there was none.
    virtual void WatchFile(const std::string& path) = 0;
    virtual bool IsMinimized() const = 0;
    // From any thread, under Dialog's window lock: SchedulePaintHandler runs soon on the
    // window's thread, or goes with the window.
    virtual void RequestRepaint() = 0;

protected:
    explicit DialogWindowBase(Dialog& dialog);

    // What a back end's window hands in as it happens.
    // The Dialog's OnInitDialog, once the controls exist: whether the focus goes to the first
    // control that takes it.
    bool InitDialog();
    // A push button's command, Enter's and Escape's: its route, else OnOK or OnCancel.
    void Command(int id);
    void ListClicked(int id);
    void SelectionChanged(int id);
    void SystemCommand(int commandId);
    void TimerFired(int timerId);
    // The close request: not taken during a wait, as it would pull the endpoint from under the
    // exchange, like the input of that time; otherwise the Dialog's to grant, through EndDialog.
    void CloseRequested();
    // Runs the Dialog's paint handler after the events being handled, once for any number of
    // calls; while a wait runs, after it.
    void SchedulePaintHandler();

    // Puts `call` in the window's queue: it runs after the events being handled, or goes with
    // the window.
    virtual void Post(std::function<void()> call) = 0;

private:
    virtual void StartTimer(int timerId, int periodMilliseconds) = 0;
    // Tells screen readers `line`, leaving the window as it is.
    virtual void Say(const std::string& line) = 0;

    // Calls the handler routed to `id`, if any; whether there was one.
    static bool Notify(const Dialog::Routes::Handlers& handlers, int id);
    void RunPaintHandler();

    Dialog& dialog_;
    PendingLines pendingLines_;
    bool paintPending_ = false;
    // A paint came while a wait ran: the window painted, its handler waits until the wait is over.
    bool paintHandlerDeferred_ = false;
};

// The back end's window for `dialog`, built from `dialogTemplate`, shown over `owner` if there is
// one; nothing on a thread that cannot make windows. Each back end has its own.
std::unique_ptr<DialogWindowBase> MakeDialogWindow(Dialog& dialog, DialogTemplate dialogTemplate,
                                                   DialogWindowBase* owner);

// The window behind a running `dialog` as the back end's own `Window` type, or nullptr.
template <class Window>
Window* WindowOf(const Dialog& dialog) {
    return static_cast<Window*>(dialog.Window());
}

}  // namespace lumisk::ui
