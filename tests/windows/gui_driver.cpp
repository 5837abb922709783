#include "tests/windows/gui_driver.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

namespace lumisk::gui_test {
namespace {

using namespace std::chrono_literals;

std::atomic<DWORD> dialogThread = 0;

std::wstring Widen(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            static_cast<int>(wide.size()))));
    return wide;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow(text.size() * 3, '\0');
    narrow.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                            static_cast<int>(narrow.size()), nullptr, nullptr)));
    return narrow;
}

BOOL CALLBACK TakeReachableDialog(HWND window, LPARAM result) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring(className) == L"#32770" && IsWindowVisible(window) &&
        IsWindowEnabled(window)) {
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    return TRUE;
}

// The dialog window of the dialog thread that is visible and enabled: below a modal dialog its
// owner is disabled.
HWND ActiveDialog() {
    HWND found = nullptr;
    EnumThreadWindows(dialogThread, TakeReachableDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND FindControl(int id) {
    const HWND dialog = ActiveDialog();
    return dialog != nullptr ? GetDlgItem(dialog, id) : nullptr;
}

std::string TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

HWND FocusOfDialogThread() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(dialogThread, &info) ? info.hwndFocus : nullptr;
}

// A key as the system delivers it to the focused control, once its handling is done.
void PressKey(wchar_t character) {
    const HWND focus = FocusOfDialogThread();
    const SHORT scan = VkKeyScanW(character);
    const auto key = static_cast<WPARAM>(LOBYTE(scan));
    const auto code = static_cast<LPARAM>(MapVirtualKeyW(LOBYTE(scan), MAPVK_VK_TO_VSC)) << 16;
    SendMessageW(focus, WM_KEYDOWN, key, code | 1);
    SendMessageW(focus, WM_CHAR, character, code | 1);
    SendMessageW(focus, WM_KEYUP, key, code | 1 | (1 << 30) | (1u << 31));
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

int RunDialog(ui::Dialog& dialog, const std::function<void()>& script, int timeoutMs) {
    dialogThread = GetCurrentThreadId();
    std::thread user([&dialog, &script, timeoutMs] {
        const auto started = std::chrono::steady_clock::now();
        if (WaitUntil([&] { return ActiveDialog() != nullptr; }, timeoutMs)) {
            script();
        }
        // A script that left the window open fails, and the window goes.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            started + std::chrono::milliseconds(timeoutMs) - std::chrono::steady_clock::now());
        if (WaitUntil([&] { return !dialog.IsRunning(); },
                      static_cast<int>(std::max<long long>(left.count(), 0)))) {
            return;
        }
        ADD_FAILURE_AT(__FILE__, __LINE__) << "the script left the dialog running";
        dialog.RunOnDialogThread([&dialog] { dialog.EndDialog(ui::IdCancel); });
    });
    const int code = dialog.DoModal();
    user.join();
    return code;
}

HWND ActiveDialogWindow() {
    return ActiveDialog();
}

std::string ActiveCaption() {
    const HWND dialog = ActiveDialog();
    return dialog != nullptr ? TextOf(dialog) : std::string();
}

bool WaitForDialogCaption(const std::string& caption, int timeoutMs) {
    return WaitUntil([&] { return ActiveCaption() == caption; }, timeoutMs);
}

bool IsControlEnabled(int id) {
    const HWND control = FindControl(id);
    return control != nullptr && IsWindowEnabled(control);
}

std::string ControlText(int id) {
    const HWND control = FindControl(id);
    if (control == nullptr) {
        return {};
    }
    // A blank address field says "0.0.0.0".
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    if (std::wstring(className) == WC_IPADDRESSW && SendMessageW(control, IPM_ISBLANK, 0, 0)) {
        return {};
    }
    return TextOf(control);
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
    const HWND dialog = ActiveDialog();
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
    PostMessageW(button, BM_CLICK, 0, 0);
    return true;
}

bool ClickListRow(int listId, int row) {
    const HWND list = FindControl(listId);
    RECT rect{};
    rect.left = LVIR_LABEL;
    if (list == nullptr || !SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                                         reinterpret_cast<LPARAM>(&rect))) {
        return false;
    }
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(list, WM_LBUTTONUP, 0, point);
    return true;
}

void PressEnter() {
    // The focused push button, else the default one, else OK: what the dialog manager does.
    const HWND dialog = ActiveDialog();
    const HWND focus = FocusOfDialogThread();
    const LONG_PTR style = focus != nullptr ? GetWindowLongPtrW(focus, GWL_STYLE) & 0xF : -1;
    wchar_t className[16] = {};
    GetClassNameW(focus, className, 16);
    int id = IDOK;
    if (std::wstring(className) == L"Button" &&
        (style == BS_PUSHBUTTON || style == BS_DEFPUSHBUTTON)) {
        id = GetDlgCtrlID(focus);
    } else if (const LRESULT byDefault = SendMessageW(dialog, DM_GETDEFID, 0, 0);
               HIWORD(byDefault) == DC_HASDEFID) {
        id = LOWORD(byDefault);
    }
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void PressEscape() {
    const HWND dialog = ActiveDialog();
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
}

void RequestClose() {
    SendMessageW(ActiveDialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
}

// The system turns Alt+F4 into the close request.
void PressAltF4() {
    RequestClose();
}

bool ChooseSystemMenuEntry(int commandId) {
    const HWND dialog = ActiveDialog();
    return dialog != nullptr &&
           PostMessageW(dialog, WM_SYSCOMMAND, static_cast<WPARAM>(commandId), 0) != 0;
}

std::string AnswerMessageBox(const std::string& caption, int timeoutMs) {
    HWND box = nullptr;
    if (!WaitUntil(
            [&] {
                box = ActiveDialog();
                return box != nullptr && TextOf(box) == caption;
            },
            timeoutMs)) {
        return {};
    }
    // The text is the box's one static control with text; the icon's has none.
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        if (std::wstring(className) == L"Static" && TextOf(child).size() > text.size()) {
            text = TextOf(child);
        }
    }
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    return text;
}

bool TypeText(int id, const std::string& text) {
    const HWND control = FindControl(id);
    if (control == nullptr || !IsWindowEnabled(control)) {
        return false;
    }
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    if (std::wstring(className) == WC_IPADDRESSW) {
        SendMessageW(control, IPM_SETFOCUS, 0, 0);
    } else {
        SendMessageW(GetParent(control), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    }
    for (const wchar_t character : Widen(text)) {
        PressKey(character);
    }
    return true;
}

}  // namespace lumisk::gui_test
