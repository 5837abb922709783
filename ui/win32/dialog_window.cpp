#include "ui/win32/dialog_window.h"

#include <commctrl.h>

#include <cmath>
#include <string_view>
#include <utility>

#include "ui/win32/address_control.h"
#include "ui/win32/dialog_colors.h"
#include "ui/win32/dpi.h"
#include "ui/win32/list_view.h"
#include "ui/win32/template_builder.h"
#include "ui/win32/text.h"
#include "ui/win32/window_placement.h"
#include "ui/worker.h"

namespace lumisk::ui {
namespace {

// Private messages of the dialog window.
constexpr UINT RunRequestMessage = WM_APP + 1;
constexpr UINT PaintedMessage = WM_APP + 2;
constexpr UINT AnnounceMessage = WM_APP + 3;
// Space on a list view, once the view has handled it: the list's id in wParam.
constexpr UINT ListChosenMessage = WM_APP + 4;
constexpr UINT RepaintRequestMessage = WM_APP + 5;

// A timer of the window's own, apart from the ids the Dialog uses.
constexpr UINT_PTR FileWatchTimer = 0x7FFF0001;
constexpr UINT FileWatchPeriod = 500;
// The shortest period a timer runs at.
constexpr int ShortestTimerPeriod = USER_TIMER_MINIMUM;

FILETIME LastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return {};
    }
    return data.ftLastWriteTime;
}

// Everything but the user's input, which waits in the queue as it does for a busy window.
void DispatchAllButInput() {
    static const std::pair<UINT, UINT> ranges[] = {
        {0, WM_NCMOUSEMOVE - 1},
        {WM_NCXBUTTONDBLCLK + 1, WM_KEYFIRST - 1},
        {WM_KEYLAST + 1, WM_MOUSEFIRST - 1},
        {WM_MOUSELAST + 1, 0xFFFFFFFF},
    };
    MSG message;
    for (const auto& [first, last] : ranges) {
        while (PeekMessageW(&message, nullptr, first, last, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

bool IsListView(HWND control) {
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    return std::wstring_view(className) == WC_LISTVIEWW;
}

// One thread runs every window: while a wait holds it for one window, the handlers of all of
// them wait, also those of a window whose dialog is still initialising.
bool aWaitRuns = false;
std::set<DialogWindow*> liveWindows;

}  // namespace

DialogWindow::DialogWindow(Dialog& dialog, DialogTemplate dialogTemplate)
    : dialog_(dialog), template_(std::move(dialogTemplate)), thread_(GetCurrentThreadId()) {}

DialogWindow::~DialogWindow() {
    for (const auto& [key, icon] : icons_) {
        DestroyIcon(icon);
    }
}

int DialogWindow::Run(HWND owner) {
    owner_ = owner;
    // The dialog manager's own layout, at the DPI the window is likely made at, comes close to
    // the one the window then takes: the address fields place their octets when they are made.
    const DialogLayout likely(template_, WindowDpi(owner));
    const std::vector<DWORD> bytes = BuildDialogTemplate(template_, likely.LetterWidthCorrection());
    const INT_PTR code = DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                                 reinterpret_cast<const DLGTEMPLATE*>(bytes.data()),
                                                 owner, Procedure, reinterpret_cast<LPARAM>(this));
    liveWindows.erase(this);
    window_ = nullptr;
    return static_cast<int>(code);
}

int DialogWindow::Dpi() const {
    return layout_ ? layout_->Dpi() : WindowDpi(window_);
}

int DialogWindow::ColumnWidth(int pixelsAt96DotsPerInch) const {
    if (!layout_) {
        return pixelsAt96DotsPerInch;
    }
    return static_cast<int>(
        std::lround(pixelsAt96DotsPerInch * layout_->LetterWidth() / defaultLetterWidth_));
}

void DialogWindow::End(int code) {
    if (window_ != nullptr) {
        EndDialog(window_, code);
    }
}

HWND DialogWindow::Control(int id) const {
    return window_ != nullptr ? GetDlgItem(window_, id) : nullptr;
}

void DialogWindow::Request(HWND target, const std::function<void()>& request) {
    SendMessageW(target, RunRequestMessage, 0, reinterpret_cast<LPARAM>(&request));
}

void DialogWindow::RequestRepaint(HWND target) {
    // Without a window a post would go to the calling thread's queue.
    if (target != nullptr) {
        PostMessageW(target, RepaintRequestMessage, 0, 0);
    }
}

INT_PTR CALLBACK DialogWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<DialogWindow*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        SetPropW(window, TemplateIdProperty,
                 reinterpret_cast<HANDLE>(static_cast<INT_PTR>(self->dialog_.TemplateId())));
        self->window_ = window;
        liveWindows.insert(self);
        bool focusFirstControl = true;
        self->Initialize(focusFirstControl);
        return focusFirstControl ? TRUE : FALSE;
    }
    if (message == WM_NCDESTROY) {
        RemovePropW(window, TemplateIdProperty);
    }
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    return self != nullptr ? self->Handle(message, wParam, lParam) : FALSE;
}

