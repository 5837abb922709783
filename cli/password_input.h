#pragma once
// The administrator password, from standard input or typed at the terminal without echo.

#include <optional>
#include <string>

namespace lumisk {

// One line of standard input, without its line end.
std::optional<std::string> ReadPasswordLine();

// Asks on the terminal with echo off; no value when there is no terminal.
std::optional<std::string> PromptForPassword(const std::string& prompt);

}  // namespace lumisk
