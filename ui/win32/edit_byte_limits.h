#pragma once
// Edit fields that take at most a number of bytes of UTF-8. The system's own limit counts
// characters, so the bytes are counted as the field reports each change.

#include <windows.h>

#include <map>
#include <string>

namespace lumisk::ui {

class EditByteLimits {
public:
    // `edit` takes at most `bytes` bytes from now on.
    void Limit(HWND edit, int bytes);
    // On `edit`'s change notification (EN_CHANGE): a change that would not fit is taken back
    // whole, the caret where the typing was.
    void KeepWithinLimit(HWND edit);

private:
    struct Field {
        int bytes = 0;
        // The text as it was after the last change that fitted.
        std::wstring accepted;
    };
    std::map<HWND, Field> fields_;
};

}  // namespace lumisk::ui
