#include "cli/password_input.h"

#include <cstdio>
#include <iostream>

#include "protocol/device_table.h"

#ifdef _WIN32
#include <windows.h>

#include "protocol/utf16_text.h"
#else
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace lumisk {
namespace {

// The adapters take a password of at most this many bytes; a longer one is refused, never cut.
constexpr std::size_t PasswordLimit = sizeof LoginPassword - 1;

std::string WithoutLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
    return line;
}

#ifdef _WIN32
// One line typed at the console `input`, read as UTF-16 whatever the console's code page.
std::string ReadConsoleLine(HANDLE input) {
    std::wstring line;
    wchar_t c;
    DWORD read = 0;
    while (ReadConsoleW(input, &c, 1, &read, nullptr) && read == 1 && c != L'\n') {
        line += c;
    }
    return WithoutLineEnd(Narrow(line));
}
#endif

}  // namespace

std::optional<std::string> ReadPasswordLine() {
#ifdef _WIN32
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (DWORD mode = 0; GetConsoleMode(input, &mode)) {
        return ReadConsoleLine(input);
    }
#endif
    std::string line;
    if (!std::getline(std::cin, line) && line.empty()) {
        return std::nullopt;
    }
    return WithoutLineEnd(line);
}

#ifdef _WIN32
// The console itself, as the terminal is on POSIX, even when standard input is redirected; read
// and written as UTF-16, whatever the console's code page.
std::optional<std::string> PromptForPassword(const std::string& prompt) {
    const auto openConsole = [](const wchar_t* name) {
        return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    };
    const HANDLE input = openConsole(L"CONIN$");
    DWORD saved = 0;
    if (input == INVALID_HANDLE_VALUE || !GetConsoleMode(input, &saved)) {
        if (input != INVALID_HANDLE_VALUE) {
            CloseHandle(input);
        }
        return std::nullopt;
    }
    const HANDLE output = openConsole(L"CONOUT$");
    DWORD written = 0;
    if (output != INVALID_HANDLE_VALUE) {
        const std::wstring shown = Widen(prompt);
        WriteConsoleW(output, shown.data(), static_cast<DWORD>(shown.size()), &written, nullptr);
    }
    SetConsoleMode(input,
                   (saved | ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT) & ~ENABLE_ECHO_INPUT);
    const std::string line = ReadConsoleLine(input);
    SetConsoleMode(input, saved);
    if (output != INVALID_HANDLE_VALUE) {
        WriteConsoleW(output, L"\r\n", 2, &written, nullptr);
        CloseHandle(output);
    }
    CloseHandle(input);
    return line;
}
#else
std::optional<std::string> PromptForPassword(const std::string& prompt) {
    const int terminal = open("/dev/tty", O_RDWR | O_NOCTTY);
    if (terminal < 0) {
        return std::nullopt;
    }
    termios saved{};
    const bool canHideEcho = tcgetattr(terminal, &saved) == 0;
    if (canHideEcho) {
        termios silent = saved;
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(terminal, TCSAFLUSH, &silent);
    }
    [[maybe_unused]] const auto shown = write(terminal, prompt.data(), prompt.size());
    std::string line;
    char c;
    while (read(terminal, &c, 1) == 1 && c != '\n') {
        line += c;
    }
    [[maybe_unused]] const auto newline = write(terminal, "\n", 1);
    if (canHideEcho) {
        tcsetattr(terminal, TCSAFLUSH, &saved);
    }
    close(terminal);
    return WithoutLineEnd(line);
}
#endif

std::optional<std::string> PasswordProblem(const std::string& password) {
    if (password.size() > PasswordLimit || password.find('\0') != std::string::npos) {
        return "the administrator password takes at most " + std::to_string(PasswordLimit) +
               " bytes";
    }
    return std::nullopt;
}

}  // namespace lumisk
