#include "ui/win32/dialog_window.h"

#include <commctrl.h>

#include <string_view>
#include <utility>

#include "ui/win32/address_control.h"
#include "ui/win32/dialog_colors.h"
#include "ui/win32/dpi.h"
#include "ui/win32/list_view.h"
#include "ui/win32/template_builder.h"
#include "ui/win32/text.h"

namespace lumisk::ui {
namespace {

// Private messages of the dialog window.
constexpr UINT RunRequestMessage = WM_APP + 1;
constexpr UINT PostedCallMessage = WM_APP + 2;
constexpr UINT RepaintRequestMessage = WM_APP + 3;

bool IsListView(HWND control) {
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    return std::wstring_view(className) == WC_LISTVIEWW;
}

}  // namespace

std::unique_ptr<DialogWindowBase> MakeDialogWindow(Dialog& dialog, DialogTemplate dialogTemplate,
                                                   DialogWindowBase* owner) {
    const HWND ownerWindow =
        owner != nullptr ? static_cast<DialogWindow*>(owner)->Handle() : nullptr;
    return std::make_unique<DialogWindow>(dialog, std::move(dialogTemplate), ownerWindow);
}

DialogWindow::DialogWindow(Dialog& dialog, DialogTemplate dialogTemplate, HWND owner)
    : DialogWindowBase(dialog),
      template_(std::move(dialogTemplate)),
      owner_(owner),
      thread_(GetCurrentThreadId()),
      scaling_(template_) {}

int DialogWindow::Run() {
    // The dialog manager's own layout, at the DPI the window is likely made at, comes close to
    // the one the window then takes: the address fields place their octets when they are made.
    const DialogLayout likely(template_, WindowDpi(owner_));
    const std::vector<DWORD> bytes = BuildDialogTemplate(template_, likely.LetterWidthCorrection());
    const INT_PTR code = DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                                 reinterpret_cast<const DLGTEMPLATE*>(bytes.data()),
                                                 owner_, Procedure, reinterpret_cast<LPARAM>(this));
    window_ = nullptr;
    return static_cast<int>(code);
}

void DialogWindow::End(int code) {
    if (window_ != nullptr) {
        EndDialog(window_, code);
    }
}

HWND DialogWindow::Control(int id) const {
    return window_ != nullptr ? GetDlgItem(window_, id) : nullptr;
}

int DialogWindow::ColumnWidth(int pixelsAt96DotsPerInch) const {
    return scaling_.ColumnWidth(pixelsAt96DotsPerInch);
}

void DialogWindow::EnableControl(int id, bool enabled) {
    if (const HWND control = Control(id)) {
        EnableWindow(control, enabled ? TRUE : FALSE);
    }
}

bool DialogWindow::IsControlEnabled(int id) const {
    const HWND control = Control(id);
    return control != nullptr && IsWindowEnabled(control);
}

void DialogWindow::FocusControl(int id) {
    if (const HWND control = Control(id)) {
        // Through the dialog manager, so the default button follows the focus.
        SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    }
}

std::string DialogWindow::ControlText(int id) const {
    const HWND control = Control(id);
    return control != nullptr ? ui::ControlText(control) : std::string();
}

void DialogWindow::LimitTextBytes(int id, int bytes) {
    if (const HWND edit = Control(id)) {
        byteLimits_.Limit(edit, bytes);
    }
}

void DialogWindow::SetIcon(int iconId) {
    scaling_.SetIcon(iconId);
}

bool DialogWindow::IsMinimized() const {
    return IsIconic(window_) != FALSE;
}

void DialogWindow::StartTimer(int timerId, int periodMilliseconds) {
    ::SetTimer(window_, static_cast<UINT_PTR>(timerId), static_cast<UINT>(periodMilliseconds),
               nullptr);
}

void DialogWindow::KillTimer(int timerId) {
    ::KillTimer(window_, static_cast<UINT_PTR>(timerId));
}

void DialogWindow::WatchFile(const std::string& path) {
    fileWatch_.Watch(window_, path);
}

void DialogWindow::AppendSystemMenuItem(int commandId, const std::string& text) {
    const HMENU menu = GetSystemMenu(window_, FALSE);
    if (menu == nullptr) {
        return;
    }
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(commandId), Widen(text).c_str());
    systemCommands_.insert(commandId & 0xFFF0);
}

void DialogWindow::Post(std::function<void()> call) {
    // A window that is not there, or whose queue is full, drops the call, as its queue would.
    if (window_ == nullptr) {
        return;
    }
    posted_.push_back(std::move(call));
    if (!PostMessageW(window_, PostedCallMessage, 0, 0)) {
        posted_.pop_back();
    }
}

void DialogWindow::RequestRepaint() {
    // Posted, unlike Post's calls, as it comes from any thread; a window not yet made or gone
    // takes nothing, as a post without one would go to the calling thread's queue.
    if (window_ != nullptr) {
        PostMessageW(window_, RepaintRequestMessage, 0, 0);
    }
}