void DialogWindow::Initialize(bool& focusFirstControl) {
    // The dialog manager makes the controls in template order, each below the one before.
    for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        controls_.push_back(child);
    }
    KeepDpiChangesToDialog(window_);
    defaultLetterWidth_ = DialogLayout(template_, DefaultDpi).LetterWidth();
    LayOut(WindowDpi(window_));
    Place();
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
    focusFirstControl = dialog_.OnInitDialog();
}

void DialogWindow::LayOut(int dpi) {
    auto layout = std::make_unique<DialogLayout>(template_, dpi);
    const auto font = reinterpret_cast<WPARAM>(layout->Font());
    std::size_t index = 0;
    for (const ControlTemplate& control : template_.controls) {
        if (!IsBuilt(control) || index == controls_.size()) {
            continue;
        }
        const HWND child = controls_[index++];
        const RECT box = layout->ControlBox(control);
        SetWindowPos(child, nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(child, WM_SETFONT, font, TRUE);
        if (control.kind == "icon") {
            SendMessageW(
                child, STM_SETICON,
                reinterpret_cast<WPARAM>(Icon(control.icon, SystemMetricForDpi(SM_CXICON, dpi))),
                0);
        }
        if (control.kind == "listview" && layout_) {
            // The columns the program sized keep their share of the list.
            const auto header = reinterpret_cast<HWND>(SendMessageW(child, LVM_GETHEADER, 0, 0));
            const auto columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
            for (int column = 0; column < columns; ++column) {
                const auto width = static_cast<int>(
                    SendMessageW(child, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
                SendMessageW(child, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                             std::lround(width * layout->LetterWidth() / layout_->LetterWidth()));
            }
        }
    }
    const SIZE size = WindowSize(*layout);
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The earlier layout's font goes only now, when no control uses it.
    layout_ = std::move(layout);
    if (iconId_ != 0) {
        ApplyWindowIcons();
    }
}

void DialogWindow::Place() {
    PlaceWindow(window_, owner_);
    const int dpi = WindowDpi(window_);
    if (dpi != layout_->Dpi()) {
        LayOut(dpi);
        PlaceWindow(window_, owner_);
    }
}

SIZE DialogWindow::WindowSize(const DialogLayout& layout) const {
    return WindowSizeForClient(
        layout.ClientSize(), static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)),
        static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)), layout.Dpi());
}

void DialogWindow::SetIcon(int iconId) {
    iconId_ = iconId;
    ApplyWindowIcons();
}

void DialogWindow::ApplyWindowIcons() {
    const int dpi = Dpi();
    SendMessageW(window_, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(Icon(iconId_, SystemMetricForDpi(SM_CXICON, dpi))));
    SendMessageW(window_, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(Icon(iconId_, SystemMetricForDpi(SM_CXSMICON, dpi))));
}

