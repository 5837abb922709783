#include "tests/windows/gui_driver.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/win32/dialog_window.h"
#include "ui/win32/text.h"

namespace lumisk::gui_test {
namespace {

using namespace std::chrono_literals;

constexpr UINT PollMs = 5;
// More tab stops than any dialog of the program has.
constexpr int MostTabStops = 32;
constexpr wchar_t AnsweredProperty[] = L"LumiskAnswered";
// Ample for the display to show what a window has painted.
constexpr auto ScreenUpdateTime = 200ms;

std::wstring ClassOf(HWND window) {
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    return className;
}

bool IsDialogClass(HWND window) {
    return window != nullptr && ClassOf(window) == L"#32770";
}

int TemplateIdOf(HWND window) {
    const HANDLE id = GetPropW(window, ui::TemplateIdProperty);
    return id != nullptr ? static_cast<int>(reinterpret_cast<INT_PTR>(id)) : -1;
}

bool IsMessageBox(HWND window) {
    return IsDialogClass(window) && TemplateIdOf(window) < 0;
}

BOOL CALLBACK TakeReachableWindow(HWND window, LPARAM result) {
    if (IsDialogClass(window) && IsWindowVisible(window) && IsWindowEnabled(window)) {
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    return TRUE;
}

// The dialog or message box of this thread that is visible and enabled: below a modal window
// its owner is disabled.
HWND ReachableWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), TakeReachableWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND FindControl(int id) {
    const HWND dialog = ActiveDialogWindow();
    return dialog != nullptr ? GetDlgItem(dialog, id) : nullptr;
}

// Hands `message` to the dialog manager of its window, as the modal loop does, and handles what
// that posts in turn (the characters of a key, a list's button release).
void Deliver(MSG message) {
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (!IsDialogClass(root) || !IsDialogMessageW(root, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void HandlePostedMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        Deliver(message);
    }
}

// Steps run from thread timers, which every modal loop of the thread dispatches, so they run
// inside whichever dialog or box is up. A step is copied before it runs: it may stop itself.
std::map<UINT_PTR, std::function<void()>>& Tickers() {
    static std::map<UINT_PTR, std::function<void()>> tickers;
    return tickers;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    const auto ticker = Tickers().find(id);
    if (ticker != Tickers().end()) {
        const std::function<void()> step = ticker->second;
        step();
    }
}

UINT_PTR StartTicker(std::function<void()> step) {
    const UINT_PTR id = SetTimer(nullptr, 0, PollMs, Tick);
    Tickers()[id] = std::move(step);
    return id;
}

void StopTicker(UINT_PTR id) {
    KillTimer(nullptr, id);
    Tickers().erase(id);
}

// Runs `step` once `shown` holds, failing the test with `missing` if it does not in time.
void WhenShown(std::function<bool()> shown, std::function<void()> step, int timeoutMs,
               std::string missing) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    auto id = std::make_shared<UINT_PTR>();
    *id = StartTicker([=] {
        if (shown()) {
            StopTicker(*id);
            step();
        } else if (std::chrono::steady_clock::now() > deadline) {
            StopTicker(*id);
            ADD_FAILURE() << missing;
        }
    });
}

ui::MessageIcon IconOf(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != L"Static" ||
            (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
            continue;
        }
        // The system's icons are shared: the box shows the very handles these return.
        const auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        if (icon == LoadIconA(nullptr, IDI_HAND)) {
            return ui::MessageIcon::Stop;
        }
        if (icon == LoadIconA(nullptr, IDI_EXCLAMATION)) {
            return ui::MessageIcon::Exclamation;
        }
        if (icon == LoadIconA(nullptr, IDI_ASTERISK)) {
            return ui::MessageIcon::Information;
        }
    }
    return ui::MessageIcon::None;
}

// The text of a message box: its one static control with text; the icon's has none.
std::string MessageTextOf(HWND box) {
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) == L"Static" && ui::WindowText(child).size() > text.size()) {
            text = ui::WindowText(child);
        }
    }
    return text;
}

