#pragma once
// The window behind a running Dialog: a system dialog built from the template in memory, its
// notifications, close request, paints, timers and system menu turned into the Dialog's handlers.

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ui/dialog.h"
#include "ui/dialog_routes.h"
#include "ui/dialog_template.h"
#include "ui/pending_lines.h"
#include "ui/win32/dialog_layout.h"
#include "ui/win32/screen_reader.h"

namespace lumisk::ui {

// The window property that holds a running dialog's template id, for what looks at the windows
// from outside, such as the GUI tests: system dialogs (message boxes) have none.
inline constexpr wchar_t TemplateIdProperty[] = L"LumiskTemplateId";

class DialogWindow {
public:
    DialogWindow(Dialog& dialog, DialogTemplate dialogTemplate);
    ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Runs modally over `owner` until End; End's code, or -1 when the window cannot be made.
    int Run(HWND owner);
    void End(int code);

    // The window, once it exists; its control `id`, or nullptr.
    HWND Handle() const { return window_; }
    HWND Control(int id) const;
    // The DPI the window is laid out at.
    int Dpi() const;
    // A list column's width given in pixels at 96 DPI, grown as the window's boxes have grown
    // with their font, so that the columns fill a list as they do at 96 DPI.
    int ColumnWidth(int pixelsAt96DotsPerInch) const;
    // Whether the caller runs on the thread the window belongs to.
    bool OnItsThread() const { return GetCurrentThreadId() == thread_; }
    // Runs `request` on the thread of dialog window `target` and waits for it; from another
    // thread only.
    static void Request(HWND target, const std::function<void()>& request);
    // Dialog::RequestRepaint for dialog window `target`, from any thread.
    static void RequestRepaint(HWND target);

    // Dialog::WaitFor for this window.
    int WaitFor(const std::function<int()>& work);

    // The window's large and small icon, at its DPI's sizes from then on.
    void SetIcon(int iconId);
    void SetTimer(int timerId, int periodMilliseconds);
    void KillTimer(int timerId);
    void AppendSystemMenuItem(int commandId, const std::string& text);
    void RepaintOnFileChange(const std::string& path);
    // At most `bytes` bytes of UTF-8 in edit field `id`.
    void LimitTextBytes(int id, int bytes);
    // Dialog::Announce for this window.
    void Announce(const std::string& line);

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Initialize(bool& focusFirstControl);
    // Every control's box and font, the list columns, the icons and the window's size for `dpi`.
    void LayOut(int dpi);
    // Where the window opens (window_placement.h), laid out anew if that is at another DPI.
    void Place();
    SIZE WindowSize(const DialogLayout& layout) const;
    void ApplyWindowIcons();
    // Icon `iconId` at `size` pixels, loaded once and kept until the window's run ends.
    HICON Icon(int iconId, int size);
    void OnCommand(int id, int code, HWND control);
    void OnNotify(const NMHDR& header);
    void SayPendingLines();
    // A push button's command, Enter's and Escape's: its route, else OnOK or OnCancel.
    void Command(int id);
    // Calls the handler routed to `id`, if any.
    void Notify(const Dialog::Routes::Handlers& handlers, int id);
    // Runs the Dialog's paint handler after the messages being handled, once for any number of
    // calls; while a WaitFor runs, after it.
    void SchedulePaintHandler();
    void CheckWatchedFile();
    void KeepTextWithinLimit(int id, HWND edit);

    Dialog& dialog_;
    const DialogTemplate template_;
    HWND window_ = nullptr;
    HWND owner_ = nullptr;
    DWORD thread_ = 0;
    std::unique_ptr<DialogLayout> layout_;
    // LetterWidth() of the template at 96 DPI.
    double defaultLetterWidth_ = 0;
    // The windows of the template's built controls, in template order.
    std::vector<HWND> controls_;
    int iconId_ = 0;
    std::map<std::pair<int, int>, HICON> icons_;
    std::set<int> systemCommands_;
    std::map<int, int> byteLimits_;
    std::map<int, std::wstring> acceptedTexts_;
    std::wstring watchedFile_;
    FILETIME watchedWriteTime_{};
    bool paintPending_ = false;
    bool paintHandlerDeferred_ = false;
    ScreenReaderAnnotations annotations_;
    PendingLines pendingLines_;
    // A label without size that screen readers read as a live region; made for the first line.
    HWND announcer_ = nullptr;
};

}  // namespace lumisk::ui