HICON DialogWindow::Icon(int iconId, int size) {
    HICON& icon = icons_[{iconId, size}];
    if (icon == nullptr) {
        // Not shared: the system's cache would hand back the size loaded first.
        icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId),
                                             IMAGE_ICON, size, size, 0));
    }
    return icon;
}

INT_PTR DialogWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (HBRUSH brush = DialogColorFor(message, reinterpret_cast<HDC>(wParam),
                                      reinterpret_cast<HWND>(lParam))) {
        return reinterpret_cast<INT_PTR>(brush);
    }
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_NOTIFY:
            OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
            return FALSE;
        case ListChosenMessage:
            Notify(dialog_.routes_->listClicks, static_cast<int>(wParam));
            return TRUE;
        case AnnounceMessage:
            SayPendingLines();
            return TRUE;
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
                dialog_.OnSysCommand(static_cast<int>(wParam));
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            // A close request during a wait would pull the endpoint from under the exchange;
            // like the input of that time, it is not taken. Otherwise it is the Dialog's to
            // grant, through EndDialog.
            if (!aWaitRuns) {
                dialog_.OnClose();
            }
            return TRUE;
        case WM_TIMER:
            if (wParam == FileWatchTimer) {
                CheckWatchedFile();
            } else {
                dialog_.OnTimer(static_cast<int>(wParam));
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
        case PaintedMessage:
            if (aWaitRuns) {
                paintHandlerDeferred_ = true;
            } else {
                paintPending_ = false;
                dialog_.OnPaint();
            }
            return TRUE;
        case RunRequestMessage:
            (*reinterpret_cast<const std::function<void()>*>(lParam))();
            return TRUE;
        case GetDpiScaledSizeMessage:
            // The size the window will have at the new DPI, so that the system's suggestion for
            // its place fits it.
            *reinterpret_cast<SIZE*>(lParam) =
                WindowSize(DialogLayout(template_, static_cast<int>(wParam)));
            SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case DpiChangedMessage: {
            // Moved to a monitor of another DPI: laid out for it where the system suggests.
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            LayOut(HIWORD(wParam));
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            SetWindowLongPtrW(window_, DWLP_MSGRESULT, 0);
            return TRUE;
        }
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
            Notify(dialog_.routes_->selectionChanges, id);
            break;
        case EN_CHANGE:
            KeepTextWithinLimit(id, control);
            break;
        default:
            break;
    }
}

