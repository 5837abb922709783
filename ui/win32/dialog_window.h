#pragma once
// The window behind a running Dialog on the Win32 API: a system dialog built from the template in
// memory, its notifications, close request, paints, timers and system menu handed to the dialog
// core.

#include <windows.h>

#include <deque>
#include <functional>
#include <set>
#include <string>

#include "ui/dialog_window_base.h"
#include "ui/win32/edit_byte_limits.h"
#include "ui/win32/file_watch.h"
#include "ui/win32/screen_reader.h"
#include "ui/win32/window_scaling.h"

namespace lumisk::ui {

// The window property that holds a running dialog's template id, for what looks at the windows
// from outside, such as the GUI tests: system dialogs (message boxes) have none.
inline constexpr wchar_t TemplateIdProperty[] = L"LumiskTemplateId";

class DialogWindow final : public DialogWindowBase {
public:
    // Shown over `owner`, if not nullptr.
    DialogWindow(Dialog& dialog, DialogTemplate dialogTemplate, HWND owner);

    // The window, once it exists; its control `id`, or nullptr.
    HWND Handle() const { return window_; }
    HWND Control(int id) const;
    // WindowScaling::ColumnWidth for this window.
    int ColumnWidth(int pixelsAt96DotsPerInch) const;

    int Run() override;
    void End(int code) override;
    bool OnItsThread() const override { return GetCurrentThreadId() == thread_; }
    std::function<void()> Deliver(const std::function<void()>& request) override;
    void EnableControl(int id, bool enabled) override;
    bool IsControlEnabled(int id) const override;
    void FocusControl(int id) override;
    std::string ControlText(int id) const override;
    void LimitTextBytes(int id, int bytes) override;
    void SetIcon(int iconId) override;
    void AppendSystemMenuItem(int commandId, const std::string& text) override;
    void KillTimer(int timerId) override;
    void WatchFile(const std::string& path) override;
    bool IsMinimized() const override;
    void RequestRepaint() override;

private:
    void Post(std::function<void()> call) override;
    void StartTimer(int timerId, int periodMilliseconds) override;
    void Say(const std::string& line) override;

    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    // What WM_INITDIALOG does; whether the focus goes to the first control that takes it.
    bool Initialize();
    void OnCommand(int id, int code, HWND control);
    void OnNotify(const NMHDR& header);

    const DialogTemplate template_;
    const HWND owner_;
    const DWORD thread_;
    HWND window_ = nullptr;
    WindowScaling scaling_;
    std::set<int> systemCommands_;
    // The calls Post put in the window's queue, first to run first.
    std::deque<std::function<void()>> posted_;
    EditByteLimits byteLimits_;
    FileWatch fileWatch_;
    ScreenReaderAnnotations annotations_;
    // A label without size that screen readers read as a live region; made for the first line.
    HWND announcer_ = nullptr;
};

}  // namespace lumisk::ui
