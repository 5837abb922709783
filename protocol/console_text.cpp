#include "protocol/console_text.h"

#include <algorithm>
#include <cstdarg>
#include <string>

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include "protocol/utf16_text.h"
#endif

namespace lumisk {
namespace {

#ifdef _WIN32
// Whether `handle` is a console's screen buffer: WriteConsoleW then, not bytes.
bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
}

bool WriteToConsole(HANDLE console, std::string_view text) {
    const std::wstring wide = Widen(text);
    DWORD written = 0;
    return WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written,
                         nullptr) != 0;
}
#endif

}  // namespace

bool WriteText(std::FILE* stream, std::string_view text) {
#ifdef _WIN32
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) {
        return false;
    }
    if (IsConsole(handle)) {
        std::fflush(stream);
        return WriteToConsole(handle, text);
    }
#endif
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size() &&
           std::fflush(stream) == 0;
}

void PrintText(std::FILE* stream, const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    std::va_list measuring;
    va_copy(measuring, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, arguments);
    va_end(arguments);
    text.pop_back();
    WriteText(stream, text);
}

#ifdef _WIN32
bool WriteToParentConsole(std::string_view text) {
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
        return false;
    }
    const HANDLE console =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    const bool written = console != INVALID_HANDLE_VALUE && WriteToConsole(console, text);
    if (console != INVALID_HANDLE_VALUE) {
        CloseHandle(console);
    }
    FreeConsole();
    return written;
}
#endif

}  // namespace lumisk
