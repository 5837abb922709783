#pragma once
// Modal dialogs built from the templates in resources/: controls reached by their numeric ids,
// events routed to handlers, the default OK and Cancel behaviour of Enter, Escape and the close
// request. Everything here runs on the dialog's thread unless it says otherwise.

#include <functional>
#include <memory>
#include <string>

#include "ui/controls.h"

namespace lumisk::ui {

inline constexpr int IdOk = 1;
inline constexpr int IdCancel = 2;

class DialogWindowBase;  // the toolkit's window behind a Dialog, alive during its modal run

class Dialog {
public:
    // The dialog of template `templateId`; `owner` is the dialog it is shown over, if any.
    explicit Dialog(int templateId, Dialog* owner = nullptr);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Builds the window from the template, calls OnInitDialog, shows it and runs until
    // EndDialog; returns the end code. The window is destroyed before it returns.
    int DoModal();
    void EndDialog(int code);
    bool IsRunning() const;
    int TemplateId() const { return templateId_; }

    // Controls by id; valid while the dialog runs.
    void EnableControl(int id, bool enabled);
    bool IsControlEnabled(int id) const;
    void FocusControl(int id);
    std::string ControlText(int id) const;
    ListView List(int id) { return ListView(*this, id); }
    AddressField Address(int id) { return AddressField(*this, id); }
    ComboBox Combo(int id) { return ComboBox(*this, id); }
    TextField Text(int id) { return TextField(*this, id); }
    ProgressBar Progress(int id) { return ProgressBar(*this, id); }

    // Message routing: handlers for control notifications, set up before or during the run.
    void RouteClick(int controlId, std::function<void()> handler);
    void RouteListClick(int controlId, std::function<void()> handler);
    void RouteSelectionChange(int controlId, std::function<void()> handler);

    // The window: icons from resources, a system-menu entry, timers, minimised state.
    void SetIcon(int iconId);
    // Appends a separator and an entry with `commandId` and `text` ('&' marks the mnemonic)
    // to the window's system menu; choosing it calls OnSysCommand(commandId).
    void AppendSystemMenuItem(int commandId, const std::string& text);
    void SetTimer(int timerId, int periodMilliseconds);
    void KillTimer(int timerId);
    bool IsMinimized() const;
    // A change of the file at `path`, written in place or replaced, counts as a repaint of the
    // window: OnPaint runs. A file that does not exist yet is watched for from its directory.
    void RepaintOnFileChange(const std::string& path);

    // Says `line` to screen readers, leaving the window as it is: for news a sighted user sees in
    // the window's contents, such as the end of a search.
    void Announce(const std::string& line);

    // Runs `work` on a worker thread and returns its result once it is done: to the caller a
    // blocking call, like an exchange on the dialog's thread. Meanwhile the windows keep
    // painting and show the wait cursor, while the user's input and every paint handler wait.
    int WaitFor(const std::function<int()>& work);

    // Runs `request` on the dialog's thread and waits for it: how a worker thread acts on a
    // control. Called on the dialog's thread, it runs at once.
    void RunOnDialogThread(const std::function<void()>& request);
    // From any thread, without waiting: OnPaint runs soon on the dialog's thread, as after a
    // repaint; nothing once the dialog has ended.
    void RequestRepaint();

    DialogWindowBase* Window() const { return window_.get(); }

protected:
    // Called once the controls exist, before the window is shown. True: the focus goes to the
    // first control that takes it.
    virtual bool OnInitDialog() { return true; }
    // Enter (the default button or Enter outside a push button) and the OK button (id 1).
    virtual void OnOK() { EndDialog(IdOk); }
    // Escape and the Cancel button (id 2).
    virtual void OnCancel() { EndDialog(IdCancel); }
    // The close request: title-bar close box, Close in the system menu, Alt+F4.
    virtual void OnClose() { OnCancel(); }
    // When the window paints itself, is activated or restored, or a window over it closes; once
    // for any number of these in a row, after they have been handled.
    virtual void OnPaint() {}
    virtual void OnSysCommand(int /*commandId*/) {}
    virtual void OnTimer(int /*timerId*/) {}

private:
    friend class DialogWindowBase;

    const int templateId_;
    Dialog* const owner_;
    std::unique_ptr<DialogWindowBase> window_;
    struct Routes;
    std::unique_ptr<Routes> routes_;
};

}  // namespace lumisk::ui
