#include "cli/password_input.h"

#include <cstdio>
#include <iostream>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace lumisk {
namespace {

std::string WithoutLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
    return line;
}

}  // namespace

std::optional<std::string> ReadPasswordLine() {
    std::string line;
    if (!std::getline(std::cin, line) && line.empty()) {
        return std::nullopt;
    }
    return WithoutLineEnd(line);
}

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

}  // namespace lumisk
