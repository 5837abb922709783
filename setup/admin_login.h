#pragma once
// The administrator login that comes before any change of an adapter's settings, as the window's
// Apply and the command line both make it.

#include <functional>
#include <optional>
#include <string>

namespace lumisk {

inline constexpr char AdministratorName[] = "admin";
inline constexpr char WrongPasswordMessage[] = "Wrong administrator password input!";

enum class AdminLoginResult {
    Accepted,
    WrongPassword,  // the adapter refused the password given too
    NoPassword,     // the adapter wanted a password and none was given
};

// Runs an exchange and returns its result; the window waits for it without freezing.
using ExchangeRunner = std::function<int(int (*exchange)())>;

// "admin" with an empty password first; when the adapter refuses that, the password
// `askPassword` gives, tried once, on the selected device.
AdminLoginResult LogInAsAdministrator(
    const ExchangeRunner& run, const std::function<std::optional<std::string>()>& askPassword);

}  // namespace lumisk