// Shuts whatever modal windows are up: message boxes answered, dialogs asked to close.
BOOL CALLBACK CloseModalWindow(HWND window, LPARAM) {
    if (IsMessageBox(window) && IsWindowVisible(window)) {
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    } else if (IsDialogClass(window) && IsWindowVisible(window)) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

// A key as the system delivers it to the focused control, once its handling is done.
void TypeCharacter(wchar_t character) {
    const HWND focus = GetFocus();
    const SHORT scan = VkKeyScanW(character);
    const auto key = static_cast<WPARAM>(LOBYTE(scan));
    const auto code = static_cast<LPARAM>(MapVirtualKeyW(LOBYTE(scan), MAPVK_VK_TO_VSC)) << 16;
    SendMessageW(focus, WM_KEYDOWN, key, code | 1);
    SendMessageW(focus, WM_CHAR, character, code | 1);
    SendMessageW(focus, WM_KEYUP, key, code | 1 | (1 << 30) | (1u << 31));
}

bool HasFocus(HWND control) {
    const HWND focus = GetFocus();
    return control != nullptr && (focus == control || IsChild(control, focus));
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, PollMs, QS_ALLINPUT);
        HandlePostedMessages();
    }
    return true;
}

int RunDialog(ui::Dialog& dialog, const std::function<void()>& script, int timeoutMs) {
    bool started = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    UINT_PTR start = 0;
    start = StartTicker([&] {
        if (dialog.IsRunning() && ActiveTemplateId() == dialog.TemplateId()) {
            started = true;
            StopTicker(start);
            script();
        }
    });
    bool overdue = false;
    const UINT_PTR guard = StartTicker([&] {
        if (std::chrono::steady_clock::now() < deadline) {
            return;
        }
        if (!overdue) {
            overdue = true;
            ADD_FAILURE() << "dialog " << dialog.TemplateId() << " still running after "
                          << timeoutMs << " ms";
        }
        // Nested windows are asked to close; the dialog under test is ended outright.
        EnumThreadWindows(GetCurrentThreadId(), CloseModalWindow, 0);
        dialog.EndDialog(-1);
    });
    const int code = dialog.DoModal();
    StopTicker(start);
    StopTicker(guard);
    EXPECT_TRUE(started) << "dialog " << dialog.TemplateId() << " ended before its script ran";
    return code;
}

void WhenDialogShown(int templateId, std::function<void()> step, int timeoutMs) {
    WhenShown([templateId] { return ActiveTemplateId() == templateId; }, std::move(step), timeoutMs,
              "dialog " + std::to_string(templateId) + " did not show");
}

void WhenMessageBoxShown(std::function<void()> step, int timeoutMs) {
    WhenShown([] { return IsMessageBox(ReachableWindow()); }, std::move(step), timeoutMs,
              "no message box showed");
}

std::string ActiveCaption() {
    const HWND dialog = ActiveDialogWindow();
    return dialog != nullptr ? ui::WindowText(dialog) : std::string();
}

int ActiveTemplateId() {
    return TemplateIdOf(ActiveDialogWindow());
}

HWND ActiveDialogWindow() {
    const HWND reachable = ReachableWindow();
    return IsMessageBox(reachable) ? GetWindow(reachable, GW_OWNER) : reachable;
}

bool IsControlEnabled(int id) {
    const HWND control = FindControl(id);
    return control != nullptr && IsWindowEnabled(control);
}

bool ShowsHorizontalScrollBar(int id) {
    const HWND list = FindControl(id);
    return list != nullptr && (GetWindowLongW(list, GWL_STYLE) & WS_HSCROLL) != 0;
}

