#pragma once
// A watch on one file by a look at its last write time now and then, on a timer of a window: the
// system's change notifications are for directories, and one file needs no more.

#include <windows.h>

#include <string>

namespace lumisk::ui {

class FileWatch {
public:
    // The window timer it looks on, apart from the ids the Dialog uses.
    static constexpr UINT_PTR TimerId = 0x7FFF0001;

    // From now on watches the file at `path`, looking on `window`'s timer TimerId.
    void Watch(HWND window, const std::string& path);
    // On the timer: whether the file has changed since the last look.
    bool Changed();

private:
    std::wstring file_;
    FILETIME writeTime_{};
};

}  // namespace lumisk::ui
