#pragma once
// The administrator password, from standard input or typed at the terminal without echo.

#include <optional>
#include <string>

namespace lumisk {

// The option that reads the password from standard input, before anything is sent.
inline constexpr char PasswordStdin[] = "--password-stdin";

// One line of standard input, without its line end.
std::optional<std::string> ReadPasswordLine();

// Asks on the terminal with echo off; no value when there is no terminal.
std::optional<std::string> PromptForPassword(const std::string& prompt);

// Why the adapters cannot take `password` whole, as a usage message; nothing when they can.
std::optional<std::string> PasswordProblem(const std::string& password);

}  // namespace lumisk
