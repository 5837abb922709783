#include "ui/win32/edit_byte_limits.h"

#include "ui/win32/text.h"

namespace lumisk::ui {

void EditByteLimits::Limit(HWND edit, int bytes) {
    // A character is at least one byte, so the character limit never refuses what fits.
    SendMessageW(edit, EM_LIMITTEXT, static_cast<WPARAM>(bytes), 0);
    fields_[edit] = {bytes, Widen(WindowText(edit))};
}

void EditByteLimits::KeepWithinLimit(HWND edit) {
    const auto found = fields_.find(edit);
    if (found == fields_.end()) {
        return;
    }
    Field& field = found->second;
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    if (static_cast<int>(Narrow(text).size()) <= field.bytes) {
        field.accepted = text;
        return;
    }
    DWORD caret = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    const std::size_t removed = text.size() - field.accepted.size();
    SetWindowTextW(edit, field.accepted.c_str());
    const auto at = static_cast<LPARAM>(caret > removed ? caret - removed : 0);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(at), at);
    MessageBeep(MB_OK);
}

}  // namespace lumisk::ui