int FocusedOctet(int id) {
    const HWND field = FindControl(id);
    if (field == nullptr || !WaitUntil([field] { return HasFocus(field); })) {
        return -1;
    }
    // The octets in the order they show, left to right.
    std::vector<std::pair<LONG, HWND>> octets;
    for (HWND child = GetWindow(field, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        GetWindowRect(child, &rect);
        octets.emplace_back(rect.left, child);
    }
    std::sort(octets.begin(), octets.end());
    for (std::size_t index = 0; index < octets.size(); ++index) {
        if (octets[index].second == GetFocus()) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

int FocusedControl() {
    const HWND dialog = ActiveDialogWindow();
    for (HWND window = GetFocus(); window != nullptr && dialog != nullptr;
         window = GetParent(window)) {
        if (GetParent(window) == dialog) {
            return GetDlgCtrlID(window);
        }
    }
    return -1;
}

std::string ControlText(int id) {
    const HWND control = FindControl(id);
    return control != nullptr ? ui::ControlText(control) : std::string();
}

int ListRowCount(int listId) {
    return static_cast<int>(SendMessageW(FindControl(listId), LVM_GETITEMCOUNT, 0, 0));
}

std::string ListItemText(int listId, int row, int column) {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(FindControl(listId), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    return Narrow(text);
}

int ListRowOf(int listId, const std::string& text) {
    for (int row = 0; row < ListRowCount(listId); ++row) {
        if (ListItemText(listId, row, 0) == text) {
            return row;
        }
    }
    return -1;
}

bool SaveActiveDialog(const std::string& path) {
    const HWND dialog = ReachableWindow();
    RECT rect{};
    if (dialog == nullptr || !GetWindowRect(dialog, &rect)) {
        return false;
    }
    // The capture reads the screen, where a box a click has just opened may not have shown or
    // painted yet.
    if (!WaitUntil([dialog] { return IsWindowVisible(dialog) != FALSE; })) {
        return false;
    }
    RedrawWindow(dialog, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    // What the window painted reaches the screen while its thread takes its messages.
    const auto painted = std::chrono::steady_clock::now() + ScreenUpdateTime;
    WaitUntil([painted] { return std::chrono::steady_clock::now() >= painted; });
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::vector<char> pixels(rowBytes * static_cast<std::size_t>(height));
    const int rows = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                               reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return rows == height && out.good();
}

bool ClickButton(int id) {
    const HWND button = FindControl(id);
    if (button == nullptr || !IsWindowEnabled(button)) {
        return false;
    }
    SendMessageW(button, BM_CLICK, 0, 0);
    return true;
}

namespace {

// A press and release at `point` of `list`, posted as the system queues them: the list's press
// waits for its release in the queue. The second click of a double click presses as a double
// click.
void ClickListAt(HWND list, POINT point, bool second = false) {
    const LPARAM at = MAKELPARAM(point.x, point.y);
    PostMessageW(list, second ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    HandlePostedMessages();
}

// The middle of row `row` of `list`, if it has one, scrolled into view as a user scrolls to it.
std::optional<POINT> RowCentre(HWND list, int row) {
    RECT rect{};
    rect.left = LVIR_LABEL;
    if (list == nullptr ||
        !SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE) ||
        !SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(&rect))) {
        return std::nullopt;
    }
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

}  // namespace

bool ClickListRow(int listId, int row) {
    const HWND list = FindControl(listId);
    const std::optional<POINT> centre = RowCentre(list, row);
    if (centre) {
        ClickListAt(list, *centre);
    }
    return centre.has_value();
}

bool DoubleClickListRow(int listId, int row) {
    const HWND list = FindControl(listId);
    const std::optional<POINT> centre = RowCentre(list, row);
    if (centre) {
        ClickListAt(list, *centre);
        ClickListAt(list, *centre, true);
    }
    return centre.has_value();
}

// The system sends the wheel to the window with the keyboard focus, wherever the pointer is.
bool TurnWheel(int id, int notches) {
    const HWND control = FindControl(id);
    RECT rect{};
    if (control == nullptr || !GetWindowRect(control, &rect)) {
        return false;
    }
    const HWND focus = GetFocus();
    SendMessageW(focus != nullptr ? focus : control, WM_MOUSEWHEEL,
                 MAKEWPARAM(0, notches * WHEEL_DELTA),
                 MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
    HandlePostedMessages();
    return true;
}

bool ClickListEmptyArea(int listId) {
    const HWND list = FindControl(listId);
    RECT client{};
    if (list == nullptr || !GetClientRect(list, &client)) {
        return false;
    }
    LVHITTESTINFO hit{};
    hit.pt = {client.right - 2, client.bottom - 2};
    if (SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) >= 0) {
        return false;
    }
    ClickListAt(list, hit.pt);
    return true;
}

bool ChooseComboItem(int comboId, const std::string& text) {
    const HWND combo = FindControl(comboId);
    const LRESULT index = combo != nullptr
                              ? SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(Widen(text).c_str()))
                              : CB_ERR;
    if (index == CB_ERR || !IsWindowEnabled(combo)) {
        return false;
    }
    // With the keyboard: the arrows walk a drop-down list's items, each a choice made.
    SendMessageW(GetParent(combo), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(combo), TRUE);
    for (int presses = 0; presses < MostTabStops; ++presses) {
        const LRESULT current = SendMessageW(combo, CB_GETCURSEL, 0, 0);
        if (current == index) {
            return true;
        }
        PressKey(current < index ? Key::Down : Key::Up);
    }
    return false;
}

void PressKey(Key key) {
    static constexpr UINT virtualKeys[] = {VK_RETURN, VK_ESCAPE, VK_SPACE, VK_TAB,
                                           VK_UP,     VK_DOWN,   VK_TAB};
    const HWND focus = GetFocus();
    const HWND target = focus != nullptr ? focus : ActiveDialogWindow();
    const UINT virtualKey = virtualKeys[static_cast<int>(key)];
    // The dialog manager reads Shift from the keyboard's state, as the system keeps it.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const BYTE shift = keys[VK_SHIFT];
    if (key == Key::BackTab) {
        keys[VK_SHIFT] = 0x80;
        SetKeyboardState(keys);
    }
    const LPARAM code = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    Deliver(MSG{target, WM_KEYDOWN, virtualKey, code | 1, 0, {}});
    HandlePostedMessages();
    // The release goes where the focus is now: a press may have moved it.
    const HWND after = GetFocus();
    Deliver(MSG{after != nullptr ? after : target,
                WM_KEYUP,
                virtualKey,
                code | 1 | (1 << 30) | static_cast<LPARAM>(1u << 31),
                0,
                {}});
    HandlePostedMessages();
    keys[VK_SHIFT] = shift;
    SetKeyboardState(keys);
}

void RepaintActiveDialog() {
    RedrawWindow(ActiveDialogWindow(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void RequestClose() {
    SendMessageW(ActiveDialogWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
}

// The system turns Alt+F4 into the close request.
void PressAltF4() {
    RequestClose();
}

bool TabTo(int id) {
    const HWND control = FindControl(id);
    for (int presses = 0; control != nullptr && presses < MostTabStops; ++presses) {
        if (HasFocus(control)) {
            return true;
        }
        PressKey(Key::Tab);
    }
    return false;
}

// The command the menu sends for the entry, as a click on it does.
bool ChooseSystemMenuEntry(const std::string& entry) {
    const HWND dialog = ActiveDialogWindow();
    const HMENU menu = dialog != nullptr ? GetSystemMenu(dialog, FALSE) : nullptr;
    for (int item = 0; menu != nullptr && item < GetMenuItemCount(menu); ++item) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(item), text, 128, MF_BYPOSITION);
        std::wstring shown = text;
        shown = shown.substr(0, shown.find(L'\t'));
        std::erase(shown, L'&');
        if (GetMenuItemID(menu, item) != static_cast<UINT>(-1) && Narrow(shown) == entry) {
            SendMessageW(dialog, WM_SYSCOMMAND, GetMenuItemID(menu, item), 0);
            return true;
        }
    }
    return false;
}

std::string AnswerMessageBox(const std::string& caption) {
    const HWND box = ReachableWindow();
    if (!IsMessageBox(box) || ui::WindowText(box) != caption) {
        return {};
    }
    const std::string text = MessageTextOf(box);
    SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    return text;
}

bool TypeText(int id, const std::string& text) {
    const HWND control = FindControl(id);
    if (control == nullptr || !IsWindowEnabled(control)) {
        return false;
    }
    if (ClassOf(control) == WC_IPADDRESSW) {
        SendMessageW(control, IPM_SETFOCUS, 0, 0);
    } else {
        SendMessageW(GetParent(control), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    }
    TypeKeys(text);
    return true;
}

void TypeKeys(const std::string& text) {
    for (const wchar_t character : Widen(text)) {
        TypeCharacter(character);
    }
}

namespace {

// Paints by window, counted as the thread takes them from its queue; one probe at a time.
std::function<void(const MSG&)> takenMessageWatcher;

LRESULT CALLBACK WatchTakenMessage(int code, WPARAM removed, LPARAM message) {
    if (code == HC_ACTION && removed == PM_REMOVE && takenMessageWatcher) {
        takenMessageWatcher(*reinterpret_cast<const MSG*>(message));
    }
    return CallNextHookEx(nullptr, code, removed, message);
}

}  // namespace

struct RepaintProbe::State {
    std::function<bool()> during;
    HWND window = nullptr;
    HHOOK hook = nullptr;
    UINT_PTR ticker = 0;
    int paints = 0;
    bool waitCursor = false;
};

RepaintProbe::RepaintProbe(std::function<bool()> during) : state_(std::make_unique<State>()) {
    State* state = state_.get();
    state->during = std::move(during);
    state->window = ActiveDialogWindow();
    takenMessageWatcher = [state](const MSG& message) {
        if (message.hwnd == state->window && message.message == WM_PAINT && state->during()) {
            ++state->paints;
        }
    };
    state->hook =
        SetWindowsHookExW(WH_GETMESSAGE, WatchTakenMessage, nullptr, GetCurrentThreadId());
    state->ticker = StartTicker([state] {
        if (state->window != nullptr && state->during()) {
            state->waitCursor |= ShowsWaitCursor();
            InvalidateRect(state->window, nullptr, FALSE);
        }
    });
}

RepaintProbe::~RepaintProbe() {
    StopTicker(state_->ticker);
    UnhookWindowsHookEx(state_->hook);
    takenMessageWatcher = nullptr;
}

int RepaintProbe::Paints() const {
    return state_->paints;
}

bool RepaintProbe::SawWaitCursor() const {
    return state_->waitCursor;
}

bool ShowsWaitCursor() {
    return GetCursor() == LoadCursorA(nullptr, IDC_WAIT);
}

struct MessageBoxAnswerer::State {
    std::vector<MessageBoxRecord> boxes;
    Answer answer = Answer::Click;
    UINT_PTR ticker = 0;
};

namespace {

struct Answering {
    std::vector<MessageBoxRecord>& boxes;
    Answer answer;
};

BOOL CALLBACK AnswerBox(HWND window, LPARAM context) {
    if (!IsMessageBox(window) || !IsWindowVisible(window) ||
        GetPropW(window, AnsweredProperty) != nullptr) {
        return TRUE;
    }
    SetPropW(window, AnsweredProperty, reinterpret_cast<HANDLE>(1));
    auto& answering = *reinterpret_cast<Answering*>(context);
    answering.boxes.push_back({MessageTextOf(window), ui::WindowText(window), IconOf(window),
                               GetWindow(window, GW_OWNER) != nullptr});
    if (answering.answer == Answer::EnterKey) {
        PressKey(Key::Enter);
    } else {
        SendMessageW(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
    }
    return TRUE;
}

}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(Answer answer) : state_(std::make_unique<State>()) {
    State* state = state_.get();
    state->answer = answer;
    state->ticker = StartTicker([state] {
        Answering answering{state->boxes, state->answer};
        EnumThreadWindows(GetCurrentThreadId(), AnswerBox, reinterpret_cast<LPARAM>(&answering));
    });
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
    StopTicker(state_->ticker);
}

const std::vector<MessageBoxRecord>& MessageBoxAnswerer::Boxes() const {
    return state_->boxes;
}

}  // namespace lumisk::gui_test