void DialogWindow::OnNotify(const NMHDR& header) {
    const int id = static_cast<int>(header.idFrom);
    switch (header.code) {
        case static_cast<UINT>(NM_CLICK):
            Notify(dialog_.routes_->listClicks, id);
            break;
        case static_cast<UINT>(LVN_KEYDOWN):
            // Space chooses the row it selects, as a click does: once the view has selected it.
            if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_SPACE) {
                PostMessageW(window_, ListChosenMessage, static_cast<WPARAM>(id), 0);
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

void DialogWindow::Announce(const std::string& line) {
    if (pendingLines_.Add(line)) {
        PostMessageW(window_, AnnounceMessage, 0, 0);
    }
}

void DialogWindow::SayPendingLines() {
    if (announcer_ == nullptr) {
        announcer_ =
            CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0,
                            0, 0, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
        // Last of the controls, so that it is the label of none.
        SetWindowPos(announcer_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        annotations_.MakeLiveRegion(announcer_);
    }
    SetWindowTextW(announcer_, Widen(pendingLines_.Take()).c_str());
    ScreenReaderAnnotations::AnnounceChange(announcer_);
}

void DialogWindow::Command(int id) {
    const auto& clicks = dialog_.routes_->clicks;
    if (clicks.find(id) != clicks.end()) {
        Notify(clicks, id);
    } else if (id == IdOk) {
        dialog_.OnOK();
    } else if (id == IdCancel) {
        dialog_.OnCancel();
    }
}

void DialogWindow::Notify(const Dialog::Routes::Handlers& handlers, int id) {
    const auto found = handlers.find(id);
    if (found == handlers.end()) {
        return;
    }
    // A copy: the handler may route the id anew and so replace itself.
    const std::function<void()> handler = found->second;
    handler();
}

void DialogWindow::SchedulePaintHandler() {
    if (paintPending_) {
        return;
    }
    paintPending_ = true;
    PostMessageW(window_, PaintedMessage, 0, 0);
}

int DialogWindow::WaitFor(const std::function<int()>& work) {
    // Nested in another wait (a handler run from a paint cannot be), the work simply runs.
    if (aWaitRuns) {
        return work();
    }
    aWaitRuns = true;
    const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    const HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    int result = 0;
    StartWorker([&work, &result, done] {
        result = work();
        SetEvent(done);
    });
    // Paints, timers and requests of other workers go on meanwhile.
    while (MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE,
                                     QS_SENDMESSAGE | QS_POSTMESSAGE | QS_PAINT | QS_TIMER) !=
           WAIT_OBJECT_0) {
        DispatchAllButInput();
    }
    CloseHandle(done);
    SetCursor(previous);
    aWaitRuns = false;
    for (DialogWindow* window : liveWindows) {
        if (std::exchange(window->paintHandlerDeferred_, false)) {
            window->paintPending_ = false;
            window->SchedulePaintHandler();
        }
    }
    return result;
}

void DialogWindow::SetTimer(int timerId, int periodMilliseconds) {
    ::SetTimer(window_, static_cast<UINT_PTR>(timerId),
               static_cast<UINT>(std::max(periodMilliseconds, ShortestTimerPeriod)), nullptr);
}

void DialogWindow::KillTimer(int timerId) {
    ::KillTimer(window_, static_cast<UINT_PTR>(timerId));
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

void DialogWindow::RepaintOnFileChange(const std::string& path) {
    // The system's change notifications are for directories; a look at the file's time now and
    // then is all one file needs.
    watchedFile_ = Widen(path);
    watchedWriteTime_ = LastWriteTime(watchedFile_);
    ::SetTimer(window_, FileWatchTimer, FileWatchPeriod, nullptr);
}

void DialogWindow::CheckWatchedFile() {
    const FILETIME now = LastWriteTime(watchedFile_);
    if (CompareFileTime(&now, &watchedWriteTime_) != 0) {
        watchedWriteTime_ = now;
        SchedulePaintHandler();
    }
}

void DialogWindow::LimitTextBytes(int id, int bytes) {
    // As with the native field, no limit given means the largest one.
    constexpr int LargestLimit = 32767;
    const int limit = bytes > 0 ? std::min(bytes, LargestLimit) : LargestLimit;
    byteLimits_[id] = limit;
    // A character is at least one byte, so the character limit never refuses what fits.
    SendDlgItemMessageW(window_, id, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
    acceptedTexts_[id] = Widen(WindowText(Control(id)));
}

void DialogWindow::KeepTextWithinLimit(int id, HWND edit) {
    const auto limit = byteLimits_.find(id);
    if (limit == byteLimits_.end()) {
        return;
    }
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    if (static_cast<int>(Narrow(text).size()) <= limit->second) {
        acceptedTexts_[id] = text;
        return;
    }
    // What would not fit is taken back whole, the caret where the typing was.
    DWORD caret = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    const std::size_t removed = text.size() - acceptedTexts_[id].size();
    SetWindowTextW(edit, acceptedTexts_[id].c_str());
    const auto at = static_cast<LPARAM>(caret > removed ? caret - removed : 0);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(at), at);
    MessageBeep(MB_OK);
}

}  // namespace lumisk::ui
