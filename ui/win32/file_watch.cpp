#include "ui/win32/file_watch.h"

#include "ui/win32/text.h"

namespace lumisk::ui {
namespace {

constexpr UINT LookPeriod = 500;

FILETIME LastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return {};
    }
    return data.ftLastWriteTime;
}

}  // namespace

void FileWatch::Watch(HWND window, const std::string& path) {
    file_ = Widen(path);
    writeTime_ = LastWriteTime(file_);
    SetTimer(window, TimerId, LookPeriod, nullptr);
}

bool FileWatch::Changed() {
    const FILETIME now = LastWriteTime(file_);
    if (CompareFileTime(&now, &writeTime_) == 0) {
        return false;
    }
    writeTime_ = now;
    return true;
}

}  // namespace lumisk::ui