std::function<void()> DialogWindow::Deliver(const std::function<void()>& request) {
    // Sent, not posted: the sender waits. A request sent to a window that has gone meanwhile
    // returns at once without running.
    const HWND target = window_;
    return [target, &request] {
        SendMessageW(target, RunRequestMessage, 0, reinterpret_cast<LPARAM>(&request));
    };
}

void DialogWindow::Say(const std::string& line) {
    if (announcer_ == nullptr) {
        announcer_ =
            CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0,
                            0, 0, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
        // Last of the controls, so that it is the label of none.
        SetWindowPos(announcer_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        annotations_.MakeLiveRegion(announcer_);
    }
    SetWindowTextW(announcer_, Widen(line).c_str());
    ScreenReaderAnnotations::AnnounceChange(announcer_);
}

INT_PTR CALLBACK DialogWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<DialogWindow*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        SetPropW(window, TemplateIdProperty,
                 reinterpret_cast<HANDLE>(static_cast<INT_PTR>(self->template_.id)));
        self->window_ = window;
        return self->Initialize() ? TRUE : FALSE;
    }
    if (message == WM_NCDESTROY) {
        RemovePropW(window, TemplateIdProperty);
    }
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    return self != nullptr ? self->Handle(message, wParam, lParam) : FALSE;
}

bool DialogWindow::Initialize() {
    scaling_.Attach(window_, owner_);
    for (const ControlTemplate& control : template_.controls) {
        if (control.kind == "ipaddress") {
            SelectOctetsMovedInto(Control(control.id));
        }
        if (control.kind == "combobox") {
            for (const std::string& item : control.items) {
                SendDlgItemMessageW(window_, control.id, CB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>(Widen(item).c_str()));
            }
        }
    }
    annotations_.NameControls(window_, template_);
    // The keyboard focus shows from the start, not only once a key has been pressed.
    PostMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    return InitDialog();
}

INT_PTR DialogWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (HBRUSH brush = DialogColorFor(message, reinterpret_cast<HDC>(wParam),
                                      reinterpret_cast<HWND>(lParam))) {
        return reinterpret_cast<INT_PTR>(brush);
    }
    if (scaling_.HandleDpiMessage(message, wParam, lParam)) {
        return TRUE;
    }
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_NOTIFY:
            OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
            return FALSE;
        case WM_SYSCOLORCHANGE:
            // The common controls learn of new system colours only from their parent.
            for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
            }
            FollowSystemColours(window_);
            return FALSE;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETHIGHCONTRAST) {
                FollowSystemColours(window_);
            }
            return FALSE;
        case WM_DESTROY:
            annotations_.Clear();
            return FALSE;
        case WM_SYSCOMMAND:
            if (systemCommands_.count(static_cast<int>(wParam & 0xFFF0)) != 0) {
                SystemCommand(static_cast<int>(wParam));
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            CloseRequested();
            return TRUE;
        case WM_TIMER:
            if (wParam != FileWatch::TimerId) {
                TimerFired(static_cast<int>(wParam));
            } else if (fileWatch_.Changed()) {
                SchedulePaintHandler();
            }
            return TRUE;
        case WM_PAINT:
            // The system paints; the handler runs after, as it may change what is painted.
            SchedulePaintHandler();
            return FALSE;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) {
                SchedulePaintHandler();
            }
            return FALSE;
        case WM_DEVICECHANGE:
            // A drive came or went, a network drive among them: the handler looks again.
            SchedulePaintHandler();
            return FALSE;
        case RepaintRequestMessage:
            SchedulePaintHandler();
            return TRUE;
        case PostedCallMessage:
            if (!posted_.empty()) {
                const std::function<void()> call = std::move(posted_.front());
                posted_.pop_front();
                call();
            }
            return TRUE;
        case RunRequestMessage:
            (*reinterpret_cast<const std::function<void()>*>(lParam))();
            return TRUE;
        default:
            return FALSE;
    }
}

void DialogWindow::OnCommand(int id, int code, HWND control) {
    switch (code) {
        case BN_CLICKED:
            Command(id);
            break;
        case CBN_SELCHANGE:
            SelectionChanged(id);
            break;
        case EN_CHANGE:
            byteLimits_.KeepWithinLimit(control);
            break;
        default:
            break;
    }
}

void DialogWindow::OnNotify(const NMHDR& header) {
    const int id = static_cast<int>(header.idFrom);
    switch (header.code) {
        case static_cast<UINT>(NM_CLICK):
            ListClicked(id);
            break;
        case static_cast<UINT>(LVN_KEYDOWN):
            // Space chooses the row it selects, as a click does: once the view has selected it.
            if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_SPACE) {
                Post([this, id] { ListClicked(id); });
            }
            break;
        case static_cast<UINT>(NM_SETFOCUS):
            if (IsListView(header.hwndFrom)) {
                ShowFocusOnARow(header.hwndFrom);
            }
            break;
        default:
            break;
    }
}

}  // namespace lumisk::ui
