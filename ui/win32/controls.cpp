#include "ui/controls.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "ui/dialog.h"
#include "ui/win32/address_control.h"
#include "ui/win32/dialog_window.h"
#include "ui/win32/list_view.h"
#include "ui/win32/text.h"

namespace lumisk::ui {
namespace {

// The control `id` of the dialog's window, or nullptr when the dialog does not run.
HWND Find(const Dialog* dialog, int id) {
    const DialogWindow* window = WindowOf<DialogWindow>(*dialog);
    return window != nullptr ? window->Control(id) : nullptr;
}

LRESULT Send(HWND control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return control != nullptr ? SendMessageW(control, message, wParam, lParam) : 0;
}

}  // namespace

void ListView::SetFullRowSelect() {
    // The whole extended style is replaced by this one flag.
    Send(Find(dialog_, id_), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
}

void ListView::InsertColumn(int index, const std::string& heading, int widthPixels) {
    std::wstring text = Widen(heading);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    const DialogWindow* window = WindowOf<DialogWindow>(*dialog_);
    column.cx = window != nullptr ? window->ColumnWidth(std::max(0, widthPixels)) : 0;
    column.pszText = text.data();
    column.iSubItem = index;
    Send(Find(dialog_, id_), LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
         reinterpret_cast<LPARAM>(&column));
}

void ListView::DeleteAllItems() {
    Send(Find(dialog_, id_), LVM_DELETEALLITEMS);
}

int ListView::InsertItem(int index, const std::string& text) {
    const HWND view = Find(dialog_, id_);
    if (view == nullptr || index < 0) {
        return -1;
    }
    std::wstring wide = Widen(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = wide.data();
    const auto inserted =
        static_cast<int>(Send(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    // Rows that come while the list has the focus show it, as when the focus comes in.
    ShowFocusOnARow(view);
    return inserted;
}

void ListView::SetItemText(int row, int column, const std::string& text) {
    if (row < 0 || column < 0) {
        return;
    }
    std::wstring wide = Widen(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    Send(Find(dialog_, id_), LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
         reinterpret_cast<LPARAM>(&item));
}

std::string ListView::GetItemText(int row, int column) const {
    const HWND view = Find(dialog_, id_);
    if (view == nullptr || row < 0 || column < 0 || row >= GetItemCount()) {
        return {};
    }
    // The view says how much it copied, not how long the text is: a buffer it fills to the end
    // may have cut the text, so it grows until there is room to spare.
    for (std::size_t size = 64;; size *= 2) {
        std::wstring text(size, L'\0');
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(size);
        const auto length = static_cast<std::size_t>(Send(
            view, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < size) {
            text.resize(length);
            return Narrow(text);
        }
    }
}

int ListView::GetItemCount() const {
    return static_cast<int>(Send(Find(dialog_, id_), LVM_GETITEMCOUNT));
}

bool ListView::IsSelected(int row) const {
    return row >= 0 &&
           (Send(Find(dialog_, id_), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) &
            LVIS_SELECTED) != 0;
}

void ListView::Focus() {
    dialog_->FocusControl(id_);
}

void AddressField::Clear() {
    Send(Find(dialog_, id_), IPM_CLEARADDRESS);
}

bool AddressField::IsBlank() const {
    const HWND address = Find(dialog_, id_);
    return address == nullptr || Send(address, IPM_ISBLANK) != 0;
}

void AddressField::SetAddress(const std::string& dotted) {
    const HWND address = Find(dialog_, id_);
    if (address == nullptr) {
        return;
    }
    Send(address, IPM_CLEARADDRESS);
    // Each part that is a number from 0 to 255 fills its octet; the others stay empty.
    const std::vector<HWND> fields = OctetFields(address);
    std::size_t start = 0;
    for (std::size_t octet = 0; octet < fields.size(); ++octet) {
        const std::size_t dot = dotted.find('.', start);
        const std::string part = dotted.substr(start, dot == std::string::npos ? dot : dot - start);
        const bool number = !part.empty() && part.size() <= 3 &&
                            part.find_first_not_of("0123456789") == std::string::npos &&
                            std::stoi(part) <= 255;
        if (number) {
            SetWindowTextW(fields[octet], Widen(std::to_string(std::stoi(part))).c_str());
        }
        if (dot == std::string::npos) {
            break;
        }
        start = dot + 1;
    }
}

std::array<int, 4> AddressField::GetOctets() const {
    DWORD address = 0;
    Send(Find(dialog_, id_), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    return {FIRST_IPADDRESS(address), SECOND_IPADDRESS(address), THIRD_IPADDRESS(address),
            FOURTH_IPADDRESS(address)};
}

void AddressField::FocusOctet(int index) {
    Send(Find(dialog_, id_), IPM_SETFOCUS, static_cast<WPARAM>(index));
}

void ComboBox::ResetContent() {
    Send(Find(dialog_, id_), CB_RESETCONTENT);
}

int ComboBox::AddString(const std::string& text) {
    const HWND combo = Find(dialog_, id_);
    if (combo == nullptr) {
        return -1;
    }
    const std::wstring wide = Widen(text);
    return static_cast<int>(Send(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

int ComboBox::GetCount() const {
    return static_cast<int>(Send(Find(dialog_, id_), CB_GETCOUNT));
}

int ComboBox::GetCurSel() const {
    const HWND combo = Find(dialog_, id_);
    return combo != nullptr ? static_cast<int>(Send(combo, CB_GETCURSEL)) : -1;
}

void ComboBox::SetCurSel(int index) {
    Send(Find(dialog_, id_), CB_SETCURSEL, static_cast<WPARAM>(index));
}

std::string ComboBox::GetItemText(int index) const {
    const HWND combo = Find(dialog_, id_);
    const LRESULT length = Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (combo == nullptr || length == CB_ERR) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                              reinterpret_cast<LPARAM>(text.data()))));
    return Narrow(text);
}

void TextField::SetText(const std::string& text) {
    if (const HWND edit = Find(dialog_, id_); edit != nullptr && WindowText(edit) != text) {
        SetWindowTextW(edit, Widen(text).c_str());
    }
}

std::string TextField::GetText() const {
    const HWND edit = Find(dialog_, id_);
    return edit != nullptr ? WindowText(edit) : std::string();
}

void ProgressBar::SetRange(int low, int high) {
    Send(Find(dialog_, id_), PBM_SETRANGE32, static_cast<WPARAM>(low),
         static_cast<LPARAM>(std::max(low, high)));
}

void ProgressBar::SetStep(int step) {
    Send(Find(dialog_, id_), PBM_SETSTEP, static_cast<WPARAM>(step));
}

void ProgressBar::StepIt() {
    Send(Find(dialog_, id_), PBM_STEPIT);
}

int ProgressBar::GetPos() const {
    return static_cast<int>(Send(Find(dialog_, id_), PBM_GETPOS));
}

}  // namespace lumisk::ui
